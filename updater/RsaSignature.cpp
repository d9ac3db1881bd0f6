#include "updater/RsaSignature.h"

#include <algorithm>

namespace updater {
namespace {

// Numbers as little-endian 32-bit limbs; products in Montgomery form modulo
// an odd modulus n, with R = 2^(32 * limbs).
using Limbs = std::vector<std::uint32_t>;

Limbs LimbsOf(const Bytes& bigEndian, std::size_t limbs) {
    Limbs out(limbs, 0);
    for (std::size_t i = 0; i < bigEndian.size(); ++i) {
        const std::size_t bit = 8 * (bigEndian.size() - 1 - i);
        if (bit / 32 < limbs) out[bit / 32] |= std::uint32_t(bigEndian[i]) << (bit % 32);
    }
    return out;
}

Bytes BytesOf(const Limbs& limbs, std::size_t length) {
    Bytes out(length, 0);
    for (std::size_t i = 0; i < length; ++i) {
        const std::size_t bit = 8 * (length - 1 - i);
        if (bit / 32 < limbs.size()) out[i] = static_cast<std::uint8_t>(limbs[bit / 32] >> (bit % 32));
    }
    return out;
}

// a < b over the same number of limbs.
bool Less(const Limbs& a, const Limbs& b) {
    for (std::size_t i = a.size(); i-- > 0;)
        if (a[i] != b[i]) return a[i] < b[i];
    return false;
}

void SubtractInPlace(Limbs& a, const Limbs& b) {
    std::uint64_t borrow = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const std::uint64_t d = std::uint64_t(a[i]) - b[i] - borrow;
        a[i] = static_cast<std::uint32_t>(d);
        borrow = (d >> 63) & 1;
    }
}

class Montgomery {
public:
    explicit Montgomery(const Limbs& n) : n_(n), k_(n.size()) {
        // -n^-1 mod 2^32 by Newton's iteration: each step doubles the bits
        // that are right, and n0 * n0 = 1 mod 8 already holds for odd n0.
        std::uint32_t x = n_[0];
        for (int i = 0; i < 4; ++i) x *= 2 - n_[0] * x;
        n0inv_ = 0u - x;
        // R^2 mod n by doubling 1 modulo n, 2 * 32 * k times.
        r2_.assign(k_, 0);
        r2_[0] = 1;
        for (std::size_t i = 0; i < 64 * k_; ++i) {
            const bool carry = (r2_[k_ - 1] >> 31) != 0;
            for (std::size_t j = k_; j-- > 1;) r2_[j] = (r2_[j] << 1) | (r2_[j - 1] >> 31);
            r2_[0] <<= 1;
            if (carry || !Less(r2_, n_)) SubtractInPlace(r2_, n_);
        }
    }

    // a * b / R mod n, for a and b below n.
    Limbs Multiply(const Limbs& a, const Limbs& b) const {
        std::vector<std::uint32_t> t(k_ + 2, 0);
        for (std::size_t i = 0; i < k_; ++i) {
            std::uint64_t carry = 0;
            for (std::size_t j = 0; j < k_; ++j) {
                const std::uint64_t s = std::uint64_t(t[j]) + std::uint64_t(a[j]) * b[i] + carry;
                t[j] = static_cast<std::uint32_t>(s);
                carry = s >> 32;
            }
            std::uint64_t s = std::uint64_t(t[k_]) + carry;
            t[k_] = static_cast<std::uint32_t>(s);
            t[k_ + 1] = static_cast<std::uint32_t>(s >> 32);

            const std::uint32_t m = t[0] * n0inv_;
            s = std::uint64_t(t[0]) + std::uint64_t(m) * n_[0];
            carry = s >> 32;
            for (std::size_t j = 1; j < k_; ++j) {
                s = std::uint64_t(t[j]) + std::uint64_t(m) * n_[j] + carry;
                t[j - 1] = static_cast<std::uint32_t>(s);
                carry = s >> 32;
            }
            s = std::uint64_t(t[k_]) + carry;
            t[k_ - 1] = static_cast<std::uint32_t>(s);
            t[k_] = t[k_ + 1] + static_cast<std::uint32_t>(s >> 32);
        }
        Limbs result(t.begin(), t.begin() + static_cast<std::ptrdiff_t>(k_));
        if (t[k_] != 0 || !Less(result, n_)) SubtractInPlace(result, n_);
        return result;
    }

    Limbs ToForm(const Limbs& a) const { return Multiply(a, r2_); }
    Limbs FromForm(const Limbs& a) const {
        Limbs one(k_, 0);
        one[0] = 1;
        return Multiply(a, one);
    }

private:
    Limbs n_;
    std::size_t k_;
    std::uint32_t n0inv_ = 0;
    Limbs r2_;
};

Bytes WithoutLeadingZeros(const Bytes& bytes) {
    const auto first = std::find_if(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b != 0; });
    return Bytes(first, bytes.end());
}

}  // namespace

std::optional<Bytes> BytesFromHex(const std::string& hex) {
    if (hex.size() % 2 != 0) return std::nullopt;
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    Bytes bytes;
    bytes.reserve(hex.size() / 2);
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = digit(hex[i]), low = digit(hex[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
    }
    return bytes;
}

std::optional<Bytes> ModPow(const Bytes& base, const Bytes& exponent, const Bytes& modulus) {
    const Bytes n = WithoutLeadingZeros(modulus);
    if (n.size() < 8 || (n.back() & 1) == 0) return std::nullopt;
    const std::size_t k = (n.size() + 3) / 4;
    const Limbs nl = LimbsOf(n, k);
    const Bytes b = WithoutLeadingZeros(base);
    if (b.size() > n.size()) return std::nullopt;
    const Limbs bl = LimbsOf(b, k);
    if (!Less(bl, nl)) return std::nullopt;

    const Montgomery mont(nl);
    const Limbs x = mont.ToForm(bl);
    Limbs one(k, 0);
    one[0] = 1;
    Limbs acc = mont.ToForm(one);
    for (std::uint8_t byte : exponent)
        for (int bit = 7; bit >= 0; --bit) {
            acc = mont.Multiply(acc, acc);
            if ((byte >> bit) & 1) acc = mont.Multiply(acc, x);
        }
    return BytesOf(mont.FromForm(acc), n.size());
}

Bytes Pkcs1Sha256Block(const Digest& digest, std::size_t length) {
    static const std::uint8_t kDigestInfo[] = {0x30, 0x31, 0x30, 0x0d, 0x06, 0x09, 0x60, 0x86, 0x48, 0x01,
                                               0x65, 0x03, 0x04, 0x02, 0x01, 0x05, 0x00, 0x04, 0x20};
    const std::size_t tail = sizeof kDigestInfo + digest.size();
    if (length < tail + 11) return {};
    Bytes block(length, 0xFF);
    block[0] = 0x00;
    block[1] = 0x01;
    block[length - tail - 1] = 0x00;
    std::copy(std::begin(kDigestInfo), std::end(kDigestInfo), block.end() - static_cast<std::ptrdiff_t>(tail));
    std::copy(digest.begin(), digest.end(), block.end() - static_cast<std::ptrdiff_t>(digest.size()));
    return block;
}

bool VerifySha256Signature(const RsaPublicKey& key, const std::string& message, const Bytes& signature) {
    const Bytes n = WithoutLeadingZeros(key.modulus);
    if (n.size() < 256 || signature.size() != n.size() || key.exponent < 3 || (key.exponent & 1) == 0)
        return false;
    const Bytes e{static_cast<std::uint8_t>(key.exponent >> 24), static_cast<std::uint8_t>(key.exponent >> 16),
                  static_cast<std::uint8_t>(key.exponent >> 8), static_cast<std::uint8_t>(key.exponent)};
    const auto recovered = ModPow(signature, e, n);
    return recovered && *recovered == Pkcs1Sha256Block(Sha256Of(message), n.size());
}

}  // namespace updater
