// A running copy for the other-copies test: a tool window, a main window (then minimised) and a popup it
// owns. It says on standard output what reaches the main window, and ends when the main window closes.
#include <unistd.h>

#include <cstdio>

#include "platform/user/User.h"

namespace {
HWND g_main = nullptr;
bool g_ready = false;  // activations while it starts up are not reported

void Say(const char* line, long value = 0) {
    std::printf(line, value);
    std::printf("\n");
    std::fflush(stdout);
}

LRESULT Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (h == g_main) {
        switch (m) {
            case 0x80C8:
                Say("message 80c8 %ld", (long)l);
                return 0;
            case WM_ACTIVATE:
                if (LOWORD(w) != WA_INACTIVE && g_ready)
                    Say("active");
                break;
            case WM_DESTROY:
                PostQuitMessage(0);
                return 0;
            default:
                break;
        }
    }
    return DefWindowProc(h, m, w, l);
}
}  // namespace

int main() {
    WNDCLASS wc{};
    wc.lpfnWndProc = Proc;
    wc.lpszClassName = "WindowPeer";
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    RegisterClass(&wc);
    HWND tool = CreateWindowEx(WS_EX_TOOLWINDOW, "WindowPeer", "tool", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                   nullptr, nullptr);
    g_main = CreateWindowEx(0, "WindowPeer", "Peer", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200, nullptr,
                            nullptr, nullptr, nullptr);
    CreateWindowEx(0, "WindowPeer", "owned", WS_POPUP | WS_VISIBLE, 20, 20, 60, 60, g_main, nullptr, nullptr,
                   nullptr);
    ShowWindow(g_main, SW_MINIMIZE);
    SetActiveWindow(tool);  // the main window is not the active one
    g_ready = true;
    Say("ready %ld", (long)getpid());
    MSG m;
    while (GetMessage(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessage(&m);
    }
    return 0;
}
