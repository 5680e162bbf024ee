// CMyPadView: the output pad, a bar at the bottom of the main frame holding a tab view container with the
// fixed history page "Output" and one named text page (CMyEditView) per report view.
#pragma once

#include <memory>

#include "platform/base/Collections.h"
#include "guilib/frame/OXHistoryCtrl.h"
#include "guilib/frame/OXSizeCtrlBar.h"
#include "guilib/frame/OXTabViewPage.h"

class COXTabViewContainer;

// One named page of the pad: its name, the number of pages the map held when it was added, and a spare 0.
struct PadViewEntry {
    CString m_csName;
    int m_nIndex = 0;
    int m_nReserved = 0;
};

// Page name -> record; owns its records.
class CMapStrToPadView : public CMap<CString, const char*, PadViewEntry*, PadViewEntry*> {
public:
    ~CMapStrToPadView() override { RemoveAllEntries(); }
    void RemoveAllEntries();
};

class CMyPadView : public COXSizeControlBar {
    DECLARE_DYNAMIC(CMyPadView)
public:
    CMyPadView();
    ~CMyPadView() override;

    // Creates the bar as a child of `parent` with the window text `title` and the bar id `id`.
    BOOL Create(CWnd* parent, LPCTSTR title, UINT id);

    // The index of a new page named `name`; 0 when a page of that name exists, -1 when it cannot be made.
    int AddPad(LPCTSTR name);
    // Whether a page named `name` exists; `entry`, when given, gets its record.
    BOOL FindPad(LPCTSTR name, PadViewEntry** entry = nullptr) const;
    // Each of these finds the named page and makes it active; FALSE when there is no such page.
    BOOL RemovePad(LPCTSTR name);
    BOOL ClearPad(LPCTSTR name);
    BOOL ActivatePad(LPCTSTR name);
    BOOL SetPadText(LPCTSTR name, LPCTSTR text);

    CString GetActivePadText() const;
    CString GetActivePadSelection() const;
    CString GetActivePadName() const;

    // The container's state ("TabButtonsAreaWidth") under a profile section such as "OutputWindow".
    BOOL SaveState(LPCTSTR section);
    BOOL LoadState(LPCTSTR section);

    COXTabViewContainer* GetContainer() const { return m_pContainer.get(); }
    COXHistoryCtrl& GetOutputPage() { return m_wndOutput; }

protected:
    std::unique_ptr<COXTabViewContainer> m_pContainer;
    COXTabViewPage<COXHistoryCtrl> m_wndOutput;  // the "Output" page
    COLORREF m_clrOutputText = 0;  // the text colour of the page's entries
    CMapStrToPadView m_mapPads;

    // Makes the page of that title active; its index, or -1.
    int ActivatePage(LPCTSTR name);

    int OnCreate(LPCREATESTRUCT cs);
    void OnSize(UINT type, int cx, int cy);
    BOOL OnEraseBkgnd(HDC dc);
    DECLARE_MESSAGE_MAP()
};
