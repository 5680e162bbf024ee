#include <gtest/gtest.h>

#include "platform/user/Controls.h"
#include "platform/user/DrawState.h"

namespace {

class StateCanvas : public ::testing::Test {
protected:
    void SetUp() override {
        dc = CreateCompatibleDC(nullptr);
        bmp = CreateCompatibleBitmap(dc, 80, 50);
        old = SelectObject(dc, bmp);
        RECT all{0, 0, 80, 50};
        FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
        SetTextColor(dc, RGB(200, 0, 0));
    }
    void TearDown() override {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    int Count(COLORREF c) const {
        int n = 0;
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 80; ++x)
                n += GetPixel(dc, x, y) == c;
        return n;
    }
    HDC dc;
    HBITMAP bmp;
    HGDIOBJ old;
};

TEST_F(StateCanvas, DisabledTextIsEmbossedInHighlightAndShadow) {
    ASSERT_TRUE(DrawState(dc, nullptr, nullptr, (LPARAM) "&Menu", 0, 4, 4, 0, 0, DST_PREFIXTEXT | DSS_DISABLED));
    EXPECT_GT(Count(GetSysColor(COLOR_3DSHADOW)), 10);
    EXPECT_GT(Count(GetSysColor(COLOR_3DHILIGHT)), 0);
    EXPECT_EQ(Count(RGB(200, 0, 0)), 0);
}

TEST_F(StateCanvas, MonoFillsTheShapeWithTheBrush) {
    HICON icon = LoadIcon(nullptr, IDI_APPLICATION);
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    ASSERT_TRUE(DrawState(dc, blue, nullptr, (LPARAM)icon, 0, 2, 2, 0, 0, DST_ICON | DSS_MONO));
    EXPECT_GT(Count(RGB(0, 0, 255)), 50);
    // Only the brush colour and the white beneath remain.
    EXPECT_EQ(Count(RGB(0, 0, 255)) + Count(RGB(255, 255, 255)), 80 * 50);
    DeleteObject(blue);
}

TEST_F(StateCanvas, NormalTextUsesTheTextColourAndBadInputFails) {
    ASSERT_TRUE(DrawState(dc, nullptr, nullptr, (LPARAM) "Text", 0, 4, 4, 0, 0, DST_TEXT));
    int red = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 80; ++x) {
            COLORREF c = GetPixel(dc, x, y);
            red += GetRValue(c) > 150 && GetGValue(c) < 100;
        }
    EXPECT_GT(red, 5);
    EXPECT_FALSE(DrawState(dc, nullptr, nullptr, 0, 0, 0, 0, 0, 0, DST_TEXT));
    EXPECT_FALSE(DrawState(dc, nullptr, nullptr, (LPARAM) nullptr, 0, 0, 0, 0, 0, DST_ICON));
    EXPECT_FALSE(DrawState(dc, nullptr, nullptr, 0, 0, 0, 0, 5, 5, DST_COMPLEX));
}

}  // namespace
