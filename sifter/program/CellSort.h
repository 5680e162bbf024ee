// The sort rules of the result list's column types, apart from the window: a sort key per cell and a
// stable order of rows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/base/String.h"

// Column types of the result list. An enum (not macros), so this header and the report list's model,
// which names the same types inside its class, can be included together.
enum CellSortType { MCL_ALPHA = 0, MCL_NUM = 1, MCL_DDMMYY = 2, MCL_DDMMYYYY = 3, MCL_MMDDYY = 4, MCL_MMDDYYYY = 5 };

// The code of a type word; any word not in the table is MCL_ALPHA.
int ColumnTypeCode(const CString& word);

// A cell's numeric key for the number and date types: the number up to the first blank, in units of
// 1,024 when the cell holds "KB"; for dates year, month, day, hour (0-23 from the 12-hour clock) and
// minute packed in that order of weight. Parts that are missing or not digits count as 0.
int64_t NumericCellKey(int type, const CString& cell);

// Compares two cells of a column of the type: < 0, 0 or > 0.
int CompareCells(int type, const CString& a, const CString& b);

// The rows in sorted order (indices into `cells`); equal cells keep their order.
std::vector<int> SortedRowOrder(int type, const std::vector<CString>& cells, bool ascending);
