// What the element skins compute without looking at pixels: non-client geometry of sizable bars,
// tool bar custom-draw answers, status pane sharing and the Office popup menus.
#include <gtest/gtest.h>

#include <string>

#include "guilib/skins/OXDockbarSkin.h"
#include "guilib/skins/OXMenuSkin.h"
#include "guilib/skins/OXSkin.h"
#include "guilib/skins/OXSkinnedApp.h"
#include "guilib/skins/OXStatusbarSkin.h"
#include "guilib/skins/OXToolbarSkin.h"
#include "platform/framework/frames/FrameWnd.h"
#include "tests/guilib/skins/SkinTestSupport.h"
#include "tests/support/Gui.h"

namespace {

std::string Str(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

TEST(DockbarSkinGeometry, NonClientSizeInsetsByFiveAndGivesTheCaptionItsStrip) {
    COXDockbarSkinClassic classic;
    COXSkin2003 look;
    COXDockbarSkin* office2003 = look.GetDockbarSkin();
    struct Case {
        const char* name;
        COXDockbarSkin* skin;
        DWORD style;
        DWORD flags;
        const char* want;
        BOOL layout;
    } cases[] = {
        {"classic vertical", &classic, CBRS_ALIGN_LEFT, 0, "5,21,95,195", TRUE},
        {"classic horizontal", &classic, CBRS_ALIGN_TOP, 0, "21,5,95,195", TRUE},
        {"classic without caption", &classic, CBRS_ALIGN_LEFT, OXSCB_NOCAPTION, "5,5,95,195", FALSE},
        {"classic floating", &classic, CBRS_ALIGN_LEFT | CBRS_FLOATING, 0, "5,5,95,195", FALSE},
        {"2003 vertical", office2003, CBRS_ALIGN_LEFT, 0, "5,29,95,195", TRUE},
        {"2003 without caption", office2003, CBRS_ALIGN_LEFT, OXSCB_NOCAPTION, "5,5,95,195", FALSE},
    };
    for (const auto& c : cases) {
        SizeBarDouble bar;
        bar.style = c.style;
        bar.flags = c.flags;
        RECT client{0, 0, 100, 200};
        c.skin->CalcNonClientSize(TRUE, client, &bar);
        EXPECT_EQ(Str(client), c.want) << c.name;
        EXPECT_EQ(bar.layout, c.layout) << c.name;
    }
    // The caption never pushes the left past the right.
    SizeBarDouble narrow;
    narrow.style = CBRS_ALIGN_TOP;
    RECT client{0, 0, 20, 50};
    classic.CalcNonClientSize(TRUE, client, &narrow);
    EXPECT_EQ(client.left, client.right);
}

class CaptionRects : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestWindowClass("SkinCaptionBar", DefWindowProc, COLOR_BTNFACE);
        bar.hwnd = CreateWindowEx(0, "SkinCaptionBar", "Output", WS_POPUP, 0, 0, 100, 60, nullptr, nullptr, nullptr,
                                  nullptr);
        ASSERT_NE(bar.hwnd, nullptr);
    }
    void TearDown() override { DestroyWindow(bar.hwnd); }
    SizeBarDouble bar;
};

TEST_F(CaptionRects, ClassicVerticalBarPutsBothButtonsAtTheRightEnd) {
    COXDockbarSkinClassic skin;
    bar.layout = TRUE;
    skin.CalcCaptionRects(&bar);
    EXPECT_EQ(Str(bar.close), "84,5,95,16");
    EXPECT_EQ(Str(bar.second), "71,5,82,16");
    EXPECT_EQ(Str(bar.caption), "5,5,69,16");  // 90 wide, shortened by 26
    EXPECT_FALSE(bar.layout);
}

TEST_F(CaptionRects, ClassicHorizontalBarStacksTheButtonsAtTheTop) {
    COXDockbarSkinClassic skin;
    bar.style = CBRS_ALIGN_TOP;
    bar.flags = OXSCB_NOCLOSEBUTTON;
    skin.CalcCaptionRects(&bar);
    EXPECT_EQ(Str(bar.second), "5,5,16,16");
    EXPECT_EQ(Str(bar.caption), "5,18,16,55");
}

TEST_F(CaptionRects, Office2003CaptionIsTwentyFourPixelsWithSquareButtons) {
    COXSkin2003 look;
    look.GetDockbarSkin()->CalcCaptionRects(&bar);
    EXPECT_EQ(Str(bar.caption), "2,0,98,24");
    EXPECT_EQ(Str(bar.close), "81,7,92,18");
    EXPECT_EQ(Str(bar.second), "67,7,78,18");
    // Without the close button the second button takes its place.
    SizeBarDouble alone = bar;
    alone.flags = OXSCB_NOCLOSEBUTTON;
    alone.second = RECT{};
    look.GetDockbarSkin()->CalcCaptionRects(&alone);
    EXPECT_EQ(Str(alone.second), "81,7,92,18");
}

// A cool tool bar over the platform's tool bar control.
class ToolbarDouble : public COXCoolToolBarView {
public:
    HWND hwnd = nullptr;
    DWORD comctl = OX_COMCTL_471;
    COLORREF colours[4][3];
    ToolbarDouble() {
        for (auto& state : colours)
            for (auto& c : state)
                c = CLR_DEFAULT;
    }
    HWND GetBarHwnd() const override { return hwnd; }
    UINT GetBarId() const override { return 0xE800; }
    DWORD GetBarStyle() const override { return CBRS_ALIGN_TOP; }
    BOOL HasDockContext() const override { return FALSE; }
    int GetCustomizedButton() const override { return -1; }
    BOOL IsCustomButton(int) const override { return FALSE; }
    BOOL IsCool() const override { return FALSE; }
    BOOL HasSeparatorFlag() const override { return FALSE; }
    BOOL IsDropDownArrow() const override { return FALSE; }
    COLORREF GetCustomColor(OXToolbarState s, OXToolbarColorPart p) const override { return colours[s][p]; }
    DWORD GetComCtlVersion() const override { return comctl; }
    BOOL IsMenuBar() const override { return FALSE; }
    int GetDroppedCommand() const override { return -1; }
    void ResetDroppedCommand() override {}
    CString GetMenuItemText(int) const override { return CString(); }
    HWND GetBandReferenceWindow() const override { return ::GetParent(hwnd); }
    void DrawBorders(CDC*, RECT&) override {}
    void DrawSeparator(CDC*, RECT&) override {}
    void DrawCustomizedButton(CDC*, RECT&) override {}
    LRESULT Default() override { return 0; }
};

// A frame that may take the tool bar's drawing over.
class OfferFrame : public CFrameWnd {
public:
    BOOL takeOver = FALSE;
    int offers = 0;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        auto* offer = reinterpret_cast<OXNMCUSTOMDRAWOFFER*>(lParam);
        if (offer->hdr.code != OXTBN_CUSTOMDRAW)
            return CFrameWnd::OnNotify(wParam, lParam, result);
        ++offers;
        if (takeOver) {
            offer->doDefault = FALSE;
            offer->result = 0x1234;
        }
        return TRUE;
    }
};

class ToolbarCustomDraw : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new OfferFrame;  // deletes itself with its window
        ASSERT_TRUE(frame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW, RECT{0, 0, 300, 120}));
        bar.hwnd = CreateWindowEx(0, TOOLBARCLASSNAME, nullptr, WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT, 0, 0, 300, 30,
                                  frame->GetSafeHwnd(), (HMENU)0xE800, nullptr, nullptr);
        ASSERT_NE(bar.hwnd, nullptr);
        ::SendMessage(bar.hwnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        TBBUTTON button{};
        button.iBitmap = -1;
        button.idCommand = 100;
        button.fsState = TBSTATE_ENABLED;
        ::SendMessage(bar.hwnd, TB_ADDBUTTONS, 1, (LPARAM)&button);
    }
    void TearDown() override { frame->DestroyWindow(); }

    LRESULT Item(UINT itemState, NMTBCUSTOMDRAW& record) {
        record = NMTBCUSTOMDRAW{};
        record.nmcd.hdr.hwndFrom = bar.hwnd;
        record.nmcd.hdr.code = NM_CUSTOMDRAW;
        record.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
        record.nmcd.hdc = canvas.dc()->GetSafeHdc();
        record.nmcd.dwItemSpec = 100;
        record.nmcd.uItemState = itemState;
        record.nmcd.rc = RECT{2, 2, 26, 24};
        record.clrText = RGB(1, 1, 1);
        LRESULT result = -1;
        skin.OnCustomDraw(&record.nmcd.hdr, &result, &bar);
        return result;
    }

    OfferFrame* frame = nullptr;
    ToolbarDouble bar;
    COXToolbarSkinClassic skin;
    MemoryCanvas canvas{40, 40, RGB(9, 9, 9)};
};

TEST_F(ToolbarCustomDraw, ItemAnswersFollowTheCustomColoursThatAreSet) {
    NMTBCUSTOMDRAW record;
    EXPECT_EQ(Item(0, record), CDRF_NOTIFYPOSTPAINT);
    EXPECT_EQ(canvas.At(2, 2), RGB(9, 9, 9));
    EXPECT_EQ(record.clrText, RGB(1, 1, 1));

    bar.colours[OXTB_HOT][OXTB_BORDER] = RGB(10, 36, 106);
    EXPECT_EQ(Item(CDIS_HOT, record), CDRF_NOTIFYPOSTPAINT | TBCDRF_NOEDGES);
    EXPECT_EQ(canvas.At(2, 2), RGB(10, 36, 106));

    bar.colours[OXTB_CHECKED][OXTB_FILL] = RGB(200, 0, 0);
    bar.colours[OXTB_CHECKED][OXTB_TEXT] = RGB(0, 0, 200);
    EXPECT_EQ(Item(CDIS_CHECKED, record), CDRF_NOTIFYPOSTPAINT | TBCDRF_NOETCHEDEFFECT);
    EXPECT_EQ(canvas.At(2, 2), RGB(200, 0, 0));
    EXPECT_EQ(record.clrText, RGB(0, 0, 200));

    // Checked and hot take the pressed colours (none set here).
    EXPECT_EQ(Item(CDIS_CHECKED | CDIS_HOT, record), CDRF_NOTIFYPOSTPAINT);

    // Old common controls: the text colour goes to the DC, no TBCDRF_ answers.
    bar.comctl = 0x40000;
    EXPECT_EQ(Item(CDIS_CHECKED, record), CDRF_NOTIFYPOSTPAINT);
    EXPECT_EQ(record.clrText, RGB(1, 1, 1));
    EXPECT_EQ(canvas.dc()->GetTextColor(), RGB(0, 0, 200));
    EXPECT_EQ(frame->offers, 5);
}

TEST_F(ToolbarCustomDraw, AFrameThatTakesTheDrawingOverGetsItsAnswerAndNothingIsDrawn) {
    frame->takeOver = TRUE;
    bar.colours[OXTB_NORMAL][OXTB_FILL] = RGB(200, 0, 0);
    NMTBCUSTOMDRAW record;
    EXPECT_EQ(Item(0, record), 0x1234);
    EXPECT_EQ(canvas.At(5, 5), RGB(9, 9, 9));
    record.nmcd.dwDrawStage = CDDS_PREPAINT;
    LRESULT result = 0;
    skin.OnCustomDraw(&record.nmcd.hdr, &result, &bar);
    EXPECT_EQ(result, 0x1234);
    EXPECT_EQ(canvas.At(30, 30), RGB(9, 9, 9));
}

TEST_F(ToolbarCustomDraw, PrePaintFillsTheBarAndAsksForItems) {
    NMTBCUSTOMDRAW record{};
    record.nmcd.hdr.hwndFrom = bar.hwnd;
    record.nmcd.dwDrawStage = CDDS_PREPAINT;
    record.nmcd.hdc = canvas.dc()->GetSafeHdc();
    LRESULT result = 0;
    skin.OnCustomDraw(&record.nmcd.hdr, &result, &bar);
    EXPECT_EQ(result, CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT);
    EXPECT_EQ(canvas.At(30, 20), GetSysColor(COLOR_BTNFACE));
}

TEST(StatusPanes, StretchingPanesShareTheRoomWithTheRemainderToTheLater) {
    struct Case {
        int room, panes;
        std::vector<int> want;
    } cases[] = {
        {7, 2, {3, 4}},
        {10, 3, {3, 3, 4}},
        {-5, 2, {0, 0}},
        {5, 0, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OXShareStretchRoom(c.room, c.panes), c.want) << c.room << " over " << c.panes;
}

WNDPROC g_previous = DefWindowProc;
COXMenuSkin* g_menuSkin = nullptr;
LRESULT PopupProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    return g_menuSkin->PopupWindowProc(g_previous, h, msg, wParam, lParam);
}

TEST(OfficeMenus, ABitmapMenusPopupGrowsByFourAndLeavesTheMapWhenDestroyed) {
    RegisterTestWindowClass("SkinMenuPopup", PopupProc, COLOR_MENU);
    COXSkinXP look;
    auto* skin = static_cast<COXMenuSkinXP*>(look.GetMenuSkin());
    g_menuSkin = skin;
    MenuDouble menu;

    // Not a bitmap menu: left alone.
    COXMenuSkin::SetTrackingBitmapMenu(nullptr);
    HWND plain = CreateWindowEx(0, "SkinMenuPopup", nullptr, WS_POPUP, 10, 10, 50, 40, nullptr, nullptr, nullptr, nullptr);
    RECT r{};
    GetWindowRect(plain, &r);
    EXPECT_EQ(Str(r), "10,10,60,50");
    EXPECT_FALSE(skin->GetPopupPosition(plain, nullptr));
    DestroyWindow(plain);

    COXMenuSkin::SetTrackingBitmapMenu(&menu);
    HWND popup = CreateWindowEx(0, "SkinMenuPopup", nullptr, WS_POPUP, 10, 10, 50, 40, nullptr, nullptr, nullptr, nullptr);
    ASSERT_EQ(menu.popups.size(), 1u);
    SetWindowPos(popup, nullptr, 20, 30, 60, 50, SWP_NOZORDER | SWP_NOACTIVATE);
    GetWindowRect(popup, &r);
    EXPECT_EQ(Str(r), "20,30,84,84");
    EXPECT_TRUE(skin->GetPopupPosition(popup, &r));
    EXPECT_EQ(Str(r), "20,30,84,84");
    DestroyWindow(popup);
    EXPECT_TRUE(menu.popups.empty());
    EXPECT_FALSE(skin->GetPopupPosition(popup, nullptr));
    COXMenuSkin::SetTrackingBitmapMenu(nullptr);
    g_menuSkin = nullptr;
}

TEST(OfficeMenus, ExpansionItemIsHalfItsHeightPlusOneInTheOfficeLooksOnly) {
    COXSkinXP look;
    COXMenuSkinClassic classic;
    MenuDouble menu;
    UINT height = 21;
    look.GetMenuSkin()->AdjustExpansionItemHeight(&height, &menu);
    EXPECT_EQ(height, 11u);
    height = 21;
    classic.AdjustExpansionItemHeight(&height, &menu);
    EXPECT_EQ(height, 21u);
    EXPECT_EQ(look.GetMenuSkin()->GetMetrics()->values[7], 3);
    EXPECT_EQ(classic.GetMetrics()->values[7], 8);
}

TEST(OfficeMenus, ShadowDarkensTheRightBandFadingInBelowTheUntouchedTopRows) {
    MemoryCanvas canvas(20, 30, RGB(255, 255, 255));
    COXMenuSkinXP::DrawShadow(canvas.dc(), 20, 30, 0);
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(canvas.At(19, y), RGB(255, 255, 255)) << y;
    EXPECT_EQ(canvas.At(19, 15), RGB(240, 240, 240));  // outermost column: 15
    EXPECT_EQ(canvas.At(16, 15), RGB(195, 195, 195));  // fourth column: 60
    EXPECT_EQ(canvas.At(19, 7), COXSkinXP::DarkenColor(12, RGB(255, 255, 255)));
    EXPECT_EQ(canvas.At(19, 4), COXSkinXP::DarkenColor(3, RGB(255, 255, 255)));
    EXPECT_EQ(canvas.At(15, 15), RGB(255, 255, 255));
    // Bottom band: columns 0..3 untouched, full amount from column 8.
    EXPECT_EQ(canvas.At(2, 29), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(10, 29), RGB(240, 240, 240));
    // Open bottom (side 1): no bottom band.
    MemoryCanvas open(20, 30, RGB(255, 255, 255));
    COXMenuSkinXP::DrawShadow(open.dc(), 20, 30, 1);
    EXPECT_EQ(open.At(10, 29), RGB(255, 255, 255));
    EXPECT_EQ(open.At(19, 15), RGB(240, 240, 240));
}

}  // namespace
