#include "analysis/LogPass.h"

#include <algorithm>
#include <climits>
#include <new>

#include "analysis/VeltrinAnalysis.h"
#include "core/PrivateMessages.h"
#include "controls/model/gxListModel.h"
#include "platform/base/JoinPath.h"
#include "platform/base/MessageBox.h"

CLogPass::CLogPass(CVeltrinAnalysis& view, LPCTSTR method, LPCTSTR statusText, LPCTSTR waitText,
                   BOOL traceStart)
    : m_view(view), m_method(method), m_status(statusText), m_waitText(waitText), m_reader(&m_bContinue) {
    if (traceStart)
        m_view.Trace(CString("Start ") + m_method);
    m_view.ShowRecordCount(0);
}

CLogPass::~CLogPass() {
    CloseWait();
    EndWaitCursor();
}

void CLogPass::BeginWaitCursor() {
    if (!m_waitCursor)
        m_view.Host().BeginWaitCursor();
    m_waitCursor = true;
}

void CLogPass::EndWaitCursor() {
    if (m_waitCursor)
        m_view.Host().EndWaitCursor();
    m_waitCursor = false;
}

void CLogPass::CloseWait() {
    if (m_wait)
        m_wait->Close();
}

int CLogPass::SetUpList(LPCTSTR title, LPCTSTR captions, LPCTSTR types) {
    gxListModel& list = m_view.List();
    list.ResetList();
    list.m_csTitle = title;
    list.m_csNames = captions;
    list.m_csTypes = types;
    CString names(captions);
    int columns = 0;
    for (int i = 0; i < names.GetLength(); ++i)
        if (names[i] == '|')
            ++columns;
    list.SetColumns(columns);
    m_view.RestoreColumnWidths(m_view.m_csReportType);
    return columns;
}

CString CLogPass::LogPath(LPCTSTR name) const {
    CString path = JoinPath(m_view.m_csBaseFolder, name);
    if (path.Find(" - N/A") < 0 && path.Find('.') < 0)
        path += ".log";
    return path;
}

BOOL CLogPass::CheckAvailable(LPCTSTR path) {
    if (CString(path).Find(" - N/A") < 0)
        return TRUE;
    CString text;
    text.Format("This file is not available!\r\n%s", path);
    m_view.Host().MessageBox(text, MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND);
    m_view.Host().PostToMainWindow(WM_LOGNOTAVAILABLE, 0, 0);
    return FALSE;
}

BOOL CLogPass::Open(LPCTSTR path) {
    BeginWait(path);
    return OpenLog();
}

void CLogPass::BeginWait(LPCTSTR path) {
    m_path = path;
    m_count.reset();  // a count still running for an earlier log stops
    m_count = std::make_unique<LineCountAhead>(path);
    m_total = m_count->Total();
    m_step = m_fixedStep > 0 ? m_fixedStep : (m_total < 1000 ? m_shortStep : 1000);
    m_nextStep = m_step;
    m_view.ShowStatusText(m_status);
    m_bContinue = TRUE;
    CloseWait();
    m_wait = m_view.Host().OpenWaitDialog(&m_bContinue, m_total);
    m_wait->SetMessageText(m_waitText);
}

void CLogPass::OpenWait(LPCTSTR path) {
    BeginWait(path);
    BeginWaitCursor();
}

void CLogPass::SetProgressText(LPCTSTR format, bool countInText) {
    m_progressFormat = format;
    m_countInText = countInText;
}

BOOL CLogPass::OpenLog() {
    // The pass works on one block while the next are read and scanned beside it.
    m_reader.SetReadAhead(true);
    if (!m_reader.Open(m_path)) {
        CloseWait();
        m_view.ShowStatusText("Ready");
        return FALSE;
    }
    BeginWaitCursor();
    return TRUE;
}

BOOL CLogPass::NextLine(std::string_view& line) {
    return m_reader.NextHitLine(line, m_nextStep);
}

void CLogPass::StepReached(int32_t rows) {
    // Every line whose number is a multiple of the step, without a division per line.
    long line = m_reader.GetLineNumber();
    if (line > m_nextStep)  // lines went by without a Step call
        m_nextStep = (line + m_step - 1) / m_step * m_step;
    if (line == m_nextStep) {
        m_nextStep += m_step;
        Progress(line, rows);
    }
}

void CLogPass::Progress(long lineNumber, int32_t rows) {
    CString text;
    if (m_progressFormat.IsEmpty())
        text.Format("%s\n%ld lines processed", (LPCTSTR)m_waitText, lineNumber);
    else
        text = FormatString(m_progressFormat, m_countInText ? (long)rows : lineNumber);
    ShowProgress(text, lineNumber, rows);
}

void CLogPass::ShowProgress(LPCTSTR text, long lineNumber, int32_t rows) {
    if (m_count && m_count->Arrived()) {
        m_total = m_count->Total();
        m_wait->SetTotal(m_total);
    }
    m_wait->SetMessageText(text);
    m_view.ShowRecordCount(rows);
    if (m_statusEachStep)
        m_view.ShowStatusText(m_status);
    m_wait->SetProgress((int32_t)lineNumber);
    m_view.Host().RestoreWaitCursor();
}

BOOL CLogPass::FinishLog(int32_t rows, BOOL noData) {
    if (ReadFailed()) {  // a later block could not be read: the rows so far stay
        CloseWait();
        m_view.ShowStatusText("Ready");
        return FALSE;
    }
    Progress(m_reader.GetLineNumber(), rows);
    m_reader.Close();
    if (noData) {
        m_view.m_csPadText = m_noDataFormat;
        m_view.m_csPadText.Replace("%s", m_path);
        m_view.ShowPadText(m_view.m_csPadText);
    }
    EndWaitCursor();
    Complete(rows);
    return TRUE;
}

void CLogPass::Complete(int32_t rows) {
    if (m_count && !m_count->Arrived() && !m_count->Exact()) {
        // Read to the end before the count arrived: the last line number is the count.
        if (m_reader.GetStatus() == LogLineReader::EndOfFile)
            m_total = (int32_t)std::min<long>(m_reader.GetLineNumber(), INT32_MAX);
    } else if (m_count) {
        m_total = m_count->Total();
    }
    if (m_wait) {
        m_wait->SetTotal(m_total);
        m_wait->SetProgress(m_total);
    }
    CloseWait();
    m_view.ShowStatusText("Ready");
    m_view.ShowRecordCount(rows);
}

void CLogPass::TraceEnd() {
    m_view.Trace(CString("End ") + m_method);
}

int32_t CLogPass::Finish(int32_t rows) {
    return Finish(rows, rows == 0);
}

int32_t CLogPass::Finish(int32_t rows, BOOL noData) {
    if (!FinishLog(rows, noData))
        return 0;
    TraceEnd();
    return rows;
}

void CLogPass::Abandon(LPCTSTR message, UINT type) {
    CloseWait();
    EndWaitCursor();
    if (message)
        m_view.Host().MessageBox(message, type);
    m_view.ShowStatusText("Ready");
}

int32_t CLogPass::FinishOwn(int32_t rows, int32_t records) {
    m_reader.Close();
    if (m_reader.GetStatus() == LogLineReader::ReadFailed) {
        CloseWait();
        m_view.ShowStatusText("Ready");
        return 0;
    }
    m_wait->SetProgress(m_total);
    CloseWait();
    m_view.ShowStatusText("Ready");
    m_view.ShowRecordCount(records);
    m_view.Trace(CString("End ") + m_method);
    return rows;
}

int32_t CLogPass::Run(const std::function<int32_t()>& body) {
    const char* caught = nullptr;  // the exception that ends the pass with the frame's message
    try {
        return body();
    } catch (CMemoryException* e) {
        e->Delete();
        caught = "CMemoryException";
    } catch (CFileException* e) {
        e->Delete();
        caught = "CFileException";
    } catch (const std::bad_alloc&) {
        caught = "CMemoryException";
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
    CloseWait();
    if (caught) {
        m_view.TraceF("%s: hit CATCH (%s)", (LPCTSTR)m_method, caught);
        CString text;
        if (!m_memoryFailureText.IsEmpty() && std::string_view(caught) == "CMemoryException")
            text = m_memoryFailureText;
        else
            text.Format("Unable to read the file!\r\n%s", (LPCTSTR)m_path);
        m_view.Host().MessageBox(text, MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND);
    } else {
        m_view.Trace(CString("Abort ") + m_method);
    }
    m_view.ShowStatusText("Ready");
    return 0;
}
