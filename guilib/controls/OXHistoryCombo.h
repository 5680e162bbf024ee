// An editable combo box that keeps a short most-recently-used list of the texts entered into it and can
// keep that list in the registry by itself.
#pragma once

#include "platform/base/Registry.h"
#include "platform/framework/controls/ComboBox.h"

class COXHistoryCombo : public CComboBox {
    DECLARE_DYNAMIC(COXHistoryCombo)
public:
    COXHistoryCombo(int toolbarPosition = 12, int flush = 0, int toolbarId = 0);
    ~COXHistoryCombo() override;

    virtual BOOL AddItem(LPCTSTR text = nullptr);
    virtual BOOL DeleteItem(int index = -1);
    virtual BOOL CanAdd() const;
    virtual BOOL CanDelete() const;
    virtual BOOL CanBrowse() const { return TRUE; }

    UINT GetMaxHistoryCount() const { return m_nMaxHistoryCount; }
    int GetToolbarPosition() const { return m_nToolbarPosition; }
    void ShowButton(int position, BOOL show);
    BOOL IsButtonShown(int position) const;

    BOOL SetAutoPersistent(LPCTSTR valueName, LPCTSTR company = "", LPCTSTR application = "");
    BOOL IsAutoPersistent() const { return m_bAutoPersistent; }
    BOOL SaveContents(LPCTSTR valueName, LPCTSTR company, LPCTSTR application, HKEY root = HKEY_CURRENT_USER,
                      BOOL addCurrent = TRUE);
    BOOL RestoreContents(LPCTSTR valueName, LPCTSTR company, LPCTSTR application, HKEY root = HKEY_CURRENT_USER,
                         BOOL selectFirst = TRUE);
    CString GetJoinedItems() const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
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
};
