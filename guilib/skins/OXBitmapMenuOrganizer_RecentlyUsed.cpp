// Recently used items: the sets of what is not recently used, the promotion of a chosen command, the
// expand item and the thread hooks that run while a filtered menu is open, and the sets in the profile.
#include <algorithm>
#include <vector>

#include "guilib/skins/OXBitmapMenuOrganizer.h"
#include "platform/base/Exceptions.h"
#include "platform/base/MemFile.h"
#include "platform/base/Profile.h"
#include "platform/framework/app/WinThread.h"

HHOOK COXBitmapMenuOrganizer::s_hMouseHook = nullptr;
HHOOK COXBitmapMenuOrganizer::s_hKeyboardHook = nullptr;

namespace {
// The positions leading from `root` down to `target`, outermost first; false when it is not below.
bool PathTo(HMENU root, HMENU target, std::vector<int32_t>& path, int depth = 0) {
    if (depth > 16 || !::IsMenu(root))
        return false;
    int count = ::GetMenuItemCount(root);
    for (int i = 0; i < count; ++i) {
        HMENU sub = ::GetSubMenu(root, i);
        if (!sub)
            continue;
        path.push_back(i);
        if (sub == target || PathTo(sub, target, path, depth + 1))
            return true;
        path.pop_back();
    }
    return false;
}

// Reads the archive's integers; false when it ends early.
bool ReadInt(CArchive& ar, int32_t& v) {
    try {
        ar >> v;
        return true;
    } catch (CArchiveException* e) {
        e->Delete();
        return false;
    }
}

// The bytes of a profile blob as a loading archive's file.
bool LoadBlob(LPCTSTR section, LPCTSTR sizeEntry, std::vector<BYTE>& bytes) {
    if ((int)AfxGetProfile().GetProfileInt(section, sizeEntry, -1) == -1)
        return false;
    BYTE* data = nullptr;
    UINT size = 0;
    if (!AfxGetProfile().GetProfileBinary(section, "RUContents", &data, &size) || !data)
        return false;
    bytes.assign(data, data + size);
    delete[] data;
    return true;
}

void SaveBlob(LPCTSTR section, LPCTSTR sizeEntry, CMemFile& file) {
    UINT length = (UINT)file.GetLength();
    BYTE* data = file.Detach();
    AfxGetProfile().WriteProfileBinary(section, "RUContents", data, length);
    AfxGetProfile().WriteProfileInt(section, sizeEntry, (int)length);
    free(data);
}
}  // namespace

void COXBitmapMenuOrganizer::SetShowOnlyRecentlyUsed(BOOL on) {
    if (on == m_bShowOnlyRecentlyUsed)
        return;
    m_bShowOnlyRecentlyUsed = on;
}

BOOL COXBitmapMenuOrganizer::ExcludeFromRecentlyUsed(UINT id) {
    if (id == 0)
        return FALSE;
    return m_hiddenCommands.insert(id).second;
}

BOOL COXBitmapMenuOrganizer::ExcludePopupFromRecentlyUsed(HMENU popup) {
    return m_hiddenPopups.insert(popup).second;
}

BOOL COXBitmapMenuOrganizer::AddToRecentlyUsed(UINT id) {
    return m_hiddenCommands.erase(id) > 0;
}

BOOL COXBitmapMenuOrganizer::AddPopupToRecentlyUsed(HMENU popup) {
    return m_hiddenPopups.erase(popup) > 0;
}

BOOL COXBitmapMenuOrganizer::IsRecentlyUsed(COXBitmapMenu* menu, int position) const {
    return IsRecentlyUsed(menu ? menu->m_hMenu : nullptr, position);
}

BOOL COXBitmapMenuOrganizer::IsRecentlyUsed(HMENU menu, int position) const {
    if (position == -1)
        return TRUE;
    if (HMENU sub = ::GetSubMenu(menu, position))
        return IsPopupRecentlyUsed(sub);
    return IsCommandRecentlyUsed(::GetMenuItemID(menu, position));
}

void COXBitmapMenuOrganizer::SaveRUContents(CArchive& ar) {
    ar << (int32_t)m_hiddenCommands.size();
    for (UINT id : m_hiddenCommands)
        ar << (int32_t)id;
}

void COXBitmapMenuOrganizer::LoadRUContents(CArchive& ar) {
    int32_t count;
    if (!ReadInt(ar, count))
        return;
    std::set<UINT> read;
    for (int32_t i = 0; i < count; ++i) {
        int32_t id;
        if (!ReadInt(ar, id))
            return;  // ends early: the set stays as it was
        if (id != 0)
            read.insert((UINT)id);
    }
    m_hiddenCommands = std::move(read);
}

void COXBitmapMenuOrganizer::SaveRUSubmenuContents(HMENU root, CArchive& ar) {
    ar << (int32_t)m_hiddenPopups.size();
    for (HMENU popup : m_hiddenPopups) {
        std::vector<int32_t> path;
        if (::IsMenu(popup) && PathTo(root, popup, path))
            for (int32_t p : path)
                ar << p;
        ar << (int32_t)-1;
    }
}

void COXBitmapMenuOrganizer::LoadRUSubmenuContents(HMENU root, CArchive& ar) {
    int32_t count;
    if (!ReadInt(ar, count))
        return;
    std::set<HMENU> read;
    for (int32_t i = 0; i < count; ++i) {
        HMENU at = root;
        bool found = true;
        int steps = 0;
        for (;;) {
            int32_t position;
            if (!ReadInt(ar, position))
                return;
            if (position == -1)
                break;
            if (++steps > 16)
                return;  // deeper than any menu: damaged
            HMENU next = at ? ::GetSubMenu(at, position) : nullptr;
            if (!next)
                found = false;
            at = next;
        }
        if (found && steps > 0 && at)
            read.insert(at);
    }
    m_hiddenPopups = std::move(read);
}

BOOL COXBitmapMenuOrganizer::SaveRUState(LPCTSTR section) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store, 4096);
        SaveRUContents(ar);
        ar.Close();
    }
    SaveBlob(section, "RUItemsDataSize", file);
    return TRUE;
}

BOOL COXBitmapMenuOrganizer::LoadRUState(LPCTSTR section) {
    std::vector<BYTE> bytes;
    if (!LoadBlob(section, "RUItemsDataSize", bytes))
        return TRUE;
    CMemFile file(bytes.data(), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load, 4096);
    LoadRUContents(ar);
    ar.Abort();
    return TRUE;
}

BOOL COXBitmapMenuOrganizer::SaveRUSubmenuState(HMENU root, LPCTSTR section) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store, 4096);
        SaveRUSubmenuContents(root, ar);
        ar.Close();
    }
    SaveBlob(section, "RUItemsDataSize", file);
    return TRUE;
}

BOOL COXBitmapMenuOrganizer::LoadRUSubmenuState(HMENU root, LPCTSTR section) {
    std::vector<BYTE> bytes;
    if (!LoadBlob(section, "RUItemsDataSize", bytes))
        return TRUE;
    CMemFile file(bytes.data(), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load, 4096);
    LoadRUSubmenuContents(root, ar);
    ar.Abort();
    return TRUE;
}

// ---- The menu loop

void COXBitmapMenuOrganizer::OnCommandChosen(UINT id) {
    if (!m_bShowOnlyRecentlyUsed || m_trace.empty())
        return;
    bool changed = AddToRecentlyUsed(id) != FALSE;
    for (size_t i = 1; i < m_trace.size(); ++i)
        changed = AddPopupToRecentlyUsed(m_trace[i].menu) || changed;
    if (changed && m_hFrameWnd)
        ::SendMessage(m_hFrameWnd, WM_OX_RECENTLY_USED_CHANGED, 0, 0);
}

void COXBitmapMenuOrganizer::ExpandMenus() {
    m_bExpanded = TRUE;
    if (m_trace.empty() || m_nPopupDepth <= 0)
        return;
    size_t current = std::min((size_t)m_nPopupDepth, m_trace.size()) - 1;
    HMENU currentMenu = m_trace[current].menu;
    HWND currentWindow = m_popupWindows.count(currentMenu) ? m_popupWindows[currentMenu] : nullptr;
    bool frameMenu = m_hFrameWnd && ::GetMenu(m_hFrameWnd) != nullptr;
    bool locked = false;
    if (currentWindow) {
        if (frameMenu) {
            ::PostMessage(currentWindow, WM_KEYDOWN, VK_ESCAPE, 0x10001);
        } else {
            locked = m_trace.size() == 1;
            if (locked)
                ::LockWindowUpdate(m_hFrameWnd);
            ::SendMessage(currentWindow, WM_KEYDOWN, VK_ESCAPE, 0x10001);
            if (locked)
                ::LockWindowUpdate(nullptr);
        }
    }
    // Every converted menu shows its items again, except open popups other than the current one.
    std::list<COXBitmapMenu*> menus = m_convertedMenus;
    for (COXBitmapMenu* menu : menus) {
        auto open = m_popupWindows.find(menu->m_hMenu);
        bool stillOpen = open != m_popupWindows.end() && ::IsWindow(open->second) && menu->m_hMenu != currentMenu;
        if (!stillOpen)
            RestoreMenu(menu, TRUE);
    }
    if (locked)
        return;
    HWND target = m_trace.size() == 1 ? m_hFrameWnd
                                      : (m_popupWindows.count(m_trace[current > 0 ? current - 1 : 0].menu)
                                             ? m_popupWindows[m_trace[current > 0 ? current - 1 : 0].menu]
                                             : m_hFrameWnd);
    if (frameMenu)
        ::PostMessage(target, WM_KEYDOWN, VK_RETURN, 0x1C0001);
    else
        ::SendMessage(target, WM_KEYDOWN, VK_RETURN, 0x1C0001);
}

void COXBitmapMenuOrganizer::OnExitMenuLoop(BOOL popupMenu) {
    if (!popupMenu && m_bExpanded) {
        m_bExpanded = FALSE;
        if (m_bShowOnlyRecentlyUsed)
            RestoreAll(TRUE);
    }
    if (!popupMenu) {
        m_bMenuLoop = FALSE;
        m_nPopupDepth = 0;
    } else {
        m_nPopupDepth = 0;
    }
    RemoveHooks();
}

void COXBitmapMenuOrganizer::RemoveHooks() {
    if (s_hMouseHook) {
        ::UnhookWindowsHookEx(s_hMouseHook);
        s_hMouseHook = nullptr;
    }
    if (s_hKeyboardHook) {
        ::UnhookWindowsHookEx(s_hKeyboardHook);
        s_hKeyboardHook = nullptr;
    }
}

LRESULT COXBitmapMenuOrganizer::CALLBACK_MouseHook(int code, WPARAM wParam, LPARAM lParam) {
    bool button = wParam == WM_LBUTTONDOWN || wParam == WM_LBUTTONUP || wParam == WM_LBUTTONDBLCLK ||
                  wParam == WM_RBUTTONDOWN || wParam == WM_RBUTTONUP || wParam == WM_RBUTTONDBLCLK;
    CWnd* main = AfxGetMainWnd();
    COXBitmapMenuOrganizer* organizer = main ? FindOrganizer(main->m_hWnd) : nullptr;
    if (code < 0 || !button || !organizer)
        return ::CallNextHookEx(s_hMouseHook, code, wParam, lParam);
    auto* info = reinterpret_cast<MOUSEHOOKSTRUCT*>(lParam);
    HWND under = ::WindowFromPoint(info->pt);
    for (size_t i = 0; i < organizer->m_trace.size(); ++i) {
        HMENU menu = organizer->m_trace[i].menu;
        auto w = organizer->m_popupWindows.find(menu);
        if (w == organizer->m_popupWindows.end() || w->second != under)
            continue;
        for (size_t j = organizer->m_trace.size(); j-- > i + 1;) {
            auto deeper = organizer->m_popupWindows.find(organizer->m_trace[j].menu);
            if (deeper != organizer->m_popupWindows.end() && ::IsWindow(deeper->second))
                ::SendMessage(deeper->second, WM_KEYDOWN, VK_ESCAPE, 0x10001);
        }
        organizer->m_nPopupDepth = (int)i + 1;
        int item = ::MenuItemFromPoint(nullptr, menu, info->pt);
        if (item >= 0 && ::GetMenuItemID(menu, item) == ID_OX_SHOWALLITEMS) {
            if (wParam != WM_LBUTTONDOWN && wParam != WM_RBUTTONDOWN)
                ::PostMessage(organizer->m_hFrameWnd, WM_COMMAND, ID_OX_SHOWALLITEMS, 0);
            return 1;
        }
        break;
    }
    return ::CallNextHookEx(s_hMouseHook, code, wParam, lParam);
}

LRESULT COXBitmapMenuOrganizer::CALLBACK_KeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
    CWnd* main = AfxGetMainWnd();
    COXBitmapMenuOrganizer* organizer = main ? FindOrganizer(main->m_hWnd) : nullptr;
    if (code < 0 || wParam != VK_RETURN || !organizer)
        return ::CallNextHookEx(s_hKeyboardHook, code, wParam, lParam);
    HWND top = ::GetTrackedPopupWindow();
    for (const PopupTrace& trace : organizer->m_trace) {
        auto w = organizer->m_popupWindows.find(trace.menu);
        if (w == organizer->m_popupWindows.end() || w->second != top)
            continue;
        int last = ::GetMenuItemCount(trace.menu) - 1;
        if (last >= 0 && ::GetMenuItemID(trace.menu, last) == ID_OX_SHOWALLITEMS &&
            (::GetMenuState(trace.menu, (UINT)last, MF_BYPOSITION) & MF_HILITE)) {
            if (!(lParam & 0xE0000000))
                ::PostMessage(organizer->m_hFrameWnd, WM_COMMAND, ID_OX_SHOWALLITEMS, 0);
            return 1;
        }
        break;
    }
    return ::CallNextHookEx(s_hKeyboardHook, code, wParam, lParam);
}
