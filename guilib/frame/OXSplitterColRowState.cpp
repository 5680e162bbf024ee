#include "guilib/frame/OXSplitterColRowState.h"

#include "platform/framework/frames/SplitterWnd.h"

IMPLEMENT_SERIAL(COXSplitterColRowState, CObject, VERSIONABLE_SCHEMA | 1)

BOOL COXSplitterColRowState::ComputeProperties(CSplitterWnd* splitter, int index, BOOL isRow) {
    if (!splitter)
        return FALSE;
    m_bRow = isRow;
    m_nIndex = index;
    if (isRow)
        splitter->GetRowInfo(index, m_nIdealSize, m_nMinSize);
    else
        splitter->GetColumnInfo(index, m_nIdealSize, m_nMinSize);
    return TRUE;
}

BOOL COXSplitterColRowState::ApplyProperties(CSplitterWnd* splitter) const {
    if (!splitter)
        return FALSE;
    if (m_bRow)
        splitter->SetRowInfo(m_nIndex, m_nIdealSize, m_nMinSize);
    else
        splitter->SetColumnInfo(m_nIndex, m_nIdealSize, m_nMinSize);
    return TRUE;
}

void COXSplitterColRowState::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << (int32_t)m_bRow << (int32_t)m_nIndex << (int32_t)m_nIdealSize << (int32_t)m_nMinSize;
        return;
    }
    UINT schema = ar.GetObjectSchema();
    if (schema != (UINT)-1 && schema > 1)
        AfxThrowArchiveException(CArchiveException::badSchema);
    int32_t row, index, ideal, minimum;
    ar >> row >> index >> ideal >> minimum;
    m_nSerializeSchemaVersion = schema == (UINT)-1 ? -1 : (int)schema;
    m_bRow = row;
    m_nIndex = index;
    m_nIdealSize = ideal;
    m_nMinSize = minimum;
}
