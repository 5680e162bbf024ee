// Mini-frame element skins: the caption and close button of a floating frame of sizable bars.
#pragma once

#include "guilib/skins/OXSkinViews.h"

class COXSkinXP;

// What a mini-frame skin reads of a floating frame.
class COXMiniFrameView {
public:
    virtual ~COXMiniFrameView() = default;
    virtual HWND GetFrameHwnd() const = 0;
    virtual LRESULT Default() = 0;
    // The frame's own WM_NCACTIVATE answer (Classic look).
    virtual BOOL DefaultNcActivate(BOOL active) = 0;
    // When the frame's first bar is the view bar of a docked MDI child whose window exists: that child.
    virtual HWND GetViewBarChild() const { return nullptr; }
    // The active MDI child of the main frame the frame floats over, as that frame counts it (a docked
    // child may be the active one).
    virtual HWND GetActiveMDIChild() const { return nullptr; }
};

class COXMiniFrameSkin {
public:
    virtual ~COXMiniFrameSkin() = default;
    virtual void OnNcPaint(COXMiniFrameView* frame) = 0;
    virtual BOOL OnNcActivate(BOOL active, COXMiniFrameView* frame) = 0;
    virtual void DrawCaption(COXMiniFrameView* frame) = 0;
    virtual void DrawCloseButton(COXMiniFrameView* frame) = 0;
    // The frame's hit-test answer at a screen point, given the frame's own answer: a skin that draws its
    // own close button answers HTCLOSE where it draws it.
    virtual LRESULT HitTest(COXMiniFrameView*, POINT, LRESULT frameHit) { return frameHit; }
};

class COXMiniFrameSkinClassic : public COXMiniFrameSkin {
public:
    void OnNcPaint(COXMiniFrameView* frame) override { frame->Default(); }
    // A docked MDI child's floating view bar looks active only while its child is the active one.
    BOOL OnNcActivate(BOOL active, COXMiniFrameView* frame) override;
    void DrawCaption(COXMiniFrameView*) override {}
    void DrawCloseButton(COXMiniFrameView*) override {}
};

class COXMiniFrameSkinXP : public COXMiniFrameSkin {
public:
    explicit COXMiniFrameSkinXP(COXSkinXP* skin);
    void OnNcPaint(COXMiniFrameView* frame) override;
    BOOL OnNcActivate(BOOL, COXMiniFrameView*) override { return TRUE; }
    void DrawCaption(COXMiniFrameView* frame) override;
    void DrawCloseButton(COXMiniFrameView* frame) override;
    LRESULT HitTest(COXMiniFrameView* frame, POINT screen, LRESULT frameHit) override;

    // The caption rectangle in window coordinates.
    static RECT GetCaptionRect(HWND frame);
    // The close button: a square as high as the caption at its right end (window coordinates); empty when
    // the frame has no window menu with items.
    static RECT GetCloseButtonRect(HWND frame);

protected:
    COXSkinXP* m_pSkin;
    CFont m_fontCaption;
    int m_nReserved = 0;
};
