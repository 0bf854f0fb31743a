// The main window opened on a fresh program folder, for the tests of its editing commands and
// of its saving into a synced folder.
#pragma once

#include "app/forms/Main.h"

#include "TempFolder.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/PrinterList.h"
#include "richtext/model/DocumentDump.h"
#include "richtext/qt/RichText.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace quillory {

class EditingTest : public ::testing::Test {
protected:
    static inline const Day kToday = *Day::FromDate(2026, 12, 6);

    void SetUp() override
    {
        SetProgramFolder(folder.withSlash());
        folder.write("QL.INI", "[Opening Screen]\nshow=0\n");
    }
    void TearDown() override { SetProgramFolder(previousFolder); }

    std::unique_ptr<TMainScreen> Open()
    {
        auto window = std::make_unique<TMainScreen>();
        window->FormActivate();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->WPRichText1->setFocus();
        return window;
    }

    // Each key is one pass of the event loop, as when a person types.
    static void Type(TMainScreen& window, const char* text)
    {
        for (const char* c = text; *c; ++c) {
            QTest::keyClicks(window.WPRichText1, QString(QLatin1Char(*c)));
            QCoreApplication::processEvents();
        }
    }
    static void Key(TMainScreen& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(window.WPRichText1, key, modifiers);
        QCoreApplication::processEvents();
    }
    static std::string Text(const TMainScreen& window) { return DumpText(window.WPRichText1->RtfText()); }
    static std::string Dump(const TMainScreen& window)
    {
        return DumpDocument(window.WPRichText1->RtfText(), DumpSegments::Joined);
    }
    static bool Changed(const TMainScreen& window) { return !window.SaveButton->isHidden(); }

    TempFolder folder;
    std::string previousFolder = DiaryFolder();
    ScopedFixedToday today{kToday};
    ScopedPrinterNames printers{QStringList()};
    MessageBoxScript boxes;
};

} // namespace quillory
