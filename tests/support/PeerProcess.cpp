#include "tests/support/PeerProcess.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

PeerProcess::PeerProcess(const std::string& program, std::vector<std::string> args, std::vector<std::string> extraEnv) {
    int fds[2];
    if (pipe(fds) != 0)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        env.emplace_back(*e);
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char*> envp, argv;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0)
        m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    m_out = fds[0];
}

PeerProcess::~PeerProcess() {
    Kill();
    if (m_out >= 0)
        close(m_out);
}

std::string PeerProcess::Line() {
    std::string line;
    for (;;) {
        pollfd p{m_out, POLLIN, 0};
        if (poll(&p, 1, 10000) <= 0)
            return "";
        char c;
        if (read(m_out, &c, 1) != 1)
            return "";
        if (c == '\n')
            return line;
        line += c;
    }
}

std::vector<std::string> PeerProcess::Until(const std::string& wanted) {
    std::vector<std::string> lines;
    for (std::string line = Line(); !line.empty(); line = Line()) {
        lines.push_back(line);
        if (line == wanted)
            return lines;
    }
    return {};
}

bool PeerProcess::Ended() {
    int status = 0;
    bool ok = m_pid > 0 && waitpid(m_pid, &status, 0) == m_pid && WIFEXITED(status);
    m_pid = -1;
    return ok;
}

void PeerProcess::Kill() {
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
    m_pid = -1;
}
