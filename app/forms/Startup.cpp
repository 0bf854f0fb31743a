// The start-up sequence.
#include "app/forms/Startup.h"

#include "app/DiarySecurity.h"
#include "app/DiaryRestore.h"
#include "app/PasswordChange.h"
#include "app/StartupRules.h"
#include "app/forms/FurnitureResources.h"
#include "app/forms/Opasswrd.h"
#include "platform/Error.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/PrinterList.h"
#include "platform/qt/SingleInstance.h"

#include <QApplication>
#include <exception>

namespace quillory {

void ApplyPrinterTest()
{
    try {
        std::vector<std::string> names;
        for (const QString& name : InstalledPrinterNames())
            names.push_back(name.toStdString());
        if (PrintersCountAsNone(names))
            SetPrinterNamesProvider([] { return QStringList(); });
    } catch (const std::exception&) {
        // A printer that cannot be asked about is no reason not to start.
    }
}

StartupOutcome StartQuillory(InstanceLock& lock, const StartupWindows& windows)
{
    InitFurnitureResources();
    ApplyPrinterTest();
    if (lock.AlreadyRunning()) {
        ShowInformation(QStringLiteral("Quillory! is already running"));
        return StartupOutcome::AlreadyRunning;
    }
    QCoreApplication::processEvents();

    // Only the instance that holds the lock may touch the diary's files. A password change
    // that a crash interrupted is finished or undone before the stored password is asked for;
    // left unsettled, some entries would open with one password and some with the other.
    try {
        std::vector<KeptVersion> kept;
        RecoverPasswordChange({}, &kept);
        if (const std::string notice = KeptVersionsNotice(kept); !notice.empty())
            ShowMessageBox(QString::fromStdString(notice), QStringLiteral("Quillory"), MessageButtons::Ok,
                           MessageIcon::Warning);
        RecoverRestore();  // likewise a restore: finished when it was committed, else dropped
    } catch (const Error& error) {
        ShowMessageBox(QString::fromStdString(error.what()), QStringLiteral("Quillory"), MessageButtons::Ok,
                       MessageIcon::Error);
        ShowInformation(QStringLiteral("Terminating Quillory!"));
        return StartupOutcome::Failed;
    }
    RemoveLeftoverPlainCopy();

    if (!CheckOpeningPassword())
        return StartupOutcome::Refused;
    if (windows.createMainWindow)
        windows.createMainWindow();
    if (windows.createIconPalette)
        windows.createIconPalette();
    return StartupOutcome::Started;
}

int RunQuillory(QApplication& app, const StartupWindows& windows)
{
    InstanceLock lock;
    if (StartQuillory(lock, windows) != StartupOutcome::Started) {
        ForgetSessionKey();
        return 0;
    }
    const int result = app.exec();
    ForgetSessionKey();  // the key of a strong diary lives only as long as the run
    return result;
}

} // namespace quillory
