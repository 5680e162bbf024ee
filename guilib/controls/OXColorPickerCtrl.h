// The colour picker: a popup bar of 40 named colour buttons, a default button showing the default colour
// and a button for more colours that opens the colour dialog.
#pragma once

#include "guilib/controls/OXPopupBarCtrl.h"
#include "platform/framework/gdi/GdiObject.h"

#define OX_COLORPICKER_COLORS 40

class COXColorPickerCtrl : public COXPopupBarCtrl {
    DECLARE_DYNAMIC(COXColorPickerCtrl)
public:
    COXColorPickerCtrl(UINT nButtons = OX_COLORPICKER_COLORS, UINT nRows = 5, COLORREF clrDefault = 0xFFFFFFFF,
                       int nButtonWidth = 18, int nButtonHeight = 18, UINT nDefaultTextID = 0,
                       UINT nCustomTextID = 0);

    BOOL Pick(UINT nAlignment = ID_POPUPBAR_ALIGNBOTTOM, const RECT* pParentRect = nullptr, int nOffsetX = 0,
              int nOffsetY = 0) override;

    // The default colours in the order of the grid, with the string resources of their names.
    static const ButtonToolTipIDTable* GetDefaultColors();

protected:
    void DrawButton(HDC dc, int nIndex) override;
    void DrawDefaultButton(HDC dc) override;
    BOOL OnCustomButton() override;

    CPalette m_palette;  // made from the button colours at each pick
};
