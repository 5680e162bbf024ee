// An object array that owns its elements, with one text of its own.
#pragma once

#include "platform/base/Collections.h"

class CMyDataArray : public CObArray {
public:
    CMyDataArray() = default;
    ~CMyDataArray() override;
    CMyDataArray(const CMyDataArray&) = delete;
    CMyDataArray& operator=(const CMyDataArray&) = delete;

    CString m_csText;
};
