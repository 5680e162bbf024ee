#include <gtest/gtest.h>

#include <cairo.h>

#include "guilib/controls/OXImageListBox.h"
#include "platform/user/Controls.h"
#include "tests/support/Gui.h"

namespace {

LRESULT ParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProc(hwnd, msg, wp, lp);
}

// A list of `count` solid images of `size`, image i in colour RGB(40 * i, 100, 200).
HIMAGELIST SolidImages(int size, int count) {
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR24, 0, 0);
    for (int i = 0; i < count; ++i) {
        cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
        cairo_t* cr = cairo_create(s);
        cairo_set_source_rgb(cr, 40 * i / 255.0, 100 / 255.0, 200 / 255.0);
        cairo_paint(cr);
        cairo_destroy(cr);
        HICON icon = CreateIconFromSurface(s);
        cairo_surface_destroy(s);
        ImageList_AddIcon(list, icon);
    }
    return list;
}

class ImageListBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestWindowClass("ImageListBoxParent", ParentProc, COLOR_BTNFACE);
        ASSERT_TRUE(parent.CreateEx(0, "ImageListBoxParent", "images", WS_POPUP | WS_VISIBLE, 0, 0, 260, 140,
                                    nullptr, nullptr));
        ASSERT_TRUE(box.Create(WS_CHILD | WS_VISIBLE | LBS_MULTIPLESEL, RECT{0, 0, 260, 140}, &parent, 5));
    }
    void TearDown() override {
        box.DestroyWindow();
        parent.DestroyWindow();
        Pump();
    }
    CWnd parent;
    COXImageListBox box{16, 16};
};

TEST_F(ImageListBoxTest, CellsAreAQuarterLargerThanTheImages) {
    DWORD style = (DWORD)GetWindowLongPtr(box.GetSafeHwnd(), GWL_STYLE);
    EXPECT_TRUE(style & LBS_MULTICOLUMN);
    EXPECT_TRUE(style & LBS_OWNERDRAWFIXED);
    EXPECT_FALSE(style & LBS_MULTIPLESEL);
    EXPECT_EQ(box.GetItemHeight(0), 20);  // from the constructed 16 x 16

    HIMAGELIST images = SolidImages(32, 5);
    ASSERT_EQ(box.SetImageList(images), 5);
    ImageList_Destroy(images);  // the box keeps a copy
    EXPECT_EQ(box.GetItemHeight(0), 40);
    RECT cell{};
    box.GetItemRect(1, &cell);  // three rows of 40 in 140: item 1 is below item 0
    EXPECT_EQ(cell.top, 40);
    box.GetItemRect(3, &cell);
    EXPECT_EQ(cell.left, 40);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ((int)box.GetItemData(i), i);

    box.SetBkColor(RGB(255, 255, 255));
    box.SetSelColor(RGB(10, 36, 106));
    box.SetCurSel(3);
    RedrawWindow(parent.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    ScreenshotOnFailure shot(parent.GetSafeHwnd());
    PixelProbe px(parent.GetSafeHwnd());
    // Image 2 sits 4 px into its cell (a tenth of 40); the cell's margin shows the background.
    EXPECT_EQ(px.At(4, 80 + 4), RGB(80, 100, 200));
    EXPECT_EQ(px.At(3, 80 + 3), RGB(255, 255, 255));
    EXPECT_EQ(px.At(40 + 2, 2), RGB(10, 36, 106));  // the selected cell
    EXPECT_EQ(px.At(200, 100), RGB(255, 255, 255));  // right of the last column
    WriteScreenshot(parent.GetSafeHwnd(), "Gallery_ImageListBox");

    // Deleting image 2 renumbers the last two.
    box.DeleteString(2);
    ASSERT_EQ(box.GetCount(), 4);
    EXPECT_EQ((int)box.GetItemData(2), 2);
    EXPECT_EQ((int)box.GetItemData(3), 3);
    EXPECT_EQ(ImageList_GetImageCount(box.GetImageList()), 4);
    box.ResetContent();
    EXPECT_EQ(ImageList_GetImageCount(box.GetImageList()), 0);
    EXPECT_EQ(box.SetImageList(nullptr), 0);
}

}  // namespace
