#include "platform/framework/bars/MiniFrameWnd.h"

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)

BOOL CMiniFrameWnd::Create(LPCTSTR className, LPCTSTR title, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateEx(0, className, title, style, rect, parent, id);
}

BOOL CMiniFrameWnd::CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR title, DWORD style, const RECT& rect,
                             CWnd* parent, UINT id) {
    m_dwMiniStyle = style & (MFS_SYNCACTIVE | MFS_4THICKFRAME | MFS_THICKFRAME | MFS_MOVEFRAME);
    style &= ~(DWORD)(MFS_SYNCACTIVE | MFS_4THICKFRAME | MFS_THICKFRAME | MFS_MOVEFRAME);
    if (m_dwMiniStyle & (MFS_THICKFRAME | MFS_4THICKFRAME))
        style |= WS_THICKFRAME;
    // A popup owned by `parent`; an id makes no menu of it.
    (void)id;
    return CWnd::CreateEx(exStyle | WS_EX_TOOLWINDOW, className ? className : AfxWndClassName(), title, style,
                          rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                          parent ? parent->m_hWnd : nullptr, nullptr);
}
