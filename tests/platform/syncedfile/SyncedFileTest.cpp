// Files another computer may change: stamps that tell a changed file from a touched one, and the
// other version kept beside under a free name that says when it was changed.
#include "platform/SyncedFile.h"

#include "TempFolder.h"
#include "platform/Error.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>

namespace quillory {
namespace {

namespace fs = std::filesystem;

LocalTime At(int year, int month, int day, int hour, int minute)
{
    LocalTime time;
    time.day = *Day::FromDate(year, month, day);
    time.hour = hour;
    time.minute = minute;
    return time;
}

// The file time of a local time, as a sync service would have set it.
fs::file_time_type FileTimeOf(int year, int month, int day, int hour, int minute)
{
    std::tm parts{};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_isdst = -1;
    const auto system = std::chrono::system_clock::from_time_t(std::mktime(&parts));
    return std::chrono::file_clock::from_sys(system);
}

TEST(SyncedFileTest, TheOtherVersionsNameSaysWhenItWasChanged)
{
    const struct {
        const char* file;
        LocalTime when;
        int attempt;
        const char* expected;
    } rows[] = {
        {"20240105.QLE", At(2024, 1, 6, 8, 15), 1, "20240105 (changed elsewhere 2024-01-06 0815).QLE"},
        {"20240105.qle", At(2024, 1, 6, 23, 5), 1, "20240105 (changed elsewhere 2024-01-06 2305).qle"},
        {"20240105.QLE", At(2024, 1, 6, 8, 15), 3, "20240105 (changed elsewhere 2024-01-06 0815, 3).QLE"},
        {"QL.INI", At(2026, 12, 31, 0, 0), 1, "QL (changed elsewhere 2026-12-31 0000).INI"},
        {"README", At(2026, 2, 1, 9, 9), 1, "README (changed elsewhere 2026-02-01 0909)"},
    };
    for (const auto& row : rows) {
        const std::string name = ChangedElsewhereName(row.file, row.when, row.attempt);
        EXPECT_EQ(name, row.expected);
        EXPECT_TRUE(IsChangedElsewhereName(name)) << name;
        EXPECT_FALSE(IsChangedElsewhereName(row.file)) << row.file;
    }
}

TEST(SyncedFileTest, OnlyDifferentBytesOrAFileComingOrGoingCountAsAChange)
{
    TempFolder folder;
    const fs::path file = folder.write("20240105.QLE", "one");
    const FileStamp loaded = ReadFileStamp(file);
    EXPECT_TRUE(loaded.exists);
    EXPECT_EQ(loaded.size, 3u);
    EXPECT_EQ(loaded.hash, ContentHash("one"));

    // Rewritten with the same bytes and a new time (as a sync service may): nothing to lose.
    fs::last_write_time(file, loaded.modified + std::chrono::hours(2));
    EXPECT_TRUE(StillTheSame(loaded, ReadFileStamp(file)));
    folder.write("20240105.QLE", "two");  // same size, other bytes
    EXPECT_FALSE(StillTheSame(loaded, ReadFileStamp(file)));
    folder.write("20240105.QLE", "one more");
    EXPECT_FALSE(StillTheSame(loaded, ReadFileStamp(file)));

    // Found whatever the case of its name; a missing file has a stamp of its own.
    EXPECT_TRUE(ReadFileStamp(folder.path() / "20240105.qle").exists);
    const FileStamp missing = ReadFileStamp(folder.path() / "20240106.QLE");
    EXPECT_FALSE(missing.exists);
    EXPECT_TRUE(StillTheSame(missing, ReadFileStamp(folder.path() / "20240107.QLE")));
    EXPECT_FALSE(StillTheSame(missing, loaded));
    EXPECT_FALSE(StillTheSame(loaded, missing));
}

TEST(SyncedFileTest, AFileThatCannotBeReadIsAnErrorNotAChange)
{
    TempFolder folder;
    const fs::path file = folder.path() / "20240105.QLE";
    fs::create_symlink("/proc/self/mem", file);  // opens, then every read fails
    EXPECT_THROW(ReadFileStamp(file), Error);
}

TEST(SyncedFileTest, TheOtherVersionIsKeptBesideUnderAFreeNameWithItsOwnTime)
{
    TempFolder folder;
    const fs::path entry = folder.write("20240105.QLE", "mine");
    const fs::file_time_type when = FileTimeOf(2024, 1, 6, 8, 15);

    const fs::path first = KeepOtherVersion(entry, "theirs", when);
    EXPECT_EQ(first.filename(), "20240105 (changed elsewhere 2024-01-06 0815).QLE");
    EXPECT_EQ(folder.read(first.filename().string()), "theirs");
    EXPECT_EQ(fs::last_write_time(first), when);

    // A name taken, in any letter case, is passed over; nothing kept before is replaced.
    folder.write("20240105 (CHANGED ELSEWHERE 2024-01-06 0815, 2).qle", "older");
    const fs::path third = KeepOtherVersion(entry, "theirs again", when);
    EXPECT_EQ(third.filename(), "20240105 (changed elsewhere 2024-01-06 0815, 3).QLE");
    EXPECT_EQ(folder.read(first.filename().string()), "theirs");
    EXPECT_EQ(folder.read("20240105 (CHANGED ELSEWHERE 2024-01-06 0815, 2).qle"), "older");
    EXPECT_EQ(folder.read(third.filename().string()), "theirs again");
    EXPECT_EQ(folder.read("20240105.QLE"), "mine");

    EXPECT_THROW(KeepOtherVersion(folder.path() / "missing" / "20240105.QLE", "x", when), Error);
}

} // namespace
} // namespace quillory
