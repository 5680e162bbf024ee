// Deferred window positions: a list of SetWindowPos calls done together by EndDeferWindowPos.
#include <algorithm>
#include <mutex>
#include <set>
#include <vector>

#include "platform/user/User.h"

namespace {
struct DeferredPos {
    HWND hwnd;
    HWND insertAfter;
    int x, y, cx, cy;
    UINT flags;
};
struct DeferList {
    std::vector<DeferredPos> items;
};
std::mutex g_deferMutex;
std::set<DeferList*> g_lists;

DeferList* Take(HDWP info, bool remove) {
    std::lock_guard<std::mutex> g(g_deferMutex);
    auto it = g_lists.find(reinterpret_cast<DeferList*>(info));
    if (it == g_lists.end())
        return nullptr;
    DeferList* list = *it;
    if (remove)
        g_lists.erase(it);
    return list;
}
}  // namespace

HDWP BeginDeferWindowPos(int count) {
    auto* list = new DeferList;
    list->items.reserve((size_t)std::max(0, count));
    std::lock_guard<std::mutex> g(g_deferMutex);
    g_lists.insert(list);
    return reinterpret_cast<HDWP>(list);
}

HDWP DeferWindowPos(HDWP info, HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    DeferList* list = Take(info, false);
    if (!list)
        return nullptr;
    if (!IsWindow(hwnd)) {
        // A bad window spoils the whole list, as the caller must not apply half of a layout.
        Take(info, true);
        delete list;
        return nullptr;
    }
    // A second request for the same window replaces the first.
    for (DeferredPos& p : list->items)
        if (p.hwnd == hwnd) {
            p = DeferredPos{hwnd, insertAfter, x, y, cx, cy, flags};
            return info;
        }
    list->items.push_back(DeferredPos{hwnd, insertAfter, x, y, cx, cy, flags});
    return info;
}

BOOL EndDeferWindowPos(HDWP info) {
    DeferList* list = Take(info, true);
    if (!list)
        return FALSE;
    for (const DeferredPos& p : list->items)
        if (IsWindow(p.hwnd))
            SetWindowPos(p.hwnd, p.insertAfter, p.x, p.y, p.cx, p.cy, p.flags);
    delete list;
    return TRUE;
}
