// Where top-level windows appear. The window layer keeps every top-level window's pixels in a
// surface; a display shows them and turns its own events into messages. platform/display holds
// the `headless` and `sdl` displays.
#pragma once

#include <memory>
#include <string>

#include "platform/user/User.h"

#ifndef WM_CLIPBOARDUPDATE
#define WM_CLIPBOARDUPDATE 0x031D
#endif

class DisplayBackend {
public:
    virtual ~DisplayBackend() = default;
    virtual const char* Name() const = 0;
    virtual SIZE ScreenSize() const { return SIZE{1280, 1024}; }
    // True when the display draws this top-level window's frame and caption itself.
    virtual bool DrawsFrame(DWORD /*style*/, DWORD /*exStyle*/, HWND /*owner*/) const { return false; }
    virtual void WindowCreated(HWND) {}
    virtual void WindowDestroyed(HWND) {}
    virtual void WindowShown(HWND, bool /*shown*/) {}
    virtual void WindowMoved(HWND, const RECT& /*windowRect*/) {}
    virtual void WindowTextChanged(HWND, LPCTSTR) {}
    // New pixels of a top-level window.
    virtual void Present(HWND, cairo_surface_t*) {}
    // The cursor to show over the program's windows from now on (SetCursor); null hides it.
    virtual void CursorChanged(HCURSOR) {}
    // Events are read by polling on the thread that installed the display.
    virtual bool NeedsPolling() const { return false; }
    virtual void Poll() {}
    // The desktop's text clipboard; false when the display has none.
    virtual bool SetClipboardText(const std::string& /*text*/) { return false; }
    virtual bool GetClipboardText(std::string& /*text*/) { return false; }
};

// Installs a display (null: none); the calling thread becomes the display's thread.
void SetDisplayBackend(std::shared_ptr<DisplayBackend> display);
DisplayBackend* GetDisplayBackend();
std::shared_ptr<DisplayBackend> GetDisplayBackendShared();
DWORD GetDisplayThreadId();
// Polls the display when the calling thread is its thread.
void PollDisplay();

// Windows told with WM_CLIPBOARDUPDATE when the clipboard's contents change.
BOOL AddClipboardFormatListener(HWND hwnd);
BOOL RemoveClipboardFormatListener(HWND hwnd);
// Posts WM_CLIPBOARDUPDATE to every listener (a display calls it when the desktop's clipboard changes).
void NotifyClipboardListeners();
