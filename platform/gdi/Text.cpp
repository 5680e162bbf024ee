// Fonts through fontconfig and Cairo, text output and measurement, DrawText.
#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <strings.h>
#include <mutex>
#include <string>
#include <vector>

#include "platform/base/Utf8.h"
#include "platform/gdi/GdiInternal.h"

namespace gdi {
namespace {
std::mutex g_fontMutex;

// Whether fontconfig knows a family of this (lower-case) name.
bool IsInstalledFamily(const std::string& lower) {
    static const std::set<std::string> families = [] {
        std::set<std::string> names;
        FcPattern* pattern = FcPatternCreate();
        FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
        FcFontSet* set = FcFontList(nullptr, pattern, objects);
        for (int i = 0; set && i < set->nfont; ++i) {
            FcChar8* family = nullptr;
            for (int k = 0; FcPatternGetString(set->fonts[i], FC_FAMILY, k, &family) == FcResultMatch; ++k) {
                std::string n(reinterpret_cast<const char*>(family));
                for (char& c : n)
                    c = (char)std::tolower((unsigned char)c);
                names.insert(n);
            }
        }
        if (set)
            FcFontSetDestroy(set);
        FcObjectSetDestroy(objects);
        FcPatternDestroy(pattern);
        return names;
    }();
    return families.count(lower) != 0;
}

// The Windows faces the system names, mapped to the faces installed here.
std::string MapFace(const char* face, BYTE pitchAndFamily) {
    std::string f = face ? face : "";
    for (char& c : f)
        c = (char)std::tolower((unsigned char)c);
    static const char* const sans[] = {
        "ms sans serif", "ms shell dlg", "ms shell dlg 2", "tahoma",    "arial",
        "segoe ui",      "verdana",      "system",         "helvetica", "microsoft sans serif",
        "small fonts",   "ms ui gothic"};
    static const char* const serif[] = {"times new roman", "times", "ms serif", "georgia"};
    static const char* const mono[] = {"courier new", "courier",  "lucida console",
                                       "fixedsys",    "terminal", "consolas"};
    for (const char* s : sans)
        if (f == s)
            return "Liberation Sans";
    for (const char* s : serif)
        if (f == s)
            return "Liberation Serif";
    for (const char* s : mono)
        if (f == s)
            return "Liberation Mono";
    if (f.empty()) {
        if ((pitchAndFamily & 3) == FIXED_PITCH || (pitchAndFamily & 0xF0) == FF_MODERN)
            return "Liberation Mono";
        if ((pitchAndFamily & 0xF0) == FF_ROMAN)
            return "Liberation Serif";
        return "Liberation Sans";
    }
    // A face installed here is taken as it is; any other ("Tahoma BOLD") is the sans face.
    return IsInstalledFamily(f) ? std::string(face) : std::string("Liberation Sans");
}

cairo_font_options_t* FontOptions() {
    static cairo_font_options_t* options = [] {
        cairo_font_options_t* o = cairo_font_options_create();
        cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_SLIGHT);
        cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_ON);
        return o;
    }();
    return options;
}

cairo_scaled_font_t* MakeScaled(cairo_font_face_t* face, double em) {
    cairo_matrix_t fm, ctm;
    cairo_matrix_init_scale(&fm, em, em);
    cairo_matrix_init_identity(&ctm);
    return cairo_scaled_font_create(face, &fm, &ctm, FontOptions());
}
}  // namespace

std::string TextToUtf8(const char* text, int length) {
    if (!text || length <= 0)
        return std::string();
    std::string out = TextAsUtf8(std::string_view(text, (size_t)length));
    // Cairo stops at a NUL; control characters are drawn as nothing.
    for (char& c : out)
        if (c == 0)
            c = ' ';
    return out;
}

FontObject::~FontObject() {
    if (m_scaled)
        cairo_scaled_font_destroy(m_scaled);
    if (m_face)
        cairo_font_face_destroy(m_face);
}

void FontObject::Realize() {
    std::lock_guard<std::mutex> g(g_fontMutex);
    if (m_ready)
        return;
    FcPattern* pattern = FcPatternCreate();
    m_marlett = strcasecmp(m_logfont.lfFaceName, "Marlett") == 0;
    std::string family = m_marlett ? std::string("Liberation Sans")
                                   : MapFace(m_logfont.lfFaceName, m_logfont.lfPitchAndFamily);
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("DejaVu Sans"));
    FcPatternAddInteger(pattern, FC_WEIGHT,
                        m_logfont.lfWeight >= FW_SEMIBOLD ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, m_logfont.lfItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    m_face = cairo_ft_font_face_create_for_pattern(match ? match : FcPatternCreate());
    if (match)
        FcPatternDestroy(match);

    // A negative height is the character height (the em), a positive one the cell height.
    LONG h = m_logfont.lfHeight;
    if (h < 0) {
        m_emSize = -h;
    } else if (h > 0) {
        cairo_scaled_font_t* probe = MakeScaled(m_face, 100);
        cairo_font_extents_t fe;
        cairo_scaled_font_extents(probe, &fe);
        cairo_scaled_font_destroy(probe);
        m_emSize = fe.ascent + fe.descent > 0 ? h * 100.0 / (fe.ascent + fe.descent) : h;
    } else {
        m_emSize = 13;
    }
    if (m_marlett)
        m_emSize = h < 0 ? -h : h > 0 ? h : 13;  // the cell is the em: square glyphs
    m_emSize = std::clamp(m_emSize, 1.0, 2000.0);
    m_scaled = MakeScaled(m_face, m_emSize);

    cairo_font_extents_t fe;
    cairo_scaled_font_extents(m_scaled, &fe);
    TEXTMETRIC& tm = m_metrics;
    tm.tmAscent = (LONG)std::ceil(fe.ascent - 0.01);
    tm.tmDescent = (LONG)std::ceil(fe.descent - 0.01);
    tm.tmHeight = tm.tmAscent + tm.tmDescent;
    tm.tmInternalLeading = std::max<LONG>(0, tm.tmHeight - (LONG)std::lround(m_emSize));
    tm.tmExternalLeading = 0;
    cairo_text_extents_t te;
    cairo_scaled_font_text_extents(m_scaled, "x", &te);
    tm.tmAveCharWidth = (LONG)std::lround(te.x_advance);
    tm.tmMaxCharWidth = (LONG)std::lround(fe.max_x_advance);
    tm.tmWeight = m_logfont.lfWeight ? m_logfont.lfWeight : FW_NORMAL;
    tm.tmDigitizedAspectX = tm.tmDigitizedAspectY = 96;
    tm.tmFirstChar = 0x20;
    tm.tmLastChar = 0xFF;
    tm.tmDefaultChar = 0x1F;
    tm.tmBreakChar = 0x20;
    tm.tmItalic = m_logfont.lfItalic;
    tm.tmUnderlined = m_logfont.lfUnderline;
    tm.tmStruckOut = m_logfont.lfStrikeOut;
    bool fixed = family == "Liberation Mono";
    // As Windows reports it: the low bit set means a variable pitch.
    tm.tmPitchAndFamily = (BYTE)((fixed ? 0 : 1) | 0x06 | (m_logfont.lfPitchAndFamily & 0xF0));
    tm.tmCharSet = m_logfont.lfCharSet;
    if (m_marlett) {
        LONG em = (LONG)std::lround(m_emSize);
        tm.tmAscent = em;
        tm.tmDescent = 0;
        tm.tmHeight = em;
        tm.tmInternalLeading = 0;
        tm.tmAveCharWidth = tm.tmMaxCharWidth = em;
        tm.tmPitchAndFamily = 0x02;  // fixed pitch, symbol
        tm.tmCharSet = 2;            // SYMBOL_CHARSET
    }
    m_ready = true;
}

}  // namespace gdi

using namespace gdi;

namespace {

int TextWidth(FontObject* font, const std::string& utf8) {
    if (utf8.empty())
        return 0;
    if (font->m_marlett)
        return (int)utf8.size() * font->m_metrics.tmAveCharWidth;
    cairo_text_extents_t te;
    cairo_scaled_font_text_extents(font->m_scaled, utf8.c_str(), &te);
    return (int)std::lround(te.x_advance);
}

int TextWidth8(FontObject* font, const char* text, int length) {
    return TextWidth(font, TextToUtf8(text, length));
}

// The "Marlett" shapes: '6' a triangle pointing down, '8' one pointing right, each centred in its em
// square with a base of em / 2 (made odd) pixels and a height of (base + 1) / 2; other characters are blank.
void DrawMarlett(cairo_t* cr, FontObject* font, const std::string& text) {
    int em = font->m_metrics.tmAveCharWidth;
    int w = std::max(1, (em / 2) | 1), h = (w + 1) / 2;
    for (size_t k = 0; k < text.size(); ++k) {
        int cx = (int)k * em;
        for (int i = 0; i < h; ++i) {
            if (text[k] == '6')
                cairo_rectangle(cr, cx + (em - w) / 2 + i, (em - h) / 2 + i, w - 2 * i, 1);
            else if (text[k] == '8')
                cairo_rectangle(cr, cx + (em - h) / 2 + i, (em - w) / 2 + i, 1, w - 2 * i);
        }
    }
    cairo_fill(cr);
}

// Draws a line of text whose top-left (in the text's own direction) is at surface pixel (x, y), turned
// by the font's escapement about that point, inside `clip`. With `background` the text's box is filled
// with the DC's background colour first.
void DrawGlyphs(DeviceContext& dc, FontObject* font, int x, int y, const std::string& utf8,
                const Region& clip, int underlineFrom = -1, int underlineTo = -1, bool background = false) {
    if (clip.IsEmpty())
        return;
    cairo_t* cr = cairo_create(dc.m_surface);
    for (const RECT& r : clip.Rects())
        cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
    cairo_clip(cr);
    cairo_translate(cr, x, y);
    if (LONG esc = font->m_logfont.lfEscapement % 3600)
        cairo_rotate(cr, -esc * M_PI / 1800.0);
    // The font is laid out in logical units; the mapping scales it onto the device.
    double sx = dc.TextScaleX(), sy = dc.TextScaleY();
    if (sx != 1.0 || sy != 1.0)
        cairo_scale(cr, sx, sy);
    int width = TextWidth(font, utf8);
    if (background) {
        COLORREF b = dc.m_state.bkColor;
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
        cairo_set_source_rgb(cr, GetRValue(b) / 255.0, GetGValue(b) / 255.0, GetBValue(b) / 255.0);
        cairo_rectangle(cr, 0, 0, width, font->m_metrics.tmHeight);
        cairo_fill(cr);
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
    }
    COLORREF c = dc.m_state.textColor;
    cairo_set_source_rgb(cr, GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0);
    cairo_set_scaled_font(cr, font->m_scaled);
    int baseline = font->m_metrics.tmAscent;
    if (font->m_marlett) {
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
        DrawMarlett(cr, font, utf8);
    } else if (!utf8.empty()) {
        cairo_move_to(cr, 0, baseline);
        cairo_show_text(cr, utf8.c_str());
        if (dc.m_printer) {
            cairo_matrix_t placement;
            cairo_get_matrix(cr, &placement);
            RecordPrinterText(dc, placement, font->m_face, font->m_emSize, baseline, utf8);
        }
    }
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    auto line = [&](int lx0, int lx1, int ly) {
        if (lx1 <= lx0)
            return;
        cairo_rectangle(cr, lx0, ly, lx1 - lx0, std::max(1, (int)std::lround(font->m_emSize / 14.0)));
        cairo_fill(cr);
    };
    if (font->m_logfont.lfUnderline)
        line(0, width, baseline + 1);
    if (font->m_logfont.lfStrikeOut)
        line(0, width, baseline - font->m_metrics.tmAscent / 3);
    if (underlineFrom >= 0 && underlineTo > underlineFrom)
        line(underlineFrom, underlineTo, baseline + 1);
    cairo_destroy(cr);
}

void FillBackground(DeviceContext& dc, const RECT& dev, const Region& clip) {
    gdi::PixelTarget t(dc.m_surface, clip);
    if (!t.Valid())
        return;
    uint32_t px = PixelFromColor(dc.m_state.bkColor);
    t.ForSpans(dev, [&](int x0, int x1, int y) { std::fill(t.Row(y) + x0, t.Row(y) + x1, px); });
}

}  // namespace

BOOL ExtTextOut(HDC hdc, int x, int y, UINT options, const RECT* rc, LPCTSTR text, UINT length, const INT*) {
    auto dc = FindDC(hdc);
    if (!dc)
        return FALSE;
    FontObject* font = dc->Font();
    std::string utf8 = TextToUtf8(text, text ? (int)length : 0);
    int width = TextWidth(font, utf8);
    const TEXTMETRIC& tm = font->m_metrics;
    UINT align = dc->m_state.textAlign;
    if (align & TA_UPDATECP) {
        x = dc->m_state.position.x;
        y = dc->m_state.position.y;
    }
    // The alignment moves the text's box in its own direction.
    int ox = 0, oy = 0;
    if ((align & TA_CENTER) == TA_CENTER)
        ox = -width / 2;
    else if (align & TA_RIGHT)
        ox = -width;
    if ((align & TA_BASELINE) == TA_BASELINE)
        oy = -tm.tmAscent;
    else if (align & TA_BOTTOM)
        oy = -tm.tmHeight;
    if (align & TA_UPDATECP)
        dc->m_state.position.x += dc->XSign() * width;
    if (LONG esc = font->m_logfont.lfEscapement % 3600) {
        // A turned font: the reference point turns the box about itself.
        double a = esc * M_PI / 1800.0;
        ox = (int)std::lround(ox * dc->TextScaleX());
        oy = (int)std::lround(oy * dc->TextScaleY());
        Region clip = dc->EffectiveClip();
        if (rc && (options & ETO_OPAQUE))
            FillBackground(*dc, dc->DevRect(rc->left, rc->top, rc->right, rc->bottom), clip);
        if (rc && (options & ETO_CLIPPED))
            clip.Intersect(dc->DevRect(rc->left, rc->top, rc->right, rc->bottom));
        int rx = dc->DevX(x) + (int)std::lround(ox * std::cos(a) + oy * std::sin(a));
        int ry = dc->DevY(y) + (int)std::lround(-ox * std::sin(a) + oy * std::cos(a));
        DrawGlyphs(*dc, font, rx, ry, utf8, clip, -1, -1, dc->m_state.bkMode == OPAQUE && !(options & ETO_OPAQUE));
        return TRUE;
    }
    // The offsets run the device's way: against a logical axis that runs the other way.
    x += dc->XSign() * ox;
    y += dc->YSign() * oy;

    Region clip = dc->EffectiveClip();
    if (rc && (options & ETO_OPAQUE)) {
        RECT dev = dc->DevRect(rc->left, rc->top, rc->right, rc->bottom);
        FillBackground(*dc, dev, clip);
    }
    if (rc && (options & ETO_CLIPPED))
        clip.Intersect(
            dc->DevRect(rc->left, rc->top, rc->right, rc->bottom));
    int dx = dc->DevX(x), dy = dc->DevY(y);
    if (dc->m_state.bkMode == OPAQUE && !(options & ETO_OPAQUE))
        FillBackground(*dc,
                       RECT{dx, dy, dx + (int)std::lround(width * dc->TextScaleX()),
                            dy + (int)std::lround(tm.tmHeight * dc->TextScaleY())},
                       clip);
    DrawGlyphs(*dc, font, dx, dy, utf8, clip);
    return TRUE;
}

BOOL TextOut(HDC dc, int x, int y, LPCTSTR text, int length) {
    if (length < 0)
        return FALSE;
    return ExtTextOut(dc, x, y, 0, nullptr, text, (UINT)length, nullptr);
}

BOOL GetTextExtentPoint32(HDC hdc, LPCTSTR text, int length, SIZE* size) {
    auto dc = FindDC(hdc);
    if (!dc || !size || length < 0 || (length > 0 && !text))
        return FALSE;
    FontObject* font = dc->Font();
    // No text has no extent, height included.
    size->cx = length > 0 ? TextWidth8(font, text, length) : 0;
    size->cy = length > 0 ? font->m_metrics.tmHeight : 0;
    return TRUE;
}

BOOL GetTextMetrics(HDC hdc, LPTEXTMETRIC tm) {
    auto dc = FindDC(hdc);
    if (!dc || !tm)
        return FALSE;
    *tm = dc->Font()->m_metrics;
    return TRUE;
}

int GetTextFace(HDC hdc, int count, LPTSTR face) {
    auto dc = FindDC(hdc);
    if (!dc)
        return 0;
    const char* name = dc->Font()->m_logfont.lfFaceName;
    int n = (int)std::strlen(name);
    if (!face)
        return n + 1;
    if (count <= 0)
        return 0;
    std::strncpy(face, name, (size_t)count - 1);
    face[count - 1] = 0;
    return std::min(n, count - 1);
}

SIZE GetFontBaseUnits(HFONT hfont) {
    auto f = Find<FontObject>(hfont ? (HGDIOBJ)hfont : GetStockObject(SYSTEM_FONT));
    if (!f)
        f = Find<FontObject>(GetStockObject(SYSTEM_FONT));
    f->Realize();
    int total = TextWidth(f.get(), "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return SIZE{(total / 26 + 1) / 2, f->m_metrics.tmHeight};
}

// ---- DrawText ---------------------------------------------------------------------------------

namespace {
struct TextLine {
    std::string text;  // 8-bit, prefixes removed
    int underlineIndex = -1;
};

// Removes '&' prefixes; "&&" is a literal '&'. Returns the index of the underlined character.
std::string StripPrefix(const std::string& s, int& underline) {
    std::string out;
    underline = -1;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&' && i + 1 < s.size()) {
            ++i;
            if (s[i] != '&')
                underline = (int)out.size();
        }
        out += s[i];
    }
    return out;
}

std::string ExpandTabs(const std::string& s, FontObject* font) {
    if (s.find('\t') == std::string::npos)
        return s;
    int tabWidth = std::max<LONG>(1, font->m_metrics.tmAveCharWidth * 8);
    std::string out;
    for (char c : s) {
        if (c != '\t') {
            out += c;
            continue;
        }
        int w = TextWidth8(font, out.c_str(), (int)out.size());
        int spaceWidth = std::max(1, TextWidth(font, " "));
        int target = (w / tabWidth + 1) * tabWidth;
        while (w < target) {
            out += ' ';
            w += spaceWidth;
        }
    }
    return out;
}

std::vector<std::string> SplitLines(const std::string& s, bool single) {
    std::vector<std::string> lines;
    if (single) {
        std::string one;
        for (char c : s)
            if (c != '\r' && c != '\n')
                one += c;
        lines.push_back(one);
        return lines;
    }
    std::string cur;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' || s[i] == '\n') {
            lines.push_back(cur);
            cur.clear();
            if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n')
                ++i;
        } else {
            cur += s[i];
        }
    }
    lines.push_back(cur);
    return lines;
}

int Width(FontObject* font, const std::string& s) {
    return TextWidth8(font, s.c_str(), (int)s.size());
}

// Breaks a line at blanks so each piece fits `width`: a word fits with the blanks after it. A word
// wider than the width stays whole, or with `breakWords` is cut where the width ends.
std::vector<std::string> WrapLine(const std::string& line, FontObject* font, int width, bool breakWords) {
    std::vector<std::string> out;
    std::string cur;
    auto flush = [&] {
        while (!cur.empty() && cur.back() == ' ')
            cur.pop_back();
        out.push_back(cur);
        cur.clear();
    };
    size_t i = 0;
    while (i < line.size()) {
        size_t j = i;
        while (j < line.size() && line[j] != ' ')
            ++j;
        size_t k = j;
        while (k < line.size() && line[k] == ' ')
            ++k;
        std::string word = line.substr(i, j - i), blanks = line.substr(j, k - j);
        if (!cur.empty() && Width(font, cur + word + blanks) > width)
            flush();
        if (cur.empty() && breakWords) {
            // Whole pieces of the word that fill a line each, at least one character per line.
            while (word.size() > 1 && Width(font, word) > width) {
                size_t n = 1;
                while (n < word.size() && Width(font, word.substr(0, n + 1)) <= width)
                    ++n;
                out.push_back(word.substr(0, n));
                word.erase(0, n);
            }
        }
        cur += word + blanks;
        i = k;
    }
    while (cur.size() > 1 && cur.back() == ' ')
        cur.pop_back();
    out.push_back(cur);
    return out;
}

std::string EndEllipsis(const std::string& s, FontObject* font, int width) {
    if (Width(font, s) <= width)
        return s;
    std::string base = s;
    while (!base.empty()) {
        base.pop_back();
        std::string candidate = base + "...";
        if (Width(font, candidate) <= width)
            return candidate;
    }
    return "...";
}

// Keeps the last part of a path (from its last separator on) and as much of its start as fits, with
// "..." between; a last part too wide itself is cut at its end.
std::string PathEllipsis(const std::string& s, FontObject* font, int width) {
    if (Width(font, s) <= width)
        return s;
    size_t sep = s.find_last_of("\\/");
    if (sep == std::string::npos)
        return EndEllipsis(s, font, width);
    std::string tail = "..." + s.substr(sep);
    if (Width(font, tail) > width)
        return EndEllipsis(tail, font, width);
    std::string head = s.substr(0, sep);
    while (!head.empty() && Width(font, head + tail) > width)
        head.pop_back();
    return head + tail;
}
}  // namespace

int DrawText(HDC hdc, LPCTSTR text, int length, LPRECT rc, UINT format) {
    auto dc = FindDC(hdc);
    if (!dc || !rc)
        return 0;
    if (!text)
        text = "";
    bool textWasTerminated = length < 0;
    if (length < 0)
        length = (int)std::strlen(text);
    FontObject* font = dc->Font();
    const TEXTMETRIC& tm = font->m_metrics;
    bool single = (format & DT_SINGLELINE) != 0;
    int lineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
    int width = rc->right - rc->left;

    std::vector<TextLine> lines;
    bool wrapped = false;
    for (std::string raw : SplitLines(std::string(text, (size_t)length), single)) {
        int underline = -1;
        if (!(format & DT_NOPREFIX))
            raw = StripPrefix(raw, underline);
        if (format & DT_EXPANDTABS)
            raw = ExpandTabs(raw, font);
        if ((format & DT_WORDBREAK) && !single) {
            size_t offset = 0;
            std::vector<std::string> pieces = WrapLine(raw, font, width, (format & DT_EDITCONTROL) != 0);
            wrapped = wrapped || pieces.size() > 1;
            for (std::string& piece : pieces) {
                TextLine tl{piece, -1};
                if (underline >= (int)offset && underline < (int)(offset + piece.size()))
                    tl.underlineIndex = underline - (int)offset;
                offset += piece.size();
                while (offset < raw.size() && raw[offset] == ' ')
                    ++offset;
                lines.push_back(std::move(tl));
            }
        } else {
            lines.push_back(TextLine{raw, underline});
        }
    }
    UINT ellipsis = format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS);
    bool cut = false;
    if (ellipsis)
        for (TextLine& l : lines) {
            std::string shown = (ellipsis & DT_PATH_ELLIPSIS) ? PathEllipsis(l.text, font, width)
                                                              : EndEllipsis(l.text, font, width);
            if (shown != l.text) {
                l.text = shown;
                l.underlineIndex = -1;
                cut = true;
            }
        }
    if (cut && (format & DT_MODIFYSTRING) && lines.size() == 1 && lines[0].text.size() <= (size_t)length) {
        // The caller's text becomes what is shown. It is never made longer than it was: the buffer
        // may hold no more.
        char* out = const_cast<char*>(text);
        std::memcpy(out, lines[0].text.data(), lines[0].text.size());
        if (lines[0].text.size() < (size_t)length || textWasTerminated)
            out[lines[0].text.size()] = 0;
    }

    int textHeight = (int)lines.size() * lineHeight;
    if (format & DT_CALCRECT) {
        int maxWidth = 0;
        for (const TextLine& l : lines)
            maxWidth = std::max(maxWidth, Width(font, l.text));
        // Text broken to the width keeps the width.
        if (wrapped)
            maxWidth = std::max(maxWidth, width);
        rc->right = rc->left + maxWidth;
        rc->bottom = rc->top + (length > 0 ? dc->YSign() * textHeight : 0);
        return textHeight;
    }

    // Lines run down the device: against the logical y axis where the mapping turns it upwards.
    int down = dc->YSign();
    int y = rc->top;
    if (single && (format & DT_VCENTER))
        y = rc->top + down * ((std::abs(rc->bottom - rc->top) - lineHeight) / 2);
    else if (single && (format & DT_BOTTOM))
        y = rc->bottom - down * lineHeight;

    Region clip = dc->EffectiveClip();
    if (!(format & DT_NOCLIP))
        clip.Intersect(
            dc->DevRect(rc->left, rc->top, rc->right, rc->bottom));
    bool showPrefix = !(format & (DT_NOPREFIX | DT_HIDEPREFIX));
    int lineY = y;
    for (const TextLine& l : lines) {
        int w = TextWidth8(font, l.text.c_str(), (int)l.text.size());
        int x = rc->left;
        if (format & DT_CENTER)
            x = rc->left + (width - w) / 2;
        else if (format & DT_RIGHT)
            x = rc->right - w;
        int dx = dc->DevX(x), dy = dc->DevY(lineY);
        if (dc->m_state.bkMode == OPAQUE)
            FillBackground(*dc,
                           RECT{dx, dy, dx + (int)std::lround(w * dc->TextScaleX()),
                                dy + (int)std::lround(lineHeight * dc->TextScaleY())},
                           clip);
        int u0 = -1, u1 = -1;
        if (showPrefix && l.underlineIndex >= 0) {
            u0 = TextWidth8(font, l.text.c_str(), l.underlineIndex);
            u1 = TextWidth8(font, l.text.c_str(), l.underlineIndex + 1);
        }
        DrawGlyphs(*dc, font, dx, dy, TextToUtf8(l.text.c_str(), (int)l.text.size()), clip, u0, u1);
        lineY += down * lineHeight;
    }
    if (single && (format & (DT_VCENTER | DT_BOTTOM)))
        return std::abs(y - rc->top) + lineHeight;
    return textHeight;
}

// Fontconfig and Cairo keep their font caches for the life of the process, and so do the desktop
// libraries SDL loads for the display; the leak checker of the sanitizer builds is told so (one
// list for the process: the checker takes a single one).
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\nleak:libcairo\nleak:libfreetype\nleak:libSDL2\nleak:libX11\nleak:libxcb\n"
           "leak:libdbus-1\n";
}
