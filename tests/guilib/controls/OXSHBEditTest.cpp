#include <gtest/gtest.h>

#include <vector>

#include "guilib/controls/OXSHBDropHelpers.h"
#include "guilib/controls/OXSHBEdit.h"
#include "tests/support/Gui.h"

namespace {

std::vector<int> g_finished;      // bOK of every end reported to the parent
std::vector<UINT> g_beneathMouse;  // mouse messages that reached the window beside the editor

LRESULT EditParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == SHBEN_FINISHEDIT)
        g_finished.push_back(reinterpret_cast<NMSHBEDIT*>(lp)->bOK);
    return DefWindowProc(hwnd, msg, wp, lp);
}

LRESULT BesideProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST)
        g_beneathMouse.push_back(msg);
    return DefWindowProc(hwnd, msg, wp, lp);
}

// A 300 x 200 parent at the screen's origin with the editor created hidden, as its owners create it, and
// a window beside where the editor stands.
class SHBEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_finished.clear();
        g_beneathMouse.clear();
        RegisterTestWindowClass("SHBEditParent", EditParentProc, COLOR_WINDOW);
        RegisterTestWindowClass("SHBEditBeside", BesideProc, COLOR_BTNFACE);
        ASSERT_TRUE(parent.CreateEx(0, "SHBEditParent", "editor", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                    nullptr));
        beside = CreateWindowEx(0, "SHBEditBeside", "", WS_CHILD | WS_VISIBLE, 200, 100, 80, 80,
                                parent.GetSafeHwnd(), nullptr, nullptr, nullptr);
        ASSERT_TRUE(edit.Create(WS_BORDER, RECT{0, 0, 0, 0}, &parent, 0xFFFF));
    }
    void TearDown() override {
        edit.DestroyWindow();
        parent.DestroyWindow();
        Pump();
    }
    SHBE_DISPLAY Record(LPCTSTR text) {
        SHBE_DISPLAY d;
        d.lpText = text;
        d.rectDisplay = RECT{10, 10, 110, 30};
        d.ptSelRange[0] = 0;
        d.ptSelRange[1] = -1;
        d.nMask = SHBEIF_TEXT | SHBEIF_RECTDISPLAY | SHBEIF_SELRANGE;
        return d;
    }
    RECT EditorRect() {
        RECT r{};
        ::GetWindowRect(edit.GetSafeHwnd(), &r);
        return r;
    }
    CWnd parent;
    HWND beside = nullptr;
    COXSHBEdit edit;
};

TEST_F(SHBEditTest, RefusedRecordsLeaveTheEditorHidden) {
    struct Case {
        const char* what;
        void (*change)(SHBE_DISPLAY&);
        BOOL accepted;
    } cases[] = {
        {"whole selection", [](SHBE_DISPLAY&) {}, TRUE},
        {"mask above 0x3FF", [](SHBE_DISPLAY& d) { d.nMask |= 0x400; }, FALSE},
        {"grow without a bound", [](SHBE_DISPLAY& d) { d.nMask |= SHBEIF_ENLARGE; }, FALSE},
        {"selection end at the length",
         [](SHBE_DISPLAY& d) {
             d.ptSelRange[0] = 0;
             d.ptSelRange[1] = 5;
         },
         FALSE},
        {"selection inside",
         [](SHBE_DISPLAY& d) {
             d.ptSelRange[0] = 1;
             d.ptSelRange[1] = 4;
         },
         TRUE},
        {"empty display", [](SHBE_DISPLAY& d) { d.rectDisplay = RECT{10, 10, 10, 30}; }, FALSE},
        {"display outside the bound",
         [](SHBE_DISPLAY& d) {
             d.rectMax = RECT{0, 0, 100, 100};
             d.nMask |= SHBEIF_RECTMAX;
         },
         FALSE},
        {"empty minimum",
         [](SHBE_DISPLAY& d) {
             d.rectMin = RECT{0, 0, 0, 0};
             d.nMask |= SHBEIF_RECTMIN;
         },
         FALSE},
    };
    for (const Case& c : cases) {
        SHBE_DISPLAY d = Record("Group");
        c.change(d);
        EXPECT_EQ(edit.StartEdit(&d), c.accepted) << c.what;
        EXPECT_EQ(::IsWindowVisible(edit.GetSafeHwnd()) != 0, c.accepted != 0) << c.what;
        if (c.accepted)
            edit.FinishEdit(FALSE);
    }
}

TEST_F(SHBEditTest, KeysEndTheEditAndReportIt) {
    for (UINT key : {VK_ESCAPE, VK_RETURN}) {
        SHBE_DISPLAY d = Record("Group");
        ASSERT_TRUE(edit.StartEdit(&d));
        EXPECT_EQ(::GetFocus(), edit.GetSafeHwnd());
        EXPECT_EQ(::GetCapture(), edit.GetSafeHwnd());
        RECT r = EditorRect();
        EXPECT_EQ(r.left, 10);
        EXPECT_EQ(r.top, 10);
        EXPECT_EQ(r.right, 110);
        SimulateKey(key);
        Pump(true);
        EXPECT_FALSE(::IsWindowVisible(edit.GetSafeHwnd()));
        EXPECT_FALSE(edit.IsEditing());
        EXPECT_NE(::GetCapture(), edit.GetSafeHwnd());
    }
    EXPECT_EQ(g_finished, (std::vector<int>{FALSE, TRUE}));
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(text, "Group");
}

TEST_F(SHBEditTest, AClickOutsideEndsTheEditAndReachesTheWindowUnderIt) {
    SHBE_DISPLAY d = Record("Group");
    ASSERT_TRUE(edit.StartEdit(&d));
    PostMouseInput(WM_MOUSEMOVE, POINT{240, 140}, 0);
    Pump();
    EXPECT_TRUE(edit.IsEditing()) << "moving outside goes on editing";
    EXPECT_TRUE(g_finished.empty());
    PostMouseInput(WM_LBUTTONDOWN, POINT{240, 140}, MK_LBUTTON);
    Pump();
    EXPECT_EQ(g_finished, (std::vector<int>{TRUE}));
    EXPECT_FALSE(::IsWindowVisible(edit.GetSafeHwnd()));
    EXPECT_EQ(g_beneathMouse, (std::vector<UINT>{WM_MOUSEMOVE, WM_LBUTTONDOWN}));
}

TEST_F(SHBEditTest, LosingTheFocusEndsTheEditWithSuccess) {
    SHBE_DISPLAY d = Record("Group");
    ASSERT_TRUE(edit.StartEdit(&d));
    ::SetFocus(beside);
    Pump();
    EXPECT_EQ(g_finished, (std::vector<int>{TRUE}));
    EXPECT_FALSE(edit.IsEditing());
}

TEST_F(SHBEditTest, GrowsWithItsTextWithinTheBoundAndReturnsWhenEmptied) {
    SHBE_DISPLAY d = Record("ab");
    d.rectMax = RECT{5, 10, 205, 80};
    d.bEnlargeAsTyping = TRUE;
    d.dwStyle = WS_BORDER | ES_AUTOHSCROLL | ES_CENTER;
    d.nMask |= SHBEIF_RECTMAX | SHBEIF_ENLARGE | SHBEIF_STYLE;
    d.rectDisplay = RECT{80, 10, 130, 30};
    ASSERT_TRUE(edit.StartEdit(&d));
    SimulateChars("a rather long label for a group");
    Pump(true);
    RECT grown = EditorRect();
    EXPECT_GT(grown.right - grown.left, 50);
    EXPECT_LE(grown.right - grown.left, 200);
    EXPECT_EQ(grown.top, 10);
    // Centred within the bound.
    EXPECT_LE(std::abs((grown.left + grown.right) - (5 + 205)), 1);
    edit.SetSel(0, -1);
    SimulateKey(VK_DELETE);
    Pump(true);
    RECT back = EditorRect();
    EXPECT_EQ(back.left, 80);
    EXPECT_EQ(back.right, 130);
    EXPECT_EQ(back.bottom, 30);
}

TEST_F(SHBEditTest, PaintsInTheRecordsColours) {
    SHBE_DISPLAY d = Record("");
    d.clrBack = RGB(0, 128, 0);
    d.nMask |= SHBEIF_CLRBACK;
    ASSERT_TRUE(edit.StartEdit(&d));
    ::UpdateWindow(parent.GetSafeHwnd());
    Pump();
    EXPECT_EQ(PixelProbe(parent.GetSafeHwnd()).At(100, 20), RGB(0, 128, 0));
}

// Drag-scroll forwarding: the window's answer decides, and the band inside its edges scrolls only
// directions that can scroll.
std::vector<UINT> g_scrolls;
DWORD g_scrollAnswer = 0;
LRESULT ScrollTargetProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == SHBDTM_DRAGSCROLL) {
        reinterpret_cast<SHBDROPTARGETACTION*>(lp)->result = g_scrollAnswer;
        return 1;
    }
    if (msg == WM_VSCROLL || msg == WM_HSCROLL)
        g_scrolls.push_back(msg);
    return DefWindowProc(hwnd, msg, wp, lp);
}

TEST(SHBDropTargetTest, DragScrollingFollowsTheWindowsAnswerAndItsScrollableDirections) {
    DrivenClock clock;
    g_scrolls.clear();
    RegisterTestWindowClass("SHBScrollTarget", ScrollTargetProc, COLOR_WINDOW);
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, "SHBScrollTarget", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr));
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE, 0, 500, 100, 0, 0};
    ::SetScrollInfo(wnd.GetSafeHwnd(), SB_HORZ, &si, FALSE);  // only horizontally, without the style
    SCROLLINFO none{sizeof none, SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
    ::SetScrollInfo(wnd.GetSafeHwnd(), SB_VERT, &none, FALSE);
    COXSHBDropTarget target;
    ASSERT_TRUE(target.Register(&wnd));

    g_scrollAnswer = DROPEFFECT_COPY;
    EXPECT_EQ(target.OnDragScroll(&wnd, 0, POINT{195, 50}), (DROPEFFECT)DROPEFFECT_COPY);
    g_scrollAnswer = DROPEFFECT_SCROLL;
    EXPECT_EQ(target.OnDragScroll(&wnd, 0, POINT{100, 50}), (DROPEFFECT)DROPEFFECT_NONE) << "inside the band";
    EXPECT_EQ(target.OnDragScroll(&wnd, MK_CONTROL, POINT{195, 50}), DROPEFFECT_SCROLL | DROPEFFECT_COPY);
    EXPECT_TRUE(g_scrolls.empty()) << "the delay runs first";
    clock.Advance(COleDropTarget::nScrollDelay);
    EXPECT_EQ(target.OnDragScroll(&wnd, 0, POINT{195, 50}), DROPEFFECT_SCROLL);
    EXPECT_EQ(g_scrolls, (std::vector<UINT>{WM_HSCROLL}));
    // The top edge: vertical cannot scroll, so nothing moves.
    g_scrolls.clear();
    EXPECT_EQ(target.OnDragScroll(&wnd, 0, POINT{100, 2}), (DROPEFFECT)DROPEFFECT_NONE);
    clock.Advance(1000);
    target.OnDragScroll(&wnd, 0, POINT{100, 2});
    EXPECT_TRUE(g_scrolls.empty());
    target.Revoke();
    wnd.DestroyWindow();
}

}  // namespace
