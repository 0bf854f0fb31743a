// The password dialog's handlers; the rules are in app/Passwords and the re-keying in
// app/PasswordChange.
#include "app/forms/Getpass.h"

#include "app/forms/FormParts.h"

#include "app/DiarySecurity.h"
#include "app/PasswordChange.h"
#include "app/PasswordOwner.h"
#include "app/Passwords.h"
#include "app/forms/TypedPassword.h"
#include "app/forms/Warn.h"
#include "platform/Error.h"
#include "platform/qt/CenterForm.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

namespace quillory {

namespace {

QLineEdit* AddEdit(QWidget* parent, const char* name, QRect place)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    // Characters, not bytes: the byte limit is checked when the field is left.
    edit->setMaxLength(int(kMaxStrongPasswordBytes));
    edit->setGeometry(place);
    return edit;
}

QString Translated(const char* text)
{
    return QCoreApplication::translate("quillory::TGetPassword", text);
}

QPushButton* AddButton(QWidget* parent, const char* name, QStyle::StandardPixmap glyph, const char* text, QRect place)
{
    auto* button = new QPushButton(parent->style()->standardIcon(glyph), QString::fromLatin1(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(place);
    return button;
}

} // namespace

TGetPassword::TGetPassword(PasswordOwner& owner, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), owner_(owner)
{
    setObjectName(QStringLiteral("GetPassword"));
    setWindowTitle(tr("Set Up Password"));
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(11);
    setFont(arial);
    setFixedSize(366, 291);

    // Behind the panel, seen only while the panel is hidden.
    Label5 = AddLabel(this, "Label5", "Processing new password:", {24, 60, 318, 20});
    Label5->hide();
    Gauge1 = new QProgressBar(this);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setGeometry(24, 90, 318, 22);
    Gauge1->setRange(0, 0);
    Gauge1->setValue(0);
    Gauge1->hide();

    PassPanel = new QFrame(this);
    PassPanel->setObjectName(QStringLiteral("PassPanel"));
    PassPanel->setFrameShape(QFrame::StyledPanel);
    PassPanel->setGeometry(8, 8, 350, 212);
    Label1 = AddLabel(PassPanel, "Label1", "Old Password", {16, 22, 100, 20});
    OldPassword = AddEdit(PassPanel, "OldPassword", {124, 18, 210, 26});
    OldPassword->setEchoMode(QLineEdit::Password);
    OldPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));  // '*'
    Label2 = AddLabel(PassPanel, "Label2", "(none)", {124, 22, 120, 20});
    Label2->hide();
    Label3 = AddLabel(PassPanel, "Label3", "New Password", {16, 68, 100, 20});
    NewPassword = AddEdit(PassPanel, "NewPassword", {124, 64, 210, 26});
    LabelFor(Label1, OldPassword);
    LabelFor(Label3, NewPassword);
    NewPassword->installEventFilter(this);
    Label4 = AddLabel(PassPanel, "Label4", "", {16, 96, 320, 20});
    ShortNote = AddLabel(PassPanel, "ShortNote", "", {16, 116, 320, 20});
    ShortNote->setText(Translated(password_text::kShortNote));
    ShortNote->hide();
    StrongScheme = new QRadioButton(tr("Strong encryption (recommended)"), PassPanel);
    StrongScheme->setObjectName(QStringLiteral("StrongScheme"));
    StrongScheme->setGeometry(16, 140, 320, 22);
    StrongScheme->setChecked(true);
    LegacyScheme = new QRadioButton(tr("Simple cipher, for diaries shared with older copies"), PassPanel);
    LegacyScheme->setObjectName(QStringLiteral("LegacyScheme"));
    LegacyScheme->setGeometry(16, 170, 320, 22);
    connect(StrongScheme, &QRadioButton::toggled, this, &TGetPassword::ShowRule);
    connect(NewPassword, &QLineEdit::textChanged, this, &TGetPassword::ShowRule);
    ShowRule();

    OkButton = AddButton(this, "OkButton", QStyle::SP_DialogOkButton, "OK", {12, 242, 92, 34});
    OkButton->setDefault(true);
    connect(OkButton, &QPushButton::clicked, this, &TGetPassword::OkButtonClick);
    CancelButton = AddButton(this, "CancelButton", QStyle::SP_DialogCancelButton, "Cancel", {112, 242, 92, 34});
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    ClearButton = AddButton(this, "ClearButton", QStyle::SP_DialogResetButton, "Clear (no password)", {212, 242, 142, 34});
    connect(ClearButton, &QPushButton::clicked, this, &TGetPassword::ClearButtonClick);

    FormCreate();
}

void TGetPassword::FormCreate()
{
    owner_.LoadPreferences();
    if (owner_.DiaryPassword().empty()) {
        OldPassword->hide();
        Label2->show();
        NewPassword->setFocus();
    } else {
        OldPassword->setFocus();
    }
}

bool TGetPassword::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == NewPassword && event->type() == QEvent::FocusOut)
        NewPasswordExit();
    return QDialog::eventFilter(watched, event);
}

PasswordScheme TGetPassword::ChosenScheme() const
{
    return StrongScheme->isChecked() ? PasswordScheme::Strong : PasswordScheme::Legacy;
}

void TGetPassword::ShowRule()
{
    const bool strong = ChosenScheme() == PasswordScheme::Strong;
    Label4->setText(Translated(strong ? password_text::kStrongRule : password_text::kLegacyRule));
    // The simple cipher's field takes no more than its rule allows, as it always did.
    NewPassword->setMaxLength(strong ? int(kMaxStrongPasswordBytes) : kMaxPasswordLength);
    ShortNote->setVisible(strong && IsShortStrongPassword(QStringToText(NewPassword->text())));
}

void TGetPassword::NewPasswordExit()
{
    const PasswordScheme scheme = ChosenScheme();
    const auto typed = TypedPassword(NewPassword->text(), scheme == PasswordScheme::Strong ? Scheme::Strong : Scheme::Legacy);
    const PasswordFault fault = typed ? CheckNewPassword(scheme, *typed) : PasswordFault::InvalidCharacters;
    const char* notice = PasswordFaultNotice(scheme, fault);
    if (!notice)
        return;
    if (checkingNewPassword_)  // the notice itself takes the focus away
        return;
    checkingNewPassword_ = true;
    QApplication::beep();
    ShowInformation(Translated(notice));
    NewPassword->clear();
    NewPassword->setFocus();
    checkingNewPassword_ = false;
}

bool TGetPassword::checkoldpassword() const
{
    if (OldPassword->isHidden())
        return true;
    const auto typed = TypedPassword(OldPassword->text(), LoadDiarySecurity().scheme);
    return typed && OldPasswordMatches(true, *typed, owner_.DiaryPassword());
}

bool TGetPassword::ConfirmOldPassword()
{
    if (checkoldpassword())
        return true;
    ShowInformation(Translated(OldPasswordRefusal(QStringToText(OldPassword->text()))));
    return false;
}

void TGetPassword::OkButtonClick()
{
    if (NewPassword->text().isEmpty()) {
        ClearButtonClick();
        return;
    }
    // Enter in the new-password field presses OK without leaving the field: check it here too,
    // or a password the rules refuse would be stored.
    NewPasswordExit();
    if (NewPassword->text().isEmpty())
        return;
    if (!ConfirmOldPassword())
        return;
    // Past the rule's check: the text is the scheme's password, which for the simple cipher
    // is ASCII, the same bytes in UTF-8.
    ChangeTo(QStringToText(NewPassword->text()));
}

void TGetPassword::ClearButtonClick()
{
    if (!ConfirmOldPassword())
        return;
    ChangeTo(std::string());
}

void TGetPassword::ChangeTo(const std::string& newPassword)
{
    const std::string oldPassword = owner_.DiaryPassword();
    const bool changed = oldPassword != newPassword || SchemeChanges(newPassword);
    // The entries and the stored password change together; only then the owner's copy.
    if (!ProcessPassword(oldPassword, newPassword))
        return;
    try {
        owner_.SetDiaryPassword(newPassword);
        owner_.SavePreferences();
        owner_.LoadPreferences();
    } catch (const Error& error) {
        ShowMessageBox(QString::fromStdString(error.what()), QStringLiteral("Quillory"), MessageButtons::Ok,
                       MessageIcon::Error);
    }
    if (changed)
        ShowInformation(newPassword.empty() ? Translated(password_text::kCleared)
                                            : Translated(password_text::kWriteDown) + TextToQString(newPassword));
    accept();
}

bool TGetPassword::SchemeChanges(const std::string& newPassword) const
{
    const bool strongNow = LoadDiarySecurity().scheme == Scheme::Strong;
    return strongNow != (!newPassword.empty() && ChosenScheme() == PasswordScheme::Strong);
}

void TGetPassword::SetProcessing(bool processing)
{
    OkButton->setEnabled(!processing);
    CancelButton->setEnabled(!processing);
    ClearButton->setEnabled(!processing);
    PassPanel->setVisible(!processing);
    Label5->setVisible(processing);
    if (!processing)
        Gauge1->hide();
}

bool TGetPassword::ProcessPassword(const std::string& oldPassword, const std::string& newPassword)
{
    SetProcessing(true);
    Gauge1->setRange(0, CountEntryFiles());
    Gauge1->setValue(0);
    if (oldPassword == newPassword && !SchemeChanges(newPassword))
        return true;
    Gauge1->show();
    std::vector<KeptVersion> kept;
    RekeyObserver observer;
    observer.progress = [this](int done, int total) {
        Gauge1->setMaximum(total);
        Gauge1->setValue(done);
        QCoreApplication::processEvents();
    };
    try {
        RekeyTarget target;
        target.scheme = ChosenScheme();
        QApplication::setOverrideCursor(Qt::WaitCursor);  // deriving a strong key takes a moment
        try {
            kept = quillory::ProcessPassword(oldPassword, newPassword, observer, target);
        } catch (...) {
            QApplication::restoreOverrideCursor();
            throw;
        }
        QApplication::restoreOverrideCursor();
        if (const std::string notice = KeptVersionsNotice(kept); !notice.empty())
            ShowMessageBox(QString::fromStdString(notice), QStringLiteral("Quillory"), MessageButtons::Ok,
                           MessageIcon::Warning);
    } catch (const RekeyIncomplete& error) {
        // The new password is stored but some entries are not yet in place: the next start
        // finishes the move, so the diary stops here rather than show entries it cannot read.
        ShowMessageBox(QString::fromStdString(error.what()), QStringLiteral("Quillory"), MessageButtons::Ok,
                       MessageIcon::Error);
        owner_.SetDiaryPassword(newPassword);
        ShowInformation(QStringLiteral("The new password is stored. Quillory! must now close; the next time it "
                                       "starts it will finish changing the password."));
        accept();
        QCoreApplication::exit(0);
        return false;
    } catch (const Error& error) {
        ShowMessageBox(QString::fromStdString(error.what()), QStringLiteral("Quillory"), MessageButtons::Ok,
                       MessageIcon::Error);
        SetProcessing(false);
        return false;
    }
    Gauge1->hide();
    return true;
}

void ChangeDiaryPassword(PasswordOwner& owner, const std::function<bool()>& saveEntry, QWidget* parent)
{
    {
        TWarningScreen warning(parent);
        CenterForm(warning);
        if (RunModal(warning) != QDialog::Accepted)
            return;
    }
    if (saveEntry && !saveEntry())
        return;
    TGetPassword dialog(owner, parent);
    CenterForm(dialog);
    RunModal(dialog);
}

} // namespace quillory
