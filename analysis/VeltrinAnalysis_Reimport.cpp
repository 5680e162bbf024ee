#include <string>
#include <string_view>
#include <vector>

#include "analysis/ImportFrame.h"
#include "analysis/VeltrinAnalysis.h"
#include "core/RequestStrings.h"
#include "controls/model/gxListModel.h"

namespace {
// How a data line's words become one cell.
enum class Cell {
    Word,           // the next word
    TwoWords,       // the next two words
    DateCell,       // a date and its time
    TimeRule,       // the next word, and the one after it unless that holds ':'
    ThreeWords,     // the next three words
    CaretGroup,     // the words up to a word "^" (consumed), each followed by a blank
    RestOfWords,    // the remaining words, each followed by a blank
    RestOfLine,     // the rest of the line as it stands, leading white space removed
    AnalyzedThird,  // a word, or nothing when it is "--", which then leads the next group
};

// Words are runs of characters other than the blank.
class WordCursor {
public:
    explicit WordCursor(std::string_view line) : m_line(line) {
        size_t pos = 0;
        while (pos < line.size()) {
            while (pos < line.size() && line[pos] == ' ')
                ++pos;
            if (pos == line.size())
                break;
            size_t end = std::min(line.find(' ', pos), line.size());
            m_words.emplace_back(pos, end);
            pos = end;
        }
    }
    bool Empty() const { return m_words.empty(); }
    size_t Count() const { return m_words.size(); }
    std::string_view Word(size_t i) const {
        return m_line.substr(m_words[i].first, m_words[i].second - m_words[i].first);
    }
    bool AtEnd() const { return m_next >= m_words.size(); }
    std::string_view Peek() const { return Word(m_next); }
    std::string_view Take() {
        m_lastEnd = m_words[m_next].second;
        return Word(m_next++);
    }
    // Up to n words joined by single blanks.
    std::string Join(size_t n) {
        std::string text;
        for (size_t i = 0; i < n && !AtEnd(); ++i) {
            if (i)
                text += ' ';
            text.append(Take());
        }
        return text;
    }
    std::string RestOfLine() {
        std::string_view rest = m_line.substr(std::min(m_lastEnd, m_line.size()));
        while (!rest.empty() && IsSpace(rest.front()))
            rest.remove_prefix(1);
        m_next = m_words.size();
        return std::string(rest);
    }
    static bool IsSpace(char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
    }
    static std::string Trimmed(std::string_view s) {
        while (!s.empty() && IsSpace(s.front()))
            s.remove_prefix(1);
        while (!s.empty() && IsSpace(s.back()))
            s.remove_suffix(1);
        return std::string(s);
    }

private:
    std::string_view m_line;
    std::vector<std::pair<size_t, size_t>> m_words;
    size_t m_next = 0;
    size_t m_lastEnd = 0;
};

bool Contains(std::string_view word, const char* text) {
    return word.find(text) != std::string_view::npos;
}
}  // namespace

// One reader of the family: how it finds its caption line, joins caption words, limits its columns and
// cuts a data line into cells.
struct CVeltrinAnalysis::ReimportLayout {
    enum Mark { RecordsLine, AfterTitle, FirstLine };
    enum Join { NoJoin, StartEndElapsed, AnalyzedElapsed, SqlStatement };
    enum StatusArg { NoArg, PathArg, ListKeyArg };

    const char* method;
    const char* status;
    StatusArg statusArg;
    bool perLog;  // named by the list key rather than by the path
    Mark mark;
    const char* title;  // AfterTitle: the section title
    bool numbers;       // column 0 numbers the rows
    Join join;
    int limit;  // columns, "Records" included
    bool refuse;
    const char* limitMessage;
    std::vector<Cell> cells;
    const char* marker;  // the top-20 readers' marker word
};

int32_t CVeltrinAnalysis::ReimportLog(const ReimportLayout& layout) {
    using L = ReimportLayout;
    m_pHost->HideOutputBar();
    const CString path = _csReportName;
    const CString listKey = _csListKey;
    const CString key = layout.perLog ? listKey : _csDocToOpen;
    const int slash = path.ReverseFind('/');
    const CString fileName = path.Mid(slash + 1);
    const CString folder = slash >= 0 ? path.Left(slash) : CString();
    if (layout.perLog) {
        _csAction.Format("ImportCsvToListView_%s", (LPCTSTR)listKey);
        m_csCurAction = _csAction;
        _csLogNameText = listKey;
    } else if (slash >= 0) {
        _csBaseFolder = folder;
        m_csImportFolder = folder;
        _csAction.Format("ImportCsvToListView_%s", (LPCTSTR)fileName);
        m_csCurAction = _csAction;
        _csReportName = fileName;
        _csLogNameText = fileName;
    }

    CString status = layout.status;
    if (layout.statusArg == L::PathArg)
        status.Format(layout.status, (LPCTSTR)path);
    else if (layout.statusArg == L::ListKeyArg)
        status.Format(layout.status, (LPCTSTR)(listKey + ".log"));

    CImportFrame frame(*this, layout.method, status);
    if (!frame.Open(path))
        return 0;
    return frame.Run([&]() -> int32_t {
        gxListModel& list = List();
        bool captionNext = layout.mark == L::FirstLine;
        bool haveColumns = false;
        int32_t rows = 0;
        CString line;
        while (frame.NextLine(line)) {
            frame.Step(rows, status);
            std::string_view text = line.str();
            if (layout.mark == L::AfterTitle && Contains(text, layout.title)) {
                captionNext = true;  // a further section: its caption line is not a row either
                continue;
            }
            if (!haveColumns && layout.mark == L::RecordsLine)
                captionNext = Contains(text, "Records");
            if (captionNext) {
                captionNext = false;
                if (haveColumns)
                    continue;
                haveColumns = true;
                WordCursor words(text);
                if (layout.numbers)
                    frame.AddRecordsCaption();
                for (size_t i = 0; i < words.Count();) {
                    std::string_view word = words.Word(i);
                    std::string caption(word);
                    size_t take = 1;
                    if (layout.join == L::StartEndElapsed && i > 0 &&
                        (Contains(word, "Start") || Contains(word, "End") || Contains(word, "Elapsed"))) {
                        take = 2;
                    } else if (layout.join == L::AnalyzedElapsed && Contains(word, "Analyzed")) {
                        take = 4;
                    } else if (layout.join == L::AnalyzedElapsed && Contains(word, "Elapsed")) {
                        take = 2;
                    } else if (layout.join == L::SqlStatement && word == "Statement") {
                        caption = "SQL Statement";
                    }
                    for (size_t j = 1; j < take && i + j < words.Count(); ++j)
                        caption.append(" ").append(words.Word(i + j));
                    i += take;
                    if (frame.CaptionCount() >= layout.limit) {
                        if (!layout.refuse)
                            break;
                        frame.Fail(layout.limitMessage);
                        return 0;
                    }
                    frame.AddCaption(caption.c_str());
                }
                frame.SetUpColumns();
                continue;
            }
            if (!haveColumns)
                continue;

            WordCursor words(text);
            if (!layout.numbers && words.Empty())
                continue;
            int col = 0;
            if (layout.numbers) {
                CString number;
                number.Format("%ld", (long)rows + 1);
                list.AddItem(rows, col++, number);
            }
            bool dashes = false;  // the third word was "--": it leads the next group
            for (Cell cell : layout.cells) {
                std::string value;
                switch (cell) {
                    case Cell::Word:
                        value = words.AtEnd() ? std::string() : WordCursor::Trimmed(words.Take());
                        break;
                    case Cell::TwoWords:
                    case Cell::DateCell:
                        value = words.Join(2);
                        break;
                    case Cell::ThreeWords:
                        value = words.Join(3);
                        break;
                    case Cell::TimeRule:
                        value = words.Join(1);
                        if (!words.AtEnd() && !Contains(words.Peek(), ":"))
                            value.append(" ").append(words.Take());
                        break;
                    case Cell::AnalyzedThird:
                        if (!words.AtEnd() && words.Peek() == "--") {
                            words.Take();
                            dashes = true;
                        } else {
                            value = words.AtEnd() ? std::string() : WordCursor::Trimmed(words.Take());
                        }
                        break;
                    case Cell::CaretGroup:
                        if (dashes)
                            value = "-- ";
                        dashes = false;
                        while (!words.AtEnd()) {
                            std::string_view word = words.Take();
                            if (word == "^")
                                break;
                            value.append(word).append(" ");
                        }
                        break;
                    case Cell::RestOfWords:
                        while (!words.AtEnd())
                            value.append(words.Take()).append(" ");
                        break;
                    case Cell::RestOfLine:
                        value = words.RestOfLine();
                        break;
                }
                list.AddItem(rows, col++, value.c_str());
            }
            ++rows;
        }
        if (frame.NotText())
            return 0;
        if (layout.marker && rows == 20) {  // a complete top-20 list names the file behind it
            list.AddItem(rows, 0, layout.marker);
            list.AddItem(rows, 1, fileName);
        }
        return frame.Finish(rows, key, fileName, folder);
    });
}

namespace {
using C = Cell;
const std::vector<Cell> kTaAllCells = {C::Word, C::Word,     C::Word,     C::Word,       C::Word,
                                       C::Word, C::DateCell, C::DateCell, C::ThreeWords, C::Word};
const std::vector<Cell> kAnalyzedCells = {C::Word,       C::Word,       C::AnalyzedThird,
                                          C::CaretGroup, C::CaretGroup, C::Word};
const std::vector<Cell> kTicAllCells = {C::Word, C::Word, C::Word, C::TwoWords, C::RestOfWords};
const std::vector<Cell> kTicReportCells = {C::Word, C::Word, C::TwoWords, C::RestOfWords};
const std::vector<Cell> kTop20XactCells = {C::Word,     C::Word,       C::Word, C::Word, C::TimeRule,
                                           C::TimeRule, C::ThreeWords, C::Word, C::Word, C::Word};
const std::vector<Cell> kTop20SqlCells = {C::Word,     C::Word,     C::Word,       C::Word,      C::Word,
                                          C::TimeRule, C::TimeRule, C::ThreeWords, C::RestOfLine};
const std::vector<Cell> kSqlSummaryCells = {C::Word, C::ThreeWords, C::Word, C::Word, C::Word, C::RestOfLine};
const char kEleven[] = "This File Exceeds Eleven(11) Columns of Data!";
}  // namespace

LRESULT CVeltrinAnalysis::ImportTaAllLog(WPARAM, LPARAM) {
    return ReimportLog({"CVeltrinView::ImportTaAllLog", "Processing Import TAAnalysisAllTreeview_TA.log...",
                        ReimportLayout::NoArg, false, ReimportLayout::RecordsLine, nullptr, false,
                        ReimportLayout::StartEndElapsed, 11, true, kEleven, kTaAllCells, nullptr});
}

LRESULT CVeltrinAnalysis::ImportTaLog(WPARAM, LPARAM) {
    return ReimportLog({"CVeltrinView::ImportTaLog", "Processing Import %s...", ReimportLayout::PathArg,
                        false, ReimportLayout::RecordsLine, nullptr, false, ReimportLayout::StartEndElapsed,
                        11, true, kEleven, kTaAllCells, nullptr});
}

LRESULT CVeltrinAnalysis::ImportAnalyzedLog(WPARAM, LPARAM) {
    return ReimportLog({"CVeltrinView::ImportAnalyzedLog", "Processing Import %s...",
                        ReimportLayout::ListKeyArg, true, ReimportLayout::RecordsLine, nullptr, false,
                        ReimportLayout::AnalyzedElapsed, 6, true,
                        "This File Exceeds Eleven(6) Columns of Data!", kAnalyzedCells, nullptr});
}

LRESULT CVeltrinAnalysis::ImportTicAllLog(WPARAM, LPARAM) {
    return ReimportLog({"CVeltrinView::ImportTicAllLog",
                        "Processing Import TICAnalysisAllTreeview_TIC.log...", ReimportLayout::NoArg, false,
                        ReimportLayout::RecordsLine, nullptr, false, ReimportLayout::NoJoin, 11, true,
                        kEleven, kTicAllCells, nullptr});
}

LRESULT CVeltrinAnalysis::ImportTicLog(WPARAM, LPARAM) {
    return ReimportLog({"CVeltrinView::ImportTicLog", "Processing Import %s...", ReimportLayout::PathArg,
                        false, ReimportLayout::RecordsLine, nullptr, false, ReimportLayout::NoJoin, 11, true,
                        kEleven, kTicAllCells, nullptr});
}

LRESULT CVeltrinAnalysis::ImportTicReportLog(WPARAM, LPARAM) {
    return ReimportLog({"CVeltrinView::ImportTicReportLog", "Processing Import %s...",
                        ReimportLayout::ListKeyArg, true, ReimportLayout::RecordsLine, nullptr, false,
                        ReimportLayout::NoJoin, 11, true, kEleven, kTicReportCells, nullptr});
}

LRESULT CVeltrinAnalysis::ImportTop20TransactionsLog(WPARAM, LPARAM) {
    return ReimportLog({"CVeltrinView::ImportTop20TransactionsLog",
                        "Processing Import Top20Transactions.log...", ReimportLayout::NoArg, false,
                        ReimportLayout::AfterTitle, "Top 20 Transactions:", true, ReimportLayout::NoJoin, 11,
                        true, kEleven, kTop20XactCells, "TOP20LOG"});
}

LRESULT CVeltrinAnalysis::ImportTop20SqlLog(WPARAM, LPARAM) {
    return ReimportLog({"CVeltrinView::ImportTop20SqlLog", "Processing Import Top20SqlStatements.log...",
                        ReimportLayout::NoArg, false, ReimportLayout::AfterTitle, "Top 20 SQL Statements:",
                        true, ReimportLayout::SqlStatement, 10, false, nullptr, kTop20SqlCells, "TOP20LOG"});
}

LRESULT CVeltrinAnalysis::ImportSqlSummaryLog(WPARAM, LPARAM) {
    // A later histogram request of this view reads the top-20 SQL report log this summary was made
    // from: the file read without its "_SQLSUMMARY.log".
    CString name = _csReportName.Mid(_csReportName.ReverseFind('/') + 1);
    const CString suffix = "_SQLSUMMARY.log";
    const int cut = name.GetLength() - suffix.GetLength();
    m_csSqlSummaryLogName =
        cut > 0 && name.Mid(cut) == suffix ? name.Left(cut) : CString("Top20SqlStatements.log");
    return ReimportLog({"CVeltrinView::ImportSqlSummaryLog", "Processing Import SqlSummary...",
                        ReimportLayout::NoArg, false, ReimportLayout::FirstLine, nullptr, true,
                        ReimportLayout::SqlStatement, 7, false, nullptr, kSqlSummaryCells, nullptr});
}
