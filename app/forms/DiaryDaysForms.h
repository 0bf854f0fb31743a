// The windows of what the diary tells about its days: On This Day (entries of this calendar day
// in earlier years), the tag list (choosing a tag searches for it) and the statistics window
// with its bar chart of entries or words per month.
#pragma once

// moc cannot read the standard library headers that these pull in; it does not need them.
#ifndef Q_MOC_RUN
#include "app/DiaryDays.h"
#include "platform/Day.h"
#endif

#include <QDialog>
#include <QWidget>

#include <functional>
#include <string>
#include <utility>
#include <vector>

class QComboBox;
class QLabel;
class QTreeWidget;

namespace quillory {

// One earlier entry of this calendar day.
struct EarlierEntry {
    Day day;
    std::string firstLine;
};

class TOnThisDay : public QDialog {
    Q_OBJECT

public:
    TOnThisDay(Day today, const std::vector<EarlierEntry>& entries, QWidget* parent = nullptr);
    // A row chosen (Enter, double click): show that day.
    std::function<void(Day)> OnChoose;
    QTreeWidget* Entries = nullptr;
};

class TTagList : public QDialog {
    Q_OBJECT

public:
    TTagList(const std::vector<std::pair<std::string, int>>& tags, QWidget* parent = nullptr);
    // A tag chosen: list its days.
    std::function<void(const QString& tag)> OnChoose;
    QTreeWidget* Tags = nullptr;
};

// Bars per month over the years, drawn by its own painting so that they stay crisp at any size.
class TMonthBars : public QWidget {
    Q_OBJECT

public:
    explicit TMonthBars(QWidget* parent = nullptr);
    // (year * 12 + month - 1, value), ascending; months between without a value show no bar.
    void SetValues(std::vector<std::pair<int, double>> values, const QString& unit);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<std::pair<int, double>> values_;
    QString unit_;
};

class TStatistics : public QDialog {
    Q_OBJECT

public:
    TStatistics(const DiaryStatistics& statistics, QWidget* parent = nullptr);
    QLabel* Figures = nullptr;
    QComboBox* Measure = nullptr;  // entries or words per month
    TMonthBars* Bars = nullptr;

private:
    DiaryStatistics statistics_;
};

} // namespace quillory
