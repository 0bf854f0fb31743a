// The message boxes reach the user only through the responder, cut to 255 characters.
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/PrinterList.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

using namespace quillory;

TEST(MessageBoxes, AskConfirmIsYesNoCaptionedConfirm)
{
    MessageBoxScript script;
    script.Answer(MessageResult::Yes).Answer(MessageResult::No);
    EXPECT_TRUE(AskConfirm("Delete this entry?"));
    EXPECT_FALSE(AskConfirm("Really?"));
    ASSERT_EQ(script.Shown().size(), 2u);
    EXPECT_EQ(script.Shown()[0].caption, "Confirm");
    EXPECT_EQ(script.Shown()[0].text, "Delete this entry?");
    EXPECT_EQ(script.Shown()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(script.Shown()[0].icon, MessageIcon::Question);
}

TEST(MessageBoxes, ShowInformationIsOkCaptionedInformation)
{
    MessageBoxScript script;
    ShowInformation("No more occurrences found.");
    ASSERT_EQ(script.Shown().size(), 1u);
    EXPECT_EQ(script.Shown()[0].caption, "Information");
    EXPECT_EQ(script.Shown()[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(script.Shown()[0].icon, MessageIcon::Information);
}

TEST(MessageBoxes, TextsAndCaptionsAreCutTo255Characters)
{
    MessageBoxScript script;
    const QString longText(300, QChar('t'));
    const QString longCaption(256, QChar('c'));
    EXPECT_EQ(ShowMessageBox(longText, longCaption, MessageButtons::OkCancel), MessageResult::Ok);
    ShowMessageBox(QString(255, QChar('e')), "short", MessageButtons::Ok);
    // A character outside the basic plane straddling the cut is dropped whole.
    ShowMessageBox(QString(254, QChar('s')) + QString::fromUcs4(U"\U0001F600", 1), "", MessageButtons::Ok);

    ASSERT_EQ(script.Shown().size(), 3u);
    EXPECT_EQ(script.Shown()[0].text, longText.left(255));
    EXPECT_EQ(script.Shown()[0].caption, longCaption.left(255));
    EXPECT_EQ(script.Shown()[1].text.size(), 255);
    EXPECT_EQ(script.Shown()[2].text, QString(254, QChar('s')));
}

TEST(MessageBoxes, TheRealBoxShowsTheTextAndReturnsTheButtonPressed)
{
    // No script: a timer plays the person and presses No on the box that comes up.
    QString caption, text;
    QTimer presser;
    QObject::connect(&presser, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            caption = box->windowTitle();
            text = box->text();
            box->button(QMessageBox::No)->click();
        }
    });
    presser.start(10);
    EXPECT_FALSE(AskConfirm("Old file format detected.\rConvert now?"));
    EXPECT_EQ(caption, "Confirm");
    EXPECT_EQ(text, "Old file format detected.\nConvert now?");  // a lone CR breaks the line
}

TEST(MessageBoxes, ScriptsNestAndRestoreTheirPredecessor)
{
    MessageBoxScript outer;
    outer.Answer(MessageResult::No);
    {
        MessageBoxScript inner;
        EXPECT_TRUE(AskConfirm("inner"));  // unscripted: the first button
        EXPECT_EQ(inner.Shown().size(), 1u);
    }
    EXPECT_FALSE(AskConfirm("outer"));
    EXPECT_EQ(outer.Shown().size(), 1u);
}

TEST(ModalRunner, AScriptFillsTheDialogAndChoosesTheResult)
{
    ModalScript script;
    script.Then<QDialog>([](QDialog& dialog) {
        dialog.findChild<QLineEdit*>("LookForText")->setText("holiday");
        dialog.accept();  // the dialog's own OK handler would do this
        return ModalScript::kKeepResult;
    });
    script.Then([](QDialog&) { return int(QDialog::Rejected); });

    QDialog query;
    auto* edit = new QLineEdit(&query);
    edit->setObjectName("LookForText");
    EXPECT_EQ(RunModal(query), QDialog::Accepted);
    EXPECT_EQ(query.result(), QDialog::Accepted);
    EXPECT_EQ(edit->text(), "holiday");

    QDialog second;
    EXPECT_EQ(RunModal(second), QDialog::Rejected);
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(script.Unexpected().empty());
}

TEST(ModalRunner, AnUnexpectedDialogIsRejectedAndRecorded)
{
    ModalScript script;
    QDialog surprise;
    EXPECT_EQ(RunModal(surprise), QDialog::Rejected);
    ASSERT_EQ(script.Unexpected().size(), 1u);
    EXPECT_EQ(script.Unexpected()[0], "QDialog");
}

TEST(PrinterList, ATestDecidesWhichPrintersExist)
{
    {
        ScopedPrinterNames none({});
        EXPECT_TRUE(InstalledPrinterNames().isEmpty());
        ScopedPrinterNames two({"Laser", "Inkjet"});
        EXPECT_EQ(InstalledPrinterNames(), QStringList({"Laser", "Inkjet"}));
    }
    // Back on the system's list, which needs no script to be read.
    (void)InstalledPrinterNames();
}
