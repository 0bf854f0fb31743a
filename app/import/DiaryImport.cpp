// Imported entries into the diary, day by day, through one staged swap.
#include "app/import/DiaryImport.h"

#include "app/EntryFiles.h"
#include "app/EntryStore.h"
#include "app/import/ImportHtml.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

namespace quillory {

bool ConflictRuleNamed(std::string_view word, ConflictRule& rule)
{
    if (word == "append")
        rule = ConflictRule::Append;
    else if (word == "skip")
        rule = ConflictRule::Skip;
    else if (word == "replace")
        rule = ConflictRule::Replace;
    else
        return false;
    return true;
}

namespace {

ImportReport Import(const ImportSource& source, const ImportOptions& options, std::optional<EntrySwap>& swap)
{
    ImportReport report;
    report.format = source.format;
    report.dryRun = options.dryRun;
    report.problems = source.problems;
    report.entries = int(source.entries.size());

    std::map<Day, std::vector<const ImportedEntry*>> days;
    for (const ImportedEntry& entry : source.entries)
        days[entry.day].push_back(&entry);
    // Entries without a time keep the source's order, before those with one.
    for (auto& [day, list] : days)
        std::stable_sort(list.begin(), list.end(),
                         [](const ImportedEntry* a, const ImportedEntry* b) { return a->minute < b->minute; });

    if (!options.dryRun && !days.empty()) {
        swap.emplace();
        swap->checkpoint = options.checkpoint;
    }
    // One listing of the Entries folder instead of a look for each day.
    std::set<Day> present;
    if (!days.empty()) {
        for (const Day day : EntryDaysBetween(days.begin()->first, days.rbegin()->first))
            present.insert(day);
    }
    int done = 0;
    for (const auto& [day, list] : days) {
        if (options.progress && !options.progress(done, int(days.size())))
            throw ImportCancelled("The import was cancelled; nothing was changed.");
        ++done;
        const bool exists = present.count(day) > 0;
        if (exists && options.onConflict == ConflictRule::Skip) {
            report.skipped.push_back(day);
            continue;
        }
        std::string existing;
        if (exists && options.onConflict == ConflictRule::Append) {
            // An entry that cannot be read whole is never written over, whatever the rule.
            try {
                existing = ReadEntry(day, options.key);
            } catch (const Error& error) {
                report.skipped.push_back(day);
                report.problems.push_back(IsoText(day) + ": the entry there cannot be read, so nothing was added ("
                                          + error.what() + ")");
                continue;
            }
        }
        (!exists ? report.created : options.onConflict == ConflictRule::Append ? report.appended : report.replaced)
            .push_back(day);
        if (options.dryRun)
            continue;
        std::vector<std::string> missing;
        const std::string rtf = EntryRtf(existing, DayHtml(list), source.picture, &missing);
        for (const std::string& name : missing)
            report.problems.push_back(IsoText(day) + ": picture " + name + " could not be read");
        swap->Stage(day, EncodeEntry(options.key, DayKey(day), rtf));
    }
    if (options.progress && !options.progress(done, int(days.size())))
        throw ImportCancelled("The import was cancelled; nothing was changed.");
    if (swap)
        swap->Commit();
    return report;
}

} // namespace

ImportReport ImportIntoDiary(const ImportSource& source, const ImportOptions& options)
{
    std::optional<EntrySwap> swap;
    try {
        return Import(source, options, swap);
    } catch (const std::exception&) {
        if (swap)
            swap->Drop();
        throw;
    }
}

namespace {

void DayLine(std::string& text, const char* label, const std::vector<Day>& days)
{
    if (days.empty())
        return;
    text += label;
    for (std::size_t i = 0; i < days.size(); ++i)
        text += (i ? ", " : " ") + IsoText(days[i]);
    text += '\n';
}

} // namespace

std::string ImportReportText(const ImportReport& report)
{
    std::string text = std::string(report.dryRun ? "Dry run, nothing written: " : "") + "Read "
                     + std::to_string(report.entries) + (report.entries == 1 ? " entry" : " entries") + " from "
                     + report.format + ": " + std::to_string(report.created.size())
                     + (report.created.size() == 1 ? " new day, " : " new days, ")
                     + std::to_string(report.appended.size()) + " appended, " + std::to_string(report.replaced.size())
                     + " replaced, " + std::to_string(report.skipped.size()) + " skipped\n";
    DayLine(text, "New:", report.created);
    DayLine(text, "Appended:", report.appended);
    DayLine(text, "Replaced:", report.replaced);
    DayLine(text, "Skipped:", report.skipped);
    for (const std::string& problem : report.problems)
        text += "Not taken: " + problem + '\n';
    return text;
}

} // namespace quillory
