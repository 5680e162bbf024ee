#include "platform/framework/window/Wnd.h"

#include "platform/user/ToolTip.h"

#include <map>
#include <mutex>

#include "platform/framework/app/WinThread.h"
#include "platform/framework/window/CmdUI.h"
#include "platform/framework/window/Menu.h"
#include "platform/user/Controls.h"

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

namespace {
std::mutex g_mapMutex;
std::map<HWND, CWnd*> g_permanent;
thread_local std::map<HWND, CWnd*>* t_temporary = nullptr;
thread_local CWnd* t_wndInit = nullptr;
// The object whose PreSubclassWindow runs inside its window's creation.
thread_local CWnd* t_wndAttaching = nullptr;
thread_local HHOOK t_cbtHook = nullptr;
thread_local const MSG* t_currentMsg = nullptr;

LRESULT CALLBACK_Cbt(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_wndInit) {
        CWnd* wnd = t_wndInit;
        t_wndInit = nullptr;
        HWND hwnd = (HWND)wParam;
        wnd->Attach(hwnd);
        CWnd* outer = t_wndAttaching;
        t_wndAttaching = wnd;
        wnd->PreSubclassWindow();
        t_wndAttaching = outer;
        WNDPROC old = (WNDPROC)SetWindowLongPtr(hwnd, GWLP_WNDPROC, (LONG_PTR)AfxWndProc);
        if (old != AfxWndProc)
            wnd->m_pfnSuper = old;
    }
    return CallNextHookEx(t_cbtHook, code, wParam, lParam);
}
}  // namespace

void AfxHookWindowCreate(CWnd* wnd) {
    if (!t_cbtHook)
        t_cbtHook = SetWindowsHookEx(WH_CBT, CALLBACK_Cbt, nullptr, GetCurrentThreadId());
    t_wndInit = wnd;
}

bool AfxUnhookWindowCreate() {
    bool wasHooked = t_wndInit == nullptr;
    t_wndInit = nullptr;
    return wasHooked;
}

bool AfxIsCreatingWindow() {
    return t_wndInit != nullptr || t_wndAttaching != nullptr;
}

LPCTSTR AfxWndClassName() {
    static std::once_flag once;
    std::call_once(once, [] {
        WNDCLASS wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = ::DefWindowProc;
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = "AfxWnd";
        RegisterClass(&wc);
    });
    return "AfxWnd";
}

const MSG* AfxSwapCurrentMessage(const MSG* msg) {
    const MSG* previous = t_currentMsg;
    t_currentMsg = msg;
    return previous;
}

LRESULT AfxWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (!wnd)
        return ::DefWindowProc(hwnd, msg, wParam, lParam);
    // The message being handled is the thread's, not the object's: a handler may destroy (and delete)
    // the object, and nothing here touches it afterwards.
    MSG current{hwnd, msg, wParam, lParam, 0, POINT{0, 0}};
    const MSG* previous = t_currentMsg;
    t_currentMsg = &current;
    LRESULT r = wnd->WindowProc(msg, wParam, lParam);
    t_currentMsg = previous;
    // A handler may have destroyed the window, and the object with it (PostNcDestroy): then it is gone.
    if (msg != WM_NCDESTROY && CWnd::FromHandlePermanent(hwnd) != wnd)
        return r;
    if (msg == WM_NCDESTROY) {
        // The window is gone: the object lets go of it and may delete itself.
        if (wnd->m_pfnSuper)
            SetWindowLongPtr(hwnd, GWLP_WNDPROC, (LONG_PTR)wnd->m_pfnSuper);
        wnd->Detach();
        wnd->PostNcDestroy();
    }
    return r;
}

CWnd::~CWnd() {
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        // Destroying the object destroys its window, as the framework does.
        HWND h = m_hWnd;
        ::DestroyWindow(h);
        if (m_hWnd)
            Detach();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    std::lock_guard<std::mutex> g(g_mapMutex);
    auto it = g_permanent.find(hwnd);
    return it == g_permanent.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    if (!hwnd)
        return nullptr;
    if (CWnd* w = FromHandlePermanent(hwnd))
        return w;
    if (!t_temporary)
        t_temporary = new std::map<HWND, CWnd*>;
    CWnd*& temp = (*t_temporary)[hwnd];
    if (!temp) {
        temp = new CWnd;
        temp->m_hWnd = hwnd;
    }
    return temp;
}

void CWnd::DeleteTempMap() {
    if (!t_temporary)
        return;
    for (auto& [h, w] : *t_temporary) {
        w->m_hWnd = nullptr;
        delete w;
    }
    t_temporary->clear();
}

BOOL CWnd::Attach(HWND hwnd) {
    if (!hwnd || m_hWnd)
        return FALSE;
    std::lock_guard<std::mutex> g(g_mapMutex);
    g_permanent[hwnd] = this;
    m_hWnd = hwnd;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND h = m_hWnd;
    if (h) {
        std::lock_guard<std::mutex> g(g_mapMutex);
        auto it = g_permanent.find(h);
        if (it != g_permanent.end() && it->second == this)
            g_permanent.erase(it);
    }
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
    if (!Attach(hwnd))
        return FALSE;
    PreSubclassWindow();
    WNDPROC old = (WNDPROC)SetWindowLongPtr(hwnd, GWLP_WNDPROC, (LONG_PTR)AfxWndProc);
    if (old != AfxWndProc)
        m_pfnSuper = old;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    HWND h = parent ? ::GetDlgItem(parent->m_hWnd, (int)id) : nullptr;
    return h ? SubclassWindow(h) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
    if (m_pfnSuper)
        SetWindowLongPtr(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
    m_pfnSuper = nullptr;
    return Detach();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (!cs.lpszClass)
        cs.lpszClass = AfxWndClassName();
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU idOrMenu, LPVOID param) {
    CREATESTRUCT cs{param, nullptr, idOrMenu,    parent,     height,    width,
                    y,     x,       (LONG)style, windowName, className, exStyle};
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    AfxHookWindowCreate(this);
    HWND h = ::CreateWindowEx(cs.dwExStyle, cs.lpszClass, cs.lpszName, (DWORD)cs.style, cs.x, cs.y, cs.cx,
                              cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    AfxUnhookWindowCreate();
    if (!h) {
        if (m_hWnd && !::IsWindow(m_hWnd))
            Detach();
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect,
                    CWnd* parent, UINT id, LPVOID param) {
    return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr, (HMENU)(UINT_PTR)id, param);
}

BOOL CWnd::Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                  LPVOID context) {
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id, context);
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

LRESULT CWnd::Default() {
    const MSG* m = t_currentMsg;
    if (!m || m->hwnd != m_hWnd)
        return 0;
    return DefWindowProc(m->message, m->wParam, m->lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper)
        return ::CallWindowProc(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProc(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::PreTranslateMessage(MSG* msg) {
    if (m_nFlags & WF_TOOLTIPS)
        FilterToolTipMessage(msg);
    return FALSE;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    // A control handles what its parent reflects to it in its own map, under WM_REFLECT_BASE + message.
    UINT code = 0;
    if (message == WM_NOTIFY) {
        if (!lParam)
            return FALSE;
        code = reinterpret_cast<NMHDR*>(lParam)->code;
    } else if (message == WM_COMMAND) {
        code = HIWORD(wParam);
    }
    const AFX_MSGMAP_ENTRY* e = FindEntry(WM_REFLECT_BASE + message, code, 0);
    if (!e)
        return FALSE;
    CCmdTarget* self = this;
    LRESULT ignored = 0;
    LRESULT* result = pResult ? pResult : &ignored;
    switch (e->nSig) {
        case AfxSig_vv:
            (self->*e->pfn)();
            return TRUE;
        case AfxSig_bv:
            return (self->*AfxPmsgAs<BOOL (CCmdTarget::*)()>(e->pfn))();
        case AfxSig_vNMHDRpl:
            (self->*AfxPmsgAs<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(e->pfn))(
                reinterpret_cast<NMHDR*>(lParam), result);
            return TRUE;
        case AfxSig_bNMHDRpl:
            return (self->*AfxPmsgAs<BOOL (CCmdTarget::*)(NMHDR*, LRESULT*)>(e->pfn))(
                reinterpret_cast<NMHDR*>(lParam), result);
        default:
            return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, result);
    }
}

BOOL CWnd::ReflectChildNotify(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (!control || control == m_hWnd)
        return FALSE;
    CWnd* child = FromHandlePermanent(control);
    return child && child->OnChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT id = LOWORD(wParam);
    HWND control = (HWND)lParam;
    // A menu or an accelerator (code 1) is a plain command; a control's code is its notification.
    int code = control ? HIWORD(wParam) : CN_COMMAND;
    LRESULT r = 0;
    if (ReflectChildNotify(control, WM_COMMAND, wParam, lParam, &r))
        return TRUE;
    if (!control) {
        // A menu item or an accelerator whose command its update handler disables does nothing.
        class CTestCmdUI : public CCmdUI {
        public:
            BOOL m_bEnabled = TRUE;
            void Enable(BOOL on) override {
                m_bEnabled = on;
                m_bEnableChanged = TRUE;
            }
            void SetCheck(int) override {}
            void SetRadio(BOOL) override {}
            void SetText(LPCTSTR) override {}
        } state;
        state.m_nID = id;
        OnCmdMsg(id, (int)CN_UPDATE_COMMAND_UI, &state, nullptr);
        if (!state.m_bEnabled)
            return TRUE;
    }
    return OnCmdMsg(id, code, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result) {
    auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    if (!hdr)
        return FALSE;
    if (ReflectChildNotify(hdr->hwndFrom, WM_NOTIFY, 0, lParam, result))
        return TRUE;
    AFX_NOTIFY notify{result, hdr};
    if (OnCmdMsg((UINT)hdr->idFrom, (int)MAKELONG(LOWORD(hdr->code), WM_NOTIFY), &notify, nullptr))
        return TRUE;
    // A tool of the framework's tooltips whose text nobody gave: the string table's.
    if (hdr->code == TTN_NEEDTEXT && AfxIsThreadToolTip(hdr->hwndFrom))
        return OnToolTipText(0, hdr, result);
    return FALSE;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT result = 0;
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        if (pResult)
            *pResult = 1;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        if (!OnNotify(wParam, lParam, &result))
            return FALSE;
        if (pResult)
            *pResult = result;
        return TRUE;
    }
    // While the program shows the wait cursor, moving the mouse keeps it.
    if (message == WM_SETCURSOR) {
        CWinApp* app = AfxGetApp();
        if (app && app->m_nWaitCursor > 0) {
            app->DoWaitCursor(0);
            if (pResult)
                *pResult = TRUE;
            return TRUE;
        }
    }
    // Messages about a control go to the control first, so a control class can handle them itself.
    HWND control = nullptr;
    switch (message) {
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_HSCROLL:
        case WM_VSCROLL:
            control = (HWND)lParam;
            break;
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case 0x002D:  // WM_DELETEITEM
        case 0x0039:  // WM_COMPAREITEM
            // Id 0 is a menu's item, not a control.
            if (wParam)
                control = ::GetDlgItem(m_hWnd, (int)wParam);
            break;
        default:
            break;
    }
    if (control && ReflectChildNotify(control, message, wParam, lParam, &result)) {
        if (pResult)
            *pResult = result;
        return TRUE;
    }
    const AFX_MSGMAP_ENTRY* e = FindEntry(message, 0, 0);
    if (!e) {
        // A menu item's owner drawing goes to its permanent menu object.
        if ((message == WM_DRAWITEM || message == WM_MEASUREITEM) && wParam == 0 &&
            CMenu::HandleOwnerDraw(message, lParam)) {
            if (pResult)
                *pResult = TRUE;
            return TRUE;
        }
        return FALSE;
    }
    CCmdTarget* self = this;
    switch (e->nSig) {
        case AfxSig_vv:
            (self->*e->pfn)();
            break;
        case AfxSig_lwl:
            result = (self->*AfxPmsgAs<LRESULT (CCmdTarget::*)(WPARAM, LPARAM)>(e->pfn))(wParam, lParam);
            break;
        case AfxSig_is:
            result = (self->*AfxPmsgAs<int (CCmdTarget::*)(LPCREATESTRUCT)>(e->pfn))(
                reinterpret_cast<LPCREATESTRUCT>(lParam));
            break;
        case AfxSig_vw:
            (self->*AfxPmsgAs<void (CCmdTarget::*)(UINT_PTR)>(e->pfn))(wParam);
            break;
        case AfxSig_vwii:
            (self->*AfxPmsgAs<void (CCmdTarget::*)(UINT, int, int)>(e->pfn))(
                (UINT)wParam, (short)LOWORD(lParam), (short)HIWORD(lParam));
            break;
        case AfxSig_vW:
            (self->*AfxPmsgAs<void (CCmdTarget::*)(CWnd*)>(e->pfn))(FromHandle((HWND)wParam));
            break;
        case AfxSig_vwWb:
            (self->*AfxPmsgAs<void (CCmdTarget::*)(UINT, CWnd*, BOOL)>(e->pfn))(
                LOWORD(wParam), FromHandle((HWND)lParam), HIWORD(wParam));
            break;
        case AfxSig_bH:
            result = (self->*AfxPmsgAs<BOOL (CCmdTarget::*)(HDC)>(e->pfn))((HDC)wParam);
            break;
        case AfxSig_vwp:
            (self->*AfxPmsgAs<void (CCmdTarget::*)(UINT, POINT)>(e->pfn))(
                (UINT)wParam, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            break;
        case AfxSig_vwww:
            (self->*AfxPmsgAs<void (CCmdTarget::*)(UINT, UINT, UINT)>(e->pfn))((UINT)wParam, LOWORD(lParam),
                                                                               HIWORD(lParam));
            break;
        case AfxSig_vb:
            (self->*AfxPmsgAs<void (CCmdTarget::*)(BOOL)>(e->pfn))((BOOL)wParam);
            break;
        case AfxSig_vwl:
            (self->*AfxPmsgAs<void (CCmdTarget::*)(UINT, LPARAM)>(e->pfn))((UINT)wParam, lParam);
            break;
        case AfxSig_vwwb:
            (self->*AfxPmsgAs<void (CCmdTarget::*)(CMenu*, UINT, BOOL)>(e->pfn))(
                CMenu::FromHandle((HMENU)wParam), LOWORD(lParam), (BOOL)HIWORD(lParam));
            break;
        case AfxSig_vwwh:
            (self->*AfxPmsgAs<void (CCmdTarget::*)(UINT, UINT, HMENU)>(e->pfn))(
                LOWORD(wParam), HIWORD(wParam), (HMENU)lParam);
            break;
        case AfxSig_vbWW:
            // An MDI child hears whether it is the one being activated, then the two children.
            (self->*AfxPmsgAs<void (CCmdTarget::*)(BOOL, CWnd*, CWnd*)>(e->pfn))(
                (HWND)lParam == m_hWnd, FromHandle((HWND)lParam), FromHandle((HWND)wParam));
            break;
        case AfxSig_bb:
            result = (self->*AfxPmsgAs<BOOL (CCmdTarget::*)(BOOL)>(e->pfn))((BOOL)wParam);
            break;
        case AfxSig_vMMI:
            (self->*AfxPmsgAs<void (CCmdTarget::*)(MINMAXINFO*)>(e->pfn))(
                reinterpret_cast<MINMAXINFO*>(lParam));
            break;
        case AfxSig_vWp:
            (self->*AfxPmsgAs<void (CCmdTarget::*)(CWnd*, POINT)>(e->pfn))(
                FromHandle((HWND)wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            break;
        case AfxSig_vii:
            (self->*AfxPmsgAs<void (CCmdTarget::*)(int, int)>(e->pfn))(GET_X_LPARAM(lParam),
                                                                       GET_Y_LPARAM(lParam));
            break;
        case AfxSig_vbw:
            (self->*AfxPmsgAs<void (CCmdTarget::*)(BOOL, UINT)>(e->pfn))((BOOL)wParam, (UINT)lParam);
            break;
        case AfxSig_bWww:
            result = (self->*AfxPmsgAs<BOOL (CCmdTarget::*)(CWnd*, UINT, UINT)>(e->pfn))(
                FromHandle((HWND)wParam), (UINT)(short)LOWORD(lParam), HIWORD(lParam));
            break;
        case AfxSig_iWww:
            result = (self->*AfxPmsgAs<int (CCmdTarget::*)(CWnd*, UINT, UINT)>(e->pfn))(
                FromHandle((HWND)wParam), (UINT)(short)LOWORD(lParam), HIWORD(lParam));
            break;
        case AfxSig_bwsp:
            result = (self->*AfxPmsgAs<BOOL (CCmdTarget::*)(UINT, short, POINT)>(e->pfn))(
                LOWORD(wParam), (short)HIWORD(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            break;
        case AfxSig_bv_msg:
            result = (self->*AfxPmsgAs<BOOL (CCmdTarget::*)()>(e->pfn))();
            break;
        default:
            return FALSE;
    }
    if (pResult)
        *pResult = result;
    return TRUE;
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) {
    DWORD style = GetStyle();
    DWORD next = (style & ~remove) | add;
    if (next == style)
        return FALSE;
    ::SetWindowLongPtr(m_hWnd, GWL_STYLE, (LONG_PTR)next);
    if (flags)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       flags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

void CWnd::CenterWindow(CWnd* alternate) {
    RECT me, area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    GetWindowRect(&me);
    HWND around = alternate ? alternate->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    if (GetStyle() & WS_CHILD)
        around = ::GetParent(m_hWnd);
    if (around && ::IsWindowVisible(around))
        ::GetWindowRect(around, &area);
    int w = me.right - me.left, h = me.bottom - me.top;
    POINT p{area.left + (area.right - area.left - w) / 2, area.top + (area.bottom - area.top - h) / 2};
    if (GetStyle() & WS_CHILD)
        ::ScreenToClient(::GetParent(m_hWnd), &p);
    ::SetWindowPos(m_hWnd, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
