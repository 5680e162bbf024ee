#include "guilib/skins/OXShortcutBarSkin.h"

#include <algorithm>

#include "guilib/skins/OXSkin.h"

namespace {

COLORREF Sys(int index) {
    return GetSysColor(index);
}

// The shortcut bar's own colour helpers: one delta for all three components.
COLORREF Adjust(COLORREF c, int d) {
    return COXSkinXP::AdjustColor(c, d, d, d);
}

BOOL IsColorClose(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

void Frame3d(CDC* dc, RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    dc->Draw3dRect(&r, topLeft, bottomRight);
    InflateRect(&r, -1, -1);
}

}  // namespace

// Arrow of the drop mark: a shaft 3 wide and 6 high and a head of rows 7, 5, 3 and 1 pixels towards
// the edge; direction 1 points down at the bottom, -1 up at the top.
void COXShortcutBarSkin::DrawDropMark(CDC* dc, const RECT& rect, COLORREF base, int direction) {
    COLORREF colour = IsColorClose(RGB(255, 0, 0), base, 64) ? RGB(0, 0, 255) : RGB(255, 0, 0);
    CBrush frame(colour);
    dc->FrameRect(&rect, &frame);
    if (direction == 0)
        return;
    RECT inner = rect;
    InflateRect(&inner, -4, -4);
    for (int side = 0; side < 2; ++side) {
        int x = side == 0 ? inner.left : inner.right - 7;
        if (direction > 0) {
            int edge = inner.bottom;
            dc->FillSolidRect(x + 2, edge - 9, 3, 6, colour);
            for (int row = 0; row < 4; ++row)
                dc->FillSolidRect(x + row, edge - 4 + row, 7 - 2 * row, 1, colour);
        } else {
            int edge = inner.top;
            dc->FillSolidRect(x + 2, edge + 3, 3, 6, colour);
            for (int row = 0; row < 4; ++row)
                dc->FillSolidRect(x + row, edge + 3 - row, 7 - 2 * row, 1, colour);
        }
    }
}

void COXShortcutBarSkin::DrawGroupHeader(DRAWITEMSTRUCT* header, COXShortcutBarView* bar) {
    CDC dc;
    dc.Attach(header->hDC);
    int saved = dc.SaveDC();
    HANDLE group = (HANDLE)(UINT_PTR)header->itemID;
    BOOL dragged = bar->GetDraggedGroup() == group;
    COLORREF base = bar->GetGroupBkColor(group);
    if (dragged)
        base = COXSkinXP::InvertColor(base);
    COLORREF light = Adjust(base, 64), dark = Adjust(base, -128);
    RECT r = header->rcItem;
    if (!(bar->GetBarStyle() & 0x8000)) {
        Frame3d(&dc, r, light, dark);
        Frame3d(&dc, r, light, dark);
    } else if (dragged || bar->IsPaintingDragImage()) {
        Frame3d(&dc, r, light, dark);
        Frame3d(&dc, r, base, base);
    } else if (HANDLE pressed = bar->GetPressedGroup()) {
        if (pressed == group && bar->GetHotGroup() == group) {
            Frame3d(&dc, r, dark, base);
            Frame3d(&dc, r, dark, light);
        } else if (pressed == group) {
            Frame3d(&dc, r, light, dark);
            Frame3d(&dc, r, base, dark);
        } else {
            Frame3d(&dc, r, light, dark);
            Frame3d(&dc, r, base, base);
        }
    } else if (bar->GetHotGroup() == group) {
        Frame3d(&dc, r, light, dark);
        Frame3d(&dc, r, base, dark);
    } else {
        Frame3d(&dc, r, light, dark);
        Frame3d(&dc, r, base, base);
    }
    dc.FillSolidRect(&r, base);

    HFONT font = bar->GetGroupHeaderFont(group);
    if (font)
        ::SelectObject(dc, font);
    SIZE space = dc.GetTextExtent(" ", 1);
    r.left += 2 * space.cx;
    r.right -= 2 * space.cx;
    BOOL expanded = bar->GetExpandedGroup() == group;
    int image = bar->GetGroupImage(group, expanded);
    HIMAGELIST images = bar->GetHeaderImageList();
    if (image >= 0 && images) {
        int w = 0, h = 0;
        ImageList_GetIconSize(images, &w, &h);
        ImageList_Draw(images, image, dc, r.left, r.top, ILD_TRANSPARENT);
        r.left += w;
    }
    CString text = bar->GetGroupText(group);
    if (!text.IsEmpty() && r.right > r.left) {
        CFont bold;
        if ((bar->GetBarStyle() & 0x0040) && expanded && font) {
            LOGFONT lf{};
            ::GetObject(font, sizeof lf, &lf);
            int weight = lf.lfWeight == 0 ? 400 : (int)lf.lfWeight;
            lf.lfWeight = std::min(weight + 300, 1000);
            bold.CreateFontIndirect(&lf);
            dc.SelectObject(&bold);
        }
        COLORREF textColour = bar->GetGroupTextColor(group);
        if (dragged)
            textColour = COXSkinXP::InvertColor(textColour);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(textColour);
        dc.DrawText(text, &r, bar->GetGroupHeaderFormat(group));
        dc.RestoreDC(saved);
        saved = dc.SaveDC();
    }
    HANDLE target = bar->GetDropTargetGroup();
    if (target == group && !dragged && bar->GetDraggedGroup()) {
        int a = bar->GetGroupOrder(target), b = bar->GetGroupOrder(bar->GetDraggedGroup());
        DrawDropMark(&dc, header->rcItem, base, a > b ? 1 : a < b ? -1 : 0);
    }
    dc.RestoreDC(saved);
    dc.Detach();
}

// Classic.

COLORREF COXShortcutBarSkinClassic::GetListBackgroundColor(HWND) {
    return Sys(COLOR_BTNSHADOW);
}

COLORREF COXShortcutBarSkinClassic::GetListTextColor(HWND) {
    return Sys(COLOR_CAPTIONTEXT);
}

void COXShortcutBarSkinClassic::DrawItemFrame(CDC* dc, const RECT& rect, BOOL hot, BOOL pressed, HWND list) {
    COLORREF base = GetListBackgroundColor(list);
    COLORREF light = Adjust(base, 64), dark = Adjust(base, -128);
    if (pressed)
        dc->Draw3dRect(&rect, dark, light);
    else if (hot)
        dc->Draw3dRect(&rect, light, dark);
}

void COXShortcutBarSkinClassic::FillListBackground(CDC* dc, const RECT& rect, HWND window, BOOL useColour,
                                                   COLORREF colour) {
    RECT r = rect;
    if (OXIsKindOf(window, "COXSHBListCtrl"))
        OffsetRect(&r, -r.left, -r.top);
    dc->FillSolidRect(&r, useColour ? colour : GetListBackgroundColor(window));
}

// Office XP.

COXShortcutBarSkinXP::COXShortcutBarSkinXP(COXSkinXP* skin, BOOL stacked) : m_pSkin(skin) {
    m_bStacked = stacked;
}

COLORREF COXShortcutBarSkinXP::GetListBackgroundColor(HWND) {
    return m_pSkin->GetBarBackgroundColor();
}

COLORREF COXShortcutBarSkinXP::GetListTextColor(HWND) {
    return Sys(COLOR_WINDOWTEXT);
}

void COXShortcutBarSkinXP::DrawItemFrame(CDC* dc, const RECT& rect, BOOL hot, BOOL pressed, HWND) {
    if (!hot && !pressed)
        return;
    COLORREF fill = hot && pressed ? m_pSkin->GetPressedItemColor()
                    : hot          ? m_pSkin->GetHotItemColor()
                                   : m_pSkin->GetCheckedItemColor();
    CPen pen(PS_SOLID, 1, m_pSkin->GetHighlightBorderColor());
    CBrush brush(fill);
    CPen* oldPen = dc->SelectObject(&pen);
    CBrush* oldBrush = dc->SelectObject(&brush);
    dc->Rectangle(&rect);
    dc->SelectObject(oldBrush);
    dc->SelectObject(oldPen);
}

// Office 2003.

COXShortcutBarSkin2003::COXShortcutBarSkin2003(COXSkin2003* skin) : COXShortcutBarSkinXP(skin, FALSE), m_pSkin2003(skin) {}

void COXShortcutBarSkin2003::FourCornerGradient(CDC* dc, const RECT& rect, COLORREF light, COLORREF dark) {
    // Bilinear, row by row: each row a left-to-right gradient between its two side colours.
    int h = rect.bottom - rect.top;
    if (h <= 0 || rect.right <= rect.left)
        return;
    for (int y = 0; y < h; ++y) {
        float t = h > 1 ? (float)y / (float)(h - 1) : 0.0f;
        COLORREF left = COXSkinXP::BlendColors(light, dark, 0, 1.0f - t * 0.5f, t * 0.5f, 0);
        COLORREF right = COXSkinXP::BlendColors(light, dark, 0, 0.5f - t * 0.5f, 0.5f + t * 0.5f, 0);
        RECT row{rect.left, rect.top + y, rect.right, rect.top + y + 1};
        OXDrawLineGradient(dc, row, left, right, FALSE);
    }
}

void COXShortcutBarSkin2003::FillListBackground(CDC* dc, const RECT& rect, HWND window, BOOL useColour,
                                                COLORREF colour) {
    if (useColour) {
        dc->FillSolidRect(&rect, colour);
        return;
    }
    RECT r = rect;
    HWND parent = ::GetParent(window);
    if (OXIsKindOf(window, "COXSHBListCtrl") && parent) {
        RECT mine{}, parentClient{};
        ::GetWindowRect(window, &mine);
        POINT origin{0, 0};
        ::ClientToScreen(parent, &origin);
        ::GetClientRect(parent, &parentClient);
        r = parentClient;
        OffsetRect(&r, origin.x - mine.left, origin.y - mine.top);
    }
    FourCornerGradient(dc, r, m_pSkin2003->GetMenuGradientLightColor(), m_pSkin2003->GetStrongHighlightColor());
}

void COXShortcutBarSkin2003::DrawGroupHeader(DRAWITEMSTRUCT* header, COXShortcutBarView* bar) {
    CDC dc;
    dc.Attach(header->hDC);
    int saved = dc.SaveDC();
    HANDLE group = (HANDLE)(UINT_PTR)header->itemID;
    RECT r = header->rcItem;
    COLORREF light = m_pSkin2003->GetMenuGradientLightColor();
    if (bar->GetExpandedGroup() == group)
        FourCornerGradient(&dc, r, COXSkinXP::BlendColors(RGB(238, 149, 21), light, 0, 0.5f, 0.5f, 0), RGB(238, 149, 21));
    else if (bar->GetHotGroup() == group)
        FourCornerGradient(&dc, r, COXSkinXP::BlendColors(RGB(247, 192, 91), light, 0, 0.5f, 0.5f, 0), RGB(247, 192, 91));
    else
        FourCornerGradient(&dc, r, light, m_pSkin2003->GetStrongHighlightColor());
    dc.FillSolidRect(r.left, r.bottom - 1, r.right - r.left, 1, RGB(0, 45, 150));
    RECT t = r;
    OffsetRect(&t, 6, 6);
    int image = bar->GetGroupImage(group, bar->GetExpandedGroup() == group);
    HIMAGELIST images = bar->GetHeaderImageList();
    if (image >= 0 && images) {
        int w = 0, h = 0;
        ImageList_GetIconSize(images, &w, &h);
        ImageList_Draw(images, image, dc, t.left, t.top, ILD_TRANSPARENT);
        t.left += w + 6;
    }
    CString text = bar->GetGroupText(group);
    if (!text.IsEmpty()) {
        CFont bold;
        LOGFONT lf{};
        if (HFONT font = bar->GetGroupHeaderFont(group))
            ::GetObject(font, sizeof lf, &lf);
        lf.lfWeight = FW_BOLD;
        bold.CreateFontIndirect(&lf);
        dc.SelectObject(&bold);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(bar->GetGroupTextColor(group));
        dc.DrawText(text, &t, DT_VCENTER);
        dc.RestoreDC(saved);
        saved = dc.SaveDC();
    }
    HANDLE target = bar->GetDropTargetGroup();
    if (target == group && bar->GetDraggedGroup() && bar->GetDraggedGroup() != group) {
        int a = bar->GetGroupOrder(target), b = bar->GetGroupOrder(bar->GetDraggedGroup());
        DrawDropMark(&dc, header->rcItem, bar->GetGroupBkColor(group), a > b ? 1 : a < b ? -1 : 0);
    }
    dc.RestoreDC(saved);
    dc.Detach();
}

void COXShortcutBarSkin2003::FillBarBackground(COXShortcutBarView* bar, CDC* dc) {
    RECT client{};
    ::GetClientRect(bar->GetBarHwnd(), &client);
    RECT band{client.left, client.top, client.right, client.top + 25};
    m_pSkin2003->FillGradient(dc, band, RGB(85, 131, 211), RGB(3, 56, 147), 1);
    HANDLE expanded = bar->GetExpandedGroup();
    CString text = expanded ? bar->GetGroupText(expanded) : CString();
    if (!text.IsEmpty()) {
        LOGFONT lf{};
        if (HFONT font = bar->GetGroupHeaderFont(expanded))
            ::GetObject(font, sizeof lf, &lf);
        lf.lfHeight = 22;
        lf.lfWeight = 700;
        CFont title;
        title.CreateFontIndirect(&lf);
        int saved = dc->SaveDC();
        dc->SelectObject(&title);
        dc->SetBkMode(TRANSPARENT);
        dc->SetTextColor(RGB(255, 255, 255));
        RECT t = band;
        OffsetRect(&t, 6, 2);
        dc->DrawText(text, &t, DT_VCENTER);
        dc->RestoreDC(saved);
    }
    dc->ExcludeClipRect(&band);
}
