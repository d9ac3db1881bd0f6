// HostFileLocks: flock on a lock file outside the settings folder; it must
// keep out other processes and other threads of this process.
#include <gtest/gtest.h>

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/host/HostPlatform.h"
#include "support/TempFolder.h"

using namespace platform::host;

namespace {

const char* kFile = "c:\\settings\\shared.ini";

std::set<std::string> LockFilesNow() {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(std::filesystem::temp_directory_path() / "zephyra-locks", ec))
        names.insert(e.path().filename().string());
    return names;
}

}  // namespace

TEST(HostFileLocks, FourProcessesWritingOneFileKeepEveryKey) {
    TempFolder folder;
    {
        HostPlatform host(folder.Path());
        ASSERT_TRUE(host.files->CreateDirectory("c:\\settings"));
    }
    constexpr int kChildren = 4, kKeys = 500;
    std::vector<pid_t> children;
    for (int c = 0; c < kChildren; ++c) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            // The child: its own platform over the same folder.
            HostPlatform host(folder.Path());
            bool ok = true;
            for (int k = 0; k < kKeys && ok; ++k) {
                auto hold = host.locks->Lock(kFile);
                ok = host.profiles->WriteString(kFile, "Keys", "c" + std::to_string(c) + "k" + std::to_string(k),
                                                std::to_string(k));
            }
            _exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    HostPlatform host(folder.Path());
    std::vector<std::string> keys = host.profiles->ReadKeys(kFile, "Keys");
    EXPECT_EQ(keys.size(), static_cast<size_t>(kChildren * kKeys));
    std::set<std::string> unique(keys.begin(), keys.end());
    EXPECT_EQ(unique.size(), static_cast<size_t>(kChildren * kKeys));
    EXPECT_EQ(host.profiles->ReadString(kFile, "Keys", "c3k499", ""), "499");
}

TEST(HostFileLocks, ThreadsOfOneProcessAreKeptOut) {
    TempFolder folder;
    HostPlatform host(folder.Path());
    ASSERT_TRUE(host.files->CreateDirectory("c:\\settings"));
    ASSERT_TRUE(host.files->WriteFile("c:\\settings\\counter", "0"));
    std::atomic<int> inside{0}, overlaps{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 100; ++i) {
                auto hold = host.locks->Lock(kFile);
                if (++inside != 1) ++overlaps;
                // A read-modify-write that loses updates unless excluded.
                int n = std::stoi(*host.files->ReadFile("c:\\settings\\counter"));
                std::this_thread::yield();
                host.files->WriteFile("c:\\settings\\counter", std::to_string(n + 1));
                --inside;
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(overlaps, 0);
    EXPECT_EQ(*host.files->ReadFile("c:\\settings\\counter"), "400");
}

TEST(HostFileLocks, HoldReleasesOnDestructionAndExcludesAnotherProcess) {
    TempFolder folder;
    HostPlatform host(folder.Path());
    auto hold = host.locks->Lock(kFile);
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        HostPlatform other(folder.Path());
        auto childHold = other.locks->Lock(kFile);  // waits for the parent
        char done = 'x';
        _exit(write(pipeFds[1], &done, 1) == 1 ? 0 : 1);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    hold.reset();  // release: the child gets the lock now
    char got = 0;
    ASSERT_EQ(read(pipeFds[0], &got, 1), 1);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
    int status = 0;
    waitpid(pid, &status, 0);
    close(pipeFds[0]);
    close(pipeFds[1]);
    // Taken again at once afterwards.
    auto again = host.locks->Lock(kFile);
    EXPECT_NE(again, nullptr);
}

TEST(HostFileLocks, LockFileLivesInTheTempFolderNotBesideTheSettings) {
    TempFolder folder;
    HostPlatform host(folder.Path());
    ASSERT_TRUE(host.files->CreateDirectory("c:\\settings"));
    std::set<std::string> before = LockFilesNow();
    const std::string unique = "c:\\settings\\lockplace-" + std::to_string(getpid()) + ".ini";
    { auto hold = host.locks->Lock(unique); }
    std::set<std::string> after = LockFilesNow();
    EXPECT_GE(after.size(), before.size());
    // Nothing appears in the settings folder.
    EXPECT_TRUE(std::filesystem::is_empty(host.files->NativePath("c:\\settings")));
    // The same file gives the same lock; different files do not block each other.
    auto a = host.locks->Lock("c:\\settings\\a.ini");
    auto b = host.locks->Lock("c:\\settings\\b.ini");
    EXPECT_NE(a, nullptr);
    EXPECT_NE(b, nullptr);
}
