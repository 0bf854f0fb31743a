// Writing a file whole or not at all, and copying files the same way.
#include "platform/AtomicWrite.h"
#include "platform/Files.h"

#include "TempFolder.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace quillory;
namespace fs = std::filesystem;

namespace {

std::size_t FilesIn(const fs::path& folder)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// Lets no process file grow past `bytes` while it lives: writes beyond fail as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &previous_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

} // namespace

TEST(AtomicWrite, CreatesAndReplacesAFile)
{
    TempFolder folder;
    ASSERT_TRUE(WriteFileAtomically(folder.path() / "QL.INI", "first"));
    ASSERT_TRUE(WriteFileAtomically(folder.path() / "QL.INI", "second"));
    EXPECT_EQ(folder.read("QL.INI"), "second");
    EXPECT_EQ(FilesIn(folder.path()), 1u);
}

TEST(AtomicWrite, AFailedWriteLeavesTheOldFileAndNoTemporary)
{
    TempFolder folder;
    folder.write("20240101.QLE", "old entry");
    std::string error;
    {
        FileSizeLimit limit(4096);  // the disk "fills up" in the middle of the write
        EXPECT_FALSE(WriteFileAtomically(folder.path() / "20240101.QLE", std::string(100000, 'x'), &error));
    }
    EXPECT_NE(error.find("20240101.QLE"), std::string::npos) << error;
    EXPECT_EQ(folder.read("20240101.QLE"), "old entry");
    EXPECT_EQ(FilesIn(folder.path()), 1u);
}

TEST(AtomicWrite, FailsIntoAMissingFolderOrOverAFolder)
{
    TempFolder folder;
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(folder.path() / "Entries" / "20240101.QLE", "x", &error));
    EXPECT_FALSE(error.empty());

    fs::create_directories(folder.path() / "busy.QLE" / "inside");
    EXPECT_FALSE(WriteFileAtomically(folder.path() / "busy.QLE", "x"));
    EXPECT_TRUE(fs::is_directory(folder.path() / "busy.QLE" / "inside"));
    EXPECT_EQ(FilesIn(folder.path()), 1u);
}

TEST(AtomicWrite, KeepsTheNameTheLinkAndThePermissionsOfTheOldFile)
{
    TempFolder folder;
    folder.write("ql.ini", "old");
    fs::permissions(folder.path() / "ql.ini", fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(WriteFileAtomically(folder.path() / "QL.INI", "new"));
    EXPECT_EQ(folder.read("ql.ini"), "new");
    EXPECT_FALSE(fs::exists(folder.path() / "QL.INI"));  // no second file of the same name
    EXPECT_EQ(fs::status(folder.path() / "ql.ini").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);

    folder.write("real.txt", "old");
    fs::create_symlink(folder.path() / "real.txt", folder.path() / "link.txt");
    ASSERT_TRUE(WriteFileAtomically(folder.path() / "link.txt", "through the link"));
    EXPECT_TRUE(fs::is_symlink(folder.path() / "link.txt"));
    EXPECT_EQ(folder.read("real.txt"), "through the link");
}

TEST(CopyAFile, CopiesWholeFilesEmptyOnesIncluded)
{
    TempFolder folder;
    std::string big(200000, '\0');
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 31);
    folder.write("big.QLE", big);
    folder.write("empty.QLE", "");
    ASSERT_TRUE(CopyAFile(folder.path() / "big.QLE", folder.path() / "big.RTF"));
    EXPECT_EQ(folder.read("big.RTF"), big);
    ASSERT_TRUE(CopyAFile(folder.path() / "empty.QLE", folder.path() / "empty.RTF"));
    EXPECT_TRUE(fs::exists(folder.path() / "empty.RTF"));
    EXPECT_EQ(folder.read("empty.RTF"), "");
    // The source may be named in any case.
    ASSERT_TRUE(CopyAFile(folder.path() / "BIG.qle", folder.path() / "again.RTF"));
    EXPECT_EQ(folder.read("again.RTF"), big);
}

TEST(CopyAFile, RefusesWithoutTouchingTheDestination)
{
    TempFolder folder;
    const auto entry = folder.write("20240101.QLE", "entry");
    EXPECT_FALSE(CopyAFile(entry, entry));                                     // onto itself
    EXPECT_FALSE(CopyAFile(entry, folder.path() / "20240101.qle"));            // the same file, other case
    EXPECT_FALSE(CopyAFile(folder.path() / "absent.QLE", folder.path() / "out.RTF"));
    EXPECT_FALSE(CopyAFile(entry, folder.path() / "missing" / "out.RTF"));
    EXPECT_EQ(folder.read("20240101.QLE"), "entry");
    EXPECT_EQ(FilesIn(folder.path()), 1u);
}

TEST(CopyAFile, AReadErrorInTheMiddleFailsAndKeepsTheOldDestination)
{
    // Before, a copy that stopped at a read error reported success and left half a file.
    TempFolder folder;
    folder.write("out.RTF", "previous export");
    int calls = 0;
    const detail::BlockReader failsOnSecondBlock = [&calls](char* buffer, std::size_t capacity) -> std::ptrdiff_t {
        if (++calls > 1)
            return -1;
        std::fill(buffer, buffer + capacity, 'x');
        return static_cast<std::ptrdiff_t>(capacity);
    };
    EXPECT_FALSE(detail::CopyBlocks(failsOnSecondBlock, 1'000'000, folder.path() / "out.RTF"));
    EXPECT_EQ(folder.read("out.RTF"), "previous export");
    EXPECT_EQ(FilesIn(folder.path()), 1u);
}

TEST(CopyAFile, AnUnreadableSourceFails)
{
    // A folder opens but cannot be read: the copy must fail rather than write an empty file.
    TempFolder folder;
    fs::create_directory(folder.path() / "folder.QLE");
    EXPECT_FALSE(CopyAFile(folder.path() / "folder.QLE", folder.path() / "out.RTF"));
    EXPECT_FALSE(fs::exists(folder.path() / "out.RTF"));
}
