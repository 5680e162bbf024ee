// Toolbar element skins: Classic, Office XP and Office 2003.
#pragma once

#include "guilib/skins/OXSkinViews.h"

class COXSkinXP;
class COXSkin2003;

class COXToolbarSkin {
public:
    virtual ~COXToolbarSkin() = default;
    virtual void DrawGripper(CDC* dc, RECT& rect, COXCoolToolBarView* bar) = 0;
    virtual void DrawNonClientArea(CDC* dc, const RECT& windowRect, COXCoolToolBarView* bar) = 0;
    virtual void DrawSeparator(CDC* dc, RECT& rect, COXCoolToolBarView* bar) = 0;
    virtual void DrawCustomizedButton(CDC* dc, RECT& rect, COXCoolToolBarView* bar) = 0;
    // The bar's NM_CUSTOMDRAW; the record is an NMTBCUSTOMDRAW from common controls 4.71 on.
    virtual void OnCustomDraw(NMHDR* notify, LRESULT* result, COXCoolToolBarView* bar) = 0;
    virtual void OnPaint(COXCoolToolBarView* bar) = 0;
    virtual void OnNotUsed(HWND) {}
    virtual void DrawComboBox(HWND comboBox) = 0;
    virtual void DrawEditBox(HWND edit) = 0;
    virtual void DrawMDIButtons(CDC* dc, COXMenuBarView* menuBar) = 0;
    // TRUE: the bar erases its background as a plain tool bar does.
    virtual BOOL IsDefaultEraseBkgnd() = 0;

protected:
    // Offers the drawing to the frame (notification 0x807B); TRUE when the frame took it over.
    static BOOL OfferToFrame(NMHDR* notify, LRESULT* result, COXCoolToolBarView* bar);
};

class COXToolbarSkinClassic : public COXToolbarSkin {
public:
    void DrawGripper(CDC* dc, RECT& rect, COXCoolToolBarView* bar) override;
    void DrawNonClientArea(CDC* dc, const RECT& windowRect, COXCoolToolBarView* bar) override;
    void DrawSeparator(CDC* dc, RECT& rect, COXCoolToolBarView* bar) override;
    void DrawCustomizedButton(CDC* dc, RECT& rect, COXCoolToolBarView* bar) override;
    void OnCustomDraw(NMHDR* notify, LRESULT* result, COXCoolToolBarView* bar) override;
    void OnPaint(COXCoolToolBarView* bar) override;
    void DrawComboBox(HWND) override {}
    void DrawEditBox(HWND) override {}
    void DrawMDIButtons(CDC* dc, COXMenuBarView* menuBar) override;
    BOOL IsDefaultEraseBkgnd() override { return TRUE; }
};

class COXToolbarSkinXP : public COXToolbarSkin {
public:
    explicit COXToolbarSkinXP(COXSkinXP* skin) : m_pSkin(skin) {}
    void DrawGripper(CDC* dc, RECT& rect, COXCoolToolBarView* bar) override;
    void DrawNonClientArea(CDC* dc, const RECT& windowRect, COXCoolToolBarView* bar) override;
    void DrawSeparator(CDC* dc, RECT& rect, COXCoolToolBarView* bar) override;
    void DrawCustomizedButton(CDC* dc, RECT& rect, COXCoolToolBarView* bar) override;
    void OnCustomDraw(NMHDR* notify, LRESULT* result, COXCoolToolBarView* bar) override;
    void OnPaint(COXCoolToolBarView* bar) override;
    void DrawComboBox(HWND comboBox) override;
    void DrawEditBox(HWND edit) override;
    void DrawMDIButtons(CDC* dc, COXMenuBarView* menuBar) override;
    BOOL IsDefaultEraseBkgnd() override { return FALSE; }

    virtual void DrawBackground(CDC* dc, COXCoolToolBarView* bar);
    virtual void DrawButton(CDC* dc, const TBBUTTON& button, const RECT& rect, COXCoolToolBarView* bar,
                            BOOL drawBackground);
    virtual void FillBackgroundRect(CDC* dc, const RECT& rect);

protected:
    // The fill and border of a highlighted button; FALSE for a normal one.
    virtual void FillButton(CDC* dc, const RECT& inner, OXToolbarState state);
    COXSkinXP* m_pSkin;
};

class COXToolbarSkin2003 : public COXToolbarSkinXP {
public:
    explicit COXToolbarSkin2003(COXSkin2003* skin);
    void DrawGripper(CDC* dc, RECT& rect, COXCoolToolBarView* bar) override;
    void DrawNonClientArea(CDC* dc, const RECT& windowRect, COXCoolToolBarView* bar) override;
    void DrawSeparator(CDC* dc, RECT& rect, COXCoolToolBarView* bar) override;
    void DrawBackground(CDC* dc, COXCoolToolBarView* bar) override;
    void FillBackgroundRect(CDC*, const RECT&) override {}

protected:
    void FillButton(CDC* dc, const RECT& inner, OXToolbarState state) override;
    // The dock band behind the bar, over `rect` in the bar's coordinates.
    void DrawBand(CDC* dc, const RECT& rect, COXCoolToolBarView* bar);
    COXSkin2003* m_pSkin2003;
};

// The notification a tool bar sends its frame before it custom-draws, so that the frame can draw instead.
#define OXTBN_CUSTOMDRAW 0x807B
struct OXNMCUSTOMDRAWOFFER {
    NMHDR hdr;
    NMCUSTOMDRAW* customDraw;
    LRESULT result;
    BOOL doDefault;  // the frame clears it to keep the skin from drawing
};

// Common controls 4.71: the first version with NMTBCUSTOMDRAW and the TBCDRF_ answers.
#define OX_COMCTL_471 0x40047
