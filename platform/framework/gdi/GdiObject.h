// CGdiObject and its kinds: pens, brushes, fonts, bitmaps, regions and palettes owning their handles.
// FromHandle gives the object attached to a handle, or a temporary one that the thread drops at its next
// idle time (DeleteTempMap) without deleting the handle.
#pragma once

#include "platform/base/Object.h"
#include "platform/gdi/Gdi.h"

class CDC;

class CGdiObject : public CObject {
    DECLARE_DYNAMIC(CGdiObject)
public:
    CGdiObject() = default;
    ~CGdiObject() override;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject = nullptr;
    operator HGDIOBJ() const { return m_hObject; }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }

    static CGdiObject* FromHandle(HGDIOBJ handle);
    static void DeleteTempMap();
    BOOL Attach(HGDIOBJ handle);
    HGDIOBJ Detach();
    // Deletes the handle (a stock object is only let go).
    BOOL DeleteObject();
    int GetObject(int size, LPVOID buffer) const { return ::GetObject(m_hObject, size, buffer); }
    UINT GetObjectType() const { return (UINT)::GetObjectType(m_hObject); }
    BOOL CreateStockObject(int index);
    BOOL UnrealizeObject() { return m_hObject != nullptr; }

protected:
    // Temporary objects are made as the kind the handle is.
    static CGdiObject* MakeTemporary(HGDIOBJ handle);
};

class CPen : public CGdiObject {
    DECLARE_DYNAMIC(CPen)
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    static CPen* FromHandle(HPEN pen) { return static_cast<CPen*>(CGdiObject::FromHandle(pen)); }
    operator HPEN() const { return (HPEN)m_hObject; }
    BOOL CreatePen(int style, int width, COLORREF color) { return Attach(::CreatePen(style, width, color)); }
    BOOL CreatePenIndirect(LOGPEN* pen) { return Attach(::CreatePenIndirect(pen)); }
    int GetLogPen(LOGPEN* pen) { return GetObject(sizeof(LOGPEN), pen); }
};

class CBitmap;

class CBrush : public CGdiObject {
    DECLARE_DYNAMIC(CBrush)
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    CBrush(int hatch, COLORREF color) { CreateHatchBrush(hatch, color); }
    explicit CBrush(CBitmap* bitmap);
    static CBrush* FromHandle(HBRUSH brush) { return static_cast<CBrush*>(CGdiObject::FromHandle(brush)); }
    operator HBRUSH() const { return (HBRUSH)m_hObject; }
    BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
    BOOL CreateHatchBrush(int hatch, COLORREF color) { return Attach(::CreateHatchBrush(hatch, color)); }
    BOOL CreateBrushIndirect(const LOGBRUSH* brush) { return Attach(::CreateBrushIndirect(brush)); }
    BOOL CreatePatternBrush(CBitmap* bitmap);
    // A solid brush of the system colour.
    BOOL CreateSysColorBrush(int index) { return CreateSolidBrush(::GetSysColor(index)); }
    int GetLogBrush(LOGBRUSH* brush) { return GetObject(sizeof(LOGBRUSH), brush); }
};

class CFont : public CGdiObject {
    DECLARE_DYNAMIC(CFont)
public:
    static CFont* FromHandle(HFONT font) { return static_cast<CFont*>(CGdiObject::FromHandle(font)); }
    operator HFONT() const { return (HFONT)m_hObject; }
    BOOL CreateFontIndirect(const LOGFONT* font) { return Attach(::CreateFontIndirect(font)); }
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                    BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                    BYTE pitchAndFamily, LPCTSTR face) {
        return Attach(::CreateFont(height, width, escapement, orientation, weight, italic, underline, strikeOut,
                                   charSet, outPrecision, clipPrecision, quality, pitchAndFamily, face));
    }
    // A font of `pointSize` tenths of a point for the DC (the screen when none).
    BOOL CreatePointFont(int pointSize, LPCTSTR face, CDC* dc = nullptr);
    BOOL CreatePointFontIndirect(const LOGFONT* font, CDC* dc = nullptr);
    int GetLogFont(LOGFONT* font) { return GetObject(sizeof(LOGFONT), font); }
};

class CBitmap : public CGdiObject {
    DECLARE_DYNAMIC(CBitmap)
public:
    static CBitmap* FromHandle(HBITMAP bitmap) { return static_cast<CBitmap*>(CGdiObject::FromHandle(bitmap)); }
    operator HBITMAP() const { return (HBITMAP)m_hObject; }
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
        return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
    }
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    int GetBitmap(BITMAP* bitmap) { return GetObject(sizeof(BITMAP), bitmap); }
};

class CRgn : public CGdiObject {
    DECLARE_DYNAMIC(CRgn)
public:
    static CRgn* FromHandle(HRGN rgn) { return static_cast<CRgn*>(CGdiObject::FromHandle(rgn)); }
    operator HRGN() const { return (HRGN)m_hObject; }
    BOOL CreateRectRgn(int left, int top, int right, int bottom) {
        return Attach(::CreateRectRgn(left, top, right, bottom));
    }
    BOOL CreateRectRgnIndirect(LPCRECT rc) { return Attach(::CreateRectRgnIndirect(rc)); }
    int CombineRgn(const CRgn* a, const CRgn* b, int mode) {
        return ::CombineRgn((HRGN)m_hObject, a ? (HRGN)a->m_hObject : nullptr, b ? (HRGN)b->m_hObject : nullptr,
                            mode);
    }
    int CopyRgn(const CRgn* source) { return CombineRgn(source, nullptr, RGN_COPY); }
    void SetRectRgn(int left, int top, int right, int bottom) {
        ::SetRectRgn((HRGN)m_hObject, left, top, right, bottom);
    }
    void SetRectRgn(LPCRECT rc) { SetRectRgn(rc->left, rc->top, rc->right, rc->bottom); }
    int GetRgnBox(LPRECT rc) const { return ::GetRgnBox((HRGN)m_hObject, rc); }
    BOOL PtInRegion(int x, int y) const { return ::PtInRegion((HRGN)m_hObject, x, y); }
    BOOL PtInRegion(POINT p) const { return PtInRegion(p.x, p.y); }
    int OffsetRgn(int dx, int dy) { return ::OffsetRgn((HRGN)m_hObject, dx, dy); }
};

class CPalette : public CGdiObject {
    DECLARE_DYNAMIC(CPalette)
public:
    static CPalette* FromHandle(HPALETTE palette) {
        return static_cast<CPalette*>(CGdiObject::FromHandle(palette));
    }
    operator HPALETTE() const { return (HPALETTE)m_hObject; }
    BOOL CreatePalette(const LOGPALETTE* palette) { return Attach(::CreatePalette(palette)); }
    UINT GetEntryCount() const { return ::GetPaletteEntries((HPALETTE)m_hObject, 0, 0, nullptr); }
    UINT GetPaletteEntries(UINT start, UINT count, PALETTEENTRY* entries) const {
        return ::GetPaletteEntries((HPALETTE)m_hObject, start, count, entries);
    }
    UINT SetPaletteEntries(UINT start, UINT count, const PALETTEENTRY* entries) {
        return ::SetPaletteEntries((HPALETTE)m_hObject, start, count, entries);
    }
    UINT GetNearestPaletteIndex(COLORREF color) const {
        return ::GetNearestPaletteIndex((HPALETTE)m_hObject, color);
    }
};
