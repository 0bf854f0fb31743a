// The archive check that stands between a backup from outside and the diary: member names,
// links, sizes (zip bombs), checksums and damaged files, each refused with a message naming
// what is wrong; and what a sound archive gives.
#include "app/BackupArchive.h"

#include "TempFolder.h"
#include "ZipFixture.h"
#include "platform/Error.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

using zipfixture::Member;

TEST(BackupArchiveTest, MemberNamesAreEntriesOrSettingsAndNothingElse)
{
    struct Row {
        const char* name;
        std::optional<MemberKind> kind;
    };
    const Row rows[] = {
        {"Entries/20240101.QLE", MemberKind::Entry},
        {"entries/20240229.qle", MemberKind::Entry},
        {"QL.INI", MemberKind::Settings},
        {"ql.ini", MemberKind::Settings},
        {"Entries/", MemberKind::EntriesFolder},
        // Everything else is refused, however harmless it looks.
        {"../QL.INI", std::nullopt},
        {"/QL.INI", std::nullopt},
        {"./QL.INI", std::nullopt},
        {"QL.INI/", std::nullopt},
        {"/etc/passwd", std::nullopt},
        {"Entries/../QL.INI", std::nullopt},
        {"Entries/../../20240101.QLE", std::nullopt},
        {"Entries//20240101.QLE", std::nullopt},
        {"Entries/sub/20240101.QLE", std::nullopt},
        {"Entries\\20240101.QLE", std::nullopt},
        {"C:/Entries/20240101.QLE", std::nullopt},
        {"20240101.QLE", std::nullopt},
        {"Entries/20230229.QLE", std::nullopt},  // no such day
        {"Entries/20240101.QLE/", std::nullopt},
        {"Entries/20240101.RTF", std::nullopt},
        {"Entries/20240105 (changed elsewhere 2024-01-06 0815).QLE", std::nullopt},
        {"Entries", std::nullopt},
        {"quilloru.dct", std::nullopt},
        {"", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto kind = ClassifyMemberName(row.name);
        ASSERT_EQ(kind.has_value(), row.kind.has_value());
        if (kind) {
            EXPECT_EQ(kind->kind, *row.kind);
        }
    }
    EXPECT_EQ(ClassifyMemberName("Entries/20240229.QLE")->day, Day::FromDate(2024, 2, 29));
}

class BackupArchiveFiles : public ::testing::Test {
protected:
    std::string Zip(const std::vector<Member>& members) { return zipfixture::MakeZip(folder.path() / "made.zip", members); }
    // The message the check gives, or "" when the archive passes.
    std::string Refusal(const std::string& bytes, const ArchiveLimits& limits = {})
    {
        try {
            CheckBackupArchive(BackupArchive::OpenBytes(bytes, "test.zip"), limits);
        } catch (const Error& error) {
            return error.what();
        }
        return "";
    }

    TempFolder folder;
    const std::string rtf = "{\\rtf1\\ansi Dear diary}";
};

TEST_F(BackupArchiveFiles, SoundArchiveGivesItsEntriesAndSettingsWithTheirBytes)
{
    const std::string sealed("QLSE\0\x01\xff\x80", 8);
    const auto bytes = Zip({{"Entries/", ""},
                            {"Entries/20261206.QLE", rtf},
                            {"entries/20261207.qle", sealed, 0100644, true},
                            {"QL.INI", "[Opening Screen]\nshow=0\n"}});
    const auto archive = BackupArchive::OpenBytes(bytes);
    const auto members = CheckBackupArchive(archive);
    ASSERT_EQ(members.size(), 3u);  // the folder is no member the diary takes
    EXPECT_EQ(members[0].CanonicalName(), "Entries/20261206.QLE");
    EXPECT_EQ(members[1].CanonicalName(), "Entries/20261207.QLE");
    EXPECT_EQ(members[2].kind, MemberKind::Settings);
    EXPECT_EQ(archive.ReadMember(members[0]), rtf);
    EXPECT_EQ(archive.ReadMember(members[1]), sealed);
    EXPECT_EQ(members[1].size, sealed.size());
}

TEST_F(BackupArchiveFiles, HostileOrForeignArchivesAreRefusedWithTheReason)
{
    ArchiveLimits small;
    small.maxMembers = 3;
    small.maxEntrySize = 100;
    small.maxSettingsSize = 10;
    small.maxTotalSize = 150;
    const std::string ninety(90, 'x');
    struct Row {
        const char* what;
        std::vector<Member> members;
        const char* reason;
    };
    const Row rows[] = {
        {"a path out of the folder", {{"Entries/20240101.QLE", rtf}, {"../../.bashrc", "evil"}},
         "holds \"../../.bashrc\", which is neither a diary entry nor QL.INI"},
        {"an absolute name", {{"/tmp/QL.INI", "x"}}, "\"/tmp/QL.INI\", which is neither"},
        {"a name with .. inside", {{"Entries/../QL.INI", "x"}}, "\"Entries/../QL.INI\", which is neither"},
        {"a control character", {{std::string("Entries/2024\x01" "0101.QLE"), "x"}}, "\"Entries/2024?0101.QLE\""},
        {"a link", {{"Entries/20240101.QLE", "/etc/passwd", 0120777}}, "\"Entries/20240101.QLE\" is a link"},
        {"a device", {{"QL.INI", "", 020644}}, "\"QL.INI\" is not a plain file"},
        {"a file named as the folder", {{"Entries/", ""}, {"ql.ini/", ""}}, "which is neither"},
        {"the same day twice", {{"Entries/20240101.QLE", rtf}, {"ENTRIES/20240101.qle", rtf}},
         "\"Entries/20240101.QLE\" is in it twice"},
        {"nothing of a diary", {{"Entries/", ""}}, "it holds no entries and no QL.INI"},
        {"too many files",
         {{"Entries/20240101.QLE", "a"}, {"Entries/20240102.QLE", "b"}, {"Entries/20240103.QLE", "c"},
          {"Entries/20240104.QLE", "d"}},
         "it holds more files (4) than a diary backup can"},
        {"too large an entry", {{"Entries/20240101.QLE", std::string(101, 'x')}}, "is larger (101 bytes)"},
        {"too large settings", {{"QL.INI", std::string(11, 'x')}}, "\"QL.INI\" is larger"},
        {"too much in all", {{"Entries/20240101.QLE", ninety}, {"Entries/20240102.QLE", ninety}}, "it unpacks to more"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string refusal = Refusal(Zip(row.members), small);
        EXPECT_NE(refusal.find("test.zip is not a usable diary backup: "), std::string::npos) << refusal;
        EXPECT_NE(refusal.find(row.reason), std::string::npos) << refusal;
    }
}

TEST_F(BackupArchiveFiles, DamagedArchivesAreRefused)
{
    const std::string sound = Zip({{"Entries/20240101.QLE", rtf, 0100644, true}, {"QL.INI", "[Icons]\n"}});
    ASSERT_EQ(Refusal(sound), "");

    std::string flipped = sound;
    flipped[flipped.find("Dear")] ^= 0x20;  // one bit of a stored entry
    EXPECT_NE(Refusal(flipped).find("\"Entries/20240101.QLE\" is damaged"), std::string::npos) << Refusal(flipped);

    // No bytes at all read as an empty archive: nothing of a diary.
    EXPECT_NE(Refusal("").find("it holds no entries and no QL.INI"), std::string::npos) << Refusal("");
    for (const std::size_t length : {std::size_t(10), sound.size() / 2, sound.size() - 1}) {
        SCOPED_TRACE(length);
        EXPECT_NE(Refusal(sound.substr(0, length)).find("not a sound zip archive"), std::string::npos)
            << Refusal(sound.substr(0, length));
    }
    EXPECT_NE(Refusal("not a zip at all").find("not a sound zip archive"), std::string::npos);
}

TEST_F(BackupArchiveFiles, MemberThatUnpacksToMoreThanItSaysIsCutOffAndRefused)
{
    // Ten megabytes of zeros pack into a few kilobytes; the headers are made to say 100 bytes,
    // which every limit allows.
    const std::string bomb = zipfixture::StateUnpackedSize(Zip({{"Entries/20240101.QLE", std::string(10 << 20, '\0')}}), 100);
    const auto archive = BackupArchive::OpenBytes(bomb, "bomb.zip");
    const auto members = archive.Catalogue();
    ASSERT_EQ(members.size(), 1u);
    ASSERT_EQ(members[0].size, 100u);
    std::size_t handedOut = 0;
    try {
        archive.ReadMember(members[0], [&](std::string_view piece) { handedOut += piece.size(); });
        FAIL() << "the bomb was read whole";
    } catch (const Error& error) {
        EXPECT_NE(std::string(error.what()).find("\"Entries/20240101.QLE\""), std::string::npos) << error.what();
    }
    EXPECT_LE(handedOut, 100u);
}

TEST_F(BackupArchiveFiles, MissingFileSaysItCannotBeOpened)
{
    try {
        BackupArchive::OpenFile(folder.path() / "none.zip");
        FAIL();
    } catch (const Error& error) {
        EXPECT_NE(std::string(error.what()).find("none.zip is not a usable diary backup: it cannot be opened"),
                  std::string::npos)
            << error.what();
    }
}

} // namespace
} // namespace quillory
