// TBackupSettings: the small dialog of automatic backups from the File menu: on or off, the
// folder, how many to keep, and when the last good backup was made.
#pragma once

// moc cannot read the standard library headers that this pulls in; it does not need them.
#ifndef Q_MOC_RUN
#include "app/AutoBackup.h"
#endif

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace quillory {

class TBackupSettings : public QDialog {
    Q_OBJECT

public:
    explicit TBackupSettings(QWidget* parent = nullptr);

    // Fills the fields from QL.INI and the last backup from the record and the folder.
    void FormShow();
    // "Choose...": a folder picked in a folder dialog goes into the folder field.
    void ChooseFolderClick();
    // OK: the settings into QL.INI; a folder that is not absolute, or a failed write, is
    // reported and the dialog stays open.
    void OKBtnClick();

    // What the fields say, as settings (an empty or default folder is the default).
    AutoBackupSettings Chosen() const;

    QCheckBox* AutomaticBox = nullptr;
    QLineEdit* FolderEdit = nullptr;
    QPushButton* ChooseFolderButton = nullptr;
    QSpinBox* KeepDaily = nullptr;
    QSpinBox* KeepWeekly = nullptr;
    QSpinBox* KeepMonthly = nullptr;
    QLabel* LastBackupLabel = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
};

} // namespace quillory
