// How dialogs are framed: bordered controls get the sunken client edge of the three-dimensional look,
// and a dialog's client area has the template's size whether the display or the window layer draws
// its frame.
#include <gtest/gtest.h>

#include "platform/user/Display.h"
#include "platform/user/Resources.h"

namespace {
const DialogTemplate kDialog{1,
                             WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_MODALFRAME | DS_SETFONT,
                             0,
                             0,
                             0,
                             120,
                             60,
                             "Frame",
                             "MS Sans Serif",
                             8,
                             {{WC_EDIT, "", 10, 10, 10, 80, 14, WS_VISIBLE | WS_BORDER | WS_TABSTOP, 0}}};

void Pump() {
    MSG m;
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE))
        DispatchMessage(&m);
}

SIZE ClientSize(HWND h) {
    RECT r;
    GetClientRect(h, &r);
    return SIZE{r.right, r.bottom};
}

TEST(DialogFrame, ABorderedControlHasTheTwoPixelSunkenEdge) {
    HWND dialog = CreateDialogIndirectParam(nullptr, &kDialog, nullptr, nullptr, 0);
    ASSERT_TRUE(dialog);
    Pump();
    HWND edit = GetDlgItem(dialog, 10);
    EXPECT_EQ(GetWindowLongPtr(edit, GWL_STYLE) & WS_BORDER, 0);
    EXPECT_NE(GetWindowLongPtr(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    RECT r;
    GetWindowRect(edit, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    EXPECT_EQ(GetWindowPixel(edit, 3, 0), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(GetWindowPixel(edit, 3, 1), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(GetWindowPixel(edit, 0, h / 2), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(GetWindowPixel(edit, 1, h / 2), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(GetWindowPixel(edit, w / 2, h - 1), GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(GetWindowPixel(edit, w / 2, h - 2), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(GetWindowPixel(edit, w - 1, h / 2), GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(GetWindowPixel(edit, w - 2, h / 2), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(GetWindowPixel(edit, 2, h / 2), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(ClientSize(edit).cx, w - 4);
    DestroyWindow(dialog);
}

TEST(DialogFrame, RadioButtonsAreRoundAndAClickClearsOnlyItsOwnGroup) {
    const DWORD radio = WS_VISIBLE | BS_AUTORADIOBUTTON;
    const DialogTemplate t{2,
                           WS_POPUP | WS_VISIBLE | DS_SETFONT,
                           0,
                           0,
                           0,
                           120,
                           80,
                           "",
                           "MS Sans Serif",
                           8,
                           {{WC_BUTTON, "A1", 1, 5, 5, 60, 10, radio | WS_GROUP | WS_TABSTOP, 0},
                            {WC_BUTTON, "A2", 2, 5, 17, 60, 10, radio, 0},
                            {WC_BUTTON, "B1", 3, 5, 35, 60, 10, radio | WS_GROUP | WS_TABSTOP, 0},
                            {WC_BUTTON, "B2", 4, 5, 47, 60, 10, radio, 0}}};
    HWND dialog = CreateDialogIndirectParam(nullptr, &t, nullptr, nullptr, 0);
    ASSERT_TRUE(dialog);
    SendMessage(GetDlgItem(dialog, 1), BM_CLICK, 0, 0);
    SendMessage(GetDlgItem(dialog, 3), BM_CLICK, 0, 0);
    SendMessage(GetDlgItem(dialog, 2), BM_CLICK, 0, 0);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 1), (UINT)BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 2), (UINT)BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 3), (UINT)BST_CHECKED);  // another group
    Pump();
    // The 12-pixel circle, vertically centred at the left: corners show the dialog, the rim is the
    // sunken ring, the middle holds the round dot of a checked button.
    HWND button = GetDlgItem(dialog, 2);
    int top = (ClientSize(button).cy - 12) / 2;
    auto at = [&](int x, int y) { return GetWindowPixel(button, x, top + y); };
    for (POINT p : {POINT{0, 0}, POINT{11, 0}, POINT{0, 11}, POINT{11, 11}})
        EXPECT_EQ(at(p.x, p.y), GetSysColor(COLOR_3DFACE)) << p.x << "," << p.y;
    EXPECT_EQ(at(5, 0), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(at(0, 5), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(at(5, 1), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(at(6, 11), GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(at(11, 6), GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(at(6, 10), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(at(5, 5), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(at(4, 4), GetSysColor(COLOR_WINDOW));  // the dot's corners are cut
    EXPECT_EQ(at(3, 5), GetSysColor(COLOR_WINDOW));
    DestroyWindow(dialog);
}

// A display that frames unowned captioned windows itself, as a desktop does.
class FramingDisplay : public DisplayBackend {
public:
    const char* Name() const override { return "framing"; }
    bool DrawsFrame(DWORD style, DWORD exStyle, HWND owner) const override {
        return !owner && !(style & WS_CHILD) && (style & WS_CAPTION) == WS_CAPTION &&
               !(exStyle & WS_EX_TOOLWINDOW);
    }
};

TEST(DialogFrame, TheClientAreaHasTheTemplatesSizeWhoeverDrawsTheFrame) {
    HWND plain = CreateDialogIndirectParam(nullptr, &kDialog, nullptr, nullptr, 0);
    ASSERT_TRUE(plain);
    const SIZE expected = ClientSize(plain);
    RECT framed;
    GetWindowRect(plain, &framed);
    EXPECT_GT(framed.bottom - framed.top, expected.cy);  // the layer draws caption and frame

    auto previous = GetDisplayBackendShared();
    SetDisplayBackend(std::make_shared<FramingDisplay>());
    // The desktop frames the unowned dialog: its window is all client area.
    RECT rc{0, 0, 200, 100};
    AdjustWindowRectEx(&rc, WS_POPUP | WS_CAPTION | WS_THICKFRAME, FALSE, 0);
    EXPECT_EQ(rc.right - rc.left, 200);
    EXPECT_EQ(rc.bottom - rc.top, 100);
    HWND unowned = CreateDialogIndirectParam(nullptr, &kDialog, nullptr, nullptr, 0);
    ASSERT_TRUE(unowned);
    EXPECT_EQ(ClientSize(unowned).cx, expected.cx);
    EXPECT_EQ(ClientSize(unowned).cy, expected.cy);
    RECT whole;
    GetWindowRect(unowned, &whole);
    EXPECT_EQ(whole.bottom - whole.top, expected.cy);
    // An owned one is framed by the layer, still around the same client area.
    HWND owned = CreateDialogIndirectParam(nullptr, &kDialog, unowned, nullptr, 0);
    ASSERT_TRUE(owned);
    EXPECT_EQ(ClientSize(owned).cx, expected.cx);
    EXPECT_EQ(ClientSize(owned).cy, expected.cy);
    DestroyWindow(owned);
    DestroyWindow(unowned);
    SetDisplayBackend(previous);
    DestroyWindow(plain);
}
}  // namespace
