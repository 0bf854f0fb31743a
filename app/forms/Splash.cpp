// The about box.
#include "app/forms/Splash.h"

#include "app/Version.h"
#include "controls/UrlLabel.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/CenterForm.h"
#include "platform/qt/ModalRunner.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QUrl>

namespace quillory {

TSplashform::TSplashform(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("Splashform"));
    setWindowTitle(tr("About Quillory!"));
    setFont(QFont(QStringLiteral("Arial"), 8));
    setFixedSize(360, 170);

    ProgramName = new QLabel(QString::fromLatin1(kProgramName), this);
    ProgramName->setObjectName(QStringLiteral("ProgramName"));
    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(24);
    title.setBold(true);
    title.setItalic(true);
    ProgramName->setFont(title);
    ProgramName->setStyleSheet(QStringLiteral("color: purple"));
    ProgramName->setGeometry(20, 16, 320, 32);

    Version = new QLabel(tr("Version %1").arg(QString::fromLatin1(kProgramVersion)), this);
    Version->setObjectName(QStringLiteral("Version"));
    Version->setGeometry(20, 52, 320, 18);

    FolderCaption = new QLabel(tr("Your diary is kept in:"), this);
    FolderCaption->setObjectName(QStringLiteral("FolderCaption"));
    FolderCaption->setGeometry(20, 80, 320, 18);

    const QString folder = QString::fromStdString(DiaryFolder());
    FolderLink = new TUrlLabel(this);
    FolderLink->setObjectName(QStringLiteral("FolderLink"));
    FolderLink->setText(folder);
    FolderLink->SetURL(QUrl::fromLocalFile(folder).toString());
    FolderLink->setGeometry(20, 98, 320, 18);

    OKButton = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    OKButton->setGeometry(262, 126, 80, 32);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void ShowAboutBox(QWidget* parent)
{
    TSplashform about(parent);
    CenterForm(about);
    RunModal(about);
}

} // namespace quillory
