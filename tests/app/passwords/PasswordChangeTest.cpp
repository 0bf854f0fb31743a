// Re-keying all entries: set, change, case-only change and clear; nothing done for the same
// password; all or nothing on failure; and a crash at every step, then a restart.
#include "app/PasswordChange.h"

#include "PasswordDiary.h"
#include "platform/Error.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

using namespace quillory;
using quillory::testing_support::Crash;
using quillory::testing_support::PasswordDiary;
using quillory::testing_support::RunUntil;

namespace {

struct Change { std::string oldPassword; std::string newPassword; };

const Change kChanges[] = {
    {"", "Secret 1"},      // set
    {"Secret 1", "other"}, // change
    {"abc", "ABC"},        // letter case only: still re-keyed, with the same keystream
    {"Secret 1", ""},      // clear
};

TEST(PasswordChangeTest, ReKeysEveryEntryAndStoresTheNewPassword)
{
    for (const auto& change : kChanges) {
        SCOPED_TRACE("'" + change.oldPassword + "' -> '" + change.newPassword + "'");
        PasswordDiary diary(change.oldPassword);
        std::vector<std::pair<int, int>> progress;
        RekeyObserver observer;
        observer.progress = [&](int done, int total) { progress.emplace_back(done, total); };

        EXPECT_EQ(CountEntryFiles(), 3);
        ProcessPassword(change.oldPassword, change.newPassword, observer);

        diary.ExpectOpensWith(change.newPassword);
        EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));
    }
}

TEST(PasswordChangeTest, SamePasswordTouchesNothing)
{
    PasswordDiary diary("Same");
    const auto before = diary.EntryBytes();
    std::filesystem::remove(diary.Path() / "QL.INI");
    int calls = 0;
    RekeyObserver observer;
    observer.progress = [&](int, int) { ++calls; };
    observer.checkpoint = [&](RekeyPoint) { ++calls; };

    ProcessPassword("Same", "Same", observer);

    EXPECT_EQ(calls, 0);
    EXPECT_EQ(diary.EntryBytes(), before);
    EXPECT_FALSE(std::filesystem::exists(diary.Path() / "QL.INI"));
}

TEST(PasswordChangeTest, EmptyOrMissingEntriesFolderStillChangesThePassword)
{
    PasswordDiary diary("", 0);
    ProcessPassword("", "new");
    diary.ExpectOpensWith("new");

    std::filesystem::remove_all(diary.Path() / "Entries");
    EXPECT_EQ(CountEntryFiles(), 0);
    ProcessPassword("new", "");
    EXPECT_EQ(diary.Stored(), "");
}

TEST(PasswordChangeTest, AFailedStepPutsEverythingBack)
{
    // Before the change could happen, a failing read, write or settings update leaves every
    // entry in its old state with the old password stored - not half the diary re-keyed.
    for (const RekeyPoint failing : {RekeyPoint::JournalWritten, RekeyPoint::FileStaged, RekeyPoint::SettingsWritten}) {
        SCOPED_TRACE(static_cast<int>(failing));
        PasswordDiary diary("old");
        const auto before = diary.EntryBytes();
        RekeyObserver observer;
        int staged = 0;
        observer.checkpoint = [&](RekeyPoint point) {
            if (point == RekeyPoint::FileStaged && ++staged < 2)
                return;
            if (point == failing)
                throw Error("Cannot create file Entries.rekey/20261202.QLE");
        };
        EXPECT_THROW(ProcessPassword("old", "new", observer), Error);
        diary.ExpectOpensWith("old");
        EXPECT_EQ(diary.EntryBytes(), before);
    }
}

TEST(PasswordChangeTest, AFailureAfterTheChangeIsRetriedThenLeftToTheNextStart)
{
    for (const int failures : {1, 100}) {
        PasswordDiary diary("old");
        RekeyObserver observer;
        int left = failures;
        observer.checkpoint = [&](RekeyPoint point) {
            if (point == RekeyPoint::FileSwapped && left-- > 0)
                throw Error("Cannot create file Entries/20261202.QLE");
        };
        if (failures == 1) {
            ProcessPassword("old", "new", observer);  // the second try moves the rest
        } else {
            EXPECT_THROW(ProcessPassword("old", "new", observer), RekeyIncomplete);
            EXPECT_EQ(diary.Stored(), "new");  // the change happened
            EXPECT_TRUE(std::filesystem::exists(diary.Path() / "Rekeying.ini"));
            EXPECT_TRUE(RecoverPasswordChange());
        }
        diary.ExpectOpensWith("new");
    }
}

TEST(PasswordChangeTest, AFolderNamedLikeAnEntryIsLeftAlone)
{
    PasswordDiary diary("old");
    std::filesystem::create_directory(diary.Path() / "Entries/20261231.QLE");
    EXPECT_EQ(CountEntryFiles(), 3);
    ProcessPassword("old", "new");
    EXPECT_TRUE(std::filesystem::is_directory(diary.Path() / "Entries/20261231.QLE"));
    std::filesystem::remove(diary.Path() / "Entries/20261231.QLE");
    diary.ExpectOpensWith("new");
}

TEST(PasswordChangeTest, ACrashAtAnyStepIsCompletedOrUndoneAtTheNextStart)
{
    for (const auto& change : kChanges) {
        std::vector<RekeyPoint> all;
        {
            PasswordDiary diary(change.oldPassword);
            all = RunUntil(change.oldPassword, change.newPassword, -1);
        }
        ASSERT_GE(all.size(), 10u);  // journal, 3 staged, settings, commit, 3 swapped, tidying
        for (int stop = 1; stop <= static_cast<int>(all.size()); ++stop) {
            SCOPED_TRACE("'" + change.oldPassword + "' -> '" + change.newPassword + "', crash after " +
                         std::to_string(stop) + " steps");
            PasswordDiary diary(change.oldPassword);
            const auto passed = RunUntil(change.oldPassword, change.newPassword, stop);
            const bool committed = std::find(passed.begin(), passed.end(), RekeyPoint::Committed) != passed.end();

            RecoverPasswordChange();  // the next start

            diary.ExpectOpensWith(committed ? change.newPassword : change.oldPassword);
        }
    }
}

TEST(PasswordChangeTest, ACrashDuringRecoveryIsRecoveredAgain)
{
    const Change change{"old", "new"};
    for (const bool committed : {false, true}) {
        for (int stop = 0;; ++stop) {
            SCOPED_TRACE("committed " + std::to_string(committed) + ", recovery stopped after " + std::to_string(stop));
            PasswordDiary diary(change.oldPassword);
            // Crash right after the commit, or right after the settings were written.
            const auto crashed = RunUntil(change.oldPassword, change.newPassword, committed ? 6 : 5);
            ASSERT_EQ(crashed.back(), committed ? RekeyPoint::Committed : RekeyPoint::SettingsWritten);

            int passed = 0;
            RekeyObserver observer;
            observer.checkpoint = [&](RekeyPoint) {
                if (passed++ == stop)
                    throw Crash{};
            };
            bool finished = true;
            try {
                RecoverPasswordChange(observer);
            } catch (const Crash&) {
                finished = false;
            }
            const bool journalLeft = std::filesystem::exists(diary.Path() / "Rekeying.ini");
            EXPECT_EQ(RecoverPasswordChange(), journalLeft);
            diary.ExpectOpensWith(committed ? change.newPassword : change.oldPassword);
            if (finished)
                break;
        }
    }
}

TEST(PasswordChangeTest, ALeftoverJournalIsSettledBeforeTheNextChange)
{
    PasswordDiary diary("a");
    EXPECT_EQ(RunUntil("a", "b", 6).back(), RekeyPoint::Committed);  // crashed just after it
    ProcessPassword("b", "c");
    diary.ExpectOpensWith("c");
}

} // namespace
