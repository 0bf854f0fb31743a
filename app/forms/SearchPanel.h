// TSearchPanel: search as you type. A field for the query (words, "a phrase", -word, #tag,
// from:DAY, until:DAY) and the list of matching days under it, filled at every keystroke from
// the in-memory index. The arrow keys move through the list from the field, Enter shows the
// chosen day with the match selected, Escape goes back to the entry.
#pragma once

// moc cannot read the standard library headers that these pull in; it does not need them.
#ifndef Q_MOC_RUN
#include "app/SearchQuery.h"
#include "platform/Day.h"
#endif

#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QTreeView;

namespace quillory {

class EntryIndex;
class TSearchResults;

// Where a chosen row's match lies in its entry.
struct FoundPlace {
    Day day;
    std::size_t paragraph = 0;  // 0-based
    std::size_t start = 0;      // bytes of the paragraph's text
    std::size_t length = 0;
};

class TSearchPanel : public QWidget {
    Q_OBJECT

public:
    TSearchPanel(const EntryIndex& index, QWidget* parent = nullptr);

    // The content of an entry (deciphered in memory), for the result lines; nothing when it
    // cannot be read.
    std::function<std::optional<std::string>(Day)> ReadContent;
    // A row was chosen (Enter, a click): show its day with the match selected.
    std::function<void(const FoundPlace&)> OnChoose;
    // Escape: back to the entry.
    std::function<void()> OnLeave;

    QSize sizeHint() const override { return QSize(360, 400); }
    // Puts the caret into the field, its text selected.
    void FocusField();
    // Runs the query again: the index changed (built, or an entry saved).
    void Refresh();
    // The days listed, newest first.
    std::vector<Day> ListedDays() const;
    TSearchResults& Results() const { return *results_; }

    QLineEdit* Field = nullptr;
    QTreeView* ResultList = nullptr;
    QLabel* Status = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The field's clear button is made when the panel first shows: its picture is the style's,
    // and reading that at start loads every image plug-in.
    void showEvent(QShowEvent* event) override;

private:
    void QueryChanged();
    void Choose(const QModelIndex& row);
    void ShowStatus();

    const EntryIndex& index_;
    TSearchResults* results_ = nullptr;
    // The last query run and its days, for narrowing the next one.
    SearchQuery lastQuery_;
    std::vector<Day> lastDays_;
    bool lastReady_ = false;
};

} // namespace quillory
