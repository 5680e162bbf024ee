// The application profile of the framework over the registry: a section is the key
// HKEY_CURRENT_USER\Software\<registry key>\<profile name>\<section>.
//
// Reads never create keys; writes create what they need. Integers are REG_DWORD values and only those
// are read as integers (a value of another type or size reads as the default); strings are REG_SZ (or
// REG_EXPAND_SZ, not expanded) cut at the first zero byte; blobs are REG_BINARY. Without a registry key
// or a profile name there is no profile: reads give the defaults and writes fail.
#pragma once

#include "platform/base/Registry.h"
#include "platform/base/String.h"

class CProfile {
public:
    CProfile() = default;
    CProfile(LPCTSTR registryKey, LPCTSTR profileName);

    void SetRegistryKey(LPCTSTR registryKey) { m_registryKey = registryKey; }
    void SetProfileName(LPCTSTR profileName) { m_profileName = profileName; }
    const CString& GetRegistryKey() const { return m_registryKey; }
    const CString& GetProfileName() const { return m_profileName; }

    // Software\<registry key>\<profile name> and its section, created when missing; the caller closes
    // the key. Null when there is no profile or the key cannot be had.
    HKEY GetAppRegistryKey() const;
    HKEY GetSectionKey(LPCTSTR section) const;

    UINT GetProfileInt(LPCTSTR section, LPCTSTR entry, int nDefault) const;
    BOOL WriteProfileInt(LPCTSTR section, LPCTSTR entry, int nValue) const;
    // A null default reads as the empty string.
    CString GetProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR lpszDefault = nullptr) const;
    // A null entry deletes the section (refused while it has sub-keys); a null value deletes the entry.
    BOOL WriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value) const;
    // On success *ppData is a new[] array of *pBytes bytes that the caller delete[]s; on failure it is
    // null and *pBytes is 0.
    BOOL GetProfileBinary(LPCTSTR section, LPCTSTR entry, BYTE** ppData, UINT* pBytes) const;
    BOOL WriteProfileBinary(LPCTSTR section, LPCTSTR entry, LPBYTE pData, UINT nBytes) const;

private:
    HKEY OpenAppKey(bool create) const;
    HKEY OpenSectionKey(LPCTSTR section, bool create) const;
    // Reads a value's type and bytes in one go (sizes may change between calls by other programs).
    bool ReadValue(LPCTSTR section, LPCTSTR entry, DWORD& type, std::string& data) const;
    BOOL WriteValue(LPCTSTR section, LPCTSTR entry, DWORD type, const BYTE* data, DWORD size) const;

    CString m_registryKey;
    CString m_profileName;
};

// The profile of the running program; the application object configures it at start-up.
CProfile& AfxGetProfile();
