// Several processes writing one settings file at once: with the file lock
// every key survives; without it, writers overwrite each other's changes.
#include <gtest/gtest.h>

#include <cstdio>
#include <iostream>
#include <memory>
#include <set>
#include <vector>

#include "Win32TestSupport.h"
#include "win32/WinProcess.h"
#include "platform/win32/Win32Platform.h"

namespace {

constexpr int kWriters = 4;
constexpr int kKeysEach = 500;

// Starts the writers, lets them go at once, waits for all; false when one failed.
bool RunWriters(const std::string& file, const std::string& mode) {
    const std::string exe = zrtest::ProgramFolder() + "\\zr_lock_writer.exe";
    std::string eventName = "ZrLockTestStart_";
    eventName += std::to_string(::GetCurrentProcessId()) + "_" + mode;
    HANDLE start = ::CreateEventA(nullptr, TRUE, FALSE, eventName.c_str());
    if (!start) return false;

    std::vector<std::unique_ptr<zrtest::ChildProcess>> writers;
    bool ok = true;
    for (int w = 0; w < kWriters; ++w) {
        const std::string arguments = "\"" + file + "\" w" + std::to_string(w) + "_ " + std::to_string(kKeysEach) +
                                      " " + mode + " " + eventName;
        writers.push_back(std::make_unique<zrtest::ChildProcess>(exe, arguments));
        if (!writers.back()->Started()) {
            ADD_FAILURE() << "cannot start " << exe << " " << arguments << " (error " << ::GetLastError() << ")";
            ok = false;
        }
    }
    ::SetEvent(start);
    for (auto& writer : writers) {
        if (!writer->Started()) continue;
        const int code = writer->Wait(240000);
        if (code != 0) {
            ADD_FAILURE() << "a writer " << (code == -1 ? "did not finish" : "exited with " + std::to_string(code));
            ok = false;
        }
    }
    ::CloseHandle(start);
    return ok;
}

std::set<std::string> KeysIn(const std::string& file) {
    platform::win32::Win32ProfileFiles profiles;
    auto keys = profiles.ReadKeys(file, "Keys");
    return std::set<std::string>(keys.begin(), keys.end());
}

TEST(ConcurrentWriters, LockedWritersKeepEveryKey) {
    zrtest::TempDir dir;
    const std::string file = dir / "shared.ini";
    ASSERT_TRUE(RunWriters(file, "locked"));

    std::set<std::string> keys = KeysIn(file);
    EXPECT_EQ(keys.size(), static_cast<std::size_t>(kWriters * kKeysEach));
    int missing = 0;
    for (int w = 0; w < kWriters; ++w) {
        for (int n = 0; n < kKeysEach; ++n) missing += keys.count("w" + std::to_string(w) + "_" + std::to_string(n)) ? 0 : 1;
    }
    EXPECT_EQ(missing, 0);
}

// Not an assertion on the count: how many updates get lost depends on timing.
// It shows why the lock is there.
TEST(ConcurrentWriters, UnlockedWritersLoseUpdates) {
    zrtest::TempDir dir;
    const std::string file = dir / "shared.ini";
    ASSERT_TRUE(RunWriters(file, "raw"));
    std::set<std::string> keys = KeysIn(file);
    std::cout << "[ unlocked ] " << keys.size() << " of " << kWriters * kKeysEach << " keys kept" << std::endl;
    RecordProperty("UnlockedKeysKept", static_cast<int>(keys.size()));
    // Whatever survives is whole: lost updates, not a damaged file.
    EXPECT_FALSE(keys.empty());
    for (const std::string& key : keys) {
        int writer = -1, n = -1;
        char rest = 0;
        EXPECT_TRUE(std::sscanf(key.c_str(), "w%d_%d%c", &writer, &n, &rest) == 2 && writer >= 0 &&
                    writer < kWriters && n >= 0 && n < kKeysEach)
            << key;
    }
}

}  // namespace
