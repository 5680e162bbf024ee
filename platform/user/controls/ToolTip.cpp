// The "tooltips_class32" class: a popup that never takes the activation, showing the text of the tool the
// pointer rests on.
//
// The pointer is followed through the mouse messages the owner relays (or that a TTF_SUBCLASS tool's
// window receives). Resting on a tool for the initial delay shows its tip; moving to another tool soon
// after a tip showed shows the next one after the shorter reshow delay; a press hides it until the pointer
// leaves the tool; the tip goes after the auto-pop delay, or as soon as the pointer is found outside the
// tool (the tip looks every 100 ms while a tool is current). All of it runs on timers, so a driven clock
// steps it.
#include <algorithm>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/base/Clock.h"
#include "platform/user/Resources.h"
#include "platform/user/ToolTip.h"
#include "platform/user/UserInternal.h"
#include "platform/user/controls/ControlProc.h"

namespace {
constexpr UINT_PTR kShowTimer = 1;
constexpr UINT_PTR kPopTimer = 2;
constexpr UINT_PTR kWatchTimer = 3;
constexpr UINT kWatchInterval = 100;
constexpr UINT kDefaultDelay = 500;  // the double-click time: initial delay; the others derive from it
constexpr int kCursorHeight = 20;    // the tip shows this far below the pointer

struct Tool {
    UINT flags = 0;
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    RECT rect{};
    HINSTANCE hinst = nullptr;
    bool callback = false;
    bool resource = false;
    UINT resourceId = 0;
    std::string text;
    LPARAM lParam = 0;
    bool Is(HWND h, UINT_PTR i) const { return hwnd == h && id == i; }
};

// Windows whose mouse messages go to tips (TTF_SUBCLASS): their own procedure and the tips watching them.
struct Watched {
    WNDPROC original = nullptr;
    std::set<HWND> tips;
};
std::mutex g_watchMutex;
std::map<HWND, Watched> g_watched;

LRESULT WatchedProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam);

void Watch(HWND window, HWND tip) {
    std::lock_guard<std::mutex> g(g_watchMutex);
    Watched& w = g_watched[window];
    if (!w.original) {
        w.original = (WNDPROC)GetWindowLongPtr(window, GWLP_WNDPROC);
        SetWindowLongPtr(window, GWLP_WNDPROC, (LONG_PTR)&WatchedProc);
    }
    w.tips.insert(tip);
}

void Unwatch(HWND window, HWND tip) {
    std::lock_guard<std::mutex> g(g_watchMutex);
    auto it = g_watched.find(window);
    if (it == g_watched.end())
        return;
    it->second.tips.erase(tip);
    // The procedure goes back only when nobody subclassed the window after us.
    if (it->second.tips.empty() && (WNDPROC)GetWindowLongPtr(window, GWLP_WNDPROC) == &WatchedProc) {
        SetWindowLongPtr(window, GWLP_WNDPROC, (LONG_PTR)it->second.original);
        g_watched.erase(it);
    }
}

LRESULT WatchedProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    WNDPROC original = nullptr;
    std::vector<HWND> tips;
    {
        std::lock_guard<std::mutex> g(g_watchMutex);
        auto it = g_watched.find(h);
        if (it == g_watched.end())
            return DefWindowProc(h, msg, wParam, lParam);
        original = it->second.original;
        tips.assign(it->second.tips.begin(), it->second.tips.end());
        if (msg == WM_NCDESTROY)
            g_watched.erase(it);
    }
    if ((msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK) || msg == WM_NCMOUSEMOVE) {
        MSG m{h, msg, wParam, lParam, (DWORD)PlatformClockNow(), {}};
        GetCursorPos(&m.pt);
        for (HWND tip : tips)
            if (IsWindow(tip))
                SendMessage(tip, TTM_RELAYEVENT, 0, (LPARAM)&m);
    }
    return CallWindowProc(original, h, msg, wParam, lParam);
}

void SetText(Tool& t, LPSTR text) {
    t.callback = text == LPSTR_TEXTCALLBACK;
    t.resource = !t.callback && text && IS_INTRESOURCE(text);
    t.resourceId = t.resource ? (UINT)(uintptr_t)text : 0;
    t.text = (t.callback || t.resource || !text) ? std::string() : std::string(text);
}

class ToolTip : public user::Control {
public:
    explicit ToolTip(HWND h) : Control(h, kPaints | kPrints | kKeepsFont) {}
    LRESULT Proc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    int IndexOf(const TOOLINFO* ti) const;
    int ToolAt(HWND window, POINT client) const;
    RECT ToolScreenRect(const Tool& t) const;
    std::string TextOf(int index);
    void Fill(const Tool& t, TOOLINFO* ti) const;
    void Relay(const MSG* m);
    void Show();
    void Pop();
    void Forget();
    void Watching(bool on) {
        if (on)
            SetTimer(m_h, kWatchTimer, kWatchInterval, nullptr);
        else
            KillTimer(m_h, kWatchTimer);
    }
    SIZE Measure(const std::string& text);
    void Paint(HDC dc) override;

    std::vector<Tool> m_tools;
    int m_current = -1;       // the tool under the pointer
    bool m_shown = false;
    bool m_suppressed = false;  // a press hid the tip until the pointer leaves the tool
    bool m_active = true;
    bool m_tracking = false;
    POINT m_trackPos{0, 0};
    ULONGLONG m_lastPop = 0;
    UINT m_initial = kDefaultDelay, m_autoPop = kDefaultDelay * 10, m_reshow = kDefaultDelay / 5;
    int m_maxWidth = -1;
    RECT m_margin{3, 1, 3, 1};
    COLORREF m_bk = CLR_DEFAULT, m_fg = CLR_DEFAULT;
    std::string m_shownText;
};

int ToolTip::IndexOf(const TOOLINFO* ti) const {
    if (!ti)
        return -1;
    for (size_t i = 0; i < m_tools.size(); ++i)
        if (m_tools[i].Is(ti->hwnd, ti->uId))
            return (int)i;
    return -1;
}

int ToolTip::ToolAt(HWND window, POINT client) const {
    for (size_t i = 0; i < m_tools.size(); ++i) {
        const Tool& t = m_tools[i];
        if (t.flags & TTF_TRACK)
            continue;
        if ((t.flags & TTF_IDISHWND) ? (HWND)t.id == window : (t.hwnd == window && PtInRect(&t.rect, client)))
            return (int)i;
    }
    return -1;
}

RECT ToolTip::ToolScreenRect(const Tool& t) const {
    RECT r{};
    if (t.flags & TTF_IDISHWND) {
        GetWindowRect((HWND)t.id, &r);
    } else {
        r = t.rect;
        MapWindowPoints(t.hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    }
    return r;
}

std::string ToolTip::TextOf(int index) {
    Tool t = m_tools[(size_t)index];
    if (t.resource) {
        char buf[1024];
        int n = LoadString(t.hinst, t.resourceId, buf, sizeof buf);
        return n > 0 ? std::string(buf, (size_t)n) : std::string();
    }
    if (!t.callback)
        return t.text;
    NMTTDISPINFO info{};
    info.hdr.hwndFrom = m_h;
    info.hdr.idFrom = t.id;
    info.hdr.code = TTN_GETDISPINFO;
    info.uFlags = t.flags;
    info.lParam = t.lParam;
    SendMessage(t.hwnd, WM_NOTIFY, (WPARAM)t.id, (LPARAM)&info);
    info.szText[sizeof info.szText - 1] = 0;
    std::string text;
    if (info.lpszText && IS_INTRESOURCE(info.lpszText) && info.hinst) {
        char buf[1024];
        int n = LoadString(info.hinst, (UINT)(uintptr_t)info.lpszText, buf, sizeof buf);
        text.assign(buf, (size_t)std::max(0, n));
    } else if (info.lpszText && !IS_INTRESOURCE(info.lpszText) && info.lpszText != LPSTR_TEXTCALLBACK) {
        text = info.lpszText;
    } else {
        text = info.szText;
    }
    // The tool may still be there and ask to keep the answer.
    if ((info.uFlags & TTF_DI_SETITEM) && index < (int)m_tools.size() && m_tools[(size_t)index].Is(t.hwnd, t.id)) {
        m_tools[(size_t)index].callback = false;
        m_tools[(size_t)index].text = text;
    }
    return text;
}

void ToolTip::Fill(const Tool& t, TOOLINFO* ti) const {
    ti->uFlags = t.flags;
    ti->hwnd = t.hwnd;
    ti->uId = t.id;
    ti->rect = t.rect;
    ti->hinst = t.hinst;
    ti->lParam = t.lParam;
    if (t.callback)
        ti->lpszText = LPSTR_TEXTCALLBACK;
    else if (t.resource)
        ti->lpszText = MAKEINTRESOURCE(t.resourceId);
    else if (ti->lpszText && !IS_INTRESOURCE(ti->lpszText) && ti->lpszText != LPSTR_TEXTCALLBACK) {
        // The caller's buffer, as the control writes it: at most 80 characters.
        size_t n = std::min<size_t>(t.text.size(), 79);
        t.text.copy(ti->lpszText, n);
        ti->lpszText[n] = 0;
    }
}

void ToolTip::Relay(const MSG* m) {
    if (!m || !m_active || m_tracking)
        return;
    switch (m->message) {
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE: {
            POINT p{GET_X_LPARAM(m->lParam), GET_Y_LPARAM(m->lParam)};
            if (m->message == WM_NCMOUSEMOVE)
                ScreenToClient(m->hwnd, &p);
            int tool = ToolAt(m->hwnd, p);
            if (tool == m_current)
                return;
            bool recent = m_shown || (m_lastPop && PlatformClockNow() - m_lastPop < m_reshow + m_initial);
            Pop();
            m_current = tool;
            m_suppressed = false;
            KillTimer(m_h, kShowTimer);
            if (tool >= 0) {
                SetTimer(m_h, kShowTimer, recent ? m_reshow : m_initial, nullptr);
                Watching(true);
            } else {
                Watching(false);
            }
            return;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            Pop();
            KillTimer(m_h, kShowTimer);
            m_suppressed = m_current >= 0;
            m_lastPop = 0;
            return;
        default:
            return;
    }
}

SIZE ToolTip::Measure(const std::string& text) {
    HDC dc = GetDC(m_h);
    HGDIOBJ old = SelectObject(dc, FontOr(DEFAULT_GUI_FONT));
    RECT r{0, 0, m_maxWidth > 0 ? m_maxWidth : 0, 0};
    UINT format = DT_CALCRECT | DT_EXPANDTABS | ((Style() & TTS_NOPREFIX) ? DT_NOPREFIX : 0) |
                  (m_maxWidth > 0 ? DT_WORDBREAK : 0);
    DrawText(dc, text.c_str(), (int)text.size(), &r, format);
    SelectObject(dc, old);
    ReleaseDC(m_h, dc);
    return SIZE{r.right - r.left + m_margin.left + m_margin.right + 2,
                r.bottom - r.top + m_margin.top + m_margin.bottom + 2};
}

void ToolTip::Show() {
    if (m_current < 0 || m_current >= (int)m_tools.size() || !m_active)
        return;
    const Tool& tool = m_tools[(size_t)m_current];
    HWND self = m_h;
    if (!m_tracking && !(Style() & TTS_ALWAYSTIP) && GetActiveWindow() != GetAncestor(tool.hwnd, GA_ROOT))
        return;
    int index = m_current;
    std::string text = TextOf(index);
    if (!IsWindow(self) || m_current != index)
        return;
    if (text.empty())
        return;
    m_shownText = text;
    SIZE size = Measure(text);
    POINT at;
    const Tool& t = m_tools[(size_t)index];
    if (m_tracking) {
        at = m_trackPos;
    } else if (t.flags & TTF_CENTERTIP) {
        RECT r = ToolScreenRect(t);
        at = POINT{(r.left + r.right - size.cx) / 2, r.bottom};
    } else {
        GetCursorPos(&at);
        at.y += kCursorHeight;
    }
    at.x = std::clamp<LONG>(at.x, 0, std::max(0, GetSystemMetrics(SM_CXSCREEN) - size.cx));
    at.y = std::clamp<LONG>(at.y, 0, std::max(0, GetSystemMetrics(SM_CYSCREEN) - size.cy));
    SetWindowPos(m_h, HWND_TOPMOST, at.x, at.y, size.cx, size.cy, SWP_NOACTIVATE);
    // The tool's window may place the tip itself (a non-zero answer).
    NMHDR hdr{m_h, t.id, TTN_SHOW};
    SendMessage(t.hwnd, WM_NOTIFY, (WPARAM)t.id, (LPARAM)&hdr);
    if (!IsWindow(self))
        return;
    m_shown = true;
    ShowWindow(m_h, SW_SHOWNA);
    InvalidateRect(m_h, nullptr, TRUE);
    if (!m_tracking)
        SetTimer(m_h, kPopTimer, m_autoPop, nullptr);
}

void ToolTip::Pop() {
    KillTimer(m_h, kPopTimer);
    if (!m_shown)
        return;
    m_shown = false;
    m_lastPop = PlatformClockNow();
    ShowWindow(m_h, SW_HIDE);
    if (m_current >= 0 && m_current < (int)m_tools.size()) {
        const Tool& t = m_tools[(size_t)m_current];
        NMHDR hdr{m_h, t.id, TTN_POP};
        SendMessage(t.hwnd, WM_NOTIFY, (WPARAM)t.id, (LPARAM)&hdr);
    }
}

void ToolTip::Forget() {
    Pop();
    KillTimer(m_h, kShowTimer);
    Watching(false);
    m_current = -1;
    m_suppressed = false;
}

void ToolTip::Paint(HDC dc) {
    RECT rc;
    GetClientRect(m_h, &rc);
    HBRUSH bg = CreateSolidBrush(m_bk == CLR_DEFAULT ? GetSysColor(COLOR_INFOBK) : m_bk);
    FillRect(dc, &rc, bg);
    DeleteObject(bg);
    FrameRect(dc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME));
    HGDIOBJ old = SelectObject(dc, FontOr(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, m_fg == CLR_DEFAULT ? GetSysColor(COLOR_INFOTEXT) : m_fg);
    RECT t{rc.left + 1 + m_margin.left, rc.top + 1 + m_margin.top, rc.right - 1 - m_margin.right,
           rc.bottom - 1 - m_margin.bottom};
    DrawText(dc, m_shownText.c_str(), (int)m_shownText.size(), &t,
             DT_EXPANDTABS | ((Style() & TTS_NOPREFIX) ? DT_NOPREFIX : 0) | (m_maxWidth > 0 ? DT_WORDBREAK : 0));
    SelectObject(dc, old);
}

LRESULT ToolTip::Proc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            SetWindowLongPtr(m_h, GWL_EXSTYLE,
                             GetWindowLongPtr(m_h, GWL_EXSTYLE) | WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE);
            return 0;
        case WM_DESTROY:
            for (const Tool& t : m_tools)
                if (t.flags & TTF_SUBCLASS)
                    Unwatch((t.flags & TTF_IDISHWND) ? (HWND)t.id : t.hwnd, m_h);
            return 0;
        case WM_NCHITTEST:
            return HTTRANSPARENT;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            Forget();
            return 0;
        case WM_TIMER:
            switch (wParam) {
                case kShowTimer:
                    KillTimer(m_h, kShowTimer);
                    if (!m_suppressed)
                        Show();
                    return 0;
                case kPopTimer:
                    Pop();
                    m_suppressed = true;  // it shows again once the pointer comes back
                    return 0;
                case kWatchTimer: {
                    if (m_current < 0 || m_current >= (int)m_tools.size()) {
                        Forget();
                        return 0;
                    }
                    const Tool& t = m_tools[(size_t)m_current];
                    HWND window = (t.flags & TTF_IDISHWND) ? (HWND)t.id : t.hwnd;
                    POINT p;
                    GetCursorPos(&p);
                    RECT r = ToolScreenRect(t);
                    if (!IsWindow(window) || !IsWindowVisible(window) || !PtInRect(&r, p))
                        Forget();
                    return 0;
                }
                default:
                    return 0;
            }
        case TTM_ACTIVATE:
            m_active = wParam != 0;
            if (!m_active)
                Forget();
            return 0;
        case TTM_ADDTOOL: {
            auto* ti = reinterpret_cast<const TOOLINFO*>(lParam);
            if (!ti || (!ti->hwnd && !(ti->uFlags & TTF_IDISHWND)))
                return FALSE;
            Tool t;
            t.flags = ti->uFlags;
            t.hwnd = ti->hwnd;
            t.id = ti->uId;
            t.rect = ti->rect;
            t.hinst = ti->hinst;
            t.lParam = ti->lParam;
            SetText(t, ti->lpszText);
            int existing = IndexOf(ti);
            if (existing >= 0)
                m_tools[(size_t)existing] = t;
            else
                m_tools.push_back(t);
            if (t.flags & TTF_SUBCLASS)
                Watch((t.flags & TTF_IDISHWND) ? (HWND)t.id : t.hwnd, m_h);
            return TRUE;
        }
        case TTM_DELTOOL: {
            int i = IndexOf(reinterpret_cast<const TOOLINFO*>(lParam));
            if (i < 0)
                return 0;
            if (i == m_current)
                Forget();
            else if (i < m_current)
                --m_current;
            const Tool& t = m_tools[(size_t)i];
            if (t.flags & TTF_SUBCLASS)
                Unwatch((t.flags & TTF_IDISHWND) ? (HWND)t.id : t.hwnd, m_h);
            m_tools.erase(m_tools.begin() + i);
            return 0;
        }
        case TTM_NEWTOOLRECT: {
            auto* ti = reinterpret_cast<const TOOLINFO*>(lParam);
            int i = IndexOf(ti);
            if (i >= 0)
                m_tools[(size_t)i].rect = ti->rect;
            return 0;
        }
        case TTM_GETTOOLINFO: {
            auto* ti = reinterpret_cast<TOOLINFO*>(lParam);
            int i = IndexOf(ti);
            if (i < 0)
                return FALSE;
            Fill(m_tools[(size_t)i], ti);
            return TRUE;
        }
        case TTM_SETTOOLINFO: {
            auto* ti = reinterpret_cast<const TOOLINFO*>(lParam);
            int i = IndexOf(ti);
            if (i < 0)
                return 0;
            Tool& t = m_tools[(size_t)i];
            t.flags = ti->uFlags;
            t.rect = ti->rect;
            t.hinst = ti->hinst;
            t.lParam = ti->lParam;
            SetText(t, ti->lpszText);
            return 0;
        }
        case TTM_UPDATETIPTEXT: {
            auto* ti = reinterpret_cast<const TOOLINFO*>(lParam);
            int i = IndexOf(ti);
            if (i < 0)
                return 0;
            Tool& t = m_tools[(size_t)i];
            t.hinst = ti->hinst;
            SetText(t, ti->lpszText);
            if (m_shown && i == m_current) {
                m_shownText = TextOf(i);
                InvalidateRect(m_h, nullptr, TRUE);
            }
            return 0;
        }
        case TTM_GETTEXT: {
            auto* ti = reinterpret_cast<TOOLINFO*>(lParam);
            int i = IndexOf(ti);
            if (i < 0 || !ti->lpszText)
                return 0;
            std::string text = TextOf(i);
            size_t room = wParam ? (size_t)wParam : 80;
            size_t n = std::min(text.size(), room - 1);
            text.copy(ti->lpszText, n);
            ti->lpszText[n] = 0;
            return (LRESULT)n;
        }
        case TTM_HITTEST: {
            auto* hit = reinterpret_cast<TTHITTESTINFO*>(lParam);
            if (!hit)
                return FALSE;
            int i = ToolAt(hit->hwnd, hit->pt);
            if (i < 0)
                return FALSE;
            hit->ti.cbSize = sizeof(TOOLINFO);
            Fill(m_tools[(size_t)i], &hit->ti);
            return TRUE;
        }
        case TTM_GETTOOLCOUNT:
            return (LRESULT)m_tools.size();
        case TTM_ENUMTOOLS:
            if (wParam >= m_tools.size() || !lParam)
                return FALSE;
            Fill(m_tools[wParam], reinterpret_cast<TOOLINFO*>(lParam));
            return TRUE;
        case TTM_GETCURRENTTOOL:
            if (!m_shown || m_current < 0)
                return FALSE;
            if (lParam)
                Fill(m_tools[(size_t)m_current], reinterpret_cast<TOOLINFO*>(lParam));
            return TRUE;
        case TTM_WINDOWFROMPOINT:
            return lParam ? (LRESULT)WindowFromPoint(*reinterpret_cast<POINT*>(lParam)) : 0;
        case TTM_RELAYEVENT:
            Relay(reinterpret_cast<const MSG*>(lParam));
            return 0;
        case TTM_SETDELAYTIME: {
            int ms = (int)(short)LOWORD(lParam);
            switch (wParam) {
                case TTDT_AUTOMATIC: {
                    UINT base = ms < 0 ? kDefaultDelay : (UINT)ms;
                    m_initial = base;
                    m_autoPop = base * 10;
                    m_reshow = base / 5;
                    break;
                }
                case TTDT_INITIAL:
                    m_initial = ms < 0 ? kDefaultDelay : (UINT)ms;
                    break;
                case TTDT_AUTOPOP:
                    m_autoPop = ms < 0 ? kDefaultDelay * 10 : (UINT)ms;
                    break;
                case TTDT_RESHOW:
                    m_reshow = ms < 0 ? kDefaultDelay / 5 : (UINT)ms;
                    break;
                default:
                    break;
            }
            return 0;
        }
        case TTM_GETDELAYTIME:
            return wParam == TTDT_AUTOPOP ? m_autoPop : wParam == TTDT_RESHOW ? m_reshow : m_initial;
        case TTM_TRACKACTIVATE: {
            int i = IndexOf(reinterpret_cast<const TOOLINFO*>(lParam));
            if (wParam && i >= 0) {
                Pop();
                m_tracking = true;
                m_current = i;
                m_suppressed = false;
                Show();
            } else if (!wParam) {
                Pop();
                m_tracking = false;
                m_current = -1;
            }
            return 0;
        }
        case TTM_TRACKPOSITION:
            m_trackPos = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (m_tracking && m_shown)
                SetWindowPos(m_h, HWND_TOPMOST, m_trackPos.x, m_trackPos.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
            return 0;
        case TTM_SETTIPBKCOLOR:
            m_bk = (COLORREF)wParam;
            InvalidateRect(m_h, nullptr, TRUE);
            return 0;
        case TTM_SETTIPTEXTCOLOR:
            m_fg = (COLORREF)wParam;
            InvalidateRect(m_h, nullptr, TRUE);
            return 0;
        case TTM_GETTIPBKCOLOR:
            return m_bk == CLR_DEFAULT ? GetSysColor(COLOR_INFOBK) : m_bk;
        case TTM_GETTIPTEXTCOLOR:
            return m_fg == CLR_DEFAULT ? GetSysColor(COLOR_INFOTEXT) : m_fg;
        case TTM_SETMAXTIPWIDTH: {
            int old = m_maxWidth;
            m_maxWidth = (int)lParam;
            return old;
        }
        case TTM_GETMAXTIPWIDTH:
            return m_maxWidth;
        case TTM_SETMARGIN:
            if (lParam)
                m_margin = *reinterpret_cast<const RECT*>(lParam);
            return 0;
        case TTM_GETMARGIN:
            if (lParam)
                *reinterpret_cast<RECT*>(lParam) = m_margin;
            return 0;
        case TTM_POP:
            Pop();
            return 0;
        case TTM_POPUP:
            if (m_current >= 0) {
                m_suppressed = false;
                Show();
            }
            return 0;
        case TTM_UPDATE:
            if (m_shown && m_current >= 0) {
                m_shownText = TextOf(m_current);
                if (IsWindow(m_h))
                    InvalidateRect(m_h, nullptr, TRUE);
            }
            return 0;
        default:
            break;
    }
    return Default(msg, wParam, lParam);
}
}  // namespace

void user::RegisterToolTipClass() {
    RegisterControlClass(TOOLTIPS_CLASS, user::ControlWindowProc<ToolTip>, CS_SAVEBITS);
}
