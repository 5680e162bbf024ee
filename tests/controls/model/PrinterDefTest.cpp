#include <gtest/gtest.h>

#include <vector>

#include "controls/model/PrinterDef.h"
#include "platform/base/Archive.h"
#include "platform/base/MemFile.h"

namespace {
std::vector<BYTE> Store(CPrinterDef& def) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        def.Serialize(ar);
        ar.Close();
    }
    std::vector<BYTE> bytes((size_t)file.GetLength());
    file.SeekToBegin();
    file.Read(bytes.data(), (UINT)bytes.size());
    return bytes;
}

void Load(CPrinterDef& def, std::vector<BYTE> bytes) {
    CMemFile file(bytes.data(), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    def.Serialize(ar);
}
}  // namespace

TEST(PrinterDefTest, NoBlocksAreTwoZeroSizes) {
    CPrinterDef def;
    EXPECT_EQ(Store(def), std::vector<BYTE>(8, 0));
}

TEST(PrinterDefTest, BlocksRoundTripWithTheirSizesFirst) {
    CPrinterDef def;
    def.m_devNames = {1, 2, 3};
    def.m_devMode = {9, 8, 7, 6, 5};
    std::vector<BYTE> bytes = Store(def);
    EXPECT_EQ(bytes, (std::vector<BYTE>{3, 0, 0, 0, 1, 2, 3, 5, 0, 0, 0, 9, 8, 7, 6, 5}));
    CPrinterDef back;
    Load(back, bytes);
    EXPECT_EQ(back.m_devNames, def.m_devNames);
    EXPECT_EQ(back.m_devMode, def.m_devMode);
}

// A stored size is bounded by the bytes there: a short or damaged archive throws at its end and the
// definition keeps what it had.
TEST(PrinterDefTest, AShortArchiveThrowsAndLeavesTheDefinitionAsItWas) {
    const std::vector<std::vector<BYTE>> damaged = {
        {},                                   // nothing at all
        {3, 0, 0, 0, 1, 2},                   // names cut short
        {1, 0, 0, 0, 7, 4, 0, 0, 0, 1},       // mode cut short
        {0xF0, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4}, // a size of about 4 GB over 4 bytes
    };
    for (const auto& bytes : damaged) {
        SCOPED_TRACE(bytes.size());
        CPrinterDef def;
        def.m_devNames = {5};
        def.m_devMode = {6, 6};
        try {
            Load(def, bytes);
            ADD_FAILURE() << "no exception";
        } catch (CArchiveException* e) {
            EXPECT_EQ(e->m_cause, CArchiveException::endOfFile);
            e->Delete();
        }
        EXPECT_EQ(def.m_devNames, std::vector<BYTE>{5});
        EXPECT_EQ(def.m_devMode, (std::vector<BYTE>{6, 6}));
    }
}
