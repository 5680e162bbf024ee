#include "guilib/frame/OXDockTabCtrl.h"

#include <algorithm>
#include <cstdlib>

#include "guilib/frame/OXSizeCtrlBar.h"
#include "guilib/frame/OXSizeDockBar.h"
#include "guilib/skins/OXCoolToolBar.h"
#include "platform/framework/frames/FrameWnd.h"

IMPLEMENT_DYNAMIC(COXDockTabCtrl, COXSkinnedTabCtrl)

COXDockTabCtrl::COXDockTabCtrl(COXSizeDockBar* dockBar) : m_pSizeDockBar(dockBar) {}

COXDockTabCtrl::~COXDockTabCtrl() = default;

int COXDockTabCtrl::FindTab(CControlBar* bar) const {
    if (!m_hWnd || !bar)
        return -1;
    for (int i = 0; i < GetItemCount(); ++i)
        if (GetTabBar(i) == bar)
            return i;
    return -1;
}

CControlBar* COXDockTabCtrl::GetTabBar(int index) const {
    TCITEM item{};
    item.mask = TCIF_PARAM;
    if (!m_hWnd || !GetItem(index, &item))
        return nullptr;
    return reinterpret_cast<CControlBar*>(item.lParam);
}

int COXDockTabCtrl::HitTestTabs(int x, int y, CControlBar*) const {
    if (!m_pSizeDockBar || !m_pSizeDockBar->m_hWnd || !m_hWnd)
        return -1;
    RECT band;
    ::GetWindowRect(m_pSizeDockBar->m_hWnd, &band);
    band.top = std::max<LONG>(band.top, band.bottom - kTabBand);
    POINT screen{x, y};
    if (!PtInRect(&band, screen))
        return -1;
    TCHITTESTINFO info{};
    info.pt = screen;
    ::ScreenToClient(m_hWnd, &info.pt);
    int tab = HitTest(&info);
    return tab < 0 ? 0 : tab;
}

void COXDockTabCtrl::RepositionTab(int from, int to, int x, int y) {
    if (from == to || from < 0 || to < 0 || from >= GetItemCount() || to >= GetItemCount())
        return;
    RECT target;
    GetItemRect(to, &target);
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&target), 2);
    (void)y;
    int middle = (target.left + target.right) / 2;
    if (to < from ? x > middle : x < middle)
        return;
    char text[257] = {};
    TCITEM item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = text;
    item.cchTextMax = 256;
    GetItem(from, &item);
    BOOL selected = GetCurSel() == from;
    DeleteItem(from);
    InsertItem(TCIF_TEXT | TCIF_PARAM, to, text, 0, item.lParam);
    if (selected)
        SetCurSel(to);
}

void COXDockTabCtrl::ShowSelectedBar() {
    if (!m_hWnd || !m_pSizeDockBar)
        return;
    int selected = GetCurSel();
    for (int i = 0; i < GetItemCount(); ++i) {
        CControlBar* bar = GetTabBar(i);
        if (!bar || !bar->m_hWnd)
            continue;
        if (CFrameWnd* frame = bar->GetDockingFrame())
            frame->ShowControlBar(bar, i == selected, TRUE);
    }
    auto* bar = dynamic_cast<COXSizeControlBar*>(selected >= 0 ? GetTabBar(selected) : nullptr);
    if (!bar)
        return;
    if (m_pSizeDockBar->IsHorzDockBar()) {
        // The newly selected bar takes the width of the one it replaces.
        auto* last = dynamic_cast<COXSizeControlBar*>(m_pLastSelectedBar);
        if (last && last != bar && FindTab(last) >= 0)
            bar->m_HorzDockSize.cx = last->m_HorzDockSize.cx;
        m_pLastSelectedBar = bar;
        return;
    }
    // On a vertical dock bar the bar covers the client area above the strip.
    RECT area;
    ::GetClientRect(m_pSizeDockBar->m_hWnd, &area);
    area.bottom -= m_pSizeDockBar->GetTabAreaHeight();
    if (m_pSizeDockBar->m_dwStyle & CBRS_ALIGN_LEFT)
        area.right -= 3;
    else
        area.left += 4;
    int width = std::max<LONG>(0, area.right - area.left), height = std::max<LONG>(0, area.bottom - area.top);
    if (::GetParent(bar->m_hWnd) == m_pSizeDockBar->m_hWnd)
        ::SetWindowPos(bar->m_hWnd, nullptr, area.left, area.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    bar->m_VertDockSize = SIZE{width, height + 5};
}

void COXDockTabCtrl::InsertTab(CControlBar* bar, int index, BOOL showSelected) {
    if (!m_hWnd || !bar || !m_pSizeDockBar || m_pSizeDockBar->CountSizeBarsExcept(bar) == 0)
        return;
    // The visible sizing bars here that have no tab yet join the strip first.
    for (INT_PTR k = 0; k < m_pSizeDockBar->m_arrBars.GetSize(); ++k) {
        CControlBar* other = m_pSizeDockBar->GetBar(k);
        if (other == bar || !OXIsSizeBar(other) || !other->m_hWnd || !other->IsVisible() || FindTab(other) >= 0)
            continue;
        InsertItem(TCIF_TEXT | TCIF_PARAM, 0, GetWindowTextString(other->m_hWnd), 0, (LPARAM)other);
    }
    int at = FindTab(bar);
    if (at < 0) {
        index = std::clamp(index, 0, GetItemCount());
        at = (int)InsertItem(TCIF_TEXT | TCIF_PARAM, index, GetWindowTextString(bar->m_hWnd), 0, (LPARAM)bar);
    }
    SetCurSel(at);
    m_pSizeDockBar->PlaceTabStrip();
    if (showSelected) {
        ShowSelectedBar();
        return;
    }
    for (int i = 0; i < GetItemCount(); ++i)
        if (CControlBar* b = GetTabBar(i); i != at && b && b->m_hWnd)
            if (CFrameWnd* frame = b->GetDockingFrame())
                frame->ShowControlBar(b, FALSE, TRUE);
}

void COXDockTabCtrl::RemoveTab(CControlBar* bar) {
    if (!m_hWnd || GetItemCount() == 0)
        return;
    int index = FindTab(bar);
    // A stack of two dissolves: the other bar loses its tab and shows. So does a stack that would be
    // left with a single tab (a bar hidden untabbed does not count), which would hide its one bar.
    CControlBar* lone = nullptr;
    if (m_pSizeDockBar->CountSizeBarsExcept(bar) == 1)
        lone = m_pSizeDockBar->FindOtherSizeBar(bar);
    else if (index >= 0 && GetItemCount() == 2)
        lone = GetTabBar(1 - index);
    if (lone) {
        if (int other = FindTab(lone); other >= 0)
            DeleteItem(other);
        if (lone->m_hWnd)
            if (CFrameWnd* frame = lone->GetDockingFrame())
                frame->ShowControlBar(lone, TRUE, TRUE);
    }
    index = FindTab(bar);
    if (index >= 0)
        DeleteItem(index);
    if (m_pLastSelectedBar == bar)
        m_pLastSelectedBar = nullptr;
    if (index >= 0 && GetItemCount() >= 2) {
        SetCurSel(std::max(index - 1, 0));
        ShowSelectedBar();
    }
    m_pSizeDockBar->PlaceTabStrip();
}

BOOL COXDockTabCtrl::TearOff(POINT client) {
    TCHITTESTINFO info{};
    info.pt = client;
    int tab = HitTest(&info);
    CControlBar* bar = tab >= 0 ? GetTabBar(tab) : nullptr;
    if (!bar || !bar->m_hWnd)
        return FALSE;
    if (auto* toolBar = dynamic_cast<COXCoolToolBar*>(bar)) {
        POINT screen = client;
        ::ClientToScreen(m_hWnd, &screen);
        toolBar->BeginMove(screen);
        return TRUE;
    }
    auto* sizeBar = dynamic_cast<COXSizeControlBar*>(bar);
    if (!sizeBar)
        return FALSE;
    POINT origin{0, 0};
    ::ClientToScreen(sizeBar->m_hWnd, &origin);
    sizeBar->BeginLiveDrag(origin);
    return TRUE;
}

BOOL COXDockTabCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_NOTIFY && lParam && reinterpret_cast<NMHDR*>(lParam)->code == (UINT)TCN_SELCHANGE) {
        ShowSelectedBar();
        if (result)
            *result = 0;
        return TRUE;
    }
    return COXSkinnedTabCtrl::OnChildNotify(message, wParam, lParam, result);
}

LRESULT COXDockTabCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            LRESULT r = COXSkinnedTabCtrl::WindowProc(message, wParam, lParam);
            if (r == -1)
                return r;
            if (!m_font.m_hObject)
                m_font.CreatePointFont(80, "MS Sans Serif");
            ::SendMessage(m_hWnd, WM_SETFONT, (WPARAM)(HFONT)m_font, FALSE);
            SetPadding(SIZE{12, 4});
            return r;
        }
        case WM_LBUTTONDOWN:
            m_ptDown = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            break;
        case WM_MOUSEMOVE: {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if ((wParam & MK_LBUTTON) && (std::abs(p.x - m_ptDown.x) >= 4 || std::abs(p.y - m_ptDown.y) >= 4)) {
                if (TearOff(p))
                    return 0;
            }
            break;
        }
        default:
            break;
    }
    return COXSkinnedTabCtrl::WindowProc(message, wParam, lParam);
}
