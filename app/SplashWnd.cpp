#include "app/SplashWnd.h"

#include <cairo.h>

#include "platform/framework/app/WinThread.h"
#include "platform/user/Resources.h"
#include "res/veltrin/resource.h"

namespace {
BOOL g_splashEnabled = FALSE;
CSplashWnd* g_splash = nullptr;
const COLORREF kDarkBlue = 0x640000;
}  // namespace

void CSplashWnd::EnableSplashScreen(BOOL enable) { g_splashEnabled = enable; }

CSplashWnd* CSplashWnd::Current() { return g_splash; }

void CSplashWnd::ShowSplashScreen(CWnd* parent, LPCTSTR title) {
    if (!g_splashEnabled || g_splash)
        return;
    auto* splash = new CSplashWnd;
    splash->m_csTitle = title;
    g_splash = splash;
    if (!splash->Create(parent)) {
        g_splash = nullptr;
        delete splash;
        return;
    }
    // Painted now: the start sleeps while the splash is up.
    splash->UpdateWindow();
}

void CSplashWnd::HideSplashScreen() {
    if (g_splash)
        g_splash->DestroyWindow();
    if (CWnd* main = AfxGetMainWnd(); main && main->m_hWnd)
        main->UpdateWindow();
}

CSplashWnd::~CSplashWnd() {
    if (m_hBitmap)
        DeleteObject(m_hBitmap);
    if (g_splash == this)
        g_splash = nullptr;
}

BOOL CSplashWnd::Create(CWnd* parent) {
    m_hBitmap = LoadBitmap(nullptr, MAKEINTRESOURCE(IDB_SPLASH));
    if (!m_hBitmap)
        return FALSE;
    cairo_surface_t* s = GetBitmapSurface(m_hBitmap);
    m_size = SIZE{cairo_image_surface_get_width(s), cairo_image_surface_get_height(s)};
    int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    int x = (cx - m_size.cx) / 2;
    // Centred, or on a screen taller than wide with its centre at three quarters of the height.
    int y = cx >= cy ? (cy - m_size.cy) / 2 : cy * 3 / 4 - m_size.cy / 2;
    return CreateEx(0, AfxWndClassName(), "Veltrin", WS_POPUP | WS_VISIBLE, x, y, m_size.cx, m_size.cy,
                    parent ? parent->m_hWnd : nullptr, nullptr);
}

void CSplashWnd::PostNcDestroy() { delete this; }

LRESULT CSplashWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_hWnd, &ps);
        Paint(dc);
        EndPaint(m_hWnd, &ps);
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CSplashWnd::Paint(HDC dc) {
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, m_hBitmap);
    BitBlt(dc, 0, 0, m_size.cx, m_size.cy, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kDarkBlue);
    CString name = m_csTitle;
    int bar = name.Find('|');
    if (bar >= 0)
        name = name.Left(bar);
    HFONT big = CreateFont(-26, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    HFONT small = CreateFont(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    HGDIOBJ oldFont = SelectObject(dc, big);
    SetTextAlign(dc, TA_LEFT | TA_BASELINE);
    TextOut(dc, 24, 52, name, name.GetLength());
    SelectObject(dc, small);
    const char product[] = "Log analyser for QBroker and QServer logs";
    const char formats[] = "Supports r7.x and r12.x Log Formats";
    TextOut(dc, 24, 80, product, (int)sizeof product - 1);
    TextOut(dc, 24, 100, formats, (int)sizeof formats - 1);
    SetTextAlign(dc, TA_CENTER | TA_BASELINE);
    const char loading[] = "Loading...";
    TextOut(dc, m_size.cx / 2, m_size.cy - 20, loading, (int)sizeof loading - 1);
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    SelectObject(dc, oldFont);
    DeleteObject(big);
    DeleteObject(small);
}
