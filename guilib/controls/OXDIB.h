// One device-independent bitmap in a single movable block of global memory (a packed DIB: a 40-byte
// info header, or a 12-byte core header when one was assigned from outside; the colour table; the rows,
// each padded to 4 bytes, bottom row first) with the palette that belongs to it. Reads .bmp data from a
// file, an archive or a bitmap resource, takes a bitmap apart into a DIB, writes itself back as .bmp,
// and paints itself.
//
// File data is untrusted: headers of 40 bytes and more (108, 124) are read whole and kept as 40 bytes;
// BI_BITFIELDS masks become a three-entry table (and no palette); the pixel offset of the file header
// is honoured; an image without width or planes, with more than 256 colours or more than 256 MiB of
// pixels is refused; a top-down image (negative height) is kept bottom-up. A refused or short read
// leaves the object empty.
#pragma once

#include "platform/base/Archive.h"
#include "platform/base/File.h"
#include "platform/base/GlobalMemory.h"
#include "platform/base/Object.h"
#include "platform/framework/gdi/DC.h"
#include "platform/framework/gdi/GdiObject.h"

class COXDIB : public CObject {
    DECLARE_SERIAL(COXDIB)

public:
    COXDIB();
    COXDIB(const COXDIB& other);
    ~COXDIB() override;
    COXDIB& operator=(const COXDIB& other);
    // Takes a copy of a packed DIB that starts with a 40-byte header (others are ignored).
    COXDIB& operator=(HGLOBAL dib);

    void Empty();
    BOOL IsEmpty() const { return m_hDIB == nullptr; }
    // Width and height, 0 x 0 when empty.
    SIZE GetSize() const;
    DWORD NumColors() const;
    // Bytes of the colour table (with BI_BITFIELDS: the three masks).
    DWORD PaletteSize() const;
    // The first pixel row, or null when empty.
    LPSTR FindDIBBits() const;
    CPalette* GetPalette() const { return m_pPalette; }
    HGLOBAL GetHandle() const { return m_hDIB; }

    BOOL Read(CArchive& ar);
    // A file exception while reading gives FALSE.
    BOOL Read(CFile* file);
    BOOL Read(LPCTSTR path);
    // Only a 40-byte header is written; a file exception passes to the caller.
    BOOL Write(CArchive& ar);
    void Serialize(CArchive& ar) override;

    // A bitmap resource by id (MAKEINTRESOURCE), through BitmapToDIB.
    BOOL LoadResource(LPCTSTR resourceName, HINSTANCE module = nullptr);
    // A new packed DIB (40-byte header; 1, 4, 8 or 24 bits) of the bitmap's pixels, or null; with a
    // palette its colour table comes from it. The caller owns the block.
    HGLOBAL BitmapToDIB(HBITMAP bitmap, CPalette* palette = nullptr);
    // Fills the colour table from at most 256 palette entries (usage 1: the indices 0, 1, 2... as 16-bit
    // values); a bitmap with BI_BITFIELDS masks is left alone.
    BOOL SetPaletteFromGdi(CPalette* palette = nullptr, UINT usage = DIB_RGB_COLORS);
    // The palette of the colour table (none without colours).
    BOOL CreatePalette();
    static HPALETTE CreatePaletteFromHeader(const BITMAPINFOHEADER* header);
    // A halftone palette of the screen when it shows 256 colours or more.
    static BOOL CreateHalftonePalette(CPalette& palette);
    static void InitBitmapInfoHeader(BITMAPINFOHEADER* header, DWORD width, DWORD height, int bits);

    // Paints the source rectangle (y from the image's top) into the destination: unscaled when both have
    // the same size and the map mode is MM_TEXT, stretched otherwise. The platform's answer; 0 when
    // empty.
    int Paint(CDC* dc, const RECT& dest, const RECT& src);

protected:
    HGLOBAL m_hDIB;
    CPalette* m_pPalette;

private:
    void CopyFrom(HGLOBAL block);
    void DeletePalette();
};
