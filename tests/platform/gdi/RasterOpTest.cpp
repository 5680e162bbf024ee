#include <gtest/gtest.h>

#include "platform/gdi/Gdi.h"

namespace {

// A memory DC over a bitmap of `bits` per pixel.
struct Surface {
    Surface(int w, int h, UINT bits) {
        dc = CreateCompatibleDC(nullptr);
        bmp = CreateBitmap(w, h, 1, bits, nullptr);
        old = SelectObject(dc, bmp);
    }
    ~Surface() {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    void Fill(const RECT& r, COLORREF c) {
        HBRUSH b = CreateSolidBrush(c);
        FillRect(dc, &r, b);
        DeleteObject(b);
    }
    HDC dc;
    HBITMAP bmp;
    HGDIOBJ old;
};

TEST(RasterOps, EachOperationCombinesPatternSourceAndDestination) {
    const uint32_t p = 0x0F0F0F, s = 0x336699, d = 0x5555AA;
    struct Case {
        DWORD rop;
        uint32_t expected;
    } cases[] = {
        {SRCCOPY, s},
        {SRCAND, s & d},
        {SRCPAINT, s | d},
        {SRCINVERT, s ^ d},
        {NOTSRCCOPY, ~s & 0xFFFFFF},
        {PATINVERT, p ^ d},
        {0xB8074A, (s & d) | (~s & p)},  // where the source is set the destination stays, else the pattern
    };
    auto color = [](uint32_t v) { return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF); };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.rop);
        Surface src(1, 1, 32), dst(1, 1, 32);
        src.Fill(RECT{0, 0, 1, 1}, color(s));
        dst.Fill(RECT{0, 0, 1, 1}, color(d));
        HBRUSH brush = CreateSolidBrush(color(p));
        HGDIOBJ prev = SelectObject(dst.dc, brush);
        ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, c.rop));
        EXPECT_EQ(GetPixel(dst.dc, 0, 0), color(c.expected));
        SelectObject(dst.dc, prev);
        DeleteObject(brush);
    }
}

TEST(RasterOps, ColourToMonoMakesTheBackgroundColourWhite) {
    Surface colour(3, 1, 32), mono(3, 1, 1);
    colour.Fill(RECT{0, 0, 3, 1}, RGB(200, 10, 10));
    SetPixel(colour.dc, 1, 0, RGB(10, 10, 200));
    SetPixel(colour.dc, 2, 0, RGB(255, 255, 255));
    SetBkColor(colour.dc, RGB(200, 10, 10));
    ASSERT_TRUE(BitBlt(mono.dc, 0, 0, 3, 1, colour.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(mono.dc, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(mono.dc, 1, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(mono.dc, 2, 0), RGB(0, 0, 0));  // white, but not the background colour
}

TEST(RasterOps, MonoToColourTakesTheDestinationsTextAndBackgroundColours) {
    Surface mono(2, 1, 1), colour(2, 1, 32);
    mono.Fill(RECT{0, 0, 1, 1}, RGB(255, 255, 255));
    mono.Fill(RECT{1, 0, 2, 1}, RGB(0, 0, 0));
    SetBkColor(colour.dc, RGB(255, 255, 0));
    SetTextColor(colour.dc, RGB(0, 128, 0));
    ASSERT_TRUE(BitBlt(colour.dc, 0, 0, 2, 1, mono.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(colour.dc, 0, 0), RGB(255, 255, 0));
    EXPECT_EQ(GetPixel(colour.dc, 1, 0), RGB(0, 128, 0));
    // A mask through SRCAND keeps the destination where the mask is white (background colour white).
    Surface dst(2, 1, 32);
    dst.Fill(RECT{0, 0, 2, 1}, RGB(90, 80, 70));
    SetBkColor(dst.dc, RGB(255, 255, 255));
    SetTextColor(dst.dc, RGB(0, 0, 0));
    BitBlt(dst.dc, 0, 0, 2, 1, mono.dc, 0, 0, SRCAND);
    EXPECT_EQ(GetPixel(dst.dc, 0, 0), RGB(90, 80, 70));
    EXPECT_EQ(GetPixel(dst.dc, 1, 0), RGB(0, 0, 0));
}

}  // namespace
