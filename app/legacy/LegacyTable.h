// Read access to the old single-table diary: an xBase table (QUILLOR.DBF) whose memo texts live
// in an FPT memo file (QUILLOR.FPT). Only what the conversion needs is read: the field list,
// the deletion flag of each record, character fields and text memos. The table is never written.
#pragma once

#include "platform/Error.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillory {

// A table or memo file that breaks the format: a count, pointer or length reaching outside the
// file, a memo block size of 0, a field list without its end. The text says what and where.
class LegacyTableError : public Error {
public:
    using Error::Error;
};

enum class MemoPointerForm {
    Text,    // ten characters of decimal digits, blank when there is no memo
    Binary,  // four bytes, little-endian, 0 when there is no memo
};

struct LegacyField {
    std::string name;   // as stored, up to its first zero byte
    char type = 'C';    // 'C' character, 'M' memo, 'N', 'D', 'L', ...
    int offset = 0;     // within the record; the deletion flag is byte 0
    int width = 0;
    int decimals = 0;

    // The form of a memo field's block pointer, told by its width.
    MemoPointerForm PointerForm() const noexcept { return width == 4 ? MemoPointerForm::Binary : MemoPointerForm::Text; }
};

// Where a memo lies in the memo file: from its block's first byte to one past the end of the
// text that the block states.
struct MemoExtent {
    std::uint64_t begin = 0;
    std::uint64_t end = 0;

    bool operator==(const MemoExtent&) const = default;
};

class LegacyTable {
public:
    // The header of an FPT memo file is this long; no memo block starts inside it.
    static constexpr std::uint64_t kMemoHeaderSize = 512;

    // Takes the bytes of the table and, when it has one, of its memo file, and checks the
    // table's header and field list and the memo file's header against the sizes. Throws
    // LegacyTableError when they do not fit; a table with memo fields needs its memo file.
    LegacyTable(std::string table, std::optional<std::string> memo);

    // Reads QUILLOR.DBF and QUILLOR.FPT (whatever the case of their names) from `folder`.
    // Throws LegacyTableError when the table is missing, or Error "Cannot open file %s" when a
    // file cannot be read whole, or as the constructor does.
    static LegacyTable Open(const std::filesystem::path& folder);

    std::uint8_t Version() const noexcept { return version_; }
    std::uint32_t RecordCount() const noexcept { return recordCount_; }
    const std::vector<LegacyField>& Fields() const noexcept { return fields_; }
    // The field of that name, compared without regard to case; nullptr when there is none.
    const LegacyField* Field(std::string_view name) const noexcept;

    // Records are numbered from 0 in the physical order of the file. A record counts as deleted
    // unless its flag byte is a space or "E"; one past RecordCount() reads as deleted and empty.
    bool IsDeleted(std::uint32_t record) const noexcept;
    // A field's bytes without trailing blanks (spaces and zero bytes).
    std::string ReadTrimString(std::uint32_t record, const LegacyField& field) const;
    // A memo field's text up to its first zero byte; empty when the record has no memo. Throws
    // LegacyTableError when the pointer or the length leads outside the memo file.
    std::string ReadMemo(std::uint32_t record, const LegacyField& field) const;
    // Where that memo lies; nothing when the record has no memo. Throws as ReadMemo does.
    std::optional<MemoExtent> MemoExtentOf(std::uint32_t record, const LegacyField& field) const;

private:
    std::string_view RawField(std::uint32_t record, const LegacyField& field) const noexcept;
    std::uint64_t MemoBlock(std::uint32_t record, const LegacyField& field) const;

    std::string table_;
    std::optional<std::string> memo_;
    std::uint8_t version_ = 0;
    std::uint32_t recordCount_ = 0;
    std::uint32_t headerLength_ = 0;
    std::uint32_t recordLength_ = 0;
    std::uint32_t memoBlockSize_ = 0;
    std::vector<LegacyField> fields_;
};

} // namespace quillory
