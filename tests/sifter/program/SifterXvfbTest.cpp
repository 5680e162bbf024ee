// Sifter under Xvfb with the sdl display: started with a search to run at once on a small tree, the X
// screen shows one row per hit in its result list. The screen is kept as a PNG in the build folder.
#include <cairo.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "tests/platform/base/ProcessTestSupport.h"
#include "tests/platform/display/XvfbSupport.h"

extern char** environ;

namespace {
using namespace xvfb_test;

// Bands of text in the name column of the result list: the list is the lowest wide white area of the
// screen; a band is a run of pixel rows holding dark pixels. -1 when no list is seen.
int ListTextRows(const XwdImage& shot) {
    const COLORREF white = RGB(255, 255, 255);
    auto isWhite = [&](int x, int y) { return shot.Pixel(x, y) == white; };
    // A wide white run with white above its left end for at least 60 rows (not a 3D edge's highlight).
    int bottom = -1, top = -1, x0 = 0, x1 = 0;
    for (int y = (int)shot.Height() - 1; y >= 60 && bottom < 0; --y) {
        for (int x = 0, run = 0; x < (int)shot.Width(); ++x) {
            run = isWhite(x, y) ? run + 1 : 0;
            if (run < 300 || (x + 1 < (int)shot.Width() && isWhite(x + 1, y)))
                continue;
            int left = x - run + 1, up = y;
            while (up > 0 && isWhite(left, up - 1))
                --up;
            if (y - up >= 60) {
                bottom = y, top = up, x0 = left, x1 = x;
                break;
            }
        }
    }
    if (bottom < 0)
        return -1;
    int bands = 0;
    bool inBand = false;
    for (int y = top; y <= bottom; ++y) {
        bool dark = false;
        for (int x = x0; x <= std::min(x0 + 160, x1) && !dark; ++x) {
            COLORREF c = shot.Pixel(x, y);
            dark = GetRValue(c) < 128 && GetGValue(c) < 128 && GetBValue(c) < 128;
        }
        bands += dark && !inBand;
        inBand = dark;
    }
    return bands;
}

bool SavePng(const XwdImage& shot, const std::string& path) {
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

TEST(SifterXvfb, RunNowShowsTheHits) {
    if (FindOnPath("Xvfb").empty())
        GTEST_SKIP() << "Xvfb is not installed";
    std::string xwd = FindOnPath("xwd");
    ASSERT_FALSE(xwd.empty()) << "xwd (x11-apps) is missing; scripts/setup installs it";
    std::string program = std::string(VELTRIN_BIN_DIR) + "/sifter";
    ASSERT_EQ(access(program.c_str(), X_OK), 0) << program;

    process_test::TempDir tree;
    std::filesystem::create_directories(tree / "logs/sub");
    process_test::WriteFile(tree / "logs/a.log", "start\nrequest timeout\n", 0644);
    process_test::WriteFile(tree / "logs/sub/b.log", "TIMEOUT\n", 0644);
    process_test::WriteFile(tree / "logs/c.log", "nothing here\n", 0644);
    process_test::WriteFile(tree / "logs/d.log", "a Timeout too\n", 0644);
    process_test::WriteFile(tree / "logs/e.txt", "timeout, but not a log\n", 0644);

    Child server;
    std::string display;
    ASSERT_TRUE(StartXvfb(server, display, environ)) << "Xvfb did not start";
    std::vector<std::string> envStrings = ProgramEnvironment(
        environ, {"DISPLAY=" + display, "VELTRIN_DISPLAY=sdl", "SDL_VIDEODRIVER=x11",
                  "VELTRIN_REGISTRY=" + tree / "registry.reg", "ASAN_OPTIONS=detect_leaks=0"});
    std::vector<char*> env;
    for (std::string& s : envStrings)
        env.push_back(s.data());
    env.push_back(nullptr);

    Child app;
    ASSERT_TRUE(Spawn(app,
                      {program, "BASEPATH=" + tree / "logs" + "|FILEMASK=*.log|FINDTEXT=timeout|EXECNOW=Y"},
                      env.data(), -1, -1, {}));

    // Screens are taken until the list shows its rows (each grab waits for xwd to finish).
    std::string shotPath = tree / "screen.xwd";
    XwdImage shot;
    int rows = -1;
    // A loaded machine may take seconds to start the program: grab until the rows show or 30 s pass.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (int attempt = 0; rows != 3 && (attempt < 2 || std::chrono::steady_clock::now() < deadline); ++attempt) {
        if (attempt >= 2)
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        Child grab;
        ASSERT_TRUE(Spawn(grab, {xwd, "-root", "-silent", "-display", display, "-out", shotPath}, environ, -1,
                          -1, {}));
        ASSERT_EQ(grab.Wait(), 0);
        std::string error;
        ASSERT_TRUE(shot.Load(shotPath, error)) << error;
        rows = ListTextRows(shot);
    }
    std::string folder = std::string(VELTRIN_BIN_DIR) + "/../screenshots";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(SavePng(shot, folder + "/sifter_xvfb.png"));
    EXPECT_EQ(rows, 3) << "the screen is in " << folder << "/sifter_xvfb.png";
    // The X server goes first: the program ends when its display does.
    server.Stop();
    app.Wait();
}
}  // namespace
