// The diary password's rules and the notices of the password dialogs. Passwords are bytes: the
// UTF-8 of the text typed for the strong scheme, ASCII for the stored format's cipher.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillory {

// Which scheme a new password gets.
enum class PasswordScheme { Legacy, Strong };

// The stored format's cipher: at most eight characters from these; the empty password means
// "no password". The cipher ignores letter case, the dialogs do not.
inline constexpr std::string_view kPasswordCharacters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 ";
inline constexpr int kMaxPasswordLength = 8;

// The strong scheme: 1 to 1,024 bytes of UTF-8, any letters, digits, spaces and punctuation of
// any script; only control characters (tabs, line ends) are refused, since no dialog can type
// them and a password file could not tell them from its line end.
inline constexpr std::size_t kMaxStrongPasswordBytes = 1024;
// Below this many characters a strong password gets a note that longer is safer.
inline constexpr std::size_t kShortStrongPassword = 12;

namespace password_text {
inline constexpr const char* kWrongPassword = "Sorry, that is the wrong password";
inline constexpr const char* kInvalidCharacters = "Valid password characters are A-Z, 0-9 and spaces";
inline constexpr const char* kPreviousRequired = "Previous password is required";
inline constexpr const char* kPreviousIncorrect = "Previous password is incorrect";
inline constexpr const char* kCleared = "Password cleared. No password now required.";
inline constexpr const char* kWriteDown = "Be sure to write down your new password: ";
// The rule beside the new-password field, by scheme.
inline constexpr const char* kLegacyRule = "(maximum 8 chars - A-Z, 0-9 and spaces)";
inline constexpr const char* kStrongRule = "(any letters, digits, spaces and punctuation)";
inline constexpr const char* kStrongTooLong = "A password can be at most 1,024 bytes long";
inline constexpr const char* kStrongControl = "A password cannot hold tabs, line breaks or other control characters";
inline constexpr const char* kNotText = "A password must be text in UTF-8";
inline constexpr const char* kShortNote = "Longer is safer: a few words make a good password.";
} // namespace password_text

// What is wrong with a new password, if anything.
enum class PasswordFault {
    None,
    Empty,
    TooLong,            // strong: past kMaxStrongPasswordBytes; legacy: past kMaxPasswordLength
    InvalidCharacters,  // legacy: outside kPasswordCharacters
    NotUtf8,            // strong
    ControlCharacter,   // strong
};

// Whether every character of `text` is one of kPasswordCharacters (the empty text is).
bool HasOnlyPasswordCharacters(std::string_view text) noexcept;

// Checks a new password (UTF-8 for the strong scheme) against its scheme's rule.
PasswordFault CheckNewPassword(PasswordScheme scheme, std::string_view password) noexcept;
// The dialog's notice for a fault (nullptr for None and Empty, which the dialog treats as
// "clear the password").
const char* PasswordFaultNotice(PasswordScheme scheme, PasswordFault fault) noexcept;
// A strong password shorter than kShortStrongPassword characters, but not empty.
bool IsShortStrongPassword(std::string_view utf8) noexcept;

// The old-password check of the password dialog: passes when the dialog hides the field
// (no password is set), else only on the exact, case-sensitive password.
bool OldPasswordMatches(bool oldFieldShown, std::string_view typed, std::string_view current) noexcept;
// Why it did not pass: nothing typed, or something wrong typed.
const char* OldPasswordRefusal(std::string_view typed) noexcept;

// The notice after a re-keying: the cleared notice, or the new password to write down.
std::string PasswordChangedNotice(std::string_view newPassword);

// The bytes the strong scheme's key is derived from: the password in Unicode's composed form,
// so that a letter with an accent opens the diary however the keyboard or the file spelled it.
// ASCII passwords (every one set before passphrases were allowed) are unchanged.
std::string StrongKeyBytes(std::string_view utf8);

} // namespace quillory
