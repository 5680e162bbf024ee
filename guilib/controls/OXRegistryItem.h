// One place in the registry named by a single text path:
//     [\\machine][\Root][\key\...\][value]
// Roots: \ClassesRoot, \CurrentUser, \LocalMachine, \Users, \PerformanceData, \CurrentConfig, \DynData
// (case-blind; \CurrentUser when keys are named without a root). The value name "NoName" (any case) is
// the key's default value. The item splits the path lazily, opens its key on demand, and keeps the
// result of the last registry call as a status: 0 on success, 0x80070000 | error number on failure.
#pragma once

#include "platform/base/Archive.h"
#include "platform/base/Object.h"
#include "platform/base/Registry.h"
#include "platform/base/String.h"

class COXRegistryItem : public CObject {
    DECLARE_DYNAMIC(COXRegistryItem)

public:
    // Stores the path as given (not normalised).
    explicit COXRegistryItem(LPCTSTR fullRegistryItem = nullptr);
    ~COXRegistryItem() override;
    COXRegistryItem(const COXRegistryItem&) = delete;
    COXRegistryItem& operator=(const COXRegistryItem&) = delete;

    // Stores and normalises the path, then closes the item; Close's result.
    BOOL SetFullRegistryItem(LPCTSTR fullRegistryItem);
    void Empty();
    CString GetFullRegistryItem();
    CString GetMachineName();
    CString GetRegistryName();
    CString GetKeyNames();
    CString GetValueName();

    // The status of the last registry call (0 or a negative 0x8007xxxx value).
    LONG GetLastError() const { return m_nLastError; }

    BOOL Close();
    BOOL Open(BOOL create = TRUE, REGSAM access = KEY_ALL_ACCESS, LPTSTR className = nullptr,
              DWORD options = REG_OPTION_NON_VOLATILE, LPSECURITY_ATTRIBUTES security = nullptr,
              LPDWORD disposition = nullptr);

    // Reads a value (null or empty name: the item's value; "NoName": the default value). With `data`,
    // *data receives a buffer of the value's bytes, allocated with new[] for the caller to delete[]
    // (null on failure or for an empty value). A `requiredType` other than 0 must match the stored type.
    BOOL GetValue(LPBYTE* data, LPCTSTR valueName = nullptr, DWORD requiredType = 0, DWORD* type = nullptr,
                  DWORD* size = nullptr);
    // Writes a value, creating the key when missing.
    BOOL SetValue(LPCTSTR valueName, const BYTE* data, DWORD type, DWORD size);
    // A string value. With `acceptExpandable` any stored type is queried (other than REG_SZ and
    // REG_EXPAND_SZ it gives "" and the invalid-data status); with both flags an expandable string (or the
    // default, taken when the query fails) has its %VARIABLES% expanded.
    CString GetStringValue(LPCTSTR valueName = nullptr, BOOL acceptExpandable = FALSE, BOOL expand = FALSE,
                           LPCTSTR defaultValue = nullptr);
    BOOL SetStringValue(LPCTSTR text, LPCTSTR valueName = nullptr, BOOL expandable = FALSE);
    // Deletes the item's value, or, without a value name, its key (refused while the key has sub-keys,
    // and for an item without key names).
    BOOL Delete();
    BOOL QueryInfoKey(LPTSTR className = nullptr, LPDWORD classLength = nullptr, LPDWORD subkeys = nullptr,
                      LPDWORD maxSubkeyLength = nullptr, LPDWORD maxClassLength = nullptr, LPDWORD values = nullptr,
                      LPDWORD maxValueNameLength = nullptr, LPDWORD maxValueLength = nullptr,
                      LPDWORD securityDescriptorSize = nullptr, PFILETIME lastWriteTime = nullptr);
    // The longest sub-key name, or -1.
    int GetMaxSubkeyNameLength();
    // The name of the index-th sub-key; "" past the last one (with a failing status).
    CString EnumerateSubkey(DWORD index);

    void Serialize(CArchive& ar) override;

    // %VARIABLES% expanded; the text as it is when the platform cannot tell the size, "" when the
    // expansion outgrew the size it announced.
    static CString ExpandEnvironmentVars(LPCTSTR text);

protected:
    void SplitParts();
    void BuildMain();
    BOOL ConnectRoot();
    // Opens the key when none is open: all access first, then `fallback`.
    BOOL EnsureOpen(BOOL create, REGSAM fallback);
    CString ResolveValueName(LPCTSTR valueName);
    BOOL SetStatus(LONG error);

    CString m_sFullRegistryItem;
    BOOL m_bMainBuilt;
    CString m_sMachineName;
    CString m_sRegistryName;
    CString m_sKeyNames;
    CString m_sValueName;
    BOOL m_bPartsBuilt;
    HKEY m_hRootKey;
    HKEY m_hKey;
    LONG m_nLastError;
};

// The application's item, used for the version check of its stored settings.
extern COXRegistryItem g_registryItem;
