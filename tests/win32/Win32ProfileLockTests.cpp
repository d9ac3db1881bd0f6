// Profile files and file locks against kernel32.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "Win32TestSupport.h"
#include "platform/win32/Win32Platform.h"

using platform::win32::Win32FileLocks;
using platform::win32::Win32ProfileFiles;
using zrtest::TempDir;

namespace {

class Win32Profiles : public ::testing::Test {
protected:
    TempDir dir;
    std::string ini = dir / "settings.ini";
    Win32ProfileFiles profiles;
};

TEST_F(Win32Profiles, MissingFileReadsAsEmpty) {
    EXPECT_EQ(profiles.ReadString(ini, "S", "K", "dflt"), "dflt");
    EXPECT_TRUE(profiles.ReadKeys(ini, "S").empty());
    EXPECT_TRUE(profiles.ReadSectionNames(ini).empty());
    EXPECT_TRUE(profiles.ReadSectionLines(ini, "S").empty());
}

TEST_F(Win32Profiles, WritesCreateTheFileAndReadBackInOrder) {
    ASSERT_TRUE(profiles.WriteString(ini, "Main", "b", "2"));
    ASSERT_TRUE(profiles.WriteString(ini, "Main", "a", "1"));
    ASSERT_TRUE(profiles.WriteString(ini, "Other", "c", "3"));
    ASSERT_TRUE(profiles.WriteString(ini, "MAIN", "B", "22"));  // same key, other case
    profiles.Flush(ini);

    EXPECT_EQ(profiles.ReadString(ini, "main", "b", ""), "22");
    EXPECT_EQ(profiles.ReadKeys(ini, "Main"), (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(profiles.ReadSectionNames(ini), (std::vector<std::string>{"Main", "Other"}));
    EXPECT_EQ(profiles.ReadSectionLines(ini, "Main"), (std::vector<std::string>{"b=22", "a=1"}));
}

TEST_F(Win32Profiles, ValuesOfAnyLengthComeBackWhole) {
    std::string longValue(70000, 'v');
    longValue += "end";
    ASSERT_TRUE(profiles.WriteString(ini, "S", "long", longValue));
    ASSERT_TRUE(profiles.WriteString(ini, "S", "exact", std::string(1023, 'x')));  // fills the first buffer
    std::string read = profiles.ReadString(ini, "S", "long", "");
    EXPECT_EQ(read.size(), longValue.size());
    EXPECT_TRUE(read == longValue);
    EXPECT_EQ(profiles.ReadString(ini, "S", "exact", ""), std::string(1023, 'x'));
    EXPECT_EQ(profiles.ReadString(ini, "S", "missing", std::string(3000, 'd')), std::string(3000, 'd'));
    EXPECT_TRUE(profiles.ReadString(ini, "S", "missing", std::string(40000, 'd')) == std::string(40000, 'd'));
    auto lines = profiles.ReadSectionLines(ini, "S");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0] == "long=" + longValue) << lines[0].size();
}

TEST_F(Win32Profiles, LongKeyAndSectionListsComeBackWhole) {
    std::vector<std::string> lines;
    for (int i = 0; i < 600; ++i) lines.push_back("key_number_" + std::to_string(i) + "=" + std::to_string(i));
    ASSERT_TRUE(profiles.WriteSectionLines(ini, "Many", lines));
    for (int i = 0; i < 150; ++i) profiles.WriteString(ini, "Section_" + std::to_string(i), "k", "v");

    auto keys = profiles.ReadKeys(ini, "Many");
    ASSERT_EQ(keys.size(), 600u);
    EXPECT_EQ(keys.front(), "key_number_0");
    EXPECT_EQ(keys.back(), "key_number_599");
    EXPECT_EQ(profiles.ReadSectionLines(ini, "Many"), lines);
    auto sections = profiles.ReadSectionNames(ini);
    ASSERT_EQ(sections.size(), 151u);
    EXPECT_EQ(sections.back(), "Section_149");
}

TEST_F(Win32Profiles, DeletesAndSectionReplacement) {
    profiles.WriteString(ini, "S", "a", "1");
    profiles.WriteString(ini, "S", "b", "2");
    profiles.WriteString(ini, "T", "c", "3");

    ASSERT_TRUE(profiles.DeleteKey(ini, "S", "A"));
    EXPECT_EQ(profiles.ReadKeys(ini, "S"), (std::vector<std::string>{"b"}));
    ASSERT_TRUE(profiles.EraseSection(ini, "t"));
    EXPECT_EQ(profiles.ReadSectionNames(ini), (std::vector<std::string>{"S"}));

    ASSERT_TRUE(profiles.WriteSectionLines(ini, "S", {"x=9", "", "y=8"}));  // the empty line is skipped
    EXPECT_EQ(profiles.ReadSectionLines(ini, "S"), (std::vector<std::string>{"x=9", "y=8"}));
    ASSERT_TRUE(profiles.WriteSectionLines(ini, "New", {"n=1"}));
    EXPECT_EQ(profiles.ReadString(ini, "new", "N", ""), "1");
}

TEST_F(Win32Profiles, WritesToAMissingFolderFail) {
    std::string nowhere = dir / "no\\such\\folder\\x.ini";
    EXPECT_FALSE(profiles.WriteString(nowhere, "S", "k", "v"));
    EXPECT_FALSE(profiles.WriteSectionLines(nowhere, "S", {"k=v"}));
}

// Whether another thread could take the named mutex right now.
bool OthersCanLock(const std::string& file) {
    bool free = false;
    std::thread probe([&] {
        HANDLE mutex = ::OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, Win32FileLocks::MutexName(file).c_str());
        if (!mutex) {
            free = true;  // nobody has made it
            return;
        }
        DWORD wait = ::WaitForSingleObject(mutex, 0);
        free = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
        if (free) ::ReleaseMutex(mutex);
        ::CloseHandle(mutex);
    });
    probe.join();
    return free;
}

TEST(Win32FileLocksTest, NamesIgnoreCaseAndSpellingOfThePath) {
    TempDir dir;
    std::string file = dir / "Lock.ini";
    std::string name = Win32FileLocks::MutexName(file);
    EXPECT_EQ(name.rfind("Local\\ZephyraIni_", 0), 0u);
    EXPECT_EQ(name.find('\\', 6), std::string::npos);
    EXPECT_EQ(Win32FileLocks::MutexName(dir / "LOCK.INI"), name);
    EXPECT_EQ(Win32FileLocks::MutexName(dir.Path() + "\\sub\\..\\lock.ini"), name);
    EXPECT_NE(Win32FileLocks::MutexName(dir / "other.ini"), name);

    std::string deep = dir.Path();
    for (int i = 0; i < 40; ++i) deep += "\\folder" + std::to_string(i);
    std::string longName = Win32FileLocks::MutexName(deep + "\\x.ini");
    EXPECT_LT(longName.size(), static_cast<std::size_t>(MAX_PATH));
    EXPECT_NE(longName, Win32FileLocks::MutexName(deep + "\\y.ini"));
}

TEST(Win32FileLocksTest, AHoldKeepsOthersOutUntilReleased) {
    TempDir dir;
    std::string file = dir / "held.ini";
    Win32FileLocks locks;
    {
        auto hold = locks.Lock(file);
        ASSERT_NE(hold, nullptr);
        EXPECT_FALSE(OthersCanLock(file));
        EXPECT_TRUE(OthersCanLock(dir / "another.ini"));
        auto again = locks.Lock(dir / "HELD.INI");  // the same thread may take it again
        EXPECT_NE(again, nullptr);
    }
    EXPECT_TRUE(OthersCanLock(file));
}

TEST(Win32FileLocksTest, ABusyLockIsGivenUpAfterTheWait) {
    TempDir dir;
    std::string file = dir / "busy.ini";
    Win32FileLocks locks;
    auto hold = locks.Lock(file);
    std::unique_ptr<platform::IFileLockHold> other;
    std::thread waiter([&] { other = Win32FileLocks(50).Lock(file); });
    waiter.join();
    EXPECT_NE(other, nullptr);  // an empty hold: the caller goes on unlocked
    EXPECT_FALSE(OthersCanLock(file));
}

TEST(Win32FileLocksTest, ALockWhoseOwnerDiedIsTaken) {
    TempDir dir;
    std::string file = dir / "abandoned.ini";
    std::unique_ptr<platform::IFileLockHold> orphan;
    std::thread owner([&] { orphan = Win32FileLocks().Lock(file); });
    owner.join();  // ends while holding the mutex

    std::atomic<bool> taken{false};
    std::thread next([&] {
        Win32FileLocks locks(5000);
        auto hold = locks.Lock(file);
        taken = !OthersCanLock(file);
    });
    next.join();
    EXPECT_TRUE(taken);
    orphan.reset();  // releasing from the wrong thread must do no harm
}

}  // namespace
