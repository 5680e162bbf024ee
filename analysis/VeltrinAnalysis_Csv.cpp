#include <string>
#include <string_view>
#include <vector>

#include "analysis/Export.h"
#include "analysis/ImportFrame.h"
#include "analysis/VeltrinAnalysis.h"
#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"
#include "controls/model/gxListModel.h"

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Reads the fields of CSV lines into rows of the list. A field is cut at the delimiter and trimmed; a
// field that begins with a double quote runs to the closing quote, across delimiters and line ends,
// with doubled quotes read as one, and is taken exactly. A row takes the fields of as many lines as it
// needs to reach the column count; fields beyond it are dropped.
class CsvRows {
public:
    CsvRows(gxListModel& list, char delimiter) : m_list(list), m_delim(delimiter) {}

    // One line without its end; crlf: it ended in CR LF (kept inside a quoted value).
    void AddLine(std::string_view line, bool crlf) {
        if (!m_inQuote && line.empty())
            return;  // a blank line holds no field
        if (!m_rowOpen) {
            CString number;
            number.Format("%ld", (long)m_row + 1);
            m_list.AddItem(m_row, 0, number);
            m_rowOpen = true;
            m_nextCol = 1;
        }
        size_t pos = 0;
        for (;;) {
            if (m_inQuote) {
                if (!ReadQuoted(line, pos, crlf))
                    return;  // the value goes on with the next line
            } else {
                size_t start = pos;
                while (start < line.size() && line[start] != m_delim && IsBlank(line[start]))
                    ++start;
                if (start < line.size() && line[start] == '"') {
                    m_inQuote = true;
                    m_value.clear();
                    pos = start + 1;
                    continue;
                }
                size_t end = std::min(line.find(m_delim, pos), line.size());
                AddCell(Trimmed(line.substr(pos, end - pos)));
                pos = end;
            }
            if (pos >= line.size())
                break;
            ++pos;  // past the delimiter: another field follows, empty when the line ends here
        }
        if (m_nextCol >= m_list.GetColumnCount()) {
            ++m_row;
            m_rowOpen = false;
        }
    }

    // The end of the file: a quoted value that never closed keeps what it collected.
    void Flush() {
        if (m_inQuote) {
            m_inQuote = false;
            AddCell(m_value);
        }
    }

    bool InQuote() const { return m_inQuote; }
    // Rows completed or begun.
    int32_t Rows() const { return m_row + (m_rowOpen ? 1 : 0); }
    int32_t CompletedRows() const { return m_row; }

private:
    // Continues the quoted value from pos. FALSE when the line ended inside it; TRUE with pos at the
    // delimiter after it (or the line's end) when it closed.
    bool ReadQuoted(std::string_view line, size_t& pos, bool crlf) {
        size_t i = pos;
        while (i < line.size()) {
            if (line[i] == '"') {
                if (i + 1 < line.size() && line[i + 1] == '"') {
                    m_value += '"';
                    i += 2;
                    continue;
                }
                // Closed: what stands between the closing quote and the delimiter stays, trimmed.
                size_t end = std::min(line.find(m_delim, i + 1), line.size());
                m_value.append(Trimmed(line.substr(i + 1, end - i - 1)));
                m_inQuote = false;
                AddCell(m_value);
                pos = end;
                return true;
            }
            m_value += line[i++];
        }
        m_value += crlf ? "\r\n" : "\n";
        pos = line.size();
        return false;
    }

    void AddCell(std::string_view text) { m_list.AddItem(m_row, m_nextCol++, std::string(text).c_str()); }

    gxListModel& m_list;
    char m_delim;
    int32_t m_row = 0;
    bool m_rowOpen = false;
    int m_nextCol = 0;
    bool m_inQuote = false;
    std::string m_value;
};

// The captions of a CSV header line: its non-empty fields, quoted ones unquoted.
std::vector<std::string> HeaderFields(std::string_view line, char delim) {
    std::vector<std::string> fields;
    size_t pos = 0;
    while (pos <= line.size()) {
        size_t start = pos;
        while (start < line.size() && line[start] != delim && IsBlank(line[start]))
            ++start;
        std::string field;
        size_t end;
        if (start < line.size() && line[start] == '"') {
            size_t i = start + 1;
            for (; i < line.size(); ++i) {
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        field += '"';
                        ++i;
                        continue;
                    }
                    break;
                }
                field += line[i];
            }
            end = std::min(line.find(delim, std::min(i, line.size())), line.size());
        } else {
            end = std::min(line.find(delim, pos), line.size());
            field = std::string(Trimmed(line.substr(pos, end - pos)));
        }
        if (!Trimmed(field).empty())
            fields.push_back(std::move(field));
        pos = end + 1;
    }
    return fields;
}
}  // namespace

LRESULT CVeltrinAnalysis::ExportListViewToCsv(WPARAM wParam, LPARAM) {
    const char* proposed = reinterpret_cast<const char*>(wParam);
    m_csExportFileName.Format("%s.csv", proposed ? proposed : "");
    CExport exporter(&List(), m_pHost, &m_csExportFileName);
    if (exporter.ExportToCsv() && m_pHost->GetProfileInt("Settings", "LaunchExcelOnExport", 0) == 1)
        m_pHost->OpenWithAssociatedApp(m_csExportFileName, FALSE);
    return 0;
}

LRESULT CVeltrinAnalysis::ImportCsvToListView(WPARAM, LPARAM) {
    const CString key = _csReportName;  // the document the main frame opened for this import
    CString setting = m_pHost->GetProfileString("Settings", "ImportDelimiter", ",");
    const char delim = setting == "T" ? '\t' : setting.IsEmpty() ? ',' : setting[0];
    _csImportDelimiter = CString(delim);

    CString folder = m_pHost->GetProfileString("Settings", "ImportDirectory", "");
    if (folder.IsEmpty())
        folder = "../data";
    m_pHost->HideOutputBar();
    CString path;
    if (!m_pHost->ChooseCsvFile(folder, path)) {
        m_pHost->PostToMainWindow(WM_LOGNOTAVAILABLE, 0, 0);
        return 0;
    }

    int slash = path.ReverseFind('/');
    const CString fileName = path.Mid(slash + 1);
    if (slash >= 0) {
        CString fileFolder = path.Left(slash);
        _csBaseFolder = fileFolder;
        m_csImportFolder = fileFolder;
        m_pHost->WriteProfileString("Settings", "ImportDirectory", fileFolder);
        _csAction.Format("ImportCsvToListView_%s", (LPCTSTR)fileName);
        m_csCurAction = _csAction;
        _csReportName = fileName;
        _csLogNameText = fileName;
    }

    CImportFrame frame(*this, "CVeltrinView::ImportCsvToListView", "Processing Import...");
    if (!frame.Open(path))
        return 0;
    CString upper = fileName;
    upper.MakeUpper();
    const bool csv = upper.Find(".CSV") >= 0;

    return frame.Run([&]() -> int32_t {
        gxListModel& list = List();
        CString line;
        bool crlf = false;
        int32_t rows = 0;
        if (csv) {
            if (frame.NextLine(line)) {
                frame.AddRecordsCaption();
                for (const std::string& field : HeaderFields(line.str(), delim)) {
                    if (frame.CaptionCount() >= 10) {
                        frame.Fail("This File Exceeds Ten(10) Columns of Data!");
                        return 0;
                    }
                    frame.AddCaption(CString(Trimmed(field)));
                }
                frame.SetUpColumns();
            }
            CsvRows reader(list, delim);
            while (frame.NextLine(line, &crlf)) {
                reader.AddLine(line.str(), crlf);
                if (!reader.InQuote())
                    frame.Step(reader.CompletedRows());
            }
            if (frame.NotText())
                return 0;
            reader.Flush();
            rows = reader.Rows();
        } else {
            list.m_csTitle = m_csCurAction;
            list.m_csNames = " Records  |          Content" + CString(' ', 57);
            list.m_csTypes = "MCL_ALPHA|MCL_ALPHA|";
            list.SetColumns(2);
            RestoreColumnWidths(m_csReportType);
            while (frame.NextLine(line)) {
                if (!line.IsEmpty()) {
                    CString number;
                    number.Format("%d", rows + 1);
                    list.AddItem(rows, 0, number);
                    list.AddItem(rows, 1, line);
                    ++rows;
                }
                frame.Step(rows);
            }
            if (frame.NotText())
                return 0;
        }
        return frame.Finish(rows, key, fileName, m_csImportFolder);
    });
}
