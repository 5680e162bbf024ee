// What the application object gives the rest of the program: the caption of message boxes shown
// without one.
#include <gtest/gtest.h>

#include "platform/base/MessageBox.h"
#include "platform/framework/app/WinThread.h"
#include "platform/framework/window/Wnd.h"

namespace {
TEST(WinApp, MessageBoxesWithoutACaptionTakeTheApplicationsTitle) {
    MessageBoxRecorder boxes;
    {
        CWinApp app("Sifter");
        AfxMessageBox("one");
        MessageBox(nullptr, "two", nullptr, MB_OK);
        MessageBox(nullptr, "three", "Given", MB_OK);
    }
    // Without an application the program file's name stands in.
    AfxMessageBox("four");
    ASSERT_EQ(boxes.Calls().size(), 4u);
    EXPECT_EQ(boxes.Calls()[0].caption, CString("Sifter"));
    EXPECT_EQ(boxes.Calls()[1].caption, CString("Sifter"));
    EXPECT_EQ(boxes.Calls()[2].caption, CString("Given"));
    EXPECT_EQ(boxes.Calls()[3].caption, CString("platform_framework_tests"));
}

TEST(WinApp, TheWaitCursorStaysWhileTheMouseMovesOverTheProgramsWindows) {
    CWinApp app("Sifter");
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxWndClassName(), "busy", WS_POPUP | WS_VISIBLE, 600, 500, 200, 100, nullptr,
                             nullptr));
    auto moveOver = [] {
        PostMouseInput(WM_MOUSEMOVE, POINT{700, 550}, 0);
        MSG m;
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE))
            DispatchMessage(&m);
        return GetCursor();
    };
    {
        CWaitCursor wait;
        EXPECT_EQ(moveOver(), LoadCursor(nullptr, IDC_WAIT));
    }
    EXPECT_EQ(moveOver(), LoadCursor(nullptr, IDC_ARROW));
    wnd.DestroyWindow();
}
}  // namespace
