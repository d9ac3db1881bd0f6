#include <gtest/gtest.h>

#include "runtime/IniFiles.h"
#include "RuntimeFakes.h"

using namespace rt;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    std::shared_ptr<rt_test::FakeProfiles> profiles = std::make_shared<rt_test::FakeProfiles>();
    std::shared_ptr<rt_test::FakeClock> clock = std::make_shared<rt_test::FakeClock>();
    platform::ServiceSet Fakes() {
        platform::ServiceSet s;
        s.profiles = profiles;
        s.clock = clock;
        return s;
    }
    platform::ScopedServices services{Fakes()};
    TIniFile ini{"c:\\data\\settings.ini"};

    void Put(const std::string& section, const std::string& key, const std::string& value) {
        profiles->WriteString("", section, key, value);
    }

    template <class F>
    std::string WriteError(F f) {
        try {
            f();
        } catch (const EIniFileException& e) {
            return e.Message();
        }
        return "";
    }
};

}  // namespace

TEST_F(IniFileTest, ReadStringPassesTheDefaultThrough) {
    Put("Main", "Name", "value");
    EXPECT_EQ(ini.ReadString("main", "name", "def"), "value");
    EXPECT_EQ(ini.ReadString("Main", "Missing", "def"), "def");
    EXPECT_EQ(ini.ReadString("Nowhere", "Name", ""), "");
    EXPECT_EQ(ini.FileName(), "c:\\data\\settings.ini");
    EXPECT_STREQ(ini.ClassName(), "TIniFile");
}

TEST_F(IniFileTest, WritesGoToTheFile) {
    ini.WriteString("S", "Text", "hello");
    ini.WriteInteger("S", "Count", -5);
    ini.WriteBool("S", "On", true);
    ini.WriteBool("S", "Off", false);
    ini.WriteFloat("S", "Ratio", 0.25);
    EXPECT_EQ(profiles->ReadString("", "S", "Text", ""), "hello");
    EXPECT_EQ(profiles->ReadString("", "S", "Count", ""), "-5");
    EXPECT_EQ(profiles->ReadString("", "S", "On", ""), "1");
    EXPECT_EQ(profiles->ReadString("", "S", "Off", ""), "0");
    EXPECT_EQ(profiles->ReadString("", "S", "Ratio", ""), "0.25");
}

TEST_F(IniFileTest, FailedWritesRaise) {
    profiles->failWrites = true;
    const std::string message = "Unable to write to c:\\data\\settings.ini";
    EXPECT_EQ(WriteError([&] { ini.WriteString("S", "K", "v"); }), message);
    EXPECT_EQ(WriteError([&] { ini.WriteInteger("S", "K", 1); }), message);
    EXPECT_EQ(WriteError([&] { ini.WriteBool("S", "K", true); }), message);
    EXPECT_EQ(WriteError([&] { ini.EraseSection("S"); }), message);
    EXPECT_EQ(WriteError([&] { ini.DeleteKey("S", "K"); }), message);
    EXPECT_EQ(WriteError([&] { ini.WriteSectionValues("S", TStringList{"a=1"}); }), message);
}

TEST_F(IniFileTest, ReadIntegerTakesDecimalAndHex) {
    Put("N", "Dec", "42");
    Put("N", "Neg", "-17");
    Put("N", "Dollar", "$1F");
    Put("N", "Ox", "0x1F");
    Put("N", "Junk", "12abc");
    Put("N", "Empty", "");
    Put("N", "Float", "1.5");
    EXPECT_EQ(ini.ReadInteger("N", "Dec", 0), 42);
    EXPECT_EQ(ini.ReadInteger("N", "Neg", 0), -17);
    EXPECT_EQ(ini.ReadInteger("N", "Dollar", 0), 31);
    EXPECT_EQ(ini.ReadInteger("N", "Ox", 0), 31);
    EXPECT_EQ(ini.ReadInteger("N", "Junk", 7), 7);
    EXPECT_EQ(ini.ReadInteger("N", "Empty", 7), 7);
    EXPECT_EQ(ini.ReadInteger("N", "Float", 7), 7);
    EXPECT_EQ(ini.ReadInteger("N", "Missing", 7), 7);
}

TEST_F(IniFileTest, ReadBoolIsANumber) {
    Put("B", "One", "1");
    Put("B", "Zero", "0");
    Put("B", "Two", "2");
    Put("B", "Word", "true");
    EXPECT_TRUE(ini.ReadBool("B", "One", false));
    EXPECT_FALSE(ini.ReadBool("B", "Zero", true));
    EXPECT_TRUE(ini.ReadBool("B", "Two", false));
    EXPECT_TRUE(ini.ReadBool("B", "Word", true));  // not a number: the default
    EXPECT_FALSE(ini.ReadBool("B", "Word", false));
    EXPECT_TRUE(ini.ReadBool("B", "Missing", true));
    EXPECT_FALSE(ini.ReadBool("B", "Missing", false));
}

TEST_F(IniFileTest, ReadFloatAndDateFallBackToTheDefault) {
    Put("F", "Good", "2.5");
    Put("F", "Exp", "-1e3");
    Put("F", "Bad", "2,5");
    EXPECT_EQ(ini.ReadFloat("F", "Good", 0), 2.5);
    EXPECT_EQ(ini.ReadFloat("F", "Exp", 0), -1000);
    EXPECT_EQ(ini.ReadFloat("F", "Bad", 9), 9);
    EXPECT_EQ(ini.ReadFloat("F", "Missing", 9), 9);

    clock->shortDateFormat = "dd.MM.yyyy";
    clock->dateSeparator = '.';
    ini.WriteDate("D", "When", EncodeDate(2024, 2, 29));
    EXPECT_EQ(profiles->ReadString("", "D", "When", ""), "29.02.2024");
    EXPECT_EQ(ini.ReadDate("D", "When", 0), EncodeDate(2024, 2, 29));
    Put("D", "Bad", "31.02.2024");
    EXPECT_EQ(ini.ReadDate("D", "Bad", 5), 5);
    EXPECT_EQ(ini.ReadDate("D", "Missing", 5), 5);
}

TEST_F(IniFileTest, SectionsAndKeys) {
    Put("First", "a", "1");
    Put("First", "B", "2");
    Put("Second", "c", "3");
    TStringList list{"stale"};
    ini.ReadSections(list);
    EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"First", "Second"}));
    ini.ReadSection("FIRST", list);
    EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"a", "B"}));
    ini.ReadSectionValues("first", list);
    EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"a=1", "B=2"}));
    ini.ReadSection("None", list);
    EXPECT_EQ(list.Count(), 0);

    EXPECT_TRUE(ini.SectionExists("second"));
    EXPECT_FALSE(ini.SectionExists("Third"));
    EXPECT_TRUE(ini.ValueExists("First", "b"));
    EXPECT_FALSE(ini.ValueExists("First", "c"));
    EXPECT_FALSE(ini.ValueExists("Third", "a"));
}

TEST_F(IniFileTest, EraseDeleteAndFlush) {
    Put("S", "a", "1");
    Put("S", "b", "2");
    Put("T", "c", "3");
    ini.DeleteKey("S", "A");
    EXPECT_FALSE(ini.ValueExists("S", "a"));
    EXPECT_TRUE(ini.ValueExists("S", "b"));
    ini.EraseSection("s");
    EXPECT_FALSE(ini.SectionExists("S"));
    EXPECT_TRUE(ini.SectionExists("T"));
    ini.UpdateFile();
    EXPECT_EQ(profiles->flushes, 1);
}

TEST_F(IniFileTest, WriteSectionValuesWritesTheLinesInOneCall) {
    Put("S", "old", "x");
    ini.WriteSectionValues("S", TStringList{"a=1", "b=2"});
    EXPECT_EQ(profiles->lastSectionLines, (std::vector<std::string>{"a=1", "b=2"}));
    EXPECT_FALSE(ini.ValueExists("S", "old"));
    EXPECT_EQ(ini.ReadInteger("S", "b", 0), 2);
}
