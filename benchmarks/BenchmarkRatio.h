#pragma once
// Wall time of a benchmark's timed loop, for counters that set one time
// against another measured in the same run (or against a fixed target).
#include <chrono>

namespace bench {

class LoopClock {
public:
    LoopClock() : start_(std::chrono::steady_clock::now()) {}
    // Seconds per iteration since construction.
    double PerIteration(long long iterations) const {
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start_;
        return iterations > 0 ? elapsed.count() / static_cast<double>(iterations) : 0;
    }

private:
    std::chrono::steady_clock::time_point start_;
};

}  // namespace bench
