#include <gtest/gtest.h>

#include <cstdlib>

#include "guilib/controls/OXRegistryItem.h"
#include "platform/base/MemFile.h"
#include "tests/support/TempRegistry.h"

namespace {

// Reaches the item's handles.
class Item : public COXRegistryItem {
public:
    using COXRegistryItem::COXRegistryItem;
    HKEY Root() const { return m_hRootKey; }
    HKEY Key() const { return m_hKey; }
};

TEST(RegistryItem, PathsSplitIntoCanonicalParts) {
    struct Case {
        const char* path;
        const char* machine;
        const char* registry;
        const char* keys;
        const char* value;
        const char* full;
    } cases[] = {
        {"\\CurrentUser\\Software\\VeltrinEx\\", "", "\\CurrentUser", "\\Software\\VeltrinEx\\", "",
         "\\CurrentUser\\Software\\VeltrinEx\\"},
        {"\\CurrentUser\\Software\\VeltrinEx\\Version", "", "\\CurrentUser", "\\Software\\VeltrinEx\\", "Version",
         "\\CurrentUser\\Software\\VeltrinEx\\Version"},
        {"Software\\VeltrinEx\\Version", "", "\\CurrentUser", "\\Software\\VeltrinEx\\", "Version",
         "\\CurrentUser\\Software\\VeltrinEx\\Version"},
        {"\\\\box\\LocalMachine\\Software\\X", "\\\\box", "\\LocalMachine", "\\Software\\", "X",
         "\\\\box\\LocalMachine\\Software\\X"},
        {"\\currentuser\\Software", "", "\\CurrentUser", "\\Software\\", "", "\\CurrentUser\\Software\\"},
        {"\\CurrentUserX\\Software", "", "\\CurrentUser", "\\CurrentUserX\\", "Software",
         "\\CurrentUser\\CurrentUserX\\Software"},
        {"\\LocalMachine", "", "\\LocalMachine", "", "", "\\LocalMachine"},
        {"\\\\\\", "", "", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        Item item;
        item.SetFullRegistryItem(c.path);
        EXPECT_STREQ(item.GetMachineName(), c.machine);
        EXPECT_STREQ(item.GetRegistryName(), c.registry);
        EXPECT_STREQ(item.GetKeyNames(), c.keys);
        EXPECT_STREQ(item.GetValueName(), c.value);
        EXPECT_STREQ(item.GetFullRegistryItem(), c.full);
    }
}

TEST(RegistryItem, ARemoteMachineFailsInTheConnect) {
    TempRegistry registry;
    Item item("\\\\box\\LocalMachine\\Software\\X");
    EXPECT_FALSE(item.Open(FALSE));
    EXPECT_LT(item.GetLastError(), 0);
    EXPECT_EQ((DWORD)item.GetLastError(), 0x80070000u | ERROR_BAD_NETPATH);
    EXPECT_EQ(item.Root(), nullptr);
    EXPECT_EQ(item.Key(), nullptr);
    EXPECT_STREQ(item.GetStringValue(), "");
}

TEST(RegistryItem, StringValuesRoundTripAndExpand) {
    TempRegistry registry;
    Item item;
    item.SetFullRegistryItem("\\CurrentUser\\Software\\VeltrinEx\\Version");
    EXPECT_STREQ(item.GetStringValue(nullptr, TRUE, TRUE, ""), "");  // missing: the default
    EXPECT_LT(item.GetLastError(), 0);
    ASSERT_TRUE(item.SetStringValue("3.1"));
    item.Close();
    Item again("\\CurrentUser\\Software\\VeltrinEx\\Version");
    EXPECT_STREQ(again.GetStringValue(nullptr, TRUE, TRUE, ""), "3.1");
    EXPECT_EQ(again.GetLastError(), 0);

    ASSERT_TRUE(again.SetStringValue("%HOME%/x", "Path", TRUE));
    std::string expanded = std::string(getenv("HOME")) + "/x";
    EXPECT_EQ(std::string(again.GetStringValue("Path", TRUE, TRUE)), expanded);
    EXPECT_STREQ(again.GetStringValue("Path", TRUE, FALSE), "%HOME%/x");
    // Not accepting expandable strings: the query fails on the type.
    EXPECT_STREQ(again.GetStringValue("Path", FALSE, FALSE, "fallback"), "fallback");

    // "NoName" is the key's default value.
    ASSERT_TRUE(again.SetStringValue("default", "noname"));
    EXPECT_STREQ(again.GetStringValue("NoName"), "default");
}

TEST(RegistryItem, WrongTypesAndUnterminatedStrings) {
    TempRegistry registry;
    Item item("\\CurrentUser\\Software\\T\\");
    DWORD number = 7;
    ASSERT_TRUE(item.SetValue("Number", reinterpret_cast<const BYTE*>(&number), REG_DWORD, sizeof(number)));
    EXPECT_STREQ(item.GetStringValue("Number"), "");
    EXPECT_EQ((DWORD)item.GetLastError(), 0x8007000Du);
    EXPECT_STREQ(item.GetStringValue("Number", TRUE), "");
    EXPECT_EQ((DWORD)item.GetLastError(), 0x8007000Du);

    ASSERT_TRUE(item.SetValue("Raw", reinterpret_cast<const BYTE*>("abcXYZ"), REG_SZ, 3));
    EXPECT_STREQ(item.GetStringValue("Raw"), "abc");

    LPBYTE data = nullptr;
    DWORD type = 0, size = 0;
    ASSERT_TRUE(item.GetValue(&data, "Number", REG_DWORD, &type, &size));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(type, (DWORD)REG_DWORD);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(*reinterpret_cast<DWORD*>(data), 7u);
    delete[] data;
}

TEST(RegistryItem, DeletingAKeyWithSubkeysFailsUntilTheyAreGone) {
    TempRegistry registry;
    Item child("\\CurrentUser\\Software\\VeltrinEx\\Child\\Leaf");
    ASSERT_TRUE(child.SetStringValue("x"));
    child.Close();

    Item parent("\\CurrentUser\\Software\\VeltrinEx\\");
    EXPECT_FALSE(parent.Delete());
    EXPECT_LT(parent.GetLastError(), 0);
    Item leaf("\\CurrentUser\\Software\\VeltrinEx\\Child\\");
    EXPECT_TRUE(leaf.Delete());
    EXPECT_TRUE(parent.Delete());
    EXPECT_STREQ(parent.EnumerateSubkey(0), "");

    // Without key names the item would name a root: refused.
    Item root("\\CurrentUser");
    EXPECT_FALSE(root.Delete());
    EXPECT_EQ((DWORD)root.GetLastError(), 0x80070000u | ERROR_INVALID_PARAMETER);
}

TEST(RegistryItem, EnumerationEndsWithAFailingStatus) {
    TempRegistry registry;
    for (const char* name : {"Beta", "alpha", "Gamma"}) {
        Item sub((std::string("\\CurrentUser\\Software\\E\\") + name + "\\Value").c_str());
        ASSERT_TRUE(sub.SetStringValue("1"));
    }
    Item item("\\CurrentUser\\Software\\E\\");
    EXPECT_STREQ(item.EnumerateSubkey(0), "alpha");
    EXPECT_STREQ(item.EnumerateSubkey(1), "Beta");
    EXPECT_STREQ(item.EnumerateSubkey(2), "Gamma");
    EXPECT_EQ(item.GetMaxSubkeyNameLength(), 5);
    EXPECT_STREQ(item.EnumerateSubkey(3), "");
    EXPECT_EQ((DWORD)item.GetLastError(), 0x80070103u);
}

TEST(RegistryItem, SerializesItsPath) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        Item item("Software\\A\\B");
        item.Serialize(ar);
    }
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    Item back;
    back.Serialize(ar);
    EXPECT_STREQ(back.GetFullRegistryItem(), "\\Software\\A\\B");
    EXPECT_STREQ(back.GetKeyNames(), "\\Software\\A\\");
    EXPECT_STREQ(back.GetFullRegistryItem(), "\\CurrentUser\\Software\\A\\B");
}

}  // namespace
