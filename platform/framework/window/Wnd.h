// CWnd: a C++ object attached to a window, its messages routed through the message maps.
#pragma once

#include "platform/base/String.h"
#include "platform/framework/window/CmdTarget.h"
#include "platform/user/Controls.h"

#define WF_CONTINUEMODAL 0x0080
#define WF_MODALLOOP 0x0008

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    WNDPROC m_pfnSuper = nullptr;
    UINT m_nFlags = 0;
    int m_nModalResult = 0;

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }
    // The object attached to a window, or null.
    static CWnd* FromHandlePermanent(HWND hwnd);
    // The attached object, or a temporary one that lives until the thread's next idle time.
    static CWnd* FromHandle(HWND hwnd);
    static void DeleteTempMap();
    BOOL Attach(HWND hwnd);
    HWND Detach();
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    BOOL CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y, int width,
                  int height, HWND parent, HMENU idOrMenu, LPVOID param = nullptr);
    BOOL CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id, LPVOID param = nullptr);
    virtual BOOL Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                        UINT id, LPVOID context = nullptr);
    virtual BOOL DestroyWindow();
    virtual void PostNcDestroy() {}

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A message its parent reflects to this control (WM_COMMAND, WM_NOTIFY, owner draw, colours,
    // scrolling); TRUE when the control handled it and the parent must not.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Offers a message about `control` to its CWnd first; TRUE when that handled it.
    BOOL ReflectChildNotify(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    LRESULT Default();

    // Modal loops (dialogs).
    virtual int RunModalLoop(DWORD flags = 0);
    virtual BOOL ContinueModal();
    virtual void EndModalLoop(int result);

    // The window, through its handle.
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    void SetWindowText(LPCTSTR text) { ::SetWindowText(m_hWnd, text); }
    void GetWindowText(CString& text) const { text = GetWindowTextString(m_hWnd); }
    int GetWindowTextLength() const { return ::GetWindowTextLength(m_hWnd); }
    CWnd* GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
    void SetDlgItemText(int id, LPCTSTR text) { ::SetDlgItemText(m_hWnd, id, text); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* GetOwner() const { return FromHandle(::GetWindow(m_hWnd, GW_OWNER)); }
    void GetClientRect(LPRECT rc) const { ::GetClientRect(m_hWnd, rc); }
    void GetWindowRect(LPRECT rc) const { ::GetWindowRect(m_hWnd, rc); }
    void MoveWindow(int x, int y, int w, int h, BOOL repaint = TRUE) {
        ::MoveWindow(m_hWnd, x, y, w, h, repaint);
    }
    BOOL SetWindowPos(const CWnd* after, int x, int y, int cx, int cy, UINT flags) {
        return ::SetWindowPos(m_hWnd, after ? after->m_hWnd : nullptr, x, y, cx, cy, flags);
    }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(const RECT* rc, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, rc, erase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessage(m_hWnd, msg, wParam, lParam);
    }
    BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::PostMessage(m_hWnd, msg, wParam, lParam);
    }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc) {
        return ::SetTimer(m_hWnd, id, elapse, proc);
    }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
    DWORD GetStyle() const { return (DWORD)::GetWindowLongPtr(m_hWnd, GWL_STYLE); }
    DWORD GetExStyle() const { return (DWORD)::GetWindowLongPtr(m_hWnd, GWL_EXSTYLE); }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    void ScreenToClient(LPPOINT pt) const { ::ScreenToClient(m_hWnd, pt); }
    void ClientToScreen(LPPOINT pt) const { ::ClientToScreen(m_hWnd, pt); }
    // Centres the window on `alternate`, or on its owner, or on the screen.
    void CenterWindow(CWnd* alternate = nullptr);

protected:
    // Handlers of the common messages: the default handling.
    int OnCreate(LPCREATESTRUCT) { return (int)Default(); }
    void OnDestroy() { Default(); }
    void OnPaint() { Default(); }
    void OnClose() { Default(); }
    void OnTimer(UINT_PTR) { Default(); }
    void OnSize(UINT, int, int) { Default(); }
    void OnSetFocus(CWnd*) { Default(); }
    void OnKillFocus(CWnd*) { Default(); }
    void OnActivate(UINT, CWnd*, BOOL) { Default(); }
    BOOL OnEraseBkgnd(HDC) { return (BOOL)Default(); }
    void OnLButtonDown(UINT, POINT) { Default(); }
    void OnLButtonUp(UINT, POINT) { Default(); }
    void OnChar(UINT, UINT, UINT) { Default(); }
    void OnKeyDown(UINT, UINT, UINT) { Default(); }
    void OnEnable(BOOL) { Default(); }

    DECLARE_MESSAGE_MAP()

    friend LRESULT AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    const MSG* m_pCurrentMsg = nullptr;
};

LRESULT AfxWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Attaches the next window this thread creates to `wnd` (creation messages included).
void AfxHookWindowCreate(CWnd* wnd);
bool AfxUnhookWindowCreate();
// The class name of plain framework windows.
LPCTSTR AfxWndClassName();
