// COXMenuBarHost<TFrame>: a frame whose menu lives in a COXMenuBar. At creation it takes the frame
// window's menu away and hands it to the bar, routes the menu messages, and while any host lives keeps
// one mouse hook and one keyboard hook for the thread that give the bar the keys and mouse moves the
// platform would keep for an open popup (Alt alone toggles keyboard mode; Alt+F4 is never taken).
#pragma once

#include <map>
#include <vector>

#include "guilib/frame/OXMenuBar.h"
#include "guilib/skins/OXBitmapMenuOrganizer.h"
#include "platform/framework/frames/FrameWnd.h"
#include "platform/framework/frames/MDIFrameWnd.h"
#include "platform/user/Keyboard.h"

// The host map and the hooks shared by every host of the process.
class COXMenuBarHostBase {
public:
    virtual ~COXMenuBarHostBase() = default;
    virtual BOOL HandleMouseHook(int code, UINT message, MOUSEHOOKSTRUCT* info) = 0;
    virtual BOOL HandleKeyboardHook(int code, UINT vk, LPARAM flags) = 0;
    static COXMenuBarHostBase* FindHost(HWND frame) {
        auto it = Hosts().find(frame);
        return it == Hosts().end() ? nullptr : it->second;
    }
    static BOOL HooksInstalled() { return s_mouseHook != nullptr && s_keyboardHook != nullptr; }

protected:
    static std::map<HWND, COXMenuBarHostBase*>& Hosts() {
        static std::map<HWND, COXMenuBarHostBase*> map;
        return map;
    }
    static void InstallHooks() {
        if (!s_mouseHook)
            s_mouseHook = ::SetWindowsHookEx(WH_MOUSE, &MouseHook, nullptr, ::GetCurrentThreadId());
        if (!s_keyboardHook)
            s_keyboardHook = ::SetWindowsHookEx(WH_KEYBOARD, &KeyboardHook, nullptr, ::GetCurrentThreadId());
    }
    // The hooks go with the last host.
    static void RemoveHooksWhenLast() {
        if (!Hosts().empty())
            return;
        if (s_mouseHook)
            ::UnhookWindowsHookEx(s_mouseHook);
        if (s_keyboardHook)
            ::UnhookWindowsHookEx(s_keyboardHook);
        s_mouseHook = s_keyboardHook = nullptr;
    }
    static LRESULT MouseHook(int code, WPARAM wParam, LPARAM lParam) {
        if (code >= 0) {
            auto* info = reinterpret_cast<MOUSEHOOKSTRUCT*>(lParam);
            HWND under = ::WindowFromPoint(info->pt);
            HWND top = under ? ::GetAncestor(under, GA_ROOT) : nullptr;
            std::map<HWND, COXMenuBarHostBase*> hosts = Hosts();
            for (auto& [hwnd, host] : hosts)
                if (::IsWindow(hwnd) && hwnd == top && host->HandleMouseHook(code, (UINT)wParam, info))
                    return 0;
        }
        return ::CallNextHookEx(s_mouseHook, code, wParam, lParam);
    }
    static LRESULT KeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
        if (code >= 0) {
            HWND focus = ::GetFocus();
            HWND top = focus ? ::GetAncestor(focus, GA_ROOT) : ::GetDesktopWindow();
            std::map<HWND, COXMenuBarHostBase*> hosts = Hosts();
            for (auto& [hwnd, host] : hosts)
                if (::IsWindow(hwnd) && hwnd == top && host->HandleKeyboardHook(code, (UINT)wParam, lParam))
                    return 1;
        }
        return ::CallNextHookEx(s_keyboardHook, code, wParam, lParam);
    }
    static inline HHOOK s_mouseHook = nullptr;
    static inline HHOOK s_keyboardHook = nullptr;
    static inline POINT s_lastMouse{-1, -1};
    static inline BOOL s_pendingAlt = FALSE;
};

template <class TFrame>
class COXMenuBarHost : public TFrame, public COXMenuBarHostBase {
public:
    COXMenuBarHost() = default;

    virtual BOOL CreateMenuBar(HMENU menu, CWnd* parent, DWORD style, UINT id) {
        if (!menu)
            style &= ~(DWORD)WS_VISIBLE;
        if (!m_menuBar.Create(parent, style, id) || !m_menuBar.SetFrameMenu(menu))
            return FALSE;
        if (auto* frame = dynamic_cast<CFrameWnd*>(static_cast<CWnd*>(this)))
            frame->m_hMenuDefault = menu;
        return TRUE;
    }
    virtual COXMenuBar& GetMenuBar() { return m_menuBar; }
    void DrawMenuBar() override {
        if (m_menuBar.m_hWnd)
            m_menuBar.InsertMenuItems(TRUE);
        else
            ::DrawMenuBar(this->m_hWnd);
    }
    CMenu* GetMenu() const override {
        if (m_menuBar.m_hWnd)
            return m_menuBar.GetMenuHandle() ? CMenu::FromHandle(m_menuBar.GetMenuHandle()) : nullptr;
        return TFrame::GetMenu();
    }
    BOOL SetMenu(CMenu* menu) override {
        if (m_menuBar.m_hWnd)
            return m_menuBar.SetFrameMenu(menu ? menu->m_hMenu : nullptr);
        return TFrame::SetMenu(menu);
    }
    // The menu the frame window had when it was created (the bar shows it).
    HMENU GetSavedMenu() const { return m_hSavedMenu; }

    BOOL HandleMouseHook(int code, UINT message, MOUSEHOOKSTRUCT* info) override {
        COXMenuBar& bar = m_menuBar;
        int tracked = bar.GetTrackedIndex();
        int count = bar.m_hWnd ? (int)::SendMessage(bar.m_hWnd, TB_BUTTONCOUNT, 0, 0) : 0;
        if (code != 0 || !bar.m_hWnd || tracked < 0 || tracked > count || info->hwnd == bar.m_hWnd ||
            (message != WM_MOUSEMOVE && message != WM_LBUTTONDOWN))
            return FALSE;
        RECT window{};
        ::GetWindowRect(bar.m_hWnd, &window);
        if (!PtInRect(&window, info->pt) || ::WindowFromPoint(info->pt) != bar.m_hWnd)
            return FALSE;
        int hit = bar.HitTest(info->pt, 1);
        if (hit == -5)
            hit = count;
        bool moved = info->pt.x != s_lastMouse.x || info->pt.y != s_lastMouse.y;
        s_lastMouse = info->pt;
        if (message == WM_MOUSEMOVE && moved && hit >= 0 && hit != tracked) {
            bar.RequestReopen(hit);
            POINT client = info->pt;
            ::ScreenToClient(bar.m_hWnd, &client);
            ::PostMessage(info->hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y));
            ::PostMessage(info->hwnd, WM_LBUTTONUP, MK_LBUTTON, MAKELPARAM(client.x, client.y));
            return TRUE;
        }
        if (message == WM_LBUTTONDOWN && hit >= 0)
            bar.SetClosingClick(hit);
        return FALSE;
    }

    BOOL HandleKeyboardHook(int code, UINT vk, LPARAM flags) override {
        COXMenuBar& bar = m_menuBar;
        if (code != 0 || !bar.m_hWnd || !::IsWindowEnabled(this->m_hWnd) || ::GetActiveWindow() != this->m_hWnd)
            return FALSE;
        bool up = (flags & 0x80000000) != 0;
        if (bar.GetTrackedIndex() >= 0) {
            if (up)
                return FALSE;
            size_t open = m_popups.size();
            bool hand = (vk == VK_LEFT && open <= 1) || (vk == VK_RIGHT && !m_bPopupItem) ||
                        (vk == VK_ESCAPE && open == 1);
            return hand ? bar.ProcessMenuKey(vk) : FALSE;
        }
        if (vk != VK_MENU) {
            bool altDown = (::GetKeyState(VK_MENU) & 0x8000) != 0;
            if (!up)
                s_pendingAlt = FALSE;  // a key after Alt went down: Alt is no longer alone
            if (!altDown && !bar.IsKeyboardMode())
                return FALSE;
            if (up || (::GetKeyState(VK_F4) & 0x8000) || vk == VK_F4)
                return FALSE;
            return bar.ProcessMenuKey(vk);
        }
        bool repeat = (flags & 0x40000000) != 0;
        if (!up) {
            if (!repeat)
                s_pendingAlt = TRUE;
            return TRUE;
        }
        if (s_pendingAlt) {
            bar.ProcessMenuKey(0);
            s_pendingAlt = FALSE;
            return TRUE;
        }
        return FALSE;
    }

protected:
    void EnterHostMap() { Hosts()[this->m_hWnd] = this; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_CREATE:
                return OnHostCreate(message, wParam, lParam);
            case WM_DESTROY:
                Hosts().erase(this->m_hWnd);
                if (m_menuBar.m_hWnd)
                    m_menuBar.DestroyWindow();
                RemoveHooksWhenLast();
                break;
            case WM_INITMENUPOPUP:
                m_bPopupItem = FALSE;
                m_popups.push_back((HMENU)wParam);
                if (!HIWORD(lParam) && m_menuBar.m_hWnd && m_menuBar.GetTrackedIndex() >= 0)
                    lParam = MAKELPARAM(m_menuBar.GetTrackedIndex(), 0);
                break;
            case WM_MENUSELECT: {
                UINT flags = HIWORD(wParam);
                bool closed = flags == 0xFFFF && !lParam;
                if (!closed && (flags & MF_POPUP))
                    m_bPopupItem = TRUE;
                else if (!closed)
                    m_bPopupItem = FALSE;
                if (!closed && (flags & MF_HILITE))
                    while (!m_popups.empty() && m_popups.back() != (HMENU)lParam)
                        m_popups.pop_back();
                break;
            }
            case WM_EXITMENULOOP:
                if (!wParam)
                    m_popups.clear();
                break;
            case WM_INITMENU:
                if (m_menuBar.m_hWnd && m_menuBar.GetMenuHandle())
                    wParam = (WPARAM)m_menuBar.GetMenuHandle();
                break;
            case WM_COMMAND:
                if (HIWORD(wParam) == 0 && LOWORD(wParam) == ID_OX_SHOWALLITEMS && m_menuBar.m_hWnd)
                    m_menuBar.RequestReopen(m_menuBar.GetTrackedIndex());
                break;
            case WM_OX_RECENTLY_USED_CHANGED:
                m_menuBar.MarkMenuChanged();
                break;
            default:
                break;
        }
        return TFrame::WindowProc(message, wParam, lParam);
    }

    LRESULT OnHostCreate(UINT message, WPARAM wParam, LPARAM lParam) {
        LRESULT result = TFrame::WindowProc(message, wParam, lParam);
        if (result == -1)
            return -1;
        EnterHostMap();
        if (m_menuBar.m_hWnd)
            m_menuBar.DestroyWindow();
        HMENU menu = ::GetMenu(this->m_hWnd);
        m_hSavedMenu = ::IsMenu(menu) ? menu : nullptr;
        if (m_hSavedMenu)
            ::SetMenu(this->m_hWnd, nullptr);
        // A frame that is not an MDI frame becomes the main window when there is none yet.
        CWinApp* app = AfxGetApp();
        CWnd* self = this;
        if (app && !app->m_pMainWnd && dynamic_cast<CFrameWnd*>(self) && !dynamic_cast<CMDIFrameWnd*>(self) &&
            !(::GetWindowLongPtr(this->m_hWnd, GWL_STYLE) & WS_CHILD))
            app->m_pMainWnd = this;
        if (!CreateMenuBar(m_hSavedMenu, this,
                           WS_CHILD | WS_VISIBLE | CBRS_GRIPPER | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM | CBRS_SIZE_DYNAMIC,
                           0xE810)) {
            // Without a bar the frame keeps its own menu.
            if (m_hSavedMenu)
                ::SetMenu(this->m_hWnd, m_hSavedMenu);
            if (m_menuBar.m_hWnd)
                m_menuBar.DestroyWindow();
            return result;
        }
        InstallHooks();
        return result;
    }

    COXMenuBar m_menuBar;
    HMENU m_hSavedMenu = nullptr;
    BOOL m_bPopupItem = FALSE;
    std::vector<HMENU> m_popups;
};
