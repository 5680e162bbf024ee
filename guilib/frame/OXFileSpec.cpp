#include "guilib/frame/OXFileSpec.h"

IMPLEMENT_SERIAL(COXFileSpec, CObject, 0)

void COXFileSpec::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_sFileName << m_time << m_nLength << m_nAttribute;
        return;
    }
    CString name;
    CTime time;
    int32_t length = 0;
    BYTE attribute = 0;
    ar >> name >> time >> length >> attribute;
    m_sFileName = name;
    m_time = time;
    m_nLength = length;
    m_nAttribute = attribute;
}
