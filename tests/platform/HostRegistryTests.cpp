#include <gtest/gtest.h>

#include "platform/host/HostPlatform.h"

using namespace platform;
using namespace platform::host;
using Names = std::vector<std::string>;

TEST(HostRegistry, KeysAreCreatedWithParentsAndMatchIgnoringCase) {
    HostRegistry reg;
    EXPECT_FALSE(reg.KeyExists(RegRoot::CurrentUser, "Software\\Zephyra"));
    EXPECT_TRUE(reg.CreateKey(RegRoot::CurrentUser, "\\Software\\Zephyra\\Toolbar"));  // one leading "\" ignored
    EXPECT_TRUE(reg.KeyExists(RegRoot::CurrentUser, "software\\ZEPHYRA"));
    EXPECT_TRUE(reg.KeyExists(RegRoot::CurrentUser, "Software\\Zephyra\\toolbar"));
    EXPECT_FALSE(reg.KeyExists(RegRoot::LocalMachine, "Software\\Zephyra"));  // roots are apart
    EXPECT_TRUE(reg.CreateKey(RegRoot::CurrentUser, "SOFTWARE\\zephyra"));     // exists already
    EXPECT_EQ(reg.SubKeyNames(RegRoot::CurrentUser, "Software"), (Names{"Zephyra"}));  // first spelling kept
    EXPECT_TRUE(reg.KeyExists(RegRoot::CurrentUser, ""));
}

TEST(HostRegistry, ValuesInCreationOrder) {
    HostRegistry reg;
    ASSERT_TRUE(reg.CreateKey(RegRoot::LocalMachine, "K"));
    EXPECT_TRUE(reg.WriteValue(RegRoot::LocalMachine, "K", "b", RegValue::String("2")));
    EXPECT_TRUE(reg.WriteValue(RegRoot::LocalMachine, "K", "a", RegValue::DWord(7)));
    EXPECT_TRUE(reg.WriteValue(RegRoot::LocalMachine, "K", "", RegValue::String("default")));
    EXPECT_TRUE(reg.WriteValue(RegRoot::LocalMachine, "K", "B", RegValue::String("3")));  // same value, replaced
    EXPECT_EQ(reg.ValueNames(RegRoot::LocalMachine, "k"), (Names{"b", "a", ""}));
    auto b = reg.ReadValue(RegRoot::LocalMachine, "K", "B");
    ASSERT_TRUE(b.has_value());
    EXPECT_EQ(b->type, RegType::String);
    EXPECT_EQ(b->text, "3");
    auto a = reg.ReadValue(RegRoot::LocalMachine, "K", "a");
    ASSERT_TRUE(a.has_value());
    EXPECT_EQ(a->type, RegType::DWord);
    EXPECT_EQ(a->dword, 7u);
    EXPECT_FALSE(reg.ReadValue(RegRoot::LocalMachine, "K", "none").has_value());
    EXPECT_FALSE(reg.ReadValue(RegRoot::LocalMachine, "Nokey", "a").has_value());
    EXPECT_FALSE(reg.WriteValue(RegRoot::LocalMachine, "Nokey", "a", RegValue::String("x")));  // the key must exist
    EXPECT_FALSE(reg.KeyExists(RegRoot::LocalMachine, "Nokey"));
    EXPECT_TRUE(reg.DeleteValue(RegRoot::LocalMachine, "K", "A"));
    EXPECT_FALSE(reg.DeleteValue(RegRoot::LocalMachine, "K", "A"));
    EXPECT_EQ(reg.ValueNames(RegRoot::LocalMachine, "K"), (Names{"b", ""}));
}

TEST(HostRegistry, DeleteKeyIsRecursive) {
    HostRegistry reg;
    reg.CreateKey(RegRoot::CurrentUser, "A\\B\\C");
    reg.CreateKey(RegRoot::CurrentUser, "A\\D");
    reg.WriteValue(RegRoot::CurrentUser, "A\\B\\C", "v", RegValue::String("x"));
    EXPECT_EQ(reg.SubKeyNames(RegRoot::CurrentUser, "a"), (Names{"B", "D"}));
    EXPECT_TRUE(reg.DeleteKey(RegRoot::CurrentUser, "a\\b"));
    EXPECT_FALSE(reg.KeyExists(RegRoot::CurrentUser, "A\\B\\C"));
    EXPECT_FALSE(reg.DeleteKey(RegRoot::CurrentUser, "A\\B"));
    EXPECT_EQ(reg.SubKeyNames(RegRoot::CurrentUser, "A"), (Names{"D"}));
    EXPECT_TRUE(reg.SubKeyNames(RegRoot::CurrentUser, "None").empty());
    EXPECT_TRUE(reg.ValueNames(RegRoot::CurrentUser, "None").empty());
    EXPECT_FALSE(reg.DeleteKey(RegRoot::CurrentUser, ""));  // a root stays
}

TEST(HostRegistry, ReadOnlyRefusesWrites) {
    HostRegistry reg;
    reg.CreateKey(RegRoot::CurrentUser, "K");
    reg.WriteValue(RegRoot::CurrentUser, "K", "v", RegValue::String("1"));
    reg.SetReadOnly(true);
    EXPECT_FALSE(reg.WriteValue(RegRoot::CurrentUser, "K", "v", RegValue::String("2")));
    EXPECT_FALSE(reg.DeleteValue(RegRoot::CurrentUser, "K", "v"));
    EXPECT_FALSE(reg.DeleteKey(RegRoot::CurrentUser, "K"));
    EXPECT_FALSE(reg.CreateKey(RegRoot::CurrentUser, "New"));
    EXPECT_TRUE(reg.CreateKey(RegRoot::CurrentUser, "K"));  // exists: opened
    EXPECT_EQ(reg.ReadValue(RegRoot::CurrentUser, "K", "v")->text, "1");
    reg.SetReadOnly(false);
    EXPECT_TRUE(reg.WriteValue(RegRoot::CurrentUser, "K", "v", RegValue::String("2")));
}
