// SHA-256 and RSA signatures against published values and against the
// openssl command, with keys made in the test.
#include "updater/RsaSignature.h"

#include <gtest/gtest.h>

#include "OpenSslKey.h"

using updater::Bytes;
using updater::HexText;
using updater::Sha256Of;

namespace {

std::string Hex(const updater::Digest& d) { return HexText(d.data(), d.size()); }

}  // namespace

TEST(Sha256, PublishedValuesAndPiecewiseFeeding) {
    EXPECT_EQ(Hex(Sha256Of("")), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Hex(Sha256Of("abc")), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Hex(Sha256Of("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    const std::string million(1000000, 'a');
    EXPECT_EQ(Hex(Sha256Of(million)), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
    // Pieces that straddle the 64-byte blocks and the 56-byte padding edge.
    for (std::size_t length : {55u, 56u, 63u, 64u, 65u, 119u, 1000u}) {
        const std::string text = million.substr(0, length);
        updater::Sha256 hash;
        for (std::size_t at = 0; at < length; at += 7) hash.Update(text.data() + at, std::min<std::size_t>(7, length - at));
        EXPECT_EQ(Hex(hash.Final()), Hex(Sha256Of(text))) << length;
        EXPECT_EQ(Hex(Sha256Of(text)), zrtest::Run("printf '%s' '" + text + "' | sha256sum | cut -c1-64").substr(0, 64))
            << length;
    }
}

TEST(RsaSignature, OpenSslSignaturesVerifyAndNothingElseDoes) {
    zrtest::OpenSslKey signer, stranger;
    ASSERT_EQ(signer.key.modulus.size(), 256u) << "openssl is needed for this test";
    const std::string message = "Zephyra update offer\nversion=2.0\n";
    const Bytes signature = signer.Sign(message);
    ASSERT_EQ(signature.size(), 256u);
    EXPECT_TRUE(updater::VerifySha256Signature(signer.key, message, signature));

    EXPECT_FALSE(updater::VerifySha256Signature(signer.key, message + " ", signature));
    EXPECT_FALSE(updater::VerifySha256Signature(stranger.key, message, signature));
    EXPECT_FALSE(updater::VerifySha256Signature(signer.key, message, stranger.Sign(message)));
    for (std::size_t at : {0u, 1u, 128u, 255u}) {
        Bytes tampered = signature;
        tampered[at] ^= 0x01;
        EXPECT_FALSE(updater::VerifySha256Signature(signer.key, message, tampered)) << at;
    }
    Bytes shorter(signature.begin() + 1, signature.end());
    EXPECT_FALSE(updater::VerifySha256Signature(signer.key, message, shorter));
    EXPECT_FALSE(updater::VerifySha256Signature(signer.key, message, {}));
    // A signature value at or past the modulus is no signature.
    EXPECT_FALSE(updater::VerifySha256Signature(signer.key, message, signer.key.modulus));
    EXPECT_FALSE(updater::VerifySha256Signature(signer.key, message, Bytes(256, 0xFF)));
    // Another exponent is another key.
    updater::RsaPublicKey three = signer.key;
    three.exponent = 3;
    EXPECT_FALSE(updater::VerifySha256Signature(three, message, signature));
}

TEST(RsaSignature, ShortKeysAreRefusedWhateverTheySign) {
    zrtest::OpenSslKey weak(1024);
    ASSERT_EQ(weak.key.modulus.size(), 128u) << "openssl is needed for this test";
    EXPECT_FALSE(updater::VerifySha256Signature(weak.key, "m", weak.Sign("m")));
}

TEST(RsaSignature, ModPowMatchesSmallNumbersAndRefusesWhatIsNoModulus) {
    // 0x0100000000000001 is odd and 64 bits long: the smallest modulus taken.
    const Bytes n{0x01, 0, 0, 0, 0, 0, 0, 0x01};
    auto pow = [&](std::uint8_t base, std::uint8_t exponent) { return updater::ModPow({base}, {exponent}, n); };
    EXPECT_EQ(pow(3, 4), (Bytes{0, 0, 0, 0, 0, 0, 0, 81}));
    EXPECT_EQ(pow(2, 0), (Bytes{0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(pow(0, 5), (Bytes(8, 0)));
    // 2^64 mod (2^56 + 1) = -2^8 mod n = n - 256.
    EXPECT_EQ(pow(2, 64), (Bytes{0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01}));
    EXPECT_FALSE(updater::ModPow({1}, {1}, {0x01, 0, 0, 0, 0, 0, 0, 0x02}));  // even
    EXPECT_FALSE(updater::ModPow({1}, {1}, {0x01, 0x01}));                     // too short
    EXPECT_FALSE(updater::ModPow(n, {1}, n));                                  // base not below it
}
