// A tooltip of the library's own: a topmost popup showing multi-line text in the status font, with
// colours and a maximum width per tool. A tool's text may hold a short and a long part separated by a
// carriage return; clicking the tip switches between them. The owner window relays its mouse and key
// messages (RelayEvent); a delay timer (1) and a display timer (2) run on the tip.
#pragma once

#include "platform/base/Collections.h"
#include "platform/base/LogFont.h"
#include "platform/base/Object.h"
#include "platform/framework/window/Wnd.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/ImageList.h"
#include "platform/user/ToolTip.h"

#include <vector>

// One tool: a rectangle of a window, in client coordinates of the control's owner.
class COXToolTipInfo : public CObject {
    DECLARE_DYNAMIC(COXToolTipInfo)
public:
    HWND hWnd = nullptr;
    UINT nIDTool = 0;
    RECT rectTool{};
    // 0: `strText` is the text; -1 (LPSTR_TEXTCALLBACK): the owner is asked each time.
    int nTextMode = 0;
    CString strText;
    int nWidth = 0;  // maximum text width in pixels, 0 = none
    COLORREF clrTextColor = CLR_DEFAULT;
    COLORREF clrBackColor = CLR_DEFAULT;
    LPARAM lParam = 0;
};

// What a hit test answers about a tool.
struct OXTOOLINFO {
    UINT cbSize;
    UINT uFlags;
    HWND hwnd;
    UINT_PTR uId;
    RECT rect;
    HINSTANCE hinst;
    LPSTR lpszText;  // the record's text, or LPSTR_TEXTCALLBACK
    LPARAM lParam;
    int nWidth;
    COLORREF clrTextColor;
    COLORREF clrBackColor;
};

class COXToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(COXToolTipCtrl)
public:
    COXToolTipCtrl();
    ~COXToolTipCtrl() override;

    BOOL Create(CWnd* pParentWnd);

    BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool = nullptr, UINT nIDTool = 0);
    void RemoveTool(CWnd* pWnd, UINT nIDTool = 0);
    void RelayEvent(MSG* pMsg);
    BOOL HitTest(CWnd* pWnd, POINT pt, OXTOOLINFO* pToolInfo = nullptr) const;
    COXToolTipInfo* ToolFromPoint(POINT pt) const;
    CWnd* GetChildWindowFromPoint(POINT pt) const;
    COXToolTipInfo* FindToolInfo(CWnd* pWnd, UINT nIDTool) const;
    BOOL IsCursorInTool(COXToolTipInfo* pToolInfo) const;
    BOOL IsCursorOverTip() const;

    void SetTipFont(const LOGFONT* pLogFont, BOOL bRedraw = TRUE);
    CString GetTipText(COXToolTipInfo* pToolInfo);
    void ShowTip(POINT pt, BOOL bExtended);
    void Hide();

    void Activate(BOOL bActivate) { m_bActive = bActivate; }
    void SetMaxTipWidth(int nWidth) { m_nMaxWidth = nWidth; }
    void SetTextColor(COLORREF clr) { m_crTextColor = clr; }
    void SetBkColor(COLORREF clr) { m_crBackColor = clr; }
    int GetToolCount() const { return (int)m_arrTools.size(); }
    COXToolTipInfo* GetCurrentTool() const { return m_pCurrentTool; }
    BOOL IsExtended() const { return m_bExtended; }
    BOOL HasExtendedText() const { return m_bHasExtendedText; }
    const RECT& GetMargins() const { return m_rectMargin; }

    // The size the text needs inside the tip, margins included.
    virtual RECT CalcTextRect(const CString& strText, int nMaxWidth);
    // Places the text rectangle at the point, kept inside the monitor.
    virtual RECT CalcTipRect(POINT pt, COXToolTipInfo* pToolInfo, RECT rectText);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void StartDelay(COXToolTipInfo* pToolInfo);
    void OnPaint();
    void OnTimer(UINT_PTR nIDEvent);
    void OnLButtonDown();
    void KillTimers();
    static LOGFONT SystemStatusFont();
    POINT CursorInOwner() const;

    CWnd* m_pParentWnd = nullptr;
    RECT m_rectMargin{2, 2, 3, 3};
    int m_nMaxWidth = 0;
    POINT m_ptOffset{0, 20};
    HFONT m_hFont = nullptr;
    LOGFONT m_LogFont{};
    BOOL m_bUsingSystemFont = TRUE;
    UINT m_nDrawTextFlags = DT_WORDBREAK | DT_EXPANDTABS | DT_EXTERNALLEADING | DT_NOPREFIX;
    COXToolTipInfo* m_pCurrentTool = nullptr;
    UINT m_nCheckInterval = 500;
    UINT m_nDisplayDelay = 5000;
    UINT m_nDisplayTime = 0;
    UINT m_nInitDelay = 500;
    BOOL m_bActive = TRUE;
    BOOL m_bTipCurrentlyHidden = FALSE;
    BOOL m_bHasExtendedText = FALSE;
    BOOL m_bExtended = FALSE;
    COLORREF m_crTextColor = CLR_DEFAULT;
    COLORREF m_crBackColor = CLR_DEFAULT;
    HWND m_hOldFocusWnd = nullptr;
    std::vector<COXToolTipInfo*> m_arrTools;
};
