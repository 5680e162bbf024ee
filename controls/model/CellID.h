// CCellID: a (row, column) pair naming one grid cell; (-1, -1) names none.
#pragma once

class CCellID {
public:
    explicit CCellID(int nRow = -1, int nCol = -1) : row(nRow), col(nCol) {}
    bool IsValid() const { return row >= 0 && col >= 0; }
    bool operator==(const CCellID& o) const { return row == o.row && col == o.col; }
    bool operator!=(const CCellID& o) const { return !(*this == o); }

    int row;
    int col;
};
