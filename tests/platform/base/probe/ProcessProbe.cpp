// Test helper: writes down how it was started, then waits and exits as its environment says.
//   VELTRIN_PROBE_OUT   file to write the records to: its program path, the command line, the start-up
//                       title and show command, each argument, and each inherited descriptor
//                       other than the standard streams
//   VELTRIN_PROBE_FIFO  a named pipe to read until its writer closes it, before exiting
//   VELTRIN_PROBE_EXIT  the exit code (default 0)
// Each record is "<name> <length> <bytes>\n", so any bytes come back exactly.
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/base/Process.h"
#include "platform/base/ToolHelp.h"

namespace {
void Record(std::string& out, const char* name, const std::string& value) {
    out += name;
    out += ' ' + std::to_string(value.size()) + ' ' + value + '\n';
}
}  // namespace

int main(int argc, char** argv) {
    if (const char* outPath = std::getenv("VELTRIN_PROBE_OUT")) {
        std::string out;
        Record(out, "exe", GetProcessProgramPath(0));
        Record(out, "cmdline", GetCommandLine());
        Record(out, "handed", CommandLineWasHandedOver() ? "yes" : "no");
        Record(out, "joined", ArgumentsJoinedWithBlanks());
        STARTUPINFO startup;
        GetStartupInfo(&startup);
        if (startup.lpTitle)
            Record(out, "title", startup.lpTitle);
        if (startup.dwFlags & STARTF_USESHOWWINDOW)
            Record(out, "show", std::to_string(startup.wShowWindow));
        for (int i = 0; i < argc; ++i)
            Record(out, "arg", argv[i]);
        if (DIR* fds = ::opendir("/proc/self/fd")) {
            while (dirent* item = ::readdir(fds)) {
                int fd = std::atoi(item->d_name);
                if (fd > 2 && fd != ::dirfd(fds))
                    Record(out, "fd", item->d_name);
            }
            ::closedir(fds);
        }
        FILE* f = std::fopen(outPath, "wb");
        if (!f)
            return 101;
        bool written = std::fwrite(out.data(), 1, out.size(), f) == out.size();
        if (std::fclose(f) != 0 || !written)
            return 102;
    }
    if (const char* fifo = std::getenv("VELTRIN_PROBE_FIFO")) {
        ::alarm(120);  // never outlive a test that stopped without letting us go
        int fd = ::open(fifo, O_RDONLY);
        if (fd < 0)
            return 103;
        char buffer[64];
        while (::read(fd, buffer, sizeof buffer) > 0) {
        }
        ::close(fd);
    }
    const char* code = std::getenv("VELTRIN_PROBE_EXIT");
    return code ? std::atoi(code) : 0;
}
