// A restore that a crash cut off after its commit is finished by the next start, before the
// opening password is asked for: the password the gate expects is the restored diary's.
#include "app/forms/Startup.h"

#include "TempFolder.h"
#include "ZipFixture.h"
#include "app/DiaryBackup.h"
#include "app/DiaryRestore.h"
#include "app/DiarySecurity.h"
#include "app/forms/Opasswrd.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/SingleInstance.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace quillory {
namespace {

namespace fs = std::filesystem;

struct Crash {};

TEST(RestoreAtStartTest, StartFinishesACommittedRestoreBeforeAskingForThePassword)
{
    TempFolder diary;
    TempFolder elsewhere;
    const std::string previous = DiaryFolder();
    SetProgramFolder(diary.withSlash());
    diary.write("Entries/20261206.QLE", "{\\rtf1 backed up}");
    IniFile settings(SettingsFileName());
    WriteDiarySecurity(settings, LegacySecurity("abc"));
    settings.UpdateFile();
    BackUpDiary(elsewhere.path() / "backup.zip");
    const auto backedUp = zipfixture::Snapshot(diary.path());

    // Since then: no password, another entry; then a restore cut off with Entries moved aside.
    fs::remove(diary.path() / "QL.INI");
    diary.write("Entries/20261207.QLE", "{\\rtf1 later}");
    RestoreObserver observer;
    observer.checkpoint = [](RestorePoint point) {
        if (point == RestorePoint::EntriesMovedAside)
            throw Crash{};
    };
    EXPECT_THROW(RestoreDiary(elsewhere.path() / "backup.zip", observer), Crash);
    EXPECT_FALSE(fs::exists(diary.path() / "Entries"));

    MessageBoxScript boxes;
    ModalScript gate;
    gate.Then<TGetOpeningPassword>([](TGetOpeningPassword& dialog) {
        QTest::keyClicks(dialog.Pass, "abc");
        dialog.BitBtn1Click();
        return ModalScript::kKeepResult;
    });
    InstanceLock lock(QString::fromStdString(elsewhere.path().string()));
    int windows = 0;
    EXPECT_EQ(StartQuillory(lock, {[&] { ++windows; }, [&] { ++windows; }}), StartupOutcome::Started);
    EXPECT_TRUE(gate.Finished());
    EXPECT_EQ(windows, 2);

    auto now = zipfixture::Snapshot(diary.path());
    for (auto it = now.begin(); it != now.end();)
        it = it->first.starts_with("Diary before restore") ? now.erase(it) : std::next(it);
    EXPECT_EQ(now, backedUp);
    SetProgramFolder(previous);
}

} // namespace
} // namespace quillory
