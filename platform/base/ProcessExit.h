// Ending the calling process at once, with an exit status: buffered output is flushed, no destructor
// of a static object and no exit handler runs (the state they would tear down may still be in use).
#pragma once

#include "platform/base/Types.h"

[[noreturn]] void ExitProcess(UINT exitCode);
