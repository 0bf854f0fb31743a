// The search panel's result list: one row per day, newest first, showing the first matching
// line with the match marked, further matching lines of that day as rows under it. A row's lines
// are read (deciphered in memory) only when the view first asks for them, so that a keystroke
// costs the rows on screen, not every day found.
#pragma once

// moc cannot read the standard library headers that these pull in; it does not need them.
#ifndef Q_MOC_RUN
#include "app/SearchableText.h"
#include "platform/Day.h"
#endif

#include <QAbstractItemModel>
#include <QStyledItemDelegate>

#include <functional>
#include <optional>
#include <vector>

namespace quillory {

class TSearchResults : public QAbstractItemModel {
    Q_OBJECT

public:
    // The roles the delegate and the panel read besides the display text.
    enum Role {
        DayRole = Qt::UserRole + 1,  // Day::Serial()
        SegmentsRole,                // QStringList: plain, marked, plain, marked ... of the line
        DateRole,                    // the day's date text on a day's row, empty under it
        ParagraphRole,               // the hit's paragraph, first byte and length (qlonglong)
        StartRole,
        LengthRole,
    };
    // The most lines a day lists.
    static constexpr std::size_t kLinesPerDay = 20;

    explicit TSearchResults(QObject* parent = nullptr);

    // The content of an entry (RTF or text), or nothing when it cannot be read.
    std::function<std::optional<std::string>(Day)> ReadContent;

    void SetResults(const SearchQuery& query, std::vector<Day> days);
    const std::vector<Day>& Days() const noexcept { return days_; }
Q_SIGNALS:
    // A day's row got its further lines (after its first showing): the panel opens it.
    void Announced(const QModelIndex& day);

public:

    // How many days' lines were read since the results were set (what a keystroke cost).
    int RowsRead() const noexcept { return rowsRead_; }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    const std::vector<ParagraphHit>& hitsOf(int dayRow) const;
    // The lines under a day's row, added to the model once read.
    void announce(int dayRow, int generation);

    SearchQuery query_;
    std::vector<Day> days_;
    mutable std::vector<std::optional<std::vector<ParagraphHit>>> hits_;
    mutable std::vector<bool> announced_;
    mutable int rowsRead_ = 0;
    int generation_ = 0;  // of the results: a late announcement of older ones is dropped
};

// Paints a result row: the date in bold on a day's row, then the line with its marks
// highlighted.
class TSearchResultDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace quillory
