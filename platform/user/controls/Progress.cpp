// The progress bar class: a range, a position and Classic blocks in the highlight colour.
#include <algorithm>
#include <utility>

#include "platform/user/Controls.h"
#include "platform/user/UserInternal.h"
#include "platform/user/controls/ControlProc.h"

namespace {
class Progress : public user::Control {
public:
    explicit Progress(HWND h) : Control(h, kPaints) {}
    LRESULT Proc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    int SetPos(int pos);
    LRESULT SetRange(int low, int high);
    void Paint(HDC dc) override;

    int m_low = 0;
    int m_high = 100;
    int m_pos = 0;
    int m_step = 10;
    COLORREF m_bar = CLR_NONE;
    COLORREF m_background = CLR_NONE;
};

int Progress::SetPos(int pos) {
    int old = m_pos;
    m_pos = std::clamp(pos, std::min(m_low, m_high), std::max(m_low, m_high));
    if (m_pos != old)
        InvalidateRect(m_h, nullptr, TRUE);
    return old;
}

LRESULT Progress::SetRange(int low, int high) {
    LRESULT old = MAKELRESULT(m_low, m_high);
    m_low = low;
    m_high = high;
    SetPos(m_pos);
    InvalidateRect(m_h, nullptr, TRUE);
    return old;
}

void Progress::Paint(HDC dc) {
    RECT rc;
    GetClientRect(m_h, &rc);
    DrawEdge(dc, &rc, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    HBRUSH bg = m_background == CLR_NONE ? nullptr : CreateSolidBrush(m_background);
    FillRect(dc, &rc, bg ? bg : GetSysColorBrush(COLOR_3DFACE));
    if (bg)
        DeleteObject(bg);
    InflateRect(&rc, -1, -1);
    int range = m_high - m_low;
    if (range <= 0 || IsRectEmpty(&rc))
        return;
    bool vertical = (Style() & PBS_VERTICAL) != 0;
    int length = vertical ? rc.bottom - rc.top : rc.right - rc.left;
    int filled = (int)((long long)(m_pos - m_low) * length / range);
    HBRUSH bar = m_bar == CLR_NONE ? GetSysColorBrush(COLOR_HIGHLIGHT) : CreateSolidBrush(m_bar);
    if (Style() & PBS_SMOOTH) {
        RECT r = rc;
        if (vertical)
            r.top = r.bottom - filled;
        else
            r.right = r.left + filled;
        FillRect(dc, &r, bar);
    } else {
        // Blocks two thirds as wide as the bar is high, two pixels apart.
        int thickness = vertical ? rc.right - rc.left : rc.bottom - rc.top;
        int block = std::max(1, thickness * 2 / 3);
        for (int at = 0; at < filled; at += block + 2) {
            int end = std::min(at + block, length);
            RECT r = vertical ? RECT{rc.left, rc.bottom - end, rc.right, rc.bottom - at}
                              : RECT{rc.left + at, rc.top, rc.left + end, rc.bottom};
            FillRect(dc, &r, bar);
        }
    }
    if (m_bar != CLR_NONE)
        DeleteObject(bar);
}

LRESULT Progress::Proc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_GETDLGCODE:
            return DLGC_STATIC;
        case PBM_SETRANGE:
            return SetRange((int)(short)LOWORD(lParam), (int)(short)HIWORD(lParam));
        case PBM_SETRANGE32:
            return SetRange((int)wParam, (int)lParam);
        case PBM_GETRANGE:
            if (lParam)
                *reinterpret_cast<PBRANGE*>(lParam) = PBRANGE{m_low, m_high};
            return wParam ? m_low : m_high;
        case PBM_SETPOS:
            return SetPos((int)wParam);
        case PBM_DELTAPOS:
            return SetPos(m_pos + (int)wParam);
        case PBM_GETPOS:
            return m_pos;
        case PBM_SETSTEP: {
            int old = m_step;
            m_step = (int)wParam;
            return old;
        }
        case PBM_STEPIT: {
            // Stepping past the end wraps to the start, as the control does.
            int next = m_pos + m_step;
            if (next > m_high)
                next = m_low + (next - m_high);
            return SetPos(next);
        }
        case PBM_SETBARCOLOR:
        case PBM_SETBKCOLOR: {
            COLORREF old = std::exchange(msg == PBM_SETBARCOLOR ? m_bar : m_background, (COLORREF)lParam);
            InvalidateRect(m_h, nullptr, TRUE);
            return (LRESULT)old;
        }
        default:
            return Default(msg, wParam, lParam);
    }
}
}  // namespace

void user::RegisterProgressClass() {
    RegisterControlClass(PROGRESS_CLASS, user::ControlWindowProc<Progress>, CS_HREDRAW | CS_VREDRAW);
}
