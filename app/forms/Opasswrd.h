// TGetOpeningPassword: the password asked for at start-up while the diary has one.
#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quillory {

class TGetOpeningPassword : public QDialog {
    Q_OBJECT

public:
    explicit TGetOpeningPassword(QWidget* parent = nullptr);

    // The password to expect (the stored one, unscrambled).
    void SetExpectedPassword(const std::string& password) { expected_ = password; }

    // OK: accepted only on the exact password, letter case counting; otherwise a notice, and
    // the dialog stays open with the typed text in place. Tries are not limited.
    void BitBtn1Click();
    // Close: refuses.
    void BitBtn2Click();

    QLabel* Label1 = nullptr;
    QLineEdit* Pass = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;

private:
    void FormCreate();

    std::string expected_;
};

// The start-up gate: true without a question when no password is stored, else whether the
// opening dialog was passed.
bool CheckOpeningPassword();

} // namespace quillory
