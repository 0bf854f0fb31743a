// The initialisation-file reader and writer: lookups, value kinds, in-place writes, the file.
#include "platform/IniFile.h"

#include "TempFolder.h"
#include "platform/Error.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>
#include <sys/stat.h>

namespace {

using quillory::IniFile;

constexpr const char* kSample =
    "; Quillory settings\r\n"
    "stray=before any section\r\n"
    "[Security]\r\n"
    "Password=\r\n"
    "\r\n"
    "[Default Font]\r\n"
    "  name =  Times New Roman  \r\n"
    "Size=12\r\n"
    "size=99\r\n"
    ";Bold=1\r\n"
    "Unknown key kept\r\n"
    "\r\n"
    "[default font]\r\n"
    "Italic=1\r\n"
    "[Icons]\r\n"
    "File=/opt/quillory/ICONS/MISC1.ICL\r\n";

TEST(IniFileRead, FindsFirstMatchIgnoringCaseAndSurroundingSpaces)
{
    const IniFile ini = IniFile::FromText(kSample);
    struct Row {
        const char* section;
        const char* key;
        const char* expected;
    };
    const Row rows[] = {
        {"Default Font", "Name", "Times New Roman"},
        {"DEFAULT FONT", "NAME", "Times New Roman"},
        {"Default Font", "Size", "12"},       // the first of two equal keys
        {"Default Font", "Italic", "<none>"}, // only the first section of a name counts
        {"Default Font", "Bold", "<none>"},   // commented out
        {"Security", "Password", ""},         // present but empty
        {"Security", "stray", "<none>"},      // lines before the first section belong to none
        {"Icons", "File", "/opt/quillory/ICONS/MISC1.ICL"},
        {"Opening Screen", "show", "<none>"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ini.ReadString(row.section, row.key, "<none>"), row.expected) << row.section << "/" << row.key;
}

TEST(IniFileRead, ByteOrderMarkLineEndsAndLongValues)
{
    const std::string longValue(1500, 'v');
    const IniFile ini = IniFile::FromText("\xEF\xBB\xBF[A]\nkey=" + longValue +
                                          "\nhigh=\xC2\xE9\x80\xFF\ncr=1\rnext=2\r\r\nlast=3");
    EXPECT_EQ(ini.ReadString("a", "key", ""), std::string(1023, 'v'));
    EXPECT_EQ(ini.ReadString("a", "high", ""), "\xC2\xE9\x80\xFF");
    // A lone CR ends a line too: no value ever holds a line break.
    EXPECT_EQ(ini.ReadString("a", "cr", ""), "1");
    EXPECT_EQ(ini.ReadString("a", "next", ""), "2");
    EXPECT_EQ(ini.ReadString("a", "last", ""), "3");
}

TEST(IniFileRead, IntegersAndBooleans)
{
    struct Row {
        const char* text;
        int integer;  // read with default -77
        bool truth;   // read with default true
    };
    const Row rows[] = {
        {"12", 12, true},
        {"0x0C", 12, true},
        {"0X1f", 31, true},
        {"12pt", -77, true},
        {"", -77, true},
        {"0x", -77, true},
        {"0xg1", -77, true},
        {"-5", -5, true},
        {"+7", 7, true},
        {"0", 0, false},
        {"00", 0, false},
        {"0x0", 0, false},
        {"2", 2, true},
        {"0xFFFFFFFF", -1, true},
        {"0x100000000", -77, true},
        {"2147483647", INT_MAX, true},
        {"2147483648", -77, true},
        {"-2147483648", INT_MIN, true},
        {"-2147483649", -77, true},
        {"1 2", -77, true},
    };
    for (const Row& row : rows) {
        const IniFile ini = IniFile::FromText(std::string("[S]\nk=") + row.text + "\n");
        EXPECT_EQ(ini.ReadInteger("S", "k", -77), row.integer) << '"' << row.text << '"';
        EXPECT_EQ(ini.ReadBool("S", "k", true), row.truth) << '"' << row.text << '"';
    }
    const IniFile none = IniFile::FromText("");
    EXPECT_FALSE(none.ReadBool("S", "k", false));
    EXPECT_EQ(none.ReadInteger("S", "k", 10), 10);
}

TEST(IniFileWrite, ReplacesInPlaceAndKeepsEverythingElse)
{
    IniFile ini = IniFile::FromText(kSample);
    ini.WriteString("security", "PASSWORD", "\xC2\xC9\xC4");
    ini.WriteInteger("Default Font", "size", -3);
    ini.WriteBool("Default Font", "Underline", true);  // new key: end of the section, before the blank
    ini.WriteBool("Opening Screen", "show", false);    // new section at the end
    EXPECT_EQ(ini.Text(),
              "; Quillory settings\r\n"
              "stray=before any section\r\n"
              "[Security]\r\n"
              "Password=\xC2\xC9\xC4\r\n"
              "\r\n"
              "[Default Font]\r\n"
              "  name =  Times New Roman  \r\n"
              "Size=-3\r\n"
              "size=99\r\n"
              ";Bold=1\r\n"
              "Unknown key kept\r\n"
              "Underline=1\r\n"
              "\r\n"
              "[default font]\r\n"
              "Italic=1\r\n"
              "[Icons]\r\n"
              "File=/opt/quillory/ICONS/MISC1.ICL\r\n"
              "\r\n"
              "[Opening Screen]\r\n"
              "show=0\r\n");
}

TEST(IniFileWrite, ValuesReadBackAsWritten)
{
    IniFile ini = IniFile::FromText("");
    ini.WriteString("A", "k", "two\nlines");  // a line break cannot be stored: cut before it
    ini.WriteString("A", "empty", "");
    ini.WriteInteger("B", "n", INT_MIN);
    EXPECT_EQ(ini.Text(), "[A]\nk=two\nempty=\n\n[B]\nn=-2147483648\n");
    const IniFile back = IniFile::FromText(ini.Text());
    EXPECT_EQ(back.ReadString("A", "k", "?"), "two");
    EXPECT_EQ(back.ReadString("A", "empty", "?"), "");
    EXPECT_EQ(back.ReadInteger("B", "n", 0), INT_MIN);
}

TEST(IniFileDisk, MissingFileReadsEmptyAndIsCreatedByUpdate)
{
    TempFolder folder;
    IniFile ini(folder.path() / "QL.INI");
    EXPECT_EQ(ini.ReadString("Default Font", "Name", "Arial"), "Arial");
    ini.WriteString("Security", "Password", "\xE6\x80");
    ini.UpdateFile();
    EXPECT_EQ(folder.read("QL.INI"), "[Security]\nPassword=\xE6\x80\n");
    EXPECT_EQ(IniFile(folder.path() / "QL.INI").ReadString("Security", "Password", ""), "\xE6\x80");
}

TEST(IniFileDisk, NameInAnotherCaseIsTheSameFile)
{
    TempFolder folder;
    folder.write("ql.ini", "[Icons]\r\nVisible=1\r\n");
    IniFile ini(folder.path() / "QL.INI");
    EXPECT_TRUE(ini.ReadBool("Icons", "Visible", false));
    ini.WriteBool("Icons", "Visible", false);
    ini.UpdateFile();
    EXPECT_EQ(folder.read("ql.ini"), "[Icons]\r\nVisible=0\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "QL.INI"));  // no second settings file
}

// A start that changes no setting used to replace QL.INI anyway, twice: time at every start, and
// a file for a synced folder to send.
TEST(IniFileDisk, AFileThatAlreadyHoldsTheTextIsNotReplaced)
{
    TempFolder folder;
    folder.write("ql.ini", "[Icons]\r\nVisible=1\r\n");
    const auto inode = [&] {
        struct stat info {};
        ::stat((folder.path() / "ql.ini").c_str(), &info);
        return info.st_ino;
    };
    const auto before = inode();
    IniFile ini(folder.path() / "QL.INI");
    ini.WriteBool("Icons", "Visible", true);
    ini.UpdateFile();
    EXPECT_EQ(inode(), before);
    ini.WriteBool("Icons", "Visible", false);
    ini.UpdateFile();
    EXPECT_NE(inode(), before);  // replaced whole, as always
    EXPECT_EQ(folder.read("ql.ini"), "[Icons]\r\nVisible=0\r\n");
}

TEST(IniFileDisk, FailedWriteRaisesTheMessageAndLeavesTheOldFile)
{
    TempFolder folder;
    const auto file = folder.path() / "missing folder" / "QL.INI";
    IniFile ini(file);
    ini.WriteBool("Icons", "Visible", true);
    try {
        ini.UpdateFile();
        FAIL() << "no error raised";
    } catch (const quillory::Error& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + file.string());
    }

    // A folder standing where the file should be cannot be replaced; it is left as it was.
    std::filesystem::create_directory(folder.path() / "QL.INI");
    folder.write("QL.INI/inside", "kept");
    IniFile blocked(folder.path() / "QL.INI");
    blocked.WriteBool("Icons", "Visible", true);
    EXPECT_THROW(blocked.UpdateFile(), quillory::Error);
    EXPECT_EQ(folder.read("QL.INI/inside"), "kept");
    // Nothing else appeared: no temporary file, no created folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

} // namespace
