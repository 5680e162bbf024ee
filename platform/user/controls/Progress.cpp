// The progress bar class: a range, a position and Classic blocks in the highlight colour.
#include <algorithm>

#include "platform/user/Controls.h"
#include "platform/user/UserInternal.h"

namespace {
struct ProgressState {
    int low = 0;
    int high = 100;
    int pos = 0;
    int step = 10;
    COLORREF bar = CLR_NONE;
    COLORREF background = CLR_NONE;
};

ProgressState* State(HWND h) {
    return reinterpret_cast<ProgressState*>(GetWindowLongPtr(h, 0));
}

int SetPos(HWND h, int pos) {
    ProgressState* st = State(h);
    int old = st->pos;
    st->pos = std::clamp(pos, std::min(st->low, st->high), std::max(st->low, st->high));
    if (st->pos != old)
        InvalidateRect(h, nullptr, TRUE);
    return old;
}

void Paint(HWND h, HDC dc) {
    ProgressState* st = State(h);
    RECT rc;
    GetClientRect(h, &rc);
    DrawEdge(dc, &rc, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    HBRUSH bg = st->background == CLR_NONE ? nullptr : CreateSolidBrush(st->background);
    FillRect(dc, &rc, bg ? bg : GetSysColorBrush(COLOR_3DFACE));
    if (bg)
        DeleteObject(bg);
    InflateRect(&rc, -1, -1);
    int range = st->high - st->low;
    if (range <= 0 || IsRectEmpty(&rc))
        return;
    bool vertical = (GetWindowLongPtr(h, GWL_STYLE) & PBS_VERTICAL) != 0;
    int length = vertical ? rc.bottom - rc.top : rc.right - rc.left;
    int filled = (int)((long long)(st->pos - st->low) * length / range);
    HBRUSH bar = st->bar == CLR_NONE ? GetSysColorBrush(COLOR_HIGHLIGHT) : CreateSolidBrush(st->bar);
    if (GetWindowLongPtr(h, GWL_STYLE) & PBS_SMOOTH) {
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
    if (st->bar != CLR_NONE)
        DeleteObject(bar);
}

LRESULT ProgressProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    ProgressState* st = State(h);
    switch (msg) {
        case WM_NCCREATE:
            SetWindowLongPtr(h, 0, (LONG_PTR) new ProgressState);
            break;
        case WM_NCDESTROY:
            delete st;
            SetWindowLongPtr(h, 0, 0);
            break;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, &ps);
            Paint(h, dc);
            EndPaint(h, &ps);
            return 0;
        }
        case WM_GETDLGCODE:
            return DLGC_STATIC;
        case PBM_SETRANGE:
        case PBM_SETRANGE32: {
            LRESULT old = MAKELRESULT(st->low, st->high);
            if (msg == PBM_SETRANGE) {
                st->low = (int)(short)LOWORD(lParam);
                st->high = (int)(short)HIWORD(lParam);
            } else {
                st->low = (int)wParam;
                st->high = (int)lParam;
            }
            SetPos(h, st->pos);
            InvalidateRect(h, nullptr, TRUE);
            return old;
        }
        case PBM_GETRANGE: {
            if (lParam)
                *reinterpret_cast<PBRANGE*>(lParam) = PBRANGE{st->low, st->high};
            return wParam ? st->low : st->high;
        }
        case PBM_SETPOS:
            return SetPos(h, (int)wParam);
        case PBM_DELTAPOS:
            return SetPos(h, st->pos + (int)wParam);
        case PBM_GETPOS:
            return st->pos;
        case PBM_SETSTEP: {
            int old = st->step;
            st->step = (int)wParam;
            return old;
        }
        case PBM_STEPIT: {
            // Stepping past the end wraps to the start, as the control does.
            int next = st->pos + st->step;
            if (next > st->high)
                next = st->low + (next - st->high);
            return SetPos(h, next);
        }
        case PBM_SETBARCOLOR: {
            COLORREF old = st->bar;
            st->bar = (COLORREF)lParam;
            InvalidateRect(h, nullptr, TRUE);
            return (LRESULT)old;
        }
        case PBM_SETBKCOLOR: {
            COLORREF old = st->background;
            st->background = (COLORREF)lParam;
            InvalidateRect(h, nullptr, TRUE);
            return (LRESULT)old;
        }
        default:
            break;
    }
    return DefWindowProc(h, msg, wParam, lParam);
}
}  // namespace

namespace user {
void RegisterProgressClass() {
    RegisterControlClass(PROGRESS_CLASS, ProgressProc, CS_HREDRAW | CS_VREDRAW);
}
}  // namespace user
