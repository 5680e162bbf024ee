// Every pass, compile and re-import over seeded random logs made of the markers the passes read, broken
// time stamps, binary bytes, control characters, odd line ends and very long lines. The only
// expectation is the one that matters for damaged input: no crash and no undefined behaviour (the test
// build runs under the address and undefined-behaviour sanitizers), and the wait dialog always closed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "analysis/AppMaps.h"
#include "analysis/VeltrinAnalysis.h"
#include "analysis/testing/RecordingHost.h"
#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"
#include "tests/support/TempFolder.h"

namespace fs = std::filesystem;

namespace {
const char* const kPieces[] = {"2023/05/01 10:00:00.123 ",
                               "2023-05-01 10:00:00.123 ",
                               "23:59:59",
                               "12:00:00 PM ",
                               "10:00:01.5 ",
                               "| Start ",
                               "| End ",
                               "-- START: ",
                               "-- END: ",
                               "-- RETURN CODE: ",
                               "-- Bind 1 (CHAR):\t",
                               "-- SQLAlloc",
                               "**** SQL Milliseconds: ",
                               "**** SQL Seconds: ",
                               "TRANSACTION TIME (msec): ",
                               "TRANSACTION TIME (sec): ",
                               "TRANSACTION TIME: ",
                               "QServer | ",
                               "PEC_TRACE | Start ",
                               ": On Request - ",
                               "Action : ",
                               "ID  : ",
                               "Type: ",
                               "From  : ",
                               "User  : ",
                               "/pt_QClient://",
                               "/pt_QServer://",
                               "On Server Register",
                               "ACTION : SENT TO /PT_QSERVER:",
                               "LOGIN_QUILLAN : ",
                               "There were ",
                               "Milliseconds:",
                               "DB ",
                               "(",
                               ")",
                               "#",
                               ":",
                               "/",
                               "|",
                               " ^",
                               "SELECT A FROM T WHERE X = :1",
                               "NewOrder ",
                               "HOST01(42)#3 ",
                               "99999999999 ",
                               "-1 ",
                               "0 ",
                               "msec)",
                               "Records",
                               "TOP20LOG",
                               "---",
                               "..",
                               ".",
                               "\t",
                               "  ",
                               ""};

std::string RandomLog(uint32_t seed) {
    std::mt19937 rng(seed);
    std::string log;
    const char* ends[] = {"\r\n", "\r\n", "\r\n", "\n", "\r", "\n\r"};
    for (int line = 0; line < 2500; ++line) {  // past the 1,000-line progress step
        unsigned kind = rng() % 100;
        if (kind < 3) {
            for (int i = 0, n = (int)(rng() % 200); i < n; ++i)
                log += (char)(rng() % 256);  // binary bytes, NULs included
        } else if (kind < 5) {
            log += std::string(20000 + rng() % 60000, "x ;|:"[rng() % 5]);  // a very long line
        } else {
            for (int i = 0, n = (int)(rng() % 8); i < n; ++i)
                log += kPieces[rng() % (sizeof kPieces / sizeof *kPieces)];
        }
        if (rng() % 50)  // now and then no line end at all
            log += ends[rng() % 6];
    }
    return log;
}

class Robustness : public ::testing::TestWithParam<uint32_t> {
protected:
    void SetUp() override {
        dir_ = tmp_.Path();
        content_ = RandomLog(GetParam());
        for (const char* name : {"20230501QServer1.log", "20230501QBroker.log", "report.log"}) {
            std::ofstream out(dir_ / name, std::ios::binary);
            // One sound request first in the broker log, so that the statistics list gets a row and
            // its elapsed-time workers run over the damaged server log.
            if (std::string(name) == "20230501QBroker.log")
                out << "2023/05/01 10:00:00 : On Request - 10:00:00\r\nID  : /pt_QClient://WS01/1234 \r\n"
                       "Type: NewOrder\r\nAction : sent to /pt_QServer://HOST01/1 \r\n";
            out << content_;
        }
        g_mapStatsClientIds.Add("WS01", CMObj());
        g_mapStatsTransactions.Add("NewOrder", TObj());
        g_mapLoadedLogs.RemoveAll();
        HObj broker;
        broker.m_csName = "20230501QBroker.log";
        broker.m_csFolder = dir_.c_str();
        broker.m_csLogType = "QBROKER";
        broker.m_csServerList = "20230501QServer1>20230501100000|";
        broker.m_bChosen = 1;
        g_mapLoadedLogs.Add(broker.m_csName, broker);
    }
    void TearDown() override {
        g_mapLoadedLogs.RemoveAll();
        g_mapStatsClientIds.RemoveAll();
        g_mapStatsServerIds.RemoveAll();
        g_mapStatsTransactions.RemoveAll();
        g_mapImportedLists.RemoveAll();
    }
    // A new view over the temporary folder, as the main frame would open it.
    void Prepare(CVeltrinAnalysis& view, const char* listKey, const char* logType) {
        view.m_csBaseFolder = dir_.c_str();
        view.m_csListKey = listKey;
        view.m_csLogType = logType;
        view.m_csReportName = listKey;
    }
    // Hands every message the view posted to itself (or the main frame relays) back to it.
    static void DeliverAll(CRecordingHost& host, CVeltrinAnalysis& view) {
        host.SetWindowProc([&view](const CRecordingHost::Posted& p) {
            bool handled = false;
            return view.HandleViewMessage(p.message, p.wParam, p.lParam, handled);
        });
        for (int round = 0; round < 5 && host.DeliverAll() > 0; ++round) {
        }
    }
    TempFolder tmp_{"veltrin_robust"};
    fs::path dir_;
    std::string content_;
};
}  // namespace

TEST_P(Robustness, PassesAndCompilesNeverCrashOnDamagedLogs) {
    struct Request {
        const char* listKey;
        const char* logType;
        const char* command;
        UINT message;  // 0: OnViewData
    } requests[] = {
        {"a", "QBROKER", "NAME=20230501QBroker.log|TYPE=ROOTITEM|EXE=ITEMIZE|SEARCH=on", 0},
        {"b", "QSERVER", "NAME=20230501QServer1.log|TYPE=ROOTITEM|EXE=ITEMIZE|SEARCH=sql", 0},
        {"c_TA", "QSERVER", "NAME=20230501QServer1.log|TYPE=SUBITEM|EXE=ANALYZETA", 0},
        {"d", "QSERVER", "NAME=20230501QServer1.log|TYPE=SUBITEM|EXE=ANALYZETAALL", 0},
        {"e", "QSERVER", "NAME=20230501QServer1.log|TYPE=SUBITEM|EXE=ANALYZETIC", 0},
        {"f", "QSERVER", "NAME=20230501QServer1.log|TYPE=SUBITEM|EXE=ANALYZETICALL", 0},
        {"g_T20Xact", "QSERVER", "NAME=20230501QServer1.log|TYPE=SUBITEM|EXE=TOP20XACT", WM_COMPILETOP20XACT},
        {"g_T20Xact", "QSERVER", "NAME=20230501QServer1.log|TYPE=SUBITEM|EXE=TOP20XACT",
         WM_POPULATETOP20XACT},
        {"h_T20Sql", "QSERVER", "NAME=20230501QServer1.log|TYPE=SUBITEM|EXE=TOP20SQL", WM_COMPILETOP20SQL},
        {"h_T20Sql", "QSERVER", "NAME=20230501QServer1.log|TYPE=SUBITEM|EXE=TOP20SQL", WM_POPULATETOP20SQL},
        {"XACT_IMZ_1", "QSERVER", "NAME=20230501QServer1.log|TYPE=SUBITEM|EXE=5", WM_RUNXACTIMZREPORT},
        {"XACT_1", "QSERVER", "NAME=20230501QServer1.log|TYPE=SUBITEM|EXE=5", WM_RUNXACTREPORT},
        {"XSUM_1", "QSERVER", "NAME=20230501QServer1.log|TYPE=SUBITEM|EXE=5", WM_RUNXACTSQLSUMREPORT},
        {"SUM_1", "QSERVER", "NAME=report.log|TYPE=SUBITEM|EXE=h_T20Sql", WM_RUNT20SQLSUMREPORT},
        {"HIST_1", "QSERVER", "NAME=report.log|TYPE=0001:200000|EXE=SELECT", WM_RUNSQLHISTOGRAMREPORT},
        {"STATS_CM1", "QBROKER", "NAME=20230501QBroker.log|TYPE=SUBITEM|EXE=RUNSTATSREPORT",
         WM_RUNSTATSREPORT},
    };
    g_bWaitForUpdate = 1;
    for (const Request& r : requests) {
        SCOPED_TRACE(r.command);
        CRecordingHost host;
        host.SetProfile("Settings", "EnableETCalculationsInStats", "1");
        CVeltrinAnalysis view(&host);
        Prepare(view, r.listKey, r.logType);
        _csCommand = r.command;
        _csDocToOpen = r.listKey;
        _csReportName = r.listKey;
        if (r.message == 0) {
            view.OnViewData(0, 0);
        } else {
            bool handled = false;
            view.HandleViewMessage(r.message, 0, 0, handled);
        }
        DeliverAll(host, view);
        view.StopWorkerThreads();
        EXPECT_EQ(host.WaitDialogsOpen(), 0);
        if (r.message == WM_RUNSTATSREPORT) {
            // The list got rows and the elapsed-time run reached the view.
            EXPECT_GT(host.GetList().GetItemCount(), 0);
            EXPECT_NE(std::find(host.SentLog().begin(), host.SentLog().end(), (UINT)WM_ELAPSEDTIMERESULT),
                      host.SentLog().end());
        }
        EXPECT_EQ(CVeltrinAnalysis::LiveResultBuffers(), 0);
    }
    g_bWaitForUpdate = 0;
}

TEST_P(Robustness, ReimportsNeverCrashOnDamagedReportLogs) {
    const UINT imports[] = {WM_IMPORTTOP20XACTLOG, WM_IMPORTTOP20SQLLOG, WM_IMPORTSQLSUMMARYLOG,
                            WM_IMPORTTICALLLOG,    WM_IMPORTTICLOG,      WM_IMPORTTICREPORTLOG,
                            WM_IMPORTTAALLLOG,     WM_IMPORTTALOG,       WM_IMPORTANALYZEDLOG};
    for (UINT message : imports) {
        SCOPED_TRACE(message);
        CRecordingHost host;
        CVeltrinAnalysis view(&host);
        Prepare(view, "report", "QSERVER");
        _csReportName = (dir_ / "report.log").c_str();
        _csListKey = "report";
        bool handled = false;
        view.HandleViewMessage(message, 0, 0, handled);
        EXPECT_EQ(host.WaitDialogsOpen(), 0);
    }
    // The CSV import over the same bytes.
    CRecordingHost host;
    host.ScriptFileDialog(TRUE, (dir_ / "report.log").c_str());
    CVeltrinAnalysis view(&host);
    Prepare(view, "Import_1", "QSERVER");
    view.ImportCsvToListView(0, 0);
    EXPECT_EQ(host.WaitDialogsOpen(), 0);
}

INSTANTIATE_TEST_SUITE_P(Seeds, Robustness, ::testing::Values(1u, 2u, 3u, 4u, 5u, 6u));
