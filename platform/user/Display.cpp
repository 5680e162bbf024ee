#include "platform/user/Display.h"

#include <mutex>

namespace {
std::mutex g_displayMutex;
std::shared_ptr<DisplayBackend> g_display;
DWORD g_displayThread = 0;

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

DisplayBackend* GetDisplayBackend() { return GetDisplayBackendShared().get(); }

DWORD GetDisplayThreadId() {
    std::lock_guard<std::mutex> g(g_displayMutex);
    return g_displayThread;
}

void PollDisplay() {
    auto display = GetDisplayBackendShared();
    if (display->NeedsPolling() && GetDisplayThreadId() == GetCurrentThreadId()) display->Poll();
}
