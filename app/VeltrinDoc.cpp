#include "app/VeltrinDoc.h"

#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"
#include "platform/framework/app/WinThread.h"

IMPLEMENT_DYNCREATE(CVeltrinDoc, CDocument)

BEGIN_MESSAGE_MAP(CVeltrinDoc, CDocument)
ON_COMMAND(1100, CVeltrinDoc::OnReopenStoredPath)
ON_COMMAND(ID_FILE_SAVE_AS, CVeltrinDoc::OnSaveEditPadAs)
END_MESSAGE_MAP()

BOOL CVeltrinDoc::OnNewDocument() {
    return CDocument::OnNewDocument();
}

BOOL CVeltrinDoc::OnOpenDocument(LPCTSTR path) {
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(1);
    struct EndWait {
        ~EndWait() {
            if (CWinApp* app = AfxGetApp())
                app->DoWaitCursor(-1);
        }
    } endWait;
    if (!path || !*path)
        return FALSE;
    if (CString(path).Find(" - N/A") >= 0) {
        ::MessageBeep(MB_ICONEXCLAMATION);
        CWnd* main = AfxGetMainWnd();
        PlatformMessageBox(main ? main->m_hWnd : nullptr, "This File is not available!!!", nullptr,
                           MB_ICONSTOP | MB_SETFOREGROUND);
        return FALSE;
    }
    _csFileOpenName = path;
    return TRUE;
}

void CVeltrinDoc::OnReopenStoredPath() {
    if (!_csFileOpenName.IsEmpty())
        OnOpenDocument(_csFileOpenName);
}

void CVeltrinDoc::OnSaveEditPadAs() {
    if (CWnd* main = AfxGetMainWnd())
        main->PostMessage(WM_SAVEPADAS, 0, 0);
}
