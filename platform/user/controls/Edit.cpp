// The "Edit" class (single line): typing, caret, selection, limits, Classic look.
#include <algorithm>
#include <string>

#include "platform/base/String.h"
#include "platform/user/Controls.h"
#include "platform/user/UserInternal.h"
#include "platform/user/controls/ControlProc.h"

namespace {
class Edit : public user::Control {
public:
    explicit Edit(HWND h) : Control(h, kPaints | kKeepsFont | kRepaints) {}
    LRESULT Proc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    // The window text mirrors the edit's text, so WM_GETTEXT and captions agree.
    void SyncText() { DefWindowProc(m_h, WM_SETTEXT, 0, (LPARAM)m_text.c_str()); }
    void ReplaceSelection(const std::string& insert, bool notify);
    std::string Shown() const;
    void Paint(HDC dc) override;
    LRESULT SetText(LPCTSTR text);
    void OnChar(unsigned char c);
    void OnKeyDown(WPARAM vk);
    LRESULT SetSelection(int a, int b);

    std::string m_text;
    int m_selStart = 0;  // anchor
    int m_selEnd = 0;    // caret
    int m_limit = 30000;
    bool m_modified = false;
    int m_scroll = 0;  // first visible character
};

void Edit::ReplaceSelection(const std::string& insert, bool notify) {
    int a = std::min(m_selStart, m_selEnd), b = std::max(m_selStart, m_selEnd);
    std::string add = insert;
    DWORD style = Style();
    if (style & ES_UPPERCASE)
        for (char& c : add)
            c = AsciiUpper(c);
    if (style & ES_LOWERCASE)
        for (char& c : add)
            c = AsciiLower(c);
    int room = m_limit - ((int)m_text.size() - (b - a));
    if (room < (int)add.size()) {
        add.resize((size_t)std::max(0, room));
        if (notify)
            Command(EN_MAXTEXT);
    }
    m_text.replace((size_t)a, (size_t)(b - a), add);
    m_selStart = m_selEnd = a + (int)add.size();
    m_modified = true;
    SyncText();
    InvalidateRect(m_h, nullptr, TRUE);
    if (notify) {
        Command(EN_UPDATE);
        Command(EN_CHANGE);
    }
}

std::string Edit::Shown() const {
    return (Style() & ES_PASSWORD) ? std::string(m_text.size(), '*') : m_text;
}

void Edit::Paint(HDC dc) {
    RECT rc;
    GetClientRect(m_h, &rc);
    bool readOnly = (Style() & ES_READONLY) || !IsWindowEnabled(m_h);
    HBRUSH bg = user::ControlColor(m_h, dc, readOnly ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
    FillRect(dc, &rc, bg ? bg : GetSysColorBrush(COLOR_WINDOW));
    HGDIOBJ oldFont = SelectObject(dc, FontOr(SYSTEM_FONT));
    std::string shown = Shown();
    SIZE ext;
    auto width = [&](int n) {
        GetTextExtentPoint32(dc, shown.c_str() + m_scroll, std::max(0, n - m_scroll), &ext);
        return (int)ext.cx;
    };
    // Keep the caret in view.
    int avail = rc.right - 2;
    if (m_selEnd < m_scroll)
        m_scroll = m_selEnd;
    while (m_scroll < m_selEnd && width(m_selEnd) > avail)
        ++m_scroll;
    TEXTMETRIC tm;
    GetTextMetrics(dc, &tm);
    int y = (rc.bottom - tm.tmHeight) / 2;
    if (!IsWindowEnabled(m_h))
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    SetBkMode(dc, TRANSPARENT);
    TextOut(dc, 1, y, shown.c_str() + m_scroll, (int)shown.size() - m_scroll);
    bool focused = GetFocus() == m_h;
    int a = std::min(m_selStart, m_selEnd), b = std::max(m_selStart, m_selEnd);
    if (focused && a != b) {
        int x0 = 1 + width(std::max(a, m_scroll)), x1 = 1 + width(b);
        RECT sel{x0, y, x1, y + tm.tmHeight};
        FillRect(dc, &sel, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        int from = std::max(a, m_scroll);
        TextOut(dc, x0, y, shown.c_str() + from, b - from);
    }
    if (focused && a == b) {
        int x = 1 + width(m_selEnd);
        RECT caret{x, y, x + 1, y + tm.tmHeight};
        FillRect(dc, &caret, GetSysColorBrush(COLOR_WINDOWTEXT));
    }
    SelectObject(dc, oldFont);
}

LRESULT Edit::SetText(LPCTSTR text) {
    m_text = text ? text : "";
    if ((int)m_text.size() > m_limit)
        m_text.resize((size_t)m_limit);
    m_selStart = m_selEnd = 0;
    m_scroll = 0;
    m_modified = false;
    SyncText();
    InvalidateRect(m_h, nullptr, TRUE);
    Command(EN_UPDATE);
    Command(EN_CHANGE);
    return TRUE;
}

void Edit::OnChar(unsigned char c) {
    if (Style() & ES_READONLY)
        return;
    if (c == 0x08) {
        if (m_selStart == m_selEnd && m_selEnd > 0)
            m_selStart = m_selEnd - 1;
        if (m_selStart != m_selEnd)
            ReplaceSelection("", true);
        return;
    }
    if (c < 0x20 || c == 0x7F)
        return;
    if ((Style() & ES_NUMBER) && (c < '0' || c > '9')) {
        MessageBeep(0);
        return;
    }
    ReplaceSelection(std::string(1, (char)c), true);
}

void Edit::OnKeyDown(WPARAM vk) {
    int n = (int)m_text.size();
    bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    int caret = m_selEnd;
    switch (vk) {
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
            if (Style() & ES_READONLY)
                return;
            if (m_selStart == m_selEnd && m_selEnd < n)
                m_selEnd = m_selEnd + 1;
            if (m_selStart != m_selEnd)
                ReplaceSelection("", true);
            return;
        default:
            return;
    }
    m_selEnd = caret;
    if (!shift)
        m_selStart = caret;
    InvalidateRect(m_h, nullptr, TRUE);
}

LRESULT Edit::SetSelection(int a, int b) {
    int n = (int)m_text.size();
    if (a == -1) {
        m_selStart = m_selEnd;
    } else {
        if (b < 0 || b > n)
            b = n;
        if (a < 0 || a > n)
            a = n;
        m_selStart = a;
        m_selEnd = b;
    }
    InvalidateRect(m_h, nullptr, TRUE);
    return 0;
}

LRESULT Edit::Proc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_NCCREATE: {
            auto* cs = reinterpret_cast<CREATESTRUCT*>(lParam);
            if (cs->lpszName && !IS_INTRESOURCE(cs->lpszName))
                m_text = cs->lpszName;
            return DefWindowProc(m_h, msg, wParam, lParam);
        }
        case WM_GETDLGCODE:
            return DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS;
        case WM_SETTEXT:
            return SetText(reinterpret_cast<LPCTSTR>(lParam));
        case WM_CHAR:
            OnChar((unsigned char)wParam);
            return 0;
        case WM_KEYDOWN:
            OnKeyDown(wParam);
            return 0;
        case WM_LBUTTONDOWN:
            SetFocus(m_h);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(m_h, nullptr, TRUE);
            Command(msg == WM_SETFOCUS ? EN_SETFOCUS : EN_KILLFOCUS);
            return 0;
        case EM_GETSEL: {
            DWORD a = (DWORD)std::min(m_selStart, m_selEnd), b = (DWORD)std::max(m_selStart, m_selEnd);
            if (wParam)
                *reinterpret_cast<DWORD*>(wParam) = a;
            if (lParam)
                *reinterpret_cast<DWORD*>(lParam) = b;
            return MAKELRESULT(a, b);
        }
        case EM_SETSEL:
            return SetSelection((int)(LONG)wParam, (int)(LONG)lParam);
        case EM_REPLACESEL:
            ReplaceSelection(lParam ? reinterpret_cast<LPCTSTR>(lParam) : "", false);
            return 0;
        case EM_LIMITTEXT:
            m_limit = wParam ? (int)std::min<WPARAM>(wParam, 0x7FFFFFFE) : 0x7FFFFFFE;
            return 0;
        case EM_GETLIMITTEXT:
            return m_limit;
        case EM_GETMODIFY:
            return m_modified;
        case EM_SETMODIFY:
            m_modified = wParam != 0;
            return 0;
        case EM_SETREADONLY: {
            DWORD s = Style();
            SetWindowLongPtr(m_h, GWL_STYLE, wParam ? (s | ES_READONLY) : (s & ~(DWORD)ES_READONLY));
            InvalidateRect(m_h, nullptr, TRUE);
            return TRUE;
        }
        default:
            return Default(msg, wParam, lParam);
    }
}
}  // namespace

void user::RegisterEditClass() {
    RegisterControlClass(WC_EDIT, user::ControlWindowProc<Edit>, CS_DBLCLKS | CS_PARENTDC);
}
