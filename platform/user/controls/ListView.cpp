// The list view's messages: window messages, input, and the LVM_ requests by kind.
#include <algorithm>
#include <cstring>
#include <span>
#include <utility>

#include "platform/user/UserInternal.h"
#include "platform/user/controls/ListViewControl.h"

namespace user::listview {

LRESULT ListView::OnCreate() {
    DWORD style = Style();
    DWORD hs = WS_CHILD | HDS_HORZ | (style & LVS_NOSORTHEADER ? 0 : HDS_BUTTONS) |
               (style & LVS_NOCOLUMNHEADER ? HDS_HIDDEN : WS_VISIBLE);
    m_header = CreateWindowEx(0, WC_HEADER, "", hs, 0, 0, 0, 0, m_h, nullptr, nullptr, nullptr);
    m_vbar =
        CreateWindowEx(0, WC_SCROLLBAR, "", WS_CHILD | SBS_VERT, 0, 0, 0, 0, m_h, nullptr, nullptr, nullptr);
    m_hbar =
        CreateWindowEx(0, WC_SCROLLBAR, "", WS_CHILD | SBS_HORZ, 0, 0, 0, 0, m_h, nullptr, nullptr, nullptr);
    if (m_header)
        SendMessage(m_header, WM_SETFONT, (WPARAM)Font(), FALSE);
    m_layoutDirty = true;
    return 0;
}

void ListView::OnDestroy() {
    KillTimer(m_h, kEditTimer);
    if (m_edit)
        EndEdit(false);
    DeleteAll(true);
    DropOwnStateImages();
}

std::optional<LRESULT> ListView::WindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            return OnCreate();
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_SETFONT:
            m_font = (HFONT)wParam;
            if (m_header)
                SendMessage(m_header, WM_SETFONT, wParam, lParam);
            m_measured = false;
            m_metricsDirty = true;
            Invalidate();
            return 0;
        case WM_GETFONT:
            return (LRESULT)m_font;
        case WM_STYLECHANGED:
            m_metricsDirty = true;
            Invalidate();
            return 0;
        case WM_SIZE:
            Invalidate();
            return 0;
        case WM_SETREDRAW:
            m_redraw = wParam != 0;
            if (m_redraw) {
                m_paintPending = false;
                m_layoutDirty = true;
                RedrawWindow(m_h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            }
            return 0;
        case WM_ERASEBKGND:
            EraseBackground((HDC)wParam);
            return 1;
        case WM_PAINT: {
            m_paintPending = false;
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(m_h, &ps);
            if (m_redraw)
                PaintItems(dc);
            EndPaint(m_h, &ps);
            return 0;
        }
        case WM_PRINTCLIENT:
        case WM_PRINT:
            Print((HDC)wParam, msg == WM_PRINT ? lParam : PRF_CLIENT);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        default:
            return std::nullopt;
    }
}

std::optional<LRESULT> ListView::InputMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (msg) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            Invalidate();
            Notify(msg == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS);
            return 0;
        }
        case WM_KEYDOWN:
            OnKeyDown((UINT)wParam);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            OnButtonDown(msg, wParam, p);
            return 0;
        case WM_TIMER:
            if (wParam != kEditTimer)
                return std::nullopt;
            KillTimer(m_h, kEditTimer);
            if (m_editTimerItem == m_focus && Valid(m_focus))
                EditLabel(m_focus);
            m_editTimerItem = -1;
            return 0;
        case WM_MOUSEWHEEL:
            SetTop(m_top - (short)HIWORD(wParam) / 120 * 3);
            return 0;
        case WM_VSCROLL:
        case WM_HSCROLL:
            OnScroll(msg == WM_VSCROLL, LOWORD(wParam), (HWND)lParam);
            return 0;
        case WM_NOTIFY: {
            auto* nm = reinterpret_cast<NMHEADER*>(lParam);
            return nm && nm->hdr.hwndFrom == m_header ? OnHeaderNotify(nm, lParam) : 0;
        }
        default:
            return std::nullopt;
    }
}

std::optional<LRESULT> ListView::ItemMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* item = reinterpret_cast<LVITEM*>(lParam);
    switch (msg) {
        case LVM_GETITEMCOUNT:
            return Count();
        case LVM_SETITEMCOUNT:
            SetCount((int)wParam, (DWORD)lParam);
            return TRUE;
        case LVM_GETITEM:
            return item ? GetItem(*item) : FALSE;
        case LVM_SETITEM:
            return item ? SetItem(*item) : FALSE;
        case LVM_INSERTITEM:
            return item ? InsertItem(*item) : -1;
        case LVM_DELETEITEM:
            return DeleteItem((int)wParam);
        case LVM_DELETEALLITEMS:
            return DeleteAll(true);
        case LVM_GETNEXTITEM:
            return NextItem((int)wParam, (UINT)LOWORD(lParam));
        case LVM_SETITEMSTATE:
            return item ? SetState((int)wParam, item->state, item->stateMask) : FALSE;
        case LVM_GETITEMSTATE:
            return State((int)wParam, (UINT)lParam);
        case LVM_GETITEMTEXT:
            return item ? GetItemText((int)wParam, *item) : 0;
        case LVM_SETITEMTEXT: {
            if (!item)
                return FALSE;
            LVITEM copy = *item;
            copy.iItem = (int)wParam;
            copy.mask = LVIF_TEXT;
            return SetItem(copy);
        }
        case LVM_SORTITEMS:
            return Sort(reinterpret_cast<PFNLVCOMPARE>(lParam), (LPARAM)wParam);
        case LVM_GETSELECTEDCOUNT:
            return SelectedCount();
        default:
            return std::nullopt;
    }
}

std::optional<LRESULT> ListView::ColumnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* column = reinterpret_cast<LVCOLUMN*>(lParam);
    int i = (int)wParam;
    switch (msg) {
        case LVM_GETCOLUMN:
            return column ? GetColumn(i, *column) : FALSE;
        case LVM_SETCOLUMN:
            return column ? SetColumn(i, *column) : FALSE;
        case LVM_INSERTCOLUMN:
            return column ? InsertColumn(i, *column) : -1;
        case LVM_DELETECOLUMN:
            return DeleteColumn(i);
        case LVM_GETCOLUMNWIDTH:
            return i >= 0 && i < (int)m_cols.size() ? m_cols[(size_t)i].width : 0;
        case LVM_SETCOLUMNWIDTH:
            return SetColumnWidth(i, (int)(short)LOWORD(lParam));
        case LVM_GETHEADER:
            return (LRESULT)m_header;
        case LVM_GETSTRINGWIDTH:
            return StringWidth(reinterpret_cast<LPCTSTR>(lParam));
        default:
            return std::nullopt;
    }
}

std::optional<LRESULT> ListView::ViewMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* rect = reinterpret_cast<RECT*>(lParam);
    switch (msg) {
        case LVM_GETITEMRECT:
            return rect ? ItemRect((int)wParam, 0, (UINT)rect->left, rect) : FALSE;
        case LVM_GETSUBITEMRECT:
            return rect ? ItemRect((int)wParam, (int)rect->top, (UINT)rect->left, rect) : FALSE;
        case LVM_HITTEST:
        case LVM_SUBITEMHITTEST: {
            auto* info = reinterpret_cast<LVHITTESTINFO*>(lParam);
            if (!info)
                return -1;
            int sub;
            info->iItem = HitTest(info->pt, &info->flags, &sub, msg == LVM_SUBITEMHITTEST);
            if (msg == LVM_SUBITEMHITTEST)
                info->iSubItem = info->iItem >= 0 ? sub : -1;
            return info->iItem;
        }
        case LVM_ENSUREVISIBLE:
            return EnsureVisible((int)wParam, lParam != 0);
        case LVM_SCROLL:
            return Scroll((int)wParam, (int)lParam);
        case LVM_UPDATE:
            InvalidateItem((int)wParam);
            return TRUE;
        case LVM_REDRAWITEMS: {
            int a = std::max((int)wParam, m_top), b = std::min((int)lParam, m_top + PerPage());
            for (int k = a; k <= b; ++k)
                InvalidateItem(k);
            return TRUE;
        }
        case LVM_EDITLABEL:
            return (LRESULT)EditLabel((int)wParam);
        case LVM_GETEDITCONTROL:
            return (LRESULT)m_edit;
        case LVM_GETVIEWRECT:
            if (!rect)
                return FALSE;
            Layout();
            *rect = RECT{-m_scrollX, m_area.top - m_top * m_rowHeight, TotalWidth() - m_scrollX,
                         m_area.top + (Count() - m_top) * m_rowHeight};
            return TRUE;
        case LVM_GETTOPINDEX:
            Layout();
            return m_top;
        case LVM_GETCOUNTPERPAGE:
            return PerPage();
        case LVM_GETORIGIN:
            if (!lParam)
                return FALSE;
            *reinterpret_cast<POINT*>(lParam) = POINT{m_scrollX, 0};
            return TRUE;
        default:
            return std::nullopt;
    }
}

// Colours, image lists, the callback mask, extended styles and the selection mark.
std::optional<LRESULT> ListView::SettingMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    auto setColor = [&](COLORREF& color) -> LRESULT {
        color = (COLORREF)lParam;
        Invalidate();
        return TRUE;
    };
    switch (msg) {
        case LVM_GETBKCOLOR:
            return m_bk;
        case LVM_SETBKCOLOR:
            return setColor(m_bk);
        case LVM_GETTEXTCOLOR:
            return m_text;
        case LVM_SETTEXTCOLOR:
            return setColor(m_text);
        case LVM_GETTEXTBKCOLOR:
            return m_textBk;
        case LVM_SETTEXTBKCOLOR:
            return setColor(m_textBk);
        case LVM_GETIMAGELIST:
            return wParam < 3 ? (LRESULT)m_imageLists[wParam] : 0;
        case LVM_SETIMAGELIST: {
            if (wParam >= 3)
                return 0;
            HANDLE old = std::exchange(m_imageLists[wParam], (HANDLE)lParam);
            if (old && old == m_ownStateImages)
                m_ownStateImages = nullptr;  // the caller has it now
            Invalidate();
            return (LRESULT)old;
        }
        case LVM_GETCALLBACKMASK:
            return m_callbackMask;
        case LVM_SETCALLBACKMASK:
            m_callbackMask = (UINT)wParam;
            return TRUE;
        case LVM_SETEXTENDEDLISTVIEWSTYLE: {
            DWORD old = m_exStyle;
            DWORD mask = wParam ? (DWORD)wParam : 0xFFFFFFFF;
            m_exStyle = (m_exStyle & ~mask) | ((DWORD)lParam & mask);
            if ((old ^ m_exStyle) & LVS_EX_CHECKBOXES)
                ApplyCheckBoxes(CheckBoxes());
            if (old != m_exStyle) {
                m_metricsDirty = true;
                Invalidate();
            }
            return old;
        }
        case LVM_GETEXTENDEDLISTVIEWSTYLE:
            return m_exStyle;
        case LVM_GETSELECTIONMARK:
            return m_mark;
        case LVM_SETSELECTIONMARK:
            return std::exchange(m_mark, (int)lParam);
        default:
            return std::nullopt;
    }
}

LRESULT ListView::Proc(UINT msg, WPARAM wParam, LPARAM lParam) {
    using Handler = std::optional<LRESULT> (ListView::*)(UINT, WPARAM, LPARAM);
    static constexpr Handler kWindow[] = {&ListView::WindowMessage, &ListView::InputMessage};
    static constexpr Handler kList[] = {&ListView::ItemMessage, &ListView::ColumnMessage,
                                        &ListView::ViewMessage, &ListView::SettingMessage};
    bool list = msg >= LVM_FIRST && msg < LVM_FIRST + 0x100;
    for (Handler h : list ? std::span<const Handler>(kList) : std::span<const Handler>(kWindow))
        if (std::optional<LRESULT> r = (this->*h)(msg, wParam, lParam))
            return *r;
    return Default(msg, wParam, lParam);
}
}  // namespace user::listview

void user::RegisterListViewClass() {
    RegisterControlClass(WC_LISTVIEW, ControlWindowProc<listview::ListView>, CS_DBLCLKS);
}
