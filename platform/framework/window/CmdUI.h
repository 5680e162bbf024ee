// CCmdUI: one user-interface item (a menu item, a toolbar button, a status pane, a control) whose state
// the handler of its command sets while the framework updates it.
#pragma once

#include "platform/framework/window/CmdTarget.h"

class CMenu;
class CWnd;

class CCmdUI {
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    UINT m_nID = 0;
    UINT m_nIndex = 0;
    // For a menu item: the menu, and the popup when the item opens one (m_nID is then its first item's).
    CMenu* m_pMenu = nullptr;
    CMenu* m_pSubMenu = nullptr;
    CMenu* m_pParentMenu = nullptr;
    // For any other item: the window that shows it.
    CWnd* m_pOther = nullptr;
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;
    UINT m_nIndexMax = 0;

    virtual void Enable(BOOL on = TRUE);
    virtual void SetCheck(int check = 1);  // 0 clear, 1 checked, 2 indeterminate
    virtual void SetRadio(BOOL on = TRUE);
    virtual void SetText(LPCTSTR text);
    // Lets the next command target update the item as well.
    void ContinueRouting() { m_bContinueRouting = TRUE; }
    // Asks `target` (and through its routing the others) for the item's state. An item nobody answers
    // for is disabled when `disableIfNoHandler` and no command handler exists.
    BOOL DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler);
};
