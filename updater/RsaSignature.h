#pragma once
// RSA signatures with SHA-256 and PKCS #1 v1.5 padding: what the updater
// checks an offer with, against a public key built into the program.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "updater/Sha256.h"

namespace updater {

using Bytes = std::vector<std::uint8_t>;

struct RsaPublicKey {
    Bytes modulus;                 // big-endian, its top byte not zero
    std::uint32_t exponent = 65537;
};

// Big-endian bytes from hexadecimal digits (either case, an even count); none
// for anything else.
std::optional<Bytes> BytesFromHex(const std::string& hex);

// base^exponent mod modulus, all big-endian; the result has the modulus's
// length. None when the modulus is even or shorter than 64 bits, or when
// base is not below it.
std::optional<Bytes> ModPow(const Bytes& base, const Bytes& exponent, const Bytes& modulus);

// The padded block of `length` bytes that an RSA key of that size signs for
// `digest`: 00 01 FF.. 00, the SHA-256 algorithm's identifier, the digest.
// Empty when the key is too short to hold it.
Bytes Pkcs1Sha256Block(const Digest& digest, std::size_t length);

// True only when `signature` is the key's signature of SHA-256(`message`).
// Keys below 2048 bits are refused.
bool VerifySha256Signature(const RsaPublicKey& key, const std::string& message, const Bytes& signature);

}  // namespace updater
