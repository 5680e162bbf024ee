#include "platform/gdi/FrameControl.h"

#include "platform/gdi/GdiInternal.h"

using namespace gdi;

namespace {

// A square glyph drawn by filling cells of an s x s grid at (x, y) in surface pixels.
class GlyphPainter {
public:
    GlyphPainter(DeviceContext& dc, const RECT& clipDev) : m_dc(dc), m_t(dc.m_surface, Clip(dc, clipDev)) {}
    void Cell(int x, int y, COLORREF c) { Fill(x, y, x + 1, y + 1, c); }
    void Fill(int l, int t, int r, int b, COLORREF c) {
        if (!m_t.Valid())
            return;
        uint32_t px = PixelFromColor(c);
        m_t.ForSpans(RECT{l, t, r, b}, [&](int x0, int x1, int y) { std::fill(m_t.Row(y) + x0, m_t.Row(y) + x1, px); });
    }

private:
    static Region Clip(DeviceContext& dc, const RECT& r) {
        Region c = dc.EffectiveClip();
        c.Intersect(r);
        return c;
    }
    DeviceContext& m_dc;
    PixelTarget m_t;
};

enum class Glyph { Close, Min, Max, Restore, Help, Up, Down, Left, Right, Check, Bullet, RadioDot };

// Draws glyph g into the square at (x, y) of side s in colour c.
void DrawGlyph(GlyphPainter& p, Glyph g, int x, int y, int s, COLORREF c) {
    if (s < 3)
        s = 3;
    switch (g) {
        case Glyph::Close: {
            int n = s - 1;
            for (int i = 0; i < n; ++i) {
                p.Fill(x + i, y + i, x + i + 2, y + i + 1, c);
                p.Fill(x + n - 1 - i, y + i, x + n + 1 - i, y + i + 1, c);
            }
            break;
        }
        case Glyph::Min:
            p.Fill(x + 1, y + s - 2, x + s - 1, y + s, c);
            break;
        case Glyph::Max:
            p.Fill(x, y, x + s, y + 2, c);
            p.Fill(x, y, x + 1, y + s, c);
            p.Fill(x + s - 1, y, x + s, y + s, c);
            p.Fill(x, y + s - 1, x + s, y + s, c);
            break;
        case Glyph::Restore: {
            int b = std::max(3, s * 2 / 3);
            int o = s - b;
            // The back box (top right), then the front box (bottom left) over it.
            p.Fill(x + o, y, x + s, y + 2, c);
            p.Fill(x + s - 1, y, x + s, y + b, c);
            p.Fill(x + o, y, x + o + 1, y + o, c);
            p.Fill(x + s - o, y + b - 1, x + s, y + b, c);
            p.Fill(x, y + o, x + b, y + o + 2, c);
            p.Fill(x, y + o, x + 1, y + s, c);
            p.Fill(x + b - 1, y + o, x + b, y + s, c);
            p.Fill(x, y + s - 1, x + b, y + s, c);
            break;
        }
        case Glyph::Help: {
            // A question mark on a 5 x 8 grid scaled into the square.
            static const char* const rows[] = {".###.", "#...#", "....#", "...#.", "..#..", "..#..", ".....", "..#.."};
            int cell = std::max(1, s / 8);
            int ox = x + (s - 5 * cell) / 2, oy = y + (s - 8 * cell) / 2;
            for (int r = 0; r < 8; ++r)
                for (int k = 0; k < 5; ++k)
                    if (rows[r][k] == '#')
                        p.Fill(ox + k * cell, oy + r * cell, ox + (k + 1) * cell, oy + (r + 1) * cell, c);
            break;
        }
        case Glyph::Up:
        case Glyph::Down:
        case Glyph::Left:
        case Glyph::Right: {
            // A filled triangle: base of w (odd) pixels, height (w + 1) / 2.
            int w = std::max(1, ((s + 1) / 2) | 1);
            int h = (w + 1) / 2;
            int bx = x + (s - w) / 2, by = y + (s - h) / 2;
            for (int i = 0; i < h; ++i) {
                int len = w - 2 * i;
                if (g == Glyph::Down)
                    p.Fill(bx + i, by + i, bx + i + len, by + i + 1, c);
                else if (g == Glyph::Up)
                    p.Fill(bx + i, by + h - 1 - i, bx + i + len, by + h - i, c);
                else {
                    int ax = x + (s - h) / 2, ay = y + (s - w) / 2;
                    if (g == Glyph::Right)
                        p.Fill(ax + i, ay + i, ax + i + 1, ay + i + len, c);
                    else
                        p.Fill(ax + h - 1 - i, ay + i, ax + h - i, ay + i + len, c);
                }
            }
            break;
        }
        case Glyph::Check: {
            // A tick three pixels thick: down from the left third, up to the right.
            int n = std::max(3, s - 2);
            int ox = x + (s - n) / 2, oy = y + (s - n) / 2;
            int knee = n / 3;
            for (int i = 0; i <= knee; ++i)
                p.Fill(ox + i, oy + n / 2 - 1 + i, ox + i + 1, oy + n / 2 + 2 + i, c);
            for (int i = knee + 1; i < n; ++i) {
                int yy = oy + n / 2 - 1 + knee - (i - knee);
                p.Fill(ox + i, yy, ox + i + 1, yy + 3, c);
            }
            break;
        }
        case Glyph::Bullet:
        case Glyph::RadioDot: {
            int d = g == Glyph::Bullet ? std::max(2, s / 3) : std::max(2, s / 3 + 1);
            int ox = x + (s - d) / 2, oy = y + (s - d) / 2;
            double r = d / 2.0;
            for (int j = 0; j < d; ++j)
                for (int i = 0; i < d; ++i) {
                    double dx = i + 0.5 - r, dy = j + 0.5 - r;
                    if (dx * dx + dy * dy <= r * r + 0.25)
                        p.Cell(ox + i, oy + j, c);
                }
            break;
        }
    }
}

// The edge of a Classic button; returns the interior.
RECT DrawButtonFace(HDC hdc, DeviceContext& dc, RECT rc, UINT state, bool sunken) {
    UINT flags = BF_RECT | BF_MIDDLE | BF_ADJUST;
    if (state & DFCS_MONO)
        flags |= BF_MONO;
    else if (state & DFCS_FLAT)
        flags |= BF_FLAT;
    if (state & DFCS_TRANSPARENT)
        flags &= ~BF_MIDDLE;
    RECT r = rc;
    DrawEdge(hdc, &r, sunken ? EDGE_SUNKEN : EDGE_RAISED, flags);
    (void)dc;
    return r;
}

void GlyphInSquare(DeviceContext& dc, const RECT& interiorLog, Glyph g, UINT state, bool pushed, int margin) {
    RECT dev = dc.DevRect(interiorLog.left, interiorLog.top, interiorLog.right, interiorLog.bottom);
    int w = dev.right - dev.left, h = dev.bottom - dev.top;
    int s = std::min(w, h) - 2 * margin;
    if (s < 3)
        s = std::min(w, h);
    if (s <= 0)
        return;
    int x = dev.left + (w - s) / 2, y = dev.top + (h - s) / 2;
    if (pushed) {
        ++x;
        ++y;
    }
    GlyphPainter p(dc, dev);
    if (state & DFCS_INACTIVE) {
        DrawGlyph(p, g, x + 1, y + 1, s, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawGlyph(p, g, x, y, s, GetSysColor(COLOR_BTNSHADOW));
    } else {
        DrawGlyph(p, g, x, y, s, GetSysColor(COLOR_BTNTEXT));
    }
}

}  // namespace

BOOL DrawFrameControl(HDC hdc, LPRECT rc, UINT type, UINT state) {
    auto dc = FindDC(hdc);
    if (!dc || !rc)
        return FALSE;
    RECT r = *rc;
    bool pushed = (state & DFCS_PUSHED) != 0;
    switch (type) {
        case DFC_CAPTION: {
            static const Glyph glyphs[] = {Glyph::Close, Glyph::Min, Glyph::Max, Glyph::Restore, Glyph::Help};
            UINT kind = state & 0xFF;
            if (kind > DFCS_CAPTIONHELP)
                return FALSE;
            RECT in = DrawButtonFace(hdc, *dc, r, state, pushed);
            GlyphInSquare(*dc, in, glyphs[kind], state, pushed, 2);
            if (state & DFCS_ADJUSTRECT)
                *rc = in;
            return TRUE;
        }
        case DFC_SCROLL: {
            UINT kind = state & 0xFF;
            if (kind == DFCS_SCROLLSIZEGRIP || kind == DFCS_SCROLLSIZEGRIPRIGHT) {
                // Three pairs of diagonal lines towards the bottom-right (bottom-left) corner.
                if (!(state & DFCS_TRANSPARENT))
                    FillRect(hdc, &r, GetSysColorBrush(COLOR_BTNFACE));
                RECT dev = dc->DevRect(r.left, r.top, r.right, r.bottom);
                GlyphPainter p(*dc, dev);
                int s = std::min(dev.right - dev.left, dev.bottom - dev.top);
                bool left = kind == DFCS_SCROLLSIZEGRIPRIGHT;
                for (int k = 0; k < 3; ++k) {
                    int off = 4 * k + 1;
                    for (int i = 0; i + off < s; ++i) {
                        int yy = dev.bottom - 1 - i;
                        int xs = dev.right - 1 - (s - 1 - off - i);
                        int xx = left ? dev.left + (dev.right - 1 - xs) : xs;
                        p.Cell(xx, yy - 1, GetSysColor(COLOR_BTNSHADOW));
                        p.Cell(xx, yy - 2, GetSysColor(COLOR_BTNSHADOW));
                        p.Cell(xx, yy - 3, GetSysColor(COLOR_BTNHIGHLIGHT));
                    }
                }
                return TRUE;
            }
            Glyph g;
            switch (kind) {
                case DFCS_SCROLLUP: g = Glyph::Up; break;
                case DFCS_SCROLLDOWN:
                case DFCS_SCROLLCOMBOBOX: g = Glyph::Down; break;
                case DFCS_SCROLLLEFT: g = Glyph::Left; break;
                case DFCS_SCROLLRIGHT: g = Glyph::Right; break;
                default: return FALSE;
            }
            RECT in = DrawButtonFace(hdc, *dc, r, state, pushed);
            GlyphInSquare(*dc, in, g, state, pushed, 1);
            if (state & DFCS_ADJUSTRECT)
                *rc = in;
            return TRUE;
        }
        case DFC_BUTTON: {
            if (state & DFCS_BUTTONPUSH) {
                RECT in = DrawButtonFace(hdc, *dc, r, state, pushed || (state & DFCS_CHECKED));
                if (state & DFCS_ADJUSTRECT)
                    *rc = in;
                return TRUE;
            }
            // Check boxes and radio buttons: a square of min(width, height) at the rectangle's centre.
            int s = std::min(r.right - r.left, r.bottom - r.top);
            RECT box{r.left + (r.right - r.left - s) / 2, r.top + (r.bottom - r.top - s) / 2, 0, 0};
            box.right = box.left + s;
            box.bottom = box.top + s;
            COLORREF fill = GetSysColor((state & (DFCS_PUSHED | DFCS_INACTIVE)) ? COLOR_BTNFACE : COLOR_WINDOW);
            COLORREF mark = GetSysColor((state & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
            RECT dev = dc->DevRect(box.left, box.top, box.right, box.bottom);
            if (state & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE | DFCS_BUTTONRADIOMASK)) {
                GlyphPainter p(*dc, dev);
                double rad = s / 2.0;
                bool mask = (state & 0xFF) == DFCS_BUTTONRADIOMASK;
                for (int j = 0; j < s; ++j)
                    for (int i = 0; i < s; ++i) {
                        double dx = i + 0.5 - rad, dy = j + 0.5 - rad, d2 = dx * dx + dy * dy;
                        if (d2 > rad * rad)
                            continue;
                        COLORREF c;
                        if (mask)
                            c = RGB(0, 0, 0);
                        else if (d2 > (rad - 1) * (rad - 1))
                            c = GetSysColor(dx + dy < 0 ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT);
                        else if (d2 > (rad - 2) * (rad - 2))
                            c = GetSysColor(dx + dy < 0 ? COLOR_3DDKSHADOW : COLOR_3DLIGHT);
                        else
                            c = fill;
                        p.Cell(dev.left + i, dev.top + j, c);
                    }
                if (!mask && (state & DFCS_CHECKED))
                    DrawGlyph(p, Glyph::RadioDot, dev.left, dev.top, s, mark);
                return TRUE;
            }
            RECT in = box;
            DrawEdge(hdc, &in, EDGE_SUNKEN, BF_RECT | BF_ADJUST | ((state & DFCS_FLAT) ? BF_FLAT : 0) |
                                                ((state & DFCS_MONO) ? BF_MONO : 0));
            HBRUSH b = CreateSolidBrush(fill);
            FillRect(hdc, &in, b);
            DeleteObject(b);
            if (state & DFCS_CHECKED) {
                RECT idev = dc->DevRect(in.left, in.top, in.right, in.bottom);
                GlyphPainter p(*dc, idev);
                int side = std::min(idev.right - idev.left, idev.bottom - idev.top);
                DrawGlyph(p, Glyph::Check, idev.left, idev.top, side, mark);
            }
            return TRUE;
        }
        case DFC_MENU:
        case DFC_POPUPMENU: {
            Glyph g;
            switch (state & 0xFF) {
                case DFCS_MENUARROW: g = Glyph::Right; break;
                case DFCS_MENUARROWRIGHT: g = Glyph::Left; break;
                case DFCS_MENUCHECK: g = Glyph::Check; break;
                case DFCS_MENUBULLET: g = Glyph::Bullet; break;
                default: return FALSE;
            }
            RECT dev = dc->DevRect(r.left, r.top, r.right, r.bottom);
            GlyphPainter p(*dc, dev);
            p.Fill(dev.left, dev.top, dev.right, dev.bottom, RGB(255, 255, 255));
            int s = std::min(dev.right - dev.left, dev.bottom - dev.top);
            DrawGlyph(p, g, dev.left + (dev.right - dev.left - s) / 2, dev.top + (dev.bottom - dev.top - s) / 2, s,
                      RGB(0, 0, 0));
            return TRUE;
        }
        default:
            return FALSE;
    }
}

BOOL SetPixelV(HDC dc, int x, int y, COLORREF color) {
    return SetPixel(dc, x, y, color) != CLR_INVALID;
}
