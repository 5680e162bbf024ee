#include "guilib/controls/OXHistoryCombo.h"

#include <vector>

#include "platform/framework/app/WinThread.h"

IMPLEMENT_DYNAMIC(COXHistoryCombo, CComboBox)

COXHistoryCombo::COXHistoryCombo(int toolbarPosition, int flush, int toolbarId)
    : m_nToolbarPosition(toolbarPosition), m_nFlush(flush), m_nToolbarId(toolbarId) {}

COXHistoryCombo::~COXHistoryCombo() {
    if (m_hWnd)
        DestroyWindow();
}

CString COXHistoryCombo::EditText() const {
    CString text;
    if (m_hWnd)
        GetWindowText(text);
    return text;
}

BOOL COXHistoryCombo::CanAdd() const {
    return !EditText().IsEmpty();
}

BOOL COXHistoryCombo::CanDelete() const {
    return m_hWnd && GetCurSel() != CB_ERR;
}

void COXHistoryCombo::ShowButton(int position, BOOL show) {
    if (position >= 0 && position < 10)
        m_bShowButton[position] = show;
}

BOOL COXHistoryCombo::IsButtonShown(int position) const {
    return position >= 0 && position < 10 && m_bShowButton[position];
}

BOOL COXHistoryCombo::AddItem(LPCTSTR text) {
    if (!m_hWnd)
        return FALSE;
    CString item = text && *text ? CString(text) : EditText();
    if (item.IsEmpty())
        return FALSE;
    BOOL isNew = TRUE;
    int found = FindStringExact(-1, item);
    if (found != CB_ERR) {
        DeleteString((UINT)found);
        isNew = FALSE;
    }
    InsertString(0, item);
    SetCurSel(0);
    while ((UINT)GetCount() > m_nMaxHistoryCount)
        DeleteString((UINT)(GetCount() - 1));
    SetEditSel(0, -1);
    return isNew;
}

BOOL COXHistoryCombo::DeleteItem(int index) {
    if (!m_hWnd)
        return FALSE;
    if (index == -1)
        index = GetCurSel();
    if (index < 0 || index >= GetCount())
        return FALSE;
    if (DeleteString((UINT)index) == CB_ERR)
        return FALSE;
    int count = GetCount();
    if (index >= count) {
        // The last one went: the one before it becomes the selection, without a notice.
        SetCurSel(count - 1);
    } else {
        SetCurSel(index);
        if (HWND parent = ::GetParent(m_hWnd))
            ::SendMessage(parent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(m_hWnd), CBN_SELCHANGE), (LPARAM)m_hWnd);
    }
    return TRUE;
}

CString COXHistoryCombo::GetJoinedItems() const {
    CString joined;
    int count = m_hWnd ? GetCount() : 0;
    for (int i = 0; i < count; ++i) {
        CString item;
        GetLBText(i, item);
        if (i > 0)
            joined += "|";
        joined += item;
    }
    return joined;
}

BOOL COXHistoryCombo::ResolveNames(CString& company, CString& application) const {
    CWinApp* app = AfxGetApp();
    if (company.IsEmpty() && app)
        company = app->m_pszRegistryKey;
    if (company.IsEmpty())
        return FALSE;
    if (application.IsEmpty() && app)
        application = app->m_pszProfileName;
    return TRUE;
}

BOOL COXHistoryCombo::SaveContents(LPCTSTR valueName, LPCTSTR companyName, LPCTSTR applicationName, HKEY root,
                                   BOOL addCurrent) {
    if (!valueName || !*valueName)
        return FALSE;
    CString company = companyName ? companyName : "", application = applicationName ? applicationName : "";
    if (!ResolveNames(company, application))
        return FALSE;
    if (addCurrent)
        AddItem(nullptr);
    HKEY key = nullptr;
    DWORD made = 0;
    // "Software" is always there on the desktop; a fresh registry file may not have it yet.
    if (RegCreateKeyEx(root, "Software", 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key, &made) != ERROR_SUCCESS)
        return FALSE;
    for (const CString& part : {company, application, CString("HistoryCombo")}) {
        HKEY next = nullptr;
        DWORD disposition = 0;
        LONG r = RegCreateKeyEx(key, part, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &next, &disposition);
        RegCloseKey(key);
        if (r != ERROR_SUCCESS)
            return FALSE;
        key = next;
    }
    CString joined = GetJoinedItems();
    LONG r = joined.IsEmpty()
                 ? RegDeleteValue(key, valueName)
                 : RegSetValueEx(key, valueName, 0, REG_SZ, (const BYTE*)joined.GetString(), (DWORD)joined.GetLength() + 1);
    RegCloseKey(key);
    return r == ERROR_SUCCESS;
}

BOOL COXHistoryCombo::RestoreContents(LPCTSTR valueName, LPCTSTR companyName, LPCTSTR applicationName, HKEY root,
                                      BOOL selectFirst) {
    if (!valueName || !*valueName)
        return FALSE;
    CString company = companyName ? companyName : "", application = applicationName ? applicationName : "";
    if (!ResolveNames(company, application))
        return FALSE;
    CString text;
    HKEY key = nullptr;
    CString path = "Software\\" + company + "\\" + application + "\\HistoryCombo";
    if (RegOpenKeyEx(root, path, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        DWORD type = 0, size = 0;
        if (RegQueryValueEx(key, valueName, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ &&
            size > 0) {
            std::vector<char> buffer(size + 1, 0);
            if (RegQueryValueEx(key, valueName, nullptr, &type, (LPBYTE)buffer.data(), &size) == ERROR_SUCCESS)
                text = CString(buffer.data());
        }
        RegCloseKey(key);
    }
    if (!m_hWnd)
        return TRUE;
    ResetContent();
    int start = 0;
    while (start <= text.GetLength() && (UINT)GetCount() < m_nMaxHistoryCount) {
        int bar = text.Find('|', start);
        CString piece = bar < 0 ? text.Mid(start) : text.Mid(start, bar - start);
        if (!piece.IsEmpty())
            AddString(piece);
        if (bar < 0)
            break;
        start = bar + 1;
    }
    if (selectFirst && GetCount() > 0) {
        SetCurSel(0);
        if (::GetFocus() == m_hWnd && ::IsWindowEnabled(m_hWnd))
            SetEditSel(0, -1);
    }
    return TRUE;
}

BOOL COXHistoryCombo::SetAutoPersistent(LPCTSTR valueName, LPCTSTR company, LPCTSTR application) {
    if (m_hWnd && !RestoreContents(valueName, company, application, HKEY_CURRENT_USER, TRUE))
        return FALSE;
    m_bAutoPersistent = TRUE;
    m_sValueName = valueName ? valueName : "";
    m_sCompany = company ? company : "";
    m_sApplication = application ? application : "";
    return TRUE;
}

LRESULT COXHistoryCombo::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            LRESULT r = CComboBox::WindowProc(message, wParam, lParam);
            if (r != -1 && m_bAutoPersistent)
                RestoreContents(m_sValueName, m_sCompany, m_sApplication, HKEY_CURRENT_USER, TRUE);
            return r;
        }
        case WM_ENABLE:
            SetEditSel(-1, 0);
            break;
        case WM_DESTROY:
            if (m_bAutoPersistent)
                SaveContents(m_sValueName, m_sCompany, m_sApplication, HKEY_CURRENT_USER, TRUE);
            break;
        default:
            break;
    }
    return CComboBox::WindowProc(message, wParam, lParam);
}
