// Reads the framework archive's values (little-endian 32-bit integers, bytes, length-prefixed strings)
// from a byte block without ever passing its end, so a saved block can be parsed whole and checked
// before anything is applied.
#pragma once

#include <cstdint>

#include "platform/base/String.h"
#include "platform/base/Types.h"

class OXBlockReader {
public:
    OXBlockReader(const BYTE* data, UINT size) : m_data(data), m_size(size) {}
    UINT Left() const { return m_size - m_pos; }
    bool Int(int32_t& v) {
        if (Left() < 4)
            return false;
        uint32_t u = (uint32_t)m_data[m_pos] | (uint32_t)m_data[m_pos + 1] << 8 |
                     (uint32_t)m_data[m_pos + 2] << 16 | (uint32_t)m_data[m_pos + 3] << 24;
        m_pos += 4;
        v = (int32_t)u;
        return true;
    }
    bool Byte(BYTE& v) {
        if (Left() < 1)
            return false;
        v = m_data[m_pos++];
        return true;
    }
    // A string of at most maxLength bytes; false when it is longer or runs past the block.
    bool String(CString& v, uint32_t maxLength = UINT32_MAX) {
        BYTE b;
        if (!Byte(b))
            return false;
        uint32_t length = b;
        if (b == 0xFF) {
            if (Left() < 2)
                return false;
            length = (uint32_t)m_data[m_pos] | (uint32_t)m_data[m_pos + 1] << 8;
            m_pos += 2;
            if (length == 0xFFFF) {
                int32_t l;
                if (!Int(l))
                    return false;
                length = (uint32_t)l;
            }
        }
        if (length > Left() || length > maxLength)
            return false;
        v = CString(reinterpret_cast<const char*>(m_data + m_pos), (int)length);
        m_pos += length;
        return true;
    }

private:
    const BYTE* m_data;
    UINT m_size;
    UINT m_pos = 0;
};
