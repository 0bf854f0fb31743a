// The bar above the page for a day with other versions (sync tools' conflict copies), driven
// through the real main window with keys and clicks: shown for the day on screen, View, Append,
// Use and Dismiss, and never losing a text on the way.
#include "../editing/EditingTestFixture.h"

#include "app/EntryFiles.h"
#include "app/EntryText.h"
#include "app/EntryVersions.h"
#include "app/forms/VersionBar.h"
#include "richtext/qt/RichText.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <sodium.h>

#include <algorithm>
#include <filesystem>

namespace quillory {
namespace {

namespace fs = std::filesystem;

const std::string kMorning = "{\\rtf1\\ansi Morning}";
const std::string kThere = "{\\rtf1\\ansi Written there}";
const std::string kCopy = "20261206.sync-conflict-20261206-081500-ABCDEFG.QLE";
const std::string kDropbox = "20261206 (Alice's conflicted copy 2026-12-06).QLE";

class VersionBarTest : public EditingTest {
protected:
    void SetUp() override
    {
        EditingTest::SetUp();
        fs::create_directories(folder.path() / "Entries");
        WriteEntry(kToday, kMorning, "");
    }
    void Copy(const std::string& name, std::string_view bytes) const { folder.write("Entries/" + name, bytes); }
    bool InEntries(const std::string& name) const { return fs::exists(folder.path() / "Entries" / name); }
    static TVersionBar& Bar(TMainScreen& window) { return *window.VersionBar; }
    static QString Message(TMainScreen& window) { return Bar(window).Message->text(); }
    // The entry's paragraphs on disk, one line each.
    static std::string EntryText()
    {
        std::string text;
        ForEachEntryParagraph(ReadEntry(kToday, ""), [&](std::string_view p) {
            text += std::string(p) + "\n";
            return false;
        });
        return text;
    }
    // A button's Alt key, as a person presses it: the button then clicks itself a moment later.
    static void Alt(TMainScreen& window, Qt::Key key)
    {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &window, key, Qt::AltModifier);
        const auto buttons = window.findChildren<QPushButton*>();
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return std::none_of(buttons.begin(), buttons.end(), [](QPushButton* b) { return b->isDown(); });
        }, 5000));
        QCoreApplication::processEvents();
    }
};

TEST_F(VersionBarTest, TheBarShowsTheVersionsOfTheDayOnScreenAndNewOnesAsTheyArrive)
{
    Copy(kCopy, kThere);
    Copy("20261207 (conflicted copy 2026-12-07).QLE", kThere);
    Copy("20261205 copy.QLE", kThere);  // no version of any day
    auto window = Open();
    ASSERT_TRUE(Bar(*window).isVisible());
    EXPECT_EQ(Message(*window), "This day has 1 other version from another computer");
    EXPECT_EQ(Text(*window), "Morning\n");  // the page is the entry, not the version

    Key(*window, Qt::Key_PageUp, Qt::ControlModifier);  // the day before: nothing to show
    EXPECT_EQ(window->CurrentDay, kToday - 1);
    EXPECT_FALSE(Bar(*window).isVisible());
    Alt(*window, Qt::Key_N);  // Next: back to the day with a version
    EXPECT_EQ(window->CurrentDay, kToday);
    EXPECT_TRUE(Bar(*window).isVisible());

    // A sync tool brings another copy while the day is on screen.
    Copy(kDropbox, kThere);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Bar(*window).Versions().size() == 2; }, 5000));
    EXPECT_EQ(Message(*window), "This day has 2 other versions from another computer");
    EXPECT_EQ(Bar(*window).Choice->count(), 2);
}

TEST_F(VersionBarTest, ViewShowsTheVersionReadOnlyInAWindowOfItsOwn)
{
    Copy(kCopy, kThere);
    auto window = Open();
    Alt(*window, Qt::Key_V);
    QDialog* shown = window->findChild<QDialog*>(QStringLiteral("VersionWindow"));
    ASSERT_TRUE(shown);
    EXPECT_TRUE(shown->isVisible());
    auto* text = shown->findChild<TWPRichText*>(QStringLiteral("VersionText"));
    ASSERT_TRUE(text);
    EXPECT_EQ(DumpText(text->RtfText()), "Written there\n");
    QTest::keyClicks(text, "typed");
    EXPECT_EQ(DumpText(text->RtfText()), "Written there\n");
    EXPECT_EQ(folder.read("Entries/" + kCopy), kThere);
    EXPECT_TRUE(window->SaveButton->isHidden());
    shown->close();
}

TEST_F(VersionBarTest, AppendKeepsTheUnsavedPageAndTheVersionAndSetsTheCopyAside)
{
    Copy(kCopy, kThere);
    auto window = Open();
    Type(*window, "Evening ");
    ASSERT_TRUE(Changed(*window));
    Alt(*window, Qt::Key_A);

    EXPECT_EQ(EntryText(), "Evening Morning\nWritten there\n");
    EXPECT_EQ(Text(*window), "Evening Morning\nWritten there\n");
    EXPECT_FALSE(Changed(*window));
    EXPECT_FALSE(Bar(*window).isVisible());
    EXPECT_FALSE(InEntries(kCopy));
    EXPECT_EQ(folder.read("Old versions/" + kCopy), kThere);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(VersionBarTest, UseMakesTheVersionTheEntryAndKeepsMineAsAVersion)
{
    Copy(kCopy, kThere);
    auto window = Open();
    QTest::mouseClick(Bar(*window).UseButton, Qt::LeftButton);

    EXPECT_EQ(Text(*window), "Written there\n");
    EXPECT_EQ(ReadEntry(kToday, ""), kThere);
    ASSERT_EQ(Bar(*window).Versions().size(), 1u);
    const EntryVersion& mine = Bar(*window).Versions()[0];
    EXPECT_EQ(mine.source, VersionSource::ReplacedHere);
    EXPECT_EQ(ReadVersion(mine, ""), kMorning);
    EXPECT_EQ(Message(*window), "This day has 1 other version");
    EXPECT_EQ(folder.read("Old versions/" + kCopy), kThere);

    // Used back again: the first text is the entry once more, the second kept as a version.
    Alt(*window, Qt::Key_U);
    EXPECT_EQ(Text(*window), "Morning\n");
    ASSERT_EQ(Bar(*window).Versions().size(), 1u);
    EXPECT_EQ(ReadVersion(Bar(*window).Versions()[0], ""), kThere);
}

TEST_F(VersionBarTest, DismissAsksFirstAndKeepsTheCopyInOldVersions)
{
    Copy(kCopy, kThere);
    Copy(kDropbox, "{\\rtf1\\ansi Dropbox}");
    auto window = Open();
    ASSERT_EQ(Bar(*window).Choice->count(), 2);
    Bar(*window).Choice->setCurrentIndex(1);
    const std::string chosen = Bar(*window).Versions()[1].Name();

    boxes.Answer(MessageResult::No);
    Alt(*window, Qt::Key_M);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].icon, MessageIcon::Question);
    EXPECT_TRUE(InEntries(chosen));

    boxes.Answer(MessageResult::Yes);
    QTest::mouseClick(Bar(*window).DismissButton, Qt::LeftButton);
    EXPECT_FALSE(InEntries(chosen));
    EXPECT_TRUE(fs::exists(folder.path() / "Old versions" / chosen));
    EXPECT_EQ(Bar(*window).Versions().size(), 1u);
    EXPECT_EQ(Message(*window), "This day has 1 other version from another computer");
    EXPECT_EQ(ReadEntry(kToday, ""), kMorning);
}

TEST_F(VersionBarTest, AVersionThatDoesNotOpenCanOnlyBeDismissed)
{
    // Sealed with another diary's key: not this diary's text to show or merge.
    const DiaryKey other = MakeStrongDiary("other", {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN}).key;
    const std::string sealed = EncodeEntry(other, "20261206", kThere);
    Copy(kCopy, sealed);
    auto window = Open();
    ASSERT_TRUE(Bar(*window).isVisible());
    EXPECT_FALSE(Bar(*window).ViewButton->isEnabled());
    EXPECT_FALSE(Bar(*window).AppendButton->isEnabled());
    EXPECT_FALSE(Bar(*window).UseButton->isEnabled());
    EXPECT_TRUE(Bar(*window).DismissButton->isEnabled());
    Alt(*window, Qt::Key_A);
    EXPECT_EQ(ReadEntry(kToday, ""), kMorning);
    EXPECT_EQ(folder.read("Entries/" + kCopy), sealed);
}

} // namespace
} // namespace quillory
