// The all-or-nothing re-keying of the entry files and its recovery after a crash.
#include "app/PasswordChange.h"

#include "app/Crypt.h"
#include "app/EntryFiles.h"
#include "app/EntryStore.h"
#include "app/EntryVersions.h"
#include "app/Settings.h"
#include "platform/AtomicWrite.h"
#include "platform/Error.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "platform/SyncedFile.h"

#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <unistd.h>

namespace quillory {

namespace {

namespace fs = std::filesystem;

constexpr const char* kJournalSection = "Rekeying";
constexpr const char* kStagingState = "Staging";
constexpr const char* kCommittedState = "Committed";

void Reach(const RekeyObserver& observer, RekeyPoint point)
{
    if (observer.checkpoint)
        observer.checkpoint(point);
}

// The passwords are kept in the journal scrambled as in QL.INI, and in hexadecimal so that no
// byte of them can be taken for part of the file's format.
std::string ToHex(std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (const unsigned char c : bytes) {
        hex += kDigits[c >> 4];
        hex += kDigits[c & 15];
    }
    return hex;
}

std::string FromHex(std::string_view hex)
{
    auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return 0;
    };
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(nibble(hex[i]) * 16 + nibble(hex[i + 1]));
    return bytes;
}

std::string StoredForm(const std::string& password)
{
    return password.empty() ? std::string() : EncryptString(password);
}

void WriteJournal(const RekeyJournal& journal)
{
    IniFile file(RekeyJournalFileName());
    WriteRekeyJournal(file, journal);
    file.UpdateFile();
}

std::optional<RekeyJournal> ReadJournal()
{
    const auto path = FindNoCase(RekeyJournalFileName());
    if (!path)
        return std::nullopt;
    return ReadRekeyJournal(IniFile(*path));
}

void RemoveJournal()
{
    std::string error;
    if (!RemoveFileNoCase(RekeyJournalFileName(), &error))
        throw Error(error);
}

// Makes renames and removals inside `folder` survive a power cut. Best effort: some file
// systems cannot sync a folder, and the files themselves are complete either way.
void SyncFolder(const fs::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

fs::path EntriesPath()
{
    const auto found = FindNoCase(EntriesFolder());
    return found ? *found : fs::path(EntriesFolder());
}

fs::path StagingPath()
{
    return fs::path(RekeyStagingFolder());
}

// The regular files matching *.QLE in `folder`, whatever their case.
std::vector<std::string> QleFiles(const fs::path& folder)
{
    std::vector<std::string> names;
    for (auto& name : ScanFolder(folder, "*.QLE")) {
        std::error_code ec;
        if (fs::is_regular_file(folder / name, ec))
            names.push_back(std::move(name));
    }
    return names;
}

// The entry files by name. Another version of a day (a sync tool's conflict copy, or one kept
// here) is no entry: it is re-keyed apart, with its day's key (StageVersion).
std::vector<std::string> EntryNames(const fs::path& folder)
{
    std::vector<std::string> names = QleFiles(folder);
    std::erase_if(names, [](const std::string& name) { return IsChangedElsewhereName(name) || IsVersionName(name); });
    return names;
}

// The other versions of days beside the entries, by name.
std::vector<std::string> VersionNames(const fs::path& folder)
{
    std::vector<std::string> names = QleFiles(folder);
    std::erase_if(names, [](const std::string& name) { return !IsVersionName(name); });
    return names;
}

std::string ReadWholeFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw Error(FormatMessage("Cannot open file %s", path.string()));
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad())
        throw Error(FormatMessage("Cannot open file %s", path.string()));
    return std::move(bytes).str();
}

// Changes QL.INI's security keys only, leaving every other setting as it stands. The key held
// for this run belongs to the old state and goes.
void StoreSecurity(const DiarySecurity& security)
{
    ForgetSessionKey();
    IniFile settings(SettingsFileName());
    if (ReadDiarySecurity(settings) == security)
        return;
    WriteDiarySecurity(settings, security);
    settings.UpdateFile();
}

void RemoveStaging()
{
    std::error_code ec;
    fs::remove_all(StagingPath(), ec);
    if (ec)
        throw Error(FormatMessage("Cannot remove folder %s", StagingPath().string()));
    SyncFolder(fs::path(DiaryFolder()));
}

// The day key an entry is sealed under: its file name without the extension.
std::string DayKeyOfName(const std::string& name)
{
    return fs::path(name).stem().string();
}

// What each staged file was made from: the entry file's stamp as it was read.
using StagedStamps = std::map<std::string, FileStamp>;

// Re-keys the bytes of the entry file `name` into the staging folder.
void StageEntry(const DiaryKey& oldKey, const DiaryKey& newKey, const std::string& name, std::string_view bytes)
{
    const fs::path entries = EntriesPath();
    const auto plain = DecodeEntry(oldKey, DayKeyOfName(name), bytes);
    if (!plain)
        throw DamagedEntry(FormatMessage(kDamagedEntry, (entries / name).string()));
    const std::string rekeyed = EncodeEntry(newKey, DayKeyOfName(name), *plain);
    const fs::path staged = StagingPath() / name;
    if (!WriteFileAtomically(staged, rekeyed))
        throw Error(FormatMessage("Cannot create file %s", staged.string()));
}

// Re-keys another version of a day with its day's key, so that it opens as that day's version
// and still opens when renamed to the day's own name. A version that does not open with the old
// key (sealed with another diary's key, damaged, or no entry at all) is not staged: it stays in
// Entries exactly as it is, and the change goes on. Returns whether it was staged.
bool StageVersion(const DiaryKey& oldKey, const DiaryKey& newKey, const std::string& name, std::string_view bytes)
{
    const auto parsed = ParseVersionName(name);
    if (!parsed)
        return false;
    const EntryVersion version{EntriesPath() / name, parsed->day, parsed->source, {}};
    const auto plain = OpenVersionBytes(oldKey, version, bytes);
    if (!plain)
        return false;
    const std::string rekeyed = EncodeEntry(newKey, DayKey(parsed->day), *plain);
    const fs::path staged = StagingPath() / name;
    if (!WriteFileAtomicallyExact(staged, rekeyed))
        throw Error(FormatMessage("Cannot create file %s", staged.string()));
    return true;
}

StagedStamps StageEntries(const DiaryKey& oldKey, const DiaryKey& newKey, const RekeyObserver& observer)
{
    const fs::path entries = EntriesPath();
    const fs::path staging = StagingPath();
    std::error_code ec;
    fs::create_directories(staging, ec);
    if (ec)
        throw Error(FormatMessage("Cannot create file %s", staging.string()));

    const auto names = EntryNames(entries);
    const auto versions = VersionNames(entries);
    const int total = static_cast<int>(names.size() + versions.size());
    if (observer.progress)
        observer.progress(0, total);
    int done = 0;
    StagedStamps stamps;
    for (const auto& name : names) {
        const std::string bytes = ReadWholeFile(entries / name);
        StageEntry(oldKey, newKey, name, bytes);
        stamps[name] = StampOf(entries / name, bytes);
        Reach(observer, RekeyPoint::FileStaged);
        if (observer.progress)
            observer.progress(++done, total);
    }
    for (const auto& name : versions) {
        const std::string bytes = ReadWholeFile(entries / name);
        if (StageVersion(oldKey, newKey, name, bytes))
            stamps[name] = StampOf(entries / name, bytes);
        if (observer.progress)
            observer.progress(++done, total);
    }
    return stamps;
}

// The check before the change is committed, for a diary that another computer may change
// meanwhile: an entry changed or written there since it was staged is staged again from its
// new bytes, and one deleted there leaves the staging folder, so that the swap puts nobody's
// text out of date. Like staging, a failure here undoes the whole change.
void RestageChangedEntries(const DiaryKey& oldKey, const DiaryKey& newKey, StagedStamps& stamps)
{
    const fs::path entries = EntriesPath();
    StagedStamps now;
    for (const auto& name : EntryNames(entries)) {
        std::string bytes;
        const FileStamp stamp = ReadFileStamp(entries / name, &bytes);
        if (!stamp.exists)
            continue;
        const auto staged = stamps.find(name);
        if (staged == stamps.end() || !StillTheSame(staged->second, stamp))
            StageEntry(oldKey, newKey, name, bytes);
        now[name] = stamp;
    }
    for (const auto& name : VersionNames(entries)) {
        std::string bytes;
        const FileStamp stamp = ReadFileStamp(entries / name, &bytes);
        if (!stamp.exists)
            continue;
        const auto staged = stamps.find(name);
        if (staged != stamps.end() && StillTheSame(staged->second, stamp))
            now[name] = stamp;
        else if (StageVersion(oldKey, newKey, name, bytes))
            now[name] = stamp;
    }
    for (const auto& [name, stamp] : stamps) {
        if (now.count(name) == 0 && !RemoveFileNoCase(StagingPath() / name))
            throw Error(FormatMessage("Cannot delete file %s", (StagingPath() / name).string()));
    }
    stamps = std::move(now);
}

// The stamps are kept in the staging folder too, for the swap that a start after a crash makes:
// one line "name<TAB>size<TAB>hash" per staged file, written whole before the change is committed.
fs::path StampsFile()
{
    return StagingPath() / "Stamps.lst";
}

void WriteStagedStamps(const StagedStamps& stamps)
{
    std::string text;
    for (const auto& [name, stamp] : stamps)
        text += name + '\t' + std::to_string(stamp.size) + '\t' + std::to_string(stamp.hash) + '\n';
    if (!WriteFileAtomically(StampsFile(), text))
        throw Error(FormatMessage("Cannot create file %s", StampsFile().string()));
}

// The stamps of a staging folder; none (no check) for one staged without them or damaged.
std::optional<StagedStamps> ReadStagedStamps()
{
    std::ifstream in(StampsFile(), std::ios::binary);
    if (!in)
        return std::nullopt;
    StagedStamps stamps;
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t first = line.find('\t');
        const std::size_t second = line.find('\t', first == std::string::npos ? first : first + 1);
        if (second == std::string::npos)
            return std::nullopt;
        FileStamp stamp;
        stamp.exists = true;
        try {
            stamp.size = std::stoull(line.substr(first + 1, second - first - 1));
            stamp.hash = std::stoull(line.substr(second + 1));
        } catch (const std::exception&) {
            return std::nullopt;
        }
        stamps[line.substr(0, first)] = stamp;
    }
    return stamps;
}

// The last look before a staged file replaces its entry: a file changed elsewhere in the moment
// since the check is kept beside the entry, as it stands, and reported.
void KeepChangedSinceStaging(const std::string& name, const StagedStamps& stamps, std::vector<KeptVersion>& kept)
{
    const auto staged = stamps.find(name);
    if (staged == stamps.end())
        return;
    const fs::path entry = EntriesPath() / name;
    std::string bytes;
    const FileStamp now = ReadFileStamp(entry, &bytes);
    if (now.exists && !StillTheSame(staged->second, now))
        kept.push_back({FindNoCase(entry).value_or(entry).string(),
                        KeepOtherVersion(FindNoCase(entry).value_or(entry), bytes, now.modified).string()});
}

// Moves every staged file over its entry file. Each rename replaces one file at once, and a
// file once moved is no longer staged, so this can be repeated after a crash.
void SwapStagedFiles(const RekeyObserver& observer, const StagedStamps* stamps, std::vector<KeptVersion>* kept)
{
    const fs::path entries = EntriesPath();
    const fs::path staging = StagingPath();
    const auto names = QleFiles(staging);
    std::error_code ec;
    // Only when there is something to move: a missing Entries folder means something to the
    // main window's start (a legacy diary is converted only while there is none).
    if (!names.empty())
        fs::create_directories(entries, ec);
    for (const auto& name : names) {
        if (stamps && kept)
            KeepChangedSinceStaging(name, *stamps, *kept);
        fs::rename(staging / name, entries / name, ec);
        if (ec)
            throw Error(FormatMessage("Cannot create file %s", (entries / name).string()));
        Reach(observer, RekeyPoint::FileSwapped);
    }
    SyncFolder(entries);
}

void RollBack(const RekeyJournal& journal, const RekeyObserver& observer)
{
    StoreSecurity(journal.before);
    Reach(observer, RekeyPoint::SettingsWritten);
    RemoveStaging();
    Reach(observer, RekeyPoint::StagingRemoved);
    RemoveJournal();
    Reach(observer, RekeyPoint::Finished);
}

void RollForward(const RekeyJournal& journal, const RekeyObserver& observer, const StagedStamps* stamps = nullptr,
                 std::vector<KeptVersion>* kept = nullptr)
{
    StoreSecurity(journal.after);
    Reach(observer, RekeyPoint::SettingsWritten);
    std::optional<StagedStamps> stored;
    if (!stamps && kept) {
        stored = ReadStagedStamps();
        stamps = stored ? &*stored : nullptr;
    }
    SwapStagedFiles(observer, stamps, kept);
    RemoveStaging();
    Reach(observer, RekeyPoint::StagingRemoved);
    RemoveJournal();
    Reach(observer, RekeyPoint::Finished);
}

} // namespace

RekeyJournal ReadRekeyJournal(const IniFile& file)
{
    auto security = [&](const char* key) {
        const std::string stored = FromHex(file.ReadString(kJournalSection, key, ""));
        DiarySecurity record = LegacySecurity(stored.empty() ? std::string() : Decryptstring(stored));
        ReadStrongKeys(file, kJournalSection, key, record);
        return record;
    };
    return {file.ReadString(kJournalSection, "State", ""), security("Old"), security("New")};
}

void WriteRekeyJournal(IniFile& file, const RekeyJournal& journal)
{
    file.WriteString(kJournalSection, "State", journal.state);
    auto write = [&](const char* key, const DiarySecurity& record) {
        const bool isLegacy = record.scheme == Scheme::Legacy;
        file.WriteString(kJournalSection, key, ToHex(StoredForm(isLegacy ? record.legacyPassword : std::string())));
        WriteStrongKeys(file, kJournalSection, key, record);
    };
    write("Old", journal.before);
    write("New", journal.after);
}

std::string RekeyJournalFileName()
{
    return DiaryFolder() + "Rekeying.ini";
}

std::string RekeyStagingFolder()
{
    return DiaryFolder() + "Entries.rekey/";
}

int CountEntryFiles()
{
    return static_cast<int>(EntryNames(EntriesPath()).size() + VersionNames(EntriesPath()).size());
}

std::vector<KeptVersion> ProcessPassword(const std::string& oldPassword, const std::string& newPassword,
                                         const RekeyObserver& observer, const RekeyTarget& target)
{
    // A journal left by an earlier run must be settled first, or its staged files would mix
    // with this run's.
    std::vector<KeptVersion> kept;
    RecoverPasswordChange({}, &kept);

    const DiarySecurity before = LoadDiarySecurity();
    const bool toStrong = !newPassword.empty() && target.scheme == PasswordScheme::Strong;
    if (oldPassword == newPassword && (before.scheme == Scheme::Strong) == toStrong)
        return kept;

    // The old key: a strong diary's must open its check value; the stored format's cipher
    // takes the password as given, as it always has.
    DiaryKey oldKey = before.scheme == Scheme::Strong ? SessionKey(oldPassword)
                                                      : *UnlockDiary(LegacySecurity(oldPassword), oldPassword);
    DiarySecurity after;
    DiaryKey newKey;
    if (toStrong) {
        NewStrongDiary made = MakeStrongDiary(newPassword, target.limits);
        after = std::move(made.security);
        newKey = std::move(made.key);
    } else {
        after = LegacySecurity(newPassword);
        newKey = *UnlockDiary(after, newPassword);
    }

    RekeyJournal journal{kStagingState, before, after};
    WriteJournal(journal);
    StagedStamps stamps;
    try {
        Reach(observer, RekeyPoint::JournalWritten);
        RemoveStaging();
        stamps = StageEntries(oldKey, newKey, observer);
        RestageChangedEntries(oldKey, newKey, stamps);
        WriteStagedStamps(stamps);
        StoreSecurity(after);
        Reach(observer, RekeyPoint::SettingsWritten);
        journal.state = kCommittedState;
        WriteJournal(journal);
        Reach(observer, RekeyPoint::Committed);
    } catch (const Error&) {
        try {
            RollBack(journal, {});
        } catch (const Error&) {
            // The journal stays; the next start finishes the undo.
        }
        throw;
    }
    // From here on the change has happened; what is left is moving files, which a restart
    // can redo. One more try, then the caller learns that the diary must restart.
    try {
        RollForward(journal, observer, &stamps, &kept);
    } catch (const Error&) {
        try {
            RollForward(journal, observer, &stamps, &kept);
        } catch (const Error& error) {
            throw RekeyIncomplete(error.what());
        }
    }
    RememberSessionKey(newPassword, newKey);
    return kept;
}

std::string KeptVersionsNotice(const std::vector<KeptVersion>& kept)
{
    if (kept.empty())
        return {};
    if (kept.size() == 1) {
        return "The entry " + fs::path(kept.front().entry).filename().string()
            + " was changed on another computer during the password change. The other version is kept beside it as \""
            + fs::path(kept.front().keptAs).filename().string() + "\".";
    }
    return std::to_string(kept.size()) + " entries were changed on another computer during the password change. "
        + "The other versions are kept beside them, each named \"(changed elsewhere ...)\".";
}

bool RecoverPasswordChange(const RekeyObserver& observer, std::vector<KeptVersion>* kept)
{
    const auto journal = ReadJournal();
    if (!journal)
        return false;
    std::vector<KeptVersion> ignored;
    if (journal->Committed())
        RollForward(*journal, observer, nullptr, kept ? kept : &ignored);
    else
        RollBack(*journal, observer);
    return true;
}

} // namespace quillory
