// Sifter under Xvfb with the sdl display: started with a search to run at once on a small tree, the X
// screen shows one row per hit in its result list; and a new user's first minutes with a window manager,
// real X input, the X clipboard and a termination signal. Screens are kept as PNGs in the build folder.
#include <gtest/gtest.h>
#include <sys/syscall.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <thread>

#include "platform/user/Resources.h"
#include "res/sifter/SifterResources.h"
#include "res/sifter/resource.h"
#include "tests/platform/base/ProcessTestSupport.h"
#include "tests/platform/display/XvfbSupport.h"

extern char** environ;

namespace {
using namespace xvfb_test;

// Bands of text in the name column of the result list: the list is the lowest wide white area of the
// screen; a band is a run of pixel rows holding dark pixels. -1 when no list is seen. `area` receives
// the white area (left, top, right, bottom inclusive).
int ListTextRows(const XwdImage& shot, RECT* area = nullptr) {
    const COLORREF white = RGB(255, 255, 255);
    auto isWhite = [&](int x, int y) { return shot.Pixel(x, y) == white; };
    // A wide white run with white above its left end for at least 60 rows (not a 3D edge's highlight).
    int bottom = -1, top = -1, x0 = 0, x1 = 0;
    for (int y = (int)shot.Height() - 1; y >= 60 && bottom < 0; --y) {
        for (int x = 0, run = 0; x < (int)shot.Width(); ++x) {
            run = isWhite(x, y) ? run + 1 : 0;
            if (run < 300 || (x + 1 < (int)shot.Width() && isWhite(x + 1, y)))
                continue;
            int left = x - run + 1, up = y;
            while (up > 0 && isWhite(left, up - 1))
                --up;
            if (y - up >= 60) {
                bottom = y, top = up, x0 = left, x1 = x;
                break;
            }
        }
    }
    if (bottom < 0)
        return -1;
    if (area)
        *area = RECT{x0, top, x1, bottom};
    int bands = 0;
    bool inBand = false;
    for (int y = top; y <= bottom; ++y) {
        bool dark = false;
        for (int x = x0; x <= std::min(x0 + 160, x1) && !dark; ++x) {
            COLORREF c = shot.Pixel(x, y);
            dark = GetRValue(c) < 128 && GetGValue(c) < 128 && GetBValue(c) < 128;
        }
        bands += dark && !inBand;
        inBand = dark;
    }
    return bands;
}

TEST(SifterXvfb, RunNowShowsTheHits) {
    if (FindOnPath("Xvfb").empty())
        GTEST_SKIP() << "Xvfb is not installed";
    std::string xwd = FindOnPath("xwd");
    ASSERT_FALSE(xwd.empty()) << "xwd (x11-apps) is missing; scripts/setup installs it";
    std::string program = std::string(VELTRIN_BIN_DIR) + "/sifter";
    ASSERT_EQ(access(program.c_str(), X_OK), 0) << program;

    process_test::TempDir tree;
    std::filesystem::create_directories(tree / "logs/sub");
    process_test::WriteFile(tree / "logs/a.log", "start\nrequest timeout\n", 0644);
    process_test::WriteFile(tree / "logs/sub/b.log", "TIMEOUT\n", 0644);
    process_test::WriteFile(tree / "logs/c.log", "nothing here\n", 0644);
    process_test::WriteFile(tree / "logs/d.log", "a Timeout too\n", 0644);
    process_test::WriteFile(tree / "logs/e.txt", "timeout, but not a log\n", 0644);

    Child server;
    std::string display;
    ASSERT_TRUE(StartXvfb(server, display, environ)) << "Xvfb did not start";
    std::vector<std::string> envStrings = ProgramEnvironment(
        environ, {"DISPLAY=" + display, "VELTRIN_DISPLAY=sdl", "SDL_VIDEODRIVER=x11",
                  "VELTRIN_REGISTRY=" + tree / "registry.reg", "ASAN_OPTIONS=detect_leaks=0"});
    std::vector<char*> env;
    for (std::string& s : envStrings)
        env.push_back(s.data());
    env.push_back(nullptr);

    Child app;
    ASSERT_TRUE(Spawn(app,
                      {program, "BASEPATH=" + tree / "logs" + "|FILEMASK=*.log|FINDTEXT=timeout|EXECNOW=Y"},
                      env.data(), -1, -1, {}));

    // Screens are taken until the list shows its rows (each grab waits for xwd to finish).
    std::string shotPath = tree / "screen.xwd";
    XwdImage shot;
    int rows = -1;
    // A loaded machine may take seconds to start the program: grab until the rows show or 30 s pass.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (int attempt = 0; rows != 3 && (attempt < 2 || std::chrono::steady_clock::now() < deadline);
         ++attempt) {
        if (attempt >= 2)
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        Child grab;
        ASSERT_TRUE(Spawn(grab, {xwd, "-root", "-silent", "-display", display, "-out", shotPath}, environ, -1,
                          -1, {}));
        ASSERT_EQ(grab.Wait(), 0);
        std::string error;
        ASSERT_TRUE(shot.Load(shotPath, error)) << error;
        rows = ListTextRows(shot);
    }
    std::string folder = std::string(VELTRIN_BIN_DIR) + "/../screenshots";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(SavePng(shot, folder + "/sifter_xvfb.png"));
    EXPECT_EQ(rows, 3) << "the screen is in " << folder << "/sifter_xvfb.png";
    // The X server goes first: the program ends when its display does.
    server.Stop();
    app.Wait();
}
}  // namespace

// ---- A new user's first minutes: a window manager, real X input, the X clipboard, a signal ----------
namespace {
using namespace xvfb_test;

// Where the controls of the search window lie in its client area: the same template laid out here.
RECT ControlRect(int id) {
    AddResourceModule(&SifterResources());
    HWND dialog = CreateDialogParam(nullptr, MAKEINTRESOURCE(IDD_SIFTER_DIALOG), nullptr, nullptr, 0);
    RECT r{};
    POINT origin{0, 0};
    ClientToScreen(dialog, &origin);
    GetWindowRect(GetDlgItem(dialog, id), &r);
    OffsetRect(&r, -origin.x, -origin.y);
    DestroyWindow(dialog);
    return r;
}

std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(SifterXvfb, ANewUsersFirstMinutes) {
    if (FindOnPath("Xvfb").empty())
        GTEST_SKIP() << "Xvfb is not installed";
    for (const char* tool : {"xwd", "openbox", "xdotool", "xclip", "xwininfo", "xprop", "setxkbmap"})
        ASSERT_FALSE(FindOnPath(tool).empty()) << tool << " is missing; scripts/setup installs it";
    std::string program = std::string(VELTRIN_BIN_DIR) + "/sifter";

    process_test::TempDir tree;
    std::string logs = tree / "logs";
    std::filesystem::create_directories(logs);
    process_test::WriteFile(logs + "/cafe.txt", "Un Café noir\n", 0644);
    process_test::WriteFile(logs + "/plain.txt", "Un Cafe noir\n", 0644);
    std::string registry = tree / "registry.reg";

    Child server;
    XSession x;
    ASSERT_TRUE(StartXvfb(server, x.display, environ)) << "Xvfb did not start";
    x.env = ProgramEnvironment(environ, {"DISPLAY=" + x.display});
    Child wm;
    {
        std::vector<char*> envp;
        for (std::string& e : x.env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        ASSERT_TRUE(Spawn(wm, {FindOnPath("openbox"), "--sm-disable"}, envp.data(), -1, -1, {}));
    }
    ASSERT_TRUE(x.WaitForWindowManager()) << "openbox did not start";
    // A keyboard with é on a key of its own, as a French user's: xdotool presses that key rather than
    // borrowing a spare key code for a moment, which the program may read only after it is given back.
    int layoutSet = -1;
    x.Run({"setxkbmap", "-layout", "fr"}, &layoutSet);
    ASSERT_EQ(layoutSet, 0);

    std::vector<std::string> appEnv =
        ProgramEnvironment(environ, {"DISPLAY=" + x.display, "VELTRIN_DISPLAY=sdl", "SDL_VIDEODRIVER=x11",
                                     "VELTRIN_REGISTRY=" + registry, "ASAN_OPTIONS=detect_leaks=0"});
    std::vector<char*> appEnvp;
    for (std::string& e : appEnv)
        appEnvp.push_back(e.data());
    appEnvp.push_back(nullptr);
    Child app;
    ASSERT_TRUE(Spawn(app, {program}, appEnvp.data(), -1, -1, {}));

    std::string id = x.Run({"xdotool", "search", "--sync", "--onlyvisible", "--name", "^Sifter V2.08$"});
    ASSERT_FALSE(id.empty());
    id = id.substr(0, id.find('\n'));
    x.Run({"xdotool", "windowactivate", "--sync", id});
    const Geometry first = WindowGeometry(x, id);
    ASSERT_GT(first.width, 0);

    // Screens are grabbed until the list shows the rows asked for (each grab waits for xwd to finish).
    XwdImage shot;
    RECT listArea{};
    auto rowsShown = [&](int wanted) {
        int rows = -1;
        // A loaded machine may be slow to search and paint: grab until the rows show or 30 s pass.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (rows != wanted && std::chrono::steady_clock::now() < deadline) {
            std::string path = tree / "screen.xwd";
            x.Run({"xwd", "-root", "-silent", "-out", path});
            std::string error;
            if (shot.Load(path, error))
                rows = ListTextRows(shot, &listArea);
        }
        return rows;
    };
    auto type = [&](const std::string& text) { x.Run({"xdotool", "type", "--delay", "40", text}); };
    auto keys = [&](std::vector<std::string> names) {
        names.insert(names.begin(), {"xdotool", "key", "--delay", "40"});
        x.Run(names);
    };

    // The folder field has the focus; the text field is three tab stops on. "Café" keeps its é: the
    // file without it is not found.
    type(logs);
    keys({"Tab", "Tab", "Tab"});
    type("Café noir");
    keys({"Return"});
    EXPECT_EQ(rowsShown(1), 1);

    // A double click on "noir" and Ctrl+C put the word on the X clipboard.
    RECT text = ControlRect(IDC_FINDTEXT);
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateDialogFont(FindDialogTemplate(IDD_SIFTER_DIALOG));
    HGDIOBJ old = SelectObject(dc, font);
    SIZE before{}, word{};
    GetTextExtentPoint32(dc, "Café ", (int)std::strlen("Café "), &before);
    GetTextExtentPoint32(dc, "noir", 4, &word);
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    int cx = first.x + text.left + 3 + before.cx + word.cx / 2, cy = first.y + (text.top + text.bottom) / 2;
    x.Run({"xdotool", "mousemove", "--sync", std::to_string(cx), std::to_string(cy), "click", "--repeat", "2",
           "--delay", "60", "1"});
    keys({"ctrl+c"});
    EXPECT_EQ(x.Run({"xclip", "-o", "-selection", "clipboard"}), "noir");

    // A right click in the folder field opens the edit's own menu (Undo ... Select All), taller
    // than the list's three-item viewer menu.
    RECT folderField = ControlRect(IDC_BASEFOLDER);
    std::string pid = std::to_string(app.pid);
    x.Run({"xdotool", "mousemove", "--sync", std::to_string(first.x + folderField.left + 10),
           std::to_string(first.y + (folderField.top + folderField.bottom) / 2), "click", "3"});
    std::string menu;
    const auto menuDeadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (menu.empty() && std::chrono::steady_clock::now() < menuDeadline) {
        std::string windows = x.Run({"xdotool", "search", "--onlyvisible", "--pid", pid});
        std::stringstream list(windows);
        for (std::string w; std::getline(list, w);)
            if (w != id)
                menu = w;
    }
    ASSERT_FALSE(menu.empty()) << "no menu appeared";
    EXPECT_GT(WindowGeometry(x, menu).height, 100);
    keys({"Escape"});
    // Back to the text field, by a click.
    x.Run({"xdotool", "mousemove", "--sync", std::to_string(cx), std::to_string(cy), "click", "1"});

    // Down twice in the list-mode group checks "Remove from list": the same search now removes its hit.
    keys({"Tab", "Tab", "Tab", "Down", "Down", "Return"});
    EXPECT_EQ(rowsShown(0), 0);
    // On the screen: the dot sits in the third radio button only.
    auto dot = [&](int radio) {
        RECT r = ControlRect(radio);
        return shot.Pixel(first.x + r.left + 5, first.y + r.top + (r.bottom - r.top - 12) / 2 + 5);
    };
    EXPECT_EQ(dot(IDC_REPLACELIST), RGB(255, 255, 255));
    EXPECT_EQ(dot(IDC_ADDTOLIST), RGB(255, 255, 255));
    EXPECT_EQ(dot(IDC_REMOVEFROMLIST), RGB(0, 0, 0));
    std::string folder = std::string(VELTRIN_BIN_DIR) + "/../screenshots";
    std::filesystem::create_directories(folder);
    std::string png = folder + "/sifter_story.png";
    EXPECT_TRUE(SavePng(shot, png));
    // The list sits in a sunken client edge: dark grey inside mid grey at its left.
    EXPECT_EQ(shot.Pixel(listArea.left - 1, listArea.bottom), RGB(64, 64, 64)) << png;
    EXPECT_EQ(shot.Pixel(listArea.left - 2, listArea.bottom), RGB(128, 128, 128)) << png;

    // The window does not shrink below its first size (the move is a barrier: the desktop handles the
    // requests in order).
    x.Run({"xdotool", "windowsize", id, "200", "150"});
    x.Run({"xdotool", "windowmove", "--sync", id, "30", "40"});
    Geometry now = WindowGeometry(x, id);
    EXPECT_GE(now.width, first.width);
    EXPECT_GE(now.height, first.height);

    // SIGTERM closes it as the close box does, within a second, with the settings saved.
    int pidfd = (int)syscall(SYS_pidfd_open, app.pid, 0);
    ASSERT_GE(pidfd, 0);
    ASSERT_EQ(kill(app.pid, SIGTERM), 0);
    pollfd p{pidfd, POLLIN, 0};
    EXPECT_EQ(poll(&p, 1, 1000), 1) << "still running a second after SIGTERM";
    close(pidfd);
    EXPECT_EQ(app.Wait(), 0);
    EXPECT_NE(ReadFileText(registry).find("\"LastBaseFolder\"=\"" + logs + "\""), std::string::npos)
        << ReadFileText(registry);

    wm.Stop();
    server.Stop();
}
}  // namespace
