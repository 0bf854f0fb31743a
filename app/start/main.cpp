// The diary's start: the start-up sequence, then the main window until it closes.
#include "app/forms/Floater.h"
#include "app/forms/Main.h"
#include "app/forms/Startup.h"
#include "app/forms/StartupProbe.h"
#include "platform/qt/DesktopIconTheme.h"
#include "richtext/qt/SymbolFonts.h"

#include <QApplication>
#include <memory>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    quillory::UseDesktopIconTheme();
    quillory::AddSymbolFonts();
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
