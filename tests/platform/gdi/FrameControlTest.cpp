#include <gtest/gtest.h>

#include "platform/gdi/Gdi.h"

namespace {

const COLORREF kMarker = RGB(1, 2, 3);

class FrameCanvas : public ::testing::Test {
protected:
    void SetUp() override {
        dc = CreateCompatibleDC(nullptr);
        bmp = CreateCompatibleBitmap(dc, 40, 30);
        old = SelectObject(dc, bmp);
        Clear();
    }
    void TearDown() override {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    void Clear() {
        HBRUSH b = CreateSolidBrush(kMarker);
        RECT all{0, 0, 40, 30};
        FillRect(dc, &all, b);
        DeleteObject(b);
    }
    int Count(const RECT& r, COLORREF c) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                n += GetPixel(dc, x, y) == c;
        return n;
    }
    bool UntouchedOutside(const RECT& r) const {
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) {
                POINT p{x, y};
                if (!PtInRect(&r, p) && GetPixel(dc, x, y) != kMarker)
                    return false;
            }
        return true;
    }
    HDC dc;
    HBITMAP bmp;
    HGDIOBJ old;
};

TEST_F(FrameCanvas, ButtonsDrawAGlyphInTheirFaceAndStayInTheirRectangle) {
    struct Case {
        UINT type, state;
    } cases[] = {{DFC_CAPTION, DFCS_CAPTIONCLOSE},  {DFC_CAPTION, DFCS_CAPTIONMIN},
                 {DFC_CAPTION, DFCS_CAPTIONMAX},    {DFC_CAPTION, DFCS_CAPTIONRESTORE},
                 {DFC_CAPTION, DFCS_CAPTIONHELP},   {DFC_SCROLL, DFCS_SCROLLUP},
                 {DFC_SCROLL, DFCS_SCROLLDOWN},     {DFC_SCROLL, DFCS_SCROLLLEFT},
                 {DFC_SCROLL, DFCS_SCROLLRIGHT},    {DFC_SCROLL, DFCS_SCROLLCOMBOBOX},
                 {DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_PUSHED},
                 {DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_FLAT}};
    RECT r{4, 5, 20, 19};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " state " << std::hex << c.state);
        Clear();
        ASSERT_TRUE(DrawFrameControl(dc, &r, c.type, c.state));
        EXPECT_TRUE(UntouchedOutside(r));
        EXPECT_GT(Count(r, GetSysColor(COLOR_BTNTEXT)), 2);
        EXPECT_GT(Count(r, GetSysColor(COLOR_BTNFACE)), 40);
    }
}

TEST_F(FrameCanvas, PushedButtonsSinkAndInactiveGlyphsAreEmbossed) {
    RECT r{4, 5, 20, 19};
    DrawFrameControl(dc, &r, DFC_CAPTION, DFCS_CAPTIONCLOSE);
    // Raised: light top-left, dark bottom-right.
    EXPECT_EQ(GetPixel(dc, 4, 5), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(GetPixel(dc, 19, 18), GetSysColor(COLOR_3DDKSHADOW));
    int glyphLeft = 40;
    for (int x = 0; x < 40; ++x)
        for (int y = 0; y < 30; ++y)
            if (GetPixel(dc, x, y) == GetSysColor(COLOR_BTNTEXT))
                glyphLeft = std::min(glyphLeft, x);

    Clear();
    DrawFrameControl(dc, &r, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_PUSHED);
    EXPECT_EQ(GetPixel(dc, 4, 5), GetSysColor(COLOR_3DSHADOW));
    int pushedLeft = 40;
    for (int x = 0; x < 40; ++x)
        for (int y = 0; y < 30; ++y)
            if (GetPixel(dc, x, y) == GetSysColor(COLOR_BTNTEXT))
                pushedLeft = std::min(pushedLeft, x);
    EXPECT_EQ(pushedLeft, glyphLeft + 1);

    Clear();
    DrawFrameControl(dc, &r, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_INACTIVE);
    RECT inner{6, 7, 18, 17};
    EXPECT_EQ(Count(inner, GetSysColor(COLOR_BTNTEXT)), 0);
    EXPECT_GT(Count(inner, GetSysColor(COLOR_BTNSHADOW)), 2);
    EXPECT_GT(Count(inner, GetSysColor(COLOR_BTNHIGHLIGHT)), 2);
}

TEST_F(FrameCanvas, AdjustRectAndUnknownKinds) {
    RECT r{4, 5, 20, 19};
    ASSERT_TRUE(DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT));
    EXPECT_EQ(r.left, 6);
    EXPECT_EQ(r.top, 7);
    EXPECT_EQ(r.right, 18);
    EXPECT_EQ(r.bottom, 17);
    RECT r2{4, 5, 20, 19};
    EXPECT_FALSE(DrawFrameControl(dc, &r2, 99, 0));
    EXPECT_FALSE(DrawFrameControl(dc, &r2, DFC_CAPTION, 9));
    EXPECT_FALSE(DrawFrameControl(dc, nullptr, DFC_CAPTION, 0));
}

TEST_F(FrameCanvas, CheckBoxShowsItsMarkOnlyWhenChecked) {
    RECT r{2, 2, 15, 15};
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONCHECK);
    RECT inner{4, 4, 13, 13};
    EXPECT_EQ(Count(inner, GetSysColor(COLOR_WINDOWTEXT)), 0);
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    EXPECT_GT(Count(inner, GetSysColor(COLOR_WINDOWTEXT)), 10);
    EXPECT_GT(Count(inner, GetSysColor(COLOR_WINDOW)), 10);
}

TEST_F(FrameCanvas, SetPixelVAnswersWhetherThePixelWasSet) {
    EXPECT_TRUE(SetPixelV(dc, 3, 3, RGB(9, 8, 7)));
    EXPECT_EQ(GetPixel(dc, 3, 3), RGB(9, 8, 7));
    EXPECT_FALSE(SetPixelV(dc, 300, 3, RGB(9, 8, 7)));
}

}  // namespace
