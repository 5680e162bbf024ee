// The customize page base: a page window made once per opening of the dialog as a borderless child of
// the manager, its values kept while hidden, its keyboard handling and the frame's accelerators.
#include <gtest/gtest.h>

#include "guilib/customize/OXCustomizeManager.h"
#include "platform/framework/frames/FrameWnd.h"
#include "platform/user/Accelerators.h"
#include "tests/support/Gui.h"
#include "tests/support/TempRegistry.h"

// One namespace per test file: the test program compiles its files in batches.
namespace ox_customize_page_test {
namespace {
constexpr UINT IDD_PAGE = 500, IDD_MANAGER = 600, IDD_MISSING = 599, IDD_KEYS_PAGE = 510;
constexpr int IDC_LABEL = 511, IDC_FIELD = 512, IDC_ONE = 513, IDC_TWO = 514, IDC_THREE = 515, IDC_GO = 516;
constexpr int IDC_NAME = 501, IDC_COUNT = 502;
constexpr WORD ID_TEST_OPEN = 0xE101;

class Resources : public ResourceModule {
public:
    const DialogTemplate* FindDialog(UINT id) const override {
        // A page template as a pop-up with a caption and a client edge: it must still become a child.
        static const DialogTemplate page{IDD_PAGE,
                                         WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                                         WS_EX_CLIENTEDGE | WS_EX_TOOLWINDOW,
                                         0, 0, 200, 100, "Page", nullptr, 0,
                                         {{"Edit", "", IDC_NAME, 7, 7, 100, 12, WS_VISIBLE | WS_TABSTOP | WS_BORDER, 0},
                                          {"Edit", "", IDC_COUNT, 7, 25, 100, 12, WS_VISIBLE | WS_TABSTOP | WS_BORDER, 0}}};
        static const DialogTemplate manager{IDD_MANAGER, WS_POPUP | WS_CAPTION | WS_THICKFRAME | DS_CENTER, 0,
                                            0, 0, 300, 200, "Customize", nullptr, 0, {}};
        // A label with a mnemonic before its field, a radio group and the page's own default button.
        static const DialogTemplate keys{
            IDD_KEYS_PAGE, WS_CHILD, 0, 0, 0, 200, 100, "", nullptr, 0,
            {{"Static", "&Name", IDC_LABEL, 7, 7, 40, 10, WS_VISIBLE, 0},
             {"Edit", "", IDC_FIELD, 50, 7, 100, 12, WS_VISIBLE | WS_TABSTOP | WS_BORDER, 0},
             {"Button", "One", IDC_ONE, 7, 25, 60, 10, WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON, 0},
             {"Button", "Two", IDC_TWO, 7, 37, 60, 10, WS_VISIBLE | BS_AUTORADIOBUTTON, 0},
             {"Button", "Three", IDC_THREE, 7, 49, 60, 10, WS_VISIBLE | BS_AUTORADIOBUTTON, 0},
             {"Button", "Go", IDC_GO, 7, 70, 50, 14, WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON, 0}}};
        return id == IDD_PAGE ? &page : id == IDD_MANAGER ? &manager : id == IDD_KEYS_PAGE ? &keys : nullptr;
    }
};

class TestPage : public COXCustomizePage {
public:
    explicit TestPage(UINT templateId) { m_nDialogID = templateId; }
    void InitControls() override {
        COXCustomizePage::InitControls();
        ++inits;
        m_bInitialized = TRUE;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        commands.push_back(LOWORD(wParam));
        return COXCustomizePage::OnCommand(wParam, lParam);
    }
    int inits = 0;
    std::vector<UINT> commands;
};

class TestManager : public COXCustomizeManager {
public:
    BOOL Open(CWnd* owner) { return CreateIndirect(FindDialogTemplate(IDD_MANAGER), owner); }
};

class FrameWithCommands : public CFrameWnd {
public:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        commands.push_back(LOWORD(wParam));
        return CFrameWnd::OnCommand(wParam, lParam);
    }
    std::vector<UINT> commands;
};

// The program's loop: each message is offered to the pre-translate walk before it is dispatched.
void PumpAsProgram() {
    MSG m;
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (!AfxGetThread()->PreTranslateMessage(&m)) {
            TranslateMessage(&m);
            DispatchMessage(&m);
        }
    }
}

class CustomizePageTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddResourceModule(&resources);
        frame = new FrameWithCommands;
        ASSERT_TRUE(frame->Create(nullptr, "Frame", WS_OVERLAPPEDWINDOW, RECT{0, 0, 500, 400}));
        ACCEL open{FCONTROL | FVIRTKEY, 'O', ID_TEST_OPEN};
        frame->m_hAccelTable = CreateAcceleratorTable(&open, 1);
        app.m_pMainWnd = frame;
        ASSERT_TRUE(manager.Open(frame));
    }
    void TearDown() override {
        if (manager.m_hWnd)
            manager.DestroyWindow();
        if (::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        RemoveResourceModule(&resources);
    }
    std::string ItemText(const CWnd& page, int id) {
        char buf[64] = {};
        ::GetDlgItemText(page.m_hWnd, id, buf, sizeof buf);
        return buf;
    }
    TempRegistry registry;
    Resources resources;
    CWinApp app{"PageApp"};
    FrameWithCommands* frame = nullptr;
    TestManager manager;
};
}  // namespace

TEST_F(CustomizePageTest, ShownPageIsOneBorderlessChildThatKeepsWhatTheUserTyped) {
    TestPage page(IDD_PAGE);
    manager.ShowWindow(SW_SHOW);
    ASSERT_TRUE(page.ShowInManager(&manager));
    HWND first = page.m_hWnd;
    ASSERT_TRUE(::IsWindow(first));
    EXPECT_EQ(page.GetCustomizeManager(), &manager);
    EXPECT_EQ(::GetParent(first), manager.m_hWnd);
    EXPECT_EQ(page.GetDlgCtrlID(), 1000);
    DWORD style = page.GetStyle();
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_FALSE(style & (WS_CAPTION | WS_POPUP));
    DWORD exStyle = (DWORD)::GetWindowLongPtr(first, GWL_EXSTYLE);
    EXPECT_FALSE(exStyle & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(page.IsInitialized());

    ::SetDlgItemText(first, IDC_NAME, "typed");
    page.HidePage();
    EXPECT_FALSE(::IsWindowVisible(first));
    ASSERT_TRUE(page.ShowInManager(&manager));
    EXPECT_EQ(page.m_hWnd, first);
    EXPECT_TRUE(::IsWindowVisible(first));
    EXPECT_EQ(ItemText(page, IDC_NAME), "typed");
    EXPECT_EQ(page.inits, 1);

    // Closing the dialog destroys the page window; the next opening makes a new one.
    manager.DestroyWindow();
    EXPECT_FALSE(::IsWindow(first));
    EXPECT_EQ(page.m_hWnd, nullptr);
    EXPECT_FALSE(page.IsInitialized());
    ASSERT_TRUE(manager.Open(frame));
    ASSERT_TRUE(page.ShowInManager(&manager));
    EXPECT_TRUE(::IsWindow(page.m_hWnd));
    EXPECT_EQ(page.inits, 2);
}

TEST_F(CustomizePageTest, PageWithoutTemplateIsNotShownAndForgetsTheManager) {
    TestPage page(IDD_MISSING);
    EXPECT_FALSE(page.ShowInManager(&manager));
    EXPECT_EQ(page.GetCustomizeManager(), nullptr);
    EXPECT_EQ(page.m_hWnd, nullptr);
    EXPECT_EQ(::GetWindow(manager.m_hWnd, GW_CHILD), nullptr);

    // The base page: no icon, the common group and mask colour, Apply allowed.
    COXCustomizePage base;
    EXPECT_EQ(base.GetImageId(), 0u);
    EXPECT_EQ(base.GetGroupName(), CString("Customize"));
    EXPECT_EQ(base.GetImageMaskColor(), RGB(192, 192, 192));
    EXPECT_TRUE(base.CanApply());
    EXPECT_TRUE(base.OnManagerClose(FALSE));
    EXPECT_FALSE(base.ShowInManager(&manager));
}

TEST_F(CustomizePageTest, KeysInsideAPageMoveAmongItsControlsAndReachTheFramesAccelerators) {
    TestPage page(IDD_PAGE);
    ASSERT_TRUE(page.ShowInManager(&manager));
    manager.ShowWindow(SW_SHOW);
    ::SetActiveWindow(manager.m_hWnd);
    HWND name = ::GetDlgItem(page.m_hWnd, IDC_NAME);
    ::SetFocus(name);
    ASSERT_EQ(::GetFocus(), name);

    SimulateKey(VK_TAB);
    PumpAsProgram();
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(page.m_hWnd, IDC_COUNT));

    PostKeyInput(WM_KEYDOWN, VK_CONTROL, 1);
    SimulateKey('O');
    PostKeyInput(WM_KEYUP, VK_CONTROL, 1);
    PumpAsProgram();
    EXPECT_EQ(frame->commands, std::vector<UINT>{ID_TEST_OPEN});
    EXPECT_EQ(ItemText(page, IDC_COUNT), "");
}

TEST_F(CustomizePageTest, ArrowsMnemonicsAndEnterWorkAmongThePagesOwnControls) {
    TestPage page(IDD_KEYS_PAGE);
    ASSERT_TRUE(page.ShowInManager(&manager));
    manager.ShowWindow(SW_SHOW);
    ::SetActiveWindow(manager.m_hWnd);
    HWND one = ::GetDlgItem(page.m_hWnd, IDC_ONE);
    ::SetFocus(one);
    ::CheckDlgButton(page.m_hWnd, IDC_ONE, BST_CHECKED);

    SimulateKey(VK_DOWN);
    PumpAsProgram();
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(page.m_hWnd, IDC_TWO));
    EXPECT_EQ(::IsDlgButtonChecked(page.m_hWnd, IDC_TWO), (UINT)BST_CHECKED);
    EXPECT_EQ(::IsDlgButtonChecked(page.m_hWnd, IDC_ONE), (UINT)BST_UNCHECKED);

    PostKeyInput(WM_SYSKEYDOWN, 'N', 1);
    PostKeyInput(WM_SYSKEYUP, 'N', 1);
    PumpAsProgram();
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(page.m_hWnd, IDC_FIELD));

    page.commands.clear();
    SimulateKey(VK_RETURN);
    PumpAsProgram();
    EXPECT_EQ(page.commands, std::vector<UINT>{(UINT)IDC_GO});
    EXPECT_TRUE(::IsWindow(manager.m_hWnd));
}
}  // namespace ox_customize_page_test
