// One loaded log (or one ticked server id): name, folder, log type, first time stamp "YYYYMMDDHHMMSS",
// its tree item, the list of server logs it names ("name>stamp|" entries), their count and the
// statistics chosen flag.
#pragma once

#include <cstdint>

#include "platform/base/Object.h"
#include "platform/base/String.h"

class HObj : public CObject {
public:
    CString m_csName = "";
    CString m_csFolder = "";
    CString m_csLogType = "";
    CString m_csTimeStamp = "";
    UINT_PTR m_hRootItem = 0;
    CString m_csServerList = "";
    int32_t m_nServerCount = 0;
    BYTE m_bChosen = 0;
};
