// The frame that the CSV import and the report-log re-imports share: the wait dialog over the file's
// line count, the file read line by line (text that is not ANSI is refused), the caption step that
// lays out the list's columns, the progress step, and the end: the list's record in the map of imports.
//
//   CImportFrame frame(*this, "CVeltrinView::ImportX", "Processing Import...");
//   if (!frame.Open(path)) return 0;
//   return frame.Run([&] {
//       CString line;
//       while (frame.NextLine(line)) { ...captions, then rows...; frame.Step(rows); }
//       if (frame.NotText()) return 0;
//       return frame.Finish(rows, key, file, folder);
//   });
#pragma once

#include <functional>

#include "analysis/LogPass.h"
#include "platform/base/File.h"

class CVeltrinAnalysis;

class CImportFrame {
public:
    CImportFrame(CVeltrinAnalysis& view, LPCTSTR method, LPCTSTR statusText);

    // Shows the status text, opens the wait dialog over the file's line count with "Importing
    // Content...", shows a record count of 0 and empties the list, then opens the file. When it cannot
    // be opened: the wait dialog closes, the file error's message, "Ready", FALSE.
    BOOL Open(LPCTSTR path);
    // The next line without its line end, while the continue flag holds. FALSE at the end of the file,
    // on Cancel, or for a line that begins with a NUL byte: that ends the import with the message
    // "Unable to read the file (not ANSI text format)!" (NotText() then holds). crlf: the line ended in
    // CR LF rather than a lone LF.
    BOOL NextLine(CString& line, bool* crlf = nullptr);
    BOOL NotText() const { return m_notText; }
    long LineCount() const { return m_lines; }

    // The caption step: " Records  |" for a list that numbers its rows, and "  caption  |" per column,
    // each with "MCL_ALPHA|". A caption is kept to what a list column holds and never breaks the
    // '|'-separated buffer.
    void AddRecordsCaption();
    void AddCaption(LPCTSTR caption);
    int CaptionCount() const { return m_columns; }
    // The view's action text becomes the list's title; the captions and types go into the list's
    // buffers, the columns are created and the view's saved widths applied.
    void SetUpColumns();

    // At every progress step (line count a multiple of the step): "Importing Content...", the row
    // count, the bar, and statusText again when given.
    void Step(int32_t rows, LPCTSTR statusText = nullptr);
    // Ends the import early: the file and the wait dialog close, the message, "Ready".
    void Fail(LPCTSTR message);
    // Ends it normally: the bar to the total, the file and the wait dialog closed, "Ready", the row
    // count, the list's record in the map of imports under key. Returns rows.
    int32_t Finish(int32_t rows, LPCTSTR key, LPCTSTR file, LPCTSTR folder);
    // The guarded part: a memory or file exception ends it with "Unable to read the file!" and 0.
    int32_t Run(const std::function<int32_t()>& body);

private:
    CVeltrinAnalysis& m_view;
    CLogPass m_pass;
    CStdioFile m_file;
    long m_lines = 0;
    bool m_notText = false;
    CString m_names;
    CString m_types;
    int m_columns = 0;
};
