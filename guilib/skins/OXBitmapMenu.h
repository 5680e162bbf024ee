// COXBitmapMenu: a menu whose items are owner-drawn through the menu element skin, each with the
// image of its command beside its text and shortcut. Popups of the process go through the skin's
// window procedure once the first bitmap menu exists.
#pragma once

#include <list>
#include <map>

#include "guilib/controls/OXToolTipCtrl.h"
#include "guilib/skins/OXMenuSkin.h"
#include "platform/framework/window/CmdUI.h"
#include "platform/framework/window/Menu.h"

class CToolBar;

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
};

// The window that joins a menu to the tool bar button it drops from; the menu skin paints it.
class COXShadowedItemWnd : public CWnd {
public:
    COXShadowedItemWnd(CToolBar* toolBar, int button, int side) : m_pToolBar(toolBar), m_nButton(button), m_nSide(side) {}
    CToolBar* m_pToolBar;
    int m_nButton;
    int m_nSide;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The command update of a bitmap menu item: a new text goes into the item's record.
class CBitmapMenuCmdUI : public CCmdUI {
public:
    void SetText(LPCTSTR text) override;
};
