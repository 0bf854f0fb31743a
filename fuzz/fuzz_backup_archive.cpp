// Fuzz target: the check that a restore makes of a diary backup archive either refuses it with a
// message or accepts only entry files and QL.INI of sound names, kinds and sizes, within the
// limits of count and total, and never crashes, hangs or reads out of bounds.
//
// The zip library is not instrumented, so bytes fed to it whole seldom get past its own reading
// and the fuzzer learns nothing of our checks. So only bytes that begin with "PK" are taken as
// an archive as they are; any other bytes describe members one after another (name, kind of
// file, packing, sizes, content), and a well-formed zip of them is written here. Such archives
// always reach our checks, and the verdict is compared with what the description holds: an
// accepted archive must hold nothing the rules forbid, and a description that breaks no rule
// must be accepted whole.
#include "app/BackupArchive.h"
#include "platform/Error.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace quillory;

// Small limits keep each run quick and put every limit in reach; the checks are the same at
// any size.
ArchiveLimits Limits()
{
    ArchiveLimits limits;
    limits.maxMembers = 12;
    limits.maxEntrySize = 2048;
    limits.maxSettingsSize = 512;
    limits.maxTotalSize = 8192;
    return limits;
}

// The Unix file types a member may claim in its external attributes.
enum class FileType { None, Regular, Directory, Link, Fifo };

constexpr std::uint16_t kStored = 0;
constexpr std::uint16_t kDeflated = 8;

struct DescribedMember {
    std::string name;
    std::optional<MemberName> meant;  // what the name was made to be; nothing for raw bytes
    FileType type = FileType::None;
    std::uint16_t method = kStored;
    bool encrypted = false;
    bool wrongChecksum = false;
    std::string content;         // unpacked
    std::uint32_t statedSize = 0;  // as the headers give it
};

// The description, read a byte at a time; past its end every byte reads as 0.
class Description {
public:
    explicit Description(std::string_view bytes) : bytes_(bytes) {}
    bool AtEnd() const noexcept { return at_ >= bytes_.size(); }
    unsigned Byte() noexcept { return at_ < bytes_.size() ? std::uint8_t(bytes_[at_++]) : 0u; }

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

std::string Lower(std::string text)
{
    for (char& c : text)
        c = c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
    return text;
}

DescribedMember ReadMember(Description& in)
{
    DescribedMember member;
    const unsigned form = in.Byte();
    const bool lowerCase = form & 4;
    const std::string folder = lowerCase ? "entries/" : "Entries/";
    switch (form & 3) {
    case 0: {
        const Day day = *Day::FromDate(2000, 1, 1) + int(in.Byte() | in.Byte() << 8);
        member.name = folder + EntryMemberName(day).substr(8);
        if (form & 8)
            member.name = Lower(member.name);
        member.meant = MemberName{MemberKind::Entry, day};
        break;
    }
    case 1:
        member.name = lowerCase ? "ql.ini" : "QL.INI";
        member.meant = MemberName{MemberKind::Settings, std::nullopt};
        break;
    case 2:
        member.name = folder;
        member.meant = MemberName{MemberKind::EntriesFolder, std::nullopt};
        break;
    default:
        for (unsigned length = in.Byte() % 40; length > 0; --length)
            member.name += char(in.Byte());
        break;
    }

    const unsigned flags = in.Byte();
    constexpr FileType kTypes[8] = {FileType::None, FileType::Regular, FileType::Directory, FileType::Link,
                                    FileType::Fifo, FileType::Regular, FileType::None,    FileType::Regular};
    member.type = kTypes[flags & 7];
    constexpr std::uint16_t kMethods[4] = {kStored, kDeflated, kStored, 12};
    member.method = kMethods[(flags >> 3) & 3];
    member.encrypted = flags & 0x20;
    member.wrongChecksum = flags & 0x40;

    // Up to 2,295 bytes: around the limits of an entry and of QL.INI.
    std::size_t length = in.Byte() * 9;
    if (member.meant && member.meant->kind == MemberKind::EntriesFolder)
        length = 0;
    const unsigned fill = in.Byte();
    for (std::size_t i = 0; i < length; ++i)
        member.content += char((fill + i * 7) & 0xFF);
    member.statedSize = std::uint32_t(length);
    if (flags & 0x80)
        member.statedSize += std::uint32_t(std::int8_t(in.Byte()) | 1);  // never 0: a wrong size
    return member;
}

std::uint32_t Crc32(std::string_view bytes)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char c : bytes)
        crc = table[(crc ^ std::uint8_t(c)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

// The content as a deflate stream of stored blocks, which any inflater reads.
std::string StoredDeflate(std::string_view content)
{
    std::string out;
    std::size_t at = 0;
    do {
        const std::size_t piece = std::min<std::size_t>(content.size() - at, 0xFFFF);
        const bool last = at + piece == content.size();
        out += char(last ? 1 : 0);
        out += char(piece & 0xFF);
        out += char(piece >> 8);
        out += char(~piece & 0xFF);
        out += char((~piece >> 8) & 0xFF);
        out.append(content.substr(at, piece));
        at += piece;
    } while (at < content.size());
    return out;
}

class ZipWriter {
public:
    void Add(const DescribedMember& member)
    {
        const std::string packed = member.method == kDeflated ? StoredDeflate(member.content) : member.content;
        const std::uint32_t crc = Crc32(member.content) ^ (member.wrongChecksum ? 1u : 0u);
        const std::uint16_t flags = member.encrypted ? 1 : 0;
        const std::uint32_t offset = std::uint32_t(zip_.size());

        U32(zip_, 0x04034B50);
        U16(zip_, 20);
        U16(zip_, flags);
        U16(zip_, member.method);
        U16(zip_, 0);     // time
        U16(zip_, 0x21);  // 1 January 1980
        U32(zip_, crc);
        U32(zip_, std::uint32_t(packed.size()));
        U32(zip_, member.statedSize);
        U16(zip_, std::uint16_t(member.name.size()));
        U16(zip_, 0);
        zip_ += member.name;
        zip_ += packed;

        std::uint32_t mode = 0;
        switch (member.type) {
        case FileType::None: break;
        case FileType::Regular: mode = 0100644; break;
        case FileType::Directory: mode = 0040755; break;
        case FileType::Link: mode = 0120777; break;
        case FileType::Fifo: mode = 0010644; break;
        }
        U32(central_, 0x02014B50);
        U16(central_, member.type == FileType::None ? 20 : (3 << 8) | 20);  // made on Unix
        U16(central_, 20);
        U16(central_, flags);
        U16(central_, member.method);
        U16(central_, 0);
        U16(central_, 0x21);
        U32(central_, crc);
        U32(central_, std::uint32_t(packed.size()));
        U32(central_, member.statedSize);
        U16(central_, std::uint16_t(member.name.size()));
        U16(central_, 0);  // extra field
        U16(central_, 0);  // comment
        U16(central_, 0);  // disk
        U16(central_, 0);  // internal attributes
        U32(central_, mode << 16);
        U32(central_, offset);
        central_ += member.name;
        ++count_;
    }

    std::string Finish() const
    {
        std::string out = zip_ + central_;
        U32(out, 0x06054B50);
        U16(out, 0);
        U16(out, 0);
        U16(out, std::uint16_t(count_));
        U16(out, std::uint16_t(count_));
        U32(out, std::uint32_t(central_.size()));
        U32(out, std::uint32_t(zip_.size()));
        U16(out, 0);
        return out;
    }

private:
    static void U16(std::string& out, unsigned v)
    {
        out += char(v & 0xFF);
        out += char((v >> 8) & 0xFF);
    }
    static void U32(std::string& out, std::uint32_t v)
    {
        U16(out, v & 0xFFFF);
        U16(out, v >> 16);
    }

    std::string zip_;
    std::string central_;
    unsigned count_ = 0;
};

// What any accepted archive must hold, whatever it came from.
void CheckAccepted(const std::vector<BackupMember>& members, const ArchiveLimits& limits)
{
    std::uint64_t total = 0;
    std::set<std::string> names;
    for (const BackupMember& member : members) {
        const auto kind = ClassifyMemberName(member.name);
        if (!kind || kind->kind != member.kind || kind->day != member.day || member.kind == MemberKind::EntriesFolder)
            std::abort();
        const std::uint64_t limit = member.kind == MemberKind::Settings ? limits.maxSettingsSize : limits.maxEntrySize;
        if (member.size > limit || !names.insert(member.CanonicalName()).second)
            std::abort();
        total += member.size;
    }
    if (members.empty() || members.size() > limits.maxMembers || total > limits.maxTotalSize)
        std::abort();
}

// Whether the described archive breaks none of the rules of a backup, by the description alone.
// Names written as raw bytes are not judged: nothing is required of their archives.
bool BreaksNoRule(const std::vector<DescribedMember>& described, const ArchiveLimits& limits)
{
    if (described.size() > limits.maxMembers)
        return false;
    std::uint64_t total = 0;
    std::set<std::string> names, canonical;
    bool holdsFiles = false;
    for (const DescribedMember& member : described) {
        // The zip library itself refuses an archive that names a member twice.
        if (!names.insert(member.name).second)
            return false;
        if (!member.meant || member.encrypted || member.wrongChecksum || member.statedSize != member.content.size()
            || (member.method != kStored && member.method != kDeflated))
            return false;
        if (member.meant->kind == MemberKind::EntriesFolder) {
            if (member.type != FileType::None && member.type != FileType::Directory)
                return false;
            continue;
        }
        if (member.type != FileType::None && member.type != FileType::Regular)
            return false;
        const bool settings = member.meant->kind == MemberKind::Settings;
        if (member.content.size() > (settings ? limits.maxSettingsSize : limits.maxEntrySize))
            return false;
        total += member.content.size();
        const std::string name = settings ? std::string(kSettingsMemberName) : EntryMemberName(*member.meant->day);
        if (total > limits.maxTotalSize || !canonical.insert(name).second)
            return false;
        holdsFiles = true;
    }
    return holdsFiles;
}

void CheckDescribed(std::string_view bytes, const ArchiveLimits& limits)
{
    Description in(bytes);
    std::vector<DescribedMember> described;
    while (!in.AtEnd() && described.size() < limits.maxMembers + 2)
        described.push_back(ReadMember(in));
    ZipWriter writer;
    for (const DescribedMember& member : described)
        writer.Add(member);
    const std::string zip = writer.Finish();
    const bool sound = BreaksNoRule(described, limits);

    std::vector<BackupMember> members;
    try {
        members = CheckBackupArchive(BackupArchive::OpenBytes(zip, "fuzz.zip"), limits);
    } catch (const Error&) {
        if (sound)
            std::abort();  // a sound backup refused
        return;
    }
    CheckAccepted(members, limits);
    std::size_t files = 0;
    for (const BackupMember& member : members) {
        if (member.index >= described.size())
            std::abort();
        const DescribedMember& source = described[member.index];
        // The size was read back to the end, so it is the content's; the kinds of file and
        // packing that the rules refuse must not have come through, nor a checksum that does
        // not match (an empty member has no bytes to check it against).
        if (member.size != source.content.size() || source.encrypted
            || (source.wrongChecksum && !source.content.empty())
            || (source.type != FileType::None && source.type != FileType::Regular)
            || (source.method != kStored && source.method != kDeflated))
            std::abort();
        if (source.name.find('\0') == std::string::npos && member.name != source.name)
            std::abort();
        ++files;
    }
    if (sound) {
        std::size_t describedFiles = 0;
        for (const DescribedMember& member : described)
            describedFiles += member.meant->kind != MemberKind::EntriesFolder ? 1 : 0;
        if (files != describedFiles)
            std::abort();  // a sound backup taken in part
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ArchiveLimits limits = Limits();
    if (bytes.starts_with("PK")) {
        try {
            const BackupArchive archive = BackupArchive::OpenBytes(bytes, "fuzz.zip");
            (void)archive.Comment();  // where an automatic backup's mark is read
            CheckAccepted(CheckBackupArchive(archive, limits), limits);
        } catch (const Error&) {
            // Refused: what a restore reports to the user.
        }
        return 0;
    }
    CheckDescribed(bytes, limits);
    return 0;
}
