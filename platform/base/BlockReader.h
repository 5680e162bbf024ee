// Sequential reading of one regular file in large blocks, for searching file contents.
#pragma once

#include "platform/base/Types.h"

class CBlockReader {
public:
    CBlockReader() = default;
    ~CBlockReader() { Close(); }
    CBlockReader(const CBlockReader&) = delete;
    CBlockReader& operator=(const CBlockReader&) = delete;

    // Opens a regular file for reading, never blocking; others share it freely. Anything else (a
    // folder, a FIFO, a device) is refused. A path of any length. FALSE with the last error set on failure.
    BOOL Open(const char* path);
    // The same for a path relative to an open folder (AT_FDCWD for the current folder).
    BOOL OpenAt(int dirFd, const char* path);
    // Fills the buffer as far as the file allows; less than asked only at the end of the file or on a
    // read error, which ends the file early and is remembered (a read that would block is one).
    size_t Read(void* buffer, size_t count);
    BOOL ReadFailed() const { return m_failed; }
    void Close();
    BOOL IsOpen() const { return m_fd >= 0; }

private:
    int m_fd = -1;
    bool m_failed = false;
};
