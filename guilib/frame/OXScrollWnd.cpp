#include "guilib/frame/OXScrollWnd.h"

#include <algorithm>
#include <climits>

#include "platform/framework/app/WinThread.h"
#include "platform/framework/bars/RectTracker.h"
#include "platform/framework/controls/ScrollBar.h"
#include "platform/framework/frames/FrameWnd.h"
#include "platform/base/Clock.h"
#include "platform/base/Sync.h"

IMPLEMENT_DYNAMIC(COXScrollWnd, CWnd)

#ifndef SPI_GETWHEELSCROLLLINES
#define SPI_GETWHEELSCROLLLINES 0x0068
#endif

namespace {
BYTE LowByte(UINT v) {
    return (BYTE)(v & 0xFF);
}
BYTE HighByte(UINT v) {
    return (BYTE)((v >> 8) & 0xFF);
}
UINT Request(BYTE horizontal, BYTE vertical) {
    return (UINT)horizontal | ((UINT)vertical << 8);
}

constexpr int kZooms[] = {10, 25, 50, 100, 200, 300, 400, 500, 600, 700, 800, 900, 1000};

// The extents of a fixed mapping mode: logical units per `device` pixels at 96 dots per inch.
SIZE ModeExtents(int mode, SIZE& viewport) {
    switch (mode) {
        case MM_LOMETRIC:
            viewport = {96, -96};
            return {254, 254};
        case MM_HIMETRIC:
            viewport = {96, -96};
            return {2540, 2540};
        case MM_LOENGLISH:
            viewport = {96, -96};
            return {100, 100};
        case MM_HIENGLISH:
            viewport = {96, -96};
            return {1000, 1000};
        case MM_TWIPS:
            viewport = {96, -96};
            return {1440, 1440};
        default:
            viewport = {1, 1};
            return {1, 1};
    }
}

CString Text(UINT id, const char* fallback) {
    CString s = AfxLoadString(id);
    return s.IsEmpty() ? CString(fallback) : s;
}

UINT WheelLines() {
    static UINT lines = [] {
        UINT n = 0;
        return ::SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &n, 0) ? n : 3u;
    }();
    return lines;
}
}  // namespace

SIZE COXScrollWnd::LogicalToDevice(SIZE logical) const {
    SIZE viewport;
    SIZE window = ModeExtents(m_nMapMode, viewport);
    if (m_nMapMode == MM_ANISOTROPIC || m_nMapMode == MM_ISOTROPIC || m_nMapMode == MM_TEXT || m_nMapMode == 0)
        return SIZE{MulDiv(logical.cx, m_nZoom, 100), MulDiv(logical.cy, m_nZoom, 100)};
    SIZE d{MulDiv(logical.cx, std::abs(viewport.cx) * m_nZoom, window.cx * 100),
           MulDiv(logical.cy, std::abs(viewport.cy) * m_nZoom, window.cy * 100)};
    return d;
}

void COXScrollWnd::ComputeDeviceSizes() {
    m_totalDev = LogicalToDevice(m_totalLog);
    m_pageDev = LogicalToDevice(m_pageLog);
    m_lineDev = LogicalToDevice(m_lineLog);
    if (m_nMapMode != MM_TEXT) {
        m_totalDev.cy = std::abs(m_totalDev.cy);
        m_pageDev.cy = std::abs(m_pageDev.cy);
        m_lineDev.cy = std::abs(m_lineDev.cy);
    }
    if (m_pageDev.cx == 0)
        m_pageDev.cx = m_totalDev.cx / 10;
    if (m_pageDev.cy == 0)
        m_pageDev.cy = m_totalDev.cy / 10;
    if (m_lineDev.cx == 0)
        m_lineDev.cx = m_pageDev.cx / 10;
    if (m_lineDev.cy == 0)
        m_lineDev.cy = m_pageDev.cy / 10;
}

void COXScrollWnd::SetScrollSizes(int mapMode, SIZE total, SIZE page, SIZE line) {
    int oldMode = m_nMapMode;
    m_nMapMode = mapMode;
    m_totalLog = total;
    m_pageLog = page;
    m_lineLog = line;
    m_windowOrigin = {0, 0};
    m_bUsePercent = FALSE;
    ComputeDeviceSizes();
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        UpdateBars();
        if (oldMode != mapMode)
            Invalidate();
    }
}

void COXScrollWnd::SetPercentSizes(SIZE pagePercent, SIZE linePercent) {
    m_pagePercent = pagePercent;
    m_linePercent = linePercent;
    m_bUsePercent = TRUE;
    if (m_hWnd)
        UpdateBars();
}

bool COXScrollWnd::HasBar(int bar) const {
    if (CScrollBar* control = GetScrollBarCtrl(bar))
        return control->IsWindowEnabled();
    return (GetStyle() & (bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL)) != 0;
}

POINT COXScrollWnd::GetScrollPosition() const {
    return POINT{GetScrollPos(SB_HORZ), GetScrollPos(SB_VERT)};
}

POINT COXScrollWnd::GetContentOffset() const {
    POINT scroll = GetScrollPosition();
    POINT offset{-scroll.x, -scroll.y};
    RECT client{};
    if (m_hWnd)
        ::GetClientRect(m_hWnd, &client);
    int w = client.right, h = client.bottom;
    int column = m_nContentAlignment % 3, row = m_nContentAlignment / 3;
    if (m_totalDev.cx < w) {
        if (column == 1)
            offset.x = (w - m_totalDev.cx) / 2;
        else if (column == 2)
            offset.x = w - m_totalDev.cx;
    }
    if (m_totalDev.cy < h) {
        if (row == 1)
            offset.y = (h - m_totalDev.cy) / 2;
        else if (row == 2)
            offset.y = h - m_totalDev.cy;
    }
    return offset;
}

void COXScrollWnd::OnPrepareDC(CDC* dc, CPrintInfo* info) {
    (void)info;
    HDC h = dc->GetSafeHdc();
    int mode = m_nMapMode ? m_nMapMode : MM_TEXT;
    SIZE window, viewport;
    if (mode == MM_ANISOTROPIC) {
        window = m_totalLog;
        viewport = m_totalDev;
    } else {
        window = ModeExtents(mode, viewport);
        if (mode == MM_TEXT) {
            window = {1000, 1000};
            viewport = {1000, 1000};
        }
    }
    ::SetMapMode(h, MM_ANISOTROPIC);
    if (!dc->IsPrinting()) {
        viewport.cx = MulDiv(viewport.cx, m_nZoom, 100);
        viewport.cy = MulDiv(viewport.cy, m_nZoom, 100);
    }
    ::SetWindowExtEx(h, window.cx, window.cy, nullptr);
    ::SetViewportExtEx(h, viewport.cx, viewport.cy, nullptr);
    if (!dc->IsPrinting()) {
        ::SetWindowOrgEx(h, m_windowOrigin.x, m_windowOrigin.y, nullptr);
        POINT offset = GetContentOffset();
        ::SetViewportOrgEx(h, offset.x, offset.y, nullptr);
    }
}

void COXScrollWnd::FillOutsideRect(CDC* dc, CBrush* brush) {
    RECT client;
    GetClientRect(&client);
    POINT o = GetContentOffset();
    int W = m_totalDev.cx, H = m_totalDev.cy, w = client.right, h = client.bottom;
    RECT parts[4] = {{W + o.x, 0, w, h}, {0, H + o.y, W + o.x, h}, {0, 0, 0, 0}, {0, 0, 0, 0}};
    if (o.y > 0)
        parts[2] = RECT{0, 0, w - o.x, o.y};
    if (o.x > 0)
        parts[3] = RECT{0, o.y, o.x, h - o.y};
    for (const RECT& r : parts)
        if (r.right > r.left && r.bottom > r.top)
            ::FillRect(dc->GetSafeHdc(), &r, (HBRUSH)brush->GetSafeHandle());
}

void COXScrollWnd::UpdateBars() {
    if (m_bInsideUpdate || !m_hWnd)
        return;
    m_bInsideUpdate = TRUE;
    struct Done {
        BOOL& flag;
        ~Done() { flag = FALSE; }
    } done{m_bInsideUpdate};

    DWORD style = GetStyle();
    int barWidth = GetScrollBarCtrl(SB_VERT) ? 0 : ::GetSystemMetrics(SM_CXVSCROLL);
    int barHeight = GetScrollBarCtrl(SB_HORZ) ? 0 : ::GetSystemMetrics(SM_CYHSCROLL);
    if (style & WS_BORDER) {
        barWidth -= ::GetSystemMetrics(SM_CXBORDER);
        barHeight -= ::GetSystemMetrics(SM_CYBORDER);
    }
    RECT client{};
    bool barsOutside = false;
    CWnd* parent = GetParent();
    RECT asked{};
    if (parent && parent->SendMessage(WM_RECALCPARENT, 0, (LPARAM)&asked)) {
        client = asked;
        barsOutside = true;
    } else {
        GetClientRect(&client);
    }
    SIZE size{client.right - client.left, client.bottom - client.top};
    if (!barsOutside) {
        if (style & WS_VSCROLL)
            size.cx += barWidth;
        if (style & WS_HSCROLL)
            size.cy += barHeight;
        if (size.cx <= barWidth || size.cy <= barHeight) {
            RECT rc;
            GetClientRect(&rc);
            if (rc.right >= 1 && rc.bottom >= 1) {
                ShowScrollBar(SB_HORZ, FALSE);
                ShowScrollBar(SB_VERT, FALSE);
            }
            return;
        }
    }
    if (m_bUsePercent) {
        m_pageDev = {MulDiv(size.cx, m_pagePercent.cx, 100), MulDiv(size.cy, m_pagePercent.cy, 100)};
        m_lineDev = {MulDiv(size.cx, m_linePercent.cx, 100), MulDiv(size.cy, m_linePercent.cy, 100)};
    }
    SIZE range{m_totalDev.cx - size.cx, m_totalDev.cy - size.cy};
    POINT target = GetScrollPosition();
    bool needH = range.cx > 0;
    if (!needH)
        target.x = 0;
    else if (!barsOutside)
        range.cy += barHeight;
    bool needV = range.cy > 0;
    if (!needV)
        target.y = 0;
    else if (!barsOutside)
        range.cx += barWidth;
    if (needV && !needH && range.cx > 0) {
        needH = true;
        if (!barsOutside)
            range.cy += barHeight;
    }
    if (range.cx > 0 && target.x > range.cx)
        target.x = range.cx;
    if (range.cy > 0 && target.y > range.cy)
        target.y = range.cy;
    if (needH)
        size.cy -= barsOutside ? 0 : barHeight;
    if (needV)
        size.cx -= barsOutside ? 0 : barWidth;

    ShowScrollBar(SB_HORZ, needH);
    ShowScrollBar(SB_VERT, needV);
    for (int bar : {SB_HORZ, SB_VERT}) {
        bool needed = bar == SB_HORZ ? needH : needV;
        if (!needed)
            continue;
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_PAGE | SIF_RANGE;
        info.nMin = 0;
        info.nMax = (bar == SB_HORZ ? m_totalDev.cx : m_totalDev.cy) - 1;
        info.nPage = (UINT)(bar == SB_HORZ ? size.cx : size.cy);
        if (!SetScrollInfo(bar, &info, TRUE))
            SetScrollRange(bar, 0, bar == SB_HORZ ? range.cx : range.cy, TRUE);
    }
    ScrollToDevicePosition(target);
}

void COXScrollWnd::ScrollToDevicePosition(POINT device) {
    POINT old = GetScrollPosition();
    int limitX = HasBar(SB_HORZ) ? std::max(0, GetScrollLimit(SB_HORZ)) : 0;
    int limitY = HasBar(SB_VERT) ? std::max(0, GetScrollLimit(SB_VERT)) : 0;
    device.x = std::clamp((int)device.x, 0, limitX);
    device.y = std::clamp((int)device.y, 0, limitY);
    if (device.x != old.x)
        SetScrollPos(SB_HORZ, device.x);
    if (device.y != old.y)
        SetScrollPos(SB_VERT, device.y);
    if (device.x != old.x || device.y != old.y)
        ScrollWindow(old.x - device.x, old.y - device.y);
}

void COXScrollWnd::ScrollToPosition(POINT logical, int anchor) {
    if (anchor == 0)
        anchor = m_nZoomAnchor;
    SIZE d = LogicalToDevice(SIZE{logical.x - m_windowOrigin.x, logical.y - m_windowOrigin.y});
    POINT device{d.cx, m_nMapMode == MM_TEXT || m_nMapMode == 0 ? d.cy : std::abs(d.cy)};
    RECT client;
    GetClientRect(&client);
    if (anchor == ZA_BOTTOMLEFT)
        device.y -= client.bottom;
    else if (anchor == ZA_CENTER) {
        device.x -= client.right / 2;
        device.y -= client.bottom / 2;
    }
    ScrollToDevicePosition(device);
}

int COXScrollWnd::SetZoom(int percent, int anchor) {
    int old = m_nZoom;
    if (anchor == 0)
        anchor = m_nZoomAnchor;
    // The anchor point in logical units before zooming.
    POINT scroll = m_hWnd ? GetScrollPosition() : POINT{0, 0};
    RECT client{};
    if (m_hWnd)
        GetClientRect(&client);
    POINT device = scroll;
    if (anchor == ZA_BOTTOMLEFT)
        device.y += client.bottom;
    else if (anchor == ZA_CENTER) {
        device.x += client.right / 2;
        device.y += client.bottom / 2;
    }
    POINT logical{m_nZoom ? MulDiv(device.x, 100, m_nZoom) : 0, m_nZoom ? MulDiv(device.y, 100, m_nZoom) : 0};
    percent = std::clamp(percent, 10, 1000);
    if (percent == m_nZoom)
        return old;
    m_nZoom = percent;
    ComputeDeviceSizes();
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        ScrollToPosition(logical, anchor);
        UpdateBars();
        Invalidate();
    }
    return old;
}

int COXScrollWnd::ZoomToFit() {
    RECT client{};
    if (m_hWnd)
        GetClientRect(&client);
    // The unzoomed device total; a direction whose total is 0 does not count, and with both 0 the zoom stays.
    int saved = m_nZoom;
    m_nZoom = 100;
    SIZE total = LogicalToDevice(m_totalLog);
    m_nZoom = saved;
    total.cy = std::abs(total.cy);
    int zoom = INT_MAX;
    if (total.cx > 0)
        zoom = std::min(zoom, std::min(1000, 100 * client.right / total.cx));
    if (total.cy > 0)
        zoom = std::min(zoom, std::min(1000, 100 * client.bottom / total.cy));
    if (zoom == INT_MAX)
        return m_nZoom;
    SetZoom(std::max(zoom, 10), ZA_TOPLEFT);
    return m_nZoom;
}

void COXScrollWnd::SetAlwaysFitWindow(BOOL on) {
    m_bAlwaysFitWindow = on;
    if (on && m_hWnd)
        ZoomToFit();
}

BOOL COXScrollWnd::OnScrollBy(SIZE scrollSize, BOOL doScroll) {
    POINT old = GetScrollPosition();
    POINT pos = old;
    if (HasBar(SB_HORZ))
        pos.x = std::clamp((int)(old.x + scrollSize.cx), 0, std::max(0, GetScrollLimit(SB_HORZ)));
    if (HasBar(SB_VERT))
        pos.y = std::clamp((int)(old.y + scrollSize.cy), 0, std::max(0, GetScrollLimit(SB_VERT)));
    if (pos.x == old.x && pos.y == old.y)
        return FALSE;
    if (!doScroll)
        return TRUE;
    ScrollWindow(old.x - pos.x, old.y - pos.y);
    if (pos.x != old.x)
        SetScrollPos(SB_HORZ, pos.x);
    if (pos.y != old.y)
        SetScrollPos(SB_VERT, pos.y);
    return TRUE;
}

BOOL COXScrollWnd::OnScroll(UINT scrollCode, UINT pos, BOOL doScroll) {
    BYTE horz = LowByte(scrollCode), vert = HighByte(scrollCode);
    auto isPage = [](BYTE b) { return b == SB_PAGEUP || b == SB_PAGEDOWN; };
    if (m_bSmoothScroll && !m_bSmoothRunning && (isPage(horz) || isPage(vert)))
        return OnSmoothScroll(scrollCode, pos, doScroll);
    POINT old = GetScrollPosition();
    auto next = [&](BYTE code, int current, int line, int page) -> int {
        switch (code) {
            case SB_LINEUP: return current - line;
            case SB_LINEDOWN: return current + line;
            case SB_PAGEUP: return current - page;
            case SB_PAGEDOWN: return current + page;
            case SB_THUMBTRACK: return (int)pos;
            case SB_TOP: return 0;
            case SB_BOTTOM: return INT_MAX / 2;
            default: return current;
        }
    };
    int x = horz == 0xFF ? old.x : next(horz, old.x, m_lineDev.cx, m_pageDev.cx);
    int y = vert == 0xFF ? old.y : next(vert, old.y, m_lineDev.cy, m_pageDev.cy);
    BOOL result = OnScrollBy(SIZE{x - old.x, y - old.y}, doScroll);
    if (result && doScroll)
        UpdateWindow();
    return result;
}

BOOL COXScrollWnd::OnSmoothScroll(UINT scrollCode, UINT pos, BOOL doScroll) {
    if (m_bSmoothRunning)
        return TRUE;
    BYTE horz = LowByte(scrollCode), vert = HighByte(scrollCode);
    auto kind = [](BYTE b) {
        return b == SB_LINEUP || b == SB_LINEDOWN ? 1 : b == SB_PAGEUP || b == SB_PAGEDOWN ? 2 : 0;
    };
    bool horizontal = kind(horz) != 0;
    BYTE code = horizontal ? horz : vert;
    int k = kind(code);
    if (k == 0)
        return TRUE;
    m_bSmoothRunning = TRUE;
    SIZE savedLine = m_lineDev;
    int amount = k == 1 ? (horizontal ? m_lineDev.cx : m_lineDev.cy) : (horizontal ? m_pageDev.cx : m_pageDev.cy);
    int steps = k == 1 ? kSmoothLineSteps : kSmoothPageSteps;
    // Each step is amount / steps; the remainder is one more step. An amount below the steps moves by 1.
    int step = std::max(1, amount / steps);
    int count = amount / step + (amount % step ? 1 : 0);
    BYTE lineCode = (code == SB_LINEUP || code == SB_PAGEUP) ? SB_LINEUP : SB_LINEDOWN;
    UINT request = horizontal ? (UINT)(0xFF00 | lineCode) : (UINT)((lineCode << 8) | 0xFF);
    BOOL any = FALSE;
    DWORD last = 0;
    bool first = true;
    int left = amount;
    for (int i = 0; i < count; ++i) {
        DWORD now = ::GetTickCount();
        if (!first && now - last < (DWORD)kSmoothStepMs)
            ::Sleep(kSmoothStepMs - (now - last));
        first = false;
        last = ::GetTickCount();
        int thisStep = std::min(step, left);
        left -= thisStep;
        if (horizontal)
            m_lineDev.cx = thisStep;
        else
            m_lineDev.cy = thisStep;
        if (!OnScroll(request, pos, doScroll))
            break;
        any = TRUE;
    }
    m_lineDev = savedLine;
    m_bSmoothRunning = FALSE;
    return any;
}

BOOL COXScrollWnd::OnKeyScroll(UINT key) {
    bool shift = ::GetKeyState(VK_SHIFT) < 0, ctrl = ::GetKeyState(VK_CONTROL) < 0;
    UINT message = WM_VSCROLL, code;
    switch (key) {
        case VK_TAB: message = WM_HSCROLL; code = shift ? SB_PAGELEFT : SB_PAGERIGHT; break;
        case VK_PRIOR: code = SB_PAGEUP; break;
        case VK_NEXT: code = SB_PAGEDOWN; break;
        case VK_END:
            if (ctrl) code = SB_BOTTOM; else { message = WM_HSCROLL; code = SB_RIGHT; }
            break;
        case VK_HOME:
            if (ctrl) code = SB_TOP; else { message = WM_HSCROLL; code = SB_LEFT; }
            break;
        case VK_LEFT: message = WM_HSCROLL; code = SB_LINELEFT; break;
        case VK_UP: code = SB_LINEUP; break;
        case VK_RIGHT: message = WM_HSCROLL; code = SB_LINERIGHT; break;
        case VK_DOWN: code = SB_LINEDOWN; break;
        default: return FALSE;
    }
    SendMessage(message, code, 0);
    return TRUE;
}

void COXScrollWnd::OnMouseWheelMessage(WPARAM wParam) {
    UINT keys = LOWORD(wParam);
    if (keys & (MK_SHIFT | MK_CONTROL))
        return;
    short delta = (short)HIWORD(wParam);
    int lines = (int)WheelLines();
    bool vertical = HasBar(SB_VERT) && GetScrollLimit(SB_VERT) > 0;
    int page = vertical ? m_pageDev.cy : m_pageDev.cx;
    int line = vertical ? m_lineDev.cy : m_lineDev.cx;
    int n = MulDiv(-delta, lines, 120);
    int amount;
    if (n == -1 || lines == -1) {
        amount = delta > 0 ? -page : page;
    } else {
        amount = std::min(n * line, page);
    }
    SIZE by = vertical ? SIZE{0, amount} : SIZE{amount, 0};
    if (OnScrollBy(by, TRUE))
        UpdateWindow();
}

void COXScrollWnd::TrackZoom(POINT point) {
    CRectTracker tracker;
    tracker.m_nHandleSize = 5;
    if (!tracker.TrackRubberBand(this, point, TRUE))
        return;
    RECT band = tracker.m_rect;
    if (band.left > band.right)
        std::swap(band.left, band.right);
    if (band.top > band.bottom)
        std::swap(band.top, band.bottom);
    RECT client;
    GetClientRect(&client);
    client.right = std::min(client.right, m_totalDev.cx);
    client.bottom = std::min(client.bottom, m_totalDev.cy);
    RECT clipped;
    if (!::IntersectRect(&clipped, &band, &client))
        return;
    int bw = clipped.right - clipped.left, bh = clipped.bottom - clipped.top;
    if (bw < 8 || bh < 8)
        return;
    RECT full;
    GetClientRect(&full);
    int oldZoom = m_nZoom;
    POINT scroll = GetScrollPosition();
    POINT topLeft{MulDiv(scroll.x, 100, oldZoom), MulDiv(scroll.y, 100, oldZoom)};
    int zoom = std::min(full.bottom * oldZoom / bh, full.right * oldZoom / bw);
    SetZoom(zoom, ZA_TOPLEFT);
    ScrollToPosition(POINT{topLeft.x + clipped.left * 100 / oldZoom, topLeft.y + clipped.top * 100 / oldZoom},
                     ZA_TOPLEFT);
}

HMENU COXScrollWnd::BuildContextMenu() {
    HMENU menu = ::CreatePopupMenu();
    HMENU zoomMenu = ::CreatePopupMenu();
    for (size_t i = 0; i < std::size(kZooms); ++i) {
        char fallback[8];
        snprintf(fallback, sizeof fallback, "%d%%", kZooms[i]);
        ::AppendMenu(zoomMenu, MF_STRING | (kZooms[i] == m_nZoom ? MF_CHECKED : 0), ID_OXSCROLLWND_ZOOM_10 + i,
                     Text(26812 + (UINT)i, fallback));
    }
    UINT grey = m_bAlwaysFitWindow ? MF_GRAYED : 0;
    ::AppendMenu(menu, MF_POPUP | grey, (UINT_PTR)zoomMenu, Text(26811, "Zoom"));
    ::AppendMenu(menu, MF_STRING | grey, ID_OXSCROLLWND_ZOOM_TO_FIT, Text(26825, "Zoom to content"));
    if (m_nZoom != 100 && !m_bAlwaysFitWindow)
        ::AppendMenu(menu, MF_STRING, ID_OXSCROLLWND_ZOOM_10 + 3, Text(26815, "100%"));
    ::AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenu(menu, MF_STRING | (m_bAlwaysFitWindow ? MF_CHECKED : 0), ID_OXSCROLLWND_ALWAYSFIT,
                 Text(26826, "Always fit window"));
    ::AppendMenu(menu, MF_STRING | (m_bTrackZoom ? MF_CHECKED : 0), ID_OXSCROLLWND_TRACKZOOM,
                 Text(26827, "Use track zoom"));
    ::AppendMenu(menu, MF_STRING | (m_bSmoothScroll ? MF_CHECKED : 0), ID_OXSCROLLWND_SMOOTHSCROLL,
                 Text(26828, "Smooth scrolling"));
    return menu;
}

BOOL COXScrollWnd::OnContextMenuShow(CMenu*, POINT) {
    return TRUE;
}

void COXScrollWnd::ShowContextMenu(POINT point) {
    CMenu menu;
    menu.Attach(BuildContextMenu());
    if (OnContextMenuShow(&menu, point))
        menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
}

BOOL COXScrollWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT id = LOWORD(wParam);
    if (id >= ID_OXSCROLLWND_ZOOM_10 && id <= ID_OXSCROLLWND_ZOOM_1000) {
        SetZoom(kZooms[id - ID_OXSCROLLWND_ZOOM_10]);
        return TRUE;
    }
    switch (id) {
        case ID_OXSCROLLWND_ZOOM_TO_FIT:
            ZoomToFit();
            return TRUE;
        case ID_OXSCROLLWND_ALWAYSFIT:
            SetAlwaysFitWindow(!m_bAlwaysFitWindow);
            return TRUE;
        case ID_OXSCROLLWND_TRACKZOOM:
            m_bTrackZoom = !m_bTrackZoom;
            return TRUE;
        case ID_OXSCROLLWND_SMOOTHSCROLL:
            m_bSmoothScroll = !m_bSmoothScroll;
            return TRUE;
        default:
            return CWnd::OnCommand(wParam, lParam);
    }
}

BOOL COXScrollWnd::Initialize() {
    return TRUE;
}

void COXScrollWnd::PreSubclassWindow() {
    CWnd::PreSubclassWindow();
    Initialize();
}

BOOL COXScrollWnd::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN && OnKeyScroll((UINT)msg->wParam))
        return TRUE;
    return CWnd::PreTranslateMessage(msg);
}

void COXScrollWnd::CalcWindowRect(LPRECT rc, UINT adjustType) {
    if (adjustType == adjustOutside) {
        RECT client;
        GetClientRect(&client);
        if (m_totalDev.cx > client.right)
            rc->bottom += ::GetSystemMetrics(SM_CYHSCROLL);
        if (m_totalDev.cy > client.bottom)
            rc->right += ::GetSystemMetrics(SM_CXVSCROLL);
    }
    CWnd::CalcWindowRect(rc, adjustType);
}

LRESULT COXScrollWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            LRESULT r = CWnd::WindowProc(message, wParam, lParam);
            if (r == -1 || !Initialize())
                return -1;
            return r;
        }
        case WM_HSCROLL:
            OnScroll(Request((BYTE)LOWORD(wParam), 0xFF), HIWORD(wParam));
            return 0;
        case WM_VSCROLL:
            OnScroll(Request(0xFF, (BYTE)LOWORD(wParam)), HIWORD(wParam));
            return 0;
        case WM_WINDOWPOSCHANGED: {
            LRESULT r = CWnd::WindowProc(message, wParam, lParam);
            auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
            if (pos && !(pos->flags & SWP_NOSIZE)) {
                if (m_bAlwaysFitWindow)
                    ZoomToFit();
                else if (m_nMapMode)
                    UpdateBars();
            }
            return r;
        }
        case WM_MOUSEWHEEL:
            OnMouseWheelMessage(wParam);
            return 0;
        case WM_LBUTTONDOWN:
            if (m_bTrackZoom && !m_bAlwaysFitWindow) {
                TrackZoom(POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)});
                return 0;
            }
            break;
        case WM_CONTEXTMENU:
            if (m_bUseContextMenu && (HWND)wParam == m_hWnd) {
                ShowContextMenu(POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)});
                return 0;
            }
            break;
        case WM_MOUSEACTIVATE:
            SetFocus();
            return MA_NOACTIVATE;
        default:
            break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
