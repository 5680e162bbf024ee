// Writes a report list to a CSV file that the user chooses: a header line of the captions, then one
// line per row in list order, every line ending in ',' and CR LF. A hidden column (width 0 or 1) keeps
// its place as an empty field. A field that holds a comma, a double quote, CR or LF is quoted, its
// double quotes doubled, so that any CSV reader gets the cell back whole.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/base/String.h"

class CException;
class gxListModel;
class IAnalysisHost;

class CExport {
public:
    // fileName: the path buffer the view shares with the exporter; it holds the proposed name and
    // receives the chosen path.
    CExport(gxListModel* list, IAnalysisHost* host, CString* fileName);
    virtual ~CExport() = default;
    CExport(const CExport&) = delete;
    CExport& operator=(const CExport&) = delete;

    // TRUE when the file was written; FALSE when the dialog was cancelled or the file could not be
    // written (its error shown).
    BOOL ExportToCsv();

    // Appends one cell as a CSV field.
    static void AppendField(std::string& line, std::string_view cell);

private:
    void ReportFileError(const CException& error);

    gxListModel* m_pList;
    IAnalysisHost* m_pHost;
    CString* m_pFileName;
    int32_t m_nColumnCount;
};
