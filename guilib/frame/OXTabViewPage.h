// COXTabViewPage<T>: a window class T made a page of a tab view container. While the page sits in a
// container, the container's scroll-bar controls stand in for the page's own, and the page keeps the
// container told when its scroll state changes (a control page also polls once a second).
#pragma once

#include <utility>

#include "guilib/frame/OXTabViewContainer.h"
#include "platform/framework/controls/Edit.h"
#include "platform/framework/controls/ListBox.h"
#include "platform/framework/controls/ListCtrl.h"
#include "platform/framework/controls/RichEditCtrl.h"
#include "platform/framework/docview/CtrlView.h"
#include "platform/framework/docview/EditView.h"

#define IDT_OXTABVIEWPAGE_TIMER 123
#define ID_OXTABVIEWPAGE_DELAY 1000

// Set while a page template resizes its page itself; the page's WM_SIZE handling then does nothing.
inline BOOL g_bOXTabViewPageNoSize = FALSE;

template <class T>
class COXTabViewPage : public T {
public:
    template <class... Args>
    explicit COXTabViewPage(Args&&... args) : T(std::forward<Args>(args)...) {
        // Classes that change their scroll bars by themselves, and the simple ones among them.
        m_bIsSimpleControl = this->IsKindOf(RUNTIME_CLASS(CEdit)) || this->IsKindOf(RUNTIME_CLASS(CEditView)) ||
                             this->IsKindOf(RUNTIME_CLASS(CListBox));
        m_bIsControlPage = m_bIsSimpleControl || this->IsKindOf(RUNTIME_CLASS(CListCtrl)) ||
                           this->IsKindOf(RUNTIME_CLASS(CListView)) || this->IsKindOf(RUNTIME_CLASS(CTreeView)) ||
                           this->IsKindOf(RUNTIME_CLASS(CRichEditCtrl)) || this->IsKindOf(RUNTIME_CLASS(CRichEditView));
    }

    CScrollBar* GetScrollBarCtrl(int bar) const override {
        if (COXTabViewContainer* container = COXTabViewContainer::GetParentTabViewContainer(this, FALSE)) {
            DWORD style = (DWORD)::GetWindowLongPtr(this->m_hWnd, GWL_STYLE);
            if (bar == SB_HORZ && !(style & WS_HSCROLL) && container->GetHorzScrollBar()->m_hWnd)
                return container->GetHorzScrollBar();
            if (bar == SB_VERT && !(style & WS_VSCROLL) && container->GetVertScrollBar()->m_hWnd)
                return container->GetVertScrollBar();
        }
        return T::GetScrollBarCtrl(bar);
    }

    BOOL PreTranslateMessage(MSG* msg) override {
        if (m_bIsControlPage && msg->hwnd != this->m_hWnd && IsPollTrigger(msg->message))
            PostTimer();
        return T::PreTranslateMessage(msg);
    }

    virtual void PostTimer() {
        if (this->m_hWnd)
            ::PostMessage(this->m_hWnd, WM_TIMER, (WPARAM)m_nTimerID, 0);
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_CREATE: {
                LRESULT r = T::WindowProc(message, wParam, lParam);
                if (r == -1)
                    return r;
                if (m_bIsControlPage) {
                    m_nTimerID = (INT_PTR)::SetTimer(this->m_hWnd, IDT_OXTABVIEWPAGE_TIMER, ID_OXTABVIEWPAGE_DELAY, nullptr);
                    if (m_nTimerID == 0) {
                        m_nTimerID = -1;
                        return -1;
                    }
                }
                return r;
            }
            case WM_DESTROY:
                if (m_nTimerID != -1) {
                    ::KillTimer(this->m_hWnd, (UINT_PTR)m_nTimerID);
                    m_nTimerID = -1;
                }
                return T::WindowProc(message, wParam, lParam);
            case WM_TIMER:
                if ((INT_PTR)wParam != m_nTimerID || m_nTimerID == -1)
                    return T::WindowProc(message, wParam, lParam);
                if (COXTabViewContainer* container = Container();
                    container && !m_bIsInScroll && ::GetCapture() != this->m_hWnd)
                    Resync(container);
                return 0;
            case WM_HSCROLL:
            case WM_VSCROLL: {
                if (LOWORD(wParam) == SB_ENDSCROLL) {
                    m_bIsInScroll = FALSE;
                    m_nLastHorzPos = this->GetScrollPos(SB_HORZ);
                    m_nLastVertPos = this->GetScrollPos(SB_VERT);
                } else {
                    m_bIsInScroll = TRUE;
                }
                COXTabViewContainer* container = Container();
                if (!container || !m_bIsControlPage)
                    return T::WindowProc(message, wParam, lParam);
                T::WindowProc(message, wParam, lParam);
                BOOL old = g_bOXTabViewPageNoSize;
                if (!m_bIsSimpleControl)
                    g_bOXTabViewPageNoSize = TRUE;
                container->UpdateScrollInfo();
                g_bOXTabViewPageNoSize = old;
                return 0;
            }
            case WM_SIZE: {
                COXTabViewContainer* container = Container();
                if (!container)
                    return T::WindowProc(message, wParam, lParam);
                if (g_bOXTabViewPageNoSize)
                    return 0;
                if (!::IsWindowVisible(this->m_hWnd) || container->GetActivePage() != this)
                    return T::WindowProc(message, wParam, lParam);
                if (m_bIsSimpleControl) {
                    // The control lays itself out first (showing its own bars again as it does, which resizes
                    // it once more: that nested size is the control's alone), then the container takes the
                    // bars over; the other order would have them shown and hidden for ever.
                    if (m_bInSize)
                        return T::WindowProc(message, wParam, lParam);
                    m_bInSize = TRUE;
                    LRESULT r = T::WindowProc(message, wParam, lParam);
                    container->UpdateScrollState();
                    container->UpdateScrollInfo();
                    m_bInSize = FALSE;
                    return r;
                }
                BOOL old = g_bOXTabViewPageNoSize;
                g_bOXTabViewPageNoSize = TRUE;
                if (m_bIsControlPage)
                    Resync(container);
                LRESULT r = T::WindowProc(message, wParam, lParam);
                ::ShowScrollBar(this->m_hWnd, SB_BOTH, FALSE);
                g_bOXTabViewPageNoSize = old;
                return r;
            }
            default:
                if (m_bIsControlPage && IsPollTrigger(message))
                    PostTimer();
                return T::WindowProc(message, wParam, lParam);
        }
    }

protected:
    INT_PTR m_nTimerID = -1;
    BOOL m_bIsInScroll = FALSE;
    BOOL m_bIsControlPage = FALSE;
    BOOL m_bIsSimpleControl = FALSE;
    int m_nLastHorzPos = 0;
    int m_nLastVertPos = 0;
    BOOL m_bInSize = FALSE;

    COXTabViewContainer* Container() const { return COXTabViewContainer::GetParentTabViewContainer(this, FALSE); }

    static bool IsPollTrigger(UINT message) {
        return message == WM_SYSCOMMAND || message == WM_SHOWWINDOW || (message >= 0x0100 && message <= 0x0109) ||
               (message >= 0x0201 && message <= 0x020E);
    }

    void Resync(COXTabViewContainer* container) {
        BOOL old = g_bOXTabViewPageNoSize;
        if (!m_bIsSimpleControl)
            g_bOXTabViewPageNoSize = TRUE;
        container->UpdateScrollState();
        container->UpdateScrollInfo();
        g_bOXTabViewPageNoSize = old;
    }
};
