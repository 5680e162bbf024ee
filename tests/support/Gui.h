// Driving windows in a test as a user does, on the headless display, and looking at what they show.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/base/Clock.h"
#include "platform/user/User.h"

// Handles every queued message; with `translate`, key strokes become characters first, as in a
// program's own loop.
void Pump(bool translate = false);

// Registers a window class for a test's parent windows once per process (later calls do nothing),
// with its background in the system colour `colourIndex`.
void RegisterTestWindowClass(const char* name, WNDPROC proc, int colourIndex);

// A click at the centre of a window's client area, queued for the caller's loop.
void ClickCentre(HWND hwnd);
// A click at the centre of a dialog's control, queued.
void ClickDlgItem(HWND dialog, int id);

// Steps run one per tick of a timer inside the modal loop the test starts next (a dialog, a message
// box, a picker): each step gets the active window, and the input it queues is handled before the next
// step runs. The platform clock is driven while the object lives.
class ModalSteps {
public:
    using Step = std::function<void(HWND)>;
    ModalSteps();
    ~ModalSteps();
    ModalSteps(const ModalSteps&) = delete;
    ModalSteps& operator=(const ModalSteps&) = delete;

    // Queues the steps; call just before the modal loop starts.
    void Start(std::vector<Step> steps);
    // Drops the steps not yet run, so a loop that ended early leaves none for a later message pump.
    void Stop();
    DrivenClock& Clock() { return m_clock; }

    // A step that clicks the centre of the active window's control with this id.
    static Step ClickItem(int id);
    // A step that strikes a key.
    static Step Key(UINT vk);

private:
    static void CALLBACK_Tick(HWND, UINT, UINT_PTR id, DWORD);
    DrivenClock m_clock;
    std::vector<Step> m_steps;
    size_t m_next = 0;
    UINT_PTR m_timer = 0;
};

// Pixels of what a window shows, in coordinates of its window rectangle.
class PixelProbe {
public:
    explicit PixelProbe(HWND hwnd) : m_hwnd(hwnd) {}
    COLORREF At(int x, int y) const { return GetWindowPixel(m_hwnd, x, y); }
    COLORREF At(POINT p) const { return At(p.x, p.y); }
    // The pixel `inset` in from the right edge of a rectangle, half-way down: inside a cell or label,
    // clear of its text.
    COLORREF InsideRight(const RECT& r, int inset) const { return At(r.right - inset, (r.top + r.bottom) / 2); }
    // Whether any pixel of the rectangle passes the test.
    bool Any(const RECT& r, const std::function<bool(COLORREF)>& test) const;
    // Whether the colours are within `tolerance` in each channel (anti-aliased text).
    static bool Near(COLORREF a, COLORREF b, int tolerance);
    static bool Dark(COLORREF c, int below = 128);

private:
    HWND m_hwnd;
};

// Writes a top-level window as PNG when the running test has failed by the time the object goes: to
// $VELTRIN_SCREENSHOT_DIR, else the build's screenshots/ folder, named after the test.
class ScreenshotOnFailure {
public:
    explicit ScreenshotOnFailure(HWND topLevel, std::string name = "") : m_hwnd(topLevel), m_name(std::move(name)) {}
    ~ScreenshotOnFailure();
    ScreenshotOnFailure(const ScreenshotOnFailure&) = delete;
    ScreenshotOnFailure& operator=(const ScreenshotOnFailure&) = delete;

private:
    HWND m_hwnd;
    std::string m_name;
};

// Writes a top-level window's pixels as PNG into the screenshot folder; returns the file's path, ""
// when nothing was written.
std::string WriteScreenshot(HWND topLevel, const std::string& name);
// A name with its spaces as underscores (a look's name in a test's or a picture's name).
std::string SpacesToUnderscores(std::string name);
// Writes an area of a screen DC (the desktop's snapshot: every visible top-level window as a user sees
// them) as PNG into the same folder; the file's path, or "".
std::string WriteScreenAreaShot(HDC screen, const RECT& area, const std::string& name);
