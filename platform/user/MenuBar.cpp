// The menu bar of a top-level window: layout in its non-client area, drawing, and the loop that opens
// its popups by click, Alt, F10 and mnemonics (moving between popups with Left and Right).
#include <algorithm>
#include <map>
#include <mutex>
#include <string>

#include "platform/user/Menu.h"
#include "platform/user/UserInternal.h"

namespace user {
namespace {
constexpr int kRowHeight = 19;     // one row of items
constexpr int kItemPadding = 7;    // blank on each side of an item's text
constexpr int kMdiIconWidth = 20;  // a maximised MDI child's system-menu icon at the start of the bar

struct BarState {
    int hot = -1;   // highlighted item (keyboard mode)
    int open = -1;  // item whose popup is open
    bool keyboard = false;
};
std::mutex g_barMutex;
std::map<HWND, BarState> g_bars;

HFONT MenuFont() {
    return (HFONT)GetStockObject(DEFAULT_GUI_FONT);
}

std::string ItemText(HMENU menu, int index) {
    int n = GetMenuString(menu, (UINT)index, nullptr, 0, MF_BYPOSITION);
    std::string s((size_t)n + 1, '\0');
    n = GetMenuString(menu, (UINT)index, s.data(), n + 1, MF_BYPOSITION);
    s.resize((size_t)std::max(0, n));
    return s;
}

int TextWidthNoPrefix(HDC dc, const std::string& text) {
    RECT r{0, 0, 0, 0};
    DrawText(dc, text.c_str(), (int)text.size(), &r, DT_SINGLELINE | DT_CALCRECT);
    return r.right - r.left;
}

// The maximised MDI child whose buttons the bar of `hwnd` shows, or null.
HWND MaximizedMdiChild(HWND hwnd) {
    HWND child = (HWND)GetProp(hwnd, "MdiMaximizedChild");
    return child && IsWindow(child) && IsZoomed(child) ? child : nullptr;
}

// Item rectangles in coordinates of the bar's own top-left, rows wrapped at `width`.
std::vector<RECT> LayoutItems(HMENU menu, int width, bool mdiButtons, int* rows) {
    std::vector<RECT> out;
    int count = GetMenuItemCount(menu);
    if (count <= 0) {
        *rows = 1;
        return out;
    }
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, MenuFont());
    int left = mdiButtons ? kMdiIconWidth : 0;
    int right = width - (mdiButtons ? 3 * 16 + 4 : 0);
    int x = left, row = 0;
    for (int i = 0; i < count; ++i) {
        int w = TextWidthNoPrefix(dc, ItemText(menu, i)) + 2 * kItemPadding;
        if (x > left && x + w > right) {
            ++row;
            x = left;
        }
        out.push_back(RECT{x, row * kRowHeight, x + w, row * kRowHeight + kRowHeight});
        x += w;
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    *rows = row + 1;
    return out;
}

// The bar's rectangle in window coordinates (under no lock).
bool BarRect(HWND hwnd, RECT* bar, HMENU* menu) {
    std::lock_guard<std::mutex> g(Lock());
    WindowData* w = Find(hwnd);
    if (!w || !w->menu || (w->style & WS_CHILD) || w->menuBarHeight <= 0)
        return false;
    RECT in = NonClientInsets(*w);
    int edge = (w->exStyle & WS_EX_CLIENTEDGE) ? 2 : (w->exStyle & WS_EX_STATICEDGE) ? 1 : 0;
    int width = w->rect.right - w->rect.left;
    int top = in.top - edge - w->menuBarHeight;
    *bar = RECT{in.left - edge, top, width - in.right + edge, top + w->menuBarHeight};
    *menu = w->menu;
    return true;
}

struct BarGeometry {
    RECT bar{};
    HMENU menu = nullptr;
    std::vector<RECT> items;  // window coordinates
    HWND mdiChild = nullptr;
    RECT mdiIcon{}, mdiMin{}, mdiRestore{}, mdiClose{};
};

bool Geometry(HWND hwnd, BarGeometry& g) {
    if (!BarRect(hwnd, &g.bar, &g.menu))
        return false;
    g.mdiChild = MaximizedMdiChild(hwnd);
    int rows = 1;
    g.items = LayoutItems(g.menu, g.bar.right - g.bar.left, g.mdiChild != nullptr, &rows);
    for (RECT& r : g.items)
        OffsetRect(&r, g.bar.left, g.bar.top);
    if (g.mdiChild) {
        g.mdiIcon = RECT{g.bar.left + 2, g.bar.top + 1, g.bar.left + 18, g.bar.top + 17};
        int top = g.bar.top + 2;
        g.mdiClose = RECT{g.bar.right - 2 - 16, top, g.bar.right - 2, top + 14};
        g.mdiRestore = RECT{g.mdiClose.left - 2 - 16, top, g.mdiClose.left - 2, top + 14};
        g.mdiMin = RECT{g.mdiRestore.left - 16, top, g.mdiRestore.left, top + 14};
    }
    return true;
}

int ItemAtPoint(const BarGeometry& g, POINT windowPt) {
    for (size_t i = 0; i < g.items.size(); ++i)
        if (PtInRect(&g.items[i], windowPt))
            return (int)i;
    return -1;
}

POINT ToWindow(HWND hwnd, POINT screen) {
    RECT wr;
    GetWindowRect(hwnd, &wr);
    return POINT{screen.x - wr.left, screen.y - wr.top};
}

void RedrawBar(HWND hwnd) {
    BarGeometry g;
    if (!Geometry(hwnd, g))
        return;
    HDC dc = GetWindowDC(hwnd);
    if (!dc)
        return;
    DrawMenuBarInto(hwnd, dc, g.bar);
    ReleaseDC(hwnd, dc);
    FlushPresents(GetCurrentThreadId());
}

void SetBarState(HWND hwnd, int hot, int open, bool keyboard) {
    {
        std::lock_guard<std::mutex> g(g_barMutex);
        if (hot < 0 && open < 0 && !keyboard)
            g_bars.erase(hwnd);
        else
            g_bars[hwnd] = BarState{hot, open, keyboard};
    }
    RedrawBar(hwnd);
}

// The loop's link to the popup being tracked: the filter hook turns Left/Right and the mouse over
// another bar item into a switch.
struct TrackContext {
    HWND hwnd = nullptr;
    int index = -1;
    int count = 0;
    int switchTo = -1;
    bool toggledOff = false;
    HHOOK hook = nullptr;
};
thread_local TrackContext* t_track = nullptr;

// The message the popup is about to handle becomes an Escape, which closes it in turn, before any
// input queued after it.
void TurnIntoEscape(MSG* msg) {
    msg->message = WM_KEYDOWN;
    msg->wParam = VK_ESCAPE;
    msg->lParam = 1;
}

LRESULT FilterProc(int code, WPARAM wParam, LPARAM lParam) {
    TrackContext* t = t_track;
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (t && code == MSGF_MENU && msg) {
        if (msg->message == WM_KEYDOWN && (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT) &&
            t->count > 0) {
            int step = msg->wParam == VK_LEFT ? -1 : 1;
            t->switchTo = (t->index + step + t->count) % t->count;
            TurnIntoEscape(msg);
            return FALSE;
        }
        bool onBar = msg->hwnd == t->hwnd && msg->wParam == HTMENU;
        if (onBar && (msg->message == WM_NCMOUSEMOVE || msg->message == WM_NCLBUTTONDOWN ||
                      msg->message == WM_NCLBUTTONDBLCLK)) {
            BarGeometry g;
            int at = Geometry(t->hwnd, g) ? ItemAtPoint(g, ToWindow(t->hwnd, msg->pt)) : -1;
            if (msg->message == WM_NCMOUSEMOVE) {
                if (at < 0 || at == t->index)
                    return TRUE;
                t->switchTo = at;
            } else if (at == t->index || at < 0) {
                t->toggledOff = true;  // a click on the open item closes it
            } else {
                t->switchTo = at;
            }
            TurnIntoEscape(msg);
            return FALSE;
        }
        if (msg->message == WM_NCLBUTTONUP && msg->hwnd == t->hwnd)
            return TRUE;
    }
    return CallNextHookEx(t ? t->hook : nullptr, code, wParam, lParam);
}

int FindMnemonic(HMENU menu, char ch) {
    char want = AsciiLower(ch);
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        std::string text = ItemText(menu, i);
        for (size_t k = 0; k + 1 < text.size(); ++k) {
            if (text[k] != '&')
                continue;
            if (text[k + 1] == '&') {
                ++k;
                continue;
            }
            if (AsciiLower(text[k + 1]) == want)
                return i;
            break;
        }
    }
    return -1;
}

bool ItemEnabled(HMENU menu, int index) {
    UINT state = GetMenuState(menu, (UINT)index, MF_BYPOSITION);
    return state != (UINT)-1 && !(state & (MF_GRAYED | MF_DISABLED));
}

// Opens item `index` and follows the user from popup to popup; returns when a command was chosen or the
// menu was left.
void RunOpenLoop(HWND hwnd, HMENU menu, int index) {
    int count = GetMenuItemCount(menu);
    while (index >= 0 && index < count && IsWindow(hwnd)) {
        HMENU popup = GetSubMenu(menu, index);
        if (!popup) {
            // A command on the bar itself.
            UINT id = GetMenuItemID(menu, index);
            if (ItemEnabled(menu, index))
                PostMessage(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
            return;
        }
        SetBarState(hwnd, -1, index, false);
        SendMessage(hwnd, WM_MENUSELECT, MAKEWPARAM(index, MF_POPUP | 0x80 /* MF_HILITE */), (LPARAM)menu);
        BarGeometry g;
        if (!Geometry(hwnd, g))
            return;
        RECT wr;
        GetWindowRect(hwnd, &wr);
        RECT item = g.items[(size_t)index];
        TrackContext ctx;
        ctx.hwnd = hwnd;
        ctx.index = index;
        ctx.count = count;
        TrackContext* outer = t_track;
        t_track = &ctx;
        ctx.hook = SetWindowsHookEx(WH_MSGFILTER, FilterProc, nullptr, GetCurrentThreadId());
        UINT cmd = (UINT)TrackPopupMenu(popup, TPM_RETURNCMD | TPM_LEFTALIGN, wr.left + item.left,
                                        wr.top + item.bottom, 0, hwnd, nullptr);
        UnhookWindowsHookEx(ctx.hook);
        t_track = outer;
        if (cmd) {
            PostMessage(hwnd, WM_COMMAND, MAKEWPARAM(cmd, 0), 0);
            return;
        }
        if (ctx.toggledOff || ctx.switchTo < 0)
            return;
        index = ctx.switchTo;
    }
}

// Keyboard mode (Alt or F10 alone): an item is highlighted; Left/Right move, Down/Enter or a mnemonic
// open, Escape or a click elsewhere leave.
void RunKeyboardLoop(HWND hwnd, HMENU menu) {
    int count = GetMenuItemCount(menu);
    if (count <= 0)
        return;
    int hot = 0;
    SetBarState(hwnd, hot, -1, true);
    SetCapture(hwnd);
    bool quit = false;
    int quitCode = 0;
    for (;;) {
        MSG msg;
        if (!GetMessage(&msg, nullptr, 0, 0)) {
            quit = true;
            quitCode = (int)msg.wParam;
            break;
        }
        if (CallMsgFilter(&msg, MSGF_MENU))
            continue;
        if (!IsWindow(hwnd))
            break;
        if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
            if (msg.wParam == VK_LEFT || msg.wParam == VK_RIGHT) {
                hot = (hot + (msg.wParam == VK_LEFT ? -1 : 1) + count) % count;
                SetBarState(hwnd, hot, -1, true);
            } else if (msg.wParam == VK_DOWN || msg.wParam == VK_RETURN || msg.wParam == VK_UP) {
                ReleaseCapture();
                RunOpenLoop(hwnd, menu, hot);
                break;
            } else if (msg.wParam == VK_ESCAPE || msg.wParam == VK_MENU || msg.wParam == VK_F10) {
                break;
            }
            continue;
        }
        if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) {
            int at = FindMnemonic(menu, (char)msg.wParam);
            if (at >= 0) {
                ReleaseCapture();
                RunOpenLoop(hwnd, menu, at);
                break;
            }
            MessageBeep(0);
            continue;
        }
        if (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP)
            continue;
        bool button = msg.message == WM_LBUTTONDOWN || msg.message == WM_NCLBUTTONDOWN ||
                      msg.message == WM_RBUTTONDOWN || msg.message == WM_NCRBUTTONDOWN;
        if (button) {
            BarGeometry g;
            int at = Geometry(hwnd, g) ? ItemAtPoint(g, ToWindow(hwnd, msg.pt)) : -1;
            ReleaseCapture();
            if (at >= 0)
                RunOpenLoop(hwnd, menu, at);
            break;
        }
        if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST)
            continue;
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    if (GetCapture() == hwnd)
        ReleaseCapture();
    if (quit)
        PostQuitMessage(quitCode);
}
}  // namespace

int MenuBarHeight(HMENU menu, int width) {
    if (!menu)
        return 0;
    int rows = 1;
    LayoutItems(menu, std::max(1, width), false, &rows);
    return rows * kRowHeight;
}

void DrawMenuBarInto(HWND hwnd, HDC dc, const RECT& bar) {
    BarGeometry g;
    if (!Geometry(hwnd, g))
        return;
    BarState state;
    {
        std::lock_guard<std::mutex> lock(g_barMutex);
        auto it = g_bars.find(hwnd);
        if (it != g_bars.end())
            state = it->second;
    }
    FillRect(dc, &bar, GetSysColorBrush(COLOR_MENU));
    HGDIOBJ oldFont = SelectObject(dc, MenuFont());
    SetBkMode(dc, TRANSPARENT);
    for (size_t i = 0; i < g.items.size(); ++i) {
        RECT r = g.items[i];
        std::string text = ItemText(g.menu, (int)i);
        bool enabled = ItemEnabled(g.menu, (int)i);
        if ((int)i == state.open) {
            DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
        } else if ((int)i == state.hot) {
            DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
        }
        RECT t = r;
        if ((int)i == state.open)
            OffsetRect(&t, 1, 1);
        UINT fmt = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        if (!enabled) {
            RECT shadow = t;
            OffsetRect(&shadow, 1, 1);
            SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
            DrawText(dc, text.c_str(), (int)text.size(), &shadow, fmt);
            SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        } else {
            SetTextColor(dc, GetSysColor(COLOR_MENUTEXT));
        }
        DrawText(dc, text.c_str(), (int)text.size(), &t, fmt);
    }
    SelectObject(dc, oldFont);
    if (g.mdiChild) {
        // The maximised child's system-menu icon and its minimise, restore and close buttons.
        DrawCaptionButton(dc, g.mdiMin, DFCS_CAPTIONMIN, false, true);
        DrawCaptionButton(dc, g.mdiRestore, DFCS_CAPTIONRESTORE, false, true);
        DrawCaptionButton(dc, g.mdiClose, DFCS_CAPTIONCLOSE, false, true);
        DrawSmallWindowIcon(dc, g.mdiIcon);
    }
}

// Hit codes inside the bar, and what a click on it does (from DefWindowProc).
bool MenuBarHit(HWND hwnd, POINT screen) {
    BarGeometry g;
    if (!Geometry(hwnd, g))
        return false;
    POINT p = ToWindow(hwnd, screen);
    return PtInRect(&g.bar, p) != FALSE;
}

void MenuBarClick(HWND hwnd, POINT screen) {
    BarGeometry g;
    if (!Geometry(hwnd, g))
        return;
    POINT p = ToWindow(hwnd, screen);
    if (g.mdiChild) {
        UINT sc = PtInRect(&g.mdiMin, p)       ? SC_MINIMIZE
                  : PtInRect(&g.mdiRestore, p) ? SC_RESTORE
                  : PtInRect(&g.mdiClose, p)   ? SC_CLOSE
                                               : 0;
        if (sc) {
            SendMessage(g.mdiChild, WM_SYSCOMMAND, sc, 0);
            return;
        }
        if (PtInRect(&g.mdiIcon, p)) {
            RECT wr;
            GetWindowRect(hwnd, &wr);
            TrackSystemMenu(g.mdiChild, POINT{wr.left + g.mdiIcon.left, wr.top + g.bar.bottom});
            return;
        }
    }
    int at = ItemAtPoint(g, p);
    if (at < 0)
        return;
    SendMessage(hwnd, WM_ENTERMENULOOP, FALSE, 0);
    SendMessage(hwnd, WM_INITMENU, (WPARAM)g.menu, 0);
    RunOpenLoop(hwnd, g.menu, at);
    SetBarState(hwnd, -1, -1, false);
    if (IsWindow(hwnd)) {
        SendMessage(hwnd, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
        SendMessage(hwnd, WM_EXITMENULOOP, FALSE, 0);
    }
}

void MenuBarKey(HWND hwnd, char mnemonic) {
    BarGeometry g;
    if (!Geometry(hwnd, g))
        return;
    int at = -1;
    if (mnemonic) {
        at = FindMnemonic(g.menu, mnemonic);
        if (at < 0) {
            MessageBeep(0);
            return;
        }
    }
    SendMessage(hwnd, WM_ENTERMENULOOP, FALSE, 0);
    SendMessage(hwnd, WM_INITMENU, (WPARAM)g.menu, 0);
    if (at >= 0)
        RunOpenLoop(hwnd, g.menu, at);
    else
        RunKeyboardLoop(hwnd, g.menu);
    SetBarState(hwnd, -1, -1, false);
    if (IsWindow(hwnd)) {
        SendMessage(hwnd, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
        SendMessage(hwnd, WM_EXITMENULOOP, FALSE, 0);
    }
}

bool UpdateMenuBarRows(HWND hwnd, int width) {
    HMENU menu;
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w || (w->style & WS_CHILD))
            return false;
        menu = w->menu;
    }
    int rows = 1;
    int height = 0;
    if (menu) {
        LayoutItems(menu, std::max(1, width), MaximizedMdiChild(hwnd) != nullptr, &rows);
        height = rows * kRowHeight;
    }
    std::lock_guard<std::mutex> g(Lock());
    WindowData* w = Find(hwnd);
    if (!w || w->menuBarHeight == height)
        return false;
    w->menuBarHeight = height;
    return true;
}

void RefreshMenuBarHeight(HWND hwnd) {
    RECT wr;
    if (!GetWindowRect(hwnd, &wr))
        return;
    UpdateMenuBarRows(hwnd, wr.right - wr.left);
    // The client area is asked for again (it moves when the bar's rows change) and the frame redrawn.
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace user

using namespace user;

BOOL SetMenu(HWND hwnd, HMENU menu) {
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w || (w->style & WS_CHILD))
            return FALSE;
        w->menu = menu;
    }
    {
        std::lock_guard<std::mutex> g(g_barMutex);
        g_bars.erase(hwnd);
    }
    RefreshMenuBarHeight(hwnd);
    InvalidateFrame(hwnd);
    return TRUE;
}

HMENU GetMenu(HWND hwnd) {
    std::lock_guard<std::mutex> g(Lock());
    WindowData* w = Find(hwnd);
    if (!w || (w->style & WS_CHILD))
        return nullptr;
    return w->menu;
}

BOOL DrawMenuBar(HWND hwnd) {
    if (!IsWindow(hwnd))
        return FALSE;
    RefreshMenuBarHeight(hwnd);
    InvalidateFrame(hwnd);
    return TRUE;
}
