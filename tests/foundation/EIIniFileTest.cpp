#include "foundation/EIIniFilesUnit1.h"

#include <cstdio>
#include <thread>

#include "HostPlatformTest.h"

using namespace foundation;

class EIIniFileTest : public HostPlatformTest {
protected:
    ~EIIniFileTest() override { FreeSharedIniFile(); }
    std::string path = InModule("user_1.ini");
};

TEST_F(EIIniFileTest, NumberedListsReadUpToTheKeyCount) {
    WriteBytes(path, "[L]\r\n0=a\r\n1=b\r\n3=d\r\n");
    TEIIniFile ini(path);
    EXPECT_EQ(ini.KeyCount("L"), 3);
    rt::TStringList list{"stale"};
    ini.ReadList("L", list);
    EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"a", "b", ""}));
    ini.ReadList("Missing", list);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(TEIIniFile(InModule("none.ini")).KeyCount("L"), 0);
}

TEST_F(EIIniFileTest, BooleansAsText) {
    WriteBytes(path, "[B]\r\ny=yes\r\nn=no\r\ntwo=2\r\nempty=\r\none=1\r\n");
    TEIIniFile ini(path);
    EXPECT_TRUE(ini.ReadBoolStr("B", "y", false));
    EXPECT_TRUE(ini.ReadBoolStr("B", "one", false));
    EXPECT_FALSE(ini.ReadBoolStr("B", "n", true));
    EXPECT_FALSE(ini.ReadBoolStr("B", "two", true));
    EXPECT_FALSE(ini.ReadBoolStr("B", "empty", true));
    EXPECT_TRUE(ini.ReadBoolStr("B", "missing", true));
    EXPECT_FALSE(ini.ReadBoolStr("B", "missing", false));
    ini.WriteBoolStr("B", "w", true);
    EXPECT_EQ(ini.ReadString("B", "w", ""), "True");
}

TEST_F(EIIniFileTest, CopySectionRespectsExistingKeys) {
    const std::string templ = InModule("template.ini");
    WriteBytes(templ, "[S]\r\nb=2\r\na=1\r\n");
    WriteBytes(path, "[S]\r\nmine=x\r\n");
    TEIIniFile source(templ), target(path);

    target.CopySection("S", source, false);
    EXPECT_EQ(target.ReadString("S", "mine", ""), "x");
    EXPECT_EQ(target.ReadString("S", "a", ""), "");

    target.CopySection("S", source, true);
    rt::TStringList keys;
    target.ReadSection("S", keys);
    EXPECT_EQ(keys.ToVector(), (std::vector<std::string>{"b", "a"}));  // source order, own keys gone

    target.EraseSection("S");
    target.CopySection("S", source, false);
    EXPECT_EQ(target.KeyCount("S"), 2);
    target.CopySection("Missing", source, true);
    EXPECT_EQ(target.KeyCount("Missing"), 0);
}

TEST_F(EIIniFileTest, NamedListReplacesTheSection) {
    TEIIniFile ini(path);
    ini.WriteString("N", "old", "1");
    ini.WriteNamedList("N", rt::TStringList{"x", "y"}, rt::TStringList{"1", "2"});
    rt::TStringList lines;
    ini.ReadSectionValues("N", lines);
    EXPECT_EQ(lines.ToVector(), (std::vector<std::string>{"x=1", "y=2"}));
}

TEST_F(EIIniFileTest, FailedWritesKeepTheFileAndRaiseNothing) {
    WriteBytes(path, "[A]\r\nk=v\r\n");
    Files().SetReadOnly(path, true);
    TEIIniFile ini(path);
    EXPECT_NO_THROW(ini.WriteString("A", "k", "changed"));
    EXPECT_NO_THROW(ini.EraseSection("A"));
#ifdef _WIN32
    // Wine run by root writes read-only files anyway; only a real refusal is testable.
    std::FILE* probe = std::fopen(path.c_str(), "ab");
    const bool enforced = probe == nullptr;
    if (probe) std::fclose(probe);
#else
    const bool enforced = true;
#endif
    if (enforced) {
        EXPECT_EQ(ini.ReadString("A", "k", ""), "v");
    }
    Files().SetReadOnly(path, false);

    TEIIniFile nowhere("c:\\no\\such\\folder\\x.ini");
    EXPECT_NO_THROW(nowhere.WriteString("A", "k", "v"));
    EXPECT_EQ(nowhere.ReadString("A", "k", "default"), "default");
}

TEST_F(EIIniFileTest, SharedInstanceReopensOnlyWithAName) {
    TEIIniFile& moduleOwn = SharedIniFile();
    EXPECT_EQ(moduleOwn.FileName(), InModule("Solvane.ini"));
    EXPECT_EQ(&SharedIniFile(), &moduleOwn);

    TEIIniFile& user = SharedIniFile(path);
    EXPECT_EQ(user.FileName(), path);
    EXPECT_EQ(&SharedIniFile(""), &user);
    TEIIniFile& again = SharedIniFile(path);
    EXPECT_EQ(again.FileName(), path);
    EXPECT_EQ(&SharedIniFile(), &again);
}

TEST_F(EIIniFileTest, ThreadsWritingOneFileLoseNothing) {
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t)
        writers.emplace_back([this, t] {
            TEIIniFile ini(path);
            for (int k = 0; k < 50; ++k) ini.WriteString("Keys", "t" + std::to_string(t) + "_" + std::to_string(k), "v");
        });
    for (auto& w : writers) w.join();
    EXPECT_EQ(TEIIniFile(path).KeyCount("Keys"), 200);
}

TEST_F(EIIniFileTest, LineBreaksCannotForgeSectionsOrKeys) {
    WriteBytes(path, "[App]\r\nFirstTime=False\r\n");
    TEIIniFile ini(path);
    ini.WriteString("TBandForm", "edtSearch_Value", "x\r\n[App]\r\nFirstTime=True");
    ini.WriteString("T", "k\nFirstTime", "v\r");
    ini.WriteString("S\r\n[App]\r\nFirstTime=True\r\n[S", "k", "v");
    ini.WriteSectionValues("L", rt::TStringList{"Item0=a\r\n[App]", "Item1=b\nFirstTime=True"});
    ini.WriteNamedList("N", rt::TStringList{"n\r\n[App]"}, rt::TStringList{"v"});

    EXPECT_EQ(ini.ReadString("App", "FirstTime", ""), "False");
    rt::TStringList sections;
    ini.ReadSections(sections);
    int apps = 0;
    for (int i = 0; i < sections.Count(); ++i) apps += rt::SameText(rt::Trim(sections[i]), "App") ? 1 : 0;
    EXPECT_EQ(apps, 1) << FileBytes(path);
    rt::TStringList keys;
    ini.ReadSection("App", keys);
    EXPECT_EQ(keys.Count(), 1);

    // Each break became a space: the values are kept, on one line.
    EXPECT_EQ(ini.ReadString("TBandForm", "edtSearch_Value", ""), "x  [App]  FirstTime=True");
    EXPECT_EQ(ini.ReadString("T", "k FirstTime", ""), "v");
    EXPECT_EQ(ini.ReadString("T", "k\nFirstTime", ""), "v");  // looked up the way it was written
    EXPECT_EQ(ini.ReadString("L", "Item1", ""), "b FirstTime=True");
}

TEST_F(EIIniFileTest, ErasingASectionErasesEveryCopyOfIt) {
    WriteBytes(path, "[L]\r\nCount=1\r\nItem0=a\r\n[Other]\r\nx=1\r\n[l]\r\nCount=1\r\nItem0=stale\r\n[L]\r\n");
    TEIIniFile ini(path);
    ini.EraseSection("L");
    EXPECT_EQ(ini.ReadString("L", "Item0", "<none>"), "<none>");
    EXPECT_EQ(ini.ReadString("Other", "x", ""), "1");
    rt::TStringList sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections.ToVector(), (std::vector<std::string>{"Other"}));
    ini.EraseSection("Missing");  // nothing to erase is no failure
    EXPECT_EQ(ini.ReadString("Other", "x", ""), "1");
}
