#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "platform/base/Profile.h"
#include "tests/support/TempRegistry.h"

namespace {

class ProfileTest : public ::testing::Test {
protected:
    // Writes a raw value into the profile's section, past the profile functions.
    void SetRaw(const char* section, const char* entry, DWORD type, const std::string& bytes) {
        HKEY key = m_profile.GetSectionKey(section);
        ASSERT_NE(key, nullptr);
        ASSERT_EQ(RegSetValueEx(key, entry, 0, type, (const BYTE*)bytes.data(), (DWORD)bytes.size()),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    static bool KeyExists(const char* path) {
        HKEY key = nullptr;
        if (RegOpenKeyEx(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    TempRegistry m_reg;
    CProfile m_profile{"VeltrinEx", "Veltrin"};
};

TEST_F(ProfileTest, SectionsLiveUnderSoftwareRegistryKeyAndProfileName) {
    ASSERT_TRUE(m_profile.WriteProfileInt("Settings", "MinMilliseconds", 4));
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\VeltrinEx\\Veltrin\\Settings", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    DWORD type = 0, value = 0, size = sizeof value;
    ASSERT_EQ(RegQueryValueEx(key, "MinMilliseconds", nullptr, &type, (LPBYTE)&value, &size), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, (DWORD)REG_DWORD);
    EXPECT_EQ(value, 4u);
    EXPECT_EQ(m_profile.GetProfileInt("settings", "minmilliseconds", 0), 4u);

    ASSERT_TRUE(m_profile.WriteProfileInt("Settings", "Negative", -45));
    EXPECT_EQ((int)m_profile.GetProfileInt("Settings", "Negative", 0), -45);
    EXPECT_NE(TempRegistry::Read(m_reg.Path()).find("\"Negative\"=dword:ffffffd3"), std::string::npos);
}

TEST_F(ProfileTest, IntegersAreReadOnlyFromDwords) {
    SetRaw("Settings", "Text", REG_SZ, std::string("12\0", 3));
    SetRaw("Settings", "Blob", REG_BINARY, std::string("\x01\x00\x00\x00", 4));
    SetRaw("Settings", "Short", REG_DWORD, std::string("\x01\x00", 2));
    const std::pair<const char*, const char*> missing[] = {
        {"Nowhere", "MinMilliseconds"}, {"Settings", "Nothing"}, {"Settings", "Text"},
        {"Settings", "Blob"},           {"Settings", "Short"},   {nullptr, "Text"},
    };
    for (const auto& [section, entry] : missing)
        EXPECT_EQ(m_profile.GetProfileInt(section, entry, 45), 45u)
            << (section ? section : "null") << " " << entry;
}

TEST_F(ProfileTest, StringsRoundTripAndNullsDelete) {
    EXPECT_EQ(m_profile.GetProfileString("Settings", "ImportDelimiter", ","), ",");
    EXPECT_EQ(m_profile.GetProfileString("Settings", "ImportDelimiter"), "");
    const char* folder = "C:\\Logs \"x\" \xe9";
    ASSERT_TRUE(m_profile.WriteProfileString("OpenFileDirectory", "Directory", folder));
    EXPECT_EQ(m_profile.GetProfileString("OpenFileDirectory", "Directory", "none"), folder);
    ASSERT_TRUE(m_profile.WriteProfileString("OpenFileDirectory", "Empty", ""));
    EXPECT_EQ(m_profile.GetProfileString("OpenFileDirectory", "Empty", "none"), "");

    ASSERT_TRUE(m_profile.WriteProfileInt("Settings", "Number", 3));
    EXPECT_EQ(m_profile.GetProfileString("Settings", "Number", "dflt"), "dflt");  // not a string
    SetRaw("Settings", "Zero", REG_SZ, std::string("ab\0cd\0", 6));
    EXPECT_EQ(m_profile.GetProfileString("Settings", "Zero"), "ab");

    // A null value deletes the entry; a null entry deletes the section.
    EXPECT_TRUE(m_profile.WriteProfileString("OpenFileDirectory", "Directory", nullptr));
    EXPECT_EQ(m_profile.GetProfileString("OpenFileDirectory", "Directory", "gone"), "gone");
    EXPECT_FALSE(m_profile.WriteProfileString("OpenFileDirectory", "Directory", nullptr));
    EXPECT_TRUE(m_profile.WriteProfileString("OpenFileDirectory", nullptr, nullptr));
    EXPECT_FALSE(KeyExists("Software\\VeltrinEx\\Veltrin\\OpenFileDirectory"));
    EXPECT_FALSE(m_profile.WriteProfileString("OpenFileDirectory", nullptr, nullptr));

    // Deleting a section is single-level, as every key deletion.
    RegCloseKey(m_profile.GetSectionKey("Outer\\Inner"));
    EXPECT_FALSE(m_profile.WriteProfileString("Outer", nullptr, nullptr));
    EXPECT_TRUE(KeyExists("Software\\VeltrinEx\\Veltrin\\Outer\\Inner"));
}

TEST_F(ProfileTest, BinaryRoundTrip) {
    const BYTE record[28] = {1, 0, 0, 0, 0xff, 0xff, 0xff, 0xff, 10, 20, 30, 40, 0, 0, 0, 0x80, 5, 6, 7, 8};
    ASSERT_TRUE(m_profile.WriteProfileBinary("SizeBarState", "BarSize_59419", (LPBYTE)record, sizeof record));
    BYTE* data = (BYTE*)1;
    UINT bytes = 99;
    ASSERT_TRUE(m_profile.GetProfileBinary("SizeBarState", "BarSize_59419", &data, &bytes));
    std::unique_ptr<BYTE[]> owned(data);
    ASSERT_EQ(bytes, sizeof record);
    EXPECT_EQ(memcmp(data, record, sizeof record), 0);

    ASSERT_TRUE(m_profile.WriteProfileBinary("SizeBarState", "Empty", nullptr, 0));
    ASSERT_TRUE(m_profile.GetProfileBinary("SizeBarState", "Empty", &data, &bytes));
    delete[] data;
    EXPECT_EQ(bytes, 0u);

    ASSERT_TRUE(m_profile.WriteProfileString("SizeBarState", "Text", "abc"));
    for (const char* entry : {"Text", "Missing"}) {
        data = (BYTE*)1;
        bytes = 99;
        EXPECT_FALSE(m_profile.GetProfileBinary("SizeBarState", entry, &data, &bytes)) << entry;
        EXPECT_EQ(data, nullptr);
        EXPECT_EQ(bytes, 0u);
    }
}

TEST_F(ProfileTest, ReadsCreateNothing) {
    BYTE* data = nullptr;
    UINT bytes = 0;
    EXPECT_EQ(m_profile.GetProfileInt("Settings", "MinMilliseconds", 4), 4u);
    EXPECT_EQ(m_profile.GetProfileString("Settings", "FindString", "x"), "x");
    EXPECT_FALSE(m_profile.GetProfileBinary("Settings", "WindowPos", &data, &bytes));
    EXPECT_FALSE(TempRegistry::Exists(m_reg.Path()));
}

TEST_F(ProfileTest, WithoutRegistryKeyThereIsNoProfile) {
    CProfile none;
    EXPECT_FALSE(none.WriteProfileInt("Settings", "A", 1));
    EXPECT_FALSE(none.WriteProfileString("Settings", "A", "x"));
    EXPECT_EQ(none.GetProfileInt("Settings", "A", 7), 7u);
    EXPECT_EQ(none.GetAppRegistryKey(), nullptr);
    EXPECT_FALSE(TempRegistry::Exists(m_reg.Path()));

    CProfile& app = AfxGetProfile();
    EXPECT_EQ(&app, &AfxGetProfile());
    app.SetRegistryKey("Ardwick");
    app.SetProfileName("Sifter");
    ASSERT_TRUE(app.WriteProfileString("Settings", "SubFolders", "NO"));
    EXPECT_TRUE(KeyExists("Software\\Ardwick\\Sifter\\Settings"));
    app.SetRegistryKey("");
    app.SetProfileName("");
}

}  // namespace
