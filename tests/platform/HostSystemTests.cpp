// Module, shell, clock, user, environment, keyboard, dialogs, windows.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <thread>

#include "platform/Services.h"
#include "platform/host/HostPlatform.h"
#include "support/TempFolder.h"

using namespace platform;
using namespace platform::host;

TEST(HostModule, DefaultsAndVersions) {
    HostModule module;
    EXPECT_EQ(module.FileName(), "c:\\Program Files\\Zephyra\\Solvane.dll");
    EXPECT_EQ(module.HostExecutable(), "C:\\Program Files\\Internet Explorer\\iexplore.exe");
    EXPECT_FALSE(module.VersionOf("").has_value());
    module.SetVersion("", {1, 2, 3, 4});  // the module's own
    EXPECT_EQ(*module.VersionOf(""), (FileVersion{1, 2, 3, 4}));
    EXPECT_EQ(*module.VersionOf("C:\\PROGRAM FILES\\Zephyra\\solvane.dll"), (FileVersion{1, 2, 3, 4}));
    module.SetVersion("c:\\x.exe", {5, 6, 7, 8});
    EXPECT_EQ(*module.VersionOf("C:\\X.EXE"), (FileVersion{5, 6, 7, 8}));
    EXPECT_FALSE(module.VersionOf("c:\\y.exe").has_value());
    module.SetFileName("c:\\other.dll");
    EXPECT_EQ(module.FileName(), "c:\\other.dll");
    module.SetHostExecutable("c:\\host.exe");
    EXPECT_EQ(module.HostExecutable(), "c:\\host.exe");
    module.SetHostExecutableFails(true);
    EXPECT_THROW(module.HostExecutable(), std::runtime_error);
}

TEST(HostShell, RecordsStarts) {
    HostShell shell;
    EXPECT_TRUE(shell.Open("http://x/", "-p", show::Normal));
    shell.SetResult(false);
    EXPECT_FALSE(shell.Exec("notepad.exe a.txt", show::Hide));
    auto starts = shell.Starts();
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_FALSE(starts[0].viaExec);
    EXPECT_EQ(starts[0].file, "http://x/");
    EXPECT_EQ(starts[0].parameters, "-p");
    EXPECT_EQ(starts[0].showCommand, show::Normal);
    EXPECT_TRUE(starts[1].viaExec);
    EXPECT_EQ(starts[1].file, "notepad.exe a.txt");
    shell.ClearStarts();
    EXPECT_TRUE(shell.Starts().empty());
}

TEST(HostClock, SleepAdvancesTicksAndTime) {
    HostClock clock;
    EXPECT_EQ(clock.TickCount(), 1000u);
    clock.Sleep(500);
    EXPECT_EQ(clock.TickCount(), 1500u);
    LocalTime now = clock.Now();
    EXPECT_EQ(now.second, 0);
    EXPECT_EQ(now.millisecond, 500);

    clock.SetTickCount(0xFFFFFF00u);
    clock.Advance(0x200);
    EXPECT_EQ(clock.TickCount(), 0x100u);  // wraps at 2^32

    clock.SetNow({2024, 2, 28, 23, 59, 59, 900});
    clock.Sleep(200);
    LocalTime leap = clock.Now();
    EXPECT_EQ(leap.year, 2024);
    EXPECT_EQ(leap.month, 2);
    EXPECT_EQ(leap.day, 29);
    EXPECT_EQ(leap.hour, 0);
    EXPECT_EQ(leap.minute, 0);
    EXPECT_EQ(leap.second, 0);
    EXPECT_EQ(leap.millisecond, 100);

    clock.SetNow({2026, 12, 31, 23, 0, 0, 0});
    clock.Sleep(3u * 3600 * 1000);
    LocalTime next = clock.Now();
    EXPECT_EQ(next.year, 2027);
    EXPECT_EQ(next.month, 1);
    EXPECT_EQ(next.day, 1);
    EXPECT_EQ(next.hour, 2);

    EXPECT_EQ(clock.ShortDateFormat(), "M/d/yyyy");
    EXPECT_EQ(clock.DateSeparator(), '/');
    clock.SetShortDateFormat("dd.MM.yyyy", '.');
    EXPECT_EQ(clock.ShortDateFormat(), "dd.MM.yyyy");
    EXPECT_EQ(clock.DateSeparator(), '.');
}

TEST(HostUser, NameOrFailure) {
    HostUser user;
    EXPECT_EQ(*user.UserName(), "tester");
    user.SetUserName(std::nullopt);
    EXPECT_FALSE(user.UserName().has_value());
    user.SetUserName("someone");
    EXPECT_EQ(*user.UserName(), "someone");
}

TEST(HostEnvironment, ExpandsKnownNamesOnly) {
    HostEnvironment env;
    env.Set("AppData", "C:\\Users\\t\\AppData");
    env.Set("x", "1");
    EXPECT_EQ(env.Expand("%APPDATA%\\Zephyra"), "C:\\Users\\t\\AppData\\Zephyra");
    EXPECT_EQ(env.Expand("%appdata%%X%"), "C:\\Users\\t\\AppData1");
    EXPECT_EQ(env.Expand("%UNKNOWN%\\a"), "%UNKNOWN%\\a");
    EXPECT_EQ(env.Expand("100% sure"), "100% sure");
    EXPECT_EQ(env.Expand("a%%b"), "a%%b");
    EXPECT_EQ(env.Expand("%x"), "%x");
    EXPECT_EQ(env.Expand("%NOPE%x%"), "%NOPE%x%");  // after an unknown name the scan goes on past it
    EXPECT_EQ(env.Expand(""), "");
}

TEST(HostKeyboard, KeysUpUnlessSet) {
    HostKeyboard keyboard;
    EXPECT_FALSE(keyboard.IsKeyDown(vk::Shift));
    keyboard.SetKeyDown(vk::Shift, true);
    EXPECT_TRUE(keyboard.IsKeyDown(vk::Shift));
    EXPECT_FALSE(keyboard.IsKeyDown(vk::Control));
    keyboard.SetKeyDown(vk::Shift, false);
    EXPECT_FALSE(keyboard.IsKeyDown(vk::Shift));
}

TEST(HostDialogs, ScriptedAnswersAndDefaults) {
    HostDialogs dialogs;
    EXPECT_EQ(dialogs.MessageBox("Saved", "Zephyra", mb::Ok | mb::IconInformation), mb::IdOk);
    EXPECT_EQ(dialogs.MessageBox("Delete?", "Zephyra", mb::YesNo | mb::IconQuestion), mb::IdNo);
    dialogs.PushAnswer(mb::IdYes);
    EXPECT_EQ(dialogs.MessageBox("Delete?", "Zephyra", mb::YesNo), mb::IdYes);
    std::string value = "initial";
    EXPECT_FALSE(dialogs.InputQuery("Caption", "Name:", value));  // none scripted: cancelled
    EXPECT_EQ(value, "initial");
    dialogs.PushInput(std::string("typed"));
    dialogs.PushInput(std::nullopt);
    EXPECT_TRUE(dialogs.InputQuery("Caption", "Name:", value));
    EXPECT_EQ(value, "typed");
    EXPECT_FALSE(dialogs.InputQuery("Caption", "Again:", value));
    EXPECT_EQ(value, "typed");
    auto shown = dialogs.ShownDialogs();
    ASSERT_EQ(shown.size(), 6u);
    EXPECT_FALSE(shown[0].inputBox);
    EXPECT_EQ(shown[0].text, "Saved");
    EXPECT_EQ(shown[0].caption, "Zephyra");
    EXPECT_EQ(shown[0].flags, mb::Ok | mb::IconInformation);
    EXPECT_TRUE(shown[3].inputBox);
    EXPECT_EQ(shown[3].text, "Name:");
    EXPECT_EQ(shown[3].initialValue, "initial");
    EXPECT_EQ(shown[5].text, "Again:");
    EXPECT_EQ(shown[5].initialValue, "typed");
}

TEST(HostWindows, FindSendPostBroadcast) {
    HostWindows windows;
    WindowHandle a = windows.AddWindow("IEFrame", "Page - Browser", [](unsigned msg, std::uintptr_t w, std::intptr_t l) {
        return static_cast<std::intptr_t>(msg + w + l);
    });
    WindowHandle b = windows.AddWindow("IEFrame", "Other");
    EXPECT_NE(a, 0u);
    EXPECT_NE(a, b);
    EXPECT_EQ(windows.FindWindow("ieframe", ""), a);  // class names ignore case
    EXPECT_EQ(windows.FindWindow("IEFrame", "other"), b);
    EXPECT_EQ(windows.FindWindow("IEFrame", "none"), 0u);
    EXPECT_EQ(windows.FindWindow("Shell_TrayWnd", ""), 0u);

    EXPECT_EQ(windows.SendMessage(a, 0x10, 2, 3), 0x15);
    EXPECT_EQ(windows.SendMessage(b, 0x10, 2, 3), 0);  // no handler
    EXPECT_TRUE(windows.PostMessage(b, 0x11, 0, 0));
    EXPECT_FALSE(windows.PostMessage(0x999, 0x11, 0, 0));
    auto messages = windows.Messages();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0].window, a);
    EXPECT_EQ(messages[0].message, 0x10u);
    EXPECT_FALSE(messages[0].posted);
    EXPECT_TRUE(messages[2].posted);

    windows.BroadcastSettingChange("Zephyra");
    EXPECT_EQ(windows.Broadcasts(), (std::vector<std::string>{"Zephyra"}));
    windows.ProcessMessages();
    windows.ProcessMessages();
    EXPECT_EQ(windows.ProcessMessagesCalls(), 2);
    windows.RemoveWindow(a);
    EXPECT_EQ(windows.FindWindow("IEFrame", "Page - Browser"), 0u);
}

TEST(HostWindows, HandlerMayCallBack) {
    HostWindows windows;
    WindowHandle w = 0;
    w = windows.AddWindow("C", "T", [&](unsigned, std::uintptr_t, std::intptr_t) {
        windows.PostMessage(w, 0x20, 0, 0);  // no deadlock
        return std::intptr_t{1};
    });
    EXPECT_EQ(windows.SendMessage(w, 0x10, 0, 0), 1);
    EXPECT_EQ(windows.Messages().size(), 2u);
}

TEST(HostPlatformSet, ServesEveryStandIn) {
    TempFolder folder;
    HostPlatform host(folder.Path());
    ServiceSet set = host.Set();
    EXPECT_EQ(set.profiles, host.profiles);
    EXPECT_EQ(set.files, host.files);
    EXPECT_EQ(set.windows, host.windows);
    ScopedServices scope(set);
    host.files->CreateDirectory("c:\\cfg");
    EXPECT_TRUE(Profiles().WriteString("c:\\cfg\\x.ini", "s", "k", "v"));
    EXPECT_TRUE(Files().FileExists("c:\\cfg\\x.ini"));
    EXPECT_TRUE(std::filesystem::exists(folder.Path() + "/c/cfg/x.ini"));
    host.clock->SetTickCount(42);
    EXPECT_EQ(Clock().TickCount(), 42u);
}
