#include "core/RequestStrings.h"

#include <cstring>

CString _csCommand;
CString _csAction;
CString _csReportName;
CString _csDocToOpen;
CString _csListKey;
CString _csItemKind;
CString _csLogType;
CString _csReportType;
CString _csBaseFolder;
CString _csFileOpenName;
CString _csLastFindText;
CString _csLastGotoLine;
CString _csGotoLogLine = "0";
CString _csStatusText;
CString _csRecordsText;
CString _csLogNameText;
CString _csImportDelimiter = ",";
CString _csLastQServerLine;
CString _csAction2;

int g_bWaitForUpdate = 0;
int g_nImportCount = 0;
int g_nBatchRecordCount = 0;
int g_bPostOpenCommand = 0;
int g_nFilterQTrace = 1;

std::optional<CString> ExtractAfter(LPCTSTR text, LPCTSTR key, char stop) {
    if (!text || !key)
        return std::nullopt;
    const char* at = std::strstr(text, key);
    if (!at)
        return std::nullopt;
    const char* start = at + std::strlen(key);
    const char* end = stop ? std::strchr(start, stop) : nullptr;
    return end ? CString(start, (int)(end - start)) : CString(start);
}

CString RequestField(LPCTSTR key) {
    // The searched text is the last field and may itself hold '|'.
    char stop = key && std::strcmp(key, REQ_SEARCH) == 0 ? 0 : '|';
    return ExtractAfter(_csCommand, key, stop).value_or(CString());
}

CString MakeRequestLine(LPCTSTR name, LPCTSTR type, LPCTSTR exe) {
    CString line;
    line.Format("NAME=%s|TYPE=%s|EXE=%s", name ? name : "", type ? type : "", exe ? exe : "");
    return line;
}
