// The import dialog's widgets and handlers; what they do lives in app/import.
#include "app/forms/ImportDiary.h"

#include "platform/Error.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillory {

namespace {

constexpr int kDetected = 0;  // the format box's first row

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

TImportDiary::TImportDiary(const DiaryKey& key, QWidget* parent) : QDialog(parent), key_(key)
{
    setObjectName(QStringLiteral("ImportDiary"));
    setWindowTitle(tr("Import from Another Diary"));
    resize(560, 460);

    FormatBox = new QComboBox(this);
    FormatBox->setObjectName(QStringLiteral("FormatBox"));
    FormatBox->addItem(tr("Found out from the source"));
    for (const ImportFormatInfo& info : ImportFormats())
        FormatBox->addItem(Text(std::string(info.description)));

    SourceEdit = new QLineEdit(this);
    SourceEdit->setObjectName(QStringLiteral("SourceEdit"));
    FileButton = new QPushButton(tr("File..."), this);
    FileButton->setObjectName(QStringLiteral("FileButton"));
    FolderButton = new QPushButton(tr("Folder..."), this);
    FolderButton->setObjectName(QStringLiteral("FolderButton"));
    auto* sourceRow = new QHBoxLayout;
    sourceRow->addWidget(SourceEdit, 1);
    sourceRow->addWidget(FileButton);
    sourceRow->addWidget(FolderButton);

    PatternEdit = new QLineEdit(QStringLiteral("YYYY-MM-DD.md"), this);
    PatternEdit->setObjectName(QStringLiteral("PatternEdit"));
    PatternEdit->setToolTip(tr("How the notes are named: YYYY year, MM month, DD day, / between folders"));

    ConflictBox = new QComboBox(this);
    ConflictBox->setObjectName(QStringLiteral("ConflictBox"));
    ConflictBox->addItem(tr("Add below a separator line"));
    ConflictBox->addItem(tr("Leave the day as it is"));
    ConflictBox->addItem(tr("Replace the entry"));

    auto* form = new QFormLayout;
    form->addRow(tr("Format:"), FormatBox);
    form->addRow(tr("Source:"), sourceRow);
    form->addRow(tr("Note names:"), PatternEdit);
    form->addRow(tr("A day that has an entry:"), ConflictBox);

    PreviewLabel = new QLabel(this);
    PreviewLabel->setObjectName(QStringLiteral("PreviewLabel"));
    PreviewLabel->setWordWrap(true);
    Progress = new QProgressBar(this);
    Progress->setObjectName(QStringLiteral("Progress"));
    Progress->setVisible(false);
    ReportView = new QPlainTextEdit(this);
    ReportView->setObjectName(QStringLiteral("ReportView"));
    ReportView->setReadOnly(true);

    PreviewButton = new QPushButton(tr("Preview"), this);
    PreviewButton->setObjectName(QStringLiteral("PreviewButton"));
    ImportButton = new QPushButton(tr("Import"), this);
    ImportButton->setObjectName(QStringLiteral("ImportButton"));
    ImportButton->setDefault(true);
    CloseButton = new QPushButton(tr("Close"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(PreviewButton);
    buttons->addStretch(1);
    buttons->addWidget(ImportButton);
    buttons->addWidget(CloseButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(PreviewLabel);
    layout->addWidget(Progress);
    layout->addWidget(ReportView, 1);
    layout->addLayout(buttons);

    connect(FileButton, &QPushButton::clicked, this, &TImportDiary::FileButtonClick);
    connect(FolderButton, &QPushButton::clicked, this, &TImportDiary::FolderButtonClick);
    connect(PreviewButton, &QPushButton::clicked, this, &TImportDiary::PreviewButtonClick);
    connect(ImportButton, &QPushButton::clicked, this, &TImportDiary::ImportButtonClick);
    connect(CloseButton, &QPushButton::clicked, this, &TImportDiary::CloseButtonClick);
    connect(FormatBox, &QComboBox::currentIndexChanged, this, [this] { UpdatePattern(); });
    connect(SourceEdit, &QLineEdit::textChanged, this, [this] {
        PreviewLabel->clear();
        UpdatePattern();
    });
    UpdatePattern();
}

void TImportDiary::UpdatePattern()
{
    const int row = FormatBox->currentIndex();
    bool markdown = row > kDetected && ImportFormats()[std::size_t(row - 1)].format == ImportFormat::Markdown;
    if (row == kDetected && !SourceEdit->text().isEmpty())
        markdown = DetectImportFormat(SourceEdit->text().toStdString()) == ImportFormat::Markdown;
    PatternEdit->setEnabled(markdown);
}

void TImportDiary::FileButtonClick()
{
    QFileDialog dialog(this, tr("Choose the Other Diary's File"), QDir::homePath(),
                       tr("Diary files (*.json *.zip *.db *.sqlite);;All files (*)"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (RunModal(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        SourceEdit->setText(dialog.selectedFiles().constFirst());
}

void TImportDiary::FolderButtonClick()
{
    QFileDialog dialog(this, tr("Choose the Other Diary's Folder"), QDir::homePath());
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (RunModal(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        SourceEdit->setText(dialog.selectedFiles().constFirst());
}

std::optional<ImportFormat> TImportDiary::ChosenFormat()
{
    const int row = FormatBox->currentIndex();
    if (row > kDetected)
        return ImportFormats()[std::size_t(row - 1)].format;
    const auto format = DetectImportFormat(SourceEdit->text().toStdString());
    if (!format)
        ShowMessageBox(tr("The source does not look like a diary Quillory can import. Please choose its format."),
                       tr("Import"), MessageButtons::Ok, MessageIcon::Warning);
    return format;
}

std::optional<ImportReport> TImportDiary::Run(bool dryRun)
{
    if (SourceEdit->text().isEmpty()) {
        ShowMessageBox(tr("Please choose the file or folder to import from."), tr("Import"), MessageButtons::Ok,
                       MessageIcon::Warning);
        return std::nullopt;
    }
    const auto format = ChosenFormat();
    if (!format)
        return std::nullopt;
    ImportOptions options;
    options.dryRun = dryRun;
    options.key = key_;
    options.onConflict = ConflictBox->currentIndex() == 1   ? ConflictRule::Skip
                         : ConflictBox->currentIndex() == 2 ? ConflictRule::Replace
                                                            : ConflictRule::Append;
    options.progress = [this](int done, int total) {
        Progress->setMaximum(std::max(total, 1));
        Progress->setValue(done);
        QCoreApplication::processEvents();
        return !cancel_;
    };
    running_ = true;
    cancel_ = false;
    Progress->setValue(0);
    Progress->setVisible(!dryRun);
    PreviewButton->setEnabled(false);
    ImportButton->setEnabled(false);
    CloseButton->setText(tr("Cancel"));
    std::optional<ImportReport> report;
    try {
        const ImportSource source =
            ReadImportSource(*format, SourceEdit->text().toStdString(), PatternEdit->text().toStdString());
        report = ImportIntoDiary(source, options);
    } catch (const ImportCancelled& cancelled) {
        ReportView->setPlainText(Text(cancelled.what()));
    } catch (const Error& error) {
        ShowMessageBox(Text(error.what()), tr("Import"), MessageButtons::Ok, MessageIcon::Error);
    }
    running_ = false;
    Progress->setVisible(false);
    PreviewButton->setEnabled(true);
    ImportButton->setEnabled(true);
    CloseButton->setText(tr("Close"));
    return report;
}

void TImportDiary::PreviewButtonClick()
{
    const auto report = Run(true);
    if (!report)
        return;
    const int conflicts = int(report->appended.size() + report->replaced.size() + report->skipped.size());
    PreviewLabel->setText(tr("%1 entries on %2 days; days that have an entry already: %3.")
                              .arg(report->entries)
                              .arg(int(report->created.size()) + conflicts)
                              .arg(conflicts));
    ReportView->setPlainText(Text(ImportReportText(*report)));
}

void TImportDiary::ImportButtonClick()
{
    if (ConflictBox->currentIndex() == 2
        && !AskConfirm(tr("Entries of days that the other diary has too will be replaced by its text, and "
                          "what they hold now will be lost. Replace them?")))
        return;
    const auto report = Run(false);
    if (!report)
        return;
    imported_ = imported_ || report->days() > 0;
    PreviewLabel->setText(tr("Imported into %1 days.").arg(report->days()));
    ReportView->setPlainText(Text(ImportReportText(*report)));
}

void TImportDiary::CloseButtonClick()
{
    if (running_) {
        cancel_ = true;
        return;
    }
    accept();
}

} // namespace quillory
