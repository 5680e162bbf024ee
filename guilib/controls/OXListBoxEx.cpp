#include "guilib/controls/OXListBoxEx.h"

#include <algorithm>

#include "platform/framework/app/WinThread.h"
#include "platform/gdi/Gdi.h"

IMPLEMENT_DYNAMIC(COXListBoxEx, CListBox)

namespace {
bool EmptyRect(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}
RECT Offset(RECT r, int dx, int dy) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
    return r;
}
}  // namespace

COXListBoxEx::COXListBoxEx()
    : m_hImageList(nullptr), m_nMaxMRU(0), m_nLastMRUIndex(-1), m_nWidestItem(-1), m_nLastTopIndex(-1),
      m_clrBackground(::GetSysColor(COLOR_WINDOW)), m_bHighlightOnlyText(FALSE), m_bAutoSaveMRU(FALSE),
      m_bCreating(FALSE) {}

COXListBoxEx::~COXListBoxEx() {
    POSITION pos = m_mapItems.GetStartPosition();
    while (pos) {
        int key;
        _tagOXLISTBOXITEM* record;
        m_mapItems.GetNextAssoc(pos, key, record);
        delete record;
    }
    m_mapItems.RemoveAll();
}

OXLISTBOXITEM COXListBoxEx::DefaultItem() {
    OXLISTBOXITEM item;
    item.clrText = ::GetSysColor(COLOR_WINDOWTEXT);
    item.clrBackground = ::GetSysColor(COLOR_WINDOW);
    item.clrTextSelected = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    item.clrBackgroundSelected = ::GetSysColor(COLOR_HIGHLIGHT);
    return item;
}

_tagOXLISTBOXITEM* COXListBoxEx::Record(int nIndex) const {
    _tagOXLISTBOXITEM* record = nullptr;
    return m_mapItems.Lookup(nIndex, record) ? record : nullptr;
}

BOOL COXListBoxEx::GetItemInfo(int nIndex, OXLISTBOXITEM& record) const {
    if (nIndex < 0 || nIndex >= GetCount())
        return FALSE;
    const _tagOXLISTBOXITEM* found = Record(nIndex);
    record = found ? *found : DefaultItem();
    return TRUE;
}

int COXListBoxEx::GetMRUPosition(int nIndex) const {
    const _tagOXLISTBOXITEM* record = Record(nIndex);
    return record ? record->nMRUPosition : -1;
}

void COXListBoxEx::ShiftRecords(int from, int delta) {
    std::vector<std::pair<int, _tagOXLISTBOXITEM*>> moved;
    POSITION pos = m_mapItems.GetStartPosition();
    while (pos) {
        int key;
        _tagOXLISTBOXITEM* record;
        m_mapItems.GetNextAssoc(pos, key, record);
        if (key >= from)
            moved.emplace_back(key, record);
    }
    for (auto& [key, record] : moved)
        m_mapItems.RemoveKey(key);
    for (auto& [key, record] : moved)
        m_mapItems[key + delta] = record;
}

void COXListBoxEx::RenumberMRU() {
    int count = GetCount();
    m_nLastMRUIndex = std::min(m_nLastMRUIndex, count - 1);
    for (int i = 0; i < count; ++i) {
        _tagOXLISTBOXITEM* record = Record(i);
        if (i <= m_nLastMRUIndex) {
            if (!record) {
                record = new _tagOXLISTBOXITEM(DefaultItem());
                m_mapItems[i] = record;
            }
            record->nMRUPosition = i;
        } else if (record) {
            record->nMRUPosition = -1;
        }
    }
}

BOOL COXListBoxEx::PreCreateWindow(CREATESTRUCT& cs) {
    cs.style &= ~LBS_OWNERDRAWFIXED;
    cs.style |= LBS_OWNERDRAWVARIABLE;
    m_bCreating = TRUE;
    return CListBox::PreCreateWindow(cs);
}

void COXListBoxEx::PreSubclassWindow() {
    CListBox::PreSubclassWindow();
    // A window created through this object runs InitListBox from WM_CREATE instead.
    if (!m_bCreating)
        InitListBox();
}

BOOL COXListBoxEx::InitListBox() {
    if (::IsWindow(m_ttc.GetSafeHwnd()))
        return TRUE;
    BOOL topmost = (::GetWindowLongPtr(m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    if (!m_ttc.Create(this, topmost ? TTS_ALWAYSTIP : 0))
        return FALSE;
    if (topmost)
        ::SetWindowPos(m_ttc.GetSafeHwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RECT rc{};
    GetClientRect(&rc);
    rc.right = std::max<LONG>(rc.right, 1);
    rc.bottom = std::max<LONG>(rc.bottom, 1);
    m_ttc.AddTool(this, m_sListBoxTip, &rc, OXLISTBOXEX_TOOLID);
    UpdateToolTips();
    return TRUE;
}

int COXListBoxEx::AddItem(LPCTSTR text, int nMask, CFont* pFont, COLORREF clrText, COLORREF clrBk, LPCTSTR tooltip,
                          int nImage, int nIndent, COLORREF clrTextSel, COLORREF clrBkSel) {
    return InsertItem(-2, text, nMask, pFont, clrText, clrBk, tooltip, nImage, nIndent, clrTextSel, clrBkSel);
}

int COXListBoxEx::InsertItem(int nIndex, LPCTSTR text, int nMask, CFont* pFont, COLORREF clrText, COLORREF clrBk,
                             LPCTSTR tooltip, int nImage, int nIndent, COLORREF clrTextSel, COLORREF clrBkSel) {
    OXLISTBOXITEM record = DefaultItem();
    record.pFont = pFont;
    if (clrText != CLR_NONE)
        record.clrText = clrText;
    if (clrBk != CLR_NONE)
        record.clrBackground = clrBk;
    if (clrTextSel != CLR_NONE)
        record.clrTextSelected = clrTextSel;
    if (clrBkSel != CLR_NONE)
        record.clrBackgroundSelected = clrBkSel;
    record.sTooltipText = tooltip ? tooltip : "";
    record.nImageIndex = nImage;
    record.nIndent = nIndent;
    return InsertItem(nIndex, text, nMask, record);
}

int COXListBoxEx::AddItemRecord(LPCTSTR text, int nMask, const OXLISTBOXITEM& record) {
    return InsertItem(-2, text, nMask, record);
}

int COXListBoxEx::InsertItem(int nIndex, LPCTSTR text, int nMask, const OXLISTBOXITEM& record) {
    // -2: added (sorted lists put it in its place); -1: appended.
    int index = nIndex == -2 ? CListBox::AddString(text) : CListBox::InsertString(nIndex, text);
    if (index < 0)
        return index;
    ShiftRecords(index, 1);
    if (index <= m_nLastMRUIndex)
        ++m_nLastMRUIndex;
    SetItemInfo(index, nMask, record);
    return index;
}

BOOL COXListBoxEx::SetItemInfo(int nIndex, int nMask, const OXLISTBOXITEM& values) {
    int count = GetCount();
    if (nIndex == -1) {
        BOOL ok = TRUE;
        for (int i = 0; i < count; ++i)
            ok = SetItemInfo(i, nMask, values) && ok;
        return ok;
    }
    if (nIndex < 0 || nIndex >= count)
        return FALSE;
    _tagOXLISTBOXITEM* record = Record(nIndex);
    bool heightChanged = false, tipsChanged = false;
    if (!record) {
        record = new _tagOXLISTBOXITEM(values);
        record->nMRUPosition = nIndex <= m_nLastMRUIndex ? nIndex : -1;
        m_mapItems[nIndex] = record;
        heightChanged = tipsChanged = true;
    } else {
        if (nMask & OXLBI_FONT)
            record->pFont = values.pFont;
        if (nMask & OXLBI_TEXTCOLOR)
            record->clrText = values.clrText;
        if (nMask & OXLBI_BKCOLOR)
            record->clrBackground = values.clrBackground;
        if (nMask & OXLBI_TOOLTIP)
            record->sTooltipText = values.sTooltipText;
        if (nMask & OXLBI_IMAGE)
            record->nImageIndex = values.nImageIndex;
        if (nMask & OXLBI_INDENT)
            record->nIndent = values.nIndent;
        if (nMask & OXLBI_SELTEXTCOLOR)
            record->clrTextSelected = values.clrTextSelected;
        if (nMask & OXLBI_SELBKCOLOR)
            record->clrBackgroundSelected = values.clrBackgroundSelected;
        heightChanged = (nMask & (OXLBI_FONT | OXLBI_INDENT)) != 0;
        tipsChanged = (nMask & (OXLBI_FONT | OXLBI_INDENT | OXLBI_TOOLTIP)) != 0;
    }
    if (heightChanged)
        UpdateItemHeight(nIndex);
    if (tipsChanged)
        UpdateToolTips();
    RECT rc{};
    if (GetItemRect(nIndex, &rc) != LB_ERR)
        ::RedrawWindow(m_hWnd, &rc, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return TRUE;
}

SIZE COXListBoxEx::GetImageSize(int /*nIndex*/) const {
    int cx = 0, cy = 0;
    if (m_hImageList && ImageList_GetImageCount(m_hImageList) > 0)
        ImageList_GetIconSize(m_hImageList, &cx, &cy);
    return SIZE{cx, cy};
}

SIZE COXListBoxEx::GetTextSize(int nIndex) const {
    if (!(::GetWindowLongPtr(m_hWnd, GWL_STYLE) & LBS_HASSTRINGS))
        return SIZE{0, 0};
    CString text;
    GetText(nIndex, text);
    const _tagOXLISTBOXITEM* record = Record(nIndex);
    HDC dc = ::GetDC(m_hWnd);
    HFONT font = record && record->pFont ? (HFONT)record->pFont->GetSafeHandle()
                                         : (HFONT)::SendMessage(m_hWnd, WM_GETFONT, 0, 0);
    HGDIOBJ old = ::SelectObject(dc, font ? (HGDIOBJ)font : ::GetStockObject(DEFAULT_GUI_FONT));
    RECT rc{0, 0, 0, 0};
    ::DrawText(dc, text.IsEmpty() ? " " : (LPCTSTR)text, text.IsEmpty() ? 1 : text.GetLength(), &rc,
               DT_CALCRECT | DT_SINGLELINE);
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    if (text.IsEmpty())
        rc.right = rc.left;
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

RECT COXListBoxEx::CalcItemRects(int nIndex) {
    SIZE image = GetImageSize(nIndex), text = GetTextSize(nIndex);
    _tagOXLISTBOXITEM* record = Record(nIndex);
    int indent = record ? record->nIndent : 0;
    int gap = image.cx >= 1 ? 2 : 0;
    int width = indent + gap + image.cx + text.cx + 4;
    int height = std::max(image.cy + 4, text.cy + 4);
    RECT rcImage{0, 0, 0, 0};
    if (image.cx > 0) {
        rcImage.left = indent + 2;
        rcImage.top = (height - image.cy) / 2;
        rcImage.right = rcImage.left + image.cx;
        rcImage.bottom = rcImage.top + image.cy;
    }
    RECT rcText;
    rcText.left = indent + gap + image.cx + 2;
    rcText.top = (height - text.cy) / 2;
    rcText.right = rcText.left + text.cx;
    rcText.bottom = rcText.top + text.cy;
    if (nIndex == m_nLastMRUIndex)
        height += OXLISTBOXEX_MRU_SEPARATOR;
    RECT rcItem{0, 0, width, height};
    if (record) {
        record->rectItem = rcItem;
        record->rectImage = rcImage;
        record->rectText = rcText;
    }
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    RECT clipped = rcItem;
    clipped.right = std::min<LONG>(clipped.right, client.right);
    return clipped;
}

void COXListBoxEx::UpdateItemHeight(int nIndex) {
    if (!::IsWindow(m_hWnd))
        return;
    int from = nIndex, to = nIndex;
    if (nIndex == -1) {
        from = 0;
        to = GetCount() - 1;
    }
    for (int i = from; i <= to && i < GetCount(); ++i) {
        if (i < 0)
            continue;
        CalcItemRects(i);
        const _tagOXLISTBOXITEM* record = Record(i);
        SIZE image = GetImageSize(i), text = GetTextSize(i);
        int indent = record ? record->nIndent : 0;
        int width = indent + (image.cx >= 1 ? 2 : 0) + image.cx + text.cx + 4;
        int height = std::max(image.cy + 4, text.cy + 4) + (i == m_nLastMRUIndex ? OXLISTBOXEX_MRU_SEPARATOR : 0);
        SetItemHeight(i, (UINT)std::min(height, 255));
        if (width > GetHorizontalExtent()) {
            m_nWidestItem = i;
            SetHorizontalExtent(width);
        }
    }
}

void COXListBoxEx::UpdateToolTips() {
    if (!::IsWindow(m_ttc.GetSafeHwnd()))
        return;
    for (int id = 1, count = m_ttc.GetToolCount(); id < count; ++id)
        m_ttc.DelTool(this, (UINT_PTR)id);
    RECT client{};
    GetClientRect(&client);
    UINT_PTR id = 1;
    for (int i = std::max(0, GetTopIndex()); i < GetCount(); ++i) {
        RECT rc{};
        if (GetItemRect(i, &rc) == LB_ERR || rc.top >= client.bottom)
            break;
        const _tagOXLISTBOXITEM* record = Record(i);
        if (!record || record->sTooltipText.IsEmpty())
            continue;
        RECT tool{client.left, rc.top, client.right, rc.bottom};
        if (m_bHighlightOnlyText) {
            tool.left = !EmptyRect(record->rectImage) ? record->rectImage.left : record->rectText.left;
            tool.right = record->rectText.right;
        }
        m_ttc.AddTool(this, record->sTooltipText, &tool, id++);
    }
    m_nLastTopIndex = GetTopIndex();
}

COXListBoxEx::TakenItem COXListBoxEx::TakeOut(int nIndex) {
    TakenItem item;
    GetText(nIndex, item.text);
    item.record = Record(nIndex);
    m_mapItems.RemoveKey(nIndex);
    item.data = GetItemData(nIndex);
    item.selected = GetSel(nIndex) > 0;
    item.caret = GetCaretIndex() == nIndex;
    CListBox::DeleteString((UINT)nIndex);
    return item;
}

int COXListBoxEx::PutBack(int nIndex, TakenItem& item) {
    int index = CListBox::InsertString(nIndex, item.text);
    if (index < 0) {
        delete item.record;
        item.record = nullptr;
        return index;
    }
    ShiftRecords(index, 1);
    if (item.record)
        m_mapItems[index] = item.record;
    item.record = nullptr;
    SetItemData(index, item.data);
    if (item.selected) {
        if (::GetWindowLongPtr(m_hWnd, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL))
            SetSel(index, TRUE);
        else
            SetCurSel(index);
    }
    if (item.caret)
        SetCaretIndex(index);
    return index;
}

int COXListBoxEx::MoveItemToMRU(int nIndex, int nMRUPosition, BOOL bForce) {
    if (nIndex < 0 || nIndex >= GetCount() || nMRUPosition < 0 || nMRUPosition > m_nLastMRUIndex + 1 ||
        (m_nMaxMRU != -1 && nMRUPosition >= m_nMaxMRU))
        return -1;
    bool inBlock = nIndex <= m_nLastMRUIndex;
    bool full = m_nMaxMRU != -1 && m_nLastMRUIndex + 1 >= m_nMaxMRU;
    if (full && !inBlock) {
        if (!bForce)
            return -1;
        int last = m_nLastMRUIndex;
        int moved = RemoveItemFromMRU(last);
        if (moved < 0)
            return -1;
        if (last < nIndex && moved >= nIndex)
            --nIndex;
        nMRUPosition = std::min(nMRUPosition, m_nLastMRUIndex + 1);
    }
    if (nIndex == nMRUPosition && (nIndex <= m_nLastMRUIndex || nIndex == m_nLastMRUIndex + 1)) {
        if (nIndex > m_nLastMRUIndex)
            m_nLastMRUIndex = nIndex;
        RenumberMRU();
        UpdateItemHeight(-1);
        UpdateToolTips();
        return nIndex;
    }
    TakenItem item = TakeOut(nIndex);
    nMRUPosition = std::min(nMRUPosition, m_nLastMRUIndex + 1);
    ++m_nLastMRUIndex;
    if (!item.record)
        item.record = new _tagOXLISTBOXITEM(DefaultItem());
    int index = PutBack(nMRUPosition, item);
    RenumberMRU();
    UpdateItemHeight(-1);
    UpdateToolTips();
    Invalidate();
    return index;
}

int COXListBoxEx::RemoveItemFromMRU(int nIndex) {
    if (nIndex < 0 || nIndex > m_nLastMRUIndex || nIndex >= GetCount())
        return -1;
    TakenItem item = TakeOut(nIndex);  // the block shrinks by one
    if (item.record)
        item.record->nMRUPosition = -1;
    int index = PutBack(m_nLastMRUIndex + 1, item);
    RenumberMRU();
    UpdateItemHeight(-1);
    UpdateToolTips();
    Invalidate();
    return index;
}

void COXListBoxEx::SetMaxMRUCount(int nCount) {
    m_nMaxMRU = nCount;
    if (nCount != -1) {
        while (m_nLastMRUIndex >= std::max(nCount, 0))
            if (RemoveItemFromMRU(m_nLastMRUIndex) < 0)
                break;
    }
    RenumberMRU();
    UpdateItemHeight(-1);
    UpdateToolTips();
    if (::IsWindow(m_hWnd))
        Invalidate();
}

BOOL COXListBoxEx::SaveMRU(LPCTSTR section) const {
    CWinApp* app = AfxGetApp();
    if (!app)
        return FALSE;
    app->WriteProfileInt(section, "MRU_MaxNumber", m_nMaxMRU);
    app->WriteProfileInt(section, "MRU_Count", m_nLastMRUIndex + 1);
    for (int i = 0; i <= m_nLastMRUIndex; ++i) {
        CString entry, text;
        entry.Format("MRU_Entry_%d", i);
        GetText(i, text);
        app->WriteProfileString(section, entry, text);
    }
    return TRUE;
}

BOOL COXListBoxEx::LoadMRU(LPCTSTR section) {
    CWinApp* app = AfxGetApp();
    if (!app)
        return FALSE;
    int max = (int)app->GetProfileInt(section, "MRU_MaxNumber", m_nMaxMRU);
    SetMaxMRUCount(max);
    int count = (int)app->GetProfileInt(section, "MRU_Count", max);
    while (m_nLastMRUIndex >= 0)
        if (RemoveItemFromMRU(m_nLastMRUIndex) < 0)
            break;
    // Entries past the count are stale: they stay out.
    for (int i = 0; count < 0 || i < count; ++i) {
        CString entry;
        entry.Format("MRU_Entry_%d", i);
        CString text = app->GetProfileString(section, entry, "");
        if (text.IsEmpty())
            break;
        int index = FindStringExact(-1, text);
        if (index >= 0)
            MoveItemToMRU(index, m_nLastMRUIndex + 1, FALSE);
    }
    return TRUE;
}

void COXListBoxEx::ResetContent() {
    POSITION pos = m_mapItems.GetStartPosition();
    while (pos) {
        int key;
        _tagOXLISTBOXITEM* record;
        m_mapItems.GetNextAssoc(pos, key, record);
        delete record;
    }
    m_mapItems.RemoveAll();
    m_nLastMRUIndex = m_nWidestItem = m_nLastTopIndex = -1;
    CListBox::ResetContent();
    if (::IsWindow(m_hWnd))
        SetHorizontalExtent(0);
    UpdateToolTips();
}

int COXListBoxEx::DeleteString(UINT nIndex) {
    // The deletion notice frees the record and renumbers the rest.
    int result = CListBox::DeleteString(nIndex);
    if (result >= 0) {
        UpdateItemHeight(-1);
        UpdateToolTips();
    }
    return result;
}

void COXListBoxEx::DeleteItem(LPDELETEITEMSTRUCT lpDIS) {
    int index = (int)lpDIS->itemID;
    delete Record(index);
    m_mapItems.RemoveKey(index);
    ShiftRecords(index + 1, -1);
    if (index <= m_nLastMRUIndex) {
        --m_nLastMRUIndex;
        for (int i = index; i <= m_nLastMRUIndex; ++i)
            if (_tagOXLISTBOXITEM* record = Record(i))
                record->nMRUPosition = i;
    }
    if (m_nWidestItem == index)
        m_nWidestItem = -1;
}

int COXListBoxEx::CompareItem(LPCOMPAREITEMSTRUCT lpCIS) {
    int a = lpCIS->itemID1 == (UINT)-1 ? -1 : GetMRUPosition((int)lpCIS->itemID1);
    int b = lpCIS->itemID2 == (UINT)-1 ? -1 : GetMRUPosition((int)lpCIS->itemID2);
    if (a >= 0 && b >= 0)
        return a < b ? -1 : (a > b ? 1 : 0);
    if (a >= 0)
        return -1;
    if (b >= 0)
        return 1;
    return 0;
}

void COXListBoxEx::DrawMRUSeparator(HDC dc, const RECT& rect, const OXLISTBOXITEM& record) {
    HBRUSH bg = ::CreateSolidBrush(record.clrBackground);
    ::FillRect(dc, &rect, bg);
    ::DeleteObject(bg);
    RECT line{rect.left, rect.top + 1, rect.right, rect.top + 3};
    ::FillRect(dc, &line, ::GetSysColorBrush(COLOR_BTNSHADOW));
}

void COXListBoxEx::DrawItemImage(HDC dc, const RECT& rect, UINT nStyle, const OXLISTBOXITEM& record) {
    if (m_hImageList)
        ImageList_Draw(m_hImageList, record.nImageIndex, dc, rect.left, rect.top, nStyle);
}

void COXListBoxEx::DrawItemText(HDC dc, LPCTSTR text, const RECT& rect, COLORREF colour, CFont* pFont) {
    HGDIOBJ old = nullptr;
    if (pFont && pFont->GetSafeHandle())
        old = ::SelectObject(dc, pFont->GetSafeHandle());
    else if (HFONT font = (HFONT)::SendMessage(m_hWnd, WM_GETFONT, 0, 0))
        old = ::SelectObject(dc, font);
    int mode = ::SetBkMode(dc, TRANSPARENT);
    COLORREF oldColour = ::SetTextColor(dc, colour);
    RECT rc = rect;
    ::DrawText(dc, text, -1, &rc, DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    ::SetTextColor(dc, oldColour);
    ::SetBkMode(dc, mode);
    if (old)
        ::SelectObject(dc, old);
}

void COXListBoxEx::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
    if (GetCount() == 0 || (int)lpDIS->itemID < 0 || (int)lpDIS->itemID >= GetCount())
        return;
    int index = (int)lpDIS->itemID;
    HDC dc = lpDIS->hDC;
    OXLISTBOXITEM record = DefaultItem();
    if (const _tagOXLISTBOXITEM* found = Record(index))
        record = *found;
    else
        CalcItemRects(index);
    // Layout rectangles are item-relative: move them to the item's place.
    RECT item = lpDIS->rcItem;
    bool full = (lpDIS->itemAction & ODA_DRAWENTIRE) != 0;
    if (index == m_nLastMRUIndex) {
        RECT sep{item.left, item.bottom - OXLISTBOXEX_MRU_SEPARATOR, item.right, item.bottom};
        if (full)
            DrawMRUSeparator(dc, sep, record);
        item.bottom -= OXLISTBOXEX_MRU_SEPARATOR;
    }
    RECT rcImage = Offset(record.rectImage, item.left, item.top);
    RECT rcText = Offset(record.rectText, item.left, item.top);
    bool selected = (lpDIS->itemState & ODS_SELECTED) != 0;
    bool focus = (lpDIS->itemState & ODS_FOCUS) != 0;
    RECT highlight = m_bHighlightOnlyText ? rcText : item;
    COLORREF back = selected ? record.clrBackgroundSelected : record.clrBackground;
    bool select = (lpDIS->itemAction & ODA_SELECT) != 0;
    if (full || select) {
        HBRUSH brush = ::CreateSolidBrush(back);
        ::FillRect(dc, &highlight, brush);
        ::DeleteObject(brush);
    } else if ((lpDIS->itemAction & ODA_FOCUS) && !focus) {
        HBRUSH brush = ::CreateSolidBrush(back);
        ::FrameRect(dc, &highlight, brush);
        ::DeleteObject(brush);
    }
    if (full || select) {
        if (!EmptyRect(rcImage) && record.nImageIndex >= 0)
            DrawItemImage(dc, rcImage, ILD_TRANSPARENT | (selected && m_bHighlightOnlyText ? ILD_SELECTED : 0),
                          record);
        if (::GetWindowLongPtr(m_hWnd, GWL_STYLE) & LBS_HASSTRINGS) {
            CString text;
            GetText(index, text);
            DrawItemText(dc, text, rcText, selected ? record.clrTextSelected : record.clrText, record.pFont);
        }
    }
    if ((full || (lpDIS->itemAction & ODA_FOCUS)) && focus)
        ::DrawFocusRect(dc, &highlight);
}

BOOL COXListBoxEx::PreTranslateMessage(MSG* pMsg) {
    if (::IsWindow(m_ttc.GetSafeHwnd())) {
        if (GetTopIndex() != m_nLastTopIndex)
            UpdateToolTips();
        m_ttc.Activate(TRUE);
        m_ttc.RelayEvent(pMsg);
    }
    return CListBox::PreTranslateMessage(pMsg);
}

LRESULT COXListBoxEx::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            LRESULT result = CListBox::WindowProc(message, wParam, lParam);
            m_bCreating = FALSE;
            if (result == -1 || !InitListBox())
                return -1;
            return result;
        }
        case WM_DESTROY:
            if (m_bAutoSaveMRU)
                SaveMRU(OXLISTBOXEX_MRU_SECTION);
            ResetContent();
            if (::IsWindow(m_ttc.GetSafeHwnd()))
                m_ttc.DestroyWindow();
            break;
        case WM_ERASEBKGND: {
            HDC dc = (HDC)wParam;
            RECT client{};
            GetClientRect(&client);
            RECT fill = client;
            int count = GetCount();
            if (!m_bHighlightOnlyText && count > 0) {
                RECT last{};
                GetItemRect(count - 1, &last);
                fill.top = last.bottom;
            }
            if (fill.top < fill.bottom) {
                HBRUSH brush = ::CreateSolidBrush(m_clrBackground);
                ::FillRect(dc, &fill, brush);
                ::DeleteObject(brush);
            }
            return TRUE;
        }
        case WM_MOUSEWHEEL: {
            short delta = (short)HIWORD(wParam);
            SetTopIndex(std::max(0, GetTopIndex() + (delta < 1 ? 1 : -1)));
            UpdateToolTips();
            return 0;
        }
        case WM_SIZE: {
            LRESULT result = CListBox::WindowProc(message, wParam, lParam);
            if (::IsWindow(m_ttc.GetSafeHwnd())) {
                RECT rc{};
                GetClientRect(&rc);
                m_ttc.SetToolRect(this, OXLISTBOXEX_TOOLID, &rc);
            }
            UpdateToolTips();
            return result;
        }
        case WM_VSCROLL: {
            LRESULT result = CListBox::WindowProc(message, wParam, lParam);
            if (LOWORD(wParam) == SB_ENDSCROLL)
                UpdateToolTips();
            return result;
        }
        case WM_SHOWWINDOW:
            UpdateToolTips();
            break;
        default:
            break;
    }
    return CListBox::WindowProc(message, wParam, lParam);
}
