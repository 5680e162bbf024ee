// One client machine ticked for statistics.
#pragma once

#include <cstdint>

#include "platform/base/Object.h"
#include "platform/base/String.h"

class CMObj : public CObject {
public:
    CString m_csText = "";
};
