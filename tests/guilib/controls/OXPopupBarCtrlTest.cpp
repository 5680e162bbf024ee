#include <gtest/gtest.h>

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
};

std::vector<UINT> g_beneath;  // messages the window under the bar received
LRESULT BeneathProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP)
        g_beneath.push_back(msg);
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

}  // namespace
