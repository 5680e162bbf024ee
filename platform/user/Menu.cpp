#include "platform/user/Menu.h"

#include <cstring>
#include <memory>
#include <mutex>
#include <string>

#include "platform/base/HandleTable.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Controls.h"
#include "platform/user/Messages.h"
#include "platform/user/Resources.h"

namespace {
struct MenuItem {
    std::string text;
    UINT id = 0;
    UINT flags = 0;
    HMENU popup = nullptr;
};
struct MenuData {
    std::vector<MenuItem> items;
};

std::mutex g_menuMutex;
HandleTable<MenuData, HMENU> g_menus{0x10000};  // guarded by g_menuMutex

MenuData* Find(HMENU menu) {
    return g_menus.Find(menu);
}

MenuItem* FindItem(HMENU menu, UINT item, UINT flags) {
    MenuData* data = Find(menu);
    if (!data)
        return nullptr;
    if (flags & MF_BYPOSITION)
        return item < data->items.size() ? &data->items[item] : nullptr;
    for (MenuItem& it : data->items) {
        if (!(it.flags & MF_POPUP) && it.id == item)
            return &it;
        if (it.flags & MF_POPUP)
            if (MenuItem* inner = FindItem(it.popup, item, flags))
                return inner;
    }
    return nullptr;
}

HMENU NewMenu() {
    std::lock_guard<std::mutex> g(g_menuMutex);
    return g_menus.Add(MenuData{});
}

void Fill(HMENU menu, const std::vector<MenuItemTemplate>& items) {
    for (const MenuItemTemplate& t : items) {
        if (!t.popup.empty() || (t.flags & MF_POPUP)) {
            HMENU sub = CreatePopupMenu();
            Fill(sub, t.popup);
            AppendMenu(menu, (t.flags | MF_POPUP), (UINT_PTR)sub, t.text);
        } else {
            AppendMenu(menu, t.text ? t.flags : (t.flags | MF_SEPARATOR), t.id, t.text);
        }
    }
}

// The popup being tracked: its items (a copy taken at the start) and the highlighted one.
struct Tracking {
    HWND window = nullptr;
    std::vector<MenuItem> items;
    int hot = -1;
    int chosen = -1;
    bool done = false;
};
thread_local Tracking* t_tracking = nullptr;

bool Selectable(const MenuItem& item) {
    return !(item.flags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED | MF_POPUP));
}

int ItemAt(const Tracking& t, int y) {
    int top = 2;
    for (size_t i = 0; i < t.items.size(); ++i) {
        int h = MenuItemHeight(t.items[i].flags & MF_SEPARATOR);
        if (y >= top && y < top + h)
            return (int)i;
        top += h;
    }
    return -1;
}

void Paint(HWND hwnd, const Tracking& t) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT rc;
    GetClientRect(hwnd, &rc);
    FillRect(dc, &rc, GetSysColorBrush(COLOR_MENU));
    DrawEdge(dc, &rc, EDGE_RAISED, BF_RECT);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    int top = 2;
    for (size_t i = 0; i < t.items.size(); ++i) {
        const MenuItem& item = t.items[i];
        bool separator = item.flags & MF_SEPARATOR;
        int h = MenuItemHeight(separator);
        RECT row{3, top, rc.right - 3, top + h};
        if (separator) {
            RECT line{row.left, top + h / 2 - 1, row.right, top + h / 2 + 1};
            DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        } else {
            bool hot = (int)i == t.hot;
            if (hot)
                FillRect(dc, &row, GetSysColorBrush(COLOR_HIGHLIGHT));
            bool grayed = item.flags & (MF_GRAYED | MF_DISABLED);
            SetTextColor(dc,
                         GetSysColor(grayed ? COLOR_GRAYTEXT : (hot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT)));
            RECT text{row.left + 18, row.top, row.right - 8, row.bottom};
            DrawText(dc, item.text.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
            if (item.flags & MF_CHECKED) {
                RECT mark{row.left + 2, row.top, row.left + 16, row.bottom};
                DrawText(dc, "\xe2\x9c\x93", -1, &mark, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            }
        }
        top += h;
    }
    SelectObject(dc, oldFont);
    EndPaint(hwnd, &ps);
}

LRESULT MenuProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Tracking* t = t_tracking;
    if (t && t->window == hwnd) {
        switch (msg) {
            case WM_PAINT:
                Paint(hwnd, *t);
                return 0;
            case WM_MOUSEMOVE: {
                int hot = ItemAt(*t, (short)HIWORD(lParam));
                if (hot != t->hot) {
                    t->hot = hot;
                    InvalidateRect(hwnd, nullptr, FALSE);
                }
                return 0;
            }
            case WM_LBUTTONUP:
            case WM_RBUTTONUP: {
                int at = ItemAt(*t, (short)HIWORD(lParam));
                if (at >= 0 && Selectable(t->items[at])) {
                    t->chosen = at;
                    t->done = true;
                }
                return 0;
            }
            case WM_LBUTTONDOWN:
            case WM_RBUTTONDOWN:
                return 0;
        }
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

void MoveHot(Tracking& t, int step) {
    int n = (int)t.items.size();
    for (int k = 1; k <= n; ++k) {
        int i = ((t.hot < 0 ? (step > 0 ? -1 : n) : t.hot) + step * k % n + n * 2) % n;
        if (Selectable(t.items[i])) {
            t.hot = i;
            break;
        }
    }
    InvalidateRect(t.window, nullptr, FALSE);
}
}  // namespace

int MenuItemHeight(bool separator) {
    return separator ? 8 : 20;
}

HMENU CreateMenu() {
    return NewMenu();
}
HMENU CreatePopupMenu() {
    return NewMenu();
}

BOOL DestroyMenu(HMENU menu) {
    std::vector<HMENU> subs;
    {
        std::lock_guard<std::mutex> g(g_menuMutex);
        MenuData* data = Find(menu);
        if (!data)
            return FALSE;
        for (const MenuItem& it : data->items)
            if (it.popup)
                subs.push_back(it.popup);
        g_menus.Remove(menu);
    }
    for (HMENU sub : subs)
        DestroyMenu(sub);
    return TRUE;
}

BOOL IsMenu(HMENU menu) {
    std::lock_guard<std::mutex> g(g_menuMutex);
    return Find(menu) != nullptr;
}

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCTSTR text) {
    std::lock_guard<std::mutex> g(g_menuMutex);
    MenuData* data = Find(menu);
    if (!data || ((flags & MF_POPUP) && !Find(reinterpret_cast<HMENU>(idOrPopup))))
        return FALSE;
    MenuItem item;
    item.flags = flags & ~MF_BYPOSITION;
    item.text = text && !(flags & MF_SEPARATOR) ? text : "";
    if (flags & MF_POPUP)
        item.popup = reinterpret_cast<HMENU>(idOrPopup);
    else
        item.id = (UINT)idOrPopup;
    data->items.push_back(item);
    return TRUE;
}

HMENU GetSubMenu(HMENU menu, int position) {
    std::lock_guard<std::mutex> g(g_menuMutex);
    MenuData* data = Find(menu);
    if (!data || position < 0 || position >= (int)data->items.size())
        return nullptr;
    return data->items[position].popup;
}

int GetMenuItemCount(HMENU menu) {
    std::lock_guard<std::mutex> g(g_menuMutex);
    MenuData* data = Find(menu);
    return data ? (int)data->items.size() : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
    std::lock_guard<std::mutex> g(g_menuMutex);
    MenuData* data = Find(menu);
    if (!data || position < 0 || position >= (int)data->items.size() || data->items[position].popup)
        return (UINT)-1;
    return data->items[position].id;
}

int GetMenuString(HMENU menu, UINT item, LPTSTR buffer, int size, UINT flags) {
    std::lock_guard<std::mutex> g(g_menuMutex);
    MenuItem* it = FindItem(menu, item, flags);
    if (!it)
        return 0;
    if (!buffer || size <= 0)
        return (int)it->text.size();
    int n = std::min((int)it->text.size(), size - 1);
    std::memcpy(buffer, it->text.data(), (size_t)n);
    buffer[n] = 0;
    return n;
}

UINT EnableMenuItem(HMENU menu, UINT item, UINT enable) {
    std::lock_guard<std::mutex> g(g_menuMutex);
    MenuItem* it = FindItem(menu, item, enable & MF_BYPOSITION);
    if (!it)
        return (UINT)-1;
    UINT old = it->flags & (MF_GRAYED | MF_DISABLED);
    it->flags = (it->flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    return old;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
    std::lock_guard<std::mutex> g(g_menuMutex);
    MenuItem* it = FindItem(menu, item, check & MF_BYPOSITION);
    if (!it)
        return (DWORD)-1;
    DWORD old = it->flags & MF_CHECKED;
    it->flags = (it->flags & ~MF_CHECKED) | (check & MF_CHECKED);
    return old;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
    std::lock_guard<std::mutex> g(g_menuMutex);
    MenuItem* it = FindItem(menu, item, flags);
    return it ? (it->flags & ~MF_POPUP) : (UINT)-1;
}

HMENU LoadMenuIndirect(const MenuTemplate* tmpl) {
    if (!tmpl)
        return nullptr;
    HMENU menu = CreateMenu();
    Fill(menu, tmpl->items);
    return menu;
}

HMENU LoadMenu(HINSTANCE, LPCTSTR name) {
    if (!IS_INTRESOURCE(name))
        return nullptr;
    return LoadMenuIndirect(FindMenuTemplate((UINT)(uintptr_t)name));
}

HWND GetTrackedPopupWindow() {
    return t_tracking ? t_tracking->window : nullptr;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    if (t_tracking || !owner || !IsWindow(owner))
        return FALSE;
    Tracking t;
    {
        std::lock_guard<std::mutex> g(g_menuMutex);
        MenuData* data = Find(menu);
        if (!data)
            return FALSE;
        t.items = data->items;
    }
    bool notify = !(flags & TPM_NONOTIFY);
    if (notify) {
        SendMessage(owner, WM_ENTERMENULOOP, TRUE, 0);
        SendMessage(owner, WM_INITMENUPOPUP, (WPARAM)menu, 0);
        // The owner may have enabled or disabled items.
        std::lock_guard<std::mutex> g(g_menuMutex);
        if (MenuData* data = Find(menu))
            t.items = data->items;
    }

    // Size from the texts.
    int width = 80, height = 4;
    {
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        for (const MenuItem& item : t.items) {
            SIZE size{};
            GetTextExtentPoint32(dc, item.text.c_str(), (int)item.text.size(), &size);
            width = std::max(width, (int)size.cx + 40);
            height += MenuItemHeight(item.flags & MF_SEPARATOR);
        }
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
    }
    if (flags & TPM_RIGHTALIGN)
        x -= width;
    else if (flags & TPM_CENTERALIGN)
        x -= width / 2;

    t_tracking = &t;
    t.window = CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, WC_MENU, "", WS_POPUP, x, y, width, height,
                              owner, nullptr, nullptr, nullptr);
    if (!t.window) {
        t_tracking = nullptr;
        return FALSE;
    }
    ShowWindow(t.window, SW_SHOWNA);
    UpdateWindow(t.window);

    bool quit = false;
    int quitCode = 0;
    while (!t.done) {
        MSG msg;
        if (!GetMessage(&msg, nullptr, 0, 0)) {
            quit = true;
            quitCode = (int)msg.wParam;
            break;
        }
        if (CallMsgFilter(&msg, MSGF_MENU))
            continue;
        bool mouse = msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST;
        if (mouse && msg.hwnd != t.window) {
            // A click elsewhere dismisses the menu; the click itself is not passed on.
            if (msg.message != WM_MOUSEMOVE)
                break;
            continue;
        }
        if (msg.message == WM_KEYDOWN) {
            switch (msg.wParam) {
                case VK_ESCAPE:
                    t.done = true;
                    break;
                case VK_UP:
                    MoveHot(t, -1);
                    break;
                case VK_DOWN:
                    MoveHot(t, 1);
                    break;
                case VK_RETURN:
                    if (t.hot >= 0 && Selectable(t.items[t.hot])) {
                        t.chosen = t.hot;
                        t.done = true;
                    }
                    break;
            }
            continue;
        }
        if (msg.message == WM_CHAR || msg.message == WM_KEYUP)
            continue;
        TranslateMessage(&msg);
        DispatchMessage(&msg);
        if (!IsWindow(owner))
            break;
    }
    DestroyWindow(t.window);
    t_tracking = nullptr;
    if (notify && IsWindow(owner))
        SendMessage(owner, WM_EXITMENULOOP, TRUE, 0);
    if (quit)
        PostQuitMessage(quitCode);
    if (t.chosen < 0)
        return 0;
    UINT id = t.items[t.chosen].id;
    if (flags & TPM_RETURNCMD)
        return (BOOL)id;
    PostMessage(owner, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    return TRUE;
}

// ---- Editing items

namespace {
// The list holding an item and its index there (under the lock).
bool Locate(HMENU menu, UINT item, UINT flags, MenuData** owner, size_t* index) {
    MenuData* data = Find(menu);
    if (!data)
        return false;
    if (flags & MF_BYPOSITION) {
        if (item >= data->items.size())
            return false;
        *owner = data;
        *index = item;
        return true;
    }
    for (size_t i = 0; i < data->items.size(); ++i) {
        MenuItem& it = data->items[i];
        if (!(it.flags & MF_POPUP) && it.id == item) {
            *owner = data;
            *index = i;
            return true;
        }
        if ((it.flags & MF_POPUP) && Locate(it.popup, item, flags, owner, index))
            return true;
    }
    return false;
}

MenuItem MakeItem(UINT flags, UINT_PTR idOrPopup, LPCTSTR text) {
    MenuItem item;
    item.flags = flags & ~MF_BYPOSITION;
    item.text = text && !(flags & MF_SEPARATOR) ? text : "";
    if (flags & MF_POPUP)
        item.popup = reinterpret_cast<HMENU>(idOrPopup);
    else
        item.id = (UINT)idOrPopup;
    return item;
}
}  // namespace

BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCTSTR text) {
    std::lock_guard<std::mutex> g(g_menuMutex);
    if ((flags & MF_POPUP) && !Find(reinterpret_cast<HMENU>(idOrPopup)))
        return FALSE;
    MenuData* owner = nullptr;
    size_t index = 0;
    if (!Locate(menu, position, flags, &owner, &index)) {
        // By position, a place past the end appends.
        if (!(flags & MF_BYPOSITION) || !(owner = Find(menu)))
            return FALSE;
        index = owner->items.size();
    }
    owner->items.insert(owner->items.begin() + (long)index, MakeItem(flags, idOrPopup, text));
    return TRUE;
}

BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCTSTR text) {
    std::lock_guard<std::mutex> g(g_menuMutex);
    if ((flags & MF_POPUP) && !Find(reinterpret_cast<HMENU>(idOrPopup)))
        return FALSE;
    MenuData* owner = nullptr;
    size_t index = 0;
    if (!Locate(menu, position, flags, &owner, &index))
        return FALSE;
    owner->items[index] = MakeItem(flags, idOrPopup, text);
    return TRUE;
}

static BOOL TakeOut(HMENU menu, UINT position, UINT flags, bool destroy) {
    HMENU popup = nullptr;
    {
        std::lock_guard<std::mutex> g(g_menuMutex);
        MenuData* owner = nullptr;
        size_t index = 0;
        if (!Locate(menu, position, flags, &owner, &index))
            return FALSE;
        popup = owner->items[index].popup;
        owner->items.erase(owner->items.begin() + (long)index);
    }
    if (destroy && popup)
        DestroyMenu(popup);
    return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
    return TakeOut(menu, position, flags, true);
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
    return TakeOut(menu, position, flags, false);
}

namespace user {
void RegisterMenuClass() {
    WNDCLASSEX wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = MenuProc;
    wc.hbrBackground = GetSysColorBrush(COLOR_MENU);
    wc.lpszClassName = WC_MENU;
    RegisterSystemClass(wc);
}
}  // namespace user
