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
};

// Command codes: a command from a menu or an accelerator, and a notification routed through
// OnCmdMsg as MAKELONG(code, WM_NOTIFY) with an AFX_NOTIFY as the extra.
#define CN_COMMAND 0

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
