#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "platform/base/ToolHelp.h"

TEST(ToolHelp, ProcessSnapshotHoldsThisProcessWithItsParentAndProgram) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    ASSERT_NE(snapshot, INVALID_HANDLE_VALUE);
    PROCESSENTRY32 entry{};
    EXPECT_FALSE(Process32First(snapshot, &entry));  // dwSize not set
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_BAD_LENGTH);

    entry.dwSize = sizeof entry;
    int count = 0;
    bool foundSelf = false;
    for (BOOL ok = Process32First(snapshot, &entry); ok; ok = Process32Next(snapshot, &entry)) {
        ++count;
        if (entry.th32ProcessID != (DWORD)::getpid())
            continue;
        foundSelf = true;
        EXPECT_EQ(entry.th32ParentProcessID, (DWORD)::getppid());
        EXPECT_STREQ(entry.szExeFile, "platform_base_tests");
        EXPECT_GE(entry.cntThreads, 1u);
    }
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_NO_MORE_FILES);
    EXPECT_TRUE(foundSelf);
    EXPECT_GE(count, 2);  // this process and its parent at least
    EXPECT_TRUE(CloseHandle(snapshot));
}

TEST(ToolHelp, ModuleSnapshotGivesTheProgramFile) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, 0);
    ASSERT_NE(snapshot, INVALID_HANDLE_VALUE);
    MODULEENTRY32 module{};
    module.dwSize = sizeof module;
    ASSERT_TRUE(Module32First(snapshot, &module));
    EXPECT_STREQ(module.szModule, "platform_base_tests");
    EXPECT_EQ(std::string(module.szExePath), std::filesystem::read_symlink("/proc/self/exe").string());
    EXPECT_EQ(module.th32ProcessID, (DWORD)::getpid());
    EXPECT_FALSE(Module32Next(snapshot, &module));
    CloseHandle(snapshot);

    // No such process (beyond any process id the kernel gives).
    EXPECT_EQ(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, 0x7FFFFFF0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
    // A snapshot handle is not a process: nothing to wait for.
    snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    EXPECT_EQ(WaitForSingleObject(snapshot, 0), WAIT_FAILED);
    CloseHandle(snapshot);
}
