// CSifterDlg: Sifter's window. The user names a folder, masks, size limits and a text, starts and stops
// the search, and opens the hits listed in the result list in a viewer. The search runs on this thread;
// its progress callback pumps the messages so that the window stays live and Cancel can stop it.
#pragma once

#include "platform/framework/window/Dialog.h"
#include "platform/user/ImageList.h"
#include "res/sifter/resource.h"
#include "sifter/FileFinder.h"
#include "sifter/program/MultiColumnCtrl.h"

class CSifterApp;

#define SIFTER_LIST_REPLACE 0
#define SIFTER_LIST_ADD 1
#define SIFTER_LIST_REMOVE 2

class CSifterDlg : public CDialog {
public:
    enum { IDD = IDD_SIFTER_DIALOG };
    static constexpr int kNameColumn = 0, kFolderColumn = 1, kSizeColumn = 2, kModifiedColumn = 3,
                         kTextColumn = 4;

    // Reads the saved settings; `app` holds the command line's request.
    explicit CSifterDlg(CSifterApp* app, CWnd* parent = nullptr);
    ~CSifterDlg() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override { OnSearch(); }
    void OnCancel() override;

    // Rows of the result list.
    void AddRow(LPCTSTR path);
    CString GetRowPath(int row) const;
    // The first row whose folder and name are the path, compared exactly; -1 when none.
    int FindRow(LPCTSTR path) const;
    // "%d items found" without a text, else "(%d) - %s".
    void SetStatusText(int count, LPCTSTR text);
    // Puts the first line of the list file into the mask field.
    void ReadListFile(const CString& baseFolder);
    void InitColumns();
    void SaveSettings();
    // 0 unreadable (reported), 1 text, 2 binary.
    int ProbeFileType(LPCTSTR path);
    // The mask list searched for the field: each mask without a wildcard wrapped in '*'.
    static CString WrapMasks(const CString& field);

    static void FinderProgress(CFileFinder* finder, DWORD code, void* dialog);

    BOOL IsSearching() const { return m_bSearching; }
    CMultiColumnCtrl& GetResultList() { return m_lcResults; }
    CFileFinder& GetFinder() { return m_finder; }

    // Bound to the controls.
    CString m_sBaseFolder;
    CString m_sFileMask;
    CString m_sFindText;
    BOOL m_bSubFolders = TRUE;
    BOOL m_bSizeFilter = FALSE;
    int m_nMinSize = 0;  // KB
    int m_nMaxSize = 0;
    int m_nListMode = SIFTER_LIST_REPLACE;
    BOOL m_bUseDefaultViewer = FALSE;
    BOOL m_bHiddenFiles = TRUE;

protected:
    int OnCreate(LPCREATESTRUCT cs);
    void OnSearch();
    void OnClose();
    void OnSizeFilterClicked();
    void OnBrowse();
    void OnDblClkList(NMHDR* hdr, LRESULT* result);
    LRESULT OnContextMenu(WPARAM wParam, LPARAM lParam);
    void OnBinaryViewer();
    void OnTextViewer();
    void OnDefaultViewer();
    LRESULT OnDrawItem(WPARAM id, LPARAM item);
    void OnSize(UINT type, int cx, int cy);
    LRESULT OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam);
    void OnPaint();
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    // The selection mark row when it names a row, else -1.
    int SelectedRow() const;
    void LaunchViewer(LPCTSTR program, int row, const CString& text);

    CSifterApp* m_pApp;
    CMultiColumnCtrl m_lcResults;
    HICON m_hIcon = nullptr;
    HIMAGELIST m_hImageList = nullptr;
    CString m_sMatchedText;
    CFileFinder m_finder;
    BOOL m_bSearching = FALSE;
    BOOL m_bSaveSettings = TRUE;
    // A close asked for while searching: done when the search has returned.
    BOOL m_bCloseAfterSearch = FALSE;
    // A quit message taken by the pump while searching: posted again when the search has returned.
    BOOL m_bQuitSeen = FALSE;
    int m_nQuitCode = 0;
    BOOL m_bMinTrackSet = FALSE;
    POINT m_ptMinTrack{0, 0};
};
