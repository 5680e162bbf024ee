// Helpers of Veltrin's printing tests: a printer definition that writes a PDF file.
#pragma once

#include <string>

#include "controls/model/PrinterDef.h"
#include "platform/base/GlobalMemory.h"
#include "platform/gdi/Printing.h"
#include "platform/user/CommonDialogs.h"
#include "tests/support/PdfReading.h"

namespace print_test {

// A printer definition that writes a PDF at `path`, in this orientation.
inline void SetPdfPrinter(CPrinterDef& def, const std::string& path, bool landscape = false) {
    HGLOBAL names = CreateDevNames("PDF", PDF_FILE_DESTINATION, path.c_str(), FALSE);
    def.CopyFromGlobal(names, nullptr);
    GlobalFree(names);
    DEVMODE mode{};
    InitDevMode(mode, PDF_FILE_DESTINATION);
    mode.dmOrientation = landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    mode.dmFields |= DM_ORIENTATION;
    auto* m = reinterpret_cast<const BYTE*>(&mode);
    def.m_devMode.assign(m, m + sizeof mode);
}

}  // namespace print_test
