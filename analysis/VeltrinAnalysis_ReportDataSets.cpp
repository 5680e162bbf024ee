// The view's report data sets: counting, the top-20 rule, the rankings and the fixed-width sections that
// the report logs are made of.
#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "analysis/ReportFormat.h"
#include "analysis/VeltrinAnalysis.h"
#include "platform/base/File.h"
#include "platform/base/MessageBox.h"

namespace {
constexpr int32_t kTop20Limit = 20;

// Adds without leaving the 32-bit range (a sum past it stays at the largest value).
int32_t SaturatingAdd(int32_t a, int32_t b) {
    int64_t sum = (int64_t)a + (int64_t)b;
    if (sum > INT32_MAX)
        return INT32_MAX;
    if (sum < INT32_MIN)
        return INT32_MIN;
    return (int32_t)sum;
}

// The milliseconds in parentheses of an elapsed text, when there is a number there.
bool ParenthesisedMs(const char* text, int64_t& ms) {
    const char* open = text ? std::strchr(text, '(') : nullptr;
    if (!open || open[1] < '0' || open[1] > '9')
        return false;
    ms = CVeltrinAnalysis::LeadingNumber(open + 1);
    return true;
}

// The counting rule on elapsed texts, shared by the three count sets.
template <class RECORD, class MAP, class INIT>
void CountElapsed(MAP& map, LPCTSTR key, LPCTSTR elapsed, INIT init) {
    const bool found = map.Update(key, [&](RECORD& rec) {
        rec.m_nCount = SaturatingAdd(rec.m_nCount, 1);
        if (CVeltrinAnalysis::CompareElapsedTexts(rec.m_csMinElapsed, elapsed) > 0)
            rec.m_csMinElapsed = elapsed;
        else if (CVeltrinAnalysis::CompareElapsedTexts(rec.m_csMaxElapsed, elapsed) < 0)
            rec.m_csMaxElapsed = elapsed;
    });
    if (!found) {
        RECORD rec;
        init(rec);
        rec.m_csMinElapsed = elapsed;
        rec.m_csMaxElapsed = elapsed;
        rec.m_nCount = 1;
        map.Add(key, rec);
    }
}

// The numeric counting rule of the two statement sets.
template <class RECORD, class MAP>
void CountMs(MAP& map, LPCTSTR statement, int32_t ms) {
    const bool found = map.Update(statement, [&](RECORD& rec) {
        rec.m_nTotalMs = SaturatingAdd(rec.m_nTotalMs, ms);
        rec.m_nCount = SaturatingAdd(rec.m_nCount, 1);
        if (ms < rec.m_nMinMs)
            rec.m_nMinMs = ms;
        else if (ms > rec.m_nMaxMs)
            rec.m_nMaxMs = ms;
    });
    if (!found) {
        RECORD rec;
        rec.m_csStatement = statement;
        rec.m_nTotalMs = rec.m_nMinMs = rec.m_nMaxMs = ms;
        rec.m_nCount = 1;
        map.Add(statement, rec);
    }
}

// The key "file:row" of a top-20 record. It is made for every observation, so it is built in a text of
// the thread's own that keeps its buffer; valid until the next call.
const CString& RowKey(LPCTSTR file, long row) {
    thread_local CString key;
    key.str().assign(file ? file : "").append(1, ':').append(CDecimalText(row).View());
    return key;
}

// The top-20 rule: keeps the 20 records with the most elapsed milliseconds. A key already present is
// replaced where it stands, so a full set stays full. A new record replaces the first record of the
// smallest value when it is larger; the record is built (by make) only when it is stored, since most
// observations of a long log are dropped.
template <class RECORD, class MAP, class FLOOR, class MAKE>
void AddTop20(MAP& map, FLOOR& floor, const CString& key, LPCTSTR elapsedMs, MAKE make) {
    if (map.GetCount() < kTop20Limit || map.Contains(key)) {
        map.Add(key, make());
        return;
    }
    const int64_t value = CVeltrinAnalysis::LeadingNumber(elapsedMs);
    if (floor.generation == map.GetGeneration() && value <= floor.value)
        return;  // nothing in the set is smaller
    int64_t smallest = 0;
    CString smallestKey;
    bool first = true;
    map.ForEach([&](const CString& k, const RECORD& r) {
        int64_t v = CVeltrinAnalysis::LeadingNumber(r.m_csElapsedMs);
        if (first || v < smallest) {  // the first of equal smallest values
            smallest = v;
            smallestKey = k;
            first = false;
        }
    });
    floor.generation = map.GetGeneration();
    floor.value = smallest;
    if (smallest >= value)
        return;
    if (map.Remove(smallestKey) && map.GetCount() < kTop20Limit)
        map.Add(key, make());
}

// A ranking: re-keys the set "1".."N" by value, largest first; equal values keep their order.
template <class RECORD, class MAP, class VALUE>
void Rank(MAP& map, VALUE valueOf, const std::function<void(int32_t)>& moved) {
    struct Entry {
        int64_t value;
        RECORD rec;
    };
    std::vector<Entry> entries;
    entries.reserve((size_t)map.GetCount());
    map.ForEach([&](const CString&, const RECORD& r) { entries.push_back({valueOf(r), r}); });
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.value > b.value; });
    map.DeleteAll();
    CString key;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (moved)
            moved((int32_t)i + 1);
        key.Format("%d", (int)(i + 1));
        map.Add(key, entries[i].rec);
    }
}

}  // namespace

// ---- Value helpers ----

int64_t CVeltrinAnalysis::LeadingNumber(LPCTSTR text) {
    if (!text)
        return 0;
    int64_t value = 0;
    for (const char* p = text; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > (int64_t)1e15)  // far beyond any duration; keeps the arithmetic in range
            return (int64_t)1e15;
    }
    return value;
}

int32_t CVeltrinAnalysis::MsFromText(LPCTSTR text) {
    if (!text)
        return 0;
    const char* p = text;
    while (*p == ' ' || *p == '\t')
        ++p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    int64_t value = LeadingNumber(p);
    if (negative)
        value = -value;
    return (int32_t)std::clamp<int64_t>(value, INT32_MIN, INT32_MAX);
}

CString CVeltrinAnalysis::FormatMsText(double ms) {
    // Whole numbers of milliseconds print as integers (what "%.0f" gives them); anything else takes
    // the printf path.
    if (ms >= 0 && ms < 1e15 && ms == (double)(int64_t)ms) {
        char buf[24];
        auto end = std::to_chars(buf, buf + sizeof buf, (int64_t)ms).ptr;
        return CString(buf, (int)(end - buf));
    }
    CString text;
    text.Format("%.0f", ms);
    return text;
}

int CVeltrinAnalysis::CompareElapsedTexts(LPCTSTR a, LPCTSTR b) {
    int64_t ma = 0, mb = 0;
    if (ParenthesisedMs(a, ma) && ParenthesisedMs(b, mb))
        return ma < mb ? -1 : (ma > mb ? 1 : 0);
    return std::strcmp(a ? a : "", b ? b : "");
}

// ---- Adding observations ----

namespace {
// One statement run as the SQL data sets keep it.
CSqlDetail MakeSqlDetail(LPCTSTR file, int32_t startRow, int32_t endRow, int32_t bindRow, LPCTSTR date,
                         LPCTSTR startTime, LPCTSTR endTime, LPCTSTR timeText, LPCTSTR elapsedMs,
                         LPCTSTR statement) {
    CSqlDetail rec;
    rec.m_csFile = file;
    rec.m_nStartRow = startRow;
    rec.m_nEndRow = endRow;
    rec.m_nStartBindRow = bindRow;
    rec.m_csDate = date;
    rec.m_csStartTime = startTime;
    rec.m_csEndTime = endTime;
    rec.m_csTimeText = timeText;
    rec.m_csElapsedMs = elapsedMs;
    rec.m_csStatement = statement;
    return rec;
}
}  // namespace

void CVeltrinAnalysis::AddTransaction(LPCTSTR transaction, LPCTSTR elapsed) {
    CountElapsed<CTransaction>(m_aXact, transaction, elapsed,
                               [&](CTransaction& r) { r.m_csTransaction = transaction; });
}

void CVeltrinAnalysis::AddClientTransaction(LPCTSTR machine, LPCTSTR clientType, LPCTSTR elapsed) {
    const CString key = CString(machine) + '|' + clientType;
    CountElapsed<CClient>(m_aClient, key, elapsed, [&](CClient& r) {
        r.m_csMachine = machine;
        r.m_csType = clientType;
    });
}

void CVeltrinAnalysis::AddClientXact(LPCTSTR machine, LPCTSTR clientType, LPCTSTR transaction,
                                     LPCTSTR elapsed) {
    const CString key = CString(machine) + '|' + clientType + '|' + transaction;
    CountElapsed<CCltXact>(m_aCltXact, key, elapsed, [&](CCltXact& r) {
        r.m_csMachine = machine;
        r.m_csType = clientType;
        r.m_csTransaction = transaction;
    });
}

void CVeltrinAnalysis::AddSqlXact(LPCTSTR statement, int32_t ms) {
    CountMs<CSqlXact>(m_aSqlXact, statement, ms);
}

void CVeltrinAnalysis::AccumulateSqlSum(LPCTSTR, LPCTSTR statement, int32_t ms) {
    CountMs<CSqlSum>(m_aSqlSum, statement, ms);
}

void CVeltrinAnalysis::AddSqlSum(LPCTSTR, LPCTSTR statement, int32_t count, int32_t total, int32_t minMs,
                                 int32_t maxMs) {
    CSqlSum rec;
    rec.m_csStatement = statement;
    rec.m_nCount = count;
    rec.m_nTotalMs = total;
    rec.m_nMinMs = minMs;
    rec.m_nMaxMs = maxMs;
    m_aSqlSum.Add(statement, rec);
}

void CVeltrinAnalysis::AddTop20Transaction(LPCTSTR file, int32_t startRow, int32_t endRow, LPCTSTR date,
                                           LPCTSTR startTime, LPCTSTR endTime, LPCTSTR elapsed,
                                           LPCTSTR elapsedMs, LPCTSTR transaction, LPCTSTR clientType,
                                           LPCTSTR clientMachine) {
    const CString& key = RowKey(file, startRow);
    AddTop20<CXactDetail>(m_aTop20Xact, m_top20XactFloor, key, elapsedMs, [&] {
        CXactDetail rec;
        rec.m_csFile = file;
        rec.m_nStartRow = startRow;
        rec.m_nEndRow = endRow;
        rec.m_csDate = date;
        rec.m_csStartTime = startTime;
        rec.m_csEndTime = endTime;
        rec.m_csElapsed = elapsed;
        rec.m_csElapsedMs = elapsedMs;
        rec.m_csTransaction = transaction;
        rec.m_csClientType = clientType;
        rec.m_csClientMachine = clientMachine;
        return rec;
    });
}

void CVeltrinAnalysis::AddTop20Sql(LPCTSTR file, int32_t startRow, int32_t endRow, int32_t bindRow,
                                   LPCTSTR date, LPCTSTR startTime, LPCTSTR endTime, LPCTSTR elapsedMs,
                                   LPCTSTR statement) {
    const CString& key = RowKey(file, bindRow);
    AddTop20<CSqlDetail>(m_aTop20Sql, m_top20SqlFloor, key, elapsedMs, [&] {
        return MakeSqlDetail(file, startRow, endRow, bindRow, date, startTime, endTime, "", elapsedMs,
                             statement);
    });
}

void CVeltrinAnalysis::AddSqlDetail(LPCTSTR key, int32_t startRow, int32_t endRow, int32_t bindRow,
                                    LPCTSTR date, LPCTSTR startTime, LPCTSTR endTime, LPCTSTR elapsedMs,
                                    LPCTSTR gap, LPCTSTR statement) {
    m_aSqlDetail.Add(key, MakeSqlDetail(key, startRow, endRow, bindRow, date, startTime, endTime, gap,
                                        elapsedMs, statement));
}

void CVeltrinAnalysis::AddHistogramSql(LPCTSTR key, int32_t startRow, int32_t endRow, int32_t bindRow,
                                       LPCTSTR date, LPCTSTR startTime, LPCTSTR endTime, LPCTSTR elapsedMs,
                                       LPCTSTR file, LPCTSTR statement) {
    m_aSqlDetail.Add(key, MakeSqlDetail(file, startRow, endRow, bindRow, date, startTime, endTime, "",
                                        elapsedMs, statement));
}

// ---- Rankings ----

void CVeltrinAnalysis::ReorderTop20TransactionList() {
    ShowStatusText("Reorder Top20 Transaction List...");
    Rank<CXactDetail>(
        m_aTop20Xact, [](const CXactDetail& r) { return LeadingNumber(r.m_csElapsedMs); },
        [this](int32_t n) { ShowRecordCount(n); });
}

void CVeltrinAnalysis::ReorderTop20SqlList() {
    ShowStatusText("Reorder Top20 SQL List...");
    Rank<CSqlDetail>(
        m_aTop20Sql, [](const CSqlDetail& r) { return LeadingNumber(r.m_csElapsedMs); },
        [this](int32_t n) { ShowRecordCount(n); });
}

void CVeltrinAnalysis::ReorderHistogramDataset() {
    ShowStatusText("Reorder Histogram Dataset...");
    Rank<CSqlDetail>(
        m_aSqlDetail, [](const CSqlDetail& r) { return LeadingNumber(r.m_csElapsedMs); },
        [this](int32_t n) { ShowRecordCount(n); });
    ShowStatusText("Ready");
}

void CVeltrinAnalysis::ReorderSqlSummary() {
    ShowStatusText("Reordering SQL Summary Report...");
    const int32_t total = m_aSqlSum.GetCount();
    BOOL keepGoing = TRUE;  // the ranking cannot be cancelled: the flag is not tested
    std::unique_ptr<IAnalysisWait> wait = Host().OpenWaitDialog(&keepGoing, total);
    wait->SetMessageText("Reordering SqlSummary Report");
    Host().BeginWaitCursor();
    auto progress = [&](int32_t moved, bool last) {
        CString text;
        if (last)
            text.Format("%s...\n%ld items processed", "SqlSummary Report", (long)moved);
        else
            text.Format("Reordering %s...\n%ld items processed", "SqlSummary Report", (long)moved);
        wait->SetMessageText(text);
        ShowRecordCount(moved);
        if (!last)
            ShowStatusText("Reordering SQL Summary Report...");
        wait->SetProgress(moved);
        if (!last)
            Host().RestoreWaitCursor();
    };
    Rank<CSqlSum>(
        m_aSqlSum, [](const CSqlSum& r) { return (int64_t)r.m_nTotalMs; },
        [&](int32_t n) {
            if (n % 100 == 0)
                progress(n, false);
        });
    progress(total, true);
    ShowStatusText("Ready");
    Host().EndWaitCursor();
    wait->Close();
}

// ---- Report-log sections ----

void CVeltrinAnalysis::ReportFileError(const CFileException& error) {
    char text[1024];
    error.GetErrorMessage(text, sizeof text);
    Host().MessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

BOOL CVeltrinAnalysis::OpenReportLog(CStdioFile& file, LPCTSTR path) {
    CFileException error;
    if (!file.Open(path,
                   CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite | CFile::shareExclusive |
                       CFile::typeText,
                   &error)) {
        ReportFileError(error);
        return FALSE;
    }
    try {
        file.SeekToEnd();
    } catch (CFileException* e) {
        ReportFileError(*e);
        e->Delete();
        file.Abort();
        return FALSE;
    }
    return TRUE;
}

BOOL CVeltrinAnalysis::CloseReportLog(CStdioFile& file) {
    try {
        file.Close();
    } catch (CFileException* e) {
        ReportFileError(*e);
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

namespace {
// Appends one section: heading, caption line and the lines that `lines` writes. A file that cannot be
// opened gets the file-error message and nothing; a write error the section's own message.
void WriteSection(CVeltrinAnalysis& view, const CString& path, LPCTSTR heading, const CString& caption,
                  const std::function<void(CStdioFile&)>& lines, const char* writeErrorFormat) {
    CStdioFile file;
    if (!view.OpenReportLog(file, path))
        return;
    try {
        file.WriteString(heading);
        file.WriteString(caption);
        lines(file);
        file.Close();
    } catch (CFileException* e) {
        e->Delete();
        file.Abort();
        view.Host().MessageBox(FormatString(writeErrorFormat, (LPCTSTR)path).c_str(),
                               MB_OK | MB_ICONEXCLAMATION);
    }
}

const char kWriteError[] = "Unable to write to the file: \n %s";
const char kFormatXactCount[] = "%-30s  %-10s  %-30s  %-30s\n";
const char kFormatMachine[] = "%-32s  %-50s  %-10s  %-30s  %-30s\n";
const char kFormatXactSummary[] = "%-32s  %-50s  %-10s  %-30s  %-30s  %s\n";
const char kFormatTop20Xact[] = "%-27s  %-10s  %-10s  %-10s  %-13s %-13s %-30s  %-30s  %-12s  %s\n";
const char kFormatSqlCount[] = "%-10s  %-10s  %-10s  %-10s  %s\n";
const char kFormatTop20Sql[] = "%-27s  %-10s  %-10s  %-12s  %-10s  %-13s %-13s  %-24s  %s\n";
}  // namespace

void CVeltrinAnalysis::WriteTransactionCountSummary() {
    WriteSection(
        *this, m_csXactReportLog, "\n\nTransaction Count Summary:\n",
        FormatString(kFormatXactCount, "Transaction", "Count", "MinElapsed", "MaxElapsed"),
        [&](CStdioFile& file) {
            m_aXact.ForEach([&](const CString&, const CTransaction& r) {
                file.WriteString(FormatString(kFormatXactCount, (LPCTSTR)r.m_csTransaction,
                                              (LPCTSTR)NumberString(r.m_nCount), (LPCTSTR)r.m_csMinElapsed,
                                              (LPCTSTR)r.m_csMaxElapsed)
                                     .c_str());
            });
        },
        kWriteError);
}

void CVeltrinAnalysis::WriteMachineCountSummary() {
    WriteSection(
        *this, m_csXactReportLog, "\n\nTransaction Count by Machine Summary:\n",
        FormatString(kFormatMachine, "Machine", "Type", "Count", "MinElapsed", "MaxElapsed"),
        [&](CStdioFile& file) {
            m_aClient.ForEach([&](const CString&, const CClient& r) {
                file.WriteString(FormatString(kFormatMachine, (LPCTSTR)r.m_csMachine, (LPCTSTR)r.m_csType,
                                              (LPCTSTR)NumberString(r.m_nCount), (LPCTSTR)r.m_csMinElapsed,
                                              (LPCTSTR)r.m_csMaxElapsed)
                                     .c_str());
            });
        },
        kWriteError);
}

void CVeltrinAnalysis::WriteTransactionSummary() {
    WriteSection(
        *this, m_csXactReportLog, "\n\nTransaction Summary:\n",
        FormatString(kFormatXactSummary, "Machine", "Type", "Count", "MinElapsed", "MaxElapsed",
                     "Transaction"),
        [&](CStdioFile& file) {
            m_aCltXact.ForEach([&](const CString&, const CCltXact& r) {
                file.WriteString(FormatString(kFormatXactSummary, (LPCTSTR)r.m_csMachine, (LPCTSTR)r.m_csType,
                                              (LPCTSTR)NumberString(r.m_nCount), (LPCTSTR)r.m_csMinElapsed,
                                              (LPCTSTR)r.m_csMaxElapsed, (LPCTSTR)r.m_csTransaction)
                                     .c_str());
            });
        },
        kWriteError);
}

void CVeltrinAnalysis::WriteTop20TransactionList() {
    WriteSection(
        *this, m_csXactReportLog, "\n\nTop 20 Transactions:\n",
        FormatString(kFormatTop20Xact, "Filename", "StartRow", "EndRow", "Date", "StartTime", "EndTime",
                     "Elapsed", "Transaction", "ClientType", "ClientMachine"),
        [&](CStdioFile& file) {
            const int32_t n = m_aTop20Xact.GetCount();
            for (int32_t rank = 1; rank <= n; ++rank) {
                CXactDetail r;
                if (!m_aTop20Xact.Get(NumberString(rank), r))
                    continue;
                file.WriteString(FormatString(kFormatTop20Xact, (LPCTSTR)r.m_csFile,
                                              (LPCTSTR)NumberString(r.m_nStartRow),
                                              (LPCTSTR)NumberString(r.m_nEndRow), (LPCTSTR)r.m_csDate,
                                              (LPCTSTR)r.m_csStartTime, (LPCTSTR)r.m_csEndTime,
                                              (LPCTSTR)r.m_csElapsed, (LPCTSTR)r.m_csTransaction,
                                              (LPCTSTR)r.m_csClientType, (LPCTSTR)r.m_csClientMachine)
                                     .c_str());
            }
        },
        "Unable to write to the file:\n %s");
}

void CVeltrinAnalysis::WriteSqlCountSummary() {
    WriteSection(
        *this, m_csSqlReportLog, "SQL Statement Count Summary:\n",
        FormatString(kFormatSqlCount, "Count", "TotalMillis", "MinMillis", "MaxMillis", "Statement"),
        [&](CStdioFile& file) {
            m_aSqlXact.ForEach([&](const CString&, const CSqlXact& r) {
                file.WriteString(FormatString(kFormatSqlCount, (LPCTSTR)NumberString(r.m_nCount),
                                              (LPCTSTR)NumberString(r.m_nTotalMs),
                                              (LPCTSTR)NumberString(r.m_nMinMs),
                                              (LPCTSTR)NumberString(r.m_nMaxMs), (LPCTSTR)r.m_csStatement)
                                     .c_str());
            });
        },
        kWriteError);
}

void CVeltrinAnalysis::WriteTop20SqlList() {
    WriteSection(
        *this, m_csSqlReportLog, "\n\nTop 20 SQL Statements:\n",
        FormatString(kFormatTop20Sql, "Filename", "StartRow", "EndRow", "StartBindRow", "Date", "StartTime",
                     "EndTime", "ElapsedTime", "Statement"),
        [&](CStdioFile& file) {
            const int32_t n = m_aTop20Sql.GetCount();
            for (int32_t rank = 1; rank <= n; ++rank) {
                CSqlDetail r;
                if (!m_aTop20Sql.Get(NumberString(rank), r))
                    continue;
                file.WriteString(
                    FormatString(kFormatTop20Sql, (LPCTSTR)r.m_csFile, (LPCTSTR)NumberString(r.m_nStartRow),
                                 (LPCTSTR)NumberString(r.m_nEndRow), (LPCTSTR)NumberString(r.m_nStartBindRow),
                                 (LPCTSTR)r.m_csDate, (LPCTSTR)r.m_csStartTime, (LPCTSTR)r.m_csEndTime,
                                 (LPCTSTR)FormatElapsedMs(MsFromText(r.m_csElapsedMs)),
                                 (LPCTSTR)r.m_csStatement)
                        .c_str());
            }
        },
        "Unable to write to file: \n%s");
}
