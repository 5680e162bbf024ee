#include "platform/base/ProcessExit.h"

#include <cstdio>
#include <cstdlib>

void ExitProcess(UINT exitCode) {
    std::fflush(nullptr);
    std::_Exit((int)exitCode);
}
