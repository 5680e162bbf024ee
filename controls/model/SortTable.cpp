#include "controls/model/SortTable.h"

#include "controls/model/GridStorage.h"

CString SortPairsByStamp(const CString& pairs) {
    CGridStorage grid(0, 2, 0, 0);
    int pos = 0;
    for (;;) {
        const int gt = pairs.Find('>', pos);
        const int bar = gt < 0 ? -1 : pairs.Find('|', gt + 1);
        if (bar < 0)
            break;
        const int row = grid.GetRowCount();
        grid.SetRowCount(row + 1);
        grid.SetItemText(row, 0, pairs.Mid(pos, gt - pos));
        grid.SetItemText(row, 1, pairs.Mid(gt + 1, bar - gt - 1));
        pos = bar + 1;
    }
    if (grid.GetRowCount() == 0)
        return pairs;
    grid.SortTextItems(1, true);
    CString sorted;
    for (int row = 0; row < grid.GetRowCount(); ++row)
        sorted += grid.GetItemText(row, 0) + ">" + grid.GetItemText(row, 1) + "|";
    return sorted + pairs.Mid(pos);
}
