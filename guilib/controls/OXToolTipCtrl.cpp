#include "guilib/controls/OXToolTipCtrl.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "platform/user/Resources.h"

IMPLEMENT_DYNAMIC(COXToolTipInfo, CObject)
IMPLEMENT_DYNAMIC(COXToolTipCtrl, CWnd)

namespace {

const UINT_PTR kDelayTimer = 1;
const UINT_PTR kDisplayTimer = 2;
const char* const kTipClass = "OXToolTipCtrl";
const char* const kBlanks = "  ";

// Field `index` of a text split at `sep` (empty when there are fewer fields).
CString Field(const CString& text, int index, char sep) {
    int start = 0;
    for (int i = 0; i < index; ++i) {
        int at = text.Find(sep, start);
        if (at < 0)
            return CString();
        start = at + 1;
    }
    int end = text.Find(sep, start);
    return end < 0 ? text.Mid(start) : text.Mid(start, end - start);
}

bool SameFont(const LOGFONT& a, const LOGFONT& b) {
    return a.lfHeight == b.lfHeight && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
           a.lfUnderline == b.lfUnderline && a.lfStrikeOut == b.lfStrikeOut && a.lfCharSet == b.lfCharSet &&
           std::strcmp(a.lfFaceName, b.lfFaceName) == 0;
}

}  // namespace

COXToolTipCtrl::COXToolTipCtrl() {
    m_LogFont = SystemStatusFont();
}

COXToolTipCtrl::~COXToolTipCtrl() {
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
    if (m_hFont)
        ::DeleteObject(m_hFont);
    for (COXToolTipInfo* info : m_arrTools)
        delete info;
    m_arrTools.clear();
}

LOGFONT COXToolTipCtrl::SystemStatusFont() {
    NONCLIENTMETRICS ncm{};
    ncm.cbSize = sizeof(ncm);
    ::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    return ncm.lfStatusFont;
}

BOOL COXToolTipCtrl::Create(CWnd* pParentWnd) {
    static std::once_flag once;
    std::call_once(once, [] {
        WNDCLASS wc{};
        wc.style = CS_SAVEBITS | CS_CLASSDC;
        wc.lpfnWndProc = ::DefWindowProc;
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = nullptr;
        wc.lpszClassName = kTipClass;
        ::RegisterClass(&wc);
    });
    m_pParentWnd = pParentWnd;
    HWND owner = pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr;
    if (!CWnd::CreateEx(WS_EX_TOPMOST, kTipClass, "", WS_POPUP, 0, 0, 10, 10, owner, nullptr))
        return FALSE;
    LOGFONT lf = SystemStatusFont();
    SetTipFont(&lf, FALSE);
    return TRUE;
}

// ---- Tools ------------------------------------------------------------------------------------------

BOOL COXToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT nIDTool) {
    if (!pWnd || !pWnd->GetSafeHwnd())
        return FALSE;
    auto* info = new COXToolTipInfo;
    info->hWnd = pWnd->GetSafeHwnd();
    info->nIDTool = nIDTool;
    if (lpszText == LPSTR_TEXTCALLBACK) {
        info->nTextMode = -1;
    } else {
        info->nTextMode = 0;
        info->strText = lpszText ? lpszText : "";
    }
    info->nWidth = m_nMaxWidth;
    info->clrTextColor = m_crTextColor;
    info->clrBackColor = m_crBackColor;
    info->lParam = 0;
    HWND owner = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr;
    RECT r;
    if (lpRectTool) {
        r = *lpRectTool;
        ::MapWindowPoints(info->hWnd, owner, reinterpret_cast<LPPOINT>(&r), 2);
    } else {
        ::GetWindowRect(info->hWnd, &r);
        ::MapWindowPoints(nullptr, owner, reinterpret_cast<LPPOINT>(&r), 2);
    }
    info->rectTool = r;
    m_arrTools.push_back(info);
    return TRUE;
}

void COXToolTipCtrl::RemoveTool(CWnd* pWnd, UINT nIDTool) {
    HWND hwnd = pWnd ? pWnd->GetSafeHwnd() : nullptr;
    for (auto it = m_arrTools.begin(); it != m_arrTools.end();) {
        COXToolTipInfo* info = *it;
        if (info->hWnd == hwnd && info->nIDTool == nIDTool) {
            if (info == m_pCurrentTool)
                Hide();
            delete info;
            it = m_arrTools.erase(it);
        } else {
            ++it;
        }
    }
}

BOOL COXToolTipCtrl::HitTest(CWnd* pWnd, POINT pt, OXTOOLINFO* pToolInfo) const {
    HWND hwnd = pWnd ? pWnd->GetSafeHwnd() : nullptr;
    if (!hwnd)
        return FALSE;
    for (COXToolTipInfo* info : m_arrTools) {
        if (!::PtInRect(&info->rectTool, pt))
            continue;
        if (info->hWnd == hwnd) {
            if (pToolInfo) {
                pToolInfo->cbSize = sizeof(OXTOOLINFO);
                pToolInfo->uFlags = 0;
                pToolInfo->hwnd = info->hWnd;
                pToolInfo->uId = info->nIDTool;
                pToolInfo->rect = info->rectTool;
                pToolInfo->hinst = nullptr;
                pToolInfo->lpszText =
                    info->nTextMode == -1 ? LPSTR_TEXTCALLBACK : const_cast<LPSTR>(info->strText.GetString());
                pToolInfo->lParam = info->lParam;
                pToolInfo->nWidth = info->nWidth;
                pToolInfo->clrTextColor = info->clrTextColor;
                pToolInfo->clrBackColor = info->clrBackColor;
            }
            return TRUE;
        }
        if (::IsChild(hwnd, info->hWnd))
            return HitTest(CWnd::FromHandle(info->hWnd), pt, pToolInfo);
    }
    return FALSE;
}

CWnd* COXToolTipCtrl::GetChildWindowFromPoint(POINT pt) const {
    if (!m_pParentWnd || !m_pParentWnd->GetSafeHwnd())
        return nullptr;
    HWND owner = m_pParentWnd->GetSafeHwnd();
    POINT screen = pt;
    ::ClientToScreen(owner, &screen);
    HWND top = ::WindowFromPoint(screen);
    if (!top)
        return nullptr;
    if (top == owner) {
        HWND child = ::ChildWindowFromPointEx(owner, pt, CWP_ALL);
        return child ? CWnd::FromHandle(child) : nullptr;
    }
    return ::IsChild(owner, top) ? CWnd::FromHandle(top) : nullptr;
}

COXToolTipInfo* COXToolTipCtrl::ToolFromPoint(POINT pt) const {
    CWnd* wnd = GetChildWindowFromPoint(pt);
    if (!wnd)
        return nullptr;
    OXTOOLINFO ti{};
    if (!HitTest(wnd, pt, &ti))
        return nullptr;
    return FindToolInfo(CWnd::FromHandle(ti.hwnd), (UINT)ti.uId);
}

COXToolTipInfo* COXToolTipCtrl::FindToolInfo(CWnd* pWnd, UINT nIDTool) const {
    HWND hwnd = pWnd ? pWnd->GetSafeHwnd() : nullptr;
    for (COXToolTipInfo* info : m_arrTools)
        if (info->hWnd == hwnd && info->nIDTool == nIDTool)
            return info;
    return nullptr;
}

POINT COXToolTipCtrl::CursorInOwner() const {
    POINT pt{};
    ::GetCursorPos(&pt);
    if (m_pParentWnd && m_pParentWnd->GetSafeHwnd())
        ::ScreenToClient(m_pParentWnd->GetSafeHwnd(), &pt);
    return pt;
}

BOOL COXToolTipCtrl::IsCursorInTool(COXToolTipInfo* pToolInfo) const {
    if (!pToolInfo)
        return FALSE;
    return HitTest(CWnd::FromHandle(pToolInfo->hWnd), CursorInOwner());
}

BOOL COXToolTipCtrl::IsCursorOverTip() const {
    if (!m_hWnd || !::IsWindowVisible(m_hWnd) || m_bTipCurrentlyHidden)
        return FALSE;
    POINT pt{};
    ::GetCursorPos(&pt);
    RECT r;
    ::GetWindowRect(m_hWnd, &r);
    return ::PtInRect(&r, pt);
}

// ---- Text and font --------------------------------------------------------------------------------

void COXToolTipCtrl::SetTipFont(const LOGFONT* pLogFont, BOOL bRedraw) {
    if (!pLogFont)
        return;
    m_LogFont = *pLogFont;
    m_bUsingSystemFont = SameFont(m_LogFont, SystemStatusFont());
    if (m_hFont)
        ::DeleteObject(m_hFont);
    m_hFont = ::CreateFontIndirect(&m_LogFont);
    if (bRedraw && m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

CString COXToolTipCtrl::GetTipText(COXToolTipInfo* pToolInfo) {
    if (!pToolInfo)
        return CString();
    CString text;
    if (pToolInfo->nTextMode != -1) {
        text = pToolInfo->strText;
    } else if (m_pParentWnd && m_pParentWnd->GetSafeHwnd()) {
        NMTTDISPINFO di{};
        di.hdr.hwndFrom = m_hWnd;
        di.hdr.idFrom = (UINT_PTR)::GetDlgCtrlID(pToolInfo->hWnd);
        di.hdr.code = TTN_NEEDTEXT;
        di.lpszText = nullptr;
        di.hinst = nullptr;
        ::SendMessage(m_pParentWnd->GetSafeHwnd(), WM_NOTIFY, (WPARAM)pToolInfo->nIDTool, (LPARAM)&di);
        if (!di.hinst) {
            if (di.lpszText && di.lpszText != LPSTR_TEXTCALLBACK)
                text = di.lpszText;
            else
                text = CString(di.szText, (int)strnlen(di.szText, sizeof(di.szText)));
        } else {
            char buffer[512];
            if (::LoadString(di.hinst, (UINT)(UINT_PTR)di.lpszText, buffer, (int)sizeof(buffer)) <= 0)
                buffer[0] = 0;
            text = buffer;
        }
    }
    m_bHasExtendedText = text.Find('\r') >= 0;
    if (!m_bHasExtendedText)
        return text;
    if (m_bExtended)
        return CString(kBlanks) + Field(text, 1, '\r');
    return Field(text, 0, '\r') + kBlanks;
}

RECT COXToolTipCtrl::CalcTextRect(const CString& strText, int nMaxWidth) {
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ oldFont = ::SelectObject(dc, m_hFont ? (HGDIOBJ)m_hFont : ::GetStockObject(DEFAULT_GUI_FONT));
    int width = nMaxWidth;
    if (width == 0) {
        // Every line counts, empty ones and those after them included.
        int start = 0;
        for (;;) {
            int end = strText.Find('\n', start);
            CString line = (end < 0 ? strText.Mid(start) : strText.Mid(start, end - start)) + kBlanks;
            SIZE size{};
            ::GetTextExtentPoint32(dc, line, line.GetLength(), &size);
            width = std::max(width, (int)size.cx);
            if (end < 0)
                break;
            start = end + 1;
        }
    }
    RECT r{0, 0, std::max(width, 0), 0};
    ::DrawText(dc, strText, strText.GetLength(), &r, m_nDrawTextFlags | DT_CALCRECT);
    ::SelectObject(dc, oldFont);
    ::ReleaseDC(nullptr, dc);
    r.right += m_rectMargin.left + m_rectMargin.right;
    r.bottom += m_rectMargin.top + m_rectMargin.bottom;
    return r;
}

RECT COXToolTipCtrl::CalcTipRect(POINT pt, COXToolTipInfo* pToolInfo, RECT rectText) {
    RECT r = rectText;
    ::OffsetRect(&r, pt.x - r.left, pt.y - r.top);
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    if (!::GetMonitorInfo(::MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &mi))
        return r;
    const RECT& bounds = mi.rcMonitor;
    if (r.right > bounds.right)
        ::OffsetRect(&r, bounds.right - r.right, 0);
    if (r.left < bounds.left)
        ::OffsetRect(&r, bounds.left - r.left, 0);
    if (r.bottom > bounds.bottom && pToolInfo) {
        RECT tool;
        if (::GetWindowRect(pToolInfo->hWnd, &tool))
            ::OffsetRect(&r, 0, tool.top - r.bottom);
    }
    return r;
}

// ---- Showing --------------------------------------------------------------------------------------

void COXToolTipCtrl::ShowTip(POINT pt, BOOL bExtended) {
    if (!m_bActive || !m_pCurrentTool || !m_hWnd)
        return;
    m_bExtended = bExtended;
    CString text = GetTipText(m_pCurrentTool);
    if (text.IsEmpty())
        return;
    RECT rectText = CalcTextRect(text, m_pCurrentTool->nWidth);
    RECT r = CalcTipRect(pt, m_pCurrentTool, rectText);
    ::ShowWindow(m_hWnd, SW_HIDE);
    ::SetWindowPos(m_hWnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOCOPYBITS);
}

void COXToolTipCtrl::Hide() {
    if (m_hWnd)
        ::ShowWindow(m_hWnd, SW_HIDE);
    m_bTipCurrentlyHidden = TRUE;
    m_pCurrentTool = nullptr;
}

void COXToolTipCtrl::KillTimers() {
    if (m_hWnd) {
        ::KillTimer(m_hWnd, kDelayTimer);
        ::KillTimer(m_hWnd, kDisplayTimer);
    }
}

void COXToolTipCtrl::StartDelay(COXToolTipInfo* pToolInfo) {
    KillTimers();
    if (m_hWnd)
        ::ShowWindow(m_hWnd, SW_HIDE);
    m_bTipCurrentlyHidden = FALSE;
    m_pCurrentTool = pToolInfo;
    if (m_hWnd)
        ::SetTimer(m_hWnd, kDelayTimer, m_nInitDelay, nullptr);
}

void COXToolTipCtrl::RelayEvent(MSG* pMsg) {
    if (!pMsg || !m_hWnd)
        return;
    switch (pMsg->message) {
        case WM_MOUSEMOVE: {
            POINT pt = pMsg->pt;
            if (m_pParentWnd && m_pParentWnd->GetSafeHwnd())
                ::ScreenToClient(m_pParentWnd->GetSafeHwnd(), &pt);
            COXToolTipInfo* tool = ToolFromPoint(pt);
            if (tool) {
                if (tool != m_pCurrentTool && !IsCursorOverTip())
                    StartDelay(tool);
            } else if (!(m_bHasExtendedText && !m_bTipCurrentlyHidden)) {
                m_pCurrentTool = nullptr;
            }
            break;
        }
        case WM_LBUTTONDOWN:
            if (!IsCursorOverTip())
                Hide();
            break;
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK:
        case WM_NCRBUTTONDOWN:
        case WM_NCRBUTTONDBLCLK:
        case WM_NCMBUTTONDOWN:
        case WM_NCMBUTTONDBLCLK:
            Hide();
            break;
        default:
            if (pMsg->message >= 256 && pMsg->message <= 265)
                Hide();
            break;
    }
}

void COXToolTipCtrl::OnTimer(UINT_PTR nIDEvent) {
    if (!m_pCurrentTool || m_bTipCurrentlyHidden) {
        ::KillTimer(m_hWnd, nIDEvent);
        Hide();
        return;
    }
    if (nIDEvent == kDelayTimer) {
        ::KillTimer(m_hWnd, kDelayTimer);
        if (!IsCursorInTool(m_pCurrentTool)) {
            m_pCurrentTool = nullptr;
            return;
        }
        POINT pt{};
        ::GetCursorPos(&pt);
        pt.x += m_ptOffset.x;
        pt.y += m_ptOffset.y;
        ShowTip(pt, FALSE);
        m_nDisplayTime = 0;
        ::SetTimer(m_hWnd, kDisplayTimer, m_nCheckInterval, nullptr);
    } else if (nIDEvent == kDisplayTimer) {
        m_nDisplayTime += m_nCheckInterval;
        COXToolTipInfo* under = ToolFromPoint(CursorInOwner());
        bool otherTool = under && under != m_pCurrentTool;
        bool over = !IsCursorInTool(m_pCurrentTool) || m_nDisplayTime >= m_nDisplayDelay;
        if (otherTool || (over && !IsCursorOverTip())) {
            ::KillTimer(m_hWnd, kDisplayTimer);
            Hide();
        }
    }
}

void COXToolTipCtrl::OnLButtonDown() {
    if (!m_pCurrentTool || m_bTipCurrentlyHidden)
        return;
    if (m_bHasExtendedText) {
        RECT r;
        ::GetWindowRect(m_hWnd, &r);
        ShowTip(POINT{r.left, r.top}, !m_bExtended);
    }
    // The focus goes back only to a window the tip remembered taking it from.
    if (m_hOldFocusWnd && ::IsWindow(m_hOldFocusWnd))
        ::SetFocus(m_hOldFocusWnd);
}

// ---- Painting -------------------------------------------------------------------------------------

void COXToolTipCtrl::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    CString text = m_pCurrentTool ? GetTipText(m_pCurrentTool) : CString();
    if (m_pCurrentTool && !text.IsEmpty()) {
        RECT client;
        ::GetClientRect(m_hWnd, &client);
        COLORREF back = m_pCurrentTool->clrBackColor == CLR_DEFAULT ? ::GetSysColor(COLOR_INFOBK)
                                                                     : m_pCurrentTool->clrBackColor;
        COLORREF fore = m_pCurrentTool->clrTextColor == CLR_DEFAULT ? ::GetSysColor(COLOR_INFOTEXT)
                                                                     : m_pCurrentTool->clrTextColor;
        HBRUSH backBrush = ::CreateSolidBrush(back);
        ::FillRect(dc, &client, backBrush);
        ::DeleteObject(backBrush);
        ::FrameRect(dc, &client, (HBRUSH)::GetStockObject(BLACK_BRUSH));

        HGDIOBJ oldFont = ::SelectObject(dc, m_hFont ? (HGDIOBJ)m_hFont : ::GetStockObject(DEFAULT_GUI_FONT));
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, fore);
        RECT textRect{client.left + m_rectMargin.left, client.top + m_rectMargin.top,
                      client.right - m_rectMargin.right, client.bottom - m_rectMargin.bottom};
        ::DrawText(dc, text, text.GetLength(), &textRect, m_nDrawTextFlags);

        if (m_bHasExtendedText) {
            // A triangle in the room of the two blanks: pointing right at the short text, left at the long.
            TEXTMETRIC tm{};
            ::GetTextMetrics(dc, &tm);
            SIZE blanks{};
            ::GetTextExtentPoint32(dc, kBlanks, 2, &blanks);
            int a = tm.tmAveCharWidth / 2;
            int d = std::max((int)tm.tmDescent, (int)(tm.tmInternalLeading + tm.tmExternalLeading));
            int h = (int)blanks.cy & ~1;
            int top = textRect.top;
            POINT tri[3];
            if (!m_bExtended) {
                int edge = textRect.right - blanks.cx + a;
                tri[0] = POINT{edge, top + d};
                tri[1] = POINT{edge, top + h - d};
                tri[2] = POINT{textRect.right, top + h / 2};
            } else {
                int edge = textRect.left + blanks.cx - a;
                tri[0] = POINT{edge, top + d};
                tri[1] = POINT{edge, top + h - d};
                tri[2] = POINT{textRect.left, top + h / 2};
            }
            HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
            HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(BLACK_BRUSH));
            ::Polygon(dc, tri, 3);
            ::SelectObject(dc, oldBrush);
            ::SelectObject(dc, oldPen);
        }
        ::SelectObject(dc, oldFont);
    }
    ::EndPaint(m_hWnd, &ps);
}

LRESULT COXToolTipCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_TIMER:
            if (wParam == kDelayTimer || wParam == kDisplayTimer) {
                OnTimer(wParam);
                return 0;
            }
            break;
        case WM_LBUTTONDOWN:
            OnLButtonDown();
            return 0;
        case WM_SETFOCUS:
            m_hOldFocusWnd = (HWND)wParam;
            break;
        case WM_DESTROY:
            KillTimers();
            break;
        case WM_SETTINGCHANGE:
            if (m_bUsingSystemFont) {
                LOGFONT lf = SystemStatusFont();
                SetTipFont(&lf, TRUE);
            }
            break;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_SETFONT: {
            CWnd::WindowProc(message, wParam, lParam);
            LOGFONT lf{};
            if (!wParam || ::GetObject((HGDIOBJ)wParam, sizeof(lf), &lf) != (int)sizeof(lf))
                lf = SystemStatusFont();
            SetTipFont(&lf, TRUE);
            return 0;
        }
        case WM_GETFONT:
            return (LRESULT)m_hFont;
        default:
            break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
