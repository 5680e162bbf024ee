// The "ToolbarWindow32" class: a row (or rows) of buttons with images from image lists and optional
// texts, drawn in the Classic look (raised buttons, or flat ones that rise under the mouse), with the
// parent's custom drawing, check and group buttons, drop-down buttons, an insert mark, wrapping, and the
// button set saved to and restored from the registry in a versioned format of our own.
//
// A press on a button tells the parent TBN_BEGINDRAG and its release TBN_ENDDRAG, then the click comes as
// WM_COMMAND with the button's id. On a CCS_ADJUSTABLE toolbar Shift (Alt with TBSTYLE_ALTDRAG) and a drag
// move a button (TBN_QUERYINSERT) or, dropped outside, delete it (TBN_QUERYDELETE); TBN_TOOLBARCHANGE
// follows either.
#include <cairo.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/user/Resources.h"
#include "platform/user/Toolbar.h"
#include "platform/user/UserInternal.h"
#include "platform/user/controls/ControlProc.h"

namespace {
constexpr int kDefaultSeparator = 8;
constexpr int kDropArrowWidth = 14;
constexpr uint32_t kSaveMagic = 0x52425456;  // "VTBR"
constexpr uint16_t kSaveVersion = 1;

struct Button {
    int bitmap = 0;
    int command = 0;
    BYTE state = 0;
    BYTE style = 0;
    DWORD_PTR data = 0;
    INT_PTR stringIndex = -1;  // an index into the strings, or -1 when `text` is the button's own text
    std::string text;
    int cx = 0;  // explicit width (TBIF_SIZE), 0 when the layout decides
    RECT rc{};   // laid out
};

class Toolbar : public user::Control {
public:
    explicit Toolbar(HWND h) : Control(h, kPrints) {}
    LRESULT Proc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    bool Flat() const { return (Style() & TBSTYLE_FLAT) != 0; }
    bool List() const { return (Style() & TBSTYLE_LIST) != 0; }
    int Count() const { return (int)m_buttons.size(); }
    bool ValidIndex(int i) const { return i >= 0 && i < Count(); }
    int IndexOf(int command) const {
        for (int i = 0; i < Count(); ++i)
            if (m_buttons[(size_t)i].command == command)
                return i;
        return -1;
    }
    Button* ById(WPARAM command) {
        int i = IndexOf((int)command);
        return i < 0 ? nullptr : &m_buttons[(size_t)i];
    }
    std::string TextOf(const Button& b) const {
        if (b.stringIndex >= 0)
            return b.stringIndex < (INT_PTR)m_strings.size() ? m_strings[(size_t)b.stringIndex] : std::string();
        return b.text;
    }
    static bool Separator(const Button& b) { return (b.style & TBSTYLE_SEP) != 0; }
    static bool Hidden(const Button& b) { return (b.state & TBSTATE_HIDDEN) != 0; }
    bool HasDropArrow(const Button& b) const {
        return (b.style & BTNS_WHOLEDROPDOWN) ||
               ((b.style & TBSTYLE_DROPDOWN) && (m_exStyle & TBSTYLE_EX_DRAWDDARROWS));
    }

    // Notifications.
    HWND NotifyWindow() const { return m_notify ? m_notify : GetParent(m_h); }
    LRESULT NotifyOwner(NMHDR* hdr, UINT code);
    LRESULT NotifyButton(UINT code, int index);

    // Buttons.
    void SetText(Button& b, INT_PTR string);
    bool Insert(int at, const TBBUTTON& tb);
    bool Delete(int index);
    void GetButton(const Button& b, TBBUTTON* out) const;
    void CheckInGroup(int index, bool check);
    int AddBitmap(int count, const TBADDBITMAP* add);
    int AddStrings(HINSTANCE instance, LPARAM strings);

    // Layout.
    HFONT Font() const { return m_font ? m_font : (HFONT)GetStockObject(DEFAULT_GUI_FONT); }
    SIZE TextExtent(const std::string& text) const;
    int TextHeight() const;
    bool ShowsText() const;
    SIZE ButtonSize() const;
    void Layout();
    void Relayout() {
        Layout();
        InvalidateRect(m_h, nullptr, TRUE);
    }
    void AutoSize();
    int HitTest(POINT p) const;
    BOOL InsertMarkHitTest(POINT p, TBINSERTMARK* mark) const;
    int Rows() const;
    SIZE MaxSize() const;

    // Painting.
    void FillCustomDraw(NMTBCUSTOMDRAW& cd, HDC dc, DWORD stage) const;
    void Paint(HDC dc) override;
    void DrawButton(HDC dc, int index, NMTBCUSTOMDRAW& cd, LRESULT flags);
    void DrawImage(HDC dc, const Button& b, int x, int y, bool hot, bool disabled) const;
    void DrawInsertMark(HDC dc);
    HBRUSH DitherBrush();

    // Mouse.
    void SetHot(int index, DWORD flags);
    void OnButtonDown(POINT p, WPARAM keys);
    void OnMouseMove(POINT p);
    void EndPress(bool cancelled);
    void EndMoveDrag(POINT p, bool cancelled);

    // Saving and restoring the buttons.
    BOOL Save(const TBSAVEPARAMS* params) const;
    BOOL Restore(const TBSAVEPARAMS* params);

    HWND m_notify = nullptr;
    std::vector<Button> m_buttons;
    std::vector<std::string> m_strings;
    SIZE m_bitmapSize{16, 15};
    SIZE m_buttonSize{24, 22};
    SIZE m_padding{7, 6};
    int m_minWidth = 0, m_maxWidth = 0;
    int m_indent = 0;
    int m_maxTextRows = 1;
    DWORD m_exStyle = 0;
    HIMAGELIST m_images = nullptr, m_hotImages = nullptr, m_disabledImages = nullptr;
    HIMAGELIST m_ownImages = nullptr;  // made by TB_ADDBITMAP
    TBINSERTMARK m_mark{-1, 0};
    COLORREF m_markColor = RGB(0, 0, 0);
    int m_hot = -1;
    int m_pressed = -1;  // button held down by the mouse
    bool m_pressedIn = false;
    int m_moving = -1;  // button dragged to a new place (customising)
    HBRUSH m_dither = nullptr;
    HBITMAP m_ditherBitmap = nullptr;

public:
    ~Toolbar() {
        if (m_ownImages)
            ImageList_Destroy(m_ownImages);
        if (m_dither)
            DeleteObject(m_dither);
        if (m_ditherBitmap)
            DeleteObject(m_ditherBitmap);
    }
};

// ---- Notifications ------------------------------------------------------------------------------

LRESULT Toolbar::NotifyOwner(NMHDR* hdr, UINT code) {
    HWND to = NotifyWindow();
    if (!to)
        return 0;
    hdr->hwndFrom = m_h;
    hdr->idFrom = (UINT_PTR)GetDlgCtrlID(m_h);
    hdr->code = code;
    return SendMessage(to, WM_NOTIFY, hdr->idFrom, (LPARAM)hdr);
}

// A toolbar notification about a button: a copy of it with its text and rectangle; iItem is its command,
// or its index for the two customising questions.
LRESULT Toolbar::NotifyButton(UINT code, int index) {
    NMTOOLBAR nm{};
    std::string text;
    nm.iItem = index;
    if (ValidIndex(index)) {
        const Button& b = m_buttons[(size_t)index];
        GetButton(b, &nm.tbButton);
        text = TextOf(b);
        nm.pszText = text.data();
        nm.cchText = (int)text.size();
        nm.rcButton = b.rc;
        if (code != TBN_QUERYINSERT && code != TBN_QUERYDELETE)
            nm.iItem = b.command;
    }
    return NotifyOwner(&nm.hdr, code);
}

// ---- Buttons ------------------------------------------------------------------------------------

void Toolbar::SetText(Button& b, INT_PTR string) {
    // Small values index the strings added with TB_ADDSTRING; anything else points at a text.
    if (string >= 0 && string < 0x10000) {
        b.stringIndex = string;
        b.text.clear();
    } else if (string == -1) {
        b.stringIndex = -1;
        b.text.clear();
    } else {
        b.stringIndex = -1;
        b.text = reinterpret_cast<const char*>(string);
    }
}

bool Toolbar::Insert(int at, const TBBUTTON& tb) {
    Button b;
    b.bitmap = tb.iBitmap;
    b.command = tb.idCommand;
    b.state = tb.fsState;
    b.style = tb.fsStyle;
    b.data = tb.dwData;
    SetText(b, tb.iString);
    if (at < 0 || at > Count())
        at = Count();
    m_buttons.insert(m_buttons.begin() + at, std::move(b));
    if (m_hot >= at)
        ++m_hot;
    if (m_pressed >= at)
        ++m_pressed;
    return true;
}

bool Toolbar::Delete(int index) {
    if (!ValidIndex(index))
        return false;
    NotifyButton(TBN_DELETINGBUTTON, index);
    if (m_dead || !ValidIndex(index))
        return false;
    m_buttons.erase(m_buttons.begin() + index);
    for (int* i : {&m_hot, &m_pressed, &m_moving}) {
        if (*i == index)
            *i = -1;
        else if (*i > index)
            --*i;
    }
    if (m_pressed < 0 && GetCapture() == m_h)
        ReleaseCapture();
    return true;
}

void Toolbar::GetButton(const Button& b, TBBUTTON* out) const {
    *out = TBBUTTON{};
    out->iBitmap = b.bitmap;
    out->idCommand = b.command;
    out->fsState = b.state;
    out->fsStyle = b.style;
    out->dwData = b.data;
    out->iString = b.stringIndex >= 0 ? b.stringIndex : b.text.empty() ? -1 : (INT_PTR)b.text.c_str();
}

// Checks a button; checking one of a group unchecks the others of the run of group buttons around it.
void Toolbar::CheckInGroup(int index, bool check) {
    Button& b = m_buttons[(size_t)index];
    if (check && (b.style & TBSTYLE_GROUP)) {
        auto grouped = [&](int i) {
            return ValidIndex(i) && (m_buttons[(size_t)i].style & TBSTYLE_GROUP) && !Separator(m_buttons[(size_t)i]);
        };
        for (int i = index - 1; grouped(i); --i)
            m_buttons[(size_t)i].state &= (BYTE)~TBSTATE_CHECKED;
        for (int i = index + 1; grouped(i); ++i)
            m_buttons[(size_t)i].state &= (BYTE)~TBSTATE_CHECKED;
    }
    if (check)
        b.state |= TBSTATE_CHECKED;
    else
        b.state &= (BYTE)~TBSTATE_CHECKED;
}

int Toolbar::AddBitmap(int count, const TBADDBITMAP* add) {
    if (!add)
        return -1;
    HBITMAP bitmap = nullptr;
    bool own = false;
    if (!add->hInst) {
        bitmap = (HBITMAP)add->nID;
    } else {
        bitmap = LoadBitmap(add->hInst, MAKEINTRESOURCE(add->nID));
        own = true;
    }
    if (!bitmap)
        return -1;
    if (!m_images) {
        m_ownImages = m_images = ImageList_Create(m_bitmapSize.cx, m_bitmapSize.cy, ILC_COLOR32 | ILC_MASK, count, 4);
    }
    // Toolbar bitmaps take light grey as their transparent colour.
    int first = ImageList_AddMasked(m_images, bitmap, RGB(192, 192, 192));
    if (own)
        DeleteObject(bitmap);
    if (first < 0)
        return -1;
    Relayout();
    return first;
}

int Toolbar::AddStrings(HINSTANCE instance, LPARAM strings) {
    int first = (int)m_strings.size();
    if (instance) {
        char buffer[1024];
        if (!LoadString(instance, (UINT)strings, buffer, sizeof buffer))
            return -1;
        m_strings.emplace_back(buffer);
    } else {
        // Texts one after the other, each ended by a zero, the list by a second zero.
        const char* p = reinterpret_cast<const char*>(strings);
        if (!p)
            return -1;
        while (*p) {
            m_strings.emplace_back(p);
            p += std::strlen(p) + 1;
        }
    }
    Relayout();
    return first;
}

// ---- Layout -------------------------------------------------------------------------------------

SIZE Toolbar::TextExtent(const std::string& text) const {
    SIZE size{0, 0};
    HDC dc = GetDC(m_h);
    HGDIOBJ old = SelectObject(dc, Font());
    GetTextExtentPoint32(dc, text.c_str(), (int)text.size(), &size);
    SelectObject(dc, old);
    ReleaseDC(m_h, dc);
    return size;
}

int Toolbar::TextHeight() const {
    HDC dc = GetDC(m_h);
    HGDIOBJ old = SelectObject(dc, Font());
    TEXTMETRIC tm{};
    GetTextMetrics(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(m_h, dc);
    return tm.tmHeight;
}

bool Toolbar::ShowsText() const {
    if (m_maxTextRows <= 0)
        return false;
    for (const Button& b : m_buttons)
        if (!Separator(b) && !TextOf(b).empty())
            return true;
    return false;
}

// The size of a plain button: the size set, grown to hold the image and the text.
SIZE Toolbar::ButtonSize() const {
    SIZE s = m_buttonSize;
    s.cy = std::max(s.cy, m_bitmapSize.cy + m_padding.cy);
    if (!ShowsText()) {
        s.cx = std::max(s.cx, m_bitmapSize.cx + m_padding.cx);
        return s;
    }
    int textWidth = 0;
    for (const Button& b : m_buttons)
        if (!Separator(b) && !(b.style & TBSTYLE_AUTOSIZE))
            textWidth = std::max(textWidth, (int)TextExtent(TextOf(b)).cx);
    int th = TextHeight();
    if (List()) {
        s.cx = std::max(s.cx, m_bitmapSize.cx + textWidth + m_padding.cx + 4);
        s.cy = std::max(s.cy, std::max((int)m_bitmapSize.cy, th) + m_padding.cy);
    } else {
        s.cx = std::max(s.cx, textWidth + m_padding.cx);
        s.cy = std::max(s.cy, m_bitmapSize.cy + th + m_padding.cy + 1);
    }
    if (m_minWidth > 0)
        s.cx = std::max(s.cx, m_minWidth);
    if (m_maxWidth > 0)
        s.cx = std::min(s.cx, m_maxWidth);
    return s;
}

void Toolbar::Layout() {
    SIZE cell = ButtonSize();
    bool text = ShowsText();
    RECT client;
    GetClientRect(m_h, &client);
    bool wrapable = (Style() & TBSTYLE_WRAPABLE) != 0;
    int x = m_indent, y = 0;
    bool rowEmpty = true;
    for (Button& b : m_buttons) {
        if (Hidden(b)) {
            b.rc = RECT{x, y, x, y};
            continue;
        }
        int w;
        if (Separator(b)) {
            w = b.bitmap > 0 ? b.bitmap : kDefaultSeparator;
        } else if (b.cx > 0) {
            w = b.cx;
        } else if ((b.style & TBSTYLE_AUTOSIZE) && text) {
            int tw = (int)TextExtent(TextOf(b)).cx;
            bool image = b.bitmap != I_IMAGENONE;
            w = List() ? (image ? m_bitmapSize.cx + 4 : 0) + tw + m_padding.cx
                       : std::max((image ? (int)m_bitmapSize.cx : 0), tw) + m_padding.cx;
        } else {
            w = cell.cx;
        }
        if (!Separator(b) && HasDropArrow(b))
            w += kDropArrowWidth;
        if (wrapable && !rowEmpty && x + w > client.right) {
            x = m_indent;
            y += cell.cy;
            rowEmpty = true;
        }
        b.rc = RECT{x, y, x + w, y + cell.cy};
        x += w;
        rowEmpty = false;
        if (b.state & TBSTATE_WRAP) {
            // A wrapping separator also leaves a gap between the rows.
            x = m_indent;
            y += cell.cy + (Separator(b) ? w * 2 / 3 : 0);
            if (Separator(b))
                b.rc = RECT{0, b.rc.top + cell.cy, client.right, y};
            rowEmpty = true;
        }
    }
}

// Fits the control to its buttons, along the parent's top or bottom unless told otherwise.
void Toolbar::AutoSize() {
    Layout();
    DWORD style = Style();
    if (style & CCS_NORESIZE)
        return;
    SIZE size = MaxSize();
    RECT rc;
    GetWindowRect(m_h, &rc);
    HWND parent = GetParent(m_h);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    int height = std::max((int)size.cy, 1);
    int width = rc.right - rc.left;
    int x = rc.left, y = rc.top;
    if (!(style & CCS_NOPARENTALIGN) && parent) {
        RECT pc;
        GetClientRect(parent, &pc);
        x = 0;
        width = pc.right;
        if (!(style & CCS_NOMOVEY))
            y = (style & CCS_BOTTOM) == CCS_BOTTOM ? pc.bottom - height : 0;
    }
    SetWindowPos(m_h, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    Layout();
}

// The button under a point, or, when it is on none, a negative value: -(k + 1) on the separator k,
// -(n + 1) with n the buttons' count elsewhere.
int Toolbar::HitTest(POINT p) const {
    for (int i = 0; i < Count(); ++i) {
        const Button& b = m_buttons[(size_t)i];
        if (Hidden(b) || !PtInRect(&b.rc, p))
            continue;
        return Separator(b) ? -(i + 1) : i;
    }
    return -(Count() + 1);
}

// Where an insert mark at the point goes: before or after the button under it (TRUE), else beside the
// nearest button of the row (FALSE, TBIMHT_BACKGROUND).
BOOL Toolbar::InsertMarkHitTest(POINT p, TBINSERTMARK* mark) const {
    *mark = TBINSERTMARK{-1, 0};
    int last = -1;
    for (int i = 0; i < Count(); ++i) {
        const Button& b = m_buttons[(size_t)i];
        if (Hidden(b))
            continue;
        if (PtInRect(&b.rc, p)) {
            mark->iButton = i;
            mark->dwFlags = p.x >= (b.rc.left + b.rc.right) / 2 ? TBIMHT_AFTER : 0;
            return TRUE;
        }
        if (p.y >= b.rc.top && p.y < b.rc.bottom) {
            if (p.x < b.rc.left && last < 0) {
                mark->iButton = i;
                mark->dwFlags = TBIMHT_BACKGROUND;
                return FALSE;
            }
            last = i;
        }
    }
    if (last >= 0) {
        mark->iButton = last;
        mark->dwFlags = TBIMHT_AFTER | TBIMHT_BACKGROUND;
    } else {
        mark->iButton = Count();
        mark->dwFlags = TBIMHT_BACKGROUND;
    }
    return FALSE;
}

int Toolbar::Rows() const {
    std::vector<int> tops;
    for (const Button& b : m_buttons)
        if (!Hidden(b) && !(Separator(b) && (b.state & TBSTATE_WRAP)) &&
            std::find(tops.begin(), tops.end(), (int)b.rc.top) == tops.end())
            tops.push_back(b.rc.top);
    return std::max((int)tops.size(), 1);
}

SIZE Toolbar::MaxSize() const {
    SIZE s{0, 0};
    for (const Button& b : m_buttons) {
        if (Hidden(b) || (Separator(b) && (b.state & TBSTATE_WRAP)))
            continue;
        s.cx = std::max(s.cx, b.rc.right);
        s.cy = std::max(s.cy, b.rc.bottom);
    }
    if (m_buttons.empty())
        s.cy = ButtonSize().cy;
    return s;
}

// ---- Painting -----------------------------------------------------------------------------------

HBRUSH Toolbar::DitherBrush() {
    if (!m_dither) {
        // A checked button's face: highlight and face colours in a 2 x 2 checkerboard.
        m_ditherBitmap = CreateBitmap(2, 2, 1, 32, nullptr);
        HDC mem = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(mem, m_ditherBitmap);
        COLORREF a = GetSysColor(COLOR_3DHILIGHT), b = GetSysColor(COLOR_3DFACE);
        SetPixel(mem, 0, 0, a);
        SetPixel(mem, 1, 1, a);
        SetPixel(mem, 1, 0, b);
        SetPixel(mem, 0, 1, b);
        SelectObject(mem, old);
        DeleteDC(mem);
        m_dither = CreatePatternBrush(m_ditherBitmap);
    }
    return m_dither;
}

void Toolbar::FillCustomDraw(NMTBCUSTOMDRAW& cd, HDC dc, DWORD stage) const {
    cd = NMTBCUSTOMDRAW{};
    cd.nmcd.dwDrawStage = stage;
    cd.nmcd.hdc = dc;
    GetClientRect(m_h, &cd.nmcd.rc);
    cd.clrText = GetSysColor(COLOR_BTNTEXT);
    cd.clrMark = m_markColor;
    cd.clrTextHighlight = GetSysColor(COLOR_HIGHLIGHTTEXT);
    cd.clrBtnFace = GetSysColor(COLOR_3DFACE);
    cd.clrBtnHighlight = GetSysColor(COLOR_3DHILIGHT);
    cd.clrHighlightHotTrack = GetSysColor(COLOR_HIGHLIGHT);
    cd.nStringBkMode = TRANSPARENT;
    cd.nHLStringBkMode = OPAQUE;
}

// Paints `colour` through the opaque pixels of an image (the etched look of a disabled image).
void PaintImageMask(HDC dc, cairo_surface_t* image, int x, int y, COLORREF colour) {
    int w = cairo_image_surface_get_width(image), h = cairo_image_surface_get_height(image);
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bmp = CreateCompatibleBitmap(dc, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, dc, x, y, SRCCOPY);
    cairo_surface_t* target = GetBitmapSurface(bmp);
    cairo_t* cr = cairo_create(target);
    cairo_set_source_rgb(cr, GetRValue(colour) / 255.0, GetGValue(colour) / 255.0, GetBValue(colour) / 255.0);
    cairo_mask_surface(cr, image, 0, 0);
    cairo_destroy(cr);
    cairo_surface_flush(target);
    BitBlt(dc, x, y, w, h, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
}

void Toolbar::DrawImage(HDC dc, const Button& b, int x, int y, bool hot, bool disabled) const {
    if (b.bitmap < 0)
        return;
    if (disabled && m_disabledImages && ImageList_GetImageCount(m_disabledImages) > b.bitmap) {
        ImageList_Draw(m_disabledImages, b.bitmap, dc, x, y, ILD_NORMAL);
        return;
    }
    if (!disabled && hot && m_hotImages && ImageList_GetImageCount(m_hotImages) > b.bitmap) {
        ImageList_Draw(m_hotImages, b.bitmap, dc, x, y, ILD_NORMAL);
        return;
    }
    if (!disabled) {
        ImageList_Draw(m_images, b.bitmap, dc, x, y, ILD_NORMAL);
        return;
    }
    if (cairo_surface_t* image = user::ImageListImage(m_images, b.bitmap)) {
        PaintImageMask(dc, image, x + 1, y + 1, GetSysColor(COLOR_3DHILIGHT));
        PaintImageMask(dc, image, x, y, GetSysColor(COLOR_3DSHADOW));
    }
}

void Toolbar::DrawButton(HDC dc, int index, NMTBCUSTOMDRAW& cd, LRESULT flags) {
    const Button& b = m_buttons[(size_t)index];
    RECT r = b.rc;
    bool disabled = !(b.state & TBSTATE_ENABLED);
    bool pressed = (b.state & TBSTATE_PRESSED) || (index == m_pressed && m_pressedIn);
    bool checked = (b.state & TBSTATE_CHECKED) != 0;
    bool hot = index == m_hot && !disabled;
    bool arrow = HasDropArrow(b) && !(b.style & BTNS_WHOLEDROPDOWN);
    RECT face = r, arrowRect = r;
    if (arrow) {
        face.right -= kDropArrowWidth;
        arrowRect.left = face.right;
    }
    bool edges = !(flags & TBCDRF_NOEDGES);
    if (checked && !pressed && !(flags & TBCDRF_NOBACKGROUND)) {
        RECT in = face;
        InflateRect(&in, -1, -1);
        FillRect(dc, &in, DitherBrush());
    }
    if (edges) {
        if (Flat()) {
            if (pressed || checked) {
                RECT e = face;
                DrawEdge(dc, &e, BDR_SUNKENOUTER, BF_RECT);
            } else if (hot) {
                RECT e = face;
                DrawEdge(dc, &e, BDR_RAISEDINNER, BF_RECT);
            }
        } else {
            RECT e = face;
            DrawEdge(dc, &e, pressed || checked ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        }
        if (arrow && (!Flat() || hot || pressed)) {
            RECT e = arrowRect;
            DrawEdge(dc, &e, Flat() ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT);
        }
    }
    int offset = (pressed || checked) && !(flags & TBCDRF_NOOFFSET) ? 1 : 0;
    std::string text = m_maxTextRows > 0 ? TextOf(b) : std::string();
    bool image = b.bitmap >= 0 && m_images;
    int fw = face.right - face.left, fh = face.bottom - face.top;
    int ix, iy;
    RECT tr;
    if (List()) {
        ix = face.left + m_padding.cx / 2;
        iy = face.top + (fh - m_bitmapSize.cy) / 2;
        tr = RECT{ix + (image ? m_bitmapSize.cx + 4 : 0), face.top, face.right - m_padding.cx / 2, face.bottom};
    } else {
        ix = face.left + (fw - m_bitmapSize.cx) / 2;
        iy = face.top + (text.empty() ? (fh - m_bitmapSize.cy) / 2 : m_padding.cy / 2);
        tr = RECT{face.left + 2, iy + (image ? m_bitmapSize.cy + 1 : 0), face.right - 2, face.bottom};
    }
    if (image)
        DrawImage(dc, b, ix + offset, iy + offset, hot, disabled);
    if (!text.empty()) {
        OffsetRect(&tr, offset, offset);
        HGDIOBJ oldFont = SelectObject(dc, Font());
        SetBkMode(dc, TRANSPARENT);
        UINT format = DT_SINGLELINE | DT_END_ELLIPSIS | (List() ? DT_LEFT | DT_VCENTER : DT_CENTER | DT_TOP) |
                      ((b.style & TBSTYLE_NOPREFIX) ? DT_NOPREFIX : 0);
        if (disabled) {
            RECT etched = tr;
            OffsetRect(&etched, 1, 1);
            SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
            DrawText(dc, text.c_str(), (int)text.size(), &etched, format);
            SetTextColor(dc, GetSysColor(COLOR_3DSHADOW));
        } else {
            SetTextColor(dc, hot && (flags & TBCDRF_HILITEHOTTRACK) ? cd.clrTextHighlight : cd.clrText);
        }
        DrawText(dc, text.c_str(), (int)text.size(), &tr, format);
        SelectObject(dc, oldFont);
    }
    if (HasDropArrow(b)) {
        RECT ar = arrow ? arrowRect : RECT{face.right - kDropArrowWidth, face.top, face.right, face.bottom};
        int cx = (ar.left + ar.right) / 2 + offset, cy = (ar.top + ar.bottom) / 2 + offset;
        HBRUSH brush = GetSysColorBrush(disabled ? COLOR_3DSHADOW : COLOR_BTNTEXT);
        for (int row = 0; row < 3; ++row) {
            RECT line{cx - 2 + row, cy - 1 + row, cx + 3 - row, cy + row};
            FillRect(dc, &line, brush);
        }
    }
}

void Toolbar::DrawInsertMark(HDC dc) {
    if (!ValidIndex(m_mark.iButton))
        return;
    const Button& b = m_buttons[(size_t)m_mark.iButton];
    int x = (m_mark.dwFlags & TBIMHT_AFTER) ? b.rc.right - 1 : b.rc.left - 1;
    HBRUSH brush = CreateSolidBrush(m_markColor);
    RECT line{x, b.rc.top, x + 2, b.rc.bottom};
    FillRect(dc, &line, brush);
    DeleteObject(brush);
}

// The parent sees CDDS_PREPAINT for the whole bar, then (when it asked) CDDS_ITEMPREPAINT and
// CDDS_ITEMPOSTPAINT around each button it did not skip, then CDDS_POSTPAINT.
void Toolbar::Paint(HDC dc) {
    NMTBCUSTOMDRAW cd;
    FillCustomDraw(cd, dc, CDDS_PREPAINT);
    LRESULT pre = NotifyOwner(&cd.nmcd.hdr, NM_CUSTOMDRAW);
    if (m_dead || (pre & CDRF_SKIPDEFAULT))
        return;
    RECT clip;
    GetClipBox(dc, &clip);
    for (int i = 0; i < Count() && !m_dead; ++i) {
        const Button& b = m_buttons[(size_t)i];
        RECT hit;
        if (Hidden(b) || !IntersectRect(&hit, &b.rc, &clip))
            continue;
        if (Separator(b)) {
            if (Flat() && !(b.state & TBSTATE_WRAP)) {
                RECT e{(b.rc.left + b.rc.right) / 2 - 1, b.rc.top + 1, (b.rc.left + b.rc.right) / 2 + 1, b.rc.bottom - 1};
                DrawEdge(dc, &e, EDGE_ETCHED, BF_LEFT);
            }
            continue;
        }
        LRESULT item = CDRF_DODEFAULT;
        FillCustomDraw(cd, dc, CDDS_ITEMPREPAINT);
        cd.nmcd.rc = b.rc;
        cd.nmcd.dwItemSpec = (DWORD_PTR)b.command;
        cd.nmcd.lItemlParam = (LPARAM)b.data;
        cd.nmcd.uItemState = ((b.state & TBSTATE_ENABLED) ? 0 : CDIS_DISABLED) |
                             ((b.state & TBSTATE_CHECKED) ? CDIS_CHECKED : 0) |
                             ((b.state & TBSTATE_PRESSED) || (i == m_pressed && m_pressedIn) ? CDIS_SELECTED : 0) |
                             (i == m_hot ? CDIS_HOT : 0);
        cd.rcText = b.rc;
        if (pre & CDRF_NOTIFYITEMDRAW) {
            item = NotifyOwner(&cd.nmcd.hdr, NM_CUSTOMDRAW);
            if (m_dead || !ValidIndex(i))
                return;
        }
        if (!(item & CDRF_SKIPDEFAULT))
            DrawButton(dc, i, cd, item);
        if (item & CDRF_NOTIFYPOSTPAINT) {
            cd.nmcd.dwDrawStage = CDDS_ITEMPOSTPAINT;
            NotifyOwner(&cd.nmcd.hdr, NM_CUSTOMDRAW);
        }
    }
    if (m_dead)
        return;
    DrawInsertMark(dc);
    if (pre & CDRF_NOTIFYPOSTPAINT) {
        FillCustomDraw(cd, dc, CDDS_POSTPAINT);
        NotifyOwner(&cd.nmcd.hdr, NM_CUSTOMDRAW);
    }
}

// ---- Mouse --------------------------------------------------------------------------------------

void Toolbar::SetHot(int index, DWORD flags) {
    if (index == m_hot)
        return;
    NMTBHOTITEM nm{};
    nm.idOld = ValidIndex(m_hot) ? m_buttons[(size_t)m_hot].command : 0;
    nm.idNew = ValidIndex(index) ? m_buttons[(size_t)index].command : 0;
    nm.dwFlags = flags | (index < 0 ? HICF_LEAVING : 0);
    if (NotifyOwner(&nm.hdr, TBN_HOTITEMCHANGE) || m_dead)
        return;
    if (ValidIndex(m_hot))
        InvalidateRect(m_h, &m_buttons[(size_t)m_hot].rc, TRUE);
    m_hot = index;
    if (ValidIndex(m_hot))
        InvalidateRect(m_h, &m_buttons[(size_t)m_hot].rc, TRUE);
}

void Toolbar::OnButtonDown(POINT p, WPARAM keys) {
    int i = HitTest(p);
    if (i < 0)
        return;
    Button& b = m_buttons[(size_t)i];
    if (!(b.state & TBSTATE_ENABLED))
        return;
    bool alt = (GetKeyState(VK_MENU) & 0x8000) != 0;
    bool moveKey = (Style() & TBSTYLE_ALTDRAG) ? alt : (keys & MK_SHIFT) != 0;
    if ((Style() & CCS_ADJUSTABLE) && moveKey) {
        m_moving = i;
        SetCapture(m_h);
        return;
    }
    bool inArrow = (b.style & BTNS_WHOLEDROPDOWN) ||
                   ((b.style & TBSTYLE_DROPDOWN) &&
                    (!(m_exStyle & TBSTYLE_EX_DRAWDDARROWS) || p.x >= b.rc.right - kDropArrowWidth));
    if (inArrow) {
        b.state |= TBSTATE_PRESSED;
        InvalidateRect(m_h, &b.rc, TRUE);
        UpdateWindow(m_h);
        LRESULT r = NotifyButton(TBN_DROPDOWN, i);
        if (m_dead || !ValidIndex(i))
            return;
        m_buttons[(size_t)i].state &= (BYTE)~TBSTATE_PRESSED;
        InvalidateRect(m_h, &m_buttons[(size_t)i].rc, TRUE);
        if (r != TBDDRET_TREATPRESSED)
            return;
    }
    m_pressed = i;
    m_pressedIn = true;
    InvalidateRect(m_h, &m_buttons[(size_t)i].rc, TRUE);
    SetCapture(m_h);
    NotifyButton(TBN_BEGINDRAG, i);
}

void Toolbar::OnMouseMove(POINT p) {
    if (m_pressed >= 0) {
        bool in = ValidIndex(m_pressed) && PtInRect(&m_buttons[(size_t)m_pressed].rc, p);
        if (in != m_pressedIn) {
            m_pressedIn = in;
            InvalidateRect(m_h, &m_buttons[(size_t)m_pressed].rc, TRUE);
        }
        return;
    }
    if (m_moving >= 0)
        return;
    if (Flat()) {
        int i = HitTest(p);
        if (i >= 0 && !(m_buttons[(size_t)i].state & TBSTATE_ENABLED))
            i = -1;
        SetHot(i < 0 ? -1 : i, HICF_MOUSE);
    }
}

void Toolbar::EndPress(bool cancelled) {
    int i = m_pressed;
    bool in = m_pressedIn;
    m_pressed = -1;
    m_pressedIn = false;
    if (!ValidIndex(i))
        return;
    InvalidateRect(m_h, &m_buttons[(size_t)i].rc, TRUE);
    int command = m_buttons[(size_t)i].command;
    NotifyButton(TBN_ENDDRAG, i);
    if (m_dead || cancelled || !in)
        return;
    i = IndexOf(command);
    if (i < 0)
        return;
    Button& b = m_buttons[(size_t)i];
    if (b.style & TBSTYLE_CHECK)
        CheckInGroup(i, (b.style & TBSTYLE_GROUP) ? true : !(b.state & TBSTATE_CHECKED));
    HWND to = NotifyWindow();
    if (to)
        SendMessage(to, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), (LPARAM)m_h);
}

// Ends a customising drag: dropped on the bar, the button moves where the insert mark would be; dropped
// outside, it is deleted. The parent may refuse either.
void Toolbar::EndMoveDrag(POINT p, bool cancelled) {
    int from = m_moving;
    m_moving = -1;
    if (cancelled || !ValidIndex(from))
        return;
    RECT client;
    GetClientRect(m_h, &client);
    if (PtInRect(&client, p)) {
        TBINSERTMARK mark;
        InsertMarkHitTest(p, &mark);
        int to = mark.iButton + ((mark.dwFlags & TBIMHT_AFTER) ? 1 : 0);
        to = std::clamp(to, 0, Count());
        if (to > from)
            --to;
        if (to == from || !NotifyButton(TBN_QUERYINSERT, to) || m_dead || !ValidIndex(from))
            return;
        Button moved = m_buttons[(size_t)from];
        m_buttons.erase(m_buttons.begin() + from);
        m_buttons.insert(m_buttons.begin() + std::min(to, Count()), std::move(moved));
    } else {
        if (!NotifyButton(TBN_QUERYDELETE, from) || m_dead || !Delete(from))
            return;
    }
    m_hot = -1;
    Relayout();
    NMHDR hdr{};
    NotifyOwner(&hdr, TBN_TOOLBARCHANGE);
}

// ---- Saving and restoring -----------------------------------------------------------------------
//
// The value: "VTBR" as a 32-bit little-endian magic, a 16-bit version (1), a 32-bit button count, then
// per button a 32-bit image index, a 32-bit command, an 8-bit state, an 8-bit style, a 16-bit text
// length and the text's bytes.

void PutU16(std::string& out, uint16_t v) {
    out.push_back((char)(v & 0xFF));
    out.push_back((char)(v >> 8));
}
void PutU32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back((char)((v >> (8 * i)) & 0xFF));
}

class Reader {
public:
    Reader(const unsigned char* data, size_t size) : m_data(data), m_size(size) {}
    bool U8(uint8_t& v) {
        if (m_size - m_at < 1)
            return false;
        v = m_data[m_at++];
        return true;
    }
    bool U16(uint16_t& v) {
        if (m_size - m_at < 2)
            return false;
        v = (uint16_t)(m_data[m_at] | (m_data[m_at + 1] << 8));
        m_at += 2;
        return true;
    }
    bool U32(uint32_t& v) {
        if (m_size - m_at < 4)
            return false;
        v = 0;
        for (int i = 3; i >= 0; --i)
            v = (v << 8) | m_data[m_at + (size_t)i];
        m_at += 4;
        return true;
    }
    bool Bytes(std::string& out, size_t n) {
        if (m_size - m_at < n)
            return false;
        out.assign(reinterpret_cast<const char*>(m_data) + m_at, n);
        m_at += n;
        return true;
    }
    size_t Left() const { return m_size - m_at; }

private:
    const unsigned char* m_data;
    size_t m_size;
    size_t m_at = 0;
};

BOOL Toolbar::Save(const TBSAVEPARAMS* params) const {
    if (!params || !params->hkr)
        return FALSE;
    std::string blob;
    PutU32(blob, kSaveMagic);
    PutU16(blob, kSaveVersion);
    PutU32(blob, (uint32_t)m_buttons.size());
    for (const Button& b : m_buttons) {
        std::string text = TextOf(b).substr(0, 0xFFFF);
        PutU32(blob, (uint32_t)(int32_t)b.bitmap);
        PutU32(blob, (uint32_t)(int32_t)b.command);
        blob.push_back((char)(b.state & ~TBSTATE_PRESSED));
        blob.push_back((char)b.style);
        PutU16(blob, (uint16_t)text.size());
        blob += text;
    }
    HKEY key = nullptr;
    if (RegCreateKeyEx(params->hkr, params->pszSubKey ? params->pszSubKey : "", 0, nullptr, 0, KEY_ALL_ACCESS,
                       nullptr, &key, nullptr) != ERROR_SUCCESS)
        return FALSE;
    LONG r = RegSetValueEx(key, params->pszValueName, 0, REG_BINARY,
                           reinterpret_cast<const BYTE*>(blob.data()), (DWORD)blob.size());
    RegCloseKey(key);
    return r == ERROR_SUCCESS;
}

// Reads the whole value first: a missing, short, foreign or damaged value fails and leaves the buttons
// as they are. A button whose command the bar has keeps its data; the others come back as stored.
BOOL Toolbar::Restore(const TBSAVEPARAMS* params) {
    if (!params || !params->hkr)
        return FALSE;
    HKEY key = nullptr;
    if (RegOpenKeyEx(params->hkr, params->pszSubKey ? params->pszSubKey : "", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return FALSE;
    DWORD type = 0, size = 0;
    std::vector<unsigned char> blob;
    LONG r = RegQueryValueEx(key, params->pszValueName, nullptr, &type, nullptr, &size);
    if (r == ERROR_SUCCESS && type == REG_BINARY) {
        blob.resize(size);
        r = RegQueryValueEx(key, params->pszValueName, nullptr, &type, blob.data(), &size);
        blob.resize(std::min<size_t>(size, blob.size()));
    }
    RegCloseKey(key);
    if (r != ERROR_SUCCESS || type != REG_BINARY)
        return FALSE;
    Reader in(blob.data(), blob.size());
    uint32_t magic = 0, count = 0;
    uint16_t version = 0;
    if (!in.U32(magic) || magic != kSaveMagic || !in.U16(version) || version != kSaveVersion || !in.U32(count))
        return FALSE;
    if (count > in.Left() / 12)  // a record takes at least 12 bytes
        return FALSE;
    std::vector<Button> restored;
    restored.reserve(count);
    for (uint32_t k = 0; k < count; ++k) {
        uint32_t bitmap, command;
        uint8_t state, style;
        uint16_t length;
        std::string text;
        if (!in.U32(bitmap) || !in.U32(command) || !in.U8(state) || !in.U8(style) || !in.U16(length) ||
            !in.Bytes(text, length))
            return FALSE;
        Button b;
        int existing = (style & TBSTYLE_SEP) ? -1 : IndexOf((int)command);
        if (existing >= 0)
            b = m_buttons[(size_t)existing];
        else
            b.text = text;
        b.bitmap = (int)(int32_t)bitmap;
        b.command = (int)(int32_t)command;
        b.state = state;
        b.style = style;
        if (existing >= 0 && TextOf(b) != text) {
            b.stringIndex = -1;
            b.text = text;
        }
        restored.push_back(std::move(b));
    }
    if (in.Left() != 0)
        return FALSE;
    m_buttons = std::move(restored);
    m_hot = m_pressed = m_moving = -1;
    if (GetCapture() == m_h)
        ReleaseCapture();
    Relayout();
    return TRUE;
}

// ---- The window procedure -----------------------------------------------------------------------

LRESULT Toolbar::Proc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            m_notify = GetParent(m_h);
            Layout();
            break;
        case WM_SETFONT:
            m_font = (HFONT)wParam;
            Layout();
            if (lParam)
                InvalidateRect(m_h, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return (LRESULT)m_font;
        case WM_SIZE:
            if (Style() & TBSTYLE_WRAPABLE)
                Relayout();
            break;
        case WM_STYLECHANGED:
            Relayout();
            break;
        case WM_ERASEBKGND: {
            HDC dc = (HDC)wParam;
            LRESULT pre = CDRF_DODEFAULT;
            NMTBCUSTOMDRAW cd;
            if (Style() & TBSTYLE_CUSTOMERASE) {
                FillCustomDraw(cd, dc, CDDS_PREERASE);
                pre = NotifyOwner(&cd.nmcd.hdr, NM_CUSTOMDRAW);
                if (m_dead)
                    return 1;
            }
            if (!(pre & CDRF_SKIPDEFAULT) && !(Style() & TBSTYLE_TRANSPARENT)) {
                RECT rc;
                GetClientRect(m_h, &rc);
                FillRect(dc, &rc, GetSysColorBrush(COLOR_3DFACE));
            }
            if (pre & CDRF_NOTIFYPOSTERASE) {
                FillCustomDraw(cd, dc, CDDS_POSTERASE);
                NotifyOwner(&cd.nmcd.hdr, NM_CUSTOMDRAW);
            }
            return 1;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(m_h, &ps);
            Paint(dc);
            EndPaint(m_h, &ps);
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            OnButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, wParam);
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_LBUTTONUP: {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (m_moving >= 0) {
                int moving = m_moving;
                if (GetCapture() == m_h) {
                    m_moving = -1;  // the capture change must not cancel the drop
                    ReleaseCapture();
                }
                m_moving = moving;
                EndMoveDrag(p, false);
                return 0;
            }
            if (m_pressed >= 0) {
                int pressed = m_pressed;
                bool in = m_pressedIn;
                m_pressed = -1;
                if (GetCapture() == m_h)
                    ReleaseCapture();
                m_pressed = pressed;
                m_pressedIn = in && ValidIndex(pressed) && PtInRect(&m_buttons[(size_t)pressed].rc, p);
                EndPress(false);
                return 0;
            }
            return 0;
        }
        case WM_CAPTURECHANGED:
            if (m_pressed >= 0)
                EndPress(true);
            if (m_moving >= 0)
                EndMoveDrag(POINT{0, 0}, true);
            return 0;
        case WM_MOUSELEAVE:
            SetHot(-1, HICF_MOUSE);
            return 0;

        case TB_BUTTONSTRUCTSIZE:
            return 0;
        case TB_ADDBUTTONS:
        case TB_INSERTBUTTON: {
            const TBBUTTON* tb = reinterpret_cast<const TBBUTTON*>(lParam);
            if (!tb)
                return FALSE;
            if (msg == TB_ADDBUTTONS) {
                for (UINT k = 0; k < (UINT)wParam; ++k)
                    Insert(Count(), tb[k]);
            } else {
                Insert((int)wParam, *tb);
            }
            Relayout();
            return TRUE;
        }
        case TB_DELETEBUTTON: {
            BOOL ok = Delete((int)wParam);
            if (ok && !m_dead)
                Relayout();
            return ok;
        }
        case TB_MOVEBUTTON: {
            int from = (int)wParam, to = (int)lParam;
            if (!ValidIndex(from) || !ValidIndex(to))
                return FALSE;
            Button b = m_buttons[(size_t)from];
            m_buttons.erase(m_buttons.begin() + from);
            m_buttons.insert(m_buttons.begin() + to, std::move(b));
            m_hot = -1;
            Relayout();
            return TRUE;
        }
        case TB_GETBUTTON: {
            auto* out = reinterpret_cast<TBBUTTON*>(lParam);
            if (!out || !ValidIndex((int)wParam))
                return FALSE;
            GetButton(m_buttons[(size_t)wParam], out);
            return TRUE;
        }
        case TB_BUTTONCOUNT:
            return Count();
        case TB_COMMANDTOINDEX:
            return IndexOf((int)wParam);
        case TB_SETCMDID:
            if (!ValidIndex((int)wParam))
                return FALSE;
            m_buttons[(size_t)wParam].command = (int)lParam;
            return TRUE;
        case TB_GETBUTTONTEXT: {
            Button* b = ById(wParam);
            if (!b)
                return -1;
            std::string text = TextOf(*b);
            if (lParam)
                std::memcpy(reinterpret_cast<char*>(lParam), text.c_str(), text.size() + 1);
            return (LRESULT)text.size();
        }
        case TB_GETBUTTONINFO:
        case TB_SETBUTTONINFO: {
            auto* info = reinterpret_cast<TBBUTTONINFO*>(lParam);
            if (!info)
                return msg == TB_GETBUTTONINFO ? -1 : FALSE;
            int i = (info->dwMask & TBIF_BYINDEX) ? (int)wParam : IndexOf((int)wParam);
            if (!ValidIndex(i))
                return msg == TB_GETBUTTONINFO ? -1 : FALSE;
            Button& b = m_buttons[(size_t)i];
            DWORD mask = info->dwMask;
            if (msg == TB_GETBUTTONINFO) {
                if (mask & TBIF_COMMAND)
                    info->idCommand = b.command;
                if (mask & TBIF_IMAGE)
                    info->iImage = b.bitmap;
                if (mask & TBIF_STATE)
                    info->fsState = b.state;
                if (mask & TBIF_STYLE)
                    info->fsStyle = b.style;
                if (mask & TBIF_LPARAM)
                    info->lParam = b.data;
                if (mask & TBIF_SIZE)
                    info->cx = (WORD)(b.rc.right - b.rc.left);
                if ((mask & TBIF_TEXT) && info->pszText && info->cchText > 0) {
                    std::string text = TextOf(b);
                    size_t n = std::min(text.size(), (size_t)info->cchText - 1);
                    text.copy(info->pszText, n);
                    info->pszText[n] = 0;
                }
                return i;
            }
            if (mask & TBIF_COMMAND)
                b.command = info->idCommand;
            if (mask & TBIF_IMAGE)
                b.bitmap = info->iImage;
            if (mask & TBIF_STATE)
                b.state = info->fsState;
            if (mask & TBIF_STYLE)
                b.style = info->fsStyle;
            if (mask & TBIF_LPARAM)
                b.data = info->lParam;
            if (mask & TBIF_SIZE)
                b.cx = info->cx;
            if (mask & TBIF_TEXT) {
                b.stringIndex = -1;
                b.text = info->pszText ? info->pszText : "";
            }
            Relayout();
            return TRUE;
        }
        case TB_SETSTATE: {
            Button* b = ById(wParam);
            if (!b)
                return FALSE;
            BYTE old = b->state;
            b->state = (BYTE)LOWORD(lParam);
            if ((old ^ b->state) & (TBSTATE_HIDDEN | TBSTATE_WRAP))
                Relayout();
            else
                InvalidateRect(m_h, &b->rc, TRUE);
            return TRUE;
        }
        case TB_GETSTATE: {
            Button* b = ById(wParam);
            return b ? b->state : -1;
        }
        case TB_ENABLEBUTTON:
        case TB_PRESSBUTTON:
        case TB_HIDEBUTTON:
        case TB_INDETERMINATE:
        case TB_MARKBUTTON: {
            int i = IndexOf((int)wParam);
            if (i < 0)
                return FALSE;
            Button& b = m_buttons[(size_t)i];
            BYTE bit = msg == TB_ENABLEBUTTON    ? TBSTATE_ENABLED
                       : msg == TB_PRESSBUTTON   ? TBSTATE_PRESSED
                       : msg == TB_HIDEBUTTON    ? TBSTATE_HIDDEN
                       : msg == TB_INDETERMINATE ? TBSTATE_INDETERMINATE
                                                 : TBSTATE_MARKED;
            BYTE old = b.state;
            if (LOWORD(lParam))
                b.state |= bit;
            else
                b.state &= (BYTE)~bit;
            if (msg == TB_HIDEBUTTON && old != b.state)
                Relayout();
            else
                InvalidateRect(m_h, &b.rc, TRUE);
            if (msg == TB_ENABLEBUTTON && !LOWORD(lParam) && m_hot == i)
                m_hot = -1;
            return TRUE;
        }
        case TB_CHECKBUTTON: {
            int i = IndexOf((int)wParam);
            if (i < 0)
                return FALSE;
            CheckInGroup(i, LOWORD(lParam) != 0);
            InvalidateRect(m_h, nullptr, TRUE);
            return TRUE;
        }
        case TB_ISBUTTONENABLED:
        case TB_ISBUTTONCHECKED:
        case TB_ISBUTTONPRESSED:
        case TB_ISBUTTONHIDDEN:
        case TB_ISBUTTONINDETERMINATE:
        case TB_ISBUTTONHIGHLIGHTED: {
            Button* b = ById(wParam);
            if (!b)
                return -1;
            BYTE bit = msg == TB_ISBUTTONENABLED   ? TBSTATE_ENABLED
                       : msg == TB_ISBUTTONCHECKED ? TBSTATE_CHECKED
                       : msg == TB_ISBUTTONPRESSED ? TBSTATE_PRESSED
                       : msg == TB_ISBUTTONHIDDEN  ? TBSTATE_HIDDEN
                       : msg == TB_ISBUTTONINDETERMINATE ? TBSTATE_INDETERMINATE
                                                         : TBSTATE_MARKED;
            return (b->state & bit) ? TRUE : FALSE;
        }
        case TB_ADDBITMAP:
            return AddBitmap((int)wParam, reinterpret_cast<const TBADDBITMAP*>(lParam));
        case TB_ADDSTRING:
            return AddStrings((HINSTANCE)wParam, lParam);
        case TB_CHANGEBITMAP: {
            Button* b = ById(wParam);
            if (!b)
                return FALSE;
            b->bitmap = (int)lParam;
            InvalidateRect(m_h, &b->rc, TRUE);
            return TRUE;
        }
        case TB_GETBITMAP: {
            Button* b = ById(wParam);
            return b ? b->bitmap : -1;
        }
        case TB_GETITEMRECT:
        case TB_GETRECT: {
            int i = msg == TB_GETITEMRECT ? (int)wParam : IndexOf((int)wParam);
            auto* out = reinterpret_cast<RECT*>(lParam);
            if (!out || !ValidIndex(i) || Hidden(m_buttons[(size_t)i]))
                return FALSE;
            *out = m_buttons[(size_t)i].rc;
            return TRUE;
        }
        case TB_HITTEST: {
            auto* p = reinterpret_cast<const POINT*>(lParam);
            return p ? HitTest(*p) : -1;
        }
        case TB_SETBUTTONSIZE:
            m_buttonSize = SIZE{LOWORD(lParam) ? (LONG)LOWORD(lParam) : 24, HIWORD(lParam) ? (LONG)HIWORD(lParam) : 22};
            Relayout();
            return TRUE;
        case TB_SETBITMAPSIZE:
            m_bitmapSize = SIZE{(LONG)LOWORD(lParam), (LONG)HIWORD(lParam)};
            Relayout();
            return TRUE;
        case TB_GETBUTTONSIZE: {
            SIZE s = ButtonSize();
            return MAKELONG(s.cx, s.cy);
        }
        case TB_SETPADDING: {
            LRESULT old = MAKELONG(m_padding.cx, m_padding.cy);
            m_padding = SIZE{(LONG)LOWORD(lParam), (LONG)HIWORD(lParam)};
            Relayout();
            return old;
        }
        case TB_GETPADDING:
            return MAKELONG(m_padding.cx, m_padding.cy);
        case TB_SETBUTTONWIDTH:
            m_minWidth = LOWORD(lParam);
            m_maxWidth = HIWORD(lParam);
            Relayout();
            return TRUE;
        case TB_SETINDENT:
            m_indent = (int)wParam;
            Relayout();
            return TRUE;
        case TB_SETMAXTEXTROWS:
            m_maxTextRows = (int)wParam;
            Relayout();
            return TRUE;
        case TB_GETTEXTROWS:
            return m_maxTextRows;
        case TB_AUTOSIZE:
            AutoSize();
            InvalidateRect(m_h, nullptr, TRUE);
            return 0;
        case TB_GETROWS:
            return Rows();
        case TB_GETMAXSIZE: {
            auto* out = reinterpret_cast<SIZE*>(lParam);
            if (!out)
                return FALSE;
            *out = MaxSize();
            return TRUE;
        }
        case TB_SETSTYLE:
            SetWindowLongPtr(m_h, GWL_STYLE, (LONG_PTR)(DWORD)lParam);
            Relayout();
            return 0;
        case TB_GETSTYLE:
            return (LRESULT)Style();
        case TB_SETEXTENDEDSTYLE: {
            DWORD old = m_exStyle;
            m_exStyle = wParam ? (m_exStyle & ~(DWORD)wParam) | ((DWORD)lParam & (DWORD)wParam) : (DWORD)lParam;
            Relayout();
            return (LRESULT)old;
        }
        case TB_GETEXTENDEDSTYLE:
            return (LRESULT)m_exStyle;
        case TB_SETIMAGELIST:
        case TB_SETHOTIMAGELIST:
        case TB_SETDISABLEDIMAGELIST: {
            HIMAGELIST& slot = msg == TB_SETIMAGELIST ? m_images : msg == TB_SETHOTIMAGELIST ? m_hotImages : m_disabledImages;
            HIMAGELIST old = slot;
            slot = (HIMAGELIST)lParam;
            if (msg == TB_SETIMAGELIST && slot) {
                int cx, cy;
                if (ImageList_GetIconSize(slot, &cx, &cy))
                    m_bitmapSize = SIZE{cx, cy};
            }
            Relayout();
            return (LRESULT)old;
        }
        case TB_GETIMAGELIST:
            return (LRESULT)m_images;
        case TB_GETHOTIMAGELIST:
            return (LRESULT)m_hotImages;
        case TB_GETDISABLEDIMAGELIST:
            return (LRESULT)m_disabledImages;
        case TB_GETHOTITEM:
            return m_hot;
        case TB_SETHOTITEM: {
            int old = m_hot;
            int i = (int)wParam;
            SetHot(ValidIndex(i) && !Separator(m_buttons[(size_t)i]) ? i : -1, HICF_OTHER);
            return old;
        }
        case TB_SETINSERTMARK: {
            auto* mark = reinterpret_cast<const TBINSERTMARK*>(lParam);
            if (!mark)
                return 0;
            m_mark = *mark;
            InvalidateRect(m_h, nullptr, TRUE);
            return 0;
        }
        case TB_GETINSERTMARK: {
            auto* out = reinterpret_cast<TBINSERTMARK*>(lParam);
            if (out)
                *out = m_mark;
            return TRUE;
        }
        case TB_INSERTMARKHITTEST: {
            auto* p = reinterpret_cast<const POINT*>(wParam);
            auto* out = reinterpret_cast<TBINSERTMARK*>(lParam);
            if (!p || !out)
                return FALSE;
            return InsertMarkHitTest(*p, out);
        }
        case TB_SETINSERTMARKCOLOR: {
            COLORREF old = m_markColor;
            m_markColor = (COLORREF)lParam;
            return (LRESULT)old;
        }
        case TB_GETINSERTMARKCOLOR:
            return (LRESULT)m_markColor;
        case TB_SETPARENT: {
            HWND old = m_notify;
            m_notify = (HWND)wParam;
            return (LRESULT)old;
        }
        case TB_GETTOOLTIPS:
            return 0;
        case TB_SETTOOLTIPS:
            return 0;
        case TB_SAVERESTORE:
            return wParam ? Save(reinterpret_cast<const TBSAVEPARAMS*>(lParam))
                          : Restore(reinterpret_cast<const TBSAVEPARAMS*>(lParam));
        default:
            break;
    }
    return Default(msg, wParam, lParam);
}
}  // namespace

void user::RegisterToolbarClass() {
    RegisterControlClass(TOOLBARCLASSNAME, user::ControlWindowProc<Toolbar>, CS_DBLCLKS);
}
