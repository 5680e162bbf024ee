#include "platform/framework/docview/Document.h"

#include <algorithm>
#include <vector>

#include "platform/base/File.h"
#include "platform/base/JoinPath.h"
#include "platform/framework/docview/DocTemplate.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
ON_COMMAND(ID_FILE_SAVE, OnFileSave)
ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

CDocument::CDocument() = default;

CDocument::~CDocument() {
    // Views still attached let go of the document.
    for (POSITION pos = GetFirstViewPosition(); pos;)
        GetNextView(pos)->m_pDocument = nullptr;
    m_viewList.RemoveAll();
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCTSTR title) {
    m_strTitle = title ? title : "";
    // Every frame showing the document shows the new title at the next idle time.
    for (POSITION pos = GetFirstViewPosition(); pos;) {
        CView* view = GetNextView(pos);
        if (CFrameWnd* frame = view->GetParentFrame())
            frame->DelayUpdateFrameTitle();
    }
}

void CDocument::SetPathName(LPCTSTR path, BOOL addToMRU) {
    // The full path of the file: absolute against the working folder, "." and ".." resolved.
    m_strPathName = AbsolutePath(path);
    int slash = m_strPathName.ReverseFind('/');
    SetTitle(slash >= 0 ? m_strPathName.Mid(slash + 1) : m_strPathName);
    if (addToMRU && !m_strPathName.IsEmpty())
        if (CWinApp* app = AfxGetApp())
            app->AddToRecentFileList(m_strPathName);
}

void CDocument::AddView(CView* view) {
    if (!view || m_viewList.Find(view))
        return;
    m_viewList.AddTail(view);
    view->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* view) {
    POSITION pos = m_viewList.Find(view);
    if (!pos)
        return;
    m_viewList.RemoveAt(pos);
    view->m_pDocument = nullptr;
    OnChangedViewList();
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint, CObject* hintObject) {
    for (POSITION pos = GetFirstViewPosition(); pos;) {
        CView* view = GetNextView(pos);
        if (view != sender)
            view->OnUpdate(sender, hint, hintObject);
    }
}

void CDocument::OnChangedViewList() {
    if (m_viewList.IsEmpty() && m_bAutoDelete) {
        OnCloseDocument();
        return;
    }
    for (POSITION pos = GetFirstViewPosition(); pos;)
        if (CFrameWnd* frame = GetNextView(pos)->GetParentFrame())
            frame->DelayUpdateFrameTitle();
}

void CDocument::UpdateFrameCounts() {
    std::vector<CFrameWnd*> frames;
    for (POSITION pos = GetFirstViewPosition(); pos;) {
        CView* view = GetNextView(pos);
        if (!view->IsWindowVisible())
            continue;
        CFrameWnd* frame = view->GetParentFrame();
        if (frame && std::find(frames.begin(), frames.end(), frame) == frames.end())
            frames.push_back(frame);
    }
    UINT n = frames.size() > 1 ? 1 : 0;
    for (CFrameWnd* frame : frames) {
        frame->m_nWindow = n ? n++ : 0;
        frame->DelayUpdateFrameTitle();
    }
}

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCTSTR path) {
    // The file must open for reading; what is read is the document's own business.
    CFile file;
    if (!path || !file.Open(path, CFile::modeRead | CFile::shareDenyWrite))
        return FALSE;
    file.Close();
    DeleteContents();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCTSTR path) {
    CFile file;
    if (!path || !file.Open(path, CFile::modeCreate | CFile::modeWrite))
        return FALSE;
    file.Close();
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument() {
    // Closing the frames destroys the views, which would close the document again: hold it.
    BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_viewList.IsEmpty()) {
        CView* view = (CView*)m_viewList.GetHead();
        CFrameWnd* frame = view->GetParentFrame();
        if (frame && frame->m_hWnd) {
            PreCloseFrame(frame);
            frame->DestroyWindow();
        } else {
            RemoveView(view);
        }
        // A view that survived its frame (or had none) is let go, so the loop ends.
        if (!m_viewList.IsEmpty() && (CView*)m_viewList.GetHead() == view)
            RemoveView(view);
    }
    m_bAutoDelete = autoDelete;
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

BOOL CDocument::DoFileSave() {
    if (m_strPathName.IsEmpty())
        return DoSave(nullptr);
    return DoSave(m_strPathName);
}

BOOL CDocument::DoSave(LPCTSTR path, BOOL replace) {
    // Without a path there is nowhere to save: the program's own Save As chooses one.
    if (!path || !*path)
        return FALSE;
    if (!OnSaveDocument(path))
        return FALSE;
    if (replace)
        SetPathName(path);
    return TRUE;
}

BOOL CDocument::SaveModified() {
    if (!IsModified())
        return TRUE;
    CString name = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
    int slash = name.ReverseFind('/');
    if (slash >= 0)
        name = name.Mid(slash + 1);
    if (name.IsEmpty())
        name = "Untitled";
    CString prompt;
    prompt.Format("Save changes to %s?", name.GetString());
    switch (AfxMessageBox(prompt, MB_YESNOCANCEL | MB_ICONEXCLAMATION, AFX_IDP_ASK_TO_SAVE)) {
        case IDCANCEL:
            return FALSE;
        case IDYES:
            return DoFileSave();
        default:
            return TRUE;
    }
}

BOOL CDocument::CanCloseFrame(CFrameWnd* frame) {
    // Another frame still showing the document lets this one go without asking.
    for (POSITION pos = GetFirstViewPosition(); pos;) {
        CFrameWnd* other = GetNextView(pos)->GetParentFrame();
        if (other && other != frame)
            return TRUE;
    }
    return SaveModified();
}

BOOL CDocument::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
    if (CCmdTarget::OnCmdMsg(id, code, extra, handlerInfo))
        return TRUE;
    return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(id, code, extra, handlerInfo);
}

void CDocument::OnFileClose() {
    if (!SaveModified())
        return;
    OnCloseDocument();
}

void CDocument::OnFileSave() {
    DoFileSave();
}

void CDocument::OnFileSaveAs() {
    DoSave(nullptr);
}
