// Reading a whole file into memory or mapping it: every byte, whatever its size, and no bytes
// for what is not a readable file.
#include "richtext/io/FileBytes.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace quillory {
namespace {

// Read whole and mapped alike (a file from FileContents::MapFrom bytes on is mapped).
TEST(FileBytes, ReadsEveryByteOfFilesLargeAndSmall)
{
    TempFolder folder;
    std::string large(300 * 1024 + 7, '\0');
    for (std::size_t i = 0; i < large.size(); ++i)
        large[i] = char((i * 131) & 0xFF); // NUL and CR bytes among them
    ASSERT_GE(large.size(), FileContents::MapFrom);
    for (const std::string& bytes : {std::string(), std::string("{\\rtf1 x}"), large}) {
        const auto path = folder.write("entry.rtf", bytes);
        const auto read = ReadFileBytes(path.string());
        ASSERT_TRUE(read.has_value()) << bytes.size();
        EXPECT_EQ(*read, bytes) << bytes.size();
        auto contents = FileContents::FromFile(path.string());
        ASSERT_TRUE(contents.has_value()) << bytes.size();
        EXPECT_EQ(contents->view(), bytes) << bytes.size();
        // Moved, the contents stay readable; the mapping ends once, with the last owner.
        const FileContents moved = std::move(*contents);
        contents.reset();
        EXPECT_EQ(moved.view(), bytes) << bytes.size();
    }
}

// Standard input redirected from a file that a script has begun to read goes on from there.
TEST(FileBytes, ADescriptorIsReadOnFromWhereItStands)
{
    TempFolder folder;
    const std::string bytes(FileContents::MapFrom + 100, 'x');
    const auto path = folder.write("entry.rtf", "head" + bytes);
    const int fd = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::lseek(fd, 4, SEEK_SET), 4);
    const auto contents = FileContents::FromDescriptor(fd);
    ::close(fd);
    ASSERT_TRUE(contents.has_value());
    EXPECT_EQ(contents->view(), bytes);
}

TEST(FileBytes, NothingForMissingFilesAndFolders)
{
    TempFolder folder;
    EXPECT_FALSE(ReadFileBytes((folder.path() / "missing.rtf").string()).has_value());
    EXPECT_FALSE(ReadFileBytes(folder.path().string()).has_value());
    EXPECT_FALSE(FileContents::FromFile((folder.path() / "missing.rtf").string()).has_value());
    EXPECT_FALSE(FileContents::FromFile(folder.path().string()).has_value());
}

} // namespace
} // namespace quillory
