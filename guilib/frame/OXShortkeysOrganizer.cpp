#include "guilib/frame/OXShortkeysOrganizer.h"

#include <cstdio>
#include <cstring>

#include "guilib/frame/OXRegistryValFile.h"
#include "platform/base/Registry.h"
#include "platform/framework/app/WinThread.h"
#include "platform/framework/docview/DocTemplate.h"
#include "platform/framework/frames/MDIChildWnd.h"
#include "platform/framework/frames/MDIFrameWnd.h"
#include "platform/user/Keyboard.h"

namespace {
constexpr BYTE kFlagMask = (BYTE)~FNOINVERT;

std::vector<ACCEL> ReadTable(HACCEL table) {
    int count = CopyAcceleratorTable(table, nullptr, 0);
    std::vector<ACCEL> entries((size_t)std::max(count, 0));
    if (count > 0)
        CopyAcceleratorTable(table, entries.data(), count);
    return entries;
}

HACCEL MakeTable(const std::vector<ACCEL>& entries) {
    return entries.empty() ? nullptr : CreateAcceleratorTable(entries.data(), (int)entries.size());
}

struct KeyName {
    const char* name;
    WORD key;
};
const KeyName kKeyNames[] = {
    {"Slash", 191},      {"Enter", 13},     {"End", 35},       {"Insert", 45},    {"Del", 46},
    {"Home", 36},        {"Page Up", 33},   {"Page Down", 34}, {"Esc", 27},       {"Num /", 111},
    {"Num *", 106},      {"Num -", 109},    {"Num +", 107},    {"Up", 38},        {"Down", 40},
    {"Right", 39},       {"Left", 37},
};
}  // namespace

BOOL COXShortkeysOrganizer::Attach(CFrameWnd* frame, BOOL build) {
    if (m_pFrameWnd)
        return FALSE;
    m_pFrameWnd = frame;
    if (build)
        BuildTables();
    return TRUE;
}

BOOL COXShortkeysOrganizer::Detach() {
    m_pFrameWnd = nullptr;
    m_arrAccelTables.clear();
    m_arrRemovedAccelerators.clear();
    return TRUE;
}

void COXShortkeysOrganizer::BuildTables() {
    m_arrAccelTables.clear();
    if (!m_pFrameWnd)
        return;
    if (m_pFrameWnd->m_hAccelTable) {
        OXACCELTABLE table;
        table.m_accelerators = ReadTable(m_pFrameWnd->m_hAccelTable);
        m_arrAccelTables.push_back(std::move(table));
    }
    CWinApp* app = AfxGetApp();
    if (!app || app->m_pMainWnd != m_pFrameWnd || !m_pFrameWnd->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
        return;
    POSITION pos = app->GetFirstDocTemplatePosition();
    while (pos) {
        CDocTemplate* t = app->GetNextDocTemplate(pos);
        auto* docTemplate = dynamic_cast<CMultiDocTemplate*>(t);
        if (!docTemplate || !docTemplate->m_hAccelTable || FindTable(docTemplate))
            continue;
        OXACCELTABLE table;
        table.m_pDocTemplate = docTemplate;
        table.m_accelerators = ReadTable(docTemplate->m_hAccelTable);
        m_arrAccelTables.push_back(std::move(table));
    }
}

OXACCELTABLE* COXShortkeysOrganizer::FindTable(CMultiDocTemplate* docTemplate) {
    for (OXACCELTABLE& table : m_arrAccelTables)
        if (table.m_pDocTemplate == docTemplate)
            return &table;
    return nullptr;
}

OXACCELTABLE* COXShortkeysOrganizer::FindRemovedTable(CMultiDocTemplate* docTemplate, BOOL create) {
    for (OXACCELTABLE& table : m_arrRemovedAccelerators)
        if (table.m_pDocTemplate == docTemplate)
            return &table;
    if (!create)
        return nullptr;
    OXACCELTABLE table;
    table.m_pDocTemplate = docTemplate;
    m_arrRemovedAccelerators.push_back(std::move(table));
    return &m_arrRemovedAccelerators.back();
}

CString COXShortkeysOrganizer::GetKeyText(const ACCEL* accel) {
    CString text;
    if (!accel)
        return text;
    if (accel->fVirt & FSHIFT)
        text += "Shift+";
    if (accel->fVirt & FCONTROL)
        text += "Ctrl+";
    if (accel->fVirt & FALT)
        text += "Alt+";
    if (!(accel->fVirt & FVIRTKEY)) {
        text += (char)accel->key;
        return text;
    }
    if (accel->key == 191) {
        text += "Slash";
        return text;
    }
    // The cursor and page keys share their scan codes with the keypad: the extended bit names them. Enter
    // is left plain, as its extended form is the keypad's own Enter.
    LONG lParam = (LONG)(MapVirtualKey(accel->key, MAPVK_VK_TO_VSC) << 16);
    if (accel->key < 48 && accel->key != VK_RETURN)
        lParam |= 1L << 24;
    char name[10] = {0};
    GetKeyNameText(lParam, name, (int)sizeof name);
    text += name;
    return text;
}

BOOL COXShortkeysOrganizer::ParseKeyText(const CString& source, ACCEL* accel) {
    if (!accel)
        return FALSE;
    CString text = source;
    text.Trim();
    if (text.IsEmpty())
        return FALSE;
    BYTE flags = FVIRTKEY;
    int plus;
    while (text.GetLength() > 1 && (plus = text.Find('+')) >= 0 && plus != text.GetLength() - 1) {
        CString word = text.Left(plus);
        word.Trim();
        if (word.CompareNoCase("Shift") == 0)
            flags |= FSHIFT;
        else if (word.CompareNoCase("Ctrl") == 0)
            flags |= FCONTROL;
        else if (word.CompareNoCase("Alt") == 0)
            flags |= FALT;
        text = text.Mid(plus + 1);
    }
    WORD key = 0;
    if (text.GetLength() == 1) {
        if (text[0] == '/') {
            key = 111;
        } else {
            SHORT scan = VkKeyScan(text[0]);
            if (scan == -1)
                return FALSE;
            key = (WORD)(scan & 0xFF);
        }
    } else {
        bool found = false;
        for (const KeyName& k : kKeyNames)
            if (text.CompareNoCase(k.name) == 0) {
                key = k.key;
                found = true;
                break;
            }
        for (int n = 1; !found && n <= 12; ++n) {
            char name[8];
            snprintf(name, sizeof name, "F%d", n);
            if (text.CompareNoCase(name) == 0) {
                key = (WORD)(VK_F1 + n - 1);
                found = true;
            }
        }
        for (int n = 0; !found && n <= 9; ++n) {
            char name[8];
            snprintf(name, sizeof name, "Num %d", n);
            if (text.CompareNoCase(name) == 0) {
                key = (WORD)(VK_NUMPAD0 + n);
                found = true;
            }
        }
        if (!found)
            return FALSE;
    }
    accel->fVirt = flags;
    accel->key = key;
    accel->cmd = 0;
    return TRUE;
}

WORD COXShortkeysOrganizer::FindAccelerator(BYTE flags, WORD key, CMultiDocTemplate* docTemplate) {
    if (!m_pFrameWnd)
        return 0;
    OXACCELTABLE* table = FindTable(docTemplate);
    if (!table)
        return 0;
    for (const ACCEL& a : table->m_accelerators)
        if ((a.fVirt & kFlagMask) == (flags & kFlagMask) && a.key == key)
            return a.cmd;
    return 0;
}

namespace {
BOOL HasKey(const std::vector<OXACCELTABLE>& tables, BYTE flags, WORD key, BYTE mask) {
    for (const OXACCELTABLE& table : tables)
        for (const ACCEL& a : table.m_accelerators)
            if ((a.fVirt & mask) == (flags & mask) && a.key == key)
                return TRUE;
    return FALSE;
}
}  // namespace

BOOL COXShortkeysOrganizer::FindKeyInTables(BYTE flags, WORD key) const {
    return HasKey(m_arrAccelTables, flags, key, kFlagMask);
}

BOOL COXShortkeysOrganizer::FindKeyInRemovedKeys(BYTE flags, WORD key) const {
    return HasKey(m_arrRemovedAccelerators, flags, key, kFlagMask);
}

BOOL COXShortkeysOrganizer::GetCommandAccelerators(WORD command, CMultiDocTemplate* docTemplate,
                                                   std::vector<ACCEL>& accelerators) {
    if (!m_pFrameWnd)
        return FALSE;
    OXACCELTABLE* table = FindTable(docTemplate);
    if (!table)
        return FALSE;
    for (const ACCEL& a : table->m_accelerators)
        if (a.cmd == command)
            accelerators.push_back(a);
    return TRUE;
}

BOOL COXShortkeysOrganizer::RemoveAt(OXACCELTABLE& table, size_t index) {
    ACCEL removed = table.m_accelerators[index];
    CMultiDocTemplate* docTemplate = table.m_pDocTemplate;
    table.m_accelerators.erase(table.m_accelerators.begin() + (ptrdiff_t)index);
    FindRemovedTable(docTemplate, TRUE)->m_accelerators.push_back(removed);
    return TRUE;
}

BOOL COXShortkeysOrganizer::RemoveAccelerator(BYTE flags, WORD key, WORD command,
                                              CMultiDocTemplate* docTemplate) {
    if (!m_pFrameWnd)
        return FALSE;
    OXACCELTABLE* table = FindTable(docTemplate);
    if (!table)
        return FALSE;
    for (size_t i = 0; i < table->m_accelerators.size(); ++i) {
        const ACCEL& a = table->m_accelerators[i];
        if ((a.fVirt & kFlagMask) == (flags & kFlagMask) && a.key == key && a.cmd == command)
            return RemoveAt(*table, i);
    }
    return TRUE;
}

BOOL COXShortkeysOrganizer::RemoveAccelerator(const ACCEL* accel, CMultiDocTemplate* docTemplate) {
    return accel && RemoveAccelerator(accel->fVirt, accel->key, accel->cmd, docTemplate);
}

BOOL COXShortkeysOrganizer::RemoveCommand(WORD command, CMultiDocTemplate* docTemplate) {
    if (!m_pFrameWnd)
        return FALSE;
    OXACCELTABLE* table = FindTable(docTemplate);
    if (!table)
        return FALSE;
    for (size_t i = table->m_accelerators.size(); i-- > 0;)
        if (table->m_accelerators[i].cmd == command)
            RemoveAt(*table, i);
    return TRUE;
}

BOOL COXShortkeysOrganizer::SetAccelerator(BYTE flags, WORD key, WORD command, CMultiDocTemplate* docTemplate,
                                           BOOL replace) {
    if (!m_pFrameWnd)
        return FALSE;
    OXACCELTABLE* table = FindTable(docTemplate);
    if (!table)
        return FALSE;
    WORD existing = FindAccelerator(flags, key, docTemplate);
    if (existing) {
        if (!replace)
            return FALSE;
        for (size_t i = 0; i < table->m_accelerators.size(); ++i) {
            const ACCEL& a = table->m_accelerators[i];
            if ((a.fVirt & kFlagMask) == (flags & kFlagMask) && a.key == key) {
                RemoveAt(*table, i);
                break;
            }
        }
    }
    table->m_accelerators.push_back(ACCEL{flags, key, command});
    return TRUE;
}

BOOL COXShortkeysOrganizer::Apply() {
    if (!m_pFrameWnd)
        return FALSE;
    for (const OXACCELTABLE& table : m_arrAccelTables) {
        HACCEL fresh = MakeTable(table.m_accelerators);
        if (!table.m_pDocTemplate) {
            HACCEL old = m_pFrameWnd->m_hAccelTable;
            m_pFrameWnd->m_hAccelTable = fresh;
            if (old && old != fresh)
                DestroyAcceleratorTable(old);
            continue;
        }
        CMultiDocTemplate* docTemplate = table.m_pDocTemplate;
        HACCEL old = docTemplate->m_hAccelTable;
        docTemplate->m_hAccelTable = fresh;
        // The open frames of the template's documents still hold the old table.
        POSITION pos = docTemplate->GetFirstDocPosition();
        while (pos) {
            CDocument* doc = docTemplate->GetNextDoc(pos);
            POSITION viewPos = doc ? doc->GetFirstViewPosition() : nullptr;
            while (viewPos) {
                CView* view = doc->GetNextView(viewPos);
                CFrameWnd* frame = view ? view->GetParentFrame() : nullptr;
                if (frame && frame->m_hAccelTable == old)
                    frame->m_hAccelTable = fresh;
            }
        }
        if (old && old != fresh)
            DestroyAcceleratorTable(old);
    }
    return TRUE;
}

void COXShortkeysOrganizer::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << (uint32_t)m_arrAccelTables.size();
        for (const OXACCELTABLE& table : m_arrAccelTables) {
            ar << (uint32_t)table.m_accelerators.size();
            for (const ACCEL& a : table.m_accelerators)
                ar << a.fVirt << a.key << a.cmd;
        }
        return;
    }
    // Read whole first: the tables change only when every table was read and their number matches.
    uint32_t tableCount = 0;
    ar >> tableCount;
    std::vector<std::vector<ACCEL>> loaded;
    for (uint32_t t = 0; t < tableCount; ++t) {
        uint32_t count = 0;
        ar >> count;
        std::vector<ACCEL> entries;
        for (uint32_t i = 0; i < count; ++i) {  // a short blob ends the read with the archive's exception
            ACCEL a{};
            ar >> a.fVirt >> a.key >> a.cmd;
            entries.push_back(a);
        }
        loaded.push_back(std::move(entries));
    }
    if (loaded.empty() || loaded.size() != m_arrAccelTables.size())
        return;
    for (size_t i = 0; i < loaded.size(); ++i)
        m_arrAccelTables[i].m_accelerators = std::move(loaded[i]);
}

namespace {
// HKCU\Software\<registry key>\<profile name>\<section>; empty without a registry key or profile name.
CString ProfileSectionKey(LPCTSTR section) {
    CWinApp* app = AfxGetApp();
    if (!app || app->m_pszRegistryKey.IsEmpty() || app->m_pszProfileName.IsEmpty() || !section)
        return CString();
    return "Software\\" + app->m_pszRegistryKey + "\\" + app->m_pszProfileName + "\\" + section;
}
}  // namespace

BOOL COXShortkeysOrganizer::SaveState(LPCTSTR section) {
    if (!m_pFrameWnd)
        return FALSE;
    CString key = ProfileSectionKey(section);
    if (key.IsEmpty())
        return FALSE;
    try {
        COXRegistryValFile file(HKEY_CURRENT_USER, key, "AcceleratorsState");
        file.SetLength(0);
        CArchive ar(&file, CArchive::store, 4096);
        Serialize(ar);
        ar.Close();
        file.Close();
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

BOOL COXShortkeysOrganizer::LoadState(LPCTSTR section, BOOL apply) {
    if (!m_pFrameWnd)
        return FALSE;
    CString key = ProfileSectionKey(section);
    if (key.IsEmpty())
        return FALSE;
    try {
        COXRegistryValFile file(HKEY_CURRENT_USER, key, "AcceleratorsState");
        if (file.GetLength() > 0) {
            CArchive ar(&file, CArchive::load, 4096);
            Serialize(ar);
            ar.Close();
        }
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
    if (apply)
        Apply();
    return TRUE;
}
