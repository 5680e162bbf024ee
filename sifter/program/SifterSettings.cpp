#include "sifter/program/SifterSettings.h"

namespace {
// Off when the value starts with one of the two letters; a missing value gives the default.
BOOL ReadFlag(const CProfile& profile, LPCTSTR entry, BOOL byDefault) {
    CString value = profile.GetProfileString(SifterSettings::kSection, entry, nullptr);
    if (value.IsEmpty())
        return byDefault;
    char c = AsciiUpper(value[0]);
    if (byDefault)
        return !(c == 'N' || c == '0');
    return c == 'Y' || c == '1';
}

LPCTSTR YesNo(BOOL on) {
    return on ? "YES" : "NO";
}
}  // namespace

void SifterSettings::Load(const CProfile& profile) {
    m_sLastBaseFolder = profile.GetProfileString(kSection, "LastBaseFolder", "");
    m_bSubFolders = ReadFlag(profile, "SubFolders", TRUE);
    m_bUseDefaultViewer = ReadFlag(profile, "UseDefaultViewer", FALSE);
    m_bHiddenFiles = ReadFlag(profile, "HiddenFiles", TRUE);
}

void SifterSettings::Save(const CProfile& profile, BOOL all) const {
    if (all) {
        profile.WriteProfileString(kSection, "LastBaseFolder", m_sLastBaseFolder);
        profile.WriteProfileString(kSection, "SubFolders", YesNo(m_bSubFolders));
        profile.WriteProfileString(kSection, "UseDefaultViewer", YesNo(m_bUseDefaultViewer));
    }
    profile.WriteProfileString(kSection, "HiddenFiles", YesNo(m_bHiddenFiles));
}
