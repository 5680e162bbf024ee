// The "msctls_trackbar32" class, Classic look: a sunken channel and a thumb (rectangular with TBS_BOTH,
// else pointing down or right, or up or left with TBS_TOP / TBS_LEFT). The thumb runs along the channel
// from the range's minimum (left or top) to its maximum. A drag tells the parent TB_THUMBTRACK on each
// move and TB_THUMBPOSITION at the release; a click beside the thumb pages towards the click; keys move
// by lines, pages and to the ends; every action ends with TB_ENDTRACK. TBM_GETCHANNELRECT gives a
// vertical trackbar's channel with x and y exchanged, as the system does.
#include <algorithm>
#include <initializer_list>
#include <utility>
#include <vector>

#include "platform/user/Trackbar.h"
#include "platform/user/UserInternal.h"
#include "platform/user/controls/ControlProc.h"

namespace {
constexpr int kMargin = 4;  // from the client edge to the channel's ends, along the channel

class Trackbar : public user::Control {
public:
    explicit Trackbar(HWND h) : Control(h, kPaints | kPrints) {}
    LRESULT Proc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    bool Vertical() const { return (Style() & TBS_VERT) != 0; }
    int ThumbLength() const;
    // Along = the channel's direction (x, or y when vertical); across = the other one.
    void Extent(int& along, int& across) const;
    RECT Make(int a0, int c0, int a1, int c1) const {
        return Vertical() ? RECT{c0, a0, c1, a1} : RECT{a0, c0, a1, c1};
    }
    RECT ThumbRect() const;
    RECT ChannelRect() const;
    int Travel() const;  // pixels the thumb's leading edge moves over the whole range
    int PosFromThumbStart(int start) const;
    int Clamp(int pos) const { return std::clamp(pos, m_min, std::max(m_min, m_max)); }
    void SetPos(long long pos, bool redraw);
    void Tell(int code);
    // Moves by a scroll code's step and tells the parent; the position stays inside the range.
    void Move(int code);
    void Paint(HDC dc) override;
    void PaintThumb(HDC dc, const RECT& thumb);

    int m_min = 0;
    int m_max = 100;
    int m_pos = 0;
    int m_page = 20;
    int m_line = 1;
    int m_thumbLength = 0;  // set by TBM_SETTHUMBLENGTH, used with TBS_FIXEDLENGTH
    bool m_dragging = false;
    int m_grab = 0;  // where the thumb was taken, from its leading edge
    bool m_paging = false;
};

void Trackbar::Extent(int& along, int& across) const {
    RECT rc;
    GetClientRect(m_h, &rc);
    along = Vertical() ? rc.bottom : rc.right;
    across = Vertical() ? rc.right : rc.bottom;
}

int Trackbar::ThumbLength() const {
    if ((Style() & TBS_FIXEDLENGTH) && m_thumbLength > 0)
        return m_thumbLength;
    int along, across;
    Extent(along, across);
    return std::clamp(across - 4, 4, 21);
}

int Trackbar::Travel() const {
    int along, across;
    Extent(along, across);
    return std::max(0, along - 2 * kMargin - (ThumbLength() / 2 + 1));
}

RECT Trackbar::ThumbRect() const {
    int along, across;
    Extent(along, across);
    int length = ThumbLength(), width = length / 2 + 1;
    long long range = (long long)m_max - m_min;
    int start = kMargin + (range > 0 ? (int)(((long long)m_pos - m_min) * Travel() / range) : 0);
    int c0 = (across - length) / 2;
    return Make(start, c0, start + width, c0 + length);
}

RECT Trackbar::ChannelRect() const {
    int along, across;
    Extent(along, across);
    int length = ThumbLength(), width = length / 2 + 1;
    int c0 = (across - length) / 2, c1 = c0 + length;
    // The channel runs through the thumb's body: its middle, or the part before the point.
    DWORD style = Style();
    int centre;
    if (style & TBS_BOTH)
        centre = (c0 + c1) / 2;
    else if (style & TBS_TOP)
        centre = (c0 + width / 2 + c1) / 2;
    else
        centre = (c0 + c1 - width / 2 - 1) / 2;
    return Make(kMargin, centre - 2, along - kMargin, centre + 2);
}

int Trackbar::PosFromThumbStart(int start) const {
    int travel = Travel();
    long long range = (long long)m_max - m_min;
    if (travel <= 0 || range <= 0)
        return m_min;
    long long offset = std::clamp(start - kMargin, 0, travel);
    return Clamp((int)(m_min + (offset * range * 2 + travel) / (2LL * travel)));
}

void Trackbar::SetPos(long long wanted, bool redraw) {
    int pos = (int)std::clamp<long long>(wanted, m_min, std::max(m_min, m_max));
    if (pos == m_pos)
        return;
    m_pos = pos;
    if (redraw)
        InvalidateRect(m_h, nullptr, TRUE);
}

void Trackbar::Tell(int code) {
    HWND parent = GetParent(m_h);
    if (!parent)
        return;
    WORD pos = (code == TB_THUMBTRACK || code == TB_THUMBPOSITION) ? (WORD)m_pos : 0;
    SendMessage(parent, Vertical() ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, pos), (LPARAM)m_h);
}

void Trackbar::Move(int code) {
    switch (code) {
        case TB_LINEUP: SetPos((long long)m_pos - m_line, true); break;
        case TB_LINEDOWN: SetPos((long long)m_pos + m_line, true); break;
        case TB_PAGEUP: SetPos((long long)m_pos - m_page, true); break;
        case TB_PAGEDOWN: SetPos((long long)m_pos + m_page, true); break;
        case TB_TOP: SetPos(m_min, true); break;
        case TB_BOTTOM: SetPos(m_max, true); break;
        default: break;
    }
    Tell(code);
}

void Trackbar::PaintThumb(HDC dc, const RECT& thumb) {
    DWORD style = Style();
    if (style & TBS_BOTH) {
        RECT r = thumb;
        FillRect(dc, &r, GetSysColorBrush(COLOR_3DFACE));
        DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
        return;
    }
    // The pointed thumb drawn as if horizontal and pointing down, then turned into place.
    bool vertical = Vertical(), flipped = (style & TBS_TOP) != 0;
    int a0 = vertical ? thumb.top : thumb.left, a1 = vertical ? thumb.bottom : thumb.right;
    int c0 = vertical ? thumb.left : thumb.top, c1 = vertical ? thumb.right : thumb.bottom;
    auto at = [&](int a, int c) {
        if (flipped)
            c = c0 + c1 - 1 - c;
        return vertical ? POINT{c, a} : POINT{a, c};
    };
    int mid = (a0 + a1) / 2, k = c1 - (a1 - a0) / 2 - 1;
    POINT outline[5] = {at(a0, c0), at(a1 - 1, c0), at(a1 - 1, k), at(mid, c1 - 1), at(a0, k)};
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    HGDIOBJ oldBrush = SelectObject(dc, GetSysColorBrush(COLOR_3DFACE));
    Polygon(dc, outline, 5);
    auto stroke = [&](int color, std::initializer_list<POINT> points) {
        HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(color));
        SelectObject(dc, pen);
        std::vector<POINT> p(points);
        Polyline(dc, p.data(), (int)p.size());
        SelectObject(dc, GetStockObject(NULL_PEN));
        DeleteObject(pen);
    };
    stroke(COLOR_3DHILIGHT, {at(mid, c1 - 1), at(a0, k), at(a0, c0), at(a1 - 1, c0)});
    stroke(COLOR_3DDKSHADOW, {at(a1 - 1, c0), at(a1 - 1, k), at(mid, c1 - 1)});
    stroke(COLOR_3DSHADOW, {at(a1 - 2, c0 + 1), at(a1 - 2, k), at(mid, c1 - 2)});
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
}

void Trackbar::Paint(HDC dc) {
    RECT rc;
    GetClientRect(m_h, &rc);
    FillRect(dc, &rc, user::ControlColor(m_h, dc, WM_CTLCOLORSTATIC));
    RECT channel = ChannelRect();
    DrawEdge(dc, &channel, EDGE_SUNKEN, BF_RECT);
    if (!(Style() & TBS_NOTHUMB))
        PaintThumb(dc, ThumbRect());
    if (GetFocus() == m_h)
        DrawFocusRect(dc, &rc);
}

LRESULT Trackbar::Proc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            if (!IsWindowEnabled(m_h))
                return 0;
            SetFocus(m_h);
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            RECT thumb = ThumbRect();
            int along = Vertical() ? p.y : p.x;
            int start = Vertical() ? thumb.top : thumb.left;
            SetCapture(m_h);
            if (PtInRect(&thumb, p)) {
                m_dragging = true;
                m_grab = along - start;
            } else {
                m_paging = true;
                Move(along < start ? TB_PAGEUP : TB_PAGEDOWN);
            }
            return 0;
        }
        case WM_MOUSEMOVE:
            if (m_dragging) {
                int along = Vertical() ? GET_Y_LPARAM(lParam) : GET_X_LPARAM(lParam);
                int pos = PosFromThumbStart(along - m_grab);
                if (pos != m_pos) {
                    SetPos(pos, true);
                    Tell(TB_THUMBTRACK);
                }
            }
            return 0;
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED: {
            if (msg == WM_CAPTURECHANGED && (HWND)lParam == m_h)
                return 0;
            bool dragged = m_dragging, paged = m_paging;
            m_dragging = m_paging = false;
            if (GetCapture() == m_h)
                ReleaseCapture();
            if (dragged)
                Tell(TB_THUMBPOSITION);
            if (dragged || paged)
                Tell(TB_ENDTRACK);
            return 0;
        }
        case WM_KEYDOWN:
            switch (wParam) {
                case VK_LEFT:
                case VK_UP: Move(TB_LINEUP); return 0;
                case VK_RIGHT:
                case VK_DOWN: Move(TB_LINEDOWN); return 0;
                case VK_PRIOR: Move(TB_PAGEUP); return 0;
                case VK_NEXT: Move(TB_PAGEDOWN); return 0;
                case VK_HOME: Move(TB_TOP); return 0;
                case VK_END: Move(TB_BOTTOM); return 0;
                default: break;
            }
            break;
        case WM_KEYUP:
            switch (wParam) {
                case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN:
                case VK_PRIOR: case VK_NEXT: case VK_HOME: case VK_END:
                    Tell(TB_ENDTRACK);
                    return 0;
                default: break;
            }
            break;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_ENABLE:
        case WM_SIZE:
            InvalidateRect(m_h, nullptr, TRUE);
            return 0;
        case TBM_GETPOS: return m_pos;
        case TBM_GETRANGEMIN: return m_min;
        case TBM_GETRANGEMAX: return m_max;
        case TBM_SETPOS: SetPos((int)lParam, wParam != 0); return 0;
        case TBM_SETRANGE:
            m_min = (short)LOWORD(lParam);
            m_max = (short)HIWORD(lParam);
            m_pos = Clamp(m_pos);
            if (wParam)
                InvalidateRect(m_h, nullptr, TRUE);
            return 0;
        case TBM_SETRANGEMIN:
        case TBM_SETRANGEMAX:
            (msg == TBM_SETRANGEMIN ? m_min : m_max) = (int)lParam;
            m_pos = Clamp(m_pos);
            if (wParam)
                InvalidateRect(m_h, nullptr, TRUE);
            return 0;
        case TBM_SETPAGESIZE: return std::exchange(m_page, (int)lParam);
        case TBM_GETPAGESIZE: return m_page;
        case TBM_SETLINESIZE: return std::exchange(m_line, (int)lParam);
        case TBM_GETLINESIZE: return m_line;
        case TBM_GETTHUMBRECT:
            if (lParam)
                *reinterpret_cast<RECT*>(lParam) = ThumbRect();
            return 0;
        case TBM_GETCHANNELRECT:
            if (lParam) {
                RECT r = ChannelRect();
                if (Vertical())
                    r = RECT{r.top, r.left, r.bottom, r.right};
                *reinterpret_cast<RECT*>(lParam) = r;
            }
            return 0;
        case TBM_SETTHUMBLENGTH:
            m_thumbLength = std::max(0, (int)wParam);
            InvalidateRect(m_h, nullptr, TRUE);
            return 0;
        case TBM_GETTHUMBLENGTH: return ThumbLength();
        default:
            break;
    }
    return Default(msg, wParam, lParam);
}
}  // namespace

namespace user {
void RegisterTrackbarClass() {
    RegisterControlClass(TRACKBAR_CLASS, ControlWindowProc<Trackbar>, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS);
}
}  // namespace user
