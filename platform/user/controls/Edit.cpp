// The "Edit" class, single and multi-line: a window over the edit model (EditText) that turns keys,
// the mouse, the clipboard and the EM_ messages into its operations, tells the parent, scrolls, and
// draws in the Classic look.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "platform/base/String.h"
#include "platform/base/Utf8.h"
#include "platform/user/Clipboard.h"
#include "platform/user/Controls.h"
#include "platform/user/Menu.h"
#include "platform/user/UserInternal.h"
#include "platform/user/controls/ControlProc.h"
#include "platform/user/controls/EditText.h"

namespace {
constexpr int kDefaultLimit = 30000;
constexpr int kWheelLines = 3;

class Edit : public user::Control {
public:
    explicit Edit(HWND h);
    ~Edit() override;
    LRESULT Proc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    bool Multi() const { return m_text.MultiLine(); }
    bool ReadOnly() const { return (Style() & ES_READONLY) != 0; }
    bool Password() const { return !Multi() && (Style() & ES_PASSWORD); }
    bool InDialog() const;

    // Geometry.
    void Metrics();
    void Layout();
    RECT FormatRect() const;
    int VisibleLines() const;
    int AlignOffset(int line) const;
    POINT PointOf(int pos) const;
    int CharFromPoint(int x, int y) const;
    void EnsureCaretVisible();
    void SetFirstLine(int line);
    void SetScrollX(int x);
    void UpdateScrollBars();
    // The widest line's width, measured again only after a change.
    int Widest();
    void OnScroll(bool vertical, int code, HWND bar);

    // What is drawn for a run of the text: stars for a password, UTF-8 for any text.
    std::string Shown(std::string_view run) const;
    int Measure(std::string_view run) const;
    void Paint(HDC dc) override;

    // Changes, and what the parent hears of them.
    void Changed(bool cut);
    void Flush();
    LRESULT SetText(LPCTSTR text);
    void ReplaceSelection(std::string_view text, bool undoable);
    void OnChar(unsigned char c);
    void OnKeyDown(WPARAM vk);
    bool Copy();
    void Cut();
    void Paste();
    void Clear();
    bool Undo();
    void ContextMenu(LPARAM lParam);
    LRESULT LineLength(int index) const;

    user::EditText m_text;
    int m_limit = kDefaultLimit;
    bool m_modified = false;
    int m_leftMargin = 0, m_rightMargin = 0;
    bool m_customRect = false;
    RECT m_rect{};  // the formatting rectangle EM_SETRECT gave
    int m_lineHeight = 13, m_avgChar = 6;
    int m_firstLine = 0;
    int m_scrollX = 0;
    bool m_dragging = false;
    bool m_vbar = false, m_hbar = false;  // scroll bars in the frame (WS_VSCROLL, WS_HSCROLL)
    HDC m_measureDC = nullptr;
    int m_widest = -1;
};

Edit::Edit(HWND h) : Control(h, kPaints | kKeepsFont | kRepaints), m_text(false) {
    m_measureDC = CreateCompatibleDC(nullptr);
}

Edit::~Edit() {
    if (m_measureDC)
        DeleteDC(m_measureDC);
}

bool Edit::InDialog() const {
    HWND parent = GetParent(m_h);
    char cls[32] = "";
    if (parent)
        GetClassName(parent, cls, sizeof cls);
    return AsciiCompareNoCase(cls, WC_DIALOG) == 0;
}

// ---- Geometry -------------------------------------------------------------------------------------

std::string Edit::Shown(std::string_view run) const {
    if (Password()) {
        size_t n = 0;
        for (size_t i = 0; i < run.size(); ++n)
            i += m_text.Utf8() ? std::max<size_t>(1, Utf8CharLength(run.substr(i))) : 1;
        return std::string(n, '*');
    }
    return m_text.Utf8() ? std::string(run) : Cp1252ToUtf8(run);
}

int Edit::Measure(std::string_view run) const {
    std::string shown = Shown(run);
    SIZE ext{};
    GetTextExtentPoint32(m_measureDC, shown.c_str(), (int)shown.size(), &ext);
    return ext.cx;
}

void Edit::Metrics() {
    SelectObject(m_measureDC, FontOr(SYSTEM_FONT));
    TEXTMETRIC tm;
    GetTextMetrics(m_measureDC, &tm);
    m_lineHeight = std::max<int>(1, tm.tmHeight);
    m_avgChar = std::max<int>(1, tm.tmAveCharWidth);
    Layout();
}

// Places the scroll bars and lays the text out in the formatting rectangle.
void Edit::Layout() {
    // A multi-line edit wraps its lines unless it scrolls sideways.
    bool wraps = Multi() && !(Style() & (ES_AUTOHSCROLL | WS_HSCROLL));
    RECT fr = FormatRect();
    int tab = 8 * m_avgChar;
    m_widest = -1;
    m_text.SetLayout(wraps ? std::max<int>(1, fr.right - fr.left) : 0, tab,
                     [this](std::string_view run) { return Measure(run); });
    SetFirstLine(m_firstLine);
    UpdateScrollBars();
}

RECT Edit::FormatRect() const {
    if (m_customRect)
        return m_rect;
    RECT rc;
    GetClientRect(m_h, &rc);
    RECT r{rc.left + m_leftMargin, rc.top, rc.right - m_rightMargin, rc.bottom};
    if (!Multi()) {
        // One line, a pixel in from the left, in the middle of the height.
        r.left += 1;
        r.right -= 1;
        r.top = std::max<LONG>(0, (rc.bottom - m_lineHeight) / 2);
        r.bottom = r.top + m_lineHeight;
    } else {
        // Whole lines only.
        r.bottom = r.top + std::max<LONG>(1, (rc.bottom - rc.top) / m_lineHeight) * m_lineHeight;
    }
    r.right = std::max(r.left, r.right);
    return r;
}

int Edit::VisibleLines() const {
    RECT r = FormatRect();
    return std::max<int>(1, (r.bottom - r.top) / m_lineHeight);
}

int Edit::AlignOffset(int line) const {
    DWORD style = Style();
    if (!(style & (ES_CENTER | ES_RIGHT)))
        return 0;
    RECT r = FormatRect();
    int room = (r.right - r.left) - m_text.LineWidth(line);
    if (room <= 0)
        return 0;
    return (style & ES_RIGHT) ? room : room / 2;
}

// Client coordinates of the top-left of the character at `pos`.
POINT Edit::PointOf(int pos) const {
    RECT r = FormatRect();
    int line = m_text.LineFromChar(pos);
    return POINT{r.left - m_scrollX + AlignOffset(line) + m_text.XOf(pos),
                 r.top + (line - m_firstLine) * m_lineHeight};
}

int Edit::CharFromPoint(int x, int y) const {
    RECT r = FormatRect();
    int line = Multi() ? m_firstLine + (int)std::floor((double)(y - r.top) / m_lineHeight) : 0;
    line = std::clamp(line, 0, m_text.LineCount() - 1);
    return m_text.CharAtX(line, x - r.left + m_scrollX - AlignOffset(line));
}

void Edit::SetFirstLine(int line) {
    int last = std::max(0, m_text.LineCount() - VisibleLines());
    line = std::clamp(line, 0, Multi() ? last : 0);
    if (line == m_firstLine)
        return;
    m_firstLine = line;
    InvalidateRect(m_h, nullptr, TRUE);
}

void Edit::SetScrollX(int x) {
    x = std::max(0, x);
    if (x == m_scrollX)
        return;
    m_scrollX = x;
    InvalidateRect(m_h, nullptr, TRUE);
}

void Edit::EnsureCaretVisible() {
    int caret = m_text.Caret();
    if (Multi()) {
        int line = m_text.LineFromChar(caret);
        if (line < m_firstLine)
            SetFirstLine(line);
        else if (line >= m_firstLine + VisibleLines())
            SetFirstLine(line - VisibleLines() + 1);
    }
    RECT r = FormatRect();
    int width = r.right - r.left;
    int x = m_text.XOf(caret) + AlignOffset(m_text.LineFromChar(caret));
    if (x < m_scrollX)
        SetScrollX(std::max(0, x - width / 4));
    else if (x >= m_scrollX + width)
        SetScrollX(x - width + 1 + width / 4);
    UpdateScrollBars();
}

void Edit::UpdateScrollBars() {
    if (m_vbar) {
        SCROLLINFO si{sizeof si,
                      SIF_ALL | SIF_DISABLENOSCROLL,
                      0,
                      std::max(0, m_text.LineCount() - 1),
                      (UINT)VisibleLines(),
                      m_firstLine,
                      m_firstLine};
        SetScrollInfo(m_h, SB_VERT, &si, TRUE);
    }
    if (m_hbar) {
        RECT r = FormatRect();
        SCROLLINFO si{sizeof si,
                      SIF_ALL | SIF_DISABLENOSCROLL,
                      0,
                      Widest(),
                      (UINT)std::max<LONG>(1, r.right - r.left),
                      m_scrollX,
                      m_scrollX};
        SetScrollInfo(m_h, SB_HORZ, &si, TRUE);
    }
}

int Edit::Widest() {
    if (m_widest < 0) {
        m_widest = 0;
        for (int l = 0; l < m_text.LineCount(); ++l)
            m_widest = std::max(m_widest, m_text.LineWidth(l));
    }
    return m_widest;
}

void Edit::OnScroll(bool vertical, int code, HWND bar) {
    int target;
    if (vertical) {
        if (ScrollTarget(code, m_firstLine, 1, VisibleLines(), m_text.LineCount(), bar ? bar : m_h, target,
                         bar ? SB_CTL : SB_VERT))
            SetFirstLine(target);
    } else {
        RECT r = FormatRect();
        int page = std::max<int>(1, r.right - r.left);
        if (ScrollTarget(code, m_scrollX, m_avgChar, page, Widest() - page, bar ? bar : m_h, target,
                         bar ? SB_CTL : SB_HORZ))
            SetScrollX(std::min(target, std::max(0, Widest() - page)));
    }
    UpdateScrollBars();
}

// ---- Drawing --------------------------------------------------------------------------------------

void Edit::Paint(HDC dc) {
    RECT rc;
    GetClientRect(m_h, &rc);
    bool disabled = !IsWindowEnabled(m_h);
    HBRUSH bg = user::ControlColor(m_h, dc, (ReadOnly() || disabled) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
    FillRect(dc, &rc, bg ? bg : GetSysColorBrush(COLOR_WINDOW));
    HGDIOBJ oldFont = SelectObject(dc, FontOr(SYSTEM_FONT));
    if (disabled)
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    COLORREF textColor = GetTextColor(dc);
    SetBkMode(dc, TRANSPARENT);
    RECT fr = FormatRect();
    int saved = SaveDC(dc);
    IntersectClipRect(dc, fr.left, fr.top, fr.right, fr.bottom);
    bool focused = GetFocus() == m_h;
    bool showSelection = m_text.HasSelection() && (focused || (Style() & ES_NOHIDESEL));
    int a = m_text.SelStart(), b = m_text.SelEnd();
    int lastLine = std::min(m_text.LineCount() - 1, m_firstLine + VisibleLines());
    const std::string& text = m_text.Text();
    for (int line = Multi() ? m_firstLine : 0; line <= lastLine; ++line) {
        int y = fr.top + (line - m_firstLine) * m_lineHeight;
        int x0 = fr.left - m_scrollX + AlignOffset(line);
        auto drawRuns = [&](int from, int to) {
            for (const auto& run : m_text.Runs(line)) {
                int s = std::max(run.from, from), e = std::min(run.to, to);
                if (s >= e)
                    continue;
                std::string shown = Shown(std::string_view(text).substr((size_t)s, (size_t)(e - s)));
                TextOut(dc, x0 + run.x + m_text.XOf(s) - m_text.XOf(run.from), y, shown.c_str(),
                        (int)shown.size());
            }
        };
        int ls = m_text.LineStart(line), le = m_text.LineEnd(line);
        drawRuns(ls, le);
        if (showSelection && a <= le && b > ls) {
            int s = std::max(a, ls), e = std::min(b, le);
            RECT sel{x0 + m_text.XOf(s), y, x0 + m_text.XOf(e), y + m_lineHeight};
            if (b > le && line + 1 < m_text.LineCount())
                sel.right += m_avgChar / 2;  // a selected line break shows as a little highlight
            FillRect(dc, &sel, GetSysColorBrush(COLOR_HIGHLIGHT));
            SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
            drawRuns(s, e);
            SetTextColor(dc, textColor);
        }
    }
    if (focused && !m_text.HasSelection()) {
        POINT p = PointOf(m_text.Caret());
        RECT caret{p.x, p.y, p.x + 1, p.y + m_lineHeight};
        FillRect(dc, &caret, GetSysColorBrush(COLOR_WINDOWTEXT));
    }
    RestoreDC(dc, saved);
    SelectObject(dc, oldFont);
}

// ---- Changes --------------------------------------------------------------------------------------

// After a change by the user or by EM_REPLACESEL: the limit first (while the window's text is still
// the old one, as the limit is met before the text changes), then the update and the change.
void Edit::Changed(bool cut) {
    if (cut)
        Command(EN_MAXTEXT);
    m_modified = true;
    m_widest = -1;
    DefWindowProc(m_h, WM_SETTEXT, 0, (LPARAM)m_text.Text().c_str());
    EnsureCaretVisible();
    InvalidateRect(m_h, nullptr, TRUE);
    Command(EN_UPDATE);
    Command(EN_CHANGE);
}

// Puts in a typed partial character before anything else happens to the text.
void Edit::Flush() {
    bool cut = false;
    if (m_text.FlushPending(m_limit, &cut))
        Changed(cut);
}

LRESULT Edit::SetText(LPCTSTR text) {
    // A text given by the program is kept whole: the limit is for typing.
    m_text.SetText(text ? text : "");
    m_modified = false;
    m_widest = -1;
    m_firstLine = 0;
    m_scrollX = 0;
    DefWindowProc(m_h, WM_SETTEXT, 0, (LPARAM)m_text.Text().c_str());
    UpdateScrollBars();
    InvalidateRect(m_h, nullptr, TRUE);
    if (!Multi()) {
        Command(EN_UPDATE);
        Command(EN_CHANGE);
    }
    return TRUE;
}

void Edit::ReplaceSelection(std::string_view insert, bool undoable) {
    std::string add(insert);
    DWORD style = Style();
    if (style & ES_UPPERCASE)
        for (char& c : add)
            c = AsciiUpper(c);
    if (style & ES_LOWERCASE)
        for (char& c : add)
            c = AsciiLower(c);
    bool cut = false;
    if (m_text.Replace(add, m_limit, undoable, &cut))
        Changed(cut);
    else if (cut)
        Command(EN_MAXTEXT);
}

void Edit::OnChar(unsigned char c) {
    if (ReadOnly())
        return;
    bool cut = false;
    if (c == 0x08) {
        Flush();
        if (m_text.Backspace())
            Changed(false);
        return;
    }
    if (Multi() && c == '\r') {
        if (InDialog() && !(Style() & ES_WANTRETURN)) {
            // Enter is the dialog's default button, as in any other control of it.
            HWND parent = GetParent(m_h);
            LRESULT def = SendMessage(parent, DM_GETDEFID, 0, 0);
            int id = HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDOK;
            PostMessage(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(parent, id));
            return;
        }
        if (m_text.TypeText("\r\n", m_limit, &cut))
            Changed(cut);
        else if (cut)
            Command(EN_MAXTEXT);
        return;
    }
    if (Multi() && c == 0x1B) {
        if (InDialog())
            PostMessage(GetParent(m_h), WM_CLOSE, 0, 0);
        return;
    }
    bool tab = Multi() && c == '\t';
    if ((c < 0x20 && !tab) || c == 0x7F)
        return;
    if ((Style() & ES_NUMBER) && (c < '0' || c > '9')) {
        MessageBeep(0);
        return;
    }
    if (Style() & ES_UPPERCASE)
        c = (unsigned char)AsciiUpper((char)c);
    if (Style() & ES_LOWERCASE)
        c = (unsigned char)AsciiLower((char)c);
    if (m_text.Type(c, m_limit, &cut))
        Changed(cut);
    else if (cut)
        Command(EN_MAXTEXT);
}

void Edit::OnKeyDown(WPARAM vk) {
    bool shift = GetKeyState(VK_SHIFT) < 0;
    bool ctrl = GetKeyState(VK_CONTROL) < 0;
    using M = user::EditText::Move;
    auto move = [&](M how) { m_text.MoveBy(how, shift); };
    switch (vk) {
        case VK_LEFT:
            move(ctrl ? M::WordLeft : M::CharLeft);
            break;
        case VK_RIGHT:
            move(ctrl ? M::WordRight : M::CharRight);
            break;
        case VK_UP:
            if (Multi())
                m_text.MoveLines(-1, shift);
            else
                move(M::CharLeft);
            break;
        case VK_DOWN:
            if (Multi())
                m_text.MoveLines(1, shift);
            else
                move(M::CharRight);
            break;
        case VK_PRIOR:
        case VK_NEXT:
            if (!Multi())
                return;
            m_text.MoveLines(vk == VK_PRIOR ? -VisibleLines() : VisibleLines(), shift);
            break;
        case VK_HOME:
            move(ctrl || !Multi() ? M::TextStart : M::LineStart);
            break;
        case VK_END:
            move(ctrl || !Multi() ? M::TextEnd : M::LineEnd);
            break;
        case VK_DELETE:
            if (shift)
                Cut();
            else if (!ReadOnly() && m_text.Delete())
                Changed(false);
            return;
        case VK_INSERT:
            if (shift)
                Paste();
            else if (ctrl)
                Copy();
            return;
        case 'A':
            if (!ctrl)
                return;
            m_text.Select(0, m_text.Length());
            break;
        case 'C':
            if (ctrl)
                Copy();
            return;
        case 'X':
            if (ctrl)
                Cut();
            return;
        case 'V':
            if (ctrl)
                Paste();
            return;
        case 'Z':
            if (ctrl)
                Undo();
            return;
        default:
            return;
    }
    EnsureCaretVisible();
    InvalidateRect(m_h, nullptr, TRUE);
}

// ---- Clipboard ------------------------------------------------------------------------------------

bool Edit::Copy() {
    if (!m_text.HasSelection() || Password() || !OpenClipboard(m_h))
        return false;
    std::string text = m_text.Selected();
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (auto* p = static_cast<char*>(GlobalLock(block))) {
        std::copy(text.begin(), text.end(), p);
        p[text.size()] = 0;
        GlobalUnlock(block);
        if (!SetClipboardData(CF_TEXT, block))
            GlobalFree(block);
    }
    CloseClipboard();
    return true;
}

void Edit::Cut() {
    if (ReadOnly() || Password() || !m_text.HasSelection())
        return;
    if (Copy())
        Clear();
}

void Edit::Clear() {
    if (!ReadOnly() && m_text.HasSelection() && m_text.Delete())
        Changed(false);
}

void Edit::Paste() {
    if (ReadOnly() || !OpenClipboard(m_h))
        return;
    std::string text;
    if (HANDLE block = GetClipboardData(CF_TEXT)) {
        SIZE_T size = GlobalSize(block);
        if (auto* p = static_cast<const char*>(GlobalLock(block))) {
            text.assign(p, strnlen(p, size));
            GlobalUnlock(block);
        }
    }
    CloseClipboard();
    if (!Multi()) {
        // A field takes the first line.
        text = text.substr(0, text.find_first_of("\r\n"));
    } else {
        // Lines from the desktop end in LF alone; here a line ends in CR LF.
        std::string lines;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
                lines += '\r';
            lines += text[i];
        }
        text.swap(lines);
    }
    if (!text.empty())
        ReplaceSelection(text, true);
}

bool Edit::Undo() {
    if (ReadOnly() || !m_text.Undo())
        return false;
    Changed(false);
    return true;
}

// The edit's own menu: Undo, Cut, Copy, Paste, Delete and Select All, each greyed when it cannot act.
void Edit::ContextMenu(LPARAM lParam) {
    if (GetFocus() != m_h)
        SetFocus(m_h);
    auto can = m_text.Available(ReadOnly(), Password(), IsClipboardFormatAvailable(CF_TEXT));
    HMENU menu = CreatePopupMenu();
    auto add = [&](UINT id, const char* text, bool enabled) {
        AppendMenu(menu, MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), id, text);
    };
    add(WM_UNDO, "&Undo", can.undo);
    AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
    add(WM_CUT, "Cu&t", can.cut);
    add(WM_COPY, "&Copy", can.copy);
    add(WM_PASTE, "&Paste", can.paste);
    add(WM_CLEAR, "&Delete", can.clear);
    AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
    add(EM_SETSEL, "Select &All", can.selectAll);
    POINT p{(short)LOWORD(lParam), (short)HIWORD(lParam)};
    if (lParam == -1) {
        RECT rc;
        GetClientRect(m_h, &rc);
        p = POINT{rc.right / 2, rc.bottom / 2};
        ClientToScreen(m_h, &p);
    }
    UINT chosen = (UINT)TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                                       p.x, p.y, 0, m_h, nullptr);
    DestroyMenu(menu);
    if (!chosen || !IsWindow(m_h))
        return;
    if (chosen == EM_SETSEL)
        SendMessage(m_h, EM_SETSEL, 0, -1);
    else
        SendMessage(m_h, chosen, 0, 0);
}

LRESULT Edit::LineLength(int index) const {
    if (index < 0) {
        // The characters left unselected on the lines the selection touches.
        int a = m_text.SelStart(), b = m_text.SelEnd();
        int la = m_text.LineFromChar(a), lb = m_text.LineFromChar(b);
        return (a - m_text.LineStart(la)) + std::max(0, m_text.LineEnd(lb) - b);
    }
    if (index > m_text.Length())
        return 0;
    int line = m_text.LineFromChar(index);
    return m_text.LineEnd(line) - m_text.LineStart(line);
}

// ---- Messages -------------------------------------------------------------------------------------

LRESULT Edit::Proc(UINT msg, WPARAM wParam, LPARAM lParam) {
    // A partial character typed goes in before anything else reads or changes the text.
    bool editing = msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN || msg == WM_LBUTTONDOWN ||
                   msg == WM_LBUTTONDBLCLK || msg == WM_KILLFOCUS || msg == WM_CONTEXTMENU ||
                   (msg >= WM_CUT && msg <= WM_UNDO) || (msg >= EM_GETSEL && msg <= EM_CHARFROMPOS);
    if (editing && m_text.HasPending())
        Flush();
    switch (msg) {
        case WM_NCCREATE: {
            auto* cs = reinterpret_cast<CREATESTRUCT*>(lParam);
            m_text = user::EditText((cs->style & ES_MULTILINE) != 0);
            if (cs->lpszName && !IS_INTRESOURCE(cs->lpszName))
                m_text.SetText(cs->lpszName);
            return DefWindowProc(m_h, msg, wParam, lParam);
        }
        case WM_CREATE: {
            DWORD style = Style();
            // A multi-line edit's scroll bars are its frame's, shown (disabled when idle) for good.
            m_vbar = Multi() && (style & WS_VSCROLL);
            m_hbar = Multi() && (style & WS_HSCROLL);
            Metrics();
            return 0;
        }
        case WM_SIZE:
            Layout();
            InvalidateRect(m_h, nullptr, TRUE);
            return 0;
        case WM_SETFONT:
            Default(msg, wParam, lParam);
            Metrics();
            return 0;
        case WM_GETDLGCODE: {
            LRESULT code = DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS;
            // A multi-line edit keeps Enter and Escape in a dialog; Tab still walks the dialog.
            auto* m = reinterpret_cast<const MSG*>(lParam);
            if (Multi() && !(m && m->message == WM_KEYDOWN && m->wParam == VK_TAB))
                code |= DLGC_WANTALLKEYS;
            return code;
        }
        case WM_SETTEXT:
            return SetText(reinterpret_cast<LPCTSTR>(lParam));
        case WM_CHAR:
            OnChar((unsigned char)wParam);
            return 0;
        case WM_KEYDOWN:
            OnKeyDown(wParam);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            if (GetFocus() != m_h)
                SetFocus(m_h);
            if (!IsWindow(m_h))
                return 0;
            int pos = CharFromPoint((short)LOWORD(lParam), (short)HIWORD(lParam));
            if (msg == WM_LBUTTONDBLCLK)
                m_text.SelectWord(pos);
            else
                m_text.MoveCaret(pos, (wParam & MK_SHIFT) != 0);
            m_dragging = true;
            SetCapture(m_h);
            EnsureCaretVisible();
            InvalidateRect(m_h, nullptr, TRUE);
            return 0;
        }
        case WM_MOUSEMOVE:
            if (m_dragging && (wParam & MK_LBUTTON)) {
                int pos = CharFromPoint((short)LOWORD(lParam), (short)HIWORD(lParam));
                if (pos != m_text.Caret()) {
                    m_text.MoveCaret(pos, true);
                    EnsureCaretVisible();
                    InvalidateRect(m_h, nullptr, TRUE);
                }
            }
            return 0;
        case WM_LBUTTONUP:
            if (m_dragging) {
                m_dragging = false;
                ReleaseCapture();
            }
            return 0;
        case WM_CAPTURECHANGED:
            m_dragging = false;
            return 0;
        case WM_CONTEXTMENU:
            ContextMenu(lParam);
            return 0;
        case WM_MOUSEWHEEL:
            if (!Multi())
                return Default(msg, wParam, lParam);
            SetFirstLine(m_firstLine - (short)HIWORD(wParam) / 120 * kWheelLines);
            UpdateScrollBars();
            return 0;
        case WM_VSCROLL:
        case WM_HSCROLL:
            OnScroll(msg == WM_VSCROLL, LOWORD(wParam), (HWND)lParam);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            if (msg == WM_KILLFOCUS && m_dragging) {
                m_dragging = false;
                ReleaseCapture();
            }
            InvalidateRect(m_h, nullptr, TRUE);
            Command(msg == WM_SETFOCUS ? EN_SETFOCUS : EN_KILLFOCUS);
            return 0;
        case WM_COPY:
            Copy();
            return 0;
        case WM_CUT:
            Cut();
            return 0;
        case WM_PASTE:
            Paste();
            return 0;
        case WM_CLEAR:
            Clear();
            return 0;
        case WM_UNDO:
        case EM_UNDO:
            return Undo();
        case EM_CANUNDO:
            return m_text.CanUndo();
        case EM_EMPTYUNDOBUFFER:
            m_text.EmptyUndo();
            return 0;
        case EM_GETSEL: {
            DWORD a = (DWORD)m_text.SelStart(), b = (DWORD)m_text.SelEnd();
            if (wParam)
                *reinterpret_cast<DWORD*>(wParam) = a;
            if (lParam)
                *reinterpret_cast<DWORD*>(lParam) = b;
            return MAKELRESULT(a, b);
        }
        case EM_SETSEL: {
            int a = (int)(LONG)wParam, b = (int)(LONG)lParam, n = m_text.Length();
            if (a == -1) {
                m_text.Select(m_text.Caret(), m_text.Caret());
            } else {
                if (b < 0 || b > n)
                    b = n;
                if (a < 0 || a > n)
                    a = n;
                m_text.Select(a, b);
            }
            InvalidateRect(m_h, nullptr, TRUE);
            return 0;
        }
        case EM_REPLACESEL:
            ReplaceSelection(lParam ? reinterpret_cast<LPCTSTR>(lParam) : "", wParam != 0);
            return 0;
        case EM_SCROLLCARET:
            EnsureCaretVisible();
            return TRUE;
        case EM_LINESCROLL:
            if (!Multi())
                return FALSE;
            SetScrollX(m_scrollX + (int)(LONG)wParam * m_avgChar);
            SetFirstLine(m_firstLine + (int)lParam);
            UpdateScrollBars();
            return TRUE;
        case EM_SCROLL: {
            if (!Multi())
                return FALSE;
            int before = m_firstLine;
            OnScroll(true, (int)wParam, nullptr);
            return MAKELRESULT(m_firstLine - before, TRUE);
        }
        case EM_GETLINECOUNT:
            return m_text.LineCount();
        case EM_LINEINDEX: {
            int line = (int)(LONG)wParam;
            if (line < 0)
                line = m_text.LineFromChar(m_text.Caret());
            return m_text.LineStart(line);
        }
        case EM_LINEFROMCHAR: {
            int index = (int)(LONG)wParam;
            return m_text.LineFromChar(index < 0 ? m_text.SelStart() : index);
        }
        case EM_LINELENGTH:
            return LineLength((int)(LONG)wParam);
        case EM_GETLINE: {
            // The buffer's first word holds its size; the line is copied without a terminating NUL.
            auto* buffer = reinterpret_cast<char*>(lParam);
            int line = (int)wParam;
            if (!buffer || line < 0 || line >= m_text.LineCount())
                return 0;
            WORD size = 0;
            std::copy(buffer, buffer + sizeof size, reinterpret_cast<char*>(&size));
            int start = m_text.LineStart(line);
            int n = std::min<int>(size, m_text.LineEnd(line) - start);
            std::copy(m_text.Text().begin() + start, m_text.Text().begin() + start + n, buffer);
            return n;
        }
        case EM_GETFIRSTVISIBLELINE:
            return Multi() ? m_firstLine : m_text.CharAtX(0, m_scrollX);
        case EM_GETRECT:
            if (lParam)
                *reinterpret_cast<RECT*>(lParam) = FormatRect();
            return 0;
        case EM_SETRECT:
        case EM_SETRECTNP:
            m_customRect = lParam != 0;
            if (lParam)
                m_rect = *reinterpret_cast<const RECT*>(lParam);
            Layout();
            if (msg == EM_SETRECT)
                InvalidateRect(m_h, nullptr, TRUE);
            return 0;
        case EM_SETMARGINS:
            // The system font has no margins of its own, and neither does a font here.
            if (wParam & EC_LEFTMARGIN)
                m_leftMargin = LOWORD(lParam) == EC_USEFONTINFO ? 0 : LOWORD(lParam);
            if (wParam & EC_RIGHTMARGIN)
                m_rightMargin = HIWORD(lParam) == EC_USEFONTINFO ? 0 : HIWORD(lParam);
            Layout();
            InvalidateRect(m_h, nullptr, TRUE);
            return 0;
        case EM_GETMARGINS:
            return MAKELRESULT(m_leftMargin, m_rightMargin);
        case EM_POSFROMCHAR: {
            int index = (int)(LONG)wParam;
            if (index < 0 || index >= m_text.Length())
                return -1;
            POINT p = PointOf(index);
            return MAKELRESULT((WORD)(short)p.x, (WORD)(short)p.y);
        }
        case EM_CHARFROMPOS: {
            POINT p{(short)LOWORD(lParam), (short)HIWORD(lParam)};
            int pos = CharFromPoint(p.x, p.y);
            return MAKELRESULT(pos, m_text.LineFromChar(pos));
        }
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
    RegisterControlClass(WC_EDIT, user::ControlWindowProc<Edit>, CS_DBLCLKS | CS_PARENTDC,
                         LoadCursor(nullptr, IDC_IBEAM));
}
