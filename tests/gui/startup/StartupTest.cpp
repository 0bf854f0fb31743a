// The program's start: one instance at a time, the printer test, the opening password, an
// interrupted password change settled before the password is asked for, the leftover plain
// copy removed, and the opening notice and about box.
#include "app/forms/Startup.h"

#include "app/forms/Openmess.h"
#include "app/forms/Opasswrd.h"
#include "app/forms/Splash.h"
#include "controls/UrlLabel.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/PrinterList.h"
#include "platform/qt/SingleInstance.h"
#include "tests/app/passwords/PasswordDiary.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSysInfo>
#include <QTest>
#include <fstream>
#include <gtest/gtest.h>

using namespace quillory;
using quillory::testing_support::PasswordDiary;
using quillory::testing_support::RunUntil;

namespace {

QString LockFolder(const PasswordDiary& diary)
{
    return QString::fromStdString((diary.Path()).string());
}

// The windows the main window's unit will create, recorded in order.
struct Windows {
    std::vector<std::string> created;
    StartupWindows steps()
    {
        return {[this] { created.push_back("main"); }, [this] { created.push_back("palette"); }};
    }
};

std::function<int(TGetOpeningPassword&)> Answer(QString password)
{
    return [password](TGetOpeningPassword& gate) {
        gate.show();
        QTest::keyClicks(gate.Pass, password);
        QTest::mouseClick(gate.BitBtn1, Qt::LeftButton);
        return gate.isVisible() ? static_cast<int>(QDialog::Rejected) : ModalScript::kKeepResult;
    };
}

TEST(StartupTest, SecondInstanceIsToldAndStops)
{
    PasswordDiary diary("");
    InstanceLock first(LockFolder(diary));
    ASSERT_FALSE(first.AlreadyRunning());

    // The second instance must not settle the first one's password change under its feet.
    RunUntil("", "key", 3);
    MessageBoxScript boxes;
    Windows windows;
    InstanceLock second(LockFolder(diary));
    EXPECT_EQ(StartQuillory(second, windows.steps()), StartupOutcome::AlreadyRunning);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown().front().text, QStringLiteral("Quillory! is already running"));
    EXPECT_EQ(boxes.Shown().front().caption, QStringLiteral("Information"));
    EXPECT_TRUE(windows.created.empty());
    EXPECT_TRUE(std::filesystem::exists(diary.Path() / "Rekeying.ini"));
}

TEST(StartupTest, LockIsHeldUntilReleasedAndALeftoverOneIsTakenOver)
{
    PasswordDiary diary("");
    {
        InstanceLock first(LockFolder(diary));
        EXPECT_FALSE(first.AlreadyRunning());
        EXPECT_FALSE(first.AlreadyRunning());  // asking again keeps it
        EXPECT_TRUE(InstanceLock(LockFolder(diary)).AlreadyRunning());
    }
    EXPECT_FALSE(InstanceLock(LockFolder(diary)).AlreadyRunning());

    // A lock of a program that died (its process number is gone) does not keep the diary shut.
    InstanceLock after(LockFolder(diary));
    std::ofstream(after.FileName().toStdString()) << "2147483646\nquillory\n"
                                                 << QSysInfo::machineHostName().toStdString() << "\n";
    EXPECT_FALSE(after.AlreadyRunning());

    // A folder where no lock can be made: the program simply runs.
    EXPECT_FALSE(InstanceLock(LockFolder(diary) + "/missing/folder").AlreadyRunning());
}

TEST(StartupTest, WithoutPasswordNoDialogThenMainWindowThenPalette)
{
    PasswordDiary diary("");
    ModalScript script;
    Windows windows;
    InstanceLock lock(LockFolder(diary));
    EXPECT_EQ(StartQuillory(lock, windows.steps()), StartupOutcome::Started);
    EXPECT_TRUE(script.Ran().empty());
    EXPECT_EQ(windows.created, (std::vector<std::string>{"main", "palette"}));
}

TEST(StartupTest, OpeningPasswordGate)
{
    struct Case { QString typed; StartupOutcome outcome; };
    const Case cases[] = {{"Key 1", StartupOutcome::Started}, {"key 1", StartupOutcome::Refused}};
    for (const auto& c : cases) {
        PasswordDiary diary("Key 1");
        MessageBoxScript boxes;
        ModalScript script;
        script.Then<TGetOpeningPassword>(Answer(c.typed));
        Windows windows;
        InstanceLock lock(LockFolder(diary));
        EXPECT_EQ(StartQuillory(lock, windows.steps()), c.outcome);
        EXPECT_EQ(windows.created.empty(), c.outcome == StartupOutcome::Refused);
    }
}

TEST(StartupTest, InterruptedPasswordChangeIsSettledBeforeThePasswordIsAsked)
{
    struct Case { int steps; std::string expected; };
    // Crashed while staging (undone) and right after the commit (completed).
    const Case cases[] = {{3, "old"}, {6, "new"}};
    for (const auto& c : cases) {
        PasswordDiary diary("old");
        RunUntil("old", "new", c.steps);
        ModalScript script;
        script.Then<TGetOpeningPassword>(Answer(QString::fromStdString(c.expected)));
        Windows windows;
        InstanceLock lock(LockFolder(diary));
        EXPECT_EQ(StartQuillory(lock, windows.steps()), StartupOutcome::Started) << c.expected;
        diary.ExpectOpensWith(c.expected);
    }
}

TEST(StartupTest, LeftoverPlainCopyIsDeleted)
{
    PasswordDiary diary("");
    std::ofstream(diary.Path() / "ERASEME.RTF") << "{\\rtf1 a deciphered entry}";
    Windows windows;
    InstanceLock lock(LockFolder(diary));
    StartQuillory(lock, windows.steps());
    EXPECT_FALSE(std::filesystem::exists(diary.Path() / "ERASEME.RTF"));
}

TEST(StartupTest, PrinterTest)
{
    struct Case { QStringList installed; QStringList kept; };
    const Case cases[] = {
        {{"Document Rendering Driver"}, {}},
        {{"Office Laser", "Document Rendering Driver"}, {"Office Laser", "Document Rendering Driver"}},
        {{"document rendering driver"}, {"document rendering driver"}},  // exactly "Rendering"
        {{"Office Laser"}, {"Office Laser"}},
        {{}, {}},
    };
    for (const auto& c : cases) {
        ScopedPrinterNames printers(c.installed);
        ApplyPrinterTest();
        EXPECT_EQ(InstalledPrinterNames(), c.kept) << c.installed.join(',').toStdString();
    }
}

TEST(StartupTest, OpeningNoticeRemembersDoNotShowAgain)
{
    for (const bool tick : {false, true}) {
        ModalScript script;
        script.Then<TShowOpeningMessage>([tick](TShowOpeningMessage& notice) {
            notice.show();
            EXPECT_FALSE(notice.DontShow->isChecked());
            if (tick)
                QTest::mouseClick(notice.DontShow, Qt::LeftButton, {}, QPoint(4, notice.DontShow->height() / 2));
            QTest::mouseClick(notice.OKButton, Qt::LeftButton);
            return ModalScript::kKeepResult;
        });
        EXPECT_EQ(ShowOpeningNotice(), !tick);
    }

    TShowOpeningMessage notice;
    EXPECT_EQ(notice.windowTitle(), QStringLiteral("Quillory!"));
    // The backup advice names this diary's folder and the command that backs it up, not the
    // Windows path "\\ENTRIES" of old.
    const QString advice = notice.Label3->text().remove(QChar(0x200B));
    QString folder = QString::fromStdString(DiaryFolder());
    folder.chop(1);
    EXPECT_TRUE(advice.contains(folder)) << advice.toStdString();
    EXPECT_TRUE(advice.contains(QStringLiteral("File > \"Back Up Diary...\""))) << advice.toStdString();
    EXPECT_FALSE(advice.contains(QLatin1Char('\\'))) << advice.toStdString();
    EXPECT_EQ(notice.size(), QSize(427, 230));
    EXPECT_EQ(notice.OKButton->geometry(), QRect(331, 170, 76, 35));
    EXPECT_EQ(notice.DontShow->pos(), QPoint(13, 184));
    EXPECT_EQ(notice.DontShow->text(), QStringLiteral("Do not show this message again"));
    EXPECT_EQ(notice.pos(), QPoint((800 - 427) / 2, (800 - 230) / 2));
}

TEST(StartupTest, AboutBoxShowsNameVersionAndTheDiaryFolder)
{
    PasswordDiary diary("");
    ModalScript script;
    QString name, version, link;
    script.Then<TSplashform>([&](TSplashform& about) {
        name = about.ProgramName->text();
        version = about.Version->text();
        link = about.FolderLink->Target();
        QTest::mouseClick(about.OKButton, Qt::LeftButton);
        return ModalScript::kKeepResult;
    });
    ShowAboutBox();
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(name, QStringLiteral("Quillory!"));
    EXPECT_TRUE(version.startsWith(QStringLiteral("Version "))) << version.toStdString();
    EXPECT_TRUE(link.startsWith(QStringLiteral("file://"))) << link.toStdString();
}

} // namespace
