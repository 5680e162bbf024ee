// The MDICLIENT window: creates, activates, arranges and destroys a frame's MDI children, lists them in
// the frame's Window menu, and merges a maximised child into the frame's title and menu bar.
#include <algorithm>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/user/Controls.h"
#include "platform/user/Mdi.h"
#include "platform/user/Menu.h"
#include "platform/user/UserInternal.h"

namespace {
struct ClientData {
    HWND frame = nullptr;
    HMENU windowMenu = nullptr;
    UINT idFirstChild = 0;
    HWND active = nullptr;
    std::vector<HWND> order;  // creation order: the ids and the Window menu's list follow it
    UINT listed = 0;          // items this client added to the window menu (separator included)
    HMENU listedIn = nullptr;
};
std::mutex g_mdiMutex;
std::map<HWND, ClientData> g_clients;
std::map<HWND, std::string> g_frameTitles;  // a frame's own title, before a maximised child's name

ClientData* Data(HWND client) {
    auto it = g_clients.find(client);
    return it == g_clients.end() ? nullptr : &it->second;
}

template <class F>
auto WithData(HWND client, F f) -> decltype(f(*(ClientData*)nullptr)) {
    std::lock_guard<std::mutex> g(g_mdiMutex);
    ClientData* d = Data(client);
    if (!d)
        return decltype(f(*d))();
    return f(*d);
}

HWND ClientOf(HWND child) {
    HWND parent = GetParent(child);
    return parent && WithData(parent, [](ClientData&) { return true; }) ? parent : nullptr;
}

std::vector<HWND> ZOrder(HWND client, bool visibleOnly) {
    std::vector<HWND> out;
    for (HWND h = GetWindow(client, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        if ((!visibleOnly || IsWindowVisible(h)) && (GetWindowLongPtr(h, GWL_EXSTYLE) & WS_EX_MDICHILD))
            out.push_back(h);
    return out;
}

void ComposeFrameTitle(HWND frame, HWND maximized) {
    std::string base;
    {
        std::lock_guard<std::mutex> g(g_mdiMutex);
        auto it = g_frameTitles.find(frame);
        if (it == g_frameTitles.end())
            return;
        base = it->second;
    }
    std::string text = base;
    if (maximized) {
        std::string child = GetWindowTextString(maximized).GetString();
        if (!child.empty())
            text += (base.empty() ? "[" : " - [") + child + "]";
    }
    if (GetWindowTextString(frame) != text.c_str())
        DefWindowProc(frame, WM_SETTEXT, 0, (LPARAM)text.c_str());
}

// The frame's title and its menu bar follow the maximised active child.
void UpdateFrameDecor(HWND client) {
    HWND frame = GetParent(client);
    HWND active = WithData(client, [](ClientData& d) { return d.active; });
    HWND maximized = active && IsWindow(active) && IsZoomed(active) ? active : nullptr;
    HWND before = (HWND)GetProp(frame, "MdiMaximizedChild");
    if (maximized)
        SetProp(frame, "MdiMaximizedChild", maximized);
    else
        RemoveProp(frame, "MdiMaximizedChild");
    ComposeFrameTitle(frame, maximized);
    if (before != maximized && GetMenu(frame))
        DrawMenuBar(frame);
}

void RenumberChildren(ClientData& d) {
    for (size_t i = 0; i < d.order.size(); ++i)
        SetWindowLongPtr(d.order[i], GWLP_ID, (LONG_PTR)(d.idFirstChild + i));
}

// The Window menu ends with a separator and one "&n Title" item per visible child; the active one is
// checked. More than nine children add "&More Windows...".
void RefreshWindowMenu(HWND client) {
    ClientData d;
    {
        std::lock_guard<std::mutex> g(g_mdiMutex);
        ClientData* found = Data(client);
        if (!found)
            return;
        d = *found;
    }
    // No lock while the menu and the windows are asked: their procedures may call back in here.
    if (d.listedIn && IsMenu(d.listedIn)) {
        for (UINT i = 0; i < d.listed; ++i) {
            int n = GetMenuItemCount(d.listedIn);
            if (n <= 0)
                break;
            DeleteMenu(d.listedIn, (UINT)(n - 1), MF_BYPOSITION);
        }
    }
    UINT listed = 0;
    HMENU listedIn = nullptr;
    std::vector<HWND> shown;
    for (HWND h : d.order)
        if (IsWindowVisible(h))
            shown.push_back(h);
    if (d.windowMenu && IsMenu(d.windowMenu) && !shown.empty()) {
        listedIn = d.windowMenu;
        AppendMenu(d.windowMenu, MF_SEPARATOR, 0, nullptr);
        ++listed;
        for (size_t i = 0; i < shown.size() && i < 9; ++i) {
            std::string title = GetWindowTextString(shown[i]).GetString();
            std::string text = "&" + std::to_string(i + 1) + " " + title;
            UINT id = (UINT)GetWindowLongPtr(shown[i], GWLP_ID);
            AppendMenu(d.windowMenu, MF_STRING | (shown[i] == d.active ? MF_CHECKED : 0), id, text.c_str());
            ++listed;
        }
        if (shown.size() > 9) {
            AppendMenu(d.windowMenu, MF_STRING, d.idFirstChild + 9, "&More Windows...");
            ++listed;
        }
    }
    std::lock_guard<std::mutex> g(g_mdiMutex);
    if (ClientData* found = Data(client)) {
        found->listed = listed;
        found->listedIn = listedIn;
    }
}

void Activate(HWND client, HWND child) {
    HWND old = WithData(client, [](ClientData& d) { return d.active; });
    HWND frame = GetParent(client);
    if (old == child) {
        if (child && GetActiveWindow() == frame && GetFocus() != child && !IsChild(child, GetFocus()))
            SetFocus(child);
        return;
    }
    bool oldAlive = old && IsWindow(old);
    bool wasMax = oldAlive && IsZoomed(old);
    WithData(client, [&](ClientData& d) {
        d.active = child;
        return true;
    });
    if (oldAlive)
        SendMessage(old, WM_NCACTIVATE, FALSE, 0);
    if (child) {
        if (wasMax) {
            // The maximised state passes to the new child.
            if (!IsZoomed(child))
                ShowWindow(child, SW_SHOWMAXIMIZED);
            ShowWindow(old, SW_SHOWNOACTIVATE);
        }
        SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SendMessage(child, WM_NCACTIVATE, GetActiveWindow() == frame, 0);
    }
    if (oldAlive)
        SendMessage(old, WM_MDIACTIVATE, (WPARAM)old, (LPARAM)child);
    if (child && IsWindow(child)) {
        SendMessage(child, WM_MDIACTIVATE, (WPARAM)old, (LPARAM)child);
        if (GetActiveWindow() == frame)
            SetFocus(child);
    }
    RefreshWindowMenu(client);
    UpdateFrameDecor(client);
}

RECT ClientArea(HWND client) {
    RECT rc;
    GetClientRect(client, &rc);
    return rc;
}

int CascadeStep() {
    return GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
}

HWND Create(HWND client, const MDICREATESTRUCT* mcs) {
    if (!mcs)
        return nullptr;
    RECT area = ClientArea(client);
    size_t count = WithData(client, [](ClientData& d) { return d.order.size(); });
    UINT id = WithData(client, [](ClientData& d) { return d.idFirstChild; }) + (UINT)count;
    int x = mcs->x, y = mcs->y, cx = mcs->cx, cy = mcs->cy;
    if (x == CW_USEDEFAULT) {
        int step = CascadeStep();
        int slots = std::max(1, (int)(area.bottom / 4) / std::max(1, step));
        x = y = (int)(count % (size_t)slots) * step;
    }
    if (cx == CW_USEDEFAULT) {
        cx = std::max(GetSystemMetrics(SM_CXMIN), (int)(area.right * 3 / 4));
        cy = std::max(GetSystemMetrics(SM_CYMIN), (int)(area.bottom * 3 / 4));
    }
    DWORD style =
        (mcs->style & ~(WS_POPUP | WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE)) | WS_CHILD | WS_CLIPSIBLINGS;
    bool visible = (mcs->style & WS_VISIBLE) != 0;
    HWND child = CreateWindowEx(WS_EX_MDICHILD, mcs->szClass, mcs->szTitle, style, x, y, cx, cy, client,
                                (HMENU)(UINT_PTR)id, nullptr, (LPVOID)mcs);
    if (!child)
        return nullptr;
    WithData(client, [&](ClientData& d) {
        d.order.push_back(child);
        RenumberChildren(d);
        return true;
    });
    if (visible) {
        HWND active = WithData(client, [](ClientData& d) { return d.active; });
        bool max = (mcs->style & WS_MAXIMIZE) || (active && IsZoomed(active));
        ShowWindow(child, max ? SW_SHOWMAXIMIZED : (mcs->style & WS_MINIMIZE) ? SW_SHOWMINNOACTIVE : SW_SHOW);
        Activate(client, child);
    }
    RefreshWindowMenu(client);
    return child;
}

void Destroy(HWND client, HWND child) {
    if (!child || GetParent(child) != client)
        return;
    HWND active = WithData(client, [](ClientData& d) { return d.active; });
    if (child == active) {
        // The next child in z-order takes over (maximised when this one was).
        HWND next = nullptr;
        for (HWND h : ZOrder(client, true))
            if (h != child && !IsIconic(h)) {
                next = h;
                break;
            }
        if (!next)
            for (HWND h : ZOrder(client, true))
                if (h != child) {
                    next = h;
                    break;
                }
        if (next) {
            Activate(client, next);
        } else {
            WithData(client, [](ClientData& d) {
                d.active = nullptr;
                return true;
            });
            SendMessage(child, WM_MDIACTIVATE, (WPARAM)child, 0);
        }
    }
    WithData(client, [&](ClientData& d) {
        d.order.erase(std::remove(d.order.begin(), d.order.end(), child), d.order.end());
        return true;
    });
    DestroyWindow(child);
    WithData(client, [](ClientData& d) {
        RenumberChildren(d);
        return true;
    });
    RefreshWindowMenu(client);
    UpdateFrameDecor(client);
}

void Next(HWND client, HWND from, bool previous) {
    std::vector<HWND> z = ZOrder(client, true);
    if (!from)
        from = WithData(client, [](ClientData& d) { return d.active; });
    auto it = std::find(z.begin(), z.end(), from);
    if (it == z.end()) {
        // A hidden child moves on to the topmost visible one.
        if (z.empty() || !from)
            return;
        Activate(client, z.front());
        return;
    }
    if (z.size() < 2)
        return;
    HWND target = previous ? z.back() : (it + 1 == z.end() ? z.front() : *(it + 1));
    if (target == from)
        return;
    Activate(client, target);
    // Going forward, the child left goes to the bottom so the cycle reaches every child.
    if (!previous)
        SetWindowPos(from, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Arrange(HWND client, UINT how, bool cascade) {
    HWND active = WithData(client, [](ClientData& d) { return d.active; });
    if (active && IsZoomed(active))
        ShowWindow(active, SW_SHOWNORMAL);
    std::vector<HWND> z;
    for (HWND h : ZOrder(client, true))
        if (!IsIconic(h) && !((how & MDITILE_SKIPDISABLED) && !IsWindowEnabled(h)))
            z.push_back(h);
    if (z.empty())
        return;
    RECT area = ClientArea(client);
    int n = (int)z.size();
    if (cascade) {
        int step = CascadeStep();
        int cx = std::max(GetSystemMetrics(SM_CXMIN), (int)(area.right * 3 / 4));
        int cy = std::max(GetSystemMetrics(SM_CYMIN), (int)(area.bottom * 3 / 4));
        // The bottom window goes first, so the active one ends last and on top.
        for (int i = 0; i < n; ++i) {
            HWND h = z[(size_t)(n - 1 - i)];
            SetWindowPos(h, HWND_TOP, i * step, i * step, cx, cy, SWP_NOACTIVATE);
        }
        return;
    }
    int cols = 1;
    while (cols * cols < n)
        ++cols;
    int rows = (n + cols - 1) / cols;
    if (how & MDITILE_HORIZONTAL)
        std::swap(cols, rows);
    for (int i = 0; i < n; ++i) {
        int c = (how & MDITILE_HORIZONTAL) ? i / rows : i % cols;
        int r = (how & MDITILE_HORIZONTAL) ? i % rows : i / cols;
        int x0 = area.right * c / cols, x1 = area.right * (c + 1) / cols;
        int y0 = area.bottom * r / rows, y1 = area.bottom * (r + 1) / rows;
        SetWindowPos(z[(size_t)i], nullptr, x0, y0, x1 - x0, y1 - y0, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void ArrangeIcons(HWND client) {
    RECT area = ClientArea(client);
    int height = GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME);
    int i = 0;
    for (HWND h : ZOrder(client, true))
        if (IsIconic(h))
            SetWindowPos(h, nullptr, (i++) * 160, area.bottom - height, 160, height,
                         SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK_MdiClient(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE: {
            auto* cs = reinterpret_cast<CREATESTRUCT*>(lParam);
            auto* ccs = cs ? static_cast<CLIENTCREATESTRUCT*>(cs->lpCreateParams) : nullptr;
            HWND frame = GetParent(hwnd);
            {
                std::lock_guard<std::mutex> g(g_mdiMutex);
                ClientData& d = g_clients[hwnd];
                d.frame = frame;
                if (ccs) {
                    d.windowMenu = ccs->hWindowMenu;
                    d.idFirstChild = ccs->idFirstChild;
                }
                if (!g_frameTitles.count(frame))
                    g_frameTitles[frame] = GetWindowTextString(frame).GetString();
            }
            return 0;
        }
        case WM_NCDESTROY: {
            std::lock_guard<std::mutex> g(g_mdiMutex);
            g_clients.erase(hwnd);
            break;
        }
        case WM_MDICREATE:
            return (LRESULT)Create(hwnd, reinterpret_cast<const MDICREATESTRUCT*>(lParam));
        case WM_MDIDESTROY:
            Destroy(hwnd, (HWND)wParam);
            return 0;
        case WM_MDIACTIVATE: {
            HWND child = (HWND)wParam;
            if (child && GetParent(child) == hwnd) {
                if (IsIconic(child))
                    ShowWindow(child, SW_RESTORE);
                Activate(hwnd, child);
            }
            return 0;
        }
        case WM_MDIGETACTIVE: {
            HWND active = WithData(hwnd, [](ClientData& d) { return d.active; });
            if (lParam)
                *reinterpret_cast<BOOL*>(lParam) = active && IsZoomed(active);
            return (LRESULT)active;
        }
        case WM_MDINEXT:
            Next(hwnd, (HWND)wParam, lParam != 0);
            return 0;
        case WM_MDIMAXIMIZE:
            if ((HWND)wParam && GetParent((HWND)wParam) == hwnd)
                ShowWindow((HWND)wParam, SW_MAXIMIZE);
            return 0;
        case WM_MDIRESTORE:
            if ((HWND)wParam && GetParent((HWND)wParam) == hwnd)
                ShowWindow((HWND)wParam, SW_RESTORE);
            return 0;
        case WM_MDICASCADE:
            Arrange(hwnd, (UINT)wParam, true);
            return TRUE;
        case WM_MDITILE:
            Arrange(hwnd, (UINT)wParam, false);
            return TRUE;
        case WM_MDIICONARRANGE:
            ArrangeIcons(hwnd);
            return 0;
        case WM_MDISETMENU: {
            HWND frame = GetParent(hwnd);
            HMENU old = GetMenu(frame);
            HMENU frameMenu = (HMENU)wParam, windowMenu = (HMENU)lParam;
            {
                // The list leaves the old Window menu before the menus change.
                std::lock_guard<std::mutex> g(g_mdiMutex);
                if (ClientData* d = Data(hwnd); d && windowMenu)
                    d->windowMenu = windowMenu;
            }
            if (frameMenu && frameMenu != old)
                SetMenu(frame, frameMenu);
            RefreshWindowMenu(hwnd);
            return (LRESULT)old;
        }
        case WM_MDIREFRESHMENU:
            RefreshWindowMenu(hwnd);
            return (LRESULT)GetMenu(GetParent(hwnd));
        case WM_SIZE: {
            LRESULT r = DefWindowProc(hwnd, msg, wParam, lParam);
            HWND active = WithData(hwnd, [](ClientData& d) { return d.active; });
            if (active && IsZoomed(active))
                user::Remaximize(active);
            return r;
        }
        case WM_SETFOCUS: {
            HWND active = WithData(hwnd, [](ClientData& d) { return d.active; });
            if (active && IsWindowVisible(active) && !IsIconic(active))
                SetFocus(active);
            return 0;
        }
        default:
            break;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}
}  // namespace

namespace user {
void RegisterMdiClientClass() {
    WNDCLASSEX wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = CALLBACK_MdiClient;
    wc.hbrBackground = GetSysColorBrush(COLOR_APPWORKSPACE);
    wc.lpszClassName = MDICLIENT_CLASS;
    RegisterSystemClass(wc);
}
}  // namespace user

LRESULT DefFrameProc(HWND frame, HWND client, UINT msg, WPARAM wParam, LPARAM lParam) {
    bool hasClient = client && WithData(client, [](ClientData&) { return true; });
    switch (msg) {
        case WM_COMMAND: {
            if (!hasClient || lParam)
                break;
            UINT id = LOWORD(wParam);
            HWND target = nullptr;
            HWND active = nullptr;
            WithData(client, [&](ClientData& d) {
                active = d.active;
                for (HWND h : d.order)
                    if ((UINT)GetWindowLongPtr(h, GWLP_ID) == id && id >= d.idFirstChild)
                        target = h;
                return true;
            });
            if (target) {
                SendMessage(client, WM_MDIACTIVATE, (WPARAM)target, 0);
                return 0;
            }
            // The maximised child's system menu in the frame's menu bar.
            if (id >= 0xF000 && active) {
                SendMessage(active, WM_SYSCOMMAND, id, lParam);
                return 0;
            }
            break;
        }
        case WM_SETTEXT: {
            std::string text = lParam ? reinterpret_cast<LPCTSTR>(lParam) : "";
            {
                std::lock_guard<std::mutex> g(g_mdiMutex);
                g_frameTitles[frame] = text;
            }
            DefWindowProc(frame, msg, wParam, lParam);
            if (hasClient)
                UpdateFrameDecor(client);
            return TRUE;
        }
        case WM_NCACTIVATE: {
            LRESULT r = DefWindowProc(frame, msg, wParam, lParam);
            if (hasClient) {
                HWND active = WithData(client, [](ClientData& d) { return d.active; });
                if (active && IsWindow(active))
                    SendMessage(active, WM_NCACTIVATE, wParam, 0);
            }
            return r;
        }
        case WM_SETFOCUS:
            if (hasClient) {
                SetFocus(client);
                return 0;
            }
            break;
        case WM_SIZE:
            if (hasClient)
                MoveWindow(client, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            return 0;
        case WM_NCDESTROY: {
            std::lock_guard<std::mutex> g(g_mdiMutex);
            g_frameTitles.erase(frame);
            break;
        }
        default:
            break;
    }
    return DefWindowProc(frame, msg, wParam, lParam);
}

LRESULT DefMDIChildProc(HWND child, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND client = ClientOf(child);
    if (!client)
        return DefWindowProc(child, msg, wParam, lParam);
    switch (msg) {
        case WM_SETTEXT: {
            LRESULT r = DefWindowProc(child, msg, wParam, lParam);
            RefreshWindowMenu(client);
            UpdateFrameDecor(client);
            return r;
        }
        case WM_CHILDACTIVATE:
            SendMessage(client, WM_MDIACTIVATE, (WPARAM)child, 0);
            return 0;
        case WM_MOUSEACTIVATE:
            SendMessage(client, WM_MDIACTIVATE, (WPARAM)child, 0);
            return MA_ACTIVATE;
        case WM_SIZE: {
            LRESULT r = DefWindowProc(child, msg, wParam, lParam);
            if (wParam == SIZE_MAXIMIZED) {
                // Only the active child is maximised; maximising another makes it the active one.
                HWND active = WithData(client, [](ClientData& d) { return d.active; });
                if (active != child && IsWindowVisible(child))
                    SendMessage(client, WM_MDIACTIVATE, (WPARAM)child, 0);
            }
            UpdateFrameDecor(client);
            return r;
        }
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
                case SC_NEXTWINDOW:
                case SC_PREVWINDOW:
                    SendMessage(client, WM_MDINEXT, (WPARAM)child, (wParam & 0xFFF0) == SC_PREVWINDOW);
                    return 0;
                case SC_KEYMENU:
                    // The menu bar is the frame's.
                    if (lParam != '-')
                        return SendMessage(GetParent(client), WM_SYSCOMMAND, wParam, lParam);
                    break;
                default:
                    break;
            }
            break;
        case WM_CLOSE:
            SendMessage(client, WM_MDIDESTROY, (WPARAM)child, 0);
            return 0;
        default:
            break;
    }
    return DefWindowProc(child, msg, wParam, lParam);
}

BOOL TranslateMDISysAccel(HWND client, LPMSG msg) {
    if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN))
        return FALSE;
    if (!(GetKeyState(VK_CONTROL) & 0x8000) || (GetKeyState(VK_MENU) & 0x8000))
        return FALSE;
    HWND active = WithData(client, [](ClientData& d) { return d.active; });
    if (!active || !IsWindowEnabled(active))
        return FALSE;
    UINT sc = 0;
    if (msg->wParam == VK_F6 || msg->wParam == VK_TAB)
        sc = (GetKeyState(VK_SHIFT) & 0x8000) ? SC_PREVWINDOW : SC_NEXTWINDOW;
    else if (msg->wParam == VK_F4)
        sc = SC_CLOSE;
    if (!sc)
        return FALSE;
    SendMessage(active, WM_SYSCOMMAND, sc, (LPARAM)msg->wParam);
    return TRUE;
}
