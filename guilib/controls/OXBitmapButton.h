// An owner-drawn push button with an image from an image list and a caption, an optional drop-down
// arrow, a flat track look, toggle and three-state behaviour, its own enabled state, font, text colour
// and cursors, and a tool tip from the second line of its window text.
#pragma once

#include "guilib/controls/OXToolTipCtrl.h"
#include "platform/framework/controls/Button.h"
#include "platform/framework/gdi/DC.h"
#include "platform/user/ImageList.h"

#define OXBB_EX_DROPDOWN 0x00000001
#define OXBB_EX_TOGGLE 0x00000002
#define OXBB_EX_DROPDOWNRIGHT 0x00010000
#define OXBB_EX_DROPDOWNNOARROW 0x00020000
#define OXBB_EX_TOGGLE3STATE 0x00040000

#define OXBB_STATE_CHECKED 0x00000001
#define OXBB_STATE_INDETERMINATE 0x00000002

#define OXBBN_DROPDOWN 32870
#define OXBBN_TOGGLE 32871

class COXBitmapButton : public CButton {
    DECLARE_DYNAMIC(COXBitmapButton)
public:
    COXBitmapButton();
    ~COXBitmapButton() override;

    // The button keeps a copy of the list: image 0 normal, 1 cold or indeterminate, 2 disabled.
    BOOL SetImageList(HIMAGELIST images);
    HIMAGELIST GetImageList() const { return m_imageList; }

    CString GetText() const;
    CString GetToolTipText() const;
    CFont* GetTextFont();
    void SetTextFont(CFont* font);
    void SetTextColor(COLORREF colour) { m_textColor = colour; }
    COLORREF GetTextColor() const { return m_textColor; }
    BOOL EnableToolTip(BOOL on);
    BOOL IsToolTipEnabled() const { return m_bToolTip; }
    COXToolTipCtrl* GetToolTip() { return &m_toolTip; }

    BOOL IsWindowEnabled() const;
    BOOL EnableWindow(BOOL enable = TRUE);
    void SetOwnEnabledState(BOOL own, BOOL alsoWindowStyle = FALSE);

    void SetTrackLook(BOOL on) { m_bTrackLook = on; }
    BOOL GetTrackLook() const { return m_bTrackLook; }
    BOOL IsHot() const { return m_bHot; }
    void SetTransparent(BOOL on) { m_bTransparent = on; }
    BOOL IsTransparent() const { return m_bTransparent; }
    void SetCursors(HCURSOR enabled, HCURSOR disabled) {
        m_hCursorEnabled = enabled;
        m_hCursorDisabled = disabled;
    }
    void SetDrawDropDownSeparator(BOOL on) { m_bDrawDropDownSeparator = on; }

    void SetStyleEx(DWORD style, BOOL redraw = TRUE);
    DWORD GetStyleEx() const { return m_dwStyleEx; }
    BOOL HasDropDownArrow() const {
        return (m_dwStyleEx & OXBB_EX_DROPDOWN) && !(m_dwStyleEx & OXBB_EX_DROPDOWNNOARROW);
    }
    BOOL IsToggleButton() const { return (m_dwStyleEx & OXBB_EX_TOGGLE) != 0; }
    void SetStateEx(DWORD state, BOOL redraw = TRUE);
    DWORD GetStateEx() const { return m_dwStateEx; }
    BOOL IsChecked() const { return (m_dwStateEx & OXBB_STATE_CHECKED) != 0; }
    BOOL IsIndeterminate() const { return (m_dwStateEx & OXBB_STATE_INDETERMINATE) != 0; }

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void SizeToContent();
    virtual SIZE GetFitButtonSize();
    virtual SIZE GetDropDownArrowSize();
    virtual void CalcLayoutRects(UINT state, const RECT& rect, RECT& imageRect, RECT& textRect);
    virtual void SelectButtonPalette(CDC* dc);
    virtual void DrawButtonFrame(CDC* dc, UINT state, const RECT& rect);
    virtual void DrawButtonImage(CDC* dc, UINT state, HIMAGELIST images, const RECT& rect);
    virtual void DrawButtonText(CDC* dc, UINT state, const CString& caption, const RECT& rect);
    virtual void DrawButtonFocus(CDC* dc, UINT state, const RECT& rect, const RECT& textRect);
    virtual void RestoreButtonPalette(CDC* dc);
    virtual int GetDropDownArrowWidth();
    virtual void DrawDropDownArrow(CDC* dc, UINT state, const RECT& rect);
    // Draws what lies under the image, after the arrow and before the focus: `rect` is the laid-out image
    // rectangle, the text's for a button without an image, empty for one with neither.
    virtual void DrawUnderImage(CDC* /*dc*/, UINT /*state*/, const RECT& /*rect*/) {}
    virtual void OnDropDown() {}
    virtual void OnToggle() {}
    virtual void OnClicked();

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // The image size the layout works with: image 0 of the list, else 0 x 0.
    virtual SIZE GetImageSize();
    SIZE CalcTextSize(BOOL fitting, const SIZE& image);
    void Toggle();
    void TrackHover(POINT screen);
    LRESULT Notify(UINT code);
    void Redraw();

    HIMAGELIST m_imageList = nullptr;
    COLORREF m_textColor = RGB(0, 0, 0);
    CFont m_font;
    // The window's font that m_font copies: copied again only when the window's font changes, so a copy
    // selected into a DC is never deleted under it.
    HFONT m_hCopiedFont = nullptr;
    COXToolTipCtrl m_toolTip;
    BOOL m_bToolTip = FALSE;
    BOOL m_bTrackLook = FALSE;
    BOOL m_bHot = FALSE;
    BOOL m_bLButtonDown = FALSE;
    BOOL m_bTransparent = FALSE;
    HCURSOR m_hCursorEnabled = nullptr;
    HCURSOR m_hCursorDisabled = nullptr;
    BOOL m_bOwnEnabledState = FALSE;
    BOOL m_bEnabled = TRUE;
    BOOL m_bSetDisabledStyle = FALSE;
    BOOL m_bDrawDropDownSeparator = TRUE;
    POINT m_imageMargin{-5, -5};
    POINT m_textMargin{-7, -6};
    POINT m_defaultFrameInflate{0, 0};
    POINT m_focusInflate{-4, -4};
    SIZE m_focusDot{7, 6};
    POINT m_pressedOffset{2, 2};
    POINT m_checkedOffset{1, 1};
    POINT m_hotOffset{-1, -1};
    POINT m_arrowMargin{-2, -5};
    DWORD m_dwStyleEx = 0;
    DWORD m_dwStateEx = 0;
    int m_nDropDownArrowWidth = 0;
    COLORREF m_buttonFace = 0;
};
