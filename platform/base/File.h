// Files: CFile (binary, unbuffered), CStdioFile (buffered; text mode writes "\n" as CR LF and reads
// CR LF as "\n"), file attributes and status with 64-bit sizes.
#pragma once

#include <string>

#include "platform/base/Exceptions.h"
#include "platform/base/Time.h"

#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_HIDDEN 0x00000002
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020
#define FILE_ATTRIBUTE_NORMAL 0x00000080

// Attributes of a path: a folder, a read-only file, or INVALID_FILE_ATTRIBUTES (last error set).
DWORD GetFileAttributes(LPCTSTR path);

struct CFileStatus {
    CTime m_ctime;  // creation: the birth time when the file system keeps one, else the modification time
    CTime m_mtime;
    CTime m_atime;
    ULONGLONG m_size = 0;
    BYTE m_attribute = 0;
    char m_szFullName[4096] = {0};
};

class CFile : public CObject {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
        osSequentialScan = 0x10000,
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile() = default;
    CFile(LPCTSTR path, UINT flags);  // throws CFileException*
    ~CFile() override;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    virtual BOOL Open(LPCTSTR path, UINT flags, CFileException* error = nullptr);
    virtual void Close();
    // Closes without throwing.
    virtual void Abort();
    virtual UINT Read(void* buffer, UINT count);
    virtual void Write(const void* buffer, UINT count);
    virtual void Flush();
    virtual ULONGLONG Seek(LONGLONG offset, UINT from);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    virtual void SetLength(ULONGLONG length);
    CString GetFilePath() const { return m_path; }
    CString GetFileName() const;
    BOOL IsOpen() const { return m_fd >= 0; }
    int GetHandle() const { return m_fd; }

    BOOL GetStatus(CFileStatus& status) const;
    static BOOL GetStatus(LPCTSTR path, CFileStatus& status);
    static void Remove(LPCTSTR path);                      // throws CFileException*
    static void Rename(LPCTSTR oldPath, LPCTSTR newPath);  // throws CFileException*

protected:
    [[noreturn]] void ThrowErrno(int err) const;
    int m_fd = -1;
    UINT m_flags = 0;
    CString m_path;
};

class CStdioFile : public CFile {
public:
    CStdioFile() = default;
    CStdioFile(LPCTSTR path, UINT flags);
    ~CStdioFile() override;

    BOOL Open(LPCTSTR path, UINT flags, CFileException* error = nullptr) override;
    void Close() override;
    void Abort() override;
    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    void Flush() override;
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    ULONGLONG GetPosition() const override;
    ULONGLONG GetLength() const override;

    // One line without its end; FALSE at the end of the file with nothing read. Text mode takes CR LF
    // and a lone LF as the end.
    BOOL ReadString(CString& line);
    // Writes the text; in text mode each "\n" becomes CR LF.
    void WriteString(LPCTSTR text);

private:
    BOOL FillBuffer();
    void FlushWrite();
    bool Text() const { return (m_flags & typeBinary) == 0; }

    std::string m_rbuf;
    size_t m_rpos = 0;
    std::string m_wbuf;
};

// Size of a file by path, 64-bit; -1 when it cannot be sized.
LONGLONG GetFileSize64(LPCTSTR path);
