// Every running copy of the application knows the others and how many may run: the copies that use one
// name share a named block holding the maximum allowed and the list of their process ids, guarded by a
// named mutex. Each copy registers itself when its manager is made and unregisters when it goes; the
// others are told by posted messages.
#pragma once

#include <map>

#include "platform/base/Collections.h"
#include "platform/base/Object.h"
#include "platform/base/SharedObjects.h"
#include "platform/base/String.h"
#include "platform/user/User.h"

#define OXIM_INSTANCE_ADDED 0x80C8    // lParam: the process id that registered
#define OXIM_INSTANCE_REMOVED 0x80C9  // lParam: the process id that unregistered

class COXInstanceManager : public CObject {
public:
    static constexpr DWORD kMaxInstances = 1000;

    COXInstanceManager(LPCTSTR name, DWORD additionalDataSize = 0);
    ~COXInstanceManager() override;
    COXInstanceManager(const COXInstanceManager&) = delete;
    COXInstanceManager& operator=(const COXInstanceManager&) = delete;

    // FALSE when 1,000 ids are registered already.
    BOOL AddInstance(DWORD processId);
    // FALSE when the id is not registered.
    BOOL RemoveInstance(DWORD processId);
    int GetInstanceCount();
    BOOL GetInstanceList(CDWordArray& ids);
    DWORD GetMaxAllowedInstances();
    BOOL SetMaxAllowedInstances(DWORD maximum, BOOL closeExtra = FALSE);
    // TRUE when more copies run than allowed; with `activate` another copy's main window comes forward.
    BOOL ActivateInstance(BOOL activate = TRUE);
    // The process's first visible, unowned top-level window that is not a tool window.
    HWND FindInstanceWindow(DWORD processId);
    // Asks that window to close (WM_CLOSE posted) when it exists and is enabled.
    BOOL CloseInstance(DWORD processId);

protected:
    struct InstanceList {
        uint32_t maximum;
        uint32_t count;
        uint32_t ids[kMaxInstances];
    };
    // The list view mapped and the list mutex held while it lives.
    class ListLock {
    public:
        explicit ListLock(COXInstanceManager& manager);
        ~ListLock();
        InstanceList* operator->() const { return m_list; }
        explicit operator bool() const { return m_list != nullptr; }

    private:
        COXInstanceManager& m_manager;
        InstanceList* m_list = nullptr;
        bool m_locked = false;
    };

    // Drops ids of ended processes and of processes running another program; a block with no live id or
    // an impossible count starts anew. Called with the list held.
    void DropStaleInstances(InstanceList* list);
    // Fills in, for each process id of the map, its main window (the first that FindInstanceWindow takes).
    static void FindMainWindows(std::map<DWORD, HWND>& windows);
    void PostToInstances(const InstanceList* list, UINT message, DWORD processId, DWORD skip);

    CString m_sName;
    DWORD m_nListSize = 0;
    DWORD m_nAdditionalSize = 0;
    CMutex m_listMutex;
    CMutex m_additionalMutex;
    HANDLE m_hMap = nullptr;
    void* m_pListView = nullptr;
    void* m_pAdditionalView = nullptr;
};
