// The main window without a mouse: F1 opens the help, the hints of the buttons name their keys,
// and the keyboard is back in the entry when a dialog closes.
#include "app/forms/Main.h"

#include "TempFolder.h"
#include "app/forms/Help.h"
#include "app/forms/Lookfor.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/ModalRunner.h"
#include "richtext/qt/RichText.h"
#include "richtext/qt/ToolBar.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

namespace quillory {
namespace {

class Keyboard : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(folder.withSlash());
        folder.write("QL.INI", "[Opening Screen]\nshow=0\n");
        window = std::make_unique<TMainScreen>();
        window->FormActivate();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->WPRichText1->setFocus();
    }
    void TearDown() override
    {
        window.reset();
        SetProgramFolder(previousFolder);
    }

    TempFolder folder;
    std::string previousFolder = DiaryFolder();
    std::unique_ptr<TMainScreen> window;
};

TEST_F(Keyboard, F1OpensTheHelp)
{
    EXPECT_EQ(window->Contents1->shortcut(), QKeySequence(Qt::Key_F1));
    QTest::keyClick(window->WPRichText1, Qt::Key_F1);
    auto* help = window->findChild<THelpWindow*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
}

TEST_F(Keyboard, HintsNameTheirKeys)
{
    const struct {
        ToolIconId icon;
        const char* hint;
    } rows[] = {
        {ToolIconId::SelBold, "Bold (Ctrl+B)"},
        {ToolIconId::SelCopy, "Copy (Ctrl+C)"},
        {ToolIconId::SelFind, "Find (Ctrl+F)"},
        {ToolIconId::SelSpellCheck, "Spell Check (Alt+S)"},
    };
    for (const auto& row : rows) {
        QToolButton* button = window->WPToolBar2->IconButton(row.icon);
        ASSERT_NE(button, nullptr) << row.hint;
        EXPECT_EQ(button->toolTip().toStdString(), row.hint);
        // The name a screen reader says stays the plain word.
        EXPECT_FALSE(button->accessibleName().contains(u'('));
    }
    EXPECT_EQ(window->Printbutton->toolTip().toStdString(), "Print diary entries (Ctrl+P)");
}

TEST_F(Keyboard, FocusReturnsToTheEntryAfterADialog)
{
    ModalScript script;
    script.Then<TLookForAll>([](TLookForAll& dialog) {
        // The person tabs around inside the dialog before closing it.
        dialog.show();
        dialog.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
        dialog.LookForText->setFocus();
        QCoreApplication::processEvents();
        EXPECT_NE(QApplication::focusWidget(), nullptr);
        return int(QDialog::Rejected);
    });
    window->mnuFindentrycontainingClick();
    EXPECT_TRUE(script.Finished());
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), window->WPRichText1);
}

} // namespace
} // namespace quillory
