#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/ReportCtrl.h"
#include "tests/support/Gui.h"

namespace {
// The dialog's stand-in: records what the list sends to its parent.
class Parent : public CWnd {
public:
    std::vector<MSG> sent;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg >= WM_REPORTCTRLCHECKED && msg <= WM_REPORTCTRLEDITED)
            sent.push_back(MSG{m_hWnd, msg, wParam, lParam, 0, POINT{0, 0}});
        return CWnd::WindowProc(msg, wParam, lParam);
    }
    int Count(UINT msg) const {
        int n = 0;
        for (const MSG& m : sent)
            n += m.message == msg;
        return n;
    }
};

class ReportCtrlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(parent.CreateEx(0, AfxWndClassName(), "Stats", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                    nullptr));
        RECT r{0, 0, 400, 300};
        ASSERT_TRUE(list.Create(&parent, 1006, &r));
        list.ShowGridLines(TRUE);
        list.SetCheckboxMode(RC_CHKBOX_NORMAL);
    }
    void TearDown() override {
        list.DestroyWindow();
        parent.DestroyWindow();
        Pump();
    }
    void Fill(std::vector<const char*> texts) {
        ASSERT_TRUE(list.SetColumnHeader("ClientMachine ID, 292;"));
        for (const char* t : texts)
            list.InsertRow(list.GetItemCount(), t);
    }
    std::vector<std::string> Column0() const {
        std::vector<std::string> out;
        for (int i = 0; i < list.GetItemCount(); ++i)
            out.push_back(list.GetItemText(i, 0).GetString());
        return out;
    }
    // The client point of a row's check box.
    POINT CheckBoxOf(int row) {
        RECT r{};
        list.GetItemRect(row, &r, LVIR_BOUNDS);
        for (int x = r.left; x < r.left + 40; ++x) {
            UINT flags = 0;
            if (list.HitTest(POINT{x, (r.top + r.bottom) / 2}, &flags) == row && (flags & LVHT_ONITEMSTATEICON))
                return POINT{x, (r.top + r.bottom) / 2};
        }
        ADD_FAILURE() << "no check box on row " << row;
        return POINT{0, 0};
    }
    void ClickCheckBox(int row) {
        POINT p = CheckBoxOf(row);
        SimulateClick(list.m_hWnd, p.x, p.y);
        Pump();
    }
    Parent parent;
    CReportCtrl list;
};
}  // namespace

TEST_F(ReportCtrlTest, HeaderTextAndStyle) {
    Fill({});
    EXPECT_EQ(list.GetColumnCount(), 1);
    EXPECT_EQ(list.GetColumnWidth(0), 292);
    EXPECT_TRUE(list.GetExtendedStyle() & LVS_EX_CHECKBOXES);
    EXPECT_TRUE(list.GetExtendedStyle() & LVS_EX_FULLROWSELECT);  // added to every change
    DWORD style = (DWORD)::GetWindowLong(list.m_hWnd, GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, (DWORD)LVS_REPORT);
    EXPECT_FALSE(style & LVS_EDITLABELS);
    ASSERT_TRUE(list.SetColumnHeader("A, 50, 1; B, 60, 2"));
    LVCOLUMN col{};
    col.mask = LVCF_FMT;
    list.GetColumn(1, &col);
    EXPECT_EQ(col.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_RIGHT);
    EXPECT_FALSE(list.SetColumnHeader(";"));
    EXPECT_EQ(list.GetColumnCount(), 0);
}

TEST_F(ReportCtrlTest, SortsByTypeAndHeaderClicksToggle) {
    Fill({"10", "A", "9"});
    list.SetItemChecked(2, TRUE);  // "9" carries its tick along
    list.SortItems(0, TRUE);
    EXPECT_EQ(Column0(), (std::vector<std::string>{"9", "A", "10"}));
    EXPECT_TRUE(list.IsItemChecked(0));
    EXPECT_EQ(parent.Count(WM_REPORTCTRLSORTED), 1);

    CHeaderCtrl* header = list.GetHeaderCtrl();
    ASSERT_TRUE(header);
    ::UpdateWindow(list.m_hWnd);  // the header gets its height when the list is laid out
    Pump();
    RECT h{};
    header->GetItemRect(0, &h);
    SimulateClick(header->m_hWnd, (h.left + h.right) / 2, (h.top + h.bottom) / 2);
    Pump();
    EXPECT_EQ(Column0(), (std::vector<std::string>{"10", "A", "9"}));  // the sorted column again: reversed
    EXPECT_FALSE(list.IsSortAscending());

    list.InsertRow(3, "1.5%");  // inserting forgets the sort
    EXPECT_EQ(list.GetSortedColumn(), -1);
    list.SetColumnHeader("Share, 80;");
    for (const char* t : {"2", "1.5%", "10"})
        list.InsertRow(list.GetItemCount(), t);
    list.SortItems(0, TRUE);
    EXPECT_EQ(Column0(), (std::vector<std::string>{"1.5%", "2", "10"}));
}

TEST_F(ReportCtrlTest, StateFiltersCountFindAndDelete) {
    Fill({"a", "b", "c", "d"});
    list.SetItemStates(1, RC_ITEM_CHECKED | RC_ITEM_SELECTED);
    list.SetItemStates(3, RC_ITEM_CHECKED);
    EXPECT_EQ(list.CountItems(RC_ITEM_ALL), 4);
    EXPECT_EQ(list.CountItems(RC_ITEM_CHECKED), 2);
    EXPECT_EQ(list.CountItems(RC_ITEM_CHECKED | RC_ITEM_SELECTED), 1);
    EXPECT_EQ(list.CountItems(0), 0);
    EXPECT_EQ(list.FindNextItem(RC_ITEM_CHECKED), 1);
    EXPECT_EQ(list.FindNextItem(RC_ITEM_CHECKED, 1), 3);
    EXPECT_EQ(list.FindNextItem(RC_ITEM_CHECKED, 3), -1);
    EXPECT_EQ(list.DeleteRows(RC_ITEM_UNCHECKED), 2);
    EXPECT_EQ(Column0(), (std::vector<std::string>{"b", "d"}));
    EXPECT_EQ(list.DeleteRows(RC_ITEM_ALL), 2);
    EXPECT_EQ(list.GetItemCount(), 0);
}

TEST_F(ReportCtrlTest, CheckBoxModesByMouse) {
    Fill({"a", "b", "c"});
    ClickCheckBox(1);
    EXPECT_TRUE(list.IsItemChecked(1));
    ASSERT_EQ(parent.Count(WM_REPORTCTRLCHECKED), 1);
    EXPECT_EQ(parent.sent.back().wParam, 1u);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 1);

    // Single mode: a check by mouse leaves exactly that row checked.
    list.SetItemChecked(0, TRUE);
    list.SetCheckboxMode(RC_CHKBOX_SINGLE);
    EXPECT_EQ(list.CountItems(RC_ITEM_CHECKED), 1);  // the first checked row stays
    ClickCheckBox(2);
    EXPECT_EQ(list.CountItems(RC_ITEM_CHECKED), 1);
    EXPECT_TRUE(list.IsItemChecked(2));

    // Read-only: a click puts the box back and tells nobody.
    list.SetCheckboxMode(RC_CHKBOX_DISABLED);
    const int told = parent.Count(WM_REPORTCTRLCHECKED);
    ClickCheckBox(0);
    EXPECT_FALSE(list.IsItemChecked(0));
    EXPECT_EQ(parent.Count(WM_REPORTCTRLCHECKED), told);
}

TEST_F(ReportCtrlTest, EditingCommitsOrCancels) {
    Fill({"old", "two"});
    EXPECT_FALSE(list.StartEdit(0, 0));  // not editable
    list.SetEditable(TRUE);
    ASSERT_TRUE(list.StartEdit(0, 0));
    ::SetWindowText(list.GetEditControl()->m_hWnd, "new");
    MSG esc{list.GetEditControl()->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0, 0, POINT{0, 0}};
    EXPECT_TRUE(list.PreTranslateMessage(&esc));
    EXPECT_EQ(list.GetItemText(0, 0), "old");
    EXPECT_EQ(parent.Count(WM_REPORTCTRLEDITED), 0);

    ASSERT_TRUE(list.StartEdit(1, 0));
    ::SetWindowText(list.GetEditControl()->m_hWnd, "2");
    MSG enter{list.GetEditControl()->m_hWnd, WM_KEYDOWN, VK_RETURN, 0, 0, POINT{0, 0}};
    EXPECT_TRUE(list.PreTranslateMessage(&enter));
    EXPECT_EQ(list.GetItemText(1, 0), "2");
    ASSERT_EQ(parent.Count(WM_REPORTCTRLEDITED), 1);
    EXPECT_FALSE(list.IsEditing());

    // Without an edit, Space never reaches the list.
    MSG space{list.m_hWnd, WM_KEYDOWN, VK_SPACE, 0, 0, POINT{0, 0}};
    EXPECT_TRUE(list.PreTranslateMessage(&space));
}
