#include "analysis/ImportFrame.h"

#include "analysis/AppMaps.h"
#include "analysis/VeltrinAnalysis.h"
#include "core/RequestStrings.h"
#include "controls/model/gxListModel.h"

CImportFrame::CImportFrame(CVeltrinAnalysis& view, LPCTSTR method, LPCTSTR statusText)
    : m_view(view), m_pass(view, method, statusText, "Importing Content...") {}

BOOL CImportFrame::Open(LPCTSTR path) {
    m_pass.OpenWait(path);  // the pass frame has shown the record count of 0 already
    m_view.List().ResetList();
    CFileException error;
    if (!m_file.Open(path, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary, &error)) {
        char text[1024];
        error.GetErrorMessage(text, sizeof text);
        m_pass.Abandon(text);
        return FALSE;
    }
    _csFileOpenName = path;
    return TRUE;
}

BOOL CImportFrame::NextLine(CString& line, bool* crlf) {
    if (!*m_pass.ContinueFlag() || !m_file.IsOpen() || !m_file.ReadString(line))
        return FALSE;
    ++m_lines;
    if (line.GetLength() > 0 && line[0] == '\0') {
        m_notText = true;
        CString text;
        text.Format("Unable to read the file (not ANSI text format)!\r\n%s", (LPCTSTR)m_pass.Path());
        Fail(text);
        return FALSE;
    }
    bool cr = line.GetLength() > 0 && line[line.GetLength() - 1] == '\r';
    if (cr)
        line.str().pop_back();
    if (crlf)
        *crlf = cr;
    return TRUE;
}

void CImportFrame::AddRecordsCaption() {
    m_names += " Records  |";
    m_types += "MCL_ALPHA|";
    ++m_columns;
}

void CImportFrame::AddCaption(LPCTSTR caption) {
    // The list keeps at most kMaxField characters of a caption, the blanks around it included; a '|'
    // would split the column in two.
    std::string text(caption ? caption : "");
    for (char& c : text)
        if (c == '|')
            c = ' ';
    const size_t room = (size_t)gxListModel::kMaxField - 4;
    if (text.size() > room)
        text.resize(room);
    m_names += "  ";
    m_names += text.c_str();
    m_names += "  |";
    m_types += "MCL_ALPHA|";
    ++m_columns;
}

void CImportFrame::SetUpColumns() {
    gxListModel& list = m_view.List();
    list.m_csTitle = m_view.m_csCurAction;
    list.m_csNames += m_names;
    list.m_csTypes += m_types;
    list.SetColumns(m_columns);
    m_view.RestoreColumnWidths(m_view.m_csReportType);
}

void CImportFrame::Step(int32_t rows, LPCTSTR statusText) {
    if (!m_pass.IsStep(m_lines))
        return;
    if (statusText)
        m_view.ShowStatusText(statusText);
    m_pass.ShowProgress("Importing Content...", m_lines, rows);
}

void CImportFrame::Fail(LPCTSTR message) {
    m_file.Abort();
    m_pass.Abandon(message);
}

int32_t CImportFrame::Finish(int32_t rows, LPCTSTR key, LPCTSTR file, LPCTSTR folder) {
    m_file.Abort();  // read only: nothing to flush
    m_pass.Complete(rows);
    IMPObj record;
    record.m_csFile = file;
    record.m_csFolder = folder;
    g_mapImportedLists.Add(key, record);
    m_pass.TraceEnd();
    return rows;
}

int32_t CImportFrame::Run(const std::function<int32_t()>& body) {
    int32_t rows = m_pass.Run(body);
    m_file.Abort();
    return rows;
}
