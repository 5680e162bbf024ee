// The Classic non-client area: frame, caption (small for tool windows), caption buttons, the menu bar,
// hit codes, the system menu and SC_ commands, and the move and size loops.
#include <algorithm>
#include <string>

#include "platform/user/Menu.h"
#include "platform/user/UserInternal.h"

namespace user {
namespace {
// Message-filter codes of the move and size loops.
constexpr int kMsgfMove = 3;
constexpr int kMsgfSize = 4;
thread_local bool t_altAlone = false;

HFONT CaptionFont(bool small) {
    static HFONT normal =
        CreateFont(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
    static HFONT tool = CreateFont(-10, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
    return small ? tool : normal;
}

void FillSolid(HDC dc, const RECT& r, COLORREF c) {
    HBRUSH b = CreateSolidBrush(c);
    FillRect(dc, &r, b);
    DeleteObject(b);
}

struct Snapshot {
    RECT insets{};  // the default frame's
    RECT client{};  // the client area's insets as the window last answered WM_NCCALCSIZE
    RECT window{};  // 0,0,width,height
    DWORD style = 0;
    DWORD exStyle = 0;
    bool active = false;
    bool native = false;
    int frame = 0;
    int menuBar = 0;
    std::string text;
};

bool Take(HWND hwnd, Snapshot& s) {
    std::lock_guard<std::mutex> g(Lock());
    WindowData* w = Find(hwnd);
    if (!w)
        return false;
    s.insets = NonClientInsets(*w);
    s.client = w->clientInsets;
    s.window = RECT{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
    s.style = w->style;
    s.exStyle = w->exStyle;
    s.active = w->activeCaption;
    s.native = w->nativeFrame;
    s.text = w->text;
    s.menuBar = (w->menu && !(w->style & WS_CHILD)) ? w->menuBarHeight : 0;
    if (s.native)
        s.frame = 0;
    else if (w->style & WS_THICKFRAME)
        s.frame = 4;
    else if ((w->style & WS_DLGFRAME) || (w->exStyle & WS_EX_DLGMODALFRAME))
        s.frame = 3;
    else if (w->style & WS_BORDER)
        s.frame = 1;
    return true;
}

bool HasCaption(const Snapshot& s) {
    return !s.native && (s.style & WS_CAPTION) == WS_CAPTION;
}
bool IsTool(const Snapshot& s) {
    return (s.exStyle & WS_EX_TOOLWINDOW) != 0;
}
int CaptionHeight(const Snapshot& s) {
    return IsTool(s) ? 15 : 18;
}

struct CaptionParts {
    RECT caption{};
    RECT icon{};  // empty when none
    RECT close{}, max{}, min{};
    bool hasClose = false, hasMax = false, hasMin = false;
};

CaptionParts Parts(const Snapshot& s) {
    CaptionParts p;
    if (!HasCaption(s))
        return p;
    int f = s.frame;
    int h = CaptionHeight(s);
    p.caption = RECT{f, f, s.window.right - f, f + h};
    if (!(s.style & WS_SYSMENU))
        return p;
    int bh = h - 4, bw = bh + 2;
    int top = f + 2;
    p.hasClose = true;
    p.close = RECT{p.caption.right - 2 - bw, top, p.caption.right - 2, top + bh};
    if (!IsTool(s)) {
        p.icon = RECT{f + 2, f + 1, f + 18, f + 17};
        if (s.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) {
            p.hasMax = p.hasMin = true;
            p.max = RECT{p.close.left - 2 - bw, top, p.close.left - 2, top + bh};
            p.min = RECT{p.max.left - bw, top, p.max.left, top + bh};
        }
    }
    return p;
}

LRESULT HitTestOf(HWND hwnd, POINT screen) {
    RECT wr;
    if (!GetWindowRect(hwnd, &wr) || !PtInRect(&wr, screen))
        return HTNOWHERE;
    Snapshot s;
    if (!Take(hwnd, s))
        return HTNOWHERE;
    POINT p{screen.x - wr.left, screen.y - wr.top};
    int width = s.window.right, height = s.window.bottom;
    RECT client{s.client.left, s.client.top, width - s.client.right, height - s.client.bottom};
    if (PtInRect(&client, p))
        return HTCLIENT;
    LRESULT bar = WindowScrollHitTest(hwnd, screen);
    if (bar != HTNOWHERE)
        return bar;
    int f = s.frame;
    if (p.x < f || p.y < f || p.x >= width - f || p.y >= height - f) {
        if (!(s.style & WS_THICKFRAME) || (s.style & (WS_MAXIMIZE | WS_MINIMIZE)))
            return HTBORDER;
        int corner = GetSystemMetrics(SM_CXSIZE) + f;
        bool left = p.x < corner, right = p.x >= width - corner;
        bool top = p.y < corner, bottom = p.y >= height - corner;
        if (p.x < f)
            return top ? HTTOPLEFT : bottom ? HTBOTTOMLEFT : HTLEFT;
        if (p.x >= width - f)
            return top ? HTTOPRIGHT : bottom ? HTBOTTOMRIGHT : HTRIGHT;
        if (p.y < f)
            return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
        return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
    }
    CaptionParts parts = Parts(s);
    if (HasCaption(s) && p.y >= parts.caption.top && p.y < parts.caption.bottom + 1) {
        if (parts.hasClose && PtInRect(&parts.close, p))
            return HTCLOSE;
        if (parts.hasMax && PtInRect(&parts.max, p))
            return HTMAXBUTTON;
        if (parts.hasMin && PtInRect(&parts.min, p))
            return HTMINBUTTON;
        if (!IsRectEmpty(&parts.icon) && p.x < parts.icon.right)
            return HTSYSMENU;
        return HTCAPTION;
    }
    if (s.menuBar && MenuBarHit(hwnd, screen))
        return HTMENU;
    return HTBORDER;
}

void DrawGlyph(HDC dc, const RECT& b, UINT kind, COLORREF color) {
    HPEN pen = CreatePen(PS_SOLID, 1, color);
    HGDIOBJ old = SelectObject(dc, pen);
    int w = b.right - b.left, h = b.bottom - b.top;
    int cx = b.left + w / 2, cy = b.top + h / 2;
    switch (kind) {
        case DFCS_CAPTIONCLOSE: {
            int r = std::max(2, std::min(w, h) / 2 - 3);
            for (int k = 0; k < 2; ++k) {
                MoveToEx(dc, cx - r + k - 1, cy - r, nullptr);
                LineTo(dc, cx + r + k, cy + r + 1);
                MoveToEx(dc, cx + r + k - 1, cy - r, nullptr);
                LineTo(dc, cx - r + k - 2, cy + r + 1);
            }
            break;
        }
        case DFCS_CAPTIONMIN: {
            RECT bar{cx - 4, b.bottom - 5, cx + 2, b.bottom - 3};
            FillSolid(dc, bar, color);
            break;
        }
        case DFCS_CAPTIONMAX: {
            RECT box{cx - 5, cy - 5, cx + 4, cy + 4};
            HBRUSH brush = CreateSolidBrush(color);
            FrameRect(dc, &box, brush);
            RECT topLine{box.left, box.top + 1, box.right, box.top + 2};
            FillRect(dc, &topLine, brush);
            DeleteObject(brush);
            break;
        }
        case DFCS_CAPTIONRESTORE: {
            HBRUSH brush = CreateSolidBrush(color);
            RECT back{cx - 3, cy - 5, cx + 4, cy + 1};
            RECT front{cx - 5, cy - 2, cx + 2, cy + 4};
            FrameRect(dc, &back, brush);
            RECT backTop{back.left, back.top + 1, back.right, back.top + 2};
            FillRect(dc, &backTop, brush);
            FillSolid(dc, front, GetSysColor(COLOR_3DFACE));
            FrameRect(dc, &front, brush);
            RECT frontTop{front.left, front.top + 1, front.right, front.top + 2};
            FillRect(dc, &frontTop, brush);
            DeleteObject(brush);
            break;
        }
    }
    SelectObject(dc, old);
    DeleteObject(pen);
}
}  // namespace

void DrawCaptionButton(HDC dc, const RECT& r, UINT kind, bool pushed, bool enabled) {
    RECT b = r;
    FillSolid(dc, b, GetSysColor(COLOR_3DFACE));
    DrawEdge(dc, &b, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    RECT g = r;
    if (pushed)
        OffsetRect(&g, 1, 1);
    if (!enabled) {
        RECT shadow = g;
        OffsetRect(&shadow, 1, 1);
        DrawGlyph(dc, shadow, kind, GetSysColor(COLOR_3DHILIGHT));
        DrawGlyph(dc, g, kind, GetSysColor(COLOR_GRAYTEXT));
    } else {
        DrawGlyph(dc, g, kind, GetSysColor(COLOR_BTNTEXT));
    }
}

void DrawSmallWindowIcon(HDC dc, const RECT& r) {
    // A small window: white body, caption-coloured title strip, dark outline.
    RECT outer{r.left + 1, r.top + 2, r.right - 1, r.bottom - 2};
    FillSolid(dc, outer, GetSysColor(COLOR_WINDOW));
    RECT strip{outer.left, outer.top, outer.right, outer.top + 3};
    FillSolid(dc, strip, GetSysColor(COLOR_ACTIVECAPTION));
    HBRUSH frame = CreateSolidBrush(GetSysColor(COLOR_BTNTEXT));
    FrameRect(dc, &outer, frame);
    DeleteObject(frame);
}

void DrawNonClient(HWND hwnd) {
    Snapshot s;
    if (!Take(hwnd, s))
        return;
    if (s.insets.left == 0 && s.insets.top == 0 && s.insets.right == 0 && s.insets.bottom == 0)
        return;
    HDC dc = GetWindowDC(hwnd);
    if (!dc)
        return;
    RECT wr = s.window;
    RECT client{s.client.left, s.client.top, wr.right - s.client.right, wr.bottom - s.client.bottom};
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    RECT r = wr;
    if (!s.native) {
        if (s.style & WS_THICKFRAME) {
            DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
            HBRUSH border = GetSysColorBrush(s.active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER);
            FrameRect(dc, &r, border);
            InflateRect(&r, -1, -1);
            FrameRect(dc, &r, border);
            InflateRect(&r, -1, -1);
        } else if ((s.style & WS_DLGFRAME) || (s.exStyle & WS_EX_DLGMODALFRAME)) {
            DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
            FrameRect(dc, &r, GetSysColorBrush(COLOR_3DFACE));
            InflateRect(&r, -1, -1);
        } else if (s.style & WS_BORDER) {
            FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
            InflateRect(&r, -1, -1);
        }
    }
    if (HasCaption(s)) {
        CaptionParts p = Parts(s);
        RECT cap = p.caption;
        COLORREF c1 = GetSysColor(s.active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
        COLORREF c2 = GetSysColor(s.active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION);
        int width = std::max<LONG>(1, cap.right - cap.left);
        for (int x = cap.left; x < cap.right; ++x) {
            int t = x - cap.left;
            COLORREF c = RGB(GetRValue(c1) + (GetRValue(c2) - GetRValue(c1)) * t / width,
                             GetGValue(c1) + (GetGValue(c2) - GetGValue(c1)) * t / width,
                             GetBValue(c1) + (GetBValue(c2) - GetBValue(c1)) * t / width);
            FillSolid(dc, RECT{x, cap.top, x + 1, cap.bottom}, c);
        }
        FillSolid(dc, RECT{cap.left, cap.bottom, cap.right, cap.bottom + 1}, GetSysColor(COLOR_3DFACE));
        RECT textRect{cap.left + 4, cap.top, cap.right - 4, cap.bottom};
        if (!IsRectEmpty(&p.icon)) {
            DrawSmallWindowIcon(dc, p.icon);
            textRect.left = p.icon.right + 2;
        }
        bool zoomed = (s.style & WS_MAXIMIZE) != 0;
        bool iconic = (s.style & WS_MINIMIZE) != 0;
        if (p.hasClose) {
            DrawCaptionButton(dc, p.close, DFCS_CAPTIONCLOSE, false, true);
            textRect.right = p.close.left - 2;
        }
        if (p.hasMax) {
            DrawCaptionButton(dc, p.max, zoomed ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX, false,
                              (s.style & WS_MAXIMIZEBOX) != 0);
            DrawCaptionButton(dc, p.min, iconic ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN, false,
                              (s.style & WS_MINIMIZEBOX) != 0);
            textRect.right = p.min.left - 2;
        }
        HGDIOBJ oldFont = SelectObject(dc, CaptionFont(IsTool(s)));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(s.active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
        DrawText(dc, s.text.c_str(), (int)s.text.size(), &textRect,
                 DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        SelectObject(dc, oldFont);
    }
    if (s.menuBar) {
        int edge = (s.exStyle & WS_EX_CLIENTEDGE) ? 2 : (s.exStyle & WS_EX_STATICEDGE) ? 1 : 0;
        int top = s.insets.top - edge - s.menuBar;
        RECT bar{s.insets.left - edge, top, wr.right - s.insets.right + edge, top + s.menuBar};
        DrawMenuBarInto(hwnd, dc, bar);
    }
    // The edge goes round the client area and the frame's scroll bars.
    RECT outer = client;
    if (s.style & WS_VSCROLL)
        outer.right += GetSystemMetrics(SM_CXVSCROLL);
    if (s.style & WS_HSCROLL)
        outer.bottom += GetSystemMetrics(SM_CYHSCROLL);
    if (s.exStyle & WS_EX_CLIENTEDGE) {
        RECT e = outer;
        InflateRect(&e, 2, 2);
        DrawEdge(dc, &e, EDGE_SUNKEN, BF_RECT);
    } else if (s.exStyle & WS_EX_STATICEDGE) {
        RECT e = outer;
        InflateRect(&e, 1, 1);
        DrawEdge(dc, &e, BDR_SUNKENOUTER, BF_RECT);
    }
    DrawWindowScrollBars(hwnd, dc);
    ReleaseDC(hwnd, dc);
}

namespace {
// Presses a caption button: the button shows pushed while the mouse is down over it; TRUE when it is
// released over it.
bool TrackCaptionButton(HWND hwnd, LRESULT hit) {
    Snapshot s;
    if (!Take(hwnd, s))
        return false;
    CaptionParts parts = Parts(s);
    RECT button = hit == HTCLOSE ? parts.close : hit == HTMAXBUTTON ? parts.max : parts.min;
    UINT kind = hit == HTCLOSE       ? DFCS_CAPTIONCLOSE
                : hit == HTMAXBUTTON ? ((s.style & WS_MAXIMIZE) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX)
                                     : ((s.style & WS_MINIMIZE) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN);
    auto draw = [&](bool pushed) {
        HDC dc = GetWindowDC(hwnd);
        if (!dc)
            return;
        DrawCaptionButton(dc, button, kind, pushed, true);
        ReleaseDC(hwnd, dc);
        FlushPresents(GetCurrentThreadId());
    };
    draw(true);
    SetCapture(hwnd);
    bool inside = true, released = false;
    while (IsWindow(hwnd) && GetCapture() == hwnd) {
        MSG msg;
        if (!GetMessage(&msg, nullptr, 0, 0)) {
            PostQuitMessage((int)msg.wParam);
            break;
        }
        if (CallMsgFilter(&msg, MSGF_DIALOGBOX))
            continue;
        if (msg.message == WM_NCMOUSEMOVE)
            msg.message = WM_MOUSEMOVE;
        if (msg.message == WM_NCLBUTTONUP)
            msg.message = WM_LBUTTONUP;
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
            RECT wr;
            GetWindowRect(hwnd, &wr);
            POINT p{msg.pt.x - wr.left, msg.pt.y - wr.top};
            bool now = PtInRect(&button, p) != FALSE;
            if (now != inside) {
                inside = now;
                draw(inside);
            }
            if (msg.message == WM_LBUTTONUP) {
                released = inside;
                break;
            }
            continue;
        }
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
            break;
        if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST)
            continue;
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    if (GetCapture() == hwnd)
        ReleaseCapture();
    if (IsWindow(hwnd))
        draw(false);
    return released;
}

// Enables and greys the window menu's items by the window's state; the program's own changes stay.
void UpdateSystemMenu(HWND hwnd, HMENU menu) {
    LONG_PTR style = GetWindowLongPtr(hwnd, GWL_STYLE);
    bool zoomed = style & WS_MAXIMIZE, iconic = style & WS_MINIMIZE;
    auto enable = [&](UINT id, bool on) {
        EnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    };
    enable(SC_RESTORE, zoomed || iconic);
    enable(SC_MOVE, !zoomed);
    enable(SC_SIZE, !zoomed && !iconic && (style & WS_THICKFRAME));
    enable(SC_MINIMIZE, !iconic && (style & WS_MINIMIZEBOX));
    enable(SC_MAXIMIZE, !zoomed && (style & WS_MAXIMIZEBOX));
}

// Where the window menu opens: under the caption, inside the frame.
POINT SystemMenuPlace(HWND hwnd) {
    RECT wr;
    GetWindowRect(hwnd, &wr);
    Snapshot s;
    Take(hwnd, s);
    return POINT{wr.left + s.frame, wr.top + s.frame + CaptionHeight(s) + 1};
}

// Moves (hit HTCAPTION) or sizes (a border hit code) the window with the mouse until the button is
// released; Escape puts it back. The window follows at once.
void MoveSizeLoop(HWND hwnd, UINT command, LRESULT hit, POINT start) {
    bool move = (command & 0xFFF0) == SC_MOVE;
    if (HasHooks(WH_CBT) && CallHooks(WH_CBT, HCBT_MOVESIZE, (WPARAM)hwnd, 0) != 0)
        return;
    RECT original;
    GetWindowRect(hwnd, &original);
    HWND parent = (GetWindowLongPtr(hwnd, GWL_STYLE) & WS_CHILD) ? GetParent(hwnd) : nullptr;
    auto place = [&](RECT screenRect) {
        POINT tl{screenRect.left, screenRect.top};
        if (parent)
            ScreenToClient(parent, &tl);
        SetWindowPos(hwnd, nullptr, tl.x, tl.y, screenRect.right - screenRect.left,
                     screenRect.bottom - screenRect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    MINMAXINFO info{};
    info.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMIN), GetSystemMetrics(SM_CYMIN)};
    info.ptMaxTrackSize = POINT{1 << 15, 1 << 15};
    SendMessage(hwnd, WM_GETMINMAXINFO, 0, (LPARAM)&info);
    SendMessage(hwnd, WM_ENTERSIZEMOVE, 0, 0);
    SetCapture(hwnd);
    bool cancelled = false;
    while (IsWindow(hwnd) && GetCapture() == hwnd) {
        MSG msg;
        if (!GetMessage(&msg, nullptr, 0, 0)) {
            PostQuitMessage((int)msg.wParam);
            break;
        }
        if (CallMsgFilter(&msg, move ? kMsgfMove : kMsgfSize))
            continue;
        // Input queued before the capture was taken may still carry non-client codes.
        if (msg.message == WM_NCMOUSEMOVE)
            msg.message = WM_MOUSEMOVE;
        if (msg.message == WM_NCLBUTTONUP)
            msg.message = WM_LBUTTONUP;
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
            int dx = msg.pt.x - start.x, dy = msg.pt.y - start.y;
            RECT r = original;
            if (move) {
                OffsetRect(&r, dx, dy);
                SendMessage(hwnd, WM_MOVING, 0, (LPARAM)&r);
            } else {
                UINT edge = (UINT)(hit - HTLEFT + WMSZ_LEFT);
                bool left = hit == HTLEFT || hit == HTTOPLEFT || hit == HTBOTTOMLEFT;
                bool right = hit == HTRIGHT || hit == HTTOPRIGHT || hit == HTBOTTOMRIGHT;
                bool top = hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT;
                bool bottom = hit == HTBOTTOM || hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT;
                if (left)
                    r.left = std::clamp<LONG>(r.left + dx, r.right - info.ptMaxTrackSize.x,
                                              r.right - info.ptMinTrackSize.x);
                if (right)
                    r.right = std::clamp<LONG>(r.right + dx, r.left + info.ptMinTrackSize.x,
                                               r.left + info.ptMaxTrackSize.x);
                if (top)
                    r.top = std::clamp<LONG>(r.top + dy, r.bottom - info.ptMaxTrackSize.y,
                                             r.bottom - info.ptMinTrackSize.y);
                if (bottom)
                    r.bottom = std::clamp<LONG>(r.bottom + dy, r.top + info.ptMinTrackSize.y,
                                                r.top + info.ptMaxTrackSize.y);
                SendMessage(hwnd, WM_SIZING, edge, (LPARAM)&r);
            }
            place(r);
            if (msg.message == WM_LBUTTONUP)
                break;
            continue;
        }
        if (msg.message == WM_KEYDOWN) {
            if (msg.wParam == VK_ESCAPE) {
                cancelled = true;
                break;
            }
            if (msg.wParam == VK_RETURN)
                break;
            continue;
        }
        if ((msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) || msg.message == WM_CHAR ||
            msg.message == WM_KEYUP)
            continue;
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    if (GetCapture() == hwnd)
        ReleaseCapture();
    if (!IsWindow(hwnd))
        return;
    if (cancelled)
        place(original);
    SendMessage(hwnd, WM_EXITSIZEMOVE, 0, 0);
}
}  // namespace

void TrackSystemMenu(HWND hwnd, POINT screen) {
    HMENU m = GetSystemMenu(hwnd, FALSE);
    if (!m)
        return;
    UpdateSystemMenu(hwnd, m);
    UINT cmd = (UINT)TrackPopupMenu(m, TPM_RETURNCMD | TPM_LEFTALIGN, screen.x, screen.y, 0, hwnd, nullptr);
    if (!cmd || !IsWindow(hwnd))
        return;
    // The command carries where the pointer is, whether the item was chosen by mouse or by key.
    POINT at;
    GetCursorPos(&at);
    SendMessage(hwnd, WM_SYSCOMMAND, cmd, MAKELPARAM(at.x, at.y));
}

bool DefNonClientMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    *result = 0;
    switch (msg) {
        case WM_NCHITTEST:
            *result = HitTestOf(hwnd, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return true;
        case WM_NCLBUTTONDOWN: {
            POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            // A click on an inactive MDI child's frame activates it first.
            if (GetWindowLongPtr(hwnd, GWL_EXSTYLE) & WS_EX_MDICHILD)
                SendMessage(hwnd, WM_CHILDACTIVATE, 0, 0);
            switch (wParam) {
                case HTHSCROLL:
                case HTVSCROLL:
                    TrackWindowScrollBar(hwnd, (LRESULT)wParam, pt);
                    break;
                case HTCAPTION:
                    SendMessage(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam);
                    break;
                case HTLEFT:
                case HTRIGHT:
                case HTTOP:
                case HTTOPLEFT:
                case HTTOPRIGHT:
                case HTBOTTOM:
                case HTBOTTOMLEFT:
                case HTBOTTOMRIGHT:
                    SendMessage(hwnd, WM_SYSCOMMAND, SC_SIZE + (wParam - HTLEFT + WMSZ_LEFT), lParam);
                    break;
                case HTCLOSE:
                case HTMINBUTTON:
                case HTMAXBUTTON:
                    if (TrackCaptionButton(hwnd, (LRESULT)wParam)) {
                        UINT sc = wParam == HTCLOSE       ? SC_CLOSE
                                  : wParam == HTMINBUTTON ? (IsIconic(hwnd) ? SC_RESTORE : SC_MINIMIZE)
                                                          : (IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE);
                        SendMessage(hwnd, WM_SYSCOMMAND, sc, lParam);
                    }
                    break;
                case HTSYSMENU:
                    SendMessage(hwnd, WM_SYSCOMMAND, SC_MOUSEMENU | HTSYSMENU, lParam);
                    break;
                case HTMENU:
                    SendMessage(hwnd, WM_SYSCOMMAND, SC_MOUSEMENU | HTMENU, lParam);
                    break;
                default:
                    break;
            }
            (void)pt;
            return true;
        }
        case WM_NCLBUTTONDBLCLK:
            if (wParam == HTCAPTION) {
                LONG_PTR style = GetWindowLongPtr(hwnd, GWL_STYLE);
                if (style & (WS_MAXIMIZE | WS_MINIMIZE))
                    SendMessage(hwnd, WM_SYSCOMMAND, SC_RESTORE, lParam);
                else if (style & WS_MAXIMIZEBOX)
                    SendMessage(hwnd, WM_SYSCOMMAND, SC_MAXIMIZE, lParam);
            } else if (wParam == HTSYSMENU) {
                SendMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, lParam);
            } else if (wParam == HTHSCROLL || wParam == HTVSCROLL) {
                // A second press on a scroll bar scrolls again.
                TrackWindowScrollBar(hwnd, (LRESULT)wParam, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            }
            return true;
        case WM_SYSCOMMAND: {
            UINT sc = (UINT)(wParam & 0xFFF0);
            POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            switch (sc) {
                case SC_CLOSE:
                    SendMessage(hwnd, WM_CLOSE, 0, 0);
                    break;
                case SC_MINIMIZE:
                    ShowWindow(hwnd, SW_MINIMIZE);
                    break;
                case SC_MAXIMIZE:
                    ShowWindow(hwnd, SW_MAXIMIZE);
                    break;
                case SC_RESTORE:
                    ShowWindow(hwnd, SW_RESTORE);
                    break;
                case SC_MOVE:
                    if (!IsZoomed(hwnd))
                        MoveSizeLoop(hwnd, sc, HTCAPTION, pt);
                    break;
                case SC_SIZE: {
                    UINT edge = (UINT)(wParam & 0x000F);
                    if (edge && !IsZoomed(hwnd) && !IsIconic(hwnd))
                        MoveSizeLoop(hwnd, sc, (LRESULT)(HTLEFT + edge - WMSZ_LEFT), pt);
                    break;
                }
                case SC_MOUSEMENU:
                    if ((wParam & 0x000F) == HTMENU) {
                        MenuBarClick(hwnd, pt);
                    } else {
                        TrackSystemMenu(hwnd, SystemMenuPlace(hwnd));
                    }
                    break;
                case SC_KEYMENU: {
                    // Alt+Space opens the system menu; another character a menu by mnemonic; none the bar.
                    if (lParam == ' ') {
                        TrackSystemMenu(hwnd, SystemMenuPlace(hwnd));
                        break;
                    }
                    HWND top = GetAncestor(hwnd, GA_ROOT);
                    if (GetMenu(top))
                        MenuBarKey(top, (char)lParam);
                    else if (lParam)
                        MessageBeep(0);
                    break;
                }
                default:
                    break;
            }
            return true;
        }
        case WM_SYSKEYDOWN:
            t_altAlone = wParam == VK_MENU;
            if (wParam == VK_F4)
                SendMessage(GetAncestor(hwnd, GA_ROOT), WM_SYSCOMMAND, SC_CLOSE, 0);
            else if (wParam == VK_F10)
                SendMessage(GetAncestor(hwnd, GA_ROOT), WM_SYSCOMMAND, SC_KEYMENU, 0);
            return true;
        case WM_SYSKEYUP:
            // Alt pressed and released with no other key between selects the menu bar.
            if (wParam == VK_MENU && t_altAlone) {
                t_altAlone = false;
                SendMessage(GetAncestor(hwnd, GA_ROOT), WM_SYSCOMMAND, SC_KEYMENU, 0);
            }
            return true;
        case WM_SYSCHAR:
            t_altAlone = false;
            if (wParam == VK_RETURN || wParam == VK_ESCAPE)
                return true;
            SendMessage(GetAncestor(hwnd, GA_ROOT), WM_SYSCOMMAND, SC_KEYMENU, (LPARAM)(unsigned char)wParam);
            return true;
        default:
            return false;
    }
}

}  // namespace user
