// CDockBar: the bar along one side of a frame (or inside a floating frame) that holds docked control bars
// in rows. Its list holds the bars in order, a null entry ending each row (and one before the first); an
// entry below 0x10000 is the placeholder of a bar id: the place a bar that floated, or that a loaded dock
// state names but that does not exist yet, takes when it docks here again.
#pragma once

#include "platform/framework/bars/ControlBar.h"

// Posted to a floating frame whose last bar went away while it was being destroyed.
#define WM_FLOATINGFRAMEEMPTY 0x037E

class CDockBar : public CControlBar {
    DECLARE_DYNAMIC(CDockBar)
public:
    explicit CDockBar(BOOL floating = FALSE);
    BOOL Create(CWnd* parent, DWORD style, UINT id);

    BOOL m_bFloating;
    BOOL m_bLayoutQuery = FALSE;
    RECT m_rectLayout{};
    CPtrArray m_arrBars;

    BOOL IsDockBar() const override { return TRUE; }
    static bool IsPlaceholder(const void* entry) { return entry && (UINT_PTR)entry < 0x10000; }
    static void* Placeholder(UINT id) { return (void*)(UINT_PTR)(id & 0xFFFF); }
    // The bar of an entry (null for row ends and placeholders).
    CControlBar* GetBar(INT_PTR index) const;
    int GetDockedCount() const;
    int GetDockedVisibleCount() const;
    // The index of the entry (a bar or a placeholder), or -1.
    INT_PTR FindBar(const void* entry, INT_PTR exclude = -1) const;

    // Docks a bar: at the drop rectangle (screen coordinates) when given, else in its placeholder here,
    // else as a new last row.
    virtual void DockControlBar(CControlBar* bar, const RECT* rect = nullptr);
    // Docks a bar back where it was (its placeholder here, or the rectangle).
    void ReDockControlBar(CControlBar* bar, const RECT* rect = nullptr);
    // A floating dock bar takes the bar's floating style, and its frame the bar's title when it holds one.
    void TakeFloatingStyleOf(CControlBar* bar);
    // Takes a bar out, leaving its placeholder when asked. A floating dock bar hides its frame with its
    // last visible bar and destroys it with its last bar.
    BOOL RemoveControlBar(CControlBar* bar, INT_PTR exclude = -1, int addPlaceholder = 0);
    void RemovePlaceholder(UINT id);
    // Makes the list one null before the first row and one after each row.
    void RemoveEmptyRows();
    // Shows or hides a floating dock bar's frame after its bars.
    void ShowAll(BOOL show);

    SIZE CalcFixedLayout(BOOL stretch, BOOL horz) override;
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
    void GetBarInfo(CControlBarInfo* info) override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // Where a bar dropped at `rect` (client coordinates) goes in the list.
    INT_PTR Insert(CControlBar* bar, const RECT& rect);
    bool m_bDestroying = false;
};
