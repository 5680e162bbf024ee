// Locking a window against updates, the system parameters of the Classic look, and the one monitor.
#include <atomic>
#include <cstring>
#include <mutex>

#include "platform/user/UserInternal.h"

namespace {
std::mutex g_lockMutex;
// Read without the mutex by the paint search, which runs under the window lock.
std::atomic<HWND> g_locked{nullptr};

const HMONITOR kMonitor = reinterpret_cast<HMONITOR>(0x10001);

RECT ScreenRect() {
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

LOGFONT UiFont(bool bold) {
    LOGFONT lf{};
    lf.lfHeight = -11;  // 8 points at 96 dots per inch
    lf.lfWeight = bold ? 700 : 400;
    std::strcpy(lf.lfFaceName, "Tahoma");
    return lf;
}
}  // namespace

BOOL LockWindowUpdate(HWND hwnd) {
    HWND unlocked = nullptr;
    {
        std::lock_guard<std::mutex> g(g_lockMutex);
        if (hwnd) {
            if (g_locked || !IsWindow(hwnd))
                return FALSE;
            g_locked = hwnd;
            return TRUE;
        }
        unlocked = g_locked.exchange(nullptr);
    }
    if (unlocked && IsWindow(unlocked))
        RedrawWindow(unlocked, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    return TRUE;
}

bool user::IsPaintHeld(HWND hwnd) {
    HWND locked = g_locked.load();
    if (!locked)
        return false;
    for (const WindowData* w = Find(hwnd); w; w = w->parent ? Find(w->parent) : nullptr)
        if (w->hwnd == locked)
            return true;
    return locked == Desktop();
}

HWND GetLockedWindow() {
    return g_locked.load();
}

BOOL SystemParametersInfo(UINT action, UINT, LPVOID data, UINT) {
    switch (action) {
        case SPI_GETWORKAREA: {
            if (!data)
                return FALSE;
            *static_cast<RECT*>(data) = ScreenRect();
            return TRUE;
        }
        case SPI_GETNONCLIENTMETRICS: {
            auto* m = static_cast<NONCLIENTMETRICS*>(data);
            // A caller built for an older layout passes a size without the padded border.
            const UINT withoutPadding = (UINT)offsetof(NONCLIENTMETRICS, iPaddedBorderWidth);
            if (!m || (m->cbSize != sizeof(NONCLIENTMETRICS) && m->cbSize != withoutPadding))
                return FALSE;
            UINT size = m->cbSize;
            NONCLIENTMETRICS v{};
            v.cbSize = size;
            v.iBorderWidth = 1;
            v.iScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
            v.iScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
            v.iCaptionWidth = GetSystemMetrics(SM_CXSIZE);
            v.iCaptionHeight = GetSystemMetrics(SM_CYSIZE);
            v.lfCaptionFont = UiFont(true);
            v.iSmCaptionWidth = 12;
            v.iSmCaptionHeight = GetSystemMetrics(SM_CYSMCAPTION) - 1;
            v.lfSmCaptionFont = UiFont(true);
            v.iMenuWidth = GetSystemMetrics(SM_CYMENU) - 1;
            v.iMenuHeight = GetSystemMetrics(SM_CYMENU) - 1;
            v.lfMenuFont = UiFont(false);
            v.lfStatusFont = UiFont(false);
            v.lfMessageFont = UiFont(false);
            std::memcpy(m, &v, size);
            return TRUE;
        }
        default:
            return FALSE;
    }
}

HMONITOR MonitorFromRect(const RECT* rc, DWORD flags) {
    if (!rc)
        return nullptr;
    RECT screen = ScreenRect(), common;
    if (IntersectRect(&common, rc, &screen) || flags != MONITOR_DEFAULTTONULL)
        return kMonitor;
    return nullptr;
}

HMONITOR MonitorFromPoint(POINT pt, DWORD flags) {
    RECT r{pt.x, pt.y, pt.x + 1, pt.y + 1};
    return MonitorFromRect(&r, flags);
}

HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags) {
    RECT r;
    if (!GetWindowRect(hwnd, &r))
        return flags == MONITOR_DEFAULTTONULL ? nullptr : kMonitor;
    if (IsRectEmpty(&r))
        r = RECT{r.left, r.top, r.left + 1, r.top + 1};
    return MonitorFromRect(&r, flags);
}

BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFO* info) {
    if (monitor != kMonitor || !info || info->cbSize < sizeof(MONITORINFO))
        return FALSE;
    info->rcMonitor = ScreenRect();
    SystemParametersInfo(SPI_GETWORKAREA, 0, &info->rcWork, 0);
    info->dwFlags = MONITORINFOF_PRIMARY;
    return TRUE;
}
