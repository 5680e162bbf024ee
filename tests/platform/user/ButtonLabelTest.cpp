// A check box's label as drawn: on one line, or wrapped within the control's width with
// BS_MULTILINE, its lines centred as a block beside the box.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/user/Resources.h"
#include "tests/support/Gui.h"

namespace button_label_test {
enum { kFocus = 9, kSingle, kWrapped };

INT_PTR KeepDefaults(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

constexpr DWORD kCheck = WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
// The focus stays on the first button, so no focus rectangle touches the labels.
const DialogTemplate kDialog{
    1, WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_SETFONT, 0, 0, 0, 200, 80, "Labels", "MS Sans Serif", 8,
    {{WC_BUTTON, "OK", kFocus, 120, 5, 40, 14, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
     {WC_BUTTON, "Show only recently used items in menu", kSingle, 5, 5, 77, 20, kCheck, 0},
     {WC_BUTTON, "Show only recently used items in menu", kWrapped, 5, 40, 77, 20, kCheck | BS_MULTILINE, 0}}};

// The rows and the rightmost column of a control where its label's dark ink lies.
struct InkBox {
    int top = -1, bottom = -1, right = -1;
};
InkBox LabelInk(HWND control) {
    RECT client{};
    GetClientRect(control, &client);
    PixelProbe probe(control);
    InkBox box;
    // The box and its tick are the first 13 pixels and the gap after them.
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 18; x < client.right; ++x)
            if (PixelProbe::Dark(probe.At(x, y), 96)) {
                if (box.top < 0)
                    box.top = y;
                box.bottom = y;
                box.right = std::max<int>(box.right, x);
            }
    return box;
}

TEST(ButtonLabel, AMultiLineCheckBoxWrapsItsLabelWithinItsWidthAndCentresTheLines) {
    HWND dialog = CreateDialogIndirectParam(nullptr, &kDialog, nullptr, KeepDefaults, 0);
    ASSERT_TRUE(dialog);
    Pump();
    HWND single = GetDlgItem(dialog, kSingle), wrapped = GetDlgItem(dialog, kWrapped);
    UpdateWindow(single);
    UpdateWindow(wrapped);

    TEXTMETRIC tm{};
    HDC dc = GetDC(wrapped);
    HGDIOBJ old = SelectObject(dc, (HFONT)SendMessage(wrapped, WM_GETFONT, 0, 0));
    GetTextMetrics(dc, &tm);
    SIZE whole{};
    GetTextExtentPoint32(dc, "Show only recently used items in menu", 37, &whole);
    SelectObject(dc, old);
    ReleaseDC(wrapped, dc);
    RECT client{};
    GetClientRect(wrapped, &client);
    ASSERT_GT(whole.cx, client.right) << "the label must be too wide for one line";
    ASSERT_GE(client.bottom, 2 * tm.tmHeight) << "and two lines must fit";

    InkBox one = LabelInk(single), two = LabelInk(wrapped);
    // One line, cut at the edge.
    EXPECT_LT(one.bottom - one.top, tm.tmHeight);
    EXPECT_GE(one.right, client.right - 3);
    // Two lines, the block as far from the top as from the bottom.
    EXPECT_GT(two.bottom - two.top, tm.tmHeight);
    EXPECT_LE(two.bottom - two.top, 2 * tm.tmHeight);
    EXPECT_NEAR(two.top, client.bottom - 1 - two.bottom, tm.tmHeight / 2);
    DestroyWindow(dialog);
    Pump();
}
}  // namespace button_label_test
