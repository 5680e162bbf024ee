// Notification icons kept by the platform (no tray is shown).
#include <cstring>
#include <map>
#include <mutex>

#include "platform/user/Shell.h"

namespace {
std::mutex g_mutex;
std::map<std::pair<HWND, UINT>, NOTIFYICONDATA> g_icons;

void Apply(NOTIFYICONDATA& kept, const NOTIFYICONDATA& in) {
    if (in.uFlags & NIF_MESSAGE)
        kept.uCallbackMessage = in.uCallbackMessage;
    if (in.uFlags & NIF_ICON)
        kept.hIcon = in.hIcon;
    if (in.uFlags & NIF_TIP) {
        std::memcpy(kept.szTip, in.szTip, sizeof kept.szTip);
        kept.szTip[sizeof kept.szTip - 1] = 0;
    }
    if (in.uFlags & NIF_STATE)
        kept.dwState = (kept.dwState & ~in.dwStateMask) | (in.dwState & in.dwStateMask);
    if (in.uFlags & NIF_INFO) {
        std::memcpy(kept.szInfo, in.szInfo, sizeof kept.szInfo);
        kept.szInfo[sizeof kept.szInfo - 1] = 0;
        std::memcpy(kept.szInfoTitle, in.szInfoTitle, sizeof kept.szInfoTitle);
        kept.szInfoTitle[sizeof kept.szInfoTitle - 1] = 0;
        kept.uTimeout = in.uTimeout;
        kept.dwInfoFlags = in.dwInfoFlags;
    }
    kept.uFlags |= in.uFlags;
}
}  // namespace

BOOL Shell_NotifyIcon(DWORD message, PNOTIFYICONDATA data) {
    if (!data || !IsWindow(data->hWnd))
        return FALSE;
    std::lock_guard<std::mutex> g(g_mutex);
    auto key = std::make_pair(data->hWnd, data->uID);
    auto it = g_icons.find(key);
    switch (message) {
        case NIM_ADD: {
            if (it != g_icons.end())
                return FALSE;
            NOTIFYICONDATA kept{};
            kept.cbSize = sizeof kept;
            kept.hWnd = data->hWnd;
            kept.uID = data->uID;
            Apply(kept, *data);
            g_icons[key] = kept;
            return TRUE;
        }
        case NIM_MODIFY:
            if (it == g_icons.end())
                return FALSE;
            Apply(it->second, *data);
            return TRUE;
        case NIM_DELETE:
            if (it == g_icons.end())
                return FALSE;
            g_icons.erase(it);
            return TRUE;
        case NIM_SETFOCUS:
        case NIM_SETVERSION:
            return it != g_icons.end();
        default:
            return FALSE;
    }
}

bool FindNotifyIcon(HWND hwnd, UINT id, NOTIFYICONDATA* out) {
    std::lock_guard<std::mutex> g(g_mutex);
    auto it = g_icons.find(std::make_pair(hwnd, id));
    if (it == g_icons.end() || !IsWindow(hwnd))
        return false;
    if (out)
        *out = it->second;
    return true;
}

bool SimulateNotifyIconMouse(HWND hwnd, UINT id, UINT mouseMessage) {
    NOTIFYICONDATA icon;
    if (!FindNotifyIcon(hwnd, id, &icon) || !(icon.uFlags & NIF_MESSAGE) || (icon.dwState & NIS_HIDDEN))
        return false;
    return PostMessage(hwnd, icon.uCallbackMessage, (WPARAM)id, (LPARAM)mouseMessage) != FALSE;
}
