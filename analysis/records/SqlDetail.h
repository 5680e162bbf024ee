// One statement run (the top-20 SQL set and the SQL report compilers).
#pragma once

#include <cstdint>

#include "platform/base/Object.h"
#include "platform/base/String.h"

class CSqlDetail : public CObject {
public:
    CString m_csFile = "";
    int32_t m_nStartRow = 0;
    int32_t m_nEndRow = 0;
    int32_t m_nStartBindRow = 0;
    CString m_csDate = "";
    CString m_csStartTime = "";
    CString m_csEndTime = "";
    CString m_csTimeText = "";
    CString m_csElapsedMs = "";
    CString m_csStatement = "";
};
