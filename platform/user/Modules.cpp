#include "platform/user/Modules.h"

#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <string>

namespace {

struct Export {
    const char* name;
    FARPROC proc;
};

struct Module {
    const char* name;
    std::vector<Export> exports;
    bool available = true;
    DWORD major = 0, minor = 0;
    int loads = 0;
};

std::string Lower(const char* s) {
    std::string r = s ? s : "";
    for (char& c : r)
        c = (char)std::tolower((unsigned char)c);
    return r;
}

std::mutex g_mutex;

HRESULT ComctlGetVersion(DLLVERSIONINFO* info);
HRESULT ThemeGetVersion(DLLVERSIONINFO* info);

template <class F>
FARPROC Proc(F f) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(f));
}

struct State {
    std::map<std::string, Module> modules;
    DWORD osMajor = 6, osMinor = 1, osPlatform = VER_PLATFORM_WIN32_NT;
    bool themeActive = false;
    std::map<int, COLORREF> themeColors;
    std::set<HTHEME> openThemes;
    int nextTheme = 1;

    State() { Reset(); }
    void Reset() {
        modules.clear();
        modules["comctl32.dll"] = Module{"comctl32.dll", {{"DllGetVersion", Proc(&ComctlGetVersion)}}, true, 5, 82, 0};
        modules["uxtheme.dll"] =
            Module{"uxtheme.dll",
                   {{"OpenThemeData", Proc(&OpenThemeData)},
                    {"CloseThemeData", Proc(&CloseThemeData)},
                    {"GetThemeSysColor", Proc(&GetThemeSysColor)},
                    {"IsAppThemed", Proc(&IsAppThemed)},
                    {"IsThemeActive", Proc(&IsThemeActive)},
                    {"DllGetVersion", Proc(&ThemeGetVersion)}},
                   true, 6, 0, 0};
        modules["msimg32.dll"] = Module{"msimg32.dll", {{"GradientFill", Proc(&GradientFill)}}, true, 6, 1, 0};
        osMajor = 6;
        osMinor = 1;
        osPlatform = VER_PLATFORM_WIN32_NT;
        themeActive = false;
        themeColors.clear();
        openThemes.clear();
    }
};

State& S() {
    static State s;
    return s;
}

// A module handle is the address of its table entry.
Module* FromHandle(HMODULE h) {
    for (auto& [key, m] : S().modules)
        if (reinterpret_cast<HMODULE>(&m) == h)
            return &m;
    return nullptr;
}

HRESULT Answer(const char* name, DLLVERSIONINFO* info) {
    if (!info || info->cbSize < sizeof(DLLVERSIONINFO))
        return E_INVALIDARG;
    std::lock_guard<std::mutex> g(g_mutex);
    const Module& m = S().modules[name];
    info->dwMajorVersion = m.major;
    info->dwMinorVersion = m.minor;
    info->dwBuildNumber = 0;
    info->dwPlatformID = DLLVER_PLATFORM_NT;
    return S_OK;
}
HRESULT ComctlGetVersion(DLLVERSIONINFO* info) {
    return Answer("comctl32.dll", info);
}
HRESULT ThemeGetVersion(DLLVERSIONINFO* info) {
    return Answer("uxtheme.dll", info);
}

}  // namespace

HMODULE LoadLibrary(LPCTSTR name) {
    std::lock_guard<std::mutex> g(g_mutex);
    auto it = S().modules.find(Lower(name));
    if (it == S().modules.end() || !it->second.available)
        return nullptr;
    ++it->second.loads;
    return reinterpret_cast<HMODULE>(&it->second);
}

HMODULE GetModuleHandleOfLibrary(LPCTSTR name) {
    std::lock_guard<std::mutex> g(g_mutex);
    auto it = S().modules.find(Lower(name));
    if (it == S().modules.end() || !it->second.available || it->second.loads <= 0)
        return nullptr;
    return reinterpret_cast<HMODULE>(&it->second);
}

BOOL FreeLibrary(HMODULE module) {
    std::lock_guard<std::mutex> g(g_mutex);
    Module* m = FromHandle(module);
    if (!m || m->loads <= 0)
        return FALSE;
    --m->loads;
    return TRUE;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
    std::lock_guard<std::mutex> g(g_mutex);
    Module* m = FromHandle(module);
    if (!m || !name || !m->available)
        return nullptr;
    for (const Export& e : m->exports)
        if (std::strcmp(e.name, name) == 0)
            return e.proc;
    return nullptr;
}

BOOL GetVersionEx(LPOSVERSIONINFO info) {
    if (!info || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFO))
        return FALSE;
    std::lock_guard<std::mutex> g(g_mutex);
    info->dwMajorVersion = S().osMajor;
    info->dwMinorVersion = S().osMinor;
    info->dwBuildNumber = 7601;
    info->dwPlatformId = S().osPlatform;
    std::memset(info->szCSDVersion, 0, sizeof(info->szCSDVersion));
    return TRUE;
}

DWORD GetVersion() {
    std::lock_guard<std::mutex> g(g_mutex);
    DWORD v = (S().osMajor & 0xFF) | ((S().osMinor & 0xFF) << 8);
    if (S().osPlatform == VER_PLATFORM_WIN32_NT)
        v |= 7601u << 16;
    else
        v |= 0x80000000u;
    return v;
}

HTHEME OpenThemeData(HWND, LPCWSTR classList) {
    static const char* const known[] = {"button", "toolbar", "rebar", "window", "menu", "tab", "status"};
    std::lock_guard<std::mutex> g(g_mutex);
    if (!S().themeActive || !classList)
        return nullptr;
    // The class list is a ';'-separated list: the first known class wins.
    std::string list;
    for (const WCHAR* p = classList; *p; ++p)
        list += (char)std::tolower((int)(*p & 0x7F));
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(';', start);
        std::string name = list.substr(start, end == std::string::npos ? std::string::npos : end - start);
        for (const char* k : known)
            if (name == k) {
                HTHEME h = reinterpret_cast<HTHEME>((INT_PTR)(0x7E000000 + S().nextTheme++));
                S().openThemes.insert(h);
                return h;
            }
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return nullptr;
}

HRESULT CloseThemeData(HTHEME theme) {
    std::lock_guard<std::mutex> g(g_mutex);
    return S().openThemes.erase(theme) ? S_OK : E_INVALIDARG;
}

COLORREF GetThemeSysColor(HTHEME theme, int colorId) {
    {
        std::lock_guard<std::mutex> g(g_mutex);
        if (S().openThemes.count(theme)) {
            auto it = S().themeColors.find(colorId);
            if (it != S().themeColors.end())
                return it->second;
        }
    }
    return GetSysColor(colorId);
}

BOOL IsAppThemed() {
    std::lock_guard<std::mutex> g(g_mutex);
    return S().themeActive;
}

BOOL IsThemeActive() {
    std::lock_guard<std::mutex> g(g_mutex);
    return S().themeActive;
}

void SetModuleAvailableForTest(LPCTSTR name, BOOL available) {
    std::lock_guard<std::mutex> g(g_mutex);
    auto it = S().modules.find(Lower(name));
    if (it != S().modules.end())
        it->second.available = available != FALSE;
}

void SetDllVersionForTest(LPCTSTR name, DWORD major, DWORD minor) {
    std::lock_guard<std::mutex> g(g_mutex);
    auto it = S().modules.find(Lower(name));
    if (it != S().modules.end()) {
        it->second.major = major;
        it->second.minor = minor;
    }
}

void SetOsVersionForTest(DWORD major, DWORD minor, DWORD platformId) {
    std::lock_guard<std::mutex> g(g_mutex);
    S().osMajor = major;
    S().osMinor = minor;
    S().osPlatform = platformId;
}

void SetThemeActiveForTest(BOOL active) {
    std::lock_guard<std::mutex> g(g_mutex);
    S().themeActive = active != FALSE;
}

void SetThemeSysColorForTest(int colorId, COLORREF color) {
    std::lock_guard<std::mutex> g(g_mutex);
    S().themeColors[colorId] = color;
}

int GetOpenThemeCountForTest() {
    std::lock_guard<std::mutex> g(g_mutex);
    return (int)S().openThemes.size();
}

void ResetModulesForTest() {
    std::lock_guard<std::mutex> g(g_mutex);
    S().Reset();
}
