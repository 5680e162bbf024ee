// What an edit control holds, without a window: the text (bytes), the caret and selection, one level of
// undo, words, and the lines of a multi-line edit (CR LF breaks, and soft breaks where text wraps).
//
// Positions are byte offsets. The caret moves, selects and deletes by whole characters: UTF-8
// characters when the whole text is valid UTF-8 (as it is drawn then), single bytes otherwise (as
// Windows-1252 text is drawn); in a multi-line edit CR LF is one character.
#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace user {
class EditText {
public:
    // Pixel width of a run of text of one line that holds no tab.
    using Measure = std::function<int(std::string_view)>;

    explicit EditText(bool multiLine = false) : m_multiLine(multiLine) { Relayout(); }

    const std::string& Text() const { return m_text; }
    int Length() const { return (int)m_text.size(); }
    bool MultiLine() const { return m_multiLine; }
    // Whether characters are UTF-8 sequences (the whole text is valid UTF-8) rather than bytes.
    bool Utf8() const { return m_utf8; }
    // A new text: the caret at its start, the undo emptied.
    void SetText(std::string_view text);

    // Characters.
    int NextChar(int pos) const;
    int PrevChar(int pos) const;
    // Clamped to the text and moved back to the start of the character it falls in.
    int Snap(int pos) const;
    int CountChars(int from, int to) const;

    // Selection: the anchor stays, the caret moves.
    int Anchor() const { return m_anchor; }
    int Caret() const { return m_caret; }
    int SelStart() const { return std::min(m_anchor, m_caret); }
    int SelEnd() const { return std::max(m_anchor, m_caret); }
    bool HasSelection() const { return m_anchor != m_caret; }
    std::string Selected() const {
        return m_text.substr((size_t)SelStart(), (size_t)(SelEnd() - SelStart()));
    }
    void Select(int anchor, int caret);
    // Moves the caret; `extend` keeps the anchor (Shift), else the selection collapses there.
    void MoveCaret(int pos, bool extend);

    // Caret keys: Left/Right, Ctrl+Left/Right, Home/End, Ctrl+Home/End; `extend` is Shift.
    enum class Move { CharLeft, CharRight, WordLeft, WordRight, LineStart, LineEnd, TextStart, TextEnd };
    void MoveBy(Move how, bool extend);
    // Up/Down and the page keys: the caret to the nearest place on a line `delta` lines away.
    void MoveLines(int delta, bool extend);

    // Words: a word runs to the next blank and ends after a hyphen; the blanks after it belong to it.
    int WordStartBefore(int pos) const;  // Ctrl+Left
    int WordStartAfter(int pos) const;   // Ctrl+Right
    // Selects the word at `pos` with its blanks (a double click).
    void SelectWord(int pos);

    // Editing. Each answers whether the text changed. `limit` is the most bytes the text may hold;
    // `cut` is set when it cut the inserted text (which is cut at a character's end).
    bool Replace(std::string_view insert, int limit, bool undoable, bool* cut = nullptr);
    // A typed byte. The lead byte of a UTF-8 character waits for its continuation bytes, so a
    // character goes in whole; bytes that do not complete one go in as they came.
    bool Type(unsigned char byte, int limit, bool* cut = nullptr);
    // Typed text that is one keystroke (Enter's CR LF).
    bool TypeText(std::string_view text, int limit, bool* cut = nullptr);
    bool HasPending() const { return !m_pending.empty(); }
    // Puts a waiting partial character in as it stands.
    bool FlushPending(int limit, bool* cut = nullptr);
    bool Backspace();
    bool Delete();
    bool CanUndo() const { return m_undo.valid; }
    // Undoes the last change; undoing again redoes it. The restored text is selected.
    bool Undo();
    void EmptyUndo() { m_undo = UndoRecord{}; }

    // Which commands of the context menu apply.
    struct Commands {
        bool undo, cut, copy, paste, clear, selectAll;
    };
    Commands Available(bool readOnly, bool password, bool clipboardHasText) const;

    // Lines. Without a wrap width only CR LF breaks a multi-line text; with one, a line also breaks
    // after the last blank that fits (or inside a word wider than the line). A single-line text is
    // one line.
    void SetLayout(int wrapWidth, int tabWidth, Measure measure);
    int LineCount() const { return (int)m_lines.size(); }
    int LineStart(int line) const;
    // The end of a line's text, before its CR LF.
    int LineEnd(int line) const;
    int LineFromChar(int pos) const;
    // Pixels from the line's start to `pos` on its line, tabs expanded.
    int XOf(int pos) const;
    int LineWidth(int line) const { return XOf(LineEnd(line)); }
    // The character boundary on a line nearest to `x`.
    int CharAtX(int line, int x) const;
    // Tab-free runs of a line and where each starts, for drawing.
    struct Run {
        int from, to, x;
    };
    std::vector<Run> Runs(int line) const;

private:
    enum class Kind { Other, Typing, Backspace, Delete };
    struct UndoRecord {
        bool valid = false;
        Kind kind = Kind::Other;
        int pos = 0;
        std::string inserted, removed;
    };
    bool ReplaceAs(std::string_view insert, int limit, Kind kind, bool* cut);
    void Changed();
    void Relayout();
    void WrapLine(int from, int to);
    int Width(int from, int to) const;
    bool IsBlank(int pos) const;
    bool WordStartsAt(int pos) const;
    // Removes [from, to) and records it for undo as `kind`.
    void Remove(int from, int to, Kind kind);

    std::string m_text;
    bool m_multiLine;
    bool m_utf8 = true;
    int m_anchor = 0, m_caret = 0;
    std::string m_pending;
    UndoRecord m_undo;
    std::vector<int> m_lines;  // line starts
    int m_wrapWidth = 0;
    int m_tabWidth = 32;
    Measure m_measure;
};
}  // namespace user
