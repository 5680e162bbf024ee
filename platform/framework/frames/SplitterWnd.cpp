#include "platform/framework/frames/SplitterWnd.h"

#include <algorithm>

#include "platform/framework/docview/View.h"

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

BEGIN_MESSAGE_MAP(CSplitterWnd, CWnd)
ON_WM_SIZE()
ON_WM_PAINT()
END_MESSAGE_MAP()

BOOL CSplitterWnd::CreateStatic(CWnd* parent, int rows, int columns, DWORD style, UINT id) {
    if (!parent || rows < 1 || rows > 16 || columns < 1 || columns > 16 || m_hWnd)
        return FALSE;
    m_rows.assign(rows, Info{});
    m_columns.assign(columns, Info{});
    RECT rc;
    ::GetClientRect(parent->m_hWnd, &rc);
    return Create(nullptr, nullptr, style | WS_CHILD | WS_CLIPCHILDREN, rc, parent, id);
}

BOOL CSplitterWnd::CreateView(int row, int column, const CRuntimeClass* viewClass, SIZE initialSize,
                              CCreateContext* context) {
    if (!m_hWnd || row < 0 || row >= GetRowCount() || column < 0 || column >= GetColumnCount() || !viewClass ||
        GetPane(row, column))
        return FALSE;
    m_rows[row].ideal = initialSize.cy;
    m_columns[column].ideal = initialSize.cx;
    CObject* made = viewClass->CreateObject();
    if (!made || !made->IsKindOf(RUNTIME_CLASS(CWnd))) {
        delete made;
        return FALSE;
    }
    auto* pane = static_cast<CWnd*>(made);
    if (!pane->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, RECT{0, 0, 0, 0}, this,
                      IdFromRowCol(row, column), context))
        return FALSE;  // the pane deleted itself with its window
    RecalcLayout();
    return TRUE;
}

void CSplitterWnd::GetRowInfo(int row, int& current, int& minimum) const {
    current = minimum = 0;
    if (row >= 0 && row < GetRowCount()) {
        current = m_rows[row].current;
        minimum = m_rows[row].minimum;
    }
}

void CSplitterWnd::SetRowInfo(int row, int ideal, int minimum) {
    if (row >= 0 && row < GetRowCount())
        m_rows[row] = Info{ideal, minimum, m_rows[row].current};
}

void CSplitterWnd::GetColumnInfo(int column, int& current, int& minimum) const {
    current = minimum = 0;
    if (column >= 0 && column < GetColumnCount()) {
        current = m_columns[column].current;
        minimum = m_columns[column].minimum;
    }
}

void CSplitterWnd::SetColumnInfo(int column, int ideal, int minimum) {
    if (column >= 0 && column < GetColumnCount())
        m_columns[column] = Info{ideal, minimum, m_columns[column].current};
}

CWnd* CSplitterWnd::GetPane(int row, int column) const {
    if (!m_hWnd || row < 0 || row >= GetRowCount() || column < 0 || column >= GetColumnCount())
        return nullptr;
    return FromHandle(::GetDlgItem(m_hWnd, IdFromRowCol(row, column)));
}

// Every row but the last gets its ideal size while room is left; one squeezed below its minimum
// collapses to nothing. The last takes what remains.
void CSplitterWnd::Layout(std::vector<Info>& infos, int extent, int gap) {
    int left = extent;
    for (size_t i = 0; i < infos.size(); ++i) {
        Info& info = infos[i];
        bool last = i + 1 == infos.size();
        int size = last ? left : std::min(std::max(info.ideal, 0), std::max(left - gap, 0));
        if (size < info.minimum && !last)
            size = 0;
        info.current = std::max(size, 0);
        left -= info.current + (last ? 0 : gap);
    }
}

void CSplitterWnd::RecalcLayout() {
    if (!m_hWnd)
        return;
    RECT rc;
    GetClientRect(&rc);
    Layout(m_rows, rc.bottom - rc.top, m_cySplitterGap);
    Layout(m_columns, rc.right - rc.left, m_cxSplitterGap);
    int y = 0;
    for (int r = 0; r < GetRowCount(); ++r) {
        int x = 0;
        for (int c = 0; c < GetColumnCount(); ++c) {
            if (CWnd* pane = GetPane(r, c)) {
                bool shown = m_rows[r].current > 0 && m_columns[c].current > 0;
                ::SetWindowPos(pane->m_hWnd, nullptr, x, y, m_columns[c].current, m_rows[r].current,
                               SWP_NOZORDER | SWP_NOACTIVATE | (shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
            }
            x += m_columns[c].current + m_cxSplitterGap;
        }
        y += m_rows[r].current + m_cySplitterGap;
    }
    Invalidate();
}

void CSplitterWnd::OnSize(UINT, int, int) {
    RecalcLayout();
}

void CSplitterWnd::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    RECT rc;
    GetClientRect(&rc);
    // The panes cover their cells; what shows is the bars.
    ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_3DFACE));
    ::EndPaint(m_hWnd, &ps);
}
