// The diary password's rules and the notices of the password dialogs.
#pragma once

#include <string>
#include <string_view>

namespace quillory {

// At most eight characters from these; the empty password means "no password". The cipher
// ignores letter case, the dialogs do not.
inline constexpr std::string_view kPasswordCharacters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 ";
inline constexpr int kMaxPasswordLength = 8;

namespace password_text {
inline constexpr const char* kWrongPassword = "Sorry, that is the wrong password";
inline constexpr const char* kInvalidCharacters = "Valid password characters are A-Z, 0-9 and spaces";
inline constexpr const char* kPreviousRequired = "Previous password is required";
inline constexpr const char* kPreviousIncorrect = "Previous password is incorrect";
inline constexpr const char* kCleared = "Password cleared. No password now required.";
inline constexpr const char* kWriteDown = "Be sure to write down your new password: ";
} // namespace password_text

// Whether every character of `text` is one of kPasswordCharacters (the empty text is).
bool HasOnlyPasswordCharacters(std::string_view text) noexcept;

// The old-password check of the password dialog: passes when the dialog hides the field
// (no password is set), else only on the exact, case-sensitive password.
bool OldPasswordMatches(bool oldFieldShown, std::string_view typed, std::string_view current) noexcept;
// Why it did not pass: nothing typed, or something wrong typed.
const char* OldPasswordRefusal(std::string_view typed) noexcept;

// The notice after a re-keying: the cleared notice, or the new password to write down.
std::string PasswordChangedNotice(std::string_view newPassword);

} // namespace quillory
