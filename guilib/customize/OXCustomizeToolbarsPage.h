// The customize page that lists every toolbar of the main frame with a check box that shows or hides
// it, creates, renames and deletes toolbars of the user's own, resets toolbars to their saved buttons,
// and sets four looks for all toolbars at once: cool (flat) look, tooltips, gripper and border size.
// Every change acts at once; OK writes the looks and the user's toolbars to the profile, and the next
// set-up creates those toolbars again.
#pragma once

#include "guilib/controls/OXOptionTreeCtrl.h"
#include "guilib/controls/OXSeparator.h"
#include "guilib/customize/OXCustomizePage.h"
#include "guilib/skins/MFCToolBar.h"
#include "platform/base/Collections.h"
#include "platform/framework/controls/SpinButtonCtrl.h"

class COXCoolToolBar;
class COXCustomizeCommandsPage;

// One toolbar the page manages: the frame's own or one the user made.
struct _tagOXCUSTOMIZE_TOOLBARINFO {
    CMFCToolBar* pToolbar = nullptr;
    BOOL bCustomMade = FALSE;
};
typedef _tagOXCUSTOMIZE_TOOLBARINFO OXCUSTOMIZE_TOOLBARINFO;

class COXCustomizeToolbarsPage : public COXCustomizePage {
    DECLARE_DYNAMIC(COXCustomizeToolbarsPage)

public:
    // The control ids a toolbar of the user's own may take, taken from the top down.
    static constexpr UINT kFirstCustomToolbarID = 59413;
    static constexpr UINT kLastCustomToolbarID = 59647;

    COXCustomizeToolbarsPage();
    ~COXCustomizeToolbarsPage() override;

    BOOL OnManagerClose(BOOL bIsOk) override;
    BOOL CanApply() override { return FALSE; }
    CString GetPageTitle() override;
    UINT GetImageId() override;
    CString GetPageTooltip() override;
    void InitControls() override;
    // Registers the main frame's toolbars, reads the stored looks and recreates the stored toolbars of
    // the user's own (hidden), then applies the looks. Always TRUE.
    virtual BOOL SetupPage(BOOL bCoolLook = TRUE, BOOL bShowGripper = TRUE, BOOL bShowTooltips = TRUE,
                           int nBorderSize = 0, LPCTSTR lpszProfileName = nullptr);
    // The profile name of the user's toolbar number nIndex (from 0): its "_ID" and "_Title" values
    // follow it.
    virtual CString GetNewToolbarName(int nIndex) const;

    void DoDataExchange(CDataExchange* pDX) override;

    BOOL GetCoolLook() const { return m_bCoolLook; }
    BOOL GetShowTooltips() const { return m_bShowTooltips; }
    BOOL GetShowGripper() const { return m_bShowGripper; }
    DWORD GetBorderSize() const { return m_nBorderSize; }
    int GetToolbarCount() const { return (int)m_arrToolbars.GetSize(); }
    const OXCUSTOMIZE_TOOLBARINFO& GetToolbarInfo(int nIndex) const { return m_arrToolbars[nIndex]; }
    // The record index of a managed toolbar, -1 for another.
    int FindToolbar(CMFCToolBar* pToolbar) const;
    int GetCreatedToolbarCount() const { return (int)m_arrCreatedToolbars.GetSize(); }
    COXCoolToolBar* GetCreatedToolbar(int nIndex) const { return m_arrCreatedToolbars[nIndex]; }
    COXOptionTreeCtrl& GetToolbarsTree() { return m_treeToolbars; }

    // The operations of the page's buttons, on the toolbar selected in the tree.
    void OnButtonNewToolbar();
    void OnButtonDelete();
    void OnButtonRename();
    void OnButtonReset();
    void OnButtonResetAll();

protected:
    // The looks, each on one toolbar; the menu bar keeps its own.
    void ApplyTooltips(CMFCToolBar* pToolbar);
    // bRefresh: recompute the frame, redraw and lay out the docking frame again.
    void ApplyBorderSize(CMFCToolBar* pToolbar, BOOL bRefresh);
    void RefreshBorderSize(CMFCToolBar* pToolbar) { ApplyBorderSize(pToolbar, TRUE); }
    void ApplyCoolLook(CMFCToolBar* pToolbar);
    void ApplyGripper(CMFCToolBar* pToolbar);
    static BOOL IsMenuBar(CMFCToolBar* pToolbar);

    // Creates the window of a toolbar of the user's own in the frame.
    BOOL CreateCustomToolbar(COXCoolToolBar* pToolbar, UINT nID);
    void AddToolbarRecord(CMFCToolBar* pToolbar, BOOL bCustomMade);
    HTREEITEM AddToolbarItem(CMFCToolBar* pToolbar);
    CMFCToolBar* GetSelectedToolbar() const;
    BOOL IsCustomMade(CMFCToolBar* pToolbar) const;
    COXCustomizeCommandsPage* GetCommandsPage() const;
    void UpdateButtons();
    // Reads the controls for a look handler: FALSE before initialisation or when validation fails.
    BOOL ReadControls();
    // A look handler: reads the controls, then applies the look to every managed toolbar.
    void ApplyToAll(void (COXCustomizeToolbarsPage::*apply)(CMFCToolBar*));

    void OnCheckShowTooltips();
    void OnCheckCoolLook();
    void OnCheckShowGripper();
    void OnChangeBorderSize();
    void OnOptionChanged(NMHDR* pNotifyStruct, LRESULT* pResult);
    void OnSelChanged(NMHDR* pNotifyStruct, LRESULT* pResult);
    void OnBeginLabelEdit(NMHDR* pNotifyStruct, LRESULT* pResult);
    void OnEndLabelEdit(NMHDR* pNotifyStruct, LRESULT* pResult);

    CFrameWnd* m_pFrameWnd = nullptr;
    COXOptionTreeCtrl m_treeToolbars;
    CSpinButtonCtrl m_spinBorderSize;
    COXSeparator m_sepToolbars;
    COXSeparator m_sepOptions;
    COXSeparator m_sepOperations;
    BOOL m_bCoolLook = TRUE;
    BOOL m_bShowTooltips = TRUE;
    DWORD m_nBorderSize = 0;
    BOOL m_bShowGripper = TRUE;
    // The toolbars the page made, owned by it, those that Delete destroyed included (New reuses them).
    CArray<COXCoolToolBar*, COXCoolToolBar*> m_arrCreatedToolbars;
    // The frame's toolbars in its order, then the user's in order of creation.
    CArray<OXCUSTOMIZE_TOOLBARINFO, OXCUSTOMIZE_TOOLBARINFO&> m_arrToolbars;
    // Toolbar to its index in m_arrToolbars.
    CMap<CMFCToolBar*, CMFCToolBar*, int, int> m_mapToolbars{10};

    DECLARE_MESSAGE_MAP()
};
