// The customize page on which the user assigns keyboard shortcuts to the commands of the application's
// menus, in the main frame's accelerator table or a document template's; and the hot-key control that
// tells its parent of focus changes and of every key pressed in it.
#pragma once

#include "guilib/controls/OXListBoxEx.h"
#include "guilib/controls/OXSeparator.h"
#include "guilib/controls/OXStatic.h"
#include "guilib/customize/OXCustomizePage.h"
#include "guilib/frame/OXShortkeysOrganizer.h"
#include "platform/base/Collections.h"
#include "platform/framework/controls/HotKeyCtrl.h"
#include "platform/framework/controls/TreeCtrl.h"

class CComboBox;
class CDocTemplate;

// After the control's own handling: NM_SETFOCUS, NM_KILLFOCUS and NM_KEYDOWN (an NMKEY with the key and
// the key message's flags) to the parent.
class COXInteractiveHotKeyCtrl : public CHotKeyCtrl {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class COXCustomizeShortkeysPage : public COXCustomizePage {
    DECLARE_DYNAMIC(COXCustomizeShortkeysPage)

public:
    COXCustomizeShortkeysPage();
    ~COXCustomizeShortkeysPage() override;

    BOOL OnManagerClose(BOOL bIsOk) override;
    BOOL ApplySettings() override;
    CString GetPageTitle() override;
    UINT GetImageId() override;
    CString GetPageTooltip() override;
    void InitControls() override;
    // Collects the commands and their toolbar images, attaches the organizer to the frame and, with a
    // section, loads the saved tables from it.
    virtual BOOL SetupPage(CFrameWnd* pFrameWnd, LPCTSTR lpszProfileName = nullptr);
    virtual COXShortkeysOrganizer* GetShortkeysOrganizer() { return &m_shortkeysOrganizer; }
    // A key bound in any table goes on to the windows above the page, past the page's own handling.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void DoDataExchange(CDataExchange* pDX) override;

    // The HOTKEYF_ modifiers as accelerator flags (always FVIRTKEY).
    static BYTE HotKeyToAccelFlags(WORD modifiers);

    const CString& GetConflictText() const { return m_sConflict; }
    const CString& GetDescriptionText() const { return m_sDescription; }
    BOOL IsPageDisabled() const { return m_bPageDisabled; }
    CTreeCtrl& GetCommandTree() { return m_treeCommands; }
    // The image of a command in the tree's image list; -1 for none, FALSE when it is no command.
    BOOL GetCommandImage(UINT nCommandID, int& nImage) const { return m_mapCommands.Lookup(nCommandID, nImage); }

    int m_nAccelTableIndex = -1;
    int m_nShortkeyIndex = -1;

protected:
    BOOL IsCommand(UINT id) const;
    void CollectMenuCommands(HMENU menu);
    void WalkMenu(HMENU menu, HTREEITEM parent);
    HTREEITEM FindChild(HTREEITEM parent, const CString& text) const;
    CMultiDocTemplate* GetChosenTemplate() const;
    // The selected command, 0 when none (or a group) is selected.
    WORD GetSelectedCommand() const;
    void RefreshKeyList();
    void UpdateEnabledStates();
    void ReadControls();

    void OnTableChange();
    void OnTreeSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnHotKeyDown(NMHDR* pNMHDR, LRESULT* pResult);
    void OnKeySelChange();
    void OnAssign();
    void OnRemove();
    void OnRemoveAll();
    void OnResetAll();

    CTreeCtrl m_treeCommands;
    HIMAGELIST m_hImageList = nullptr;
    CComboBox* m_pComboTables = nullptr;
    COXListBoxEx m_listKeys;
    COXInteractiveHotKeyCtrl m_hotKey;
    COXStatic m_staticDescription;
    COXSeparator m_sepCommands;
    COXSeparator m_sepDescription;
    COXSeparator m_sepShortkeys;
    COXSeparator m_sepConflict;
    CString m_sConflict;
    CString m_sDescription;
    CMap<UINT, UINT, int, int> m_mapCommands;
    COXShortkeysOrganizer m_shortkeysOrganizer;
    BOOL m_bPageDisabled = FALSE;

    DECLARE_MESSAGE_MAP()
};
