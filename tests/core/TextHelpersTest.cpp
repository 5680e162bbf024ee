#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

#include "core/RequestStrings.h"
#include "core/TextHelpers.h"

TEST(ExpandTabs, TabsAndControlBytesBecomeBlanks) {
    struct Case {
        std::string in, out;
    } cases[] = {
        {"abc\td", "abc    d"},             // counter 4 -> 8: four blanks
        {"\tx", "       x"},                // from 1: seven blanks
        {"abcdef\tx", "abcdef x"},          // counter 7 -> 8: one blank
        {"abcdefg\tx", "abcdefg       x"},  // counter wrapped to 1 after seven characters
        {"a\rb\x01"
         "c",
         "a b c"},  // other non-printables: one blank, counter unchanged
        {std::string("a\0b", 3), "a b"},
        {"\xe9t\xe9", " t "},  // bytes above 126 are not printable
        {"", ""},
    };
    for (const Case& c : cases) {
        CString s(c.in);
        ExpandTabs(s);
        EXPECT_EQ(s.str(), c.out) << "input: " << c.in;
    }
}

TEST(FileHelpers, SizeByNameAndLogType) {
    char name[] = "/tmp/veltrin_size_XXXXXX";
    int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "12345", 5), 5);
    close(fd);
    std::string quoted = std::string("\"") + name + "\"";
    EXPECT_EQ(GetFileSizeByName(quoted.c_str()), 5u);
    EXPECT_EQ(GetFileSizeByName("/nonexistent/x"), 0u);
    EXPECT_EQ(GetFileSizeByName("/tmp"), 0u);
    unlink(name);

    _csLogType = "keep";
    SetLogTypeFromName("/logs/20230501xyz.log");
    EXPECT_EQ(_csLogType, "keep");
    SetLogTypeFromName("/logs/20230501QServer1.log");
    EXPECT_EQ(_csLogType, "QSERVER");
    SetLogTypeFromName("/logs/qbroker_and_qserver.log");
    EXPECT_EQ(_csLogType, "QBROKER");
}
