#include "platform/user/Accelerators.h"

#include <algorithm>
#include <map>
#include <mutex>

#include "platform/base/HandleTable.h"
#include "platform/user/Resources.h"

namespace {
struct Table {
    std::vector<ACCEL> entries;
    bool loaded = false;
};

std::mutex g_mutex;
HandleTable<Table, HACCEL> g_tables{0x30000};  // guarded by g_mutex
std::map<const AcceleratorTemplate*, HACCEL> g_loaded;

HACCEL Add(std::vector<ACCEL> entries, bool loaded) {
    return g_tables.Add(Table{std::move(entries), loaded});
}

bool Down(int vk) {
    return (GetKeyState(vk) & 0x8000) != 0;
}
}  // namespace

HACCEL LoadAccelerators(HINSTANCE, LPCTSTR name) {
    if (!name || !IS_INTRESOURCE(name))
        return nullptr;
    const AcceleratorTemplate* tmpl = FindAcceleratorTemplate((UINT)(uintptr_t)name);
    if (!tmpl)
        return nullptr;
    std::lock_guard<std::mutex> g(g_mutex);
    HACCEL& h = g_loaded[tmpl];
    if (!h)
        h = Add(tmpl->entries, true);
    return h;
}

HACCEL CreateAcceleratorTable(const ACCEL* entries, int count) {
    if (!entries || count <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::lock_guard<std::mutex> g(g_mutex);
    return Add(std::vector<ACCEL>(entries, entries + count), false);
}

int CopyAcceleratorTable(HACCEL table, ACCEL* entries, int count) {
    std::lock_guard<std::mutex> g(g_mutex);
    const Table* t = g_tables.Find(table);
    if (!t)
        return 0;
    const std::vector<ACCEL>& v = t->entries;
    if (!entries)
        return (int)v.size();
    int n = std::min(count, (int)v.size());
    if (n > 0)
        std::copy(v.begin(), v.begin() + n, entries);
    return std::max(n, 0);
}

BOOL DestroyAcceleratorTable(HACCEL table) {
    std::lock_guard<std::mutex> g(g_mutex);
    const Table* t = g_tables.Find(table);
    if (!t)
        return FALSE;
    if (!t->loaded)
        g_tables.Remove(table);
    return TRUE;
}

int TranslateAccelerator(HWND hwnd, HACCEL table, LPMSG msg) {
    if (!msg || !IsWindow(hwnd))
        return 0;
    UINT m = msg->message;
    bool keyDown = m == WM_KEYDOWN || m == WM_SYSKEYDOWN;
    bool character = m == WM_CHAR || m == WM_SYSCHAR;
    if (!keyDown && !character)
        return 0;
    BYTE held = (Down(VK_SHIFT) ? FSHIFT : 0) | (Down(VK_CONTROL) ? FCONTROL : 0) |
                (Down(VK_MENU) || (msg->lParam & (1 << 29)) ? FALT : 0);  // bit 29: Alt held
    WORD cmd = 0;
    bool found = false;
    {
        std::lock_guard<std::mutex> g(g_mutex);
        const Table* t = g_tables.Find(table);
        if (!t)
            return 0;
        for (const ACCEL& a : t->entries) {
            if (a.fVirt & FVIRTKEY) {
                // A virtual key with exactly the modifiers the entry names.
                found =
                    keyDown && a.key == (WORD)msg->wParam && (a.fVirt & (FSHIFT | FCONTROL | FALT)) == held;
            } else {
                // A character; only Alt is told apart, the character itself carries Shift and Ctrl.
                found = character && a.key == (WORD)msg->wParam &&
                        ((a.fVirt & FALT) != 0) == ((held & FALT) != 0);
            }
            if (found) {
                cmd = a.cmd;
                break;
            }
        }
    }
    if (!found)
        return 0;
    SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(cmd, 1), 0);
    return 1;
}
