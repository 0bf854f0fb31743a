// The search panel's result model and the painting of its rows.
#include "app/forms/SearchResults.h"

#include "platform/qt/QtText.h"

#include <QApplication>
#include <QDate>
#include <QLocale>
#include <QPainter>

namespace quillory {

namespace {

// Internal id of an index: 0 for a day's row, else 1 + the day's row (the parent of a line).
constexpr quintptr kDayRow = 0;

QStringList Segments(const MarkedLine& line)
{
    QStringList segments;
    std::size_t at = 0;
    const std::string_view text = line.text;
    for (const TextSpan& mark : line.marks) {
        segments << TextToQString(text.substr(at, mark.start - at)) << TextToQString(text.substr(mark.start, mark.length));
        at = mark.start + mark.length;
    }
    segments << TextToQString(text.substr(std::min(at, text.size())));
    return segments;
}

QString DateText(Day day)
{
    return QLocale().toString(QDate(day.Year(), day.Month(), day.DayOfMonth()), QStringLiteral("ddd d MMM yyyy"));
}

} // namespace

TSearchResults::TSearchResults(QObject* parent)
    : QAbstractItemModel(parent)
{
}

void TSearchResults::SetResults(const SearchQuery& query, std::vector<Day> days)
{
    beginResetModel();
    query_ = query;
    days_ = std::move(days);
    hits_.assign(days_.size(), std::nullopt);
    announced_.assign(days_.size(), false);
    rowsRead_ = 0;
    ++generation_;
    endResetModel();
}

const std::vector<ParagraphHit>& TSearchResults::hitsOf(int dayRow) const
{
    auto& hits = hits_[std::size_t(dayRow)];
    if (!hits) {
        ++rowsRead_;
        const auto content = ReadContent ? ReadContent(days_[std::size_t(dayRow)]) : std::nullopt;
        hits = content ? FindParagraphHits(query_, *content, kLinesPerDay) : std::vector<ParagraphHit>{};
        // Rows are added between the view's questions, never while it asks.
        if (hits->size() > 1)
            QMetaObject::invokeMethod(
                const_cast<TSearchResults*>(this), [this, dayRow, generation = generation_] {
                    const_cast<TSearchResults*>(this)->announce(dayRow, generation);
                },
                Qt::QueuedConnection);
    }
    return *hits;
}

void TSearchResults::announce(int dayRow, int generation)
{
    if (generation != generation_ || announced_[std::size_t(dayRow)])
        return;
    const QModelIndex day = index(dayRow, 0);
    beginInsertRows(day, 0, int(hits_[std::size_t(dayRow)]->size()) - 2);
    announced_[std::size_t(dayRow)] = true;
    endInsertRows();
    emit Announced(day);
}

QModelIndex TSearchResults::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row < int(days_.size()) ? createIndex(row, 0, kDayRow) : QModelIndex();
    if (parent.internalId() != kDayRow || row >= rowCount(parent))
        return {};
    return createIndex(row, 0, quintptr(parent.row()) + 1);
}

QModelIndex TSearchResults::parent(const QModelIndex& child) const
{
    if (!child.isValid() || child.internalId() == kDayRow)
        return {};
    return createIndex(int(child.internalId() - 1), 0, kDayRow);
}

int TSearchResults::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return int(days_.size());
    if (parent.internalId() != kDayRow || !announced_[std::size_t(parent.row())])
        return 0;
    return std::max(0, int(hits_[std::size_t(parent.row())]->size()) - 1);
}

int TSearchResults::columnCount(const QModelIndex&) const
{
    return 1;
}

bool TSearchResults::hasChildren(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return !days_.empty();
    // Answered without reading the entry: the view asks this of rows it lays out, shown or not.
    if (parent.internalId() != kDayRow)
        return false;
    return rowCount(parent) > 0;
}

QVariant TSearchResults::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const bool dayRow = index.internalId() == kDayRow;
    const int row = dayRow ? index.row() : int(index.internalId() - 1);
    const Day day = days_[std::size_t(row)];
    if (role == DayRole)
        return day.Serial();
    if (role == DateRole)
        return dayRow ? DateText(day) : QString();
    const auto& hits = hitsOf(row);
    const std::size_t at = dayRow ? 0 : std::size_t(index.row()) + 1;
    const ParagraphHit* hit = at < hits.size() ? &hits[at] : nullptr;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: {
        const QString line = hit ? TextToQString(hit->line.text) : QString();
        return dayRow ? DateText(day) + QStringLiteral("  ") + line : line;
    }
    case SegmentsRole:
        return hit ? Segments(hit->line) : QStringList();
    case ParagraphRole:
        return hit ? qlonglong(hit->paragraph) : qlonglong(0);
    case StartRole:
        return hit ? qlonglong(hit->first.start) : qlonglong(0);
    case LengthRole:
        return hit ? qlonglong(hit->first.length) : qlonglong(0);
    default:
        return {};
    }
}

// --- painting -------------------------------------------------------------------------------------

void TSearchResultDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem plain = option;
    initStyleOption(&plain, index);
    plain.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &plain, painter, widget);

    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorRole textRole = selected ? QPalette::HighlightedText : QPalette::Text;
    QRect area = option.rect.adjusted(4, 0, -4, 0);
    painter->save();
    painter->setClipRect(option.rect);
    painter->setPen(option.palette.color(QPalette::Active, textRole));
    const QString date = index.data(TSearchResults::DateRole).toString();
    QFont bold = option.font;
    bold.setBold(true);
    if (!date.isEmpty()) {
        painter->setFont(bold);
        painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter, date);
        area.setLeft(area.left() + QFontMetrics(bold).horizontalAdvance(date) + 10);
    }
    const QStringList segments = index.data(TSearchResults::SegmentsRole).toStringList();
    for (int i = 0; i < segments.size() && area.width() > 0; ++i) {
        const bool mark = i % 2 == 1;
        const QFont& font = mark ? bold : option.font;
        painter->setFont(font);
        const int width = QFontMetrics(font).horizontalAdvance(segments[i]);
        if (mark && !selected) {
            const QRect box(area.left(), area.top() + 2, std::min(width, area.width()), area.height() - 4);
            painter->fillRect(box, QColor(255, 226, 120));
        }
        painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter, segments[i]);
        area.setLeft(area.left() + width);
    }
    painter->restore();
}

QSize TSearchResultDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    // Every row one line high: the view need not ask rows it does not show.
    return QSize(option.rect.width(), QFontMetrics(option.font).height() + 6);
}

} // namespace quillory
