// The ".reg" text format on its own: texts parsed into trees and trees written as texts, no file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/Registry.h"
#include "platform/base/RegistryFormat.h"

using namespace std::string_literals;

namespace {
// The values of the key at the path below HKEY_CURRENT_USER as "name=type:bytes"; "<none>" when the
// key is missing.
std::vector<std::string> ValuesAt(const regfile::Key& top, std::vector<std::string> path) {
    path.insert(path.begin(), "HKEY_CURRENT_USER");
    const regfile::Key* key = regfile::FindKey(top, path);
    if (!key)
        return {"<none>"};
    std::vector<std::string> out;
    for (const regfile::Value& v : key->values)
        out.push_back(v.name + "=" + std::to_string(v.type) + ":" + v.data);
    return out;
}
}  // namespace

TEST(RegistryFormat, ParsesKeysAndTypedValues) {
    auto top = regfile::NewTree();
    const std::string text =
        "REGEDIT4\r\n"
        "; a comment\n"
        "\n"
        "[hkey_current_user\\Software\\V]\n"
        "\"Text\"=\"a\\\"b\\\\c\"\n"
        "@=\"default\"\n"
        "\"Count\" = dword:0000000b\n"
        "\"Blob\"=hex:01, FF,\\\n"
        "  7f\n"
        "\"Expand\"=hex(2):41,00\n"
        "[HKEY_CURRENT_USER\\software\\v\\Sub]\n";
    regfile::ParseResult result = regfile::Parse(text, *top);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_TRUE(result.skipped.empty());
    EXPECT_EQ(ValuesAt(*top, {"Software", "V"}),
              (std::vector<std::string>{"Text=1:a\"b\\c\0"s, "=1:default\0"s, "Count=4:\x0b\0\0\0"s,
                                        "Blob=3:\x01\xff\x7f", "Expand=2:A\0"s}));
    EXPECT_EQ(ValuesAt(*top, {"Software", "V", "Sub"}), std::vector<std::string>{});
    EXPECT_TRUE(regfile::Parse("", *regfile::NewTree()).ok);  // an empty text is an empty registry
}

TEST(RegistryFormat, SerializeReadsBackTheSameTree) {
    auto top = regfile::NewTree();
    regfile::Key& key = top->Subkey("HKEY_CURRENT_USER").Subkey("Software").Subkey("Veltrin");
    key.SetValue("Quote\"Back\\slash", REG_SZ, "say \"hi\"\0"s);
    key.SetValue("", REG_SZ, "default\0"s);
    key.SetValue("Lines", REG_SZ, "one\r\ntwo\0"s);
    key.SetValue("Count", REG_DWORD, "\x0a\0\0\0"s);
    key.SetValue("Blob", REG_BINARY, std::string(100, '\xab'));
    key.SetValue("Odd", 0x1234, "xyz");
    top->Subkey("HKEY_CURRENT_USER").Subkey("Software").Subkey("Empty");
    const std::string text = regfile::Serialize(*top);
    EXPECT_EQ(text.substr(0, text.find("\"Blob\"")),
              "REGEDIT4\n"
              "\n[HKEY_CURRENT_USER\\Software]\n"
              "\n[HKEY_CURRENT_USER\\Software\\Empty]\n"
              "\n[HKEY_CURRENT_USER\\Software\\Veltrin]\n"
              "\"Quote\\\"Back\\\\slash\"=\"say \\\"hi\\\"\"\n"
              "@=\"default\"\n"
              "\"Lines\"=hex(1):6f,6e,65,0d,0a,74,77,6f,00\n"
              "\"Count\"=dword:0000000a\n");

    auto again = regfile::NewTree();
    ASSERT_TRUE(regfile::Parse(text, *again).ok);
    EXPECT_EQ(regfile::Serialize(*again), text);
    EXPECT_EQ(ValuesAt(*again, {"Software", "Veltrin"}), ValuesAt(*top, {"Software", "Veltrin"}));
}

TEST(RegistryFormat, NamesTheFunctionsRefuseAreSkippedTheRestLoads) {
    const std::string head = "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Good]\n\"A\"=\"x\"\n";
    const struct {
        const char* what;
        std::string lines;
        const char* message;  // the start of the one skipped line
    } cases[] = {
        {"a key name with a CR", "[HKEY_CURRENT_USER\\Software\\a\rb]\n\"V\"=dword:1\n",
         "line 4: the key \"HKEY_CURRENT_USER\\Software\\a\\x0db\""},
        {"a key name with a NUL", "[HKEY_CURRENT_USER\\Software\\a\0b]\n\"V\"=hex:01,\\\n  02\n"s,
         "line 4: the key \"HKEY_CURRENT_USER\\Software\\a\\x00b\""},
        {"a key name of 256 bytes", "[HKEY_CURRENT_USER\\Software\\" + std::string(256, 'k') + "]\n",
         "line 4: the key \"HKEY_CURRENT_USER\\Software\\kkk"},
        {"a value name with a NUL", "[HKEY_CURRENT_USER\\Software\\Good]\n\"n\0ul\"=\"y\"\n"s,
         "line 5: the value \"n\\x00ul\""},
        {"a value name with a CR", "[HKEY_CURRENT_USER\\Software\\Good]\n\"c\rr\"=hex:01,\\\n  02\n",
         "line 5: the value \"c\\x0dr\""},
        {"a value name of 16,384 bytes",
         "[HKEY_CURRENT_USER\\Software\\Good]\n\"" + std::string(16384, 'v') + "\"=\"y\"\n",
         "line 5: the value \"vvv"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto top = regfile::NewTree();
        regfile::ParseResult result = regfile::Parse(head + c.lines + "\"B\"=dword:2\n", *top);
        ASSERT_TRUE(result.ok) << result.error;
        ASSERT_EQ(result.skipped.size(), 1u);
        EXPECT_EQ(result.skipped[0].rfind(c.message, 0), 0u) << result.skipped[0];
        // Only the accepted names are in the tree: every one can be named through the functions.
        const regfile::Key* software = regfile::FindKey(*top, {"HKEY_CURRENT_USER", "Software"});
        ASSERT_NE(software, nullptr);
        for (const auto& [name, sub] : software->subkeys)
            EXPECT_TRUE(regfile::IsKeyNameAccepted(name)) << name;
        const regfile::Key* good = regfile::FindKey(*top, {"HKEY_CURRENT_USER", "Software", "Good"});
        ASSERT_NE(good, nullptr);
        for (const regfile::Value& v : good->values)
            EXPECT_TRUE(regfile::IsValueNameAccepted(v.name)) << v.name;
        EXPECT_NE(good->FindValue("A"), nullptr);
    }
    // The longest names the functions take load.
    auto top = regfile::NewTree();
    const std::string key(255, 'k'), value(16383, 'v');
    ASSERT_TRUE(
        regfile::Parse("REGEDIT4\n[HKEY_CURRENT_USER\\" + key + "]\n\"" + value + "\"=\"x\"\n", *top).ok);
    EXPECT_EQ(ValuesAt(*top, {key}), std::vector<std::string>{value + "=1:x\0"s});
}

TEST(RegistryFormat, DamagedTextsSayWhereAndWhy) {
    const std::string head = "REGEDIT4\n[HKEY_CURRENT_USER\\Software]\n";
    const struct {
        std::string text;
        const char* error;
    } cases[] = {
        {"[HKEY_CURRENT_USER\\Software]\n", "line 1: the first line is not \"REGEDIT4\""},
        {"REGEDIT4\n\"A\"=\"x\"\n", "line 2: a value before the first key"},
        {"REGEDIT4\n[HKEY_NOWHERE\\Software]\n", "line 2: a key outside the predefined roots"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\\\Software]\n", "line 2: a key name that is empty"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\Software\n", "line 2: a key line without its closing ']'"},
        {head + "\"A\"=hex:01,0g\n", "line 3: a bad hex byte"},
        {head + "\"A\"=hex:01,02,\\\n", "line 3: the file ends inside a value"},
        {head + "\"A\"=\"abc", "line 3: a text without its closing quote"},
        {head + "\"A\"=dword:123456789\n", "line 3: a dword that is not 1 to 8 hex digits"},
        {head + "plain\n", "line 3: a line that is neither a key nor a value"},
        // Under a skipped key, a damaged value still damages the text.
        {"REGEDIT4\n[HKEY_CURRENT_USER\\a\rb]\n\"A\"=hex:zz\n", "line 3: a bad hex byte"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 60));
        regfile::ParseResult result = regfile::Parse(c.text, *regfile::NewTree());
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, c.error);
    }
}
