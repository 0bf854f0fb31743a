// The initialisation-file format of QL.INI: "[Section]" lines opening sections of "Key=Value"
// lines, names matched without regard to case, values kept byte for byte.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quillory {

// The whole file held as its lines. Reads look the value up; writes change the lines in place
// and keep everything else (comments, other sections, unknown keys) as it was. Nothing reaches
// the disk until UpdateFile(), which replaces the file whole.
class IniFile {
public:
    // Values longer than this are cut when read.
    static constexpr std::size_t kMaxValueLength = 1023;

    // Reads the file, whatever the case of its name. A missing or unreadable file reads as
    // empty, so that every key gives its default.
    explicit IniFile(std::filesystem::path file);
    // The same format from bytes in memory; UpdateFile() then has nowhere to write.
    static IniFile FromText(std::string_view text);

    const std::filesystem::path& FileName() const noexcept { return file_; }

    // The value of the first `key` in the first `section` of that name, without the spaces
    // around it, or `fallback` when there is none.
    std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
    // A decimal integer with an optional sign, or hexadecimal after "0x"/"0X" (the 32 bits of up
    // to eight digits, so 0xFFFFFFFF is -1). Anything else, an empty value included, and any
    // number outside 32 bits gives `fallback`.
    int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
    // The value read as an integer (fallback 1 or 0): true unless it is 0.
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

    // Replaces the key's value where it stands, or adds the key at the end of its section, or
    // adds the section at the end of the file. A line break cannot be stored in a value: the
    // value is cut before the first one.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

    // Writes the file whole through a temporary file, so that a failure leaves the old one
    // intact. Throws quillory::Error "Unable to write to %s" naming the file.
    void UpdateFile() const;

    // The file's text as UpdateFile() writes it.
    std::string Text() const;

private:
    IniFile() = default;
    void Parse(std::string_view text);
    // The index of the line opening `section`, or npos.
    std::size_t FindSection(std::string_view section) const;
    // The end of the section whose header is at `header`: the next header or the end of file.
    std::size_t SectionEnd(std::size_t header) const;
    std::size_t FindKey(std::size_t header, std::string_view key) const;

    std::filesystem::path file_;
    std::vector<std::string> lines_;
    std::string lineEnd_ = "\n";
};

} // namespace quillory
