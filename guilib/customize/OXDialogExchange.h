// Moving a dialog's values between its fields and its controls, for the customize dialogs: texts,
// check boxes, radio groups, numbers with a range (the user is told and the control gets the focus
// back when a number is wrong) and list selections.
#pragma once

#include <initializer_list>

#include "platform/framework/window/Dialog.h"

// Each moves one value: into the control when `dx` loads, out of it when it saves. A FALSE result
// means the control holds an invalid value; the user has been told and the control has the focus.
void OXExchangeText(CDataExchange* dx, int id, CString& value);
void OXExchangeCheck(CDataExchange* dx, int id, BOOL& value);
// The index of the checked button among `ids` (-1: none).
void OXExchangeRadio(CDataExchange* dx, std::initializer_list<int> ids, int& value);
BOOL OXExchangeInt(CDataExchange* dx, int id, int& value, int minimum, int maximum);
// The selection of a combo box or a list box (-1: none).
void OXExchangeCBIndex(CDataExchange* dx, int id, int& value);
void OXExchangeLBIndex(CDataExchange* dx, int id, int& value);
