#include <gtest/gtest.h>

#include <vector>

#include "guilib/controls/OXCoolSliderCtrl.h"
#include "platform/base/Clock.h"
#include "tests/support/Gui.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255), kGrey = RGB(128, 128, 128), kFace = RGB(212, 208, 200);

class CoolSliderTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestWindowClass("CoolSliders", ::DefWindowProc, COLOR_BTNFACE);
        parent = CreateWindowEx(0, "CoolSliders", "", WS_POPUP | WS_VISIBLE, 60, 60, 320, 260, nullptr, nullptr,
                                nullptr, nullptr);
        SetCursorPos(1, 1);
    }
    void TearDown() override {
        for (auto* c : cools) {
            c->UnsubclassWindow();
            delete c;
        }
        DestroyWindow(parent);
        Pump();
    }
    COXCoolSliderCtrl* Slider(DWORD style, int x, int y, int w, int h) {
        HWND hwnd = CreateWindowEx(0, TRACKBAR_CLASS, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                   nullptr, nullptr, nullptr);
        auto* c = new COXCoolSliderCtrl;
        EXPECT_TRUE(c->SubclassWindow(hwnd));
        cools.push_back(c);
        return c;
    }
    void Repaint() {
        RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
    }

    DrivenClock clock;
    HWND parent = nullptr;
    std::vector<COXCoolSliderCtrl*> cools;
};

// The flat thumb of each shape: pixels of its three passes, relative to the thumb rectangle (the last
// row or column is B - 1 or R - 1). The system's own thumb has dark shadow and shadow where these are.
TEST_F(CoolSliderTest, EachThumbShapeIsRedrawnFlatAtItsComputedPixels) {
    struct Probe {
        int dx, dy;  // from (L, T) when >= 0, from (R, B) when < 0
        COLORREF colour;
    };
    struct Case {
        const char* name;
        DWORD style;
        int x, y, w, h;
        std::vector<Probe> probes;
    } cases[] = {
        {"down", 0, 10, 10, 140, 30, {{0, 2, kWhite}, {-1, 2, kGrey}, {-2, 2, kFace}}},
        {"up", TBS_TOP, 10, 50, 140, 30, {{-1, -3, kGrey}, {2, -1, kGrey}, {0, -3, kWhite}, {-2, -3, kFace}}},
        {"right", TBS_VERT, 170, 10, 30, 140, {{2, 0, kWhite}, {0, 2, kWhite}, {2, -1, kGrey}, {2, -2, kFace}}},
        {"left", TBS_VERT | TBS_LEFT, 210, 10, 30, 140,
         {{-1, 2, kGrey}, {-3, -1, kGrey}, {-3, 0, kWhite}, {-2, 2, kFace}}},
        {"both", TBS_BOTH, 10, 90, 140, 30, {{0, 2, kWhite}, {-1, 2, kGrey}, {1, 2, kFace}, {-2, 2, kFace}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        COXCoolSliderCtrl* slider = Slider(c.style, c.x, c.y, c.w, c.h);
        slider->SetPos(50);
        Repaint();
        RECT t;
        slider->GetThumbRect(&t);
        PixelProbe px(slider->GetSafeHwnd());
        for (const Probe& p : c.probes) {
            int x = p.dx >= 0 ? t.left + p.dx : t.right + p.dx;
            int y = p.dy >= 0 ? t.top + p.dy : t.bottom + p.dy;
            EXPECT_EQ(px.At(x, y), p.colour) << x << "," << y;
        }
    }
    WriteScreenshot(parent, "CoolSliders");
}

TEST_F(CoolSliderTest, TheChannelIsSunkenAndAVerticalOneRunsVertically) {
    for (DWORD style : {(DWORD)0, (DWORD)TBS_VERT}) {
        SCOPED_TRACE(style);
        COXCoolSliderCtrl* slider = style ? Slider(style, 200, 10, 30, 200) : Slider(style, 10, 10, 160, 30);
        slider->SetPos(100);  // the thumb at the far end leaves the channel's start bare
        Repaint();
        RECT c;
        slider->GetChannelRect(&c);
        if (style & TBS_VERT)
            c = RECT{c.top, c.left, c.bottom, c.right};
        PixelProbe px(slider->GetSafeHwnd());
        if (style & TBS_VERT) {
            EXPECT_GT(c.bottom - c.top, c.right - c.left);
            EXPECT_EQ(px.At(c.left, c.top + 4), kGrey);
            EXPECT_EQ(px.At(c.right - 1, c.top + 4), kWhite);
            EXPECT_EQ(px.At(c.left + 1, c.top + 4), kFace);
        } else {
            EXPECT_EQ(px.At(c.left + 4, c.top), kGrey);
            EXPECT_EQ(px.At(c.left + 4, c.bottom - 1), kWhite);
            EXPECT_EQ(px.At(c.left + 4, c.top + 1), kFace);
        }
    }
}

TEST_F(CoolSliderTest, AnActiveSliderKeepsTheSystemLook) {
    COXCoolSliderCtrl* slider = Slider(0, 10, 10, 140, 30);
    slider->SetPos(50);
    slider->SetCoolState(FALSE);
    Repaint();
    RECT t;
    slider->GetThumbRect(&t);
    PixelProbe px(slider->GetSafeHwnd());
    COLORREF standard = px.At(t.right - 1, t.top + 2);
    EXPECT_NE(standard, kGrey);
    slider->SetCoolState(TRUE);
    Repaint();
    EXPECT_EQ(px.At(t.right - 1, t.top + 2), kGrey);
    // The focus comes from a sibling (focus arriving from the parent keeps the flat look).
    HWND other = CreateWindowEx(0, "Edit", "", WS_CHILD | WS_VISIBLE, 10, 200, 80, 20, parent, nullptr, nullptr,
                                nullptr);
    SetFocus(other);
    slider->SetFocus();
    Repaint();
    EXPECT_TRUE(slider->IsInFocusState());
    EXPECT_EQ(px.At(t.right - 1, t.top + 2), standard);
}

}  // namespace
