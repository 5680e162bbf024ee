#include <gtest/gtest.h>

#include <cstring>

#include "platform/base/String.h"

TEST(CString, SlicesStayInsideTheText) {
    CString s("abcdef");
    EXPECT_EQ(s.Left(3), "abc");
    EXPECT_EQ(s.Left(99), "abcdef");
    EXPECT_EQ(s.Left(-1), "");
    EXPECT_EQ(s.Right(2), "ef");
    EXPECT_EQ(s.Right(99), "abcdef");
    EXPECT_EQ(s.Mid(2), "cdef");
    EXPECT_EQ(s.Mid(2, 2), "cd");
    EXPECT_EQ(s.Mid(10), "");
    EXPECT_EQ(s.Mid(-3, 2), "ab");
}

TEST(CString, FindAndCaseAreByteWiseAscii) {
    CString s("Hello World");
    EXPECT_EQ(s.Find('o'), 4);
    EXPECT_EQ(s.Find('o', 5), 7);
    EXPECT_EQ(s.Find("World"), 6);
    EXPECT_EQ(s.Find("x"), -1);
    EXPECT_EQ(s.Find('o', 100), -1);
    EXPECT_EQ(s.ReverseFind('o'), 7);
    EXPECT_EQ(s.FindOneOf("dW"), 6);
    CString u("\xe9t\xc9 ab");
    u.MakeUpper();
    EXPECT_EQ(u, "\xe9T\xc9 AB");  // bytes above 127 are left alone
    EXPECT_EQ(CString("abc").CompareNoCase("ABC"), 0);
    EXPECT_LT(CString("abc").Compare("abd"), 0);
}

TEST(CString, EditingOperations) {
    CString s("  a,b,,c  ");
    s.Trim();
    EXPECT_EQ(s, "a,b,,c");
    EXPECT_EQ(s.Replace(",,", ","), 1);
    EXPECT_EQ(s, "a,b,c");
    EXPECT_EQ(s.Remove(','), 2);
    EXPECT_EQ(s, "abc");
    s.Insert(1, "XY");
    EXPECT_EQ(s, "aXYbc");
    s.Delete(1, 2);
    EXPECT_EQ(s, "abc");
    CString t("x|y||z");
    int pos = 0;
    std::vector<std::string> tokens;
    for (CString tok = t.Tokenize("|", pos); pos >= 0; tok = t.Tokenize("|", pos))
        tokens.push_back(tok.str());
    EXPECT_EQ(tokens, (std::vector<std::string>{"x", "y", "z"}));
}

TEST(CString, FormatHasNoLengthLimitAndBufferRoundTrips) {
    CString big(std::string(100000, 'q'));
    CString f;
    f.Format("<%s>%d", (LPCTSTR)big, 7);
    EXPECT_EQ(f.GetLength(), 100003);
    EXPECT_EQ(f.Right(2), ">7");
    CString b;
    char* p = b.GetBuffer(16);
    std::strcpy(p, "raw");
    b.ReleaseBuffer();
    EXPECT_EQ(b, "raw");
    EXPECT_EQ(b.GetLength(), 3);
}
