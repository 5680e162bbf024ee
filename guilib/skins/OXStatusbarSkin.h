// Status-bar and frame element skins, and the pane layout of a status bar with stretching panes,
// bitmaps and progress controls.
#pragma once

#include <vector>

#include "guilib/skins/OXSkinViews.h"

class COXSkinXP;
class COXSkin2003;

// Pane styles of the library's status bar.
#define OXSBPS_NOBITMAP 0x04000000
#define OXSBPS_STRETCH 0x08000000
#define OXSBPS_PROGRESS 0x02000000
// Pane flag: its text is set again at the next paint.
#define OXSBPF_UPDATE 0x0001

struct OXStatusPane {
    UINT id = 0;
    int width = 0;  // text width; the pane is 6 wider
    UINT style = 0;
    UINT flags = 0;
    CString text;
};
struct OXPaneBitmap {
    HBITMAP bitmap = nullptr;
    int width = 0;
    int height = 0;
    int alignment = 1;  // 1 stretched; 2 left, 3 centre, 4 right; 5-7 the same, cut instead of stretched
    COLORREF transparent = 0;
};
struct OXPaneProgress {
    HWND control = nullptr;
    RECT rect{};
    BOOL showPercent = FALSE;
};

// What the status-bar skin reads of a status bar.
class COXStatusBarView {
public:
    virtual ~COXStatusBarView() = default;
    virtual HWND GetBarHwnd() const = 0;
    virtual int GetPaneCount() const = 0;
    virtual OXStatusPane* GetPaneRecord(int index) = 0;  // null outside the panes
    virtual OXPaneBitmap* GetPaneBitmap(int index) = 0;
    virtual HFONT GetPaneFont(int index) = 0;
    virtual OXPaneProgress* GetPaneProgress(int index) = 0;
    // Width inside the bar's borders.
    virtual int GetInsideWidth() = 0;
    virtual void SetPaneText(int index, const CString& text) = 0;
    virtual void DrawItem(DRAWITEMSTRUCT* item) = 0;
    virtual LRESULT Default() = 0;
};

// The widths the stretching panes take of `room` (negative room counts as 0): each takes what is left
// divided by the stretching panes still to serve, so any remainder goes to the later ones.
std::vector<int> OXShareStretchRoom(int room, int stretchingPanes);

class COXStatusbarSkin {
public:
    virtual ~COXStatusbarSkin() = default;
    virtual void DrawStatusBar(COXStatusBarView* bar) = 0;
    virtual void DrawPanes(CDC* dc, COXStatusBarView* bar) = 0;
    virtual void DrawPaneBorders(CDC* dc, COXStatusBarView* bar) = 0;
    virtual void DrawSizeGrip(CDC* dc, COXStatusBarView* bar) = 0;

    // Pane layout: with `relayout` the room is shared among the stretching panes and progress controls
    // move into their panes; with `refreshTexts` panes flagged for update get their texts again.
    static void RecalcStatusPanes(COXStatusBarView* bar, BOOL relayout, BOOL refreshTexts);
    // The pane's rectangle inside its borders; FALSE for an empty one.
    static BOOL GetPaneInnerRect(COXStatusBarView* bar, int index, RECT& rect, BOOL shrinkBottom);
    static void DrawPaneBitmap(COXStatusBarView* bar, CDC* dc, int index, UINT style);
    static BOOL CreatePaneProgress(COXStatusBarView* bar, int index, OXPaneProgress* record);

protected:
    static void PaintBitmaps(CDC* dc, COXStatusBarView* bar);
};

class COXStatusbarSkinClassic : public COXStatusbarSkin {
public:
    void DrawStatusBar(COXStatusBarView* bar) override;
    void DrawPanes(CDC*, COXStatusBarView*) override {}
    void DrawPaneBorders(CDC*, COXStatusBarView*) override {}
    void DrawSizeGrip(CDC*, COXStatusBarView*) override {}
};

class COXStatusbarSkinXP : public COXStatusbarSkin {
public:
    explicit COXStatusbarSkinXP(COXSkinXP* skin) : m_pSkin(skin) {}
    void DrawStatusBar(COXStatusBarView* bar) override;
    void DrawPanes(CDC* dc, COXStatusBarView* bar) override;
    void DrawPaneBorders(CDC* dc, COXStatusBarView* bar) override;
    void DrawSizeGrip(CDC* dc, COXStatusBarView* bar) override;

protected:
    void DrawIndicatorPane(CDC* dc, const RECT& rect, COXStatusBarView* bar, int index, BOOL on);
    virtual void FillPanesBackground(CDC* dc, const RECT& client);
    static RECT PaneRect(COXStatusBarView* bar, int index);
    static BOOL HasGrip(COXStatusBarView* bar);
    COXSkinXP* m_pSkin;
};

class COXStatusbarSkin2003 : public COXStatusbarSkinXP {
public:
    explicit COXStatusbarSkin2003(COXSkin2003* skin);
    void DrawPaneBorders(CDC* dc, COXStatusBarView* bar) override;
    void DrawSizeGrip(CDC* dc, COXStatusBarView* bar) override;
    void DrawStatusBackground(CDC* dc, const RECT& rect);

protected:
    void FillPanesBackground(CDC* dc, const RECT& client) override { DrawStatusBackground(dc, client); }
    COXSkin2003* m_pSkin2003;
};

class COXFrameSkin {
public:
    virtual ~COXFrameSkin() = default;
    virtual void DrawFrameBorder(CWnd* window) = 0;
    virtual void InflateFrameRect(RECT& rect, CWnd* window) = 0;
    virtual COLORREF GetFrameFaceColor() = 0;
    virtual COLORREF GetFrameBorderColor() = 0;
};

class COXFrameSkinClassic : public COXFrameSkin {
public:
    void DrawFrameBorder(CWnd*) override {}
    void InflateFrameRect(RECT&, CWnd*) override {}
    COLORREF GetFrameFaceColor() override;
    COLORREF GetFrameBorderColor() override;
};

class COXFrameSkinXP : public COXFrameSkin {
public:
    explicit COXFrameSkinXP(COXSkinXP* skin) : m_pSkin(skin) {}
    void DrawFrameBorder(CWnd* window) override;
    void InflateFrameRect(RECT& rect, CWnd*) override;
    COLORREF GetFrameFaceColor() override;
    COLORREF GetFrameBorderColor() override;

protected:
    COXSkinXP* m_pSkin;
};

class COXFrameSkin2003 : public COXFrameSkinXP {
public:
    explicit COXFrameSkin2003(COXSkin2003* skin);
    COLORREF GetFrameFaceColor() override;
    COLORREF GetFrameBorderColor() override;

protected:
    COXSkin2003* m_pSkin2003;
};
