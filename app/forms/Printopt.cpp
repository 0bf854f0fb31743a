// The print options dialog.
#include "app/forms/Printopt.h"

#include "app/forms/FormParts.h"
#include "platform/qt/PrinterList.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

namespace quillory {

TPrintOptions::TPrintOptions(QWidget* parent) : TOutputOptions("Print", parent)
{
    setObjectName(QStringLiteral("PrintOptions"));
    setWindowTitle(tr("Print Options"));
    setFixedSize(442, 300);

    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(24, 176, 394, 56);
    EachPageSeparate = new QRadioButton(tr("Print each page separately"), Panel2);
    EachPageSeparate->setObjectName(QStringLiteral("EachPageSeparate"));
    EachPageSeparate->setToolTip(tr("Print each diary entry (day) on its own page"));
    EachPageSeparate->setGeometry(0, 4, 300, 22);
    EachPageSeparate->setChecked(true);
    MergePages = new QRadioButton(tr("Merge pages "), Panel2);
    MergePages->setObjectName(QStringLiteral("MergePages"));
    MergePages->setToolTip(tr("Print as many diary entries per page as possible to conserve paper"));
    MergePages->setGeometry(0, 30, 300, 22);

    NoPrinterLabel = AddLabel(this, "NoPrinterLabel", "No printers installed", {24, 236, 394, 16});
    OKButton->setGeometry(24, 256, 100, 32);
    SavePdfButton = new QPushButton(style()->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("Save as PDF..."),
                                    this);
    SavePdfButton->setObjectName(QStringLiteral("SavePdfButton"));
    SavePdfButton->setToolTip(tr("Write the pages into a PDF file instead of printing them"));
    SavePdfButton->setGeometry(160, 256, 120, 32);
    CancelButton->setGeometry(318, 256, 100, 32);
    connect(SavePdfButton, &QPushButton::clicked, this, &TPrintOptions::SavePdfButtonClick);
    setTabOrder(MergePages, OKButton);
    setTabOrder(OKButton, SavePdfButton);
    setTabOrder(SavePdfButton, CancelButton);
}

void TPrintOptions::SetButtons()
{
    TOutputOptions::SetButtons();
    const bool many = PrintRangeOfDates->isChecked() || PrintAll->isChecked();
    EachPageSeparate->setEnabled(many);
    MergePages->setEnabled(many);
    const bool printer = !InstalledPrinterNames().isEmpty();
    OKButton->setEnabled(printer);
    NoPrinterLabel->setVisible(!printer);
}

void TPrintOptions::TakeChoice()
{
    MergeChosen = MergePages->isChecked();
    TOutputOptions::TakeChoice();
}

void TPrintOptions::SavePdfButtonClick()
{
    TakeChoice();
    done(kSaveAsPdf);
}

} // namespace quillory
