// The customize page of the splash window shown when the application starts: whether it shows, its
// image (a bitmap resource or a file), for how long, whether a press hides it, and which colour of the
// image is transparent. The values take effect through the profile at the next set-up.
#pragma once

#include "guilib/controls/OXBMPFilePickerCombo.h"
#include "guilib/controls/OXColorPickerButton.h"
#include "guilib/controls/OXSeparator.h"
#include "guilib/controls/OXSplashWnd.h"
#include "guilib/customize/OXCustomizePage.h"
#include "platform/framework/controls/SpinButtonCtrl.h"

class COXCustomizeSplashWindowPage : public COXCustomizePage {
    DECLARE_DYNAMIC(COXCustomizeSplashWindowPage)

public:
    COXCustomizeSplashWindowPage();
    ~COXCustomizeSplashWindowPage() override;

    BOOL OnManagerClose(BOOL bIsOk) override;
    BOOL ApplySettings() override;
    BOOL CanApply() override { return FALSE; }
    CString GetPageTitle() override;
    UINT GetImageId() override;
    CString GetPageTooltip() override;
    void InitControls() override;
    // A delay of -1 shows the splash window until it is dismissed; the colour 0xFF000000 takes the colour
    // at the point, 0xFFFFFFFF none. With display on, the splash window shows at once.
    virtual BOOL SetupPage(UINT nBitmapResourceID, BOOL bDisplaySplashWindow = TRUE, int nShowDelay = -1,
                           BOOL bInterruptable = TRUE, COLORREF clrTransparent = OXSPLASH_KEY_FROM_POINT,
                           LPPOINT pPoint = nullptr, BYTE nColorTolerance = 0, LPCTSTR lpszProfileName = nullptr);
    COXSplashWnd* GetSplashWnd() { return &m_splashWnd; }
    COXSplashWnd* GetPreviewSplashWnd() { return &m_splashWndPreview; }

    void DoDataExchange(CDataExchange* pDX) override;

    // The colour handed to a splash window: the chosen colour, none (0xFFFFFFFF) or the colour at the point
    // (0xFF000000).
    COLORREF GetTransparentColorForSplash() const;

    BOOL m_bDisplaySplashWindow = TRUE;
    BOOL m_bInterruptable = FALSE;
    int m_nShowDelay = 0;
    BOOL m_bShowInfinitely = TRUE;
    int m_nDisplayTimeChoice = 1;
    int m_nTransparentColorType = 2;
    COLORREF m_clrTransparent;
    int m_nPointX = 0;
    int m_nPointY = 0;
    UINT m_nColorTolerance = 0;
    UINT m_nDefaultImageResourceID = 0;
    BOOL m_bUseDefaultImage = TRUE;
    int m_nImageSourceChoice = 0;
    CString m_sImageFileName;

protected:
    // Loads and shows a splash window from the page's values; FALSE when the image does not load.
    BOOL ShowSplashWindow(COXSplashWnd& splash, BOOL bPreview);
    void UpdateEnabledStates();

    void OnChoice();
    void OnPreview();
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);

    COXSplashWnd m_splashWnd;
    COXSplashWnd m_splashWndPreview;
    CSpinButtonCtrl m_spinShowDelay;
    CSpinButtonCtrl m_spinTolerance;
    COXBMPFilePickerCombo m_comboImageFile;
    COXSeparator m_sepDisplaySettings;
    COXSeparator m_sepTransparentColor;
    COXSeparator m_sepImageFile;
    COXSeparator m_sepDefaultImage;
    COXColorPickerButton m_btnColor;

    DECLARE_MESSAGE_MAP()
};
