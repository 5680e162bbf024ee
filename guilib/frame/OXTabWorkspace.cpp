#include "guilib/frame/OXTabWorkspace.h"

#include <algorithm>

#include "guilib/frame/OXTabClientWnd.h"
#include "guilib/skins/OXSkin.h"
#include "platform/framework/frames/MDIFrameWnd.h"
#include "platform/user/ImageList.h"

IMPLEMENT_DYNAMIC(COXTabWorkspace, COXSkinnedTabCtrl)

namespace {
// A title as a tab shows it: every '&' doubled, so none marks a mnemonic.
CString TabLabel(const CString& title) {
    CString label;
    for (int i = 0; i < title.GetLength(); ++i) {
        label += title[i];
        if (title[i] == '&')
            label += '&';
    }
    return label;
}

CString ClassNameOf(HWND wnd) {
    char name[513] = {};
    ::GetClassName(wnd, name, 512);
    return name;
}

HWND ActiveChild(HWND mdiClient, BOOL* maximized = nullptr) {
    return mdiClient ? (HWND)::SendMessage(mdiClient, WM_MDIGETACTIVE, 0, (LPARAM)maximized) : nullptr;
}
}  // namespace


DROPEFFECT COXTabWorkspaceDropTarget::OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, POINT point) {
    m_nOverItem = -1;
    return OnDragOver(wnd, data, keyState, point);
}

DROPEFFECT COXTabWorkspaceDropTarget::OnDragOver(CWnd* wnd, COleDataObject*, DWORD, POINT point) {
    auto* tab = dynamic_cast<COXTabWorkspace*>(wnd);
    if (!tab || !tab->m_bAcceptDraggedObject)
        return DROPEFFECT_NONE;
    TCHITTESTINFO info{};
    info.pt = point;
    int item = tab->HitTest(&info);
    if (item >= 0 && item != m_nOverItem) {
        m_nOverItem = item;
        if (HWND child = tab->GetTabWindow(item); child && tab->m_pTabClientWnd)
            ::SendMessage(tab->m_pTabClientWnd->m_hWnd, WM_MDIACTIVATE, (WPARAM)child, 0);
    }
    return DROPEFFECT_NONE;
}

void COXTabWorkspaceDropTarget::OnDragLeave(CWnd*) {
    m_nOverItem = -1;
}

COXTabWorkspace::COXTabWorkspace() = default;

COXTabWorkspace::~COXTabWorkspace() {
    if (m_imageList)
        ImageList_Destroy(m_imageList);
}

HWND COXTabWorkspace::GetTabWindow(int index) const {
    return index >= 0 && index < (int)m_arrTab.size() ? m_arrTab[index].hWnd : nullptr;
}

CString COXTabWorkspace::GetTabText(HWND child) {
    auto text = (LPCTSTR)::SendMessage(child, WM_OX_TABTEXT, 0, 0);
    if (text && *text)
        return text;
    return GetWindowTextString(child);
}

HICON COXTabWorkspace::GetWindowIcon(HWND child) {
    auto icon = (HICON)::SendMessage(child, WM_GETICON, ICON_SMALL, 0);
    if (!icon)
        icon = (HICON)::GetClassLongPtr(child, GCLP_HICONSM);
    if (!icon)
        icon = (HICON)::SendMessage(child, WM_GETICON, ICON_BIG, 0);
    if (!icon)
        icon = (HICON)::GetClassLongPtr(child, GCLP_HICON);
    return icon;
}

int COXTabWorkspace::AddIcon(HICON icon) {
    if (!icon || !m_imageList)
        return -1;
    auto it = std::find(m_arrImage.begin(), m_arrImage.end(), icon);
    if (it != m_arrImage.end())
        return (int)(it - m_arrImage.begin());
    if (ImageList_AddIcon(m_imageList, icon) < 0)
        return -1;
    m_arrImage.push_back(icon);
    return (int)m_arrImage.size() - 1;
}

int COXTabWorkspace::FindTab(HWND child) const {
    if (!child)
        return -1;
    for (size_t i = 0; i < m_arrTab.size(); ++i)
        if (m_arrTab[i].hWnd == child)
            return m_arrTab[i].sClassName == ClassNameOf(child) ? (int)i : -1;
    return -1;
}

void COXTabWorkspace::RecalcFrame() {
    if (m_pTabClientWnd && m_pTabClientWnd->GetParentFrame())
        m_pTabClientWnd->GetParentFrame()->RecalcLayout();
}

BOOL COXTabWorkspace::InsertTab(int index, HWND child, BOOL recalcLayout, BOOL visibleOnly) {
    if (!m_hWnd || !::IsWindow(child) || !(::GetWindowLong(child, GWL_EXSTYLE) & WS_EX_MDICHILD))
        return FALSE;
    if (visibleOnly && !::IsWindowVisible(child))
        return FALSE;
    index = std::clamp(index, 0, (int)m_arrTab.size());
    _tagTAB_ITEM_ENTRY entry;
    entry.sText = GetTabText(child);
    entry.sClassName = ClassNameOf(child);
    entry.hWnd = child;
    int image = AddIcon(GetWindowIcon(child));
    if (InsertItem(TCIF_TEXT | TCIF_IMAGE, index, TabLabel(entry.sText), image, 0) < 0)
        return FALSE;
    m_arrTab.insert(m_arrTab.begin() + index, entry);
    if (recalcLayout)
        RecalcFrame();
    return TRUE;
}

BOOL COXTabWorkspace::RemoveTab(HWND child, BOOL recalcLayout) {
    int index = FindTab(child);
    if (index < 0) {
        // A record whose window changed class or went away goes too.
        for (size_t i = 0; i < m_arrTab.size(); ++i)
            if (m_arrTab[i].hWnd == child)
                index = (int)i;
        if (index < 0)
            return FALSE;
    }
    DeleteItem(index);
    m_arrTab.erase(m_arrTab.begin() + index);
    if (recalcLayout)
        RecalcFrame();
    return TRUE;
}

void COXTabWorkspace::UpdateContents(BOOL addNew, BOOL refreshIcons) {
    if (!m_hWnd || !m_pTabClientWnd || !m_pTabClientWnd->m_hWnd)
        return;
    HWND client = m_pTabClientWnd->m_hWnd;
    HWND active = ActiveChild(client);
    bool changed = false;
    int activeIndex = -1;
    // Records of windows that are gone go first.
    for (size_t i = m_arrTab.size(); i-- > 0;)
        if (!::IsWindow(m_arrTab[i].hWnd) || ::GetParent(m_arrTab[i].hWnd) != client) {
            DeleteItem((int)i);
            m_arrTab.erase(m_arrTab.begin() + (ptrdiff_t)i);
            changed = true;
        }
    HWND first = active ? ::GetWindow(active, GW_HWNDFIRST) : ::GetWindow(client, GW_CHILD);
    for (HWND child = first; child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        int index = FindTab(child);
        if (index >= 0) {
            if (!::IsWindowVisible(child)) {
                RemoveTab(child, FALSE);
                changed = true;
                continue;
            }
            if (child == active)
                activeIndex = index;
            CString title = GetTabText(child);
            if (title != m_arrTab[index].sText) {
                m_arrTab[index].sText = title;
                CString label = TabLabel(title);
                TCITEM item{};
                item.mask = TCIF_TEXT;
                item.pszText = const_cast<LPSTR>((LPCTSTR)label);
                SetItem(index, &item);
                changed = true;
            }
            if (refreshIcons) {
                int image = AddIcon(GetWindowIcon(child));
                TCITEM item{};
                item.mask = TCIF_IMAGE;
                GetItem(index, &item);
                if (item.iImage != image) {
                    item.iImage = image;
                    SetItem(index, &item);
                    changed = true;
                }
            }
        } else if (addNew && ::IsWindowVisible(child) && InsertTab((int)m_arrTab.size(), child, FALSE, TRUE)) {
            if (child == active)
                activeIndex = (int)m_arrTab.size() - 1;
            changed = true;
        }
    }
    if (activeIndex >= 0 && GetCurSel() != activeIndex)
        SetCurSel(activeIndex);
    if (changed || m_pTabClientWnd->m_bForceToRecalc)
        RecalcFrame();
    m_pTabClientWnd->m_bForceToRecalc = FALSE;
}

void COXTabWorkspace::SelectActiveTab() {
    HWND active = m_pTabClientWnd ? ActiveChild(m_pTabClientWnd->m_hWnd) : nullptr;
    SetCurSel(FindTab(active));
}

void COXTabWorkspace::OnSelChange() {
    HWND child = GetTabWindow(GetCurSel());
    if (!child) {
        SelectActiveTab();
        return;
    }
    ::SendMessage(m_pTabClientWnd->m_hWnd, WM_MDIACTIVATE, (WPARAM)child, 0);
    RecalcFrame();
}

void COXTabWorkspace::OnDoubleClick() {
    HWND child = GetTabWindow(GetCurSel());
    if (!child || !m_pTabClientWnd) {
        SelectActiveTab();
        return;
    }
    BOOL maximized = FALSE;
    HWND active = ActiveChild(m_pTabClientWnd->m_hWnd, &maximized);
    if (child == active && maximized)
        ::SendMessage(m_pTabClientWnd->m_hWnd, WM_MDIRESTORE, (WPARAM)child, 0);
    else
        ::SendMessage(m_pTabClientWnd->m_hWnd, WM_MDIMAXIMIZE, (WPARAM)child, 0);
}

BOOL COXTabWorkspace::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_NOTIFY && lParam && reinterpret_cast<NMHDR*>(lParam)->code == (UINT)TCN_SELCHANGE) {
        OnSelChange();
        if (result)
            *result = 0;
        return TRUE;
    }
    return COXSkinnedTabCtrl::OnChildNotify(message, wParam, lParam, result);
}

LRESULT COXTabWorkspace::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            LRESULT r = COXSkinnedTabCtrl::WindowProc(message, wParam, lParam);
            if (r == -1)
                return r;
            if (!::SetTimer(m_hWnd, kTimerId, kTimerPeriod, nullptr))
                return -1;
            m_imageList = ImageList_Create(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                           ILC_MASK | ILC_COLOR32, 4, 4);
            if (!m_imageList)
                return -1;
            ::SendMessage(m_hWnd, WM_SETFONT, (WPARAM)::GetStockObject(DEFAULT_GUI_FONT), FALSE);
            SetImageList(m_imageList);
            m_dropTarget.Register(this);
            return r;
        }
        case WM_TIMER:
            if (wParam == kTimerId) {
                UpdateContents(TRUE, FALSE);
                return 0;
            }
            break;
        case WM_LBUTTONDBLCLK:
            OnDoubleClick();
            return 0;
        case WM_NCCALCSIZE: {
            auto* rc = reinterpret_cast<RECT*>(lParam);
            int offset = (int)m_dwOffset;
            if (rc->right - rc->left <= 2 * offset)
                rc->right = rc->left;
            else
                InflateRect(rc, -offset, 0);
            if (rc->bottom - rc->top <= 2 * offset)
                rc->bottom = rc->top;
            else
                InflateRect(rc, 0, -offset);
            return 0;
        }
        case WM_NCPAINT: {
            // The offset margin is erased first: a skin that draws no border leaves it the face colour.
            RECT window{}, client{};
            OXGetWindowRects(m_hWnd, window, client);
            if (HDC dc = ::GetWindowDC(m_hWnd)) {
                ::ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
                ::FillRect(dc, &window, ::GetSysColorBrush(COLOR_BTNFACE));
                ::ReleaseDC(m_hWnd, dc);
            }
            GetTabSkin()->DrawNonClient(this);
            return 0;
        }
        case WM_ERASEBKGND: {
            RECT r;
            ::GetClientRect(m_hWnd, &r);
            InflateRect(&r, (int)m_dwOffset, (int)m_dwOffset);
            ::FillRect((HDC)wParam, &r, ::GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        case WM_DESTROY:
            m_dropTarget.Revoke();
            ::KillTimer(m_hWnd, kTimerId);
            SetImageList(nullptr);
            if (m_imageList)
                ImageList_Destroy(m_imageList);
            m_imageList = nullptr;
            m_arrImage.clear();
            m_arrTab.clear();
            break;
        default:
            break;
    }
    return COXSkinnedTabCtrl::WindowProc(message, wParam, lParam);
}
