// The edit model without a window: characters, caret keys, words, undo, limits and lines.
// In the cases, '|' is the caret and '^' the anchor of a selection.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/user/controls/EditText.h"

using user::EditText;

namespace {
// Seven pixels a character (a UTF-8 character counting once).
int Measure(std::string_view run) {
    int n = 0;
    for (char c : run)
        n += ((unsigned char)c & 0xC0) != 0x80;
    return 7 * n;
}

EditText Parse(const std::string& marked, bool multiLine = false) {
    std::string text;
    int caret = -1, anchor = -1;
    for (char c : marked) {
        if (c == '|')
            caret = (int)text.size();
        else if (c == '^')
            anchor = (int)text.size();
        else
            text += c;
    }
    EditText t(multiLine);
    t.SetText(text);
    t.SetLayout(0, 56, Measure);
    t.Select(anchor < 0 ? caret : anchor, caret);
    return t;
}

std::string Show(const EditText& t) {
    std::string s = t.Text();
    // The later mark first, so the earlier one's position still holds.
    if (t.HasSelection() && t.Anchor() > t.Caret())
        s.insert((size_t)t.Anchor(), "^");
    s.insert((size_t)t.Caret(), "|");
    if (t.HasSelection() && t.Anchor() < t.Caret())
        s.insert((size_t)t.Anchor(), "^");
    return s;
}

enum Op { Backspace, Delete, Left, Right, ShiftLeft, ShiftRight, CtrlLeft, CtrlRight, ShiftHome, ShiftEnd };

void Apply(EditText& t, Op op) {
    using M = EditText::Move;
    switch (op) {
        case Backspace:
            t.Backspace();
            break;
        case Delete:
            t.Delete();
            break;
        case Left:
            t.MoveBy(M::CharLeft, false);
            break;
        case Right:
            t.MoveBy(M::CharRight, false);
            break;
        case ShiftLeft:
            t.MoveBy(M::CharLeft, true);
            break;
        case ShiftRight:
            t.MoveBy(M::CharRight, true);
            break;
        case CtrlLeft:
            t.MoveBy(M::WordLeft, false);
            break;
        case CtrlRight:
            t.MoveBy(M::WordRight, false);
            break;
        case ShiftHome:
            t.MoveBy(M::LineStart, true);
            break;
        case ShiftEnd:
            t.MoveBy(M::LineEnd, true);
            break;
    }
}

struct KeyCase {
    const char* before;
    Op op;
    const char* after;
    bool multiLine;
};

const KeyCase kKeyCases[] = {
    // UTF-8 characters are whole: two-, three- and four-byte ones.
    {"a\xC3\xA9|b", Backspace, "a|b", false},
    {"a|\xC3\xA9"
     "b",
     Delete, "a|b", false},
    {"a\xE2\x82\xAC|", Backspace, "a|", false},
    {"|\xF0\x9F\x98\x80x", Delete, "|x", false},
    {"a\xC3\xA9|b", Left,
     "a|\xC3\xA9"
     "b",
     false},
    {"a|\xC3\xA9"
     "b",
     Right, "a\xC3\xA9|b", false},
    {"a|\xC3\xA9"
     "b",
     ShiftRight, "a^\xC3\xA9|b", false},
    {"\xC3\xA9\xC3\xA9|", ShiftLeft, "\xC3\xA9|\xC3\xA9^", false},
    // Text that is not UTF-8 (Windows-1252) moves by bytes, as it is drawn.
    {"caf\xE9\xC3|\xA9", Backspace, "caf\xE9|\xA9", false},
    {"caf\xE9|x", Left, "caf|\xE9x", false},
    // A selection is deleted whole; an arrow moves the caret from where it is and drops it.
    {"a^bc|d", Backspace, "a|d", false},
    {"a|bc^d", Delete, "a|d", false},
    {"ab^cde|f", Left, "abcd|ef", false},
    {"ab|cde^f", Left, "a|bcdef", false},
    {"ab^cde|f", ShiftRight, "ab^cdef|", false},
    {"ab|cde^f", ShiftRight, "abc|de^f", false},
    // Shift with Home and End keeps the anchor.
    {"hel|lo", ShiftEnd, "hel^lo|", false},
    {"hel|lo", ShiftHome, "|hel^lo", false},
    // Words end at blanks and after a hyphen; Ctrl+arrows go to word starts.
    {"|hello  world, foo-bar baz", CtrlRight, "hello  |world, foo-bar baz", false},
    {"hello  |world, foo-bar baz", CtrlRight, "hello  world, |foo-bar baz", false},
    {"hello  world, |foo-bar baz", CtrlRight, "hello  world, foo-|bar baz", false},
    {"hello  world, foo-bar b|az", CtrlLeft, "hello  world, foo-bar |baz", false},
    {"hello  world, foo-|bar baz", CtrlLeft, "hello  world, |foo-bar baz", false},
    // In a multi-line edit CR LF is one character.
    {"ab\r\n|cd", Backspace, "ab|cd", true},
    {"ab|\r\ncd", Delete, "ab|cd", true},
    {"ab\r\n|cd", Left, "ab|\r\ncd", true},
    {"ab|\r\ncd", Right, "ab\r\n|cd", true},
    {"ab|\r\ncd", ShiftEnd, "ab|\r\ncd", true},
    {"ab\r\nc|d", ShiftHome, "ab\r\n|c^d", true},
    // A single-line edit has no line breaks: CR and LF are characters of their own.
    {"ab\r\n|cd", Backspace, "ab\r|cd", false},
};

TEST(EditText, CaretKeysAndDeletionWorkOnWholeCharacters) {
    for (const KeyCase& c : kKeyCases) {
        EditText t = Parse(c.before, c.multiLine);
        Apply(t, c.op);
        EXPECT_EQ(Show(t), c.after) << "from " << c.before << " op " << c.op;
    }
}

TEST(EditText, TypedBytesOfACharacterGoInTogetherAndStrayBytesAreKept) {
    EditText t;
    EXPECT_FALSE(t.Type(0xC3, 100));  // waits for the rest of the character
    EXPECT_EQ(t.Text(), "");
    EXPECT_TRUE(t.Type(0xA9, 100));
    EXPECT_EQ(t.Text(), "\xC3\xA9");
    EXPECT_EQ(t.Caret(), 2);
    // A lead byte followed by a plain character: both are kept as they came.
    t.Type(0xE2, 100);
    EXPECT_TRUE(t.Type('x', 100));
    EXPECT_EQ(t.Text(), "\xC3\xA9\xE2x");
    EXPECT_FALSE(t.Utf8());
    // Whatever is waiting goes in when asked.
    t.Type(0xC3, 100);
    EXPECT_TRUE(t.FlushPending(100));
    EXPECT_EQ(t.Text(), "\xC3\xA9\xE2x\xC3");
}

TEST(EditText, LimitCutsInsertedTextAtACharacterEnd) {
    struct Case {
        const char* before;
        const char* insert;
        int limit;
        const char* after;
        bool cut;
    };
    const Case cases[] = {
        {"helz|", "abcdef", 6, "helzab|", true},
        {"h^el|z", "XY", 4, "hXY|z", false},
        {"ab|", "\xC3\xA9\xC3\xA9", 5, "ab\xC3\xA9|", true},  // never half an é
        {"ab|", "x\r\ny", 4, "abx|", true},                   // never half a line break
        {"abcd|", "x", 4, "abcd|", true},
    };
    for (const Case& c : cases) {
        EditText t = Parse(c.before, true);
        bool cut = false;
        t.Replace(c.insert, c.limit, true, &cut);
        EXPECT_EQ(Show(t), c.after) << c.before << " + " << c.insert;
        EXPECT_EQ(cut, c.cut) << c.before << " + " << c.insert;
    }
}

TEST(EditText, UndoTakesBackARunOfTypingOrDeletingAndSelectsWhatItRestores) {
    EditText t;
    for (char c : std::string("abc"))
        t.Type((unsigned char)c, 100);
    EXPECT_TRUE(t.CanUndo());
    t.Undo();
    EXPECT_EQ(Show(t), "|");
    t.Undo();  // undoing the undo brings the typing back, selected
    EXPECT_EQ(Show(t), "^abc|");

    struct Case {
        const char* before;
        std::function<void(EditText&)> change;
        const char* changed;
        const char* undone;
    };
    const Case cases[] = {
        {"a^bc|", [](EditText& e) { e.Type('Q', 100); }, "aQ|", "a^bc|"},
        {"abc|", [](EditText& e) { e.Backspace(), e.Backspace(); }, "a|", "a^bc|"},
        {"|abc", [](EditText& e) { e.Delete(), e.Delete(); }, "|c", "^ab|c"},
        {"ab|", [](EditText& e) { e.Type('x', 100), e.Type('y', 100), e.Backspace(); }, "abx|", "ab|"},
    };
    for (const Case& c : cases) {
        EditText e = Parse(c.before);
        c.change(e);
        EXPECT_EQ(Show(e), c.changed) << c.before;
        EXPECT_TRUE(e.Undo());
        EXPECT_EQ(Show(e), c.undone) << c.before;
    }

    // A replacement that may not be undone empties the undo; a new text too.
    EditText r = Parse("ab|");
    r.Type('c', 100);
    r.Replace("zz", 100, false);
    EXPECT_FALSE(r.CanUndo());
    r.Type('d', 100);
    r.SetText("new");
    EXPECT_FALSE(r.CanUndo());
}

TEST(EditText, DoubleClickSelectsTheWordWithItsBlanks) {
    const std::string text = "hello  world, foo-bar baz";
    struct Case {
        int at;
        const char* selected;
    };
    const Case cases[] = {{0, "hello  "}, {3, "hello  "}, {6, "hello  "}, {9, "world, "},
                          {15, "foo-"},   {17, "foo-"},   {19, "bar "},   {25, "baz"}};
    for (const Case& c : cases) {
        EditText t;
        t.SetText(text);
        t.SelectWord(c.at);
        EXPECT_EQ(t.Selected(), c.selected) << c.at;
    }
    // The blanks of a word stop at the end of its line.
    EditText m(true);
    m.SetText("one  \r\ntwo");
    m.SelectWord(1);
    EXPECT_EQ(m.Selected(), "one  ");
}

TEST(EditText, ContextMenuCommandsFollowSelectionClipboardAndStyle) {
    struct Case {
        const char* text;
        bool readOnly, password, clipboard;
        bool undo, cut, copy, paste, clear, selectAll;
    };
    const Case cases[] = {
        // text          ro     pw     clip   undo   cut    copy   paste  del    all
        {"", false, false, false, false, false, false, false, false, false},
        {"", false, false, true, false, false, false, true, false, false},
        {"ab|c", false, false, false, false, false, false, false, false, true},
        {"a^b|c", false, false, true, false, true, true, true, true, true},
        {"^abc|", false, false, false, false, true, true, false, true, false},  // all selected already
        {"a^b|c", true, false, true, false, false, true, false, false, true},
        {"a^b|c", false, true, true, false, false, false, true, true, true},
    };
    for (const Case& c : cases) {
        EditText t = Parse(c.text);
        auto a = t.Available(c.readOnly, c.password, c.clipboard);
        std::string what = std::string(c.text) + (c.readOnly ? " read-only" : "") +
                           (c.password ? " password" : "") + (c.clipboard ? " clipboard" : "");
        EXPECT_EQ(a.undo, c.undo) << what;
        EXPECT_EQ(a.cut, c.cut) << what;
        EXPECT_EQ(a.copy, c.copy) << what;
        EXPECT_EQ(a.paste, c.paste) << what;
        EXPECT_EQ(a.clear, c.clear) << what;
        EXPECT_EQ(a.selectAll, c.selectAll) << what;
    }
    EditText typed;
    typed.Type('a', 10);
    EXPECT_TRUE(typed.Available(false, false, false).undo);
    EXPECT_FALSE(typed.Available(true, false, false).undo);
}

TEST(EditText, LinesSplitAtCrLfAndWrapAfterBlanks) {
    EditText t(true);
    t.SetText("ab\r\ncde\r\n");
    ASSERT_EQ(t.LineCount(), 3);
    EXPECT_EQ(t.LineStart(1), 4);
    EXPECT_EQ(t.LineStart(2), 9);
    EXPECT_EQ(t.LineStart(3), -1);
    EXPECT_EQ(t.LineEnd(0), 2);
    EXPECT_EQ(t.LineEnd(1), 7);
    const int lineOf[] = {0, 0, 0, 0, 1, 1, 1, 1, 1, 2, 2};
    for (int c = 0; c <= 10; ++c)
        EXPECT_EQ(t.LineFromChar(c), lineOf[c]) << c;

    // Wrapped at 100 pixels (14 characters): after the last blank that fits, inside a longer word.
    EditText w(true);
    w.SetLayout(100, 56, Measure);
    w.SetText("one two three four five six seven\r\nabcdefghijklmnopqrstuvwxyz");
    std::vector<std::string> lines;
    for (int l = 0; l < w.LineCount(); ++l)
        lines.push_back(w.Text().substr((size_t)w.LineStart(l), (size_t)(w.LineEnd(l) - w.LineStart(l))));
    EXPECT_EQ(lines, (std::vector<std::string>{"one two three ", "four five six ", "seven", "abcdefghijklmn",
                                               "opqrstuvwxyz"}));

    // Up and Down keep the column; tabs stop every 56 pixels.
    EditText k = Parse("abcdef\r\nab\r\nabc|def", true);
    k.MoveLines(-1, false);
    EXPECT_EQ(k.Caret(), 10);  // the end of the short line
    k.MoveLines(-1, true);
    EXPECT_EQ(k.Selected(), "cdef\r\nab");  // the column of the short line
    EditText tabs = Parse("a\tb|", true);
    EXPECT_EQ(tabs.XOf(3), 63);
    EXPECT_EQ(tabs.CharAtX(0, 59), 2);
    EXPECT_EQ(tabs.CharAtX(0, 61), 3);
}
}  // namespace
