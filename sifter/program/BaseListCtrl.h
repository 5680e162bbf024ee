// CBaseListCtrl: the list control of the program, able to keep its column widths in the profile.
#pragma once

#include "platform/framework/controls/ListCtrl.h"

class CBaseListCtrl : public CListCtrl {
    DECLARE_DYNAMIC(CBaseListCtrl)
public:
    CBaseListCtrl() = default;

    // Where the column widths are saved when the window goes; with either empty nothing is saved.
    CString m_sRegistryKey;
    CString m_sRegistryValue;

protected:
    LRESULT OnDestroyList(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
};
