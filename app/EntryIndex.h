// The search's index: every entry's searchable text, held in memory only (never written to
// disk, so a diary with a password leaves no plain text behind), built on a thread of its own
// after the window shows and kept current as entries are saved or deleted.
#pragma once

#include "app/DiarySecurity.h"
#include "app/SearchableText.h"
#include "platform/Day.h"

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace quillory {

class EntryIndex {
public:
    EntryIndex() = default;
    ~EntryIndex();
    EntryIndex(const EntryIndex&) = delete;
    EntryIndex& operator=(const EntryIndex&) = delete;

    // Drops what it holds and reads every entry of the diary folder again on a thread of its
    // own, deciphering with `key`. `done` is called on that thread when it has read them all
    // (not when it was stopped). An entry that cannot be read is left out.
    void StartBuilding(const DiaryKey& key, std::function<void()> done = {});
    // The same on the calling thread (the command line, tests, benchmarks).
    void Build(const DiaryKey& key);
    // Waits for a build under way to end; `stop` asks it to end first.
    void Wait(bool stop = false);
    bool Ready() const noexcept { return ready_; }

    // The entry of `day` as it now is: its content (plain RTF or text), or none when deleted.
    // Takes precedence over what a build under way reads of it.
    void Update(Day day, std::string_view content);
    void Remove(Day day);

    // The days in the query's range whose entries match it, newest first. With `within`, only
    // those days are looked at (a narrower query's candidates: the results of a wider one).
    std::vector<Day> Search(const SearchQuery& query) const;
    std::vector<Day> Search(const SearchQuery& query, const std::vector<Day>& within) const;

    // Every tag with the number of days it is on, most used first (then by name).
    std::vector<std::pair<std::string, int>> Tags() const;
    // Days and their words, ascending, for statistics.
    std::vector<std::pair<Day, std::uint32_t>> Words() const;
    std::size_t EntryCount() const;
    // The memory the index holds, in bytes.
    std::size_t Bytes() const;

private:
    void Insert(Day day, SearchableText text, bool fromBuild);
    void ReadAll(const DiaryKey& key, const std::atomic<bool>& stop);

    mutable std::mutex mutex_;
    std::map<Day, SearchableText> entries_;
    std::set<Day> updatedDuringBuild_;  // saved while a build ran: its read of them is older
    std::atomic<bool> ready_{false};
    std::atomic<bool> stop_{false};
    std::thread builder_;
};

// Whether every entry the query `narrower` finds is also found by `wider`: then the narrower
// query need look only at the wider one's results (typing one more letter of a word).
bool Narrows(const SearchQuery& narrower, const SearchQuery& wider);

} // namespace quillory
