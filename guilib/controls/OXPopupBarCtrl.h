// A popup grid of equal buttons, each carrying a 32-bit value, with an optional default button above the
// grid and a custom button below it. `Pick` shows it beside a rectangle and runs its own modal loop until
// the user chooses a button or cancels; the chosen value is then the selected value.
#pragma once

#include "platform/base/Collections.h"
#include "platform/base/String.h"
#include "platform/framework/controls/ToolTipCtrl.h"
#include "platform/framework/gdi/GdiObject.h"
#include "platform/framework/window/Wnd.h"

// Style flags of `Create`.
#define POPUPBAR_NOTOOLTIP 0x0001
#define POPUPBAR_NODEFAULT 0x0002
#define POPUPBAR_NOCUSTOM 0x0004
#define POPUPBAR_NOTEAROFF 0x0010

// Where `Pick` puts the bar against its base rectangle.
#define ID_POPUPBAR_ALIGNLEFT 0
#define ID_POPUPBAR_ALIGNRIGHT 1
#define ID_POPUPBAR_ALIGNTOP 2
#define ID_POPUPBAR_ALIGNBOTTOM 3
#define ID_POPUPBAR_ALIGNLEFTBOTTOM 4
#define ID_POPUPBAR_ALIGNRIGHTBOTTOM 5
#define ID_POPUPBAR_ALIGNTOPRIGHT 6
#define ID_POPUPBAR_ALIGNBOTTOMRIGHT 7

#define IDT_OXPB_CHECKMOUSE 243
#define OXPB_CHECKMOUSE_PERIOD 200
// Posted to the parent of a floating bar when a button was chosen (lParam: the bar's window).
#define WM_POPUPBAR_PICKED 0x8096

// A value with the string resource of its tooltip.
struct ButtonToolTipIDTable {
    DWORD dwValue;
    UINT nID;
};

struct OXPB_MARGINS {
    int left, top, right, bottom;
};

class COXPopupBarCtrl : public CWnd {
    DECLARE_DYNAMIC(COXPopupBarCtrl)
public:
    COXPopupBarCtrl(UINT nButtons = 0, UINT nRows = 1, DWORD dwDefault = 0xFFFFFFFF, int nButtonWidth = 18,
                    int nButtonHeight = 18, UINT nDefaultTextID = 0, UINT nCustomTextID = 0);
    ~COXPopupBarCtrl() override;

    BOOL Create(CWnd* pParentWnd, DWORD dwPopupBarStyle = 0, HBRUSH hbrBackground = nullptr);
    using CWnd::Create;

    BOOL SetButtonValues(const DWORD* pValues, UINT nCount);
    BOOL SetToolTipTexts(const ButtonToolTipIDTable* pTable, UINT nCount);
    void SetToolTipText(DWORD dwValue, LPCTSTR text) { m_mapToolTips[dwValue] = CString(text); }

    virtual BOOL Pick(UINT nAlignment = ID_POPUPBAR_ALIGNBOTTOM, const RECT* pParentRect = nullptr, int nOffsetX = 0,
                      int nOffsetY = 0);

    DWORD GetSelectedValue() const { return m_dwSelected; }
    void SetSelectedValue(DWORD dwValue) { m_dwSelected = dwValue; }
    DWORD GetDefaultValue() const { return m_dwDefault; }
    void SetDefaultValue(DWORD dwDefault) { m_dwDefault = dwDefault; }
    UINT GetNumButtons() const { return m_nButtons; }
    UINT GetNumRows() const { return m_nRows; }
    UINT GetNumColumns() const;
    int GetHotIndex() const { return m_nHotIndex; }
    int GetSelectedIndex() const { return m_nSelectedIndex; }
    CString GetDefaultButtonText() const { return m_sDefaultButtonText; }
    void SetDefaultButtonText(LPCTSTR text) { m_sDefaultButtonText = text; }
    CString GetCustomButtonText() const { return m_sCustomButtonText; }
    void SetCustomButtonText(LPCTSTR text) { m_sCustomButtonText = text; }
    DWORD GetPopupBarStyle() const { return m_dwPopupBarStyle; }
    // Whether the bar floats as a tool window after being torn off.
    BOOL IsTornOff() const { return m_bTornOff; }
    // A floating bar shows its tooltips: every message passing through here is relayed to them.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Rectangles of the last layout, in client coordinates (the window rectangle in screen coordinates
    // once placed).
    RECT GetWindowRectCalc() const { return m_rectWindow; }
    RECT GetDefaultButtonRect() const { return m_rectDefaultButton; }
    RECT GetCustomButtonRect() const { return m_rectCustomButton; }
    RECT GetButtonRect(int nGridIndex) const { return m_arrButtonRect[nGridIndex]; }
    int GetFirstIndex() const { return (m_dwPopupBarStyle & POPUPBAR_NODEFAULT) ? 1 : 0; }
    int GetLastIndex() const { return (m_dwPopupBarStyle & POPUPBAR_NOCUSTOM) ? (int)m_nButtons : (int)m_nButtons + 1; }
    // Runs the layout: the window's size and every button's rectangle.
    BOOL CalcWindowSize();
    // The top-left corner of the window for an alignment against `base`; FALSE when it does not fit the
    // screen area.
    BOOL AdjustWindowPosition(UINT nAlignment, const RECT& base, int nOffsetX, int nOffsetY);

protected:
    virtual void DrawBackground(HDC dc);
    virtual void DrawButton(HDC dc, int nIndex);
    virtual void DrawTearOffBar(HDC dc);
    virtual void DrawDefaultButton(HDC dc);
    virtual void DrawCustomButton(HDC dc);
    virtual void DrawButtonFrame(HDC dc, RECT rect, int nIndex);
    virtual void HandleButtonDown(POINT point);
    virtual void HandleButtonUp();
    virtual BOOL OnCustomButton();
    virtual void SetHotIndex(int nIndex);
    virtual void SetSelectedIndex(int nIndex);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Tears the bar off at the cursor: a frame follows the mouse until it is dropped (the bar floats
    // there as a tool window) or cancelled (the bar is hidden).
    void TearOff();
    // Inverts the drag frame away from its last place and, unless removing, in at the current one.
    void DrawTearOffFrame(BOOL bRemove);
    void EndTearOffDrag();
    // Destroys the popup and creates it again as a floating tool window with its top-left at `topLeft`.
    BOOL CreateFloating(POINT topLeft);
    LRESULT OnFloatStatus(WPARAM wParam);
    void OnPaint();
    void OnMouseMove(POINT point);
    void OnKeyDown(UINT nChar);
    void OnKeyUp(UINT nChar);
    // The index under a client point: the default button, the grid buttons, the custom button; -1.
    int HitTest(POINT point) const;
    void Choose();
    void PostCode(UINT message);
    BOOL PopulateToolTip();
    void InvalidateIndex(int nIndex);
    RECT IndexRect(int nIndex) const;

    CArray<DWORD, DWORD> m_arrValues;
    UINT m_nButtons;
    UINT m_nRows;
    DWORD m_dwPopupBarStyle;
    CMap<DWORD, DWORD, CString, CString&> m_mapToolTips;
    CToolTipCtrl m_ctlToolTip;
    DWORD m_dwSelected;
    DWORD m_dwDefault;
    int m_nButtonWidth, m_nButtonHeight;
    CString m_sDefaultButtonText, m_sCustomButtonText, m_sTearOffToolTip, m_sFloatingCaption;
    CFont m_font;
    CWnd* m_pParentWnd;
    MSG m_lastMouseDown;
    BOOL m_bTracking;
    POINT m_ptLastMouse;
    OXPB_MARGINS m_rectMargins, m_rectButtonSpacing, m_rectDefaultButtonMargins, m_rectCustomButtonMargins,
        m_rectTearOffBarMargins;
    int m_nSelectedIndex, m_nHotIndex;
    RECT m_rectWindow, m_rectDefaultButton, m_rectCustomButton, m_rectTearOffBar;
    CArray<RECT, RECT&> m_arrButtonRect;
    BOOL m_bPressed, m_bTearOffArmed, m_bTornOff;
    int m_nOutcome;
    HBRUSH m_hbrBackground;
    // Tear-off drag: the screen DC, whether updates are locked, the last cursor point (screen), the frame
    // and where and how thick it was last drawn.
    HDC m_hTearOffDC;
    BOOL m_bTearOffLocked;
    POINT m_ptTearOffLast;
    RECT m_rectTearOffFrame, m_rectTearOffLast;
    SIZE m_sizeTearOffLast;
};
