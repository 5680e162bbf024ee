// One transaction run (the top-20 transaction set).
#pragma once

#include <cstdint>

#include "platform/base/Object.h"
#include "platform/base/String.h"

class CXactDetail : public CObject {
public:
    CString m_csFile = "";
    int32_t m_nStartRow = 0;
    int32_t m_nEndRow = 0;
    CString m_csDate = "";
    CString m_csStartTime = "";
    CString m_csEndTime = "";
    CString m_csElapsed = "";
    CString m_csElapsedMs = "";
    CString m_csTransaction = "";
    CString m_csClientType = "";
    CString m_csClientMachine = "";
};
