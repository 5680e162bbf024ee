#include "platform/framework/controls/ListCtrl.h"

#include <string>

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

BEGIN_MESSAGE_MAP(CListCtrl, CWnd)
END_MESSAGE_MAP()

void CListCtrl::DrawItem(LPDRAWITEMSTRUCT) {
    m_ownerDrawLeft = true;
}

void CListCtrl::MeasureItem(LPMEASUREITEMSTRUCT) {
    m_ownerDrawLeft = true;
}

BOOL CListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if ((message != WM_DRAWITEM && message != WM_MEASUREITEM) || !lParam)
        return CWnd::OnChildNotify(message, wParam, lParam, result);
    if (CWnd::OnChildNotify(message, wParam, lParam, result))
        return TRUE;  // a reflection entry in the class's map
    m_ownerDrawLeft = false;
    if (message == WM_DRAWITEM)
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    else
        MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
    if (m_ownerDrawLeft)
        return FALSE;
    if (result)
        *result = TRUE;
    return TRUE;
}

BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(WC_LISTVIEW, nullptr, style, rect, parent, id);
}

BOOL CListCtrl::PreCreateWindow(CREATESTRUCT& cs) {
    if (!cs.lpszClass)
        cs.lpszClass = WC_LISTVIEW;
    return TRUE;
}

int CListCtrl::InsertItem(int item, LPCTSTR text) {
    return InsertItem(LVIF_TEXT, item, text, 0, 0, 0, 0);
}

int CListCtrl::InsertItem(int item, LPCTSTR text, int image) {
    return InsertItem(LVIF_TEXT | LVIF_IMAGE, item, text, 0, 0, image, 0);
}

int CListCtrl::InsertItem(UINT mask, int item, LPCTSTR text, UINT state, UINT stateMask, int image,
                          LPARAM lParam) {
    LVITEM li{};
    li.mask = mask;
    li.iItem = item;
    li.pszText = const_cast<LPTSTR>(text);
    li.state = state;
    li.stateMask = stateMask;
    li.iImage = image;
    li.lParam = lParam;
    return InsertItem(&li);
}

BOOL CListCtrl::SetItem(int item, int subItem, UINT mask, LPCTSTR text, int image, UINT state, UINT stateMask,
                        LPARAM lParam) {
    LVITEM li{};
    li.mask = mask;
    li.iItem = item;
    li.iSubItem = subItem;
    li.pszText = const_cast<LPTSTR>(text);
    li.iImage = image;
    li.state = state;
    li.stateMask = stateMask;
    li.lParam = lParam;
    return SetItem(&li);
}

BOOL CListCtrl::SetItemText(int item, int subItem, LPCTSTR text) {
    LVITEM li{};
    li.iSubItem = subItem;
    li.pszText = const_cast<LPTSTR>(text);
    return (BOOL)Send(LVM_SETITEMTEXT, (WPARAM)item, (LPARAM)&li);
}

CString CListCtrl::GetItemText(int item, int subItem) const {
    // Grows the buffer until the text fits.
    std::string buf(256, '\0');
    for (;;) {
        LVITEM li{};
        li.iSubItem = subItem;
        li.pszText = buf.data();
        li.cchTextMax = (int)buf.size();
        int n = (int)Send(LVM_GETITEMTEXT, (WPARAM)item, (LPARAM)&li);
        if (n < (int)buf.size() - 1 || buf.size() >= (1u << 28)) {
            buf.resize((size_t)n);
            return CString(buf);
        }
        buf.assign(buf.size() * 4, '\0');
    }
}

int CListCtrl::GetItemText(int item, int subItem, LPTSTR buffer, int size) const {
    LVITEM li{};
    li.iSubItem = subItem;
    li.pszText = buffer;
    li.cchTextMax = size;
    return (int)Send(LVM_GETITEMTEXT, (WPARAM)item, (LPARAM)&li);
}

BOOL CListCtrl::SetItemData(int item, DWORD_PTR data) {
    return SetItem(item, 0, LVIF_PARAM, nullptr, 0, 0, 0, (LPARAM)data);
}

DWORD_PTR CListCtrl::GetItemData(int item) const {
    LVITEM li{};
    li.mask = LVIF_PARAM;
    li.iItem = item;
    return GetItem(&li) ? (DWORD_PTR)li.lParam : 0;
}

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask) {
    LVITEM li{};
    li.state = state;
    li.stateMask = mask;
    return (BOOL)Send(LVM_SETITEMSTATE, (WPARAM)item, (LPARAM)&li);
}

POSITION CListCtrl::GetFirstSelectedItemPosition() const {
    return (POSITION)(DWORD_PTR)(1 + GetNextItem(-1, LVNI_SELECTED));
}

int CListCtrl::GetNextSelectedItem(POSITION& pos) const {
    int item = (int)(DWORD_PTR)pos - 1;
    pos = (POSITION)(DWORD_PTR)(1 + GetNextItem(item, LVNI_SELECTED));
    return item;
}

int CListCtrl::InsertColumn(int col, LPCTSTR heading, int format, int width, int subItem) {
    LVCOLUMN lc{};
    lc.mask = LVCF_TEXT | LVCF_FMT;
    lc.pszText = const_cast<LPTSTR>(heading);
    lc.fmt = format;
    if (width != -1) {
        lc.mask |= LVCF_WIDTH;
        lc.cx = width;
    }
    if (subItem != -1) {
        lc.mask |= LVCF_SUBITEM;
        lc.iSubItem = subItem;
    }
    return InsertColumn(col, &lc);
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl() const {
    HWND h = (HWND)Send(LVM_GETHEADER, 0, 0);
    if (!h)
        return nullptr;
    if (auto* attached = dynamic_cast<CHeaderCtrl*>(CWnd::FromHandlePermanent(h)))
        return attached;
    m_headerWrapper.m_hWnd = h;
    return &m_headerWrapper;
}

int CListCtrl::HitTest(POINT pt, UINT* flags) const {
    LVHITTESTINFO info{};
    info.pt = pt;
    int item = HitTest(&info);
    if (flags)
        *flags = info.flags;
    return item;
}

BOOL CListCtrl::GetItemRect(int item, LPRECT rect, UINT code) const {
    if (!rect)
        return FALSE;
    rect->left = (LONG)code;
    return (BOOL)Send(LVM_GETITEMRECT, (WPARAM)item, (LPARAM)rect);
}

BOOL CListCtrl::GetSubItemRect(int item, int subItem, int area, RECT& rect) const {
    rect.top = subItem;
    rect.left = area;
    return (BOOL)Send(LVM_GETSUBITEMRECT, (WPARAM)item, (LPARAM)&rect);
}

CWnd* CListCtrl::EditLabel(int item) {
    return CWnd::FromHandle((HWND)Send(LVM_EDITLABEL, (WPARAM)item, 0));
}

CWnd* CListCtrl::GetEditControl() const {
    return CWnd::FromHandle((HWND)Send(LVM_GETEDITCONTROL, 0, 0));
}
