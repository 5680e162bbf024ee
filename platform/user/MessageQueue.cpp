// Per-thread message queues: posting, sending across threads, retrieval with paint and timer
// messages, dispatch, hooks, and the waits that keep handling sent messages.
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <map>

#include "platform/base/Clock.h"
#include "platform/base/HandleTable.h"
#include "platform/base/Sync.h"
#include "platform/base/String.h"
#include "platform/user/Display.h"
#include "platform/user/UserInternal.h"

namespace user {
namespace {
// Never destroyed: a thread's queue is released by its thread-exit cleanup, which can run after the
// program's static objects are gone (a thread whose handle was already waited for at exit).
std::map<DWORD, std::shared_ptr<ThreadQueue>>& g_queues = *new std::map<DWORD, std::shared_ptr<ThreadQueue>>;
HandleTable<DWORD, HHOOK>& g_hooks = *new HandleTable<DWORD, HHOOK>{0x1000};  // each hook's thread; guarded by Lock()
std::atomic<UINT_PTR> g_nextTimerId{0x7FFF};

void ReleaseThreadQueue(std::shared_ptr<ThreadQueue>& q);

struct QueueHolder {
    std::shared_ptr<ThreadQueue> queue;
    ~QueueHolder() {
        if (queue)
            ReleaseThreadQueue(queue);
    }
};
thread_local QueueHolder t_holder;

void ReleaseThreadQueue(std::shared_ptr<ThreadQueue>& q) {
    std::vector<HWND> doomed;
    {
        std::lock_guard<std::mutex> g(Lock());
        q->alive = false;
        // A sender waiting on this thread gets 0, as a send to a destroyed window does.
        for (auto& s : q->sent)
            s->done = true;
        q->sent.clear();
        g_queues.erase(q->threadId);
        for (const Hook& h : q->hooks)
            g_hooks.Remove(h.handle);
        for (HWND h : AllWindows()) {
            WindowData* w = Find(h);
            if (w && w->threadId == q->threadId && w->parent == Desktop())
                doomed.push_back(h);
        }
        // The windows of a thread that ended go with it, without messages.
        std::vector<HWND> all;
        for (HWND top : doomed) {
            std::vector<HWND> stack{top};
            while (!stack.empty()) {
                HWND h = stack.back();
                stack.pop_back();
                all.push_back(h);
                if (WindowData* w = Find(h))
                    stack.insert(stack.end(), w->children.begin(), w->children.end());
            }
        }
        WindowData* desk = Find(Desktop());
        for (HWND top : doomed)
            desk->children.erase(std::remove(desk->children.begin(), desk->children.end(), top),
                                 desk->children.end());
        for (HWND h : all)
            Free(h);
    }
    Wake();
}

bool InRange(UINT msg, UINT lo, UINT hi) {
    return (lo == 0 && hi == 0) || (msg >= lo && msg <= hi);
}

bool FilterWindow(HWND filter, HWND hwnd) {
    if (!filter)
        return true;
    if (filter == (HWND)(LONG_PTR)-1)
        return hwnd == nullptr;
    for (WindowData* w = Find(hwnd); w; w = Find(w->parent)) {
        if (w->hwnd == filter)
            return true;
        if (!(w->style & WS_CHILD))
            break;
    }
    return false;
}

bool NeedsPaint(const WindowData& w) {
    return !w.destroying && (!w.update.IsEmpty() || w.ncPaintPending || w.internalPaint);
}

HWND FindPaint(HWND root, DWORD tid, HWND filter) {
    WindowData* w = Find(root);
    if (!w || !(w->style & WS_VISIBLE) || root == GetLockedWindow())
        return nullptr;
    if (w->hwnd != Desktop() && w->threadId == tid && NeedsPaint(*w) && FilterWindow(filter, root))
        return root;
    for (HWND c : w->children)
        if (HWND h = FindPaint(c, tid, filter))
            return h;
    return nullptr;
}

const Timer* DueTimer(ThreadQueue& q, HWND filter, ULONGLONG now) {
    const Timer* best = nullptr;
    for (const Timer& t : q.timers)
        if (t.due <= now && FilterWindow(filter, t.hwnd) && (!best || t.due < best->due))
            best = &t;
    return best;
}

enum class Found { None, Posted, Quit, Paint, Timer };

// What the next message would be (under the lock).
Found Next(ThreadQueue& q, HWND filter, UINT lo, UINT hi, size_t* postedIndex, HWND* paintWindow,
           const Timer** timer) {
    for (size_t i = 0; i < q.posted.size(); ++i) {
        const MSG& m = q.posted[i];
        if (InRange(m.message, lo, hi) && FilterWindow(filter, m.hwnd)) {
            *postedIndex = i;
            return Found::Posted;
        }
    }
    if (q.quitPending && InRange(WM_QUIT, lo, hi) && !filter)
        return Found::Quit;
    if (InRange(WM_PAINT, lo, hi))
        if (HWND h = FindPaint(Desktop(), q.threadId, filter)) {
            *paintWindow = h;
            return Found::Paint;
        }
    if (InRange(WM_TIMER, lo, hi))
        if (const Timer* t = DueTimer(q, filter, PlatformClockNow())) {
            *timer = t;
            return Found::Timer;
        }
    return Found::None;
}

// The key state a thread reads follows the key messages in the order it takes them, however
// far the input itself has moved on (Shift+End typed faster than the program reads).
void TrackKeyState(ThreadQueue& q, const MSG& m) {
    switch (m.message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_LBUTTONUP:
            q.keyDown[VK_LBUTTON] = m.message != WM_LBUTTONUP;
            return;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_RBUTTONUP:
            q.keyDown[VK_RBUTTON] = m.message != WM_RBUTTONUP;
            return;
        default:
            break;
    }
    if (m.wParam >= 256)
        return;
    if (m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN)
        q.keyDown[m.wParam] = 1;
    else if (m.message == WM_KEYUP || m.message == WM_SYSKEYUP)
        q.keyDown[m.wParam] = 0;
}

POINT CursorPos() {
    return POINT{0, 0};
}

bool Retrieve(ThreadQueue& q, MSG* out, HWND filter, UINT lo, UINT hi, UINT remove) {
    ProcessSentMessages();
    PollDisplay();
    RunPendingCloseSignal();
    bool paintLeft;
    {
        std::lock_guard<std::mutex> g(Lock());
        size_t index = 0;
        HWND paint = nullptr;
        const Timer* timer = nullptr;
        Found f = Next(q, filter, lo, hi, &index, &paint, &timer);
        ULONGLONG now = PlatformClockNow();
        switch (f) {
            case Found::Posted:
                *out = q.posted[index];
                if (remove & PM_REMOVE) {
                    q.posted.erase(q.posted.begin() + (long)index);
                    TrackKeyState(q, *out);
                }
                return true;
            case Found::Quit:
                *out = MSG{nullptr, WM_QUIT, (WPARAM)q.quitCode, 0, (DWORD)now, CursorPos()};
                if (remove & PM_REMOVE)
                    q.quitPending = false;
                return true;
            case Found::Paint:
                *out = MSG{paint, WM_PAINT, 0, 0, (DWORD)now, CursorPos()};
                return true;
            case Found::Timer: {
                *out = MSG{timer->hwnd, WM_TIMER, timer->id, (LPARAM)timer->proc, (DWORD)now, CursorPos()};
                if (remove & PM_REMOVE)
                    const_cast<Timer*>(timer)->due = now + timer->elapse;
                return true;
            }
            case Found::None:
                break;
        }
        paintLeft = FindPaint(Desktop(), q.threadId, nullptr) != nullptr;
    }
    if (!paintLeft)
        FlushPresents(q.threadId);
    return false;
}

bool IsMouse(UINT m) {
    return (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || (m >= WM_NCMOUSEMOVE && m <= 0x00A9);
}
bool IsKey(UINT m) {
    return m >= WM_KEYFIRST && m <= WM_KEYLAST;
}

// Runs the input and get-message hooks; false when a hook ate the message.
bool RunRetrieveHooks(MSG* msg, UINT remove) {
    if (IsMouse(msg->message) && HasHooks(WH_MOUSE)) {
        MOUSEHOOKSTRUCT mh{msg->pt, msg->hwnd, HTCLIENT, 0};
        if (CallHooks(WH_MOUSE, (remove & PM_REMOVE) ? HC_ACTION : HC_NOREMOVE, msg->message, (LPARAM)&mh))
            return false;
    }
    if (IsKey(msg->message) && HasHooks(WH_KEYBOARD)) {
        if (CallHooks(WH_KEYBOARD, (remove & PM_REMOVE) ? HC_ACTION : HC_NOREMOVE, msg->wParam, msg->lParam))
            return false;
    }
    if (HasHooks(WH_GETMESSAGE))
        CallHooks(WH_GETMESSAGE, HC_ACTION, remove & PM_REMOVE, (LPARAM)msg);
    return true;
}

bool InputReady(ThreadQueue& q, DWORD mask) {
    if ((mask & (QS_POSTMESSAGE | QS_INPUT)) && (!q.posted.empty() || q.quitPending))
        return true;
    if ((mask & QS_PAINT) && FindPaint(Desktop(), q.threadId, nullptr))
        return true;
    if ((mask & QS_TIMER) && DueTimer(q, nullptr, PlatformClockNow()))
        return true;
    return false;
}

ULONGLONG NextTimerWait(ThreadQueue& q) {
    std::lock_guard<std::mutex> g(Lock());
    ULONGLONG now = PlatformClockNow();
    ULONGLONG best = INFINITE;
    for (const Timer& t : q.timers)
        best = std::min<ULONGLONG>(best, t.due > now ? t.due - now : 0);
    return best;
}

WaitExtras MessageWaitExtras(ThreadQueue& q, std::function<bool()> ready) {
    WaitExtras e;
    e.ready = std::move(ready);
    e.hasWork = [&q] { return !q.sent.empty(); };
    e.doWork = [] {
        ProcessSentMessages();
        PollDisplay();
    };
    auto display = GetDisplayBackendShared();
    if (display->NeedsPolling() && GetDisplayThreadId() == GetCurrentThreadId())
        e.pollMs = 10;
    return e;
}
}  // namespace

ThreadQueue& CurrentQueue() {
    if (!t_holder.queue) {
        auto q = std::make_shared<ThreadQueue>();
        q->threadId = GetCurrentThreadId();
        std::lock_guard<std::mutex> g(Lock());
        g_queues[q->threadId] = q;
        t_holder.queue = q;
    }
    return *t_holder.queue;
}

std::shared_ptr<ThreadQueue> QueueOf(DWORD threadId) {
    auto it = g_queues.find(threadId);
    return it == g_queues.end() ? nullptr : it->second;
}

void Wake() {
    NotifyHandleWaiters();
}

LRESULT CallProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WNDPROC proc;
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w)
            return 0;
        proc = w->proc;
    }
    if (!proc)
        return DefWindowProc(hwnd, msg, wParam, lParam);
    return proc(hwnd, msg, wParam, lParam);
}

bool ProcessSentMessages() {
    ThreadQueue& q = CurrentQueue();
    bool any = false;
    for (;;) {
        std::shared_ptr<SentMessage> s;
        {
            std::lock_guard<std::mutex> g(Lock());
            if (q.sent.empty())
                break;
            s = q.sent.front();
            q.sent.pop_front();
        }
        any = true;
        ++q.inSend;
        LRESULT r = CallProc(s->hwnd, s->msg, s->wParam, s->lParam);
        --q.inSend;
        {
            std::lock_guard<std::mutex> g(Lock());
            s->result = r;
            s->done = true;
        }
        Wake();
    }
    return any;
}

bool HasHooks(int id) {
    ThreadQueue& q = CurrentQueue();
    std::lock_guard<std::mutex> g(Lock());
    for (const Hook& h : q.hooks)
        if (h.id == id)
            return true;
    return false;
}

LRESULT CallHooks(int id, int code, WPARAM wParam, LPARAM lParam) {
    ThreadQueue& q = CurrentQueue();
    Hook first{};
    {
        std::lock_guard<std::mutex> g(Lock());
        auto it = std::find_if(q.hooks.begin(), q.hooks.end(), [&](const Hook& h) { return h.id == id; });
        if (it == q.hooks.end())
            return 0;
        first = *it;
    }
    return first.proc(code, wParam, lParam);
}

}  // namespace user

using namespace user;

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // Another copy's window gets the message posted by its own process; no result comes back.
    if (IsForeignWindow(hwnd)) {
        PostForeignMessage(hwnd, msg, wParam, lParam);
        return 0;
    }
    DWORD tid;
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w || hwnd == Desktop()) {
            SetLastError(1400);
            return 0;
        }
        tid = w->threadId;
    }
    if (tid == GetCurrentThreadId())
        return CallProc(hwnd, msg, wParam, lParam);
    ThreadQueue& own = CurrentQueue();
    auto s = std::make_shared<SentMessage>(SentMessage{hwnd, msg, wParam, lParam});
    {
        std::lock_guard<std::mutex> g(Lock());
        auto q = QueueOf(tid);
        if (!q || !q->alive || !Find(hwnd))
            return 0;
        q->sent.push_back(s);
    }
    Wake();
    // The sender keeps handling what others send to it, so two threads sending to each other never
    // deadlock.
    WaitForHandlesEx(0, nullptr, FALSE, INFINITE, MessageWaitExtras(own, [s] { return s->done; }));
    std::lock_guard<std::mutex> g(Lock());
    return s->result;
}

LRESULT SendMessageTimeout(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT flags, UINT timeout,
                           PDWORD_PTR result) {
    (void)flags;  // no thread here is ever judged hung: SMTO_ABORTIFHUNG waits like SMTO_NORMAL
    DWORD tid;
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w || hwnd == Desktop()) {
            SetLastError(1400);
            return 0;
        }
        tid = w->threadId;
    }
    if (tid == GetCurrentThreadId()) {
        LRESULT r = CallProc(hwnd, msg, wParam, lParam);
        if (result)
            *result = (DWORD_PTR)r;
        return 1;
    }
    ThreadQueue& own = CurrentQueue();
    auto s = std::make_shared<SentMessage>(SentMessage{hwnd, msg, wParam, lParam});
    {
        std::lock_guard<std::mutex> g(Lock());
        auto q = QueueOf(tid);
        if (!q || !q->alive || !Find(hwnd))
            return 0;
        q->sent.push_back(s);
    }
    Wake();
    // On a time-out the message stays queued: the receiver still handles it, and nobody waits.
    WaitForHandlesEx(0, nullptr, FALSE, timeout, MessageWaitExtras(own, [s] { return s->done; }));
    std::lock_guard<std::mutex> g(Lock());
    if (!s->done) {
        SetLastError(1460);  // ERROR_TIMEOUT
        return 0;
    }
    if (result)
        *result = (DWORD_PTR)s->result;
    return 1;
}

static BOOL PostTo(DWORD tid, const MSG& m) {
    {
        std::lock_guard<std::mutex> g(Lock());
        auto q = QueueOf(tid);
        if (!q || !q->alive) {
            SetLastError(1444);  // ERROR_INVALID_THREAD_ID
            return FALSE;
        }
        q->posted.push_back(m);
    }
    Wake();
    return TRUE;
}

BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (IsForeignWindow(hwnd))
        return PostForeignMessage(hwnd, msg, wParam, lParam);
    DWORD tid;
    if (!hwnd) {
        tid = CurrentQueue().threadId;
    } else {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w || w->destroying) {
            SetLastError(1400);
            return FALSE;
        }
        tid = w->threadId;
    }
    return PostTo(tid, MSG{hwnd, msg, wParam, lParam, (DWORD)PlatformClockNow(), POINT{0, 0}});
}

BOOL PostThreadMessage(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam) {
    return PostTo(threadId, MSG{nullptr, msg, wParam, lParam, (DWORD)PlatformClockNow(), POINT{0, 0}});
}

void PostQuitMessage(int exitCode) {
    ThreadQueue& q = CurrentQueue();
    {
        std::lock_guard<std::mutex> g(Lock());
        q.quitPending = true;
        q.quitCode = exitCode;
    }
    Wake();
}

BOOL PeekMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT remove) {
    if (!msg)
        return FALSE;
    ThreadQueue& q = CurrentQueue();
    for (;;) {
        if (!Retrieve(q, msg, hwnd, filterMin, filterMax, remove))
            return FALSE;
        if (!RunRetrieveHooks(msg, remove)) {
            if (!(remove & PM_REMOVE)) {
                // A hook refused a message left in the queue: take it out so the next look moves on.
                MSG dropped;
                Retrieve(q, &dropped, hwnd, filterMin, filterMax, PM_REMOVE);
            }
            continue;
        }
        if (remove & PM_REMOVE)
            q.lastMsg = *msg;
        return TRUE;
    }
}

BOOL GetMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    if (!msg)
        return -1;
    ThreadQueue& q = CurrentQueue();
    for (;;) {
        if (PeekMessage(msg, hwnd, filterMin, filterMax, PM_REMOVE))
            return msg->message != WM_QUIT;
        ULONGLONG timerWait = NextTimerWait(q);
        DWORD timeout = timerWait == INFINITE || PlatformClockIsDriven() ? INFINITE : (DWORD)timerWait;
        WaitForHandlesEx(0, nullptr, FALSE, timeout, MessageWaitExtras(q, [&q, hwnd, filterMin, filterMax] {
                             size_t i;
                             HWND p;
                             const Timer* t;
                             return Next(q, hwnd, filterMin, filterMax, &i, &p, &t) != Found::None;
                         }));
    }
}

BOOL WaitMessage() {
    ThreadQueue& q = CurrentQueue();
    ULONGLONG timerWait = NextTimerWait(q);
    DWORD timeout = timerWait == INFINITE || PlatformClockIsDriven() ? INFINITE : (DWORD)timerWait;
    WaitForHandlesEx(0, nullptr, FALSE, timeout,
                     MessageWaitExtras(q, [&q] { return InputReady(q, QS_ALLINPUT); }));
    return TRUE;
}

// Waits for the handles or for input of the kinds in `wakeMask`. Messages other threads send are not
// handled here: with QS_SENDMESSAGE in the mask their arrival ends the wait (WAIT_OBJECT_0 + count) and
// the next PeekMessage or GetMessage handles them; without it they wait for that call.
static DWORD MessageWait(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds,
                         DWORD wakeMask) {
    ThreadQueue& q = CurrentQueue();
    WaitExtras e;
    // Input already waiting counts, so a caller that peeked and left messages is not stuck.
    e.ready = [&q, wakeMask] {
        return InputReady(q, wakeMask) || ((wakeMask & QS_SENDMESSAGE) && !q.sent.empty());
    };
    auto display = GetDisplayBackendShared();
    if (display->NeedsPolling() && GetDisplayThreadId() == GetCurrentThreadId()) {
        e.doWork = [] { PollDisplay(); };
        e.pollMs = 10;
    }
    return WaitForHandlesEx(count, handles, waitAll, milliseconds, e);
}

DWORD MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, DWORD milliseconds, DWORD wakeMask,
                                  DWORD flags) {
    (void)flags;
    return MessageWait(count, handles, FALSE, milliseconds, wakeMask);
}

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds,
                                DWORD wakeMask) {
    return MessageWait(count, handles, waitAll, milliseconds, wakeMask);
}

DWORD GetQueueStatus(UINT flags) {
    ThreadQueue& q = CurrentQueue();
    std::lock_guard<std::mutex> g(Lock());
    DWORD status = 0;
    if (!q.posted.empty() || q.quitPending)
        status |= QS_POSTMESSAGE;
    if (FindPaint(Desktop(), q.threadId, nullptr))
        status |= QS_PAINT;
    if (DueTimer(q, nullptr, PlatformClockNow()))
        status |= QS_TIMER;
    if (!q.sent.empty())
        status |= QS_SENDMESSAGE;
    status &= flags;
    return MAKELONG(status, status);
}

BOOL InSendMessage() {
    return CurrentQueue().inSend > 0;
}
LONG GetMessageTime() {
    return (LONG)CurrentQueue().lastMsg.time;
}
DWORD GetMessagePos() {
    POINT p = CurrentQueue().lastMsg.pt;
    return (DWORD)MAKELONG(p.x, p.y);
}

BOOL TranslateMessage(const MSG* msg) {
    if (!msg || msg->message != WM_KEYDOWN)
        return FALSE;
    char ch = 0;
    switch (msg->wParam) {
        case VK_RETURN:
            ch = '\r';
            break;
        case VK_ESCAPE:
            ch = 0x1B;
            break;
        case VK_BACK:
            ch = 0x08;
            break;
        case VK_TAB:
            ch = '\t';
            break;
        default:
            return FALSE;
    }
    return PostMessage(msg->hwnd, WM_CHAR, (WPARAM)(unsigned char)ch, msg->lParam);
}

LRESULT DispatchMessage(const MSG* msg) {
    if (!msg)
        return 0;
    if (msg->message == WM_TIMER && msg->lParam) {
        reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, (UINT_PTR)msg->wParam, GetTickCount());
        return 0;
    }
    if (!msg->hwnd)
        return 0;
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(msg->hwnd);
        if (!w || w->threadId != GetCurrentThreadId())
            return 0;
    }
    return CallProc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

UINT RegisterWindowMessage(LPCTSTR name) {
    static std::mutex m;
    static std::map<std::string, UINT> names;
    if (!name || !*name)
        return 0;
    std::string key = name;
    for (char& c : key)
        c = AsciiLower(c);
    std::lock_guard<std::mutex> g(m);
    auto it = names.find(key);
    if (it != names.end())
        return it->second;
    UINT id = 0xC000 + (UINT)names.size();
    names[key] = id;
    return id;
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    DWORD tid;
    if (hwnd) {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w) {
            SetLastError(1400);
            return 0;
        }
        tid = w->threadId;
    } else {
        tid = CurrentQueue().threadId;
        id = ++g_nextTimerId;
    }
    elapse = std::max<UINT>(elapse, 10);
    {
        std::lock_guard<std::mutex> g(Lock());
        auto q = QueueOf(tid);
        if (!q)
            return 0;
        ULONGLONG due = PlatformClockNow() + elapse;
        auto it = std::find_if(q->timers.begin(), q->timers.end(),
                               [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
        if (it != q->timers.end())
            *it = Timer{hwnd, id, elapse, proc, due};
        else
            q->timers.push_back(Timer{hwnd, id, elapse, proc, due});
    }
    Wake();
    return hwnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    std::lock_guard<std::mutex> g(Lock());
    DWORD tid = GetCurrentThreadId();
    if (hwnd) {
        WindowData* w = Find(hwnd);
        if (!w)
            return FALSE;
        tid = w->threadId;
    }
    auto q = QueueOf(tid);
    if (!q)
        return FALSE;
    auto it = std::find_if(q->timers.begin(), q->timers.end(),
                           [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (it == q->timers.end())
        return FALSE;
    q->timers.erase(it);
    return TRUE;
}

HHOOK SetWindowsHookEx(int idHook, HOOKPROC proc, HINSTANCE, DWORD threadId) {
    if (!proc)
        return nullptr;
    if (threadId == 0)
        threadId = GetCurrentThreadId();
    CurrentQueue();
    std::lock_guard<std::mutex> g(Lock());
    auto q = QueueOf(threadId);
    if (!q)
        return nullptr;
    HHOOK h = g_hooks.Add(threadId);
    if (!h)
        return nullptr;
    q->hooks.insert(q->hooks.begin(), Hook{h, idHook, proc});
    return h;
}

BOOL UnhookWindowsHookEx(HHOOK hook) {
    std::lock_guard<std::mutex> g(Lock());
    std::optional<DWORD> tid = g_hooks.Take(hook);
    auto q = tid ? QueueOf(*tid) : nullptr;
    if (!q)
        return FALSE;
    q->hooks.erase(
        std::remove_if(q->hooks.begin(), q->hooks.end(), [&](const Hook& h) { return h.handle == hook; }),
        q->hooks.end());
    return TRUE;
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
    ThreadQueue& q = CurrentQueue();
    Hook next{};
    {
        std::lock_guard<std::mutex> g(Lock());
        auto it =
            std::find_if(q.hooks.begin(), q.hooks.end(), [&](const Hook& h) { return h.handle == hook; });
        if (it == q.hooks.end())
            return 0;
        int id = it->id;
        it = std::find_if(it + 1, q.hooks.end(), [&](const Hook& h) { return h.id == id; });
        if (it == q.hooks.end())
            return 0;
        next = *it;
    }
    return next.proc(code, wParam, lParam);
}

BOOL CallMsgFilter(LPMSG msg, int code) {
    if (!msg || !HasHooks(WH_MSGFILTER))
        return FALSE;
    return CallHooks(WH_MSGFILTER, code, 0, (LPARAM)msg) != 0;
}

// ---- Input --------------------------------------------------------------------------------------

// Keys and buttons down as input arrives (GetAsyncKeyState); GetKeyState reads the thread's own view.
static std::atomic<uint8_t> g_keyDown[256];

void PostMouseInput(UINT message, POINT screen, WPARAM keys) {
    SetCursorPos(screen.x, screen.y);
    // The buttons' state follows the input as it arrives, as the keys' does.
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_LBUTTONUP:
            g_keyDown[VK_LBUTTON] = message != WM_LBUTTONUP;
            break;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_RBUTTONUP:
            g_keyDown[VK_RBUTTON] = message != WM_RBUTTONUP;
            break;
        default:
            break;
    }
    HWND target = CurrentQueue().capture;
    if (!target)
        target = WindowFromPoint(screen);
    if (!target)
        return;
    bool down = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
    HWND top = GetAncestor(target, GA_ROOT);
    DWORD tid = GetWindowThreadProcessId(target, nullptr);
    bool ownThread = tid == GetCurrentThreadId();
    // The window under the pointer picks the cursor (a captured mouse leaves it to the capture window).
    bool askCursor = ownThread && !CurrentQueue().capture;
    auto setCursor = [&](LRESULT code) {
        if (askCursor && IsWindow(target))
            SendMessage(target, WM_SETCURSOR, (WPARAM)target, MAKELPARAM((WORD)code, (WORD)message));
    };
    if (!IsWindowEnabled(target) || !IsWindowEnabled(top)) {
        // A click on a disabled window goes nowhere; the user hears it.
        setCursor(HTERROR);
        if (down)
            MessageBeep(MB_OK);
        return;
    }
    LRESULT hit = HTCLIENT;
    if (askCursor)
        hit = SendMessage(target, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    LRESULT ma = MA_ACTIVATE;
    if (down && ownThread && !CurrentQueue().capture && IsWindow(target)) {
        // The window pressed (and through it its parents) may refuse the activation, and may eat the press.
        ma = SendMessage(target, WM_MOUSEACTIVATE, (WPARAM)top, MAKELPARAM((WORD)hit, (WORD)message));
        if (!IsWindow(target))
            return;
    }
    // Popups that never take the activation (drop-down lists, tips) leave it where it is.
    bool refused = ma == MA_NOACTIVATE || ma == MA_NOACTIVATEANDEAT;
    if (down && ownThread && !refused && GetActiveWindow() != top &&
        !(GetWindowLongPtr(top, GWL_EXSTYLE) & WS_EX_NOACTIVATE))
        SetActiveWindow(top);
    setCursor(hit);
    if (ma == MA_ACTIVATEANDEAT || ma == MA_NOACTIVATEANDEAT)
        return;
    MSG m{target, message, keys, 0, (DWORD)PlatformClockNow(), screen};
    if (hit != HTCLIENT && message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) {
        m.message = message - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
        m.wParam = (WPARAM)hit;
        m.lParam = MAKELPARAM(screen.x, screen.y);
    } else {
        POINT c = screen;
        ScreenToClient(target, &c);
        m.lParam = MAKELPARAM(c.x, c.y);
    }
    PostTo(tid, m);
}

static std::atomic<uint8_t> g_keyToggled[256];  // flips at each press (Caps Lock, Num Lock, Scroll Lock)

SHORT GetKeyState(int vk) {
    if (vk < 0 || vk >= 256)
        return 0;
    ThreadQueue& q = CurrentQueue();
    std::lock_guard<std::mutex> g(Lock());
    return (SHORT)((q.keyDown[(size_t)vk] ? 0x8000 : 0) | (g_keyToggled[vk] ? 1 : 0));
}

BOOL GetKeyboardState(BYTE* keys) {
    if (!keys)
        return FALSE;
    ThreadQueue& q = CurrentQueue();
    std::lock_guard<std::mutex> g(Lock());
    for (int vk = 0; vk < 256; ++vk)
        keys[vk] = (BYTE)((q.keyDown[(size_t)vk] ? 0x80 : 0) | (g_keyToggled[vk] ? 1 : 0));
    return TRUE;
}

void SetKeyToggleForTest(int vk, BOOL on) {
    if (vk >= 0 && vk < 256)
        g_keyToggled[vk] = on ? 1 : 0;
}
SHORT GetAsyncKeyState(int vk) {
    return (vk >= 0 && vk < 256 && g_keyDown[vk]) ? (SHORT)0x8000 : 0;
}

void PostKeyInput(UINT message, WPARAM vk, LPARAM flags) {
    if ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && vk < 256) {
        if (!g_keyDown[vk])
            g_keyToggled[vk] = g_keyToggled[vk] ? 0 : 1;
        g_keyDown[vk] = 1;
    }
    if ((message == WM_KEYUP || message == WM_SYSKEYUP) && vk < 256)
        g_keyDown[vk] = 0;
    HWND target = GetFocus();
    if (!target) {
        // With no focus window, keys reach the active window as system keys.
        target = GetActiveWindow();
        if (message == WM_KEYDOWN)
            message = WM_SYSKEYDOWN;
        else if (message == WM_KEYUP)
            message = WM_SYSKEYUP;
    }
    if (!target)
        return;
    PostTo(GetWindowThreadProcessId(target, nullptr),
           MSG{target, message, vk, flags, (DWORD)PlatformClockNow(), POINT{0, 0}});
}

void SimulateMouseButton(HWND hwnd, int x, int y, UINT downMessage, UINT upMessage) {
    POINT p{x, y};
    if (hwnd)
        ClientToScreen(hwnd, &p);
    WPARAM keys = downMessage == WM_RBUTTONDOWN ? MK_RBUTTON : MK_LBUTTON;
    PostMouseInput(downMessage, p, keys);
    PostMouseInput(upMessage, p, 0);
}

void SimulateClick(HWND hwnd, int x, int y) {
    SimulateMouseButton(hwnd, x, y, WM_LBUTTONDOWN, WM_LBUTTONUP);
}

void SimulateKey(UINT vk) {
    PostKeyInput(WM_KEYDOWN, vk, 1);
    PostKeyInput(WM_KEYUP, vk, (LPARAM)0xC0000001);
}

void SimulateChars(LPCTSTR text) {
    for (const char* p = text; p && *p; ++p)
        PostKeyInput(WM_CHAR, (WPARAM)(unsigned char)*p, 1);
}
