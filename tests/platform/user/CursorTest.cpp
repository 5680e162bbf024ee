// The cursor follows the window under the pointer: mouse input asks it with WM_SETCURSOR, and the
// default handling asks the parent first, then shows the class cursor, a sizing cursor or the arrow.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/user/Controls.h"
#include "platform/user/User.h"

namespace cursor_test {

struct Asked {
    HWND window;  // the window asked
    WPARAM wp;
    LPARAM lp;
};

std::vector<std::string> g_order;  // hit tests, activations, cursor questions and mouse messages, in turn
std::vector<Asked> g_asked;
LRESULT g_hit = HTCLIENT;          // the top window's answer to WM_NCHITTEST
HCURSOR g_parentCursor = nullptr;  // set by the top window when a child asks it: it answers TRUE

LRESULT TopProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_NCHITTEST:
            g_order.push_back("hit");
            return g_hit;
        case WM_MOUSEACTIVATE:
            g_order.push_back("activate");
            break;
        case WM_SETCURSOR:
            g_order.push_back("cursor");
            g_asked.push_back(Asked{h, wp, lp});
            if ((HWND)wp != h && g_parentCursor) {
                SetCursor(g_parentCursor);
                return TRUE;
            }
            break;
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
            g_order.push_back("mouse");
            return 0;
        default:
            break;
    }
    return DefWindowProc(h, msg, wp, lp);
}

LRESULT ChildProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SETCURSOR)
        g_asked.push_back(Asked{h, wp, lp});
    return DefWindowProc(h, msg, wp, lp);
}

class CursorTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASS wc{};
        wc.lpfnWndProc = TopProc;
        wc.hCursor = LoadCursor(nullptr, IDC_CROSS);
        wc.lpszClassName = "CursorTestTop";
        RegisterClass(&wc);
        wc.lpfnWndProc = ChildProc;
        wc.hCursor = nullptr;  // a class without a cursor of its own
        wc.lpszClassName = "CursorTestBare";
        RegisterClass(&wc);
        g_order.clear();
        g_asked.clear();
        g_hit = HTCLIENT;
        g_parentCursor = nullptr;
        top = CreateWindowEx(0, "CursorTestTop", "Cursor", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                             nullptr, nullptr, nullptr);
        edit = CreateWindowEx(0, WC_EDIT, "", WS_CHILD | WS_VISIBLE, 10, 10, 100, 20, top, nullptr, nullptr,
                              nullptr);
        bare = CreateWindowEx(0, "CursorTestBare", "", WS_CHILD | WS_VISIBLE, 10, 50, 100, 40, top, nullptr,
                              nullptr, nullptr);
        Pump();
    }
    void TearDown() override {
        if (GetCapture())
            ReleaseCapture();
        // The button goes up over the window, so no later test sees it held.
        EnableWindow(top, TRUE);
        PostMouseInput(WM_LBUTTONUP, POINT{300, 250}, 0);
        Pump();
        DestroyWindow(top);
        Pump();
    }
    static void Pump() {
        MSG m;
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE))
            DispatchMessage(&m);
    }
    // Moves the pointer to a point of the top window's client area and handles what it queued.
    void MoveTo(int x, int y, UINT message = WM_MOUSEMOVE) {
        g_order.clear();
        g_asked.clear();
        SetCursor(LoadCursor(nullptr, IDC_WAIT));
        PostMouseInput(message, POINT{100 + x, 100 + y}, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0);
        Pump();
    }
    HWND top = nullptr, edit = nullptr, bare = nullptr;
};

TEST_F(CursorTest, EachHitCodeShowsItsCursor) {
    struct Case {
        LRESULT hit;
        LPCTSTR shape;
    } cases[] = {
        {HTCLIENT, IDC_CROSS},         {HTLEFT, IDC_SIZEWE},       {HTRIGHT, IDC_SIZEWE},
        {HTTOP, IDC_SIZENS},           {HTBOTTOM, IDC_SIZENS},     {HTTOPLEFT, IDC_SIZENWSE},
        {HTBOTTOMRIGHT, IDC_SIZENWSE}, {HTTOPRIGHT, IDC_SIZENESW}, {HTBOTTOMLEFT, IDC_SIZENESW},
        {HTGROWBOX, IDC_SIZENWSE},     {HTCAPTION, IDC_ARROW},     {HTVSCROLL, IDC_ARROW},
        {HTSYSMENU, IDC_ARROW},        {HTBORDER, IDC_ARROW},      {HTNOWHERE, IDC_ARROW},
    };
    for (const Case& c : cases) {
        g_hit = c.hit;
        MoveTo(200, 150);
        EXPECT_EQ(GetCursor(), LoadCursor(nullptr, c.shape)) << "hit " << c.hit;
        ASSERT_EQ(g_asked.size(), 1u) << "hit " << c.hit;
        EXPECT_EQ((HWND)g_asked[0].wp, top);
        EXPECT_EQ(LOWORD(g_asked[0].lp), (WORD)c.hit);
        EXPECT_EQ(HIWORD(g_asked[0].lp), (WORD)WM_MOUSEMOVE);
    }
}

TEST_F(CursorTest, TheWindowIsAskedAfterTheHitTestAndActivationBeforeTheMouseMessage) {
    MoveTo(200, 150);
    EXPECT_EQ(g_order, (std::vector<std::string>{"hit", "cursor", "mouse"}));
    MoveTo(200, 150, WM_LBUTTONDOWN);
    EXPECT_EQ(g_order, (std::vector<std::string>{"hit", "activate", "cursor", "mouse"}));
    ASSERT_EQ(g_asked.size(), 1u);
    EXPECT_EQ(HIWORD(g_asked[0].lp), (WORD)WM_LBUTTONDOWN);
}

TEST_F(CursorTest, AChildAsksItsParentFirstAndShowsItsClassCursor) {
    // Over an edit: its parent is asked first, about the edit; the edit's text cursor shows.
    MoveTo(20, 15);
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_IBEAM));
    ASSERT_EQ(g_asked.size(), 1u);
    EXPECT_EQ(g_asked[0].window, top);
    EXPECT_EQ((HWND)g_asked[0].wp, edit);
    EXPECT_EQ(LOWORD(g_asked[0].lp), (WORD)HTCLIENT);

    // A child of a class without a cursor leaves the cursor as it was, not the parent's.
    MoveTo(20, 60);
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_WAIT));
    ASSERT_EQ(g_asked.size(), 2u);
    EXPECT_EQ(g_asked[0].window, bare);
    EXPECT_EQ(g_asked[1].window, top);
    EXPECT_EQ((HWND)g_asked[1].wp, bare);

    // A parent that answers TRUE decides: the child's own cursor is not shown.
    g_parentCursor = LoadCursor(nullptr, IDC_HAND);
    MoveTo(20, 15);
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_HAND));
}

TEST_F(CursorTest, ACapturedMouseAsksNoWindow) {
    SetCapture(bare);
    MoveTo(20, 15);  // over the edit
    MoveTo(200, 150);
    EXPECT_TRUE(g_asked.empty());
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_WAIT));
    ReleaseCapture();
    MoveTo(20, 15);
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_IBEAM));
}

TEST_F(CursorTest, ADisabledWindowShowsTheArrowAndAPressBeepsOnce) {
    EnableWindow(top, FALSE);
    int beeps = GetMessageBeepCount();
    MoveTo(200, 150, WM_LBUTTONDOWN);
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_ARROW));
    ASSERT_EQ(g_asked.size(), 1u);
    EXPECT_EQ((short)LOWORD(g_asked[0].lp), HTERROR);
    EXPECT_EQ(HIWORD(g_asked[0].lp), (WORD)WM_LBUTTONDOWN);
    EXPECT_EQ(GetMessageBeepCount(), beeps + 1);
    EXPECT_EQ(std::count(g_order.begin(), g_order.end(), "mouse"), 0);
}

}  // namespace cursor_test
