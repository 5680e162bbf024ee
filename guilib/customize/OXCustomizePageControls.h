// Set-up shared by the pages that pick an image file and a colour.
#pragma once

#include "guilib/controls/OXBMPFilePickerCombo.h"
#include "guilib/controls/OXColorPickerButton.h"

// The file picker keeps its history under `historyName` and shows only its first tool buttons, flat.
void OXInitPageFilePicker(COXBMPFilePickerCombo& combo, LPCTSTR historyName);
// The colour picker shows its tooltip and offers the button face as its default colour.
void OXInitPageColorPicker(COXColorPickerButton& button);
