// The grid window on the headless display: geometry, scrolling, focus and selection, keys, clicks, the
// in-place editor, the title tip, drag and drop answers and its pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "controls/GridCtrl.h"
#include "controls/InPlaceEdit.h"
#include "platform/framework/ole/OleDataSource.h"
#include "platform/user/Clipboard.h"
#include "tests/support/Gui.h"

namespace {
struct Notice {
    Notice(UINT c, int r, int k) : code((int)c), row(r), col(k) {}
    int code, row, col;
    bool operator==(const Notice& o) const { return code == o.code && row == o.row && col == o.col; }
};
[[maybe_unused]] void PrintTo(const Notice& n, std::ostream* os) {
    *os << "{" << n.code << "," << n.row << "," << n.col << "}";
}

// The grid's parent: records the grid's notifications.
class Host : public CWnd {
public:
    std::vector<Notice> notices;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_NOTIFY) {
            auto* nm = reinterpret_cast<NM_GRIDVIEW*>(lParam);
            if (nm->hdr.idFrom == 100)
                notices.emplace_back(nm->hdr.code, nm->iRow, nm->iColumn);
        }
        return CWnd::WindowProc(msg, wParam, lParam);
    }
    std::vector<int> Codes() const {
        std::vector<int> codes;
        for (const Notice& n : notices)
            codes.push_back(n.code);
        return codes;
    }
};

// A grid of 10 rows and 6 columns, one fixed row and one fixed column; column 0 is 40 pixels wide, the
// others 60; every row 20 high. The host's client area is 300 x 150.
class GridWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.CreateEx(0, AfxWndClassName(), "Grid", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 300,
                                  150, nullptr, nullptr));
        ASSERT_TRUE(grid.Create(RECT{0, 0, 300, 150}, &host, 100, WS_CHILD | WS_VISIBLE | WS_TABSTOP));
        Build(10, 6, 1, 1);
        shot.emplace(host.m_hWnd);
    }
    void TearDown() override {
        shot.reset();
        grid.DestroyWindow();
        host.DestroyWindow();
        Pump();
    }
    void Build(int rows, int cols, int fixedRows, int fixedCols) {
        grid.SetRowCount(rows);
        grid.SetColumnCount(cols);
        grid.SetFixedRowCount(fixedRows);
        grid.SetFixedColumnCount(fixedCols);
        for (int c = 0; c < cols; ++c)
            grid.SetColumnWidth(c, c == 0 ? 40 : 60);
        for (int r = 0; r < rows; ++r) {
            grid.SetRowHeight(r, 20);
            for (int c = 0; c < cols; ++c)
                grid.SetItemText(r, c, (std::to_string(r) + ":" + std::to_string(c)).c_str());
        }
        grid.ResetScrollBars();
        Pump();
        host.notices.clear();
    }
    // The centre of a cell, in the grid's client coordinates.
    POINT Centre(int row, int col) {
        RECT rc{};
        EXPECT_TRUE(grid.GetCellRect(row, col, &rc));
        return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }
    void Click(int row, int col) {
        POINT p = Centre(row, col);
        SimulateClick(grid.m_hWnd, p.x, p.y);
        Pump(true);
    }
    static void Keys(std::vector<UINT> modifiers, UINT vk) {
        for (UINT m : modifiers) {
            PostKeyInput(WM_KEYDOWN, m, 1);
            Pump(true);
        }
        SimulateKey(vk);
        Pump(true);
        for (UINT m : modifiers)
            PostKeyInput(WM_KEYUP, m, (LPARAM)0xC0000001);
        Pump(true);
    }
    CInPlaceEdit* Editor() {
        HWND edit = ::GetDlgItem(grid.m_hWnd, IDC_INPLACE_EDIT);
        return edit ? dynamic_cast<CInPlaceEdit*>(CWnd::FromHandlePermanent(edit)) : nullptr;
    }
    bool Updated() {
        RECT rc;
        return ::GetUpdateRect(grid.m_hWnd, &rc, FALSE) != FALSE;
    }

    Host host;
    CGridCtrl grid;
    std::optional<ScreenshotOnFailure> shot;
};
}  // namespace

TEST_F(GridWindow, CellUnderAPointAndBorderHits) {
    struct Case {
        POINT p;
        BOOL allowFixed;
        int row, col;
    };
    const Case cases[] = {
        {{-1, 30}, TRUE, 1, -1},     // left of the window
        {{10, 30}, FALSE, 1, -1},    // inside the fixed column, fixed cells not allowed
        {{10, 30}, TRUE, 1, 0},      // inside the fixed column
        {{39, 10}, TRUE, 0, 0},      // last pixel of the fixed column
        {{40, 10}, TRUE, 0, 1},      // first pixel of column 1
        {{45, 45}, TRUE, 2, 1},      //
        {{45, -3}, TRUE, -1, 1},     // above the window
        {{45, 10}, FALSE, -1, 1},    // inside the fixed row, fixed cells not allowed
    };
    for (const Case& c : cases) {
        CCellID cell = grid.GetCellFromPt(c.p, c.allowFixed);
        EXPECT_EQ(cell.row, c.row) << c.p.x << "," << c.p.y;
        EXPECT_EQ(cell.col, c.col) << c.p.x << "," << c.p.y;
    }
    // Right of the last column of a narrow grid.
    Build(3, 2, 1, 1);
    EXPECT_EQ(grid.GetCellFromPt(POINT{150, 30}).col, -1);

    // Borders: inside the fixed column, within 3 pixels of a row's top (not row 0) or its bottom; inside
    // the fixed row likewise for columns.
    Build(10, 6, 1, 1);
    struct Border {
        POINT p;
        bool row, col;
    };
    const Border borders[] = {
        {{10, 43}, true, false},   // row 2 starts at 40: 3 below is a border
        {{10, 44}, false, false},  // 4 below is not
        {{10, 0}, false, false},   // row 0's top is never a border
        {{10, 17}, true, false},   // 3 above row 0's bottom edge (20)
        {{50, 43}, false, false},  // outside the fixed column
        {{43, 10}, false, true},   // column 1 starts at 40
        {{44, 10}, false, false},
        {{0, 10}, false, false},   // column 0's left edge
    };
    for (const Border& b : borders) {
        EXPECT_EQ(grid.MouseOverRowResizeArea(b.p) != FALSE, b.row) << b.p.x << "," << b.p.y;
        EXPECT_EQ(grid.MouseOverColumnResizeArea(b.p) != FALSE, b.col) << b.p.x << "," << b.p.y;
    }
}

TEST_F(GridWindow, ScrollingStepsByCellsAndStopsAtTheEnds) {
    ASSERT_GT(grid.GetHScrollMax(), 0);
    ASSERT_GT(grid.GetVScrollMax(), 0);
    struct Case {
        UINT msg;
        int request;
        int from;    // position before (-1: the maximum)
        int expect;  // position after (-1: the maximum)
        bool invalidates;
    };
    const int hmax = grid.GetHScrollMax();
    const Case cases[] = {
        {WM_HSCROLL, SB_LINELEFT, 0, 0, false},
        {WM_HSCROLL, SB_LINERIGHT, -1, -1, false},
        {WM_HSCROLL, SB_LINERIGHT, 0, std::min(60, hmax), true},
        {WM_HSCROLL, SB_LEFT, 0, 0, false},
        {WM_HSCROLL, SB_RIGHT, 0, -1, true},
        {WM_VSCROLL, SB_LINEUP, 0, 0, false},
        {WM_VSCROLL, SB_LINEDOWN, 0, 20, true},
        {WM_VSCROLL, SB_BOTTOM, 0, -1, true},
        {WM_VSCROLL, SB_TOP, -1, 0, true},
    };
    for (const Case& c : cases) {
        const int bar = c.msg == WM_HSCROLL ? SB_HORZ : SB_VERT;
        const int max = bar == SB_HORZ ? grid.GetHScrollMax() : grid.GetVScrollMax();
        grid.SetScrollPos32(bar, c.from < 0 ? max : c.from);
        grid.UpdateWindow();
        ASSERT_FALSE(Updated());
        grid.SendMessage(c.msg, MAKEWPARAM(c.request, 0), 0);
        EXPECT_EQ(grid.GetScrollPos32(bar), c.expect < 0 ? max : c.expect) << c.msg << " " << c.request;
        EXPECT_EQ(Updated(), c.invalidates) << c.msg << " " << c.request;
    }
    // A page right moves by the width right of the fixed column, up to the maximum.
    RECT client;
    grid.GetClientRect(&client);
    grid.SetScrollPos32(SB_HORZ, 0);
    grid.SendMessage(WM_HSCROLL, SB_PAGERIGHT, 0);
    EXPECT_EQ(grid.GetScrollPos32(SB_HORZ), std::min(hmax, (int)client.right - 40));
    // The top-left non-fixed cell follows the position.
    grid.SetScrollPos32(SB_VERT, 40);
    EXPECT_EQ(grid.GetTopleftNonFixedCell().row, 3);
    EXPECT_FALSE(grid.IsCellVisible(2, 2));
    EXPECT_TRUE(grid.IsCellVisible(0, 2));  // fixed rows stay
}

TEST_F(GridWindow, TheWheelScrollsByItsLineCount) {
    ASSERT_EQ(grid.GetMouseScrollLines(), 3);
    grid.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)-WHEEL_DELTA), 0);
    Pump();
    EXPECT_EQ(grid.GetScrollPos32(SB_VERT), std::min(60, grid.GetVScrollMax()));
    grid.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)WHEEL_DELTA), 0);
    Pump();
    EXPECT_EQ(grid.GetScrollPos32(SB_VERT), 0);
}

TEST_F(GridWindow, DraggingABorderResizesAndADoubleClickFitsTheColumn) {
    auto drag = [&](POINT from, POINT to) {
        grid.ClientToScreen(&from);
        grid.ClientToScreen(&to);
        PostMouseInput(WM_LBUTTONDOWN, from, MK_LBUTTON);
        Pump(true);
        PostMouseInput(WM_MOUSEMOVE, to, MK_LBUTTON);
        Pump(true);
        PostMouseInput(WM_LBUTTONUP, to, 0);
        Pump(true);
    };
    drag(POINT{99, 10}, POINT{129, 10});  // column 1 spans 40..99
    EXPECT_EQ(grid.GetColumnWidth(1), 89);
    drag(POINT{10, 39}, POINT{10, 59});  // row 1 spans 20..39
    EXPECT_EQ(grid.GetRowHeight(1), 39);

    grid.SetItemText(3, 2, "a text far wider than sixty pixels");
    RECT cell;
    grid.GetCellRect(0, 2, &cell);
    grid.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(cell.right, 10));
    CClientDC dc(&grid);
    HGDIOBJ old = ::SelectObject(dc.m_hDC, grid.GetFont()->m_hObject);
    const int textWidth = dc.GetTextExtent(grid.GetItemText(3, 2)).cx;
    ::SelectObject(dc.m_hDC, old);
    EXPECT_EQ(grid.GetColumnWidth(2), textWidth + 2 * grid.GetMargin());
}

TEST_F(GridWindow, FocusNotifiesOnlyOnAChange) {
    grid.SetFocusCell(2, 2);
    EXPECT_EQ(host.notices, (std::vector<Notice>{{LVN_ITEMCHANGED, 2, 2}}));
    host.notices.clear();
    grid.SetFocusCell(2, 2);
    EXPECT_TRUE(host.notices.empty());
    grid.SetFocusCell(3, 1);
    EXPECT_EQ(host.notices, (std::vector<Notice>{{LVN_ITEMCHANGING, 2, 2}, {LVN_ITEMCHANGED, 3, 1}}));
    EXPECT_FALSE(grid.GetItemState(2, 2) & GVIS_FOCUSED);
    EXPECT_TRUE(grid.GetItemState(3, 1) & GVIS_FOCUSED);
}

TEST_F(GridWindow, SelectingARangeOutsideTheGridClearsButKeepsThePreviousSelection) {
    struct Case {
        BOOL single;
        bool previousBack;
    };
    for (const Case& c : {Case{FALSE, true}, Case{TRUE, false}}) {
        grid.SetSingleRowSelection(c.single);
        grid.SetSelectedRange(-1, -1, -1, -1);
        grid.SetFocusCell(-1, -1);
        // A Ctrl-click keeps what was selected as the previous selection.
        grid.SetSelectedRange(1, 1, 1, 2);
        PostKeyInput(WM_KEYDOWN, VK_CONTROL, 1);
        Pump(true);
        POINT p = Centre(3, 3);
        SimulateMouseButton(grid.m_hWnd, p.x, p.y, WM_LBUTTONDOWN, WM_LBUTTONUP);
        PostKeyInput(WM_KEYUP, VK_CONTROL, (LPARAM)0xC0000001);
        Pump(true);
        EXPECT_TRUE(grid.IsCellSelected(3, 3));
        EXPECT_EQ(grid.IsCellSelected(1, 1) != FALSE, c.previousBack);

        grid.SetSelectedRange(1, 1, 10, 2);  // a maximum at the row count
        EXPECT_FALSE(grid.IsCellSelected(3, 3));
        EXPECT_EQ(grid.IsCellSelected(1, 1) != FALSE, c.previousBack);
        EXPECT_EQ(grid.IsCellSelected(1, 2) != FALSE, c.previousBack);
        EXPECT_EQ(grid.GetSelectedCount(), c.previousBack ? 2 : 0);
    }
}

TEST_F(GridWindow, ModifiedMarks) {
    grid.SetModified(TRUE, 0, 3);  // row 0: the grid only
    EXPECT_TRUE(grid.GetModified());
    EXPECT_FALSE(grid.GetModified(0, 3));
    grid.SetModified(FALSE);
    grid.SetModified(TRUE, 3, 0);  // column 0: the grid only
    EXPECT_FALSE(grid.GetModified(3, 0));
    grid.SetModified(FALSE);
    grid.SetModified(TRUE, 2, 2);
    EXPECT_TRUE(grid.GetModified(2, 2));
    EXPECT_TRUE(grid.GetModified());
    grid.SetModified(FALSE);  // clears every cell's mark
    EXPECT_FALSE(grid.GetModified(2, 2));
}

TEST_F(GridWindow, DropEffects) {
    COleDataSource source;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 2);
    std::memcpy(GlobalLock(block), "x", 2);
    GlobalUnlock(block);
    source.CacheGlobalData(CF_TEXT, block);
    COleDataObject data;
    data.Attach(&source);
    grid.SetItemState(2, 3, GVIS_READONLY);

    EXPECT_EQ(grid.OnDragEnter(&data, 0, Centre(2, 2)), (DROPEFFECT)DROPEFFECT_NONE);  // drag and drop off
    grid.EnableDragAndDrop(TRUE);
    struct Case {
        int row, col;
        DWORD keys;
        DROPEFFECT effect;
    };
    const Case cases[] = {
        {2, 2, 0, DROPEFFECT_MOVE},
        {2, 2, MK_CONTROL, DROPEFFECT_COPY},
        {2, 3, 0, DROPEFFECT_NONE},  // read-only
        {0, 2, 0, DROPEFFECT_NONE},  // a fixed cell is no drop cell
    };
    for (const Case& c : cases) {
        EXPECT_EQ(grid.OnDragOver(&data, c.keys, Centre(c.row, c.col)), c.effect) << c.row << "," << c.col;
    }
    // Over an editable cell it is highlighted; a drop writes the text there.
    grid.OnDragOver(&data, 0, Centre(4, 4));
    EXPECT_TRUE(grid.GetItemState(4, 4) & GVIS_DROPHILITED);
    EXPECT_TRUE(grid.OnDrop(&data, DROPEFFECT_MOVE, Centre(4, 4)));
    EXPECT_FALSE(grid.GetItemState(4, 4) & GVIS_DROPHILITED);
    EXPECT_EQ(grid.GetItemText(4, 4), "x");
}

TEST_F(GridWindow, CopyPasteAndDeleteByKeys) {
    ::SetFocus(grid.m_hWnd);
    Click(1, 1);
    grid.SetSelectedRange(1, 1, 2, 2);
    Keys({VK_CONTROL}, 'C');
    grid.SetFocusCell(5, 3);
    Keys({VK_CONTROL}, 'V');
    EXPECT_EQ(grid.GetItemText(5, 3), "1:1");
    EXPECT_EQ(grid.GetItemText(5, 4), "1:2");
    EXPECT_EQ(grid.GetItemText(6, 3), "2:1");
    EXPECT_EQ(grid.GetItemText(6, 4), "2:2");
    EXPECT_EQ(grid.GetItemText(7, 3), "7:3");
    EXPECT_TRUE(grid.GetModified(6, 4));

    host.notices.clear();
    grid.SetSelectedRange(3, 2, 3, 2);
    Keys({}, VK_DELETE);
    EXPECT_EQ(host.notices, (std::vector<Notice>{{LVN_BEGINLABELEDIT, 3, 2}, {LVN_ENDLABELEDIT, 3, 2}}));
    EXPECT_EQ(grid.GetItemText(3, 2), "");
}

TEST_F(GridWindow, FixedRowClicksSortAndAClickOnTheFocusCellEdits) {
    grid.SetItemText(1, 2, "b");
    grid.SetItemText(2, 2, "c");
    grid.SetItemText(3, 2, "a");
    for (int r = 4; r < 10; ++r)
        grid.SetItemText(r, 2, "d");
    Click(0, 2);
    EXPECT_EQ(grid.GetItemText(1, 2), "a");
    EXPECT_EQ(grid.GetItemText(2, 2), "b");
    EXPECT_EQ(grid.GetItemText(0, 2), "0:2");  // the fixed row stays
    Click(0, 2);
    EXPECT_EQ(grid.GetItemText(1, 2), "d");
    EXPECT_EQ(grid.GetItemText(9, 2), "a");

    // A click on a fixed column selects that row.
    Click(4, 0);
    EXPECT_EQ(grid.GetSelectedCount(), 5);
    EXPECT_TRUE(grid.IsCellSelected(4, 5));

    // A right press selects the cell as a click does, then tells the parent.
    host.notices.clear();
    POINT p = Centre(6, 2);
    SimulateMouseButton(grid.m_hWnd, p.x, p.y, WM_RBUTTONDOWN, WM_RBUTTONUP);
    Pump(true);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(6, 2));
    ASSERT_FALSE(host.notices.empty());
    EXPECT_EQ(host.notices.back(), (Notice{NM_RCLICK, 6, 2}));

    Click(2, 3);
    EXPECT_EQ(Editor(), nullptr);
    Click(2, 3);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->GetRow(), 2);
    EXPECT_EQ(Editor()->GetColumn(), 3);
    EXPECT_EQ(GetWindowTextString(Editor()->m_hWnd), grid.GetItemText(2, 3));
}

TEST_F(GridWindow, InPlaceEditorEndsByItsKeys) {
    const CString before = grid.GetItemText(2, 3);
    // Escape gives back the text the cell had.
    grid.OnEditCell(2, 3, VK_LBUTTON);
    ASSERT_NE(Editor(), nullptr);
    SimulateChars("zz");
    Pump(true);
    Keys({}, VK_ESCAPE);
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(grid.GetItemText(2, 3), before);
    EXPECT_FALSE(grid.GetModified());

    // Enter stores the text and marks the cell.
    grid.SetFocusCell(2, 3);
    host.notices.clear();
    grid.OnEditCell(2, 3, VK_LBUTTON);
    SimulateChars("new");
    Pump(true);
    Keys({}, VK_RETURN);
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(grid.GetItemText(2, 3), "new");
    EXPECT_TRUE(grid.GetModified(2, 3));
    EXPECT_EQ(host.notices.front(), (Notice{LVN_BEGINLABELEDIT, 2, 3}));
    EXPECT_NE(std::find(host.notices.begin(), host.notices.end(), Notice{LVN_ENDLABELEDIT, 2, 3}),
              host.notices.end());

    // Tab stores and edits the next cell.
    grid.OnEditCell(2, 3, VK_LBUTTON);
    SimulateChars("tab");
    Pump(true);
    Keys({}, VK_TAB);
    EXPECT_EQ(grid.GetItemText(2, 3), "tab");
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->GetColumn(), 4);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 4));

    // A typed character opens the editor with it, also one whose code is a navigation key's ('(' is
    // VK_DOWN's); Escape ends it as it was.
    Keys({}, VK_ESCAPE);
    grid.SetFocusCell(5, 5);
    ::SetFocus(grid.m_hWnd);
    SimulateChars("(");
    Pump(true);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(GetWindowTextString(Editor()->m_hWnd), "(");
    Keys({}, VK_ESCAPE);
    EXPECT_EQ(grid.GetItemText(5, 5), "5:5");
}

TEST_F(GridWindow, TitleTipShowsOnlyOverAClippedText) {
    ::SetFocus(grid.m_hWnd);
    grid.SetItemText(2, 2, "a text much wider than its sixty pixel cell");
    CTitleTip& tip = grid.GetTitleTip();
    // Over a text that fits: nothing.
    POINT p = Centre(3, 3);
    grid.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
    EXPECT_FALSE(tip.IsWindowVisible());
    // Over a clipped text: the tip, over the cell, holding the mouse.
    p = Centre(2, 2);
    grid.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
    ASSERT_TRUE(tip.IsWindowVisible());
    EXPECT_EQ(::GetCapture(), tip.m_hWnd);
    RECT tipRect, cell;
    tip.GetWindowRect(&tipRect);
    grid.GetCellRect(2, 2, &cell);
    POINT cellScreen{cell.left, cell.top};
    grid.ClientToScreen(&cellScreen);
    EXPECT_EQ(tipRect.left, cellScreen.x);
    EXPECT_GT(tipRect.right - tipRect.left, 60);

    // A click on the tip reaches the cell under it as a click in the grid's coordinates.
    POINT screen = cellScreen;
    screen.x += 5;
    screen.y += 5;
    SimulateMouseButton(nullptr, screen.x, screen.y, WM_LBUTTONDOWN, WM_LBUTTONUP);
    Pump(true);
    EXPECT_FALSE(tip.IsWindowVisible());
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 2));

    // A key while it shows hides it and reaches the grid.
    p = Centre(2, 2);
    grid.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
    ASSERT_TRUE(tip.IsWindowVisible());
    Keys({}, VK_DOWN);
    EXPECT_FALSE(tip.IsWindowVisible());
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 2));
}

TEST_F(GridWindow, PixelsOfFixedCellsGridLinesAndTheAreaBeyond) {
    Build(3, 3, 1, 1);  // 40 + 60 + 60 wide, 60 high: the rest of the client area is beyond the cells
    ::RedrawWindow(grid.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    PixelProbe probe(host.m_hWnd);
    const COLORREF face = RGB(212, 208, 200), line = RGB(192, 192, 192), beyond = RGB(128, 128, 128);
    EXPECT_EQ(probe.At(20, 30), face);   // fixed column, clear of text at its right
    EXPECT_EQ(probe.At(95, 4), face);    // fixed row
    EXPECT_EQ(probe.At(99, 30), line);   // right edge of cell (1, 1)
    EXPECT_EQ(probe.At(70, 39), line);   // bottom edge of cell (1, 1)
    EXPECT_EQ(probe.At(95, 30), RGB(255, 255, 255));  // inside a cell, clear of its text
    EXPECT_EQ(probe.At(250, 30), beyond);
    EXPECT_EQ(probe.At(50, 120), beyond);
}
