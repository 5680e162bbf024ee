// The "Button" class: push buttons, check boxes, radio buttons and group boxes, Classic look.
#include "platform/user/Controls.h"
#include "platform/user/UserInternal.h"

namespace {
struct ButtonState {
    HFONT font = nullptr;
    UINT check = BST_UNCHECKED;
    bool pushed = false;
    bool tracking = false;
};

ButtonState* State(HWND h) {
    return reinterpret_cast<ButtonState*>(GetWindowLongPtr(h, 0));
}
DWORD Style(HWND h) {
    return (DWORD)GetWindowLongPtr(h, GWL_STYLE);
}
DWORD Kind(HWND h) {
    return Style(h) & BS_TYPEMASK;
}
bool IsPush(DWORD kind) {
    return kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON;
}
bool IsRadio(DWORD kind) {
    return kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON;
}

void Notify(HWND h, WORD code) {
    HWND parent = GetParent(h);
    if (parent)
        SendMessage(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), code), (LPARAM)h);
}

void Click(HWND h) {
    ButtonState* st = State(h);
    DWORD kind = Kind(h);
    if (kind == BS_AUTOCHECKBOX)
        st->check = st->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
    if (kind == BS_AUTO3STATE)
        st->check = (st->check + 1) % 3;
    if (kind == BS_AUTORADIOBUTTON) {
        // The other automatic radio buttons of the group clear.
        HWND parent = GetParent(h);
        for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if (c != h && (Style(c) & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
                SendMessage(c, BM_SETCHECK, BST_UNCHECKED, 0);
        st->check = BST_CHECKED;
    }
    InvalidateRect(h, nullptr, TRUE);
    Notify(h, BN_CLICKED);
}

void DrawLabel(HWND h, HDC dc, RECT rc, UINT format, bool enabled) {
    CString text = GetWindowTextString(h);
    HGDIOBJ oldFont = SelectObject(dc, State(h)->font ? State(h)->font : GetStockObject(SYSTEM_FONT));
    SetBkMode(dc, TRANSPARENT);
    if (!enabled) {
        RECT shadow = rc;
        OffsetRect(&shadow, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
        DrawText(dc, text, text.GetLength(), &shadow, format);
        SetTextColor(dc, GetSysColor(COLOR_3DSHADOW));
    } else {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    }
    DrawText(dc, text, text.GetLength(), &rc, format);
    SelectObject(dc, oldFont);
}

void Paint(HWND h, HDC dc) {
    ButtonState* st = State(h);
    DWORD style = Style(h), kind = style & BS_TYPEMASK;
    RECT rc;
    GetClientRect(h, &rc);
    bool enabled = IsWindowEnabled(h), focused = GetFocus() == h;
    HBRUSH bg = user::ControlColor(h, dc, WM_CTLCOLORBTN);
    if (IsPush(kind)) {
        FillRect(dc, &rc, GetSysColorBrush(COLOR_3DFACE));
        RECT r = rc;
        bool isDefault = kind == BS_DEFPUSHBUTTON;
        if (isDefault || (focused && IsPush(kind))) {
            FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
            InflateRect(&r, -1, -1);
        }
        if (st->pushed) {
            FrameRect(dc, &r, GetSysColorBrush(COLOR_3DSHADOW));
        } else {
            DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_SOFT | BF_MIDDLE);
        }
        RECT text = rc;
        if (st->pushed)
            OffsetRect(&text, 1, 1);
        DrawLabel(h, dc, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE, enabled);
        if (focused) {
            RECT f = rc;
            InflateRect(&f, -4, -4);
            DrawFocusRect(dc, &f);
        }
        return;
    }
    FillRect(dc, &rc, bg);
    if (kind == BS_GROUPBOX) {
        TEXTMETRIC tm;
        HGDIOBJ oldFont = SelectObject(dc, st->font ? st->font : GetStockObject(SYSTEM_FONT));
        GetTextMetrics(dc, &tm);
        CString text = GetWindowTextString(h);
        SIZE ext{};
        GetTextExtentPoint32(dc, text, text.GetLength(), &ext);
        SelectObject(dc, oldFont);
        RECT frame{rc.left, rc.top + tm.tmHeight / 2, rc.right, rc.bottom};
        DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
        if (!text.IsEmpty()) {
            RECT label{rc.left + 8, rc.top, rc.left + 8 + ext.cx + 4, rc.top + tm.tmHeight};
            FillRect(dc, &label, bg);
            label.left += 2;
            DrawLabel(h, dc, label, DT_LEFT | DT_TOP | DT_SINGLELINE, enabled);
        }
        return;
    }
    // Check boxes and radio buttons: a 13-pixel box beside the text.
    int box = 13;
    bool leftText = (style & BS_LEFTTEXT) != 0;
    RECT b{leftText ? rc.right - box : rc.left, rc.top + (rc.bottom - rc.top - box) / 2, 0, 0};
    b.right = b.left + box;
    b.bottom = b.top + box;
    RECT inner = b;
    DrawEdge(dc, &inner, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    FillRect(dc, &inner, GetSysColorBrush((st->pushed || !enabled) ? COLOR_3DFACE : COLOR_WINDOW));
    if (st->check) {
        COLORREF mark =
            GetSysColor(st->check == BST_INDETERMINATE || !enabled ? COLOR_3DSHADOW : COLOR_WINDOWTEXT);
        if (IsRadio(kind)) {
            HBRUSH dot = CreateSolidBrush(mark);
            RECT d{inner.left + 3, inner.top + 3, inner.right - 3, inner.bottom - 3};
            FillRect(dc, &d, dot);
            DeleteObject(dot);
        } else {
            // The Classic tick: three pixels thick, seven wide.
            for (int i = 0; i < 7; ++i) {
                int x = inner.left + 1 + i;
                int y = i < 3 ? inner.top + 3 + i : inner.top + 5 - (i - 2);
                for (int k = 0; k < 3; ++k)
                    SetPixel(dc, x, y + k, mark);
            }
        }
    }
    RECT text = rc;
    if (leftText)
        text.right = b.left - 4;
    else
        text.left = b.right + 4;
    DrawLabel(h, dc, text, DT_LEFT | DT_VCENTER | DT_SINGLELINE, enabled);
    if (focused) {
        CString label = GetWindowTextString(h);
        RECT calc = text;
        HGDIOBJ oldFont = SelectObject(dc, st->font ? st->font : GetStockObject(SYSTEM_FONT));
        DrawText(dc, label, label.GetLength(), &calc, DT_CALCRECT | DT_SINGLELINE);
        SelectObject(dc, oldFont);
        int height = calc.bottom - calc.top;
        RECT f{calc.left - 1, rc.top + (rc.bottom - rc.top - height) / 2 - 1, calc.right + 1, 0};
        f.bottom = f.top + height + 2;
        DrawFocusRect(dc, &f);
    }
}

LRESULT ButtonProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    ButtonState* st = State(h);
    switch (msg) {
        case WM_NCCREATE:
            SetWindowLongPtr(h, 0, (LONG_PTR) new ButtonState);
            break;
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
        case WM_GETDLGCODE: {
            DWORD kind = Kind(h);
            if (kind == BS_DEFPUSHBUTTON)
                return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
            if (kind == BS_PUSHBUTTON)
                return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
            if (IsRadio(kind))
                return DLGC_BUTTON | DLGC_RADIOBUTTON;
            if (kind == BS_GROUPBOX)
                return DLGC_STATIC;
            return DLGC_BUTTON;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, &ps);
            Paint(h, dc);
            EndPaint(h, &ps);
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (Kind(h) == BS_GROUPBOX)
                return 0;
            SetFocus(h);
            SetCapture(h);
            st->tracking = true;
            st->pushed = true;
            InvalidateRect(h, nullptr, TRUE);
            return 0;
        case WM_LBUTTONUP: {
            if (!st->tracking)
                return 0;
            st->tracking = false;
            st->pushed = false;
            ReleaseCapture();
            RECT rc;
            GetClientRect(h, &rc);
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            InvalidateRect(h, nullptr, TRUE);
            if (PtInRect(&rc, p))
                Click(h);
            return 0;
        }
        case WM_KEYDOWN:
            if (wParam == VK_SPACE && !st->pushed) {
                st->pushed = true;
                InvalidateRect(h, nullptr, TRUE);
            }
            return 0;
        case WM_KEYUP:
            if (wParam == VK_SPACE && st->pushed) {
                st->pushed = false;
                Click(h);
            }
            return 0;
        case WM_SETFOCUS:
            InvalidateRect(h, nullptr, TRUE);
            if (Style(h) & BS_NOTIFY)
                Notify(h, BN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            if (st->pushed)
                st->pushed = false;
            InvalidateRect(h, nullptr, TRUE);
            if (Style(h) & BS_NOTIFY)
                Notify(h, BN_KILLFOCUS);
            return 0;
        case WM_ENABLE:
            InvalidateRect(h, nullptr, TRUE);
            return 0;
        case WM_SETTEXT: {
            LRESULT r = DefWindowProc(h, msg, wParam, lParam);
            InvalidateRect(h, nullptr, TRUE);
            return r;
        }
        case BM_GETCHECK:
            return st->check;
        case BM_SETCHECK:
            if (st->check != (UINT)wParam) {
                st->check = (UINT)wParam;
                InvalidateRect(h, nullptr, TRUE);
            }
            return 0;
        case BM_GETSTATE:
            return st->check | (st->pushed ? BST_PUSHED : 0) | (GetFocus() == h ? BST_FOCUS : 0);
        case BM_SETSTATE:
            st->pushed = wParam != 0;
            InvalidateRect(h, nullptr, TRUE);
            return 0;
        case BM_SETSTYLE:
            SetWindowLongPtr(h, GWL_STYLE, (Style(h) & ~0xFFFFu) | (DWORD)(wParam & 0xFFFF));
            if (lParam)
                InvalidateRect(h, nullptr, TRUE);
            return 0;
        case BM_CLICK:
            if (IsWindowEnabled(h))
                Click(h);
            return 0;
        default:
            break;
    }
    return DefWindowProc(h, msg, wParam, lParam);
}
}  // namespace

namespace user {
void RegisterButtonClass() {
    RegisterControlClass(WC_BUTTON, ButtonProc, CS_DBLCLKS | CS_PARENTDC);
}
}  // namespace user
