// Records, notifications and private messages that a shortcut bar and its lists share.
#pragma once

#include "platform/framework/window/Wnd.h"

typedef void* HSHBGROUP;

// Group-info mask bits.
#define SHBIF_TEXT 0x010000
#define SHBIF_IMAGE 0x020000
#define SHBIF_IMAGEEXPANDED 0x040000
#define SHBIF_PARAM 0x080000
#define SHBIF_ORDER 0x100000
#define SHBIF_VIEW 0x200000
#define SHBIF_DESCRIPTOR 0x400000
#define SHBIF_CHILDWND 0x800000

// Descriptor mask bits.
#define SHBIF_CLRBACK 0x01
#define SHBIF_CLRTEXT 0x02
#define SHBIF_HDRCLRBACK 0x04
#define SHBIF_HDRCLRTEXT 0x08
#define SHBIF_HDRTEXTFMT 0x10
#define SHBIF_FONT 0x20
#define SHBIF_HDRFONT 0x40
#define SHBIF_HDRHEIGHT 0x80

// Descriptor copy flags.
#define SHBCD_CLEAR 0x1
#define SHBCD_SOURCEMASK 0x4

#define SHB_LARGEICON 1
#define SHB_SMALLICON 2

// Bar styles.
#define SHBS_DISABLEDRAGITEM 0x0001
#define SHBS_DISABLEDROPITEM 0x0002
#define SHBS_EDITHEADERS 0x0004
#define SHBS_EDITITEMS 0x0008
#define SHBS_INFOTIP 0x0010
#define SHBS_NOSCROLL 0x0020
#define SHBS_BOLDEXPANDEDGROUP 0x0040
#define SHBS_UNDERLINEHOTITEM 0x0080
#define SHBS_SHOWACTIVEALWAYS 0x0100
#define SHBS_DISABLEDRAGDROPHEADER 0x0200
#define SHBS_DRAWHEADERDRAGIMAGE 0x0400
#define SHBS_DRAWITEMDRAGIMAGE 0x0800
#define SHBS_AUTOSCROLL 0x1000
#define SHBS_ANIMATEEXPAND 0x2000
#define SHBS_AUTOEXPAND 0x4000
#define SHBS_FLATGROUPBUTTON 0x8000

// Notifications to the owner.
#define SHBN_DRAGENTER 0x80A4
#define SHBN_DRAGLEAVE 0x80A5
#define SHBN_DRAGOVER 0x80A6
#define SHBN_DROP 0x80A8
#define SHBN_BEGINDRAGHEADER 0x80D0
#define SHBN_BEGINHEADEREDIT 0x80D1
#define SHBN_DELETEGROUP 0x80D2
#define SHBN_ENDHEADEREDIT 0x80D3
#define SHBN_GETHEADERINFOTIP 0x80D4
#define SHBN_GROUPEXPANDED 0x80D5
#define SHBN_GROUPEXPANDING 0x80D7
#define SHBN_DRAWHEADER 0x80D8
#define SHBN_DROPGROUP 0x80D9
#define SHBN_INSERTGROUP 0x80DA
#define SHBN_BEGINDRAGITEM 0x80DB
#define SHBN_BEGINITEMEDIT 0x80DC
#define SHBN_DELETEALLITEMS 0x80DD
#define SHBN_DELETEITEM 0x80DE
#define SHBN_ENDITEMEDIT 0x80DF
#define SHBN_GETITEMINFOTIP 0x80E0
#define SHBN_INSERTITEM 0x80E1
#define SHBN_SELECTITEM 0x80E2
#define SHBN_ACTIVATEITEM 0x80E3
#define SHBN_HOTITEM 0x80E4
#define SHBN_DRAWITEM 0x80E5
#define SHBN_GETDROPTARGET 0x80E6
#define SHBN_GETDROPSOURCE 0x80E7
#define SHBN_BEGINDRAGDROPITEM 0x80E8
#define SHBN_GETADDITIONALDROPDATA 0x80E9
#define SHBN_HANDLEADDITIONALDROPDATA 0x80EA
#define SHBN_ENDDRAGDROPITEM 0x80EB
#define SHBN_CONTEXTMENU 0x80EC

// Private messages between the bar and the child windows of its groups.
#define SHBM_POPULATECONTEXTMENU 0x80EE
#define SHBM_SETSHBGROUP 0x80EF
#define SHBM_GROUPINFOCHANGED 0x80F0
#define SHBM_SHBINFOCHANGED 0x80F1
#define SHBM_DELETESHBGROUP 0x80F2
#define SHBM_DODRAGITEM 0x80F4

// Context-menu commands.
#define SHB_IDMLARGEICON 33014
#define SHB_IDMSMALLICON 33015
#define SHB_IDMADDNEWGROUP 33016
#define SHB_IDMREMOVEGROUP 33017
#define SHB_IDMRENAMEGROUP 33018
#define SHB_IDMREMOVEITEM 33019
#define SHB_IDMRENAMEITEM 33020

// Colours and fonts of one group.
struct _tagSHB_DESCRIPTOR {
    COLORREF clrBackground = 0;
    COLORREF clrText = 0;
    COLORREF clrHeaderBackground = 0;
    COLORREF clrHeaderText = 0;
    UINT nHeaderTextFormat = 0;
    LOGFONT lfText{};
    LOGFONT lfHeader{};
    int nHeaderHeight = 0;
    UINT nMask = 0;
};
typedef _tagSHB_DESCRIPTOR SHB_DESCRIPTOR;
typedef _tagSHB_DESCRIPTOR* LPSHB_DESCRIPTOR;

// A group as callers give it and as the bar stores it.
struct _tagSHB_GROUPINFO {
    LPTSTR pszText = nullptr;
    int nTextMax = 0;
    int nImage = -1;
    int nImageExpanded = -1;
    LPARAM lParam = 0;
    int nOrder = -1;
    int nView = 1;
    LPSHB_DESCRIPTOR pDescriptor = nullptr;
    HWND hwndChild = nullptr;
    UINT nMask = 0;
};
typedef _tagSHB_GROUPINFO SHB_GROUPINFO;
typedef _tagSHB_GROUPINFO* LPSHB_GROUPINFO;

// The notification record: the header, then the group, the item and one value.
struct NMSHORTCUTBAR {
    NMHDR hdr;
    HSHBGROUP hGroup;
    int nItem;
    LPARAM lParam;
};
typedef NMSHORTCUTBAR* LPNMSHORTCUTBAR;

class COXShortcutBar;

// The record of the context-menu notification and of SHBM_POPULATECONTEXTMENU; the point is in
// screen coordinates.
struct SHBCONTEXTMENU {
    CMenu* pMenu;
    COXShortcutBar* pShortcutBar;
    HSHBGROUP hGroup;
    POINT point;
};

// The tooltip request of SHBN_GETHEADERINFOTIP and SHBN_GETITEMINFOTIP.
struct SHBINFOTIP {
    LPTSTR lpszText;
    TCHAR szText[80];
};

// Extra data that goes with a dragged item.
struct SHBADDITIONALDROPDATA {
    DWORD nBufferLength;
    void* lpBuffer;
};

// Fills a notification record and sends it to `to`: header from `from`/`id`.
LRESULT SendShortcutBarNotify(HWND to, HWND from, UINT_PTR id, UINT code, HSHBGROUP group, int item, LPARAM lParam);
