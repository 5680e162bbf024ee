// The application object of a skinned program: owns the three looks by name and selects one. Every
// skinned control asks it for the current look's element skin of its kind.
#pragma once

#include <memory>

#include "guilib/skins/OXSkin.h"
#include "platform/framework/app/WinThread.h"

class COXSkinnedApp : public CWinApp {
    DECLARE_DYNCREATE(COXSkinnedApp)
public:
    COXSkinnedApp();
    ~COXSkinnedApp() override;

    // A look of the same name replaces the entry (the application owns every look in the map).
    void AddSkin(COXSkin* skin);
    // FALSE for an unknown name: no look is selected then and controls draw with their own Classic skins.
    BOOL SetCurrentSkin(LPCTSTR name);
    COXSkin* GetCurrentSkin() const { return m_pCurrentSkin; }
    int GetCurrentSkinType() const { return m_nCurrentSkinType; }

    // Sends WM_SIZE to a window that is not maximised, recomputes its frame, repaints it, then its
    // children, first to last.
    static void RefreshWindowTree(HWND window);
    // RefreshWindowTree on each floating frame of sizable bars that the main window owns.
    static void RefreshFloatingFrames(HWND mainWindow);

protected:
    int m_nCurrentSkinType = 0;
    CMapStringToPtr m_mapSkins{10};
    COXSkin* m_pCurrentSkin = nullptr;
};

// The current look of a skinned application object, or null.
COXSkin* OXGetCurrentSkin();

// The lookup rule: the current look's skin of a kind, else the control's own Classic skin, created on
// first use and owned by the control.
template <class Skin, class Classic>
Skin* OXLookupSkin(Skin* (COXSkin::*get)() const, std::unique_ptr<Classic>& privateSkin) {
    if (COXSkin* look = OXGetCurrentSkin())
        return (look->*get)();
    if (!privateSkin)
        privateSkin = std::make_unique<Classic>();
    return privateSkin.get();
}
