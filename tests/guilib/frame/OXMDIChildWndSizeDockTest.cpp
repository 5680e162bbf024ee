// A dockable MDI child: docked as a view bar at the frame's top and back, its menu item, its hidden MDI
// window, and closing the docked child while its document refuses.
#include <gtest/gtest.h>

#include <string>

#include "guilib/frame/OXMDIChildWndSizeDock.h"
#include "guilib/frame/OXSizeBarWrapper.h"
#include "guilib/frame/OXSizeDockBar.h"
#include "guilib/frame/OXSzMiniDockFrmWnd.h"
#include "platform/framework/bars/DockState.h"
#include "platform/framework/docview/View.h"
#include "platform/framework/window/Menu.h"
#include "tests/guilib/frame/DockFrameTestSupport.h"

namespace {
class RefusingDoc : public CDocument {
public:
    BOOL CanCloseFrame(CFrameWnd*) override {
        ++asked;
        return allow;
    }
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) override {
        if (id == kDocCommand && code == CN_COMMAND) {
            ++commands;
            return TRUE;
        }
        return CDocument::OnCmdMsg(id, code, extra, info);
    }
    static constexpr UINT kDocCommand = 32901;
    BOOL allow = FALSE;
    int asked = 0;
    int commands = 0;
};

class PlainView : public CView {
    DECLARE_DYNCREATE(PlainView)
public:
    void OnDraw(HDC) override {}
};
IMPLEMENT_DYNCREATE(PlainView, CView)

std::string ClassOf(HWND h) {
    char name[64] = {};
    GetClassName(h, name, 63);
    return name;
}

class DockChildTest : public DockFrameTest {
protected:
    void SetUp() override {
        DockFrameTest::SetUp();
        doc.m_bAutoDelete = FALSE;
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(PlainView);
        context.m_pCurrentDoc = &doc;
        child = new COXMDIChildWndSizeDock;
        ASSERT_TRUE(child->Create(nullptr, "Report", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault,
                                  frame, &context));
        view = dynamic_cast<CView*>(CWnd::FromHandlePermanent(::GetDlgItem(child->m_hWnd, AFX_IDW_PANE_FIRST)));
        ASSERT_NE(view, nullptr);
        child->SetActiveView(view, FALSE);
    }
    void TearDown() override {
        doc.allow = TRUE;
        DockFrameTest::TearDown();
    }
    // Whether the dock item of a fresh dock menu is checked.
    bool ItemChecked() {
        CMenu menu;
        menu.CreatePopupMenu();
        child->BuildDockMenu(&menu);
        char text[64] = {};
        GetMenuString(menu.m_hMenu, 0, text, 63, MF_BYPOSITION);
        EXPECT_STREQ(text, "Dock window");
        EXPECT_EQ(GetMenuItemID(menu.m_hMenu, 0), COXMDIChildWndSizeDock::GetDockCommand());
        return (GetMenuState(menu.m_hMenu, 0, MF_BYPOSITION) & MF_CHECKED) != 0;
    }
    void Toggle() {
        SendMessage(child->m_hWnd, WM_COMMAND, COXMDIChildWndSizeDock::GetDockCommand() & 0xFFFF, 0);
        frame->RecalcLayout();
    }

    RefusingDoc doc;
    COXMDIChildWndSizeDock* child = nullptr;
    CView* view = nullptr;
};
}  // namespace

TEST_F(DockChildTest, TheDockCommandMovesTheViewIntoATopViewBarAndBack) {
    EXPECT_FALSE(ItemChecked());
    Toggle();
    ASSERT_TRUE(child->IsDocked());
    COXSizeViewBar& bar = child->m_wndViewBar;
    EXPECT_EQ(bar.m_pDockBar, frame->GetControlBar(AFX_IDW_DOCKBAR_TOP));
    EXPECT_TRUE(bar.IsWindowVisible());
    EXPECT_FALSE(IsWindowVisible(child->m_hWnd));
    HWND wrapper = GetParent(view->m_hWnd);
    EXPECT_EQ(ClassOf(wrapper), "MDIChildWndDockWrapper");
    EXPECT_EQ(GetParent(wrapper), bar.m_hWnd);
    RECT barClient, viewRect;
    GetClientRect(bar.m_hWnd, &barClient);
    GetWindowRect(view->m_hWnd, &viewRect);
    EXPECT_EQ(viewRect.right - viewRect.left, barClient.right);
    EXPECT_TRUE(ItemChecked());

    // Its MDI window stays hidden whatever style it is given.
    SetWindowLong(child->m_hWnd, GWL_STYLE, GetWindowLong(child->m_hWnd, GWL_STYLE) | WS_VISIBLE);
    EXPECT_FALSE(GetWindowLong(child->m_hWnd, GWL_STYLE) & WS_VISIBLE);

    // The system command of the window menu docks it back.
    SendMessage(child->m_hWnd, WM_SYSCOMMAND, COXMDIChildWndSizeDock::GetDockCommand(), 0);
    frame->RecalcLayout();
    EXPECT_FALSE(child->IsDocked());
    EXPECT_EQ(GetParent(view->m_hWnd), child->m_hWnd);
    EXPECT_TRUE(IsWindowVisible(child->m_hWnd));
    EXPECT_FALSE(bar.IsWindowVisible());
    EXPECT_FALSE(ItemChecked());
    EXPECT_EQ(frame->MDIGetActive(), child);
}

TEST_F(DockChildTest, ClosingTheWrapperAsksTheDocumentAndARefusalLeavesEverythingInPlace) {
    Toggle();
    HWND wrapper = GetParent(view->m_hWnd);
    SendMessage(wrapper, WM_CLOSE, 0, 0);
    EXPECT_GE(doc.asked, 1);
    ASSERT_TRUE(IsWindow(child->m_hWnd));
    EXPECT_TRUE(child->IsDocked());
    EXPECT_EQ(GetParent(view->m_hWnd), wrapper);
    EXPECT_TRUE(child->m_wndViewBar.IsWindowVisible());
    EXPECT_FALSE(IsWindowVisible(child->m_hWnd));

    doc.allow = TRUE;
    HWND childHwnd = child->m_hWnd;
    SendMessage(wrapper, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(IsWindow(childHwnd));
    EXPECT_FALSE(IsWindow(wrapper));
    EXPECT_EQ(frame->MDIGetActive(), nullptr);
}

TEST_F(DockChildTest, ClickingADockedChildMakesItTheActiveChildThatCommandsReach) {
    COXMDIChildWndSizeDock* other = new COXMDIChildWndSizeDock;
    ASSERT_TRUE(other->Create(nullptr, "Other", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault,
                              frame));
    Toggle();
    EXPECT_EQ(frame->MDIGetActive(), other);
    EXPECT_FALSE(frame->OnCmdMsg(RefusingDoc::kDocCommand, CN_COMMAND, nullptr, nullptr));

    // A click in the docked view activates its child: commands reach its document, the title follows.
    HWND wrapper = GetParent(view->m_hWnd);
    SendMessage(wrapper, WM_MOUSEACTIVATE, (WPARAM)frame->m_hWnd, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    BOOL maximized = TRUE;
    EXPECT_EQ(frame->MDIGetActive(&maximized), child);
    EXPECT_FALSE(maximized);
    EXPECT_EQ(frame->GetActiveFrame(), child);
    EXPECT_TRUE(frame->OnCmdMsg(RefusingDoc::kDocCommand, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(doc.commands, 1);

    // Another child activated the ordinary way takes over.
    frame->ActivateChild(other);
    EXPECT_EQ(frame->MDIGetActive(), other);
    EXPECT_FALSE(frame->OnCmdMsg(RefusingDoc::kDocCommand, CN_COMMAND, nullptr, nullptr));
}

TEST_F(DockChildTest, TheSavedBarLayoutLeavesTheViewBarOut) {
    Toggle();
    ASSERT_EQ(child->m_wndViewBar.GetDlgCtrlID(), (int)COXSizeViewBar::kBarId);
    frame->SaveSizeBarState("SizeBarState");
    CDockState state;
    ASSERT_TRUE(state.LoadState("SizeBarState"));
    for (CControlBarInfo* info : state.m_arrBarInfo) {
        EXPECT_NE(info->m_nBarID, COXSizeViewBar::kBarId);
        for (UINT id : info->m_arrBarID)
            EXPECT_NE(id & 0xFFFF, id ? COXSizeViewBar::kBarId : 1u);
    }
}

TEST_F(DockChildTest, HidingTheActiveChildMovesOnOrLeavesTheFrameWithoutAnActiveChild) {
    CMenu frameMenu, childMenu;
    frameMenu.CreateMenu();
    frameMenu.AppendMenu(MF_STRING, 101, "Frame");
    frame->m_hMenuDefault = frameMenu.m_hMenu;
    childMenu.CreateMenu();
    childMenu.AppendMenu(MF_STRING, 100, "Child");
    child->m_hMenuShared = childMenu.m_hMenu;
    auto* other = new COXMDIChildWndSizeDock;
    ASSERT_TRUE(other->Create(nullptr, "Other", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault,
                              frame));
    ASSERT_EQ(frame->MDIGetActive(), other);

    // Hidden while another child shows: MDI activates that one.
    other->ActivateFrame(SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(other->m_hWnd));
    EXPECT_EQ(frame->MDIGetActive(), child);
    EXPECT_FALSE(other->m_bPseudoInactive);
    EXPECT_EQ(GetMenu(frame->m_hWnd), childMenu.m_hMenu);

    // The last visible child hidden: MDI keeps it, but commands and menus leave it.
    child->ActivateFrame(SW_HIDE);
    EXPECT_EQ((HWND)SendMessage(frame->m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0), child->m_hWnd);
    EXPECT_TRUE(child->m_bPseudoInactive);
    EXPECT_EQ(frame->MDIGetActive(), nullptr);
    EXPECT_FALSE(frame->OnCmdMsg(RefusingDoc::kDocCommand, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(GetMenu(frame->m_hWnd), frameMenu.m_hMenu);

    // Shown again, it is active once more.
    child->ActivateFrame();
    EXPECT_TRUE(IsWindowVisible(child->m_hWnd));
    EXPECT_FALSE(child->m_bPseudoInactive);
    EXPECT_EQ(frame->MDIGetActive(), child);
    EXPECT_EQ(GetMenu(frame->m_hWnd), childMenu.m_hMenu);
    EXPECT_TRUE(frame->OnCmdMsg(RefusingDoc::kDocCommand, CN_COMMAND, nullptr, nullptr));
    child->m_hMenuShared = nullptr;
    frame->m_hMenuDefault = nullptr;
    SetMenu(frame->m_hWnd, nullptr);
}

TEST_F(DockChildTest, AFloatingViewBarsFrameOffersTheDockItemAndClosesOnlyWhenTheDocumentAgrees) {
    Toggle();
    COXSizeViewBar& bar = child->m_wndViewBar;
    frame->FloatControlBar(&bar, POINT{300, 300});
    auto* mini = dynamic_cast<COXSizableMiniDockFrameWnd*>(bar.GetParentFrame());
    ASSERT_NE(mini, nullptr);
    const UINT dock = COXMDIChildWndSizeDock::GetDockCommand();

    // The window menu gains the checked dock item once.
    HMENU system = GetSystemMenu(mini->m_hWnd, FALSE);
    for (int i = 0; i < 2; ++i)
        SendMessage(mini->m_hWnd, WM_INITMENUPOPUP, (WPARAM)system, MAKELPARAM(0, TRUE));
    int withItem = 0;
    for (int i = 0; i < GetMenuItemCount(system); ++i)
        withItem += GetMenuItemID(system, i) == dock;
    EXPECT_EQ(withItem, 1);
    EXPECT_TRUE(GetMenuState(system, dock, MF_BYCOMMAND) & MF_CHECKED);

    // A refusing document keeps everything as it was.
    HWND childHwnd = child->m_hWnd;
    SendMessage(mini->m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_GE(doc.asked, 1);
    ASSERT_TRUE(IsWindow(childHwnd));
    EXPECT_TRUE(child->IsDocked());
    EXPECT_TRUE(bar.IsFloating());
    EXPECT_TRUE(bar.IsWindowVisible());

    // Agreeing, the child closes with its bar.
    doc.allow = TRUE;
    SendMessage(mini->m_hWnd, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(IsWindow(childHwnd));
}

TEST_F(DockChildTest, TheDockItemOfAFloatingViewBarsWindowMenuBringsTheChildBack) {
    Toggle();
    frame->FloatControlBar(&child->m_wndViewBar, POINT{300, 300});
    CFrameWnd* mini = child->m_wndViewBar.GetParentFrame();
    ASSERT_NE(mini, frame);
    SendMessage(mini->m_hWnd, WM_SYSCOMMAND, COXMDIChildWndSizeDock::GetDockCommand(), 0);
    frame->RecalcLayout();
    EXPECT_FALSE(child->IsDocked());
    EXPECT_EQ(GetParent(view->m_hWnd), child->m_hWnd);
    EXPECT_TRUE(IsWindowVisible(child->m_hWnd));
    EXPECT_FALSE(child->m_wndViewBar.IsWindowVisible());
}

TEST_F(DockChildTest, AFloatingViewBarsCaptionTurnsActiveOnlyWhileItsChildIsTheActiveOne) {
    auto* other = new COXMDIChildWndSizeDock;
    ASSERT_TRUE(other->Create(nullptr, "Other", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault,
                              frame));
    Toggle();
    frame->FloatControlBar(&child->m_wndViewBar, POINT{300, 300});
    HWND mini = child->m_wndViewBar.GetParentFrame()->m_hWnd;
    ASSERT_NE(mini, frame->m_hWnd);
    ASSERT_EQ(frame->MDIGetActive(), other);

    // Another child active: activation is refused, deactivation is not.
    EXPECT_FALSE(SendMessage(mini, WM_NCACTIVATE, TRUE, 0));
    EXPECT_TRUE(SendMessage(mini, WM_NCACTIVATE, FALSE, 0));

    // Its own child active: both go through.
    SendMessage(GetParent(view->m_hWnd), WM_MOUSEACTIVATE, (WPARAM)frame->m_hWnd, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    ASSERT_EQ(frame->MDIGetActive(), child);
    EXPECT_TRUE(SendMessage(mini, WM_NCACTIVATE, TRUE, 0));
    EXPECT_TRUE(SendMessage(mini, WM_NCACTIVATE, FALSE, 0));

    // A floating frame of an ordinary sizing bar activates whichever child is active.
    frame->ActivateChild(other);
    COXSizeControlBar plain(0x214);
    ASSERT_TRUE(plain.Create(nullptr, "Bar", WS_CHILD | WS_VISIBLE | CBRS_TOP, RECT{0, 0, 240, 160}, frame, 59522));
    plain.EnableDocking(CBRS_ALIGN_ANY);
    frame->FloatControlBar(&plain, POINT{500, 200});
    HWND plainMini = plain.GetParentFrame()->m_hWnd;
    ASSERT_NE(plainMini, frame->m_hWnd);
    EXPECT_TRUE(SendMessage(plainMini, WM_NCACTIVATE, TRUE, 0));
    ::DestroyWindow(plainMini);
}
