// Find in Tree without Sifter: the file finder looks through the folders of the loaded logs for the
// logs holding the text, and each one the tree shows is itemized and searched in its report.
#include <set>
#include <utility>
#include <vector>

#include "analysis/AppMaps.h"
#include "app/MainFrm.h"
#include "app/VeltrinView.h"
#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"
#include "sifter/FileFinder.h"

namespace {
// The names of the files in `folder` that match "*<namePart>*.*" and hold `text`.
std::vector<CString> FindLogsHolding(CFileFinder& finder, const CString& folder, const CString& namePart,
                                     LPCTSTR text) {
    CFindOptions options;
    options.sBaseFolder = folder;
    options.sFileMask.Format("*%s*.*", (LPCTSTR)namePart);
    options.sFindText = text;
    options.dwOptionsFlags = FIND_TEXT;
    finder.RemoveAll();
    int count = finder.Search(&options);
    std::vector<CString> names;
    for (int i = 0; i < count; ++i)
        names.push_back(finder.GetFilePath(i).GetFileName());
    finder.RemoveAll();
    return names;
}
}  // namespace

BOOL CMainFrame::OpenFoundLog(LPCTSTR fileName, LPCTSTR logType, LPCTSTR itemKind, LPCTSTR action,
                              LPCTSTR reportType, LPCTSTR text) {
    CString name = fileName;
    _csListKey = name;
    _csLogType = logType;
    _csItemKind = itemKind;
    _csAction = action;
    _csReportType = reportType;
    if (!SelectTreeItem(name))
        return FALSE;
    // The report is named as the tree's own itemize names it, so both share one report.
    if (name.Find('.') < 0)
        name += ".log";
    _csListKey = name;
    _csReportName = name;
    _csCommand.Format("NAME=%s|TYPE=%s|EXE=%s|SEARCH=%s", (LPCTSTR)name, itemKind, action, text);
    if (IsPadPage(name)) {
        FindDocumentView(name);
    } else if (CView* opened = OpenReportView(name)) {
        opened->SendMessage(WM_VIEWDATA, 0, 0);
    }
    CView* view = GetActiveLogView();
    if (view && dynamic_cast<CVeltrinView*>(view)) {
        view->SendMessage(WM_CLEARHIGHLIGHT, 0, 0);
        view->SendMessage(WM_SEARCH, 0, (LPARAM)text);
    }
    return TRUE;
}

BOOL CMainFrame::SearchLogsInternal(LPCTSTR text) {
    // The loaded logs as they are now: opening reports must not disturb the walk.
    std::vector<std::pair<CString, CString>> logs;  // name, folder
    g_mapLoadedLogs.ForEach([&](const CString& key, const HObj& rec) {
        logs.emplace_back(key, rec.m_csFolder.IsEmpty() ? _csBaseFolder : rec.m_csFolder);
    });
    const CString searched = text ? text : "";
    CFileFinder finder;
    // A log found again (two brokers in one folder) is searched once.
    std::set<CString> opened;
    auto open = [&](const CString& found, LPCTSTR logType, LPCTSTR itemKind, LPCTSTR action, LPCTSTR reportType) {
        if (opened.count(found))
            return;
        if (OpenFoundLog(found, logType, itemKind, action, reportType, searched))
            opened.insert(found);
    };
    auto openServers = [&](const CString& folder, const CString& namePart) {
        for (const CString& hit : FindLogsHolding(finder, folder, namePart, searched)) {
            int dot = hit.Find('.');
            open(dot >= 0 ? hit.Left(dot) : hit, "QSERVER", "SUBITEM", "QSVRITEMIZE", "QSVRITEMIZE");
        }
    };
    for (const auto& [name, folder] : logs) {
        // The reports opened below read their logs from this folder.
        _csBaseFolder = folder;
        CString upper = name;
        upper.MakeUpper();
        if (upper.Find("QBROKER") >= 0) {
            for (const CString& hit : FindLogsHolding(finder, folder, "QBroker", searched))
                open(hit, "QBROKER", "ROOTITEM", "ITEMIZE", "QBROKERITEMIZE");
            openServers(folder, name.Left(8) + "QServer");
        } else {
            int dot = name.Find('.');
            openServers(folder, dot >= 0 ? name.Left(dot) : name);
        }
    }
    return !opened.empty();
}
