#include "platform/framework/bars/DockBar.h"

#include <algorithm>
#include <vector>

#include "platform/framework/bars/DockContext.h"
#include "platform/framework/bars/DockState.h"

IMPLEMENT_DYNAMIC(CDockBar, CControlBar)

CDockBar::CDockBar(BOOL floating) : m_bFloating(floating) {
    m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
    m_cxDefaultGap = 0;
    m_arrBars.Add(nullptr);
}

BOOL CDockBar::Create(CWnd* parent, DWORD style, UINT id) {
    m_dwStyle = style & CBRS_ALL;
    if (m_bFloating)
        m_dwStyle |= CBRS_FLOATING;
    RECT rc{0, 0, 0, 0};
    DWORD windowStyle = (style & ~CBRS_ALL) | WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    return CWnd::CreateEx(0, AfxWndClassName(), nullptr, windowStyle, rc, parent, id);
}

CControlBar* CDockBar::GetBar(INT_PTR index) const {
    if (index < 0 || index >= m_arrBars.GetSize())
        return nullptr;
    void* p = m_arrBars[index];
    return p && !IsPlaceholder(p) ? static_cast<CControlBar*>(p) : nullptr;
}

int CDockBar::GetDockedCount() const {
    int n = 0;
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i)
        n += GetBar(i) != nullptr;
    return n;
}

int CDockBar::GetDockedVisibleCount() const {
    int n = 0;
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i)
        if (CControlBar* bar = GetBar(i); bar && bar->IsVisible())
            ++n;
    return n;
}

INT_PTR CDockBar::FindBar(const void* entry, INT_PTR exclude) const {
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i)
        if (i != exclude && m_arrBars[i] == entry)
            return i;
    return -1;
}

void CDockBar::RemoveEmptyRows() {
    // Exactly one null before the first row and after each row.
    for (INT_PTR i = m_arrBars.GetSize() - 1; i > 0; --i)
        if (!m_arrBars[i] && !m_arrBars[i - 1])
            m_arrBars.RemoveAt(i);
    if (m_arrBars.GetSize() == 0 || m_arrBars[0])
        m_arrBars.InsertAt(0, nullptr);
    if (m_arrBars[m_arrBars.GetSize() - 1])
        m_arrBars.Add(nullptr);
}

INT_PTR CDockBar::Insert(CControlBar* bar, const RECT& rect) {
    bool horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    int cross = horz ? rect.top : rect.left;
    int along = horz ? rect.left : rect.top;
    // Each row's extent across the bar, from its bars' windows.
    INT_PTR rowStart = 1;
    for (INT_PTR i = 1; i < m_arrBars.GetSize(); ++i) {
        if (m_arrBars[i])
            continue;
        int lo = INT32_MAX, hi = INT32_MIN;
        for (INT_PTR k = rowStart; k < i; ++k) {
            CControlBar* b = GetBar(k);
            if (!b || b == bar || !b->IsVisible())
                continue;
            RECT r;
            ::GetWindowRect(b->m_hWnd, &r);
            ::ScreenToClient(m_hWnd, reinterpret_cast<POINT*>(&r));
            ::ScreenToClient(m_hWnd, reinterpret_cast<POINT*>(&r) + 1);
            lo = std::min<int>(lo, horz ? r.top : r.left);
            hi = std::max<int>(hi, horz ? r.bottom : r.right);
        }
        if (lo != INT32_MAX && cross < lo) {
            // Before this row: a row of its own.
            m_arrBars.InsertAt(rowStart, nullptr);
            m_arrBars.InsertAt(rowStart, bar);
            return rowStart;
        }
        if (lo != INT32_MAX && cross < hi) {
            // In this row, in order along it.
            INT_PTR at = rowStart;
            while (at < i) {
                CControlBar* b = GetBar(at);
                if (b && b != bar && b->IsVisible()) {
                    RECT r;
                    ::GetWindowRect(b->m_hWnd, &r);
                    ::ScreenToClient(m_hWnd, reinterpret_cast<POINT*>(&r));
                    if (along < (horz ? r.left : r.top))
                        break;
                }
                ++at;
            }
            m_arrBars.InsertAt(at, bar);
            return at;
        }
        rowStart = i + 1;
    }
    // After the last row.
    m_arrBars.Add(bar);
    m_arrBars.Add(nullptr);
    return m_arrBars.GetSize() - 2;
}

void CDockBar::DockControlBar(CControlBar* bar, const RECT* rect) {
    if (!bar || !bar->m_hWnd)
        return;
    RECT client{};
    if (rect) {
        client = *rect;
        ::ScreenToClient(m_hWnd, reinterpret_cast<POINT*>(&client));
        ::ScreenToClient(m_hWnd, reinterpret_cast<POINT*>(&client) + 1);
    }
    CDockBar* old = bar->m_pDockBar;
    if (old == this && !rect)
        return;
    INT_PTR oldPos = old == this ? FindBar(bar) : -1;
    UINT id = (UINT)bar->GetDlgCtrlID();
    INT_PTR pos;
    if (rect) {
        pos = Insert(bar, client);
        if (oldPos >= pos)
            ++oldPos;
    } else if (id && (pos = FindBar(Placeholder(id))) > 0) {
        m_arrBars[pos] = bar;  // the place it had
    } else {
        m_arrBars.Add(bar);
        m_arrBars.Add(nullptr);
        pos = m_arrBars.GetSize() - 2;
    }
    // A placeholder of the bar elsewhere in this dock bar goes.
    for (INT_PTR i = m_arrBars.GetSize() - 1; id && i > 0; --i)
        if (m_arrBars[i] == Placeholder(id))
            m_arrBars.RemoveAt(i);

    // The bar takes this side's orientation and floating state.
    DWORD style = (bar->m_dwStyle & ~(CBRS_ALIGN_ANY | CBRS_FLOATING)) | (m_dwStyle & CBRS_ALIGN_ANY);
    if (m_bFloating) {
        style |= CBRS_FLOATING;
        TakeFloatingStyleOf(bar);
    }
    bar->SetBarStyle(style);

    // Moved into this bar first, so a floating frame it leaves never takes it along.
    bool visible = (bar->GetStyle() & WS_VISIBLE) != 0;
    if (::GetParent(bar->m_hWnd) != m_hWnd) {
        if (visible)
            ::ShowWindow(bar->m_hWnd, SW_HIDE);
        ::SetParent(bar->m_hWnd, m_hWnd);
    }
    RECT now;
    ::GetWindowRect(bar->m_hWnd, &now);
    int x = rect ? client.left : 0, y = rect ? client.top : 0;
    ::SetWindowPos(bar->m_hWnd, nullptr, x, y, now.right - now.left, now.bottom - now.top,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    bar->m_pDockBar = this;
    if (old == this) {
        if (oldPos > 0)
            m_arrBars.RemoveAt(oldPos);
    } else if (old && ::IsWindow(old->m_hWnd)) {
        // A bar that floats keeps its place in the side it left.
        old->RemoveControlBar(bar, -1, m_bFloating && !old->m_bFloating ? 1 : 0);
    }
    RemoveEmptyRows();
    if (visible)
        ::ShowWindow(bar->m_hWnd, SW_SHOWNA);
    // A floating frame fits its bars at once (idle time does not reach it); the frame docked in later.
    if (m_bFloating) {
        if (CFrameWnd* frame = GetParentFrame())
            frame->RecalcLayout();
        ShowAll(TRUE);
    }
    if (m_pDockSite)
        m_pDockSite->DelayRecalcLayout();
    (void)pos;
}

void CDockBar::TakeFloatingStyleOf(CControlBar* bar) {
    m_dwStyle = (m_dwStyle & ~CBRS_FLOAT_MULTI) | (bar->m_dwDockStyle & CBRS_FLOAT_MULTI);
    // A frame of one bar shows that bar's title.
    if (!(m_dwStyle & CBRS_FLOAT_MULTI))
        if (CWnd* frame = GetParent())
            frame->SetWindowText(GetWindowTextString(bar->m_hWnd));
}

void CDockBar::ReDockControlBar(CControlBar* bar, const RECT* rect) {
    if (!bar)
        return;
    UINT id = (UINT)bar->GetDlgCtrlID();
    if ((id && FindBar(Placeholder(id)) > 0) || !rect)
        DockControlBar(bar, nullptr);
    else
        DockControlBar(bar, rect);
}

BOOL CDockBar::RemoveControlBar(CControlBar* bar, INT_PTR exclude, int addPlaceholder) {
    INT_PTR pos = FindBar(bar, exclude);
    if (pos <= 0)
        return FALSE;
    UINT id = bar->m_hWnd ? (UINT)bar->GetDlgCtrlID() : 0;
    if (addPlaceholder && id) {
        RemovePlaceholder(id);
        pos = FindBar(bar, exclude);
        m_arrBars[pos] = Placeholder(id);
    } else {
        m_arrBars.RemoveAt(pos);
    }
    RemoveEmptyRows();
    if (m_bFloating) {
        CWnd* frame = GetParent();
        if (GetDockedCount() == 0) {
            if (frame && !m_bDestroying) {
                if (::GetParent(bar->m_hWnd) == m_hWnd)
                    ::PostMessage(frame->m_hWnd, WM_FLOATINGFRAMEEMPTY, 0, 0);  // the bar is going away itself
                else
                    frame->DestroyWindow();
            }
        } else if (GetDockedVisibleCount() == 0) {
            ShowAll(FALSE);
        } else if (CFrameWnd* f = GetParentFrame()) {
            f->RecalcLayout();
        }
    } else if (m_pDockSite) {
        m_pDockSite->DelayRecalcLayout();
    }
    return TRUE;
}

void CDockBar::RemovePlaceholder(UINT id) {
    if (!id)
        return;  // id 0 would be a row's end
    for (INT_PTR i = m_arrBars.GetSize() - 1; i > 0; --i)
        if (m_arrBars[i] == Placeholder(id))
            m_arrBars.RemoveAt(i);
    RemoveEmptyRows();
}

void CDockBar::ShowAll(BOOL show) {
    if (!m_bFloating)
        return;
    CWnd* frame = GetParent();
    if (!frame)
        return;
    if (show && GetDockedVisibleCount() > 0) {
        if (!frame->IsWindowVisible()) {
            if (CFrameWnd* f = GetParentFrame())
                f->RecalcLayout();
            ::ShowWindow(frame->m_hWnd, SW_SHOWNA);
        }
    } else if (!show && GetDockedVisibleCount() == 0) {
        ::ShowWindow(frame->m_hWnd, SW_HIDE);
    }
}

SIZE CDockBar::CalcFixedLayout(BOOL stretch, BOOL horz) {
    (void)horz;
    bool alongX = m_bFloating ? true : (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    RECT avail = m_rectLayout;
    if (IsRectEmpty(&avail) && GetParent())
        ::GetClientRect(GetParent()->m_hWnd, &avail);
    int length = alongX ? avail.right - avail.left : avail.bottom - avail.top;

    // Row by row: each bar at its own place along the row when that lies further on (where it was
    // dropped), not past the row's end, after the bar before it.
    int cross = 0, longest = 0;
    INT_PTR i = 1;
    while (i < m_arrBars.GetSize()) {
        int pos = 0, thickness = 0;
        for (; i < m_arrBars.GetSize() && m_arrBars[i]; ++i) {
            CControlBar* bar = GetBar(i);
            if (!bar || !bar->IsVisible())
                continue;
            DWORD mode = m_bFloating ? (LM_HORZ | LM_MRUWIDTH) : alongX ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK;
            if (m_bFloating && !(bar->m_dwStyle & CBRS_SIZE_DYNAMIC))
                mode = (bar->m_dwStyle & CBRS_ORIENT_HORZ) ? LM_HORZ : 0;
            SIZE size = bar->CalcDynamicLayout(-1, mode);
            int barLength = alongX ? size.cx : size.cy;
            RECT now;
            ::GetWindowRect(bar->m_hWnd, &now);
            ::ScreenToClient(m_hWnd, reinterpret_cast<POINT*>(&now));
            int wanted = alongX ? now.left : now.top;
            if (!m_bFloating) {
                if (wanted > pos)
                    pos = wanted;
                if (pos + barLength > length)
                    pos = std::max(pos - (pos + barLength - length), 0);
                pos = std::max(pos, 0);
            }
            RECT place = alongX ? RECT{pos, cross, pos + size.cx, cross + size.cy}
                                : RECT{cross, pos, cross + size.cx, pos + size.cy};
            if (!m_bLayoutQuery) {
                RECT old;
                ::GetWindowRect(bar->m_hWnd, &old);
                ::ScreenToClient(m_hWnd, reinterpret_cast<POINT*>(&old));
                ::ScreenToClient(m_hWnd, reinterpret_cast<POINT*>(&old) + 1);
                if (!EqualRect(&old, &place))
                    ::SetWindowPos(bar->m_hWnd, nullptr, place.left, place.top, size.cx, size.cy,
                                   SWP_NOZORDER | SWP_NOACTIVATE);
                if (bar->m_pDockContext && !m_bFloating) {
                    bar->m_pDockContext->m_rectMRUDockPos = place;
                    bar->m_pDockContext->m_uMRUDockID = (UINT)GetDlgCtrlID();
                }
            }
            pos += barLength;
            thickness = std::max(thickness, (int)(alongX ? size.cy : size.cx));
            longest = std::max(longest, pos);
        }
        cross += thickness;
        ++i;  // the row's end
    }
    SIZE size = alongX ? SIZE{stretch ? 32767 : longest, cross} : SIZE{cross, stretch ? 32767 : longest};
    RECT inside{0, 0, 0, 0};
    CalcInsideRect(inside, alongX);
    size.cx -= inside.right - inside.left;
    size.cy -= inside.bottom - inside.top;
    return SIZE{std::min<LONG>(size.cx, 32767), std::min<LONG>(size.cy, 32767)};
}

void CDockBar::GetBarInfo(CControlBarInfo* info) {
    CControlBar::GetBarInfo(info);
    info->m_bFloating = m_bFloating;
    info->m_bVisible = TRUE;
    if (m_bFloating) {
        // A floating dock bar is kept as its frame's place and visibility.
        if (CWnd* frame = GetParent()) {
            RECT rc;
            ::GetWindowRect(frame->m_hWnd, &rc);
            info->m_pointPos = POINT{rc.left, rc.top};
            info->m_bVisible = frame->IsWindowVisible();
        }
        info->m_bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    }
    info->m_arrBarID.clear();
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i) {
        void* p = m_arrBars[i];
        if (!p)
            info->m_arrBarID.push_back(0);
        else if (IsPlaceholder(p))
            info->m_arrBarID.push_back((UINT)(UINT_PTR)p | CControlBarInfo::kPlaceholderBit);
        else
            info->m_arrBarID.push_back((UINT)static_cast<CControlBar*>(p)->GetDlgCtrlID());
    }
}

LRESULT CDockBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZEPARENT: {
            auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
            m_bLayoutQuery = layout->hDWP == nullptr;
            m_rectLayout = layout->rect;
            LRESULT r = CControlBar::WindowProc(message, wParam, lParam);
            m_bLayoutQuery = FALSE;
            return r;
        }
        case WM_ERASEBKGND: {
            RECT rc;
            ::GetClientRect(m_hWnd, &rc);
            FillRect((HDC)wParam, &rc, GetSysColorBrush(COLOR_3DFACE));
            return 1;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(m_hWnd, &ps);
            DoPaint(dc);
            ::EndPaint(m_hWnd, &ps);
            return 0;
        }
        case WM_DESTROY:
            m_bDestroying = true;
            break;
        default:
            break;
    }
    return CControlBar::WindowProc(message, wParam, lParam);
}
