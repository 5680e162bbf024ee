// A tree whose leaves are check boxes or radio buttons identified by option ids; their states notify the
// parent on every change and are saved to and loaded from the profile.
#pragma once

#include "platform/base/Collections.h"
#include "platform/base/String.h"
#include "platform/framework/controls/TreeCtrl.h"
#include "platform/user/ImageList.h"

// Sent to the parent (WM_NOTIFY) on every state change.
#define OTN_OPTIONCHANGED ((UINT)-489)

// Images of the state lists, in order.
#define OTITEM_UNCHECKED 0
#define OTITEM_CHECKED 1
#define OTITEM_RADIO_UNCHECKED 2
#define OTITEM_RADIO_CHECKED 3

struct NMOPTIONTREE {
    NMHDR hdr;
    HTREEITEM hItem;
    int nItemID;
    int nOldCheck;
    int nNewCheck;
};

class COXOptionTreeCtrl : public CTreeCtrl {
    DECLARE_DYNAMIC(COXOptionTreeCtrl)
public:
    COXOptionTreeCtrl();
    ~COXOptionTreeCtrl() override;

    virtual BOOL Initialize();

    HTREEITEM InsertOptionItem(LPCTSTR text, HTREEITEM hParent = TVI_ROOT, BOOL bExpanded = TRUE, int nImage = -1,
                               int nSelectedImage = -1, HTREEITEM hInsertAfter = TVI_LAST);
    HTREEITEM AddCheckBox(int nID, LPCTSTR text, HTREEITEM hParent = TVI_ROOT, int nCheck = 0,
                          HTREEITEM hInsertAfter = TVI_LAST, int nLocked = 0);
    HTREEITEM AddRadioButton(int nID, LPCTSTR text, HTREEITEM hParent = TVI_ROOT, int nCheck = 0,
                             HTREEITEM hInsertAfter = TVI_LAST, int nLocked = 0);
    // Adds a bitmap's 16-pixel images to the light list, and the second bitmap's (or the first's again) to
    // the dark one; the index of the first image added.
    int LoadStateImages(LPCTSTR bitmapName, COLORREF mask, LPCTSTR darkBitmapName = nullptr,
                        COLORREF darkMask = RGB(192, 192, 192));

    int GetOptionState(int nID) const;
    void SetOptionState(int nID, int nCheck);
    int GetCheckedRadioButton(int nFirstID, int nLastID) const;
    BOOL SaveState(LPCTSTR section, LPCTSTR name) const;
    BOOL LoadState(LPCTSTR section, LPCTSTR name);
    void DeleteAllOptions();

    HTREEITEM GetItemFromID(int nID) const;
    BOOL IsDarkBackground() const { return m_bDarkBackground; }
    HIMAGELIST GetLightImages() const { return m_hLightImages; }
    HIMAGELIST GetDarkImages() const { return m_hDarkImages; }
    // The item's state: 0 or 1, or -1 for an item that is no option.
    int GetItemState(HTREEITEM hItem) const;

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    HTREEITEM AddOption(int nID, LPCTSTR text, HTREEITEM hParent, int nFirstImage, int nCheck,
                        HTREEITEM hInsertAfter, int nLocked);
    // Sets an item's state by the rules: radio siblings are cleared first; the parent hears of each change.
    void SetItemCheck(HTREEITEM hItem, int nCheck);
    void Toggle(HTREEITEM hItem);
    int ItemID(HTREEITEM hItem) const;
    BOOL IsLocked(HTREEITEM hItem) const;
    void UpdateBackground();
    static HIMAGELIST CreateStateImages(bool dark);

    HIMAGELIST m_hLightImages;
    HIMAGELIST m_hDarkImages;
    BOOL m_bDarkBackground;
    CMap<int, int, void*, void*> m_mapIDToItem;
    CMap<void*, void*, int, int> m_mapItemToLock;
    BOOL m_bCreating;
};
