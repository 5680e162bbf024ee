// Under Xvfb with the sdl display, a program shows a main window with the wait dialog over it; a
// screenshot of the X screen (xwd) must show the dialog's pixels where its windows say they are.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"

extern char** environ;

namespace {
std::string FindOnPath(const std::string& name) {
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
bool Spawn(Child& child, const std::vector<std::string>& argv, char** env, int in, int out,
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
bool ReadLine(int fd, std::string& line, int seconds) {
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

std::string Hex(COLORREF c) {
    char b[16];
    std::snprintf(b, sizeof b, "%06lx", (unsigned long)c);
    return b;
}

TEST(XvfbSmoke, WaitDialogPixelsReachTheXScreen) {
    std::string xvfb = FindOnPath("Xvfb");
    if (xvfb.empty())
        GTEST_SKIP() << "Xvfb is not installed";
    std::string xwd = FindOnPath("xwd");
    ASSERT_FALSE(xwd.empty()) << "xwd (x11-apps) is missing; scripts/setup installs it";
    std::string program = std::string(VELTRIN_BIN_DIR) + "/display_smoke";
    ASSERT_EQ(access(program.c_str(), X_OK), 0) << program;

    // Xvfb picks a free display itself and writes its number when it accepts clients.
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    Child server;
    bool started = Spawn(server,
                         {xvfb, "-displayfd", std::to_string(ready[1]), "-screen", "0", "1024x768x24",
                          "-nolisten", "tcp", "-noreset"},
                         environ, -1, -1, {ready[0]});
    close(ready[1]);
    ASSERT_TRUE(started);
    std::string number;
    bool gotNumber = ReadLine(ready[0], number, 60);
    close(ready[0]);
    ASSERT_TRUE(gotNumber && !number.empty()) << "Xvfb did not start";
    std::string display = ":" + number;

    // The program's environment: this one, on the new X display with sdl.
    std::vector<std::string> envStrings;
    for (char** e = environ; *e; ++e) {
        std::string s = *e;
        for (const char* drop : {"DISPLAY=", "WAYLAND_DISPLAY=", "VELTRIN_DISPLAY=", "SDL_VIDEODRIVER=",
                                 "VELTRIN_SCREENSHOT_DIR="})
            if (s.rfind(drop, 0) == 0)
                s.clear();
        if (!s.empty())
            envStrings.push_back(s);
    }
    envStrings.insert(envStrings.end(), {"DISPLAY=" + display, "VELTRIN_DISPLAY=sdl", "SDL_VIDEODRIVER=x11"});
    std::vector<char*> env;
    for (std::string& s : envStrings)
        env.push_back(s.data());
    env.push_back(nullptr);

    const RECT mainAsked{100, 80, 700, 480};
    int toProgram[2], fromProgram[2];
    ASSERT_EQ(pipe(toProgram), 0);
    ASSERT_EQ(pipe(fromProgram), 0);
    Child app;
    started = Spawn(
        app,
        {program, std::to_string(mainAsked.left), std::to_string(mainAsked.top),
         std::to_string(mainAsked.right - mainAsked.left), std::to_string(mainAsked.bottom - mainAsked.top)},
        env.data(), toProgram[0], fromProgram[1], {toProgram[1], fromProgram[0]});
    close(toProgram[0]);
    close(fromProgram[1]);
    ASSERT_TRUE(started);
    std::string line;
    bool gotReady = ReadLine(fromProgram[0], line, 120);
    close(fromProgram[0]);
    ASSERT_TRUE(gotReady) << "the program did not report its first paint";

    std::istringstream in(line);
    std::string word, tag[3];
    RECT r[3];
    in >> word >> tag[0] >> r[0].left >> r[0].top >> r[0].right >> r[0].bottom >> tag[1] >> r[1].left >>
        r[1].top >> r[1].right >> r[1].bottom >> tag[2] >> r[2].left >> r[2].top >> r[2].right >> r[2].bottom;
    ASSERT_TRUE(in && word == "ready" && tag[0] == "main" && tag[1] == "dialog" && tag[2] == "bar") << line;
    const RECT &mainRect = r[0], &dialog = r[1], &bar = r[2];

    // Where the pixels should be: the main window where asked (the desktop's frame is outside
    // it), the dialog centred over it, the bar inside the dialog.
    EXPECT_EQ(mainRect.left, mainAsked.left);
    EXPECT_EQ(mainRect.top, mainAsked.top);
    EXPECT_EQ(mainRect.right, mainAsked.right);
    EXPECT_LE(std::abs((dialog.left + dialog.right) - (mainRect.left + mainRect.right)), 1);
    EXPECT_LE(std::abs((dialog.top + dialog.bottom) - (mainRect.top + mainRect.bottom)), 1);
    ASSERT_TRUE(bar.left > dialog.left && bar.right < dialog.right && bar.top > dialog.top &&
                bar.bottom < dialog.bottom);

    char shotPath[] = "/tmp/veltrin-xwd-XXXXXX";
    int shotFd = mkstemp(shotPath);
    ASSERT_GE(shotFd, 0);
    close(shotFd);
    Child grab;
    ASSERT_TRUE(
        Spawn(grab, {xwd, "-root", "-silent", "-display", display, "-out", shotPath}, environ, -1, -1, {}));
    EXPECT_EQ(grab.Wait(), 0);

    // The screenshot is taken: the program may close and end.
    EXPECT_EQ(write(toProgram[1], "done\n", 5), 5);
    close(toProgram[1]);
    EXPECT_EQ(app.Wait(), 0);
    server.Stop();

    XwdImage shot;
    std::string error;
    bool loaded = shot.Load(shotPath, error);
    unlink(shotPath);
    ASSERT_TRUE(loaded) << error;
    EXPECT_EQ(shot.Width(), 1024u);
    EXPECT_EQ(shot.Height(), 768u);

    int barMiddle = (bar.top + bar.bottom) / 2;
    int inner = (bar.right - bar.left) - 4;  // inside the sunken edge and the one-pixel gap
    // Classic blocks: two thirds as wide as the bar is high inside, two pixels apart.
    int block = ((bar.bottom - bar.top) - 4) * 2 / 3, period = block + 2;
    int blockAt40 = bar.left + 2 + (inner * 40 / 100) / period * period + block / 2;
    struct Expect {
        const char* what;
        int x, y;
        COLORREF colour;
    } expects[] = {
        {"main window client", mainRect.left + 5, mainRect.top + 5, GetSysColor(COLOR_WINDOW)},
        {"main window beside the dialog", dialog.left - 5, (dialog.top + dialog.bottom) / 2,
         GetSysColor(COLOR_WINDOW)},
        {"dialog caption start", dialog.left + 3, dialog.top + 8, GetSysColor(COLOR_ACTIVECAPTION)},
        {"dialog face below the bar", dialog.left + 10, dialog.bottom - 8, GetSysColor(COLOR_3DFACE)},
        {"first block of the bar", bar.left + 4, barMiddle, GetSysColor(COLOR_HIGHLIGHT)},
        {"bar at 40 %", blockAt40, barMiddle, GetSysColor(COLOR_HIGHLIGHT)},
        {"empty bar at 90 %", bar.left + 2 + inner * 90 / 100, barMiddle, GetSysColor(COLOR_3DFACE)},
    };
    for (const Expect& e : expects)
        EXPECT_EQ(Hex(shot.Pixel(e.x, e.y)), Hex(e.colour)) << e.what << " at " << e.x << "," << e.y;
}
}  // namespace
