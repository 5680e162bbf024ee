// ASCII case-blind substring search over raw bytes, for large buffers (no allocation, SIMD when present).
#pragma once

#include <cstddef>
#include <string_view>

constexpr size_t kNotFound = (size_t)-1;

// Offset of the first occurrence of the needle in the bytes, comparing ASCII letters without regard to
// case; kNotFound when absent. The needle must already be upper-cased (AsciiUpper). An empty needle is
// found at 0.
size_t FindNoCase(const char* bytes, size_t size, std::string_view upperNeedle);

// The same search with vectors of at most that many bytes (0: none, 16, 32); for tests of each path.
size_t FindNoCaseWith(const char* bytes, size_t size, std::string_view upperNeedle, int vectorBytes);
