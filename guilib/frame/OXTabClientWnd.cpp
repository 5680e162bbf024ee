#include "guilib/frame/OXTabClientWnd.h"

#include <algorithm>

#include "guilib/skins/OXSkinnedApp.h"
#include "platform/base/Profile.h"
#include "platform/framework/frames/MDIFrameWnd.h"

IMPLEMENT_DYNAMIC(COXTabClientWnd, CWnd)

COXTabClientWnd::COXTabClientWnd() {
    m_tab.m_pTabClientWnd = this;
}

COXTabClientWnd::~COXTabClientWnd() {
    if (IsAttached() && ::IsWindow(m_hWnd))
        Detach();
}

COXTabSkin* COXTabClientWnd::GetTabSkin() {
    return OXLookupSkin(&COXSkin::GetTabSkin, m_pTabSkin);
}

BOOL COXTabClientWnd::Attach(CFrameWnd* frameWnd, DWORD tabStyle) {
    auto* frame = DYNAMIC_DOWNCAST(CMDIFrameWnd, frameWnd);
    if (IsAttached() || !frame || !frame->m_hWndMDIClient)
        return FALSE;
    if (CWnd::FromHandlePermanent(frame->m_hWndMDIClient))
        return FALSE;  // another object holds the client
    if (!SubclassWindow(frame->m_hWndMDIClient))
        return FALSE;
    m_pParentFrame = frame;
    // Clipped by its siblings, as a tab control always is: the strip never paints over the client above it.
    if (!m_tab.Create(tabStyle | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_FOCUSNEVER, RECT{0, 0, 0, 0}, frame,
                      kWorkspaceId)) {
        Detach();
        return FALSE;
    }
    // Under the client, which shows over the strip's display area.
    ::SetWindowPos(m_tab.m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    frame->RecalcLayout();
    m_tab.UpdateContents(TRUE, FALSE);
    return TRUE;
}

BOOL COXTabClientWnd::Detach() {
    if (!IsAttached())
        return FALSE;
    if (m_tab.m_hWnd)
        m_tab.DestroyWindow();
    m_nExtraTab = 0;
    UnsubclassWindow();
    CMDIFrameWnd* frame = m_pParentFrame;
    m_pParentFrame = nullptr;
    if (frame && ::IsWindow(frame->m_hWnd))
        frame->RecalcLayout();
    return TRUE;
}

BOOL COXTabClientWnd::SaveState(LPCTSTR section) {
    const CProfile& profile = AfxGetProfile();
    BOOL attached = IsAttached() && m_tab.m_hWnd;
    profile.WriteProfileInt(section, "IsAttached", attached ? 1 : 0);
    profile.WriteProfileInt(section, "Offset", attached ? (int)m_tab.m_dwOffset : 1);
    profile.WriteProfileInt(section, "Style", attached ? (int)m_tab.GetStyle() : TCS_HOTTRACK);
    return TRUE;
}

BOOL COXTabClientWnd::LoadState(LPCTSTR section) {
    const CProfile& profile = AfxGetProfile();
    BOOL attached = profile.GetProfileInt(section, "IsAttached", 1) != 0;
    DWORD offset = profile.GetProfileInt(section, "Offset", 1);
    DWORD style = profile.GetProfileInt(section, "Style", TCS_HOTTRACK);
    if (!attached) {
        if (IsAttached())
            Detach();
        return TRUE;
    }
    if (!IsAttached())
        return FALSE;  // the caller attaches first
    if (offset == m_tab.m_dwOffset && style == m_tab.GetStyle())
        return TRUE;
    CMDIFrameWnd* frame = m_pParentFrame;
    Detach();
    if (!Attach(frame, style))
        return FALSE;
    m_tab.m_dwOffset = offset;
    ::SetWindowPos(m_tab.m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    frame->RecalcLayout();
    return TRUE;
}

void COXTabClientWnd::CalcWindowRect(LPRECT rc, UINT adjustType) {
    if (!IsAttached() || !m_tab.m_hWnd) {
        CWnd::CalcWindowRect(rc, adjustType);
        return;
    }
    RECT rect = *rc;
    RECT client = rect;
    if (m_tab.GetStyle() & WS_VISIBLE) {
        DWORD style = m_tab.GetStyle();
        ::SetWindowPos(m_tab.m_hWnd, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        // The strip's client area (the window less the offset) in the frame's coordinates.
        RECT inner;
        ::GetClientRect(m_tab.m_hWnd, &inner);
        ::MapWindowPoints(m_tab.m_hWnd, ::GetParent(m_tab.m_hWnd), reinterpret_cast<POINT*>(&inner), 2);
        if (!(style & TCS_BUTTONS) || !(style & TCS_VERTICAL)) {
            // One real tab too wide for the strip gets an empty tab beside it; it goes when there is room.
            int width = rect.right - rect.left;
            RECT first{};
            bool crowded = m_tab.m_arrTab.size() == 1 && m_tab.GetItemRect(0, &first) && first.right + 50 >= width;
            if (crowded && !m_nExtraTab) {
                m_nExtraTab = (int)m_tab.m_arrTab.size();
                m_tab.InsertItem(m_nExtraTab, "");
            } else if (!crowded && m_nExtraTab) {
                // The extra tab is always the last one.
                if (m_tab.GetItemCount() > (int)m_tab.m_arrTab.size())
                    m_tab.DeleteItem(m_tab.GetItemCount() - 1);
                m_nExtraTab = 0;
            }
        }
        client = inner;
        RECT display{0, 0, inner.right - inner.left, inner.bottom - inner.top};
        m_tab.AdjustRect(FALSE, &display);
        OffsetRect(&display, inner.left, inner.top);
        client = display;
        if (client.right < client.left || client.bottom < client.top)
            SetRectEmpty(&client);
    }
    GetTabSkin()->AdjustDisplayRect(client, 5, &m_tab);
    *rc = client;
}

void COXTabClientWnd::PostTick() {
    if (m_tab.m_hWnd)
        ::PostMessage(m_tab.m_hWnd, WM_TIMER, COXTabWorkspace::kTimerId, 0);
}

LRESULT COXTabClientWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MDIACTIVATE: {
            LRESULT r = CWnd::WindowProc(message, wParam, lParam);
            if (m_tab.m_hWnd) {
                int index = m_tab.FindTab((HWND)wParam);
                if (index >= 0)
                    m_tab.SetCurSel(index);
                if (m_tab.GetStyle() & 0x1)
                    m_bForceToRecalc = TRUE;
            }
            PostTick();
            return r;
        }
        case WM_MDICREATE: {
            LRESULT r = CWnd::WindowProc(message, wParam, lParam);
            if (r && m_tab.m_hWnd)
                m_tab.SetCurSel(-1);
            PostTick();
            return r;
        }
        case WM_MDIDESTROY:
            m_tab.RemoveTab((HWND)wParam, TRUE);
            {
                LRESULT r = CWnd::WindowProc(message, wParam, lParam);
                PostTick();
                return r;
            }
        case WM_SIZE: {
            LRESULT r = CWnd::WindowProc(message, wParam, lParam);
            m_bForceToRecalc = TRUE;
            PostTick();
            return r;
        }
        case WM_NCPAINT:
            // The client's border is the tab skin's.
            if (m_tab.m_hWnd) {
                GetTabSkin()->DrawNonClient(this);
                return 0;
            }
            break;
        case WM_SHOWWINDOW:
            if (!lParam && m_tab.m_hWnd)
                m_tab.ShowWindow(wParam ? SW_SHOWNA : SW_HIDE);
            break;
        default:
            break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
