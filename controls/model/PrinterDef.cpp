#include "controls/model/PrinterDef.h"

CPrinterDef::~CPrinterDef() = default;
