// The password's character set, the old-password check and the closing notice.
#include "app/Passwords.h"

#include <gtest/gtest.h>

using namespace quillory;

namespace {

TEST(PasswordRulesTest, OnlyLettersDigitsAndSpaces)
{
    struct Case { std::string_view text; bool valid; };
    const Case cases[] = {
        {"", true},
        {"Abc 09 z", true},
        {"ZZZZZZZZ", true},
        {"pass-word", false},
        {"a_b", false},
        {"caf\xE9", false},   // no letters beyond A-Z
        {std::string_view("a\0b", 3), false},
        {"tab\t", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HasOnlyPasswordCharacters(c.text), c.valid) << c.text;
}

TEST(PasswordRulesTest, OldPasswordMustMatchExactlyWhenTheFieldIsShown)
{
    EXPECT_TRUE(OldPasswordMatches(false, "", "secret"));     // no password set: field hidden
    EXPECT_TRUE(OldPasswordMatches(true, "Secret", "Secret"));
    EXPECT_FALSE(OldPasswordMatches(true, "secret", "Secret")); // the dialogs mind letter case
    EXPECT_FALSE(OldPasswordMatches(true, "", "Secret"));
    EXPECT_STREQ(OldPasswordRefusal(""), "Previous password is required");
    EXPECT_STREQ(OldPasswordRefusal("x"), "Previous password is incorrect");
}

TEST(PasswordRulesTest, ClosingNotice)
{
    EXPECT_EQ(PasswordChangedNotice(""), "Password cleared. No password now required.");
    EXPECT_EQ(PasswordChangedNotice("New 1"), "Be sure to write down your new password: New 1");
}

} // namespace
