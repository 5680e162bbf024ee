// The folder picker: a modal dialog in which the user chooses a folder (folders only).
#pragma once

#include "platform/user/User.h"

// Shows the picker owned by `owner` with the title, starting at `start` (the home folder when it is
// empty or not a folder). TRUE with the chosen folder in `chosen`; FALSE when the user cancels.
BOOL BrowseForFolder(HWND owner, LPCTSTR title, LPCTSTR start, CString& chosen);
