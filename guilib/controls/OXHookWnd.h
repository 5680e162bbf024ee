// A hook on the messages of one window, without deriving from the window's class. Any number of hooks
// may sit on one window: its procedure is replaced once, and each message passes through the hooks,
// newest first, before it reaches the window's previous procedure. A hook can also watch whether the
// mouse is over its window (a 100 ms timer) and post HWM_MOUSEENTER / HWM_MOUSELEAVE when that changes.
#pragma once

#include "platform/base/Object.h"
#include "platform/framework/window/Wnd.h"
#include "platform/user/User.h"

// Posted to the hooked window (wParam and lParam 0): the mouse came over it, or left it.
#define HWM_MOUSEENTER 0x808A
#define HWM_MOUSELEAVE 0x808B

class COXHookWnd : public CObject {
    DECLARE_DYNAMIC(COXHookWnd)

public:
    COXHookWnd();
    ~COXHookWnd() override;
    COXHookWnd(const COXHookWnd&) = delete;
    COXHookWnd& operator=(const COXHookWnd&) = delete;

    // Handles a message of the hooked window: the mouse check, then the next (older) hook, or the
    // window's previous procedure at the end of the chain. Derived hooks call this for what they do not
    // consume.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Makes this the newest hook of the window (a hook already on a window leaves it first).
    virtual void HookWindow(HWND hwnd);
    void HookWindow(CWnd* wnd) { HookWindow(wnd ? wnd->GetSafeHwnd() : nullptr); }
    // Leaves the chain; the last hook to leave puts the window's procedure back. Returns 0.
    virtual LRESULT UnhookWindow();
    // Timer 1 on the hooked window, every 100 ms; TRUE when set.
    virtual BOOL StartMouseTracking();
    virtual void StopMouseTracking();

    BOOL IsHooked() const { return m_hWndHooked != nullptr; }
    HWND GetHookedWnd() const { return m_hWndHooked; }
    BOOL IsMouseInside() const { return m_bMouseInside; }

protected:
    HWND m_hWndHooked;
    WNDPROC m_pOldWndProc;
    COXHookWnd* m_pNext;
    UINT m_nTimerID;
    BOOL m_bMouseInside;

private:
    void CheckMouse();
    friend LRESULT OXHookWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

// The procedure installed once per hooked window.
LRESULT OXHookWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
