#include "platform/base/Object.h"

#include <cstring>
#include <map>
#include <mutex>
#include <string>

namespace {
struct Registry {
    std::mutex lock;
    std::map<std::string, const CRuntimeClass*> byName;
};
Registry& ClassRegistry() {
    static Registry r;
    return r;
}
}  // namespace

const CRuntimeClass CObject::classCObject = {"CObject", (int)sizeof(CObject), 0xFFFF, nullptr, nullptr};

const CRuntimeClass* CObject::GetRuntimeClass() const {
    return &classCObject;
}

void CObject::Serialize(CArchive&) {}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
        if (c == base)
            return TRUE;
    return FALSE;
}

const CRuntimeClass* CRuntimeClass::FromName(const char* name) {
    if (!name)
        return nullptr;
    if (std::strcmp(name, "CObject") == 0)
        return &CObject::classCObject;
    Registry& r = ClassRegistry();
    std::lock_guard<std::mutex> g(r.lock);
    auto it = r.byName.find(name);
    return it == r.byName.end() ? nullptr : it->second;
}

CRuntimeClassRegistrar::CRuntimeClassRegistrar(const CRuntimeClass* cls) {
    Registry& r = ClassRegistry();
    std::lock_guard<std::mutex> g(r.lock);
    r.byName[cls->m_lpszClassName] = cls;
}
