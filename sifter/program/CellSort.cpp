#include "sifter/program/CellSort.h"

#include <algorithm>
#include <cstdlib>

namespace {
// The number of the digits at [at, at + count) of the text; 0 when any of them is missing or no digit.
int Digits(const std::string& text, size_t at, size_t count) {
    if (at + count > text.size())
        return 0;
    int value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return 0;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

int64_t DateKey(int type, const std::string& cell) {
    size_t blank = cell.find(' ');
    std::string date = cell.substr(0, blank);
    std::string time = blank == std::string::npos ? std::string("00:00") : cell.substr(blank + 1);
    bool fourDigits = type == MCL_DDMMYYYY || type == MCL_MMDDYYYY;
    size_t yearLength = fourDigits ? 4 : 2;
    int year = date.size() >= yearLength ? Digits(date, date.size() - yearLength, yearLength) : 0;
    if (!fourDigits)
        year += year <= 90 ? 2000 : 1900;
    bool dayFirst = type == MCL_DDMMYY || type == MCL_DDMMYYYY;
    int month = dayFirst ? Digits(date, 3, 2) : Digits(date, 0, 2);
    int day = dayFirst ? Digits(date, 0, 2) : Digits(date, 3, 2);
    int hour = Digits(time, 0, 2);
    int minute = Digits(time, 3, 2);
    std::string upper = time;
    for (char& c : upper)
        c = AsciiUpper(c);
    bool pm = upper.find("PM") != std::string::npos;
    if (hour == 12)
        hour = pm ? 12 : 0;
    else if (pm)
        hour += 12;
    return ((((int64_t)year * 100 + month) * 100 + day) * 100 + hour) * 100 + minute;
}
}  // namespace

int ColumnTypeCode(const CString& word) {
    static const char* const kWords[] = {"MCL_ALPHA",    "MCL_NUM",    "MCL_DDMMYY",
                                         "MCL_DDMMYYYY", "MCL_MMDDYY", "MCL_MMDDYYYY"};
    CString trimmed = word;
    trimmed.Trim();
    for (int i = 0; i < 6; ++i)
        if (trimmed == kWords[i])
            return i;
    return MCL_ALPHA;
}

int64_t NumericCellKey(int type, const CString& cell) {
    std::string text(cell.GetString());
    if (type == MCL_NUM) {
        std::string number = text.substr(0, text.find(' '));
        int64_t value = std::strtoll(number.c_str(), nullptr, 10);
        return text.find("KB") != std::string::npos ? value * 1024 : value;
    }
    return DateKey(type, text);
}

int CompareCells(int type, const CString& a, const CString& b) {
    if (type == MCL_ALPHA) {
        // Upper-cased, so '_' sorts after the letters as the column always did.
        std::string_view x(a.GetString()), y(b.GetString());
        size_t n = std::min(x.size(), y.size());
        for (size_t i = 0; i < n; ++i) {
            unsigned char cx = (unsigned char)AsciiUpper(x[i]), cy = (unsigned char)AsciiUpper(y[i]);
            if (cx != cy)
                return cx < cy ? -1 : 1;
        }
        return x.size() < y.size() ? -1 : (x.size() > y.size() ? 1 : 0);
    }
    int64_t ka = NumericCellKey(type, a), kb = NumericCellKey(type, b);
    return ka < kb ? -1 : (ka > kb ? 1 : 0);
}

std::vector<int> SortedRowOrder(int type, const std::vector<CString>& cells, bool ascending) {
    std::vector<int> order(cells.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = (int)i;
    std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
        int c = CompareCells(type, cells[x], cells[y]);
        return ascending ? c < 0 : c > 0;
    });
    return order;
}
