// One row or column of a splitter window (its ideal and minimum size), kept and put back.
#pragma once

#include "platform/base/Archive.h"
#include "platform/base/Object.h"

class CSplitterWnd;

class COXSplitterColRowState : public CObject {
    DECLARE_SERIAL(COXSplitterColRowState)
public:
    COXSplitterColRowState() = default;

    // Stores which row or column and reads its sizes; FALSE without a splitter.
    BOOL ComputeProperties(CSplitterWnd* splitter, int index, BOOL isRow);
    // Writes the sizes back to that row or column; FALSE without a splitter.
    BOOL ApplyProperties(CSplitterWnd* splitter) const;
    // Is-row, index, ideal and minimum size, four 32-bit values; a schema above 1 is refused.
    void Serialize(CArchive& ar) override;

    BOOL m_bRow = TRUE;
    int m_nIndex = 0;
    int m_nIdealSize = 0;
    int m_nMinSize = 0;
    int m_nSerializeSchemaVersion = -1;
};
