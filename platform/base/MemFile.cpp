#include "platform/base/MemFile.h"

#include <cstdlib>
#include <cstring>

CMemFile::CMemFile(UINT growBytes) : m_growBytes(growBytes) {}

CMemFile::CMemFile(BYTE* buffer, UINT bufferSize, UINT growBytes) {
    Attach(buffer, bufferSize, growBytes);
}

CMemFile::~CMemFile() {
    Free();
}

void CMemFile::Free() {
    if (m_owned)
        std::free(m_buffer);
    m_buffer = nullptr;
    m_owned = false;
    m_bufferSize = m_fileSize = m_position = 0;
}

void CMemFile::Attach(BYTE* buffer, UINT bufferSize, UINT growBytes) {
    Free();
    m_buffer = buffer;
    m_bufferSize = buffer ? bufferSize : 0;
    m_fileSize = growBytes == 0 ? m_bufferSize : 0;
    m_growBytes = growBytes;
}

BYTE* CMemFile::Detach() {
    BYTE* buffer = m_buffer;
    m_owned = false;  // the caller has it now
    m_buffer = nullptr;
    Free();
    return buffer;
}

void CMemFile::Grow(ULONGLONG needed) {
    if (needed <= m_bufferSize)
        return;
    if (m_growBytes == 0 || needed > 0xFFFFFFFFull)
        AfxThrowMemoryException();
    ULONGLONG size = m_bufferSize;
    while (size < needed)
        size += m_growBytes;
    if (size > 0xFFFFFFFFull)
        size = needed;
    BYTE* bigger;
    if (m_owned) {
        bigger = static_cast<BYTE*>(std::realloc(m_buffer, (size_t)size));
    } else {
        bigger = static_cast<BYTE*>(std::malloc((size_t)size));
        if (bigger && m_fileSize)
            std::memcpy(bigger, m_buffer, m_fileSize);
    }
    if (!bigger)
        AfxThrowMemoryException();
    m_buffer = bigger;
    m_bufferSize = (UINT)size;
    m_owned = true;
}

UINT CMemFile::Read(void* buffer, UINT count) {
    if (m_position >= m_fileSize || count == 0 || !buffer)
        return 0;
    UINT n = std::min(count, m_fileSize - m_position);
    std::memcpy(buffer, m_buffer + m_position, n);
    m_position += n;
    return n;
}

void CMemFile::Write(const void* buffer, UINT count) {
    if (count == 0)
        return;
    ULONGLONG end = (ULONGLONG)m_position + count;
    Grow(end);
    // A gap left by a seek past the end reads as zeros.
    if (m_position > m_fileSize)
        std::memset(m_buffer + m_fileSize, 0, m_position - m_fileSize);
    std::memmove(m_buffer + m_position, buffer, count);
    m_position = (UINT)end;
    if (m_position > m_fileSize)
        m_fileSize = m_position;
}

ULONGLONG CMemFile::Seek(LONGLONG offset, UINT from) {
    LONGLONG base = from == current ? (LONGLONG)m_position : (from == end ? (LONGLONG)m_fileSize : 0);
    LONGLONG target = base + offset;
    if (target < 0 || target > 0xFFFFFFFFll)
        AfxThrowFileException(CFileException::badSeek);
    m_position = (UINT)target;
    return m_position;
}

void CMemFile::SetLength(ULONGLONG length) {
    if (length > 0xFFFFFFFFull)
        AfxThrowMemoryException();
    Grow(length);
    if (length > m_fileSize)
        std::memset(m_buffer + m_fileSize, 0, (size_t)(length - m_fileSize));
    m_fileSize = (UINT)length;
    if (m_position > m_fileSize)
        m_position = m_fileSize;
}

void CMemFile::Close() {
    Free();
}

void CMemFile::Abort() {
    Free();
}
