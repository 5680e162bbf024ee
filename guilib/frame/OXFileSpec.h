// A file given by its name, time, size and attribute byte, kept so that archives holding one can be read.
#pragma once

#include "platform/base/Archive.h"
#include "platform/base/Object.h"
#include "platform/base/String.h"
#include "platform/base/Time.h"

class COXFileSpec : public CObject {
    DECLARE_SERIAL(COXFileSpec)
public:
    COXFileSpec() = default;
    ~COXFileSpec() override = default;

    // The name (archive string), the time (64-bit), the size (32-bit), the attribute (8-bit).
    void Serialize(CArchive& ar) override;

    CString m_sFileName;
    CTime m_time;
    int32_t m_nLength = 0;
    BYTE m_nAttribute = 0;
};
