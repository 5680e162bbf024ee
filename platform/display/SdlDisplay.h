// The display of a desktop: each shown top-level window is an SDL2 window showing the window's
// pixels, and SDL's mouse, keyboard, text, resize, close and clipboard events become messages.
// The main window of a program (one with a caption and no owner) gets the desktop's own frame;
// every other top-level window is borderless and draws its frame itself.
#pragma once

#include <memory>
#include <string>

#include "platform/user/Display.h"

class SdlDisplay : public DisplayBackend {
public:
    // Starts SDL's video on the calling thread, which becomes the display's thread. Null, with
    // the reason in `error`, when no display can be opened.
    static std::shared_ptr<SdlDisplay> Open(std::string* error);
    ~SdlDisplay() override;
    SdlDisplay(const SdlDisplay&) = delete;
    SdlDisplay& operator=(const SdlDisplay&) = delete;

    const char* Name() const override { return "sdl"; }
    SIZE ScreenSize() const override;
    bool DrawsFrame(DWORD style, DWORD exStyle, HWND owner) const override;
    void WindowDestroyed(HWND hwnd) override;
    void WindowShown(HWND hwnd, bool shown) override;
    void WindowMoved(HWND hwnd, const RECT& windowRect) override;
    void WindowTextChanged(HWND hwnd, LPCTSTR text) override;
    void Present(HWND hwnd, cairo_surface_t* surface) override;
    void CursorChanged(HCURSOR cursor) override;
    bool NeedsPolling() const override { return true; }
    void Poll() override;
    bool SetClipboardText(const std::string& text) override;
    bool GetClipboardText(std::string& text) override;

    // Whether a top-level window with these styles gets the desktop's frame.
    static bool IsDesktopFramed(DWORD style, DWORD exStyle, HWND owner);

private:
    SdlDisplay();
    struct Impl;
    std::unique_ptr<Impl> m;
};
