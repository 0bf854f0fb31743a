// Names without regard to case, wildcard scans, and removing every spelling of a name.
#include "platform/Files.h"

#include "TempFolder.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>

using namespace quillory;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> Sorted(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end());
    return names;
}

// Makes a folder look untouched for a while, so that its cached listing is trusted.
void AgeFolder(const fs::path& folder)
{
    fs::last_write_time(folder, fs::file_time_type::clock::now() - std::chrono::minutes(5));
}

} // namespace

TEST(Files, PatternsMatchWithoutRegardToCase)
{
    const struct { const char* name; const char* pattern; bool matches; } rows[] = {
        {"20240101.QLE", "*.QLE", true},   {"20240101.qle", "*.QLE", true},
        {"notes.Qle", "*.qle", true},      {".QLE", "*.QLE", true},
        {"20240101.QLE.bak", "*.QLE", false}, {"20240101.QL", "*.QLE", false},
        {"a.b.QLE", "*.QLE", true},        {"QL.INI", "ql.ini", true},
        {"abc", "a?c", true},              {"ac", "a?c", false},
        {"aXbXc", "a*b*c", true},          {"aXbXd", "a*b*c", false},
        {"", "*", true},                   {"x", "", false},
        {"*x", "*", true},                 {"a*b", "a*", true},  // a star in the name is no star
    };
    for (const auto& row : rows)
        EXPECT_EQ(MatchesPattern(row.name, row.pattern), row.matches) << row.name << " ~ " << row.pattern;
}

TEST(Files, FindsANameSpelledInAnotherCase)
{
    TempFolder folder;
    folder.write("Entries/20240101.qle", "a");
    folder.write("Entries/20240102.QLE", "b");
    const fs::path entries = folder.path() / "Entries";

    EXPECT_EQ(FindNoCase(entries / "20240101.QLE"), entries / "20240101.qle");
    EXPECT_EQ(FindNoCase(entries / "20240102.QLE"), entries / "20240102.QLE");
    EXPECT_TRUE(FileExistsNoCase(entries / "20240101.QLE"));
    EXPECT_FALSE(FileExistsNoCase(entries / "20240103.QLE"));
    // The folders on the way are matched the same way.
    EXPECT_EQ(FindNoCase(folder.path() / "ENTRIES" / "20240101.Qle"), entries / "20240101.qle");
    EXPECT_FALSE(FileExistsNoCase(folder.path() / "entries"));  // a folder is no file
    EXPECT_FALSE(FindNoCase(folder.path() / "missing" / "x.QLE"));
}

TEST(Files, SeesFilesAddedOrRemovedAfterAMiss)
{
    // A miss reads a listing of the folder; later changes must not hide behind it, neither in
    // a folder changed just now nor in one that had been still for a while.
    for (const bool aged : {false, true}) {
        TempFolder folder;
        folder.write("x.txt", "");
        if (aged)
            AgeFolder(folder.path());
        EXPECT_FALSE(FileExistsNoCase(folder.path() / "A.QLE"));
        folder.write("a.qle", "");
        EXPECT_TRUE(FileExistsNoCase(folder.path() / "A.QLE")) << "aged " << aged;
        if (aged)
            AgeFolder(folder.path());
        EXPECT_TRUE(FileExistsNoCase(folder.path() / "A.QLE"));
        fs::remove(folder.path() / "a.qle");
        EXPECT_FALSE(FileExistsNoCase(folder.path() / "A.QLE")) << "aged " << aged;
    }
}

TEST(Files, WritingReusesTheExistingSpelling)
{
    TempFolder folder;
    folder.write("entries/ql.ini", "old");
    EXPECT_EQ(PathForWriting(folder.path() / "Entries" / "QL.INI"), folder.path() / "entries" / "ql.ini");
    EXPECT_EQ(PathForWriting(folder.path() / "Entries" / "new.QLE"), folder.path() / "entries" / "new.QLE");
    EXPECT_EQ(PathForWriting(folder.path() / "Other" / "new.QLE"), folder.path() / "Other" / "new.QLE");
}

TEST(Files, ScanSeesEveryMatchingNameOnceWhateverItIs)
{
    TempFolder folder;
    for (const char* name : {"20240101.QLE", "20240102.qle", ".hidden.QLE", "notes.txt", "20240103.QLE.bak"})
        folder.write(name, "");
    fs::create_directory(folder.path() / "folder.QLE");

    EXPECT_EQ(Sorted(ScanFolder(folder.path(), "*.QLE")),
              (std::vector<std::string>{".hidden.QLE", "20240101.QLE", "20240102.qle", "folder.QLE"}));
    EXPECT_TRUE(ScanFolder(folder.path() / "missing", "*.QLE").empty());
}

TEST(Files, RemoveTakesEverySpellingOfTheName)
{
    TempFolder folder;
    folder.write("20240101.QLE", "");
    folder.write("20240101.qle", "");
    folder.write("20240102.QLE", "");
    EXPECT_TRUE(RemoveFileNoCase(folder.path() / "20240101.Qle"));
    EXPECT_FALSE(FileExistsNoCase(folder.path() / "20240101.QLE"));
    EXPECT_TRUE(FileExistsNoCase(folder.path() / "20240102.QLE"));
    EXPECT_TRUE(RemoveFileNoCase(folder.path() / "absent.QLE"));
}
