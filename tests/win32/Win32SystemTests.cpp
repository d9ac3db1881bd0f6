// Environment, user, clock, programs started through the shell, and the default set.
#include <gtest/gtest.h>

#include "Win32TestSupport.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32SystemLibrary.h"

using namespace platform::win32;
using zrtest::TempDir;

namespace {

TEST(Win32EnvironmentTest, KnownReferencesExpandAndUnknownOnesStay) {
    ASSERT_TRUE(::SetEnvironmentVariableA("ZR_TEST_VAR", "abc"));
    Win32Environment environment;
    EXPECT_EQ(environment.Expand("x%ZR_TEST_VAR%y %zr_test_var% %ZR_NOT_SET%"), "xabcy abc %ZR_NOT_SET%");
    EXPECT_EQ(environment.Expand(""), "");
    EXPECT_EQ(environment.Expand("100%"), "100%");

    std::string big(5000, 'b');
    ASSERT_TRUE(::SetEnvironmentVariableA("ZR_TEST_BIG", big.c_str()));
    EXPECT_EQ(environment.Expand("<%ZR_TEST_BIG%%ZR_TEST_BIG%>"), "<" + big + big + ">");
}

TEST(Win32UserTest, TheUserHasAName) {
    auto name = Win32User().UserName();
    ASSERT_TRUE(name);
    EXPECT_FALSE(name->empty());
    EXPECT_EQ(name->find('\0'), std::string::npos);
}

TEST(Win32ClockTest, WindowsDatePicturesInTheRuntimeNotation) {
    EXPECT_EQ(Win32Clock::ConvertDatePicture("M/d/yyyy"), "M/d/yyyy");
    EXPECT_EQ(Win32Clock::ConvertDatePicture("dd.MM.yyyy"), "dd.MM.yyyy");
    EXPECT_EQ(Win32Clock::ConvertDatePicture("yyyy-MM-dd"), "yyyy-MM-dd");
    EXPECT_EQ(Win32Clock::ConvertDatePicture("gg yyyy/M/d"), "yyyy/M/d");    // no era in the runtime
    EXPECT_EQ(Win32Clock::ConvertDatePicture("d/M/yyyy g"), "d/M/yyyy");
    EXPECT_EQ(Win32Clock::ConvertDatePicture("d' de 'MMMM"), "d' de 'MMMM");
    EXPECT_EQ(Win32Clock::ConvertDatePicture("yy''''MM"), "yy\"'\"MM");        // '' is a quote
    EXPECT_EQ(Win32Clock::ConvertDatePicture("d''M"), "d\"'\"M");
    EXPECT_EQ(Win32Clock::ConvertDatePicture("yyyy\"MM"), "yyyy'\"'MM");
    EXPECT_EQ(Win32Clock::ConvertDatePicture("d t M"), "d 't' M");            // a stray letter stays literal
    EXPECT_EQ(Win32Clock::ConvertDatePicture(""), "M/d/yyyy");
}

TEST(Win32ClockTest, TheUserLocaleGivesAFormatAndItsSeparator) {
    Win32Clock clock;
    std::string format = clock.ShortDateFormat();
    EXPECT_NE(format.find('d'), std::string::npos) << format;
    EXPECT_NE(format.find('M'), std::string::npos) << format;
    EXPECT_NE(format.find('y'), std::string::npos) << format;
    char separator = clock.DateSeparator();
    EXPECT_NE(format.find(separator), std::string::npos) << format << " / " << separator;
}

TEST(Win32ClockTest, TimeMovesOn) {
    Win32Clock clock;
    auto now = clock.Now();
    EXPECT_GE(now.year, 2020);
    EXPECT_TRUE(now.month >= 1 && now.month <= 12);
    EXPECT_TRUE(now.day >= 1 && now.day <= 31);
    std::uint32_t before = clock.TickCount();
    clock.Sleep(300);
    std::uint32_t elapsed = clock.TickCount() - before;  // milliseconds, in coarse steps
    EXPECT_GE(elapsed, 150u);
    EXPECT_LT(elapsed, 60000u);
}

bool WaitForFile(const std::string& path) {
    for (int i = 0; i < 300; ++i) {
        if (::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
        ::Sleep(50);
    }
    return false;
}

TEST(Win32ShellTest, ProgramsStartThroughTheShellAndWinExec) {
    TempDir dir;
    Win32Shell shell;
    std::string opened = dir / "opened.txt", executed = dir / "executed.txt";
    ASSERT_TRUE(shell.Open("cmd.exe", "/c echo open> \"" + opened + "\"", platform::show::Hide));
    ASSERT_TRUE(shell.Exec("cmd.exe /c echo exec> \"" + executed + "\"", platform::show::Hide));
    EXPECT_TRUE(WaitForFile(opened));
    EXPECT_TRUE(WaitForFile(executed));

    EXPECT_FALSE(shell.Open(dir / "no such document.zzz", "", platform::show::Normal));
    std::string missing = std::string(1, '"').append(dir / "missing.exe").append(1, '"');
    EXPECT_FALSE(shell.Exec(missing, platform::show::Normal));
    ::Sleep(500);  // let cmd let go of the files before the folder goes
}

TEST(DefaultServicesTest, EveryServiceIsTheWin32One) {
    platform::ServiceSet set = platform::CreateDefaultServices();
    EXPECT_TRUE(dynamic_cast<Win32ProfileFiles*>(set.profiles.get()));
    EXPECT_TRUE(dynamic_cast<Win32FileLocks*>(set.locks.get()));
    EXPECT_TRUE(dynamic_cast<Win32Registry*>(set.registry.get()));
    EXPECT_TRUE(dynamic_cast<Win32FileSystem*>(set.files.get()));
    EXPECT_TRUE(dynamic_cast<Win32Module*>(set.module.get()));
    EXPECT_TRUE(dynamic_cast<Win32Shell*>(set.shell.get()));
    EXPECT_TRUE(dynamic_cast<Win32Keyboard*>(set.keyboard.get()));
    EXPECT_TRUE(dynamic_cast<Win32Clock*>(set.clock.get()));
    EXPECT_TRUE(dynamic_cast<Win32User*>(set.user.get()));
    EXPECT_TRUE(dynamic_cast<Win32Environment*>(set.environment.get()));
    EXPECT_TRUE(dynamic_cast<Win32Dialogs*>(set.dialogs.get()));
    EXPECT_TRUE(dynamic_cast<Win32Windows*>(set.windows.get()));
    EXPECT_TRUE(dynamic_cast<Win32SpecialFolders*>(set.specialFolders.get()));
    EXPECT_TRUE(dynamic_cast<Win32CodePage*>(set.codePage.get()));
}

TEST(Win32SpecialFoldersTest, TheWindowsFolderHoldsTheShell) {
    const std::string folder = Win32SpecialFolders().WindowsFolder();
    ASSERT_GE(folder.size(), 3u);
    EXPECT_EQ(folder[1], ':');
    EXPECT_NE(folder.back(), '\\');
    EXPECT_NE(::GetFileAttributesA((folder + "\\explorer.exe").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Win32SystemLibraryTest, SystemDllsComeFromTheSystemFolderOnly) {
    HMODULE richEdit = LoadSystemLibrary("riched20.dll");
    ASSERT_NE(richEdit, nullptr);
    char path[MAX_PATH + 1] = {};
    ::GetModuleFileNameA(richEdit, path, sizeof path);
    char system[MAX_PATH + 1] = {};
    const UINT length = ::GetSystemDirectoryA(system, sizeof system);
    EXPECT_EQ(_strnicmp(path, system, length), 0) << path;
    ::FreeLibrary(richEdit);

    // A DLL in the current folder is found by bare name, and never as a system one.
    TempDir dir;
    ASSERT_TRUE(::CopyFileA((zrtest::ProgramFolder() + "\\zr_win32_probe.dll").c_str(),
                            (dir / "zr_planted.dll").c_str(), FALSE));
    char previous[MAX_PATH + 1] = {};
    ::GetCurrentDirectoryA(sizeof previous, previous);
    ::SetCurrentDirectoryA(dir.Path().c_str());
    HMODULE planted = LoadSystemLibrary("zr_planted.dll");
    HMODULE byName = ::LoadLibraryA("zr_planted.dll");
    ::SetCurrentDirectoryA(previous);
    EXPECT_EQ(planted, nullptr);
    EXPECT_NE(byName, nullptr);  // the search this avoids
    if (planted) ::FreeLibrary(planted);
    if (byName) ::FreeLibrary(byName);
}

}  // namespace
