// Reads a QBroker or QServer log line by line. The line terminator ("\r\n", "\n\r" or "\n") is chosen
// once from the first 8,192 bytes; each complete line is delivered without its terminator, with its
// 1-based number. Bytes after the last terminator are not a line. A terminator's second byte that does
// not follow its first breaks the match, and that byte stays in the line without being tested as a
// new first byte (so with "\r\n", "a\r\r\nb\r\n" is the one line "a\r\r\nb").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/String.h"

class LogLineReader {
public:
    enum Status { NotOpen, Reading, EndOfFile, Stopped, OpenFailed, ReadFailed };
    static constexpr size_t kFirstBlock = 8192;

    // continueFlag: the pass's flag; when it is cleared the reader delivers nothing more.
    explicit LogLineReader(const BOOL* continueFlag = nullptr);
    ~LogLineReader();
    LogLineReader(const LogLineReader&) = delete;
    LogLineReader& operator=(const LogLineReader&) = delete;

    // Checks the file, opens it for reading and reads its first block. FALSE on any failure.
    BOOL Open(LPCTSTR path);
    void Close();
    // The next line; FALSE at the end of the file, when stopped, or on a read failure (see GetStatus).
    // The view stays valid until the next call.
    BOOL NextLine(std::string_view& line);
    // As NextLine, into a text.
    BOOL NextLine(CString& line);

    long GetLineNumber() const { return m_lineNumber; }
    Status GetStatus() const { return m_status; }
    const char* GetTerminator() const { return m_term; }
    int GetTerminatorLength() const { return m_termLen; }

    // The terminator a first block implies.
    static const char* ChooseTerminator(const char* block, size_t size);

private:
    BOOL ReadBlock();
    void ComputeMasks();
    // Index of the next terminator first byte at or after from in the block, or m_end.
    size_t FindNext(size_t from);

    const BOOL* m_continue;
    int m_fd = -1;
    Status m_status = NotOpen;
    std::string m_block;
    size_t m_pos = 0;
    size_t m_end = 0;
    bool m_lastBlock = false;
    const char* m_term = "\r\n";
    int m_termLen = 2;
    // One bit per byte of the block that equals the terminator's first byte, computed once per block.
    std::vector<uint64_t> m_masks;
    std::string m_line;
    long m_lineNumber = 0;
};

// The number of lines of a text file as the reader delivers them; 0 when it is missing or unreadable.
LONG CountFileLines(LPCTSTR path);
// The same count with vectors of at most that many bytes (16, or 32 where the processor has them); for
// tests of each path.
LONG CountFileLinesWith(LPCTSTR path, int vectorBytes);
