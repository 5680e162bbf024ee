// A static text with its own font, text colour and background (solid or one of three gradients), an
// optional tooltip showing its text, and an optional fit-to-text mode that shrinks the window to its text.
#pragma once

#include "platform/base/String.h"
#include "platform/framework/controls/Static.h"
#include "platform/framework/controls/ToolTipCtrl.h"
#include "platform/framework/gdi/GdiObject.h"

// Background fill types.
#define OXSTATIC_SOLID 0
#define OXSTATIC_GRADIENT_LEFT 1    // black at the left edge, the colour at the right
#define OXSTATIC_GRADIENT_CENTER 2  // the colour in the middle, black at both edges
#define OXSTATIC_GRADIENT_RIGHT 3   // the colour at the left edge, black at the right

class COXStatic : public CStatic {
    DECLARE_DYNAMIC(COXStatic)
public:
    COXStatic();
    ~COXStatic() override;

    BOOL Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF) override;
    using CStatic::Create;

    virtual BOOL SetFontFromWindow();
    virtual BOOL Initialize();
    virtual void UpdateTooltipText();
    virtual HBRUSH CtlColor(HDC dc, UINT nCtlColor);

    void SetBkColor(COLORREF colour, BOOL bRedraw = TRUE);
    COLORREF GetBkColor() const { return m_clrBack; }
    void SetDisplayFlag(int nFillType, BOOL bRedraw = TRUE);
    int GetDisplayFlag() const { return m_nFillType; }
    void SetTextColor(COLORREF colour, BOOL bRedraw = TRUE);
    COLORREF GetTextColor() const { return m_clrText; }
    BOOL SetTextFont(CFont* pFont, BOOL bRedraw = TRUE);
    CFont* GetTextFont() { return m_font.GetSafeHandle() ? &m_font : nullptr; }

    // The tooltip shows the window text unless the owner gives a text of its own.
    void SetShowToolTip(BOOL bShow) { m_bToolTipActive = bShow; UpdateTooltipText(); }
    BOOL GetShowToolTip() const { return m_bToolTipActive; }
    void SetToolTipText(LPCTSTR text);
    CString GetToolTipText() const { return m_sToolTip; }
    void SetFitToText(BOOL bFit);
    BOOL GetFitToText() const { return m_bFitToText; }
    CToolTipCtrl* GetToolTipCtrl() { return &m_ttc; }

    // Whether the style makes this a text static (fonts, colours, tooltip text and fitting apply).
    BOOL IsTextStatic() const;

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void FillBackground(HDC dc);
    // Sizes the window to its text (fit on), or back to the remembered rectangle (fit off).
    void FitToText();
    RECT WindowRectInParent() const;
    CString WindowText() const;

    COLORREF m_clrBack;
    int m_nFillType;
    COLORREF m_clrText;
    CFont m_font;
    BOOL m_bToolTipActive;
    CString m_sToolTip;
    CToolTipCtrl m_ttc;
    BOOL m_bFitToText;
    RECT m_rectBeforeFit;
    BOOL m_bOwnToolTipText;
    BOOL m_bCreatedByCreate;
    BOOL m_bInitialized;
    BOOL m_bFitting;
};
