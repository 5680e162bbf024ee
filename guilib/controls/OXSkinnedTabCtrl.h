// The library's tab control: paints through the tab element skin, and its scroll arrows through the
// embedded skinned spin control.
#pragma once

#include <memory>

#include "guilib/skins/OXTabSkin.h"

class COXSkinnedSpinCtrl : public CSpinButtonCtrl {
    DECLARE_DYNCREATE(COXSkinnedSpinCtrl)
public:
    COXSkinnedSpinCtrl();
    ~COXSkinnedSpinCtrl() override;
    COXTabSkin* GetTabSkin();

    // The thread mouse hook that tells a spin control the mouse has left it; null when none.
    static HHOOK GetMouseHook() { return s_hMouseHook; }

protected:
    void PreSubclassWindow() override;
    void OnPaint();
    void OnMouseMove(UINT flags, POINT point);
    BOOL OnEraseBkgnd(HDC);
    void OnDestroy();
    static LRESULT MouseProc(int code, WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    std::unique_ptr<COXTabSkinClassic> m_pTabSkin;
    static HHOOK s_hMouseHook;
    static HWND s_hLastWindow;
    static int s_nLiveSpins;
};

class COXSkinnedTabCtrl : public CTabCtrl {
    DECLARE_DYNAMIC(COXSkinnedTabCtrl)
public:
    COXSkinnedTabCtrl();
    ~COXSkinnedTabCtrl() override;

    COXTabSkin* GetTabSkin();
    // The embedded spin control of a skinned tab control; null for any other window.
    static COXSkinnedSpinCtrl* GetEmbeddedSpin(CWnd* window);
    // The page rectangle a tab view container frames; FALSE for a plain tab control.
    virtual BOOL GetPageRect(RECT*) const { return FALSE; }

protected:
    void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    std::unique_ptr<COXTabSkinClassic> m_pTabSkin;
    COXSkinnedSpinCtrl m_spin;
};
