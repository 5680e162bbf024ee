// The drag loop: the source's say, the targets under the cursor, and the start of a drag.
#include <algorithm>

#include "platform/framework/ole/OleDataObject.h"
#include "platform/framework/ole/OleDataSource.h"
#include "platform/framework/ole/OleDropSource.h"
#include "platform/framework/ole/OleDropTarget.h"

IMPLEMENT_DYNAMIC(COleDropSource, CCmdTarget)

namespace {
constexpr UINT_PTR kOverTimer = 1;
constexpr UINT kOverPeriod = 50;  // a target is asked again while the mouse rests (auto-scrolling)
constexpr const char* kTrackerClass = "VeltrinDragTracker";

// A hidden window that holds the capture while a drag runs.
HWND MakeTracker() {
    static const bool registered = [] {
        WNDCLASS wc{};
        wc.lpfnWndProc = DefWindowProc;
        wc.lpszClassName = kTrackerClass;
        return RegisterClass(&wc) != 0;
    }();
    if (!registered)
        return nullptr;
    return CreateWindowEx(WS_EX_TOOLWINDOW, kTrackerClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                          nullptr, nullptr);
}

bool IsMouseMessage(UINT m) {
    return m >= WM_MOUSEFIRST && m <= WM_MOUSELAST;
}

DWORD ModifierKeys() {
    DWORD keys = 0;
    if (GetKeyState(VK_SHIFT) & 0x8000)
        keys |= MK_SHIFT;
    if (GetKeyState(VK_CONTROL) & 0x8000)
        keys |= MK_CONTROL;
    if (GetKeyState(VK_MENU) & 0x8000)
        keys |= MK_ALT;
    return keys;
}

// The buttons held after a mouse message: its own key bits, less the button it releases.
DWORD ButtonsAfter(const MSG& m) {
    DWORD keys = (DWORD)m.wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_SHIFT | MK_CONTROL);
    switch (m.message) {
        case WM_LBUTTONUP:
            keys &= ~(DWORD)MK_LBUTTON;
            break;
        case WM_RBUTTONUP:
            keys &= ~(DWORD)MK_RBUTTON;
            break;
        case WM_MBUTTONUP:
            keys &= ~(DWORD)MK_MBUTTON;
            break;
        case WM_LBUTTONDOWN:
            keys |= MK_LBUTTON;
            break;
        case WM_RBUTTONDOWN:
            keys |= MK_RBUTTON;
            break;
        case WM_MBUTTONDOWN:
            keys |= MK_MBUTTON;
            break;
        default:
            break;
    }
    return keys;
}

POINT ScreenPoint(const MSG& m) {
    POINT p{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
    if (m.message != WM_MOUSEWHEEL && m.hwnd)
        ClientToScreen(m.hwnd, &p);
    return p;
}

// The window under the point with a registered target, looking up through the parents.
HWND TargetWindowAt(POINT screen, HWND tracker) {
    for (HWND h = WindowFromPoint(screen); h; h = GetParent(h)) {
        if (h == tracker)
            return nullptr;
        if (COleDropTarget::FromWindow(h))
            return h;
    }
    return nullptr;
}

// One drag: the source, the data and where the mouse is.
class DragLoop {
public:
    DragLoop(COleDataSource* data, COleDropSource* source, DWORD allowed, HWND tracker)
        : m_source(source), m_allowed(allowed), m_tracker(tracker) {
        m_data.Attach(data);
    }

    DROPEFFECT Run(POINT start, DWORD keys);

private:
    enum class Step { Go, Drop, Cancel };
    Step Ask(bool escape);
    void MoveTo(POINT screen);
    void Leave();
    DROPEFFECT Drop();
    POINT ClientPoint(HWND target) const {
        POINT p = m_at;
        ScreenToClient(target, &p);
        return p;
    }

    COleDataObject m_data;
    COleDropSource* m_source;
    DWORD m_allowed;
    HWND m_tracker;
    HWND m_target = nullptr;
    POINT m_at{0, 0};
    DWORD m_keys = 0;
    DROPEFFECT m_effect = DROPEFFECT_NONE;
};

DragLoop::Step DragLoop::Ask(bool escape) {
    SCODE sc = m_source->QueryContinueDrag(escape ? TRUE : FALSE, m_keys);
    if (sc == DRAGDROP_S_DROP)
        return Step::Drop;
    if (sc == DRAGDROP_S_CANCEL)
        return Step::Cancel;
    return Step::Go;
}

// Tells the target under the point: a new one enter (the old one leave), the same one over.
void DragLoop::MoveTo(POINT screen) {
    m_at = screen;
    HWND now = TargetWindowAt(screen, m_tracker);
    if (now != m_target)
        Leave();
    COleDropTarget* target = now ? COleDropTarget::FromWindow(now) : nullptr;
    if (!target) {
        m_effect = DROPEFFECT_NONE;
    } else if (now != m_target) {
        m_target = now;
        m_effect = target->OnDragEnter(CWnd::FromHandle(now), &m_data, m_keys, ClientPoint(now));
    } else {
        CWnd* wnd = CWnd::FromHandle(now);
        DROPEFFECT scroll = target->OnDragScroll(wnd, m_keys, ClientPoint(now));
        m_effect = (scroll & DROPEFFECT_SCROLL)
                       ? scroll
                       : (COleDropTarget::FromWindow(now) ? COleDropTarget::FromWindow(now)->OnDragOver(
                                                                wnd, &m_data, m_keys, ClientPoint(now))
                                                          : DROPEFFECT_NONE);
    }
    m_effect &= m_allowed | DROPEFFECT_SCROLL;
    m_source->GiveFeedback(m_effect);
}

void DragLoop::Leave() {
    HWND was = m_target;
    m_target = nullptr;
    if (COleDropTarget* target = was ? COleDropTarget::FromWindow(was) : nullptr)
        target->OnDragLeave(CWnd::FromHandle(was));
}

DROPEFFECT DragLoop::Drop() {
    HWND was = m_target;
    COleDropTarget* target = was ? COleDropTarget::FromWindow(was) : nullptr;
    DROPEFFECT effect = m_effect & ~DROPEFFECT_SCROLL;
    if (!target || effect == DROPEFFECT_NONE) {
        Leave();
        return DROPEFFECT_NONE;
    }
    m_target = nullptr;
    CWnd* wnd = CWnd::FromHandle(was);
    POINT p = ClientPoint(was);
    DROPEFFECT result = target->OnDropEx(wnd, &m_data, effect, m_allowed, p);
    if (result == (DROPEFFECT)-1) {
        target = COleDropTarget::FromWindow(was);
        result = target && target->OnDrop(wnd, &m_data, effect, p) ? effect : DROPEFFECT_NONE;
    }
    return result & m_allowed;
}

DROPEFFECT DragLoop::Run(POINT start, DWORD keys) {
    m_keys = keys | ModifierKeys();
    MoveTo(start);
    SetTimer(m_tracker, kOverTimer, kOverPeriod, nullptr);
    Step step = Step::Go;
    while (step == Step::Go) {
        if (!IsWindow(m_tracker) || GetCapture() != m_tracker) {
            step = Step::Cancel;
            break;
        }
        MSG m;
        if (!PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
            // Nothing waiting: the drag goes on only while its button is held (a drag a program started
            // without the button ends here, as a release where the mouse is).
            DWORD held = 0;
            if (GetKeyState(VK_LBUTTON) & 0x8000)
                held |= MK_LBUTTON;
            if (GetKeyState(VK_RBUTTON) & 0x8000)
                held |= MK_RBUTTON;
            if (!(held & m_source->m_dwButtonDrop)) {
                m_keys &= ~m_source->m_dwButtonDrop;
                step = Ask(false);
                if (step == Step::Go)
                    step = Step::Cancel;  // a source that will not drop without its button gives up
                break;
            }
            WaitMessage();
            continue;
        }
        if (m.message == WM_QUIT) {
            PostQuitMessage((int)m.wParam);
            step = Step::Cancel;
            break;
        }
        if (IsMouseMessage(m.message)) {
            // The drag takes the mouse: no window sees it while it runs.
            m_keys = ButtonsAfter(m) | (ModifierKeys() & MK_ALT);
            step = Ask(false);
            POINT p = ScreenPoint(m);
            // A release away from the last move drops on what is under it.
            if (step == Step::Go || (step == Step::Drop && (p.x != m_at.x || p.y != m_at.y)))
                MoveTo(p);
            continue;
        }
        if (m.message == WM_KEYDOWN || m.message == WM_KEYUP || m.message == WM_SYSKEYDOWN ||
            m.message == WM_SYSKEYUP) {
            bool down = m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN;
            if (down && m.wParam == VK_ESCAPE) {
                step = Ask(true);
                continue;
            }
            DWORD bit = m.wParam == VK_CONTROL ? MK_CONTROL
                        : m.wParam == VK_SHIFT ? MK_SHIFT
                        : m.wParam == VK_MENU  ? MK_ALT
                                               : 0;
            if (bit) {
                m_keys = down ? (m_keys | bit) : (m_keys & ~bit);
                step = Ask(false);
                if (step == Step::Go)
                    MoveTo(m_at);
            }
            continue;
        }
        if (m.message == WM_TIMER && m.hwnd == m_tracker && m.wParam == kOverTimer) {
            if (m_target)
                MoveTo(m_at);
            continue;
        }
        TranslateMessage(&m);
        DispatchMessage(&m);
    }
    if (IsWindow(m_tracker))
        KillTimer(m_tracker, kOverTimer);
    if (step == Step::Drop)
        return Drop();
    Leave();
    return DROPEFFECT_NONE;
}
}  // namespace

SCODE COleDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
    if (escapePressed || (keyState & m_dwButtonCancel))
        return DRAGDROP_S_CANCEL;
    if (!(keyState & m_dwButtonDrop))
        return DRAGDROP_S_DROP;
    return S_OK;
}

SCODE COleDropSource::GiveFeedback(DROPEFFECT) {
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

BOOL COleDropSource::OnBeginDrag(CWnd* wnd) {
    m_bDragStarted = FALSE;
    if (IsRectEmpty(&m_rectStartDrag)) {
        m_bDragStarted = TRUE;
        return TRUE;
    }
    HWND h = wnd ? wnd->GetSafeHwnd() : nullptr;
    if (!h)
        return FALSE;
    SetCapture(h);
    for (;;) {
        if (!IsWindow(h) || GetCapture() != h)
            break;
        MSG m;
        if (!PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (!(GetKeyState(m_dwButtonDrop == MK_RBUTTON ? VK_RBUTTON : VK_LBUTTON) & 0x8000))
                break;
            WaitMessage();
            continue;
        }
        if (m.message == WM_QUIT) {
            PostQuitMessage((int)m.wParam);
            break;
        }
        if (IsMouseMessage(m.message)) {
            DWORD keys = ButtonsAfter(m);
            if (!(keys & m_dwButtonDrop) || (keys & m_dwButtonCancel))
                break;
            POINT p = ScreenPoint(m);
            if (!PtInRect(&m_rectStartDrag, p)) {
                m_bDragStarted = TRUE;
                break;
            }
            continue;
        }
        if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE)
            break;
        TranslateMessage(&m);
        DispatchMessage(&m);
    }
    return m_bDragStarted;
}

DROPEFFECT COleDataSource::DoDragDrop(DWORD allowed, LPCRECT startRect, COleDropSource* dropSource) {
    COleDropSource ownSource;
    COleDropSource* source = dropSource ? dropSource : &ownSource;
    // The button held when the drag begins drops; the other one cancels.
    bool right = !(GetKeyState(VK_LBUTTON) & 0x8000) && (GetKeyState(VK_RBUTTON) & 0x8000);
    source->m_dwButtonDrop = right ? MK_RBUTTON : MK_LBUTTON;
    source->m_dwButtonCancel = right ? MK_LBUTTON : MK_RBUTTON;
    source->m_rectStartDrag = startRect ? *startRect : RECT{};
    HWND tracker = MakeTracker();
    if (!tracker)
        return DROPEFFECT_NONE;
    DROPEFFECT result = DROPEFFECT_NONE;
    if (source->OnBeginDrag(CWnd::FromHandle(tracker)) && IsWindow(tracker)) {
        SetCapture(tracker);
        POINT at{0, 0};
        GetCursorPos(&at);
        DragLoop loop(this, source, allowed, tracker);
        result = loop.Run(at, source->m_dwButtonDrop);
    }
    if (GetCapture() == tracker)
        ReleaseCapture();
    DestroyWindow(tracker);
    return result;
}
