// How the diary is protected, as QL.INI's "Security" section records it, and the key that
// reads and writes its entries: none (plain RTF), the stored format's cipher with its password,
// or the strong scheme (Argon2id key, XChaCha20-Poly1305 seals).
//
// A strong diary keeps in QL.INI the scheme, the salt, the Argon2id limits and a sealed check
// value; never the password, nor anything that tests a guess faster than Argon2id does.
#pragma once

#include "app/Passwords.h"
#include "app/StrongCipher.h"
#include "platform/IniFile.h"

#include <optional>
#include <string>
#include <string_view>

namespace quillory {

enum class Scheme {
    None,    // no password: entries are plain RTF
    Legacy,  // the stored format's cipher; the password is kept scrambled in QL.INI
    Strong,  // Argon2id and XChaCha20-Poly1305
};

struct DiarySecurity {
    Scheme scheme = Scheme::None;
    std::string legacyPassword;  // Legacy only: the plain password
    std::string salt;            // Strong only: kSaltBytes raw bytes
    strong::KdfLimits limits;    // Strong only
    std::string check;           // Strong only: the sealed check value, raw bytes

    bool operator==(const DiarySecurity&) const = default;
};

// Reads the keys of `section` ("Security" in QL.INI). A section that names the strong scheme
// reads as strong however damaged its other values are - such a diary then opens with no
// password, but is never taken for an unprotected one.
DiarySecurity ReadDiarySecurity(const IniFile& ini, std::string_view section = "Security");
// Sets the keys of `section`; the keys of the other scheme are emptied.
void WriteDiarySecurity(IniFile& ini, const DiarySecurity& security, std::string_view section = "Security");

// The strong scheme's keys alone, their names after `prefix` (the password-change journal keeps
// two records side by side). Reading sets the scheme to Strong when "<prefix>Scheme" says so.
void ReadStrongKeys(const IniFile& ini, std::string_view section, std::string_view prefix, DiarySecurity& security);
void WriteStrongKeys(IniFile& ini, std::string_view section, std::string_view prefix, const DiarySecurity& security);

// QL.INI of the diary folder; a missing file reads as no password.
DiarySecurity LoadDiarySecurity();

// What reads and writes the entries.
struct DiaryKey {
    Scheme scheme = Scheme::None;
    std::string legacyPassword;
    strong::SecretKey key;
};

// The key for `password`, or nothing when the password does not open this diary (for the
// strong scheme, whose password is UTF-8 and is keyed through StrongKeyBytes: the check value
// does not open; for the legacy one: the text differs, letter
// case counting; for none: the password is not empty).
std::optional<DiaryKey> UnlockDiary(const DiarySecurity& security, std::string_view password);

// A fresh strong security record for `password` (new salt, sealed check value) and its key.
struct NewStrongDiary {
    DiarySecurity security;
    DiaryKey key;
};
NewStrongDiary MakeStrongDiary(std::string_view password, const strong::KdfLimits& limits = strong::DefaultLimits());

// The security record of a legacy or no password.
DiarySecurity LegacySecurity(std::string_view password);

// Entry bytes as stored: `plain` as it is, enciphered, or sealed with `dayKey` ("yyyymmdd") as
// associated data.
std::string EncodeEntry(const DiaryKey& key, std::string_view dayKey, std::string_view plain);
// The plain entry, or nothing when a strong seal does not open (damaged, changed, moved).
std::optional<std::string> DecodeEntry(const DiaryKey& key, std::string_view dayKey, std::string_view stored);

// --- The key of this run -------------------------------------------------------------------
// Derived once, when the password is first given, and held only in memory for the diary of the
// diary folder; ForgetSessionKey wipes it (at exit, and whenever QL.INI's security changes).

inline constexpr const char* kPasswordDoesNotOpen = "The password does not open this diary";

// The key for `password` in the diary of the diary folder: the one held when it was derived
// for this password and folder, else made from QL.INI (and then held). In a strong diary it
// throws quillory::Error kPasswordDoesNotOpen for a wrong password; otherwise the password is
// taken as given (empty: plain entries, else the stored format's cipher).
const DiaryKey& SessionKey(std::string_view password);
// Holds `key` as the one for `password` in the diary folder's diary.
void RememberSessionKey(std::string_view password, const DiaryKey& key);
// The password the held key was derived for, when the held key is strong and for this folder.
std::optional<std::string> SessionStrongPassword();
void ForgetSessionKey();

} // namespace quillory
