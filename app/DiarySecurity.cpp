// The diary's protection in QL.INI, the key that reads its entries, and the key of this run.
#include "app/DiarySecurity.h"

#include "app/Crypt.h"
#include "app/Settings.h"
#include "platform/Error.h"
#include "platform/ProgramFolder.h"

#include <sodium.h>

#include <charconv>

namespace quillory {

namespace {

constexpr std::string_view kStrongName = "Strong";
// What the check value seals, under its own associated data so that no entry can stand in.
constexpr std::string_view kCheckText = "Quillory diary check";
constexpr std::string_view kCheckData = "QL.INI check";

std::string ToHex(std::string_view bytes)
{
    std::string hex(bytes.size() * 2 + 1, '\0');
    sodium_bin2hex(hex.data(), hex.size(), reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    hex.pop_back();
    return hex;
}

std::string FromHex(std::string_view hex)
{
    std::string bytes(hex.size() / 2, '\0');
    std::size_t length = 0;
    if (sodium_hex2bin(reinterpret_cast<unsigned char*>(bytes.data()), bytes.size(), hex.data(), hex.size(), nullptr,
                       &length, nullptr) != 0)
        return {};
    bytes.resize(length);
    return bytes;
}

unsigned long long ToNumber(std::string_view text)
{
    unsigned long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

// The strong key of a password as typed; the copy made on the way is wiped.
std::optional<strong::SecretKey> DeriveFromPassword(std::string_view password, std::string_view salt,
                                                    const strong::KdfLimits& limits)
{
    std::string bytes = StrongKeyBytes(password);
    auto derived = strong::DeriveKey(bytes, salt, limits);
    sodium_memzero(bytes.data(), bytes.size());
    return derived;
}

struct HeldKey {
    std::string folder;
    std::string password;
    DiaryKey key;
};

std::optional<HeldKey>& Held()
{
    static std::optional<HeldKey> held;
    return held;
}

} // namespace

void ReadStrongKeys(const IniFile& ini, std::string_view section, std::string_view prefix, DiarySecurity& security)
{
    const std::string p(prefix);
    if (ini.ReadString(section, p + "Scheme", "") != kStrongName)
        return;
    security.scheme = Scheme::Strong;
    security.legacyPassword.clear();
    security.salt = FromHex(ini.ReadString(section, p + "Salt", ""));
    security.limits.ops = ToNumber(ini.ReadString(section, p + "OpsLimit", ""));
    security.limits.mem = static_cast<std::size_t>(ToNumber(ini.ReadString(section, p + "MemLimit", "")));
    security.check = FromHex(ini.ReadString(section, p + "Check", ""));
}

void WriteStrongKeys(IniFile& ini, std::string_view section, std::string_view prefix, const DiarySecurity& security)
{
    const std::string p(prefix);
    const bool isStrong = security.scheme == Scheme::Strong;
    // Without the strong scheme its keys are emptied where they are, and not added elsewhere.
    auto write = [&](const char* key, const std::string& value) {
        if (isStrong || !ini.ReadString(section, p + key, "").empty())
            ini.WriteString(section, p + key, isStrong ? value : std::string());
    };
    write("Scheme", std::string(kStrongName));
    write("Salt", ToHex(security.salt));
    write("OpsLimit", std::to_string(security.limits.ops));
    write("MemLimit", std::to_string(security.limits.mem));
    write("Check", ToHex(security.check));
}

DiarySecurity ReadDiarySecurity(const IniFile& ini, std::string_view section)
{
    DiarySecurity security;
    const std::string scrambled = ini.ReadString(section, "Password", "");
    if (!scrambled.empty()) {
        security.scheme = Scheme::Legacy;
        security.legacyPassword = Decryptstring(scrambled);
    }
    ReadStrongKeys(ini, section, "", security);
    return security;
}

void WriteDiarySecurity(IniFile& ini, const DiarySecurity& security, std::string_view section)
{
    const bool isLegacy = security.scheme == Scheme::Legacy && !security.legacyPassword.empty();
    ini.WriteString(section, "Password", isLegacy ? EncryptString(security.legacyPassword) : std::string());
    WriteStrongKeys(ini, section, "", security);
}

DiarySecurity LoadDiarySecurity()
{
    return ReadDiarySecurity(IniFile(SettingsFileName()));
}

std::optional<DiaryKey> UnlockDiary(const DiarySecurity& security, std::string_view password)
{
    DiaryKey key;
    key.scheme = security.scheme;
    switch (security.scheme) {
    case Scheme::None:
        if (!password.empty())
            return std::nullopt;
        return key;
    case Scheme::Legacy:
        if (password != security.legacyPassword)
            return std::nullopt;
        key.legacyPassword = std::string(password);
        return key;
    case Scheme::Strong: {
        auto derived = DeriveFromPassword(password, security.salt, security.limits);
        if (!derived)
            return std::nullopt;
        auto opened = strong::Open(*derived, kCheckData, security.check);
        if (!opened || *opened != kCheckText)
            return std::nullopt;
        key.key = *derived;
        return key;
    }
    }
    return std::nullopt;
}

NewStrongDiary MakeStrongDiary(std::string_view password, const strong::KdfLimits& limits)
{
    NewStrongDiary diary;
    diary.security.scheme = Scheme::Strong;
    diary.security.salt = strong::RandomBytes(strong::kSaltBytes);
    diary.security.limits = limits;
    const auto derived = DeriveFromPassword(password, diary.security.salt, limits);
    if (!derived)
        throw Error("Not enough memory to derive the key of the new password");
    diary.security.check = strong::Seal(*derived, kCheckData, kCheckText);
    diary.key.scheme = Scheme::Strong;
    diary.key.key = *derived;
    return diary;
}

DiarySecurity LegacySecurity(std::string_view password)
{
    DiarySecurity security;
    if (!password.empty()) {
        security.scheme = Scheme::Legacy;
        security.legacyPassword = std::string(password);
    }
    return security;
}

std::string EncodeEntry(const DiaryKey& key, std::string_view dayKey, std::string_view plain)
{
    switch (key.scheme) {
    case Scheme::None:
        return std::string(plain);
    case Scheme::Legacy:
        return EncipherBuffer(plain, key.legacyPassword);
    case Scheme::Strong:
        return strong::Seal(key.key, dayKey, plain);
    }
    return std::string(plain);
}

std::optional<std::string> DecodeEntry(const DiaryKey& key, std::string_view dayKey, std::string_view stored)
{
    switch (key.scheme) {
    case Scheme::None:
        return std::string(stored);
    case Scheme::Legacy:
        return DecipherBuffer(stored, key.legacyPassword);
    case Scheme::Strong:
        return strong::Open(key.key, dayKey, stored);
    }
    return std::nullopt;
}

const DiaryKey& SessionKey(std::string_view password)
{
    auto& held = Held();
    if (held && held->folder == DiaryFolder() && held->password == password)
        return held->key;
    const DiarySecurity security = LoadDiarySecurity();
    if (security.scheme != Scheme::Strong) {
        // The stored format's cipher takes any password as given, as it always has.
        RememberSessionKey(password, *UnlockDiary(LegacySecurity(password), password));
        return held->key;
    }
    const auto key = UnlockDiary(security, password);
    if (!key)
        throw Error(kPasswordDoesNotOpen);
    RememberSessionKey(password, *key);
    return held->key;
}

void RememberSessionKey(std::string_view password, const DiaryKey& key)
{
    ForgetSessionKey();
    Held() = HeldKey{DiaryFolder(), std::string(password), key};
}

std::optional<std::string> SessionStrongPassword()
{
    const auto& held = Held();
    if (held && held->folder == DiaryFolder() && held->key.scheme == Scheme::Strong)
        return held->password;
    return std::nullopt;
}

void ForgetSessionKey()
{
    auto& held = Held();
    if (!held)
        return;
    sodium_memzero(held->password.data(), held->password.size());
    sodium_memzero(held->key.legacyPassword.data(), held->key.legacyPassword.size());
    held.reset();  // the key wipes itself
}

} // namespace quillory
