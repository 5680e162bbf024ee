// The default handling of every message a window procedure passes on.
#include <algorithm>
#include <cstring>

#include "platform/user/Controls.h"
#include "platform/user/Display.h"
#include "platform/user/UserInternal.h"

using namespace user;

LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT nonClient = 0;
    if (DefNonClientMessage(hwnd, msg, wParam, lParam, &nonClient))
        return nonClient;
    switch (msg) {
        case WM_NCCREATE: {
            auto* cs = reinterpret_cast<CREATESTRUCT*>(lParam);
            if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) {
                std::lock_guard<std::mutex> g(Lock());
                if (WindowData* w = Find(hwnd))
                    w->text = cs->lpszName;
            }
            return TRUE;
        }
        case WM_NCPAINT:
            DrawNonClient(hwnd);
            return 0;
        case WM_REMOTEWINDOWCALL:
            // Another running copy asked for this (see OtherCopies.cpp).
            if (wParam == RemoteShow)
                return ShowWindow(hwnd, (int)lParam) || !IsIconic(hwnd);
            if (wParam == RemoteForeground)
                return SetForegroundWindow(hwnd);
            return 0;
        case WM_MOUSEWHEEL: {
            // A wheel turn nobody took goes up to the parent.
            HWND parent = (GetWindowLongPtr(hwnd, GWL_STYLE) & WS_CHILD) ? GetParent(hwnd) : nullptr;
            return parent ? SendMessage(parent, msg, wParam, lParam) : 0;
        }
        case WM_NCACTIVATE: {
            {
                std::lock_guard<std::mutex> g(Lock());
                if (WindowData* w = Find(hwnd))
                    w->activeCaption = wParam != 0;
            }
            InvalidateFrame(hwnd);
            return TRUE;
        }
        case WM_ERASEBKGND: {
            HBRUSH brush = (HBRUSH)GetClassLongPtr(hwnd, GCLP_HBRBACKGROUND);
            if (!brush)
                return 0;
            RECT rc;
            GetClientRect(hwnd, &rc);
            FillRect((HDC)wParam, &rc, brush);
            return 1;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_SETICON: {
            // A window's own icons, big and small, kept as properties; the old one is answered.
            LPCTSTR slot = wParam == ICON_BIG ? "#IconBig" : "#IconSmall";
            HANDLE old = GetProp(hwnd, slot);
            if (lParam)
                SetProp(hwnd, slot, (HANDLE)lParam);
            else
                RemoveProp(hwnd, slot);
            return (LRESULT)old;
        }
        case WM_GETICON:
            return (LRESULT)GetProp(hwnd, wParam == ICON_BIG ? "#IconBig" : "#IconSmall");
        case WM_SETTEXT: {
            bool caption, topLevel;
            {
                std::lock_guard<std::mutex> g(Lock());
                WindowData* w = Find(hwnd);
                if (!w)
                    return FALSE;
                w->text = lParam ? reinterpret_cast<LPCTSTR>(lParam) : "";
                caption = (w->style & WS_CAPTION) == WS_CAPTION;
                topLevel = w->parent == Desktop();
            }
            if (topLevel)
                GetDisplayBackend()->WindowTextChanged(hwnd, reinterpret_cast<LPCTSTR>(lParam));
            if (caption)
                InvalidateFrame(hwnd);
            return TRUE;
        }
        case WM_GETTEXT: {
            if (!lParam || wParam == 0)
                return 0;
            std::lock_guard<std::mutex> g(Lock());
            WindowData* w = Find(hwnd);
            char* out = reinterpret_cast<char*>(lParam);
            if (!w) {
                out[0] = 0;
                return 0;
            }
            size_t n = std::min(w->text.size(), (size_t)wParam - 1);
            std::memcpy(out, w->text.data(), n);
            out[n] = 0;
            return (LRESULT)n;
        }
        case WM_GETTEXTLENGTH: {
            std::lock_guard<std::mutex> g(Lock());
            WindowData* w = Find(hwnd);
            return w ? (LRESULT)w->text.size() : 0;
        }
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_MOUSEACTIVATE: {
            // A child asks its parent first (an MDI child frame activates itself there).
            if (GetWindowLongPtr(hwnd, GWL_STYLE) & WS_CHILD) {
                if (LRESULT r = SendMessage(GetParent(hwnd), WM_MOUSEACTIVATE, wParam, lParam))
                    return r;
            }
            return MA_ACTIVATE;
        }
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam))
                SetFocus(hwnd);
            return 0;
        case WM_WINDOWPOSCHANGING: {
            // Windows that have tracking sizes keep their new size within them.
            auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
            if (!wp || (wp->flags & SWP_NOSIZE) || !HasMinMaxInfo((DWORD)GetWindowLongPtr(hwnd, GWL_STYLE)))
                return 0;
            MINMAXINFO info{};
            info.ptMaxTrackSize = POINT{1 << 15, 1 << 15};
            SendMessage(hwnd, WM_GETMINMAXINFO, 0, (LPARAM)&info);
            int maxX = std::max((int)info.ptMinTrackSize.x, (int)info.ptMaxTrackSize.x);
            int maxY = std::max((int)info.ptMinTrackSize.y, (int)info.ptMaxTrackSize.y);
            wp->cx = std::clamp(wp->cx, (int)info.ptMinTrackSize.x, maxX);
            wp->cy = std::clamp(wp->cy, (int)info.ptMinTrackSize.y, maxY);
            return 0;
        }
        case WM_NCCALCSIZE: {
            // The frame the window's styles draw; the answer is the client rectangle in the same
            // coordinates as the window rectangle asked about.
            auto* rc = reinterpret_cast<RECT*>(lParam);  // rgrc[0] of the parameters when wParam is TRUE
            if (!rc)
                return 0;
            // A menu bar wraps to the new width first.
            UpdateMenuBarRows(hwnd, rc->right - rc->left);
            RECT in;
            {
                std::lock_guard<std::mutex> g(Lock());
                WindowData* w = Find(hwnd);
                if (!w)
                    return 0;
                in = NonClientInsets(*w);
            }
            rc->left += in.left;
            rc->top += in.top;
            rc->right = std::max(rc->left, rc->right - in.right);
            rc->bottom = std::max(rc->top, rc->bottom - in.bottom);
            return 0;
        }
        case WM_WINDOWPOSCHANGED: {
            auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
            if (!wp)
                return 0;
            if (!(wp->flags & SWP_NOCLIENTMOVE)) {
                POINT o{0, 0};
                {
                    std::lock_guard<std::mutex> g(Lock());
                    if (WindowData* w = Find(hwnd)) {
                        RECT c = ClientRectInParent(*w);
                        o = POINT{c.left, c.top};
                    }
                }
                SendMessage(hwnd, WM_MOVE, 0, MAKELPARAM(o.x, o.y));
            }
            if (!(wp->flags & SWP_NOCLIENTSIZE)) {
                RECT rc;
                GetClientRect(hwnd, &rc);
                SendMessage(hwnd, WM_SIZE,
                            IsIconic(hwnd)   ? SIZE_MINIMIZED
                            : IsZoomed(hwnd) ? SIZE_MAXIMIZED
                                             : SIZE_RESTORED,
                            MAKELPARAM(rc.right, rc.bottom));
            }
            return 0;
        }
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORSCROLLBAR:
            SetTextColor((HDC)wParam, GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor((HDC)wParam, GetSysColor(COLOR_3DFACE));
            return (LRESULT)GetSysColorBrush(COLOR_3DFACE);
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            SetTextColor((HDC)wParam, GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor((HDC)wParam, GetSysColor(COLOR_WINDOW));
            return (LRESULT)GetSysColorBrush(COLOR_WINDOW);
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_SETCURSOR: {
            // A child's parent decides first (TRUE ends it); a window asked about one of its children
            // leaves the cursor to that child.
            HWND parent = GetParent(hwnd);
            if ((GetWindowLongPtr(hwnd, GWL_STYLE) & WS_CHILD) && parent && SendMessage(parent, msg, wParam, lParam))
                return TRUE;
            if ((HWND)wParam != hwnd)
                return FALSE;
            LPCTSTR shape = IDC_ARROW;
            switch ((short)LOWORD(lParam)) {
                case HTCLIENT: {
                    // The class cursor; a class without one leaves the cursor as it is.
                    HCURSOR cursor = (HCURSOR)GetClassLongPtr(hwnd, GCLP_HCURSOR);
                    if (!cursor)
                        return FALSE;
                    SetCursor(cursor);
                    return TRUE;
                }
                case HTLEFT:
                case HTRIGHT:
                    shape = IDC_SIZEWE;
                    break;
                case HTTOP:
                case HTBOTTOM:
                    shape = IDC_SIZENS;
                    break;
                case HTTOPLEFT:
                case HTBOTTOMRIGHT:
                case HTGROWBOX:
                    shape = IDC_SIZENWSE;
                    break;
                case HTTOPRIGHT:
                case HTBOTTOMLEFT:
                    shape = IDC_SIZENESW;
                    break;
                default:
                    // The caption, menu, scroll bars, buttons, nowhere, and HTERROR (a press on a
                    // disabled window, which the input already answered with a beep).
                    break;
            }
            SetCursor(LoadCursor(nullptr, shape));
            return TRUE;
        }
        case WM_GETDLGCODE:
            return 0;
        case WM_RBUTTONUP: {
            // A released right button asks the window (and, through it, its parents) for a context menu,
            // at the cursor in screen coordinates.
            POINT pt{(short)LOWORD(lParam), (short)HIWORD(lParam)};
            ClientToScreen(hwnd, &pt);
            SendMessage(hwnd, WM_CONTEXTMENU, (WPARAM)hwnd, MAKELPARAM(pt.x, pt.y));
            return 0;
        }
        case WM_CONTEXTMENU: {
            HWND parent = GetParent(hwnd);
            if ((GetWindowLongPtr(hwnd, GWL_STYLE) & WS_CHILD) && parent)
                return SendMessage(parent, msg, wParam, lParam);
            return 0;
        }
        default:
            return 0;
    }
}
