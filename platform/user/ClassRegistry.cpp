// Window classes: those the program registers and the system's own (dialogs and common
// controls, each registered by its own file).
#include <cstring>
#include <map>
#include <mutex>

#include "platform/base/String.h"
#include "platform/user/Controls.h"
#include "platform/user/Menu.h"
#include "platform/user/Mdi.h"
#include "platform/user/UserInternal.h"

namespace user {
namespace {
std::mutex g_classMutex;
std::map<std::string, std::shared_ptr<WindowClass>> g_classes;
// System classes a program registered a class of the same name over; unregistering brings them back.
std::map<std::string, std::shared_ptr<WindowClass>> g_shadowed;
ATOM g_nextAtom = 0xC000;

std::string Key(const std::string& name) {
    std::string k = name;
    for (char& c : k)
        c = AsciiLower(c);
    return k;
}

ATOM Add(const WNDCLASSEX& wc, bool system) {
    if (!wc.lpszClassName || !wc.lpfnWndProc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string name = IS_INTRESOURCE(wc.lpszClassName) ? "#" + std::to_string((uintptr_t)wc.lpszClassName)
                                                        : std::string(wc.lpszClassName);
    std::lock_guard<std::mutex> g(g_classMutex);
    auto& slot = g_classes[Key(name)];
    if (slot && !slot->system) {
        SetLastError(1410);  // ERROR_CLASS_ALREADY_EXISTS
        return 0;
    }
    if (slot && slot->system && !system)
        g_shadowed[Key(name)] = slot;
    auto cls = std::make_shared<WindowClass>();
    cls->name = name;
    cls->wc = wc;
    cls->wc.lpszClassName = nullptr;  // the name lives in cls->name
    cls->system = system;
    slot = cls;
    return g_nextAtom++;
}
}  // namespace

std::shared_ptr<WindowClass> FindClass(const std::string& name) {
    std::lock_guard<std::mutex> g(g_classMutex);
    auto it = g_classes.find(Key(name));
    return it == g_classes.end() ? nullptr : it->second;
}

ATOM RegisterSystemClass(const WNDCLASSEX& wc) {
    // The system's classes show the arrow unless they name a cursor of their own.
    WNDCLASSEX own = wc;
    if (!own.hCursor)
        own.hCursor = LoadCursor(nullptr, IDC_ARROW);
    return Add(own, true);
}

ATOM RegisterControlClass(LPCTSTR className, WNDPROC proc, UINT style, HCURSOR cursor) {
    WNDCLASSEX wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = sizeof(void*);
    wc.hCursor = cursor;
    wc.lpszClassName = className;
    return RegisterSystemClass(wc);
}

// platform/user/controls/ListBox.cpp.
void RegisterListBoxClass();
// platform/user/controls/Trackbar.cpp.
void RegisterTrackbarClass();
// platform/user/controls/HotKey.cpp.
void RegisterHotKeyClass();

void EnsureSystemClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterDialogClass();
        RegisterButtonClass();
        RegisterStaticClass();
        RegisterEditClass();
        RegisterProgressClass();
        RegisterMenuClass();
        RegisterMdiClientClass();
        RegisterScrollBarClass();
        RegisterHeaderClass();
        RegisterListViewClass();
        RegisterTreeViewClass();
        RegisterToolbarClass();
        RegisterStatusBarClass();
        RegisterTabClass();
        RegisterUpDownClass();
        RegisterTrackbarClass();
        RegisterComboBoxClass();
        RegisterToolTipClass();
        RegisterListBoxClass();
        RegisterHotKeyClass();
    });
}

}  // namespace user

using namespace user;

ATOM RegisterClassEx(const WNDCLASSEX* wc) {
    if (!wc)
        return 0;
    EnsureSystemClasses();
    return Add(*wc, false);
}

ATOM RegisterClass(const WNDCLASS* wc) {
    if (!wc)
        return 0;
    WNDCLASSEX ex{sizeof(WNDCLASSEX), wc->style,        wc->lpfnWndProc,   wc->cbClsExtra,
                  wc->cbWndExtra,     wc->hInstance,    wc->hIcon,         wc->hCursor,
                  wc->hbrBackground,  wc->lpszMenuName, wc->lpszClassName, nullptr};
    return RegisterClassEx(&ex);
}

BOOL UnregisterClass(LPCTSTR name, HINSTANCE) {
    if (!name || IS_INTRESOURCE(name))
        return FALSE;
    std::lock_guard<std::mutex> g(g_classMutex);
    auto it = g_classes.find(Key(name));
    if (it == g_classes.end() || it->second->system)
        return FALSE;
    auto shadowed = g_shadowed.find(it->first);
    if (shadowed != g_shadowed.end()) {
        it->second = shadowed->second;
        g_shadowed.erase(shadowed);
    } else {
        g_classes.erase(it);
    }
    return TRUE;
}

BOOL GetClassInfo(HINSTANCE, LPCTSTR name, WNDCLASS* wc) {
    EnsureSystemClasses();
    if (!name || !wc)
        return FALSE;
    auto cls = FindClass(IS_INTRESOURCE(name) ? "#" + std::to_string((uintptr_t)name) : std::string(name));
    if (!cls)
        return FALSE;
    const WNDCLASSEX& x = cls->wc;
    *wc = WNDCLASS{x.style, x.lpfnWndProc, x.cbClsExtra,    x.cbWndExtra,   x.hInstance,
                   x.hIcon, x.hCursor,     x.hbrBackground, x.lpszMenuName, nullptr};
    wc->lpszClassName = cls->name.c_str();
    return TRUE;
}

int GetClassName(HWND hwnd, LPTSTR buffer, int size) {
    if (!buffer || size <= 0)
        return 0;
    std::lock_guard<std::mutex> g(Lock());
    WindowData* w = Find(hwnd);
    if (!w || !w->cls)
        return 0;
    int n = std::min((int)w->cls->name.size(), size - 1);
    std::memcpy(buffer, w->cls->name.data(), (size_t)n);
    buffer[n] = 0;
    return n;
}

ULONG_PTR GetClassLongPtr(HWND hwnd, int index) {
    std::lock_guard<std::mutex> g(Lock());
    WindowData* w = Find(hwnd);
    if (!w || !w->cls)
        return 0;
    switch (index) {
        case GCLP_HBRBACKGROUND:
            return (ULONG_PTR)w->cls->wc.hbrBackground;
        case GCLP_HCURSOR:
            return (ULONG_PTR)w->cls->wc.hCursor;
        case GCLP_HICON:
            return (ULONG_PTR)w->cls->wc.hIcon;
        case GCLP_WNDPROC:
            return (ULONG_PTR)w->cls->wc.lpfnWndProc;
        case GCL_STYLE:
            return w->cls->wc.style;
        default:
            return 0;
    }
}

ULONG_PTR SetClassLongPtr(HWND hwnd, int index, LONG_PTR value) {
    std::lock_guard<std::mutex> g(Lock());
    WindowData* w = Find(hwnd);
    if (!w || !w->cls)
        return 0;
    ULONG_PTR old = 0;
    switch (index) {
        case GCLP_HBRBACKGROUND:
            old = (ULONG_PTR)w->cls->wc.hbrBackground;
            w->cls->wc.hbrBackground = (HBRUSH)value;
            break;
        case GCLP_HCURSOR:
            old = (ULONG_PTR)w->cls->wc.hCursor;
            w->cls->wc.hCursor = (HCURSOR)value;
            break;
        case GCLP_HICON:
            old = (ULONG_PTR)w->cls->wc.hIcon;
            w->cls->wc.hIcon = (HICON)value;
            break;
        case GCL_STYLE:
            old = w->cls->wc.style;
            w->cls->wc.style = (UINT)value;
            break;
        default:
            break;
    }
    return old;
}
