// Shows a disc-shaped splash window from the .bmp named on the command line (magenta around a disc,
// keyed from its corner) on the display the environment asks for (the test asks for sdl). When it is
// painted it prints "ready" and the splash's screen rectangle, then waits for a line on standard input
// before it closes.
#include <cstdio>
#include <iostream>
#include <string>

#include "guilib/controls/OXSplashWnd.h"
#include "platform/framework/app/WinThread.h"
#include "platform/display/DisplayFactory.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: splash_shape BITMAP\n");
        return 2;
    }
    CWinApp app("SplashShape");
    std::string display = InitDisplayFromEnvironment();
    if (display != "sdl") {
        std::fprintf(stderr, "splash_shape: running on %s, not sdl\n", display.c_str());
        return 3;
    }
    COXSplashWnd splash;
    if (!splash.LoadBitmapFile(argv[1], OXSPLASH_KEY_FROM_POINT) || !splash.Show(-1)) {
        std::fprintf(stderr, "splash_shape: no splash\n");
        return 4;
    }
    HWND hwnd = splash.GetSafeHwnd();
    ::UpdateWindow(hwnd);
    MSG msg;
    while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    std::printf("ready %ld %ld %ld %ld\n", (long)r.left, (long)r.top, (long)r.right, (long)r.bottom);
    std::fflush(stdout);
    std::string line;
    std::getline(std::cin, line);
    splash.Hide();
    return 0;
}
