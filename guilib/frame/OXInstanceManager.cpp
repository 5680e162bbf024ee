#include "guilib/frame/OXInstanceManager.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/base/Process.h"

namespace {
DWORD Granularity() {
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    return info.dwAllocationGranularity ? info.dwAllocationGranularity : 65536;
}

DWORD RoundUp(DWORD size, DWORD unit) {
    return (size + unit - 1) / unit * unit;
}

std::string ExecutableOf(const std::string& proc) {
    char path[4096];
    ssize_t n = ::readlink(proc.c_str(), path, sizeof path - 1);
    return n > 0 ? std::string(path, (size_t)n) : std::string();
}

// A process that runs and runs this very program.
bool RunsThisProgram(DWORD pid) {
    if (pid == 0 || (::kill((pid_t)pid, 0) != 0 && errno != EPERM))
        return false;
    static const std::string self = ExecutableOf("/proc/self/exe");
    std::string exe = ExecutableOf("/proc/" + std::to_string(pid) + "/exe");
    return !exe.empty() && exe == self;
}

CString ObjectName(const char* prefix, LPCTSTR name) {
    return CString(prefix) + (name ? name : "");
}
}  // namespace

COXInstanceManager::COXInstanceManager(LPCTSTR name, DWORD additionalDataSize)
    : m_sName(name ? name : ""),
      m_listMutex(FALSE, ObjectName("COXInstanceManager_InstanceList_Mutex_", name)),
      m_additionalMutex(FALSE, ObjectName("COXInstanceManager_Additional_Mutex_", name)) {
    DWORD granularity = Granularity();
    m_nListSize = RoundUp((DWORD)sizeof(InstanceList), granularity);
    m_nAdditionalSize = RoundUp(additionalDataSize, granularity);
    m_hMap = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE | SEC_COMMIT, 0,
                               m_nListSize + m_nAdditionalSize, ObjectName("COXInstanceManager_FileMap_", name));
    bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    if (m_hMap && m_nAdditionalSize)
        m_pAdditionalView = MapViewOfFile(m_hMap, FILE_MAP_ALL_ACCESS, 0, m_nListSize, m_nAdditionalSize);
    {
        ListLock list(*this);
        if (list) {
            if (!existed) {
                std::memset(&*list.operator->(), 0, sizeof(InstanceList));
                list->maximum = 1;
            } else {
                DropStaleInstances(list.operator->());
            }
        }
    }
    AddInstance(GetCurrentProcessId());
}

COXInstanceManager::~COXInstanceManager() {
    RemoveInstance(GetCurrentProcessId());
    if (m_pAdditionalView)
        UnmapViewOfFile(m_pAdditionalView);
    if (m_hMap)
        CloseHandle(m_hMap);
}

COXInstanceManager::ListLock::ListLock(COXInstanceManager& manager) : m_manager(manager) {
    if (!manager.m_hMap)
        return;
    auto* view = static_cast<InstanceList*>(
        MapViewOfFile(manager.m_hMap, FILE_MAP_ALL_ACCESS, 0, 0, manager.m_nListSize));
    if (!view)
        return;
    // A mutex left by a copy that ended while holding it is taken all the same.
    DWORD wait = WaitForSingleObject(manager.m_listMutex.m_hObject, INFINITE);
    if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED) {
        UnmapViewOfFile(view);
        return;
    }
    m_locked = true;
    m_list = view;
    manager.m_pListView = view;
}

COXInstanceManager::ListLock::~ListLock() {
    if (m_list) {
        UnmapViewOfFile(m_list);
        m_manager.m_pListView = nullptr;
    }
    if (m_locked)
        ReleaseMutex(m_manager.m_listMutex.m_hObject);
}

void COXInstanceManager::DropStaleInstances(InstanceList* list) {
    if (list->count > kMaxInstances) {
        std::memset(list, 0, sizeof(InstanceList));
        list->maximum = 1;
        return;
    }
    uint32_t kept = 0;
    for (uint32_t i = 0; i < list->count; ++i)
        if (RunsThisProgram(list->ids[i]))
            list->ids[kept++] = list->ids[i];
    for (uint32_t i = kept; i < list->count; ++i)
        list->ids[i] = 0;
    list->count = kept;
    if (kept == 0) {
        std::memset(list, 0, sizeof(InstanceList));
        list->maximum = 1;
    }
}

void COXInstanceManager::PostToInstances(const InstanceList* list, UINT message, DWORD processId, DWORD skip) {
    // One pass over the top-level windows finds the main window of every registered copy.
    std::map<DWORD, HWND> windows;
    for (uint32_t i = 0; i < list->count && i < kMaxInstances; ++i)
        if (list->ids[i] != skip)
            windows.emplace(list->ids[i], nullptr);
    if (windows.empty())
        return;
    FindMainWindows(windows);
    for (uint32_t i = 0; i < list->count && i < kMaxInstances; ++i) {
        auto it = windows.find(list->ids[i]);
        if (it != windows.end() && it->second)
            ::PostMessage(it->second, message, 0, (LPARAM)processId);
    }
}

BOOL COXInstanceManager::AddInstance(DWORD processId) {
    ListLock list(*this);
    if (!list || list->count >= kMaxInstances)
        return FALSE;
    PostToInstances(list.operator->(), OXIM_INSTANCE_ADDED, processId, 0);
    list->ids[list->count++] = processId;
    return TRUE;
}

BOOL COXInstanceManager::RemoveInstance(DWORD processId) {
    ListLock list(*this);
    if (!list)
        return FALSE;
    uint32_t count = std::min<uint32_t>(list->count, kMaxInstances);
    for (uint32_t i = 0; i < count; ++i) {
        if (list->ids[i] != processId)
            continue;
        std::memmove(&list->ids[i], &list->ids[i + 1], (count - i - 1) * sizeof(uint32_t));
        list->ids[count - 1] = 0;
        list->count = count - 1;
        PostToInstances(list.operator->(), OXIM_INSTANCE_REMOVED, processId, 0);
        return TRUE;
    }
    return FALSE;
}

int COXInstanceManager::GetInstanceCount() {
    ListLock list(*this);
    return list ? (int)std::min<uint32_t>(list->count, kMaxInstances) : 0;
}

BOOL COXInstanceManager::GetInstanceList(CDWordArray& ids) {
    ListLock list(*this);
    if (!list)
        return FALSE;
    ids.RemoveAll();
    for (uint32_t i = 0; i < list->count && i < kMaxInstances; ++i)
        ids.Add(list->ids[i]);
    return TRUE;
}

DWORD COXInstanceManager::GetMaxAllowedInstances() {
    ListLock list(*this);
    return list ? list->maximum : 0;
}

BOOL COXInstanceManager::SetMaxAllowedInstances(DWORD maximum, BOOL closeExtra) {
    std::vector<DWORD> ids;
    {
        ListLock list(*this);
        if (!list)
            return FALSE;
        list->maximum = maximum;
        for (uint32_t i = 0; i < list->count && i < kMaxInstances; ++i)
            ids.push_back(list->ids[i]);
    }
    if (!closeExtra || ids.size() <= maximum)
        return TRUE;
    size_t extra = ids.size() - maximum;
    size_t asked = 0;
    DWORD self = GetCurrentProcessId();
    for (size_t i = ids.size(); i-- > 0 && asked < extra;) {
        if (ids[i] == self)
            continue;
        if (CloseInstance(ids[i]))
            ++asked;
    }
    if (asked < extra)
        CloseInstance(self);
    return TRUE;
}

BOOL COXInstanceManager::ActivateInstance(BOOL activate) {
    DWORD other = 0;
    BOOL exceeded = FALSE;
    {
        ListLock list(*this);
        if (!list)
            return FALSE;
        exceeded = list->maximum < list->count;
        if (list->count > 0)
            other = list->ids[0] != GetCurrentProcessId() ? list->ids[0] : list->count > 1 ? list->ids[1] : 0;
    }
    if (exceeded && activate && other) {
        if (HWND window = FindInstanceWindow(other)) {
            ::SetForegroundWindow(window);
            if (::IsIconic(window))
                ::ShowWindow(window, SW_RESTORE);
        }
    }
    return exceeded;
}

namespace {
BOOL CollectMainWindows(HWND hwnd, LPARAM param) {
    auto* windows = reinterpret_cast<std::map<DWORD, HWND>*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    auto it = windows->find(pid);
    if (it == windows->end() || it->second || ::GetWindow(hwnd, GW_OWNER) ||
        (::GetWindowLong(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) || !::IsWindowVisible(hwnd))
        return TRUE;
    it->second = hwnd;
    return TRUE;
}
}  // namespace

void COXInstanceManager::FindMainWindows(std::map<DWORD, HWND>& windows) {
    ::EnumWindows(CollectMainWindows, reinterpret_cast<LPARAM>(&windows));
}

HWND COXInstanceManager::FindInstanceWindow(DWORD processId) {
    std::map<DWORD, HWND> windows{{processId, nullptr}};
    FindMainWindows(windows);
    return windows[processId];
}

BOOL COXInstanceManager::CloseInstance(DWORD processId) {
    HWND window = FindInstanceWindow(processId);
    if (!window || !::IsWindowEnabled(window))
        return FALSE;
    ::PostMessage(window, WM_CLOSE, 0, 0);
    return TRUE;
}
