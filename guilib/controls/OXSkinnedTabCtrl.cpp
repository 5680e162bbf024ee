#include "guilib/controls/OXSkinnedTabCtrl.h"

#include "guilib/skins/OXSkinnedApp.h"

HHOOK COXSkinnedSpinCtrl::s_hMouseHook = nullptr;
HWND COXSkinnedSpinCtrl::s_hLastWindow = nullptr;
int COXSkinnedSpinCtrl::s_nLiveSpins = 0;

IMPLEMENT_DYNCREATE(COXSkinnedSpinCtrl, CSpinButtonCtrl)

BEGIN_MESSAGE_MAP(COXSkinnedSpinCtrl, CSpinButtonCtrl)
    ON_WM_PAINT()
    ON_WM_MOUSEMOVE()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

COXSkinnedSpinCtrl::COXSkinnedSpinCtrl() = default;

COXSkinnedSpinCtrl::~COXSkinnedSpinCtrl() = default;

COXTabSkin* COXSkinnedSpinCtrl::GetTabSkin() {
    return OXLookupSkin(&COXSkin::GetTabSkin, m_pTabSkin);
}

void COXSkinnedSpinCtrl::PreSubclassWindow() {
    CSpinButtonCtrl::PreSubclassWindow();
    ++s_nLiveSpins;
    if (!s_hMouseHook) {
        CWinApp* app = AfxGetApp();
        DWORD thread = app ? app->m_nThreadID : GetCurrentThreadId();
        s_hMouseHook = ::SetWindowsHookEx(WH_MOUSE, MouseProc, nullptr, thread);
    }
}

void COXSkinnedSpinCtrl::OnPaint() {
    GetTabSkin()->DrawSpinCtrl(this);
}

void COXSkinnedSpinCtrl::OnMouseMove(UINT, POINT) {
    Invalidate(TRUE);
    Default();
}

BOOL COXSkinnedSpinCtrl::OnEraseBkgnd(HDC) {
    return TRUE;
}

void COXSkinnedSpinCtrl::OnDestroy() {
    // The hook stays while another skinned spin control lives.
    if (s_nLiveSpins > 0)
        --s_nLiveSpins;
    if (s_nLiveSpins == 0 && s_hMouseHook) {
        ::UnhookWindowsHookEx(s_hMouseHook);
        s_hMouseHook = nullptr;
    }
    if (s_hLastWindow == m_hWnd)
        s_hLastWindow = nullptr;
    Default();
}

LRESULT COXSkinnedSpinCtrl::MouseProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && (wParam == WM_MOUSEMOVE || wParam == WM_NCMOUSEMOVE)) {
        auto* info = reinterpret_cast<MOUSEHOOKSTRUCT*>(lParam);
        HWND now = info ? info->hwnd : nullptr;
        HWND last = s_hLastWindow;
        if (last && last != now && ::IsWindow(last) &&
            DYNAMIC_DOWNCAST(COXSkinnedSpinCtrl, CWnd::FromHandlePermanent(last)))
            ::SendMessage(last, WM_MOUSEMOVE, 0, 0);
        s_hLastWindow = now;
    }
    return ::CallNextHookEx(s_hMouseHook, code, wParam, lParam);
}

IMPLEMENT_DYNAMIC(COXSkinnedTabCtrl, CTabCtrl)

BEGIN_MESSAGE_MAP(COXSkinnedTabCtrl, CTabCtrl)
    ON_WM_PAINT()
END_MESSAGE_MAP()

COXSkinnedTabCtrl::COXSkinnedTabCtrl() = default;

COXSkinnedTabCtrl::~COXSkinnedTabCtrl() {
    m_pTabSkin.reset();
}

COXTabSkin* COXSkinnedTabCtrl::GetTabSkin() {
    return OXLookupSkin(&COXSkin::GetTabSkin, m_pTabSkin);
}

COXSkinnedSpinCtrl* COXSkinnedTabCtrl::GetEmbeddedSpin(CWnd* window) {
    auto* tab = DYNAMIC_DOWNCAST(COXSkinnedTabCtrl, window);
    return tab ? &tab->m_spin : nullptr;
}

void COXSkinnedTabCtrl::OnPaint() {
    GetTabSkin()->DrawTabCtrl(this);
}
