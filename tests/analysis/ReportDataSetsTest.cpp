// Counting, the top-20 rule, the rankings and the six report-log sections on hand-built data sets.
#include "tests/analysis/ReportTestSupport.h"

#include <climits>

using namespace reports;

namespace {
class ReportDataSets : public ReportTest {
protected:
    // Adds a top-20 transaction whose start row and milliseconds are given.
    void AddXact(int startRow, const char* ms) {
        view_.AddTop20Transaction("f.log", startRow, startRow + 1, "2023/05/01", "08:00:00.000",
                                  "08:00:01.000", "e", ms, "X", "T", "M");
    }
    std::vector<int> Top20StartRows() const {
        std::vector<int> rows;
        view_.m_aTop20Xact.ForEach(
            [&](const CString&, const CXactDetail& r) { rows.push_back(r.m_nStartRow); });
        return rows;
    }
};
}  // namespace

TEST_F(ReportDataSets, SmallestAndLargestElapsedGoByTheirMilliseconds) {
    struct Case {
        std::vector<const char*> seen;
        const char* min;
        const char* max;
    };
    const Case cases[] = {
        // Within one second 5 msec is less than 40 msec, though "(5" sorts after "(4" as text.
        {{"00:00:00 (40 msec)", "00:00:00 (5 msec)"}, "00:00:00 (5 msec)", "00:00:00 (40 msec)"},
        {{"00:00:00 (500 msec)", "00:00:00 (70 msec)", "00:00:00 (999 msec)"},
         "00:00:00 (70 msec)",
         "00:00:00 (999 msec)"},
        {{"00:00:09 (9000 msec)", "00:00:10 (10000 msec)", "00:00:01 (1000 msec)"},
         "00:00:01 (1000 msec)",
         "00:00:10 (10000 msec)"},
        // Texts without a number compare as text.
        {{"b", "a", "c"}, "a", "c"},
    };
    for (const Case& c : cases) {
        view_.m_aXact.DeleteAll();
        view_.m_aClient.DeleteAll();
        view_.m_aCltXact.DeleteAll();
        for (const char* e : c.seen) {
            view_.AddTransaction("X", e);
            view_.AddClientTransaction("M", "T", e);
            view_.AddClientXact("M", "T", "X", e);
        }
        CTransaction t;
        CClient cl;
        CCltXact cx;
        ASSERT_TRUE(view_.m_aXact.Get("X", t));
        ASSERT_TRUE(view_.m_aClient.Get("M|T", cl));
        ASSERT_TRUE(view_.m_aCltXact.Get("M|T|X", cx));
        for (auto [count, min, max] : {std::tuple{t.m_nCount, t.m_csMinElapsed, t.m_csMaxElapsed},
                                       std::tuple{cl.m_nCount, cl.m_csMinElapsed, cl.m_csMaxElapsed},
                                       std::tuple{cx.m_nCount, cx.m_csMinElapsed, cx.m_csMaxElapsed}}) {
            EXPECT_EQ(count, (int32_t)c.seen.size());
            EXPECT_EQ(min, c.min);
            EXPECT_EQ(max, c.max);
        }
    }
    CClient none;
    EXPECT_FALSE(view_.m_aClient.Get("M", none));  // the key is machine and type together
}

TEST_F(ReportDataSets, NumericCounting) {
    for (int ms : {50, 40, 2000, 60})
        view_.AddSqlXact("S", ms);
    CSqlXact x;
    ASSERT_TRUE(view_.m_aSqlXact.Get("S", x));
    EXPECT_EQ(x.m_nCount, 4);
    EXPECT_EQ(x.m_nTotalMs, 2150);
    EXPECT_EQ(x.m_nMinMs, 40);
    EXPECT_EQ(x.m_nMaxMs, 2000);

    // A total past the 32-bit range stays at its largest value instead of turning negative.
    view_.AccumulateSqlSum("1", "T", INT32_MAX - 5);
    view_.AccumulateSqlSum("2", "T", 10);
    CSqlSum s;
    ASSERT_TRUE(view_.m_aSqlSum.Get("T", s));
    EXPECT_EQ(s.m_nTotalMs, INT32_MAX);
    EXPECT_EQ(s.m_nCount, 2);

    view_.AddSqlSum("7", "T", 3, 30, 5, 15);  // a finished record replaces, under the statement
    ASSERT_TRUE(view_.m_aSqlSum.Get("T", s));
    EXPECT_EQ(s.m_nCount, 3);
    EXPECT_EQ(view_.m_aSqlSum.GetCount(), 1);
}

TEST_F(ReportDataSets, Top20Rule) {
    // Twenty records; rows 3 and 5 share the smallest value.
    for (int row = 1; row <= 20; ++row)
        AddXact(row, row == 3 || row == 5 ? "100" : std::to_string(1000 + row).c_str());
    ASSERT_EQ(view_.m_aTop20Xact.GetCount(), 20);

    AddXact(21, "100");  // equal to the smallest: dropped
    AddXact(22, "99");   // smaller: dropped
    AddXact(23, "abc");  // no digits reads 0: dropped
    EXPECT_EQ(view_.m_aTop20Xact.GetCount(), 20);
    std::vector<int> rows = Top20StartRows();
    EXPECT_EQ(std::count(rows.begin(), rows.end(), 21), 0);

    AddXact(24, "101");  // larger: replaces the first of the two smallest in iteration order
    rows = Top20StartRows();
    EXPECT_EQ(view_.m_aTop20Xact.GetCount(), 20);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), 3), 0);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), 5), 1);
    EXPECT_EQ(rows.back(), 24);

    // A key already present is replaced where it stands, even by a smaller value, and the set stays full.
    AddXact(10, "1");
    rows = Top20StartRows();
    EXPECT_EQ(view_.m_aTop20Xact.GetCount(), 20);
    EXPECT_EQ(rows[8], 10);
    CXactDetail r;
    ASSERT_TRUE(view_.m_aTop20Xact.Get("f.log:10", r));
    EXPECT_EQ(r.m_csElapsedMs, "1");

    // A change made to the set from outside is seen by the next observation.
    AddXact(30, "1");  // dropped: equal to the smallest kept
    EXPECT_FALSE(view_.m_aTop20Xact.Get("f.log:30", r));
    CXactDetail low = r;
    ASSERT_TRUE(view_.m_aTop20Xact.Get("f.log:10", low));
    low.m_csElapsedMs = "0";
    view_.m_aTop20Xact.Add("f.log:10", low);
    AddXact(31, "1");  // now above the smallest: replaces it
    EXPECT_FALSE(view_.m_aTop20Xact.Get("f.log:10", r));
    EXPECT_TRUE(view_.m_aTop20Xact.Get("f.log:31", r));

    // The SQL set keys by file and bind row.
    view_.AddTop20Sql("f.log", 7, 9, 8, "d", "s", "e", "12", "SELECT 1");
    CSqlDetail d;
    ASSERT_TRUE(view_.m_aTop20Sql.Get("f.log:8", d));
    EXPECT_EQ(d.m_csTimeText, "");
    view_.AddSqlDetail("4", 1, 2, 3, "d", "s", "e", "5", "gap", "SELECT 2");
    ASSERT_TRUE(view_.m_aSqlDetail.Get("4", d));
    EXPECT_EQ(d.m_csTimeText, "gap");
    EXPECT_EQ(d.m_csFile, "4");
}

TEST_F(ReportDataSets, RankingsKeepTiesInOrder) {
    AddXact(1, "10");
    AddXact(2, "30");
    AddXact(3, "10");
    AddXact(4, "x");
    view_.ReorderTop20TransactionList();
    std::vector<std::pair<std::string, int>> ranked;
    view_.m_aTop20Xact.ForEach([&](const CString& k, const CXactDetail& r) {
        ranked.push_back({k.str(), r.m_nStartRow});
    });
    EXPECT_EQ(ranked, (std::vector<std::pair<std::string, int>>{{"1", 2}, {"2", 1}, {"3", 3}, {"4", 4}}));
    EXPECT_EQ(host_.StatusTexts().back(), "Reorder Top20 Transaction List...");
    EXPECT_EQ(host_.RecordsTexts().back(), " Records: 4");

    // The SQL summary ranking reports every 100 records and cannot be cancelled.
    host_.ClearRecords();
    for (int i = 0; i < 250; ++i)
        view_.AddSqlSum("", ("S" + std::to_string(i)).c_str(), 1, i % 7, 0, 0);
    view_.ReorderSqlSummary();
    EXPECT_EQ(view_.m_aSqlSum.GetCount(), 250);
    CSqlSum first, last;
    ASSERT_TRUE(view_.m_aSqlSum.Get("1", first));
    ASSERT_TRUE(view_.m_aSqlSum.Get("250", last));
    EXPECT_EQ(first.m_csStatement, "S6");
    EXPECT_EQ(last.m_csStatement, "S245");
    std::vector<int32_t> done;
    for (const auto& c : host_.ProgressCalls())
        done.push_back(c.done);
    EXPECT_EQ(done, (std::vector<int32_t>{100, 200, 250}));
    EXPECT_EQ(host_.WaitTexts(), (std::vector<CString>{"Reordering SqlSummary Report",
                                                       "Reordering SqlSummary Report...\n100 items processed",
                                                       "Reordering SqlSummary Report...\n200 items processed",
                                                       "SqlSummary Report...\n250 items processed"}));
    EXPECT_EQ(host_.StatusTexts().back(), "Ready");
    EXPECT_EQ(host_.WaitDialogsOpen(), 0);

    // Cancel in its wait dialog does not stop it.
    host_.CancelAtProgress(1);
    view_.ReorderSqlSummary();
    EXPECT_EQ(view_.m_aSqlSum.GetCount(), 250);
    ASSERT_TRUE(view_.m_aSqlSum.Get("1", first));
    EXPECT_EQ(first.m_csStatement, "S6");
}

// All six sections from hand-built sets: empty sets, long names pushing columns, top-20 sections
// before and after ranking.
TEST_F(ReportDataSets, SectionLayouts) {
    view_.m_csXactReportLog = InDir("x.log").c_str();
    view_.m_csSqlReportLog = InDir("s.log").c_str();
    // Empty sets: headings and captions only; top-20 sections before ranking have no lines.
    view_.WriteTransactionCountSummary();
    view_.WriteMachineCountSummary();
    view_.WriteTransactionSummary();
    view_.WriteTop20TransactionList();
    view_.WriteSqlCountSummary();
    view_.WriteTop20SqlList();
    AddXact(5, "1500");
    view_.WriteTop20TransactionList();  // not ranked yet: no key "1"

    view_.AddTransaction("ATransactionNameOfMoreThanThirtyCharacters", "00:00:01 (1500 msec)");
    view_.AddTransaction("Short", "00:00:00 (7 msec)");
    view_.AddClientTransaction("AMachineNameLongerThanThirtyTwoChars", "QClient", "00:00:01 (1500 msec)");
    view_.AddClientXact("M1", "QClient", "Short", "00:00:00 (7 msec)");
    view_.AddTop20Transaction("20230501QServer1.log", 2, 15, "2023/05/01", "01:00:00 PM", "01:00:02 PM",
                              "00:00:02 (2000 msec)", "2000", "Delivery", "QClient", "LAB17");
    view_.ReorderTop20TransactionList();
    view_.AddSqlXact("SELECT 1", 12);
    view_.AddSqlXact("SELECT 1", 30);
    view_.AddTop20Sql("20230501QServer1.log", 3, 7, 6, "2023/05/01", "08:00:01.100", "08:00:01.150",
                      "3723004", "SELECT 1");
    view_.ReorderTop20SqlList();
    view_.WriteTransactionCountSummary();
    view_.WriteMachineCountSummary();
    view_.WriteTransactionSummary();
    view_.WriteTop20TransactionList();
    view_.WriteSqlCountSummary();
    view_.WriteTop20SqlList();
    EXPECT_TRUE(host_.Boxes().empty());
    ExpectGolden(ReadFile(InDir("x.log")), "sections_xact.golden");
    ExpectGolden(ReadFile(InDir("s.log")), "sections_sql.golden");
}

TEST_F(ReportDataSets, AWriterThatCannotOpenItsFileSaysSoAndTheReportGoesOn) {
    view_.m_csXactReportLog = InDir("missing folder/x.log").c_str();
    view_.m_csSqlReportLog = InDir("s.log").c_str();
    view_.AddTransaction("X", "00:00:00 (1 msec)");
    view_.WriteTransactionCountSummary();
    view_.WriteSqlCountSummary();
    ASSERT_EQ(host_.Boxes().size(), 1u);
    EXPECT_EQ(host_.Boxes()[0].text, InDir("missing folder/x.log: The file was not found.").c_str());
    EXPECT_EQ(view_.m_aXact.GetCount(), 1);
    EXPECT_EQ(ReadFile(InDir("s.log")),
              "SQL Statement Count Summary:\r\nCount       TotalMillis  MinMillis   "
              "MaxMillis   Statement\r\n");
}

TEST_F(ReportDataSets, ValueHelpers) {
    EXPECT_EQ(CVeltrinAnalysis::LeadingNumber("123abc"), 123);
    EXPECT_EQ(CVeltrinAnalysis::LeadingNumber(" 5"), 0);
    EXPECT_EQ(CVeltrinAnalysis::LeadingNumber("31536000000"), 31536000000LL);
    EXPECT_EQ(CVeltrinAnalysis::MsFromText("31536000000"), INT32_MAX);
    EXPECT_EQ(CVeltrinAnalysis::MsFromText("-12"), -12);
    EXPECT_EQ(CVeltrinAnalysis::MsFromText("PM"), 0);
    EXPECT_LT(CVeltrinAnalysis::CompareElapsedTexts("00:00:00 (5 msec)", "00:00:00 (40 msec)"), 0);
    EXPECT_EQ(CVeltrinAnalysis::CompareElapsedTexts("x (7 msec)", "y (7 msec)"), 0);
}

TEST_F(ReportDataSets, MessageTable) {
    bool handled = true;
    EXPECT_EQ(view_.HandleViewMessage(WM_HIGHLIGHTROW, 0, 0, handled), 0);  // not an analysis message
    EXPECT_FALSE(handled);
    // The messages the engine posts or sends to its own view, and the worker stop, are the engine's.
    for (UINT message : {WM_RUNETTHREADS, WM_ELAPSEDTIMERESULT, WM_STOPWORKERS}) {
        handled = false;
        view_.HandleViewMessage(message, 0, 0, handled);
        EXPECT_TRUE(handled) << message;
    }
    view_.m_csListKey = "SQLHISTOGRAM_1:3";
    view_.HandleViewMessage(WM_REORDERHISTOGRAM, 0, 0, handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(PostedToView(), (std::vector<UINT>{WM_POPULATESQLHISTOGRAMREPORT}));
}
