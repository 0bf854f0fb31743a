// The password rules of both schemes, the old-password check and the closing notice.
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

// The strong scheme takes passphrases of any script; the simple cipher keeps its eight
// characters. Before, the simple cipher's rule capped both.
TEST(PasswordRulesTest, EachSchemeHasItsOwnRule)
{
    using enum PasswordFault;
    const std::string longest(kMaxStrongPasswordBytes, 'a');
    std::string accented;  // 512 letters of two bytes each
    for (std::size_t i = 0; i < kMaxStrongPasswordBytes / 2; ++i)
        accented += "\xC5\xBC";
    struct Case { const char* name; std::string text; PasswordFault strong; PasswordFault legacy; };
    const Case cases[] = {
        {"empty", "", Empty, Empty},
        {"simple", "Abc 09 z", None, None},
        {"passphrase", "Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 g\xC4\x99\xC5\x9Bl\xC4\x85 ja\xC5\xBA\xC5\x84 "
                       "\xE2\x80\x94 correct horse 7!", None, InvalidCharacters},
        {"punctuation", "pass-word", None, InvalidCharacters},
        {"nine characters", "123456789", None, TooLong},
        {"1,024 bytes", longest, None, TooLong},
        {"1,025 bytes", longest + "a", TooLong, TooLong},
        {"512 two-byte letters", accented, None, InvalidCharacters},
        {"513 two-byte letters", accented + "\xC5\xBC", TooLong, InvalidCharacters},
        {"tab", "tab\there", ControlCharacter, InvalidCharacters},
        {"line end", "two\nlines", ControlCharacter, InvalidCharacters},
        {"NUL", std::string("a\0b", 3), ControlCharacter, InvalidCharacters},
        {"C1 control", "a\xC2\x85" "b", ControlCharacter, InvalidCharacters},
        {"not UTF-8", "caf\xE9", NotUtf8, InvalidCharacters},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CheckNewPassword(PasswordScheme::Strong, c.text), c.strong);
        EXPECT_EQ(CheckNewPassword(PasswordScheme::Legacy, c.text), c.legacy);
    }
    EXPECT_STREQ(PasswordFaultNotice(PasswordScheme::Legacy, InvalidCharacters),
                 "Valid password characters are A-Z, 0-9 and spaces");
    EXPECT_EQ(PasswordFaultNotice(PasswordScheme::Strong, None), nullptr);
}

TEST(PasswordRulesTest, AShortStrongPasswordIsNotedByCharactersNotBytes)
{
    EXPECT_FALSE(IsShortStrongPassword(""));
    EXPECT_TRUE(IsShortStrongPassword("Str0ng"));
    EXPECT_TRUE(IsShortStrongPassword("12345678901"));
    EXPECT_FALSE(IsShortStrongPassword("123456789012"));
    // Eleven letters of two bytes each: 22 bytes, still short.
    EXPECT_TRUE(IsShortStrongPassword("\xC5\xBC\xC5\xBC\xC5\xBC\xC5\xBC\xC5\xBC\xC5\xBC\xC5\xBC\xC5\xBC\xC5\xBC\xC5\xBC\xC5\xBC"));
}

// One passphrase, two spellings of its accents (a keyboard's composed letter, a file's letter
// and combining mark): one key.
TEST(PasswordRulesTest, TheStrongKeyTakesTheComposedFormAndLeavesAsciiAlone)
{
    EXPECT_EQ(StrongKeyBytes("caf\xC3\xA9 au lait"), "caf\xC3\xA9 au lait");
    EXPECT_EQ(StrongKeyBytes("cafe\xCC\x81 au lait"), "caf\xC3\xA9 au lait");
    EXPECT_EQ(StrongKeyBytes("Str0ng 1"), "Str0ng 1");
    EXPECT_EQ(StrongKeyBytes("caf\xE9"), "caf\xE9");  // not UTF-8: taken as it is
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
