#include <gtest/gtest.h>

#include "app/SplashWnd.h"
#include "platform/framework/app/WinThread.h"
#include "res/veltrin/VeltrinResources.h"
#include "res/veltrin/resource.h"
#include "tests/support/Gui.h"

namespace {
const COLORREF kDarkBlue = RGB(0, 0, 100);

// Pixels of exactly this colour in a rectangle, read by `pixel`.
template <typename Pixel>
int Count(const RECT& r, COLORREF colour, Pixel pixel) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += pixel(x, y) == colour;
    return n;
}
}  // namespace

TEST(SplashWnd, PaintsTheBitmapAndTheDarkBlueTitleCentredBeforeAnyMessageIsHandled) {
    AddResourceModule(&VeltrinFrameResources());
    CWinApp app("Veltrin");
    CSplashWnd::EnableSplashScreen(TRUE);
    CSplashWnd::ShowSplashScreen(nullptr, "Veltrin 4.21b");
    CSplashWnd* splash = CSplashWnd::Current();
    ASSERT_NE(splash, nullptr);
    ScreenshotOnFailure shot(splash->m_hWnd, "splash");

    HBITMAP bitmap = LoadBitmap(nullptr, MAKEINTRESOURCE(IDB_SPLASH));
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    GetObject(bitmap, sizeof info, &info);
    RECT r{};
    GetWindowRect(splash->m_hWnd, &r);
    EXPECT_EQ(r.right - r.left, info.bmWidth);
    EXPECT_EQ(r.bottom - r.top, info.bmHeight);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - info.bmWidth) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - info.bmHeight) / 2);

    // No message has been handled: the start sleeps next, so the splash must be painted already.
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, bitmap);
    PixelProbe probe(splash->m_hWnd);
    for (POINT p : {POINT{1, 1}, POINT{info.bmWidth - 2, info.bmHeight - 2}, POINT{info.bmWidth - 2, 1}})
        EXPECT_EQ(probe.At(p), GetPixel(mem, p.x, p.y)) << p.x << "," << p.y;
    // The title band: dark blue strokes over the bitmap.
    RECT title{20, 24, std::min<LONG>(info.bmWidth, 260), 58};
    int onBitmap = Count(title, kDarkBlue, [&](int x, int y) { return GetPixel(mem, x, y); });
    int shown = Count(title, kDarkBlue, [&](int x, int y) { return probe.At(x, y); });
    EXPECT_GT(shown, onBitmap + 40);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(bitmap);

    // One splash at a time; hiding destroys it; with the switch off none is shown.
    CSplashWnd::ShowSplashScreen(nullptr, "Other");
    EXPECT_EQ(CSplashWnd::Current(), splash);
    CSplashWnd::HideSplashScreen();
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    CSplashWnd::EnableSplashScreen(FALSE);
    CSplashWnd::ShowSplashScreen(nullptr, "Veltrin 4.21b");
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    RemoveResourceModule(&VeltrinFrameResources());
}
