// The xBase/FPT reader against tables written by another program, and against damaged ones.
#include "app/legacy/LegacyTable.h"

#include "LegacyFixture.h"

#include <gtest/gtest.h>

#include <sstream>

namespace quillory {
namespace {

using testing_support::LegacyFixture;

// One line per record: "live" or "deleted", the trimmed DATE, the ENTRY memo.
std::string DumpRecords(const LegacyTable& table)
{
    const LegacyField* date = table.Field("date");
    const LegacyField* entry = table.Field("Entry");
    EXPECT_TRUE(date && entry);
    std::ostringstream out;
    for (std::uint32_t record = 0; record < table.RecordCount(); ++record) {
        out << (table.IsDeleted(record) ? "deleted" : "live") << '|' << table.ReadTrimString(record, *date) << '|'
            << table.ReadMemo(record, *entry) << '\n';
    }
    return out.str();
}

TEST(LegacyTableTest, ReadsTheFieldListOfEveryHeaderForm)
{
    const struct {
        const char* fixture;
        MemoPointerForm pointers;
        const char* records;
    } cases[] = {
        // Text pointers, with the 263-byte area after the field list.
        {"sound-two", MemoPointerForm::Text, "live|20240101|one\nlive|20240102|two\n"},
        // Binary four-byte pointers.
        {"binary-pointers", MemoPointerForm::Binary, "live|20230704|binary pointer\nlive|20230705|second\n"},
        // No area after the field list: records start right after its end byte.
        {"no-extra-area", MemoPointerForm::Text, "live|19991231|last day of the century\nlive|20000101|first day\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fixture);
        const LegacyTable table = LegacyTable::Open(LegacyFixture(c.fixture));
        ASSERT_EQ(table.Fields().size(), 2u);
        const LegacyField& date = table.Fields()[0];
        const LegacyField& entry = table.Fields()[1];
        EXPECT_EQ(date.name, "DATE");
        EXPECT_EQ(date.type, 'C');
        EXPECT_EQ(date.offset, 1);
        EXPECT_EQ(date.width, 8);
        EXPECT_EQ(entry.name, "ENTRY");
        EXPECT_EQ(entry.type, 'M');
        EXPECT_EQ(entry.offset, 9);
        EXPECT_EQ(entry.PointerForm(), c.pointers);
        EXPECT_EQ(DumpRecords(table), c.records);
    }
}

TEST(LegacyTableTest, RecordsKeepTheirOrderFlagsAndRawText)
{
    // Deleted unless the flag byte is a space or "E"; DATE without its trailing blanks; the
    // memo up to its first zero byte, its line ends as stored.
    const LegacyTable table = LegacyTable::Open(LegacyFixture("diary"));
    EXPECT_EQ(DumpRecords(table),
              "live|20240305|{\\rtf1\\ansi March}\n"
              "live|20240101|first text of New Year\n"
              "live|20240210|a\rb\rc\n"
              "live|20240101|New Year, written again\n"
              "deleted|20240401|deleted the ordinary way\n"
              "live||a text without a day\n"
              "live|2024013x|not all digits\n"
              "live|20240230|the thirtieth of February\n"
              "live|../../ab|path characters\n"
              "live|20240215|x\ny\nz\r\n\n"
              "live|20240220|before\n"
              "live|20240225|flag E counts as live\n"
              "deleted|20240226|flag x counts as deleted\n"
              "live|2024 301|a blank inside the date\n"
              "live|202403|six digits and blanks\n");
}

TEST(LegacyTableTest, DamagedFilesAreErrorsOfTheTable)
{
    // The first record of each is sound; the damage shows on opening or on the second memo.
    const struct {
        const char* fixture;
        const char* message;
    } cases[] = {
        {"broken-pointer-past-end", "QUILLOR.FPT: the memo of record 2 starts past the end of the file"},
        {"broken-pointer-into-header", "QUILLOR.FPT: the memo of record 2 points into the file's header"},
        {"broken-length-past-end", "QUILLOR.FPT: the memo of record 2 reaches past the end of the file"},
        {"broken-count-too-high", "QUILLOR.DBF: the header counts 1000000 records, the file holds 2"},
        {"broken-truncated", "QUILLOR.DBF: the header counts 2 records, the file holds 1"},
        {"broken-block-size-zero", "QUILLOR.FPT: the memo block size is 0"},
        {"broken-memo-missing", "QUILLOR.FPT: the file is missing"},
        {"broken-no-field-end", "QUILLOR.DBF: the field list has no end"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fixture);
        try {
            DumpRecords(LegacyTable::Open(LegacyFixture(c.fixture)));
            ADD_FAILURE() << "no error";
        } catch (const LegacyTableError& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

TEST(LegacyTableTest, HostileHeadersAndPointersInMemory)
{
    const std::string sound = [] {
        std::ifstream in(LegacyFixture("no-extra-area") / "QUILLOR.DBF", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    std::string memo(1024, '\0');
    memo[7] = 64;  // block size
    const auto patched = [&](std::size_t at, std::string_view bytes) {
        std::string table = sound;
        table.replace(at, bytes.size(), bytes);
        return table;
    };
    const std::size_t firstPointer = 97 + 9;  // header of 97 bytes, flag and DATE
    const struct {
        const char* name;
        std::string table;
        const char* message;
    } cases[] = {
        {"too short", sound.substr(0, 31), "QUILLOR.DBF: the file is too short for a table header"},
        {"header length past the end", patched(8, std::string("\xff\xff", 2)),
         "QUILLOR.DBF: the header length 65535 does not fit the file"},
        {"record length 0", patched(10, std::string("\0\0", 2)), "QUILLOR.DBF: the record length is 0"},
        {"field wider than the record", patched(32 + 16, "\xf0"), "QUILLOR.DBF: field DATE reaches past the end of the record"},
        {"letters in a pointer", patched(firstPointer, "      12x4"),
         "QUILLOR.DBF: record 1 has a memo pointer that is no number"},
        {"pointer past 32 bits", patched(firstPointer, "9999999999"),
         "QUILLOR.DBF: record 1 has a memo pointer too large for any memo file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            DumpRecords(LegacyTable(c.table, memo));
            ADD_FAILURE() << "no error";
        } catch (const LegacyTableError& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

} // namespace
} // namespace quillory
