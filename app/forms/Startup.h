// The program's start: printer test, single instance, settling an interrupted password change,
// the opening password, then the main window and the icon palette, then the message loop.
#pragma once

#include <QString>
#include <functional>

class QApplication;

namespace quillory {

class InstanceLock;

// What the start creates once the password gate is passed. The main window's unit fills these;
// until it does, an empty step is skipped.
struct StartupWindows {
    std::function<void()> createMainWindow;
    std::function<void()> createIconPalette;
};

enum class StartupOutcome {
    Started,         // the windows were created: run the message loop
    AlreadyRunning,  // another instance runs; it was said so
    Refused,         // the opening password was not given
    Failed,          // an interrupted password change could not be settled; it was said so
};

// If exactly one printer is installed and its name contains "Rendering", the program's printer
// list becomes empty from now on. Failures are ignored. The printers are first asked about when
// the list is first wanted, not here.
void ApplyPrinterTest();

// Steps 2 to 7 of the start, without the message loop: a test drives them with `lock` in a
// folder of its own.
StartupOutcome StartQuillory(InstanceLock& lock, const StartupWindows& windows);

// The whole start after the QApplication exists; returns the program's exit code. The lock is
// held until the message loop ends.
int RunQuillory(QApplication& app, const StartupWindows& windows);

} // namespace quillory
