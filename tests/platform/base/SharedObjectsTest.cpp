// Named mutexes and mappings across real processes: a forked child holds them, then ends or is killed.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "platform/base/SharedObjects.h"

namespace {
std::string UniqueName(const char* what) {
    return std::string("Global\\VeltrinTest_") + what + "_" + std::to_string(getpid());
}

// A child that runs `work`, tells the parent through a pipe, then waits to be killed.
template <class F>
pid_t HoldInChild(F work) {
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        work();
        char ok = 1;
        if (write(fds[1], &ok, 1) != 1)
            _exit(2);
        for (;;)
            pause();
    }
    close(fds[1]);
    char ok = 0;
    if (read(fds[0], &ok, 1) != 1)
        ok = 0;
    close(fds[0]);
    return ok ? pid : -1;
}

void Kill(pid_t pid) {
    kill(pid, SIGKILL);
    int status;
    waitpid(pid, &status, 0);
}

TEST(SharedObjectsTest, AMutexHeldByAKilledProcessGoesToTheNextWaiterAsAbandoned) {
    std::string name = UniqueName("mutex");
    pid_t child = HoldInChild([&] {
        HANDLE m = CreateMutex(nullptr, TRUE, name.c_str());
        if (!m)
            _exit(3);
    });
    ASSERT_GT(child, 0);
    HANDLE mine = CreateMutex(nullptr, FALSE, name.c_str());
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_ALREADY_EXISTS);
    EXPECT_EQ(WaitForSingleObject(mine, 0), WAIT_TIMEOUT) << "the child owns it";
    EXPECT_FALSE(ReleaseMutex(mine));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_NOT_OWNER);
    Kill(child);
    EXPECT_EQ(WaitForSingleObject(mine, INFINITE), WAIT_ABANDONED);
    // Owned now, recursively, until released as often as taken.
    EXPECT_EQ(WaitForSingleObject(mine, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(ReleaseMutex(mine));
    EXPECT_TRUE(ReleaseMutex(mine));
    EXPECT_FALSE(ReleaseMutex(mine));
    HANDLE other = OpenMutex(SYNCHRONIZE, FALSE, name.c_str());
    ASSERT_NE(other, nullptr);
    CloseHandle(other);
    CloseHandle(mine);
    EXPECT_EQ(OpenMutex(SYNCHRONIZE, FALSE, name.c_str()), nullptr) << "gone with its last handle";
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_FILE_NOT_FOUND);
}

TEST(SharedObjectsTest, AMappingLivesWhileAnyProcessHoldsIt) {
    std::string name = UniqueName("map");
    SYSTEM_INFO si;
    GetSystemInfo(&si);
    ASSERT_EQ(si.dwAllocationGranularity, 65536u);
    pid_t child = HoldInChild([&] {
        HANDLE m = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 2 * 65536, name.c_str());
        if (!m || GetLastError() == ERROR_ALREADY_EXISTS)
            _exit(3);
        auto* p = static_cast<char*>(MapViewOfFile(m, FILE_MAP_ALL_ACCESS, 0, 65536, 16));
        if (!p)
            _exit(4);
        std::strcpy(p, "from the child");
    });
    ASSERT_GT(child, 0);
    HANDLE m = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, name.c_str());
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_ALREADY_EXISTS);
    auto* view = static_cast<char*>(MapViewOfFile(m, FILE_MAP_READ, 0, 0, 0));
    ASSERT_NE(view, nullptr);
    EXPECT_STREQ(view + 65536, "from the child") << "the existing size and contents";
    EXPECT_EQ(MapViewOfFile(m, FILE_MAP_READ, 0, 100, 16), nullptr) << "offsets are whole granules";
    EXPECT_TRUE(UnmapViewOfFile(view));
    EXPECT_FALSE(UnmapViewOfFile(view));
    Kill(child);
    HANDLE opened = OpenFileMapping(FILE_MAP_READ, FALSE, name.c_str());
    ASSERT_NE(opened, nullptr) << "this process still holds it";
    CloseHandle(opened);
    CloseHandle(m);
    EXPECT_EQ(OpenFileMapping(FILE_MAP_READ, FALSE, name.c_str()), nullptr);
    // Made anew, it starts empty.
    m = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 2 * 65536, name.c_str());
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_SUCCESS);
    view = static_cast<char*>(MapViewOfFile(m, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view[65536], 0);
    UnmapViewOfFile(view);
    CloseHandle(m);
    EXPECT_EQ(CreateFileMapping((HANDLE)1, nullptr, PAGE_READWRITE, 0, 10, nullptr), nullptr);
}

TEST(SharedObjectsTest, CMutexLocksAndUnlocks) {
    CMutex mutex(FALSE, UniqueName("cmutex").c_str());
    ASSERT_NE(mutex.m_hObject, nullptr);
    EXPECT_TRUE(mutex.Lock(0));
    EXPECT_TRUE(mutex.Unlock());
    EXPECT_FALSE(mutex.Unlock());
}
}  // namespace
