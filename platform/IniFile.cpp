// Reading and writing the initialisation-file format line by line.
#include "platform/IniFile.h"

#include "platform/AtomicWrite.h"
#include "platform/Error.h"
#include "platform/Files.h"

#include <cstdint>
#include <fstream>
#include <limits>
#include <optional>

namespace quillory {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

// The name of the section a line opens: the text between '[' and ']' (or the line's end),
// without the spaces around it.
std::optional<std::string_view> SectionName(std::string_view line)
{
    line = Trim(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    line.remove_prefix(1);
    return Trim(line.substr(0, line.find(']')));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

// "Key=Value", the first '=' dividing them. A line starting with ';' is a comment.
std::optional<KeyLine> ParseKeyLine(std::string_view line)
{
    const auto trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[')
        return std::nullopt;
    const auto equals = trimmed.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return KeyLine{Trim(trimmed.substr(0, equals)), Trim(trimmed.substr(equals + 1))};
}

std::optional<std::int64_t> ParseHex(std::string_view digits)
{
    std::uint64_t value = 0;
    for (const char c : digits) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * 16 + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    // The 32 bits as a signed value: colours and masks are stored this way.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::optional<std::int64_t> ParseDecimal(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1)
            return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return value;
}

std::optional<int> ParseInteger(std::string_view text)
{
    std::optional<std::int64_t> value;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        value = ParseHex(text.substr(2));
    else
        value = ParseDecimal(text);
    if (!value)
        return std::nullopt;
    return static_cast<int>(*value);
}

} // namespace

IniFile::IniFile(std::filesystem::path file) : file_(std::move(file))
{
    const auto existing = FindNoCase(file_);
    if (!existing)
        return;
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(*existing, ignored))
        return;
    std::ifstream in(*existing, std::ios::binary);
    std::string text;
    char block[4096];
    while (in.read(block, sizeof block) || in.gcount() > 0)
        text.append(block, static_cast<std::size_t>(in.gcount()));
    if (in.bad())
        return;
    Parse(text);
}

IniFile IniFile::FromText(std::string_view text)
{
    IniFile ini;
    ini.Parse(text);
    return ini;
}

void IniFile::Parse(std::string_view text)
{
    // Lines end with CR LF, LF or a lone CR, so that no value can hold a line break.
    lines_.clear();
    bool endingSeen = false;
    while (!text.empty()) {
        const auto end = text.find_first_of("\r\n");
        lines_.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        const bool crlf = text.substr(end, 2) == "\r\n";
        if (!endingSeen) {
            // New lines follow the file's own convention.
            lineEnd_ = crlf ? "\r\n" : "\n";
            endingSeen = true;
        }
        text.remove_prefix(end + (crlf ? 2 : 1));
    }
}

std::size_t IniFile::FindSection(std::string_view section) const
{
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        std::string_view line = lines_[i];
        if (i == 0 && line.starts_with(kByteOrderMark))
            line.remove_prefix(kByteOrderMark.size());
        const auto name = SectionName(line);
        if (name && EqualNoCase(*name, section))
            return i;
    }
    return std::string::npos;
}

std::size_t IniFile::SectionEnd(std::size_t header) const
{
    std::size_t end = header + 1;
    while (end < lines_.size() && !SectionName(lines_[end]))
        ++end;
    return end;
}

std::size_t IniFile::FindKey(std::size_t header, std::string_view key) const
{
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        const auto parsed = ParseKeyLine(lines_[i]);
        if (parsed && EqualNoCase(parsed->key, key))
            return i;
    }
    return std::string::npos;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const
{
    const std::size_t header = FindSection(section);
    if (header == std::string::npos)
        return std::string(fallback);
    const std::size_t at = FindKey(header, key);
    if (at == std::string::npos)
        return std::string(fallback);
    return std::string(ParseKeyLine(lines_[at])->value.substr(0, kMaxValueLength));
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const
{
    return ParseInteger(ReadString(section, key, "")).value_or(fallback);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const
{
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    value = value.substr(0, value.find_first_of("\r\n"));
    const std::size_t header = FindSection(section);
    if (header == std::string::npos) {
        if (!lines_.empty() && !Trim(lines_.back()).empty())
            lines_.emplace_back();
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(std::string(key) + "=" + std::string(value));
        return;
    }
    const std::size_t at = FindKey(header, key);
    if (at != std::string::npos) {
        // The key keeps its stored spelling; only the value changes.
        const auto stored = ParseKeyLine(lines_[at])->key;
        lines_[at] = std::string(stored) + "=" + std::string(value);
        return;
    }
    // After the section's last line that is not blank, so that a blank line before the next
    // section stays where it is.
    std::size_t insert = SectionEnd(header);
    while (insert > header + 1 && Trim(lines_[insert - 1]).empty())
        --insert;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert), std::string(key) + "=" + std::string(value));
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

std::string IniFile::Text() const
{
    std::string text;
    for (const auto& line : lines_) {
        text += line;
        text += lineEnd_;
    }
    return text;
}

void IniFile::UpdateFile() const
{
    const std::string text = Text();
    // A file that already holds these bytes is left alone: a start that changes no setting
    // then writes nothing, and a synced folder has nothing to send.
    if (const auto existing = file_.empty() ? std::nullopt : FindNoCase(file_)) {
        std::ifstream in(*existing, std::ios::binary);
        std::string current(text.size() + 1, '\0');
        if (in && in.read(current.data(), std::streamsize(current.size())).gcount() == std::streamsize(text.size())
            && in.eof() && current.compare(0, text.size(), text) == 0)
            return;
    }
    if (file_.empty() || !WriteFileAtomically(file_, text))
        throw Error(FormatMessage("Unable to write to %s", file_.string()));
}

} // namespace quillory
