#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "controls/model/gxListModel.h"

namespace {
// Lays out columns the way every pass does: captions and type words each followed by '|'.
void Columns(gxListModel& list, const std::vector<std::string>& captions, const char* title = "TITLE") {
    list.ResetList();
    list.m_csTitle = title;
    for (const std::string& c : captions) {
        list.m_csNames += (c + "|").c_str();
        list.m_csTypes += "MCL_ALPHA|";
    }
    list.SetColumns((int)captions.size());
}

void Rows(gxListModel& list, const std::vector<std::vector<std::string>>& rows) {
    for (const auto& cells : rows) {
        int r = list.AddItem(list.GetItemCount(), 0, cells[0].c_str());
        ASSERT_GE(r, 0);
        for (size_t c = 1; c < cells.size(); ++c)
            ASSERT_TRUE(list.AddItem(r, (int)c, cells[c].c_str()));
    }
}

std::vector<std::string> Column(const gxListModel& list, int col) {
    std::vector<std::string> out;
    for (int r = 0; r < list.GetItemCount(); ++r)
        out.push_back(list.GetItemText(r, col).str());
    return out;
}
}  // namespace

TEST(gxListModel, WidthsComeFromTheCaptionWithItsBlanks) {
    struct Case {
        const char* caption;
        int inserted;   // (len * 3 + 3) * 2, every character counted
        int byDefault;  // (len without trailing blanks + 2) * 7
    } cases[] = {
        {" Records    ", 78, 70},
        {"Line", 30, 42},
        {"   Tag   ", 60, 56},  // leading blanks count for the default, trailing ones do not
        {"", 6, 14},
    };
    for (const Case& c : cases) {
        gxListModel list;
        Columns(list, {c.caption});
        EXPECT_EQ(list.GetColumnName(0), c.caption);
        EXPECT_EQ(list.GetColumnWidth(0), c.inserted) << '"' << c.caption << '"';
        EXPECT_EQ(list.GetColumnDefaultWidth(0), c.byDefault) << '"' << c.caption << '"';
    }
}

TEST(gxListModel, SavedWidthsOutOfRangeFallBackToTheDefault) {
    gxListModel list;
    Columns(list, {" Records    ", "Line"});
    EXPECT_TRUE(list.SetSavedColumnWidth(0, 9999));
    EXPECT_EQ(list.GetColumnWidth(0), 9999);
    EXPECT_TRUE(list.SetSavedColumnWidth(0, 10000));
    EXPECT_EQ(list.GetColumnWidth(0), 70);
    EXPECT_TRUE(list.SetSavedColumnWidth(1, -5));  // a damaged value
    EXPECT_EQ(list.GetColumnWidth(1), 42);
    EXPECT_TRUE(list.SetSavedColumnWidth(1, 0));  // hidden
    EXPECT_EQ(list.GetColumnWidth(1), 0);
    EXPECT_FALSE(list.SetSavedColumnWidth(2, 100));  // the list has no such column
    EXPECT_EQ(list.GetColumnWidth(2), -1);
}

TEST(gxListModel, HitTestColumnWalksTheWidths) {
    gxListModel list;
    Columns(list, {"A", "B", "C"});
    list.SetColumnWidth(0, 0);  // hidden
    list.SetColumnWidth(1, 30);
    list.SetColumnWidth(2, 40);
    const int xs[] = {-1, 0, 1, 30, 31, 70, 71};
    const int want[] = {-1, 0, 1, 1, 2, 2, -1};  // a shared edge belongs to the left column
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(list.HitTestColumn(xs[i]), want[i]) << xs[i];
}

TEST(gxListModel, NextFieldFiltersAndAdvances) {
    CString buf("a!b~c\x01 d\xC3\xA9|\"}|||tail");
    int i = 0;
    EXPECT_EQ(gxListModel::NextField(buf, i), "abc d");  // '!', '~', controls and high bytes dropped
    EXPECT_EQ(gxListModel::NextField(buf, i), "\"}");    // 34 and 125 are kept
    EXPECT_EQ(gxListModel::NextField(buf, i), "");       // empty fields
    EXPECT_EQ(gxListModel::NextField(buf, i), "");
    EXPECT_EQ(gxListModel::NextField(buf, i), "tail");  // last field without '|'
    EXPECT_EQ(i, buf.GetLength());
    EXPECT_EQ(gxListModel::NextField(buf, i), "");  // beyond the end: empty, index stays
    EXPECT_EQ(i, buf.GetLength());

    CString nul("ab", 2);
    nul += '\0';
    nul += "cd|";
    i = 0;
    EXPECT_EQ(gxListModel::NextField(nul, i), "ab");  // a NUL ends the buffer
    EXPECT_EQ(gxListModel::NextField(nul, i), "");
}

TEST(gxListModel, OversizeCaptionsAndBuffersAreCutToTheirLimits) {
    gxListModel list;
    std::string huge(100000, 'x');
    list.m_csTitle = huge.c_str();
    list.m_csNames = (huge + "|second|").c_str();
    list.m_csTypes = (std::string(5000, 'T') + "|MCL_NUM|").c_str();
    EXPECT_EQ(list.SetColumns(3), 3);
    EXPECT_EQ(list.GetColumnName(0).GetLength(), 255);  // per-caption limit
    EXPECT_EQ(list.GetColumnName(1), "second");         // the next field is still found
    EXPECT_EQ(list.GetColumnType(1), gxListModel::MCL_NUM);
    EXPECT_EQ(list.GetColumnName(2), "");  // a field that was never written
    EXPECT_EQ(list.GetColumnType(2), gxListModel::MCL_ALPHA);
    EXPECT_EQ(list.GetColumnWidth(2), 6);
    EXPECT_EQ(list.GetCaption().GetLength(), 100000);  // the title is kept whole

    // No more than 255 columns, however many are asked for.
    list.ResetList();
    for (int i = 0; i < 300; ++i)
        list.m_csNames.AppendFormat("C%d|", i);
    EXPECT_EQ(list.SetColumns(300), 255);
    EXPECT_EQ(list.GetColumnCount(), 255);
    EXPECT_EQ(list.GetColumnName(254), "C254");
    EXPECT_EQ(list.InsertColumn(0, "more"), -1);
    // A row can fill every one of them.
    ASSERT_EQ(list.AddItem(0, 0, "r"), 0);
    EXPECT_TRUE(list.AddItem(0, 254, "last"));
    EXPECT_EQ(list.GetItemText(0, 254), "last");
    EXPECT_EQ(list.GetItemText(0, 100), "");
}

TEST(gxListModel, TypeWordsAreExactAndCaseSensitive) {
    gxListModel list;
    list.m_csNames = "a|b|c|d|e|f|";
    list.m_csTypes = "MCL_NUM|mcl_num|MCL_MMDDYYYY||MCL_Alpha|MCL_DDMMYY|";
    list.SetColumns(6);
    const int want[] = {1, 0, 5, 0, 0, 2};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(list.GetColumnType(c), want[c]) << c;
}

TEST(gxListModel, SetColumnsSetsCaptionAndColoursResetKeepsCaption) {
    gxListModel list;
    EXPECT_EQ(list.GetTextBkColor(), gxListModel::kNoColor);
    Columns(list, {"A", "B"}, "ANALYZETA");
    EXPECT_EQ(list.GetCaption(), "ANALYZETA");
    EXPECT_EQ(list.GetTextBkColor(), 0xF5F5D9u);
    EXPECT_EQ(list.GetHighlightBkColor(), 0xD2D2A0u);
    EXPECT_EQ(list.GetHighlightTextColor(), 0xC00000u);
    Rows(list, {{"1", "x"}});

    list.ResetList();
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_EQ(list.GetColumnCount(), 0);
    EXPECT_TRUE(list.m_csNames.IsEmpty() && list.m_csTypes.IsEmpty() && list.m_csTitle.IsEmpty());
    EXPECT_EQ(list.GetCaption(), "ANALYZETA");
    EXPECT_EQ(list.GetStripeColor(0), 0xF9F7F0u);
    EXPECT_EQ(list.GetStripeColor(1), 0xEFE8E5u);
}

TEST(gxListModel, AddItemInsertsSetsAndIgnoresWhatIsNotThere) {
    gxListModel list;
    EXPECT_EQ(list.AddItem(0, 0, "no columns"), -1);
    EXPECT_EQ(list.GetItemCount(), 0);

    Columns(list, {"A", "B", "C"});
    EXPECT_EQ(list.AddItem(0, 0, "r0"), 0);
    EXPECT_EQ(list.AddItem(7, 0, "r1"), 1);   // beyond the end: appended
    EXPECT_EQ(list.AddItem(0, 0, "top"), 0);  // inserted above the others
    EXPECT_EQ(list.AddItem(-1, 0, "bad"), -1);
    EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"top", "r0", "r1"}));

    EXPECT_TRUE(list.AddItem(1, 2, "c2"));
    EXPECT_FALSE(list.AddItem(1, 3, "beyond the columns"));
    EXPECT_FALSE(list.AddItem(3, 1, "no such row"));
    EXPECT_FALSE(list.AddItem(1, -1, "negative"));
    EXPECT_EQ(list.GetItemText(1, 1), "");  // never given
    EXPECT_EQ(list.GetItemText(1, 2), "c2");
    EXPECT_EQ(list.GetItemText(1, 3), "");
    EXPECT_EQ(list.GetItemText(9, 0), "");

    // Cells are rewritten in any order, on any row, with any length.
    std::string big(3 << 20, 'b');  // larger than an arena chunk
    EXPECT_TRUE(list.SetItemText(0, 1, big.c_str()));
    EXPECT_TRUE(list.SetItemText(1, 0, "R0"));
    EXPECT_TRUE(list.SetItemText(1, 2, ""));
    EXPECT_TRUE(list.AddItem(2, 1, nullptr));
    EXPECT_EQ(list.GetItemText(0, 1).str(), big);
    EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"top", "R0", "r1"}));
    EXPECT_EQ(list.GetItemText(1, 2), "");
    EXPECT_EQ(list.GetItemText(2, 1), "");
}

TEST(gxListModel, RewritingOldRowsKeepsEveryCell) {
    // Rewrites on rows that are no longer the newest leave garbage behind; it is reclaimed without
    // losing a cell.
    gxListModel list;
    Columns(list, {"A", "B", "C"});
    const int n = 2000;
    for (int r = 0; r < n; ++r) {
        list.AddItem(r, 0, std::to_string(r).c_str());
        list.AddItem(r, 1, "b");
        list.AddItem(r, 2, "c");
    }
    std::string pad(500, 'p');
    const int rounds = 8;
    for (int round = 0; round < rounds; ++round)
        for (int r = 0; r < n; ++r)
            list.SetItemText(r, 1, (pad + std::to_string(r * 10 + round)).c_str());
    for (int r = 0; r < n; r += 97) {
        EXPECT_EQ(list.GetItemText(r, 0).str(), std::to_string(r));
        EXPECT_EQ(list.GetItemText(r, 1).str(), pad + std::to_string(r * 10 + rounds - 1));
        EXPECT_EQ(list.GetItemText(r, 2), "c");
    }
    // About 1 MB is live; without reclaiming, the rewrites alone would hold 8 MB.
    EXPECT_LE(list.GetArenaBytes(), size_t(5) << 20);
}

TEST(gxListModel, RowsInsertedAnywhereMatchAPlainTable) {
    // Batch passes insert each log's rows above the earlier ones; mixed with appends, sorts and
    // rewrites, the list must read back like a plain table. The reference holds row ids in display
    // order; an id is the row's column 1 and indexes its column 0 text.
    gxListModel list;
    Columns(list, {"Name", "Seq"});
    std::vector<int> ref;
    std::vector<std::string> names;
    std::mt19937 rng(7);
    for (int step = 0; step < 1500; ++step) {
        unsigned op = rng() % 10;
        if (op < 7 || ref.empty()) {
            // Runs of consecutive positions, like a batch pass's counter.
            size_t pos = rng() % (ref.size() + 1);
            for (int k = 0, n = 1 + (int)(rng() % 20); k < n; ++k, ++pos) {
                int id = (int)names.size();
                names.emplace_back(1, (char)('a' + rng() % 6));
                std::string seq = std::to_string(id);
                // Cell by cell, or the whole row in one call: the same row.
                if (id % 2) {
                    ASSERT_EQ(list.AddItem((int)pos, 0, names[(size_t)id].c_str()), (int)pos);
                    ASSERT_TRUE(list.AddItem((int)pos, 1, seq.c_str()));
                } else {
                    const std::string_view cells[] = {names[(size_t)id], seq};
                    ASSERT_EQ(list.AddRow((int)pos, cells, 2), (int)pos);
                }
                ASSERT_TRUE(list.SetItemData((int)pos, (DWORD_PTR)id + 1));
                ref.insert(ref.begin() + (long)pos, id);
            }
        } else if (op < 9) {
            size_t row = rng() % ref.size();
            std::string& name = names[(size_t)ref[row]];
            name.assign(1 + rng() % 3, (char)('a' + rng() % 6));
            ASSERT_TRUE(list.SetItemText((int)row, 0, name.c_str()));
        } else {
            int lo = (int)(rng() % ref.size()), hi = (int)(rng() % ref.size());
            if (lo > hi)
                std::swap(lo, hi);
            bool up = rng() % 2;
            ASSERT_EQ(list.SortTextItems(0, up, lo, hi), hi > lo);
            std::stable_sort(ref.begin() + lo, ref.begin() + hi + 1, [&](int a, int b) {
                return up ? names[(size_t)a] < names[(size_t)b] : names[(size_t)b] < names[(size_t)a];
            });
        }
    }
    ASSERT_EQ(list.GetItemCount(), (int)ref.size());
    for (size_t r = 0; r < ref.size(); ++r) {
        ASSERT_EQ(list.GetItemText((int)r, 0).str(), names[(size_t)ref[r]]) << r;
        ASSERT_EQ(list.GetItemText((int)r, 1).str(), std::to_string(ref[r])) << r;
        ASSERT_EQ(list.GetItemData((int)r), (DWORD_PTR)ref[r] + 1) << r;  // item data moves with its row
    }
}

TEST(gxListModel, AddRowStoresAWholeRowAsAddItemWould) {
    gxListModel list;
    const std::string_view two[] = {"a", "b"};
    EXPECT_EQ(list.AddRow(0, two, 2), -1);  // no columns
    Columns(list, {"A", "B", "C"});
    EXPECT_EQ(list.AddRow(-1, two, 2), -1);
    EXPECT_EQ(list.AddRow(0, two, 0), -1);
    EXPECT_EQ(list.AddRow(0, nullptr, 2), -1);
    EXPECT_EQ(list.GetItemCount(), 0);

    const std::string_view four[] = {"r0", "", "c", "beyond the columns"};
    EXPECT_EQ(list.AddRow(9, four, 4), 0);  // beyond the end: appended; the fourth cell is left out
    EXPECT_EQ(list.AddRow(0, two, 2), 0);   // inserted above
    EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"a", "r0"}));
    EXPECT_EQ(list.GetItemText(1, 1), "");
    EXPECT_EQ(list.GetItemText(1, 2), "c");
    EXPECT_EQ(list.GetItemText(1, 3), "");
    // Cells with NUL bytes inside are kept whole; a later column is added to the row as usual.
    const std::string withNul("x\0y", 3);
    const std::string_view one[] = {withNul};
    EXPECT_EQ(list.AddRow(2, one, 1), 2);
    EXPECT_EQ(list.GetItemTextView(2, 0), withNul);
    EXPECT_TRUE(list.AddItem(2, 2, "later"));
    EXPECT_EQ(list.GetItemText(2, 1), "");
    EXPECT_EQ(list.GetItemText(2, 2), "later");
    EXPECT_EQ(list.GetItemText(0, 1), "b");
}

TEST(gxListModel, ALongListClearedAndFilledAgainKeepsEveryCell) {
    // Many storage chunks, whose next one is prepared while the one before fills; clearing drops them
    // all and a second fill, whole rows or cell by cell, starts over.
    const int n = 40000;  // about 3 MB of cells in ten row chunks
    auto cell = [](int round, int r, int c) {
        return std::to_string(round) + "/" + std::to_string(r) + "/" + std::to_string(c) +
               std::string((size_t)(r * 7 + c) % 61, (char)('a' + c));
    };
    gxListModel list;
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        Columns(list, {"A", "B", "C"});  // clears the list of the round before
        ASSERT_EQ(list.GetItemCount(), 0);
        for (int r = 0; r < n; ++r) {
            const std::string cells[3] = {cell(round, r, 0), cell(round, r, 1), cell(round, r, 2)};
            if (round == 1) {
                ASSERT_EQ(list.AddItem(r, 0, cells[0].c_str()), r);
                ASSERT_TRUE(list.AddItem(r, 1, cells[1].c_str()));
                ASSERT_TRUE(list.AddItem(r, 2, cells[2].c_str()));
            } else {
                const std::string_view views[3] = {cells[0], cells[1], cells[2]};
                ASSERT_EQ(list.AddRow(r, views, 3), r);
            }
        }
        ASSERT_EQ(list.GetItemCount(), n);
        for (int r = 0; r < n; ++r)
            for (int c = 0; c < 3; ++c)
                ASSERT_EQ(list.GetItemTextView(r, c), cell(round, r, c)) << "row " << r << " column " << c;
    }
    list.DeleteAllItems();
    EXPECT_EQ(list.GetItemCount(), 0);
}

TEST(gxListModel, InsertingAColumnMovesLaterCellsRight) {
    gxListModel list;
    Columns(list, {"A", "C"});
    Rows(list, {{"a", "c"}, {"only a"}});
    EXPECT_EQ(list.InsertColumn(1, "B"), 1);
    EXPECT_EQ(list.InsertColumn(9, "D"), 3);
    EXPECT_EQ(list.GetColumnName(1), "B");
    EXPECT_EQ(list.GetItemText(0, 0), "a");
    EXPECT_EQ(list.GetItemText(0, 1), "");
    EXPECT_EQ(list.GetItemText(0, 2), "c");
    EXPECT_EQ(list.GetItemText(1, 0), "only a");
    EXPECT_TRUE(list.AddItem(1, 3, "d"));
    EXPECT_EQ(list.GetItemText(1, 3), "d");
}

TEST(gxListModel, SortKeysFollowTheCaption) {
    struct Case {
        const char* caption;
        const char* text;
        const char* key;
    } cases[] = {
        // Line, id, records, count: right-aligned in nine, zero-filled; nine or more stay as they are.
        {"  Line  ", "12", "000000012"},
        {"Line", "3", "000000003"},
        {"Line", "1234567890", "1234567890"},
        {"Line", "123456789", "123456789"},
        {"Line", "ab", "0000000ab"},
        {" Client ID", "7x", "00000007x"},
        {"ClientID", "7x", "7x"},  // "ID" without a blank before it is no id column
        {" Records    ", "5", "000000005"},
        {"Count", "", "000000000"},
        // Elapsed: the milliseconds between '(' and the next blank.
        {"Elapsed (CT)", "00:00:02 (2000 msec)", "000002000"},
        {"  Elapsed  ", "00:00:02", "00:00:02"},
        {"Elapsed", "(2000)", "(2000)"},  // no blank after '('
        {"Elapsed", "x (abc def)", "000000000"},
        {"Elapsed", "x (-5 ms)", "-000000005"},
        {"Elapsed", "x (99999999999 ms)", "2147483647"},
        // Dates: fourteen or eight digits; shorter text stays.
        {"Start Date", "2011-03-04 05:06:07.890", "20110304050607"},
        {"Start Date", "2011-03-04 05:06:07", "20110304050607"},
        {"Date", "2011-03-04", "20110304"},
        {"Date", "2011-03-04 05:06", "20110304"},
        {"Date", "3/4/11", "3/4/11"},
        {"Date", "", ""},
        {"Line Date", "2011-03-04", "2011-03-04"},    // LINE comes before DATE
        {"Elapsed Count", "1 (20 ms)", "000000020"},  // ELAPSED comes first
        // Any other caption: digits only (or nothing) are zero-filled, anything else is the text.
        {"Tag", "", "000000000"},
        {"Tag", "12", "000000012"},
        {"Tag", "1a", "1a"},
        {"Tag", " 12", " 12"},
        {"Tag", "0123456789", "0123456789"},
        {"tag line", "4", "000000004"},  // the caption is compared in upper case
    };
    for (const Case& c : cases) {
        gxListModel list;
        Columns(list, {c.caption});
        Rows(list, {{c.text}});
        EXPECT_EQ(list.GetSortKey(0, 0), c.key) << c.caption << " / " << c.text;
    }
}

TEST(gxListModel, HeaderClicksToggleAscendingDescendingAscending) {
    gxListModel list;
    Columns(list, {"Line", "Tag"});
    Rows(list, {{"10", "b"}, {"9", "c"}, {"100", "a"}});
    const std::vector<std::string> up{"9", "10", "100"}, down{"100", "10", "9"};

    list.SortByColumn(0);
    EXPECT_EQ(Column(list, 0), up);  // numeric order through the zero-filled keys
    EXPECT_TRUE(list.IsSortAscending());
    list.SortByColumn(0);
    EXPECT_EQ(Column(list, 0), down);
    EXPECT_FALSE(list.IsSortAscending());
    list.SortByColumn(0);
    EXPECT_EQ(Column(list, 0), up);

    list.SortByColumn(1);  // another column: always ascending first
    EXPECT_EQ(Column(list, 1), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(list.GetSortColumn(), 1);
    list.SortByColumn(0);
    EXPECT_EQ(Column(list, 0), up);

    // The remembered direction outlives a reset, so the same sort after a refill turns it around.
    list.ResetList();
    Columns(list, {"Line", "Tag"});
    Rows(list, {{"1", "x"}, {"2", "y"}});
    list.SortByColumn(0);
    EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"2", "1"}));

    list.SortByColumn(5);  // no such column: nothing changes
    EXPECT_EQ(list.GetSortColumn(), 0);
    EXPECT_FALSE(list.IsSortAscending());
}

TEST(gxListModel, EqualKeysNeverSwapAndRowsMoveWhole) {
    gxListModel list;
    Columns(list, {"Tag", "Name"});
    // The keys of column 0 tie in pairs; column 1 shows the original order.
    Rows(list, {{"b", "1"}, {"a", "2"}, {"b", "3"}, {"a", "4"}, {"b", "5"}, {"0", "6"}, {"", "7"}});
    for (int r = 0; r < list.GetItemCount(); ++r) {
        list.SetItemData(r, (DWORD_PTR)(100 + r));
        list.SetItemBkColor(r, (COLORREF)r, false);
    }
    list.SelectItem(4);

    ASSERT_TRUE(list.SortTextItems(0, TRUE));
    EXPECT_EQ(Column(list, 1), (std::vector<std::string>{"6", "7", "2", "4", "1", "3", "5"}));
    ASSERT_TRUE(list.SortTextItems(0, FALSE));
    EXPECT_EQ(Column(list, 1), (std::vector<std::string>{"1", "3", "5", "2", "4", "6", "7"}));
    // Sorting an already sorted list changes nothing.
    ASSERT_TRUE(list.SortTextItems(0, FALSE));
    EXPECT_EQ(Column(list, 1), (std::vector<std::string>{"1", "3", "5", "2", "4", "6", "7"}));

    // Item data, colours and selection travel with their row.
    for (int r = 0; r < list.GetItemCount(); ++r) {
        int original = std::stoi(list.GetItemText(r, 1).str()) - 1;
        EXPECT_EQ(list.GetItemData(r), (DWORD_PTR)(100 + original));
        EXPECT_EQ(list.GetRowColor(r), (COLORREF)original);
        EXPECT_EQ(list.GetItemState(r, gxListModel::kSelected) != 0, original == 4);
    }
    EXPECT_EQ(list.GetFirstSelected(), 2);
}

TEST(gxListModel, SortRangesAndRefusals) {
    gxListModel list;
    Columns(list, {"Tag"});
    Rows(list, {{"e"}, {"d"}, {"c"}, {"b"}, {"a"}});
    EXPECT_TRUE(list.SortTextItems(0, TRUE, 1, 3));
    EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"e", "b", "c", "d", "a"}));
    EXPECT_FALSE(list.SortTextItems(0, TRUE, 3, 3));
    EXPECT_FALSE(list.SortTextItems(0, TRUE, 4, 2));
    EXPECT_FALSE(list.SortTextItems(1, TRUE));
    EXPECT_FALSE(list.SortTextItems(-1, TRUE));
    EXPECT_TRUE(list.SortTextItems(0, TRUE, -4, 99));  // clamped to the rows there are
    EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
}

TEST(gxListModel, SelectionAndFocus) {
    gxListModel list;
    EXPECT_EQ(list.GetFirstSelected(), 1);  // empty list
    Columns(list, {"A"});
    Rows(list, {{"0"}, {"1"}, {"2"}, {"3"}, {"4"}});
    EXPECT_EQ(list.GetFirstSelected(), 6);  // nothing selected: row count + 1
    EXPECT_EQ(list.GetNextSelected(-1), -1);

    EXPECT_TRUE(list.SelectItem(3));
    EXPECT_TRUE(list.SelectItem(1));  // adds to the selection
    EXPECT_FALSE(list.SelectItem(5));
    EXPECT_EQ(list.GetFirstSelected(), 1);
    EXPECT_EQ(list.GetNextSelected(1), 3);
    EXPECT_EQ(list.GetNextSelected(3), -1);

    EXPECT_EQ(list.GetFocusedItem(), -1);
    list.SetItemState(2, gxListModel::kFocused, gxListModel::kFocused);
    list.SetItemState(4, gxListModel::kFocused | gxListModel::kSelected,
                      gxListModel::kFocused | gxListModel::kSelected);
    EXPECT_EQ(list.GetFocusedItem(), 4);  // one focused row at a time
    EXPECT_EQ(list.GetItemState(2, gxListModel::kFocused), 0u);
    list.AddItem(0, 0, "new top");  // state stays with its row
    EXPECT_EQ(list.GetFocusedItem(), 5);
    EXPECT_EQ(list.GetFirstSelected(), 2);

    EXPECT_EQ(list.DeselectAll(), 6);
    EXPECT_EQ(list.GetFirstSelected(), 7);
    EXPECT_EQ(list.GetFocusedItem(), 5);  // focus is not selection
}

TEST(gxListModel, ItemDataAndColoursDefaultToNone) {
    gxListModel list;
    Columns(list, {"A"});
    Rows(list, {{"x"}, {"y"}});
    EXPECT_EQ(list.GetItemData(0), 0u);
    EXPECT_EQ(list.GetRowColor(0), gxListModel::kNoColor);
    EXPECT_EQ(list.GetRowTextColor(0), gxListModel::kNoColor);
    list.SetItemBkColor(1, 0xF9F7F0, true);
    list.SetItemTextColor(1, 0x0000FF, false);
    list.SetItemBkColor(7, 0x123456, true);  // no such row: ignored
    EXPECT_EQ(list.GetRowColor(1), 0xF9F7F0u);
    EXPECT_EQ(list.GetRowTextColor(1), 0x0000FFu);
    EXPECT_FALSE(list.SetItemData(2, 5));
}

TEST(gxListModel, ObserverHearsEveryChange) {
    struct Recorder : gxListModelObserver {
        std::vector<std::string> events;
        void OnColumnsChanged() override { events.push_back("columns"); }
        void OnColumnWidthChanged(int c) override { events.push_back("width " + std::to_string(c)); }
        void OnItemInserted(int r) override { events.push_back("insert " + std::to_string(r)); }
        void OnItemTextChanged(int r, int c) override {
            events.push_back("text " + std::to_string(r) + "," + std::to_string(c));
        }
        void OnItemChanged(int r, bool redraw) override {
            events.push_back("item " + std::to_string(r) + (redraw ? " redraw" : ""));
        }
        void OnAllItemsDeleted() override { events.push_back("cleared"); }
        void OnItemSelected(int r) override { events.push_back("selected " + std::to_string(r)); }
        void OnSelectionCleared() override { events.push_back("deselected"); }
        void OnItemsSorted(int lo, int hi) override {
            events.push_back("sorted " + std::to_string(lo) + ".." + std::to_string(hi));
        }
    } rec;
    gxListModel list;
    list.SetObserver(&rec);
    list.m_csNames = "A|B|";
    list.SetColumns(2);
    list.AddItem(0, 0, "2");
    list.AddItem(0, 1, "x");
    list.AddItem(0, 0, "1");
    list.SetItemBkColor(1, 0, true);
    list.SetColumnWidth(1, 40);
    list.SortByColumn(0);
    list.SelectItem(1);
    list.DeselectAll();
    list.ResetList();
    EXPECT_EQ(rec.events,
              (std::vector<std::string>{"columns", "columns", "columns", "insert 0", "text 0,1", "insert 0",
                                        "item 1 redraw", "width 1", "sorted 0..1", "item 1", "selected 1",
                                        "deselected", "cleared", "columns"}));
}
