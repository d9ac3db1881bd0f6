#pragma once
// Port: repeating timers whose ticks run on a thread's message loop.
#include <cstdint>
#include <functional>

namespace platform {

using TimerId = std::uint32_t;  // 0 is no timer

class ITimers {
public:
    virtual ~ITimers() = default;
    // Calls `tick` every `interval` milliseconds until Stop; 0 on failure.
    virtual TimerId Start(std::uint32_t interval, std::function<void()> tick) = 0;
    // Ends the timer; no tick runs after it returns on the timers' thread.
    virtual void Stop(TimerId timer) = 0;
};

}  // namespace platform
