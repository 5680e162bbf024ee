// Printer DCs: the paper and orientation of the device mode, ResetDC between pages, and documents that
// are kept, aborted or refused.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/gdi/Printing.h"

namespace {
std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

SIZE Resolution(HDC dc) {
    return SIZE{GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES)};
}

TEST(PrinterTest, TheDeviceModeGivesPaperAndOrientationAndResetDCChangesThem) {
    DEVMODE mode{};
    InitDevMode(mode, "Office");
    mode.dmPaperSize = DMPAPER_A4;
    HDC dc = CreateDC("lp", "Office", nullptr, &mode);
    ASSERT_NE(dc, nullptr);
    EXPECT_TRUE(IsPrinterDC(dc));
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), PRINTER_DPI);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), PRINTER_DPI);
    EXPECT_EQ(Resolution(dc).cx, 2480);  // 210 mm at 300 dpi
    EXPECT_EQ(Resolution(dc).cy, 3507);
    EXPECT_EQ(GetDeviceCaps(dc, HORZSIZE), 209);

    DEVMODE landscape{};
    InitDevMode(landscape, "Office");
    landscape.dmFields = DM_ORIENTATION;  // only the orientation changes; the paper stays A4
    landscape.dmOrientation = DMORIENT_LANDSCAPE;
    EXPECT_EQ(ResetDC(dc, &landscape), dc);
    EXPECT_EQ(Resolution(dc).cx, 3507);
    EXPECT_EQ(Resolution(dc).cy, 2480);
    DeleteDC(dc);
}

TEST(PrinterTest, UnknownDriversAndShortDeviceModesAreRefusedOrIgnored) {
    EXPECT_EQ(CreateDC("winspool", "Office", nullptr, nullptr), nullptr);
    EXPECT_EQ(CreateDC("lp", "", nullptr, nullptr), nullptr);  // lp needs a destination
    DEVMODE mode{};
    InitDevMode(mode, "Office");
    mode.dmOrientation = DMORIENT_LANDSCAPE;
    mode.dmSize = offsetof(DEVMODE, dmFormName);  // an older, shorter block: the defaults instead
    HDC dc = CreateDC("lp", "Office", nullptr, &mode);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(Resolution(dc).cx, 2550);  // Letter portrait
    EXPECT_EQ(ResetDC(dc, &mode), nullptr);
    EXPECT_EQ(Resolution(dc).cx, 2550);
    DeleteDC(dc);
    EXPECT_FALSE(IsPrinterDC(nullptr));
}

TEST(PrinterTest, APdfDocumentIsKeptWhereAskedAndAnAbortedOneIsNot) {
    std::string folder = (std::filesystem::temp_directory_path() / "printer-XXXXXX").string();
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    auto tmp = [&](const char* name) { return folder + "/" + name; };
    std::string kept = tmp("kept.pdf");
    HDC dc = CreateDC("PDF", "PDF file", kept.c_str(), nullptr);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(StartPage(dc), SP_ERROR);  // no document yet
    DOCINFO doc{sizeof(DOCINFO), "Report", nullptr, nullptr, 0};
    ASSERT_GT(StartDoc(dc, &doc), 0);
    ASSERT_GT(StartPage(dc), 0);
    ASSERT_GT(EndPage(dc), 0);
    ASSERT_GT(EndDoc(dc), 0);
    EXPECT_EQ(ReadAll(tmp("kept.pdf")).substr(0, 5), "%PDF-");

    std::string aborted = tmp("aborted.pdf"), missing = tmp("missing/x.pdf");
    DOCINFO other{sizeof(DOCINFO), "Report", aborted.c_str(), nullptr, 0};
    ASSERT_GT(StartDoc(dc, &other), 0);
    StartPage(dc);
    EXPECT_GT(AbortDoc(dc), 0);
    EXPECT_EQ(ReadAll(tmp("aborted.pdf")), "");
    // A file that cannot be written fails the start.
    DOCINFO nowhere{sizeof(DOCINFO), "Report", missing.c_str(), nullptr, 0};
    EXPECT_EQ(StartDoc(dc, &nowhere), SP_ERROR);
    DeleteDC(dc);
    std::filesystem::remove_all(folder);
}
}  // namespace
