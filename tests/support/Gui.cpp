#include "tests/support/Gui.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "platform/base/SharedObjects.h"
#include "platform/gdi/Gdi.h"

namespace {
ModalSteps* g_running = nullptr;

// Each test process is a session of its own (other copies' windows, named objects), unless it was
// started inside one: tests running side by side never see each other's windows or instance lists. The
// session and what it made are removed when the process ends.
class TestSession {
public:
    TestSession() {
        if (const char* dir = std::getenv("VELTRIN_RUNTIME_DIR"); dir && *dir)
            return;
        std::string pattern = std::filesystem::temp_directory_path().string() + "/veltrin-session-XXXXXX";
        if (!mkdtemp(pattern.data()))
            return;
        m_dir = pattern;
        setenv("VELTRIN_RUNTIME_DIR", m_dir.c_str(), 1);
    }
    ~TestSession() {
        if (m_dir.empty())
            return;
        DeleteSessionObjects(m_dir.c_str());
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }

private:
    std::string m_dir;
};
TestSession g_session;

// Every test starts without a quit pending. Destroying an application's main frame posts one, as it
// ends the program; left in this thread's queue it would end the next test's first modal loop at once.
class PendingQuitDrain : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        MSG m;
        while (PeekMessage(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
};
const bool g_drainInstalled = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new PendingQuitDrain);
    return true;
}();
}  // namespace

void Pump(bool translate) {
    MSG m;
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (translate)
            TranslateMessage(&m);
        DispatchMessage(&m);
    }
}

void ClickCentre(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    SimulateClick(hwnd, r.right / 2, r.bottom / 2);
}

void ClickDlgItem(HWND dialog, int id) {
    ClickCentre(GetDlgItem(dialog, id));
}

ModalSteps::ModalSteps() {
    g_running = this;
}

ModalSteps::~ModalSteps() {
    // Its timer would otherwise tick on into a later test's steps.
    if (m_timer)
        KillTimer(nullptr, m_timer);
    if (g_running == this)
        g_running = nullptr;
}

void ModalSteps::Start(std::vector<Step> steps) {
    g_running = this;
    m_steps = std::move(steps);
    m_next = 0;
    if (m_timer)
        KillTimer(nullptr, m_timer);
    m_timer = SetTimer(nullptr, 0, 10, CALLBACK_Tick);
    m_clock.Advance(10);
}

void ModalSteps::Stop() {
    m_steps.clear();
    m_next = 0;
}

ModalSteps::Step ModalSteps::ClickItem(int id) {
    return [id](HWND window) { ClickDlgItem(window, id); };
}

ModalSteps::Step ModalSteps::Key(UINT vk) {
    return [vk](HWND) { SimulateKey(vk); };
}

void ModalSteps::CALLBACK_Tick(HWND, UINT, UINT_PTR id, DWORD) {
    ModalSteps* self = g_running;
    if (!self || self->m_next >= self->m_steps.size()) {
        KillTimer(nullptr, id);
        if (self && self->m_timer == id)
            self->m_timer = 0;
        return;
    }
    self->m_steps[self->m_next++](GetActiveWindow());
    self->m_clock.Advance(10);  // due again once the step's input is handled
}

bool PixelProbe::Any(const RECT& r, const std::function<bool(COLORREF)>& test) const {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (test(At(x, y)))
                return true;
    return false;
}

bool PixelProbe::Near(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

bool PixelProbe::Dark(COLORREF c, int below) {
    return GetRValue(c) < below && GetGValue(c) < below && GetBValue(c) < below;
}

namespace {
// Where a screenshot of this name goes; the folder is made when missing.
std::string ScreenshotPath(const std::string& name) {
    namespace fs = std::filesystem;
    const char* env = std::getenv("VELTRIN_SCREENSHOT_DIR");
    fs::path dir = env && *env ? fs::path(env) : fs::path(VELTRIN_BIN_DIR).parent_path() / "screenshots";
    std::error_code ec;
    fs::create_directories(dir, ec);
    return (dir / (name + ".png")).string();
}
}  // namespace

std::string WriteScreenshot(HWND topLevel, const std::string& name) {
    cairo_surface_t* surface = GetWindowSurface(topLevel);
    std::string file = ScreenshotPath(name);
    return surface && WriteSurfacePng(surface, file.c_str()) ? file : "";
}

std::string SpacesToUnderscores(std::string name) {
    std::replace(name.begin(), name.end(), ' ', '_');
    return name;
}

std::string WriteScreenAreaShot(HDC screen, const RECT& area, const std::string& name) {
    int width = area.right - area.left, height = area.bottom - area.top;
    if (!screen || width <= 0 || height <= 0)
        return "";
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateBitmap(width, height, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(mem, bitmap);
    BitBlt(mem, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    std::string file = ScreenshotPath(name);
    bool written = WriteSurfacePng(GetBitmapSurface(bitmap), file.c_str());
    DeleteObject(bitmap);
    return written ? file : "";
}

ScreenshotOnFailure::~ScreenshotOnFailure() {
    if (!::testing::Test::HasFailure())
        return;
    std::string name = m_name;
    if (name.empty()) {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        name = test ? std::string(test->test_suite_name()) + "." + test->name() : "failure";
    }
    std::string file = WriteScreenshot(m_hwnd, name);
    std::fprintf(stderr, "screenshot of the failed test: %s\n", file.empty() ? "(none written)" : file.c_str());
}

void RegisterTestWindowClass(const char* name, WNDPROC proc, int colourIndex) {
    WNDCLASS existing{};
    if (GetClassInfo(nullptr, name, &existing))
        return;
    WNDCLASS wc{};
    wc.lpfnWndProc = proc;
    wc.hbrBackground = (HBRUSH)(INT_PTR)(colourIndex + 1);
    wc.lpszClassName = name;
    RegisterClass(&wc);
}
