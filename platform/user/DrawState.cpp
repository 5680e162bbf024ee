#include "platform/user/DrawState.h"

#include <cairo.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/user/Controls.h"

namespace {

bool SizeOfImage(HDC dc, UINT kind, LPARAM data, WPARAM wData, int& cx, int& cy) {
    switch (kind) {
        case DST_TEXT:
        case DST_PREFIXTEXT: {
            const char* text = reinterpret_cast<const char*>(data);
            if (!text)
                return false;
            int len = wData ? (int)wData : (int)std::strlen(text);
            RECT rc{0, 0, 0, 0};
            DrawText(dc, text, len, &rc, DT_CALCRECT | DT_SINGLELINE | (kind == DST_TEXT ? DT_NOPREFIX : 0));
            if (!cx)
                cx = rc.right;
            if (!cy)
                cy = rc.bottom;
            return true;
        }
        case DST_ICON: {
            cairo_surface_t* s = user::IconSurface(reinterpret_cast<HICON>(data));
            if (!s)
                return false;
            if (!cx)
                cx = cairo_image_surface_get_width(s);
            if (!cy)
                cy = cairo_image_surface_get_height(s);
            return true;
        }
        case DST_BITMAP: {
            BITMAP bm{};
            if (!GetObject(reinterpret_cast<HGDIOBJ>(data), sizeof(bm), &bm))
                return false;
            if (!cx)
                cx = bm.bmWidth;
            if (!cy)
                cy = bm.bmHeight;
            return true;
        }
        case DST_COMPLEX:
            return true;
        default:
            return false;
    }
}

// Draws the image itself at (x, y) of `dc`.
bool DrawImage(HDC dc, DRAWSTATEPROC proc, UINT kind, LPARAM data, WPARAM wData, int x, int y, int cx, int cy,
               UINT flags) {
    switch (kind) {
        case DST_TEXT:
        case DST_PREFIXTEXT: {
            const char* text = reinterpret_cast<const char*>(data);
            int len = wData ? (int)wData : (int)std::strlen(text);
            RECT rc{x, y, x + cx, y + cy};
            UINT format = DT_SINGLELINE | DT_NOCLIP;
            if (kind == DST_TEXT)
                format |= DT_NOPREFIX;
            else if (flags & DSS_HIDEPREFIX)
                format |= DT_HIDEPREFIX;
            if (flags & DSS_RIGHT)
                format |= DT_RIGHT;
            int mode = SetBkMode(dc, TRANSPARENT);
            DrawText(dc, text, len, &rc, format);
            SetBkMode(dc, mode);
            return true;
        }
        case DST_ICON:
            return DrawIcon(dc, x, y, reinterpret_cast<HICON>(data)) != FALSE;
        case DST_BITMAP: {
            HDC mem = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(mem, reinterpret_cast<HGDIOBJ>(data));
            BOOL ok = BitBlt(dc, x, y, cx, cy, mem, 0, 0, SRCCOPY);
            SelectObject(mem, old);
            DeleteDC(mem);
            return ok != FALSE;
        }
        case DST_COMPLEX: {
            if (!proc)
                return false;
            POINT org;
            OffsetViewportOrgEx(dc, x, y, &org);
            BOOL ok = proc(dc, data, wData, cx, cy);
            SetViewportOrgEx(dc, org.x, org.y, nullptr);
            return ok != FALSE;
        }
        default:
            return false;
    }
}

}  // namespace

BOOL DrawState(HDC dc, HBRUSH brush, DRAWSTATEPROC proc, LPARAM data, WPARAM wData, int x, int y, int cx, int cy,
               UINT flags) {
    UINT kind = flags & 0x000F;
    if (!dc || !SizeOfImage(dc, kind, data, wData, cx, cy))
        return FALSE;
    if (kind == DST_COMPLEX && !proc)
        return FALSE;
    if (!(flags & (DSS_MONO | DSS_DISABLED)))
        return DrawImage(dc, proc, kind, data, wData, x, y, cx, cy, flags);
    if (cx <= 0 || cy <= 0)
        return TRUE;

    // The image drawn in black on white gives its shape.
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bmp = CreateCompatibleBitmap(dc, cx, cy);
    HGDIOBJ oldBmp = SelectObject(mem, bmp);
    HGDIOBJ oldFont = SelectObject(mem, GetCurrentObject(dc, OBJ_FONT));
    RECT all{0, 0, cx, cy};
    FillRect(mem, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    SetTextColor(mem, RGB(0, 0, 0));
    bool text = kind == DST_TEXT || kind == DST_PREFIXTEXT;
    DrawImage(mem, proc, kind, data, wData, 0, 0, cx, cy, flags);
    std::vector<bool> shape((size_t)cx * cy);
    for (int j = 0; j < cy; ++j)
        for (int i = 0; i < cx; ++i) {
            COLORREF c = GetPixel(mem, i, j);
            int lum = (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
            shape[(size_t)j * cx + i] = text ? lum < 128 : c != RGB(255, 255, 255);
        }
    SelectObject(mem, oldFont);
    SelectObject(mem, oldBmp);
    DeleteObject(bmp);
    DeleteDC(mem);

    auto paint = [&](int ox, int oy, COLORREF color) {
        for (int j = 0; j < cy; ++j)
            for (int i = 0; i < cx; ++i)
                if (shape[(size_t)j * cx + i])
                    SetPixel(dc, ox + i, oy + j, color);
    };
    if (flags & DSS_DISABLED) {
        paint(x + 1, y + 1, GetSysColor(COLOR_3DHILIGHT));
        paint(x, y, GetSysColor(COLOR_3DSHADOW));
    } else {
        COLORREF color = GetTextColor(dc);
        LOGBRUSH lb{};
        if (brush && GetObject(brush, sizeof(lb), &lb) && lb.lbStyle == BS_SOLID)
            color = lb.lbColor;
        paint(x, y, color);
    }
    return TRUE;
}
