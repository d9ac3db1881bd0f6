// Files, folders, the running module and version resources.
#include <gtest/gtest.h>

#include "Win32TestSupport.h"
#include "platform/win32/Win32Platform.h"

using platform::FileVersion;
using platform::win32::Win32FileSystem;
using platform::win32::Win32Module;
using zrtest::TempDir;

namespace {

int FilesIn(const std::string& folder) {
    int count = 0;
    for (auto& entry : std::filesystem::directory_iterator(folder)) count += entry.is_regular_file() ? 1 : 0;
    return count;
}

TEST(Win32FileSystemTest, FoldersAreMadeWithTheirParents) {
    TempDir dir;
    Win32FileSystem files;
    std::string deep = dir / "a\\b\\c";
    EXPECT_FALSE(files.DirectoryExists(deep));
    ASSERT_TRUE(files.CreateDirectory(deep + "\\"));
    EXPECT_TRUE(files.DirectoryExists(deep));
    EXPECT_FALSE(files.FileExists(deep));
    EXPECT_TRUE(files.CreateDirectory(deep));  // already there

    zrtest::WriteBytes(dir / "plain", "x");
    EXPECT_FALSE(files.CreateDirectory(dir / "plain\\sub"));  // a file is in the way
}

TEST(Win32FileSystemTest, WriteReplacesTheWholeFileAndLeavesNoTemporaries) {
    TempDir dir;
    Win32FileSystem files;
    std::string path = dir / "data.bin";
    std::string bytes("a\0b\r\nc", 6);
    ASSERT_TRUE(files.WriteFile(path, bytes));
    EXPECT_TRUE(files.FileExists(path));
    EXPECT_EQ(files.ReadFile(path), bytes);

    std::string big(300000, 'z');
    ASSERT_TRUE(files.WriteFile(path, big));
    EXPECT_EQ(files.ReadFile(path), big);
    ASSERT_TRUE(files.WriteFile(path, ""));
    EXPECT_EQ(files.ReadFile(path), std::string());
    EXPECT_EQ(FilesIn(dir.Path()), 1);

    EXPECT_FALSE(files.WriteFile(dir / "missing\\data.bin", "x"));  // the folder is not made
    EXPECT_FALSE(files.ReadFile(dir / "missing.bin"));
}

TEST(Win32FileSystemTest, ReadOnlyFilesAreNotReplaced) {
    TempDir dir;
    Win32FileSystem files;
    std::string path = dir / "locked.ini";
    ASSERT_TRUE(files.WriteFile(path, "old"));
    EXPECT_FALSE(files.IsReadOnly(path));
    ASSERT_TRUE(files.SetReadOnly(path, true));
    EXPECT_TRUE(files.IsReadOnly(path));
    EXPECT_FALSE(files.WriteFile(path, "new"));
    EXPECT_EQ(files.ReadFile(path), "old");
    EXPECT_EQ(FilesIn(dir.Path()), 1);

    ASSERT_TRUE(files.SetReadOnly(path, false));
    EXPECT_FALSE(files.IsReadOnly(path));
    EXPECT_TRUE(files.WriteFile(path, "new"));
    EXPECT_FALSE(files.SetReadOnly(dir / "nothing", true));
    EXPECT_FALSE(files.IsReadOnly(dir / "nothing"));
}

TEST(Win32FileSystemTest, CopyAndDelete) {
    TempDir dir;
    Win32FileSystem files;
    std::string source = dir / "s.txt", target = dir / "t.txt";
    ASSERT_TRUE(files.WriteFile(source, "source"));
    ASSERT_TRUE(files.WriteFile(target, "target"));
    EXPECT_FALSE(files.CopyFile(source, target, true));
    EXPECT_EQ(files.ReadFile(target), "target");
    EXPECT_TRUE(files.CopyFile(source, target, false));
    EXPECT_EQ(files.ReadFile(target), "source");
    EXPECT_FALSE(files.CopyFile(dir / "none", target, false));

    EXPECT_TRUE(files.DeleteFile(target));
    EXPECT_FALSE(files.FileExists(target));
    EXPECT_FALSE(files.DeleteFile(target));
}

// The probe DLL links the same module code; asked from inside, it names itself.
class ProbeDll : public ::testing::Test {
protected:
    void SetUp() override {
        path = zrtest::ProgramFolder() + "\\zr_win32_probe.dll";
        module = ::LoadLibraryA(path.c_str());
        ASSERT_NE(module, nullptr) << path;
    }
    void TearDown() override {
        if (module) ::FreeLibrary(module);
    }
    template <typename F>
    F Export(const char* name) {
        return reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
    }
    std::string path;
    HMODULE module = nullptr;
};

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
    return s;
}

TEST_F(ProbeDll, ADllNamesItselfAndReadsItsOwnVersion) {
    using FileNameFn = int (*)(char*, int);
    using VersionFn = int (*)(unsigned short*);
    auto fileName = Export<FileNameFn>("ZrProbeFileName");
    auto ownVersion = Export<VersionFn>("ZrProbeOwnVersion");
    ASSERT_TRUE(fileName && ownVersion);

    char name[1024] = {};
    ASSERT_GT(fileName(name, sizeof name), 0);
    EXPECT_EQ(Lower(name), Lower(path));

    unsigned short version[4] = {};
    ASSERT_EQ(ownVersion(version), 1);
    EXPECT_EQ((FileVersion{version[0], version[1], version[2], version[3]}), (FileVersion{1, 2, 3, 4}));

    Win32Module here;
    EXPECT_EQ(here.VersionOf(path), (FileVersion{1, 2, 3, 4}));
}

TEST(Win32ModuleTest, TheProgramNamesItselfAndHasItsVersion) {
    Win32Module module;
    char exe[MAX_PATH * 2] = {};
    ::GetModuleFileNameA(nullptr, exe, sizeof exe);
    EXPECT_EQ(module.FileName(), exe);  // the code is linked into the test program itself
    EXPECT_EQ(module.HostExecutable(), exe);
    EXPECT_EQ(module.VersionOf(""), (FileVersion{5, 6, 7, 8}));
    EXPECT_EQ(module.VersionOf(exe), (FileVersion{5, 6, 7, 8}));
}

TEST(Win32ModuleTest, FilesWithoutAVersionHaveNone) {
    TempDir dir;
    Win32Module module;
    zrtest::WriteBytes(dir / "plain.txt", "no resources here");
    EXPECT_FALSE(module.VersionOf(dir / "plain.txt"));
    EXPECT_FALSE(module.VersionOf(dir / "missing.dll"));
}

}  // namespace
