// The diary's start: the start-up sequence, then the main window until it closes.
#include "app/forms/Floater.h"
#include "app/forms/Main.h"
#include "app/forms/Startup.h"
#include "app/forms/StartupProbe.h"
#include "app/forms/Translations.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/DeferredStandardIcons.h"
#include "platform/qt/DesktopIconTheme.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ThemeIcons.h"

#include <QApplication>
#include <QIcon>
#include <QStyle>
#include <QStyleFactory>
#include <cstdio>
#include <memory>

namespace {

// "--folder DIR" (or "--folder=DIR") opens the diary in DIR for this run. The diary folder is
// then made ready: an installed copy's default one is created on first use, a named one must
// exist. False, having said why, when the program cannot start.
bool UseDiaryFolder(const QStringList& arguments)
{
    for (qsizetype at = 1; at < arguments.size(); ++at) {
        const QString& argument = arguments[at];
        if (argument == QStringLiteral("--folder") && at + 1 < arguments.size()) {
            quillory::SetDiaryFolder(arguments[++at].toStdString());
        } else if (argument.startsWith(QStringLiteral("--folder="))) {
            quillory::SetDiaryFolder(argument.mid(9).toStdString());
        } else {
            std::fputs("usage: quillory [--folder DIR]\n", stderr);
            return false;
        }
    }
    std::string error;
    if (quillory::PrepareDiaryFolder(&error))
        return true;
    quillory::ShowMessageBox(QString::fromStdString(error), QStringLiteral("Quillory"), quillory::MessageButtons::Ok,
                             quillory::MessageIcon::Error);
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The style chosen for this run (the desktop's, or -style), its standard icons read when drawn.
    QApplication::setStyle(quillory::StyleWithDeferredStandardIcons(QStyleFactory::create(QApplication::style()->name())));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quillory.Quillory"));
    if (!UseDiaryFolder(QCoreApplication::arguments()))
        return 2;
    quillory::InstallTranslations(QLocale::system());
    quillory::UseDesktopIconTheme();
    QApplication::setWindowIcon(quillory::ThemeIcon(QStringLiteral("quillory")));
    std::unique_ptr<quillory::TMainScreen> mainWindow;
    quillory::StartupWindows windows;
    windows.createMainWindow = [&] {
        mainWindow = std::make_unique<quillory::TMainScreen>();
        if (!mainWindow->Created()) {
            // Creation stopped and said why; the message loop ends as soon as it starts.
            QMetaObject::invokeMethod(&app, &QCoreApplication::quit, Qt::QueuedConnection);
            return;
        }
        quillory::QuitAfterFirstPaintWhenMeasuring(*mainWindow);
    };
    windows.createIconPalette = [&] {
        if (!mainWindow || !mainWindow->Created())
            return;
        // A child of the main window: it lives as long, and stays above it.
        mainWindow->SetIconPalette(new quillory::TFloatingPalette(mainWindow.get()));
        mainWindow->FormActivate();
    };
    return quillory::RunQuillory(app, windows);
}
