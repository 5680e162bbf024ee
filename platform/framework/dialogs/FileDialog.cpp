#include "platform/framework/dialogs/FileDialog.h"

#include <cstring>
#include <string>

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)

CFileDialog::CFileDialog(BOOL openFileDialog, LPCTSTR defExt, LPCTSTR fileName, DWORD flags, LPCTSTR filter,
                         CWnd* parent, DWORD /*size*/, BOOL vistaStyle)
    : m_bOpenFileDialog(openFileDialog), m_bVistaStyle(vistaStyle) {
    m_pParentWnd = parent;
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLEHOOK;
    m_ofn.lpfnHook = (void*)&CFileDialog::HookProc;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = sizeof m_szFileName;
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = sizeof m_szFileTitle;
    if (defExt) {
        m_strDefExt = defExt;
        m_ofn.lpstrDefExt = m_strDefExt;
    }
    if (fileName)
        std::strncpy(m_szFileName, fileName, sizeof m_szFileName - 1);
    if (filter) {
        // "A|*.a|B|*.b||": each '|' ends a text.
        std::string text = filter;
        for (char& c : text)
            if (c == '|')
                c = '\0';
        text.push_back('\0');
        m_strFilter = CString(text.data(), (int)text.size());
        m_ofn.lpstrFilter = m_strFilter;
        m_ofn.nFilterIndex = 1;
    }
}

UINT_PTR CFileDialog::HookProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
    // The hook window becomes the object's for the dialog's life.
    if (message == WM_INITDIALOG) {
        auto* ofn = reinterpret_cast<OPENFILENAME*>(lParam);
        auto* self = ofn ? reinterpret_cast<CFileDialog*>(ofn->lCustData) : nullptr;
        if (self && !self->m_hWnd)
            self->SubclassWindow(hwnd);
        return TRUE;
    }
    return FALSE;
}

LRESULT CFileDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (hdr && hdr->code == CDN_INITDONE) {
            OnInitDone();
            return 0;
        }
        if (hdr && hdr->code == CDN_SELCHANGE) {
            OnFileNameChange();
            return 0;
        }
        if (hdr && hdr->code == CDN_FOLDERCHANGE) {
            OnFolderChange();
            return 0;
        }
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

namespace {
CString AskDialog(HWND hook, UINT message) {
    HWND dialog = hook ? ::GetParent(hook) : nullptr;
    if (!dialog)
        return CString();
    char buffer[4096] = "";
    ::SendMessage(dialog, message, sizeof buffer, (LPARAM)buffer);
    return CString(buffer);
}
}  // namespace

CString CFileDialog::GetDialogFilePath() const {
    return AskDialog(m_hWnd, CDM_GETFILEPATH);
}

CString CFileDialog::GetDialogFolderPath() const {
    return AskDialog(m_hWnd, CDM_GETFOLDERPATH);
}

INT_PTR CFileDialog::DoModal() {
    m_ofn.lCustData = (LPARAM)this;
    m_ofn.hwndOwner = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr;
    if (!m_ofn.hwndOwner)
        if (CWnd* main = AfxGetMainWnd())
            m_ofn.hwndOwner = main->GetSafeHwnd();
    BOOL ok = m_bOpenFileDialog ? ::GetOpenFileName(&m_ofn) : ::GetSaveFileName(&m_ofn);
    return ok ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const {
    POSITION pos = GetStartPosition();
    return pos ? GetNextPathName(pos) : CString();
}

CString CFileDialog::GetFileName() const {
    CString path = GetPathName();
    int slash = path.ReverseFind('/');
    return path.Mid(slash + 1);
}

CString CFileDialog::GetFileExt() const {
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot < 0 ? CString() : name.Mid(dot + 1);
}

CString CFileDialog::GetFileTitle() const {
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot < 0 ? name : name.Left(dot);
}

CString CFileDialog::GetFolderPath() const {
    CString path = GetPathName();
    int slash = path.ReverseFind('/');
    return slash <= 0 ? CString(slash == 0 ? "/" : "") : path.Left(slash);
}

POSITION CFileDialog::GetStartPosition() const {
    return m_ofn.lpstrFile && *m_ofn.lpstrFile ? (POSITION)m_ofn.lpstrFile : nullptr;
}

CString CFileDialog::GetNextPathName(POSITION& pos) const {
    const char* buffer = m_ofn.lpstrFile;
    const char* at = reinterpret_cast<const char*>(pos);
    if (!buffer || !at) {
        pos = nullptr;
        return CString();
    }
    size_t firstLen = std::strlen(buffer);
    bool multi = buffer[firstLen + 1] != '\0' && (m_ofn.Flags & OFN_ALLOWMULTISELECT);
    if (!multi) {
        pos = nullptr;
        return CString(buffer);
    }
    if (at == buffer)
        at += firstLen + 1;  // past the folder
    std::string folder = buffer;
    std::string name = at;
    const char* next = at + name.size() + 1;
    pos = *next ? (POSITION)next : nullptr;
    return CString((folder == "/" ? "/" + name : folder + "/" + name).c_str());
}
