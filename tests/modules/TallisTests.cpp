// Tallis.exe end to end: started in prepared installation folders, as the
// installer starts it, under wine.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "win32/WinProcess.h"
#include "win32/Win32TestSupport.h"

using zrtest::ChildProcess;

namespace {

const char* kTemplateV3 =
    "[TBandForm]\r\nStateVersion_Value=3\r\nMRUItemCount_Value=10\r\nAutoSearchOnMRUSelect_Value=True\r\n"
    "[TBandForm.AMToolbarOptions_Items]\r\nCount=2\r\nItem0=btnGoogle\r\nItem1=btnHighlight\r\n"
    "[DomainsAllowedPopups]\r\ntemplate.com=True\r\n"
    "[OverriddenValues]\r\nWhatsNew=True\r\n";

const char* kUserV2 =
    "[TBandForm]\r\nStateVersion_Value=2\r\nMRUItemCount_Value=25\r\n"
    "[DomainsAllowedPopups]\r\nmine.com=True\r\n"
    "[OverriddenValues]\r\nWhatsNew=False\r\n";

std::string UserName() {
    char name[257] = {};
    DWORD size = sizeof name;
    ::GetUserNameA(name, &size);
    return name;
}

std::string Profile(const std::string& file, const char* section, const char* key) {
    char value[1024] = {};
    ::GetPrivateProfileStringA(section, key, "<none>", value, sizeof value, file.c_str());
    return value;
}

std::string WindowsFolder() {
    char folder[MAX_PATH] = {};
    ::GetWindowsDirectoryA(folder, MAX_PATH);
    return folder;
}

class TallisTest : public ::testing::Test {
protected:
    TallisTest() { EXPECT_TRUE(zrtest::CopyInto(zrtest::WindowsPathOf(ZR_TALLIS_EXE), Exe())); }

    std::string Exe() const { return folder_ / "Tallis.exe"; }
    std::string UserFile() const { return folder_ / "user_1.ini"; }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(folder_ / name, std::ios::binary) << bytes;
    }
    int Run() const { return ChildProcess(Exe(), "", folder_.Path()).Wait(); }

    zrtest::TempDir folder_;
};

TEST_F(TallisTest, NewUserGetsSettingsMergedWithTheTemplate) {
    Write("settings.ini", "[TBandForm]\r\nStateVersion_Value=2\r\nMRUItemCount_Value=5\r\n");
    Write("settings_template.ini", kTemplateV3);
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Profile(folder_ / "Solvane.ini", "Users", UserName().c_str()), "1");
    EXPECT_EQ(Profile(UserFile(), "TBandForm", "MRUItemCount_Value"), "5");
    EXPECT_EQ(Profile(UserFile(), "TBandForm", "AutoSearchOnMRUSelect_Value"), "True");
    EXPECT_EQ(Profile(UserFile(), "TBandForm", "StateVersion_Value"), "3");
}

TEST_F(TallisTest, NewUserWithoutSettingsGetsTheTemplateAsItIs) {
    Write("settings_template.ini", kTemplateV3);
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(zrtest::ReadBytes(UserFile()), kTemplateV3);
}

TEST_F(TallisTest, OlderUserFileIsMergedKeepingTheUsersValues) {
    Write("settings_template.ini", kTemplateV3);
    Write("user_1.ini", kUserV2);
    Write("Solvane.ini", "[Users]\r\n" + UserName() + "=1\r\n");
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Profile(UserFile(), "TBandForm", "MRUItemCount_Value"), "25");
    EXPECT_EQ(Profile(UserFile(), "TBandForm", "AutoSearchOnMRUSelect_Value"), "True");
    EXPECT_EQ(Profile(UserFile(), "OverriddenValues", "WhatsNew"), "True");
    EXPECT_EQ(Profile(UserFile(), "DomainsAllowedPopups", "mine.com"), "True");
    EXPECT_EQ(Profile(UserFile(), "DomainsAllowedPopups", "template.com"), "True");
    EXPECT_EQ(Profile(UserFile(), "TBandForm.AMToolbarOptions_Items", "Item0"), "btnGoogle");
    EXPECT_EQ(Profile(UserFile(), "TBandForm", "StateVersion_Value"), "3");

    // A user who has a toolbar list keeps it on the next template.
    Write("settings_template.ini", std::string(kTemplateV3) + "[Extra]\r\n");
    ::WritePrivateProfileStringA("TBandForm", "StateVersion_Value", "2", UserFile().c_str());
    ::WritePrivateProfileStringA("TBandForm.AMToolbarOptions_Items", nullptr, nullptr, UserFile().c_str());
    ::WritePrivateProfileStringA("TBandForm.AMToolbarOptions_Items", "Count", "0", UserFile().c_str());
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Profile(UserFile(), "TBandForm.AMToolbarOptions_Items", "Count"), "0");
    EXPECT_EQ(Profile(UserFile(), "TBandForm.AMToolbarOptions_Items", "Item0"), "<none>");
}

TEST_F(TallisTest, EqualAndNewerUserFilesStayByteForByte) {
    Write("settings_template.ini", kTemplateV3);
    Write("Solvane.ini", "[Users]\r\n" + UserName() + "=1\r\n");
    for (const char* version : {"3", "4"}) {
        // Spacing that a rewrite would change shows any write at all.
        const std::string user = std::string("[TBandForm]\r\nStateVersion_Value = ") + version + "\r\n\r\n";
        Write("user_1.ini", user);
        EXPECT_EQ(Run(), 0);
        EXPECT_EQ(zrtest::ReadBytes(UserFile()), user) << version;
    }
}

TEST_F(TallisTest, BadVersionsAndMissingFilesNeverHurt) {
    EXPECT_EQ(Run(), 0);  // nothing to seed from
    EXPECT_EQ(zrtest::ReadBytes(UserFile()), "<missing>");

    Write("settings_template.ini", "[OverriddenValues]\r\nWhatsNew=True\r\n");
    Write("user_1.ini", "[TBandForm]\r\nStateVersion_Value=abc\r\n");
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(zrtest::ReadBytes(UserFile()), "[TBandForm]\r\nStateVersion_Value=abc\r\n");

    Write("settings_template.ini", kTemplateV3);
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Profile(UserFile(), "TBandForm", "StateVersion_Value"), "3");
}

TEST_F(TallisTest, TwoRunsAtOnceEndLikeOne) {
    zrtest::TempDir reference;
    ASSERT_TRUE(zrtest::CopyInto(Exe(), reference / "Tallis.exe"));
    for (const auto* dir : {&folder_, &reference}) {
        std::ofstream(*dir / "settings_template.ini", std::ios::binary) << kTemplateV3;
        std::ofstream(*dir / "user_1.ini", std::ios::binary) << kUserV2;
        std::ofstream(*dir / "Solvane.ini", std::ios::binary) << "[Users]\r\n" + UserName() + "=1\r\n";
    }
    EXPECT_EQ(ChildProcess(reference / "Tallis.exe", "", reference.Path()).Wait(), 0);
    {
        ChildProcess first(Exe(), "", folder_.Path()), second(Exe(), "", folder_.Path());
        EXPECT_EQ(first.Wait(), 0);
        EXPECT_EQ(second.Wait(), 0);
    }
    EXPECT_EQ(zrtest::ReadBytes(UserFile()), zrtest::ReadBytes(reference / "user_1.ini"));
}

class TallisDebugTest : public TallisTest {
protected:
    ~TallisDebugTest() override {
        ::DeleteFileA("c:\\debugzph.ini");
        ::DeleteFileA((WindowsFolder() + "\\EIDEBUG.INI").c_str());
    }
};

TEST_F(TallisDebugTest, ViewerReceivesTheMergeTraceInOrder) {
    ::DeleteFileA((WindowsFolder() + "\\EIDEBUG.INI").c_str());
    std::ofstream("c:\\debugzph.ini") << "";
    Write("settings_template.ini", kTemplateV3);
    Write("user_1.ini", kUserV2);
    const std::string log = folder_ / "viewer.log";
    ChildProcess viewer(zrtest::WindowsPathOf(ZR_DEBUG_VIEWER_EXE), "\"" + log + "\"");
    ASSERT_TRUE(viewer.Started());
    HWND window = nullptr;
    for (int i = 0; i < 100 && !window; ++i, ::Sleep(100)) window = ::FindWindowA("TEIBugWatcherForm", nullptr);
    ASSERT_NE(window, nullptr) << "the test viewer made no window (is there a display?)";

    EXPECT_EQ(Run(), 0);
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(viewer.Wait(), 0);

    EXPECT_EQ(zrtest::ReadBytes(log),
              "1032 1 \n"
              "1027 0 MergeNewState\n"
              "1026 0 StateFromUserIni:2, StateFromTemplate:3\n"
              "1026 0 Merging...\n"
              "1028 0 Merging...\n"
              "1032 6 Merging...\n"
              "1028 0 Merging...\n");
}

TEST_F(TallisDebugTest, WithoutTheMarkerNothingIsTraced) {
    ::DeleteFileA("c:\\debugzph.ini");
    ::DeleteFileA((WindowsFolder() + "\\EIDEBUG.INI").c_str());
    Write("settings_template.ini", kTemplateV3);
    Write("user_1.ini", kUserV2);
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(::GetFileAttributesA((WindowsFolder() + "\\EIDEBUG.INI").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
