#include <gtest/gtest.h>

#include <map>
#include <string>
#include <typeinfo>
#include <vector>

#include "guilib/controls/OXCoolButton.h"
#include "guilib/controls/OXCoolControlOrganizer.h"
#include "guilib/controls/OXCoolScrollBar.h"
#include "guilib/controls/OXCoolSliderCtrl.h"
#include "guilib/controls/OXCoolSpinButtonCtrl.h"
#include "platform/base/Clock.h"
#include "platform/framework/controls/Edit.h"
#include "platform/framework/controls/ListBox.h"
#include "platform/user/ComboBox.h"
#include "platform/user/UpDown.h"
#include "tests/support/Gui.h"

namespace {

// A gallery of standard controls in a popup of this thread.
struct Gallery {
    HWND dialog = nullptr;
    std::map<std::string, HWND> items;
    void Make(int x = 40, int y = 40) {
        RegisterTestWindowClass("CoolGallery", ::DefWindowProc, COLOR_BTNFACE);
        dialog = CreateWindowEx(0, "CoolGallery", "Gallery", WS_POPUP | WS_VISIBLE, x, y, 360, 240, nullptr, nullptr,
                                nullptr, nullptr);
        auto add = [&](const char* key, DWORD ex, const char* cls, DWORD style, int l, int t, int w, int h) {
            items[key] = CreateWindowEx(ex, cls, key, WS_CHILD | WS_VISIBLE | style, l, t, w, h, dialog, nullptr,
                                        nullptr, nullptr);
        };
        add("edit", WS_EX_CLIENTEDGE, "Edit", 0, 10, 10, 100, 22);
        add("push", 0, "Button", BS_PUSHBUTTON, 10, 40, 80, 24);
        add("check", 0, "Button", BS_AUTOCHECKBOX, 10, 70, 100, 20);
        add("combo", 0, "ComboBox", CBS_DROPDOWN, 130, 80, 100, 120);
        add("scroll", 0, "ScrollBar", 0, 10, 100, 120, 16);
        add("spin", 0, UPDOWN_CLASS, 0, 250, 10, 16, 30);
        add("static", 0, "Static", 0, 250, 60, 60, 16);
        add("slider", 0, "msctls_trackbar32", 0, 130, 10, 100, 30);
    }
    void Destroy() {
        if (IsWindow(dialog))
            DestroyWindow(dialog);
        Pump();
    }
};

class OrganizerTest : public ::testing::Test {
protected:
    void TearDown() override {
        organizer.DetachFromThread();
        gallery.Destroy();
    }
    COXCoolControlOrganizer organizer;
    Gallery gallery;
};

TEST_F(OrganizerTest, ConvertsEachClassToItsCoolControl) {
    gallery.Make();
    ASSERT_TRUE(organizer.AttachToThread(GetCurrentThreadId()));
    struct Case {
        const char* item;
        const std::type_info& type;
    } cases[] = {
        {"edit", typeid(COXCoolCtrl<CEdit>)},       {"push", typeid(COXCoolButton)},
        {"check", typeid(COXCoolButton)},
        {"scroll", typeid(COXCoolScrollBar)},       {"spin", typeid(COXCoolSpinButtonCtrl)},
        {"slider", typeid(COXCoolSliderCtrl)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        CWnd* control = organizer.GetConvertedControl(gallery.items[c.item]);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(typeid(*control), c.type);
        EXPECT_EQ(CWnd::FromHandlePermanent(gallery.items[c.item]), control);
    }
    EXPECT_TRUE(organizer.IsConverted(gallery.items["combo"]));
    EXPECT_TRUE(organizer.IsRejected(gallery.items["static"]));
    EXPECT_FALSE(organizer.IsConverted(gallery.dialog));
    // The combo box's own edit is left to the combo box.
    HWND comboEdit = GetDlgItem(gallery.items["combo"], 1001);
    if (comboEdit) {
        EXPECT_FALSE(organizer.IsConverted(comboEdit));
    }
    // A second attach, by this or another organizer, is refused.
    EXPECT_FALSE(organizer.AttachToThread(GetCurrentThreadId()));
    COXCoolControlOrganizer other;
    EXPECT_FALSE(other.AttachToThread(GetCurrentThreadId()));
    Pump();
    WriteScreenshot(gallery.dialog, "CoolGalleryFlat");
}

TEST_F(OrganizerTest, TheGalleryHotFocusedAndDisabled) {
    DrivenClock clock;
    gallery.Make();
    ASSERT_TRUE(organizer.AttachToThread(GetCurrentThreadId()));
    auto repaint = [&] {
        RedrawWindow(gallery.dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
    };
    HWND edit = gallery.items["edit"];
    PixelProbe px(edit);
    // The edit hot under the pointer: its sunken border returns.
    RECT r;
    GetWindowRect(edit, &r);
    SetCursorPos(r.left + 3, r.top + 3);
    SendMessage(edit, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    repaint();
    EXPECT_EQ(px.At(0, 5), RGB(128, 128, 128));
    WriteScreenshot(gallery.dialog, "CoolGalleryHot");
    SetCursorPos(1, 1);
    clock.Advance(150);
    Pump();
    // The check box focused (from a sibling): active while the pointer is away; the edit flat again.
    SetFocus(gallery.items["static"]);
    SetFocus(gallery.items["check"]);
    repaint();
    auto* check = dynamic_cast<COXCoolButton*>(organizer.GetConvertedControl(gallery.items["check"]));
    ASSERT_NE(check, nullptr);
    EXPECT_TRUE(check->IsInFocusState());
    EXPECT_EQ(px.At(0, 5), RGB(255, 255, 255));
    WriteScreenshot(gallery.dialog, "CoolGalleryFocused");
    // All disabled: highlight outer ring, shadow inner ring.
    SetFocus(nullptr);
    for (auto& [key, hwnd] : gallery.items)
        EnableWindow(hwnd, FALSE);
    repaint();
    EXPECT_EQ(px.At(0, 5), RGB(255, 255, 255));
    EXPECT_EQ(px.At(1, 5), RGB(128, 128, 128));
    WriteScreenshot(gallery.dialog, "CoolGalleryDisabled");
}

TEST_F(OrganizerTest, AnApplicationsOwnControlObjectIsLeftAlone) {
    gallery.Make();
    CEdit own;
    ASSERT_TRUE(own.SubclassWindow(gallery.items["edit"]));
    ASSERT_TRUE(organizer.AttachToThread(GetCurrentThreadId()));
    EXPECT_FALSE(organizer.IsConverted(gallery.items["edit"]));
    EXPECT_TRUE(organizer.IsRejected(gallery.items["edit"]));
    EXPECT_EQ(CWnd::FromHandlePermanent(gallery.items["edit"]), &own);
    organizer.DetachFromThread();
    own.UnsubclassWindow();
}

TEST_F(OrganizerTest, AWindowOpenedLaterConvertsAtItsFirstMessage) {
    ASSERT_TRUE(organizer.AttachToThread(GetCurrentThreadId()));
    gallery.Make();
    EXPECT_FALSE(organizer.IsConverted(gallery.items["edit"]));
    PostMessage(gallery.dialog, WM_NULL, 0, 0);
    Pump();
    EXPECT_TRUE(organizer.IsConverted(gallery.items["edit"]));
    EXPECT_TRUE(organizer.IsConverted(gallery.items["push"]));
    // A destroyed control's object goes with it.
    DestroyWindow(gallery.items["push"]);
    EXPECT_FALSE(organizer.IsConverted(gallery.items["push"]));
}

class NoButtons : public COXCoolControlOrganizer {
public:
    BOOL CanConvert(HWND hWnd, LPCTSTR lpszClassName) override {
        return CString(lpszClassName).CompareNoCase("Button") != 0 &&
               COXCoolControlOrganizer::CanConvert(hWnd, lpszClassName);
    }
};

TEST_F(OrganizerTest, ADerivedVetoHolds) {
    gallery.Make();
    NoButtons narrow;
    ASSERT_TRUE(narrow.AttachToThread(GetCurrentThreadId()));
    EXPECT_FALSE(narrow.IsConverted(gallery.items["push"]));
    EXPECT_TRUE(narrow.IsRejected(gallery.items["push"]));
    EXPECT_TRUE(narrow.IsConverted(gallery.items["edit"]));
    narrow.DetachFromThread();
}

TEST_F(OrganizerTest, DetachRestoresProceduresAndPixelsAndForgetsTheRejected) {
    gallery.Make();
    Pump();
    std::map<std::string, LONG_PTR> procs;
    for (auto& [key, hwnd] : gallery.items)
        procs[key] = GetWindowLongPtr(hwnd, GWLP_WNDPROC);
    RedrawWindow(gallery.dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PixelProbe px(gallery.items["edit"]);
    COLORREF standard = px.At(0, 5), standardInner = px.At(1, 5);

    ASSERT_TRUE(organizer.AttachToThread(GetCurrentThreadId()));
    Pump();
    EXPECT_EQ(px.At(0, 5), RGB(255, 255, 255));
    EXPECT_GT(organizer.GetRejectedCount(), 0);

    ASSERT_TRUE(organizer.DetachFromThread());
    EXPECT_EQ(organizer.GetConvertedCount(), 0);
    EXPECT_EQ(organizer.GetRejectedCount(), 0);
    for (auto& [key, hwnd] : gallery.items)
        EXPECT_EQ(GetWindowLongPtr(hwnd, GWLP_WNDPROC), procs[key]) << key;
    RedrawWindow(gallery.dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(px.At(0, 5), standard);
    EXPECT_EQ(px.At(1, 5), standardInner);
    EXPECT_FALSE(organizer.DetachFromThread());
}

// ---- The cool buttons, scroll bar and spin --------------------------------------------------------

class CoolButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestWindowClass("CoolButtons", ::DefWindowProc, COLOR_BTNFACE);
        parent = CreateWindowEx(0, "CoolButtons", "", WS_POPUP | WS_VISIBLE, 60, 60, 320, 200, nullptr, nullptr,
                                nullptr, nullptr);
        SetCursorPos(1, 1);
    }
    void TearDown() override {
        for (CWnd* c : cools)
            c->UnsubclassWindow();
        for (CWnd* c : cools)
            delete c;
        DestroyWindow(parent);
        Pump();
    }
    HWND Button(DWORD style, int x, int y, int w = 90, int h = 24) {
        return CreateWindowEx(0, "Button", "Text", WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, nullptr,
                              nullptr, nullptr);
    }
    template <class C>
    C* Cool(HWND hwnd) {
        auto* c = new C;
        EXPECT_TRUE(c->SubclassWindow(hwnd));
        cools.push_back(c);
        return c;
    }
    void Repaint() {
        RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
    }
    std::vector<COLORREF> Pixels(HWND hwnd) {
        RECT r;
        GetWindowRect(hwnd, &r);
        std::vector<COLORREF> out;
        PixelProbe px(hwnd);
        for (int y = 0; y < r.bottom - r.top; ++y)
            for (int x = 0; x < r.right - r.left; ++x)
                out.push_back(px.At(x, y));
        return out;
    }
    void MouseOver(HWND hwnd) {
        RECT r;
        GetWindowRect(hwnd, &r);
        SetCursorPos(r.left + 3, r.top + 3);
        SendMessage(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
        Pump();
    }

    DrivenClock clock;
    HWND parent = nullptr;
    std::vector<CWnd*> cools;
};

TEST_F(CoolButtonTest, GroupBoxesOwnerDrawAndFlatButtonsAreLeftAsDrawn) {
    for (DWORD style : {(DWORD)BS_GROUPBOX, (DWORD)BS_OWNERDRAW, (DWORD)(BS_PUSHBUTTON | BS_FLAT)}) {
        SCOPED_TRACE(style);
        HWND b = Button(style, 10, 10);
        Repaint();
        std::vector<COLORREF> before = Pixels(b);
        Cool<COXCoolButton>(b);
        Repaint();
        EXPECT_EQ(Pixels(b), before);
    }
}

TEST_F(CoolButtonTest, PushButtonsAreFramedFlat) {
    struct Case {
        DWORD style;
        COLORREF outerTopLeft, outerBottomRight;
    } cases[] = {
        {BS_PUSHBUTTON, RGB(255, 255, 255), RGB(128, 128, 128)},
        {BS_DEFPUSHBUTTON, RGB(64, 64, 64), RGB(64, 64, 64)},
    };
    int y = 10;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        HWND b = Button(c.style, 10, y);
        y += 40;
        Cool<COXCoolButton>(b);
        Repaint();
        PixelProbe px(b);
        EXPECT_EQ(px.At(0, 0), c.outerTopLeft);
        EXPECT_EQ(px.At(89, 23), c.outerBottomRight);
        EXPECT_EQ(px.At(1, 12), c.style == BS_DEFPUSHBUTTON ? RGB(255, 255, 255) : RGB(212, 208, 200));
    }
}

TEST_F(CoolButtonTest, AFocusedRadioTurnsFlatWhenTheMouseLeavesAFocusedCheckBoxStaysActive) {
    auto* radio = Cool<COXCoolButton>(Button(BS_AUTORADIOBUTTON, 10, 10));
    auto* check = Cool<COXCoolButton>(Button(BS_AUTOCHECKBOX, 10, 50));
    for (COXCoolButton* b : {radio, check}) {
        b->SetFocus();
        MouseOver(b->GetSafeHwnd());
        EXPECT_TRUE(b->IsInFocusState());
        SetCursorPos(1, 1);
        clock.Advance(150);
        Pump();
    }
    EXPECT_FALSE(radio->IsInFocusState());
    EXPECT_TRUE(check->IsInFocusState());
}

TEST_F(CoolButtonTest, AFlatRadioCoversTheUpperLeftOfItsCircleWithAHighlightArc) {
    HWND hwnd = Button(BS_AUTORADIOBUTTON, 10, 10);  // 24 high: the 13-pixel box's top is 5
    // The arc runs counter-clockwise from upper right to lower left in the ellipse (2, 6)-(13, 17).
    struct Probe {
        int x, y;
        bool onArc;
    } probes[] = {{7, 6, true}, {4, 7, true}, {11, 8, true}, {12, 11, false}, {7, 17, false}};
    Repaint();
    std::vector<COLORREF> standard;
    PixelProbe px(hwnd);
    for (const Probe& p : probes)
        standard.push_back(px.At(p.x, p.y));
    Cool<COXCoolButton>(hwnd);
    Repaint();
    for (size_t i = 0; i < std::size(probes); ++i) {
        SCOPED_TRACE(i);
        if (probes[i].onArc) {
            EXPECT_NE(standard[i], RGB(255, 255, 255));
            EXPECT_EQ(px.At(probes[i].x, probes[i].y), RGB(255, 255, 255));
        } else {
            EXPECT_EQ(px.At(probes[i].x, probes[i].y), standard[i]);
        }
    }
}

TEST_F(CoolButtonTest, UncheckingARadioRepaintsItAtOnce) {
    auto* radio = Cool<COXCoolButton>(Button(BS_AUTORADIOBUTTON, 10, 10));
    radio->SetCheck(1);
    Repaint();
    std::vector<COLORREF> checked = Pixels(radio->GetSafeHwnd());
    radio->SetCheck(0);  // no pump: the repaint is immediate
    EXPECT_NE(Pixels(radio->GetSafeHwnd()), checked);
}

TEST_F(CoolButtonTest, AScrollBarControlsFlatThumbComesFromItsOwnValues) {
    HWND bar = CreateWindowEx(0, "ScrollBar", "", WS_CHILD | WS_VISIBLE | SBS_HORZ, 10, 150, 120, 16, parent, nullptr,
                              nullptr, nullptr);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 45, 0};
    SetScrollInfo(bar, SB_CTL, &si, TRUE);
    Cool<COXCoolScrollBar>(bar);
    Repaint();
    const int arrow = GetSystemMetrics(SM_CXHSCROLL), track = 120 - 2 * arrow;
    int offset = 0, length = 0;
    ASSERT_TRUE(oxcool::CalcThumb(track, si, offset, length));
    const int left = arrow + offset, right = left + length - 1;
    PixelProbe px(bar);
    for (int y = 1; y < 15; ++y) {
        EXPECT_EQ(px.At(left, y), RGB(255, 255, 255)) << y;
        EXPECT_EQ(px.At(right, y), RGB(128, 128, 128)) << y;
    }
    EXPECT_EQ(px.At(left + 1, 8), RGB(212, 208, 200));
}

TEST_F(CoolButtonTest, SpinsUnderEightPixelsKeepTheirArrowsAndASpinOnACoolEditDrawsItsBorder) {
    // Too small to flatten: pixel-equal to the standard spin.
    HWND small = CreateWindowEx(0, UPDOWN_CLASS, "", WS_CHILD | WS_VISIBLE, 200, 10, 16, 7, parent, nullptr,
                                nullptr, nullptr);
    Repaint();
    std::vector<COLORREF> before = Pixels(small);
    Cool<COXCoolSpinButtonCtrl>(small);
    Repaint();
    EXPECT_EQ(Pixels(small), before);

    HWND edit = CreateWindowEx(WS_EX_CLIENTEDGE, "Edit", "1", WS_CHILD | WS_VISIBLE, 10, 100, 80, 24, parent,
                               nullptr, nullptr, nullptr);
    HWND spinWnd = CreateWindowEx(0, UPDOWN_CLASS, "", WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT, 0, 0, 16, 24,
                                  parent, nullptr, nullptr, nullptr);
    auto* spin = Cool<COXCoolSpinButtonCtrl>(spinWnd);
    SendMessage(spinWnd, UDM_SETBUDDY, (WPARAM)edit, 0);
    auto* coolEdit = Cool<COXCoolCtrl<CEdit>>(edit);
    Repaint();
    PixelProbe px(spinWnd);
    RECT s;
    GetWindowRect(spinWnd, &s);
    const int w = s.right - s.left, h = s.bottom - s.top;
    // Flat: the covered border is white like the edit's.
    EXPECT_EQ(px.At(w / 2, 0), RGB(255, 255, 255));
    EXPECT_EQ(px.At(w - 1, h / 2), RGB(255, 255, 255));
    (void)spin;
    (void)coolEdit;
}

}  // namespace
