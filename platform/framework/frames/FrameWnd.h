// CFrameWnd: a top-level (or MDI child) window that lays out its control bars around a client view,
// keeps the active view, routes commands to it, and updates its title and command items at idle time.
#pragma once

#include "platform/base/Collections.h"
#include "platform/framework/app/WinThread.h"
#include "platform/framework/window/AfxRes.h"
#include "platform/framework/window/CmdUI.h"
#include "platform/framework/window/Menu.h"
#include "platform/user/Accelerators.h"

class CView;
class CDocument;
class CDocTemplate;

// Asks a control bar for its share of the parent's client area (lParam: AFX_SIZEPARENTPARAMS*).
#define WM_SIZEPARENT 0x0361
#define WM_RECALCPARENT 0x0368
#define WM_POPMESSAGESTRING 0x0375
// Asked of a window in context-help mode: the help context of a client point (lParam), 0 for none.
#define WM_HELPHITTEST 0x0366
// Ends the context-help mode when it reaches the mode's loop.
#define WM_EXITHELPMODE 0x0367
// Help contexts of commands are the command id plus this base.
#define HID_BASE_COMMAND 0x00010000UL

struct AFX_SIZEPARENTPARAMS {
    HDWP hDWP;       // null in query mode: nothing is moved
    RECT rect;       // what is left of the parent's client area; each bar takes its part
    SIZE sizeTotal;  // the total size the bars asked for
    BOOL bStretch;   // whether bars stretch to the whole side
};

// Moves `hwnd` to `rc` (parent client coordinates) through the layout's deferred positions; nothing in
// query mode. Without a layout it moves at once.
void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* layout, HWND hwnd, LPCRECT rc);

// What a new frame is to hold (its view class, document and template).
struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

// Frame styles.
#define FWS_ADDTOTITLE 0x00008000L
#define FWS_PREFIXTITLE 0x00004000L
#define FWS_SNAPTOBARS 0x00002000L

#define AFX_WS_DEFAULT_VIEW (WS_CHILD | WS_VISIBLE | WS_BORDER)

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();
    ~CFrameWnd() override;

    static const RECT rectDefault;

    BOOL Create(LPCTSTR className, LPCTSTR title, DWORD style = WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CWnd* parent = nullptr, LPCTSTR menuName = nullptr,
                DWORD exStyle = 0, CCreateContext* context = nullptr);
    // Creates the frame from a resource id: title from the string, menu and accelerators of that id.
    virtual BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* parent = nullptr, CCreateContext* context = nullptr);
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    // The view and its document.
    virtual BOOL OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context);
    CWnd* CreateView(CCreateContext* context, UINT id = AFX_IDW_PANE_FIRST);
    virtual void InitialUpdateFrame(CDocument* doc, BOOL makeVisible);
    virtual void ActivateFrame(int showCmd = -1);
    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* view, BOOL notify = TRUE);
    virtual CDocument* GetActiveDocument();
    // The frame whose view is active: this one, or for an MDI frame its active child.
    virtual CFrameWnd* GetActiveFrame() { return this; }

    // Layout.
    virtual void RecalcLayout(BOOL notify = TRUE);
    void DelayRecalcLayout(BOOL notify = TRUE);
    RECT m_rectBorder{0, 0, 0, 0};
    CPtrList m_listControlBars;  // CControlBar* of this frame, in creation order

    // Title.
    virtual void OnUpdateFrameTitle(BOOL addToTitle);
    void UpdateFrameTitleForDocument(LPCTSTR docName);
    void SetTitle(LPCTSTR title) { m_strTitle = title; }
    CString GetTitle() const { return m_strTitle; }
    void DelayUpdateFrameTitle() { m_nIdleFlags |= idleTitle; }

    // Prompts.
    virtual void GetMessageString(UINT id, CString& message) const;
    void SetMessageText(LPCTSTR text);
    void SetMessageText(UINT id);
    virtual CWnd* GetMessageBar();

    // Context-help mode (ID_CONTEXT_HELP): the mouse is captured and the next click on a window of the
    // frame, or a command chosen from a menu, names what help is given for; Escape or WM_EXITHELPMODE end
    // it without help.
    enum { HELP_INACTIVE = 0, HELP_ACTIVE = 1, HELP_ENTERING = -1 };
    int m_bHelpMode = HELP_INACTIVE;
    // Enters the mode in two steps: the command is posted once more, so that what is pending (a closing
    // menu) is done first, and the mode's loop runs when it comes back.
    void OnContextHelp();
    virtual BOOL CanEnterHelpMode() { return TRUE; }
    void ExitHelpMode();
    // Looks at the message on top of the queue in the mode's loop (still queued) and removes it or
    // dispatches it; FALSE ends the mode, with the help context chosen in `context` (0: none, -1: the
    // default help).
    virtual BOOL ProcessHelpMsg(MSG& msg, DWORD* context);
    // Captures the mouse for the mode; the window under `point` (null for none), and in `descendant`
    // whether it is this frame, one of its children or a window it owns.
    HWND SetHelpCapture(POINT point, BOOL* descendant);
    // The help context of a point (screen) of the frame's window `hit`: the first non-zero answer to
    // WM_HELPHITTEST from that window outward to the frame, else -1.
    DWORD MapClientArea(HWND hit, POINT point);

    // Menus.
    virtual HMENU GetWindowMenuPopup(HMENU menuBar);
    // The menu to show while this frame (or its active child) is active.
    HMENU m_hMenuDefault = nullptr;
    // The frame's accelerator table (a handle from LoadAccelerators), or null. Loaded tables are shared
    // and live as long as the process, so the frame never destroys it.
    HACCEL m_hAccelTable = nullptr;
    BOOL LoadAccelTable(LPCTSTR name);
    // The table that translates keys while this frame is active: the active child's template table first,
    // for an MDI frame.
    virtual HACCEL GetDefaultAccelerator();
    // Items whose command has no handler are disabled when they are updated.
    BOOL m_bAutoMenuEnable = TRUE;

    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    // Whether the frame may close now: asks the documents; FALSE keeps it open.
    virtual BOOL CanCloseFrame();

    enum IdleFlags { idleMenu = 1, idleTitle = 2, idleNotify = 4, idleLayout = 8 };
    UINT m_nIdleFlags = 0;
    UINT m_nWindow = 0;  // this frame's number among the frames of its document (0: the only one)
    UINT m_nIDHelp = 0;
    UINT m_nIDTracking = 0;
    UINT m_nIDLastMessage = 0;
    CString m_strTitle;
    BOOL m_bInRecalcLayout = FALSE;

    // Docking: members of the bars layer are declared here.
    // The dock bars of the sides in `dockStyle` (CBRS_ALIGN_*), made top, bottom, left, right.
    void EnableDocking(DWORD dockStyle);
    // Docks a bar on the dock bar of that id (0: the side keeping its placeholder, else the first side
    // it may dock at), at the drop rectangle (screen coordinates) when given.
    void DockControlBar(class CControlBar* bar, UINT dockBarId = 0, const RECT* rect = nullptr);
    void DockControlBar(class CControlBar* bar, class CDockBar* dockBar, const RECT* rect = nullptr);
    // Docks a bar back in the place it had (its placeholder) on that dock bar.
    void ReDockControlBar(class CControlBar* bar, class CDockBar* dockBar, const RECT* rect = nullptr);
    // Floats a bar in a floating frame whose window's top-left corner is at `point` (screen).
    void FloatControlBar(class CControlBar* bar, POINT point, DWORD style = 0x2000L /* CBRS_ALIGN_TOP */);
    void ShowControlBar(class CControlBar* bar, BOOL show, BOOL delay);
    class CControlBar* GetControlBar(UINT id);
    // The side (CBRS_ALIGN_*) among `dockStyle`'s whose dock bar `rect` (screen) touches, or 0.
    DWORD CanDock(const RECT& rect, DWORD dockStyle, class CDockBar** dockBar = nullptr);
    virtual class CMiniDockFrameWnd* CreateFloatingFrame(DWORD style);
    // Shows the bar of that id when hidden and hides it when shown; FALSE when there is none.
    BOOL OnBarCheck(UINT id);
    void OnUpdateControlBarMenu(CCmdUI* cmdUI);
    void GetDockState(class CDockState& state);
    void SetDockState(const class CDockState& state);
    void SaveBarState(LPCTSTR profileName);
    // FALSE, with the layout left as it is, when the profile holds no readable state.
    BOOL LoadBarState(LPCTSTR profileName);
    const CRuntimeClass* m_pFloatingFrameClass = nullptr;

protected:
    CView* m_pViewActive = nullptr;

    virtual BOOL OnCreateHelper(LPCREATESTRUCT cs, CCreateContext* context);
    void PostNcDestroy() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    int OnCreate(LPCREATESTRUCT cs);
    void OnDestroy();
    void OnClose();
    void OnSize(UINT type, int cx, int cy);
    void OnSetFocus(CWnd* old);
    void OnActivate(UINT state, CWnd* other, BOOL minimized);
    BOOL OnEraseBkgnd(HDC dc);
    void OnInitMenuPopup(CMenu* menu, UINT index, BOOL sysMenu);
    void OnMenuSelect(UINT id, UINT flags, HMENU menu);
    LRESULT OnIdleUpdateCmdUI(WPARAM, LPARAM);
    LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    LRESULT OnPopMessageString(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    friend class CWinApp;
};
