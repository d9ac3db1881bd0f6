#pragma once
// SHA-256 of a byte stream, fed in pieces of any size.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace updater {

using Digest = std::array<std::uint8_t, 32>;

class Sha256 {
public:
    Sha256();
    void Update(const void* data, std::size_t size);
    // The digest of everything fed so far; the object is spent afterwards.
    Digest Final();

private:
    void Block(const std::uint8_t* block);

    std::array<std::uint32_t, 8> state_;
    std::array<std::uint8_t, 64> buffer_{};
    std::size_t buffered_ = 0;
    std::uint64_t length_ = 0;  // bytes fed
};

Digest Sha256Of(const std::string& bytes);
// Lower-case hexadecimal, two digits a byte.
std::string HexText(const std::uint8_t* bytes, std::size_t size);

}  // namespace updater
