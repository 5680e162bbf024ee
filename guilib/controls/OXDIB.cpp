#include "guilib/controls/OXDIB.h"

#include <cstring>
#include <vector>

#include "platform/user/Resources.h"

IMPLEMENT_SERIAL(COXDIB, CObject, 1)

namespace {

const uint64_t kMaxImageBytes = 256ull << 20;
const UINT kChunk = 16384;

uint32_t Le32(const BYTE* p) {
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}
uint16_t Le16(const BYTE* p) {
    return (uint16_t)(p[0] | (p[1] << 8));
}
void PutLe32(BYTE* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = (BYTE)(v >> (8 * i));
}

bool IsCore(const void* header) {
    DWORD size;
    std::memcpy(&size, header, 4);
    return size == sizeof(BITMAPCOREHEADER);
}

uint64_t RowSize(uint64_t bits, uint64_t width) {
    return ((bits * width + 31) / 32) * 4;
}

DWORD ColorsOf(const void* header) {
    if (IsCore(header)) {
        const auto* c = static_cast<const BITMAPCOREHEADER*>(header);
        return c->bcBitCount <= 8 ? 1u << c->bcBitCount : 0;
    }
    const auto* h = static_cast<const BITMAPINFOHEADER*>(header);
    if (h->biClrUsed)
        return h->biClrUsed;
    return h->biBitCount <= 8 ? 1u << h->biBitCount : 0;
}

DWORD TableBytesOf(const void* header) {
    if (IsCore(header))
        return ColorsOf(header) * 3;
    const auto* h = static_cast<const BITMAPINFOHEADER*>(header);
    return ColorsOf(header) * 4 + (h->biCompression == BI_BITFIELDS ? 12 : 0);
}

uint64_t ImageBytesOf(const void* header) {
    if (IsCore(header)) {
        const auto* c = static_cast<const BITMAPCOREHEADER*>(header);
        return RowSize(c->bcBitCount, c->bcWidth) * c->bcHeight;
    }
    const auto* h = static_cast<const BITMAPINFOHEADER*>(header);
    if (h->biCompression == BI_RLE8 || h->biCompression == BI_RLE4)
        return h->biSizeImage;
    return RowSize(h->biBitCount, (uint64_t)std::max<LONG>(h->biWidth, 0)) *
           (uint64_t)(h->biHeight < 0 ? -(int64_t)h->biHeight : h->biHeight);
}

DWORD HeaderBytesOf(const void* header) {
    return IsCore(header) ? sizeof(BITMAPCOREHEADER) : sizeof(BITMAPINFOHEADER);
}

// Whether a block holds its header, table and pixels whole.
bool BlockIsWhole(HGLOBAL block) {
    SIZE_T size = GlobalSize(block);
    const BYTE* p = static_cast<const BYTE*>(GlobalLock(block));
    if (!p)
        return false;
    bool whole = size >= 4 && size >= HeaderBytesOf(p) &&
                 (uint64_t)size >= HeaderBytesOf(p) + (uint64_t)TableBytesOf(p) + ImageBytesOf(p);
    GlobalUnlock(block);
    return whole;
}

bool ReadExactly(CArchive& ar, void* buffer, uint64_t count) {
    BYTE* p = static_cast<BYTE*>(buffer);
    while (count > 0) {
        UINT n = (UINT)std::min<uint64_t>(count, kChunk);
        if (ar.Read(p, n) != n)
            return false;
        p += n;
        count -= n;
    }
    return true;
}

bool Skip(CArchive& ar, uint64_t count) {
    BYTE scratch[1024];
    while (count > 0) {
        UINT n = (UINT)std::min<uint64_t>(count, sizeof(scratch));
        if (ar.Read(scratch, n) != n)
            return false;
        count -= n;
    }
    return true;
}

HPALETTE PaletteOf(const void* header) {
    DWORD colors = ColorsOf(header);
    if (colors == 0)
        return nullptr;
    colors = std::min<DWORD>(colors, 256);
    std::vector<BYTE> buffer(sizeof(LOGPALETTE) + colors * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(buffer.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = (WORD)colors;
    PALETTEENTRY* e = lp->palPalEntry;
    const BYTE* table = static_cast<const BYTE*>(header) + HeaderBytesOf(header);
    int step = IsCore(header) ? 3 : 4;
    for (DWORD i = 0; i < colors; ++i)
        e[i] = PALETTEENTRY{table[i * step + 2], table[i * step + 1], table[i * step], 0};
    return ::CreatePalette(lp);
}

// Fills a 40-byte header's colour table from a palette.
void FillTable(BYTE* block, CPalette* palette, UINT usage) {
    auto* h = reinterpret_cast<BITMAPINFOHEADER*>(block);
    if (h->biCompression == BI_BITFIELDS)
        return;
    HPALETTE pal = palette ? (HPALETTE)*palette : (HPALETTE)GetStockObject(DEFAULT_PALETTE);
    UINT entries = ::GetPaletteEntries(pal, 0, 0, nullptr);
    UINT n = std::min<UINT>({ColorsOf(block), entries, 256});
    std::vector<PALETTEENTRY> pe(n);
    if (n)
        ::GetPaletteEntries(pal, 0, n, pe.data());
    BYTE* table = block + sizeof(BITMAPINFOHEADER);
    for (UINT i = 0; i < n; ++i) {
        if (usage == DIB_PAL_COLORS) {
            WORD index = (WORD)i;
            std::memcpy(table + i * 2, &index, 2);
        } else {
            table[i * 4] = pe[i].peBlue;
            table[i * 4 + 1] = pe[i].peGreen;
            table[i * 4 + 2] = pe[i].peRed;
            table[i * 4 + 3] = 0;
        }
    }
}

}  // namespace

COXDIB::COXDIB() : m_hDIB(nullptr), m_pPalette(nullptr) {}

COXDIB::COXDIB(const COXDIB& other) : CObject(), m_hDIB(nullptr), m_pPalette(nullptr) {
    CopyFrom(other.m_hDIB);
}

COXDIB::~COXDIB() {
    Empty();
}

COXDIB& COXDIB::operator=(const COXDIB& other) {
    if (this != &other) {
        Empty();
        CopyFrom(other.m_hDIB);
    }
    return *this;
}

COXDIB& COXDIB::operator=(HGLOBAL dib) {
    if (!dib || dib == m_hDIB)
        return *this;
    const BYTE* p = static_cast<const BYTE*>(GlobalLock(dib));
    bool info = p && GlobalSize(dib) >= 4 && Le32(p) == sizeof(BITMAPINFOHEADER);
    if (p)
        GlobalUnlock(dib);
    if (!info || !BlockIsWhole(dib))
        return *this;
    Empty();
    CopyFrom(dib);
    return *this;
}

void COXDIB::CopyFrom(HGLOBAL block) {
    if (!block)
        return;
    SIZE_T size = GlobalSize(block);
    HGLOBAL copy = GlobalAlloc(GHND, size);
    const void* src = GlobalLock(block);
    void* dst = GlobalLock(copy);
    if (src && dst)
        std::memcpy(dst, src, size);
    GlobalUnlock(copy);
    GlobalUnlock(block);
    if (!src || !dst) {
        GlobalFree(copy);
        return;
    }
    m_hDIB = copy;
    CreatePalette();
}

void COXDIB::DeletePalette() {
    delete m_pPalette;
    m_pPalette = nullptr;
}

void COXDIB::Empty() {
    if (m_hDIB)
        GlobalFree(m_hDIB);
    m_hDIB = nullptr;
    DeletePalette();
}

SIZE COXDIB::GetSize() const {
    if (!m_hDIB)
        return SIZE{0, 0};
    const BYTE* p = static_cast<const BYTE*>(GlobalLock(m_hDIB));
    SIZE s{0, 0};
    if (IsCore(p)) {
        const auto* c = reinterpret_cast<const BITMAPCOREHEADER*>(p);
        s = SIZE{c->bcWidth, c->bcHeight};
    } else {
        const auto* h = reinterpret_cast<const BITMAPINFOHEADER*>(p);
        s = SIZE{h->biWidth, h->biHeight};
    }
    GlobalUnlock(m_hDIB);
    return s;
}

DWORD COXDIB::NumColors() const {
    if (!m_hDIB)
        return 0;
    DWORD n = ColorsOf(GlobalLock(m_hDIB));
    GlobalUnlock(m_hDIB);
    return n;
}

DWORD COXDIB::PaletteSize() const {
    if (!m_hDIB)
        return 0;
    DWORD n = TableBytesOf(GlobalLock(m_hDIB));
    GlobalUnlock(m_hDIB);
    return n;
}

LPSTR COXDIB::FindDIBBits() const {
    if (!m_hDIB)
        return nullptr;
    BYTE* p = static_cast<BYTE*>(GlobalLock(m_hDIB));
    LPSTR bits = reinterpret_cast<LPSTR>(p + HeaderBytesOf(p) + TableBytesOf(p));
    GlobalUnlock(m_hDIB);
    return bits;
}

BOOL COXDIB::Read(CArchive& ar) {
    Empty();
    BYTE file[14];
    if (!ReadExactly(ar, file, sizeof(file)) || file[0] != 'B' || file[1] != 'M')
        return FALSE;
    uint64_t offBits = Le32(file + 10);
    BYTE sizeBytes[4];
    if (!ReadExactly(ar, sizeBytes, 4))
        return FALSE;
    uint32_t headerSize = Le32(sizeBytes);
    uint64_t consumed = 14 + (uint64_t)headerSize;

    BITMAPINFOHEADER h{};
    h.biSize = sizeof(BITMAPINFOHEADER);
    bool core = headerSize == sizeof(BITMAPCOREHEADER);
    uint32_t masks[3] = {0, 0, 0};
    bool masksInHeader = false;
    if (core) {
        BYTE c[8];
        if (!ReadExactly(ar, c, sizeof(c)))
            return FALSE;
        h.biWidth = Le16(c);
        h.biHeight = Le16(c + 2);
        h.biPlanes = Le16(c + 4);
        h.biBitCount = Le16(c + 6);
        h.biCompression = BI_RGB;
    } else if (headerSize >= sizeof(BITMAPINFOHEADER) && headerSize <= 4096) {
        // Longer headers (108, 124 bytes) are read whole; the first 40 bytes are kept.
        std::vector<BYTE> rest(headerSize - 4);
        if (!ReadExactly(ar, rest.data(), rest.size()))
            return FALSE;
        const BYTE* r = rest.data();
        h.biWidth = (LONG)Le32(r);
        h.biHeight = (LONG)Le32(r + 4);
        h.biPlanes = Le16(r + 8);
        h.biBitCount = Le16(r + 10);
        h.biCompression = Le32(r + 12);
        h.biSizeImage = Le32(r + 16);
        h.biXPelsPerMeter = (LONG)Le32(r + 20);
        h.biYPelsPerMeter = (LONG)Le32(r + 24);
        h.biClrUsed = Le32(r + 28);
        h.biClrImportant = Le32(r + 32);
        if (headerSize >= 52) {
            for (int i = 0; i < 3; ++i)
                masks[i] = Le32(r + 36 + 4 * i);
            masksInHeader = true;
        }
    } else {
        return FALSE;
    }

    // What the image may be.
    WORD bits = h.biBitCount;
    bool bitsOk = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    bool compressionOk = h.biCompression == BI_RGB || (h.biCompression == BI_RLE8 && bits == 8) ||
                         (h.biCompression == BI_RLE4 && bits == 4) ||
                         (h.biCompression == BI_BITFIELDS && (bits == 16 || bits == 32));
    if (h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN || h.biPlanes == 0 || !bitsOk ||
        !compressionOk || h.biClrUsed > 256)
        return FALSE;
    bool rle = h.biCompression == BI_RLE8 || h.biCompression == BI_RLE4;
    bool topDown = h.biHeight < 0;
    if (topDown && rle)
        return FALSE;
    if (topDown)
        h.biHeight = -h.biHeight;
    uint64_t computed = RowSize(bits, (uint64_t)h.biWidth) * (uint64_t)h.biHeight;
    uint64_t image = rle && h.biSizeImage ? h.biSizeImage : computed;
    if (image > kMaxImageBytes || computed > kMaxImageBytes)
        return FALSE;
    h.biSizeImage = (DWORD)image;
    DWORD colors = core || (h.biClrUsed == 0 && bits <= 8) ? 1u << std::min<WORD>(bits, 8) : h.biClrUsed;
    if (core && bits > 8)
        colors = 0;
    if (bits <= 8 && h.biClrUsed == 0)
        h.biClrUsed = colors;
    bool bitfields = h.biCompression == BI_BITFIELDS;

    // Masks after a 40-byte header; then the colour table.
    if (bitfields && !masksInHeader) {
        BYTE m[12];
        if (!ReadExactly(ar, m, sizeof(m)))
            return FALSE;
        for (int i = 0; i < 3; ++i)
            masks[i] = Le32(m + 4 * i);
        consumed += 12;
    }
    int entry = core ? 3 : 4;
    std::vector<BYTE> table((size_t)colors * entry);
    if (!table.empty() && !ReadExactly(ar, table.data(), table.size()))
        return FALSE;
    consumed += table.size();
    if (offBits != 0) {
        if (offBits < consumed)
            return FALSE;
        if (!Skip(ar, offBits - consumed))
            return FALSE;
    }

    uint64_t tableBytes = (uint64_t)colors * 4 + (bitfields ? 12 : 0);
    uint64_t total = sizeof(BITMAPINFOHEADER) + tableBytes + image;
    HGLOBAL block = GlobalAlloc(GHND, (SIZE_T)total);
    BYTE* p = block ? static_cast<BYTE*>(GlobalLock(block)) : nullptr;
    if (!p) {
        if (block)
            GlobalFree(block);
        return FALSE;
    }
    std::memcpy(p, &h, sizeof(h));
    BYTE* t = p + sizeof(BITMAPINFOHEADER);
    if (bitfields) {
        std::memcpy(t, masks, sizeof(masks));
        t += 12;
    }
    for (DWORD i = 0; i < colors; ++i) {
        t[i * 4] = table[i * entry];
        t[i * 4 + 1] = table[i * entry + 1];
        t[i * 4 + 2] = table[i * entry + 2];
        t[i * 4 + 3] = 0;
    }
    BYTE* pixels = p + sizeof(BITMAPINFOHEADER) + tableBytes;
    if (!ReadExactly(ar, pixels, image)) {
        GlobalUnlock(block);
        GlobalFree(block);
        return FALSE;
    }
    if (topDown) {
        size_t row = (size_t)RowSize(bits, (uint64_t)h.biWidth);
        std::vector<BYTE> tmp(row);
        for (LONG y = 0; y < h.biHeight / 2; ++y) {
            BYTE* a = pixels + (size_t)y * row;
            BYTE* b = pixels + (size_t)(h.biHeight - 1 - y) * row;
            std::memcpy(tmp.data(), a, row);
            std::memcpy(a, b, row);
            std::memcpy(b, tmp.data(), row);
        }
    }
    GlobalUnlock(block);
    m_hDIB = block;
    CreatePalette();
    return TRUE;
}

BOOL COXDIB::Read(CFile* file) {
    if (!file)
        return FALSE;
    try {
        CArchive ar(file, CArchive::load, 4096);
        return Read(ar);
    } catch (CException* e) {
        e->Delete();
        Empty();
        return FALSE;
    }
}

BOOL COXDIB::Read(LPCTSTR path) {
    CFile file;
    if (!path || !file.Open(path, CFile::modeRead | CFile::shareDenyWrite))
        return FALSE;
    BOOL ok = Read(&file);
    if (!ok)
        file.Abort();
    return ok;
}

BOOL COXDIB::Write(CArchive& ar) {
    if (!m_hDIB)
        return FALSE;
    BYTE* p = static_cast<BYTE*>(GlobalLock(m_hDIB));
    if (!p || IsCore(p)) {
        GlobalUnlock(m_hDIB);
        return FALSE;
    }
    auto* h = reinterpret_cast<BITMAPINFOHEADER*>(p);
    uint64_t table = TableBytesOf(p);
    uint64_t image = ImageBytesOf(p);
    if (h->biCompression != BI_RLE8 && h->biCompression != BI_RLE4)
        h->biSizeImage = (DWORD)image;
    uint64_t block = sizeof(BITMAPINFOHEADER) + table + image;
    BYTE file[14] = {'B', 'M'};
    PutLe32(file + 2, (uint32_t)(14 + block));
    PutLe32(file + 10, (uint32_t)(14 + sizeof(BITMAPINFOHEADER) + table));
    try {
        ar.Write(file, sizeof(file));
        for (uint64_t done = 0; done < block;) {
            UINT n = (UINT)std::min<uint64_t>(block - done, kChunk);
            ar.Write(p + done, n);
            done += n;
        }
    } catch (...) {
        GlobalUnlock(m_hDIB);
        throw;
    }
    GlobalUnlock(m_hDIB);
    return TRUE;
}

void COXDIB::Serialize(CArchive& ar) {
    if (ar.IsStoring())
        Write(ar);
    else
        Read(ar);
}

BOOL COXDIB::LoadResource(LPCTSTR resourceName, HINSTANCE module) {
    HBITMAP bitmap = ::LoadBitmap(module, resourceName);
    if (!bitmap)
        return FALSE;
    HGLOBAL block = BitmapToDIB(bitmap, nullptr);
    ::DeleteObject(bitmap);
    if (!block)
        return FALSE;
    Empty();
    m_hDIB = block;
    CreatePalette();
    return TRUE;
}

HGLOBAL COXDIB::BitmapToDIB(HBITMAP bitmap, CPalette* palette) {
    BITMAP bm{};
    if (!bitmap || !::GetObject(bitmap, sizeof(bm), &bm))
        return nullptr;
    int bits = bm.bmPlanes * bm.bmBitsPixel;
    BITMAPINFOHEADER header;
    InitBitmapInfoHeader(&header, (DWORD)bm.bmWidth, (DWORD)bm.bmHeight, bits);
    uint64_t total = sizeof(header) + (uint64_t)TableBytesOf(&header) + ImageBytesOf(&header);
    if (ImageBytesOf(&header) > kMaxImageBytes)
        return nullptr;
    HGLOBAL block = GlobalAlloc(GHND, (SIZE_T)total);
    BYTE* p = block ? static_cast<BYTE*>(GlobalLock(block)) : nullptr;
    if (!p) {
        if (block)
            GlobalFree(block);
        return nullptr;
    }
    std::memcpy(p, &header, sizeof(header));
    HDC screen = ::GetDC(nullptr);
    HPALETTE old = palette ? ::SelectPalette(screen, *palette, FALSE) : nullptr;
    if (palette)
        ::RealizePalette(screen);
    int lines = ::GetDIBits(screen, bitmap, 0, (UINT)bm.bmHeight, p + sizeof(header) + TableBytesOf(&header),
                            reinterpret_cast<BITMAPINFO*>(p), DIB_RGB_COLORS);
    if (old)
        ::SelectPalette(screen, old, TRUE);
    ::ReleaseDC(nullptr, screen);
    if (lines == 0) {
        GlobalUnlock(block);
        GlobalFree(block);
        return nullptr;
    }
    if (palette)
        FillTable(p, palette, DIB_RGB_COLORS);
    GlobalUnlock(block);
    return block;
}

BOOL COXDIB::SetPaletteFromGdi(CPalette* palette, UINT usage) {
    if (!m_hDIB)
        return FALSE;
    BYTE* p = static_cast<BYTE*>(GlobalLock(m_hDIB));
    if (!p || IsCore(p)) {
        GlobalUnlock(m_hDIB);
        return FALSE;
    }
    FillTable(p, palette, usage);
    GlobalUnlock(m_hDIB);
    return TRUE;
}

BOOL COXDIB::CreatePalette() {
    DeletePalette();
    if (!m_hDIB)
        return FALSE;
    HPALETTE pal = PaletteOf(GlobalLock(m_hDIB));
    GlobalUnlock(m_hDIB);
    if (!pal)
        return TRUE;
    m_pPalette = new CPalette;
    m_pPalette->Attach(pal);
    return TRUE;
}

HPALETTE COXDIB::CreatePaletteFromHeader(const BITMAPINFOHEADER* header) {
    return header ? PaletteOf(header) : nullptr;
}

BOOL COXDIB::CreateHalftonePalette(CPalette& palette) {
    HDC screen = ::GetDC(nullptr);
    BOOL ok = FALSE;
    if (::GetDeviceCaps(screen, BITSPIXEL) * ::GetDeviceCaps(screen, PLANES) >= 8)
        ok = palette.Attach(::CreateHalftonePalette(screen));
    ::ReleaseDC(nullptr, screen);
    return ok;
}

void COXDIB::InitBitmapInfoHeader(BITMAPINFOHEADER* header, DWORD width, DWORD height, int bits) {
    std::memset(header, 0, sizeof(*header));
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = (LONG)width;
    header->biHeight = (LONG)height;
    header->biPlanes = 1;
    header->biBitCount = (WORD)(bits <= 1 ? 1 : bits <= 4 ? 4 : bits <= 8 ? 8 : 24);
    if (header->biBitCount == 4 || header->biBitCount == 8)
        header->biClrUsed = header->biBitCount == 4 ? 16 : 256;
    header->biSizeImage = (DWORD)(RowSize(header->biBitCount, width) * height);
}

int COXDIB::Paint(CDC* dc, const RECT& dest, const RECT& src) {
    if (!m_hDIB || !dc)
        return 0;
    HDC hdc = dc->GetSafeHdc();
    HPALETTE old = nullptr;
    if (m_pPalette) {
        old = ::SelectPalette(hdc, *m_pPalette, FALSE);
        ::RealizePalette(hdc);
    }
    ::SetStretchBltMode(hdc, COLORONCOLOR);
    BYTE* p = static_cast<BYTE*>(GlobalLock(m_hDIB));
    const auto* info = reinterpret_cast<const BITMAPINFO*>(p);
    const void* bits = p + HeaderBytesOf(p) + TableBytesOf(p);
    SIZE size = GetSize();
    int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
    int sw = src.right - src.left, sh = src.bottom - src.top;
    // Rows count from the image's bottom.
    int srcY = size.cy - src.top - sh;
    int result;
    if (dw == sw && dh == sh && ::GetMapMode(hdc) == MM_TEXT)
        result = ::SetDIBitsToDevice(hdc, dest.left, dest.top, (DWORD)std::max(sw, 0), (DWORD)std::max(sh, 0),
                                     src.left, srcY, 0, (UINT)size.cy, bits, info, DIB_RGB_COLORS);
    else
        result = ::StretchDIBits(hdc, dest.left, dest.top, dw, dh, src.left, srcY, sw, sh, bits, info,
                                 DIB_RGB_COLORS, SRCCOPY);
    GlobalUnlock(m_hDIB);
    if (old)
        ::SelectPalette(hdc, old, TRUE);
    return result;
}
