// The "Button" class: push buttons, check boxes, radio buttons and group boxes, Classic look.
#include <algorithm>
#include <vector>

#include "platform/user/Controls.h"
#include "platform/user/UserInternal.h"
#include "platform/user/controls/ControlProc.h"

namespace {
bool IsPush(DWORD kind) {
    return kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON;
}
bool IsRadio(DWORD kind) {
    return kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON;
}

class Button : public user::Control {
public:
    explicit Button(HWND h) : Control(h, kPaints | kKeepsFont | kRepaints) {}
    LRESULT Proc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    DWORD Kind() const { return Style() & BS_TYPEMASK; }
    void Click();
    void DrawLabel(HDC dc, RECT rc, UINT format, bool enabled);
    void Paint(HDC dc) override;
    LRESULT DialogCode() const;
    void Repaint() { InvalidateRect(m_h, nullptr, TRUE); }

    UINT m_check = BST_UNCHECKED;
    bool m_pushed = false;
    bool m_tracking = false;
};

void Button::Click() {
    DWORD kind = Kind();
    if (kind == BS_AUTOCHECKBOX)
        m_check = m_check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
    if (kind == BS_AUTO3STATE)
        m_check = (m_check + 1) % 3;
    if (kind == BS_AUTORADIOBUTTON) {
        // The other automatic radio buttons of the group clear; a WS_GROUP control starts a group.
        HWND parent = GetParent(m_h);
        std::vector<HWND> group;
        bool mine = false;
        for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            if (GetWindowLongPtr(c, GWL_STYLE) & WS_GROUP) {
                if (mine)
                    break;
                group.clear();
            }
            mine = mine || c == m_h;
            group.push_back(c);
        }
        for (HWND c : group)
            if (c != m_h && (GetWindowLongPtr(c, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
                SendMessage(c, BM_SETCHECK, BST_UNCHECKED, 0);
        m_check = BST_CHECKED;
    }
    Repaint();
    Command(BN_CLICKED);
}

void Button::DrawLabel(HDC dc, RECT rc, UINT format, bool enabled) {
    CString text = GetWindowTextString(m_h);
    HGDIOBJ oldFont = SelectObject(dc, FontOr(SYSTEM_FONT));
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

// The Classic radio button, 12 pixels across: two rings, shadow above the diagonal and light below,
// around the well, with a round dot of `dot` (CLR_INVALID: none). Pixel by pixel, never blended.
void DrawRadioCircle(HDC dc, int left, int top, COLORREF well, COLORREF dot) {
    const COLORREF outerTL = GetSysColor(COLOR_3DSHADOW), outerBR = GetSysColor(COLOR_3DHILIGHT);
    const COLORREF innerTL = GetSysColor(COLOR_3DDKSHADOW), innerBR = GetSysColor(COLOR_3DLIGHT);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            // Squared distance of the pixel's centre from the circle's centre, in quarter pixels.
            int dx = 2 * x + 1 - 12, dy = 2 * y + 1 - 12, d = dx * dx + dy * dy;
            bool above = x + y < 11;
            COLORREF c;
            if (d >= 144)
                continue;  // outside: the background shows
            if (d >= 100)
                c = above ? outerTL : outerBR;
            else if (d >= 64)
                c = above ? innerTL : innerBR;
            else if (dot != CLR_INVALID && d < 18)
                c = dot;
            else
                c = well;
            SetPixel(dc, left + x, top + y, c);
        }
}

void Button::Paint(HDC dc) {
    DWORD style = Style(), kind = style & BS_TYPEMASK;
    RECT rc;
    GetClientRect(m_h, &rc);
    bool enabled = IsWindowEnabled(m_h), focused = GetFocus() == m_h;
    if (kind == BS_OWNERDRAW) {
        // The parent draws the button (reflected to a control class that draws itself).
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_BUTTON;
        dis.CtlID = (UINT)GetDlgCtrlID(m_h);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = (m_pushed ? ODS_SELECTED : 0) | (focused ? ODS_FOCUS : 0) | (enabled ? 0 : ODS_DISABLED);
        dis.hwndItem = m_h;
        dis.hDC = dc;
        dis.rcItem = rc;
        SendMessage(GetParent(m_h), WM_DRAWITEM, (WPARAM)dis.CtlID, (LPARAM)&dis);
        return;
    }
    HBRUSH bg = user::ControlColor(m_h, dc, WM_CTLCOLORBTN);
    if (IsPush(kind)) {
        FillRect(dc, &rc, GetSysColorBrush(COLOR_3DFACE));
        RECT r = rc;
        bool isDefault = kind == BS_DEFPUSHBUTTON;
        if (isDefault || (focused && IsPush(kind))) {
            FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
            InflateRect(&r, -1, -1);
        }
        if (m_pushed) {
            FrameRect(dc, &r, GetSysColorBrush(COLOR_3DSHADOW));
        } else {
            DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_SOFT | BF_MIDDLE);
        }
        RECT text = rc;
        if (m_pushed)
            OffsetRect(&text, 1, 1);
        DrawLabel(dc, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE, enabled);
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
        HGDIOBJ oldFont = SelectObject(dc, FontOr(SYSTEM_FONT));
        GetTextMetrics(dc, &tm);
        CString text = GetWindowTextString(m_h);
        SIZE ext{};
        GetTextExtentPoint32(dc, text, text.GetLength(), &ext);
        SelectObject(dc, oldFont);
        RECT frame{rc.left, rc.top + tm.tmHeight / 2, rc.right, rc.bottom};
        DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
        if (!text.IsEmpty()) {
            RECT label{rc.left + 8, rc.top, rc.left + 8 + ext.cx + 4, rc.top + tm.tmHeight};
            FillRect(dc, &label, bg);
            label.left += 2;
            DrawLabel(dc, label, DT_LEFT | DT_TOP | DT_SINGLELINE, enabled);
        }
        return;
    }
    // Check boxes: a 13-pixel sunken box beside the text; radio buttons: a 12-pixel sunken circle.
    bool radio = IsRadio(kind);
    int box = radio ? 12 : 13;
    bool leftText = (style & BS_LEFTTEXT) != 0;
    RECT b{leftText ? rc.right - box : rc.left, rc.top + (rc.bottom - rc.top - box) / 2, 0, 0};
    b.right = b.left + box;
    b.bottom = b.top + box;
    COLORREF well = GetSysColor((m_pushed || !enabled) ? COLOR_3DFACE : COLOR_WINDOW);
    COLORREF mark = GetSysColor(m_check == BST_INDETERMINATE || !enabled ? COLOR_3DSHADOW : COLOR_WINDOWTEXT);
    if (radio) {
        DrawRadioCircle(dc, b.left, b.top, well, m_check ? mark : CLR_INVALID);
    } else {
        RECT inner = b;
        DrawEdge(dc, &inner, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        FillRect(dc, &inner, GetSysColorBrush((m_pushed || !enabled) ? COLOR_3DFACE : COLOR_WINDOW));
        if (m_check) {
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
    // A multi-line label wraps within its width, its lines centred as a block beside the box.
    bool wraps = (style & BS_MULTILINE) != 0;
    UINT lines = wraps ? DT_WORDBREAK : DT_SINGLELINE;
    CString label = GetWindowTextString(m_h);
    RECT calc = text;
    HGDIOBJ oldFont = SelectObject(dc, FontOr(SYSTEM_FONT));
    DrawText(dc, label, label.GetLength(), &calc, DT_CALCRECT | lines);
    SelectObject(dc, oldFont);
    if (wraps) {
        int height = std::min<int>(calc.bottom - calc.top, rc.bottom - rc.top);
        text.top = rc.top + (rc.bottom - rc.top - height) / 2;
        text.bottom = text.top + height;
    }
    DrawLabel(dc, text, DT_LEFT | (wraps ? DT_WORDBREAK : DT_VCENTER | DT_SINGLELINE), enabled);
    if (focused) {
        int height = calc.bottom - calc.top;
        RECT f{calc.left - 1, rc.top + (rc.bottom - rc.top - height) / 2 - 1, calc.right + 1, 0};
        f.bottom = f.top + height + 2;
        DrawFocusRect(dc, &f);
    }
}

LRESULT Button::DialogCode() const {
    DWORD kind = Kind();
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

LRESULT Button::Proc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_GETDLGCODE:
            return DialogCode();
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (Kind() == BS_GROUPBOX)
                return 0;
            SetFocus(m_h);
            SetCapture(m_h);
            m_tracking = true;
            m_pushed = true;
            Repaint();
            return 0;
        case WM_LBUTTONUP: {
            if (!m_tracking)
                return 0;
            m_tracking = false;
            m_pushed = false;
            ReleaseCapture();
            RECT rc;
            GetClientRect(m_h, &rc);
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            Repaint();
            if (PtInRect(&rc, p))
                Click();
            return 0;
        }
        case WM_KEYDOWN:
            if (wParam == VK_SPACE && !m_pushed) {
                m_pushed = true;
                Repaint();
            }
            return 0;
        case WM_KEYUP:
            if (wParam == VK_SPACE && m_pushed) {
                m_pushed = false;
                Click();
            }
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            if (msg == WM_KILLFOCUS)
                m_pushed = false;
            Repaint();
            if (Style() & BS_NOTIFY)
                Command(msg == WM_SETFOCUS ? BN_SETFOCUS : BN_KILLFOCUS);
            return 0;
        case BM_GETCHECK:
            return m_check;
        case BM_SETCHECK:
            if (m_check != (UINT)wParam) {
                m_check = (UINT)wParam;
                Repaint();
            }
            return 0;
        case BM_GETSTATE:
            return m_check | (m_pushed ? BST_PUSHED : 0) | (GetFocus() == m_h ? BST_FOCUS : 0);
        case BM_SETSTATE:
            m_pushed = wParam != 0;
            Repaint();
            return 0;
        case BM_SETSTYLE:
            SetWindowLongPtr(m_h, GWL_STYLE, (Style() & ~0xFFFFu) | (DWORD)(wParam & 0xFFFF));
            if (lParam)
                Repaint();
            return 0;
        case BM_CLICK:
            if (IsWindowEnabled(m_h))
                Click();
            return 0;
        default:
            return Default(msg, wParam, lParam);
    }
}
}  // namespace

void user::RegisterButtonClass() {
    RegisterControlClass(WC_BUTTON, user::ControlWindowProc<Button>, CS_DBLCLKS | CS_PARENTDC);
}
