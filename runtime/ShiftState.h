#pragma once
// The modifier keys held down, as a small set.
#include <cstdint>

namespace rt {

enum class TShiftKey : std::uint8_t { Shift = 1, Alt = 2, Ctrl = 4 };

class TShiftState {
public:
    TShiftState() = default;
    TShiftState& Include(TShiftKey key) { bits_ |= static_cast<std::uint8_t>(key); return *this; }
    bool Contains(TShiftKey key) const { return (bits_ & static_cast<std::uint8_t>(key)) != 0; }
    bool Empty() const { return bits_ == 0; }
    bool operator==(const TShiftState&) const = default;

private:
    std::uint8_t bits_ = 0;
};

}  // namespace rt
