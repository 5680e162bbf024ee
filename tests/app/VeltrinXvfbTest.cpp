// Veltrin under Xvfb with the sdl display and a window manager: a user's session from the splash to a
// restart, driven by real X input and checked on screenshots (kept in the build's screenshots folder)
// and against what the recording host gives for the same logs.
#include <gtest/gtest.h>
#include <sys/syscall.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iostream>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

#include "analysis/VeltrinAnalysis.h"
#include "analysis/testing/RecordingHost.h"
#include "core/RequestStrings.h"
#include "platform/base/SharedObjects.h"
#include "platform/user/Resources.h"
#include "res/veltrin/VeltrinResources.h"
#include "res/veltrin/resource.h"
#include "tests/app/CustomizeStateBytes.h"
#include "tests/platform/display/XvfbSupport.h"
#include "tests/support/TempFolder.h"

extern char** environ;

namespace {
using namespace xvfb_test;
using Clock = std::chrono::steady_clock;

const char kBroker[] = "20230502QBroker.log";
// The servers as the broker log names them, which is the tree's order.
const char* const kServers[] = {"20230502QServer7003", "20230502QServer7002", "20230502QServer7001",
                                "20230502QServer7004"};
const char kTaReportLog[] = "SQLTimeAnalysisAllTreeview_TA.log";

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// ---- What the recording host gives for the same logs ----------------------------------------------

struct Reference {
    std::string itemizeCsv;        // the broker's itemize list exported as CSV
    std::string serverItemizeCsv;  // the same of the tree's first server
    std::string taReportLog;
};

// The rows of an exported list, header first, each cell unquoted.
std::vector<std::vector<std::string>> CsvRows(const std::string& csv) {
    std::vector<std::vector<std::string>> rows(1);
    std::string cell;
    bool quoted = false, open = false;
    for (size_t i = 0; i < csv.size(); ++i) {
        char c = csv[i];
        if (quoted) {
            if (c == '"' && i + 1 < csv.size() && csv[i + 1] == '"')
                cell += csv[++i];
            else if (c == '"')
                quoted = false;
            else
                cell += c;
        } else if (c == '"') {
            quoted = open = true;
        } else if (c == ',') {
            rows.back().push_back(cell);
            cell.clear();
        } else if (c == '\n') {
            rows.emplace_back();
        } else if (c != '\r') {
            cell += c;
        }
    }
    (void)open;
    if (rows.back().empty())
        rows.pop_back();
    return rows;
}

// The index of the header cell that reads `name` (blanks around it aside), or -1.
int ColumnOf(const std::vector<std::string>& header, const std::string& name) {
    for (size_t i = 0; i < header.size(); ++i) {
        size_t b = header[i].find_first_not_of(' '), e = header[i].find_last_not_of(' ');
        if (b != std::string::npos && header[i].substr(b, e - b + 1) == name)
            return (int)i;
    }
    return -1;
}

// The number of the first line of a file that holds the text, or 0.
int FirstLineHolding(const std::string& path, const std::string& text) {
    std::ifstream in(path, std::ios::binary);
    int number = 1;
    for (std::string line; std::getline(in, line); ++number)
        if (line.find(text) != std::string::npos)
            return number;
    return 0;
}

// Runs the broker's itemize (and its export) and the whole-tree TA as the program's tree requests them,
// in `logs`; every file the passes write there is removed again.
Reference RecordReference(const std::string& logs, const std::string& scratch) {
    std::set<std::string> before;
    for (const auto& e : std::filesystem::directory_iterator(logs))
        before.insert(e.path().filename().string());
    Reference ref;
    g_nFilterQTrace = 1;
    {
        _csReportName = kBroker;
        _csListKey = kBroker;
        _csBaseFolder = logs.c_str();
        _csLogType = "QBROKER";
        _csItemKind = "ROOTITEM";
        _csAction = "ITEMIZE";
        _csReportType = "QBROKERITEMIZE";
        _csCommand = MakeRequestLine(kBroker, "ROOTITEM", "ITEMIZE");
        CRecordingHost host;
        CVeltrinAnalysis view(&host);
        view.CopyRequestStrings();
        view.OnViewData(0, 0);
        std::string csv = scratch + "/itemize.csv";
        host.ScriptFileDialog(TRUE, csv.c_str());
        view.ExportListViewToCsv((WPARAM) "ITEMIZE", 0);
        ref.itemizeCsv = ReadBytes(csv);
    }
    {
        CString name = CString(kServers[0]) + ".log";
        _csReportName = name;
        _csListKey = name;
        _csBaseFolder = logs.c_str();
        _csLogType = "QSERVER";
        _csItemKind = "SUBITEM";
        _csAction = "QSVRITEMIZE";
        _csReportType = "QSVRITEMIZE";
        _csCommand = MakeRequestLine(name, "SUBITEM", "QSVRITEMIZE");
        CRecordingHost host;
        CVeltrinAnalysis view(&host);
        view.CopyRequestStrings();
        view.OnViewData(0, 0);
        std::string csv = scratch + "/server.csv";
        host.ScriptFileDialog(TRUE, csv.c_str());
        view.ExportListViewToCsv((WPARAM) "ITEMIZE", 0);
        ref.serverItemizeCsv = ReadBytes(csv);
    }
    {
        g_nBatchRecordCount = 0;
        g_bWaitForUpdate = 1;
        _csCommand = WAIT_FOR_UPDATE;
        _csDocToOpen = "SQLTimeAnalysisAllTreeview";
        _csAction = "ANALYZETAALL";
        _csReportType = "ANALYZETAALL";
        _csListKey = "SQL_ANALYSIS_ALL_TA";
        CRecordingHost host;
        CVeltrinAnalysis view(&host);
        view.CopyRequestStrings();
        for (const char* server : kServers) {
            CString name = CString(server) + ".log";
            _csReportName = name;
            _csBaseFolder = logs.c_str();
            _csLogType = "QSERVER";
            _csItemKind = "SUBITEM";
            _csCommand = MakeRequestLine(name, "SUBITEM", "ANALYZETAALL");
            view.OnViewData(0, 0);
            g_bWaitForUpdate = 0;
        }
        ref.taReportLog = ReadBytes(logs + "/" + kTaReportLog);
    }
    _csDocToOpen = "";
    _csListKey = "";
    g_bWaitForUpdate = 0;
    g_nBatchRecordCount = 0;
    for (const auto& e : std::filesystem::directory_iterator(logs))
        if (!before.count(e.path().filename().string()))
            std::filesystem::remove(e.path());
    return ref;
}

// ---- Texts on the screen ---------------------------------------------------------------------------

// A screen grabbed by xwd, its pixels unpacked once.
class Screen {
public:
    bool Grab(XSession& x, const std::string& path) {
        x.Run({"xwd", "-root", "-silent", "-out", path});
        std::string error;
        if (!m_image.Load(path, error))
            return false;
        m_width = (int)m_image.Width();
        m_height = (int)m_image.Height();
        m_pixels.resize((size_t)m_width * m_height);
        for (int y = 0; y < m_height; ++y)
            for (int x0 = 0; x0 < m_width; ++x0)
                m_pixels[(size_t)y * m_width + x0] = m_image.Pixel(x0, y);
        return true;
    }
    COLORREF At(int x, int y) const {
        return x < 0 || y < 0 || x >= m_width || y >= m_height ? CLR_INVALID : m_pixels[(size_t)y * m_width + x];
    }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool Save(const std::string& name) const {
        std::string folder = std::string(VELTRIN_BIN_DIR) + "/../screenshots";
        std::filesystem::create_directories(folder);
        return SavePng(m_image, folder + "/" + name);
    }

private:
    XwdImage m_image;
    std::vector<COLORREF> m_pixels;
    int m_width = 0, m_height = 0;
};

// A text as the program draws it (DrawText, so a '&' underlines the next letter), as ink coverage.
class Glyphs {
public:
    Glyphs(HFONT font, const char* text) {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ oldFont = SelectObject(dc, font);
        RECT r{0, 0, 0, 0};
        DrawText(dc, text, -1, &r, DT_SINGLELINE | DT_CALCRECT);
        m_width = r.right;
        m_height = r.bottom;
        HBITMAP bitmap = CreateBitmap(m_width, m_height, 1, 32, nullptr);
        HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
        FillRect(dc, &r, (HBRUSH)GetStockObject(WHITE_BRUSH));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        DrawText(dc, text, -1, &r, DT_LEFT | DT_TOP | DT_SINGLELINE);
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x) {
                int coverage = 255 - GetRValue(GetPixel(dc, x, y));
                if (coverage >= 192)
                    m_ink.push_back(POINT{x, y});
                else if (coverage <= 16 && y >= 2 && y < m_height - 2)  // a frame may cross the cell's edges
                    m_blank.push_back(POINT{x, y});
            }
        SelectObject(dc, oldBitmap);
        SelectObject(dc, oldFont);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }

    // Where the text shows inside `area` whatever its colours: its strong ink differs from the
    // background, its blank pixels do not. The text's cell, or an empty rectangle.
    RECT FindIn(const Screen& screen, RECT area) const {
        if (m_ink.empty() || m_blank.empty())
            return RECT{};
        auto diff = [](COLORREF a, COLORREF b) {
            return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
                   std::abs(GetBValue(a) - GetBValue(b));
        };
        const POINT anchor = m_blank.front();
        area.left = std::max<LONG>(area.left, 0);
        area.top = std::max<LONG>(area.top, 0);
        area.right = std::min<LONG>(area.right, screen.Width());
        area.bottom = std::min<LONG>(area.bottom, screen.Height());
        for (int y = area.top; y + m_height <= area.bottom; ++y)
            for (int x = area.left; x + m_width <= area.right; ++x) {
                COLORREF bg = screen.At(x + anchor.x, y + anchor.y);
                bool match = true;
                for (size_t i = 0; match && i < m_ink.size(); ++i)
                    match = diff(screen.At(x + m_ink[i].x, y + m_ink[i].y), bg) > 150;
                for (size_t i = 0; match && i < m_blank.size(); ++i)
                    match = diff(screen.At(x + m_blank[i].x, y + m_blank[i].y), bg) <= 60;
                if (match)
                    return RECT{x, y, x + m_width, y + m_height};
            }
        return RECT{};
    }

private:
    int m_width = 0, m_height = 0;
    std::vector<POINT> m_ink, m_blank;
};

bool Found(const RECT& r) { return r.right > r.left; }

// A bitmap resource, or one cell of it, as the program draws it; pixels of the `clear` colour are the
// transparent ones, which show whatever lies beneath.
struct Picture {
    explicit Picture(UINT id, RECT cell = RECT{}, COLORREF clear = CLR_INVALID) {
        HBITMAP bitmap = LoadBitmap(nullptr, MAKEINTRESOURCE(id));
        BITMAP info{};
        GetObject(bitmap, sizeof info, &info);
        if (cell.right <= cell.left)
            cell = RECT{0, 0, info.bmWidth, info.bmHeight};
        width = cell.right - cell.left;
        height = cell.bottom - cell.top;
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, bitmap);
        for (int y = cell.top; y < cell.bottom; ++y)
            for (int x = cell.left; x < cell.right; ++x) {
                COLORREF c = GetPixel(dc, x, y);
                pixels.push_back(c == clear ? CLR_INVALID : c);
            }
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    bool At(const Screen& s, int left, int top) const {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (COLORREF c = pixels[(size_t)y * width + x]; c != CLR_INVALID && s.At(left + x, top + y) != c)
                    return false;
        return true;
    }
    // The first place in the area where the whole picture shows, or (-1, -1).
    POINT Find(const Screen& s, const RECT& area) const {
        for (int y = area.top; y + height <= area.bottom; ++y)
            for (int x = area.left; x + width <= area.right; ++x)
                if (At(s, x, y))
                    return POINT{x, y};
        return POINT{-1, -1};
    }
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
};


// A clipboard row's first two cells with their separators ("1 | 120 | "), or "".
std::string RowStart(const std::string& row) {
    size_t first = row.find(" | ");
    size_t second = first == std::string::npos ? first : row.find(" | ", first + 3);
    return second == std::string::npos ? std::string() : row.substr(0, second + 3);
}
POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

HFONT BoldOf(HGDIOBJ font) {
    LOGFONT lf{};
    GetObject(font, sizeof lf, &lf);
    lf.lfWeight = FW_BOLD;
    return CreateFontIndirect(&lf);
}

// ---- The program on the display --------------------------------------------------------------------

class VeltrinXvfb : public ::testing::Test {
protected:
    void SetUp() override {
        if (FindOnPath("Xvfb").empty())
            GTEST_SKIP() << "Xvfb is not installed";
        for (const char* tool : {"xwd", "openbox", "xdotool", "xwininfo", "xprop"})
            ASSERT_FALSE(FindOnPath(tool).empty()) << tool << " is missing; scripts/setup installs it";
        AddResourceModule(&VeltrinFrameResources());
        logs = tmp / "logs";
        std::filesystem::create_directories(logs);
        std::filesystem::create_directories(tmp / "run");
        for (const auto& e : std::filesystem::directory_iterator(VELTRIN_SAMPLES))
            std::filesystem::copy_file(e.path(), logs + "/" + e.path().filename().string());
        ASSERT_TRUE(StartXvfb(server, x.display, environ)) << "Xvfb did not start";
        x.env = ProgramEnvironment(environ, {"DISPLAY=" + x.display});
        std::vector<char*> envp = Envp(x.env);
        ASSERT_TRUE(Spawn(wm, {FindOnPath("openbox"), "--sm-disable"}, envp.data(), -1, -1, {}));
        ASSERT_TRUE(x.WaitForWindowManager()) << "openbox did not start";
        appEnv = ProgramEnvironment(
            environ, {"DISPLAY=" + x.display, "VELTRIN_DISPLAY=sdl", "SDL_VIDEODRIVER=x11",
                      "VELTRIN_REGISTRY=" + registry, "VELTRIN_TRACE_LOG=" + tmp / "Veltrin.log",
                      "VELTRIN_RUNTIME_DIR=" + tmp / "run", "ASAN_OPTIONS=detect_leaks=0"});
    }
    void TearDown() override {
        if (HasFailure()) {
            std::fprintf(stderr, "Trace log:\n%s\n", ReadBytes(tmp / "Veltrin.log").c_str());
            if (screen.Width() > 0)
                screen.Save("veltrin_failure.png");
        }
        app.Stop();
        wm.Stop();
        server.Stop();
        DeleteSessionObjects((tmp / "run").c_str());
        RemoveResourceModule(&VeltrinFrameResources());
    }
    static std::vector<char*> Envp(std::vector<std::string>& strings) {
        std::vector<char*> out;
        for (std::string& s : strings)
            out.push_back(s.data());
        out.push_back(nullptr);
        return out;
    }
    void StartVeltrin(std::vector<std::string> args) { StartVeltrinAs(app, std::move(args)); }
    void StartVeltrinAs(Child& copy, std::vector<std::string> args) {
        args.insert(args.begin(), std::string(VELTRIN_BIN_DIR) + "/veltrin");
        std::vector<char*> envp = Envp(appEnv);
        ASSERT_TRUE(Spawn(copy, args, envp.data(), -1, -1, {}));
    }
    // The program's visible window whose name matches, or "". (Its windows are found by their class:
    // a search by name stops at the first name the tool cannot read.)
    std::string VisibleWindow(const std::string& pattern) {
        std::stringstream ids(x.Run({"xdotool", "search", "--onlyvisible", "--classname", "^veltrin$"}));
        const std::regex wanted(pattern);
        for (std::string id; std::getline(ids, id);)
            if (std::regex_search(WindowName(id), wanted))
                return id;
        return {};
    }
    // The window, polled until the deadline; "" when none came.
    std::string WaitForWindow(const std::string& pattern, int seconds = 30) {
        const auto deadline = Clock::now() + std::chrono::seconds(seconds);
        do {
            if (std::string id = VisibleWindow(pattern); !id.empty())
                return id;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        } while (Clock::now() < deadline);
        return {};
    }
    bool WaitGone(const std::string& pattern, int seconds = 30) {
        const auto deadline = Clock::now() + std::chrono::seconds(seconds);
        while (Clock::now() < deadline) {
            if (VisibleWindow(pattern).empty())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }
    std::string WindowName(const std::string& id) { return x.Run({"xdotool", "getwindowname", id}); }
    // Polls the main window's title until it holds `part`.
    bool WaitForTitle(const std::string& part, int seconds = 30) {
        const auto deadline = Clock::now() + std::chrono::seconds(seconds);
        while (Clock::now() < deadline) {
            if (WindowName(mainId).find(part) != std::string::npos)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }
    // Waits until a pass has ended: no wait dialog, and "Ready" in the message pane.
    bool WaitForIdle(const RECT& frame, int seconds = 60) {
        RECT pane{frame.left, frame.bottom - 30, frame.left + 120, frame.bottom};
        const Glyphs ready((HFONT)GetStockObject(DEFAULT_GUI_FONT), "Ready");
        const auto deadline = Clock::now() + std::chrono::seconds(seconds);
        while (Clock::now() < deadline) {
            if (VisibleWindow("^Please Wait").empty() && screen.Grab(x, tmp / "screen.xwd") &&
                Found(ready.FindIn(screen, pane)) && VisibleWindow("^Please Wait").empty())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }
    // Grabs screens until the text shows in the area; its cell, or an empty rectangle.
    RECT WaitForText(const Glyphs& text, const RECT& area, int seconds = 30) {
        const auto deadline = Clock::now() + std::chrono::seconds(seconds);
        do {
            if (screen.Grab(x, tmp / "screen.xwd"))
                if (RECT r = text.FindIn(screen, area); Found(r))
                    return r;
            // A grab costs about as much as a short step of the program: leave it the processor.
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        } while (Clock::now() < deadline);
        return RECT{};
    }
    void Click(POINT p, const char* button = "1") {
        x.Run({"xdotool", "mousemove", "--sync", std::to_string(p.x), std::to_string(p.y), "click", button});
    }
    void Keys(std::vector<std::string> names) {
        names.insert(names.begin(), {"xdotool", "key", "--delay", "40"});
        x.Run(names);
    }
    void Activate(const std::string& id) { x.Run({"xdotool", "windowactivate", "--sync", id}); }
    RECT MainRect() {
        Geometry g = WindowGeometry(x, mainId);
        return RECT{g.x, g.y, g.x + g.width, g.y + g.height};
    }
    // Opens a menu of the main menu bar and clicks one of its items.
    // A click on the menu bar while a wait dialog disables the frame opens nothing: the menu is
    // clicked when no wait dialog shows, and again when its popup does not come.
    bool ChooseFromMenu(const char* menu, const char* item) {
        const Glyphs title(guiFont, menu), entryText(guiFont, item);
        for (int attempt = 0; attempt < 3; ++attempt) {
            WaitGone("^Please Wait");
            RECT frame = MainRect();
            RECT bar = WaitForText(title, RECT{frame.left, frame.top, frame.right, frame.top + 40});
            if (!Found(bar))
                return false;
            Click(Centre(bar));
            RECT entry = WaitForText(entryText, RECT{bar.left - 4, bar.bottom, bar.left + 500, bar.bottom + 400}, 10);
            if (Found(entry)) {
                Click(Centre(entry));
                return true;
            }
        }
        return false;
    }
    // Chooses a menu entry that opens a window matching `pattern` and returns that window. Under a heavy
    // load a click can reach a popup before its menu loop takes input; the choice is then made again.
    std::string ChooseFromMenuFor(const char* menu, const char* item, const std::string& pattern) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (!ChooseFromMenu(menu, item))
                continue;
            if (std::string id = WaitForWindow(pattern, 10); !id.empty())
                return id;
        }
        return {};
    }
    // Waits for the program to end; its status, or -1 after the deadline.
    int WaitForExit(int seconds = 30) {
        const auto deadline = Clock::now() + std::chrono::seconds(seconds);
        while (Clock::now() < deadline) {
            int status = 0;
            pid_t done = waitpid(app.pid, &status, WNOHANG);
            if (done == app.pid) {
                app.pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return -1;
    }
    CString RegistryValue(const char* name) {
        std::string text = ReadBytes(registry);
        std::string key = std::string("\"") + name + "\"=";
        size_t at = text.find(key);
        if (at == std::string::npos)
            return "<none>";
        size_t end = text.find_first_of("\r\n", at);
        return text.substr(at + key.size(), end - at - key.size()).c_str();
    }

    // ---- Recording stand-ins, settings and the display's clipboard ----

    // The editor that Scrivel starts ($VISUAL) and the desktop's opener (first on PATH), each writing
    // its arguments as one line of its record.
    void InstallRecorders() {
        const std::string bin = tmp / "bin";
        std::filesystem::create_directories(bin);
        for (const auto& [name, record] : {std::pair{"edit", editorRecord}, std::pair{"xdg-open", openerRecord}}) {
            std::string path = bin + "/" + name;
            std::ofstream(path) << "#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" << record << "'\n";
            std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        }
        std::vector<std::string> env;
        for (const std::string& e : appEnv)
            if (e.rfind("PATH=", 0) != 0 && e.rfind("VISUAL=", 0) != 0 && e.rfind("EDITOR=", 0) != 0)
                env.push_back(e);
        const char* path = std::getenv("PATH");
        env.push_back("PATH=" + bin + ":" + (path ? path : "/usr/bin:/bin"));
        env.push_back("VISUAL=" + bin + "/edit");
        appEnv = env;
    }
    // The record's lines once it holds `count` of them (fewer after the deadline).
    std::vector<std::string> WaitForRecord(const std::string& path, size_t count, int seconds = 20) {
        std::vector<std::string> lines;
        const auto deadline = Clock::now() + std::chrono::seconds(seconds);
        do {
            lines.clear();
            std::istringstream in(ReadBytes(path));
            for (std::string line; std::getline(in, line);)
                lines.push_back(line);
            if (lines.size() >= count)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        } while (Clock::now() < deadline);
        return lines;
    }
    // The record's last line once it holds `count` lines, or "".
    std::string RecordLine(const std::string& path, size_t count) {
        std::vector<std::string> lines = WaitForRecord(path, count);
        return lines.size() >= count ? lines[count - 1] : std::string();
    }
    // Values of the "Settings" section written before the program starts.
    void SeedSettings(const std::vector<std::pair<std::string, int>>& values) {
        std::ostringstream text;
        text << "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\VeltrinEx\\Veltrin\\Settings]\r\n";
        for (const auto& [name, value] : values) {
            char dword[16];
            std::snprintf(dword, sizeof dword, "%08x", value);
            text << "\"" << name << "\"=dword:" << dword << "\r\n";
        }
        std::ofstream(registry, std::ios::binary) << text.str();
    }
    // The display's clipboard text once it holds `part`; what it holds after the deadline otherwise.
    std::string WaitForClipboard(const std::string& part, int seconds = 10) {
        std::string text;
        const auto deadline = Clock::now() + std::chrono::seconds(seconds);
        do {
            text = x.Run({"xclip", "-o", "-selection", "clipboard"});
            if (text.find(part) != std::string::npos)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        } while (Clock::now() < deadline);
        return text;
    }

    // ---- The tree and the report view ----

    // The main frame at a known place and size with its tree's root open; the frame and the root's cell.
    bool ShowTree(RECT& frame, RECT& root) {
        mainId = WaitForWindow("^Veltrin V4\\.21b");
        if (mainId.empty())
            return false;
        if (!WaitGone("^Veltrin$", 10))
            return false;
        Activate(mainId);
        // Room for the whole tree: the first start has the default size.
        x.Run({"xdotool", "windowsize", mainId, "800", "660"});
        x.Run({"xdotool", "windowmove", "--sync", mainId, "20", "30"});
        for (auto until = Clock::now() + std::chrono::seconds(10); Clock::now() < until;) {
            frame = MainRect();
            if (frame.bottom - frame.top == 660)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        root = WaitForText(Glyphs(BoldOf(treeFont), kBroker), frame);
        if (!Found(root))
            return false;
        // The root opens with the keyboard once the tree has the focus.
        Click(Centre(root));
        Keys({"Right"});
        RECT treeArea{frame.left, root.top, frame.left + 400, frame.bottom};
        return Found(WaitForText(Glyphs(treeFont, kServers[3]), treeArea));
    }
    // The cell of a tree item below the root, or an empty rectangle.
    RECT TreeItem(const RECT& frame, const RECT& root, const char* name, int seconds = 10) {
        return WaitForText(Glyphs(treeFont, name), RECT{root.left, root.bottom, frame.left + 400, frame.bottom}, seconds);
    }
    // Opens the context menu at `at` and clicks one of its items.
    bool ChooseFromContextMenu(POINT at, const char* item) {
        Click(at, "3");
        RECT entry = WaitForText(Glyphs(guiFont, item), RECT{at.x - 4, at.y - 300, at.x + 400, at.y + 300}, 10);
        if (!Found(entry))
            return false;
        Click(Centre(entry));
        return true;
    }
    // Answers a dialog with a text and Return.
    bool AnswerDialog(const char* caption, const std::string& text) {
        std::string id = WaitForWindow(caption);
        if (id.empty()) {
            if (screen.Grab(x, tmp / "screen.xwd"))
                screen.Save("veltrin_no_dialog.png");
            return false;
        }
        // Over what the field offers. Typing that reached another window (the focus moved under a heavy
        // load) leaves the dialog open: it is answered again, and the screen kept for a failure.
        for (int attempt = 0; attempt < 3; ++attempt) {
            Activate(id);
            // Once under load a typed 'v' pasted the clipboard, as if Ctrl were still down after an
            // earlier Ctrl+F: Ctrl and Shift pressed and released first make the key state known again.
            Keys({"ctrl", "shift"});
            // A file dialog's field is reached by its label's mnemonic, wherever the focus is.
            if (std::string(caption) == "^Open$")
                Keys({"alt+n"});
            Keys({"End", "shift+Home"});
            x.Run({"xdotool", "type", "--delay", "20", text});
            Keys({"Return"});
            if (WaitGone(caption, 10))
                return true;
            if (screen.Grab(x, tmp / "screen.xwd"))
                screen.Save("veltrin_dialog_stays.png");
            std::cerr << "dialog " << caption << " stays; the focus is on \""
                      << x.Run({"xdotool", "getwindowfocus", "getwindowname"}) << "\"\n";
        }
        return false;
    }
    // The band of the list's selected row, drawn in the highlight colour, or an empty rectangle.
    RECT SelectedRow(const RECT& list, int seconds = 10) {
        const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
        const auto deadline = Clock::now() + std::chrono::seconds(seconds);
        do {
            if (!screen.Grab(x, tmp / "screen.xwd"))
                continue;
            RECT band{};
            for (int y = list.top; y < list.bottom; ++y) {
                int run = 0, left = list.right;
                for (int x0 = list.left; x0 < list.right; ++x0)
                    if (screen.At(x0, y) == highlight) {
                        ++run;
                        left = std::min(left, x0);
                    }
                if (run >= 100) {
                    if (!Found(band))
                        band = RECT{left, y, list.right, y + 1};
                    band.bottom = y + 1;
                } else if (Found(band)) {
                    break;
                }
            }
            if (Found(band) && band.bottom - band.top >= 6)
                return band;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        } while (Clock::now() < deadline);
        return RECT{};
    }
    // Copies the selected row through the view's context menu: the clipboard's text once it holds
    // `part`, else "". The row's place stays in `copiedRow` (the menu takes the focus, and an unfocused
    // list shows its selection grey).
    std::string CopySelectedRow(const RECT& list, const std::string& part) {
        RECT band = SelectedRow(list);
        if (!Found(band))
            return {};
        // In the third column: the first two take no clicks for a row's log.
        copiedRow = POINT{band.left + 200, (band.top + band.bottom) / 2};
        if (!ChooseFromContextMenu(copiedRow, "Copy to Clipboard"))
            return {};
        std::string text = WaitForClipboard(part);
        return text.find(part) != std::string::npos ? text : std::string();
    }

    // The report view's list: right of the docked tree, below the reports' tabs, above the pad.
    static RECT ReportList(const RECT& frame) {
        return RECT{frame.left + 330, frame.top + 115, frame.right - 20, frame.bottom - 150};
    }
    // Closes the report views one by one until the frame's title names none.
    void CloseReports() {
        Activate(mainId);
        for (int i = 0; i < 20 && WindowName(mainId).find('[') != std::string::npos; ++i) {
            const std::string before = WindowName(mainId);
            Keys({"ctrl+F4"});
            for (auto until = Clock::now() + std::chrono::seconds(5);
                 WindowName(mainId) == before && Clock::now() < until;)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    // Whether the list shows rows: its first row selected by a click.
    bool HasRows(const RECT& list) {
        Activate(mainId);
        Click(POINT{list.left + 40, list.top + 8});
        return Found(SelectedRow(list, 5));
    }

    // The width of a time-analysis list's File column as its header shows it: from the divider left of
    // the "File" caption to the one left of the "Transaction" caption, or -1. That second divider and
    // the header's middle stay in m_dividerX and m_headerY.
    int FileColumnWidth(const RECT& frame, const RECT& list) {
        const RECT area{frame.left + 300, frame.top + 40, frame.right, list.top + 40};
        RECT transaction = WaitForText(Glyphs(guiFont, "Transaction"), area, 5);
        if (!Found(transaction))
            return -1;
        RECT file = Glyphs(guiFont, "File").FindIn(
            screen, RECT{area.left, transaction.top - 2, transaction.left, transaction.bottom + 2});
        if (!Found(file))
            return -1;
        m_headerY = (transaction.top + transaction.bottom) / 2;
        // A raised header item ends in a shadow and a dark shadow pixel; the next begins light, then white.
        auto dividerLeftOf = [&](int x0) {
            for (int x1 = x0; x1 > area.left + 2; --x1)
                if (screen.At(x1 - 1, m_headerY) == GetSysColor(COLOR_3DDKSHADOW) &&
                    screen.At(x1 - 2, m_headerY) == GetSysColor(COLOR_3DSHADOW) &&
                    screen.At(x1 + 1, m_headerY) == GetSysColor(COLOR_3DHILIGHT))
                    return x1;
            return -1;
        };
        const int left = dividerLeftOf(file.left), right = dividerLeftOf(transaction.left);
        m_dividerX = right - 1;
        return left > 0 && right > left ? right - left : -1;
    }

    int m_dividerX = -1, m_headerY = -1;

    // ---- The customize dialog ----

    // Opens "Customize..." from the View menu; the dialog's window, or "". Its OK button is found while
    // the dialog is new: a page shown later may leave the buttons unpainted.
    std::string OpenCustomize() {
        Activate(mainId);
        std::string dialog = ChooseFromMenuFor("&View", "C&ustomize...", "^Customize$");
        if (dialog.empty())
            return dialog;
        RECT d = WindowRect(dialog);
        RECT ok = WaitForText(Glyphs(guiFont, "OK"), RECT{d.left + (d.right - d.left) / 2, d.bottom - 60, d.right, d.bottom});
        if (!Found(ok))
            return {};
        customizeOk = Centre(ok);
        return dialog;
    }
    RECT WindowRect(const std::string& id) {
        Geometry g = WindowGeometry(x, id);
        return RECT{g.x, g.y, g.x + g.width, g.y + g.height};
    }
    // Clicks the text where it shows in the area; FALSE when it does not show.
    bool ClickText(const char* text, const RECT& area, int seconds = 10) {
        RECT r = WaitForText(Glyphs(guiFont, text), area, seconds);
        if (!Found(r))
            return false;
        Click(Centre(r));
        return true;
    }
    // Shows a page by its icon in the dialog's shortcut bar, once `pageText` shows on it.
    bool ShowCustomizePage(const std::string& dialog, const char* title, const char* pageText) {
        RECT d = WindowRect(dialog);
        if (!ClickText(title, RECT{d.left, d.top, d.left + 180, d.bottom}))
            return false;
        return Found(WaitForText(Glyphs(guiFont, pageText), RECT{d.left + 150, d.top, d.right, d.bottom}));
    }
    // Closes the dialog with its OK button.
    bool CustomizeOk() {
        Click(customizeOk);
        return WaitGone("^Customize$", 10);
    }
    // A value as the registry file holds it in the section of Veltrin's profile, or "<none>".
    std::string ProfileValue(const std::string& section, const std::string& name) {
        std::string text = ReadBytes(registry);
        size_t at = text.find("\\Veltrin\\" + section + "]");
        if (at == std::string::npos)
            return "<none>";
        size_t end = text.find("\r\n[", at);
        std::string body = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        size_t value = body.find("\"" + name + "\"=");
        if (value == std::string::npos)
            return "<none>";
        value += name.size() + 3;
        return body.substr(value, body.find_first_of("\r\n", value) - value);
    }
    // Starts the program and waits for its main window, at a known place and size.
    bool StartMain() {
        StartVeltrin({});
        mainId = WaitForWindow("^Veltrin V4\\.21b");
        if (mainId.empty() || !WaitGone("^Veltrin$", 10))
            return false;
        Activate(mainId);
        return true;
    }

    POINT copiedRow{}, customizeOk{};
    TempFolder tmp;
    std::string editorRecord = tmp / "editor.txt", openerRecord = tmp / "opened.txt";
    std::string logs, registry = tmp / "registry.reg";
    Child server, wm, app;
    XSession x;
    std::vector<std::string> appEnv;
    Screen screen;
    std::string mainId;
    HFONT guiFont = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    HFONT treeFont = (HFONT)GetStockObject(SYSTEM_FONT);
    // The pad's tabs: 8 points, the active one bold.
    HFONT tabFont = CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
    HFONT activeTabFont = CreateFont(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
    // The pad's tab strip at the bottom left of the frame, above the status bar.
    static RECT PadTabs(const RECT& frame) { return RECT{frame.left, frame.bottom - 70, frame.left + 420, frame.bottom - 20}; }
    // The records pane's text, whole, in the status bar.
    bool ShowsRecords(const RECT& frame, int count) {
        const Glyphs text(guiFont, ("Records: " + std::to_string(count)).c_str());
        return Found(WaitForText(text, RECT{frame.left + 300, frame.bottom - 30, frame.right, frame.bottom}, 10));
    }
};
}  // namespace

TEST_F(VeltrinXvfb, AUsersSessionFromTheSplashToARestart) {
    Reference ref = RecordReference(logs, tmp.Path());
    ASSERT_FALSE(ref.itemizeCsv.empty());
    ASSERT_FALSE(ref.taReportLog.empty());
    StartVeltrin({logs + "/" + kBroker});

    // The splash: the bitmap, centred, with the title in dark blue.
    std::string splashId = WaitForWindow("^Veltrin$");
    ASSERT_FALSE(splashId.empty()) << "no splash";
    Geometry splash = WindowGeometry(x, splashId);
    HBITMAP bitmap = LoadBitmap(nullptr, MAKEINTRESOURCE(IDB_SPLASH));
    BITMAP info{};
    GetObject(bitmap, sizeof info, &info);
    EXPECT_EQ(splash.width, info.bmWidth);
    EXPECT_EQ(splash.height, info.bmHeight);
    EXPECT_EQ(splash.x, (1024 - info.bmWidth) / 2);
    EXPECT_EQ(splash.y, (768 - info.bmHeight) / 2);
    int darkBlue = 0;
    COLORREF corner = CLR_INVALID;
    for (auto until = Clock::now() + std::chrono::seconds(10); darkBlue < 40 && Clock::now() < until;) {
        if (!screen.Grab(x, tmp / "screen.xwd"))
            continue;
        darkBlue = 0;
        for (int y = splash.y; y < splash.y + 60; ++y)
            for (int x0 = splash.x; x0 < splash.x + std::min(260, splash.width); ++x0)
                darkBlue += screen.At(x0, y) == RGB(0, 0, 100);
        corner = screen.At(splash.x + 1, splash.y + 1);
    }
    screen.Save("veltrin_splash.png");
    EXPECT_GE(darkBlue, 40) << "no dark blue title on the splash";
    {
        HDC mem = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(mem, bitmap);
        EXPECT_EQ(corner, GetPixel(mem, 1, 1));
        SelectObject(mem, old);
        DeleteDC(mem);
        DeleteObject(bitmap);
    }

    // The main frame with its bars, panes, tree and pad.
    RECT frame{}, root{};
    ASSERT_TRUE(ShowTree(frame, root)) << "no main window, or its tree does not show the log";
    EXPECT_EQ(WindowName(mainId), "Veltrin V4.21b");
    // The children in the broker's order.
    RECT treeArea{frame.left, root.top, frame.left + 400, frame.bottom};
    ASSERT_TRUE(Found(WaitForText(Glyphs(treeFont, kServers[3]), treeArea))) << "the last server is not shown";
    LONG lastTop = root.top;
    for (const char* name : kServers) {
        RECT child = Glyphs(treeFont, name).FindIn(screen, treeArea);
        EXPECT_TRUE(Found(child)) << name;
        EXPECT_GT(child.left, root.left) << name;
        EXPECT_GT(child.top, lastTop) << name << " out of order";
        lastTop = child.top;
    }
    RECT bottom{frame.left, frame.bottom - 30, frame.right, frame.bottom};
    EXPECT_TRUE(Found(Glyphs(guiFont, "Ready").FindIn(screen, bottom))) << "no Ready pane";
    EXPECT_TRUE(Found(Glyphs(guiFont, "LogName").FindIn(screen, bottom))) << "no LogName pane";
    EXPECT_TRUE(Found(Glyphs(guiFont, "&Tools").FindIn(screen, RECT{frame.left, frame.top, frame.right, frame.top + 40})))
        << "no menu bar";
    // The pad's only page, "Output", active and drawn whole.
    EXPECT_TRUE(Found(Glyphs(activeTabFont, "Output").FindIn(screen, PadTabs(frame)))) << "no Output tab";
    // The toolbars show their buttons' images: Open's, the first of the toolbar strip, in the bars' band.
    const Picture open(IDR_TOOLBAR, RECT{0, 0, 16, 16}, RGB(192, 192, 192));
    const RECT bars{frame.left, frame.top, frame.right, root.top};
    POINT openAt{-1, -1};
    for (auto until = Clock::now() + std::chrono::seconds(10); openAt.x < 0 && Clock::now() < until;)
        if (screen.Grab(x, tmp / "screen.xwd"))
            openAt = open.Find(screen, bars);
    EXPECT_GE(openAt.x, 0) << "the Open button's image is not on the toolbar";
    screen.Save("veltrin_main.png");

    // The root's "Itemize to One-Liners" opens a maximised report.
    ASSERT_TRUE(ChooseFromContextMenu(Centre(root), "Itemize to One-Liners")) << "no context menu";
    ASSERT_TRUE(WaitForTitle(std::string("[") + kBroker + "]")) << WindowName(mainId);
    EXPECT_TRUE(WaitForIdle(frame)) << "the itemize does not end";
    // The report's own pad page is the active tab, after "Output".
    RECT itemizePage = WaitForText(Glyphs(activeTabFont, kBroker), PadTabs(frame), 10);
    RECT output = Glyphs(tabFont, "Output").FindIn(screen, PadTabs(frame));
    EXPECT_TRUE(Found(itemizePage)) << "no pad page of the itemize";
    EXPECT_TRUE(Found(output)) << "the Output tab is gone";
    EXPECT_LT(output.left, itemizePage.left);
    screen.Save("veltrin_itemize.png");

    // Export list through its file dialog: the rows the recording host gives.
    std::string dialog = ChooseFromMenuFor("&Tools", "&Export list...", "^Open$");
    ASSERT_FALSE(dialog.empty()) << "no file dialog";
    Activate(dialog);
    std::string exported = tmp / "exported.csv";
    x.Run({"xdotool", "type", "--delay", "20", exported});
    Keys({"Return"});
    EXPECT_TRUE(WaitGone("^Open$"));
    std::string csv;
    for (auto until = Clock::now() + std::chrono::seconds(20); csv != ref.itemizeCsv && Clock::now() < until;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        csv = ReadBytes(exported);
    }
    EXPECT_EQ(csv, ref.itemizeCsv);

    // The whole-tree TA: its report with rows, and the report log the recording host writes.
    Activate(mainId);
    ASSERT_TRUE(ChooseFromMenu("&Tools", "Run (TA) SQL time analysis on entire Tree"));
    EXPECT_TRUE(WaitForTitle("[SQL_ANALYSIS_ALL_TA]")) << WindowName(mainId);
    EXPECT_TRUE(WaitForIdle(frame)) << "the TA does not end";
    EXPECT_EQ(ReadBytes(logs + "/" + kTaReportLog), ref.taReportLog);
    // The records pane counts the report's rows: the report log's lines after its header.
    const int taRows = (int)std::count(ref.taReportLog.begin(), ref.taReportLog.end(), '\n') - 1;
    EXPECT_TRUE(ShowsRecords(frame, taRows)) << "the records pane does not show " << taRows;
    // Its rows name the transactions.
    RECT list{root.right + 20, frame.top + 80, frame.right, frame.bottom - 30};
    const Glyphs rowLog(guiFont, "PAYMENT");
    EXPECT_TRUE(Found(WaitForText(rowLog, list))) << "the TA report shows no rows";
    screen.Save("veltrin_ta.png");

    // A second TA asks first: "Use Existing" shows the report log's rows...
    Activate(mainId);
    Keys({"ctrl+F4"});
    ASSERT_TRUE(WaitForTitle(std::string("[") + kBroker + "]")) << WindowName(mainId);
    ASSERT_TRUE(ChooseFromMenu("&Tools", "Run (TA) SQL time analysis on entire Tree"));
    std::string question = WaitForWindow("^Question$");
    ASSERT_FALSE(question.empty()) << "no question";
    Activate(question);
    Keys({"Return"});
    EXPECT_TRUE(WaitForTitle("[SQL_ANALYSIS_ALL_TA]")) << WindowName(mainId);
    EXPECT_TRUE(WaitForIdle(frame)) << "the import does not end";
    EXPECT_TRUE(Found(WaitForText(rowLog, list))) << "the existing report shows no rows";
    EXPECT_TRUE(ShowsRecords(frame, taRows)) << "the records pane does not show " << taRows;
    screen.Save("veltrin_ta_existing.png");
    EXPECT_EQ(ReadBytes(logs + "/" + kTaReportLog), ref.taReportLog);

    // ...and Cancel opens nothing.
    Activate(mainId);
    Keys({"ctrl+F4"});
    ASSERT_TRUE(WaitForTitle(std::string("[") + kBroker + "]")) << WindowName(mainId);
    ASSERT_TRUE(ChooseFromMenu("&Tools", "Run (TA) SQL time analysis on entire Tree"));
    question = WaitForWindow("^Question$");
    ASSERT_FALSE(question.empty()) << "no question";
    Activate(question);
    Keys({"Escape"});
    EXPECT_TRUE(WaitGone("^Question$"));
    EXPECT_FALSE(WaitForTitle("[SQL_ANALYSIS_ALL_TA]", 1)) << "Cancel opened the report";

    // Moved and resized, then closed from the menu: status 0 and the placement stored. A first start
    // stores none of the four settings.
    Activate(mainId);
    x.Run({"xdotool", "windowsize", mainId, "820", "600"});
    x.Run({"xdotool", "windowmove", "--sync", mainId, "60", "50"});
    // The size and the place come in separate steps: the rectangle counts once it has the new size and
    // has stayed the same for a few reads.
    RECT moved{}, before{};
    int same = 0;
    for (auto until = Clock::now() + std::chrono::seconds(10); Clock::now() < until;) {
        moved = MainRect();
        same = EqualRect(&moved, &before) ? same + 1 : 0;
        before = moved;
        if (moved.right - moved.left == 820 && moved.bottom - moved.top == 600 && same >= 4)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(moved.right - moved.left, 820);
    EXPECT_EQ(moved.bottom - moved.top, 600);
    ASSERT_TRUE(ChooseFromMenu("&File", "E&xit"));
    EXPECT_EQ(WaitForExit(), 0);
    char expectedRect[64];
    std::snprintf(expectedRect, sizeof expectedRect, ",%d,%d,%d,%d\"", (int)moved.left, (int)moved.top,
                  (int)moved.right, (int)moved.bottom);
    CString windowPos = RegistryValue("WindowPos");
    EXPECT_EQ(windowPos.Left(5), CString("\"0,1,"));
    EXPECT_NE(windowPos.Find(expectedRect), -1) << windowPos.GetString() << " for " << expectedRect;
    for (const char* entry : {"MinMilliseconds", "StartSqlSumRptOnT20", "LinkLowerTabWithUpperTabOnActivate",
                              "TreeViewUseSearchOption"})
        EXPECT_EQ(RegistryValue(entry), CString("<none>")) << entry;

    // The restart shows the frame at the same rectangle and writes the four settings.
    StartVeltrin({});
    mainId = WaitForWindow("^Veltrin V4\\.21b");
    ASSERT_FALSE(mainId.empty()) << "no main window at the restart";
    RECT again{};
    for (auto until = Clock::now() + std::chrono::seconds(5); Clock::now() < until;) {
        again = MainRect();
        if (EqualRect(&again, &moved))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(again.left, moved.left);
    EXPECT_EQ(again.top, moved.top);
    EXPECT_EQ(again.right, moved.right);
    EXPECT_EQ(again.bottom, moved.bottom);
    if (screen.Grab(x, tmp / "screen.xwd"))
        screen.Save("veltrin_restart.png");
    EXPECT_EQ(RegistryValue("MinMilliseconds"), CString("dword:00000004"));
    EXPECT_EQ(RegistryValue("StartSqlSumRptOnT20"), CString("dword:00000001"));
    EXPECT_EQ(RegistryValue("LinkLowerTabWithUpperTabOnActivate"), CString("dword:00000001"));
    EXPECT_EQ(RegistryValue("TreeViewUseSearchOption"), CString("dword:00000001"));
    Activate(mainId);
    ASSERT_TRUE(ChooseFromMenu("&File", "E&xit"));
    EXPECT_EQ(WaitForExit(), 0);
}

TEST_F(VeltrinXvfb, StatisticsFromTheDialogToTwoReports) {
    StartVeltrin({logs + "/" + kBroker});
    mainId = WaitForWindow("^Veltrin V4\\.21b");
    ASSERT_FALSE(mainId.empty()) << "no main window";
    EXPECT_TRUE(WaitGone("^Veltrin$", 10)) << "the splash stays";
    Activate(mainId);
    // Room for the message pane beside the measured indicator panes.
    x.Run({"xdotool", "windowsize", "--sync", mainId, "800", "600"});
    RECT frame = MainRect();
    ASSERT_TRUE(Found(WaitForText(Glyphs(BoldOf(treeFont), kBroker), frame))) << "the log is not loaded";

    for (const char* report : {"[STATS_CM1]", "[STATS_CM2]"}) {
        // The dialog lists the broker log, ticked, and what it names with their counts.
        Activate(mainId);
        ASSERT_TRUE(ChooseFromMenu("&Tools", "&Stats..."));
        std::string stats = WaitForWindow("^Stats$");
        ASSERT_FALSE(stats.empty()) << "no statistics dialog";
        Geometry g = WindowGeometry(x, stats);
        RECT dialog{g.x, g.y, g.x + g.width, g.y + g.height};
        EXPECT_TRUE(Found(WaitForText(Glyphs(guiFont, kBroker), dialog))) << "the log is not listed";
        EXPECT_TRUE(Found(WaitForText(Glyphs(guiFont, "LOGIN_QUILLAN"), dialog))) << "no transactions";
        EXPECT_TRUE(Found(WaitForText(Glyphs(guiFont, "BATCH01"), dialog))) << "no client machines";
        screen.Save("veltrin_stats_dialog.png");
        RECT ok = WaitForText(Glyphs(guiFont, "OK"), RECT{dialog.left + g.width / 2, dialog.bottom - 50,
                                                          dialog.right, dialog.bottom});
        ASSERT_TRUE(Found(ok)) << "no OK button";
        Click(Centre(ok));
        EXPECT_TRUE(WaitGone("^Stats$")) << "the dialog stays";

        // The report view with rows.
        EXPECT_TRUE(WaitForTitle(report)) << WindowName(mainId);
        EXPECT_TRUE(WaitForIdle(frame)) << "the statistics pass does not end";
        RECT list{frame.left + 200, frame.top + 80, frame.right, frame.bottom - 30};
        // The client machine's column shows whole whatever width the docked tree takes.
        EXPECT_TRUE(Found(WaitForText(Glyphs(guiFont, "BATCH01"), list))) << report << " shows no rows";
        screen.Save("veltrin_stats_report.png");
    }
    Activate(mainId);
    ASSERT_TRUE(ChooseFromMenu("&File", "E&xit"));
    EXPECT_EQ(WaitForExit(), 0);
}

namespace {
// The splitters of the Classic dock bars: across a splitter, face, then one pixel of highlight, face, and
// one of shadow 4 pixels after the highlight. The highlight's position scanning `count` pixels from
// `from` by `step`, or -1.
int FindSplitter(const Screen& s, POINT from, POINT step, int count) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE), light = GetSysColor(COLOR_BTNHIGHLIGHT),
                   shadow = GetSysColor(COLOR_BTNSHADOW);
    auto at = [&](int i) { return s.At(from.x + i * step.x, from.y + i * step.y); };
    for (int i = 1; i + 4 < count; ++i)
        if (at(i) == light && at(i - 1) == face && at(i + 1) == face && at(i + 4) == shadow)
            return step.x ? from.x + i * step.x : from.y + i * step.y;
    return -1;
}

// The pixels of an area of the screen, row by row.
std::vector<COLORREF> Pixels(const Screen& s, const RECT& area) {
    std::vector<COLORREF> out;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x0 = area.left; x0 < area.right; ++x0)
            out.push_back(s.At(x0, y));
    return out;
}
}  // namespace

TEST_F(VeltrinXvfb, TheBarsAreResizedAndFloatedWithTheMouseAndComeBackSoAtTheNextStart) {
    StartVeltrin({});
    mainId = WaitForWindow("^Veltrin V4\\.21b");
    ASSERT_FALSE(mainId.empty()) << "no main window";
    EXPECT_TRUE(WaitGone("^Veltrin$", 10)) << "the splash stays";
    Activate(mainId);
    x.Run({"xdotool", "windowsize", mainId, "800", "600"});
    x.Run({"xdotool", "windowmove", "--sync", mainId, "20", "30"});
    RECT frame{};
    for (auto until = Clock::now() + std::chrono::seconds(10); Clock::now() < until;) {
        frame = MainRect();
        if (frame.bottom - frame.top == 600 && frame.left == 20)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    // The splitter right of the tree, half-way down; the one above the pad, a third of the way in.
    const int midY = (frame.top + frame.bottom) / 2, padX = frame.left + (frame.right - frame.left) / 3;
    int treeSplitter = -1, padSplitter = -1;
    for (auto until = Clock::now() + std::chrono::seconds(10); Clock::now() < until && (treeSplitter < 0 || padSplitter < 0);)
        if (screen.Grab(x, tmp / "screen.xwd")) {
            treeSplitter = FindSplitter(screen, POINT{frame.left, midY}, POINT{1, 0}, 500);
            padSplitter = FindSplitter(screen, POINT{padX, midY}, POINT{0, 1}, frame.bottom - midY);
        }
    screen.Save("veltrin_docking_start.png");
    ASSERT_GT(treeSplitter, 0) << "no splitter right of the tree";
    ASSERT_GT(padSplitter, 0) << "no splitter above the pad";

    // The tree's splitter dragged 60 pixels to the right with the button held.
    x.Run({"xdotool", "mousemove", "--sync", std::to_string(treeSplitter + 1), std::to_string(midY), "mousedown", "1"});
    for (int dx : {20, 40, 60})
        x.Run({"xdotool", "mousemove", "--sync", std::to_string(treeSplitter + 1 + dx), std::to_string(midY)});
    x.Run({"xdotool", "mouseup", "1"});
    int moved = -1;
    for (auto until = Clock::now() + std::chrono::seconds(10); Clock::now() < until && moved != treeSplitter + 60;)
        if (screen.Grab(x, tmp / "screen.xwd"))
            moved = FindSplitter(screen, POINT{frame.left, midY}, POINT{1, 0}, 600);
    EXPECT_EQ(moved, treeSplitter + 60) << "the tree's splitter did not follow the mouse";

    // A double click on the pad's caption (its left strip, below the buttons) floats it where it was.
    POINT caption{frame.left + 12, padSplitter + 60};
    x.Run({"xdotool", "mousemove", "--sync", std::to_string(caption.x), std::to_string(caption.y), "click",
           "--repeat", "2", "--delay", "80", "1"});
    std::string pad = WaitForWindow("Pad", 10);
    ASSERT_FALSE(pad.empty()) << "the pad does not float";
    const int firstLeft = frame.left;
    Activate(mainId);
    // The floating pad as the user sees it over the frame: its place and its caption strip.
    const Geometry floated = WindowGeometry(x, pad);
    ASSERT_GT(floated.width, 20);
    const RECT strip{floated.x, floated.y, floated.x + floated.width, floated.y + 16};
    std::vector<COLORREF> captionPixels;
    if (screen.Grab(x, tmp / "screen.xwd")) {
        screen.Save("veltrin_docking_left.png");
        captionPixels = Pixels(screen, strip);
    }
    ASSERT_TRUE(ChooseFromMenu("&File", "E&xit"));
    EXPECT_EQ(WaitForExit(), 0);
    EXPECT_EQ(RegistryValue("Version"), CString("dword:00000002"));
    EXPECT_NE(RegistryValue("BarSize_59523"), CString("<none>"));
    EXPECT_NE(RegistryValue("BarSize_59522"), CString("<none>"));

    // The next start: the tree as wide as it was left, and the pad floating at its place, over the frame.
    StartVeltrin({});
    mainId = WaitForWindow("^Veltrin V4\\.21b");
    ASSERT_FALSE(mainId.empty()) << "no main window at the restart";
    frame = MainRect();
    int restored = -1;
    for (auto until = Clock::now() + std::chrono::seconds(10); Clock::now() < until && restored != moved;)
        if (screen.Grab(x, tmp / "screen.xwd"))
            restored = FindSplitter(screen, POINT{frame.left, (frame.top + frame.bottom) / 2}, POINT{1, 0}, 600);
    // 60 wider than at the first start (the window manager may place the restored frame a pixel off).
    EXPECT_NEAR((restored - frame.left) - (treeSplitter - firstLeft), 60, 1) << "the tree's width is not the one left";
    pad = WaitForWindow("Pad");
    ASSERT_FALSE(pad.empty()) << "the pad does not float at the restart";
    const Geometry back = WindowGeometry(x, pad);
    EXPECT_EQ(back.x, floated.x);
    EXPECT_EQ(back.y, floated.y);
    EXPECT_EQ(back.width, floated.width);
    EXPECT_EQ(back.height, floated.height);
    bool shows = false;
    for (auto until = Clock::now() + std::chrono::seconds(10); Clock::now() < until && !shows;)
        shows = screen.Grab(x, tmp / "screen.xwd") && Pixels(screen, strip) == captionPixels;
    screen.Save("veltrin_docking_restart.png");
    EXPECT_TRUE(shows) << "the pad's caption is not on the screen where it was left";
    Activate(mainId);
    ASSERT_TRUE(ChooseFromMenu("&File", "E&xit"));
    EXPECT_EQ(WaitForExit(), 0);
}

TEST_F(VeltrinXvfb, TheOpenLogsComeBackAtARestart) {
    StartVeltrin({logs + "/" + kBroker});
    mainId = WaitForWindow("^Veltrin V4\\.21b");
    ASSERT_FALSE(mainId.empty()) << "no main window";
    EXPECT_TRUE(WaitGone("^Veltrin$", 10)) << "the splash stays";
    Activate(mainId);
    x.Run({"xdotool", "windowsize", mainId, "800", "660"});
    x.Run({"xdotool", "windowmove", "--sync", mainId, "20", "30"});
    RECT frame{};
    for (auto until = Clock::now() + std::chrono::seconds(10); Clock::now() < until;) {
        frame = MainRect();
        if (frame.bottom - frame.top == 660)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    RECT root = WaitForText(Glyphs(BoldOf(treeFont), kBroker), frame);
    ASSERT_TRUE(Found(root)) << "no bold root in the tree";
    Click(Centre(root));
    Keys({"Right"});
    RECT server = WaitForText(Glyphs(treeFont, kServers[0]), RECT{root.left, root.bottom, frame.left + 400, frame.bottom});
    ASSERT_TRUE(Found(server)) << "the root does not open";

    // A server log's itemize, then the broker's, which is active last.
    for (auto [item, title] : {std::pair{server, std::string(kServers[0]) + ".log"}, std::pair{root, std::string(kBroker)}}) {
        Click(Centre(item), "3");
        RECT entry = WaitForText(Glyphs(guiFont, "Itemize to One-Liners"),
                                 RECT{item.left, item.top, item.left + 500, item.top + 300});
        ASSERT_TRUE(Found(entry)) << "no context menu for " << title;
        Click(Centre(entry));
        ASSERT_TRUE(WaitForTitle("[" + title + "]")) << WindowName(mainId);
        EXPECT_TRUE(WaitForIdle(frame)) << "the itemize of " << title << " does not end";
    }
    RECT list{frame.left + 200, frame.top + 80, frame.right, frame.bottom - 100};
    // A row that shows above the list's lower edge, under the reports' tabs.
    const Glyphs brokerRow(guiFont, "HandleClientEvent(): On Client Unregister - 08:00:54");
    ASSERT_TRUE(Found(WaitForText(brokerRow, list))) << "the broker's report shows no rows";
    EXPECT_TRUE(ShowsRecords(frame, 101));

    screen.Grab(x, tmp / "screen.xwd");
    screen.Save("veltrin_workspace_closing.png");

    Activate(mainId);
    ASSERT_TRUE(ChooseFromMenu("&File", "E&xit"));
    EXPECT_EQ(WaitForExit(), 0);
    std::string stored = ReadBytes(registry);
    EXPECT_NE(stored.find("\\Software\\VeltrinEx\\Veltrin\\WorkspaceState]"), std::string::npos);
    EXPECT_NE(stored.find("\"Main\"=hex:"), std::string::npos);

    // Started again without a log: the broker's report, maximised and on top, with its rows and its pad
    // page.
    StartVeltrin({});
    mainId = WaitForWindow("^Veltrin V4\\.21b");
    ASSERT_FALSE(mainId.empty()) << "no main window at the restart";
    EXPECT_TRUE(WaitForTitle(std::string("[") + kBroker + "]")) << WindowName(mainId);
    frame = MainRect();
    EXPECT_TRUE(Found(WaitForText(brokerRow, list))) << "the reopened broker report shows no rows";
    EXPECT_TRUE(Found(WaitForText(Glyphs(activeTabFont, kBroker), PadTabs(frame), 10))) << "no page of the broker";
    screen.Save("veltrin_workspace_restart.png");
    // The server's report came back behind it: the next child (Ctrl+F6) is that report.
    Activate(mainId);
    Keys({"ctrl+F6"});
    EXPECT_TRUE(WaitForTitle("[" + std::string(kServers[0]) + ".log]")) << WindowName(mainId);
    Activate(mainId);
    ASSERT_TRUE(ChooseFromMenu("&File", "E&xit"));
    EXPECT_EQ(WaitForExit(), 0);
}

TEST_F(VeltrinXvfb, OneInstanceChosenInCustomizeMakesASecondCopyBringTheFirstForward) {
    {
        std::ofstream reg(registry, std::ios::binary);
        reg << "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\VeltrinEx]\r\n\"Version\"=\"4.21b\"\r\n\r\n";
    }
    Child first;
    StartVeltrinAs(first, {});
    mainId = WaitForWindow("^Veltrin V4\\.21b");
    ASSERT_FALSE(mainId.empty()) << "no main window";
    EXPECT_TRUE(WaitGone("^Veltrin$", 10)) << "the splash stays";

    // The user allows one copy in Customize.
    std::string dialog = OpenCustomize();
    ASSERT_FALSE(dialog.empty()) << "Customize does not open";
    ASSERT_TRUE(ShowCustomizePage(dialog, "Instance Manager", "Run only one instance")) << "no instance manager page";
    RECT d = WindowRect(dialog);
    ASSERT_TRUE(ClickText("Run only one instance", RECT{d.left + 150, d.top, d.right, d.bottom}));
    ASSERT_TRUE(CustomizeOk()) << "the dialog stays";
    EXPECT_EQ(ProfileValue("CustomizeInstanceManager", "MaxAllowedInstanceNumber"), "dword:00000001");

    Activate(mainId);
    x.Run({"xdotool", "windowminimize", "--sync", mainId});
    ASSERT_TRUE(WaitGone("^Veltrin V4\\.21b", 10)) << "not minimised";

    // The second copy ends without a main window of its own; the first is restored and active.
    StartVeltrin({});
    EXPECT_NE(WaitForExit(), -1) << "the second copy runs on";
    EXPECT_EQ(WaitForWindow("^Veltrin V4\\.21b", 10), mainId) << "the first copy stays minimised";
    std::string active;
    for (auto until = Clock::now() + std::chrono::seconds(10); active != mainId && Clock::now() < until;) {
        active = x.Run({"xdotool", "getactivewindow"});
        while (!active.empty() && (active.back() == '\n' || active.back() == '\r'))
            active.pop_back();
        if (active != mainId)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(active, mainId) << "the first copy is not in front";
    std::stringstream ids(x.Run({"xdotool", "search", "--onlyvisible", "--classname", "^veltrin$"}));
    int mains = 0;
    for (std::string id; std::getline(ids, id);)
        mains += WindowName(id).rfind("Veltrin V4.21b", 0) == 0;
    EXPECT_EQ(mains, 1);
    if (screen.Grab(x, tmp / "screen.xwd"))
        screen.Save("veltrin_second_copy.png");

    Activate(mainId);
    ASSERT_TRUE(ChooseFromMenu("&File", "E&xit"));
    EXPECT_EQ(first.Wait(), 0);
}

TEST_F(VeltrinXvfb, TheTreesCommandsFromOpenToRemove) {
    Reference ref = RecordReference(logs, tmp.Path());
    const auto brokerRows = CsvRows(ref.itemizeCsv);
    const auto serverRows = CsvRows(ref.serverItemizeCsv);
    ASSERT_GT(brokerRows.size(), 3u);
    ASSERT_GT(serverRows.size(), 3u);
    InstallRecorders();
    StartVeltrin({logs + "/" + kBroker});
    RECT frame{}, root{};
    ASSERT_TRUE(ShowTree(frame, root)) << "the tree does not show the log";
    const std::string brokerPath = logs + "/" + kBroker;
    size_t edits = 0;

    // Open gives the editor the broker log; Find in File opens it at the first line holding the text.
    ASSERT_TRUE(ChooseFromContextMenu(Centre(root), "Open"));
    EXPECT_EQ(RecordLine(editorRecord, ++edits), brokerPath);
    ASSERT_TRUE(ChooseFromContextMenu(Centre(root), "Find in File ..."));
    ASSERT_TRUE(AnswerDialog("^Find$", "LOGIN_QUILLAN"));
    EXPECT_EQ(RecordLine(editorRecord, ++edits),
              "+" + std::to_string(FirstLineHolding(brokerPath, "LOGIN_QUILLAN")) + " " + brokerPath);

    // Goto Line in List from the QBroker menu selects the row of that line in the itemize view.
    ASSERT_TRUE(ChooseFromContextMenu(Centre(root), "Itemize to One-Liners"));
    ASSERT_TRUE(WaitForTitle(std::string("[") + kBroker + "]")) << WindowName(mainId);
    EXPECT_TRUE(WaitForIdle(frame)) << "the itemize does not end";
    const RECT list = ReportList(frame);
    // A client's request that the broker sent to a server.
    auto sent = std::find_if(brokerRows.begin() + 1, brokerRows.end(), [](const std::vector<std::string>& row) {
        return row.size() > 2 && row[2].find("LOGIN_QUILLAN") != std::string::npos &&
               row[2].find("sent to") != std::string::npos;
    });
    ASSERT_TRUE(sent != brokerRows.end() && sent + 1 != brokerRows.end());
    const std::vector<std::string> gotoRow = *sent, brokerRow = *(sent + 1);
    ASSERT_NE(brokerRow[2].find("sent to"), std::string::npos);
    // The client of the row below, "//MACHINE/pid".
    const std::string client = brokerRow[2].find("/pt_QClient:") == std::string::npos ? std::string("?") :
        brokerRow[2].substr(brokerRow[2].find("/pt_QClient:") + 12, brokerRow[2].find('#') - brokerRow[2].find("/pt_QClient:") - 12);
    ASSERT_TRUE(ChooseFromContextMenu(Centre(root), "Goto Line in List..."));
    ASSERT_TRUE(AnswerDialog("^Goto Line$", gotoRow[1]));
    EXPECT_EQ(RowStart(CopySelectedRow(list, " | " + gotoRow[1] + " | ")), gotoRow[0] + " | " + gotoRow[1] + " | ");
    screen.Save("veltrin_tree_goto_broker.png");

    // A click on the row below puts its transaction from its server log in the pad.
    const POINT onRow{copiedRow.x, copiedRow.y + 17};
    Click(onRow);
    ASSERT_TRUE(ChooseFromMenu("&Edit", "&Copy Pad Text"));
    EXPECT_NE(WaitForClipboard("/pt_QClient:" + client).find("Start "), std::string::npos)
        << "no transaction of " << client << " in the pad";

    // Goto Log opens the server's itemize view at the transaction's line.
    ASSERT_TRUE(ChooseFromContextMenu(onRow, "Goto Log ..."));
    const std::string server = "QServer" + brokerRow[2].substr(brokerRow[2].rfind('/') + 1, 4);
    EXPECT_TRUE(WaitForTitle(server)) << WindowName(mainId);
    EXPECT_TRUE(WaitForIdle(frame));
    EXPECT_NE(CopySelectedRow(list, client), "") << "no row of the transaction selected";
    screen.Save("veltrin_tree_goto_log.png");

    // Goto Line in List from the QServer menu selects the row in the server's itemize view, and a double
    // click opens the editor at that row's line.
    CloseReports();
    RECT firstServer = TreeItem(frame, root, kServers[0]);
    ASSERT_TRUE(Found(firstServer));
    ASSERT_TRUE(ChooseFromContextMenu(Centre(firstServer), "Itemize to One-Liners"));
    ASSERT_TRUE(WaitForTitle(std::string("[") + kServers[0])) << WindowName(mainId);
    EXPECT_TRUE(WaitForIdle(frame));
    const std::vector<std::string>& serverRow = serverRows[serverRows.size() / 2];
    ASSERT_TRUE(ChooseFromContextMenu(Centre(firstServer), "Goto Line in List..."));
    ASSERT_TRUE(AnswerDialog("^Goto Line$", serverRow[1]));
    EXPECT_EQ(RowStart(CopySelectedRow(list, " | " + serverRow[1] + " | ")), serverRow[0] + " | " + serverRow[1] + " | ");
    x.Run({"xdotool", "mousemove", "--sync", std::to_string(copiedRow.x), std::to_string(copiedRow.y), "click",
           "--repeat", "2", "--delay", "80", "1"});
    EXPECT_EQ(RecordLine(editorRecord, ++edits), "+" + serverRow[1] + " " + logs + "/" + kServers[0] + ".log");
    CloseReports();

    // Remove takes the log out of the tree.
    RECT last = TreeItem(frame, root, kServers[3]);
    ASSERT_TRUE(Found(last));
    ASSERT_TRUE(ChooseFromContextMenu(Centre(last), "Remove"));
    bool gone = false;
    for (auto until = Clock::now() + std::chrono::seconds(10); !gone && Clock::now() < until;)
        gone = screen.Grab(x, tmp / "screen.xwd") &&
               !Found(Glyphs(treeFont, kServers[3]).FindIn(screen, RECT{root.left, root.bottom, frame.left + 400, frame.bottom}));
    EXPECT_TRUE(gone) << "the removed log stays in the tree";
    EXPECT_TRUE(Found(TreeItem(frame, root, kServers[2]))) << "another log went with it";
    Activate(mainId);
    ASSERT_TRUE(ChooseFromMenu("&File", "E&xit"));
    EXPECT_EQ(WaitForExit(), 0);
}

TEST_F(VeltrinXvfb, IntegrityChecksAndTopTwentyRunsAndTheirReportLogsAgain) {
    InstallRecorders();
    SeedSettings({{"StartSqlSumRptOnT20", 1}});
    StartVeltrin({logs + "/" + kBroker});
    RECT frame{}, root{};
    ASSERT_TRUE(ShowTree(frame, root)) << "the tree does not show the log";
    const RECT list = ReportList(frame);

    // The integrity checks of one log and of the whole tree fill their views.
    ASSERT_TRUE(ChooseFromContextMenu(Centre(root), "Run (TIC) Transaction Integrity Check on this QBroker.log"));
    EXPECT_TRUE(WaitForTitle(std::string("[") + kBroker + "_TIC]")) << WindowName(mainId);
    EXPECT_TRUE(WaitForIdle(frame));
    EXPECT_TRUE(HasRows(list)) << "the broker's integrity check shows no rows";
    screen.Save("veltrin_tic_broker.png");
    ASSERT_TRUE(ChooseFromMenu("&Tools", "Run (TIC) Transaction Integrity Check on entire Tree"));
    EXPECT_TRUE(WaitForTitle("[SQL_ANALYSIS_ALL_TIC]")) << WindowName(mainId);
    EXPECT_TRUE(WaitForIdle(frame));
    EXPECT_TRUE(HasRows(list)) << "the whole tree's integrity check shows no rows";
    screen.Save("veltrin_tic_tree.png");
    CloseReports();

    // The top-20 runs of one log and of the whole tree: transactions, then SQL statements.
    ASSERT_TRUE(ChooseFromContextMenu(Centre(root), "Run (T20) Top 20 report on this QBroker log"));
    EXPECT_TRUE(WaitForTitle("_T20Sql")) << WindowName(mainId);
    EXPECT_TRUE(WaitForIdle(frame));
    EXPECT_TRUE(HasRows(list)) << "the top-20 SQL report shows no rows";
    screen.Save("veltrin_t20_broker.png");
    CloseReports();
    ASSERT_TRUE(ChooseFromMenu("&Tools", "Run (T20) TOP 20 report on entire Tree"));
    EXPECT_TRUE(WaitForTitle("[TOP20_SQL_ALL]")) << WindowName(mainId);
    EXPECT_TRUE(WaitForIdle(frame));
    EXPECT_TRUE(HasRows(list)) << "the whole tree's top-20 SQL report shows no rows";
    CloseReports();

    // Run again, each asks with the report logs' names: "Use Existing" loads their lists, Cancel nothing.
    struct Again {
        const char* item;  // a tree context menu's item, else the Tools menu's
        bool onTree;
        const char* log1;
        const char* log2;
        const char* lastTitle;
    } const again[] = {
        {"Run (TIC) Transaction Integrity Check on this QBroker.log", true, "20230502QBroker_TIC.log", nullptr,
         "_TIC]"},
        {"Run (TIC) Transaction Integrity Check on entire Tree", false, "TICAnalysisAllTreeview_TIC.log", nullptr,
         "[SQL_ANALYSIS_ALL_TIC]"},
        {"Run (T20) Top 20 report on this QBroker log", true, "20230502QBroker_T20Xact.log",
         "20230502QBroker_T20Sql.log", "SQLSUMMARY"},
        {"Run (T20) TOP 20 report on entire Tree", false, "Top20Transactions.log", "Top20SqlStatements.log",
         "SQLSUMMARY_ALL"},
    };
    for (const Again& a : again) {
        for (const char* key : {"Return", "Escape"}) {
            if (a.onTree)
                ASSERT_TRUE(ChooseFromContextMenu(Centre(root), a.item)) << a.item;
            else
                ASSERT_TRUE(ChooseFromMenu("&Tools", a.item)) << a.item;
            std::string question = WaitForWindow("^Question$");
            ASSERT_FALSE(question.empty()) << "no question for " << a.item;
            Geometry g = WindowGeometry(x, question);
            RECT dialog{g.x, g.y, g.x + g.width, g.y + g.height};
            for (const char* log : {a.log1, a.log2}) {
                if (log) {
                    EXPECT_TRUE(Found(WaitForText(Glyphs(guiFont, log), dialog, 10))) << log << " not named";
                }
            }
            if (std::string(key) == "Return")
                screen.Save("veltrin_question.png");
            Activate(question);
            Keys({key});
            EXPECT_TRUE(WaitGone("^Question$"));
            if (std::string(key) == "Return") {
                EXPECT_TRUE(WaitForTitle(a.lastTitle)) << a.item << ": " << WindowName(mainId);
                EXPECT_TRUE(WaitForIdle(frame));
                EXPECT_TRUE(HasRows(list)) << a.item << ": the existing report shows no rows";
                CloseReports();
            } else {
                EXPECT_FALSE(WaitForTitle("[", 1)) << a.item << ": Cancel opened " << WindowName(mainId);
            }
        }
    }

    Activate(mainId);
    ASSERT_TRUE(ChooseFromMenu("&File", "E&xit"));
    EXPECT_EQ(WaitForExit(), 0);
}

// The rows' own reports: the top-20 SQL list's marker row opens its report log whole and starts the SQL
// summary, whose row starts the histogram; a transaction of the top-20 list and one of the time analysis
// each run their SQL reports. A column widened by dragging its header divider is saved and comes back
// at the next start.
TEST_F(VeltrinXvfb, TheReportRowsRunTheirReportsAndAWidenedColumnComesBack) {
    InstallRecorders();
    // The SQL summary is started from its row here, not by the top-20 run.
    SeedSettings({{"StartSqlSumRptOnT20", 0}});
    StartVeltrin({logs + "/" + kBroker});
    RECT frame{}, root{};
    ASSERT_TRUE(ShowTree(frame, root)) << "the tree does not show the log";
    const RECT list = ReportList(frame);
    // The selected row's context menu, opened in its third column as CopySelectedRow opens it.
    auto onSelectedRow = [&](const char* item) {
        RECT band = SelectedRow(list);
        return Found(band) && ChooseFromContextMenu(POINT{band.left + 200, (band.top + band.bottom) / 2}, item);
    };
    // The list's first row selected by a click right of its first column (a click on a selected row's
    // first cell edits it).
    auto selectFirstRow = [&]() {
        Activate(mainId);
        Click(POINT{list.left + 200, list.top + 8});
        return Found(SelectedRow(list, 5));
    };
    // Closes the active report until the title shows the one behind it (a Ctrl+F4 lost under load is
    // pressed again).
    auto closeTo = [&](const std::string& back) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            Activate(mainId);
            Keys({"ctrl+F4"});
            if (WaitForTitle(back, 10))
                return true;
        }
        return false;
    };
    // A row's report: its view comes with rows and is closed again, back to the list it came from.
    auto runsWithRows = [&](const char* item, const std::string& title, const std::string& back) {
        SCOPED_TRACE(item);
        ASSERT_TRUE(selectFirstRow()) << WindowName(mainId);
        if (!onSelectedRow(item)) {
            screen.Save("veltrin_no_row_menu.png");
            FAIL() << "no row menu with " << item;
        }
        ASSERT_TRUE(WaitForTitle(title)) << WindowName(mainId);
        EXPECT_TRUE(WaitForIdle(frame));
        EXPECT_TRUE(HasRows(list)) << title << " shows no rows";
        std::string name = title.substr(1);
        std::transform(name.begin(), name.end(), name.begin(), ::tolower);
        screen.Save("veltrin_rows_" + name + ".png");
        EXPECT_TRUE(closeTo(back)) << WindowName(mainId);
    };

    // The broker's top-20: transactions, then SQL statements, whose last row names their report log.
    ASSERT_TRUE(ChooseFromContextMenu(Centre(root), "Run (T20) Top 20 report on this QBroker log"));
    ASSERT_TRUE(WaitForTitle("_T20Sql]")) << WindowName(mainId);
    EXPECT_TRUE(WaitForIdle(frame));
    ASSERT_TRUE(HasRows(list)) << "the top-20 SQL report shows no rows";
    const RECT first = SelectedRow(list);
    Keys({"End"});
    RECT last{};
    for (auto until = Clock::now() + std::chrono::seconds(10); Clock::now() < until && last.top <= first.top;)
        last = SelectedRow(list, 2);
    ASSERT_GT(last.top, first.top) << "End does not select the last row";
    ASSERT_NE(CopySelectedRow(list, "TOP20LOG | "), "") << "the last row is not the report log's";
    ASSERT_TRUE(ChooseFromContextMenu(copiedRow, "Open Log ..."));
    EXPECT_EQ(RecordLine(editorRecord, 1), logs + "/20230502QBroker_T20Sql.log");

    // The marker row starts the SQL summary, a summary row the histogram of its statement.
    ASSERT_TRUE(ChooseFromContextMenu(copiedRow, "Run SQL Summary Report"));
    ASSERT_TRUE(WaitForTitle("_T20Sql.log_SQLSUMMARY]")) << WindowName(mainId);
    EXPECT_TRUE(WaitForIdle(frame));
    screen.Save("veltrin_rows_sqlsummary.png");
    runsWithRows("Run SQL Histogram Report", "[SQLHISTOGRAM_", "_SQLSUMMARY]");
    ASSERT_TRUE(closeTo("_T20Sql]")) << WindowName(mainId);
    ASSERT_TRUE(closeTo("_T20Xact]")) << WindowName(mainId);

    // A top-20 transaction's SQL reports.
    runsWithRows("Run Transaction Top20 SQL Report...", "[XACT_T20SQL", "_T20Xact]");
    runsWithRows("Run Transaction SQL Sums Report...", "[XACT_SUM", "_T20Xact]");
    CloseReports();

    // A time-analysed transaction's SQL reports.
    ASSERT_TRUE(ChooseFromMenu("&Tools", "Run (TA) SQL time analysis on entire Tree"));
    ASSERT_TRUE(WaitForTitle("[SQL_ANALYSIS_ALL_TA]")) << WindowName(mainId);
    EXPECT_TRUE(WaitForIdle(frame));
    runsWithRows("Run Transaction Top20 SQL Report...", "[XACT_TA_T20SQL", "[SQL_ANALYSIS_ALL_TA]");
    runsWithRows("Run Transaction SQL Sums Report...", "[XACT_TA_SUM", "[SQL_ANALYSIS_ALL_TA]");

    // The File column widened by dragging its right divider 60 pixels, and the layout saved.
    Activate(mainId);
    const int fileWidth = FileColumnWidth(frame, list);
    ASSERT_GT(fileWidth, 0) << "no File and Transaction captions in the header";
    const int divider = m_dividerX, y = m_headerY;
    x.Run({"xdotool", "mousemove", "--sync", std::to_string(divider), std::to_string(y), "mousedown", "1"});
    for (int dx : {20, 40, 60})
        x.Run({"xdotool", "mousemove", "--sync", std::to_string(divider + dx), std::to_string(y)});
    x.Run({"xdotool", "mouseup", "1"});
    int widened = -1;
    for (auto until = Clock::now() + std::chrono::seconds(10); Clock::now() < until && widened != fileWidth + 60;)
        widened = FileColumnWidth(frame, list);
    EXPECT_EQ(widened, fileWidth + 60) << "the column did not follow the mouse";
    screen.Save("veltrin_column_widened.png");
    ASSERT_TRUE(ChooseFromMenu("&Edit", "Save Column &Layout"));
    for (auto until = Clock::now() + std::chrono::seconds(10);
         Clock::now() < until && ReadBytes(registry).find("\\Veltrin\\ANALYZETAALL]") == std::string::npos;)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_NE(ReadBytes(registry).find("\\Veltrin\\ANALYZETAALL]"), std::string::npos) << "no layout saved:\n" << ReadBytes(registry);
    CloseReports();
    ASSERT_TRUE(ChooseFromMenu("&File", "E&xit"));
    EXPECT_EQ(WaitForExit(), 0);

    // The next start: the report taken from its report log shows the column as wide as it was left.
    StartVeltrin({logs + "/" + kBroker});
    ASSERT_TRUE(ShowTree(frame, root)) << "the tree does not show the log at the restart";
    ASSERT_TRUE(ChooseFromMenu("&Tools", "Run (TA) SQL time analysis on entire Tree"));
    std::string question = WaitForWindow("^Question$");
    ASSERT_FALSE(question.empty()) << "no question";
    Activate(question);
    Keys({"Return"});
    ASSERT_TRUE(WaitForTitle("[SQL_ANALYSIS_ALL_TA]")) << WindowName(mainId);
    EXPECT_TRUE(WaitForIdle(frame));
    int restored = -1;
    for (auto until = Clock::now() + std::chrono::seconds(10); Clock::now() < until && restored != fileWidth + 60;)
        restored = FileColumnWidth(frame, list);
    screen.Save("veltrin_column_restart.png");
    EXPECT_EQ(restored, fileWidth + 60) << "the saved width did not come back";
    CloseReports();
    Activate(mainId);
    ASSERT_TRUE(ChooseFromMenu("&File", "E&xit"));
    EXPECT_EQ(WaitForExit(), 0);
}

TEST_F(VeltrinXvfb, TheReportViewsCommandsFromSearchToStatistics) {
    Reference ref = RecordReference(logs, tmp.Path());
    const auto brokerRows = CsvRows(ref.itemizeCsv);
    ASSERT_GT(brokerRows.size(), 3u);
    InstallRecorders();
    SeedSettings({{"LaunchExcelOnExport", 1}, {"EnableETCalculationsInStats", 1}});
    StartVeltrin({logs + "/" + kBroker});
    RECT frame{}, root{};
    ASSERT_TRUE(ShowTree(frame, root)) << "the tree does not show the log";
    const std::string brokerPath = logs + "/" + kBroker;
    const RECT list = ReportList(frame);
    size_t edits = 0, opened = 0;

    ASSERT_TRUE(ChooseFromContextMenu(Centre(root), "Itemize to One-Liners"));
    ASSERT_TRUE(WaitForTitle(std::string("[") + kBroker + "]")) << WindowName(mainId);
    EXPECT_TRUE(WaitForIdle(frame));

    // Find in List with two texts for one cell, then Find Next: the rows holding both, in order.
    auto holdsBoth = [](const std::vector<std::string>& row) {
        for (size_t c = 2; c < row.size(); ++c) {
            std::string upper = row[c];
            std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
            if (upper.find("LOGIN") != std::string::npos && upper.find("WS0104") != std::string::npos)
                return true;
        }
        return false;
    };
    auto hit = std::find_if(brokerRows.begin() + 1, brokerRows.end(), holdsBoth);
    ASSERT_NE(hit, brokerRows.end());
    Activate(mainId);
    Keys({"ctrl+f"});
    ASSERT_TRUE(AnswerDialog("^Find$", "LOGIN&&WS0104"));
    for (auto row = hit; row != brokerRows.end(); row = std::find_if(row + 1, brokerRows.end(), holdsBoth)) {
        EXPECT_EQ(RowStart(CopySelectedRow(list, " | " + (*row)[1] + " | ")), (*row)[0] + " | " + (*row)[1] + " | ");
        Activate(mainId);
        Keys({"F3"});
    }
    // After the last, the search ends without wrapping.
    std::string end = WaitForWindow("^Search$", 10);
    ASSERT_FALSE(end.empty()) << "no end of the search";
    Activate(end);
    Keys({"Return"});
    EXPECT_TRUE(WaitGone("^Search$"));

    // Export with "LaunchExcelOnExport" hands the written file to the desktop's opener.
    Activate(mainId);
    ASSERT_FALSE(ChooseFromMenuFor("&Tools", "&Export list...", "^Open$").empty());
    ASSERT_TRUE(AnswerDialog("^Open$", tmp / "itemize.csv"));
    EXPECT_EQ(RecordLine(openerRecord, ++opened), tmp / "itemize.csv");
    EXPECT_EQ(ReadBytes(tmp / "itemize.csv"), ref.itemizeCsv);

    // "Open File ..." on the imported list opens the imported file.
    Activate(mainId);
    ASSERT_FALSE(ChooseFromMenuFor("&Tools", "&Import...", "^Open$").empty());
    ASSERT_TRUE(AnswerDialog("^Open$", tmp / "itemize.csv"));
    EXPECT_TRUE(WaitForTitle("[Import_1]")) << WindowName(mainId);
    EXPECT_TRUE(WaitForIdle(frame));
    ASSERT_TRUE(HasRows(list));
    RECT band = SelectedRow(list);
    ASSERT_TRUE(ChooseFromContextMenu(POINT{band.left + 40, (band.top + band.bottom) / 2}, "Open File ..."));
    EXPECT_EQ(RecordLine(editorRecord, ++edits), tmp / "itemize.csv");
    CloseReports();

    // Statistics with elapsed times: the exported report has them; its rows open both logs at their lines.
    ASSERT_TRUE(ChooseFromMenu("&Tools", "&Stats..."));
    std::string stats = WaitForWindow("^Stats$");
    ASSERT_FALSE(stats.empty()) << "no statistics dialog";
    Geometry g = WindowGeometry(x, stats);
    RECT dialog{g.x, g.y, g.x + g.width, g.y + g.height};
    EXPECT_TRUE(Found(WaitForText(Glyphs(guiFont, "LOGIN_QUILLAN"), dialog))) << "no transactions";
    RECT ok = WaitForText(Glyphs(guiFont, "OK"), RECT{dialog.left + g.width / 2, dialog.bottom - 50, dialog.right, dialog.bottom});
    ASSERT_TRUE(Found(ok));
    Click(Centre(ok));
    EXPECT_TRUE(WaitGone("^Stats$"));
    EXPECT_TRUE(WaitForTitle("[STATS_CM1]")) << WindowName(mainId);
    EXPECT_TRUE(WaitForIdle(frame));
    screen.Save("veltrin_stats_elapsed.png");
    std::vector<std::vector<std::string>> statsRows;
    for (auto until = Clock::now() + std::chrono::seconds(30); Clock::now() < until;) {
        Activate(mainId);
        ASSERT_FALSE(ChooseFromMenuFor("&Tools", "&Export list...", "^Open$").empty());
        std::string csv = tmp / ("stats" + std::to_string(++opened) + ".csv");
        ASSERT_TRUE(AnswerDialog("^Open$", csv));
        EXPECT_EQ(RecordLine(openerRecord, opened), csv);
        statsRows = CsvRows(ReadBytes(csv));
        // Every row with a server log gets its elapsed time from the workers.
        const int e = statsRows.empty() ? -1 : ColumnOf(statsRows[0], "ElapsedTime");
        const int f = statsRows.empty() ? -1 : ColumnOf(statsRows[0], "QServer Filename");
        bool all = statsRows.size() > 1 && e >= 0 && f >= 0;
        for (size_t r = 1; all && r < statsRows.size(); ++r)
            all = (int)statsRows[r].size() > std::max(e, f) && (statsRows[r][f].empty() || !statsRows[r][e].empty());
        if (all)
            break;
    }
    ASSERT_GT(statsRows.size(), 1u);
    const int elapsedCol = ColumnOf(statsRows[0], "ElapsedTime"), brokerCol = ColumnOf(statsRows[0], "QBroker Line"),
              serverCol = ColumnOf(statsRows[0], "QServer Filename");
    ASSERT_GE(std::min({elapsedCol, brokerCol, serverCol}), 0);
    const std::vector<std::string>& statsRow = statsRows[1];
    ASSERT_GT((int)statsRow.size(), serverCol);
    EXPECT_FALSE(statsRow[elapsedCol].empty()) << "no elapsed time";
    EXPECT_FALSE(statsRow[serverCol].empty()) << "the first row names no server log";
    ASSERT_TRUE(HasRows(list));
    band = SelectedRow(list);
    const POINT onRow{band.left + 40, (band.top + band.bottom) / 2};
    ASSERT_TRUE(ChooseFromContextMenu(onRow, "Open QBroker Log ..."));
    const std::string& brokerCell = statsRow[brokerCol];  // "file: line"
    EXPECT_EQ(RecordLine(editorRecord, ++edits),
              "+" + brokerCell.substr(brokerCell.find(':') + 2) + " " + logs + "/" + brokerCell.substr(0, brokerCell.find(':')));
    ASSERT_TRUE(ChooseFromContextMenu(onRow, "Open QServer Log ..."));
    std::string serverEdit = RecordLine(editorRecord, ++edits);
    EXPECT_EQ(serverEdit.substr(serverEdit.find(' ') + 1), logs + "/" + statsRow[serverCol]);
    EXPECT_GT(std::atoi(serverEdit.c_str() + 1), 0) << serverEdit;
    CloseReports();
    Activate(mainId);
    ASSERT_TRUE(ChooseFromMenu("&File", "E&xit"));
    EXPECT_EQ(WaitForExit(), 0);
}

// The menu bar from the keyboard: Alt, the arrows and Escape, a mnemonic, the expand item of a popup
// that shows only the recently used commands, and a command chosen there, which shows from then on.
TEST_F(VeltrinXvfb, TheMenusFromTheKeyboardAndTheRecentlyUsedCommands) {
    StartVeltrin({});
    mainId = WaitForWindow("^Veltrin V4\\.21b");
    ASSERT_FALSE(mainId.empty()) << "no main window";
    EXPECT_TRUE(WaitGone("^Veltrin$", 10)) << "the splash stays";
    Activate(mainId);
    RECT frame = MainRect();
    RECT menuRow{frame.left, frame.top, frame.right, frame.top + 40};
    RECT file = WaitForText(Glyphs(guiFont, "&File"), menuRow);
    RECT edit = WaitForText(Glyphs(guiFont, "&Edit"), menuRow);
    ASSERT_TRUE(Found(file) && Found(edit)) << "the menu bar shows no texts";
    auto below = [](const RECT& button) { return RECT{button.left - 4, button.bottom, button.left + 400, button.bottom + 300}; };
    auto gone = [&](const Glyphs& text, const RECT& area) {
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        return screen.Grab(x, tmp / "screen.xwd") && !Found(text.FindIn(screen, area));
    };
    // Popups draw their items in the menu font.
    NONCLIENTMETRICS metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT menuFont = CreateFontIndirect(&metrics.lfMenuFont);
    const Glyphs copyPad(menuFont, "&Copy Pad Text"), openKey(menuFont, "Ctrl+O"), exitItem(menuFont, "E&xit");
    // The button whose popup is open still shows its text, pressed in by a pixel.
    auto pressedShowsText = [&](const char* text, RECT button) {
        InflateRect(&button, 3, 3);
        return Found(WaitForText(Glyphs(guiFont, text), button, 5));
    };

    // Alt alone, Right, Down: the second popup opens from the keyboard.
    Keys({"alt", "Right", "Down"});
    EXPECT_TRUE(Found(WaitForText(copyPad, below(edit), 10))) << "Alt, Right, Down does not open Edit";
    EXPECT_TRUE(pressedShowsText("&Edit", edit)) << "the open Edit button shows no text";
    screen.Save("veltrin_menu_keyboard.png");
    // Escape closes the popup and keeps keyboard mode; a second Escape leaves it, so a letter then opens nothing.
    Keys({"Escape"});
    EXPECT_TRUE(gone(copyPad, below(edit))) << "Escape leaves the popup open";
    Keys({"Escape", "e"});
    EXPECT_TRUE(gone(copyPad, below(edit))) << "keyboard mode outlives the second Escape";

    // Alt+F opens File with only the recently used commands: Open is behind the expand item, the last one.
    Keys({"alt+f"});
    RECT exitShort = WaitForText(exitItem, below(file), 10);
    ASSERT_TRUE(Found(exitShort)) << "Alt+F does not open File";
    EXPECT_FALSE(Found(openKey.FindIn(screen, below(file)))) << "Open shows before it was ever chosen";
    EXPECT_TRUE(pressedShowsText("&File", file)) << "the open File button shows no text";
    screen.Save("veltrin_menu_recently_used.png");
    // The expand item shows every item: Exit moves down.
    Keys({"Up", "Return"});
    RECT exitLong{};
    for (auto until = Clock::now() + std::chrono::seconds(10); Clock::now() < until;) {
        exitLong = WaitForText(exitItem, below(file), 2);
        if (Found(exitLong) && exitLong.top > exitShort.top)
            break;
    }
    EXPECT_GT(exitLong.top, exitShort.top) << "the expand item does not show all items";
    screen.Save("veltrin_menu_expanded.png");
    Keys({"o"});
    ASSERT_FALSE(WaitForWindow("^Select QBroker Files", 15).empty()) << "Open does not run";
    Keys({"Escape"});
    EXPECT_TRUE(WaitGone("^Select QBroker Files", 10)) << "the file dialog stays";

    // Now Open shows without expanding.
    Activate(mainId);
    Keys({"alt+f"});
    EXPECT_TRUE(Found(WaitForText(openKey, below(file), 10))) << "Open is not recently used";
    Keys({"x"});
    EXPECT_EQ(WaitForExit(), 0);

    // After a restart with the same registry file, Open still shows without expanding.
    StartVeltrin({});
    mainId = WaitForWindow("^Veltrin V4\\.21b");
    ASSERT_FALSE(mainId.empty()) << "no main window after the restart";
    EXPECT_TRUE(WaitGone("^Veltrin$", 10)) << "the splash stays";
    Activate(mainId);
    frame = MainRect();
    menuRow = RECT{frame.left, frame.top, frame.right, frame.top + 40};
    file = WaitForText(Glyphs(guiFont, "&File"), menuRow);
    ASSERT_TRUE(Found(file)) << "the menu bar shows no texts after the restart";
    Keys({"alt+f"});
    EXPECT_TRUE(Found(WaitForText(exitItem, below(file), 10))) << "Alt+F does not open File after the restart";
    screen.Save("veltrin_menu_after_restart.png");
    EXPECT_TRUE(Found(WaitForText(openKey, below(file), 5))) << "Open is hidden again after the restart";
    Keys({"x"});
    EXPECT_EQ(WaitForExit(), 0);
}

namespace {
// The customize dialog beside a narrowed frame, both on the screen whole.
class VeltrinCustomizeXvfb : public VeltrinXvfb {
protected:
    // The main window at the left, narrowed so that the dialog fits beside it; its rectangle.
    RECT PlaceFrame() {
        mainId = WaitForWindow("^Veltrin V4\\.21b");
        if (mainId.empty() || !WaitGone("^Veltrin$", 10))
            return RECT{};
        Activate(mainId);
        x.Run({"xdotool", "windowsize", mainId, "480", "600"});
        x.Run({"xdotool", "windowmove", "--sync", mainId, "0", "40"});
        RECT frame{};
        for (auto until = Clock::now() + std::chrono::seconds(10); Clock::now() < until;) {
            frame = MainRect();
            if (frame.right - frame.left == 480)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return frame;
    }
    // "Customize..." from the View menu; the dialog, moved right of the frame and shown on its
    // commands page (it opens on the background page); "" when either fails.
    std::string OpenCustomize() {
        std::string id = ChooseFromMenuFor("&View", "C&ustomize...", "^Customize$");
        if (id.empty())
            return id;
        x.Run({"xdotool", "windowmove", "--sync", id, "490", "40"});
        // OK is found while the dialog is new: a page shown later may leave the buttons unpainted.
        RECT d = WindowRect(id);
        RECT ok = WaitForText(Glyphs(dialogFont, "OK"), RECT{700, 430, 1024, 500}, 5);
        if (!Found(ok))
            return {};
        customizeOk = Centre(ok);
        // The page's own caption in the window colour does not stand out from the face: a check box's does.
        if (ShowCustomizePage(id, "Commands", "Icons in menu"))
            return id;
        screen.Save("veltrin_customize_no_commands_page.png");
        return {};
    }
    // Presses at `from`, moves in steps to `to` with the button held and lets go there; `held` runs
    // before the release (a screenshot of the drag).
    void DragWithMouse(POINT from, POINT to, const std::function<void()>& held = {}) {
        auto at = [](int v) { return std::to_string(v); };
        x.Run({"xdotool", "mousemove", "--sync", at(from.x), at(from.y), "mousedown", "1"});
        // A few pixels within the source first: that begins the drag there.
        x.Run({"xdotool", "mousemove", "--sync", at(from.x + 4), at(from.y)});
        x.Run({"xdotool", "mousemove", "--sync", at(from.x + 8), at(from.y)});
        for (int k = 1; k <= 10; ++k)
            x.Run({"xdotool", "mousemove", "--sync", at(from.x + 8 + (to.x - from.x - 8) * k / 10),
                   at(from.y + (to.y - from.y) * k / 10)});
        x.Run({"xdotool", "mousemove", "--sync", at(to.x), at(to.y + 1)});
        if (held)
            held();
        x.Run({"xdotool", "mouseup", "1"});
    }
    // What a start and an Exit leave in a registry file of their own: the file's text.
    std::string FreshStartsRegistry() {
        const std::string fresh = tmp / "fresh.reg";
        std::vector<std::string> kept = appEnv;
        for (std::string& e : appEnv)
            if (e.rfind("VELTRIN_REGISTRY=", 0) == 0)
                e = "VELTRIN_REGISTRY=" + fresh;
        StartVeltrin({});
        appEnv = kept;
        if (!Found(PlaceFrame()) || !ChooseFromMenu("&File", "E&xit") || WaitForExit() != 0)
            return {};
        return ReadBytes(fresh);
    }
    // The frame's rows: the menu bar's "File", and the middles of the two tool bars below it.
    struct Rows {
        RECT file{};
        int toolbar = 0, windowBar = 0;
    };
    Rows FindRows(const RECT& frame) {
        Rows rows;
        // "File" with its mnemonic underlined, or without it while keyboard cues are hidden.
        const RECT menuBand{frame.left, frame.top, frame.right, frame.top + 60};
        rows.file = WaitForText(Glyphs(guiFont, "&File"), menuBand, 15);
        if (!Found(rows.file))
            rows.file = WaitForText(Glyphs(guiFont, "File"), menuBand, 15);
        if (!Found(rows.file))
            screen.Save("veltrin_customize_no_menu_bar.png");
        int menuMiddle = Centre(rows.file).y;
        rows.toolbar = menuMiddle + 25;
        rows.windowBar = menuMiddle + 48;
        return rows;
    }
    // A group's item of the commands tree, the group opened first; its text's cell.
    RECT TreeCommand(const char* group, const char* item) {
        const RECT tree{660, 120, 1024, 430};
        RECT g = WaitForText(Glyphs(boldDialogFont, group), tree, 10);
        if (!Found(g))
            return RECT{};
        const Glyphs text(dialogFont, item);
        if (RECT r = text.FindIn(screen, tree); Found(r))
            return r;
        Click(POINT{g.left - 31, Centre(g).y});  // the group's button
        return WaitForText(text, tree, 10);
    }
    // The text in a band of the screen, or an empty rectangle after a short wait.
    RECT InRow(const char* text, HFONT font, const RECT& frame, int row, int seconds = 10) {
        return WaitForText(Glyphs(font, text), Band(frame, row), seconds);
    }
    // The band of a tool bar's row across the frame.
    static RECT Band(const RECT& frame, int row) { return RECT{frame.left, row - 12, frame.right, row + 12}; }
    // Grabs screens until the text no longer shows in the area; whether it went.
    bool WaitTextGone(const Glyphs& text, const RECT& area, int seconds = 10) {
        for (auto until = Clock::now() + std::chrono::seconds(seconds); Clock::now() < until;)
            if (screen.Grab(x, tmp / "screen.xwd") && !Found(text.FindIn(screen, area)))
                return true;
        return false;
    }
    // OK in the dialog, then File, Exit; whether the program ended well.
    bool OkAndExit() {
        Click(customizeOk);
        return WaitGone("^Customize$", 10) && ChooseFromMenu("&File", "E&xit") && WaitForExit() == 0;
    }
    HFONT boldDialogFont = CreateFont(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
    HFONT dialogFont = CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
};
}  // namespace

TEST_F(VeltrinCustomizeXvfb, CommandsDraggedOntoTheBarsAndIntoFileStayAndGoAgain) {
    using namespace customize_state_bytes;
    const std::string fresh = FreshStartsRegistry();
    ASSERT_FALSE(fresh.empty()) << "a fresh start did not end";
    NONCLIENTMETRICS metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT menuFont = CreateFontIndirect(&metrics.lfMenuFont);
    const Glyphs imported(guiFont, "Import"), saveLayout(menuFont, "Save Column Layout");
    auto below = [](const RECT& button) { return RECT{button.left - 4, button.bottom, button.left + 300, button.bottom + 300}; };

    // Run 1: "Import..." (on no bar, enabled) from the tree onto "Toolbar", then on to "Window"; "Save
    // Column Layout" into File under "Open"; OK; Exit.
    StartVeltrin({});
    RECT frame = PlaceFrame();
    ASSERT_TRUE(Found(frame)) << "no main window";
    Rows rows = FindRows(frame);
    ASSERT_TRUE(Found(rows.file)) << "no menu bar";
    ASSERT_FALSE(OpenCustomize().empty()) << "Customize... opens no dialog";
    RECT item = TreeCommand("Tools", "Import...");
    ASSERT_TRUE(Found(item)) << "no Import... in the tree";
    screen.Save("veltrin_customize_open.png");
    // While the button is held over the first button, the insert mark (black, 2 pixels wide) stands
    // at that button's left edge.
    bool marked = false;
    DragWithMouse(POINT{item.left + 4, Centre(item).y}, POINT{frame.left + 9, rows.toolbar}, [&] {
        for (auto until = Clock::now() + std::chrono::seconds(10); !marked && Clock::now() < until;)
            if (screen.Grab(x, tmp / "screen.xwd"))
                for (int x0 = frame.left; x0 < frame.left + 9 && !marked; ++x0)
                    marked = screen.At(x0, rows.toolbar - 4) == RGB(0, 0, 0) && screen.At(x0, rows.toolbar + 4) == RGB(0, 0, 0);
        screen.Save("veltrin_customize_insert_mark.png");
    });
    EXPECT_TRUE(marked) << "no insert mark while the command is held over Toolbar";
    RECT onToolbar = InRow("Import", guiFont, frame, rows.toolbar);
    screen.Save("veltrin_customize_dropped.png");
    ASSERT_TRUE(Found(onToolbar)) << "the dropped command is not on Toolbar";
    DragWithMouse(Centre(onToolbar), POINT{frame.left + 9, rows.windowBar});
    RECT onWindowBar = InRow("Import", guiFont, frame, rows.windowBar);
    screen.Save("veltrin_customize_moved.png");
    ASSERT_TRUE(Found(onWindowBar)) << "the button did not move on to Window";
    EXPECT_FALSE(Found(imported.FindIn(screen, Band(frame, rows.toolbar))))
        << "the button stays on Toolbar too";

    Click(Centre(rows.file));
    // "Open", whose text the search does not find beside its image, is placed by "Print Preview", the
    // item after its separator.
    const Glyphs preview(menuFont, "Print Pre&view");
    RECT previewBefore = WaitForText(preview, below(rows.file), 10);
    ASSERT_TRUE(Found(previewBefore)) << "File does not open from the menu bar";
    const RECT open{previewBefore.left, previewBefore.top - 26, previewBefore.right, previewBefore.top - 10};
    item = TreeCommand("Edit", "Save Column Layout");
    ASSERT_TRUE(Found(item)) << "no Save Column Layout in the tree";
    DragWithMouse(POINT{item.left + 4, Centre(item).y}, POINT{open.left + 10, open.bottom - 4});
    RECT saved = WaitForText(saveLayout, RECT{open.left - 30, open.top, open.left + 300, previewBefore.bottom + 10}, 10);
    screen.Save("veltrin_customize_file.png");
    ASSERT_TRUE(Found(saved)) << "Save Column Layout is not under Open";
    RECT previewAfter = preview.FindIn(screen, below(rows.file));
    EXPECT_GT(previewAfter.top, saved.top) << "Save Column Layout is not above the separator";
    ASSERT_TRUE(OkAndExit()) << "OK and Exit do not end the program";

    // Run 2: both are there. Then the button dragged off into the MDI client, the item deleted by its
    // context menu; OK; Exit.
    StartVeltrin({});
    frame = PlaceFrame();
    ASSERT_TRUE(Found(frame)) << "no main window at the second start";
    rows = FindRows(frame);
    onWindowBar = InRow("Import", guiFont, frame, rows.windowBar);
    screen.Save("veltrin_customize_restart_bars.png");
    ASSERT_TRUE(Found(onWindowBar)) << "the button is not on Window at the restart";
    Keys({"alt+f"});
    EXPECT_TRUE(Found(WaitForText(saveLayout, below(rows.file), 10))) << "File lost the dropped command";
    screen.Save("veltrin_customize_restart_file.png");
    Keys({"Escape", "Escape"});
    ASSERT_FALSE(OpenCustomize().empty()) << "Customize... opens no dialog at the second start";
    DragWithMouse(Centre(onWindowBar), POINT{frame.left + 400, frame.top + 300});
    EXPECT_TRUE(WaitTextGone(imported, Band(frame, rows.windowBar))) << "the button dragged off stays";
    Click(Centre(rows.file));
    saved = WaitForText(saveLayout, below(rows.file), 10);
    ASSERT_TRUE(Found(saved)) << "File from the menu bar shows no Save Column Layout";
    ASSERT_TRUE(ChooseFromContextMenu(Centre(saved), "Delete"));
    EXPECT_TRUE(WaitTextGone(saveLayout, below(rows.file))) << "Delete leaves the item";
    screen.Save("veltrin_customize_reset.png");
    ASSERT_TRUE(OkAndExit()) << "OK and Exit do not end the program at the second start";

    // Run 3: the resource layout; File as menu 127 has it; both bars saved as a fresh start saves them.
    StartVeltrin({});
    frame = PlaceFrame();
    ASSERT_TRUE(Found(frame)) << "no main window at the third start";
    rows = FindRows(frame);
    Keys({"alt+f"});
    EXPECT_TRUE(Found(WaitForText(Glyphs(menuFont, "E&xit"), below(rows.file), 10))) << "File does not open";
    screen.Save("veltrin_customize_third_start.png");
    EXPECT_FALSE(Found(saveLayout.FindIn(screen, below(rows.file)))) << "the deleted item is back";
    EXPECT_FALSE(Found(imported.FindIn(screen, RECT{frame.left, rows.toolbar - 12, frame.right, rows.windowBar + 12})))
        << "the removed button is back";
    Keys({"x"});
    ASSERT_EQ(WaitForExit(), 0);
    const std::string text = ReadBytes(registry);
    EXPECT_EQ(RegistryFileValue(text, "Main_Menu_Default", "MenuItems"),
              ArchivedMenu(FindMenuTemplate(IDR_VELTRINTYPE)->items));
    for (const char* entry : {"Toolbar_ID_59392", "Toolbar_ID_59392_ButtonsSettings", "Toolbar_ID_59402",
                              "Toolbar_ID_59402_ButtonsSettings"})
        EXPECT_EQ(RegistryFileValue(text, "Toolbars State", entry), RegistryFileValue(fresh, "Toolbars State", entry))
            << entry;
}

TEST_F(VeltrinXvfb, AShortcutKeyAssignedInCustomizeOpensItsDialogAfterARestart) {
    ASSERT_TRUE(StartMain()) << "no main window";
    std::string dialog = OpenCustomize();
    ASSERT_FALSE(dialog.empty()) << "Customize does not open";
    ASSERT_TRUE(ShowCustomizePage(dialog, "Shortkeys", "Press new shortcut key")) << "no shortcut keys page";
    RECT d = WindowRect(dialog);
    RECT page{d.left + 150, d.top, d.right, d.bottom};
    // Find in List, under Edit in the commands tree.
    RECT edit = WaitForText(Glyphs(BoldOf(guiFont), "Edit"), RECT{page.left, page.top, page.left + 230, page.bottom});
    ASSERT_TRUE(Found(edit)) << "no Edit group";
    x.Run({"xdotool", "mousemove", "--sync", std::to_string(Centre(edit).x), std::to_string(Centre(edit).y), "click", "--repeat", "2", "1"});
    ASSERT_TRUE(ClickText("Find in List...", RECT{edit.left - 20, edit.bottom, edit.left + 230, page.bottom}))
        << "no Find in List in the tree";
    // The hot-key control is below its prompt; Assign is right of the keys list, above the prompt.
    RECT prompt = WaitForText(Glyphs(guiFont, "Press new shortcut key"), page);
    ASSERT_TRUE(Found(prompt)) << "no prompt for a key";
    Click(POINT{prompt.left + 60, prompt.top + 26});
    Keys({"ctrl+shift+F9"});
    if (screen.Grab(x, tmp / "screen.xwd"))
        screen.Save("veltrin_shortkeys_typed.png");
    Click(POINT{prompt.left + 150, prompt.top - 92});
    ASSERT_TRUE(CustomizeOk()) << "the dialog stays";
    EXPECT_NE(ProfileValue("CustomizeShortkeys", "AcceleratorsState"), "<none>");
    Activate(mainId);
    ASSERT_TRUE(ChooseFromMenu("&File", "E&xit"));
    EXPECT_EQ(WaitForExit(), 0);

    // After a restart the key opens Find in List's dialog.
    ASSERT_TRUE(StartMain()) << "no main window after the restart";
    Keys({"ctrl+shift+F9"});
    EXPECT_FALSE(WaitForWindow("^Find$", 10).empty()) << "Ctrl+Shift+F9 opens nothing";
    Keys({"Escape"});
    EXPECT_TRUE(WaitGone("^Find$", 10));
    Activate(mainId);
    ASSERT_TRUE(ChooseFromMenu("&File", "E&xit"));
    EXPECT_EQ(WaitForExit(), 0);
}

namespace {
// A bitmap resource's pixels, row by row.
// The bounding box of the pixels of one colour in the area.
RECT ColourBox(const Screen& s, const RECT& area, COLORREF colour) {
    RECT box{area.right, area.bottom, area.left, area.top};
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (s.At(x, y) == colour) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    return box;
}
}  // namespace

TEST_F(VeltrinXvfb, TheMDIClientsPictureIsTiledAtStartAndCentredOnAColourAfterCustomizeAndARestart) {
    const Picture picture(IDB_MDI_BACKGROUND);
    ASSERT_GT(picture.width, 0);
    const COLORREF red = RGB(255, 0, 0);
    auto placeMain = [&] {
        x.Run({"xdotool", "windowsize", mainId, "800", "660"});
        x.Run({"xdotool", "windowmove", "--sync", mainId, "20", "30"});
        for (auto until = Clock::now() + std::chrono::seconds(10); Clock::now() < until;) {
            RECT r = MainRect();
            if (r.bottom - r.top == 660 && r.left == 20)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return MainRect();
    };
    // Waits until the picture shows in the frame; where it shows first.
    auto waitForPicture = [&](const RECT& frame) {
        POINT at{-1, -1};
        for (auto until = Clock::now() + std::chrono::seconds(20); at.x < 0 && Clock::now() < until;)
            if (screen.Grab(x, tmp / "screen.xwd"))
                at = picture.Find(screen, frame);
        return at;
    };

    // At the first start the MDI client is tiled with the picture: it repeats across and down.
    ASSERT_TRUE(StartMain()) << "no main window";
    RECT frame = placeMain();
    POINT first = waitForPicture(frame);
    ASSERT_GE(first.x, 0) << "the picture does not show";
    EXPECT_TRUE(picture.At(screen, first.x + picture.width, first.y)) << "not tiled across";
    EXPECT_TRUE(picture.At(screen, first.x, first.y + picture.height)) << "not tiled down";
    EXPECT_TRUE(picture.At(screen, first.x + 3 * picture.width, first.y + 2 * picture.height)) << "not tiled";
    screen.Save("veltrin_background_tiled.png");

    // Centred on red, OK.
    std::string dialog = OpenCustomize();
    ASSERT_FALSE(dialog.empty()) << "Customize does not open";
    RECT d = WindowRect(dialog);
    RECT page{d.left + 150, d.top, d.right, d.bottom};
    ASSERT_TRUE(Found(WaitForText(Glyphs(guiFont, "Paint only the client area"), page))) << "not on the background page";
    ASSERT_TRUE(ClickText("&Center", page)) << "no Center choice";
    // The colour button stands right of its label; its picker offers red.
    RECT label = WaitForText(Glyphs(guiFont, "Background color:"), page);
    ASSERT_TRUE(Found(label)) << "no colour label";
    Click(POINT{label.left + 143, label.top + 7});
    POINT cell{-1, -1};
    for (auto until = Clock::now() + std::chrono::seconds(10); cell.x < 0 && Clock::now() < until;) {
        if (!screen.Grab(x, tmp / "screen.xwd"))
            continue;
        RECT box = ColourBox(screen, RECT{label.left - 100, label.bottom, label.left + 300, label.bottom + 250}, red);
        if (box.right - box.left >= 8 && box.bottom - box.top >= 8)
            cell = Centre(box);
    }
    ASSERT_GE(cell.x, 0) << "no red in the colour picker";
    Click(cell);
    ASSERT_TRUE(CustomizeOk()) << "the dialog stays";
    EXPECT_EQ(ProfileValue("CustomizeBackgroundPainter", "PaintBackground"), "dword:00000001");
    EXPECT_EQ(ProfileValue("CustomizeBackgroundPainter", "OnlyClientArea"), "dword:00000001");
    EXPECT_EQ(ProfileValue("CustomizeBackgroundPainter", "PaintType"), "dword:00000006");
    EXPECT_EQ(ProfileValue("CustomizeBackgroundPainter", "BackgroundColor"), "dword:000000ff");

    // The picture shows once, in the middle of the red client.
    auto centredOnRed = [&](const RECT& area, RECT& client, POINT& at) {
        for (auto until = Clock::now() + std::chrono::seconds(20); Clock::now() < until;) {
            if (!screen.Grab(x, tmp / "screen.xwd"))
                continue;
            client = ColourBox(screen, area, red);
            at = picture.Find(screen, client);
            if (at.x >= 0 && std::abs((client.left + client.right) / 2 - (at.x + picture.width / 2)) <= 1 &&
                std::abs((client.top + client.bottom) / 2 - (at.y + picture.height / 2)) <= 1)
                return true;
        }
        return false;
    };
    RECT client{};
    POINT centre{};
    Activate(mainId);
    ASSERT_TRUE(centredOnRed(frame, client, centre)) << "the picture is not centred on red";
    EXPECT_FALSE(picture.At(screen, centre.x + picture.width, centre.y)) << "still tiled";
    std::vector<COLORREF> before;
    for (int y = client.top; y < client.bottom; ++y)
        for (int x0 = client.left; x0 < client.right; ++x0)
            before.push_back(screen.At(x0, y));
    screen.Save("veltrin_background_centred.png");
    ASSERT_TRUE(ChooseFromMenu("&File", "E&xit"));
    EXPECT_EQ(WaitForExit(), 0);

    // After a restart at the same place: the same picture.
    ASSERT_TRUE(StartMain()) << "no main window after the restart";
    frame = placeMain();
    RECT clientAgain{};
    POINT centreAgain{};
    ASSERT_TRUE(centredOnRed(frame, clientAgain, centreAgain)) << "the picture is not centred on red after the restart";
    EXPECT_EQ(clientAgain.left, client.left);
    EXPECT_EQ(clientAgain.top, client.top);
    EXPECT_EQ(clientAgain.right, client.right);
    EXPECT_EQ(clientAgain.bottom, client.bottom);
    std::vector<COLORREF> after;
    for (int y = client.top; y < client.bottom; ++y)
        for (int x0 = client.left; x0 < client.right; ++x0)
            after.push_back(screen.At(x0, y));
    EXPECT_TRUE(before == after) << "the client looks different after the restart";
    screen.Save("veltrin_background_restart.png");
    Activate(mainId);
    ASSERT_TRUE(ChooseFromMenu("&File", "E&xit"));
    EXPECT_EQ(WaitForExit(), 0);
}

TEST_F(VeltrinXvfb, TheReportsTabsGoAndComeBackAtTheBottomThroughTheCustomizeDialog) {
    StartVeltrin({logs + "/" + kBroker});
    RECT frame{}, root{};
    ASSERT_TRUE(ShowTree(frame, root)) << "no main window, or its tree does not show the log";
    // Two reports: a server log's itemize, then the broker's.
    const std::string serverLog = std::string(kServers[0]) + ".log";
    RECT server = TreeItem(frame, root, kServers[0]);
    ASSERT_TRUE(Found(server)) << "the root does not open";
    for (auto [item, title] : {std::pair{server, serverLog}, std::pair{root, std::string(kBroker)}}) {
        ASSERT_TRUE(ChooseFromContextMenu(Centre(item), "Itemize to One-Liners")) << title;
        ASSERT_TRUE(WaitForTitle("[" + title + "]")) << WindowName(mainId);
        EXPECT_TRUE(WaitForIdle(frame)) << "the itemize of " << title << " does not end";
    }
    // The MDI area, right of the tree and above the pad, in its upper and lower halves.
    const RECT mdi{frame.left + 320, frame.top + 60, frame.right, frame.bottom - 150};
    const LONG middle = (mdi.top + mdi.bottom) / 2;
    const RECT upper{mdi.left, mdi.top, mdi.right, middle}, lower{mdi.left, middle, mdi.right, mdi.bottom};
    const Glyphs serverTab(guiFont, serverLog.c_str()), header(guiFont, "Records");
    EXPECT_TRUE(Found(WaitForText(serverTab, upper))) << "no tab of the server's report above the reports";
    screen.Save("veltrin_mdi_tabs_top.png");

    // Customize, from the bars' context menu.
    ASSERT_TRUE(ChooseFromContextMenu(POINT{frame.right - 40, frame.top + 30}, "Customize..."));
    const std::string dialog = WaitForWindow("^Customize$");
    ASSERT_FALSE(dialog.empty()) << "no customize dialog";
    // At the screen's right edge.
    Geometry g = WindowGeometry(x, dialog);
    x.Run({"xdotool", "windowmove", "--sync", dialog, std::to_string(1024 - g.width), "10"});
    g = WindowGeometry(x, dialog);
    const RECT box{g.x, g.y, g.x + g.width, g.y + g.height};
    // The dialog covers the frame's tabs: it steps aside while they are looked at.
    auto stepAside = [&](bool aside) {
        x.Run({"xdotool", "windowmove", "--sync", dialog, std::to_string(aside ? 1020 : box.left), std::to_string(box.top)});
    };
    // The page's icon, the bar scrolled down by its lower scroll button until it shows.
    const Glyphs pageIcon(guiFont, "Tabbed MDI");
    const RECT bar{box.left, box.top, box.left + 160, box.bottom};
    RECT icon{};
    for (int scroll = 0; scroll < 6 && !Found(icon = WaitForText(pageIcon, bar, 2)); ++scroll)
        Click(POINT{box.left + 134, box.top + 375});
    ASSERT_TRUE(Found(icon)) << "no icon of the page in the dialog";
    Click(Centre(icon));
    const RECT pageArea{box.left + 150, box.top, box.right, box.bottom};
    RECT support = WaitForText(Glyphs(guiFont, "Support Tabbed MDI"), pageArea);
    ASSERT_TRUE(Found(support)) << "the page does not show";
    // Everything the story clicks, found while the dialog is drawn whole: it is clicked where it was.
    const RECT buttons{box.left, box.bottom - 60, box.right, box.bottom};
    RECT apply = WaitForText(Glyphs(guiFont, "Apply"), buttons);
    RECT ok = Glyphs(guiFont, "OK").FindIn(screen, buttons);
    RECT bottom = Glyphs(guiFont, "Bottom").FindIn(screen, pageArea);
    ASSERT_TRUE(Found(apply) && Found(ok)) << "no Apply or OK button";
    ASSERT_TRUE(Found(bottom)) << "no Bottom in the tab settings";
    screen.Save("veltrin_mdi_tabs_page.png");

    // Off, Apply: the tabs go.
    Click(Centre(support));
    Click(Centre(apply));
    stepAside(true);
    bool gone = false;
    for (auto until = Clock::now() + std::chrono::seconds(10); !gone && Clock::now() < until;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        gone = screen.Grab(x, tmp / "screen.xwd") && Found(header.FindIn(screen, mdi)) &&
               !Found(serverTab.FindIn(screen, mdi));
    }
    EXPECT_TRUE(gone) << "the tabs stay after Apply with the tabbed MDI off";
    screen.Save("veltrin_mdi_tabs_off.png");
    stepAside(false);

    // On with "Bottom", Apply: the tabs come back below the reports.
    Click(Centre(support));
    Click(Centre(bottom));
    Click(Centre(apply));
    stepAside(true);
    EXPECT_TRUE(Found(WaitForText(serverTab, lower))) << "the tabs do not come back at the bottom";
    EXPECT_FALSE(Found(serverTab.FindIn(screen, upper))) << "a tab stays above the reports";
    screen.Save("veltrin_mdi_tabs_bottom.png");
    stepAside(false);

    // OK keeps them there, and so does the next start.
    Click(Centre(ok));
    EXPECT_TRUE(WaitGone("^Customize$", 10)) << "the dialog stays after OK";
    EXPECT_TRUE(Found(WaitForText(serverTab, lower))) << "the tabs leave the bottom on OK";
    screen.Save("veltrin_mdi_tabs_ok.png");
    Activate(mainId);
    ASSERT_TRUE(ChooseFromMenu("&File", "E&xit"));
    EXPECT_EQ(WaitForExit(), 0);

    StartVeltrin({});
    mainId = WaitForWindow("^Veltrin V4\\.21b");
    ASSERT_FALSE(mainId.empty()) << "no main window at the restart";
    EXPECT_TRUE(WaitForTitle(std::string("[") + kBroker + "]")) << WindowName(mainId);
    frame = MainRect();
    const RECT lowerAgain{frame.left + 320, (frame.top + 60 + frame.bottom - 150) / 2, frame.right,
                          frame.bottom - 150};
    EXPECT_TRUE(Found(WaitForText(serverTab, lowerAgain))) << "the tabs are not at the bottom after the restart";
    screen.Save("veltrin_mdi_tabs_restart.png");
    Activate(mainId);
    ASSERT_TRUE(ChooseFromMenu("&File", "E&xit"));
    EXPECT_EQ(WaitForExit(), 0);

    // The page's values in its section.
    std::string stored = ReadBytes(registry);
    size_t section = stored.find("\\Software\\VeltrinEx\\Veltrin\\CustomizeTabbedMDI]");
    ASSERT_NE(section, std::string::npos) << "no section of the page";
    std::string values = stored.substr(section, stored.find("\r\n\r\n", section) - section);
    EXPECT_NE(values.find("\"IsAttached\"=dword:00000001"), std::string::npos) << values;
    EXPECT_NE(values.find("\"Offset\"=dword:00000001"), std::string::npos) << values;
    std::smatch style;
    ASSERT_TRUE(std::regex_search(values, style, std::regex("\"Style\"=dword:([0-9a-f]{8})"))) << values;
    EXPECT_EQ(std::stoul(style[1].str(), nullptr, 16) & 0xFFF, 0x42u) << values;
}
