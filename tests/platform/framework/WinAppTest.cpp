// What the application object gives the rest of the program: the caption of message boxes shown
// without one.
#include <gtest/gtest.h>

#include "platform/base/MessageBox.h"
#include "platform/framework/app/WinThread.h"

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
}  // namespace
