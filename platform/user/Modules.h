// Loadable modules and the version answers. There are no shared libraries to load: LoadLibrary finds
// built-in stand-ins by name (case-blind) and GetProcAddress their entry points:
// - "comctl32.dll": DllGetVersion (5.82);
// - "UxTheme.dll": OpenThemeData, GetThemeSysColor, CloseThemeData, IsAppThemed, IsThemeActive;
//   present, no theme active;
// - "Msimg32.dll": GradientFill.
// GetVersion and GetVersionEx answer an NT-family 6.1. Tests switch each answer (see the ...ForTest
// functions) and put everything back with ResetModulesForTest.
#pragma once

#include "platform/gdi/Gdi.h"
#include "platform/user/User.h"

typedef LONG HRESULT;
#ifndef S_OK
#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_FAIL ((HRESULT)0x80004005L)
#define E_INVALIDARG ((HRESULT)0x80070057L)
#endif
typedef wchar_t WCHAR;
typedef const WCHAR* LPCWSTR;
// The generic entry point; cast to the entry's own type.
typedef void (*FARPROC)();

HMODULE LoadLibrary(LPCTSTR name);
// The module when it is loaded, else null.
HMODULE GetModuleHandleOfLibrary(LPCTSTR name);
BOOL FreeLibrary(HMODULE module);
// Null for an unknown module or name.
FARPROC GetProcAddress(HMODULE module, LPCSTR name);

struct DLLVERSIONINFO {
    DWORD cbSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformID;
};
#define DLLVER_PLATFORM_WINDOWS 0x00000001
#define DLLVER_PLATFORM_NT 0x00000002
typedef HRESULT (*DLLGETVERSIONPROC)(DLLVERSIONINFO*);

struct OSVERSIONINFO {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    CHAR szCSDVersion[128];
};
typedef OSVERSIONINFO* LPOSVERSIONINFO;
#define VER_PLATFORM_WIN32_WINDOWS 1
#define VER_PLATFORM_WIN32_NT 2
// FALSE unless dwOSVersionInfoSize is sizeof(OSVERSIONINFO).
BOOL GetVersionEx(LPOSVERSIONINFO info);
// Major version in the low byte, minor in the next, build in the high word; the high bit set for a
// non-NT system.
DWORD GetVersion();

// The theme entry points of "UxTheme.dll" (also reachable by GetProcAddress).
typedef HANDLE HTHEME;
// A theme handle for a known class ("button", "toolbar", "rebar", "window", "menu", "tab", "status",
// case-blind) while a theme is active; null otherwise.
HTHEME OpenThemeData(HWND hwnd, LPCWSTR classList);
HRESULT CloseThemeData(HTHEME theme);
// The theme's colour for a system colour index (the test theme's, else the system colour).
COLORREF GetThemeSysColor(HTHEME theme, int colorId);
BOOL IsAppThemed();
BOOL IsThemeActive();
typedef HTHEME (*OPENTHEMEDATAPROC)(HWND, LPCWSTR);
typedef HRESULT (*CLOSETHEMEDATAPROC)(HTHEME);
typedef COLORREF (*GETTHEMESYSCOLORPROC)(HTHEME, int);
typedef BOOL (*ISTHEMEACTIVEPROC)();
typedef BOOL (*GRADIENTFILLPROC)(HDC, const TRIVERTEX*, ULONG, const void*, ULONG, ULONG);

// Test switches.
// Makes a built-in module missing (LoadLibrary fails) or present again.
void SetModuleAvailableForTest(LPCTSTR name, BOOL available);
// A module's DllGetVersion answer (comctl32.dll: 5.82).
void SetDllVersionForTest(LPCTSTR name, DWORD major, DWORD minor);
void SetOsVersionForTest(DWORD major, DWORD minor, DWORD platformId);
// A theme active: OpenThemeData answers, and GetThemeSysColor gives the colours set here (others: the
// system colours).
void SetThemeActiveForTest(BOOL active);
void SetThemeSysColorForTest(int colorId, COLORREF color);
// The number of theme handles open now.
int GetOpenThemeCountForTest();
void ResetModulesForTest();
