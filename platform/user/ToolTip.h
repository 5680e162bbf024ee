// The tooltip control ("tooltips_class32"): tools (a rectangle of a window, or a whole child window) with
// texts, shown in a small popup when the pointer rests over a tool. The owner relays its mouse messages
// (TTM_RELAYEVENT), or the tip watches a tool window itself (TTF_SUBCLASS). The delays run on the
// platform clock.
#pragma once

#include "platform/user/ListView.h"

#define TOOLTIPS_CLASS "tooltips_class32"

#define TTS_ALWAYSTIP 0x01
#define TTS_NOPREFIX 0x02
#define TTS_NOANIMATE 0x10
#define TTS_NOFADE 0x20
#define TTS_BALLOON 0x40

#define TTF_IDISHWND 0x0001
#define TTF_CENTERTIP 0x0002
#define TTF_RTLREADING 0x0004
#define TTF_SUBCLASS 0x0010
#define TTF_TRACK 0x0020
#define TTF_ABSOLUTE 0x0080
#define TTF_TRANSPARENT 0x0100
#define TTF_DI_SETITEM 0x8000

#define TTDT_AUTOMATIC 0
#define TTDT_RESHOW 1
#define TTDT_AUTOPOP 2
#define TTDT_INITIAL 3

#ifndef LPSTR_TEXTCALLBACK
#define LPSTR_TEXTCALLBACK ((LPTSTR)(LONG_PTR)-1)
#endif

#define TTM_ACTIVATE (WM_USER + 1)
#define TTM_SETDELAYTIME (WM_USER + 3)
#define TTM_ADDTOOL (WM_USER + 4)
#define TTM_DELTOOL (WM_USER + 5)
#define TTM_NEWTOOLRECT (WM_USER + 6)
#define TTM_RELAYEVENT (WM_USER + 7)
#define TTM_GETTOOLINFO (WM_USER + 8)
#define TTM_SETTOOLINFO (WM_USER + 9)
#define TTM_HITTEST (WM_USER + 10)
#define TTM_GETTEXT (WM_USER + 11)
#define TTM_UPDATETIPTEXT (WM_USER + 12)
#define TTM_GETTOOLCOUNT (WM_USER + 13)
#define TTM_ENUMTOOLS (WM_USER + 14)
#define TTM_GETCURRENTTOOL (WM_USER + 15)
#define TTM_WINDOWFROMPOINT (WM_USER + 16)
#define TTM_TRACKACTIVATE (WM_USER + 17)
#define TTM_TRACKPOSITION (WM_USER + 18)
#define TTM_SETTIPBKCOLOR (WM_USER + 19)
#define TTM_SETTIPTEXTCOLOR (WM_USER + 20)
#define TTM_GETDELAYTIME (WM_USER + 21)
#define TTM_GETTIPBKCOLOR (WM_USER + 22)
#define TTM_GETTIPTEXTCOLOR (WM_USER + 23)
#define TTM_SETMAXTIPWIDTH (WM_USER + 24)
#define TTM_GETMAXTIPWIDTH (WM_USER + 25)
#define TTM_SETMARGIN (WM_USER + 26)
#define TTM_GETMARGIN (WM_USER + 27)
#define TTM_POP (WM_USER + 28)
#define TTM_UPDATE (WM_USER + 29)
#define TTM_POPUP (WM_USER + 34)

#define TTN_FIRST (0U - 520U)
#define TTN_GETDISPINFO (TTN_FIRST - 0)
#define TTN_GETDISPINFOA TTN_GETDISPINFO
#define TTN_SHOW (TTN_FIRST - 1)
#define TTN_POP (TTN_FIRST - 2)
#define TTN_GETDISPINFOW (TTN_FIRST - 10)
#define TTN_NEEDTEXT TTN_GETDISPINFO
#define TTN_NEEDTEXTA TTN_GETDISPINFOA
#define TTN_NEEDTEXTW TTN_GETDISPINFOW

struct TOOLINFO {
    UINT cbSize;
    UINT uFlags;
    HWND hwnd;
    UINT_PTR uId;
    RECT rect;
    HINSTANCE hinst;
    LPSTR lpszText;
    LPARAM lParam;
    void* lpReserved;
};
typedef TOOLINFO* LPTOOLINFO;
typedef TOOLINFO TTTOOLINFO;

struct TTHITTESTINFO {
    HWND hwnd;
    POINT pt;
    TOOLINFO ti;
};
typedef TTHITTESTINFO* LPTTHITTESTINFO;

struct NMTTDISPINFO {
    NMHDR hdr;
    LPSTR lpszText;
    char szText[80];
    HINSTANCE hinst;
    UINT uFlags;
    LPARAM lParam;
};
typedef NMTTDISPINFO* LPNMTTDISPINFO;
typedef NMTTDISPINFO TOOLTIPTEXT;
typedef NMTTDISPINFO TOOLTIPTEXTA;
typedef NMTTDISPINFO* LPTOOLTIPTEXT;
