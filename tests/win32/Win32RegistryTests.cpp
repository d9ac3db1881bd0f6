// The registry port against advapi32, under HKEY_CURRENT_USER\Software\ZephyraTest.
#include <gtest/gtest.h>

#include <algorithm>

#include "Win32TestSupport.h"
#include "platform/win32/Win32Platform.h"

using platform::RegRoot;
using platform::RegType;
using platform::RegValue;
using platform::win32::Win32Registry;

namespace {

class Win32RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        base = "Software\\ZephyraTest\\Run" + std::to_string(::GetCurrentProcessId());
        registry.DeleteKey(RegRoot::CurrentUser, base);
    }
    void TearDown() override {
        registry.DeleteKey(RegRoot::CurrentUser, base);
        ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\ZephyraTest");  // only when empty
    }
    Win32Registry registry;
    std::string base;
};

TEST_F(Win32RegistryTest, KeysAreCreatedWithTheirParentsAndDeletedWithTheirContent) {
    std::string deep = base + "\\a\\b\\c";
    EXPECT_FALSE(registry.KeyExists(RegRoot::CurrentUser, deep));
    ASSERT_TRUE(registry.CreateKey(RegRoot::CurrentUser, deep));
    EXPECT_TRUE(registry.KeyExists(RegRoot::CurrentUser, "\\" + deep));  // one leading "\" is ignored
    EXPECT_TRUE(registry.CreateKey(RegRoot::CurrentUser, deep));         // already there
    ASSERT_TRUE(registry.WriteValue(RegRoot::CurrentUser, deep, "v", RegValue::String("x")));

    EXPECT_TRUE(registry.DeleteKey(RegRoot::CurrentUser, base + "\\a"));
    EXPECT_FALSE(registry.KeyExists(RegRoot::CurrentUser, base + "\\a"));
    EXPECT_TRUE(registry.KeyExists(RegRoot::CurrentUser, base));
    EXPECT_FALSE(registry.DeleteKey(RegRoot::CurrentUser, base + "\\a"));  // no longer there
    EXPECT_FALSE(registry.DeleteKey(RegRoot::CurrentUser, ""));            // never a whole root
}

TEST_F(Win32RegistryTest, ValuesKeepTheirTypes) {
    ASSERT_TRUE(registry.CreateKey(RegRoot::CurrentUser, base));
    RegValue expand;
    expand.type = RegType::ExpandString;
    expand.text = "%TEMP%\\x";
    RegValue multi;
    multi.type = RegType::MultiString;
    multi.text = std::string("one\0two", 7);
    RegValue binary;
    binary.type = RegType::Binary;
    binary.bytes = {0, 1, 2, 255};

    ASSERT_TRUE(registry.WriteValue(RegRoot::CurrentUser, base, "s", RegValue::String("text")));
    ASSERT_TRUE(registry.WriteValue(RegRoot::CurrentUser, base, "d", RegValue::DWord(0xDEADBEEF)));
    ASSERT_TRUE(registry.WriteValue(RegRoot::CurrentUser, base, "e", expand));
    ASSERT_TRUE(registry.WriteValue(RegRoot::CurrentUser, base, "m", multi));
    ASSERT_TRUE(registry.WriteValue(RegRoot::CurrentUser, base, "b", binary));
    ASSERT_TRUE(registry.WriteValue(RegRoot::CurrentUser, base, "", RegValue::String("default")));

    auto s = registry.ReadValue(RegRoot::CurrentUser, base, "S");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->type, RegType::String);
    EXPECT_EQ(s->text, "text");
    auto d = registry.ReadValue(RegRoot::CurrentUser, base, "d");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->type, RegType::DWord);
    EXPECT_EQ(d->dword, 0xDEADBEEFu);
    auto e = registry.ReadValue(RegRoot::CurrentUser, base, "e");
    ASSERT_TRUE(e);
    EXPECT_EQ(e->type, RegType::ExpandString);
    EXPECT_EQ(e->text, "%TEMP%\\x");  // not expanded
    auto m = registry.ReadValue(RegRoot::CurrentUser, base, "m");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->type, RegType::MultiString);
    EXPECT_EQ(m->text, multi.text);
    auto b = registry.ReadValue(RegRoot::CurrentUser, base, "b");
    ASSERT_TRUE(b);
    EXPECT_EQ(b->type, RegType::Binary);
    EXPECT_EQ(b->bytes, binary.bytes);
    auto def = registry.ReadValue(RegRoot::CurrentUser, base, "");
    ASSERT_TRUE(def);
    EXPECT_EQ(def->text, "default");

    // The raw data carries the terminating NULs other programs expect.
    char raw[32] = {};
    DWORD size = sizeof raw;
    ASSERT_EQ(::RegGetValueA(HKEY_CURRENT_USER, base.c_str(), "m", RRF_RT_ANY, nullptr, raw, &size), ERROR_SUCCESS);
    EXPECT_EQ(std::string(raw, size), std::string("one\0two\0\0", 9));
}

TEST_F(Win32RegistryTest, LongValuesAndMissingOnes) {
    ASSERT_TRUE(registry.CreateKey(RegRoot::CurrentUser, base));
    std::string longText(20000, 'q');
    ASSERT_TRUE(registry.WriteValue(RegRoot::CurrentUser, base, "long", RegValue::String(longText)));
    auto value = registry.ReadValue(RegRoot::CurrentUser, base, "long");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->text, longText);

    EXPECT_FALSE(registry.ReadValue(RegRoot::CurrentUser, base, "nothing"));
    EXPECT_FALSE(registry.ReadValue(RegRoot::CurrentUser, base + "\\nokey", "long"));
    EXPECT_FALSE(registry.WriteValue(RegRoot::CurrentUser, base + "\\nokey", "v", RegValue::DWord(1)));
    EXPECT_FALSE(registry.KeyExists(RegRoot::CurrentUser, base + "\\nokey"));  // writes never create keys
    EXPECT_TRUE(registry.DeleteValue(RegRoot::CurrentUser, base, "LONG"));
    EXPECT_FALSE(registry.ReadValue(RegRoot::CurrentUser, base, "long"));
    EXPECT_FALSE(registry.DeleteValue(RegRoot::CurrentUser, base, "long"));
}

TEST_F(Win32RegistryTest, EnumeratesSubkeysAndValues) {
    for (const char* sub : {"Zeta", "alpha", "Mid"}) ASSERT_TRUE(registry.CreateKey(RegRoot::CurrentUser, base + "\\" + sub));
    std::string longName(300, 'n');  // beyond the 255 of key names: value names may be longer
    ASSERT_TRUE(registry.WriteValue(RegRoot::CurrentUser, base, "one", RegValue::DWord(1)));
    ASSERT_TRUE(registry.WriteValue(RegRoot::CurrentUser, base, longName, RegValue::DWord(2)));

    auto subkeys = registry.SubKeyNames(RegRoot::CurrentUser, base);
    std::sort(subkeys.begin(), subkeys.end());
    EXPECT_EQ(subkeys, (std::vector<std::string>{"Mid", "Zeta", "alpha"}));
    auto values = registry.ValueNames(RegRoot::CurrentUser, base);
    std::sort(values.begin(), values.end());
    EXPECT_EQ(values, (std::vector<std::string>{longName, "one"}));
    EXPECT_TRUE(registry.SubKeyNames(RegRoot::CurrentUser, base + "\\none").empty());
    EXPECT_TRUE(registry.ValueNames(RegRoot::CurrentUser, base + "\\Mid").empty());
}

TEST(Win32RegistryRoots, EveryRootMapsToItsHive) {
    Win32Registry registry;
    EXPECT_TRUE(registry.KeyExists(RegRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion"));
    EXPECT_TRUE(registry.KeyExists(RegRoot::Users, ".DEFAULT"));
    EXPECT_TRUE(registry.KeyExists(RegRoot::ClassesRoot, "CLSID"));
    EXPECT_TRUE(registry.KeyExists(RegRoot::CurrentUser, "Software"));
    EXPECT_FALSE(registry.KeyExists(RegRoot::CurrentUser, ".DEFAULT"));
}

}  // namespace
