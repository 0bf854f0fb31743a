// TMainScreen: "Diary Folder...", where an installed copy keeps its diary from the next start on
// - for example a folder that a sync service copies between machines. A portable copy keeps its
// diary beside the program, so the item is disabled there.
#include "app/forms/Main.h"

#include "platform/Error.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QMenu>

namespace quillory {

void TMainScreen::CreateDiaryFolderItem(QMenu* menu)
{
    mnuDiaryFolder = menu->addAction(tr("Diary Folder..."));
    mnuDiaryFolder->setObjectName(QStringLiteral("mnuDiaryFolder"));
    connect(mnuDiaryFolder, &QAction::triggered, this, &TMainScreen::mnuDiaryFolderClick);
    if (PortableCopy()) {
        mnuDiaryFolder->setEnabled(false);
        mnuDiaryFolder->setToolTip(tr("A portable copy keeps its diary beside the program."));
    }
}

void TMainScreen::mnuDiaryFolderClick()
{
    const EnvironmentLookup environment = ProcessEnvironment();
    const std::string set = ReadDiaryFolderSetting(environment);
    QFileDialog dialog(this, QStringLiteral("Diary Folder"), QString::fromStdString(set.empty() ? DiaryFolder() : set));
    dialog.setObjectName(QStringLiteral("DiaryFolderDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);  // runs through the modal seam
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString chosen = QDir::cleanPath(dialog.selectedFiles().front());
    // Choosing the default folder again removes the setting, so that the default stays the
    // default wherever XDG_DATA_HOME points later.
    const bool isDefault = chosen + QLatin1Char('/') == QString::fromStdString(DefaultDiaryFolder(environment));
    try {
        WriteDiaryFolderSetting(environment, isDefault ? std::string() : chosen.toStdString());
    } catch (const Error& error) {
        ShowError(error);
        return;
    }
    ShowInformation(QStringLiteral("From the next start on, Quillory keeps the diary in %1. "
                                   "The entries in %2 stay where they are.")
                        .arg(chosen, QString::fromStdString(DiaryFolder())));
}

} // namespace quillory
