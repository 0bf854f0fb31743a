// TGetOpeningPassword: the password asked for at start-up while the diary has one.
#pragma once

#include <QDialog>
#include <functional>
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
    void SetExpectedPassword(const std::string& password);
    // Or the test a typed password must pass (a strong diary's check value must open).
    void SetPasswordCheck(std::function<bool(const std::string& typed)> check) { check_ = std::move(check); }

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

    std::function<bool(const std::string&)> check_;
};

// The start-up gate: true without a question when the diary has no password, else whether the
// opening dialog was passed. A strong diary's password passes when it opens the check value;
// its key is then derived once and held for the run.
bool CheckOpeningPassword();

} // namespace quillory
