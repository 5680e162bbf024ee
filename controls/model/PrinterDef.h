// CPrinterDef: a printer definition: copies of the device-names block and of the device-mode block,
// each empty until a printer is chosen.
#pragma once

#include <vector>

#include "platform/base/Object.h"

class CPrinterDef : public CObject {
public:
    CPrinterDef() = default;
    ~CPrinterDef() override;

    std::vector<BYTE> m_devNames;  // each block's size is its companion value
    std::vector<BYTE> m_devMode;
};
