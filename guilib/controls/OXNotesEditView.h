// COXNotesEditView: an edit view with a strip along one side (the notes margin) where a double click sets
// or clears a note image on a line, or which shows line numbers. Notes are tied to character positions
// and follow the text as it changes. Tab and Shift+Tab indent and unindent the selected lines.
#pragma once

#include "platform/framework/docview/EditView.h"
#include "platform/user/ImageList.h"

// Bitmap and cursor resources the view loads by id: the margin pattern, the four note images, the
// margin cursor. Without them the margin is button face and no note image is drawn.
#define IDB_OX_NOTES_PATTERN 28002
#define IDB_OX_NOTES_IMAGES 28003
#define IDC_OX_NOTES_CURSOR 28001

class COXNotesEditView : public CEditView {
    DECLARE_DYNCREATE(COXNotesEditView)
public:
    enum Side { NotesLeft = 1, NotesRight = 2 };
    enum Mode { NotesImages = 0, NotesLineNumbers = 1 };
    // Positions a note can carry (24 bits).
    static constexpr int kMaxNotePosition = 0xFFFFFF;

    // width -1 takes the width of a vertical scroll bar.
    COXNotesEditView(int side = NotesLeft, int width = -1, int mode = NotesImages);
    ~COXNotesEditView() override;

    virtual void CreateNoteImages();
    // The image of the note on a line, or -1.
    virtual int GetNoteIndex(int line) const;
    virtual void DrawNotesMargin(HDC dc);
    // The pointer passes between margin (zone 1) and text (zone 2); `cursor` may be replaced.
    virtual void ChangeCursor(HCURSOR* cursor, int zone) { (void)cursor, (void)zone; }
    // Asked before a note is set; FALSE vetoes it, `image` may be changed.
    virtual BOOL ValidateNote(int position, int* image) { (void)position, (void)image; return TRUE; }

    // A note with image `image` (modulo 256) at `position`; a position beyond 24 bits is refused.
    void SetNote(int position, int image);
    BOOL HasNote(int position) const;
    // Every note with from <= position <= to; -1 means the start or the end of the text.
    void RemoveNotes(int from, int to);
    // Every note at or after `from` moves by `delta`; one that would not stay above 0 is removed.
    void ShiftNotes(int from, int delta);
    void GetNotesRect(LPRECT rect) const;
    SIZE GetImageSize() const;
    int GetLineHeight() const;
    int GetLastVisibleLine() const;

    int GetNotesCount() const { return (int)m_arrNotes.GetSize(); }
    // The note word at `index`: position in the low 24 bits, image in the high 8.
    DWORD GetNote(int index) const { return m_arrNotes[index]; }
    int GetNotesWidth() const { return m_nNotesWidth; }
    int GetNotesSide() const { return m_nSide; }
    int GetNotesMode() const { return m_nMode; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    CString m_csText;                // the text after the last change
    HBRUSH m_hTextBrush = nullptr;   // COLOR_WINDOW
    HIMAGELIST m_hImages = nullptr;
    CDWordArray m_arrNotes;          // sorted by position
    HBRUSH m_hMarginBrush = nullptr; // pattern brush of bitmap 28002
    HCURSOR m_hMarginCursor = nullptr;
    COLORREF m_clrText;
    int m_nNotesWidth;
    int m_nSide;
    int m_nZone = 0;                 // 0 none yet, 1 margin, 2 text
    DWORD m_dwUserMargins = 0;       // left in the low word, right in the high word
    BOOL m_bAdjusting = FALSE;
    COLORREF m_clrMarginText;
    HFONT m_hMarginFont = nullptr;
    int m_nMode;

    // Changes measured against the stored text; moves or drops notes.
    void TrackNotes();
    void OnTab();
    void SetControlMargins();
    LRESULT OnSetMargins(WPARAM wParam, LPARAM lParam);
    BOOL InMargin(POINT p) const;
    void RedrawMargin();
};
