// One transaction ticked for statistics, or an entry of a statistics pass's local map.
#pragma once

#include <cstdint>

#include "platform/base/Object.h"
#include "platform/base/String.h"

class TObj : public CObject {
public:
    CString m_csText = "";
    int32_t m_nValue1 = 0;
    int32_t m_nValue2 = 0;
};
