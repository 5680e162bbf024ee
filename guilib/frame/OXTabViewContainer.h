// COXTabViewContainer: a child window holding windows (usually views) as pages, showing one at a time and
// choosing them with sheet tabs in a strip along its bottom edge: four scroll buttons scroll the tabs, a
// splitter divides the tab area from a horizontal scroll bar, a vertical scroll bar runs down the right
// edge and a size box sits in the corner. The container's scroll bars stand in for the active page's.
#pragma once

#include "platform/base/Collections.h"
#include "platform/framework/controls/ScrollBar.h"
#include "platform/framework/frames/FrameWnd.h"

// The user-data mark by which a page knows its parent is a container.
#define ID_TABVIEWCONTAINER_SIGN 0x3A7B4567
#define IDT_SCROLLPAGE_TIMER 122
#define ID_SCROLLPAGE_DELAY 200
#define IDC_TABVIEWCONTAINER_HSCROLL 59904
#define IDC_TABVIEWCONTAINER_VSCROLL 59920
#define IDC_TABVIEWCONTAINER_SPLITTER_CURSOR 30980

struct _tagPAGEINFO {
    CWnd* pWnd = nullptr;
    CString sTitle;
    BOOL bHasScrollHorz = FALSE;
    BOOL bHasScrollVert = FALSE;
    SCROLLINFO scrlInfoHorz{};
    SCROLLINFO scrlInfoVert{};
};
typedef _tagPAGEINFO PAGEINFO;

class COXTabViewContainer : public CWnd {
    DECLARE_DYNAMIC(COXTabViewContainer)
public:
    // Hit-test codes; 0 and above are tab indexes.
    enum {
        HSCROLL = -1,
        VSCROLL = -2,
        SCRLSTARTBTN = -3,
        SCRLBACKWARDBTN = -4,
        SCRLFORWARDBTN = -5,
        SCRLENDBTN = -6,
        SPLITTER = -7,
        PAGE = -8,
        TABBTNAREA = -9,
        SIZEBAR = -10,
        NONE = -11
    };
    static constexpr int kSplitterWidth = 6;
    static constexpr int kTabOverlap = 5;
    static constexpr int kTabTextGap = 16;
    static constexpr int kMinScrollBarWidth = 60;
    static constexpr int kInitialTabAreaWidth = 200;
    static constexpr int kScrollStep = 15;

    COXTabViewContainer();
    ~COXTabViewContainer() override;

    BOOL Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                LPVOID context = nullptr) override;
    virtual BOOL CreateContainer(CWnd* parent, const RECT& rect, DWORD style, UINT id);
    virtual BOOL InsertPage(int index, CWnd* page, LPCTSTR title);
    BOOL AddPage(CWnd* page, LPCTSTR title) { return InsertPage(GetPageCount(), page, title); }
    virtual BOOL InsertViewPage(int index, const CRuntimeClass* viewClass, CCreateContext* context, LPCTSTR title);
    BOOL AddViewPage(const CRuntimeClass* viewClass, CCreateContext* context, LPCTSTR title) {
        return InsertViewPage(GetPageCount(), viewClass, context, title);
    }
    virtual BOOL DeletePage(int index, BOOL destroy = TRUE);
    BOOL DeletePage(const CWnd* page, BOOL destroy = TRUE) { return DeletePage(FindPageIndex(page), destroy); }
    virtual BOOL SetActivePage(int index);
    BOOL SetActivePage(const CWnd* page) { return SetActivePage(FindPageIndex(page)); }
    virtual BOOL SaveState(LPCTSTR section);
    virtual BOOL LoadState(LPCTSTR section);
    virtual void SetScrollStyle(DWORD style, BOOL force = FALSE);
    virtual void RecalcLayout();
    virtual void CalcTabWidths();
    virtual UINT GetUniqueId();
    virtual void DrawScrollButtons(HDC dc);
    virtual void DrawTabArea(HDC dc);
    virtual void DrawSplitter(HDC dc);
    virtual void DrawSizeBox(HDC dc);
    virtual void DrawScrollButton(HDC dc, const RECT& rect, int hitCode);
    virtual void DrawTab(HDC dc, int index);

    int HitTest(POINT point) const;
    int GetPageCount() const { return (int)m_arrPages.GetSize(); }
    CWnd* GetPage(int index) const;
    CString GetPageTitle(int index) const;
    BOOL SetPageTitle(int index, LPCTSTR title);
    int FindPageIndex(const CWnd* page) const;
    int FindPageIndex(HWND page) const;
    CWnd* FindPageByTitle(LPCTSTR title) const;
    int FindPageIndexByTitle(LPCTSTR title) const;
    CWnd* GetActivePage() const { return GetPage(m_nActivePageIndex); }
    int GetActivePageIndex() const { return m_nActivePageIndex; }
    CString GetPageTitleOf(const CWnd* page) const { return GetPageTitle(FindPageIndex(page)); }
    BOOL IsPage(const CWnd* page) const { return FindPageIndex(page) != -1; }
    DWORD GetScrollStyle() const { return m_dwScrollStyle; }
    int GetTabAreaWidth() const { return m_nLastTabBtnAreaWidth; }
    int GetTabOffset() const { return m_nTabBtnAreaOrigin; }
    // Layout rectangles in client coordinates; tab rectangles relative to the tab area.
    RECT GetTabAreaRect() const { return m_rectTabBtnArea; }
    RECT GetTabRect(int index) const { return m_arrTabBtnRects[index]; }
    RECT GetPageRect() const { return m_rectPage; }
    RECT GetSplitterRect() const { return m_rectSplitter; }
    RECT GetScrollButtonRect(int hitCode) const;
    RECT GetHorzScrollBarRect() const { return m_rectScrollBarHorz; }
    RECT GetVertScrollBarRect() const { return m_rectScrollBarVert; }
    RECT GetSizeBoxRect() const { return m_rectSizeBar; }
    CScrollBar* GetHorzScrollBar() { return &m_scrlBarHorz; }
    CScrollBar* GetVertScrollBar() { return &m_scrlBarVert; }

    // The active page's scroll bars: its scroll info copied onto the container's controls, and its needs
    // found again; the page template asks for both.
    void UpdateScrollInfo();
    void UpdateScrollState();

    // The container that is `window`'s parent, or null.
    static COXTabViewContainer* GetParentTabViewContainer(const CWnd* window, BOOL check = TRUE);

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    RECT m_rectScrollToStartBtn{}, m_rectScrollBackwardBtn{}, m_rectScrollForwardBtn{}, m_rectScrollToEndBtn{};
    RECT m_rectTabBtnArea{};
    int m_nTabBtnAreaOrigin = 0;
    CArray<RECT, const RECT&> m_arrTabBtnRects;
    int m_nLastTabBtnAreaWidth = kInitialTabAreaWidth;
    RECT m_rectScrollBarHorz{}, m_rectScrollBarVert{}, m_rectSplitter{}, m_rectSizeBar{}, m_rectPage{};
    CArray<PAGEINFO, const PAGEINFO&> m_arrPages;
    int m_nActivePageIndex = -1;
    DWORD m_dwScrollStyle = 0;
    CArray<UINT, UINT> m_arrUniqueIDs;
    CScrollBar m_scrlBarHorz, m_scrlBarVert;
    int m_nPressedScrlBtn = NONE;
    BOOL m_bIsScrlBtnPressed = FALSE;
    INT_PTR m_nScrollPageTimer = -1;
    BOOL m_bIsSplitterPressed = FALSE;
    HFONT m_fontTabBtnText = nullptr;
    HFONT m_fontActiveTabBtnText = nullptr;

    // Scroll state handed between a page and the container's controls.
    void GetPageScrollInfo(PAGEINFO& info, BOOL horz, BOOL vert);
    void TakeOverScrollBars(int index);
    void GiveBackScrollBars(int index);
    void ScrollTabs(int hitCode);
    void EnsureTabVisible(int index);
    void FitActivePage();
    void RedrawTabArea();
    void OnPaint();
    void OnSize(UINT type, int cx, int cy);
    void OnLButtonDown(POINT p);
    void OnMouseMove(POINT p);
    void OnLButtonUp();
    void OnTimer(UINT_PTR id);
    BOOL OnSetCursor(UINT hitTest);
    void StopTracking();
};
