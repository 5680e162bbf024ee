#include "guilib/controls/OXCoolSliderCtrl.h"

#include <initializer_list>

namespace {

// The slider's pens, made on first use from the colours of that moment.
HPEN SliderPen(int color) {
    static HPEN highlight = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    static HPEN shadow = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
    static HPEN face = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNFACE));
    return color == COLOR_BTNHIGHLIGHT ? highlight : color == COLOR_BTNSHADOW ? shadow : face;
}

// One pass of connected lines: a move to the first point and lines to the others.
void Pass(CDC& dc, int color, std::initializer_list<POINT> points) {
    HGDIOBJ old = ::SelectObject(dc.GetSafeHdc(), SliderPen(color));
    bool first = true;
    for (const POINT& p : points) {
        if (first)
            dc.MoveTo(p);
        else
            dc.LineTo(p);
        first = false;
    }
    ::SelectObject(dc.GetSafeHdc(), old);
}

void Edge(CDC& dc, RECT r, bool raised) {
    const COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT), shadow = ::GetSysColor(COLOR_BTNSHADOW),
                   face = ::GetSysColor(COLOR_BTNFACE);
    dc.Draw3dRect(&r, raised ? highlight : shadow, raised ? shadow : highlight);
    ::InflateRect(&r, -1, -1);
    dc.Draw3dRect(&r, face, face);
}

}  // namespace

void COXCoolSliderCtrl::OnPaint() {
    if (!m_bCoolState || m_bFocusState || !m_hWnd)
        return;
    const DWORD style = GetStyle();
    const bool vertical = (style & TBS_VERT) != 0;
    CClientDC dc(this);
    RECT thumb{};
    GetThumbRect(&thumb);
    const int L = thumb.left, T = thumb.top, R = thumb.right, B = thumb.bottom;
    if (style & TBS_BOTH) {
        Edge(dc, thumb, true);
    } else if (!vertical && !(style & TBS_TOP)) {
        // Pointing down.
        int m = (L + R) / 2, k = B - (R - L) / 2 - 1;
        Pass(dc, COLOR_BTNHIGHLIGHT, {{m, B - 1}, {L, k}, {L, T}, {R, T}});
        Pass(dc, COLOR_BTNSHADOW, {{R - 1, T}, {R - 1, k}, {m, B - 1}});
        const int l = L + 1, t = T + 1, r = R - 1, b = B - 1;
        m = (l + r) / 2, k = b - (r - l) / 2 - 1;
        Pass(dc, COLOR_BTNFACE, {{m, b - 1}, {l, k}, {l, t}, {r - 1, t}, {r - 1, k}, {m, b - 1}});
    } else if (!vertical) {
        // Pointing up.
        int m = (L + R) / 2, k = T + (R - L) / 2;
        Pass(dc, COLOR_BTNSHADOW, {{m, T}, {R - 1, k}, {R - 1, B - 1}, {L - 1, B - 1}});
        Pass(dc, COLOR_BTNHIGHLIGHT, {{L, B - 2}, {L, k}, {m, T}});
        const int l = L + 1, t = T + 1, r = R - 1, b = B - 1;
        m = (l + r) / 2, k = t + (r - l) / 2;
        Pass(dc, COLOR_BTNFACE, {{m, t}, {r - 1, k}, {r - 1, b - 1}, {l, b - 1}, {l, k}, {m, t}});
    } else if (!(style & TBS_LEFT)) {
        // Pointing right.
        int c = (T + B) / 2, j = R - (B - T) / 2 - 1;
        Pass(dc, COLOR_BTNHIGHLIGHT, {{R - 2, c - 1}, {j, T}, {L, T}, {L, B - 1}});
        Pass(dc, COLOR_BTNSHADOW, {{L, B - 1}, {j, B - 1}, {R, c - 1}});
        const int l = L + 1, t = T + 1, r = R - 1, b = B - 1;
        c = (t + b) / 2, j = r - (b - t) / 2 - 1;
        Pass(dc, COLOR_BTNFACE, {{r - 1, c}, {j, t}, {l, t}, {l, b - 1}, {j, b - 1}, {r - 1, c}});
    } else {
        // Pointing left.
        int c = (T + B) / 2, j = L + (B - T) / 2;
        Pass(dc, COLOR_BTNSHADOW, {{L, c}, {j, B - 1}, {R - 1, B - 1}, {R - 1, T - 1}});
        Pass(dc, COLOR_BTNHIGHLIGHT, {{R - 2, T}, {j, T}, {L, c}});
        const int l = L + 1, t = T + 1, r = R - 1, b = B - 1;
        c = (t + b) / 2, j = l + (b - t) / 2;
        Pass(dc, COLOR_BTNFACE, {{l, c}, {j, b - 1}, {r - 1, b - 1}, {r - 1, t}, {j, t}, {l, c}});
    }
    dc.ExcludeClipRect(&thumb);
    RECT channel{};
    GetChannelRect(&channel);
    if (vertical)
        channel = RECT{channel.top, channel.left, channel.bottom, channel.right};
    Edge(dc, channel, false);
    dc.SelectClipRgn(nullptr);
}
