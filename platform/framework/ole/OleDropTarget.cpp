#include "platform/framework/ole/OleDropTarget.h"

#include <map>
#include <mutex>

IMPLEMENT_DYNAMIC(COleDropTarget, CCmdTarget)

int COleDropTarget::nScrollInset = 11;
UINT COleDropTarget::nScrollDelay = 50;
UINT COleDropTarget::nScrollInterval = 50;

namespace {
std::mutex g_targetsMutex;
std::map<HWND, COleDropTarget*> g_targets;  // guarded by g_targetsMutex
}  // namespace

COleDropTarget::~COleDropTarget() {
    Revoke();
}

BOOL COleDropTarget::Register(CWnd* wnd) {
    HWND hwnd = wnd ? wnd->GetSafeHwnd() : nullptr;
    if (!hwnd || !::IsWindow(hwnd))
        return FALSE;
    std::lock_guard<std::mutex> g(g_targetsMutex);
    auto it = g_targets.find(hwnd);
    if (it != g_targets.end() && it->second != this)
        return FALSE;
    if (m_hWnd && m_hWnd != hwnd)
        g_targets.erase(m_hWnd);
    g_targets[hwnd] = this;
    m_hWnd = hwnd;
    return TRUE;
}

void COleDropTarget::Revoke() {
    std::lock_guard<std::mutex> g(g_targetsMutex);
    if (!m_hWnd)
        return;
    auto it = g_targets.find(m_hWnd);
    if (it != g_targets.end() && it->second == this)
        g_targets.erase(it);
    m_hWnd = nullptr;
}

COleDropTarget* COleDropTarget::FromWindow(HWND hwnd) {
    std::lock_guard<std::mutex> g(g_targetsMutex);
    auto it = g_targets.find(hwnd);
    if (it == g_targets.end())
        return nullptr;
    // A window destroyed without revoking its target leaves the entry: it goes at the first look.
    if (!::IsWindow(hwnd)) {
        it->second->m_hWnd = nullptr;
        g_targets.erase(it);
        return nullptr;
    }
    return it->second;
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd*, COleDataObject*, DWORD, POINT) {
    return DROPEFFECT_NONE;
}

DROPEFFECT COleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, POINT) {
    return DROPEFFECT_NONE;
}

void COleDropTarget::OnDragLeave(CWnd*) {}

BOOL COleDropTarget::OnDrop(CWnd*, COleDataObject*, DROPEFFECT, POINT) {
    return FALSE;
}

DROPEFFECT COleDropTarget::OnDropEx(CWnd*, COleDataObject*, DROPEFFECT, DROPEFFECT, POINT) {
    return (DROPEFFECT)-1;
}

DROPEFFECT COleDropTarget::OnDragScroll(CWnd*, DWORD, POINT) {
    return DROPEFFECT_NONE;
}
