// Kernel objects and the handles that name them. A HANDLE is an entry of one process-wide table, so a
// closed or made-up handle is refused with ERROR_INVALID_HANDLE and never dereferenced. Each handle
// holds a reference; an object lives while a handle or its own work (a process being reaped) needs it.
#pragma once

#include <memory>

#include "platform/base/Types.h"

#define INFINITE 0xFFFFFFFF
#define WAIT_OBJECT_0 0x00000000L
#define WAIT_TIMEOUT 258L
#define WAIT_FAILED ((DWORD)0xFFFFFFFF)
#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)

class KernelObject {
public:
    KernelObject() = default;
    KernelObject(const KernelObject&) = delete;
    KernelObject& operator=(const KernelObject&) = delete;
    virtual ~KernelObject() = default;

    // Waits until the object is signalled or the time is up: WAIT_OBJECT_0 or WAIT_TIMEOUT. An object
    // that cannot be waited for gives WAIT_FAILED with ERROR_INVALID_HANDLE.
    virtual DWORD Wait(DWORD milliseconds);
};

// Enters the object in the handle table and returns its new handle (never NULL or INVALID_HANDLE_VALUE).
HANDLE CreateKernelHandle(std::shared_ptr<KernelObject> object);
// The object a handle names, or null (last error ERROR_INVALID_HANDLE) when the handle is not open.
std::shared_ptr<KernelObject> ReferenceKernelHandle(HANDLE handle);
// The object a handle names when it is of kind T, else null with ERROR_INVALID_HANDLE.
template <class T>
std::shared_ptr<T> ReferenceKernelHandleAs(HANDLE handle) {
    std::shared_ptr<T> object = std::dynamic_pointer_cast<T>(ReferenceKernelHandle(handle));
    if (!object)
        SetLastError(ERROR_INVALID_HANDLE);
    return object;
}

BOOL CloseHandle(HANDLE handle);
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
