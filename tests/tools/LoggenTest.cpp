// The log generator: the same seed gives the same bytes, the logs hold every line shape the passes and
// the log tree read, a set's QBroker log and QServer logs agree on names, ids, times and clients, and
// bad command lines are refused.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"

extern char** environ;

namespace {
namespace fs = std::filesystem;

struct Result {
    int exitCode = -1;
    std::string err;
};

class Loggen : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = tmp_.Path();
    }

    // Runs loggen with the arguments; its standard error is kept.
    Result Run(const std::vector<std::string>& args) {
        std::string program = std::string(VELTRIN_BIN_DIR) + "/loggen";
        std::string errPath = dir_ + "/stderr.txt";
        std::vector<char*> argv{program.data()};
        std::vector<std::string> copy = args;
        for (std::string& a : copy)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        pid_t pid;
        Result r;
        int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0)
            return r;
        int status = 0;
        waitpid(pid, &status, 0);
        r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.err = Read(errPath);
        fs::remove(errPath);
        return r;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // The lines of a CR LF file, without their terminators.
    static std::vector<std::string> Lines(const std::string& path) {
        std::string text = Read(path);
        std::vector<std::string> lines;
        size_t start = 0;
        for (size_t eol; (eol = text.find("\r\n", start)) != std::string::npos; start = eol + 2)
            lines.push_back(text.substr(start, eol - start));
        return lines;
    }
    // file name -> contents of every file in a folder.
    static std::map<std::string, std::string> Folder(const std::string& path) {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::directory_iterator(path))
            files[e.path().filename().string()] = Read(e.path().string());
        return files;
    }
    // Makes (once per test) the set that most tests look at.
    const std::string& Set() {
        if (set_.empty()) {
            set_ = dir_ + "/set";
            EXPECT_EQ(Run({"set", set_, "0.4", "1"}).exitCode, 0);
        }
        return set_;
    }
    std::string BrokerPath() { return Set() + "/20230502QBroker.log"; }

    TempFolder tmp_{"veltrin_loggen"};
    std::string dir_;
    std::string set_;
};

// Milliseconds since the first day's midnight of "YYYY/MM/DD HH:MM:SS.mmm" or "... HH:MM:SS mmm".
long long StampMs(const std::string& s) {
    int day = std::atoi(s.substr(8, 2).c_str());
    return ((((long long)day * 24 + std::atoi(s.substr(11, 2).c_str())) * 60 +
             std::atoi(s.substr(14, 2).c_str())) *
                60 +
            std::atoi(s.substr(17, 2).c_str())) *
               1000 +
           std::atoi(s.substr(20, 3).c_str());
}

bool Holds(const std::string& line, const char* text) {
    return line.find(text) != std::string::npos;
}
}  // namespace

TEST_F(Loggen, SameSeedGivesTheSameBytes) {
    ASSERT_EQ(Run({"set", dir_ + "/a", "0.2", "42"}).exitCode, 0);
    ASSERT_EQ(Run({"set", dir_ + "/b", "0.2", "42"}).exitCode, 0);
    ASSERT_EQ(Run({"set", dir_ + "/c", "0.2", "43"}).exitCode, 0);
    auto a = Folder(dir_ + "/a"), b = Folder(dir_ + "/b"), c = Folder(dir_ + "/c");
    EXPECT_EQ(a.size(), 5u);
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a["20230502QBroker.log"] == c["20230502QBroker.log"]);

    // The log names its own file, so the copies have the same name in two folders.
    fs::create_directory(dir_ + "/one");
    fs::create_directory(dir_ + "/two");
    for (const char* mode : {"qserver", "qbroker"}) {
        SCOPED_TRACE(mode);
        std::string one = dir_ + "/one/" + mode + ".log", two = dir_ + "/two/" + mode + ".log";
        ASSERT_EQ(Run({mode, one, "0.3", "5"}).exitCode, 0);
        ASSERT_EQ(Run({mode, two, "0.3", "5"}).exitCode, 0);
        EXPECT_TRUE(Read(one) == Read(two));
        ASSERT_EQ(Run({mode, two, "0.3", "6"}).exitCode, 0);
        EXPECT_FALSE(Read(one) == Read(two));
        // Without a seed the seed is 1.
        ASSERT_EQ(Run({mode, one, "0.3"}).exitCode, 0);
        ASSERT_EQ(Run({mode, two, "0.3", "1"}).exitCode, 0);
        EXPECT_TRUE(Read(one) == Read(two));
    }
}

TEST_F(Loggen, SizesAndLineEndings) {
    std::string server = dir_ + "/q.log", broker = dir_ + "/b.log";
    ASSERT_EQ(Run({"qserver", server, "2", "3"}).exitCode, 0);
    ASSERT_EQ(Run({"qbroker", broker, "0.5", "3"}).exitCode, 0);
    ASSERT_EQ(Run({"set", dir_ + "/set", "0.5", "3"}).exitCode, 0);
    uint64_t setBytes = 0;
    for (const auto& [name, text] : Folder(dir_ + "/set"))
        setBytes += text.size();
    // At least the size asked for, and no more than one transaction or block beyond it.
    struct Case {
        uint64_t bytes, wanted;
    } cases[] = {{fs::file_size(server), 2u << 20}, {fs::file_size(broker), 1u << 19}, {setBytes, 1u << 19}};
    for (const Case& c : cases) {
        EXPECT_GE(c.bytes, c.wanted);
        EXPECT_LT(c.bytes, c.wanted + 200000);
    }
    // Every line ends in CR LF: no lone CR or LF anywhere; the file ends with a whole line.
    for (const std::string& path : {server, broker}) {
        std::string text = Read(path);
        size_t lf = std::count(text.begin(), text.end(), '\n'),
               cr = std::count(text.begin(), text.end(), '\r');
        size_t crlf = 0;
        for (size_t p = 0; (p = text.find("\r\n", p)) != std::string::npos; p += 2)
            ++crlf;
        EXPECT_EQ(lf, crlf) << path;
        EXPECT_EQ(cr, crlf) << path;
        EXPECT_EQ(text.substr(text.size() - 2), "\r\n") << path;
    }
    // Lines longer than the reader's first block come now and then; most lines are short.
    auto lines = Lines(server);
    size_t longest = 0, over = 0;
    for (const std::string& l : lines) {
        longest = std::max(longest, l.size());
        over += l.size() > 8192;
    }
    EXPECT_GT(longest, 8192u);
    EXPECT_LT(over * 1000, lines.size());
}

TEST_F(Loggen, SetHoldsEveryLineShape) {
    std::string broker = Read(BrokerPath());
    std::string servers;
    for (const auto& [name, text] : Folder(Set()))
        if (name.find("QServer") != std::string::npos)
            servers += text;
    // Broker request blocks, the filtered lines, the other block headers and the keep-alive lines.
    const char* brokerShapes[] = {": On Request - ",
                                  "\r\nID  : /pt_QClient://",
                                  "\r\nID : /pt_QServer://",
                                  "\r\nType: ",
                                  "\r\nFrom  : /pt_QClient://",
                                  "\r\nUser  : ",
                                  "\r\nAction : sent to /pt_QServer://",
                                  "\r\nAction : put in waiting queue",
                                  "\r\nAction : process",
                                  "\r\nProcess: /pt_QClient://",
                                  "\r\nID  : /pt_QBroker://",
                                  "): On Server Register - ",
                                  "): On Client Unregister - ",
                                  " - On Process Dies - ",
                                  "ShutdownTempServers(): On Request - ",
                                  "Type: LOGIN_QUILLAN",
                                  "Type: On Server Register",
                                  "\r\nFree Server Count:",
                                  "\r\nActive Server Count:",
                                  "\r\nAtypical Server Count:",
                                  "\r\nPending Request Count:",
                                  "\r\n/pt_QServer://",
                                  "\r\n*** ",
                                  "\r\n.\r\n",
                                  "\r\n..\r\n",
                                  "\r\n...\r\n",
                                  "\t"};
    for (const char* shape : brokerShapes)
        EXPECT_NE(broker.find(shape), std::string::npos) << "QBroker: " << shape;
    // Transactions, statements and the trace lines around them, in every dialect.
    const char* serverShapes[] = {"| Start ",
                                  "| End ",
                                  "\r\n-- START: ",
                                  "\r\n-- RETURN CODE: ",
                                  "\r\n-- END: ",
                                  "\r\n-- Bind ",
                                  "\r\n-- SQLFreeStmt",
                                  "\r\n-- SEND CONTAINER",
                                  "\r\n-- CLIENT",
                                  "\r\n-- CONTAINER CONTENTS",
                                  "\r\n-- FETCH TIME:",
                                  "\r\n-- SEND TIME:",
                                  "\r\n-- ROWS FETCHED:",
                                  "\r\n-- SINCE LAST SQL:",
                                  "\r\n-- SQLAlloc",
                                  "\r\n-- SEND O",
                                  "\r\n-- SEND M",
                                  "\r\n-- COMMIT WORK",
                                  "\r\n-- ROLLBACK WORK",
                                  "\r\n-ERROR- ",
                                  " QServer | ",
                                  " PEC_TRACE | Start ",
                                  " PEC_TRACE | Return ",
                                  " TRANSACTION TIME (msec): ",
                                  " TRANSACTION TIME (sec): ",
                                  " TRANSACTION TIME: ",
                                  "\r\n\tTRANSACTION TIME",
                                  " **** SQL Milliseconds: ",
                                  " **** SQL Seconds: ",
                                  " DB Cursor ",
                                  "Since last SQL: ",
                                  "/pt_QClient://",
                                  "/pt_QBroker://",
                                  "\t"};
    for (const char* shape : serverShapes)
        EXPECT_NE(servers.find(shape), std::string::npos) << "QServer: " << shape;
}

TEST_F(Loggen, SetHasUnfinishedTransactionsAndStatements) {
    // Paired as the integrity check pairs them: a start of the same kind before the end.
    int openTransactions = 0, openStatements = 0, longStatements = 0;
    for (const auto& e : fs::directory_iterator(Set())) {
        if (e.path().filename().string().find("QServer") == std::string::npos)
            continue;
        bool inTransaction = false, inStatement = false;
        for (const std::string& l : Lines(e.path().string())) {
            if (Holds(l, "| Start") && !Holds(l, "PEC_TRACE")) {
                openTransactions += inTransaction;
                inTransaction = true;
            } else if (Holds(l, "-- START:")) {
                openStatements += inStatement;
                inStatement = true;
            } else if (Holds(l, "**** SQL ")) {
                inStatement = false;
                size_t p = l.find("Milliseconds: ");
                longStatements += p != std::string::npos && std::atol(l.c_str() + p + 14) >= 10000;
            } else if (Holds(l, "TRANSACTION TIME")) {
                inTransaction = false;
            }
        }
    }
    EXPECT_GE(openTransactions, 2);  // a client that went away, a server process that died
    EXPECT_GE(openStatements, 1);
    EXPECT_GE(longStatements, 1);
}

TEST_F(Loggen, SetNamesEveryServerLogItWrites) {
    // What the log tree does: the upper-case line holds "ACTION : SENT TO /PT_QSERVER:", the server
    // suffix follows the last '/', and the log is the broker's date prefix, "QServer" and the suffix.
    std::set<std::string> named;
    for (const std::string& l : Lines(BrokerPath())) {
        std::string upper = l;
        for (char& ch : upper)
            ch = (char)std::toupper((unsigned char)ch);
        if (l.size() >= 29 && Holds(upper, "ACTION : SENT TO /PT_QSERVER:"))
            named.insert("20230502QServer" + l.substr(l.rfind('/') + 1) + ".log");
    }
    std::set<std::string> written;
    for (const auto& e : fs::directory_iterator(Set()))
        if (e.path().filename().string().find("QServer") != std::string::npos)
            written.insert(e.path().filename().string());
    EXPECT_EQ(named, written);
    EXPECT_EQ(written.size(), 4u);
}

TEST_F(Loggen, ServerStartsWhereTheBrokerSentTheRequest) {
    // For each dispatch of a client's request the named server log has the start line the elapsed-time
    // lookup looks for: the broker's date and time, the client id without its "#n", "Start <type>".
    std::map<std::string, std::vector<std::string>> servers;
    for (const auto& e : fs::directory_iterator(Set()))
        servers[e.path().filename().string()] = Lines(e.path().string());
    std::regex header(R"((?:t|r) -\s+(\d\d:\d\d:\d\d)$)");
    std::string time, block;
    int checked = 0;
    for (const std::string& l : Lines(BrokerPath())) {
        std::smatch m;
        if (Holds(l, ": On Request -") || Holds(l, ": On Server ")) {
            if (std::regex_search(l, m, header))
                time = m[1];
            block.clear();
            continue;
        }
        block += " " + l;
        if (!Holds(l, "Action : sent to ") || Holds(block, "/pt_QBroker://"))
            continue;
        size_t c = block.find("/pt_QClient://"), t = block.find("Type: ");
        ASSERT_NE(c, std::string::npos) << block;
        if (t == std::string::npos)
            continue;  // a queued request: its type was logged when it was queued
        std::string client = block.substr(c + 12, block.find_first_of(" #", c) - c - 12);
        std::string type = block.substr(t + 6, block.find(' ', t + 6) - t - 6);
        std::string log = "20230502QServer" + l.substr(l.rfind('/') + 1) + ".log";
        ASSERT_TRUE(servers.count(log)) << log;
        bool found = false;
        for (const std::string& s : servers[log])
            found = found || (s.rfind("2023/05/02 " + time, 0) == 0 && Holds(s, client.c_str()) &&
                              Holds(s, ("| Start " + type + " ").c_str()));
        EXPECT_TRUE(found) << time << " " << client << " " << type << " in " << log;
        ++checked;
    }
    EXPECT_GT(checked, 40);
}

TEST_F(Loggen, TransactionTimesMatchTheStamps) {
    // In the milliseconds dialects the time on the end line is the time between the start and end stamps.
    int checked = 0;
    for (const char* name : {"20230502QServer7001.log", "20230502QServer7003.log"}) {
        long long start = -1;
        for (const std::string& l : Lines(Set() + "/" + name)) {
            if (Holds(l, "| Start ") && !Holds(l, "PEC_TRACE")) {
                start = StampMs(l);
            } else if (Holds(l, "| End ") && Holds(l, "TRANSACTION TIME (msec): ") && start >= 0) {
                EXPECT_EQ(std::atoll(l.c_str() + l.find("(msec): ") + 8), StampMs(l) - start) << l;
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 10);
}

TEST_F(Loggen, BadCommandLinesGiveTheUsageAndExitCode2) {
    std::string out = dir_ + "/x.log";
    std::vector<std::vector<std::string>> cases = {
        {},
        {"qserver"},
        {"qserver", out},
        {"qclient", out, "1"},
        {"qserver", out, "0"},
        {"qserver", out, "-1"},
        {"qserver", out, "abc"},
        {"qserver", out, "1x"},
        {"qserver", out, "nan"},
        {"qserver", out, "inf"},
        {"qserver", out, "1", "seed"},
        {"qserver", out, "1", "-5"},
        {"qserver", out, "1", "1.5"},
        {"qserver", out, "1", "99999999999999999999999"},
        {"qserver", out, "1", "2", "3"},
        {"set", "", "1"},
    };
    for (const auto& args : cases) {
        std::string shown;
        for (const auto& a : args)
            shown += "'" + a + "' ";
        Result r = Run(args);
        EXPECT_EQ(r.exitCode, 2) << shown;
        EXPECT_EQ(r.err.rfind("usage: loggen ", 0), 0u) << shown << r.err;
    }
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(Loggen, UnwritableOutputIsReported) {
    std::string file = dir_ + "/plain.txt";
    std::ofstream(file) << "x";
    struct Case {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"qserver", dir_ + "/missing/q.log", "0.1"}, "loggen: cannot write "},
        {{"qbroker", dir_ + "/missing/b.log", "0.1"}, "loggen: cannot write "},
        {{"set", file, "0.1"}, "loggen: cannot make the folder "},
    };
    for (const Case& c : cases) {
        Result r = Run(c.args);
        EXPECT_EQ(r.exitCode, 1) << c.args[1];
        EXPECT_EQ(r.err.rfind(c.message, 0), 0u) << r.err;
    }
}
