// Passwords for the command line: from a file or typed without echo.
#include "tools/cli/DiaryPassword.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <termios.h>
#include <unistd.h>

namespace quillory::cli {

std::optional<std::string> TakeOption(Arguments& args, const std::string& option, std::string& error)
{
    const auto at = std::find(args.begin(), args.end(), option);
    if (at == args.end())
        return std::nullopt;
    if (at + 1 == args.end()) {
        error = option + " needs a file name";
        return std::nullopt;
    }
    std::string value = *(at + 1);
    args.erase(at, at + 2);
    return value;
}

std::optional<std::string> ReadPasswordFile(const std::string& file, std::string& error)
{
    // A password is short: a file longer than this is no password file (nor is read whole).
    constexpr std::size_t kMostBytes = 64 * 1024;
    std::ifstream in(file, std::ios::binary);
    std::string password(kMostBytes + 1, '\0');
    if (in)
        in.read(password.data(), std::streamsize(password.size()));
    if (!in && !in.eof()) {
        error = "cannot read " + file;
        return std::nullopt;
    }
    password.resize(std::size_t(in.gcount()));
    if (password.size() > kMostBytes) {
        error = file + " is too long to hold a password";
        return std::nullopt;
    }
    if (password.ends_with("\r\n"))
        password.resize(password.size() - 2);
    else if (password.ends_with('\n'))
        password.pop_back();
    // A second line would be part of no password that a dialog can type: better said than
    // silently cut off.
    if (password.find('\n') != std::string::npos) {
        error = file + " holds more than one line; a password file holds the password alone";
        return std::nullopt;
    }
    return password;
}

std::optional<std::string> AskPassword(const std::string& prompt, std::string& error)
{
    if (!isatty(STDIN_FILENO)) {
        error = "a password is needed: give --password-file F or run on a terminal";
        return std::nullopt;
    }
    std::fputs(prompt.c_str(), stderr);
    std::fflush(stderr);
    termios saved{};
    tcgetattr(STDIN_FILENO, &saved);
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    std::string line;
    const bool read = static_cast<bool>(std::getline(std::cin, line));
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::fputs("\n", stderr);
    if (!read) {
        error = "no password typed";
        return std::nullopt;
    }
    return line;
}

std::optional<std::string> DiaryPassword(const std::optional<std::string>& passwordFile, std::string& error)
{
    const DiarySecurity security = LoadDiarySecurity();
    if (security.scheme != Scheme::Strong)
        return security.legacyPassword;
    const auto password = passwordFile ? ReadPasswordFile(*passwordFile, error) : AskPassword("Diary password: ", error);
    if (!password)
        return std::nullopt;
    const auto key = UnlockDiary(security, *password);
    if (!key) {
        error = "the password does not open this diary";
        return std::nullopt;
    }
    RememberSessionKey(*password, *key);
    return password;
}

std::optional<DiaryKey> OpenDiaryKey(Arguments& args, std::string& error)
{
    const auto file = TakeOption(args, "--password-file", error);
    if (!error.empty())
        return std::nullopt;
    const auto password = DiaryPassword(file, error);
    if (!password)
        return std::nullopt;
    return SessionKey(*password);
}

} // namespace quillory::cli
