#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "analysis/AppMaps.h"
#include "analysis/VeltrinAnalysis.h"
#include "analysis/testing/RecordingHost.h"
#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"
#include "platform/base/MessageBox.h"
#include "tests/analysis/ImportTestSupport.h"

using importtest::Fixture;
using importtest::ReadFile;
using importtest::WriteFile;

namespace {
using Rows = std::vector<std::vector<std::string>>;

class Csv : public ::testing::Test {
protected:
    void SetUp() override {
        g_mapImportedLists.RemoveAll();
        _csReportName = "Import_1";
    }
    void TearDown() override { g_mapImportedLists.RemoveAll(); }

    // Runs an import of the file at path (already in the temporary folder).
    int32_t Import(const std::string& path) {
        host_.ScriptFileDialog(TRUE, path.c_str());
        return (int32_t)view_.ImportCsvToListView(0, 0);
    }
    int32_t ImportFixture(const std::string& name) {
        WriteFile(dir_ / name, Fixture("csv/" + name));
        return Import(dir_ / name);
    }
    std::vector<std::string> Captions() {
        std::vector<std::string> v;
        for (int c = 0; c < host_.GetList().GetColumnCount(); ++c)
            v.push_back(host_.GetList().GetColumnName(c).str());
        return v;
    }

    importtest::TempFolder dir_;
    CRecordingHost host_;
    CVeltrinAnalysis view_{&host_};
};

// Cells that a naive writer breaks: the delimiter, quotes, line breaks, and a statement far longer
// than any fixed cell buffer.
Rows HardCells() {
    std::string statement = "SELECT ";
    while (statement.size() < 10000)
        statement += "COL_" + std::to_string(statement.size()) + ", ";
    statement += "X FROM T";
    return {{"1", "plain", "a, b", "say \"hi\""},
            {"2", "\"quoted\"", "line1\r\nline2", "tail\nonly LF"},
            {"3", "", ",", statement},
            {"4", "x\"\"y", "\"", "end"}};
}
}  // namespace

TEST_F(Csv, ExportWritesEveryColumnQuotingOnlyWhatNeedsIt) {
    gxListModel& list = host_.GetList();
    importtest::FillList(list, {" Records  ", "  Name  ", "  Hidden  ", "  Statement  "},
                         {{"1", "plain", "secret", "SELECT a, b FROM t"},
                          {"2", "say \"hi\"", "x", "line1\r\nline2"},
                          {"3", "", "y", "trailing "}});
    list.SetColumnWidth(2, 1);  // hidden: keeps its place as an empty field
    host_.ScriptFileDialog(TRUE, (dir_ / "out").c_str());
    host_.SetProfile("Settings", "LaunchExcelOnExport", "1");

    EXPECT_EQ(view_.ExportListViewToCsv((WPARAM) "ANALYZETA", 0), 0);

    ASSERT_EQ(host_.FileDialogCalls().size(), 1u);
    EXPECT_EQ(host_.FileDialogCalls()[0].folder, "../data");
    EXPECT_EQ(host_.FileDialogCalls()[0].name, "ANALYZETA.csv");
    // No dot in the chosen name: ".csv" is added; the folder is remembered.
    EXPECT_EQ(view_.m_csExportFileName, (dir_ / "out.csv").c_str());
    EXPECT_EQ(host_.GetProfileString("ExportDirectory", "Directory", ""), dir_.Path().c_str());
    EXPECT_EQ(ReadFile(dir_ / "out.csv"), Fixture("csv/export_expected.csv"));
    ASSERT_EQ(host_.OpenWithAppCalls().size(), 1u);
    EXPECT_EQ(host_.OpenWithAppCalls()[0].path, (dir_ / "out.csv").c_str());
    EXPECT_FALSE(host_.OpenWithAppCalls()[0].wait);
}

TEST_F(Csv, ExportNameAndLaunchRules) {
    importtest::FillList(host_.GetList(), {"A", "B"}, {{"1", "2"}});
    host_.GetList().SetColumnWidth(0, 0);
    host_.GetList().SetColumnWidth(1, 0);
    // A dot anywhere, a folder included, keeps the name as typed; every column hidden gives commas only.
    std::string dotted = dir_ / "v1.2";
    std::filesystem::create_directories(dotted);
    host_.ScriptFileDialog(TRUE, (dotted + "/plain").c_str());
    host_.SetProfile("ExportDirectory", "Directory", "/somewhere");
    view_.ExportListViewToCsv((WPARAM) "x", 0);
    EXPECT_EQ(host_.FileDialogCalls()[0].folder, "/somewhere");
    EXPECT_EQ(ReadFile(dotted + "/plain"), ",,\r\n,,\r\n");
    EXPECT_TRUE(host_.OpenWithAppCalls().empty());  // LaunchExcelOnExport is 0

    // Cancel writes nothing and opens nothing.
    host_.SetProfile("Settings", "LaunchExcelOnExport", "1");
    host_.ScriptFileDialog(FALSE);
    view_.ExportListViewToCsv((WPARAM) "x", 0);
    EXPECT_TRUE(host_.OpenWithAppCalls().empty());
}

TEST_F(Csv, ExportFileErrorIsReportedAndNothingOpens) {
    MessageBoxRecorder unexpected;
    importtest::FillList(host_.GetList(), {"A"}, {{"1"}});
    host_.SetProfile("Settings", "LaunchExcelOnExport", "1");
    host_.ScriptFileDialog(TRUE, (dir_ / "missing/folder/out.csv").c_str());
    view_.ExportListViewToCsv((WPARAM) "x", 0);
    ASSERT_EQ(host_.Boxes().size(), 1u);
    EXPECT_NE(host_.Boxes()[0].text.Find("out.csv"), -1);
    EXPECT_TRUE(host_.OpenWithAppCalls().empty());
    EXPECT_TRUE(unexpected.Calls().empty());
}

TEST_F(Csv, ExportAndImportRoundTripHardCells) {
    const Rows cells = HardCells();
    importtest::FillList(host_.GetList(), {" Records ", " Name, first ", " Note ", " Statement "}, cells);
    host_.ScriptFileDialog(TRUE, (dir_ / "round.csv").c_str());
    view_.ExportListViewToCsv((WPARAM) "round", 0);

    CRecordingHost importHost;
    CVeltrinAnalysis importer(&importHost);
    importHost.ScriptFileDialog(TRUE, (dir_ / "round.csv").c_str());
    EXPECT_EQ(importer.ImportCsvToListView(0, 0), (LRESULT)cells.size());
    EXPECT_TRUE(importHost.Boxes().empty());

    gxListModel& list = importHost.GetList();
    ASSERT_EQ(list.GetColumnCount(), 5);  // "Records" and the four exported columns
    EXPECT_EQ(list.GetColumnName(2), "  Name, first  ");
    ASSERT_EQ(list.GetItemCount(), (int)cells.size());
    for (size_t r = 0; r < cells.size(); ++r) {
        EXPECT_EQ(list.GetItemText((int)r, 0), std::to_string(r + 1).c_str());
        for (size_t c = 0; c < cells[r].size(); ++c)
            EXPECT_EQ(list.GetItemText((int)r, (int)c + 1).str(), cells[r][c]) << "row " << r << " col " << c;
    }
}

TEST_F(Csv, PythonCsvReadsTheExportedCells) {
    if (std::system("command -v python3 >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "python3 is not installed";
    const Rows cells = HardCells();
    const std::vector<std::string> captions = {"Records", "Name, first", "Note", "Statement"};
    importtest::FillList(host_.GetList(), captions, cells);
    host_.ScriptFileDialog(TRUE, (dir_ / "py.csv").c_str());
    view_.ExportListViewToCsv((WPARAM) "py", 0);

    // Python prints each record as hex cells; every line of ours ends with ',', an empty last field.
    std::string script = dir_ / "read.py";
    WriteFile(script,
              "import csv, sys\n"
              "with open(sys.argv[1], newline='', encoding='latin-1') as f:\n"
              "    for rec in csv.reader(f):\n"
              "        print(' '.join(c.encode('latin-1').hex() or '-' for c in rec))\n");
    FILE* p = popen(("python3 '" + script + "' '" + (dir_ / "py.csv") + "'").c_str(), "r");
    ASSERT_NE(p, nullptr);
    std::string out;
    char buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    ASSERT_EQ(pclose(p), 0);

    auto hexLine = [](const std::vector<std::string>& record) {
        std::string line;
        for (const auto& cell : record) {
            static const char* digits = "0123456789abcdef";
            std::string hex;
            for (unsigned char ch : cell)
                hex += std::string{digits[ch >> 4], digits[ch & 15]};
            line += (hex.empty() ? "-" : hex) + " ";
        }
        return line + "-\n";  // the empty field after the last comma
    };
    std::string expected = hexLine(captions);
    for (const auto& row : cells)
        expected += hexLine(row);
    EXPECT_EQ(out, expected);
}

TEST_F(Csv, ImportBookkeepingAndQuotedValues) {
    EXPECT_EQ(ImportFixture("quoted.csv"), 2);
    EXPECT_EQ(host_.OutputBarHides(), 1);
    EXPECT_EQ(host_.FileDialogCalls()[0].folder, "../data");
    EXPECT_EQ(host_.FileDialogCalls()[0].name, "");
    EXPECT_EQ(Captions(), (std::vector<std::string>{" Records  ", "  Name  ", "  Value  "}));
    EXPECT_EQ(host_.Rows(), (Rows{{"1", "alpha", "a, \"quoted\" value"}, {"2", "beta", "two\r\nlines"}}));
    EXPECT_EQ(host_.GetList().GetCaption(), "ImportCsvToListView_quoted.csv");

    EXPECT_EQ(_csAction, "ImportCsvToListView_quoted.csv");
    EXPECT_EQ(view_.m_csCurAction, "ImportCsvToListView_quoted.csv");
    EXPECT_EQ(_csReportName, "quoted.csv");
    EXPECT_EQ(_csLogNameText, "quoted.csv");
    EXPECT_EQ(_csBaseFolder, dir_.Path().c_str());
    EXPECT_EQ(_csFileOpenName, (dir_ / "quoted.csv").c_str());
    EXPECT_EQ(view_.m_csImportFolder, dir_.Path().c_str());
    EXPECT_EQ(host_.GetProfileString("Settings", "ImportDirectory", ""), dir_.Path().c_str());
    IMPObj record;
    ASSERT_TRUE(g_mapImportedLists.Lookup("Import_1", record));  // the document's name
    EXPECT_EQ(record.m_csFile, "quoted.csv");
    EXPECT_EQ(record.m_csFolder, dir_.Path().c_str());

    EXPECT_EQ(host_.StatusTexts().front(), "Processing Import...");
    EXPECT_EQ(host_.StatusTexts().back(), "Ready");
    EXPECT_EQ(host_.RecordsTexts().back(), " Records: 2");
    EXPECT_EQ(host_.WaitTexts().front(), "Importing Content...");
    EXPECT_EQ(host_.WaitDialogsOpen(), 0);
}

TEST_F(Csv, ImportFieldsAndRows) {
    // Empty header fields are skipped; empty data fields count; a short line is continued by the next.
    EXPECT_EQ(ImportFixture("adjacent.csv"), 2);
    EXPECT_EQ(Captions(), (std::vector<std::string>{" Records  ", "  A  ", "  B  ", "  C  "}));
    EXPECT_EQ(host_.Rows(), (Rows{{"1", "x", "", "y"}, {"2", "1", "2", "3"}}));
}

TEST_F(Csv, ImportColumnLimit) {
    EXPECT_EQ(ImportFixture("nine_fields.csv"), 1);
    EXPECT_EQ(host_.GetList().GetColumnCount(), 10);
    EXPECT_TRUE(host_.Boxes().empty());

    host_.ClearRecords();
    EXPECT_EQ(ImportFixture("ten_fields.csv"), 0);
    ASSERT_EQ(host_.Boxes().size(), 1u);
    EXPECT_EQ(host_.Boxes()[0].text, "This File Exceeds Ten(10) Columns of Data!");
    EXPECT_EQ(host_.GetList().GetItemCount(), 0);
    EXPECT_EQ(host_.StatusTexts().back(), "Ready");
    EXPECT_EQ(host_.WaitDialogsOpen(), 0);
}

TEST_F(Csv, ImportDelimiterSetting) {
    struct Case {
        const char* setting;  // null: not stored
        std::string content;
    };
    const Case cases[] = {{nullptr, "a,b\r\n1,2\r\n"},
                          {"T", "a\tb\r\n1\t2\r\n"},
                          {";x", "a;b\r\n1;2\r\n"},
                          {"", "a,b\r\n1,2\r\n"}};  // stored but empty: the comma
    for (const Case& c : cases) {
        CRecordingHost host;
        CVeltrinAnalysis view(&host);
        if (c.setting)
            host.SetProfile("Settings", "ImportDelimiter", c.setting);
        WriteFile(dir_ / "d.csv", c.content);
        host.ScriptFileDialog(TRUE, (dir_ / "d.csv").c_str());
        EXPECT_EQ(view.ImportCsvToListView(0, 0), 1);
        EXPECT_EQ(host.Rows(), (Rows{{"1", "1", "2"}})) << (c.setting ? c.setting : "(none)");
    }
}

TEST_F(Csv, ImportPlainText) {
    // No ".csv" in the name in any case: two columns, one row per non-empty line.
    EXPECT_EQ(ImportFixture("notes.txt"), 3);
    EXPECT_EQ(Captions(),
              (std::vector<std::string>{" Records  ", "          Content" + std::string(57, ' ')}));
    EXPECT_EQ(host_.Rows(), (Rows{{"1", "first line"}, {"2", "  indented, with comma"}, {"3", "last"}}));

    host_.ClearRecords();
    WriteFile(dir_ / "UPPER.CSV.bak", "a,b\r\n1,2\r\n");  // ".CSV" anywhere means CSV
    EXPECT_EQ(Import(dir_ / "UPPER.CSV.bak"), 1);
    EXPECT_EQ(host_.GetList().GetColumnCount(), 3);
}

TEST_F(Csv, ImportRefusals) {
    // Text that is not ANSI: a line beginning with a NUL byte.
    EXPECT_EQ(ImportFixture("utf16be.csv"), 0);
    ASSERT_EQ(host_.Boxes().size(), 1u);
    EXPECT_EQ(host_.Boxes()[0].text,
              ("Unable to read the file (not ANSI text format)!\r\n" + (dir_ / "utf16be.csv")).c_str());
    EXPECT_EQ(host_.StatusTexts().back(), "Ready");
    EXPECT_EQ(g_mapImportedLists.GetCount(), 0);

    // A file that cannot be opened: the file error's message.
    host_.ClearRecords();
    EXPECT_EQ(Import(dir_ / "gone.csv"), 0);
    ASSERT_EQ(host_.Boxes().size(), 1u);
    EXPECT_NE(host_.Boxes()[0].text.Find("not found"), -1);
    EXPECT_EQ(host_.WaitDialogsOpen(), 0);

    // The dialog cancelled: the main frame moves on, the list stays empty.
    host_.ClearRecords();
    const int opened = host_.WaitDialogsOpened();
    host_.ScriptFileDialog(FALSE);
    EXPECT_EQ(view_.ImportCsvToListView(0, 0), 0);
    ASSERT_EQ(host_.PostedLog().size(), 1u);
    EXPECT_TRUE(host_.PostedLog()[0].toMainWindow);
    EXPECT_EQ(host_.PostedLog()[0].message, (UINT)WM_LOGNOTAVAILABLE);
    EXPECT_EQ(host_.WaitDialogsOpened(), opened);
}

TEST_F(Csv, ImportCaptionsAreCappedAndKeepTheirColumns) {
    std::string longCaption(1000, 'x');
    WriteFile(dir_ / "caps.csv", longCaption + ",a|b,\"q, r\"\r\n1,2,3\r\n");
    EXPECT_EQ(Import(dir_ / "caps.csv"), 1);
    ASSERT_EQ(host_.GetList().GetColumnCount(), 4);
    EXPECT_LE(host_.GetList().GetColumnName(1).GetLength(), gxListModel::kMaxField);
    EXPECT_EQ(host_.GetList().GetColumnName(2), "  a b  ");
    EXPECT_EQ(host_.GetList().GetColumnName(3), "  q, r  ");
    EXPECT_EQ(host_.Rows(), (Rows{{"1", "1", "2", "3"}}));
}

TEST_F(Csv, ImportProgressAndCancel) {
    std::string content = "a,b\r\n";
    for (int i = 1; i < 2500; ++i)
        content += std::to_string(i) + ",x\r\n";
    WriteFile(dir_ / "big.csv", content);
    host_.CancelAtProgress(2);  // at line 2,000
    EXPECT_EQ(Import(dir_ / "big.csv"), 1999);
    ASSERT_GE(host_.ProgressCalls().size(), 2u);
    EXPECT_EQ(host_.ProgressCalls()[0].done, 1000);
    EXPECT_EQ(host_.ProgressCalls()[0].text, "Importing Content...");
    EXPECT_EQ(host_.RecordsTexts().back(), " Records: 1999");
}
