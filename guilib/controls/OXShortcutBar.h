// The shortcut bar: a vertical stack of group headers of which one is expanded, its child window (as
// a rule a COXSHBListCtrl of icons) filling the space under it. Every step the owner may want to
// change is announced to it first by WM_NOTIFY.
#pragma once

#include <map>
#include <memory>

#include "guilib/controls/OXSHBDropHelpers.h"
#include "guilib/controls/OXSHBEdit.h"
#include "guilib/controls/OXSHBTypes.h"
#include "guilib/skins/OXShortcutBarSkin.h"
#include "platform/user/ImageList.h"

class COXSHBListCtrl;

class COXShortcutBar : public CWnd, public COXShortcutBarView {
    DECLARE_DYNAMIC(COXShortcutBar)
public:
    COXShortcutBar();
    ~COXShortcutBar() override;

    BOOL Create(CWnd* parent, const RECT& rect, DWORD barStyle = 0,
                UINT id = 0xFFFF, DWORD style = WS_CHILD | WS_VISIBLE, DWORD exStyle = 0);

    BOOL SetBarStyle(DWORD style);
    DWORD GetBarStyle() const override { return m_dwBarStyle; }
    HIMAGELIST SetHeaderImageList(HIMAGELIST images);

    HSHBGROUP InsertGroup(LPCTSTR text, int order = -1, int image = -1, int expandedImage = -1, LPARAM lParam = 0,
                          int view = -1, LPSHB_DESCRIPTOR descriptor = nullptr, HWND child = nullptr);
    HSHBGROUP InsertGroup(const SHB_GROUPINFO* info);
    BOOL DeleteGroup(HSHBGROUP group);
    BOOL DeleteAllGroups();
    int GetGroupCount() const { return (int)m_mapHandleToInfo.size(); }
    HSHBGROUP FindGroupByText(LPCTSTR text) const;
    HSHBGROUP FindGroupByOrder(int order) const;
    HSHBGROUP FindGroup(const SHB_GROUPINFO* info) const;
    COXSHBListCtrl* GetGroupListCtrl(HSHBGROUP group) const;
    HWND GetGroupChildWindow(HSHBGROUP group) const;
    HIMAGELIST SetGroupImageList(HSHBGROUP group, HIMAGELIST images, int type);
    int GetGroupItemCount(HSHBGROUP group) const;
    int InsertGroupItem(HSHBGROUP group, UINT mask, int item, LPCTSTR text, UINT state, UINT stateMask, int image,
                        LPARAM lParam);
    BOOL DeleteGroupItem(HSHBGROUP group, int item);
    BOOL SortGroupItems(HSHBGROUP group);
    HSHBGROUP AnimateExpand(HSHBGROUP group);
    HSHBGROUP ExpandGroup(HSHBGROUP group) { return AnimateExpand(group); }
    BOOL EditGroupHeader(HSHBGROUP group);

    // Group getters, with the defaults of an unset field.
    int GetGroupImage(HSHBGROUP group) const;
    int GetGroupImageExpanded(HSHBGROUP group) const;
    LPARAM GetGroupData(HSHBGROUP group) const;
    int GetGroupView(HSHBGROUP group) const;
    LPSHB_DESCRIPTOR GetGroupDescriptor(HSHBGROUP group) const;
    BOOL GetGroupHeaderFont(HSHBGROUP group, LOGFONT* font) const;
    BOOL GetGroupTextFont(HSHBGROUP group, LOGFONT* font) const;
    COLORREF GetGroupListBkColor(HSHBGROUP group) const;
    COLORREF GetGroupListTextColor(HSHBGROUP group) const;
    UINT GetGroupHeaderAlign(HSHBGROUP group) const;
    int GetGroupHeaderHeight(HSHBGROUP group) const;
    BOOL GetGroupHeaderRect(HSHBGROUP group, RECT* rect) const;
    BOOL GetGroupInfo(HSHBGROUP group, SHB_GROUPINFO* info) const;

    BOOL SetGroupInfo(HSHBGROUP group, const SHB_GROUPINFO* info, BOOL replace = FALSE);
    BOOL SetGroupText(HSHBGROUP group, LPCTSTR text);
    BOOL SetGroupImage(HSHBGROUP group, int image);
    BOOL SetGroupOrder(HSHBGROUP group, int order);
    BOOL SetGroupView(HSHBGROUP group, int view);
    BOOL SetGroupDescriptor(HSHBGROUP group, const SHB_DESCRIPTOR* descriptor);
    BOOL SetGroupListBkColor(HSHBGROUP group, COLORREF colour);
    BOOL SetGroupListTextColor(HSHBGROUP group, COLORREF colour);
    BOOL SetGroupBkColor(HSHBGROUP group, COLORREF colour);

    typedef int (*PFNSHBCOMPARE)(LPARAM a, LPARAM b, LPARAM data);
    BOOL SortGroups(PFNSHBCOMPARE compare, LPARAM lParam, int direction);
    BOOL SortGroupsByText(int direction);
    int GetSortOrder() const { return m_nSortOrder; }

    HSHBGROUP GetExpandedGroupHandle() const { return m_hExpandedGroup; }
    HSHBGROUP GetHotGroupHandle() const { return m_hHotHandle; }
    HSHBGROUP GetEditGroup() const { return m_hEditGroup; }
    HSHBGROUP GetDragGroup() const { return m_hDragGroup; }
    HSHBGROUP GetDropTargetGroupHandle() const { return m_hDropHilightGroup; }
    COXSHBEdit* GetEditControl() { return &m_edit; }
    RECT GetChildWndRect() const { return m_rectChildWnd; }
    // Group and place under a client point: 1 on a header, 2 in the child rectangle, 3 elsewhere.
    HSHBGROUP HitTest(POINT point, int* place) const;
    COXShortcutBarSkin* GetShortcutBarSkin();
    int GetHoverDelay() const { return m_nWaitForAutoExpandTime; }

    static COLORREF AdjustColor(COLORREF colour, int delta);
    static COLORREF InvertColor(COLORREF colour);
    static BOOL IsColorClose(COLORREF a, COLORREF b, int tolerance);

    // Sends a notification to the owner (else the parent) in the bar's name.
    LRESULT SendNotify(UINT code, HSHBGROUP group, int item = -1, LPARAM lParam = 0) const;

    // The read-only view of the skins.
    HWND GetBarHwnd() const override { return m_hWnd; }
    COLORREF GetGroupBkColor(HANDLE group) const override;
    COLORREF GetGroupTextColor(HANDLE group) const override;
    CString GetGroupText(HANDLE group) const override;
    HFONT GetGroupHeaderFont(HANDLE group) const override;
    UINT GetGroupHeaderFormat(HANDLE group) const override { return GetGroupHeaderAlign((HSHBGROUP)group); }
    int GetGroupImage(HANDLE group, BOOL expanded) const override;
    HIMAGELIST GetHeaderImageList() const override { return m_pImageList; }
    HANDLE GetExpandedGroup() const override { return m_hExpandedGroup; }
    HANDLE GetHotGroup() const override { return m_hHotHandle; }
    HANDLE GetPressedGroup() const override { return m_hPressedGroup; }
    HANDLE GetDraggedGroup() const override { return m_hDragGroup; }
    HANDLE GetDropTargetGroup() const override { return m_hDropHilightGroup; }
    int GetGroupOrder(HANDLE group) const override;
    BOOL IsPaintingDragImage() const override { return m_bCreatingDragImage; }

    virtual HIMAGELIST CreateGroupDragImage(HSHBGROUP group);
    virtual void DrawHeader(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void FillBackground(CDC* dc);
    virtual BOOL CreateEditControl();
    virtual BOOL CreateGroupChildWindow(HSHBGROUP group);
    virtual COXSHBListCtrl* NewListCtrl();
    virtual void RecalcLayout();
    virtual HSHBGROUP GetUniqueGroupHandle();
    virtual BOOL CompareGroupInfo(const SHB_GROUPINFO* a, const SHB_GROUPINFO* b) const;
    virtual COleDropTarget* GetDropTarget();
    virtual LRESULT OnDragOver(SHBDROPTARGETACTION* action);
    virtual LRESULT OnDragLeave(SHBDROPTARGETACTION* action);

    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;

protected:
    void PreSubclassWindow() override;
    INT_PTR OnToolHitTest(POINT point, TOOLINFO* info) const override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    struct StoredInfo : SHB_GROUPINFO {
        BOOL bOwnsText = FALSE;
    };
    BOOL VerifyGroupInfo(const SHB_GROUPINFO* info) const;
    BOOL CopyGroupInfo(StoredInfo* target, const SHB_GROUPINFO* source, BOOL replace);
    static void CopyDescriptor(SHB_DESCRIPTOR* target, const SHB_DESCRIPTOR* source, UINT flags);
    StoredInfo* Info(HSHBGROUP group) const;
    HSHBGROUP NextOrderGroup(int order) const { return FindGroupByOrder(order); }
    void Initialise();
    void OnPaint();
    void OnSize();
    void PlaceExpandedChild();
    void OnLButtonDown(POINT point);
    void OnLButtonUp(POINT point);
    void OnMouseMove(UINT flags, POINT point);
    void OnTimer(UINT_PTR id);
    void OnContextMenu(POINT screen);
    void OnCommandId(UINT id);
    void RedrawHeader(HSHBGROUP group);
    HSHBGROUP DragTargetAt(POINT point) const;
    LRESULT OnHeaderEditFinished(const NMSHBEDIT* nm);
    void SetHotGroup(HSHBGROUP group);

    HIMAGELIST m_pImageList = nullptr;
    HSHBGROUP m_hDropHilightGroup = nullptr;
    HSHBGROUP m_hExpandedGroup = nullptr;
    HSHBGROUP m_hEditGroup = nullptr;
    HSHBGROUP m_hContextMenuGroup = nullptr;
    HSHBGROUP m_hDragGroup = nullptr;
    HSHBGROUP m_hPressedGroup = nullptr;
    int m_nSortOrder = 0;
    DWORD m_dwBarStyle = 0;
    COXSHBEdit m_edit;
    std::map<HSHBGROUP, StoredInfo*> m_mapHandleToInfo;
    std::map<LPSHB_DESCRIPTOR, int> m_mapDescriptors;
    std::map<HSHBGROUP, COXSHBListCtrl*> m_mapHandleToListCtrl;
    std::map<HSHBGROUP, RECT> m_mapHandleToBoundRect;
    RECT m_rectChildWnd{};
    int m_nGroupMargin = 0;
    RECT m_rectChildWndMargins{5, 5, 5, 5};
    SIZE m_sizeScrollButton{16, 16};
    UINT m_nScrollingDelay = 200;
    UINT m_nAutoScrollingDelay = 400;
    int m_nWaitForAutoExpandTime = 800;
    COXSHBDropTarget m_dropTarget;
    BOOL m_bCreatingDragImage = FALSE;
    int m_nLastHandle = 0;
    CFont m_font;
    HIMAGELIST m_pDragImage = nullptr;
    POINT m_ptDragImage{0, 0};
    UINT_PTR m_nWaitForDragHeaderID = 0;
    HSHBGROUP m_hSuspectDragGroup = nullptr;
    UINT_PTR m_nWaitForAutoExpandID = 0;
    HSHBGROUP m_hSuspectAutoExpandGroup = nullptr;
    UINT_PTR m_nCheckMouseIsOverGroupID = 0;
    HSHBGROUP m_hHotHandle = nullptr;
    std::unique_ptr<COXShortcutBarSkinClassic> m_pShortcutBarSkin;
    // Header fonts made from descriptors, by group.
    mutable std::map<HSHBGROUP, std::pair<LOGFONT, HFONT>> m_mapHeaderFonts;
    BOOL m_bCreating = FALSE;
};
