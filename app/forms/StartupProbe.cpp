// The first-paint probe of the start-up benchmark.
#include "app/forms/StartupProbe.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace quillory {

namespace {

class FirstPaintProbe : public QObject {
public:
    FirstPaintProbe(QWidget& window) : QObject(&window), window_(&window) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Paint && widget && widget->window() == window_ && !quitting_) {
            quitting_ = true;
            // After the paint has finished, not in the middle of it.
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
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
