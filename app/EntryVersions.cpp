// Other versions of a day: recognised by name, opened with the day's key, settled on request.
#include "app/EntryVersions.h"

#include "app/DateTexts.h"
#include "app/EntryFiles.h"
#include "app/EntryStore.h"
#include "platform/AtomicWrite.h"
#include "platform/Error.h"
#include "platform/Files.h"
#include "platform/ProgramFolder.h"
#include "platform/SyncedFile.h"
#include "richtext/io/DocumentFormat.h"
#include "richtext/rtf/RtfWriter.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <regex>

namespace quillory {

namespace {

namespace fs = std::filesystem;

// The forms of the sync tools' conflict copies and of this program's own, as data: the first
// group is the day's eight digits, and the whole name must match (letter case aside).
struct VersionForm {
    VersionSource source;
    const char* pattern;
};
constexpr VersionForm kVersionForms[] = {
    // The device's short id (seven letters or digits) follows the time; early releases had none.
    {VersionSource::SyncConflict, R"((\d{8})\.sync-conflict-\d{8}-\d{6}(-[a-z0-9]{7})?\.qle)"},
    // "(conflicted copy 2026-12-11)", "(Alice's conflicted copy 2026-12-11)", "(Alice's Laptop's
    // conflicted copy 2026-12-11 (1))", "(conflicted copy 2026-12-11 031500)": a name or time
    // around the words, a number in brackets at its end.
    {VersionSource::ConflictedCopy, R"((\d{8}) \(([^()]*'s )?conflicted copy( [^()]*)?( \(\d+\))?\)( \(\d+\))?\.qle)"},
    {VersionSource::ConflictedCopy, R"((\d{8})_conflict-\d{8}-\d{6}\.qle)"},
    {VersionSource::CaseConflict, R"((\d{8}) \(case conflict( \d+)?\)\.qle)"},
    // Kept beside a file that was itself a version ("20240101.sync-conflict-... (changed
    // elsewhere ...).QLE"): still a version of that day.
    {VersionSource::ChangedElsewhere, R"((\d{8})([ ._][^/]*)? \(changed elsewhere \d{4}-\d{2}-\d{2} \d{4}(, \d+)?\)\.qle)"},
    {VersionSource::ReplacedHere, R"((\d{8})([ ._][^/]*)? \(replaced here \d{4}-\d{2}-\d{2} \d{4}(, \d+)?\)\.qle)"},
};

const std::vector<std::regex>& CompiledForms()
{
    static const std::vector<std::regex> compiled = [] {
        std::vector<std::regex> forms;
        for (const VersionForm& form : kVersionForms)
            forms.emplace_back(form.pattern, std::regex::ECMAScript | std::regex::icase | std::regex::optimize);
        return forms;
    }();
    return compiled;
}

std::optional<std::string> ReadWhole(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes;
    char block[16384];
    while (in.read(block, sizeof block) || in.gcount() > 0)
        bytes.append(block, std::size_t(in.gcount()));
    if (in.bad())
        return std::nullopt;
    return bytes;
}

std::string_view AfterBlanks(std::string_view bytes)
{
    const std::size_t first = bytes.find_first_not_of(" \t\r\n\b");
    return first == std::string_view::npos ? std::string_view() : bytes.substr(first);
}

bool LooksLikeRtf(std::string_view bytes)
{
    return AfterBlanks(bytes).substr(0, 5) == "{\\rtf";
}

// Text an unprotected diary could hold: no control characters but line ends and tabs.
bool LooksLikeText(std::string_view bytes)
{
    return std::none_of(bytes.begin(), bytes.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 && c != '\n' && c != '\r' && c != '\t' && c != '\f';
    });
}

std::string NameWithNumber(const std::string& name, int attempt)
{
    if (attempt < 2)
        return name;
    const fs::path path(name);
    return path.stem().string() + " (" + std::to_string(attempt) + ")" + path.extension().string();
}

} // namespace

std::optional<VersionName> ParseVersionName(std::string_view fileName)
{
    // An entry's own name ("yyyymmdd.QLE") is the common case, and no version: the listing of a
    // diary of many years passes by thousands of them at every change of day.
    constexpr std::size_t kEntryNameLength = 12;
    if (fileName.size() <= kEntryNameLength
        || !std::all_of(fileName.begin(), fileName.begin() + 8, [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const auto& forms = CompiledForms();
    std::match_results<std::string_view::const_iterator> match;
    for (std::size_t i = 0; i < forms.size(); ++i) {
        if (!std::regex_match(fileName.begin(), fileName.end(), match, forms[i]))
            continue;
        // Eight digits are a day only when they form one: 20241301 is no day of anybody's.
        const auto day = DayOfEntryName(match[1].str() + ".QLE");
        if (!day)
            return std::nullopt;
        return VersionName{*day, kVersionForms[i].source};
    }
    return std::nullopt;
}

std::string ReplacedHereName(std::string_view entryName, const LocalTime& when, int attempt)
{
    // Built as the changed-elsewhere name is, with its own words.
    std::string name = ChangedElsewhereName(entryName, when, attempt);
    const std::string from = " (changed elsewhere ";
    if (const std::size_t at = name.find(from); at != std::string::npos)
        name.replace(at, from.size(), " (replaced here ");
    return name;
}

std::vector<EntryVersion> ListVersions(std::optional<Day> day)
{
    std::vector<EntryVersion> versions;
    const fs::path folder = FindNoCase(EntriesFolder()).value_or(fs::path(EntriesFolder()));
    for (const std::string& name : ScanFolder(folder, "*.QLE")) {
        const auto parsed = ParseVersionName(name);
        if (!parsed || (day && parsed->day != *day))
            continue;
        std::error_code ec;
        const fs::path file = folder / name;
        if (!fs::is_regular_file(file, ec))
            continue;
        EntryVersion version{file, parsed->day, parsed->source, fs::last_write_time(file, ec)};
        versions.push_back(std::move(version));
    }
    std::sort(versions.begin(), versions.end(), [](const EntryVersion& a, const EntryVersion& b) {
        if (a.day != b.day)
            return a.day < b.day;
        if (a.modified != b.modified)
            return a.modified < b.modified;
        return a.Name() < b.Name();
    });
    return versions;
}

std::optional<EntryVersion> FindVersion(Day day, std::string_view fileName)
{
    const std::string name = fs::path(std::string(fileName)).filename().string();
    for (EntryVersion& version : ListVersions(day)) {
        if (SameNameNoCase(version.Name(), name))
            return std::move(version);
    }
    return std::nullopt;
}

std::optional<std::string> OpenVersionBytes(const DiaryKey& key, const EntryVersion& version, std::string_view stored)
{
    switch (key.scheme) {
    case Scheme::Strong:
        if (auto plain = DecodeEntry(key, DayKey(version.day), stored))
            return plain;
        return DecodeEntry(key, version.file.stem().string(), stored);
    case Scheme::Legacy: {
        // The stored format's cipher deciphers anything into something: only an entry's RTF
        // shows that the password was the right one.
        if (strong::LooksSealed(stored))
            return std::nullopt;
        if (auto plain = DecodeEntry(key, DayKey(version.day), stored); plain && LooksLikeRtf(*plain))
            return plain;
        if (LooksLikeRtf(stored))
            return std::string(stored);
        return std::nullopt;
    }
    case Scheme::None:
        if (strong::LooksSealed(stored) || !(LooksLikeRtf(stored) || LooksLikeText(stored)))
            return std::nullopt;
        return std::string(stored);
    }
    return std::nullopt;
}

std::string ReadVersion(const EntryVersion& version, std::string_view password)
{
    const auto stored = ReadWhole(version.file);
    if (!stored)
        throw Error(FormatMessage("Cannot open file %s", version.file.string()));
    auto plain = OpenVersionBytes(SessionKey(password), version, *stored);
    if (!plain)
        throw DamagedEntry(FormatMessage(kVersionDoesNotOpen, version.Name()));
    return std::move(*plain);
}

std::string OldVersionsFolder()
{
    return DiaryFolder() + "Old versions/";
}

fs::path SetVersionAside(const EntryVersion& version)
{
    const auto bytes = ReadWhole(version.file);
    if (!bytes)
        throw Error(FormatMessage("Cannot open file %s", version.file.string()));
    const fs::path folder = PathForWriting(OldVersionsFolder());
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec))
        throw Error(FormatMessage("Cannot create folder %s", folder.string()));
    fs::path target;
    for (int attempt = 1;; ++attempt) {
        target = folder / NameWithNumber(version.Name(), attempt);
        if (!FindNoCase(target))
            break;
    }
    if (!WriteFileAtomicallyExact(target, *bytes) || ReadWhole(target) != bytes)
        throw Error(FormatMessage("Cannot create file %s", target.string()));
    fs::last_write_time(target, version.modified, ec);
    // The copy set aside is whole: only now does the version leave the Entries folder.
    if (!fs::remove(version.file, ec) || ec)
        throw Error(FormatMessage("Cannot delete file %s", version.file.string()));
    return target;
}

std::string AppendEntryText(std::string_view mine, std::string_view theirs)
{
    TWPRTFText document;
    if (!mine.empty() && LoadDocument(document, mine).result != 0)
        throw Error("The entry cannot be read");
    if (LoadDocument(document, theirs).result != 0)
        throw Error("The other version cannot be read");
    int result = 0;
    std::string rtf = WriteRtf(document, {}, &result);
    if (result != 0 && result != 8)
        throw Error("The entry cannot be written");
    return rtf;
}

namespace {

// The day's entry as it stands: its plain text and the stamp a checked save compares with.
struct CurrentEntry {
    std::string plain;
    FileStamp stamp;
};

CurrentEntry ReadCurrentEntry(Day day, std::string_view password)
{
    CurrentEntry entry;
    if (EntryFileExists(day)) {
        entry.stamp.exists = true;
        entry.plain = ReadEntry(day, password, entry.stamp);
    }
    return entry;
}

SettledVersion WriteAndSetAside(const EntryVersion& version, std::string_view content, std::string_view password,
                                const FileStamp& loaded)
{
    SettledVersion settled;
    settled.saved = SaveEntryChecked(version.day, SaveStep::Write, content, password, loaded);
    settled.setAside = SetVersionAside(version);
    return settled;
}

} // namespace

SettledVersion AppendVersion(const EntryVersion& version, std::string_view password)
{
    const std::string theirs = ReadVersion(version, password);
    const CurrentEntry mine = ReadCurrentEntry(version.day, password);
    return WriteAndSetAside(version, AppendEntryText(mine.plain, theirs), password, mine.stamp);
}

SettledVersion UseVersion(const EntryVersion& version, std::string_view password)
{
    const std::string theirs = ReadVersion(version, password);
    // The entry is kept as its bytes stand, even one that does not open: nothing of it is lost.
    const fs::path entry = PathForWriting(GetCurrentDateFileName(version.day));
    std::string bytes;
    const FileStamp stamp = ReadFileStamp(entry, &bytes);
    std::optional<fs::path> keptMine;
    if (stamp.exists) {
        const LocalTime when = LocalTimeOfFile(stamp.modified);
        for (int attempt = 1;; ++attempt) {
            const fs::path candidate = entry.parent_path() / ReplacedHereName(entry.filename().string(), when, attempt);
            if (FindNoCase(candidate))
                continue;
            if (!WriteFileAtomicallyExact(candidate, bytes))
                throw Error(FormatMessage("Cannot create file %s", candidate.string()));
            std::error_code ec;
            fs::last_write_time(candidate, stamp.modified, ec);
            keptMine = candidate;
            break;
        }
    }
    SettledVersion settled = WriteAndSetAside(version, theirs, password, stamp);
    settled.keptMine = keptMine;
    return settled;
}

} // namespace quillory
