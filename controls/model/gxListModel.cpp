#include "controls/model/gxListModel.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>

namespace {
// Chunks of the cell arena; a larger block gets a chunk of its own.
constexpr size_t kChunkBytes = size_t(1) << 20;
// Garbage is reclaimed once it passes this and outweighs the live blocks.
constexpr size_t kCompactMinGarbage = size_t(1) << 20;
constexpr int kKeyWidth = 9;

size_t PutVarint(char* p, uint32_t v) {
    size_t n = 0;
    while (v >= 0x80) {
        p[n++] = (char)((v & 0x7F) | 0x80);
        v >>= 7;
    }
    p[n++] = (char)v;
    return n;
}

size_t VarintSize(uint32_t v) {
    size_t n = 1;
    while (v >= 0x80) {
        v >>= 7;
        ++n;
    }
    return n;
}

uint32_t GetVarint(const char*& p) {
    uint32_t v = 0;
    int shift = 0;
    for (;;) {
        auto b = (unsigned char)*p++;
        v |= (uint32_t)(b & 0x7F) << shift;
        if (!(b & 0x80))
            return v;
        shift += 7;
    }
}

void AppendCell(std::string& block, std::string_view text) {
    char len[5];
    block.append(len, PutVarint(len, (uint32_t)text.size()));
    block.append(text);
}

bool AllDigits(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Right-aligns text in a field of kKeyWidth filled with '0'; longer text stays as it is.
void ZeroFill(std::string_view text, std::string& key) {
    if (text.size() < (size_t)kKeyWidth)
        key.append((size_t)kKeyWidth - text.size(), '0');
    key.append(text);
}

// The decimal integer at the start of s as atoi reads it, held within the range of an int.
int LeadingInt(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    long long v = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        v = v * 10 + (s[i] - '0');
        if (v > (long long)INT_MAX + 1)
            break;
    }
    if (negative)
        return v > (long long)INT_MAX ? INT_MIN : (int)-v;
    return v > INT_MAX ? INT_MAX : (int)v;
}

// "%.09d": at least nine digits, zero-filled, '-' before a negative number.
void AppendMinDigits(int value, std::string& key) {
    char buf[16];
    char* end = buf + sizeof buf;
    char* p = end;
    unsigned long long v =
        value < 0 ? 0ULL - (unsigned long long)(long long)value : (unsigned long long)value;
    do {
        *--p = (char)('0' + v % 10);
        v /= 10;
    } while (v);
    while (end - p < kKeyWidth)
        *--p = '0';
    if (value < 0)
        *--p = '-';
    key.append(p, (size_t)(end - p));
}

bool Contains(const CString& hay, const char* needle) {
    return hay.Find(needle) >= 0;
}
}  // namespace

gxListModel::gxListModel() = default;

gxListModel::~gxListModel() = default;

// ---------------------------------------------------------------------------------------------------------
// Filling

void gxListModel::ResetList() {
    DeleteAllItems();
    m_csTypes.Empty();
    m_csNames.Empty();
    m_csTitle.Empty();
}

BOOL gxListModel::DeleteAllItems() {
    if (m_pObserver)
        m_pObserver->OnLongOperation(true);
    bool hadRows = !m_order.empty();
    bool hadColumns = !m_columns.empty();
    ClearRows();
    m_columns.clear();
    if (hadRows && m_pObserver)
        m_pObserver->OnAllItemsDeleted();
    if (hadColumns)
        Notify(&gxListModelObserver::OnColumnsChanged);
    if (m_pObserver)
        m_pObserver->OnLongOperation(false);
    return TRUE;
}

void gxListModel::ClearRows() {
    m_prefaulter.WaitAll();  // before the chunks it may be mapping in go
    m_rows.clear();
    m_itemData.clear();
    m_order.Clear();
    m_chunks.clear();
    m_spareChunk.reset();
    m_pTail = m_pChunkEnd = nullptr;
    m_nArenaAllocated = m_nLive = m_nGarbage = 0;
    m_nSelected = 0;
    m_nFocusSlot = -1;
}

CString gxListModel::NextField(const CString& csBuffer, int& nIndex) {
    const std::string& s = csBuffer.str();
    if (nIndex < 0)
        nIndex = 0;
    size_t i = (size_t)nIndex;
    // A NUL byte ends the buffer as it ends a C text.
    size_t end = std::min(s.size(), s.find('\0'));
    std::string field;
    if (i >= end) {
        nIndex = (int)end;
        return CString(field);
    }
    for (; i < end && s[i] != '|'; ++i) {
        auto c = (unsigned char)s[i];
        if ((c == ' ' || (c >= 34 && c <= 125)) && field.size() < (size_t)kMaxField)
            field += (char)c;
    }
    nIndex = (int)(i < end ? i + 1 : end);
    return CString(std::move(field));
}

int gxListModel::ColumnTypeFromWord(const CString& csWord) {
    static const char* const words[] = {"MCL_ALPHA",    "MCL_NUM",    "MCL_DDMMYY",
                                        "MCL_DDMMYYYY", "MCL_MMDDYY", "MCL_MMDDYYYY"};
    for (int i = 0; i < (int)(sizeof(words) / sizeof(words[0])); ++i)
        if (csWord == words[i])
            return i;
    return MCL_ALPHA;
}

int gxListModel::SetColumns(int nColumns) {
    int nameIndex = 0;
    int typeIndex = 0;
    int made = 0;
    for (int i = 0; i < nColumns && GetColumnCount() < kMaxColumns; ++i) {
        CString name = NextField(m_csNames, nameIndex);
        CString type = NextField(m_csTypes, typeIndex);
        int col = InsertColumn(i, name);
        if (col < 0)
            break;
        m_columns[(size_t)col].nType = ColumnTypeFromWord(type);
        ++made;
    }
    m_csCaption = m_csTitle.GetString();
    m_crTextBk = kSetColumnsTextBkColor;
    m_crHighlightBk = kSetColumnsHighlightBkColor;
    m_crHighlightText = kSetColumnsHighlightTextColor;
    Notify(&gxListModelObserver::OnColumnsChanged);
    return made;
}

int gxListModel::InsertColumn(int nCol, LPCTSTR lpszColumnHeading) {
    if (nCol < 0 || GetColumnCount() >= kMaxColumns)
        return -1;
    nCol = std::min(nCol, GetColumnCount());
    Column column;
    column.csName = lpszColumnHeading ? lpszColumnHeading : "";
    column.csNameUpper = column.csName;
    column.csNameUpper.MakeUpper();
    column.nWidth = (column.csName.GetLength() * 3 + 3) * 2;
    m_columns.insert(m_columns.begin() + nCol, std::move(column));

    // Cells from nCol on move one column to the right.
    for (size_t slot = 0; slot < m_rows.size(); ++slot) {
        Row& row = m_rows[slot];
        if (row.nCells <= nCol)
            continue;
        m_scratch.clear();
        for (int c = 0; c < row.nCells; ++c) {
            if (c == nCol)
                AppendCell(m_scratch, {});
            AppendCell(m_scratch, CellOf(row, c));
        }
        StoreBlock(row, m_scratch, (uint8_t)(row.nCells + 1));
    }
    Notify(&gxListModelObserver::OnColumnsChanged);
    return nCol;
}

int gxListModel::AddItem(int nItem, int nSubItem, LPCTSTR lpszText) {
    if (nSubItem < 0 || nSubItem >= GetColumnCount())
        return nSubItem == 0 ? -1 : FALSE;
    if (nSubItem > 0)
        return SetItemText(nItem, nSubItem, lpszText);

    if (nItem < 0 || m_order.size() >= (size_t)INT_MAX)
        return -1;
    nItem = std::min(nItem, GetItemCount());
    std::string_view text = lpszText ? std::string_view(lpszText) : std::string_view();
    if (text.size() > UINT32_MAX - 5)
        return -1;
    m_scratch.clear();
    AppendCell(m_scratch, text);
    StoreBlock(m_rows.emplace_back(m_prefaulter), m_scratch, 1);
    return InsertLastRow(nItem);
}

int gxListModel::AddRow(int nItem, const std::string_view* pCells, int nCells) {
    if (nItem < 0 || GetColumnCount() == 0 || nCells < 1 || !pCells || m_order.size() >= (size_t)INT_MAX)
        return -1;
    nItem = std::min(nItem, GetItemCount());
    nCells = std::min(nCells, GetColumnCount());
    size_t size = 0;
    for (int c = 0; c < nCells; ++c) {
        // A row's block is addressed with 32 bits, as SetItemText allows.
        if (pCells[c].size() > UINT32_MAX / 2 || size + pCells[c].size() > UINT32_MAX - 5u * kMaxColumns)
            return -1;
        size += VarintSize((uint32_t)pCells[c].size()) + pCells[c].size();
    }
    // The block is written once, where it stays.
    Row& row = m_rows.emplace_back(m_prefaulter);
    char* p = Allocate(size);
    row.pText = p;
    for (int c = 0; c < nCells; ++c) {
        p += PutVarint(p, (uint32_t)pCells[c].size());
        if (!pCells[c].empty())
            std::memcpy(p, pCells[c].data(), pCells[c].size());
        p += pCells[c].size();
    }
    row.nTextSize = (uint32_t)size;
    row.nCells = (uint8_t)nCells;
    m_nLive += size;
    return InsertLastRow(nItem);
}

int gxListModel::InsertLastRow(int nItem) {
    m_order.Insert((size_t)nItem, (uint32_t)(m_rows.size() - 1));
    if (m_pObserver)
        m_pObserver->OnItemInserted(nItem);
    return nItem;
}

BOOL gxListModel::SetItemText(int nItem, int nSubItem, LPCTSTR lpszText) {
    Row* row = RowAt(nItem);
    if (!row || nSubItem < 0 || nSubItem >= GetColumnCount())
        return FALSE;
    std::string_view text = lpszText ? std::string_view(lpszText) : std::string_view();
    // A row's block is addressed with 32 bits.
    if (text.size() > UINT32_MAX / 2 || row->nTextSize + text.size() > UINT32_MAX - 5u * kMaxColumns)
        return FALSE;
    StoreCell(*row, nSubItem, text);
    if (m_pObserver)
        m_pObserver->OnItemTextChanged(nItem, nSubItem);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------------------
// Row table and order

void gxListModel::RowTable::FreeChunk::operator()(Row* p) const {
    static_assert(std::is_trivially_destructible_v<Row>, "a chunk is freed without destroying its rows");
    ::operator delete(p);
}

gxListModel::Row& gxListModel::RowTable::emplace_back(CPagePrefaulter& prefaulter) {
    if (m_size == m_chunks.size() * kChunkRows) {
        // Raw memory: a row is constructed when it is appended. Like the arena, a table that has filled
        // its first chunk has the next one's pages mapped in while it fills the one before.
        const size_t bytes = kChunkRows * sizeof(Row);
        if (m_spare) {
            prefaulter.Wait(m_spareTicket);
            m_chunks.push_back(std::move(m_spare));
        } else {
            m_chunks.emplace_back(static_cast<Row*>(::operator new(bytes)));
        }
        if (m_chunks.size() > 1) {
            m_spare.reset(static_cast<Row*>(::operator new(bytes)));
            m_spareTicket = prefaulter.Request(m_spare.get(), bytes);
        }
    }
    Row* row = &(*this)[m_size++];
    return *new (row) Row();
}

void gxListModel::RowTable::clear() {
    std::vector<std::unique_ptr<Row, FreeChunk>>().swap(m_chunks);
    m_spare.reset();
    m_size = 0;
}

void gxListModel::OrderTable::Insert(size_t pos, uint32_t slot) {
    if (m_gapLen == 0) {
        // A new gap at pos, as large as half the table, so growing stays amortised.
        size_t n = size();
        size_t gap = std::max<size_t>(64, n / 2);
        std::vector<uint32_t> v(n + gap);
        std::copy(m_v.begin(), m_v.begin() + (std::ptrdiff_t)pos, v.begin());
        std::copy(m_v.begin() + (std::ptrdiff_t)pos, m_v.end(), v.begin() + (std::ptrdiff_t)(pos + gap));
        m_v.swap(v);
        m_gap = pos;
        m_gapLen = gap;
    } else {
        MoveGap(pos);
    }
    m_v[m_gap++] = slot;
    --m_gapLen;
}

void gxListModel::OrderTable::MoveGap(size_t pos) {
    if (pos < m_gap)
        std::move_backward(m_v.begin() + (std::ptrdiff_t)pos, m_v.begin() + (std::ptrdiff_t)m_gap,
                           m_v.begin() + (std::ptrdiff_t)(m_gap + m_gapLen));
    else if (pos > m_gap)
        std::move(m_v.begin() + (std::ptrdiff_t)(m_gap + m_gapLen),
                  m_v.begin() + (std::ptrdiff_t)(pos + m_gapLen), m_v.begin() + (std::ptrdiff_t)m_gap);
    m_gap = pos;
}

uint32_t* gxListModel::OrderTable::Contiguous() {
    MoveGap(size());
    return m_v.data();
}

void gxListModel::OrderTable::Clear() {
    std::vector<uint32_t>().swap(m_v);
    m_gap = m_gapLen = 0;
}

// ---------------------------------------------------------------------------------------------------------
// Cell storage

gxListModel::Row* gxListModel::RowAt(int nItem) {
    if (nItem < 0 || nItem >= GetItemCount())
        return nullptr;
    return &m_rows[m_order[(size_t)nItem]];
}

const gxListModel::Row* gxListModel::RowAt(int nItem) const {
    if (nItem < 0 || nItem >= GetItemCount())
        return nullptr;
    return &m_rows[m_order[(size_t)nItem]];
}

std::string_view gxListModel::CellOf(const Row& row, int nSubItem) {
    if (nSubItem < 0 || nSubItem >= row.nCells)
        return {};
    const char* p = row.pText;
    for (int c = 0;; ++c) {
        uint32_t len = GetVarint(p);
        if (c == nSubItem)
            return {p, len};
        p += len;
    }
}

void gxListModel::StoreCell(Row& row, int nSubItem, std::string_view text) {
    // Filling appends the next column to the block that was stored last: grow it where it stands.
    if (nSubItem == row.nCells && row.pText + row.nTextSize == m_pTail &&
        VarintSize((uint32_t)text.size()) + text.size() <= (size_t)(m_pChunkEnd - m_pTail)) {
        size_t n = PutVarint(m_pTail, (uint32_t)text.size());
        std::memcpy(m_pTail + n, text.data(), text.size());
        n += text.size();
        m_pTail += n;
        row.nTextSize += (uint32_t)n;
        m_nLive += n;
        row.nCells++;
        return;
    }
    m_scratch.clear();
    int cells = std::max<int>(row.nCells, nSubItem + 1);
    for (int c = 0; c < cells; ++c)
        AppendCell(m_scratch, c == nSubItem ? text : CellOf(row, c));
    StoreBlock(row, m_scratch, (uint8_t)cells);
}

void gxListModel::StoreBlock(Row& row, std::string_view block, uint8_t nCells) {
    if (row.pText) {
        m_nLive -= row.nTextSize;
        if (row.pText + row.nTextSize == m_pTail && block.size() <= (size_t)(m_pChunkEnd - row.pText))
            m_pTail = row.pText;  // the last block is rewritten in place
        else
            m_nGarbage += row.nTextSize;
    }
    char* p = Allocate(block.size());
    std::memmove(p, block.data(), block.size());
    row.pText = p;
    row.nTextSize = (uint32_t)block.size();
    row.nCells = nCells;
    m_nLive += block.size();
    if (m_nGarbage > kCompactMinGarbage && m_nGarbage > m_nLive)
        CompactArena();
}

char* gxListModel::Allocate(size_t nBytes) {
    if (nBytes > (size_t)(m_pChunkEnd - m_pTail) || !m_pTail) {
        // What is left of the current chunk is lost; count it so compaction sees it.
        m_nGarbage += (size_t)(m_pChunkEnd - m_pTail);
        size_t size = std::max(kChunkBytes, nBytes);
        if (size == kChunkBytes && m_spareChunk) {
            m_prefaulter.Wait(m_spareTicket);
            m_chunks.push_back(std::move(m_spareChunk));
        } else {
            m_chunks.emplace_back(new char[size]);
        }
        // A list that has filled a chunk fills the next one too: its pages are mapped in meanwhile, as
        // a page fault per 4 KiB page on this thread costs more (on a virtual machine, about 40 % more
        // for a 900 MiB list).
        if (m_chunks.size() > 1 && !m_spareChunk) {
            m_spareChunk.reset(new char[kChunkBytes]);
            m_spareTicket = m_prefaulter.Request(m_spareChunk.get(), kChunkBytes);
        }
        m_nArenaAllocated += size;
        m_pTail = m_chunks.back().get();
        m_pChunkEnd = m_pTail + size;
    }
    char* p = m_pTail;
    m_pTail += nBytes;
    return p;
}

void gxListModel::CompactArena() {
    std::vector<std::unique_ptr<char[]>> old;
    old.swap(m_chunks);
    m_pTail = m_pChunkEnd = nullptr;
    m_nArenaAllocated = m_nGarbage = 0;
    for (size_t slot = 0; slot < m_rows.size(); ++slot) {
        Row& row = m_rows[slot];
        if (!row.pText)
            continue;
        char* p = Allocate(row.nTextSize);
        std::memcpy(p, row.pText, row.nTextSize);
        row.pText = p;
    }
    // The unused tail of each chunk but the last is not garbage of old blocks.
    m_nGarbage = 0;
}

// ---------------------------------------------------------------------------------------------------------
// Columns

CString gxListModel::GetColumnName(int nCol) const {
    if (nCol < 0 || nCol >= GetColumnCount())
        return CString();
    return m_columns[(size_t)nCol].csName;
}

int gxListModel::GetColumnType(int nCol) const {
    if (nCol < 0 || nCol >= GetColumnCount())
        return MCL_ALPHA;
    return m_columns[(size_t)nCol].nType;
}

int gxListModel::GetColumnDefaultWidth(int nCol) const {
    CString name = GetColumnName(nCol);
    name.TrimRight(' ');
    return (name.GetLength() + 2) * 7;
}

int gxListModel::GetColumnWidth(int nCol) const {
    if (nCol < 0 || nCol >= GetColumnCount())
        return -1;
    return m_columns[(size_t)nCol].nWidth;
}

BOOL gxListModel::SetColumnWidth(int nCol, int nWidth) {
    if (nCol < 0 || nCol >= GetColumnCount() || nWidth < 0)
        return FALSE;
    m_columns[(size_t)nCol].nWidth = nWidth;
    if (m_pObserver)
        m_pObserver->OnColumnWidthChanged(nCol);
    return TRUE;
}

BOOL gxListModel::SetSavedColumnWidth(int nCol, int nWidth) {
    if (nCol < 0 || nCol >= GetColumnCount())
        return FALSE;
    if (nWidth < 0 || nWidth > kMaxSavedWidth)
        nWidth = GetColumnDefaultWidth(nCol);
    return SetColumnWidth(nCol, nWidth);
}

int gxListModel::HitTestColumn(int x) const {
    long long left = 0;
    for (int c = 0; c < GetColumnCount(); ++c) {
        long long right = left + m_columns[(size_t)c].nWidth;
        if (x >= left && x <= right)
            return c;
        left = right;
    }
    return -1;
}

// ---------------------------------------------------------------------------------------------------------
// Rows

CString gxListModel::GetItemText(int nItem, int nSubItem) const {
    return CString(GetItemTextView(nItem, nSubItem));
}

std::string_view gxListModel::GetItemTextView(int nItem, int nSubItem) const {
    const Row* row = RowAt(nItem);
    return row ? CellOf(*row, nSubItem) : std::string_view();
}

DWORD_PTR gxListModel::GetItemData(int nItem) const {
    const Row* row = RowAt(nItem);
    if (!row || !(row->nFlags & kRowHasData))
        return 0;
    auto it = m_itemData.find(m_order[(size_t)nItem]);
    return it == m_itemData.end() ? 0 : it->second;
}

BOOL gxListModel::SetItemData(int nItem, DWORD_PTR dwData) {
    Row* row = RowAt(nItem);
    if (!row)
        return FALSE;
    m_itemData[m_order[(size_t)nItem]] = dwData;
    row->nFlags |= kRowHasData;
    if (m_pObserver)
        m_pObserver->OnItemChanged(nItem, false);
    return TRUE;
}

void gxListModel::SetItemTextColor(int nItem, COLORREF cr, bool bRedraw) {
    Row* row = RowAt(nItem);
    if (!row)
        return;
    row->crText = cr;
    if (m_pObserver)
        m_pObserver->OnItemChanged(nItem, bRedraw);
}

void gxListModel::SetItemBkColor(int nItem, COLORREF cr, bool bRedraw) {
    Row* row = RowAt(nItem);
    if (!row)
        return;
    row->crBk = cr;
    if (m_pObserver)
        m_pObserver->OnItemChanged(nItem, bRedraw);
}

COLORREF gxListModel::GetRowColor(int nItem) const {
    const Row* row = RowAt(nItem);
    return row ? row->crBk : kNoColor;
}

COLORREF gxListModel::GetRowTextColor(int nItem) const {
    const Row* row = RowAt(nItem);
    return row ? row->crText : kNoColor;
}

// ---------------------------------------------------------------------------------------------------------
// Selection and focus

UINT gxListModel::GetItemState(int nItem, UINT nMask) const {
    const Row* row = RowAt(nItem);
    if (!row)
        return 0;
    UINT state = 0;
    if (row->nFlags & kRowFocused)
        state |= kFocused;
    if (row->nFlags & kRowSelected)
        state |= kSelected;
    return state & nMask;
}

BOOL gxListModel::SetItemState(int nItem, UINT nState, UINT nMask) {
    Row* row = RowAt(nItem);
    if (!row)
        return FALSE;
    if (nMask & kSelected) {
        bool want = (nState & kSelected) != 0;
        bool has = (row->nFlags & kRowSelected) != 0;
        if (want != has) {
            row->nFlags ^= kRowSelected;
            m_nSelected += want ? 1 : -1;
        }
    }
    if (nMask & kFocused) {
        int slot = (int)m_order[(size_t)nItem];
        if (nState & kFocused) {
            if (m_nFocusSlot >= 0 && m_nFocusSlot != slot)
                m_rows[(size_t)m_nFocusSlot].nFlags &= (uint8_t)~kRowFocused;
            row->nFlags |= kRowFocused;
            m_nFocusSlot = slot;
        } else if (row->nFlags & kRowFocused) {
            row->nFlags &= (uint8_t)~kRowFocused;
            m_nFocusSlot = -1;
        }
    }
    if (m_pObserver)
        m_pObserver->OnItemChanged(nItem, false);
    return TRUE;
}

BOOL gxListModel::SelectItem(int nItem) {
    if (!SetItemState(nItem, kSelected, kSelected))
        return FALSE;
    if (m_pObserver)
        m_pObserver->OnItemSelected(nItem);
    return TRUE;
}

int gxListModel::GetFirstSelected() const {
    int first = GetNextSelected(-1);
    return first < 0 ? GetItemCount() + 1 : first;
}

int gxListModel::GetNextSelected(int nItem) const {
    if (m_nSelected == 0)
        return -1;
    for (int i = std::max(nItem + 1, 0); i < GetItemCount(); ++i)
        if (m_rows[m_order[(size_t)i]].nFlags & kRowSelected)
            return i;
    return -1;
}

int gxListModel::GetFocusedItem() const {
    if (m_nFocusSlot < 0)
        return -1;
    for (size_t i = 0; i < m_order.size(); ++i)
        if (m_order[i] == (uint32_t)m_nFocusSlot)
            return (int)i;
    return -1;
}

int gxListModel::DeselectAll() {
    if (m_nSelected > 0) {
        m_rows.ForEach([](Row& row) { row.nFlags &= (uint8_t)~kRowSelected; });
        m_nSelected = 0;
    }
    Notify(&gxListModelObserver::OnSelectionCleared);
    return GetItemCount();
}

// ---------------------------------------------------------------------------------------------------------
// Sorting

gxListModel::KeyRule gxListModel::RuleFor(const CString& csCaptionUpper) {
    if (Contains(csCaptionUpper, "ELAPSED"))
        return kKeyElapsed;
    if (Contains(csCaptionUpper, "LINE") || Contains(csCaptionUpper, " ID") ||
        Contains(csCaptionUpper, "RECORDS") || Contains(csCaptionUpper, "COUNT"))
        return kKeyNumber;
    if (Contains(csCaptionUpper, "DATE"))
        return kKeyDate;
    return kKeyText;
}

void gxListModel::MakeSortKey(KeyRule rule, std::string_view text, std::string& key) {
    switch (rule) {
        case kKeyElapsed: {
            // "00:00:02 (2000 msec)": the milliseconds between '(' and the next blank.
            size_t open = text.find('(');
            size_t blank = open == std::string_view::npos ? open : text.find(' ', open + 1);
            if (blank == std::string_view::npos) {
                key.append(text);
                return;
            }
            AppendMinDigits(LeadingInt(text.substr(open + 1, blank - open - 1)), key);
            return;
        }
        case kKeyNumber:
            ZeroFill(text, key);
            return;
        case kKeyDate:
            // "yyyy-mm-dd hh:mm:ss" gives 14 digits, "yyyy-mm-dd" gives 8; shorter text stays.
            if (text.size() >= 19) {
                static const int parts[][2] = {{0, 4}, {5, 2}, {8, 2}, {11, 2}, {14, 2}, {17, 2}};
                for (const auto& part : parts)
                    key.append(text.substr((size_t)part[0], (size_t)part[1]));
            } else if (text.size() >= 10) {
                key.append(text.substr(0, 4)).append(text.substr(5, 2)).append(text.substr(8, 2));
            } else {
                key.append(text);
            }
            return;
        case kKeyText:
            if (AllDigits(text))
                ZeroFill(text, key);
            else
                key.append(text);
            return;
    }
}

CString gxListModel::GetSortKey(int nItem, int nCol) const {
    KeyRule rule =
        nCol >= 0 && nCol < GetColumnCount() ? RuleFor(m_columns[(size_t)nCol].csNameUpper) : kKeyText;
    std::string key;
    MakeSortKey(rule, GetItemTextView(nItem, nCol), key);
    return CString(std::move(key));
}

BOOL gxListModel::SortTextItems(int nCol, BOOL bAscending, int nLow, int nHigh) {
    if (nCol < 0 || nCol >= GetColumnCount())
        return FALSE;
    if (nHigh == -1 || nHigh >= GetItemCount())
        nHigh = GetItemCount() - 1;
    nLow = std::max(nLow, 0);
    if (nHigh <= nLow)
        return FALSE;

    if (m_pObserver)
        m_pObserver->OnLongOperation(true);
    KeyRule rule = RuleFor(m_columns[(size_t)nCol].csNameUpper);
    size_t count = (size_t)(nHigh - nLow + 1);

    uint32_t* order = m_order.Contiguous() + nLow;
    // Every key once, side by side in one buffer.
    std::string keys;
    std::vector<size_t> ends(count);
    keys.reserve(count * (kKeyWidth + 1));
    for (size_t i = 0; i < count; ++i) {
        MakeSortKey(rule, CellOf(m_rows[order[i]], nCol), keys);
        ends[i] = keys.size();
    }
    // The first eight key bytes, big-endian, settle most comparisons without touching the key buffer.
    struct Entry {
        uint64_t prefix;
        const char* p;
        uint32_t len;
        uint32_t slot;
    };
    std::vector<Entry> entries(count);
    for (size_t i = 0, begin = 0; i < count; begin = ends[i], ++i) {
        Entry& e = entries[i];
        e.p = keys.data() + begin;
        e.len = (uint32_t)(ends[i] - begin);
        e.slot = order[i];
        e.prefix = 0;
        for (uint32_t b = 0; b < 8; ++b)
            e.prefix = (e.prefix << 8) | (b < e.len ? (unsigned char)e.p[b] : 0u);
    }
    std::vector<size_t>().swap(ends);

    auto less = [](const Entry& a, const Entry& b) {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix;
        // Keys hold no NUL, so equal prefixes mean equal first bytes up to the shorter length or 8.
        if (a.len <= 8 || b.len <= 8)
            return a.len < b.len;
        int c = std::memcmp(a.p + 8, b.p + 8, std::min(a.len, b.len) - 8);
        return c != 0 ? c < 0 : a.len < b.len;
    };
    // Stable, so rows with equal keys never change places.
    if (bAscending)
        std::stable_sort(entries.begin(), entries.end(), less);
    else
        std::stable_sort(entries.begin(), entries.end(),
                         [&](const Entry& a, const Entry& b) { return less(b, a); });
    for (size_t i = 0; i < count; ++i)
        order[i] = entries[i].slot;

    if (m_pObserver) {
        m_pObserver->OnItemsSorted(nLow, nHigh);
        m_pObserver->OnLongOperation(false);
    }
    return TRUE;
}

void gxListModel::SortByColumn(int nCol) {
    if (nCol < 0 || nCol >= GetColumnCount())
        return;
    bool ascending = !(m_bSortAscending && m_nSortColumn == nCol);
    SortTextItems(nCol, ascending);
    m_nSortColumn = nCol;
    m_bSortAscending = ascending;
}
