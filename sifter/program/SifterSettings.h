// Sifter's saved settings: section "Settings" of the program's profile, every value stored as text.
#pragma once

#include "platform/base/Profile.h"

class SifterSettings {
public:
    static constexpr LPCTSTR kRegistryKey = "Ardwick";
    static constexpr LPCTSTR kSection = "Settings";

    // Missing values give the defaults: empty folder, sub-folders on, default viewer off, hidden on.
    void Load(const CProfile& profile);
    // The folder, sub-folder and viewer values only with `all`; "HiddenFiles" always.
    void Save(const CProfile& profile, BOOL all) const;

    CString m_sLastBaseFolder;
    BOOL m_bSubFolders = TRUE;
    BOOL m_bUseDefaultViewer = FALSE;
    BOOL m_bHiddenFiles = TRUE;
};
