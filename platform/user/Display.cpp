#include "platform/user/Display.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace {
std::mutex g_displayMutex;
std::shared_ptr<DisplayBackend> g_display;
DWORD g_displayThread = 0;
std::vector<HWND> g_clipboardListeners;

class NullDisplay : public DisplayBackend {
public:
    const char* Name() const override { return "none"; }
};
}  // namespace

void SetDisplayBackend(std::shared_ptr<DisplayBackend> display) {
    std::lock_guard<std::mutex> g(g_displayMutex);
    g_display = std::move(display);
    g_displayThread = GetCurrentThreadId();
}

std::shared_ptr<DisplayBackend> GetDisplayBackendShared() {
    static std::shared_ptr<DisplayBackend> none = std::make_shared<NullDisplay>();
    std::lock_guard<std::mutex> g(g_displayMutex);
    return g_display ? g_display : none;
}

DisplayBackend* GetDisplayBackend() {
    return GetDisplayBackendShared().get();
}

DWORD GetDisplayThreadId() {
    std::lock_guard<std::mutex> g(g_displayMutex);
    return g_displayThread;
}

void PollDisplay() {
    auto display = GetDisplayBackendShared();
    if (display->NeedsPolling() && GetDisplayThreadId() == GetCurrentThreadId())
        display->Poll();
}

BOOL AddClipboardFormatListener(HWND hwnd) {
    if (!IsWindow(hwnd))
        return FALSE;
    std::lock_guard<std::mutex> g(g_displayMutex);
    if (std::find(g_clipboardListeners.begin(), g_clipboardListeners.end(), hwnd) ==
        g_clipboardListeners.end())
        g_clipboardListeners.push_back(hwnd);
    return TRUE;
}

BOOL RemoveClipboardFormatListener(HWND hwnd) {
    std::lock_guard<std::mutex> g(g_displayMutex);
    auto it = std::find(g_clipboardListeners.begin(), g_clipboardListeners.end(), hwnd);
    if (it == g_clipboardListeners.end())
        return FALSE;
    g_clipboardListeners.erase(it);
    return TRUE;
}

void NotifyClipboardListeners() {
    std::vector<HWND> listeners;
    {
        std::lock_guard<std::mutex> g(g_displayMutex);
        listeners = g_clipboardListeners;
    }
    std::vector<HWND> gone;
    for (HWND h : listeners)
        if (!PostMessage(h, WM_CLIPBOARDUPDATE, 0, 0))
            gone.push_back(h);
    // A listener destroyed without removing itself is dropped (its handle may be reused later).
    for (HWND h : gone)
        RemoveClipboardFormatListener(h);
}
