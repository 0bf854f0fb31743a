// The one place where modal dialogs are run.
#include "platform/qt/ModalRunner.h"

#include <QApplication>
#include <QPointer>
#include <QScopeGuard>

namespace quillory {

namespace {

ModalRunner& Runner()
{
    static ModalRunner runner;
    return runner;
}

} // namespace

int RunModal(QDialog& dialog)
{
    // When the dialog closes, the keyboard goes back to where it was (the entry, as a rule), so
    // that a person without a mouse goes on typing.
    const QPointer<QWidget> before = QApplication::focusWidget();
    const auto giveBack = qScopeGuard([&before] {
        if (before && before->isVisible()) {
            before->activateWindow();
            before->setFocus(Qt::OtherFocusReason);
        }
    });
    if (!Runner())
        return dialog.exec();
    const int result = Runner()(dialog);
    dialog.setResult(result);
    return result;
}

ModalRunner SetModalRunner(ModalRunner runner)
{
    std::swap(Runner(), runner);
    return runner;
}

ModalScript::ModalScript()
{
    previous_ = SetModalRunner([this](QDialog& dialog) {
        ran_.push_back(QString::fromLatin1(dialog.metaObject()->className()));
        if (steps_.empty())
            return Unexpected(dialog);
        const auto step = std::move(steps_.front());
        steps_.pop_front();
        const int result = step(dialog);
        return result == kKeepResult ? dialog.result() : result;
    });
}

ModalScript::~ModalScript()
{
    SetModalRunner(std::move(previous_));
}

ModalScript& ModalScript::Then(std::function<int(QDialog&)> step)
{
    steps_.push_back(std::move(step));
    return *this;
}

int ModalScript::Unexpected(QDialog& dialog)
{
    unexpected_.push_back(QString::fromLatin1(dialog.metaObject()->className()));
    return QDialog::Rejected;
}

} // namespace quillory
