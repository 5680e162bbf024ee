#include "guilib/controls/OXHistoryCombo.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "platform/framework/app/WinThread.h"
#include "platform/framework/dialogs/FileDialog.h"
#include "platform/user/Resources.h"
#include "platform/user/ToolTip.h"

IMPLEMENT_DYNAMIC(COXHistoryCombo, CComboBox)

namespace {
// The combo's toolbar: its tool tips' text requests go to its owner, the combo.
class COXHistoryComboToolBar : public CMFCToolBar {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_NOTIFY) {
            auto* hdr = reinterpret_cast<NMHDR*>(lParam);
            HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
            if (hdr && hdr->code == TTN_NEEDTEXT && owner)
                return ::SendMessage(owner, WM_NOTIFY, wParam, lParam);
        }
        return CMFCToolBar::WindowProc(message, wParam, lParam);
    }
};

CString CurrentFolder() {
    char buffer[PATH_MAX];
    return getcwd(buffer, sizeof buffer) ? CString(buffer) : CString();
}
}  // namespace

COXHistoryCombo::COXHistoryCombo(int toolbarPosition, int flush, int toolbarId)
    : m_nToolbarPosition(toolbarPosition),
      m_nFlush(flush),
      m_nToolbarId(toolbarId),
      m_pToolbar(new COXHistoryComboToolBar),
      m_sInitialDir(CurrentFolder()) {}

COXHistoryCombo::~COXHistoryCombo() {
    if (m_hWnd)
        DestroyWindow();
    if (m_pToolbar->m_hWnd)
        m_pToolbar->DestroyWindow();
    delete m_pToolbar;
}

void COXHistoryCombo::PreSubclassWindow() {
    CComboBox::PreSubclassWindow();
    // A window the framework creates for this object runs InitToolbar from WM_CREATE instead.
    if (!AfxIsCreatingWindow())
        InitToolbar(nullptr);
}

void COXHistoryCombo::InitToolbar(CWnd* parent) {
    if (!m_hWnd || m_pToolbar->m_hWnd)
        return;
    if (!parent)
        parent = GetParent();
    if (!parent || !m_pToolbar->Create(parent, WS_CHILD | CBRS_TOOLTIPS, AFX_IDW_TOOLBAR))
        return;
    ::SetWindowPos(m_pToolbar->m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // The combo owns the bar: its clicks, tool tips and button states come here.
    ::SetWindowLongPtr(m_pToolbar->m_hWnd, GWLP_HWNDPARENT, (LONG_PTR)m_hWnd);
    m_pToolbar->SendMessage(TB_SETPARENT, (WPARAM)m_hWnd, 0);
    RefreshToolbar();
    if (m_bAutoPersistent)
        RestoreContents(m_sValueName, m_sCompany, m_sApplication, HKEY_CURRENT_USER, TRUE);
}

void COXHistoryCombo::RefreshToolbar() {
    if (!m_pToolbar->m_hWnd)
        return;
    OXGetLibraryResourceHandle();  // the library's toolbar and strings
    struct Button {
        UINT id, style;
        int image;
    };
    std::vector<Button> kept;
    if (m_pToolbar->LoadToolBar((UINT)m_nToolbarId)) {
        int count = m_pToolbar->GetToolBarCtrl().GetButtonCount();
        for (int i = 0; i < count && i < 10; ++i) {
            if (!m_bShowButton[i])
                continue;
            Button b{};
            m_pToolbar->GetButtonInfo(i, b.id, b.style, b.image);
            kept.push_back(b);
        }
    }
    m_pToolbar->SetButtons(nullptr, (int)kept.size());
    for (size_t i = 0; i < kept.size(); ++i)
        m_pToolbar->SetButtonInfo((int)i, kept[i].id, kept[i].style, kept[i].image);
    m_pToolbar->ShowWindow(kept.empty() ? SW_HIDE : SW_SHOWNA);
    PositionToolbar(m_nToolbarPosition, 0);
}

void COXHistoryCombo::PositionToolbar(int position, int flush) {
    m_nToolbarPosition = position;
    m_nFlush = flush;
    if (!m_hWnd || !m_pToolbar->m_hWnd)
        return;
    if (m_pToolbar->GetToolBarCtrl().GetButtonCount() == 0 || position == 1) {
        m_pToolbar->ShowWindow(SW_HIDE);
        return;
    }
    m_pToolbar->SetBarStyle(m_pToolbar->GetBarStyle() | CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM);
    SIZE size = m_pToolbar->CalcFixedLayout(FALSE, TRUE);
    int w = size.cx, h = size.cy;
    RECT rc;
    GetWindowRect(&rc);
    ::MapWindowPoints(nullptr, ::GetParent(m_pToolbar->m_hWnd), reinterpret_cast<POINT*>(&rc), 2);
    RECT border = m_pToolbar->GetBorders();
    int l = border.left, t = border.top, r = border.right, b = border.bottom;
    int g = flush == 0 ? 1 : 0;
    int L = rc.left, T = rc.top, R = rc.right, B = rc.bottom;
    int x = 0, y = 0;
    switch (position) {
        case 2: x = L - l; y = T - h + g * t; break;
        case 3: x = L + (R - L - w) / 2; y = T - h + g * t; break;
        case 4: x = R - w + r; y = T - h + g * t; break;
        case 5: x = L - l; y = B - g * b; break;
        case 6: x = L + (R - L - w) / 2; y = B - g * b; break;
        case 7: x = R - w + r; y = B - g * b; break;
        case 8: x = L - w + g * l; y = T - t; break;
        case 9: x = L - w + g * l; y = T + (B - T - h) / 2; break;
        case 10: x = L - w + g * l; y = B - h + b; break;
        case 11: x = R - g * r; y = T - t; break;
        case 12: x = R - g * r; y = T + (B - T - h) / 2; break;
        case 13: x = R - g * r; y = B - h + b; break;
        default: break;
    }
    m_pToolbar->MoveWindow(x, y, w, h, TRUE);
    m_pToolbar->Invalidate();
}

void COXHistoryCombo::OnIdleUpdate(LONG idleCount) {
    if (idleCount == 0 && m_hWnd)
        SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
}

BOOL COXHistoryCombo::Browse() {
    auto orNull = [](const CString& s) -> LPCTSTR { return s.IsEmpty() ? nullptr : s.GetString(); };
    CFileDialog dialog(m_bOpenFileDialog, orNull(m_sDefExt), orNull(m_sFileName), m_dwFlags, orNull(m_sFilter),
                       m_pFileDialogParent, 0, TRUE);
    dialog.m_ofn.lpstrInitialDir = m_sInitialDir;
    if (dialog.DoModal() != IDOK)
        return FALSE;
    TakeBrowsedPath(dialog.GetPathName());
    return TRUE;
}

void COXHistoryCombo::TakeBrowsedPath(const CString& path) {
    SetWindowText(path);
    if (HWND parent = ::GetParent(m_hWnd))
        ::SendMessage(parent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(m_hWnd), CBN_EDITCHANGE), (LPARAM)m_hWnd);
}

void COXHistoryCombo::OnToolbarCommand(UINT id) {
    switch (id) {
        case ID_OX_HISTORY_COMBO_NEW:
            AddItem(nullptr);
            break;
        case ID_OX_HISTORY_COMBO_DELETE:
            DeleteItem(-1);
            break;
        case ID_OX_HISTORY_COMBO_BROWSE:
            Browse();
            break;
        case ID_OX_HISTORY_COMBO_RESERVED_1:
        case ID_OX_HISTORY_COMBO_RESERVED_2:
            break;
        default:
            if (HWND parent = ::GetParent(m_hWnd))
                ::SendMessage(parent, WM_COMMAND, (WPARAM)id, (LPARAM)m_pToolbar->m_hWnd);
            break;
    }
}

BOOL COXHistoryCombo::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
    auto* ui = static_cast<CCmdUI*>(extra);
    bool fromToolbar = (code == (int)CN_UPDATE_COMMAND_UI || (code == (int)CN_COMMAND && handlerInfo)) && ui &&
                       ui->m_pOther == m_pToolbar;
    if (fromToolbar) {
        BOOL enabled = IsWindowEnabled();
        switch (id) {
            case ID_OX_HISTORY_COMBO_NEW:
            case ID_OX_HISTORY_COMBO_DELETE:
            case ID_OX_HISTORY_COMBO_BROWSE:
            case ID_OX_HISTORY_COMBO_RESERVED_1:
            case ID_OX_HISTORY_COMBO_RESERVED_2:
                if (code == (int)CN_UPDATE_COMMAND_UI) {
                    BOOL can = id == ID_OX_HISTORY_COMBO_NEW      ? CanAdd()
                               : id == ID_OX_HISTORY_COMBO_DELETE ? CanDelete()
                               : id == ID_OX_HISTORY_COMBO_BROWSE ? CanBrowse()
                                                                   : FALSE;
                    ui->Enable(can && enabled);
                }
                return TRUE;
            default: {
                // Other commands of the bar are the parent's.
                CWnd* parent = GetParent();
                return parent ? parent->OnCmdMsg(id, code, extra, handlerInfo) : FALSE;
            }
        }
    }
    return CComboBox::OnCmdMsg(id, code, extra, handlerInfo);
}

BOOL COXHistoryCombo::OnToolTipNeedText(NMHDR* hdr) {
    auto* info = reinterpret_cast<NMTTDISPINFO*>(hdr);
    UINT_PTR id = hdr->idFrom;
    if (info->uFlags & TTF_IDISHWND)
        id = (UINT_PTR)::GetDlgCtrlID((HWND)id);
    char full[1024];
    if (id == 0 || id > 0xFFFF || ::LoadString(OXGetLibraryResourceHandle(), (UINT)id, full, sizeof full) <= 0)
        return FALSE;
    const char* newline = std::strchr(full, '\n');
    const char* tip = newline ? newline + 1 : "";
    size_t len = std::min(std::strlen(tip), sizeof info->szText - 1);
    std::memcpy(info->szText, tip, len);
    info->szText[len] = 0;
    info->lpszText = info->szText;
    ::SetWindowPos(hdr->hwndFrom, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    return TRUE;
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
            if (r != -1) {
                auto* cs = reinterpret_cast<CREATESTRUCT*>(lParam);
                InitToolbar(cs ? CWnd::FromHandle(cs->hwndParent) : nullptr);
            }
            return r;
        }
        case WM_ENABLE:
            SetEditSel(-1, 0);
            if (m_pToolbar->m_hWnd)
                m_pToolbar->EnableWindow((BOOL)wParam);
            break;
        case WM_WINDOWPOSCHANGED:
            PositionToolbar(m_nToolbarPosition, 0);
            break;
        case WM_IDLEUPDATECMDUI:
            if (m_pToolbar->m_hWnd)
                m_pToolbar->SendMessage(WM_IDLEUPDATECMDUI, wParam, lParam);
            return 0;
        case WM_COMMAND:
            if (m_pToolbar->m_hWnd && (HWND)lParam == m_pToolbar->m_hWnd) {
                OnToolbarCommand(LOWORD(wParam));
                return 0;
            }
            break;
        case WM_NOTIFY: {
            auto* hdr = reinterpret_cast<NMHDR*>(lParam);
            if (hdr && hdr->code == TTN_NEEDTEXT) {
                OnToolTipNeedText(hdr);
                return 0;
            }
            break;
        }
        case WM_DESTROY:
            if (m_bAutoPersistent)
                SaveContents(m_sValueName, m_sCompany, m_sApplication, HKEY_CURRENT_USER, TRUE);
            if (m_pToolbar->m_hWnd)
                m_pToolbar->DestroyWindow();
            delete m_pToolbar;
            m_pToolbar = new COXHistoryComboToolBar;
            break;
        default:
            break;
    }
    return CComboBox::WindowProc(message, wParam, lParam);
}
