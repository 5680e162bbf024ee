#include "controls/PrinterDef.h"

CPrinterDef::~CPrinterDef() = default;
