#include <cairo.h>
#include <gtest/gtest.h>

#include "platform/user/Controls.h"
#include "platform/user/ImageList.h"
#include "platform/user/Shell.h"

TEST(ImageListTest, StripWithMaskAndIconsDrawByIndex) {
    HIMAGELIST list = ImageList_Create(4, 4, ILC_COLOR24 | ILC_MASK, 2, 2);
    ASSERT_TRUE(list);
    // A strip of two 4x4 images (red, green) whose mask clears the left column of each.
    HDC screen = GetDC(nullptr);
    HBITMAP strip = CreateCompatibleBitmap(screen, 8, 4);
    HBITMAP mask = CreateCompatibleBitmap(screen, 8, 4);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, strip);
    RECT left{0, 0, 4, 4}, right{4, 0, 8, 4}, all{0, 0, 8, 4};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0)), green = CreateSolidBrush(RGB(0, 255, 0));
    FillRect(mem, &left, red);
    FillRect(mem, &right, green);
    SelectObject(mem, mask);
    FillRect(mem, &all, (HBRUSH)GetStockObject(BLACK_BRUSH));
    RECT clear0{0, 0, 1, 4}, clear1{4, 0, 5, 4};
    FillRect(mem, &clear0, (HBRUSH)GetStockObject(WHITE_BRUSH));
    FillRect(mem, &clear1, (HBRUSH)GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(ImageList_Add(list, strip, mask), 0);
    EXPECT_EQ(ImageList_AddIcon(list, LoadIcon(nullptr, IDI_APPLICATION)), 2);
    EXPECT_EQ(ImageList_GetImageCount(list), 3);

    // Draw image 1 onto blue: the masked column stays blue.
    HBITMAP target = CreateCompatibleBitmap(screen, 10, 10);
    SelectObject(mem, target);
    RECT field{0, 0, 10, 10};
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(mem, &field, blue);
    EXPECT_TRUE(ImageList_Draw(list, 1, mem, 2, 2, ILD_TRANSPARENT));
    EXPECT_FALSE(ImageList_Draw(list, 3, mem, 0, 0, ILD_NORMAL));
    SelectObject(mem, old);
    cairo_surface_t* pixels = GetBitmapSurface(target);
    EXPECT_EQ(GetSurfacePixel(pixels, 2, 3), RGB(0, 0, 255));
    EXPECT_EQ(GetSurfacePixel(pixels, 3, 3), RGB(0, 255, 0));
    EXPECT_EQ(GetSurfacePixel(pixels, 6, 6), RGB(0, 0, 255));
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    for (HGDIOBJ o :
         {(HGDIOBJ)strip, (HGDIOBJ)mask, (HGDIOBJ)target, (HGDIOBJ)red, (HGDIOBJ)green, (HGDIOBJ)blue})
        DeleteObject(o);
    EXPECT_TRUE(ImageList_Destroy(list));
    EXPECT_FALSE(ImageList_Destroy(list));
}

TEST(ImageListTest, AnIconTakenFromTheListIsTheCallersToDestroy) {
    HIMAGELIST list = ImageList_Create(4, 4, ILC_COLOR24 | ILC_MASK, 1, 1);
    cairo_surface_t* red = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 4, 4);
    cairo_t* cr = cairo_create(red);
    cairo_set_source_rgb(cr, 1, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    HICON source = CreateIconFromSurface(red);
    cairo_surface_destroy(red);
    ASSERT_EQ(ImageList_AddIcon(list, source), 0);
    DestroyIcon(source);

    // Destroying the taken icon, as a borrower of the list's images does, leaves the image in the list.
    HICON taken = ImageList_GetIcon(list, 0, ILD_NORMAL);
    ASSERT_TRUE(taken);
    EXPECT_TRUE(DestroyIcon(taken));
    ASSERT_TRUE(user::ImageListImage(list, 0));
    EXPECT_EQ(GetSurfacePixel(user::ImageListImage(list, 0), 1, 1), RGB(255, 0, 0));
    EXPECT_EQ(ImageList_GetIcon(list, 1, ILD_NORMAL), nullptr);

    // A taken icon keeps its pixels after the list is gone.
    taken = ImageList_GetIcon(list, 0, ILD_NORMAL);
    EXPECT_TRUE(ImageList_Destroy(list));
    ASSERT_TRUE(user::IconSurface(taken));
    EXPECT_EQ(GetSurfacePixel(user::IconSurface(taken), 2, 2), RGB(255, 0, 0));
    EXPECT_TRUE(DestroyIcon(taken));
}
