// One SQL statement of the transaction SQL pass; keyed by the statement.
#pragma once

#include <cstdint>

#include "platform/base/Object.h"
#include "platform/base/String.h"

class CSqlXact : public CObject {
public:
    CString m_csStatement = "";
    int32_t m_nTotalMs = 0;
    int32_t m_nMinMs = 0;
    int32_t m_nMaxMs = 0;
    int32_t m_nCount = 0;
};
