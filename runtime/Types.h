#pragma once
// Small value types of the windowing runtime.
#include <cstdint>

namespace rt {

struct TPoint {
    int X = 0, Y = 0;
};

struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
};

// A window message with its answer.
struct TMessage {
    unsigned Msg = 0;
    std::uintptr_t WParam = 0;
    std::intptr_t LParam = 0;
    std::intptr_t Result = 0;
};

}  // namespace rt
