// The top-20 transaction report: one compile request per QServer log of a series, then one populate
// request that closes the report log and fills the list.
#include <cstdio>

#include "analysis/ExpandedLine.h"
#include "analysis/LineTokens.h"
#include "analysis/LogPass.h"
#include "analysis/ReportFormat.h"
#include "analysis/ReportLog.h"
#include "analysis/VeltrinAnalysis.h"
#include "core/RequestStrings.h"
#include "controls/model/gxListModel.h"
#include "platform/base/File.h"
#include "platform/base/JoinPath.h"
#include "platform/base/MessageBox.h"

namespace {
const char kDetailFormat[] = "%-27s  %-10s  %-10s  %-10s  %-13s %-13s %-30s  %-30s  %-12s  %s\n";

enum class XactLine { Other, Start, End };

// A Start line holds "| Start "; an End line holds "| End " and no "| Start ". One walk over the '|'s.
XactLine Classify(std::string_view line) {
    bool end = false;
    for (size_t p = FindText(line, "|"); p != std::string_view::npos; p = FindText(line, "|", p + 1)) {
        std::string_view rest = line.substr(p);
        if (rest.substr(0, 8) == "| Start ")
            return XactLine::Start;
        if (rest.substr(0, 6) == "| End ")
            end = true;
    }
    return end ? XactLine::End : XactLine::Other;
}

// Splits a client field at ':' and '/' (empty parts dropped); with exactly three parts the first is the
// client type and the second the machine, otherwise the whole field is the type and the machine stays.
void SplitClientField(std::string_view field, CString& clientType, CString& machine) {
    CLineTokens parts;
    parts.Split(field, ":/", 4);
    if (parts.Count() == 3) {
        clientType = parts.Text(0);
        machine = parts.Text(1);
    } else {
        clientType = CString(field);
    }
}
}  // namespace

LRESULT CVeltrinAnalysis::OnCompileTop20Transx(WPARAM, LPARAM) {
    TraceF("CVeltrinView::OnCompileTop20Transx: _csCommand=%s", (LPCTSTR)_csCommand);
    if (_csCommand == WAIT_FOR_UPDATE)
        return 0;
    const CString name = RequestField(REQ_NAME);
    const CString type = RequestField(REQ_TYPE);
    const CString exe = RequestField(REQ_EXE);
    m_csCurListKey = m_csListKey;
    m_csCurItemKind = type;
    m_csCurAction = exe;
    const CString path = JoinPath(m_csBaseFolder, name);

    if (g_bWaitForUpdate) {
        m_csXactReportFile = _csDocToOpen + ".log";
        m_csXactReportLog = JoinPath(m_csBaseFolder, m_csXactReportFile);
        CReportLog(m_csXactReportLog).Delete();
        m_aXact.DeleteAll();
        m_aClient.DeleteAll();
        m_aCltXact.DeleteAll();
        m_aTop20Xact.DeleteAll();
    }
    CStdioFile report;
    if (!OpenReportLog(report, m_csXactReportLog))
        return 0;
    if (g_bWaitForUpdate) {
        m_nXactCount = 0;
        try {
            report.WriteString(FormatString(kDetailFormat, "Filename", "StartRow", "EndRow", "Date",
                                            "StartTime", "EndTime", "ElapsedTime", "TransactionName",
                                            "ClientType", "ClientMachine")
                                   .c_str());
        } catch (CFileException* e) {
            ReportFileError(*e);
            e->Delete();
            report.Abort();
            return 0;
        }
    }

    CLogPass pass(*this, "CVeltrinView::OnCompileTop20Transx", "Compiling Top20 Transaction Report...",
                  name + "...", FALSE);
    pass.SetStatusEachStep(TRUE);
    // Only a line with "| Start" or "| End" counts, and its bar stands in the raw line as it is: one byte
    // to look for, far rarer than the words' first letters.
    pass.SetMarkers({"|"});
    return pass.Run([&]() -> int32_t {
        if (!pass.Open(path)) {
            CloseReportLog(report);
            return 0;
        }
        CExpandedLine expander;
        CLineTokens tokens;
        CString date, startTime, transaction, clientType, machine, endTime, lastDate;
        long startRow = 0;
        int32_t found = 0;  // transactions of this log
        CString startText, endText, msText, elapsed;
        std::string detail;
        std::string_view raw;
        while (pass.NextLine(raw)) {
            const long lineNumber = pass.LineNumber();
            XactLine kind = XactLine::Other;
            std::string_view line;
            if (CExpandedLine::MayHoldBarWord(raw, "Start", "End")) {
                line = expander.Expand(raw);
                kind = Classify(line);
            }
            if (kind == XactLine::Start) {
                startRow = lineNumber;
                tokens.Split(line, " |", 6);
                date = tokens.Text(0);
                startTime = tokens.Text(1);
                std::string_view clientField;
                if (tokens[2] == "Start") {
                    transaction = tokens.Text(3);
                    clientField = tokens[4];
                } else {  // a day-half word after the time, such as "PM"
                    if (!tokens[2].empty())
                        startTime += ' ' + tokens.Text(2);
                    transaction = tokens.Text(4);
                    clientField = tokens[5];
                }
                SplitClientField(clientField, clientType, machine);
                if (date.GetLength() == 10)
                    lastDate = date;
                else if (!lastDate.IsEmpty())
                    date = lastDate;
            } else if (kind == XactLine::End && !startTime.IsEmpty() && tokens.Split(line, " |", 8) > 6) {
                // An End line too short to hold its own end time closes nothing.
                ++m_nXactCount;
                endTime = tokens.Text(1);
                if (tokens[2] != "End")
                    endTime += ' ' + tokens.Text(2);
                startText = date + ' ' + startTime;
                endText = date + ' ' + endTime;
                msText = FormatMsText(ElapsedMs(startText, endText));
                elapsed = FormatElapsedMs(MsFromText(msText));
                AddTransaction(transaction, elapsed);
                AddClientTransaction(machine, clientType, elapsed);
                AddClientXact(machine, clientType, transaction, elapsed);
                AddTop20Transaction(name, (int32_t)startRow, (int32_t)lineNumber, date, startTime, endTime,
                                    elapsed, msText, transaction, clientType, machine);
                detail.clear();
                AppendReportLine(detail, kDetailFormat,
                                 {name.str(), std::to_string(startRow), std::to_string(lineNumber),
                                  date.str(), startTime.str(), endTime.str(), elapsed.str(),
                                  transaction.str(), clientType.str(), machine.str()});
                report.Write(detail.data(), (UINT)detail.size());  // the line ends in CR LF already
                date.Empty();
                startTime.Empty();
                transaction.Empty();
                clientType.Empty();
                machine.Empty();
                ++found;
            }
            pass.Step(m_nXactCount);
        }
        CloseReportLog(report);
        const long lines = pass.LineNumber();
        if (pass.Finish(m_nXactCount, found == 0) == 0 && pass.ReadFailed())
            return 0;
        return (int32_t)lines;
    });
}

LRESULT CVeltrinAnalysis::OnPopulateTop20TransxSummary(WPARAM, LPARAM) {
    TraceF("CVeltrinView::OnPopulateTop20TransxSummary: _csCommand=%s", (LPCTSTR)_csCommand);
    const CString exe = TakeCurrentRequest();

    {
        CStdioFile report;
        if (!OpenReportLog(report, m_csXactReportLog))
            return 0;
        try {
            report.WriteString(FormatString("There were %d transactions.\n\n", m_nXactCount).c_str());
            report.Close();
        } catch (CFileException* e) {
            e->Delete();
            report.Abort();
            Host().MessageBox(
                FormatString("Unable to write to the file: \n %s", (LPCTSTR)m_csXactReportLog).c_str(),
                MB_OK | MB_ICONEXCLAMATION);
        }
    }
    ReorderTop20TransactionList();
    WriteTransactionCountSummary();
    WriteMachineCountSummary();
    WriteTransactionSummary();
    WriteTop20TransactionList();

    SetUpReportList(
        exe,
        " Records  |         Filename                     |  Start Row  |  End Row  |    Date    | "
        "StartTime |  EndTime  |  Elapsed (CT)  |    Transaction   |  ClientType  |   ClientMachine  "
        " |",
        "MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_"
        "ALPHA|MCL_ALPHA|",
        -1);
    gxListModel& list = List();
    const int32_t n = m_aTop20Xact.GetCount();
    int row = 0;
    CString text;
    for (int32_t rank = 1; rank <= n; ++rank) {
        CXactDetail r;
        text.Format("%d", rank);
        if (!m_aTop20Xact.Get(text, r))
            continue;
        text.Format("%ld", (long)row + 1);
        list.AddItem(row, 0, text);
        list.AddItem(row, 1, r.m_csFile);
        text.Format("%d", r.m_nStartRow);
        list.AddItem(row, 2, text);
        text.Format("%d", r.m_nEndRow);
        list.AddItem(row, 3, text);
        list.AddItem(row, 4, r.m_csDate);
        list.AddItem(row, 5, r.m_csStartTime);
        list.AddItem(row, 6, r.m_csEndTime);
        list.AddItem(row, 7, r.m_csElapsed);
        list.AddItem(row, 8, r.m_csTransaction);
        list.AddItem(row, 9, r.m_csClientType);
        list.AddItem(row, 10, r.m_csClientMachine);
        ++row;
    }
    if (row > 0) {
        list.AddItem(row, 0, "TOP20LOG");
        list.AddItem(row, 1, m_csXactReportFile);
    }
    ShowStatusText("Ready");
    Trace("End CVeltrinView::OnPopulateTop20TransxSummary");
    return row;
}
