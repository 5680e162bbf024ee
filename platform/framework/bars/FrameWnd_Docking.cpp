// CFrameWnd's docking: its four dock bars, docking and floating bars, showing and hiding them, and the
// dock state.
#include <algorithm>

#include "platform/framework/bars/ControlBar.h"
#include "platform/framework/bars/DockBar.h"
#include "platform/framework/bars/DockContext.h"
#include "platform/framework/bars/DockState.h"
#include "platform/framework/bars/MiniDockFrameWnd.h"

namespace {
struct DockBarSide {
    UINT id;
    DWORD style;
};
// Made in this order, so the top and bottom dock bars span the frame and the side ones lie between.
constexpr DockBarSide kSides[] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_TOP},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_BOTTOM},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_LEFT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_RIGHT},
};

bool IsSideDockBarId(UINT id) {
    return id >= AFX_IDW_DOCKBAR_TOP && id <= AFX_IDW_DOCKBAR_BOTTOM;
}
}  // namespace

void CFrameWnd::EnableDocking(DWORD dockStyle) {
    for (const DockBarSide& side : kSides) {
        if (!(dockStyle & side.style & CBRS_ALIGN_ANY) || GetControlBar(side.id))
            continue;
        auto* dockBar = new CDockBar(FALSE);
        dockBar->m_bAutoDelete = TRUE;
        DWORD style = WS_CHILD | WS_VISIBLE | (side.style & CBRS_ALIGN_ANY);
        if (!dockBar->Create(this, style, side.id)) {
            delete dockBar;
            continue;
        }
    }
    if (!m_pFloatingFrameClass)
        m_pFloatingFrameClass = RUNTIME_CLASS(CMiniDockFrameWnd);
}

CControlBar* CFrameWnd::GetControlBar(UINT id) {
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
        auto* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        if (bar && bar->m_hWnd && (UINT)bar->GetDlgCtrlID() == id)
            return bar;
    }
    return nullptr;
}

DWORD CFrameWnd::CanDock(const RECT& rect, DWORD dockStyle, CDockBar** found) {
    for (const DockBarSide& side : kSides) {
        if (!(dockStyle & side.style & CBRS_ALIGN_ANY))
            continue;
        auto* dockBar = dynamic_cast<CDockBar*>(GetControlBar(side.id));
        if (!dockBar || !dockBar->IsWindowVisible())
            continue;
        RECT bar;
        ::GetWindowRect(dockBar->m_hWnd, &bar);
        // An empty side is a line one pixel thick.
        if (bar.right == bar.left)
            ++bar.right;
        if (bar.bottom == bar.top)
            ++bar.bottom;
        RECT common;
        if (IntersectRect(&common, &bar, &rect)) {
            if (found)
                *found = dockBar;
            return side.style & CBRS_ALIGN_ANY;
        }
    }
    return 0;
}

void CFrameWnd::DockControlBar(CControlBar* bar, UINT dockBarId, const RECT* rect) {
    CDockBar* dockBar = nullptr;
    if (dockBarId) {
        dockBar = dynamic_cast<CDockBar*>(GetControlBar(dockBarId));
    } else {
        // The side that keeps its placeholder, else the first side it may dock at.
        UINT id = bar ? (UINT)bar->GetDlgCtrlID() : 0;
        for (const DockBarSide& side : kSides) {
            auto* candidate = dynamic_cast<CDockBar*>(GetControlBar(side.id));
            if (id && candidate && candidate->FindBar(CDockBar::Placeholder(id)) > 0) {
                dockBar = candidate;
                break;
            }
        }
        for (const DockBarSide& side : kSides) {
            if (dockBar || !bar)
                break;
            if (bar->m_dwDockStyle & side.style & CBRS_ALIGN_ANY)
                dockBar = dynamic_cast<CDockBar*>(GetControlBar(side.id));
        }
    }
    DockControlBar(bar, dockBar, rect);
}

void CFrameWnd::DockControlBar(CControlBar* bar, CDockBar* dockBar, const RECT* rect) {
    if (!bar || !dockBar)
        return;
    // The bar's own frame is this one, floating or not.
    bar->m_pDockSite = this;
    if (!bar->m_pDockContext && bar->m_dwDockStyle)
        bar->EnableDocking(bar->m_dwDockStyle);
    dockBar->DockControlBar(bar, rect);
}

void CFrameWnd::ReDockControlBar(CControlBar* bar, CDockBar* dockBar, const RECT* rect) {
    if (!bar || !dockBar)
        return;
    bar->m_pDockSite = this;
    dockBar->ReDockControlBar(bar, rect);
}

CMiniDockFrameWnd* CFrameWnd::CreateFloatingFrame(DWORD style) {
    const CRuntimeClass* cls = m_pFloatingFrameClass ? m_pFloatingFrameClass : RUNTIME_CLASS(CMiniDockFrameWnd);
    CObject* object = cls->CreateObject();
    auto* frame = dynamic_cast<CMiniDockFrameWnd*>(object);
    if (!frame) {
        delete object;
        return nullptr;
    }
    if (!frame->Create(this, style)) {
        // A frame that failed to make its window has deleted itself with it, or never had one.
        if (!frame->m_hWnd)
            delete frame;
        return nullptr;
    }
    return frame;
}

void CFrameWnd::FloatControlBar(CControlBar* bar, POINT point, DWORD style) {
    if (!bar || !bar->m_hWnd)
        return;
    CMiniDockFrameWnd* frame = nullptr;
    if (bar->IsFloating() && bar->m_pDockBar && bar->m_pDockBar->GetDockedCount() == 1) {
        // Alone in a floating frame already: the frame only moves.
        frame = dynamic_cast<CMiniDockFrameWnd*>(bar->GetParentFrame());
    }
    if (!frame) {
        frame = CreateFloatingFrame(style | (bar->m_dwStyle & CBRS_SIZE_DYNAMIC));
        if (!frame)
            return;
        frame->m_wndDockBar.DockControlBar(bar, nullptr);
    }
    ::SetWindowPos(frame->m_hWnd, nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    frame->RecalcLayout();
    if (bar->IsVisible())
        ::ShowWindow(frame->m_hWnd, SW_SHOWNA);
    if (bar->m_pDockContext) {
        bar->m_pDockContext->m_ptMRUFloatPos = point;
        bar->m_pDockContext->m_dwMRUFloatStyle = style;
    }
    DelayRecalcLayout();
}

void CFrameWnd::ShowControlBar(CControlBar* bar, BOOL show, BOOL delay) {
    if (!bar || !bar->m_hWnd)
        return;
    if (delay) {
        bar->DelayShow(show);
        return;
    }
    bar->m_nStateFlags &= ~(CControlBar::delayHide | CControlBar::delayShow);
    ::ShowWindow(bar->m_hWnd, show ? SW_SHOWNA : SW_HIDE);
    if (bar->IsFloating()) {
        bar->m_pDockBar->ShowAll(show);
        if (CFrameWnd* frame = bar->GetParentFrame())
            frame->RecalcLayout();
    }
    RecalcLayout();
}

BOOL CFrameWnd::OnBarCheck(UINT id) {
    CControlBar* bar = GetControlBar(id);
    if (!bar)
        return FALSE;
    ShowControlBar(bar, !(bar->GetStyle() & WS_VISIBLE), FALSE);
    return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* cmdUI) {
    CControlBar* bar = GetControlBar(cmdUI->m_nID);
    if (!bar) {
        cmdUI->ContinueRouting();
        return;
    }
    cmdUI->SetCheck((bar->GetStyle() & WS_VISIBLE) != 0);
}

// ---- Dock state ---------------------------------------------------------------------------------

void CFrameWnd::GetDockState(CDockState& state) {
    state.Clear();
    state.m_sizeScreen = SIZE{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
        auto* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        if (!bar || !bar->m_hWnd)
            continue;
        auto* info = new CControlBarInfo;
        bar->GetBarInfo(info);
        info->m_pBar = nullptr;
        state.m_arrBarInfo.push_back(info);
    }
}

void CFrameWnd::SetDockState(const CDockState& state) {
    // The bars that exist; the floating frames of now, which go when they end up empty.
    std::vector<CMiniDockFrameWnd*> oldFloating;
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
        auto* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        if (auto* dockBar = dynamic_cast<CDockBar*>(bar); dockBar && dockBar->m_bFloating)
            if (auto* frame = dynamic_cast<CMiniDockFrameWnd*>(dockBar->GetParent()))
                oldFloating.push_back(frame);
    }
    for (CControlBarInfo* info : state.m_arrBarInfo)
        info->m_pBar = info->m_bDockBar ? nullptr : GetControlBar(info->m_nBarID);

    // Each dock bar takes its list; a bar that does not exist (yet) leaves its placeholder.
    for (CControlBarInfo* info : state.m_arrBarInfo) {
        if (!info->m_bDockBar)
            continue;
        CDockBar* dockBar = nullptr;
        if (info->m_bFloating) {
            bool anyBar = false;
            for (UINT id : info->m_arrBarID)
                if (id && !(id & CControlBarInfo::kPlaceholderBit) && GetControlBar(id))
                    anyBar = true;
            if (!anyBar)
                continue;  // a floating frame of bars that do not exist is not made
            DWORD style = info->m_bHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT;
            CMiniDockFrameWnd* frame = CreateFloatingFrame(style);
            if (!frame)
                continue;
            ::SetWindowPos(frame->m_hWnd, nullptr, info->m_pointPos.x, info->m_pointPos.y, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            dockBar = &frame->m_wndDockBar;
        } else if (IsSideDockBarId(info->m_nBarID)) {
            dockBar = dynamic_cast<CDockBar*>(GetControlBar(info->m_nBarID));
        }
        if (!dockBar)
            continue;
        std::vector<void*> entries;
        for (UINT id : info->m_arrBarID) {
            if (id == 0) {
                entries.push_back(nullptr);
                continue;
            }
            UINT barId = id & 0xFFFF;
            CControlBar* bar = (id & CControlBarInfo::kPlaceholderBit) ? nullptr : GetControlBar(barId);
            if (!bar || bar->IsDockBar()) {
                entries.push_back(CDockBar::Placeholder(barId));
                continue;
            }
            // Into this dock bar before its old one may go away with its floating frame.
            bool visible = (bar->GetStyle() & WS_VISIBLE) != 0;
            if (::GetParent(bar->m_hWnd) != dockBar->m_hWnd) {
                ::ShowWindow(bar->m_hWnd, SW_HIDE);
                ::SetParent(bar->m_hWnd, dockBar->m_hWnd);
                if (visible)
                    ::ShowWindow(bar->m_hWnd, SW_SHOWNA);
            }
            bar->m_pDockBar = dockBar;
            bar->m_pDockSite = this;
            DWORD style = (bar->m_dwStyle & ~(CBRS_ALIGN_ANY | CBRS_FLOATING)) | (dockBar->m_dwStyle & CBRS_ALIGN_ANY) |
                          (dockBar->m_bFloating ? CBRS_FLOATING : 0);
            bar->SetBarStyle(style);
            if (dockBar->m_bFloating)
                dockBar->TakeFloatingStyleOf(bar);
            entries.push_back(bar);
        }
        dockBar->m_arrBars.RemoveAll();
        for (void* e : entries)
            dockBar->m_arrBars.Add(e);
        dockBar->RemoveEmptyRows();
    }
    // Entries of bars that moved to another dock bar go from the dock bars they left.
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
        auto* dockBar = dynamic_cast<CDockBar*>(static_cast<CControlBar*>(m_listControlBars.GetNext(pos)));
        if (!dockBar)
            continue;
        for (INT_PTR i = dockBar->m_arrBars.GetSize() - 1; i > 0; --i)
            if (CControlBar* b = dockBar->GetBar(i); b && b->m_pDockBar != dockBar)
                dockBar->m_arrBars.RemoveAt(i);
        dockBar->RemoveEmptyRows();
    }

    // The bars' own places, visibility and last places.
    for (CControlBarInfo* info : state.m_arrBarInfo) {
        CControlBar* bar = info->m_pBar;
        if (!bar || !bar->m_hWnd)
            continue;
        RECT rc;
        ::GetWindowRect(bar->m_hWnd, &rc);
        ::SetWindowPos(bar->m_hWnd, nullptr, info->m_pointPos.x, info->m_pointPos.y, rc.right - rc.left,
                       rc.bottom - rc.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        bar->SetBarInfo(info, this);
        bar->m_nStateFlags &= ~(CControlBar::delayHide | CControlBar::delayShow);
        ::ShowWindow(bar->m_hWnd, info->m_bVisible ? SW_SHOWNA : SW_HIDE);
    }
    for (CControlBarInfo* info : state.m_arrBarInfo)
        info->m_pBar = nullptr;

    // Floating frames: fitted and shown with a visible bar; the old ones left empty go.
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
        auto* dockBar = dynamic_cast<CDockBar*>(static_cast<CControlBar*>(m_listControlBars.GetNext(pos)));
        if (!dockBar || !dockBar->m_bFloating)
            continue;
        auto* frame = dynamic_cast<CMiniDockFrameWnd*>(dockBar->GetParent());
        if (!frame || dockBar->GetDockedCount() == 0)
            continue;
        frame->RecalcLayout();
        ::ShowWindow(frame->m_hWnd, dockBar->GetDockedVisibleCount() ? SW_SHOWNA : SW_HIDE);
    }
    for (CMiniDockFrameWnd* frame : oldFloating)
        if (::IsWindow(frame->m_hWnd) && frame->m_wndDockBar.GetDockedCount() == 0)
            frame->DestroyWindow();
    RecalcLayout();
}

void CFrameWnd::SaveBarState(LPCTSTR profileName) {
    CDockState state;
    GetDockState(state);
    state.SaveState(profileName);
}

BOOL CFrameWnd::LoadBarState(LPCTSTR profileName) {
    CDockState state;
    if (!state.LoadState(profileName))
        return FALSE;
    state.ScaleToScreen();
    SetDockState(state);
    return TRUE;
}
