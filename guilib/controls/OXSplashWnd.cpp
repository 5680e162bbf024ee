#include "guilib/controls/OXSplashWnd.h"

#include <cstring>
#include <set>
#include <tuple>

#include "platform/base/GlobalMemory.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Controls.h"
#include "platform/user/User.h"
#include "platform/user/WindowRegion.h"

IMPLEMENT_DYNAMIC(COXSplashWnd, CWnd)

BOOL COXSplashWnd::s_bShowSplashWnd = TRUE;

namespace {

const char kClassName[] = "OXSplashWnd";

// Directions clockwise from up-left; y grows downwards.
const POINT kDirections[8] = {{-1, -1}, {0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}};
// Where the search for the next outline pixel starts, by the direction of the last step.
const int kSearchStart[8] = {6, 0, 0, 2, 2, 4, 4, 6};

int ShiftOf(DWORD mask) {
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

BYTE Component(DWORD value, DWORD mask) {
    if (!mask)
        return 0;
    int shift = ShiftOf(mask);
    DWORD max = mask >> shift;
    return (BYTE)(((value & mask) >> shift) * 255 / max);
}

}  // namespace

BOOL COXSplashWndDIB::LoadResource(LPCTSTR resourceName) {
    if (!m_dib.LoadResource(resourceName))
        return FALSE;
    return TakePixels();
}

BOOL COXSplashWndDIB::LoadFile(LPCTSTR path) {
    if (!m_dib.Read(path))
        return FALSE;
    return TakePixels();
}

BOOL COXSplashWndDIB::TakePixels() {
    m_bits.clear();
    m_table.clear();
    m_nWidth = m_nHeight = m_nBitsPixel = 0;
    HGLOBAL block = m_dib.GetHandle();
    SIZE_T blockSize = block ? GlobalSize(block) : 0;
    const BYTE* p = block ? static_cast<const BYTE*>(GlobalLock(block)) : nullptr;
    if (!p || blockSize < sizeof(BITMAPINFOHEADER)) {
        if (p)
            GlobalUnlock(block);
        m_dib.Empty();
        return FALSE;
    }
    BITMAPINFOHEADER h;
    std::memcpy(&h, p, sizeof(h));
    bool ok = h.biSize == sizeof(BITMAPINFOHEADER) && h.biWidth > 0 && h.biHeight != 0 &&
              (h.biCompression == BI_RGB || h.biCompression == BI_BITFIELDS);
    int bits = h.biBitCount;
    ok = ok && (bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32);
    if (ok) {
        m_nWidth = h.biWidth;
        m_nHeight = h.biHeight < 0 ? -h.biHeight : h.biHeight;
        m_bTopDown = h.biHeight < 0;
        m_nBitsPixel = bits;
        m_nStride = ((size_t)bits * (size_t)m_nWidth + 31) / 32 * 4;
        size_t tableBytes = m_dib.PaletteSize();
        size_t offset = sizeof(BITMAPINFOHEADER) + tableBytes;
        size_t image = m_nStride * (size_t)m_nHeight;
        ok = offset <= blockSize && image <= blockSize - offset;
        if (ok) {
            const BYTE* table = p + sizeof(BITMAPINFOHEADER);
            if (h.biCompression == BI_BITFIELDS) {
                for (int i = 0; i < 3; ++i)
                    std::memcpy(&m_masks[i], table + 4 * i, 4);
            } else if (bits == 16) {
                m_masks[0] = 0x7C00;
                m_masks[1] = 0x03E0;
                m_masks[2] = 0x001F;
            } else {
                m_masks[0] = 0x00FF0000;
                m_masks[1] = 0x0000FF00;
                m_masks[2] = 0x000000FF;
                for (size_t i = 0; i + 4 <= tableBytes; i += 4)
                    m_table.push_back(RGB(table[i + 2], table[i + 1], table[i]));
            }
            m_bits.assign(p + offset, p + offset + image);
        }
    }
    GlobalUnlock(block);
    if (!ok) {
        m_nWidth = m_nHeight = 0;
        m_dib.Empty();
    }
    return ok;
}

COLORREF COXSplashWndDIB::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight)
        return CLR_INVALID;
    size_t row = m_bTopDown ? (size_t)y : (size_t)(m_nHeight - 1 - y);
    const BYTE* r = m_bits.data() + row * m_nStride;
    switch (m_nBitsPixel) {
        case 24: {
            const BYTE* px = r + (size_t)x * 3;
            return RGB(px[2], px[1], px[0]);
        }
        case 32:
        case 16: {
            DWORD v = 0;
            if (m_nBitsPixel == 32)
                std::memcpy(&v, r + (size_t)x * 4, 4);
            else
                v = (DWORD)r[(size_t)x * 2] | ((DWORD)r[(size_t)x * 2 + 1] << 8);
            return RGB(Component(v, m_masks[0]), Component(v, m_masks[1]), Component(v, m_masks[2]));
        }
        default: {
            size_t bitPos = (size_t)x * (size_t)m_nBitsPixel;
            BYTE byte = r[bitPos / 8];
            int shift = 8 - m_nBitsPixel - (int)(bitPos % 8);
            size_t index = (size_t)((byte >> shift) & ((1 << m_nBitsPixel) - 1));
            return index < m_table.size() ? m_table[index] : CLR_INVALID;
        }
    }
}

void COXSplashWndDIB::Draw(CDC* dc) const {
    SIZE size = GetSize();
    RECT rc{0, 0, size.cx, size.cy};
    const_cast<COXDIB&>(m_dib).Paint(dc, rc, rc);
}

COXSplashWnd::COXSplashWnd()
    : m_nDisplayTime(OXSPLASH_DEFAULT_DISPLAY_TIME), m_bAutoDelete(FALSE), m_crKey(OXSPLASH_KEY_NONE), m_nKeyRed(0),
      m_nKeyGreen(0), m_nKeyBlue(0), m_nTolerance(0), m_bUserCancel(TRUE), m_bClosing(FALSE) {}

COXSplashWnd::~COXSplashWnd() {
    m_bAutoDelete = FALSE;
    if (::IsWindow(m_hWnd))
        DestroyWindow();
    if (::IsWindow(m_wndInvisible.GetSafeHwnd()))
        m_wndInvisible.DestroyWindow();
}

BOOL COXSplashWnd::LoadBitmap(UINT nResourceID, COLORREF crKey, const POINT* pKeyPoint, BYTE nTolerance) {
    return LoadBitmap(MAKEINTRESOURCE(nResourceID), crKey, pKeyPoint, nTolerance);
}

BOOL COXSplashWnd::LoadBitmap(LPCTSTR resourceName, COLORREF crKey, const POINT* pKeyPoint, BYTE nTolerance) {
    return AfterLoad(m_dib.LoadResource(resourceName), crKey, pKeyPoint, nTolerance);
}

BOOL COXSplashWnd::LoadBitmapFile(LPCTSTR path, COLORREF crKey, const POINT* pKeyPoint, BYTE nTolerance) {
    return AfterLoad(m_dib.LoadFile(path), crKey, pKeyPoint, nTolerance);
}

BOOL COXSplashWnd::AfterLoad(BOOL bLoaded, COLORREF crKey, const POINT* pKeyPoint, BYTE nTolerance) {
    if (!bLoaded)
        return FALSE;
    m_crKey = crKey;
    m_nTolerance = nTolerance;
    if (crKey == OXSPLASH_KEY_NONE) {
        m_rgn.DeleteObject();
        return TRUE;
    }
    POINT pt = pKeyPoint ? *pKeyPoint : POINT{0, 0};
    if (crKey == OXSPLASH_KEY_FROM_POINT) {
        COLORREF c = m_dib.GetPixel(pt.x, pt.y);
        if (c == CLR_INVALID)
            c = m_dib.GetPixel(0, 0);
        m_crKey = c;
    }
    m_nKeyRed = GetRValue(m_crKey);
    m_nKeyGreen = GetGValue(m_crKey);
    m_nKeyBlue = GetBValue(m_crKey);
    if (!BuildRegion(pt)) {
        m_rgn.DeleteObject();
        return FALSE;
    }
    return TRUE;
}

BOOL COXSplashWnd::IsBackground(int x, int y, BOOL bOutside) const {
    COLORREF c = m_dib.GetPixel(x, y);
    if (x < 0 || y < 0 || c == CLR_INVALID) {
        SIZE size = m_dib.GetSize();
        if (x < 0 || y < 0 || x >= size.cx || y >= size.cy)
            return bOutside;
    }
    auto near = [&](int a, int b) { return (a > b ? a - b : b - a) <= m_nTolerance; };
    return near(GetRValue(c), m_nKeyRed) && near(GetGValue(c), m_nKeyGreen) && near(GetBValue(c), m_nKeyBlue);
}

BOOL COXSplashWnd::BuildRegion(POINT /*ptStart*/) {
    m_rgn.DeleteObject();
    SIZE size = m_dib.GetSize();
    if (size.cx <= 0 || size.cy <= 0)
        return FALSE;
    auto inside = [&](POINT p) { return p.x >= 0 && p.y >= 0 && p.x < size.cx && p.y < size.cy; };

    // The first pixel of the outline: a diagonal walk from the corner towards the centre, else a scan.
    POINT start{0, 0};
    if (IsBackground(0, 0, TRUE)) {
        int sx = 0 < size.cx / 2 ? 1 : -1, sy = 0 < size.cy / 2 ? 1 : -1;
        while (inside(start) && IsBackground(start.x, start.y, FALSE)) {
            start.x += sx;
            start.y += sy;
        }
    }
    if (!inside(start)) {
        bool found = false;
        for (int y = 0; y < size.cy && !found; ++y)
            for (int x = 0; x < size.cx && !found; ++x)
                if (!IsBackground(x, y, TRUE)) {
                    start = POINT{x, y};
                    found = true;
                }
        if (!found)
            return FALSE;
    }

    std::vector<POINT> points;
    POINT current{};
    int dir = -1;
    for (int d = 0; d < 8; ++d) {
        POINT n{start.x + kDirections[d].x, start.y + kDirections[d].y};
        if (!IsBackground(n.x, n.y, TRUE)) {
            current = n;
            dir = d;
            break;
        }
    }
    if (dir < 0)
        return FALSE;
    const POINT end = current;
    points.push_back(current);

    // A point reached again in the same direction would repeat the trace for ever.
    std::set<std::tuple<int, int, int>> seen;
    seen.insert({current.x, current.y, dir});
    for (;;) {
        int next = -1;
        POINT n{};
        for (int i = 0; i < 7; ++i) {
            int d = (kSearchStart[dir] + i) % 8;
            n = POINT{current.x + kDirections[d].x, current.y + kDirections[d].y};
            if (!IsBackground(n.x, n.y, TRUE)) {
                next = d;
                break;
            }
        }
        if (next < 0)
            return FALSE;
        if (next == dir)
            points.back() = n;
        else
            points.push_back(n);
        current = n;
        dir = next;
        if (current.x == end.x && current.y == end.y)
            break;
        if (!seen.insert({current.x, current.y, dir}).second)
            return FALSE;
    }
    HRGN rgn = ::CreatePolygonRgn(points.data(), (int)points.size(), ALTERNATE);
    if (!rgn)
        return FALSE;
    m_rgn.Attach(rgn);
    return TRUE;
}

BOOL COXSplashWnd::Show(int nDisplayTime, CWnd* pParentWnd, const POINT* pPos) {
    if (m_dib.IsEmpty())
        return FALSE;
    m_nDisplayTime = (nDisplayTime < 1 && nDisplayTime != -1) ? OXSPLASH_DEFAULT_DISPLAY_TIME : nDisplayTime;
    if (::IsWindow(m_hWnd))
        CloseSplash();

    WNDCLASS wc{};
    if (!::GetClassInfo(nullptr, kClassName, &wc)) {
        wc.lpfnWndProc = ::DefWindowProc;
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = kClassName;
        ::RegisterClass(&wc);
    }
    DWORD exStyle = WS_EX_TOPMOST;
    HWND hOwner = pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr;
    if (!hOwner) {
        // An invisible owner keeps the splash off the task bar.
        if (m_wndInvisible.CreateEx(WS_EX_TOPMOST, kClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr))
            hOwner = m_wndInvisible.GetSafeHwnd();
        else
            exStyle |= WS_EX_TOOLWINDOW;
    }
    SIZE size = m_dib.GetSize();
    m_bClosing = FALSE;
    if (!CreateEx(exStyle, kClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, size.cx, size.cy, hOwner, nullptr)) {
        if (::IsWindow(m_wndInvisible.GetSafeHwnd()))
            m_wndInvisible.DestroyWindow();
        if (m_bAutoDelete)
            delete this;
        return FALSE;
    }
    ::SetFocus(m_hWnd);
    if (pPos)
        ::SetWindowPos(m_hWnd, nullptr, pPos->x, pPos->y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    else
        ::UpdateWindow(m_hWnd);
    return TRUE;
}

BOOL COXSplashWnd::Hide(int nDelay) {
    if (nDelay > 0) {
        m_nDisplayTime = nDelay;
        if (::IsWindow(m_hWnd))
            ::SetTimer(m_hWnd, IDT_OXSPLASH_CLOSE, (UINT)nDelay, nullptr);
        return TRUE;
    }
    if (::IsWindow(m_hWnd))
        CloseSplash();
    m_nDisplayTime = 0;
    return TRUE;
}

void COXSplashWnd::CloseSplash() {
    if (m_bClosing || !::IsWindow(m_hWnd))
        return;
    m_bClosing = TRUE;
    ::ShowWindow(m_hWnd, SW_HIDE);
    ::KillTimer(m_hWnd, IDT_OXSPLASH_CLOSE);
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (m_bAutoDelete) {
        // The object goes with its window; its destructor takes the invisible owner along.
        DestroyWindow();
        return;
    }
    // Destroying the owner takes the splash with it.
    if (::IsWindow(m_wndInvisible.GetSafeHwnd()))
        m_wndInvisible.DestroyWindow();
    if (::IsWindow(m_hWnd))
        DestroyWindow();
}

BOOL COXSplashWnd::PreTranslateMessage(MSG* pMsg) {
    if (m_bUserCancel && ::IsWindow(m_hWnd) &&
        ((pMsg->message >= 0x0201 && pMsg->message <= 0x020E) || (pMsg->message >= 0x0100 && pMsg->message <= 0x0109))) {
        CloseSplash();
        return TRUE;
    }
    return CWnd::PreTranslateMessage(pMsg);
}

LRESULT COXSplashWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            LRESULT result = CWnd::WindowProc(message, wParam, lParam);
            if (result == -1)
                return result;
            if (m_rgn.GetSafeHandle()) {
                HRGN copy = ::CreateRectRgn(0, 0, 0, 0);
                ::CombineRgn(copy, (HRGN)m_rgn.GetSafeHandle(), nullptr, RGN_COPY);
                ::SetWindowRgn(m_hWnd, copy, FALSE);
            }
            // Centred on the owner, or on the screen.
            RECT rcWnd{}, rcArea{};
            ::GetWindowRect(m_hWnd, &rcWnd);
            HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
            if (owner && owner != m_wndInvisible.GetSafeHwnd() && ::IsWindowVisible(owner))
                ::GetWindowRect(owner, &rcArea);
            else
                ::GetWindowRect(::GetDesktopWindow(), &rcArea);
            int w = rcWnd.right - rcWnd.left, h = rcWnd.bottom - rcWnd.top;
            ::SetWindowPos(m_hWnd, nullptr, (rcArea.left + rcArea.right - w) / 2, (rcArea.top + rcArea.bottom - h) / 2,
                           0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            if (m_nDisplayTime != -1)
                ::SetTimer(m_hWnd, IDT_OXSPLASH_CLOSE, (UINT)m_nDisplayTime, nullptr);
            ::SetCapture(m_hWnd);
            ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
            return result;
        }
        case WM_TIMER:
            if (wParam == IDT_OXSPLASH_CLOSE) {
                CloseSplash();
                return 0;
            }
            break;
        case WM_PAINT: {
            PAINTSTRUCT ps{};
            HDC hdc = ::BeginPaint(m_hWnd, &ps);
            CDC dc;
            dc.Attach(hdc);
            m_dib.Draw(&dc);
            dc.Detach();
            ::EndPaint(m_hWnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            return TRUE;
        default:
            break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void COXSplashWnd::PostNcDestroy() {
    m_bClosing = FALSE;
    if (m_bAutoDelete)
        delete this;
}
