// The code pages of the host stand-in: 1252, and the structure of 932.
#include <cstdint>
#include <iterator>

#include "platform/host/HostPlatform.h"

namespace platform::host {
namespace {

// 0x80..0x9F of code page 1252; the five unassigned bytes keep their value, as Windows maps them.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::u16string FromCp1252(const std::string& text) {
    std::u16string out;
    for (unsigned char byte : text) out += byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : char16_t(byte);
    return out;
}

// The double-byte characters of 932 the stand-in knows; several have a trail
// byte of 0x5C, the value of "\".
struct DoubleByte {
    std::uint16_t pair;
    char16_t wide;
};
constexpr DoubleByte kCp932Pairs[] = {
    {0x8140, 0x3000}, {0x815B, 0x30FC}, {0x82A0, 0x3042}, {0x835C, 0x30BD}, {0x93FA, 0x65E5},
    {0x945C, 0x80FD}, {0x955C, 0x8868}, {0x967B, 0x672C}, {0x975C, 0x4E88},
};
constexpr char16_t kCp932Default = 0x30FB;

bool IsCp932Lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsCp932Trail(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

std::u16string FromCp932(const std::string& text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            out += char16_t(byte);
        } else if (byte >= 0xA1 && byte <= 0xDF) {  // half-width katakana
            out += char16_t(0xFF61 + (byte - 0xA1));
        } else if (IsCp932Lead(byte)) {
            if (i + 1 < text.size() && IsCp932Trail(static_cast<unsigned char>(text[i + 1]))) {
                const std::uint16_t pair = std::uint16_t(byte << 8 | static_cast<unsigned char>(text[++i]));
                char16_t wide = kCp932Default;
                for (const DoubleByte& known : kCp932Pairs)
                    if (known.pair == pair) wide = known.wide;
                out += wide;
            } else {
                out += kCp932Default;  // a lead byte without its trail byte
            }
        } else if (byte == 0x80) {
            out += char16_t(0x0080);
        } else {  // 0xA0, 0xFD..0xFF: the private-use places Windows gives them
            out += char16_t(byte == 0xA0 ? 0xF8F0 : 0xF8F1 + (byte - 0xFD));
        }
    }
    return out;
}

}  // namespace

std::u16string HostCodePage::ToUtf16(const std::string& text) {
    return CodePageNumber() == 932 ? FromCp932(text) : FromCp1252(text);
}

void HostCodePage::SetCodePage(unsigned codePage) {
    std::lock_guard<std::mutex> lock(mutex_);
    codePage_ = codePage;
}

unsigned HostCodePage::CodePageNumber() {
    std::lock_guard<std::mutex> lock(mutex_);
    return codePage_;
}

}  // namespace platform::host
