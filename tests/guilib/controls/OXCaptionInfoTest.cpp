// The caption settings record: its archived bytes without fonts, fonts recreated from their
// description, a long face name cut, and a damaged archive.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "guilib/controls/OXCaptionInfo.h"
#include "platform/base/MemFile.h"

namespace {
std::string Store(COXCaptionInfo& info) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        info.Serialize(ar);
        ar.Close();
    }
    std::string bytes((size_t)file.GetLength(), '\0');
    file.SeekToBegin();
    file.Read(bytes.data(), (UINT)bytes.size());
    return bytes;
}

void Load(COXCaptionInfo& info, const std::string& bytes) {
    CMemFile file(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    info.Serialize(ar);
}

std::string U32(uint32_t v) {
    return std::string(reinterpret_cast<const char*>(&v), 4);
}
}  // namespace

TEST(CaptionInfo, WithoutFontsSevenValuesAndTwoZeros) {
    COXCaptionInfo info;
    EXPECT_EQ(Store(info), U32(0xFFFFFFFF) + U32(1) + U32(0) + U32(1) + U32(0x8024) + U32(0xFFFFFFFF) + U32(64) +
                               U32(0) + U32(0));
    info.m_clrBackground = RGB(1, 2, 3);
    info.m_nNumberShade = 16;
    std::string bytes = Store(info);
    COXCaptionInfo back;
    Load(back, bytes);
    EXPECT_EQ(back.m_clrBackground, RGB(1, 2, 3));
    EXPECT_EQ(back.m_nNumberShade, 16);
    EXPECT_EQ(back.m_pTextFont, nullptr);
}

TEST(CaptionInfo, FontsRoundTripAndLongFaceIsCut) {
    COXCaptionInfo info;
    LOGFONT lf{};
    lf.lfHeight = -13;
    lf.lfWeight = 700;
    lf.lfItalic = 1;
    lf.lfCharSet = 1;
    lf.lfPitchAndFamily = FIXED_PITCH;
    std::strcpy(lf.lfFaceName, "Courier New");
    info.m_pTextFont = new CFont;
    ASSERT_TRUE(info.m_pTextFont->CreateFontIndirect(&lf));
    std::string bytes = Store(info);
    // Flag, five values, eight bytes, the face.
    EXPECT_EQ(bytes.substr(28, 4 + 20 + 8), U32(1) + U32((uint32_t)-13) + U32(0) + U32(0) + U32(0) + U32(700) +
                                                std::string("\x01\x00\x00\x01\x00\x00\x00\x01", 8));
    EXPECT_EQ(bytes.substr(60), std::string("\x0B") + "Courier New" + U32(0));
    COXCaptionInfo back;
    Load(back, bytes);
    ASSERT_TRUE(back.m_pTextFont);
    LOGFONT got{};
    back.m_pTextFont->GetLogFont(&got);
    EXPECT_EQ(got.lfHeight, -13);
    EXPECT_EQ(got.lfWeight, 700);
    EXPECT_EQ(got.lfItalic, 1);
    EXPECT_STREQ(got.lfFaceName, "Courier New");
    EXPECT_EQ(back.m_pSmallTextFont, nullptr);

    // A stored face of 40 characters comes back as its first 31.
    std::string face(40, 'F');
    std::string longFace = bytes.substr(0, 60) + std::string(1, (char)40) + face + U32(0);
    Load(back, longFace);
    ASSERT_TRUE(back.m_pTextFont);
    back.m_pTextFont->GetLogFont(&got);
    EXPECT_EQ(std::string(got.lfFaceName), std::string(31, 'F'));

    // A short archive throws and the record keeps no half-read font.
    try {
        Load(back, bytes.substr(0, 40));
        FAIL();
    } catch (CArchiveException* e) {
        EXPECT_EQ(e->m_cause, CArchiveException::endOfFile);
        e->Delete();
    }
    info.Reset();
    EXPECT_EQ(info.m_pTextFont, nullptr);
}
