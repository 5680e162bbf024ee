// CStatic: the static control's wrapper.
#pragma once

#include "platform/framework/window/Wnd.h"
#include "platform/user/Controls.h"
#include "platform/user/ListView.h"

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    CStatic() = default;
    using CWnd::Create;
    virtual BOOL Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF) {
        return CWnd::Create(WC_STATIC, text, style, rect, parent, id);
    }
    HICON SetIcon(HICON icon) { return (HICON)SendMessage(STM_SETICON, (WPARAM)icon, 0); }
    HICON GetIcon() const { return (HICON)::SendMessage(m_hWnd, STM_GETICON, 0, 0); }
    // Owner-drawn statics (SS_OWNERDRAW) draw through this.
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
};
