// Seeded generator of QBroker and QServer logs for benchmarks, tests and the sample logs.
//
//   loggen qserver <output> <megabytes> [seed]   one QServer log (milliseconds, "HH:MM:SS.mmm" stamps)
//   loggen qbroker <output> <megabytes> [seed]   one QBroker log (its servers are simulated, not written)
//   loggen set <folder> <megabytes> [seed]       a QBroker log and every QServer log it names, sized in all
//
// The same arguments always give the same bytes (own PRNG and formatting, no locale, no clock).
// Lines end in CR LF. The set writes <folder>/20230502QBroker.log and <folder>/20230502QServer<id>.log
// for each server id the broker names in "Action : sent to /pt_QServer://<host>/<id>"; a server's
// transaction starts in the second the broker dispatched it, with the client id and transaction name
// the broker logged, so the logs of a set agree with each other.
//
// QServer logs: "| Start" and "| End" transaction lines behind a time stamp, SQL statements between
// "-- START:" and "-- END: ... **** SQL Milliseconds: n" with binds, fetch, return code and the other
// "-- " trace lines, "QServer |" and "PEC_TRACE |" lines, "TRANSACTION TIME (msec): ", "(sec): " and
// plain forms. Stamps are "HH:MM:SS.mmm", or "HH:MM:SS mmm" with "DB" on the START line; times are in
// milliseconds or in seconds. Of a set's four servers one logs seconds and one the second stamp form;
// the single QServer log is ".mmm" and milliseconds.
// Now and then: a statement that never ends, a transaction that never ends, an end line whose
// transaction time is wrapped onto a line of its own, a statement of ten seconds or more, a very long
// line, a server process that dies in the middle of a transaction and starts again.
// QBroker logs: request blocks (": On Request -", "ID  :", "Type:", "User  :", "From  :", "Action :"),
// queued requests dispatched on ": On Server Register -", client unregistering, dying processes,
// server pool status lines and the "." keep-alive lines.
#include <sys/stat.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <queue>
#include <string>
#include <string_view>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------------------------
// Random numbers: splitmix64, the same sequence with every compiler and library.
struct Rng {
    uint64_t state;
    uint64_t Next() {
        uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int64_t Below(int64_t n) { return n > 0 ? (int64_t)(Next() % (uint64_t)n) : 0; }
    int64_t Range(int64_t lo, int64_t hi) { return lo + Below(hi - lo + 1); }
    // True with a probability of perMille / 1000.
    bool Chance(int perMille) { return Below(1000) < perMille; }
};

// ---------------------------------------------------------------------------------------------------
// Text helpers that never depend on the locale.
void AppendInt(std::string& s, int64_t v) {
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    s.append(buf, r.ptr);
}
void AppendPadded(std::string& s, int64_t v, int width) {
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    for (int n = (int)(r.ptr - buf); n < width; ++n)
        s += '0';
    s.append(buf, r.ptr);
}
void AppendHex(std::string& s, uint64_t v, int width) {
    static const char kDigits[] = "0123456789ABCDEF";
    for (int i = width - 1; i >= 0; --i)
        s += kDigits[(v >> (4 * i)) & 15];
}
// Milliseconds as seconds with three decimals: 1234 -> "1.234".
void AppendSeconds(std::string& s, int64_t ms) {
    AppendInt(s, ms / 1000);
    s += '.';
    AppendPadded(s, ms % 1000, 3);
}

// ---------------------------------------------------------------------------------------------------
// Time: milliseconds since midnight of the first day of the logs (2 May 2023).
constexpr int kBaseYear = 2023, kBaseMonth = 5, kBaseDay = 2;
constexpr int64_t kDayMs = 86400000;

int64_t DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    int64_t era = (y >= 0 ? y : y - 399) / 400;
    int64_t yoe = y - era * 400;
    int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}
void CivilFromDays(int64_t z, int& y, int& m, int& d) {
    z += 719468;
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    d = (int)(doy - (153 * mp + 2) / 5 + 1);
    m = (int)(mp < 10 ? mp + 3 : mp - 9);
    y = (int)(yoe + era * 400 + (m <= 2));
}

class Calendar {
public:
    // "YYYY/MM/DD" of the day that holds t.
    const std::string& Date(int64_t t) {
        int64_t day = t / kDayMs;
        if (day != m_day || m_date.empty()) {
            int y, m, d;
            CivilFromDays(DaysFromCivil(kBaseYear, kBaseMonth, kBaseDay) + day, y, m, d);
            m_date.clear();
            AppendPadded(m_date, y, 4);
            m_date += '/';
            AppendPadded(m_date, m, 2);
            m_date += '/';
            AppendPadded(m_date, d, 2);
            m_compact = m_date.substr(0, 4) + m_date.substr(5, 2) + m_date.substr(8, 2);
            m_day = day;
        }
        return m_date;
    }
    // "YYYYMMDD" of the day that holds t.
    const std::string& Compact(int64_t t) {
        Date(t);
        return m_compact;
    }

private:
    int64_t m_day = -1;
    std::string m_date, m_compact;
};

// "HH:MM:SS" of t.
void AppendClock(std::string& s, int64_t t) {
    int64_t ms = t % kDayMs;
    AppendPadded(s, ms / 3600000, 2);
    s += ':';
    AppendPadded(s, ms / 60000 % 60, 2);
    s += ':';
    AppendPadded(s, ms / 1000 % 60, 2);
}

// ---------------------------------------------------------------------------------------------------
// An output log: a buffer flushed to its file in large writes. A log without a file only counts.
class LogFile {
public:
    LogFile() = default;
    ~LogFile() {
        if (m_file)
            std::fclose(m_file);
    }
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    bool Open(const std::string& path) {
        m_path = path;
        m_file = std::fopen(path.c_str(), "wb");
        if (!m_file)
            m_error = errno;
        return m_file != nullptr;
    }
    // The line being built; End() terminates it.
    std::string& Text() { return m_buf; }
    void End() {
        m_buf += "\r\n";
        if (m_buf.size() >= (1u << 20))
            Flush();
    }
    void Put(std::string_view line) {
        m_buf += line;
        End();
    }
    uint64_t Bytes() const { return m_flushed + m_buf.size(); }
    void Flush() {
        if (m_file && !m_buf.empty() && std::fwrite(m_buf.data(), 1, m_buf.size(), m_file) != m_buf.size())
            m_error = errno ? errno : EIO;
        m_flushed += m_buf.size();
        m_buf.clear();
    }
    // Flushes and closes; false (with the reason in Error()) when anything failed.
    bool Close() {
        Flush();
        if (m_file && std::fclose(m_file) != 0 && !m_error)
            m_error = errno ? errno : EIO;
        m_file = nullptr;
        return m_error == 0;
    }
    int Error() const { return m_error; }
    const std::string& Path() const { return m_path; }

private:
    FILE* m_file = nullptr;
    std::string m_path;
    std::string m_buf;
    uint64_t m_flushed = 0;
    int m_error = 0;
};

// ---------------------------------------------------------------------------------------------------
// SQL statements and transactions.
enum BindType : char { kInt = 'I', kText = 'V', kDecimal = 'D', kTimestamp = 'T', kChar = 'C' };

struct Statement {
    const char* lines[5];  // the text, split where the application split it
    const char* binds;     // one BindType per ":n" placeholder
    bool select;
    bool slow;  // a report query: seconds rather than milliseconds
};

enum StatementId {
    S_USER,
    S_SESSION_START,
    S_SESSION_END,
    S_CUSTOMER,
    S_WAREHOUSE,
    S_DISTRICT,
    S_DISTRICT_NEXT,
    S_ORDER_INSERT,
    S_NEW_ORDER_INSERT,
    S_ITEM,
    S_STOCK,
    S_STOCK_UPDATE,
    S_ORDER_LINE_INSERT,
    S_WAREHOUSE_YTD,
    S_DISTRICT_YTD,
    S_CUSTOMER_PAY,
    S_HISTORY_INSERT,
    S_LAST_ORDER,
    S_ORDER_LINES,
    S_NEW_ORDER_MIN,
    S_NEW_ORDER_DELETE,
    S_ORDER_CARRIER,
    S_ORDER_LINE_DELIVERY,
    S_ORDER_LINE_SUM,
    S_CUSTOMER_DELIVERY,
    S_STOCK_COUNT,
    S_PRICE_LIST,
    S_PRICE_ITEMS,
    S_REPORT,
    S_COUNT
};

const Statement kStatements[S_COUNT] = {
    {{"SELECT U_ID, U_NAME, U_ROLE, U_LAST_LOGIN", "\tFROM USERS", "\tWHERE U_NAME = :1"}, "V", true, false},
    {{"INSERT INTO SESSION_LOG (S_USER, S_CLIENT, S_START) VALUES (:1, :2, :3)"}, "VVT", false, false},
    {{"UPDATE SESSION_LOG SET S_END = :1 WHERE S_USER = :2 AND S_END IS NULL"}, "TV", false, false},
    {{"SELECT C_FIRST, C_MIDDLE, C_LAST, C_BALANCE, C_CREDIT, C_DISCOUNT", "\tFROM CUSTOMER",
      "\tWHERE C_W_ID = :1 AND C_D_ID = :2 AND C_ID = :3"},
     "III",
     true,
     false},
    {{"SELECT W_TAX FROM WAREHOUSE WHERE W_ID = :1"}, "I", true, false},
    {{"SELECT D_TAX, D_NEXT_O_ID FROM DISTRICT WHERE D_W_ID = :1 AND D_ID = :2"}, "II", true, false},
    {{"UPDATE DISTRICT SET D_NEXT_O_ID = D_NEXT_O_ID + 1", "\tWHERE D_W_ID = :1 AND D_ID = :2"},
     "II",
     false,
     false},
    {{"INSERT INTO ORDERS (O_ID, O_D_ID, O_W_ID, O_C_ID, O_ENTRY_D, O_OL_CNT, O_ALL_LOCAL)",
      "\tVALUES (:1, :2, :3, :4, :5, :6, :7)"},
     "IIIITII",
     false,
     false},
    {{"INSERT INTO NEW_ORDER (NO_O_ID, NO_D_ID, NO_W_ID) VALUES (:1, :2, :3)"}, "III", false, false},
    {{"SELECT I_PRICE, I_NAME, I_DATA FROM ITEM WHERE I_ID = :1"}, "I", true, false},
    {{"SELECT S_QUANTITY, S_DATA, S_DIST_INFO FROM STOCK", "\tWHERE S_I_ID = :1 AND S_W_ID = :2"},
     "II",
     true,
     false},
    {{"UPDATE STOCK SET S_QUANTITY = :1, S_YTD = S_YTD + :2, S_ORDER_CNT = S_ORDER_CNT + 1",
      "\tWHERE S_I_ID = :3 AND S_W_ID = :4"},
     "IIII",
     false,
     false},
    {{"INSERT INTO ORDER_LINE (OL_O_ID, OL_D_ID, OL_W_ID, OL_NUMBER, OL_I_ID,",
      "\t\tOL_SUPPLY_W_ID, OL_QUANTITY, OL_AMOUNT, OL_DIST_INFO)",
      "\tVALUES (:1, :2, :3, :4, :5, :6, :7, :8, :9)"},
     "IIIIIIIDC",
     false,
     false},
    {{"UPDATE WAREHOUSE SET W_YTD = W_YTD + :1 WHERE W_ID = :2"}, "DI", false, false},
    {{"UPDATE DISTRICT SET D_YTD = D_YTD + :1 WHERE D_W_ID = :2 AND D_ID = :3"}, "DII", false, false},
    {{"UPDATE CUSTOMER SET C_BALANCE = :1, C_YTD_PAYMENT = :2, C_PAYMENT_CNT = :3",
      "\tWHERE C_W_ID = :4 AND C_D_ID = :5 AND C_ID = :6"},
     "DDIIII",
     false,
     false},
    {{"INSERT INTO HISTORY (H_C_D_ID, H_C_W_ID, H_C_ID, H_D_ID, H_W_ID, H_DATE, H_AMOUNT, H_DATA)",
      "\tVALUES (:1, :2, :3, :4, :5, :6, :7, :8)"},
     "IIIIITDV",
     false,
     false},
    {{"SELECT O_ID, O_CARRIER_ID, O_ENTRY_D FROM ORDERS",
      "\tWHERE O_W_ID = :1 AND O_D_ID = :2 AND O_C_ID = :3", "\tORDER BY O_ID DESC"},
     "III",
     true,
     false},
    {{"SELECT OL_I_ID, OL_SUPPLY_W_ID, OL_QUANTITY, OL_AMOUNT, OL_DELIVERY_D",
      "\tFROM ORDER_LINE WHERE OL_W_ID = :1 AND OL_D_ID = :2 AND OL_O_ID = :3"},
     "III",
     true,
     false},
    {{"SELECT MIN(NO_O_ID) FROM NEW_ORDER WHERE NO_D_ID = :1 AND NO_W_ID = :2"}, "II", true, false},
    {{"DELETE FROM NEW_ORDER WHERE NO_O_ID = :1 AND NO_D_ID = :2 AND NO_W_ID = :3"}, "III", false, false},
    {{"UPDATE ORDERS SET O_CARRIER_ID = :1 WHERE O_ID = :2 AND O_D_ID = :3 AND O_W_ID = :4"},
     "IIII",
     false,
     false},
    {{"UPDATE ORDER_LINE SET OL_DELIVERY_D = :1", "\tWHERE OL_O_ID = :2 AND OL_D_ID = :3 AND OL_W_ID = :4"},
     "TIII",
     false,
     false},
    {{"SELECT SUM(OL_AMOUNT) FROM ORDER_LINE", "\tWHERE OL_O_ID = :1 AND OL_D_ID = :2 AND OL_W_ID = :3"},
     "III",
     true,
     false},
    {{"UPDATE CUSTOMER SET C_BALANCE = C_BALANCE + :1, C_DELIVERY_CNT = C_DELIVERY_CNT + 1",
      "\tWHERE C_ID = :2 AND C_D_ID = :3 AND C_W_ID = :4"},
     "DIII",
     false,
     false},
    {{"SELECT COUNT(DISTINCT S_I_ID)", "\tFROM ORDER_LINE, STOCK",
      "\tWHERE OL_W_ID = :1 AND OL_D_ID = :2 AND OL_O_ID < :3 AND OL_O_ID >= :4",
      "\t  AND S_W_ID = :5 AND S_I_ID = OL_I_ID AND S_QUANTITY < :6"},
     "IIIIII",
     true,
     false},
    {{"SELECT PL_ITEM, PL_PRICE, PL_CURRENCY FROM PRICE_LIST",
      "\tWHERE PL_LIST_ID = :1 AND PL_VALID_FROM <= :2"},
     "IT",
     true,
     false},
    // The item list is appended when the statement is written; it can make the line very long.
    {{"SELECT PL_ITEM, PL_PRICE FROM PRICE_LIST WHERE PL_LIST_ID = :1 AND PL_ITEM IN ("}, "I", true, false},
    {{"SELECT D_ID, COUNT(*), SUM(O_OL_CNT), AVG(OL_AMOUNT)", "\tFROM ORDERS, ORDER_LINE, DISTRICT",
      "\tWHERE O_ENTRY_D BETWEEN :1 AND :2", "\t  AND OL_O_ID = O_ID AND D_ID = O_D_ID",
      "\tGROUP BY D_ID ORDER BY D_ID"},
     "TT",
     true,
     true},
};

enum XactId {
    X_LOGIN,
    X_LOGOUT,
    X_NEW_ORDER,
    X_PAYMENT,
    X_ORDER_STATUS,
    X_DELIVERY,
    X_STOCK_LEVEL,
    X_PRICE_LIST,
    X_PING,
    X_REPORT,
    X_COUNT
};

struct Xact {
    const char* name;
    int weight;       // share of the requests of a logged-in client
    bool update;      // commits its work
    const char* pec;  // a stored procedure traced with PEC_TRACE, or null
};

const Xact kXacts[X_COUNT] = {
    {"LOGIN_QUILLAN", 0, true, nullptr},       {"LOGOUT_QUILLAN", 0, true, nullptr},
    {"NEW_ORDER", 40, true, "CalcOrderTotal"}, {"PAYMENT", 38, true, nullptr},
    {"ORDER_STATUS", 10, false, nullptr},      {"DELIVERY", 4, true, nullptr},
    {"STOCK_LEVEL", 4, false, nullptr},        {"GET_PRICE_LIST", 6, false, "ApplyDiscounts"},
    {"PING_SERVER", 3, false, nullptr},        {"RUN_REPORT", 1, false, nullptr},
};

XactId PickXact(Rng& rng) {
    int total = 0;
    for (const Xact& x : kXacts)
        total += x.weight;
    int64_t r = rng.Below(total);
    for (int i = 0; i < X_COUNT; ++i) {
        if (r < kXacts[i].weight)
            return (XactId)i;
        r -= kXacts[i].weight;
    }
    return X_NEW_ORDER;
}

// The statements a transaction runs, in order.
void PlanStatements(Rng& rng, XactId x, std::vector<StatementId>& plan) {
    plan.clear();
    switch (x) {
        case X_LOGIN:
            plan = {S_USER, S_SESSION_START};
            break;
        case X_LOGOUT:
            plan = {S_SESSION_END};
            break;
        case X_NEW_ORDER: {
            plan = {S_CUSTOMER, S_WAREHOUSE, S_DISTRICT, S_DISTRICT_NEXT, S_ORDER_INSERT, S_NEW_ORDER_INSERT};
            int lines = (int)rng.Range(1, 5);
            for (int i = 0; i < lines; ++i)
                plan.insert(plan.end(), {S_ITEM, S_STOCK, S_STOCK_UPDATE, S_ORDER_LINE_INSERT});
            break;
        }
        case X_PAYMENT:
            plan = {S_WAREHOUSE_YTD, S_DISTRICT_YTD, S_CUSTOMER, S_CUSTOMER_PAY, S_HISTORY_INSERT};
            break;
        case X_ORDER_STATUS:
            plan = {S_CUSTOMER, S_LAST_ORDER, S_ORDER_LINES};
            break;
        case X_DELIVERY: {
            int districts = (int)rng.Range(1, 2);
            for (int i = 0; i < districts; ++i)
                plan.insert(plan.end(), {S_NEW_ORDER_MIN, S_NEW_ORDER_DELETE, S_ORDER_CARRIER,
                                         S_ORDER_LINE_DELIVERY, S_ORDER_LINE_SUM, S_CUSTOMER_DELIVERY});
            break;
        }
        case X_STOCK_LEVEL:
            plan = {S_DISTRICT, S_STOCK_COUNT};
            break;
        case X_PRICE_LIST:
            plan = {S_PRICE_LIST, S_PRICE_ITEMS};
            break;
        case X_PING:
            break;
        case X_REPORT:
            plan = {S_REPORT};
            break;
        default:
            break;
    }
}

const char* const kWords[] = {"ALPHA", "BRAVO", "DELTA", "ECHO", "KILO", "LIMA", "OSCAR", "SIERRA", "TANGO"};

void AppendBindValue(std::string& s, Rng& rng, Calendar& cal, char type, int64_t now,
                     const std::string& user) {
    switch (type) {
        case kInt:
            AppendInt(s, rng.Range(1, 99999));
            break;
        case kDecimal:
            AppendInt(s, rng.Range(0, 9999));
            s += '.';
            AppendPadded(s, rng.Below(100), 2);
            break;
        case kTimestamp: {
            s += '\'';
            s += cal.Date(now);
            s += ' ';
            AppendClock(s, now);
            s += '\'';
            break;
        }
        case kChar:
            s += '\'';
            s += kWords[rng.Below(9)];
            s += '-';
            AppendPadded(s, rng.Below(10000), 4);
            s += '\'';
            break;
        default:
            s += '\'';
            s += user.empty() || rng.Chance(300) ? kWords[rng.Below(9)] : user.c_str();
            s += '\'';
            break;
    }
}

const char* BindTypeName(char type) {
    switch (type) {
        case kInt:
            return "INTEGER";
        case kDecimal:
            return "DECIMAL";
        case kTimestamp:
            return "TIMESTAMP";
        case kChar:
            return "CHAR";
        default:
            return "VARCHAR";
    }
}

// Milliseconds a statement takes: mostly a few, sometimes hundreds, rarely seconds or more.
int64_t StatementMs(Rng& rng, const Statement& st) {
    if (st.slow)
        return rng.Range(400, 25000);
    int64_t r = rng.Below(10000);
    if (r < 7600)
        return rng.Range(0, 3);
    if (r < 9600)
        return rng.Range(4, 40);
    if (r < 9970)
        return rng.Range(41, 900);
    if (r < 9995)
        return rng.Range(1000, 9999);
    return rng.Range(10000, 65000);
}

// ---------------------------------------------------------------------------------------------------
// A QServer: its identity, log dialect and log.
struct Dialect {
    bool splitMillis;  // "HH:MM:SS mmm" stamps and "DB" on the START line, else "HH:MM:SS.mmm"
    bool seconds;      // "**** SQL Seconds:" and "TRANSACTION TIME (sec):", else milliseconds
};

// Things the transaction writer does at least once early in a log, at the first transaction that can
// show them from these numbers on, so that even a small log has them; later they come at random.
enum Oddity {
    kOpenStatement,
    kLongStatement,
    kSendRetry,
    kWrappedTime,
    kOpenTransaction,
    kLongLine,
    kLongContainer,
    kOddities
};
constexpr int kFirstAt[kOddities] = {3, 4, 5, 6, 8, 11, 14};
// Chance per transaction, in thousandths, after the first 20 transactions.
constexpr int kPerMille[kOddities] = {4, 0, 20, 3, 3, 2, 1};

struct Server {
    std::string host;
    int id = 0;
    Dialect dialect{};
    std::unique_ptr<LogFile> log;
    std::string word;  // "/pt_QServer://host/id"
    int64_t busyUntil = 0;
    bool down = false;
    int transactions = 0;
    bool shown[kOddities] = {};
    bool plainShown = false;  // an end line with "TRANSACTION TIME: " was written
    uint64_t handle = 0x00A10000;
    int cursor = 1;
    int64_t served = 0;
    int64_t lastSql = 0;  // end of the last statement, for "SINCE LAST SQL"
};

struct Request {
    int64_t start = 0;
    XactId xact = X_PING;
    std::string clientWord;  // "/pt_QClient://WS0101/1234" or "/pt_QBroker://QBHUB/5100"
    std::string clientId;    // "//WS0101/1234"
    std::string user;
    int dieAfterLines = -1;  // the server process dies after writing this many lines of the transaction
};

// Writes a server's log lines; stops writing (and remembers when) once the server process died.
class ServerWriter {
public:
    ServerWriter(Server& s, Calendar& cal, int budget) : m_s(s), m_cal(cal), m_budget(budget) {}
    bool Alive() const { return m_budget != 0; }
    int64_t DiedAt() const { return m_diedAt; }

    // Starts a line; returns the text to append to, or a scratch text once the process died.
    std::string& Line() {
        if (m_budget == 0) {
            m_scratch.clear();
            return m_scratch;
        }
        return m_s.log->Text();
    }
    void End(int64_t now) {
        if (m_budget == 0)
            return;
        m_s.log->End();
        if (m_budget > 0 && --m_budget == 0)
            m_diedAt = now;
    }
    void Stamp(std::string& s, int64_t t) {
        s += m_cal.Date(t);
        s += ' ';
        AppendClock(s, t);
        s += m_s.dialect.splitMillis ? ' ' : '.';
        AppendPadded(s, t % 1000, 3);
    }
    void Put(int64_t now, std::string_view text) {
        Line() += text;
        End(now);
    }

private:
    Server& m_s;
    Calendar& m_cal;
    int m_budget;
    int64_t m_diedAt = -1;
    std::string m_scratch;
};

// The lines a QServer writes when it starts.
void WriteServerStartup(Server& s, Calendar& cal, int64_t t, const std::string& fileName) {
    ServerWriter w(s, cal, -1);
    std::string* l = &w.Line();
    w.Stamp(*l, t);
    *l += " QServer | QServer 12.1.4 (build 2207) starting, process ";
    AppendInt(*l, 4000 + s.id % 1000 + s.transactions % 97);
    w.End(t);
    l = &w.Line();
    w.Stamp(*l, t + 1);
    *l += " QServer | Log file ";
    *l += fileName;
    *l += ", trace level 4, times in ";
    *l += s.dialect.seconds ? "seconds" : "milliseconds";
    w.End(t + 1);
    l = &w.Line();
    w.Stamp(*l, t + 9);
    *l += " QServer | Listening on ";
    *l += s.word;
    w.End(t + 9);
    l = &w.Line();
    w.Stamp(*l, t + 180);
    *l += " QServer | Registered with /pt_QBroker://QBHOST/5000";
    w.End(t + 180);
    s.lastSql = t + 180;
}

void AppendTransactionTime(std::string& l, const Dialect& d, bool plain, int64_t ms) {
    if (d.seconds) {
        l += "TRANSACTION TIME (sec): ";
        AppendSeconds(l, ms);
    } else {
        l += plain ? "TRANSACTION TIME: " : "TRANSACTION TIME (msec): ";
        AppendInt(l, ms);
    }
}

// Writes one transaction into the server's log; returns when the server is free again (or when its
// process died, with *died set).
int64_t WriteTransaction(Server& s, Calendar& cal, Rng& rng, const Request& rq, bool* died) {
    const Xact& x = kXacts[rq.xact];
    const Dialect& d = s.dialect;
    int n = ++s.transactions;
    ServerWriter w(s, cal, rq.dieAfterLines);
    int64_t t = rq.start;

    static thread_local std::vector<StatementId> plan;
    PlanStatements(rng, rq.xact, plan);
    bool want[kOddities];
    for (int k = 0; k < kOddities; ++k)
        want[k] = (!s.shown[k] && n >= kFirstAt[k]) || (n > 20 && rng.Chance(kPerMille[k]));
    if (plan.empty())
        want[kOpenStatement] = want[kLongStatement] = want[kLongLine] = false;
    if (want[kOpenTransaction])
        want[kWrappedTime] = want[kLongContainer] = want[kSendRetry] = false;
    else if (want[kWrappedTime])
        want[kLongContainer] = false;
    bool openStatement = want[kOpenStatement], openTransaction = want[kOpenTransaction];
    bool wrappedTime = want[kWrappedTime], longLine = want[kLongLine];
    bool longContainer = want[kLongContainer], longStatement = want[kLongStatement];
    for (int k = 0; k < kOddities; ++k)
        s.shown[k] = s.shown[k] || want[k];

    std::string* l = &w.Line();
    w.Stamp(*l, t);
    *l += " | Start ";
    *l += x.name;
    *l += ' ';
    *l += rq.clientWord;
    w.End(t);
    t += rng.Range(0, 2);
    l = &w.Line();
    *l += "-- CLIENT ";
    *l += rq.clientId;
    *l += " USER ";
    *l += rq.user.empty() ? "batch" : rq.user;
    w.End(t);

    if (longLine && rq.xact != X_PRICE_LIST)
        plan.push_back(S_PRICE_ITEMS);
    int openAt = openStatement && !plan.empty() ? (int)rng.Below((int64_t)plan.size()) : -1;
    int slowAt = longStatement && !plan.empty() ? (int)rng.Below((int64_t)plan.size()) : -1;
    bool failed = false;

    for (size_t i = 0; i < plan.size() && w.Alive(); ++i) {
        const Statement& st = kStatements[plan[i]];
        uint64_t handle = s.handle;
        s.handle += 0x10 * (uint64_t)rng.Range(1, 4);
        int cursor = s.cursor;
        s.cursor = s.cursor % 12 + 1;

        l = &w.Line();
        *l += "-- SQLAlloc Stmt 0x";
        AppendHex(*l, handle, 8);
        w.End(t);
        for (size_t b = 0; st.binds[b]; ++b) {
            l = &w.Line();
            *l += "-- Bind ";
            AppendInt(*l, (int64_t)b + 1);
            *l += " (";
            *l += BindTypeName(st.binds[b]);
            *l += "):\t";
            AppendBindValue(*l, rng, cal, st.binds[b], t, rq.user);
            w.End(t);
        }
        int64_t since = t - s.lastSql;
        if (since < 0)
            since = 0;
        if (!d.splitMillis) {
            l = &w.Line();
            *l += "-- SINCE LAST SQL: ";
            AppendInt(*l, since);
            *l += " msec";
            w.End(t);
        }
        l = &w.Line();
        *l += "-- START: 0x";
        AppendHex(*l, handle, 8);
        *l += ' ';
        w.Stamp(*l, t);
        if (d.splitMillis)
            *l += " DB";
        *l += " Cursor ";
        AppendInt(*l, cursor);
        if (d.splitMillis) {
            *l += " Since last SQL: ";
            AppendInt(*l, since);
        }
        w.End(t);

        for (const char* text : st.lines) {
            if (!text)
                break;
            l = &w.Line();
            *l += text;
            if (plan[i] == S_PRICE_ITEMS) {
                // An item list: normally a few dozen numbers, now and then thousands on one line.
                int items =
                    longLine && i + 1 == plan.size() ? (int)rng.Range(1500, 6000) : (int)rng.Range(3, 40);
                for (int k = 0; k < items; ++k) {
                    if (k)
                        *l += ", ";
                    AppendInt(*l, rng.Range(1, 100000));
                }
                *l += ')';
            }
            w.End(t);
        }

        int64_t ms = i == (size_t)slowAt ? rng.Range(10000, 20000) : StatementMs(rng, st);
        if ((int)i == openAt) {
            // The statement never ends: the database call is cancelled and the work rolled back.
            t += ms;
            l = &w.Line();
            *l += "-ERROR- statement cancelled after ";
            AppendInt(*l, ms);
            *l += " msec, connection to the database lost";
            w.End(t);
            failed = true;
            break;
        }
        t += ms;
        if (st.select) {
            l = &w.Line();
            *l += "-- FETCH TIME: ";
            AppendInt(*l, ms / 3);
            *l += " msec";
            w.End(t);
            l = &w.Line();
            *l += "-- ROWS FETCHED: ";
            AppendInt(*l, st.slow ? rng.Range(10, 400) : rng.Range(0, 12));
            w.End(t);
        }
        l = &w.Line();
        *l += "-- RETURN CODE: ";
        AppendInt(*l, st.select && rng.Chance(40) ? 100 : 0);
        w.End(t);
        l = &w.Line();
        *l += "-- END: 0x";
        AppendHex(*l, handle, 8);
        *l += ' ';
        w.Stamp(*l, t);
        if (d.seconds) {
            *l += " **** SQL Seconds: ";
            AppendSeconds(*l, ms);
        } else {
            *l += " **** SQL Milliseconds: ";
            AppendInt(*l, ms);
        }
        w.End(t);
        s.lastSql = t;
        l = &w.Line();
        *l += "-- SQLFreeStmt Stmt 0x";
        AppendHex(*l, handle, 8);
        w.End(t);
        if (ms >= 10000) {
            l = &w.Line();
            w.Stamp(*l, t);
            *l += " QServer | Warning: statement 0x";
            AppendHex(*l, handle, 8);
            *l += " ran ";
            AppendInt(*l, ms);
            *l += " msec";
            w.End(t);
        }
        t += rng.Range(0, 3);

        if (x.pec && i + 1 == plan.size() / 2 + 1) {
            l = &w.Line();
            w.Stamp(*l, t);
            *l += " PEC_TRACE | Start ";
            *l += x.pec;
            w.End(t);
            int64_t pec = rng.Range(1, 12);
            t += pec;
            l = &w.Line();
            w.Stamp(*l, t);
            *l += " PEC_TRACE | Return ";
            *l += x.pec;
            *l += " rc=0 (";
            AppendInt(*l, pec);
            *l += " msec)";
            w.End(t);
        }
    }

    if (failed) {
        w.Put(t, "-- ROLLBACK WORK");
    } else if (x.update && !plan.empty()) {
        w.Put(t, "-- COMMIT WORK");
    }
    if (openTransaction && w.Alive()) {
        // The client went away before the reply: no end line for this transaction.
        t += rng.Range(5, 200);
        l = &w.Line();
        w.Stamp(*l, t);
        *l += " QServer | Client ";
        *l += rq.clientId;
        *l += " disconnected, transaction abandoned";
        w.End(t);
    } else if (w.Alive()) {
        int64_t bytes = rng.Range(64, 4096);
        l = &w.Line();
        *l += "-- SEND CONTAINER ";
        AppendInt(*l, bytes);
        *l += " bytes";
        w.End(t);
        l = &w.Line();
        *l += "-- CONTAINER CONTENTS:";
        int dump = longContainer ? (int)rng.Range(3000, 12000) : (int)rng.Range(8, 24);
        for (int k = 0; k < dump; ++k) {
            *l += ' ';
            AppendHex(*l, rng.Below(256), 2);
        }
        w.End(t);
        int64_t send = rng.Range(0, 4);
        t += send;
        if (want[kSendRetry])
            w.Put(t, "-- SEND MESSAGE RETRY 1 of 3");
        w.Put(t, "-- SEND OK");
        l = &w.Line();
        *l += "-- SEND TIME: ";
        AppendInt(*l, send);
        *l += " msec";
        w.End(t);
        t += rng.Range(0, 2);

        int64_t elapsed = t - rq.start;
        bool plain = plan.empty();
        l = &w.Line();
        w.Stamp(*l, t);
        *l += " | End ";
        *l += x.name;
        *l += ' ';
        *l += rq.clientWord;
        if (wrappedTime) {
            // The time went onto a line of its own, without a stamp.
            w.End(t);
            l = &w.Line();
            *l += '\t';
            AppendTransactionTime(*l, d, plain, elapsed);
        } else {
            *l += ' ';
            AppendTransactionTime(*l, d, plain, elapsed);
            s.plainShown = s.plainShown || (plain && !d.seconds && w.Alive());
        }
        w.End(t);
    }
    *died = !w.Alive();
    return *died ? w.DiedAt() : t;
}

// How long a transaction takes, without writing it.
int64_t TransactionMs(Rng& rng, XactId x) {
    static thread_local std::vector<StatementId> plan;
    PlanStatements(rng, x, plan);
    int64_t ms = rng.Range(3, 12);
    for (StatementId id : plan)
        ms += StatementMs(rng, kStatements[id]) + rng.Range(0, 3);
    return ms;
}

// ---------------------------------------------------------------------------------------------------
// Clients.
struct Client {
    std::string machine;
    int port = 0;
    std::string user;
    int session = 0;
    int remaining = 0;  // requests left in the session; -1 when not logged in
    std::string Word() const { return "/pt_QClient://" + machine + "/" + std::to_string(port); }
    std::string Id() const { return "//" + machine + "/" + std::to_string(port); }
};

const char* const kUsers[] = {"jsmith", "mlee",    "akumar",  "bnovak", "cdiaz",  "efischer", "gharris",
                              "hwong",  "ijensen", "kmorris", "lpatel", "nrossi", "oberg",    "pwalsh"};

std::vector<Client> MakeClients(Rng& rng) {
    std::vector<Client> clients;
    std::vector<std::string> machines;
    for (int i = 1; i <= 12; ++i) {
        std::string m = "WS0";
        AppendPadded(m, 100 + i, 3);
        machines.push_back(m);
    }
    machines.insert(machines.end(), {"LAB17", "OPS-PC4", "BATCH01"});
    for (size_t i = 0; i < machines.size(); ++i) {
        int processes = machines[i] == "BATCH01" ? 3 : (int)rng.Range(1, 2);
        for (int p = 0; p < processes; ++p) {
            Client c;
            c.machine = machines[i];
            c.port = (int)rng.Range(1025, 64000);
            c.user = machines[i] == "BATCH01" ? std::string("batch") : kUsers[rng.Below(14)];
            c.session = (int)rng.Range(1, 9);
            c.remaining = -1;
            clients.push_back(c);
        }
    }
    return clients;
}

// The next transaction of a client, keeping its session: log in first, log out at the end.
XactId NextXact(Rng& rng, Client& c, bool* loggedOut) {
    *loggedOut = false;
    if (c.remaining < 0) {
        c.remaining = (int)rng.Range(5, 60);
        return X_LOGIN;
    }
    if (c.remaining == 0) {
        c.remaining = -1;
        *loggedOut = true;
        return X_LOGOUT;
    }
    --c.remaining;
    return PickXact(rng);
}

// Milliseconds until the next request: mostly about a second apart, sometimes in a burst.
int64_t NextGap(Rng& rng, int64_t mean) {
    if (rng.Chance(120))
        return rng.Range(0, 30);
    return rng.Range(mean / 8, mean * 2);
}

// ---------------------------------------------------------------------------------------------------
// A single QServer log.
int GenerateQServer(const std::string& path, uint64_t bytes, uint64_t seed) {
    Rng rng{seed};
    Calendar cal;
    Server s;
    s.host = "APPSRV1";
    s.id = 7001;
    s.word = "/pt_QServer://APPSRV1/7001";
    s.dialect = {false, false};
    s.log = std::make_unique<LogFile>();
    if (!s.log->Open(path)) {
        std::fprintf(stderr, "loggen: cannot write %s: %s\n", path.c_str(), std::strerror(s.log->Error()));
        return 1;
    }
    std::string base =
        path.substr(path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1);
    std::vector<Client> clients = MakeClients(rng);
    int64_t t = 8 * 3600000LL - 2500;
    WriteServerStartup(s, cal, t, base);
    t += 2500;

    while (s.log->Bytes() < bytes) {
        t += NextGap(rng, 400);
        Client& c = clients[rng.Below((int64_t)clients.size())];
        Request rq;
        rq.start = t;
        bool loggedOut;
        rq.xact = NextXact(rng, c, &loggedOut);
        if (loggedOut)
            c.session++;
        if (!s.plainShown && s.transactions >= 10 && rq.xact != X_LOGIN && rq.xact != X_LOGOUT)
            rq.xact = X_PING;  // a transaction without SQL early on
        bool viaHub = rq.xact != X_LOGIN && rq.xact != X_LOGOUT && rng.Chance(30);
        rq.clientWord = viaHub ? "/pt_QBroker://QBHUB/5100" : c.Word();
        rq.clientId = viaHub ? "//QBHUB/5100" : c.Id();
        rq.user = c.user;
        if (s.transactions + 1 == 30 || (s.transactions > 30 && rng.Chance(1)))
            rq.dieAfterLines = (int)rng.Range(2, 30);
        bool died = false;
        t = WriteTransaction(s, cal, rng, rq, &died);
        if (died) {
            t += rng.Range(2000, 8000);
            WriteServerStartup(s, cal, t, base);
            t += 200;
        }
    }
    if (!s.log->Close()) {
        std::fprintf(stderr, "loggen: cannot write %s: %s\n", path.c_str(), std::strerror(s.log->Error()));
        return 1;
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------------
// A QBroker log and the QServer logs it names, simulated together.
class BrokerSimulation {
public:
    BrokerSimulation(uint64_t seed, bool writeServers) : m_rng{seed}, m_writeServers(writeServers) {}

    // folder: where the server logs go (set); brokerPath: the broker log.
    int Run(const std::string& brokerPath, const std::string& folder, uint64_t bytes);

private:
    enum Kind { kArrival, kServerFree, kProcessDies, kServerRestart, kStatus, kShutdownTemp, kUnregister };
    struct Event {
        int64_t time;
        uint64_t seq;
        Kind kind;
        int arg;
        bool operator>(const Event& o) const { return time != o.time ? time > o.time : seq > o.seq; }
    };
    struct Queued {
        int client;
        XactId xact;
        int session;
    };

    void Schedule(int64_t time, Kind kind, int arg = 0) { m_events.push({time, m_seq++, kind, arg}); }
    uint64_t Written() const;
    std::string& Line() { return m_broker.Text(); }
    void End() { m_broker.End(); }
    void Put(std::string_view text) { m_broker.Put(text); }
    // "<function>: On <event> - HH:MM:SS"
    void Header(const char* prefix, int64_t t, bool wide = false);
    void Keepalive();
    void Arrival(int64_t t);
    void Dispatch(int64_t t, int server, int client, XactId xact, bool viaHub);
    void ServerFree(int64_t t, int server);
    void Status(int64_t t);
    std::string ClientLine(const Client& c, int session) const {
        return "ID  : " + c.Word() + "#" + std::to_string(session);
    }
    std::string ServerFileName(const Server& s) const {
        return m_datePrefix + "QServer" + std::to_string(s.id);
    }

    Rng m_rng;
    bool m_writeServers;
    Calendar m_cal;
    LogFile m_broker;
    std::vector<Server> m_servers;
    std::vector<Client> m_clients;
    std::deque<Queued> m_queue;
    std::priority_queue<Event, std::vector<Event>, std::greater<Event>> m_events;
    uint64_t m_seq = 0;
    int m_arrivals = 0;
    int m_lastDay = 0;
    int m_deaths = 0;
    bool m_unregistered = false;
    // Things the broker log shows at least once early on.
    enum { kViaHub, kBrokerOwn, kTwoDots, kThreeDots, kEarlyCount };
    bool m_shown[kEarlyCount] = {};
    // True the first time the condition holds for k.
    bool PlainShown() const {
        for (const Server& s : m_servers)
            if (s.plainShown)
                return true;
        return !m_writeServers;
    }
    bool Early(int k, bool condition) {
        if (m_shown[k] || !condition)
            return false;
        return m_shown[k] = true;
    }
    std::string m_datePrefix;
};

uint64_t BrokerSimulation::Written() const {
    uint64_t n = m_broker.Bytes();
    if (m_writeServers)
        for (const Server& s : m_servers)
            n += s.log->Bytes();
    return n;
}

void BrokerSimulation::Header(const char* prefix, int64_t t, bool wide) {
    std::string& l = Line();
    l += prefix;
    l += wide ? "   " : " ";
    AppendClock(l, t);
    End();
}

void BrokerSimulation::Keepalive() {
    int64_t r = m_rng.Below(1000);
    if (Early(kTwoDots, m_arrivals >= 16) || (r >= 250 && r < 270))
        Put("..");
    else if (Early(kThreeDots, m_arrivals >= 19) || (r >= 270 && r < 273))
        Put("...");
    else if (r < 250)
        Put(".");
}

void BrokerSimulation::Dispatch(int64_t t, int server, int client, XactId xact, bool viaHub) {
    Server& s = m_servers[server];
    Client& c = m_clients[client];
    Request rq;
    // The server starts the transaction in the second the broker sent it.
    rq.start = t + std::min<int64_t>(m_rng.Range(0, 4), 999 - t % 1000);
    rq.xact = xact;
    rq.clientWord = viaHub ? "/pt_QBroker://QBHUB/5100" : c.Word();
    rq.clientId = viaHub ? "//QBHUB/5100" : c.Id();
    rq.user = c.user;
    s.served++;
    // The first server to reach its 12th transaction dies in it.
    bool forceDeath = m_deaths == 0 && s.transactions + 1 == 12;
    bool died = false;
    int64_t end;
    if (!m_writeServers) {
        // Only the broker log is wanted: the time the transaction takes is enough.
        ++s.transactions;
        end = rq.start + TransactionMs(m_rng, xact);
        died = forceDeath || (s.transactions > 20 && m_rng.Chance(1));
    } else {
        if (forceDeath || (s.transactions > 20 && m_rng.Chance(1)))
            rq.dieAfterLines = (int)m_rng.Range(2, 30);
        end = WriteTransaction(s, m_cal, m_rng, rq, &died);
    }
    if (died) {
        ++m_deaths;
        s.down = true;
        int64_t restart = end + m_rng.Range(2000, 8000);
        s.busyUntil = restart;
        Schedule(end + m_rng.Range(300, 1500), kProcessDies, server);
        Schedule(restart, kServerRestart, server);
    } else {
        s.busyUntil = end;
        Schedule(end, kServerFree, server);
    }
}

void BrokerSimulation::Arrival(int64_t t) {
    ++m_arrivals;
    // A burst of requests at the same moment early on, so that some wait in the queue.
    int64_t next = m_arrivals >= 24 && m_arrivals < 30 ? m_rng.Range(0, 2) : NextGap(m_rng, 4000);
    Schedule(t + next, kArrival);

    int ci = (int)m_rng.Below((int64_t)m_clients.size());
    Client& c = m_clients[ci];
    if (!m_unregistered && m_arrivals >= 15 && c.remaining > 0)
        c.remaining = 0;  // one client logs out early
    bool loggedOut;
    XactId xact = NextXact(m_rng, c, &loggedOut);
    m_unregistered = m_unregistered || loggedOut;
    int session = c.session;
    bool ordinary = xact != X_LOGIN && xact != X_LOGOUT;
    bool viaHub = m_rng.Chance(30) || Early(kViaHub, m_arrivals >= 7 && ordinary);
    viaHub = viaHub && ordinary;
    bool brokerOwn = m_rng.Chance(20) || Early(kBrokerOwn, m_arrivals >= 9 && ordinary && !viaHub);
    brokerOwn = brokerOwn && ordinary && !viaHub;
    // A transaction without SQL, until one reached a server that logs milliseconds.
    if (!PlainShown() && m_arrivals >= 11 && ordinary && !viaHub && !brokerOwn)
        xact = X_PING;

    Header("HandleClientRequest(): On Request -", t, m_rng.Chance(10));
    if (viaHub) {
        // A request another broker passed on for its client.
        Put("ID  : /pt_QBroker://QBHUB/5100");
        Line() += "Type: ";
        Line() += kXacts[xact].name;
        End();
        Put("From  : " + c.Word() + "#" + std::to_string(session));
    } else {
        Put(ClientLine(c, session));
        Line() += "Type: ";
        Line() += brokerOwn ? "GET_SERVER_LIST" : kXacts[xact].name;
        End();
    }
    Line() += "User  : ";
    Line() += c.user;
    End();
    if (brokerOwn) {
        // The broker answers this one itself.
        Put("Process: " + c.Word() + "#" + std::to_string(session));
        Put("Action : process");
        Keepalive();
        return;
    }

    int free = -1;
    int start = (int)m_rng.Below((int64_t)m_servers.size());
    for (size_t k = 0; k < m_servers.size(); ++k) {
        int i = (int)((start + k) % m_servers.size());
        if (!m_servers[i].down && m_servers[i].busyUntil <= t) {
            free = i;
            break;
        }
    }
    if (free < 0) {
        Put("Action : put in waiting queue");
        m_queue.push_back({ci, xact, session});
        Line() += "Pending Request Count: ";
        AppendInt(Line(), (int64_t)m_queue.size());
        End();
    } else {
        Line() += "Action : sent to ";
        Line() += m_servers[free].word;
        End();
        Dispatch(t, free, ci, xact, viaHub);
    }
    if (loggedOut) {
        c.session++;
        Schedule(t + m_rng.Range(40, 900), kUnregister, ci);
    }
    Keepalive();
}

void BrokerSimulation::ServerFree(int64_t t, int server) {
    Server& s = m_servers[server];
    if (s.down || s.busyUntil > t)
        return;
    if (!m_queue.empty()) {
        Queued q = m_queue.front();
        m_queue.pop_front();
        Header("HandleServerEvent(): On Server Register -", t);
        Put("ID : " + s.word);
        Put(ClientLine(m_clients[q.client], q.session));
        Line() += "Action : sent to ";
        Line() += s.word;
        End();
        Dispatch(t, server, q.client, q.xact, false);
    } else if (m_rng.Chance(40)) {
        Header("HandleServerEvent(): On Server Register -", t);
        Put("ID : " + s.word);
        int freeCount = 0;
        for (const Server& o : m_servers)
            freeCount += !o.down && o.busyUntil <= t;
        Line() += "Free Server Count: ";
        AppendInt(Line(), freeCount);
        End();
    }
}

void BrokerSimulation::Status(int64_t t) {
    int freeCount = 0, active = 0, atypical = 0;
    for (const Server& s : m_servers) {
        if (s.down)
            ++atypical;
        else if (s.busyUntil <= t)
            ++freeCount;
        else
            ++active;
    }
    std::string& l = Line();
    l += "*** Server Pool Status - ";
    AppendClock(l, t);
    l += " ***";
    End();
    Line() += "Free Server Count:\t";
    AppendInt(Line(), freeCount);
    End();
    Line() += "Active Server Count:\t";
    AppendInt(Line(), active);
    End();
    Line() += "Atypical Server Count:\t";
    AppendInt(Line(), atypical);
    End();
    Line() += "Pending Request Count:\t";
    AppendInt(Line(), (int64_t)m_queue.size());
    End();
    for (const Server& s : m_servers) {
        std::string& p = Line();
        p += s.word;
        p += '\t';
        p += s.down ? "DOWN" : s.busyUntil <= t ? "FREE" : "BUSY";
        p += '\t';
        AppendInt(p, s.served);
        p += " requests";
        End();
    }
}

int BrokerSimulation::Run(const std::string& brokerPath, const std::string& folder, uint64_t bytes) {
    int64_t t = 8 * 3600000LL - 5000;  // 07:59:55
    m_datePrefix = m_cal.Compact(t);
    if (!m_broker.Open(brokerPath)) {
        std::fprintf(stderr, "loggen: cannot write %s: %s\n", brokerPath.c_str(),
                     std::strerror(m_broker.Error()));
        return 1;
    }
    struct Setup {
        const char* host;
        int id;
        Dialect dialect;
    };
    const Setup setups[] = {{"APPSRV1", 7001, {false, false}},
                            {"APPSRV1", 7002, {false, true}},
                            {"APPSRV2", 7003, {true, false}},
                            {"APPSRV2", 7004, {false, false}}};
    for (const Setup& su : setups) {
        Server s;
        s.host = su.host;
        s.id = su.id;
        s.dialect = su.dialect;
        s.word = "/pt_QServer://" + s.host + "/" + std::to_string(s.id);
        s.log = std::make_unique<LogFile>();
        m_servers.push_back(std::move(s));
    }
    for (Server& s : m_servers) {
        if (m_writeServers) {
            std::string path = folder + "/" + ServerFileName(s) + ".log";
            if (!s.log->Open(path)) {
                std::fprintf(stderr, "loggen: cannot write %s: %s\n", path.c_str(),
                             std::strerror(s.log->Error()));
                return 1;
            }
        }
    }
    m_clients = MakeClients(m_rng);

    std::string& l = Line();
    l += "*** QBroker 12.1.4 (build 2207) starting at ";
    l += m_cal.Date(t);
    l += ' ';
    AppendClock(l, t);
    l += " ***";
    End();
    Put("*** Listening on /pt_QBroker://QBHOST/5000 ***");
    std::string name = brokerPath.substr(
        brokerPath.find_last_of('/') == std::string::npos ? 0 : brokerPath.find_last_of('/') + 1);
    Put("*** Trace level 3, log " + name + " ***");
    for (size_t i = 0; i < m_servers.size(); ++i) {
        Server& s = m_servers[i];
        int64_t up = t + 2000 + (int64_t)i * 150;
        WriteServerStartup(s, m_cal, up, ServerFileName(s) + ".log");
        Header("HandleServerRequest(): On Request -", up + 200);
        Put("ID : " + s.word);
        Put("Type: On Server Register");
        Put("Action : process");
        s.busyUntil = up + 200;
    }
    Schedule(t + 5000 + m_rng.Range(100, 900), kArrival);
    Schedule(t + 65000, kStatus);
    Schedule(t + 80000, kShutdownTemp);

    while (Written() < bytes && !m_events.empty()) {
        Event e = m_events.top();
        m_events.pop();
        int day = (int)(e.time / kDayMs);
        if (day != m_lastDay) {
            m_lastDay = day;
            Put("*** Date changed to " + m_cal.Date(e.time) + " ***");
        }
        switch (e.kind) {
            case kArrival:
                Arrival(e.time);
                break;
            case kServerFree:
                ServerFree(e.time, e.arg);
                break;
            case kProcessDies: {
                Server& s = m_servers[e.arg];
                Line() += "MonitorServers() - On Process Dies - ";
                AppendClock(Line(), e.time);
                End();
                Put("ID : " + s.word);
                break;
            }
            case kServerRestart: {
                Server& s = m_servers[e.arg];
                WriteServerStartup(s, m_cal, e.time, ServerFileName(s) + ".log");
                Header("HandleServerRequest(): On Request -", e.time + 200);
                Put("ID : " + s.word);
                Put("Type: On Server Register");
                Put("Action : process");
                s.down = false;
                s.busyUntil = e.time + 200;
                Schedule(e.time + 201, kServerFree, e.arg);
                break;
            }
            case kStatus:
                Status(e.time);
                Schedule(e.time + 300000, kStatus);
                break;
            case kShutdownTemp:
                Header("ShutdownTempServers(): On Request -", e.time);
                Put("No temporary servers to stop");
                Schedule(e.time + 1800000, kShutdownTemp);
                break;
            case kUnregister: {
                Client& c = m_clients[e.arg];
                Line() += "HandleClientEvent(): On Client Unregister - ";
                AppendClock(Line(), e.time);
                End();
                Put(ClientLine(c, c.session - 1));
                break;
            }
        }
    }

    bool ok = true;
    if (!m_broker.Close()) {
        std::fprintf(stderr, "loggen: cannot write %s: %s\n", brokerPath.c_str(),
                     std::strerror(m_broker.Error()));
        ok = false;
    }
    for (Server& s : m_servers) {
        if (!s.log->Close()) {
            std::fprintf(stderr, "loggen: cannot write %s: %s\n", s.log->Path().c_str(),
                         std::strerror(s.log->Error()));
            ok = false;
        }
    }
    return ok ? 0 : 1;
}

// ---------------------------------------------------------------------------------------------------
int Usage() {
    std::fprintf(stderr,
                 "usage: loggen qserver <output> <megabytes> [seed]\n"
                 "       loggen qbroker <output> <megabytes> [seed]\n"
                 "       loggen set <folder> <megabytes> [seed]\n");
    return 2;
}

bool ParseMegabytes(const char* text, double& mb) {
    char* end = nullptr;
    errno = 0;
    mb = std::strtod(text, &end);
    return end != text && *end == '\0' && errno == 0 && std::isfinite(mb) && mb > 0 && mb <= 1024.0 * 1024.0;
}

bool ParseSeed(const char* text, uint64_t& seed) {
    size_t n = std::strlen(text);
    auto r = std::from_chars(text, text + n, seed, 10);
    return n > 0 && r.ec == std::errc() && r.ptr == text + n;
}

bool MakeFolder(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    return ::mkdir(path.c_str(), 0755) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc > 5)
        return Usage();
    std::string mode = argv[1];
    double mb = 0;
    uint64_t seed = 1;
    if ((mode != "qserver" && mode != "qbroker" && mode != "set") || !*argv[2] ||
        !ParseMegabytes(argv[3], mb) || (argc == 5 && !ParseSeed(argv[4], seed)))
        return Usage();
    uint64_t bytes = (uint64_t)(mb * 1024 * 1024);
    if (bytes == 0)
        bytes = 1;
    std::string out = argv[2];
    if (mode == "qserver")
        return GenerateQServer(out, bytes, seed);
    if (mode == "qbroker") {
        BrokerSimulation sim(seed, false);
        return sim.Run(out, "", bytes);
    }
    while (out.size() > 1 && out.back() == '/')
        out.pop_back();
    if (!MakeFolder(out)) {
        std::fprintf(stderr, "loggen: cannot make the folder %s\n", out.c_str());
        return 1;
    }
    BrokerSimulation sim(seed, true);
    Calendar cal;
    return sim.Run(out + "/" + cal.Compact(0) + "QBroker.log", out, bytes);
}
