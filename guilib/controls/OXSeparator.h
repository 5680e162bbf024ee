// An etched separator line, horizontal or vertical, with an optional caption set into the line.
#pragma once

#include "platform/base/String.h"
#include "platform/framework/controls/Static.h"

class COXSeparator : public CStatic {
    DECLARE_DYNAMIC(COXSeparator)
public:
    COXSeparator();

    void SetTextColor(COLORREF colour, BOOL bRedraw = TRUE);
    COLORREF GetTextColor() const { return m_clrText; }
    void SetVertOriented(BOOL bVert = TRUE, BOOL bRedraw = TRUE);
    BOOL IsVertOriented() const { return m_bVertOriented; }

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint();
    void Redraw();

    COLORREF m_clrText;
    COLORREF m_clrShadow;
    COLORREF m_clrHilight;
    BOOL m_bVertOriented;
    CString m_sCaption;
};
