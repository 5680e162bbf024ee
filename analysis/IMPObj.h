// One list filled by an importer: its list key and the file read.
#pragma once

#include <cstdint>

#include "platform/base/Object.h"
#include "platform/base/String.h"

class IMPObj : public CObject {
public:
    CString m_csListKey = "";
    CString m_csFile = "";
};
