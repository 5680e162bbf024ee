// The SQL histogram and the edges of the populate handlers.
#include "tests/analysis/ReportTestSupport.h"

#include "controls/model/gxListModel.h"
#include "platform/base/MessageBox.h"

using namespace reports;

namespace {
const char kLayout[] = "%-27s  %-10s  %-10s  %-10s  %-10s  %-13s %-13s  %-13s %s\r\n";

class SqlHistogram : public ReportTest {
protected:
    void SetUp() override {
        ReportTest::SetUp();
        view_.m_csListKey = "SQLHISTOGRAM_1:3";
        view_.m_csReportType = "SQLHISTOGRAM";
        // A transaction report log: the eighth field is the milliseconds.
        std::string log = FormatString(kLayout, "Filename", "StartRow", "EndRow", "BindRow", "Date",
                                       "StartTime", "EndTime", "Milliseconds", "Statement");
        log += FormatString(kLayout, "q.log", "3", "7", "6", "2023/05/01", "01:00:00 PM", "01:00:02 PM",
                            "2000", "SELECT 1");
        log += FormatString(kLayout, "q.log", "8", "9", "8", "2023/05/01", "08:00:00.000", "08:00:00.050",
                            "50", "select 1");
        log += "\r\n";
        log += FormatString(kLayout, "q.log", "10", "12", "10", "2023/05/01", "08:00:01.000", "08:00:01.070",
                            "70", "SELECT 1");
        log += FormatString(kLayout, "q.log", "13", "14", "13", "2023/05/01", "08:00:02.000", "08:00:02.005",
                            "5", "SELECT 1 AND MORE");
        log += "There were 4 SQL statements.\r\n";
        log += FormatString(kLayout, "q.log", "20", "21", "20", "2023/05/01", "08:00:03.000", "08:00:03.001",
                            "1", "SELECT 1");
        WriteFile(InDir("XACT_TR1.log"), log);
    }
    LRESULT Run(const char* type) {
        _csCommand = MakeRequestLine("XACT_TR1.log", type, "SELECT 1");
        return view_.OnRunSqlHistogramReport(0, 0);
    }
    std::vector<std::string> StartRows() const {
        std::vector<std::string> rows;
        for (const auto& r : host_.Rows())
            rows.push_back(r[2]);
        return rows;
    }
};
}  // namespace

TEST_F(SqlHistogram, FindsEveryExecutionOfTheStatement) {
    EXPECT_EQ(Run("1:3"), 7);  // the lines read up to the count line
    EXPECT_EQ(host_.LastWaitTotal(), 8);
    EXPECT_EQ(PostedToView(), (std::vector<UINT>{WM_POPULATESQLHISTOGRAMREPORT}));
    EXPECT_TRUE(Traced("CVeltrinView::OnRunSqlHistogramReport: Found Title - Filename"));
    EXPECT_TRUE(Traced("End CVeltrinView::OnRunSqlHistogramReport"));
    EXPECT_EQ(view_.m_csCurItemKind, "1");  // the record number
    host_.DeliverAll();
    const Rows expected = {
        {"1", "q.log", "3", "7", "6", "2023/05/01", "01:00:00 PM", "01:00:02 PM", "00:00:02 (2000 msec)",
         "SELECT 1"},
        {"2", "q.log", "10", "12", "10", "2023/05/01", "08:00:01.000", "08:00:01.070", "00:00:00 (70 msec)",
         "SELECT 1"},
    };
    EXPECT_EQ(host_.Rows(), expected);

    // Reordered by elapsed time, then listed again; another view ignores the request.
    WriteFile(InDir("XACT_TR1.log"), FormatString(kLayout, "q.log", "1", "1", "1", "2023/05/01",
                                                  "08:00:00.000", "08:00:00.005", "5", "SELECT 1") +
                                         FormatString(kLayout, "q.log", "2", "2", "2", "2023/05/01",
                                                      "08:00:01.000", "08:00:01.090", "90", "SELECT 1"));
    Run("1:3");
    host_.ClearRecords();
    EXPECT_EQ(view_.OnReorderHistogram(0, 0), 0);
    host_.DeliverAll();
    EXPECT_EQ(StartRows(), (std::vector<std::string>{"2", "1"}));
    view_.m_csListKey = "SQLSUMMARY_ALL";
    host_.ClearRecords();
    view_.OnReorderHistogram(0, 0);
    EXPECT_TRUE(host_.PostedLog().empty());
}

TEST_F(SqlHistogram, LimitAndTheQuestionAboveOneHundredThousand) {
    EXPECT_GT(Run("1:100000"), 0);
    EXPECT_TRUE(host_.TruncateQuestions().empty());

    // Cancel: nothing else happens, and the data set keeps what it had.
    host_.ClearRecords();
    host_.ScriptTruncateAnswer(IDCANCEL, "");
    EXPECT_EQ(Run("7:100001"), 0);
    ASSERT_EQ(host_.TruncateQuestions().size(), 1u);
    EXPECT_EQ(host_.TruncateQuestions()[0], std::make_pair(CString("7"), CString("100001")));
    EXPECT_EQ(host_.Traces().size(), 1u);
    EXPECT_TRUE(host_.PostedLog().empty());
    EXPECT_EQ(view_.m_aSqlDetail.GetCount(), 2);

    // Continue with nothing typed: the full count; with a number: that many lines; with 0: abandoned.
    host_.ScriptTruncateAnswer(IDOK, "");
    Run("7:100001");
    EXPECT_EQ(view_.m_aSqlDetail.GetCount(), 2);
    host_.ScriptTruncateAnswer(IDOK, "1");
    Run("7:100001");
    EXPECT_EQ(view_.m_aSqlDetail.GetCount(), 1);
    host_.ClearRecords();
    host_.ScriptTruncateAnswer(IDOK, "0");
    EXPECT_EQ(Run("7:100001"), 0);
    EXPECT_TRUE(host_.PostedLog().empty());

    // A count smaller than the executions takes the first ones; no count part takes one.
    Run("1:1");
    EXPECT_EQ(view_.m_aSqlDetail.GetCount(), 1);
    Run("1");
    EXPECT_EQ(view_.m_aSqlDetail.GetCount(), 1);
}

TEST_F(SqlHistogram, NothingFound) {
    WriteFile(InDir("XACT_TR1.log"), "There were 0 SQL statements.\r\n" +
                                         FormatString(kLayout, "q.log", "1", "1", "1", "2023/05/01",
                                                      "08:00:00.000", "08:00:00.005", "5", "SELECT 1"));
    EXPECT_EQ(Run("1:3"), 1);
    EXPECT_EQ(host_.LastPadText(),
              ("\r\n No Data Available in " + InDir("XACT_TR1.log") + " for Itemize Criteria.").c_str());
    EXPECT_EQ(host_.DeliverAll(), 1);
    EXPECT_EQ(host_.GetList().GetColumnCount(), 10);
    EXPECT_EQ(host_.GetList().GetItemCount(), 0);

    // A missing report log: the data set is emptied and nothing is posted.
    host_.ClearRecords();
    _csCommand = MakeRequestLine((dir_ + "/gone.log").c_str(), "1:3", "SELECT 1");
    EXPECT_EQ(view_.OnRunSqlHistogramReport(0, 0), 0);
    EXPECT_TRUE(Traced("CVeltrinView::OnRunSqlHistogramReport: GetFileAttributes failed"));
    EXPECT_TRUE(host_.PostedLog().empty());
    EXPECT_EQ(view_.m_aSqlDetail.GetCount(), 0);
}

TEST_F(SqlHistogram, PopulateProgressStepFollowsTheSetSize) {
    for (int n : {999, 1000}) {
        view_.m_aSqlDetail.DeleteAll();
        for (int k = 1; k <= n; ++k)
            view_.AddHistogramSql(std::to_string(k).c_str(), k, k, k, "d", "s", "e", "1", "f", "S");
        host_.ClearRecords();
        _csCommand = "NAME=some/folder/r.log|TYPE=1|EXE=S";
        EXPECT_EQ(view_.OnPopulateSqlHistogramReport(0, 0), n);
        std::vector<int32_t> done;
        for (const auto& c : host_.ProgressCalls())
            done.push_back(c.done);
        if (n == 999)
            EXPECT_EQ(done, (std::vector<int32_t>{100, 200, 300, 400, 500, 600, 700, 800, 900, 999}));
        else
            EXPECT_EQ(done, (std::vector<int32_t>{1000, 1000}));
        EXPECT_EQ(host_.ProgressCalls()[0].text,
                  (n == 999 ? "Loading SQL Histogram Report...\n100 lines processed"
                            : "Loading SQL Histogram Report...\n1000 lines processed"));
        EXPECT_EQ(host_.WaitTexts().back(), FormatString("r.log...\n%d lines processed", n).c_str());
    }
}

TEST_F(SqlHistogram, PopulateEdges) {
    // Keys with a hole: the key column shows it.
    view_.AddSqlDetail("1", 1, 1, 1, "d", "s", "e", "x", "", "A");
    view_.AddSqlDetail("2", 2, 2, 2, "d", "s", "e", "7", "", "B");
    view_.AddSqlDetail("4", 4, 4, 4, "d", "s", "e", "9", "", "C");
    view_.AddSqlDetail("5", 5, 5, 5, "d", "s", "e", "9", "", "D");
    _csCommand = "NAME=q.log|TYPE=SUBITEM|EXE=";
    view_.m_csSqlReportFile = "XACT_IMZ_TR1.log";
    EXPECT_EQ(view_.OnPopulateXactImzSqlReport(0, 0), 3);  // keys 1 to the count, 4
    Rows rows = host_.Rows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0][0], "1");
    EXPECT_EQ(rows[0][7], "00:00:00 (0 msec)");  // not a number: 0 msec
    EXPECT_EQ(rows[1][0], "2");
    EXPECT_EQ(rows[2][0], "4");
    EXPECT_EQ(rows[3][0], "XACTIMZSQL");
    EXPECT_EQ(host_.GetList().GetCaption(), "");  // an empty EXE leaves the title empty

    // The averages of the summary list.
    const int32_t sums[][2] = {{500, 4}, {7, 2}, {9, 0}, {0, 3}, {0, 0}, {-5, 2}};
    for (int k = 1; k <= 6; ++k) {
        CSqlSum s;
        s.m_csStatement = std::to_string(k).c_str();
        s.m_nTotalMs = sums[k - 1][0];
        s.m_nCount = sums[k - 1][1];
        view_.m_aSqlSum.Add(std::to_string(k).c_str(), s);
    }
    view_.m_csSqlReportLog = InDir("SQLSUMMARY.log").c_str();
    EXPECT_EQ(view_.OnPopulateT20SqlSumReport(0, 0), 6);
    std::vector<std::string> averages;
    for (const auto& r : host_.Rows())
        averages.push_back(r[5]);
    EXPECT_EQ(averages, (std::vector<std::string>{"125", "3", "9", "0", "n/c", "n/c"}));

    // Its report log cannot be opened: the columns are there, no row, and no end.
    host_.ClearRecords();
    view_.m_csSqlReportLog = InDir("no folder/SQLSUMMARY.log").c_str();
    EXPECT_EQ(view_.OnPopulateT20SqlSumReport(0, 0), 0);
    EXPECT_EQ(host_.Boxes().size(), 1u);
    EXPECT_EQ(host_.GetList().GetColumnCount(), 7);
    EXPECT_EQ(host_.GetList().GetItemCount(), 0);
    EXPECT_FALSE(Traced("End CVeltrinView::OnPopulateT20SqlSumReport"));
}
