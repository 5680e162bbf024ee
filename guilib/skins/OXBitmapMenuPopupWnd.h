// COXBitmapMenuPopupWnd: the tool window that shows a bitmap menu while it is customised. Items can be
// selected, dragged out after a short hold, given a context menu, and commands dropped onto it.
#pragma once

#include <vector>

#include "guilib/skins/OXBitmapMenu.h"
#include "platform/framework/gdi/GdiObject.h"
#include "platform/framework/window/Wnd.h"

// The timer that starts dragging the selected item while the left button is held.
#define OX_POPUPWND_DRAG_TIMER 412

class COXBitmapMenuPopupWnd : public CWnd {
public:
    COXBitmapMenuPopupWnd() = default;
    ~COXBitmapMenuPopupWnd() override;

    virtual COXBitmapMenu* GetBitmapMenu() const { return m_pBitmapMenu; }
    // Shows the menu at (x, y) aligned by `flags` (0 left, 4 centre, 8 right) for `owner`.
    virtual BOOL TrackPopupMenu(COXBitmapMenu* menu, UINT flags, int x, int y, CWnd* owner);
    virtual void Hide();
    virtual void RecalcLayout();
    virtual void CalcLayout(UINT flags, int x, int y);
    virtual LRESULT OnDragEnter(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnDragOver(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnDragLeave(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnDrop(WPARAM wParam, LPARAM lParam);

    const RECT& GetWindowRectangle() const { return m_rectWindow; }
    const std::vector<RECT>& GetItemRects() const { return m_itemRects; }
    // The menu is going away: the window no longer shows it.
    void ForgetMenu(COXBitmapMenu* menu);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void CreateMenuFont();
    void OnPaint();
    int ItemAt(POINT point) const;
    BOOL Customizable() const { return m_pBitmapMenu && m_pBitmapMenu->IsCustomizableInWindow(); }

    COXBitmapMenu* m_pBitmapMenu = nullptr;
    RECT m_rectWindow{0, 0, 0, 0};
    std::vector<RECT> m_itemRects;
    CFont m_font;
    UINT_PTR m_nTimerID = 0;
};
