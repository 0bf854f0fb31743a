// The first-paint probe of the start-up benchmark.
#include "app/forms/StartupProbe.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <fstream>
#include <string>

namespace quillory {

namespace {

// The resident set of this process in kibibytes, from the system's account of it; 0 where there is none.
long ResidentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return 0;
}

void Report()
{
    const QByteArray file = qgetenv(kStartupReportVariable);
    if (file.isEmpty())
        return;
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    std::ofstream(file.constData()) << std::chrono::duration_cast<std::chrono::nanoseconds>(now).count() << ' '
                                    << ResidentKiB() << '\n';
}

class FirstPaintProbe : public QObject {
public:
    FirstPaintProbe(QWidget& window) : QObject(&window), window_(&window) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Paint && widget && widget->window() == window_ && !quitting_) {
            quitting_ = true;
            // After the paint has finished, not in the middle of it.
            QTimer::singleShot(0, qApp, [] {
                Report();
                QCoreApplication::quit();
            });
        }
        return false;
    }

private:
    QPointer<QWidget> window_;
    bool quitting_ = false;
};

} // namespace

void QuitAfterFirstPaintWhenMeasuring(QWidget& window)
{
    if (qEnvironmentVariableIsEmpty(kQuitAfterFirstPaintVariable))
        return;
    qApp->installEventFilter(new FirstPaintProbe(window));
}

} // namespace quillory
