// The "SysListView32" class in report mode: columns in a header control, rows of cells, selection and
// focus, custom draw and owner draw, label editing, keyboard and mouse, and scroll bar controls of its own.
// One class over several files by concern: ListView_Store.cpp (rows, cells, columns, states),
// ListView_Layout.cpp (geometry and scrolling), ListView_Paint.cpp (drawing), ListView_Input.cpp (keys,
// mouse, label editing) and ListView.cpp (the messages).
//
// Rows are kept compactly: one 32-byte record per row and one heap block holding all its cells as
// (varint length, bytes) pairs. With LVS_OWNERDATA the control keeps no rows at all: it asks its parent for
// what it shows (LVN_GETDISPINFO). Painting and hit testing only ever look at the rows on screen.
//
// This store is the control's own and stays apart from gxListModel because they serve different owners:
// the control stands in for the platform's list view, below the system's code, and keeps the rows of
// owners that insert them one by one (LVM_INSERTITEM); the report list keeps its rows in gxListModel and
// runs the control with LVS_OWNERDATA, so there the control stores none.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/user/ImageList.h"
#include "platform/user/ListView.h"
#include "platform/user/controls/ControlProc.h"

namespace user::listview {
constexpr int kTextBuffer = 260;         // what a display request offers the owner (as Windows does)
constexpr int kCellMargin = 6;           // text inset from a cell's edges
constexpr int kHScrollStep = 30;         // pixels per horizontal line scroll
constexpr UINT_PTR kEditTimer = 0x4C56;  // the delayed label edit after a click on the focused row
constexpr UINT kEditDelay = 500;
constexpr int kAutosizeAllRowsLimit = 50000;  // beyond this, autosize measures the rows on screen only

// A cell is stored as varint(length + 1) and its bytes; varint 0 marks a text the owner supplies.
struct CellRef {
    bool callback = false;
    std::string_view text;
};

struct Row {
    char* cells = nullptr;  // malloc'd block
    uint32_t size = 0;
    uint16_t count = 0;
    uint16_t pad = 0;
    UINT state = 0;
    int image = 0;
    LPARAM lParam = 0;
};
static_assert(sizeof(Row) <= 32, "rows stay compact");

CellRef CellOf(const Row& r, int sub);
bool SetCell(Row& r, int sub, LPCTSTR text);

struct Column {
    std::string text;
    int width = 0;
    int fmt = LVCFMT_LEFT;
    int subItem = 0;
    int image = 0;
};

class ListView : public Control {
public:
    explicit ListView(HWND h) : Control(h, 0) {}
    ~ListView() override;
    LRESULT Proc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    bool OwnerData() const { return (Style() & LVS_OWNERDATA) != 0; }
    bool FullRow() const { return (m_exStyle & LVS_EX_FULLROWSELECT) != 0; }
    int Count() const { return OwnerData() ? m_count : (int)m_rows.size(); }
    bool Valid(int i) const { return i >= 0 && i < Count(); }
    int TotalWidth() const {
        int w = 0;
        for (const Column& c : m_cols)
            w += c.width;
        return w;
    }
    HFONT Font() const { return (HFONT)FontOr(DEFAULT_GUI_FONT); }

    LRESULT NotifyItem(UINT code, int item, int sub, UINT newState = 0, UINT oldState = 0, UINT changed = 0,
                       POINT pt = POINT{0, 0}, LPARAM lParam = 0);

    // Texts, states and data as shown (asking the owner where it keeps them).
    std::string_view Text(int item, int sub, char* buf);
    UINT State(int item, UINT mask);
    LPARAM Param(int item) const { return !OwnerData() && Valid(item) ? m_rows[(size_t)item].lParam : 0; }
    bool SetState(int item, UINT state, UINT mask);
    bool SetOneState(int item, UINT state, UINT mask);
    void DeselectAllBut(int keep);
    void DeselectOutside(int first, int last);  // rows before `first` or after `last`
    int SelectedCount();
    int NextItem(int start, UINT flags);

    // Layout and scrolling.
    void Measure();
    void Layout();
    RECT ItemsArea() {
        Layout();
        return m_area;
    }
    int PerPage() {
        Layout();
        return std::max(1, (int)(m_area.bottom - m_area.top) / m_rowHeight);
    }
    void SetTop(int top);
    void SetScrollX(int x);
    bool EnsureVisible(int item, bool partialOk);
    bool WholeInvalid();
    void Invalidate();
    void InvalidateItem(int item);
    RECT RowRect(int item);
    bool ItemRect(int item, int sub, UINT code, RECT* out);
    int HitTest(POINT p, UINT* flags, int* sub, bool anyColumn);
    bool Scroll(int dx, int dy);
    int StringWidth(LPCTSTR text);
    int AutosizeWidth(int col, bool useHeader);

    // Painting.
    void EraseBackground(HDC dc);
    void PaintItems(HDC dc);
    void DrawRow(HDC dc, int item, int y, bool notifyItems, const RECT& clip);
    void DrawOwnerRow(HDC dc, int item, const RECT& row, UINT state);
    void DrawGridlines(HDC dc, const RECT& clip);
    void DrawFocus(HDC dc);
    void Print(HDC dc, LPARAM flags);

    // Input.
    enum class Press { Released, Dragged, Abandoned };
    Press TrackPress(POINT start);
    void OnButtonDown(UINT msg, WPARAM keys, POINT p);
    void NotifyButton(UINT msg, int item, int sub, POINT p, UINT was);
    void OnKeyDown(UINT vk);
    void MoveFocus(int item, bool shift, bool ctrl);
    void OnScroll(bool vertical, int code, HWND bar);
    LRESULT OnHeaderNotify(NMHEADER* nm, LPARAM lParam);

    // Columns and rows.
    int InsertColumn(int at, const LVCOLUMN& col);
    bool DeleteColumn(int col);
    bool GetColumn(int col, LVCOLUMN& lc) const;
    bool SetColumn(int col, const LVCOLUMN& lc);
    bool SetColumnWidth(int col, int cx);
    int InsertItem(const LVITEM& item);
    bool DeleteItem(int item);
    bool DeleteAll(bool notify);
    bool SetItem(const LVITEM& item);
    bool GetItem(LVITEM& item);
    int GetItemText(int item, LVITEM& li);
    void SetCount(int n, DWORD flags);
    bool Sort(PFNLVCOMPARE compare, LPARAM data);

    // Check boxes (LVS_EX_CHECKBOXES) and state images.
    bool CheckBoxes() const { return (m_exStyle & LVS_EX_CHECKBOXES) != 0; }
    void ApplyCheckBoxes(bool on);
    void DropOwnStateImages();
    int StateImageWidth() const;
    void DrawStateImage(HDC dc, int item, const RECT& cell);
    void ToggleCheck(int item);

    // Label editing.
    HWND EditLabel(int item);
    void EndEdit(bool commit);
    void OnLabelEditEnd(HWND edit, bool commit) override;

    // The messages, by kind; each answers its own and leaves the others (nullopt).
    LRESULT OnCreate();
    void OnDestroy();
    std::optional<LRESULT> WindowMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> InputMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> ItemMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> ColumnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> ViewMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> SettingMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    HWND m_header = nullptr;
    HWND m_vbar = nullptr;
    HWND m_hbar = nullptr;
    HWND m_edit = nullptr;
    int m_editItem = -1;
    std::vector<Column> m_cols;
    std::vector<Row> m_rows;
    int m_count = 0;             // owner data
    std::set<int> m_odSelected;  // owner data, when the owner does not keep the selection
    int m_selected = 0;          // selected rows (not owner data)
    int m_focus = -1;
    int m_mark = -1;
    DWORD m_exStyle = 0;
    COLORREF m_bk = GetSysColor(COLOR_WINDOW);
    COLORREF m_text = GetSysColor(COLOR_WINDOWTEXT);
    COLORREF m_textBk = GetSysColor(COLOR_WINDOW);
    UINT m_callbackMask = 0;
    HANDLE m_imageLists[3] = {};
    HIMAGELIST m_ownStateImages = nullptr;  // the check boxes' images, made by the control
    int m_top = 0;
    int m_scrollX = 0;
    int m_rowHeight = 16;
    int m_ownerDrawHeight = 0;
    bool m_measured = false;
    bool m_metricsDirty = true;
    bool m_layoutDirty = true;
    bool m_paintPending = false;
    bool m_redraw = true;
    bool m_inLayout = false;
    RECT m_area{};
    RECT m_headerRect{};
    RECT m_vbarRect{};
    RECT m_hbarRect{};
    bool m_vbarShown = false;
    bool m_hbarShown = false;
    bool m_focusDrawnByParent = false;  // the focused row was drawn whole by custom draw
    int m_editTimerItem = -1;
};
}  // namespace user::listview
