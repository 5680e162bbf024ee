// The tabbed MDI page on a real MDI frame: the option tree and the tab style in both directions, set-up
// over the saved section, Apply (unchanged, off with the MDI background moving to the plain client, a new
// orientation or offset in one call), OK's three values and Cancel.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "guilib/customize/OXCustomizePagesResources.h"
#include "guilib/customize/OXCustomizeTabbedMDIPage.h"
#include "platform/base/MessageBox.h"
#include "platform/framework/frames/MDIChildWnd.h"
#include "platform/framework/frames/MDIFrameWnd.h"
#include "tests/support/Gui.h"
#include "tests/support/TempRegistry.h"
#include "tests/guilib/customize/PageTestManager.h"

namespace tabbed_mdi_page_test {
constexpr const char* kSection = "CustomizeTabbedMDI";
constexpr COLORREF kGreen = RGB(0, 160, 0);

// The customize dialog with the MDI background's painters of the test.
class Manager : public PageTestManager {
public:
    COXBackgroundPainterOrganizer* GetBackgroundPainterOrganizer() override { return &organizer; }
    COXBackgroundPainterOrganizer organizer;
};

class TabbedMDIPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.SetRegistryKey("Test");
        frame = new CMDIFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{0, 0, 600, 400}));
        app.m_pMainWnd = frame;
        ASSERT_TRUE(manager.Open(frame));
    }
    void TearDown() override {
        // The painters leave the client before the tab client lets go of it.
        manager.organizer.Detach(nullptr, FALSE);
        page.reset();
        if (manager.m_hWnd)
            manager.DestroyWindow();
        if (::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        app.m_pMainWnd = nullptr;
        Pump();
    }
    HWND Client() const { return frame->m_hWndMDIClient; }
    HWND Item(int id) { return ::GetDlgItem(page->m_hWnd, id); }
    COXTabClientWnd& Tabs() { return *page->GetTabClientWnd(); }
    HWND TabCtrl() { return Tabs().m_tab.m_hWnd; }
    DWORD TabStyle() { return (DWORD)::GetWindowLong(TabCtrl(), GWL_STYLE) & 0xFFF; }
    void ShowPage() { ASSERT_TRUE(manager.ShowFilling(page.get())); }
    void Click(int id) {
        ClickDlgItem(page->m_hWnd, id);
        Pump();
    }
    void SetOffset(const char* text) { ::SetWindowText(Item(IDC_OX_EDIT_OFFSET), text); }
    HWND AddChild(const char* title) {
        auto* child = new CMDIChildWnd;
        EXPECT_TRUE(child->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, RECT{0, 0, 120, 80},
                                  frame));
        return child->m_hWnd;
    }
    // A pixel of the MDI client far from its children, after a full repaint.
    COLORREF ClientPixel() {
        ::RedrawWindow(Client(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        RECT r{};
        ::GetClientRect(Client(), &r);
        return GetWindowPixel(Client(), r.right - 20, r.bottom - 20);
    }
    // Which of the given options the tree has checked, as '1' and '0'.
    std::string Checked(const std::vector<int>& ids) {
        std::string s;
        for (int id : ids)
            s += page->GetOptionTree().GetOptionState(id) == 1 ? '1' : '0';
        return s;
    }

    TempRegistry registry;
    CWinApp app{"TabbedMDIPageApp"};
    CMDIFrameWnd* frame = nullptr;
    Manager manager;
    std::unique_ptr<COXCustomizeTabbedMDIPage> page = std::make_unique<COXCustomizeTabbedMDIPage>();
};

const std::vector<int> kOrientation{2000, 2001, 2002, 2003}, kAppearance{2010, 2011, 2012},
    kPositioning{2021, 2020}, kChecks{2040, 2041, 2042, 2043, 2044, 2045};

TEST_F(TabbedMDIPageTest, EveryChoiceOfTheTreeRoundTripsThroughItsTabStyle) {
    ASSERT_TRUE(page->SetupPage(TCS_HOTTRACK, 1, nullptr, TRUE));
    ShowPage();
    COXOptionTreeCtrl& tree = page->GetOptionTree();
    // The tab control's own style at first: Top, tab buttons, one row, hot tracking, stretched tabs.
    EXPECT_EQ(Checked(kOrientation) + Checked(kAppearance) + Checked(kPositioning) + Checked(kChecks),
              "0100" "100" "10" "101000");
    EXPECT_EQ(page->GetTabStyleFromTree(), (DWORD)TCS_HOTTRACK);

    for (int o : kOrientation)
        for (int a : kAppearance)
            for (int p : kPositioning)
                for (int bits = 0; bits < 64; ++bits) {
                    for (int id : {o, a, p})
                        tree.SetOptionState(id, 1);
                    std::string checks;
                    for (int i = 0; i < 6; ++i) {
                        tree.SetOptionState(kChecks[i], (bits >> i) & 1);
                        checks += (bits >> i) & 1 ? '1' : '0';
                    }
                    const std::string chosen = Checked(kOrientation) + Checked(kAppearance) + Checked(kPositioning);
                    const DWORD style = page->GetTabStyleFromTree();
                    // Every other choice first, so that nothing stays checked by chance.
                    page->CheckTreeFromStyle(~style & 0xFFF);
                    page->CheckTreeFromStyle(style);
                    ASSERT_EQ(Checked(kOrientation) + Checked(kAppearance) + Checked(kPositioning), chosen)
                        << o << " " << a << " " << p << " " << bits;
                    ASSERT_EQ(Checked(kChecks), checks) << o << " " << a << " " << p << " " << bits;
                    ASSERT_EQ(page->GetTabStyleFromTree(), style);
                }

    // The styles of a few choices, written out.
    struct Case {
        int orientation, appearance, positioning;
        const char* checks;
        DWORD style;
    } cases[] = {{2001, 2010, 2021, "001000", 0},
                 {2000, 2011, 2020, "000000", 0x80 | 0x100 | 0x200 | 0x800},
                 {2002, 2012, 2021, "111111", 0x82 | 0x108 | 0x40 | 0x400 | 0x01 | 0x10 | 0x20},
                 {2003, 2010, 2021, "101000", 0x02 | 0x40}};
    for (const Case& c : cases) {
        for (int id : {c.orientation, c.appearance, c.positioning})
            tree.SetOptionState(id, 1);
        for (int i = 0; i < 6; ++i)
            tree.SetOptionState(kChecks[i], c.checks[i] == '1');
        EXPECT_EQ(page->GetTabStyleFromTree(), c.style) << c.orientation << " " << c.checks;
    }
}

TEST_F(TabbedMDIPageTest, TheTreeShowsTheTabControlsStyleLeftWithRightAsRight) {
    struct Case {
        DWORD style;
        const char* orientation;
        const char* appearance;
    } cases[] = {{TCS_VERTICAL | TCS_RIGHT, "0010", "100"},
                 {TCS_VERTICAL, "1000", "100"},
                 {TCS_BOTTOM | TCS_FLATBUTTONS, "0001", "100"},  // flat without buttons: tab buttons
                 {TCS_BUTTONS | TCS_FLATBUTTONS, "0100", "001"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        if (Tabs().IsAttached())
            Tabs().Detach();
        ASSERT_TRUE(page->SetupPage(c.style, 1, nullptr, TRUE));
        ShowPage();
        EXPECT_EQ(Checked(kOrientation), c.orientation);
        EXPECT_EQ(Checked(kAppearance), c.appearance);
        page->DestroyWindow();
    }
    // The five groups bold and open, under the one root.
    CTreeCtrl& tree = page->GetOptionTree();
    ShowPage();
    int groups = 0;
    std::vector<HTREEITEM> items{tree.GetRootItem()};
    EXPECT_EQ(tree.GetNextSiblingItem(items[0]), nullptr);
    while (!items.empty()) {
        HTREEITEM item = items.back();
        items.pop_back();
        if (page->GetOptionTree().GetItemState(item) != -1)
            continue;
        ++groups;
        EXPECT_EQ(tree.GetItemState(item, TVIS_BOLD | TVIS_EXPANDED), (UINT)(TVIS_BOLD | TVIS_EXPANDED))
            << (const char*)tree.GetItemText(item);
        for (HTREEITEM child = tree.GetChildItem(item); child; child = tree.GetNextSiblingItem(child))
            items.push_back(child);
    }
    EXPECT_EQ(groups, 5);
}

TEST_F(TabbedMDIPageTest, SetUpAttachesAndTakesTheSavedStateAndFailsWithoutAnMDIFrame) {
    struct Case {
        int attached, offset, style;  // saved; -1 for none
        BOOL expectAttached;
        DWORD expectOffset, expectStyle;
    } cases[] = {{-1, -1, -1, TRUE, 1, TCS_HOTTRACK},
                 {0, 7, 0x42, FALSE, 1, 0},
                 {1, 3, 0x54008042, TRUE, 3, 0x42}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attached);
        for (auto [name, value] : {std::pair{"IsAttached", c.attached}, {"Offset", c.offset}, {"Style", c.style}})
            if (value >= 0)
                app.WriteProfileInt(kSection, name, value);
        page = std::make_unique<COXCustomizeTabbedMDIPage>();
        ASSERT_TRUE(page->SetupPage(TCS_HOTTRACK, 1, kSection, TRUE));
        EXPECT_EQ(Tabs().IsAttached(), c.expectAttached);
        EXPECT_EQ(page->m_bSupportTabbedMDI, c.expectAttached);
        if (c.expectAttached) {
            EXPECT_EQ(Tabs().m_tab.m_dwOffset, c.expectOffset);
            EXPECT_EQ(TabStyle(), c.expectStyle);
        }
    }
    // Attached already, or the client held by another object: no second attachment.
    EXPECT_FALSE(page->SetupPage(TCS_HOTTRACK, 1, nullptr, TRUE));
    EXPECT_TRUE(Tabs().IsAttached());

    CFrameWnd* plain = new CFrameWnd;
    ASSERT_TRUE(plain->Create(nullptr, "Plain", WS_OVERLAPPEDWINDOW, RECT{0, 0, 200, 100}));
    app.m_pMainWnd = plain;
    COXCustomizeTabbedMDIPage other;
    EXPECT_FALSE(other.SetupPage(TCS_HOTTRACK, 1, nullptr, FALSE));
    EXPECT_FALSE(other.ApplySettings());
    app.m_pMainWnd = frame;
    plain->DestroyWindow();
}

TEST_F(TabbedMDIPageTest, ApplyWithNothingChangedKeepsTheTabs) {
    ASSERT_TRUE(page->SetupPage(TCS_BOTTOM | TCS_HOTTRACK, 3, nullptr, TRUE));
    AddChild("One");
    AddChild("Two");
    const HWND tab = TabCtrl();
    ASSERT_TRUE(tab);
    // Before the page has a window, and with it shown.
    EXPECT_TRUE(page->ApplySettings());
    EXPECT_EQ(TabCtrl(), tab);
    ShowPage();
    EXPECT_TRUE(page->ApplySettings());
    EXPECT_EQ(TabCtrl(), tab);
    EXPECT_TRUE(Tabs().IsAttached());
    EXPECT_EQ(TabStyle(), (DWORD)(TCS_BOTTOM | TCS_HOTTRACK));
    EXPECT_EQ(Tabs().m_tab.m_dwOffset, 3u);
}

TEST_F(TabbedMDIPageTest, TurningTheTabsOffMovesThePainterToThePlainClientAndOnAgainBack) {
    ASSERT_TRUE(page->SetupPage(TCS_HOTTRACK, 1, nullptr, TRUE));
    COXDIB image;
    ASSERT_TRUE(image.LoadResource(MAKEINTRESOURCE(IDB_OX_PAGE_TABBED_MDI)));
    // The image in the top left corner, the colour around it.
    ASSERT_TRUE(manager.organizer.Attach(Client(), &image, TopLeft, kGreen, frame->m_hWnd));
    ASSERT_EQ(ClientPixel(), kGreen);
    ShowPage();
    auto enabled = [&] {
        std::string s;
        for (int id : {IDC_OX_TREE_TAB_SETTINGS, IDC_OX_EDIT_OFFSET, IDC_OX_SPIN_OFFSET})
            s += ::IsWindowEnabled(Item(id)) ? '1' : '0';
        return s;
    };
    EXPECT_EQ(enabled(), "111");

    Click(IDC_OX_CHECK_SUPPORT_TABBED_MDI);
    EXPECT_EQ(enabled(), "000");
    ASSERT_TRUE(page->ApplySettings());
    EXPECT_FALSE(Tabs().IsAttached());
    EXPECT_EQ(TabCtrl(), nullptr);
    ASSERT_NE(page->GetMDIClientWrapper(), nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(Client()), page->GetMDIClientWrapper());
    COXBackgroundPainter* painter = manager.organizer.GetPainter(Client());
    ASSERT_NE(painter, nullptr);
    EXPECT_EQ(painter->GetWallpaper().GetSize().cx, image.GetSize().cx);
    EXPECT_EQ(painter->GetPaintType(), TopLeft);
    EXPECT_EQ(painter->GetBkColor(), kGreen);
    EXPECT_EQ(painter->GetOriginWnd(), frame->m_hWnd);
    EXPECT_EQ(ClientPixel(), kGreen);

    Click(IDC_OX_CHECK_SUPPORT_TABBED_MDI);
    EXPECT_EQ(enabled(), "111");
    ASSERT_TRUE(page->ApplySettings());
    EXPECT_TRUE(Tabs().IsAttached());
    EXPECT_EQ(CWnd::FromHandlePermanent(Client()), &Tabs());
    EXPECT_EQ(page->GetMDIClientWrapper(), nullptr);
    ASSERT_NE(manager.organizer.GetPainter(Client()), nullptr);
    EXPECT_EQ(manager.organizer.GetPainter(Client())->GetPaintType(), TopLeft);
    EXPECT_EQ(ClientPixel(), kGreen);
}

TEST_F(TabbedMDIPageTest, APainterOnTheBareClientGoesOverTheTabsAndTheClientKeepsWorking) {
    ASSERT_TRUE(page->SetupPage(TCS_HOTTRACK, 1, nullptr, FALSE));
    ASSERT_FALSE(Tabs().IsAttached());
    ASSERT_TRUE(manager.organizer.Attach(Client(), nullptr, Tile, kGreen));
    const HWND child = AddChild("One");
    ShowPage();
    for (bool on : {true, false, true}) {
        SCOPED_TRACE(on);
        Click(IDC_OX_CHECK_SUPPORT_TABBED_MDI);
        ASSERT_TRUE(page->ApplySettings());
        EXPECT_EQ((bool)Tabs().IsAttached(), on);
        EXPECT_EQ(ClientPixel(), kGreen);
        EXPECT_EQ((HWND)::SendMessage(Client(), WM_MDIGETACTIVE, 0, 0), child);
    }
}

TEST_F(TabbedMDIPageTest, ANewOrientationOrOffsetTakesOneApply) {
    ASSERT_TRUE(page->SetupPage(TCS_HOTTRACK, 1, nullptr, TRUE));
    ASSERT_TRUE(manager.organizer.Attach(Client(), nullptr, Tile, kGreen));
    AddChild("One");
    AddChild("Two");
    ShowPage();
    struct Step {
        int option;  // checked in the tree, 0 for none
        const char* offset;
        DWORD style, tabOffset;
    } steps[] = {{2003, "1", 0x42, 1}, {0, "5", 0x42, 5}, {2000, "0", 0xC0, 0}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.option);
        if (s.option)
            page->GetOptionTree().SetOptionState(s.option, 1);
        SetOffset(s.offset);
        ASSERT_TRUE(page->ApplySettings());
        ASSERT_TRUE(Tabs().IsAttached());
        EXPECT_EQ(TabStyle(), s.style);
        EXPECT_EQ(Tabs().m_tab.m_dwOffset, s.tabOffset);
        EXPECT_EQ(Tabs().m_tab.GetItemCount(), 2);
        EXPECT_TRUE(manager.organizer.IsWindowAttached(Client()));
        EXPECT_EQ(ClientPixel(), kGreen);
    }
    // At the bottom the strip lies under the client.
    page->GetOptionTree().SetOptionState(2003, 1);
    ASSERT_TRUE(page->ApplySettings());
    RECT tab{}, client{};
    ::GetWindowRect(TabCtrl(), &tab);
    ::GetWindowRect(Client(), &client);
    RECT item{};
    ASSERT_TRUE(Tabs().m_tab.GetItemRect(0, &item));
    ::MapWindowPoints(TabCtrl(), nullptr, (POINT*)&item, 2);
    EXPECT_GE(item.top, client.bottom);
}

TEST_F(TabbedMDIPageTest, OkWritesTheTabClientsStateAndCancelUndoesNothing) {
    ASSERT_TRUE(page->SetupPage(TCS_HOTTRACK, 1, kSection, TRUE));
    ShowPage();
    auto saved = [&] {
        return std::vector<UINT>{app.GetProfileInt(kSection, "IsAttached", 99), app.GetProfileInt(kSection, "Offset", 99),
                                 app.GetProfileInt(kSection, "Style", 99) & 0xFFF};
    };
    // A new orientation alone, then OK: the tabs stay, at the bottom.
    page->GetOptionTree().SetOptionState(2003, 1);
    SetOffset("4");
    ASSERT_TRUE(page->OnManagerClose(TRUE));
    EXPECT_TRUE(Tabs().IsAttached());
    EXPECT_EQ(saved(), (std::vector<UINT>{1, 4, 0x42}));

    // Off, then OK: 0, 1 and 0x40.
    Click(IDC_OX_CHECK_SUPPORT_TABBED_MDI);
    ASSERT_TRUE(page->OnManagerClose(TRUE));
    EXPECT_FALSE(Tabs().IsAttached());
    EXPECT_EQ(saved(), (std::vector<UINT>{0, 1, 0x40}));

    // On and applied, then Cancel: the tabs stay and nothing is written.
    Click(IDC_OX_CHECK_SUPPORT_TABBED_MDI);
    ASSERT_TRUE(page->ApplySettings());
    ASSERT_TRUE(page->OnManagerClose(FALSE));
    EXPECT_TRUE(Tabs().IsAttached());
    EXPECT_EQ(saved(), (std::vector<UINT>{0, 1, 0x40}));

    // An offset beyond 1000 is refused with the framework's prompt; nothing changes.
    MessageBoxRecorder boxes;
    SetOffset("1001");
    EXPECT_FALSE(page->OnManagerClose(TRUE));
    EXPECT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(saved(), (std::vector<UINT>{0, 1, 0x40}));
    EXPECT_TRUE(Tabs().IsAttached());
}
}  // namespace tabbed_mdi_page_test
