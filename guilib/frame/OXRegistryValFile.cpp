#include "guilib/frame/OXRegistryValFile.h"

#include <vector>

#include "platform/base/Exceptions.h"

COXRegistryValFile::COXRegistryValFile(HKEY root, LPCTSTR subKey, LPCTSTR valueName) : CMemFile(1024) {
    Open(root, subKey, valueName);
}

void COXRegistryValFile::Open(HKEY root, LPCTSTR subKey, LPCTSTR valueName) {
    m_sValueName = valueName ? valueName : "";
    LONG error = RegCreateKeyEx(root, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                &m_hKey, nullptr);
    auto fail = [&](LONG code) {
        if (m_hKey) {
            RegCloseKey(m_hKey);
            m_hKey = nullptr;
        }
        AfxThrowFileException(CFileException::accessDenied, code, subKey);
    };
    if (error != ERROR_SUCCESS) {
        m_hKey = nullptr;
        fail(error);
    }
    DWORD type = 0;
    DWORD size = 0;
    error = RegQueryValueEx(m_hKey, m_sValueName, nullptr, &type, nullptr, &size);
    if (error == ERROR_FILE_NOT_FOUND)
        return;  // no value yet: the file starts empty
    if (error != ERROR_SUCCESS)
        fail(error);
    if (type != REG_BINARY)
        fail(ERROR_INVALID_DATA);
    std::vector<BYTE> data(size);
    if (size > 0) {
        error = RegQueryValueEx(m_hKey, m_sValueName, nullptr, &type, data.data(), &size);
        if (error != ERROR_SUCCESS)
            fail(error);
        CMemFile::Write(data.data(), size);
    }
    SeekToBegin();
}

COXRegistryValFile::~COXRegistryValFile() {
    if (!m_hKey)
        return;
    try {
        Close();
    } catch (CException* e) {
        e->Delete();
    }
    if (m_hKey) {
        RegCloseKey(m_hKey);
        m_hKey = nullptr;
    }
}

void COXRegistryValFile::Flush() {
    if (!m_hKey)
        return;
    ULONGLONG position = GetPosition();
    std::vector<BYTE> data((size_t)GetLength());
    SeekToBegin();
    UINT read = data.empty() ? 0 : CMemFile::Read(data.data(), (UINT)data.size());
    Seek((LONGLONG)position, begin);
    LONG error = RegSetValueEx(m_hKey, m_sValueName, 0, REG_BINARY, data.data(), read);
    if (error != ERROR_SUCCESS)
        AfxThrowFileException(CFileException::OsErrorToException(error), error, m_sValueName);
}

void COXRegistryValFile::Close() {
    // The key is let go even when the write fails; the failure is passed on.
    struct Release {
        COXRegistryValFile* file;
        ~Release() {
            if (file->m_hKey)
                RegCloseKey(file->m_hKey);
            file->m_hKey = nullptr;
            file->m_sValueName.Empty();
        }
    } release{this};
    Flush();
}

void COXRegistryValFile::SetFilePath(LPCTSTR name) {
    if (!name)
        AfxThrowInvalidArgException();
    m_path = name;
}
