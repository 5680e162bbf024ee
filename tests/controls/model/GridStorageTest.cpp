#include <gtest/gtest.h>

#include <vector>

#include "controls/model/GridStorage.h"

namespace {
// Records which cells were emptied before deletion.
class RecordingGrid : public CGridStorage {
public:
    using CGridStorage::CGridStorage;
    ~RecordingGrid() override { DeleteAllItems(); }
    std::vector<std::pair<int, int>> emptied;

protected:
    void EmptyCell(CGridCell* cell, int row, int col) override {
        emptied.emplace_back(row, col);
        CGridStorage::EmptyCell(cell, row, col);
    }
};
}  // namespace

TEST(GridStorage, CellsOutsideTheGridGiveEmptyResults) {
    CGridStorage grid(2, 2, 0, 0);
    EXPECT_TRUE(grid.SetItemText(1, 1, "x"));
    EXPECT_EQ(grid.GetItemText(1, 1), "x");
    EXPECT_EQ(grid.GetItemFormat(1, 1), (UINT)(DT_SINGLELINE | DT_VCENTER));
    for (auto [r, c] : std::vector<std::pair<int, int>>{{-1, 0}, {0, -1}, {2, 0}, {0, 2}}) {
        EXPECT_FALSE(grid.SetItemText(r, c, "y"));
        EXPECT_EQ(grid.GetItemText(r, c), "");
        EXPECT_EQ(grid.GetItemImage(r, c), -1);
        EXPECT_EQ(grid.GetItemState(r, c), 0u);
        EXPECT_EQ(grid.GetItemFont(r, c), &grid.GetDefaultFont());
        EXPECT_FALSE(grid.SetItemState(r, c, GVIS_SELECTED));
        EXPECT_FALSE(grid.IsCellEditable(r, c));
    }
    EXPECT_TRUE(grid.IsCellEditable(0, 0));
    grid.SetItemState(0, 0, GVIS_READONLY);
    EXPECT_FALSE(grid.IsCellEditable(0, 0));
}

TEST(GridStorage, ResizingEmptiesRemovedCellsAndBuildsNewOnes) {
    RecordingGrid grid(5, 2, 0, 0);
    grid.SetItemFormat(4, 1, 0x1234);
    grid.SetRowCount(2);
    std::vector<std::pair<int, int>> expected{{4, 0}, {4, 1}, {3, 0}, {3, 1}, {2, 0}, {2, 1}};
    EXPECT_EQ(grid.emptied, expected);
    EXPECT_EQ(grid.GetRowCount(), 2);
    EXPECT_EQ(grid.GetCell(2, 0), nullptr);

    // New cells take the format of the cell above and the default sizes.
    grid.SetItemFormat(1, 0, 0x40);
    grid.SetRowCount(4);
    EXPECT_EQ(grid.GetItemFormat(3, 0), 0x40u);
    EXPECT_EQ(grid.GetItemImage(3, 0), -1);
    EXPECT_EQ(grid.GetRowHeight(3), grid.GetDefaultRowHeight());
    grid.SetColumnCount(3);
    EXPECT_EQ(grid.GetColumnWidth(2), grid.GetDefaultColumnWidth());
    EXPECT_NE(grid.GetCell(3, 2), nullptr);
    grid.emptied.clear();
    grid.SetColumnCount(1);
    EXPECT_EQ(grid.emptied.size(), 8u);

    // The fixed counts follow the grid down and grow it when larger.
    grid.SetFixedRowCount(3);
    grid.SetRowCount(1);
    EXPECT_EQ(grid.GetFixedRowCount(), 1);
    grid.SetFixedColumnCount(4);
    EXPECT_EQ(grid.GetColumnCount(), 4);
}

TEST(GridStorage, SelectionAndFocusGoWithTheirCells) {
    CGridStorage grid(4, 3, 0, 0);
    grid.SetFocusCell(3, 2);
    EXPECT_EQ(grid.GetItemState(3, 2), (UINT)GVIS_FOCUSED);
    grid.SetItemState(1, 1, GVIS_SELECTED);
    grid.SetItemState(3, 0, GVIS_SELECTED);
    EXPECT_EQ(grid.GetSelectedCount(), 2);
    grid.SetRowCount(3);  // the focus row goes: focus and selection are reset
    EXPECT_FALSE(grid.GetFocusCell().IsValid());
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    EXPECT_EQ(grid.GetItemState(1, 1), 0u);

    // Selected cells that vanish leave the selection even when the focus stays.
    grid.SetFocusCell(0, 0);
    grid.SetItemState(2, 2, GVIS_SELECTED);
    grid.SetItemState(0, 1, GVIS_SELECTED);
    grid.SetColumnCount(2);
    EXPECT_EQ(grid.GetSelectedCount(), 1);
    grid.SetItemState(0, 1, 0);
    EXPECT_EQ(grid.GetSelectedCount(), 0);
}

TEST(GridStorage, SelectionKeysAreNotCutTo16Bits) {
    // Rows 4,464 and 70,000 share their low 16 bits.
    CGridStorage grid(70001, 1, 0, 0);
    grid.SetItemState(4464, 0, GVIS_SELECTED);
    grid.SetItemState(70000, 0, GVIS_SELECTED);
    EXPECT_EQ(grid.GetSelectedCount(), 2);
    grid.SetItemState(70000, 0, 0);
    EXPECT_EQ(grid.GetSelectedCount(), 1);
    EXPECT_EQ(grid.GetItemState(4464, 0), (UINT)GVIS_SELECTED);
}

TEST(GridStorage, SortTextItemsSortsNonFixedRowsWithTheirCells) {
    CGridStorage grid(5, 2, 1, 0);
    const char* texts[][2] = {
        {"head", "H"}, {"r1", "beta"}, {"r2", "Alpha"}, {"r3", "BETA"}, {"r4", "alpha"}};
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 2; ++c)
            grid.SetItemText(r, c, texts[r][c]);
    grid.SetItemImage(2, 0, 7);
    grid.SetFocusCell(1, 1);
    grid.SetItemState(2, 0, GVIS_SELECTED);

    ASSERT_TRUE(grid.SortTextItems(1, true));
    std::vector<CString> got;
    for (int r = 0; r < 5; ++r)
        got.push_back(grid.GetItemText(r, 0));
    EXPECT_EQ(got, (std::vector<CString>{"head", "r2", "r4", "r1", "r3"}));
    EXPECT_EQ(grid.GetItemImage(1, 0), 7);  // the whole row moved
    EXPECT_FALSE(grid.GetFocusCell().IsValid());
    EXPECT_EQ(grid.GetSelectedCount(), 0);

    ASSERT_TRUE(grid.SortTextItems(1, false));
    got.clear();
    for (int r = 0; r < 5; ++r)
        got.push_back(grid.GetItemText(r, 0));
    EXPECT_EQ(got, (std::vector<CString>{"head", "r1", "r3", "r2", "r4"}));

    EXPECT_FALSE(grid.SortTextItems(2, true));
    CGridStorage onlyFixed(2, 1, 2, 0);
    EXPECT_FALSE(onlyFixed.SortTextItems(0, true));
}
