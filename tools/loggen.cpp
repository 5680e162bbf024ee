// Seeded generator of QServer-style logs for benchmarks and large tests.
//   loggen qserver <output> <megabytes> [seed]
// Writes CR LF lines "YYYY-MM-DD HH:MM:SS.fff | ..." with transaction starts and ends, SQL statements,
// binds and times, tabs, and now and then a very long line. The same seed gives the same file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {
const char* kTables[] = {"ACCOUNT", "ORDERS", "ORDER_LINE", "CUSTOMER",
                         "ITEM",    "STOCK",  "HISTORY",    "DISTRICT"};
const char* kXacts[] = {"NewOrder", "Payment", "OrderStatus", "Delivery", "StockLevel", "Login", "Logout"};
const char* kClients[] = {"WS0101", "WS0102", "WS0203", "LAB17", "OPS-PC4", "BATCH01"};

struct Clock {
    int64_t ms = (int64_t)((31 + 28 + 31 + 30) * 86400000LL) + 8 * 3600000LL;  // May 1st, 08:00
    std::string Stamp() const {
        int64_t day = ms / 86400000, rest = ms % 86400000;
        static const int before[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};
        int month = 1;
        while (month < 12 && day >= before[month])
            ++month;
        char buf[40];
        std::snprintf(buf, sizeof buf, "2023-%02d-%02d %02d:%02d:%02d.%03d", month,
                      (int)(day - before[month - 1] + 1), (int)(rest / 3600000), (int)(rest / 60000 % 60),
                      (int)(rest / 1000 % 60), (int)(rest % 1000));
        return buf;
    }
};

int GenerateQServer(FILE* out, uint64_t bytes, uint32_t seed) {
    std::mt19937 rng(seed);
    auto pick = [&](int n) { return (int)(rng() % (uint32_t)n); };
    Clock clock;
    uint64_t written = 0;
    long tid = 1000;
    auto line = [&](const std::string& text) {
        std::string l = clock.Stamp() + " | " + text + "\r\n";
        written += std::fwrite(l.data(), 1, l.size(), out);
    };
    while (written < bytes) {
        ++tid;
        const char* xact = kXacts[pick(7)];
        const char* client = kClients[pick(6)];
        clock.ms += 1 + pick(500);
        line("-- START: " + std::string(xact) + " TID=" + std::to_string(tid) + " Client: " + client + "(" +
             std::to_string(pick(9000) + 1000) + ")#" + std::to_string(pick(9)) +
             " Port: " + std::to_string(5000 + pick(100)));
        int statements = 1 + pick(6);
        for (int s = 0; s < statements && written < bytes; ++s) {
            const char* table = kTables[pick(8)];
            std::string sql = pick(3) == 0
                                  ? "UPDATE " + std::string(table) + " SET\tC1 = :1, C2 = :2 WHERE ID = :3"
                                  : "SELECT C1, C2, C3 FROM " + std::string(table) + " WHERE ID = :1";
            if (pick(500) == 0)
                sql += " AND X IN (" + std::string(4000 + pick(20000), '9') + ")";
            line("**** SQL Start: " + sql);
            for (int b = 0; b < 1 + pick(3); ++b)
                line("\tBind " + std::to_string(b + 1) + " = '" + std::to_string(rng() % 100000) + "'");
            int ms = pick(20) == 0 ? 10000 + pick(90000) : pick(900);
            clock.ms += ms;
            line("**** SQL Milliseconds: " + std::to_string(ms));
        }
        if (pick(50) != 0) {  // some transactions never finish
            clock.ms += pick(50);
            line("-- END: " + std::string(xact) + " TID=" + std::to_string(tid) +
                 " TRANSACTION TIME (msec): " + std::to_string(pick(20000)));
        }
    }
    return 0;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || std::strcmp(argv[1], "qserver") != 0) {
        std::fprintf(stderr, "usage: loggen qserver <output> <megabytes> [seed]\n");
        return 2;
    }
    char* end = nullptr;
    double mb = std::strtod(argv[3], &end);
    if (!end || *end || mb <= 0) {
        std::fprintf(stderr, "loggen: bad size '%s'\n", argv[3]);
        return 2;
    }
    uint32_t seed = argc > 4 ? (uint32_t)std::strtoul(argv[4], nullptr, 10) : 1;
    FILE* out = std::fopen(argv[2], "wb");
    if (!out) {
        std::perror(argv[2]);
        return 1;
    }
    GenerateQServer(out, (uint64_t)(mb * 1024 * 1024), seed);
    if (std::fclose(out) != 0) {
        std::perror(argv[2]);
        return 1;
    }
    return 0;
}
