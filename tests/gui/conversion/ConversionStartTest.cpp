// The main window's creation over an old single-table diary: the question, the busy window
// while the entries are written, the closing notice, and the end of the start when the user
// says No or the table is damaged.
#include "app/forms/Main.h"

#include "LegacyFixture.h"
#include "app/forms/Convnot.h"
#include "platform/Clock.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/PrinterList.h"
#include "richtext/model/DocumentDump.h"
#include "richtext/qt/RichText.h"

#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace quillory {
namespace {

namespace fs = std::filesystem;
using testing_support::LegacyDiaryFolder;

const QString kQuestion = QStringLiteral(
    "Old file format detected. Would you like to\rconvert to the new file format now? (Press No\r"
    "if you wish to make backups of your datafiles\rfirst)");

class ConversionStartTest : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(previousLocale); }

    // Creates the main window while recording what every busy window shows.
    std::unique_ptr<TMainScreen> Create()
    {
        QTimer watch;
        watch.setInterval(0);
        QObject::connect(&watch, &QTimer::timeout, [this] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* notify = qobject_cast<TConvertNotify*>(widget);
                if (notify && notify->isVisible()
                    && (busyTexts.isEmpty() || busyTexts.back() != notify->Status->text()))
                    busyTexts << notify->Status->text();
            }
        });
        watch.start();
        return std::make_unique<TMainScreen>();
    }

    QStringList Texts() const
    {
        QStringList texts;
        for (const MessageBoxRequest& box : boxes.Shown())
            texts << box.text;
        return texts;
    }

    QLocale previousLocale;
    ScopedFixedToday today{*Day::FromDate(2026, 12, 6)};
    ScopedPrinterNames printers{QStringList()};
    MessageBoxScript boxes;
    QStringList busyTexts;
};

TEST_F(ConversionStartTest, YesConvertsShowsProgressAndOpensTheDiary)
{
    LegacyDiaryFolder diary("diary");
    diary.Folder().write("QL.INI", "[Opening Screen]\nshow=0\n");
    boxes.Answer(MessageResult::Yes);

    auto window = Create();

    ASSERT_TRUE(window->Created());
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[0].caption, QStringLiteral("Confirm"));
    EXPECT_EQ(boxes.Shown()[0].text, kQuestion);
    EXPECT_EQ(boxes.Shown()[1].caption, QStringLiteral("Information"));
    EXPECT_EQ(boxes.Shown()[1].text,
              QStringLiteral("The old diary has been converted: 6 entries written.\r6 records were left out "
                             "because their dates are not valid days. The old table files are unchanged."));
    // The busy window went through the records in the table's order.
    ASSERT_GE(busyTexts.size(), 2);
    EXPECT_TRUE(busyTexts.contains(QStringLiteral("Processing entry for 03/05/2024"))) << busyTexts.join(", ").toStdString();
    EXPECT_EQ(busyTexts.back(), QStringLiteral("Processing entry for 02/25/2024"));
    for (QWidget* widget : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<TConvertNotify*>(widget), nullptr) << "the busy window is gone";

    EXPECT_TRUE(fs::is_regular_file(diary.Path() / "Entries" / "20240305.QLE"));
    window->CurrentDay = *Day::FromDate(2024, 3, 5);
    window->FindDateRecord();
    window->LoadRichText();
    EXPECT_EQ(DumpText(window->WPRichText1->RtfText()), "March\n");

    // The next start finds Entries and asks nothing.
    window.reset();
    window = Create();
    EXPECT_TRUE(window->Created());
    EXPECT_EQ(boxes.Shown().size(), 2u);
}

TEST_F(ConversionStartTest, NoOrADamagedTableEndsTheStartAndAsksAgainNextTime)
{
    {
        LegacyDiaryFolder diary("sound-two");
        boxes.Answer(MessageResult::No);
        auto window = Create();
        EXPECT_FALSE(window->Created());
        EXPECT_EQ(Texts(), (QStringList{kQuestion, QStringLiteral("Terminating Quillory!")}));
        EXPECT_TRUE(busyTexts.isEmpty());
        EXPECT_FALSE(fs::exists(diary.Path() / "Entries"));
    }
    {
        LegacyDiaryFolder diary("broken-length-past-end");
        boxes.Answer(MessageResult::Yes);
        auto window = Create();
        EXPECT_FALSE(window->Created());
        const QStringList texts = Texts();
        ASSERT_EQ(texts.size(), 5);
        EXPECT_EQ(texts[2], kQuestion);
        EXPECT_EQ(texts[3], QStringLiteral("The old diary could not be converted; you will be asked again at the "
                                           "next start. Nothing has been changed.\rQUILLOR.FPT: the memo of "
                                           "record 2 reaches past the end of the file"));
        EXPECT_EQ(boxes.Shown()[3].icon, MessageIcon::Error);
        EXPECT_EQ(texts[4], QStringLiteral("Terminating Quillory!"));
        EXPECT_FALSE(fs::exists(diary.Path() / "Entries"));
        EXPECT_FALSE(fs::exists(diary.Path() / "Entries.convert"));
    }
}

} // namespace
} // namespace quillory
