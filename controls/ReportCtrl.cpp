#include "controls/ReportCtrl.h"

#include <algorithm>

namespace {
constexpr DWORD kStyleOff = LVS_NOSCROLL | LVS_EDITLABELS | LVS_SMALLICON;
constexpr DWORD kStyleOn = WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | LVS_REPORT;

DWORD AdjustedStyle(DWORD style) {
    return (style & ~kStyleOff & ~LVS_TYPEMASK) | kStyleOn;
}
}  // namespace

BEGIN_MESSAGE_MAP(CReportCtrl, CListCtrl)
ON_NOTIFY_REFLECT_EX(LVN_COLUMNCLICK, OnColumnClick)
END_MESSAGE_MAP()

CReportCtrl::CReportCtrl() = default;

// A click on a header caption sorts by that column: ascending, or reversed on the sorted column.
BOOL CReportCtrl::OnColumnClick(NMHDR* nm, LRESULT* result) {
    *result = 0;
    const int col = reinterpret_cast<NMLISTVIEW*>(nm)->iSubItem;
    SortItems(col, col == m_nSortCol ? !m_bSortAscending : TRUE);
    return FALSE;
}

CReportCtrl::~CReportCtrl() {
    if (m_hWnd)
        CWnd::DestroyWindow();
}

BOOL CReportCtrl::Create(CWnd* pParentWnd, UINT nID, LPCRECT lpRect, DWORD dwStyle) {
    RECT rect{};
    if (lpRect)
        rect = *lpRect;
    else if (pParentWnd)
        ::GetClientRect(pParentWnd->m_hWnd, &rect);
    return CListCtrl::Create(AdjustedStyle(dwStyle), rect, pParentWnd, nID);
}

BOOL CReportCtrl::PreCreateWindow(CREATESTRUCT& cs) {
    cs.style = AdjustedStyle(cs.style);
    return CListCtrl::PreCreateWindow(cs);
}

void CReportCtrl::PreSubclassWindow() {
    CListCtrl::PreSubclassWindow();
    AdjustStyle();
}

void CReportCtrl::AdjustStyle() {
    if (!m_hWnd)
        return;
    DWORD style = (DWORD)::GetWindowLong(m_hWnd, GWL_STYLE);
    DWORD wanted = AdjustedStyle(style);
    if (wanted != style)
        ::SetWindowLong(m_hWnd, GWL_STYLE, (LONG)wanted);
}

LRESULT CReportCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            LRESULT r = CListCtrl::WindowProc(message, wParam, lParam);
            AdjustStyle();
            return r;
        }
        case LVM_SETEXTENDEDLISTVIEWSTYLE:
            // Every change of the extended style keeps full-row selection and sub-item images.
            return CListCtrl::WindowProc(message, wParam, lParam | LVS_EX_FULLROWSELECT | LVS_EX_SUBITEMIMAGES);
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            return OnMouseButton(message, wParam, lParam);
        case WM_DESTROY:
            EndEdit(FALSE);
            FreeAllRows();
            if (m_wndEdit.m_hWnd)
                m_wndEdit.DestroyWindow();
            break;
        default:
            break;
    }
    return CListCtrl::WindowProc(message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------------------
// Rows and their records.

CReportCtrl::ROWINFO* CReportCtrl::Row(int nItem) const {
    if (!ValidItem(nItem))
        return nullptr;
    return reinterpret_cast<ROWINFO*>(CListCtrl::GetItemData(nItem));
}

int CReportCtrl::GetColumnCount() const {
    CHeaderCtrl* header = GetHeaderCtrl();
    return header ? header->GetItemCount() : 0;
}

void CReportCtrl::FreeAllRows() {
    if (!m_hWnd)
        return;
    for (int i = 0; i < GetItemCount(); ++i) {
        delete Row(i);
        CListCtrl::SetItemData(i, 0);
    }
    CListCtrl::DeleteAllItems();
}

BOOL CReportCtrl::SetColumnHeader(LPCTSTR lpszHeadings) {
    EndEdit(TRUE);
    FreeAllRows();
    while (GetColumnCount() > 0)
        CListCtrl::DeleteColumn(0);
    m_nSortCol = -1;
    m_bSortAscending = TRUE;
    int made = 0;
    for (const ReportColumnHeading& column : ParseColumnHeader(lpszHeadings)) {
        int format = column.alignment == 1 ? LVCFMT_CENTER : column.alignment == 2 ? LVCFMT_RIGHT : LVCFMT_LEFT;
        if (CListCtrl::InsertColumn(GetColumnCount(), column.caption, format, column.width) >= 0)
            ++made;
    }
    return made > 0;
}

int CReportCtrl::InsertRow(int nIndex, LPCTSTR lpText) {
    EndEdit(TRUE);
    m_nSortCol = -1;
    m_bSortAscending = TRUE;
    int row = CListCtrl::InsertItem(nIndex, lpText ? lpText : "");
    if (row < 0)
        return row;
    auto* info = new ROWINFO;
    size_t cols = (size_t)std::max(1, GetColumnCount());
    info->text.assign(cols, ::GetSysColor(COLOR_WINDOWTEXT));
    info->back.assign(cols, ::GetSysColor(COLOR_WINDOW));
    CListCtrl::SetItemData(row, (DWORD_PTR)info);
    return row;
}

BOOL CReportCtrl::SetCellText(int nItem, int nSubItem, LPCTSTR lpText) {
    EndEdit(TRUE);
    m_nSortCol = -1;
    m_bSortAscending = TRUE;
    return CListCtrl::SetItemText(nItem, nSubItem, lpText ? lpText : "");
}

int CReportCtrl::InsertColumn(int nCol, LPCTSTR lpHeading, int nFormat, int nWidth) {
    int col = CListCtrl::InsertColumn(nCol, lpHeading, nFormat, nWidth);
    if (col < 0)
        return col;
    for (int i = 0; i < GetItemCount(); ++i)
        if (ROWINFO* info = Row(i)) {
            size_t at = std::min((size_t)col, info->text.size());
            info->text.insert(info->text.begin() + (long)at, ::GetSysColor(COLOR_WINDOWTEXT));
            info->back.insert(info->back.begin() + (long)at, ::GetSysColor(COLOR_WINDOW));
        }
    return col;
}

BOOL CReportCtrl::DeleteColumn(int nCol) {
    if (!CListCtrl::DeleteColumn(nCol))
        return FALSE;
    for (int i = 0; i < GetItemCount(); ++i)
        if (ROWINFO* info = Row(i))
            if ((size_t)nCol < info->text.size()) {
                info->text.erase(info->text.begin() + nCol);
                info->back.erase(info->back.begin() + nCol);
            }
    return TRUE;
}

DWORD CReportCtrl::GetRowData(int nItem) const {
    ROWINFO* info = Row(nItem);
    return info ? info->dwData : 0;
}

BOOL CReportCtrl::SetRowData(int nItem, DWORD dwData) {
    ROWINFO* info = Row(nItem);
    if (!info)
        return FALSE;
    info->dwData = dwData;
    return TRUE;
}

BOOL CReportCtrl::SetCellColors(int nItem, int nSubItem, COLORREF text, COLORREF background) {
    ROWINFO* info = Row(nItem);
    if (!info)
        return FALSE;
    if (nSubItem < 0 || (size_t)nSubItem >= info->text.size())
        return FALSE;
    info->text[(size_t)nSubItem] = text;
    info->back[(size_t)nSubItem] = background;
    RedrawItems(nItem, nItem);
    return TRUE;
}

COLORREF CReportCtrl::GetCellTextColor(int nItem, int nSubItem) const {
    ROWINFO* info = Row(nItem);
    if (!info)
        return ::GetSysColor(COLOR_WINDOWTEXT);
    if (nSubItem < 0 || (size_t)nSubItem >= info->text.size())
        return ::GetSysColor(COLOR_WINDOWTEXT);
    return info->text[(size_t)nSubItem];
}

// ---------------------------------------------------------------------------------------------------------
// States.

int CReportCtrl::RowBits(int nItem) const {
    UINT state = GetItemState(nItem, LVIS_SELECTED | LVIS_FOCUSED);
    return ReportRowStateBits((state & LVIS_SELECTED) != 0, GetCheck(nItem) != FALSE, (state & LVIS_FOCUSED) != 0);
}

int CReportCtrl::CountItems(int nFilter) const {
    if (nFilter & RC_ITEM_ALL)
        return GetItemCount();
    int n = 0;
    for (int i = 0; i < GetItemCount(); ++i)
        n += ReportRowMatches(RowBits(i), nFilter);
    return n;
}

int CReportCtrl::FindNextItem(int nFilter, int nStart) const {
    for (int i = std::max(0, nStart + 1); i < GetItemCount(); ++i)
        if (ReportRowMatches(RowBits(i), nFilter))
            return i;
    return -1;
}

int CReportCtrl::DeleteRows(int nFilter) {
    EndEdit(FALSE);
    if (nFilter & RC_ITEM_ALL) {
        int count = GetItemCount();
        ::LockWindowUpdate(m_hWnd);
        FreeAllRows();
        ::LockWindowUpdate(nullptr);
        return count;
    }
    int deleted = 0;
    ::LockWindowUpdate(m_hWnd);
    for (int i = 0; i < GetItemCount();) {
        if (!ReportRowMatches(RowBits(i), nFilter)) {
            ++i;
            continue;
        }
        delete Row(i);
        CListCtrl::SetItemData(i, 0);
        CListCtrl::DeleteItem(i);
        ++deleted;
    }
    ::LockWindowUpdate(nullptr);
    return deleted;
}

BOOL CReportCtrl::SetItemStates(int nItem, int nRequest) {
    if (!ValidItem(nItem))
        return FALSE;
    BOOL ok = TRUE;
    if (nRequest & RC_ITEM_SELECTED)
        ok &= SetItemState(nItem, LVIS_SELECTED, LVIS_SELECTED);
    if (nRequest & RC_ITEM_UNSELECTED)
        ok &= SetItemState(nItem, 0, LVIS_SELECTED);
    if (nRequest & RC_ITEM_FOCUSED)
        ok &= SetItemState(nItem, LVIS_FOCUSED, LVIS_FOCUSED);
    if (nRequest & RC_ITEM_UNFOCUSED)
        ok &= SetItemState(nItem, 0, LVIS_FOCUSED);
    if (nRequest & RC_ITEM_CHECKED)
        ok &= SetItemChecked(nItem, TRUE);
    if (nRequest & RC_ITEM_UNCHECKED)
        ok &= SetItemChecked(nItem, FALSE);
    return ok;
}

BOOL CReportCtrl::SetItemChecked(int nItem, BOOL bCheck) {
    if (!ValidItem(nItem))
        return FALSE;
    ++m_nInternal;
    BOOL ok = SetCheck(nItem, bCheck);
    if (ok && bCheck && m_nChkStyle == RC_CHKBOX_SINGLE)
        KeepSingleCheck(nItem);
    --m_nInternal;
    return ok;
}

void CReportCtrl::KeepSingleCheck(int nItem) {
    if (nItem < 0)
        nItem = FindNextItem(RC_ITEM_CHECKED, -1);
    if (nItem < 0)
        return;
    for (int i = nItem + 1; i < GetItemCount(); ++i)
        if (GetCheck(i))
            SetCheck(i, FALSE);
}

void CReportCtrl::UncheckAll() {
    for (int i = 0; i < GetItemCount(); ++i)
        if (GetCheck(i))
            SetCheck(i, FALSE);
}

void CReportCtrl::SetCheckboxMode(int nMode) {
    EndEdit(TRUE);
    m_nChkStyle = nMode;
    DWORD ex = GetExtendedStyle();
    if (nMode == RC_CHKBOX_NONE) {
        SetExtendedStyle(ex & ~LVS_EX_CHECKBOXES);
        return;
    }
    SetExtendedStyle(ex | LVS_EX_CHECKBOXES);
    if (nMode == RC_CHKBOX_SINGLE) {
        ++m_nInternal;
        KeepSingleCheck(-1);
        --m_nInternal;
    }
}

void CReportCtrl::SetEditable(BOOL bEditable) {
    if (!bEditable)
        EndEdit(TRUE);
    m_bAllowEdit = bEditable;
}

void CReportCtrl::ShowGridLines(BOOL bShow) {
    DWORD ex = GetExtendedStyle();
    SetExtendedStyle(bShow ? (ex | LVS_EX_GRIDLINES) : (ex & ~LVS_EX_GRIDLINES));
}

// ---------------------------------------------------------------------------------------------------------
// Sorting.

int CReportCtrl::SortItems(int nColumn, BOOL bAscending) {
    EndEdit(TRUE);
    const int columns = GetColumnCount();
    if (nColumn < 0 || nColumn >= columns)
        return 0;
    HWND header = (HWND)::SendMessage(m_hWnd, LVM_GETHEADER, 0, 0);
    if (!header || !(::GetWindowLong(header, GWL_STYLE) & HDS_BUTTONS))
        return 0;
    m_nSortCol = nColumn;
    m_bSortAscending = bAscending;

    struct Saved {
        UINT state;
        DWORD_PTR data;
        std::vector<CString> texts;
        std::vector<int> images;
    };
    const int rows = GetItemCount();
    std::vector<Saved> saved((size_t)rows);
    std::vector<CString> keys((size_t)rows);
    for (int i = 0; i < rows; ++i) {
        Saved& s = saved[(size_t)i];
        s.state = GetItemState(i, (UINT)-1);
        s.data = CListCtrl::GetItemData(i);
        for (int c = 0; c < columns; ++c) {
            s.texts.push_back(GetItemText(i, c));
            LVITEM item{};
            item.mask = LVIF_IMAGE;
            item.iItem = i;
            item.iSubItem = c;
            GetItem(&item);
            s.images.push_back(item.iImage);
        }
        keys[(size_t)i] = s.texts[(size_t)nColumn];
    }
    std::vector<int> order = ReportSortOrder(keys, bAscending != FALSE);
    ++m_nInternal;
    for (int pos = 0; pos < rows; ++pos) {
        const Saved& s = saved[(size_t)order[(size_t)pos]];
        SetItemState(pos, s.state, (UINT)-1);
        CListCtrl::SetItemData(pos, s.data);
        for (int c = 0; c < columns; ++c) {
            LVITEM item{};
            item.mask = LVIF_TEXT | LVIF_IMAGE;
            item.iItem = pos;
            item.iSubItem = c;
            item.pszText = const_cast<LPTSTR>(s.texts[(size_t)c].GetString());
            item.iImage = s.images[(size_t)c];
            SetItem(&item);
        }
    }
    --m_nInternal;
    CWnd* parent = GetParent();
    return parent ? (int)::SendMessage(parent->m_hWnd, WM_REPORTCTRLSORTED, (WPARAM)nColumn, (LPARAM)bAscending) : 0;
}

// ---------------------------------------------------------------------------------------------------------
// Mouse and check boxes.

LRESULT CReportCtrl::OnMouseButton(UINT message, WPARAM wParam, LPARAM lParam) {
    LVHITTESTINFO hit{};
    hit.pt = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    SubItemHitTest(&hit);
    const int row = hit.iItem;
    const BOOL wasChecked = ValidItem(row) ? GetCheck(row) : FALSE;
    const bool wasEditing = IsEditing();
    EndEdit(TRUE);
    const bool left = message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK;
    bool wasSelectedFocused = false;
    if (left && ValidItem(row))
        wasSelectedFocused = GetItemState(row, LVIS_SELECTED | LVIS_FOCUSED) == (LVIS_SELECTED | LVIS_FOCUSED);
    LRESULT result = CListCtrl::WindowProc(message, wParam, lParam);
    if (!m_hWnd)
        return result;
    const bool checkChanged = ValidItem(row) && GetCheck(row) != wasChecked;
    ApplyCheckRule(row, wasChecked, message);
    if (left && m_bAllowEdit && !checkChanged && !wasEditing && wasSelectedFocused)
        StartEdit(row, hit.iSubItem);
    return result;
}

void CReportCtrl::ApplyCheckRule(int nItem, BOOL bWasChecked, UINT message) {
    if (!ValidItem(nItem) || m_nChkStyle == RC_CHKBOX_NONE)
        return;
    const BOOL now = GetCheck(nItem);
    if (now == bWasChecked)
        return;
    ++m_nInternal;
    if (m_nChkStyle == RC_CHKBOX_DISABLED) {
        SetCheck(nItem, bWasChecked);
        --m_nInternal;
        return;
    }
    if (m_nChkStyle == RC_CHKBOX_SINGLE && now) {
        UncheckAll();
        SetCheck(nItem, TRUE);
    }
    for (int i = GetNextItem(-1, LVNI_SELECTED); i >= 0; i = GetNextItem(i, LVNI_SELECTED))
        SetItemState(i, 0, LVIS_SELECTED);
    SetItemState(nItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    --m_nInternal;
    if (CWnd* parent = GetParent())
        ::SendMessage(parent->m_hWnd, WM_REPORTCTRLCHECKED, (WPARAM)nItem, (LPARAM)message);
}

// ---------------------------------------------------------------------------------------------------------
// In-place editing.

BOOL CReportCtrl::StartEdit(int nItem, int nSubItem) {
    if (!m_bAllowEdit || !ValidItem(nItem) || nSubItem < 0 || nSubItem >= GetColumnCount())
        return FALSE;
    if (nItem == m_nEditItem && nSubItem == m_nEditSubItem)
        return FALSE;
    EndEdit(TRUE);
    for (int i = GetNextItem(-1, LVNI_SELECTED); i >= 0; i = GetNextItem(i, LVNI_SELECTED))
        SetItemState(i, 0, LVIS_SELECTED);
    SetItemState(nItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);

    LVCOLUMN column{};
    column.mask = LVCF_FMT;
    GetColumn(nSubItem, &column);
    DWORD align = (column.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER ? ES_CENTER
                  : (column.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT ? ES_RIGHT
                                                                        : 0;
    if (m_wndEdit.m_hWnd && align != m_dwEditAlign)
        m_wndEdit.DestroyWindow();
    if (!m_wndEdit.m_hWnd) {
        if (!m_wndEdit.Create(WS_CHILD | WS_BORDER | ES_AUTOHSCROLL | ES_NOHIDESEL | align, RECT{0, 0, 0, 0}, this,
                              0)) {
            return FALSE;
        }
        m_dwEditAlign = align;
        ::SendMessage(m_wndEdit.m_hWnd, WM_SETFONT, ::SendMessage(m_hWnd, WM_GETFONT, 0, 0), FALSE);
    }
    m_nEditItem = nItem;
    m_nEditSubItem = nSubItem;
    EnsureVisible(nItem, FALSE);
    RECT rect{};
    GetSubItemRect(nItem, nSubItem, LVIR_LABEL, rect);
    LVITEM item{};
    item.mask = LVIF_IMAGE;
    item.iItem = nItem;
    item.iSubItem = nSubItem;
    GetItem(&item);
    if (nSubItem != 0 && ::SendMessage(m_hWnd, LVM_GETIMAGELIST, LVSIL_SMALL, 0) && item.iImage >= 0)
        rect.left += 16;
    ::MoveWindow(m_wndEdit.m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    ::SetWindowText(m_wndEdit.m_hWnd, GetItemText(nItem, nSubItem));
    ::ShowWindow(m_wndEdit.m_hWnd, SW_SHOW);
    m_wndEdit.SetSel(0, -1);
    ::SetFocus(m_wndEdit.m_hWnd);
    return TRUE;
}

BOOL CReportCtrl::EndEdit(BOOL bCommit) {
    if (m_nEditItem < 0)
        return FALSE;
    const int item = m_nEditItem, sub = m_nEditSubItem;
    m_nEditItem = m_nEditSubItem = -1;
    BOOL written = FALSE;
    if (m_wndEdit.m_hWnd) {
        CString text;
        int len = ::GetWindowTextLength(m_wndEdit.m_hWnd);
        std::vector<char> buf((size_t)len + 1);
        ::GetWindowText(m_wndEdit.m_hWnd, buf.data(), len + 1);
        text = buf.data();
        if (bCommit && ValidItem(item) && text != GetItemText(item, sub)) {
            CListCtrl::SetItemText(item, sub, text);
            m_nSortCol = -1;
            m_bSortAscending = TRUE;
            written = TRUE;
        }
        ::ShowWindow(m_wndEdit.m_hWnd, SW_HIDE);
    }
    if (written)
        if (CWnd* parent = GetParent())
            ::SendMessage(parent->m_hWnd, WM_REPORTCTRLEDITED, (WPARAM)item, (LPARAM)sub);
    return written;
}

BOOL CReportCtrl::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && m_hWnd) {
        if (IsEditing()) {
            const int item = m_nEditItem, sub = m_nEditSubItem;
            switch (pMsg->wParam) {
                case VK_TAB:
                    EndEdit(TRUE);
                    StartEdit(item, sub + 1 < GetColumnCount() ? sub + 1 : 0);
                    return TRUE;
                case VK_RETURN:
                    EndEdit(TRUE);
                    return TRUE;
                case VK_ESCAPE:
                    EndEdit(FALSE);
                    return TRUE;
                case VK_UP:
                case VK_DOWN: {
                    EndEdit(TRUE);
                    int next = item + (pMsg->wParam == VK_UP ? -1 : 1);
                    if (ValidItem(next)) {
                        EnsureVisible(next, FALSE);
                        StartEdit(next, sub);
                    }
                    return TRUE;
                }
                default:
                    break;
            }
        } else if (pMsg->hwnd == m_hWnd && pMsg->wParam == VK_SPACE) {
            return TRUE;  // check boxes change by mouse only
        }
    }
    return CListCtrl::PreTranslateMessage(pMsg);
}
