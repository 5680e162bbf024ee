// The list of a shortcut-bar group: a list view whose items stand in one column as large icons with
// their text below (view 1) or small icons with their text beside (view 2), laid out, painted,
// scrolled by two buttons, hot-tracked, edited in place and dragged by the control itself.
#pragma once

#include <map>

#include "guilib/controls/OXSHBDropHelpers.h"
#include "guilib/controls/OXSHBEdit.h"
#include "guilib/controls/OXSHBTypes.h"
#include "platform/framework/controls/ListCtrl.h"
#include "platform/user/ImageList.h"

class COleDataSource;

// The private clipboard format of a dragged item.
#define SHB_ITEM_FORMAT "Shortcut bar child window item"

class COXSHBListCtrl : public CListCtrl {
    DECLARE_DYNAMIC(COXSHBListCtrl)
public:
    COXSHBListCtrl();
    ~COXSHBListCtrl() override;

    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    COXShortcutBar* GetShortcutBar() const { return m_pShortcutBar; }
    HSHBGROUP GetGroup() const { return m_hGroup; }
    // The bar's style inside a bar, else one made from the window styles.
    DWORD GetBarStyle() const;
    int GetView() const;
    COLORREF GetBkColor() const;
    COLORREF GetTextColor() const;
    HFONT GetItemFont() const;
    SIZE GetScrollButtonSize() const { return SIZE{16, 16}; }

    int GetPressedItem() const { return m_nPressedItem; }
    int GetHotItem() const { return m_nHotItem; }
    int SetHotItem(int item);
    int GetSelectedItem() const { return m_nSelectedItem; }
    int SelectItem(int item);
    int GetInsertPosition() const { return m_nInsertItem; }
    int GetEditedItem() const { return m_nEditItem; }
    BOOL IsEditing() const { return m_nEditItem != -1; }
    COXSHBEdit* GetEditControl() { return &m_edit; }
    POINT GetScrollOffset() const { return m_ptOrigin; }
    RECT GetTopScrollButtonRect() const { return m_rectTopScrollButton; }
    RECT GetBottomScrollButtonRect() const { return m_rectBottomScrollButton; }

    // Item rectangles in client coordinates: LVIR_BOUNDS, LVIR_ICON, LVIR_LABEL, -1 the whole item.
    BOOL GetItemRectangle(int item, UINT code, RECT* rect) const;
    // The item under a client point and what part of it (LVHT_ flags; -3, -4 the scroll buttons).
    int HitTest(POINT point, UINT* flags, BOOL ignoreScrollButtons = FALSE) const;
    BOOL EditLabel(int item);
    BOOL EnsureVisible(int item);
    void Scroll(int dx, int dy);
    void ScrollStep(BOOL up);
    // The rectangle where the insert mark of a position is drawn (client coordinates).
    RECT GetInsertMarkRect(int position) const;
    void SetDragItem(int item);
    // The common-controls version the lists read (major * 65536 + minor); tests may set it again.
    static DWORD GetComCtlVersion();
    static void ResetComCtlVersionForTest();

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual int SetPressedItem(int item);
    virtual void DrawScrollButtons(CDC* dc);
    virtual void DrawInsertMark(CDC* dc);
    virtual BOOL CreateEditControl();
    virtual void RecalcLayout();
    virtual void CalculateScrollRects();
    virtual COleDropSource* GetDropSource();
    virtual COleDropTarget* GetDropTarget();
    virtual void DoDragItem(int item, COleDataSource* source);
    virtual LRESULT OnDragEnter(SHBDROPTARGETACTION* action);
    virtual LRESULT OnDragOver(SHBDROPTARGETACTION* action);
    virtual LRESULT OnDragLeave(SHBDROPTARGETACTION* action);
    virtual LRESULT OnDrop(SHBDROPTARGETACTION* action);

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    INT_PTR OnToolHitTest(POINT point, TOOLINFO* info) const override;

    LRESULT SendNotify(UINT code, int item, LPARAM lParam = 0);
    void Initialise();
    void OnPaint();
    void OnMouseMove(UINT flags, POINT point);
    void TrackHot(POINT point, BOOL buttonDown);
    void OnLButtonDown(POINT point);
    void OnLButtonUp(POINT point);
    void OnTimer(UINT_PTR id);
    void StopButtonScroll();
    void RedrawItem(int item);
    void SetInsertPosition(int position);
    int NearestItem(POINT viewPoint, int start, BOOL wrap, UINT direction) const;
    RECT VisibleArea() const;  // view coordinates
    int TopIndex() const;
    int GetItemImage(int item) const;
    LRESULT OnEditFinished(const NMSHBEDIT* nm);
    LRESULT OnFindItem(int start, const LVFINDINFO* info);
    void AfterItemsChanged();

    COXShortcutBar* m_pShortcutBar = nullptr;
    HSHBGROUP m_hGroup = nullptr;
    int m_nPressedItem = -1;
    int m_nHotItem = -1;
    int m_nLastHotItem = -1;
    int m_nSelectedItem = -1;
    int m_nSpare = -1;
    int m_nDragItem = -1;
    int m_nEditItem = -1;
    COXSHBEdit m_edit;
    std::map<int, RECT> m_mapItemToBoundRect;
    std::map<int, RECT> m_mapItemToImageRect;
    std::map<int, RECT> m_mapItemToTextRect;
    RECT m_rectTopScrollButton{};
    RECT m_rectBottomScrollButton{};
    POINT m_ptOrigin{0, 0};
    COXSHBDropSource m_oleDropSource;
    CWnd* m_pDropSourceOwner = nullptr;
    COXSHBDropTarget m_oleDropTarget;
    HIMAGELIST m_ilLarge = nullptr;
    HIMAGELIST m_ilSmall = nullptr;
    BOOL m_bMouseIsOver = FALSE;
    BOOL m_bScrollingUp = FALSE;
    BOOL m_bScrollingDown = FALSE;
    BOOL m_bAutoScrolling = FALSE;
    BOOL m_bCreatingDragImage = FALSE;
    POINT m_ptDragImage{0, 0};
    POINT m_ptClickedLButton{0, 0};
    int m_nClickedItem = -1;
    BOOL m_bDragDropOwner = FALSE;
    BOOL m_bDragDropOperation = FALSE;
    UINT_PTR m_nScrollTimerID = 0;
    UINT_PTR m_nCheckMouseTimerID = 0;
    int m_nInsertItem = -1;
};
