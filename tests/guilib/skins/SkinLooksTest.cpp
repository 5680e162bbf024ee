// The looks, the skinned application and the lookup rule every control follows.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "guilib/skins/OXDockbarSkin.h"
#include "guilib/skins/OXMenuSkin.h"
#include "guilib/skins/OXMiniFrameSkin.h"
#include "guilib/skins/OXShortcutBarSkin.h"
#include "guilib/skins/OXSkinnedApp.h"
#include "guilib/skins/OXStatusbarSkin.h"
#include "guilib/skins/OXTabSkin.h"
#include "guilib/skins/OXToolbarSkin.h"
#include "tests/support/Gui.h"

namespace {

// A control's use of the lookup rule, as every skinned control does it.
struct ToolbarLike {
    std::unique_ptr<COXToolbarSkinClassic> privateSkin;
    COXToolbarSkin* Skin() { return OXLookupSkin(&COXSkin::GetToolbarSkin, privateSkin); }
};

TEST(SkinLooks, EachLookHoldsItsColumnOfElementSkins) {
    COXSkinClassic classic;
    COXSkinXP xp;
    COXSkin2003 office2003;
    EXPECT_EQ(classic.GetName(), "Classic");
    EXPECT_EQ(xp.GetName(), "Office XP");
    EXPECT_EQ(office2003.GetName(), "Office 2003");
    EXPECT_EQ(classic.GetSkinType(), 0);
    EXPECT_EQ(xp.GetSkinType(), 1);
    EXPECT_EQ(office2003.GetSkinType(), 1);

    EXPECT_NE(dynamic_cast<COXToolbarSkinClassic*>(classic.GetToolbarSkin()), nullptr);
    EXPECT_EQ(classic.GetShortcutBarSkin()->m_bStacked, TRUE);
    EXPECT_EQ(classic.GetShortcutBarSkin()->GetHeaderStyle(), 0);

    EXPECT_EQ(typeid(*xp.GetToolbarSkin()), typeid(COXToolbarSkinXP));
    EXPECT_EQ(typeid(*xp.GetMenuSkin()), typeid(COXMenuSkinXP));
    EXPECT_EQ(typeid(*xp.GetDockbarSkin()), typeid(COXDockbarSkinXP));
    EXPECT_EQ(typeid(*xp.GetTabSkin()), typeid(COXTabSkinXP));
    EXPECT_EQ(xp.GetShortcutBarSkin()->GetHeaderStyle(), 1);
    EXPECT_EQ(typeid(*xp.GetMiniFrameSkin()), typeid(COXMiniFrameSkinXP));
    EXPECT_EQ(typeid(*xp.GetStatusbarSkin()), typeid(COXStatusbarSkinXP));
    EXPECT_EQ(typeid(*xp.GetFrameSkin()), typeid(COXFrameSkinXP));

    EXPECT_EQ(typeid(*office2003.GetToolbarSkin()), typeid(COXToolbarSkin2003));
    EXPECT_EQ(typeid(*office2003.GetMenuSkin()), typeid(COXMenuSkin2003));
    EXPECT_EQ(typeid(*office2003.GetDockbarSkin()), typeid(COXDockbarSkin2003));
    EXPECT_EQ(typeid(*office2003.GetTabSkin()), typeid(COXTabSkin2003));
    EXPECT_EQ(office2003.GetShortcutBarSkin()->GetHeaderStyle(), 2);
    EXPECT_EQ(office2003.GetShortcutBarSkin()->m_bStacked, FALSE);
    // Floating captions keep the Office XP skin in the Office 2003 look.
    EXPECT_EQ(typeid(*office2003.GetMiniFrameSkin()), typeid(COXMiniFrameSkinXP));
    EXPECT_EQ(typeid(*office2003.GetStatusbarSkin()), typeid(COXStatusbarSkin2003));
}

TEST(SkinLooks, ASkinnedApplicationStartsInOfficeXPAndSwitchesByName) {
    COXSkinnedApp app;
    ASSERT_NE(app.GetCurrentSkin(), nullptr);
    EXPECT_EQ(app.GetCurrentSkin()->GetName(), "Office XP");
    EXPECT_EQ(app.GetCurrentSkinType(), 1);

    ToolbarLike bar;
    EXPECT_EQ(bar.Skin(), app.GetCurrentSkin()->GetToolbarSkin());

    EXPECT_TRUE(app.SetCurrentSkin("Classic"));
    EXPECT_EQ(app.GetCurrentSkinType(), 0);
    EXPECT_EQ(bar.Skin(), app.GetCurrentSkin()->GetToolbarSkin());
    EXPECT_EQ(bar.privateSkin, nullptr);

    EXPECT_TRUE(app.SetCurrentSkin("Office 2003"));
    EXPECT_EQ(app.GetCurrentSkinType(), 1);

    // An unknown name: no look, the old type, and the control falls back to a Classic skin of its own.
    EXPECT_FALSE(app.SetCurrentSkin("Office 97"));
    EXPECT_EQ(app.GetCurrentSkin(), nullptr);
    EXPECT_EQ(app.GetCurrentSkinType(), 1);
    COXToolbarSkin* own = bar.Skin();
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own, bar.privateSkin.get());
    EXPECT_EQ(bar.Skin(), own);
}

TEST(SkinLooks, AddingALookOfTheSameNameReplacesTheEntry) {
    COXSkinnedApp app;
    auto* replacement = new COXSkinClassic;
    app.AddSkin(replacement);
    ASSERT_TRUE(app.SetCurrentSkin("Classic"));
    EXPECT_EQ(app.GetCurrentSkin(), replacement);
}

TEST(SkinLooks, UnderAPlainApplicationEachControlOwnsItsOwnClassicSkin) {
    CWinApp app("Plain");
    auto first = std::make_unique<ToolbarLike>();
    ToolbarLike second;
    COXToolbarSkin* a = first->Skin();
    COXToolbarSkin* b = second.Skin();
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    EXPECT_NE(dynamic_cast<COXToolbarSkinClassic*>(b), nullptr);
    first.reset();
    EXPECT_EQ(second.Skin(), b);
    EXPECT_TRUE(b->IsDefaultEraseBkgnd());
}

// A window recording WM_SIZE and paints.
struct Recorder {
    std::vector<HWND> sized;
    std::vector<HWND> painted;
};
Recorder* g_recorder = nullptr;

LRESULT RecordingProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (g_recorder && msg == WM_SIZE)
        g_recorder->sized.push_back(h);
    if (g_recorder && msg == WM_PAINT)
        g_recorder->painted.push_back(h);
    return DefWindowProc(h, msg, wParam, lParam);
}

TEST(SkinLooks, ALookChangeResizesOnlyWindowsThatAreNotMaximisedAndRepaintsEveryDescendant) {
    RegisterTestWindowClass("SkinLooksRecorder", RecordingProc, COLOR_BTNFACE);
    COXSkinnedApp app;
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, "SkinLooksRecorder", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_MAXIMIZE, 0, 0, 300,
                              200, nullptr, nullptr, nullptr));
    HWND child = CreateWindowEx(0, "SkinLooksRecorder", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, main.GetSafeHwnd(),
                                nullptr, nullptr, nullptr);
    HWND grandchild = CreateWindowEx(0, "SkinLooksRecorder", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, child, nullptr,
                                     nullptr, nullptr);
    app.m_pMainWnd = &main;
    Pump();
    Recorder recorder;
    g_recorder = &recorder;
    EXPECT_TRUE(app.SetCurrentSkin("Office 2003"));
    g_recorder = nullptr;
    app.m_pMainWnd = nullptr;

    auto has = [](const std::vector<HWND>& v, HWND h) { return std::find(v.begin(), v.end(), h) != v.end(); };
    EXPECT_FALSE(has(recorder.sized, main.GetSafeHwnd()));
    EXPECT_TRUE(has(recorder.sized, child));
    EXPECT_TRUE(has(recorder.sized, grandchild));
    EXPECT_TRUE(has(recorder.painted, main.GetSafeHwnd()));
    EXPECT_TRUE(has(recorder.painted, child));
    EXPECT_TRUE(has(recorder.painted, grandchild));
    main.DestroyWindow();
}

}  // namespace
