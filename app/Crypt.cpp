// The entry cipher: keystream, in-memory cipher, password scrambler and the file cipher TKVCrypt.
#include "app/Crypt.h"

#include "platform/AtomicWrite.h"
#include "platform/Error.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace quillory {

namespace {

constexpr std::uint32_t kMultiplier = 134775813u;
constexpr std::uint32_t kIncrement = 1u;

// The generator stepped kLanes times at once: state(n + kLanes) = kJumpMultiplier * state(n)
// + kJumpIncrement. Running kLanes consecutive states side by side breaks the one long chain
// of dependent multiplications into independent ones, which the compiler turns into vector
// operations; the bytes come out exactly as from one step per byte.
constexpr std::size_t kLanes = 32;

constexpr std::uint32_t JumpMultiplier()
{
    std::uint32_t a = 1;
    for (std::size_t i = 0; i < kLanes; ++i)
        a *= kMultiplier;
    return a;
}

constexpr std::uint32_t JumpIncrement()
{
    std::uint32_t c = 0;
    for (std::size_t i = 0; i < kLanes; ++i)
        c = c * kMultiplier + kIncrement;
    return c;
}

constexpr std::uint32_t kJumpMultiplier = JumpMultiplier();
constexpr std::uint32_t kJumpIncrement = JumpIncrement();

// The high 32 bits of state * 255, found as those of state * 256 - state with 32-bit
// operations only, which the compiler can run on many lanes at once.
constexpr std::uint8_t KeyFromState(std::uint32_t state)
{
    const std::uint32_t high = state >> 24;
    const std::uint32_t low = state << 8;
    return static_cast<std::uint8_t>(high - (low < state ? 1u : 0u));
}

constexpr std::uint8_t AsciiUpper(std::uint8_t c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<std::uint8_t>(c - 'a' + 'A') : c;
}

// Adds (sign +1) or subtracts (sign -1) the keystream; leaves `state` where a byte-by-byte run
// would have left it.
template <int Sign>
void ApplyKeystream(std::uint32_t& state, std::span<std::uint8_t> bytes) noexcept
{
    std::size_t at = 0;
    if (bytes.size() >= kLanes) {
        // lane[i] holds the state that keys byte at + i.
        std::array<std::uint32_t, kLanes> lane{};
        std::uint32_t s = state;
        for (auto& value : lane) {
            s = s * kMultiplier + kIncrement;
            value = s;
        }
        for (; at + kLanes <= bytes.size(); at += kLanes) {
            for (std::size_t i = 0; i < kLanes; ++i)
                bytes[at + i] = static_cast<std::uint8_t>(bytes[at + i] + Sign * KeyFromState(lane[i]));
            state = lane[kLanes - 1];
            for (auto& value : lane)
                value = value * kJumpMultiplier + kJumpIncrement;
        }
    }
    for (; at < bytes.size(); ++at) {
        state = state * kMultiplier + kIncrement;
        bytes[at] = static_cast<std::uint8_t>(bytes[at] + Sign * KeyFromState(state));
    }
}

std::span<std::uint8_t> AsBytes(std::string& text)
{
    return {reinterpret_cast<std::uint8_t*>(text.data()), text.size()};
}

std::string Scramble(std::string_view text, int oddShift, int evenShift)
{
    std::string result(text);
    for (std::size_t i = 0; i < result.size(); ++i) {
        const bool odd = (i % 2) == 0;  // positions count from 1
        result[i] = static_cast<char>(static_cast<unsigned char>(result[i]) + (odd ? oddShift : evenShift));
    }
    return result;
}

// Marks a run as busy for its whole length, whichever way it ends.
class BusyScope {
public:
    explicit BusyScope(const TKVCrypt::BusySignal& signal) : signal_(signal)
    {
        if (signal_)
            signal_(true);
    }
    ~BusyScope()
    {
        if (signal_)
            signal_(false);
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    const TKVCrypt::BusySignal& signal_;
};

} // namespace

std::uint32_t CipherKeystream::SeedFromPassword(std::string_view password) noexcept
{
    std::uint32_t sum = 0;
    for (const char c : password)
        sum += AsciiUpper(static_cast<std::uint8_t>(c));
    return sum * static_cast<std::uint32_t>(password.size());
}

void CipherKeystream::Encipher(std::span<std::uint8_t> bytes) noexcept
{
    ApplyKeystream<+1>(state_, bytes);
}

void CipherKeystream::Decipher(std::span<std::uint8_t> bytes) noexcept
{
    ApplyKeystream<-1>(state_, bytes);
}

std::string EncipherBuffer(std::string_view plain, std::string_view password)
{
    std::string result(plain);
    CipherKeystream(password).Encipher(AsBytes(result));
    return result;
}

std::string DecipherBuffer(std::string_view enciphered, std::string_view password)
{
    std::string result(enciphered);
    CipherKeystream(password).Decipher(AsBytes(result));
    return result;
}

std::string EncryptString(std::string_view plain)
{
    const int n = static_cast<int>(plain.size());
    return Scramble(plain, 100 - n, 100 + n);
}

std::string Decryptstring(std::string_view scrambled)
{
    const int n = static_cast<int>(scrambled.size());
    return Scramble(scrambled, n - 100, -n - 100);
}

TKVCrypt::TKVCrypt(NoticeSink notices, BusySignal busy)
    : notices_(std::move(notices)), busy_(std::move(busy))
{
}

void TKVCrypt::Notice(const std::string& text) const
{
    if (notices_)
        notices_(text);
}

void TKVCrypt::SetInputFile(const std::string& path)
{
    std::error_code ignored;
    if (!path.empty() && !std::filesystem::exists(path, ignored)) {
        Notice(kInputMissing);
        inputFile_.clear();
        return;
    }
    inputFile_ = path;
}

void TKVCrypt::SetOutputFile(const std::string& path)
{
    std::error_code ignored;
    if (path == inputFile_ && std::filesystem::exists(path, ignored)) {
        Notice(kSameFiles);
        outputFile_.clear();
        return;
    }
    outputFile_ = path;
}

bool TKVCrypt::Encrypt()
{
    return Run(true);
}

bool TKVCrypt::Decrypt()
{
    return Run(false);
}

bool TKVCrypt::Run(bool encipher)
{
    if (inputFile_.empty() || outputFile_.empty())
        return false;
    const BusyScope busy(busy_);
    CipherKeystream keystream(password_);

    std::ifstream input(inputFile_, std::ios::binary);
    if (!input)
        throw Error(FormatMessage("Cannot open file %s", inputFile_));
    // The output goes to a temporary file that replaces OutputFile only when complete; the
    // writer removes it again on any failure.
    AtomicFileWriter output(outputFile_);
    if (!output.Open())
        throw Error(FormatMessage("Cannot create file %s", outputFile_));

    // Blocks of 4096 bytes; the keystream runs on across them.
    std::array<char, kBlockSize> block{};
    for (;;) {
        input.read(block.data(), block.size());
        const auto got = static_cast<std::size_t>(input.gcount());
        if (input.bad())
            throw Error(FormatMessage("Cannot open file %s", inputFile_));
        const std::span<std::uint8_t> bytes(reinterpret_cast<std::uint8_t*>(block.data()), got);
        if (encipher)
            keystream.Encipher(bytes);
        else
            keystream.Decipher(bytes);
        if (!output.Write({block.data(), got}))
            throw Error(FormatMessage("Cannot create file %s", outputFile_));
        if (got < block.size())
            break;
    }
    if (!output.Commit())
        throw Error(FormatMessage("Cannot create file %s", outputFile_));
    return true;
}

} // namespace quillory
