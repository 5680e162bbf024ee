// CWnd: a C++ object attached to a window, its messages routed through the message maps.
#pragma once

#include "platform/base/String.h"
#include "platform/framework/window/CmdTarget.h"
#include "platform/user/Controls.h"
#include "platform/user/Menu.h"

#define WF_TOOLTIPS 0x0001
#define WF_CONTINUEMODAL 0x0080
#define WF_MODALLOOP 0x0008

class CFrameWnd;
class CMenu;
struct AFX_SIZEPARENTPARAMS;
struct TOOLINFO;
struct SCROLLINFO;
class CScrollBar;

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
    // Called once the object is attached to its window, before the window procedure is replaced.
    virtual void PreSubclassWindow() {}

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

    // Tooltips: one tip per thread shows the tools OnToolHitTest finds in a window that enabled them,
    // fed by the window's PreTranslateMessage. The default hit test makes each child control a tool whose
    // text is the part after "\n" of the string with the control's id.
    BOOL EnableToolTips(BOOL enable = TRUE);
    static void CancelToolTips(BOOL keys = FALSE);
    // The tool at `point` (client coordinates): its id, with `info` filled, or -1. A text other than
    // LPSTR_TEXTCALLBACK or a resource number must come from malloc (strdup); the caller frees it.
    virtual INT_PTR OnToolHitTest(POINT point, TOOLINFO* info) const;
    void FilterToolTipMessage(MSG* msg);
    // The text of a tool asked for through TTN_NEEDTEXT: the part after "\n" of the string with the tool's
    // id (a whole-window tool: the window's control id). FALSE when there is no such string.
    BOOL OnToolTipText(UINT id, NMHDR* hdr, LRESULT* result);

    // Scrolling. Each call goes to the scroll bar control GetScrollBarCtrl gives for the bar (SB_HORZ,
    // SB_VERT), else to the bar in the window's frame.
    virtual CScrollBar* GetScrollBarCtrl(int bar) const;
    BOOL SetScrollInfo(int bar, SCROLLINFO* info, BOOL redraw = TRUE);
    BOOL GetScrollInfo(int bar, SCROLLINFO* info, UINT mask = 0x17 /* SIF_ALL */);
    int SetScrollPos(int bar, int pos, BOOL redraw = TRUE);
    int GetScrollPos(int bar) const;
    void SetScrollRange(int bar, int minPos, int maxPos, BOOL redraw = TRUE);
    void GetScrollRange(int bar, int* minPos, int* maxPos) const;
    // The largest position the bar takes: its maximum less the page.
    int GetScrollLimit(int bar);
    void ShowScrollBar(UINT bar, BOOL show = TRUE);
    // Enables the control of GetScrollBarCtrl, or shows or hides the frame's bar.
    void EnableScrollBarCtrl(int bar, BOOL enable = TRUE);
    BOOL EnableScrollBar(int bar, UINT arrows = 0);
    void ScrollWindow(int dx, int dy, const RECT* scroll = nullptr, const RECT* clip = nullptr);
    int ScrollWindowEx(int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update, LPRECT updateRect,
                       UINT flags);

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

    // Layout of a window's bars: each child with an id in [first, last] gets WM_SIZEPARENT and takes its
    // part of the client area; the child `leftOver` gets the rest. reposQuery only computes the rest
    // into `rectParam`; reposExtra shrinks the rest by the borders in `rectParam`.
    enum RepositionFlags { reposDefault = 0, reposQuery = 1, reposExtra = 2, reposNoPosLeftOver = 0x8000 };
    void RepositionBars(UINT first, UINT last, UINT leftOver, UINT flags = reposDefault,
                        LPRECT rectParam = nullptr, LPCRECT rectClient = nullptr, BOOL stretch = TRUE);
    enum AdjustType { adjustBorder = 0, adjustOutside = 1 };
    // The window rectangle that gives this window the client rectangle `rc` (in place).
    virtual void CalcWindowRect(LPRECT rc, UINT adjustType = adjustBorder);
    // Sends the message to every descendant (through all levels when `deep`).
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL deep = TRUE,
                                  BOOL permanentOnly = FALSE);
    CWnd* GetDescendantWindow(int id, BOOL permanentOnly = FALSE) const;
    // The frame around this window (the nearest ancestor that is a CFrameWnd), or null.
    CFrameWnd* GetParentFrame() const;
    CFrameWnd* GetTopLevelFrame() const;
    CWnd* GetTopLevelParent() const { return FromHandle(::GetAncestor(m_hWnd, GA_ROOT)); }
    // Virtual, so a frame that shows its menu elsewhere (a menu bar) answers the framework's own callers.
    virtual CMenu* GetMenu() const;
    virtual BOOL SetMenu(CMenu* menu);
    virtual void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    BOOL GetWindowPlacement(WINDOWPLACEMENT* wp) const { return ::GetWindowPlacement(m_hWnd, wp); }
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* wp) { return ::SetWindowPlacement(m_hWnd, wp); }
    CWnd* GetWindow(UINT cmd) const { return FromHandle(::GetWindow(m_hWnd, cmd)); }
    // The platform calls of the same names stay reachable unqualified inside members.
    static BOOL IsIconic(HWND h) { return ::IsIconic(h); }
    static BOOL IsZoomed(HWND h) { return ::IsZoomed(h); }
    static HMENU GetMenu(HWND h) { return ::GetMenu(h); }
    static BOOL SetMenu(HWND h, HMENU m) { return ::SetMenu(h, m); }
    static BOOL DrawMenuBar(HWND h) { return ::DrawMenuBar(h); }
    static HWND GetWindow(HWND h, UINT cmd) { return ::GetWindow(h, cmd); }
    static BOOL GetWindowPlacement(HWND h, WINDOWPLACEMENT* wp) { return ::GetWindowPlacement(h, wp); }
    static BOOL SetWindowPlacement(HWND h, const WINDOWPLACEMENT* wp) { return ::SetWindowPlacement(h, wp); }
    static HWND SetActiveWindow(HWND h) { return ::SetActiveWindow(h); }
    static BOOL IsChild(HWND parent, HWND h) { return ::IsChild(parent, h); }
    CWnd* SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
    BOOL IsChild(const CWnd* wnd) const { return wnd && ::IsChild(m_hWnd, wnd->m_hWnd); }
    BOOL IsFrameWnd() const;
    // Updates the command items of the child controls through `target`.
    void UpdateDialogControls(CCmdTarget* target, BOOL disableIfNoHandler);

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
    void OnNcDestroy() { Default(); }
    void OnMove(int, int) { Default(); }
    void OnShowWindow(BOOL, UINT) { Default(); }
    void OnSysCommand(UINT, LPARAM) { Default(); }
    void OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
    void OnMenuSelect(UINT, UINT, HMENU) { Default(); }
    void OnMDIActivate(BOOL, CWnd*, CWnd*) { Default(); }
    BOOL OnNcActivate(BOOL) { return (BOOL)Default(); }
    void OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
    void OnContextMenu(CWnd*, POINT) { Default(); }
    BOOL OnSetCursor(CWnd*, UINT, UINT) { return (BOOL)Default(); }
    int OnMouseActivate(CWnd*, UINT, UINT) { return (int)Default(); }
    void OnMouseMove(UINT, POINT) { Default(); }
    void OnLButtonDblClk(UINT, POINT) { Default(); }
    void OnRButtonDown(UINT, POINT) { Default(); }
    void OnRButtonUp(UINT, POINT) { Default(); }
    BOOL OnMouseWheel(UINT, short, POINT) { return (BOOL)Default(); }
    BOOL OnQueryEndSession() { return (BOOL)Default(); }
    void OnKeyUp(UINT, UINT, UINT) { Default(); }
    void OnSysKeyDown(UINT, UINT, UINT) { Default(); }

    DECLARE_MESSAGE_MAP()

    friend LRESULT AfxWndProc(HWND, UINT, WPARAM, LPARAM);
};

LRESULT AfxWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// The message the thread is handling (what CWnd::Default passes on) is replaced by `msg`; the previous
// one comes back, for a procedure that handles messages before a window object to put back.
const MSG* AfxSwapCurrentMessage(const MSG* msg);
// Whether the window is the tooltip the framework keeps for this thread's windows.
bool AfxIsThreadToolTip(HWND hwnd);
// Attaches the next window this thread creates to `wnd` (creation messages included).
void AfxHookWindowCreate(CWnd* wnd);
bool AfxUnhookWindowCreate();
// Whether the framework is creating a window on this thread (its object's PreSubclassWindow included).
bool AfxIsCreatingWindow();
// The class name of plain framework windows.
LPCTSTR AfxWndClassName();
