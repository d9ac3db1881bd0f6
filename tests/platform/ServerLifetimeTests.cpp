// An in-process server's state: started by the first object, ended by the
// last, started again by a later one; never ended twice.
#include "platform/ServerLifetime.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

struct Counts {
    int starts = 0;
    int stops = 0;
};

platform::TServerLifetime Counting(Counts& counts) {
    return platform::TServerLifetime([&counts] { ++counts.starts; }, [&counts] { ++counts.stops; });
}

TEST(ServerLifetime, TheLastObjectEndsTheStateAndTheNextStartsItAgain) {
    Counts counts;
    auto server = Counting(counts);
    server.EnsureStarted();  // the factory is asked for before any object exists
    server.EnsureStarted();
    EXPECT_EQ(counts.starts, 1);
    server.ObjectCreated();
    server.ObjectCreated();
    server.ObjectDestroyed();
    EXPECT_EQ(counts.stops, 0);
    EXPECT_FALSE(server.CanUnloadNow());
    server.ObjectDestroyed();
    EXPECT_EQ(counts.stops, 1);
    EXPECT_FALSE(server.Running());
    EXPECT_TRUE(server.CanUnloadNow());
    EXPECT_EQ(counts.stops, 1);

    server.ObjectCreated();  // a new window after the last one closed
    EXPECT_EQ(counts.starts, 2);
    server.ObjectDestroyed();
    server.ObjectDestroyed();  // one release too many is no negative count
    server.ObjectCreated();
    EXPECT_EQ(server.Objects(), 1);
    server.Stop();
    server.Stop();
    EXPECT_EQ(counts.stops, 3);
}

TEST(ServerLifetime, AskingToUnloadBeforeAnyObjectEndsWhatTheFactoryStarted) {
    Counts counts;
    auto server = Counting(counts);
    EXPECT_TRUE(server.CanUnloadNow());
    EXPECT_EQ(counts.stops, 0);  // nothing was running
    server.EnsureStarted();
    EXPECT_TRUE(server.CanUnloadNow());
    EXPECT_EQ(counts.stops, 1);
}

TEST(ServerLifetime, ObjectsOnManyThreadsStartAndEndItOnce) {
    Counts counts;
    auto server = Counting(counts);
    server.ObjectCreated();  // a window that stays open throughout
    std::vector<std::thread> windows;
    for (int t = 0; t < 4; ++t)
        windows.emplace_back([&server] {
            for (int i = 0; i < 1000; ++i) {
                server.ObjectCreated();
                server.ObjectDestroyed();
            }
        });
    for (auto& window : windows) window.join();
    EXPECT_EQ(counts.starts, 1);
    EXPECT_EQ(counts.stops, 0);
    server.ObjectDestroyed();
    EXPECT_EQ(counts.stops, 1);
}

}  // namespace
