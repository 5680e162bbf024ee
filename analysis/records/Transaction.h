// One transaction name of the top-20 transaction pass.
#pragma once

#include <cstdint>

#include "platform/base/Object.h"
#include "platform/base/String.h"

class CTransaction : public CObject {
public:
    CString m_csTransaction = "";
    CString m_csMinElapsed = "23:59:59";
    CString m_csMaxElapsed = "00:00:00";
    int32_t m_nCount = 0;
};
