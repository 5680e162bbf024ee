// The dialog manager: dialogs from templates, the dialog window class, keyboard navigation and
// the modal loop.
#include <algorithm>
#include <cstring>
#include <mutex>

#include "platform/user/Resources.h"
#include "platform/user/UserInternal.h"

using namespace user;

namespace {
struct DialogState {
    HFONT font = nullptr;
    bool ownFont = false;
    int defId = IDOK;
    bool ended = false;
    INT_PTR result = 0;
    HWND lastFocus = nullptr;
};
const int kStateOffset = 40;
thread_local DialogState* t_creating = nullptr;

std::mutex g_moduleMutex;
std::vector<const ResourceModule*> g_modules;

DialogState* State(HWND dialog) {
    return reinterpret_cast<DialogState*>(GetWindowLongPtr(dialog, kStateOffset));
}

bool IsPushButton(HWND h) {
    LRESULT code = SendMessage(h, WM_GETDLGCODE, 0, 0);
    return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

bool IsTabStop(HWND h) {
    DWORD style = (DWORD)GetWindowLongPtr(h, GWL_STYLE);
    return (style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

HWND FirstTabItem(HWND dialog) {
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (IsTabStop(c))
            return c;
    return nullptr;
}

void FocusControl(HWND dialog, HWND control) {
    SetFocus(control ? control : dialog);
    if (control && (SendMessage(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL))
        SendMessage(control, EM_SETSEL, 0, -1);
    (void)dialog;
}

void SendCommand(HWND dialog, int id) {
    HWND ctl = GetDlgItem(dialog, id);
    SendMessage(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)ctl);
}

LRESULT DlgCode(HWND h) {
    return SendMessage(h, WM_GETDLGCODE, 0, 0);
}

bool CanTakeFocus(HWND h) {
    DWORD style = (DWORD)GetWindowLongPtr(h, GWL_STYLE);
    return (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

// Arrow keys on a radio button check the next (or previous) radio button of its group, which runs
// from a WS_GROUP control to the control before the next one; the walk wraps within the group.
bool MoveInRadioGroup(HWND dialog, HWND focus, bool previous) {
    if (!focus || GetParent(focus) != dialog || !(DlgCode(focus) & DLGC_RADIOBUTTON))
        return false;
    std::vector<HWND> group;
    bool inGroup = false;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        bool starts = (GetWindowLongPtr(c, GWL_STYLE) & WS_GROUP) != 0;
        if (starts && inGroup)
            break;
        if (starts)
            group.clear();
        if (c == focus)
            inGroup = true;
        group.push_back(c);
    }
    auto at = std::find(group.begin(), group.end(), focus);
    if (at == group.end())
        return false;
    size_t n = group.size(), i = (size_t)(at - group.begin());
    for (size_t step = 1; step < n; ++step) {
        HWND next = group[previous ? (i + n - step) % n : (i + step) % n];
        if (CanTakeFocus(next) && (DlgCode(next) & DLGC_RADIOBUTTON)) {
            SetFocus(next);
            SendMessage(next, BM_CLICK, 0, 0);
            return true;
        }
    }
    return true;  // the only radio button of its group: the key is used up
}

// The letter after a single '&' in a control's text, upper-cased; 0 when it has none.
char MnemonicOf(HWND h) {
    DWORD style = (DWORD)GetWindowLongPtr(h, GWL_STYLE);
    char cls[32];
    GetClassName(h, cls, sizeof cls);
    if (AsciiCompareNoCase(cls, WC_STATIC) == 0 && (style & SS_NOPREFIX))
        return 0;
    CString text = GetWindowTextString(h);
    for (int i = 0; i + 1 < text.GetLength(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] != '&')
            return AsciiUpper(text[i + 1]);
        ++i;
    }
    return 0;
}

// Alt plus the '&' letter of a control's text: a label (or group box) gives the focus to the control
// after it; a button is focused and clicked. Searched from the control after the focus, wrapping.
bool RunMnemonic(HWND dialog, HWND focus, char letter) {
    std::vector<HWND> items;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        items.push_back(c);
    size_t n = items.size(), start = 0;
    for (size_t i = 0; i < n; ++i)
        if (items[i] == focus || IsChild(items[i], focus))
            start = i + 1;
    for (size_t step = 0; step < n; ++step) {
        size_t i = (start + step) % n;
        HWND c = items[i];
        if (!(GetWindowLongPtr(c, GWL_STYLE) & WS_VISIBLE) || MnemonicOf(c) != letter)
            continue;
        LRESULT code = DlgCode(c);
        if (code & DLGC_STATIC) {
            for (size_t k = i + 1; k < n; ++k)
                if (CanTakeFocus(items[k]) && !(DlgCode(items[k]) & DLGC_STATIC)) {
                    FocusControl(dialog, items[k]);
                    return true;
                }
            return true;
        }
        if (!CanTakeFocus(c))
            continue;
        if (code & DLGC_BUTTON) {
            SetFocus(c);
            SendMessage(c, BM_CLICK, 0, 0);
        } else {
            FocusControl(dialog, c);
        }
        return true;
    }
    return false;
}

LRESULT DialogWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE && t_creating) {
        SetWindowLongPtr(hwnd, kStateOffset, (LONG_PTR)t_creating);
        t_creating = nullptr;
    }
    DLGPROC proc = (DLGPROC)GetWindowLongPtr(hwnd, DWLP_DLGPROC);
    if (proc) {
        SetWindowLongPtr(hwnd, DWLP_MSGRESULT, 0);
        INT_PTR r = proc(hwnd, msg, wParam, lParam);
        if (r) {
            switch (msg) {
                case WM_CTLCOLORMSGBOX:
                case WM_CTLCOLOREDIT:
                case WM_CTLCOLORLISTBOX:
                case WM_CTLCOLORBTN:
                case WM_CTLCOLORDLG:
                case WM_CTLCOLORSCROLLBAR:
                case WM_CTLCOLORSTATIC:
                case WM_INITDIALOG:
                    return r;
                default:
                    return GetWindowLongPtr(hwnd, DWLP_MSGRESULT);
            }
        }
        if (!IsWindow(hwnd))
            return 0;
    }
    return DefDlgProc(hwnd, msg, wParam, lParam);
}
}  // namespace

namespace user {
void RegisterDialogClass() {
    WNDCLASSEX wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_SAVEBITS | CS_DBLCLKS;
    wc.lpfnWndProc = DialogWndProc;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.lpszClassName = WC_DIALOG;
    RegisterSystemClass(wc);
}
}  // namespace user

LRESULT DefDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    DialogState* st = State(dialog);
    switch (msg) {
        case WM_ERASEBKGND: {
            HBRUSH brush = (HBRUSH)SendMessage(dialog, WM_CTLCOLORDLG, wParam, (LPARAM)dialog);
            if (!brush)
                brush = GetSysColorBrush(COLOR_3DFACE);
            RECT rc;
            GetClientRect(dialog, &rc);
            FillRect((HDC)wParam, &rc, brush);
            return 1;
        }
        case WM_CLOSE:
            SendCommand(dialog, IDCANCEL);
            return 0;
        case WM_ACTIVATE:
            if (!st)
                break;
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND f = GetFocus();
                if (f && IsChild(dialog, f))
                    st->lastFocus = f;
            } else if (HWND now = GetFocus(); !now || !IsChild(dialog, now)) {
                // A control that has the focus already keeps it (the dialog set it before it was activated).
                HWND f = st->lastFocus && IsWindow(st->lastFocus) ? st->lastFocus : FirstTabItem(dialog);
                FocusControl(dialog, f);
            }
            return 0;
        case WM_SETFOCUS: {
            HWND f = st && st->lastFocus && IsWindow(st->lastFocus) ? st->lastFocus : FirstTabItem(dialog);
            if (f)
                SetFocus(f);
            return 0;
        }
        case WM_NEXTDLGCTL: {
            HWND target = lParam ? (HWND)wParam : GetNextDlgTabItem(dialog, GetFocus(), wParam != 0);
            if (target)
                FocusControl(dialog, target);
            return 0;
        }
        case WM_GETFONT:
            return st ? (LRESULT)st->font : 0;
        case WM_SETFONT:
            if (st && !st->font)
                st->font = (HFONT)wParam;
            return 0;
        case DM_GETDEFID:
            return st ? MAKELRESULT(st->defId, DC_HASDEFID) : 0;
        case DM_SETDEFID:
            if (st)
                st->defId = (int)wParam;
            return TRUE;
        case WM_NCDESTROY:
            if (st) {
                SetWindowLongPtr(dialog, kStateOffset, 0);
                if (st->ownFont)
                    DeleteObject(st->font);
                delete st;
            }
            return DefWindowProc(dialog, msg, wParam, lParam);
        default:
            break;
    }
    return DefWindowProc(dialog, msg, wParam, lParam);
}

void AddResourceModule(const ResourceModule* module) {
    std::lock_guard<std::mutex> g(g_moduleMutex);
    if (module && std::find(g_modules.begin(), g_modules.end(), module) == g_modules.end())
        g_modules.insert(g_modules.begin(), module);
}

void RemoveResourceModule(const ResourceModule* module) {
    std::lock_guard<std::mutex> g(g_moduleMutex);
    g_modules.erase(std::remove(g_modules.begin(), g_modules.end(), module), g_modules.end());
}

const DialogTemplate* FindDialogTemplate(UINT id) {
    std::lock_guard<std::mutex> g(g_moduleMutex);
    for (const ResourceModule* m : g_modules)
        if (const DialogTemplate* t = m->FindDialog(id))
            return t;
    return nullptr;
}

const MenuTemplate* FindMenuTemplate(UINT id) {
    std::lock_guard<std::mutex> g(g_moduleMutex);
    for (const ResourceModule* m : g_modules)
        if (const MenuTemplate* t = m->FindMenu(id))
            return t;
    return nullptr;
}

const AcceleratorTemplate* FindAcceleratorTemplate(UINT id) {
    std::lock_guard<std::mutex> g(g_moduleMutex);
    for (const ResourceModule* m : g_modules)
        if (const AcceleratorTemplate* t = m->FindAccelerators(id))
            return t;
    return nullptr;
}

const ToolbarTemplate* FindToolbarTemplate(UINT id) {
    std::lock_guard<std::mutex> g(g_moduleMutex);
    for (const ResourceModule* m : g_modules)
        if (const ToolbarTemplate* t = m->FindToolbar(id))
            return t;
    return nullptr;
}

const BitmapResource* FindBitmapResource(UINT id) {
    std::lock_guard<std::mutex> g(g_moduleMutex);
    for (const ResourceModule* m : g_modules)
        if (const BitmapResource* b = m->FindBitmap(id))
            return b;
    return nullptr;
}

const BitmapResource* FindIconResource(UINT id) {
    std::lock_guard<std::mutex> g(g_moduleMutex);
    for (const ResourceModule* m : g_modules)
        if (const BitmapResource* b = m->FindIcon(id))
            return b;
    return nullptr;
}

const BitmapResource* FindCursorResource(UINT id) {
    std::lock_guard<std::mutex> g(g_moduleMutex);
    for (const ResourceModule* m : g_modules)
        if (const BitmapResource* b = m->FindCursor(id))
            return b;
    return nullptr;
}

int LoadString(HINSTANCE instance, UINT id, LPTSTR buffer, int size) {
    if (!buffer || size <= 0)
        return 0;
    const char* s = nullptr;
    {
        // An instance that is a registered module looks in that module only; any other, in all of them.
        std::lock_guard<std::mutex> g(g_moduleMutex);
        const auto* named = reinterpret_cast<const ResourceModule*>(instance);
        bool isModule = named && std::find(g_modules.begin(), g_modules.end(), named) != g_modules.end();
        for (const ResourceModule* m : g_modules)
            if ((!isModule || m == named) && (s = m->FindString(id)))
                break;
    }
    if (!s) {
        buffer[0] = 0;
        return 0;
    }
    int n = std::min((int)std::strlen(s), size - 1);
    std::memcpy(buffer, s, (size_t)n);
    buffer[n] = 0;
    return n;
}

HFONT CreateDialogFont(const DialogTemplate* tmpl) {
    if (!tmpl || !(tmpl->style & DS_SETFONT) || !tmpl->fontFace)
        return (HFONT)GetStockObject(SYSTEM_FONT);
    return CreateFont(-MulDiv(tmpl->pointSize, 96, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0,
                      0, tmpl->fontFace);
}

HWND CreateDialogIndirectParam(HINSTANCE instance, const DialogTemplate* tmpl, HWND parent, DLGPROC proc,
                               LPARAM param) {
    if (!tmpl) {
        SetLastError(1812);  // ERROR_RESOURCE_DATA_NOT_FOUND
        return nullptr;
    }
    auto* st = new DialogState;
    st->font = CreateDialogFont(tmpl);
    st->ownFont = (tmpl->style & DS_SETFONT) && tmpl->fontFace;
    SIZE base = GetFontBaseUnits(st->font);
    auto dx = [&](int v) { return MulDiv(v, base.cx, 4); };
    auto dy = [&](int v) { return MulDiv(v, base.cy, 8); };
    DWORD style = tmpl->style;
    RECT rc{0, 0, dx(tmpl->cx), dy(tmpl->cy)};
    AdjustWindowRectForOwner(&rc, style, tmpl->exStyle | ((style & DS_MODALFRAME) ? WS_EX_DLGMODALFRAME : 0),
                             parent ? GetAncestor(parent, GA_ROOT) : nullptr);
    int width = rc.right - rc.left, height = rc.bottom - rc.top;
    int x, y;
    HWND owner = parent;
    if (style & WS_CHILD) {
        x = dx(tmpl->x);
        y = dy(tmpl->y);
    } else if (style & DS_CENTER) {
        RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        if (owner)
            GetWindowRect(GetAncestor(owner, GA_ROOT), &area);
        x = area.left + (area.right - area.left - width) / 2;
        y = area.top + (area.bottom - area.top - height) / 2;
    } else {
        POINT o{0, 0};
        if (owner)
            ClientToScreen(GetAncestor(owner, GA_ROOT), &o);
        x = o.x + dx(tmpl->x);
        y = o.y + dy(tmpl->y);
    }
    t_creating = st;
    DWORD exStyle = tmpl->exStyle | ((style & DS_MODALFRAME) ? WS_EX_DLGMODALFRAME : 0) | WS_EX_CONTROLPARENT;
    HWND hwnd =
        CreateWindowEx(exStyle, WC_DIALOG, tmpl->caption, style & ~WS_VISIBLE, x, y, width, height, owner,
                       (style & WS_CHILD) ? (HMENU)(UINT_PTR)tmpl->id : nullptr, instance, (LPVOID)param);
    if (t_creating) {
        // The window never reached WM_NCCREATE.
        t_creating = nullptr;
        if (st->ownFont)
            DeleteObject(st->font);
        delete st;
        return nullptr;
    }
    if (!hwnd)
        return nullptr;
    // The dialog procedure hears of the dialog from WM_SETFONT on, not of its window's creation.
    SetWindowLongPtr(hwnd, DWLP_DLGPROC, (LONG_PTR)proc);
    SendMessage(hwnd, WM_SETFONT, (WPARAM)st->font, FALSE);
    HWND firstTab = nullptr;
    for (const DialogItemTemplate& item : tmpl->items) {
        DWORD cstyle = item.style | WS_CHILD;
        DWORD cexStyle = item.exStyle | WS_EX_NOPARENTNOTIFY;
        // Dialogs have the three-dimensional look: a bordered control gets the sunken client edge.
        if (cstyle & WS_BORDER) {
            cstyle &= ~WS_BORDER;
            cexStyle |= WS_EX_CLIENTEDGE;
        }
        HWND ctl = CreateWindowEx(cexStyle, item.className, item.text, cstyle, dx(item.x), dy(item.y),
                                  dx(item.cx), dy(item.cy), hwnd, (HMENU)(INT_PTR)item.id, instance, nullptr);
        if (!ctl) {
            DestroyWindow(hwnd);
            return nullptr;
        }
        SendMessage(ctl, WM_SETFONT, (WPARAM)st->font, FALSE);
        if (AsciiCompareNoCase(item.className, WC_BUTTON) == 0 &&
            (item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            st->defId = item.id;
        if (!firstTab && IsTabStop(ctl))
            firstTab = ctl;
    }
    if (!IsWindow(hwnd))
        return nullptr;
    if (SendMessage(hwnd, WM_INITDIALOG, (WPARAM)firstTab, param) && IsWindow(hwnd))
        FocusControl(hwnd, FirstTabItem(hwnd));
    if (IsWindow(hwnd) && (tmpl->style & WS_VISIBLE))
        ShowWindow(hwnd, SW_SHOWNORMAL);
    return IsWindow(hwnd) ? hwnd : nullptr;
}

HWND CreateDialogParam(HINSTANCE instance, LPCTSTR name, HWND parent, DLGPROC proc, LPARAM param) {
    if (!IS_INTRESOURCE(name))
        return nullptr;
    return CreateDialogIndirectParam(instance, FindDialogTemplate((UINT)(uintptr_t)name), parent, proc,
                                     param);
}

INT_PTR DialogBoxIndirectParam(HINSTANCE instance, const DialogTemplate* tmpl, HWND parent, DLGPROC proc,
                               LPARAM param) {
    HWND ownerTop = parent ? GetAncestor(parent, GA_ROOT) : nullptr;
    bool disabledOwner = false;
    if (ownerTop && IsWindowEnabled(ownerTop)) {
        EnableWindow(ownerTop, FALSE);
        disabledOwner = true;
    }
    HWND dlg = CreateDialogIndirectParam(instance, tmpl, parent, proc, param);
    if (!dlg) {
        if (disabledOwner)
            EnableWindow(ownerTop, TRUE);
        return -1;
    }
    DialogState* st = State(dlg);
    if (!st->ended)
        ShowWindow(dlg, SW_SHOW);
    bool quit = false;
    int quitCode = 0;
    while (IsWindow(dlg) && !State(dlg)->ended) {
        MSG msg;
        if (!GetMessage(&msg, nullptr, 0, 0)) {
            quit = true;
            quitCode = (int)msg.wParam;
            break;
        }
        if (CallMsgFilter(&msg, MSGF_DIALOGBOX))
            continue;
        if (!IsDialogMessage(dlg, &msg)) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
    }
    INT_PTR result = IsWindow(dlg) ? State(dlg)->result : IDCANCEL;
    // The owner is enabled before the dialog goes, so activation returns to it.
    if (disabledOwner && IsWindow(ownerTop))
        EnableWindow(ownerTop, TRUE);
    if (IsWindow(dlg))
        DestroyWindow(dlg);
    if (quit)
        PostQuitMessage(quitCode);
    return result;
}

INT_PTR DialogBoxParam(HINSTANCE instance, LPCTSTR name, HWND parent, DLGPROC proc, LPARAM param) {
    if (!IS_INTRESOURCE(name))
        return -1;
    return DialogBoxIndirectParam(instance, FindDialogTemplate((UINT)(uintptr_t)name), parent, proc, param);
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    DialogState* st = IsWindow(dialog) ? State(dialog) : nullptr;
    if (!st)
        return FALSE;
    st->ended = true;
    st->result = result;
    PostMessage(dialog, WM_NULL, 0, 0);  // wakes the modal loop
    return TRUE;
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
    std::vector<HWND> items;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (IsTabStop(c))
            items.push_back(c);
    if (items.empty())
        return nullptr;
    auto it = std::find(items.begin(), items.end(), control);
    if (it == items.end())
        return previous ? items.back() : items.front();
    size_t i = (size_t)(it - items.begin());
    return previous ? items[(i + items.size() - 1) % items.size()] : items[(i + 1) % items.size()];
}

BOOL IsDialogMessage(HWND dialog, LPMSG msg) {
    if (!msg || !IsWindow(dialog))
        return FALSE;
    if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd))
        return FALSE;
    HWND focus = GetFocus();
    // The window a key is for says which keys it keeps.
    bool key = msg->message == WM_KEYDOWN || msg->message == WM_CHAR || msg->message == WM_SYSCHAR;
    LRESULT code = key ? SendMessage(msg->hwnd, WM_GETDLGCODE, msg->wParam, (LPARAM)msg) : 0;
    if (msg->message == WM_KEYDOWN && !(code & DLGC_WANTALLKEYS)) {
        switch (msg->wParam) {
            case VK_TAB:
                if (code & DLGC_WANTTAB)
                    break;
                if (HWND next = GetNextDlgTabItem(dialog, focus, (GetKeyState(VK_SHIFT) & 0x8000) != 0))
                    FocusControl(dialog, next);
                return TRUE;
            case VK_ESCAPE: {
                HWND cancel = GetDlgItem(dialog, IDCANCEL);
                // A hidden Cancel button still answers the Escape key; a disabled one does not.
                if (cancel && !IsWindowEnabled(cancel)) {
                    MessageBeep(0);
                    return TRUE;
                }
                SendCommand(dialog, IDCANCEL);
                return TRUE;
            }
            case VK_RETURN: {
                int id;
                if (focus && IsChild(dialog, focus) && IsPushButton(focus))
                    id = GetDlgCtrlID(focus);
                else
                    id = LOWORD(SendMessage(dialog, DM_GETDEFID, 0, 0));
                HWND button = GetDlgItem(dialog, id);
                if (button && !IsWindowEnabled(button)) {
                    MessageBeep(0);
                    return TRUE;
                }
                SendCommand(dialog, id);
                return TRUE;
            }
            case VK_LEFT:
            case VK_UP:
            case VK_RIGHT:
            case VK_DOWN:
                if (!(code & DLGC_WANTARROWS) &&
                    MoveInRadioGroup(dialog, focus, msg->wParam == VK_LEFT || msg->wParam == VK_UP))
                    return TRUE;
                break;
            default:
                break;
        }
    }
    if (msg->message == WM_SYSKEYDOWN &&
        ((msg->wParam >= 'A' && msg->wParam <= 'Z') || (msg->wParam >= '0' && msg->wParam <= '9'))) {
        if (RunMnemonic(dialog, focus, (char)msg->wParam))
            return TRUE;
    }
    if (msg->message == WM_CHAR && !(code & (DLGC_WANTALLKEYS | DLGC_WANTCHARS)) &&
        (msg->wParam == '\t' || msg->wParam == '\r' || msg->wParam == 0x1B))
        return TRUE;
    TranslateMessage(msg);
    DispatchMessage(msg);
    return TRUE;
}

BOOL SetDlgItemText(HWND dialog, int id, LPCTSTR text) {
    HWND h = GetDlgItem(dialog, id);
    return h ? SetWindowText(h, text) : FALSE;
}

UINT GetDlgItemText(HWND dialog, int id, LPTSTR buffer, int size) {
    HWND h = GetDlgItem(dialog, id);
    if (!h) {
        if (buffer && size > 0)
            buffer[0] = 0;
        return 0;
    }
    return (UINT)GetWindowText(h, buffer, size);
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
    char text[32];
    if (isSigned)
        std::snprintf(text, sizeof text, "%d", (int)value);
    else
        std::snprintf(text, sizeof text, "%u", value);
    return SetDlgItemText(dialog, id, text);
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
    char text[64];
    GetDlgItemText(dialog, id, text, sizeof text);
    char* p = text;
    while (*p == ' ')
        ++p;
    bool negative = false;
    if (isSigned && *p == '-') {
        negative = true;
        ++p;
    }
    if (*p < '0' || *p > '9') {
        if (translated)
            *translated = FALSE;
        return 0;
    }
    unsigned long long v = 0;
    bool overflow = false;
    for (; *p >= '0' && *p <= '9'; ++p) {
        v = v * 10 + (unsigned)(*p - '0');
        if (v > (isSigned ? 0x80000000ull : 0xFFFFFFFFull))
            overflow = true;
    }
    while (*p == ' ')
        ++p;
    if (overflow || *p || (isSigned && !negative && v > 0x7FFFFFFFull)) {
        if (translated)
            *translated = FALSE;
        return 0;
    }
    if (translated)
        *translated = TRUE;
    return negative ? (UINT)(-(long long)v) : (UINT)v;
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
    HWND h = GetDlgItem(dialog, id);
    if (!h)
        return FALSE;
    SendMessage(h, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    HWND h = GetDlgItem(dialog, id);
    return h ? (UINT)SendMessage(h, BM_GETCHECK, 0, 0) : 0;
}

LRESULT SendDlgItemMessage(HWND dialog, int id, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND h = GetDlgItem(dialog, id);
    return h ? SendMessage(h, msg, wParam, lParam) : 0;
}

BOOL MapDialogRect(HWND dialog, LPRECT rc) {
    if (!rc)
        return FALSE;
    HFONT font = (HFONT)SendMessage(dialog, WM_GETFONT, 0, 0);
    SIZE base = GetFontBaseUnits(font);
    rc->left = MulDiv(rc->left, base.cx, 4);
    rc->right = MulDiv(rc->right, base.cx, 4);
    rc->top = MulDiv(rc->top, base.cy, 8);
    rc->bottom = MulDiv(rc->bottom, base.cy, 8);
    return TRUE;
}

LONG GetDialogBaseUnits() {
    SIZE base = GetFontBaseUnits((HFONT)GetStockObject(SYSTEM_FONT));
    return MAKELONG(base.cx, base.cy);
}
