// The installation's small programs, started as the toolbar and the
// uninstall command start them: Notelle.exe opens a page of the Help folder
// with the shell's "open" verb; Brakel.exe closes the browser's windows and
// then starts the program it was given. The updater has tests of its own.
#include <gtest/gtest.h>

#include <string>

#include "win32/WinProcess.h"
#include "win32/Win32TestSupport.h"

namespace {

// The recorder appends its arguments as one line to "Notelle.log" beside itself.
std::string RecordedLines(const zrtest::TempDir& folder) {
    const std::string path = folder / "Notelle.log";
    return ::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES ? std::string() : zrtest::ReadBytes(path);
}

void SetDefault(HKEY root, const std::string& path, const std::string& value) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
    ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
    ::RegCloseKey(key);
}

// The user's program for web pages is, for this test, the recorder.
class NotelleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(zrtest::CopyInto(zrtest::WindowsPathOf(ZR_NOTELLE_EXE), folder / "Notelle.exe"));
        ASSERT_TRUE(zrtest::CopyInto(zrtest::WindowsPathOf(ZR_RECORDER_EXE), folder / "PageViewer.exe"));
        ::CreateDirectoryA((folder / "Help").c_str(), nullptr);
        zrtest::WriteBytes(folder / "Help\\popupblockerhelp.html", "<p>help</p>");
        zrtest::WriteBytes(folder / "Help\\firstpopupblocked.html", "<p>notice</p>");
        SetDefault(HKEY_CLASSES_ROOT, ".html", "ZrTestPage");
        SetDefault(HKEY_CLASSES_ROOT, "ZrTestPage\\shell\\open\\command", "\"" + (folder / "PageViewer.exe") + "\" \"%1\"");
    }
    void TearDown() override {
        ::RegDeleteTreeA(HKEY_CLASSES_ROOT, "ZrTestPage");
        ::RegDeleteTreeA(HKEY_CLASSES_ROOT, ".html");
    }
    int Notelle(const std::string& arguments) { return zrtest::ChildProcess(folder / "Notelle.exe", arguments).Wait(); }
    // The viewer runs on its own after Notelle ends: wait for its line.
    std::string Opened() {
        for (int i = 0; i < 100 && RecordedLines(folder).empty(); ++i) ::Sleep(50);
        return RecordedLines(folder);
    }

    zrtest::TempDir folder;
};

TEST_F(NotelleTest, EachNameOpensItsOwnPageWithTheShell) {
    EXPECT_EQ(Notelle("POPUPBLOCKERHELP"), 0);
    const std::string first = Opened();
    EXPECT_NE(first.find("Help\\popupblockerhelp.html"), std::string::npos) << first;
    ::DeleteFileA((folder / "Notelle.log").c_str());
    EXPECT_EQ(Notelle("FIRSTPOPUPBLOCKED"), 0);
    const std::string second = Opened();
    EXPECT_NE(second.find("Help\\firstpopupblocked.html"), std::string::npos) << second;
}

TEST_F(NotelleTest, NamesThatAreNoPageOpenNothing) {
    EXPECT_EQ(Notelle("NOSUCHPAGE"), 3);
    EXPECT_EQ(Notelle(""), 2);
    EXPECT_EQ(Notelle("..\\..\\windows\\win"), 2);  // no way out of the Help folder
    EXPECT_EQ(Notelle("popupblockerhelp.html"), 2);
    EXPECT_EQ(Notelle(std::string(300, 'A')), 2);
    ::Sleep(300);
    EXPECT_EQ(RecordedLines(folder), "");
}

// Windows of the browser's frame class, and one of another program.
LRESULT CALLBACK StubbornProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) return 0;  // a window that will not close
    return ::DefWindowProcA(window, message, wParam, lParam);
}

HWND NewWindow(const char* className, WNDPROC procedure = &::DefWindowProcA) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className;
    ::RegisterClassA(&windowClass);
    return ::CreateWindowExA(0, className, "window", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                             windowClass.hInstance, nullptr);
}

TEST(BrakelTest, ClosesEveryBrowserWindowThenStartsTheUninstaller) {
    zrtest::TempDir folder;
    ASSERT_TRUE(zrtest::CopyInto(zrtest::WindowsPathOf(ZR_BRAKEL_EXE), folder / "Brakel.exe"));
    ASSERT_TRUE(zrtest::CopyInto(zrtest::WindowsPathOf(ZR_RECORDER_EXE), folder / "unwise.exe"));
    HWND browsers[] = {NewWindow("IEFrame"), NewWindow("IEFrame")};
    HWND other = NewWindow("ZrNotABrowser");
    const std::string command = "\"" + (folder / "unwise.exe") + "\" \"" + (folder / "install.log") + "\"";
    EXPECT_EQ(zrtest::ChildProcess(folder / "Brakel.exe", command).Wait(30000, true), 0);
    for (HWND browser : browsers) EXPECT_FALSE(::IsWindow(browser));
    EXPECT_TRUE(::IsWindow(other));
    std::string line;
    for (int i = 0; i < 100 && (line = RecordedLines(folder)).empty(); ++i) ::Sleep(50);
    line.erase(line.find_last_not_of("\r\n") + 1);
    EXPECT_EQ(line, folder / "install.log");
    ::DestroyWindow(other);

    // Nothing to close and nothing to start: done at once.
    EXPECT_EQ(zrtest::ChildProcess(folder / "Brakel.exe", "").Wait(30000, true), 0);
}

TEST(BrakelTest, AWindowThatStaysOpenKeepsTheUninstallerFromStarting) {
    zrtest::TempDir folder;
    ASSERT_TRUE(zrtest::CopyInto(zrtest::WindowsPathOf(ZR_BRAKEL_EXE), folder / "Brakel.exe"));
    ASSERT_TRUE(zrtest::CopyInto(zrtest::WindowsPathOf(ZR_RECORDER_EXE), folder / "unwise.exe"));
    HWND stubborn = NewWindow("IEFrame", &StubbornProc);
    EXPECT_EQ(zrtest::ChildProcess(folder / "Brakel.exe", "\"" + (folder / "unwise.exe") + "\"").Wait(30000, true), 1);
    EXPECT_TRUE(::IsWindow(stubborn));
    ::Sleep(300);
    EXPECT_EQ(RecordedLines(folder), "");
    ::DestroyWindow(stubborn);
    // A program that cannot be started is said so.
    EXPECT_EQ(zrtest::ChildProcess(folder / "Brakel.exe", "\"" + (folder / "missing.exe") + "\"").Wait(30000, true), 2);
}

TEST(BrakelTest, TheUninstallerIsStartedByItsFullPathAndNothingBeforeABlank) {
    // Installed in "...\Zephyra Install\", with a program named after the
    // folder's first word ("...\Zephyra.exe") beside it.
    zrtest::TempDir root;
    const std::string folder = root / "Zephyra Install";
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(zrtest::CopyInto(zrtest::WindowsPathOf(ZR_BRAKEL_EXE), folder + "\\Brakel.exe"));
    ASSERT_TRUE(zrtest::CopyInto(zrtest::WindowsPathOf(ZR_RECORDER_EXE), folder + "\\unwise.exe"));
    ASSERT_TRUE(zrtest::CopyInto(zrtest::WindowsPathOf(ZR_RECORDER_EXE), root / "Zephyra.exe"));
    const std::string brakel = folder + "\\Brakel.exe", log = folder + "\\install.log";
    auto recorded = [](const std::string& path) {
        return ::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES ? std::string() : zrtest::ReadBytes(path);
    };

    // Unquoted, the command names no program that exists: nothing starts.
    EXPECT_EQ(zrtest::ChildProcess(brakel, folder + "\\unwise.exe " + log).Wait(30000, true), 2);
    // A program given by a relative name is never searched for.
    EXPECT_EQ(zrtest::ChildProcess(brakel, "Zephyra.exe", root.Path()).Wait(30000, true), 2);

    // Quoted, the uninstaller starts and gets its log as one argument.
    const std::string command = "\"" + folder + "\\unwise.exe\" \"" + log + "\"";
    EXPECT_EQ(zrtest::ChildProcess(brakel, command).Wait(30000, true), 0);
    std::string line;
    for (int i = 0; i < 100 && (line = recorded(folder + "\\Notelle.log")).empty(); ++i) ::Sleep(50);
    line.erase(line.find_last_not_of("\r\n") + 1);
    EXPECT_EQ(line, log);
    ::Sleep(300);
    EXPECT_EQ(recorded(root / "Notelle.log"), "");  // the decoy never ran
}

}  // namespace
