// The "Edit" class (single line): typing, caret, selection, limits, Classic look.
#include <algorithm>
#include <string>

#include "platform/base/String.h"
#include "platform/user/Controls.h"
#include "platform/user/UserInternal.h"

namespace {
struct EditState {
    HFONT font = nullptr;
    std::string text;
    int selStart = 0;  // anchor
    int selEnd = 0;    // caret
    int limit = 30000;
    bool modified = false;
    int scroll = 0;  // first visible character
};

EditState* State(HWND h) {
    return reinterpret_cast<EditState*>(GetWindowLongPtr(h, 0));
}
DWORD Style(HWND h) {
    return (DWORD)GetWindowLongPtr(h, GWL_STYLE);
}

void Notify(HWND h, WORD code) {
    HWND parent = GetParent(h);
    if (parent)
        SendMessage(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), code), (LPARAM)h);
}

// The window text mirrors the edit's text, so WM_GETTEXT and captions agree.
void SyncText(HWND h) {
    DefWindowProc(h, WM_SETTEXT, 0, (LPARAM)State(h)->text.c_str());
}

void ReplaceSelection(HWND h, const std::string& insert, bool notify) {
    EditState* st = State(h);
    int a = std::min(st->selStart, st->selEnd), b = std::max(st->selStart, st->selEnd);
    std::string add = insert;
    DWORD style = Style(h);
    if (style & ES_UPPERCASE)
        for (char& c : add)
            c = AsciiUpper(c);
    if (style & ES_LOWERCASE)
        for (char& c : add)
            c = AsciiLower(c);
    int room = st->limit - ((int)st->text.size() - (b - a));
    if (room < (int)add.size()) {
        add.resize((size_t)std::max(0, room));
        if (notify)
            Notify(h, EN_MAXTEXT);
    }
    st->text.replace((size_t)a, (size_t)(b - a), add);
    st->selStart = st->selEnd = a + (int)add.size();
    st->modified = true;
    SyncText(h);
    InvalidateRect(h, nullptr, TRUE);
    if (notify) {
        Notify(h, EN_UPDATE);
        Notify(h, EN_CHANGE);
    }
}

std::string Shown(HWND h) {
    EditState* st = State(h);
    return (Style(h) & ES_PASSWORD) ? std::string(st->text.size(), '*') : st->text;
}

void Paint(HWND h, HDC dc) {
    EditState* st = State(h);
    RECT rc;
    GetClientRect(h, &rc);
    bool readOnly = (Style(h) & ES_READONLY) || !IsWindowEnabled(h);
    HBRUSH bg = user::ControlColor(h, dc, readOnly ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
    FillRect(dc, &rc, bg ? bg : GetSysColorBrush(COLOR_WINDOW));
    HGDIOBJ oldFont = SelectObject(dc, st->font ? st->font : GetStockObject(SYSTEM_FONT));
    std::string shown = Shown(h);
    SIZE ext;
    auto width = [&](int n) {
        GetTextExtentPoint32(dc, shown.c_str() + st->scroll, std::max(0, n - st->scroll), &ext);
        return (int)ext.cx;
    };
    // Keep the caret in view.
    int avail = rc.right - 2;
    if (st->selEnd < st->scroll)
        st->scroll = st->selEnd;
    while (st->scroll < st->selEnd && width(st->selEnd) > avail)
        ++st->scroll;
    TEXTMETRIC tm;
    GetTextMetrics(dc, &tm);
    int y = (rc.bottom - tm.tmHeight) / 2;
    if (!IsWindowEnabled(h))
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    SetBkMode(dc, TRANSPARENT);
    TextOut(dc, 1, y, shown.c_str() + st->scroll, (int)shown.size() - st->scroll);
    bool focused = GetFocus() == h;
    int a = std::min(st->selStart, st->selEnd), b = std::max(st->selStart, st->selEnd);
    if (focused && a != b) {
        int x0 = 1 + width(std::max(a, st->scroll)), x1 = 1 + width(b);
        RECT sel{x0, y, x1, y + tm.tmHeight};
        FillRect(dc, &sel, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        int from = std::max(a, st->scroll);
        TextOut(dc, x0, y, shown.c_str() + from, b - from);
    }
    if (focused && a == b) {
        int x = 1 + width(st->selEnd);
        RECT caret{x, y, x + 1, y + tm.tmHeight};
        FillRect(dc, &caret, GetSysColorBrush(COLOR_WINDOWTEXT));
    }
    SelectObject(dc, oldFont);
}

LRESULT EditProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    EditState* st = State(h);
    switch (msg) {
        case WM_NCCREATE: {
            auto* s = new EditState;
            auto* cs = reinterpret_cast<CREATESTRUCT*>(lParam);
            if (cs->lpszName && !IS_INTRESOURCE(cs->lpszName))
                s->text = cs->lpszName;
            SetWindowLongPtr(h, 0, (LONG_PTR)s);
            break;
        }
        case WM_NCDESTROY:
            delete st;
            SetWindowLongPtr(h, 0, 0);
            break;
        case WM_SETFONT:
            if (st)
                st->font = (HFONT)wParam;
            if (lParam)
                InvalidateRect(h, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return st ? (LRESULT)st->font : 0;
        case WM_GETDLGCODE:
            return DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, &ps);
            Paint(h, dc);
            EndPaint(h, &ps);
            return 0;
        }
        case WM_SETTEXT: {
            st->text = lParam ? reinterpret_cast<LPCTSTR>(lParam) : "";
            if ((int)st->text.size() > st->limit)
                st->text.resize((size_t)st->limit);
            st->selStart = st->selEnd = 0;
            st->scroll = 0;
            st->modified = false;
            SyncText(h);
            InvalidateRect(h, nullptr, TRUE);
            Notify(h, EN_UPDATE);
            Notify(h, EN_CHANGE);
            return TRUE;
        }
        case WM_CHAR: {
            if (Style(h) & ES_READONLY)
                return 0;
            unsigned char c = (unsigned char)wParam;
            if (c == 0x08) {
                if (st->selStart == st->selEnd && st->selEnd > 0)
                    st->selStart = st->selEnd - 1;
                if (st->selStart != st->selEnd)
                    ReplaceSelection(h, "", true);
                return 0;
            }
            if (c < 0x20 || c == 0x7F)
                return 0;
            if ((Style(h) & ES_NUMBER) && (c < '0' || c > '9')) {
                MessageBeep(0);
                return 0;
            }
            ReplaceSelection(h, std::string(1, (char)c), true);
            return 0;
        }
        case WM_KEYDOWN: {
            int n = (int)st->text.size();
            bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
            int caret = st->selEnd;
            switch (wParam) {
                case VK_LEFT:
                    caret = std::max(0, caret - 1);
                    break;
                case VK_RIGHT:
                    caret = std::min(n, caret + 1);
                    break;
                case VK_HOME:
                    caret = 0;
                    break;
                case VK_END:
                    caret = n;
                    break;
                case VK_DELETE:
                    if (Style(h) & ES_READONLY)
                        return 0;
                    if (st->selStart == st->selEnd && st->selEnd < n)
                        st->selEnd = st->selEnd + 1;
                    if (st->selStart != st->selEnd)
                        ReplaceSelection(h, "", true);
                    return 0;
                default:
                    return 0;
            }
            st->selEnd = caret;
            if (!shift)
                st->selStart = caret;
            InvalidateRect(h, nullptr, TRUE);
            return 0;
        }
        case WM_LBUTTONDOWN:
            SetFocus(h);
            return 0;
        case WM_SETFOCUS:
            InvalidateRect(h, nullptr, TRUE);
            Notify(h, EN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            InvalidateRect(h, nullptr, TRUE);
            Notify(h, EN_KILLFOCUS);
            return 0;
        case WM_ENABLE:
            InvalidateRect(h, nullptr, TRUE);
            return 0;
        case EM_GETSEL: {
            DWORD a = (DWORD)std::min(st->selStart, st->selEnd),
                  b = (DWORD)std::max(st->selStart, st->selEnd);
            if (wParam)
                *reinterpret_cast<DWORD*>(wParam) = a;
            if (lParam)
                *reinterpret_cast<DWORD*>(lParam) = b;
            return MAKELRESULT(a, b);
        }
        case EM_SETSEL: {
            int n = (int)st->text.size();
            int a = (int)(LONG)wParam, b = (int)(LONG)lParam;
            if (a == -1) {
                st->selStart = st->selEnd;
            } else {
                if (b < 0 || b > n)
                    b = n;
                if (a < 0 || a > n)
                    a = n;
                st->selStart = a;
                st->selEnd = b;
            }
            InvalidateRect(h, nullptr, TRUE);
            return 0;
        }
        case EM_REPLACESEL:
            ReplaceSelection(h, lParam ? reinterpret_cast<LPCTSTR>(lParam) : "", false);
            return 0;
        case EM_LIMITTEXT:
            st->limit = wParam ? (int)std::min<WPARAM>(wParam, 0x7FFFFFFE) : 0x7FFFFFFE;
            return 0;
        case EM_GETLIMITTEXT:
            return st->limit;
        case EM_GETMODIFY:
            return st->modified;
        case EM_SETMODIFY:
            st->modified = wParam != 0;
            return 0;
        case EM_SETREADONLY: {
            DWORD s = Style(h);
            SetWindowLongPtr(h, GWL_STYLE, wParam ? (s | ES_READONLY) : (s & ~(DWORD)ES_READONLY));
            InvalidateRect(h, nullptr, TRUE);
            return TRUE;
        }
        default:
            break;
    }
    return DefWindowProc(h, msg, wParam, lParam);
}
}  // namespace

namespace user {
void RegisterEditClass() {
    RegisterControlClass(WC_EDIT, EditProc, CS_DBLCLKS | CS_PARENTDC);
}
}  // namespace user
