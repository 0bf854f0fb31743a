// The old single-table diaries of tests/data/legacy (written by scripts/make-legacy-fixtures
// with an xBase writer independent of ours), copied into a fresh program folder.
#pragma once

#include "TempFolder.h"
#include "platform/ProgramFolder.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace quillory::testing_support {

inline std::filesystem::path LegacyFixture(const std::string& name)
{
    return std::filesystem::path(QUILLORY_TEST_DATA) / "legacy" / name;
}

// Every file under `folder`, by its path relative to it, with its bytes.
inline std::map<std::string, std::string> FilesUnder(const std::filesystem::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& item : std::filesystem::recursive_directory_iterator(folder)) {
        if (!item.is_regular_file())
            continue;
        std::ifstream in(item.path(), std::ios::binary);
        files[std::filesystem::relative(item.path(), folder).generic_string()] =
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

// A program folder holding one fixture's table files; the program folder points at it while
// the object lives.
class LegacyDiaryFolder {
public:
    explicit LegacyDiaryFolder(const std::string& fixture)
    {
        for (const auto& item : std::filesystem::directory_iterator(LegacyFixture(fixture)))
            std::filesystem::copy_file(item.path(), folder_.path() / item.path().filename());
        SetProgramFolder(folder_.withSlash());
    }
    ~LegacyDiaryFolder() { SetProgramFolder(previous_); }
    LegacyDiaryFolder(const LegacyDiaryFolder&) = delete;
    LegacyDiaryFolder& operator=(const LegacyDiaryFolder&) = delete;

    const TempFolder& Folder() const noexcept { return folder_; }
    const std::filesystem::path& Path() const noexcept { return folder_.path(); }

private:
    std::string previous_ = DiaryFolder();
    TempFolder folder_;
};

} // namespace quillory::testing_support
