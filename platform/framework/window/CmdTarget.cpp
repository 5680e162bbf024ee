#include "platform/framework/window/CmdTarget.h"

#include "platform/framework/window/CmdUI.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindEntry(UINT message, UINT code, UINT id) const {
    bool routed = message == WM_COMMAND || message == WM_NOTIFY;
    bool reflected = message == WM_REFLECT_BASE + WM_COMMAND || message == WM_REFLECT_BASE + WM_NOTIFY;
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e) {
            if (message >= 0xC000 && message <= 0xFFFF && e->nMessage == 0xC000) {
                if (*reinterpret_cast<const UINT*>(e->nSig) == message)
                    return e;
                continue;
            }
            if (e->nMessage != message)
                continue;
            if ((routed || reflected) && (WORD)e->nCode != (WORD)code)
                continue;
            if (routed && (id < e->nID || id > e->nLastID))
                continue;
            return e;
        }
        if (!map->pfnGetBaseMap)
            break;
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    UINT message = HIWORD((UINT)nCode) == WM_NOTIFY ? WM_NOTIFY : WM_COMMAND;
    UINT code = LOWORD((UINT)nCode);
    const AFX_MSGMAP_ENTRY* e = FindEntry(message, code, nID);
    if (!e)
        return FALSE;
    if (pHandlerInfo) {
        pHandlerInfo->pTarget = this;
        pHandlerInfo->pmf = e->pfn;
        return TRUE;
    }
    if (code == LOWORD(CN_UPDATE_COMMAND_UI) && message == WM_COMMAND) {
        auto* ui = static_cast<CCmdUI*>(pExtra);
        if (!ui)
            return FALSE;
        // A handler that calls ContinueRouting lets the next target have the item too.
        ui->m_bContinueRouting = FALSE;
        if (e->nSig == AfxSig_cmdui)
            (this->*AfxPmsgAs<void (CCmdTarget::*)(CCmdUI*)>(e->pfn))(ui);
        else if (e->nSig == AfxSig_cmduiw)
            (this->*AfxPmsgAs<void (CCmdTarget::*)(CCmdUI*, UINT)>(e->pfn))(ui, nID);
        else
            return FALSE;
        BOOL handled = !ui->m_bContinueRouting;
        ui->m_bContinueRouting = FALSE;
        return handled;
    }
    auto* notify = static_cast<AFX_NOTIFY*>(pExtra);
    if (message == WM_NOTIFY && !notify)
        return FALSE;
    switch (e->nSig) {
        case AfxSig_vv:
            (this->*e->pfn)();
            return TRUE;
        case AfxSig_vw:
            (this->*AfxPmsgAs<void (CCmdTarget::*)(UINT)>(e->pfn))(nID);
            return TRUE;
        case AfxSig_bw:
            return (this->*AfxPmsgAs<BOOL (CCmdTarget::*)(UINT)>(e->pfn))(nID);
        case AfxSig_vNMHDRpl:
            (this->*AfxPmsgAs<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(e->pfn))(notify->pNMHDR,
                                                                               notify->pResult);
            return TRUE;
        case AfxSig_vwNMHDRpl:
            (this->*AfxPmsgAs<void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(e->pfn))(nID, notify->pNMHDR,
                                                                                     notify->pResult);
            return TRUE;
        case AfxSig_bwNMHDRpl:
            return (this->*AfxPmsgAs<BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(e->pfn))(
                nID, notify->pNMHDR, notify->pResult);
        default:
            return FALSE;
    }
}
