// Tab element skins: the tab control of the library, its scroll arrows and the pages' borders.
#pragma once

#include "platform/framework/controls/SpinButtonCtrl.h"
#include "platform/framework/controls/TabCtrl.h"
#include "platform/framework/gdi/DC.h"

class COXSkinXP;
class COXSkin2003;

class COXTabSkin {
public:
    virtual ~COXTabSkin() = default;
    virtual void DrawTabCtrl(CTabCtrl* tab) = 0;
    virtual void DrawSpinCtrl(CSpinButtonCtrl* spin) = 0;
    virtual void DrawPageBorder(CDC* dc, const RECT& rect, CWnd* tabWindow) = 0;
    virtual void DrawNonClient(CWnd* tab) = 0;
    virtual int AdjustDisplayRect(RECT& rect, int amount, CTabCtrl* tab) = 0;
};

class COXTabSkinClassic : public COXTabSkin {
public:
    void DrawTabCtrl(CTabCtrl* tab) override;
    void DrawSpinCtrl(CSpinButtonCtrl* spin) override;
    void DrawPageBorder(CDC* dc, const RECT& rect, CWnd* tabWindow) override;
    void DrawNonClient(CWnd* tab) override;
    int AdjustDisplayRect(RECT&, int amount, CTabCtrl*) override { return amount; }
    // Version 5.1 with an active theme and common controls 6 or later.
    static BOOL IsVisualStyleActive();
};

class COXTabSkinXP : public COXTabSkin {
public:
    explicit COXTabSkinXP(COXSkinXP* skin);
    ~COXTabSkinXP() override;
    void DrawTabCtrl(CTabCtrl* tab) override;
    void DrawSpinCtrl(CSpinButtonCtrl* spin) override;
    void DrawPageBorder(CDC* dc, const RECT& rect, CWnd* tabWindow) override;
    void DrawNonClient(CWnd* tab) override;
    int AdjustDisplayRect(RECT& rect, int amount, CTabCtrl* tab) override;

    virtual void DrawItemContent(DRAWITEMSTRUCT* item, CTabCtrl* tab);
    virtual void FillTabBackground(CDC* dc, const RECT& rect, CTabCtrl* tab);
    virtual void DrawItemBorder(DRAWITEMSTRUCT* item, CTabCtrl* tab);

    // Whether any of the item shows beside the tab control's visible scroll arrows; cuts its right edge
    // at their left edge.
    static BOOL ClipItemToSpin(int index, RECT& rect, CTabCtrl* tab);

protected:
    // The strip behind the tabs (and the spin's background).
    virtual void FillStrip(CDC* dc, const RECT& rect, BOOL tabsAtBottom);
    virtual void FillItem(CDC* dc, const RECT& rect, BOOL selected, BOOL tabsAtBottom);
    virtual void DrawSeparatorLine(CDC* dc, int x, int top, int bottom);
    void DrawLeftArrow(CDC* dc, const RECT& box, BOOL canScroll);
    void DrawRightArrow(CDC* dc, const RECT& box, BOOL canScroll);
    void DrawHotFrame(CDC* dc, const RECT& box);
    static BOOL IsNextItemPressed(int index, CTabCtrl* tab);

    COXSkinXP* m_pSkin;
    CPen m_penShadow;
    CFont m_fontItem;
    CBrush m_brushDark;
    CPen m_penDark;
};

class COXTabSkin2003 : public COXTabSkinXP {
public:
    explicit COXTabSkin2003(COXSkin2003* skin);
    void DrawTabCtrl(CTabCtrl* tab) override;
    void DrawSpinCtrl(CSpinButtonCtrl* spin) override;
    void DrawItemContent(DRAWITEMSTRUCT* item, CTabCtrl* tab) override;
    void FillTabBackground(CDC* dc, const RECT& rect, CTabCtrl* tab) override;
    void DrawItemBorder(DRAWITEMSTRUCT* item, CTabCtrl* tab) override;

protected:
    void FillStrip(CDC* dc, const RECT& rect, BOOL tabsAtBottom) override;
    void FillItem(CDC* dc, const RECT& rect, BOOL selected, BOOL tabsAtBottom) override;
    void DrawSeparatorLine(CDC* dc, int x, int top, int bottom) override;
    COXSkin2003* m_pSkin2003;
};
