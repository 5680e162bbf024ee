#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>

#include "guilib/controls/OXSplashWnd.h"
#include "platform/base/Clock.h"
#include "platform/user/WindowRegion.h"
#include "tests/support/Gui.h"
#include "tests/support/TempFolder.h"

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

}  // namespace
