// A memory file whose contents live in one binary registry value: loaded when the file is made, read and
// written through an archive like any file, and written back whole when flushed or closed.
#pragma once

#include "platform/base/MemFile.h"
#include "platform/base/Registry.h"
#include "platform/base/String.h"

class COXRegistryValFile : public CMemFile {
public:
    // Creates or opens root\subKey and loads the value (a missing value gives an empty file). Throws
    // CFileException* (access denied, the registry error, the sub-key as the file name) when the key cannot
    // be opened, the value is not binary or cannot be read.
    COXRegistryValFile(HKEY root, LPCTSTR subKey, LPCTSTR valueName);
    // Writes the contents back when still open; a failure here is not reported.
    ~COXRegistryValFile() override;

    // While a key is open, writes the whole contents to the value as REG_BINARY; throws CFileException*
    // when the write fails.
    void Flush() override;
    // Flush, then closes the key and forgets it and the value name.
    void Close() override;
    // A null name throws CInvalidArgException*; otherwise the name becomes the file's name.
    void SetFilePath(LPCTSTR name);

protected:
    HKEY m_hKey = nullptr;
    CString m_sValueName;

private:
    void Open(HKEY root, LPCTSTR subKey, LPCTSTR valueName);
};
