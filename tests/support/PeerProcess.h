// Another program started by a test, its standard output on a pipe; lines are read with a time limit.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

class PeerProcess {
public:
    // Starts `program` with `args` (argv[0] included) and the test's environment plus `extraEnv`.
    PeerProcess(const std::string& program, std::vector<std::string> args, std::vector<std::string> extraEnv = {});
    ~PeerProcess();
    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;

    pid_t Pid() const { return m_pid; }
    // The next line, or "" after 10 seconds or at the end of the output.
    std::string Line();
    // Lines until one equal to `wanted` (included); empty when it never comes.
    std::vector<std::string> Until(const std::string& wanted);
    // Waits for it: true when it exited normally.
    bool Ended();
    void Kill();

private:
    pid_t m_pid = -1;
    int m_out = -1;
};
