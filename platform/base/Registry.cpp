#include "platform/base/Registry.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <pwd.h>
#include <set>
#include <string>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/base/HandleTable.h"

namespace {

// Windows' limits on names; a file larger than kMaxFileSize is not loaded, so none is ever written.
constexpr size_t kMaxKeyNameLength = 255;
// Levels below a root, as on Windows; deeper trees would also make every key line (which repeats the
// whole path) and the recursive copies grow without bound.
constexpr size_t kMaxKeyDepth = 512;
constexpr size_t kMaxValueNameLength = 16383;
constexpr size_t kMaxFileSize = size_t(256) << 20;
constexpr const char* kHeader = "REGEDIT4";

// ---------------------------------------------------------------------------------------------------
// Names

// Keys sort as Windows sorts them: by the upper-cased name.
int CompareNames(std::string_view a, std::string_view b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char ca = (unsigned char)AsciiUpper(a[i]);
        unsigned char cb = (unsigned char)AsciiUpper(b[i]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

struct NameLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return CompareNames(a, b) < 0; }
};

const char* const kRootNames[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",     "HKEY_LOCAL_MACHINE",
                                  "HKEY_USERS",        "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG",
                                  "HKEY_DYN_DATA"};
constexpr size_t kRootCount = sizeof kRootNames / sizeof kRootNames[0];

// Index of a predefined key handle, or -1.
int RootIndex(HKEY key) {
    uintptr_t v = (uintptr_t)key;
    uintptr_t first = (uintptr_t)HKEY_CLASSES_ROOT;
    if (v < first || v - first >= kRootCount)
        return -1;
    return (int)(v - first);
}

const char* CanonicalRootName(std::string_view name) {
    for (const char* root : kRootNames)
        if (CompareNames(name, root) == 0)
            return root;
    return nullptr;
}

bool NameHasLineBreak(std::string_view name) {
    return name.find_first_of("\r\n") != std::string_view::npos;
}

// Splits a sub-key path at backslashes. One trailing backslash is allowed; an empty component is not.
LONG SplitSubKey(LPCSTR subKey, std::vector<std::string>& out) {
    out.clear();
    if (!subKey || !*subKey)
        return ERROR_SUCCESS;
    std::string_view s(subKey);
    if (s.back() == '\\')
        s.remove_suffix(1);
    size_t start = 0;
    for (;;) {
        size_t end = s.find('\\', start);
        std::string_view part =
            s.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (part.empty())
            return ERROR_BAD_PATHNAME;
        if (part.size() > kMaxKeyNameLength || NameHasLineBreak(part))
            return ERROR_INVALID_PARAMETER;
        out.emplace_back(part);
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return ERROR_SUCCESS;
}

// ---------------------------------------------------------------------------------------------------
// The tree

struct Value {
    std::string name;  // empty: the key's default value
    DWORD type = REG_NONE;
    std::string data;
};

struct Key {
    std::vector<Value> values;  // in the order first set
    std::map<std::string, std::unique_ptr<Key>, NameLess> subkeys;

    Value* FindValue(std::string_view name) {
        auto it = m_valueIndex.find(name);
        return it == m_valueIndex.end() ? nullptr : &values[it->second];
    }
    const Value* FindValue(std::string_view name) const { return const_cast<Key*>(this)->FindValue(name); }
    Key* FindSubkey(std::string_view name) const {
        auto it = subkeys.find(name);
        return it == subkeys.end() ? nullptr : it->second.get();
    }
    Key& Subkey(std::string_view name) {
        auto it = subkeys.find(name);
        if (it == subkeys.end())
            it = subkeys.emplace(std::string(name), std::make_unique<Key>()).first;
        return *it->second;
    }
    void SetValue(std::string_view name, DWORD type, std::string data) {
        Value* v = FindValue(name);
        if (!v) {
            m_valueIndex.emplace(std::string(name), values.size());
            values.push_back(Value{std::string(name), type, std::string()});
            v = &values.back();
        }
        v->type = type;
        v->data = std::move(data);
    }
    std::unique_ptr<Key> Clone() const {
        auto copy = std::make_unique<Key>();
        copy->values = values;
        copy->m_valueIndex = m_valueIndex;
        for (const auto& [name, sub] : subkeys)
            copy->subkeys.emplace(name, sub->Clone());
        return copy;
    }
    bool DeleteValue(std::string_view name) {
        auto it = m_valueIndex.find(name);
        if (it == m_valueIndex.end())
            return false;
        size_t index = it->second;
        m_valueIndex.erase(it);
        values.erase(values.begin() + (ptrdiff_t)index);
        for (auto& entry : m_valueIndex)
            if (entry.second > index)
                --entry.second;
        return true;
    }

private:
    std::map<std::string, size_t, NameLess> m_valueIndex;  // case-blind name -> position in values
};

// The whole registry: the top key's sub-keys are the predefined roots, always present.
std::unique_ptr<Key> NewTree() {
    auto top = std::make_unique<Key>();
    for (const char* root : kRootNames)
        top->Subkey(root);
    return top;
}

// The key at a path (first component a root name), or null.
Key* FindKey(const Key& top, const std::vector<std::string>& path) {
    Key* k = const_cast<Key*>(&top);
    for (const std::string& part : path) {
        k = k->FindSubkey(part);
        if (!k)
            return nullptr;
    }
    return k;
}

// ---------------------------------------------------------------------------------------------------
// Reading the file

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// 1 to 8 hex digits, nothing else.
bool ParseHex32(std::string_view s, DWORD& out) {
    if (s.empty() || s.size() > 8)
        return false;
    DWORD v = 0;
    for (char c : s) {
        int d = HexDigit(c);
        if (d < 0)
            return false;
        v = (v << 4) | (DWORD)d;
    }
    out = v;
    return true;
}

class Parser {
public:
    explicit Parser(std::string_view text) : m_text(text) {}

    // Fills the tree; on failure says why in m_error.
    bool Parse(Key& top) {
        std::string_view line;
        if (!NextLine(line))
            return true;  // an empty file is an empty registry
        if (line != std::string_view(kHeader))
            return Fail("the first line is not \"REGEDIT4\"");
        Key* current = nullptr;
        while (NextLine(line)) {
            if (line.empty() || line.front() == ';')
                continue;
            if (line.front() == '[') {
                current = ParseKeyLine(top, line);
                if (!current)
                    return false;
            } else if (line.front() == '"' || line.front() == '@') {
                if (!current)
                    return Fail("a value before the first key");
                if (!ParseValueLine(*current, line))
                    return false;
            } else {
                return Fail("a line that is neither a key nor a value");
            }
        }
        return true;
    }

    const std::string& Error() const { return m_error; }

private:
    bool NextLine(std::string_view& line) {
        if (m_pos >= m_text.size())
            return false;
        size_t nl = m_text.find('\n', m_pos);
        size_t end = nl == std::string_view::npos ? m_text.size() : nl;
        line = Trim(m_text.substr(m_pos, end - m_pos));
        m_pos = nl == std::string_view::npos ? m_text.size() : nl + 1;
        ++m_line;
        return true;
    }

    bool Fail(const char* what) {
        m_error = FormatString("line %zu: %s", m_line, what);
        return false;
    }

    Key* ParseKeyLine(Key& top, std::string_view line) {
        if (line.size() < 2 || line.back() != ']') {
            Fail("a key line without its closing ']'");
            return nullptr;
        }
        std::string_view path = line.substr(1, line.size() - 2);
        std::vector<std::string_view> parts;
        size_t start = 0;
        for (;;) {
            size_t end = path.find('\\', start);
            std::string_view part =
                path.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
            if (part.empty() || part.size() > kMaxKeyNameLength) {
                Fail("a key name that is empty or too long");
                return nullptr;
            }
            parts.push_back(part);
            if (parts.size() > kMaxKeyDepth + 1) {
                Fail("a key nested deeper than 512 levels");
                return nullptr;
            }
            if (end == std::string_view::npos)
                break;
            start = end + 1;
        }
        const char* root = CanonicalRootName(parts.front());
        if (!root) {
            Fail("a key outside the predefined roots");
            return nullptr;
        }
        Key* k = &top.Subkey(root);
        for (size_t i = 1; i < parts.size(); ++i)
            k = &k->Subkey(parts[i]);
        return k;
    }

    // A quoted text with \\ and \" escapes; s starts at the opening quote. Moves s past the closing one.
    bool ParseQuoted(std::string_view& s, std::string& out) {
        out.clear();
        size_t i = 1;
        for (; i < s.size(); ++i) {
            char c = s[i];
            if (c == '"')
                break;
            if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"'))
                c = s[++i];
            out += c;
        }
        if (i >= s.size())
            return Fail("a text without its closing quote");
        s.remove_prefix(i + 1);
        return true;
    }

    bool ParseValueLine(Key& key, std::string_view line) {
        std::string name;
        if (line.front() == '@') {
            line.remove_prefix(1);
        } else {
            if (!ParseQuoted(line, name))
                return false;
            if (name.size() > kMaxValueNameLength)
                return Fail("a value name that is too long");
        }
        line = Trim(line);
        if (line.empty() || line.front() != '=')
            return Fail("a value name without '='");
        line = Trim(line.substr(1));

        if (!line.empty() && line.front() == '"') {
            std::string text;
            if (!ParseQuoted(line, text))
                return false;
            if (!Trim(line).empty())
                return Fail("text after a string value");
            text += '\0';
            key.SetValue(name, REG_SZ, std::move(text));
            return true;
        }
        if (line.starts_with("dword:")) {
            DWORD v = 0;
            if (!ParseHex32(line.substr(6), v))
                return Fail("a dword that is not 1 to 8 hex digits");
            std::string data(4, '\0');
            for (int i = 0; i < 4; ++i)
                data[(size_t)i] = (char)((v >> (8 * i)) & 0xff);
            key.SetValue(name, REG_DWORD, std::move(data));
            return true;
        }
        DWORD type = REG_BINARY;
        if (line.starts_with("hex:")) {
            line.remove_prefix(4);
        } else if (line.starts_with("hex(")) {
            size_t close = line.find("):");
            if (close == std::string_view::npos || !ParseHex32(line.substr(4, close - 4), type))
                return Fail("a bad value type in hex(...)");
            line.remove_prefix(close + 2);
        } else {
            return Fail("a value that is neither a string, a dword nor hex bytes");
        }
        std::string list(line);
        while (!list.empty() && list.back() == '\\') {
            list.pop_back();
            std::string_view next;
            if (!NextLine(next))
                return Fail("the file ends inside a value");
            list += next;
        }
        std::string data;
        if (!ParseHexBytes(list, data))
            return false;
        key.SetValue(name, type, std::move(data));
        return true;
    }

    // Bytes of one or two hex digits separated by commas, blanks allowed around them.
    bool ParseHexBytes(std::string_view list, std::string& out) {
        list = Trim(list);
        if (list.empty())
            return true;
        out.reserve(list.size() / 3 + 1);
        size_t i = 0, n = list.size();
        auto skipBlanks = [&] {
            while (i < n && (list[i] == ' ' || list[i] == '\t'))
                ++i;
        };
        for (;;) {
            skipBlanks();
            int hi = i < n ? HexDigit(list[i]) : -1;
            if (hi < 0)
                return Fail("a bad hex byte");
            ++i;
            int lo = i < n ? HexDigit(list[i]) : -1;
            if (lo >= 0)
                ++i;
            out += (char)(lo >= 0 ? hi * 16 + lo : hi);
            skipBlanks();
            if (i == n)
                return true;
            if (list[i] != ',')
                return Fail("a bad hex byte");
            ++i;
        }
    }

    std::string_view m_text;
    size_t m_pos = 0;
    size_t m_line = 0;
    std::string m_error;
};

// ---------------------------------------------------------------------------------------------------
// Writing the file

void AppendQuoted(std::string& out, std::string_view s) {
    out += '"';
    for (char c : s) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    out += '"';
}

// A REG_SZ that reads back the same from "...": one terminating zero, no other zero, no line break.
bool IsPlainString(const Value& v) {
    if (v.type != REG_SZ || v.data.empty() || v.data.back() != '\0')
        return false;
    std::string_view text(v.data.data(), v.data.size() - 1);
    return text.find('\0') == std::string_view::npos && !NameHasLineBreak(text);
}

void AppendValue(std::string& out, const Value& v) {
    size_t lineStart = out.size();
    if (v.name.empty())
        out += '@';
    else
        AppendQuoted(out, v.name);
    out += '=';
    if (IsPlainString(v)) {
        AppendQuoted(out, std::string_view(v.data.data(), v.data.size() - 1));
    } else if (v.type == REG_DWORD && v.data.size() == 4) {
        DWORD d = 0;
        for (int i = 3; i >= 0; --i)
            d = (d << 8) | (unsigned char)v.data[(size_t)i];
        out += FormatString("dword:%08x", (unsigned)d);
    } else {
        out += v.type == REG_BINARY ? std::string("hex:") : FormatString("hex(%x):", (unsigned)v.type);
        static const char digits[] = "0123456789abcdef";
        for (size_t i = 0; i < v.data.size(); ++i) {
            unsigned char b = (unsigned char)v.data[i];
            out += digits[b >> 4];
            out += digits[b & 15];
            if (i + 1 == v.data.size())
                break;
            out += ',';
            if (out.size() - lineStart >= 76) {
                out += "\\\n  ";
                lineStart = out.size() - 2;
            }
        }
    }
    out += '\n';
}

void AppendKey(std::string& out, std::string& path, const Key& key, bool isRoot) {
    if (!isRoot || !key.values.empty()) {
        out += "\n[";
        out += path;
        out += "]\n";
        for (const Value& v : key.values)
            AppendValue(out, v);
    }
    for (const auto& [name, sub] : key.subkeys) {
        size_t len = path.size();
        path += '\\';
        path += name;
        AppendKey(out, path, *sub, false);
        path.resize(len);
    }
}

// Every key is written (a root only when it holds values), depth first in sorted order.
std::string Serialize(const Key& top) {
    std::string out = kHeader;
    out += '\n';
    for (const auto& [name, root] : top.subkeys) {
        std::string path = name;
        AppendKey(out, path, *root, true);
    }
    return out;
}

// ---------------------------------------------------------------------------------------------------
// The file on disk

struct Files {
    std::string path, lock, bad, temp, dir;
};

Files CurrentFiles() {
    Files f;
    f.path = RegistryFilePath().str();
    if (f.path.empty())
        return f;
    f.lock = f.path + ".lock";
    f.bad = f.path + ".bad";
    f.temp = f.path + ".tmp";
    size_t slash = f.path.rfind('/');
    f.dir = slash == std::string::npos ? "." : slash == 0 ? "/" : f.path.substr(0, slash);
    return f;
}

// Creates the folder and its missing parents, each with mode 0700.
bool MakeFolders(const std::string& dir) {
    struct stat st {};
    if (stat(dir.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return true;
        errno = ENOTDIR;
        return false;
    }
    for (size_t pos = 1; pos <= dir.size(); ++pos) {
        if (pos < dir.size() && dir[pos] != '/')
            continue;
        std::string part = dir.substr(0, pos);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

class FileLock {
public:
    FileLock() = default;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock() { Unlock(); }

    // exclusive: for a change (creates the lock file); shared: for a read (without a lock when the
    // lock file cannot be had: a read sees a whole file anyway, as every write is a rename).
    bool Lock(const std::string& path, bool exclusive) {
        Unlock();
        m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_fd < 0)
            m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (m_fd < 0)
            return false;
        int rc;
        do {
            rc = flock(m_fd, exclusive ? LOCK_EX : LOCK_SH);
        } while (rc != 0 && errno == EINTR);
        if (rc != 0) {
            int err = errno;
            Unlock();
            errno = err;
            return false;
        }
        return true;
    }
    void Unlock() {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd = -1;
};

// What the file holds. error != 0: it could not be read. damaged: it could not be parsed.
struct Snapshot {
    LONG error = ERROR_SUCCESS;
    bool exists = false;
    bool damaged = false;
    std::string reason;
    std::shared_ptr<const std::string> bytes;
    std::shared_ptr<const Key> tree;  // an empty registry when the file is missing or damaged
};

std::mutex g_storeMutex;
std::set<std::string> g_reportedStuck;  // damaged files that could not be set aside, already reported

// The last file read or written. A read reuses its tree when the bytes on disk are the same bytes, so
// the file is read at every call but parsed only when it changed (time stamps are too coarse to tell).
struct Cache {
    std::string path;
    std::shared_ptr<const std::string> bytes;
    std::shared_ptr<const Key> tree;
};
Cache g_cache;

void RememberFile(const std::string& path, std::shared_ptr<const std::string> bytes,
                  std::shared_ptr<const Key> tree) {
    std::lock_guard<std::mutex> guard(g_storeMutex);
    g_cache = Cache{path, std::move(bytes), std::move(tree)};
}

// Fills the snapshot from the cache when it holds these bytes of this file.
bool FromCache(const std::string& path, const std::string& bytes, Snapshot& s) {
    std::lock_guard<std::mutex> guard(g_storeMutex);
    if (!g_cache.tree || g_cache.path != path || *g_cache.bytes != bytes)
        return false;
    s.bytes = g_cache.bytes;
    s.tree = g_cache.tree;
    return true;
}

// Reads the whole file; false with the error when it cannot be read.
bool ReadBytes(const std::string& path, Snapshot& s, std::string& bytes) {
    // Non-blocking, so that a FIFO in the file's place cannot hang the program; it is refused below.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno != ENOENT)
            s.error = (LONG)WinErrorFromErrno(errno);
        return s.error == ERROR_SUCCESS;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        s.error = S_ISDIR(st.st_mode) ? ERROR_ACCESS_DENIED : ERROR_CANTREAD;
        ::close(fd);
        return false;
    }
    s.exists = true;
    bytes.resize(std::min((size_t)st.st_size, kMaxFileSize + 1));
    size_t got = 0;
    while (got <= kMaxFileSize) {
        if (got == bytes.size())
            bytes.resize(got + 4096);  // the file may have grown
        ssize_t n = ::read(fd, &bytes[got], bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            s.error = (LONG)WinErrorFromErrno(errno);
            ::close(fd);
            return false;
        }
        if (n == 0)
            break;
        got += (size_t)n;
    }
    ::close(fd);
    bytes.resize(got);
    return true;
}

Snapshot ReadFile(const std::string& path) {
    Snapshot s;
    std::string bytes;
    if (!ReadBytes(path, s, bytes))
        return s;
    if (!s.exists) {
        s.tree = NewTree();
        return s;
    }
    if (FromCache(path, bytes, s))
        return s;
    auto tree = NewTree();
    if (bytes.size() > kMaxFileSize) {
        s.damaged = true;
        s.reason = "it is larger than 256 MB";
    } else {
        Parser parser(bytes);
        if (!parser.Parse(*tree)) {
            s.damaged = true;
            s.reason = parser.Error();
        }
    }
    s.bytes = std::make_shared<const std::string>(std::move(bytes));
    if (s.damaged) {
        s.tree = NewTree();
    } else {
        s.tree = std::move(tree);
        RememberFile(path, s.bytes, s.tree);
    }
    return s;
}

// Says once per file that a damaged file stays where it is.
void ReportStuck(const Files& f, const Snapshot& s, int err) {
    std::lock_guard<std::mutex> guard(g_storeMutex);
    if (g_reportedStuck.insert(f.path).second)
        fprintf(stderr,
                "%s: the registry file %s is damaged (%s) and could not be moved to %s (%s); the settings "
                "start from defaults and are not saved\n",
                program_invocation_short_name, f.path.c_str(), s.reason.c_str(), f.bad.c_str(),
                strerror(err));
}

// Moves a damaged file aside (called with the exclusive lock held). FALSE when it could not be moved:
// the registry then runs on defaults and changes are refused, so the damaged file is not overwritten.
bool SetAside(const Files& f, const Snapshot& s) {
    // An earlier damaged file already kept aside stays: this one goes to the first free ".bad.N".
    std::string bad = f.bad;
    struct stat st {};
    for (int n = 1; ::lstat(bad.c_str(), &st) == 0 && n < 100; ++n)
        bad = f.bad + "." + std::to_string(n);
    if (::rename(f.path.c_str(), bad.c_str()) != 0) {
        ReportStuck(f, s, errno);
        return false;
    }
    fprintf(
        stderr,
        "%s: the registry file %s is damaged (%s); it was moved to %s and the settings start from defaults\n",
        program_invocation_short_name, f.path.c_str(), s.reason.c_str(), bad.c_str());
    return true;
}

void (*g_writeObserver)(char step) = nullptr;

void Observe(char step) {
    if (g_writeObserver)
        g_writeObserver(step);
}

// Writes in chunks of 64 KB.
bool WriteAll(int fd, const std::string& bytes) {
    constexpr size_t kChunk = 64 * 1024;
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, std::min(kChunk, bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += (size_t)n;
        Observe('c');
    }
    return true;
}

void SyncFolder(const std::string& dir) {
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    fsync(fd);
    ::close(fd);
}

// Temporary file, fsync, rename over the registry file, fsync the folder (exclusive lock held).
LONG WriteAtomically(const Files& f, const std::string& bytes) {
    if (bytes.size() > kMaxFileSize)
        return ERROR_CANTWRITE;
    ::unlink(f.temp.c_str());  // left by a writer that died: no other writer can be busy now
    int fd = ::open(f.temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return (LONG)WinErrorFromErrno(errno);
    bool ok = WriteAll(fd, bytes) && fsync(fd) == 0;
    int err = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok)
        Observe('s');
    if (ok && ::rename(f.temp.c_str(), f.path.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(f.temp.c_str());
        return err == ENOSPC || err == EIO ? ERROR_CANTWRITE : (LONG)WinErrorFromErrno(err);
    }
    Observe('r');
    SyncFolder(f.dir);
    return ERROR_SUCCESS;
}

// Runs fn over the registry as it is on disk now.
LONG ReadStore(const std::function<LONG(const Key&)>& fn) {
    Files f = CurrentFiles();
    if (f.path.empty())
        return fn(*NewTree());
    FileLock lock;
    lock.Lock(f.lock, false);
    Snapshot s = ReadFile(f.path);
    if (s.damaged) {
        // Set aside under the exclusive lock, after a second look: someone may have mended it.
        lock.Unlock();
        if (lock.Lock(f.lock, true)) {
            s = ReadFile(f.path);
            if (s.damaged)
                SetAside(f, s);
        } else {
            ReportStuck(f, s, errno);
        }
    }
    if (s.error != ERROR_SUCCESS)
        return s.error;
    return fn(*s.tree);
}

// Applies fn to the registry on disk and writes the result through (only when something changed).
LONG ChangeStore(const std::function<LONG(Key&)>& fn) {
    Files f = CurrentFiles();
    if (f.path.empty())
        return ERROR_PATH_NOT_FOUND;
    if (!MakeFolders(f.dir))
        return (LONG)WinErrorFromErrno(errno);
    FileLock lock;
    if (!lock.Lock(f.lock, true))
        return (LONG)WinErrorFromErrno(errno);
    Snapshot s = ReadFile(f.path);
    if (s.error != ERROR_SUCCESS)
        return s.error;
    if (s.damaged) {
        if (!SetAside(f, s))
            return ERROR_BADDB;
        s.exists = false;
    }
    std::unique_ptr<Key> tree = s.tree->Clone();
    LONG rc = fn(*tree);
    if (rc != ERROR_SUCCESS)
        return rc;
    auto bytes = std::make_shared<const std::string>(Serialize(*tree));
    if (s.exists && *bytes == *s.bytes)
        return ERROR_SUCCESS;
    rc = WriteAtomically(f, *bytes);
    if (rc == ERROR_SUCCESS)
        RememberFile(f.path, std::move(bytes), std::move(tree));
    return rc;
}

// ---------------------------------------------------------------------------------------------------
// Handles

struct OpenKey {
    std::vector<std::string> path;  // root name first
    REGSAM access = 0;
};

LockedHandleTable<OpenKey, HKEY> g_handles{0x100};

LONG ResolveHandle(HKEY key, OpenKey& out) {
    int root = RootIndex(key);
    if (root >= 0) {
        out.path.assign(1, kRootNames[root]);
        out.access = KEY_ALL_ACCESS;
        return ERROR_SUCCESS;
    }
    std::optional<OpenKey> open = g_handles.Get(key);
    if (!open)
        return ERROR_INVALID_HANDLE;
    out = std::move(*open);
    return ERROR_SUCCESS;
}

// The open key a handle names and the parts of a sub-key path below it, within the depth limit.
LONG ResolveSubKey(HKEY key, LPCSTR subKey, OpenKey& base, std::vector<std::string>& parts) {
    LONG rc = ResolveHandle(key, base);
    if (rc != ERROR_SUCCESS)
        return rc;
    if ((rc = SplitSubKey(subKey, parts)) != ERROR_SUCCESS)
        return rc;
    if (base.path.size() - 1 + parts.size() > kMaxKeyDepth)
        return ERROR_INVALID_PARAMETER;
    return ERROR_SUCCESS;
}

HKEY NewHandle(std::vector<std::string> path, REGSAM access) {
    return g_handles.Add(OpenKey{std::move(path), access});
}

// The key of an open handle in a tree (ERROR_KEY_DELETED when it is gone), checking an access right.
LONG KeyOf(const Key& top, const OpenKey& open, REGSAM need, Key*& out) {
    if (need && (open.access & need) != need)
        return ERROR_ACCESS_DENIED;
    out = FindKey(top, open.path);
    return out ? ERROR_SUCCESS : ERROR_KEY_DELETED;
}

// The key's path with the names' stored case.
std::vector<std::string> StoredPath(const Key& top, const std::vector<std::string>& path) {
    std::vector<std::string> out;
    const Key* k = &top;
    for (const std::string& part : path) {
        auto it = k->subkeys.find(part);
        if (it == k->subkeys.end())
            return path;
        out.push_back(it->first);
        k = it->second.get();
    }
    return out;
}

// Copies data to a caller's buffer by the Windows rules: no buffer asks the size; too small a buffer
// answers ERROR_MORE_DATA with the size needed.
LONG CopyData(const std::string& data, LPBYTE buffer, LPDWORD size) {
    if (buffer && !size)
        return ERROR_INVALID_PARAMETER;
    if (!size)
        return ERROR_SUCCESS;
    DWORD have = *size;
    *size = (DWORD)data.size();
    if (!buffer)
        return ERROR_SUCCESS;
    if (have < data.size())
        return ERROR_MORE_DATA;
    if (!data.empty())
        memcpy(buffer, data.data(), data.size());
    return ERROR_SUCCESS;
}

// Copies a name with its terminating zero; the count is in characters, without the zero on return.
LONG CopyName(const std::string& name, LPSTR buffer, LPDWORD count) {
    if (!buffer || !count)
        return ERROR_INVALID_PARAMETER;
    if (*count <= name.size())
        return ERROR_MORE_DATA;
    memcpy(buffer, name.c_str(), name.size() + 1);
    *count = (DWORD)name.size();
    return ERROR_SUCCESS;
}

void ClearTime(PFILETIME time) {
    if (time)
        *time = FILETIME{0, 0};
}

}  // namespace

// -------------------------------------------------------------------------------------------------------
// The API

CString RegistryFilePath() {
    const char* explicitPath = getenv("VELTRIN_REGISTRY");
    if (explicitPath && *explicitPath)
        return CString(explicitPath);
    const char* config = getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/')
        return CString(std::string(config) + "/veltrin/registry.reg");
    std::string home;
    const char* envHome = getenv("HOME");
    if (envHome && *envHome) {
        home = envHome;
    } else {
        struct passwd pw {};
        struct passwd* found = nullptr;
        char buffer[4096];
        if (getpwuid_r(getuid(), &pw, buffer, sizeof buffer, &found) == 0 && found && found->pw_dir)
            home = found->pw_dir;
    }
    if (home.empty())
        return CString();
    return CString(home + "/.config/veltrin/registry.reg");
}

void RegistrySetWriteObserverForTesting(void (*observer)(char step)) {
    g_writeObserver = observer;
}

LONG RegOpenKeyEx(HKEY hKey, LPCSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult) {
    if (!phkResult)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    OpenKey base;
    std::vector<std::string> parts;
    LONG rc = ResolveSubKey(hKey, lpSubKey, base, parts);
    if (rc != ERROR_SUCCESS)
        return rc;
    std::vector<std::string> path;
    rc = ReadStore([&](const Key& top) -> LONG {
        if (!FindKey(top, base.path))
            return ERROR_KEY_DELETED;
        path = base.path;
        path.insert(path.end(), parts.begin(), parts.end());
        if (!FindKey(top, path))
            return ERROR_FILE_NOT_FOUND;
        path = StoredPath(top, path);
        return ERROR_SUCCESS;
    });
    if (rc == ERROR_SUCCESS)
        *phkResult = NewHandle(std::move(path), samDesired);
    return rc;
}

LONG RegCreateKeyEx(HKEY hKey, LPCSTR lpSubKey, DWORD, LPSTR, DWORD, REGSAM samDesired,
                    const LPSECURITY_ATTRIBUTES, PHKEY phkResult, LPDWORD lpdwDisposition) {
    if (!phkResult || !lpSubKey)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    OpenKey base;
    std::vector<std::string> parts;
    LONG rc = ResolveSubKey(hKey, lpSubKey, base, parts);
    if (rc != ERROR_SUCCESS)
        return rc;
    std::vector<std::string> path = base.path;
    path.insert(path.end(), parts.begin(), parts.end());

    // Most calls find the key in place: no need for the exclusive lock then.
    bool exists = false;
    rc = ReadStore([&](const Key& top) -> LONG {
        if (!FindKey(top, base.path))
            return ERROR_KEY_DELETED;
        exists = FindKey(top, path) != nullptr;
        if (exists)
            path = StoredPath(top, path);
        return ERROR_SUCCESS;
    });
    if (rc != ERROR_SUCCESS)
        return rc;
    bool created = false;
    if (!exists) {
        rc = ChangeStore([&](Key& top) -> LONG {
            Key* k = nullptr;
            LONG r = KeyOf(top, base, 0, k);
            if (r != ERROR_SUCCESS)
                return r;
            for (const std::string& part : parts) {
                Key* next = k->FindSubkey(part);
                if (!next) {
                    if (!(base.access & KEY_CREATE_SUB_KEY))
                        return ERROR_ACCESS_DENIED;
                    next = &k->Subkey(part);
                    created = true;
                }
                k = next;
            }
            path = StoredPath(top, path);
            return ERROR_SUCCESS;
        });
        if (rc != ERROR_SUCCESS)
            return rc;
    }
    if (lpdwDisposition)
        *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    *phkResult = NewHandle(std::move(path), samDesired);
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY hKey) {
    if (RootIndex(hKey) >= 0)
        return ERROR_SUCCESS;
    return g_handles.Take(hKey) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG RegQueryValueEx(HKEY hKey, LPCSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData,
                     LPDWORD lpcbData) {
    OpenKey open;
    LONG rc = ResolveHandle(hKey, open);
    if (rc != ERROR_SUCCESS)
        return rc;
    if (lpData && !lpcbData)
        return ERROR_INVALID_PARAMETER;
    std::string_view name = lpValueName ? lpValueName : "";
    return ReadStore([&](const Key& top) -> LONG {
        Key* k = nullptr;
        LONG r = KeyOf(top, open, KEY_QUERY_VALUE, k);
        if (r != ERROR_SUCCESS)
            return r;
        const Value* v = k->FindValue(name);
        if (!v)
            return ERROR_FILE_NOT_FOUND;
        if (lpType)
            *lpType = v->type;
        return CopyData(v->data, lpData, lpcbData);
    });
}

LONG RegSetValueEx(HKEY hKey, LPCSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData, DWORD cbData) {
    OpenKey open;
    LONG rc = ResolveHandle(hKey, open);
    if (rc != ERROR_SUCCESS)
        return rc;
    std::string_view name = lpValueName ? lpValueName : "";
    if ((!lpData && cbData) || name.size() > kMaxValueNameLength || NameHasLineBreak(name))
        return ERROR_INVALID_PARAMETER;
    if ((open.access & KEY_SET_VALUE) == 0)
        return ERROR_ACCESS_DENIED;
    std::string data = cbData ? std::string((const char*)lpData, cbData) : std::string();
    return ChangeStore([&](Key& top) -> LONG {
        Key* k = nullptr;
        LONG r = KeyOf(top, open, KEY_SET_VALUE, k);
        if (r != ERROR_SUCCESS)
            return r;
        k->SetValue(name, dwType, data);
        return ERROR_SUCCESS;
    });
}

LONG RegDeleteValue(HKEY hKey, LPCSTR lpValueName) {
    OpenKey open;
    LONG rc = ResolveHandle(hKey, open);
    if (rc != ERROR_SUCCESS)
        return rc;
    if ((open.access & KEY_SET_VALUE) == 0)
        return ERROR_ACCESS_DENIED;
    std::string_view name = lpValueName ? lpValueName : "";
    return ChangeStore([&](Key& top) -> LONG {
        Key* k = nullptr;
        LONG r = KeyOf(top, open, KEY_SET_VALUE, k);
        if (r != ERROR_SUCCESS)
            return r;
        return k->DeleteValue(name) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    });
}

LONG RegDeleteKey(HKEY hKey, LPCSTR lpSubKey) {
    if (!lpSubKey)
        return ERROR_INVALID_PARAMETER;
    OpenKey open;
    LONG rc = ResolveHandle(hKey, open);
    if (rc != ERROR_SUCCESS)
        return rc;
    std::vector<std::string> parts;
    if ((rc = SplitSubKey(lpSubKey, parts)) != ERROR_SUCCESS)
        return rc;
    std::vector<std::string> path = open.path;
    path.insert(path.end(), parts.begin(), parts.end());
    if (path.size() < 2)
        return ERROR_ACCESS_DENIED;  // a predefined root
    std::string last = path.back();
    path.pop_back();
    return ChangeStore([&](Key& top) -> LONG {
        if (!FindKey(top, open.path))
            return ERROR_KEY_DELETED;
        Key* parent = FindKey(top, path);
        Key* victim = parent ? parent->FindSubkey(last) : nullptr;
        if (!victim)
            return ERROR_FILE_NOT_FOUND;
        if (!victim->subkeys.empty())
            return ERROR_ACCESS_DENIED;
        parent->subkeys.erase(parent->subkeys.find(last));
        return ERROR_SUCCESS;
    });
}

LONG RegEnumKeyEx(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName, LPDWORD, LPSTR lpClass,
                  LPDWORD lpcchClass, PFILETIME lpftLastWriteTime) {
    OpenKey open;
    LONG rc = ResolveHandle(hKey, open);
    if (rc != ERROR_SUCCESS)
        return rc;
    if (!lpName || !lpcchName)
        return ERROR_INVALID_PARAMETER;
    return ReadStore([&](const Key& top) -> LONG {
        Key* k = nullptr;
        LONG r = KeyOf(top, open, KEY_ENUMERATE_SUB_KEYS, k);
        if (r != ERROR_SUCCESS)
            return r;
        if (dwIndex >= k->subkeys.size())
            return ERROR_NO_MORE_ITEMS;
        auto it = k->subkeys.begin();
        std::advance(it, dwIndex);
        if ((r = CopyName(it->first, lpName, lpcchName)) != ERROR_SUCCESS)
            return r;
        if (lpClass && lpcchClass && *lpcchClass > 0) {
            lpClass[0] = '\0';
            *lpcchClass = 0;
        }
        ClearTime(lpftLastWriteTime);
        return ERROR_SUCCESS;
    });
}

LONG RegEnumValue(HKEY hKey, DWORD dwIndex, LPSTR lpValueName, LPDWORD lpcchValueName, LPDWORD,
                  LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
    OpenKey open;
    LONG rc = ResolveHandle(hKey, open);
    if (rc != ERROR_SUCCESS)
        return rc;
    if (!lpValueName || !lpcchValueName || (lpData && !lpcbData))
        return ERROR_INVALID_PARAMETER;
    return ReadStore([&](const Key& top) -> LONG {
        Key* k = nullptr;
        LONG r = KeyOf(top, open, KEY_QUERY_VALUE, k);
        if (r != ERROR_SUCCESS)
            return r;
        if (dwIndex >= k->values.size())
            return ERROR_NO_MORE_ITEMS;
        const Value& v = k->values[dwIndex];
        if ((r = CopyName(v.name, lpValueName, lpcchValueName)) != ERROR_SUCCESS)
            return r;
        if (lpType)
            *lpType = v.type;
        return CopyData(v.data, lpData, lpcbData);
    });
}

LONG RegQueryInfoKey(HKEY hKey, LPSTR lpClass, LPDWORD lpcchClass, LPDWORD, LPDWORD lpcSubKeys,
                     LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues,
                     LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                     PFILETIME lpftLastWriteTime) {
    OpenKey open;
    LONG rc = ResolveHandle(hKey, open);
    if (rc != ERROR_SUCCESS)
        return rc;
    return ReadStore([&](const Key& top) -> LONG {
        Key* k = nullptr;
        LONG r = KeyOf(top, open, KEY_QUERY_VALUE, k);
        if (r != ERROR_SUCCESS)
            return r;
        DWORD maxSub = 0, maxName = 0, maxData = 0;
        for (const auto& entry : k->subkeys)
            maxSub = std::max(maxSub, (DWORD)entry.first.size());
        for (const Value& v : k->values) {
            maxName = std::max(maxName, (DWORD)v.name.size());
            maxData = std::max(maxData, (DWORD)v.data.size());
        }
        if (lpClass && lpcchClass && *lpcchClass > 0)
            lpClass[0] = '\0';
        if (lpcchClass)
            *lpcchClass = 0;
        if (lpcSubKeys)
            *lpcSubKeys = (DWORD)k->subkeys.size();
        if (lpcbMaxSubKeyLen)
            *lpcbMaxSubKeyLen = maxSub;
        if (lpcbMaxClassLen)
            *lpcbMaxClassLen = 0;
        if (lpcValues)
            *lpcValues = (DWORD)k->values.size();
        if (lpcbMaxValueNameLen)
            *lpcbMaxValueNameLen = maxName;
        if (lpcbMaxValueLen)
            *lpcbMaxValueLen = maxData;
        if (lpcbSecurityDescriptor)
            *lpcbSecurityDescriptor = 0;
        ClearTime(lpftLastWriteTime);
        return ERROR_SUCCESS;
    });
}

LONG RegFlushKey(HKEY hKey) {
    OpenKey open;
    return ResolveHandle(hKey, open);
}

LONG RegConnectRegistry(LPCSTR lpMachineName, HKEY hKey, PHKEY phkResult) {
    if (!phkResult)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    if (lpMachineName && *lpMachineName)
        return ERROR_BAD_NETPATH;
    if (RootIndex(hKey) < 0)
        return ERROR_INVALID_HANDLE;
    *phkResult = hKey;
    return ERROR_SUCCESS;
}
