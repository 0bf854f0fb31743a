// Every modal dialog of the program runs through RunModal, so that a test can replace the
// person in front of it with a script that fills the dialog's fields and presses its buttons.
#pragma once

#include <QDialog>
#include <QString>
#include <deque>
#include <functional>
#include <vector>

namespace quillory {

// Shows `dialog` modally (QDialog::exec) and returns its result, QDialog::Accepted or
// Rejected or a code of the dialog's own; the dialog's result() says the same afterwards.
int RunModal(QDialog& dialog);

// Test seam: who runs modal dialogs. A runner returns the dialog's result code; an empty one
// restores QDialog::exec. Returns the runner that was in place.
using ModalRunner = std::function<int(QDialog& dialog)>;
ModalRunner SetModalRunner(ModalRunner runner);

// A scripted runner for the lifetime of the object. Each dialog that runs takes the next step;
// a step works on the dialog (sets fields, calls handlers) and returns its result code, or
// kKeepResult to return whatever result the dialog's own handlers set (accept(), done()).
// A dialog with no step left, or not of the step's type, is rejected and recorded.
class ModalScript {
public:
    static constexpr int kKeepResult = -1;

    ModalScript();
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    ModalScript& Then(std::function<int(QDialog&)> step);
    template <typename DialogType>
    ModalScript& Then(std::function<int(DialogType&)> step)
    {
        return Then([this, step = std::move(step)](QDialog& dialog) {
            auto* typed = qobject_cast<DialogType*>(&dialog);
            if (!typed)
                return Unexpected(dialog);
            return step(*typed);
        });
    }

    // Class names of the dialogs run so far, in order.
    const std::vector<QString>& Ran() const noexcept { return ran_; }
    // Class names of the dialogs that no step expected.
    const std::vector<QString>& Unexpected() const noexcept { return unexpected_; }
    bool Finished() const noexcept { return steps_.empty(); }

private:
    int Unexpected(QDialog& dialog);

    std::deque<std::function<int(QDialog&)>> steps_;
    std::vector<QString> ran_;
    std::vector<QString> unexpected_;
    ModalRunner previous_;
};

} // namespace quillory
