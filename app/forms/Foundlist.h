// TFoundEntries: every day whose entry contains the text looked for, with a line around the
// first match, filled in date order while the search goes on. Choosing a row shows that day.
#pragma once

// moc cannot read the standard library headers that these pull in; it does not need them.
#ifndef Q_MOC_RUN
#include "platform/Day.h"
#endif

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace quillory {

class TFoundEntries : public QDialog {
    Q_OBJECT

public:
    // A window beside the main window, not modal; it deletes itself when closed.
    TFoundEntries(const QString& query, QWidget* parent = nullptr);

    // One matching day: its date and the line around its first match.
    void AddMatch(Day day, const QString& context);
    // The line under the list while the search goes on ("Processing entry for ...").
    void SetStatus(const QString& text);
    // The search has ended: the count of days found, or "No matches".
    void SearchDone();
    int MatchCount() const;
    // The day of a row.
    Day DayOfRow(int row) const;

    // A row was chosen (double click or Enter).
    std::function<void(Day day)> OnChoose;

    QTreeWidget* Results = nullptr;
    QLabel* Status = nullptr;
    QPushButton* CloseButton = nullptr;

private:
    void ResultsActivated(QTreeWidgetItem* item);
};

} // namespace quillory
