// The main window in German: every text it shows (menus, buttons, hints, names for screen
// readers) is checked against the shipped translation, so that no English is left where a
// translation exists; dates take the locale's long form.
#include "app/forms/Main.h"

#include "TempFolder.h"
#include "app/forms/Translations.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/DateNames.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTranslator>
#include <gtest/gtest.h>

#include <memory>

namespace quillory {
namespace {

class GermanWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        ASSERT_TRUE(InstallTranslations(QLocale(QLocale::German, QLocale::Germany),
                                        QStringLiteral(QUILLORY_DIST_DATA "/translations")));
        SetProgramFolder(folder.withSlash());
        folder.write("QL.INI", "[Opening Screen]\nshow=0\n");
        window = std::make_unique<TMainScreen>();
    }
    void TearDown() override
    {
        window.reset();
        SetProgramFolder(previousFolder);
        QLocale::setDefault(QLocale::c());
        for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }

    TempFolder folder;
    std::string previousFolder = DiaryFolder();
    std::unique_ptr<TMainScreen> window;
};

void CollectMenu(QMenu* menu, QStringList& texts)
{
    texts << menu->title();
    for (QAction* action : menu->actions()) {
        texts << action->text() << action->toolTip();
        if (action->menu())
            CollectMenu(action->menu(), texts);
    }
}

TEST_F(GermanWindow, NoEnglishLeftWhereATranslationExists)
{
    QStringList texts{window->windowTitle(), window->accessibleName()};
    for (QAction* action : window->menuBar()->actions())
        if (action->menu())
            CollectMenu(action->menu(), texts);
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        texts << widget->toolTip() << widget->accessibleName() << widget->accessibleDescription();
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            texts << button->text();
        if (auto* label = qobject_cast<QLabel*>(widget))
            texts << label->text();
    }
    texts.removeAll(QString());
    ASSERT_GT(texts.size(), 60);
    const char* const contexts[] = {"MainScreen", "quillory::TMainScreen"};
    QStringList english;
    for (const QString& text : texts)
        for (const char* context : contexts)
            if (QCoreApplication::translate(context, text.toUtf8().constData()) != text)
                english << text;
    EXPECT_TRUE(english.isEmpty()) << english.join(QStringLiteral(" | ")).toStdString();

    // The menus as a German reader sees them.
    QStringList menus;
    for (QAction* action : window->menuBar()->actions())
        menus << action->text();
    EXPECT_EQ(menus.join(QLatin1Char(',')).toStdString(), "&Datei,&Bearbeiten,&Suchen,&Hilfe");
    EXPECT_EQ(window->findChild<QAbstractButton*>(QStringLiteral("BitBtn1"))->text().toStdString(), "Heute");
}

TEST_F(GermanWindow, LongDatesInTheLocalesForm)
{
    EXPECT_EQ(LongDateCaption(*Day::FromDate(2026, 12, 11)).toStdString(), "Freitag, 11. Dezember 2026");
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    EXPECT_EQ(LongDateCaption(*Day::FromDate(2026, 12, 11)).toStdString(), "vendredi 11 décembre 2026");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(LongDateCaption(*Day::FromDate(2026, 12, 11)).toStdString(), "Friday, December 11, 2026");
}

} // namespace
} // namespace quillory
