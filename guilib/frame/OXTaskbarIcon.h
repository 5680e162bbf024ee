// One icon with a tooltip in the taskbar's notification area, whose mouse events go to its owner window.
// It is an invisible window of its own that the shell notifies.
#pragma once

#include "platform/framework/window/Wnd.h"
#include "platform/user/Shell.h"

#define OX_TASKBARICON_CALLBACK 0x80A3

class COXTaskbarIcon : public CWnd {
    DECLARE_DYNAMIC(COXTaskbarIcon)
public:
    enum { addIcon = 0, modifyIcon = 1, deleteIcon = 2 };

    COXTaskbarIcon() = default;
    ~COXTaskbarIcon() override;

    virtual BOOL Create(UINT iconId = 0);
    virtual void SetTooltipText(UINT stringId, BOOL update = TRUE);
    virtual void SetTooltipText(LPCTSTR text, BOOL update = TRUE);
    virtual void SetIcon(LPCTSTR resourceName, BOOL update = TRUE);
    virtual void SetIcon(UINT resourceId, BOOL update = TRUE);
    // The previous icon.
    virtual HICON SetIcon(HICON icon, BOOL update = TRUE);
    virtual BOOL Show();
    virtual BOOL Hide();
    virtual BOOL Update();
    virtual void GetTooltipText(CString& text) const;
    virtual int GetTooltipText(LPTSTR buffer, int size) const;
    virtual HICON GetIcon() const { return m_hIcon; }
    virtual BOOL Notify(int request);
    // Hides the icon when shown, then destroys the window.
    void Destroy();

    BOOL IsShowing() const { return m_bShowing; }
    UINT GetIconID() const { return m_nIconID; }

protected:
    LRESULT OnTaskbarNotify(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    BOOL m_bShowing = FALSE;
    UINT m_nIconID = 0;
    HICON m_hIcon = nullptr;  // the window's small icon
};
