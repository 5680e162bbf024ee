// The "msctls_statusbar32" class: a row of sunken parts along the bottom of the parent, each with a text
// (tabs split it into left, centred and right pieces), an optional icon, or drawn by the parent
// (SBT_OWNERDRAW through WM_DRAWITEM); a simple mode with one part; a size grip.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/user/StatusBar.h"
#include "platform/user/UserInternal.h"
#include "platform/user/controls/ControlProc.h"

namespace {
constexpr int kMaxParts = 256;
constexpr int kBorderX = 0, kBorderY = 2, kBetween = 2;  // what SB_GETBORDERS reports
constexpr int kGripSize = 13;

struct Part {
    int right = -1;  // client x of the right edge, -1: the end of the bar
    std::string text;
    UINT type = 0;  // SBT_ bits
    LPARAM data = 0;  // owner-drawn parts
    HICON icon = nullptr;
    std::string tip;
};

class StatusBar : public user::Control {
public:
    explicit StatusBar(HWND h) : Control(h, kPaints | kPrints | kKeepsFont) { m_parts.resize(1); }
    LRESULT Proc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    HFONT Font() const { return m_font ? m_font : (HFONT)GetStockObject(DEFAULT_GUI_FONT); }
    Part* PartAt(WPARAM index) {
        int i = (int)(index & 0xFF);
        if (i == SB_SIMPLEID)
            return &m_simple;
        return i < (int)m_parts.size() ? &m_parts[(size_t)i] : nullptr;
    }
    int Height() const;
    void Reposition();
    RECT PartRect(int i) const;
    bool Grip() const;
    void Paint(HDC dc) override;
    void DrawPart(HDC dc, const Part& part, RECT rc, int index);

    std::vector<Part> m_parts;
    Part m_simple;
    bool m_isSimple = false;
    int m_minHeight = 0;
    COLORREF m_background = CLR_DEFAULT;
    bool m_inSize = false;
};

int StatusBar::Height() const {
    HDC dc = GetDC(m_h);
    HGDIOBJ old = SelectObject(dc, Font());
    TEXTMETRIC tm{};
    GetTextMetrics(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(m_h, dc);
    int inner = std::max((int)tm.tmHeight, GetSystemMetrics(SM_CYSMICON)) + 2;  // a sunken edge round the text
    return std::max(m_minHeight, inner) + 2 * kBorderY;
}

// Along the bottom (or top) of the parent, its whole width, unless the styles keep the bar where it is.
void StatusBar::Reposition() {
    DWORD style = Style();
    HWND parent = GetParent(m_h);
    if (!parent || (style & CCS_NORESIZE) || m_inSize)
        return;
    RECT pc, rc;
    GetClientRect(parent, &pc);
    GetWindowRect(m_h, &rc);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    int h = Height();
    int x = rc.left, y = rc.top, w = rc.right - rc.left;
    if (!(style & CCS_NOPARENTALIGN)) {
        x = 0;
        w = pc.right;
        if (!(style & CCS_NOMOVEY))
            y = (style & CCS_BOTTOM) == CCS_TOP ? 0 : pc.bottom - h;
    }
    m_inSize = true;
    SetWindowPos(m_h, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    m_inSize = false;
}

bool StatusBar::Grip() const {
    if (!(Style() & SBARS_SIZEGRIP))
        return false;
    HWND parent = GetParent(m_h);
    return !parent || !IsZoomed(GetAncestor(parent, GA_ROOT));
}

RECT StatusBar::PartRect(int i) const {
    RECT client;
    GetClientRect(m_h, &client);
    if (m_isSimple)
        return RECT{kBorderX, kBorderY, client.right, client.bottom};
    int left = kBorderX;
    for (int k = 0; k < i; ++k) {
        int r = m_parts[(size_t)k].right;
        left = (r < 0 ? client.right : r) + kBetween;
    }
    int right = m_parts[(size_t)i].right;
    if (right < 0)
        right = client.right;
    return RECT{left, kBorderY, std::max(left, right), client.bottom};
}

void StatusBar::DrawPart(HDC dc, const Part& part, RECT rc, int index) {
    if (!(part.type & SBT_NOBORDERS)) {
        RECT e = rc;
        DrawEdge(dc, &e, (part.type & SBT_POPOUT) ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
    }
    InflateRect(&rc, -1, -1);
    if (part.type & SBT_OWNERDRAW) {
        HWND parent = GetParent(m_h);
        if (!parent)
            return;
        DRAWITEMSTRUCT dis{};
        dis.CtlID = (UINT)GetDlgCtrlID(m_h);
        dis.itemID = (UINT)index;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.hwndItem = m_h;
        dis.hDC = dc;
        dis.rcItem = rc;
        dis.itemData = (ULONG_PTR)part.data;
        int saved = SaveDC(dc);
        IntersectClipRect(dc, rc.left, rc.top, rc.right, rc.bottom);
        SendMessage(parent, WM_DRAWITEM, dis.CtlID, (LPARAM)&dis);
        RestoreDC(dc, saved);
        return;
    }
    RECT text = rc;
    text.left += 2;
    if (part.icon) {
        int size = GetSystemMetrics(SM_CXSMICON);
        RECT ir{text.left, text.top + (text.bottom - text.top - size) / 2, text.left + size, 0};
        DrawIcon(dc, ir.left, ir.top, part.icon);
        text.left += size + 2;
    }
    if (part.text.empty())
        return;
    // Up to three pieces split by tabs: left, centred, right.
    std::vector<std::string> pieces;
    if (part.type & SBT_NOTABPARSING) {
        pieces.push_back(part.text);
    } else {
        size_t start = 0;
        while (pieces.size() < 2) {
            size_t tab = part.text.find('\t', start);
            if (tab == std::string::npos)
                break;
            pieces.push_back(part.text.substr(start, tab - start));
            start = tab + 1;
        }
        pieces.push_back(part.text.substr(start));
    }
    static const UINT align[3] = {DT_LEFT, DT_CENTER, DT_RIGHT};
    int saved = SaveDC(dc);
    IntersectClipRect(dc, rc.left, rc.top, rc.right, rc.bottom);
    for (size_t k = 0; k < pieces.size(); ++k)
        if (!pieces[k].empty())
            DrawText(dc, pieces[k].c_str(), (int)pieces[k].size(), &text,
                     align[k] | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    RestoreDC(dc, saved);
}

void StatusBar::Paint(HDC dc) {
    RECT client;
    GetClientRect(m_h, &client);
    HBRUSH bg = m_background == CLR_DEFAULT ? nullptr : CreateSolidBrush(m_background);
    FillRect(dc, &client, bg ? bg : GetSysColorBrush(COLOR_3DFACE));
    if (bg)
        DeleteObject(bg);
    HGDIOBJ oldFont = SelectObject(dc, Font());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    if (m_isSimple) {
        DrawPart(dc, m_simple, PartRect(0), SB_SIMPLEID);
    } else {
        for (int i = 0; i < (int)m_parts.size() && !m_dead; ++i)
            DrawPart(dc, m_parts[(size_t)i], PartRect(i), i);
    }
    if (!m_dead && Grip()) {
        // Three pairs of diagonal lines in the bottom-right corner.
        HPEN light = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DHILIGHT));
        HPEN dark = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DSHADOW));
        HGDIOBJ oldPen = SelectObject(dc, light);
        for (int k = 0; k < 3; ++k) {
            int off = 4 * k + 1;
            for (int d = 0; d < 3; ++d) {
                SelectObject(dc, d == 0 ? light : dark);
                int o = off + d;
                if (o >= kGripSize)
                    break;
                MoveToEx(dc, client.right - o, client.bottom - 1, nullptr);
                LineTo(dc, client.right, client.bottom - 1 - o);
            }
        }
        SelectObject(dc, oldPen);
        DeleteObject(light);
        DeleteObject(dark);
    }
    SelectObject(dc, oldFont);
}

LRESULT StatusBar::Proc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            if (auto* cs = reinterpret_cast<CREATESTRUCT*>(lParam); cs && cs->lpszName)
                m_parts[0].text = cs->lpszName;
            Reposition();
            break;
        case WM_SIZE:
            // The parent forwards its own WM_SIZE: the bar follows the parent's new client area.
            Reposition();
            InvalidateRect(m_h, nullptr, TRUE);
            return 0;
        case WM_SETTEXT:
            m_parts[0].text = lParam ? reinterpret_cast<const char*>(lParam) : "";
            InvalidateRect(m_h, nullptr, TRUE);
            break;  // the window text follows too
        case WM_NCHITTEST: {
            if (Grip()) {
                POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                ScreenToClient(m_h, &p);
                RECT client;
                GetClientRect(m_h, &client);
                if (p.x >= client.right - kGripSize && p.y >= client.bottom - kGripSize && p.x < client.right &&
                    p.y < client.bottom)
                    return HTBOTTOMRIGHT;
            }
            break;
        }
        case SB_SETTEXT: {
            Part* part = PartAt(wParam);
            if (!part)
                return FALSE;
            part->type = (UINT)(wParam & 0xFF00);
            if (part->type & SBT_OWNERDRAW) {
                part->data = lParam;
                part->text.clear();
            } else {
                part->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
            }
            InvalidateRect(m_h, nullptr, TRUE);
            return TRUE;
        }
        case SB_GETTEXT:
        case SB_GETTEXTLENGTH: {
            Part* part = PartAt(wParam);
            if (!part)
                return 0;
            if (part->type & SBT_OWNERDRAW)
                return msg == SB_GETTEXT ? part->data : MAKELONG(0, part->type);
            if (msg == SB_GETTEXT && lParam)
                std::memcpy(reinterpret_cast<char*>(lParam), part->text.c_str(), part->text.size() + 1);
            return MAKELONG(part->text.size(), part->type);
        }
        case SB_SETPARTS: {
            int n = (int)wParam;
            auto* rights = reinterpret_cast<const int*>(lParam);
            if (n <= 0 || n > kMaxParts || !rights)
                return FALSE;
            m_parts.resize((size_t)n);
            for (int i = 0; i < n; ++i)
                m_parts[(size_t)i].right = rights[i];
            InvalidateRect(m_h, nullptr, TRUE);
            return TRUE;
        }
        case SB_GETPARTS: {
            auto* out = reinterpret_cast<int*>(lParam);
            int n = std::min((int)wParam, (int)m_parts.size());
            for (int i = 0; out && i < n; ++i)
                out[i] = m_parts[(size_t)i].right;
            return (LRESULT)m_parts.size();
        }
        case SB_GETBORDERS: {
            auto* out = reinterpret_cast<int*>(lParam);
            if (!out)
                return FALSE;
            out[0] = kBorderX;
            out[1] = kBorderY;
            out[2] = kBetween;
            return TRUE;
        }
        case SB_SETMINHEIGHT:
            m_minHeight = (int)wParam;
            return 0;
        case SB_SIMPLE: {
            bool simple = wParam != 0;
            if (simple != m_isSimple) {
                m_isSimple = simple;
                InvalidateRect(m_h, nullptr, TRUE);
                Notify(SBN_SIMPLEMODECHANGE);
            }
            return 0;
        }
        case SB_ISSIMPLE:
            return m_isSimple;
        case SB_GETRECT: {
            auto* out = reinterpret_cast<RECT*>(lParam);
            int i = (int)wParam;
            if (!out || (!m_isSimple && (i < 0 || i >= (int)m_parts.size())))
                return FALSE;
            *out = PartRect(m_isSimple ? 0 : i);
            return TRUE;
        }
        case SB_SETICON: {
            Part* part = (int)wParam == -1 ? &m_simple : PartAt(wParam);
            if (!part)
                return FALSE;
            part->icon = (HICON)lParam;
            InvalidateRect(m_h, nullptr, TRUE);
            return TRUE;
        }
        case SB_GETICON: {
            Part* part = (int)wParam == -1 ? &m_simple : PartAt(wParam);
            return part ? (LRESULT)part->icon : 0;
        }
        case SB_SETTIPTEXT:
            if (Part* part = PartAt(wParam))
                part->tip = lParam ? reinterpret_cast<const char*>(lParam) : "";
            return 0;
        case SB_GETTIPTEXT: {
            Part* part = PartAt(LOWORD(wParam));
            auto* out = reinterpret_cast<char*>(lParam);
            size_t size = HIWORD(wParam);
            if (part && out && size > 0) {
                size_t n = std::min(part->tip.size(), size - 1);
                part->tip.copy(out, n);
                out[n] = 0;
            }
            return 0;
        }
        case SB_SETBKCOLOR: {
            COLORREF old = m_background;
            m_background = (COLORREF)lParam;
            InvalidateRect(m_h, nullptr, TRUE);
            return (LRESULT)old;
        }
        default:
            break;
    }
    return Default(msg, wParam, lParam);
}
}  // namespace

void user::RegisterStatusBarClass() {
    RegisterControlClass(STATUSCLASSNAME, user::ControlWindowProc<StatusBar>, CS_DBLCLKS);
}
