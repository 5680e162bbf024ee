#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/user/ListView.h"
#include "tests/support/Gui.h"

namespace {
// The list's parent: records notifications and answers them as a test scripts.
struct Parent {
    std::vector<UINT> codes;
    std::vector<NMITEMACTIVATE> items;  // item notifications as sent
    std::function<LRESULT(NMHDR*)> answer;
    std::function<void(DRAWITEMSTRUCT*)> draw;
    UINT measuredHeight = 0;
    int count(UINT code) const {
        int n = 0;
        for (UINT c : codes)
            n += c == code;
        return n;
    }
    const NMITEMACTIVATE* last(UINT code) const {
        for (auto it = items.rbegin(); it != items.rend(); ++it)
            if (it->hdr.code == code)
                return &*it;
        return nullptr;
    }
};
Parent* g_parent = nullptr;

LRESULT ParentProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NOTIFY && g_parent) {
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        g_parent->codes.push_back(hdr->code);
        switch (hdr->code) {
            case NM_CLICK:
            case NM_DBLCLK:
            case LVN_ITEMCHANGED:
            case LVN_ITEMACTIVATE:
            case LVN_COLUMNCLICK: {
                NMITEMACTIVATE copy{};
                std::memcpy(&copy, hdr,
                            hdr->code == LVN_COLUMNCLICK ? sizeof(NMLISTVIEW) : sizeof(NMITEMACTIVATE));
                g_parent->items.push_back(copy);
                break;
            }
            default:
                break;
        }
        return g_parent->answer ? g_parent->answer(hdr) : 0;
    }
    if (msg == WM_MEASUREITEM && g_parent && g_parent->measuredHeight) {
        reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = g_parent->measuredHeight;
        return TRUE;
    }
    if (msg == WM_DRAWITEM && g_parent && g_parent->draw) {
        g_parent->draw(reinterpret_cast<DRAWITEMSTRUCT*>(lp));
        return TRUE;
    }
    return DefWindowProc(h, msg, wp, lp);
}

class ListViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestWindowClass("ListViewTestParent", ParentProc, COLOR_3DFACE);
        g_parent = &parent;
        top = CreateWindowEx(0, "ListViewTestParent", "lv", WS_POPUP | WS_VISIBLE, 0, 0, 420, 300, nullptr,
                             nullptr, nullptr, nullptr);
    }
    void TearDown() override {
        DestroyWindow(top);
        Pump();
        g_parent = nullptr;
    }
    HWND Make(DWORD style, int rows, int cols = 3, int width = 100) {
        list = CreateWindowEx(0, WC_LISTVIEW, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | style, 0, 0, 420, 300,
                              top, (HMENU)7, nullptr, nullptr);
        SendMessage(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
        for (int c = 0; c < cols; ++c) {
            std::string name = "Col " + std::to_string(c);
            LVCOLUMN lc{LVCF_TEXT | LVCF_WIDTH, 0, width, name.data(), 0, 0, 0, 0};
            SendMessage(list, LVM_INSERTCOLUMN, (WPARAM)c, (LPARAM)&lc);
        }
        if (!(style & LVS_OWNERDATA))
            for (int r = 0; r < rows; ++r) {
                std::string t = "r" + std::to_string(r);
                LVITEM li{};
                li.mask = LVIF_TEXT | LVIF_PARAM;
                li.iItem = r;
                li.pszText = t.data();
                li.lParam = 1000 + r;
                SendMessage(list, LVM_INSERTITEM, 0, (LPARAM)&li);
                for (int c = 1; c < cols; ++c) {
                    std::string s = t + "c" + std::to_string(c);
                    LVITEM si{};
                    si.iSubItem = c;
                    si.pszText = s.data();
                    SendMessage(list, LVM_SETITEMTEXT, (WPARAM)r, (LPARAM)&si);
                }
            }
        Pump();
        parent.codes.clear();
        parent.items.clear();
        return list;
    }
    RECT SubRect(int item, int sub) {
        RECT r{LVIR_LABEL, sub, 0, 0};
        SendMessage(list, LVM_GETSUBITEMRECT, (WPARAM)item, (LPARAM)&r);
        return r;
    }
    POINT Mid(int item, int sub) {
        RECT r = SubRect(item, sub);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    std::string Text(int item, int sub) {
        char buf[300];
        LVITEM li{};
        li.iSubItem = sub;
        li.pszText = buf;
        li.cchTextMax = sizeof buf;
        SendMessage(list, LVM_GETITEMTEXT, (WPARAM)item, (LPARAM)&li);
        return buf;
    }
    HWND Child(const char* cls, DWORD styleBit) {
        for (HWND c = GetWindow(list, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            char name[64];
            GetClassName(c, name, sizeof name);
            if (std::string(name) == cls && ((DWORD)GetWindowLongPtr(c, GWL_STYLE) & 1) == styleBit)
                return c;
        }
        return nullptr;
    }
    int Top() { return (int)SendMessage(list, LVM_GETTOPINDEX, 0, 0); }

    Parent parent;
    HWND top = nullptr;
    HWND list = nullptr;
};
}  // namespace

TEST_F(ListViewTest, ClicksKeysAndHeaderTellTheParent) {
    Make(0, 20);
    POINT p = Mid(2, 1);
    SimulateClick(list, p.x, p.y);
    Pump();
    ASSERT_NE(parent.last(NM_CLICK), nullptr);
    EXPECT_EQ(parent.last(NM_CLICK)->iItem, 2);
    EXPECT_EQ(parent.last(NM_CLICK)->iSubItem, 1);
    const NMITEMACTIVATE* changed = parent.last(LVN_ITEMCHANGED);
    ASSERT_NE(changed, nullptr);
    EXPECT_EQ(changed->iItem, 2);
    EXPECT_EQ(changed->uNewState, (UINT)(LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_EQ(changed->lParam, 1002);
    EXPECT_EQ(parent.count(LVN_ITEMACTIVATE), 0);  // activation needs a double click here

    SimulateKey(VK_DOWN);
    Pump();
    EXPECT_EQ(parent.count(LVN_KEYDOWN), 1);
    EXPECT_EQ(SendMessage(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED), 3);
    EXPECT_EQ(SendMessage(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED), 3);
    EXPECT_EQ(SendMessage(list, LVM_GETSELECTEDCOUNT, 0, 0), 1);

    p = Mid(4, 0);
    SimulateMouseButton(list, p.x, p.y, WM_LBUTTONDBLCLK, WM_LBUTTONUP);
    Pump();
    EXPECT_EQ(parent.last(NM_DBLCLK)->iItem, 4);
    EXPECT_EQ(parent.last(LVN_ITEMACTIVATE)->iItem, 4);

    HWND header = (HWND)SendMessage(list, LVM_GETHEADER, 0, 0);
    RECT hr;
    SendMessage(header, HDM_GETITEMRECT, 2, (LPARAM)&hr);
    SimulateClick(header, (hr.left + hr.right) / 2, (hr.top + hr.bottom) / 2);
    Pump();
    ASSERT_NE(parent.last(LVN_COLUMNCLICK), nullptr);
    EXPECT_EQ(parent.last(LVN_COLUMNCLICK)->iSubItem, 2);
    EXPECT_EQ(parent.count(HDN_ITEMCLICK), 1);  // the header's own notification is passed on too
}

TEST_F(ListViewTest, HitTestsAndRectanglesAgree) {
    Make(0, 10, 3, 90);
    RECT bounds{LVIR_BOUNDS, 0, 0, 0};
    ASSERT_TRUE(SendMessage(list, LVM_GETITEMRECT, 5, (LPARAM)&bounds));
    EXPECT_EQ(bounds.right - bounds.left, 270);
    RECT cell = SubRect(5, 2);
    EXPECT_EQ(cell.left, bounds.left + 180);
    EXPECT_EQ(cell.right, bounds.left + 270);
    EXPECT_EQ(cell.top, bounds.top);

    struct Case {
        POINT pt;
        int item, sub;
        UINT flags;
    } cases[] = {
        {Mid(5, 2), 5, 2, LVHT_ONITEMLABEL},
        {Mid(0, 0), 0, 0, LVHT_ONITEMLABEL},
        {POINT{300, Mid(5, 0).y}, -1, -1, LVHT_NOWHERE},  // right of the last column
        {POINT{10, 5}, -1, -1, LVHT_ABOVE},               // on the header
        {POINT{10, bounds.bottom + 4 * (bounds.bottom - bounds.top) + 2}, -1, -1,
         LVHT_NOWHERE},  // below the rows
        {POINT{10, 299}, -1, -1, LVHT_NOWHERE},
        {POINT{10, 300}, -1, -1, LVHT_BELOW},
    };
    for (const Case& c : cases) {
        LVHITTESTINFO info{c.pt, 0, 0, 0};
        EXPECT_EQ(SendMessage(list, LVM_SUBITEMHITTEST, 0, (LPARAM)&info), c.item) << c.pt.x << "," << c.pt.y;
        EXPECT_EQ(info.iSubItem, c.sub);
        EXPECT_EQ(info.flags, c.flags);
    }
}

TEST_F(ListViewTest, ScrollsByBarKeysAndRequests) {
    Make(0, 1000, 6, 120);  // wider and taller than the window
    int perPage = (int)SendMessage(list, LVM_GETCOUNTPERPAGE, 0, 0);
    ASSERT_GT(perPage, 5);
    EXPECT_TRUE(SendMessage(list, LVM_ENSUREVISIBLE, 500, FALSE));
    EXPECT_EQ(Top(), 500 - perPage + 1);
    EXPECT_TRUE(SendMessage(list, LVM_ENSUREVISIBLE, 10, FALSE));
    EXPECT_EQ(Top(), 10);
    EXPECT_FALSE(SendMessage(list, LVM_ENSUREVISIBLE, 1000, FALSE));

    HWND vbar = Child(WC_SCROLLBAR, SBS_VERT), hbar = Child(WC_SCROLLBAR, SBS_HORZ);
    ASSERT_TRUE(vbar && hbar);
    Pump();
    EXPECT_TRUE(IsWindowVisible(vbar));
    EXPECT_TRUE(IsWindowVisible(hbar));
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(vbar, SB_CTL, &si));
    EXPECT_EQ(si.nPos, 10);
    EXPECT_EQ(si.nMax, 999);
    EXPECT_EQ((int)si.nPage, perPage);
    RECT vr;
    GetClientRect(vbar, &vr);
    SimulateClick(vbar, vr.right / 2, vr.bottom - 3);  // the down arrow
    Pump();
    EXPECT_EQ(Top(), 11);
    SimulateClick(vbar, vr.right / 2, vr.bottom - 30);  // the track below the thumb: a page
    Pump();
    EXPECT_EQ(Top(), 11 + perPage);

    RECT row{LVIR_BOUNDS, 0, 0, 0};
    SendMessage(list, LVM_GETITEMRECT, (WPARAM)Top(), (LPARAM)&row);
    SendMessage(list, LVM_SCROLL, 0, 3 * (row.bottom - row.top));
    EXPECT_EQ(Top(), 14 + perPage);
    SendMessage(list, LVM_SCROLL, 0, -100000);
    EXPECT_EQ(Top(), 0);

    // Sideways the header moves with the rows.
    HWND header = (HWND)SendMessage(list, LVM_GETHEADER, 0, 0);
    SendMessage(list, LVM_SCROLL, 50, 0);
    RECT hr, lr;
    GetWindowRect(header, &hr);
    GetWindowRect(list, &lr);
    EXPECT_EQ(hr.left - lr.left, -50);
    RECT cell = SubRect(0, 0);
    EXPECT_EQ(cell.left, -50);
    SendMessage(list, WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0);
    EXPECT_EQ(Top(), 1000 - perPage);
}

TEST_F(ListViewTest, CustomDrawStagesAndTheirAnswers) {
    Make(0, 6, 2, 100);
    SendMessage(list, LVM_SETTEXTBKCOLOR, 0, RGB(0, 0, 200));
    std::vector<std::pair<DWORD, int>> stages;  // stage, item (and sub-item * 100)
    parent.answer = [&](NMHDR* hdr) -> LRESULT {
        if (hdr->code != NM_CUSTOMDRAW)
            return 0;
        auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(hdr);
        DWORD stage = cd->nmcd.dwDrawStage;
        int item = (int)cd->nmcd.dwItemSpec;
        stages.emplace_back(stage, item + 100 * cd->iSubItem);
        if (stage == CDDS_PREPAINT)
            return CDRF_NOTIFYITEMDRAW;
        if (stage == CDDS_ITEMPREPAINT && item == 1)
            return CDRF_NOTIFYSUBITEMDRAW;
        if (stage == CDDS_ITEMPREPAINT && item == 2)
            return CDRF_SKIPDEFAULT;
        if (stage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM) && cd->iSubItem == 1)
            cd->clrTextBk = RGB(200, 0, 0);
        return CDRF_DODEFAULT;
    };
    InvalidateRect(list, nullptr, TRUE);
    Pump();
    ASSERT_FALSE(stages.empty());
    EXPECT_EQ(stages[0].first, (DWORD)CDDS_PREPAINT);
    int subStages = 0;
    for (auto& s : stages)
        if (s.first & CDDS_SUBITEM) {
            ++subStages;
            EXPECT_EQ(s.second % 100, 1);  // only the row that asked
        }
    EXPECT_EQ(subStages, 2);
    auto pixel = [&](int item, int sub) {
        RECT r = SubRect(item, sub);
        return GetWindowPixel(list, r.right - 4, (r.top + r.bottom) / 2);
    };
    EXPECT_EQ(pixel(0, 1), RGB(0, 0, 200));
    EXPECT_EQ(pixel(1, 0), RGB(0, 0, 200));
    EXPECT_EQ(pixel(1, 1), RGB(200, 0, 0));
    EXPECT_EQ(pixel(2, 1), GetSysColor(COLOR_WINDOW));  // skipped: only the background
}

TEST_F(ListViewTest, OwnerDrawFixedRowsAreDrawnByTheParent) {
    parent.measuredHeight = 30;
    std::vector<DRAWITEMSTRUCT> drawn;
    parent.draw = [&](DRAWITEMSTRUCT* dis) {
        drawn.push_back(*dis);
        HBRUSH b = CreateSolidBrush((dis->itemState & ODS_SELECTED) ? RGB(0, 150, 0) : RGB(150, 150, 0));
        FillRect(dis->hDC, &dis->rcItem, b);
        DeleteObject(b);
    };
    Make(LVS_OWNERDRAWFIXED, 4, 2, 100);
    LVITEM st{};
    st.state = st.stateMask = LVIS_SELECTED;
    SendMessage(list, LVM_SETITEMSTATE, 1, (LPARAM)&st);
    drawn.clear();
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(list);
    Pump();
    RECT r{LVIR_BOUNDS, 0, 0, 0};
    SendMessage(list, LVM_GETITEMRECT, 1, (LPARAM)&r);
    EXPECT_EQ(r.bottom - r.top, 30);
    ASSERT_GE(drawn.size(), 4u);
    EXPECT_EQ(drawn[0].CtlType, (UINT)ODT_LISTVIEW);
    EXPECT_EQ(drawn[0].itemData, 1000u);
    EXPECT_EQ(GetWindowPixel(list, 50, (r.top + r.bottom) / 2), RGB(0, 150, 0));
    EXPECT_EQ(GetWindowPixel(list, 50, r.bottom + 10), RGB(150, 150, 0));
}

TEST_F(ListViewTest, TheCornerBetweenTheTwoScrollBarsIsButtonFace) {
    Make(0, 60, 6, 100);  // wider and taller than the list: both bars
    RECT rc;
    GetClientRect(list, &rc);
    int sb = GetSystemMetrics(SM_CXVSCROLL), sbh = GetSystemMetrics(SM_CYHSCROLL);
    EXPECT_EQ(GetWindowPixel(list, rc.right - sb / 2, rc.bottom - sbh / 2), GetSysColor(COLOR_3DFACE));
    EXPECT_EQ(GetWindowPixel(list, rc.right - sb + 1, rc.bottom - sbh + 1), GetSysColor(COLOR_3DFACE));
}

TEST_F(ListViewTest, TheFocusedRowOfAFocusedListShowsTheFocusUnlessTheParentDrewTheRow) {
    // Owner-drawn rows: the owner is asked to draw the focus, only while the list has the focus.
    std::vector<std::pair<int, UINT>> actions;  // item, action
    parent.draw = [&](DRAWITEMSTRUCT* dis) { actions.emplace_back((int)dis->itemID, dis->itemAction); };
    Make(LVS_OWNERDRAWFIXED, 3, 2, 100);
    LVITEM st{};
    st.state = st.stateMask = LVIS_FOCUSED;
    SendMessage(list, LVM_SETITEMSTATE, 1, (LPARAM)&st);
    for (bool focused : {true, false}) {
        SCOPED_TRACE(focused);
        SetFocus(focused ? list : top);
        Pump();
        actions.clear();
        InvalidateRect(list, nullptr, TRUE);
        Pump();
        std::vector<std::pair<int, UINT>> expected{{0, ODA_DRAWENTIRE}, {1, ODA_DRAWENTIRE}};
        if (focused)
            expected.emplace_back(1, ODA_FOCUS);
        expected.emplace_back(2, ODA_DRAWENTIRE);
        EXPECT_EQ(actions, expected);
    }
    DestroyWindow(list);

    // Custom draw: the dotted rectangle, except on a row the parent drew whole.
    Make(0, 3, 2, 100);
    SendMessage(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES, 0);
    SendMessage(list, LVM_SETITEMSTATE, 1, (LPARAM)&st);
    SetFocus(list);
    bool skipRow = false;
    parent.answer = [&](NMHDR* hdr) -> LRESULT {
        auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(hdr);
        if (hdr->code != NM_CUSTOMDRAW)
            return 0;
        if (cd->nmcd.dwDrawStage == CDDS_PREPAINT)
            return CDRF_NOTIFYITEMDRAW;
        return skipRow && cd->nmcd.dwItemSpec == 1 ? CDRF_SKIPDEFAULT : CDRF_DODEFAULT;
    };
    RECT row{LVIR_BOUNDS, 0, 0, 0};
    SendMessage(list, LVM_GETITEMRECT, 1, (LPARAM)&row);
    for (bool skip : {false, true}) {
        SCOPED_TRACE(skip);
        skipRow = skip;
        InvalidateRect(list, nullptr, TRUE);
        Pump();
        // The dotted line along the row's top, every other pixel.
        bool dotted = GetWindowPixel(list, row.left + 2, row.top) != GetSysColor(COLOR_WINDOW) ||
                      GetWindowPixel(list, row.left + 3, row.top) != GetSysColor(COLOR_WINDOW);
        EXPECT_EQ(dotted, !skip);
    }
}

TEST_F(ListViewTest, LabelEditingAsksBeforeAndAfter) {
    Make(LVS_EDITLABELS, 3);
    LRESULT acceptEnd = TRUE, refuseBegin = FALSE;
    std::string ended;
    parent.answer = [&](NMHDR* hdr) -> LRESULT {
        auto* di = reinterpret_cast<NMLVDISPINFO*>(hdr);
        if (hdr->code == LVN_BEGINLABELEDIT)
            return refuseBegin;
        if (hdr->code == LVN_ENDLABELEDIT) {
            ended = di->item.pszText ? di->item.pszText : "(cancelled)";
            return acceptEnd;
        }
        return 0;
    };
    HWND edit = (HWND)SendMessage(list, LVM_EDITLABEL, 1, 0);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(parent.count(LVN_BEGINLABELEDIT), 1);
    EXPECT_EQ(GetWindowTextString(edit), "r1");
    RECT er, cell = SubRect(1, 0);
    GetWindowRect(edit, &er);
    POINT o{cell.left, cell.top};
    ClientToScreen(list, &o);
    EXPECT_EQ(er.left, o.x);
    EXPECT_EQ(er.top, o.y);
    SimulateChars("new");
    SimulateKey(VK_RETURN);
    Pump();
    EXPECT_EQ(ended, "new");
    EXPECT_EQ(Text(1, 0), "new");
    EXPECT_FALSE(IsWindow(edit));

    acceptEnd = FALSE;  // the parent turns the text down
    SendMessage(list, LVM_EDITLABEL, 2, 0);
    SimulateChars("no");
    SimulateKey(VK_RETURN);
    Pump();
    EXPECT_EQ(ended, "no");
    EXPECT_EQ(Text(2, 0), "r2");

    refuseBegin = TRUE;
    EXPECT_EQ(SendMessage(list, LVM_EDITLABEL, 0, 0), 0);
    EXPECT_EQ(SendMessage(list, LVM_GETEDITCONTROL, 0, 0), 0);
}

TEST_F(ListViewTest, OwnerDataAsksOnlyForTheRowsOnScreen) {
    int asked = 0, lowest = 1 << 30, highest = -1;
    parent.answer = [&](NMHDR* hdr) -> LRESULT {
        if (hdr->code == LVN_GETDISPINFO) {
            auto* di = reinterpret_cast<NMLVDISPINFO*>(hdr);
            ++asked;
            lowest = std::min(lowest, di->item.iItem);
            highest = std::max(highest, di->item.iItem);
            if (di->item.mask & LVIF_TEXT)
                snprintf(di->item.pszText, (size_t)di->item.cchTextMax, "row %d col %d", di->item.iItem,
                         di->item.iSubItem);
        }
        return 0;
    };
    Make(LVS_OWNERDATA, 0);
    SendMessage(list, LVM_SETITEMCOUNT, 1000000, 0);
    SendMessage(list, LVM_ENSUREVISIBLE, 500000, FALSE);
    asked = 0;
    lowest = 1 << 30;
    highest = -1;
    UpdateWindow(list);
    int perPage = (int)SendMessage(list, LVM_GETCOUNTPERPAGE, 0, 0);
    EXPECT_GT(asked, 0);
    EXPECT_LE(asked, 3 * (perPage + 2));
    EXPECT_GE(lowest, 500000 - perPage);
    EXPECT_LE(highest, 500001);
    EXPECT_EQ(Text(999999, 2), "row 999999 col 2");

    POINT p = Mid(500000, 1);
    SimulateClick(list, p.x, p.y);
    Pump();
    EXPECT_EQ(SendMessage(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED), 500000);
    SimulateKey(VK_END);
    Pump();
    EXPECT_EQ(SendMessage(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED), 999999);
    EXPECT_EQ(SendMessage(list, LVM_GETSELECTEDCOUNT, 0, 0), 1);
    // Shrinking the list drops what lay beyond it.
    SendMessage(list, LVM_SETITEMCOUNT, 10, 0);
    EXPECT_EQ(SendMessage(list, LVM_GETSELECTEDCOUNT, 0, 0), 0);
    EXPECT_EQ(Top(), 0);
}

TEST_F(ListViewTest, RedrawOffHoldsPaintingAndPrintDrawsIntoAnyDC) {
    Make(0, 0, 2, 100);
    SendMessage(list, LVM_SETTEXTBKCOLOR, 0, RGB(0, 0, 200));
    SendMessage(list, WM_SETREDRAW, FALSE, 0);
    LVITEM li{};
    li.mask = LVIF_TEXT;
    li.pszText = const_cast<LPTSTR>("held");
    SendMessage(list, LVM_INSERTITEM, 0, (LPARAM)&li);
    Pump();
    RECT r = SubRect(0, 1);
    POINT in{r.right - 4, (r.top + r.bottom) / 2};
    EXPECT_EQ(GetWindowPixel(list, in.x, in.y), GetSysColor(COLOR_WINDOW));
    SendMessage(list, WM_SETREDRAW, TRUE, 0);
    Pump();
    EXPECT_EQ(GetWindowPixel(list, in.x, in.y), RGB(0, 0, 200));

    HDC screen = GetDC(list);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 420, 300);
    HGDIOBJ old = SelectObject(mem, bmp);
    SendMessage(list, WM_PRINT, (WPARAM)mem, PRF_CLIENT | PRF_CHILDREN | PRF_ERASEBKGND);
    EXPECT_EQ(GetPixel(mem, in.x, in.y), RGB(0, 0, 200));
    EXPECT_EQ(GetPixel(mem, 150, 8), GetSysColor(COLOR_3DFACE));  // the header, printed with the rows
    EXPECT_EQ(GetPixel(mem, 300, 200), GetSysColor(COLOR_WINDOW));
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(list, screen);
}

TEST_F(ListViewTest, AutosizeByContentsAndHeader) {
    Make(0, 3, 3, 40);
    LVITEM li{};
    li.iSubItem = 1;
    li.pszText = const_cast<LPTSTR>("a considerably longer cell text");
    SendMessage(list, LVM_SETITEMTEXT, 2, (LPARAM)&li);
    int textWidth = (int)SendMessage(list, LVM_GETSTRINGWIDTH, 0, (LPARAM) "a considerably longer cell text");
    SendMessage(list, LVM_SETCOLUMNWIDTH, 1, LVSCW_AUTOSIZE_USEHEADER);
    int w1 = (int)SendMessage(list, LVM_GETCOLUMNWIDTH, 1, 0);
    EXPECT_GT(w1, textWidth);
    EXPECT_LT(w1, textWidth + 20);
    HWND header = (HWND)SendMessage(list, LVM_GETHEADER, 0, 0);
    HDITEM hi{};
    hi.mask = HDI_WIDTH;
    SendMessage(header, HDM_GETITEM, 1, (LPARAM)&hi);
    EXPECT_EQ(hi.cxy, w1);
    // The last column sized by its header takes what the view has left.
    SendMessage(list, LVM_SETCOLUMNWIDTH, 2, LVSCW_AUTOSIZE_USEHEADER);
    EXPECT_EQ(SendMessage(list, LVM_GETCOLUMNWIDTH, 2, 0), 420 - 40 - w1);
}

TEST_F(ListViewTest, AParentMayDestroyTheListWhileItIsTold) {
    // A dialog that closes on a click or a double click destroys the list inside its own message.
    for (UINT code : {(UINT)NM_CLICK, (UINT)LVN_ITEMCHANGED, (UINT)NM_DBLCLK, (UINT)LVN_ITEMACTIVATE}) {
        Make(0, 5);
        parent.answer = [&](NMHDR* hdr) -> LRESULT {
            if (hdr->code == code && IsWindow(hdr->hwndFrom))
                DestroyWindow(hdr->hwndFrom);
            return 0;
        };
        POINT p = Mid(1, 1);
        if (code == NM_DBLCLK || code == LVN_ITEMACTIVATE)
            SimulateMouseButton(list, p.x, p.y, WM_LBUTTONDBLCLK, WM_LBUTTONUP);
        else
            SimulateClick(list, p.x, p.y);
        Pump();
        EXPECT_FALSE(IsWindow(list)) << code;
        parent.answer = nullptr;
    }
}

namespace {
// What the parent heard of the selection, in order: (code, item, new state, old state).
struct StateChange {
    UINT code;
    int item;
    UINT now, was;
    bool operator==(const StateChange&) const = default;
};
}  // namespace

// A press as a program makes one: the release waits in the queue while the press is sent, so the list
// follows the press to its end before the send returns.
static void PressAndRelease(HWND list, POINT p, WPARAM keys, UINT down = WM_LBUTTONDOWN) {
    PostMessage(list, WM_LBUTTONUP, keys, MAKELPARAM(p.x, p.y));
    SendMessage(list, down, keys | MK_LBUTTON, MAKELPARAM(p.x, p.y));
}

TEST_F(ListViewTest, ShiftClickKeepsTheAnchorAndChangesOnlyTheNewRangeAndFocus) {
    Make(0, 6);
    std::vector<StateChange> changes;
    parent.answer = [&](NMHDR* hdr) -> LRESULT {
        if (hdr->code == LVN_ITEMCHANGING || hdr->code == LVN_ITEMCHANGED) {
            auto* nm = reinterpret_cast<NMLISTVIEW*>(hdr);
            changes.push_back({hdr->code, nm->iItem, nm->uNewState, nm->uOldState});
        }
        return 0;
    };
    PressAndRelease(list, Mid(1, 0), 0);
    PressAndRelease(list, Mid(3, 1), MK_CONTROL);  // 1 and 3 selected, 3 the anchor and focus
    changes.clear();
    PressAndRelease(list, Mid(4, 1), MK_SHIFT);
    const UINT S = LVIS_SELECTED, F = LVIS_FOCUSED;
    std::vector<StateChange> expected = {
        {LVN_ITEMCHANGING, 1, 0, S},     {LVN_ITEMCHANGED, 1, 0, S},       // outside the new range
        {LVN_ITEMCHANGING, 4, S, 0},     {LVN_ITEMCHANGED, 4, S, 0},       // into it
        {LVN_ITEMCHANGING, 4, S | F, S}, {LVN_ITEMCHANGING, 3, S, S | F},  // the focus moves
        {LVN_ITEMCHANGED, 3, S, S | F},  {LVN_ITEMCHANGED, 4, S | F, S},
    };
    EXPECT_EQ(changes, expected);
    EXPECT_EQ(SendMessage(list, LVM_GETSELECTEDCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessage(list, LVM_GETSELECTIONMARK, 0, 0), 3);

    // Back over the anchor to the other side: the anchor stays selected throughout.
    changes.clear();
    PressAndRelease(list, Mid(2, 1), MK_SHIFT);
    for (const StateChange& c : changes) {
        if (c.item == 3) {
            EXPECT_TRUE(c.now & S);
        }
    }
    EXPECT_EQ(SendMessage(list, LVM_GETSELECTEDCOUNT, 0, 0), 2);  // 2 and 3
    EXPECT_EQ(SendMessage(list, LVM_GETITEMSTATE, 2, S | F), (LRESULT)(S | F));
}

TEST_F(ListViewTest, APressIsFollowedToItsEndBeforeTheSelectionTheFocusAndTheClick) {
    Make(0, 6);
    SetFocus(top);
    parent.codes.clear();
    auto heard = [&] {
        std::vector<UINT> codes;
        for (UINT c : parent.codes)
            if (c != (UINT)NM_CUSTOMDRAW)
                codes.push_back(c);
        parent.codes.clear();
        return codes;
    };
    POINT p = Mid(1, 0);
    PressAndRelease(list, p, 0);
    EXPECT_EQ(heard(), (std::vector<UINT>{(UINT)NM_RELEASEDCAPTURE, (UINT)LVN_ITEMCHANGING,
                                          (UINT)LVN_ITEMCHANGED, (UINT)NM_SETFOCUS, (UINT)NM_CLICK}));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(GetFocus(), list);

    // A double click: the first press as above, the second tracked as well before NM_DBLCLK.
    PressAndRelease(list, Mid(0, 0), 0);
    heard();
    PressAndRelease(list, Mid(0, 0), 0, WM_LBUTTONDBLCLK);
    EXPECT_EQ(heard(),
              (std::vector<UINT>{(UINT)NM_RELEASEDCAPTURE, (UINT)NM_DBLCLK, (UINT)LVN_ITEMACTIVATE}));

    // Input queued by the user: the same order once the loop gets to it.
    SimulateClick(list, Mid(2, 1).x, Mid(2, 1).y);
    Pump();
    EXPECT_EQ(heard(),
              (std::vector<UINT>{(UINT)NM_RELEASEDCAPTURE, (UINT)LVN_ITEMCHANGING, (UINT)LVN_ITEMCHANGED,
                                 (UINT)LVN_ITEMCHANGING, (UINT)LVN_ITEMCHANGING, (UINT)LVN_ITEMCHANGED,
                                 (UINT)LVN_ITEMCHANGED, (UINT)NM_CLICK}));

    // Leaving the drag rectangle with the button held starts a drag instead of a click.
    p = Mid(4, 0);
    PostMessage(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x + 40, p.y + 20));
    SendMessage(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    std::vector<UINT> drag = heard();
    ASSERT_FALSE(drag.empty());
    EXPECT_EQ(drag.front(), (UINT)NM_RELEASEDCAPTURE);
    EXPECT_EQ(drag.back(), (UINT)LVN_BEGINDRAG);
    EXPECT_EQ(std::count(drag.begin(), drag.end(), (UINT)NM_CLICK), 0);
    EXPECT_EQ(SendMessage(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED), 4);
    EXPECT_EQ(GetCapture(), nullptr);

    // Escape during the press gives it up: the capture is let go and nothing else happens.
    PostMessage(list, WM_KEYDOWN, VK_ESCAPE, 0);
    SendMessage(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(Mid(5, 0).x, Mid(5, 0).y));
    EXPECT_EQ(heard(), (std::vector<UINT>{(UINT)NM_RELEASEDCAPTURE}));
    EXPECT_EQ(SendMessage(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED), 4);
}

TEST_F(ListViewTest, FullRowHitsBeyondTheFirstColumnAreOnTheItem) {
    Make(0, 10, 3, 90);
    struct Case {
        POINT pt;
        bool fullRow;
        int item;
        UINT flags;
    } cases[] = {
        {Mid(5, 2), true, 5, LVHT_ONITEM},
        {Mid(5, 0), true, 5, LVHT_ONITEMLABEL},
        {Mid(5, 2), false, -1, LVHT_NOWHERE},
    };
    for (const Case& c : cases) {
        SendMessage(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                    c.fullRow ? LVS_EX_FULLROWSELECT : 0);
        LVHITTESTINFO info{c.pt, 0, 0, 0};
        EXPECT_EQ(SendMessage(list, LVM_HITTEST, 0, (LPARAM)&info), c.item)
            << c.pt.x << " full " << c.fullRow;
        EXPECT_EQ(info.flags, c.flags) << c.pt.x << " full " << c.fullRow;
    }
}

TEST_F(ListViewTest, CustomDrawOfTheFirstSubItemGetsTheWholeRow) {
    Make(0, 4, 3, 100);
    std::vector<std::pair<int, RECT>> subRects;  // sub-item, nmcd.rc, for row 1
    parent.answer = [&](NMHDR* hdr) -> LRESULT {
        if (hdr->code != NM_CUSTOMDRAW)
            return 0;
        auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(hdr);
        if (cd->nmcd.dwDrawStage == CDDS_PREPAINT)
            return CDRF_NOTIFYITEMDRAW;
        if (cd->nmcd.dwDrawStage == CDDS_ITEMPREPAINT)
            return CDRF_NOTIFYSUBITEMDRAW;
        if (cd->nmcd.dwDrawStage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM) && cd->nmcd.dwItemSpec == 1)
            subRects.emplace_back(cd->iSubItem, cd->nmcd.rc);
        return CDRF_DODEFAULT;
    };
    InvalidateRect(list, nullptr, TRUE);
    Pump();
    ASSERT_EQ(subRects.size(), 3u);
    RECT bounds{LVIR_BOUNDS, 0, 0, 0};
    SendMessage(list, LVM_GETITEMRECT, 1, (LPARAM)&bounds);
    auto same = [](const RECT& a, const RECT& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    };
    EXPECT_EQ(subRects[0].first, 0);
    EXPECT_TRUE(same(subRects[0].second, bounds));
    for (int sub = 1; sub < 3; ++sub) {
        RECT cell{LVIR_BOUNDS, sub, 0, 0};
        SendMessage(list, LVM_GETSUBITEMRECT, 1, (LPARAM)&cell);
        EXPECT_EQ(subRects[(size_t)sub].first, sub);
        EXPECT_TRUE(same(subRects[(size_t)sub].second, cell)) << sub;
    }
}

TEST_F(ListViewTest, CheckBoxesToggleOnClickAndSpaceTellingTheStateImageBits) {
    Make(0, 3, 2, 100);
    SendMessage(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    auto check = [&](int item) {
        return (UINT)SendMessage(list, LVM_GETITEMSTATE, (WPARAM)item, LVIS_STATEIMAGEMASK);
    };
    EXPECT_NE(SendMessage(list, LVM_GETIMAGELIST, LVSIL_STATE, 0), 0);
    EXPECT_EQ(check(0), INDEXTOSTATEIMAGEMASK(1));
    std::string extra = "late";
    LVITEM li{};
    li.mask = LVIF_TEXT;
    li.iItem = 3;
    li.pszText = extra.data();
    SendMessage(list, LVM_INSERTITEM, 0, (LPARAM)&li);
    EXPECT_EQ(check(3), INDEXTOSTATEIMAGEMASK(1));  // rows inserted later start clear too

    // The label follows the box; a hit on the box says so.
    RECT bounds{LVIR_BOUNDS, 0, 0, 0}, label{LVIR_LABEL, 0, 0, 0};
    SendMessage(list, LVM_GETITEMRECT, 1, (LPARAM)&bounds);
    SendMessage(list, LVM_GETITEMRECT, 1, (LPARAM)&label);
    EXPECT_EQ(label.left, bounds.left + 16);
    POINT box{bounds.left + 7, (bounds.top + bounds.bottom) / 2};
    LVHITTESTINFO info{box, 0, 0, 0};
    EXPECT_EQ(SendMessage(list, LVM_SUBITEMHITTEST, 0, (LPARAM)&info), 1);
    EXPECT_EQ(info.flags, (UINT)LVHT_ONITEMSTATEICON);

    Pump();
    PixelProbe probe(list);
    POINT tick{bounds.left + 1 + 3 + 2, bounds.top + (bounds.bottom - bounds.top - 16) / 2 + 1 + 7 + 1};
    EXPECT_EQ(probe.At(tick), GetSysColor(COLOR_WINDOW));

    parent.items.clear();
    PressAndRelease(list, box, 0);
    EXPECT_EQ(check(1), INDEXTOSTATEIMAGEMASK(2));
    const NMITEMACTIVATE* changed = nullptr;
    for (const NMITEMACTIVATE& nm : parent.items)
        if (nm.hdr.code == LVN_ITEMCHANGED && (nm.uOldState ^ nm.uNewState) & LVIS_STATEIMAGEMASK)
            changed = &nm;
    ASSERT_NE(changed, nullptr);
    EXPECT_EQ(changed->iItem, 1);
    EXPECT_EQ(changed->uChanged, (UINT)LVIF_STATE);
    EXPECT_EQ(changed->uOldState & LVIS_STATEIMAGEMASK, INDEXTOSTATEIMAGEMASK(1));
    EXPECT_EQ(changed->uNewState & LVIS_STATEIMAGEMASK, INDEXTOSTATEIMAGEMASK(2));
    Pump();
    EXPECT_EQ(probe.At(tick), GetSysColor(COLOR_WINDOWTEXT));

    // Space flips the focused row's box back; a parent refusing the change keeps it.
    SendMessage(list, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(check(1), INDEXTOSTATEIMAGEMASK(1));
    parent.answer = [](NMHDR* h) -> LRESULT { return h->code == LVN_ITEMCHANGING; };
    PressAndRelease(list, box, 0);
    EXPECT_EQ(check(1), INDEXTOSTATEIMAGEMASK(1));
    parent.answer = nullptr;

    // Without the style the rows lose their boxes and the label starts at the row's left again.
    SendMessage(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, 0);
    EXPECT_EQ(check(1), 0u);
    EXPECT_EQ(SendMessage(list, LVM_GETIMAGELIST, LVSIL_STATE, 0), 0);
    label = RECT{LVIR_LABEL, 0, 0, 0};
    SendMessage(list, LVM_GETITEMRECT, 1, (LPARAM)&label);
    EXPECT_EQ(label.left, bounds.left);
}

TEST_F(ListViewTest, TheDropTargetRowShowsHighlightedWithoutTheFocus) {
    Make(0, 4);
    SetFocus(top);
    LVITEM st{};
    st.state = LVIS_DROPHILITED;
    st.stateMask = LVIS_DROPHILITED;
    SendMessage(list, LVM_SETITEMSTATE, 2, (LPARAM)&st);
    EXPECT_EQ(SendMessage(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_DROPHILITED), 2);
    Pump();
    PixelProbe probe(list);
    EXPECT_EQ(probe.InsideRight(SubRect(2, 1), 4), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(probe.InsideRight(SubRect(1, 1), 4), GetSysColor(COLOR_WINDOW));
    st.state = 0;
    SendMessage(list, LVM_SETITEMSTATE, 2, (LPARAM)&st);
    Pump();
    EXPECT_EQ(probe.InsideRight(SubRect(2, 1), 4), GetSysColor(COLOR_WINDOW));
}
