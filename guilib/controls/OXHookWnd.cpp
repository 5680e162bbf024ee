#include "guilib/controls/OXHookWnd.h"

#include "platform/base/Collections.h"

IMPLEMENT_DYNAMIC(COXHookWnd, CObject)

namespace {

const UINT kTrackingTimer = 1;
const UINT kTrackingPeriod = 100;

// Window handle to the newest hook of that window; one per process.
class COXHookWndMap : public CMapPtrToPtr {
public:
    COXHookWndMap() : CMapPtrToPtr(10) {}
    COXHookWnd* Find(HWND hwnd) const {
        void* hook = nullptr;
        return Lookup(hwnd, hook) ? static_cast<COXHookWnd*>(hook) : nullptr;
    }
};

COXHookWndMap& HookMap() {
    static COXHookWndMap map;
    return map;
}

}  // namespace

COXHookWnd::COXHookWnd()
    : m_hWndHooked(nullptr), m_pOldWndProc(nullptr), m_pNext(nullptr), m_nTimerID(0), m_bMouseInside(FALSE) {}

COXHookWnd::~COXHookWnd() {
    if (m_hWndHooked)
        UnhookWindow();
}

void COXHookWnd::HookWindow(HWND hwnd) {
    // A hook sits in one chain only: leaving the old one first keeps both chains whole.
    if (m_hWndHooked)
        UnhookWindow();
    StopMouseTracking();
    if (!hwnd || !::IsWindow(hwnd))
        return;
    COXHookWndMap& map = HookMap();
    COXHookWnd* newest = map.Find(hwnd);
    m_pNext = newest;
    map[hwnd] = this;
    if (newest)
        m_pOldWndProc = newest->m_pOldWndProc;
    else
        m_pOldWndProc = (WNDPROC)::SetWindowLongPtr(hwnd, GWLP_WNDPROC, (LONG_PTR)&OXHookWndProc);
    m_hWndHooked = hwnd;
}

LRESULT COXHookWnd::UnhookWindow() {
    StopMouseTracking();
    if (!m_hWndHooked)
        return 0;
    COXHookWndMap& map = HookMap();
    COXHookWnd* newest = map.Find(m_hWndHooked);
    if (!newest)
        return 0;
    if (newest == this) {
        if (m_pNext) {
            map[m_hWndHooked] = m_pNext;
        } else {
            map.RemoveKey(m_hWndHooked);
            ::SetWindowLongPtr(m_hWndHooked, GWLP_WNDPROC, (LONG_PTR)m_pOldWndProc);
        }
    } else {
        COXHookWnd* before = newest;
        while (before && before->m_pNext != this)
            before = before->m_pNext;
        if (!before)
            return 0;  // not in this window's chain
        before->m_pNext = m_pNext;
    }
    m_hWndHooked = nullptr;
    m_pOldWndProc = nullptr;
    m_pNext = nullptr;
    return 0;
}

BOOL COXHookWnd::StartMouseTracking() {
    if (!m_hWndHooked)
        return FALSE;
    m_nTimerID = (UINT)::SetTimer(m_hWndHooked, kTrackingTimer, kTrackingPeriod, nullptr);
    return m_nTimerID != 0;
}

void COXHookWnd::StopMouseTracking() {
    if (m_nTimerID) {
        if (m_hWndHooked)
            ::KillTimer(m_hWndHooked, m_nTimerID);
        m_nTimerID = 0;
    }
    m_bMouseInside = FALSE;
}

void COXHookWnd::CheckMouse() {
    POINT pt{};
    ::GetCursorPos(&pt);
    BOOL inside = ::WindowFromPoint(pt) == m_hWndHooked;
    if (inside != m_bMouseInside) {
        m_bMouseInside = inside;
        ::PostMessage(m_hWndHooked, inside ? HWM_MOUSEENTER : HWM_MOUSELEAVE, 0, 0);
    }
}

LRESULT COXHookWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_hWndHooked && ((message == WM_TIMER && m_nTimerID && wParam == m_nTimerID) ||
                         (message == WM_MOUSEMOVE && !m_bMouseInside)))
        CheckMouse();
    if (m_pNext)
        return m_pNext->WindowProc(message, wParam, lParam);
    if (m_pOldWndProc)
        return ::CallWindowProc(m_pOldWndProc, m_hWndHooked, message, wParam, lParam);
    return 0;
}

LRESULT OXHookWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // The hooks see the message as the thread's current one, so default processing inside them works.
    MSG current{hwnd, message, wParam, lParam, (DWORD)::GetMessageTime(), POINT{0, 0}};
    const MSG* previous = AfxSwapCurrentMessage(&current);
    COXHookWndMap& map = HookMap();
    COXHookWnd* newest = map.Find(hwnd);
    LRESULT result = 0;
    if (!newest) {
        result = ::DefWindowProc(hwnd, message, wParam, lParam);
    } else if (message == WM_NCDESTROY) {
        // Every hook leaves before the window's own procedure sees the message; a hook that cannot
        // leave ends the loop rather than spinning on it.
        WNDPROC old = newest->m_pOldWndProc;
        while (COXHookWnd* hook = map.Find(hwnd)) {
            hook->UnhookWindow();
            if (map.Find(hwnd) == hook)
                break;
        }
        result = old ? ::CallWindowProc(old, hwnd, message, wParam, lParam) : 0;
    } else {
        result = newest->WindowProc(message, wParam, lParam);
    }
    AfxSwapCurrentMessage(previous);
    return result;
}
