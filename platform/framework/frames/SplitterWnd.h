// CSplitterWnd: a static grid of panes (views or other windows) with fixed bars between them. Each row and
// column has an ideal and a minimum size; the last row and column take the space left.
#pragma once

#include <vector>

#include "platform/framework/frames/FrameWnd.h"

class CSplitterWnd : public CWnd {
    DECLARE_DYNAMIC(CSplitterWnd)
public:
    CSplitterWnd() = default;

    // The grid of `rows` x `columns` panes (1..16 each) in the parent's first pane's place.
    BOOL CreateStatic(CWnd* parent, int rows, int columns, DWORD style = WS_CHILD | WS_VISIBLE,
                      UINT id = AFX_IDW_PANE_FIRST);
    // A view of `viewClass` in the pane, `initialSize` its row's height and column's width.
    virtual BOOL CreateView(int row, int column, const CRuntimeClass* viewClass, SIZE initialSize,
                            CCreateContext* context);

    int GetRowCount() const { return (int)m_rows.size(); }
    int GetColumnCount() const { return (int)m_columns.size(); }
    // Current and minimum size of a row or column; an index out of range gives zeros.
    void GetRowInfo(int row, int& current, int& minimum) const;
    void SetRowInfo(int row, int ideal, int minimum);
    void GetColumnInfo(int column, int& current, int& minimum) const;
    void SetColumnInfo(int column, int ideal, int minimum);

    CWnd* GetPane(int row, int column) const;
    int IdFromRowCol(int row, int column) const { return AFX_IDW_PANE_FIRST + row * 16 + column; }
    // Places the panes after a size or info change.
    virtual void RecalcLayout();

    // Width of the bar between two panes.
    int m_cxSplitterGap = 7;
    int m_cySplitterGap = 7;

protected:
    struct Info {
        int ideal = 0;
        int minimum = 0;
        int current = 0;
    };
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    static void Layout(std::vector<Info>& infos, int extent, int gap);
    std::vector<Info> m_rows;
    std::vector<Info> m_columns;
};
