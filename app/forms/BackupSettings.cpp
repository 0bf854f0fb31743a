// TBackupSettings: its widgets and handlers; the rules live in app/AutoBackup.
#include "app/forms/BackupSettings.h"

#include "platform/Error.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <filesystem>

namespace quillory {

namespace {

QSpinBox* CountBox(QWidget* parent, const char* name, int minimum)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(minimum, kMaxKeptPerRule);
    return box;
}

} // namespace

TBackupSettings::TBackupSettings(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("BackupSettings"));
    setWindowTitle(tr("Automatic Backups"));

    AutomaticBox = new QCheckBox(tr("Back up the diary by itself when it closes (at most once a day)"), this);
    AutomaticBox->setObjectName(QStringLiteral("AutomaticBox"));

    FolderEdit = new QLineEdit(this);
    FolderEdit->setObjectName(QStringLiteral("FolderEdit"));
    FolderEdit->setMinimumWidth(320);
    ChooseFolderButton = new QPushButton(tr("Choose..."), this);
    ChooseFolderButton->setObjectName(QStringLiteral("ChooseFolderButton"));
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(FolderEdit, 1);
    folderRow->addWidget(ChooseFolderButton);

    KeepDaily = CountBox(this, "KeepDaily", 1);
    KeepWeekly = CountBox(this, "KeepWeekly", 0);
    KeepMonthly = CountBox(this, "KeepMonthly", 0);
    auto* keepRow = new QHBoxLayout;
    keepRow->addWidget(KeepDaily);
    keepRow->addWidget(new QLabel(tr("daily,"), this));
    keepRow->addWidget(KeepWeekly);
    keepRow->addWidget(new QLabel(tr("weekly and"), this));
    keepRow->addWidget(KeepMonthly);
    keepRow->addWidget(new QLabel(tr("monthly"), this));
    keepRow->addStretch(1);

    LastBackupLabel = new QLabel(this);
    LastBackupLabel->setObjectName(QStringLiteral("LastBackupLabel"));
    LastBackupLabel->setWordWrap(true);

    auto* form = new QFormLayout;
    form->addRow(tr("Folder:"), folderRow);
    form->addRow(tr("Keep the last:"), keepRow);
    form->addRow(tr("Last good backup:"), LastBackupLabel);

    auto* buttons = new QDialogButtonBox(this);
    OKBtn = buttons->addButton(QDialogButtonBox::Ok);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    CancelBtn = buttons->addButton(QDialogButtonBox::Cancel);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(AutomaticBox);
    layout->addLayout(form);
    layout->addWidget(new QLabel(tr("Only archives named \"Quillory backup ...\" that Quillory wrote are ever removed "
                                    "from the folder."),
                                 this));
    layout->addWidget(buttons);

    connect(ChooseFolderButton, &QPushButton::clicked, this, &TBackupSettings::ChooseFolderClick);
    connect(OKBtn, &QPushButton::clicked, this, &TBackupSettings::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    FormShow();
}

void TBackupSettings::FormShow()
{
    const AutoBackupSettings settings = LoadAutoBackupSettings();
    AutomaticBox->setChecked(settings.enabled);
    FolderEdit->setText(QString::fromStdString(BackupFolderOf(settings).string()));
    KeepDaily->setValue(settings.keep.daily);
    KeepWeekly->setValue(settings.keep.weekly);
    KeepMonthly->setValue(settings.keep.monthly);

    const auto found = FindAutoBackups(BackupFolderOf(settings));
    const BackupRecord record = LoadBackupRecord();
    const auto last = LastGoodBackup(record, found.empty() ? std::nullopt : std::optional<LocalTime>(found.front().time));
    QString text = last ? QString::fromStdString(BackupTimeText(*last)) : tr("none yet");
    if (record.lastFailed && (!last || MinutesOf(*record.lastFailed) > MinutesOf(*last)))
        text += tr("\nThe last automatic backup failed on %1: %2")
                    .arg(QString::fromStdString(BackupTimeText(*record.lastFailed)),
                         QString::fromStdString(record.failure));
    LastBackupLabel->setText(text);
}

void TBackupSettings::ChooseFolderClick()
{
    QFileDialog dialog(this, tr("Backup Folder"), FolderEdit->text());
    dialog.setOption(QFileDialog::DontUseNativeDialog);  // runs through the modal seam
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (RunModal(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        FolderEdit->setText(QDir::toNativeSeparators(dialog.selectedFiles().constFirst()));
}

AutoBackupSettings TBackupSettings::Chosen() const
{
    AutoBackupSettings settings;
    settings.enabled = AutomaticBox->isChecked();
    const std::filesystem::path folder = FolderEdit->text().trimmed().toStdString();
    if (!folder.empty() && folder.lexically_normal() != DefaultBackupFolder().lexically_normal())
        settings.folder = folder.lexically_normal().string();
    settings.keep = {KeepDaily->value(), KeepWeekly->value(), KeepMonthly->value()};
    return settings;
}

void TBackupSettings::OKBtnClick()
{
    const AutoBackupSettings settings = Chosen();
    if (!settings.folder.empty() && !std::filesystem::path(settings.folder).is_absolute()) {
        ShowMessageBox(tr("Please give the backup folder as a whole path, such as /media/disk/diary-backups."),
                       tr("Automatic Backups"), MessageButtons::Ok, MessageIcon::Warning);
        return;
    }
    try {
        SaveAutoBackupSettings(settings);
    } catch (const Error& error) {
        ShowMessageBox(QString::fromStdString(error.what()), QStringLiteral("Quillory"), MessageButtons::Ok,
                       MessageIcon::Error);
        return;
    }
    accept();
}

} // namespace quillory
