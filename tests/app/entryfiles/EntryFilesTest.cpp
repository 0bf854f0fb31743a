// Entry files through memory: enciphered on disk while a password is set, the file name found
// whatever its letter case, and a failed write leaving the old file in place.
#include "app/EntryFiles.h"

#include "TempFolder.h"
#include "app/Crypt.h"
#include "app/DateTexts.h"
#include "app/EntryStore.h"
#include "platform/Error.h"
#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>
#include <filesystem>

namespace quillory {
namespace {

namespace fs = std::filesystem;

const Day kDay = *Day::FromDate(2026, 12, 6);
const std::string kRtf = "{\\rtf1\\ansi Dear diary \\'e9}";

class EntryFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(folder.withSlash());
        fs::create_directories(folder.path() / "Entries");
    }
    void TearDown() override { SetProgramFolder(previous); }

    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& item : fs::directory_iterator(folder.path() / "Entries"))
            names.push_back(item.path().filename().string());
        for (const auto& item : fs::directory_iterator(folder.path()))
            if (item.is_regular_file())
                names.push_back(item.path().filename().string());
        return names;
    }

    TempFolder folder;
    std::string previous = DiaryFolder();
};

TEST_F(EntryFilesTest, WithAPasswordOnlyEncipheredBytesReachTheDisk)
{
    for (const std::string password : {"", "Secret"}) {
        SCOPED_TRACE(password);
        WriteEntry(kDay, kRtf, password);
        const std::string onDisk = folder.read("Entries/20261206.QLE");
        EXPECT_EQ(onDisk, password.empty() ? kRtf : EncipherBuffer(kRtf, password));
        EXPECT_EQ(ReadEntry(kDay, password), kRtf);
        EXPECT_EQ(Names(), std::vector<std::string>{"20261206.QLE"});  // no temporary or plain copy
    }
}

TEST_F(EntryFilesTest, AnEntryNamedInLowerCaseIsReadReplacedAndDeletedAsTheSameFile)
{
    folder.write("Entries/20261206.qle", "{\\rtf1 old}");
    EXPECT_EQ(ReadEntry(kDay, ""), "{\\rtf1 old}");
    WriteEntry(kDay, kRtf, "");
    EXPECT_EQ(Names(), std::vector<std::string>{"20261206.qle"});
    EXPECT_EQ(folder.read("Entries/20261206.qle"), kRtf);
    DeleteEntry(kDay);
    EXPECT_TRUE(Names().empty());
    EXPECT_FALSE(EntryFileExists(kDay));
}

TEST_F(EntryFilesTest, FailuresRaiseTheFileMessagesAndKeepWhatWasThere)
{
    EXPECT_THROW(ReadEntry(kDay, ""), Error);
    // A file that opens but cannot be read (a process's memory at address 0) fails the same way.
    fs::create_symlink("/proc/self/mem", GetCurrentDateFileName(kDay + 3));
    for (const Day day : {kDay, kDay + 3}) {
        try {
            ReadEntry(day, "");
            ADD_FAILURE() << "read " << day;
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()), "Cannot open file " + GetCurrentDateFileName(day));
        }
    }
    // A folder where the next day's file belongs cannot be replaced by a file.
    fs::create_directories(folder.path() / "Entries" / "20261207.QLE");
    try {
        WriteEntry(kDay + 1, kRtf, "");
        ADD_FAILURE() << "the write succeeded";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot create file " + GetCurrentDateFileName(kDay + 1));
    }
    EXPECT_TRUE(fs::is_directory(folder.path() / "Entries" / "20261207.QLE"));
    EXPECT_NO_THROW(DeleteEntry(kDay + 2));  // nothing to delete is no failure
}

TEST(ShortDateTest, MonthDayYearZeroPadded)
{
    EXPECT_EQ(ShortDateText(*Day::FromDate(2026, 12, 6)), "12/06/2026");
    EXPECT_EQ(ShortDateText(*Day::FromDate(987, 1, 2), '.'), "01.02.0987");
}

} // namespace
} // namespace quillory
