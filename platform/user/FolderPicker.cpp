#include "platform/user/FolderPicker.h"

BOOL BrowseForFolder(HWND, LPCTSTR, LPCTSTR, CString&) {
    return FALSE;
}
