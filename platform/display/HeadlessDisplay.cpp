#include "platform/display/HeadlessDisplay.h"

#include <cairo.h>

#include <algorithm>

HeadlessDisplay::HeadlessDisplay(SIZE screen) : m_screen(screen) {}

HeadlessDisplay::~HeadlessDisplay() {
    for (auto& [h, w] : m_windows)
        if (w.pixels)
            cairo_surface_destroy(w.pixels);
}

HeadlessDisplay::Window& HeadlessDisplay::Entry(HWND hwnd) {
    auto it = m_windows.find(hwnd);
    if (it != m_windows.end())
        return it->second;
    Window& w = m_windows[hwnd];
    w.order = m_nextOrder++;
    return w;
}

void HeadlessDisplay::WindowCreated(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    CString title = StoredWindowText(hwnd);
    std::lock_guard<std::mutex> g(m_mutex);
    Window& w = Entry(hwnd);
    w.rect = r;
    w.title = (LPCTSTR)title;
}

void HeadlessDisplay::WindowDestroyed(HWND hwnd) {
    std::lock_guard<std::mutex> g(m_mutex);
    auto it = m_windows.find(hwnd);
    if (it == m_windows.end())
        return;
    if (it->second.pixels)
        cairo_surface_destroy(it->second.pixels);
    m_windows.erase(it);
}

void HeadlessDisplay::WindowShown(HWND hwnd, bool shown) {
    std::lock_guard<std::mutex> g(m_mutex);
    Entry(hwnd).shown = shown;
}

void HeadlessDisplay::WindowMoved(HWND hwnd, const RECT& windowRect) {
    std::lock_guard<std::mutex> g(m_mutex);
    Entry(hwnd).rect = windowRect;
}

void HeadlessDisplay::WindowTextChanged(HWND hwnd, LPCTSTR text) {
    std::lock_guard<std::mutex> g(m_mutex);
    Entry(hwnd).title = text ? text : "";
}

void HeadlessDisplay::Present(HWND hwnd, cairo_surface_t* surface) {
    if (!surface)
        return;
    cairo_surface_flush(surface);
    int width = cairo_image_surface_get_width(surface);
    int height = cairo_image_surface_get_height(surface);
    // A copy: the window goes on painting into its own surface after this.
    cairo_surface_t* copy =
        cairo_image_surface_create(cairo_image_surface_get_format(surface), width, height);
    cairo_t* cr = cairo_create(copy);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(copy);
    std::lock_guard<std::mutex> g(m_mutex);
    Window& w = Entry(hwnd);
    if (w.pixels)
        cairo_surface_destroy(w.pixels);
    w.pixels = copy;
    ++w.presents;
}

bool HeadlessDisplay::SetClipboardText(const std::string& text) {
    std::lock_guard<std::mutex> g(m_mutex);
    m_clipboard = text;
    return true;
}

bool HeadlessDisplay::GetClipboardText(std::string& text) {
    std::lock_guard<std::mutex> g(m_mutex);
    text = m_clipboard;
    return true;
}

void HeadlessDisplay::SetClipboardFromOutside(const std::string& text) {
    SetClipboardText(text);
    NotifyClipboardListeners();
}

std::vector<HWND> HeadlessDisplay::Windows() const {
    std::lock_guard<std::mutex> g(m_mutex);
    std::vector<std::pair<uint64_t, HWND>> byOrder;
    for (const auto& [h, w] : m_windows)
        byOrder.emplace_back(w.order, h);
    std::sort(byOrder.begin(), byOrder.end());
    std::vector<HWND> out;
    for (const auto& [order, h] : byOrder)
        out.push_back(h);
    return out;
}

bool HeadlessDisplay::IsShown(HWND hwnd) const {
    std::lock_guard<std::mutex> g(m_mutex);
    auto it = m_windows.find(hwnd);
    return it != m_windows.end() && it->second.shown;
}

std::string HeadlessDisplay::Title(HWND hwnd) const {
    std::lock_guard<std::mutex> g(m_mutex);
    auto it = m_windows.find(hwnd);
    return it == m_windows.end() ? std::string() : it->second.title;
}

RECT HeadlessDisplay::Placement(HWND hwnd) const {
    std::lock_guard<std::mutex> g(m_mutex);
    auto it = m_windows.find(hwnd);
    return it == m_windows.end() ? RECT{} : it->second.rect;
}

int HeadlessDisplay::PresentCount(HWND hwnd) const {
    std::lock_guard<std::mutex> g(m_mutex);
    auto it = m_windows.find(hwnd);
    return it == m_windows.end() ? 0 : it->second.presents;
}

COLORREF HeadlessDisplay::PresentedPixel(HWND hwnd, int x, int y) const {
    std::lock_guard<std::mutex> g(m_mutex);
    auto it = m_windows.find(hwnd);
    if (it == m_windows.end() || !it->second.pixels)
        return CLR_INVALID;
    return GetSurfacePixel(it->second.pixels, x, y);
}
