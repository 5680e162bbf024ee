#include "platform/user/MessageBoxDialog.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/user/Resources.h"

namespace {
INT_PTR MessageBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        // The default button has the focus, so Enter answers with it.
        if (HWND def = GetDlgItem(hwnd, (int)lParam)) {
            SetFocus(def);
            return FALSE;
        }
        return TRUE;
    }
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        int id = LOWORD(wParam);
        // A box without a Cancel button does not close with Escape, except an OK-only box.
        if (id == IDCANCEL && !GetDlgItem(hwnd, IDCANCEL)) {
            if (!GetDlgItem(hwnd, IDOK) || GetDlgItem(hwnd, IDYES))
                return TRUE;
            id = IDOK;
        }
        EndDialog(hwnd, id);
        return TRUE;
    }
    return FALSE;
}

struct ButtonSpec {
    int id;
    const char* text;
};
}  // namespace

int ShowMessageBoxDialog(const MessageBoxCall& call) {
    std::vector<ButtonSpec> buttons;
    switch (call.type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            buttons = {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
            break;
        case MB_ABORTRETRYIGNORE:
            buttons = {{IDABORT, "&Abort"}, {IDRETRY, "&Retry"}, {IDIGNORE, "&Ignore"}};
            break;
        case MB_YESNOCANCEL:
            buttons = {{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}};
            break;
        case MB_YESNO:
            buttons = {{IDYES, "&Yes"}, {IDNO, "&No"}};
            break;
        case MB_RETRYCANCEL:
            buttons = {{IDRETRY, "&Retry"}, {IDCANCEL, "Cancel"}};
            break;
        default:
            buttons = {{IDOK, "OK"}};
            break;
    }
    int defIndex = std::min<int>((int)((call.type & MB_DEFMASK) >> 8), (int)buttons.size() - 1);
    UINT icon = call.type & MB_ICONMASK;
    const char* iconName = nullptr;
    if (icon == MB_ICONHAND)
        iconName = "#32513";
    if (icon == MB_ICONQUESTION)
        iconName = "#32514";
    if (icon == MB_ICONEXCLAMATION)
        iconName = "#32515";
    if (icon == MB_ICONASTERISK)
        iconName = "#32516";

    // Measure the text in the dialog font, then lay out in dialog units.
    DialogTemplate t{0,
                     WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER,
                     0,
                     0,
                     0,
                     0,
                     0,
                     call.caption,
                     "MS Sans Serif",
                     8,
                     {}};
    HFONT font = CreateDialogFont(&t);
    SIZE base = GetFontBaseUnits(font);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    RECT text{0, 0, GetSystemMetrics(SM_CXSCREEN) * 3 / 4, 0};
    DrawText(dc, call.text, call.text.GetLength(), &text,
             DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    auto toX = [&](int px) { return (short)((px * 4 + base.cx - 1) / base.cx); };
    auto toY = [&](int px) { return (short)((px * 8 + base.cy - 1) / base.cy); };
    short margin = 7, iconSize = iconName ? toX(32) : 0, iconGap = iconName ? 7 : 0;
    short textW = toX(text.right - text.left) + 2, textH = toY(text.bottom - text.top);
    short bodyH = std::max<short>(textH, iconName ? toY(32) : 0);
    short bw = 50, bh = 14, gap = 4;
    short buttonsW = (short)(buttons.size() * bw + (buttons.size() - 1) * gap);
    short width =
        std::max<short>((short)(margin * 2 + iconSize + iconGap + textW), (short)(buttonsW + margin * 2));
    t.cx = width;
    t.cy = (short)(margin + bodyH + margin + bh + margin);
    if (iconName)
        t.items.push_back(
            {WC_STATIC, iconName, -1, margin, margin, iconSize, toY(32), SS_ICON | WS_VISIBLE, 0});
    t.items.push_back({WC_STATIC, call.text, 0xFFFF, (short)(margin + iconSize + iconGap),
                       (short)(margin + (bodyH - textH) / 2), textW, textH,
                       SS_LEFT | SS_NOPREFIX | WS_VISIBLE, 0});
    short x = (short)((width - buttonsW) / 2), y = (short)(margin + bodyH + margin);
    for (size_t i = 0; i < buttons.size(); ++i) {
        DWORD style = WS_VISIBLE | WS_TABSTOP | ((int)i == defIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        t.items.push_back({WC_BUTTON, buttons[i].text, buttons[i].id, x, y, bw, bh, style, 0});
        x = (short)(x + bw + gap);
    }
    if (icon == MB_ICONHAND || icon == MB_ICONEXCLAMATION)
        MessageBeep(icon);
    INT_PTR r = DialogBoxIndirectParam(nullptr, &t, call.owner ? call.owner : GetActiveWindow(),
                                       MessageBoxProc, buttons[(size_t)defIndex].id);
    return r <= 0 ? DefaultMessageBoxAnswer(call.type) : (int)r;
}

void InstallMessageBoxDialogPresenter() {
    SetMessageBoxPresenter(ShowMessageBoxDialog);
}
