// The export options dialog and the export's busy window.
#include "app/forms/Saveopt.h"

#include "app/forms/FormParts.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"

#include <QComboBox>
#include <algorithm>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quillory {

namespace {

struct FormatChoice {
    const char* caption;
    ExportFormat format;
    const char* example;
};

constexpr FormatChoice kFormatChoices[] = {
    {"Rich Text Format (RTF)", ExportFormat::Rtf,
     "Files will be saved in the form: YYYYMMDD.RTF. For instance, the entry for October 15, 1998 will be saved "
     "as 19981015.RTF."},
    {"Plain text (UTF-8)", ExportFormat::Text,
     "Files will be saved in the form: YYYYMMDD.txt. For instance, the entry for October 15, 1998 will be saved "
     "as 19981015.txt."},
    {"HTML", ExportFormat::Html,
     "Files will be saved in the form: YYYYMMDD.html. For instance, the entry for October 15, 1998 will be saved "
     "as 19981015.html."},
    {"PDF", ExportFormat::Pdf,
     "Files will be saved in the form: YYYYMMDD.pdf. For instance, the entry for October 15, 1998 will be saved "
     "as 19981015.pdf."},
    {"Markdown", ExportFormat::Markdown,
     "Files will be saved in the form: YYYY-MM-DD.md, pictures beside them. For instance, the entry for October "
     "15, 1998 will be saved as 1998-10-15.md."},
    {"JSON (jrnl)", ExportFormat::Json,
     "All entries will be saved in one file, diary.json, in the form jrnl and other tools read."},
};

QString WithSlash(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

} // namespace

TSaveOptions::TSaveOptions(QWidget* parent) : TOutputOptions("Export", parent)
{
    setObjectName(QStringLiteral("SaveOptions"));
    setWindowTitle(tr("Export Options (Export to RTF Format)"));
    setFixedSize(442, 382);

    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(24, 176, 394, 150);
    Label2 = AddLabel(Panel2, "Label2", "Save to path", {0, 0, 200, 16});
    DirectoryListBox1 = new QLineEdit(Panel2);
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    DirectoryListBox1->setGeometry(0, 18, 300, 24);
    BrowseButton = new QPushButton(tr("Browse..."), Panel2);
    BrowseButton->setObjectName(QStringLiteral("BrowseButton"));
    BrowseButton->setToolTip(tr("Pick the folder from a list"));
    BrowseButton->setGeometry(308, 17, 86, 26);
    FormatLabel = AddLabel(Panel2, "FormatLabel", "Save as", {0, 52, 200, 16});
    FormatBox = new QComboBox(Panel2);
    FormatBox->setObjectName(QStringLiteral("FormatBox"));
    for (const FormatChoice& choice : kFormatChoices)
        FormatBox->addItem(QString::fromLatin1(choice.caption));
    FormatBox->setGeometry(0, 70, 300, 24);
    Label3 = AddWrappedLabel(Panel2, "Label3", kFormatChoices[0].example, {0, 104, 394, 44});

    OKButton->setGeometry(24, 336, 100, 32);
    CancelButton->setGeometry(318, 336, 100, 32);
    LabelFor(Label2, DirectoryListBox1);
    LabelFor(FormatLabel, FormatBox);
    ChainTabs({DirectoryListBox1, BrowseButton, FormatBox, OKButton, CancelButton});
    connect(BrowseButton, &QPushButton::clicked, this, &TSaveOptions::BrowseButtonClick);
    connect(FormatBox, &QComboBox::currentIndexChanged, this, &TSaveOptions::FormatBoxChange);
}

void TSaveOptions::FormActivate()
{
    if (FirstActivation)
        DirectoryListBox1->setText(QDir::toNativeSeparators(Folder));
    TOutputOptions::FormActivate();
}

void TSaveOptions::FormatBoxChange()
{
    const int index = std::max(0, FormatBox->currentIndex());
    Label3->setText(QString::fromLatin1(kFormatChoices[index].example));
}

void TSaveOptions::BrowseButtonClick()
{
    QFileDialog dialog(this, QStringLiteral("Save to path"), DirectoryListBox1->text());
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setOption(QFileDialog::DontUseNativeDialog);  // runs through the modal seam
    if (RunModal(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        DirectoryListBox1->setText(QDir::toNativeSeparators(dialog.selectedFiles().constFirst()));
}

void TSaveOptions::TakeChoice()
{
    TOutputOptions::TakeChoice();
    Folder = WithSlash(QDir::fromNativeSeparators(DirectoryListBox1->text().trimmed()));
    Format = kFormatChoices[std::max(0, FormatBox->currentIndex())].format;
}

void TSaveOptions::OKButtonClick()
{
    const QString folder = DirectoryListBox1->text().trimmed();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        ShowInformation(tr("Please choose an existing folder to save to"));
        DirectoryListBox1->setFocus();
        return;
    }
    TOutputOptions::OKButtonClick();
}

TExportProgress::TExportProgress(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("ExportProgress"));
    setWindowTitle(tr("Please wait"));
    setFixedSize(320, 90);
    WhatAmIdoing = AddLabel(this, "WhatAmIdoing", "Exporting...", {16, 14, 288, 20});
    QFont bold = WhatAmIdoing->font();
    bold.setBold(true);
    WhatAmIdoing->setFont(bold);
    Status = AddLabel(this, "Status", "", {16, 46, 288, 20});
}

void TExportProgress::SetStatus(const QString& text)
{
    Status->setText(text);
    QCoreApplication::processEvents();
}

} // namespace quillory
