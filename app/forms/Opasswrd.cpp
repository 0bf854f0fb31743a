// The opening password dialog and the start-up gate.
#include "app/forms/Opasswrd.h"

#include "app/DiarySecurity.h"
#include "app/Passwords.h"
#include "app/StartupRules.h"
#include "app/forms/TypedPassword.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace quillory {

namespace {

QFont Arial(int pixelHeight, bool bold = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

} // namespace

TGetOpeningPassword::TGetOpeningPassword(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("GetOpeningPassword"));
    setWindowTitle(tr("Quillory! - Password Required"));
    setFont(Arial(11));
    setFixedSize(332, 178);

    Label1 = new QLabel(tr("Please enter your password and press OK"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(Arial(13));
    Label1->setGeometry(24, 20, 290, 20);

    Pass = new QLineEdit(this);
    Pass->setAccessibleName(tr("Password"));
    Pass->setObjectName(QStringLiteral("Pass"));
    Pass->setFont(Arial(16, true));
    Pass->setEchoMode(QLineEdit::Password);
    Pass->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));  // '*'
    Pass->setGeometry(24, 52, 284, 30);

    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn1->setGeometry(60, 120, 92, 32);
    connect(BitBtn1, &QPushButton::clicked, this, &TGetOpeningPassword::BitBtn1Click);

    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("Close"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(180, 120, 92, 32);
    connect(BitBtn2, &QPushButton::clicked, this, &TGetOpeningPassword::BitBtn2Click);

    FormCreate();
}

void TGetOpeningPassword::FormCreate()
{
    // Centred on the screen: no main window exists yet.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
    }
    Pass->setFocus();
}

void TGetOpeningPassword::BitBtn1Click()
{
    // Byte for byte, in the bytes of the diary's scheme.
    const auto typed = TypedPassword(Pass->text(), scheme_);
    if (typed && check_ && check_(*typed)) {
        accept();
        return;
    }
    ShowInformation(QCoreApplication::translate("quillory::TGetOpeningPassword", password_text::kWrongPassword));
}

void TGetOpeningPassword::SetExpectedPassword(const std::string& password)
{
    scheme_ = Scheme::Legacy;
    check_ = [password](const std::string& typed) { return typed == password; };
}

void TGetOpeningPassword::SetPasswordCheck(std::function<bool(const std::string& typed)> check)
{
    scheme_ = Scheme::Strong;
    check_ = std::move(check);
}

void TGetOpeningPassword::BitBtn2Click()
{
    reject();
}

bool CheckOpeningPassword()
{
    const DiarySecurity security = LoadDiarySecurity();
    if (security.scheme == Scheme::None)
        return true;  // the dialog is not even built: its widgets and pictures cost the start time
    TGetOpeningPassword dialog;
    switch (security.scheme) {
    case Scheme::None:
        return true;
    case Scheme::Legacy:
        dialog.SetExpectedPassword(security.legacyPassword);
        break;
    case Scheme::Strong:
        dialog.SetPasswordCheck([security](const std::string& typed) {
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);  // the derivation takes a moment
            const auto key = UnlockDiary(security, typed);
            QGuiApplication::restoreOverrideCursor();
            if (key)
                RememberSessionKey(typed, *key);
            return key.has_value();
        });
        break;
    }
    return RunModal(dialog) == QDialog::Accepted;
}

} // namespace quillory
