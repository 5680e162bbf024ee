// Writes a seeded tree of log-like text files for searching benchmarks:
//   make_search_tree FOLDER [FILES=20000] [MEGABYTES=500] [SEED=42]
// The same arguments always give the same tree. Planted terms (never produced otherwise):
//   "deadlock victim" in about 2% of the files, "login failed" in about 20%, "retry limit" in about 10%.
// FOLDER/.complete records the arguments once the tree is whole.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {
// splitmix64: the same sequence on every platform and library.
struct Rng {
    uint64_t state;
    uint64_t Next() {
        uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    uint64_t Below(uint64_t n) { return n ? Next() % n : 0; }
    bool Chance(unsigned percent) { return Below(100) < percent; }
};

const char* const kWords[] = {"QServer", "QBroker", "request", "client",  "session", "commit", "SELECT",
                              "FROM",    "WHERE",   "elapsed", "ms",      "thread",  "queue",  "reply",
                              "table",   "index",   "user",    "update",  "insert",  "cursor", "bind",
                              "value",   "status",  "OK",      "warning", "start",   "end",    "handler",
                              "pool",    "socket",  "read",    "write"};
const char* const kLevels[] = {"INFO ", "DEBUG", "WARN ", "TRACE"};

bool MakeFolder(const std::string& path) {
    return ::mkdir(path.c_str(), 0755) == 0 || errno == EEXIST;
}

void AppendLine(std::string& out, Rng& rng, uint64_t lineNo) {
    char head[64];
    std::snprintf(head, sizeof head, "2011-%02u-%02u %02u:%02u:%02u.%03u %s [%u] ",
                  (unsigned)(1 + lineNo % 12), (unsigned)(1 + lineNo % 28), (unsigned)(lineNo / 3600 % 24),
                  (unsigned)(lineNo / 60 % 60), (unsigned)(lineNo % 60), (unsigned)rng.Below(1000),
                  kLevels[rng.Below(4)], (unsigned)rng.Below(64));
    out += head;
    const unsigned words = 4 + (unsigned)rng.Below(12);
    for (unsigned w = 0; w < words; ++w) {
        out += kWords[rng.Below(sizeof kWords / sizeof kWords[0])];
        out += w + 1 < words ? ' ' : '\n';
    }
}

// File sizes: mostly small, some large, averaging about `average` bytes.
uint64_t PickSize(Rng& rng, uint64_t average) {
    uint64_t r = rng.Below(100);
    if (r < 70)
        return average / 8 + rng.Below(average / 2);
    if (r < 95)
        return average + rng.Below(average);
    return average * 4 + rng.Below(average * 8);
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [FILES] [MEGABYTES] [SEED]\n", argv[0]);
        return 2;
    }
    const std::string root = argv[1];
    const uint64_t files = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 20000;
    const uint64_t megabytes = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 500;
    const uint64_t seed = argc > 4 ? std::strtoull(argv[4], nullptr, 10) : 42;
    if (files == 0 || !MakeFolder(root)) {
        std::fprintf(stderr, "make_search_tree: cannot make %s\n", root.c_str());
        return 1;
    }
    Rng rng{seed};
    // Sizes are drawn first and scaled so that the tree holds the megabytes asked for.
    const uint64_t average = megabytes * 1024 * 1024 / files;
    std::vector<uint64_t> sizes(files);
    uint64_t drawn = 0;
    for (uint64_t& s : sizes)
        drawn += (s = PickSize(rng, average));
    const double scale = (double)(megabytes * 1024 * 1024) / (double)(drawn ? drawn : 1);

    const uint64_t perFolder = 100;
    std::string content;
    uint64_t written = 0;
    for (uint64_t i = 0; i < files; ++i) {
        const uint64_t folder = i / perFolder;
        std::string dir = root + "/area" + std::to_string(folder / 10);
        std::string sub = dir + "/part" + std::to_string(folder % 10);
        if (i % perFolder == 0 && (!MakeFolder(dir) || !MakeFolder(sub))) {
            std::fprintf(stderr, "make_search_tree: cannot make %s\n", sub.c_str());
            return 1;
        }
        const uint64_t size = (uint64_t)((double)sizes[i] * scale);
        content.clear();
        uint64_t line = rng.Below(100000);
        while (content.size() < size)
            AppendLine(content, rng, line++);
        // Planted terms at random line starts, so a search must read up to them.
        auto plant = [&](const char* term) {
            size_t at = content.empty() ? 0 : (size_t)rng.Below(content.size());
            at = content.rfind('\n', at);
            content.insert(at == std::string::npos ? 0 : at + 1, std::string(term) + " here\n");
        };
        if (rng.Chance(2))
            plant("DeadLock victim");
        if (rng.Chance(20))
            plant("login failed");
        if (rng.Chance(10))
            plant("Retry Limit");

        char name[64];
        std::snprintf(name, sizeof name, "/%s%05llu.log", rng.Chance(50) ? "server" : "broker",
                      (unsigned long long)i);
        FILE* f = std::fopen((sub + name).c_str(), "wb");
        if (!f || std::fwrite(content.data(), 1, content.size(), f) != content.size() ||
            std::fclose(f) != 0) {
            std::fprintf(stderr, "make_search_tree: cannot write %s%s\n", sub.c_str(), name);
            return 1;
        }
        written += content.size();
    }
    FILE* done = std::fopen((root + "/.complete").c_str(), "wb");
    if (!done)
        return 1;
    std::fprintf(done, "%llu %llu %llu\n", (unsigned long long)files, (unsigned long long)megabytes,
                 (unsigned long long)seed);
    std::fclose(done);
    std::printf("make_search_tree: %llu files, %llu bytes in %s\n", (unsigned long long)files,
                (unsigned long long)written, root.c_str());
    return 0;
}
