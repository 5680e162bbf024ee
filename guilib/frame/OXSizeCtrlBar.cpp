#include "guilib/frame/OXSizeCtrlBar.h"

#include <algorithm>
#include <vector>

#include "guilib/frame/OXDragDockContext.h"
#include "guilib/frame/OXFrameWndDock.h"
#include "guilib/frame/OXSizeDockBar.h"
#include "guilib/skins/OXDockbarSkin.h"
#include "guilib/skins/OXSkinnedApp.h"
#include "platform/framework/bars/MiniDockFrameWnd.h"
#include "platform/framework/bars/RectTracker.h"

IMPLEMENT_DYNAMIC(COXSizeControlBar, CControlBar)

namespace {
// The sizing bars made with SZBAR_DYNAMIC (created with the first, deleted when empty).
std::vector<COXSizeControlBar*>* g_dynamicBars = nullptr;
// The mouse hook shared by all sizing bar windows, and how many windows share it.
HHOOK g_mouseHook = nullptr;
int g_hookUsers = 0;
HWND g_lastUnderMouse = nullptr;

void ReleaseHook() {
    if (g_hookUsers > 0 && --g_hookUsers == 0 && g_mouseHook) {
        ::UnhookWindowsHookEx(g_mouseHook);
        g_mouseHook = nullptr;
        g_lastUnderMouse = nullptr;
    }
}
}  // namespace

COXSizeControlBar::COXSizeControlBar(int sizeBarFlags) : m_nSizeBarFlags(sizeBarFlags) {
    if (m_nSizeBarFlags & SZBAR_DYNAMIC) {
        if (!g_dynamicBars)
            g_dynamicBars = new std::vector<COXSizeControlBar*>;
        g_dynamicBars->push_back(this);
    }
}

COXSizeControlBar::~COXSizeControlBar() {
    if (g_dynamicBars) {
        for (auto it = g_dynamicBars->rbegin(); it != g_dynamicBars->rend(); ++it)
            if (*it == this) {
                g_dynamicBars->erase(std::next(it).base());
                break;
            }
        if (g_dynamicBars->empty()) {
            delete g_dynamicBars;
            g_dynamicBars = nullptr;
        }
    }
    if (m_hWnd)
        DestroyWindow();
}

HHOOK COXSizeControlBar::GetMouseHook() {
    return g_mouseHook;
}

COXDockbarSkin* COXSizeControlBar::GetDockbarSkin() {
    return OXLookupSkin<COXDockbarSkin, COXDockbarSkinClassic>(&COXSkin::GetDockbarSkin, m_pDockbarSkin);
}

BOOL COXSizeControlBar::Create(LPCTSTR className, LPCTSTR title, DWORD style, const RECT& rect, CWnd* parent,
                               UINT id, CCreateContext* context) {
    m_dwStyle = (style & CBRS_ALL) | CBRS_SIZE_DYNAMIC;
    RECT r = rect;
    if (EqualRect(&rect, &CFrameWnd::rectDefault) && parent) {
        // The bottom-right part of the parent: half its width, a quarter of its height.
        RECT client;
        ::GetClientRect(parent->m_hWnd, &client);
        int w = client.right - client.left, h = client.bottom - client.top;
        r = RECT{w - w / 2, h - h / 4, w, h};
    }
    int w = r.right - r.left, h = r.bottom - r.top;
    m_FloatSize = m_HorzDockSize = SIZE{w, h};
    m_VertDockSize = SIZE{h, w};
    (void)context;
    DWORD windowStyle = (style & ~CBRS_ALL) | WS_CLIPCHILDREN;
    return CWnd::CreateEx(0, className ? className : AfxWndClassName(), title, windowStyle, r, parent, id);
}

BOOL COXSizeControlBar::CreateBar(CWnd* parent, LPCTSTR title, UINT id, DWORD style, const RECT& rect) {
    return Create(nullptr, title, style, rect, parent, id, nullptr);
}

void COXSizeControlBar::EnableDocking(DWORD dockStyle) {
    m_dwDockStyle = dockStyle;
    if (!m_pDockContext)
        m_pDockContext = new COXDragDockContext(this);
    if (!m_pDockSite)
        if (CWnd* parent = GetParent(); parent && parent->IsFrameWnd())
            m_pDockSite = static_cast<CFrameWnd*>(parent);
    if (m_hWnd && !::GetWindow(m_hWnd, GW_OWNER) && GetParent())
        ::SetWindowLongPtr(m_hWnd, GWLP_HWNDPARENT, (LONG_PTR)GetParent()->m_hWnd);
}

void COXSizeControlBar::TidyUp(CFrameWnd* frame) {
    if (!g_dynamicBars)
        return;
    // A snapshot: destroying a window may delete its bar and change the list.
    std::vector<COXSizeControlBar*> bars(g_dynamicBars->rbegin(), g_dynamicBars->rend());
    for (COXSizeControlBar* bar : bars) {
        if (!g_dynamicBars || std::find(g_dynamicBars->begin(), g_dynamicBars->end(), bar) == g_dynamicBars->end())
            continue;
        if (bar->m_hWnd && ::IsWindow(bar->m_hWnd) && bar->GetTopLevelFrame() == frame)
            bar->DestroyWindow();
    }
    if (!g_dynamicBars)
        return;
    bars.assign(g_dynamicBars->begin(), g_dynamicBars->end());
    for (COXSizeControlBar* bar : bars)
        if (!bar->m_hWnd)
            delete bar;  // leaves the list in its destructor
}

COXSizeDockBar* COXSizeControlBar::GetSizeDockBar() const {
    return dynamic_cast<COXSizeDockBar*>(m_pDockBar);
}

BOOL COXSizeControlBar::CanMaximizeInRow() {
    COXSizeDockBar* dockBar = GetSizeDockBar();
    if (!dockBar || IsFloating() || !m_hWnd)
        return FALSE;
    RECT r;
    ::GetWindowRect(m_hWnd, &r);
    return dockBar->GetTabAreaHeight() == 0 && dockBar->CountBarsInRow(this, r) > 0;
}

SIZE COXSizeControlBar::CalcFixedLayout(BOOL stretch, BOOL horz) {
    CControlBar::CalcFixedLayout(stretch, horz);
    if (IsFloating())
        return m_FloatSize;
    if (m_dwStyle & CBRS_ORIENT_VERT)
        return m_VertDockSize;
    return m_HorzDockSize;
}

SIZE COXSizeControlBar::CalcDynamicLayout(int length, DWORD mode) {
    if (length >= 0 && (mode & LM_COMMIT)) {
        // A floating frame resized by its border: the new length sets the floating size.
        if (mode & LM_LENGTHY)
            m_FloatSize.cy = length;
        else
            m_FloatSize.cx = length;
        return m_FloatSize;
    }
    if (mode & LM_HORZDOCK)
        return m_HorzDockSize;
    if (mode & LM_VERTDOCK)
        return m_VertDockSize;
    if (mode & LM_MRUWIDTH)
        return m_FloatSize;
    return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZ) != 0);
}

void COXSizeControlBar::OnSizedOrDocked(int, int, BOOL, int) {}

void COXSizeControlBar::DrawGripper(CDC* dc) {
    GetDockbarSkin()->DrawGripper(dc, this);
}

void COXSizeControlBar::DrawCloseButton(CDC* dc) {
    GetDockbarSkin()->DrawCloseButton(dc, this);
}

void COXSizeControlBar::DrawSecondButton(CDC* dc) {
    GetDockbarSkin()->DrawSecondButton(dc, this);
}

void COXSizeControlBar::DrawBorders(CDC* dc, RECT& rect) {
    CControlBar::DrawBorders(dc->GetSafeHdc(), rect);
}

void COXSizeControlBar::DrawNonClient() {
    if (!m_hWnd)
        return;
    HDC hdc = ::GetWindowDC(m_hWnd);
    CDC dc;
    dc.Attach(hdc);
    RECT window{}, client{};
    OXGetWindowRects(m_hWnd, window, client);
    ::ExcludeClipRect(hdc, client.left, client.top, client.right, client.bottom);
    COXDockbarSkin* skin = GetDockbarSkin();
    skin->DrawBackground(&dc, window, this);
    skin->CalcCaptionRects(this);
    if (!(m_nSizeBarFlags & SZBAR_NO_GRIPPER))
        DrawGripper(&dc);
    if (!(m_nSizeBarFlags & SZBAR_NO_CLOSE))
        DrawCloseButton(&dc);
    if (!(m_nSizeBarFlags & SZBAR_NO_MAXIMIZE))
        DrawSecondButton(&dc);
    if (m_bFrameHighlight) {
        RECT frame = client;
        InflateRect(&frame, 1, 1);
        HBRUSH brush = ::CreateSolidBrush(skin->GetActiveFrameColor());
        ::FrameRect(hdc, &frame, brush);
        ::DeleteObject(brush);
    }
    dc.Detach();
    ::ReleaseDC(m_hWnd, hdc);
}

int COXSizeControlBar::HitButton(POINT client) const {
    if (IsFloating())
        return -1;
    if (!(m_nSizeBarFlags & SZBAR_NO_CLOSE) && PtInRect(&m_rectCloseBtn, client))
        return -3;
    if (!(m_nSizeBarFlags & SZBAR_NO_MAXIMIZE) && PtInRect(&m_rectSecondBtn, client))
        return -2;
    return -1;
}

void COXSizeControlBar::RedrawButtons() {
    if (!m_hWnd)
        return;
    HDC hdc = ::GetWindowDC(m_hWnd);
    CDC dc;
    dc.Attach(hdc);
    if (!(m_nSizeBarFlags & SZBAR_NO_CLOSE))
        DrawCloseButton(&dc);
    if (!(m_nSizeBarFlags & SZBAR_NO_MAXIMIZE))
        DrawSecondButton(&dc);
    dc.Detach();
    ::ReleaseDC(m_hWnd, hdc);
}

BOOL COXSizeControlBar::IsLiveDragging() const {
    CWnd* main = AfxGetMainWnd();
    return main && main->m_hWnd && ::SendMessage(main->m_hWnd, WM_OX_QUERYLIVEDRAG, 0, 0) != 0;
}

POINT COXSizeControlBar::CalcGrabOffset(POINT screen) const {
    RECT r;
    ::GetWindowRect(m_hWnd, &r);
    int width = r.right - r.left, height = r.bottom - r.top;
    int x = 5;
    if (m_dwStyle & CBRS_ORIENT_HORZ) {
        if (height > 0)
            x = (int)((long long)m_FloatSize.cx * (r.bottom - screen.y) / height);
    } else if (width > 0) {
        x = (int)((long long)m_FloatSize.cx * (screen.x - r.left) / width);
    }
    x = std::min(x, m_FloatSize.cx - 20);
    x = std::max(x, 5);
    return POINT{x, 10};
}

void COXSizeControlBar::BeginLiveDrag(POINT screen) {
    m_ptOffset = CalcGrabOffset(screen);
    m_bDragPending = FALSE;
    m_bDragging = TRUE;
    ::SetCapture(m_hWnd);
    ::SetCursor(::LoadCursor(nullptr, IDC_SIZEALL));
}

void COXSizeControlBar::LiveDragTo(POINT screen) {
    CFrameWnd* frame = m_pDockSite;
    if (!frame)
        return;
    MSG paint;
    while (::PeekMessage(&paint, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
        ::DispatchMessage(&paint);
    if (!m_pDockContext) {
        frame->FloatControlBar(this, screen, CBRS_ALIGN_TOP);
        return;
    }
    COXSizeDockBar* dockBar = COXSizeDockBar::FindDockBarAt(screen, this);
    if (dockBar && !(::GetKeyState(VK_CONTROL) & 0x8000)) {
        RECT now;
        ::GetWindowRect(m_hWnd, &now);
        RECT at{screen.x, screen.y, screen.x + now.right - now.left, screen.y + now.bottom - now.top};
        frame->DockControlBar(this, dockBar, &at);
        frame->RecalcLayout();
    } else {
        POINT at{screen.x - m_ptOffset.x, screen.y - m_ptOffset.y};
        RemoveFromTabs();
        frame->FloatControlBar(this, at, CBRS_ALIGN_TOP);
        if (auto* mini = dynamic_cast<CMiniDockFrameWnd*>(GetParentFrame()); mini && mini != frame)
            ::SendMessage(m_hWnd, WM_OX_SETTLEFLOATFRAME, 0, 0);
    }
    // The drag goes on in this window, wherever it went.
    if (::GetCapture() != m_hWnd)
        ::SetCapture(m_hWnd);
}

void COXSizeControlBar::EndLiveDrag() {
    m_bDragging = FALSE;
    m_bDragPending = FALSE;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

COXDockTabCtrl* COXSizeControlBar::GetDockTabCtrl() const {
    COXSizeDockBar* dockBar = GetSizeDockBar();
    if (!dockBar || !dockBar->m_wndDockTabCtrl.m_hWnd || !::IsWindow(dockBar->m_wndDockTabCtrl.m_hWnd))
        return nullptr;
    return &dockBar->m_wndDockTabCtrl;
}

void COXSizeControlBar::RemoveFromTabs() {
    if (COXDockTabCtrl* tabs = GetDockTabCtrl())
        tabs->RemoveTab(this);
}

void COXSizeControlBar::ShowBar(BOOL show) {
    CFrameWnd* frame = m_pDockSite ? m_pDockSite : GetParentFrame();
    if (!frame || !m_hWnd)
        return;
    if ((IsVisible() != FALSE) == (show != FALSE))
        return;
    COXDockTabCtrl* tabs = GetDockTabCtrl();
    if (show) {
        if (int tab = tabs ? tabs->FindTab(this) : -1; tab >= 0) {
            tabs->SetCurSel(tab);
            tabs->ShowSelectedBar();
            return;
        }
        frame->ShowControlBar(this, TRUE, TRUE);
        // Back into the stack it left, at its old place.
        if (tabs && m_nTabIndex >= 0 && GetSizeDockBar()->CountVisibleSizeBarsExcept(this) > 0)
            tabs->InsertTab(this, m_nTabIndex, TRUE);
        return;
    }
    frame->ShowControlBar(this, FALSE, TRUE);
    if (tabs && tabs->GetItemCount() > 0) {
        m_nTabIndex = tabs->FindTab(this);
        tabs->RemoveTab(this);
    }
}

void COXSizeControlBar::SetActive(BOOL active, BOOL deactivateOthers) {
    m_bActive = active;
    // Moving the focus may activate the frame, which activates this bar again; a disabled frame (a
    // modeless wait window keeps the focus) takes no focus at all.
    static bool s_movingFocus = false;
    HWND top = m_hWnd ? ::GetAncestor(m_hWnd, GA_ROOT) : nullptr;
    if (active && m_hWnd && !s_movingFocus && top && ::IsWindowEnabled(top)) {
        s_movingFocus = true;
        HWND focus = ::GetFocus();
        if (focus != m_hWnd && !::IsChild(m_hWnd, focus)) {
            ::SetFocus(m_hWnd);
            for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child && ::GetFocus() != m_hWnd &&
                                                              !::IsChild(m_hWnd, ::GetFocus());
                 child = ::GetWindow(child, GW_HWNDNEXT))
                ::SetFocus(child);
        }
        s_movingFocus = false;
    }
    CFrameWnd* frame = m_pDockSite;
    if (deactivateOthers && frame) {
        for (POSITION pos = frame->m_listControlBars.GetHeadPosition(); pos;) {
            auto* other = dynamic_cast<COXSizeControlBar*>(static_cast<CControlBar*>(frame->m_listControlBars.GetNext(pos)));
            if (other && other != this && other->m_bActive)
                other->SetActive(FALSE, FALSE);
        }
    }
    if (auto* dock = dynamic_cast<COXMDIFrameWndSizeDock*>(frame); dock && active)
        dock->m_pActiveSizeBar = this;
    if (m_hWnd)
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
}

void COXSizeControlBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {
    HWND focus = ::GetFocus();
    BOOL inside = focus && (focus == m_hWnd || ::IsChild(m_hWnd, focus));
    if (inside != m_bActive) {
        m_bActive = inside;
        if (inside)
            if (auto* dock = dynamic_cast<COXMDIFrameWndSizeDock*>(m_pDockSite))
                dock->m_pActiveSizeBar = this;
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    }
}

void COXSizeControlBar::OnContextMenu(POINT screen) {
    CMenu menu;
    menu.CreatePopupMenu();
    ::SendMessage(m_hWnd, WM_OX_APPENDCONTEXTMENU, 0, (LPARAM)menu.m_hMenu);
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, this);
}

void COXSizeControlBar::OnAllowDocking() {
    CFrameWnd* frame = m_pDockSite;
    if (!(m_dwDockStyle & CBRS_ALIGN_ANY)) {
        EnableDocking(m_dwSavedDockStyle | (m_dwDockStyle & ~CBRS_ALIGN_ANY));
        return;
    }
    m_dwSavedDockStyle = m_dwDockStyle & CBRS_ALIGN_ANY;
    if (!IsFloating() && m_pDockContext && frame)
        m_pDockContext->ToggleDocking();
    m_dwDockStyle &= ~CBRS_ALIGN_ANY;
}

void COXSizeControlBar::OnHideBar() {
    CFrameWnd* frame = m_pDockSite;
    if (!frame)
        return;
    // A stacked bar leaves its stack, so the stack does not keep a tab over nothing.
    if (COXDockTabCtrl* tabs = GetDockTabCtrl(); tabs && tabs->FindTab(this) >= 0) {
        ShowBar(FALSE);
        frame->RecalcLayout();
        return;
    }
    frame->ShowControlBar(this, FALSE, FALSE);
}

void COXSizeControlBar::OnMdiFloat() {
    auto* frame = dynamic_cast<COXMDIFrameWndSizeDock*>(m_pDockSite);
    if (!frame || !m_pDockContext)
        return;
    POINT at = m_pDockContext->m_ptMRUFloatPos;
    if (frame->IsInMDIFloat(this))
        frame->FloatControlBar(this, at, CBRS_ALIGN_TOP);
    else
        frame->FloatControlBarInMDIChild(this, at, CBRS_ALIGN_TOP, TRUE);
}

void COXSizeControlBar::PostNcDestroy() {
    CControlBar::PostNcDestroy();
}

LRESULT COXSizeControlBar::MouseHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && (wParam == WM_MOUSEMOVE || wParam == WM_NCMOUSEMOVE)) {
        auto* info = reinterpret_cast<MOUSEHOOKSTRUCT*>(lParam);
        HWND now = info ? info->hwnd : nullptr;
        if (g_lastUnderMouse && now != g_lastUnderMouse && ::IsWindow(g_lastUnderMouse))
            if (auto* bar = dynamic_cast<COXSizeControlBar*>(CWnd::FromHandlePermanent(g_lastUnderMouse)))
                bar->RedrawButtons();
        g_lastUnderMouse = now;
    }
    return ::CallNextHookEx(g_mouseHook, code, wParam, lParam);
}

LRESULT COXSizeControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            LRESULT r = CControlBar::WindowProc(message, wParam, lParam);
            if (r == -1)
                return r;
            if (!g_mouseHook)
                g_mouseHook = ::SetWindowsHookEx(WH_MOUSE, MouseHookProc, nullptr, ::GetCurrentThreadId());
            ++g_hookUsers;
            return r;
        }
        case WM_DESTROY:
            // The shared hook goes with the last sizing bar window.
            ReleaseHook();
            RemoveFromTabs();
            if (auto* dock = dynamic_cast<COXMDIFrameWndSizeDock*>(m_pDockSite); dock && dock->m_pActiveSizeBar == this)
                dock->m_pActiveSizeBar = nullptr;
            break;
        case WM_WINDOWPOSCHANGED: {
            LRESULT r = CControlBar::WindowProc(message, wParam, lParam);
            RECT rc;
            ::GetWindowRect(m_hWnd, &rc);
            SIZE size{rc.right - rc.left, rc.bottom - rc.top};
            BOOL floating = !m_pDockBar || (m_dwStyle & CBRS_FLOATING) ? TRUE : FALSE;
            int changes = (size.cx != m_sizeLast.cx || size.cy != m_sizeLast.cy ? 1 : 0) |
                          (floating != m_bLastFloating ? 2 : 0);
            if (changes) {
                m_sizeLast = size;
                m_bLastFloating = floating;
                OnSizedOrDocked(size.cx, size.cy, floating, changes);
                ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
            }
            GetDockbarSkin()->CalcCaptionRects(this);
            if (m_bMaximized && !m_bDragging) {
                // Stays maximized only through the dock bar's own resizing.
            }
            return r;
        }
        case WM_ERASEBKGND: {
            RECT rc;
            ::GetClientRect(m_hWnd, &rc);
            ::FillRect((HDC)wParam, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        case WM_PAINT: {
            // The client is the hosted window's; painting validates it and a pending frame.
            PAINTSTRUCT ps;
            ::BeginPaint(m_hWnd, &ps);
            ::EndPaint(m_hWnd, &ps);
            return 0;
        }
        case WM_NCCALCSIZE: {
            LRESULT r = CWnd::WindowProc(message, wParam, lParam);
            auto* rc = reinterpret_cast<RECT*>(lParam);
            GetDockbarSkin()->CalcNonClientSize((BOOL)wParam, *rc, this);
            return r;
        }
        case WM_NCPAINT:
            DrawNonClient();
            return 0;
        case WM_NCHITTEST:
            if (!IsFloating())
                return HTCLIENT;
            return CWnd::WindowProc(message, wParam, lParam);
        case WM_SETCURSOR:
            if ((HWND)wParam == m_hWnd) {
                ::SetCursor(::LoadCursor(nullptr, m_bDragging ? IDC_SIZEALL : IDC_ARROW));
                return TRUE;
            }
            return CWnd::WindowProc(message, wParam, lParam);
        case WM_SYSCOMMAND:
            return CWnd::DefWindowProc(message, wParam, lParam);
        case WM_LBUTTONDOWN: {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (!m_pDockBar)
                break;
            int hit = HitButton(p);
            if (hit == -3 || (hit == -2 && CanMaximizeInRow())) {
                ::SetCapture(m_hWnd);
                m_nPressedButton = m_nCapturedButton = hit;
                RedrawButtons();
                return 0;
            }
            if (hit == -2)
                return 0;
            if (IsLiveDragging()) {
                m_ptButtonDown = p;
                m_bDragPending = TRUE;
                ::SetCapture(m_hWnd);
                return 0;
            }
            break;  // the framework's tracking drag
        }
        case WM_MOUSEMOVE: {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (m_nCapturedButton != -1) {
                int over = HitButton(p) == m_nCapturedButton ? m_nCapturedButton : -1;
                if (over != m_nPressedButton) {
                    m_nPressedButton = over;
                    RedrawButtons();
                }
                return 0;
            }
            if (::GetCapture() == m_hWnd && (m_bDragPending || m_bDragging)) {
                POINT screen = p;
                ::ClientToScreen(m_hWnd, &screen);
                if (m_bDragPending) {
                    if (std::abs(p.x - m_ptButtonDown.x) >= 4 || std::abs(p.y - m_ptButtonDown.y) >= 4)
                        BeginLiveDrag(screen);
                    return 0;
                }
                LiveDragTo(screen);
                return 0;
            }
            break;
        }
        case WM_LBUTTONUP: {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (m_bDragging || m_bDragPending) {
                EndLiveDrag();
                return 0;
            }
            if (m_nCapturedButton != -1) {
                int pressed = m_nCapturedButton;
                m_nPressedButton = m_nCapturedButton = -1;
                if (::GetCapture() == m_hWnd)
                    ::ReleaseCapture();
                RedrawButtons();
                if (HitButton(p) == pressed) {
                    if (pressed == -3)
                        ShowBar(FALSE);
                    else if (COXSizeDockBar* dockBar = GetSizeDockBar())
                        dockBar->MaximizeInRow(this, !m_bMaximized);
                }
                return 0;
            }
            break;
        }
        case WM_CAPTURECHANGED:
            if ((HWND)lParam != m_hWnd) {
                m_bDragging = m_bDragPending = FALSE;
                if (m_nCapturedButton != -1) {
                    m_nPressedButton = m_nCapturedButton = -1;
                    RedrawButtons();
                }
            }
            break;
        case WM_LBUTTONDBLCLK: {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (m_pDockBar && m_pDockContext && HitButton(p) == -1) {
                if (IsLiveDragging())
                    RemoveFromTabs();
                m_pDockContext->ToggleDocking();
                return 0;
            }
            break;
        }
        case WM_CONTEXTMENU:
            if (m_nSizeBarFlags & SZBAR_CONTEXT_MENU) {
                OnContextMenu(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
                return 0;
            }
            break;
        case WM_OX_APPENDCONTEXTMENU: {
            HMENU menu = (HMENU)lParam;
            auto* frame = dynamic_cast<COXMDIFrameWndSizeDock*>(m_pDockSite);
            BOOL inMdi = frame && frame->IsInMDIFloat(this);
            if ((m_nSizeBarFlags & SZBAR_MDI_FLOAT) && m_pDockContext)
                ::AppendMenu(menu, MF_STRING | (inMdi ? MF_CHECKED : 0), ID_OX_SHOWRESIZEBAR_MDIFLOAT,
                             "Float as MDI Window");
            BOOL allowed = (m_dwDockStyle & CBRS_ALIGN_ANY) != 0;
            if (!inMdi && (allowed || m_dwSavedDockStyle))
                ::AppendMenu(menu, MF_STRING | (allowed ? MF_CHECKED : 0), ID_OX_SHOWRESIZEBAR_ALLOWDOCKING,
                             "Allow docking");
            ::AppendMenu(menu, MF_STRING, ID_OX_SHOWRESIZEBAR_HIDE, "Hide");
            return 0;
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case ID_OX_SHOWRESIZEBAR_ALLOWDOCKING: OnAllowDocking(); return 0;
                case ID_OX_SHOWRESIZEBAR_HIDE: OnHideBar(); return 0;
                case ID_OX_SHOWRESIZEBAR_MDIFLOAT: OnMdiFloat(); return 0;
                default: break;
            }
            break;
        default:
            break;
    }
    return CControlBar::WindowProc(message, wParam, lParam);
}
