// COXButtonAppearanceDlg: the modal "Button Appearance" dialog in which the user edits how one tool bar
// button, menu-bar item or menu item looks: its text, image, image-only or image-and-text display,
// drop-down style, accelerator text, and a custom button's size and docking states. The caller fills
// the fields and switches, runs it and applies what it reads back after IDOK.
#pragma once

#include "guilib/controls/OXImageListBox.h"
#include "guilib/controls/OXSeparator.h"
#include "platform/base/Collections.h"
#include "platform/framework/controls/ComboBox.h"
#include "platform/framework/controls/SpinButtonCtrl.h"
#include "platform/framework/window/Dialog.h"

class COXButtonAppearanceDlg : public CDialog {
public:
    explicit COXButtonAppearanceDlg(CWnd* pParent = nullptr);

    COXSeparator m_sepText;
    COXSeparator m_sepImages;
    COXSeparator m_sepCustomButtonSizes;
    COXSeparator m_sepDisplayCustomButton;
    COXImageListBox m_listImages;
    CString m_sText;
    int m_nImageIndex = -1;
    // 0 "Image Only", 1 "Image and Text", -1 neither.
    int m_nDisplay = -1;
    BOOL m_bDropDown = FALSE;
    CComboBox m_comboAccelerator;
    int m_nAcceleratorIndex = 0;
    BOOL m_bHorzDocked = FALSE;
    BOOL m_bVertDocked = FALSE;
    BOOL m_bFloating = FALSE;
    int m_nHeight = 0;
    int m_nWidth = 0;
    CSpinButtonCtrl m_spinHeight;
    CSpinButtonCtrl m_spinWidth;
    // "None" first; the caller appends the key texts.
    CStringArray m_arrAccelerators;
    // The images of the list box (not owned).
    HIMAGELIST m_hImageList = nullptr;
    BOOL m_bTextOnly = FALSE;
    BOOL m_bNoDropDown = FALSE;
    BOOL m_bNoAccelerator = TRUE;
    BOOL m_bCustomButton = FALSE;

    // The chosen accelerator text; empty for "None".
    CString GetAcceleratorText() const;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    // Enables the controls by the switches and the display choice; nothing changes when the controls
    // hold an invalid value.
    void UpdateEnabledState();

protected:
    void OnDisplayChanged();
    DECLARE_MESSAGE_MAP()
};
