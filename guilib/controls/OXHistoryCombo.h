// An editable combo box that keeps a short most-recently-used list of the texts entered into it, can
// keep that list in the registry by itself, and carries a small toolbar of its own beside it (Add,
// Delete, Browse and two reserved buttons).
#pragma once

#include "guilib/controls/OXLibraryResources.h"
#include "guilib/skins/MFCToolBar.h"
#include "platform/base/Registry.h"
#include "platform/framework/controls/ComboBox.h"

class COXHistoryCombo : public CComboBox {
    DECLARE_DYNAMIC(COXHistoryCombo)
public:
    // Toolbar positions: 1 none; 2-4 above (left, centred, right); 5-7 below; 8-10 left (top, centred,
    // bottom); 11-13 right. 0 or above 13 puts it at the parent's origin.
    COXHistoryCombo(int toolbarPosition = 12, int flush = 0, int toolbarId = IDR_OX_HISTORY_COMBO_TOOLS);
    ~COXHistoryCombo() override;

    // Creates the toolbar as a hidden child of `parent` (the combo's parent when null), owned by the
    // combo, shows the buttons asked for beside the combo and restores a persistent history.
    virtual void InitToolbar(CWnd* parent = nullptr);
    virtual BOOL AddItem(LPCTSTR text = nullptr);
    virtual BOOL DeleteItem(int index = -1);
    // Asks for a file with the browse parameters; on OK the path goes into the edit field and the parent
    // hears CBN_EDITCHANGE.
    virtual BOOL Browse();
    virtual BOOL CanAdd() const;
    virtual BOOL CanDelete() const;
    virtual BOOL CanBrowse() const { return TRUE; }

    UINT GetMaxHistoryCount() const { return m_nMaxHistoryCount; }
    int GetToolbarPosition() const { return m_nToolbarPosition; }
    CMFCToolBar* GetToolbar() const { return m_pToolbar; }
    void ShowButton(int position, BOOL show);
    BOOL IsButtonShown(int position) const;
    // Rebuilds the toolbar from its resource with the shown buttons and places it.
    void RefreshToolbar();
    // Places the toolbar at `position` beside the combo (hidden for position 1 or no buttons).
    void PositionToolbar(int position, int flush = 0);
    // For idle count 0 the toolbar's buttons take their states from the combo's handlers.
    void OnIdleUpdate(LONG idleCount);

    BOOL SetAutoPersistent(LPCTSTR valueName, LPCTSTR company = "", LPCTSTR application = "");
    BOOL IsAutoPersistent() const { return m_bAutoPersistent; }
    BOOL SaveContents(LPCTSTR valueName, LPCTSTR company, LPCTSTR application, HKEY root = HKEY_CURRENT_USER,
                      BOOL addCurrent = TRUE);
    BOOL RestoreContents(LPCTSTR valueName, LPCTSTR company, LPCTSTR application, HKEY root = HKEY_CURRENT_USER,
                         BOOL selectFirst = TRUE);
    CString GetJoinedItems() const;

    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;

protected:
    // A path chosen by Browse: it becomes the text, and the parent sees an edit change of the combo, as if
    // the path had been typed.
    void TakeBrowsedPath(const CString& path);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PreSubclassWindow() override;
    // A click on a toolbar button: Add, Delete and Browse run here, other commands go to the parent.
    void OnToolbarCommand(UINT id);
    // The tool tip of a toolbar button: its string's text after the first line end.
    BOOL OnToolTipNeedText(NMHDR* hdr);
    // The company and application a persistence call names, the application's own when empty; FALSE
    // when no company can be found.
    BOOL ResolveNames(CString& company, CString& application) const;
    CString EditText() const;

    int m_nToolbarPosition;
    int m_nFlush;
    UINT m_nMaxHistoryCount = 6;
    BOOL m_bShowButton[10] = {TRUE, TRUE, TRUE, FALSE, FALSE, FALSE, FALSE, FALSE, FALSE, FALSE};
    int m_nToolbarId;
    BOOL m_bAutoPersistent = FALSE;
    CString m_sCompany;
    CString m_sApplication;
    CString m_sValueName;
    CMFCToolBar* m_pToolbar;
    // The browse parameters.
    BOOL m_bOpenFileDialog = TRUE;
    CString m_sDefExt;
    CString m_sFileName = "*.*";
    DWORD m_dwFlags = 6;  // OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT
    CString m_sFilter = "All Files (*.*)| *.* ||";
    CWnd* m_pFileDialogParent = nullptr;
    CString m_sInitialDir;  // the current folder when the combo was made
};
