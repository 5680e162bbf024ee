// Menu element skins: owner-drawn items of bitmap menus and, in the Office looks, popup frames and
// shadows.
#pragma once

#include <map>

#include "guilib/skins/OXSkinViews.h"
#include "platform/user/ImageList.h"

class COXSkinXP;
class COXSkin2003;

// Item-state flags a bitmap menu adds while it shows only recently used commands.
#define OXODS_RARELYUSED 0x1000
#define OXODS_FIRSTOFRUN 0x2000
#define OXODS_LASTOFRUN 0x4000

// The image of a menu item.
struct COXImageInfo {
    HIMAGELIST imageList = nullptr;
    int index = -1;
    BOOL defaultImage = FALSE;  // a check-mark image: shown only while the item is checked
    int hotIndex = -1;
};

// What a menu skin reads of a bitmap menu.
class COXBitmapMenuView {
public:
    virtual ~COXBitmapMenuView() = default;
    virtual int GetImageColumnWidth() const = 0;
    virtual int GetTextHeight() const = 0;
    virtual int GetAcceleratorWidth() const = 0;
    virtual int GetTextWidth() const = 0;
    virtual BOOL DrawsSubmenuArrows() const = 0;
    // The popup windows of the menu while it is open.
    virtual void AddPopupWindow(HWND) {}
    virtual void RemovePopupWindow(HWND) {}
    // The menu-bar item the open menu dropped from, in screen coordinates; FALSE when none. The popup
    // frame leaves its edge open where it meets that item.
    virtual BOOL GetExcludeRect(RECT*) const { return FALSE; }
};

// What the Office menu skins read of the window that shadows a menu-bar item while its menu is open
// (the window derives from CWnd and this view).
class COXShadowedItemView {
public:
    virtual ~COXShadowedItemView() = default;
    // Where the menu opens from the item: 1 below, 2 to the right, 4 to the left, 8 above.
    virtual int GetOpenSide() const = 0;
    // The tool bar of the item and the button's position in it; null and -1 when none.
    virtual COXCoolToolBarView* GetToolBarView() const = 0;
    virtual int GetButtonIndex() const = 0;
};

// The ten menu metrics.
struct OXMenuMetrics {
    int values[10];
};

class COXMenuSkin {
public:
    virtual ~COXMenuSkin() = default;
    virtual void DrawBackground(CDC* dc, UINT state, COXImageInfo* image, const RECT& item, const RECT& imageCell,
                                COXBitmapMenuView* menu) = 0;
    virtual void DrawImageFrame(CDC* dc, UINT state, COXImageInfo* image, const RECT& frame,
                                COXBitmapMenuView* menu) = 0;
    virtual void DrawImage(CDC* dc, UINT state, COXImageInfo* image, const RECT& rect, COXBitmapMenuView* menu) = 0;
    virtual void DrawText(CDC* dc, UINT state, const CString& text, const RECT& textRect, const RECT& accelRect,
                          COXBitmapMenuView* menu) = 0;
    virtual void DrawSeparator(CDC* dc, const RECT& rect, COXBitmapMenuView* menu) = 0;
    virtual void DrawCustomizedItem(CDC* dc, const RECT& rect, COXBitmapMenuView* menu) = 0;
    virtual void DrawInsertMark(CDC* dc, const RECT& item, BOOL before, COXBitmapMenuView* menu) = 0;
    virtual void DrawSubmenuItem(CDC* dc, UINT state, const CString& text, COXImageInfo* image, const RECT& item,
                                 const RECT& imageFrame, const RECT& textRect, const RECT& accelRect,
                                 COXBitmapMenuView* menu) = 0;
    virtual void DrawExpansionItem(CDC* dc, const RECT& rect, UINT state, COXBitmapMenuView* menu) = 0;
    virtual OXMenuMetrics* GetMetrics() = 0;
    virtual LRESULT PopupWindowProc(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual void OnNcPaintPopup(CWnd* popup) = 0;
    virtual void OnPaintShadowedItem(CWnd* itemWindow) = 0;
    virtual void AdjustExpansionItemHeight(UINT* height, COXBitmapMenuView* menu) = 0;
    virtual void CalcItemLayout(CDC* dc, COXImageInfo* image, const RECT& item, RECT& imageFrame, RECT& imageRect,
                                RECT& textRect, RECT& accelRect, COXBitmapMenuView* menu) = 0;

    // Whether the menu being tracked is a bitmap menu; its popups are the skin's to frame.
    static void SetTrackingBitmapMenu(COXBitmapMenuView* menu);
    static COXBitmapMenuView* GetTrackingBitmapMenu();
};

class COXMenuSkinClassic : public COXMenuSkin {
public:
    COXMenuSkinClassic();
    void DrawBackground(CDC* dc, UINT state, COXImageInfo* image, const RECT& item, const RECT& imageCell,
                        COXBitmapMenuView* menu) override;
    void DrawImageFrame(CDC* dc, UINT state, COXImageInfo* image, const RECT& frame, COXBitmapMenuView* menu) override;
    void DrawImage(CDC* dc, UINT state, COXImageInfo* image, const RECT& rect, COXBitmapMenuView* menu) override;
    void DrawText(CDC* dc, UINT state, const CString& text, const RECT& textRect, const RECT& accelRect,
                  COXBitmapMenuView* menu) override;
    void DrawSeparator(CDC* dc, const RECT& rect, COXBitmapMenuView* menu) override;
    void DrawCustomizedItem(CDC* dc, const RECT& rect, COXBitmapMenuView* menu) override;
    void DrawInsertMark(CDC* dc, const RECT& item, BOOL before, COXBitmapMenuView* menu) override;
    void DrawSubmenuItem(CDC* dc, UINT state, const CString& text, COXImageInfo* image, const RECT& item,
                         const RECT& imageFrame, const RECT& textRect, const RECT& accelRect,
                         COXBitmapMenuView* menu) override;
    void DrawExpansionItem(CDC* dc, const RECT& rect, UINT state, COXBitmapMenuView* menu) override;
    OXMenuMetrics* GetMetrics() override { return &m_metrics; }
    LRESULT PopupWindowProc(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnNcPaintPopup(CWnd* popup) override;
    void OnPaintShadowedItem(CWnd* itemWindow) override;
    void AdjustExpansionItemHeight(UINT*, COXBitmapMenuView*) override {}
    void CalcItemLayout(CDC* dc, COXImageInfo* image, const RECT& item, RECT& imageFrame, RECT& imageRect,
                        RECT& textRect, RECT& accelRect, COXBitmapMenuView* menu) override;

protected:
    // The label and the accelerator of an item text split at its first tab.
    static void SplitText(const CString& text, CString& label, CString& accelerator);
    // The "Marlett" glyph centred in the rectangle.
    static void DrawMarlettGlyph(CDC* dc, const RECT& rect, LPCTSTR glyph, COLORREF colour);
    // The label at the text rectangle and the accelerator right-aligned in its rectangle, with mnemonics.
    static void DrawLabels(CDC* dc, COLORREF colour, UINT flags, const CString& label, const CString& accelerator,
                           const RECT& textRect, const RECT& accelRect);
    OXMenuMetrics m_metrics;
};

class COXMenuSkinXP : public COXMenuSkinClassic {
public:
    explicit COXMenuSkinXP(COXSkinXP* skin);
    void DrawBackground(CDC* dc, UINT state, COXImageInfo* image, const RECT& item, const RECT& imageCell,
                        COXBitmapMenuView* menu) override;
    void DrawImageFrame(CDC* dc, UINT state, COXImageInfo* image, const RECT& frame, COXBitmapMenuView* menu) override;
    void DrawImage(CDC* dc, UINT state, COXImageInfo* image, const RECT& rect, COXBitmapMenuView* menu) override;
    void DrawText(CDC* dc, UINT state, const CString& text, const RECT& textRect, const RECT& accelRect,
                  COXBitmapMenuView* menu) override;
    void DrawSeparator(CDC* dc, const RECT& rect, COXBitmapMenuView* menu) override;
    void DrawCustomizedItem(CDC* dc, const RECT& rect, COXBitmapMenuView* menu) override;
    void DrawSubmenuItem(CDC* dc, UINT state, const CString& text, COXImageInfo* image, const RECT& item,
                         const RECT& imageFrame, const RECT& textRect, const RECT& accelRect,
                         COXBitmapMenuView* menu) override;
    void DrawExpansionItem(CDC* dc, const RECT& rect, UINT state, COXBitmapMenuView* menu) override;
    LRESULT PopupWindowProc(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnNcPaintPopup(CWnd* popup) override;
    void OnPaintShadowedItem(CWnd* itemWindow) override;
    void AdjustExpansionItemHeight(UINT* height, COXBitmapMenuView* menu) override;
    void CalcItemLayout(CDC* dc, COXImageInfo* image, const RECT& item, RECT& imageFrame, RECT& imageRect,
                        RECT& textRect, RECT& accelRect, COXBitmapMenuView* menu) override;

    virtual void FillImageColumn(CDC* dc, const RECT& rect);
    virtual void DrawPopupBorder(CDC* dc, const RECT& rect);
    virtual void FillImageColumnHdc(HDC dc, const RECT& rect);

    // The last position announced for a popup window, while it lives.
    BOOL GetPopupPosition(HWND popup, RECT* rect) const;
    // The shadow over a captured screen image of a window: side 0 both bands, 1 to 4 as the shadowed
    // menu-bar item's open sides.
    static void DrawShadow(CDC* dc, int width, int height, int side);
    // The shadow side number (1 to 4) of an item's open-side flag (1, 2, 4, 8); 1 for any other value.
    static int ShadowSideOf(int openSide);
    // Copies the screen beneath the window into the 4-pixel shadow bands of `dc` (window coordinates,
    // `width` x `height`) and darkens them.
    static void DrawShadowOverScreen(CDC* dc, HWND window, int width, int height, int side);

protected:
    // The popup window drawn whole into `dc` (window coordinates): background, border, image column,
    // frame open towards the menu-bar item, the client printed at its place when asked, and the shadow.
    void PaintPopup(CDC* dc, HWND popup, BOOL printClient);
    // The item's face inside its outline, in window coordinates of the shadowed item window.
    virtual void FillShadowedItem(CDC* dc, const RECT& item, COXShadowedItemView* view, HWND itemWindow);
    // The dropped button drawn into the item window by the look's tool bar skin, over the bar's
    // background when `withBar`; FALSE when the item has no button of a tool bar to draw.
    BOOL DrawDroppedButton(CDC* dc, const RECT& item, COXShadowedItemView* view, HWND itemWindow, BOOL withBar);

    COXSkinXP* m_pSkin;
    std::map<HWND, RECT> m_mapPopupPositions;
};

class COXMenuSkin2003 : public COXMenuSkinXP {
public:
    explicit COXMenuSkin2003(COXSkin2003* skin);
    void DrawBackground(CDC* dc, UINT state, COXImageInfo* image, const RECT& item, const RECT& imageCell,
                        COXBitmapMenuView* menu) override;
    void DrawSeparator(CDC* dc, const RECT& rect, COXBitmapMenuView* menu) override;
    void FillImageColumn(CDC* dc, const RECT& rect) override;
    void DrawPopupBorder(CDC* dc, const RECT& rect) override;
    void FillImageColumnHdc(HDC, const RECT&) override {}

protected:
    // The dropped button as the 2003 tool bar skin draws it, over the bar's gradient (else as Office XP).
    void FillShadowedItem(CDC* dc, const RECT& item, COXShadowedItemView* view, HWND itemWindow) override;
    void ColumnGradient(CDC* dc, const RECT& rect, BOOL rare);
    COXSkin2003* m_pSkin2003;
};
