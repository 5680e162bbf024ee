#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "platform/base/Registry.h"
#include "tests/support/TempRegistry.h"

namespace {

struct Data {
    DWORD type = REG_NONE;
    std::string bytes;
    bool operator==(const Data& o) const { return type == o.type && bytes == o.bytes; }
};

std::ostream& operator<<(std::ostream& os, const Data& d) {
    os << "type " << d.type << " [";
    for (unsigned char c : d.bytes)
        os << (int)c << ' ';
    return os << ']';
}

Data Sz(const std::string& text) {
    return Data{REG_SZ, text + '\0'};
}
Data Dword(DWORD v) {
    return Data{REG_DWORD, std::string{(char)(v & 0xff), (char)((v >> 8) & 0xff), (char)((v >> 16) & 0xff),
                                       (char)(v >> 24)}};
}

class RegistryTest : public ::testing::Test {
protected:
    // Creates (or opens) a key below HKEY_CURRENT_USER with all access.
    HKEY Create(const char* path, DWORD* disposition = nullptr) {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                 nullptr, &key, disposition),
                  ERROR_SUCCESS)
            << path;
        return key;
    }
    static LONG Set(HKEY key, const char* name, const Data& d) {
        return RegSetValueEx(key, name, 0, d.type, (const BYTE*)d.bytes.data(), (DWORD)d.bytes.size());
    }
    static LONG Get(HKEY key, const char* name, Data& out) {
        DWORD size = 0;
        LONG rc = RegQueryValueEx(key, name, nullptr, &out.type, nullptr, &size);
        if (rc != ERROR_SUCCESS)
            return rc;
        out.bytes.assign(size, '\0');
        return RegQueryValueEx(key, name, nullptr, &out.type, (LPBYTE)out.bytes.data(), &size);
    }
    // The value at HKEY_CURRENT_USER\<path>, or an error.
    static LONG GetAt(const char* path, const char* name, Data& out) {
        HKEY key = nullptr;
        LONG rc = RegOpenKeyEx(HKEY_CURRENT_USER, path, 0, KEY_READ, &key);
        if (rc != ERROR_SUCCESS)
            return rc;
        rc = Get(key, name, out);
        RegCloseKey(key);
        return rc;
    }

    TempRegistry m_reg;
};

TEST_F(RegistryTest, CreateMakesEveryLevelAndLookupIgnoresCase) {
    DWORD disposition = 0;
    HKEY key = Create("Software\\Veltrin\\Settings", &disposition);
    EXPECT_EQ(disposition, (DWORD)REG_CREATED_NEW_KEY);
    RegCloseKey(key);

    struct stat st {};
    ASSERT_EQ(stat((m_reg.Dir() + "/config").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(TempRegistry::Read(m_reg.Path()).rfind("REGEDIT4\n", 0), 0u);

    key = Create("SOFTWARE\\veltrin\\settings\\", &disposition);
    EXPECT_EQ(disposition, (DWORD)REG_OPENED_EXISTING_KEY);
    RegCloseKey(key);

    HKEY software = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "software", 0, KEY_READ, &software), ERROR_SUCCESS);
    char name[64];
    DWORD len = sizeof name;
    ASSERT_EQ(RegEnumKeyEx(software, 0, name, &len, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_STREQ(name, "Veltrin");  // the case of creation
    EXPECT_EQ(len, 7u);
    RegCloseKey(software);

    HKEY missing = (HKEY)1;
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Nowhere", 0, KEY_READ, &missing),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(missing, nullptr);
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "\\Software", 0, KEY_READ, &missing), ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\\\X", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                             &missing, nullptr),
              ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, std::string(256, 'k').c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                             nullptr, &missing, nullptr),
              ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryTest, ValuesRoundTripThroughTheFile) {
    std::string all;
    for (int i = 0; i < 256; ++i)
        all += (char)i;
    const std::vector<std::pair<std::string, Data>> values = {
        {"Quote\"Back\\slash", Sz("say \"hi\" to C:\\dir\\ \xe9\xff\x80 end\\")},
        {"Empty", Sz("")},
        {"Lines", Sz("one\r\ntwo")},
        {"NoZero", Data{REG_SZ, "abc"}},
        {"Zeros", Data{REG_SZ, std::string("a\0b\0", 4)}},
        {"", Sz("the default value")},
        {"Count", Dword(0xdeadbeef)},
        {"Short", Data{REG_DWORD, "\x01\x02"}},
        {"Blob", Data{REG_BINARY, all}},
        {"Nothing", Data{REG_BINARY, ""}},
        {"Expand", Data{REG_EXPAND_SZ, std::string("%HOME%\\x\0", 9)}},
        {"Multi", Data{REG_MULTI_SZ, std::string("a\0b\0\0", 5)}},
        {"Odd type", Data{0x1234, "xyz"}},
        {"[Name] = \xf6", Sz("v")},
    };
    HKEY key = Create("Software\\Veltrin\\Values");
    for (const auto& [name, data] : values)
        ASSERT_EQ(Set(key, name.c_str(), data), ERROR_SUCCESS) << name;
    RegCloseKey(key);

    // Read back from a copy, so the values come from parsing the text.
    std::string copy = m_reg.Dir() + "/copy.reg";
    TempRegistry::Write(copy, TempRegistry::Read(m_reg.Path()));
    TempRegistry::Use(copy);
    for (const auto& [name, data] : values) {
        Data got;
        ASSERT_EQ(GetAt("software\\veltrin\\values", name.c_str(), got), ERROR_SUCCESS) << name;
        EXPECT_EQ(got, data) << name;
    }
    // Enumeration keeps the order the values were first set; a name is found in any case.
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Veltrin\\Values", 0, KEY_READ, &key), ERROR_SUCCESS);
    for (DWORD i = 0; i < values.size(); ++i) {
        char name[64];
        DWORD len = sizeof name;
        ASSERT_EQ(RegEnumValue(key, i, name, &len, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
        EXPECT_EQ(name, values[i].first);
    }
    Data got;
    EXPECT_EQ(Get(key, "COUNT", got), ERROR_SUCCESS);
    EXPECT_EQ(got, Dword(0xdeadbeef));
    RegCloseKey(key);

    // Every line of the file fits in 80 columns, long blobs included.
    std::string text = TempRegistry::Read(copy), line;
    std::istringstream lines(text);
    while (std::getline(lines, line))
        EXPECT_LE(line.size(), 80u) << line;
}

TEST_F(RegistryTest, FileIsRegeditText) {
    HKEY key = Create("Software\\Veltrin");
    ASSERT_EQ(Set(key, "Text", Sz("a\"b\\c")), ERROR_SUCCESS);
    ASSERT_EQ(Set(key, "Count", Dword(10)), ERROR_SUCCESS);
    ASSERT_EQ(Set(key, "Blob", Data{REG_BINARY, "\x01\x02\xff"}), ERROR_SUCCESS);
    ASSERT_EQ(Set(key, nullptr, Sz("default")), ERROR_SUCCESS);
    ASSERT_EQ(Set(key, "Count", Dword(11)), ERROR_SUCCESS);  // replaced in place
    RegCloseKey(key);
    RegCloseKey(Create("Software\\Veltrin\\Empty"));
    EXPECT_EQ(TempRegistry::Read(m_reg.Path()),
              "REGEDIT4\n"
              "\n[HKEY_CURRENT_USER\\Software]\n"
              "\n[HKEY_CURRENT_USER\\Software\\Veltrin]\n"
              "\"Text\"=\"a\\\"b\\\\c\"\n"
              "\"Count\"=dword:0000000b\n"
              "\"Blob\"=hex:01,02,ff\n"
              "@=\"default\"\n"
              "\n[HKEY_CURRENT_USER\\Software\\Veltrin\\Empty]\n");
}

TEST_F(RegistryTest, ReadsHandWrittenFiles) {
    struct Case {
        const char* what;
        std::string text;
        Data expected;
    };
    const Case cases[] = {
        {"CR LF line ends", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\V]\r\n\"A\"=\"x\"\r\n", Sz("x")},
        {"comments and blank lines",
         "REGEDIT4\n; note\n\n[HKEY_CURRENT_USER\\Software\\V]\n\n; x\n\"A\"=dword:1\n", Dword(1)},
        {"upper-case hex, spaces, continuation",
         "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\V]\n\"A\" = hex:0A, FF,\\\n    7f\n",
         Data{REG_BINARY, "\x0a\xff\x7f"}},
        {"typed hex", "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\V]\n\"A\"=hex(2):41,00\n",
         Data{REG_EXPAND_SZ, std::string("A\0", 2)}},
        {"case-blind root and keys, repeated key",
         "REGEDIT4\n[hkey_current_user\\SOFTWARE\\v]\n\"B\"=\"1\"\n[HKEY_CURRENT_USER\\Software\\V]\n\"a\"="
         "\"2\"\n",
         Sz("2")},
        {"later value wins",
         "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\V]\n\"A\"=\"1\"\n\"A\"=dword:ffffffff\n",
         Dword(0xffffffff)},
        {"unknown escape kept", "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\V]\n\"A\"=\"C:\\temp\"\n",
         Sz("C:\\temp")},
    };
    for (const Case& c : cases) {
        TempRegistry::Write(m_reg.Path(), c.text);
        Data got;
        ASSERT_EQ(GetAt("Software\\V", "A", got), ERROR_SUCCESS) << c.what;
        EXPECT_EQ(got, c.expected) << c.what;
        EXPECT_FALSE(TempRegistry::Exists(m_reg.Path() + ".bad")) << c.what;
    }
}

TEST_F(RegistryTest, NamesTheFunctionsRefuseAreSkippedAndTheRestLoads) {
    // Hand-edited: a key name with a CR, a value name with a NUL, a key name of 256 bytes. Each is one
    // line on standard error; everything else loads, and every name that enumerates can be opened.
    const std::string longName(256, 'k');
    using namespace std::string_literals;
    TempRegistry::Write(m_reg.Path(),
                        "REGEDIT4\n"
                        "[HKEY_CURRENT_USER\\Software\\a\rb]\n"
                        "\"Lost\"=dword:1\n"
                        "\"Wrapped\"=hex:01,\\\n  02\n"
                        "[HKEY_CURRENT_USER\\Software\\Good]\n"
                        "\"A\"=\"x\"\n"
                        "\"n\0ul\"=\"y\"\n"
                        "\"B\"=dword:2\n"s +
                            "[HKEY_CURRENT_USER\\Software\\" + longName + "]\n");
    testing::internal::CaptureStderr();
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key), ERROR_SUCCESS);
    std::string message = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 3) << message;
    EXPECT_NE(message.find("line 2: the key \"HKEY_CURRENT_USER\\Software\\a\\x0db\""), std::string::npos)
        << message;
    EXPECT_NE(message.find("line 8: the value \"n\\x00ul\""), std::string::npos) << message;
    char name[300];
    DWORD len = sizeof name;
    std::vector<std::string> names;
    for (DWORD i = 0; RegEnumKeyEx(key, i, name, &len, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, len = sizeof name)
        names.push_back(name);
    RegCloseKey(key);
    EXPECT_EQ(names, std::vector<std::string>{"Good"});
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Good", 0, KEY_READ, &key), ERROR_SUCCESS);
    std::vector<std::string> values;
    for (DWORD i = 0; RegEnumValue(key, i, name, &len, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, len = sizeof name) {
        values.push_back(name);
        Data got;
        EXPECT_EQ(Get(key, name, got), ERROR_SUCCESS) << name;
    }
    RegCloseKey(key);
    EXPECT_EQ(values, (std::vector<std::string>{"A", "B"}));
    EXPECT_FALSE(TempRegistry::Exists(m_reg.Path() + ".bad"));

    // The API refuses the same names.
    EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\a\rb", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                             &key, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, ("Software\\" + longName).c_str(), 0, KEY_READ, &key),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(Set(HKEY_CURRENT_USER, "line\nbreak", Dword(1)), ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryTest, QueryFollowsTheBufferRules) {
    HKEY key = Create("Software\\Veltrin");
    ASSERT_EQ(Set(key, "Name", Sz("abcdef")), ERROR_SUCCESS);

    DWORD type = 0, size = 0;
    EXPECT_EQ(RegQueryValueEx(key, "Name", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, (DWORD)REG_SZ);
    EXPECT_EQ(size, 7u);  // with the terminating zero
    char buffer[8] = "zzzzzzz";
    size = 3;
    EXPECT_EQ(RegQueryValueEx(key, "Name", nullptr, &type, (LPBYTE)buffer, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 7u);
    EXPECT_EQ(RegQueryValueEx(key, "Name", nullptr, nullptr, (LPBYTE)buffer, nullptr),
              ERROR_INVALID_PARAMETER);
    size = sizeof buffer;
    EXPECT_EQ(RegQueryValueEx(key, "Name", nullptr, nullptr, (LPBYTE)buffer, &size), ERROR_SUCCESS);
    EXPECT_STREQ(buffer, "abcdef");
    EXPECT_EQ(RegQueryValueEx(key, nullptr, nullptr, nullptr, nullptr, nullptr),
              ERROR_FILE_NOT_FOUND);  // no default
    EXPECT_EQ(RegQueryValueEx(key, "Other", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegSetValueEx(key, "Bad", 0, REG_BINARY, nullptr, 4), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueEx(key, "Line\nBreak", 0, REG_SZ, (const BYTE*)"", 1), ERROR_INVALID_PARAMETER);
    RegCloseKey(key);
}

TEST_F(RegistryTest, SubKeysEnumerateSortedAndSmallBuffersAreReported) {
    for (const char* name : {"gamma", "beta", "a_b", "Alpha", "AB"})
        RegCloseKey(Create((std::string("Software\\List\\") + name).c_str()));
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\List", 0, KEY_READ, &key), ERROR_SUCCESS);
    std::vector<std::string> names;
    char name[16];
    DWORD len = sizeof name;
    for (DWORD i = 0; RegEnumKeyEx(key, i, name, &len, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i) {
        names.push_back(name);
        len = sizeof name;
    }
    // Upper-cased order, as Windows sorts: 'B' < 'L' < '_'.
    EXPECT_EQ(names, (std::vector<std::string>{"AB", "Alpha", "a_b", "beta", "gamma"}));
    len = sizeof name;
    EXPECT_EQ(RegEnumKeyEx(key, 5, name, &len, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    len = 5;  // "Alpha" needs 6 with its zero
    EXPECT_EQ(RegEnumKeyEx(key, 1, name, &len, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
    len = 6;
    EXPECT_EQ(RegEnumKeyEx(key, 1, name, &len, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);

    DWORD subKeys = 0, maxSubKey = 0, values = 9;
    EXPECT_EQ(RegQueryInfoKey(key, nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr, &values, nullptr,
                              nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 5u);
    EXPECT_EQ(maxSubKey, 5u);
    EXPECT_EQ(values, 0u);
    RegCloseKey(key);

    key = Create("Software\\List\\beta");
    ASSERT_EQ(Set(key, "LongName", Sz("0123456789")), ERROR_SUCCESS);
    DWORD size = 4, type = 0;
    BYTE data[16];
    len = 8;  // "LongName" needs 9
    EXPECT_EQ(RegEnumValue(key, 0, name, &len, nullptr, &type, data, &size), ERROR_MORE_DATA);
    len = sizeof name;
    EXPECT_EQ(RegEnumValue(key, 0, name, &len, nullptr, &type, data, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 11u);
    EXPECT_EQ(RegEnumValue(key, 1, name, &len, nullptr, &type, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    RegCloseKey(key);
}

TEST_F(RegistryTest, DeletingAKeyThatHasSubKeysIsRefused) {
    RegCloseKey(Create("Software\\A\\B"));
    HKEY a = Create("Software\\A");
    HKEY software = Create("Software");
    EXPECT_EQ(RegDeleteKey(software, "A"), ERROR_ACCESS_DENIED);
    Data got;
    HKEY b = nullptr;
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\A\\B", 0, KEY_READ, &b), ERROR_SUCCESS);
    RegCloseKey(b);
    EXPECT_EQ(RegDeleteKey(software, "a\\b"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKey(software, "A"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKey(software, "A"), ERROR_FILE_NOT_FOUND);
    // A handle to a deleted key stays a valid handle to nothing.
    EXPECT_EQ(Set(a, "X", Sz("x")), ERROR_KEY_DELETED);
    EXPECT_EQ(Get(a, "X", got), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCloseKey(a), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, ""), ERROR_ACCESS_DENIED);  // a root
    EXPECT_EQ(RegDeleteValue(software, "Nothing"), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(Set(software, "V", Dword(1)), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValue(software, "v"), ERROR_SUCCESS);
    EXPECT_EQ(Get(software, "V", got), ERROR_FILE_NOT_FOUND);
    RegCloseKey(software);
}

TEST_F(RegistryTest, BadHandlesAndMissingRightsAreRefused) {
    HKEY key = Create("Software\\Veltrin");
    EXPECT_EQ(RegFlushKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    Data got;
    for (HKEY bad : {key, (HKEY) nullptr, (HKEY)0x12345})
        EXPECT_EQ(Get(bad, "X", got), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);

    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Veltrin", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(Set(key, "X", Sz("x")), ERROR_ACCESS_DENIED);
    HKEY sub = nullptr;
    EXPECT_EQ(RegCreateKeyEx(key, "Sub", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr),
              ERROR_ACCESS_DENIED);
    RegCloseKey(key);
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Veltrin", 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    EXPECT_EQ(Set(key, "X", Sz("x")), ERROR_SUCCESS);
    EXPECT_EQ(Get(key, "X", got), ERROR_ACCESS_DENIED);
    RegCloseKey(key);
}

TEST_F(RegistryTest, ThereIsNoRemoteRegistry) {
    HKEY key = (HKEY)1;
    EXPECT_EQ(RegConnectRegistry("\\\\server", HKEY_LOCAL_MACHINE, &key), ERROR_BAD_NETPATH);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(RegConnectRegistry(nullptr, HKEY_CURRENT_USER, &key), ERROR_SUCCESS);
    EXPECT_EQ(key, HKEY_CURRENT_USER);
}

TEST_F(RegistryTest, FileLocationFollowsTheEnvironment) {
    struct Env {
        const char* name;
        std::string saved;
        bool had;
    };
    std::vector<Env> env = {
        {"VELTRIN_REGISTRY", "", false}, {"XDG_CONFIG_HOME", "", false}, {"HOME", "", false}};
    for (Env& e : env)
        if (const char* v = getenv(e.name))
            e.saved = v, e.had = true;

    unsetenv("VELTRIN_REGISTRY");
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(RegistryFilePath(), "/cfg/veltrin/registry.reg");
    setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored
    setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(RegistryFilePath(), "/home/someone/.config/veltrin/registry.reg");
    for (const Env& e : env)
        if (e.had)
            setenv(e.name, e.saved.c_str(), 1);
        else
            unsetenv(e.name);

    // Switching the file between calls switches the registry.
    HKEY key = Create("Software\\Veltrin");
    ASSERT_EQ(Set(key, "Where", Sz("first")), ERROR_SUCCESS);
    TempRegistry::Use(m_reg.Dir() + "/other.reg");
    Data got;
    EXPECT_EQ(GetAt("Software\\Veltrin", "Where", got), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Get(key, "Where", got), ERROR_KEY_DELETED);
    TempRegistry::Use(m_reg.Path());
    EXPECT_EQ(Get(key, "Where", got), ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(RegistryTest, DamagedFileIsSetAsideAndDefaultsAreUsed) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += (char)((i * 7919) & 0xff);
    const std::string head = "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Veltrin]\n";
    const std::pair<const char*, std::string> cases[] = {
        {"no header", "[HKEY_CURRENT_USER\\Software\\Veltrin]\n\"A\"=\"x\"\n"},
        {"binary bytes", garbage},
        {"binary bytes after the header", "REGEDIT4\n" + garbage},
        {"bad hex", head + "\"A\"=hex:01,0g\n"},
        {"hex byte too wide", head + "\"A\"=hex:100\n"},
        {"truncated inside a value", head + "\"A\"=hex:01,02,\\\n"},
        {"truncated inside a string", head + "\"A\"=\"abc"},
        {"value before any key", "REGEDIT4\n\"A\"=\"x\"\n"},
        {"huge line", head + "\"A\"=" + std::string(8 << 20, 'x') + "\n"},
        {"unknown root", "REGEDIT4\n[HKEY_NOWHERE\\Software]\n"},
        {"empty key name", "REGEDIT4\n[HKEY_CURRENT_USER\\\\Software]\n"},
        {"key line without ]", "REGEDIT4\n[HKEY_CURRENT_USER\\Software\n"},
        {"dword too long", head + "\"A\"=dword:123456789\n"},
        {"deletion line", "REGEDIT4\n[-HKEY_CURRENT_USER\\Software]\n"},
        {"keys nested deeper than 512 levels",
         [] {
             std::string line = "REGEDIT4\n[HKEY_CURRENT_USER";
             for (int i = 0; i < 513; ++i)
                 line += "\\a";
             return line + "]\n";
         }()},
    };
    int setAside = 0;
    for (const auto& [what, bytes] : cases) {
        // The first damaged file keeps ".bad"; later ones go to ".bad.1", ".bad.2"... so none is lost.
        const std::string bad = m_reg.Path() + ".bad" + (setAside ? "." + std::to_string(setAside) : "");
        ++setAside;
        TempRegistry::Write(m_reg.Path(), bytes);
        testing::internal::CaptureStderr();
        Data got;
        EXPECT_EQ(GetAt("Software\\Veltrin", "A", got), ERROR_FILE_NOT_FOUND) << what;
        std::string message = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << what << ": " << message;
        EXPECT_NE(message.find(m_reg.Path() + " is damaged"), std::string::npos) << what << ": " << message;
        EXPECT_NE(message.find(bad), std::string::npos) << what << ": " << message;
        EXPECT_EQ(TempRegistry::Read(bad), bytes) << what;
        EXPECT_FALSE(TempRegistry::Exists(m_reg.Path())) << what;

        // Carrying on: changes work and nothing more is said.
        testing::internal::CaptureStderr();
        HKEY key = Create("Software\\Veltrin");
        EXPECT_EQ(Set(key, "A", Sz("new")), ERROR_SUCCESS) << what;
        RegCloseKey(key);
        EXPECT_EQ(GetAt("Software\\Veltrin", "A", got), ERROR_SUCCESS) << what;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << what;
    }

    // A change as the first call sets the damaged file aside as well, then writes a sound one.
    const std::string bad = m_reg.Path() + ".bad." + std::to_string(setAside);
    TempRegistry::Write(m_reg.Path(), head + "\"A\"=hex:zz\n");
    testing::internal::CaptureStderr();
    ASSERT_EQ(Set(HKEY_CURRENT_USER, "Top", Dword(7)), ERROR_SUCCESS);
    EXPECT_NE(testing::internal::GetCapturedStderr().find(bad), std::string::npos);
    EXPECT_EQ(TempRegistry::Read(bad), head + "\"A\"=hex:zz\n");
    EXPECT_EQ(TempRegistry::Read(m_reg.Path()), "REGEDIT4\n\n[HKEY_CURRENT_USER]\n\"Top\"=dword:00000007\n");
}

TEST_F(RegistryTest, DamagedFileThatCannotBeSetAsideIsLeftAlone) {
    const std::string damaged = "REGEDIT4\n[HKEY_CURRENT_USER\\Software]\n\"A\"=hex:zz\n";
    TempRegistry::Write(m_reg.Path(), damaged);
    // Every name the damaged file could be moved to is taken by a folder.
    std::filesystem::create_directories(m_reg.Path() + ".bad/in-the-way");
    for (int n = 1; n < 100; ++n)
        std::filesystem::create_directories(m_reg.Path() + ".bad." + std::to_string(n) + "/in-the-way");
    testing::internal::CaptureStderr();
    Data got;
    EXPECT_EQ(GetAt("Software", "A", got), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Set(HKEY_CURRENT_USER, "B", Dword(1)), ERROR_BADDB);
    EXPECT_EQ(GetAt("Software", "A", got), ERROR_FILE_NOT_FOUND);
    std::string message = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;  // said once
    EXPECT_NE(message.find("could not be moved to " + m_reg.Path() + ".bad"), std::string::npos) << message;
    EXPECT_TRUE(std::filesystem::is_directory(m_reg.Path() + ".bad/in-the-way"));
    EXPECT_EQ(TempRegistry::Read(m_reg.Path()), damaged);
}

TEST_F(RegistryTest, UnreadableFileIsNeverReplaced) {
    // A folder where the file should be: nothing can be read, so nothing may be written over it.
    std::filesystem::create_directories(m_reg.Path() + "/inside");
    HKEY key = nullptr;
    EXPECT_NE(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\X", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                             nullptr),
              ERROR_SUCCESS);
    EXPECT_NE(RegSetValueEx(HKEY_CURRENT_USER, "X", 0, REG_SZ, (const BYTE*)"", 1), ERROR_SUCCESS);
    EXPECT_TRUE(std::filesystem::is_directory(m_reg.Path() + "/inside"));
    EXPECT_FALSE(TempRegistry::Exists(m_reg.Path() + ".bad"));
}

// ---------------------------------------------------------------------------------------------------
// Several processes

// A 256 KB blob whose first four bytes say which write it came from and whose rest follows from them.
std::string Payload(uint32_t serial) {
    std::string p(256 * 1024, '\0');
    memcpy(p.data(), &serial, 4);
    for (size_t i = 4; i < p.size(); ++i)
        p[i] = (char)((serial * 131 + i * 7 + (i >> 9)) & 0xff);
    return p;
}

// Where the writer in the child stops: after `writes` whole writes, in the next one at `step` (for a
// chunk step, after chunk number `chunk`). It tells the parent and waits there to be killed.
struct StopAt {
    int writes;
    char step;
    int chunk;
};
StopAt g_stop;
int g_completed = 0, g_chunks = 0, g_report = -1;

void StopWriterThere(char step) {
    if (step == 'c')
        ++g_chunks;
    if (g_completed != g_stop.writes || step != g_stop.step || (step == 'c' && g_chunks != g_stop.chunk))
        return;
    if (write(g_report, &step, 1) != 1)
        _exit(3);
    pause();  // SIGKILL ends it here
}

TEST_F(RegistryTest, KilledWriterLeavesTheOldOrTheNewFile) {
    // A large registry: 2000 strings beside the blob that the writer keeps replacing (about 13 chunks).
    std::string text = "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Crash\\Strings]\n";
    for (int i = 0; i < 2000; ++i)
        text += FormatString("\"Value %04d\"=\"text \\\"%d\\\"\"\n", i, i);
    TempRegistry::Write(m_reg.Path(), text);
    HKEY key = Create("Software\\Crash");
    ASSERT_EQ(Set(key, "Payload", Data{REG_BINARY, Payload(0)}), ERROR_SUCCESS);
    uint32_t last = 0;

    const StopAt stops[] = {{0, 'c', 1}, {1, 'c', 6}, {0, 's', 0}, {2, 'r', 0}, {0, 'c', 12}, {1, 'r', 0}};
    for (const StopAt& stop : stops) {
        SCOPED_TRACE(testing::Message() << stop.writes << " writes, then step " << stop.step << stop.chunk);
        int pipefd[2];
        ASSERT_EQ(pipe(pipefd), 0);
        uint32_t first = last + 1;
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(pipefd[0]);
            g_stop = stop;
            g_report = pipefd[1];
            RegistrySetWriteObserverForTesting(StopWriterThere);
            for (uint32_t serial = first;; ++serial) {
                g_chunks = 0;
                std::string p = Payload(serial);
                if (RegSetValueEx(key, "Payload", 0, REG_BINARY, (const BYTE*)p.data(), (DWORD)p.size()) != 0)
                    _exit(2);
                ++g_completed;
                if (write(pipefd[1], "w", 1) != 1)
                    _exit(3);
            }
        }
        close(pipefd[1]);
        char c = 0;
        int completed = 0;
        while (read(pipefd[0], &c, 1) == 1 && c == 'w')
            ++completed;
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        close(pipefd[0]);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself: " << status;
        ASSERT_EQ(c, stop.step);
        ASSERT_EQ(completed, stop.writes);

        // Killed before the rename: the file of the last whole write; after it: the new one.
        uint32_t expected = first + (uint32_t)completed - (stop.step == 'r' ? 0 : 1);
        Data got;
        ASSERT_EQ(Get(key, "Payload", got), ERROR_SUCCESS);
        ASSERT_EQ(got.bytes.size(), Payload(0).size());
        uint32_t serial = 0;
        memcpy(&serial, got.bytes.data(), 4);
        EXPECT_EQ(serial, expected);
        EXPECT_TRUE(got.bytes == Payload(serial)) << "a mixed blob";
        EXPECT_FALSE(TempRegistry::Exists(m_reg.Path() + ".bad"));
        EXPECT_EQ(TempRegistry::Exists(m_reg.Path() + ".tmp"), stop.step != 'r');  // the half-written file
        HKEY strings = Create("Software\\Crash\\Strings");
        DWORD values = 0;
        EXPECT_EQ(RegQueryInfoKey(strings, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                                  nullptr, nullptr, nullptr, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(values, 2000u);
        RegCloseKey(strings);
        last = serial;
    }
    // A writer that died mid-write leaves no trace once the next change is through.
    ASSERT_EQ(Set(key, "After", Dword(1)), ERROR_SUCCESS);
    EXPECT_FALSE(TempRegistry::Exists(m_reg.Path() + ".tmp"));
    RegCloseKey(key);
}

TEST_F(RegistryTest, TwoWritersLoseNothing) {
    constexpr int kPerWriter = 200;
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    pid_t children[2];
    for (int w = 0; w < 2; ++w) {
        children[w] = fork();
        ASSERT_GE(children[w], 0);
        if (children[w] == 0) {
            close(start[1]);
            char c;
            while (read(start[0], &c, 1) > 0) {
            }  // released together when the parent closes its end
            HKEY key = nullptr;
            if (RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Race", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                               &key, nullptr) != ERROR_SUCCESS)
                _exit(1);
            for (int i = 0; i < kPerWriter; ++i) {
                DWORD v = (DWORD)(w * 1000 + i);
                if (RegSetValueEx(key, FormatString("W%d-%03d", w, i).c_str(), 0, REG_DWORD, (const BYTE*)&v,
                                  4) != ERROR_SUCCESS)
                    _exit(2);
            }
            _exit(0);
        }
    }
    close(start[0]);
    close(start[1]);
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Race", 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD values = 0;
    EXPECT_EQ(RegQueryInfoKey(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                              nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(values, 2u * kPerWriter);
    for (int w = 0; w < 2; ++w)
        for (int i = 0; i < kPerWriter; ++i) {
            Data got;
            ASSERT_EQ(Get(key, FormatString("W%d-%03d", w, i).c_str(), got), ERROR_SUCCESS) << w << " " << i;
            EXPECT_EQ(got, Dword((DWORD)(w * 1000 + i)));
        }
    RegCloseKey(key);
}

}  // namespace

TEST_F(RegistryTest, KeysDeeperThan512LevelsAreRefused) {
    std::string deep = "Software";
    for (int i = 0; i < 512; ++i)
        deep += "\\a";  // 513 levels below the root
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, deep.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                             nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, deep.c_str(), 0, KEY_READ, &key), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(TempRegistry::Exists(m_reg.Path()));  // nothing was written
}

TEST_F(RegistryTest, AFifoInTheFilesPlaceIsRefusedWithoutHanging) {
    std::filesystem::create_directories(std::filesystem::path(m_reg.Path()).parent_path());
    ASSERT_EQ(::mkfifo(m_reg.Path().c_str(), 0600), 0);
    Data got;
    EXPECT_NE(GetAt("Software", "A", got), ERROR_SUCCESS);  // returns: a FIFO is never opened blocking
    EXPECT_NE(Set(HKEY_CURRENT_USER, "B", Dword(1)), ERROR_SUCCESS);
}
