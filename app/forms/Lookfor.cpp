// The query dialog of the search across entries. It has no handlers: OK accepts, Cancel refuses.
#include "app/forms/Lookfor.h"

#include "app/forms/FormParts.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace quillory {

TLookForAll::TLookForAll(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("LookForAll"));
    setWindowTitle(tr("Find text from any entry"));
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(11);
    setFont(arial);
    setFixedSize(249, 142);

    Label1 = AddLabel(this, "Label1", "Text to look for", {16, 16, 217, 16});
    LookForText = new QLineEdit(this);
    LabelFor(Label1, LookForText);
    LookForText->setObjectName(QStringLiteral("LookForText"));
    LookForText->setGeometry(16, 36, 217, 24);

    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn1->setGeometry(16, 92, 96, 30);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Cancel"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(137, 92, 96, 30);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    LookForText->setFocus();
}

} // namespace quillory
