#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "controls/gxListCtrl.h"
#include "tests/support/Gui.h"

namespace {
// The view's stand-in: records what the list posts to it.
class Host : public CWnd {
public:
    std::vector<MSG> posted;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_SHOWLISTITEM || msg == WM_OPENINEDITOR ||
            (msg == WM_COMMAND && LOWORD(wParam) == ID_LISTSELCHANGE))
            posted.push_back(MSG{m_hWnd, msg, wParam, lParam, 0, POINT{0, 0}});
        return CWnd::WindowProc(msg, wParam, lParam);
    }
    int Count(UINT msg) const {
        int n = 0;
        for (const MSG& m : posted)
            n += m.message == msg;
        return n;
    }
    bool Got(UINT msg, WPARAM row) const {
        for (const MSG& m : posted)
            if (m.message == msg && m.wParam == row)
                return true;
        return false;
    }
};

// A view-sized list made as the report view makes it, filled the way a pass fills it.
class gxListCtrlWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.CreateEx(0, AfxWndClassName(), "Report", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                                  0, 640, 360, nullptr, nullptr));
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_EDITLABELS,
                                RECT{0, 0, 640, 360}, &host, 1018));
        list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE |
                              LVS_EX_TWOCLICKACTIVATE);
        list.ResetList();
        shot.emplace(host.m_hWnd);
    }
    void TearDown() override {
        shot.reset();
        list.DestroyWindow();
        host.DestroyWindow();
        Pump();
    }

    void Fill(int rows) {
        list.ResetList();
        list.m_csTitle = "Errors";
        list.m_csNames = " Records  |   Line    |     Tag           |        ErrorType                   |";
        list.m_csTypes = "MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|";
        list.SetColumns(4);
        for (int r = 0; r < rows; ++r) {
            list.AddItem(r, 0, std::to_string(r + 1).c_str());
            list.AddItem(r, 1, std::to_string((r * 7919) % 1000 + 1).c_str());
            list.AddItem(r, 2, r % 3 ? "QBROKER" : "QSERVER");
            list.AddItem(r, 3, ("Timeout waiting for reply " + std::to_string(r)).c_str());
        }
        Pump();
        host.posted.clear();
    }

    RECT Row(int item) {
        RECT rc{};
        list.CListCtrl::GetItemRect(item, &rc, LVIR_BOUNDS);
        return rc;
    }
    // A point inside a cell, clear of its text.
    POINT Cell(int item, int col) {
        RECT rc;
        list.GetSubItemRect(item, col, LVIR_LABEL, rc);
        return POINT{rc.right - 3, (rc.top + rc.bottom) / 2};
    }
    COLORREF Pixel(POINT p) { return PixelProbe(list.m_hWnd).At(p); }

    Host host;
    std::optional<ScreenshotOnFailure> shot;  // taken before the windows go
    gxListCtrl list;
};
}  // namespace

TEST_F(gxListCtrlWindow, RowsAreStripedAndTheSelectionIsHighlighted) {
    Fill(30);
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            EXPECT_EQ(Pixel(Cell(row, col)), row % 2 ? 0xEFE8E5u : 0xF9F7F0u) << row << "," << col;
    // Grid lines in the face colour between the rows.
    RECT r0 = Row(0);
    EXPECT_EQ(GetWindowPixel(list.m_hWnd, 20, r0.bottom - 1), GetSysColor(COLOR_3DFACE));

    list.SetFocus();
    list.SelectItem(2);
    Pump();
    EXPECT_EQ(Pixel(Cell(2, 0)), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(Pixel(Cell(2, 3)), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(Pixel(Cell(1, 3)), 0xEFE8E5u);
    // Without the focus the selection stays shown, in the face colour.
    host.SetFocus();
    Pump();
    EXPECT_EQ(Pixel(Cell(2, 1)), GetSysColor(COLOR_3DFACE));
}

TEST_F(gxListCtrlWindow, ClicksTellTheViewWhichRowToShowOrOpen) {
    Fill(20);
    POINT p = Cell(3, 1);
    SimulateClick(list.m_hWnd, p.x, p.y);
    Pump();
    EXPECT_TRUE(host.Got(WM_SHOWLISTITEM, 3));
    EXPECT_EQ(list.GetFirstSelected(), 3);
    EXPECT_GE(host.Count(WM_COMMAND), 1);  // the selection changed

    host.posted.clear();
    p = Cell(5, 0);
    SimulateClick(list.m_hWnd, p.x, p.y);
    Pump();
    EXPECT_EQ(host.Count(WM_SHOWLISTITEM), 0);
    EXPECT_EQ(host.Count(WM_OPENINEDITOR), 0);
    EXPECT_EQ(list.GetFirstSelected(), 5);
    EXPECT_EQ(list.GetNextSelected(5), -1);  // a plain click leaves one row selected

    host.posted.clear();
    p = Cell(7, 2);
    SimulateMouseButton(list.m_hWnd, p.x, p.y, WM_LBUTTONDOWN, WM_LBUTTONUP);
    SimulateMouseButton(list.m_hWnd, p.x, p.y, WM_LBUTTONDBLCLK, WM_LBUTTONUP);
    Pump();
    EXPECT_TRUE(host.Got(WM_OPENINEDITOR, 7));

    // Below the last row nothing is hit.
    host.posted.clear();
    RECT last = Row(19);
    SimulateClick(list.m_hWnd, 30, last.bottom + 40);
    Pump();
    EXPECT_EQ(host.Count(WM_SHOWLISTITEM), 0);
}

TEST_F(gxListCtrlWindow, KeysMoveTheSelectionAndTellTheView) {
    Fill(200);
    POINT p = Cell(0, 2);
    SimulateClick(list.m_hWnd, p.x, p.y);
    Pump();
    host.posted.clear();
    SimulateKey(VK_DOWN);
    Pump();
    EXPECT_EQ(list.GetFirstSelected(), 1);
    EXPECT_EQ(list.GetNextSelected(1), -1);
    EXPECT_EQ(list.GetFocusedItem(), 1);
    EXPECT_EQ(host.Count(WM_COMMAND), 1);

    int perPage = list.GetCountPerPage();
    ASSERT_GT(perPage, 5);
    SimulateKey(VK_NEXT);  // to the last row on the page
    Pump();
    EXPECT_EQ(list.GetFirstSelected(), perPage - 1);
    EXPECT_EQ(list.GetTopIndex(), 0);
    SimulateKey(VK_NEXT);  // then a page further, scrolled into view
    Pump();
    EXPECT_EQ(list.GetFirstSelected(), 2 * perPage - 2);
    EXPECT_EQ(list.GetTopIndex(), perPage - 1);
    SimulateKey(VK_END);
    Pump();
    EXPECT_EQ(list.GetFirstSelected(), 199);
    EXPECT_EQ(host.Count(WM_COMMAND), 4);
    SimulateKey(VK_F5);  // other keys say nothing
    Pump();
    EXPECT_EQ(host.Count(WM_COMMAND), 4);
}

TEST_F(gxListCtrlWindow, LabelEditingKeepsTheTypedText) {
    Fill(5);
    CWnd* edit = list.EditLabel(1);
    ASSERT_NE(edit, nullptr);
    ASSERT_EQ(GetFocus(), edit->m_hWnd);
    EXPECT_EQ(GetWindowTextString(edit->m_hWnd), "2");
    SimulateChars("renamed");
    SimulateKey(VK_RETURN);
    Pump();
    EXPECT_EQ(list.GetItemText(1, 0), "renamed");
    EXPECT_EQ(list.CListCtrl::GetItemText(1, 0), "renamed");
    EXPECT_EQ(list.GetEditControl(), nullptr);
    // Escape leaves the text as it was.
    list.EditLabel(2);
    SimulateChars("dropped");
    SimulateKey(VK_ESCAPE);
    Pump();
    EXPECT_EQ(list.GetItemText(2, 0), "3");
}

TEST_F(gxListCtrlWindow, HeaderClicksSortAndToggle) {
    Fill(50);
    CHeaderCtrl* header = list.GetHeaderCtrl();
    ASSERT_NE(header, nullptr);
    RECT col1;
    header->GetItemRect(1, &col1);
    auto clickLine = [&] {
        SimulateClick(header->m_hWnd, (col1.left + col1.right) / 2, (col1.top + col1.bottom) / 2);
        Pump();
    };
    auto sorted = [&](bool ascending) {
        for (int r = 1; r < list.GetItemCount(); ++r) {
            CString a = list.GetSortKey(r - 1, 1), b = list.GetSortKey(r, 1);
            if (ascending ? a > b : a < b)
                return false;
        }
        return true;
    };
    clickLine();
    EXPECT_TRUE(sorted(true));
    EXPECT_EQ(list.GetSortColumn(), 1);
    clickLine();
    EXPECT_TRUE(sorted(false));
    clickLine();
    EXPECT_TRUE(sorted(true));
    // What is drawn follows the model's order.
    EXPECT_EQ(list.CListCtrl::GetItemText(0, 1), list.GetItemText(0, 1));
}

TEST_F(gxListCtrlWindow, ResizeFillsTheViewAndFitsColumnTwo) {
    Fill(10);
    list.ResizeList(500, 300);
    RECT wr;
    list.GetWindowRect(&wr);
    EXPECT_EQ(wr.right - wr.left, 500);
    EXPECT_EQ(wr.bottom - wr.top, 300);
    int fitted = list.GetColumnWidth(2);
    EXPECT_EQ(fitted, list.CListCtrl::GetColumnWidth(2));
    EXPECT_GE(fitted, list.GetStringWidth("    Tag           "));
    EXPECT_LT(fitted, (int)(std::string("     Tag           ").size() * 3 + 3) * 2);
}

TEST_F(gxListCtrlWindow, FillingLaterShowsTheNewRowsAndScrolls) {
    Fill(0);
    for (int r = 0; r < 500; ++r)
        list.AddItem(r, 0, std::to_string(r).c_str());
    Pump();
    EXPECT_EQ(list.CListCtrl::GetItemCount(), 500);
    EXPECT_EQ(list.CListCtrl::GetItemText(499, 0), "499");
    // The view scrolls; the list takes the focus first.
    host.SetFocus();
    list.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
    EXPECT_EQ(GetFocus(), list.m_hWnd);
    EXPECT_EQ(list.GetTopIndex(), list.GetCountPerPage());
    list.ResetList();
    Pump();
    EXPECT_EQ(list.CListCtrl::GetItemCount(), 0);
    EXPECT_EQ(list.GetHeaderCtrl()->GetItemCount(), 0);
}

TEST_F(gxListCtrlWindow, ScreenshotOfASortedList) {
    Fill(120);
    list.SortByColumn(1);
    list.SetFocus();
    list.SelectItem(4);
    Pump();
    std::string file = WriteScreenshot(host.m_hWnd, "gxListCtrl");
    ASSERT_FALSE(file.empty());
    EXPECT_GT(std::filesystem::file_size(file), 1000u);
}
