#include "platform/framework/CmdTarget.h"

#include <utility>

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindEntry(UINT message, UINT code, UINT id) const {
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e) {
            if (message >= 0xC000 && e->nMessage == 0xC000) {
                if (*reinterpret_cast<const UINT*>(e->nSig) == message) return e;
                continue;
            }
            if (e->nMessage != message) continue;
            if (message == WM_COMMAND || message == WM_NOTIFY) {
                if (e->nCode == code && id >= e->nID && id <= e->nLastID) return e;
                continue;
            }
            if (message == WM_REFLECT_BASE + WM_NOTIFY) {
                if (e->nCode == code) return e;
                continue;
            }
            return e;
        }
        if (!map->pfnGetBaseMap) break;
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, void*) {
    // A notification carries its NMHDR and result (a std::pair) in pExtra; a command carries nothing.
    UINT message = pExtra ? WM_NOTIFY : WM_COMMAND;
    const AFX_MSGMAP_ENTRY* e = FindEntry(message, (UINT)nCode, nID);
    if (!e) return FALSE;
    switch (e->nSig) {
    case AfxSig_vv: (this->*e->pfn)(); return TRUE;
    case AfxSig_vw: (this->*AfxPmsgAs<void (CCmdTarget::*)(UINT)>(e->pfn))(nID); return TRUE;
    case AfxSig_vNMHDRpl: {
        auto* args = static_cast<std::pair<NMHDR*, LRESULT*>*>(pExtra);
        (this->*AfxPmsgAs<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(e->pfn))(args->first, args->second);
        return TRUE;
    }
    default: return FALSE;
    }
}
