// The framework's exceptions, thrown and caught as C++ exceptions (by pointer, as the framework does).
#pragma once

#include "platform/base/Object.h"
#include "platform/base/String.h"

class CException : public CObject {
public:
    // Frees an exception object caught by pointer.
    void Delete() { delete this; }
    virtual BOOL GetErrorMessage(char* buffer, UINT maxLength) const;
    // Shows the error's message in a message box; the box's answer.
    virtual int ReportError(UINT type = 0x30 /* MB_ICONEXCLAMATION */, UINT messageId = 0) const;
};

class CMemoryException : public CException {
public:
    BOOL GetErrorMessage(char* buffer, UINT maxLength) const override;
};

class CFileException : public CException {
public:
    enum {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int cause = none, LONG osError = -1, const char* fileName = nullptr)
        : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}

    BOOL GetErrorMessage(char* buffer, UINT maxLength) const override;
    static int OsErrorToException(LONG winError);
    [[noreturn]] static void ThrowOsError(LONG winError, const char* fileName = nullptr);

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

class CArchiveException : public CException {
public:
    enum { none, genericException, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };

    explicit CArchiveException(int cause = none, const char* fileName = nullptr)
        : m_cause(cause), m_strFileName(fileName) {}

    BOOL GetErrorMessage(char* buffer, UINT maxLength) const override;

    int m_cause;
    CString m_strFileName;
};

// A window or another resource could not be made.
class CResourceException : public CException {};

// An argument the callee cannot work with (a null name, for one).
class CInvalidArgException : public CException {
public:
    BOOL GetErrorMessage(char* buffer, UINT maxLength) const override;
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] inline void AfxThrowResourceException() {
    throw new CResourceException();
}
[[noreturn]] void AfxThrowInvalidArgException();
[[noreturn]] void AfxThrowArchiveException(int cause, const char* fileName = nullptr);
[[noreturn]] void AfxThrowFileException(int cause, LONG osError = -1, const char* fileName = nullptr);

// An error the user has already been told about (a data-exchange prompt): the operation stops quietly.
class CUserException : public CException {};
