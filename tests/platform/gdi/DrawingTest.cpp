#include <gtest/gtest.h>

#include "platform/gdi/Gdi.h"

namespace {
const COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0), kRed = RGB(255, 0, 0);

// A 40x30 white memory bitmap to draw on.
class Canvas : public ::testing::Test {
protected:
    void SetUp() override {
        dc = CreateCompatibleDC(nullptr);
        bmp = CreateCompatibleBitmap(dc, 40, 30);
        old = SelectObject(dc, bmp);
        RECT all{0, 0, 40, 30};
        FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    }
    void TearDown() override {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    HDC dc;
    HBITMAP bmp;
    HGDIOBJ old;
};

TEST_F(Canvas, FillRectCoversLeftToRightMinusOne) {
    HBRUSH red = CreateSolidBrush(kRed);
    RECT r{2, 3, 6, 8};
    FillRect(dc, &r, red);
    EXPECT_EQ(GetPixel(dc, 2, 3), kRed);
    EXPECT_EQ(GetPixel(dc, 5, 7), kRed);
    EXPECT_EQ(GetPixel(dc, 6, 7), kWhite);
    EXPECT_EQ(GetPixel(dc, 5, 8), kWhite);
    EXPECT_EQ(GetPixel(dc, 1, 3), kWhite);
    DeleteObject(red);
}

TEST_F(Canvas, RectangleFramesWithPenAndFillsInside) {
    HBRUSH red = CreateSolidBrush(kRed);
    SelectObject(dc, red);
    Rectangle(dc, 1, 1, 6, 5);
    EXPECT_EQ(GetPixel(dc, 1, 1), kBlack);
    EXPECT_EQ(GetPixel(dc, 5, 4), kBlack);
    EXPECT_EQ(GetPixel(dc, 5, 1), kBlack);
    EXPECT_EQ(GetPixel(dc, 6, 1), kWhite);
    EXPECT_EQ(GetPixel(dc, 2, 2), kRed);
    EXPECT_EQ(GetPixel(dc, 4, 3), kRed);
    // Without a pen the fill stops one pixel short on the right and bottom.
    SelectObject(dc, GetStockObject(NULL_PEN));
    Rectangle(dc, 10, 10, 14, 13);
    EXPECT_EQ(GetPixel(dc, 10, 10), kRed);
    EXPECT_EQ(GetPixel(dc, 12, 11), kRed);
    EXPECT_EQ(GetPixel(dc, 13, 11), kWhite);
    EXPECT_EQ(GetPixel(dc, 12, 12), kWhite);
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(red);
}

TEST_F(Canvas, LinesAreCrispAndLeaveOutTheLastPoint) {
    MoveToEx(dc, 2, 2, nullptr);
    LineTo(dc, 8, 2);
    EXPECT_EQ(GetPixel(dc, 2, 2), kBlack);
    EXPECT_EQ(GetPixel(dc, 7, 2), kBlack);
    EXPECT_EQ(GetPixel(dc, 8, 2), kWhite);
    EXPECT_EQ(GetPixel(dc, 5, 1), kWhite);
    EXPECT_EQ(GetPixel(dc, 5, 3), kWhite);
    MoveToEx(dc, 10, 10, nullptr);
    LineTo(dc, 14, 14);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(GetPixel(dc, 10 + i, 10 + i), kBlack) << i;
    EXPECT_EQ(GetPixel(dc, 14, 14), kWhite);
    EXPECT_EQ(GetPixel(dc, 11, 10), kWhite);
}

TEST_F(Canvas, DrawEdgeRaisedUsesClassicColoursWithDarkCorners) {
    RECT r{0, 0, 10, 8};
    DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    EXPECT_EQ(GetPixel(dc, 0, 0), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(GetPixel(dc, 9, 0), GetSysColor(COLOR_3DDKSHADOW));  // top-right corner
    EXPECT_EQ(GetPixel(dc, 0, 7), GetSysColor(COLOR_3DDKSHADOW));  // bottom-left corner
    EXPECT_EQ(GetPixel(dc, 1, 1), GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(GetPixel(dc, 8, 6), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(GetPixel(dc, 4, 4), GetSysColor(COLOR_3DFACE));
    EXPECT_EQ(GetPixel(dc, 10, 4), kWhite);
    RECT adjusted{20, 10, 30, 20};
    DrawEdge(dc, &adjusted, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    EXPECT_EQ(adjusted.left, 22);
    EXPECT_EQ(adjusted.bottom, 18);
    EXPECT_EQ(GetPixel(dc, 20, 10), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(GetPixel(dc, 21, 11), GetSysColor(COLOR_3DDKSHADOW));
}

TEST_F(Canvas, FocusRectInvertsThePixelsWhereXPlusYIsOddAndUndoesItself) {
    RECT r{2, 2, 9, 7};
    DrawFocusRect(dc, &r);
    EXPECT_EQ(GetPixel(dc, 2, 2), kWhite);
    EXPECT_EQ(GetPixel(dc, 3, 2), kBlack);
    EXPECT_EQ(GetPixel(dc, 4, 2), kWhite);
    EXPECT_EQ(GetPixel(dc, 2, 3), kBlack);
    EXPECT_EQ(GetPixel(dc, 8, 5), kBlack);
    EXPECT_EQ(GetPixel(dc, 8, 6), kWhite);
    EXPECT_EQ(GetPixel(dc, 4, 4), kWhite);
    DrawFocusRect(dc, &r);
    EXPECT_EQ(GetPixel(dc, 3, 2), kWhite);
}

TEST_F(Canvas, WidePensHaveRoundCapsAndJoinsCentredOnThePoints) {
    // A 3-pixel pen is a plus-shaped brush: the line reaches one pixel past both end points on its
    // middle row, and a rectangle's corners are cut.
    HPEN pen = CreatePen(PS_SOLID, 3, kBlack);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, 5, 5, nullptr);
    LineTo(dc, 15, 5);
    const struct {
        int x, y;
        COLORREF c;
    } line[] = {{4, 5, kBlack}, {16, 5, kBlack}, {5, 4, kBlack},  {15, 6, kBlack},
                {4, 4, kWhite}, {16, 6, kWhite}, {17, 5, kWhite}, {3, 5, kWhite}};
    for (const auto& p : line)
        EXPECT_EQ(GetPixel(dc, p.x, p.y), p.c) << p.x << "," << p.y;
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 23, 13, 32, 19);  // outline through 23..31 x 13..18
    const struct {
        int x, y;
        COLORREF c;
    } rect[] = {{22, 12, kWhite}, {23, 12, kBlack}, {22, 13, kBlack}, {32, 18, kBlack},
                {32, 19, kWhite}, {31, 19, kBlack}, {25, 15, kWhite}};
    for (const auto& p : rect)
        EXPECT_EQ(GetPixel(dc, p.x, p.y), p.c) << p.x << "," << p.y;
    SelectObject(dc, old);
    DeleteObject(pen);
}

TEST_F(Canvas, BitBltRasterOperations) {
    HDC src = CreateCompatibleDC(dc);
    HBITMAP sb = CreateCompatibleBitmap(src, 4, 4);
    HGDIOBJ so = SelectObject(src, sb);
    RECT all{0, 0, 4, 4};
    HBRUSH red = CreateSolidBrush(kRed);
    FillRect(src, &all, red);
    struct Case {
        DWORD rop;
        COLORREF expected;
    } cases[] = {{SRCCOPY, kRed},
                 {SRCAND, kRed},
                 {SRCINVERT, RGB(0, 255, 255)},
                 {NOTSRCCOPY, RGB(0, 255, 255)},
                 {DSTINVERT, kBlack},
                 {BLACKNESS, kBlack},
                 {WHITENESS, kWhite}};
    int x = 0;
    for (const Case& c : cases) {
        BitBlt(dc, x, 20, 4, 4, src, 0, 0, c.rop);
        EXPECT_EQ(GetPixel(dc, x + 1, 21), c.expected) << std::hex << c.rop;
        EXPECT_EQ(GetPixel(dc, x + 4, 21), kWhite);
        x += 5;
    }
    SelectObject(src, so);
    DeleteObject(sb);
    DeleteObject(red);
    DeleteDC(src);
}

TEST_F(Canvas, ClipRectKeepsDrawingInside) {
    IntersectClipRect(dc, 5, 5, 10, 10);
    RECT all{0, 0, 40, 30};
    FillRect(dc, &all, (HBRUSH)GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(GetPixel(dc, 5, 5), kBlack);
    SelectClipRgn(dc, nullptr);
    EXPECT_EQ(GetPixel(dc, 4, 5), kWhite);
    EXPECT_EQ(GetPixel(dc, 10, 9), kWhite);
}

TEST_F(Canvas, TextIsMeasuredAndLandsInsideItsRectangleAsAligned) {
    HFONT font = CreateFont(-MulDiv(8, 96, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "MS Sans Serif");
    SelectObject(dc, font);
    TEXTMETRIC tm;
    ASSERT_TRUE(GetTextMetrics(dc, &tm));
    EXPECT_GE(tm.tmHeight, 12);
    EXPECT_LE(tm.tmHeight, 14);
    SIZE ext;
    GetTextExtentPoint32(dc, "WWW", 3, &ext);
    EXPECT_GT(ext.cx, 15);
    EXPECT_LT(ext.cx, 40);
    SetBkMode(dc, TRANSPARENT);
    auto inkColumns = [&](const RECT& r, int& first, int& last) {
        first = -1;
        last = -1;
        for (int x = r.left; x < r.right; ++x)
            for (int y = r.top; y < r.bottom; ++y)
                if (GetPixel(dc, x, y) != kWhite) {
                    if (first < 0)
                        first = x;
                    last = x;
                    break;
                }
    };
    struct Case {
        UINT format;
        bool left, right;
    } cases[] = {{DT_LEFT, true, false}, {DT_RIGHT, false, true}, {DT_CENTER, false, false}};
    for (const Case& c : cases) {
        RECT all{0, 0, 40, 30};
        FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
        RECT r{0, 0, 40, 30};
        DrawText(dc, "ii", 2, &r, c.format | DT_SINGLELINE | DT_VCENTER);
        int first, last;
        inkColumns(r, first, last);
        ASSERT_GE(first, 0);
        if (c.left) {
            EXPECT_LT(first, 5);
        }
        if (c.right) {
            EXPECT_GT(last, 34);
        }
        if (!c.left && !c.right) {
            EXPECT_GT(first, 12);
            EXPECT_LT(last, 28);
        }
        // Nothing outside the rows a line of text takes, centred vertically.
        for (int x = 0; x < 40; ++x) {
            EXPECT_EQ(GetPixel(dc, x, 2), kWhite);
            EXPECT_EQ(GetPixel(dc, x, 27), kWhite);
        }
    }
    RECT calc{0, 0, 100, 0};
    int h = DrawText(dc, "one\ntwo", -1, &calc, DT_CALCRECT);
    EXPECT_EQ(h, 2 * tm.tmHeight);
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
}
}  // namespace
