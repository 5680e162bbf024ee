// The folder and file records: their archived bytes and a damaged archive.
#include <gtest/gtest.h>

#include <string>

#include "guilib/frame/OXDirSpec.h"
#include "guilib/frame/OXFileSpec.h"
#include "platform/base/MemFile.h"

namespace {
std::string Store(const CObject* object) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << object;
        ar.Close();
    }
    std::string bytes((size_t)file.GetLength(), '\0');
    file.SeekToBegin();
    file.Read(bytes.data(), (UINT)bytes.size());
    return bytes;
}

template <class T>
T* Load(const std::string& bytes) {
    CMemFile file(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    CObject* object = nullptr;
    ar >> object;
    return dynamic_cast<T*>(object);
}

std::string Header(const std::string& name) {
    std::string h = {'\xFF', '\xFF', 0, 0, (char)name.size(), 0};
    return h + name;
}
}  // namespace

TEST(Specs, DirAndFileSpecsArchiveAsTheirFieldsAndComeBack) {
    COXDirSpec dir;
    dir.m_sDrive = "c:";
    dir.m_sDirectory = "\\logs";
    EXPECT_EQ(Store(&dir), Header("COXDirSpec") + std::string("\x02" "c:" "\x05" "\\logs"));

    COXFileSpec record;
    record.m_sFileName = "a.log";
    record.m_time = CTime((time_t)0x0102030405LL);
    record.m_nLength = 0x11223344;
    record.m_nAttribute = 0x20;
    std::string expected = Header("COXFileSpec") + std::string("\x05" "a.log") +
                           std::string("\x05\x04\x03\x02\x01\x00\x00\x00", 8) + "\x44\x33\x22\x11" + "\x20";
    std::string bytes = Store(&record);
    EXPECT_EQ(bytes, expected);
    std::unique_ptr<COXFileSpec> back(Load<COXFileSpec>(bytes));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->m_sFileName, CString("a.log"));
    EXPECT_EQ(back->m_time.GetTime(), (time_t)0x0102030405LL);
    EXPECT_EQ(back->m_nLength, 0x11223344);
    EXPECT_EQ(back->m_nAttribute, 0x20);
    std::unique_ptr<COXDirSpec> dirBack(Load<COXDirSpec>(Store(&dir)));
    ASSERT_TRUE(dirBack);
    EXPECT_EQ(dirBack->m_sDirectory, CString("\\logs"));
}

TEST(Specs, ShortArchiveThrowsEndOfFile) {
    COXFileSpec record;
    record.m_sFileName = "a.log";
    std::string bytes = Store(&record);
    for (size_t cut : {bytes.size() - 1, bytes.size() - 5, (size_t)3}) {
        try {
            delete Load<COXFileSpec>(bytes.substr(0, cut));
            ADD_FAILURE() << "read past the end at " << cut;
        } catch (CArchiveException* e) {
            EXPECT_EQ(e->m_cause, CArchiveException::endOfFile);
            e->Delete();
        }
    }
}
