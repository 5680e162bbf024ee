// Dock-bar element skins: captions, buttons and geometry of docked sizable bars, and dock bars.
#pragma once

#include "guilib/skins/OXSkinViews.h"

class COXSkinXP;
class COXSkin2003;

class COXDockbarSkin {
public:
    virtual ~COXDockbarSkin() = default;
    virtual void DrawGripper(CDC* dc, COXSizeControlBarView* bar) = 0;
    virtual void DrawCloseButton(CDC* dc, COXSizeControlBarView* bar) = 0;
    virtual void DrawSecondButton(CDC* dc, COXSizeControlBarView* bar) = 0;
    virtual int& GetButtonGap() = 0;
    virtual void DrawBackground(CDC* dc, const RECT& rect, COXSizeControlBarView* bar) = 0;
    virtual void DrawSplitter(CDC* dc, const OXSplitter& splitter, COXSizeDockBarView* dockBar) = 0;
    virtual void DrawDockBarNonClient(COXSizeDockBarView* dockBar) = 0;
    virtual void EraseDockBarBackground(CDC* dc, COXSizeDockBarView* dockBar) = 0;
    virtual void CalcNonClientSize(BOOL calcValidRects, RECT& client, COXSizeControlBarView* bar) = 0;
    virtual void CalcCaptionRects(COXSizeControlBarView* bar) = 0;
    virtual COLORREF GetActiveFrameColor() = 0;

protected:
    // Docked and caption switched on.
    static BOOL IsCaptionShown(COXSizeControlBarView* bar);
    // Docked top or bottom: the caption is a strip at the left.
    static BOOL IsHorizontal(COXSizeControlBarView* bar);
    // Client rectangle shrunk by 5, plus `captionSize` on the caption side when shown.
    static void CalcInsetClient(RECT& client, int captionSize, COXSizeControlBarView* bar);
    // The bar's window rectangle in its client coordinates.
    static RECT WindowRectInClient(COXSizeControlBarView* bar);
    // Offset from client to window-DC coordinates.
    static POINT ClientToWindowOffset(COXSizeControlBarView* bar);
};

class COXDockbarSkinClassic : public COXDockbarSkin {
public:
    COXDockbarSkinClassic();
    void DrawGripper(CDC* dc, COXSizeControlBarView* bar) override;
    void DrawCloseButton(CDC* dc, COXSizeControlBarView* bar) override;
    void DrawSecondButton(CDC* dc, COXSizeControlBarView* bar) override;
    int& GetButtonGap() override { return m_nButtonGap; }
    void DrawBackground(CDC* dc, const RECT& rect, COXSizeControlBarView* bar) override;
    void DrawSplitter(CDC* dc, const OXSplitter& splitter, COXSizeDockBarView* dockBar) override;
    void DrawDockBarNonClient(COXSizeDockBarView* dockBar) override;
    void EraseDockBarBackground(CDC* dc, COXSizeDockBarView* dockBar) override;
    void CalcNonClientSize(BOOL calcValidRects, RECT& client, COXSizeControlBarView* bar) override;
    void CalcCaptionRects(COXSizeControlBarView* bar) override;
    COLORREF GetActiveFrameColor() override;

protected:
    CFont m_fontTitle;
    CFont m_fontSmallTitle;
    int m_nButtonGap = 2;
};

class COXDockbarSkinXP : public COXDockbarSkinClassic {
public:
    explicit COXDockbarSkinXP(COXSkinXP* skin);
    void DrawGripper(CDC* dc, COXSizeControlBarView* bar) override;
    void DrawCloseButton(CDC* dc, COXSizeControlBarView* bar) override;
    void DrawSecondButton(CDC* dc, COXSizeControlBarView* bar) override;
    void DrawBackground(CDC* dc, const RECT& rect, COXSizeControlBarView* bar) override;
    void DrawSplitter(CDC* dc, const OXSplitter& splitter, COXSizeDockBarView* dockBar) override;
    void DrawDockBarNonClient(COXSizeDockBarView* dockBar) override;
    COLORREF GetActiveFrameColor() override;

protected:
    virtual COLORREF ButtonBackground(COXSizeControlBarView* bar);
    virtual BOOL ButtonOnSolidCaption(COXSizeControlBarView* bar);
    virtual void ButtonRect(RECT& rect) { rect.left -= 1; rect.top -= 1; rect.right += 2; rect.bottom += 2; }
    COXSkinXP* m_pSkin;
    CFont m_fontBold;
};

class COXDockbarSkin2003 : public COXDockbarSkinXP {
public:
    explicit COXDockbarSkin2003(COXSkin2003* skin);
    void DrawGripper(CDC* dc, COXSizeControlBarView* bar) override;
    void DrawBackground(CDC* dc, const RECT& rect, COXSizeControlBarView* bar) override;
    void DrawSplitter(CDC* dc, const OXSplitter& splitter, COXSizeDockBarView* dockBar) override;
    void DrawDockBarNonClient(COXSizeDockBarView* dockBar) override;
    void EraseDockBarBackground(CDC* dc, COXSizeDockBarView* dockBar) override;
    void CalcNonClientSize(BOOL calcValidRects, RECT& client, COXSizeControlBarView* bar) override;
    void CalcCaptionRects(COXSizeControlBarView* bar) override;

protected:
    COLORREF ButtonBackground(COXSizeControlBarView*) override;
    BOOL ButtonOnSolidCaption(COXSizeControlBarView*) override { return FALSE; }
    COXSkin2003* m_pSkin2003;
};
