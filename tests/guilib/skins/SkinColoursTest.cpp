// Colour functions, the line gradient and the colours of the Office looks.
#include <gtest/gtest.h>

#include "guilib/skins/OXSkin.h"
#include "platform/user/Modules.h"
#include "tests/guilib/skins/SkinTestSupport.h"

namespace {

struct ColourCase {
    const char* name;
    COLORREF got;
    COLORREF want;
};

TEST(SkinColours, FunctionsHoldAndTruncateEachComponent) {
    const ColourCase cases[] = {
        {"adjust held at 0", COXSkinXP::AdjustColor(RGB(5, 5, 5), -8, -8, -8), RGB(0, 0, 0)},
        {"adjust held at 255", COXSkinXP::AdjustColor(RGB(250, 250, 250), 38, 38, 38), RGB(255, 255, 255)},
        {"adjust per component", COXSkinXP::AdjustColor(RGB(10, 20, 30), 1, -2, 3), RGB(11, 18, 33)},
        {"blend truncates", COXSkinXP::BlendColors(RGB(255, 255, 255), RGB(0, 0, 128), 0, 0.7f, 0.3f, 0),
         RGB(178, 178, 216)},
        {"blend capped", COXSkinXP::BlendColors(RGB(200, 200, 200), RGB(200, 200, 200), 0, 1.0f, 1.0f, 0),
         RGB(255, 255, 255)},
        {"scale capped", COXSkinXP::ScaleColor(RGB(212, 208, 100), 1.2f, 1.2f, 1.2f), RGB(254, 249, 120)},
        {"invert", COXSkinXP::InvertColor(RGB(0, 100, 255)), RGB(255, 155, 0)},
        {"darken fully", COXSkinXP::DarkenColor(255, RGB(90, 180, 255)), RGB(0, 0, 0)},
        {"darken by nothing", COXSkinXP::DarkenColor(0, RGB(90, 180, 255)), RGB(90, 180, 255)},
        {"darken rounds", COXSkinXP::DarkenColor(15, RGB(255, 255, 255)), RGB(240, 240, 240)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.want) << c.name;
}

TEST(SkinColours, SavedPixelsRestoreInOrderAndAnIndexOutsideSetsTheColour) {
    MemoryCanvas canvas(4, 1, RGB(1, 2, 3));
    CDWordArray saved;
    int index = 0;
    COXSkinXP::SetSavedPixel(canvas.dc(), 0, 0, RGB(10, 10, 10), TRUE, FALSE, saved, index);
    COXSkinXP::SetSavedPixel(canvas.dc(), 1, 0, RGB(20, 20, 20), TRUE, FALSE, saved, index);
    ASSERT_EQ(saved.GetSize(), 2);
    COXSkinXP::SetSavedPixel(canvas.dc(), 2, 0, RGB(99, 99, 99), FALSE, TRUE, saved, index);
    EXPECT_EQ(canvas.At(2, 0), RGB(10, 10, 10));
    EXPECT_EQ(index, 1);
    COXSkinXP::SetSavedPixel(canvas.dc(), 3, 0, RGB(99, 99, 99), FALSE, TRUE, saved, index);
    EXPECT_EQ(index, 2);
    // Past the end: the passed colour, and the index stays.
    COXSkinXP::SetSavedPixel(canvas.dc(), 0, 0, RGB(77, 77, 77), FALSE, TRUE, saved, index);
    EXPECT_EQ(canvas.At(0, 0), RGB(77, 77, 77));
    EXPECT_EQ(index, 2);
}

TEST(SkinColours, LineGradientStepsByIntegerDivisionAndGradientRectPicksTheDirection) {
    // 10 x 40: left to right over 10 columns to the tall end colour.
    MemoryCanvas canvas(40, 40, RGB(1, 1, 1));
    RECT tall{0, 0, 10, 40};
    COXSkinXP::DrawGradientRect(canvas.dc(), tall, RGB(0, 0, 0), RGB(100, 0, 0), RGB(0, 100, 0));
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(canvas.At(x, 0), RGB(x * 10, 0, 0)) << x;
        EXPECT_EQ(canvas.At(x, 39), canvas.At(x, 0)) << x;
    }
    EXPECT_EQ(canvas.At(10, 0), RGB(1, 1, 1));
    // 40 x 10: top to bottom over 10 rows to the wide end colour.
    RECT wide{0, 20, 40, 30};
    COXSkinXP::DrawGradientRect(canvas.dc(), wide, RGB(0, 0, 0), RGB(100, 0, 0), RGB(0, 100, 0));
    for (int y = 0; y < 10; ++y)
        EXPECT_EQ(canvas.At(39, 20 + y), RGB(0, y * 10, 0)) << y;
    // A falling component: 200 down to 0 over 3 steps is 200, 134, 67.
    RECT falling{0, 0, 3, 1};
    OXDrawLineGradient(canvas.dc(), falling, RGB(200, 0, 0), RGB(0, 0, 0), FALSE);
    EXPECT_EQ(canvas.At(1, 0), RGB(134, 0, 0));
    EXPECT_EQ(canvas.At(2, 0), RGB(67, 0, 0));
    // Empty: nothing drawn.
    MemoryCanvas untouched(4, 4, RGB(5, 5, 5));
    RECT empty{2, 2, 2, 4};
    COXSkinXP::DrawGradientRect(untouched.dc(), empty, RGB(0, 0, 0), RGB(9, 9, 9), RGB(9, 9, 9));
    EXPECT_EQ(untouched.At(2, 2), RGB(5, 5, 5));
}

TEST(SkinColours, MaskedBitmapLeavesTheTransparentColour) {
    MemoryCanvas source(2, 1, RGB(255, 0, 255));
    source.dc()->SetPixel(1, 0, RGB(0, 0, 200));
    CBitmap* bitmap = source.Detach();
    MemoryCanvas target(2, 1, RGB(30, 40, 50));
    COXSkinXP::DrawMaskedBitmap(bitmap, target.dc(), 0, 0, 2, 1, RGB(255, 0, 255));
    EXPECT_EQ(target.At(0, 0), RGB(30, 40, 50));
    EXPECT_EQ(target.At(1, 0), RGB(0, 0, 200));
    delete bitmap;
}

class OfficeColours : public SystemColourTable, public ::testing::Test {
protected:
    void TearDown() override { ResetModulesForTest(); }
};

TEST_F(OfficeColours, OfficeXPDerivesFromTheSystemColours) {
    COXSkinXP xp;
    const ColourCase cases[] = {
        {"hot", xp.GetHotItemColor(), RGB(181, 189, 210)},
        {"bar background", xp.GetBarBackgroundColor(), RGB(218, 215, 208)},
        {"pressed", xp.GetPressedItemColor(), RGB(132, 145, 180)},
        {"menu background", xp.GetMenuBackgroundColor(), RGB(248, 248, 247)},
        {"highlight border", xp.GetHighlightBorderColor(), RGB(10, 36, 106)},
        {"alt bar background follows the bar", xp.GetAltBarBackgroundColor(), xp.GetBarBackgroundColor()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.want) << c.name;
}

TEST_F(OfficeColours, Office2003WithoutThemeFallsBackToOfficeXPAndItsWarmDefaults) {
    COXSkin2003 look;
    ASSERT_FALSE(look.IsThemed());
    const ColourCase cases[] = {
        {"hot", look.GetHotItemColor(), RGB(181, 189, 210)},
        {"bar gradient light", look.GetBarGradientLightColor(), RGB(245, 244, 242)},
        {"bar gradient dark", look.GetBarGradientDarkColor(), RGB(213, 209, 202)},
        {"status mid", look.GetStatusBarMidColor(), RGB(233, 231, 227)},
        {"face", look.GetFaceColor(), RGB(212, 208, 200)},
        {"hot gradient is the flat hot colour", look.GetHotGradientDarkColor(), RGB(181, 189, 210)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.want) << c.name;
}

TEST_F(OfficeColours, Office2003WithTheTestThemeTakesItsWarmAndThemedColours) {
    SetThemeActiveForTest(TRUE);
    SetThemeSysColorForTest(COLOR_HIGHLIGHT, RGB(49, 106, 197));
    SetThemeSysColorForTest(COLOR_ACTIVECAPTION, RGB(0, 84, 227));
    COXSkin2003 look;
    EXPECT_TRUE(look.IsThemed());
    const ColourCase cases[] = {
        {"hot", look.GetHotItemColor(), RGB(255, 238, 194)},
        {"checked", look.GetCheckedItemColor(), RGB(255, 192, 111)},
        {"menu background", look.GetMenuBackgroundColor(), RGB(246, 246, 246)},
        {"edge is the theme highlight", look.GetEdgeColor(), RGB(49, 106, 197)},
        {"highlight border from the caption", look.GetHighlightBorderColor(), RGB(0, 0, 128)},
        {"bar background needs no theme", look.GetBarBackgroundColor(), RGB(218, 215, 208)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.want) << c.name;
    // Every query closes the theme data it opened.
    EXPECT_EQ(GetOpenThemeCountForTest(), 0);
    // The Office XP look takes no notice of the theme.
    COXSkinXP xp;
    EXPECT_EQ(xp.GetHotItemColor(), RGB(181, 189, 210));
}

TEST_F(OfficeColours, Office2003GradientRunsEndToEndWithTheLibrary) {
    COXSkin2003 look;
    ASSERT_TRUE(look.HasGradientFill());
    MemoryCanvas canvas(6, 12, 0);
    look.GradientFillRect(canvas.dc(), RECT{0, 0, 6, 12}, look.GetBarGradientLightColor(), look.GetBarGradientDarkColor(), 1);
    EXPECT_EQ(canvas.At(3, 0), RGB(245, 244, 242));
    EXPECT_EQ(canvas.At(3, 11), RGB(213, 209, 202));
}

TEST_F(OfficeColours, Office2003GradientWithoutTheLibraryEqualsTheLineGradient) {
    SetModuleAvailableForTest("Msimg32.dll", FALSE);
    COXSkin2003 look;
    ASSERT_FALSE(look.HasGradientFill());
    MemoryCanvas a(6, 12, 0), b(6, 12, 0);
    RECT r{0, 0, 6, 12};
    look.GradientFillRect(a.dc(), r, RGB(245, 244, 242), RGB(213, 209, 202), 1);
    OXDrawLineGradient(b.dc(), r, RGB(245, 244, 242), RGB(213, 209, 202), TRUE);
    for (int y = 0; y < 12; ++y)
        EXPECT_EQ(a.At(3, y), b.At(3, y)) << y;
    EXPECT_EQ(a.At(0, 0), RGB(245, 244, 242));
}

}  // namespace
