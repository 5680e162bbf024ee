// COX3DTabViewContainer: windows or views as the pages of a tab control. Each tab item carries its page
// window; the selected tab's page fills the control's display area and the others are hidden. While
// something is dragged over the control, the page under the cursor comes to the front.
#pragma once

#include "platform/base/Collections.h"
#include "guilib/controls/OXSkinnedTabCtrl.h"
#include "platform/framework/controls/TabCtrl.h"
#include "platform/framework/frames/FrameWnd.h"
#include "platform/framework/ole/OleDropTarget.h"

class COX3DTabViewContainer : public COXSkinnedTabCtrl {
    DECLARE_DYNAMIC(COX3DTabViewContainer)
public:
    // The style of a container created over its own class: child, visible, bottom tabs in several rows
    // that never take the focus and light up under the pointer.
    static constexpr DWORD kDefaultStyle = 0x50008242;

    COX3DTabViewContainer();
    ~COX3DTabViewContainer() override;

    BOOL Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                LPVOID context = nullptr) override;
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    virtual BOOL InsertPage(int index, CWnd* page, LPCTSTR title, int image = -1, DWORD exStyle = 0,
                            BOOL activate = TRUE);
    BOOL AddPage(CWnd* page, LPCTSTR title, int image = -1, DWORD exStyle = 0, BOOL activate = TRUE) {
        return InsertPage(GetItemCount(), page, title, image, exStyle, activate);
    }
    virtual BOOL InsertViewPage(int index, const CRuntimeClass* viewClass, CCreateContext* context, LPCTSTR title,
                                int image = -1, DWORD exStyle = 0, BOOL activate = TRUE);
    virtual BOOL DeletePage(int index, BOOL destroy = TRUE);
    virtual BOOL DeletePageByWindow(CWnd* page, BOOL destroy = TRUE);
    virtual BOOL SetActivePage(int index);
    virtual UINT GetUniqueId();
    virtual void RecalcLayout();

    CWnd* GetPage(int index) const;
    CWnd* GetActivePage() const { return GetPage(m_nActivePageIndex); }
    int GetActivePageIndex() const { return m_nActivePageIndex; }
    int GetPageCount() const { return GetItemCount(); }
    int FindPage(const CWnd* page) const;
    BOOL IsPage(const CWnd* page) const;
    RECT GetPageRect() const { return m_rectPage; }
    // The page rectangle the tab skin frames.
    BOOL GetPageRect(RECT* rect) const override {
        *rect = m_rectPage;
        return TRUE;
    }

    // Something dragged over the control at `point` (client coordinates): with activation on drag-over,
    // the page of a newly hovered tab becomes active. The control accepts no drop: the answer is always 0.
    DWORD OnDragOver(POINT point);
    // The drag left or ended: the next drag starts with no tab hovered.
    void OnDragLeave() { m_nLastDragOverTab = -1; }
    BOOL m_bActivateOnDragOver = TRUE;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    // Passes drags over the control on to OnDragOver and OnDragLeave; it takes no drop.
    class CDragOverTarget : public COleDropTarget {
    public:
        explicit CDragOverTarget(COX3DTabViewContainer& owner) : m_owner(owner) {}
        DROPEFFECT OnDragEnter(CWnd*, COleDataObject*, DWORD, POINT point) override {
            return m_owner.OnDragOver(point);
        }
        DROPEFFECT OnDragOver(CWnd*, COleDataObject*, DWORD, POINT point) override {
            return m_owner.OnDragOver(point);
        }
        void OnDragLeave(CWnd*) override { m_owner.OnDragLeave(); }
        BOOL OnDrop(CWnd*, COleDataObject*, DROPEFFECT, POINT) override {
            m_owner.OnDragLeave();
            return FALSE;
        }

    private:
        COX3DTabViewContainer& m_owner;
    };
    CDragOverTarget m_dropTarget{*this};
    int m_nLastDragOverTab = -1;
    CArray<UINT, UINT> m_arrUniqueIDs;
    int m_nBorderMargin = 0;
    int m_nInsetMargin = 0;
    int m_nActivePageIndex = -1;
    RECT m_rectPage{};
};
