// A window's tooltips through the framework: EnableToolTips, the default OnToolHitTest over child
// controls, texts after "\n" in the string table, and a program's own hit test.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/framework/controls/ToolTipCtrl.h"
#include "platform/framework/window/Wnd.h"
#include "platform/user/Resources.h"
#include "tests/support/Gui.h"

namespace {
constexpr int kSaveId = 57603;

class Strings : public ResourceModule {
public:
    const char* FindString(UINT id) const override {
        if (id == kSaveId)
            return "Save the active document\nSave";
        if (id == 300)
            return "No tip here";
        return nullptr;
    }
};

// Tools of its own: the right half of the client area is tool 42 with a text of its own.
class CTipWindow : public CWnd {
public:
    INT_PTR OnToolHitTest(POINT point, TOOLINFO* info) const override {
        if (point.x < 200)
            return CWnd::OnToolHitTest(point, info);
        info->hwnd = m_hWnd;
        info->uId = 42;
        info->rect = RECT{200, 0, 400, 300};
        info->lpszText = strdup("Own tool");
        return 42;
    }
};

class ToolTipsTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddResourceModule(&strings);
        ASSERT_TRUE(wnd.CreateEx(0, AfxWndClassName(), "tips", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                 nullptr));
        ::SetActiveWindow(wnd.m_hWnd);
        save = CreateWindowEx(0, WC_BUTTON, "Save", WS_CHILD | WS_VISIBLE, 10, 10, 80, 24, wnd.m_hWnd,
                              (HMENU)(UINT_PTR)kSaveId, nullptr, nullptr);
        plain = CreateWindowEx(0, WC_BUTTON, "Plain", WS_CHILD | WS_VISIBLE, 10, 50, 80, 24, wnd.m_hWnd, (HMENU)300,
                               nullptr, nullptr);
        ASSERT_TRUE(wnd.EnableToolTips());
    }
    void TearDown() override {
        CWnd::CancelToolTips();
        wnd.DestroyWindow();
        RemoveResourceModule(&strings);
        Pump();
    }
    // A program's loop: each message passes the windows' PreTranslateMessage first.
    static void Loop() {
        MSG m;
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
            for (HWND h = m.hwnd; h; h = GetParent(h))
                if (CWnd* w = CWnd::FromHandlePermanent(h))
                    w->PreTranslateMessage(&m);
            DispatchMessage(&m);
        }
    }
    void MoveTo(HWND hwnd, int x, int y) {
        POINT p{x, y};
        ClientToScreen(hwnd, &p);
        PostMouseInput(WM_MOUSEMOVE, p, 0);
        Loop();
    }
    // The thread's tip window, if one shows.
    static HWND ShownTip() {
        HWND found = nullptr;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND h, LPARAM out) -> BOOL {
                char cls[64];
                GetClassName(h, cls, sizeof cls);
                if (std::strcmp(cls, TOOLTIPS_CLASS) == 0 && IsWindowVisible(h))
                    *reinterpret_cast<HWND*>(out) = h;
                return TRUE;
            },
            (LPARAM)&found);
        return found;
    }
    static CString TipText(HWND tip) {
        TOOLINFO ti{};
        ti.cbSize = sizeof ti;
        if (!SendMessage(tip, TTM_GETCURRENTTOOL, 0, (LPARAM)&ti))
            return "";
        char text[80] = "";
        ti.lpszText = text;
        SendMessage(tip, TTM_GETTEXT, sizeof text, (LPARAM)&ti);
        return text;
    }
    DrivenClock clock;
    Strings strings;
    CTipWindow wnd;
    HWND save = nullptr, plain = nullptr;
};

TEST_F(ToolTipsTest, AControlsTipIsTheStringAfterItsNewline) {
    MoveTo(save, 5, 5);
    clock.Advance(500);
    Loop();
    HWND tip = ShownTip();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(TipText(tip), CString("Save"));
    // Leaving for a control whose string has no tip part hides it and shows nothing.
    MoveTo(plain, 5, 5);
    clock.Advance(600);
    Loop();
    EXPECT_EQ(ShownTip(), nullptr);
    // A key cancels a shown tip.
    MoveTo(save, 6, 6);
    clock.Advance(500);
    Loop();
    ASSERT_NE(ShownTip(), nullptr);
    PostMessage(save, WM_KEYDOWN, VK_SPACE, 0);
    Loop();
    EXPECT_EQ(ShownTip(), nullptr);
}

TEST_F(ToolTipsTest, AProgramsOwnHitTestGivesItsToolsAndTexts) {
    MoveTo(wnd.m_hWnd, 300, 100);
    clock.Advance(500);
    Loop();
    HWND tip = ShownTip();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(TipText(tip), CString("Own tool"));
    wnd.EnableToolTips(FALSE);
    EXPECT_EQ(ShownTip(), nullptr);
    MoveTo(save, 5, 5);
    clock.Advance(1000);
    Loop();
    EXPECT_EQ(ShownTip(), nullptr);
}
}  // namespace
