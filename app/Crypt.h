// The entry cipher: the password-keyed additive stream cipher of entry files, the file cipher
// component TKVCrypt, and the reversible scrambling that keeps the password in QL.INI.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace quillory {

// A 32-bit linear congruential generator yielding one keystream value from 0 to 254 per byte.
// The stored entry format depends on every detail of it: keep it bit-exact.
class CipherKeystream {
public:
    explicit constexpr CipherKeystream(std::uint32_t seed) noexcept : state_(seed) {}
    explicit CipherKeystream(std::string_view password) noexcept : state_(SeedFromPassword(password)) {}

    // The key ignores the case of ASCII letters and the order of the characters: it is the byte
    // sum of the upper-cased password times its length. Old diaries were keyed this way.
    static std::uint32_t SeedFromPassword(std::string_view password) noexcept;

    constexpr std::uint8_t Next() noexcept
    {
        state_ = state_ * 134775813u + 1u;
        return static_cast<std::uint8_t>((std::uint64_t{state_} * 255u) >> 32);
    }

    // Adds (enciphering) or subtracts (deciphering) the next bytes.size() values, mod 256.
    void Encipher(std::span<std::uint8_t> bytes) noexcept;
    void Decipher(std::span<std::uint8_t> bytes) noexcept;

private:
    std::uint32_t state_;
};

// In-memory cipher of a whole entry, so that no plain copy of it has to touch the disk.
std::string EncipherBuffer(std::string_view plain, std::string_view password);
std::string DecipherBuffer(std::string_view enciphered, std::string_view password);

// The password scrambler of the settings file. Not a cipher: it only keeps the stored password
// from being read at a glance. Same length in and out; the empty string maps to itself.
std::string EncryptString(std::string_view plain);
std::string Decryptstring(std::string_view scrambled);

// Reads InputFile and writes its enciphered or deciphered copy to OutputFile. Set InputFile,
// then OutputFile, then Password, then run.
class TKVCrypt {
public:
    // Receives the setters' notices ("Input file does not exist.", ...) for the owner to show.
    using NoticeSink = std::function<void(const std::string& text)>;
    // Called with true when a run starts and false when it ends, however it ends.
    using BusySignal = std::function<void(bool busy)>;

    static constexpr std::size_t kBlockSize = 4096;
    static constexpr const char* kInputMissing = "Input file does not exist.";
    static constexpr const char* kSameFiles = "InputFile and OutputFile must be different files.";

    explicit TKVCrypt(NoticeSink notices = {}, BusySignal busy = {});

    const std::string& InputFile() const noexcept { return inputFile_; }
    const std::string& OutputFile() const noexcept { return outputFile_; }
    const std::string& Password() const noexcept { return password_; }

    // A path that names no existing file is refused with a notice and leaves InputFile empty.
    void SetInputFile(const std::string& path);
    // The current InputFile, when it exists, is refused with a notice and leaves OutputFile empty.
    void SetOutputFile(const std::string& path);
    void SetPassword(const std::string& password) { password_ = password; }

    // Each returns false, touching nothing, when InputFile or OutputFile is empty. The output is
    // replaced whole (temporary file, then rename), so it is never left half-written and may
    // even name the input file by another path. Throws quillory::Error "Cannot open file %s"
    // or "Cannot create file %s".
    bool Encrypt();
    bool Decrypt();

private:
    bool Run(bool encipher);
    void Notice(const std::string& text) const;

    std::string inputFile_;
    std::string outputFile_;
    std::string password_;
    NoticeSink notices_;
    BusySignal busy_;
};

} // namespace quillory
