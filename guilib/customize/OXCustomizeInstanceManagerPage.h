// The customize page that limits how many copies of the application run at once and lists the running
// copies, with buttons that close, activate, maximise, minimise and restore any of them. It owns the
// application's instance manager.
#pragma once

#include "guilib/controls/OXSeparator.h"
#include "guilib/controls/OXStatic.h"
#include "guilib/customize/OXCustomizePage.h"
#include "guilib/frame/OXInstanceManager.h"
#include "platform/framework/controls/ListCtrl.h"
#include "platform/framework/controls/SpinButtonCtrl.h"

#define IDT_OX_INSTANCE_REFRESH 278

class COXCustomizeInstanceManagerPage : public COXCustomizePage {
    DECLARE_DYNAMIC(COXCustomizeInstanceManagerPage)

public:
    COXCustomizeInstanceManagerPage();
    ~COXCustomizeInstanceManagerPage() override;

    BOOL OnManagerClose(BOOL bIsOk) override;
    BOOL ApplySettings() override;
    CString GetPageTitle() override;
    UINT GetImageId() override;
    CString GetPageTooltip() override;
    void InitControls() override;
    // Refuses a maximum outside 1..1000; with a section, the stored maximum replaces the given one.
    virtual BOOL SetupPage(UINT nMaxAllowedInstances = COXInstanceManager::kMaxInstances,
                           LPCTSTR lpszProfileName = nullptr);
    virtual COXInstanceManager* GetInstanceManager() { return &m_instanceManager; }
    virtual void RefreshInstanceList();

    void DoDataExchange(CDataExchange* pDX) override;

    // The instance manager's name: the program's full path without backslashes, so every copy of one
    // program file meets in one list.
    static CString GetInstanceManagerName();

    int GetLimitChoice() const { return m_nLimitChoice; }
    UINT GetMaxAllowedInstances() const { return m_nMaxAllowedInstances; }

protected:
    // A page whose instance manager uses another name (a test's own list).
    explicit COXCustomizeInstanceManagerPage(LPCTSTR lpszInstanceManagerName);

    // The choice that shows a maximum: 0 for 1000 (no limit), 1 for one, 2 otherwise.
    static int ChoiceFor(UINT nMaximum);
    // The maximum stored in the section; a value outside 1..1000 counts as the set-up maximum.
    UINT ReadStoredMaximum(UINT nDefault);
    void UpdateEnabledStates();
    // The process of the selected row (0 for none) and its main window.
    DWORD GetSelectedProcess(HWND* phWnd = nullptr);
    void ActivateMainWindow();

    void OnDestroy();
    void OnTimer(UINT_PTR nIDEvent);
    void OnRadioChoice();
    void OnChangeMaxInstances();
    void OnInstanceListChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnButtonClose();
    void OnButtonSwitchTo();
    void OnButtonBringToFront();
    void OnButtonMaximize();
    void OnButtonMinimize();
    void OnButtonRestore();

    int m_nLimitChoice = 2;
    UINT m_nMaxAllowedInstances = 2;
    UINT m_nSetupMaximum = COXInstanceManager::kMaxInstances;
    COXInstanceManager m_instanceManager;
    UINT_PTR m_nTimerID = 0;

    CSpinButtonCtrl m_spinMaxInstances;
    CListCtrl m_listInstances;
    COXStatic m_staticInstanceCount;
    COXSeparator m_sepOptions;
    COXSeparator m_sepOperations;
    COXSeparator m_sepInstances;
    CFont m_fontCount;

    DECLARE_MESSAGE_MAP()
};
