// TSearchPanel: the field, the result list and the keys that move between them.
#include "app/forms/SearchPanel.h"

#include "app/EntryIndex.h"
#include "app/forms/SearchResults.h"
#include "platform/qt/QtText.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTreeView>
#include <QVBoxLayout>

namespace quillory {

TSearchPanel::TSearchPanel(const EntryIndex& index, QWidget* parent)
    : QWidget(parent), index_(index)
{
    setObjectName(QStringLiteral("SearchPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);

    Field = new QLineEdit(this);
    Field->setObjectName(QStringLiteral("SearchField"));
    Field->setPlaceholderText(tr("Search entries: words, \"a phrase\", -word, #tag, from:2024-01-01"));
    Field->installEventFilter(this);

    results_ = new TSearchResults(this);
    results_->ReadContent = [this](Day day) { return ReadContent ? ReadContent(day) : std::nullopt; };
    ResultList = new QTreeView(this);
    ResultList->setObjectName(QStringLiteral("SearchResults"));
    ResultList->setModel(results_);
    ResultList->setItemDelegate(new TSearchResultDelegate(ResultList));
    ResultList->setHeaderHidden(true);
    ResultList->setUniformRowHeights(true);
    ResultList->setRootIsDecorated(true);
    ResultList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ResultList->setSelectionBehavior(QAbstractItemView::SelectRows);
    ResultList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ResultList->installEventFilter(this);

    Status = new QLabel(this);
    Status->setObjectName(QStringLiteral("SearchStatus"));

    layout->addWidget(Field);
    layout->addWidget(ResultList, 1);
    layout->addWidget(Status);

    connect(Field, &QLineEdit::textChanged, this, &TSearchPanel::QueryChanged);
    connect(ResultList, &QTreeView::activated, this, &TSearchPanel::Choose);
    connect(ResultList, &QTreeView::clicked, this, &TSearchPanel::Choose);
    // Further lines of a day stand under it as soon as they are known.
    connect(results_, &TSearchResults::Announced, ResultList, &QTreeView::expand);
    setMinimumWidth(280);
    setMinimumHeight(200);
}

void TSearchPanel::FocusField()
{
    Field->setFocus(Qt::ShortcutFocusReason);
    Field->selectAll();
}

void TSearchPanel::Refresh()
{
    lastDays_.clear();
    lastReady_ = false;
    QueryChanged();
}

std::vector<Day> TSearchPanel::ListedDays() const
{
    return results_->Days();
}

void TSearchPanel::QueryChanged()
{
    const SearchQuery query = ParseQuery(QStringToText(Field->text()));
    // Typing on narrows the last query: only its days need a look (a half-built index has
    // not seen every day yet, so its results narrow nothing).
    const bool ready = index_.Ready();
    std::vector<Day> days = lastReady_ && ready && Narrows(query, lastQuery_) ? index_.Search(query, lastDays_)
                                                                               : index_.Search(query);
    lastQuery_ = query;
    lastDays_ = days;
    lastReady_ = ready;
    results_->SetResults(query, std::move(days));
    if (results_->rowCount() > 0)
        ResultList->setCurrentIndex(results_->index(0, 0));
    ShowStatus();
}

void TSearchPanel::ShowStatus()
{
    QStringList parts;
    if (!lastQuery_.problems.empty()) {
        QStringList unclear;
        for (const std::string& problem : lastQuery_.problems)
            unclear << TextToQString(problem);
        parts << tr("Not a day (YYYY-MM-DD): %1").arg(unclear.join(QStringLiteral(", ")));
    }
    if (lastQuery_.AsksAnything())
        parts << (lastDays_.empty()       ? tr("No matches")
                  : lastDays_.size() == 1 ? tr("1 day")
                                          : tr("%1 days").arg(lastDays_.size()));
    if (!index_.Ready())
        parts << tr("Reading entries (%1 so far)...").arg(index_.EntryCount());
    Status->setText(parts.join(QStringLiteral(" \u00B7 ")));
}

void TSearchPanel::Choose(const QModelIndex& row)
{
    if (!row.isValid() || !OnChoose)
        return;
    FoundPlace place;
    place.day = Day::FromSerial(row.data(TSearchResults::DayRole).toInt());
    place.paragraph = std::size_t(row.data(TSearchResults::ParagraphRole).toLongLong());
    place.start = std::size_t(row.data(TSearchResults::StartRole).toLongLong());
    place.length = std::size_t(row.data(TSearchResults::LengthRole).toLongLong());
    OnChoose(place);
}

bool TSearchPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Escape:
        if (OnLeave)
            OnLeave();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Choose(ResultList->currentIndex());
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // From the field the keys move through the list; typing goes on in the field.
        if (watched == Field) {
            QKeyEvent copy(key->type(), key->key(), key->modifiers());
            QCoreApplication::sendEvent(ResultList, &copy);
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void TSearchPanel::showEvent(QShowEvent* event)
{
    Field->setClearButtonEnabled(true);
    QWidget::showEvent(event);
}

} // namespace quillory
