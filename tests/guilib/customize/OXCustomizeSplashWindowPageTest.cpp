// The splash window page: its set-up from arguments and the profile, the splash it shows at set-up, its
// enabled states, the preview (always dismissable), and OK writing its eleven values while Apply and
// Cancel change nothing.
#include <gtest/gtest.h>

#include "guilib/customize/OXCustomizePagesResources.h"
#include "guilib/customize/OXCustomizeSplashWindowPage.h"
#include "platform/base/MessageBox.h"
#include "platform/framework/frames/FrameWnd.h"
#include "tests/support/Gui.h"
#include "tests/support/TempRegistry.h"
#include "tests/guilib/customize/PageTestManager.h"

namespace splash_page_test {
constexpr const char* kSection = "CustomizeSplashWindow";

class SplashPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.SetRegistryKey("Test");
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{0, 0, 600, 400}));
        app.m_pMainWnd = frame;
        ASSERT_TRUE(manager.Open(frame));
    }
    void TearDown() override {
        page.reset();
        if (manager.m_hWnd)
            manager.DestroyWindow();
        if (::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
    }
    COXCustomizeSplashWindowPage& ShowPage() {
        EXPECT_TRUE(page->ShowInManager(&manager));
        return *page;
    }
    HWND Item(int id) { return ::GetDlgItem(page->m_hWnd, id); }
    void Click(int id) {
        ::SendMessage(Item(id), BM_CLICK, 0, 0);
        Pump();
    }
    static void PumpTranslating() {
        MSG msg;
        while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            CWnd* wnd = CWnd::FromHandlePermanent(msg.hwnd);
            if (wnd && wnd->PreTranslateMessage(&msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
    }

    TempRegistry registry;
    CWinApp app{"SplashPageApp"};
    CFrameWnd* frame = nullptr;
    PageTestManager manager;
    std::unique_ptr<COXCustomizeSplashWindowPage> page = std::make_unique<COXCustomizeSplashWindowPage>();
};

TEST_F(SplashPageTest, SetUpTurnsTheDelayAndTheColourIntoChoices) {
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(page->m_clrTransparent, window);
    EXPECT_EQ(page->m_nTransparentColorType, 2);
    EXPECT_FALSE(page->CanApply());
    struct Case {
        int delay;
        COLORREF colour;
        int storedDelay, infinitely, timeChoice, type;
        COLORREF kept, forSplash;
    } cases[] = {{-1, 0xFF000000, 0, 1, 1, 2, window, 0xFF000000},
                 {3000, 0xFFFFFFFF, 3000, 0, 0, 1, window, 0xFFFFFFFF},
                 {-20, 0x00123456, 0, 0, 0, 0, 0x00123456, 0x00123456},
                 {0, 0xFF000000, 0, 0, 0, 2, 0x00123456, 0xFF000000}};
    POINT point{4, 5};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.delay);
        ASSERT_TRUE(page->SetupPage(0, FALSE, c.delay, FALSE, c.colour, c.delay > 0 ? &point : nullptr, 9));
        EXPECT_EQ(page->m_nShowDelay, c.storedDelay);
        EXPECT_EQ(page->m_bShowInfinitely, c.infinitely);
        EXPECT_EQ(page->m_nDisplayTimeChoice, c.timeChoice);
        EXPECT_EQ(page->m_nTransparentColorType, c.type);
        EXPECT_EQ(page->m_clrTransparent, c.kept);
        EXPECT_EQ(page->GetTransparentColorForSplash(), c.forSplash);
        EXPECT_EQ(page->m_nPointX, c.delay > 0 ? 4 : 0);
        EXPECT_EQ(page->m_nColorTolerance, 9u);
        EXPECT_TRUE(page->m_bUseDefaultImage);
    }
}

TEST_F(SplashPageTest, SetUpReadsTheProfileAndShowsTheSplashWhenDisplayIsOn) {
    app.WriteProfileInt(kSection, "SplashWindowShowDelay", 1500);
    app.WriteProfileInt(kSection, "SplashWindowShowInfinitely", 0);
    app.WriteProfileInt(kSection, "TransparentColorType", 1);
    app.WriteProfileInt(kSection, "SplashWindow_Interruptable", 1);
    ASSERT_TRUE(page->SetupPage(IDB_OX_PAGE_SPLASH_WINDOW, TRUE, -1, FALSE, 0xFF000000, nullptr, 0, kSection));
    EXPECT_EQ(page->m_nShowDelay, 1500);
    EXPECT_EQ(page->m_nDisplayTimeChoice, 0);
    EXPECT_EQ(page->m_nTransparentColorType, 1);
    EXPECT_TRUE(page->m_bInterruptable);
    HWND splash = page->GetSplashWnd()->GetSafeHwnd();
    ASSERT_TRUE(::IsWindowVisible(splash));
    EXPECT_EQ(page->GetSplashWnd()->GetDisplayTime(), 1500);

    // Display off, or an image that does not load, shows nothing.
    auto other = std::make_unique<COXCustomizeSplashWindowPage>();
    ASSERT_TRUE(other->SetupPage(IDB_OX_PAGE_SPLASH_WINDOW, FALSE, -1, FALSE, 0xFF000000, nullptr, 0));
    EXPECT_EQ(other->GetSplashWnd()->GetSafeHwnd(), nullptr);
    app.WriteProfileInt(kSection, "UseDefaultImage", 0);
    app.WriteProfileString(kSection, "SplashImageFileName", "/nonexistent/splash.bmp");
    ASSERT_TRUE(other->SetupPage(IDB_OX_PAGE_SPLASH_WINDOW, TRUE, -1, FALSE, 0xFF000000, nullptr, 0, kSection));
    EXPECT_EQ(other->m_nImageSourceChoice, 1);
    EXPECT_EQ(other->GetSplashWnd()->GetSafeHwnd(), nullptr);
}

TEST_F(SplashPageTest, ChoicesEnableTheirControls) {
    ASSERT_TRUE(page->SetupPage(0, FALSE, 200, FALSE, 0xFFFFFFFF, nullptr, 0));
    ShowPage();
    auto states = [&] {
        std::string s;
        for (int id : {IDC_OX_EDIT_SHOW_DELAY, IDC_OX_COMBO_IMAGE_FILE, IDC_OX_BUTTON_COLOR, IDC_OX_EDIT_POINT_X,
                       IDC_OX_EDIT_POINT_Y, IDC_OX_EDIT_TOLERANCE})
            s += ::IsWindowEnabled(Item(id)) ? '1' : '0';
        return s;
    };
    EXPECT_EQ(states(), "100000");
    struct Step {
        int radio;
        const char* states;
    } steps[] = {{IDC_OX_RADIO_SHOW_INFINITELY, "000000"}, {IDC_OX_RADIO_IMAGE_FILE, "010000"},
                 {IDC_OX_RADIO_COLOR, "011001"},           {IDC_OX_RADIO_COLOR_AT_POINT, "010111"},
                 {IDC_OX_RADIO_DEFAULT_IMAGE, "000111"},   {IDC_OX_RADIO_SHOW_FOR, "100111"}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.radio);
        Click(s.radio);
        EXPECT_EQ(states(), s.states);
    }
}

TEST_F(SplashPageTest, OkWritesElevenValuesWhileApplyAndCancelChangeNothing) {
    ASSERT_TRUE(page->SetupPage(IDB_OX_PAGE_SPLASH_WINDOW, FALSE, -1, FALSE, 0xFF000000, nullptr, 0, kSection));
    ShowPage();
    Click(IDC_OX_CHECK_INTERRUPTABLE);
    Click(IDC_OX_RADIO_SHOW_FOR);
    ::SetWindowText(Item(IDC_OX_EDIT_SHOW_DELAY), "2500");
    Click(IDC_OX_RADIO_COLOR);
    ::SetWindowText(Item(IDC_OX_EDIT_TOLERANCE), "12");
    EXPECT_TRUE(page->ApplySettings());
    EXPECT_TRUE(page->OnManagerClose(FALSE));
    EXPECT_EQ(app.GetProfileInt(kSection, "SplashWindowShowDelay", 77), 77u);
    EXPECT_EQ(page->GetSplashWnd()->GetSafeHwnd(), nullptr);

    {
        MessageBoxRecorder boxes;
        ::SetWindowText(Item(IDC_OX_EDIT_TOLERANCE), "300");
        EXPECT_FALSE(page->OnManagerClose(TRUE));
        EXPECT_EQ(boxes.Calls().size(), 1u);
        EXPECT_EQ(app.GetProfileInt(kSection, "ColorTolerance", 77), 77u);
    }
    ::SetWindowText(Item(IDC_OX_EDIT_TOLERANCE), "12");
    ASSERT_TRUE(page->OnManagerClose(TRUE));
    struct Value {
        const char* name;
        UINT value;
    } values[] = {{"DisplaySplashWindow", 0},
                  {"SplashWindow_Interruptable", 1},
                  {"SplashWindowShowDelay", 2500},
                  {"TransparentColorPoint_CoordX", 0},
                  {"TransparentColorPoint_CoordY", 0},
                  {"TransparentColorType", 0},
                  {"UseDefaultImage", 1},
                  {"SplashWindowShowInfinitely", 0},
                  {"TransparentColor", ::GetSysColor(COLOR_WINDOW)},
                  {"ColorTolerance", 12}};
    for (const Value& v : values)
        EXPECT_EQ(app.GetProfileInt(kSection, v.name, 777), v.value) << v.name;
    EXPECT_EQ(app.GetProfileString(kSection, "SplashImageFileName", "unset"), "");
}

TEST_F(SplashPageTest, PreviewIsDismissedByAClickWhateverTheSetting) {
    ASSERT_TRUE(page->SetupPage(IDB_OX_PAGE_SPLASH_WINDOW, FALSE, -1, FALSE, 0xFFFFFFFF, nullptr, 0));
    ShowPage();
    Click(IDC_OX_BUTTON_PREVIEW);
    HWND preview = page->GetPreviewSplashWnd()->GetSafeHwnd();
    ASSERT_TRUE(::IsWindowVisible(preview));
    EXPECT_EQ(page->GetSplashWnd()->GetSafeHwnd(), nullptr);
    RECT rc{};
    ::GetWindowRect(preview, &rc);
    PostMouseInput(WM_LBUTTONDOWN, POINT{rc.left + 2, rc.top + 2}, MK_LBUTTON);
    PumpTranslating();
    EXPECT_FALSE(::IsWindow(preview));
}
}  // namespace splash_page_test
