// Fuzz target: what the backup folder and its archives tell about automatic backups - file
// names, the mark in an archive's comment and the end of an archive that holds it, the times
// in Backups.ini - read from any bytes
// without a crash, and whatever is taken reads back the same when written again.
#include "app/AutoBackup.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace quillory;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (const auto time = TimeOfAutoBackupName(input); time && AutoBackupName(*time) != input)
        std::abort();
    if (const auto time = ParseBackupTime(input); time && BackupTimeText(*time) != input)
        std::abort();
    if (const auto mark = ReadBackupMark(input)) {
        if (mark->fingerprint.find('\n') != std::string::npos || mark->entries < 0)
            std::abort();
        if (ReadBackupMark(BackupMarkComment(*mark)) != mark)
            std::abort();
    }
    // The end of an archive: a comment found ends exactly where the bytes end.
    if (const auto comment = ZipCommentAtEnd(input); comment && !input.ends_with(*comment))
        std::abort();
    // The rotation over times taken from the input, three bytes each: never more kept than the
    // rules allow, and the newest always kept.
    std::vector<LocalTime> times;
    for (std::size_t at = 0; at + 3 <= size && times.size() < 64; at += 3)
        times.push_back(LocalTime{Day::FromSerial(40000 + data[at] * 4 + data[at + 1] % 4), data[at + 2] % 24, 0});
    const KeepCounts keep{int(1 + size % 5), int(size % 3), int(size % 4)};
    const std::vector<bool> kept = ChooseKeptBackups(times, keep);
    std::size_t count = 0, newest = 0;
    for (std::size_t i = 0; i < times.size(); ++i) {
        count += kept[i];
        if (MinutesOf(times[i]) > MinutesOf(times[newest]))
            newest = i;
    }
    if (count > std::size_t(keep.daily + keep.weekly + keep.monthly) || (!times.empty() && !kept[newest]))
        std::abort();
    return 0;
}
