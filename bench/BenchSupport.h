// What the benchmarks that time a peer program beside themselves share.
#pragma once

#include <cerrno>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace benchsupport {
// The size in MB of a generated log: VELTRIN_BENCH_MB, else 1024.
inline long Megabytes() {
    const char* mb = std::getenv("VELTRIN_BENCH_MB");
    long n = mb ? std::atol(mb) : 1024;
    return n > 0 ? n : 1024;
}

// Runs a program without a shell and returns its exit code (-1 when it could not run). Its standard
// output goes through a pipe into *out (or is read and dropped): a peer writing to /dev/null may stop at
// its first match.
inline int RunProgram(const char* const argv[], std::string* out = nullptr) {
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    pid_t pid;
    int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    std::string text;
    char buf[4096];
    for (ssize_t n; rc == 0 && ((n = read(fds[0], buf, sizeof buf)) > 0 || (n < 0 && errno == EINTR));)
        if (n > 0)
            text.append(buf, (size_t)n);
    close(fds[0]);
    if (rc != 0)
        return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    if (out)
        *out = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
}  // namespace benchsupport
