#include "foundation/SVCommon.h"

#include "HostPlatformTest.h"
#include "foundation/EIFunctionsBase.h"
#include "foundation/SVBase.h"
#include "foundation/SVCommonIE.h"
#include "foundation/SVDebug.h"

using namespace foundation;

class SettingsTest : public HostPlatformTest {
protected:
    SettingsTest() { ChooseUserSettingsFile(); }
    ~SettingsTest() override {
        FreeSharedIniFile();
        ResetDebugMode();
    }
    std::string Machine() { return FileBytes(InModule("Solvane.ini")); }
};

TEST_F(SettingsTest, UsersAreNumberedInOrderOfFirstUse) {
    // The fixture's own user ("tester") came first.
    EXPECT_EQ(UserNumber(""), "1");
    EXPECT_EQ(CurrentUserSettingsFileName(), InModule("user_1.ini"));
    EXPECT_EQ(UserNumber("alice"), "2");
    EXPECT_EQ(UserNumber("ALICE"), "2");  // the table's keys ignore case like every key
    EXPECT_EQ(UserNumber("tester"), "1");
    EXPECT_EQ(UserCount(), 2);
    EXPECT_EQ(Machine(), "[Users]\r\ntester=1\r\nalice=2\r\n");

    // A user whose entry was removed while three others remain gets 4.
    UserNumber("bob");
    UserNumber("carol");
    OpenMachineSettings()->DeleteKey("Users", "tester");
    EXPECT_EQ(UserNumber("tester"), "4");
    EXPECT_EQ(UserSettingsFileName("4"), InModule("user_4.ini"));
}

TEST_F(SettingsTest, UserNumberFallsBackToOne) {
    host_.user->SetUserName(std::nullopt);
    EXPECT_EQ(WindowsUserName(), "");
    EXPECT_EQ(UserNumber(""), "2");  // the empty name is a key of its own

    host_.module->SetFileName("c:\\no\\such\\folder\\Solvane.dll");
    EXPECT_EQ(UserNumber("dave"), "1");
}

TEST_F(SettingsTest, AUserNumberThatIsNoNumberIsReplacedByAFreshOne) {
    // The table is text any user may edit, and the merge runs elevated: a
    // value that is not 1 to 9 digits must never reach a file name.
    const std::string bad[] = {"1\\..\\..\\..\\windows\\win", "..\\1", "1/../x", "c:\\x",
                               "1234567890", "", "abc", "-1", "12a", "+5", "1 2"};
    for (const std::string& value : bad) {
        WriteBytes(InModule("Solvane.ini"), "[Users]\r\nother=1\r\ntester=" + value + "\r\n");
        EXPECT_EQ(UserNumber(""), "3") << value;
        EXPECT_EQ(CurrentUserSettingsFileName(), InModule("user_3.ini")) << value;
        EXPECT_EQ(Machine(), "[Users]\r\nother=1\r\ntester=3\r\n") << value;
        // Handed to the file name directly, it is no path piece either.
        EXPECT_EQ(UserSettingsFileName(value), InModule("user_1.ini")) << value;
    }
    WriteBytes(InModule("Solvane.ini"), "[Users]\r\ntester=123456789\r\n");
    EXPECT_EQ(UserNumber(""), "123456789");
    EXPECT_EQ(CurrentUserSettingsFileName(), InModule("user_123456789.ini"));
}

TEST_F(SettingsTest, NamedSettingsAndTheirDefaults) {
    EXPECT_TRUE(IsFirstTime());
    EXPECT_FALSE(IsBlockingPopups());
    EXPECT_FALSE(PlaySoundWhenBlockingPopup());
    EXPECT_FALSE(ShowBlockedCursorWhenBlockingPopup());
    EXPECT_FALSE(IsWhatsNewOverridden());
    EXPECT_FALSE(IsToolbarVisible());

    SetFirstTime(false);
    SetToolbarVisible(true);
    SetWhatsNewOverridden(true);
    EXPECT_FALSE(IsFirstTime());
    EXPECT_TRUE(IsToolbarVisible());
    EXPECT_TRUE(IsWhatsNewOverridden());
    const std::string user = FileBytes(InModule("user_1.ini"));
    EXPECT_EQ(user.find("[App]\r\nFirstTime=False\r\n"), 0u);
    EXPECT_NE(user.find("[OverriddenValues]\r\nWhatsNew=True\r\n"), std::string::npos);
    EXPECT_NE(Machine().find("[Toolbar]\r\nVisible=True\r\n"), std::string::npos);

    WriteBytes(InModule("user_1.ini"),
               "[TBandForm]\r\nBlockingPopups_Value=yes\r\nPlaySoundWhenBlockingPopup_Value=1\r\n"
               "ShowBlockedCursorWhenBlockingPopup_Value=TRUE\r\n");
    EXPECT_TRUE(IsBlockingPopups());
    EXPECT_TRUE(PlaySoundWhenBlockingPopup());
    EXPECT_TRUE(ShowBlockedCursorWhenBlockingPopup());
}

TEST_F(SettingsTest, FirstBlockedPopupIsReportedOncePerUser) {
    EXPECT_TRUE(TakeFirstTimeBlockingPopup());
    EXPECT_FALSE(TakeFirstTimeBlockingPopup());
    // A restarted browser opens the file afresh.
    FreeSharedIniFile();
    ChooseUserSettingsFile();
    EXPECT_FALSE(TakeFirstTimeBlockingPopup());
    // Another user has their own flag.
    host_.user->SetUserName("other");
    ChooseUserSettingsFile();
    EXPECT_TRUE(TakeFirstTimeBlockingPopup());
}

TEST_F(SettingsTest, PopupsAllowedPerDomain) {
    AllowPopupsForDomain("http://www.news.example.com/a");
    EXPECT_TRUE(IsPopupAllowedForDomain("https://mail.example.com/"));
    EXPECT_FALSE(IsPopupAllowedForDomain("http://example.org/"));
    EXPECT_NE(FileBytes(InModule("user_1.ini")).find("[DomainsAllowedPopups]\r\nexample.com=True\r\n"),
              std::string::npos);
    DisallowPopupsForDomain("http://example.com");
    EXPECT_FALSE(IsPopupAllowedForDomain("http://www.example.com"));

    // Addresses without a host are their own key: none that would write
    // another key or section than the one read back is stored.
    const std::string before = FileBytes(InModule("user_1.ini"));
    for (const char* address : {"about:a=b", "[Injected]", ";comment", "a\r\nb=True", ""}) {
        AllowPopupsForDomain(address);
        EXPECT_FALSE(IsPopupAllowedForDomain(address)) << address;
    }
    EXPECT_EQ(FileBytes(InModule("user_1.ini")), before);
    AllowPopupsForDomain("about:blank");
    EXPECT_TRUE(IsPopupAllowedForDomain("about:blank"));
}

TEST_F(SettingsTest, HostlessAddressesTheSettingsFileWouldTrimOrCutAreNoKeys) {
    // The profile services trim tabs and the like from names and stop a name
    // at a NUL: such a key would be stored as another site's, and removing
    // the site would not find it again.
    const std::string before = FileBytes(InModule("user_1.ini"));
    for (const std::string& address : {std::string("intranet\t"), std::string("\x0bintranet"),
                                       std::string("intranet\x1a"), std::string("intra\0net", 9)}) {
        AllowPopupsForDomain(address);
        EXPECT_FALSE(IsPopupAllowedForDomain(address));
        EXPECT_FALSE(IsPopupAllowedForDomain("intranet"));
        EXPECT_FALSE(IsPopupAllowedForDomain("intra"));
    }
    EXPECT_EQ(FileBytes(InModule("user_1.ini")), before);
    AllowPopupsForDomain("intranet");
    DisallowPopupsForDomain("intranet");
    EXPECT_FALSE(IsPopupAllowedForDomain("intranet"));
}

TEST_F(SettingsTest, ModifierKeys) {
    EXPECT_FALSE(IsModifierKeyDown());
    for (int key : {platform::vk::Shift, platform::vk::Control, platform::vk::Menu}) {
        host_.keyboard->SetKeyDown(key, true);
        EXPECT_TRUE(IsModifierKeyDown()) << key;
        host_.keyboard->SetKeyDown(key, false);
    }
}

TEST_F(SettingsTest, DebugModeIsDecidedOnce) {
    // The marker stays inside the test's own drive c:, away from other programs.
    platform::ScopedServices hostFiles(HostFilesOnly());
    EXPECT_FALSE(IsDebugMode());
    host_.files->WriteFile(DebugMarkerFile, "");
    EXPECT_FALSE(IsDebugMode());  // cached until the module loads again
    DebugMessage("ignored");
    EXPECT_TRUE(host_.dialogs->ShownDialogs().empty());
    ResetDebugMode();
    EXPECT_TRUE(IsDebugMode());
    DebugMessage("hello");
    ASSERT_EQ(host_.dialogs->ShownDialogs().size(), 1u);
    EXPECT_EQ(host_.dialogs->ShownDialogs()[0].text, "SV:\r\rhello");
}

TEST_F(SettingsTest, ShellHostCheck) {
    EXPECT_FALSE(IsShellHost());
    host_.module->SetHostExecutable("C:\\WINDOWS\\EXPLORER.EXE");
    EXPECT_TRUE(IsShellHost());
    host_.module->SetHostExecutable("c:\\tools\\explorer.exe.backup\\iexplore.exe");
    EXPECT_TRUE(IsShellHost());
    host_.module->SetHostExecutableFails(true);
    EXPECT_FALSE(IsShellHost());
    EXPECT_EQ(ShellHostNotificationExitCode(1), 1);
    EXPECT_EQ(ShellHostNotificationExitCode(0), 0);
}

TEST_F(SettingsTest, BrowserRegistrySettings) {
    // Start from a browser that never had these values (the real registry on Windows).
    for (auto name : {"Disable Script Debugger", "Error Dlg Displayed On Every Error", "Display Inline Images",
                      "FlagAsNumber"})
        Registry().DeleteValue(platform::RegRoot::CurrentUser, "Software\\Microsoft\\Internet Explorer\\Main", name);
    Registry().DeleteValue(platform::RegRoot::CurrentUser, "Software\\Microsoft\\Internet Explorer\\Toolbar", "Locked");
    auto value = [&](const char* name) {
        auto v = Registry().ReadValue(platform::RegRoot::CurrentUser,
                                           "Software\\Microsoft\\Internet Explorer\\Main", name);
        return v ? v->text : std::string("<missing>");
    };
    EXPECT_TRUE(AreScriptErrorsShown());
    SetScriptErrorsShown(false);
    EXPECT_EQ(value("Disable Script Debugger"), "yes");
    EXPECT_EQ(value("Error Dlg Displayed On Every Error"), "no");
    EXPECT_FALSE(AreScriptErrorsShown());
    SetScriptErrorsShown(true);
    EXPECT_EQ(value("Disable Script Debugger"), "no");
    EXPECT_EQ(value("Error Dlg Displayed On Every Error"), "yes");
    EXPECT_TRUE(AreScriptErrorsShown());

    WriteBrowserMainText("Disable Script Debugger", "YES");
    Registry().DeleteValue(platform::RegRoot::CurrentUser, "Software\\Microsoft\\Internet Explorer\\Main",
                                "Error Dlg Displayed On Every Error");
    EXPECT_FALSE(AreScriptErrorsShown());

    WriteBrowserMainFlag("Display Inline Images", false, false);
    EXPECT_EQ(value("Display Inline Images"), "no");
    WriteBrowserMainFlag("FlagAsNumber", true, true);
    auto flag = Registry().ReadValue(platform::RegRoot::CurrentUser,
                                          "Software\\Microsoft\\Internet Explorer\\Main", "FlagAsNumber");
    ASSERT_TRUE(flag);
    EXPECT_EQ(flag->type, platform::RegType::DWord);
    EXPECT_EQ(flag->dword, 1u);

    EXPECT_FALSE(IsToolbarLocked());
    SetToolbarLocked(true);
    EXPECT_TRUE(IsToolbarLocked());
    auto locked = Registry().ReadValue(platform::RegRoot::CurrentUser,
                                            "Software\\Microsoft\\Internet Explorer\\Toolbar", "Locked");
    ASSERT_TRUE(locked);
    EXPECT_EQ(locked->dword, 1u);

    BroadcastSettingChange();
    EXPECT_EQ(host_.windows->Broadcasts(), (std::vector<std::string>{"windows"}));

    host_.dialogs->PushAnswer(platform::mb::IdYes);
    EXPECT_TRUE(AskDisableScriptWarnings());
    EXPECT_EQ(host_.dialogs->ShownDialogs().back().caption, "Zephyra - Popup Blocker");
}

TEST_F(SettingsTest, AUserNumberThatCouldNotBeRecordedIsOne) {
#ifdef _WIN32
    GTEST_SKIP() << "wine run as root writes read-only files";
#endif
    EXPECT_EQ(UserNumber(""), "1");
    ASSERT_TRUE(Files().SetReadOnly(InModule("Solvane.ini"), true));
    // Nothing reaches the file, so neither user may be given "2": they
    // would share one settings file without the table knowing.
    EXPECT_EQ(UserNumber("alice"), "1");
    EXPECT_EQ(UserNumber("bob"), "1");
    EXPECT_EQ(UserNumber("tester"), "1");
    EXPECT_EQ(Machine(), "[Users]\r\ntester=1\r\n");
    Files().SetReadOnly(InModule("Solvane.ini"), false);
    EXPECT_EQ(UserNumber("alice"), "2");
}
