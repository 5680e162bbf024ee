// CDC and the DCs of a window: CPaintDC (BeginPaint/EndPaint), CClientDC (GetDC), CWindowDC
// (GetWindowDC). FromHandle gives the CDC attached to a handle, or a temporary one dropped at the thread's
// next idle time (DeleteTempMap) without deleting the handle.
#pragma once

#include "platform/base/String.h"
#include "platform/framework/gdi/GdiObject.h"
#include "platform/user/Controls.h"

class CWnd;

class CDC : public CObject {
    DECLARE_DYNAMIC(CDC)
public:
    CDC() = default;
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;
    HDC m_hAttribDC = nullptr;
    BOOL m_bPrinting = FALSE;
    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }
    static CDC* FromHandle(HDC dc);
    static void DeleteTempMap();
    BOOL Attach(HDC dc);
    HDC Detach();
    BOOL CreateCompatibleDC(CDC* dc);
    BOOL DeleteDC();
    BOOL IsPrinting() const { return m_bPrinting; }
    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }

    // Objects: the object selected before comes back (temporary when the program never wrapped it).
    CPen* SelectObject(CPen* pen) { return static_cast<CPen*>(Select(pen)); }
    CBrush* SelectObject(CBrush* brush) { return static_cast<CBrush*>(Select(brush)); }
    CFont* SelectObject(CFont* font) { return static_cast<CFont*>(Select(font)); }
    CBitmap* SelectObject(CBitmap* bitmap) { return static_cast<CBitmap*>(Select(bitmap)); }
    CGdiObject* SelectObject(CGdiObject* object) { return Select(object); }
    int SelectObject(CRgn* rgn) { return ::SelectClipRgn(m_hDC, rgn ? (HRGN)rgn->m_hObject : nullptr); }
    HGDIOBJ SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
    CGdiObject* SelectStockObject(int index);
    CPalette* SelectPalette(CPalette* palette, BOOL forceBackground);
    UINT RealizePalette() { return ::RealizePalette(m_hDC); }
    CPen* GetCurrentPen() const { return CPen::FromHandle((HPEN)::GetCurrentObject(m_hDC, OBJ_PEN)); }
    CBrush* GetCurrentBrush() const { return CBrush::FromHandle((HBRUSH)::GetCurrentObject(m_hDC, OBJ_BRUSH)); }
    CFont* GetCurrentFont() const { return CFont::FromHandle((HFONT)::GetCurrentObject(m_hDC, OBJ_FONT)); }
    CBitmap* GetCurrentBitmap() const {
        return CBitmap::FromHandle((HBITMAP)::GetCurrentObject(m_hDC, OBJ_BITMAP));
    }

    // Attributes.
    COLORREF SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
    COLORREF GetTextColor() const { return ::GetTextColor(m_hDC); }
    COLORREF SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
    COLORREF GetBkColor() const { return ::GetBkColor(m_hDC); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    int GetBkMode() const { return ::GetBkMode(m_hDC); }
    int SetROP2(int rop) { return ::SetROP2(m_hDC, rop); }
    UINT SetTextAlign(UINT align) { return ::SetTextAlign(m_hDC, align); }
    int SetStretchBltMode(int mode) { return ::SetStretchBltMode(m_hDC, mode); }
    int GetStretchBltMode() const { return ::GetStretchBltMode(m_hDC); }
    POINT SetBrushOrg(int x, int y) {
        POINT old{};
        ::SetBrushOrgEx(m_hDC, x, y, &old);
        return old;
    }

    // Mapping.
    int SetMapMode(int mode) { return ::SetMapMode(m_hDC, mode); }
    int GetMapMode() const { return ::GetMapMode(m_hDC); }
    POINT SetViewportOrg(int x, int y) { return Pt(::SetViewportOrgEx, x, y); }
    POINT SetViewportOrg(POINT p) { return SetViewportOrg(p.x, p.y); }
    POINT OffsetViewportOrg(int dx, int dy) { return Pt(::OffsetViewportOrgEx, dx, dy); }
    POINT GetViewportOrg() const {
        POINT p{};
        ::GetViewportOrgEx(m_hDC, &p);
        return p;
    }
    POINT SetWindowOrg(int x, int y) { return Pt(::SetWindowOrgEx, x, y); }
    POINT SetWindowOrg(POINT p) { return SetWindowOrg(p.x, p.y); }
    POINT OffsetWindowOrg(int dx, int dy) { return Pt(::OffsetWindowOrgEx, dx, dy); }
    POINT GetWindowOrg() const {
        POINT p{};
        ::GetWindowOrgEx(m_hDC, &p);
        return p;
    }
    SIZE SetViewportExt(int x, int y) { return Sz(::SetViewportExtEx, x, y); }
    SIZE SetViewportExt(SIZE s) { return SetViewportExt(s.cx, s.cy); }
    SIZE SetWindowExt(int x, int y) { return Sz(::SetWindowExtEx, x, y); }
    SIZE SetWindowExt(SIZE s) { return SetWindowExt(s.cx, s.cy); }
    SIZE GetViewportExt() const {
        SIZE s{};
        ::GetViewportExtEx(m_hDC, &s);
        return s;
    }
    SIZE GetWindowExt() const {
        SIZE s{};
        ::GetWindowExtEx(m_hDC, &s);
        return s;
    }
    SIZE ScaleViewportExt(int xNum, int xDenom, int yNum, int yDenom);
    SIZE ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom);
    void LPtoDP(LPPOINT points, int count = 1) const { ::LPtoDP(m_hDC, points, count); }
    void LPtoDP(LPRECT rc) const { ::LPtoDP(m_hDC, reinterpret_cast<LPPOINT>(rc), 2); }
    void LPtoDP(LPSIZE size) const;
    void DPtoLP(LPPOINT points, int count = 1) const { ::DPtoLP(m_hDC, points, count); }
    void DPtoLP(LPRECT rc) const { ::DPtoLP(m_hDC, reinterpret_cast<LPPOINT>(rc), 2); }
    void DPtoLP(LPSIZE size) const;

    // Clipping.
    int GetClipBox(LPRECT rc) const { return ::GetClipBox(m_hDC, rc); }
    int IntersectClipRect(int l, int t, int r, int b) { return ::IntersectClipRect(m_hDC, l, t, r, b); }
    int IntersectClipRect(LPCRECT rc) { return IntersectClipRect(rc->left, rc->top, rc->right, rc->bottom); }
    int ExcludeClipRect(int l, int t, int r, int b) { return ::ExcludeClipRect(m_hDC, l, t, r, b); }
    int ExcludeClipRect(LPCRECT rc) { return ExcludeClipRect(rc->left, rc->top, rc->right, rc->bottom); }
    int SelectClipRgn(CRgn* rgn) { return ::SelectClipRgn(m_hDC, rgn ? (HRGN)rgn->m_hObject : nullptr); }
    BOOL PtVisible(int x, int y) const { return ::PtVisible(m_hDC, x, y); }
    BOOL RectVisible(LPCRECT rc) const { return ::RectVisible(m_hDC, rc); }

    // Drawing.
    POINT MoveTo(int x, int y) {
        POINT old{};
        ::MoveToEx(m_hDC, x, y, &old);
        return old;
    }
    POINT MoveTo(POINT p) { return MoveTo(p.x, p.y); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
    POINT GetCurrentPosition() const {
        POINT p{};
        ::GetCurrentPositionEx(m_hDC, &p);
        return p;
    }
    BOOL Polyline(const POINT* points, int count) { return ::Polyline(m_hDC, points, count); }
    BOOL Polygon(const POINT* points, int count) { return ::Polygon(m_hDC, points, count); }
    BOOL Ellipse(int l, int t, int r, int b) { return ::Ellipse(m_hDC, l, t, r, b); }
    BOOL Ellipse(LPCRECT rc) { return Ellipse(rc->left, rc->top, rc->right, rc->bottom); }
    BOOL Arc(int l, int t, int r, int b, int x1, int y1, int x2, int y2) {
        return ::Arc(m_hDC, l, t, r, b, x1, y1, x2, y2);
    }
    BOOL Arc(LPCRECT rc, POINT start, POINT end) {
        return Arc(rc->left, rc->top, rc->right, rc->bottom, start.x, start.y, end.x, end.y);
    }
    BOOL Rectangle(int l, int t, int r, int b) { return ::Rectangle(m_hDC, l, t, r, b); }
    BOOL Rectangle(LPCRECT rc) { return Rectangle(rc->left, rc->top, rc->right, rc->bottom); }
    void FillRect(LPCRECT rc, CBrush* brush) { ::FillRect(m_hDC, rc, brush ? (HBRUSH)brush->m_hObject : nullptr); }
    void FrameRect(LPCRECT rc, CBrush* brush) { ::FrameRect(m_hDC, rc, brush ? (HBRUSH)brush->m_hObject : nullptr); }
    void InvertRect(LPCRECT rc) { ::InvertRect(m_hDC, rc); }
    // A solid rectangle in the colour; like the framework's, it leaves the colour as the background colour.
    void FillSolidRect(LPCRECT rc, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    void Draw3dRect(LPCRECT rc, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
    BOOL DrawEdge(LPRECT rc, UINT edge, UINT flags) { return ::DrawEdge(m_hDC, rc, edge, flags); }
    void DrawFocusRect(LPCRECT rc) { ::DrawFocusRect(m_hDC, rc); }
    BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }
    COLORREF SetPixel(int x, int y, COLORREF color) { return ::SetPixel(m_hDC, x, y, color); }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    BOOL PatBlt(int x, int y, int w, int h, DWORD rop) { return ::PatBlt(m_hDC, x, y, w, h, rop); }
    BOOL BitBlt(int x, int y, int w, int h, CDC* src, int sx, int sy, DWORD rop) {
        return ::BitBlt(m_hDC, x, y, w, h, src ? src->m_hDC : nullptr, sx, sy, rop);
    }
    BOOL StretchBlt(int x, int y, int w, int h, CDC* src, int sx, int sy, int sw, int sh, DWORD rop) {
        return ::StretchBlt(m_hDC, x, y, w, h, src ? src->m_hDC : nullptr, sx, sy, sw, sh, rop);
    }

    // Text.
    BOOL TextOut(int x, int y, LPCTSTR text, int length) { return ::TextOut(m_hDC, x, y, text, length); }
    BOOL TextOut(int x, int y, const CString& text) { return TextOut(x, y, text, text.GetLength()); }
    BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rc, LPCTSTR text, UINT length, const INT* dx) {
        return ::ExtTextOut(m_hDC, x, y, options, rc, text, length, dx);
    }
    BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rc, const CString& text, const INT* dx) {
        return ExtTextOut(x, y, options, rc, text, (UINT)text.GetLength(), dx);
    }
    int DrawText(LPCTSTR text, int length, LPRECT rc, UINT format) {
        return ::DrawText(m_hDC, text, length, rc, format);
    }
    int DrawText(const CString& text, LPRECT rc, UINT format) {
        return DrawText(text, text.GetLength(), rc, format);
    }
    SIZE GetTextExtent(LPCTSTR text, int length) const;
    SIZE GetTextExtent(const CString& text) const { return GetTextExtent(text, text.GetLength()); }
    SIZE GetOutputTextExtent(const CString& text) const { return GetTextExtent(text); }
    BOOL GetTextMetrics(LPTEXTMETRIC tm) const { return ::GetTextMetrics(m_hDC, tm); }
    int GetTextFace(int count, LPTSTR face) const { return ::GetTextFace(m_hDC, count, face); }
    int GetTextFace(CString& face) const;

    // Frame controls, states, gradients and drag frames.
    BOOL DrawFrameControl(LPRECT rc, UINT type, UINT state) { return ::DrawFrameControl(m_hDC, rc, type, state); }
    BOOL DrawState(POINT pt, SIZE size, HICON icon, UINT flags, HBRUSH brush = nullptr) {
        return ::DrawState(m_hDC, brush, nullptr, (LPARAM)icon, 0, pt.x, pt.y, size.cx, size.cy, flags | DST_ICON);
    }
    BOOL DrawState(POINT pt, SIZE size, HICON icon, UINT flags, CBrush* brush) {
        return DrawState(pt, size, icon, flags, brush ? (HBRUSH)brush->m_hObject : nullptr);
    }
    BOOL DrawState(POINT pt, SIZE size, HBITMAP bitmap, UINT flags, HBRUSH brush = nullptr) {
        return ::DrawState(m_hDC, brush, nullptr, (LPARAM)bitmap, 0, pt.x, pt.y, size.cx, size.cy, flags | DST_BITMAP);
    }
    BOOL DrawState(POINT pt, SIZE size, CBitmap* bitmap, UINT flags, CBrush* brush = nullptr) {
        return DrawState(pt, size, bitmap ? (HBITMAP)bitmap->m_hObject : nullptr, flags,
                         brush ? (HBRUSH)brush->m_hObject : nullptr);
    }
    BOOL DrawState(POINT pt, SIZE size, LPCTSTR text, UINT flags, BOOL prefixText = TRUE, int length = 0,
                   HBRUSH brush = nullptr) {
        return ::DrawState(m_hDC, brush, nullptr, (LPARAM)text, (WPARAM)length, pt.x, pt.y, size.cx, size.cy,
                           flags | (prefixText ? DST_PREFIXTEXT : DST_TEXT));
    }
    BOOL DrawState(POINT pt, SIZE size, LPCTSTR text, UINT flags, BOOL prefixText, int length, CBrush* brush) {
        return DrawState(pt, size, text, flags, prefixText, length, brush ? (HBRUSH)brush->m_hObject : nullptr);
    }
    BOOL SetPixelV(int x, int y, COLORREF color) { return ::SetPixelV(m_hDC, x, y, color); }
    BOOL GradientFill(const TRIVERTEX* vertices, ULONG count, const void* mesh, ULONG meshCount, ULONG mode) {
        return ::GradientFill(m_hDC, vertices, count, mesh, meshCount, mode);
    }
    // The 2 x 2 checker of black and white that drag frames are inverted through.
    static CBrush* GetHalftoneBrush();
    // Moves a drag frame: the frame of `last` (thickness `sizeLast`) is inverted away, the frame of `rc`
    // (thickness `size`) inverted in, each through its brush (null: the halftone brush).
    void DrawDragRect(LPCRECT rc, SIZE size, LPCRECT last, SIZE sizeLast, CBrush* brush = nullptr,
                      CBrush* brushLast = nullptr);

protected:
    CGdiObject* Select(CGdiObject* object);
    POINT Pt(BOOL (*f)(HDC, int, int, LPPOINT), int x, int y) {
        POINT old{};
        f(m_hDC, x, y, &old);
        return old;
    }
    SIZE Sz(BOOL (*f)(HDC, int, int, LPSIZE), int x, int y) {
        SIZE old{};
        f(m_hDC, x, y, &old);
        return old;
    }
};

class CPaintDC : public CDC {
    DECLARE_DYNAMIC(CPaintDC)
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps{};

protected:
    HWND m_hWnd = nullptr;
};

class CClientDC : public CDC {
    DECLARE_DYNAMIC(CClientDC)
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd = nullptr;
};

class CWindowDC : public CDC {
    DECLARE_DYNAMIC(CWindowDC)
public:
    explicit CWindowDC(CWnd* wnd);
    ~CWindowDC() override;

protected:
    HWND m_hWnd = nullptr;
};
