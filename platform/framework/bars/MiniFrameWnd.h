// CMiniFrameWnd: a frame with a small caption (a tool window), drawn by us on every display.
#pragma once

#include "platform/framework/frames/FrameWnd.h"

// Mini frame styles, kept beside the window styles.
#define MFS_SYNCACTIVE 0x00000100L
#define MFS_4THICKFRAME 0x00000200L
#define MFS_THICKFRAME 0x00000400L
#define MFS_MOVEFRAME 0x00000800L

class CMiniFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMiniFrameWnd)
public:
    CMiniFrameWnd() = default;
    BOOL Create(LPCTSTR className, LPCTSTR title, DWORD style, const RECT& rect, CWnd* parent = nullptr,
                UINT id = 0);
    BOOL CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR title, DWORD style, const RECT& rect,
                  CWnd* parent = nullptr, UINT id = 0);
    DWORD m_dwMiniStyle = 0;  // the MFS_ bits asked for
};
