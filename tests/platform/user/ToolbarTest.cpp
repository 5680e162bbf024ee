#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/user/Resources.h"
#include "platform/user/Toolbar.h"
#include "tests/support/Gui.h"
#include "tests/support/TempRegistry.h"

extern const unsigned char test_toolbar3_png[];
extern const size_t test_toolbar3_png_size;

namespace {
// Bitmap 300: three 16 x 15 images (red, green, blue squares on the light grey mask colour).
class ImagesModule : public ResourceModule {
public:
    const BitmapResource* FindBitmap(UINT id) const override {
        static const BitmapResource bitmap{300, test_toolbar3_png, test_toolbar3_png_size};
        return id == 300 ? &bitmap : nullptr;
    }
};

// What the toolbar's parent was told, in order.
struct Event {
    UINT code;  // a notification code, or WM_COMMAND
    int item;   // the command or index the notification names
    DWORD stage = 0;
};
struct Parent {
    std::vector<Event> events;
    std::function<LRESULT(NMHDR*)> answer;
    const Event* First(UINT code) const {
        for (const Event& e : events)
            if (e.code == code)
                return &e;
        return nullptr;
    }
    std::vector<UINT> Codes() const {
        std::vector<UINT> codes;
        for (const Event& e : events)
            if (e.code != NM_CUSTOMDRAW && e.code != TBN_HOTITEMCHANGE)
                codes.push_back(e.code);
        return codes;
    }
};
Parent* g_parent = nullptr;

LRESULT ParentProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (g_parent && msg == WM_NOTIFY) {
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        Event e{hdr->code, -1};
        if (hdr->code == NM_CUSTOMDRAW) {
            auto* cd = reinterpret_cast<NMTBCUSTOMDRAW*>(lp);
            e.stage = cd->nmcd.dwDrawStage;
            e.item = (cd->nmcd.dwDrawStage & CDDS_ITEM) ? (int)cd->nmcd.dwItemSpec : -1;
        } else if (hdr->code == TBN_BEGINDRAG || hdr->code == TBN_ENDDRAG || hdr->code == TBN_QUERYINSERT ||
                   hdr->code == TBN_QUERYDELETE || hdr->code == TBN_DROPDOWN || hdr->code == TBN_DELETINGBUTTON) {
            e.item = reinterpret_cast<NMTOOLBAR*>(lp)->iItem;
        }
        g_parent->events.push_back(e);
        return g_parent->answer ? g_parent->answer(hdr) : 0;
    }
    if (g_parent && msg == WM_COMMAND) {
        g_parent->events.push_back(Event{WM_COMMAND, (int)LOWORD(wp)});
        return 0;
    }
    return DefWindowProc(h, msg, wp, lp);
}

class ToolbarTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestWindowClass("ToolbarTestParent", ParentProc, COLOR_3DFACE);
        AddResourceModule(&module);
        g_parent = &parent;
        top = CreateWindowEx(0, "ToolbarTestParent", "tb", WS_POPUP | WS_VISIBLE, 0, 0, 300, 120, nullptr, nullptr,
                             nullptr, nullptr);
        bar = CreateWindowEx(0, TOOLBARCLASSNAME, "", WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN | extraStyle,
                             0, 0, 300, 60, top, (HMENU)7, nullptr, nullptr);
        SendMessage(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        TBADDBITMAP add{(HINSTANCE)1, 300};
        firstImage = (int)SendMessage(bar, TB_ADDBITMAP, 3, (LPARAM)&add);
        // | 100 | sep | 101 (check) | 102 (disabled) |
        TBBUTTON buttons[] = {
            {0, 100, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 11, -1},
            {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {}, 0, -1},
            {1, 101, TBSTATE_ENABLED, TBSTYLE_CHECK, {}, 12, -1},
            {2, 102, 0, TBSTYLE_BUTTON, {}, 13, -1},
        };
        SendMessage(bar, TB_ADDBUTTONS, 4, (LPARAM)buttons);
        Pump();
    }
    void TearDown() override {
        DestroyWindow(top);
        Pump();
        g_parent = nullptr;
        RemoveResourceModule(&module);
    }
    RECT ItemRect(int index) {
        RECT r{-1, -1, -1, -1};
        SendMessage(bar, TB_GETITEMRECT, index, (LPARAM)&r);
        return r;
    }
    int Hit(int x, int y) {
        POINT p{x, y};
        return (int)SendMessage(bar, TB_HITTEST, 0, (LPARAM)&p);
    }
    std::vector<int> Commands() {
        std::vector<int> ids;
        int n = (int)SendMessage(bar, TB_BUTTONCOUNT, 0, 0);
        for (int i = 0; i < n; ++i) {
            TBBUTTON b{};
            SendMessage(bar, TB_GETBUTTON, i, (LPARAM)&b);
            ids.push_back(b.idCommand);
        }
        return ids;
    }
    void ClickAt(int x, int y, WPARAM keys = 0) {
        POINT p{x, y};
        ClientToScreen(bar, &p);
        PostMouseInput(WM_LBUTTONDOWN, p, MK_LBUTTON | keys);
        PostMouseInput(WM_LBUTTONUP, p, keys);
        Pump();
    }
    void DragTo(int x0, int y0, int x1, int y1, WPARAM keys) {
        POINT a{x0, y0}, b{x1, y1};
        ClientToScreen(bar, &a);
        ClientToScreen(bar, &b);
        PostMouseInput(WM_LBUTTONDOWN, a, MK_LBUTTON | keys);
        Pump();  // the bar takes the capture, so the rest comes to it wherever the mouse is
        PostMouseInput(WM_MOUSEMOVE, b, MK_LBUTTON | keys);
        PostMouseInput(WM_LBUTTONUP, b, keys);
        Pump();
    }

    DWORD extraStyle = 0;
    ImagesModule module;
    Parent parent;
    HWND top = nullptr;
    HWND bar = nullptr;
    int firstImage = -1;
};

TEST_F(ToolbarTest, ButtonsLieSideBySideAndHitTestsAreNegativeOffButtons) {
    EXPECT_EQ(firstImage, 0);
    EXPECT_EQ(SendMessage(bar, TB_GETBUTTONSIZE, 0, 0), MAKELONG(24, 22));
    RECT r = ItemRect(0);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, 24);
    EXPECT_EQ(r.bottom, 22);
    EXPECT_EQ(ItemRect(1).right, 32);  // a separator is 8 wide
    EXPECT_EQ(ItemRect(2).left, 32);
    EXPECT_EQ(ItemRect(3).right, 80);

    struct Case {
        int x, y, expected;
    } cases[] = {
        {5, 5, 0}, {23, 21, 0}, {24, 5, -2}, {31, 5, -2},  // the separator at index 1
        {40, 5, 2}, {79, 5, 3}, {80, 5, -5}, {5, 30, -5},  // nowhere: -(count + 1)
    };
    for (const Case& c : cases)
        EXPECT_EQ(Hit(c.x, c.y), c.expected) << c.x << "," << c.y;

    // A hidden button takes no room and is never hit.
    SendMessage(bar, TB_HIDEBUTTON, 100, TRUE);
    EXPECT_EQ(Hit(5, 5), -2);
    EXPECT_EQ(ItemRect(2).left, 8);
    EXPECT_FALSE(SendMessage(bar, TB_GETITEMRECT, 0, (LPARAM)&r));
}

TEST_F(ToolbarTest, CustomDrawAsksAroundEveryButtonInOrder) {
    parent.answer = [](NMHDR* hdr) -> LRESULT {
        if (hdr->code != NM_CUSTOMDRAW)
            return 0;
        auto* cd = reinterpret_cast<NMTBCUSTOMDRAW*>(hdr);
        if (cd->nmcd.dwDrawStage == CDDS_PREPAINT)
            return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
        if (cd->nmcd.dwDrawStage == CDDS_ITEMPREPAINT)
            return cd->nmcd.dwItemSpec == 101 ? CDRF_SKIPDEFAULT : CDRF_NOTIFYPOSTPAINT;
        return 0;
    };
    parent.events.clear();
    InvalidateRect(bar, nullptr, TRUE);
    UpdateWindow(bar);
    std::vector<std::pair<DWORD, int>> order;
    for (const Event& e : parent.events)
        if (e.code == NM_CUSTOMDRAW)
            order.emplace_back(e.stage, e.item);
    std::vector<std::pair<DWORD, int>> expected = {
        {CDDS_PREPAINT, -1},      {CDDS_ITEMPREPAINT, 100}, {CDDS_ITEMPOSTPAINT, 100}, {CDDS_ITEMPREPAINT, 101},
        {CDDS_ITEMPREPAINT, 102}, {CDDS_ITEMPOSTPAINT, 102}, {CDDS_POSTPAINT, -1},
    };
    EXPECT_EQ(order, expected);  // no separator is offered; a skipped button gets no post-paint
}

TEST_F(ToolbarTest, ImagesComeFromTheEmbeddedBitmapWithTheMaskColourTransparent) {
    UpdateWindow(top);
    RECT r = ItemRect(0);
    POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    EXPECT_EQ(GetWindowPixel(bar, centre.x, centre.y), RGB(255, 0, 0));
    // The image's grey border shows the button face, not the bitmap's grey.
    int imageLeft = (24 - 16) / 2;
    EXPECT_EQ(GetWindowPixel(bar, imageLeft, centre.y), GetSysColor(COLOR_3DFACE));
    RECT g = ItemRect(2);
    EXPECT_EQ(GetWindowPixel(bar, (g.left + g.right) / 2, (g.top + g.bottom) / 2), RGB(0, 160, 0));
    // The disabled button's blue square is drawn etched in the shadow colour.
    RECT d = ItemRect(3);
    EXPECT_EQ(GetWindowPixel(bar, (d.left + d.right) / 2, (d.top + d.bottom) / 2), GetSysColor(COLOR_3DSHADOW));
}

TEST_F(ToolbarTest, APressTellsBeginAndEndDragAndAReleaseOnTheButtonClicks) {
    RECT r = ItemRect(2);
    ClickAt(r.left + 5, r.top + 5);
    std::vector<UINT> expected = {TBN_BEGINDRAG, TBN_ENDDRAG, WM_COMMAND};
    EXPECT_EQ(parent.Codes(), expected);
    ASSERT_TRUE(parent.First(WM_COMMAND));
    EXPECT_EQ(parent.First(WM_COMMAND)->item, 101);
    EXPECT_EQ(parent.First(TBN_BEGINDRAG)->item, 101);
    EXPECT_TRUE(SendMessage(bar, TB_ISBUTTONCHECKED, 101, 0));
    ClickAt(r.left + 5, r.top + 5);
    EXPECT_FALSE(SendMessage(bar, TB_ISBUTTONCHECKED, 101, 0));

    // Released off the button: no click. A disabled button and a separator ignore the press.
    parent.events.clear();
    DragTo(r.left + 5, r.top + 5, 200, 40, 0);
    expected = {TBN_BEGINDRAG, TBN_ENDDRAG};
    EXPECT_EQ(parent.Codes(), expected);
    EXPECT_FALSE(SendMessage(bar, TB_ISBUTTONPRESSED, 101, 0));
    parent.events.clear();
    ClickAt(ItemRect(3).left + 5, 5);
    ClickAt(ItemRect(1).left + 2, 5);
    EXPECT_TRUE(parent.Codes().empty());
}

TEST_F(ToolbarTest, SaveAndRestoreGiveBackTheSameButtons) {
    TempRegistry registry;
    TBSAVEPARAMS params{HKEY_CURRENT_USER, "Software\\Test\\Bars", "Toolbar"};
    SendMessage(bar, TB_CHECKBUTTON, 101, TRUE);
    ASSERT_TRUE(SendMessage(bar, TB_SAVERESTORE, TRUE, (LPARAM)&params));
    auto snapshot = [&] {
        std::vector<std::tuple<int, int, int, int, DWORD_PTR>> all;
        for (int i = 0; i < (int)SendMessage(bar, TB_BUTTONCOUNT, 0, 0); ++i) {
            TBBUTTON b{};
            SendMessage(bar, TB_GETBUTTON, i, (LPARAM)&b);
            all.emplace_back(b.iBitmap, b.idCommand, b.fsState, b.fsStyle, b.dwData);
        }
        return all;
    };
    auto saved = snapshot();

    SendMessage(bar, TB_DELETEBUTTON, 1, 0);
    SendMessage(bar, TB_MOVEBUTTON, 0, 2);
    SendMessage(bar, TB_CHECKBUTTON, 101, FALSE);
    ASSERT_NE(snapshot(), saved);
    ASSERT_TRUE(SendMessage(bar, TB_SAVERESTORE, FALSE, (LPARAM)&params));
    EXPECT_EQ(snapshot(), saved);
    EXPECT_EQ(ItemRect(3).right, 80);

    // A missing value restores nothing.
    TBSAVEPARAMS missing{HKEY_CURRENT_USER, "Software\\Test\\Bars", "Nothing"};
    EXPECT_FALSE(SendMessage(bar, TB_SAVERESTORE, FALSE, (LPARAM)&missing));
}

TEST_F(ToolbarTest, ADamagedSavedValueFailsAndLeavesTheButtons) {
    TempRegistry registry;
    TBSAVEPARAMS params{HKEY_CURRENT_USER, "Software\\Test\\Bars", "Toolbar"};
    ASSERT_TRUE(SendMessage(bar, TB_SAVERESTORE, TRUE, (LPARAM)&params));
    HKEY key;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Test\\Bars", 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    std::string good(256, 0);
    DWORD type, size = (DWORD)good.size();
    ASSERT_EQ(RegQueryValueEx(key, "Toolbar", nullptr, &type, (BYTE*)good.data(), &size), ERROR_SUCCESS);
    good.resize(size);
    SendMessage(bar, TB_DELETEBUTTON, 0, 0);
    std::vector<int> before = Commands();

    std::vector<std::string> damaged;
    for (size_t cut = 0; cut < good.size(); ++cut)
        damaged.push_back(good.substr(0, cut));  // every truncation
    damaged.push_back(good + "x");               // trailing bytes
    std::string bad = good;
    bad[0] ^= 1;  // another format
    damaged.push_back(bad);
    bad = good;
    bad[4] = 2;  // a version we do not know
    damaged.push_back(bad);
    bad = good;
    bad[9] = 0x7F;  // a count far beyond the bytes
    damaged.push_back(bad);
    for (const std::string& blob : damaged) {
        RegSetValueEx(key, "Toolbar", 0, REG_BINARY, (const BYTE*)blob.data(), (DWORD)blob.size());
        EXPECT_FALSE(SendMessage(bar, TB_SAVERESTORE, FALSE, (LPARAM)&params)) << blob.size();
        EXPECT_EQ(Commands(), before);
    }
    RegCloseKey(key);
}

TEST_F(ToolbarTest, ShiftDragMovesOrDeletesButtonsOfAnAdjustableBarWhenTheParentAgrees) {
    SetWindowLongPtr(bar, GWL_STYLE, GetWindowLongPtr(bar, GWL_STYLE) | CCS_ADJUSTABLE);
    bool agree = false;
    parent.answer = [&](NMHDR* hdr) -> LRESULT {
        return (hdr->code == TBN_QUERYINSERT || hdr->code == TBN_QUERYDELETE) && agree;
    };
    // Refused: nothing moves.
    DragTo(5, 5, 78, 5, MK_SHIFT);
    EXPECT_EQ(Commands(), (std::vector<int>{100, 0, 101, 102}));
    agree = true;
    parent.events.clear();
    DragTo(5, 5, 78, 5, MK_SHIFT);  // dropped on the right half of the last button
    EXPECT_EQ(Commands(), (std::vector<int>{0, 101, 102, 100}));
    std::vector<UINT> expected = {TBN_QUERYINSERT, TBN_TOOLBARCHANGE};
    EXPECT_EQ(parent.Codes(), expected);
    EXPECT_EQ(parent.First(TBN_QUERYINSERT)->item, 3);  // the index it goes to
    parent.events.clear();
    DragTo(ItemRect(1).left + 3, 5, 200, 100, MK_SHIFT);  // dropped outside the bar
    EXPECT_EQ(Commands(), (std::vector<int>{0, 102, 100}));
    expected = {TBN_QUERYDELETE, TBN_DELETINGBUTTON, TBN_TOOLBARCHANGE};
    EXPECT_EQ(parent.Codes(), expected);
}

TEST_F(ToolbarTest, InsertMarkHitTestAndWrapping) {
    struct Case {
        int x, y;
        BOOL on;
        int button;
        DWORD flags;
    } cases[] = {
        {3, 5, TRUE, 0, 0},
        {20, 5, TRUE, 0, TBIMHT_AFTER},
        {50, 5, TRUE, 2, TBIMHT_AFTER},
        {150, 5, FALSE, 3, TBIMHT_AFTER | TBIMHT_BACKGROUND},
    };
    for (const Case& c : cases) {
        POINT p{c.x, c.y};
        TBINSERTMARK mark{};
        EXPECT_EQ(SendMessage(bar, TB_INSERTMARKHITTEST, (WPARAM)&p, (LPARAM)&mark), c.on) << c.x;
        EXPECT_EQ(mark.iButton, c.button) << c.x;
        EXPECT_EQ(mark.dwFlags, c.flags) << c.x;
    }
    TBINSERTMARK set{2, TBIMHT_AFTER}, got{};
    SendMessage(bar, TB_SETINSERTMARK, 0, (LPARAM)&set);
    SendMessage(bar, TB_GETINSERTMARK, 0, (LPARAM)&got);
    EXPECT_EQ(got.iButton, 2);
    EXPECT_EQ(got.dwFlags, (DWORD)TBIMHT_AFTER);

    EXPECT_EQ(SendMessage(bar, TB_GETROWS, 0, 0), 1);
    SendMessage(bar, TB_SETSTATE, 101, MAKELONG(TBSTATE_ENABLED | TBSTATE_WRAP, 0));
    EXPECT_EQ(SendMessage(bar, TB_GETROWS, 0, 0), 2);
    EXPECT_EQ(ItemRect(3).left, 0);
    EXPECT_EQ(ItemRect(3).top, 22);
    SIZE max{};
    SendMessage(bar, TB_GETMAXSIZE, 0, (LPARAM)&max);
    EXPECT_EQ(max.cx, 56);
    EXPECT_EQ(max.cy, 44);
}

TEST_F(ToolbarTest, ADropDownButtonAsksTheParentInsteadOfClicking) {
    TBBUTTONINFO info{sizeof info, TBIF_STYLE, 0, 0, 0, TBSTYLE_DROPDOWN, 0, 0, nullptr, 0};
    SendMessage(bar, TB_SETBUTTONINFO, 100, (LPARAM)&info);
    parent.events.clear();
    ClickAt(5, 5);
    std::vector<UINT> expected = {TBN_DROPDOWN};
    EXPECT_EQ(parent.Codes(), expected);
    EXPECT_EQ(parent.First(TBN_DROPDOWN)->item, 100);
    // With the arrows drawn apart only the arrow drops down; the rest clicks.
    SendMessage(bar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    EXPECT_EQ(ItemRect(0).right, 24 + 14);
    parent.events.clear();
    ClickAt(5, 5);
    expected = {TBN_BEGINDRAG, TBN_ENDDRAG, WM_COMMAND};
    EXPECT_EQ(parent.Codes(), expected);
    parent.events.clear();
    ClickAt(30, 5);
    expected = {TBN_DROPDOWN};
    EXPECT_EQ(parent.Codes(), expected);
}

TEST_F(ToolbarTest, AParentThatDestroysTheBarOnAClickIsSafe) {
    parent.answer = [&](NMHDR* hdr) -> LRESULT {
        if (hdr->code == TBN_ENDDRAG)
            DestroyWindow(bar);
        return 0;
    };
    ClickAt(5, 5);
    EXPECT_FALSE(IsWindow(bar));
}
}  // namespace

// A bar made inside a top-level window that has never been shown (a frame at creation) measures its
// text buttons as a shown one does: GetDC of its windows gives a DC that measures and draws nowhere.
TEST(ToolbarTextTest, TextButtonsAreMeasuredBeforeTheTopLevelWindowIsShown) {
    RegisterTestWindowClass("ToolbarTextTestParent", DefWindowProc, COLOR_3DFACE);
    HWND top = CreateWindowEx(0, "ToolbarTextTestParent", "tb", WS_POPUP, 0, 0, 300, 60, nullptr, nullptr,
                              nullptr, nullptr);
    HWND bar = CreateWindowEx(0, TOOLBARCLASSNAME, "", WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN | TBSTYLE_LIST,
                              0, 0, 300, 30, top, (HMENU)7, nullptr, nullptr);
    HDC dc = GetDC(bar);
    ASSERT_NE(dc, nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE extent{};
    GetTextExtentPoint32(dc, "&Window", 7, &extent);
    SelectObject(dc, old);
    ReleaseDC(bar, dc);
    EXPECT_GT(extent.cx, 20);

    SendMessage(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessage(bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    TBBUTTON button{I_IMAGENONE, 1, TBSTATE_ENABLED, BTNS_AUTOSIZE, {}, 0, (INT_PTR) "&Window"};
    SendMessage(bar, TB_ADDBUTTONS, 1, (LPARAM)&button);
    RECT hidden{}, shown{};
    SendMessage(bar, TB_GETITEMRECT, 0, (LPARAM)&hidden);
    EXPECT_GE(hidden.right - hidden.left, extent.cx);

    ShowWindow(top, SW_SHOWNA);
    SendMessage(bar, TB_AUTOSIZE, 0, 0);
    SendMessage(bar, TB_GETITEMRECT, 0, (LPARAM)&shown);
    EXPECT_EQ(shown.right - shown.left, hidden.right - hidden.left);
    DestroyWindow(top);
}
