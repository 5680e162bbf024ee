// COXSizeDockBar: the dock bar on each edge of a docking frame. Besides fixed bars it holds sizing bars in
// rows: the bars of a row share its length in proportion to their sizes, an 8-pixel splitter lies between
// two sizing bars of a row and between rows, splitters are dragged to resize, and a bar can be maximized
// in its row.
#pragma once

#include <memory>

#include "guilib/frame/OXDockTabCtrl.h"
#include "guilib/skins/OXSkinViews.h"
#include "platform/framework/bars/DockBar.h"

class COXSizeControlBar;
class COXDockbarSkin;
class COXDockbarSkinClassic;

// A splitter of a sizing dock bar: kind 1 is a vertical strip 8 wide, kind 2 a horizontal strip 8 high;
// m_nPos is the index in the bar array of the bar or row it belongs to.
class COXSplitterRect : public CObject {
public:
    COXSplitterRect(int type, const RECT& rect) : m_rect(rect), m_type(type) {}
    RECT m_rect;
    int m_type;
    int m_nPos = 0;
};

constexpr int OX_SPLITTER_SIZE = 8;

// Cursor resources of the splitters: between the bars of a row, and between rows.
#define IDC_OX_SPLITTER_WE 30980
#define IDC_OX_SPLITTER_NS 30981

class COXSizeDockBar : public CDockBar, public COXSizeDockBarView {
    DECLARE_DYNAMIC(COXSizeDockBar)
public:
    COXSizeDockBar();
    ~COXSizeDockBar() override;

    SIZE CalcFixedLayout(BOOL stretch, BOOL horz) override;
    void DockControlBar(CControlBar* bar, const RECT* rect = nullptr) override;
    void MakeRoomInRow(COXSizeControlBar* bar);
    // The sizing dock bar of the main frame that a bar dragged to `screen` would dock into, or null.
    static COXSizeDockBar* FindDockBarAt(POINT screen, CControlBar* bar);
    void MaximizeInRow(COXSizeControlBar* bar, BOOL maximize);
    // 28 while the tab strip has tabs, else 0.
    int GetTabAreaHeight() const;
    // Moves the tab strip to the bottom of the client area, as high as the tab area.
    void PlaceTabStrip();
    int CountBarsInRow(COXSizeControlBar* bar, const RECT& rect);
    int CountStackedBars(COXSizeControlBar* bar);
    int CountSizeBarsExcept(CControlBar* bar);
    int CountVisibleSizeBarsExcept(CControlBar* bar);
    // Removes the tabs of bars that left this dock bar or whose windows are gone.
    void DropStrayTabs();
    COXSizeControlBar* FindOtherSizeBar(CControlBar* bar);

    // Row sharing: the sizing bars of the row starting at `start` share `available` pixels.
    void SetRowSizes(int start, int available);
    // The index after the row that starts at `start` (its null entry).
    int RowEnd(int start) const;
    BOOL IsHorzDockBar() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }
    void ResetRowSignature() { m_CountBars = 0; }
    unsigned CalcRowSignature() const;

    // COXSizeDockBarView.
    HWND GetDockBarHwnd() const override { return m_hWnd; }
    BOOL HoldsSizeBar() const override;
    LRESULT Default() override { return CWnd::Default(); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    CObArray m_SplitArr;               // COXSplitterRect*, rebuilt by every layout
    COXSplitterRect* m_pSplitCapture = nullptr;
    HCURSOR m_hcurSizeWE = nullptr, m_hcurSizeNS = nullptr;
    int m_LastWidth = 65535, m_LastHeight = 65535;
    unsigned m_CountBars = 0;
    CPtrArray m_arrHiddenBars;
    COXDockTabCtrl m_wndDockTabCtrl{this};
    static constexpr UINT kTabCtrlId = 3000;

    // Row statistics (visible bars with windows only).
    struct RowStats {
        int sizingLength = 0, fixedLength = 0, maxThickness = 0, maxFixedThickness = 0;
        int sizingBars = 0, bars = 0, totalLength = 0;
        SIZE minTrack{0, 0};
    };
    RowStats GetRowStats(int start) const;

protected:
    COXDockbarSkin* GetDockbarSkin();
    void DeleteSplitters();
    void AddSplitter(int type, const RECT& rect, int pos);
    COXSplitterRect* HitSplitter(POINT client) const;
    void OnSizeParentPass(AFX_SIZEPARENTPARAMS* layout);
    void TrackSplitter(COXSplitterRect* splitter, POINT client);
    // The bar's length along this dock bar and its thickness across it.
    int Length(const RECT& r) const { return IsHorzDockBar() ? r.right - r.left : r.bottom - r.top; }
    RECT BarRectInClient(CControlBar* bar) const;
    std::unique_ptr<COXDockbarSkinClassic> m_pDockbarSkin;
    CFrameWnd* GetMainFrame() const;
};

// True for a sizing bar (COXSizeControlBar).
BOOL OXIsSizeBar(const CControlBar* bar);
