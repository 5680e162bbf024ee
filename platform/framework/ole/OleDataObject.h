// COleDataObject: the receiving side of a transfer, reading a drag's data source or the clipboard.
#pragma once

#include "platform/framework/ole/Ole.h"

class COleDataSource;

class COleDataObject {
public:
    COleDataObject() = default;
    ~COleDataObject() = default;

    // Reads the source of a running drag (not owned).
    void Attach(COleDataSource* source);
    // Reads what the clipboard holds now.
    BOOL AttachClipboard();
    void Release();
    bool IsAttached() const { return m_source || m_clipboard; }

    BOOL IsDataAvailable(CLIPFORMAT format, LPFORMATETC formatEtc = nullptr);
    // A copy of the data in a new block that the caller frees (GlobalFree); null when not offered.
    HGLOBAL GetGlobalData(CLIPFORMAT format, LPFORMATETC formatEtc = nullptr);

private:
    COleDataSource* m_source = nullptr;
    bool m_clipboard = false;
};
