// The customize page that paints the backgrounds of the application's windows with an image and a
// colour: every top-level window of the thread, or only the main frame's MDI client area; with a live
// preview of the chosen image, placement and colour.
#pragma once

#include <memory>

#include "guilib/controls/OXBMPFilePickerCombo.h"
#include "guilib/controls/OXBackgroundPainter.h"
#include "guilib/controls/OXColorPickerButton.h"
#include "guilib/controls/OXSeparator.h"
#include "guilib/customize/OXCustomizePage.h"

// Gives the MDI client window an object of its own, so that a painter can be attached to it.
class COXHelperWnd : public CWnd {
public:
    ~COXHelperWnd() override = default;
};

class COXCustomizeBackgroundPage : public COXCustomizePage {
    DECLARE_DYNAMIC(COXCustomizeBackgroundPage)

public:
    COXCustomizeBackgroundPage();
    ~COXCustomizeBackgroundPage() override;

    BOOL OnManagerClose(BOOL bIsOk) override;
    BOOL ApplySettings() override;
    CString GetPageTitle() override;
    UINT GetImageId() override;
    CString GetPageTooltip() override;
    void InitControls() override;
    // Takes the values (the section's, when one is named, over the arguments) and paints at once. A null
    // image leaves the default image empty.
    virtual BOOL SetupPage(BOOL bPaintBackground = TRUE, BOOL bOnlyClientArea = TRUE, const COXDIB* pDIB = nullptr,
                           PaintType paintType = Tile, COLORREF clrBk = ::GetSysColor(COLOR_WINDOW),
                           LPCTSTR lpszProfileName = nullptr);
    // The default image from a bitmap resource (none for id 0); FALSE, changing nothing, when it does not load.
    BOOL SetupPage(BOOL bPaintBackground, BOOL bOnlyClientArea, UINT nBitmapResourceID, PaintType paintType,
                   COLORREF clrBk, LPCTSTR lpszProfileName = nullptr);
    // The default image from a bitmap file (none for an empty name), which also becomes the file name;
    // FALSE, changing nothing, when it cannot be read.
    BOOL SetupPageFromFile(BOOL bPaintBackground, BOOL bOnlyClientArea, LPCTSTR lpszFileName, PaintType paintType,
                           COLORREF clrBk, LPCTSTR lpszProfileName = nullptr);

    COXBackgroundPainterOrganizer* GetBackgroundPainterOrganizer() { return &m_backgroundOrganizer; }
    COXHelperWnd* GetMDIClientWrapper() const { return m_pMDIClientWrapper.get(); }
    CWnd* GetPreviewWnd() { return m_preview.m_hWnd ? &m_preview : nullptr; }
    const COXDIB& GetDefaultImage() const { return m_dibDefault; }

    void DoDataExchange(CDataExchange* pDX) override;

    BOOL m_bPaintBackground = TRUE;
    BOOL m_bOnlyClientArea = TRUE;
    int m_nPaintType = -1;
    CString m_sImageFileName;
    int m_nImageSourceChoice = 0;
    BOOL m_bUseDefaultImage = TRUE;
    COLORREF m_clrBk;

protected:
    // Paints the application's windows from the page's values.
    void ApplyToApplication();
    void ReadProfile();
    void ReplaceMDIClientWrapper();
    HWND GetMDIClient() const;
    void UpdateEnabledStates();
    // Reads the controls for a preview change; FALSE before initialisation.
    BOOL ReadForPreview();
    void SetPreviewImageFile();

    void OnPaintBackground();
    void OnPaintType();
    LRESULT OnColorPicked(WPARAM wParam, LPARAM lParam);
    void OnFileEditChange();
    void OnFileSelChange();
    void OnDefaultImage();
    void OnImageFile();
    LRESULT OnPaletteChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnQueryNewPalette(WPARAM wParam, LPARAM lParam);
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);

    COXDIB m_dibDefault;
    COXBackgroundPainterOrganizer m_backgroundOrganizer;
    CWnd m_preview;
    std::unique_ptr<COXHelperWnd> m_pMDIClientWrapper;
    COXSeparator m_sepPreview;
    COXSeparator m_sepPaintType;
    COXBMPFilePickerCombo m_comboImageFile;
    COXColorPickerButton m_btnColor;

    DECLARE_MESSAGE_MAP()
};
