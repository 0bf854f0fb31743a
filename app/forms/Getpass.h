// TGetPassword: sets, changes or clears the diary password and re-keys every entry; and the
// "Select or Change Password" command that leads to it.
#pragma once

#include "app/Passwords.h"

#include <QDialog>
#include <functional>
#include <string>

class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace quillory {

class PasswordOwner;

class TGetPassword : public QDialog {
    Q_OBJECT

public:
    // Reloads the owner's settings, so that the password in memory is the stored one.
    explicit TGetPassword(PasswordOwner& owner, QWidget* parent = nullptr);

    // OK: an empty new password clears; otherwise, once the old password is confirmed, the
    // entries are re-keyed, the settings written and read back, and the dialog closes.
    void OkButtonClick();
    // Clear: once the old password is confirmed, the entries become plain RTF again.
    void ClearButtonClick();
    // Leaving the new password: one that breaks the chosen scheme's rule is refused with a
    // notice and the field emptied. The simple cipher takes 1 to 8 characters from A-Z, a-z,
    // 0-9 and space; the strong scheme up to 1,024 bytes of any letters, digits, spaces and
    // punctuation, but no control characters.
    void NewPasswordExit();
    // Whether the old password typed is the one in memory (always, while none is set).
    bool checkoldpassword() const;
    // Re-keys every entry from `oldPassword` to `newPassword` under the chosen scheme with the
    // progress shown, the buttons disabled and the panel hidden; nothing is touched when the
    // two are equal and the scheme stays. False
    // when it failed: the error has been shown, nothing has changed, and the dialog is usable
    // again.
    bool ProcessPassword(const std::string& oldPassword, const std::string& newPassword);

    QFrame* PassPanel = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* OldPassword = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* NewPassword = nullptr;
    QLabel* Label4 = nullptr;     // the chosen scheme's rule
    QLabel* ShortNote = nullptr;  // shown while a strong password is short: longer is safer
    // The scheme of the new password: strong unless the diary is shared with older copies.
    QRadioButton* StrongScheme = nullptr;
    QRadioButton* LegacyScheme = nullptr;
    QLabel* Label5 = nullptr;
    QProgressBar* Gauge1 = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* ClearButton = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    PasswordScheme ChosenScheme() const;
    // Label4, the field's length and the short-password note, after the scheme and the text.
    void ShowRule();
    void SetProcessing(bool processing);
    // Re-keys, then stores `newPassword` as the owner's and says so when it changed.
    void ChangeTo(const std::string& newPassword);
    bool ConfirmOldPassword();
    // Whether the chosen scheme differs from the diary's (clearing always leaves none).
    bool SchemeChanges(const std::string& newPassword) const;

    PasswordOwner& owner_;
    bool checkingNewPassword_ = false;
};

// The password command of the main window: the backup warning, then (when it is accepted)
// `saveEntry` - so the entry on screen is stored with the current password before any file is
// re-keyed - then the password dialog. When `saveEntry` returns false (the save failed and was
// shown) the command stops there: re-keying would leave the unsaved text under the old password.
// Both dialogs are centred with CenterForm.
void ChangeDiaryPassword(PasswordOwner& owner, const std::function<bool()>& saveEntry, QWidget* parent = nullptr);

} // namespace quillory
