// An owner-drawn list box of variable item height: every item can have its own font, text and background
// colours (normal and selected), an image, an indent and a tooltip. The first items may form a block of
// recently used items, closed by a separator line, that can be saved to and loaded from the profile.
#pragma once

#include "platform/base/Collections.h"
#include "platform/base/String.h"
#include "platform/framework/controls/ListBox.h"
#include "platform/framework/controls/ToolTipCtrl.h"
#include "platform/framework/gdi/GdiObject.h"
#include "platform/user/ImageList.h"

// Item update mask bits.
#define OXLBI_FONT 0x0001
#define OXLBI_TEXTCOLOR 0x0002
#define OXLBI_BKCOLOR 0x0004
#define OXLBI_TOOLTIP 0x0008
#define OXLBI_IMAGE 0x0010
#define OXLBI_INDENT 0x0020
#define OXLBI_SELTEXTCOLOR 0x0040
#define OXLBI_SELBKCOLOR 0x0080
#define OXLBI_ALL 0x00FF

#define OXLISTBOXEX_TOOLID 0xFFF0
#define OXLISTBOXEX_MRU_SECTION "OXLISTBOXEX_MRU"
// The last item of the recently used block is this much higher: its separator.
#define OXLISTBOXEX_MRU_SEPARATOR 4
#ifndef ILD_SELECTED
#define ILD_SELECTED 0x0004
#endif

struct _tagOXLISTBOXITEM {
    CFont* pFont = nullptr;
    COLORREF clrText = 0;
    COLORREF clrTextSelected = 0;
    COLORREF clrBackground = 0;
    COLORREF clrBackgroundSelected = 0;
    CString sTooltipText;
    int nImageIndex = -1;
    int nIndent = 0;
    RECT rectItem{};
    RECT rectImage{};
    RECT rectText{};
    int nMRUPosition = -1;
};
typedef _tagOXLISTBOXITEM OXLISTBOXITEM;

class COXListBoxEx : public CListBox {
    DECLARE_DYNAMIC(COXListBoxEx)
public:
    COXListBoxEx();
    ~COXListBoxEx() override;

    // An item record with the defaults of an item drawn without one.
    static OXLISTBOXITEM DefaultItem();

    int AddItem(LPCTSTR text, int nMask = 0, CFont* pFont = nullptr, COLORREF clrText = CLR_NONE,
                COLORREF clrBk = CLR_NONE, LPCTSTR tooltip = nullptr, int nImage = -1, int nIndent = 0,
                COLORREF clrTextSel = CLR_NONE, COLORREF clrBkSel = CLR_NONE);
    int InsertItem(int nIndex, LPCTSTR text, int nMask = 0, CFont* pFont = nullptr, COLORREF clrText = CLR_NONE,
                   COLORREF clrBk = CLR_NONE, LPCTSTR tooltip = nullptr, int nImage = -1, int nIndent = 0,
                   COLORREF clrTextSel = CLR_NONE, COLORREF clrBkSel = CLR_NONE);
    virtual int AddItemRecord(LPCTSTR text, int nMask, const OXLISTBOXITEM& record);
    int InsertItem(int nIndex, LPCTSTR text, int nMask, const OXLISTBOXITEM& record);

    virtual CString GetListBoxTip() const { return m_sListBoxTip; }
    virtual COLORREF GetBkColor() const { return m_clrBackground; }
    virtual BOOL GetStoredValue() const { return m_bHighlightOnlyText; }
    virtual CToolTipCtrl* GetToolTipCtrl() { return &m_ttc; }
    virtual HIMAGELIST GetImageList() const { return m_hImageList; }
    // Changes the masked fields of an item (-1: every item); FALSE for an index past the end.
    virtual BOOL SetItemInfo(int nIndex, int nMask, const OXLISTBOXITEM& values);
    virtual int MoveItemToMRU(int nIndex, int nMRUPosition = 0, BOOL bForce = FALSE);
    virtual int RemoveItemFromMRU(int nIndex);
    // The item's rectangle, clipped to the client width; the record keeps the three unclipped ones.
    virtual RECT CalcItemRects(int nIndex);
    virtual SIZE GetImageSize(int nIndex) const;
    virtual SIZE GetTextSize(int nIndex) const;
    virtual BOOL SaveMRU(LPCTSTR section) const;
    virtual BOOL LoadMRU(LPCTSTR section);
    virtual BOOL InitListBox();

    // Replace the list box's own: they keep the records and the recently used block in step.
    void ResetContent();
    int DeleteString(UINT nIndex);

    void SetMaxMRUCount(int nCount);
    int GetMaxMRUCount() const { return m_nMaxMRU; }
    int GetLastMRUIndex() const { return m_nLastMRUIndex; }
    int GetMRUPosition(int nIndex) const;
    BOOL GetItemInfo(int nIndex, OXLISTBOXITEM& record) const;
    void SetImageList(HIMAGELIST hImageList) { m_hImageList = hImageList; UpdateItemHeight(-1); }
    void SetBkColor(COLORREF colour) { m_clrBackground = colour; Invalidate(); }
    void SetHighlightOnlyText(BOOL bOnlyText) { m_bHighlightOnlyText = bOnlyText; Invalidate(); }
    void SetListBoxTip(LPCTSTR text) { m_sListBoxTip = text; }
    void SetAutoSaveMRU(BOOL bAutoSave) { m_bAutoSaveMRU = bAutoSave; }
    // Sets the item heights from their layout (-1: every item).
    void UpdateItemHeight(int nIndex);
    void UpdateToolTips();

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    int CompareItem(LPCOMPAREITEMSTRUCT lpCIS) override;
    void DeleteItem(LPDELETEITEMSTRUCT lpDIS) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    virtual void DrawMRUSeparator(HDC dc, const RECT& rect, const OXLISTBOXITEM& record);
    virtual void DrawItemImage(HDC dc, const RECT& rect, UINT nStyle, const OXLISTBOXITEM& record);
    virtual void DrawItemText(HDC dc, LPCTSTR text, const RECT& rect, COLORREF colour, CFont* pFont);

    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    _tagOXLISTBOXITEM* Record(int nIndex) const;
    // Moves the records at and after `from` by `delta` places.
    void ShiftRecords(int from, int delta);
    void RenumberMRU();
    // Takes an item out of the list, with what it carries: its text, record, data and selection.
    struct TakenItem {
        CString text;
        _tagOXLISTBOXITEM* record = nullptr;
        DWORD_PTR data = 0;
        BOOL selected = FALSE;
        BOOL caret = FALSE;
    };
    TakenItem TakeOut(int nIndex);
    int PutBack(int nIndex, TakenItem& item);

    CMap<int, int, _tagOXLISTBOXITEM*, _tagOXLISTBOXITEM*> m_mapItems;
    CToolTipCtrl m_ttc;
    HIMAGELIST m_hImageList;
    int m_nMaxMRU;
    int m_nLastMRUIndex;
    int m_nWidestItem;
    int m_nLastTopIndex;
    COLORREF m_clrBackground;
    BOOL m_bHighlightOnlyText;
    CString m_sListBoxTip;
    BOOL m_bAutoSaveMRU;
    BOOL m_bCreating;
};
