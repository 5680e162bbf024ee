#include "platform/user/controls/EditText.h"

#include "platform/base/Utf8.h"

namespace user {
namespace {
// Bytes of the UTF-8 character a lead byte starts (1 for any other byte).
size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if ((lead >> 4) == 0xE)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 1;
}

// The longest head of `text` within `room` bytes that ends at a character's end (never between CR
// and LF, nor inside a UTF-8 character of valid UTF-8 text).
size_t FittingHead(std::string_view text, size_t room) {
    if (text.size() <= room)
        return text.size();
    size_t n = room;
    if (IsValidUtf8(text)) {
        size_t at = 0;
        while (at < text.size()) {
            size_t len = Utf8CharLength(text.substr(at));
            if (at + len > room)
                break;
            at += len;
        }
        n = at;
    }
    if (n > 0 && text[n - 1] == '\r' && text[n] == '\n')
        --n;
    return n;
}
}  // namespace

void EditText::SetText(std::string_view text) {
    m_text.assign(text);
    m_pending.clear();
    m_anchor = m_caret = 0;
    EmptyUndo();
    Changed();
}

void EditText::Changed() {
    m_utf8 = IsValidUtf8(m_text);
    Relayout();
}

int EditText::NextChar(int pos) const {
    int n = Length();
    if (pos >= n)
        return n;
    if (pos < 0)
        return 0;
    if (m_multiLine && m_text[(size_t)pos] == '\r' && pos + 1 < n && m_text[(size_t)pos + 1] == '\n')
        return pos + 2;
    if (m_utf8)
        return pos + (int)std::max<size_t>(1, Utf8CharLength(std::string_view(m_text).substr((size_t)pos)));
    return pos + 1;
}

int EditText::PrevChar(int pos) const {
    if (pos <= 0)
        return 0;
    pos = std::min(pos, Length());
    if (m_multiLine && pos >= 2 && m_text[(size_t)pos - 1] == '\n' && m_text[(size_t)pos - 2] == '\r')
        return pos - 2;
    int p = pos - 1;
    if (m_utf8)
        while (p > 0 && ((unsigned char)m_text[(size_t)p] & 0xC0) == 0x80)
            --p;
    return p;
}

int EditText::Snap(int pos) const {
    pos = std::clamp(pos, 0, Length());
    if (pos == Length() || pos == 0)
        return pos;
    if (m_multiLine && m_text[(size_t)pos] == '\n' && m_text[(size_t)pos - 1] == '\r')
        return pos - 1;
    if (m_utf8)
        while (pos > 0 && ((unsigned char)m_text[(size_t)pos] & 0xC0) == 0x80)
            --pos;
    return pos;
}

int EditText::CountChars(int from, int to) const {
    int n = 0;
    for (int p = Snap(from); p < to && p < Length(); p = NextChar(p))
        ++n;
    return n;
}

void EditText::Select(int anchor, int caret) {
    m_anchor = Snap(anchor);
    m_caret = Snap(caret);
}

void EditText::MoveCaret(int pos, bool extend) {
    m_caret = Snap(pos);
    if (!extend)
        m_anchor = m_caret;
}

void EditText::MoveBy(Move how, bool extend) {
    int line = LineFromChar(m_caret);
    int to = m_caret;
    switch (how) {
        case Move::CharLeft:
            to = PrevChar(m_caret);
            break;
        case Move::CharRight:
            to = NextChar(m_caret);
            break;
        case Move::WordLeft:
            to = WordStartBefore(m_caret);
            break;
        case Move::WordRight:
            to = WordStartAfter(m_caret);
            break;
        case Move::LineStart:
            to = LineStart(line);
            break;
        case Move::LineEnd:
            to = LineEnd(line);
            break;
        case Move::TextStart:
            to = 0;
            break;
        case Move::TextEnd:
            to = Length();
            break;
    }
    MoveCaret(to, extend);
}

void EditText::MoveLines(int delta, bool extend) {
    int line = LineFromChar(m_caret);
    int target = std::clamp(line + delta, 0, LineCount() - 1);
    if (target == line) {
        MoveCaret(m_caret, extend);
        return;
    }
    MoveCaret(CharAtX(target, XOf(m_caret)), extend);
}

bool EditText::IsBlank(int pos) const {
    char c = m_text[(size_t)pos];
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool EditText::WordStartsAt(int pos) const {
    if (pos <= 0)
        return true;
    return !IsBlank(pos) && (IsBlank(pos - 1) || m_text[(size_t)pos - 1] == '-');
}

int EditText::WordStartAfter(int pos) const {
    int p = NextChar(pos);
    while (p < Length() && !WordStartsAt(p))
        p = NextChar(p);
    return p;
}

int EditText::WordStartBefore(int pos) const {
    int p = PrevChar(pos);
    while (p > 0 && !WordStartsAt(p))
        p = PrevChar(p);
    return p;
}

void EditText::SelectWord(int pos) {
    int n = Length();
    int s = std::clamp(pos, 0, n);
    auto space = [&](int p) { return m_text[(size_t)p] == ' ' || m_text[(size_t)p] == '\t'; };
    // On the blanks after a word: that word.
    if (s == n || space(s))
        while (s > 0 && space(s - 1))
            --s;
    while (s > 0 && !IsBlank(s - 1) && m_text[(size_t)s - 1] != '-')
        --s;
    int e = s;
    while (e < n && !IsBlank(e)) {
        bool hyphen = m_text[(size_t)e] == '-';
        e = NextChar(e);
        if (hyphen)
            break;
    }
    while (e < n && space(e))
        e = NextChar(e);
    Select(s, e);
}

bool EditText::Replace(std::string_view insert, int limit, bool undoable, bool* cut) {
    bool changed = ReplaceAs(insert, limit, Kind::Other, cut);
    if (!undoable)
        EmptyUndo();
    return changed;
}

bool EditText::ReplaceAs(std::string_view insert, int limit, Kind kind, bool* cut) {
    int from = SelStart(), to = SelEnd();
    long room = std::max<long>(0, (long)limit - (Length() - (to - from)));
    size_t keep = FittingHead(insert, (size_t)room);
    if (keep < insert.size() && cut)
        *cut = true;
    std::string_view add = insert.substr(0, keep);
    if (from == to && add.empty())
        return false;
    std::string removed = m_text.substr((size_t)from, (size_t)(to - from));
    if (kind == Kind::Typing && from == to && m_undo.valid && m_undo.kind == Kind::Typing &&
        from == m_undo.pos + (int)m_undo.inserted.size())
        m_undo.inserted.append(add);
    else
        m_undo = UndoRecord{true, kind, from, std::string(add), std::move(removed)};
    m_text.replace((size_t)from, (size_t)(to - from), add);
    m_anchor = m_caret = from + (int)add.size();
    Changed();
    return true;
}

bool EditText::Type(unsigned char byte, int limit, bool* cut) {
    if (!m_pending.empty()) {
        if ((byte & 0xC0) == 0x80) {
            m_pending += (char)byte;
            if (m_pending.size() < SequenceLength((unsigned char)m_pending[0]))
                return false;
            std::string whole;
            whole.swap(m_pending);
            return ReplaceAs(whole, limit, Kind::Typing, cut);
        }
        bool flushed = FlushPending(limit, cut);
        return Type(byte, limit, cut) || flushed;
    }
    if (SequenceLength(byte) > 1) {
        m_pending.assign(1, (char)byte);
        return false;
    }
    char c = (char)byte;
    return ReplaceAs(std::string_view(&c, 1), limit, Kind::Typing, cut);
}

bool EditText::TypeText(std::string_view text, int limit, bool* cut) {
    bool flushed = FlushPending(limit, cut);
    return ReplaceAs(text, limit, Kind::Typing, cut) || flushed;
}

bool EditText::FlushPending(int limit, bool* cut) {
    if (m_pending.empty())
        return false;
    std::string partial;
    partial.swap(m_pending);
    return ReplaceAs(partial, limit, Kind::Typing, cut);
}

void EditText::Remove(int from, int to, Kind kind) {
    std::string removed = m_text.substr((size_t)from, (size_t)(to - from));
    UndoRecord& u = m_undo;
    if (kind == Kind::Backspace && u.valid && u.kind == Kind::Backspace && u.inserted.empty() &&
        u.pos == to) {
        u.removed.insert(0, removed);
        u.pos = from;
    } else if (kind == Kind::Backspace && u.valid && u.kind == Kind::Typing &&
               to == u.pos + (int)u.inserted.size() && from >= u.pos) {
        u.inserted.erase((size_t)(from - u.pos));  // typing taken back
    } else if (kind == Kind::Delete && u.valid && u.kind == Kind::Delete && u.inserted.empty() &&
               u.pos == from) {
        u.removed += removed;
    } else {
        m_undo = UndoRecord{true, kind, from, std::string(), std::move(removed)};
    }
    m_text.erase((size_t)from, (size_t)(to - from));
    m_anchor = m_caret = from;
    Changed();
}

bool EditText::Backspace() {
    if (HasSelection())
        Remove(SelStart(), SelEnd(), Kind::Other);
    else if (m_caret > 0)
        Remove(PrevChar(m_caret), m_caret, Kind::Backspace);
    else
        return false;
    return true;
}

bool EditText::Delete() {
    if (HasSelection())
        Remove(SelStart(), SelEnd(), Kind::Other);
    else if (m_caret < Length())
        Remove(m_caret, NextChar(m_caret), Kind::Delete);
    else
        return false;
    return true;
}

bool EditText::Undo() {
    if (!m_undo.valid)
        return false;
    UndoRecord& u = m_undo;
    int end = std::min(Length(), u.pos + (int)u.inserted.size());
    m_text.replace((size_t)u.pos, (size_t)(end - u.pos), u.removed);
    m_anchor = u.pos;
    m_caret = u.pos + (int)u.removed.size();
    std::swap(u.inserted, u.removed);
    u.kind = Kind::Other;
    Changed();
    return true;
}

EditText::Commands EditText::Available(bool readOnly, bool password, bool clipboardHasText) const {
    bool selection = HasSelection();
    return Commands{CanUndo() && !readOnly, selection && !readOnly && !password,
                    selection && !password, clipboardHasText && !readOnly,
                    selection && !readOnly, Length() > 0 && (SelStart() > 0 || SelEnd() < Length())};
}

// ---- Lines ----------------------------------------------------------------------------------------

void EditText::SetLayout(int wrapWidth, int tabWidth, Measure measure) {
    m_wrapWidth = wrapWidth;
    m_tabWidth = std::max(1, tabWidth);
    m_measure = std::move(measure);
    Relayout();
}

void EditText::Relayout() {
    m_lines.assign(1, 0);
    if (!m_multiLine)
        return;
    int n = Length(), start = 0;
    for (int i = 0; i + 1 < n; ++i) {
        if (m_text[(size_t)i] != '\r' || m_text[(size_t)i + 1] != '\n')
            continue;
        WrapLine(start, i);
        start = i + 2;
        m_lines.push_back(start);
        ++i;
    }
    WrapLine(start, n);
}

// Adds the soft breaks of the text line [from, to) whose start is already a line start.
void EditText::WrapLine(int from, int to) {
    if (m_wrapWidth <= 0 || !m_measure || Width(from, to) <= m_wrapWidth)
        return;
    int lineStart = from, afterBlanks = -1;
    int i = from;
    while (i < to) {
        int next = NextChar(i);
        char c = m_text[(size_t)i];
        if (c == ' ' || c == '\t') {
            // Blanks never force a break; they hang at the end of the line.
            if (next < to && m_text[(size_t)next] != ' ' && m_text[(size_t)next] != '\t')
                afterBlanks = next;
            i = next;
            continue;
        }
        if (i > lineStart && Width(lineStart, next) > m_wrapWidth) {
            int brk = afterBlanks > lineStart ? afterBlanks : i;
            m_lines.push_back(brk);
            lineStart = brk;
            afterBlanks = -1;
            continue;  // the same character again, on the new line
        }
        i = next;
    }
}

int EditText::LineStart(int line) const {
    if (line < 0 || line >= LineCount())
        return -1;
    return m_lines[(size_t)line];
}

int EditText::LineEnd(int line) const {
    if (line < 0 || line >= LineCount())
        return -1;
    if (line + 1 == LineCount())
        return Length();
    int next = m_lines[(size_t)line + 1];
    bool hard = next >= 2 && m_text[(size_t)next - 2] == '\r' && m_text[(size_t)next - 1] == '\n';
    return hard ? next - 2 : next;
}

int EditText::LineFromChar(int pos) const {
    auto it = std::upper_bound(m_lines.begin(), m_lines.end(), std::max(0, pos));
    return (int)(it - m_lines.begin()) - 1;
}

int EditText::Width(int from, int to) const {
    if (to <= from)
        return 0;
    auto measure = [&](int a, int b) {
        if (b <= a)
            return 0;
        std::string_view run = std::string_view(m_text).substr((size_t)a, (size_t)(b - a));
        return m_measure ? m_measure(run) : 8 * CountChars(a, b);
    };
    if (!m_multiLine)
        return measure(from, to);
    int x = 0, run = from;
    for (int i = from; i < to; ++i) {
        if (m_text[(size_t)i] != '\t')
            continue;
        x += measure(run, i);
        x = (x / m_tabWidth + 1) * m_tabWidth;
        run = i + 1;
    }
    return x + measure(run, to);
}

int EditText::XOf(int pos) const {
    int line = LineFromChar(pos);
    int start = LineStart(line);
    return Width(start, std::clamp(pos, start, LineEnd(line)));
}

int EditText::CharAtX(int line, int x) const {
    line = std::clamp(line, 0, LineCount() - 1);
    int start = LineStart(line), end = LineEnd(line);
    std::vector<int> stops;
    for (int p = start; p < end; p = NextChar(p))
        stops.push_back(p);
    stops.push_back(end);
    // The last stop at or left of x, then whichever of it and the next is nearer.
    size_t lo = 0, hi = stops.size() - 1;
    while (lo < hi) {
        size_t mid = (lo + hi + 1) / 2;
        if (Width(start, stops[mid]) <= x)
            lo = mid;
        else
            hi = mid - 1;
    }
    if (lo + 1 < stops.size()) {
        int left = Width(start, stops[lo]), right = Width(start, stops[lo + 1]);
        if (x - left > right - x)
            return stops[lo + 1];
    }
    return stops[lo];
}

std::vector<EditText::Run> EditText::Runs(int line) const {
    std::vector<Run> runs;
    int start = LineStart(line), end = LineEnd(line);
    if (start < 0)
        return runs;
    int from = start;
    for (int i = start; i <= end; ++i) {
        if (i < end && (!m_multiLine || m_text[(size_t)i] != '\t'))
            continue;
        if (i > from)
            runs.push_back(Run{from, i, Width(start, from)});
        from = i + 1;
    }
    return runs;
}
}  // namespace user
