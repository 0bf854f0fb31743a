// The list of found entries.
#include "app/forms/Foundlist.h"

#include "app/DateTexts.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quillory {

namespace {

constexpr int kDayRole = Qt::UserRole;

} // namespace

TFoundEntries::TFoundEntries(const QString& query, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FoundEntries"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(tr("Entries containing \"%1\"").arg(query.left(60)));
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(11);
    setFont(arial);
    resize(520, 340);

    Results = new QTreeWidget(this);
    Results->setObjectName(QStringLiteral("Results"));
    Results->setColumnCount(2);
    Results->setHeaderLabels({QStringLiteral("Date"), QStringLiteral("Text")});
    Results->setRootIsDecorated(false);
    Results->setUniformRowHeights(true);
    Results->setAllColumnsShowFocus(true);
    Results->header()->setStretchLastSection(true);
    Results->setColumnWidth(0, 90);
    connect(Results, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { ResultsActivated(item); });

    Status = new QLabel(tr("Searching..."), this);
    Status->setObjectName(QStringLiteral("Status"));

    CloseButton = new QPushButton(tr("Close"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    CloseButton->setAutoDefault(false);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::close);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Status, 1);
    bottom->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Results, 1);
    layout->addLayout(bottom);
}

void TFoundEntries::AddMatch(Day day, const QString& context)
{
    auto* item = new QTreeWidgetItem(Results, {QString::fromStdString(ShortDateText(day)), context});
    item->setData(0, kDayRole, day.Serial());
    item->setToolTip(1, context);
    if (Results->topLevelItemCount() == 1)
        Results->setCurrentItem(item);
}

void TFoundEntries::SetStatus(const QString& text)
{
    Status->setText(text);
}

void TFoundEntries::SearchDone()
{
    const int count = MatchCount();
    SetStatus(count == 0   ? QStringLiteral("No matches")
              : count == 1 ? QStringLiteral("1 entry found")
                           : QStringLiteral("%1 entries found").arg(count));
}

int TFoundEntries::MatchCount() const
{
    return Results->topLevelItemCount();
}

Day TFoundEntries::DayOfRow(int row) const
{
    const QTreeWidgetItem* item = Results->topLevelItem(row);
    return item ? Day::FromSerial(item->data(0, kDayRole).toInt()) : Day();
}

void TFoundEntries::ResultsActivated(QTreeWidgetItem* item)
{
    if (item && OnChoose)
        OnChoose(Day::FromSerial(item->data(0, kDayRole).toInt()));
}

} // namespace quillory
