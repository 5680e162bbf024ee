#include <gtest/gtest.h>

#include "app/VeltrinDoc.h"
#include "core/RequestStrings.h"
#include "platform/framework/app/WinThread.h"

TEST(VeltrinDocTest, OpeningRecordsTheNameAndRefusesAMissingLog) {
    CWinApp app{"Veltrin"};
    MessageBoxRecorder boxes;
    CVeltrinDoc doc;
    _csFileOpenName = "before";
    EXPECT_FALSE(doc.OnOpenDocument(""));
    EXPECT_FALSE(doc.OnOpenDocument("20230502QServer7 - N/A.log"));
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, CString("This File is not available!!!"));
    EXPECT_EQ(boxes.Calls()[0].type, (UINT)(MB_ICONSTOP | MB_SETFOREGROUND));
    EXPECT_EQ(_csFileOpenName, CString("before"));
    EXPECT_TRUE(doc.OnOpenDocument("20230502QBroker.log_TA"));
    EXPECT_EQ(_csFileOpenName, CString("20230502QBroker.log_TA"));
    EXPECT_TRUE(boxes.Calls().size() == 1u);
}
