// CColorDialog: the colour dialog over CHOOSECOLOR, with the framework's custom colours shared by every
// colour dialog of the process.
#pragma once

#include "platform/framework/window/Dialog.h"
#include "platform/user/ColorDialog.h"

class CColorDialog : public CDialog {
    DECLARE_DYNAMIC(CColorDialog)
public:
    explicit CColorDialog(COLORREF initial = 0, DWORD flags = 0, CWnd* parent = nullptr);

    // IDOK or IDCANCEL.
    INT_PTR DoModal() override;
    COLORREF GetColor() const { return m_cc.rgbResult; }
    void SetCurrentColor(COLORREF color) { m_cc.rgbResult = color; m_cc.Flags |= CC_RGBINIT; }
    static COLORREF* GetSavedCustomColors();

    CHOOSECOLOR m_cc{};
};
