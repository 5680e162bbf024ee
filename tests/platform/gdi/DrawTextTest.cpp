// DrawText's line breaking, ellipses and measuring as Windows has them, in character cells of a
// fixed-pitch font.
#include <gtest/gtest.h>

#include <string>

#include "platform/gdi/Gdi.h"

namespace {
class DrawTextRules : public ::testing::Test {
protected:
    void SetUp() override {
        dc = CreateCompatibleDC(nullptr);
        bmp = CreateCompatibleBitmap(dc, 400, 400);
        oldBmp = SelectObject(dc, bmp);
        font = CreateFont(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, FIXED_PITCH, "Courier New");
        oldFont = SelectObject(dc, font);
        SIZE m;
        GetTextExtentPoint32(dc, "M", 1, &m);
        cw = m.cx;
        lh = m.cy;
    }
    void TearDown() override {
        SelectObject(dc, oldFont);
        SelectObject(dc, oldBmp);
        DeleteObject(font);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    HDC dc;
    HBITMAP bmp;
    HFONT font;
    HGDIOBJ oldBmp, oldFont;
    int cw = 0, lh = 0;
};

TEST_F(DrawTextRules, MeasuringKeepsTheWidthOfBrokenTextAndEmptyTextHasNoSize) {
    ASSERT_GT(cw, 0);
    struct Case {
        const char* text;
        int chars;  // width given
        UINT format;
        int lines, width;  // expected, width in characters
    } cases[] = {
        {"aaaa bbbb cccc dddd", 10, DT_WORDBREAK, 2, 10},  // broken lines keep the given width
        {"aaaa bbbb cccc dddd", 9, DT_WORDBREAK, 3, 9},    // a word fits with the blank after it
        {"ab  cd", 3, DT_WORDBREAK, 2, 3},
        {"ab\ncd ef", 20, DT_WORDBREAK, 2, 5},                         // nothing broken: the text's own width
        {"abcdefghijklmnop", 5, DT_WORDBREAK, 1, 16},                  // a long word stays whole...
        {"abcdefghijklmnop", 5, DT_WORDBREAK | DT_EDITCONTROL, 4, 5},  // ...except in an edit control
        {"hello world wide", 8, DT_SINGLELINE | DT_END_ELLIPSIS, 1, 8},  // measured as shown
        {"abc", 40, DT_SINGLELINE, 1, 3},
    };
    for (const Case& c : cases) {
        RECT r{0, 0, c.chars * cw, 400};
        int h = DrawText(dc, c.text, -1, &r, c.format | DT_CALCRECT);
        EXPECT_EQ(h, c.lines * lh) << c.text << " in " << c.chars;
        EXPECT_EQ(r.bottom - r.top, c.lines * lh) << c.text << " in " << c.chars;
        EXPECT_EQ(r.right - r.left, c.width * cw) << c.text << " in " << c.chars;
    }
    RECT r{5, 5, 100, 100};
    EXPECT_EQ(DrawText(dc, "", -1, &r, DT_CALCRECT), lh);
    EXPECT_TRUE(IsRectEmpty(&r));
    EXPECT_EQ(r.right, 5);
    EXPECT_EQ(r.bottom, 5);
    SIZE none{-1, -1};
    EXPECT_TRUE(GetTextExtentPoint32(dc, "", 0, &none));
    EXPECT_EQ(none.cx, 0);
    EXPECT_EQ(none.cy, 0);
}

TEST_F(DrawTextRules, ModifyStringWritesTheShownTextBack) {
    struct Case {
        const char* text;
        int chars;
        UINT ellipsis;
        const char* after;
    } cases[] = {
        {"hello world wide", 8, DT_END_ELLIPSIS, "hello..."},
        {"hello world wide", 3, DT_END_ELLIPSIS, "..."},
        {"abcdefghij", 2, DT_END_ELLIPSIS, "..."},
        {"hello", 8, DT_END_ELLIPSIS, "hello"},  // fits: untouched
        {"c:\\dir\\sub\\file.txt", 14, DT_PATH_ELLIPSIS, "c:...\\file.txt"},
        {"/home/me/logs/server.log", 16, DT_PATH_ELLIPSIS, "/h.../server.log"},
        {"ab", 1, DT_END_ELLIPSIS, "ab"},  // "..." is longer than the buffer: left as it is
    };
    for (const Case& c : cases) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%s", c.text);
        RECT r{0, 0, c.chars * cw, 100};
        DrawText(dc, buf, -1, &r, DT_SINGLELINE | c.ellipsis | DT_MODIFYSTRING);
        EXPECT_STREQ(buf, c.after) << c.text << " in " << c.chars;
    }
    // Without DT_MODIFYSTRING the text stays.
    char buf[] = "hello world wide";
    RECT r{0, 0, 8 * cw, 100};
    DrawText(dc, buf, -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_STREQ(buf, "hello world wide");
}
}  // namespace
