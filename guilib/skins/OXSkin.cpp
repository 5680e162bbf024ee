#include "guilib/skins/OXSkin.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "guilib/skins/OXDockbarSkin.h"
#include "guilib/skins/OXMenuSkin.h"
#include "guilib/skins/OXMiniFrameSkin.h"
#include "guilib/skins/OXShortcutBarSkin.h"
#include "guilib/skins/OXStatusbarSkin.h"
#include "guilib/skins/OXTabSkin.h"
#include "guilib/skins/OXToolbarSkin.h"
#include "platform/user/Modules.h"

COXSkin::~COXSkin() {
    delete m_pToolbarSkin;
    delete m_pMenuSkin;
    delete m_pToolbarSkin2;
    delete m_pDockbarSkin;
    delete m_pTabSkin;
    delete m_pShortcutBarSkin;
    delete m_pMiniFrameSkin;
    delete m_pStatusbarSkin;
    delete m_pFrameSkin;
}

COXSkinClassic::COXSkinClassic() {
    m_strName = "Classic";
    m_pToolbarSkin = new COXToolbarSkinClassic;
    m_pMenuSkin = new COXMenuSkinClassic;
    m_pToolbarSkin2 = new COXToolbarSkinClassic;
    m_pDockbarSkin = new COXDockbarSkinClassic;
    m_pTabSkin = new COXTabSkinClassic;
    m_pShortcutBarSkin = new COXShortcutBarSkinClassic;
    m_pMiniFrameSkin = new COXMiniFrameSkinClassic;
    m_pStatusbarSkin = new COXStatusbarSkinClassic;
    m_pFrameSkin = new COXFrameSkinClassic;
}

COXSkinXP::COXSkinXP() : COXSkinXP(true) {}

COXSkinXP::COXSkinXP(bool createSkins) {
    m_strName = "Office XP";
    if (!createSkins)
        return;  // the Office 2003 look builds its own set
    m_pToolbarSkin = new COXToolbarSkinXP(this);
    m_pMenuSkin = new COXMenuSkinXP(this);
    m_pToolbarSkin2 = new COXToolbarSkinXP(this);
    m_pDockbarSkin = new COXDockbarSkinXP(this);
    m_pTabSkin = new COXTabSkinXP(this);
    m_pShortcutBarSkin = new COXShortcutBarSkinXP(this);
    m_pMiniFrameSkin = new COXMiniFrameSkinXP(this);
    m_pStatusbarSkin = new COXStatusbarSkinXP(this);
    m_pFrameSkin = new COXFrameSkinXP(this);
}

namespace {

int Clamp255(long v) {
    return (int)std::clamp<long>(v, 0, 255);
}

int Truncate255(float v) {
    // Truncated toward zero, capped at 255 (and never below 0).
    float t = std::trunc(v);
    if (t > 255.0f)
        return 255;
    if (t < 0.0f)
        return 0;
    return (int)t;
}

COLORREF Sys(int index) {
    return GetSysColor(index);
}

}  // namespace

// Colour functions.

COLORREF COXSkinXP::AdjustColor(COLORREF c, int dR, int dG, int dB) {
    return RGB(Clamp255((long)GetRValue(c) + dR), Clamp255((long)GetGValue(c) + dG), Clamp255((long)GetBValue(c) + dB));
}

COLORREF COXSkinXP::ScaleColor(COLORREF c, float fR, float fG, float fB) {
    return RGB(Truncate255(GetRValue(c) * fR), Truncate255(GetGValue(c) * fG), Truncate255(GetBValue(c) * fB));
}

COLORREF COXSkinXP::BlendColors(COLORREF c1, COLORREF c2, COLORREF c3, float w1, float w2, float w3) {
    auto mix = [&](BYTE a, BYTE b, BYTE c) { return Truncate255(a * w1 + b * w2 + c * w3); };
    return RGB(mix(GetRValue(c1), GetRValue(c2), GetRValue(c3)), mix(GetGValue(c1), GetGValue(c2), GetGValue(c3)),
               mix(GetBValue(c1), GetBValue(c2), GetBValue(c3)));
}

COLORREF COXSkinXP::InvertColor(COLORREF c) {
    return RGB(255 - GetRValue(c), 255 - GetGValue(c), 255 - GetBValue(c));
}

COLORREF COXSkinXP::DarkenColor(int amount, COLORREF c) {
    int keep = 255 - amount;
    return RGB(MulDiv(GetRValue(c), keep, 255), MulDiv(GetGValue(c), keep, 255), MulDiv(GetBValue(c), keep, 255));
}

COLORREF COXSkinXP::GetPixelOrZero(CDC* dc, int x, int y, BOOL skip) {
    return skip ? 0 : dc->GetPixel(x, y);
}

void COXSkinXP::SetSavedPixel(CDC* dc, int x, int y, COLORREF color, BOOL save, BOOL restore,
                              CDWordArray& savedColours, int& index) {
    COLORREF pixel = color;
    if (restore && index >= 0 && index < savedColours.GetSize())
        pixel = savedColours[index++];
    dc->SetPixel(x, y, pixel);
    if (save)
        savedColours.Add(color);
}

BOOL OXDrawLineGradient(CDC* dc, const RECT& rect, COLORREF start, COLORREF end, BOOL topToBottom) {
    int n = topToBottom ? rect.bottom - rect.top : rect.right - rect.left;
    if (n < 1)
        return TRUE;
    int r0 = GetRValue(start), g0 = GetGValue(start), b0 = GetBValue(start);
    int dr = GetRValue(end) - r0, dg = GetGValue(end) - g0, db = GetBValue(end) - b0;
    int nr = 0, ng = 0, nb = 0;  // numerators, accumulated a step at a time
    for (int i = 0; i < n; ++i) {
        COLORREF c = RGB(r0 + nr / n, g0 + ng / n, b0 + nb / n);
        CPen pen(PS_SOLID, 1, c);
        CPen* old = dc->SelectObject(&pen);
        if (topToBottom) {
            dc->MoveTo(rect.left, rect.top + i);
            dc->LineTo(rect.right, rect.top + i);
        } else {
            dc->MoveTo(rect.left + i, rect.top);
            dc->LineTo(rect.left + i, rect.bottom);
        }
        dc->SelectObject(old);
        nr += dr;
        ng += dg;
        nb += db;
    }
    return TRUE;
}

BOOL COXSkinXP::DrawGradientRect(CDC* dc, const RECT& rect, COLORREF start, COLORREF endTall, COLORREF endWide) {
    if (rect.right - rect.left < rect.bottom - rect.top)
        return OXDrawLineGradient(dc, rect, start, endTall, FALSE);
    return OXDrawLineGradient(dc, rect, start, endWide, TRUE);
}

void COXSkinXP::DrawMaskedBitmap(CBitmap* bitmap, CDC* dc, int x, int y, int width, int height,
                                 COLORREF transparent) {
    if (width <= 0 || height <= 0)
        return;
    CDC image;
    image.CreateCompatibleDC(dc);
    CBitmap* oldImage = image.SelectObject(bitmap);
    CDC mask;
    mask.CreateCompatibleDC(dc);
    CBitmap maskBitmap;
    maskBitmap.CreateBitmap(width, height, 1, 1, nullptr);
    CBitmap* oldMask = mask.SelectObject(&maskBitmap);
    COLORREF oldImageBk = image.SetBkColor(transparent);
    mask.BitBlt(0, 0, width, height, &image, 0, 0, SRCCOPY);
    image.SetBkColor(oldImageBk);

    COLORREF oldBk = dc->SetBkColor(RGB(255, 255, 255));
    COLORREF oldText = dc->SetTextColor(RGB(0, 0, 0));
    dc->BitBlt(x, y, width, height, &image, 0, 0, SRCINVERT);
    dc->BitBlt(x, y, width, height, &mask, 0, 0, SRCAND);
    dc->BitBlt(x, y, width, height, &image, 0, 0, SRCINVERT);
    dc->SetBkColor(oldBk);
    dc->SetTextColor(oldText);
    mask.SelectObject(oldMask);
    image.SelectObject(oldImage);
}

// Office XP colours.

namespace {
COLORREF Blend2(COLORREF x, COLORREF y, float a, float b) {
    return COXSkinXP::BlendColors(x, y, 0, a, b, 0);
}
COLORREF Plus(COLORREF c, int d) {
    return COXSkinXP::AdjustColor(c, d, d, d);
}
}  // namespace

COLORREF COXSkinXP::GetHotItemColor() {
    return Blend2(Sys(COLOR_WINDOW), Sys(COLOR_HIGHLIGHT), 0.7f, 0.3f);
}
COLORREF COXSkinXP::GetCheckedItemColor() {
    return BlendColors(Sys(COLOR_BTNFACE), Sys(COLOR_WINDOW), Sys(COLOR_HIGHLIGHT), 0.42f, 0.48f, 0.1f);
}
COLORREF COXSkinXP::GetPressedItemColor() {
    return Blend2(Sys(COLOR_WINDOW), Sys(COLOR_HIGHLIGHT), 0.5f, 0.5f);
}
COLORREF COXSkinXP::GetHighlightBorderColor() {
    return Sys(COLOR_HIGHLIGHT);
}
COLORREF COXSkinXP::GetMenuBackgroundColor() {
    return Blend2(Sys(COLOR_WINDOW), Sys(COLOR_BTNFACE), 0.86f, 0.14f);
}
COLORREF COXSkinXP::GetShadowColor() {
    return Sys(COLOR_BTNSHADOW);
}
COLORREF COXSkinXP::GetBarBackgroundColor() {
    return Blend2(Sys(COLOR_WINDOW), Sys(COLOR_BTNFACE), 0.16f, 0.84f);
}
COLORREF COXSkinXP::GetFaceColor() {
    return Sys(COLOR_BTNFACE);
}
COLORREF COXSkinXP::GetDarkTextColor() {
    return AdjustColor(Sys(COLOR_GRAYTEXT), -8, -12, -22);
}
COLORREF COXSkinXP::GetLightShadowColor() {
    return Plus(Sys(COLOR_BTNSHADOW), 38);
}
COLORREF COXSkinXP::GetFrameShadowColor() {
    return Sys(COLOR_BTNSHADOW);
}
COLORREF COXSkinXP::GetSoftShadowColor() {
    return Plus(Sys(COLOR_BTNSHADOW), 32);
}
COLORREF COXSkinXP::GetEdgeColor() {
    return Sys(COLOR_BTNSHADOW);
}
COLORREF COXSkinXP::GetCaptionTextColor() {
    return Sys(COLOR_CAPTIONTEXT);
}
COLORREF COXSkinXP::GetDarkShadowColor() {
    return Plus(Sys(COLOR_BTNSHADOW), -9);
}
COLORREF COXSkinXP::GetAltBarBackgroundColor() {
    return GetBarBackgroundColor();
}
COLORREF COXSkinXP::GetGrayTextColor() {
    return Sys(COLOR_GRAYTEXT);
}
COLORREF COXSkinXP::GetAltLightShadowColor() {
    return GetLightShadowColor();
}

// Theme access.

COXUxTheme::COXUxTheme() : m_hUxTheme(LoadLibrary("UxTheme.dll")) {}

COXUxTheme::~COXUxTheme() {
    if (m_hUxTheme)
        FreeLibrary(m_hUxTheme);
}

HANDLE COXUxTheme::OpenThemeData(HWND window, LPCTSTR classList) {
    if (!m_hUxTheme || !classList)
        return nullptr;
    auto open = reinterpret_cast<OPENTHEMEDATAPROC>(GetProcAddress(m_hUxTheme, "OpenThemeData"));
    if (!open)
        return nullptr;
    std::wstring wide;
    for (const char* p = classList; *p; ++p)
        wide.push_back((wchar_t)(unsigned char)*p);
    return open(window, wide.c_str());
}

COLORREF COXUxTheme::GetThemeSysColor(HANDLE theme, int colourIndex) {
    auto get = m_hUxTheme ? reinterpret_cast<GETTHEMESYSCOLORPROC>(GetProcAddress(m_hUxTheme, "GetThemeSysColor"))
                          : nullptr;
    return get ? get(theme, colourIndex) : Sys(colourIndex);
}

void COXUxTheme::CloseThemeData(HANDLE theme) {
    auto close = m_hUxTheme ? reinterpret_cast<CLOSETHEMEDATAPROC>(GetProcAddress(m_hUxTheme, "CloseThemeData"))
                            : nullptr;
    if (close && theme)
        close(theme);
}

// Office 2003 colours.

COXSkin2003::COXSkin2003() : COXSkinXP(false) {
    m_strName = "Office 2003";
    m_pToolbarSkin = new COXToolbarSkin2003(this);
    m_pMenuSkin = new COXMenuSkin2003(this);
    m_pToolbarSkin2 = new COXToolbarSkinXP(this);
    m_pDockbarSkin = new COXDockbarSkin2003(this);
    m_pTabSkin = new COXTabSkin2003(this);
    m_pShortcutBarSkin = new COXShortcutBarSkin2003(this);
    m_pMiniFrameSkin = new COXMiniFrameSkinXP(this);
    m_pStatusbarSkin = new COXStatusbarSkin2003(this);
    m_pFrameSkin = new COXFrameSkin2003(this);
    m_hMsimg32 = LoadLibrary("Msimg32.dll");
    if (m_hMsimg32)
        m_pfnGradientFill = reinterpret_cast<void*>(GetProcAddress(m_hMsimg32, "GradientFill"));
}

COXSkin2003::~COXSkin2003() {
    if (m_hMsimg32)
        FreeLibrary(m_hMsimg32);
}

BOOL COXSkin2003::IsThemed(COLORREF* highlight, COLORREF* caption) {
    HANDLE theme = m_uxTheme.OpenThemeData(nullptr, "button");
    if (!theme)
        return FALSE;
    if (highlight)
        *highlight = m_uxTheme.GetThemeSysColor(theme, COLOR_HIGHLIGHT);
    if (caption)
        *caption = m_uxTheme.GetThemeSysColor(theme, COLOR_ACTIVECAPTION);
    // Closed after each query, so a theme change shows at the next repaint.
    m_uxTheme.CloseThemeData(theme);
    return TRUE;
}

COLORREF COXSkin2003::Themed(COLORREF themed, COLORREF otherwise) {
    return IsThemed() ? themed : otherwise;
}

COLORREF COXSkin2003::GetHotItemColor() {
    return IsThemed() ? RGB(255, 238, 194) : COXSkinXP::GetHotItemColor();
}
COLORREF COXSkin2003::GetCheckedItemColor() {
    return IsThemed() ? RGB(255, 192, 111) : COXSkinXP::GetCheckedItemColor();
}
COLORREF COXSkin2003::GetPressedItemColor() {
    return IsThemed() ? RGB(254, 128, 62) : COXSkinXP::GetPressedItemColor();
}
COLORREF COXSkin2003::GetHighlightBorderColor() {
    COLORREF caption = 0;
    return IsThemed(nullptr, &caption) ? AdjustColor(caption, 0, -84, -99) : Sys(COLOR_HIGHLIGHT);
}
COLORREF COXSkin2003::GetMenuBackgroundColor() {
    return IsThemed() ? RGB(246, 246, 246) : Blend2(Sys(COLOR_WINDOW), Sys(COLOR_BTNFACE), 0.86f, 0.14f);
}
COLORREF COXSkin2003::GetShadowColor() {
    COLORREF caption = 0;
    return IsThemed(nullptr, &caption) ? Blend2(caption, 0, 0.55f, 0.45f) : Sys(COLOR_BTNSHADOW);
}
COLORREF COXSkin2003::GetBarBackgroundColor() {
    return Blend2(Sys(COLOR_WINDOW), Sys(COLOR_BTNFACE), 0.16f, 0.84f);
}
COLORREF COXSkin2003::GetFaceColor() {
    return IsThemed() ? GetBandEndColor() : Sys(COLOR_BTNFACE);
}
COLORREF COXSkin2003::GetDarkTextColor() {
    return Sys(COLOR_BTNTEXT);
}
COLORREF COXSkin2003::GetLightShadowColor() {
    COLORREF h = 0;
    return IsThemed(&h) ? Blend2(Sys(COLOR_WINDOW), h, 0.2f, 0.8f) : COXSkinXP::GetLightShadowColor();
}
COLORREF COXSkin2003::GetFrameShadowColor() {
    COLORREF h = 0;
    return IsThemed(&h) ? Blend2(h, 0, 0.5f, 0.5f) : Plus(Sys(COLOR_BTNSHADOW), 38);
}
COLORREF COXSkin2003::GetSoftShadowColor() {
    COLORREF h = 0;
    return IsThemed(&h) ? Blend2(h, 0, 0.7f, 0.3f) : Plus(Sys(COLOR_BTNSHADOW), 32);
}
COLORREF COXSkin2003::GetEdgeColor() {
    COLORREF h = 0;
    return IsThemed(&h) ? h : Sys(COLOR_BTNSHADOW);
}
COLORREF COXSkin2003::GetCaptionTextColor() {
    return Sys(COLOR_CAPTIONTEXT);
}
COLORREF COXSkin2003::GetDarkShadowColor() {
    COLORREF h = 0;
    return IsThemed(&h) ? h : Plus(Sys(COLOR_BTNSHADOW), -9);
}
COLORREF COXSkin2003::GetAltBarBackgroundColor() {
    return GetFaceColor();
}
COLORREF COXSkin2003::GetGrayTextColor() {
    return Themed(RGB(141, 141, 141), Sys(COLOR_GRAYTEXT));
}
COLORREF COXSkin2003::GetAltLightShadowColor() {
    return Themed(RGB(141, 141, 141), Plus(Sys(COLOR_BTNSHADOW), 38));
}

// Colours of the form a·WINDOW + b·T(HIGHLIGHT) when themed, c·WINDOW + d·BTNFACE otherwise.
#define OX_WINDOW_MIX(name, tw, th, w, f)                                                          \
    COLORREF COXSkin2003::name() {                                                                  \
        COLORREF h = 0;                                                                             \
        if (IsThemed(&h))                                                                           \
            return Blend2(Sys(COLOR_WINDOW), h, tw, th);                                            \
        return Blend2(Sys(COLOR_WINDOW), Sys(COLOR_BTNFACE), w, f);                                 \
    }

OX_WINDOW_MIX(GetBarGradientLightColor, 0.95f, 0.05f, 0.78f, 0.22f)
OX_WINDOW_MIX(GetBarGradientDarkColor, 0.2f, 0.8f, 0.04f, 0.96f)
OX_WINDOW_MIX(GetMenuBarGradientDarkColor, 0.2f, 0.8f, 0.08f, 0.92f)
OX_WINDOW_MIX(GetBandEndColor, 0.7f, 0.3f, 0.8f, 0.2f)
OX_WINDOW_MIX(GetCaptionLightColor, 0.95f, 0.05f, 0.73f, 0.27f)
OX_WINDOW_MIX(GetMenuGradientLightColor, 0.95f, 0.05f, 0.86f, 0.14f)
OX_WINDOW_MIX(GetMenuGradientDarkColor, 0.2f, 0.8f, 0.58f, 0.42f)
OX_WINDOW_MIX(GetStatusBarMidColor, 0.6f, 0.4f, 0.5f, 0.5f)
OX_WINDOW_MIX(GetStatusBarLightColor, 0.3f, 0.7f, 0.2f, 0.8f)
#undef OX_WINDOW_MIX

COLORREF COXSkin2003::GetCaptionDarkColor() {
    COLORREF h = 0;
    return IsThemed(&h) ? Blend2(Sys(COLOR_WINDOW), h, 0.2f, 0.8f) : Sys(COLOR_BTNFACE);
}
COLORREF COXSkin2003::GetBandStartColor() {
    COLORREF h = 0;
    return IsThemed(&h) ? Blend2(Sys(COLOR_WINDOW), h, 0.5f, 0.5f) : Sys(COLOR_BTNFACE);
}
COLORREF COXSkin2003::GetStrongHighlightColor() {
    COLORREF h = 0;
    return IsThemed(&h) ? Blend2(Sys(COLOR_WINDOW), h, 0.5f, 0.5f) : GetBarBackgroundColor();
}
COLORREF COXSkin2003::GetStatusBarDarkColor() {
    COLORREF h = 0;
    return IsThemed(&h) ? BlendColors(Sys(COLOR_WINDOW), h, 0, 0.3f, 0.3f, 0.4f) : Sys(COLOR_BTNSHADOW);
}
COLORREF COXSkin2003::GetHotGradientLightColor() {
    return Themed(RGB(255, 244, 204), COXSkinXP::GetHotItemColor());
}
COLORREF COXSkin2003::GetHotGradientDarkColor() {
    return Themed(RGB(255, 208, 145), COXSkinXP::GetHotItemColor());
}
COLORREF COXSkin2003::GetCheckedGradientLightColor() {
    return Themed(RGB(255, 213, 140), COXSkinXP::GetCheckedItemColor());
}
COLORREF COXSkin2003::GetCheckedGradientDarkColor() {
    return Themed(RGB(255, 173, 85), COXSkinXP::GetCheckedItemColor());
}
COLORREF COXSkin2003::GetPressedGradientDarkColor() {
    return Themed(RGB(254, 145, 78), COXSkinXP::GetPressedItemColor());
}
COLORREF COXSkin2003::GetPressedGradientLightColor() {
    return Themed(RGB(255, 211, 142), COXSkinXP::GetPressedItemColor());
}
COLORREF COXSkin2003::GetSplitterColor() {
    return IsThemed() ? GetStrongHighlightColor() : COXSkinXP::GetLightShadowColor();
}

BOOL COXSkin2003::GradientFillRect(CDC* dc, const RECT& rect, COLORREF colour1, COLORREF colour2, ULONG mode) {
    if (!m_pfnGradientFill)
        return OXDrawLineGradient(dc, rect, colour1, colour2, mode == 1);
    TRIVERTEX vertices[2] = {};
    vertices[0].x = rect.left;
    vertices[0].y = rect.top;
    vertices[0].Red = (COLOR16)(GetRValue(colour1) * 255);
    vertices[0].Green = (COLOR16)(GetGValue(colour1) * 255);
    vertices[0].Blue = (COLOR16)(GetBValue(colour1) * 255);
    vertices[1].x = rect.right;
    vertices[1].y = rect.bottom;
    vertices[1].Red = (COLOR16)(GetRValue(colour2) * 255);
    vertices[1].Green = (COLOR16)(GetGValue(colour2) * 255);
    vertices[1].Blue = (COLOR16)(GetBValue(colour2) * 255);
    GRADIENT_RECT mesh{0, 1};
    auto fill = reinterpret_cast<GRADIENTFILLPROC>(m_pfnGradientFill);
    return fill(dc->GetSafeHdc(), vertices, 2, &mesh, 1, mode == 1 ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

BOOL COXSkin2003::FillGradient(CDC* dc, const RECT& rect, COLORREF colour1, COLORREF colour2, ULONG mode) {
    if (GetVersion() & 0x80000000)
        return OXDrawLineGradient(dc, rect, colour1, colour2, mode == 1);
    return GradientFillRect(dc, rect, colour1, colour2, mode);
}

void COXSkin2003::DrawDockBand(CDC* dc, const RECT& band) {
    RECT left = band;
    left.right = band.left + (band.right - band.left) / 2;
    RECT right = band;
    right.left = left.right;
    FillGradient(dc, left, GetBandStartColor(), GetBandEndColor(), 0);
    dc->FillSolidRect(&right, GetBandEndColor());
}

// Run-time class names.

BOOL OXIsKindOf(const CObject* object, LPCTSTR className) {
    if (!object)
        return FALSE;
    for (const CRuntimeClass* c = object->GetRuntimeClass(); c; c = c->m_pBaseClass)
        if (strcmp(c->m_lpszClassName, className) == 0)
            return TRUE;
    return FALSE;
}

BOOL OXIsKindOf(HWND window, LPCTSTR className) {
    return OXIsKindOf(CWnd::FromHandlePermanent(window), className);
}

void OXGetWindowRects(HWND window, RECT& windowRect, RECT& clientRect) {
    ::GetWindowRect(window, &windowRect);
    ::GetClientRect(window, &clientRect);
    POINT origin{0, 0};
    ::ClientToScreen(window, &origin);
    OffsetRect(&clientRect, origin.x - windowRect.left, origin.y - windowRect.top);
    OffsetRect(&windowRect, -windowRect.left, -windowRect.top);
}

namespace {

// The image drawn over white into a bitmap of its size; FALSE for an empty list or image.
BOOL ImageOverWhite(CDC* like, HIMAGELIST list, int index, CBitmap& bitmap, int& width, int& height) {
    width = height = 0;
    if (!list || index < 0 || !ImageList_GetIconSize(list, &width, &height) || width <= 0 || height <= 0)
        return FALSE;
    CDC mem;
    mem.CreateCompatibleDC(like);
    bitmap.CreateCompatibleBitmap(like, width, height);
    CBitmap* old = mem.SelectObject(&bitmap);
    mem.FillSolidRect(0, 0, width, height, RGB(255, 255, 255));
    ImageList_Draw(list, index, mem.GetSafeHdc(), 0, 0, ILD_TRANSPARENT);
    mem.SelectObject(old);
    return TRUE;
}

}  // namespace

void OXDrawImageState(CDC* dc, HIMAGELIST list, int index, int x, int y, UINT flags, CBrush* brush) {
    CBitmap bitmap;
    int w = 0, h = 0;
    if (ImageOverWhite(dc, list, index, bitmap, w, h))
        dc->DrawState(POINT{x, y}, SIZE{w, h}, &bitmap, flags, brush);
}

void OXDrawImageMonochrome(CDC* dc, HIMAGELIST list, int index, int x, int y, COLORREF colour) {
    int w = 0, h = 0;
    if (!list || index < 0 || !ImageList_GetIconSize(list, &w, &h) || w <= 0 || h <= 0)
        return;
    // The image over white and over black: a pixel is transparent where both show the ground.
    CDC image, mask, other;
    image.CreateCompatibleDC(dc);
    mask.CreateCompatibleDC(dc);
    other.CreateCompatibleDC(dc);
    CBitmap colourBitmap, maskBitmap, otherBitmap;
    colourBitmap.CreateCompatibleBitmap(dc, w, h);
    maskBitmap.CreateBitmap(w, h, 1, 1, nullptr);
    otherBitmap.CreateBitmap(w, h, 1, 1, nullptr);
    CBitmap* oldImage = image.SelectObject(&colourBitmap);
    CBitmap* oldMask = mask.SelectObject(&maskBitmap);
    CBitmap* oldOther = other.SelectObject(&otherBitmap);
    const COLORREF grounds[2] = {RGB(255, 255, 255), RGB(0, 0, 0)};
    for (int pass = 0; pass < 2; ++pass) {
        image.FillSolidRect(0, 0, w, h, grounds[pass]);
        ImageList_Draw(list, index, image.GetSafeHdc(), 0, 0, ILD_TRANSPARENT);
        image.SetBkColor(grounds[pass]);  // the ground turns white in the mask
        (pass == 0 ? mask : other).BitBlt(0, 0, w, h, &image, 0, 0, SRCCOPY);
    }
    mask.BitBlt(0, 0, w, h, &other, 0, 0, SRCAND);
    // 0xB8074A: the brush where the mask is black, the destination where it is white.
    CBrush brush(colour);
    CBrush* oldBrush = dc->SelectObject(&brush);
    COLORREF oldText = dc->SetTextColor(RGB(0, 0, 0));
    COLORREF oldBk = dc->SetBkColor(RGB(255, 255, 255));
    dc->BitBlt(x, y, w, h, &mask, 0, 0, 0xB8074A);
    dc->SetBkColor(oldBk);
    dc->SetTextColor(oldText);
    dc->SelectObject(oldBrush);
    other.SelectObject(oldOther);
    mask.SelectObject(oldMask);
    image.SelectObject(oldImage);
}
