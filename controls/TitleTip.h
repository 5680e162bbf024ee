// CTitleTip: a pop-up over a grid cell showing the cell's whole text when it is wider than the cell.
// While it shows it holds the mouse: moves inside the hover rectangle keep it, anything else hides it
// and goes on to the window under the mouse; keys go to the parent.
#pragma once

#include "platform/framework/gdi/DC.h"
#include "platform/framework/window/Wnd.h"

#define TITLETIP_CLASSNAME "ZTitleTip"

class CTitleTip : public CWnd {
public:
    CTitleTip() = default;
    ~CTitleTip() override;

    // Creates the (hidden) tip window for `pParentWnd`.
    virtual BOOL Create(CWnd* pParentWnd);
    // Shows `lpszTitleText` over `rectTitle` (parent client coordinates) when it is wider than the cell;
    // `xoffset` is the text's left offset in the cell; `lpHoverRect` (default: the cell) is where the mouse
    // may move without hiding the tip.
    void Show(RECT rectTitle, LPCTSTR lpszTitleText, int xoffset = 0, LPCRECT lpHoverRect = nullptr,
              const LOGFONT* lpLogFont = nullptr);
    void Hide();
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    const CString& GetText() const { return m_strText; }

protected:
    void OnPaint();
    void OnMouseMove(UINT nFlags, POINT point);
    // Hides the tip and passes a mouse message on to the window under the point; TRUE when it was one.
    BOOL ForwardMouse(UINT message, WPARAM wParam, POINT clientPoint);
    DECLARE_MESSAGE_MAP()

    CWnd* m_pParentWnd = nullptr;
    RECT m_rectHover{};  // in the tip's client coordinates
    CString m_strText;
    LOGFONT m_logFont{};
    bool m_bHasFont = false;
    int m_xoffset = 0;
};
