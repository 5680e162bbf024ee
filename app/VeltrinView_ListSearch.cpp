// The report view's list search, goto line, clipboard copy and saved column widths.
#include <cstring>

#include "analysis/SqlFormat.h"
#include "app/VeltrinView.h"
#include "core/PrivateMessages.h"
#include "platform/base/GlobalMemory.h"
#include "platform/base/MessageBox.h"
#include "platform/framework/app/WinThread.h"
#include "platform/user/Clipboard.h"

namespace {
const char kBlankList[] = "BlankList";

CString SectionOf(LPCTSTR layout) {
    return (layout && *layout) ? CString(layout) : CString(kBlankList);
}

// The text of a search message: the frame passes it in lParam; a sender that follows the message's
// own description passes it in wParam.
LPCTSTR MessageText(WPARAM wParam, LPARAM lParam) {
    if (lParam)
        return (LPCTSTR)lParam;
    return wParam ? (LPCTSTR)wParam : "";
}
}  // namespace

BOOL CVeltrinView::SearchList(LPCTSTR textIn, BOOL next) {
    CString text(textIn ? textIn : "");
    text.MakeUpper();
    const int columns = m_List.GetColumnCount();
    const int rows = m_List.GetItemCount();
    const int selected = m_List.GetNextSelected(-1);
    int start = 0;
    if (next)
        start = selected < 0 ? 0 : selected + 1;
    else if (selected > 0 && selected < rows)
        start = selected + 1;
    const int both = text.Find("&&");
    const CString first = both >= 0 ? text.Left(both) : text;
    const CString second = both >= 0 ? text.Mid(both + 2) : CString();
    for (int row = start; row < rows; ++row) {
        for (int col = 2; col < columns; ++col) {
            CString cell = m_List.GetItemText(row, col);
            cell.MakeUpper();
            bool hit = both >= 0 ? cell.Find(first) >= 0 && cell.Find(second) >= 0 : cell.Find(text) >= 0;
            if (!hit)
                continue;
            m_List.SetItemState(next && selected >= 0 ? selected : row, 0, LVIS_SELECTED);
            OnShowListItem(row, TRUE);
            m_csLastNav = next && both < 0 ? "WM_SEARCHF3" : "WM_SEARCH";
            return TRUE;
        }
    }
    PlatformMessageBox(m_hWnd, "End of Search", "Search", MB_ICONINFORMATION | MB_SETFOREGROUND);
    return FALSE;
}

LRESULT CVeltrinView::OnSearch(WPARAM wParam, LPARAM lParam) {
    return SearchList(MessageText(wParam, lParam), FALSE);
}

LRESULT CVeltrinView::OnSearchNext(WPARAM wParam, LPARAM lParam) {
    CWaitCursor wait;
    return SearchList(MessageText(wParam, lParam), TRUE);
}

BOOL CVeltrinView::GotoLine(LPCTSTR textIn) {
    CString text(textIn ? textIn : "");
    text.MakeUpper();
    // A request line names its line after "GOTOLINE:"; a bare text after its first ':'.
    int at = text.Find("GOTOLINE:");
    if (at >= 0)
        text = text.Mid(at + 9);
    else if ((at = text.Find(':')) >= 0)
        text = text.Mid(at + 1);
    text.TrimRight();
    for (int row = 0; row < m_List.GetItemCount(); ++row) {
        if (m_List.GetItemText(row, 1) != text)
            continue;
        OnShowListItem(row, TRUE);
        m_csLastNav = "WM_GOTOLINE";
        return TRUE;
    }
    ClearPadText();
    m_nHighlightRow = 0;
    SendMessage(WM_CLEARHIGHLIGHT, 0, 0);
    if (m_List.m_hWnd)
        m_List.SetFocus();
    return FALSE;
}

LRESULT CVeltrinView::OnGotoLine(WPARAM wParam, LPARAM lParam) {
    return GotoLine(MessageText(wParam, lParam));
}

CString CVeltrinView::SelectedRowsText() const {
    CString text;
    const int columns = m_List.GetColumnCount();
    for (int row = m_List.GetNextSelected(-1); row >= 0; row = m_List.GetNextSelected(row)) {
        for (int col = 0; col < columns; ++col) {
            text += m_List.GetItemText(row, col);
            text += " | ";
        }
        text += "\r\n";
    }
    return text;
}

void CVeltrinView::OnCopyToClipboard() {
    CString text = SelectedRowsText();
    if (text.IsEmpty() || !OpenClipboard(m_hWnd))
        return;
    EmptyClipboard();
    if (HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (SIZE_T)text.GetLength() + 1)) {
        memcpy(GlobalLock(mem), text.GetString(), (size_t)text.GetLength() + 1);
        GlobalUnlock(mem);
        SetClipboardData(CF_TEXT, mem);
    }
    CloseClipboard();
}

void CVeltrinView::RestoreColumnWidths(LPCTSTR layout) {
    if (GetProfileInt(SectionOf(layout), "ColumnCount", 0) <= 0)
        return;
    CVeltrinAnalysis::RestoreColumnWidths(layout);
    if (m_List.m_hWnd) {
        ::SendMessage(m_List.m_hWnd, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(m_List.m_hWnd, nullptr, TRUE);
        ::UpdateWindow(m_List.m_hWnd);
    }
}

void CVeltrinView::SaveColumnWidths(LPCTSTR layout) {
    const int count = m_List.GetColumnCount();
    if (count <= 0)
        return;
    const CString section = SectionOf(layout);
    WriteProfileInt(section, "ColumnCount", count);
    for (int i = 0; i < count; ++i) {
        CString entry;
        entry.Format("%i", i);
        WriteProfileInt(section, entry, m_List.GetColumnWidth(i));
    }
}

LRESULT CVeltrinView::OnSaveColumnLayout(WPARAM, LPARAM) {
    SaveColumnWidths(m_csLayout);
    return 0;
}

void CVeltrinView::NormalizeSql(CString& text) {
    FormatSqlStatement(text);
}
