#include <gtest/gtest.h>

#include "platform/gdi/CharWidth.h"
#include "platform/gdi/Gdi.h"

namespace {

class FontCanvas : public ::testing::Test {
protected:
    void SetUp() override {
        dc = CreateCompatibleDC(nullptr);
        bmp = CreateCompatibleBitmap(dc, 80, 80);
        old = SelectObject(dc, bmp);
        RECT all{0, 0, 80, 80};
        FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
        SetBkMode(dc, TRANSPARENT);
    }
    void TearDown() override {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    // The box of the pixels that are not white.
    RECT Ink() const {
        RECT r{80, 80, -1, -1};
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 80; ++x)
                if (GetPixel(dc, x, y) != RGB(255, 255, 255)) {
                    r.left = std::min<LONG>(r.left, x);
                    r.top = std::min<LONG>(r.top, y);
                    r.right = std::max<LONG>(r.right, x + 1);
                    r.bottom = std::max<LONG>(r.bottom, y + 1);
                }
        return r;
    }
    int Width(HFONT font, const char* text) {
        HGDIOBJ prev = SelectObject(dc, font);
        SIZE s{};
        GetTextExtentPoint32(dc, text, (int)strlen(text), &s);
        SelectObject(dc, prev);
        return s.cx;
    }
    HDC dc;
    HBITMAP bmp;
    HGDIOBJ old;
};

HFONT Font(int height, int weight, const char* face, int escapement = 0) {
    return CreateFont(height, 0, escapement, escapement, weight, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, face);
}

TEST_F(FontCanvas, MarlettDrawsCrispTrianglesOneEmWide) {
    HFONT marlett = Font(13, FW_NORMAL, "Marlett");
    EXPECT_EQ(Width(marlett, "6"), 13);
    EXPECT_EQ(Width(marlett, "68x"), 39);
    HGDIOBJ prev = SelectObject(dc, marlett);
    TextOut(dc, 10, 10, "6", 1);
    RECT down = Ink();
    // A triangle pointing down: the widest row on top, one pixel at the bottom, all pure black.
    int top = 0, bottom = 0;
    for (int x = down.left; x < down.right; ++x) {
        top += GetPixel(dc, x, down.top) == RGB(0, 0, 0);
        bottom += GetPixel(dc, x, down.bottom - 1) == RGB(0, 0, 0);
    }
    EXPECT_EQ(top, down.right - down.left);
    EXPECT_EQ(bottom, 1);
    EXPECT_GE(down.left, 10);
    EXPECT_LE(down.right, 23);

    RECT all{0, 0, 80, 80};
    FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    TextOut(dc, 10, 10, "8", 1);
    RECT right = Ink();
    EXPECT_EQ(right.right - right.left, down.bottom - down.top);  // the same triangle turned
    EXPECT_EQ(right.bottom - right.top, down.right - down.left);
    SelectObject(dc, prev);
    DeleteObject(marlett);
}

TEST_F(FontCanvas, UnknownFacesAreSansWithTheWeightAsked) {
    HFONT unknownBold = Font(-12, FW_BOLD, "Tahoma BOLD"), sansBold = Font(-12, FW_BOLD, "Liberation Sans");
    HFONT unknownNormal = Font(-12, FW_NORMAL, "No Such Face"), sansNormal = Font(-12, FW_NORMAL, "Arial");
    const char* text = "Weights and widths";
    EXPECT_EQ(Width(unknownBold, text), Width(sansBold, text));
    EXPECT_EQ(Width(unknownNormal, text), Width(sansNormal, text));
    EXPECT_GT(Width(unknownBold, text), Width(unknownNormal, text));
    for (HFONT f : {unknownBold, sansBold, unknownNormal, sansNormal})
        DeleteObject(f);
}

TEST_F(FontCanvas, TurnedFontRunsUpwardsFromTheReferencePoint) {
    HFONT up = Font(-14, FW_NORMAL, "Arial", 900);
    HGDIOBJ prev = SelectObject(dc, up);
    TEXTMETRIC tm{};
    GetTextMetrics(dc, &tm);
    int length = Width(up, "MMMM");
    TextOut(dc, 20, 70, "MMMM", 4);
    RECT ink = Ink();
    // Bottom to top from (20, 70), the glyphs' tops facing left: the line's height lies right of x.
    EXPECT_GT(ink.bottom - ink.top, ink.right - ink.left);
    EXPECT_LE(ink.bottom, 71);
    EXPECT_GE(ink.top, 70 - length - 1);
    EXPECT_GE(ink.left, 20);
    EXPECT_LE(ink.right, 20 + tm.tmHeight + 1);
    SelectObject(dc, prev);
    DeleteObject(up);
}

}  // namespace

namespace {

TEST(CharWidths, MarlettDropDownArrowIsOneEmWide) {
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT marlett = CreateFont(13, 0, 0, 0, FW_NORMAL, 0, 0, 0, SYMBOL_CHARSET, 0, 0, 0, 0, "Marlett");
    HGDIOBJ old = SelectObject(dc, marlett);
    int widths[3] = {0, 0, 0};
    ASSERT_TRUE(GetCharWidth(dc, '6', '8', widths));
    EXPECT_EQ(widths[0], 13);
    EXPECT_EQ(widths[2], 13);
    EXPECT_FALSE(GetCharWidth(dc, '8', '6', widths));
    SelectObject(dc, old);
    DeleteObject(marlett);
    DeleteDC(dc);
}

}  // namespace
