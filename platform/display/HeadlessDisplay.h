// The display of tests: every top-level window is kept in memory with the pixels it last
// presented, whether it is shown, its place and its title. Nothing reaches a screen.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/user/Display.h"

class HeadlessDisplay : public DisplayBackend {
public:
    explicit HeadlessDisplay(SIZE screen = SIZE{1280, 1024});
    ~HeadlessDisplay() override;
    HeadlessDisplay(const HeadlessDisplay&) = delete;
    HeadlessDisplay& operator=(const HeadlessDisplay&) = delete;

    const char* Name() const override { return "headless"; }
    SIZE ScreenSize() const override { return m_screen; }
    void WindowCreated(HWND hwnd) override;
    void WindowDestroyed(HWND hwnd) override;
    void WindowShown(HWND hwnd, bool shown) override;
    void WindowMoved(HWND hwnd, const RECT& windowRect) override;
    void WindowTextChanged(HWND hwnd, LPCTSTR text) override;
    void Present(HWND hwnd, cairo_surface_t* surface) override;
    bool SetClipboardText(const std::string& text) override;
    bool GetClipboardText(std::string& text) override;

    // Top-level windows that exist now, shown or not, in the order they were created.
    std::vector<HWND> Windows() const;
    bool IsShown(HWND hwnd) const;
    std::string Title(HWND hwnd) const;
    RECT Placement(HWND hwnd) const;
    // How many times the window presented new pixels.
    int PresentCount(HWND hwnd) const;
    // A pixel of what the window last presented (window coordinates), CLR_INVALID when none.
    COLORREF PresentedPixel(HWND hwnd, int x, int y) const;
    // Changes the clipboard as another program would: listeners are told.
    void SetClipboardFromOutside(const std::string& text);

private:
    struct Window {
        uint64_t order = 0;
        bool shown = false;
        std::string title;
        RECT rect{};
        int presents = 0;
        cairo_surface_t* pixels = nullptr;  // a copy of the last present
    };
    mutable std::mutex m_mutex;
    SIZE m_screen;
    uint64_t m_nextOrder = 0;
    std::map<HWND, Window> m_windows;
    std::string m_clipboard;

    Window& Entry(HWND hwnd);  // under the lock
};
