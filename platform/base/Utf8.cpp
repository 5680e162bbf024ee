#include "platform/base/Utf8.h"

#include <cstdint>

namespace {
const uint16_t kCp1252High[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                  0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += (char)cp;
    } else if (cp < 0x800) {
        out += (char)(0xC0 | (cp >> 6));
        out += (char)(0x80 | (cp & 0x3F));
    } else {
        out += (char)(0xE0 | (cp >> 12));
        out += (char)(0x80 | ((cp >> 6) & 0x3F));
        out += (char)(0x80 | (cp & 0x3F));
    }
}
}  // namespace

size_t Utf8CharLength(std::string_view text) {
    if (text.empty())
        return 0;
    auto c = (unsigned char)text[0];
    size_t extra;
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF)
        extra = 1;
    else if ((c >> 4) == 0xE)
        extra = 2;
    else if (c >= 0xF0 && c <= 0xF4)
        extra = 3;
    else
        return 0;
    if (text.size() <= extra)
        return 0;
    for (size_t k = 1; k <= extra; ++k)
        if (((unsigned char)text[k] & 0xC0) != 0x80)
            return 0;
    return extra + 1;
}

bool IsValidUtf8(std::string_view text) {
    while (!text.empty()) {
        size_t n = Utf8CharLength(text);
        if (!n)
            return false;
        text.remove_prefix(n);
    }
    return true;
}

std::string Cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        auto c = (unsigned char)ch;
        AppendUtf8(out, c >= 0x80 && c < 0xA0 ? kCp1252High[c - 0x80] : c);
    }
    return out;
}

std::string TextAsUtf8(std::string_view text) {
    return IsValidUtf8(text) ? std::string(text) : Cp1252ToUtf8(text);
}
