#include "sifter/program/FileProbe.h"

#include <fcntl.h>
#include <unistd.h>

#include <vector>

int ProbeFileBytes(LPCTSTR path) {
    int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return PROBE_UNREADABLE;
    std::vector<unsigned char> block(16384);
    int pending = 0;  // continuation bytes still owed by the current UTF-8 sequence
    unsigned char lead = 0;
    int result = PROBE_TEXT;
    for (;;) {
        ssize_t got = ::read(fd, block.data(), block.size());
        if (got < 0) {
            result = PROBE_UNREADABLE;
            break;
        }
        if (got == 0)
            break;
        for (ssize_t i = 0; i < got && result == PROBE_TEXT; ++i) {
            unsigned char c = block[i];
            if (pending > 0) {
                // The second byte of some leads has a narrower range (no overlong forms, no surrogates).
                bool ok = (c & 0xC0) == 0x80;
                if (ok && lead) {
                    if (lead == 0xE0)
                        ok = c >= 0xA0;
                    else if (lead == 0xED)
                        ok = c <= 0x9F;
                    else if (lead == 0xF0)
                        ok = c >= 0x90;
                    else if (lead == 0xF4)
                        ok = c <= 0x8F;
                    lead = 0;
                }
                if (!ok)
                    result = PROBE_BINARY;
                --pending;
                continue;
            }
            if (c < 0x80) {
                if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != 0) || c == 0x7F)
                    result = PROBE_BINARY;
            } else if (c >= 0xC2 && c <= 0xDF) {
                pending = 1;
                lead = 0;
            } else if (c >= 0xE0 && c <= 0xEF) {
                pending = 2;
                lead = c;
            } else if (c >= 0xF0 && c <= 0xF4) {
                pending = 3;
                lead = c;
            } else {
                result = PROBE_BINARY;
            }
        }
        if (result != PROBE_TEXT)
            break;
    }
    ::close(fd);
    if (result == PROBE_TEXT && pending > 0)
        result = PROBE_BINARY;  // a sequence cut off by the end of the file
    return result;
}
