// CObject with run-time class information and dynamic creation.
#pragma once

#include "platform/base/Types.h"

class CObject;
class CArchive;

// A schema number with this bit lets a class read every schema it was stored with (GetObjectSchema).
#define VERSIONABLE_SCHEMA 0x80000000u

struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;  // 0xFFFF: not serializable
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
    BOOL IsSerializable() const { return GetRuntimeClass()->m_wSchema != 0xFFFF; }
    // Stores or loads the object's data; CObject has none.
    virtual void Serialize(CArchive& ar);
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

// A class an archive can store and create again: its objects are read with `ar >> pointer`, which
// accepts this class and the classes derived from it.
#define DECLARE_SERIAL(class_name) \
    DECLARE_DYNCREATE(class_name)  \
    friend CArchive& operator>>(CArchive& ar, class_name*& object);

#define IMPLEMENT_SERIAL(class_name, base_class_name, schema)                                            \
    CObject* class_name::CreateObject() {                                                                \
        return new class_name;                                                                           \
    }                                                                                                    \
    const CRuntimeClass class_name::class##class_name = {#class_name, (int)sizeof(class_name), (schema), \
                                                         class_name::CreateObject,                       \
                                                         RUNTIME_CLASS(base_class_name)};                \
    const CRuntimeClass* class_name::GetRuntimeClass() const {                                           \
        return RUNTIME_CLASS(class_name);                                                                \
    }                                                                                                    \
    static CRuntimeClassRegistrar s_register##class_name(RUNTIME_CLASS(class_name));                     \
    CArchive& operator>>(CArchive& ar, class_name*& object) {                                            \
        object = static_cast<class_name*>(ar.ReadObject(RUNTIME_CLASS(class_name)));                     \
        return ar;                                                                                       \
    }

// Checked downcast: null when the object is not of that class.
inline CObject* DynamicDownCast(const CRuntimeClass* cls, CObject* p) {
    return (p && p->IsKindOf(cls)) ? p : nullptr;
}
#define DYNAMIC_DOWNCAST(class_name, object) \
    static_cast<class_name*>(DynamicDownCast(RUNTIME_CLASS(class_name), (object)))
#define STATIC_DOWNCAST(class_name, object) static_cast<class_name*>(object)
