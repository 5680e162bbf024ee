// The state behind HWNDs and message queues, shared by the files of platform/user.
// Everything here is guarded by HandleWaitMutex(); no window procedure or hook runs under it.
#pragma once

#include <array>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/gdi/Region.h"
#include "platform/user/User.h"
#include "platform/user/controls/ScrollBarParts.h"

namespace user {

struct WindowClass {
    std::string name;
    WNDCLASSEX wc{};
    bool system = false;
};

struct WindowData {
    HWND hwnd = nullptr;
    std::shared_ptr<WindowClass> cls;
    WNDPROC proc = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    LONG_PTR id = 0;
    RECT rect{};            // in the parent's client coordinates (top-level windows: the screen)
    RECT clientInsets{};    // client edges from the window edges, as the last WM_NCCALCSIZE answered
    HWND parent = nullptr;  // the desktop for top-level windows
    HWND owner = nullptr;
    std::vector<HWND> children;  // z-order, topmost first
    std::string text;
    std::map<std::string, HANDLE> props;
    LONG_PTR userData = 0;
    std::vector<unsigned char> extra;
    DWORD threadId = 0;
    bool destroying = false;
    bool nativeFrame = false;  // the display draws the frame
    bool activeCaption = false;
    bool sizeMovePending = false;  // an overlapped window gets its first WM_SIZE and WM_MOVE when shown
    Region update;                 // client coordinates
    bool erasePending = false;
    bool ncPaintPending = false;
    bool internalPaint = false;
    // Top-level windows: the menu bar (its height is part of the non-client area) and the rectangle the
    // window has when neither minimised nor maximised.
    HMENU menu = nullptr;
    int menuBarHeight = 0;
    RECT normalRect{};
    bool hasNormalRect = false;
    POINT minPosition{-1, -1};
    bool restoreToMaximized = false;
    // The bars in the frame (SB_HORZ, SB_VERT); each shows while its style bit (WS_HSCROLL, WS_VSCROLL) is set.
    ScrollBarState scroll[2];
    // Top-level windows only.
    cairo_surface_t* surface = nullptr;
    bool dirty = false;
};

struct SentMessage {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result = 0;
    bool done = false;
};

struct Timer {
    HWND hwnd;
    UINT_PTR id;
    UINT elapse;
    TIMERPROC proc;
    ULONGLONG due;
};

struct Hook {
    HHOOK handle;
    int id;
    HOOKPROC proc;
};

struct ThreadQueue {
    DWORD threadId = 0;
    std::deque<MSG> posted;
    std::deque<std::shared_ptr<SentMessage>> sent;
    std::vector<Timer> timers;
    std::vector<Hook> hooks;  // newest first
    bool quitPending = false;
    int quitCode = 0;
    HWND focus = nullptr;
    HWND active = nullptr;
    HWND capture = nullptr;
    int inSend = 0;
    MSG lastMsg{};
    bool alive = true;
    // Keys down as of the key messages this thread has taken from its queue (GetKeyState).
    std::array<uint8_t, 256> keyDown{};
};

// Runs the close a termination signal asked for, when one is waiting and this is the thread that
// handles them (message retrieval calls it).
void RunPendingCloseSignal();

// AdjustWindowRectEx for a window of a known owner (a display frames only unowned windows itself).
BOOL AdjustWindowRectForOwner(LPRECT rc, DWORD style, DWORD exStyle, HWND owner);

// Windows of other running copies (OtherCopies.cpp). Their handles lie in a range of their own; the
// window calls that other copies' windows answer (IsWindow, IsWindowVisible, IsWindowEnabled, IsIconic,
// GetWindow with GW_OWNER, GetWindowLong styles, GetWindowThreadProcessId, PostMessage, ShowWindow,
// SetForegroundWindow) ask the owning process through its socket.
void StartWindowChannel();
bool IsForeignWindow(HWND hwnd);
struct ForeignWindowInfo {
    DWORD processId;
    HWND owner;
    DWORD style;
    DWORD exStyle;
};
// False when the window is gone or its process does not answer.
bool QueryForeignWindow(HWND hwnd, ForeignWindowInfo* info);
BOOL PostForeignMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL ShowForeignWindow(HWND hwnd, int cmd);
BOOL SetForeignForeground(HWND hwnd);
// Sent by the answering thread to a window of its process, so a show or an activation another copy
// asked for runs on the window's own thread; DefWindowProc carries it out.
#define WM_REMOTEWINDOWCALL 0x03F3
enum RemoteWindowCall { RemoteShow = 1, RemoteForeground = 2 };

// Lock for everything in this header.
std::mutex& Lock();

// Window table (call under the lock).
WindowData* Find(HWND hwnd);
HWND Allocate(std::unique_ptr<WindowData> data);
void Free(HWND hwnd);
HWND Desktop();
std::vector<HWND> AllWindows();

// Queues.
ThreadQueue& CurrentQueue();                           // creates this thread's queue; takes the lock itself
std::shared_ptr<ThreadQueue> QueueOf(DWORD threadId);  // under the lock
void Wake();

// Classes.
std::shared_ptr<WindowClass> FindClass(const std::string& name);
void EnsureSystemClasses();

// WM_WINDOWPOSCHANGED flags of their own: the client area kept its size or its place.
#define SWP_NOCLIENTSIZE 0x0800
#define SWP_NOCLIENTMOVE 0x1000

// Windows asked WM_GETMINMAXINFO when created and sized: overlapped ones and those with a sizing border.
bool HasMinMaxInfo(DWORD style);

// Geometry (under the lock).
// The frame the default WM_NCCALCSIZE leaves around the client area.
RECT NonClientInsets(const WindowData& w);
RECT ClientRectInParent(const WindowData& w);  // the client area in the parent's client coordinates
POINT ClientOriginOnScreen(HWND hwnd);
POINT WindowOriginOnScreen(HWND hwnd);
HWND TopLevelOf(HWND hwnd);
bool IsVisibleChain(HWND hwnd);
// Whether the window lies in the window locked against updates (under the window lock): its painting
// waits until the lock goes, when the locked window is redrawn whole.
bool IsPaintHeld(HWND hwnd);
// The part of a window's client (or whole window) area that shows, in its top-level's surface pixels.
Region VisibleRegion(HWND hwnd, bool client);
// Offset of a window's client (or window) origin in its top-level's surface.
POINT SurfaceOffset(HWND hwnd, bool client);

// Painting (call without the lock).
void InvalidateWindowArea(HWND hwnd, const RECT* clientRect, bool erase, bool children, bool frame);
// The non-client area alone is drawn again (caption, frame, menu bar): the client's update region,
// and so what a later erase covers, is left as it is.
void InvalidateFrame(HWND hwnd);
void MarkDirty(HWND topLevel);
void FlushPresents(DWORD threadId);
void EnsureSurface(HWND topLevel);
void DrawNonClient(HWND hwnd);
// The menu bar of a window with one: its height for a width, and drawing it into a window DC.
int MenuBarHeight(HMENU menu, int width);
void DrawMenuBarInto(HWND hwnd, HDC windowDC, const RECT& bar);
// Recomputes the bar's rows after the menu or the window's width changed, and the client area with them.
void RefreshMenuBarHeight(HWND hwnd);
// Only the rows for a window `width` wide; true when the bar's height changed.
bool UpdateMenuBarRows(HWND hwnd, int width);
bool MenuBarHit(HWND hwnd, POINT screen);
// A click on the bar, and Alt/F10 (mnemonic 0) or Alt+letter.
void MenuBarClick(HWND hwnd, POINT screen);
void MenuBarKey(HWND hwnd, char mnemonic);

// Non-client parts (NonClient.cpp).
#ifndef DFCS_CAPTIONCLOSE
#define DFCS_CAPTIONCLOSE 0x0000
#define DFCS_CAPTIONMIN 0x0001
#define DFCS_CAPTIONMAX 0x0002
#define DFCS_CAPTIONRESTORE 0x0003
#endif
void DrawCaptionButton(HDC dc, const RECT& r, UINT kind, bool pushed, bool enabled);
void DrawSmallWindowIcon(HDC dc, const RECT& r);
// Shows the window's own window menu (GetSystemMenu) at a screen point and sends the command chosen.
void TrackSystemMenu(HWND hwnd, POINT screen);
// The default handling of hit tests, non-client clicks, SC_ commands and menu keys; false when the
// message is not one of them.
bool DefNonClientMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

// Minimise, maximise and restore (WindowState.cpp): true when `cmd` changed the window's state and the
// caller only has to show it.
bool ApplyShowState(HWND hwnd, int cmd);

// The scroll bars of windows' frames (WindowScroll.cpp).
// Where a frame bar lies in window coordinates; empty when it does not show.
RECT WindowScrollBarRect(const WindowData& w, int bar);
// Draws the frame's bars (and the square between them) into a window DC.
void DrawWindowScrollBars(HWND hwnd, HDC windowDC);
// HTHSCROLL or HTVSCROLL over a frame bar, else HTNOWHERE.
LRESULT WindowScrollHitTest(HWND hwnd, POINT screen);
// A press on a frame bar: sends the window its WM_HSCROLL / WM_VSCROLL until the button is released.
void TrackWindowScrollBar(HWND hwnd, LRESULT hit, POINT screen);

// Hooks (call without the lock); return the chain's result.
LRESULT CallHooks(int id, int code, WPARAM wParam, LPARAM lParam);
bool HasHooks(int id);

// Calls a window procedure of the current thread's window.
LRESULT CallProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Handles the messages other threads have sent to this one; true when it handled any.
bool ProcessSentMessages();

// Fires when a window's pixels change (for a display to show them).
void NotifyDisplayShow(HWND hwnd, bool shown);

}  // namespace user

namespace user {
// Puts a maximised window back over the whole of its parent's client area after that area changed.
void Remaximize(HWND hwnd);
}  // namespace user
