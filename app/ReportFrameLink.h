// What the report views and the log tree ask of the main frame and the application: the pad pages
// named by list keys, the status panes, the tree selection, report documents and the recent-file list.
// The running program goes to the real main frame; tests put a recording link in its place.
#pragma once

#include "platform/base/String.h"

class CDocument;

class CReportFrameLink {
public:
    virtual ~CReportFrameLink() = default;

    // The link in use (the program's own unless a test set another).
    static CReportFrameLink& Get();
    // Puts a link in place (null restores the program's own); returns the one it replaced.
    static CReportFrameLink* Set(CReportFrameLink* link);

    // Pad pages, each named by a report's list key.
    virtual int AddPadPage(LPCTSTR key);
    virtual BOOL IsPadPage(LPCTSTR key);
    virtual void ReplacePadPageText(LPCTSTR key, LPCTSTR text);
    virtual void ClearPadPage(LPCTSTR key);
    virtual void ShowPadPage(LPCTSTR key);
    virtual void ActivatePadPage(LPCTSTR key);
    virtual void ClosePadPage(LPCTSTR key);
    virtual void ShowOutputBar();
    virtual void HideOutputBar();

    // The status panes show _csStatusText (pane 0), _csLogNameText (3200) and _csRecordsText (3201).
    virtual void UpdateStatusPane0();
    virtual void UpdateStatusPane3200();
    virtual void UpdateStatusPane3201();

    // The log tree selects the item of a log (or report) name.
    virtual void SelectTreeItem(LPCTSTR name);

    // Opens (or activates) the report document of that name through the application's documents.
    virtual CDocument* OpenReportDocument(LPCTSTR name);
    // The application prunes its recent-file list.
    virtual void PruneRecentFileList();
};
