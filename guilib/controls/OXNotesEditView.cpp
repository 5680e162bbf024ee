#include "guilib/controls/OXNotesEditView.h"

#include <algorithm>
#include <string>

#include "platform/gdi/Gdi.h"
#include "platform/user/ImageList.h"
#include "platform/user/Resources.h"

IMPLEMENT_DYNCREATE(COXNotesEditView, CEditView)

namespace {
constexpr DWORD kPositionMask = 0x00FFFFFF;
int NotePosition(DWORD note) { return (int)(note & kPositionMask); }
int NoteImage(DWORD note) { return (int)(note >> 24); }
}  // namespace

COXNotesEditView::COXNotesEditView(int side, int width, int mode)
    : m_clrText(::GetSysColor(COLOR_WINDOWTEXT)),
      m_nNotesWidth(width == -1 ? ::GetSystemMetrics(SM_CXVSCROLL) : width),
      m_nSide(side),
      m_clrMarginText(::GetSysColor(COLOR_WINDOWTEXT)),
      m_nMode(mode) {}

COXNotesEditView::~COXNotesEditView() {
    if (m_hMarginFont)
        ::DeleteObject(m_hMarginFont);
    if (m_hTextBrush)
        ::DeleteObject(m_hTextBrush);
    if (m_hMarginBrush)
        ::DeleteObject(m_hMarginBrush);
    if (m_hImages)
        ImageList_Destroy(m_hImages);
}

void COXNotesEditView::CreateNoteImages() {
    if (m_hImages) {
        ImageList_Destroy(m_hImages);
        m_hImages = nullptr;
    }
    HBITMAP strip = ::LoadBitmap(nullptr, MAKEINTRESOURCE(IDB_OX_NOTES_IMAGES));
    m_hImages = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 1);
    if (strip) {
        if (m_hImages)
            ImageList_AddMasked(m_hImages, strip, CLR_DEFAULT);
        ::DeleteObject(strip);
    }
}

// ---- Notes ----------------------------------------------------------------------------------------

int COXNotesEditView::GetNoteIndex(int line) const {
    int first = (int)::SendMessage(m_hWnd, EM_LINEINDEX, (WPARAM)line, 0);
    if (first < 0)
        return -1;
    int length = (int)::SendMessage(m_hWnd, EM_LINELENGTH, (WPARAM)first, 0);
    int last = length > 0 ? first + length - 1 : first;
    int image = -1;
    for (INT_PTR i = 0; i < m_arrNotes.GetSize(); ++i) {
        int pos = NotePosition(m_arrNotes[i]);
        if (pos > last)
            break;
        if (pos >= first)
            image = NoteImage(m_arrNotes[i]);
    }
    return image;
}

void COXNotesEditView::SetNote(int position, int image) {
    image %= 256;
    if (!ValidateNote(position, &image))
        return;
    // A position the note word cannot hold would alias an earlier one.
    if (position < 0 || position > kMaxNotePosition)
        return;
    DWORD word = ((DWORD)(image & 0xFF) << 24) | ((DWORD)position & kPositionMask);
    INT_PTR i = 0, n = m_arrNotes.GetSize();
    for (; i < n; ++i) {
        int pos = NotePosition(m_arrNotes[i]);
        if (pos == position) {
            m_arrNotes[i] = word;
            break;
        }
        if (pos > position) {
            m_arrNotes.InsertAt(i, word);
            break;
        }
    }
    if (i == n)
        m_arrNotes.Add(word);
    if (m_hWnd) {
        HDC dc = ::GetDC(m_hWnd);
        DrawNotesMargin(dc);
        ::ReleaseDC(m_hWnd, dc);
    }
}

BOOL COXNotesEditView::HasNote(int position) const {
    for (INT_PTR i = 0; i < m_arrNotes.GetSize(); ++i)
        if (NotePosition(m_arrNotes[i]) == position)
            return TRUE;
    return FALSE;
}

void COXNotesEditView::RemoveNotes(int from, int to) {
    if (from == -1)
        from = 0;
    if (to == -1)
        to = m_hWnd ? ::GetWindowTextLength(m_hWnd) : kMaxNotePosition;
    for (INT_PTR i = m_arrNotes.GetSize() - 1; i >= 0; --i) {
        int pos = NotePosition(m_arrNotes[i]);
        if (pos >= from && pos <= to)
            m_arrNotes.RemoveAt(i);
    }
    RedrawMargin();
}

void COXNotesEditView::ShiftNotes(int from, int delta) {
    for (INT_PTR i = m_arrNotes.GetSize() - 1; i >= 0; --i) {
        int pos = NotePosition(m_arrNotes[i]);
        if (pos < from)
            continue;
        long moved = (long)pos + delta;
        if (moved <= 0 || moved > kMaxNotePosition)
            m_arrNotes.RemoveAt(i);
        else
            m_arrNotes[i] = (m_arrNotes[i] & ~kPositionMask) | (DWORD)moved;
    }
}

void COXNotesEditView::RedrawMargin() {
    if (!m_hWnd)
        return;
    RECT r;
    GetNotesRect(&r);
    ::RedrawWindow(m_hWnd, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// ---- Geometry -------------------------------------------------------------------------------------

void COXNotesEditView::GetNotesRect(LPRECT rect) const {
    ::GetClientRect(m_hWnd, rect);
    if (m_nSide == NotesLeft)
        rect->right = rect->left + m_nNotesWidth;
    else if (m_nSide == NotesRight)
        rect->left = rect->right - m_nNotesWidth;
}

BOOL COXNotesEditView::InMargin(POINT p) const {
    RECT r;
    GetNotesRect(&r);
    return ::PtInRect(&r, p);
}

SIZE COXNotesEditView::GetImageSize() const {
    SIZE size{0, 0};
    if (m_hImages && ImageList_GetImageCount(m_hImages) > 0) {
        int cx = 0, cy = 0;
        ImageList_GetIconSize(m_hImages, &cx, &cy);
        size = SIZE{cx, cy};
    }
    return size;
}

// The character height of the view's font.
int COXNotesEditView::GetLineHeight() const {
    HDC dc = ::GetDC(m_hWnd);
    HFONT font = (HFONT)::SendMessage(m_hWnd, WM_GETFONT, 0, 0);
    HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
    TEXTMETRIC tm{};
    ::GetTextMetrics(dc, &tm);
    if (old)
        ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    return std::max<int>(1, tm.tmHeight);
}

int COXNotesEditView::GetLastVisibleLine() const {
    int first = (int)::SendMessage(m_hWnd, EM_GETFIRSTVISIBLELINE, 0, 0);
    RECT r{};
    ::SendMessage(m_hWnd, EM_GETRECT, 0, (LPARAM)&r);
    return first + (r.bottom - r.top) / GetLineHeight();
}

// ---- Painting -------------------------------------------------------------------------------------

void COXNotesEditView::DrawNotesMargin(HDC dc) {
    RECT margin;
    GetNotesRect(&margin);
    if (::IsRectEmpty(&margin))
        return;
    ::FillRect(dc, &margin, m_hMarginBrush ? m_hMarginBrush : ::GetSysColorBrush(COLOR_BTNFACE));

    int first = (int)::SendMessage(m_hWnd, EM_GETFIRSTVISIBLELINE, 0, 0);
    int last = GetLastVisibleLine();
    int lineCount = (int)::SendMessage(m_hWnd, EM_GETLINECOUNT, 0, 0);
    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = m_hMarginFont ? ::SelectObject(dc, m_hMarginFont) : nullptr;
    COLORREF oldColour = ::SetTextColor(dc, m_clrMarginText);
    TEXTMETRIC tm{};
    ::GetTextMetrics(dc, &tm);
    int lineHeight = GetLineHeight();
    SIZE image = GetImageSize();
    int imageLeft = margin.left + (m_nNotesWidth - image.cx) / 2;
    RECT client;
    ::GetClientRect(m_hWnd, &client);

    for (int line = first; line < last; ++line) {
        int start = (int)::SendMessage(m_hWnd, EM_LINEINDEX, (WPARAM)line, 0);
        if (start == -1)
            continue;
        int length = (int)::SendMessage(m_hWnd, EM_LINELENGTH, (WPARAM)start, 0);
        if (length == 0 && lineCount == line + 1)
            break;
        LRESULT at = ::SendMessage(m_hWnd, EM_POSFROMCHAR, (WPARAM)start, 0);
        if (at == -1)
            continue;
        int top = (short)HIWORD(at);
        if (m_nMode == NotesImages) {
            int index = GetNoteIndex(line);
            if (index != -1 && m_hImages && index < ImageList_GetImageCount(m_hImages))
                ImageList_Draw(m_hImages, index, dc, imageLeft, top, ILD_NORMAL);
        } else {
            CString number;
            number.Format("%d", line + 1);
            RECT r{0, top, 0, top + lineHeight};
            if (m_nSide == NotesLeft) {
                r.left = margin.left;
                r.right = m_nNotesWidth;
            } else {
                r.left = margin.left;
                r.right = client.right;
            }
            if (tm.tmHeight < lineHeight)
                ::OffsetRect(&r, 0, lineHeight - tm.tmHeight);
            ::DrawText(dc, number, number.GetLength(), &r, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
        }
    }
    ::SetBkMode(dc, oldMode);
    ::SetTextColor(dc, oldColour);
    if (oldFont)
        ::SelectObject(dc, oldFont);
}

// ---- Margins of the control -----------------------------------------------------------------------

void COXNotesEditView::SetControlMargins() {
    int left = LOWORD(m_dwUserMargins), right = HIWORD(m_dwUserMargins);
    if (m_nSide == NotesLeft)
        left += m_nNotesWidth;
    else if (m_nSide == NotesRight)
        right += m_nNotesWidth;
    m_bAdjusting = TRUE;
    ::SendMessage(m_hWnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(left, right));
    m_bAdjusting = FALSE;
}

LRESULT COXNotesEditView::OnSetMargins(WPARAM wParam, LPARAM lParam) {
    if (wParam == EC_USEFONTINFO) {
        LRESULT r = CEditView::WindowProc(EM_SETMARGINS, wParam, lParam);
        m_bAdjusting = TRUE;
        m_dwUserMargins = (DWORD)::SendMessage(m_hWnd, EM_GETMARGINS, 0, 0);
        m_bAdjusting = FALSE;
        SetControlMargins();
        return r;
    }
    if (wParam == EC_LEFTMARGIN || wParam == EC_RIGHTMARGIN) {
        bool left = wParam == EC_LEFTMARGIN;
        WORD value = left ? LOWORD(lParam) : HIWORD(lParam);
        m_dwUserMargins = left ? MAKELONG(value, HIWORD(m_dwUserMargins)) : MAKELONG(LOWORD(m_dwUserMargins), value);
        if ((left && m_nSide == NotesLeft) || (!left && m_nSide == NotesRight)) {
            WORD widened = (WORD)(value + m_nNotesWidth);
            m_bAdjusting = TRUE;
            LRESULT r = ::SendMessage(m_hWnd, EM_SETMARGINS, wParam,
                                      left ? MAKELPARAM(widened, 0) : MAKELPARAM(0, widened));
            m_bAdjusting = FALSE;
            return r;
        }
    }
    return CEditView::WindowProc(EM_SETMARGINS, wParam, lParam);
}

// ---- Note tracking --------------------------------------------------------------------------------

void COXNotesEditView::TrackNotes() {
    CString now;
    GetWindowText(now);
    std::string_view oldText(m_csText.GetString(), (size_t)m_csText.GetLength());
    std::string_view newText(now.GetString(), (size_t)now.GetLength());
    int oldLen = (int)oldText.size(), newLen = (int)newText.size();
    int delta = newLen - oldLen;
    int p = 0;
    while (p < oldLen && p < newLen && oldText[(size_t)p] == newText[(size_t)p])
        ++p;
    // The notes from p to the last changed character go; searching from the end, the first difference
    // found covers every later one.
    if (delta == 0) {
        for (int i = newLen - 1; i > p; --i)
            if (oldText[(size_t)i] != newText[(size_t)i]) {
                RemoveNotes(p, i);
                break;
            }
    } else if (delta > 0) {
        if (oldLen > 0)
            for (int i = oldLen - 1; i > p; --i)
                if (oldText[(size_t)i] != newText[(size_t)(i + delta)]) {
                    RemoveNotes(p, i);
                    break;
                }
        ShiftNotes(p, delta);
    } else {
        if (newLen > 0)
            for (int i = newLen - 1; i > p; --i)
                if (newText[(size_t)i] != oldText[(size_t)(i - delta)]) {
                    RemoveNotes(p, i);
                    break;
                }
        // A note inside the deleted text has nothing left to stand on; one at p keeps its place unless the
        // note after the deletion moves onto it. Shifted with the rest, they would land on an earlier line.
        bool landsOnP = HasNote(p - delta);
        for (INT_PTR i = m_arrNotes.GetSize() - 1; i >= 0; --i) {
            int pos = NotePosition(m_arrNotes[i]);
            if ((pos > p || (pos == p && landsOnP)) && pos < p - delta)
                m_arrNotes.RemoveAt(i);
        }
        ShiftNotes(p - delta, delta);
    }
    m_csText = now;
    if (m_hWnd) {
        HDC dc = ::GetDC(m_hWnd);
        DrawNotesMargin(dc);
        ::ReleaseDC(m_hWnd, dc);
    }
}

// ---- Tab indenting --------------------------------------------------------------------------------

void COXNotesEditView::OnTab() {
    CEdit& edit = GetEditCtrl();
    int start = 0, end = 0;
    edit.GetSel(start, end);
    bool unindent = (::GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
    int firstLine = edit.LineFromChar(start), lastLine = edit.LineFromChar(end);
    for (int line = firstLine; line <= lastLine; ++line) {
        CString text;
        GetWindowText(text);
        std::string s(text.GetString(), (size_t)text.GetLength());
        int at = edit.LineIndex(line);
        if (at < 0)
            continue;
        if (unindent) {
            if ((size_t)at >= s.size() || s[(size_t)at] != '\t')
                continue;
            s.erase((size_t)at, 1);
        } else {
            s.insert((size_t)at, 1, '\t');
        }
        SetWindowText(s.c_str());
    }
    int selStart = edit.LineIndex(firstLine);
    int lastStart = edit.LineIndex(lastLine);
    int selEnd = lastStart + edit.LineLength(lastStart);
    ::SendMessage(m_hWnd, EM_SETSEL, (WPARAM)selStart, (LPARAM)selEnd);
    ::SendMessage(m_hWnd, EM_SCROLLCARET, 0, 0);
}

// ---- Messages -------------------------------------------------------------------------------------

BOOL COXNotesEditView::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC) {
        HDC dc = (HDC)wParam;
        RECT margin;
        GetNotesRect(&margin);
        ::ExcludeClipRect(dc, margin.left, margin.top, margin.right, margin.bottom);
        LRESULT brush = 0;
        if (message == WM_CTLCOLOREDIT) {
            ::SetTextColor(dc, m_clrText);
            ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
            brush = (LRESULT)m_hTextBrush;
        }
        if (!brush)
            return CEditView::OnChildNotify(message, wParam, lParam, result);
        if (result)
            *result = brush;
        return TRUE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
        TrackNotes();
        CEditView::OnChildNotify(message, wParam, lParam, result);
        return FALSE;  // the parent hears of the change too
    }
    return CEditView::OnChildNotify(message, wParam, lParam, result);
}

LRESULT COXNotesEditView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            LRESULT r = CEditView::WindowProc(message, wParam, lParam);
            if (r == -1)
                return r;
            if (HBITMAP pattern = ::LoadBitmap(nullptr, MAKEINTRESOURCE(IDB_OX_NOTES_PATTERN))) {
                m_hMarginBrush = ::CreatePatternBrush(pattern);
                ::DeleteObject(pattern);
            }
            m_hMarginCursor = ::LoadCursor(nullptr, MAKEINTRESOURCE(IDC_OX_NOTES_CURSOR));
            if (!m_hMarginCursor)
                m_hMarginCursor = ::LoadCursor(nullptr, IDC_ARROW);
            CreateNoteImages();
            m_hTextBrush = ::CreateSolidBrush(::GetSysColor(COLOR_WINDOW));
            m_bAdjusting = TRUE;
            m_dwUserMargins = (DWORD)::SendMessage(m_hWnd, EM_GETMARGINS, 0, 0);
            m_bAdjusting = FALSE;
            SetControlMargins();
            GetWindowText(m_csText);
            return r;
        }
        case WM_ERASEBKGND: {
            HDC dc = (HDC)wParam;
            RECT client, margin;
            ::GetClientRect(m_hWnd, &client);
            GetNotesRect(&margin);
            RECT text = client;
            if (m_nSide == NotesLeft)
                text.left = std::min(margin.right, client.right);
            else if (m_nSide == NotesRight)
                text.right = std::max(margin.left, client.left);
            HBRUSH brush = ::IsWindowEnabled(m_hWnd) && m_hTextBrush ? m_hTextBrush : ::GetSysColorBrush(COLOR_BTNFACE);
            ::FillRect(dc, &text, brush);
            if (m_nSide == NotesLeft)
                margin.right = std::min(margin.right, client.right);
            ::FillRect(dc, &margin, m_hMarginBrush ? m_hMarginBrush : ::GetSysColorBrush(COLOR_BTNFACE));
            DrawNotesMargin(dc);
            return 1;
        }
        case WM_PAINT: {
            // The control paints the text; the margin is painted over it afterwards.
            LRESULT r = CEditView::WindowProc(message, wParam, lParam);
            HDC dc = ::GetDC(m_hWnd);
            DrawNotesMargin(dc);
            ::ReleaseDC(m_hWnd, dc);
            return r;
        }
        case WM_SETCURSOR:
            // The view sets its cursor itself on every move; the edit class's own cursor (shared by every
            // edit of the program) is left alone.
            if ((HWND)wParam == m_hWnd && LOWORD(lParam) == HTCLIENT) {
                POINT p;
                ::GetCursorPos(&p);
                ::ScreenToClient(m_hWnd, &p);
                ::SetCursor(InMargin(p) ? m_hMarginCursor : ::LoadCursor(nullptr, IDC_IBEAM));
                return TRUE;
            }
            return CEditView::WindowProc(message, wParam, lParam);
        case WM_MOUSEMOVE: {
            POINT p{(short)LOWORD(lParam), (short)HIWORD(lParam)};
            int zone = InMargin(p) ? 1 : 2;
            HCURSOR cursor = zone == 1 ? m_hMarginCursor : ::LoadCursor(nullptr, IDC_IBEAM);
            if (zone != m_nZone) {
                ChangeCursor(&cursor, zone);
                m_nZone = zone;
            }
            ::SetCursor(cursor);
            return CEditView::WindowProc(message, wParam, lParam);
        }
        case WM_LBUTTONDOWN: {
            POINT p{(short)LOWORD(lParam), (short)HIWORD(lParam)};
            if (::IsWindowEnabled(m_hWnd) && m_nZone == 1) {
                (void)p;
                LRESULT hit = ::SendMessage(m_hWnd, EM_CHARFROMPOS, 0, lParam);
                int line = HIWORD(hit);
                int start = (int)::SendMessage(m_hWnd, EM_LINEINDEX, (WPARAM)line, 0);
                if (start >= 0) {
                    int length = (int)::SendMessage(m_hWnd, EM_LINELENGTH, (WPARAM)start, 0);
                    ::SendMessage(m_hWnd, EM_SETSEL, (WPARAM)start, (LPARAM)(start + length));
                    ::SendMessage(m_hWnd, EM_SCROLLCARET, 0, 0);
                }
                if (::GetFocus() != m_hWnd)
                    ::SetFocus(m_hWnd);
                return 0;
            }
            return CEditView::WindowProc(message, wParam, lParam);
        }
        case WM_LBUTTONDBLCLK: {
            POINT p{(short)LOWORD(lParam), (short)HIWORD(lParam)};
            if (InMargin(p)) {
                // The line comes from the high word: the low word's position stops at 65,535.
                LRESULT hit = ::SendMessage(m_hWnd, EM_CHARFROMPOS, 0, lParam);
                int start = (int)::SendMessage(m_hWnd, EM_LINEINDEX, (WPARAM)HIWORD(hit), 0);
                if (start >= 0) {
                    if (HasNote(start))
                        RemoveNotes(start, start);
                    else
                        SetNote(start, 0);
                }
            }
            return CEditView::WindowProc(message, wParam, lParam);
        }
        case WM_VSCROLL: {
            LRESULT r = CEditView::WindowProc(message, wParam, lParam);
            HDC dc = ::GetDC(m_hWnd);
            DrawNotesMargin(dc);
            ::ReleaseDC(m_hWnd, dc);
            return r;
        }
        case WM_CHAR:
            if (wParam == VK_TAB) {
                int start = 0, end = 0;
                GetEditCtrl().GetSel(start, end);
                if (end > start) {
                    OnTab();
                    return 0;
                }
            }
            return CEditView::WindowProc(message, wParam, lParam);
        case EM_SETMARGINS:
            if (m_bAdjusting)
                return CEditView::WindowProc(message, wParam, lParam);
            return OnSetMargins(wParam, lParam);
        case EM_GETMARGINS: {
            LRESULT r = CEditView::WindowProc(message, wParam, lParam);
            if (m_bAdjusting)
                return r;
            int left = LOWORD(r), right = HIWORD(r);
            if (m_nSide == NotesLeft)
                left = std::max(0, left - m_nNotesWidth);
            else if (m_nSide == NotesRight)
                right = std::max(0, right - m_nNotesWidth);
            return MAKELRESULT(left, right);
        }
        case WM_SETTEXT: {
            LRESULT r = CEditView::WindowProc(message, wParam, lParam);
            TrackNotes();
            return r;
        }
        default:
            return CEditView::WindowProc(message, wParam, lParam);
    }
}
