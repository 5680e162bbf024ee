#include <cairo.h>
#include <gtest/gtest.h>

#include "platform/user/Controls.h"
#include "platform/user/ImageList.h"
#include "platform/user/Resources.h"
#include "platform/user/User.h"

extern const unsigned char test_toolbar3_png[];
extern const size_t test_toolbar3_png_size;

namespace {
// toolbar3.png: 48 x 15, light grey with a red, a green and a blue square.
const unsigned char kNotAnImage[] = {1, 2, 3, 4};
class ImageModule : public ResourceModule {
public:
    const BitmapResource* FindBitmap(UINT id) const override { return Find(id); }
    const BitmapResource* FindIcon(UINT id) const override { return Find(id); }
    const BitmapResource* FindCursor(UINT id) const override { return id == 701 ? Find(700) : nullptr; }

private:
    static const BitmapResource* Find(UINT id) {
        static const BitmapResource image{700, test_toolbar3_png, test_toolbar3_png_size};
        static const BitmapResource broken{702, kNotAnImage, sizeof kNotAnImage};
        return id == 700 ? &image : id == 702 ? &broken : nullptr;
    }
};

class ResourceImagesTest : public ::testing::Test {
protected:
    void SetUp() override { AddResourceModule(&module); }
    void TearDown() override { RemoveResourceModule(&module); }
    ImageModule module;
};
}  // namespace

TEST_F(ResourceImagesTest, IconsAndCursorsLoadByIdOnceAndUnknownIdsFallBack) {
    HICON icon = LoadIcon(nullptr, MAKEINTRESOURCE(700));
    ASSERT_TRUE(icon);
    EXPECT_EQ(LoadIcon(nullptr, MAKEINTRESOURCE(700)), icon);
    cairo_surface_t* s = user::IconSurface(icon);
    ASSERT_TRUE(s);
    EXPECT_EQ(cairo_image_surface_get_width(s), 48);
    EXPECT_EQ(cairo_image_surface_get_height(s), 15);
    // A damaged image and an unknown id show the application icon.
    EXPECT_EQ(LoadIcon(nullptr, MAKEINTRESOURCE(702)), LoadIcon(nullptr, IDI_APPLICATION));
    EXPECT_EQ(LoadIcon(nullptr, MAKEINTRESOURCE(703)), LoadIcon(nullptr, IDI_APPLICATION));

    HCURSOR cursor = LoadCursor(nullptr, MAKEINTRESOURCE(701));
    ASSERT_TRUE(cursor);
    EXPECT_NE(cursor, LoadCursor(nullptr, IDC_ARROW));
    EXPECT_EQ(LoadCursor(nullptr, MAKEINTRESOURCE(701)), cursor);
}

TEST_F(ResourceImagesTest, ClassCursorIsShownOverTheClientArea) {
    HCURSOR cursor = LoadCursor(nullptr, MAKEINTRESOURCE(701));
    WNDCLASS wc{};
    wc.lpfnWndProc = DefWindowProc;
    wc.hCursor = cursor;
    wc.lpszClassName = "ResourceImagesCursor";
    RegisterClass(&wc);
    HWND w = CreateWindowEx(0, "ResourceImagesCursor", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    SetCursor(nullptr);
    // Outside the client area the class cursor gives way to the arrow.
    EXPECT_TRUE(SendMessage(w, WM_SETCURSOR, (WPARAM)w, MAKELPARAM(HTCAPTION, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_ARROW));
    EXPECT_TRUE(SendMessage(w, WM_SETCURSOR, (WPARAM)w, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), cursor);
    DestroyWindow(w);
}

TEST_F(ResourceImagesTest, ImageListFromABitmapStripWithAMaskColour) {
    struct Case {
        COLORREF mask;
        COLORREF cornerOnBlue;  // pixel (0,0) of image 0 drawn on blue
    } cases[] = {
        {RGB(192, 192, 192), RGB(0, 0, 255)},
        {CLR_DEFAULT, RGB(0, 0, 255)},
        {CLR_NONE, RGB(192, 192, 192)},
    };
    for (const Case& c : cases) {
        HIMAGELIST list = ImageList_LoadBitmap(nullptr, MAKEINTRESOURCE(700), 16, 1, c.mask);
        ASSERT_TRUE(list);
        EXPECT_EQ(ImageList_GetImageCount(list), 3);
        int cx = 0, cy = 0;
        ImageList_GetIconSize(list, &cx, &cy);
        EXPECT_EQ(cx, 16);
        EXPECT_EQ(cy, 15);
        HDC screen = GetDC(nullptr);
        HDC mem = CreateCompatibleDC(screen);
        HBITMAP target = CreateCompatibleBitmap(screen, 16, 15);
        HGDIOBJ old = SelectObject(mem, target);
        RECT all{0, 0, 16, 15};
        HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
        FillRect(mem, &all, blue);
        ImageList_Draw(list, 1, mem, 0, 0, ILD_TRANSPARENT);
        SelectObject(mem, old);
        cairo_surface_t* pixels = GetBitmapSurface(target);
        EXPECT_EQ(GetSurfacePixel(pixels, 0, 0), c.cornerOnBlue);
        EXPECT_EQ(GetSurfacePixel(pixels, 4, 7), RGB(0, 160, 0));
        DeleteDC(mem);
        ReleaseDC(nullptr, screen);
        DeleteObject(target);
        DeleteObject(blue);
        ImageList_Destroy(list);
    }
    EXPECT_EQ(ImageList_LoadBitmap(nullptr, MAKEINTRESOURCE(703), 16, 1, CLR_DEFAULT), nullptr);
    EXPECT_EQ(ImageList_LoadBitmap(nullptr, MAKEINTRESOURCE(702), 16, 1, CLR_DEFAULT), nullptr);
}
