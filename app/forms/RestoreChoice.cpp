// TRestoreChoice: the list of backups with their date, entries and size.
#include "app/forms/RestoreChoice.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quillory {

TRestoreChoice::TRestoreChoice(std::vector<FoundBackup> backups, QWidget* parent)
    : QDialog(parent), backups_(std::move(backups))
{
    setObjectName(QStringLiteral("RestoreChoice"));
    setWindowTitle(tr("Restore Diary"));

    BackupList = new QTreeWidget(this);
    BackupList->setObjectName(QStringLiteral("BackupList"));
    BackupList->setHeaderLabels({tr("Date"), tr("Entries"), tr("Size")});
    BackupList->setRootIsDecorated(false);
    BackupList->setMinimumWidth(380);
    const QLocale locale;
    for (const FoundBackup& backup : backups_) {
        auto* row = new QTreeWidgetItem(BackupList);
        row->setText(0, QString::fromStdString(BackupTimeText(backup.time)));
        row->setText(1, QString::number(backup.entries));
        row->setText(2, locale.formattedDataSize(qint64(backup.bytes)));
        row->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        row->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        row->setToolTip(0, QString::fromStdString(backup.file.string()));
    }
    BackupList->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    if (BackupList->topLevelItemCount() > 0)
        BackupList->setCurrentItem(BackupList->topLevelItem(0));

    auto* buttons = new QDialogButtonBox(this);
    RestoreBtn = buttons->addButton(tr("Restore"), QDialogButtonBox::AcceptRole);
    RestoreBtn->setObjectName(QStringLiteral("RestoreBtn"));
    ChooseFileBtn = buttons->addButton(tr("Choose a File..."), QDialogButtonBox::ActionRole);
    ChooseFileBtn->setObjectName(QStringLiteral("ChooseFileBtn"));
    CancelBtn = buttons->addButton(QDialogButtonBox::Cancel);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Backups found in the backup folder, newest first:"), this));
    layout->addWidget(BackupList, 1);
    layout->addWidget(buttons);

    connect(RestoreBtn, &QPushButton::clicked, this, &TRestoreChoice::RestoreBtnClick);
    connect(ChooseFileBtn, &QPushButton::clicked, this, &TRestoreChoice::ChooseFileBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(BackupList, &QTreeWidget::itemDoubleClicked, this, &TRestoreChoice::RestoreBtnClick);
}

const FoundBackup* TRestoreChoice::Selected() const
{
    const int row = BackupList->indexOfTopLevelItem(BackupList->currentItem());
    return row >= 0 && std::size_t(row) < backups_.size() ? &backups_[std::size_t(row)] : nullptr;
}

void TRestoreChoice::RestoreBtnClick()
{
    if (Selected())
        accept();
}

} // namespace quillory
