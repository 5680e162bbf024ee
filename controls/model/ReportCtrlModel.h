// The windowless rules of the sortable check-box list (CReportCtrl): its heading text, the
// type-sensing comparison of two cell texts, the row-state filters and the sort order of a set of rows.
#pragma once

#include <vector>

#include "platform/base/String.h"
#include "platform/base/Types.h"

// Row state bits, as filters (which rows) and as requests (make the row so).
#define RC_ITEM_ALL 0x0001
#define RC_ITEM_SELECTED 0x0002
#define RC_ITEM_UNSELECTED 0x0004
#define RC_ITEM_CHECKED 0x0008
#define RC_ITEM_UNCHECKED 0x0010
#define RC_ITEM_FOCUSED 0x0020
#define RC_ITEM_UNFOCUSED 0x0040

// One column of a heading text: caption, width in pixels and alignment (0 left, 1 centre, 2 right).
struct ReportColumnHeading {
    CString caption;
    int width = 100;
    int alignment = 0;
};

// "Caption[, width[, alignment]];..." split at ';' and ','; empty pieces are dropped and nothing is trimmed.
std::vector<ReportColumnHeading> ParseColumnHeader(LPCTSTR headings);

// <0, 0, >0 as a sorts before, with, after b: two whole hexadecimal numbers by value, else two decimal
// numbers (each may end in one '%') by value, else two dates or date-times of the user's locale by time,
// else the texts byte by byte.
int CompareReportTexts(LPCTSTR a, LPCTSTR b);

// The state bits of a row that is (or is not) selected, checked and focused.
int ReportRowStateBits(bool selected, bool checked, bool focused);
// A row matches a filter with bit RC_ITEM_ALL, or when its state bits hold every bit of the filter; filter 0
// matches nothing.
bool ReportRowMatches(int rowBits, int filter);

// The rows' new order: entry i is the index of the row that moves to position i, sorted by the texts of
// the sort column (reversed when descending); rows that compare equal keep their order.
std::vector<int> ReportSortOrder(const std::vector<CString>& texts, bool ascending);
