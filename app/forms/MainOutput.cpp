// TMainScreen: printing entries (on the printer or into a PDF) and exporting them into files.
#include "app/forms/Main.h"

#include "app/ExportEntries.h"
#include "app/PrintEntries.h"
#include "app/forms/Printopt.h"
#include "app/forms/Prnstat.h"
#include "app/forms/Saveopt.h"
#include "platform/Clock.h"
#include "platform/Error.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/CenterForm.h"
#include "platform/qt/DateNames.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/QtText.h"
#include "richtext/qt/QtPrintDevice.h"

#include <QCoreApplication>
#include <QFileDialog>

namespace quillory {

namespace {

std::string LongDateBytes(Day day)
{
    return QStringToText(LongDateCaption(day));
}

// The file the pages are saved to, asked in the save dialog; empty when none was chosen.
QString AskPdfFileName(QWidget* parent)
{
    QFileDialog dialog(parent, QStringLiteral("Save as PDF"), QString::fromStdString(DiaryFolder()),
                       QStringLiteral("PDF files (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);  // runs through the modal seam
    if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QPrinter& TMainScreen::KeptPrinter()
{
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void TMainScreen::PrintNowClick()
{
    if (!SaveButtonClick())
        return;
    UseSymbolFonts();  // any of the days printed may use them
    QCoreApplication::processEvents();

    TPrintOptions options(this);
    options.StartDate = CurrentDay;
    options.EndDate = Today();
    CenterForm(options);
    const int chosen = RunModal(options);
    if (chosen != QDialog::Accepted && chosen != TPrintOptions::kSaveAsPdf)
        return;
    QString pdfFile;
    if (chosen == TPrintOptions::kSaveAsPdf) {
        pdfFile = AskPdfFileName(this);
        if (pdfFile.isEmpty())
            return;
    }

    TPrintStatusForm status(this);
    status.Settings.days = ChooseOutputDays(options.Scope(), CurrentDay, options.StartDate, options.EndDate);
    status.Settings.merged = options.MergeChosen;
    status.Settings.password = DiaryPassword();
    status.Settings.longDate = LongDateBytes;
    status.Settings.dateSeparator = LocaleDateSeparator();
    status.Printer = &KeptPrinter();
    status.PdfFile = pdfFile;
    CenterForm(status);
    RunModal(status);

    FindDateRecord();
    LoadRichText();
}

void TMainScreen::Export1Click()
{
    if (!SaveButtonClick())
        return;

    TSaveOptions options(this);
    options.StartDate = CurrentDay;
    options.EndDate = Today();
    options.Folder = QString::fromStdString(DiaryFolder());
    CenterForm(options);
    if (RunModal(options) != QDialog::Accepted)
        return;

    ExportSettings settings;
    settings.days = ChooseOutputDays(options.Scope(), CurrentDay, options.StartDate, options.EndDate);
    settings.folder = options.Folder.toStdString();
    settings.format = options.Format;
    settings.password = DiaryPassword();
    settings.dateSeparator = LocaleDateSeparator();
    const QPageLayout paper = KeptPrinter().pageLayout();
    settings.pdf = [paper](Day day, std::string_view rtf) {
        PdfPrintDevice device(paper);
        PrintSettings print;
        print.longDate = LongDateBytes;
        if (!PrintEntryPages(device, day, rtf, print))
            throw Error("The entry has no text");
        const QByteArray pdf = device.Finish();
        return std::string(pdf.constData(), std::size_t(pdf.size()));
    };

    ExportOutcome outcome;
    {
        TExportProgress progress(this);
        CenterForm(progress);
        progress.show();
        outcome = ExportEntries(settings, [&progress](const std::string& status) {
            progress.SetStatus(QString::fromStdString(status));
        });
    }
    ShowInformation(QString::fromStdString(ExportSummary(outcome.written, settings.format, settings.folder)));
    if (!outcome.failed.empty())
        ShowInformation(QString::fromStdString(ExportFailureReport(outcome.failed, settings.dateSeparator)));

    FindDateRecord();
    LoadRichText();
}

} // namespace quillory
