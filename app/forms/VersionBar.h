// TVersionBar: the bar above the page when the day on screen has other versions (a sync tool's
// conflict copy, or one kept here), with what the user can do about them: view one, append it
// below the entry, use it instead of the entry (which is kept as a version), or dismiss it.
#pragma once

#ifndef Q_MOC_RUN
#include "app/EntryVersions.h"
#include "platform/Day.h"
#endif

#include <QFrame>
#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QFileSystemWatcher;
class QLabel;
class QPushButton;

namespace quillory {

class TVersionBar : public QFrame {
    Q_OBJECT

public:
    explicit TVersionBar(QWidget* parent = nullptr);

    // The page's side, set by the window that holds the bar.
    std::function<bool()> SavePage;           // saves unsaved changes; false: the action stops
    std::function<void()> ReloadPage;         // shows the day's entry again (and so this bar)
    std::function<std::string()> Password;    // the diary password of this run

    // Looks for the versions of `day`: the bar shows when it has any, and hides otherwise. It
    // looks again by itself whenever the Entries folder changes (a sync tool brought a copy).
    void ShowDay(Day day);
    // The versions shown, oldest first; the one chosen is acted on.
    const std::vector<EntryVersion>& Versions() const noexcept { return versions_; }

    void ViewClick();
    void AppendClick();
    void UseClick();
    void DismissClick();

    QLabel* Message = nullptr;
    QComboBox* Choice = nullptr;
    QPushButton* ViewButton = nullptr;
    QPushButton* AppendButton = nullptr;
    QPushButton* UseButton = nullptr;
    QPushButton* DismissButton = nullptr;

private:
    const EntryVersion* Chosen() const;
    // Append and Use only for a version that opens with this diary's password.
    void ChoiceChanged();
    // Saves the page, settles the version with `settle`, and shows the entry that results.
    void Settle(const std::function<SettledVersion(const EntryVersion&, std::string_view)>& settle);
    void Refresh();

    Day day_;
    bool showing_ = false;
    std::vector<EntryVersion> versions_;
    QFileSystemWatcher* watcher_ = nullptr;
};

} // namespace quillory
