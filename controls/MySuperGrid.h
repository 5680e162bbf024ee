// The statistics dialog's grid of loaded QBroker logs: one check-box row per log. Ticking a row reads that
// log and collects the request types, client machines and QServer ids it names into the application's
// statistics maps, then tells the owner dialog. CComboInListView is its drop-down cell editor.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "analysis/AnalysisHost.h"
#include "controls/SuperGridCtrl.h"
#include "core/PrivateMessages.h"

// What the lines of a QBroker log name, one line at a time.
struct BrokerLogFinds {
    CString stamp;    // the current stamp ("QBROKER | " lines)
    CString request;  // the current request (": ON REQUEST -" lines)
    CString transaction;
    CString clientId;
    CString serverId;
};
// Reads one line into `finds` (its markers matched upper-cased, its ids taken as written); the found
// transaction, client id or server id is set, the others are emptied.
void ScanBrokerLogLine(const CString& line, BrokerLogFinds& finds);

class CMySuperGrid : public CSuperGridCtrl {
public:
    CMySuperGrid();
    ~CMySuperGrid() override;

    int AddBrokerLogRows();
    void CheckAllRoots(bool bCheck);
    int MarkCheckedLogs();
    bool LoadCheckedLog(int nRow);
    bool ReadBrokerLog(LPCTSTR folder, LPCTSTR name, LPCTSTR type);
    class CComboInListView* ShowComboInCell(int nItem, int nCol, const std::vector<CString>& choices);

    void SetOwnerDialog(HWND hwnd) { m_hOwnerDlg = hwnd; }
    const CString& GetStatusText() const { return m_csStatus; }
    // The wait dialog a log read shows (none when unset).
    std::function<std::unique_ptr<IAnalysisWait>(BOOL*, int32_t)> m_openWait;

    CItemInfo* CloneItemInfo(CTreeItem* pItem) override;
    int GetItemImage(CTreeItem* pItem) override;
    void OnUpdateItemText(CTreeItem* pItem, int nColumn, LPCTSTR text) override;
    void EditCell(int nItem, int nCol) override;
    HIMAGELIST CreateDragImage(int nItem) override;
    void OnEditKey(int nItem, int nCol) override;
    BOOL CanClickItem(int nItem, int nCol) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnItemChanged(NMHDR* nm, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    HWND m_hOwnerDlg = nullptr;
    bool m_bBusy = false;
    CString m_csStatus;
    bool m_bDrag = false;
    HIMAGELIST m_hImages = nullptr;
};

// The drop-down list over a cell: reports the chosen entry to the list's parent as LVN_ENDLABELEDIT when
// it loses the focus, then closes and deletes itself.
class CComboInListView : public CWnd {
public:
    CComboInListView(int iItem, int iSubItem, const std::vector<CString>& choices);
    BOOL CreateOver(CWnd* list, const RECT& rect, UINT id);
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override { delete this; }

private:
    int m_iItem, m_iSubItem;
    std::vector<CString> m_choices;
    bool m_bVK_ESCAPE = false;
    bool m_bEnded = false;
};
