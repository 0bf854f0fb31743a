// The strong entry cipher: a key derived from the password with Argon2id and a per-diary salt,
// and every entry sealed with XChaCha20-Poly1305 under a small header of our own. A sealed file
// is "QLSE", the format version, a fresh random nonce, then the ciphertext with its tag. The
// header and the caller's associated data (the day key of an entry) are authenticated, so a
// changed, truncated or moved file does not open.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quillory::strong {

inline constexpr std::string_view kMagic = "QLSE";
inline constexpr std::uint8_t kVersion = 1;
inline constexpr std::size_t kHeaderBytes = 5;   // magic and version
inline constexpr std::size_t kNonceBytes = 24;
inline constexpr std::size_t kTagBytes = 16;
inline constexpr std::size_t kKeyBytes = 32;
inline constexpr std::size_t kSaltBytes = 16;
// The smallest sealed file: header, nonce and tag around an empty text.
inline constexpr std::size_t kOverheadBytes = kHeaderBytes + kNonceBytes + kTagBytes;

// Argon2id's work: passes over the memory, and the memory in bytes.
struct KdfLimits {
    unsigned long long ops = 0;
    std::size_t mem = 0;

    bool operator==(const KdfLimits&) const = default;
};

// What a new password gets: about a quarter of a second on an ordinary machine.
KdfLimits DefaultLimits() noexcept;
// Whether limits read from a file are ones Argon2id accepts and this program will spend: a
// damaged or hostile QL.INI must not make the start take minutes or all the memory.
bool AcceptableLimits(const KdfLimits& limits) noexcept;

// A derived key, wiped from memory when it goes. Copies are wiped too.
class SecretKey {
public:
    SecretKey() noexcept;
    explicit SecretKey(std::span<const std::uint8_t, kKeyBytes> bytes) noexcept;
    SecretKey(const SecretKey& other) noexcept;
    SecretKey& operator=(const SecretKey& other) noexcept;
    ~SecretKey();

    const std::uint8_t* data() const noexcept { return bytes_.data(); }
    std::uint8_t* data() noexcept { return bytes_.data(); }
    bool operator==(const SecretKey& other) const noexcept;

private:
    std::array<std::uint8_t, kKeyBytes> bytes_;
};

// Makes libsodium ready; false when it cannot start (then nothing here works).
bool Ready() noexcept;

std::string RandomBytes(std::size_t count);

// The key of `password` under `salt` (kSaltBytes bytes). Nothing when the salt has the wrong
// size, the limits are not acceptable, or the memory cannot be had.
std::optional<SecretKey> DeriveKey(std::string_view password, std::string_view salt, const KdfLimits& limits);

// Whether `bytes` begin with the header of a sealed file of this version.
bool LooksSealed(std::string_view bytes) noexcept;

// Seals `plain` with a fresh random nonce.
std::string Seal(const SecretKey& key, std::string_view associated, std::string_view plain);
// The same with a given nonce, for tests that check the format against the primitive.
std::string SealWithNonce(const SecretKey& key, std::string_view associated, std::string_view plain,
                          std::span<const std::uint8_t, kNonceBytes> nonce);
// The plain text, or nothing when the file is not a sealed file of this version, or was
// changed, cut short, or sealed with another key or other associated data.
std::optional<std::string> Open(const SecretKey& key, std::string_view associated, std::string_view sealed);

} // namespace quillory::strong
