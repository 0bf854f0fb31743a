// Reading a whole file into memory: every byte, whatever its size, and no bytes for what is
// not a readable file.
#include "richtext/io/FileBytes.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

TEST(FileBytes, ReadsEveryByteOfFilesLargeAndSmall)
{
    TempFolder folder;
    std::string large(300 * 1024 + 7, '\0');
    for (std::size_t i = 0; i < large.size(); ++i)
        large[i] = char((i * 131) & 0xFF); // NUL and CR bytes among them
    for (const std::string& bytes : {std::string(), std::string("{\\rtf1 x}"), large}) {
        const auto path = folder.write("entry.rtf", bytes);
        const auto read = ReadFileBytes(path.string());
        ASSERT_TRUE(read.has_value()) << bytes.size();
        EXPECT_EQ(*read, bytes) << bytes.size();
    }
}

TEST(FileBytes, NothingForMissingFilesAndFolders)
{
    TempFolder folder;
    EXPECT_FALSE(ReadFileBytes((folder.path() / "missing.rtf").string()).has_value());
    EXPECT_FALSE(ReadFileBytes(folder.path().string()).has_value());
}

} // namespace
} // namespace quillory
