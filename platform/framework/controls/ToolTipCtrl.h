// CToolTipCtrl: the tooltip control's wrapper.
#pragma once

#include "platform/framework/window/Wnd.h"
#include "platform/user/ToolTip.h"

class CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    // A tip owned by `parent`'s window (or none); the style adds to WS_POPUP.
    virtual BOOL Create(CWnd* parent, DWORD style = 0);
    void Activate(BOOL activate) { Send(TTM_ACTIVATE, (WPARAM)activate, 0); }
    BOOL AddTool(CWnd* wnd, LPCTSTR text = LPSTR_TEXTCALLBACK, LPCRECT toolRect = nullptr, UINT_PTR toolId = 0);
    BOOL AddTool(CWnd* wnd, UINT textId, LPCRECT toolRect = nullptr, UINT_PTR toolId = 0);
    void DelTool(CWnd* wnd, UINT_PTR toolId = 0);
    void GetText(CString& text, CWnd* wnd, UINT_PTR toolId = 0) const;
    BOOL GetToolInfo(TOOLINFO& info, CWnd* wnd, UINT_PTR toolId = 0) const;
    void SetToolInfo(TOOLINFO* info) { Send(TTM_SETTOOLINFO, 0, (LPARAM)info); }
    void SetToolRect(CWnd* wnd, UINT_PTR toolId, LPCRECT rect);
    BOOL HitTest(CWnd* wnd, POINT pt, TOOLINFO* info) const;
    void RelayEvent(LPMSG msg) { Send(TTM_RELAYEVENT, 0, (LPARAM)msg); }
    void SetDelayTime(UINT delay) { Send(TTM_SETDELAYTIME, TTDT_AUTOMATIC, MAKELPARAM(delay, 0)); }
    void SetDelayTime(DWORD duration, int time) { Send(TTM_SETDELAYTIME, duration, MAKELPARAM(time, 0)); }
    int GetDelayTime(DWORD duration) const { return (int)Send(TTM_GETDELAYTIME, duration, 0); }
    void UpdateTipText(LPCTSTR text, CWnd* wnd, UINT_PTR toolId = 0);
    void UpdateTipText(UINT textId, CWnd* wnd, UINT_PTR toolId = 0);
    int GetToolCount() const { return (int)Send(TTM_GETTOOLCOUNT, 0, 0); }
    BOOL GetCurrentTool(TOOLINFO* info) const { return (BOOL)Send(TTM_GETCURRENTTOOL, 0, (LPARAM)info); }
    void Pop() { Send(TTM_POP, 0, 0); }
    void Popup() { Send(TTM_POPUP, 0, 0); }
    void Update() { Send(TTM_UPDATE, 0, 0); }
    int SetMaxTipWidth(int width) { return (int)Send(TTM_SETMAXTIPWIDTH, 0, (LPARAM)width); }
    int GetMaxTipWidth() const { return (int)Send(TTM_GETMAXTIPWIDTH, 0, 0); }
    void SetTipBkColor(COLORREF color) { Send(TTM_SETTIPBKCOLOR, (WPARAM)color, 0); }
    void SetTipTextColor(COLORREF color) { Send(TTM_SETTIPTEXTCOLOR, (WPARAM)color, 0); }
    COLORREF GetTipBkColor() const { return (COLORREF)Send(TTM_GETTIPBKCOLOR, 0, 0); }
    COLORREF GetTipTextColor() const { return (COLORREF)Send(TTM_GETTIPTEXTCOLOR, 0, 0); }
    void SetMargin(LPRECT rect) { Send(TTM_SETMARGIN, 0, (LPARAM)rect); }
    void GetMargin(LPRECT rect) const { Send(TTM_GETMARGIN, 0, (LPARAM)rect); }
    // A tool record for `wnd` and `toolId` (a whole child window when the id is 0).
    void FillInToolInfo(TOOLINFO& info, CWnd* wnd, UINT_PTR toolId) const;

private:
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) const { return ::SendMessage(m_hWnd, msg, wParam, lParam); }
};
