// The in-memory index of the entries' text: its build, its updates and its queries.
#include "app/EntryIndex.h"

#include "app/EntryFiles.h"
#include "app/EntryStore.h"

#include <algorithm>

namespace quillory {

EntryIndex::~EntryIndex()
{
    Wait(true);
}

void EntryIndex::Wait(bool stop)
{
    if (stop)
        stop_ = true;
    if (builder_.joinable())
        builder_.join();
    stop_ = false;
}

void EntryIndex::StartBuilding(const DiaryKey& key, std::function<void()> done)
{
    Wait(true);
    {
        std::lock_guard lock(mutex_);
        entries_.clear();
        updatedDuringBuild_.clear();
    }
    ready_ = false;
    builder_ = std::thread([this, key, done = std::move(done)] {
        ReadAll(key, stop_);
        if (!stop_ && done)
            done();
    });
}

void EntryIndex::Build(const DiaryKey& key)
{
    Wait(true);
    {
        std::lock_guard lock(mutex_);
        entries_.clear();
        updatedDuringBuild_.clear();
    }
    ready_ = false;
    ReadAll(key, stop_);
}

void EntryIndex::ReadAll(const DiaryKey& key, const std::atomic<bool>& stop)
{
    for (const Day day : EntryDaysBetween(Day::First(), Day::Last())) {
        if (stop)
            return;
        try {
            Insert(day, MakeSearchableText(ReadEntry(day, key)), true);
        } catch (const std::exception&) {
            // Unreadable or damaged: not searchable; the window says so when it is opened.
        }
    }
    std::lock_guard lock(mutex_);
    updatedDuringBuild_.clear();
    ready_ = true;
}

void EntryIndex::Insert(Day day, SearchableText text, bool fromBuild)
{
    std::lock_guard lock(mutex_);
    if (fromBuild) {
        if (updatedDuringBuild_.count(day))
            return;
    } else if (!ready_) {
        updatedDuringBuild_.insert(day);
    }
    entries_[day] = std::move(text);
}

void EntryIndex::Update(Day day, std::string_view content)
{
    Insert(day, MakeSearchableText(content), false);
}

void EntryIndex::Remove(Day day)
{
    std::lock_guard lock(mutex_);
    if (!ready_)
        updatedDuringBuild_.insert(day);
    entries_.erase(day);
}

std::vector<Day> EntryIndex::Search(const SearchQuery& query) const
{
    std::vector<Day> days;
    if (!query.AsksAnything())
        return days;
    std::lock_guard lock(mutex_);
    const auto first = entries_.lower_bound(query.from);
    const auto last = entries_.upper_bound(query.until);
    for (auto it = std::make_reverse_iterator(last); it != std::make_reverse_iterator(first); ++it)
        if (Matches(query, it->second))
            days.push_back(it->first);
    return days;
}

std::vector<Day> EntryIndex::Search(const SearchQuery& query, const std::vector<Day>& within) const
{
    std::vector<Day> days;
    if (!query.AsksAnything())
        return days;
    std::lock_guard lock(mutex_);
    for (const Day day : within) {
        if (day < query.from || day > query.until)
            continue;
        const auto it = entries_.find(day);
        if (it != entries_.end() && Matches(query, it->second))
            days.push_back(day);
    }
    return days;
}

std::vector<std::pair<std::string, int>> EntryIndex::Tags() const
{
    std::map<std::string, int> counts;
    {
        std::lock_guard lock(mutex_);
        for (const auto& [day, entry] : entries_)
            for (const std::string& tag : entry.tags)
                ++counts[tag];
    }
    std::vector<std::pair<std::string, int>> tags(counts.begin(), counts.end());
    std::stable_sort(tags.begin(), tags.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    return tags;
}

std::vector<std::pair<Day, std::uint32_t>> EntryIndex::Words() const
{
    std::lock_guard lock(mutex_);
    std::vector<std::pair<Day, std::uint32_t>> words;
    words.reserve(entries_.size());
    for (const auto& [day, entry] : entries_)
        words.emplace_back(day, entry.words);
    return words;
}

std::size_t EntryIndex::EntryCount() const
{
    std::lock_guard lock(mutex_);
    return entries_.size();
}

std::size_t EntryIndex::Bytes() const
{
    std::lock_guard lock(mutex_);
    // A map node holds its value and three links and a colour beside it.
    std::size_t bytes = sizeof(*this);
    for (const auto& [day, entry] : entries_)
        bytes += entry.Bytes() + sizeof(Day) + 4 * sizeof(void*);
    return bytes;
}

namespace {

// Every entry holding `narrower` holds `wider` too.
bool Implies(const QueryTerm& narrower, const QueryTerm& wider)
{
    if (narrower.parts == wider.parts && narrower.accented == wider.accented)
        return true;
    if (narrower.parts.size() != 1 || wider.parts.size() != 1)
        return false;
    if (!wider.plain())
        return !narrower.plain() && narrower.accented[0].find(wider.accented[0]) != std::string::npos;
    return narrower.parts[0].find(wider.parts[0]) != std::string::npos;
}

} // namespace

bool Narrows(const SearchQuery& narrower, const SearchQuery& wider)
{
    if (narrower.from < wider.from || narrower.until > wider.until || !wider.AsksAnything())
        return false;
    const auto within = [](const std::vector<std::string>& few, const std::vector<std::string>& many) {
        return std::all_of(few.begin(), few.end(),
                           [&](const std::string& s) { return std::find(many.begin(), many.end(), s) != many.end(); });
    };
    if (!within(wider.tags, narrower.tags) || !within(wider.excludedTags, narrower.excludedTags))
        return false;
    return std::all_of(wider.terms.begin(), wider.terms.end(), [&](const QueryTerm& w) {
        return std::any_of(narrower.terms.begin(), narrower.terms.end(), [&](const QueryTerm& n) {
            if (n.excluded != w.excluded)
                return false;
            // An exclusion narrows only as itself: excluding more text excludes fewer entries.
            return w.excluded ? n.parts == w.parts && n.accented == w.accented : Implies(n, w);
        });
    });
}

} // namespace quillory
