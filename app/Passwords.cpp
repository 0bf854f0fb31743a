// The diary password's rules.
#include "app/Passwords.h"

#include "platform/NormalForm.h"
#include "platform/Utf8.h"

#include <algorithm>

namespace quillory {

namespace {

bool IsControl(char32_t c) noexcept
{
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

std::size_t CharacterCount(std::string_view utf8) noexcept
{
    return std::size_t(std::count_if(utf8.begin(), utf8.end(),
                                     [](char c) { return !IsUtf8Continuation(static_cast<unsigned char>(c)); }));
}

} // namespace

bool HasOnlyPasswordCharacters(std::string_view text) noexcept
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return kPasswordCharacters.find(c) != std::string_view::npos; });
}

PasswordFault CheckNewPassword(PasswordScheme scheme, std::string_view password) noexcept
{
    if (password.empty())
        return PasswordFault::Empty;
    if (scheme == PasswordScheme::Legacy) {
        if (!HasOnlyPasswordCharacters(password))
            return PasswordFault::InvalidCharacters;
        return password.size() > std::size_t(kMaxPasswordLength) ? PasswordFault::TooLong : PasswordFault::None;
    }
    if (!IsWellFormedUtf8(password))
        return PasswordFault::NotUtf8;
    if (password.size() > kMaxStrongPasswordBytes)
        return PasswordFault::TooLong;
    for (std::size_t at = 0; at < password.size();) {
        int length = 0;
        if (IsControl(DecodeUtf8At(password, at, length)))
            return PasswordFault::ControlCharacter;
        at += std::size_t(length);
    }
    return PasswordFault::None;
}

const char* PasswordFaultNotice(PasswordScheme scheme, PasswordFault fault) noexcept
{
    switch (fault) {
    case PasswordFault::None:
    case PasswordFault::Empty:
        return nullptr;
    case PasswordFault::TooLong:
        return scheme == PasswordScheme::Legacy ? password_text::kInvalidCharacters : password_text::kStrongTooLong;
    case PasswordFault::InvalidCharacters:
        return password_text::kInvalidCharacters;
    case PasswordFault::NotUtf8:
        return password_text::kNotText;
    case PasswordFault::ControlCharacter:
        return password_text::kStrongControl;
    }
    return nullptr;
}

bool IsShortStrongPassword(std::string_view utf8) noexcept
{
    return !utf8.empty() && CharacterCount(utf8) < kShortStrongPassword;
}

bool OldPasswordMatches(bool oldFieldShown, std::string_view typed, std::string_view current) noexcept
{
    return !oldFieldShown || typed == current;
}

const char* OldPasswordRefusal(std::string_view typed) noexcept
{
    return typed.empty() ? password_text::kPreviousRequired : password_text::kPreviousIncorrect;
}

std::string PasswordChangedNotice(std::string_view newPassword)
{
    if (newPassword.empty())
        return password_text::kCleared;
    return std::string(password_text::kWriteDown) + std::string(newPassword);
}

std::string StrongKeyBytes(std::string_view utf8)
{
    return ComposedNormalForm(utf8);
}

} // namespace quillory
