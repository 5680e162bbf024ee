#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <iostream>
#include <sstream>
#include <functional>
#include <random>
#include <string>

#include "guilib/controls/OXSplashWnd.h"
#include "platform/base/Clock.h"
#include "platform/user/WindowRegion.h"
#include "tests/platform/display/XvfbSupport.h"
#include "tests/support/Gui.h"
#include "tests/support/TempFolder.h"

extern char** environ;

namespace {

void Put16(std::string& s, uint16_t v) {
    s += (char)(v & 0xFF);
    s += (char)(v >> 8);
}
void Put32(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        s += (char)((v >> (8 * i)) & 0xFF);
}

// A bottom-up .bmp of 24 or 32 bits whose pixel colours come from `colour(x, y)`.
std::string Bmp(int w, int h, int bits, const std::function<COLORREF(int, int)>& colour) {
    int stride = (w * bits / 8 + 3) / 4 * 4;
    std::string s = "BM";
    Put32(s, (uint32_t)(54 + stride * h));
    Put32(s, 0);
    Put32(s, 54);
    Put32(s, 40);
    Put32(s, (uint32_t)w);
    Put32(s, (uint32_t)h);
    Put16(s, 1);
    Put16(s, (uint16_t)bits);
    Put32(s, 0);
    Put32(s, (uint32_t)(stride * h));
    Put32(s, 2835);
    Put32(s, 2835);
    Put32(s, 0);
    Put32(s, 0);
    for (int y = h - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < w; ++x) {
            COLORREF c = colour(x, y);
            row += (char)GetBValue(c);
            row += (char)GetGValue(c);
            row += (char)GetRValue(c);
            if (bits == 32)
                row += (char)0x5A;  // unused byte
        }
        row.resize((size_t)stride, '\0');
        s += row;
    }
    return s;
}

const COLORREF kWhite = RGB(255, 255, 255), kRed = RGB(200, 30, 40);

// 10 x 10 white with a red block from (3, 3) to (6, 6) inclusive.
COLORREF Block(int x, int y) {
    return x >= 3 && x <= 6 && y >= 3 && y <= 6 ? kRed : kWhite;
}

class SplashTest : public ::testing::Test {
protected:
    std::string File(const std::string& name, const std::string& bytes) { return folder.Write(name, bytes); }
    // Handles queued messages as a program's loop does: the window's PreTranslateMessage first.
    static void PumpTranslating() {
        MSG msg;
        while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            CWnd* wnd = CWnd::FromHandlePermanent(msg.hwnd);
            if (wnd && wnd->PreTranslateMessage(&msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
    }
    TempFolder folder{"splash"};
};

TEST_F(SplashTest, TheRegionFollowsTheKeyedOutline) {
    for (int bits : {24, 32}) {
        COXSplashWnd splash;
        std::string path = File("block" + std::to_string(bits) + ".bmp", Bmp(10, 10, bits, Block));
        ASSERT_TRUE(splash.LoadBitmapFile(path.c_str(), OXSPLASH_KEY_FROM_POINT)) << bits;
        EXPECT_EQ(splash.GetDIB().GetPixel(4, 4), kRed) << bits;
        HRGN rgn = splash.GetRegion();
        ASSERT_NE(rgn, nullptr);
        EXPECT_TRUE(PtInRegion(rgn, 3, 3));
        EXPECT_TRUE(PtInRegion(rgn, 5, 5));
        EXPECT_FALSE(PtInRegion(rgn, 6, 6));  // right and bottom edges lie outside
        EXPECT_FALSE(PtInRegion(rgn, 0, 0));
    }
    // A corner that is already foreground starts the outline there.
    COXSplashWnd corner;
    std::string path = File("corner.bmp", Bmp(10, 10, 24, [](int x, int y) { return x < 5 && y < 5 ? kRed : kWhite; }));
    POINT keyAt{9, 9};
    ASSERT_TRUE(corner.LoadBitmapFile(path.c_str(), OXSPLASH_KEY_FROM_POINT, &keyAt));
    EXPECT_TRUE(PtInRegion(corner.GetRegion(), 0, 0));
    EXPECT_FALSE(PtInRegion(corner.GetRegion(), 5, 5));
}

TEST_F(SplashTest, KeysThatLeaveNoOutlineAndBadFiles) {
    COXSplashWnd splash;
    std::string white = File("white.bmp", Bmp(8, 8, 24, [](int, int) { return kWhite; }));
    EXPECT_FALSE(splash.LoadBitmapFile(white.c_str(), kWhite));  // all background
    EXPECT_EQ(splash.GetRegion(), nullptr);
    EXPECT_TRUE(splash.LoadBitmapFile(white.c_str(), OXSPLASH_KEY_NONE));  // rectangular
    EXPECT_EQ(splash.GetRegion(), nullptr);

    // A single pixel has no neighbour to trace.
    std::string dot = File("dot.bmp", Bmp(8, 8, 24, [](int x, int y) { return x == 4 && y == 4 ? kRed : kWhite; }));
    EXPECT_FALSE(splash.LoadBitmapFile(dot.c_str(), kWhite));

    // Noise: the trace ends, one way or the other.
    std::mt19937 random(7);
    std::string noise = File("noise.bmp", Bmp(40, 40, 24, [&](int, int) { return random() % 3 ? kRed : kWhite; }));
    splash.LoadBitmapFile(noise.c_str(), kWhite);

    // A file cut short, or missing, is refused.
    std::string whole = Bmp(10, 10, 24, Block);
    std::string cut = File("cut.bmp", whole.substr(0, whole.size() - 40));
    EXPECT_FALSE(splash.LoadBitmapFile(cut.c_str(), OXSPLASH_KEY_NONE));
    EXPECT_FALSE(splash.LoadBitmapFile((folder / "none.bmp").c_str(), OXSPLASH_KEY_NONE));
    EXPECT_FALSE(splash.Show(0));  // nothing loaded
}

TEST_F(SplashTest, ShownForTheDefaultTimeOrUntilAClick) {
    DrivenClock clock;
    std::string path = File("block.bmp", Bmp(10, 10, 24, Block));
    COXSplashWnd splash;
    ASSERT_TRUE(splash.LoadBitmapFile(path.c_str(), OXSPLASH_KEY_FROM_POINT));
    ASSERT_TRUE(splash.Show(0));
    EXPECT_EQ(splash.GetDisplayTime(), 750);
    HWND hwnd = splash.GetSafeHwnd();
    ASSERT_TRUE(IsWindowVisible(hwnd));
    EXPECT_EQ(GetCapture(), hwnd);
    // Owned by a hidden window, so no task bar entry.
    HWND owner = GetWindow(hwnd, GW_OWNER);
    ASSERT_NE(owner, nullptr);
    EXPECT_FALSE(IsWindowVisible(owner));
    clock.Advance(749);
    PumpTranslating();
    EXPECT_TRUE(IsWindow(hwnd));
    clock.Advance(1);
    PumpTranslating();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(IsWindow(owner));

    // Until dismissed: a move keeps it, a click closes it.
    ASSERT_TRUE(splash.Show(-1));
    hwnd = splash.GetSafeHwnd();
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    PostMouseInput(WM_MOUSEMOVE, POINT{rc.left + 4, rc.top + 4}, 0);
    clock.Advance(100000);
    PumpTranslating();
    EXPECT_TRUE(IsWindowVisible(hwnd));
    PostMouseInput(WM_LBUTTONDOWN, POINT{rc.left + 500, rc.top + 300}, MK_LBUTTON);
    PumpTranslating();
    EXPECT_FALSE(IsWindow(hwnd));

    // A self-deleting splash goes with its window, owner and all.
    auto* transient = new COXSplashWnd;
    transient->SetAutoDelete();
    ASSERT_TRUE(transient->LoadBitmapFile(path.c_str()));
    ASSERT_TRUE(transient->Show(0));
    hwnd = transient->GetSafeHwnd();
    owner = GetWindow(hwnd, GW_OWNER);
    clock.Advance(750);
    PumpTranslating();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(IsWindow(owner));
}

TEST_F(SplashTest, GalleryShowsADiscShapedSplash) {
    const int size = 60;
    auto disc = [](int x, int y) {
        int dx = x - 30, dy = y - 30;
        return dx * dx + dy * dy <= 24 * 24 ? RGB(30, 90, 200) : RGB(255, 0, 255);
    };
    std::string path = File("disc.bmp", Bmp(size, size, 24, disc));
    COXSplashWnd splash;
    ASSERT_TRUE(splash.LoadBitmapFile(path.c_str(), OXSPLASH_KEY_FROM_POINT));
    ASSERT_TRUE(splash.Show(-1));
    HWND hwnd = splash.GetSafeHwnd();
    UpdateWindow(hwnd);
    Pump();

    // The window's own region is the disc: hits outside it fall through.
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(hwnd, shape), ERROR);
    RECT box{};
    GetRgnBox(shape, &box);
    // The disc spans pixels 6 to 54; a polygon's right and bottom edges lie outside.
    EXPECT_EQ(box.left, 6);
    EXPECT_EQ(box.top, 6);
    EXPECT_NEAR(box.right, 54, 1);
    EXPECT_NEAR(box.bottom, 54, 1);
    DeleteObject(shape);
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    EXPECT_EQ(WindowFromPoint(POINT{rc.left + 30, rc.top + 30}), hwnd);
    EXPECT_NE(WindowFromPoint(POINT{rc.left + 1, rc.top + 1}), hwnd);

    PixelProbe px(hwnd);
    EXPECT_EQ(px.At(30, 30), RGB(30, 90, 200));
    std::string shot = WriteScreenshot(hwnd, "Gallery_SplashDisc");
    EXPECT_FALSE(shot.empty());
    splash.Hide();
}

// Under Xvfb with sdl the disc-shaped splash is a shaped X window: its bounding shape is the disc's
// bounds, not the bitmap's.
TEST_F(SplashTest, UnderXvfbTheSplashIsAShapedXWindow) {
    using namespace xvfb_test;
    if (FindOnPath("Xvfb").empty())
        GTEST_SKIP() << "Xvfb is not installed";
    ASSERT_FALSE(FindOnPath("xwininfo").empty()) << "xwininfo (x11-utils) is missing; scripts/setup installs it";
    std::string program = std::string(VELTRIN_BIN_DIR) + "/splash_shape";
    ASSERT_EQ(access(program.c_str(), X_OK), 0) << program;

    const int size = 80, centre = 40, radius = 30;
    std::string bitmap = File("disc.bmp", Bmp(size, size, 24, [&](int x, int y) {
        int dx = x - centre, dy = y - centre;
        return dx * dx + dy * dy <= radius * radius ? RGB(30, 90, 200) : RGB(255, 0, 255);
    }));

    Child server;
    XSession x;
    ASSERT_TRUE(StartXvfb(server, x.display, environ)) << "Xvfb did not start";
    x.env = ProgramEnvironment(environ, {"DISPLAY=" + x.display});
    std::vector<std::string> envStrings =
        ProgramEnvironment(environ, {"DISPLAY=" + x.display, "VELTRIN_DISPLAY=sdl", "SDL_VIDEODRIVER=x11"});
    std::vector<char*> env;
    for (std::string& e : envStrings)
        env.push_back(e.data());
    env.push_back(nullptr);

    int toProgram[2], fromProgram[2];
    ASSERT_EQ(pipe(toProgram), 0);
    ASSERT_EQ(pipe(fromProgram), 0);
    Child app;
    bool started = Spawn(app, {program, bitmap}, env.data(), toProgram[0], fromProgram[1],
                         {toProgram[1], fromProgram[0]});
    close(toProgram[0]);
    close(fromProgram[1]);
    ASSERT_TRUE(started);
    std::string line;
    bool ready = ReadLine(fromProgram[0], line, 60);
    close(fromProgram[0]);
    ASSERT_TRUE(ready) << "the splash program did not report its window";
    std::istringstream in(line);
    std::string word;
    RECT rc{};
    in >> word >> rc.left >> rc.top >> rc.right >> rc.bottom;
    ASSERT_TRUE(in && word == "ready") << line;
    ASSERT_EQ(rc.right - rc.left, size);

    // The X window of the splash: the top-level child of the root at the splash's place and size.
    const std::string geometry = std::to_string(size) + "x" + std::to_string(size) + "+" +
                                 std::to_string(rc.left) + "+" + std::to_string(rc.top);
    std::string id, shape;
    // Polled until X shows the window shaped, with 30 s as the limit.
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (shape.empty() && std::chrono::steady_clock::now() < limit) {
        std::istringstream tree(x.Run({"xwininfo", "-root", "-children"}));
        id.clear();
        for (std::string row; std::getline(tree, row);)
            if (row.find(" " + geometry + " ") != std::string::npos) {
                std::istringstream words(row);
                words >> id;
            }
        if (!id.empty())
            shape = x.Run({"xwininfo", "-shape", "-id", id});
        // An unshaped window reports no extents: ask again.
        if (shape.find("Window shape extents:") == std::string::npos)
            shape.clear();
    }
    EXPECT_EQ(write(toProgram[1], "done\n", 5), 5);
    close(toProgram[1]);
    EXPECT_EQ(app.Wait(), 0);
    ASSERT_FALSE(id.empty()) << "no X window at " << geometry;
    ASSERT_FALSE(shape.empty()) << "the splash's X window is not shaped";
    // "Window shape extents:  WxH+X+Y", in window coordinates.
    std::istringstream extents(shape.substr(shape.find("Window shape extents:") + 21));
    int w = 0, h = 0, left = 0, top = 0;
    char times = 0, plus1 = 0, plus2 = 0;
    extents >> w >> times >> h >> plus1 >> left >> plus2 >> top;
    ASSERT_TRUE(extents && times == 'x' && plus1 == '+' && plus2 == '+') << shape;
    EXPECT_EQ(left, centre - radius);
    EXPECT_EQ(top, centre - radius);
    // The traced outline leaves the right and bottom edge pixels outside.
    EXPECT_NEAR(w, 2 * radius, 1);
    EXPECT_NEAR(h, 2 * radius, 1);
}

}  // namespace
