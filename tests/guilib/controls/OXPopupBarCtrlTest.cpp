#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "guilib/controls/OXPopupBarCtrl.h"
#include "tests/support/Gui.h"

namespace {

// Exposes the key handler and the indexes for the navigation table.
class ProbeBar : public COXPopupBarCtrl {
public:
    using COXPopupBarCtrl::COXPopupBarCtrl;
    void Key(UINT vk) { OnKeyDown(vk); }
    void Hot(int index) { m_nHotIndex = index; }
    void Style(DWORD style) { m_dwPopupBarStyle = style; }
    RECT TearOffBar() const { return m_rectTearOffBar; }
};

std::vector<UINT> g_beneath;  // messages the window under the bar received
std::vector<LPARAM> g_picked;  // the bars a floating pick was reported from
LRESULT BeneathProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP)
        g_beneath.push_back(msg);
    if (msg == WM_POPUPBAR_PICKED)
        g_picked.push_back(lp);
    return DefWindowProc(hwnd, msg, wp, lp);
}

class PopupBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestWindowClass("PopupBarOwner", BeneathProc, COLOR_WINDOW);
        ASSERT_TRUE(owner.CreateEx(0, "PopupBarOwner", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                   nullptr));
        SetActiveWindow(owner.GetSafeHwnd());
        g_beneath.clear();
        g_picked.clear();
    }
    void TearDown() override {
        owner.DestroyWindow();
        Pump();
    }
    // A bar of 40 values 100, 101, ... in 4 rows, with default and custom buttons.
    void Fill(COXPopupBarCtrl& bar, DWORD style = POPUPBAR_NOTEAROFF) {
        ASSERT_TRUE(bar.Create(&owner, style));
        std::vector<DWORD> values;
        for (DWORD v = 0; v < bar.GetNumButtons(); ++v)
            values.push_back(100 + v);
        bar.SetButtonValues(values.data(), (UINT)values.size());
        bar.SetDefaultButtonText("Default");
        bar.SetCustomButtonText("Custom...");
    }
    // A screen point at the centre of a client rectangle of the bar.
    static POINT Centre(const COXPopupBarCtrl& bar, RECT rc) {
        POINT p{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        ClientToScreen(bar.GetSafeHwnd(), &p);
        return p;
    }
    CWnd owner;
};

TEST_F(PopupBarTest, LayoutGivesColumnsAndWidthFromTheButtons) {
    const int FX = GetSystemMetrics(SM_CXFIXEDFRAME);
    struct Case {
        UINT buttons, rows;
        UINT columns;
        int width;
    } cases[] = {
        {40, 4, 10, 180 + 2 * FX + 8},
        {41, 4, 11, 198 + 2 * FX + 8},
        {5, 0, 5, 90 + 2 * FX + 8},  // no rows count as one
    };
    for (const Case& c : cases) {
        COXPopupBarCtrl bar(c.buttons, c.rows, 0xFFFFFFFF, 18, 18);
        bar.SetDefaultButtonText("Default");
        bar.SetCustomButtonText("Custom...");
        ASSERT_TRUE(bar.CalcWindowSize());
        EXPECT_EQ(bar.GetNumColumns(), c.columns) << c.buttons;
        RECT rc = bar.GetWindowRectCalc();
        EXPECT_EQ(rc.right - rc.left, c.width) << c.buttons;
    }
    // The grid starts below the default button; the custom button follows the last row.
    ProbeBar bar(40, 4, 0xFFFFFFFF, 18, 18);
    bar.Style(POPUPBAR_NOTEAROFF);
    ASSERT_TRUE(bar.CalcWindowSize());
    RECT def = bar.GetDefaultButtonRect(), first = bar.GetButtonRect(0), last = bar.GetButtonRect(39),
         custom = bar.GetCustomButtonRect();
    EXPECT_EQ(def.left, 4);
    EXPECT_EQ(def.top, 2);
    EXPECT_EQ(first.left, 4);
    EXPECT_EQ(first.top, def.bottom + 2);
    EXPECT_EQ(last.left, 4 + 9 * 18);
    EXPECT_EQ(last.top, first.top + 3 * 18);
    EXPECT_EQ(def.right - def.left, 180);
    EXPECT_EQ(custom.top, last.bottom + 2);
    RECT window = bar.GetWindowRectCalc();
    EXPECT_EQ(window.bottom - window.top, custom.bottom + 2 + 2 * GetSystemMetrics(SM_CYFIXEDFRAME));

    // A tear-off bar comes first and pushes the rest down.
    bar.Style(0);
    ASSERT_TRUE(bar.CalcWindowSize());
    EXPECT_EQ(bar.GetDefaultButtonRect().top, def.top + 7);
    EXPECT_EQ(bar.GetButtonRect(0).top, first.top + 7);
}

TEST_F(PopupBarTest, AlignmentsPlaceTheWindowAroundTheBase) {
    COXPopupBarCtrl bar(4, 1, 0xFFFFFFFF, 10, 10);
    ASSERT_TRUE(bar.CalcWindowSize());
    RECT win = bar.GetWindowRectCalc();
    int w = win.right - win.left, h = win.bottom - win.top;
    const RECT base{200, 150, 260, 170};
    const int dx = 3, dy = 5;
    POINT expected[9] = {
        {200 - w - dx, 150 + dy}, {260 + dx, 150 + dy},     {200 + dx, 150 - h - dy},
        {200 + dx, 170 + dy},     {200 - w - dx, 170 - h - dy}, {260 + dx, 170 - h - dy},
        {260 - w - dx, 150 - h - dy}, {260 - w - dx, 170 + dy}, {0, 0},
    };
    for (UINT a = 0; a < 9; ++a) {
        ASSERT_TRUE(bar.AdjustWindowPosition(a, base, dx, dy));
        RECT rc = bar.GetWindowRectCalc();
        EXPECT_EQ(rc.left, expected[a].x) << a;
        EXPECT_EQ(rc.top, expected[a].y) << a;
        EXPECT_EQ(rc.right - rc.left, w);
    }
    // A bar larger than the screen area does not fit.
    COXPopupBarCtrl huge(4, 1, 0xFFFFFFFF, 5000, 10);
    ASSERT_TRUE(huge.CalcWindowSize());
    EXPECT_FALSE(huge.AdjustWindowPosition(3, base, 0, 0));
}

TEST_F(PopupBarTest, KeysMoveTheHotButtonAcrossGridAndExtraButtons) {
    // 10 buttons in 2 rows: K = 5, N = 10; index 0 default, 11 custom.
    struct Case {
        DWORD style;
        int hot;
        UINT key;
        bool shift;
        int expected;
    } cases[] = {
        {0, -1, VK_RIGHT, false, 0},   {0, 11, VK_RIGHT, false, 0},  {0, 3, VK_RIGHT, false, 4},
        {0, -1, VK_LEFT, false, 11},   {0, 0, VK_LEFT, false, 11},
        {0, 8, VK_DOWN, false, 11},    // last row, custom below
        {POPUPBAR_NOCUSTOM, 8, VK_DOWN, false, 0},  // wraps to the first index
        {0, 0, VK_DOWN, false, 1},     {0, 2, VK_DOWN, false, 7},
        {0, 3, VK_UP, false, 0},       // first row, default above
        {POPUPBAR_NODEFAULT, 3, VK_UP, false, 11},  // wraps to the last index
        {0, 11, VK_UP, false, 10},     {0, 8, VK_UP, false, 3},
        {0, -1, VK_TAB, false, 0},     {0, 0, VK_TAB, false, 1},     {0, 4, VK_TAB, false, 11},
        {POPUPBAR_NOCUSTOM, 4, VK_TAB, false, 0},
        {0, 11, VK_TAB, true, 1},      {0, 4, VK_TAB, true, 0},      {0, -1, VK_TAB, true, 11},
        {POPUPBAR_NOCUSTOM | POPUPBAR_NODEFAULT, 4, VK_TAB, true, 1},
    };
    for (const Case& c : cases) {
        ProbeBar bar(10, 2);
        bar.Style(c.style);
        bar.Hot(c.hot);
        if (c.shift) {
            PostKeyInput(WM_KEYDOWN, VK_SHIFT, 0);
            Pump();
        }
        bar.Key(c.key);
        if (c.shift)
            PostKeyInput(WM_KEYUP, VK_SHIFT, 0);
        Pump();
        EXPECT_EQ(bar.GetHotIndex(), c.expected) << "style " << c.style << " hot " << c.hot << " key " << c.key;
    }
}

TEST_F(PopupBarTest, PickChoosesByClickAndByKeys) {
    COXPopupBarCtrl bar(40, 4, 0xFFFFFFFF, 18, 18);
    Fill(bar);
    RECT base{50, 50, 80, 70};

    // A click on grid button 12 (value 112).
    {
        ModalSteps steps;
        steps.Start({[&](HWND) {
            POINT p = Centre(bar, bar.GetButtonRect(12));
            PostMouseInput(WM_MOUSEMOVE, p, 0);
            PostMouseInput(WM_LBUTTONDOWN, p, MK_LBUTTON);
            PostMouseInput(WM_LBUTTONUP, p, 0);
        }});
        EXPECT_TRUE(bar.Pick(ID_POPUPBAR_ALIGNBOTTOM, &base));
    }
    EXPECT_EQ(bar.GetSelectedValue(), 112u);
    EXPECT_FALSE(IsWindowVisible(bar.GetSafeHwnd()));
    EXPECT_NE(GetCapture(), bar.GetSafeHwnd());
    RECT rc{};
    GetWindowRect(bar.GetSafeHwnd(), &rc);
    EXPECT_EQ(rc.left, 50);
    EXPECT_EQ(rc.top, 70);

    // Keys (no focus: they come as system keys): Right from none is the default button.
    {
        ModalSteps steps;
        steps.Start({ModalSteps::Key(VK_RIGHT), ModalSteps::Key(VK_RETURN)});
        EXPECT_TRUE(bar.Pick(ID_POPUPBAR_ALIGNBOTTOM, &base));
    }
    EXPECT_EQ(bar.GetSelectedValue(), 0xFFFFFFFFu);

    // Enter with nothing hot, and Escape, cancel.
    for (UINT key : {VK_RETURN, VK_ESCAPE}) {
        bar.SetSelectedValue(105);
        ModalSteps steps;
        steps.Start({ModalSteps::Key(key)});
        EXPECT_FALSE(bar.Pick(ID_POPUPBAR_ALIGNBOTTOM, &base)) << key;
        EXPECT_EQ(bar.GetSelectedValue(), 105u);
    }
}

TEST_F(PopupBarTest, TheSelectedValueMarksItsButton) {
    COXPopupBarCtrl bar(40, 4, 7, 18, 18);
    Fill(bar);
    RECT base{50, 50, 80, 70};
    struct Case {
        DWORD value;
        int index;
    } cases[] = {{0xFFFFFFFF, -1}, {7, 0}, {103, 4}, {999, 41}};
    for (const Case& c : cases) {
        bar.SetSelectedValue(c.value);
        int seen = -2;
        ModalSteps steps;
        steps.Start({[&](HWND) { seen = bar.GetSelectedIndex(); }, ModalSteps::Key(VK_ESCAPE)});
        bar.Pick(ID_POPUPBAR_ALIGNBOTTOM, &base);
        EXPECT_EQ(seen, c.index) << c.value;
    }
}

TEST_F(PopupBarTest, AClickOutsideCancelsAndReachesTheWindowBeneath) {
    COXPopupBarCtrl bar(40, 4, 0xFFFFFFFF, 18, 18);
    Fill(bar);
    RECT base{50, 50, 80, 70};
    ModalSteps steps;
    steps.Start({[&](HWND) {
        POINT p{350, 250};  // on the owner, well away from the bar
        PostMouseInput(WM_LBUTTONDOWN, p, MK_LBUTTON);
        PostMouseInput(WM_LBUTTONUP, p, 0);
    }});
    EXPECT_FALSE(bar.Pick(ID_POPUPBAR_ALIGNBOTTOM, &base));
    Pump();
    EXPECT_EQ(g_beneath, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
}

TEST_F(PopupBarTest, AQuitEndsThePickAndIsPostedAgain) {
    COXPopupBarCtrl bar(40, 4, 0xFFFFFFFF, 18, 18);
    Fill(bar);
    RECT base{50, 50, 80, 70};
    ModalSteps steps;
    steps.Start({[](HWND) { PostQuitMessage(3); }});
    EXPECT_FALSE(bar.Pick(ID_POPUPBAR_ALIGNBOTTOM, &base));
    EXPECT_FALSE(IsWindowVisible(bar.GetSafeHwnd()));
    MSG msg{};
    ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(PopupBarTest, GalleryShowsHotAndSelectedButtons) {
    SetSysColorForTest(COLOR_BTNFACE, RGB(212, 208, 200));
    SetSysColorForTest(COLOR_3DLIGHT, RGB(230, 230, 230));
    SetSysColorForTest(COLOR_BTNSHADOW, RGB(128, 128, 128));
    SetSysColorForTest(COLOR_BTNHIGHLIGHT, RGB(255, 255, 255));
    COXPopupBarCtrl bar(40, 4, 0xFFFFFFFF, 18, 18);
    Fill(bar, 0);  // with the tear-off bar
    bar.SetSelectedValue(105);
    RECT base{50, 50, 80, 70};
    std::string shot;
    COLORREF selectedFill = 0, selectedEdge = 0, tearOff = 0, hotEdge = 0;
    ModalSteps steps;
    steps.Start({[&](HWND) {
                     POINT p = Centre(bar, bar.GetButtonRect(20));
                     PostMouseInput(WM_MOUSEMOVE, p, 0);
                 },
                 [&](HWND) {
                     UpdateWindow(bar.GetSafeHwnd());
                     RECT w{};
                     GetWindowRect(bar.GetSafeHwnd(), &w);
                     POINT origin{0, 0};
                     ClientToScreen(bar.GetSafeHwnd(), &origin);
                     int ox = origin.x - w.left, oy = origin.y - w.top;
                     PixelProbe px(bar.GetSafeHwnd());
                     RECT sel = bar.GetButtonRect(5), hot = bar.GetButtonRect(20);
                     selectedFill = px.At(ox + sel.left + 5, oy + sel.top + 5);
                     selectedEdge = px.At(ox + sel.left, oy + sel.top);
                     hotEdge = px.At(ox + hot.left, oy + hot.top);
                     RECT rc{};
                     ::GetClientRect(bar.GetSafeHwnd(), &rc);
                     tearOff = px.At(ox + rc.right / 2, oy + 2 + 1 - 1 + 2);
                     shot = WriteScreenshot(bar.GetSafeHwnd(), "Gallery_PopupBar");
                 },
                 ModalSteps::Key(VK_ESCAPE)});
    bar.Pick(ID_POPUPBAR_ALIGNBOTTOM, &base);
    ResetSysColors();
    EXPECT_EQ(selectedFill, RGB(230, 230, 230));
    EXPECT_EQ(selectedEdge, RGB(128, 128, 128));
    EXPECT_EQ(hotEdge, RGB(255, 255, 255));
    EXPECT_EQ(tearOff, GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_FALSE(shot.empty());
}

// Tear-off: a press on the tear-off bar and a move down into the grid start dragging a frame from
// the cursor; `moves` then go on from there.
ModalSteps::Step StartTearOff(ProbeBar& bar, POINT& start) {
    return [&bar, &start](HWND) {
        RECT t = bar.TearOffBar();
        POINT p{(t.left + t.right) / 2, (t.top + t.bottom) / 2};
        ClientToScreen(bar.GetSafeHwnd(), &p);
        start = POINT{p.x, p.y + 12};
        PostMouseInput(WM_MOUSEMOVE, p, 0);
        PostMouseInput(WM_LBUTTONDOWN, p, MK_LBUTTON);
        PostMouseInput(WM_MOUSEMOVE, start, MK_LBUTTON);
    };
}

TEST_F(PopupBarTest, TearingOffDragsAnInvertedFrameAndFloatsTheBarWhereItIsDropped) {
    ProbeBar bar(40, 4, 0xFFFFFFFF, 18, 18);
    Fill(bar, 0);
    RECT base{50, 50, 80, 70}, popup{};
    POINT start{}, drop{};
    COLORREF atStart = 0, atStartAfterMove = 0, atDrop = 0, inside = 0;
    HWND locked = nullptr;
    PixelProbe owned(owner.GetSafeHwnd());  // the owner sits at (0, 0): screen and window points agree
    ModalSteps steps;
    steps.Start({StartTearOff(bar, start),
                 [&](HWND) {
                     GetWindowRect(bar.GetSafeHwnd(), &popup);
                     // The frame's top-left corner is at the cursor, 3 pixels thick, inverted (white -> black).
                     atStart = owned.At(start.x + 1, start.y + 1);
                     inside = owned.At(start.x + 5, start.y + 5);
                     locked = GetLockedWindow();
                     drop = POINT{start.x + 100, start.y + 80};
                     PostMouseInput(WM_MOUSEMOVE, drop, MK_LBUTTON);
                 },
                 [&](HWND) {
                     atStartAfterMove = owned.At(start.x + 1, start.y + 1);
                     atDrop = owned.At(drop.x + 2, drop.y + 2);
                     PostKeyInput(WM_KEYDOWN, 'A', 0);  // swallowed
                     PostMouseInput(WM_LBUTTONUP, drop, 0);
                 }});
    EXPECT_FALSE(bar.Pick(ID_POPUPBAR_ALIGNBOTTOM, &base));
    EXPECT_EQ(atStart, RGB(0, 0, 0));
    EXPECT_EQ(inside, RGB(255, 255, 255));
    EXPECT_EQ(locked, GetDesktopWindow());
    EXPECT_EQ(atStartAfterMove, RGB(255, 255, 255));
    EXPECT_EQ(atDrop, RGB(0, 0, 0));

    // Dropped: a visible tool window with a caption at the frame's corner, the frame erased, nothing held.
    HWND hwnd = bar.GetSafeHwnd();
    ASSERT_TRUE(bar.IsTornOff());
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_TRUE(GetWindowLongPtr(hwnd, GWL_STYLE) & WS_CAPTION);
    EXPECT_TRUE(GetWindowLongPtr(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    RECT floating{};
    GetWindowRect(hwnd, &floating);
    EXPECT_EQ(floating.left, drop.x);
    EXPECT_EQ(floating.top, drop.y);
    EXPECT_EQ(floating.right - floating.left, popup.right - popup.left);
    // No tear-off bar any more; a small caption instead.
    RECT tearOff = bar.TearOffBar();
    EXPECT_TRUE(IsRectEmpty(&tearOff));
    EXPECT_EQ(bar.GetDefaultButtonRect().top, 2);
    EXPECT_EQ(floating.bottom - floating.top, popup.bottom - popup.top - 7 + GetSystemMetrics(SM_CYSMCAPTION));
    EXPECT_EQ(owned.At(drop.x + 2, drop.y + 2), RGB(255, 255, 255));
    EXPECT_FALSE(WriteScreenshot(hwnd, "Gallery_PopupBarFloating").empty());
    // Its caption is as active as its owner, the foreground window.
    const int border = GetSystemMetrics(SM_CXFIXEDFRAME);
    EXPECT_EQ(PixelProbe(hwnd).At(border, border + 2), GetSysColor(COLOR_ACTIVECAPTION));
    SendMessage(hwnd, WM_FLOATSTATUS, 0x08 /* deactivate */, 0);
    UpdateWindow(hwnd);
    EXPECT_EQ(PixelProbe(hwnd).At(border, border + 2), GetSysColor(COLOR_INACTIVECAPTION));
    SendMessage(hwnd, WM_NCACTIVATE, TRUE, 0);  // ignored: the owner's state rules
    UpdateWindow(hwnd);
    EXPECT_EQ(PixelProbe(hwnd).At(border, border + 2), GetSysColor(COLOR_INACTIVECAPTION));
    SendMessage(hwnd, WM_FLOATSTATUS, 0x04 /* activate */, 0);
    EXPECT_EQ(GetLockedWindow(), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);

    // Floating, a click on a button reports the pick to the parent and the bar stays open.
    POINT p = Centre(bar, bar.GetButtonRect(3));
    PostMouseInput(WM_MOUSEMOVE, p, 0);
    PostMouseInput(WM_LBUTTONDOWN, p, MK_LBUTTON);
    PostMouseInput(WM_LBUTTONUP, p, 0);
    Pump();
    EXPECT_EQ(g_picked, (std::vector<LPARAM>{(LPARAM)hwnd}));
    EXPECT_EQ(bar.GetSelectedValue(), 103u);
    EXPECT_TRUE(IsWindowVisible(hwnd));

    // Mini-frame status requests; closing only hides it.
    EXPECT_NE(SendMessage(hwnd, WM_FLOATSTATUS, 0x40 /* sync active */, 0), 0);
    SendMessage(hwnd, WM_FLOATSTATUS, 0x02 /* hide */, 0);
    EXPECT_FALSE(IsWindowVisible(hwnd));
    SendMessage(hwnd, WM_FLOATSTATUS, 0x01 /* show */, 0);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    // Palette events repaint it, except its own palette change; activating it takes the focus.
    struct PaletteCase {
        UINT message;
        WPARAM wParam;
        bool repaints;
    } paletteCases[] = {
        {WM_PALETTECHANGED, (WPARAM)hwnd, false},
        {WM_PALETTECHANGED, (WPARAM)owner.GetSafeHwnd(), true},
        {WM_QUERYNEWPALETTE, 0, true},
    };
    for (const PaletteCase& c : paletteCases) {
        ValidateRect(hwnd, nullptr);
        LRESULT answer = SendMessage(hwnd, c.message, c.wParam, 0);
        EXPECT_EQ(GetUpdateRect(hwnd, nullptr, FALSE) != FALSE, c.repaints) << c.message << " " << c.wParam;
        if (c.message == WM_QUERYNEWPALETTE) {
            EXPECT_EQ(answer, TRUE);
        }
    }
    SetFocus(owner.GetSafeHwnd());
    SendMessage(hwnd, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(GetFocus(), hwnd);
    SendMessage(hwnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(hwnd));
    EXPECT_FALSE(IsWindowVisible(hwnd));

    // The next pick is modal again, from a popup.
    ModalSteps again;
    again.Start({ModalSteps::Key(VK_ESCAPE)});
    EXPECT_FALSE(bar.Pick(ID_POPUPBAR_ALIGNBOTTOM, &base));
    EXPECT_FALSE(bar.IsTornOff());
    EXPECT_FALSE(GetWindowLongPtr(bar.GetSafeHwnd(), GWL_STYLE) & WS_CAPTION);
    EXPECT_EQ(SendMessage(bar.GetSafeHwnd(), WM_FLOATSTATUS, 0x40, 0), 0);
}

TEST_F(PopupBarTest, ACancelledTearOffHidesTheBarAndErasesTheFrame) {
    struct Case {
        const char* name;
        std::function<void(POINT)> end;
    } cases[] = {
        {"escape", [](POINT) { PostKeyInput(WM_KEYDOWN, VK_ESCAPE, 0); }},
        {"right button", [](POINT at) { PostMouseInput(WM_RBUTTONDOWN, at, MK_RBUTTON); }},
        {"quit", [](POINT) { PostQuitMessage(5); }},
        {"capture taken", [this](POINT) { SetCapture(owner.GetSafeHwnd()); }},
    };
    for (const Case& c : cases) {
        ProbeBar bar(40, 4, 0xFFFFFFFF, 18, 18);
        Fill(bar, 0);
        RECT base{50, 50, 80, 70};
        POINT start{};
        PixelProbe owned(owner.GetSafeHwnd());
        COLORREF during = 0;
        ModalSteps steps;
        steps.Start({StartTearOff(bar, start), [&](HWND) {
                         during = owned.At(start.x + 1, start.y + 1);
                         c.end(start);
                     }});
        EXPECT_FALSE(bar.Pick(ID_POPUPBAR_ALIGNBOTTOM, &base)) << c.name;
        EXPECT_EQ(during, RGB(0, 0, 0)) << c.name;
        EXPECT_FALSE(bar.IsTornOff()) << c.name;
        EXPECT_FALSE(IsWindowVisible(bar.GetSafeHwnd())) << c.name;
        EXPECT_EQ(owned.At(start.x + 1, start.y + 1), RGB(255, 255, 255)) << c.name;
        EXPECT_EQ(GetLockedWindow(), nullptr) << c.name;
        MSG quit{};
        EXPECT_EQ(PeekMessage(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0, std::string(c.name) == "quit")
            << c.name;
        ReleaseCapture();
    }

    // Leaving the bar's window while tearing off only hides it: no frame, no floating bar.
    ProbeBar bar(40, 4, 0xFFFFFFFF, 18, 18);
    Fill(bar, 0);
    RECT base{50, 50, 80, 70};
    ModalSteps steps;
    steps.Start({[&](HWND) {
        RECT t = bar.TearOffBar();
        POINT p{(t.left + t.right) / 2, (t.top + t.bottom) / 2};
        ClientToScreen(bar.GetSafeHwnd(), &p);
        PostMouseInput(WM_MOUSEMOVE, p, 0);
        PostMouseInput(WM_LBUTTONDOWN, p, MK_LBUTTON);
        PostMouseInput(WM_MOUSEMOVE, POINT{p.x, p.y - 30}, MK_LBUTTON);
        PostMouseInput(WM_LBUTTONUP, POINT{p.x, p.y - 30}, 0);
    }});
    EXPECT_FALSE(bar.Pick(ID_POPUPBAR_ALIGNBOTTOM, &base));
    EXPECT_FALSE(bar.IsTornOff());
    EXPECT_FALSE(IsWindowVisible(bar.GetSafeHwnd()));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(PopupBarTest, AFloatingBarShowsButtonTipsFromTheMessagesItPreTranslates) {
    ProbeBar bar(40, 4, 0xFFFFFFFF, 18, 18);
    Fill(bar, POPUPBAR_NOTOOLTIP);  // no tips while modal; floating shows them all the same
    bar.SetToolTipText(103, "Olive");
    RECT base{50, 50, 80, 70};
    POINT start{};
    ModalSteps steps;
    steps.Start({StartTearOff(bar, start), [&](HWND) { PostMouseInput(WM_LBUTTONUP, start, 0); }});
    bar.Pick(ID_POPUPBAR_ALIGNBOTTOM, &base);
    ASSERT_TRUE(bar.IsTornOff());

    POINT screen = Centre(bar, bar.GetButtonRect(3)), client = screen;
    ScreenToClient(bar.GetSafeHwnd(), &client);
    SetCursorPos(screen.x, screen.y);
    MSG move{bar.GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y), 0, screen};
    bar.PreTranslateMessage(&move);
    steps.Clock().Advance(1000);
    Pump();
    HWND tip = nullptr;
    EnumWindows(
        [](HWND h, LPARAM out) -> BOOL {
            char cls[64];
            GetClassName(h, cls, sizeof cls);
            if (std::string(cls) == TOOLTIPS_CLASS && IsWindowVisible(h))
                *reinterpret_cast<HWND*>(out) = h;
            return TRUE;
        },
        (LPARAM)&tip);
    ASSERT_NE(tip, nullptr);
    TOOLINFO ti{};
    ti.cbSize = sizeof ti;
    ASSERT_TRUE(SendMessage(tip, TTM_GETCURRENTTOOL, 0, (LPARAM)&ti));
    char text[80] = "";
    ti.lpszText = text;
    SendMessage(tip, TTM_GETTEXT, sizeof text, (LPARAM)&ti);
    EXPECT_STREQ(text, "Olive");
    EXPECT_EQ(ti.uId, 4u);
}

}  // namespace
