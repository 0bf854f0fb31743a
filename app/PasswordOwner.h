// What the password dialog needs from the main window: the password it holds and the round
// trip of its settings through QL.INI.
#pragma once

#include "app/Settings.h"

#include <string>

namespace quillory {

class PasswordOwner {
public:
    virtual ~PasswordOwner() = default;

    // The diary password in memory; empty when none is set.
    virtual std::string DiaryPassword() const = 0;
    virtual void SetDiaryPassword(const std::string& password) = 0;
    // Reads every setting from QL.INI into the working state, the password included.
    virtual void LoadPreferences() = 0;
    // Writes the working state to QL.INI; raises "Unable to write to %s" on failure.
    virtual void SavePreferences() = 0;
};

// The owner for when there is no main window: the working state is a Preferences record of
// its own, read from and written to QL.INI.
class SettingsPasswordOwner final : public PasswordOwner {
public:
    explicit SettingsPasswordOwner(WindowRect mainWindow = {}) : mainWindow_(mainWindow) {}

    std::string DiaryPassword() const override { return preferences_.DiaryPassword; }
    void SetDiaryPassword(const std::string& password) override { preferences_.DiaryPassword = password; }
    void LoadPreferences() override { preferences_ = quillory::LoadPreferences(mainWindow_); }
    void SavePreferences() override { quillory::SavePreferences(preferences_); }

    const Preferences& Values() const noexcept { return preferences_; }

private:
    WindowRect mainWindow_;
    Preferences preferences_;
};

} // namespace quillory
