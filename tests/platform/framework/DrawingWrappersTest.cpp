// The drawing wrappers: objects owning their handles, temporary objects by handle dropped at idle
// without deleting the handle, and the DCs of a window.
#include <gtest/gtest.h>

#include "platform/framework/gdi/DC.h"
#include "platform/framework/window/Wnd.h"
#include "tests/support/Gui.h"

namespace {
TEST(DrawingWrappersTest, ObjectsOwnTheirHandlesAndTemporaryOnesDoNot) {
    HPEN created;
    {
        CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
        created = pen;
        EXPECT_EQ(CPen::FromHandle(created), &pen) << "an attached object is found by its handle";
        CDC dc;
        ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
        CBitmap bmp;
        ASSERT_TRUE(bmp.CreateCompatibleBitmap(&dc, 20, 20));
        CBitmap* oldBmp = dc.SelectObject(&bmp);
        ASSERT_NE(oldBmp, nullptr);
        CPen* oldPen = dc.SelectObject(&pen);
        ASSERT_NE(oldPen, nullptr);
        EXPECT_TRUE(oldPen->IsKindOf(RUNTIME_CLASS(CPen)));
        EXPECT_EQ(CGdiObject::FromHandle(oldPen->m_hObject), oldPen) << "one temporary object per handle";
        EXPECT_EQ(dc.GetCurrentPen(), &pen);
        EXPECT_EQ(CDC::FromHandle(dc.m_hDC), &dc);
        dc.SelectObject(oldPen);
        dc.SelectObject(oldBmp);
        // Idle time drops the temporaries and leaves their handles alone.
        HGDIOBJ stockPen = oldPen->m_hObject;
        CDC* temporary = CDC::FromHandle(dc.m_hDC);
        EXPECT_EQ(temporary, &dc);
        CGdiObject::DeleteTempMap();
        CDC::DeleteTempMap();
        EXPECT_EQ(GetObjectType(stockPen), (DWORD)OBJ_PEN);
        EXPECT_EQ(GetObjectType(created), (DWORD)OBJ_PEN);
    }
    EXPECT_EQ(GetObjectType(created), 0u) << "the pen's object deleted its handle";

    // A temporary wrapper of a handle the program made never deletes it.
    HBRUSH raw = CreateSolidBrush(RGB(1, 2, 3));
    CBrush* wrapped = CBrush::FromHandle(raw);
    EXPECT_TRUE(wrapped->IsKindOf(RUNTIME_CLASS(CBrush)));
    CGdiObject::DeleteTempMap();
    EXPECT_EQ(GetObjectType(raw), (DWORD)OBJ_BRUSH);
    DeleteObject(raw);
}

class CCanvas : public CWnd {
public:
    bool painted = false;

protected:
    void OnPaint() {
        CPaintDC dc(this);
        RECT rc;
        GetClientRect(&rc);
        dc.FillSolidRect(&rc, RGB(255, 255, 255));
        // A 1,000 x 1,000 page over the client area's 200 x 100 pixels.
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(1000, 1000);
        dc.SetViewportExt(rc.right, rc.bottom);
        CBrush blue(RGB(0, 0, 255));
        RECT half{500, 0, 1000, 500};
        dc.FillRect(&half, &blue);
        painted = true;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CCanvas, CWnd)
ON_WM_PAINT()
END_MESSAGE_MAP()

TEST(DrawingWrappersTest, TheDCsOfAWindowDrawWhatItShows) {
    CCanvas canvas;
    ASSERT_TRUE(canvas.CreateEx(0, AfxWndClassName(), "canvas", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                nullptr));
    canvas.UpdateWindow();
    ASSERT_TRUE(canvas.painted);
    PixelProbe probe(canvas.m_hWnd);
    EXPECT_EQ(probe.At(100, 0), RGB(0, 0, 255));
    EXPECT_EQ(probe.At(199, 49), RGB(0, 0, 255));
    EXPECT_EQ(probe.At(99, 10), RGB(255, 255, 255));
    EXPECT_EQ(probe.At(150, 50), RGB(255, 255, 255));
    {
        CClientDC dc(&canvas);
        dc.Draw3dRect(10, 60, 20, 20, RGB(255, 0, 0), RGB(0, 128, 0));
        RECT r{0, 0, 1000, 1000};
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(1000, 1000);
        dc.SetViewportExt(200, 100);
        dc.LPtoDP(&r);
        EXPECT_EQ(r.right, 200);
        EXPECT_EQ(r.bottom, 100);
        SIZE s{500, 500};
        dc.LPtoDP(&s);
        EXPECT_EQ(s.cx, 100);
        EXPECT_EQ(s.cy, 50);
    }
    EXPECT_EQ(probe.At(10, 60), RGB(255, 0, 0));
    EXPECT_EQ(probe.At(29, 79), RGB(0, 128, 0));
    EXPECT_EQ(probe.At(29, 60), RGB(0, 128, 0));
    EXPECT_EQ(probe.At(11, 61), RGB(255, 255, 255));
    canvas.DestroyWindow();
}
}  // namespace
