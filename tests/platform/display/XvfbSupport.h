// Shared by the tests that run a program under Xvfb: finding tools on PATH, child processes ended and
// reaped by their id, reading a line with a time limit, the X window dump (xwd) format written as PNG, and
// the tools of a display.
#pragma once

#include <cairo.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"

namespace xvfb_test {
inline std::string FindOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "/usr/bin:/bin");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

// A child process started here; ended (by its id) and reaped when the test is done with it.
struct Child {
    pid_t pid = -1;
    ~Child() { Stop(); }
    void Stop() {
        if (pid <= 0)
            return;
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        pid = -1;
    }
    int Wait() {
        int status = 0;
        if (pid <= 0 || waitpid(pid, &status, 0) != pid)
            return -1;
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
};

// Starts `argv` with the given environment; `in`/`out` become its standard input/output when >= 0.
inline bool Spawn(Child& child, const std::vector<std::string>& argv, char** env, int in, int out,
                  const std::vector<int>& closeInChild) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (in >= 0)
        posix_spawn_file_actions_adddup2(&actions, in, 0);
    if (out >= 0)
        posix_spawn_file_actions_adddup2(&actions, out, 1);
    for (int fd : closeInChild)
        posix_spawn_file_actions_addclose(&actions, fd);
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    int rc = posix_spawn(&child.pid, args[0], &actions, nullptr, args.data(), env);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        child.pid = -1;
    return rc == 0;
}

// Reads one line from `fd`, giving up after `seconds` without one (an event, not a pause).
inline bool ReadLine(int fd, std::string& line, int seconds) {
    line.clear();
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, seconds * 1000) <= 0)
            return false;
        char c;
        if (read(fd, &c, 1) != 1)
            return false;
        if (c == '\n')
            return true;
        line += c;
    }
}

// The X window dump format: a big-endian header, a name, a colour map, then the pixel rows.
class XwdImage {
public:
    bool Load(const std::string& path, std::string& error) {
        std::ifstream f(path, std::ios::binary);
        m_bytes.assign(std::istreambuf_iterator<char>(f), {});
        if (m_bytes.size() < 100)
            return error = "xwd file too short", false;
        auto field = [&](int i) {
            const unsigned char* p = &m_bytes[(size_t)i * 4];
            return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3];
        };
        uint32_t headerSize = field(0), format = field(2), ncolors = field(19);
        m_width = field(4);
        m_height = field(5);
        m_msbFirst = field(7) != 0;
        m_bitsPerPixel = field(11);
        m_bytesPerLine = field(12);
        m_masks[0] = field(14);
        m_masks[1] = field(15);
        m_masks[2] = field(16);
        if (field(1) != 7 || format != 2)
            return error = "not a ZPixmap xwd dump", false;
        if (m_bitsPerPixel != 24 && m_bitsPerPixel != 32)
            return error = "unexpected pixel size", false;
        m_offset = (size_t)headerSize + (size_t)ncolors * 12;
        if (m_offset + (size_t)m_bytesPerLine * m_height > m_bytes.size())
            return error = "xwd file cut short", false;
        return true;
    }
    uint32_t Width() const { return m_width; }
    uint32_t Height() const { return m_height; }
    COLORREF Pixel(int x, int y) const {
        if (x < 0 || y < 0 || (uint32_t)x >= m_width || (uint32_t)y >= m_height)
            return CLR_INVALID;
        size_t bytes = m_bitsPerPixel / 8;
        const unsigned char* p = &m_bytes[m_offset + (size_t)y * m_bytesPerLine + (size_t)x * bytes];
        uint32_t v = 0;
        for (size_t i = 0; i < bytes; ++i)
            v |= (uint32_t)p[m_msbFirst ? bytes - 1 - i : i] << (8 * i);
        BYTE c[3];
        for (int k = 0; k < 3; ++k) {
            uint32_t m = m_masks[k];
            int shift = 0;
            while (m && !(m & 1))
                m >>= 1, ++shift;
            c[k] = (BYTE)((v >> shift) & m);
        }
        return RGB(c[0], c[1], c[2]);
    }

private:
    std::vector<unsigned char> m_bytes;
    uint32_t m_width = 0, m_height = 0, m_bitsPerPixel = 0, m_bytesPerLine = 0, m_masks[3]{};
    bool m_msbFirst = false;
    size_t m_offset = 0;
};

// Starts Xvfb on a free display of a 1024 x 768 x 24 screen with a black root; `display` is ":<n>".
inline bool StartXvfb(Child& server, std::string& display, char** env) {
    std::string xvfb = FindOnPath("Xvfb");
    if (xvfb.empty())
        return false;
    int ready[2];
    if (pipe(ready) != 0)
        return false;
    bool started = Spawn(server,
                         {xvfb, "-displayfd", std::to_string(ready[1]), "-screen", "0", "1024x768x24", "-br",
                          "-nolisten", "tcp", "-noreset"},
                         env, -1, -1, {ready[0]});
    close(ready[1]);
    std::string number;
    bool got = started && ReadLine(ready[0], number, 60) && !number.empty();
    close(ready[0]);
    display = ":" + number;
    return got;
}

// This environment without the display choices, plus `extra`.
inline std::vector<std::string> ProgramEnvironment(char** env, const std::vector<std::string>& extra) {
    std::vector<std::string> out;
    for (char** e = env; *e; ++e) {
        std::string s = *e;
        bool drop = false;
        for (const char* name : {"DISPLAY=", "WAYLAND_DISPLAY=", "VELTRIN_DISPLAY=", "SDL_VIDEODRIVER=",
                                 "VELTRIN_SCREENSHOT_DIR=", "VELTRIN_REGISTRY="})
            drop = drop || s.rfind(name, 0) == 0;
        if (!drop)
            out.push_back(s);
    }
    out.insert(out.end(), extra.begin(), extra.end());
    return out;
}

// Writes a screen as PNG.
inline bool SavePng(const XwdImage& shot, const std::string& path) {
    cairo_surface_t* s =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, (int)shot.Width(), (int)shot.Height());
    unsigned char* data = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < (int)shot.Height(); ++y)
        for (int x = 0; x < (int)shot.Width(); ++x) {
            COLORREF c = shot.Pixel(x, y);
            reinterpret_cast<uint32_t*>(data + (size_t)y * stride)[x] =
                (uint32_t)GetRValue(c) << 16 | (uint32_t)GetGValue(c) << 8 | GetBValue(c);
        }
    cairo_surface_mark_dirty(s);
    bool ok = cairo_surface_write_to_png(s, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(s);
    return ok;
}

// A display with its tools: runs xdotool, xwd, xwininfo... there and waits for a window manager.
class XSession {
public:
    std::string display;
    std::vector<std::string> env;  // for the tools

    // Runs a tool on the display; its standard output, trailing newline dropped.
    std::string Run(std::vector<std::string> argv, int* exitCode = nullptr) {
        argv[0] = FindOnPath(argv[0]);
        std::vector<char*> envp;
        for (std::string& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        int out[2];
        if (pipe(out) != 0)
            return {};
        Child tool;
        bool started = Spawn(tool, argv, envp.data(), -1, out[1], {out[0]});
        close(out[1]);
        std::string text;
        char buffer[4096];
        for (ssize_t n; started && (n = read(out[0], buffer, sizeof buffer)) > 0;)
            text.append(buffer, (size_t)n);
        close(out[0]);
        int rc = started ? tool.Wait() : -1;
        if (exitCode)
            *exitCode = rc;
        while (!text.empty() && text.back() == '\n')
            text.pop_back();
        return text;
    }
    // Waits for a window manager: its check window appears on the root (xprop -spy reports changes).
    bool WaitForWindowManager() {
        std::vector<char*> envp;
        for (std::string& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        int out[2];
        if (pipe(out) != 0)
            return false;
        Child spy;
        bool started = Spawn(spy, {FindOnPath("xprop"), "-spy", "-root"}, envp.data(), -1, out[1], {out[0]});
        close(out[1]);
        bool found = false;
        for (std::string line; started && !found && ReadLine(out[0], line, 30);)
            found = line.rfind("_NET_SUPPORTING_WM_CHECK(WINDOW)", 0) == 0;
        close(out[0]);
        return found;
    }
};

// A window's place and size on the screen, as xwininfo gives them.
struct Geometry {
    int x = 0, y = 0, width = 0, height = 0;
};

inline Geometry WindowGeometry(XSession& x, const std::string& id) {
    std::string info = x.Run({"xwininfo", "-id", id});
    auto field = [&](const std::string& name) {
        size_t at = info.find(name);
        return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + name.size());
    };
    return Geometry{field("Absolute upper-left X:"), field("Absolute upper-left Y:"), field("Width:"),
                    field("Height:")};
}
}  // namespace xvfb_test
