// TMainScreen: backing the diary up into a zip archive and restoring it from one.
#include "app/forms/Main.h"

#include "app/DiaryBackup.h"
#include "app/DiaryRestore.h"
#include "app/DiarySecurity.h"
#include "app/forms/Opasswrd.h"
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

QString FileNameOf(const std::filesystem::path& path)
{
    return QString::fromStdString(path.filename().string());
}

// The busy cursor while files are written and read back.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

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
    ShowInformation(tr("The diary was backed up and checked: %1 in \"%2\".")
                        .arg(QString::fromStdString(BackupContentsText(outcome.entries, outcome.settings)),
                             FileNameOf(outcome.archive)));
}

void TMainScreen::RestoreDiary1Click()
{
    if (!SaveButtonClick())
        return;
    const QString file = AskArchive(this, QFileDialog::AcceptOpen, QStringLiteral("Restore Diary"), {});
    if (file.isEmpty())
        return;
    if (!AskConfirm(QStringLiteral("Replace the whole diary with the backup \"%1\"? The diary as it is now "
                                   "will be kept as a backup of its own beside it.")
                        .arg(FileNameOf(file.toStdString()))))
        return;

    RestoreOutcome outcome;
    try {
        BusyCursor busy;
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

} // namespace quillory
