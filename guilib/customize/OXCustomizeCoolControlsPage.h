// The customize page that turns the common controls of the application's windows into cool controls
// (flat, with hot tracking), for the control types the user switches on.
#pragma once

#include "guilib/controls/OXCoolControlOrganizer.h"
#include "guilib/controls/OXOptionTreeCtrl.h"
#include "guilib/customize/OXCustomizePage.h"
#include "platform/base/Collections.h"

class COXCustomizeCoolControlsPage;

// The organizer converts a control only when the page has its type switched on.
class COXCustomizeCoolControlOrganizer : public COXCoolControlOrganizer {
public:
    explicit COXCustomizeCoolControlOrganizer(COXCustomizeCoolControlsPage* pPage = nullptr) : m_pPage(pPage) {}
    BOOL CanConvert(HWND hWnd, LPCTSTR lpszClassName) override;

protected:
    COXCustomizeCoolControlsPage* m_pPage;
};

class COXCustomizeCoolControlsPage : public COXCustomizePage {
    DECLARE_DYNAMIC(COXCustomizeCoolControlsPage)

public:
    static constexpr int kTypeCount = 15;

    COXCustomizeCoolControlsPage();
    ~COXCustomizeCoolControlsPage() override;

    BOOL OnManagerClose(BOOL bIsOk) override;
    BOOL ApplySettings() override;
    CString GetPageTitle() override;
    UINT GetImageId() override;
    CString GetPageTooltip() override;
    void InitControls() override;
    // With conversion on, attaches the organizer to this thread; FALSE when that fails.
    virtual BOOL SetupPage(BOOL bConvertToCool = TRUE, LPCTSTR lpszProfileName = nullptr);
    // TRUE for a class that is none of the fifteen types, else whether its type is switched on.
    virtual BOOL IsTypeEnabled(HWND hWnd, LPCTSTR lpszClassName);

    COXCustomizeCoolControlOrganizer* GetCoolControlOrganizer() { return &m_organizer; }
    int GetTypeState(int nType) const;
    BOOL IsConvertToCool() const { return m_bConvertToCool; }

    void DoDataExchange(CDataExchange* pDX) override;

protected:
    void ReadTypeStates();
    void UpdateEnabledStates();
    void OnConvertToCool();
    void OnConvertAll();

    BOOL m_bConvertToCool = FALSE;
    COXOptionTreeCtrl m_treeTypes;
    COXCustomizeCoolControlOrganizer m_organizer;
    CMap<int, int, CString, LPCTSTR> m_mapTypeNames;
    CMap<int, int, int, int> m_mapTypeStates;
    // Keyed by the class name in capitals: class names compare without regard to case.
    CMap<CString, LPCTSTR, int, int> m_mapClassTypes;

    DECLARE_MESSAGE_MAP()
};
