#include <gtest/gtest.h>

#include "platform/user/Modules.h"

namespace {

class Modules : public ::testing::Test {
protected:
    void TearDown() override { ResetModulesForTest(); }
};

TEST_F(Modules, BuiltInModulesLoadByAnyCaseAndExportTheirEntries) {
    struct Case {
        const char* module;
        const char* entry;
    } cases[] = {{"comctl32.dll", "DllGetVersion"}, {"UxTheme.dll", "OpenThemeData"},
                 {"UXTHEME.DLL", "GetThemeSysColor"}, {"uxtheme.dll", "CloseThemeData"},
                 {"UxTheme.dll", "IsAppThemed"},    {"UxTheme.dll", "IsThemeActive"},
                 {"Msimg32.dll", "GradientFill"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        HMODULE m = LoadLibrary(c.module);
        ASSERT_NE(m, nullptr);
        EXPECT_NE(GetProcAddress(m, c.entry), nullptr);
        EXPECT_EQ(GetProcAddress(m, "NoSuchEntry"), nullptr);
        EXPECT_TRUE(FreeLibrary(m));
    }
    EXPECT_EQ(LoadLibrary("kernel99.dll"), nullptr);
    EXPECT_EQ(GetProcAddress(nullptr, "GradientFill"), nullptr);
}

TEST_F(Modules, DllGetVersionAnswersTheCommonControlsVersionAndTestsChangeIt) {
    HMODULE m = LoadLibrary("comctl32.dll");
    auto get = reinterpret_cast<DLLGETVERSIONPROC>(GetProcAddress(m, "DllGetVersion"));
    ASSERT_NE(get, nullptr);
    DLLVERSIONINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_EQ(get(&info), S_OK);
    EXPECT_EQ(info.dwMajorVersion, 5u);
    EXPECT_EQ(info.dwMinorVersion, 82u);
    SetDllVersionForTest("COMCTL32.DLL", 4, 70);
    ASSERT_EQ(get(&info), S_OK);
    EXPECT_EQ(info.dwMajorVersion * 65536 + info.dwMinorVersion, 0x40046u);
    DLLVERSIONINFO small{};
    small.cbSize = 4;
    EXPECT_NE(get(&small), S_OK);
    FreeLibrary(m);
}

TEST_F(Modules, AMissingModuleFailsToLoad) {
    SetModuleAvailableForTest("Msimg32.dll", FALSE);
    EXPECT_EQ(LoadLibrary("msimg32.dll"), nullptr);
    EXPECT_NE(LoadLibrary("UxTheme.dll"), nullptr);
    SetModuleAvailableForTest("Msimg32.dll", TRUE);
    EXPECT_NE(LoadLibrary("msimg32.dll"), nullptr);
}

TEST_F(Modules, ThemeDataOnlyWhileATestThemeIsActive) {
    HMODULE m = LoadLibrary("UxTheme.dll");
    auto open = reinterpret_cast<OPENTHEMEDATAPROC>(GetProcAddress(m, "OpenThemeData"));
    auto color = reinterpret_cast<GETTHEMESYSCOLORPROC>(GetProcAddress(m, "GetThemeSysColor"));
    auto close = reinterpret_cast<CLOSETHEMEDATAPROC>(GetProcAddress(m, "CloseThemeData"));
    EXPECT_FALSE(IsThemeActive());
    EXPECT_EQ(open(nullptr, L"button"), nullptr);

    SetThemeActiveForTest(TRUE);
    SetThemeSysColorForTest(COLOR_HIGHLIGHT, RGB(255, 238, 194));
    EXPECT_TRUE(IsThemeActive());
    EXPECT_TRUE(IsAppThemed());
    EXPECT_EQ(open(nullptr, L"NoSuchClass"), nullptr);
    HTHEME theme = open(nullptr, L"Button");
    ASSERT_NE(theme, nullptr);
    EXPECT_EQ(color(theme, COLOR_HIGHLIGHT), RGB(255, 238, 194));
    EXPECT_EQ(color(theme, COLOR_WINDOW), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(GetOpenThemeCountForTest(), 1);
    EXPECT_EQ(close(theme), S_OK);
    EXPECT_EQ(GetOpenThemeCountForTest(), 0);
    EXPECT_NE(close(theme), S_OK);
}

TEST_F(Modules, VersionIsNtSixOneUnlessATestSaysOtherwise) {
    OSVERSIONINFO info{};
    info.dwOSVersionInfoSize = sizeof(info);
    ASSERT_TRUE(GetVersionEx(&info));
    EXPECT_EQ(info.dwMajorVersion, 6u);
    EXPECT_EQ(info.dwMinorVersion, 1u);
    EXPECT_EQ(info.dwPlatformId, (DWORD)VER_PLATFORM_WIN32_NT);
    EXPECT_EQ(GetVersion() & 0x8000FFFFu, 0x0106u);
    SetOsVersionForTest(4, 10, VER_PLATFORM_WIN32_WINDOWS);
    EXPECT_NE(GetVersion() & 0x80000000u, 0u);
    OSVERSIONINFO wrong{};
    EXPECT_FALSE(GetVersionEx(&wrong));
}

}  // namespace
