// TMainScreen: backing the diary up into a zip archive and restoring it from one.
#include "app/forms/Main.h"

#include "app/AutoBackup.h"
#include "app/DiaryBackup.h"
#include "app/DiaryRestore.h"
#include "app/DiarySecurity.h"
#include "app/forms/AutoBackups.h"
#include "app/forms/BackupSettings.h"
#include "app/forms/BusyCursor.h"
#include "app/forms/Opasswrd.h"
#include "app/forms/RestoreChoice.h"
#include "platform/Clock.h"
#include "platform/Error.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"

#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>

namespace quillory {

namespace {

// The archive chosen in a file dialog (through the modal seam); empty when none was.
QString AskArchive(QWidget* parent, QFileDialog::AcceptMode mode, const QString& title, const QString& suggested)
{
    QFileDialog dialog(parent, title, QDir::homePath(), QStringLiteral("Zip archives (*.zip);;All files (*)"));
    dialog.setAcceptMode(mode);
    if (mode == QFileDialog::AcceptSave) {
        dialog.setDefaultSuffix(QStringLiteral("zip"));
        dialog.selectFile(suggested);
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

// The archive to restore from: one of the backups found in the backup folder, listed newest
// first, or a file chosen in an open dialog (at once when the folder holds none).
QString ChooseRestoreArchive(QWidget* parent)
{
    auto found = FindAutoBackups(BackupFolderOf(LoadAutoBackupSettings()));
    if (!found.empty()) {
        TRestoreChoice choice(std::move(found), parent);
        const int result = RunModal(choice);
        if (result == QDialog::Accepted && choice.Selected())
            return QString::fromStdString(choice.Selected()->file.string());
        if (result != TRestoreChoice::kChooseFile)
            return {};
    }
    return AskArchive(parent, QFileDialog::AcceptOpen, QStringLiteral("Restore Diary"), {});
}

QString FileNameOf(const std::filesystem::path& path)
{
    return QString::fromStdString(path.filename().string());
}

} // namespace

void TMainScreen::BackUpDiary1Click()
{
    if (!SaveButtonClick())
        return;
    const QString file = AskArchive(this, QFileDialog::AcceptSave, QStringLiteral("Back Up Diary"),
                                    QString::fromStdString(DefaultBackupName(Today())));
    if (file.isEmpty())
        return;
    BackupOutcome outcome;
    try {
        BusyCursor busy;
        outcome = BackUpDiary(file.toStdString());
    } catch (const Error& error) {
        ShowError(error);
        return;
    }
    RecordGoodBackup(Now());
    ShowInformation(tr("The diary was backed up and checked: %1 in \"%2\".")
                        .arg(QString::fromStdString(BackupContentsText(outcome.entries, outcome.settings)),
                             FileNameOf(outcome.archive)));
}

void TMainScreen::RestoreDiary1Click()
{
    if (!SaveButtonClick())
        return;
    const QString file = ChooseRestoreArchive(this);
    if (file.isEmpty())
        return;
    if (!AskConfirm(QStringLiteral("Replace the whole diary with the backup \"%1\"? The diary as it is now "
                                   "will be kept as a backup of its own beside it.")
                        .arg(FileNameOf(file.toStdString()))))
        return;

    RestoreOutcome outcome;
    try {
        BusyCursor busy;
        AutoBackups->Wait();  // nor a backup being written see the diary half restored
        outcome = RestoreDiary(file.toStdString());
    } catch (const RestoreIncomplete& error) {
        // The new diary is half in place; only a fresh start finishes it.
        ShowError(error);
        ShowInformation(tr("Quillory! will close now. Start it again to finish the restore."));
        QCoreApplication::exit(0);
        return;
    } catch (const Error& error) {
        ShowError(error);
        return;
    }

    // QL.INI is the restored one now: the password and the settings come from it, and a diary
    // protected otherwise than before opens only with its own password.
    LoadPreferences();
    if (outcome.securityChanged && LoadDiarySecurity().scheme != Scheme::None) {
        ShowInformation(tr("The restored diary has a password of its own. Please enter it."));
        if (!CheckOpeningPassword()) {
            ShowInformation(QStringLiteral("Quillory! will close now: the restored diary opens only with its "
                                           "password."));
            close();
            return;
        }
        LoadPreferences();
    }
    FindDateRecord();
    LoadRichText();
    StartIndexing();
    const QString restored = QStringLiteral("The diary was restored: %1 from \"%2\".")
                                 .arg(QString::fromStdString(BackupContentsText(outcome.entries, outcome.settings)),
                                      FileNameOf(file.toStdString()));
    QString kept;
    if (!outcome.kept.empty()) {
        // The whole path where the box has room for it, else the name in the diary folder.
        kept = QStringLiteral(" The diary it replaced is kept in \"%1\".").arg(QString::fromStdString(outcome.kept.string()));
        if (restored.size() + kept.size() > kMaxMessageLength)
            kept = QStringLiteral(" The diary it replaced is kept in the diary folder as \"%1\".").arg(FileNameOf(outcome.kept));
    }
    ShowInformation(restored + kept);
}

void TMainScreen::AutoBackups1Click()
{
    TBackupSettings dialog(this);
    RunModal(dialog);
}

} // namespace quillory
