#include "platform/framework/controls/ToolTipCtrl.h"

#include <string>

IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style) {
    return CWnd::CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, TOOLTIPS_CLASS, nullptr,
                          WS_POPUP | style, 0, 0, 0, 0,
                          parent ? parent->GetSafeHwnd() : nullptr, nullptr);
}

void CToolTipCtrl::FillInToolInfo(TOOLINFO& info, CWnd* wnd, UINT_PTR toolId) const {
    info = TOOLINFO{};
    info.cbSize = sizeof info;
    HWND h = wnd ? wnd->GetSafeHwnd() : nullptr;
    if (toolId == 0) {
        // The whole window is the tool; its parent is the window the tip talks to.
        info.hwnd = ::GetParent(h);
        info.uFlags = TTF_IDISHWND;
        info.uId = (UINT_PTR)h;
    } else {
        info.hwnd = h;
        info.uId = toolId;
    }
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, LPCTSTR text, LPCRECT toolRect, UINT_PTR toolId) {
    if (!wnd || (toolId != 0 && !toolRect))
        return FALSE;
    TOOLINFO info;
    FillInToolInfo(info, wnd, toolId);
    if (toolRect)
        info.rect = *toolRect;
    info.lpszText = const_cast<LPSTR>(text);
    return (BOOL)Send(TTM_ADDTOOL, 0, (LPARAM)&info);
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, UINT textId, LPCRECT toolRect, UINT_PTR toolId) {
    return AddTool(wnd, MAKEINTRESOURCE(textId), toolRect, toolId);
}

void CToolTipCtrl::DelTool(CWnd* wnd, UINT_PTR toolId) {
    TOOLINFO info;
    FillInToolInfo(info, wnd, toolId);
    Send(TTM_DELTOOL, 0, (LPARAM)&info);
}

void CToolTipCtrl::GetText(CString& text, CWnd* wnd, UINT_PTR toolId) const {
    TOOLINFO info;
    FillInToolInfo(info, wnd, toolId);
    std::string buffer(1024, '\0');
    info.lpszText = buffer.data();
    Send(TTM_GETTEXT, buffer.size(), (LPARAM)&info);
    text = buffer.c_str();
}

BOOL CToolTipCtrl::GetToolInfo(TOOLINFO& info, CWnd* wnd, UINT_PTR toolId) const {
    FillInToolInfo(info, wnd, toolId);
    return (BOOL)Send(TTM_GETTOOLINFO, 0, (LPARAM)&info);
}

void CToolTipCtrl::SetToolRect(CWnd* wnd, UINT_PTR toolId, LPCRECT rect) {
    if (!rect)
        return;
    TOOLINFO info;
    FillInToolInfo(info, wnd, toolId);
    info.rect = *rect;
    Send(TTM_NEWTOOLRECT, 0, (LPARAM)&info);
}

BOOL CToolTipCtrl::HitTest(CWnd* wnd, POINT pt, TOOLINFO* info) const {
    if (!wnd || !info)
        return FALSE;
    TTHITTESTINFO hit{};
    hit.hwnd = wnd->GetSafeHwnd();
    hit.pt = pt;
    hit.ti.cbSize = sizeof(TOOLINFO);
    if (!Send(TTM_HITTEST, 0, (LPARAM)&hit))
        return FALSE;
    *info = hit.ti;
    return TRUE;
}

void CToolTipCtrl::UpdateTipText(LPCTSTR text, CWnd* wnd, UINT_PTR toolId) {
    TOOLINFO info;
    FillInToolInfo(info, wnd, toolId);
    info.lpszText = const_cast<LPSTR>(text);
    Send(TTM_UPDATETIPTEXT, 0, (LPARAM)&info);
}

void CToolTipCtrl::UpdateTipText(UINT textId, CWnd* wnd, UINT_PTR toolId) {
    UpdateTipText(MAKEINTRESOURCE(textId), wnd, toolId);
}
