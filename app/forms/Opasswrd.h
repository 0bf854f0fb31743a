// TGetOpeningPassword: the password asked for at start-up while the diary has one.
#pragma once

#include "app/DiarySecurity.h"

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

    // The password to expect (the stored one of the simple cipher, unscrambled): the typed
    // text is compared as cp1252 bytes.
    void SetExpectedPassword(const std::string& password);
    // Or the test a typed password must pass (a strong diary's check value must open), given
    // the UTF-8 of the typed text.
    void SetPasswordCheck(std::function<bool(const std::string& typed)> check);

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
    Scheme scheme_ = Scheme::Strong;
};

// The start-up gate: true without a question when the diary has no password, else whether the
// opening dialog was passed. A strong diary's password passes when it opens the check value;
// its key is then derived once and held for the run.
bool CheckOpeningPassword();

} // namespace quillory
