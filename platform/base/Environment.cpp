#include "platform/base/Environment.h"

#include <cstdlib>
#include <cstring>
#include <string>

DWORD ExpandEnvironmentStrings(LPCTSTR source, LPTSTR destination, DWORD size) {
    if (!source)
        return 0;
    std::string out;
    const char* p = source;
    while (*p) {
        if (*p == '%') {
            const char* end = std::strchr(p + 1, '%');
            if (end && end > p + 1) {
                std::string name(p + 1, end);
                if (const char* value = std::getenv(name.c_str())) {
                    out += value;
                    p = end + 1;
                    continue;
                }
                // Unset: the name stays, and its closing '%' may open the next reference.
                out.append(p, end);
                p = end;
                continue;
            }
        }
        out += *p++;
    }
    DWORD needed = (DWORD)out.size() + 1;
    if (destination && size >= needed)
        std::memcpy(destination, out.c_str(), needed);
    return needed;
}
