#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "guilib/controls/OXToolTipCtrl.h"
#include "platform/base/Clock.h"
#include "platform/user/Resources.h"
#include "tests/support/Gui.h"

namespace {

const UINT kStringId = 26999;  // no other module has it
int g_needTextCalls = 0;
HINSTANCE g_answerInstance = nullptr;

class TipStrings : public ResourceModule {
public:
    const char* FindString(UINT id) const override { return id == kStringId ? "From the module" : nullptr; }
};
TipStrings g_module;

LRESULT OwnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NOTIFY) {
        auto* di = reinterpret_cast<NMTTDISPINFO*>(lp);
        if (di->hdr.code == TTN_NEEDTEXT) {
            ++g_needTextCalls;
            if (g_answerInstance) {
                di->hinst = g_answerInstance;
                di->lpszText = (LPSTR)(UINT_PTR)kStringId;
            } else {
                std::strcpy(di->szText, "Asked");
            }
            return 0;
        }
    }
    return DefWindowProc(hwnd, msg, wp, lp);
}

class ToolTipTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestWindowClass("TipOwner", OwnerProc, COLOR_BTNFACE);
        owner = CreateWindowEx(0, "TipOwner", "", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr,
                               nullptr, nullptr);
        ASSERT_NE(owner, nullptr);
        child = CreateWindowEx(0, "TipOwner", "", WS_CHILD | WS_VISIBLE, 50, 40, 100, 60, owner,
                               (HMENU)(UINT_PTR)77, nullptr, nullptr);
        edit = CreateWindowEx(0, "Edit", "", WS_CHILD | WS_VISIBLE, 200, 150, 80, 20, owner, nullptr, nullptr,
                              nullptr);
        ownerWnd.Attach(owner);
        childWnd.Attach(child);
        ASSERT_TRUE(tip.Create(&ownerWnd));
        g_needTextCalls = 0;
        g_answerInstance = nullptr;
    }
    void TearDown() override {
        tip.DestroyWindow();
        childWnd.Detach();
        ownerWnd.Detach();
        DestroyWindow(owner);
        Pump();
    }
    // The pointer moves to a screen point, and the owner relays the move.
    void MoveTo(int x, int y) {
        SetCursorPos(x, y);
        MSG m{owner, WM_MOUSEMOVE, 0, 0, (DWORD)PlatformClockNow(), POINT{x, y}};
        tip.RelayEvent(&m);
    }
    void Relay(UINT message) {
        POINT pt;
        GetCursorPos(&pt);
        MSG m{owner, message, 0, 0, (DWORD)PlatformClockNow(), pt};
        tip.RelayEvent(&m);
    }
    void Wait(ULONGLONG ms) {
        clock.Advance(ms);
        Pump();
    }
    bool Shown() const { return IsWindowVisible(tip.GetSafeHwnd()) != FALSE; }
    RECT TipRect() const {
        RECT r;
        GetWindowRect(tip.GetSafeHwnd(), &r);
        return r;
    }

    DrivenClock clock;
    HWND owner = nullptr, child = nullptr, edit = nullptr;
    CWnd ownerWnd, childWnd;
    COXToolTipCtrl tip;
};

TEST_F(ToolTipTest, ShowsAfterTheDelayBelowThePointerAndGoesAfterTheDisplayTime) {
    RECT r{0, 0, 100, 60};
    ASSERT_TRUE(tip.AddTool(&childWnd, "Hello", &r, 5));
    MoveTo(170, 160);  // child client (20, 20)
    Wait(499);
    EXPECT_FALSE(Shown());
    Wait(1);
    ASSERT_TRUE(Shown());
    RECT t = TipRect();
    EXPECT_EQ(t.left, 170);
    EXPECT_EQ(t.top, 180);
    // Still in the tool, yet gone after the display time.
    for (int tick = 1; tick < 10; ++tick) {
        Wait(500);
        ASSERT_TRUE(Shown()) << tick;
    }
    Wait(500);
    EXPECT_FALSE(Shown());
}

TEST_F(ToolTipTest, StaysPastTheDisplayTimeWhileThePointerIsOnTheTip) {
    RECT r{0, 0, 100, 60};
    tip.AddTool(&childWnd, "Hello", &r, 5);
    MoveTo(170, 160);
    Wait(500);
    ASSERT_TRUE(Shown());
    RECT t = TipRect();
    SetCursorPos(t.left + 2, t.top + 2);
    for (int tick = 0; tick < 12; ++tick)
        Wait(500);
    EXPECT_TRUE(Shown());
    SetCursorPos(10, 10);
    Wait(500);
    EXPECT_FALSE(Shown());
}

TEST_F(ToolTipTest, KeysAndRightClicksHideTheTip) {
    RECT r{0, 0, 100, 60};
    tip.AddTool(&childWnd, "Hello", &r, 5);
    for (UINT message : {(UINT)WM_KEYDOWN, (UINT)WM_CHAR, (UINT)WM_RBUTTONDOWN, (UINT)WM_NCLBUTTONDOWN}) {
        SCOPED_TRACE(message);
        MoveTo(10, 10);
        MoveTo(170, 160);
        Wait(500);
        ASSERT_TRUE(Shown());
        Relay(message);
        EXPECT_FALSE(Shown());
    }
}

TEST_F(ToolTipTest, ChildCoordinateToolsAreHitInOwnerCoordinates) {
    RECT r{10, 10, 30, 30};  // child client coordinates
    tip.AddTool(&childWnd, "Small", &r, 9);
    OXTOOLINFO ti{};
    EXPECT_TRUE(tip.HitTest(&childWnd, POINT{65, 55}, &ti));
    EXPECT_EQ(ti.cbSize, sizeof(OXTOOLINFO));
    EXPECT_EQ(ti.uId, 9u);
    EXPECT_EQ(ti.rect.left, 60);
    EXPECT_EQ(ti.rect.top, 50);
    EXPECT_FALSE(tip.HitTest(&childWnd, POINT{15, 15}));
    // Through the owner the test continues in the child.
    EXPECT_TRUE(tip.HitTest(&ownerWnd, POINT{65, 55}));
    EXPECT_EQ(tip.ToolFromPoint(POINT{65, 55}), tip.FindToolInfo(&childWnd, 9));
    EXPECT_EQ(tip.ToolFromPoint(POINT{55, 45}), nullptr);
    tip.RemoveTool(&childWnd, 9);
    EXPECT_EQ(tip.GetToolCount(), 0);
}

TEST_F(ToolTipTest, KeptOnTheMonitor) {
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    // The owner near the bottom right corner of the screen.
    SetWindowPos(owner, nullptr, screenW - 120, screenH - 90, 120, 90, SWP_NOZORDER);
    tip.AddTool(&ownerWnd, "A rather long text for a tip", nullptr, 1);
    MoveTo(screenW - 115, screenH - 5);  // clear of the child windows
    Wait(500);
    ASSERT_TRUE(Shown());
    RECT t = TipRect();
    EXPECT_EQ(t.right, screenW);
    EXPECT_EQ(t.bottom, screenH - 90);  // directly above the tool window
}

TEST_F(ToolTipTest, ALineAfterAnEmptyLineSetsTheWidth) {
    RECT narrow = tip.CalcTextRect("ab\n\nab", 0);
    RECT wide = tip.CalcTextRect("ab\n\na much longer last line", 0);
    EXPECT_GT(wide.right - wide.left, narrow.right - narrow.left + 50);
    // Three lines high either way: nothing wrapped.
    EXPECT_EQ(wide.bottom - wide.top, narrow.bottom - narrow.top);
    // A maximum width wraps: narrower than the one line, and higher.
    RECT line = tip.CalcTextRect("several words in a row", 0);
    RECT fixed = tip.CalcTextRect("several words in a row", 40);
    EXPECT_LE(fixed.right - fixed.left, 40 + 2 + 3);
    EXPECT_GT(fixed.bottom - fixed.top, line.bottom - line.top);
}

TEST_F(ToolTipTest, CallbackTextsComeFromTheOwnerOrFromTheInstanceItNames) {
    tip.AddTool(&childWnd, LPSTR_TEXTCALLBACK, nullptr, 3);
    COXToolTipInfo* info = tip.FindToolInfo(&childWnd, 3);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(std::string(tip.GetTipText(info)), "Asked");
    AddResourceModule(&g_module);
    g_answerInstance = reinterpret_cast<HINSTANCE>(&g_module);
    EXPECT_EQ(std::string(tip.GetTipText(info)), "From the module");
    RemoveResourceModule(&g_module);
    EXPECT_EQ(std::string(tip.GetTipText(info)), "");
    EXPECT_EQ(g_needTextCalls, 3);
}

// Where the marking triangle lies, from the tip's own font.
struct Triangle {
    int blanks, a, d, h;
};
Triangle Measure(HWND tipWnd) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, (HGDIOBJ)SendMessage(tipWnd, WM_GETFONT, 0, 0));
    TEXTMETRIC tm{};
    GetTextMetrics(dc, &tm);
    SIZE s{};
    GetTextExtentPoint32(dc, "  ", 2, &s);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return Triangle{(int)s.cx, (int)tm.tmAveCharWidth / 2,
                    std::max((int)tm.tmDescent, (int)(tm.tmInternalLeading + tm.tmExternalLeading)),
                    (int)s.cy & ~1};
}

TEST_F(ToolTipTest, ClicksSwitchBetweenTheShortAndTheLongPartAndKeepTheFocus) {
    SetFocus(edit);
    RECT r{0, 0, 100, 60};
    tip.AddTool(&childWnd, "Short\rThe long part", &r, 5);
    MoveTo(170, 160);
    Wait(500);
    ASSERT_TRUE(Shown());
    EXPECT_FALSE(tip.IsExtended());
    Pump();
    HWND tw = tip.GetSafeHwnd();
    PixelProbe px(tw);
    Triangle tr = Measure(tw);
    const int top = 2;
    RECT c;
    GetClientRect(tw, &c);
    WriteScreenshot(tw, "ToolTipShort");
    {
        // Short: the vertical edge on the left of the blanks, the point at the right margin.
        int right = c.right - 3, edge = right - tr.blanks + tr.a;
        EXPECT_EQ(px.At(edge, top + tr.h / 2), RGB(0, 0, 0));
        EXPECT_EQ(px.At(edge + 1, top + tr.d + 1), RGB(0, 0, 0));
        EXPECT_NE(px.At(right - 1, top + tr.d + 1), RGB(0, 0, 0));
        EXPECT_EQ(px.At(0, 0), RGB(0, 0, 0));  // the frame
        EXPECT_EQ(px.At(c.right - 2, c.bottom - 2), GetSysColor(COLOR_INFOBK));
    }
    RECT before = TipRect();
    SimulateClick(tw, 3, 3);
    Pump();
    ASSERT_TRUE(Shown());
    EXPECT_TRUE(tip.IsExtended());
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(TipRect().left, before.left);
    EXPECT_EQ(TipRect().top, before.top);
    GetClientRect(tw, &c);
    WriteScreenshot(tw, "ToolTipLong");
    {
        int left = 2, edge = left + tr.blanks - tr.a;
        EXPECT_EQ(px.At(edge, top + tr.h / 2), RGB(0, 0, 0));
        EXPECT_EQ(px.At(edge - 1, top + tr.d + 1), RGB(0, 0, 0));
        EXPECT_NE(px.At(left, top + tr.d + 1), RGB(0, 0, 0));
    }
    SimulateClick(tw, 3, 3);
    Pump();
    EXPECT_FALSE(tip.IsExtended());
    EXPECT_EQ(GetFocus(), edit);
}

}  // namespace
