// COXMenuBarFrame<TFrame, TDockBar>: a menu-bar host that docks its menu bar on dock bars able to give it a
// whole row, subclasses the MDI client so menus the MDI machinery sets (WM_MDISETMENU) reach the bar and
// never the frame window, and keeps the bar working in the context-help mode.
#pragma once

#include <type_traits>

#include "guilib/frame/OXMenuBarHost.h"
#include "guilib/frame/OXMenuDockBar.h"
#include "platform/base/Exceptions.h"
#include "platform/framework/bars/MiniDockFrameWnd.h"
#include "platform/framework/frames/MDIFrameWnd.h"

// Asked by sizing bars: whether bars are dragged live (non-zero) or with a tracking rectangle.
#define WM_OX_QUERY_LIVE_DRAGGING 0x045C

// What the MDI client's subclass procedure reaches in a frame.
class COXMDIClientHook {
public:
    virtual ~COXMDIClientHook() = default;
    virtual LRESULT MDIClientWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;

    // The procedure put in place of the MDI client's: the frame's handling, or the client's own procedure
    // once the frame has gone.
    static LRESULT SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        HWND frame = ::GetParent(hwnd);
        auto* hook = dynamic_cast<COXMDIClientHook*>(COXMenuBarHostBase::FindHost(frame));
        if (hook && ::IsWindow(frame))
            return hook->MDIClientWindowProc(hwnd, message, wParam, lParam);
        auto previous = (WNDPROC)::GetProp(hwnd, kPreviousProc);
        return previous ? ::CallWindowProc(previous, hwnd, message, wParam, lParam) : 0;
    }
    static constexpr const char* kPreviousProc = "OXMenuBarFrame.MDIClientProc";
};

template <class TFrame, class TDockBar>
class COXMenuBarFrame : public COXMenuBarHost<TFrame>, public COXMDIClientHook {
    static_assert(std::is_base_of_v<CFrameWnd, TFrame>, "a menu-bar frame derives from a frame window");
    using Host = COXMenuBarHost<TFrame>;
    static constexpr bool kMDI = std::is_base_of_v<CMDIFrameWnd, TFrame>;

public:
    explicit COXMenuBarFrame(DWORD menuBarDockStyle = CBRS_ALIGN_ANY,
                             const CRuntimeClass* floatingFrameClass = RUNTIME_CLASS(CMiniDockFrameWnd))
        : m_dwMenuBarDockStyle(menuBarDockStyle) {
        this->m_pFloatingFrameClass = floatingFrameClass;
    }

    // Dock bars that give a menu bar a whole row, on the sides `style` names (top, bottom, left, right).
    virtual void EnableDocking(DWORD style) {
        struct Side {
            UINT id;
            DWORD style;
        };
        static constexpr Side kSides[] = {{AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM},
                                          {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP},
                                          {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT},
                                          {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT}};
        for (const Side& side : kSides) {
            if (!(style & side.style & CBRS_ALIGN_ANY) || this->GetControlBar(side.id))
                continue;
            auto* dockBar = new COXMenuDockBar<TDockBar>;
            dockBar->m_bAutoDelete = TRUE;
            if (!dockBar->Create(this, side.style | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                 side.id)) {
                delete dockBar;
                AfxThrowResourceException();
            }
        }
    }

    LRESULT MDIClientWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        COXMenuBar& bar = this->GetMenuBar();
        switch (message) {
            case WM_NULL:
                m_bClientAnswered = TRUE;
                break;
            case WM_MDICREATE:
            case WM_MDIDESTROY:
            case WM_MDIACTIVATE:
                // The bar's MDI buttons and system icon follow the active child.
                if (bar.m_hWnd)
                    ::PostMessage(bar.m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
                break;
            case WM_MDISETMENU:
                // The menu goes to the bar, never to the frame window.
                if (wParam && bar.m_hWnd) {
                    bar.SetFrameMenu((HMENU)wParam);
                    wParam = 0;
                    if (bar.GetWindowMenu())
                        lParam = (LPARAM)bar.GetWindowMenu();
                }
                break;
            default:
                break;
        }
        return m_pfnOldMDIClientProc ? ::CallWindowProc(m_pfnOldMDIClientProc, hwnd, message, wParam, lParam) : 0;
    }

    BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, CWnd* parent = nullptr,
                   CCreateContext* context = nullptr) override {
        BOOL result = TFrame::LoadFrame(resourceId, style, parent, context);
        if (result && this->GetMenuBar().m_hWnd)
            this->m_hMenuDefault = this->GetMenuBar().GetMenuHandle();
        return result;
    }

    // Without MDI: the alternative menu, else the frame's own, through the bar (documents here have no
    // menu of their own).
    virtual void OnUpdateFrameMenu(HMENU menuAlt) {
        if constexpr (kMDI) {
            TFrame::OnUpdateFrameMenu(menuAlt);
        } else {
            HMENU menu = menuAlt ? menuAlt : this->m_hMenuDefault;
            this->SetMenu(menu ? CMenu::FromHandle(menu) : nullptr);
        }
    }

    // The frame's layout, once more when a docked menu bar does not span the frame.
    void RecalcLayout(BOOL notify = TRUE) override {
        TFrame::RecalcLayout(notify);
        COXMenuBar& bar = this->GetMenuBar();
        if (!bar.m_hWnd || bar.IsFloating() || !bar.IsVisible() || this->m_bInRecalcLayout)
            return;
        bool horizontal = (bar.GetBarStyle() & CBRS_ORIENT_HORZ) != 0;
        CControlBar* nearBar = this->GetControlBar(horizontal ? AFX_IDW_DOCKBAR_TOP : AFX_IDW_DOCKBAR_LEFT);
        CControlBar* farBar = this->GetControlBar(horizontal ? AFX_IDW_DOCKBAR_BOTTOM : AFX_IDW_DOCKBAR_RIGHT);
        if (!nearBar || !farBar)
            return;
        RECT barRect, farRect;
        ::GetWindowRect(bar.m_hWnd, &barRect);
        ::GetWindowRect(farBar->m_hWnd, &farRect);
        int barLength = horizontal ? barRect.right - barRect.left : barRect.bottom - barRect.top;
        int farLength = horizontal ? farRect.right - farRect.left : farRect.bottom - farRect.top;
        if (barLength != farLength && farLength > 0 && !m_bRelayout) {
            m_bRelayout = TRUE;
            TFrame::RecalcLayout(notify);
            m_bRelayout = FALSE;
        }
    }

    BOOL OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context) override {
        BOOL result = TFrame::OnCreateClient(cs, context);
        this->EnterHostMap();
        if constexpr (kMDI) {
            if (result)
                SubclassMDIClient();
        }
        return result;
    }

    DWORD GetMenuBarDockStyle() const { return m_dwMenuBarDockStyle; }

    // The context-help mode's filter, which keeps the menu bar working: a click on it opens its popup,
    // where a command is chosen for help.
    BOOL ProcessHelpMsg(MSG& msg, DWORD* context) override {
        if (msg.message == WM_EXITHELPMODE || (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)) {
            ::PeekMessage(&msg, nullptr, msg.message, msg.message, PM_REMOVE);
            return FALSE;
        }
        const bool mouse = (msg.message >= 0x0200 && msg.message <= 0x020E) ||
                           (msg.message >= WM_NCMOUSEMOVE && msg.message <= WM_NCMBUTTONDBLCLK);
        if (!mouse)
            return TFrame::ProcessHelpMsg(msg, context);
        BOOL ours = FALSE;
        HWND hit = this->SetHelpCapture(msg.pt, &ours);
        if (!hit)
            return TRUE;
        if (!ours) {
            ::PeekMessage(&msg, nullptr, msg.message, msg.message, PM_REMOVE);
            ::DispatchMessage(&msg);
            return TRUE;
        }
        COXMenuBar& bar = this->GetMenuBar();
        if (hit != bar.m_hWnd)
            return TFrame::ProcessHelpMsg(msg, context);
        ::PeekMessage(&msg, nullptr, msg.message, msg.message, PM_REMOVE);
        if (msg.message != WM_LBUTTONDOWN && bar.GetTrackedIndex() < 0)
            return TRUE;
        // Without the mode's capture the message is the bar's, at its own client point.
        ::ReleaseCapture();
        const HWND self = this->m_hWnd;
        msg.hwnd = bar.m_hWnd;
        if (msg.message >= 0x0200) {
            POINT at = msg.pt;
            ::ScreenToClient(bar.m_hWnd, &at);
            msg.lParam = MAKELPARAM(at.x, at.y);
        }
        ::DispatchMessage(&msg);
        if (::IsWindow(self) && this->m_bHelpMode == CFrameWnd::HELP_ACTIVE) {
            POINT cursor{};
            ::GetCursorPos(&cursor);
            this->SetHelpCapture(cursor, nullptr);
        }
        return TRUE;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_CREATE:
                return OnFrameCreate(message, wParam, lParam);
            case WM_COMMAND:
                if (LOWORD(wParam) == ID_CONTEXT_HELP) {
                    this->OnContextHelp();
                    return 0;
                }
                break;
            case WM_IDLEUPDATECMDUI:
                if constexpr (kMDI)
                    CheckMDIClient();
                break;
            case WM_OX_QUERY_LIVE_DRAGGING:
                return m_nLiveDragging;
            default:
                break;
        }
        return Host::WindowProc(message, wParam, lParam);
    }

    LRESULT OnFrameCreate(UINT message, WPARAM wParam, LPARAM lParam) {
        LRESULT result = Host::WindowProc(message, wParam, lParam);
        if (result == -1)
            return -1;
        if constexpr (kMDI)
            ::SendMessage(this->m_hWnd, WM_IDLEUPDATECMDUI, 0, 0);
        COXMenuBar& bar = this->GetMenuBar();
        if (bar.m_hWnd) {
            bar.EnableDocking(m_dwMenuBarDockStyle);
            if (m_dwMenuBarDockStyle) {
                EnableDocking(m_dwMenuBarDockStyle);
                this->DockControlBar(&bar, 0u, nullptr);
                MoveToFirstRow(bar);
            }
        }
        return result;
    }

    // The menu stays where a frame shows its menu: the first row of its side, before bars docked earlier.
    static void MoveToFirstRow(CControlBar& bar) {
        CDockBar* dock = bar.m_pDockBar;
        INT_PTR at = dock ? dock->FindBar(&bar) : -1;
        if (at <= 1)
            return;
        dock->m_arrBars.RemoveAt(at);
        dock->m_arrBars.InsertAt(1, nullptr);
        dock->m_arrBars.InsertAt(1, &bar);
        dock->RemoveEmptyRows();
    }

    // The subclass, (re)installed when the client's procedure is not the one saved.
    void SubclassMDIClient() {
        HWND client = static_cast<CMDIFrameWnd*>(static_cast<CFrameWnd*>(this))->m_hWndMDIClient;
        if (!client)
            return;
        auto current = (WNDPROC)::GetWindowLongPtr(client, GWLP_WNDPROC);
        if (current == &COXMDIClientHook::SubclassProc)
            return;
        m_pfnOldMDIClientProc = current;
        ::SetProp(client, kPreviousProc, (HANDLE)current);
        ::SetWindowLongPtr(client, GWLP_WNDPROC, (LONG_PTR)&COXMDIClientHook::SubclassProc);
        m_bClientAnswered = TRUE;
    }

    // At idle: a client that no longer answers through the subclass is subclassed again, and a menu the
    // frame window has is taken off it (the bar keeps its own).
    void CheckMDIClient() {
        HWND client = static_cast<CMDIFrameWnd*>(static_cast<CFrameWnd*>(this))->m_hWndMDIClient;
        if (!client)
            return;
        m_bClientAnswered = FALSE;
        ::SendMessage(client, WM_NULL, 0, 0);
        if (m_bClientAnswered)
            return;
        SubclassMDIClient();
        if (::GetMenu(this->m_hWnd))
            ::SetMenu(this->m_hWnd, nullptr);
    }

    DWORD m_dwMenuBarDockStyle;
    WNDPROC m_pfnOldMDIClientProc = nullptr;
    BOOL m_bClientAnswered = FALSE;
    int m_nLiveDragging = 0;
    BOOL m_bRelayout = FALSE;
};
