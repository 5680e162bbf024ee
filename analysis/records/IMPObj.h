// One list filled by an importer: the file read (without its folder) and the folder it was read from.
#pragma once

#include <cstdint>

#include "platform/base/Object.h"
#include "platform/base/String.h"

class IMPObj : public CObject {
public:
    CString m_csFile = "";
    CString m_csFolder = "";
};
