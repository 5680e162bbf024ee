// One client machine and client type; keyed "%s|%s" of machine and type.
#pragma once

#include <cstdint>

#include "platform/base/Object.h"
#include "platform/base/String.h"

class CClient : public CObject {
public:
    CString m_csMachine = "";
    CString m_csType = "";
    CString m_csMinElapsed = "23:59:59";
    CString m_csMaxElapsed = "00:00:00";
    int32_t m_nCount = 0;
};
