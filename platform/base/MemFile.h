// CMemFile: a file in memory. It grows in steps of its growth size; a buffer handed in by the caller is
// used in place until the data outgrows it.
#pragma once

#include "platform/base/File.h"

class CMemFile : public CFile {
public:
    explicit CMemFile(UINT growBytes = 1024);
    // Over the caller's buffer, its whole size as the file's length (as Attach).
    CMemFile(BYTE* buffer, UINT bufferSize, UINT growBytes = 0);
    ~CMemFile() override;

    // Uses the caller's buffer. With growBytes 0 the file holds `bufferSize` bytes of data and cannot
    // grow past them; otherwise it starts empty and, when it outgrows the buffer, moves its data to a
    // buffer of its own (the caller's buffer is never reallocated or freed).
    void Attach(BYTE* buffer, UINT bufferSize, UINT growBytes = 0);
    // Gives up the buffer: the caller's own, or one allocated with malloc that the caller frees with free.
    // The file is empty afterwards.
    BYTE* Detach();

    UINT Read(void* buffer, UINT count) override;
    // Throws CMemoryException when the data cannot grow.
    void Write(const void* buffer, UINT count) override;
    void Flush() override {}
    // A position before the start throws CFileException::badSeek; one past the end is allowed.
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    ULONGLONG GetPosition() const override { return m_position; }
    ULONGLONG GetLength() const override { return m_fileSize; }
    void SetLength(ULONGLONG length) override;
    void Close() override;
    void Abort() override;
    UINT GetBufferSize() const { return m_bufferSize; }

private:
    void Grow(ULONGLONG needed);
    void Free();

    BYTE* m_buffer = nullptr;
    UINT m_bufferSize = 0;
    UINT m_fileSize = 0;
    UINT m_position = 0;
    UINT m_growBytes = 1024;
    bool m_owned = false;  // the buffer came from malloc here
};
