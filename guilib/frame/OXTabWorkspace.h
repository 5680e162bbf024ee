// COXTabWorkspace: the tab strip of tabbed MDI, one tab per visible MDI child (its title and small icon)
// in a record array kept in tab order. A click activates the child, a double click maximizes or restores
// it, dragging data over a tab activates its child, and a 500 ms timer keeps the tabs current.
#pragma once

#include <vector>

#include "guilib/controls/OXSkinnedTabCtrl.h"
#include "platform/framework/ole/OleDropTarget.h"

class COXTabClientWnd;

// One tab's record.
struct _tagTAB_ITEM_ENTRY {
    CString sText;       // the title as the child gave it
    CString sClassName;  // the child's window class when the tab was made
    HWND hWnd = nullptr;
    int nFlag = 1;
};

class COXTabWorkspaceDropTarget : public COleDropTarget {
public:
    DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, POINT point) override;
    DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, POINT point) override;
    void OnDragLeave(CWnd* wnd) override;
    int m_nOverItem = -1;  // the tab last dragged over
};

// The private query a child may answer with the text of its tab (a string).
#define WM_OX_TABTEXT (WM_APP + 0xA0)

class COXTabWorkspace : public COXSkinnedTabCtrl {
    DECLARE_DYNAMIC(COXTabWorkspace)
public:
    static constexpr UINT kTimerId = 333;
    static constexpr UINT kTimerPeriod = 500;

    COXTabWorkspace();
    ~COXTabWorkspace() override;

    // The text the child answers to WM_APP+0xA0, else its window text.
    virtual CString GetTabText(HWND child);
    // The child's small icon (or its big or class icon), or null.
    static HICON GetWindowIcon(HWND child);
    // The record index of the child (its stored class must still be the window's), or -1.
    int FindTab(HWND child) const;
    BOOL InsertTab(int index, HWND child, BOOL recalcLayout, BOOL visibleOnly);
    BOOL RemoveTab(HWND child, BOOL recalcLayout);
    void UpdateContents(BOOL addNew, BOOL refreshIcons);
    // The child of a tab (null for the extra empty tab).
    HWND GetTabWindow(int index) const;

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    std::vector<_tagTAB_ITEM_ENTRY> m_arrTab;
    std::vector<HICON> m_arrImage;
    HIMAGELIST m_imageList = nullptr;
    COXTabWorkspaceDropTarget m_dropTarget;
    COXTabClientWnd* m_pTabClientWnd = nullptr;
    DWORD m_dwOffset = 1;
    BOOL m_bAcceptDraggedObject = TRUE;

protected:
    int AddIcon(HICON icon);
    void RecalcFrame();
    // Selecting the extra empty tab (or none) puts the active child's tab back.
    void SelectActiveTab();
    void OnSelChange();
    void OnDoubleClick();
};
