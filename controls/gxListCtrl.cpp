#include "controls/gxListCtrl.h"

#include <algorithm>
#include <cstring>

BEGIN_MESSAGE_MAP(gxListCtrl, CListCtrl)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_DESTROY()
ON_WM_LBUTTONDOWN()
ON_MESSAGE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
ON_MESSAGE(WM_HSCROLL, OnHScroll)
ON_MESSAGE(WM_VSCROLL, OnVScroll)
ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
ON_NOTIFY_REFLECT(LVN_COLUMNCLICK, OnColumnClick)
ON_NOTIFY_REFLECT(LVN_KEYDOWN, OnKeyDown)
ON_NOTIFY_REFLECT(LVN_ENDLABELEDIT, OnEndLabelEdit)
ON_NOTIFY_REFLECT(LVN_GETDISPINFO, OnGetDispInfo)
ON_NOTIFY_REFLECT_EX(LVN_ITEMCHANGED, OnItemChanged)
END_MESSAGE_MAP()

gxListCtrl::gxListCtrl() {
    SetHighlightBkColor(GetSysColor(COLOR_HIGHLIGHT));
    SetHighlightTextColor(GetSysColor(COLOR_HIGHLIGHTTEXT));
    SetObserver(this);
}

gxListCtrl::~gxListCtrl() {
    if (m_hWnd)
        CWnd::DestroyWindow();
    SetObserver(nullptr);
}

BOOL gxListCtrl::PreCreateWindow(CREATESTRUCT& cs) {
    cs.style |= LVS_OWNERDATA;
    return CListCtrl::PreCreateWindow(cs);
}

LRESULT gxListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_bPendingSync && HasWindow() && message != WM_NCDESTROY && message != WM_DESTROY)
        Sync();
    LRESULT result = CListCtrl::WindowProc(message, wParam, lParam);
    switch (message) {
        case WM_CREATE:
            if (result != -1) {
                m_bCreated = true;
                // The model keeps the selection; the window keeps the focus and reports both changes.
                SetCallbackMask(LVIS_SELECTED);
                RebuildColumns();
                MarkDirty();
            }
            break;
        case WM_NCDESTROY:
            m_bCreated = false;
            break;
        case WM_NOTIFY: {
            // A column dragged wider in the header: the model keeps the width.
            auto* nm = reinterpret_cast<NMHEADER*>(lParam);
            if (nm && nm->hdr.code == HDN_ITEMCHANGED && nm->pitem && (nm->pitem->mask & HDI_WIDTH)) {
                ++m_nSyncing;
                gxListModel::SetColumnWidth(nm->iItem, nm->pitem->cxy);
                --m_nSyncing;
            }
            break;
        }
        default:
            break;
    }
    return result;
}

// ---------------------------------------------------------------------------------------------------------
// Keeping the window in step with the model.

void gxListCtrl::MarkDirty() {
    if (m_bPendingSync)
        return;
    m_bPendingSync = true;
    if (HasWindow())
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void gxListCtrl::Sync() {
    m_bPendingSync = false;
    int count = gxListModel::GetItemCount();
    if (CListCtrl::GetItemCount() != count)
        SetItemCountEx(count, LVSICF_NOSCROLL);
}

void gxListCtrl::RebuildColumns() {
    if (!HasWindow())
        return;
    ++m_nSyncing;
    ::SendMessage(m_hWnd, WM_SETREDRAW, FALSE, 0);
    while (CListCtrl::DeleteColumn(0)) {
    }
    for (int c = 0; c < GetColumnCount(); ++c) {
        CString name = GetColumnName(c);
        CListCtrl::InsertColumn(c, name, LVCFMT_LEFT, gxListModel::GetColumnWidth(c), c);
    }
    COLORREF textBk = gxListModel::GetTextBkColor();
    if (textBk != kNoColor && textBk != CListCtrl::GetTextBkColor())
        SetTextBkColor(textBk);
    ::SendMessage(m_hWnd, WM_SETREDRAW, TRUE, 0);
    --m_nSyncing;
}

void gxListCtrl::OnColumnsChanged() {
    RebuildColumns();
    MarkDirty();
}

void gxListCtrl::OnColumnWidthChanged(int nCol) {
    if (m_nSyncing || !HasWindow())
        return;
    ++m_nSyncing;
    CListCtrl::SetColumnWidth(nCol, gxListModel::GetColumnWidth(nCol));
    --m_nSyncing;
}

void gxListCtrl::OnItemInserted(int) {
    MarkDirty();
}

void gxListCtrl::OnItemTextChanged(int, int) {
    MarkDirty();
}

void gxListCtrl::OnItemChanged(int nItem, bool) {
    MarkDirty();
    if (!m_nSyncing)
        FocusFromModel(nItem);
}

void gxListCtrl::OnAllItemsDeleted() {
    MarkDirty();
}

void gxListCtrl::OnSelectionCleared() {
    MarkDirty();
}

void gxListCtrl::OnItemsSorted(int, int) {
    MarkDirty();
    if (HasWindow())
        FocusFromModel(GetFocusedItem());
}

// The model's focus, given by analysis code or moved by a sort, becomes the window's.
void gxListCtrl::FocusFromModel(int nItem) {
    if (!HasWindow())
        return;
    if (m_bPendingSync)
        Sync();
    int shown = CListCtrl::GetNextItem(-1, LVNI_FOCUSED);
    bool modelFocus = nItem >= 0 && gxListModel::GetItemState(nItem, kFocused);
    ++m_nSyncing;
    if (modelFocus && shown != nItem)
        CListCtrl::SetItemState(nItem, LVIS_FOCUSED, LVIS_FOCUSED);
    else if (!modelFocus && shown >= 0 && shown == nItem)
        CListCtrl::SetItemState(nItem, 0, LVIS_FOCUSED);
    else if (nItem < 0 && shown >= 0 && GetFocusedItem() < 0)
        CListCtrl::SetItemState(shown, 0, LVIS_FOCUSED);
    --m_nSyncing;
}

void gxListCtrl::OnItemSelected(int nItem) {
    if (!HasWindow())
        return;
    if (m_bPendingSync)
        Sync();
    if (nItem > 0) {
        if (!EnsureVisible(nItem + 3, TRUE))
            EnsureVisible(nItem, TRUE);
    } else {
        EnsureVisible(0, TRUE);
    }
    Update(nItem);
    SetFocus();
    PostToOwner(WM_COMMAND, ID_LISTSELCHANGE, 0);
}

void gxListCtrl::OnLongOperation(bool bStart) {
    if (bStart) {
        if (m_nWaitDepth++ == 0)
            m_hOldCursor = ::SetCursor(LoadCursor(nullptr, IDC_WAIT));
    } else if (m_nWaitDepth > 0 && --m_nWaitDepth == 0) {
        ::SetCursor(m_hOldCursor);
    }
}

void gxListCtrl::PostToOwner(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_hWnd)
        return;
    HWND target = ::GetWindow(m_hWnd, GW_OWNER);
    if (!target)
        target = ::GetParent(m_hWnd);
    if (target && ::IsWindow(target))
        ::PostMessage(target, message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------------------
// Operations.

int gxListCtrl::HitTestEx(POINT point, int* pCol) {
    int row = CListCtrl::HitTest(point, nullptr);
    int col = 0;
    if (pCol)
        *pCol = 0;
    if ((GetStyle() & LVS_TYPEMASK) != LVS_REPORT)
        return row;
    int top = GetTopIndex();
    int last = std::min(top + GetCountPerPage(), gxListModel::GetItemCount() - 1);
    for (row = top; row <= last; ++row) {
        RECT rc;
        if (!CListCtrl::GetItemRect(row, &rc, LVIR_BOUNDS) || !PtInRect(&rc, point))
            continue;
        long long left = rc.left;
        for (col = 0; col < GetColumnCount(); ++col) {
            int width = CListCtrl::GetColumnWidth(col);
            if (point.x >= left && point.x <= left + width) {
                if (pCol)
                    *pCol = col;
                SelectItem(row);
                return row;
            }
            left += width;
        }
    }
    return -1;
}

void gxListCtrl::ResizeList(int cx, int cy) {
    MoveWindow(0, 0, cx, cy);
    RECT rc{0, 0, cx, cy};
    InvalidateRect(&rc, TRUE);
    SetColumnWidth(2, LVSCW_AUTOSIZE_USEHEADER);
}

BOOL gxListCtrl::SetColumnWidth(int nCol, int nWidth) {
    if (nWidth >= 0 || !HasWindow())
        return gxListModel::SetColumnWidth(nCol, nWidth);
    if (nCol < 0 || nCol >= GetColumnCount())
        return FALSE;
    ++m_nSyncing;
    CListCtrl::SetColumnWidth(nCol, nWidth);
    BOOL ok = gxListModel::SetColumnWidth(nCol, CListCtrl::GetColumnWidth(nCol));
    --m_nSyncing;
    return ok;
}

// ---------------------------------------------------------------------------------------------------------
// Messages.

void gxListCtrl::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    RECT parent{};
    if (HWND p = ::GetParent(m_hWnd))
        ::GetClientRect(p, &parent);
    if (parent.right - parent.left > 0 || parent.bottom - parent.top > 0) {
        // One off-screen picture of the rows and the header, copied in one go: no flicker.
        RECT wr;
        ::GetWindowRect(m_hWnd, &wr);
        int width = std::max<int>(1, wr.right - wr.left), height = std::max<int>(1, wr.bottom - wr.top);
        HDC mem = CreateCompatibleDC(dc);
        HBITMAP bmp = CreateCompatibleBitmap(dc, width, height);
        HGDIOBJ old = SelectObject(mem, bmp);
        RECT all{0, 0, width, height};
        COLORREF bk = CListCtrl::GetBkColor();
        HBRUSH brush = CreateSolidBrush(bk == CLR_NONE ? GetSysColor(COLOR_WINDOW) : bk);
        FillRect(mem, &all, brush);
        DeleteObject(brush);
        SendMessage(WM_PRINT, (WPARAM)mem, PRF_CLIENT | PRF_CHILDREN);
        SendMessage(WM_PRINT, (WPARAM)mem, PRF_NONCLIENT);
        BitBlt(dc, 0, 0, parent.right - parent.left, parent.bottom - parent.top, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteObject(bmp);
        DeleteDC(mem);
    }
    ::EndPaint(m_hWnd, &ps);
}

BOOL gxListCtrl::OnEraseBkgnd(HDC dc) {
    RECT rc;
    GetClientRect(&rc);
    HBRUSH odd = CreateSolidBrush(GetStripeColor(1)), even = CreateSolidBrush(GetStripeColor(0));
    FillRect(dc, &rc, odd);
    int top = GetTopIndex();
    RECT first;
    if (gxListModel::GetItemCount() > 0 && CListCtrl::GetItemRect(top, &first, LVIR_BOUNDS)) {
        int height = first.bottom - first.top;
        int perPage = GetCountPerPage();
        for (int i = 0; i <= perPage && height > 0; ++i) {
            RECT band{rc.left, first.top + i * height, rc.right, first.top + (i + 1) * height};
            FillRect(dc, &band, (i % 2) == 0 ? even : odd);
        }
    }
    DeleteObject(odd);
    DeleteObject(even);
    return FALSE;
}

void gxListCtrl::OnDestroy() {
    OnLongOperation(true);
    Default();
    OnLongOperation(false);
}

void gxListCtrl::OnLButtonDown(UINT, POINT point) {
    Default();
    int col = 0;
    int row = HitTestEx(point, &col);
    if (row < 0 || !(GetStyle() & LVS_EDITLABELS) || col == 0)
        return;
    PostToOwner(WM_SHOWLISTITEM, (WPARAM)row, 0);
}

LRESULT gxListCtrl::OnLButtonDblClk(WPARAM, LPARAM lParam) {
    Default();
    int col = 0;
    int row = HitTestEx(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, &col);
    if (row >= 0 && (GetStyle() & LVS_EDITLABELS) && col != 0)
        PostToOwner(WM_OPENINEDITOR, (WPARAM)row, 0);
    return 0;
}

LRESULT gxListCtrl::OnHScroll(WPARAM, LPARAM) {
    if (::GetFocus() != m_hWnd)
        SetFocus();
    return Default();
}

LRESULT gxListCtrl::OnVScroll(WPARAM, LPARAM) {
    if (::GetFocus() != m_hWnd)
        SetFocus();
    return Default();
}

void gxListCtrl::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult) {
    auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(pNMHDR);
    *pResult = CDRF_DODEFAULT;
    if (!IsStriped())
        return;
    switch (cd->nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            *pResult = CDRF_NOTIFYITEMDRAW;
            break;
        case CDDS_ITEMPREPAINT:
            *pResult = CDRF_NOTIFYSUBITEMDRAW;
            break;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
            cd->clrTextBk = GetStripeColor((int)cd->nmcd.dwItemSpec);
            break;
        default:
            break;
    }
}

void gxListCtrl::OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult) {
    SortByColumn(reinterpret_cast<NMLISTVIEW*>(pNMHDR)->iSubItem);
    *pResult = 0;
}

void gxListCtrl::OnKeyDown(NMHDR* pNMHDR, LRESULT* pResult) {
    switch (reinterpret_cast<NMLVKEYDOWN*>(pNMHDR)->wVKey) {
        case VK_PRIOR:
        case VK_NEXT:
        case VK_END:
        case VK_HOME:
        case VK_UP:
        case VK_DOWN:
            PostToOwner(WM_COMMAND, ID_LISTSELCHANGE, 0);
            break;
        default:
            break;
    }
    *pResult = 0;
}

void gxListCtrl::OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult) {
    // The label is accepted as typed; a virtual list keeps it in the model.
    auto* di = reinterpret_cast<NMLVDISPINFO*>(pNMHDR);
    if (di->item.pszText)
        gxListModel::SetItemText(di->item.iItem, 0, di->item.pszText);
    *pResult = TRUE;
}

void gxListCtrl::OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult) {
    LVITEM& item = reinterpret_cast<NMLVDISPINFO*>(pNMHDR)->item;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        std::string_view text = GetItemTextView(item.iItem, item.iSubItem);
        size_t n = std::min(text.size(), (size_t)item.cchTextMax - 1);
        if (n)
            std::memcpy(item.pszText, text.data(), n);
        item.pszText[n] = 0;
    }
    if (item.mask & LVIF_STATE)
        item.state = (item.state & ~item.stateMask) |
                     (gxListModel::GetItemState(item.iItem, kSelected | kFocused) & item.stateMask);
    *pResult = 0;
}

BOOL gxListCtrl::OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult) {
    auto* nm = reinterpret_cast<NMLISTVIEW*>(pNMHDR);
    *pResult = 0;
    if (m_nSyncing || !(nm->uChanged & LVIF_STATE))
        return FALSE;
    UINT mask = (nm->uNewState ^ nm->uOldState) & (LVIS_SELECTED | LVIS_FOCUSED);
    ++m_nSyncing;
    if (nm->iItem < 0) {
        if ((mask & LVIS_SELECTED) && !(nm->uNewState & LVIS_SELECTED))
            DeselectAll();
    } else if (mask) {
        gxListModel::SetItemState(nm->iItem, nm->uNewState & mask, mask);
    }
    --m_nSyncing;
    return FALSE;  // the owner hears of it as well
}
