// The base of every page of the customize dialog: a child window made from a dialog template of its
// own, shown in the dialog's page rectangle, and a long-lived object that keeps the values it
// customises (and the section of the profile that holds them) between openings of the dialog.
#pragma once

#include "guilib/controls/OXLayoutManager.h"
#include "platform/framework/window/Dialog.h"

class COXCustomizeManager;

class COXCustomizePage : public CWnd {
    DECLARE_DYNCREATE(COXCustomizePage)

public:
    COXCustomizePage() = default;
    ~COXCustomizePage() override;

    using CWnd::Create;
    // Creates the window as a modeless dialog from a template (an id given as MAKEINTRESOURCE) and
    // turns it into a borderless child: no caption, no client edge, the given control id.
    virtual BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd, const RECT& rect, UINT nID, DWORD dwStyle);
    // Shows the page, creating its window on first use with the manager's window as parent.
    virtual BOOL ShowInManager(COXCustomizeManager* pCustomizeManager);
    virtual void HidePage();
    // Called when the dialog closes (TRUE: OK, FALSE: Cancel); FALSE keeps the dialog open.
    virtual BOOL OnManagerClose(BOOL /*bIsOk*/) { return TRUE; }
    virtual BOOL SaveState() { return TRUE; }
    virtual BOOL ApplySettings() { return TRUE; }
    virtual BOOL CanApply() { return TRUE; }
    virtual CString GetPageTitle() { return CString(); }
    // The bitmap whose first 32-pixel image is the page's icon; 0 for none.
    virtual UINT GetImageId() { return 0; }
    virtual COLORREF GetImageMaskColor() { return RGB(192, 192, 192); }
    virtual CString GetPageTooltip() { return CString(); }
    virtual CString GetGroupName() { return CString("Customize"); }
    // Moves the page's values into its controls and attaches the layout manager; derived pages call
    // this first and set m_bInitialized last.
    virtual void InitControls();

    virtual void DoDataExchange(CDataExchange* /*pDX*/) {}
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL SetOccDialogInfo(void* pOccDialogInfo) {
        m_pOccDialogInfo = pOccDialogInfo;
        return TRUE;
    }

    COXCustomizeManager* GetCustomizeManager() const { return m_pCustomizeManager; }
    UINT GetDialogID() const { return m_nDialogID; }
    BOOL IsInitialized() const { return m_bInitialized; }
    const CString& GetProfileName() const { return m_sProfileName; }

protected:
    COXCustomizeManager* m_pCustomizeManager = nullptr;
    UINT m_nDialogID = (UINT)-1;
    COXLayoutManager m_LayoutManager;
    CString m_sProfileName;
    BOOL m_bInitialized = FALSE;
    void* m_pOccDialogInfo = nullptr;

    void OnDestroy();
    DECLARE_MESSAGE_MAP()
};
