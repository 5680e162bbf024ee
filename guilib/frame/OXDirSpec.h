// A directory given by drive and folder, kept so that archives holding one can be read.
#pragma once

#include "platform/base/Archive.h"
#include "platform/base/Object.h"
#include "platform/base/String.h"

class COXDirSpec : public CObject {
    DECLARE_SERIAL(COXDirSpec)
public:
    COXDirSpec() = default;
    ~COXDirSpec() override = default;

    // The drive, then the directory, each as an archive string.
    void Serialize(CArchive& ar) override;

    CString m_sDrive;
    CString m_sDirectory;
};
