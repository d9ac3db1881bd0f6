#include <gtest/gtest.h>

#include "runtime/Registry.h"
#include "RuntimeFakes.h"

using namespace rt;
using platform::RegRoot;
using platform::RegType;

namespace {

class RegistryTest : public ::testing::Test {
protected:
    std::shared_ptr<rt_test::FakeRegistry> registry = std::make_shared<rt_test::FakeRegistry>();
    platform::ServiceSet Fakes() {
        platform::ServiceSet s;
        s.registry = registry;
        return s;
    }
    platform::ScopedServices services{Fakes()};
    TRegistry reg;

    std::optional<platform::RegValue> Stored(const std::string& path, const std::string& name,
                                             RegRoot root = RegRoot::CurrentUser) {
        return registry->ReadValue(root, path, name);
    }

    template <class F>
    std::string RegistryError(F f) {
        try {
            f();
        } catch (const ERegistryException& e) {
            return e.Message();
        }
        return "";
    }
};

}  // namespace

TEST_F(RegistryTest, OpenKeyWithoutCreateFailsOnAMissingKey) {
    EXPECT_EQ(reg.RootKey(), RegRoot::CurrentUser);
    EXPECT_FALSE(reg.OpenKey("\\Software\\Missing", false));
    EXPECT_EQ(reg.CurrentPath(), "");
    EXPECT_FALSE(registry->KeyExists(RegRoot::CurrentUser, "Software\\Missing"));
}

TEST_F(RegistryTest, OpenKeyCreatesAndResolvesPaths) {
    ASSERT_TRUE(reg.OpenKey("\\Software\\Zephyra", true));
    EXPECT_EQ(reg.CurrentPath(), "Software\\Zephyra");
    EXPECT_TRUE(registry->KeyExists(RegRoot::CurrentUser, "Software\\Zephyra"));

    ASSERT_TRUE(reg.OpenKey("Toolbar", true));  // relative to the open key
    EXPECT_EQ(reg.CurrentPath(), "Software\\Zephyra\\Toolbar");

    ASSERT_TRUE(reg.OpenKey("\\Software", false));  // absolute again
    EXPECT_EQ(reg.CurrentPath(), "Software");
    EXPECT_TRUE(reg.KeyExists("Zephyra\\Toolbar"));
    EXPECT_FALSE(reg.KeyExists("Other"));

    reg.CloseKey();
    EXPECT_EQ(reg.CurrentPath(), "");
    ASSERT_TRUE(reg.OpenKey("Software\\Zephyra", false));  // no key open: from the root
    EXPECT_EQ(reg.CurrentPath(), "Software\\Zephyra");
}

TEST_F(RegistryTest, SetRootKeyClosesTheKey) {
    ASSERT_TRUE(reg.OpenKey("\\Software\\Zephyra", true));
    reg.SetRootKey(RegRoot::LocalMachine);
    EXPECT_EQ(reg.RootKey(), RegRoot::LocalMachine);
    EXPECT_EQ(reg.CurrentPath(), "");
    EXPECT_FALSE(reg.OpenKey("\\Software\\Zephyra", false));
    ASSERT_TRUE(reg.OpenKey("\\Software\\Zephyra", true));
    reg.WriteString("Where", "machine");
    EXPECT_EQ(Stored("Software\\Zephyra", "Where", RegRoot::LocalMachine)->text, "machine");
    EXPECT_FALSE(Stored("Software\\Zephyra", "Where", RegRoot::CurrentUser).has_value());
}

TEST_F(RegistryTest, TypedValuesRoundTrip) {
    ASSERT_TRUE(reg.OpenKey("\\Software\\Zephyra", true));
    reg.WriteString("Name", "Zephyra");
    reg.WriteExpandString("Path", "%APPDATA%\\Zephyra");
    reg.WriteInteger("Count", -2);
    reg.WriteBool("Enabled", true);
    reg.WriteBool("Hidden", false);

    EXPECT_EQ(Stored("Software\\Zephyra", "Name")->type, RegType::String);
    EXPECT_EQ(Stored("Software\\Zephyra", "Path")->type, RegType::ExpandString);
    EXPECT_EQ(Stored("Software\\Zephyra", "Count")->type, RegType::DWord);
    EXPECT_EQ(Stored("Software\\Zephyra", "Count")->dword, 0xFFFFFFFEu);
    EXPECT_EQ(Stored("Software\\Zephyra", "Enabled")->type, RegType::DWord);
    EXPECT_EQ(Stored("Software\\Zephyra", "Enabled")->dword, 1u);
    EXPECT_EQ(Stored("Software\\Zephyra", "Hidden")->dword, 0u);

    EXPECT_EQ(reg.ReadString("Name"), "Zephyra");
    EXPECT_EQ(reg.ReadString("Path"), "%APPDATA%\\Zephyra");
    EXPECT_EQ(reg.ReadInteger("Count"), -2);
    EXPECT_TRUE(reg.ReadBool("Enabled"));
    EXPECT_FALSE(reg.ReadBool("Hidden"));

    registry->WriteValue(RegRoot::CurrentUser, "Software\\Zephyra", "Five", platform::RegValue::DWord(5));
    EXPECT_TRUE(reg.ReadBool("Five"));
}

TEST_F(RegistryTest, ReadsOfTheWrongTypeRaise) {
    ASSERT_TRUE(reg.OpenKey("\\Software\\Zephyra", true));
    reg.WriteString("Text", "12");
    reg.WriteInteger("Number", 12);
    EXPECT_EQ(reg.ReadString("Missing"), "");
    EXPECT_EQ(RegistryError([&] { reg.ReadString("Number"); }), "Invalid data type for 'Number'");
    EXPECT_EQ(RegistryError([&] { reg.ReadInteger("Text"); }), "Invalid data type for 'Text'");
    EXPECT_EQ(RegistryError([&] { reg.ReadInteger("Missing"); }), "Invalid data type for 'Missing'");
    EXPECT_EQ(RegistryError([&] { reg.ReadBool("Missing"); }), "Invalid data type for 'Missing'");
}

TEST_F(RegistryTest, FailedWritesRaise) {
    ASSERT_TRUE(reg.OpenKey("\\Software\\Zephyra", true));
    registry->readOnly = true;
    EXPECT_EQ(RegistryError([&] { reg.WriteString("A", "x"); }), "Failed to set data for 'A'");
    EXPECT_EQ(RegistryError([&] { reg.WriteExpandString("B", "x"); }), "Failed to set data for 'B'");
    EXPECT_EQ(RegistryError([&] { reg.WriteInteger("C", 1); }), "Failed to set data for 'C'");
    EXPECT_EQ(RegistryError([&] { reg.WriteBool("D", true); }), "Failed to set data for 'D'");
}

TEST_F(RegistryTest, ValuesAndKeysAreListedAndDeleted) {
    ASSERT_TRUE(reg.OpenKey("\\Software\\Zephyra", true));
    ASSERT_TRUE(reg.CreateKey("Child1"));
    ASSERT_TRUE(reg.CreateKey("Child2"));
    reg.WriteString("a", "1");
    reg.WriteInteger("b", 2);
    EXPECT_TRUE(reg.ValueExists("A"));
    EXPECT_FALSE(reg.ValueExists("c"));

    TStringList names{"stale"};
    reg.GetValueNames(names);
    EXPECT_EQ(names.ToVector(), (std::vector<std::string>{"a", "b"}));
    reg.GetKeyNames(names);
    EXPECT_EQ(names.ToVector(), (std::vector<std::string>{"child1", "child2"}));

    EXPECT_TRUE(reg.DeleteValue("a"));
    EXPECT_FALSE(reg.ValueExists("a"));
    EXPECT_FALSE(reg.DeleteValue("a"));
    EXPECT_TRUE(reg.DeleteKey("Child1"));
    EXPECT_FALSE(registry->KeyExists(RegRoot::CurrentUser, "Software\\Zephyra\\Child1"));
    EXPECT_TRUE(registry->KeyExists(RegRoot::CurrentUser, "Software\\Zephyra\\Child2"));
}
