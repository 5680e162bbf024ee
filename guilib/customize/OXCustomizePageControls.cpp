#include "guilib/customize/OXCustomizePageControls.h"

#include "guilib/skins/MFCToolBar.h"
#include "platform/user/Toolbar.h"

void OXInitPageFilePicker(COXBMPFilePickerCombo& combo, LPCTSTR historyName) {
    combo.SetAutoPersistent(historyName);
    for (int button = 4; button <= 9; ++button)
        combo.ShowButton(button, FALSE);
    if (CMFCToolBar* bar = combo.GetToolbar(); bar && bar->m_hWnd)
        bar->GetToolBarCtrl().ModifyStyle(0, TBSTYLE_FLAT);
    combo.RefreshToolbar();
}

void OXInitPageColorPicker(COXColorPickerButton& button) {
    button.EnableToolTip(TRUE);
    button.GetColorPickerCtrl()->SetDefaultValue(::GetSysColor(COLOR_BTNFACE));
}
