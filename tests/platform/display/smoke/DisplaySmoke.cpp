// Shows a main window at the place given on the command line with the wait dialog over it at
// 50 %, on the display the environment asks for (the test asks for sdl). When the pixels are on
// the screen it prints "ready" and the screen rectangles of the main window, the dialog and its
// progress bar, then waits for a line on standard input before it closes everything.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "app/WaitDlg.h"
#include "platform/display/DisplayFactory.h"
#include "res/veltrin/VeltrinResources.h"
#include "res/veltrin/resource.h"

namespace {
void Print(const char* what, HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    std::printf(" %s %ld %ld %ld %ld", what, (long)r.left, (long)r.top, (long)r.right, (long)r.bottom);
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: display_smoke X Y WIDTH HEIGHT\n");
        return 2;
    }
    int x = std::atoi(argv[1]), y = std::atoi(argv[2]), width = std::atoi(argv[3]),
        height = std::atoi(argv[4]);
    CWinApp app("DisplaySmoke");
    std::string display = InitDisplayFromEnvironment();
    if (display != "sdl") {
        std::fprintf(stderr, "display_smoke: running on %s, not sdl\n", display.c_str());
        return 3;
    }
    AddResourceModule(&VeltrinResources());

    WNDCLASS wc{};
    wc.lpfnWndProc = ::DefWindowProc;
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = "SmokeMain";
    RegisterClass(&wc);
    CWnd main;
    if (!main.CreateEx(0, "SmokeMain", "Smoke", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, width, height,
                       nullptr, nullptr)) {
        std::fprintf(stderr, "display_smoke: no main window\n");
        return 4;
    }
    app.m_pMainWnd = &main;
    {
        BOOL go = TRUE;
        CWaitDlg dlg(&go, 100, &main);
        dlg.SetPercent(50);
        // Paints what is invalid and hands the pixels to the display, which shows them at once.
        dlg.PumpPaintMessages();
        std::printf("ready");
        Print("main", main.m_hWnd);
        Print("dialog", dlg.m_hWnd);
        Print("bar", GetDlgItem(dlg.m_hWnd, IDC_WAIT_PROGRESS));
        std::printf("\n");
        std::fflush(stdout);
        std::string line;
        std::getline(std::cin, line);
        dlg.Close();
    }
    app.m_pMainWnd = nullptr;
    main.DestroyWindow();
    return 0;
}
