#include "guilib/frame/OXFrameWndDock.h"

#include <algorithm>
#include <vector>

#include "guilib/frame/OXMDIChildWndSizeDock.h"
#include "guilib/frame/OXMDIFloatWnd.h"
#include "guilib/frame/OXSizeCtrlBar.h"
#include "guilib/frame/OXSizeDockBar.h"
#include "guilib/frame/OXSzMiniDockFrmWnd.h"
#include "platform/base/Profile.h"
#include "platform/framework/bars/DockContext.h"
#include "platform/framework/bars/DockState.h"
#include "platform/framework/bars/MiniDockFrameWnd.h"

IMPLEMENT_DYNCREATE(COXMDIFrameWndSizeDock, CMDIFrameWnd)

namespace {
struct DockSide {
    UINT id;
    DWORD style;
};
// Made in this order, so the top and bottom dock bars span the frame and the side ones lie between.
constexpr DockSide kSides[] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_TOP},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_BOTTOM},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_LEFT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_RIGHT},
};

void PutInt32(BYTE* at, int32_t v) {
    auto u = (uint32_t)v;
    at[0] = (BYTE)u, at[1] = (BYTE)(u >> 8), at[2] = (BYTE)(u >> 16), at[3] = (BYTE)(u >> 24);
}
int32_t GetInt32(const BYTE* at) {
    return (int32_t)((uint32_t)at[0] | (uint32_t)at[1] << 8 | (uint32_t)at[2] << 16 | (uint32_t)at[3] << 24);
}

CString BarSizeEntry(UINT id) {
    CString s;
    s.Format("BarSize_%u", id);
    return s;
}

std::vector<COXSizeControlBar*> SizeBarsOf(CFrameWnd* frame) {
    std::vector<COXSizeControlBar*> bars;
    for (POSITION pos = frame->m_listControlBars.GetHeadPosition(); pos;)
        if (auto* bar = dynamic_cast<COXSizeControlBar*>(static_cast<CControlBar*>(frame->m_listControlBars.GetNext(pos))))
            bars.push_back(bar);
    return bars;
}
}  // namespace

COXMDIFrameWndSizeDock::COXMDIFrameWndSizeDock() = default;
COXMDIFrameWndSizeDock::~COXMDIFrameWndSizeDock() = default;

void COXMDIFrameWndSizeDock::EnableDocking(DWORD dockStyle) {
    for (const DockSide& side : kSides) {
        if (!(dockStyle & side.style & CBRS_ALIGN_ANY) || GetControlBar(side.id))
            continue;
        auto* dockBar = new COXSizeDockBar;
        dockBar->m_bAutoDelete = TRUE;
        if (!dockBar->Create(this, WS_CHILD | WS_VISIBLE | (side.style & CBRS_ALIGN_ANY), side.id))
            delete dockBar;
    }
    m_pFloatingFrameClass = RUNTIME_CLASS(COXSizableMiniDockFrameWnd);
}

BOOL COXMDIFrameWndSizeDock::IsInMDIFloat(CControlBar* bar) const {
    return bar && bar->m_pDockBar && ::IsWindow(bar->m_pDockBar->m_hWnd) &&
           dynamic_cast<COXMDIFloatWnd*>(bar->m_pDockBar->GetParent()) != nullptr;
}

void COXMDIFrameWndSizeDock::FloatControlBarInMDIChild(CControlBar* bar, POINT screen, DWORD style, BOOL show) {
    if (!bar || !bar->m_hWnd || !m_hWndMDIClient)
        return;
    // Inside the MDI client: a window of the bar's client size stays within it.
    POINT at = screen;
    ::ScreenToClient(m_hWndMDIClient, &at);
    RECT mdi, barClient;
    ::GetClientRect(m_hWndMDIClient, &mdi);
    ::GetClientRect(bar->m_hWnd, &barClient);
    at.x = std::max<LONG>(0, std::min<LONG>(at.x, mdi.right - barClient.right));
    at.y = std::max<LONG>(0, std::min<LONG>(at.y, mdi.bottom - barClient.bottom));
    COXMDIFloatWnd* floatWnd = nullptr;
    if (IsInMDIFloat(bar) && bar->m_pDockBar->GetDockedCount() == 1)
        floatWnd = static_cast<COXMDIFloatWnd*>(bar->m_pDockBar->GetParent());
    if (!floatWnd) {
        floatWnd = new COXMDIFloatWnd;
        if (!floatWnd->Create(this, style | (bar->m_dwDockStyle & CBRS_FLOAT_MULTI)))
            return;  // the window's object went with it
        if (!::GetWindow(bar->m_hWnd, GW_OWNER))
            ::SetWindowLongPtr(bar->m_hWnd, GWLP_HWNDPARENT, (LONG_PTR)m_hWnd);
        floatWnd->m_wndDockBar.DockControlBar(bar, nullptr);
    }
    // The window's size holds the bar's floating size.
    SIZE size = bar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH);
    RECT rc{0, 0, size.cx, size.cy};
    ::AdjustWindowRectEx(&rc, floatWnd->GetStyle(), FALSE, floatWnd->GetExStyle());
    ::SetWindowPos(floatWnd->m_hWnd, nullptr, at.x, at.y, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    floatWnd->RecalcLayout();
    if (show && bar->IsVisible()) {
        ::ShowWindow(floatWnd->m_hWnd, SW_SHOWNA);
        ::UpdateWindow(floatWnd->m_hWnd);
    } else if (!bar->IsVisible()) {
        ::ShowWindow(floatWnd->m_hWnd, SW_HIDE);
    }
    ::SendMessage(m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
    DelayRecalcLayout();
}

void COXMDIFrameWndSizeDock::PackBarSizes(const COXSizeControlBar* bar, BOOL mdiFloat, BYTE out[28]) {
    const int32_t values[7] = {bar->m_FloatSize.cx,    bar->m_FloatSize.cy,    bar->m_HorzDockSize.cx,
                               bar->m_HorzDockSize.cy, bar->m_VertDockSize.cx, bar->m_VertDockSize.cy,
                               mdiFloat ? 1 : 0};
    for (int i = 0; i < 7; ++i)
        PutInt32(out + 4 * i, values[i]);
}

BOOL COXMDIFrameWndSizeDock::UnpackBarSizes(const BYTE* data, UINT bytes, COXSizeControlBar* bar, BOOL* mdiFloat) {
    if (!data || bytes != 28)
        return FALSE;
    int32_t v[7];
    for (int i = 0; i < 7; ++i)
        v[i] = GetInt32(data + 4 * i);
    for (int i = 0; i < 6; ++i)
        if (v[i] < 0)
            return FALSE;
    bar->m_FloatSize = SIZE{v[0], v[1]};
    bar->m_HorzDockSize = SIZE{v[2], v[3]};
    bar->m_VertDockSize = SIZE{v[4], v[5]};
    if (mdiFloat)
        *mdiFloat = v[6] == 1;
    return TRUE;
}

void COXMDIFrameWndSizeDock::LeaveOutViewBars(CDockState& state) {
    // The bars of docked MDI children come and go with their documents: the layout keeps no trace of them.
    auto isViewBar = [](UINT id) { return id != 0 && (id & 0xFFFF) == COXSizeViewBar::kBarId; };
    auto& infos = state.m_arrBarInfo;
    for (auto it = infos.begin(); it != infos.end();) {
        CControlBarInfo* info = *it;
        auto& ids = info->m_arrBarID;
        ids.erase(std::remove_if(ids.begin(), ids.end(), isViewBar), ids.end());
        bool emptyFloating = info->m_bDockBar && info->m_bFloating &&
                             std::none_of(ids.begin(), ids.end(), [](UINT id) { return id != 0; });
        if (isViewBar(info->m_nBarID) || emptyFloating) {
            delete info;
            it = infos.erase(it);
        } else {
            ++it;
        }
    }
}

void COXMDIFrameWndSizeDock::SaveSizeBarState(LPCTSTR section) {
    // Dynamic bars are not kept: they go first, last first.
    std::vector<COXSizeControlBar*> bars = SizeBarsOf(this);
    for (auto it = bars.rbegin(); it != bars.rend(); ++it)
        if (((*it)->GetSizeBarFlags() & SZBAR_DYNAMIC) && (*it)->m_hWnd)
            (*it)->DestroyWindow();
    // An MDI float window moves on the screen with the MDI client, unnoticed: its position is taken now.
    for (COXSizeControlBar* bar : SizeBarsOf(this))
        if (bar->m_hWnd && IsInMDIFloat(bar))
            static_cast<COXMDIFloatWnd*>(bar->m_pDockBar->GetParent())->RememberFloatPos();
    CDockState state;
    GetDockState(state);
    LeaveOutViewBars(state);
    state.SaveState(section);
    const CProfile& profile = AfxGetProfile();
    for (COXSizeControlBar* bar : SizeBarsOf(this)) {
        if (!bar->m_hWnd)
            continue;
        BYTE record[28];
        PackBarSizes(bar, IsInMDIFloat(bar), record);
        profile.WriteProfileBinary(section, BarSizeEntry((UINT)bar->GetDlgCtrlID()), record, sizeof record);
    }
    profile.WriteProfileInt(section, "Version", 2);
}

void COXMDIFrameWndSizeDock::LoadSizeBarState(LPCTSTR section) {
    const CProfile& profile = AfxGetProfile();
    if (profile.GetProfileInt(section, "Version", 0) != 2) {
        // Another version: the section and the dock state written with it go.
        CString summary;
        summary.Format("%s-Summary", section);
        int bars = (int)profile.GetProfileInt(summary, "Bars", 0);
        for (int i = 0; i < bars && i < CDockState::kMaxBars; ++i) {
            CString s;
            s.Format("%s-Bar%d", section, i);
            profile.WriteProfileString(s, nullptr, nullptr);
        }
        profile.WriteProfileString(summary, nullptr, nullptr);
        profile.WriteProfileString(section, nullptr, nullptr);
        return;
    }
    RecalcLayout();
    CDockState state;
    if (state.LoadState(section)) {
        state.ScaleToScreen();
        SetDockState(state);
    }
    std::vector<COXSizeControlBar*> mdiFloating;
    for (COXSizeControlBar* bar : SizeBarsOf(this)) {
        if (!bar->m_hWnd)
            continue;
        BYTE* data = nullptr;
        UINT bytes = 0;
        if (!profile.GetProfileBinary(section, BarSizeEntry((UINT)bar->GetDlgCtrlID()), &data, &bytes))
            continue;
        BOOL mdiFloat = FALSE;
        BOOL ok = UnpackBarSizes(data, bytes, bar, &mdiFloat);
        delete[] data;
        if (!ok)
            continue;  // a damaged record: the bar keeps its sizes
        SIZE size = bar->CalcFixedLayout(FALSE, (bar->m_dwStyle & CBRS_ORIENT_HORZ) != 0);
        ::SetWindowPos(bar->m_hWnd, nullptr, 0, 0, size.cx, size.cy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        if (bar->IsFloating()) {
            if (mdiFloat) {
                mdiFloating.push_back(bar);
            } else if (CFrameWnd* frame = bar->GetParentFrame(); frame && frame != this) {
                frame->RecalcLayout();
            }
        }
    }
    // The dock bars share their rows anew over the restored sizes.
    for (const DockSide& side : kSides)
        if (auto* dockBar = dynamic_cast<COXSizeDockBar*>(GetControlBar(side.id))) {
            dockBar->m_arrHiddenBars.RemoveAll();
            dockBar->m_CountBars = dockBar->CalcRowSignature();
            dockBar->m_LastWidth = dockBar->m_LastHeight = 65535;
        }
    RecalcLayout();
    for (COXSizeControlBar* bar : mdiFloating) {
        POINT at = bar->m_pDockContext ? bar->m_pDockContext->m_ptMRUFloatPos : POINT{0, 0};
        FloatControlBarInMDIChild(bar, at, CBRS_ALIGN_TOP, bar->IsVisible());
    }
    if (IsWindowVisible())
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

CMDIChildWnd* COXMDIFrameWndSizeDock::MDIGetActive(BOOL* maximized) const {
    if (m_pActiveDockChild) {
        if (maximized)
            *maximized = FALSE;
        bool live = ::IsWindow(m_hActiveDockChild) && CWnd::FromHandlePermanent(m_hActiveDockChild) == m_pActiveDockChild;
        return live ? m_pActiveDockChild : nullptr;
    }
    CMDIChildWnd* child = CMDIFrameWnd::MDIGetActive(maximized);
    auto* dockable = dynamic_cast<COXMDIChildWndSizeDock*>(child);
    if (!child || !::IsWindow(child->m_hWnd) || (dockable && dockable->m_bPseudoInactive)) {
        if (maximized)
            *maximized = FALSE;
        return nullptr;
    }
    return child;
}

void COXMDIFrameWndSizeDock::SetActiveDockedChild(COXMDIChildWndSizeDock* child) {
    m_pActiveDockChild = child && child->m_hWnd && ::IsWindow(child->m_hWnd) ? child : nullptr;
    m_hActiveDockChild = m_pActiveDockChild ? child->m_hWnd : nullptr;
}

void COXMDIFrameWndSizeDock::ActivateChild(CMDIChildWnd* child) {
    auto* dockable = dynamic_cast<COXMDIChildWndSizeDock*>(child);
    if (dockable && dockable->IsDocked()) {
        SetActiveDockedChild(dockable);
    } else {
        SetActiveDockedChild(nullptr);
        if (child && m_hWndMDIClient)
            ::SendMessage(m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)child->m_hWnd, 0);
    }
    RefreshActivation();
}

void COXMDIFrameWndSizeDock::RefreshActivation() {
    CMDIChildWnd* active = MDIGetActive();
    if (m_hWndMDIClient)
        for (HWND h = ::GetWindow(m_hWndMDIClient, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
            if (auto* child = dynamic_cast<COXMDIChildWndSizeDock*>(CWnd::FromHandlePermanent(h)))
                ::SendMessage(h, WM_NCACTIVATE, child == active, 0);
    // Only a dockable child lets go of its view when the view goes: other children's views stay theirs.
    auto* dockable = dynamic_cast<COXMDIChildWndSizeDock*>(active);
    SetActiveView(dockable ? dockable->GetActiveView() : nullptr, FALSE);
    OnUpdateFrameTitle(TRUE);
}

BOOL COXMDIFrameWndSizeDock::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
    CView* before = GetActiveView();
    if (CMDIFrameWnd::OnCmdMsg(id, code, extra, handlerInfo))
        return TRUE;
    if (GetActiveView() != before)
        SetActiveView(before, FALSE);
    return FALSE;
}

LRESULT COXMDIFrameWndSizeDock::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // A docked active child adds no title of its own to the frame's.
    if (message == WM_SETTEXT && m_pActiveDockChild && MDIGetActive() == m_pActiveDockChild)
        return ::DefWindowProc(m_hWnd, message, wParam, lParam);
    return CMDIFrameWnd::DefWindowProc(message, wParam, lParam);
}

BOOL COXMDIFrameWndSizeDock::DestroyWindow() {
    SetActiveView(nullptr, FALSE);
    SetActiveDockedChild(nullptr);
    return CMDIFrameWnd::DestroyWindow();
}

CFrameWnd* COXMDIFrameWndSizeDock::GetActiveFrame() {
    CMDIChildWnd* child = MDIGetActive();
    return child ? static_cast<CFrameWnd*>(child) : this;
}

LRESULT COXMDIFrameWndSizeDock::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_OX_QUERYLIVEDRAG:
            return m_nLiveDragging;
        case WM_DESTROY:
            if (!GetParent())
                COXSizeControlBar::TidyUp(this);
            break;
        case WM_CLOSE: {
            if (m_bBeingClosed)
                return 0;
            m_bBeingClosed = TRUE;
            HWND self = m_hWnd;
            LRESULT r = CMDIFrameWnd::WindowProc(message, wParam, lParam);
            if (::IsWindow(self) && CWnd::FromHandlePermanent(self) == this)
                m_bBeingClosed = FALSE;
            return r;
        }
        case WM_ACTIVATE:
            if (m_pActiveSizeBar && ::IsWindow(m_pActiveSizeBar->m_hWnd)) {
                if (LOWORD(wParam) == WA_INACTIVE)
                    m_pActiveSizeBar->SetActive(FALSE, FALSE);
                else if (LOWORD(wParam) == WA_ACTIVE)
                    m_pActiveSizeBar->SetActive(TRUE, TRUE);
            }
            break;
        default:
            break;
    }
    return CMDIFrameWnd::WindowProc(message, wParam, lParam);
}
