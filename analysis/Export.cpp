#include "analysis/Export.h"

#include "platform/base/Exceptions.h"

#include <new>

#include <string>

#include "analysis/AnalysisHost.h"
#include "controls/model/gxListModel.h"
#include "platform/base/File.h"
#include "platform/base/MessageBox.h"

namespace {
// Ends the wait cursor on every way out.
class WaitCursor {
public:
    explicit WaitCursor(IAnalysisHost* host) : m_host(host) { m_host->BeginWaitCursor(); }
    ~WaitCursor() { m_host->EndWaitCursor(); }

private:
    IAnalysisHost* m_host;
};
}  // namespace

CExport::CExport(gxListModel* list, IAnalysisHost* host, CString* fileName)
    : m_pList(list), m_pHost(host), m_pFileName(fileName), m_nColumnCount(list->GetColumnCount()) {}

void CExport::AppendField(std::string& line, std::string_view cell) {
    if (cell.find_first_of(",\"\r\n") == std::string_view::npos) {
        line.append(cell);
        return;
    }
    line += '"';
    for (char c : cell) {
        if (c == '"')
            line += '"';
        line += c;
    }
    line += '"';
}

void CExport::ReportFileError(const CException& error) {
    char text[1024];
    error.GetErrorMessage(text, sizeof text);
    m_pHost->MessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

BOOL CExport::ExportToCsv() {
    CString folder = m_pHost->GetProfileString("ExportDirectory", "Directory", "");
    if (folder.IsEmpty())
        folder = "../data";
    CString path = *m_pFileName;
    if (!m_pHost->ChooseCsvFile(folder, path))
        return FALSE;

    WaitCursor cursor(m_pHost);
    if (path.Find('.') < 0)
        path += ".csv";
    *m_pFileName = path;
    int slash = path.ReverseFind('/');
    if (slash >= 0)
        m_pHost->WriteProfileString("ExportDirectory", "Directory", path.Left(slash));

    // Binary, with the line ends written out: a line break inside a quoted cell stays as it is.
    CStdioFile file;
    CFileException error;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary, &error)) {
        ReportFileError(error);
        return FALSE;
    }
    try {
        std::string line;
        for (int col = 0; col < m_nColumnCount; ++col) {
            if (m_pList->GetColumnWidth(col) > 1)
                AppendField(line, m_pList->GetColumnName(col).str());
            line += ',';
        }
        line += "\r\n";
        file.Write(line.data(), (UINT)line.size());
        const int rows = m_pList->GetItemCount();
        for (int row = 0; row < rows; ++row) {
            line.clear();
            for (int col = 0; col < m_nColumnCount; ++col) {
                if (m_pList->GetColumnWidth(col) > 1)
                    AppendField(line, m_pList->GetItemTextView(row, col));
                line += ',';
            }
            line += "\r\n";
            file.Write(line.data(), (UINT)line.size());
        }
        file.Close();
    } catch (CException* e) {  // a write failure, or memory running out on a huge list
        file.Abort();
        ReportFileError(*e);
        e->Delete();
        return FALSE;
    } catch (const std::bad_alloc&) {
        file.Abort();
        ReportFileError(CMemoryException());
        return FALSE;
    }
    return TRUE;
}
