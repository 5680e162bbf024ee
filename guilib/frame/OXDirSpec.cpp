#include "guilib/frame/OXDirSpec.h"

IMPLEMENT_SERIAL(COXDirSpec, CObject, 0)

void COXDirSpec::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_sDrive << m_sDirectory;
        return;
    }
    // A damaged record leaves the held folder record as it was.
    CString drive, directory;
    ar >> drive >> directory;
    m_sDrive = drive;
    m_sDirectory = directory;
}
