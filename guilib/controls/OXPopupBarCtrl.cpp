#include "guilib/controls/OXPopupBarCtrl.h"

#include <algorithm>

#include "platform/framework/app/WinThread.h"
#include "platform/framework/gdi/DC.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Controls.h"
#include "platform/user/Messages.h"
#include "platform/user/User.h"

IMPLEMENT_DYNAMIC(COXPopupBarCtrl, CWnd)

namespace {

const char kClassName[] = "PopupBarControl";
const int kTearOffBarHeight = 6;
const int kTearOffFrame = 3;  // thickness of the frame dragged when tearing off
// Mini frame style: the floating bar's caption follows the activation of its owner.
const DWORD kSyncActive = 0x0100;
// WM_FLOATSTATUS requests and the keep-active window flag, as mini frames use them.
const WPARAM kFsShow = 0x01, kFsHide = 0x02, kFsActivate = 0x04, kFsDeactivate = 0x08, kFsEnable = 0x10,
             kFsDisable = 0x20, kFsSyncActive = 0x40;
const UINT kKeepMiniActive = 0x0200;

// The messages the bar posts to itself, registered once by name.
struct PopupBarMessages {
    UINT ok = ::RegisterWindowMessage("_POPUPBAR_OK_");
    UINT cancel = ::RegisterWindowMessage("_POPUPBAR_CANCEL_");
    UINT custom = ::RegisterWindowMessage("_POPUPBAR_CUSTOMBUTTONPICKED_");
    UINT tearOff = ::RegisterWindowMessage("_POPUPBAR_TEAROFF_");
};
const PopupBarMessages& Messages() {
    static PopupBarMessages messages;
    return messages;
}

bool Inside(const RECT& rc, POINT pt) {
    return pt.x >= rc.left && pt.x < rc.right && pt.y >= rc.top && pt.y < rc.bottom;
}

bool IsEmptyRect(const RECT& rc) {
    return rc.right <= rc.left || rc.bottom <= rc.top;
}

RECT Shrunk(RECT rc, int by) {
    rc.left += by;
    rc.top += by;
    rc.right -= by;
    rc.bottom -= by;
    return rc;
}

void Frame3d(HDC dc, const RECT& rc, COLORREF topLeft, COLORREF bottomRight) {
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    auto fill = [&](int x, int y, int cx, int cy, COLORREF c) {
        RECT r{x, y, x + cx, y + cy};
        HBRUSH b = ::CreateSolidBrush(c);
        ::FillRect(dc, &r, b);
        ::DeleteObject(b);
    };
    fill(rc.left, rc.top, w - 1, 1, topLeft);
    fill(rc.left, rc.top, 1, h - 1, topLeft);
    fill(rc.right - 1, rc.top, 1, h, bottomRight);
    fill(rc.left, rc.bottom - 1, w, 1, bottomRight);
}

}  // namespace

COXPopupBarCtrl::COXPopupBarCtrl(UINT nButtons, UINT nRows, DWORD dwDefault, int nButtonWidth, int nButtonHeight,
                                 UINT nDefaultTextID, UINT nCustomTextID)
    : m_nButtons(nButtons), m_nRows(std::max(1u, nRows)), m_dwPopupBarStyle(0), m_dwSelected(0xFFFFFFFF),
      m_dwDefault(dwDefault), m_nButtonWidth(nButtonWidth), m_nButtonHeight(nButtonHeight), m_pParentWnd(nullptr),
      m_lastMouseDown{}, m_bTracking(FALSE), m_ptLastMouse{-1, -1}, m_rectMargins{4, 2, 4, 2},
      m_rectButtonSpacing{0, 0, 0, 0}, m_rectDefaultButtonMargins{0, 0, 0, 2}, m_rectCustomButtonMargins{0, 2, 0, 0},
      m_rectTearOffBarMargins{2, -1, 2, 2}, m_nSelectedIndex(-1), m_nHotIndex(-1), m_rectWindow{},
      m_rectDefaultButton{}, m_rectCustomButton{}, m_rectTearOffBar{}, m_bPressed(FALSE), m_bTearOffArmed(FALSE),
      m_bTornOff(FALSE), m_nOutcome(0), m_hbrBackground(nullptr), m_hTearOffDC(nullptr), m_bTearOffLocked(FALSE),
      m_ptTearOffLast{0, 0}, m_rectTearOffFrame{}, m_rectTearOffLast{}, m_sizeTearOffLast{0, 0} {
    if (nDefaultTextID)
        m_sDefaultButtonText = AfxLoadString(nDefaultTextID);
    if (nCustomTextID)
        m_sCustomButtonText = AfxLoadString(nCustomTextID);
    Messages();
}

COXPopupBarCtrl::~COXPopupBarCtrl() {
    m_arrValues.RemoveAll();
    m_mapToolTips.RemoveAll();
    m_arrButtonRect.RemoveAll();
    m_font.DeleteObject();
    if (::IsWindow(m_hWnd))
        DestroyWindow();
}

UINT COXPopupBarCtrl::GetNumColumns() const {
    return (m_nButtons + m_nRows - 1) / m_nRows;
}

BOOL COXPopupBarCtrl::Create(CWnd* pParentWnd, DWORD dwPopupBarStyle, HBRUSH hbrBackground) {
    m_pParentWnd = pParentWnd;
    m_dwPopupBarStyle = dwPopupBarStyle;
    m_hbrBackground = hbrBackground ? hbrBackground : ::GetSysColorBrush(COLOR_BTNFACE);
    WNDCLASS wc{};
    if (!::GetClassInfo(nullptr, kClassName, &wc)) {
        wc.style = CS_SAVEBITS;
        wc.lpfnWndProc = ::DefWindowProc;
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = m_hbrBackground;
        wc.lpszClassName = kClassName;
        if (!::RegisterClass(&wc))
            return FALSE;
    }
    DWORD style = WS_POPUP, exStyle = WS_EX_DLGMODALFRAME;
    if (m_bTornOff) {
        style = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | 0x100;
        exStyle = WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW;
    }
    HWND hParent = pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr;
    if (!CreateEx(exStyle, kClassName, m_sFloatingCaption, style, 0, 0, 0, 0, hParent, nullptr))
        return FALSE;
    if (!::SetTimer(m_hWnd, IDT_OXPB_CHECKMOUSE, OXPB_CHECKMOUSE_PERIOD, nullptr) || !m_ctlToolTip.Create(this)) {
        DestroyWindow();
        return FALSE;
    }
    if (style & WS_SYSMENU) {
        // A floating bar keeps its size: its system menu only moves and closes it.
        if (HMENU menu = ::GetSystemMenu(m_hWnd, FALSE))
            for (UINT cmd : {SC_RESTORE, SC_MINIMIZE, SC_MAXIMIZE, SC_SIZE})
                ::DeleteMenu(menu, cmd, MF_BYCOMMAND);
    }
    return TRUE;
}

BOOL COXPopupBarCtrl::SetButtonValues(const DWORD* pValues, UINT nCount) {
    if (m_bTornOff && ::IsWindow(m_hWnd))
        ShowWindow(SW_HIDE);
    m_arrValues.RemoveAll();
    for (UINT i = 0; i < nCount; ++i)
        m_arrValues.Add(pValues[i]);
    return TRUE;
}

BOOL COXPopupBarCtrl::SetToolTipTexts(const ButtonToolTipIDTable* pTable, UINT nCount) {
    m_mapToolTips.RemoveAll();
    for (UINT i = 0; i < nCount; ++i) {
        CString text = AfxLoadString(pTable[i].nID);
        m_mapToolTips[pTable[i].dwValue] = text;
    }
    return TRUE;
}

BOOL COXPopupBarCtrl::CalcWindowSize() {
    m_rectWindow = m_rectDefaultButton = m_rectCustomButton = m_rectTearOffBar = RECT{0, 0, 0, 0};
    m_arrButtonRect.RemoveAll();
    const int K = (int)GetNumColumns(), R = (int)m_nRows, W = m_nButtonWidth, H = m_nButtonHeight;
    const int FX = ::GetSystemMetrics(SM_CXFIXEDFRAME), FY = ::GetSystemMetrics(SM_CYFIXEDFRAME);
    const OXPB_MARGINS &sp = m_rectButtonSpacing, &m = m_rectMargins, &t = m_rectTearOffBarMargins,
                       &d = m_rectDefaultButtonMargins, &c = m_rectCustomButtonMargins;
    const int smallCaption = m_bTornOff ? ::GetSystemMetrics(SM_CYSMCAPTION) : 0;

    int width = K * (sp.left + sp.right + W) + 2 * FX + m.left + m.right;
    int height = R * (sp.top + sp.bottom + H) + 2 * FY + m.top + m.bottom + smallCaption;

    if (!m_font.GetSafeHandle()) {
        NONCLIENTMETRICS ncm{};
        ncm.cbSize = sizeof(ncm);
        ::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
        m_font.CreateFontIndirect(&ncm.lfMessageFont);
    }
    auto textHeight = [&](const CString& text) {
        HDC dc = ::GetDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc, m_font.GetSafeHandle());
        RECT rc{0, 0, 0, 0};
        ::DrawText(dc, text.IsEmpty() ? " " : (LPCTSTR)text, text.IsEmpty() ? 1 : text.GetLength(), &rc,
                   DT_CALCRECT);
        ::SelectObject(dc, old);
        ::ReleaseDC(nullptr, dc);
        return rc.bottom - rc.top;
    };

    const bool bTearOff = !(m_dwPopupBarStyle & POPUPBAR_NOTEAROFF) && !m_bTornOff;
    const int tearOffBand = t.top + kTearOffBarHeight + t.bottom;
    if (bTearOff) {
        m_rectTearOffBar.left = m.left + t.left;
        m_rectTearOffBar.top = m.top + t.top;
        m_rectTearOffBar.right = m_rectTearOffBar.left + width - 2 * FX - m.left - m.right - t.left - t.right;
        m_rectTearOffBar.bottom = m_rectTearOffBar.top + kTearOffBarHeight;
        height += tearOffBand;
    }
    int defaultBand = 0;
    if (!(m_dwPopupBarStyle & POPUPBAR_NODEFAULT)) {
        int bh = textHeight(m_sDefaultButtonText) + 8;
        m_rectDefaultButton.left = m.left + d.left;
        m_rectDefaultButton.top = m.top + d.top + (bTearOff ? tearOffBand : 0);
        m_rectDefaultButton.right = m_rectDefaultButton.left + width - 2 * FX - m.left - m.right - d.left - d.right;
        m_rectDefaultButton.bottom = m_rectDefaultButton.top + bh;
        defaultBand = d.top + bh + d.bottom;
        height += defaultBand;
    }
    if (!(m_dwPopupBarStyle & POPUPBAR_NOCUSTOM)) {
        int bh = textHeight(m_sCustomButtonText) + 8;
        m_rectCustomButton.left = m.left + c.left;
        m_rectCustomButton.top = height - 2 * FY - m.top + c.top - smallCaption;
        m_rectCustomButton.right = m_rectCustomButton.left + width - 2 * FX - m.left - m.right - c.left - c.right;
        m_rectCustomButton.bottom = m_rectCustomButton.top + bh;
        height += c.top + bh + c.bottom;
    }

    int x0 = m.left + sp.left, y0 = m.top + sp.top + defaultBand + (bTearOff ? tearOffBand : 0);
    for (int r = 0; r < R; ++r)
        for (int k = 0; k < K; ++k) {
            if (r * K + k >= (int)m_nButtons)
                continue;
            RECT rc;
            rc.left = x0 + k * (sp.left + sp.right + W);
            rc.top = y0 + r * (sp.top + sp.bottom + H);
            rc.right = rc.left + W;
            rc.bottom = rc.top + H;
            m_arrButtonRect.Add(rc);
        }
    m_rectWindow = RECT{0, 0, width, height};
    return TRUE;
}

BOOL COXPopupBarCtrl::AdjustWindowPosition(UINT nAlignment, const RECT& base, int dx, int dy) {
    RECT area{};
    CWnd* pMain = AfxGetMainWnd();
    if (pMain && ::IsWindow(pMain->GetSafeHwnd()) &&
        (::GetWindowLongPtr(pMain->GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST))
        ::GetWindowRect(::GetDesktopWindow(), &area);
    else
        ::SystemParametersInfo(SPI_GETWORKAREA, 0, &area, 0);
    int w = m_rectWindow.right - m_rectWindow.left, h = m_rectWindow.bottom - m_rectWindow.top;
    if (w > area.right - area.left || h > area.bottom - area.top)
        return FALSE;
    int x = 0, y = 0;
    switch (nAlignment) {
        case 0: x = base.left - w - dx; y = base.top + dy; break;
        case 1: x = base.right + dx; y = base.top + dy; break;
        case 2: x = base.left + dx; y = base.top - h - dy; break;
        case 3: x = base.left + dx; y = base.bottom + dy; break;
        case 4: x = base.left - w - dx; y = base.bottom - h - dy; break;
        case 5: x = base.right + dx; y = base.bottom - h - dy; break;
        case 6: x = base.right - w - dx; y = base.top - h - dy; break;
        case 7: x = base.right - w - dx; y = base.bottom + dy; break;
        default: break;
    }
    m_rectWindow = RECT{x, y, x + w, y + h};
    return TRUE;
}

BOOL COXPopupBarCtrl::PopulateToolTip() {
    if (!::IsWindow(m_ctlToolTip.GetSafeHwnd()))
        return FALSE;
    for (int id = 1, count = m_ctlToolTip.GetToolCount(); id <= count; ++id)
        m_ctlToolTip.DelTool(this, (UINT_PTR)id);
    for (int i = 0; i < (int)m_arrButtonRect.GetSize(); ++i) {
        CString text;
        if (i < (int)m_arrValues.GetSize() && m_mapToolTips.Lookup(m_arrValues[i], text))
            m_ctlToolTip.AddTool(this, text, &m_arrButtonRect[i], (UINT_PTR)(i + 1));
    }
    UINT_PTR n = m_nButtons;
    if (!IsEmptyRect(m_rectDefaultButton))
        m_ctlToolTip.AddTool(this, m_sDefaultButtonText, &m_rectDefaultButton, n + 1);
    if (!IsEmptyRect(m_rectCustomButton))
        m_ctlToolTip.AddTool(this, m_sCustomButtonText, &m_rectCustomButton, n + 2);
    if (!IsEmptyRect(m_rectTearOffBar))
        m_ctlToolTip.AddTool(this, m_sTearOffToolTip, &m_rectTearOffBar, n + 3);
    return TRUE;
}

BOOL COXPopupBarCtrl::Pick(UINT nAlignment, const RECT* pParentRect, int nOffsetX, int nOffsetY) {
    if (m_bTornOff || !::IsWindow(m_hWnd)) {
        if (::IsWindow(m_ctlToolTip.GetSafeHwnd()))
            m_ctlToolTip.DestroyWindow();
        if (::IsWindow(m_hWnd))
            DestroyWindow();
        m_bTornOff = FALSE;
        if (!Create(m_pParentWnd, m_dwPopupBarStyle, m_hbrBackground))
            return FALSE;
    }
    while ((UINT)m_arrValues.GetSize() < m_nButtons)
        m_arrValues.Add(0);
    RECT base{};
    if (pParentRect)
        base = *pParentRect;
    else if (m_pParentWnd && ::IsWindow(m_pParentWnd->GetSafeHwnd()))
        ::GetWindowRect(m_pParentWnd->GetSafeHwnd(), &base);
    if (!CalcWindowSize() || !AdjustWindowPosition(nAlignment, base, nOffsetX, nOffsetY))
        return FALSE;

    m_nHotIndex = -1;
    m_nSelectedIndex = -1;
    if (m_dwSelected != 0xFFFFFFFF) {
        if (!(m_dwPopupBarStyle & POPUPBAR_NODEFAULT) && m_dwSelected == m_dwDefault) {
            m_nSelectedIndex = 0;
        } else {
            for (UINT i = 0; i < m_nButtons; ++i)
                if (m_arrValues[i] == m_dwSelected) {
                    m_nSelectedIndex = (int)i + 1;
                    break;
                }
            if (m_nSelectedIndex < 0 && !(m_dwPopupBarStyle & POPUPBAR_NOCUSTOM))
                m_nSelectedIndex = (int)m_nButtons + 1;
        }
    }
    if (!PopulateToolTip())
        return FALSE;
    m_ctlToolTip.Activate(!(m_dwPopupBarStyle & POPUPBAR_NOTOOLTIP));

    SetWindowPos(nullptr, m_rectWindow.left, m_rectWindow.top, m_rectWindow.right - m_rectWindow.left,
                 m_rectWindow.bottom - m_rectWindow.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(SW_SHOWNA);
    HWND hFocus = ::GetFocus();
    ::SetFocus(nullptr);
    HWND hPrevCapture = ::SetCapture(m_hWnd);
    m_bPressed = FALSE;
    m_bTearOffArmed = FALSE;
    m_nOutcome = 0;
    m_ptLastMouse = POINT{-1, -1};

    const PopupBarMessages& msgs = Messages();
    MSG lastDown{};        // the last left press seen by the loop
    bool upAfterDown = false;  // its release was consumed by the loop too
    bool endedByQuit = false;
    while (m_nOutcome == 0) {
        MSG msg{};
        if (!::GetMessage(&msg, nullptr, 0, 0)) {
            // The program is quitting: pass the quit on and cancel.
            ::PostQuitMessage((int)msg.wParam);
            m_nOutcome = 2;
            endedByQuit = true;
            break;
        }
        if (::IsWindow(m_ctlToolTip.GetSafeHwnd()))
            m_ctlToolTip.RelayEvent(&msg);
        if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST)
            m_ptTearOffLast = msg.pt;  // where a tear-off starts
        if (::GetCapture() != m_hWnd)
            break;
        if (msg.message == WM_SYSKEYUP) {
            OnKeyUp((UINT)msg.wParam);
        } else if (msg.message == WM_SYSKEYDOWN) {
            OnKeyDown((UINT)msg.wParam);
        } else if (msg.hwnd == m_hWnd && msg.message == msgs.ok) {
            m_nOutcome = 1;
        } else if (msg.hwnd == m_hWnd && msg.message == msgs.cancel) {
            m_nOutcome = 2;
        } else if (msg.hwnd == m_hWnd && msg.message == msgs.custom) {
            m_nOutcome = 3;
            break;
        } else if (msg.hwnd == m_hWnd && msg.message == msgs.tearOff) {
            m_nOutcome = 4;
            break;
        } else {
            ::TranslateMessage(&msg);
            ::DispatchMessage(&msg);
        }
        if (msg.message == WM_LBUTTONDOWN) {
            lastDown = msg;
            upAfterDown = false;
            continue;
        }
        if (msg.message == WM_LBUTTONUP && lastDown.message)
            upAfterDown = true;
    }

    if (m_nOutcome != 4)
        ShowWindow(SW_HIDE);
    BOOL bResult = FALSE;
    if (m_nOutcome == 1)
        bResult = TRUE;
    else if (m_nOutcome == 3)
        bResult = OnCustomButton();
    ::SetFocus(hFocus && ::IsWindow(hFocus) ? hFocus : nullptr);
    if (::GetCapture() == m_hWnd) {
        ::ReleaseCapture();
        if (hPrevCapture && ::IsWindow(hPrevCapture))
            ::SetCapture(hPrevCapture);
    }
    m_bPressed = FALSE;

    // A press outside the bar cancelled it: the same click goes on to the window under it.
    if (m_nOutcome == 2 && !endedByQuit && lastDown.message == WM_LBUTTONDOWN) {
        POINT screen{(short)LOWORD(lastDown.lParam), (short)HIWORD(lastDown.lParam)};
        ::ClientToScreen(m_hWnd, &screen);
        RECT rcBar{};
        ::GetWindowRect(m_hWnd, &rcBar);
        HWND hTarget = ::WindowFromPoint(screen);
        if (!Inside(rcBar, screen) && hTarget && hTarget != m_hWnd) {
            LRESULT hit = ::SendMessage(hTarget, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
            POINT client = screen;
            ::ScreenToClient(hTarget, &client);
            if (hit == HTCLIENT) {
                ::PostMessage(hTarget, WM_LBUTTONDOWN, (WPARAM)hit, MAKELPARAM(client.x, client.y));
                if (upAfterDown)
                    ::PostMessage(hTarget, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
            } else {
                ::PostMessage(hTarget, WM_NCLBUTTONDOWN, (WPARAM)hit, MAKELPARAM(screen.x, screen.y));
                if (upAfterDown)
                    ::PostMessage(hTarget, WM_NCLBUTTONUP, (WPARAM)hit, MAKELPARAM(screen.x, screen.y));
            }
        }
    }
    if (m_nOutcome == 4)
        TearOff();
    return bResult;
}

void COXPopupBarCtrl::DrawTearOffFrame(BOOL bRemove) {
    if (!m_hTearOffDC)
        return;
    CDC dc;
    dc.Attach(m_hTearOffDC);
    CBrush* white = CBrush::FromHandle((HBRUSH)::GetStockObject(WHITE_BRUSH));
    const SIZE size{kTearOffFrame, kTearOffFrame};
    const bool drawn = !IsEmptyRect(m_rectTearOffLast);
    dc.DrawDragRect(bRemove ? nullptr : &m_rectTearOffFrame, size, drawn ? &m_rectTearOffLast : nullptr,
                    m_sizeTearOffLast, white, white);
    dc.Detach();
    m_rectTearOffLast = bRemove ? RECT{0, 0, 0, 0} : m_rectTearOffFrame;
    m_sizeTearOffLast = bRemove ? SIZE{0, 0} : size;
}

void COXPopupBarCtrl::EndTearOffDrag() {
    DrawTearOffFrame(TRUE);
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (m_bTearOffLocked)
        ::LockWindowUpdate(nullptr);
    if (m_hTearOffDC)
        ::ReleaseDC(::GetDesktopWindow(), m_hTearOffDC);
    m_hTearOffDC = nullptr;
    m_bTearOffLocked = FALSE;
}

void COXPopupBarCtrl::TearOff() {
    RECT rcBar{};
    ::GetWindowRect(m_hWnd, &rcBar);
    HWND hCapture = ::GetCapture();
    if (!Inside(rcBar, m_ptTearOffLast) || (hCapture && hCapture != m_hWnd)) {
        ShowWindow(SW_HIDE);
        return;
    }
    HWND desktop = ::GetDesktopWindow();
    m_bTearOffLocked = ::LockWindowUpdate(desktop);
    m_hTearOffDC = ::GetDCEx(desktop, nullptr, DCX_WINDOW | DCX_CACHE | (m_bTearOffLocked ? DCX_LOCKWINDOWUPDATE : 0));
    m_rectTearOffFrame = RECT{m_ptTearOffLast.x, m_ptTearOffLast.y, m_ptTearOffLast.x + (rcBar.right - rcBar.left),
                              m_ptTearOffLast.y + (rcBar.bottom - rcBar.top)};
    m_rectTearOffLast = RECT{0, 0, 0, 0};
    ::SetCapture(m_hWnd);
    DrawTearOffFrame(FALSE);

    BOOL bDropped = FALSE;
    bool quit = false;
    int quitCode = 0;
    while (::GetCapture() == m_hWnd) {
        MSG msg{};
        if (!::GetMessage(&msg, nullptr, 0, 0)) {
            quit = true;
            quitCode = (int)msg.wParam;
            break;
        }
        if (msg.message == WM_MOUSEMOVE) {
            ::OffsetRect(&m_rectTearOffFrame, msg.pt.x - m_ptTearOffLast.x, msg.pt.y - m_ptTearOffLast.y);
            m_ptTearOffLast = msg.pt;
            DrawTearOffFrame(FALSE);
        } else if (msg.message == WM_LBUTTONUP) {
            bDropped = TRUE;
            break;
        } else if (msg.message == WM_RBUTTONDOWN) {
            break;
        } else if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && msg.wParam == VK_ESCAPE) {
            break;
        } else if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
            // Other keys do nothing while the frame is dragged.
        } else {
            ::DispatchMessage(&msg);
        }
    }
    EndTearOffDrag();
    if (quit)
        ::PostQuitMessage(quitCode);
    if (!bDropped || !CreateFloating(POINT{m_rectTearOffFrame.left, m_rectTearOffFrame.top})) {
        if (::IsWindow(m_hWnd))
            ShowWindow(SW_HIDE);
    }
}

BOOL COXPopupBarCtrl::CreateFloating(POINT topLeft) {
    if (::IsWindow(m_ctlToolTip.GetSafeHwnd()))
        m_ctlToolTip.DestroyWindow();
    DestroyWindow();
    m_bTornOff = TRUE;
    if (!Create(m_pParentWnd, m_dwPopupBarStyle, m_hbrBackground)) {
        m_bTornOff = FALSE;
        return FALSE;
    }
    CalcWindowSize();
    PopulateToolTip();
    SetWindowPos(nullptr, topLeft.x, topLeft.y, m_rectWindow.right - m_rectWindow.left,
                 m_rectWindow.bottom - m_rectWindow.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return TRUE;
}

BOOL COXPopupBarCtrl::PreTranslateMessage(MSG* pMsg) {
    if (::IsWindow(m_ctlToolTip.GetSafeHwnd())) {
        m_ctlToolTip.Activate(TRUE);
        m_ctlToolTip.RelayEvent(pMsg);
    }
    return CWnd::PreTranslateMessage(pMsg);
}

LRESULT COXPopupBarCtrl::OnFloatStatus(WPARAM wParam) {
    if (!m_bTornOff)
        return 0;
    const DWORD style = (DWORD)::GetWindowLongPtr(m_hWnd, GWL_STYLE);
    if (wParam & (kFsShow | kFsHide))
        SetWindowPos(nullptr, 0, 0, 0, 0,
                     ((wParam & kFsShow) ? SWP_SHOWWINDOW : SWP_HIDEWINDOW) | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE |
                         SWP_NOACTIVATE);
    if (wParam & (kFsEnable | kFsDisable))
        ::EnableWindow(m_hWnd, (wParam & kFsEnable) != 0);
    if ((wParam & (kFsActivate | kFsDeactivate)) && (style & kSyncActive)) {
        // Without the style the caption follows the request instead of ignoring it.
        ::SetWindowLongPtr(m_hWnd, GWL_STYLE, (LONG_PTR)(style & ~kSyncActive));
        ::SendMessage(m_hWnd, WM_NCACTIVATE, (wParam & kFsActivate) != 0, 0);
        ::SetWindowLongPtr(m_hWnd, GWL_STYLE, (LONG_PTR)style);
    }
    return (style & kSyncActive) && (wParam & kFsSyncActive);
}

BOOL COXPopupBarCtrl::OnCustomButton() {
    return FALSE;
}

void COXPopupBarCtrl::PostCode(UINT message) {
    const PopupBarMessages& msgs = Messages();
    if (!m_bTornOff) {
        ::PostMessage(m_hWnd, message, 0, 0);
        return;
    }
    if (message == msgs.cancel) {
        ShowWindow(SW_HIDE);
        m_bTracking = FALSE;
        return;
    }
    if (message == msgs.custom && !OnCustomButton())
        return;
    if ((message == msgs.ok || message == msgs.custom) && m_pParentWnd && ::IsWindow(m_pParentWnd->GetSafeHwnd()))
        ::PostMessage(m_pParentWnd->GetSafeHwnd(), WM_POPUPBAR_PICKED, 0, (LPARAM)m_hWnd);
}

void COXPopupBarCtrl::Choose() {
    if (m_nHotIndex == (int)m_nButtons + 1) {
        PostCode(Messages().custom);
        return;
    }
    if (m_nHotIndex < 0)
        return;
    SetSelectedIndex(m_nHotIndex);
    if (m_nHotIndex == 0)
        m_dwSelected = m_dwDefault;
    else if (m_nHotIndex - 1 < (int)m_arrValues.GetSize())
        m_dwSelected = m_arrValues[m_nHotIndex - 1];
    PostCode(Messages().ok);
}

int COXPopupBarCtrl::HitTest(POINT pt) const {
    if (!IsEmptyRect(m_rectDefaultButton) && Inside(m_rectDefaultButton, pt))
        return 0;
    for (int i = 0; i < (int)m_arrButtonRect.GetSize(); ++i)
        if (Inside(m_arrButtonRect[i], pt))
            return i + 1;
    if (!IsEmptyRect(m_rectCustomButton) && Inside(m_rectCustomButton, pt))
        return (int)m_nButtons + 1;
    return -1;
}

RECT COXPopupBarCtrl::IndexRect(int nIndex) const {
    if (nIndex == 0)
        return m_rectDefaultButton;
    if (nIndex == (int)m_nButtons + 1)
        return m_rectCustomButton;
    if (nIndex >= 1 && nIndex - 1 < (int)m_arrButtonRect.GetSize())
        return m_arrButtonRect[nIndex - 1];
    return RECT{0, 0, 0, 0};
}

void COXPopupBarCtrl::InvalidateIndex(int nIndex) {
    RECT rc = IndexRect(nIndex);
    if (!IsEmptyRect(rc) && ::IsWindow(m_hWnd))
        ::InvalidateRect(m_hWnd, &rc, TRUE);
}

void COXPopupBarCtrl::SetHotIndex(int nIndex) {
    if (nIndex == m_nHotIndex)
        return;
    int old = m_nHotIndex;
    m_nHotIndex = nIndex;
    InvalidateIndex(old);
    InvalidateIndex(nIndex);
}

void COXPopupBarCtrl::SetSelectedIndex(int nIndex) {
    if (nIndex == m_nSelectedIndex)
        return;
    int old = m_nSelectedIndex;
    m_nSelectedIndex = nIndex;
    InvalidateIndex(old);
    InvalidateIndex(nIndex);
}

void COXPopupBarCtrl::OnMouseMove(POINT point) {
    if (!(m_dwPopupBarStyle & POPUPBAR_NOTEAROFF) && !m_bTornOff && m_bTearOffArmed &&
        !Inside(m_rectTearOffBar, point)) {
        m_bTearOffArmed = FALSE;
        PostCode(Messages().tearOff);
    }
    if (m_bTornOff)
        m_bTracking = TRUE;
    if (point.x != m_ptLastMouse.x || point.y != m_ptLastMouse.y) {
        m_ptLastMouse = point;
        SetHotIndex(HitTest(point));
    }
}

void COXPopupBarCtrl::HandleButtonDown(POINT point) {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    if (Inside(client, point)) {
        m_bPressed = TRUE;
        InvalidateIndex(HitTest(point));
    } else if (!m_bTornOff) {
        PostCode(Messages().cancel);
    }
    if (!(m_dwPopupBarStyle & POPUPBAR_NOTEAROFF) && !m_bTornOff && Inside(m_rectTearOffBar, point))
        m_bTearOffArmed = TRUE;
}

void COXPopupBarCtrl::HandleButtonUp() {
    m_bTearOffArmed = FALSE;
    if (m_bPressed) {
        if (m_nHotIndex >= 0)
            Choose();
        else if (!m_bTornOff)
            PostCode(Messages().cancel);
    }
    m_bPressed = FALSE;
}

void COXPopupBarCtrl::OnKeyDown(UINT nChar) {
    if (m_bTornOff && (nChar == VK_DOWN || nChar == VK_UP || nChar == VK_RIGHT || nChar == VK_TAB ||
                       nChar == VK_RETURN || nChar == VK_SPACE))
        m_bTracking = FALSE;
    const int F = GetFirstIndex(), L = GetLastIndex(), K = (int)GetNumColumns(), N = (int)m_nButtons;
    const int H = m_nHotIndex;
    const bool hasCustom = !(m_dwPopupBarStyle & POPUPBAR_NOCUSTOM);
    const bool grid = H >= 1 && H <= N;
    switch (nChar) {
        case VK_RIGHT:
            SetHotIndex(H < 0 || H == L ? F : H + 1);
            break;
        case VK_LEFT:
            SetHotIndex(H < 0 || H == F ? L : H - 1);
            break;
        case VK_DOWN: {
            if (H < 0 || H == L) {
                SetHotIndex(F);
                break;
            }
            int T = H + K;
            if (T > L && L == N)
                SetHotIndex(F);
            else if (H == 0)
                SetHotIndex(1);
            else if (T >= L && L == N + 1)
                SetHotIndex(L);
            else
                SetHotIndex(T);
            break;
        }
        case VK_UP:
            if (H < 0 || H == F)
                SetHotIndex(L);
            else if (H < F + K && F == 1)
                SetHotIndex(L);
            else if (H == N + 1)
                SetHotIndex(N);
            else if (H <= K && F == 0)
                SetHotIndex(0);
            else
                SetHotIndex(H - K);
            break;
        case VK_TAB:
            if (::GetKeyState(VK_SHIFT) & 0x8000) {
                if (H == N + 1)
                    SetHotIndex(1);
                else if (grid && F == 0)
                    SetHotIndex(0);
                else
                    SetHotIndex(hasCustom ? N + 1 : 1);
            } else {
                if (H < 0 || H == L)
                    SetHotIndex(F);
                else if (H == 0)
                    SetHotIndex(1);
                else if (grid && L == N)
                    SetHotIndex(F);
                else
                    SetHotIndex(L);
            }
            break;
        case VK_RETURN:
            if (H < 0) {
                if (!m_bTornOff)
                    PostCode(Messages().cancel);
            } else {
                Choose();
            }
            break;
        case VK_SPACE:
            if (!m_bPressed && H >= 0) {
                m_bPressed = TRUE;
                InvalidateIndex(H);
            }
            break;
        default:
            break;
    }
}

void COXPopupBarCtrl::OnKeyUp(UINT nChar) {
    if (nChar == VK_ESCAPE) {
        PostCode(Messages().cancel);
    } else if (nChar == VK_SPACE) {
        m_bPressed = FALSE;
        if (m_nHotIndex >= 0)
            Choose();
        else if (!m_bTornOff)
            PostCode(Messages().cancel);
    }
}

void COXPopupBarCtrl::DrawBackground(HDC dc) {
    RECT rc{};
    ::GetClientRect(m_hWnd, &rc);
    ::FillRect(dc, &rc, m_hbrBackground ? m_hbrBackground : ::GetSysColorBrush(COLOR_BTNFACE));
}

void COXPopupBarCtrl::DrawButton(HDC dc, int nIndex) {
    DrawButtonFrame(dc, m_arrButtonRect[nIndex], nIndex + 1);
}

void COXPopupBarCtrl::DrawTearOffBar(HDC dc) {
    ::FillRect(dc, &m_rectTearOffBar, ::GetSysColorBrush(COLOR_HIGHLIGHT));
}

void COXPopupBarCtrl::DrawDefaultButton(HDC dc) {
    DrawButtonFrame(dc, m_rectDefaultButton, 0);
    RECT frame = Shrunk(m_rectDefaultButton, 2);
    HBRUSH shadow = ::CreateSolidBrush(::GetSysColor(COLOR_BTNSHADOW));
    ::FrameRect(dc, &frame, shadow);
    ::DeleteObject(shadow);
    RECT text = Shrunk(m_rectDefaultButton, 3);
    HGDIOBJ old = ::SelectObject(dc, m_font.GetSafeHandle());
    ::SetBkMode(dc, TRANSPARENT);
    ::DrawText(dc, m_sDefaultButtonText, m_sDefaultButtonText.GetLength(), &text,
               DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    ::SelectObject(dc, old);
}

void COXPopupBarCtrl::DrawCustomButton(HDC dc) {
    DrawButtonFrame(dc, m_rectCustomButton, (int)m_nButtons + 1);
    RECT text = Shrunk(m_rectCustomButton, 3);
    HGDIOBJ old = ::SelectObject(dc, m_font.GetSafeHandle());
    ::SetBkMode(dc, TRANSPARENT);
    ::DrawText(dc, m_sCustomButtonText, m_sCustomButtonText.GetLength(), &text,
               DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    ::SelectObject(dc, old);
}

void COXPopupBarCtrl::DrawButtonFrame(HDC dc, RECT rect, int nIndex) {
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW), light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    bool selected = nIndex == m_nSelectedIndex, hot = nIndex == m_nHotIndex;
    if (selected)
        Frame3d(dc, rect, shadow, light);
    else if (hot)
        Frame3d(dc, rect, m_bPressed ? shadow : light, m_bPressed ? light : shadow);
    rect = Shrunk(rect, 1);
    if (selected && !hot)
        ::FillRect(dc, &rect, ::GetSysColorBrush(COLOR_3DLIGHT));
}

void COXPopupBarCtrl::OnPaint() {
    PAINTSTRUCT ps{};
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    DrawBackground(dc);
    for (int i = 0; i < (int)m_arrButtonRect.GetSize(); ++i)
        DrawButton(dc, i);
    if (!(m_dwPopupBarStyle & POPUPBAR_NOTEAROFF) && !m_bTornOff)
        DrawTearOffBar(dc);
    if (!(m_dwPopupBarStyle & POPUPBAR_NODEFAULT))
        DrawDefaultButton(dc);
    if (!(m_dwPopupBarStyle & POPUPBAR_NOCUSTOM))
        DrawCustomButton(dc);
    ::EndPaint(m_hWnd, &ps);
}

LRESULT COXPopupBarCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    POINT pt{(short)LOWORD(lParam), (short)HIWORD(lParam)};
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_ERASEBKGND:
            return TRUE;
        case WM_MOUSEMOVE:
            OnMouseMove(pt);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            HandleButtonDown(pt);
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            HandleButtonUp();
            return 0;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            OnKeyDown((UINT)wParam);
            return 0;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            OnKeyUp((UINT)wParam);
            return 0;
        case WM_TIMER:
            if (wParam == IDT_OXPB_CHECKMOUSE) {
                if (m_bTornOff && m_bTracking) {
                    POINT cursor{};
                    ::GetCursorPos(&cursor);
                    ::ScreenToClient(m_hWnd, &cursor);
                    if (HitTest(cursor) < 0)
                        SetHotIndex(-1);
                }
                return 0;
            }
            break;
        case WM_NCCREATE:
            if (reinterpret_cast<const CREATESTRUCT*>(lParam)->style & kSyncActive) {
                // The floating bar starts with its caption as active as its owner.
                LRESULT created = CWnd::WindowProc(message, wParam, lParam);
                HWND parent = m_pParentWnd ? ::GetAncestor(m_pParentWnd->GetSafeHwnd(), GA_ROOT) : nullptr;
                HWND fore = ::GetForegroundWindow();
                bool active = parent && (fore == parent || (fore && ::GetWindow(fore, GW_OWNER) == parent &&
                                                            ::SendMessage(fore, WM_FLOATSTATUS, kFsSyncActive, 0)));
                ::SendMessage(m_hWnd, WM_FLOATSTATUS, active ? kFsActivate : kFsDeactivate, 0);
                return created;
            }
            break;
        case WM_FLOATSTATUS:
            return OnFloatStatus(wParam);
        case WM_NCACTIVATE:
            if ((::GetWindowLongPtr(m_hWnd, GWL_STYLE) & kSyncActive) && !(m_nFlags & kKeepMiniActive))
                return TRUE;
            break;
        case WM_ACTIVATE:
            if (m_bTornOff && LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) {
                ::SetFocus(m_hWnd);
                return 0;
            }
            break;
        case WM_QUERYNEWPALETTE:
            ::InvalidateRect(m_hWnd, nullptr, TRUE);
            return TRUE;
        case WM_PALETTECHANGED:
            if ((HWND)wParam != m_hWnd)
                ::InvalidateRect(m_hWnd, nullptr, TRUE);
            return 0;
        case WM_CLOSE:
            if (m_bTornOff) {
                ShowWindow(SW_HIDE);
                return 0;
            }
            break;
        case WM_DESTROY:
            ::KillTimer(m_hWnd, IDT_OXPB_CHECKMOUSE);
            break;
        default:
            break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
