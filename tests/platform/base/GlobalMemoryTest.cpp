// Global memory blocks: the bytes stay, a locked block is not moved, stale handles fail.
#include <gtest/gtest.h>

#include <string>

#include "platform/base/GlobalMemory.h"

namespace {
TEST(GlobalMemory, BlocksKeepTheirBytesAndStaleHandlesFail) {
    HGLOBAL h = GlobalAlloc(GMEM_ZEROINIT, 3);
    ASSERT_TRUE(h);
    EXPECT_EQ(GlobalSize(h), 3u);
    char* p = static_cast<char*>(GlobalLock(h));
    EXPECT_EQ(std::string(p, 3), std::string(3, '\0'));
    p[0] = 'a';
    EXPECT_EQ(GlobalReAlloc(h, 10, 0), nullptr);  // locked: not moved
    GlobalUnlock(h);
    EXPECT_EQ(GlobalReAlloc(h, 10, 0), h);
    EXPECT_EQ(GlobalSize(h), 10u);
    EXPECT_EQ(static_cast<char*>(GlobalLock(h))[0], 'a');
    GlobalUnlock(h);
    EXPECT_EQ(GlobalFree(h), nullptr);
    EXPECT_EQ(GlobalLock(h), nullptr);
    EXPECT_EQ(GlobalSize(h), 0u);
    EXPECT_EQ(GlobalFree(h), h);
    HGLOBAL empty = GlobalAlloc(GMEM_FIXED, 0);
    EXPECT_NE(GlobalLock(empty), nullptr);
    GlobalUnlock(empty);
    GlobalFree(empty);
}
}  // namespace
