#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "guilib/controls/OXDIB.h"
#include "platform/base/MemFile.h"
#include "tests/support/TempFolder.h"

namespace {

struct Bytes {
    std::string b;
    Bytes& u8(int v) {
        b += (char)(v & 0xFF);
        return *this;
    }
    Bytes& u16(int v) { return u8(v).u8(v >> 8); }
    Bytes& u32(uint32_t v) { return u16((int)(v & 0xFFFF)).u16((int)(v >> 16)); }
    Bytes& raw(const std::string& s) {
        b += s;
        return *this;
    }
};

// A .bmp file: file header, then `rest` (header, table, pixels); the pixel offset as given.
std::string File(const std::string& rest, uint32_t offBits) {
    Bytes f;
    f.raw("BM").u32((uint32_t)(14 + rest.size())).u16(0).u16(0).u32(offBits);
    return f.b + rest;
}

// A 40-byte info header.
Bytes Info(int32_t width, int32_t height, int bits, uint32_t compression = 0, uint32_t clrUsed = 0,
           int planes = 1, uint32_t sizeImage = 0) {
    Bytes h;
    h.u32(40).u32((uint32_t)width).u32((uint32_t)height).u16(planes).u16(bits).u32(compression).u32(sizeImage);
    h.u32(0).u32(0).u32(clrUsed).u32(0);
    return h;
}

// Two rows of three 24-bit pixels (bottom row first, each padded to 12 bytes).
std::string Rgb24Rows() {
    Bytes p;
    // Bottom row: blue, green, red.
    p.u8(255).u8(0).u8(0).u8(0).u8(255).u8(0).u8(0).u8(0).u8(255).u8(0).u8(0).u8(0);
    // Top row: white, black, grey.
    p.u8(255).u8(255).u8(255).u8(0).u8(0).u8(0).u8(128).u8(128).u8(128).u8(0).u8(0).u8(0);
    return p.b;
}

bool ReadBytes(COXDIB& dib, const std::string& bytes) {
    std::vector<BYTE> buffer(bytes.begin(), bytes.end());
    CMemFile file(buffer.data(), (UINT)buffer.size());
    return dib.Read(&file);
}

std::string WriteBytes(COXDIB& dib) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        EXPECT_TRUE(dib.Write(ar));
        ar.Close();
    }
    ULONGLONG n = file.GetLength();
    BYTE* data = file.Detach();
    std::string out(reinterpret_cast<char*>(data), (size_t)n);
    free(data);
    return out;
}

uint32_t Le32(const std::string& s, size_t at) {
    return (uint32_t)(BYTE)s[at] | ((uint32_t)(BYTE)s[at + 1] << 8) | ((uint32_t)(BYTE)s[at + 2] << 16) |
           ((uint32_t)(BYTE)s[at + 3] << 24);
}

class DibCanvas : public ::testing::Test {
protected:
    void SetUp() override {
        HDC mem = CreateCompatibleDC(nullptr);
        dc.Attach(mem);
        bmp = CreateCompatibleBitmap(mem, 20, 20);
        old = SelectObject(mem, bmp);
        RECT all{0, 0, 20, 20};
        FillRect(mem, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    }
    void TearDown() override {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc.Detach());
    }
    CDC dc;
    HBITMAP bmp;
    HGDIOBJ old;
};

TEST(Dib, Os2BitmapIsKeptWithAnInfoHeaderAndWritesBackWhole) {
    Bytes rest;
    rest.u32(12).u16(4).u16(2).u16(1).u16(4);
    for (int i = 0; i < 16; ++i)
        rest.u8(i).u8(i * 2).u8(i * 3);  // blue, green, red
    rest.u32(0x01234567).u32(0x89ABCDEF);
    COXDIB dib;
    ASSERT_TRUE(ReadBytes(dib, File(rest.b, 14 + 12 + 48)));
    EXPECT_EQ(dib.GetSize().cx, 4);
    EXPECT_EQ(dib.GetSize().cy, 2);
    EXPECT_EQ(dib.NumColors(), 16u);
    EXPECT_EQ(dib.PaletteSize(), 64u);
    ASSERT_NE(dib.GetPalette(), nullptr);
    PALETTEENTRY e{};
    dib.GetPalette()->GetPaletteEntries(5, 1, &e);
    EXPECT_EQ(e.peRed, 15);
    EXPECT_EQ(e.peGreen, 10);
    EXPECT_EQ(e.peBlue, 5);

    std::string out = WriteBytes(dib);
    ASSERT_EQ(out.size(), 126u);
    EXPECT_EQ(out.substr(0, 2), "BM");
    EXPECT_EQ(Le32(out, 2), 126u);
    EXPECT_EQ(Le32(out, 10), 118u);
    EXPECT_EQ(Le32(out, 14), 40u);
    EXPECT_EQ(Le32(out, 14 + 40 + 5 * 4), 0x000F0A05u);  // entries widened to four bytes
    EXPECT_EQ(Le32(out, 118), 0x01234567u);
}

TEST_F(DibCanvas, TwentyFourBitImagePaintsPixelForPixelOrStretched) {
    COXDIB dib;
    ASSERT_TRUE(ReadBytes(dib, File(Info(3, 2, 24).b + Rgb24Rows(), 54)));
    EXPECT_EQ(dib.GetPalette(), nullptr);
    EXPECT_EQ(dib.PaletteSize(), 0u);

    RECT src{0, 0, 3, 2}, dest{4, 5, 7, 7};
    EXPECT_GT(dib.Paint(&dc, dest, src), 0);
    EXPECT_EQ(dc.GetPixel(4, 5), RGB(255, 255, 255));
    EXPECT_EQ(dc.GetPixel(5, 5), RGB(0, 0, 0));
    EXPECT_EQ(dc.GetPixel(6, 5), RGB(128, 128, 128));
    EXPECT_EQ(dc.GetPixel(4, 6), RGB(0, 0, 255));
    EXPECT_EQ(dc.GetPixel(6, 6), RGB(255, 0, 0));
    EXPECT_EQ(dc.GetPixel(7, 5), RGB(255, 255, 255));

    // Twice the size: each pixel covers two by two.
    RECT big{10, 10, 16, 14};
    EXPECT_GT(dib.Paint(&dc, big, src), 0);
    EXPECT_EQ(dc.GetPixel(11, 11), RGB(255, 255, 255));
    EXPECT_EQ(dc.GetPixel(15, 13), RGB(255, 0, 0));

    // A part of the image: its bottom-right pixel alone.
    RECT one{2, 1, 3, 2}, at{0, 0, 1, 1};
    EXPECT_GT(dib.Paint(&dc, at, one), 0);
    EXPECT_EQ(dc.GetPixel(0, 0), RGB(255, 0, 0));

    // Another map mode stretches even at equal size, to the same pixels at scale one.
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(1, 1);
    dc.SetViewportExt(1, 1);
    RECT dest2{14, 1, 17, 3};
    EXPECT_GT(dib.Paint(&dc, dest2, src), 0);
    EXPECT_EQ(dc.GetPixel(14, 1), RGB(255, 255, 255));
    EXPECT_EQ(dc.GetPixel(16, 2), RGB(255, 0, 0));
}

TEST_F(DibCanvas, BitfieldsWithALongHeaderAndATopDownImage) {
    // 124-byte header, 32 bits, masks red 0xFF, green 0xFF00, blue 0xFF0000; two rows, top first.
    Bytes h;
    h.u32(124).u32(2).u32((uint32_t)-2).u16(1).u16(32).u32(3).u32(0).u32(0).u32(0).u32(0).u32(0);
    h.u32(0x000000FF).u32(0x0000FF00).u32(0x00FF0000).u32(0);
    while (h.b.size() < 124)
        h.u8(0);
    Bytes px;
    px.u32(0x00332211).u32(0x00000000);  // top row
    px.u32(0x00FFFFFF).u32(0x000000FF);  // bottom row
    COXDIB dib;
    ASSERT_TRUE(ReadBytes(dib, File(h.b + px.b, 14 + 124)));
    EXPECT_EQ(dib.GetSize().cy, 2);
    EXPECT_EQ(dib.NumColors(), 0u);
    EXPECT_EQ(dib.PaletteSize(), 12u);
    EXPECT_EQ(dib.GetPalette(), nullptr);
    RECT src{0, 0, 2, 2}, dest{0, 0, 2, 2};
    EXPECT_GT(dib.Paint(&dc, dest, src), 0);
    EXPECT_EQ(dc.GetPixel(0, 0), RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(dc.GetPixel(1, 1), RGB(255, 0, 0));
    EXPECT_EQ(dc.GetPixel(0, 1), RGB(255, 255, 255));
}

TEST(Dib, DamagedOrOutsizedFilesAreRefusedAndLeaveTheObjectEmpty) {
    const std::string pixels = Rgb24Rows();
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"truncated pixels", File(Info(3, 2, 24).b + pixels.substr(0, 20), 54)},
        {"not BM", "XY" + File(Info(3, 2, 24).b + pixels, 54).substr(2)},
        {"width 0", File(Info(0, 2, 24).b + pixels, 54)},
        {"planes 0", File(Info(3, 2, 24, 0, 0, 0).b + pixels, 54)},
        {"257 colours", File(Info(3, 2, 8, 0, 257).b + pixels, 54)},
        {"colour count 0x7FFFFFFF", File(Info(3, 2, 8, 0, 0x7FFFFFFF).b + pixels, 54)},
        {"image over 256 MiB", File(Info(100000, 100000, 24).b + pixels, 54)},
        {"pixel offset inside the header", File(Info(3, 2, 24).b + pixels, 20)},
        {"header of 20 bytes", File(Bytes().u32(20).u32(3).u32(2).u32(0x00180001).u32(0).b + pixels, 34)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        COXDIB dib;
        ASSERT_TRUE(ReadBytes(dib, File(Info(3, 2, 24).b + pixels, 54)));
        EXPECT_FALSE(ReadBytes(dib, c.bytes));
        EXPECT_TRUE(dib.IsEmpty());
        EXPECT_EQ(dib.GetPalette(), nullptr);
    }
}

TEST_F(DibCanvas, PixelOffsetIsHonouredAndEmptyObjectsPaintNothing) {
    // Eight bytes of padding between the header and the pixels.
    COXDIB dib;
    ASSERT_TRUE(ReadBytes(dib, File(Info(3, 2, 24).b + std::string(8, '\x7F') + Rgb24Rows(), 62)));
    RECT src{0, 0, 3, 2}, dest{0, 0, 3, 2};
    dib.Paint(&dc, dest, src);
    EXPECT_EQ(dc.GetPixel(0, 1), RGB(0, 0, 255));

    COXDIB empty;
    EXPECT_EQ(empty.Paint(&dc, dest, src), 0);
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    EXPECT_FALSE(empty.Write(ar));
}

TEST(Dib, CopiesAndFilesAndBitmaps) {
    TempFolder folder;
    std::string path = folder / "image.bmp";
    {
        FILE* f = fopen(path.c_str(), "wb");
        std::string bytes = File(Info(3, 2, 24).b + Rgb24Rows(), 54);
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
    COXDIB dib;
    ASSERT_TRUE(dib.Read(path.c_str()));
    EXPECT_FALSE(COXDIB().Read((folder / "missing.bmp").c_str()));

    COXDIB copy(dib);
    EXPECT_NE(copy.GetHandle(), dib.GetHandle());
    EXPECT_EQ(copy.GetSize().cx, 3);
    copy = copy;
    EXPECT_EQ(copy.GetSize().cx, 3);

    // A bitmap taken apart: 24 bits, the same pixels.
    HBITMAP bitmap = CreateBitmap(2, 1, 1, 32, nullptr);
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, bitmap);
    SetPixel(mem, 0, 0, RGB(10, 20, 30));
    SetPixel(mem, 1, 0, RGB(40, 50, 60));
    SelectObject(mem, old);
    DeleteDC(mem);
    COXDIB fromBitmap;
    HGLOBAL block = fromBitmap.BitmapToDIB(bitmap);
    ASSERT_NE(block, nullptr);
    fromBitmap = block;
    GlobalFree(block);
    DeleteObject(bitmap);
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(GlobalLock(fromBitmap.GetHandle()));
    EXPECT_EQ(header->biBitCount, 24);
    GlobalUnlock(fromBitmap.GetHandle());
    const BYTE* bits = reinterpret_cast<const BYTE*>(fromBitmap.FindDIBBits());
    EXPECT_EQ(bits[0], 30);
    EXPECT_EQ(bits[2], 10);
    EXPECT_EQ(bits[5], 40);
}

}  // namespace
