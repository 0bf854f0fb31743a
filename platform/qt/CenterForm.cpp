// Dialog centring with the main window found by its class name, so nothing has to register it.
#include "platform/qt/CenterForm.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

namespace quillory {

namespace {

bool IsMainFormClass(const QWidget& widget)
{
    // The class may live in a namespace; only its own name counts, in any case.
    QString name = QString::fromLatin1(widget.metaObject()->className());
    name = name.mid(name.lastIndexOf(QLatin1Char(':')) + 1);
    return name.toUpper() == QLatin1String("TMAINSCREEN");
}

QSize OuterSize(const QWidget& widget)
{
    return widget.frameGeometry().size();
}

} // namespace

QWidget* FindMainForm()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (IsMainFormClass(*widget))
            return widget;
    }
    return nullptr;
}

void CenterForm(QWidget& form)
{
    const QSize size = OuterSize(form);
    const QWidget* main = FindMainForm();
    if (IsMainFormClass(form) || !main || main->isMaximized()) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QSize screenSize = screen ? screen->geometry().size() : QSize();
        form.move((screenSize.width() - size.width()) / 2, (screenSize.height() - size.height()) / 2);
    } else {
        const QRect frame = main->frameGeometry();
        form.move(frame.left() + (frame.width() - size.width()) / 2,
                  frame.top() + (frame.height() - size.height()) / 2);
    }
    const Qt::WindowFlags flags = form.windowFlags();
    if ((flags & Qt::WindowMaximizeButtonHint) && !(flags & Qt::WindowSystemMenuHint)) {
        const bool wasVisible = form.isVisible();
        form.setWindowFlags(flags | Qt::WindowSystemMenuHint);
        if (wasVisible)
            form.show();  // changing the flags hides a shown window
    }
}

} // namespace quillory
