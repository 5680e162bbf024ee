#include "platform/base/RegistryFormat.h"

#include <algorithm>

#include "platform/base/Registry.h"
#include "platform/base/String.h"

namespace regfile {

const char* const kRootNames[7] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",     "HKEY_LOCAL_MACHINE",
                                   "HKEY_USERS",        "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG",
                                   "HKEY_DYN_DATA"};

// ---------------------------------------------------------------------------------------------------
// Names

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

const char* CanonicalRootName(std::string_view name) {
    for (const char* root : kRootNames)
        if (CompareNames(name, root) == 0)
            return root;
    return nullptr;
}

namespace {
bool HoldsLineBreakOrNul(std::string_view name) {
    return name.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}
}  // namespace

bool IsKeyNameAccepted(std::string_view name) {
    return !name.empty() && name.size() <= kMaxKeyNameLength && !HoldsLineBreakOrNul(name);
}

bool IsValueNameAccepted(std::string_view name) {
    return name.size() <= kMaxValueNameLength && !HoldsLineBreakOrNul(name);
}

// ---------------------------------------------------------------------------------------------------
// The tree

Value* Key::FindValue(std::string_view name) {
    auto it = m_valueIndex.find(name);
    return it == m_valueIndex.end() ? nullptr : &values[it->second];
}

Key* Key::FindSubkey(std::string_view name) const {
    auto it = subkeys.find(name);
    return it == subkeys.end() ? nullptr : it->second.get();
}

Key& Key::Subkey(std::string_view name) {
    auto it = subkeys.find(name);
    if (it == subkeys.end())
        it = subkeys.emplace(std::string(name), std::make_unique<Key>()).first;
    return *it->second;
}

void Key::SetValue(std::string_view name, DWORD type, std::string data) {
    Value* v = FindValue(name);
    if (!v) {
        m_valueIndex.emplace(std::string(name), values.size());
        values.push_back(Value{std::string(name), type, std::string()});
        v = &values.back();
    }
    v->type = type;
    v->data = std::move(data);
}

std::unique_ptr<Key> Key::Clone() const {
    auto copy = std::make_unique<Key>();
    copy->values = values;
    copy->m_valueIndex = m_valueIndex;
    for (const auto& [name, sub] : subkeys)
        copy->subkeys.emplace(name, sub->Clone());
    return copy;
}

bool Key::DeleteValue(std::string_view name) {
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

std::unique_ptr<Key> NewTree() {
    auto top = std::make_unique<Key>();
    for (const char* root : kRootNames)
        top->Subkey(root);
    return top;
}

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
// Reading

namespace {

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
    const std::vector<std::string>& Skipped() const { return m_skipped; }

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

    // A name as it can be shown on one line: control bytes as \xNN, cut after 80 bytes.
    static std::string Shown(std::string_view name) {
        std::string out;
        for (size_t i = 0; i < name.size() && i < 80; ++i) {
            unsigned char c = (unsigned char)name[i];
            out += c < 0x20 || c == 0x7f ? FormatString("\\x%02x", c) : std::string(1, (char)c);
        }
        if (name.size() > 80)
            out += "...";
        return out;
    }

    void Skip(const char* what, std::string_view name) {
        m_skipped.push_back(
            FormatString("line %zu: %s \"%s\" is a name the registry functions refuse (a line "
                         "break, a NUL or too long); skipped",
                         m_line, what, Shown(name).c_str()));
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
            if (part.empty()) {
                Fail("a key name that is empty");
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
        // A key no function could open is left out, and its values with it.
        for (size_t i = 1; i < parts.size(); ++i) {
            if (!IsKeyNameAccepted(parts[i])) {
                Skip("the key", path);
                return &m_discard;
            }
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

    bool ParseValueLine(Key& owner, std::string_view line) {
        std::string name;
        if (line.front() == '@') {
            line.remove_prefix(1);
        } else {
            if (!ParseQuoted(line, name))
                return false;
        }
        // A value no function could read or delete is read to its end and left out.
        const bool accepted = IsValueNameAccepted(name);
        if (!accepted && &owner != &m_discard)
            Skip("the value", name);
        Key& key = accepted ? owner : m_discard;
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
    std::vector<std::string> m_skipped;
    Key m_discard;  // takes the keys and values that are skipped
};

}  // namespace

ParseResult Parse(std::string_view text, Key& top) {
    Parser parser(text);
    ParseResult result;
    result.ok = parser.Parse(top);
    result.error = parser.Error();
    result.skipped = parser.Skipped();
    return result;
}

// ---------------------------------------------------------------------------------------------------
// Writing

namespace {

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
    return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
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

}  // namespace

std::string Serialize(const Key& top) {
    std::string out = kHeader;
    out += '\n';
    for (const auto& [name, root] : top.subkeys) {
        std::string path = name;
        AppendKey(out, path, *root, true);
    }
    return out;
}

}  // namespace regfile
