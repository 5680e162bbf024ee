#include "platform/base/Profile.h"

#include <cstring>

CProfile::CProfile(LPCTSTR registryKey, LPCTSTR profileName)
    : m_registryKey(registryKey), m_profileName(profileName) {}

HKEY CProfile::OpenAppKey(bool create) const {
    if (m_registryKey.IsEmpty() || m_profileName.IsEmpty())
        return nullptr;
    CString path = "Software\\" + m_registryKey + "\\" + m_profileName;
    HKEY key = nullptr;
    LONG rc = create ? RegCreateKeyEx(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                      KEY_READ | KEY_WRITE, nullptr, &key, nullptr)
                     : RegOpenKeyEx(HKEY_CURRENT_USER, path, 0, KEY_READ | KEY_WRITE, &key);
    return rc == ERROR_SUCCESS ? key : nullptr;
}

HKEY CProfile::OpenSectionKey(LPCTSTR section, bool create) const {
    if (!section)
        return nullptr;
    HKEY app = OpenAppKey(create);
    if (!app)
        return nullptr;
    HKEY key = nullptr;
    LONG rc = create ? RegCreateKeyEx(app, section, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                                      nullptr, &key, nullptr)
                     : RegOpenKeyEx(app, section, 0, KEY_READ | KEY_WRITE, &key);
    RegCloseKey(app);
    return rc == ERROR_SUCCESS ? key : nullptr;
}

HKEY CProfile::GetAppRegistryKey() const {
    return OpenAppKey(true);
}

HKEY CProfile::GetSectionKey(LPCTSTR section) const {
    return OpenSectionKey(section, true);
}

bool CProfile::ReadValue(LPCTSTR section, LPCTSTR entry, DWORD& type, std::string& data) const {
    HKEY key = OpenSectionKey(section, false);
    if (!key)
        return false;
    LONG rc = ERROR_MORE_DATA;
    for (int attempt = 0; attempt < 8 && rc == ERROR_MORE_DATA; ++attempt) {
        DWORD size = 0;
        rc = RegQueryValueEx(key, entry, nullptr, &type, nullptr, &size);
        if (rc != ERROR_SUCCESS)
            break;
        data.assign(size, '\0');
        rc = RegQueryValueEx(key, entry, nullptr, &type, (LPBYTE)data.data(), &size);
        if (rc == ERROR_SUCCESS)
            data.resize(size);
    }
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

BOOL CProfile::WriteValue(LPCTSTR section, LPCTSTR entry, DWORD type, const BYTE* data, DWORD size) const {
    HKEY key = OpenSectionKey(section, true);
    if (!key)
        return FALSE;
    LONG rc = RegSetValueEx(key, entry, 0, type, data, size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

UINT CProfile::GetProfileInt(LPCTSTR section, LPCTSTR entry, int nDefault) const {
    DWORD type = REG_NONE;
    std::string data;
    if (!ReadValue(section, entry, type, data) || type != REG_DWORD || data.size() != 4)
        return (UINT)nDefault;
    return (UINT)(unsigned char)data[0] | (UINT)(unsigned char)data[1] << 8 |
           (UINT)(unsigned char)data[2] << 16 | (UINT)(unsigned char)data[3] << 24;
}

BOOL CProfile::WriteProfileInt(LPCTSTR section, LPCTSTR entry, int nValue) const {
    DWORD v = (DWORD)nValue;
    BYTE bytes[4] = {(BYTE)v, (BYTE)(v >> 8), (BYTE)(v >> 16), (BYTE)(v >> 24)};
    return WriteValue(section, entry, REG_DWORD, bytes, 4);
}

CString CProfile::GetProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR lpszDefault) const {
    DWORD type = REG_NONE;
    std::string data;
    if (!ReadValue(section, entry, type, data) || (type != REG_SZ && type != REG_EXPAND_SZ))
        return CString(lpszDefault);
    size_t zero = data.find('\0');
    if (zero != std::string::npos)
        data.resize(zero);
    return CString(std::move(data));
}

BOOL CProfile::WriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value) const {
    if (!section)
        return FALSE;
    if (!entry) {
        HKEY app = OpenAppKey(false);
        if (!app)
            return FALSE;
        LONG rc = RegDeleteKey(app, section);
        RegCloseKey(app);
        return rc == ERROR_SUCCESS;
    }
    if (!value) {
        HKEY key = OpenSectionKey(section, false);
        if (!key)
            return FALSE;
        LONG rc = RegDeleteValue(key, entry);
        RegCloseKey(key);
        return rc == ERROR_SUCCESS;
    }
    return WriteValue(section, entry, REG_SZ, (const BYTE*)value, (DWORD)strlen(value) + 1);
}

BOOL CProfile::GetProfileBinary(LPCTSTR section, LPCTSTR entry, BYTE** ppData, UINT* pBytes) const {
    if (!ppData || !pBytes)
        return FALSE;
    *ppData = nullptr;
    *pBytes = 0;
    DWORD type = REG_NONE;
    std::string data;
    if (!ReadValue(section, entry, type, data) || type != REG_BINARY)
        return FALSE;
    *ppData = new BYTE[data.size()];
    if (!data.empty())
        memcpy(*ppData, data.data(), data.size());
    *pBytes = (UINT)data.size();
    return TRUE;
}

BOOL CProfile::WriteProfileBinary(LPCTSTR section, LPCTSTR entry, LPBYTE pData, UINT nBytes) const {
    return WriteValue(section, entry, REG_BINARY, pData, nBytes);
}

CProfile& AfxGetProfile() {
    static CProfile profile;
    return profile;
}
