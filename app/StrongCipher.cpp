// The strong entry cipher on libsodium's primitives; no cryptography of our own.
#include "app/StrongCipher.h"

#include <sodium.h>

#include <algorithm>
#include <cstring>

namespace quillory::strong {

namespace {

// Associated data of a seal: the header, so that the version cannot be swapped, then the
// caller's data.
std::string AssociatedData(std::string_view associated)
{
    std::string data(kMagic);
    data += static_cast<char>(kVersion);
    data.append(associated);
    return data;
}

const unsigned char* Bytes(std::string_view text) noexcept
{
    return reinterpret_cast<const unsigned char*>(text.data());
}

// Upper bounds for limits read from a file: 16 passes and 1 GiB.
constexpr unsigned long long kMaxOps = 16;
constexpr std::size_t kMaxMem = std::size_t{1} << 30;

} // namespace

KdfLimits DefaultLimits() noexcept
{
    return {crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE};
}

bool AcceptableLimits(const KdfLimits& limits) noexcept
{
    return limits.ops >= crypto_pwhash_OPSLIMIT_MIN && limits.ops <= kMaxOps
        && limits.mem >= crypto_pwhash_MEMLIMIT_MIN && limits.mem <= kMaxMem;
}

SecretKey::SecretKey() noexcept : bytes_{} {}

SecretKey::SecretKey(std::span<const std::uint8_t, kKeyBytes> bytes) noexcept
{
    std::copy(bytes.begin(), bytes.end(), bytes_.begin());
}

SecretKey::SecretKey(const SecretKey& other) noexcept : bytes_(other.bytes_) {}

SecretKey& SecretKey::operator=(const SecretKey& other) noexcept
{
    bytes_ = other.bytes_;
    return *this;
}

SecretKey::~SecretKey()
{
    sodium_memzero(bytes_.data(), bytes_.size());
}

bool SecretKey::operator==(const SecretKey& other) const noexcept
{
    return sodium_memcmp(bytes_.data(), other.bytes_.data(), kKeyBytes) == 0;
}

bool Ready() noexcept
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}

std::string RandomBytes(std::size_t count)
{
    std::string bytes(count, '\0');
    if (Ready())
        randombytes_buf(bytes.data(), bytes.size());
    return bytes;
}

std::optional<SecretKey> DeriveKey(std::string_view password, std::string_view salt, const KdfLimits& limits)
{
    if (!Ready() || salt.size() != kSaltBytes || !AcceptableLimits(limits))
        return std::nullopt;
    SecretKey key;
    if (crypto_pwhash(key.data(), kKeyBytes, password.data(), password.size(), Bytes(salt), limits.ops,
                      limits.mem, crypto_pwhash_ALG_ARGON2ID13) != 0)
        return std::nullopt;
    return key;
}

bool LooksSealed(std::string_view bytes) noexcept
{
    return bytes.size() >= kHeaderBytes && bytes.substr(0, kMagic.size()) == kMagic
        && static_cast<std::uint8_t>(bytes[kMagic.size()]) == kVersion;
}

std::string Seal(const SecretKey& key, std::string_view associated, std::string_view plain)
{
    std::array<std::uint8_t, kNonceBytes> nonce{};
    Ready();
    randombytes_buf(nonce.data(), nonce.size());
    return SealWithNonce(key, associated, plain, nonce);
}

std::string SealWithNonce(const SecretKey& key, std::string_view associated, std::string_view plain,
                          std::span<const std::uint8_t, kNonceBytes> nonce)
{
    Ready();
    const std::string data = AssociatedData(associated);
    std::string sealed = data.substr(0, kHeaderBytes);
    sealed.append(reinterpret_cast<const char*>(nonce.data()), nonce.size());
    const std::size_t at = sealed.size();
    sealed.resize(at + plain.size() + kTagBytes);
    unsigned long long written = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(reinterpret_cast<unsigned char*>(sealed.data() + at), &written,
                                               Bytes(plain), plain.size(), Bytes(data), data.size(), nullptr,
                                               nonce.data(), key.data());
    sealed.resize(at + written);
    return sealed;
}

std::optional<std::string> Open(const SecretKey& key, std::string_view associated, std::string_view sealed)
{
    if (!Ready() || sealed.size() < kOverheadBytes || !LooksSealed(sealed))
        return std::nullopt;
    const std::string data = AssociatedData(associated);
    const auto* nonce = Bytes(sealed.substr(kHeaderBytes, kNonceBytes));
    const std::string_view cipher = sealed.substr(kHeaderBytes + kNonceBytes);
    std::string plain(cipher.size() - kTagBytes, '\0');
    unsigned long long length = 0;
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(reinterpret_cast<unsigned char*>(plain.data()), &length, nullptr,
                                                   Bytes(cipher), cipher.size(), Bytes(data), data.size(), nonce,
                                                   key.data()) != 0) {
        sodium_memzero(plain.data(), plain.size());
        return std::nullopt;
    }
    plain.resize(length);
    return plain;
}

} // namespace quillory::strong
