// Cursor files and timers through the Win32 services.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "Win32TestSupport.h"
#include "platform/win32/Win32Platform.h"

using namespace platform::win32;

namespace {

// Runs this thread's messages until `done` or the time is up.
template <typename Done>
bool PumpUntil(Done done, DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > milliseconds) return false;
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
        ::Sleep(5);
    }
    return true;
}

TEST(Win32Cursors, TheInstalledBlockedCursorsLoad) {
    Win32Cursors cursors;
    for (const char* name : {"ARROW_BLOCKED.cur", "HAND_BLOCKED.cur", "EDIT_BLOCKED.cur"}) {
        const auto cursor = cursors.LoadFromFile(zrtest::WindowsPathOf(std::string(ZR_MEDIA_DIR) + "/" + name));
        EXPECT_NE(cursor, 0u) << name;
        if (cursor) ::DestroyCursor(reinterpret_cast<HCURSOR>(cursor));
    }
    zrtest::TempDir folder;
    zrtest::WriteBytes(folder / "text.cur", "not a cursor");
    EXPECT_EQ(cursors.LoadFromFile(folder / "text.cur"), 0u);
    EXPECT_EQ(cursors.LoadFromFile(folder / "missing.cur"), 0u);
    const auto arrow = cursors.LoadStandard(32512);
    ASSERT_NE(arrow, 0u);
    const auto copy = cursors.Copy(arrow);
    EXPECT_NE(copy, 0u);
    EXPECT_NE(copy, arrow);
    ::DestroyCursor(reinterpret_cast<HCURSOR>(copy));
    EXPECT_FALSE(cursors.SetSystemCursor(0, 32512));
}

TEST(Win32Timers, TicksOnTheOwningThreadUntilStopped) {
    Win32Timers timers;
    std::atomic<int> ticks{0};
    const auto id = timers.Start(20, [&] { ++ticks; });
    ASSERT_NE(id, 0u);
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }, 3000));
    timers.Stop(id);
    const int stopped = ticks;
    PumpUntil([] { return false; }, 150);
    EXPECT_EQ(ticks, stopped);

    // Started and stopped from another thread, it still ticks here.
    std::atomic<DWORD> tickThread{0};
    platform::TimerId other = 0;
    std::thread([&] { other = timers.Start(20, [&] { tickThread = ::GetCurrentThreadId(); }); }).join();
    ASSERT_NE(other, 0u);
    EXPECT_TRUE(PumpUntil([&] { return tickThread != 0; }, 3000));
    EXPECT_EQ(tickThread, ::GetCurrentThreadId());
    std::thread([&] { timers.Stop(other); }).join();
    tickThread = 0;
    PumpUntil([] { return false; }, 150);
    EXPECT_EQ(tickThread, 0u);
}

}  // namespace
