// The xBase table and FPT memo reader. Every count, offset and length read from the files is
// checked against the bytes that are there before it is used, so a damaged file ends in a
// LegacyTableError, never in a read outside the buffers or an allocation it asked for.
#include "app/legacy/LegacyTable.h"

#include "platform/Files.h"

#include <fstream>
#include <iterator>

namespace quillory {

namespace {

constexpr const char* kTableName = "QUILLOR.DBF";
constexpr const char* kMemoName = "QUILLOR.FPT";

// Table header: version byte, last update (3 bytes), record count, header length, record length.
constexpr std::size_t kTableHeaderSize = 32;
constexpr std::size_t kFieldDescriptorSize = 32;
constexpr unsigned char kFieldListEnd = 0x0D;
// Memo block: its type (4 bytes) and the text's length (4 bytes, big-endian), then the text.
constexpr std::uint64_t kMemoBlockHeader = 8;

[[noreturn]] void Broken(const char* file, const std::string& what)
{
    throw LegacyTableError(std::string(file) + ": " + what);
}

std::uint32_t Little16(std::string_view bytes, std::size_t at)
{
    return std::uint32_t(std::uint8_t(bytes[at])) | std::uint32_t(std::uint8_t(bytes[at + 1])) << 8;
}

std::uint32_t Little32(std::string_view bytes, std::size_t at)
{
    return Little16(bytes, at) | Little16(bytes, at + 2) << 16;
}

// The memo file keeps its numbers big-endian.
std::uint32_t Big16(std::string_view bytes, std::size_t at)
{
    return std::uint32_t(std::uint8_t(bytes[at])) << 8 | std::uint8_t(bytes[at + 1]);
}

std::uint32_t Big32(std::string_view bytes, std::size_t at)
{
    return Big16(bytes, at) << 16 | Big16(bytes, at + 2);
}

bool IsBlank(char c) noexcept
{
    return c == ' ' || c == '\0';
}

char UpperAscii(char c) noexcept
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& folder, const char* name, bool required)
{
    const auto path = FindNoCase(folder / name);
    if (!path) {
        if (required)
            Broken(name, "the file is missing");
        return std::nullopt;
    }
    std::ifstream in(*path, std::ios::binary);
    std::string bytes;
    try {
        if (in)
            bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } catch (const std::exception&) {
        in.setstate(std::ios::badbit);
    }
    if (!in || in.bad())
        throw Error(FormatMessage("Cannot open file %s", path->string()));
    return bytes;
}

} // namespace

LegacyTable::LegacyTable(std::string table, std::optional<std::string> memo)
    : table_(std::move(table)), memo_(std::move(memo))
{
    const std::string_view bytes = table_;
    if (bytes.size() < kTableHeaderSize)
        Broken(kTableName, "the file is too short for a table header");
    version_ = std::uint8_t(bytes[0]);
    recordCount_ = Little32(bytes, 4);
    headerLength_ = Little16(bytes, 8);
    recordLength_ = Little16(bytes, 10);
    if (headerLength_ < kTableHeaderSize + 1 || headerLength_ > bytes.size())
        Broken(kTableName, "the header length " + std::to_string(headerLength_) + " does not fit the file");
    if (recordLength_ < 1)
        Broken(kTableName, "the record length is 0");

    // Field descriptors follow the header up to the end byte. Newer writers leave an area of
    // their own after it; the header length covers it, so records are found either way.
    std::size_t at = kTableHeaderSize;
    int offset = 1;  // byte 0 of a record is its deletion flag
    for (;;) {
        if (at >= headerLength_)
            Broken(kTableName, "the field list has no end");
        if (std::uint8_t(bytes[at]) == kFieldListEnd)
            break;
        if (at + kFieldDescriptorSize > headerLength_)
            Broken(kTableName, "the field list has no end");
        const std::string_view descriptor = bytes.substr(at, kFieldDescriptorSize);
        LegacyField field;
        const std::string_view name = descriptor.substr(0, 11);
        field.name = std::string(name.substr(0, name.find('\0')));
        field.type = UpperAscii(descriptor[11]);
        field.width = std::uint8_t(descriptor[16]);
        field.decimals = std::uint8_t(descriptor[17]);
        // The stored displacement is not trusted (older writers put a memory address there):
        // fields lie one after the other, as every writer lays them out.
        field.offset = offset;
        offset += field.width;
        if (std::uint32_t(offset) > recordLength_)
            Broken(kTableName, "field " + field.name + " reaches past the end of the record");
        fields_.push_back(std::move(field));
        at += kFieldDescriptorSize;
    }

    const std::uint64_t room = (bytes.size() - headerLength_) / recordLength_;
    if (recordCount_ > room)
        Broken(kTableName, "the header counts " + std::to_string(recordCount_) + " records, the file holds "
                               + std::to_string(room));

    bool hasMemos = false;
    for (const LegacyField& field : fields_)
        hasMemos = hasMemos || field.type == 'M';
    if (!hasMemos)
        return;
    if (!memo_)
        Broken(kMemoName, "the file is missing");
    if (memo_->size() < kMemoBlockHeader)
        Broken(kMemoName, "the file is too short for a memo header");
    memoBlockSize_ = Big16(*memo_, 6);
    if (memoBlockSize_ == 0)
        Broken(kMemoName, "the memo block size is 0");
}

LegacyTable LegacyTable::Open(const std::filesystem::path& folder)
{
    std::optional<std::string> table = ReadWholeFile(folder, kTableName, true);
    std::optional<std::string> memo = ReadWholeFile(folder, kMemoName, false);
    return LegacyTable(std::move(*table), std::move(memo));
}

const LegacyField* LegacyTable::Field(std::string_view name) const noexcept
{
    for (const LegacyField& field : fields_) {
        if (SameNameNoCase(field.name, name))
            return &field;
    }
    return nullptr;
}

std::string_view LegacyTable::RawField(std::uint32_t record, const LegacyField& field) const noexcept
{
    if (record >= recordCount_)
        return {};
    const std::size_t start = headerLength_ + std::size_t(record) * recordLength_;
    return std::string_view(table_).substr(start + field.offset, field.width);
}

bool LegacyTable::IsDeleted(std::uint32_t record) const noexcept
{
    if (record >= recordCount_)
        return true;
    const char flag = table_[headerLength_ + std::size_t(record) * recordLength_];
    return flag != ' ' && flag != 'E';
}

std::string LegacyTable::ReadTrimString(std::uint32_t record, const LegacyField& field) const
{
    std::string_view text = RawField(record, field);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

std::uint64_t LegacyTable::MemoBlock(std::uint32_t record, const LegacyField& field) const
{
    const std::string_view raw = RawField(record, field);
    if (field.PointerForm() == MemoPointerForm::Binary)
        return raw.size() == 4 ? Little32(raw, 0) : 0;
    std::uint64_t block = 0;
    for (const char c : raw) {
        if (IsBlank(c))
            continue;  // the digits stand right-aligned among blanks
        if (c < '0' || c > '9')
            Broken(kTableName, "record " + std::to_string(record + 1) + " has a memo pointer that is no number");
        block = block * 10 + std::uint64_t(c - '0');
        if (block > 0xFFFFFFFFu)
            Broken(kTableName, "record " + std::to_string(record + 1) + " has a memo pointer too large for any memo file");
    }
    return block;
}

std::optional<MemoExtent> LegacyTable::MemoExtentOf(std::uint32_t record, const LegacyField& field) const
{
    const std::uint64_t block = MemoBlock(record, field);
    if (block == 0)
        return std::nullopt;
    if (field.type != 'M' || memoBlockSize_ == 0)
        Broken(kTableName, "field " + field.name + " is no memo field");
    const std::string where = "the memo of record " + std::to_string(record + 1);
    // Ten digits of blocks times a 16-bit block size stay far inside 64 bits.
    const std::uint64_t start = block * memoBlockSize_;
    if (start < kMemoHeaderSize)
        Broken(kMemoName, where + " points into the file's header");
    if (start + kMemoBlockHeader > memo_->size())
        Broken(kMemoName, where + " starts past the end of the file");
    const std::uint64_t length = Big32(*memo_, start + 4);
    if (length > memo_->size() - start - kMemoBlockHeader)
        Broken(kMemoName, where + " reaches past the end of the file");
    return MemoExtent{start, start + kMemoBlockHeader + length};
}

std::string LegacyTable::ReadMemo(std::uint32_t record, const LegacyField& field) const
{
    const std::optional<MemoExtent> extent = MemoExtentOf(record, field);
    if (!extent)
        return {};
    const std::string_view text =
        std::string_view(*memo_).substr(extent->begin + kMemoBlockHeader, extent->end - extent->begin - kMemoBlockHeader);
    return std::string(text.substr(0, text.find('\0')));
}

} // namespace quillory
