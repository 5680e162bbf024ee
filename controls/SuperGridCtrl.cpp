#include "controls/SuperGridCtrl.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/FrameControl.h"
#include "platform/user/ImageList.h"

namespace {
constexpr int kCheckWidth = 16;
constexpr UINT kColumnEditorId = 4659;

CString WindowText(HWND hwnd) {
    int len = ::GetWindowTextLength(hwnd);
    std::vector<char> buf((size_t)len + 1);
    ::GetWindowText(hwnd, buf.data(), len + 1);
    return CString(buf.data());
}
}  // namespace

BEGIN_MESSAGE_MAP(CSuperGridCtrl, CListCtrl)
ON_NOTIFY_REFLECT(LVN_KEYDOWN, OnKeyNotify)
ON_NOTIFY_REFLECT(LVN_ENDLABELEDIT, OnEndLabelEdit)
END_MESSAGE_MAP()

CSuperGridCtrl::CSuperGridCtrl() {
    m_tree.SetObserver(this);
}

CSuperGridCtrl::~CSuperGridCtrl() {
    if (m_hWnd)
        CWnd::DestroyWindow();
    m_tree.SetObserver(nullptr);
}

BOOL CSuperGridCtrl::PreCreateWindow(CREATESTRUCT& cs) {
    cs.style |= LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | LVS_OWNERDRAWFIXED;
    return CListCtrl::PreCreateWindow(cs);
}

// ---------------------------------------------------------------------------------------------------------
// The tree and the list's rows.

void CSuperGridCtrl::OnRowInserted(int row, CTreeItem* node) {
    if (!m_hWnd)
        return;
    ++m_nMirroring;
    CItemInfo* info = node->GetData();
    CListCtrl::InsertItem(LVIF_TEXT | LVIF_PARAM, row, info->GetItemText(), 0, 0, 0, (LPARAM)node);
    if (HasCheckBoxes() && info->GetCheck())
        SetCheck(row, TRUE);
    for (int i = 0; i < info->GetSubItemCount(); ++i)
        CListCtrl::SetItemText(row, i + 1, info->GetSubItemText(i));
    --m_nMirroring;
}

void CSuperGridCtrl::OnRowDeleted(int row) {
    if (!m_hWnd)
        return;
    ++m_nMirroring;
    CListCtrl::DeleteItem(row);
    --m_nMirroring;
}

void CSuperGridCtrl::SetRedrawing(BOOL on) {
    if (!m_hWnd)
        return;
    ::SendMessage(m_hWnd, WM_SETREDRAW, (WPARAM)on, 0);
    if (on)
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

CTreeItem* CSuperGridCtrl::InsertRootItem(CItemInfo* lpInfo) {
    return m_tree.InsertRootItem(lpInfo);
}

CTreeItem* CSuperGridCtrl::InsertItem(CTreeItem* pParent, CItemInfo* lpInfo) {
    return m_tree.InsertItem(pParent, lpInfo);
}

void CSuperGridCtrl::DeleteItemEx(CTreeItem* pItem) {
    SetRedrawing(FALSE);
    int row = m_tree.GetRow(pItem);
    m_tree.DeleteItem(pItem);
    SetRedrawing(TRUE);
    int above = std::min(row - 1, GetItemCount() - 1);
    if (row >= 0 && above >= 0)
        SetItemState(above, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

int CSuperGridCtrl::Expand(CTreeItem* pItem, int) {
    return m_tree.Expand(pItem);
}

void CSuperGridCtrl::Collapse(CTreeItem* pItem) {
    m_tree.Collapse(pItem);
}

void CSuperGridCtrl::ExpandAll(CTreeItem* pItem) {
    m_tree.ExpandAll(pItem);
}

void CSuperGridCtrl::CollapseAll(CTreeItem* pItem) {
    SetRedrawing(FALSE);
    m_tree.Collapse(pItem);
    SetRedrawing(TRUE);
}

void CSuperGridCtrl::DeleteAll() {
    m_tree.DeleteAll();
}

// ---------------------------------------------------------------------------------------------------------
// Overridables.

CItemInfo* CSuperGridCtrl::CloneItemInfo(CTreeItem*) {
    return nullptr;
}

int CSuperGridCtrl::GetItemImage(CTreeItem* pItem) {
    return pItem && pItem->GetData() ? pItem->GetData()->GetImage() : -1;
}

COLORREF CSuperGridCtrl::GetCellRGB() {
    return RGB(0xC0, 0, 0);
}

void CSuperGridCtrl::OnUpdateItemText(CTreeItem* pItem, int nColumn, LPCTSTR text) {
    if (!pItem || !pItem->GetData())
        return;
    pItem->GetData()->SetColumnText(nColumn, text);
    int row = m_tree.GetRow(pItem);
    if (row >= 0)
        CListCtrl::SetItemText(row, nColumn, text);
}

HIMAGELIST CSuperGridCtrl::CreateDragImage(int) {
    return nullptr;
}

void CSuperGridCtrl::MakeCellVisible(int nItem, int nCol, RECT& cell) {
    EnsureVisible(nItem, TRUE);
    GetSubItemRect(nItem, nCol, LVIR_LABEL, cell);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    if (cell.left < client.left || cell.left > client.right) {
        SIZE by{cell.left - client.left, 0};
        Scroll(by);
        GetSubItemRect(nItem, nCol, LVIR_LABEL, cell);
    }
}

void CSuperGridCtrl::EditCell(int nItem, int nCol) {
    CTreeItem* node = GetTreeItem(nItem);
    if (!node)
        return;
    RECT cell{};
    if (nCol == 0) {
        GetSubItemRect(nItem, 0, LVIR_BOUNDS, cell);
        cell.right = cell.left + GetColumnWidth(0);
        cell.left = LayoutRow(cell, node->m_nIndent).textLeft;
    } else {
        MakeCellVisible(nItem, nCol, cell);
    }
    auto* edit = new CListEditCtrl(nItem, nCol, node->GetData()->GetColumnText(nCol));
    edit->CreateOver(this, cell, kColumnEditorId);
}

void CSuperGridCtrl::CancelEdit() {
    HWND focus = ::GetFocus();
    if (focus && ::GetParent(focus) == m_hWnd)
        ::SetFocus(m_hWnd);
}

// ---------------------------------------------------------------------------------------------------------
// Geometry and drawing.

CSuperGridCtrl::RowLayout CSuperGridCtrl::LayoutRow(const RECT& cell, int indent) const {
    RowLayout l{};
    const int cx = m_cxImage, cy = m_cyImage;
    const int mid = (cell.top + cell.bottom) / 2;
    const int centre = cell.left + cx * indent - cx / 2;
    const int w = cx / 2 + 3, h = cy / 2 + 3;
    l.plusMinus = RECT{centre - w / 2, mid - h / 2, centre - w / 2 + w, mid - h / 2 + h};
    int x = cell.left + cx * indent;
    const int checkWidth = (GetExtendedStyle() & LVS_EX_CHECKBOXES) ? kCheckWidth : 0;
    l.check = RECT{x, mid - kCheckWidth / 2, x + checkWidth, mid - kCheckWidth / 2 + kCheckWidth};
    x += checkWidth;
    const int imageWidth = ::SendMessage(m_hWnd, LVM_GETIMAGELIST, LVSIL_SMALL, 0) ? cx : 0;
    l.image = RECT{x, mid - cy / 2, x + imageWidth, mid - cy / 2 + cy};
    l.textLeft = x + imageWidth + 2;
    return l;
}

int CSuperGridCtrl::HitTestCell(POINT pt, int* pCol) const {
    LVHITTESTINFO hit{};
    hit.pt = pt;
    ::SendMessage(m_hWnd, LVM_SUBITEMHITTEST, 0, (LPARAM)&hit);
    if (pCol)
        *pCol = hit.iSubItem;
    return hit.iItem;
}

CString CSuperGridCtrl::CutTextToWidth(HDC dc, const CString& text, int width) {
    SIZE size{};
    ::GetTextExtentPoint32(dc, text, text.GetLength(), &size);
    if (size.cx <= width)
        return text;
    for (int n = text.GetLength() - 1; n >= 0; --n) {
        CString cut = text.Left(n) + "...";
        ::GetTextExtentPoint32(dc, cut, cut.GetLength(), &size);
        if (size.cx <= width)
            return cut;
    }
    return CString("...");
}

void CSuperGridCtrl::MeasureItem(LPMEASUREITEMSTRUCT mis) {
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ font = (HGDIOBJ)::SendMessage(m_hWnd, WM_GETFONT, 0, 0);
    HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
    TEXTMETRIC tm{};
    ::GetTextMetrics(dc, &tm);
    if (old)
        ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    mis->itemHeight = (UINT)(tm.tmHeight + tm.tmExternalLeading + 4);
}

void CSuperGridCtrl::DrawItem(LPDRAWITEMSTRUCT dis) {
    const int row = (int)dis->itemID;
    CTreeItem* node = GetTreeItem(row);
    if (!node)
        return;
    HDC dc = dis->hDC;
    CItemInfo* info = node->GetData();
    const bool selected = (GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
    COLORREF back = ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    COLORREF fore = ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    if (!selected && info->GetRowColor() != (COLORREF)-1)
        back = info->GetRowColor();
    HBRUSH fill = ::CreateSolidBrush(back);
    ::FillRect(dc, &dis->rcItem, fill);
    ::DeleteObject(fill);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, fore);

    CHeaderCtrl* header = GetHeaderCtrl();
    const int columns = header ? header->GetItemCount() : 1;
    int left = dis->rcItem.left;
    for (int col = 0; col < columns; ++col) {
        RECT cell{left, dis->rcItem.top, left + GetColumnWidth(col), dis->rcItem.bottom};
        left = cell.right;
        if (selected && col == m_nCurrentColumn && columns > 1) {
            HBRUSH current = ::CreateSolidBrush(GetCellRGB());
            ::FillRect(dc, &cell, current);
            ::DeleteObject(current);
            ::DrawFocusRect(dc, &cell);
        }
        int textLeft = cell.left + 2;
        if (col == 0) {
            RowLayout l = LayoutRow(cell, node->m_nIndent);
            HPEN lines = ::CreatePen(PS_SOLID, 1, RGB(0xC0, 0xC0, 0xC0));
            HGDIOBJ oldPen = ::SelectObject(dc, lines);
            const int mid = (cell.top + cell.bottom) / 2;
            // A vertical line for every ancestor level that a later sibling continues, then the elbow.
            for (CTreeItem* p = node; p; p = p->m_pParent) {
                const auto& siblings = p->m_pParent ? p->m_pParent->m_listChild : GetRootItems();
                bool later = !siblings.empty() && siblings.back().get() != p;
                int x = cell.left + m_cxImage * p->m_nIndent - m_cxImage / 2;
                if (later || p == node) {
                    ::MoveToEx(dc, x, cell.top, nullptr);
                    ::LineTo(dc, x, p == node && !later ? mid : cell.bottom);
                }
            }
            int x = cell.left + m_cxImage * node->m_nIndent - m_cxImage / 2;
            ::MoveToEx(dc, x, mid, nullptr);
            ::LineTo(dc, x + m_cxImage / 2, mid);
            ::SelectObject(dc, oldPen);
            ::DeleteObject(lines);
            if (node->HasChildren()) {
                ::FillRect(dc, &l.plusMinus, (HBRUSH)::GetStockObject(WHITE_BRUSH));
                ::FrameRect(dc, &l.plusMinus, (HBRUSH)::GetStockObject(BLACK_BRUSH));
                int cx = (l.plusMinus.left + l.plusMinus.right) / 2, cy = (l.plusMinus.top + l.plusMinus.bottom) / 2;
                HGDIOBJ black = ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
                ::MoveToEx(dc, cx - 2, cy, nullptr);
                ::LineTo(dc, cx + 3, cy);
                if (node->m_bHideChildren) {
                    ::MoveToEx(dc, cx, cy - 2, nullptr);
                    ::LineTo(dc, cx, cy + 3);
                }
                ::SelectObject(dc, black);
            }
            if (HasCheckBoxes()) {
                RECT box = l.check;
                ::InflateRect(&box, -1, -1);
                ::DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | (GetCheck(row) ? DFCS_CHECKED : 0));
            }
            HIMAGELIST images = (HIMAGELIST)::SendMessage(m_hWnd, LVM_GETIMAGELIST, LVSIL_SMALL, 0);
            int image = GetItemImage(node);
            if (images && image >= 0)
                ::ImageList_Draw(images, image, dc, l.image.left, l.image.top, ILD_TRANSPARENT);
            textLeft = l.textLeft;
        } else {
            CItemInfo::CONTROLTYPE ctrl;
            if (info->GetControlType(col, ctrl) && ctrl == CItemInfo::combobox) {
                int w = ::GetSystemMetrics(SM_CXVSCROLL);
                RECT button{cell.right - w, cell.top, cell.right, cell.bottom};
                ::DrawFrameControl(dc, &button, DFC_SCROLL, DFCS_SCROLLDOWN);
                cell.right -= w;
            }
        }
        RECT text{textLeft, cell.top, cell.right - 2, cell.bottom};
        if (text.right > text.left) {
            CString cut = CutTextToWidth(dc, info->GetColumnText(col), text.right - text.left);
            ::DrawText(dc, cut, cut.GetLength(), &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
    }
}

// ---------------------------------------------------------------------------------------------------------
// Input.

LRESULT CSuperGridCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            LRESULT r = CListCtrl::WindowProc(message, wParam, lParam);
            if (r != -1) {
                // Rows of nodes inserted before the window existed.
                for (int i = 0; i < m_tree.GetRowCount(); ++i)
                    OnRowInserted(i, m_tree.GetNodeAt(i));
            }
            return r;
        }
        case LVM_SETIMAGELIST: {
            LRESULT r = CListCtrl::WindowProc(message, wParam, lParam);
            if (wParam == LVSIL_SMALL && lParam)
                ImageList_GetIconSize((HIMAGELIST)lParam, &m_cxImage, &m_cyImage);
            return r;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            OnLButton(message, wParam, lParam);
            return 0;
        case WM_HSCROLL:
        case WM_VSCROLL:
            if (::GetFocus() != m_hWnd)
                ::SetFocus(m_hWnd);
            break;
        case WM_DESTROY:
            m_tree.SetObserver(nullptr);
            break;
        case WM_NCDESTROY: {
            LRESULT r = CListCtrl::WindowProc(message, wParam, lParam);
            m_tree.SetObserver(this);
            return r;
        }
        default:
            break;
    }
    return CListCtrl::WindowProc(message, wParam, lParam);
}

void CSuperGridCtrl::SyncCheck(int nItem) {
    if (CTreeItem* node = GetTreeItem(nItem))
        node->GetData()->SetCheck(GetCheck(nItem) != FALSE);
}

void CSuperGridCtrl::OnLButton(UINT message, WPARAM wParam, LPARAM lParam) {
    if (::GetFocus() != m_hWnd)
        ::SetFocus(m_hWnd);
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    int col = 0;
    int row = HitTestCell(pt, &col);
    if (row < 0) {
        CListCtrl::WindowProc(message, wParam, lParam);
        return;
    }
    if (!CanClickItem(row, col))
        return;
    CTreeItem* node = GetTreeItem(row);
    RECT bounds{};
    GetSubItemRect(row, 0, LVIR_BOUNDS, bounds);
    bounds.right = bounds.left + GetColumnWidth(0);
    RowLayout l = LayoutRow(bounds, node ? node->m_nIndent : 1);
    if (message == WM_LBUTTONDOWN && HasCheckBoxes() && ::PtInRect(&l.check, pt)) {
        SetCheck(row, !GetCheck(row));
        SyncCheck(row);
        return;
    }
    if (node && node->HasChildren() && ::PtInRect(&l.plusMinus, pt)) {
        if (node->m_bHideChildren)
            Expand(node, row);
        else
            Collapse(node);
        return;
    }
    if (message == WM_LBUTTONDOWN) {
        m_nCurrentColumn = col;
        RECT cell{};
        if (col > 0)
            MakeCellVisible(row, col, cell);
        CListCtrl::WindowProc(message, wParam, lParam);
        if (!m_hWnd)
            return;
        EditCell(row, col);
        RedrawItems(row, row);
        return;
    }
    // Double click: expand or collapse the selected row's node.
    CListCtrl::WindowProc(message, wParam, lParam);
    int selected = GetNextItem(-1, LVNI_SELECTED);
    CTreeItem* target = GetTreeItem(selected);
    if (!target || !target->HasChildren())
        return;
    SetRedrawing(FALSE);
    int last = selected;
    if (!target->m_bHideChildren) {
        if (OnCollapsing(target)) {
            Collapse(target);
            OnItemCollapsed(target);
        }
    } else if (OnItemExpanding(target, selected)) {
        last = Expand(target, selected);
        OnItemExpanded(target, selected);
    }
    SetRedrawing(TRUE);
    RedrawItems(selected, selected);
    if (last >= 0)
        EnsureVisible(last, TRUE);
}

BOOL CSuperGridCtrl::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && pMsg->hwnd == m_hWnd) {
        CHeaderCtrl* header = GetHeaderCtrl();
        const int columns = header ? header->GetItemCount() : 1;
        int selected = GetNextItem(-1, LVNI_SELECTED);
        switch (pMsg->wParam) {
            case VK_LEFT:
            case VK_RIGHT: {
                int next = m_nCurrentColumn + (pMsg->wParam == VK_LEFT ? -1 : 1);
                if (next >= 0 && next < columns) {
                    m_nCurrentColumn = next;
                    if (selected >= 0) {
                        RECT cell{};
                        MakeCellVisible(selected, next, cell);
                        RedrawItems(selected, selected);
                    }
                }
                return TRUE;
            }
            case VK_RETURN:
                OnEditKey(selected, m_nCurrentColumn);
                return TRUE;
            default:
                break;
        }
    }
    return CListCtrl::PreTranslateMessage(pMsg);
}

void CSuperGridCtrl::OnKeyNotify(NMHDR* nm, LRESULT* result) {
    *result = 0;
    auto* key = reinterpret_cast<NMLVKEYDOWN*>(nm);
    int row = GetNextItem(-1, LVNI_SELECTED);
    CTreeItem* node = GetTreeItem(row);
    if (!node)
        return;
    switch (key->wVKey) {
        case VK_SPACE:
            // The list flips its box; the node's data follows when the change arrives.
            if (HasCheckBoxes())
                node->GetData()->SetCheck(!GetCheck(row));
            break;
        case VK_DELETE:
            if (OnDeleteItem(node, row))
                DeleteItemEx(node);
            return;
        case VK_MULTIPLY:
            if (OnVKMultiply(node, row)) {
                CWaitCursor wait;
                SetRedrawing(FALSE);
                ExpandAll(node);
                SetRedrawing(TRUE);
            }
            break;
        case VK_ADD:
            if (OnVKAdd(node, row))
                Expand(node, row);
            break;
        case VK_SUBTRACT:
            if (OnVkSubTract(node, row))
                Collapse(node);
            break;
        default:
            break;
    }
    row = NodeToIndex(node);
    if (row >= 0)
        RedrawItems(row, row);
}

void CSuperGridCtrl::OnEndLabelEdit(NMHDR* nm, LRESULT* result) {
    *result = 0;
    auto* info = reinterpret_cast<NMLVDISPINFO*>(nm);
    if (!info->item.pszText)
        return;
    if (CTreeItem* node = GetTreeItem(info->item.iItem))
        OnUpdateItemText(node, info->item.iSubItem, info->item.pszText);
}

// ---------------------------------------------------------------------------------------------------------
// The cell editor.

void NotifyEndLabelEdit(HWND editor, int item, int subItem, LPCTSTR text, LPARAM data) {
    HWND list = ::GetParent(editor);
    NMLVDISPINFO info{};
    info.hdr.hwndFrom = list;
    info.hdr.idFrom = (UINT_PTR)::GetDlgCtrlID(list);
    info.hdr.code = LVN_ENDLABELEDIT;
    info.item.mask = LVIF_TEXT;
    info.item.iItem = item;
    info.item.iSubItem = subItem;
    info.item.pszText = const_cast<LPTSTR>(text);
    info.item.cchTextMax = text ? (int)strlen(text) : 0;
    info.item.lParam = data;
    ::SendMessage(::GetParent(list), WM_NOTIFY, info.hdr.idFrom, (LPARAM)&info);
}

CListEditCtrl::CListEditCtrl(int iItem, int iSubItem, LPCTSTR initText)
    : m_iItem(iItem), m_iSubItem(iSubItem), m_sInitText(initText ? initText : "") {}

BOOL CListEditCtrl::CreateOver(CWnd* list, const RECT& rect, UINT id) {
    if (!CWnd::Create(WC_EDIT, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, rect, list, id)) {
        delete this;
        return FALSE;
    }
    ::SendMessage(m_hWnd, WM_SETFONT, ::SendMessage(list->m_hWnd, WM_GETFONT, 0, 0), FALSE);
    ::SetWindowText(m_hWnd, m_sInitText);
    ::SetFocus(m_hWnd);
    ::SendMessage(m_hWnd, EM_SETSEL, 0, 0);
    ::SendMessage(m_hWnd, EM_SCROLLCARET, 0, 0);
    return TRUE;
}

BOOL CListEditCtrl::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && pMsg->hwnd == m_hWnd &&
        (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_DELETE || pMsg->wParam == VK_ESCAPE ||
         (::GetKeyState(VK_CONTROL) & 0x8000))) {
        ::TranslateMessage(pMsg);
        ::DispatchMessage(pMsg);
        return TRUE;
    }
    return CWnd::PreTranslateMessage(pMsg);
}

LRESULT CListEditCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE || wParam == VK_RETURN) {
                m_bVK_ESCAPE = wParam == VK_ESCAPE;
                ::SetFocus(::GetParent(m_hWnd));
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == VK_ESCAPE || wParam == VK_RETURN)
                return 0;
            {
                LRESULT r = CWnd::WindowProc(message, wParam, lParam);
                // Widen to fit the text, within the list.
                CString text = WindowText(m_hWnd);
                HDC dc = ::GetDC(m_hWnd);
                HGDIOBJ font = (HGDIOBJ)::SendMessage(m_hWnd, WM_GETFONT, 0, 0);
                HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
                SIZE size{};
                ::GetTextExtentPoint32(dc, text, text.GetLength(), &size);
                if (old)
                    ::SelectObject(dc, old);
                ::ReleaseDC(m_hWnd, dc);
                RECT mine{}, parent{};
                ::GetWindowRect(m_hWnd, &mine);
                HWND list = ::GetParent(m_hWnd);
                ::GetClientRect(list, &parent);
                POINT topLeft{mine.left, mine.top};
                ::ScreenToClient(list, &topLeft);
                int width = std::min<int>(size.cx + 5, parent.right - topLeft.x);
                if (width > mine.right - mine.left)
                    ::SetWindowPos(m_hWnd, nullptr, 0, 0, width, mine.bottom - mine.top,
                                   SWP_NOMOVE | SWP_NOZORDER);
                return r;
            }
        case WM_KILLFOCUS: {
            LRESULT r = CWnd::WindowProc(message, wParam, lParam);
            if (m_bEnded)
                return r;
            m_bEnded = true;
            CString text = WindowText(m_hWnd);
            NotifyEndLabelEdit(m_hWnd, m_iItem, m_iSubItem, m_bVK_ESCAPE ? nullptr : text.GetString(), 0);
            // Closed from the queue: the object deletes itself with its window, after this message.
            ::PostMessage(m_hWnd, WM_CLOSE, 0, 0);
            return r;
        }
        default:
            break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
