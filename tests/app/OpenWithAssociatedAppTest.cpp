// The view hands a file to the desktop's opener (xdg-open, found on PATH) and reports what went wrong.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "app/VeltrinView.h"
#include "core/RequestStrings.h"
#include "platform/base/MessageBox.h"
#include "res/veltrin/VeltrinResources.h"
#include "tests/app/RecordingFrameLink.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TempRegistry.h"

namespace {
class OpenWithAssociatedAppTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddResourceModule(&VeltrinResources());
        app.SetRegistryKey("VeltrinTest");
        oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
        main.CreateEx(0, nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr);
        app.m_pMainWnd = &main;
        frame.CreateEx(0, nullptr, "Child", WS_CHILD | WS_VISIBLE, 0, 0, 600, 400, main.m_hWnd, nullptr);
        _csListKey = "Export";
        _csReportName = "Export";
        _csReportType = "";
        _csBaseFolder = dir.Path().c_str();
        view = new CVeltrinView;
        RECT rc{0, 0, 600, 400};
        ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rc, &frame, 0xE900));
    }
    void TearDown() override {
        setenv("PATH", oldPath.c_str(), 1);
        if (view->m_hWnd)
            view->DestroyWindow();
        frame.DestroyWindow();
        app.m_pMainWnd = nullptr;
        main.DestroyWindow();
        MSG m;
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    // A PATH whose only folder holds the given opener script (none for an empty script).
    void UseOpener(const std::string& script) {
        std::string bin = dir / "bin";
        dir.Write("bin/.keep", "");
        if (!script.empty()) {
            std::string path = dir.Write("bin/xdg-open", "#!/bin/sh\n" + script);
            chmod(path.c_str(), 0755);
        }
        setenv("PATH", bin.c_str(), 1);
    }

    TempRegistry registry;
    CWinApp app{"Veltrin"};
    RecordingMainWnd main;
    RecordingFrameLink link;
    MessageBoxRecorder boxes;
    CWnd frame;
    CVeltrinView* view = nullptr;
    TempFolder dir;
    std::string oldPath;
};
}  // namespace

TEST_F(OpenWithAssociatedAppTest, NoOpenerGivesTheMessageWithTheErrorNumber) {
    UseOpener("");
    EXPECT_FALSE(view->OpenWithAssociatedApp((dir / "list.csv").c_str(), FALSE));
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, "System Can Not Find Any Associated Application For This File!\nErr=2\n");
}

TEST_F(OpenWithAssociatedAppTest, TheOpenerGetsThePathWithoutQuotesAndIsWaitedFor) {
    // The opener writes its argument only after a pause: with the wait flag the file is there at once.
    UseOpener("PATH=/usr/bin:/bin\nsleep 0.3\nprintf '%s' \"$1\" > \"$(dirname \"$0\")/opened\"\n");
    std::string csv = dir.Write("list.csv", "a,b\n");
    EXPECT_TRUE(view->OpenWithAssociatedApp(("\"" + csv + "\"").c_str(), TRUE));
    EXPECT_EQ(ReadFileBytes(dir / "bin/opened"), csv);
    EXPECT_TRUE(boxes.Calls().empty());
}
