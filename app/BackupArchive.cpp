// Checking and reading a diary backup archive through libzip.
#include "app/BackupArchive.h"

#include "app/EntryStore.h"
#include "platform/Error.h"
#include "platform/Files.h"

#include <zip.h>

#include <algorithm>
#include <array>
#include <set>

namespace quillory {

namespace {

constexpr std::string_view kEntriesFolder = "Entries/";

// Unix file types in the high half of a member's external attributes.
constexpr std::uint32_t kTypeMask = 0170000;
constexpr std::uint32_t kRegularFile = 0100000;
constexpr std::uint32_t kDirectory = 0040000;
constexpr std::uint32_t kSymbolicLink = 0120000;

// A name as it may be shown in a message: printable ASCII, anything else as '?', and cut short.
std::string Printable(std::string_view name)
{
    std::string shown;
    for (const char c : name.substr(0, 80))
        shown += (c >= 0x20 && c < 0x7F) ? c : '?';
    if (name.size() > 80)
        shown += "...";
    return shown;
}

std::string Quoted(std::string_view name)
{
    return "\"" + Printable(name) + "\"";
}

std::string ZipErrorText(int code)
{
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

struct FileCloser {
    void operator()(zip_file_t* file) const noexcept { zip_fclose(file); }
};

} // namespace

std::string EntryMemberName(Day day)
{
    return std::string(kEntriesFolder) + DayKey(day) + ".QLE";
}

std::optional<MemberName> ClassifyMemberName(std::string_view name)
{
    if (SameNameNoCase(name, kSettingsMemberName))
        return MemberName{MemberKind::Settings, std::nullopt};
    if (name.size() < kEntriesFolder.size() || !SameNameNoCase(name.substr(0, kEntriesFolder.size()), kEntriesFolder))
        return std::nullopt;
    const std::string_view file = name.substr(kEntriesFolder.size());
    if (file.empty())
        return MemberName{MemberKind::EntriesFolder, std::nullopt};
    // DayOfEntryName takes exactly "yyyymmdd.QLE": no separators, so nothing but one file in
    // the one folder can get through.
    if (const auto day = DayOfEntryName(file))
        return MemberName{MemberKind::Entry, day};
    return std::nullopt;
}

std::string BackupMember::CanonicalName() const
{
    return kind == MemberKind::Settings ? std::string(kSettingsMemberName) : EntryMemberName(*day);
}

void BackupArchive::Closer::operator()(zip* archive) const noexcept
{
    zip_discard(archive);
}

BackupArchive::BackupArchive(std::unique_ptr<zip, Closer> archive, std::string label)
    : archive_(std::move(archive)), label_(std::move(label))
{
}

BackupArchive::~BackupArchive() = default;
BackupArchive::BackupArchive(BackupArchive&&) noexcept = default;
BackupArchive& BackupArchive::operator=(BackupArchive&&) noexcept = default;

void BackupArchive::Refuse(const std::string& why) const
{
    throw Error(label_ + " is not a usable diary backup: " + why);
}

BackupArchive BackupArchive::OpenFile(const std::filesystem::path& file, std::string label)
{
    return Open(file, label.empty() ? file.string() : std::move(label), ZIP_RDONLY | ZIP_CHECKCONS);
}

BackupArchive BackupArchive::OpenFileForListing(const std::filesystem::path& file)
{
    return Open(file, file.string(), ZIP_RDONLY);
}

BackupArchive BackupArchive::Open(const std::filesystem::path& file, std::string label, int flags)
{
    int code = 0;
    zip* archive = zip_open(file.c_str(), flags, &code);
    if (!archive) {
        const std::string why = code == ZIP_ER_NOENT || code == ZIP_ER_OPEN ? "it cannot be opened"
                                                                            : "it is not a sound zip archive";
        throw Error(label + " is not a usable diary backup: " + why + " (" + ZipErrorText(code) + ")");
    }
    return BackupArchive(std::unique_ptr<zip, Closer>(archive), std::move(label));
}

BackupArchive BackupArchive::OpenBytes(std::string_view bytes, std::string label)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    zip* archive = source ? zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error) : nullptr;
    if (!archive) {
        const std::string why = zip_error_strerror(&error);
        zip_error_fini(&error);
        if (source)
            zip_source_free(source);
        throw Error(label + " is not a usable diary backup: it is not a sound zip archive (" + why + ")");
    }
    zip_error_fini(&error);
    return BackupArchive(std::unique_ptr<zip, Closer>(archive), std::move(label));
}

std::vector<BackupMember> BackupArchive::Catalogue(const ArchiveLimits& limits) const
{
    const zip_int64_t count = zip_get_num_entries(archive_.get(), 0);
    if (count < 0)
        Refuse("its list of files cannot be read");
    if (std::uint64_t(count) > limits.maxMembers)
        Refuse("it holds more files (" + std::to_string(count) + ") than a diary backup can");

    std::vector<BackupMember> members;
    std::set<std::string> seen;
    std::uint64_t total = 0;
    for (zip_uint64_t index = 0; index < zip_uint64_t(count); ++index) {
        const char* rawName = zip_get_name(archive_.get(), index, ZIP_FL_ENC_RAW);
        if (!rawName)
            Refuse("the name of file " + std::to_string(index + 1) + " cannot be read");
        const std::string name = rawName;
        const auto kind = ClassifyMemberName(name);
        if (!kind)
            Refuse("it holds " + Quoted(name) + ", which is neither a diary entry nor QL.INI");

        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive_.get(), index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
            Refuse(Quoted(name) + " is damaged");
        zip_uint8_t system = 0;
        zip_uint32_t attributes = 0;
        if (zip_file_get_external_attributes(archive_.get(), index, 0, &system, &attributes) != 0)
            Refuse(Quoted(name) + " is damaged");
        const std::uint32_t type = system == ZIP_OPSYS_UNIX ? (attributes >> 16) & kTypeMask : 0;
        if (type == kSymbolicLink)
            Refuse(Quoted(name) + " is a link");

        if (kind->kind == MemberKind::EntriesFolder) {
            if (stat.size != 0 || (type != 0 && type != kDirectory))
                Refuse(Quoted(name) + " is not a folder");
            continue;
        }
        if (type != 0 && type != kRegularFile)
            Refuse(Quoted(name) + " is not a plain file");
        if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
            Refuse(Quoted(name) + " is locked with a password of the archive");
        if (!(stat.valid & ZIP_STAT_COMP_METHOD)
            || (stat.comp_method != ZIP_CM_STORE && stat.comp_method != ZIP_CM_DEFLATE))
            Refuse(Quoted(name) + " is packed in a way Quillory does not read");
        const std::uint64_t limit = kind->kind == MemberKind::Settings ? limits.maxSettingsSize : limits.maxEntrySize;
        if (stat.size > limit)
            Refuse(Quoted(name) + " is larger (" + std::to_string(stat.size) + " bytes) than a diary file can be");
        total += stat.size;
        if (total > limits.maxTotalSize)
            Refuse("it unpacks to more than " + std::to_string(limits.maxTotalSize >> 20) + " MB");

        BackupMember member{index, name, kind->kind, kind->day, stat.size};
        if (!seen.insert(member.CanonicalName()).second)
            Refuse(Quoted(member.CanonicalName()) + " is in it twice");
        members.push_back(std::move(member));
    }
    if (members.empty())
        Refuse("it holds no entries and no QL.INI");
    return members;
}

void BackupArchive::ReadMember(const BackupMember& member, const std::function<void(std::string_view)>& sink) const
{
    std::unique_ptr<zip_file_t, FileCloser> file(zip_fopen_index(archive_.get(), member.index, 0));
    if (!file)
        Refuse(Quoted(member.name) + " cannot be read (" + zip_strerror(archive_.get()) + ")");
    std::array<char, 64 * 1024> block;
    std::uint64_t read = 0;
    for (;;) {
        // Asking for one byte past the stated size finds a member that would give more, and a
        // read that reaches the end lets libzip compare the checksum.
        const std::uint64_t wanted = std::min<std::uint64_t>(block.size(), member.size + 1 - read);
        const zip_int64_t got = zip_fread(file.get(), block.data(), wanted);
        if (got < 0)
            Refuse(Quoted(member.name) + " is damaged (" + zip_file_strerror(file.get()) + ")");
        if (got == 0)
            break;
        read += std::uint64_t(got);
        if (read > member.size)
            Refuse(Quoted(member.name) + " unpacks to more than its stated size");
        sink(std::string_view(block.data(), std::size_t(got)));
    }
    if (read != member.size)
        Refuse(Quoted(member.name) + " is shorter than its stated size");
}

std::string BackupArchive::ReadMember(const BackupMember& member) const
{
    std::string bytes;
    bytes.reserve(std::size_t(member.size));
    ReadMember(member, [&bytes](std::string_view piece) { bytes.append(piece); });
    return bytes;
}

std::string BackupArchive::Comment() const
{
    int length = 0;
    const char* comment = zip_get_archive_comment(archive_.get(), &length, ZIP_FL_ENC_RAW);
    return comment && length > 0 ? std::string(comment, std::size_t(length)) : std::string();
}

std::vector<BackupMember> CheckBackupArchive(const BackupArchive& archive, const ArchiveLimits& limits)
{
    auto members = archive.Catalogue(limits);
    for (const auto& member : members)
        archive.ReadMember(member, [](std::string_view) {});
    return members;
}

} // namespace quillory
