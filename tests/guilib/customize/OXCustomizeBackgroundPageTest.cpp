// The background painter page: each way Apply paints the application (off, the MDI client only, whole
// windows, and switching between them) with the preview kept painted, set-up from a resource or a file,
// the enabled states, OK's six values and Cancel reading them back.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "guilib/customize/OXCustomizeBackgroundPage.h"
#include "guilib/customize/OXCustomizePagesResources.h"
#include "platform/framework/frames/MDIFrameWnd.h"
#include "tests/support/Gui.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TempRegistry.h"
#include "tests/guilib/customize/PageTestManager.h"

namespace background_page_test {
constexpr const char* kSection = "CustomizeBackgroundPainter";
constexpr COLORREF kGreen = RGB(0, 160, 0), kBlue = RGB(0, 0, 200);

// A 24-bit .bmp of one colour.
std::string SolidBitmap(int w, int h, COLORREF c) {
    const int row = (w * 3 + 3) & ~3;
    const uint32_t pixels = (uint32_t)(row * h);
    std::string b = "BM";
    auto put16 = [&](uint16_t v) { b += (char)(v & 0xFF); b += (char)(v >> 8); };
    auto put32 = [&](uint32_t v) { put16((uint16_t)(v & 0xFFFF)); put16((uint16_t)(v >> 16)); };
    put32(54 + pixels); put32(0); put32(54);
    put32(40); put32((uint32_t)w); put32((uint32_t)h); put16(1); put16(24); put32(0); put32(pixels);
    put32(2835); put32(2835); put32(0); put32(0);
    std::string line;
    for (int x = 0; x < w; ++x) {
        line += (char)GetBValue(c); line += (char)GetGValue(c); line += (char)GetRValue(c);
    }
    line.resize((size_t)row, '\0');
    for (int y = 0; y < h; ++y)
        b += line;
    return b;
}

class BackgroundPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.SetRegistryKey("Test");
        frame = new CMDIFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{0, 0, 600, 400}));
        app.m_pMainWnd = frame;
        green = folder.Write("green.bmp", SolidBitmap(8, 8, kGreen));
        blue = folder.Write("blue.bmp", SolidBitmap(8, 8, kBlue));
        ASSERT_TRUE(manager.Open(frame));
    }
    void TearDown() override {
        page.reset();
        if (manager.m_hWnd)
            manager.DestroyWindow();
        if (::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        Pump();
    }
    HWND Client() const { return frame->m_hWndMDIClient; }
    HWND Item(int id) { return ::GetDlgItem(page->m_hWnd, id); }
    void ShowPage() { ASSERT_TRUE(manager.ShowFilling(page.get())); }
    void Click(int id) {
        ::SendMessage(Item(id), BM_CLICK, 0, 0);
        Pump();
    }
    void SetCheck(int id, bool on) {
        if ((::SendMessage(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED) != on)
            Click(id);
    }
    // The pixel in the middle of a window, after a full repaint.
    COLORREF Middle(HWND hwnd) {
        ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        RECT r{};
        ::GetWindowRect(hwnd, &r);
        return GetWindowPixel(hwnd, (r.right - r.left) / 2, (r.bottom - r.top) / 2);
    }
    COXBackgroundPainterOrganizer& Organizer() { return *page->GetBackgroundPainterOrganizer(); }

    TempRegistry registry;
    TempFolder folder;
    std::string green, blue;
    CWinApp app{"BackgroundPageApp"};
    CMDIFrameWnd* frame = nullptr;
    PageTestManager manager;
    std::unique_ptr<COXCustomizeBackgroundPage> page = std::make_unique<COXCustomizeBackgroundPage>();
};

TEST_F(BackgroundPageTest, EveryApplyBranchPaintsTheRightWindowsAndKeepsThePreviewPainted) {
    ASSERT_TRUE(page->SetupPageFromFile(TRUE, TRUE, green.c_str(), Tile, RGB(255, 255, 255), kSection));
    EXPECT_FALSE(Organizer().IsAttachedToThread());
    EXPECT_TRUE(Organizer().IsWindowAttached(Client()));
    EXPECT_EQ(Middle(Client()), kGreen);
    // The client had no object of its own: the page gave it one.
    ASSERT_NE(page->GetMDIClientWrapper(), nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(Client()), page->GetMDIClientWrapper());

    ShowPage();
    HWND preview = page->GetPreviewWnd()->GetSafeHwnd();
    ASSERT_TRUE(preview);
    EXPECT_EQ(Middle(preview), kGreen);

    struct Step {
        bool paint, onlyClient;
        bool thread, clientPainted;
    } steps[] = {{true, false, true, true},    // whole windows: the thread's organizer paints the client
                 {true, true, false, true},    // back to the client only
                 {false, true, false, false},  // off
                 {true, false, true, true},    // off straight to whole windows
                 {false, false, false, false}};
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << s.paint << s.onlyClient);
        SetCheck(IDC_OX_CHECK_PAINT_BACKGROUND, s.paint);
        SetCheck(IDC_OX_CHECK_ONLY_CLIENT_AREA, s.onlyClient);
        ASSERT_TRUE(page->ApplySettings());
        EXPECT_EQ((bool)Organizer().IsAttachedToThread(), s.thread);
        EXPECT_EQ((bool)Organizer().IsWindowAttached(Client()), s.clientPainted);
        EXPECT_EQ(Middle(Client()) == kGreen, s.clientPainted);
        EXPECT_TRUE(Organizer().IsWindowAttached(preview));
        EXPECT_EQ(Middle(preview), kGreen);
        if (!s.paint) {
            EXPECT_EQ(Organizer().GetPainterCount(), 1);
        }
    }
}

TEST_F(BackgroundPageTest, SetUpFromAResourceReadsTheProfileAndAFailedLoadChangesNothing) {
    app.WriteProfileInt(kSection, "PaintType", Center);
    app.WriteProfileInt(kSection, "BackgroundColor", (int)kBlue);
    ASSERT_TRUE(page->SetupPage(TRUE, TRUE, IDB_OX_PAGE_BACKGROUND_PAINTER, Tile, 0xFF000000, kSection));
    EXPECT_FALSE(page->GetDefaultImage().IsEmpty());
    EXPECT_EQ(page->m_nPaintType, Center);
    COXBackgroundPainter* painter = Organizer().GetPainter(Client());
    ASSERT_NE(painter, nullptr);
    EXPECT_EQ(painter->GetPaintType(), Center);
    EXPECT_EQ(painter->GetBkColor(), kBlue);

    EXPECT_FALSE(page->SetupPage(FALSE, FALSE, 1u, Tile, 0, kSection));
    EXPECT_FALSE(page->SetupPageFromFile(FALSE, FALSE, "/nonexistent/x.bmp", Tile, 0, kSection));
    EXPECT_TRUE(page->m_bPaintBackground);
    EXPECT_FALSE(page->GetDefaultImage().IsEmpty());
    EXPECT_TRUE(Organizer().IsWindowAttached(Client()));
}

TEST_F(BackgroundPageTest, PaintingOffDisablesTheOtherControlsAndTheComboFollowsTheImageSource) {
    ASSERT_TRUE(page->SetupPageFromFile(TRUE, TRUE, green.c_str(), Tile, 0, nullptr));
    ShowPage();
    auto states = [&] {
        std::string s;
        for (int id : {IDC_OX_CHECK_ONLY_CLIENT_AREA, IDC_OX_RADIO_TILE, IDC_OX_RADIO_BOTTOM_RIGHT,
                       IDC_OX_COLOR_BACKGROUND, IDC_OX_RADIO_BACKGROUND_IMAGE_FILE, IDC_OX_PREVIEW,
                       IDC_OX_COMBO_BACKGROUND_FILE})
            s += ::IsWindowEnabled(Item(id)) ? '1' : '0';
        return s;
    };
    EXPECT_EQ(states(), "1111110");
    struct Step {
        int click;
        const char* states;
    } steps[] = {{IDC_OX_RADIO_BACKGROUND_IMAGE_FILE, "1111111"},
                 {IDC_OX_CHECK_PAINT_BACKGROUND, "0000000"},
                 {IDC_OX_CHECK_PAINT_BACKGROUND, "1111111"},
                 {IDC_OX_RADIO_BACKGROUND_DEFAULT_IMAGE, "1111110"}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.click);
        Click(s.click);
        EXPECT_EQ(states(), s.states);
    }
}

TEST_F(BackgroundPageTest, ThePreviewFollowsTheFileAndTheDefaultImage) {
    ASSERT_TRUE(page->SetupPageFromFile(TRUE, TRUE, green.c_str(), Tile, 0, nullptr));
    ShowPage();
    HWND preview = page->GetPreviewWnd()->GetSafeHwnd();
    Click(IDC_OX_RADIO_BACKGROUND_IMAGE_FILE);
    ::SetWindowText(Item(IDC_OX_COMBO_BACKGROUND_FILE), blue.c_str());
    ::SendMessage(page->m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_OX_COMBO_BACKGROUND_FILE, CBN_EDITCHANGE),
                  (LPARAM)Item(IDC_OX_COMBO_BACKGROUND_FILE));
    EXPECT_EQ(Middle(preview), kBlue);
    EXPECT_EQ(Middle(Client()), kGreen);  // until Apply
    ASSERT_TRUE(page->ApplySettings());
    EXPECT_EQ(Middle(Client()), kBlue);

    Click(IDC_OX_RADIO_BACKGROUND_DEFAULT_IMAGE);
    EXPECT_EQ(Middle(preview), kGreen);
    EXPECT_EQ(page->m_sImageFileName, "");
}

TEST_F(BackgroundPageTest, OkWritesTheSixValuesAndCancelAfterApplyReadsThemBack) {
    ASSERT_TRUE(page->SetupPageFromFile(TRUE, TRUE, green.c_str(), Tile, RGB(1, 2, 3), kSection));
    ShowPage();
    // A file typed while the default image stays chosen is not kept.
    ::SetWindowText(Item(IDC_OX_COMBO_BACKGROUND_FILE), blue.c_str());
    Click(26127);  // Center
    ASSERT_TRUE(page->OnManagerClose(TRUE));
    struct Value {
        const char* name;
        UINT value;
    } values[] = {{"PaintBackground", 1}, {"OnlyClientArea", 1}, {"PaintType", Center},
                  {"BackgroundColor", RGB(1, 2, 3)}, {"UseDefaultImage", 1}};
    for (const Value& v : values)
        EXPECT_EQ(app.GetProfileInt(kSection, v.name, 777), v.value) << v.name;
    EXPECT_EQ(app.GetProfileString(kSection, "ImageFileName", "unset"), "");

    // Stretch and painting off applied, then Cancel: the stored Center and painting come back.
    Click(26122);
    SetCheck(IDC_OX_CHECK_PAINT_BACKGROUND, false);
    ASSERT_TRUE(page->ApplySettings());
    EXPECT_FALSE(Organizer().IsWindowAttached(Client()));
    ASSERT_TRUE(page->OnManagerClose(FALSE));
    EXPECT_EQ(page->m_nPaintType, Center);
    EXPECT_TRUE(page->m_bPaintBackground);
    EXPECT_EQ(::SendMessage(Item(26127), BM_GETCHECK, 0, 0), BST_CHECKED);
    COXBackgroundPainter* painter = Organizer().GetPainter(Client());
    ASSERT_NE(painter, nullptr);
    EXPECT_EQ(painter->GetPaintType(), Center);
}
}  // namespace background_page_test
