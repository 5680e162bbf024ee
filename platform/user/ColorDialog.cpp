// The colour dialog. Each colour is a cell window that paints its colour and tells the dialog when it is
// clicked; the chosen cell is outlined. The Red, Green and Blue fields edit the colour being defined,
// shown in the sample; "Add to Custom Colors" puts it into the chosen custom cell (or the next one).
#include "platform/user/ColorDialog.h"

#include <cstdlib>
#include <mutex>
#include <string>

#include "platform/user/CommonDialogs.h"
#include "platform/user/Controls.h"
#include "platform/user/Resources.h"

namespace {
const char* const kCellClass = "VeltrinColorCell";
constexpr int kBasic = 48, kCustom = 16;
constexpr short kNarrow = 134, kWide = 262, kHeight = 182;

// The Classic basic colours, six rows of eight.
const COLORREF kBasicColors[kBasic] = {
    RGB(255, 128, 128), RGB(255, 255, 128), RGB(128, 255, 128), RGB(0, 255, 128),
    RGB(128, 255, 255), RGB(0, 128, 255),   RGB(255, 128, 192), RGB(255, 128, 255),
    RGB(255, 0, 0),     RGB(255, 255, 0),   RGB(128, 255, 0),   RGB(0, 255, 64),
    RGB(0, 255, 255),   RGB(0, 128, 192),   RGB(128, 128, 192), RGB(255, 0, 255),
    RGB(128, 64, 64),   RGB(255, 128, 64),  RGB(0, 255, 0),     RGB(0, 128, 128),
    RGB(0, 64, 128),    RGB(128, 128, 255), RGB(128, 0, 64),    RGB(255, 0, 128),
    RGB(128, 0, 0),     RGB(255, 128, 0),   RGB(0, 128, 0),     RGB(0, 128, 64),
    RGB(0, 0, 255),     RGB(0, 0, 160),     RGB(128, 0, 128),   RGB(128, 0, 255),
    RGB(64, 0, 0),      RGB(128, 64, 0),    RGB(0, 64, 0),      RGB(0, 64, 64),
    RGB(0, 0, 128),     RGB(0, 0, 64),      RGB(64, 0, 64),     RGB(64, 0, 128),
    RGB(0, 0, 0),       RGB(128, 128, 0),   RGB(128, 128, 64),  RGB(128, 128, 128),
    RGB(64, 128, 128),  RGB(192, 192, 192), RGB(64, 0, 64),     RGB(255, 255, 255),
};

struct State {
    CHOOSECOLOR* cc = nullptr;
    COLORREF current = 0;
    COLORREF custom[kCustom] = {};
    int chosenCell = -1;  // the control id of the outlined cell, or -1
    int nextCustom = 0;
    bool settingFields = false;
};

// A cell's colour lives in its user data; the outline is its "chosen" property.
LRESULT CellProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, &ps);
            RECT rc;
            GetClientRect(h, &rc);
            bool chosen = GetProp(h, "chosen") != nullptr;
            if (chosen) {
                FrameRect(dc, &rc, (HBRUSH)GetStockObject(BLACK_BRUSH));
            } else {
                FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
            }
            InflateRect(&rc, -1, -1);
            DrawEdge(dc, &rc, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
            HBRUSH brush = CreateSolidBrush((COLORREF)GetWindowLongPtr(h, GWLP_USERDATA));
            FillRect(dc, &rc, brush);
            DeleteObject(brush);
            EndPaint(h, &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN:
            if (IsWindowEnabled(h))
                SendMessage(GetParent(h), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), BN_CLICKED), (LPARAM)h);
            return 0;
        default:
            return DefWindowProc(h, msg, wParam, lParam);
    }
}

void RegisterCellClass() {
    static std::once_flag once;
    std::call_once(once, [] {
        WNDCLASS wc{};
        wc.lpfnWndProc = CellProc;
        wc.lpszClassName = kCellClass;
        RegisterClass(&wc);
    });
}

State* Get(HWND dialog) {
    return reinterpret_cast<State*>(GetWindowLongPtr(dialog, DWLP_USER));
}

void SetCellColor(HWND cell, COLORREF color) {
    SetWindowLongPtr(cell, GWLP_USERDATA, (LONG_PTR)color);
    InvalidateRect(cell, nullptr, TRUE);
}

void Choose(HWND dialog, State* s, int id) {
    if (s->chosenCell == id)
        return;
    if (HWND old = s->chosenCell >= 0 ? GetDlgItem(dialog, s->chosenCell) : nullptr) {
        RemoveProp(old, "chosen");
        InvalidateRect(old, nullptr, TRUE);
    }
    s->chosenCell = id;
    if (HWND cell = id >= 0 ? GetDlgItem(dialog, id) : nullptr) {
        SetProp(cell, "chosen", (HANDLE)1);
        InvalidateRect(cell, nullptr, TRUE);
    }
}

// The colour being defined changes: the sample and, unless they are its source, the fields follow.
void SetCurrent(HWND dialog, State* s, COLORREF color, bool fields) {
    s->current = color & 0x00FFFFFF;
    SetCellColor(GetDlgItem(dialog, COLOR_CURRENT), s->current);
    if (!fields)
        return;
    s->settingFields = true;
    SetDlgItemInt(dialog, COLOR_RED, GetRValue(s->current), FALSE);
    SetDlgItemInt(dialog, COLOR_GREEN, GetGValue(s->current), FALSE);
    SetDlgItemInt(dialog, COLOR_BLUE, GetBValue(s->current), FALSE);
    s->settingFields = false;
}

const int kFullOpenItems[] = {COLOR_CURRENT, COLOR_RED, COLOR_GREEN, COLOR_BLUE, COLOR_ADD,
                              COLOR_RED + 100, COLOR_GREEN + 100, COLOR_BLUE + 100};

void OpenFully(HWND dialog) {
    RECT r{0, 0, kWide, kHeight};
    MapDialogRect(dialog, &r);
    AdjustWindowRectEx(&r, (DWORD)GetWindowLongPtr(dialog, GWL_STYLE), FALSE,
                       (DWORD)GetWindowLongPtr(dialog, GWL_EXSTYLE));
    SetWindowPos(dialog, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
    for (int id : kFullOpenItems)
        ShowWindow(GetDlgItem(dialog, id), SW_SHOW);
    EnableWindow(GetDlgItem(dialog, COLOR_MIX), FALSE);
}

void Init(HWND dialog, State* s) {
    for (int i = 0; i < kBasic; ++i)
        SetCellColor(GetDlgItem(dialog, IDC_COLOR_BASIC_FIRST + i), kBasicColors[i]);
    for (int i = 0; i < kCustom; ++i)
        SetCellColor(GetDlgItem(dialog, IDC_COLOR_CUSTOM_FIRST + i), s->custom[i]);
    COLORREF start = (s->cc->Flags & CC_RGBINIT) ? s->cc->rgbResult : RGB(0, 0, 0);
    SetCurrent(dialog, s, start, true);
    for (int i = 0; i < kBasic && s->chosenCell < 0; ++i)
        if (kBasicColors[i] == s->current)
            Choose(dialog, s, IDC_COLOR_BASIC_FIRST + i);
    for (int i = 0; i < kCustom && s->chosenCell < 0; ++i)
        if (s->custom[i] == s->current)
            Choose(dialog, s, IDC_COLOR_CUSTOM_FIRST + i);
    if (s->cc->Flags & CC_FULLOPEN)
        OpenFully(dialog);
    if (s->cc->Flags & CC_PREVENTFULLOPEN)
        EnableWindow(GetDlgItem(dialog, COLOR_MIX), FALSE);
}

INT_PTR DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    State* s = msg == WM_INITDIALOG ? reinterpret_cast<State*>(lParam) : Get(dialog);
    if (!s)
        return FALSE;
    switch (msg) {
        case WM_INITDIALOG:
            SetWindowLongPtr(dialog, DWLP_USER, lParam);
            Init(dialog, s);
            return TRUE;
        case WM_COMMAND: {
            int id = LOWORD(wParam);
            if (id >= IDC_COLOR_BASIC_FIRST && id < IDC_COLOR_BASIC_FIRST + kBasic) {
                Choose(dialog, s, id);
                SetCurrent(dialog, s, kBasicColors[id - IDC_COLOR_BASIC_FIRST], true);
                return TRUE;
            }
            if (id >= IDC_COLOR_CUSTOM_FIRST && id < IDC_COLOR_CUSTOM_FIRST + kCustom) {
                Choose(dialog, s, id);
                SetCurrent(dialog, s, s->custom[id - IDC_COLOR_CUSTOM_FIRST], true);
                return TRUE;
            }
            if ((id == COLOR_RED || id == COLOR_GREEN || id == COLOR_BLUE) && HIWORD(wParam) == EN_CHANGE) {
                if (s->settingFields)
                    return TRUE;
                // A field's number, kept within 0..255; what is not a number counts as 0.
                auto field = [&](int fid) {
                    int v = (int)GetDlgItemInt(dialog, fid, nullptr, FALSE);
                    return (BYTE)(v < 0 ? 0 : v > 255 ? 255 : v);
                };
                SetCurrent(dialog, s, RGB(field(COLOR_RED), field(COLOR_GREEN), field(COLOR_BLUE)), false);
                return TRUE;
            }
            if (id == COLOR_MIX) {
                OpenFully(dialog);
                return TRUE;
            }
            if (id == COLOR_ADD) {
                int slot = s->chosenCell >= IDC_COLOR_CUSTOM_FIRST ? s->chosenCell - IDC_COLOR_CUSTOM_FIRST
                                                                   : s->nextCustom;
                s->custom[slot] = s->current;
                s->nextCustom = (slot + 1) % kCustom;
                SetCellColor(GetDlgItem(dialog, IDC_COLOR_CUSTOM_FIRST + slot), s->current);
                return TRUE;
            }
            if (id == IDOK || id == IDCANCEL) {
                EndDialog(dialog, id);
                return TRUE;
            }
            return FALSE;
        }
        default:
            return FALSE;
    }
}

DialogTemplate MakeTemplate(bool fullOpen) {
    DialogTemplate t{0,
                     WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER,
                     0,
                     0,
                     0,
                     fullOpen ? kWide : kNarrow,
                     kHeight,
                     "Color",
                     "MS Sans Serif",
                     8,
                     {}};
    t.items.push_back({WC_STATIC, "&Basic colors:", -1, 4, 4, 120, 8, WS_VISIBLE | SS_LEFT, 0});
    for (int i = 0; i < kBasic; ++i)
        t.items.push_back({kCellClass, "", IDC_COLOR_BASIC_FIRST + i, (short)(4 + (i % 8) * 16),
                           (short)(14 + (i / 8) * 13), 14, 11, WS_VISIBLE | WS_TABSTOP, 0});
    t.items.push_back({WC_STATIC, "&Custom colors:", -1, 4, 96, 120, 8, WS_VISIBLE | SS_LEFT, 0});
    for (int i = 0; i < kCustom; ++i)
        t.items.push_back({kCellClass, "", IDC_COLOR_CUSTOM_FIRST + i, (short)(4 + (i % 8) * 16),
                           (short)(106 + (i / 8) * 13), 14, 11, WS_VISIBLE | WS_TABSTOP, 0});
    t.items.push_back(
        {WC_BUTTON, "&Define Custom Colors >>", COLOR_MIX, 4, 138, 126, 14, WS_VISIBLE | WS_TABSTOP, 0});
    t.items.push_back({WC_BUTTON, "OK", IDOK, 4, 160, 40, 14, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0});
    t.items.push_back({WC_BUTTON, "Cancel", IDCANCEL, 48, 160, 40, 14, WS_VISIBLE | WS_TABSTOP, 0});
    // The part shown when the dialog is opened fully.
    t.items.push_back({kCellClass, "", COLOR_CURRENT, 140, 14, 60, 40, 0, 0});
    const char* labels[] = {"&Red:", "&Green:", "Bl&ue:"};
    const int fields[] = {COLOR_RED, COLOR_GREEN, COLOR_BLUE};
    for (int i = 0; i < 3; ++i) {
        t.items.push_back({WC_STATIC, labels[i], fields[i] + 100, 140, (short)(64 + i * 16), 30, 8, SS_LEFT, 0});
        t.items.push_back({WC_EDIT, "", fields[i], 172, (short)(62 + i * 16), 28, 12,
                           WS_TABSTOP | WS_BORDER | ES_NUMBER | ES_AUTOHSCROLL, 0});
    }
    t.items.push_back({WC_BUTTON, "&Add to Custom Colors", COLOR_ADD, 140, 138, 116, 14, WS_TABSTOP, 0});
    return t;
}
}  // namespace

BOOL ChooseColor(LPCHOOSECOLOR cc) {
    if (!cc || cc->lStructSize != sizeof(CHOOSECOLOR)) {
        SetCommDlgExtendedError(CDERR_STRUCTSIZE);
        return FALSE;
    }
    SetCommDlgExtendedError(0);
    RegisterCellClass();
    State state;
    state.cc = cc;
    for (int i = 0; i < kCustom; ++i)
        state.custom[i] = cc->lpCustColors ? cc->lpCustColors[i] & 0x00FFFFFF : RGB(255, 255, 255);
    DialogTemplate t = MakeTemplate(false);
    INT_PTR r = DialogBoxIndirectParam(nullptr, &t, cc->hwndOwner ? cc->hwndOwner : GetActiveWindow(), DialogProc,
                                       (LPARAM)&state);
    if (r != IDOK)
        return FALSE;
    cc->rgbResult = state.current;
    if (cc->lpCustColors)
        for (int i = 0; i < kCustom; ++i)
            cc->lpCustColors[i] = state.custom[i];
    return TRUE;
}
