// The help window opened from Help > Contents: the contents built from the shipped pages, a page
// followed from it and back, and a program folder without pages.
#include "EditingTestFixture.h"

#include "app/forms/Help.h"

#include <QAction>
#include <QTextBrowser>
#include <QUrl>

#include <filesystem>

namespace quillory {
namespace {

namespace fs = std::filesystem;

THelpWindow* HelpOf(TMainScreen& window)
{
    return window.findChild<THelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
}

TEST_F(EditingTest, ContentsListsTheShippedPagesAndLinksLeadToThem)
{
    const fs::path shipped = fs::path(QUILLORY_CORPORA).parent_path().parent_path() / "resources" / "help";
    fs::copy(shipped, folder.path() / "help");
    auto window = Open();
    ASSERT_TRUE(window->Contents1->isEnabled());
    window->Contents1->trigger();
    THelpWindow* help = HelpOf(*window);
    ASSERT_TRUE(help);
    EXPECT_TRUE(help->isVisible());
    const QString contents = help->Browser->toPlainText();
    for (const char* topic : {"Writing and formatting", "Moving between days", "Passwords", "Your files and backups",
                              "The command line"})
        EXPECT_TRUE(contents.contains(QLatin1String(topic))) << topic;
    EXPECT_FALSE(help->BackButton->isEnabled());

    emit help->Browser->anchorClicked(QUrl(QStringLiteral("10-passwords.html")));
    EXPECT_EQ(help->CurrentPage(), QStringLiteral("10-passwords.html"));
    EXPECT_TRUE(help->Browser->toPlainText().contains(QLatin1String("keeps a casual reader out")));
    EXPECT_TRUE(help->BackButton->isEnabled());
    help->BackButton->click();
    EXPECT_EQ(help->CurrentPage(), QString());
    EXPECT_EQ(help->Browser->toPlainText(), contents);

    // A second Contents shows the same window again, at the contents.
    emit help->Browser->anchorClicked(QUrl(QStringLiteral("02-writing.html")));
    help->close();
    window->Contents1->trigger();
    EXPECT_EQ(HelpOf(*window), help);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->CurrentPage(), QString());
}

TEST_F(EditingTest, HelpWithoutItsPagesSaysWhereTheyBelong)
{
    auto window = Open();
    window->Contents1->trigger();
    THelpWindow* help = HelpOf(*window);
    ASSERT_TRUE(help);
    EXPECT_TRUE(help->Browser->toPlainText().contains(QLatin1String("The help pages are missing")));
    // A link to a page that is not there leads to the contents.
    emit help->Browser->anchorClicked(QUrl(QStringLiteral("04-calendar.html")));
    EXPECT_EQ(help->CurrentPage(), QString());
}

} // namespace
} // namespace quillory
