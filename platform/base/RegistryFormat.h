// The registry's ".reg" text format (REGEDIT4 keys and typed values) and the tree it describes: the
// name rules the registry functions and the parser share, parsing a text into a tree and writing a
// tree as text. Text in, text out: the store (Registry.cpp) reads and writes the file, locks it and
// replaces it atomically.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/Types.h"

namespace regfile {

// Windows' limits: a key name (one level), the levels below a root, a value name. Deeper trees would
// also make every key line (which repeats the whole path) and the recursive copies grow without bound.
constexpr size_t kMaxKeyNameLength = 255;
constexpr size_t kMaxKeyDepth = 512;
constexpr size_t kMaxValueNameLength = 16383;
constexpr const char* kHeader = "REGEDIT4";

// The predefined roots, in the order of their handles (HKEY_CLASSES_ROOT first).
extern const char* const kRootNames[7];
constexpr size_t kRootCount = 7;
// The root's name as written, found without regard to case; null when the name is no root.
const char* CanonicalRootName(std::string_view name);

// Keys sort as Windows sorts them: by the upper-cased name.
int CompareNames(std::string_view a, std::string_view b);
struct NameLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return CompareNames(a, b) < 0; }
};

// The names the registry functions accept, and so the only ones a file may hold: one level of a key
// name is 1 to 255 bytes without a line break or NUL; a value name (empty: the default value) is at
// most 16,383 bytes without a line break or NUL.
bool IsKeyNameAccepted(std::string_view name);
bool IsValueNameAccepted(std::string_view name);

struct Value {
    std::string name;  // empty: the key's default value
    DWORD type = 0;
    std::string data;
};

struct Key {
    std::vector<Value> values;  // in the order first set
    std::map<std::string, std::unique_ptr<Key>, NameLess> subkeys;

    Value* FindValue(std::string_view name);
    const Value* FindValue(std::string_view name) const { return const_cast<Key*>(this)->FindValue(name); }
    Key* FindSubkey(std::string_view name) const;
    // The sub-key of that name, created when missing.
    Key& Subkey(std::string_view name);
    void SetValue(std::string_view name, DWORD type, std::string data);
    bool DeleteValue(std::string_view name);
    std::unique_ptr<Key> Clone() const;

private:
    std::map<std::string, size_t, NameLess> m_valueIndex;  // case-blind name -> position in values
};

// The whole registry: the top key's sub-keys are the predefined roots, always present.
std::unique_ptr<Key> NewTree();
// The key at a path (first component a root name), or null.
Key* FindKey(const Key& top, const std::vector<std::string>& path);

struct ParseResult {
    bool ok = true;
    std::string error;                 // when not ok: why the text is damaged ("line N: ...")
    std::vector<std::string> skipped;  // a line each for keys and values whose names no function takes
};
// Fills the tree from a file's text. An empty text is an empty registry. A key line or value line
// naming what the registry functions refuse is skipped (a key line with its values) and said in
// `skipped`; the rest loads. Anything else that does not follow the format makes the whole text damaged.
ParseResult Parse(std::string_view text, Key& top);

// Every key is written (a root only when it holds values), depth first in sorted order.
std::string Serialize(const Key& top);

}  // namespace regfile
