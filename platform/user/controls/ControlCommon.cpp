// What the controls share: the chassis, their colours from the parent, their font, and icons.
#include <cairo.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/base/HandleTable.h"
#include "platform/user/Controls.h"
#include "platform/user/Display.h"
#include "platform/user/Shell.h"
#include "platform/user/Resources.h"
#include "platform/user/UserInternal.h"
#include "platform/user/controls/ControlProc.h"

void user::Control::Command(WORD code) {
    HWND parent = GetParent(m_h);
    if (parent)
        SendMessage(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(m_h), code), (LPARAM)m_h);
}

LRESULT user::Control::Notify(NMHDR* hdr, UINT code) {
    HWND parent = GetParent(m_h);
    if (!parent)
        return 0;
    hdr->hwndFrom = m_h;
    hdr->idFrom = (UINT_PTR)GetDlgCtrlID(m_h);
    hdr->code = code;
    return SendMessage(parent, WM_NOTIFY, hdr->idFrom, (LPARAM)hdr);
}

namespace {
constexpr const char* kLabelEditOwner = "Control.LabelEditOwner";
constexpr const char* kLabelEditSuper = "Control.LabelEditSuper";

LRESULT LabelEditProc(HWND e, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND owner = (HWND)GetProp(e, kLabelEditOwner);
    auto super = (WNDPROC)GetProp(e, kLabelEditSuper);
    // Every control object is stored in its window's first extra bytes (ControlWindowProc).
    auto* control = owner && IsWindow(owner) ? reinterpret_cast<user::Control*>(GetWindowLongPtr(owner, 0)) : nullptr;
    auto base = [&] { return super ? CallWindowProc(super, e, msg, wParam, lParam) : DefWindowProc(e, msg, wParam, lParam); };
    switch (msg) {
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTARROWS;
        case WM_KEYDOWN:
            if ((wParam == VK_RETURN || wParam == VK_ESCAPE) && control) {
                control->OnLabelEditEnd(e, wParam == VK_RETURN);
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == '\r' || wParam == 0x1B)
                return 0;
            break;
        case WM_KILLFOCUS: {
            LRESULT r = base();
            if (control)
                control->OnLabelEditEnd(e, true);
            return r;
        }
        case WM_NCDESTROY:
            RemoveProp(e, kLabelEditOwner);
            RemoveProp(e, kLabelEditSuper);
            if (super)
                SetWindowLongPtr(e, GWLP_WNDPROC, (LONG_PTR)super);
            return base();
        default:
            break;
    }
    return base();
}
}  // namespace

HWND user::Control::OpenLabelEdit(const RECT& rect, const std::string& text) {
    HWND e = CreateWindowEx(0, WC_EDIT, text.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                            rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, m_h, nullptr,
                            nullptr, nullptr);
    if (!e)
        return nullptr;
    SendMessage(e, WM_SETFONT, (WPARAM)FontOr(DEFAULT_GUI_FONT), FALSE);
    SetProp(e, kLabelEditOwner, (HANDLE)m_h);
    SetProp(e, kLabelEditSuper, (HANDLE)SetWindowLongPtr(e, GWLP_WNDPROC, (LONG_PTR)LabelEditProc));
    SendMessage(e, EM_SETSEL, 0, -1);
    SetFocus(e);
    return e;
}

std::string user::Control::CloseLabelEdit(HWND edit) {
    std::string text = GetWindowTextString(edit).GetString();
    if (GetFocus() == edit)
        SetFocus(m_h);
    ShowWindow(edit, SW_HIDE);
    PostMessage(edit, WM_CLOSE, 0, 0);
    return text;
}

LRESULT user::Control::Default(UINT msg, WPARAM wParam, LPARAM lParam) {
    bool paints = m_traits & kPaints, prints = m_traits & kPrints, keepsFont = m_traits & kKeepsFont,
         repaints = m_traits & kRepaints;
    switch (msg) {
        case WM_ERASEBKGND:
            if (paints)
                return 1;
            break;
        case WM_PAINT:
            if (paints) {
                PAINTSTRUCT ps;
                HDC dc = BeginPaint(m_h, &ps);
                Paint(dc);
                EndPaint(m_h, &ps);
                return 0;
            }
            break;
        case WM_PRINT:
        case WM_PRINTCLIENT:
            if (prints) {
                if (msg == WM_PRINTCLIENT || (lParam & PRF_CLIENT))
                    Paint((HDC)wParam);
                return 0;
            }
            break;
        case WM_SETFONT:
            if (keepsFont) {
                m_font = (HFONT)wParam;
                if (lParam)
                    InvalidateRect(m_h, nullptr, TRUE);
                return 0;
            }
            break;
        case WM_GETFONT:
            if (keepsFont)
                return (LRESULT)m_font;
            break;
        case WM_ENABLE:
            if (repaints) {
                InvalidateRect(m_h, nullptr, TRUE);
                return 0;
            }
            break;
        case WM_SETTEXT:
            if (repaints) {
                LRESULT r = DefWindowProc(m_h, msg, wParam, lParam);
                InvalidateRect(m_h, nullptr, TRUE);
                return r;
            }
            break;
        default:
            break;
    }
    return DefWindowProc(m_h, msg, wParam, lParam);
}

namespace user {

HBRUSH ControlColor(HWND control, HDC dc, UINT ctlColorMessage) {
    HWND parent = GetParent(control);
    HBRUSH brush =
        parent ? (HBRUSH)SendMessage(parent, ctlColorMessage, (WPARAM)dc, (LPARAM)control) : nullptr;
    if (!brush)
        brush = (HBRUSH)DefWindowProc(control, ctlColorMessage, (WPARAM)dc, (LPARAM)control);
    return brush;
}

HFONT ControlFont(HWND control) {
    HFONT f = (HFONT)SendMessage(control, WM_GETFONT, 0, 0);
    return f ? f : (HFONT)GetStockObject(SYSTEM_FONT);
}

void DrawArrowButton(HDC dc, const RECT& r, ArrowDirection dir, bool pressed, bool enabled) {
    RECT b = r;
    FillRect(dc, &b, GetSysColorBrush(COLOR_3DFACE));
    DrawEdge(dc, &b, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    int w = r.right - r.left, h = r.bottom - r.top;
    // The triangle grows with the button: four pixels deep on a 16-pixel one, at least two.
    int depth = std::max(2, std::min(4, (std::min(w, h) - 4) / 3));
    int cx = r.left + w / 2 + (pressed ? 1 : 0), cy = r.top + h / 2 + (pressed ? 1 : 0);
    auto draw = [&](int dx, int dy, HBRUSH brush) {
        for (int i = 0; i < depth; ++i) {
            RECT line;
            switch (dir) {
                case kArrowUp:
                    line = RECT{cx - i, cy - depth / 2 + i, cx + i + 1, cy - depth / 2 + i + 1};
                    break;
                case kArrowDown:
                    line = RECT{cx - (depth - 1 - i), cy - depth / 2 + i, cx + (depth - 1 - i) + 1,
                                cy - depth / 2 + i + 1};
                    break;
                case kArrowLeft:
                    line = RECT{cx - depth / 2 + i, cy - i, cx - depth / 2 + i + 1, cy + i + 1};
                    break;
                default:
                    line = RECT{cx - depth / 2 + i, cy - (depth - 1 - i), cx - depth / 2 + i + 1,
                                cy + (depth - 1 - i) + 1};
                    break;
            }
            OffsetRect(&line, dx, dy);
            FillRect(dc, &line, brush);
        }
    };
    if (enabled) {
        draw(0, 0, GetSysColorBrush(COLOR_BTNTEXT));
    } else {
        draw(1, 1, GetSysColorBrush(COLOR_3DHILIGHT));
        draw(0, 0, GetSysColorBrush(COLOR_3DSHADOW));
    }
}

}  // namespace user

namespace {
std::mutex g_iconMutex;
HandleTable<cairo_surface_t*, HICON> g_icons{0x20000};  // guarded by g_iconMutex
std::atomic<HCURSOR> g_cursor{nullptr};                 // the cursor shown, whichever thread set it

void Circle(cairo_t* cr, double r, double g, double b) {
    cairo_arc(cr, 16, 16, 14, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, r, g, b);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void Glyph(cairo_t* cr, const char* text, double r, double g, double b) {
    cairo_select_font_face(cr, "Liberation Serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 22);
    cairo_text_extents_t te;
    cairo_text_extents(cr, text, &te);
    cairo_move_to(cr, 16 - te.width / 2 - te.x_bearing, 16 - te.height / 2 - te.y_bearing);
    cairo_set_source_rgb(cr, r, g, b);
    cairo_show_text(cr, text);
}

// The system's standard icons, drawn once.
cairo_surface_t* DrawStandardIcon(uintptr_t id) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 32, 32);
    cairo_t* cr = cairo_create(s);
    switch (id) {
        case 32513:  // hand
            Circle(cr, 0.85, 0.1, 0.1);
            cairo_set_source_rgb(cr, 1, 1, 1);
            cairo_set_line_width(cr, 3);
            cairo_move_to(cr, 10, 10);
            cairo_line_to(cr, 22, 22);
            cairo_move_to(cr, 22, 10);
            cairo_line_to(cr, 10, 22);
            cairo_stroke(cr);
            break;
        case 32514:  // question
            Circle(cr, 1, 1, 1);
            Glyph(cr, "?", 0, 0, 0.8);
            break;
        case 32515:  // exclamation
            cairo_move_to(cr, 16, 2);
            cairo_line_to(cr, 30, 29);
            cairo_line_to(cr, 2, 29);
            cairo_close_path(cr);
            cairo_set_source_rgb(cr, 1, 0.9, 0);
            cairo_fill_preserve(cr);
            cairo_set_source_rgb(cr, 0, 0, 0);
            cairo_set_line_width(cr, 1);
            cairo_stroke(cr);
            Glyph(cr, "!", 0, 0, 0);
            break;
        case 32516:  // information
            Circle(cr, 1, 1, 1);
            Glyph(cr, "i", 0, 0, 0.8);
            break;
        default:  // application
            cairo_rectangle(cr, 3.5, 5.5, 25, 21);
            cairo_set_source_rgb(cr, 1, 1, 1);
            cairo_fill_preserve(cr);
            cairo_set_source_rgb(cr, 0, 0, 0);
            cairo_set_line_width(cr, 1);
            cairo_stroke(cr);
            cairo_rectangle(cr, 4, 6, 24, 4);
            cairo_set_source_rgb(cr, 10 / 255.0, 36 / 255.0, 106 / 255.0);
            cairo_fill(cr);
            break;
    }
    cairo_destroy(cr);
    return s;
}
}  // namespace

HICON CreateIconFromSurface(cairo_surface_t* surface) {
    if (!surface)
        return nullptr;
    std::lock_guard<std::mutex> g(g_iconMutex);
    return g_icons.Add(cairo_surface_reference(surface));
}

BOOL DestroyIcon(HICON icon) {
    std::optional<cairo_surface_t*> s;
    {
        std::lock_guard<std::mutex> g(g_iconMutex);
        s = g_icons.Take(icon);
    }
    if (!s)
        return FALSE;
    cairo_surface_destroy(*s);
    return TRUE;
}

cairo_surface_t* user::IconSurface(HICON icon) {
    std::lock_guard<std::mutex> g(g_iconMutex);
    cairo_surface_t** s = g_icons.Find(icon);
    return s ? *s : nullptr;
}

HICON LoadIcon(HINSTANCE, LPCTSTR name) {
    static std::map<uintptr_t, HICON> standard;
    static std::mutex m;
    uintptr_t id = IS_INTRESOURCE(name) ? (uintptr_t)name : 32512;
    if (HICON own = LoadIconResource((UINT)id))
        return own;
    // Any other name shows as the application icon.
    if (id < 32512 || id > 32517)
        id = 32512;
    std::lock_guard<std::mutex> g(m);
    HICON& icon = standard[id];
    if (!icon) {
        cairo_surface_t* s = DrawStandardIcon(id);
        icon = CreateIconFromSurface(s);
        cairo_surface_destroy(s);
    }
    return icon;
}

HCURSOR LoadCursor(HINSTANCE, LPCTSTR name) {
    if (IS_INTRESOURCE(name))
        if (HCURSOR own = LoadCursorResource((UINT)(uintptr_t)name))
            return own;
    if (!IS_INTRESOURCE(name))
        return (HCURSOR)(uintptr_t)32512;
    // The system's cursors (IDC_ARROW 32512 to IDC_HELP 32651) always exist; another id without a
    // resource gives none, so that callers fall back to a system cursor.
    uintptr_t id = (uintptr_t)name;
    return id >= 32512 && id <= 32651 ? (HCURSOR)id : nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) {
    HCURSOR old = g_cursor.exchange(cursor);
    if (cursor != old)
        GetDisplayBackend()->CursorChanged(cursor);
    return old;
}

HCURSOR GetCursor() {
    return g_cursor;
}

BOOL DrawIcon(HDC hdc, int x, int y, HICON icon) {
    return DrawIconEx(hdc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL);
}

BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int cx, int cy, UINT, HBRUSH, UINT) {
    cairo_surface_t* src;
    {
        std::lock_guard<std::mutex> g(g_iconMutex);
        cairo_surface_t** s = g_icons.Find(icon);
        if (!s)
            return FALSE;
        src = *s;
    }
    // An icon is blended with its alpha into a 32-bit bitmap, then copied through the DC's clip.
    int iw = cairo_image_surface_get_width(src), ih = cairo_image_surface_get_height(src);
    int w = cx > 0 ? cx : iw, h = cy > 0 ? cy : ih;
    HDC mem = CreateCompatibleDC(hdc);
    HBITMAP bmp = CreateCompatibleBitmap(hdc, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, hdc, x, y, SRCCOPY);
    cairo_surface_t* dst = GetBitmapSurface(bmp);
    cairo_t* cr = cairo_create(dst);
    if (w != iw || h != ih)
        cairo_scale(cr, (double)w / iw, (double)h / ih);
    cairo_set_source_surface(cr, src, 0, 0);
    if (w != iw || h != ih)
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(dst);
    BitBlt(hdc, x, y, w, h, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    return TRUE;
}
