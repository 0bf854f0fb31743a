// The opening notice.
#include "app/forms/Openmess.h"

#include "app/forms/FormParts.h"

#include "platform/ProgramFolder.h"
#include "platform/qt/ModalRunner.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace quillory {

TShowOpeningMessage::TShowOpeningMessage(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("ShowOpeningMessage"));
    setWindowTitle(tr("Quillory!"));
    setFont(QFont(QStringLiteral("Arial"), 8));
    setFixedSize(427, 230);

    Label1 = AddWrappedLabel(this, "Label1",
                      "Quillory! is intended solely for your personal recreational use. Please do not rely on it "
                      "for critical data storage.",
                      {13, 12, 401, 40});
    Label2 = AddWrappedLabel(this, "Label2",
                      "While Quillory! makes every attempt to keep the data safe, we cannot prevent data damage "
                      "from such things as power failures, hard drive crashes, etc.",
                      {13, 60, 401, 40});
    // The diary folder as it is named on this system, however it was chosen.
    Label3 = AddWrappedLabel(this, "Label3", "", {13, 108, 401, 56});
    Label3->setText(tr("Therefore, it is up to you to make frequent backups: File > \"Back Up Diary...\" saves the "
                       "whole diary in one file. The diary is the folder %1, with the entries in its Entries "
                       "folder and the settings in QL.INI.")
                        .arg(ShownFolderName(DiaryFolder())));

    OKButton = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("Ok"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    OKButton->setGeometry(331, 170, 76, 35);
    connect(OKButton, &QPushButton::clicked, this, &TShowOpeningMessage::OKButtonClick);

    DontShow = new QCheckBox(tr("Do not show this message again"), this);
    DontShow->setObjectName(QStringLiteral("DontShow"));
    DontShow->move(13, 184);
    DontShow->adjustSize();
    DontShow->setChecked(false);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
    }
}

void TShowOpeningMessage::OKButtonClick()
{
    accept();
}

bool ShowOpeningNotice()
{
    TShowOpeningMessage notice;
    RunModal(notice);
    return !notice.DontShow->isChecked();
}

} // namespace quillory
