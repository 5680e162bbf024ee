// Under Xvfb with the sdl display, a program shows a main window with the wait dialog over it; a
// screenshot of the X screen (xwd) must show the dialog's pixels where its windows say they are.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "tests/platform/display/XvfbSupport.h"

extern char** environ;

namespace {
using namespace xvfb_test;
std::string Hex(COLORREF c) {
    char b[16];
    std::snprintf(b, sizeof b, "%06lx", (unsigned long)c);
    return b;
}

TEST(XvfbSmoke, WaitDialogPixelsReachTheXScreen) {
    std::string xvfb = FindOnPath("Xvfb");
    if (xvfb.empty())
        GTEST_SKIP() << "Xvfb is not installed";
    std::string xwd = FindOnPath("xwd");
    ASSERT_FALSE(xwd.empty()) << "xwd (x11-apps) is missing; scripts/setup installs it";
    std::string program = std::string(VELTRIN_BIN_DIR) + "/display_smoke";
    ASSERT_EQ(access(program.c_str(), X_OK), 0) << program;

    // Xvfb picks a free display itself and writes its number when it accepts clients.
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    Child server;
    bool started = Spawn(server,
                         {xvfb, "-displayfd", std::to_string(ready[1]), "-screen", "0", "1024x768x24",
                          "-nolisten", "tcp", "-noreset"},
                         environ, -1, -1, {ready[0]});
    close(ready[1]);
    ASSERT_TRUE(started);
    std::string number;
    bool gotNumber = ReadLine(ready[0], number, 60);
    close(ready[0]);
    ASSERT_TRUE(gotNumber && !number.empty()) << "Xvfb did not start";
    std::string display = ":" + number;

    // The program's environment: this one, on the new X display with sdl.
    std::vector<std::string> envStrings;
    for (char** e = environ; *e; ++e) {
        std::string s = *e;
        for (const char* drop : {"DISPLAY=", "WAYLAND_DISPLAY=", "VELTRIN_DISPLAY=", "SDL_VIDEODRIVER=",
                                 "VELTRIN_SCREENSHOT_DIR="})
            if (s.rfind(drop, 0) == 0)
                s.clear();
        if (!s.empty())
            envStrings.push_back(s);
    }
    envStrings.insert(envStrings.end(), {"DISPLAY=" + display, "VELTRIN_DISPLAY=sdl", "SDL_VIDEODRIVER=x11"});
    std::vector<char*> env;
    for (std::string& s : envStrings)
        env.push_back(s.data());
    env.push_back(nullptr);

    const RECT mainAsked{100, 80, 700, 480};
    int toProgram[2], fromProgram[2];
    ASSERT_EQ(pipe(toProgram), 0);
    ASSERT_EQ(pipe(fromProgram), 0);
    Child app;
    started = Spawn(
        app,
        {program, std::to_string(mainAsked.left), std::to_string(mainAsked.top),
         std::to_string(mainAsked.right - mainAsked.left), std::to_string(mainAsked.bottom - mainAsked.top)},
        env.data(), toProgram[0], fromProgram[1], {toProgram[1], fromProgram[0]});
    close(toProgram[0]);
    close(fromProgram[1]);
    ASSERT_TRUE(started);
    std::string line;
    bool gotReady = ReadLine(fromProgram[0], line, 120);
    close(fromProgram[0]);
    ASSERT_TRUE(gotReady) << "the program did not report its first paint";

    std::istringstream in(line);
    std::string word, tag[3];
    RECT r[3];
    in >> word >> tag[0] >> r[0].left >> r[0].top >> r[0].right >> r[0].bottom >> tag[1] >> r[1].left >>
        r[1].top >> r[1].right >> r[1].bottom >> tag[2] >> r[2].left >> r[2].top >> r[2].right >> r[2].bottom;
    ASSERT_TRUE(in && word == "ready" && tag[0] == "main" && tag[1] == "dialog" && tag[2] == "bar") << line;
    const RECT &mainRect = r[0], &dialog = r[1], &bar = r[2];

    // Where the pixels should be: the main window where asked (the desktop's frame is outside
    // it), the dialog centred over it, the bar inside the dialog.
    EXPECT_EQ(mainRect.left, mainAsked.left);
    EXPECT_EQ(mainRect.top, mainAsked.top);
    EXPECT_EQ(mainRect.right, mainAsked.right);
    EXPECT_LE(std::abs((dialog.left + dialog.right) - (mainRect.left + mainRect.right)), 1);
    EXPECT_LE(std::abs((dialog.top + dialog.bottom) - (mainRect.top + mainRect.bottom)), 1);
    ASSERT_TRUE(bar.left > dialog.left && bar.right < dialog.right && bar.top > dialog.top &&
                bar.bottom < dialog.bottom);

    char shotPath[] = "/tmp/veltrin-xwd-XXXXXX";
    int shotFd = mkstemp(shotPath);
    ASSERT_GE(shotFd, 0);
    close(shotFd);
    Child grab;
    ASSERT_TRUE(
        Spawn(grab, {xwd, "-root", "-silent", "-display", display, "-out", shotPath}, environ, -1, -1, {}));
    EXPECT_EQ(grab.Wait(), 0);

    // The screenshot is taken: the program may close and end.
    EXPECT_EQ(write(toProgram[1], "done\n", 5), 5);
    close(toProgram[1]);
    EXPECT_EQ(app.Wait(), 0);
    server.Stop();

    XwdImage shot;
    std::string error;
    bool loaded = shot.Load(shotPath, error);
    unlink(shotPath);
    ASSERT_TRUE(loaded) << error;
    EXPECT_EQ(shot.Width(), 1024u);
    EXPECT_EQ(shot.Height(), 768u);

    int barMiddle = (bar.top + bar.bottom) / 2;
    int inner = (bar.right - bar.left) - 4;  // inside the sunken edge and the one-pixel gap
    // Classic blocks: two thirds as wide as the bar is high inside, two pixels apart.
    int block = ((bar.bottom - bar.top) - 4) * 2 / 3, period = block + 2;
    int blockAt40 = bar.left + 2 + (inner * 40 / 100) / period * period + block / 2;
    struct Expect {
        const char* what;
        int x, y;
        COLORREF colour;
    } expects[] = {
        {"main window client", mainRect.left + 5, mainRect.top + 5, GetSysColor(COLOR_WINDOW)},
        {"main window beside the dialog", dialog.left - 5, (dialog.top + dialog.bottom) / 2,
         GetSysColor(COLOR_WINDOW)},
        {"dialog caption start", dialog.left + 3, dialog.top + 8, GetSysColor(COLOR_ACTIVECAPTION)},
        {"dialog face below the bar", dialog.left + 10, dialog.bottom - 8, GetSysColor(COLOR_3DFACE)},
        {"first block of the bar", bar.left + 4, barMiddle, GetSysColor(COLOR_HIGHLIGHT)},
        {"bar at 40 %", blockAt40, barMiddle, GetSysColor(COLOR_HIGHLIGHT)},
        {"empty bar at 90 %", bar.left + 2 + inner * 90 / 100, barMiddle, GetSysColor(COLOR_3DFACE)},
    };
    for (const Expect& e : expects)
        EXPECT_EQ(Hex(shot.Pixel(e.x, e.y)), Hex(e.colour)) << e.what << " at " << e.x << "," << e.y;
}
}  // namespace
