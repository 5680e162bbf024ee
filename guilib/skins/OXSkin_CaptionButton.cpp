// The small caption buttons of bars in the Office looks.
#include "guilib/skins/OXSkin.h"

#include <algorithm>

#include "platform/framework/bars/ControlBar.h"
#include "platform/user/Modules.h"

namespace {

BOOL IsPressedOrHot(const RECT& rect, HWND window, BOOL& pressed) {
    POINT cursor{};
    GetCursorPos(&cursor);
    RECT wr{};
    GetWindowRect(window, &wr);
    cursor.x -= wr.left;
    cursor.y -= wr.top;
    BOOL inside = PtInRect(&rect, cursor);
    pressed = GetCapture() != nullptr && inside;
    return inside;
}

}  // namespace

void COXSkinXP::FillCaptionButtonGround(CDC* dc, const RECT& button, COLORREF background, HWND) {
    dc->FillSolidRect(&button, background);
}

void COXSkinXP::DrawCaptionButton(CDC* dc, const RECT& rect, UINT glyph, BOOL disabled, BOOL onSolidCaption,
                                  COLORREF background, HWND window) {
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    COLORREF disabledColour = 0;
    if (disabled) {
        disabledColour = onSolidCaption ? AdjustColor(background, 64, 64, 64) : AdjustColor(background, -96, -96, -96);
        onSolidCaption = FALSE;
    }
    BOOL pressed = FALSE;
    BOOL hot = IsPressedOrHot(rect, window, pressed);
    if (pressed)
        hot = FALSE;

    CDC button;
    button.CreateCompatibleDC(dc);
    CBitmap buttonBitmap;
    buttonBitmap.CreateCompatibleBitmap(dc, width, height);
    CBitmap* oldButton = button.SelectObject(&buttonBitmap);
    RECT all{0, 0, width, height};
    if (disabled || (!hot && !pressed)) {
        // What lies behind the button, in the button's own coordinates.
        POINT org = button.SetViewportOrg(-rect.left, -rect.top);
        FillCaptionButtonGround(&button, rect, background, window);
        button.SetViewportOrg(org);
    } else {
        CBrush fill(pressed ? GetPressedItemColor() : GetHotItemColor());
        CPen border(PS_SOLID, 1, GetHighlightBorderColor());
        CBrush* oldBrush = button.SelectObject(&fill);
        CPen* oldPen = button.SelectObject(&border);
        button.Rectangle(&all);
        button.SelectObject(oldBrush);
        button.SelectObject(oldPen);
    }

    // The glyph on a BTNFACE ground, inverted when pressed or idle on a solid caption.
    int gw = width - 4, gh = height - 4;
    if (gw > 0 && gh > 0) {
        CDC glyphDC;
        glyphDC.CreateCompatibleDC(dc);
        CBitmap glyphBitmap;
        glyphBitmap.CreateCompatibleBitmap(dc, gw, gh);
        CBitmap* oldGlyph = glyphDC.SelectObject(&glyphBitmap);
        RECT frame{-2, -2, gw + 2, gh + 2};
        glyphDC.FillSolidRect(0, 0, gw, gh, GetSysColor(COLOR_BTNFACE));
        glyphDC.DrawFrameControl(&frame, DFC_CAPTION, glyph | DFCS_FLAT);
        COLORREF ground = GetSysColor(COLOR_BTNFACE);
        if (pressed || (onSolidCaption && !hot)) {
            CBrush white(RGB(255, 255, 255));
            CBrush* oldBrush = glyphDC.SelectObject(&white);
            glyphDC.PatBlt(0, 0, gw, gh, PATINVERT);
            glyphDC.SelectObject(oldBrush);
            ground = InvertColor(ground);
        }
        glyphDC.SelectObject(oldGlyph);
        DrawMaskedBitmap(&glyphBitmap, &button, 2, 2, gw, gh, ground);
    }

    if (!disabled) {
        dc->BitBlt(rect.left, rect.top, width, height, &button, 0, 0, SRCCOPY);
    } else {
        CDC shade;
        shade.CreateCompatibleDC(dc);
        CBitmap shadeBitmap;
        shadeBitmap.CreateCompatibleBitmap(dc, width, height);
        CBitmap* oldShade = shade.SelectObject(&shadeBitmap);
        shade.FillSolidRect(&all, disabledColour);
        button.SelectObject(oldButton);
        DrawMaskedBitmap(&buttonBitmap, &shade, 0, 0, width, height, RGB(0, 0, 0));
        dc->BitBlt(rect.left, rect.top, width, height, &shade, 0, 0, SRCCOPY);
        shade.SelectObject(oldShade);
        return;
    }
    button.SelectObject(oldButton);
}

void COXSkin2003::FillCaptionButtonGround(CDC* dc, const RECT& button, COLORREF background, HWND window) {
    if (OXIsKindOf(window, "COXMenuBar")) {
        // The dock band of the parent, from its left edge, across the button.
        HWND parent = ::GetParent(window);
        RECT parentRect{}, mine{};
        ::GetWindowRect(parent, &parentRect);
        ::GetWindowRect(window, &mine);
        int x = parentRect.left - mine.left;
        int width = std::max<int>(GetSystemMetrics(SM_CXSCREEN), parentRect.right - parentRect.left);
        int saved = dc->SaveDC();
        dc->IntersectClipRect(&button);
        DrawDockBand(dc, RECT{x, button.top, x + width, button.bottom});
        dc->RestoreDC(saved);
        return;
    }
    if (OXIsKindOf(window, "COXSizeControlBar")) {
        // The caption gradient runs across a bar docked top or bottom, down one docked left or right.
        auto* bar = DYNAMIC_DOWNCAST(CControlBar, CWnd::FromHandlePermanent(window));
        BOOL horz = bar && (bar->GetBarStyle() & CBRS_ORIENT_HORZ);
        FillGradient(dc, button, GetCaptionLightColor(), GetCaptionDarkColor(), horz ? 0 : 1);
        return;
    }
    dc->FillSolidRect(&button, background);
}
