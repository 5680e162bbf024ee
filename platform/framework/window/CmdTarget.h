// Message maps: a static table per class, looked up from the class towards its bases.
#pragma once

#include <cstring>

#include "platform/base/Object.h"
#include "platform/user/User.h"

class CCmdTarget;
class CWnd;
typedef void (CCmdTarget::*AFX_PMSG)();

enum AfxSig : UINT_PTR {
    AfxSig_end = 0,
    AfxSig_vv,         // void ()
    AfxSig_lwl,        // LRESULT (WPARAM, LPARAM)
    AfxSig_is,         // int (LPCREATESTRUCT)
    AfxSig_vw,         // void (UINT_PTR)
    AfxSig_vwii,       // void (UINT, int, int)
    AfxSig_vW,         // void (CWnd*)
    AfxSig_vwWb,       // void (UINT, CWnd*, BOOL)
    AfxSig_bH,         // BOOL (HDC)
    AfxSig_hHWw,       // HBRUSH (HDC, HWND, UINT)
    AfxSig_vNMHDRpl,   // void (NMHDR*, LRESULT*)
    AfxSig_vwp,        // void (UINT, POINT)
    AfxSig_vwww,       // void (UINT, UINT, UINT)
    AfxSig_vb,         // void (BOOL)
    AfxSig_bw,         // BOOL (UINT): the command id; FALSE lets routing go on
    AfxSig_bv,         // BOOL (): a reflected command; FALSE lets the parent have it too
    AfxSig_vwNMHDRpl,  // void (UINT, NMHDR*, LRESULT*): the control id first
    AfxSig_bwNMHDRpl,  // BOOL (UINT, NMHDR*, LRESULT*): FALSE lets routing go on
    AfxSig_bNMHDRpl,   // BOOL (NMHDR*, LRESULT*): a reflected notification; FALSE lets the parent have it
    AfxSig_cmdui,      // void (CCmdUI*)
    AfxSig_cmduiw,     // void (CCmdUI*, UINT): the range form, with the id
    AfxSig_vwl,        // void (UINT, LPARAM-as-point): WM_SYSCOMMAND
    AfxSig_vwwb,       // void (UINT, UINT, BOOL)-shaped: WM_INITMENUPOPUP (HMENU, index, system menu)
    AfxSig_vwwh,       // void (UINT, UINT, HMENU): WM_MENUSELECT
    AfxSig_vbWW,       // void (BOOL, CWnd*, CWnd*): WM_MDIACTIVATE
    AfxSig_bb,         // BOOL (BOOL): WM_NCACTIVATE
    AfxSig_vMMI,       // void (MINMAXINFO*)
    AfxSig_vWp,        // void (CWnd*, POINT): WM_CONTEXTMENU
    AfxSig_vii,        // void (int, int): WM_MOVE
    AfxSig_vbw,        // void (BOOL, UINT): WM_SHOWWINDOW
    AfxSig_bWww,       // BOOL (CWnd*, UINT, UINT): WM_SETCURSOR
    AfxSig_iWww,       // int (CWnd*, UINT, UINT): WM_MOUSEACTIVATE
    AfxSig_bwsp,       // BOOL (UINT, short, POINT): WM_MOUSEWHEEL
    AfxSig_bv_msg,     // BOOL (): WM_QUERYENDSESSION and the like
};

// Command codes: a command from a menu or an accelerator, and a notification routed through
// OnCmdMsg as MAKELONG(code, WM_NOTIFY) with an AFX_NOTIFY as the extra.
#define CN_COMMAND 0
// Asks the handler of a command for the state of its user-interface item; the extra is a CCmdUI.
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))
class CCmdUI;
class CMenu;

struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// Filled by OnCmdMsg instead of calling the handler, for callers asking who would handle a command.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
    AFX_PMSG pmf;
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    UINT_PTR nSig;
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// A handler of class T with the given signature, stored as the generic member pointer.
template <class T, class R, class... A>
inline AFX_PMSG AfxMsgCast(R (T::*f)(A...)) {
    R (CCmdTarget::*base)(A...) = static_cast<R (CCmdTarget::*)(A...)>(f);
    static_assert(sizeof(base) == sizeof(AFX_PMSG));
    AFX_PMSG out;
    std::memcpy(&out, &base, sizeof out);
    return out;
}
// The stored handler back as its own signature.
template <class To>
inline To AfxPmsgAs(AFX_PMSG p) {
    static_assert(sizeof(To) == sizeof(AFX_PMSG));
    To out;
    std::memcpy(&out, &p, sizeof out);
    return out;
}

#define DECLARE_MESSAGE_MAP()                     \
protected:                                        \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)          \
    const AFX_MSGMAP* theClass::GetMessageMap() const { \
        return GetThisMessageMap();                     \
    }                                                   \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {   \
        typedef theClass ThisClass [[maybe_unused]];    \
        typedef baseClass TheBaseClass;                 \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                                         \
    { 0, 0, 0, 0, AfxSig_end, (AFX_PMSG) nullptr }                                                \
    }                                                                                             \
    ;                                                                                             \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
    return &messageMap;                                                                           \
    }

#define ON_MESSAGE(message, memberFxn) \
    {(UINT)(message),                  \
     0,                                \
     0,                                \
     0,                                \
     AfxSig_lwl,                       \
     AfxMsgCast<ThisClass, LRESULT, WPARAM, LPARAM>(&ThisClass::memberFxn)},
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn) \
    {0xC000,                                               \
     0,                                                    \
     0,                                                    \
     0,                                                    \
     (UINT_PTR)(UINT*)(&nMessageVariable),                 \
     AfxMsgCast<ThisClass, LRESULT, WPARAM, LPARAM>(&ThisClass::memberFxn)},
#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, 0, (UINT)(id), (UINT)(id), AfxSig_vv, AfxMsgCast<ThisClass, void>(&ThisClass::memberFxn)},
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
    {WM_COMMAND,     0,         (UINT)(id),     \
     (UINT)(idLast), AfxSig_vw, AfxMsgCast<ThisClass, void, UINT>(&ThisClass::memberFxn)},
#define ON_COMMAND_EX(id, memberFxn)    \
    {WM_COMMAND, 0,         (UINT)(id), \
     (UINT)(id), AfxSig_bw, AfxMsgCast<ThisClass, BOOL, UINT>(&ThisClass::memberFxn)},
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn) \
    {WM_COMMAND,     0,         (UINT)(id),        \
     (UINT)(idLast), AfxSig_bw, AfxMsgCast<ThisClass, BOOL, UINT>(&ThisClass::memberFxn)},
#define ON_CONTROL(code, id, memberFxn)    \
    {WM_COMMAND, (WORD)(code), (UINT)(id), \
     (UINT)(id), AfxSig_vv,    AfxMsgCast<ThisClass, void>(&ThisClass::memberFxn)},
#define ON_CONTROL_REFLECT(code, memberFxn) \
    {WM_REFLECT_BASE + WM_COMMAND,          \
     (WORD)(code),                          \
     0,                                     \
     0,                                     \
     AfxSig_vv,                             \
     AfxMsgCast<ThisClass, void>(&ThisClass::memberFxn)},
#define ON_CONTROL_REFLECT_EX(code, memberFxn) \
    {WM_REFLECT_BASE + WM_COMMAND,             \
     (WORD)(code),                             \
     0,                                        \
     0,                                        \
     AfxSig_bv,                                \
     AfxMsgCast<ThisClass, BOOL>(&ThisClass::memberFxn)},
#define ON_UPDATE_COMMAND_UI(id, memberFxn)    \
    {WM_COMMAND,   (UINT)CN_UPDATE_COMMAND_UI, \
     (UINT)(id),   (UINT)(id),                 \
     AfxSig_cmdui, AfxMsgCast<ThisClass, void, CCmdUI*>(&ThisClass::memberFxn)},
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn) \
    {WM_COMMAND,    (UINT)CN_UPDATE_COMMAND_UI,           \
     (UINT)(id),    (UINT)(idLast),                       \
     AfxSig_cmduiw, AfxMsgCast<ThisClass, void, CCmdUI*, UINT>(&ThisClass::memberFxn)},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
// Notification codes are kept as their low word, which WM_NOTIFY routing compares.
#define ON_NOTIFY(code, id, memberFxn)          \
    {WM_NOTIFY,  (WORD)(int)(code), (UINT)(id), \
     (UINT)(id), AfxSig_vNMHDRpl,   AfxMsgCast<ThisClass, void, NMHDR*, LRESULT*>(&ThisClass::memberFxn)},
#define ON_NOTIFY_RANGE(code, id, idLast, memberFxn) \
    {WM_NOTIFY,        (WORD)(int)(code),            \
     (UINT)(id),       (UINT)(idLast),               \
     AfxSig_vwNMHDRpl, AfxMsgCast<ThisClass, void, UINT, NMHDR*, LRESULT*>(&ThisClass::memberFxn)},
#define ON_NOTIFY_EX(code, id, memberFxn) \
    {WM_NOTIFY,        (WORD)(int)(code), \
     (UINT)(id),       (UINT)(id),        \
     AfxSig_bwNMHDRpl, AfxMsgCast<ThisClass, BOOL, UINT, NMHDR*, LRESULT*>(&ThisClass::memberFxn)},
#define ON_NOTIFY_EX_RANGE(code, id, idLast, memberFxn) \
    {WM_NOTIFY,        (WORD)(int)(code),               \
     (UINT)(id),       (UINT)(idLast),                  \
     AfxSig_bwNMHDRpl, AfxMsgCast<ThisClass, BOOL, UINT, NMHDR*, LRESULT*>(&ThisClass::memberFxn)},
#define ON_NOTIFY_REFLECT(code, memberFxn) \
    {WM_REFLECT_BASE + WM_NOTIFY,          \
     (WORD)(int)(code),                    \
     0,                                    \
     0,                                    \
     AfxSig_vNMHDRpl,                      \
     AfxMsgCast<ThisClass, void, NMHDR*, LRESULT*>(&ThisClass::memberFxn)},
#define ON_NOTIFY_REFLECT_EX(code, memberFxn) \
    {WM_REFLECT_BASE + WM_NOTIFY,             \
     (WORD)(int)(code),                       \
     0,                                       \
     0,                                       \
     AfxSig_bNMHDRpl,                         \
     AfxMsgCast<ThisClass, BOOL, NMHDR*, LRESULT*>(&ThisClass::memberFxn)},
#define ON_WM_CREATE() \
    {WM_CREATE, 0, 0, 0, AfxSig_is, AfxMsgCast<ThisClass, int, LPCREATESTRUCT>(&ThisClass::OnCreate)},
#define ON_WM_DESTROY() {WM_DESTROY, 0, 0, 0, AfxSig_vv, AfxMsgCast<ThisClass, void>(&ThisClass::OnDestroy)},
#define ON_WM_PAINT() {WM_PAINT, 0, 0, 0, AfxSig_vv, AfxMsgCast<ThisClass, void>(&ThisClass::OnPaint)},
#define ON_WM_CLOSE() {WM_CLOSE, 0, 0, 0, AfxSig_vv, AfxMsgCast<ThisClass, void>(&ThisClass::OnClose)},
#define ON_WM_TIMER() \
    {WM_TIMER, 0, 0, 0, AfxSig_vw, AfxMsgCast<ThisClass, void, UINT_PTR>(&ThisClass::OnTimer)},
#define ON_WM_SIZE() \
    {WM_SIZE, 0, 0, 0, AfxSig_vwii, AfxMsgCast<ThisClass, void, UINT, int, int>(&ThisClass::OnSize)},
#define ON_WM_SETFOCUS() \
    {WM_SETFOCUS, 0, 0, 0, AfxSig_vW, AfxMsgCast<ThisClass, void, CWnd*>(&ThisClass::OnSetFocus)},
#define ON_WM_KILLFOCUS() \
    {WM_KILLFOCUS, 0, 0, 0, AfxSig_vW, AfxMsgCast<ThisClass, void, CWnd*>(&ThisClass::OnKillFocus)},
#define ON_WM_ACTIVATE()          \
    {WM_ACTIVATE, 0,           0, \
     0,           AfxSig_vwWb, AfxMsgCast<ThisClass, void, UINT, CWnd*, BOOL>(&ThisClass::OnActivate)},
#define ON_WM_ERASEBKGND() \
    {WM_ERASEBKGND, 0, 0, 0, AfxSig_bH, AfxMsgCast<ThisClass, BOOL, HDC>(&ThisClass::OnEraseBkgnd)},
#define ON_WM_LBUTTONDOWN() \
    {WM_LBUTTONDOWN,        \
     0,                     \
     0,                     \
     0,                     \
     AfxSig_vwp,            \
     AfxMsgCast<ThisClass, void, UINT, POINT>(&ThisClass::OnLButtonDown)},
#define ON_WM_LBUTTONUP() \
    {WM_LBUTTONUP, 0, 0, 0, AfxSig_vwp, AfxMsgCast<ThisClass, void, UINT, POINT>(&ThisClass::OnLButtonUp)},
#define ON_WM_CHAR() \
    {WM_CHAR, 0, 0, 0, AfxSig_vwww, AfxMsgCast<ThisClass, void, UINT, UINT, UINT>(&ThisClass::OnChar)},
#define ON_WM_KEYDOWN() \
    {WM_KEYDOWN, 0, 0, 0, AfxSig_vwww, AfxMsgCast<ThisClass, void, UINT, UINT, UINT>(&ThisClass::OnKeyDown)},
#define ON_WM_ENABLE() \
    {WM_ENABLE, 0, 0, 0, AfxSig_vb, AfxMsgCast<ThisClass, void, BOOL>(&ThisClass::OnEnable)},
#define ON_WM_NCDESTROY() \
    {WM_NCDESTROY, 0, 0, 0, AfxSig_vv, AfxMsgCast<ThisClass, void>(&ThisClass::OnNcDestroy)},
#define ON_WM_MOVE() \
    {WM_MOVE, 0, 0, 0, AfxSig_vii, AfxMsgCast<ThisClass, void, int, int>(&ThisClass::OnMove)},
#define ON_WM_SHOWWINDOW() \
    {WM_SHOWWINDOW, 0, 0, 0, AfxSig_vbw, AfxMsgCast<ThisClass, void, BOOL, UINT>(&ThisClass::OnShowWindow)},
#define ON_WM_SYSCOMMAND() \
    {WM_SYSCOMMAND, 0, 0, 0, AfxSig_vwl, AfxMsgCast<ThisClass, void, UINT, LPARAM>(&ThisClass::OnSysCommand)},
#define ON_WM_INITMENUPOPUP() \
    {WM_INITMENUPOPUP,        \
     0,                       \
     0,                       \
     0,                       \
     AfxSig_vwwb,             \
     AfxMsgCast<ThisClass, void, CMenu*, UINT, BOOL>(&ThisClass::OnInitMenuPopup)},
#define ON_WM_MENUSELECT() \
    {WM_MENUSELECT,        \
     0,                    \
     0,                    \
     0,                    \
     AfxSig_vwwh,          \
     AfxMsgCast<ThisClass, void, UINT, UINT, HMENU>(&ThisClass::OnMenuSelect)},
#define ON_WM_MDIACTIVATE() \
    {WM_MDIACTIVATE,        \
     0,                     \
     0,                     \
     0,                     \
     AfxSig_vbWW,           \
     AfxMsgCast<ThisClass, void, BOOL, CWnd*, CWnd*>(&ThisClass::OnMDIActivate)},
#define ON_WM_NCACTIVATE() \
    {WM_NCACTIVATE, 0, 0, 0, AfxSig_bb, AfxMsgCast<ThisClass, BOOL, BOOL>(&ThisClass::OnNcActivate)},
#define ON_WM_GETMINMAXINFO() \
    {WM_GETMINMAXINFO,        \
     0,                       \
     0,                       \
     0,                       \
     AfxSig_vMMI,             \
     AfxMsgCast<ThisClass, void, MINMAXINFO*>(&ThisClass::OnGetMinMaxInfo)},
#define ON_WM_CONTEXTMENU() \
    {WM_CONTEXTMENU,        \
     0,                     \
     0,                     \
     0,                     \
     AfxSig_vWp,            \
     AfxMsgCast<ThisClass, void, CWnd*, POINT>(&ThisClass::OnContextMenu)},
#define ON_WM_SETCURSOR() \
    {WM_SETCURSOR,        \
     0,                   \
     0,                   \
     0,                   \
     AfxSig_bWww,         \
     AfxMsgCast<ThisClass, BOOL, CWnd*, UINT, UINT>(&ThisClass::OnSetCursor)},
#define ON_WM_MOUSEACTIVATE() \
    {WM_MOUSEACTIVATE,        \
     0,                       \
     0,                       \
     0,                       \
     AfxSig_iWww,             \
     AfxMsgCast<ThisClass, int, CWnd*, UINT, UINT>(&ThisClass::OnMouseActivate)},
#define ON_WM_MOUSEMOVE() \
    {WM_MOUSEMOVE, 0, 0, 0, AfxSig_vwp, AfxMsgCast<ThisClass, void, UINT, POINT>(&ThisClass::OnMouseMove)},
#define ON_WM_LBUTTONDBLCLK() \
    {WM_LBUTTONDBLCLK,        \
     0,                       \
     0,                       \
     0,                       \
     AfxSig_vwp,              \
     AfxMsgCast<ThisClass, void, UINT, POINT>(&ThisClass::OnLButtonDblClk)},
#define ON_WM_RBUTTONDOWN() \
    {WM_RBUTTONDOWN,        \
     0,                     \
     0,                     \
     0,                     \
     AfxSig_vwp,            \
     AfxMsgCast<ThisClass, void, UINT, POINT>(&ThisClass::OnRButtonDown)},
#define ON_WM_RBUTTONUP() \
    {WM_RBUTTONUP, 0, 0, 0, AfxSig_vwp, AfxMsgCast<ThisClass, void, UINT, POINT>(&ThisClass::OnRButtonUp)},
#define ON_WM_MOUSEWHEEL() \
    {WM_MOUSEWHEEL,        \
     0,                    \
     0,                    \
     0,                    \
     AfxSig_bwsp,          \
     AfxMsgCast<ThisClass, BOOL, UINT, short, POINT>(&ThisClass::OnMouseWheel)},
#define ON_WM_QUERYENDSESSION() \
    {WM_QUERYENDSESSION, 0, 0, 0, AfxSig_bv_msg, AfxMsgCast<ThisClass, BOOL>(&ThisClass::OnQueryEndSession)},
#define ON_WM_KEYUP() \
    {WM_KEYUP, 0, 0, 0, AfxSig_vwww, AfxMsgCast<ThisClass, void, UINT, UINT, UINT>(&ThisClass::OnKeyUp)},
#define ON_WM_SYSKEYDOWN() \
    {WM_SYSKEYDOWN,        \
     0,                    \
     0,                    \
     0,                    \
     AfxSig_vwww,          \
     AfxMsgCast<ThisClass, void, UINT, UINT, UINT>(&ThisClass::OnSysKeyDown)},

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    ~CCmdTarget() override = default;
    // Routes a command to this object's map; TRUE when handled. nCode is the control's
    // notification code for WM_COMMAND (CN_COMMAND for menus and accelerators), or
    // MAKELONG(code, WM_NOTIFY) for a WM_NOTIFY with an AFX_NOTIFY in pExtra. With an
    // AFX_CMDHANDLERINFO the handler is named, not called.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

protected:
    // The entry of this object's maps for a message, or null. Commands and notifications (plain
    // or reflected) match on the low word of their code, and plain ones on the id too.
    const AFX_MSGMAP_ENTRY* FindEntry(UINT message, UINT code, UINT id) const;
};
