// CStatusBar: a control bar over the status bar control with one pane per indicator id: the message pane
// (the frame's prompts, "Ready" when idle), panes updated from their commands' handlers at idle time,
// and the keyboard indicators, which show their text while Caps Lock, Num Lock or Scroll Lock is on.
#pragma once

#include <vector>

#include "platform/framework/bars/ControlBar.h"
#include "platform/framework/controls/StatusBarCtrl.h"

// Pane styles.
#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS SBT_NOBORDERS
#define SBPS_POPOUT SBT_POPOUT
#define SBPS_OWNERDRAW SBT_OWNERDRAW
#define SBPS_DISABLED 0x04000000
#define SBPS_STRETCH 0x08000000

class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
public:
    CStatusBar();
    ~CStatusBar() override;

    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT id = AFX_IDW_STATUS_BAR);
    BOOL CreateEx(CWnd* parent, DWORD ctrlStyle = 0, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                  UINT id = AFX_IDW_STATUS_BAR);
    // One pane per id (ID_SEPARATOR: a pane of its own text; first, the stretching message pane), its
    // text the id's string.
    BOOL SetIndicators(const UINT* ids, int count);

    int CommandToIndex(UINT id) const;
    UINT GetItemID(int index) const;
    void GetItemRect(int index, LPRECT rect) const;
    void GetPaneInfo(int index, UINT& id, UINT& style, int& width) const;
    void SetPaneInfo(int index, UINT id, UINT style, int width);
    UINT GetPaneStyle(int index) const;
    void SetPaneStyle(int index, UINT style);
    CString GetPaneText(int index) const;
    BOOL SetPaneText(int index, LPCTSTR text, BOOL update = TRUE);
    CStatusBarCtrl& GetStatusBarCtrl() const { return const_cast<CStatusBarCtrl&>(m_ctrl); }
    // Draws an owner-drawn pane (SBPS_OWNERDRAW).
    virtual void DrawItem(LPDRAWITEMSTRUCT dis) { (void)dis; }

    SIZE CalcFixedLayout(BOOL stretch, BOOL horz) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    struct Pane {
        UINT nID = 0;
        UINT nStyle = 0;
        int cxText = 0;
        CString strText;
    };

protected:
    // Sends the panes' widths and texts to the control.
    void UpdateAllPanes(BOOL updateRects, BOOL updateText);
    int TextWidth(const CString& text) const;
    HFONT Font() const;

    std::vector<Pane> m_panes;
    CStatusBarCtrl m_ctrl;  // the same window, seen as the control
};
