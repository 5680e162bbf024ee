#include "guilib/controls/OXBackgroundPainter.h"
#include "guilib/controls/OXThreadHooks.h"

#include "platform/framework/bars/ControlBar.h"
#include "platform/framework/bars/ToolBar.h"
#include "platform/framework/controls/TabCtrl.h"
#include "platform/framework/frames/MDIFrameWnd.h"

IMPLEMENT_DYNAMIC(COXBackgroundPainter, COXHookWnd)

namespace {

const UINT kRedrawWhole =
    RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW | RDW_FRAME;
const UINT kRedrawAttach = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME;

// One organizer per thread, and the first hooks of the process.
CMap<DWORD, DWORD, COXBackgroundPainterOrganizer*, COXBackgroundPainterOrganizer*>& OrganizerMap() {
    static CMap<DWORD, DWORD, COXBackgroundPainterOrganizer*, COXBackgroundPainterOrganizer*> map;
    return map;
}
HHOOK g_hFirstCbtHook = nullptr;
HHOOK g_hFirstGetMessageHook = nullptr;

COXBackgroundPainterOrganizer* OrganizerOfWindow(HWND hwnd) {
    COXBackgroundPainterOrganizer* organizer = nullptr;
    if (hwnd && ::IsWindow(hwnd))
        OrganizerMap().Lookup(::GetWindowThreadProcessId(hwnd, nullptr), organizer);
    return organizer;
}

// Reduces an offset into (-size, 0], so that tiling from it covers the area from its first pixel.
int TileStart(int offset, int size) {
    int start = offset % size;
    if (start > 0)
        start -= size;
    return start;
}

}  // namespace

// ---- Painter --------------------------------------------------------------------------------------

COXBackgroundPainter::COXBackgroundPainter() = default;

COXBackgroundPainter::~COXBackgroundPainter() {
    if (IsHooked())
        UnhookWindow();
    m_dib.Empty();
}

RECT COXBackgroundPainter::GetClientScreenRect(HWND hWnd) {
    RECT r{0, 0, 0, 0};
    if (!::GetWindowRect(hWnd, &r))
        return r;
    DWORD style = (DWORD)::GetWindowLongPtr(hWnd, GWL_STYLE);
    DWORD exStyle = (DWORD)::GetWindowLongPtr(hWnd, GWL_EXSTYLE);
    if (style & WS_BORDER) {
        if (style & WS_THICKFRAME)
            ::InflateRect(&r, -::GetSystemMetrics(SM_CXFRAME), -::GetSystemMetrics(SM_CYFRAME));
        else
            ::InflateRect(&r, -::GetSystemMetrics(SM_CXDLGFRAME), -::GetSystemMetrics(SM_CYDLGFRAME));
    }
    if ((style & WS_BORDER) || (style & WS_DLGFRAME))
        r.top += ::GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
    return r;
}

void COXBackgroundPainter::RedrawWhole() {
    if (m_hWndHooked && ::IsWindow(m_hWndHooked))
        ::RedrawWindow(m_hWndHooked, nullptr, nullptr, kRedrawWhole);
}

void COXBackgroundPainter::Redraw() {
    if (m_hWndHooked && ::IsWindow(m_hWndHooked))
        ::RedrawWindow(m_hWndHooked, nullptr, nullptr, kRedrawAttach);
}

UINT COXBackgroundPainter::RealizePalette(BOOL bForceBackground, BOOL bRedraw) {
    if (m_dib.IsEmpty() || !m_dib.GetPalette() || !m_hWndHooked)
        return 0;
    HDC dc = ::GetDC(m_hWndHooked);
    if (!dc)
        return 0;
    HPALETTE old = ::SelectPalette(dc, (HPALETTE)m_dib.GetPalette()->m_hObject, bForceBackground);
    UINT changed = ::RealizePalette(dc);
    if (changed && bRedraw)
        RedrawWhole();
    ::SelectPalette(dc, old, TRUE);
    ::ReleaseDC(m_hWndHooked, dc);
    return changed;
}

BOOL COXBackgroundPainter::Attach(CWnd* pWnd, const COXDIB* pDIB, PaintType paintType, COLORREF clrBk,
                                  CWnd* pOriginWnd) {
    return Attach(pWnd ? pWnd->GetSafeHwnd() : nullptr, pDIB, paintType, clrBk,
                  pOriginWnd ? pOriginWnd->GetSafeHwnd() : nullptr);
}

BOOL COXBackgroundPainter::Attach(HWND hWnd, const COXDIB* pDIB, PaintType paintType, COLORREF clrBk,
                                  HWND hOriginWnd) {
    m_sWallpaperFileName.Empty();
    HookWindow(hWnd);
    m_clrBk = clrBk;
    if (pDIB)
        m_dib = *pDIB;
    else
        m_dib.Empty();
    RealizePalette(FALSE, FALSE);
    m_paintType = paintType;
    m_hOriginWnd = hOriginWnd ? hOriginWnd : hWnd;
    if (hWnd && ::IsWindow(hWnd))
        Redraw();
    return TRUE;
}

void COXBackgroundPainter::Detach(BOOL bRedraw) {
    HWND former = m_hWndHooked;
    UnhookWindow();
    if (bRedraw && former && ::IsWindow(former))
        ::RedrawWindow(former, nullptr, nullptr, kRedrawAttach);
}

void COXBackgroundPainter::SetPaintType(PaintType paintType, BOOL bRedraw) {
    m_paintType = paintType;
    if (bRedraw)
        Redraw();
}

void COXBackgroundPainter::SetBkColor(COLORREF clrBk, BOOL bRedraw) {
    m_clrBk = clrBk;
    if (bRedraw)
        Redraw();
}

void COXBackgroundPainter::SetOriginWnd(HWND hOriginWnd, BOOL bRedraw) {
    m_hOriginWnd = hOriginWnd ? hOriginWnd : m_hWndHooked;
    if (bRedraw)
        Redraw();
}

BOOL COXBackgroundPainter::SetWallpaper(const COXDIB* pDIB, BOOL bRedraw) {
    m_sWallpaperFileName.Empty();
    if (pDIB)
        m_dib = *pDIB;
    else
        m_dib.Empty();
    RealizePalette(FALSE, FALSE);
    if (bRedraw)
        Redraw();
    return TRUE;
}

BOOL COXBackgroundPainter::SetWallpaperFile(LPCTSTR lpszFileName, BOOL bRedraw) {
    CString name = lpszFileName ? lpszFileName : "";
    COXDIB read;
    if (!name.IsEmpty() && !read.Read((LPCTSTR)name))
        return FALSE;  // the image and its name stay
    SetWallpaper(name.IsEmpty() ? nullptr : &read, bRedraw);
    m_sWallpaperFileName = name;
    return TRUE;
}

void COXBackgroundPainter::GetOriginRect(POINT& ptOffset, RECT& rect) {
    ptOffset = POINT{0, 0};
    ::SetRectEmpty(&rect);
    HWND origin = m_hOriginWnd ? m_hOriginWnd : m_hWndHooked;
    if (origin != m_hWndHooked) {
        auto* bar = dynamic_cast<CControlBar*>(CWnd::FromHandlePermanent(m_hWndHooked));
        if (bar && bar->IsFloating() && bar->GetDockingFrame())
            origin = bar->GetDockingFrame()->GetSafeHwnd();
    }
    rect = GetClientScreenRect(origin);
    if (origin != m_hWndHooked) {
        RECT own = GetClientScreenRect(m_hWndHooked);
        ptOffset = POINT{rect.left - own.left, rect.top - own.top};
    }
}

void COXBackgroundPainter::FillBackground(CDC* pDC) {
    RECT r;
    ::GetWindowRect(m_hWndHooked, &r);
    ::OffsetRect(&r, -r.left, -r.top);
    if (m_clrBk != CLR_DEFAULT) {
        HBRUSH brush = ::CreateSolidBrush(m_clrBk);
        ::FillRect(pDC->GetSafeHdc(), &r, brush);
        ::DeleteObject(brush);
        return;
    }
    HBRUSH classBrush = (HBRUSH)::GetClassLongPtr(m_hWndHooked, GCLP_HBRBACKGROUND);
    if (classBrush) {
        ::FillRect(pDC->GetSafeHdc(), &r, classBrush);
        return;
    }
    HBRUSH brush = ::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
    ::FillRect(pDC->GetSafeHdc(), &r, brush);
    ::DeleteObject(brush);
}

void COXBackgroundPainter::Paint(CDC* pDC) {
    SIZE image = m_dib.GetSize();
    // An image with a zero side paints as none.
    if (m_dib.IsEmpty() || image.cx <= 0 || image.cy <= 0) {
        FillBackground(pDC);
        return;
    }
    if (m_paintType != Tile && m_paintType != Stretch)
        FillBackground(pDC);

    RECT area = GetClientScreenRect(m_hWndHooked);
    POINT offset;
    RECT reference;
    GetOriginRect(offset, reference);
    POINT dcOrigin{0, 0};
    ::GetDCOrgEx(pDC->GetSafeHdc(), &dcOrigin);
    offset.x += area.left - dcOrigin.x;
    offset.y += area.top - dcOrigin.y;
    ::OffsetRect(&area, -area.left, -area.top);
    const int W = reference.right - reference.left, H = reference.bottom - reference.top;
    const int w = image.cx, h = image.cy;
    const RECT src{0, 0, w, h};

    if (m_paintType == Tile) {
        int x0 = TileStart(offset.x, w), y0 = TileStart(offset.y, h);
        for (int x = x0; x < area.right; x += w)
            for (int y = y0; y < area.bottom; y += h)
                m_dib.Paint(pDC, RECT{x, y, x + w, y + h}, src);
        return;
    }
    if (m_paintType == Stretch) {
        m_dib.Paint(pDC, RECT{offset.x, offset.y, offset.x + W, offset.y + H}, src);
        return;
    }
    if (m_paintType > BottomRight || m_paintType < Tile)
        return;
    const int left = offset.x, centreX = offset.x + (W - w) / 2, right = offset.x + W - w;
    const int top = offset.y, centreY = offset.y + (H - h) / 2, bottom = offset.y + H - h;
    static const int kColumn[] = {0, 0, 0, 1, 2, 0, 1, 2, 0, 1, 2};  // left, centre, right
    static const int kRow[] = {0, 0, 0, 0, 0, 1, 1, 1, 2, 2, 2};     // top, centre, bottom
    const int xs[] = {left, centreX, right}, ys[] = {top, centreY, bottom};
    int x = xs[kColumn[m_paintType]], y = ys[kRow[m_paintType]];
    m_dib.Paint(pDC, RECT{x, y, x + w, y + h}, src);
}

LRESULT COXBackgroundPainter::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: {
            RECT r;
            ::GetWindowRect(m_hWndHooked, &r);
            if (!::EqualRect(&r, &m_rectWindow)) {
                // A new size: the whole window is painted again, its children too; that erase paints.
                m_rectWindow = r;
                RedrawWhole();
                return 1;
            }
            HDC dc = (HDC)wParam;
            HRGN clip = ::CreateRectRgn(0, 0, r.right - r.left, r.bottom - r.top);
            ::SelectClipRgn(dc, clip);
            ::DeleteObject(clip);
            Paint(CDC::FromHandle(dc));
            return 1;
        }
        case WM_SIZE:
            if (m_paintType != Tile && m_paintType != TopLeft)
                ::RedrawWindow(m_hWndHooked, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            break;
        case WM_SETFOCUS:
            RealizePalette(FALSE, TRUE);
            break;
        case WM_QUERYNEWPALETTE:
            return RealizePalette(FALSE, TRUE) != 0;
        case WM_PALETTECHANGED:
            if ((HWND)wParam != m_hWndHooked)
                RealizePalette(TRUE, TRUE);
            return 0;
        default:
            break;
    }
    return COXHookWnd::WindowProc(message, wParam, lParam);
}

// ---- Organizer ------------------------------------------------------------------------------------

COXBackgroundPainterOrganizer::COXBackgroundPainterOrganizer() {
    m_arrAttachedWnd.InitHashTable(17);
}

COXBackgroundPainterOrganizer::~COXBackgroundPainterOrganizer() {
    if (IsAttachedToThread())
        DetachFromThread(TRUE);
    else
        Detach(nullptr, TRUE);
    for (INT_PTR i = 0; i < m_arrUsedPainters.GetSize(); ++i)
        delete m_arrUsedPainters[i];
    m_arrUsedPainters.RemoveAll();
}

BOOL COXBackgroundPainterOrganizer::IsSupportedWindow(HWND hWnd) {
    if (!hWnd || !::IsWindow(hWnd))
        return FALSE;
    CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
    if (wnd) {
        if (wnd->IsKindOf(RUNTIME_CLASS(CToolBar))) {
            auto* parent = dynamic_cast<CControlBar*>(CWnd::FromHandlePermanent(::GetParent(hWnd)));
            if (parent && parent->IsDockBar())
                return TRUE;
        }
        auto* bar = dynamic_cast<CControlBar*>(wnd);
        if (bar && bar->IsDockBar())
            return TRUE;
    }
    auto* mdiFrame = dynamic_cast<CMDIFrameWnd*>(m_pFrameWnd);
    if (mdiFrame) {
        if (hWnd == mdiFrame->m_hWndMDIClient)
            return TRUE;
        if (wnd && wnd->IsKindOf(RUNTIME_CLASS(CTabCtrl)) && ::GetParent(hWnd) == mdiFrame->GetSafeHwnd())
            return TRUE;
    }
    return FALSE;
}

void COXBackgroundPainterOrganizer::AttachFound(HWND hWnd) {
    // The MDI client has no window object of its own; the others must have one.
    auto* mdiFrame = dynamic_cast<CMDIFrameWnd*>(m_pFrameWnd);
    bool client = mdiFrame && hWnd == mdiFrame->m_hWndMDIClient;
    if (!client && !CWnd::FromHandlePermanent(hWnd))
        return;
    if (GetPainter(hWnd) || !IsSupportedWindow(hWnd))
        return;
    POSITION pos = nullptr;
    if (COXBackgroundPainter* model = GetFirstPainter(pos)) {
        Attach(hWnd, &model->GetWallpaper(), model->GetPaintType(), model->GetBkColor(), model->GetOriginWnd());
    } else {
        Attach(hWnd, &m_dibDefault, m_paintTypeDefault, m_clrBkDefault, m_hOriginWndDefault);
    }
}

void COXBackgroundPainterOrganizer::AttachWalk(HWND hWnd) {
    for (HWND child = ::GetWindow(hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        auto* mdiFrame = dynamic_cast<CMDIFrameWnd*>(m_pFrameWnd);
        bool client = mdiFrame && child == mdiFrame->m_hWndMDIClient;
        if ((client || CWnd::FromHandlePermanent(child)) && !GetPainter(child) && IsSupportedWindow(child))
            Attach(child, nullptr, Tile, CLR_DEFAULT, nullptr);
        AttachWalk(child);
    }
}

BOOL COXBackgroundPainterOrganizer::AttachToThread(CFrameWnd* pFrameWnd, const COXDIB* pDIB, PaintType paintType,
                                                   COLORREF clrBk) {
    if (!pFrameWnd || !pFrameWnd->GetSafeHwnd() || IsAttachedToThread())
        return FALSE;
    DWORD thread = ::GetWindowThreadProcessId(pFrameWnd->GetSafeHwnd(), nullptr);
    COXBackgroundPainterOrganizer* existing = nullptr;
    if (OrganizerMap().Lookup(thread, existing))
        return FALSE;
    OrganizerMap().SetAt(thread, this);
    m_pFrameWnd = pFrameWnd;
    m_dwThreadID = thread;
    if (pDIB)
        m_dibDefault = *pDIB;
    else
        m_dibDefault.Empty();
    m_paintTypeDefault = paintType;
    m_clrBkDefault = clrBk;
    m_hOriginWndDefault = pFrameWnd->GetSafeHwnd();

    // The thread's top-level windows from its first one on in the z order, each with its descendants.
    struct Search {
        DWORD thread;
        HWND first;
    } search{thread, nullptr};
    ::EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (::GetWindowThreadProcessId(hwnd, nullptr) == s->thread) {
                s->first = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        (LPARAM)&search);
    for (HWND top = search.first; top; top = ::GetWindow(top, GW_HWNDNEXT)) {
        if (CWnd::FromHandlePermanent(top) && !GetPainter(top) && IsSupportedWindow(top))
            Attach(top, nullptr, Tile, CLR_DEFAULT, nullptr);
        AttachWalk(top);
    }

    m_hCbtHook = ::SetWindowsHookEx(WH_CBT, BackgroundPainterCbtHookProc, nullptr, thread);
    m_hGetMessageHook = ::SetWindowsHookEx(WH_GETMESSAGE, BackgroundPainterGetMessageHookProc, nullptr, thread);
    if (!g_hFirstCbtHook)
        g_hFirstCbtHook = m_hCbtHook;
    if (!g_hFirstGetMessageHook)
        g_hFirstGetMessageHook = m_hGetMessageHook;

    SetBkColor(nullptr, m_clrBkDefault, FALSE);
    SetOriginWnd(nullptr, m_hOriginWndDefault, FALSE);
    SetPaintType(nullptr, m_paintTypeDefault, FALSE);
    COXDIB image = m_dibDefault;
    SetWallpaper(nullptr, &image, TRUE);
    return TRUE;
}

BOOL COXBackgroundPainterOrganizer::DetachFromThread(BOOL bRedraw) {
    if (!IsAttachedToThread())
        return FALSE;
    OXRemoveThreadHook(m_hCbtHook, g_hFirstCbtHook);
    OXRemoveThreadHook(m_hGetMessageHook, g_hFirstGetMessageHook);
    OrganizerMap().RemoveKey(m_dwThreadID);
    m_pFrameWnd = nullptr;
    m_dwThreadID = 0;
    Detach(nullptr, bRedraw);
    return TRUE;
}

BOOL COXBackgroundPainterOrganizer::Attach(HWND hWnd, const COXDIB* pDIB, PaintType paintType, COLORREF clrBk,
                                           HWND hOriginWnd) {
    if (!hWnd || GetPainter(hWnd))
        return FALSE;
    COXBackgroundPainter* painter = nullptr;
    if (m_arrUsedPainters.GetSize() > 0) {
        painter = m_arrUsedPainters[0];
        m_arrUsedPainters.RemoveAt(0);
    } else {
        painter = new COXBackgroundPainter;
    }
    painter->Attach(hWnd, pDIB, paintType, clrBk, hOriginWnd);
    m_arrAttachedWnd.SetAt(hWnd, painter);
    return TRUE;
}

BOOL COXBackgroundPainterOrganizer::Detach(HWND hWnd, BOOL bRedraw) {
    if (hWnd) {
        COXBackgroundPainter* painter = GetPainter(hWnd);
        if (!painter)
            return FALSE;
        m_arrAttachedWnd.RemoveKey(hWnd);
        if (painter->IsHooked())
            painter->Detach(bRedraw);
        // Kept, not deleted: this may run inside the painter's own window procedure.
        m_arrUsedPainters.Add(painter);
        return TRUE;
    }
    POSITION pos = m_arrAttachedWnd.GetStartPosition();
    while (pos) {
        HWND key = nullptr;
        COXBackgroundPainter* painter = nullptr;
        m_arrAttachedWnd.GetNextAssoc(pos, key, painter);
        if (painter->IsHooked())
            painter->Detach(bRedraw);
        m_arrUsedPainters.Add(painter);
    }
    m_arrAttachedWnd.RemoveAll();
    return TRUE;
}

COXBackgroundPainter* COXBackgroundPainterOrganizer::GetPainter(HWND hWnd) const {
    COXBackgroundPainter* painter = nullptr;
    return hWnd && m_arrAttachedWnd.Lookup(hWnd, painter) ? painter : nullptr;
}

BOOL COXBackgroundPainterOrganizer::IsWindowAttached(HWND hWnd) const {
    COXBackgroundPainter* painter = GetPainter(hWnd);
    return painter && painter->IsHooked();
}

COXBackgroundPainter* COXBackgroundPainterOrganizer::GetFirstPainter(POSITION& pos) const {
    pos = m_arrAttachedWnd.GetStartPosition();
    while (pos) {
        HWND key = nullptr;
        COXBackgroundPainter* painter = nullptr;
        m_arrAttachedWnd.GetNextAssoc(pos, key, painter);
        if (::IsWindow(key))
            return painter;
    }
    return nullptr;
}

// One setter for one window, or for every hooked painter (and the defaults while attached to a frame).
#define OX_FOR_PAINTERS(hWnd, call)                                                  \
    do {                                                                             \
        if (hWnd) {                                                                  \
            COXBackgroundPainter* painter = GetPainter(hWnd);                        \
            if (!painter)                                                            \
                return FALSE;                                                        \
            painter->call;                                                           \
            return TRUE;                                                             \
        }                                                                            \
        POSITION pos = m_arrAttachedWnd.GetStartPosition();                          \
        while (pos) {                                                                \
            HWND key = nullptr;                                                      \
            COXBackgroundPainter* painter = nullptr;                                 \
            m_arrAttachedWnd.GetNextAssoc(pos, key, painter);                        \
            if (painter->IsHooked())                                                 \
                painter->call;                                                       \
        }                                                                            \
        return TRUE;                                                                 \
    } while (0)

BOOL COXBackgroundPainterOrganizer::SetWallpaper(HWND hWnd, const COXDIB* pDIB, BOOL bRedraw) {
    if (!hWnd && IsAttachedToThread()) {
        if (pDIB)
            m_dibDefault = *pDIB;
        else
            m_dibDefault.Empty();
    }
    OX_FOR_PAINTERS(hWnd, SetWallpaper(pDIB, bRedraw));
}

BOOL COXBackgroundPainterOrganizer::SetWallpaperFile(HWND hWnd, LPCTSTR lpszFileName, BOOL bRedraw) {
    OX_FOR_PAINTERS(hWnd, SetWallpaperFile(lpszFileName, bRedraw));
}

BOOL COXBackgroundPainterOrganizer::SetPaintType(HWND hWnd, PaintType paintType, BOOL bRedraw) {
    if (!hWnd && IsAttachedToThread())
        m_paintTypeDefault = paintType;
    OX_FOR_PAINTERS(hWnd, SetPaintType(paintType, bRedraw));
}

BOOL COXBackgroundPainterOrganizer::SetBkColor(HWND hWnd, COLORREF clrBk, BOOL bRedraw) {
    if (!hWnd && IsAttachedToThread())
        m_clrBkDefault = clrBk;
    OX_FOR_PAINTERS(hWnd, SetBkColor(clrBk, bRedraw));
}

BOOL COXBackgroundPainterOrganizer::SetOriginWnd(HWND hWnd, HWND hOriginWnd, BOOL bRedraw) {
    if (!hWnd && IsAttachedToThread())
        m_hOriginWndDefault = hOriginWnd;
    OX_FOR_PAINTERS(hWnd, SetOriginWnd(hOriginWnd, bRedraw));
}

#undef OX_FOR_PAINTERS

// ---- Thread hooks ---------------------------------------------------------------------------------

LRESULT COXBackgroundPainterOrganizer::BackgroundPainterCbtHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = (HWND)wParam;
    COXBackgroundPainterOrganizer* organizer = nCode >= 0 ? OrganizerOfWindow(hwnd) : nullptr;
    HHOOK next = organizer ? organizer->m_hCbtHook : g_hFirstCbtHook;
    if (organizer) {
        if (nCode == HCBT_DESTROYWND) {
            if (organizer->GetPainter(hwnd))
                organizer->Detach(hwnd, TRUE);
        } else {
            organizer->AttachFound(hwnd);
        }
    }
    return ::CallNextHookEx(next, nCode, wParam, lParam);
}

LRESULT COXBackgroundPainterOrganizer::BackgroundPainterGetMessageHookProc(int nCode, WPARAM wParam,
                                                                                   LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    COXBackgroundPainterOrganizer* organizer = nullptr;
    if (nCode >= 0 && msg)
        organizer = OrganizerOfWindow(msg->hwnd);
    HHOOK next = organizer ? organizer->m_hGetMessageHook : g_hFirstGetMessageHook;
    if (organizer)
        organizer->AttachFound(msg->hwnd);
    return ::CallNextHookEx(next, nCode, wParam, lParam);
}
