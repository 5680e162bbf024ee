// CPrinterDef: a printer definition: copies of the device-names block and of the device-mode block,
// each empty until a printer is chosen.
#pragma once

#include <vector>

#include "platform/base/GlobalMemory.h"
#include "platform/base/Object.h"

class CArchive;

class CPrinterDef : public CObject {
public:
    CPrinterDef() = default;
    ~CPrinterDef() override;

    // The print-setup dialog preloaded with the stored blocks; unless cancelled, the chosen blocks are
    // kept. TRUE unless cancelled. (Built with the windows, in controls/.)
    BOOL DoPrintDialog();
    // Whether a device mode is stored and its orientation is landscape.
    BOOL IsLandscape() const;
    // The DEVNAMES size (4 bytes), its bytes, the DEVMODE size (4 bytes), its bytes. A short archive throws
    // and leaves the definition as it was.
    void Serialize(CArchive& ar) override;

    // Movable global copies of the blocks (null for an empty one), which the caller frees; and the blocks
    // taken back from such copies.
    void CopyToGlobal(HGLOBAL& devNames, HGLOBAL& devMode) const;
    void CopyFromGlobal(HGLOBAL devNames, HGLOBAL devMode);

    std::vector<BYTE> m_devNames;  // each block's size is its companion value
    std::vector<BYTE> m_devMode;
};
