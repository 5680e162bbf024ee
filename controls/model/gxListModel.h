// The report list without its window: the fill buffers and their parsing, columns, rows with their cell
// texts, row colours, item data and state, sort keys and sorting. gxListCtrl draws it; the analysis tests
// use it alone as their list.
//
// Fill protocol: ResetList; write the title into m_csTitle, each caption followed by '|' into m_csNames
// and each type word followed by '|' into m_csTypes; SetColumns(n); then AddItem(row, column, text) for
// every cell, column 0 first (it creates the row).
//
// Storage: each row keeps its cells as one block of (length, bytes) pairs in a shared chunked arena, and
// the rows themselves sit in fixed-size chunks that never move, so a million rows cost a few dozen bytes
// each beyond their text and growing never copies them. Rows are addressed through an order table, so
// sorting and inserting move 4-byte indices only; everything a row holds moves with it. Item data, which
// few lists use, is kept beside the rows.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <string_view>
#include <vector>

#include "controls/model/PagePrefaulter.h"
#include "platform/base/String.h"
#include "platform/base/Types.h"

// What a window over the model needs to hear. Rows are display positions at the time of the call.
class gxListModelObserver {
public:
    virtual ~gxListModelObserver() = default;
    // Columns were created, deleted or renamed, or the caption or colours that SetColumns sets changed.
    virtual void OnColumnsChanged() {}
    virtual void OnColumnWidthChanged(int /*nCol*/) {}
    // A row was inserted at nItem; the rows from nItem on moved down by one.
    virtual void OnItemInserted(int /*nItem*/) {}
    virtual void OnItemTextChanged(int /*nItem*/, int /*nSubItem*/) {}
    // Colours, item data or state of a row changed; bRedraw: the caller asked for the row to be redrawn now.
    virtual void OnItemChanged(int /*nItem*/, bool /*bRedraw*/) {}
    // Every row is gone.
    virtual void OnAllItemsDeleted() {}
    // SelectItem selected this row: the window brings it into view, takes the focus and tells its owner.
    virtual void OnItemSelected(int /*nItem*/) {}
    // The selection of many rows changed at once (DeselectAll).
    virtual void OnSelectionCleared() {}
    // Rows nLow..nHigh were reordered.
    virtual void OnItemsSorted(int /*nLow*/, int /*nHigh*/) {}
    // A sort or a deletion that may take a while starts (true) or ends (false): the window's wait cursor.
    virtual void OnLongOperation(bool /*bStart*/) {}
};

class gxListModel {
public:
    // Column type words and their numbers; any other word is MCL_ALPHA.
    enum { MCL_ALPHA = 0, MCL_NUM = 1, MCL_DDMMYY = 2, MCL_DDMMYYYY = 3, MCL_MMDDYY = 4, MCL_MMDDYYYY = 5 };
    // Row state bits, with the values of the list view's LVIS_FOCUSED and LVIS_SELECTED.
    enum { kFocused = 0x0001, kSelected = 0x0002 };
    // "No colour given" (the value of CLR_NONE).
    static constexpr COLORREF kNoColor = 0xFFFFFFFF;
    static constexpr int kMaxColumns = 255;
    // Longest caption or type word kept by NextField.
    static constexpr int kMaxField = 255;
    // Widths above this, read back from a saved layout, are taken as damaged.
    static constexpr int kMaxSavedWidth = 9999;

    static constexpr COLORREF kEvenRowColor = 0xF9F7F0;
    static constexpr COLORREF kOddRowColor = 0xEFE8E5;
    static constexpr COLORREF kSetColumnsTextBkColor = 0xF5F5D9;
    static constexpr COLORREF kSetColumnsHighlightBkColor = 0xD2D2A0;
    static constexpr COLORREF kSetColumnsHighlightTextColor = 0xC00000;

    gxListModel();
    ~gxListModel();
    gxListModel(const gxListModel&) = delete;
    gxListModel& operator=(const gxListModel&) = delete;

    // The buffers a filling caller appends to; they grow as needed.
    CString m_csTypes;
    CString m_csNames;
    CString m_csTitle;

    void SetObserver(gxListModelObserver* pObserver) { m_pObserver = pObserver; }

    // --- filling ---
    // Deletes rows and columns, then empties the three buffers.
    void ResetList();
    // Deletes every row and every column (captions and type numbers too). The caption stays.
    BOOL DeleteAllItems();
    // Creates nColumns columns from m_csNames and m_csTypes (at most kMaxColumns in all), copies m_csTitle
    // into the caption and sets the text background and highlight colours of a filled list.
    int SetColumns(int nColumns);
    // A left-aligned column (len * 3 + 3) * 2 pixels wide, len counting every character of the caption.
    // An index beyond the last column appends. Returns the new column's index, -1 when the list already
    // has kMaxColumns columns or nCol is negative.
    int InsertColumn(int nCol, LPCTSTR lpszColumnHeading);
    // Column 0 inserts a row at nItem (appends when nItem is beyond the last row) and returns its index,
    // -1 on failure. A later column sets the text of an existing row and returns nonzero on success. A
    // column at or beyond the column count does nothing.
    int AddItem(int nItem, int nSubItem, LPCTSTR lpszText);
    // A whole row in one call, its cells in column order: the same as AddItem of column 0 at nItem and then
    // of each later column, with one store. Cells beyond the column count are left out. Returns the row's
    // index, -1 on failure (no columns, nItem negative, a cell too long).
    int AddRow(int nItem, const std::string_view* pCells, int nCells);
    // Sets the text of any cell of an existing row.
    BOOL SetItemText(int nItem, int nSubItem, LPCTSTR lpszText);

    // One field of a '|'-separated buffer at a running index: the characters up to '|' or the end, keeping
    // blanks and the characters 34 to 125 only, at most kMaxField of them. The index moves past the '|'.
    // At or beyond the end the field is empty and the index stays at the end.
    static CString NextField(const CString& csBuffer, int& nIndex);
    // Number of a column type word (exact, case-sensitive); any other word is MCL_ALPHA.
    static int ColumnTypeFromWord(const CString& csWord);

    // --- columns ---
    int GetColumnCount() const { return (int)m_columns.size(); }
    // The caption as inserted, blanks included; empty for a column the list does not have.
    CString GetColumnName(int nCol) const;
    int GetColumnType(int nCol) const;
    // (length of the caption without trailing blanks + 2) * 7 pixels; leading blanks count.
    int GetColumnDefaultWidth(int nCol) const;
    // Width in pixels; -1 for a column the list does not have.
    int GetColumnWidth(int nCol) const;
    // Stores a width of 0 or more. The autosize requests (negative values) are measured by the window.
    BOOL SetColumnWidth(int nCol, int nWidth);
    // A width read back from a saved layout: above kMaxSavedWidth or below 0 it is damaged and the column's
    // default width is used instead; a column the list does not have is ignored.
    BOOL SetSavedColumnWidth(int nCol, int nWidth);
    // The column under a point x pixels right of a row's left edge: the first column whose span
    // [left, left + width] holds x; -1 past the last column.
    int HitTestColumn(int x) const;
    CString GetCaption() const { return m_csCaption; }

    // --- rows ---
    int GetItemCount() const { return (int)m_order.size(); }
    // Text of a cell; empty for a cell the row never got and for a row or column that does not exist.
    CString GetItemText(int nItem, int nSubItem) const;
    // The same without a copy; valid until the list is next changed.
    std::string_view GetItemTextView(int nItem, int nSubItem) const;
    // The caller's own item data; 0 when it gave none.
    DWORD_PTR GetItemData(int nItem) const;
    BOOL SetItemData(int nItem, DWORD_PTR dwData);

    void SetItemTextColor(int nItem, COLORREF cr, bool bRedraw);
    void SetItemBkColor(int nItem, COLORREF cr, bool bRedraw);
    // The colours a caller gave the row; kNoColor when it gave none.
    COLORREF GetRowColor(int nItem) const;
    COLORREF GetRowTextColor(int nItem) const;
    // The colour the striped drawing gives a row.
    COLORREF GetStripeColor(int nItem) const { return (nItem & 1) ? m_crOddRow : m_crEvenRow; }
    bool IsStriped() const { return m_bStripe; }

    void SetHighlightTextColor(COLORREF cr) { m_crHighlightText = cr; }
    void SetHighlightBkColor(COLORREF cr) { m_crHighlightBk = cr; }
    COLORREF GetHighlightTextColor() const { return m_crHighlightText; }
    COLORREF GetHighlightBkColor() const { return m_crHighlightBk; }
    // Text background of the cells; kNoColor until SetColumns sets it.
    COLORREF GetTextBkColor() const { return m_crTextBk; }

    // --- selection and focus ---
    // kSelected and kFocused bits of a row (0 for a row that does not exist).
    UINT GetItemState(int nItem, UINT nMask) const;
    // Sets the bits of nMask to those of nState. At most one row has the focus.
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    // Selects a row (others stay selected) and tells the window to show it.
    BOOL SelectItem(int nItem);
    // Index of the first selected row; the row count + 1 when none is selected.
    int GetFirstSelected() const;
    // Next selected row after nItem (-1 starts at the top); -1 when there is none.
    int GetNextSelected(int nItem) const;
    // The focused row, -1 when none.
    int GetFocusedItem() const;
    // Clears every row's selection; returns the row count.
    int DeselectAll();

    // --- sorting ---
    // The normalised key of a cell by its column's caption.
    CString GetSortKey(int nItem, int nCol) const;
    // Sorts rows nLow..nHigh (nHigh -1: the last row) by the column's keys, byte by byte. Rows with equal
    // keys keep their order. FALSE when there is nothing to sort or the column does not exist.
    BOOL SortTextItems(int nCol, BOOL bAscending, int nLow = 0, int nHigh = -1);
    // What a header click does: descending when the last sort was ascending on this column, else
    // ascending; the column and direction are remembered.
    void SortByColumn(int nCol);
    int GetSortColumn() const { return m_nSortColumn; }
    bool IsSortAscending() const { return m_bSortAscending; }

    // Bytes of row storage beyond the row table (the arena), for the benchmark.
    size_t GetArenaBytes() const { return m_nArenaAllocated; }

private:
    struct Column {
        CString csName;
        CString csNameUpper;  // for the sort key rules
        int nType = MCL_ALPHA;
        int nWidth = 0;
    };
    // One row. Its cells live in the arena as a block of (varint length, bytes) pairs in column order;
    // cells past nCells are empty.
    struct Row {
        char* pText = nullptr;
        uint32_t nTextSize = 0;
        uint8_t nCells = 0;
        uint8_t nFlags = 0;
        COLORREF crText = kNoColor;
        COLORREF crBk = kNoColor;
    };
    // Rows by slot in chunks of a fixed size: appending never moves or copies a row. A chunk's rows are
    // constructed as they are appended, so a new chunk's memory is first written by its rows.
    class RowTable {
    public:
        static constexpr size_t kChunkRows = 4096;
        size_t size() const { return m_size; }
        Row& operator[](size_t i) { return m_chunks[i / kChunkRows].get()[i % kChunkRows]; }
        const Row& operator[](size_t i) const { return m_chunks[i / kChunkRows].get()[i % kChunkRows]; }
        Row& emplace_back(CPagePrefaulter& prefaulter);
        // The caller waits for the prefaulter first: the next chunk may be in its hands.
        void clear();
        template <class F>
        void ForEach(F f) {
            for (size_t i = 0; i < m_size; ++i)
                f((*this)[i]);
        }

    private:
        struct FreeChunk {
            void operator()(Row* p) const;
        };
        std::vector<std::unique_ptr<Row, FreeChunk>> m_chunks;
        std::unique_ptr<Row, FreeChunk> m_spare;  // the next chunk, its pages being mapped in
        uint64_t m_spareTicket = 0;
        size_t m_size = 0;
    };
    // Display position -> slot, kept as a gap buffer: runs of insertions at one place (a batch pass puts
    // each log's rows above the earlier ones) cost no more than appending.
    class OrderTable {
    public:
        size_t size() const { return m_v.size() - m_gapLen; }
        bool empty() const { return size() == 0; }
        uint32_t operator[](size_t i) const { return m_v[i < m_gap ? i : i + m_gapLen]; }
        void Insert(size_t pos, uint32_t slot);
        void Clear();
        // The positions in one array, with the gap moved to the end.
        uint32_t* Contiguous();

    private:
        void MoveGap(size_t pos);
        std::vector<uint32_t> m_v;
        size_t m_gap = 0;
        size_t m_gapLen = 0;
    };
    enum : uint8_t { kRowFocused = 0x01, kRowSelected = 0x02, kRowHasData = 0x04 };
    enum KeyRule { kKeyText, kKeyElapsed, kKeyNumber, kKeyDate };

    Row* RowAt(int nItem);
    const Row* RowAt(int nItem) const;
    static std::string_view CellOf(const Row& row, int nSubItem);
    // Replaces one cell's text (nSubItem may be beyond the cells the row has).
    void StoreCell(Row& row, int nSubItem, std::string_view text);
    // Puts a new block for the row into the arena; the old block becomes garbage.
    void StoreBlock(Row& row, std::string_view block, uint8_t nCells);
    char* Allocate(size_t nBytes);
    void CompactArena();
    void ClearRows();
    // Puts the last row slot at display position nItem and tells the observer.
    int InsertLastRow(int nItem);
    static KeyRule RuleFor(const CString& csCaptionUpper);
    static void MakeSortKey(KeyRule rule, std::string_view text, std::string& key);
    void Notify(void (gxListModelObserver::*pfn)()) {
        if (m_pObserver)
            (m_pObserver->*pfn)();
    }

    gxListModelObserver* m_pObserver = nullptr;

    CString m_csCaption;
    std::vector<Column> m_columns;
    int m_nSortColumn = 0;
    bool m_bSortAscending = false;
    COLORREF m_crEvenRow = kEvenRowColor;
    COLORREF m_crOddRow = kOddRowColor;
    bool m_bStripe = true;
    // The window replaces these with the system's highlight colours when it is created.
    COLORREF m_crHighlightBk = 0x6A240A;
    COLORREF m_crHighlightText = 0xFFFFFF;
    COLORREF m_crTextBk = kNoColor;

    RowTable m_rows;  // by slot, in insertion order
    std::unordered_map<uint32_t, DWORD_PTR> m_itemData;  // by slot, for rows with kRowHasData
    OrderTable m_order;
    int m_nSelected = 0;    // rows with kRowSelected
    int m_nFocusSlot = -1;  // slot of the focused row

    // The arena: fixed chunks, so blocks never move while rows point into them.
    std::vector<std::unique_ptr<char[]>> m_chunks;
    char* m_pTail = nullptr;  // first free byte of the last chunk
    char* m_pChunkEnd = nullptr;
    size_t m_nArenaAllocated = 0;  // bytes of all chunks
    size_t m_nLive = 0;            // bytes of the blocks rows point at
    size_t m_nGarbage = 0;         // bytes of blocks no row points at any more
    std::unique_ptr<char[]> m_spareChunk;  // the next chunk, its pages being mapped in (not counted above)
    uint64_t m_spareTicket = 0;
    std::string m_scratch;
    // Last, so that it has stopped before the chunks it is handed go.
    CPagePrefaulter m_prefaulter;
};
