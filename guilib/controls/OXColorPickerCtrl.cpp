#include "guilib/controls/OXColorPickerCtrl.h"

#include <algorithm>
#include <vector>

#include "guilib/controls/OXLibraryResources.h"
#include "platform/framework/dialogs/ColorDialog.h"

IMPLEMENT_DYNAMIC(COXColorPickerCtrl, COXPopupBarCtrl)

namespace {

const ButtonToolTipIDTable kDefaultColors[OX_COLORPICKER_COLORS] = {
    {RGB(0, 0, 0), 26540},       {RGB(165, 42, 42), 26541},   {RGB(0, 64, 64), 26542},
    {RGB(0, 85, 0), 26543},      {RGB(0, 0, 94), 26544},      {RGB(0, 0, 139), 26545},
    {RGB(75, 0, 130), 26546},    {RGB(40, 40, 40), 26547},    {RGB(139, 0, 0), 26548},
    {RGB(255, 104, 32), 26549},  {RGB(139, 139, 0), 26550},   {RGB(0, 147, 0), 26551},
    {RGB(56, 142, 142), 26552},  {RGB(0, 0, 255), 26553},     {RGB(123, 123, 192), 26554},
    {RGB(102, 102, 102), 26555}, {RGB(255, 0, 0), 26556},     {RGB(255, 173, 91), 26557},
    {RGB(50, 205, 50), 26558},   {RGB(60, 179, 113), 26559},  {RGB(127, 255, 212), 26560},
    {RGB(125, 158, 192), 26561}, {RGB(128, 0, 128), 26562},   {RGB(127, 127, 127), 26563},
    {RGB(255, 192, 203), 26564}, {RGB(255, 215, 0), 26565},   {RGB(255, 255, 0), 26566},
    {RGB(0, 255, 0), 26567},     {RGB(64, 224, 208), 26568},  {RGB(192, 255, 255), 26569},
    {RGB(72, 0, 72), 26570},     {RGB(192, 192, 192), 26571}, {RGB(255, 228, 225), 26572},
    {RGB(210, 180, 140), 26573}, {RGB(255, 255, 224), 26574}, {RGB(152, 251, 152), 26575},
    {RGB(175, 238, 238), 26576}, {RGB(104, 131, 139), 26577}, {RGB(230, 230, 250), 26578},
    {RGB(255, 255, 255), 26579},
};

void FrameIn(HDC dc, const RECT& r, int color) {
    HBRUSH b = ::CreateSolidBrush(::GetSysColor(color));
    ::FrameRect(dc, &r, b);
    ::DeleteObject(b);
}

void FillColor(HDC dc, const RECT& r, COLORREF c) {
    HBRUSH b = ::CreateSolidBrush(PALETTERGB(GetRValue(c), GetGValue(c), GetBValue(c)));
    ::FillRect(dc, &r, b);
    ::DeleteObject(b);
}

RECT Inset(RECT r, int by) {
    ::InflateRect(&r, -by, -by);
    return r;
}

}  // namespace

COXColorPickerCtrl::COXColorPickerCtrl(UINT nButtons, UINT nRows, COLORREF clrDefault, int nButtonWidth,
                                       int nButtonHeight, UINT nDefaultTextID, UINT nCustomTextID)
    : COXPopupBarCtrl(nButtons, nRows, clrDefault, nButtonWidth, nButtonHeight, nDefaultTextID, nCustomTextID) {}

const ButtonToolTipIDTable* COXColorPickerCtrl::GetDefaultColors() {
    return kDefaultColors;
}

BOOL COXColorPickerCtrl::Pick(UINT nAlignment, const RECT* pParentRect, int nOffsetX, int nOffsetY) {
    if (m_arrValues.GetSize() == 0) {
        DWORD colors[OX_COLORPICKER_COLORS];
        for (int i = 0; i < OX_COLORPICKER_COLORS; ++i)
            colors[i] = kDefaultColors[i].dwValue;
        SetButtonValues(colors, OX_COLORPICKER_COLORS);
    }
    while ((UINT)m_arrValues.GetSize() < m_nButtons)
        m_arrValues.Add(0);
    if (m_mapToolTips.GetCount() == 0) {
        OXGetLibraryResourceHandle();  // the names are the library's strings
        SetToolTipTexts(kDefaultColors, OX_COLORPICKER_COLORS);
    }
    // A palette of the button colours.
    const UINT entries = std::min<UINT>(256, (UINT)m_arrValues.GetSize());
    if (entries > 0) {
        std::vector<BYTE> block(sizeof(LOGPALETTE) + entries * sizeof(PALETTEENTRY));
        auto* palette = reinterpret_cast<LOGPALETTE*>(block.data());
        palette->palVersion = 0x300;
        palette->palNumEntries = (WORD)entries;
        for (UINT i = 0; i < entries; ++i) {
            COLORREF c = m_arrValues[(INT_PTR)i];
            palette->palPalEntry[i] = PALETTEENTRY{GetRValue(c), GetGValue(c), GetBValue(c), 0};
        }
        m_palette.DeleteObject();
        m_palette.CreatePalette(palette);
    }
    return COXPopupBarCtrl::Pick(nAlignment, pParentRect, nOffsetX, nOffsetY);
}

void COXColorPickerCtrl::DrawButton(HDC dc, int nIndex) {
    COXPopupBarCtrl::DrawButton(dc, nIndex);
    RECT frame = Inset(m_arrButtonRect[nIndex], 2);
    FrameIn(dc, frame, COLOR_BTNSHADOW);
    FillColor(dc, Inset(frame, 1), m_arrValues[nIndex]);
}

void COXColorPickerCtrl::DrawDefaultButton(HDC dc) {
    DrawButtonFrame(dc, m_rectDefaultButton, 0);
    RECT text = Inset(m_rectDefaultButton, 3);
    if (m_dwDefault != 0xFFFFFFFF) {
        // A sample of the default colour at the button's left end.
        int side = text.bottom - text.top;
        RECT sample{text.left + 1, text.top, text.left + 1 + side, text.bottom};
        FrameIn(dc, sample, COLOR_BTNSHADOW);
        FillColor(dc, Inset(sample, 1), m_dwDefault);
        text.left = sample.right + 2;
    }
    HGDIOBJ old = ::SelectObject(dc, m_font.GetSafeHandle());
    ::SetBkMode(dc, TRANSPARENT);
    ::DrawText(dc, m_sDefaultButtonText, m_sDefaultButtonText.GetLength(), &text,
               DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    ::SelectObject(dc, old);
}

BOOL COXColorPickerCtrl::OnCustomButton() {
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    CColorDialog dialog((COLORREF)m_dwSelected, CC_FULLOPEN | CC_ANYCOLOR, m_pParentWnd);
    if (dialog.DoModal() != IDOK)
        return FALSE;
    m_dwSelected = dialog.GetColor();
    m_nSelectedIndex = (int)m_nButtons + 1;
    return TRUE;
}
