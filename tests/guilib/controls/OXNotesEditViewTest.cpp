#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "guilib/controls/OXNotesEditView.h"
#include "tests/support/Gui.h"

namespace {
// A popup owning one notes view; the view deletes itself when its window goes.
struct NotesFixture {
    CWnd owner;
    COXNotesEditView* view = nullptr;

    explicit NotesFixture(int mode = COXNotesEditView::NotesImages, int width = 20) {
        EXPECT_TRUE(owner.CreateEx(0, AfxWndClassName(), "owner", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                   nullptr));
        view = new COXNotesEditView(COXNotesEditView::NotesLeft, width, mode);
        EXPECT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, RECT{0, 0, 300, 200}, &owner, 1));
    }
    ~NotesFixture() { owner.DestroyWindow(); }

    std::vector<int> Positions() const {
        std::vector<int> out;
        for (int i = 0; i < view->GetNotesCount(); ++i)
            out.push_back((int)(view->GetNote(i) & 0xFFFFFF));
        return out;
    }
    // The view's text changed as a user would: a selection replaced.
    void Replace(int from, int to, const char* text) {
        ::SendMessage(view->m_hWnd, EM_SETSEL, (WPARAM)from, (LPARAM)to);
        ::SendMessage(view->m_hWnd, EM_REPLACESEL, TRUE, (LPARAM)text);
    }
    LPARAM LinePoint(int line, int x) const {
        int start = (int)::SendMessage(view->m_hWnd, EM_LINEINDEX, (WPARAM)line, 0);
        LRESULT at = ::SendMessage(view->m_hWnd, EM_POSFROMCHAR, (WPARAM)start, 0);
        return MAKELPARAM(x, (short)HIWORD(at) + 2);
    }
};

std::string Text(HWND h) {
    char buffer[256] = "";
    ::GetWindowText(h, buffer, sizeof buffer);
    return buffer;
}
}  // namespace

TEST(NotesEditView, NotesFollowTheTextAsItChanges) {
    // Text "aaa\r\nbbb\r\nccc": lines start at 0, 5 and 10; notes on lines 1 and 2.
    struct Case {
        const char* what;
        int from, to;
        const char* insert;
        std::vector<int> notes;
    } cases[] = {
        {"typing before the notes moves them", 1, 1, "xy", {7, 12}},
        {"typing at a note's line start moves it with its line", 5, 5, "z", {6, 11}},
        {"one character replaced at a note keeps it", 5, 6, "Q", {5, 10}},
        {"two characters replaced at a note drop it", 5, 7, "QQ", {10}},
        {"deleting earlier text moves the notes back", 0, 2, "", {3, 8}},
        {"deleting the note's whole line drops it", 3, 8, "", {5}},
        {"deleting up to the note moves it to 0 and so drops it", 0, 5, "", {5}},
        {"typing after the notes changes nothing", 13, 13, "tail", {5, 10}},
        {"deleting the start of a noted line keeps its note", 5, 7, "", {5, 8}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NotesFixture f;
        f.view->SetWindowText("aaa\r\nbbb\r\nccc");
        f.view->SetNote(5, 1);
        f.view->SetNote(10, 2);
        f.Replace(c.from, c.to, c.insert);
        EXPECT_EQ(f.Positions(), c.notes);
    }
}

TEST(NotesEditView, NotesStaySortedAndRefusePositionsBeyondTwentyFourBits) {
    NotesFixture f;
    f.view->SetWindowText("one\r\ntwo\r\nthree");
    f.view->SetNote(10, 3);
    f.view->SetNote(0, 1);
    f.view->SetNote(5, 258);  // image modulo 256
    f.view->SetNote(5, 2);    // same position: replaced
    f.view->SetNote(COXNotesEditView::kMaxNotePosition + 1, 0);
    EXPECT_EQ(f.Positions(), (std::vector<int>{0, 5, 10}));
    EXPECT_EQ(f.view->GetNoteIndex(1), 2);
    EXPECT_EQ(f.view->GetNoteIndex(2), 3);
    f.view->RemoveNotes(-1, 5);
    EXPECT_EQ(f.Positions(), (std::vector<int>{10}));
    f.view->ShiftNotes(0, COXNotesEditView::kMaxNotePosition);
    EXPECT_EQ(f.view->GetNotesCount(), 0);
}

TEST(NotesEditView, DoubleClickInTheMarginTogglesANoteOnTheLine) {
    NotesFixture f;
    f.view->SetWindowText("first\r\nsecond\r\nthird");
    HWND h = f.view->m_hWnd;
    ::SendMessage(h, WM_LBUTTONDBLCLK, MK_LBUTTON, f.LinePoint(1, 5));
    EXPECT_EQ(f.Positions(), (std::vector<int>{7}));
    EXPECT_EQ(f.view->GetNoteIndex(1), 0);
    ::SendMessage(h, WM_LBUTTONDBLCLK, MK_LBUTTON, f.LinePoint(1, 5));
    EXPECT_TRUE(f.Positions().empty());
    ::SendMessage(h, WM_LBUTTONDBLCLK, MK_LBUTTON, f.LinePoint(1, 5));
    EXPECT_EQ(f.Positions(), (std::vector<int>{7}));
    // In the text a double click sets nothing.
    ::SendMessage(h, WM_LBUTTONDBLCLK, MK_LBUTTON, f.LinePoint(2, 80));
    EXPECT_EQ(f.Positions(), (std::vector<int>{7}));
    // A press in the margin selects the line without its break.
    ::SendMessage(h, WM_MOUSEMOVE, 0, f.LinePoint(2, 5));
    ::SendMessage(h, WM_LBUTTONDOWN, MK_LBUTTON, f.LinePoint(2, 5));
    int start = 0, end = 0;
    f.view->GetEditCtrl().GetSel(start, end);
    EXPECT_EQ(start, 15);
    EXPECT_EQ(end, 20);
}

TEST(NotesEditView, TabIndentsAndShiftTabUnindentsTheSelectedLines) {
    NotesFixture f;
    HWND h = f.view->m_hWnd;
    f.view->SetWindowText("a\r\nb\r\nc");
    // A selection ending at the start of line 2 takes that line too.
    ::SendMessage(h, EM_SETSEL, 0, 6);
    ::SendMessage(h, WM_CHAR, VK_TAB, 0);
    EXPECT_EQ(Text(h), "\ta\r\n\tb\r\n\tc");
    int start = 0, end = 0;
    f.view->GetEditCtrl().GetSel(start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 10);

    ::SetFocus(h);
    PostKeyInput(WM_KEYDOWN, VK_SHIFT, 0);
    Pump();
    ::SendMessage(h, EM_SETSEL, 4, 5);  // inside line 1 only
    ::SendMessage(h, WM_CHAR, VK_TAB, 0);
    ::SendMessage(h, WM_CHAR, VK_TAB, 0);  // no leading Tab left: unchanged
    PostKeyInput(WM_KEYUP, VK_SHIFT, 0);
    Pump();
    EXPECT_EQ(Text(h), "\ta\r\nb\r\n\tc");

    // Without a selection the Tab is typed.
    ::SendMessage(h, EM_SETSEL, 0, 0);
    ::SendMessage(h, WM_CHAR, VK_TAB, 0);
    EXPECT_EQ(Text(h), "\t\ta\r\nb\r\n\tc");
}

TEST(NotesEditView, MarginMessagesAreAnsweredWithoutTheStrip) {
    NotesFixture f;
    HWND h = f.view->m_hWnd;
    EXPECT_EQ(LOWORD(::SendMessage(h, EM_GETMARGINS, 0, 0)), 0);
    ::SendMessage(h, EM_SETMARGINS, EC_LEFTMARGIN, MAKELPARAM(4, 0));
    ::SendMessage(h, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, 3));
    LRESULT m = ::SendMessage(h, EM_GETMARGINS, 0, 0);
    EXPECT_EQ(LOWORD(m), 4);
    EXPECT_EQ(HIWORD(m), 3);
    // The text starts after the strip and the user's margin.
    RECT r{};
    ::SendMessage(h, EM_GETRECT, 0, (LPARAM)&r);
    EXPECT_GE(r.left, 24);
}

TEST(NotesEditView, LineNumbersAreDrawnRightAlignedInTheMarginFromOne) {
    NotesFixture f(COXNotesEditView::NotesLineNumbers, 30);
    HWND h = f.view->m_hWnd;
    f.view->SetWindowText("x\r\ny\r\n");  // the empty last line gets no number
    ::UpdateWindow(f.owner.m_hWnd);
    PixelProbe probe(h);
    int height = f.view->GetLineHeight();
    int top0 = (short)HIWORD(f.LinePoint(0, 0)) - 2;
    auto ink = [&](int line, int left, int right) {
        int top = top0 + line * height;
        return probe.Any(RECT{left, top, right, top + height}, [](COLORREF c) { return PixelProbe::Dark(c); });
    };
    EXPECT_TRUE(ink(0, 18, 30));
    EXPECT_TRUE(ink(1, 18, 30));
    EXPECT_FALSE(ink(0, 0, 12));  // right-aligned: the left of the strip is clear
    EXPECT_FALSE(ink(2, 0, 30));
    // The strip is button face, the text area the window colour.
    EXPECT_EQ(probe.At(2, 150), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(probe.At(200, 150), ::GetSysColor(COLOR_WINDOW));
}

TEST(NotesEditView, TheTextHasNoLengthLimit) {
    NotesFixture f;
    std::string big;
    for (int i = 0; i < 3000; ++i)
        big += "line " + std::to_string(i) + " of a long text for the view\r\n";
    f.view->SetWindowText(big.c_str());
    HWND h = f.view->m_hWnd;
    ::SendMessage(h, EM_SETSEL, (WPARAM)big.size(), (LPARAM)big.size());
    ::SendMessage(h, EM_REPLACESEL, TRUE, (LPARAM) "more typed");
    EXPECT_EQ((size_t)::GetWindowTextLength(h), big.size() + 10);
    // A note far down is found by its line.
    int line = 2500;
    int start = f.view->GetEditCtrl().LineIndex(line);
    f.view->SetNote(start, 1);
    EXPECT_EQ(f.view->GetNoteIndex(line), 1);
    EXPECT_EQ(f.view->GetNoteIndex(line - 1), -1);
}
