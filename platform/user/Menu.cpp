#include "platform/user/Menu.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/base/HandleTable.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Controls.h"
#include "platform/user/Messages.h"
#include "platform/user/Resources.h"
#include "platform/user/UserInternal.h"

namespace {
const UINT kTypeMask = MFT_BITMAP | MFT_MENUBARBREAK | MFT_MENUBREAK | MFT_OWNERDRAW | MFT_RADIOCHECK |
                       MFT_SEPARATOR | MFT_RIGHTORDER | MFT_RIGHTJUSTIFY;
const UINT kStateMask = MFS_GRAYED | MFS_CHECKED | MFS_HILITE | MFS_DEFAULT;

struct MenuItem {
    std::string text;
    UINT id = 0;
    UINT flags = 0;  // MFT_ and MFS_ bits
    HMENU popup = nullptr;
    ULONG_PTR data = 0;
    HBITMAP checked = nullptr;
    HBITMAP unchecked = nullptr;
    HBITMAP bitmap = nullptr;
    // An owner-drawn item's size from WM_MEASUREITEM; asked again after the item changes.
    bool measured = false;
    int width = 0;
    int height = 0;
};
struct MenuData {
    std::vector<MenuItem> items;
    bool system = false;
};

// Every menu call takes this lock; nothing under it calls a window procedure.
std::mutex g_menuMutex;
HandleTable<MenuData, HMENU> g_menus{0x10000};  // guarded by g_menuMutex
std::map<HWND, HMENU> g_systemMenus;

MenuData* Find(HMENU menu) {
    return g_menus.Find(menu);
}

bool IsSeparator(const MenuItem& item) {
    return (item.flags & MF_SEPARATOR) != 0;
}
bool IsDisabled(const MenuItem& item) {
    return (item.flags & (MF_GRAYED | MF_DISABLED)) != 0;
}

// The list holding an item and its index there. By command the search goes depth-first; an item that
// opens a sub-menu answers to its own id only when nothing else does.
// `ownerMenu` (when given) receives the handle of the list.
bool Locate(HMENU menu, UINT item, UINT flags, MenuData** owner, size_t* index, HMENU* ownerMenu = nullptr,
            int depth = 0) {
    MenuData* data = Find(menu);
    if (!data || depth > 64)
        return false;
    auto found = [&](size_t i) {
        *owner = data;
        *index = i;
        if (ownerMenu)
            *ownerMenu = menu;
        return true;
    };
    if (flags & MF_BYPOSITION)
        return item < data->items.size() && found(item);
    std::optional<size_t> fallback;
    for (size_t i = 0; i < data->items.size(); ++i) {
        MenuItem& it = data->items[i];
        if (!it.popup) {
            if (it.id == item)
                return found(i);
            continue;
        }
        if (Locate(it.popup, item, flags, owner, index, ownerMenu, depth + 1))
            return true;
        if (it.id == item && !fallback)
            fallback = i;
    }
    return fallback && found(*fallback);
}

MenuItem* FindItem(HMENU menu, UINT item, UINT flags) {
    MenuData* owner = nullptr;
    size_t index = 0;
    return Locate(menu, item, flags, &owner, &index) ? &owner->items[index] : nullptr;
}

// Whether `target` is `menu` or one of its sub-menus: attaching `menu` under `target` would make a loop.
bool Reaches(HMENU menu, HMENU target, int depth = 0) {
    if (menu == target)
        return true;
    MenuData* data = Find(menu);
    if (!data || depth > 64)
        return false;
    for (const MenuItem& it : data->items)
        if (it.popup && Reaches(it.popup, target, depth + 1))
            return true;
    return false;
}

// A sub-menu handle that may go under `menu`.
bool AcceptablePopup(HMENU menu, HMENU popup) {
    return Find(popup) && !Reaches(popup, menu);
}

HMENU NewMenu() {
    std::lock_guard<std::mutex> g(g_menuMutex);
    return g_menus.Add(MenuData{});
}

// An item from the flags of AppendMenu, InsertMenu and ModifyMenu. An owner-drawn item's "text" is its
// data.
MenuItem MakeItem(UINT flags, UINT_PTR idOrPopup, LPCTSTR text) {
    MenuItem item;
    item.flags = flags & (kTypeMask | kStateMask);
    if (flags & MF_OWNERDRAW)
        item.data = (ULONG_PTR)text;
    else if (text && !(flags & (MF_SEPARATOR | MF_BITMAP)))
        item.text = text;
    if (flags & MF_BITMAP)
        item.bitmap = (HBITMAP)text;
    if (flags & MF_POPUP) {
        item.popup = reinterpret_cast<HMENU>(idOrPopup);
        item.id = (UINT)idOrPopup;
    } else {
        item.id = (UINT)idOrPopup;
    }
    return item;
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

std::vector<MenuItem> Snapshot(HMENU menu, bool* alive = nullptr) {
    std::lock_guard<std::mutex> g(g_menuMutex);
    MenuData* data = Find(menu);
    if (alive)
        *alive = data != nullptr;
    return data ? data->items : std::vector<MenuItem>();
}

bool IsSystemMenu(HMENU menu) {
    std::lock_guard<std::mutex> g(g_menuMutex);
    MenuData* data = Find(menu);
    return data && data->system;
}

// Sets or clears a state bit of the item at a position.
void SetItemFlag(HMENU menu, int position, UINT flag, bool on) {
    std::lock_guard<std::mutex> g(g_menuMutex);
    MenuData* data = Find(menu);
    if (!data || position < 0 || position >= (int)data->items.size())
        return;
    UINT& flags = data->items[(size_t)position].flags;
    flags = on ? (flags | flag) : (flags & ~flag);
}

// The label before the first tab and the accelerator text after it.
void SplitText(const std::string& text, std::string* label, std::string* accel) {
    size_t tab = text.find('\t');
    *label = text.substr(0, tab);
    *accel = tab == std::string::npos ? std::string() : text.substr(tab + 1);
}

// The mnemonic of a text: the character after a single '&' ("&&" is a literal ampersand), lower-cased.
int Mnemonic(const std::string& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        return (unsigned char)AsciiLower(text[i + 1]);
    }
    return -1;
}

// ---- The menu loop ------------------------------------------------------------------------------------

const int kFrame = 3;         // the popup's border, drawn as its non-client area
const int kCheckColumn = 18;  // the text starts after the check mark's column
const int kArrowColumn = 20;  // room for the sub-menu arrow on the right

struct Row {
    int top = 0;
    int height = 0;
};

// One open popup: its menu, window, highlighted item and item rows (client coordinates).
struct Level {
    HMENU menu = nullptr;
    HWND window = nullptr;
    int hot = -1;
    int width = 0;      // client width
    int accelLeft = 0;  // where the accelerator column starts
    std::vector<Row> rows;
};

struct Tracking {
    HWND owner = nullptr;
    UINT flags = 0;
    bool notify = true;
    bool system = false;
    std::vector<Level> levels;
    bool done = false;
    bool chosen = false;
    UINT chosenId = 0;
    bool chosenSystem = false;
    bool waiting = false;
    std::optional<MSG> requeue;  // a click on another window, given back to the queue
};
thread_local Tracking* t_tracking = nullptr;

int LevelOf(const Tracking& t, HWND hwnd) {
    if (!hwnd)
        return -1;
    for (size_t i = 0; i < t.levels.size(); ++i)
        if (t.levels[i].window == hwnd)
            return (int)i;
    return -1;
}

// Ends the loop; when the loop sleeps (the end came from a message sent by another thread) it is woken.
void EndLoop(Tracking& t) {
    t.done = true;
    if (t.waiting)
        PostThreadMessage(GetCurrentThreadId(), WM_NULL, 0, 0);
}

void MeasureText(HDC dc, const std::string& text, int* width) {
    RECT rc{0, 0, 0, 0};
    DrawText(dc, text.c_str(), (int)text.size(), &rc, DT_CALCRECT | DT_SINGLELINE);
    *width = rc.right - rc.left;
}

// Rows, width and accelerator column from the items (owner-drawn sizes as measured).
void Layout(Level& level, const std::vector<MenuItem>& items) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    int labelWidth = 0, accelWidth = 0, ownerWidth = 0;
    level.rows.clear();
    int top = 0;
    for (const MenuItem& item : items) {
        int h;
        if (item.flags & MF_OWNERDRAW) {
            h = std::max(0, item.height);
            ownerWidth = std::max(ownerWidth, item.width);
        } else if (IsSeparator(item)) {
            h = MenuItemHeight(true);
        } else {
            h = MenuItemHeight(false);
            std::string label, accel;
            SplitText(item.text, &label, &accel);
            int w = 0;
            MeasureText(dc, label, &w);
            labelWidth = std::max(labelWidth, w);
            if (!accel.empty()) {
                MeasureText(dc, accel, &w);
                accelWidth = std::max(accelWidth, w);
            }
        }
        level.rows.push_back(Row{top, h});
        top += h;
    }
    SelectObject(dc, oldFont);
    ReleaseDC(nullptr, dc);
    int textNeed = kCheckColumn + labelWidth + (accelWidth ? 16 + accelWidth : 0) + kArrowColumn - 4;
    level.width = std::max({80 - 2 * kFrame, textNeed, ownerWidth});
    level.accelLeft = level.width - kArrowColumn - accelWidth;
}

int Height(const Level& level) {
    return level.rows.empty() ? 0 : level.rows.back().top + level.rows.back().height;
}

int ItemAt(const Level& level, POINT client) {
    if (client.x < 0 || client.x >= level.width)
        return -1;
    for (size_t i = 0; i < level.rows.size(); ++i)
        if (client.y >= level.rows[i].top && client.y < level.rows[i].top + level.rows[i].height)
            return (int)i;
    return -1;
}

RECT RowRect(const Level& level, int index) {
    const Row& r = level.rows[(size_t)index];
    return RECT{0, r.top, level.width, r.top + r.height};
}

void DrawArrow(HDC dc, const RECT& row, COLORREF color) {
    int cx = row.right - 12, cy = (row.top + row.bottom) / 2;
    HPEN pen = CreatePen(PS_SOLID, 1, color);
    HGDIOBJ old = SelectObject(dc, pen);
    for (int k = 0; k < 4; ++k) {
        MoveToEx(dc, cx + k, cy - 3 + k, nullptr);
        LineTo(dc, cx + k, cy + 4 - k);
    }
    SelectObject(dc, old);
    DeleteObject(pen);
}

// Draws one item: through the owner (WM_DRAWITEM) when owner-drawn, else in the Classic look.
void DrawItem(const Tracking& t, const Level& level, const std::vector<MenuItem>& items, int index, HDC dc,
              UINT action) {
    if (index < 0 || index >= (int)items.size() || index >= (int)level.rows.size())
        return;
    const MenuItem& item = items[(size_t)index];
    RECT row = RowRect(level, index);
    bool hot = index == level.hot && !IsSeparator(item);
    if (item.flags & MF_OWNERDRAW) {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_MENU;
        dis.itemID = item.id;
        dis.itemAction = action;
        dis.itemState = (hot ? ODS_SELECTED : 0) | ((item.flags & MF_GRAYED) ? ODS_GRAYED : 0) |
                        (IsDisabled(item) ? ODS_DISABLED : 0) |
                        ((item.flags & MF_CHECKED) ? ODS_CHECKED : 0) |
                        ((item.flags & MF_DEFAULT) ? ODS_DEFAULT : 0);
        dis.hwndItem = reinterpret_cast<HWND>(level.menu);
        dis.hDC = dc;
        dis.rcItem = row;
        dis.itemData = item.data;
        // The owner draws on a DC that has the menu font selected, as plain items use.
        HGDIOBJ ownerFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        SendMessage(t.owner, WM_DRAWITEM, 0, (LPARAM)&dis);
        SelectObject(dc, ownerFont);
        return;
    }
    FillRect(dc, &row, GetSysColorBrush(hot ? COLOR_HIGHLIGHT : COLOR_MENU));
    if (IsSeparator(item)) {
        int mid = (row.top + row.bottom) / 2;
        RECT line{row.left + 1, mid - 1, row.right - 1, mid + 1};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    COLORREF color =
        GetSysColor(IsDisabled(item) ? COLOR_GRAYTEXT : (hot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    std::string label, accel;
    SplitText(item.text, &label, &accel);
    RECT text{row.left + kCheckColumn, row.top, row.right - 8, row.bottom};
    DrawText(dc, label.c_str(), (int)label.size(), &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (!accel.empty()) {
        RECT acc{level.accelLeft, row.top, row.right - 4, row.bottom};
        DrawText(dc, accel.c_str(), (int)accel.size(), &acc,
                 DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    if (item.flags & MF_CHECKED) {
        if (item.flags & MFT_RADIOCHECK) {
            // A round dot, row by row.
            static const int kHalfWidths[] = {1, 2, 3, 3, 2, 1};
            int cx = row.left + 9, cy = (row.top + row.bottom) / 2 - 3;
            HBRUSH brush = CreateSolidBrush(color);
            for (int k = 0; k < 6; ++k) {
                RECT span{cx - kHalfWidths[k], cy + k, cx + kHalfWidths[k], cy + k + 1};
                FillRect(dc, &span, brush);
            }
            DeleteObject(brush);
        } else {
            RECT mark{row.left + 2, row.top, row.left + 16, row.bottom};
            DrawText(dc, "\xe2\x9c\x93", -1, &mark, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
    }
    if (item.popup)
        DrawArrow(dc, row, color);
    SelectObject(dc, oldFont);
}

void Paint(Tracking& t, int levelIndex) {
    Level level = t.levels[(size_t)levelIndex];
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(level.window, &ps);
    RECT rc;
    GetClientRect(level.window, &rc);
    FillRect(dc, &rc, GetSysColorBrush(COLOR_MENU));
    std::vector<MenuItem> items = Snapshot(level.menu);
    for (int i = 0; i < (int)items.size(); ++i)
        DrawItem(t, level, items, i, dc, ODA_DRAWENTIRE);
    EndPaint(level.window, &ps);
}

// Redraws two items of a level after the selection moved.
void RedrawItems(Tracking& t, int levelIndex, int a, int b) {
    Level level = t.levels[(size_t)levelIndex];
    if (!IsWindowVisible(level.window))
        return;
    std::vector<MenuItem> items = Snapshot(level.menu);
    HDC dc = GetDC(level.window);
    DrawItem(t, level, items, a, dc, ODA_SELECT);
    if (b != a)
        DrawItem(t, level, items, b, dc, ODA_SELECT);
    ReleaseDC(level.window, dc);
}

void CloseLevelsFrom(Tracking& t, size_t first) {
    while (t.levels.size() > first) {
        Level level = t.levels.back();
        t.levels.pop_back();
        if (level.hot >= 0)
            SetItemFlag(level.menu, level.hot, MF_HILITE, false);
        if (level.window)
            DestroyWindow(level.window);
    }
}

void SetHot(Tracking& t, int levelIndex, int hot, bool mouse) {
    if (levelIndex < 0 || levelIndex >= (int)t.levels.size())
        return;
    Level& level = t.levels[(size_t)levelIndex];
    int old = level.hot;
    if (old == hot)
        return;
    HMENU menu = level.menu;
    level.hot = hot;
    if (old >= 0)
        SetItemFlag(menu, old, MF_HILITE, false);
    std::vector<MenuItem> items = Snapshot(menu);
    if (hot >= 0 && hot < (int)items.size())
        SetItemFlag(menu, hot, MF_HILITE, true);
    RedrawItems(t, levelIndex, old, hot);
    if (t.notify && hot >= 0 && hot < (int)items.size()) {
        const MenuItem& item = items[(size_t)hot];
        UINT flags = (item.flags & (kTypeMask | kStateMask)) | MF_HILITE | (item.popup ? MF_POPUP : 0) |
                     (mouse ? MF_MOUSESELECT : 0) | (t.system ? MF_SYSMENU : 0);
        UINT idOrPosition = item.popup ? (UINT)hot : item.id;
        SendMessage(t.owner, WM_MENUSELECT, MAKEWPARAM(idOrPosition, flags), (LPARAM)menu);
    }
}

RECT ScreenArea() {
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// Where a popup of size (w, h) goes: aligned at (x, y) as the flags say, flipped to the other side of the
// point when it does not fit, kept on the screen, and out of `exclude`.
POINT PlacePopup(int x, int y, int w, int h, UINT flags, const RECT* exclude) {
    RECT screen = ScreenArea();
    if (flags & TPM_RIGHTALIGN)
        x -= w;
    else if (flags & TPM_CENTERALIGN)
        x -= w / 2;
    if (flags & TPM_BOTTOMALIGN)
        y -= h;
    else if (flags & TPM_VCENTERALIGN)
        y -= h / 2;
    if (x + w > screen.right && x - w >= screen.left && !(flags & (TPM_RIGHTALIGN | TPM_CENTERALIGN)))
        x -= w;
    if (y + h > screen.bottom && y - h >= screen.top && !(flags & (TPM_BOTTOMALIGN | TPM_VCENTERALIGN)))
        y -= h;
    x = std::max((int)screen.left, std::min(x, (int)screen.right - w));
    y = std::max((int)screen.top, std::min(y, (int)screen.bottom - h));
    if (exclude) {
        RECT popup{x, y, x + w, y + h}, overlap;
        if (IntersectRect(&overlap, &popup, exclude)) {
            if (flags & TPM_VERTICAL)
                y = exclude->bottom + h <= screen.bottom ? exclude->bottom : exclude->top - h;
            else
                x = exclude->right + w <= screen.right ? exclude->right : exclude->left - w;
        }
    }
    return POINT{x, y};
}

void MeasureOwnerDrawn(Tracking& t, HMENU menu) {
    std::vector<MenuItem> items = Snapshot(menu);
    for (size_t i = 0; i < items.size(); ++i) {
        if (!(items[i].flags & MF_OWNERDRAW) || items[i].measured)
            continue;
        MEASUREITEMSTRUCT mis{ODT_MENU, 0, items[i].id, 0, 0, items[i].data};
        SendMessage(t.owner, WM_MEASUREITEM, 0, (LPARAM)&mis);
        std::lock_guard<std::mutex> g(g_menuMutex);
        MenuData* data = Find(menu);
        if (data && i < data->items.size() && (data->items[i].flags & MF_OWNERDRAW)) {
            data->items[i].measured = true;
            data->items[i].width = (int)std::min<UINT>(mis.itemWidth, 4096);
            data->items[i].height = (int)std::min<UINT>(mis.itemHeight, 4096);
        }
    }
}

// Opens a popup for `menu`: at (x, y) with the TPM_ flags for the first one, beside the parent's
// highlighted item for a sub-menu. False when the menu went away meanwhile.
bool OpenLevel(Tracking& t, HMENU menu, int x, int y, const RECT* exclude) {
    size_t index = t.levels.size();
    int position = 0;
    if (index > 0)
        position = t.levels[index - 1].hot;
    if (t.notify)
        SendMessage(t.owner, WM_INITMENUPOPUP, (WPARAM)menu,
                    MAKELPARAM(position, IsSystemMenu(menu) ? 1 : 0));
    if (t.done || !IsMenu(menu) || t.levels.size() != index)
        return false;
    // The level is in place before measuring and before the window exists, so both see its menu.
    t.levels.push_back(Level{});
    t.levels[index].menu = menu;
    MeasureOwnerDrawn(t, menu);
    if (t.done || !IsMenu(menu) || t.levels.size() != index + 1 || t.levels[index].menu != menu) {
        if (t.levels.size() == index + 1)
            t.levels.pop_back();
        return false;
    }
    Layout(t.levels[index], Snapshot(menu));
    const Level& level = t.levels[index];
    int w = level.width + 2 * kFrame, h = Height(level) + 2 * kFrame;
    POINT at;
    if (index == 0) {
        at = PlacePopup(x, y, w, h, t.flags, exclude);
    } else {
        const Level& parent = t.levels[index - 1];
        RECT parentRect;
        GetWindowRect(parent.window, &parentRect);
        POINT rowTop{0, parent.hot >= 0 && parent.hot < (int)parent.rows.size()
                            ? parent.rows[(size_t)parent.hot].top
                            : 0};
        ClientToScreen(parent.window, &rowTop);
        RECT screen = ScreenArea();
        at.x = parentRect.right - kFrame;
        if (at.x + w > screen.right)
            at.x = parentRect.left - w + kFrame;
        at.y = rowTop.y - kFrame;
        at.x = std::max((int)screen.left, std::min((int)at.x, (int)screen.right - w));
        at.y = std::max((int)screen.top, std::min((int)at.y, (int)screen.bottom - h));
    }
    HWND window =
        CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME, WC_MENU, "",
                       WS_POPUP | WS_CLIPSIBLINGS, at.x, at.y, 0, 0, t.owner, nullptr, nullptr, nullptr);
    if (!window || t.levels.size() != index + 1) {
        if (window)
            DestroyWindow(window);
        if (t.levels.size() == index + 1)
            t.levels.pop_back();
        return false;
    }
    t.levels[index].window = window;
    SetWindowPos(window, HWND_TOPMOST, at.x, at.y, w, h, SWP_NOACTIVATE);
    ShowWindow(window, SW_SHOWNA);
    UpdateWindow(window);
    return true;
}

bool Selectable(const MenuItem& item) {
    return !IsSeparator(item) && !IsDisabled(item);
}

// The next item from the highlighted one that the arrow keys stop at (not separators, not disabled).
void MoveHot(Tracking& t, int levelIndex, int step) {
    const Level& level = t.levels[(size_t)levelIndex];
    std::vector<MenuItem> items = Snapshot(level.menu);
    int n = std::min((int)items.size(), (int)level.rows.size());
    if (n == 0)
        return;
    int from = level.hot < 0 ? (step > 0 ? -1 : n) : level.hot;
    for (int k = 1; k <= n; ++k) {
        int i = ((from + step * k) % n + n) % n;
        if (Selectable(items[(size_t)i])) {
            CloseLevelsFrom(t, (size_t)levelIndex + 1);
            SetHot(t, levelIndex, i, false);
            return;
        }
    }
}

void Choose(Tracking& t, HMENU menu, const MenuItem& item) {
    t.chosen = true;
    t.chosenId = item.id;
    t.chosenSystem = IsSystemMenu(menu);
    EndLoop(t);
}

// Opens the sub-menu of the item at `index` (with its first item highlighted when asked from the
// keyboard) or chooses the item.
void Activate(Tracking& t, int levelIndex, int index, bool fromKeyboard) {
    if (levelIndex < 0 || levelIndex >= (int)t.levels.size())
        return;
    HMENU menu = t.levels[(size_t)levelIndex].menu;
    std::vector<MenuItem> items = Snapshot(menu);
    if (index < 0 || index >= (int)items.size() || !Selectable(items[(size_t)index]))
        return;
    const MenuItem& item = items[(size_t)index];
    if (!item.popup) {
        Choose(t, menu, item);
        return;
    }
    SetHot(t, levelIndex, index, !fromKeyboard);
    if (t.done || levelIndex >= (int)t.levels.size())
        return;
    if (t.levels.size() > (size_t)levelIndex + 1 && t.levels[(size_t)levelIndex + 1].menu == item.popup) {
        if (fromKeyboard && t.levels[(size_t)levelIndex + 1].hot < 0)
            MoveHot(t, levelIndex + 1, 1);
        return;
    }
    CloseLevelsFrom(t, (size_t)levelIndex + 1);
    if (OpenLevel(t, item.popup, 0, 0, nullptr) && fromKeyboard)
        MoveHot(t, (int)t.levels.size() - 1, 1);
}

void OnChar(Tracking& t, int levelIndex, UINT ch) {
    HMENU menu = t.levels[(size_t)levelIndex].menu;
    std::vector<MenuItem> items = Snapshot(menu);
    int key = (unsigned char)AsciiLower((char)ch);
    std::vector<int> matches;
    for (int i = 0; i < (int)items.size(); ++i)
        if (!(items[(size_t)i].flags & (MF_OWNERDRAW | MF_SEPARATOR)) &&
            Mnemonic(items[(size_t)i].text) == key)
            matches.push_back(i);
    if (matches.size() == 1) {
        Activate(t, levelIndex, matches[0], true);
        return;
    }
    if (matches.size() > 1) {
        // Several items share the key: each press moves to the next of them.
        int hot = t.levels[(size_t)levelIndex].hot;
        auto next = std::find_if(matches.begin(), matches.end(), [hot](int i) { return i > hot; });
        CloseLevelsFrom(t, (size_t)levelIndex + 1);
        SetHot(t, levelIndex, next == matches.end() ? matches[0] : *next, false);
        return;
    }
    LRESULT answer = 0;
    if (t.notify) {
        WORD flags = MF_POPUP | (IsSystemMenu(menu) ? MF_SYSMENU : 0);
        answer = SendMessage(t.owner, WM_MENUCHAR, MAKEWPARAM(ch, flags), (LPARAM)menu);
    }
    if (t.done || levelIndex >= (int)t.levels.size() || t.levels[(size_t)levelIndex].menu != menu)
        return;
    int position = LOWORD(answer);
    switch (HIWORD(answer)) {
        case MNC_EXECUTE:
            Activate(t, levelIndex, position, true);
            break;
        case MNC_SELECT:
            if (position < (int)items.size() && !IsSeparator(items[(size_t)position])) {
                CloseLevelsFrom(t, (size_t)levelIndex + 1);
                SetHot(t, levelIndex, position, false);
            }
            break;
        case MNC_CLOSE:
            EndLoop(t);
            break;
        default:
            MessageBeep(0);
            break;
    }
}

void OnKey(Tracking& t, int levelIndex, UINT vk) {
    const Level& level = t.levels[(size_t)levelIndex];
    switch (vk) {
        case VK_UP:
            MoveHot(t, levelIndex, -1);
            break;
        case VK_DOWN:
            MoveHot(t, levelIndex, 1);
            break;
        case VK_HOME:
            t.levels[(size_t)levelIndex].hot = -1;
            MoveHot(t, levelIndex, 1);
            break;
        case VK_END:
            t.levels[(size_t)levelIndex].hot = -1;
            MoveHot(t, levelIndex, -1);
            break;
        case VK_RIGHT: {
            std::vector<MenuItem> items = Snapshot(level.menu);
            if (level.hot >= 0 && level.hot < (int)items.size() && items[(size_t)level.hot].popup)
                Activate(t, levelIndex, level.hot, true);
            break;
        }
        case VK_LEFT:
            if (levelIndex > 0)
                CloseLevelsFrom(t, (size_t)levelIndex);
            break;
        case VK_RETURN:
            Activate(t, levelIndex, level.hot, true);
            break;
        case VK_ESCAPE:
            if (levelIndex == 0)
                EndLoop(t);
            else
                CloseLevelsFrom(t, (size_t)levelIndex);
            break;
        default:
            break;
    }
}

void OnMouseMove(Tracking& t, int levelIndex, POINT client) {
    int at = ItemAt(t.levels[(size_t)levelIndex], client);
    std::vector<MenuItem> items = Snapshot(t.levels[(size_t)levelIndex].menu);
    if (at >= (int)items.size())
        at = -1;
    if (at >= 0 && IsSeparator(items[(size_t)at]))
        at = -1;
    if (at < 0) {
        // Off the items: a sub-menu stays open with its item highlighted.
        if (t.levels.size() <= (size_t)levelIndex + 1)
            SetHot(t, levelIndex, -1, true);
        return;
    }
    bool subOpen = t.levels.size() > (size_t)levelIndex + 1 && t.levels[(size_t)levelIndex].hot == at;
    if (!subOpen)
        CloseLevelsFrom(t, (size_t)levelIndex + 1);
    SetHot(t, levelIndex, at, true);
    const MenuItem& item = items[(size_t)at];
    if (item.popup && !IsDisabled(item) && !subOpen)
        Activate(t, levelIndex, at, false);
}

LRESULT MenuProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Tracking* t = t_tracking;
    int levelIndex = t ? LevelOf(*t, hwnd) : -1;
    if (levelIndex < 0)
        return DefWindowProc(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_PAINT:
            Paint(*t, levelIndex);
            return 0;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_MOUSEMOVE:
            OnMouseMove(*t, levelIndex, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP: {
            if (msg == WM_RBUTTONUP && !(t->flags & TPM_RIGHTBUTTON))
                return 0;
            int at = ItemAt(t->levels[(size_t)levelIndex], POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            Activate(*t, levelIndex, at, false);
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            return 0;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            OnKey(*t, levelIndex, (UINT)wParam);
            return 0;
        case WM_CHAR:
        case WM_SYSCHAR:
            OnChar(*t, levelIndex, (UINT)wParam);
            return 0;
        default:
            return DefWindowProc(hwnd, msg, wParam, lParam);
    }
}

bool IsMouseMessage(UINT m) {
    return (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || (m >= WM_NCMOUSEMOVE && m <= WM_NCLBUTTONDBLCLK + 6);
}
bool IsButtonDown(UINT m) {
    switch (m) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK:
        case WM_NCLBUTTONDBLCLK + 1:  // right button down
        case WM_NCLBUTTONDBLCLK + 4:  // middle button down
            return true;
        default:
            return false;
    }
}

// Puts a message back at the front of this thread's queue.
void Requeue(const MSG& msg) {
    user::ThreadQueue& q = user::CurrentQueue();
    {
        std::lock_guard<std::mutex> g(user::Lock());
        q.posted.push_front(msg);
    }
    user::Wake();
}

bool MenusAlive(const Tracking& t) {
    std::lock_guard<std::mutex> g(g_menuMutex);
    for (const Level& level : t.levels)
        if (!Find(level.menu))
            return false;
    return true;
}

BOOL RunMenuLoop(HMENU menu, UINT flags, int x, int y, HWND owner, const RECT* exclude) {
    if (t_tracking || !owner || !IsWindow(owner) || !IsMenu(menu))
        return FALSE;
    Tracking t;
    t.owner = owner;
    t.flags = flags;
    t.notify = !(flags & TPM_NONOTIFY);
    t.system = IsSystemMenu(menu);
    t_tracking = &t;
    if (t.notify) {
        SendMessage(owner, WM_ENTERMENULOOP, TRUE, 0);
        SendMessage(owner, WM_INITMENU, (WPARAM)menu, 0);
    }
    bool opened = !t.done && IsWindow(owner) && OpenLevel(t, menu, x, y, exclude);

    bool quit = false;
    int quitCode = 0;
    bool idleSent = false;
    while (opened && !t.done) {
        if (!IsWindow(owner) || !MenusAlive(t) || t.levels.empty())
            break;
        MSG msg;
        if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (t.notify && !idleSent) {
                idleSent = true;
                SendMessage(owner, WM_ENTERIDLE, MSGF_MENU, (LPARAM)t.levels.back().window);
                continue;
            }
            t.waiting = true;
            WaitMessage();
            t.waiting = false;
            continue;
        }
        idleSent = false;
        if (msg.message == WM_QUIT) {
            quit = true;
            quitCode = (int)msg.wParam;
            break;
        }
        if (CallMsgFilter(&msg, MSGF_MENU))
            continue;
        if (IsMouseMessage(msg.message)) {
            if (LevelOf(t, msg.hwnd) >= 0) {
                DispatchMessage(&msg);
            } else if (IsButtonDown(msg.message)) {
                // A click elsewhere ends the menu; the window clicked receives it.
                t.requeue = msg;
                break;
            }
            continue;
        }
        switch (msg.message) {
            case WM_KEYDOWN:
            case WM_SYSKEYDOWN:
            case WM_CHAR:
            case WM_SYSCHAR:
                // Keys go to the innermost popup, unless sent or posted to a popup of their own.
                if (LevelOf(t, msg.hwnd) < 0)
                    msg.hwnd = t.levels.back().window;
                DispatchMessage(&msg);
                continue;
            case WM_KEYUP:
            case WM_SYSKEYUP:
                continue;
            default:
                DispatchMessage(&msg);
        }
    }
    CloseLevelsFrom(t, 0);
    t_tracking = nullptr;
    if (t.requeue)
        Requeue(*t.requeue);
    if (t.notify && IsWindow(owner)) {
        SendMessage(owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
        SendMessage(owner, WM_EXITMENULOOP, TRUE, 0);
    }
    if (quit)
        PostQuitMessage(quitCode);
    if (!t.chosen)
        return 0;
    if (flags & TPM_RETURNCMD)
        return (BOOL)t.chosenId;
    if (IsWindow(owner)) {
        // A window-menu command carries where the pointer is.
        POINT at{0, 0};
        if (t.chosenSystem)
            GetCursorPos(&at);
        PostMessage(owner, t.chosenSystem ? WM_SYSCOMMAND : WM_COMMAND,
                    t.chosenSystem ? (WPARAM)t.chosenId : MAKEWPARAM(t.chosenId, 0),
                    t.chosenSystem ? MAKELPARAM(at.x, at.y) : 0);
    }
    return TRUE;
}

HMENU BuildSystemMenu(bool mdiChild) {
    HMENU menu = CreatePopupMenu();
    AppendMenu(menu, MF_STRING, SC_RESTORE, "&Restore");
    AppendMenu(menu, MF_STRING, SC_MOVE, "&Move");
    AppendMenu(menu, MF_STRING, SC_SIZE, "&Size");
    AppendMenu(menu, MF_STRING, SC_MINIMIZE, "Mi&nimize");
    AppendMenu(menu, MF_STRING, SC_MAXIMIZE, "Ma&ximize");
    AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
    if (mdiChild) {
        AppendMenu(menu, MF_STRING, SC_CLOSE, "&Close\tCtrl+F4");
        AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenu(menu, MF_STRING, SC_NEXTWINDOW, "Nex&t\tCtrl+F6");
    } else {
        AppendMenu(menu, MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
    }
    std::lock_guard<std::mutex> g(g_menuMutex);
    Find(menu)->system = true;
    return menu;
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
    return InsertMenu(menu, (UINT)-1, flags | MF_BYPOSITION, idOrPopup, text);
}

BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCTSTR text) {
    std::lock_guard<std::mutex> g(g_menuMutex);
    MenuData* target = Find(menu);
    if (!target)
        return FALSE;
    MenuData* owner = nullptr;
    size_t index = 0;
    HMENU ownerMenu = menu;
    if (!Locate(menu, position, flags, &owner, &index, &ownerMenu)) {
        if (!(flags & MF_BYPOSITION))
            return FALSE;
        owner = target;
        index = owner->items.size();
    }
    if ((flags & MF_POPUP) && !AcceptablePopup(ownerMenu, reinterpret_cast<HMENU>(idOrPopup)))
        return FALSE;
    owner->items.insert(owner->items.begin() + (ptrdiff_t)index, MakeItem(flags, idOrPopup, text));
    return TRUE;
}

BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCTSTR text) {
    HMENU dropped = nullptr;
    {
        std::lock_guard<std::mutex> g(g_menuMutex);
        MenuData* owner = nullptr;
        size_t index = 0;
        HMENU ownerMenu = menu;
        if (!Locate(menu, position, flags, &owner, &index, &ownerMenu))
            return FALSE;
        MenuItem& item = owner->items[index];
        HMENU newPopup = (flags & MF_POPUP) ? reinterpret_cast<HMENU>(idOrPopup) : nullptr;
        if (newPopup && newPopup != item.popup && !AcceptablePopup(ownerMenu, newPopup))
            return FALSE;
        MenuItem replacement = MakeItem(flags, idOrPopup, text);
        if (!(flags & MF_OWNERDRAW))
            replacement.data = item.data;
        if (item.popup && item.popup != newPopup)
            dropped = item.popup;
        item = replacement;
    }
    if (dropped)
        DestroyMenu(dropped);
    return TRUE;
}

namespace {
BOOL TakeOut(HMENU menu, UINT position, UINT flags, bool destroy) {
    HMENU popup = nullptr;
    {
        std::lock_guard<std::mutex> g(g_menuMutex);
        MenuData* owner = nullptr;
        size_t index = 0;
        if (!Locate(menu, position, flags, &owner, &index))
            return FALSE;
        popup = owner->items[index].popup;
        owner->items.erase(owner->items.begin() + (ptrdiff_t)index);
    }
    if (destroy && popup)
        DestroyMenu(popup);
    return TRUE;
}

// Applies the fields of `info` its mask names.
bool ApplyInfo(HMENU menu, MenuItem& item, const MENUITEMINFO& info) {
    UINT mask = info.fMask;
    if ((mask & MIIM_SUBMENU) && info.hSubMenu && info.hSubMenu != item.popup &&
        !AcceptablePopup(menu, info.hSubMenu))
        return false;
    if (mask & (MIIM_TYPE | MIIM_FTYPE)) {
        item.flags = (item.flags & ~kTypeMask) | (info.fType & kTypeMask);
        item.measured = false;
    }
    if ((mask & MIIM_TYPE) && !(info.fType & (MFT_SEPARATOR | MFT_OWNERDRAW | MFT_BITMAP)))
        item.text = info.dwTypeData ? info.dwTypeData : "";
    if ((mask & MIIM_TYPE) && (info.fType & MFT_BITMAP))
        item.bitmap = (HBITMAP)info.dwTypeData;
    if (mask & MIIM_STRING) {
        item.text = info.dwTypeData ? info.dwTypeData : "";
        item.measured = false;
    }
    if (mask & MIIM_STATE)
        item.flags = (item.flags & ~kStateMask) | (info.fState & kStateMask);
    if (mask & MIIM_ID)
        item.id = info.wID;
    if (mask & MIIM_SUBMENU)
        item.popup = info.hSubMenu;
    if (mask & MIIM_CHECKMARKS) {
        item.checked = info.hbmpChecked;
        item.unchecked = info.hbmpUnchecked;
    }
    if (mask & MIIM_DATA)
        item.data = info.dwItemData;
    if (mask & MIIM_BITMAP)
        item.bitmap = info.hbmpItem;
    return true;
}
}  // namespace

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
    return TakeOut(menu, position, flags, true);
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
    return TakeOut(menu, position, flags, false);
}

BOOL InsertMenuItem(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFO info) {
    if (!info)
        return FALSE;
    std::lock_guard<std::mutex> g(g_menuMutex);
    MenuData* target = Find(menu);
    if (!target)
        return FALSE;
    MenuData* owner = nullptr;
    size_t index = 0;
    HMENU ownerMenu = menu;
    if (!Locate(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND, &owner, &index, &ownerMenu)) {
        if (!byPosition)
            return FALSE;
        owner = target;
        index = owner->items.size();
    }
    MenuItem fresh;
    if (!ApplyInfo(ownerMenu, fresh, *info))
        return FALSE;
    owner->items.insert(owner->items.begin() + (ptrdiff_t)index, fresh);
    return TRUE;
}

BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFO info) {
    if (!info)
        return FALSE;
    std::lock_guard<std::mutex> g(g_menuMutex);
    MenuItem* it = FindItem(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
    if (!it)
        return FALSE;
    UINT mask = info->fMask;
    if (mask & (MIIM_TYPE | MIIM_FTYPE))
        info->fType = it->flags & kTypeMask;
    bool hasText = !(it->flags & (MFT_SEPARATOR | MFT_OWNERDRAW | MFT_BITMAP));
    if ((mask & MIIM_STRING) || ((mask & MIIM_TYPE) && hasText)) {
        const std::string& text = hasText ? it->text : std::string();
        if (info->dwTypeData && info->cch > 0) {
            UINT n = std::min<UINT>(info->cch - 1, (UINT)text.size());
            std::memcpy(info->dwTypeData, text.data(), n);
            info->dwTypeData[n] = 0;
            info->cch = n;
        } else {
            info->cch = (UINT)text.size();
        }
    } else if ((mask & MIIM_TYPE) && (it->flags & MFT_BITMAP)) {
        info->dwTypeData = (LPTSTR)it->bitmap;
    }
    if (mask & MIIM_STATE)
        info->fState = it->flags & kStateMask;
    if (mask & MIIM_ID)
        info->wID = it->id;
    if (mask & MIIM_SUBMENU)
        info->hSubMenu = it->popup;
    if (mask & MIIM_CHECKMARKS) {
        info->hbmpChecked = it->checked;
        info->hbmpUnchecked = it->unchecked;
    }
    if (mask & MIIM_DATA)
        info->dwItemData = it->data;
    if (mask & MIIM_BITMAP)
        info->hbmpItem = it->bitmap;
    return TRUE;
}

BOOL SetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFO info) {
    if (!info)
        return FALSE;
    std::lock_guard<std::mutex> g(g_menuMutex);
    MenuData* owner = nullptr;
    size_t index = 0;
    HMENU ownerMenu = menu;
    if (!Locate(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND, &owner, &index, &ownerMenu))
        return FALSE;
    MenuItem changed = owner->items[index];
    if (!ApplyInfo(ownerMenu, changed, *info))
        return FALSE;
    owner->items[index] = changed;
    return TRUE;
}

HMENU GetSubMenu(HMENU menu, int position) {
    std::lock_guard<std::mutex> g(g_menuMutex);
    MenuData* data = Find(menu);
    if (!data || position < 0 || position >= (int)data->items.size())
        return nullptr;
    return data->items[(size_t)position].popup;
}

int GetMenuItemCount(HMENU menu) {
    std::lock_guard<std::mutex> g(g_menuMutex);
    MenuData* data = Find(menu);
    return data ? (int)data->items.size() : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
    std::lock_guard<std::mutex> g(g_menuMutex);
    MenuData* data = Find(menu);
    if (!data || position < 0 || position >= (int)data->items.size() || data->items[(size_t)position].popup)
        return (UINT)-1;
    return data->items[(size_t)position].id;
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
    if (!it)
        return (UINT)-1;
    UINT state = it->flags & (kTypeMask | kStateMask);
    if (it->popup) {
        MenuData* sub = Find(it->popup);
        UINT count = sub ? (UINT)std::min<size_t>(sub->items.size(), 0xFF) : 0;
        state = (count << 8) | (state & 0xFF) | MF_POPUP;
    }
    return state;
}

BOOL HiliteMenuItem(HWND, HMENU menu, UINT item, UINT hilite) {
    std::lock_guard<std::mutex> g(g_menuMutex);
    MenuItem* it = FindItem(menu, item, hilite & MF_BYPOSITION);
    if (!it)
        return FALSE;
    it->flags = (hilite & MF_HILITE) ? (it->flags | MF_HILITE) : (it->flags & ~MF_HILITE);
    return TRUE;
}

HMENU GetSystemMenu(HWND hwnd, BOOL revert) {
    // Copies of windows that are gone are dropped first.
    std::vector<std::pair<HWND, HMENU>> copies;
    {
        std::lock_guard<std::mutex> g(g_menuMutex);
        copies.assign(g_systemMenus.begin(), g_systemMenus.end());
    }
    for (auto& [window, menu] : copies) {
        if (IsWindow(window))
            continue;
        DestroyMenu(menu);
        std::lock_guard<std::mutex> g(g_menuMutex);
        g_systemMenus.erase(window);
    }
    if (!IsWindow(hwnd))
        return nullptr;
    HMENU existing = nullptr;
    {
        std::lock_guard<std::mutex> g(g_menuMutex);
        auto it = g_systemMenus.find(hwnd);
        if (it != g_systemMenus.end()) {
            existing = it->second;
            if (revert || !Find(existing))
                g_systemMenus.erase(it);
            else
                return existing;
        }
    }
    if (revert) {
        if (existing)
            DestroyMenu(existing);
        return nullptr;
    }
    HMENU menu = BuildSystemMenu((GetWindowLongPtr(hwnd, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0);
    std::lock_guard<std::mutex> g(g_menuMutex);
    g_systemMenus[hwnd] = menu;
    return menu;
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
    return t_tracking && !t_tracking->levels.empty() ? t_tracking->levels.back().window : nullptr;
}

HMENU GetTrackedPopupMenu() {
    return t_tracking && !t_tracking->levels.empty() ? t_tracking->levels.back().menu : nullptr;
}

HWND GetMenuLoopOwner() {
    return t_tracking ? t_tracking->owner : nullptr;
}

HMENU GetMenuLoopMenu() {
    return t_tracking && !t_tracking->levels.empty() ? t_tracking->levels.front().menu : nullptr;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    return RunMenuLoop(menu, flags, x, y, owner, nullptr);
}

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params) {
    return RunMenuLoop(menu, flags, x, y, owner, params ? &params->rcExclude : nullptr);
}

BOOL EndMenu() {
    if (!t_tracking)
        return FALSE;
    EndLoop(*t_tracking);
    return TRUE;
}

int MenuItemFromPoint(HWND, HMENU menu, POINT screen) {
    Tracking* t = t_tracking;
    if (!t)
        return -1;
    for (const Level& level : t->levels) {
        if (level.menu != menu || !level.window)
            continue;
        POINT client = screen;
        ScreenToClient(level.window, &client);
        return ItemAt(level, client);
    }
    return -1;
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
