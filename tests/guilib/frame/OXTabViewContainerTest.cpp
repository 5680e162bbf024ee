#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "guilib/frame/OXTabViewContainer.h"
#include "guilib/frame/OXTabViewPage.h"
#include "platform/framework/app/WinThread.h"
#include "tests/support/Gui.h"
#include "tests/support/TempRegistry.h"

namespace {
struct ContainerFixture {
    CWnd owner;
    COXTabViewContainer container;
    std::vector<std::unique_ptr<CWnd>> windows;

    explicit ContainerFixture(int width = 400, int height = 200) {
        EXPECT_TRUE(owner.CreateEx(0, AfxWndClassName(), "owner", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                                   nullptr, nullptr));
        EXPECT_TRUE(container.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, RECT{0, 0, width, height}, &owner, 7));
    }
    ~ContainerFixture() { owner.DestroyWindow(); }

    CWnd* Window(const char* text = "") {
        windows.push_back(std::make_unique<CWnd>());
        windows.back()->CreateEx(0, AfxWndClassName(), text, WS_CHILD, RECT{0, 0, 10, 10}, &owner, 0);
        return windows.back().get();
    }
    std::vector<std::string> Titles() const {
        std::vector<std::string> out;
        for (int i = 0; i < container.GetPageCount(); ++i)
            out.push_back(container.GetPageTitle(i).GetString());
        return out;
    }
};

// An edit view made a page.
class EditPage : public COXTabViewPage<CEditView> {
    DECLARE_DYNCREATE(EditPage)
};
IMPLEMENT_DYNCREATE(EditPage, CEditView)
}  // namespace

TEST(TabViewContainer, PagesKeepTheActiveOneAsTheyComeAndGo) {
    ContainerFixture f;
    CWnd* a = f.Window("A");
    CWnd* b = f.Window("B");
    CWnd* c = f.Window("C");
    EXPECT_FALSE(f.container.InsertPage(1, a, "a"));  // no page 0 yet
    EXPECT_FALSE(f.container.InsertPage(0, nullptr, "a"));
    ASSERT_TRUE(f.container.InsertPage(0, a, ""));  // the window's text
    ASSERT_TRUE(f.container.InsertPage(0, b, "b"));  // every new page becomes active
    EXPECT_EQ(f.container.GetActivePage(), b);
    ASSERT_TRUE(f.container.InsertPage(2, c, "c"));
    EXPECT_EQ(f.Titles(), (std::vector<std::string>{"b", "A", "c"}));
    EXPECT_TRUE(::IsWindowVisible(c->m_hWnd));
    EXPECT_FALSE(::IsWindowVisible(b->m_hWnd));
    EXPECT_EQ(::GetParent(c->m_hWnd), f.container.m_hWnd);

    // The active last page goes: page 0 takes over; the active page among others: the next one.
    EXPECT_TRUE(f.container.DeletePage(2, FALSE));
    EXPECT_EQ(f.container.GetActivePage(), b);
    EXPECT_TRUE(f.container.DeletePage(0, FALSE));
    EXPECT_EQ(f.container.GetActivePage(), a);
    EXPECT_FALSE(f.container.DeletePage(1, FALSE));
    // The only page goes: no page is active.
    EXPECT_TRUE(f.container.DeletePage(0, FALSE));
    EXPECT_EQ(f.container.GetActivePageIndex(), -1);
    EXPECT_EQ(f.container.GetActivePage(), nullptr);
    EXPECT_FALSE(f.container.SetActivePage(0));

    // A window with neither title nor text is named after its index.
    ASSERT_TRUE(f.container.InsertPage(0, f.Window(), nullptr));
    EXPECT_EQ(f.Titles(), (std::vector<std::string>{"0"}));
}

TEST(TabViewContainer, ViewPagesGetIdsFromThePoolAndTheirInitialUpdate) {
    ContainerFixture f;
    for (const char* title : {"one", "two", "three"})
        ASSERT_TRUE(f.container.AddViewPage(RUNTIME_CLASS(EditPage), nullptr, title));
    EXPECT_EQ(::GetDlgCtrlID(f.container.GetPage(0)->m_hWnd), 1);
    EXPECT_EQ(::GetDlgCtrlID(f.container.GetPage(2)->m_hWnd), 3);
    EXPECT_TRUE(f.container.GetPage(1)->IsKindOf(RUNTIME_CLASS(EditPage)));
    ASSERT_TRUE(f.container.DeletePage(1, TRUE));
    ASSERT_TRUE(f.container.AddViewPage(RUNTIME_CLASS(EditPage), nullptr, "four"));
    EXPECT_EQ(::GetDlgCtrlID(f.container.GetPage(2)->m_hWnd), 2);
    ASSERT_TRUE(f.container.AddViewPage(RUNTIME_CLASS(EditPage), nullptr, "five"));
    EXPECT_EQ(::GetDlgCtrlID(f.container.GetPage(3)->m_hWnd), 4);
    EXPECT_FALSE(f.container.InsertViewPage(9, RUNTIME_CLASS(EditPage), nullptr, "bad"));
    EXPECT_FALSE(f.container.InsertViewPage(0, nullptr, nullptr, "bad"));
}

TEST(TabViewContainer, LayoutKeepsItsMarginsAndTabsOverlap) {
    int h = ::GetSystemMetrics(SM_CYHSCROLL), w = ::GetSystemMetrics(SM_CXHSCROLL);
    for (int width : {600, 4 * w + 200 + 60 + w + 4, 200, 100, 30}) {
        SCOPED_TRACE(width);
        ContainerFixture f(width, 150);
        RECT client;
        f.container.GetClientRect(&client);
        RECT area = f.container.GetTabAreaRect(), page = f.container.GetPageRect();
        EXPECT_EQ(area.left, 4 * w);
        EXPECT_EQ(area.top, client.bottom - h);
        EXPECT_EQ(page.right, client.right - w);
        EXPECT_EQ(page.bottom, client.bottom - h);
        int expected = std::max(0, std::min<int>(200, page.right - 60 - area.left));
        EXPECT_EQ(area.right - area.left, expected);
        RECT splitter = f.container.GetSplitterRect();
        EXPECT_EQ(splitter.left, area.right);
        EXPECT_EQ(splitter.right - splitter.left, 6);
        EXPECT_EQ(f.container.GetHorzScrollBarRect().left, splitter.right);
        EXPECT_EQ(f.container.GetHorzScrollBarRect().right, std::max(page.right, splitter.right));
    }

    ContainerFixture f;
    f.container.AddPage(f.Window(), "A");
    f.container.AddPage(f.Window(), "Longer title");
    RECT first = f.container.GetTabRect(0), second = f.container.GetTabRect(1);
    EXPECT_EQ(first.left, 0);
    EXPECT_EQ(second.left, first.right - 5);
    EXPECT_GT(second.right - second.left, first.right - first.left);
    EXPECT_GT(first.right - first.left, 16);
}

TEST(TabViewContainer, ScrollButtonsStopAtTheEnds) {
    ContainerFixture f(300, 150);
    for (int i = 0; i < 12; ++i)
        f.container.AddPage(f.Window(), ("Page " + std::to_string(i)).c_str());
    f.container.SetActivePage(0);
    EXPECT_EQ(f.container.GetTabOffset(), 0);
    RECT area = f.container.GetTabAreaRect();
    int areaWidth = area.right - area.left;
    int lastRight = f.container.GetTabRect(11).right;
    ASSERT_GT(lastRight, areaWidth);
    auto press = [&](int code) {
        RECT b = f.container.GetScrollButtonRect(code);
        LPARAM at = MAKELPARAM((b.left + b.right) / 2, (b.top + b.bottom) / 2);
        f.container.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        f.container.SendMessage(WM_LBUTTONUP, 0, at);
    };
    press(COXTabViewContainer::SCRLFORWARDBTN);
    EXPECT_EQ(f.container.GetTabOffset(), -15);
    for (int i = 0; i < 100; ++i)
        press(COXTabViewContainer::SCRLFORWARDBTN);
    EXPECT_EQ(f.container.GetTabOffset(), areaWidth - lastRight);
    press(COXTabViewContainer::SCRLBACKWARDBTN);
    EXPECT_EQ(f.container.GetTabOffset(), areaWidth - lastRight + 15);
    press(COXTabViewContainer::SCRLSTARTBTN);
    EXPECT_EQ(f.container.GetTabOffset(), 0);
    press(COXTabViewContainer::SCRLBACKWARDBTN);
    EXPECT_EQ(f.container.GetTabOffset(), 0);
    press(COXTabViewContainer::SCRLENDBTN);
    EXPECT_EQ(f.container.GetTabOffset(), areaWidth - lastRight);

    // Held down, the button repeats on the timer; released, it stops.
    DrivenClock clock;
    press(COXTabViewContainer::SCRLSTARTBTN);
    RECT b = f.container.GetScrollButtonRect(COXTabViewContainer::SCRLFORWARDBTN);
    LPARAM at = MAKELPARAM((b.left + b.right) / 2, (b.top + b.bottom) / 2);
    f.container.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    for (int tick = 0; tick < 2; ++tick) {
        clock.Advance(200);
        Pump();
    }
    EXPECT_EQ(f.container.GetTabOffset(), -45);
    f.container.SendMessage(WM_LBUTTONUP, 0, at);
    clock.Advance(1000);
    Pump();
    EXPECT_EQ(f.container.GetTabOffset(), -45);

    // Activating a tab off the strip scrolls it into view.
    f.container.SetActivePage(11);
    EXPECT_EQ(f.container.GetTabOffset(), areaWidth - lastRight);
}

TEST(TabViewContainer, TabAreaWidthRoundTripsThroughTheProfile) {
    TempRegistry registry;
    CWinApp app("TabViewTest");
    app.SetRegistryKey("VeltrinTests");
    ContainerFixture f;
    // The splitter dragged to the right.
    RECT s = f.container.GetSplitterRect();
    int y = (s.top + s.bottom) / 2;
    f.container.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(s.left + 3, y));
    f.container.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(s.left + 3 + 40, y));
    f.container.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(s.left + 3 + 40, y));
    EXPECT_EQ(f.container.GetTabAreaWidth(), 240);
    EXPECT_TRUE(f.container.SaveState("OutputWindow"));
    EXPECT_EQ(app.GetProfileInt("OutputWindow", "TabButtonsAreaWidth", 0), 240u);

    ContainerFixture g;
    EXPECT_EQ(g.container.GetTabAreaWidth(), 200);
    EXPECT_TRUE(g.container.LoadState("OutputWindow"));
    EXPECT_EQ(g.container.GetTabAreaWidth(), 240);
    RECT area = g.container.GetTabAreaRect();
    EXPECT_EQ(area.right - area.left, 240);
}

TEST(TabViewContainer, ItsScrollBarDrivesTheActiveEditPage) {
    ContainerFixture f;
    ASSERT_TRUE(f.container.AddViewPage(RUNTIME_CLASS(EditPage), nullptr, "text"));
    auto* page = static_cast<EditPage*>(f.container.GetActivePage());
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    page->SetWindowText(text.c_str());
    // The page's own bar hides behind the container's.
    f.container.UpdateScrollState();
    f.container.UpdateScrollInfo();
    EXPECT_FALSE(::GetWindowLongPtr(page->m_hWnd, GWL_STYLE) & WS_VSCROLL);
    EXPECT_TRUE(f.container.GetScrollStyle() & WS_VSCROLL);
    EXPECT_EQ(page->GetScrollBarCtrl(SB_VERT), f.container.GetVertScrollBar());
    HWND bar = f.container.GetVertScrollBar()->m_hWnd;
    EXPECT_TRUE(::IsWindowEnabled(bar));
    for (int i = 0; i < 3; ++i)
        f.container.SendMessage(WM_VSCROLL, SB_LINEDOWN, (LPARAM)bar);
    EXPECT_EQ(page->GetEditCtrl().GetFirstVisibleLine(), 3);
    EXPECT_EQ(f.container.GetVertScrollBar()->GetScrollPos(), 3);
}

TEST(TabViewContainer, TabsArePaintedWithTheActiveOneInTheWindowColour) {
    ContainerFixture f;
    ScreenshotOnFailure shot(f.owner.m_hWnd);
    f.container.AddPage(f.Window(), "First");
    f.container.AddPage(f.Window(), "Second");
    f.container.SetActivePage(0);
    ::UpdateWindow(f.owner.m_hWnd);
    PixelProbe probe(f.owner.m_hWnd);
    RECT area = f.container.GetTabAreaRect();
    POINT origin{0, 0};
    ::MapWindowPoints(f.container.m_hWnd, f.owner.m_hWnd, &origin, 1);
    auto tabPixel = [&](int index) {
        RECT t = f.container.GetTabRect(index);
        // Just inside the tab's slanted left edge, below the top line, clear of the text.
        return probe.At(origin.x + area.left + t.left + 6, origin.y + area.top + 3);
    };
    EXPECT_EQ(tabPixel(0), ::GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(tabPixel(1), ::GetSysColor(COLOR_BTNFACE));
    // The strip's top line, past the last tab.
    EXPECT_EQ(probe.At(origin.x + area.right - 2, origin.y + area.top), ::GetSysColor(COLOR_WINDOWTEXT));
    // The first scroll button's glyph: ink in its middle.
    RECT b = f.container.GetScrollButtonRect(COXTabViewContainer::SCRLSTARTBTN);
    EXPECT_TRUE(probe.Any(RECT{origin.x + b.left + 2, origin.y + b.top + 2, origin.x + b.right - 2, origin.y + b.bottom - 2},
                          [](COLORREF c) { return c == ::GetSysColor(COLOR_WINDOWTEXT); }));
}
