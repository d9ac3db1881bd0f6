#include <gtest/gtest.h>

#include <filesystem>

#include "platform/host/HostPlatform.h"
#include "support/TempFolder.h"

using namespace platform::host;

TEST(HostFileSystem, MapsWindowsPathsOntoTheRoot) {
    HostFileSystem files("/r");
    EXPECT_EQ(files.NativePath("c:\\x\\y.ini"), "/r/c/x/y.ini");
    EXPECT_EQ(files.NativePath("C:\\Program Files\\X"), "/r/c/Program Files/X");  // the rest kept as given
    EXPECT_EQ(files.NativePath("D:/a/b"), "/r/d/a/b");
    EXPECT_EQ(files.NativePath("c:"), "/r/c");
    EXPECT_EQ(files.NativePath("rel\\a"), "rel/a");  // no drive: only separators
    EXPECT_EQ(HostFileSystem("/r/").NativePath("c:\\x"), "/r/c/x");
    EXPECT_EQ(HostFileSystem("").NativePath("c:\\x\\y"), "c:/x/y");  // empty root: separators only
    EXPECT_EQ(files.Mapper()("e:\\z"), "/r/e/z");
}

TEST(HostFileSystem, FilesAndFolders) {
    TempFolder folder;
    HostFileSystem files(folder.Path());
    EXPECT_FALSE(files.DirectoryExists("c:\\a"));
    EXPECT_TRUE(files.CreateDirectory("c:\\a\\b\\c"));  // parents included
    EXPECT_TRUE(files.CreateDirectory("c:\\a\\b\\c"));  // exists afterwards: true
    EXPECT_TRUE(files.DirectoryExists("c:\\a\\b"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path() + "/c/a/b/c"));

    EXPECT_FALSE(files.FileExists("c:\\a\\f.txt"));
    EXPECT_FALSE(files.ReadFile("c:\\a\\f.txt").has_value());
    EXPECT_TRUE(files.WriteFile("c:\\a\\f.txt", std::string("one\0two", 7)));
    EXPECT_TRUE(files.FileExists("c:\\a\\f.txt"));
    EXPECT_FALSE(files.FileExists("c:\\a"));  // a folder is not a file
    EXPECT_FALSE(files.DirectoryExists("c:\\a\\f.txt"));
    EXPECT_EQ(*files.ReadFile("c:\\a\\f.txt"), std::string("one\0two", 7));
    EXPECT_FALSE(files.WriteFile("c:\\missing\\f.txt", "x"));  // folders are not created

    EXPECT_TRUE(files.DeleteFile("c:\\a\\f.txt"));
    EXPECT_FALSE(files.DeleteFile("c:\\a\\f.txt"));
    EXPECT_FALSE(files.DeleteFile("c:\\a"));
}

TEST(HostFileSystem, CopyFile) {
    TempFolder folder;
    HostFileSystem files(folder.Path());
    files.CreateDirectory("c:\\d");
    ASSERT_TRUE(files.WriteFile("c:\\d\\src", "source"));
    ASSERT_TRUE(files.WriteFile("c:\\d\\dst", "target"));
    EXPECT_FALSE(files.CopyFile("c:\\d\\src", "c:\\d\\dst", true));
    EXPECT_EQ(*files.ReadFile("c:\\d\\dst"), "target");
    EXPECT_TRUE(files.CopyFile("c:\\d\\src", "c:\\d\\dst", false));
    EXPECT_EQ(*files.ReadFile("c:\\d\\dst"), "source");
    EXPECT_TRUE(files.CopyFile("c:\\d\\src", "c:\\d\\new", true));
    EXPECT_EQ(*files.ReadFile("c:\\d\\new"), "source");
    EXPECT_FALSE(files.CopyFile("c:\\d\\none", "c:\\d\\x", false));
    EXPECT_FALSE(files.FileExists("c:\\d\\x"));
    ASSERT_TRUE(files.SetReadOnly("c:\\d\\dst", true));
    EXPECT_FALSE(files.CopyFile("c:\\d\\new", "c:\\d\\dst", false));  // a read-only target is not replaced
}

TEST(HostFileSystem, ReadOnly) {
    TempFolder folder;
    HostFileSystem files(folder.Path());
    files.CreateDirectory("c:\\d");
    ASSERT_TRUE(files.WriteFile("c:\\d\\f", "1"));
    EXPECT_FALSE(files.IsReadOnly("c:\\d\\f"));
    EXPECT_TRUE(files.SetReadOnly("c:\\d\\f", true));
    EXPECT_TRUE(files.IsReadOnly("c:\\d\\f"));
    EXPECT_FALSE(files.WriteFile("c:\\d\\f", "2"));
    EXPECT_FALSE(files.DeleteFile("c:\\d\\f"));  // as DeleteFile on a read-only file
    EXPECT_EQ(*files.ReadFile("c:\\d\\f"), "1");
    EXPECT_TRUE(files.SetReadOnly("c:\\d\\f", false));
    EXPECT_TRUE(files.WriteFile("c:\\d\\f", "2"));
    EXPECT_FALSE(files.SetReadOnly("c:\\d\\none", true));
    EXPECT_FALSE(files.IsReadOnly("c:\\d\\none"));
}

TEST(HostFileSystem, WriteReplacesAtomically) {
    TempFolder folder;
    HostFileSystem files(folder.Path());
    files.CreateDirectory("c:\\d");
    ASSERT_TRUE(files.WriteFile("c:\\d\\f", "old"));
    // A hard link to the old file still shows the old content: the new content
    // went to a new file that took the name.
    std::filesystem::create_hard_link(files.NativePath("c:\\d\\f"), files.NativePath("c:\\d\\link"));
    ASSERT_TRUE(files.WriteFile("c:\\d\\f", "new"));
    EXPECT_EQ(*files.ReadFile("c:\\d\\f"), "new");
    EXPECT_EQ(*files.ReadFile("c:\\d\\link"), "old");
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(files.NativePath("c:\\d"))) (void)e, ++entries;
    EXPECT_EQ(entries, 2);  // no temporary left behind
}
