// The drag image over a window's pixels: shown where the mouse is, and nothing left when it goes, even
// when the window paints under it meanwhile.
#include <gtest/gtest.h>

#include <cairo.h>

#include <vector>

#include "platform/user/DragImage.h"
#include "tests/support/Gui.h"

namespace {
COLORREF g_fill = RGB(0, 128, 0);

LRESULT FillProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ERASEBKGND)
        return 1;
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        RECT rc;
        GetClientRect(h, &rc);
        HBRUSH b = CreateSolidBrush(g_fill);
        FillRect(dc, &rc, b);
        DeleteObject(b);
        EndPaint(h, &ps);
        return 0;
    }
    return DefWindowProc(h, msg, wp, lp);
}

std::vector<COLORREF> Pixels(HWND top) {
    RECT rc;
    GetWindowRect(top, &rc);
    std::vector<COLORREF> all;
    for (int y = 0; y < rc.bottom - rc.top; ++y)
        for (int x = 0; x < rc.right - rc.left; ++x)
            all.push_back(GetWindowPixel(top, x, y));
    return all;
}

class DragImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestWindowClass("DragImageTestFill", FillProc, COLOR_WINDOW);
        g_fill = RGB(0, 128, 0);
        top = CreateWindowEx(0, "DragImageTestFill", "", WS_POPUP | WS_VISIBLE, 0, 0, 120, 80, nullptr,
                             nullptr, nullptr, nullptr);
        child = CreateWindowEx(0, "DragImageTestFill", "", WS_CHILD | WS_VISIBLE, 40, 20, 60, 40, top,
                               nullptr, nullptr, nullptr);
        Pump();
        // One 8 x 8 red image with a transparent (magenta) left column.
        images = ImageList_Create(8, 8, ILC_COLOR32 | ILC_MASK, 1, 0);
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bm = CreateCompatibleBitmap(screen, 8, 8);
        ReleaseDC(nullptr, screen);
        HGDIOBJ old = SelectObject(dc, bm);
        RECT all{0, 0, 8, 8}, left{0, 0, 1, 8};
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0)), magenta = CreateSolidBrush(RGB(255, 0, 255));
        FillRect(dc, &all, red);
        FillRect(dc, &left, magenta);
        DeleteObject(red);
        DeleteObject(magenta);
        SelectObject(dc, old);
        DeleteDC(dc);
        ImageList_AddMasked(images, bm, RGB(255, 0, 255));
        DeleteObject(bm);
    }
    void TearDown() override {
        ImageList_EndDrag();
        ImageList_Destroy(images);
        DestroyWindow(top);
        Pump();
    }
    HWND top = nullptr, child = nullptr;
    HIMAGELIST images = nullptr;
};
}  // namespace

TEST_F(DragImageTest, FollowsTheMouseAndLeavesNoPixelsBehind) {
    const std::vector<COLORREF> before = Pixels(top);
    const COLORREF red = RGB(255, 0, 0), green = RGB(0, 128, 0);
    ASSERT_TRUE(ImageList_BeginDrag(images, 0, 2, 2));
    EXPECT_FALSE(ImageList_BeginDrag(images, 0, 0, 0));  // one at a time

    ASSERT_TRUE(ImageList_DragEnter(top, 20, 10));
    Pump();
    EXPECT_EQ(GetWindowPixel(top, 20, 10), red);        // the hot spot is under the point
    EXPECT_EQ(GetWindowPixel(top, 18, 10), green);      // the transparent column
    EXPECT_EQ(GetWindowPixel(top, 19 + 8, 10), green);  // past its right edge

    // Over the child, crossing its edge: the image is drawn over both, and moving takes it all back.
    ImageList_DragMove(40, 22);
    Pump();
    EXPECT_EQ(GetWindowPixel(top, 20, 10), green);
    EXPECT_EQ(GetWindowPixel(top, 40, 22), red);
    EXPECT_EQ(GetWindowPixel(top, 39, 22), red);

    ImageList_DragShowNolock(FALSE);
    Pump();
    EXPECT_EQ(Pixels(top), before);
    ImageList_DragShowNolock(TRUE);
    Pump();
    EXPECT_EQ(GetWindowPixel(top, 40, 22), red);

    ImageList_DragLeave(top);
    ImageList_EndDrag();
    Pump();
    EXPECT_EQ(Pixels(top), before);
}

TEST_F(DragImageTest, AWindowPaintingUnderTheImageKeepsItsNewPixels) {
    ASSERT_TRUE(ImageList_BeginDrag(images, 0, 0, 0));
    ASSERT_TRUE(ImageList_DragEnter(child, 10, 10));  // coordinates of the child's window
    Pump();
    EXPECT_EQ(GetWindowPixel(child, 12, 12), RGB(255, 0, 0));

    g_fill = RGB(0, 0, 200);
    InvalidateRect(child, nullptr, TRUE);
    Pump();
    EXPECT_EQ(GetWindowPixel(child, 12, 12), RGB(255, 0, 0));  // back over the new pixels

    // Half over the child's left edge: only the child's part shows it.
    ImageList_DragMove(-4, 10);
    Pump();
    EXPECT_EQ(GetWindowPixel(child, 1, 12), RGB(255, 0, 0));
    EXPECT_EQ(GetWindowPixel(top, 40 - 2, 20 + 12), RGB(0, 128, 0));

    ImageList_DragLeave(child);
    ImageList_EndDrag();
    Pump();
    for (int x = 0; x < 60; ++x)
        ASSERT_EQ(GetWindowPixel(child, x, 12), RGB(0, 0, 200)) << x;
}
