// CWnd's tooltips: one tip per thread, the tool under the pointer asked of the window through
// OnToolHitTest, and the string table's texts.
#include <cstdlib>
#include <cstring>

#include "platform/framework/controls/ToolTipCtrl.h"
#include "platform/framework/window/Wnd.h"
#include "platform/user/Resources.h"

namespace {
// The tip's object is never destroyed at thread exit, when the window layer may be gone already; a tip
// whose window went (with its owner) is replaced.
struct ThreadTips {
    CToolTipCtrl* tip = nullptr;
    INT_PTR lastHit = -1;
    TOOLINFO last{};
};
thread_local ThreadTips t_tips;

CToolTipCtrl* ThreadTip(HWND owner) {
    if (!t_tips.tip || !::IsWindow(t_tips.tip->m_hWnd)) {
        delete t_tips.tip;
        t_tips.tip = new CToolTipCtrl;
        if (!t_tips.tip->Create(CWnd::FromHandle(owner), TTS_ALWAYSTIP)) {
            delete t_tips.tip;
            t_tips.tip = nullptr;
            return nullptr;
        }
        t_tips.lastHit = -1;
    }
    return t_tips.tip;
}

void ForgetLastTool() {
    if (t_tips.lastHit != -1 && t_tips.tip && ::IsWindow(t_tips.tip->m_hWnd))
        t_tips.tip->SendMessage(TTM_DELTOOL, 0, (LPARAM)&t_tips.last);
    t_tips.lastHit = -1;
    t_tips.last = TOOLINFO{};
}

bool OwnsText(LPSTR text) {
    return text && text != LPSTR_TEXTCALLBACK && !IS_INTRESOURCE(text);
}
}  // namespace

bool AfxIsThreadToolTip(HWND hwnd) {
    return hwnd && t_tips.tip && t_tips.tip->m_hWnd == hwnd;
}

BOOL CWnd::EnableToolTips(BOOL enable) {
    if (!enable) {
        if (m_nFlags & WF_TOOLTIPS)
            CancelToolTips();
        m_nFlags &= ~WF_TOOLTIPS;
        return TRUE;
    }
    if (!ThreadTip(::GetAncestor(m_hWnd, GA_ROOT)))
        return FALSE;
    m_nFlags |= WF_TOOLTIPS;
    return TRUE;
}

void CWnd::CancelToolTips(BOOL) {
    ForgetLastTool();
    if (t_tips.tip && ::IsWindow(t_tips.tip->m_hWnd))
        t_tips.tip->Pop();
}

INT_PTR CWnd::OnToolHitTest(POINT point, TOOLINFO* info) const {
    // The visible child under the point, if it has an id.
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child))
            continue;
        RECT r;
        ::GetWindowRect(child, &r);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
        if (!::PtInRect(&r, point))
            continue;
        int id = ::GetDlgCtrlID(child);
        if (id == 0 || id == -1)
            return -1;
        if (info) {
            info->hwnd = m_hWnd;
            info->uId = (UINT_PTR)child;
            info->uFlags |= TTF_IDISHWND;
            info->lpszText = LPSTR_TEXTCALLBACK;
        }
        return id;
    }
    return -1;
}

void CWnd::FilterToolTipMessage(MSG* msg) {
    UINT m = msg->message;
    bool move = m == WM_MOUSEMOVE || m == WM_NCMOUSEMOVE;
    bool button = (m >= WM_LBUTTONDOWN && m <= WM_MBUTTONDBLCLK) || (m >= WM_NCLBUTTONDOWN && m <= WM_NCLBUTTONDBLCLK);
    bool key = m == WM_KEYDOWN || m == WM_SYSKEYDOWN;
    if (!move && !button && !key)
        return;
    if (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd))
        return;
    CToolTipCtrl* tip = ThreadTip(::GetAncestor(m_hWnd, GA_ROOT));
    if (!tip)
        return;
    if (key) {
        CancelToolTips(TRUE);
        return;
    }
    POINT p = msg->pt;
    ::ScreenToClient(m_hWnd, &p);
    TOOLINFO ti{};
    ti.cbSize = sizeof ti;
    INT_PTR hit = OnToolHitTest(p, &ti);
    if (hit != t_tips.lastHit || ti.hwnd != t_tips.last.hwnd || ti.uId != t_tips.last.uId) {
        ForgetLastTool();
        if (hit != -1) {
            tip->SendMessage(TTM_ADDTOOL, 0, (LPARAM)&ti);
            t_tips.lastHit = hit;
            t_tips.last = ti;
            t_tips.last.lpszText = nullptr;
        }
    }
    if (OwnsText(ti.lpszText))
        std::free(ti.lpszText);
    if (hit == -1)
        return;
    // The tip sees the message as its tool's window gets it.
    HWND toolWindow = (ti.uFlags & TTF_IDISHWND) ? (HWND)ti.uId : ti.hwnd;
    MSG copy = *msg;
    POINT c = msg->pt;
    ::ScreenToClient(toolWindow, &c);
    copy.hwnd = toolWindow;
    if (m == WM_NCMOUSEMOVE)
        copy.message = WM_MOUSEMOVE;
    else if (m >= WM_NCLBUTTONDOWN && m <= WM_NCLBUTTONDBLCLK)
        copy.message = m - WM_NCLBUTTONDOWN + WM_LBUTTONDOWN;
    copy.lParam = MAKELPARAM(c.x, c.y);
    tip->RelayEvent(&copy);
}

BOOL CWnd::OnToolTipText(UINT, NMHDR* hdr, LRESULT* result) {
    if (!hdr || hdr->code != TTN_NEEDTEXT)
        return FALSE;
    auto* info = reinterpret_cast<NMTTDISPINFO*>(hdr);
    UINT_PTR id = hdr->idFrom;
    if (info->uFlags & TTF_IDISHWND)
        id = (UINT_PTR)::GetDlgCtrlID((HWND)id);
    if (id == 0 || id > 0xFFFF)
        return FALSE;
    char full[1024];
    int n = ::LoadString(nullptr, (UINT)id, full, sizeof full);
    if (n <= 0)
        return FALSE;
    // "prompt\ntip": the tip is the second part.
    const char* tipText = std::strchr(full, '\n');
    if (!tipText)
        return FALSE;
    ++tipText;
    size_t len = std::strcspn(tipText, "\n");
    len = std::min(len, sizeof info->szText - 1);
    std::memcpy(info->szText, tipText, len);
    info->szText[len] = 0;
    info->lpszText = info->szText;
    if (result)
        *result = 0;
    return TRUE;
}
