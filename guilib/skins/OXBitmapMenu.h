// COXBitmapMenu: a menu whose items are owner-drawn through the menu element skin, each with the
// image of its command beside its text and shortcut. Popups of the process go through the skin's
// window procedure once the first bitmap menu exists.
#pragma once

#include <list>
#include <map>
#include <vector>

#include "guilib/controls/OXSHBDropHelpers.h"
#include "guilib/controls/OXToolTipCtrl.h"
#include "guilib/skins/OXMenuSkin.h"
#include "platform/framework/window/CmdUI.h"
#include "platform/framework/window/Menu.h"

class CToolBar;
class COXBitmapMenuPopupWnd;
struct OXCommandDragItem;

// The notification (WM_NOTIFY code) that a customised menu sends its owner, with one of the values
// below after the header; a non-zero answer means the owner has handled it.
#define OX_CUSTOMIZE_NOTIFY 32882
#define OX_CUSTOMIZE_SELECTION_CHANGED 32873
#define OX_CUSTOMIZE_ITEM_DRAGGED_OFF 32874
#define OX_CUSTOMIZE_DROP 32875
#define OX_CUSTOMIZE_INSERT_MARK_CHANGED 32876
#define ID_OX_CUSTOMIZE_DELETE 32877
#define ID_OX_CUSTOMIZE_APPEARANCE 32878
#define ID_OX_CUSTOMIZE_SEPARATOR_BEFORE 32879
#define ID_OX_CUSTOMIZE_SEPARATOR_AFTER 32880
#define ID_OX_CUSTOMIZE_RECENTLY_USED 32881

struct NMBMCUSTOMIZE {
    NMHDR nmhdr;
    UINT nCustomizeEventID;
};

// The command id of the item that expands a menu showing only recently used commands.
#define ID_OX_SHOWALLITEMS 0xFF56

// One item of a bitmap menu: the image of its command and its text (shortcut after a tab).
class COXItemInfo {
public:
    COXItemInfo(COXImageInfo* image, const CString& text) : m_pImageInfo(image), m_sText(text) {}
    COXImageInfo* GetImageInfo() const { return m_pImageInfo; }
    void SetImageInfo(COXImageInfo* image) { m_pImageInfo = image; }
    const CString& GetText() const { return m_sText; }
    void SetText(const CString& text) { m_sText = text; }

private:
    COXImageInfo* m_pImageInfo;
    CString m_sText;
};

class COXBitmapMenu : public CMenu, public COXBitmapMenuView {
    DECLARE_DYNAMIC(COXBitmapMenu)
public:
    COXBitmapMenu();
    ~COXBitmapMenu() override;

    // The current look's menu skin, else the process-wide Classic one (it lives to the end of the
    // process).
    static COXMenuSkin* GetMenuSkin();

    void MeasureItem(LPMEASUREITEMSTRUCT measure) override;
    void DrawItem(LPDRAWITEMSTRUCT draw) override;
    // The widths of the image column, texts and shortcuts and the text height, from the items.
    void CalcExtents();
    // The position of the item at `point` (y from the menu's top), -1 past the last one.
    int HitTest(POINT point, BOOL* upperHalf = nullptr);
    BOOL HasSubmenu(UINT id) const;
    // Opens the menu under the pressed (or dropped-down) button of a tool bar.
    BOOL TrackPopupFromToolBar(CToolBar* toolBar, UINT flags, CWnd* owner);
    // Where the popup goes beside `button` (screen coordinates): below it on a bar docked at the top or
    // bottom (above when there is no room), right of it otherwise (left when there is no room), kept on
    // the monitor. `flags` gains TPM_BOTTOMALIGN or TPM_RIGHTALIGN; `side` is 1 below, 2 right, 4 left,
    // 8 above.
    POINT CalcPopupPosition(CToolBar* toolBar, const RECT& button, UINT& flags, int& side);
    // The popup's size: the widest item + 18 by the items' heights + 6.
    SIZE CalcPopupSize();
    // An 8 x 8 checkerboard brush of the two colours (0 bits the first), or null.
    static HBRUSH CreateDitherBrush(COLORREF first, COLORREF second);

    // Items and their records (the menu owns them).
    COXItemInfo* AddItemInfo(COXImageInfo* image, const CString& text);
    void RemoveAllItemInfo();
    const std::list<COXItemInfo*>& GetItemInfos() const { return m_itemInfos; }
    // Mnemonics: lower-case character to item position.
    std::map<char, int>& GetMnemonics() { return m_mnemonics; }
    const RECT& GetExclusionRect() const { return m_rectExclude; }

    virtual BOOL IsCustomizing() const { return m_bCustomizing; }

    // Customisation (the commands page drives it through the organizer and the popup window).
    void SetCustomizing(BOOL on) { m_bCustomizing = on; }
    BOOL IsCustomizableInWindow() const { return m_bCustomizableInWindow; }
    void SetCustomizableInWindow(BOOL on) { m_bCustomizableInWindow = on; }
    void SetNotifyOwner(HWND owner) { m_hNotifyOwner = owner; }
    HWND GetNotifyOwner() const { return m_hNotifyOwner; }
    int GetCustomizeSelection() const { return m_nCustomizedItem; }
    int GetInsertMark() const { return m_nInsertMark; }
    int GetDraggedItem() const { return m_nDraggedItem; }
    BOOL IsDraggingOut() const { return m_bDraggingOut; }
    // Each stores the position, repaints and notifies; the old position.
    int SetCustomizeSelection(int position);
    int SetInsertMark(int position);
    // Recent-file entries and commands from 0xFF00 on that open no submenu: no context menu, no drag.
    BOOL IsItemCustomizable(int position) const;
    // The context menu of an item (null when it gets none); the caller destroys it.
    HMENU CreateCustomizeContextMenu(int position);
    virtual BOOL ShowCustomizeContextMenu(int position, int x, int y);
    virtual COXSHBDropSource* GetDropSource(CWnd* owner);
    virtual COXSHBDropTarget* GetDropTarget() { return &m_dropTarget; }
    virtual COXBitmapMenuPopupWnd* GetPopupWnd() const { return m_pPopupWnd; }
    void SetPopupWnd(COXBitmapMenuPopupWnd* peer) { m_pPopupWnd = peer; }
    virtual void BeginDragItem(int position);
    virtual DROPEFFECT OnDragEnter(COleDataObject* data, DWORD keyState, POINT point);
    virtual DROPEFFECT OnDragOver(COleDataObject* data, DWORD keyState, POINT point);
    virtual void OnDragLeave();
    virtual BOOL OnDrop(COleDataObject* data, DROPEFFECT effect, POINT point);
    // Inserts the items read from a command drag block into `target` from `position` on (-1 appends).
    virtual void InsertDragData(const std::vector<OXCommandDragItem>& items, HMENU target, int position);
    virtual void OnDeleteItem();
    virtual void OnAppearance();
    virtual void OnSeparatorBefore();
    virtual void OnSeparatorAfter();
    virtual void OnRecentlyUsed();
    // After an edit: converted again by the main window's organizer, the popup window laid out again.
    void RecalcLayout();
    // Sends the customisation notification with `value`; the owner's answer.
    LRESULT NotifyCustomize(UINT value);
    // Item layout and drawing, each through the skin.
    virtual void DistributeSpace(CDC* dc, COXImageInfo* image, const RECT& item, RECT& button, RECT& imageRect,
                                 RECT& text, RECT& accel);
    virtual void DrawBackground(CDC* dc, UINT state, COXImageInfo* image, const RECT& item, const RECT& button);
    virtual void DrawButton(CDC* dc, UINT state, COXImageInfo* image, const RECT& button);
    virtual void DrawImage(CDC* dc, UINT state, COXImageInfo* image, const RECT& imageRect);
    virtual void DrawText(CDC* dc, UINT state, const CString& text, const RECT& textRect, const RECT& accel);
    virtual void DrawSeparator(CDC* dc, const RECT& rect);
    virtual void DrawCustomizeSelection(CDC* dc, const RECT& rect);
    virtual void DrawInsertMark(CDC* dc, const RECT& rect, BOOL before);
    virtual void DrawSubmenuItem(CDC* dc, UINT state, const CString& text, COXImageInfo* image, const RECT& item,
                                 const RECT& button, const RECT& textRect, const RECT& accel);
    virtual void DrawExpandItem(CDC* dc, const RECT& rect, UINT state);

    // What the skins read.
    int GetImageColumnWidth() const override { return m_nBitmapExtent; }
    int GetTextHeight() const override { return m_nTextHeight; }
    int GetAcceleratorWidth() const override { return m_nAcceleratorExtent; }
    int GetTextWidth() const override { return m_nStringExtent; }
    BOOL DrawsSubmenuArrows() const override { return FALSE; }

    int m_nBitmapExtent = 0;
    int m_nTextHeight = 0;
    int m_nAcceleratorExtent = 0;
    int m_nStringExtent = 0;

    // Answers whether an item is recently used and whether only those show (the organizer of the main
    // window sets it).
    class RecentlyUsedQuery {
    public:
        virtual ~RecentlyUsedQuery() = default;
        virtual BOOL ShowsOnlyRecentlyUsed() const = 0;
        virtual BOOL IsRecentlyUsed(HMENU menu, int position) const = 0;
    };
    static void SetRecentlyUsedQuery(RecentlyUsedQuery* query) { s_pRecentlyUsed = query; }
    static RecentlyUsedQuery* GetRecentlyUsedQuery() { return s_pRecentlyUsed; }

protected:
    // The item's record, or null.
    COXItemInfo* ItemInfoAt(int position) const;
    std::map<char, int> m_mnemonics;
    std::list<COXItemInfo*> m_itemInfos;
    BOOL m_bCustomizing = FALSE;
    int m_nCustomizedItem = -1;
    BOOL m_bCustomizableInWindow = FALSE;
    HWND m_hNotifyOwner = nullptr;
    int m_nInsertMark = -1;
    int m_nDraggedItem = -1;
    RECT m_rectExclude{0, 0, 0, 0};
    COXToolTipCtrl m_toolTip;  // made and destroyed with the menu, not otherwise used

    static RecentlyUsedQuery* s_pRecentlyUsed;

    COXSHBDropSource m_dropSource;
    COXSHBDropTarget m_dropTarget;
    BOOL m_bDraggingOut = FALSE;
    BOOL m_bDragOver = FALSE;
    COXBitmapMenuPopupWnd* m_pPopupWnd = nullptr;

private:
    void RepaintItem(int position);
    void DetachPopupWnd();
};

// The window that joins a menu to the tool bar button it drops from; the menu skin paints it, reading
// the side, the bar and the button through the view.
class COXShadowedItemWnd : public CWnd, public COXShadowedItemView {
public:
    COXShadowedItemWnd(CToolBar* toolBar, int button, int side) : m_pToolBar(toolBar), m_nButton(button), m_nSide(side) {}
    CToolBar* m_pToolBar;
    int m_nButton;
    int m_nSide;

    int GetOpenSide() const override { return m_nSide; }
    COXCoolToolBarView* GetToolBarView() const override;
    int GetButtonIndex() const override { return m_pToolBar ? m_nButton : -1; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The command update of a bitmap menu item: a new text goes into the item's record.
class CBitmapMenuCmdUI : public CCmdUI {
public:
    void SetText(LPCTSTR text) override;
};
