// The cool controls page on the real organizer: which classes its per-type test accepts, the stored type
// states judging the controls that exist at set-up, Apply re-attaching with the types chosen in the tree,
// and OK's and Cancel's profile values.
#include <gtest/gtest.h>

#include "guilib/customize/OXCustomizeCoolControlsPage.h"
#include "guilib/customize/OXCustomizePagesResources.h"
#include "platform/framework/frames/FrameWnd.h"
#include "platform/user/ComboBox.h"
#include "tests/support/Gui.h"
#include "tests/support/TempRegistry.h"
#include "tests/guilib/customize/PageTestManager.h"

namespace cool_page_test {
constexpr const char* kSection = "CustomizeCoolControls";
constexpr int kEditType = 0, kComboType = 2, kListBoxType = 5;

class CoolPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.SetRegistryKey("Test");
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{0, 0, 600, 400}));
        app.m_pMainWnd = frame;
        // Standard controls present before any set-up.
        RegisterTestWindowClass("CoolPageHost", ::DefWindowProc, COLOR_BTNFACE);
        host = CreateWindowEx(0, "CoolPageHost", "Host", WS_POPUP | WS_VISIBLE, 40, 40, 300, 200, nullptr, nullptr,
                              nullptr, nullptr);
        edit = CreateWindowEx(0, "Edit", "", WS_CHILD | WS_VISIBLE, 10, 10, 100, 22, host, nullptr, nullptr, nullptr);
        combo = CreateWindowEx(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 10, 40, 100, 120, host,
                               nullptr, nullptr, nullptr);
    }
    void TearDown() override {
        page.reset();
        if (manager.m_hWnd)
            manager.DestroyWindow();
        DestroyWindow(host);
        if (::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        Pump();
    }
    COXCustomizeCoolControlOrganizer& Organizer() { return *page->GetCoolControlOrganizer(); }
    HWND Item(int id) { return ::GetDlgItem(page->m_hWnd, id); }
    void ShowPage() {
        ASSERT_TRUE(manager.Open(frame));
        ASSERT_TRUE(page->ShowInManager(&manager));
    }

    TempRegistry registry;
    CWinApp app{"CoolPageApp"};
    CFrameWnd* frame = nullptr;
    HWND host = nullptr, edit = nullptr, combo = nullptr;
    PageTestManager manager;
    std::unique_ptr<COXCustomizeCoolControlsPage> page = std::make_unique<COXCustomizeCoolControlsPage>();
};

TEST_F(CoolPageTest, TypeTestMatchesClassNamesWithoutCase) {
    app.WriteProfileInt(kSection, "ControlTypeState_5", 0);
    ASSERT_TRUE(page->SetupPage(TRUE, kSection));
    struct Case {
        const char* className;
        BOOL enabled;
    } cases[] = {{"LISTBOX", FALSE}, {"ListBox", FALSE}, {"listbox", FALSE}, {"ComboBox", TRUE},
                 {"COMBOBOX", TRUE}, {"Static", TRUE},   {"", TRUE},         {"RichEdit", TRUE}};
    for (const Case& c : cases)
        EXPECT_EQ(page->IsTypeEnabled(nullptr, c.className), c.enabled) << c.className;
    EXPECT_EQ(page->GetTypeState(kListBoxType), 0);
}

TEST_F(CoolPageTest, NothingIsConvertedUnlessTheProfileSaysSo) {
    ASSERT_TRUE(page->SetupPage(FALSE, kSection));
    EXPECT_FALSE(Organizer().IsAttached());
    EXPECT_FALSE(Organizer().IsConverted(edit));
}

TEST_F(CoolPageTest, StoredTypeStatesJudgeTheControlsPresentAtSetUp) {
    app.WriteProfileInt(kSection, "ConvertCommonToCool", 1);
    app.WriteProfileInt(kSection, "ControlTypeState_2", 0);
    ASSERT_TRUE(page->SetupPage(FALSE, kSection));
    EXPECT_TRUE(Organizer().IsAttached());
    EXPECT_TRUE(Organizer().IsConverted(edit));
    EXPECT_FALSE(Organizer().IsConverted(combo));
    // The frame sets the page up twice: the second finds the organizer attached.
    EXPECT_FALSE(page->SetupPage(FALSE, kSection));
    EXPECT_TRUE(Organizer().IsConverted(edit));
}

TEST_F(CoolPageTest, ApplyReattachesWithTheTreesTypesAndOkStoresThem) {
    app.WriteProfileInt(kSection, "ConvertCommonToCool", 1);
    ASSERT_TRUE(page->SetupPage(FALSE, kSection));
    ASSERT_TRUE(Organizer().IsConverted(combo));
    ShowPage();
    COXOptionTreeCtrl* tree = dynamic_cast<COXOptionTreeCtrl*>(CWnd::FromHandlePermanent(Item(IDC_OX_TREE_CONTROL_TYPES)));
    ASSERT_NE(tree, nullptr);
    EXPECT_TRUE(::IsWindowEnabled(tree->m_hWnd));
    // The bold root, marked before its types are added, shows them.
    HTREEITEM root = (HTREEITEM)::SendMessage(tree->m_hWnd, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    TVITEM rootState{};
    rootState.mask = TVIF_STATE;
    rootState.hItem = root;
    rootState.stateMask = TVIS_BOLD | TVIS_EXPANDED;
    ::SendMessage(tree->m_hWnd, TVM_GETITEM, 0, (LPARAM)&rootState);
    EXPECT_EQ(rootState.state, (UINT)(TVIS_BOLD | TVIS_EXPANDED));
    EXPECT_EQ((HTREEITEM)::SendMessage(tree->m_hWnd, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, (LPARAM)root),
              (HTREEITEM)::SendMessage(tree->m_hWnd, TVM_GETNEXTITEM, TVGN_CHILD, (LPARAM)root));
    for (int id = 1; id <= COXCustomizeCoolControlsPage::kTypeCount; ++id)
        EXPECT_EQ(tree->GetOptionState(id), 1) << id;

    tree->SetOptionState(kComboType + 1, 0);
    ASSERT_TRUE(page->ApplySettings());
    EXPECT_TRUE(Organizer().IsAttached());
    EXPECT_FALSE(Organizer().IsConverted(combo));
    EXPECT_TRUE(Organizer().IsConverted(edit));

    ASSERT_TRUE(page->OnManagerClose(TRUE));
    EXPECT_EQ(app.GetProfileInt(kSection, "ConvertCommonToCool", 7), 1u);
    EXPECT_EQ(app.GetProfileInt(kSection, "ControlTypeState_2", 7), 0u);
    EXPECT_EQ(app.GetProfileInt(kSection, "ControlTypeState_0", 7), 1u);
    EXPECT_NE(TempRegistry::Read(registry.Path()).find("TreeControlTypes"), std::string::npos);

    // Conversion off and Apply: every control standard again; Cancel reads the stored choice back.
    ::SendMessage(Item(IDC_OX_CHECK_CONVERT_TO_COOL), BM_CLICK, 0, 0);
    Pump();
    EXPECT_FALSE(::IsWindowEnabled(tree->m_hWnd));
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_OX_BUTTON_CONVERT_ALL)));
    ASSERT_TRUE(page->ApplySettings());
    EXPECT_FALSE(Organizer().IsAttached());
    EXPECT_FALSE(Organizer().IsConverted(edit));
    ASSERT_TRUE(page->OnManagerClose(FALSE));
    EXPECT_TRUE(page->IsConvertToCool());
    EXPECT_TRUE(Organizer().IsConverted(edit));
    EXPECT_FALSE(Organizer().IsConverted(combo));
    EXPECT_EQ(tree->GetOptionState(kComboType + 1), 0);
    EXPECT_EQ(tree->GetOptionState(kEditType + 1), 1);

    ::SendMessage(Item(IDC_OX_BUTTON_CONVERT_ALL), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(tree->GetOptionState(kComboType + 1), 1);
}
}  // namespace cool_page_test
