#include <gtest/gtest.h>

#include "sifter/program/SifterSettings.h"
#include "tests/support/TempRegistry.h"

TEST(SifterSettingsTest, DefaultsReadingAndSaving) {
    TempRegistry registry;
    CProfile profile(SifterSettings::kRegistryKey, "Sifter");
    SifterSettings settings;
    settings.Load(profile);
    EXPECT_STREQ(settings.m_sLastBaseFolder, "");
    EXPECT_TRUE(settings.m_bSubFolders);
    EXPECT_FALSE(settings.m_bUseDefaultViewer);
    EXPECT_TRUE(settings.m_bHiddenFiles);

    const struct {
        const char* stored;
        BOOL defaultOn;   // read as a flag that is on by default
        BOOL defaultOff;  // read as a flag that is off by default
    } cases[] = {{"YES", TRUE, TRUE}, {"no", FALSE, FALSE}, {"0", FALSE, FALSE},
                 {"1", TRUE, TRUE},   {"x", TRUE, FALSE},   {"y", TRUE, TRUE}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        profile.WriteProfileString("Settings", "SubFolders", c.stored);
        profile.WriteProfileString("Settings", "UseDefaultViewer", c.stored);
        settings.Load(profile);
        EXPECT_EQ(settings.m_bSubFolders, c.defaultOn);
        EXPECT_EQ(settings.m_bUseDefaultViewer, c.defaultOff);
    }

    settings.m_sLastBaseFolder = "/Data/Logs";
    settings.m_bSubFolders = FALSE;
    settings.m_bUseDefaultViewer = TRUE;
    settings.m_bHiddenFiles = FALSE;
    settings.Save(profile, TRUE);
    EXPECT_STREQ(profile.GetProfileString("Settings", "LastBaseFolder"), "/Data/Logs");
    EXPECT_STREQ(profile.GetProfileString("Settings", "SubFolders"), "NO");
    EXPECT_STREQ(profile.GetProfileString("Settings", "UseDefaultViewer"), "YES");
    EXPECT_STREQ(profile.GetProfileString("Settings", "HiddenFiles"), "NO");

    // Without `all` only the hidden-files value is written.
    SifterSettings other;
    other.m_sLastBaseFolder = "/elsewhere";
    other.Save(profile, FALSE);
    EXPECT_STREQ(profile.GetProfileString("Settings", "LastBaseFolder"), "/Data/Logs");
    EXPECT_STREQ(profile.GetProfileString("Settings", "HiddenFiles"), "YES");
}
