#include "platform/user/CloseSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <mutex>
#include <thread>

#include "platform/user/UserInternal.h"

namespace {
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

std::mutex g_mutex;
std::function<HWND()> g_mainWindow;
DWORD g_thread = 0;
bool g_installed = false;
struct sigaction g_previous[3];

// What the handler touches: async-signal-safe only.
int g_wakeFd[2] = {-1, -1};
std::atomic<int> g_received{0};
std::atomic<bool> g_pending{false};

void OnSignal(int sig) {
    if (g_received.fetch_add(1) > 0) {
        // The close is already under way and the user asks again: end now, by the signal itself.
        struct sigaction dfl {};
        dfl.sa_handler = SIG_DFL;
        sigaction(sig, &dfl, nullptr);
        raise(sig);  // delivered when this handler returns
        return;
    }
    int saved = errno;
    char byte = (char)sig;
    ssize_t written = write(g_wakeFd[1], &byte, 1);
    (void)written;
    errno = saved;
}

// Turns the byte the handler wrote into a message, so a thread waiting for messages wakes up.
void Watch() {
    for (;;) {
        char byte;
        ssize_t n = read(g_wakeFd[0], &byte, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        DWORD thread;
        {
            std::lock_guard<std::mutex> g(g_mutex);
            thread = g_thread;
        }
        g_pending = true;
        PostThreadMessage(thread, WM_NULL, 0, 0);
    }
}

BOOL CloseModal(HWND hwnd, LPARAM main) {
    if (hwnd != (HWND)main && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd))
        PostMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    return TRUE;
}
}  // namespace

void HandleCloseSignals(std::function<HWND()> mainWindow) {
    std::lock_guard<std::mutex> g(g_mutex);
    g_mainWindow = std::move(mainWindow);
    g_thread = GetCurrentThreadId();
    g_received = 0;
    g_pending = false;
    if (g_installed)
        return;
    if (g_wakeFd[0] < 0) {
        if (pipe2(g_wakeFd, O_CLOEXEC) != 0)
            return;
        std::thread(Watch).detach();
    }
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &sa, &g_previous[i]);
    g_installed = true;
}

void StopHandlingCloseSignals() {
    std::lock_guard<std::mutex> g(g_mutex);
    if (!g_installed)
        return;
    for (size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &g_previous[i], nullptr);
    g_installed = false;
    g_mainWindow = nullptr;
    g_pending = false;
}

void user::RunPendingCloseSignal() {
    if (!g_pending.load(std::memory_order_relaxed))
        return;
    std::function<HWND()> mainWindow;
    {
        std::lock_guard<std::mutex> g(g_mutex);
        if (GetCurrentThreadId() != g_thread || !g_pending.exchange(false))
            return;
        mainWindow = g_mainWindow;
    }
    HWND main = mainWindow ? mainWindow() : nullptr;
    if (!main || !IsWindow(main)) {
        PostQuitMessage(0);
        return;
    }
    // Under a modal window the main window is disabled and its close box would not answer: the
    // windows on top close first, each as its own close box would.
    if (!IsWindowEnabled(main))
        EnumThreadWindows(GetCurrentThreadId(), CloseModal, (LPARAM)main);
    PostMessage(main, WM_SYSCOMMAND, SC_CLOSE, 0);
}
