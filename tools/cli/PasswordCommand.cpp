// quillory-cli password set|clear: sets, changes or clears the diary password, re-keying every
// entry through the same journalled, all-or-nothing change as the password dialog. A new
// password is strong unless --legacy asks for the stored format's cipher.
#include "tools/cli/CliCommands.h"
#include "tools/cli/DiaryPassword.h"

#include "app/PasswordChange.h"
#include "app/Passwords.h"
#include "platform/Error.h"
#include "platform/ProgramFolder.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace quillory::cli {

namespace {

// The diary's password now: none, or the one given and checked against the diary.
std::optional<std::string> OldPassword(Arguments& args, std::string& error)
{
    const auto file = TakeOption(args, "--old-password-file", error);
    if (!error.empty())
        return std::nullopt;
    const DiarySecurity security = LoadDiarySecurity();
    if (security.scheme == Scheme::None)
        return std::string();
    const auto password = file ? ReadPasswordFile(*file, error) : AskPassword("Old password: ", error);
    if (!password)
        return std::nullopt;
    if (!UnlockDiary(security, *password)) {
        error = "the old password is not the diary's";
        return std::nullopt;
    }
    return password;
}

// Why a new password breaks its scheme's rule, in the words of the command line.
std::string RuleBroken(PasswordScheme scheme, PasswordFault fault)
{
    if (scheme == PasswordScheme::Legacy)
        return "with --legacy a password has 1 to 8 characters from A-Z, a-z, 0-9 and space";
    switch (fault) {
    case PasswordFault::NotUtf8:
        return "a password must be UTF-8 text";
    case PasswordFault::ControlCharacter:
        return "a password cannot hold tabs, line breaks or other control characters";
    default:
        return "a password has 1 to 1,024 bytes of UTF-8: any letters, digits, spaces and punctuation";
    }
}

std::optional<std::string> NewPassword(Arguments& args, PasswordScheme scheme, std::string& error)
{
    const auto file = TakeOption(args, "--password-file", error);
    if (!error.empty())
        return std::nullopt;
    std::optional<std::string> password;
    if (file) {
        password = ReadPasswordFile(*file, error);
    } else {
        password = AskPassword("New password: ", error);
        if (password) {
            const auto again = AskPassword("New password again: ", error);
            if (!again)
                return std::nullopt;
            if (*again != *password) {
                error = "the two passwords differ";
                return std::nullopt;
            }
        }
    }
    if (!password)
        return std::nullopt;
    if (const PasswordFault fault = CheckNewPassword(scheme, *password); fault != PasswordFault::None) {
        error = RuleBroken(scheme, fault);
        return std::nullopt;
    }
    // Advice, not a refusal: the password is the user's to choose.
    if (scheme == PasswordScheme::Strong && IsShortStrongPassword(*password))
        std::fprintf(stderr, "quillory-cli: note: a password of fewer than %zu characters is easier to guess; "
                             "longer is safer (a few words make a good one)\n",
                     kShortStrongPassword);
    return password;
}

// A version changed elsewhere meanwhile is kept, never lost: the change itself succeeded.
void ReportKept(const std::vector<KeptVersion>& kept)
{
    for (const KeptVersion& version : kept)
        std::fprintf(stderr, "quillory-cli: %s was changed elsewhere during the password change; the other version is kept as %s\n",
                     version.entry.c_str(), version.keptAs.c_str());
}

} // namespace

int RunPassword(const Arguments& given)
{
    Arguments args = given;
    if (args.empty() || (args[0] != "set" && args[0] != "clear"))
        return Fail("password takes set or clear");
    const bool set = args[0] == "set";
    args.erase(args.begin());
    std::error_code ec;
    if (!std::filesystem::is_directory(DiaryFolder(), ec))
        return Fail("no such folder: " + DiaryFolder());

    RekeyTarget target;
    target.scheme = PasswordScheme::Strong;
    if (set) {
        const auto legacy = std::find(args.begin(), args.end(), "--legacy");
        if (legacy != args.end()) {
            target.scheme = PasswordScheme::Legacy;
            args.erase(legacy);
        }
    }
    std::string error;
    // Settled first: the old password is checked against the diary as it really is.
    try {
        std::vector<KeptVersion> kept;
        RecoverPasswordChange({}, &kept);
        ReportKept(kept);
    } catch (const Error& failure) {
        return Fail(failure.what());
    }
    const auto oldPassword = OldPassword(args, error);
    if (!oldPassword)
        return Fail(error);
    std::optional<std::string> newPassword = std::string();
    if (set) {
        newPassword = NewPassword(args, target.scheme, error);
        if (!newPassword)
            return Fail(error);
    }
    if (!args.empty())
        return Fail("unknown argument: " + args.front());
    try {
        ReportKept(ProcessPassword(*oldPassword, *newPassword, {}, target));
    } catch (const Error& failure) {
        return Fail(failure.what());
    }
    return 0;
}

} // namespace quillory::cli
