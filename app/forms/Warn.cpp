// The backup warning shown before the password dialog. It has no handlers: Ok accepts,
// Cancel refuses.
#include "app/forms/Warn.h"

#include "app/forms/FormParts.h"
#include "platform/ProgramFolder.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace quillory {

TWarningScreen::TWarningScreen(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("WarningScreen"));
    setWindowTitle(tr("Warning!"));
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(11);
    setFont(arial);
    setFixedSize(473, 341);

    Label1 = AddWrappedLabel(this, "Label1",
                      "There is a slight chance that things beyond our control could cause damage to your "
                      "datafiles during this operation (i.e. damaged hard drive, power surge, power loss, not "
                      "enough disk space, etc).",
                      {20, 16, 433, 48});
    Label2 = AddWrappedLabel(this, "Label2",
                      "Please verify that you have made backups of the following files before continuing:",
                      {20, 76, 433, 32});
    // The diary folder as it is named on this system.
    Label3 = AddWrappedLabel(this, "Label3", "", {44, 112, 409, 30});
    Label3->setText(tr("-QL.INI, in the diary folder %1").arg(ShownFolderName(DiaryFolder())));
    Label4 = AddWrappedLabel(this, "Label4",
                      "-All files with the .QLE extension, in its Entries folder (these are your Quillory "
                      "entries)",
                      {44, 144, 409, 32});
    Label5 = AddWrappedLabel(this, "Label5",
                      "Copying them to another directory, or to a floppy disk or other removable media is "
                      "recommended. Should datafile damage occur, you can then simply copy these files back "
                      "into their original directories.",
                      {20, 184, 433, 64});

    OKButton = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("Ok"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    OKButton->setGeometry(60, 284, 100, 34);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    CancelButton = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setGeometry(313, 284, 100, 34);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace quillory
