#include <gtest/gtest.h>

#include "platform/gdi/Gdi.h"

namespace {

TRIVERTEX Vertex(LONG x, LONG y, COLORREF c) {
    return TRIVERTEX{x, y, (COLOR16)(GetRValue(c) * 255), (COLOR16)(GetGValue(c) * 255),
                     (COLOR16)(GetBValue(c) * 255), 0};
}

class GradientCanvas : public ::testing::Test {
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

TEST_F(GradientCanvas, RectangleEndsAreTheVertexColoursInEitherDirection) {
    const COLORREF a = RGB(245, 244, 242), b = RGB(213, 209, 202);
    struct Case {
        ULONG mode;
        bool reversed;  // the first vertex is the bottom-right one
    } cases[] = {{GRADIENT_FILL_RECT_H, false}, {GRADIENT_FILL_RECT_H, true},
                 {GRADIENT_FILL_RECT_V, false}, {GRADIENT_FILL_RECT_V, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " reversed " << c.reversed);
        TRIVERTEX v[2] = {Vertex(2, 3, a), Vertex(12, 23, b)};
        if (c.reversed)
            std::swap(v[0], v[1]);
        GRADIENT_RECT mesh{0, 1};
        ASSERT_TRUE(GradientFill(dc, v, 2, &mesh, 1, c.mode));
        bool h = c.mode == GRADIENT_FILL_RECT_H;
        // The vertex at the left (top) gives the first column (row), in whichever order the mesh names it.
        COLORREF first = a, last = b;
        EXPECT_EQ(GetPixel(dc, 2, 3), first);
        EXPECT_EQ(h ? GetPixel(dc, 11, 3) : GetPixel(dc, 2, 22), last);
        EXPECT_EQ(h ? GetPixel(dc, 2, 22) : GetPixel(dc, 11, 3), first);
        // Right and bottom stay outside.
        EXPECT_EQ(GetPixel(dc, 12, 10), RGB(255, 255, 255));
        EXPECT_EQ(GetPixel(dc, 5, 23), RGB(255, 255, 255));
    }
}

TEST_F(GradientCanvas, RectangleStepsFollowTheRoundedLinearFormula) {
    // Five columns from 0 to 255: (255 * i + 2) / 4.
    TRIVERTEX v[2] = {Vertex(0, 0, RGB(0, 0, 0)), Vertex(5, 1, RGB(255, 100, 3))};
    GRADIENT_RECT mesh{0, 1};
    ASSERT_TRUE(GradientFill(dc, v, 2, &mesh, 1, GRADIENT_FILL_RECT_H));
    const COLORREF expected[] = {RGB(0, 0, 0), RGB(64, 25, 1), RGB(128, 50, 2), RGB(191, 75, 2), RGB(255, 100, 3)};
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(GetPixel(dc, x, 0), expected[x]) << "column " << x;
}

TEST_F(GradientCanvas, TriangleHasItsVertexColoursAtItsCorners) {
    TRIVERTEX v[3] = {Vertex(0, 0, RGB(255, 0, 0)), Vertex(20, 0, RGB(0, 255, 0)), Vertex(0, 20, RGB(0, 0, 255))};
    GRADIENT_TRIANGLE tri{0, 1, 2};
    ASSERT_TRUE(GradientFill(dc, v, 3, &tri, 1, GRADIENT_FILL_TRIANGLE));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 20, 0), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(dc, 0, 20), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dc, 10, 0), RGB(128, 128, 0));
    EXPECT_EQ(GetPixel(dc, 15, 15), RGB(255, 255, 255));  // beyond the hypotenuse
}

TEST_F(GradientCanvas, BadMeshIsRefusedWithoutDrawing) {
    TRIVERTEX v[2] = {Vertex(0, 0, RGB(0, 0, 0)), Vertex(10, 10, RGB(0, 0, 0))};
    GRADIENT_RECT bad[2] = {{0, 1}, {0, 2}};
    EXPECT_FALSE(GradientFill(dc, v, 2, bad, 2, GRADIENT_FILL_RECT_H));
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 255, 255));
    GRADIENT_RECT good{0, 1};
    EXPECT_FALSE(GradientFill(dc, v, 2, &good, 1, 7));
    EXPECT_FALSE(GradientFill(nullptr, v, 2, &good, 1, GRADIENT_FILL_RECT_H));
}

}  // namespace
