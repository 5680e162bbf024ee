// The customize page that switches the tabbed MDI on and off and edits its tab control's style (an
// option tree of orientation, appearance, rows and display flags) and its distance from the frame
// borders. It owns the application's tab client window; a background painter of the MDI client moves
// between the tab client and a plain wrapper of the MDI client as the tabs come and go.
#pragma once

#include <memory>

#include "guilib/controls/OXOptionTreeCtrl.h"
#include "guilib/customize/OXCustomizeBackgroundPage.h"
#include "guilib/customize/OXCustomizePage.h"
#include "guilib/frame/OXTabClientWnd.h"
#include "platform/framework/controls/SpinButtonCtrl.h"

class COXCustomizeTabbedMDIPage : public COXCustomizePage {
    DECLARE_DYNAMIC(COXCustomizeTabbedMDIPage)

public:
    COXCustomizeTabbedMDIPage();
    ~COXCustomizeTabbedMDIPage() override;

    BOOL OnManagerClose(BOOL bIsOk) override;
    BOOL ApplySettings() override;
    CString GetPageTitle() override;
    UINT GetImageId() override;
    CString GetPageTooltip() override;
    void InitControls() override;
    // With bAttach, attaches the tab client to the main frame with the style and offset; then the
    // section's saved state, when one is named, replaces them. FALSE when the main window is no MDI
    // frame or attaching fails.
    virtual BOOL SetupPage(DWORD dwTabCtrlStyle = TCS_HOTTRACK, DWORD dwOffset = 1, LPCTSTR lpszProfileName = nullptr,
                           BOOL bAttach = TRUE);
    virtual COXTabClientWnd* GetTabClientWnd() { return &m_MTIClientWnd; }

    // The tab style the option tree stands for (the tab control's while the page has no window).
    DWORD GetTabStyleFromTree() const;
    // Checks the tree's options that a tab style stands for.
    void CheckTreeFromStyle(DWORD dwStyle);
    COXOptionTreeCtrl& GetOptionTree() { return m_treeTabSettings; }
    COXHelperWnd* GetMDIClientWrapper() const { return m_pMDIClientWrapper.get(); }

    void DoDataExchange(CDataExchange* pDX) override;

    BOOL m_bSupportTabbedMDI = FALSE;
    DWORD m_dwOffset = 1;

protected:
    // The check box, offset and style from the tab client: attached or not, its offset (1 when
    // detached) and its tab control's style (TCS_HOTTRACK when detached).
    void ReadFromTabClient();
    // The values from the tab client, and the tree built anew from them.
    void FillTree();
    void UpdateEnabledStates();
    // Takes the painter off the window into `painter` (its settings); FALSE when none is attached.
    struct PainterSettings {
        COXDIB dib;
        PaintType paintType = Tile;
        COLORREF clrBk = CLR_DEFAULT;
        HWND hOriginWnd = nullptr;
    };
    BOOL TakePainter(COXBackgroundPainterOrganizer* organizer, HWND hWnd, PainterSettings& painter);
    // Attaches the tab client with the style, puts the offset in force and lays the frame out again.
    BOOL AttachTabClient(CMDIFrameWnd* frame, DWORD dwStyle, DWORD dwOffset);
    // A new wrapper object for the plain MDI client, so that a painter can sit on it.
    void WrapMDIClient(HWND hClient);

    void OnSupportTabbedMDI();

    COXOptionTreeCtrl m_treeTabSettings;
    CSpinButtonCtrl m_spinOffset;
    COXTabClientWnd m_MTIClientWnd;
    DWORD m_dwTabCtrlStyle = TCS_HOTTRACK;
    // The group pictures' indexes in the tree's image list, -1 until loaded.
    int m_nImageRoot = -1;
    int m_nImageOrientation = -1;
    int m_nImageAppearance = -1;
    int m_nImageDisplay = -1;
    int m_nImagePositioning = -1;
    std::unique_ptr<COXHelperWnd> m_pMDIClientWrapper;

    DECLARE_MESSAGE_MAP()
};
