// The print status window.
#include "app/forms/Prnstat.h"

#include "app/forms/FormParts.h"
#include "platform/AtomicWrite.h"
#include "richtext/qt/QtPrintDevice.h"

#include <QApplication>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

namespace quillory {

TPrintStatusForm::TPrintStatusForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("PrintStatusForm"));
    setWindowTitle(tr("Print Status"));
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(11);
    setFont(arial);
    setFixedSize(307, 154);

    printerstatus = AddWrappedLabel(this, "printerstatus", "Printing", {24, 20, 259, 50});
    CancelButton = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setGeometry(104, 100, 100, 34);
    connect(CancelButton, &QPushButton::clicked, this, &TPrintStatusForm::CancelButtonClick);
}

void TPrintStatusForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Printing starts once the window is on screen, so that its status can be seen.
    QTimer::singleShot(0, this, &TPrintStatusForm::FormActivate);
}

void TPrintStatusForm::FormActivate()
{
    if (printed_)
        return;
    printed_ = true;
    Settings.topMargin = Settings.leftMargin = Settings.rightMargin = Settings.bottomMargin = 1.0;
    Run();
}

void TPrintStatusForm::SetStatus(const QString& text)
{
    printerstatus->setText(text);
}

void TPrintStatusForm::Run()
{
    running_ = true;
    const AfterPrintedDay afterDay = [this](const std::string& status) {
        SetStatus(QString::fromStdString(status));
        QCoreApplication::processEvents();  // repaints, and lets Cancel be pressed
        return Cancelled;
    };
    if (!PdfFile.isEmpty()) {
        PdfPrintDevice device(Printer ? Printer->pageLayout() : LetterPageLayout());
        Outcome = PrintEntries(device, Settings, afterDay);
        const QByteArray pdf = device.Finish();
        std::string error;
        if (Outcome.end != PrintEnd::Failed && !pdf.isEmpty()
            && !WriteFileAtomically(PdfFile.toStdString(), std::string_view(pdf.constData(), std::size_t(pdf.size())),
                                    &error)) {
            Outcome.end = PrintEnd::Failed;
            Outcome.status = std::string(kTooManyPagesStatus) + "\nCannot create file " + PdfFile.toStdString();
        }
    } else if (Printer) {
        QtPrinterDevice device(*Printer);
        Outcome = PrintEntries(device, Settings, afterDay);
    } else {
        Outcome = {PrintEnd::Failed, std::string(kTooManyPagesStatus) + "\nNo printers installed", 0};
    }
    running_ = false;
    if (Outcome.end == PrintEnd::Failed)
        QApplication::beep();
    if (Outcome.end != PrintEnd::Cancelled)
        SetStatus(QString::fromStdString(Outcome.status));
    BecomeOkButton();
}

void TPrintStatusForm::BecomeOkButton()
{
    closes_ = true;
    CancelButton->setText(tr("Ok"));
    CancelButton->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
}

void TPrintStatusForm::CancelButtonClick()
{
    if (closes_) {
        accept();
        return;
    }
    Cancelled = true;
    BecomeOkButton();
    SetStatus(QStringLiteral("Cancelled"));
}

} // namespace quillory
