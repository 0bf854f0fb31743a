// TRestoreChoice: the backups found in the backup folder, newest first, to restore from, or a
// file to choose instead.
#pragma once

// moc cannot read the standard library headers that this pulls in; it does not need them.
#ifndef Q_MOC_RUN
#include "app/AutoBackup.h"
#endif

#include <QDialog>
#include <vector>

class QPushButton;
class QTreeWidget;

namespace quillory {

class TRestoreChoice : public QDialog {
    Q_OBJECT

public:
    // The dialog's result when "Choose a File..." was pressed.
    static constexpr int kChooseFile = 2;

    TRestoreChoice(std::vector<FoundBackup> backups, QWidget* parent = nullptr);

    // The backup of the selected row, when the dialog was accepted.
    const FoundBackup* Selected() const;

    // "Restore" (or a double click): accepted with a row selected.
    void RestoreBtnClick();
    void ChooseFileBtnClick() { done(kChooseFile); }

    QTreeWidget* BackupList = nullptr;
    QPushButton* RestoreBtn = nullptr;
    QPushButton* ChooseFileBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

private:
    std::vector<FoundBackup> backups_;
};

} // namespace quillory
