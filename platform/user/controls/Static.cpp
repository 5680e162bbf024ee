// The "Static" class: text, icons, frames and etched lines, Classic look.
#include "platform/user/Controls.h"
#include "platform/user/UserInternal.h"
#include "platform/user/controls/ControlProc.h"

namespace {
class Static : public user::Control {
public:
    explicit Static(HWND h) : Control(h, kPaints | kKeepsFont | kRepaints) {}
    LRESULT Proc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    LRESULT OnNcCreate(const CREATESTRUCT& cs, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc) override;

    HICON m_icon = nullptr;
};

void Static::Paint(HDC dc) {
    DWORD style = Style(), kind = style & SS_TYPEMASK;
    RECT rc;
    GetClientRect(m_h, &rc);
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
    HBRUSH bg = user::ControlColor(m_h, dc, WM_CTLCOLORSTATIC);
    if (kind == SS_ICON) {
        if (bg)
            FillRect(dc, &rc, bg);
        if (m_icon)
            DrawIcon(dc, (style & SS_CENTERIMAGE) ? (rc.right - 32) / 2 : 0,
                     (style & SS_CENTERIMAGE) ? (rc.bottom - 32) / 2 : 0, m_icon);
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
    CString text = GetWindowTextString(m_h);
    HGDIOBJ oldFont = SelectObject(dc, FontOr(SYSTEM_FONT));
    SetBkMode(dc, TRANSPARENT);
    if (!IsWindowEnabled(m_h))
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    DrawText(dc, text, text.GetLength(), &rc, format);
    SelectObject(dc, oldFont);
}

// A static showing an icon names it in its text: "#n" or a resource number.
LRESULT Static::OnNcCreate(const CREATESTRUCT& cs, WPARAM wParam, LPARAM lParam) {
    if ((cs.style & SS_TYPEMASK) != SS_ICON)
        return DefWindowProc(m_h, WM_NCCREATE, wParam, lParam);
    LPCTSTR name = cs.lpszName;
    UINT id = 0;
    if (name && IS_INTRESOURCE(name))
        id = (UINT)(uintptr_t)name;
    else if (name && name[0] == '#')
        id = (UINT)std::atoi(name + 1);
    m_icon = LoadIcon(nullptr, id ? MAKEINTRESOURCE(id) : IDI_APPLICATION);
    if (!IS_INTRESOURCE(name))
        return DefWindowProc(m_h, WM_NCCREATE, wParam, lParam);
    return TRUE;
}

LRESULT Static::Proc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_NCCREATE:
            return OnNcCreate(*reinterpret_cast<const CREATESTRUCT*>(lParam), wParam, lParam);
        case WM_GETDLGCODE:
            return DLGC_STATIC;
        case STM_SETICON:
        case STM_SETIMAGE: {
            HICON old = m_icon;
            m_icon = (HICON)(msg == STM_SETICON ? wParam : lParam);
            InvalidateRect(m_h, nullptr, TRUE);
            return (LRESULT)old;
        }
        case STM_GETICON:
        case STM_GETIMAGE:
            return (LRESULT)m_icon;
        case WM_LBUTTONDOWN:
            if (Style() & SS_NOTIFY)
                Command(STN_CLICKED);
            return 0;
        default:
            return Default(msg, wParam, lParam);
    }
}
}  // namespace

void user::RegisterStaticClass() {
    RegisterControlClass(WC_STATIC, user::ControlWindowProc<Static>, CS_DBLCLKS | CS_PARENTDC);
}
