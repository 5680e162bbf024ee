// COXDockTabCtrl: the tab strip along the bottom edge of a sizing dock bar. Sizing bars docked in one dock
// bar can be stacked behind it: only the bar of the selected tab shows, each tab carries its bar's title
// (and the bar as item data), a bar dropped on the strip joins it or moves its tab, and dragging a tab
// away tears its bar off.
#pragma once

#include "guilib/controls/OXSkinnedTabCtrl.h"
#include "platform/framework/gdi/GdiObject.h"

class CControlBar;
class COXSizeDockBar;

class COXDockTabCtrl : public COXSkinnedTabCtrl {
    DECLARE_DYNAMIC(COXDockTabCtrl)
public:
    explicit COXDockTabCtrl(COXSizeDockBar* dockBar);
    ~COXDockTabCtrl() override;

    // The tab whose item data is the bar, or -1.
    int FindTab(CControlBar* bar) const;
    CControlBar* GetTabBar(int index) const;
    // -1 unless the screen point lies in the lowest 48 pixels of the dock bar's window; there, the tab
    // under it, or 0 when it is over no tab.
    int HitTestTabs(int x, int y, CControlBar* bar) const;
    // Moves a tab to `to` once the screen point has passed the middle of the target tab.
    void RepositionTab(int from, int to, int x, int y);
    // Shows the selected tab's bar and hides the others' (delayed, through their frame).
    void ShowSelectedBar();
    void RemoveTab(CControlBar* bar);
    void InsertTab(CControlBar* bar, int index, BOOL showSelected);

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    CFont m_font;
    COXSizeDockBar* m_pSizeDockBar;
    CControlBar* m_pLastSelectedBar = nullptr;  // the bar last shown selected on a horizontal dock bar
    POINT m_ptDown{};                           // where the left button went down

    static constexpr int kTabAreaHeight = 28;
    static constexpr int kTabBand = 48;

protected:
    // Starts the drag of the bar whose tab is under a client point (a sizing bar's live drag, a cool tool
    // bar's own); FALSE when no bar's tab is there.
    BOOL TearOff(POINT client);
};
