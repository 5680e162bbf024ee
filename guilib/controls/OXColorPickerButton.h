// A bitmap button with a drop-down arrow and a colour bar under its image: pressing it drops a colour
// picker down, and the colour chosen there becomes the button's colour.
#pragma once

#include "guilib/controls/OXBitmapButton.h"
#include "guilib/controls/OXColorPickerCtrl.h"
#include "platform/framework/window/Dialog.h"

#define OX_COLORPICKER_BARHEIGHT 5

class COXColorPickerButton : public COXBitmapButton {
    DECLARE_DYNAMIC(COXColorPickerButton)
public:
    // The arguments are the picker's (see COXColorPickerCtrl).
    COXColorPickerButton(UINT nColors = OX_COLORPICKER_COLORS, UINT nRows = 5, COLORREF clrDefault = 0xFFFFFFFF,
                         int nButtonWidth = 18, int nButtonHeight = 18, UINT nDefaultTextID = 0,
                         UINT nCustomTextID = 0);

    // CLR_DEFAULT stands for the picker's default colour; -1 shows none.
    void SetColor(COLORREF clr, BOOL bRedraw = TRUE);
    COLORREF GetColor() const { return m_clr; }
    // The colour the bar shows: the picker's default for CLR_DEFAULT.
    COLORREF GetShownColor() const;

    void SetColorBarHeight(int nHeight, BOOL bRedraw = TRUE);
    int GetColorBarHeight() const { return m_nColorBarHeight; }

    COXColorPickerCtrl* GetColorPickerCtrl() { return &m_colorPicker; }

    // The bar's rectangle for a laid-out image (or text) rectangle; `rect` empty: centred in `client`.
    RECT CalcColorBarRect(UINT state, const RECT& rect, const RECT& client);

    void OnDropDown() override;

protected:
    SIZE GetImageSize() override;
    void DrawUnderImage(CDC* dc, UINT state, const RECT& rect) override;
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL CreatePicker();

    int m_nColorBarHeight = OX_COLORPICKER_BARHEIGHT;
    COLORREF m_clr = 0xFFFFFFFF;
    COXColorPickerCtrl m_colorPicker;
};

// Dialog data exchange of a colour picker button's colour.
void DDX_ColorPicker(CDataExchange* pDX, int nIDC, COLORREF& clr);
