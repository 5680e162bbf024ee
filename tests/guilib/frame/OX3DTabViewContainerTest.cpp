#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "guilib/frame/OX3DTabViewContainer.h"
#include "platform/framework/docview/EditView.h"
#include "platform/framework/ole/OleDataSource.h"
#include "platform/user/Clipboard.h"
#include "tests/support/Gui.h"

namespace {
struct TabsFixture {
    CWnd owner;
    COX3DTabViewContainer tabs;
    std::vector<std::unique_ptr<CWnd>> windows;

    TabsFixture() {
        EXPECT_TRUE(owner.CreateEx(0, AfxWndClassName(), "owner", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                   nullptr));
        EXPECT_TRUE(tabs.Create(nullptr, "tabs", 0, RECT{0, 0, 300, 200}, &owner, 5));
    }
    ~TabsFixture() { owner.DestroyWindow(); }

    CWnd* Window() {
        windows.push_back(std::make_unique<CWnd>());
        windows.back()->CreateEx(0, AfxWndClassName(), nullptr, WS_CHILD | WS_VISIBLE, RECT{0, 0, 10, 10}, &owner, 0);
        return windows.back().get();
    }
};
}  // namespace

TEST(TabViewContainer3D, PagesKeepTheActiveOneAsTheyComeAndGo) {
    TabsFixture f;
    EXPECT_EQ((DWORD)::GetWindowLongPtr(f.tabs.m_hWnd, GWL_STYLE) & 0xFFFF, COX3DTabViewContainer::kDefaultStyle & 0xFFFF);
    CWnd* a = f.Window();
    CWnd* b = f.Window();
    CWnd* c = f.Window();
    EXPECT_FALSE(f.tabs.InsertPage(1, a, "a"));
    ASSERT_TRUE(f.tabs.InsertPage(0, a, "a"));
    EXPECT_EQ(f.tabs.GetActivePage(), a);
    // Inserted before the active page without activation: the same page stays active and shown.
    ASSERT_TRUE(f.tabs.InsertPage(0, b, "b", -1, 0, FALSE));
    EXPECT_EQ(f.tabs.GetActivePage(), a);
    EXPECT_EQ(f.tabs.GetActivePageIndex(), 1);
    EXPECT_EQ(f.tabs.GetCurSel(), 1);
    EXPECT_FALSE(::IsWindowVisible(b->m_hWnd));
    EXPECT_TRUE(::IsWindowVisible(a->m_hWnd));
    EXPECT_TRUE(::GetWindowLongPtr(b->m_hWnd, GWL_STYLE) & WS_TABSTOP);
    ASSERT_TRUE(f.tabs.InsertPage(2, c, "c"));
    // The active page fills the display area.
    RECT r, page = f.tabs.GetPageRect();
    ::GetWindowRect(c->m_hWnd, &r);
    ::MapWindowPoints(nullptr, f.tabs.m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, page.left);
    EXPECT_EQ(r.bottom, page.bottom);

    // A user's tab choice shows its page.
    f.tabs.SetCurSel(0);
    NMHDR hdr{f.tabs.m_hWnd, 5, TCN_SELCHANGE};
    f.owner.SendMessage(WM_NOTIFY, 5, (LPARAM)&hdr);
    EXPECT_EQ(f.tabs.GetActivePage(), b);

    EXPECT_TRUE(f.tabs.SetActivePage(2));
    EXPECT_TRUE(f.tabs.DeletePage(2, FALSE));  // the active last page: page 0 takes over
    EXPECT_EQ(f.tabs.GetActivePage(), b);
    EXPECT_TRUE(f.tabs.DeletePageByWindow(b, FALSE));  // among several: the next one
    EXPECT_EQ(f.tabs.GetActivePage(), a);
    EXPECT_FALSE(f.tabs.DeletePageByWindow(c, FALSE));
    EXPECT_TRUE(f.tabs.DeletePage(0, FALSE));  // the only page: none is active
    EXPECT_EQ(f.tabs.GetActivePageIndex(), -1);
    EXPECT_EQ(f.tabs.GetPageCount(), 0);
}

TEST(TabViewContainer3D, ViewPagesTakeIdsFromThePool) {
    TabsFixture f;
    for (const char* title : {"one", "two", "three"})
        ASSERT_TRUE(f.tabs.InsertViewPage(f.tabs.GetPageCount(), RUNTIME_CLASS(CEditView), nullptr, title));
    HWND second = f.tabs.GetPage(1)->m_hWnd;
    EXPECT_EQ(::GetDlgCtrlID(second), 2);
    ASSERT_TRUE(f.tabs.DeletePage(1, TRUE));
    EXPECT_FALSE(::IsWindow(second));
    ASSERT_TRUE(f.tabs.InsertViewPage(0, RUNTIME_CLASS(CEditView), nullptr, "four"));
    EXPECT_EQ(::GetDlgCtrlID(f.tabs.GetPage(0)->m_hWnd), 2);
    ASSERT_TRUE(f.tabs.InsertViewPage(0, RUNTIME_CLASS(CEditView), nullptr, "five"));
    EXPECT_EQ(::GetDlgCtrlID(f.tabs.GetPage(0)->m_hWnd), 4);
}

TEST(TabViewContainer3D, DraggingOverAnInactiveTabBringsItsPageForward) {
    TabsFixture f;
    CWnd* a = f.Window();
    CWnd* b = f.Window();
    f.tabs.AddPage(a, "first");
    f.tabs.AddPage(b, "second");
    f.tabs.SetActivePage(0);
    RECT tab;
    f.tabs.GetItemRect(1, &tab);
    POINT over{(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2};
    EXPECT_EQ(f.tabs.OnDragOver(over), 0u);  // no drop is accepted
    EXPECT_EQ(f.tabs.GetActivePage(), b);
    // Still over the same tab: a page chosen meanwhile stays.
    f.tabs.SetActivePage(0);
    f.tabs.OnDragOver(over);
    EXPECT_EQ(f.tabs.GetActivePage(), a);
    f.tabs.OnDragLeave();
    f.tabs.m_bActivateOnDragOver = FALSE;
    f.tabs.OnDragOver(over);
    EXPECT_EQ(f.tabs.GetActivePage(), a);
}

TEST(TabViewContainer3D, ARealDragOverATabActivatesItsPageAndDropsNothing) {
    TabsFixture f;
    CWnd* a = f.Window();
    CWnd* b = f.Window();
    f.tabs.AddPage(a, "first");
    f.tabs.AddPage(b, "second");
    f.tabs.SetActivePage(0);
    RECT first, second;
    f.tabs.GetItemRect(0, &first);
    f.tabs.GetItemRect(1, &second);
    POINT start{(first.left + first.right) / 2, (first.top + first.bottom) / 2};
    POINT over{(second.left + second.right) / 2, (second.top + second.bottom) / 2};
    ::ClientToScreen(f.tabs.m_hWnd, &start);
    ::ClientToScreen(f.tabs.m_hWnd, &over);
    COleDataSource source;
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 2);
    static_cast<char*>(GlobalLock(text))[0] = 'x';
    GlobalUnlock(text);
    source.CacheGlobalData(CF_TEXT, text);
    PostMouseInput(WM_MOUSEMOVE, over, MK_LBUTTON);
    PostMouseInput(WM_LBUTTONUP, over, 0);
    SetCursorPos(start.x, start.y);
    EXPECT_EQ(source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE), DROPEFFECT_NONE);
    EXPECT_EQ(f.tabs.GetActivePage(), b);
}
