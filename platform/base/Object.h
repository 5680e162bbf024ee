// CObject with run-time class information and dynamic creation.
#pragma once

#include "platform/base/Types.h"

class CObject;

struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
    BOOL IsDerivedFrom(const CRuntimeClass* base) const;
    // The registered class of that name, or null.
    static const CRuntimeClass* FromName(const char* name);
};

// Registers a run-time class so FromName finds it.
struct CRuntimeClassRegistrar {
    explicit CRuntimeClassRegistrar(const CRuntimeClass* cls);
};

class CObject {
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* cls) const { return GetRuntimeClass()->IsDerivedFrom(cls); }
    static const CRuntimeClass classCObject;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)               \
public:                                           \
    static const CRuntimeClass class##class_name; \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();

#define IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, create)                                   \
    const CRuntimeClass class_name::class##class_name = {#class_name, (int)sizeof(class_name), 0xFFFF, \
                                                         create, RUNTIME_CLASS(base_class_name)};      \
    const CRuntimeClass* class_name::GetRuntimeClass() const {                                         \
        return RUNTIME_CLASS(class_name);                                                              \
    }                                                                                                  \
    static CRuntimeClassRegistrar s_register##class_name(RUNTIME_CLASS(class_name));

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name) \
    CObject* class_name::CreateObject() {                \
        return new class_name;                           \
    }                                                    \
    IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, class_name::CreateObject)

// Checked downcast: null when the object is not of that class.
template <class T>
T* DynamicDownCast(CObject* p) {
    return (p && p->IsKindOf(RUNTIME_CLASS(T))) ? static_cast<T*>(p) : nullptr;
}
#define DYNAMIC_DOWNCAST(class_name, object) DynamicDownCast<class_name>(object)
#define STATIC_DOWNCAST(class_name, object) static_cast<class_name*>(object)
