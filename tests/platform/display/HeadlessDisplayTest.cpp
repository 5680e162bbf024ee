#include <gtest/gtest.h>
#include <cairo.h>
#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/display/DisplayFactory.h"
#include "platform/display/HeadlessDisplay.h"
#include "tests/support/Gui.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempFolder.h"

namespace {
COLORREF g_fill = RGB(0, 128, 255);

LRESULT FillProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        RECT all;
        GetClientRect(h, &all);
        HBRUSH b = CreateSolidBrush(g_fill);
        FillRect(dc, &all, b);
        DeleteObject(b);
        EndPaint(h, &ps);
        return 0;
    }
    return DefWindowProc(h, msg, wp, lp);
}

class HeadlessTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASS wc{};
        wc.lpfnWndProc = FillProc;
        wc.lpszClassName = "HeadlessFill";
        RegisterClass(&wc);
        display = std::make_shared<HeadlessDisplay>();
        SetDisplayBackend(display);
        g_fill = RGB(0, 128, 255);
    }
    void TearDown() override {
        Pump();
        SetDisplayBackend(nullptr);
    }
    HWND Popup(const char* title, DWORD extra = 0) {
        return CreateWindowEx(0, "HeadlessFill", title, WS_POPUP | extra, 30, 40, 120, 90, nullptr, nullptr,
                              nullptr, nullptr);
    }
    std::shared_ptr<HeadlessDisplay> display;
};

TEST_F(HeadlessTest, KeepsEachTopLevelWindowWithWhatItLastPresented) {
    HWND top = Popup("First");
    HWND child = CreateWindowEx(0, "HeadlessFill", "", WS_CHILD | WS_VISIBLE, 5, 5, 20, 20, top, (HMENU)1,
                                nullptr, nullptr);
    ASSERT_EQ(display->Windows(), std::vector<HWND>{top});  // children paint into their top-level
    EXPECT_FALSE(display->IsShown(top));
    EXPECT_EQ(display->Title(top), "First");
    RECT placed = display->Placement(top);
    EXPECT_EQ(placed.left, 30);
    EXPECT_EQ(placed.bottom, 130);

    ShowWindow(top, SW_SHOW);
    Pump();
    EXPECT_TRUE(display->IsShown(top));
    int presents = display->PresentCount(top);
    EXPECT_GE(presents, 1);
    EXPECT_EQ(display->PresentedPixel(top, 60, 60), RGB(0, 128, 255));

    // Pixels drawn but not yet presented are not what the display shows.
    HDC dc = GetDC(child);
    RECT r{0, 0, 20, 20};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &r, red);
    DeleteObject(red);
    ReleaseDC(child, dc);
    EXPECT_EQ(display->PresentedPixel(top, 10, 10), RGB(0, 128, 255));
    Pump();
    EXPECT_EQ(display->PresentedPixel(top, 10, 10), RGB(255, 0, 0));
    EXPECT_EQ(display->PresentCount(top), presents + 1);

    SetWindowText(top, "Renamed");
    MoveWindow(top, 200, 100, 120, 90, TRUE);
    EXPECT_EQ(display->Title(top), "Renamed");
    EXPECT_EQ(display->Placement(top).left, 200);
    ShowWindow(top, SW_HIDE);
    EXPECT_FALSE(display->IsShown(top));
    DestroyWindow(top);
    EXPECT_TRUE(display->Windows().empty());
    EXPECT_EQ(display->PresentedPixel(top, 10, 10), CLR_INVALID);
}

TEST_F(HeadlessTest, ScreenshotDirectoryGetsEachPaintedWindowAsPng) {
    TempFolder folder("veltrin-shots");
    const std::string dir = folder.Path();
    ScopedEnv env("VELTRIN_SCREENSHOT_DIR", dir);
    g_fill = RGB(10, 200, 30);
    HWND top = Popup("Shot: one", WS_VISIBLE);
    Pump();
    std::string found;
    DIR* d = opendir(dir.c_str());
    ASSERT_NE(d, nullptr);
    while (dirent* e = readdir(d))
        if (std::string(e->d_name).rfind("Shot__one-", 0) == 0)
            found = dir + "/" + e->d_name;
    closedir(d);
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found.substr(found.size() - 4), ".png");
    cairo_surface_t* png = cairo_image_surface_create_from_png(found.c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(png), 120);
    EXPECT_EQ(cairo_image_surface_get_height(png), 90);
    EXPECT_EQ(GetSurfacePixel(png, 60, 45), RGB(10, 200, 30));
    cairo_surface_destroy(png);
    DestroyWindow(top);
}

TEST_F(HeadlessTest, ClipboardChangesReachListenersOnly) {
    HWND listener = Popup("Listener");
    HWND other = Popup("Other");
    ASSERT_TRUE(AddClipboardFormatListener(listener));
    HWND gone = Popup("Gone");
    AddClipboardFormatListener(gone);
    DestroyWindow(gone);  // a listener that went away is dropped, not posted to
    display->SetClipboardFromOutside("copied text");
    std::string text;
    ASSERT_TRUE(display->GetClipboardText(text));
    EXPECT_EQ(text, "copied text");
    MSG m;
    ASSERT_TRUE(PeekMessage(&m, nullptr, WM_CLIPBOARDUPDATE, WM_CLIPBOARDUPDATE, PM_REMOVE));
    EXPECT_EQ(m.hwnd, listener);
    EXPECT_FALSE(PeekMessage(&m, nullptr, WM_CLIPBOARDUPDATE, WM_CLIPBOARDUPDATE, PM_REMOVE));
    EXPECT_TRUE(RemoveClipboardFormatListener(listener));
    EXPECT_FALSE(RemoveClipboardFormatListener(gone));
    display->SetClipboardFromOutside("again");
    EXPECT_FALSE(PeekMessage(&m, nullptr, WM_CLIPBOARDUPDATE, WM_CLIPBOARDUPDATE, PM_REMOVE));
    DestroyWindow(listener);
    DestroyWindow(other);
}

TEST(DisplayChoice, FollowsTheEnvironment) {
    struct Case {
        const char* asked;
        const char* x11;
        const char* wayland;
        const char* expected;
    } cases[] = {
        {nullptr, nullptr, nullptr, "headless"}, {nullptr, ":0", nullptr, "sdl"},
        {nullptr, nullptr, "wayland-0", "sdl"},  {"", ":0", nullptr, "sdl"},
        {"headless", ":0", nullptr, "headless"}, {"sdl", nullptr, nullptr, "sdl"},
        {"vga", nullptr, nullptr, "headless"},   {"vga", ":1", nullptr, "sdl"},
    };
    for (const Case& c : cases) {
        ScopedEnv a("VELTRIN_DISPLAY", c.asked), b("DISPLAY", c.x11), w("WAYLAND_DISPLAY", c.wayland);
        EXPECT_EQ(DisplayNameFromEnvironment(), c.expected)
            << (c.asked ? c.asked : "-") << " " << (c.x11 ? c.x11 : "-") << " "
            << (c.wayland ? c.wayland : "-");
    }
}

TEST(DisplayChoice, HeadlessIsInstalledWhenAskedOrWhenSdlCannotStart) {
    std::string error;
    EXPECT_EQ(CreateDisplay("vga", &error), nullptr);
    EXPECT_NE(error.find("vga"), std::string::npos);
    {
        ScopedEnv a("VELTRIN_DISPLAY", "headless");
        EXPECT_EQ(InitDisplayFromEnvironment(), "headless");
        EXPECT_STREQ(GetDisplayBackend()->Name(), "headless");
    }
    {
        // An X display that does not exist: the program still runs, on headless.
        ScopedEnv a("VELTRIN_DISPLAY", "sdl"), b("DISPLAY", ":9999"), w("WAYLAND_DISPLAY", nullptr),
            v("SDL_VIDEODRIVER", "x11");
        EXPECT_EQ(InitDisplayFromEnvironment(), "headless");
    }
    SetDisplayBackend(nullptr);
}
}  // namespace
