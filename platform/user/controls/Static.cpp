// The "Static" class: text, icons, frames and etched lines, Classic look.
#include "platform/user/Controls.h"
#include "platform/user/UserInternal.h"

namespace {
struct StaticState {
    HFONT font = nullptr;
    HICON icon = nullptr;
};

StaticState* State(HWND h) {
    return reinterpret_cast<StaticState*>(GetWindowLongPtr(h, 0));
}

void Paint(HWND h, HDC dc) {
    StaticState* st = State(h);
    DWORD style = (DWORD)GetWindowLongPtr(h, GWL_STYLE), kind = style & SS_TYPEMASK;
    RECT rc;
    GetClientRect(h, &rc);
    switch (kind) {
        case SS_BLACKRECT:
            FillRect(dc, &rc, GetSysColorBrush(COLOR_3DDKSHADOW));
            return;
        case SS_GRAYRECT:
            FillRect(dc, &rc, GetSysColorBrush(COLOR_3DSHADOW));
            return;
        case SS_WHITERECT:
            FillRect(dc, &rc, GetSysColorBrush(COLOR_3DHILIGHT));
            return;
        case SS_BLACKFRAME:
            FrameRect(dc, &rc, GetSysColorBrush(COLOR_3DDKSHADOW));
            return;
        case SS_GRAYFRAME:
            FrameRect(dc, &rc, GetSysColorBrush(COLOR_3DSHADOW));
            return;
        case SS_WHITEFRAME:
            FrameRect(dc, &rc, GetSysColorBrush(COLOR_3DHILIGHT));
            return;
        case SS_ETCHEDHORZ:
            DrawEdge(dc, &rc, EDGE_ETCHED, BF_TOP);
            return;
        case SS_ETCHEDVERT:
            DrawEdge(dc, &rc, EDGE_ETCHED, BF_LEFT);
            return;
        case SS_ETCHEDFRAME:
            DrawEdge(dc, &rc, EDGE_ETCHED, BF_RECT);
            return;
        default:
            break;
    }
    HBRUSH bg = user::ControlColor(h, dc, WM_CTLCOLORSTATIC);
    if (kind == SS_ICON) {
        if (bg)
            FillRect(dc, &rc, bg);
        if (st->icon)
            DrawIcon(dc, (style & SS_CENTERIMAGE) ? (rc.right - 32) / 2 : 0,
                     (style & SS_CENTERIMAGE) ? (rc.bottom - 32) / 2 : 0, st->icon);
        return;
    }
    if (bg)
        FillRect(dc, &rc, bg);
    UINT format = DT_EXPANDTABS;
    if (kind == SS_CENTER)
        format |= DT_CENTER | DT_WORDBREAK;
    else if (kind == SS_RIGHT)
        format |= DT_RIGHT | DT_WORDBREAK;
    else if (kind == SS_LEFT)
        format |= DT_LEFT | DT_WORDBREAK;
    else if (kind == SS_SIMPLE)
        format |= DT_SINGLELINE;
    if (style & SS_NOPREFIX)
        format |= DT_NOPREFIX;
    if (style & SS_ENDELLIPSIS)
        format |= DT_END_ELLIPSIS | DT_SINGLELINE;
    if (style & SS_CENTERIMAGE)
        format |= DT_VCENTER | DT_SINGLELINE;
    CString text = GetWindowTextString(h);
    HGDIOBJ oldFont = SelectObject(dc, st->font ? st->font : GetStockObject(SYSTEM_FONT));
    SetBkMode(dc, TRANSPARENT);
    if (!IsWindowEnabled(h))
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    DrawText(dc, text, text.GetLength(), &rc, format);
    SelectObject(dc, oldFont);
}

LRESULT StaticProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    StaticState* st = State(h);
    switch (msg) {
        case WM_NCCREATE: {
            auto* s = new StaticState;
            SetWindowLongPtr(h, 0, (LONG_PTR)s);
            auto* cs = reinterpret_cast<CREATESTRUCT*>(lParam);
            if ((cs->style & SS_TYPEMASK) == SS_ICON) {
                // The text names the icon: "#n" or a resource number.
                LPCTSTR name = cs->lpszName;
                UINT id = 0;
                if (name && IS_INTRESOURCE(name))
                    id = (UINT)(uintptr_t)name;
                else if (name && name[0] == '#')
                    id = (UINT)std::atoi(name + 1);
                s->icon = LoadIcon(nullptr, id ? MAKEINTRESOURCE(id) : IDI_APPLICATION);
                if (!IS_INTRESOURCE(name))
                    return DefWindowProc(h, msg, wParam, lParam);
                return TRUE;
            }
            break;
        }
        case WM_NCDESTROY:
            delete st;
            SetWindowLongPtr(h, 0, 0);
            break;
        case WM_SETFONT:
            if (st)
                st->font = (HFONT)wParam;
            if (lParam)
                InvalidateRect(h, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return st ? (LRESULT)st->font : 0;
        case WM_GETDLGCODE:
            return DLGC_STATIC;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, &ps);
            Paint(h, dc);
            EndPaint(h, &ps);
            return 0;
        }
        case WM_SETTEXT: {
            LRESULT r = DefWindowProc(h, msg, wParam, lParam);
            InvalidateRect(h, nullptr, TRUE);
            return r;
        }
        case WM_ENABLE:
            InvalidateRect(h, nullptr, TRUE);
            return 0;
        case STM_SETICON:
        case STM_SETIMAGE: {
            HICON old = st->icon;
            st->icon = (HICON)(msg == STM_SETICON ? wParam : lParam);
            InvalidateRect(h, nullptr, TRUE);
            return (LRESULT)old;
        }
        case STM_GETICON:
        case STM_GETIMAGE:
            return (LRESULT)st->icon;
        case WM_LBUTTONDOWN:
            if (GetWindowLongPtr(h, GWL_STYLE) & SS_NOTIFY) {
                HWND parent = GetParent(h);
                if (parent)
                    SendMessage(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), STN_CLICKED), (LPARAM)h);
            }
            return 0;
        default:
            break;
    }
    return DefWindowProc(h, msg, wParam, lParam);
}
}  // namespace

namespace user {
void RegisterStaticClass() {
    RegisterControlClass(WC_STATIC, StaticProc, CS_DBLCLKS | CS_PARENTDC);
}
}  // namespace user
