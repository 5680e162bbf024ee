#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/user/Tab.h"
#include "tests/support/Gui.h"

namespace {
// The controls' parent: records notifications and scroll messages, answers as a test scripts.
struct Parent {
    std::vector<UINT> codes;
    std::vector<std::pair<UINT, WPARAM>> scrolls;  // WM_HSCROLL / WM_VSCROLL with wParam
    std::vector<NMUPDOWN> deltas;
    std::function<LRESULT(NMHDR*)> answer;
};
Parent* g_parent = nullptr;

LRESULT ParentProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (g_parent && msg == WM_NOTIFY) {
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        g_parent->codes.push_back(hdr->code);
        if (hdr->code == UDN_DELTAPOS)
            g_parent->deltas.push_back(*reinterpret_cast<NMUPDOWN*>(lp));
        return g_parent->answer ? g_parent->answer(hdr) : 0;
    }
    if (g_parent && (msg == WM_HSCROLL || msg == WM_VSCROLL)) {
        g_parent->scrolls.push_back({msg, wp});
        return 0;
    }
    return DefWindowProc(h, msg, wp, lp);
}

class TabTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestWindowClass("TabTestParent", ParentProc, COLOR_3DFACE);
        g_parent = &parent;
        top = CreateWindowEx(0, "TabTestParent", "tabs", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                             nullptr, nullptr);
    }
    void TearDown() override {
        DestroyWindow(top);
        g_parent = nullptr;
        Pump();
    }
    HWND MakeTabs(DWORD style, int width, std::vector<const char*> labels, int height = 120) {
        HWND tab = CreateWindowEx(0, WC_TABCONTROL, nullptr, WS_CHILD | WS_VISIBLE | style, 10, 10, width, height,
                                  top, (HMENU)100, nullptr, nullptr);
        for (size_t i = 0; i < labels.size(); ++i) {
            TCITEM it{};
            it.mask = TCIF_TEXT | TCIF_PARAM;
            it.pszText = const_cast<LPSTR>(labels[i]);
            it.lParam = (LPARAM)(i + 10);
            SendMessage(tab, TCM_INSERTITEM, i, (LPARAM)&it);
        }
        return tab;
    }
    static RECT ItemRect(HWND tab, int i) {
        RECT r{};
        SendMessage(tab, TCM_GETITEMRECT, (WPARAM)i, (LPARAM)&r);
        return r;
    }
    static HWND UpDownOf(HWND tab) { return FindChild(tab, UPDOWN_CLASS); }
    static HWND FindChild(HWND parent, const char* cls) {
        for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            char name[64];
            GetClassName(c, name, sizeof name);
            if (std::string(name) == cls)
                return c;
        }
        return nullptr;
    }
    Parent parent;
    HWND top = nullptr;
};

TEST_F(TabTest, ItemsKeepTextDataAndTheSelection) {
    HWND tab = MakeTabs(0, 300, {"One", "Two", "Three"});
    EXPECT_EQ(SendMessage(tab, TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessage(tab, TCM_GETCURSEL, 0, 0), 0);
    char buf[16];
    TCITEM it{};
    it.mask = TCIF_TEXT | TCIF_PARAM;
    it.pszText = buf;
    it.cchTextMax = 4;  // truncated to what fits
    ASSERT_TRUE(SendMessage(tab, TCM_GETITEM, 2, (LPARAM)&it));
    EXPECT_STREQ(buf, "Thr");
    EXPECT_EQ(it.lParam, 12);
    EXPECT_FALSE(SendMessage(tab, TCM_GETITEM, 3, (LPARAM)&it));
    EXPECT_EQ(SendMessage(tab, TCM_SETCURSEL, 2, 0), 0);
    EXPECT_EQ(SendMessage(tab, TCM_SETCURSEL, 7, 0), -1);
    // Inserting before the selection keeps the same tab selected; deleting it leaves none.
    TCITEM first{};
    first.mask = TCIF_TEXT;
    first.pszText = const_cast<LPSTR>("Zero");
    SendMessage(tab, TCM_INSERTITEM, 0, (LPARAM)&first);
    EXPECT_EQ(SendMessage(tab, TCM_GETCURSEL, 0, 0), 3);
    SendMessage(tab, TCM_DELETEITEM, 3, 0);
    EXPECT_EQ(SendMessage(tab, TCM_GETCURSEL, 0, 0), -1);
    EXPECT_TRUE(parent.codes.empty()) << "programmatic selection tells nobody";
}

TEST_F(TabTest, AClickAsksThenTellsAndMayBeRefused) {
    HWND tab = MakeTabs(0, 300, {"One", "Two", "Three"});
    RECT r = ItemRect(tab, 1);
    SimulateClick(tab, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Pump();
    EXPECT_EQ(parent.codes, (std::vector<UINT>{NM_SETFOCUS, TCN_SELCHANGING, TCN_SELCHANGE, NM_CLICK}));
    EXPECT_EQ(SendMessage(tab, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(GetFocus(), tab);

    parent.codes.clear();
    parent.answer = [](NMHDR* h) -> LRESULT { return h->code == TCN_SELCHANGING; };
    r = ItemRect(tab, 2);
    SimulateClick(tab, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Pump();
    EXPECT_EQ(parent.codes, (std::vector<UINT>{TCN_SELCHANGING, NM_CLICK}));
    EXPECT_EQ(SendMessage(tab, TCM_GETCURSEL, 0, 0), 1);

    // Arrow keys move the selection the same way; TCS_FOCUSNEVER keeps the focus where it was.
    parent.answer = nullptr;
    parent.codes.clear();
    SendMessage(tab, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(parent.codes, (std::vector<UINT>{TCN_KEYDOWN, TCN_SELCHANGING, TCN_SELCHANGE}));
    EXPECT_EQ(SendMessage(tab, TCM_GETCURSEL, 0, 0), 2);
    DestroyWindow(tab);
    HWND never = MakeTabs(TCS_FOCUSNEVER, 300, {"A", "B"});
    SetFocus(top);
    ClickCentre(never);
    Pump();
    EXPECT_EQ(GetFocus(), top);
}

TEST_F(TabTest, HitTestsAndTheDisplayAreaMatchTheDrawnTabsOnEitherSide) {
    for (DWORD style : {0ul, (unsigned long)TCS_BOTTOM}) {
        SCOPED_TRACE(style ? "bottom" : "top");
        HWND tab = MakeTabs(style, 300, {"One", "Two", "Three"});
        UpdateWindow(top);
        ScreenshotOnFailure shot(top);
        RECT client;
        GetClientRect(tab, &client);
        for (int i = 0; i < 3; ++i) {
            RECT r = ItemRect(tab, i);
            TCHITTESTINFO info{{(r.left + r.right) / 2, (r.top + r.bottom) / 2}, 0};
            EXPECT_EQ(SendMessage(tab, TCM_HITTEST, 0, (LPARAM)&info), i);
            EXPECT_EQ(info.flags, (UINT)TCHT_ONITEMLABEL);
            if (style)
                EXPECT_GT(r.top, client.bottom / 2);
            else
                EXPECT_LT(r.bottom, client.bottom / 2);
        }
        TCHITTESTINFO nowhere{{150, 60}, 0};
        EXPECT_EQ(SendMessage(tab, TCM_HITTEST, 0, (LPARAM)&nowhere), -1);
        EXPECT_EQ(nowhere.flags, (UINT)TCHT_NOWHERE);

        // The display area lies inside the pane's edge, next to the tabs; the larger rectangle undoes it.
        RECT display = client;
        SendMessage(tab, TCM_ADJUSTRECT, FALSE, (LPARAM)&display);
        RECT tabs = ItemRect(tab, 0);
        if (style) {
            EXPECT_EQ(display.bottom + 4, tabs.top);
            EXPECT_EQ(display.top, 4);
        } else {
            EXPECT_EQ(display.top - 4, tabs.bottom);
            EXPECT_EQ(display.bottom, client.bottom - 4);
        }
        EXPECT_EQ(display.left, 4);
        RECT back = display;
        SendMessage(tab, TCM_ADJUSTRECT, TRUE, (LPARAM)&back);
        EXPECT_TRUE(EqualRect(&back, &client));

        // The pane's outer edge line runs where the display area says: highlight on the tabs' side at
        // the top, dark shadow at the bottom; right of the last tab nothing but the pane's line shows.
        PixelProbe probe(top);
        int x = 10 + client.right - 20;
        int edgeY = 10 + (style ? display.bottom + 3 : display.top - 4);
        EXPECT_EQ(probe.At(x, edgeY), GetSysColor(style ? COLOR_3DDKSHADOW : COLOR_3DHILIGHT));
        EXPECT_EQ(probe.At(x, edgeY + (style ? 1 : -1)), GetSysColor(COLOR_3DFACE));
        // The selected tab opens into the pane: no line under it.
        RECT sel = ItemRect(tab, 0);
        EXPECT_EQ(probe.At(10 + (sel.left + sel.right) / 2, edgeY), GetSysColor(COLOR_3DFACE));
        DestroyWindow(tab);
    }
}

TEST_F(TabTest, TabsTooWideScrollWithAnUpDownChild) {
    HWND tab = MakeTabs(0, 300, {"A first long label", "A second long label", "A third long label"});
    HWND ud = UpDownOf(tab);
    ASSERT_NE(ud, nullptr);
    EXPECT_TRUE(GetWindowLongPtr(ud, GWL_STYLE) & UDS_HORZ);
    RECT udRect;
    GetWindowRect(ud, &udRect);
    MapWindowPoints(nullptr, tab, reinterpret_cast<POINT*>(&udRect), 2);
    EXPECT_EQ(udRect.right, 300);
    RECT before = ItemRect(tab, 1);

    // The right arrow scrolls one tab on: the second tab comes to where the first was.
    SimulateClick(ud, udRect.right - udRect.left - 3, 3);
    Pump();
    RECT after = ItemRect(tab, 1);
    EXPECT_EQ(after.left, ItemRect(tab, 0).right);
    EXPECT_EQ(after.left, 2);
    EXPECT_LT(ItemRect(tab, 0).left, 0);
    EXPECT_LT(ItemRect(tab, 2).right, before.right + 200);
    // A click where the first tab was now selects the second.
    TCHITTESTINFO info{{after.left + 5, (after.top + after.bottom) / 2}, 0};
    EXPECT_EQ(SendMessage(tab, TCM_HITTEST, 0, (LPARAM)&info), 1);
    // The left arrow scrolls back, and no further than the first tab.
    SimulateClick(ud, 3, 3);
    SimulateClick(ud, 3, 3);
    Pump();
    EXPECT_EQ(ItemRect(tab, 0).left, 2);

    // Wide enough again, the up-down goes.
    MoveWindow(tab, 10, 10, 390, 120, TRUE);
    SendMessage(tab, TCM_DELETEITEM, 2, 0);
    EXPECT_EQ(UpDownOf(tab), nullptr);
    // Multi-line tabs wrap into rows instead, the selected row next to the pane.
    HWND multi = MakeTabs(TCS_MULTILINE, 200, {"A first long label", "A second long label", "Third"});
    EXPECT_EQ(UpDownOf(multi), nullptr);
    EXPECT_GE(SendMessage(multi, TCM_GETROWCOUNT, 0, 0), 2);
    SendMessage(multi, TCM_SETCURSEL, 0, 0);
    EXPECT_GT(ItemRect(multi, 0).top, ItemRect(multi, 2).top);
    SendMessage(multi, TCM_SETCURSEL, 2, 0);
    EXPECT_GT(ItemRect(multi, 2).top, ItemRect(multi, 0).top);
}

TEST_F(TabTest, VerticalTabsLieAlongTheirSide) {
    for (DWORD side : {0ul, (unsigned long)TCS_RIGHT}) {
        HWND tab = MakeTabs(TCS_VERTICAL | TCS_MULTILINE | side, 200, {"One", "Two"}, 200);
        RECT a = ItemRect(tab, 0), b = ItemRect(tab, 1);
        EXPECT_EQ(a.left, b.left);
        EXPECT_GT(b.top, a.top);
        EXPECT_GT(a.bottom - a.top, a.right - a.left) << "a tab is as long as its label, upright";
        RECT display{0, 0, 200, 200};
        SendMessage(tab, TCM_ADJUSTRECT, FALSE, (LPARAM)&display);
        if (side)
            EXPECT_EQ(display.right + 4, a.left);
        else
            EXPECT_EQ(display.left - 4, a.right);
        DestroyWindow(tab);
    }
}

// ---- Up-down ----

class UpDownTest : public TabTest {
protected:
    HWND MakeUpDown(DWORD style, int x = 50) {
        return CreateWindowEx(0, UPDOWN_CLASS, nullptr, WS_CHILD | WS_VISIBLE | style, x, 50, 16, 24, top,
                              (HMENU)200, nullptr, nullptr);
    }
};

TEST_F(UpDownTest, RangeAndPositionInBothForms) {
    HWND ud = MakeUpDown(0);
    int lo = 0, hi = 0;
    SendMessage(ud, UDM_GETRANGE32, (WPARAM)&lo, (LPARAM)&hi);
    EXPECT_EQ(lo, 100);  // the control's own default runs downwards
    EXPECT_EQ(hi, 0);
    SendMessage(ud, UDM_SETRANGE, 0, MAKELPARAM(20, -5));
    EXPECT_EQ(SendMessage(ud, UDM_GETRANGE, 0, 0), MAKELRESULT(20, -5));
    SendMessage(ud, UDM_SETPOS, 0, MAKELPARAM(50, 0));
    EXPECT_EQ(LOWORD(SendMessage(ud, UDM_GETPOS, 0, 0)), 20) << "clamped to the range";
    SendMessage(ud, UDM_SETRANGE32, 0, 100000);
    SendMessage(ud, UDM_SETPOS32, 0, 70000);
    BOOL error = TRUE;
    EXPECT_EQ(SendMessage(ud, UDM_GETPOS32, 0, (LPARAM)&error), 70000);
    EXPECT_FALSE(error);
}

TEST_F(UpDownTest, ArrowsAskTheParentThenTellItAndRepeatWhileHeld) {
    DrivenClock clock;
    HWND ud = MakeUpDown(0);
    SendMessage(ud, UDM_SETRANGE32, 0, 10);
    SendMessage(ud, UDM_SETPOS32, 0, 5);
    SimulateClick(ud, 8, 3);  // the upper arrow
    Pump();
    EXPECT_EQ(SendMessage(ud, UDM_GETPOS32, 0, 0), 6);
    ASSERT_EQ(parent.deltas.size(), 1u);
    EXPECT_EQ(parent.deltas[0].iPos, 5);
    EXPECT_EQ(parent.deltas[0].iDelta, 1);
    ASSERT_EQ(parent.scrolls.size(), 2u);
    EXPECT_EQ(parent.scrolls[0], (std::pair<UINT, WPARAM>{WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 6)}));
    EXPECT_EQ(parent.scrolls[1], (std::pair<UINT, WPARAM>{WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0)}));

    // Refused by the parent: nothing moves.
    parent.answer = [](NMHDR*) -> LRESULT { return 1; };
    SimulateClick(ud, 8, 20);
    Pump();
    EXPECT_EQ(SendMessage(ud, UDM_GETPOS32, 0, 0), 6);
    parent.answer = nullptr;

    // Held down, the lower arrow repeats on the clock until released, stopping at the range's end.
    POINT p{8, 20};
    ClientToScreen(ud, &p);
    PostMouseInput(WM_LBUTTONDOWN, p, MK_LBUTTON);
    Pump();
    EXPECT_EQ(SendMessage(ud, UDM_GETPOS32, 0, 0), 5);
    clock.Advance(400);
    Pump();
    EXPECT_EQ(SendMessage(ud, UDM_GETPOS32, 0, 0), 4);
    for (int i = 0; i < 10; ++i) {
        clock.Advance(100);
        Pump();
    }
    EXPECT_EQ(SendMessage(ud, UDM_GETPOS32, 0, 0), 0);
    PostMouseInput(WM_LBUTTONUP, p, 0);
    Pump();
    clock.Advance(1000);
    Pump();
    EXPECT_EQ(SendMessage(ud, UDM_GETPOS32, 0, 0), 0);

    // Wrapping goes round; horizontal ones tell WM_HSCROLL, the right arrow moving up.
    SetWindowLongPtr(ud, GWL_STYLE, GetWindowLongPtr(ud, GWL_STYLE) | UDS_WRAP);
    SimulateClick(ud, 8, 20);
    Pump();
    EXPECT_EQ(SendMessage(ud, UDM_GETPOS32, 0, 0), 10);
    HWND horz = MakeUpDown(UDS_HORZ, 100);
    SendMessage(horz, UDM_SETRANGE32, 0, 10);
    parent.scrolls.clear();
    SimulateClick(horz, 12, 12);
    Pump();
    EXPECT_EQ(SendMessage(horz, UDM_GETPOS32, 0, 0), 1);
    ASSERT_FALSE(parent.scrolls.empty());
    EXPECT_EQ(parent.scrolls[0].first, (UINT)WM_HSCROLL);
}

TEST_F(UpDownTest, AnIntegerBuddyShowsAndGivesThePosition) {
    HWND edit = CreateWindowEx(0, WC_EDIT, "", WS_CHILD | WS_VISIBLE, 10, 100, 80, 20, top, (HMENU)300, nullptr,
                               nullptr);
    HWND ud = MakeUpDown(UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY);
    EXPECT_EQ((HWND)SendMessage(ud, UDM_GETBUDDY, 0, 0), edit);
    RECT e, u;
    GetWindowRect(edit, &e);
    GetWindowRect(ud, &u);
    EXPECT_EQ(u.left, e.right);
    EXPECT_EQ(u.top, e.top);
    EXPECT_EQ(u.bottom, e.bottom);
    SendMessage(ud, UDM_SETRANGE32, 0, 5000);
    SendMessage(ud, UDM_SETPOS32, 0, 1234);
    EXPECT_EQ(GetWindowTextString(edit), CString("1,234"));
    SetWindowText(edit, "42");
    EXPECT_EQ(LOWORD(SendMessage(ud, UDM_GETPOS, 0, 0)), 42);
    SetWindowText(edit, "forty");
    LRESULT r = SendMessage(ud, UDM_GETPOS, 0, 0);
    EXPECT_NE(HIWORD(r), 0) << "text that is no number reports an error";
    EXPECT_EQ(LOWORD(r), 42);
}
}  // namespace
