// The edit window over its model: what the parent hears and when, the line and position messages,
// margins, mouse and keys, the clipboard and the context menu. Windows' answers are the expectations.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/display/HeadlessDisplay.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Clipboard.h"
#include "platform/user/Controls.h"
#include "platform/user/ListView.h"
#include "platform/user/Menu.h"
#include "tests/support/Gui.h"

namespace {
std::vector<WORD> g_codes;
std::vector<std::string> g_texts;  // the edit's text as each notification arrived
HBRUSH g_editBrush = nullptr;
bool g_parentMenu = false;

LRESULT ParentProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND && lParam) {
        g_codes.push_back(HIWORD(wParam));
        g_texts.push_back(GetWindowTextString((HWND)lParam).GetString());
    }
    if (msg == WM_CONTEXTMENU)
        g_parentMenu = true;
    if (msg == WM_CTLCOLOREDIT && g_editBrush)
        return (LRESULT)g_editBrush;
    return DefWindowProc(h, msg, wParam, lParam);
}

std::function<void()> g_inMenu;
HHOOK g_hook = nullptr;
LRESULT MenuHook(int code, WPARAM wParam, LPARAM lParam) {
    if (g_inMenu) {
        auto run = std::move(g_inMenu);
        g_inMenu = nullptr;
        run();
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

class EditTest : public ::testing::Test {
protected:
    void SetUp() override {
        display = std::make_shared<HeadlessDisplay>();
        SetDisplayBackend(display);
        WNDCLASS wc{};
        wc.lpfnWndProc = ParentProc;
        wc.lpszClassName = "EditTestParent";
        RegisterClass(&wc);
        parent = CreateWindowEx(0, wc.lpszClassName, "parent", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                nullptr, nullptr, nullptr);
        screenshot = std::make_unique<ScreenshotOnFailure>(parent);
        g_codes.clear();
        g_editBrush = nullptr;
    }
    void TearDown() override {
        screenshot.reset();
        DestroyWindow(parent);
        SetDisplayBackend(nullptr);
    }
    HWND Make(DWORD style, const char* text = "", int w = 200, int h = 100, int y = 10) {
        HWND e = CreateWindowEx(0, WC_EDIT, text, WS_CHILD | WS_VISIBLE | style, 10, y, w, h, parent,
                                (HMENU)7, nullptr, nullptr);
        g_codes.clear();
        return e;
    }
    static std::string Text(HWND e) { return std::string(GetWindowTextString(e).GetString()); }
    static std::pair<int, int> Sel(HWND e) {
        DWORD a = 0, b = 0;
        SendMessage(e, EM_GETSEL, (WPARAM)&a, (LPARAM)&b);
        return {(int)a, (int)b};
    }
    // A key pressed and released with the modifiers held, all queued before any is handled.
    static void Keys(std::vector<UINT> modifiers, UINT vk) {
        for (UINT m : modifiers)
            PostKeyInput(WM_KEYDOWN, m, 1);
        PostKeyInput(WM_KEYDOWN, vk, 1);
        PostKeyInput(WM_KEYUP, vk, (LPARAM)0xC0000001);
        for (UINT m : modifiers)
            PostKeyInput(WM_KEYUP, m, (LPARAM)0xC0000001);
    }
    // Same, with each modifier handled before the key comes.
    static void KeysSlowly(std::vector<UINT> modifiers, UINT vk) {
        for (UINT m : modifiers) {
            PostKeyInput(WM_KEYDOWN, m, 1);
            Pump(true);
        }
        SimulateKey(vk);
        Pump(true);
        for (UINT m : modifiers)
            PostKeyInput(WM_KEYUP, m, (LPARAM)0xC0000001);
        Pump(true);
    }
    static POINT PosOf(HWND e, int index) {
        LRESULT r = SendMessage(e, EM_POSFROMCHAR, (WPARAM)index, 0);
        return POINT{(short)LOWORD(r), (short)HIWORD(r)};
    }
    std::string DesktopClipboard() {
        std::string s;
        display->GetClipboardText(s);
        return s;
    }

    std::shared_ptr<HeadlessDisplay> display;
    HWND parent = nullptr;
    std::unique_ptr<ScreenshotOnFailure> screenshot;
};

TEST_F(EditTest, ParentHearsOfChangesAsWindowsTellsIt) {
    HWND single = Make(ES_AUTOHSCROLL, "hello");
    SendMessage(single, EM_SETSEL, 1, 3);
    SendMessage(single, EM_REPLACESEL, TRUE, (LPARAM) "XY");
    EXPECT_EQ(g_codes, (std::vector<WORD>{EN_UPDATE, EN_CHANGE}));
    EXPECT_EQ(Text(single), "hXYlo");
    EXPECT_EQ(Sel(single), std::make_pair(3, 3));

    // The limit cuts what is inserted and says so first; a text set by the program is never cut.
    g_codes.clear();
    g_texts.clear();
    SendMessage(single, EM_LIMITTEXT, 6, 0);
    SendMessage(single, EM_SETSEL, 5, 5);
    SendMessage(single, EM_REPLACESEL, TRUE, (LPARAM) "abcdef");
    EXPECT_EQ(g_codes, (std::vector<WORD>{EN_MAXTEXT, EN_UPDATE, EN_CHANGE}));
    EXPECT_EQ(g_texts, (std::vector<std::string>{"hXYlo", "hXYloa", "hXYloa"}));  // the limit is met first
    g_codes.clear();
    SetWindowText(single, "0123456789");
    EXPECT_EQ(Text(single), "0123456789");
    EXPECT_EQ(g_codes, (std::vector<WORD>{EN_UPDATE, EN_CHANGE}));
    EXPECT_FALSE(SendMessage(single, EM_GETMODIFY, 0, 0));

    // A multi-line edit says nothing of a text the program sets; each keystroke is one change.
    HWND multi = Make(ES_MULTILINE | ES_WANTRETURN);
    SetWindowText(multi, "ab\r\ncd");
    EXPECT_TRUE(g_codes.empty());
    SendMessage(multi, EM_SETSEL, 2, 2);
    for (WPARAM c : {WPARAM('x'), WPARAM('\r'), WPARAM(8), WPARAM(8)}) {
        g_codes.clear();
        SendMessage(multi, WM_CHAR, c, 1);
        EXPECT_EQ(g_codes, (std::vector<WORD>{EN_UPDATE, EN_CHANGE})) << c;
    }
    EXPECT_EQ(Text(multi), "ab\r\ncd");  // x, a line break, the break taken back, x taken back
}

TEST_F(EditTest, LineMessagesAndDialogCodes) {
    HWND e = Make(ES_MULTILINE | ES_AUTOVSCROLL);
    SetWindowText(e, "ab\r\ncde\r\n");
    EXPECT_EQ(SendMessage(e, EM_GETLINECOUNT, 0, 0), 3);
    const std::pair<int, int> index[] = {{-1, 0}, {0, 0}, {1, 4}, {2, 9}, {3, -1}};
    for (auto [line, start] : index)
        EXPECT_EQ(SendMessage(e, EM_LINEINDEX, (WPARAM)line, 0), start) << line;
    const int lineOf[] = {0, 0, 0, 0, 1, 1, 1, 1, 1, 2, 2};
    for (int c = 0; c <= 10; ++c)
        EXPECT_EQ(SendMessage(e, EM_LINEFROMCHAR, (WPARAM)c, 0), lineOf[c]) << c;
    EXPECT_EQ(SendMessage(e, EM_LINELENGTH, 0, 0), 2);
    EXPECT_EQ(SendMessage(e, EM_LINELENGTH, 4, 0), 3);
    // With a selection: the current line is the caret's; the unselected characters of its lines.
    SendMessage(e, EM_SETSEL, 1, 6);
    EXPECT_EQ(SendMessage(e, EM_LINEINDEX, (WPARAM)-1, 0), 4);
    EXPECT_EQ(SendMessage(e, EM_LINEFROMCHAR, (WPARAM)-1, 0), 0);
    EXPECT_EQ(SendMessage(e, EM_LINELENGTH, (WPARAM)-1, 0), 2);

    HWND single = Make(0, "one");
    EXPECT_EQ(SendMessage(single, EM_GETLINECOUNT, 0, 0), 1);
    EXPECT_EQ(SendMessage(single, EM_LINELENGTH, 0, 0), 3);
    EXPECT_EQ(SendMessage(single, WM_GETDLGCODE, 0, 0), DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS);
    EXPECT_EQ(SendMessage(e, WM_GETDLGCODE, 0, 0),
              DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_WANTALLKEYS);
}

TEST_F(EditTest, PositionsMarginsAndTheFormattingRectangle) {
    HWND e = Make(ES_MULTILINE | ES_AUTOHSCROLL, "", 200, 100);
    SetWindowText(e, "ab\r\ncde\r\n");
    RECT r;
    SendMessage(e, EM_GETRECT, 0, (LPARAM)&r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 200);
    EXPECT_LE(r.bottom, 100);
    EXPECT_EQ(PosOf(e, 0).x, 0);
    EXPECT_EQ(PosOf(e, 0).y, 0);
    int lineHeight = PosOf(e, 4).y;
    EXPECT_GT(lineHeight, 0);
    EXPECT_EQ(r.bottom % lineHeight, 0);                  // whole lines
    EXPECT_EQ(PosOf(e, 3).x, PosOf(e, 2).x);              // a line break stands after its line's text
    EXPECT_EQ(SendMessage(e, EM_POSFROMCHAR, 9, 0), -1);  // past the last character
    for (int c : {0, 1, 2, 4, 5, 6, 7}) {
        POINT p = PosOf(e, c);
        LRESULT hit = SendMessage(e, EM_CHARFROMPOS, 0, MAKELPARAM(p.x + 1, p.y + 1));
        EXPECT_EQ(LOWORD(hit), c);
        EXPECT_EQ(HIWORD(hit), c < 4 ? 0 : 1);
    }
    LRESULT below = SendMessage(e, EM_CHARFROMPOS, 0, MAKELPARAM(150, 90));
    EXPECT_EQ(LOWORD(below), 9);
    EXPECT_EQ(HIWORD(below), 2);

    SendMessage(e, EM_SETMARGINS, EC_LEFTMARGIN, MAKELPARAM(5, 0));
    EXPECT_EQ(SendMessage(e, EM_GETMARGINS, 0, 0), MAKELRESULT(5, 0));
    EXPECT_EQ(PosOf(e, 0).x, 5);
    SendMessage(e, EM_GETRECT, 0, (LPARAM)&r);
    EXPECT_EQ(r.left, 5);

    // The text's pixels begin at the margin.
    SetWindowText(e, "WWWW");
    UpdateWindow(parent);
    PixelProbe probe(parent);
    auto dark = [&](int x) {
        return probe.Any(RECT{10 + x, 10, 11 + x, 10 + lineHeight},
                         [](COLORREF c) { return PixelProbe::Dark(c); });
    };
    for (int x = 0; x < 5; ++x)
        EXPECT_FALSE(dark(x)) << x;
    bool inked = false;
    for (int x = 5; x < 12; ++x)
        inked = inked || dark(x);
    EXPECT_TRUE(inked);
}

TEST_F(EditTest, AlignedLinesAndTheCtlColorBrush) {
    HWND right = Make(ES_RIGHT, "abc", 200, 20, 10);
    HWND center = Make(ES_CENTER, "abc", 200, 20, 40);
    HWND left = Make(ES_LEFT, "abc", 200, 20, 70);
    EXPECT_EQ(PosOf(left, 0).x, 1);
    EXPECT_GT(PosOf(right, 0).x, 150);
    int rightEnd = PosOf(right, 2).x + (PosOf(right, 2).x - PosOf(right, 1).x);
    EXPECT_NEAR(rightEnd, 199, 2);
    EXPECT_NEAR(PosOf(center, 0).x - 1, (PosOf(right, 0).x - 1) / 2, 1);

    g_editBrush = CreateSolidBrush(RGB(0, 200, 0));
    InvalidateRect(left, nullptr, TRUE);
    UpdateWindow(parent);
    EXPECT_EQ(PixelProbe(parent).At(10 + 190, 70 + 2), RGB(0, 200, 0));
    DeleteObject(g_editBrush);
    g_editBrush = nullptr;
}

TEST_F(EditTest, TypedUtf8StaysWholeAndTheCaretStepsOverIt) {
    HWND e = Make(0);
    SetFocus(e);
    SimulateChars("Caf\xC3\xA9!");
    Pump(true);
    EXPECT_EQ(Text(e), "Caf\xC3\xA9!");
    SimulateKey(VK_LEFT);
    SimulateKey(VK_BACK);
    Pump(true);
    EXPECT_EQ(Text(e), "Caf!");
    EXPECT_EQ(Sel(e), std::make_pair(3, 3));
    // One change per character, however many bytes it has.
    g_codes.clear();
    SimulateChars("\xE2\x82\xAC");
    Pump(true);
    EXPECT_EQ(g_codes, (std::vector<WORD>{EN_UPDATE, EN_CHANGE}));
    EXPECT_EQ(Text(e), "Caf\xE2\x82\xAC!");
}

TEST_F(EditTest, MouseMovesTheCaretSelectsByDragShiftClickAndDoubleClick) {
    HWND e = Make(0, "hello world", 200, 20);
    int y = PosOf(e, 0).y + 2;
    auto at = [&](int index) { return PosOf(e, index).x + 1; };
    SendMessage(e, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at(4), y));
    SendMessage(e, WM_LBUTTONUP, 0, MAKELPARAM(at(4), y));
    EXPECT_EQ(GetFocus(), e);
    EXPECT_EQ(Sel(e), std::make_pair(4, 4));

    SendMessage(e, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at(2), y));
    SendMessage(e, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at(8), y));
    SendMessage(e, WM_LBUTTONUP, 0, MAKELPARAM(at(8), y));
    EXPECT_EQ(Sel(e), std::make_pair(2, 8));
    SendMessage(e, WM_MOUSEMOVE, 0, MAKELPARAM(at(10), y));  // the button is up: nothing
    EXPECT_EQ(Sel(e), std::make_pair(2, 8));

    SendMessage(e, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(at(10), y));
    SendMessage(e, WM_LBUTTONUP, 0, MAKELPARAM(at(10), y));
    EXPECT_EQ(Sel(e), std::make_pair(2, 10));

    SendMessage(e, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at(7), y));
    SendMessage(e, WM_LBUTTONUP, 0, MAKELPARAM(at(7), y));
    EXPECT_EQ(Sel(e), std::make_pair(6, 11));
}

TEST_F(EditTest, ShiftWithArrowsHomeAndEndSelects) {
    HWND e = Make(0, "hello world", 200, 20);
    SetFocus(e);
    SendMessage(e, EM_SETSEL, 3, 3);
    KeysSlowly({VK_SHIFT}, VK_END);
    EXPECT_EQ(Sel(e), std::make_pair(3, 11));
    KeysSlowly({VK_SHIFT}, VK_HOME);
    EXPECT_EQ(Sel(e), std::make_pair(0, 3));
    KeysSlowly({VK_SHIFT, VK_CONTROL}, VK_RIGHT);
    EXPECT_EQ(Sel(e), std::make_pair(3, 6));
    KeysSlowly({}, VK_RIGHT);
    EXPECT_EQ(Sel(e), std::make_pair(7, 7));
}

TEST_F(EditTest, ClipboardKeysCutCopyPasteSelectAllAndUndo) {
    HWND e = Make(0, "hello world", 200, 20);
    SetFocus(e);
    SendMessage(e, EM_SETSEL, 0, 5);
    KeysSlowly({VK_CONTROL}, 'C');
    EXPECT_EQ(DesktopClipboard(), "hello");
    KeysSlowly({VK_CONTROL}, VK_END);
    KeysSlowly({VK_CONTROL}, 'V');
    EXPECT_EQ(Text(e), "hello worldhello");
    KeysSlowly({VK_CONTROL}, 'Z');
    EXPECT_EQ(Text(e), "hello world");
    KeysSlowly({VK_CONTROL}, 'A');
    EXPECT_EQ(Sel(e), std::make_pair(0, 11));
    SendMessage(e, EM_SETSEL, 5, 11);
    KeysSlowly({VK_CONTROL}, 'X');
    EXPECT_EQ(Text(e), "hello");
    EXPECT_EQ(DesktopClipboard(), " world");
    KeysSlowly({VK_SHIFT}, VK_INSERT);
    EXPECT_EQ(Text(e), "hello world");
    SendMessage(e, EM_SETSEL, 0, 1);
    KeysSlowly({VK_CONTROL}, VK_INSERT);
    EXPECT_EQ(DesktopClipboard(), "h");
    KeysSlowly({VK_SHIFT}, VK_DELETE);
    EXPECT_EQ(Text(e), "ello world");

    // Text from the desktop: a field takes its first line, a multi-line edit all of it in CR LF lines.
    display->SetClipboardFromOutside("one\ntwo");
    SendMessage(e, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(e), "oneello world");
    HWND multi = Make(ES_MULTILINE);
    SendMessage(multi, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(multi), "one\r\ntwo");

    // A password is never copied; a read-only edit is not changed.
    HWND password = Make(ES_PASSWORD, "secret");
    SendMessage(password, EM_SETSEL, 0, -1);
    SendMessage(password, WM_COPY, 0, 0);
    EXPECT_EQ(DesktopClipboard(), "one\ntwo");
    HWND readOnly = Make(ES_READONLY, "fixed");
    SendMessage(readOnly, EM_SETSEL, 0, -1);
    SendMessage(readOnly, WM_CUT, 0, 0);
    SendMessage(readOnly, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(readOnly), "fixed");
}

TEST_F(EditTest, RightClickShowsTheEditMenuAndItsChoiceActs) {
    HWND e = Make(0, "hello", 200, 20);
    display->SetClipboardFromOutside("");
    g_hook = SetWindowsHookEx(WH_MSGFILTER, MenuHook, nullptr, 0);
    // Rows: Undo, a separator, Cut, Copy, Paste, Delete, a separator, Select All.
    int selectAllY = 2 + 5 * MenuItemHeight(false) + 2 * MenuItemHeight(true) + 4;
    bool shown = false, focused = false;
    g_inMenu = [&] {
        shown = GetTrackedPopupWindow() != nullptr;
        focused = GetFocus() == e;
        SimulateClick(GetTrackedPopupWindow(), 20, selectAllY);
    };
    g_parentMenu = false;
    SimulateMouseButton(e, 20, 5, WM_RBUTTONDOWN, WM_RBUTTONUP);
    PostMessage(parent, WM_NULL, 0, 0);  // something for the menu's loop to take
    Pump(true);
    UnhookWindowsHookEx(g_hook);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(focused);
    EXPECT_EQ(Sel(e), std::make_pair(0, 5));
    EXPECT_FALSE(g_parentMenu);  // the field's own menu, not the parent's
}

TEST_F(EditTest, LongTextScrollsToItsLastLine) {
    HWND e = Make(ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, "", 200, 100);
    std::string text;
    int lines = 0;
    while (text.size() < 200 * 1024) {
        text += "line " + std::to_string(lines++) + " of the long text\r\n";
    }
    SetWindowText(e, text.c_str());
    EXPECT_EQ(SendMessage(e, EM_GETLINECOUNT, 0, 0), lines + 1);
    int lineHeight = PosOf(e, (int)SendMessage(e, EM_LINEINDEX, 1, 0)).y - PosOf(e, 0).y;
    SetFocus(e);
    KeysSlowly({VK_CONTROL}, VK_END);
    int first = (int)SendMessage(e, EM_GETFIRSTVISIBLELINE, 0, 0);
    RECT r;
    SendMessage(e, EM_GETRECT, 0, (LPARAM)&r);
    int visible = (r.bottom - r.top) / lineHeight;
    EXPECT_EQ(first, lines + 1 - visible);
    // The frame's scroll bar follows, and goes back to the top.
    EXPECT_EQ(GetScrollPos(e, SB_VERT), first);
    SendMessage(e, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(SendMessage(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    SendMessage(e, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(SendMessage(e, EM_GETFIRSTVISIBLELINE, 0, 0), 1);
    EXPECT_EQ(GetScrollPos(e, SB_VERT), 1);
}
}  // namespace
