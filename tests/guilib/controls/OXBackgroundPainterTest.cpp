#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "guilib/controls/OXBackgroundPainter.h"
#include "platform/framework/bars/DockBar.h"
#include "platform/framework/bars/ToolBar.h"
#include "platform/framework/controls/TabCtrl.h"
#include "platform/framework/frames/MDIFrameWnd.h"
#include "tests/support/Gui.h"
#include "tests/support/TempFolder.h"

namespace {

const COLORREF kMark = RGB(255, 0, 0), kImage = RGB(0, 128, 0), kBack = RGB(255, 255, 255),
               kFace = RGB(212, 208, 200);

// A 24-bit .bmp of w x h pixels: green, with its top left pixel red.
std::string Bitmap(int w, int h) {
    const int row = (w * 3 + 3) & ~3;
    const uint32_t pixels = (uint32_t)(row * h), size = 54 + pixels;
    std::string b;
    auto put16 = [&](uint16_t v) { b += (char)(v & 0xFF); b += (char)(v >> 8); };
    auto put32 = [&](uint32_t v) { put16((uint16_t)(v & 0xFFFF)); put16((uint16_t)(v >> 16)); };
    b += "BM";
    put32(size); put32(0); put32(54);
    put32(40); put32((uint32_t)w); put32((uint32_t)h); put16(1); put16(24); put32(0); put32(pixels);
    put32(2835); put32(2835); put32(0); put32(0);
    for (int y = h - 1; y >= 0; --y) {  // bottom row first
        std::string line;
        for (int x = 0; x < w; ++x) {
            COLORREF c = (x == 0 && y == 0) ? kMark : kImage;
            line += (char)GetBValue(c); line += (char)GetGValue(c); line += (char)GetRValue(c);
        }
        line.resize((size_t)row, '\0');
        b += line;
    }
    return b;
}

// A painter that counts its paints.
class CountingPainter : public COXBackgroundPainter {
public:
    int paints = 0;
    void Paint(CDC* dc) override {
        ++paints;
        COXBackgroundPainter::Paint(dc);
    }
};

class PainterTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestWindowClass("PaintedWindow", ::DefWindowProc, COLOR_WINDOW);
        static bool registered = false;
        if (!registered) {
            WNDCLASS wc{};
            wc.lpfnWndProc = ::DefWindowProc;
            wc.lpszClassName = "PaintedNoBrush";
            RegisterClass(&wc);
            registered = true;
        }
        hwnd = Make("PaintedWindow", 100, 100);
        bmpPath = folder.Write("a.bmp", Bitmap(64, 32));
        ASSERT_TRUE(image.Read(bmpPath.c_str()));
    }
    void TearDown() override {
        painter.Detach(FALSE);
        for (HWND h : windows)
            if (IsWindow(h))
                DestroyWindow(h);
        Pump();
    }
    HWND Make(const char* cls, int x, int y, int w = 200, int h = 100) {
        HWND h2 = CreateWindowEx(0, cls, "", WS_POPUP | WS_VISIBLE, x, y, w, h, nullptr, nullptr, nullptr, nullptr);
        windows.push_back(h2);
        return h2;
    }
    COLORREF At(int x, int y) { return GetWindowPixel(hwnd, x, y); }

    TempFolder folder;
    std::string bmpPath;
    COXDIB image;
    HWND hwnd = nullptr;
    std::vector<HWND> windows;
    CountingPainter painter;
};

TEST_F(PainterTest, TheElevenPlacements) {
    struct Case {
        PaintType type;
        int x, y;  // where the image's top left lands
    } cases[] = {
        {TopLeft, 0, 0},     {TopCenter, 68, 0},    {TopRight, 136, 0},    {CenterLeft, 0, 34},
        {Center, 68, 34},    {CenterRight, 136, 34}, {BottomLeft, 0, 68},  {BottomCenter, 68, 68},
        {BottomRight, 136, 68},
    };
    painter.Attach(hwnd, &image, Tile);
    Pump();
    // Tile: a mark every 64 across and every 32 down.
    for (int x : {0, 64, 128, 192})
        for (int y : {0, 32, 64, 96})
            EXPECT_EQ(At(x, y), kMark) << x << "," << y;
    EXPECT_EQ(At(199, 99), kImage);
    // Stretch: the mark grows over the whole area's top-left, the image covers the rest.
    painter.SetPaintType(Stretch);
    EXPECT_EQ(At(0, 0), kMark);
    EXPECT_EQ(At(2, 2), kMark);
    EXPECT_EQ(At(64, 32), kImage);
    EXPECT_EQ(At(199, 99), kImage);
    for (const Case& c : cases) {
        SCOPED_TRACE((int)c.type);
        painter.SetPaintType(c.type);
        EXPECT_EQ(At(c.x, c.y), kMark);
        EXPECT_EQ(At(c.x + 63, c.y + 31), kImage);
        if (c.x > 0) {
            EXPECT_EQ(At(c.x - 1, c.y), kBack);
        }
        if (c.x + 64 < 200) {
            EXPECT_EQ(At(c.x + 64, c.y), kBack);
        }
        if (c.y + 32 < 100) {
            EXPECT_EQ(At(c.x, c.y + 32), kBack);
        }
    }
    WriteScreenshot(hwnd, "PainterBottomRight");
}

TEST_F(PainterTest, TilesStayAlignedWithTheOriginWindowWhereverItLies) {
    // The origin's client area begins 30 left of and 20 above the painted window: partial tiles first.
    HWND before = Make("PaintedWindow", 70, 80, 300, 200);
    painter.Attach(hwnd, &image, Tile, CLR_DEFAULT, before);
    Pump();
    EXPECT_EQ(At(34, 12), kMark);
    EXPECT_EQ(At(98, 44), kMark);
    EXPECT_EQ(At(33, 12), kImage);
    EXPECT_EQ(At(0, 0), kImage);
    // It begins 30 right and 20 below: no strip is left unpainted.
    HWND after = Make("PaintedWindow", 130, 120, 300, 200);
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    painter.SetOriginWnd(after);
    Pump();
    EXPECT_EQ(At(30, 20), kMark);
    for (int x : {0, 10, 29})
        for (int y : {0, 10, 19})
            EXPECT_EQ(At(x, y), kImage) << x << "," << y;
}

TEST_F(PainterTest, DefaultColourWithoutAClassBrushIsTheButtonFace) {
    HWND plain = Make("PaintedNoBrush", 300, 300);
    COXBackgroundPainter own;
    own.Attach(plain, &image, TopLeft);
    Pump();
    EXPECT_EQ(GetWindowPixel(plain, 150, 80), kFace);
    EXPECT_EQ(GetWindowPixel(plain, 0, 0), kMark);
    own.SetBkColor(RGB(1, 2, 3));
    EXPECT_EQ(GetWindowPixel(plain, 150, 80), RGB(1, 2, 3));
    own.Detach(FALSE);
}

TEST_F(PainterTest, CenterRepaintsOnResizeTileAndTopLeftDoNot) {
    struct Case {
        PaintType type;
        bool repaints;
    } cases[] = {{Center, true}, {Tile, false}, {TopLeft, false}, {BottomRight, true}};
    painter.Attach(hwnd, &image, Tile);
    Pump();
    int width = 200;
    for (const Case& c : cases) {
        SCOPED_TRACE((int)c.type);
        painter.SetPaintType(c.type);
        Pump();
        painter.paints = 0;
        width += 10;
        SetWindowPos(hwnd, nullptr, 0, 0, width, 100, SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_EQ(painter.paints > 0, c.repaints);
        Pump();
    }
}

TEST_F(PainterTest, AnUnreadableFileKeepsTheImageAndItsName) {
    painter.Attach(hwnd, nullptr, Tile);
    ASSERT_TRUE(painter.SetWallpaperFile(bmpPath.c_str()));
    EXPECT_EQ(std::string(painter.GetWallpaperFileName()), bmpPath);
    std::string bad = folder.Write("bad.bmp", "not a bitmap");
    for (const std::string& name : {bad, folder / "missing.bmp"}) {
        EXPECT_FALSE(painter.SetWallpaperFile(name.c_str()));
        EXPECT_EQ(std::string(painter.GetWallpaperFileName()), bmpPath);
        EXPECT_EQ(painter.GetWallpaper().GetSize().cx, 64);
    }
    // An empty name removes the image.
    EXPECT_TRUE(painter.SetWallpaperFile(""));
    EXPECT_TRUE(painter.GetWallpaper().IsEmpty());
}

// ---- Organizer on an MDI frame --------------------------------------------------------------------

struct Frame {
    CMDIFrameWnd* frame = nullptr;
    CToolBar toolbar, later;
    CTabCtrl tabs;
    void Make() {
        frame = new CMDIFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "Frame", WS_OVERLAPPEDWINDOW, RECT{0, 0, 640, 480}));
        ASSERT_TRUE(toolbar.CreateEx(frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP));
        frame->EnableDocking(CBRS_ALIGN_ANY);
        toolbar.EnableDocking(CBRS_ALIGN_ANY);
        frame->DockControlBar(&toolbar);
        ASSERT_TRUE(tabs.Create(WS_CHILD | WS_VISIBLE, RECT{0, 0, 100, 20}, frame, 4000));
        frame->ShowWindow(SW_SHOW);
        frame->RecalcLayout();
        Pump();
    }
    void Destroy() {
        if (frame && IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        Pump();
    }
};

TEST_F(PainterTest, AnAttachedOrganizerPaintsTheClientTheDockBarsTheirToolbarsAndTheTabs) {
    Frame f;
    f.Make();
    {
        COXBackgroundPainterOrganizer organizer;
        ASSERT_TRUE(organizer.AttachToThread(f.frame, &image, Tile));
        std::vector<HWND> expected{f.frame->m_hWndMDIClient, f.toolbar.GetSafeHwnd(), f.tabs.GetSafeHwnd()};
        for (UINT id : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT})
            if (CControlBar* bar = f.frame->GetControlBar(id))
                expected.push_back(bar->GetSafeHwnd());
        EXPECT_EQ(organizer.GetPainterCount(), (int)expected.size());
        for (HWND h : expected)
            EXPECT_TRUE(organizer.IsWindowAttached(h));
        EXPECT_FALSE(organizer.IsWindowAttached(f.frame->GetSafeHwnd()));
        // The MDI client shows the tiles, aligned with the frame's client area.
        RedrawWindow(f.frame->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        WriteScreenshot(f.frame->GetSafeHwnd(), "PaintedMdiFrame");
        HWND client = f.frame->m_hWndMDIClient;
        RECT cr, fr;
        GetClientRect(client, &cr);
        MapWindowPoints(client, nullptr, reinterpret_cast<POINT*>(&cr), 2);
        fr = COXBackgroundPainter::GetClientScreenRect(f.frame->GetSafeHwnd());
        RECT wr;
        GetWindowRect(client, &wr);
        int mx = (64 - ((cr.left - fr.left) % 64)) % 64, my = (32 - ((cr.top - fr.top) % 32)) % 32;
        EXPECT_EQ(GetWindowPixel(client, cr.left - wr.left + mx, cr.top - wr.top + my), kMark);

        // A second attach on the thread, by this or another organizer, is refused.
        EXPECT_FALSE(organizer.AttachToThread(f.frame));
        COXBackgroundPainterOrganizer other;
        EXPECT_FALSE(other.AttachToThread(f.frame));

        // A toolbar docked later gets a painter; a destroyed window's painter is reused.
        f.tabs.DestroyWindow();
        EXPECT_EQ(organizer.GetPoolCount(), 1);
        EXPECT_EQ(organizer.GetPainter(f.tabs.GetSafeHwnd()), nullptr);
        ASSERT_TRUE(f.later.CreateEx(f.frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, RECT{}, 0xE812));
        f.later.EnableDocking(CBRS_ALIGN_ANY);
        f.frame->DockControlBar(&f.later);
        f.frame->RecalcLayout();
        PostMessage(f.later.GetSafeHwnd(), WM_NULL, 0, 0);  // its first message
        Pump();
        EXPECT_TRUE(organizer.IsWindowAttached(f.later.GetSafeHwnd()));
        EXPECT_EQ(organizer.GetPoolCount(), 0);

        EXPECT_TRUE(organizer.DetachFromThread(FALSE));
        EXPECT_FALSE(organizer.IsWindowAttached(client));
        EXPECT_TRUE(other.AttachToThread(f.frame));
        other.DetachFromThread(FALSE);
    }
    f.Destroy();
}

TEST_F(PainterTest, AnUnattachedOrganizerSetsThePaintersButNotTheDefaults) {
    COXBackgroundPainterOrganizer organizer;
    ASSERT_TRUE(organizer.Attach(hwnd, &image, Tile));
    EXPECT_FALSE(organizer.Attach(hwnd, &image, Tile));
    EXPECT_TRUE(organizer.SetPaintType(nullptr, Center));
    EXPECT_TRUE(organizer.SetBkColor(nullptr, RGB(9, 9, 9)));
    EXPECT_EQ(organizer.GetPainter(hwnd)->GetPaintType(), Center);
    EXPECT_EQ(organizer.GetDefaultPaintType(), Tile);
    EXPECT_EQ(organizer.GetDefaultBkColor(), CLR_DEFAULT);
    EXPECT_EQ(At(0, 0), RGB(9, 9, 9));
    EXPECT_FALSE(organizer.SetPaintType(Make("PaintedWindow", 0, 0), Tile));
    EXPECT_TRUE(organizer.Detach(hwnd));
    EXPECT_FALSE(organizer.Detach(hwnd));
    EXPECT_EQ(organizer.GetPoolCount(), 1);
}

}  // namespace
