// The registry value file: loading, writing back on close, flush or destruction, a value of the wrong
// type, and a write that fails.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "guilib/frame/OXRegistryValFile.h"
#include "tests/support/TempRegistry.h"

namespace {
constexpr const char* kKey = "Software\\Test\\ValFile";

std::vector<BYTE> ReadBinary(const char* name, DWORD* type = nullptr) {
    HKEY key = nullptr;
    std::vector<BYTE> bytes;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return bytes;
    DWORD size = 0, t = 0;
    if (RegQueryValueEx(key, name, nullptr, &t, nullptr, &size) == ERROR_SUCCESS) {
        bytes.resize(size);
        RegQueryValueEx(key, name, nullptr, &t, bytes.data(), &size);
    }
    if (type)
        *type = t;
    RegCloseKey(key);
    return bytes;
}

int FileCause(const std::function<void()>& action) {
    try {
        action();
    } catch (CFileException* e) {
        int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return -1;
}
}  // namespace

TEST(RegistryValFile, MissingValueStartsEmptyAndCloseWritesBinary) {
    TempRegistry registry;
    COXRegistryValFile file(HKEY_CURRENT_USER, kKey, "Blob");
    EXPECT_EQ(file.GetLength(), 0u);
    const BYTE ten[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    file.Write(ten, 10);
    file.Close();
    DWORD type = 0;
    EXPECT_EQ(ReadBinary("Blob", &type), std::vector<BYTE>(ten, ten + 10));
    EXPECT_EQ(type, (DWORD)REG_BINARY);

    // Opened again, the bytes are read from the start; a destructor without Close writes them back.
    {
        COXRegistryValFile again(HKEY_CURRENT_USER, kKey, "Blob");
        BYTE buffer[16] = {0};
        EXPECT_EQ(again.Read(buffer, 16), 10u);
        EXPECT_EQ(buffer[9], 10);
        again.Write("xy", 2);
    }
    EXPECT_EQ(ReadBinary("Blob").size(), 12u);
}

TEST(RegistryValFile, WrongTypeAndNullNameAreRefused) {
    TempRegistry registry;
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueEx(key, "Text", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 4);
    RegCloseKey(key);
    try {
        COXRegistryValFile file(HKEY_CURRENT_USER, kKey, "Text");
        FAIL() << "a string value opened as a file";
    } catch (CFileException* e) {
        EXPECT_EQ(e->m_cause, CFileException::accessDenied);
        EXPECT_EQ(e->m_strFileName, CString(kKey));
        e->Delete();
    }
    COXRegistryValFile file(HKEY_CURRENT_USER, kKey, "Other");
    try {
        file.SetFilePath(nullptr);
        FAIL() << "a null name accepted";
    } catch (CInvalidArgException* e) {
        e->Delete();
    }
    file.SetFilePath("Other");
    EXPECT_EQ(file.GetFilePath(), CString("Other"));
}

TEST(RegistryValFile, FailedWriteThrowsFromFlushAndCloseButNotFromTheDestructor) {
    TempRegistry registry;
    auto file = std::make_unique<COXRegistryValFile>(HKEY_CURRENT_USER, kKey, "Blob");
    file->Write("abc", 3);
    // The registry cannot put its temporary file in place: every write fails.
    std::filesystem::create_directories(registry.Path() + ".tmp");
    EXPECT_NE(FileCause([&] { file->Flush(); }), -1);
    EXPECT_NE(FileCause([&] { file->Close(); }), -1);
    auto other = std::make_unique<COXRegistryValFile>(HKEY_CURRENT_USER, kKey, "Blob2");
    other->Write("abc", 3);
    EXPECT_NO_THROW(other.reset());
    std::filesystem::remove(registry.Path() + ".tmp");
    EXPECT_TRUE(ReadBinary("Blob").empty());
}
