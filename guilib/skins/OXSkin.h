// Looks: named sets of element skins, one of each kind, and the colours of the Office looks.
#pragma once

#include "platform/base/Collections.h"
#include "platform/framework/gdi/DC.h"
#include "platform/framework/window/Wnd.h"
#include "platform/user/ImageList.h"

class COXToolbarSkin;
class COXMenuSkin;
class COXDockbarSkin;
class COXTabSkin;
class COXShortcutBarSkin;
class COXMiniFrameSkin;
class COXStatusbarSkin;
class COXFrameSkin;

// A look. The concrete look's constructor fills the nine element skins; this destructor deletes them.
class COXSkin {
public:
    virtual ~COXSkin();
    // 0 for Classic, 1 for the Office looks.
    virtual int GetSkinType() = 0;

    COXToolbarSkin* GetToolbarSkin() const { return m_pToolbarSkin; }
    COXMenuSkin* GetMenuSkin() const { return m_pMenuSkin; }
    COXDockbarSkin* GetDockbarSkin() const { return m_pDockbarSkin; }
    COXTabSkin* GetTabSkin() const { return m_pTabSkin; }
    COXShortcutBarSkin* GetShortcutBarSkin() const { return m_pShortcutBarSkin; }
    COXMiniFrameSkin* GetMiniFrameSkin() const { return m_pMiniFrameSkin; }
    // The status-bar and frame skins, for a status bar or frame an application ties to the look.
    COXStatusbarSkin* GetStatusbarSkin() const { return m_pStatusbarSkin; }
    COXFrameSkin* GetFrameSkin() const { return m_pFrameSkin; }
    CString GetName() const { return m_strName; }

protected:
    COXSkin() = default;
    COXSkin(const COXSkin&) = delete;
    COXSkin& operator=(const COXSkin&) = delete;

    CString m_strName;
    COXToolbarSkin* m_pToolbarSkin = nullptr;
    COXMenuSkin* m_pMenuSkin = nullptr;
    COXToolbarSkin* m_pToolbarSkin2 = nullptr;  // created with the look; nothing reads it
    COXDockbarSkin* m_pDockbarSkin = nullptr;
    COXTabSkin* m_pTabSkin = nullptr;
    COXShortcutBarSkin* m_pShortcutBarSkin = nullptr;
    COXMiniFrameSkin* m_pMiniFrameSkin = nullptr;
    COXStatusbarSkin* m_pStatusbarSkin = nullptr;
    COXFrameSkin* m_pFrameSkin = nullptr;
};

class COXSkinClassic : public COXSkin {
public:
    COXSkinClassic();
    int GetSkinType() override { return 0; }
};

// Gradient fill of a rectangle, line by line: one row (top to bottom) or one column (left to right) a
// step, each component start + (end - start) * i / n.
BOOL OXDrawLineGradient(CDC* dc, const RECT& rect, COLORREF start, COLORREF end, BOOL topToBottom);

class COXSkinXP : public virtual COXSkin {
public:
    COXSkinXP();
    int GetSkinType() override { return 1; }

    virtual COLORREF GetHotItemColor();
    virtual COLORREF GetCheckedItemColor();
    virtual COLORREF GetPressedItemColor();
    virtual COLORREF GetHighlightBorderColor();
    virtual COLORREF GetMenuBackgroundColor();
    virtual COLORREF GetShadowColor();
    virtual COLORREF GetBarBackgroundColor();
    virtual COLORREF GetFaceColor();
    virtual COLORREF GetDarkTextColor();
    virtual COLORREF GetLightShadowColor();
    virtual COLORREF GetFrameShadowColor();
    virtual COLORREF GetSoftShadowColor();
    virtual COLORREF GetEdgeColor();
    virtual COLORREF GetCaptionTextColor();
    virtual COLORREF GetDarkShadowColor();
    virtual COLORREF GetAltBarBackgroundColor();
    virtual COLORREF GetGrayTextColor();
    virtual COLORREF GetAltLightShadowColor();
    // A small caption button (DFCS_CAPTIONCLOSE, DFCS_CAPTIONMAX, DFCS_CAPTIONMIN or
    // DFCS_CAPTIONRESTORE) in rect, given in the coordinates of the window DC of `window`.
    virtual void DrawCaptionButton(CDC* dc, const RECT& rect, UINT glyph, BOOL disabled, BOOL onSolidCaption,
                                   COLORREF background, HWND window);

    // Colour functions; a COLORREF is 0x00BBGGRR.
    static COLORREF AdjustColor(COLORREF color, int dR, int dG, int dB);
    static COLORREF ScaleColor(COLORREF color, float fR, float fG, float fB);
    static COLORREF BlendColors(COLORREF c1, COLORREF c2, COLORREF c3, float w1, float w2, float w3);
    static COLORREF InvertColor(COLORREF color);
    static COLORREF DarkenColor(int amount, COLORREF color);
    static COLORREF GetPixelOrZero(CDC* dc, int x, int y, BOOL skip);
    // Sets a pixel: with `restore` to savedColours[index] (index then advances), else to `color`; with
    // `save`, appends `color`. An index outside the array sets `color` and does not advance.
    static void SetSavedPixel(CDC* dc, int x, int y, COLORREF color, BOOL save, BOOL restore,
                              CDWordArray& savedColours, int& index);
    // Left to right from start to endTall when the rectangle is narrower than tall, else top to bottom
    // from start to endWide.
    static BOOL DrawGradientRect(CDC* dc, const RECT& rect, COLORREF start, COLORREF endTall, COLORREF endWide);
    // Copies the bitmap to (x, y), leaving the destination where the bitmap has the transparent colour.
    static void DrawMaskedBitmap(CBitmap* bitmap, CDC* dc, int x, int y, int width, int height,
                                 COLORREF transparent);

protected:
    explicit COXSkinXP(bool createSkins);
    // The background of an idle or disabled caption button; Office 2003 shows what lies behind it.
    virtual void FillCaptionButtonGround(CDC* dc, const RECT& buttonInWindow, COLORREF background, HWND window);
};

// Run-time access to the theme library "UxTheme.dll".
class COXUxTheme {
public:
    COXUxTheme();
    virtual ~COXUxTheme();
    COXUxTheme(const COXUxTheme&) = delete;
    COXUxTheme& operator=(const COXUxTheme&) = delete;
    // Theme handle for the class list; null without the library, an active theme or such a class.
    HANDLE OpenThemeData(HWND window, LPCTSTR classList);
    COLORREF GetThemeSysColor(HANDLE theme, int colourIndex);
    void CloseThemeData(HANDLE theme);

private:
    HMODULE m_hUxTheme = nullptr;
};

class COXSkin2003 : public COXSkinXP {
public:
    COXSkin2003();
    ~COXSkin2003() override;

    COLORREF GetHotItemColor() override;
    COLORREF GetCheckedItemColor() override;
    COLORREF GetPressedItemColor() override;
    COLORREF GetHighlightBorderColor() override;
    COLORREF GetMenuBackgroundColor() override;
    COLORREF GetShadowColor() override;
    COLORREF GetBarBackgroundColor() override;
    COLORREF GetFaceColor() override;
    COLORREF GetDarkTextColor() override;
    COLORREF GetLightShadowColor() override;
    COLORREF GetFrameShadowColor() override;
    COLORREF GetSoftShadowColor() override;
    COLORREF GetEdgeColor() override;
    COLORREF GetCaptionTextColor() override;
    COLORREF GetDarkShadowColor() override;
    COLORREF GetAltBarBackgroundColor() override;
    COLORREF GetGrayTextColor() override;
    COLORREF GetAltLightShadowColor() override;

    COLORREF GetBarGradientLightColor();
    COLORREF GetBarGradientDarkColor();
    COLORREF GetMenuBarGradientDarkColor();
    COLORREF GetCaptionDarkColor();
    COLORREF GetBandStartColor();
    COLORREF GetBandEndColor();
    COLORREF GetCaptionLightColor();
    COLORREF GetMenuGradientLightColor();
    COLORREF GetMenuGradientDarkColor();
    COLORREF GetStrongHighlightColor();
    COLORREF GetStatusBarDarkColor();
    COLORREF GetStatusBarMidColor();
    COLORREF GetStatusBarLightColor();
    COLORREF GetHotGradientLightColor();
    COLORREF GetHotGradientDarkColor();
    COLORREF GetCheckedGradientLightColor();
    COLORREF GetCheckedGradientDarkColor();
    COLORREF GetPressedGradientDarkColor();
    COLORREF GetPressedGradientLightColor();
    COLORREF GetSplitterColor();

    // Whether a visual-style theme is active for buttons; with `highlight` and `caption`, the theme's
    // COLOR_HIGHLIGHT and COLOR_ACTIVECAPTION as well.
    BOOL IsThemed(COLORREF* highlight = nullptr, COLORREF* caption = nullptr);
    // mode 0 left to right, 1 top to bottom; the ends are the two colours.
    BOOL GradientFillRect(CDC* dc, const RECT& rect, COLORREF colour1, COLORREF colour2, ULONG mode);
    // GradientFillRect on NT-family systems, the line gradient elsewhere.
    BOOL FillGradient(CDC* dc, const RECT& rect, COLORREF colour1, COLORREF colour2, ULONG mode);
    // Whether "Msimg32.dll" and its GradientFill were found.
    BOOL HasGradientFill() const { return m_pfnGradientFill != nullptr; }
    // The gradient band of a dock area: from the reference window's left edge, as wide as the larger of
    // the screen and that window; the left half a gradient from the band start to the band end colour.
    void DrawDockBand(CDC* dc, const RECT& band);

protected:
    void FillCaptionButtonGround(CDC* dc, const RECT& buttonInWindow, COLORREF background, HWND window) override;

private:
    COLORREF Themed(COLORREF themed, COLORREF otherwise);
    HMODULE m_hMsimg32 = nullptr;
    void* m_pfnGradientFill = nullptr;
    COXUxTheme m_uxTheme;
};

// An image of the list drawn with DrawState (DSS_DISABLED, or DSS_MONO in the brush's colour) at (x, y):
// its pixels that are not white take the state's colours.
void OXDrawImageState(CDC* dc, HIMAGELIST list, int index, int x, int y, UINT flags, CBrush* brush);
// An image of the list in one colour: a mask of its opaque pixels laid on with raster operation
// 0xB8074A through a brush of `colour`, the destination left where the image is transparent.
void OXDrawImageMonochrome(CDC* dc, HIMAGELIST list, int index, int x, int y, COLORREF colour);

// A class name on the object's run-time class chain; lets a skin recognise the controls of libraries
// that sit beside it (menu bar, sizable bar, tab view container...) by their run-time class.
BOOL OXIsKindOf(const CObject* object, LPCTSTR className);
BOOL OXIsKindOf(HWND window, LPCTSTR className);

// What a non-client painter needs: the window's rectangle from (0, 0) and its client rectangle in the
// same coordinates.
void OXGetWindowRects(HWND window, RECT& windowRect, RECT& clientRect);
