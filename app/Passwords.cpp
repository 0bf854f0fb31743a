// The diary password's rules.
#include "app/Passwords.h"

#include <algorithm>

namespace quillory {

bool HasOnlyPasswordCharacters(std::string_view text) noexcept
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return kPasswordCharacters.find(c) != std::string_view::npos; });
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

} // namespace quillory
