// Bytescope FILE [SEARCH=t]: a hex dump of the file, from the row that holds the first occurrence of the
// text when one is given. On a terminal it is printed; otherwise it is written to a temporary file that
// opens in the user's editor and is removed when the editor ends.
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/base/CommandLine.h"
#include "platform/base/Process.h"
#include "standins/StandinArgs.h"

namespace {
size_t FindNoCase(const std::string& data, const std::string& needle) {
    if (needle.empty())
        return std::string::npos;
    auto lower = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; };
    for (size_t i = 0; i + needle.size() <= data.size(); ++i) {
        size_t k = 0;
        while (k < needle.size() && lower(data[i + k]) == lower(needle[k]))
            ++k;
        if (k == needle.size())
            return i;
    }
    return std::string::npos;
}

// A program that xdg-open started reads the file after xdg-open has returned: wait until someone
// closes the file after reading it, or `seconds` at most.
void AwaitReader(const std::string& path, int seconds) {
    int fd = inotify_init1(IN_CLOEXEC);
    if (fd < 0)
        return;
    if (inotify_add_watch(fd, path.c_str(), IN_CLOSE_NOWRITE | IN_CLOSE_WRITE) >= 0) {
        pollfd p{fd, POLLIN, 0};
        poll(&p, 1, seconds * 1000);
    }
    ::close(fd);
}

void Dump(FILE* out, const std::string& name, const std::string& data, size_t from, size_t hit,
          size_t hitLen) {
    std::fprintf(out, "%s: %zu bytes\n", name.c_str(), data.size());
    if (hit != std::string::npos)
        std::fprintf(out, "text found at offset 0x%zx\n", hit);
    for (size_t row = from; row < data.size(); row += 16) {
        std::fprintf(out, "%08zx  ", row);
        for (size_t i = 0; i < 16; ++i) {
            if (row + i < data.size())
                std::fprintf(out, "%02x ", (unsigned char)data[row + i]);
            else
                std::fputs("   ", out);
            if (i == 7)
                std::fputc(' ', out);
        }
        std::fputs(" |", out);
        for (size_t i = 0; i < 16 && row + i < data.size(); ++i) {
            unsigned char c = data[row + i];
            bool inHit = hit != std::string::npos && row + i >= hit && row + i < hit + hitLen;
            std::fputc(c >= 0x20 && c < 0x7F ? (inHit && c >= 'a' && c <= 'z' ? c - 32 : c) : '.', out);
        }
        std::fputs("|\n", out);
    }
}
}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args = SplitCommandLine(GetCommandLine());
    if (args.empty())
        for (int i = 0; i < argc; ++i)
            args.push_back(argv[i]);
    args.erase(args.begin());
    StandinArgs parsed = ParseStandinArgs(args, false, false);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "Bytescope: %s\nusage: Bytescope FILE [SEARCH=text]\n", parsed.error.c_str());
        return 2;
    }
    std::ifstream in(parsed.file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "Bytescope: cannot read %s\n", parsed.file.c_str());
        return 1;
    }
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t hit = parsed.hasSearch ? FindNoCase(data, parsed.search) : std::string::npos;
    size_t from = hit == std::string::npos ? 0 : hit - hit % 16;

    if (isatty(STDOUT_FILENO)) {
        Dump(stdout, parsed.file, data, from, hit, parsed.search.size());
        return 0;
    }
    // The dump lives as long as the viewer: it is removed when the viewer ends.
    const char* tmp = std::getenv("TMPDIR");
    std::string path = std::string(tmp && *tmp ? tmp : "/tmp") + "/bytescope-XXXXXX";
    int fd = mkstemp(path.data());
    FILE* out = fd >= 0 ? fdopen(fd, "w") : nullptr;
    if (!out) {
        if (fd >= 0) {
            ::close(fd);
            ::unlink(path.c_str());
        }
        Dump(stdout, parsed.file, data, from, hit, parsed.search.size());
        return 0;
    }
    Dump(out, parsed.file, data, from, hit, parsed.search.size());
    bool written = std::fclose(out) == 0;
    int rc = 1;
    if (written) {
        ShowMessagesOnTheDesktop();
        bool byOpener = false;
        rc = OpenInEditor("Bytescope", path, 0, &byOpener);
        if (byOpener)
            AwaitReader(path, 20);
    } else {
        std::fprintf(stderr, "Bytescope: cannot write the dump to %s\n", path.c_str());
    }
    ::unlink(path.c_str());
    return rc;
}
