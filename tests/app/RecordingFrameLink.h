// A stand-in main frame for the report view and log tree tests: a link that records what the view and
// the tree ask of the frame, and a main window that records the messages sent and posted to it.
#pragma once

#include <string>
#include <vector>

#include "app/ReportFrameLink.h"
#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"
#include "platform/framework/window/Wnd.h"

class RecordingFrameLink : public CReportFrameLink {
public:
    RecordingFrameLink() { m_previous = CReportFrameLink::Set(this); }
    ~RecordingFrameLink() override { CReportFrameLink::Set(m_previous); }

    int AddPadPage(LPCTSTR key) override {
        Log("AddPadPage", key);
        pages.push_back(key);
        return (int)pages.size() - 1;
    }
    BOOL IsPadPage(LPCTSTR key) override {
        for (const std::string& p : pages)
            if (p == key)
                return TRUE;
        return FALSE;
    }
    void ReplacePadPageText(LPCTSTR key, LPCTSTR) override { Log("ReplacePadPageText", key); }
    void ClearPadPage(LPCTSTR key) override { Log("ClearPadPage", key); }
    void ShowPadPage(LPCTSTR key) override { Log("ShowPadPage", key); }
    void ActivatePadPage(LPCTSTR key) override { Log("ActivatePadPage", key); }
    void ClosePadPage(LPCTSTR key) override { Log("ClosePadPage", key); }
    void ShowOutputBar() override { Log("ShowOutputBar", ""); }
    void HideOutputBar() override { Log("HideOutputBar", ""); }
    void UpdateStatusPane0() override { Log("Pane0", _csStatusText); }
    void UpdateStatusPane3200() override { Log("Pane3200", _csLogNameText); }
    void UpdateStatusPane3201() override { Log("Pane3201", _csRecordsText); }
    void SelectTreeItem(LPCTSTR name) override { Log("SelectTreeItem", name); }
    CDocument* OpenReportDocument(LPCTSTR name) override {
        Log("OpenReportDocument", name);
        if (openAddsPage)
            pages.push_back(name);
        return nullptr;
    }
    void PruneRecentFileList() override { Log("PruneRecentFileList", ""); }

    void Log(const char* what, LPCTSTR arg) { calls.push_back(std::string(what) + ":" + (arg ? arg : "")); }

    std::vector<std::string> calls;
    std::vector<std::string> pages;
    bool openAddsPage = false;

private:
    CReportFrameLink* m_previous = nullptr;
};

// A main window that records each private message sent to it with the request strings at that moment;
// posted ones stay queued until TakePosted.
class RecordingMainWnd : public CWnd {
public:
    struct Message {
        UINT message;
        std::string command;
        std::string reportName;
        std::string listKey;
        std::string docToOpen;
        std::string text;  // the text wParam points to, for WM_GOTOLINE
    };
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message >= WM_USER && message < WM_USER + 0x100) {
            messages.push_back({message, _csCommand.GetString(), _csReportName.GetString(), _csListKey.GetString(),
                                _csDocToOpen.GetString(),
                                message == WM_GOTOLINE && wParam ? (LPCTSTR)wParam : ""});
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    // The messages posted and still queued.
    std::vector<UINT> TakePosted() {
        std::vector<UINT> out;
        MSG m;
        while (PeekMessage(&m, m_hWnd, WM_USER, WM_USER + 0xFF, PM_REMOVE))
            out.push_back(m.message);
        return out;
    }
    std::vector<UINT> Sent() const {
        std::vector<UINT> out;
        for (const Message& m : messages)
            out.push_back(m.message);
        return out;
    }
    std::vector<Message> messages;
};
