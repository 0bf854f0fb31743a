// The start-up sequence.
#include "app/forms/Startup.h"

#include "app/DiarySecurity.h"
#include "app/DiaryRestore.h"
#include "app/ImportSwap.h"
#include "app/PasswordChange.h"
#include "app/StartupRules.h"
#include "app/forms/FurnitureResources.h"
#include "app/forms/Opasswrd.h"
#include "platform/Error.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/PrinterList.h"
#include "platform/qt/SingleInstance.h"

#include <QApplication>
#include <QPrinterInfo>
#include <exception>
#include <memory>
#include <optional>

namespace quillory {

void ApplyPrinterTest()
{
    // Asking the system for its printers loads the print plug-in and talks to the print
    // service: left to the first question about printers, which the start does not ask. The
    // answer then is the start's decision for the rest of the run.
    PrinterNamesProvider asked = SetPrinterNamesProvider({});
    auto none = std::make_shared<std::optional<bool>>();
    SetPrinterNamesProvider([asked = std::move(asked), none]() -> QStringList {
        if (none->has_value())
            return **none ? QStringList() : asked ? asked() : QPrinterInfo::availablePrinterNames();
        QStringList installed;
        try {
            installed = asked ? asked() : QPrinterInfo::availablePrinterNames();
            std::vector<std::string> names;
            for (const QString& name : installed)
                names.push_back(name.toStdString());
            *none = PrintersCountAsNone(names);
        } catch (const std::exception&) {
            *none = false;  // printers that cannot be asked about are no reason to drop them
        }
        if (**none)
            return {};
        return installed;
    });
}

StartupOutcome StartQuillory(InstanceLock& lock, const StartupWindows& windows)
{
    InitFurnitureResources();
    ApplyPrinterTest();
    if (lock.AlreadyRunning()) {
        ShowInformation(QCoreApplication::translate("Startup", "Quillory! is already running"));
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
        RecoverImport();   // and an import of another diary's entries
    } catch (const Error& error) {
        ShowMessageBox(QString::fromStdString(error.what()), QStringLiteral("Quillory"), MessageButtons::Ok,
                       MessageIcon::Error);
        ShowInformation(QCoreApplication::translate("Startup", "Terminating Quillory!"));
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
