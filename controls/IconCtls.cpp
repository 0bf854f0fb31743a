// TIconListBox: loading a library, drawing the items, sizing by columns and rows, dragging.
#include "controls/IconCtls.h"

#include "platform/Files.h"
#include "platform/qt/IconImages.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>

namespace quillory {

namespace {

// Draws an item as its icon centred on the background; no text.
class IconDelegate : public QStyledItemDelegate {
public:
    explicit IconDelegate(TIconListBox& list) : QStyledItemDelegate(&list), list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect, selected ? option.palette.highlight() : option.palette.base());
        const QImage icon = list_.Icon(index.row());
        if (icon.isNull())
            return;  // a damaged icon leaves its cell empty
        const QRect& r = option.rect;
        painter->drawImage(r.left() + (r.width() - icon.width()) / 2, r.top() + (r.height() - icon.height()) / 2, icon);
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return {TIconListBox::ColumnWidth(), TIconListBox::ItemHeight()};
    }

private:
    TIconListBox& list_;
};

int SystemIconSize()
{
    return QApplication::style()->pixelMetric(QStyle::PM_LargeIconSize);
}

} // namespace

TIconListBox::TIconListBox(QWidget* parent) : QListWidget(parent)
{
    setItemDelegate(new IconDelegate(*this));
    // Items run down the visible rows, then on into the next column, as in a list box of
    // several columns; the list scrolls sideways.
    setViewMode(QListView::ListMode);
    setFlow(QListView::TopToBottom);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setGridSize(QSize(ColumnWidth(), ItemHeight()));
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Always there, so that the rows are laid out for the space that is left beside it.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setEnabled(!autoDisable_);
}

int TIconListBox::ItemHeight()
{
    return SystemIconSize() + 6;
}

int TIconListBox::ColumnWidth()
{
    return SystemIconSize() + 6;
}

void TIconListBox::SetFileName(const QString& name)
{
    if (name == fileName_)
        return;
    fileName_ = name;
    LoadFile();
    if (OnFileChange)
        OnFileChange(*this);
}

void TIconListBox::SetAutoDisable(bool on)
{
    autoDisable_ = on;
    setEnabled(!autoDisable_ || FileExistsNoCase(fileName_.toStdString()));
}

void TIconListBox::LoadFile()
{
    clear();
    icons_.clear();
    library_ = IconLibrary();
    numberOfIcons_ = -1;
    const auto path = FindNoCase(fileName_.toStdString());
    const bool exists = !fileName_.isEmpty() && path && FileExistsNoCase(*path);
    setEnabled(!autoDisable_ || exists);
    if (!exists)
        return;

    if (!enableCaching_)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    library_ = IconLibrary::FromFile(*path);
    numberOfIcons_ = library_.Count();
    icons_.resize(std::size_t(numberOfIcons_));
    for (int i = 0; i < numberOfIcons_; ++i) {
        addItem(QString::number(i));
        if (!enableCaching_)
            icons_[std::size_t(i)] = IconImage(library_, i);
    }
    if (count() > 0)
        setCurrentRow(0);
    if (!enableCaching_)
        QApplication::restoreOverrideCursor();
}

QImage TIconListBox::Icon(int index)
{
    if (index < 0 || std::size_t(index) >= icons_.size())
        return {};
    std::optional<QImage>& icon = icons_[std::size_t(index)];
    if (!icon)
        icon = IconImage(library_, index);
    return *icon;
}

int TIconListBox::CachedIcons() const
{
    return int(std::count_if(icons_.begin(), icons_.end(), [](const auto& icon) { return icon.has_value(); }));
}

void TIconListBox::SetXIcons(int columns)
{
    if (columns < 1)
        return;
    xIcons_ = columns;
    Resize();
}

void TIconListBox::SetYIcons(int rows)
{
    if (rows < 1)
        return;
    yIcons_ = rows;
    Resize();
}

void TIconListBox::Resize()
{
    // Room for whole rows above the sideways scroll bar, which a library of more icons than
    // fit always brings; sized without it, the last row would be hidden behind the bar. The
    // list lays out a row only where it has a pixel to spare.
    const int frame = 2 * frameWidth();
    resize(ColumnWidth() * xIcons_ + frame, ItemHeight() * yIcons_ + frame + 1 + horizontalScrollBar()->sizeHint().height());
}

void TIconListBox::startDrag(Qt::DropActions)
{
    const int row = currentRow();
    const QImage icon = Icon(row);
    if (icon.isNull())
        return;
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kIconMimeType), (fileName_ + QLatin1Char('\n') + QString::number(row)).toUtf8());
    data->setImageData(icon);  // what other programs take
    auto* drag = new QDrag(this);  // owned by the list until the drag is over
    drag->setMimeData(data);
    drag->setPixmap(QPixmap::fromImage(icon));
    drag->setHotSpot(QPoint(icon.width() / 2, icon.height() / 2));
    drag->exec(Qt::CopyAction, Qt::CopyAction);
    drag->deleteLater();
}

} // namespace quillory
