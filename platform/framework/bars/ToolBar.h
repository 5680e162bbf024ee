// CToolBar: a control bar over the toolbar control, with its buttons from a toolbar resource and its
// bitmap, updated from the commands' handlers at idle time, laid out in one row when docked along the top
// or bottom, one column along a side, and wrapped to its last width when it floats.
#pragma once

#include "platform/framework/bars/ControlBar.h"
#include "platform/framework/controls/ToolBarCtrl.h"

class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar();
    ~CToolBar() override;

    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = AFX_IDW_TOOLBAR);
    BOOL CreateEx(CWnd* parent, DWORD ctrlStyle = TBSTYLE_FLAT, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                  RECT borders = RECT{0, 0, 0, 0}, UINT id = AFX_IDW_TOOLBAR);
    // The buttons and images of a toolbar resource (its bitmap has the same id).
    BOOL LoadToolBar(UINT resourceId);
    BOOL LoadBitmap(UINT resourceId);
    // Buttons for the ids (0 a separator), images in order; null ids make `count` empty buttons.
    BOOL SetButtons(const UINT* ids, int count);
    void SetSizes(SIZE button, SIZE image);
    void SetHeight(int height);

    int CommandToIndex(UINT id) const;
    UINT GetItemID(int index) const;
    void GetItemRect(int index, LPRECT rect) const;
    UINT GetButtonStyle(int index) const;
    void SetButtonStyle(int index, UINT style);
    void GetButtonInfo(int index, UINT& id, UINT& style, int& image) const;
    void SetButtonInfo(int index, UINT id, UINT style, int image);
    BOOL SetButtonText(int index, LPCTSTR text);
    CString GetButtonText(int index) const;
    CToolBarCtrl& GetToolBarCtrl() const { return const_cast<CToolBarCtrl&>(m_ctrl); }

    SIZE CalcFixedLayout(BOOL stretch, BOOL horz) override;
    SIZE CalcDynamicLayout(int length, DWORD mode) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
    // Asks `target` for the state of every button (a bar owned by a control asks that control).
    void UpdateButtons(CCmdTarget* target, BOOL disableIfNoHandler);
    INT_PTR OnToolHitTest(POINT point, TOOLINFO* info) const override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    SIZE m_sizeButton{23, 22};
    SIZE m_sizeImage{16, 15};

protected:
    // Sets the buttons' wrap states for a layout `width` wide (-1: one row; 0: one button a row) and
    // gives the size of the buttons then.
    SIZE WrapTo(int width);
    void SetWrapStates(const std::vector<bool>& wraps);

    CToolBarCtrl m_ctrl;  // the same window, seen as the control
    HIMAGELIST m_images = nullptr;
};
