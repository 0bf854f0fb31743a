// The password dialogs driven as a person would: keys into the fields, clicks on the buttons,
// with the message boxes recorded and the resulting entry files and settings checked.
#include "app/forms/Getpass.h"
#include "app/forms/Opasswrd.h"
#include "app/forms/Warn.h"

#include "app/DiarySecurity.h"
#include "app/EntryFiles.h"
#include "app/PasswordOwner.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"
#include "tests/app/passwords/PasswordDiary.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillory;
using quillory::testing_support::PasswordDiary;

namespace {

std::vector<QString> Texts(const MessageBoxScript& boxes)
{
    std::vector<QString> texts;
    for (const auto& box : boxes.Shown())
        texts.push_back(box.text);
    return texts;
}

using Button = QPushButton* TGetPassword::*;

// A person at the password dialog: types the old password (when the field is there) and the
// new one, picks the simple cipher unless `strong`, then presses `button`. Records whether the
// dialog was still open afterwards.
std::function<int(TGetPassword&)> TypeAndPress(QString oldText, QString newText, Button button,
                                               bool* stayedOpen = nullptr, bool strong = false)
{
    return [=](TGetPassword& dialog) {
        dialog.show();
        if (!strong)
            QTest::mouseClick(dialog.LegacyScheme, Qt::LeftButton, {}, QPoint(8, 11));
        if (!oldText.isEmpty())
            QTest::keyClicks(dialog.OldPassword, oldText);
        QTest::keyClicks(dialog.NewPassword, newText);
        QTest::mouseClick(dialog.*button, Qt::LeftButton);
        if (stayedOpen)
            *stayedOpen = dialog.isVisible();
        return ModalScript::kKeepResult;
    };
}

// Types `text` character by character as a keyboard of its script would: keyClicks sends only
// Latin-1 characters.
void TypeText(QWidget* widget, const QString& text)
{
    for (const QChar character : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(character), Qt::NoModifier);
}

const QString kPassphrase = QStringLiteral("Zażółć gęślą jaźń — correct horse 7!");

std::function<int(TWarningScreen&)> PressOk()
{
    return [](TWarningScreen& warning) {
        warning.show();
        QTest::mouseClick(warning.OKButton, Qt::LeftButton);
        return ModalScript::kKeepResult;
    };
}

struct DialogCase {
    const char* name;
    std::string stored;     // password before
    QString oldTyped;
    QString newTyped;
    Button button;
    std::string expected;   // password after
    std::vector<QString> messages;
    bool filesRewritten;
};

TEST(PasswordDialogsTest, SetChangeSameCaseOnlyAndClear)
{
    const DialogCase cases[] = {
        {"set", "", "", "Secret1", &TGetPassword::OkButton, "Secret1",
         {"Be sure to write down your new password: Secret1"}, true},
        {"change", "abc", "abc", "New 2", &TGetPassword::OkButton, "New 2",
         {"Be sure to write down your new password: New 2"}, true},
        {"same", "abc", "abc", "abc", &TGetPassword::OkButton, "abc", {}, false},
        {"case only", "abc", "abc", "ABC", &TGetPassword::OkButton, "ABC",
         {"Be sure to write down your new password: ABC"}, true},
        {"clear", "abc", "abc", "", &TGetPassword::ClearButton, "",
         {"Password cleared. No password now required."}, true},
        {"OK with nothing typed clears", "abc", "abc", "", &TGetPassword::OkButton, "",
         {"Password cleared. No password now required."}, true},
        {"nothing to clear", "", "", "", &TGetPassword::OkButton, "", {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PasswordDiary diary(c.stored);
        const auto before = diary.EntryBytes();
        MessageBoxScript boxes;
        ModalScript script;
        int saves = 0;
        script.Then<TWarningScreen>(PressOk()).Then<TGetPassword>([&](TGetPassword& dialog) {
            EXPECT_EQ(saves, 1);  // the entry on screen was stored before the dialog opened
            EXPECT_EQ(dialog.OldPassword->isHidden(), c.stored.empty());
            EXPECT_EQ(dialog.Label2->isHidden(), !c.stored.empty());  // "(none)"
            return TypeAndPress(c.oldTyped, c.newTyped, c.button)(dialog);
        });
        SettingsPasswordOwner owner;

        ChangeDiaryPassword(owner, [&] { ++saves; return true; });

        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(Texts(boxes), c.messages);
        EXPECT_EQ(owner.DiaryPassword(), c.expected);
        diary.ExpectOpensWith(c.expected);
        if (!c.filesRewritten) {
            EXPECT_EQ(diary.EntryBytes(), before);
        }
    }
}

TEST(PasswordDialogsTest, CaseOnlyChangeKeepsTheKeystreamButTheGateWantsTheNewSpelling)
{
    PasswordDiary diary("abc");
    const auto before = diary.EntryBytes();
    {
        MessageBoxScript boxes;
        ModalScript script;
        script.Then<TWarningScreen>(PressOk()).Then<TGetPassword>(TypeAndPress("abc", "ABC", &TGetPassword::OkButton));
        SettingsPasswordOwner owner;
        ChangeDiaryPassword(owner, {});
    }
    EXPECT_EQ(diary.EntryBytes(), before);  // the key ignores letter case

    MessageBoxScript boxes;
    ModalScript script;
    script.Then<TGetOpeningPassword>([](TGetOpeningPassword& gate) {
        gate.show();
        QTest::keyClicks(gate.Pass, "abc");
        QTest::mouseClick(gate.BitBtn1, Qt::LeftButton);
        EXPECT_TRUE(gate.isVisible());
        gate.Pass->clear();
        QTest::keyClicks(gate.Pass, "ABC");
        QTest::keyClick(gate.Pass, Qt::Key_Return);  // OK is the default button
        return ModalScript::kKeepResult;
    });
    EXPECT_TRUE(CheckOpeningPassword());
    EXPECT_EQ(Texts(boxes), std::vector<QString>{"Sorry, that is the wrong password"});
}

TEST(PasswordDialogsTest, WrongOrMissingOldPasswordChangesNothing)
{
    struct Case { QString oldTyped; Button button; const char* message; };
    const Case cases[] = {
        {"", &TGetPassword::OkButton, "Previous password is required"},
        {"ABC", &TGetPassword::OkButton, "Previous password is incorrect"},  // letter case counts here
        {"", &TGetPassword::ClearButton, "Previous password is required"},
        {"xyz", &TGetPassword::ClearButton, "Previous password is incorrect"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        PasswordDiary diary("abc");
        const auto before = diary.EntryBytes();
        MessageBoxScript boxes;
        ModalScript script;
        bool stayedOpen = false;
        script.Then<TGetPassword>(TypeAndPress(c.oldTyped, "new", c.button, &stayedOpen));
        SettingsPasswordOwner owner;
        TGetPassword dialog(owner);
        EXPECT_EQ(RunModal(dialog), QDialog::Rejected);
        EXPECT_TRUE(stayedOpen);
        EXPECT_EQ(Texts(boxes), std::vector<QString>{QString::fromLatin1(c.message)});
        EXPECT_EQ(diary.EntryBytes(), before);
        diary.ExpectOpensWith("abc");
    }
}

TEST(PasswordDialogsTest, InvalidCharactersAreRefusedOnLeavingTheFieldAndOnOk)
{
    PasswordDiary diary("");
    const auto before = diary.EntryBytes();
    MessageBoxScript boxes;
    SettingsPasswordOwner owner;
    TGetPassword dialog(owner);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    dialog.LegacyScheme->setChecked(true);  // the simple cipher's rule

    dialog.NewPassword->setFocus();
    QTest::keyClicks(dialog.NewPassword, "ab-c");
    dialog.CancelButton->setFocus();  // the focus leaves the field
    EXPECT_EQ(dialog.NewPassword->text(), QString());
    EXPECT_EQ(Texts(boxes), std::vector<QString>{"Valid password characters are A-Z, 0-9 and spaces"});

    // Enter in the field presses OK while the focus stays: the characters are checked there
    // too, and nothing is stored.
    QTest::keyClicks(dialog.NewPassword, "x.y");
    dialog.OkButtonClick();
    EXPECT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(dialog.NewPassword->text(), QString());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(diary.EntryBytes(), before);
    EXPECT_EQ(diary.Stored(), "");

    // Eight characters at most.
    QTest::keyClicks(dialog.NewPassword, "123456789");
    EXPECT_EQ(dialog.NewPassword->text(), QStringLiteral("12345678"));
}

TEST(PasswordDialogsTest, CancelledWarningOpensNoPasswordDialog)
{
    PasswordDiary diary("abc");
    ModalScript script;
    script.Then<TWarningScreen>([](TWarningScreen& warning) {
        warning.show();
        QTest::mouseClick(warning.CancelButton, Qt::LeftButton);
        return ModalScript::kKeepResult;
    });
    int saves = 0;
    SettingsPasswordOwner owner;
    ChangeDiaryPassword(owner, [&] { ++saves; return true; });
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(script.Ran(), std::vector<QString>{"quillory::TWarningScreen"});
    EXPECT_TRUE(script.Unexpected().empty());
}

TEST(PasswordDialogsTest, ProgressCountsTheEntriesAndTheButtonsStayDisabled)
{
    PasswordDiary diary("");
    MessageBoxScript boxes;
    SettingsPasswordOwner owner;
    TGetPassword dialog(owner);
    dialog.LegacyScheme->setChecked(true);
    ASSERT_TRUE(dialog.ProcessPassword("", "key"));
    EXPECT_EQ(dialog.Gauge1->maximum(), 3);
    EXPECT_EQ(dialog.Gauge1->value(), 3);
    EXPECT_TRUE(dialog.PassPanel->isHidden());
    EXPECT_FALSE(dialog.Label5->isHidden());  // "Processing new password:"
    EXPECT_FALSE(dialog.OkButton->isEnabled());
    EXPECT_FALSE(dialog.CancelButton->isEnabled());
    EXPECT_FALSE(dialog.ClearButton->isEnabled());
    diary.ExpectOpensWith("key");
}

TEST(PasswordDialogsTest, AFailedReKeyingIsShownAndLeavesTheDiaryAndTheDialogAsTheyWere)
{
    PasswordDiary diary("");
    const auto before = diary.EntryBytes();
    // Settings that cannot be written: QL.INI is a folder.
    std::filesystem::remove(diary.Path() / "QL.INI");
    std::filesystem::create_directory(diary.Path() / "QL.INI");
    MessageBoxScript boxes;
    SettingsPasswordOwner owner;
    TGetPassword dialog(owner);
    dialog.show();
    QTest::keyClicks(dialog.NewPassword, "new");
    QTest::mouseClick(dialog.OkButton, Qt::LeftButton);

    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_TRUE(boxes.Shown().front().text.startsWith("Unable to write to ")) << boxes.Shown().front().text.toStdString();
    EXPECT_EQ(boxes.Shown().front().icon, MessageIcon::Error);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.OkButton->isEnabled());
    EXPECT_FALSE(dialog.PassPanel->isHidden());
    EXPECT_EQ(owner.DiaryPassword(), "");
    EXPECT_EQ(diary.EntryBytes(), before);
    EXPECT_FALSE(std::filesystem::exists(diary.Path() / "Rekeying.ini"));
    EXPECT_FALSE(std::filesystem::exists(diary.Path() / "Entries.rekey"));
}

TEST(PasswordDialogsTest, ANewPasswordIsStrongByDefaultAndTheGateOpensItsCheckValue)
{
    PasswordDiary diary("abc");
    {
        MessageBoxScript boxes;
        ModalScript script;
        script.Then<TWarningScreen>(PressOk()).Then<TGetPassword>([](TGetPassword& dialog) {
            EXPECT_TRUE(dialog.StrongScheme->isChecked());
            return TypeAndPress("abc", "Str0ng", &TGetPassword::OkButton, nullptr, true)(dialog);
        });
        SettingsPasswordOwner owner;
        ChangeDiaryPassword(owner, {});
        EXPECT_EQ(Texts(boxes), std::vector<QString>{"Be sure to write down your new password: Str0ng"});
        EXPECT_EQ(owner.DiaryPassword(), "Str0ng");  // held for this run, stored nowhere
    }
    EXPECT_EQ(LoadDiarySecurity().scheme, Scheme::Strong);
    EXPECT_EQ(IniFile(diary.Path() / "QL.INI").ReadString("Security", "Password", "?"), "");

    ForgetSessionKey();  // the next start
    MessageBoxScript boxes;
    ModalScript script;
    script.Then<TGetOpeningPassword>([](TGetOpeningPassword& gate) {
        gate.show();
        QTest::keyClicks(gate.Pass, "str0ng");
        QTest::mouseClick(gate.BitBtn1, Qt::LeftButton);
        EXPECT_TRUE(gate.isVisible());
        gate.Pass->clear();
        QTest::keyClicks(gate.Pass, "Str0ng");
        QTest::keyClick(gate.Pass, Qt::Key_Return);
        return ModalScript::kKeepResult;
    });
    EXPECT_TRUE(CheckOpeningPassword());
    EXPECT_EQ(Texts(boxes), std::vector<QString>{"Sorry, that is the wrong password"});
    // The key derived at the gate reads the entries.
    EXPECT_EQ(ReadEntry(*Day::FromDate(2026, 12, 1), "Str0ng"), diary.Plain().at("20261201.QLE"));

    // And back to the simple cipher, for a diary shared with older copies.
    MessageBoxScript more;
    ModalScript back;
    back.Then<TGetPassword>(TypeAndPress("Str0ng", "abc", &TGetPassword::OkButton));
    SettingsPasswordOwner owner;
    TGetPassword dialog(owner);
    RunModal(dialog);
    diary.ExpectOpensWith("abc");
    ForgetSessionKey();
}

// A passphrase with spaces, a dash and Polish letters is set in the dialog under the strong
// scheme, opens the gate at the next start and reads the entries; the simple cipher refuses it
// with its own rule, which the dialog shows beside the field.
TEST(PasswordDialogsTest, TheStrongSchemeTakesAPassphraseAndTheSimpleCipherKeepsItsRule)
{
    PasswordDiary diary("");
    const std::string passphrase = kPassphrase.toStdString();
    {
        MessageBoxScript boxes;
        SettingsPasswordOwner owner;
        TGetPassword dialog(owner);
        dialog.show();
        QApplication::setActiveWindow(&dialog);

        dialog.LegacyScheme->setChecked(true);
        EXPECT_EQ(dialog.Label4->text(), QStringLiteral("(maximum 8 chars - A-Z, 0-9 and spaces)"));
        dialog.NewPassword->setFocus();
        TypeText(dialog.NewPassword, kPassphrase);
        dialog.CancelButton->setFocus();
        EXPECT_EQ(Texts(boxes), std::vector<QString>{"Valid password characters are A-Z, 0-9 and spaces"});
        EXPECT_EQ(dialog.NewPassword->text(), QString());

        dialog.StrongScheme->setChecked(true);
        EXPECT_EQ(dialog.Label4->text(), QStringLiteral("(any letters, digits, spaces and punctuation)"));
        TypeText(dialog.NewPassword, QStringLiteral("Str0ng"));
        EXPECT_FALSE(dialog.ShortNote->isHidden());  // a note, not a refusal
        EXPECT_EQ(dialog.ShortNote->text(), QStringLiteral("Longer is safer: a few words make a good password."));
        dialog.NewPassword->clear();
        TypeText(dialog.NewPassword, kPassphrase);
        EXPECT_EQ(dialog.NewPassword->text(), kPassphrase);
        EXPECT_TRUE(dialog.ShortNote->isHidden());
        QTest::mouseClick(dialog.OkButton, Qt::LeftButton);
        EXPECT_EQ(Texts(boxes).back(), QStringLiteral("Be sure to write down your new password: ") + kPassphrase);
        EXPECT_EQ(owner.DiaryPassword(), passphrase);
    }
    EXPECT_EQ(LoadDiarySecurity().scheme, Scheme::Strong);

    ForgetSessionKey();  // the next start
    MessageBoxScript boxes;
    ModalScript script;
    script.Then<TGetOpeningPassword>([](TGetOpeningPassword& gate) {
        gate.show();
        TypeText(gate.Pass, kPassphrase);
        QTest::keyClick(gate.Pass, Qt::Key_Return);
        return ModalScript::kKeepResult;
    });
    EXPECT_TRUE(CheckOpeningPassword());
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(ReadEntry(*Day::FromDate(2026, 12, 1), passphrase), diary.Plain().at("20261201.QLE"));

    // Changing it asks for the passphrase as the old password.
    MessageBoxScript more;
    ModalScript change;
    change.Then<TGetPassword>([](TGetPassword& dialog) {
        dialog.show();
        TypeText(dialog.OldPassword, kPassphrase);
        QTest::mouseClick(dialog.ClearButton, Qt::LeftButton);
        return ModalScript::kKeepResult;
    });
    SettingsPasswordOwner owner;
    TGetPassword dialog(owner);
    RunModal(dialog);
    EXPECT_EQ(Texts(more), std::vector<QString>{"Password cleared. No password now required."});
    diary.ExpectOpensWith("");
}

TEST(PasswordDialogsTest, OpeningDialogLayoutAndClose)
{
    TGetOpeningPassword gate;
    EXPECT_EQ(gate.windowTitle(), QStringLiteral("Quillory! - Password Required"));
    EXPECT_EQ(gate.size(), QSize(332, 178));
    EXPECT_EQ(gate.pos(), QPoint((800 - 332) / 2, (800 - 178) / 2));  // the offscreen screen is 800 x 800
    EXPECT_EQ(gate.Pass->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(gate.BitBtn1->isDefault());
    EXPECT_TRUE(gate.windowFlags() & Qt::WindowStaysOnTopHint);

    PasswordDiary diary("abc");
    ModalScript script;
    script.Then<TGetOpeningPassword>([](TGetOpeningPassword& dialog) {
        dialog.show();
        QTest::mouseClick(dialog.BitBtn2, Qt::LeftButton);
        return ModalScript::kKeepResult;
    });
    EXPECT_FALSE(CheckOpeningPassword());

    PasswordDiary plain("");
    ModalScript none;
    EXPECT_TRUE(CheckOpeningPassword());
    EXPECT_TRUE(none.Ran().empty());
}

} // namespace
