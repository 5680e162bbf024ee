#include "guilib/frame/OXSizeDockBar.h"

#include <algorithm>

#include "guilib/frame/OXRectTracker.h"
#include "guilib/frame/OXSizeCtrlBar.h"
#include "guilib/skins/OXDockbarSkin.h"
#include "guilib/skins/OXSkinnedApp.h"
#include "platform/framework/bars/DockContext.h"
#include "platform/framework/bars/RectTracker.h"

IMPLEMENT_DYNAMIC(COXSizeDockBar, CDockBar)

BOOL OXIsSizeBar(const CControlBar* bar) {
    return bar && dynamic_cast<const COXSizeControlBar*>(bar) != nullptr;
}

namespace {
bool Shown(CControlBar* bar) {
    return bar && bar->m_hWnd && ::IsWindow(bar->m_hWnd) && bar->IsVisible();
}
}  // namespace

COXSizeDockBar::COXSizeDockBar() : CDockBar(FALSE) {}

COXSizeDockBar::~COXSizeDockBar() {
    DeleteSplitters();
}

COXDockbarSkin* COXSizeDockBar::GetDockbarSkin() {
    return OXLookupSkin<COXDockbarSkin, COXDockbarSkinClassic>(&COXSkin::GetDockbarSkin, m_pDockbarSkin);
}

void COXSizeDockBar::DeleteSplitters() {
    for (INT_PTR i = 0; i < m_SplitArr.GetSize(); ++i)
        delete m_SplitArr[i];
    m_SplitArr.RemoveAll();
    m_pSplitCapture = nullptr;
}

void COXSizeDockBar::AddSplitter(int type, const RECT& rect, int pos) {
    auto* s = new COXSplitterRect(type, rect);
    s->m_nPos = pos;
    m_SplitArr.Add(s);
}

int COXSizeDockBar::GetTabAreaHeight() const {
    return m_wndDockTabCtrl.m_hWnd && m_wndDockTabCtrl.GetItemCount() > 0 ? COXDockTabCtrl::kTabAreaHeight : 0;
}

void COXSizeDockBar::PlaceTabStrip() {
    if (!m_hWnd || !m_wndDockTabCtrl.m_hWnd)
        return;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    int height = GetTabAreaHeight();
    ::SetWindowPos(m_wndDockTabCtrl.m_hWnd, HWND_TOP, 0, client.bottom - height, client.right, height,
                   SWP_NOACTIVATE);
}

void COXSizeDockBar::DropStrayTabs() {
    // A bar that left this dock bar, or whose window is gone, loses its tab.
    for (int i = m_wndDockTabCtrl.m_hWnd ? m_wndDockTabCtrl.GetItemCount() - 1 : -1; i >= 0; --i) {
        CControlBar* bar = m_wndDockTabCtrl.GetTabBar(i);
        if (!bar || FindBar(bar) < 0 || !bar->m_hWnd || !::IsWindow(bar->m_hWnd))
            m_wndDockTabCtrl.RemoveTab(bar);
        i = std::min(i, m_wndDockTabCtrl.GetItemCount());
    }
}

BOOL COXSizeDockBar::HoldsSizeBar() const {
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i)
        if (OXIsSizeBar(GetBar(i)))
            return TRUE;
    return FALSE;
}

CFrameWnd* COXSizeDockBar::GetMainFrame() const {
    if (m_pDockSite)
        return m_pDockSite;
    return GetParentFrame();
}

RECT COXSizeDockBar::BarRectInClient(CControlBar* bar) const {
    RECT r;
    ::GetWindowRect(bar->m_hWnd, &r);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

int COXSizeDockBar::RowEnd(int start) const {
    int i = start;
    while (i < m_arrBars.GetSize() && m_arrBars[i])
        ++i;
    return i;
}

COXSizeDockBar::RowStats COXSizeDockBar::GetRowStats(int start) const {
    RowStats st;
    bool prevSizing = false;
    for (int i = start; i < m_arrBars.GetSize() && m_arrBars[i]; ++i) {
        CControlBar* bar = GetBar(i);
        if (!Shown(bar))
            continue;
        RECT r;
        ::GetWindowRect(bar->m_hWnd, &r);
        int length = Length(r);
        int thickness = IsHorzDockBar() ? r.bottom - r.top : r.right - r.left;
        bool sizing = OXIsSizeBar(bar);
        if (sizing) {
            st.sizingLength += length;
            ++st.sizingBars;
            if (prevSizing)
                st.fixedLength += OX_SPLITTER_SIZE;
        } else {
            st.fixedLength += length;
            st.maxFixedThickness = std::max(st.maxFixedThickness, thickness);
        }
        st.maxThickness = std::max(st.maxThickness, thickness);
        ++st.bars;
        MINMAXINFO mmi{};
        ::SendMessage(bar->m_hWnd, WM_GETMINMAXINFO, 0, (LPARAM)&mmi);
        st.minTrack.cx = std::max(st.minTrack.cx, mmi.ptMinTrackSize.x);
        st.minTrack.cy = std::max(st.minTrack.cy, mmi.ptMinTrackSize.y);
        prevSizing = sizing;
    }
    st.totalLength = st.sizingLength + st.fixedLength;
    return st;
}

void COXSizeDockBar::SetRowSizes(int start, int available) {
    RowStats st = GetRowStats(start);
    if (st.sizingBars == 0)
        return;
    int border = IsHorzDockBar() ? ::GetSystemMetrics(SM_CXBORDER) : ::GetSystemMetrics(SM_CYBORDER);
    int free = available - st.fixedLength + border * st.bars;
    int given = 0, seen = 0;
    for (int i = start; i < m_arrBars.GetSize() && m_arrBars[i]; ++i) {
        auto* bar = dynamic_cast<COXSizeControlBar*>(GetBar(i));
        if (!Shown(bar))
            continue;
        ++seen;
        RECT r;
        ::GetWindowRect(bar->m_hWnd, &r);
        int length;
        if (st.sizingLength > 0) {
            length = (int)((long long)Length(r) * free / st.sizingLength);
        } else {
            // No length to share in proportion: equal parts, the remainder to the last.
            length = seen == st.sizingBars ? free - given : free / st.sizingBars;
            given += length;
        }
        length = std::max(length, 0);
        if (IsHorzDockBar())
            bar->m_HorzDockSize = SIZE{length, st.maxThickness};
        else
            bar->m_VertDockSize = SIZE{st.maxThickness, length};
        if (!m_bLayoutQuery) {
            SIZE s = IsHorzDockBar() ? bar->m_HorzDockSize : bar->m_VertDockSize;
            ::SetWindowPos(bar->m_hWnd, nullptr, 0, 0, s.cx, s.cy,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        }
    }
}

unsigned COXSizeDockBar::CalcRowSignature() const {
    uint32_t value = 0, visible = 0;
    for (INT_PTR i = 1; i < m_arrBars.GetSize(); ++i) {
        if (!m_arrBars[i]) {
            value *= 2;
            continue;
        }
        CControlBar* bar = GetBar(i);
        if (!Shown(bar))
            continue;
        ++visible;
        value += 1;
        if (OXIsSizeBar(bar))
            value += (uint32_t)i;
    }
    return (value << 8) | (visible & 0xFF);
}

SIZE COXSizeDockBar::CalcFixedLayout(BOOL stretch, BOOL horz) {
    if (m_arrBars.GetSize() < 2)
        return CDockBar::CalcFixedLayout(stretch, horz);
    DeleteSplitters();
    if (!m_bLayoutQuery) {
        // Delayed shows and hides of the docked bars take effect with this layout.
        for (INT_PTR k = 0; k < m_arrBars.GetSize(); ++k) {
            CControlBar* bar = GetBar(k);
            if (!bar || !bar->m_hWnd || !(bar->m_nStateFlags & (CControlBar::delayHide | CControlBar::delayShow)))
                continue;
            bool show = (bar->m_nStateFlags & CControlBar::delayShow) != 0;
            bar->m_nStateFlags &= ~(CControlBar::delayHide | CControlBar::delayShow);
            ::ShowWindow(bar->m_hWnd, show ? SW_SHOWNA : SW_HIDE);
        }
    }
    const bool alongX = IsHorzDockBar();
    const bool before = (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT)) != 0;  // top or left
    RECT avail = m_rectLayout;
    if (IsRectEmpty(&avail) && GetParent())
        ::GetClientRect(GetParent()->m_hWnd, &avail);
    const int length = alongX ? avail.right - avail.left : avail.bottom - avail.top - GetTabAreaHeight();
    const int rowKind = alongX ? 2 : 1, inRowKind = alongX ? 1 : 2;

    int cross = 0, longest = 0;
    bool prevRowSizing = false, lastRowSizing = false;
    std::vector<int> rowSplitters;
    INT_PTR i = 1;
    while (i < m_arrBars.GetSize()) {
        int start = (int)i, end = RowEnd(start);
        RowStats st = GetRowStats(start);
        if (st.bars == 0) {
            i = end + 1;
            continue;
        }
        if ((before && prevRowSizing) || (!before && st.sizingBars > 0)) {
            RECT r = alongX ? RECT{0, cross, length, cross + OX_SPLITTER_SIZE}
                            : RECT{cross, 0, cross + OX_SPLITTER_SIZE, length};
            AddSplitter(rowKind, r, before ? start - 1 : start);
            rowSplitters.push_back((int)m_SplitArr.GetSize() - 1);
            cross += OX_SPLITTER_SIZE;
        }
        int firstInRow = (int)m_SplitArr.GetSize();
        int pos = 0, thickness = 0;
        bool prevSizing = false, anySizing = st.sizingBars > 0, prevWasSizing = false;
        for (int k = start; k < end; ++k) {
            CControlBar* bar = GetBar(k);
            if (!Shown(bar))
                continue;
            bool sizing = OXIsSizeBar(bar);
            if (sizing && prevSizing) {
                RECT r = alongX ? RECT{pos, cross, pos + OX_SPLITTER_SIZE, cross}
                                : RECT{cross, pos, cross, pos + OX_SPLITTER_SIZE};
                AddSplitter(inRowKind, r, k);
                pos += OX_SPLITTER_SIZE;
            }
            DWORD mode = alongX ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK;
            SIZE size = bar->CalcDynamicLayout(-1, mode);
            int barLength = alongX ? size.cx : size.cy;
            if (!sizing) {
                RECT now = BarRectInClient(bar);
                int wanted = alongX ? now.left : now.top;
                if (wanted > pos && !prevWasSizing && !anySizing)
                    pos = wanted;
                if (pos + barLength > length)
                    pos = std::max(pos - (pos + barLength - length), 0);
            }
            RECT place = alongX ? RECT{pos, cross, pos + size.cx, cross + size.cy}
                                : RECT{cross, pos, cross + size.cx, cross + size.cy + pos - cross};
            if (!alongX)
                place = RECT{cross, pos, cross + size.cx, pos + size.cy};
            if (!m_bLayoutQuery) {
                RECT old = BarRectInClient(bar);
                if (!EqualRect(&old, &place))
                    ::SetWindowPos(bar->m_hWnd, nullptr, place.left, place.top, size.cx, size.cy,
                                   SWP_NOZORDER | SWP_NOACTIVATE);
                if (bar->m_pDockContext) {
                    RECT screen = place;
                    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&screen), 2);
                    bar->m_pDockContext->m_rectMRUDockPos = place;
                    bar->m_pDockContext->m_uMRUDockID = (UINT)GetDlgCtrlID();
                }
            }
            pos += barLength;
            thickness = std::max(thickness, (int)(alongX ? size.cy : size.cx));
            prevSizing = sizing;
            prevWasSizing = sizing;
        }
        // The in-row splitters span the row's thickness.
        for (INT_PTR s = firstInRow; s < m_SplitArr.GetSize(); ++s) {
            auto* sp = static_cast<COXSplitterRect*>(m_SplitArr[s]);
            if (alongX)
                sp->m_rect.bottom = cross + thickness;
            else
                sp->m_rect.right = cross + thickness;
        }
        longest = std::max(longest, pos);
        cross += thickness;
        prevRowSizing = lastRowSizing = st.sizingBars > 0;
        i = end + 1;
    }
    if (lastRowSizing && before) {
        RECT r = alongX ? RECT{0, cross, length, cross + OX_SPLITTER_SIZE}
                        : RECT{cross, 0, cross + OX_SPLITTER_SIZE, length};
        AddSplitter(rowKind, r, (int)m_arrBars.GetSize() - 1);
        // The left dock bar grows by one pixel less than the top one.
        cross += alongX ? OX_SPLITTER_SIZE : OX_SPLITTER_SIZE - 1;
    }
    SIZE size = alongX ? SIZE{stretch ? 32767 : longest, cross} : SIZE{cross, stretch ? 32767 : longest};
    RECT inside{0, 0, 0, 0};
    CalcInsideRect(inside, alongX);
    size.cx -= inside.right - inside.left;
    size.cy -= inside.bottom - inside.top;
    size.cy += GetTabAreaHeight();
    return SIZE{std::min<LONG>(size.cx, 32767), std::min<LONG>(size.cy, 32767)};
}

void COXSizeDockBar::OnSizeParentPass(AFX_SIZEPARENTPARAMS* layout) {
    int width = layout->rect.right - layout->rect.left, height = layout->rect.bottom - layout->rect.top;
    bool lengthChanged = IsHorzDockBar() ? width != m_LastWidth : height != m_LastHeight;
    m_LastWidth = width;
    m_LastHeight = height;
    int available = IsHorzDockBar() ? width : height - GetTabAreaHeight();
    DropStrayTabs();
    // Bars shown since the last pass keep their length; the others of their row make room.
    for (int start = 1; start < m_arrBars.GetSize();) {
        int end = RowEnd(start);
        int newLength = 0;
        bool any = false;
        for (int k = start; k < end; ++k) {
            CControlBar* bar = GetBar(k);
            if (!Shown(bar))
                continue;
            for (INT_PTR h = 0; h < m_arrHiddenBars.GetSize(); ++h)
                if (m_arrHiddenBars[h] == bar) {
                    RECT r;
                    ::GetWindowRect(bar->m_hWnd, &r);
                    newLength += Length(r);
                    any = true;
                }
        }
        if (any) {
            RowStats st = GetRowStats(start);
            SetRowSizes(start, std::max(0, st.totalLength - newLength));
        }
        start = end + 1;
    }
    m_arrHiddenBars.RemoveAll();
    for (INT_PTR k = 0; k < m_arrBars.GetSize(); ++k)
        if (CControlBar* bar = GetBar(k); bar && bar->m_hWnd && !bar->IsVisible())
            m_arrHiddenBars.Add(bar);
    unsigned signature = CalcRowSignature();
    if (lengthChanged || signature != m_CountBars) {
        m_bLayoutQuery = layout->hDWP == nullptr;
        for (int start = 1; start < m_arrBars.GetSize(); start = RowEnd(start) + 1)
            SetRowSizes(start, available);
        m_bLayoutQuery = FALSE;
        m_CountBars = signature;
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    }
}

void COXSizeDockBar::MakeRoomInRow(COXSizeControlBar* bar) {
    INT_PTR pos = FindBar(bar);
    if (pos <= 0)
        return;
    int start = (int)pos;
    while (start > 1 && m_arrBars[start - 1])
        --start;
    RowStats st = GetRowStats(start);
    RECT r;
    ::GetWindowRect(bar->m_hWnd, &r);
    int own = Length(r) + (st.sizingBars > 1 ? OX_SPLITTER_SIZE : 0);
    // Share the others' length less the dropped bar's: the bar itself keeps its own length.
    int othersTotal = st.totalLength - Length(r);
    BOOL wasVisible = bar->IsVisible();
    ::ShowWindow(bar->m_hWnd, SW_HIDE);
    SetRowSizes(start, std::max(0, othersTotal - own));
    if (wasVisible)
        ::ShowWindow(bar->m_hWnd, SW_SHOWNA);
    ResetRowSignature();
}

int COXSizeDockBar::CountBarsInRow(COXSizeControlBar* bar, const RECT& rect) {
    POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    for (int start = 1; start < m_arrBars.GetSize(); start = RowEnd(start) + 1) {
        int end = RowEnd(start);
        bool inRow = false;
        int others = 0;
        for (int k = start; k < end; ++k) {
            CControlBar* b = GetBar(k);
            if (!Shown(b))
                continue;
            RECT r;
            ::GetWindowRect(b->m_hWnd, &r);
            bool hit = IsHorzDockBar() ? centre.y >= r.top && centre.y < r.bottom
                                       : centre.x >= r.left && centre.x < r.right;
            if (hit)
                inRow = true;
            if (b != bar)
                ++others;
        }
        if (inRow)
            return others;
    }
    return 0;
}

int COXSizeDockBar::CountStackedBars(COXSizeControlBar* bar) {
    RECT mine;
    ::GetWindowRect(bar->m_hWnd, &mine);
    int n = 1;
    for (INT_PTR k = 0; k < m_arrBars.GetSize(); ++k) {
        CControlBar* b = GetBar(k);
        if (b == bar || !OXIsSizeBar(b) || !Shown(b))
            continue;
        RECT r;
        ::GetWindowRect(b->m_hWnd, &r);
        if (IsHorzDockBar() ? r.top == mine.top : std::abs(r.left - mine.left) < 5)
            ++n;
    }
    return n;
}

int COXSizeDockBar::CountSizeBarsExcept(CControlBar* bar) {
    int n = 0;
    for (INT_PTR k = 0; k < m_arrBars.GetSize(); ++k)
        if (CControlBar* b = GetBar(k); b != bar && OXIsSizeBar(b))
            ++n;
    return n;
}

int COXSizeDockBar::CountVisibleSizeBarsExcept(CControlBar* bar) {
    int n = 0;
    for (INT_PTR k = 0; k < m_arrBars.GetSize(); ++k)
        if (CControlBar* b = GetBar(k); b != bar && OXIsSizeBar(b) && Shown(b))
            ++n;
    return n;
}

COXSizeControlBar* COXSizeDockBar::FindOtherSizeBar(CControlBar* bar) {
    for (INT_PTR k = 0; k < m_arrBars.GetSize(); ++k)
        if (CControlBar* b = GetBar(k); b != bar && OXIsSizeBar(b))
            return static_cast<COXSizeControlBar*>(b);
    return nullptr;
}

void COXSizeDockBar::MaximizeInRow(COXSizeControlBar* bar, BOOL maximize) {
    RECT rect;
    ::GetWindowRect(bar->m_hWnd, &rect);
    POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    int rowStart = -1;
    for (int start = 1; start < m_arrBars.GetSize() && rowStart < 0; start = RowEnd(start) + 1)
        for (int k = start; k < RowEnd(start); ++k)
            if (GetBar(k) == bar)
                rowStart = start;
    (void)centre;
    if (rowStart < 0)
        return;
    int end = RowEnd(rowStart);
    auto docked = [&](COXSizeControlBar* b) -> SIZE& {
        return IsHorzDockBar() ? b->m_HorzDockSize : b->m_VertDockSize;
    };
    auto len = [&](const SIZE& s) { return IsHorzDockBar() ? s.cx : s.cy; };
    auto setLen = [&](SIZE& s, int v) { (IsHorzDockBar() ? s.cx : s.cy) = v; };
    if (maximize) {
        bool already = false;
        for (int k = rowStart; k < end; ++k)
            if (auto* b = dynamic_cast<COXSizeControlBar*>(GetBar(k)); b && b != bar && b->m_bMaximized)
                already = true;
        int gained = 0;
        for (int k = rowStart; k < end; ++k) {
            auto* b = dynamic_cast<COXSizeControlBar*>(GetBar(k));
            if (!b || !Shown(b))
                continue;
            RECT r;
            ::GetWindowRect(b->m_hWnd, &r);
            SIZE now{r.right - r.left, r.bottom - r.top};
            docked(b) = now;
            if (!already)
                b->m_SavedDockSize = now;
            if (b != bar) {
                gained += std::max(0, len(now) - 21);
                setLen(docked(b), 21);
                b->m_bMaximized = FALSE;
            }
        }
        setLen(docked(bar), len(docked(bar)) + gained);
    } else {
        for (int k = rowStart; k < end; ++k)
            if (auto* b = dynamic_cast<COXSizeControlBar*>(GetBar(k)); b && Shown(b)) {
                docked(b) = b->m_SavedDockSize;
                b->m_bMaximized = FALSE;
            }
    }
    for (int k = rowStart; k < end; ++k)
        if (auto* b = dynamic_cast<COXSizeControlBar*>(GetBar(k)); b && Shown(b))
            ::SetWindowPos(b->m_hWnd, nullptr, 0, 0, docked(b).cx, docked(b).cy,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_CountBars = CalcRowSignature();  // no re-share of the rows for this change
    if (CFrameWnd* frame = GetMainFrame())
        frame->RecalcLayout();
    bar->m_bMaximized = maximize;
}

void COXSizeDockBar::DockControlBar(CControlBar* bar, const RECT* rect) {
    if (!bar || !bar->m_hWnd)
        return;
    if (OXIsSizeBar(bar)) {
        // Leaving another sizing dock bar takes the bar's tab there away.
        if (auto* from = dynamic_cast<COXSizeDockBar*>(bar->m_pDockBar); from && from != this)
            from->m_wndDockTabCtrl.RemoveTab(bar);
        if (rect) {
            // Dropped on the strip's band: the bar joins the stack there or its tab moves.
            int tab = m_wndDockTabCtrl.HitTestTabs(rect->left, rect->top, bar);
            int own = m_wndDockTabCtrl.FindTab(bar);
            if (tab >= 0 && own >= 0)
                m_wndDockTabCtrl.RepositionTab(own, tab, rect->left, rect->top);
            else if (tab >= 0 && (GetTabAreaHeight() > 0 || CountVisibleSizeBarsExcept(bar) > 0))
                m_wndDockTabCtrl.InsertTab(bar, tab, TRUE);
            else if (tab < 0 && own >= 0)
                m_wndDockTabCtrl.RemoveTab(bar);
        }
    }
    if (rect && bar->m_pDockBar == this) {
        RECT now;
        ::GetWindowRect(bar->m_hWnd, &now);
        if (EqualRect(&now, rect))
            return;
    }
    RECT drop{};
    if (rect) {
        drop = *rect;
        // A drop just before the dock bar's leading edge lands 2 pixels before it.
        RECT window;
        ::GetWindowRect(m_hWnd, &window);
        int& lead = IsHorzDockBar() ? drop.left : drop.top;
        int& trail = IsHorzDockBar() ? drop.right : drop.bottom;
        int edge = IsHorzDockBar() ? window.left : window.top;
        int before = edge - lead;
        if (before >= 3 && before <= 11) {
            trail += before - 2;
            lead = edge - 2;
        }
    }
    CDockBar::DockControlBar(bar, rect ? &drop : nullptr);
}

COXSizeDockBar* COXSizeDockBar::FindDockBarAt(POINT screen, CControlBar* bar) {
    auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    if (!frame || !bar)
        return nullptr;
    static const UINT ids[] = {AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT, AFX_IDW_DOCKBAR_TOP,
                               AFX_IDW_DOCKBAR_BOTTOM};
    static const DWORD sides[] = {CBRS_ALIGN_LEFT, CBRS_ALIGN_RIGHT, CBRS_ALIGN_TOP, CBRS_ALIGN_BOTTOM};
    for (int pass = 0; pass < 2; ++pass) {
        for (int k = 0; k < 4; ++k) {
            auto* dockBar = dynamic_cast<COXSizeDockBar*>(frame->GetControlBar(ids[k]));
            if (!dockBar || !(bar->m_dwDockStyle & sides[k]))
                continue;
            RECT r;
            ::GetWindowRect(dockBar->m_hWnd, &r);
            if (pass == 1) {
                InflateRect(&r, 20, 20);
                if (k < 2)
                    r.bottom -= 28;
            }
            // A dock bar with a tab stack takes bars only on its tab band.
            if (PtInRect(&r, screen) &&
                (dockBar->GetTabAreaHeight() == 0 || dockBar->m_wndDockTabCtrl.HitTestTabs(screen.x, screen.y, bar) >= 0))
                return dockBar;
        }
    }
    return nullptr;
}

COXSplitterRect* COXSizeDockBar::HitSplitter(POINT client) const {
    for (INT_PTR i = m_SplitArr.GetSize() - 1; i >= 0; --i) {
        auto* s = static_cast<COXSplitterRect*>(m_SplitArr[i]);
        if (PtInRect(&s->m_rect, client))
            return s;
    }
    return nullptr;
}

void COXSizeDockBar::TrackSplitter(COXSplitterRect* splitter, POINT client) {
    const bool alongX = IsHorzDockBar();
    const bool before = (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT)) != 0;
    // Row splitters move across the dock bar; in-row splitters move along it.
    const bool rowSplitter = splitter->m_type == (alongX ? 2 : 1);
    const bool movesX = splitter->m_type == 1;
    COXRectTracker tracker;
    tracker.m_rect = splitter->m_rect;
    tracker.m_nStyle = movesX ? COXRectTracker::lockVertical : COXRectTracker::lockHorizontal;
    RECT limit{};
    CFrameWnd* frame = GetMainFrame();
    RECT frameClient{};
    if (frame) {
        ::GetClientRect(frame->m_hWnd, &frameClient);
        ::MapWindowPoints(frame->m_hWnd, m_hWnd, reinterpret_cast<POINT*>(&frameClient), 2);
    }
    int rowStart = 1;
    if (rowSplitter) {
        // The row beside it: before it on a top or left dock bar, else after it.
        int pos = splitter->m_nPos;
        if (before) {
            rowStart = pos;
            while (rowStart > 1 && m_arrBars[rowStart - 1])
                --rowStart;
            if (!m_arrBars[rowStart] && rowStart > 1) {
                rowStart = pos - 1;
                while (rowStart > 1 && m_arrBars[rowStart - 1])
                    --rowStart;
            }
        } else {
            rowStart = pos;
        }
        RowStats st = GetRowStats(rowStart);
        int minThick = std::max<int>(st.maxFixedThickness, alongX ? st.minTrack.cy : st.minTrack.cx);
        limit = frameClient;
        // Not thinner than the thickest fixed bar or the bars' minimum tracking size.
        RECT rowRect{};
        bool first = true;
        for (int k = rowStart; k < RowEnd(rowStart); ++k)
            if (CControlBar* b = GetBar(k); Shown(b)) {
                RECT r = BarRectInClient(b);
                if (first)
                    rowRect = r, first = false;
                else
                    UnionRect(&rowRect, &rowRect, &r);
            }
        if (alongX) {
            if (before)
                limit.top = std::max<int>(limit.top, rowRect.top + minThick);
            else
                limit.bottom = std::min<int>(limit.bottom, rowRect.bottom - minThick + OX_SPLITTER_SIZE);
        } else {
            if (before)
                limit.left = std::max<int>(limit.left, rowRect.left + minThick);
            else
                limit.right = std::min<int>(limit.right, rowRect.right - minThick);
        }
        tracker.m_rectLimit = limit;
        if (!tracker.TrackRect(movesX ? HTLEFT : HTTOP, this, client, this))
            return;
        int moved = movesX ? tracker.m_rect.left - splitter->m_rect.left : tracker.m_rect.top - splitter->m_rect.top;
        if (before)
            moved = -moved;
        int thickness = std::max(st.maxThickness - moved, st.maxFixedThickness);
        for (int k = rowStart; k < RowEnd(rowStart); ++k)
            if (auto* b = dynamic_cast<COXSizeControlBar*>(GetBar(k)); b && Shown(b)) {
                if (alongX)
                    b->m_HorzDockSize.cy = thickness;
                else
                    b->m_VertDockSize.cx = thickness;
                RECT r;
                ::GetWindowRect(b->m_hWnd, &r);
                ::SetWindowPos(b->m_hWnd, nullptr, 0, 0, alongX ? r.right - r.left : thickness,
                               alongX ? thickness : r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
    } else {
        // In-row: the bars before it (down to the row start) and after it (to the row end).
        int pos = splitter->m_nPos;
        rowStart = pos;
        while (rowStart > 1 && m_arrBars[rowStart - 1])
            --rowStart;
        int end = RowEnd(rowStart);
        std::vector<COXSizeControlBar*> beforeBars, afterBars;
        for (int k = pos - 1; k >= rowStart; --k)
            if (auto* b = dynamic_cast<COXSizeControlBar*>(GetBar(k)); b && Shown(b))
                beforeBars.push_back(b);
        for (int k = pos; k < end; ++k)
            if (auto* b = dynamic_cast<COXSizeControlBar*>(GetBar(k)); b && Shown(b))
                afterBars.push_back(b);
        if (beforeBars.size() + afterBars.size() < 2 || beforeBars.empty() || afterBars.empty())
            return;
        auto lengthOf = [&](COXSizeControlBar* b) {
            RECT r;
            ::GetWindowRect(b->m_hWnd, &r);
            return Length(r);
        };
        int giveBefore = 0, giveAfter = 0;
        for (auto* b : beforeBars)
            giveBefore += lengthOf(b);
        for (auto* b : afterBars)
            giveAfter += lengthOf(b);
        RowStats st = GetRowStats(rowStart);
        int rowLength = alongX ? m_LastWidth : m_LastHeight;
        int emptyAtEnd = std::max(0, rowLength - st.totalLength);
        giveAfter = std::min(giveAfter, 16000) + emptyAtEnd;
        int start = alongX ? splitter->m_rect.left : splitter->m_rect.top;
        limit = alongX ? RECT{start - giveBefore, -32000, start + giveAfter + 1, 32000}
                       : RECT{-32000, start - giveBefore, 32000, start + giveAfter + 10};
        tracker.m_rectLimit = limit;
        if (!tracker.TrackRect(movesX ? HTLEFT : HTTOP, this, client, this))
            return;
        int moved = (alongX ? tracker.m_rect.left : tracker.m_rect.top) - start;
        auto& givers = moved > 0 ? afterBars : beforeBars;
        auto* taker = moved > 0 ? beforeBars.front() : afterBars.front();
        int distance = std::abs(moved), given = 0;
        for (auto* b : givers) {
            if (given >= distance)
                break;
            int l = lengthOf(b);
            int give = std::min(l, distance - given);
            given += give;
            SIZE& s = alongX ? b->m_HorzDockSize : b->m_VertDockSize;
            RECT r;
            ::GetWindowRect(b->m_hWnd, &r);
            s = SIZE{r.right - r.left, r.bottom - r.top};
            (alongX ? s.cx : s.cy) = l - give;
            ::SetWindowPos(b->m_hWnd, nullptr, 0, 0, s.cx, s.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        SIZE& s = alongX ? taker->m_HorzDockSize : taker->m_VertDockSize;
        RECT r;
        ::GetWindowRect(taker->m_hWnd, &r);
        s = SIZE{r.right - r.left, r.bottom - r.top};
        (alongX ? s.cx : s.cy) += given;
        ::SetWindowPos(taker->m_hWnd, nullptr, 0, 0, s.cx, s.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_CountBars = CalcRowSignature();
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    if (frame)
        frame->RecalcLayout();
}

LRESULT COXSizeDockBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            LRESULT r = CDockBar::WindowProc(message, wParam, lParam);
            if (r != -1 && !m_bFloating)
                m_wndDockTabCtrl.Create(WS_CHILD | WS_VISIBLE | TCS_BOTTOM | TCS_FOCUSNEVER, RECT{0, 0, 0, 0}, this,
                                        kTabCtrlId);
            return r;
        }
        case WM_SIZE: {
            LRESULT r = CDockBar::WindowProc(message, wParam, lParam);
            PlaceTabStrip();
            return r;
        }
        case WM_SIZEPARENT:
            OnSizeParentPass(reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam));
            break;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC hdc = ::BeginPaint(m_hWnd, &ps);
            CDC dc;
            dc.Attach(hdc);
            COXDockbarSkin* skin = GetDockbarSkin();
            for (INT_PTR i = m_SplitArr.GetSize() - 1; i >= 0; --i) {
                auto* s = static_cast<COXSplitterRect*>(m_SplitArr[i]);
                skin->DrawSplitter(&dc, OXSplitter{s->m_rect, s->m_type}, this);
            }
            dc.Detach();
            ::EndPaint(m_hWnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND: {
            CDC dc;
            dc.Attach((HDC)wParam);
            GetDockbarSkin()->EraseDockBarBackground(&dc, this);
            dc.Detach();
            return 1;
        }
        case WM_SETCURSOR:
            if ((HWND)wParam == m_hWnd && LOWORD(lParam) == HTCLIENT)
                return TRUE;  // the cursor of the last mouse move stays
            break;
        case WM_MOUSEMOVE: {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            COXSplitterRect* s = HitSplitter(p);
            // The library's splitter cursors, or the system's sizing cursors when they are missing.
            if (!m_hcurSizeWE && !(m_hcurSizeWE = ::LoadCursor(nullptr, MAKEINTRESOURCE(IDC_OX_SPLITTER_WE))))
                m_hcurSizeWE = ::LoadCursor(nullptr, IDC_SIZEWE);
            if (!m_hcurSizeNS && !(m_hcurSizeNS = ::LoadCursor(nullptr, MAKEINTRESOURCE(IDC_OX_SPLITTER_NS))))
                m_hcurSizeNS = ::LoadCursor(nullptr, IDC_SIZENS);
            ::SetCursor(!s ? ::LoadCursor(nullptr, IDC_ARROW) : s->m_type == 1 ? m_hcurSizeWE : m_hcurSizeNS);
            return 0;
        }
        case WM_LBUTTONDOWN: {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (COXSplitterRect* s = HitSplitter(p)) {
                m_pSplitCapture = s;
                COXSplitterRect copy = *s;
                TrackSplitter(&copy, p);
                m_pSplitCapture = nullptr;
                return 0;
            }
            break;
        }
        case WM_DESTROY:
            DeleteSplitters();
            break;
        default:
            break;
    }
    return CDockBar::WindowProc(message, wParam, lParam);
}
