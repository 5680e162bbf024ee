#include "platform/base/Exceptions.h"

#include <cstdio>
#include <cstring>

#include "platform/base/MessageBox.h"

namespace {
BOOL CopyMessage(const char* text, char* buffer, UINT maxLength) {
    if (!buffer || maxLength == 0)
        return FALSE;
    std::strncpy(buffer, text, maxLength - 1);
    buffer[maxLength - 1] = '\0';
    return TRUE;
}
}  // namespace

BOOL CException::GetErrorMessage(char* buffer, UINT maxLength) const {
    return CopyMessage("An unknown error occurred.", buffer, maxLength);
}

int CException::ReportError(UINT type, UINT) const {
    char text[512];
    if (!GetErrorMessage(text, sizeof text))
        CopyMessage("An unknown error occurred.", text, sizeof text);
    return AfxMessageBox(text, type);
}

BOOL CMemoryException::GetErrorMessage(char* buffer, UINT maxLength) const {
    return CopyMessage("Out of memory.", buffer, maxLength);
}

BOOL CFileException::GetErrorMessage(char* buffer, UINT maxLength) const {
    static const char* const texts[] = {"No error occurred.",
                                        "An unspecified error occurred.",
                                        "The file was not found.",
                                        "The path is invalid.",
                                        "Too many files are open.",
                                        "Access to the file was denied.",
                                        "The file handle is invalid.",
                                        "The current folder cannot be removed.",
                                        "The folder is full.",
                                        "Seek failed.",
                                        "A hardware I/O error occurred.",
                                        "A sharing violation occurred.",
                                        "A locking violation occurred.",
                                        "The disk is full.",
                                        "The end of the file was reached."};
    int cause = (m_cause >= 0 && m_cause <= endOfFile) ? m_cause : genericException;
    CString text = texts[cause];
    if (!m_strFileName.IsEmpty())
        text = CString(m_strFileName) + ": " + text;
    return CopyMessage(text, buffer, maxLength);
}

BOOL CArchiveException::GetErrorMessage(char* buffer, UINT maxLength) const {
    static const char* const texts[] = {
        "No error occurred.",
        "An unspecified error occurred while reading or writing.",
        "The archive is read only and cannot be written.",
        "The end of the data was reached before the value was complete.",
        "The archive is write only and cannot be read.",
        "The data refers to an object that was never stored.",
        "The data names a class this program does not know.",
        "The data was stored with a version of the class this program cannot read."};
    int cause = (m_cause >= 0 && m_cause <= badSchema) ? m_cause : genericException;
    CString text = texts[cause];
    if (!m_strFileName.IsEmpty())
        text = CString(m_strFileName) + ": " + text;
    return CopyMessage(text, buffer, maxLength);
}

int CFileException::OsErrorToException(LONG winError) {
    switch (winError) {
        case ERROR_SUCCESS:
            return none;
        case ERROR_FILE_NOT_FOUND:
            return fileNotFound;
        case ERROR_PATH_NOT_FOUND:
            return badPath;
        case ERROR_ACCESS_DENIED:
            return accessDenied;
        case ERROR_INVALID_HANDLE:
            return invalidFile;
        case ERROR_SHARING_VIOLATION:
            return sharingViolation;
        case ERROR_WRITE_FAULT:
        case ERROR_READ_FAULT:
            return hardIO;
        default:
            return genericException;
    }
}

void CFileException::ThrowOsError(LONG winError, const char* fileName) {
    throw new CFileException(OsErrorToException(winError), winError, fileName);
}

void AfxThrowMemoryException() {
    throw new CMemoryException();
}

void AfxThrowFileException(int cause, LONG osError, const char* fileName) {
    throw new CFileException(cause, osError, fileName);
}

BOOL CInvalidArgException::GetErrorMessage(char* buffer, UINT maxLength) const {
    if (!buffer || maxLength == 0)
        return FALSE;
    snprintf(buffer, maxLength, "%s", "Invalid argument.");
    return TRUE;
}

void AfxThrowInvalidArgException() {
    throw new CInvalidArgException();
}

void AfxThrowArchiveException(int cause, const char* fileName) {
    throw new CArchiveException(cause, fileName);
}
