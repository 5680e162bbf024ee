// Mapping modes: logical units scaled onto device pixels by the window and viewport extents.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/gdi/Gdi.h"

namespace {
const COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0);

class Mapping : public ::testing::Test {
protected:
    void SetUp() override {
        dc = CreateCompatibleDC(nullptr);
        bmp = CreateCompatibleBitmap(dc, 600, 400);
        old = SelectObject(dc, bmp);
        RECT all{0, 0, 600, 400};
        FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    }
    void TearDown() override {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    COLORREF Device(int x, int y) const { return GetSurfacePixel(GetBitmapSurface(bmp), x, y); }
    HDC dc;
    HBITMAP bmp;
    HGDIOBJ old;
};

TEST_F(Mapping, AnAnisotropicPageLandsOnTheComputedPixels) {
    // A 1,000 x 1,000 logical page on a 500 x 250 pixel area starting at (50, 100).
    EXPECT_EQ(SetMapMode(dc, MM_ANISOTROPIC), MM_TEXT);
    SetWindowExtEx(dc, 1000, 1000, nullptr);
    SetViewportExtEx(dc, 500, 250, nullptr);
    SetViewportOrgEx(dc, 50, 100, nullptr);
    RECT logical{200, 400, 600, 800};
    FillRect(dc, &logical, (HBRUSH)GetStockObject(BLACK_BRUSH));
    // (200, 400) -> (50 + 100, 100 + 100); (600, 800) -> (50 + 300, 100 + 200), exclusive.
    EXPECT_EQ(Device(150, 200), kBlack);
    EXPECT_EQ(Device(349, 299), kBlack);
    EXPECT_EQ(Device(149, 200), kWhite);
    EXPECT_EQ(Device(150, 199), kWhite);
    EXPECT_EQ(Device(350, 299), kWhite);
    EXPECT_EQ(Device(349, 300), kWhite);

    POINT points[] = {{0, 0}, {1000, 1000}, {200, 400}, {-100, 30}, {999, 1}};
    POINT device[] = {{50, 100}, {550, 350}, {150, 200}, {0, 108}, {550, 100}};
    POINT p[5];
    std::copy(points, points + 5, p);
    ASSERT_TRUE(LPtoDP(dc, p, 5));
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(p[i].x == device[i].x && p[i].y == device[i].y) << i << ": " << p[i].x << "," << p[i].y;
    // Back again, exactly where the scale loses nothing; within a unit's rounding elsewhere.
    ASSERT_TRUE(DPtoLP(dc, p, 5));
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(p[i].x, points[i].x, 1) << i;
        EXPECT_NEAR(p[i].y, points[i].y, 2) << i;
    }
    POINT even[] = {{400, 800}};
    LPtoDP(dc, even, 1);
    DPtoLP(dc, even, 1);
    EXPECT_EQ(even[0].x, 400);
    EXPECT_EQ(even[0].y, 800);
    // The clip box is told in logical units.
    RECT box;
    GetClipBox(dc, &box);
    EXPECT_EQ(box.left, -100);
    EXPECT_EQ(box.top, -400);
    EXPECT_EQ(box.right, 1100);
    EXPECT_EQ(box.bottom, 1200);
}

TEST_F(Mapping, FixedModesCountUnitsToTheInchUpwardsAndIsotropicKeepsTheAspect) {
    SetMapMode(dc, MM_LOMETRIC);  // 254 units to the inch of 96 pixels, y up
    SIZE ext;
    GetViewportExtEx(dc, &ext);
    EXPECT_EQ(ext.cy, -96);
    EXPECT_TRUE(SetWindowExtEx(dc, 5, 5, nullptr)) << "ignored outside the free modes";
    GetWindowExtEx(dc, &ext);
    EXPECT_EQ(ext.cx, 254);
    SetViewportOrgEx(dc, 0, 200, nullptr);
    RECT inch{0, 0, 254, -254};
    FillRect(dc, &inch, (HBRUSH)GetStockObject(BLACK_BRUSH));
    // y runs upwards: the inch below the origin is the 96 pixel rows under row 200.
    EXPECT_EQ(Device(0, 200), kBlack);
    EXPECT_EQ(Device(95, 295), kBlack);
    EXPECT_EQ(Device(96, 250), kWhite);
    EXPECT_EQ(Device(50, 296), kWhite);
    EXPECT_EQ(Device(50, 199), kWhite);

    int saved = SaveDC(dc);
    SetMapMode(dc, MM_ISOTROPIC);
    SetWindowExtEx(dc, 100, 100, nullptr);
    SetViewportExtEx(dc, 400, -200, nullptr);
    GetViewportExtEx(dc, &ext);
    EXPECT_EQ(ext.cx, 200) << "the longer extent shortens to keep units square";
    EXPECT_EQ(ext.cy, -200);
    RestoreDC(dc, saved);
    EXPECT_EQ(GetMapMode(dc), MM_LOMETRIC);
    SetMapMode(dc, MM_TEXT);
    POINT p{7, 9};
    LPtoDP(dc, &p, 1);
    EXPECT_EQ(p.x, 7);
    EXPECT_EQ(p.y, 9 + 200);
}

TEST_F(Mapping, StretchBltScalesThroughBothMappings) {
    // A 4 x 4 black square in a source bitmap, copied at twice the size by a doubled destination.
    HDC src = CreateCompatibleDC(dc);
    HBITMAP sb = CreateCompatibleBitmap(dc, 8, 8);
    HGDIOBJ so = SelectObject(src, sb);
    RECT all{0, 0, 8, 8}, square{2, 2, 6, 6};
    FillRect(src, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    FillRect(src, &square, (HBRUSH)GetStockObject(BLACK_BRUSH));
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, 1, 1, nullptr);
    SetViewportExtEx(dc, 2, 2, nullptr);
    EXPECT_EQ(SetStretchBltMode(dc, COLORONCOLOR), BLACKONWHITE);
    ASSERT_TRUE(BitBlt(dc, 10, 10, 8, 8, src, 0, 0, SRCCOPY));
    EXPECT_EQ(Device(24, 24), kBlack);
    EXPECT_EQ(Device(31, 31), kBlack);
    EXPECT_EQ(Device(32, 32), kWhite);
    EXPECT_EQ(Device(23, 23), kWhite);
    // Stretched to 16 x 8 logical: 32 x 16 pixels.
    ASSERT_TRUE(StretchBlt(dc, 100, 50, 16, 8, src, 0, 0, 8, 8, SRCCOPY));
    EXPECT_EQ(Device(200 + 8, 100 + 4), kBlack);
    EXPECT_EQ(Device(200 + 23, 100 + 11), kBlack);
    EXPECT_EQ(Device(200 + 24, 100 + 4), kWhite);
    SelectObject(src, so);
    DeleteObject(sb);
    DeleteDC(src);
}

TEST_F(Mapping, PalettesAreKeptAndAnswered) {
    struct {
        LOGPALETTE head;
        PALETTEENTRY more[1];
    } lp{{0x300, 2, {{255, 0, 0, 0}}}, {{0, 0, 255, 0}}};
    HPALETTE pal = CreatePalette(&lp.head);
    ASSERT_NE(pal, nullptr);
    EXPECT_EQ(GetPaletteEntries(pal, 0, 0, nullptr), 2u);
    EXPECT_EQ(GetNearestPaletteIndex(pal, RGB(10, 10, 200)), 1u);
    HPALETTE old = SelectPalette(dc, pal, FALSE);
    EXPECT_EQ(old, (HPALETTE)GetStockObject(DEFAULT_PALETTE));
    EXPECT_EQ(RealizePalette(dc), 0u);
    EXPECT_EQ(SelectPalette(dc, old, FALSE), pal);
    EXPECT_TRUE(DeleteObject(pal));
}
}  // namespace

namespace {
// Rows and columns of dark pixels in a device area: the bounding box of what text left there.
RECT DarkBox(HBITMAP bmp, const RECT& area) {
    RECT box{INT_MAX, INT_MAX, -1, -1};
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            COLORREF c = GetSurfacePixel(GetBitmapSurface(bmp), x, y);
            if (GetRValue(c) < 128 && GetGValue(c) < 128 && GetBValue(c) < 128) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
        }
    return box;
}

HFONT Font(int height) {
    LOGFONT lf{};
    lf.lfHeight = height;
    std::strcpy(lf.lfFaceName, "Arial");
    return CreateFontIndirect(&lf);
}
}  // namespace

TEST_F(Mapping, AFontsHeightIsInTheLogicalUnitsOfItsDC) {
    // 333 thousandths of an inch at 96 dots per inch are 32 pixels: the same glyphs as a 32-pixel font in
    // MM_TEXT. Under MM_HIENGLISH y grows upwards, so the text hangs below its logical top.
    HFONT small = Font(-32), big = Font(-333);
    HGDIOBJ was = SelectObject(dc, small);
    TextOut(dc, 20, 20, "Hg", 2);
    RECT plain = DarkBox(bmp, RECT{0, 0, 300, 200});
    SetMapMode(dc, MM_HIENGLISH);
    SelectObject(dc, big);
    TEXTMETRIC tm;
    ASSERT_TRUE(GetTextMetrics(dc, &tm));
    EXPECT_GT(tm.tmHeight, 333);  // logical units
    SIZE extent;
    ASSERT_TRUE(GetTextExtentPoint32(dc, "Hg", 2, &extent));
    EXPECT_EQ(extent.cy, tm.tmHeight);
    // Logical (3125, -208) is device (300, 20).
    TextOut(dc, 3125, -208, "Hg", 2);
    RECT mapped = DarkBox(bmp, RECT{300, 0, 600, 200});
    EXPECT_NEAR(mapped.top - 20, plain.top - 20, 1);
    EXPECT_NEAR(mapped.bottom - mapped.top, plain.bottom - plain.top, 2);
    EXPECT_NEAR(mapped.right - mapped.left, plain.right - plain.left, 2);

    // Right-aligned and bottom-aligned, the box ends at the reference point, on the device's side.
    SetTextAlign(dc, TA_RIGHT | TA_BOTTOM);
    TextOut(dc, 5000, -2500, "Hg", 2);  // device (480, 240)
    RECT aligned = DarkBox(bmp, RECT{300, 200, 600, 400});
    EXPECT_LE(aligned.right, 481);
    EXPECT_GT(aligned.right, 470);
    EXPECT_LE(aligned.bottom, 241);
    EXPECT_GT(aligned.top, 200);
    SetTextAlign(dc, TA_LEFT | TA_TOP);

    // DrawText measures and breaks lines in logical units; the rectangle grows downwards on the device.
    RECT calc{0, 0, 1500, 0};
    int h = DrawText(dc, "one two three four", -1, &calc, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    EXPECT_GT(h, tm.tmHeight);  // broken into more than one line
    EXPECT_EQ(calc.bottom, -h);
    SelectObject(dc, was);
    DeleteObject(small);
    DeleteObject(big);
}
