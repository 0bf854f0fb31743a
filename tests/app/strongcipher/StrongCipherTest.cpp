// The strong cipher against libsodium's own functions, and every way a sealed file can be
// spoiled: it must then not open.
#include "app/StrongCipher.h"

#include <gtest/gtest.h>
#include <sodium.h>

#include <array>

namespace quillory::strong {
namespace {

constexpr KdfLimits kQuick{crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN};
const std::string kSalt = "0123456789abcdef";
const std::string kPlain = "{\\rtf1\\ansi Dear diary \\'e9}";

SecretKey KeyOf(std::string_view password)
{
    return *DeriveKey(password, kSalt, kQuick);
}

TEST(StrongCipherTest, KeyIsArgon2idOfPasswordAndSalt)
{
    std::array<unsigned char, kKeyBytes> expected{};
    ASSERT_EQ(crypto_pwhash(expected.data(), expected.size(), "Secret", 6,
                            reinterpret_cast<const unsigned char*>(kSalt.data()), kQuick.ops, kQuick.mem,
                            crypto_pwhash_ALG_ARGON2ID13),
              0);
    EXPECT_TRUE(KeyOf("Secret") == SecretKey(std::span<const std::uint8_t, kKeyBytes>(expected)));
    EXPECT_FALSE(KeyOf("secret") == KeyOf("Secret"));  // unlike the stored format's cipher
    EXPECT_FALSE(*DeriveKey("Secret", "fedcba9876543210", kQuick) == KeyOf("Secret"));
}

TEST(StrongCipherTest, RefusesSaltOfWrongSizeAndLimitsOutOfBounds)
{
    EXPECT_FALSE(DeriveKey("Secret", "short", kQuick));
    EXPECT_FALSE(DeriveKey("Secret", kSalt, {0, kQuick.mem}));
    EXPECT_FALSE(DeriveKey("Secret", kSalt, {kQuick.ops, 1024}));
    EXPECT_FALSE(AcceptableLimits({1000000, kQuick.mem}));           // minutes of work
    EXPECT_FALSE(AcceptableLimits({kQuick.ops, std::size_t{1} << 40}));  // a terabyte
    EXPECT_TRUE(AcceptableLimits(DefaultLimits()));
}

TEST(StrongCipherTest, SealIsHeaderNonceAndXChaCha20Poly1305OverHeaderAndDay)
{
    const SecretKey key = KeyOf("Secret");
    std::array<std::uint8_t, kNonceBytes> nonce{};
    for (std::size_t i = 0; i < nonce.size(); ++i)
        nonce[i] = static_cast<std::uint8_t>(i * 7 + 1);
    const std::string sealed = SealWithNonce(key, "20261206", kPlain, nonce);

    const std::string header = std::string("QLSE") + '\x01';
    const std::string associated = header + "20261206";
    std::string cipher(kPlain.size() + kTagBytes, '\0');
    unsigned long long length = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(
        reinterpret_cast<unsigned char*>(cipher.data()), &length, reinterpret_cast<const unsigned char*>(kPlain.data()),
        kPlain.size(), reinterpret_cast<const unsigned char*>(associated.data()), associated.size(), nullptr,
        nonce.data(), key.data());
    EXPECT_EQ(sealed, header + std::string(nonce.begin(), nonce.end()) + cipher);
    EXPECT_EQ(Open(key, "20261206", sealed), kPlain);
    EXPECT_EQ(sealed.size(), kPlain.size() + kOverheadBytes);
}

TEST(StrongCipherTest, EveryWriteHasAFreshNonce)
{
    const SecretKey key = KeyOf("Secret");
    const std::string first = Seal(key, "20261206", kPlain);
    const std::string second = Seal(key, "20261206", kPlain);
    EXPECT_NE(first.substr(kHeaderBytes, kNonceBytes), second.substr(kHeaderBytes, kNonceBytes));
    EXPECT_EQ(Open(key, "20261206", first), kPlain);
    EXPECT_EQ(Open(key, "20261206", second), kPlain);
    EXPECT_EQ(Open(key, "20261206", Seal(key, "20261206", "")), "");
}

TEST(StrongCipherTest, ASpoiledFileDoesNotOpen)
{
    const SecretKey key = KeyOf("Secret");
    const std::string sealed = Seal(key, "20261206", kPlain);
    // A flipped bit anywhere: header, nonce, cipher text, tag.
    for (std::size_t at = 0; at < sealed.size(); ++at) {
        std::string spoiled = sealed;
        spoiled[at] = static_cast<char>(spoiled[at] ^ 0x01);
        EXPECT_FALSE(Open(key, "20261206", spoiled)) << "flipped byte " << at;
    }
    for (std::size_t length = 0; length < sealed.size(); ++length)
        EXPECT_FALSE(Open(key, "20261206", sealed.substr(0, length))) << "cut to " << length;
    EXPECT_FALSE(Open(key, "20261207", sealed));  // moved to another day
    EXPECT_FALSE(Open(KeyOf("Secreu"), "20261206", sealed));
    EXPECT_FALSE(Open(key, "20261206", sealed + "x"));
    EXPECT_FALSE(Open(key, "20261206", kPlain));  // not sealed at all
}

} // namespace
} // namespace quillory::strong
