#include "guilib/controls/OXRegistryItem.h"

#include <strings.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/base/Environment.h"

IMPLEMENT_DYNAMIC(COXRegistryItem, CObject)

COXRegistryItem g_registryItem;

namespace {

struct Root {
    const char* name;
    HKEY key;
};
const Root kRoots[] = {
    {"\\ClassesRoot", HKEY_CLASSES_ROOT},         {"\\CurrentUser", HKEY_CURRENT_USER},
    {"\\LocalMachine", HKEY_LOCAL_MACHINE},       {"\\Users", HKEY_USERS},
    {"\\PerformanceData", HKEY_PERFORMANCE_DATA}, {"\\CurrentConfig", HKEY_CURRENT_CONFIG},
    {"\\DynData", HKEY_DYN_DATA},
};

// The root whose name starts `s`, followed by a backslash or the end; null when none.
const Root* FindRoot(const std::string& s) {
    for (const Root& r : kRoots) {
        size_t n = std::strlen(r.name);
        if (s.size() >= n && strncasecmp(s.c_str(), r.name, n) == 0 && (s.size() == n || s[n] == '\\'))
            return &r;
    }
    return nullptr;
}

bool OnlyBackslashes(const std::string& s) {
    return s.find_first_not_of('\\') == std::string::npos;
}

// The whole path begins with one backslash; a path of backslashes only is empty.
std::string NormaliseMain(std::string s) {
    if (OnlyBackslashes(s))
        return std::string();
    if (s[0] != '\\')
        s.insert(s.begin(), '\\');
    return s;
}

// The key names without their first and last characters (the two backslashes), for the platform calls.
std::string StripKeyNames(const CString& keys) {
    std::string k = (LPCTSTR)keys;
    return k.size() >= 2 ? k.substr(1, k.size() - 2) : std::string();
}

LONG Status(LONG error) {
    return error == 0 ? 0 : (LONG)(0x80070000u | ((DWORD)error & 0xFFFFu));
}

}  // namespace

COXRegistryItem::COXRegistryItem(LPCTSTR fullRegistryItem)
    : m_sFullRegistryItem(fullRegistryItem),
      m_bMainBuilt(TRUE),
      m_bPartsBuilt(FALSE),
      m_hRootKey(nullptr),
      m_hKey(nullptr),
      m_nLastError(0) {}

COXRegistryItem::~COXRegistryItem() {
    Close();
}

BOOL COXRegistryItem::SetStatus(LONG error) {
    m_nLastError = Status(error);
    return m_nLastError >= 0;
}

BOOL COXRegistryItem::SetFullRegistryItem(LPCTSTR fullRegistryItem) {
    m_sFullRegistryItem = CString(NormaliseMain(fullRegistryItem ? fullRegistryItem : "").c_str());
    m_bMainBuilt = TRUE;
    m_bPartsBuilt = FALSE;
    return Close();
}

void COXRegistryItem::Empty() {
    Close();
    m_sFullRegistryItem.Empty();
    m_sMachineName.Empty();
    m_sRegistryName.Empty();
    m_sKeyNames.Empty();
    m_sValueName.Empty();
    m_bMainBuilt = FALSE;
    m_bPartsBuilt = FALSE;
}

void COXRegistryItem::SplitParts() {
    if (m_bPartsBuilt)
        return;
    if (!m_bMainBuilt) {
        Empty();
        m_bMainBuilt = m_bPartsBuilt = TRUE;
        return;
    }
    std::string s = (LPCTSTR)m_sFullRegistryItem;
    std::string machine, registry, keys, value;
    // Machine: "\\name" up to the next backslash.
    if (s.compare(0, 2, "\\\\") == 0) {
        size_t next = s.find('\\', 2);
        machine = s.substr(0, next);
        s = next == std::string::npos ? std::string() : s.substr(next);
    }
    // Root: a known name up to the next backslash.
    if (FindRoot(s)) {
        size_t next = s.find('\\', 1);
        registry = s.substr(0, next);
        s = next == std::string::npos ? std::string() : s.substr(next);
    }
    // Keys: up to and including the last backslash; a single component is a key.
    if (!s.empty() && s[0] == '\\') {
        if (s.find('\\', 1) == std::string::npos) {
            keys = s;
            if (keys.back() != '\\')
                keys += '\\';
            s.clear();
        } else {
            size_t last = s.rfind('\\');
            keys = s.substr(0, last + 1);
            s = s.substr(last + 1);
        }
    }
    value = s;

    // Canonical forms.
    if (OnlyBackslashes(machine))
        machine.clear();
    else
        machine = "\\\\" + machine.substr(machine.find_first_not_of('\\'));
    if (const Root* root = OnlyBackslashes(registry) ? nullptr : FindRoot(registry))
        registry = root->name;
    else
        registry.clear();
    if (OnlyBackslashes(keys)) {
        keys.clear();
    } else {
        if (keys[0] != '\\')
            keys.insert(keys.begin(), '\\');
        if (keys.back() != '\\')
            keys += '\\';
    }
    if (OnlyBackslashes(value))
        value.clear();
    if (!keys.empty() && registry.empty())
        registry = "\\CurrentUser";

    m_sMachineName = CString(machine.c_str());
    m_sRegistryName = CString(registry.c_str());
    m_sKeyNames = CString(keys.c_str());
    m_sValueName = CString(value.c_str());
    m_bPartsBuilt = TRUE;
    m_bMainBuilt = FALSE;
    BuildMain();
}

void COXRegistryItem::BuildMain() {
    if (m_bMainBuilt)
        return;
    if (m_bPartsBuilt) {
        std::string whole = std::string((LPCTSTR)m_sMachineName) + (LPCTSTR)m_sRegistryName +
                            (LPCTSTR)m_sKeyNames + (LPCTSTR)m_sValueName;
        m_sFullRegistryItem = CString(NormaliseMain(whole).c_str());
    } else {
        Empty();
        m_bPartsBuilt = TRUE;
    }
    m_bMainBuilt = TRUE;
}

CString COXRegistryItem::GetFullRegistryItem() {
    BuildMain();
    return m_sFullRegistryItem;
}

CString COXRegistryItem::GetMachineName() {
    SplitParts();
    return m_sMachineName;
}

CString COXRegistryItem::GetRegistryName() {
    SplitParts();
    return m_sRegistryName;
}

CString COXRegistryItem::GetKeyNames() {
    SplitParts();
    return m_sKeyNames;
}

CString COXRegistryItem::GetValueName() {
    SplitParts();
    return m_sValueName;
}

BOOL COXRegistryItem::Close() {
    m_nLastError = 0;
    if (m_hKey) {
        LONG rc = RegCloseKey(m_hKey);
        if (rc != 0)
            SetStatus(rc);
        m_hKey = nullptr;
    }
    if (m_hRootKey) {
        LONG rc = RegCloseKey(m_hRootKey);
        if (rc != 0)
            SetStatus(rc);
        m_hRootKey = nullptr;
    }
    return m_nLastError >= 0;
}

BOOL COXRegistryItem::ConnectRoot() {
    SplitParts();
    HKEY root = HKEY_CURRENT_USER;
    if (const Root* r = m_sRegistryName.IsEmpty() ? nullptr : FindRoot((LPCTSTR)m_sRegistryName))
        root = r->key;
    if (m_sMachineName.IsEmpty()) {
        m_hRootKey = root;
        return SetStatus(0);
    }
    HKEY connected = nullptr;
    LONG rc = RegConnectRegistry(m_sMachineName, root, &connected);
    m_hRootKey = rc == 0 ? connected : nullptr;
    return SetStatus(rc);
}

BOOL COXRegistryItem::Open(BOOL create, REGSAM access, LPTSTR className, DWORD options,
                           LPSECURITY_ATTRIBUTES security, LPDWORD disposition) {
    Close();
    if (!ConnectRoot()) {
        LONG status = m_nLastError;
        Close();
        m_nLastError = status;
        return FALSE;
    }
    std::string keys = StripKeyNames(GetKeyNames());
    LONG rc = create ? RegCreateKeyEx(m_hRootKey, keys.c_str(), 0, className, options, access, security, &m_hKey,
                                      disposition)
                     : RegOpenKeyEx(m_hRootKey, keys.c_str(), options, access, &m_hKey);
    if (rc != 0) {
        m_hKey = nullptr;
        Close();
        return SetStatus(rc);
    }
    return SetStatus(0);
}

BOOL COXRegistryItem::EnsureOpen(BOOL create, REGSAM fallback) {
    if (m_hKey)
        return TRUE;
    return Open(create, KEY_ALL_ACCESS) || Open(create, fallback);
}

CString COXRegistryItem::ResolveValueName(LPCTSTR valueName) {
    CString name = valueName && *valueName ? CString(valueName) : GetValueName();
    if (strcasecmp(name, "NoName") == 0)
        name.Empty();
    return name;
}

BOOL COXRegistryItem::GetValue(LPBYTE* data, LPCTSTR valueName, DWORD requiredType, DWORD* type, DWORD* size) {
    if (data)
        *data = nullptr;
    if (type)
        *type = 0;
    if (size)
        *size = 0;
    CString name = ResolveValueName(valueName);
    if (!EnsureOpen(FALSE, KEY_QUERY_VALUE))
        return FALSE;
    DWORD storedType = 0, storedSize = 0;
    if (!SetStatus(RegQueryValueEx(m_hKey, name, nullptr, &storedType, nullptr, &storedSize)))
        return FALSE;
    if (requiredType != 0 && requiredType != storedType)
        return SetStatus(ERROR_INVALID_DATA);
    if (type)
        *type = storedType;
    if (size)
        *size = storedSize;
    if (data && storedSize != 0) {
        LPBYTE buffer = new BYTE[storedSize];
        DWORD got = storedSize;
        if (!SetStatus(RegQueryValueEx(m_hKey, name, nullptr, &storedType, buffer, &got))) {
            delete[] buffer;
            return FALSE;
        }
        if (size)
            *size = got;
        *data = buffer;
    }
    return TRUE;
}

BOOL COXRegistryItem::SetValue(LPCTSTR valueName, const BYTE* data, DWORD type, DWORD size) {
    CString name = ResolveValueName(valueName);
    if (!EnsureOpen(TRUE, KEY_SET_VALUE))
        return FALSE;
    return SetStatus(RegSetValueEx(m_hKey, name, 0, type, data, size));
}

CString COXRegistryItem::GetStringValue(LPCTSTR valueName, BOOL acceptExpandable, BOOL expand,
                                        LPCTSTR defaultValue) {
    LPBYTE data = nullptr;
    DWORD type = 0, size = 0;
    CString result;
    if (!GetValue(&data, valueName, acceptExpandable ? 0 : REG_SZ, &type, &size)) {
        result = defaultValue;
        type = REG_EXPAND_SZ;
    } else if (type == REG_SZ || type == REG_EXPAND_SZ) {
        // A value stored without its terminating zero still ends at its size.
        const char* text = reinterpret_cast<const char*>(data);
        result = data ? CString(text, (int)strnlen(text, size)) : CString();
    } else {
        SetStatus(ERROR_INVALID_DATA);
    }
    delete[] data;
    if (acceptExpandable && expand && type == REG_EXPAND_SZ)
        result = ExpandEnvironmentVars(result);
    return result;
}

BOOL COXRegistryItem::SetStringValue(LPCTSTR text, LPCTSTR valueName, BOOL expandable) {
    const char* t = text ? text : "";
    return SetValue(valueName, reinterpret_cast<const BYTE*>(t), expandable ? REG_EXPAND_SZ : REG_SZ,
                    (DWORD)std::strlen(t) + 1);
}

BOOL COXRegistryItem::Delete() {
    CString value = GetValueName();
    if (!value.IsEmpty()) {
        CString name = ResolveValueName(value);
        if (!EnsureOpen(FALSE, KEY_SET_VALUE))
            return FALSE;
        return SetStatus(RegDeleteValue(m_hKey, name));
    }
    // Without key names this would name the root itself: refused.
    if (GetKeyNames().IsEmpty())
        return SetStatus(ERROR_INVALID_PARAMETER);
    if (!m_hRootKey && !ConnectRoot()) {
        LONG status = m_nLastError;
        Close();
        m_nLastError = status;
        return FALSE;
    }
    std::string keys = StripKeyNames(GetKeyNames());
    if (m_hKey) {
        RegCloseKey(m_hKey);
        m_hKey = nullptr;
    }
    LONG status = Status(RegDeleteKey(m_hRootKey, keys.c_str()));
    Close();
    m_nLastError = status;
    return m_nLastError >= 0;
}

BOOL COXRegistryItem::QueryInfoKey(LPTSTR className, LPDWORD classLength, LPDWORD subkeys, LPDWORD maxSubkeyLength,
                                   LPDWORD maxClassLength, LPDWORD values, LPDWORD maxValueNameLength,
                                   LPDWORD maxValueLength, LPDWORD securityDescriptorSize,
                                   PFILETIME lastWriteTime) {
    if (!EnsureOpen(FALSE, KEY_QUERY_VALUE))
        return FALSE;
    return SetStatus(RegQueryInfoKey(m_hKey, className, classLength, nullptr, subkeys, maxSubkeyLength,
                                     maxClassLength, values, maxValueNameLength, maxValueLength,
                                     securityDescriptorSize, lastWriteTime));
}

int COXRegistryItem::GetMaxSubkeyNameLength() {
    DWORD length = 0;
    if (!QueryInfoKey(nullptr, nullptr, nullptr, &length))
        return -1;
    return (int)length;
}

CString COXRegistryItem::EnumerateSubkey(DWORD index) {
    if (!EnsureOpen(FALSE, KEY_ENUMERATE_SUB_KEYS))
        return CString();
    std::vector<char> name(300);
    DWORD length = (DWORD)name.size();
    LONG rc = RegEnumKeyEx(m_hKey, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_MORE_DATA) {
        int longest = GetMaxSubkeyNameLength();
        if (longest >= 0) {
            name.assign((size_t)longest + 1, 0);
            length = (DWORD)name.size();
            rc = RegEnumKeyEx(m_hKey, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        }
    }
    if (!SetStatus(rc))
        return CString();
    return CString(name.data(), (int)length);
}

void COXRegistryItem::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << GetFullRegistryItem();
    } else {
        CString path;
        ar >> path;
        SetFullRegistryItem(path);
    }
}

CString COXRegistryItem::ExpandEnvironmentVars(LPCTSTR text) {
    DWORD needed = ExpandEnvironmentStrings(text, nullptr, 0);
    if (needed == 0)
        return CString(text);
    std::vector<char> buffer(needed);
    DWORD got = ExpandEnvironmentStrings(text, buffer.data(), needed);
    if (got > needed)
        return CString();
    return CString(buffer.data());
}
