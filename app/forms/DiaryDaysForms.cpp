// TOnThisDay, TTagList, TMonthBars and TStatistics.
#include "app/forms/DiaryDaysForms.h"

#include "platform/qt/QtText.h"

#include <QComboBox>
#include <QDate>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace quillory {

namespace {

QString LongDate(Day day)
{
    return QLocale().toString(QDate(day.Year(), day.Month(), day.DayOfMonth()), QLocale::LongFormat);
}

QString DaysText(int days)
{
    return days == 1 ? QObject::tr("1 day") : QObject::tr("%1 days").arg(days);
}

QDialogButtonBox* CloseButtons(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

} // namespace

TOnThisDay::TOnThisDay(Day today, const std::vector<EarlierEntry>& entries, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("OnThisDay"));
    setWindowTitle(tr("On This Day: %1").arg(LongDate(today)));
    auto* layout = new QVBoxLayout(this);
    Entries = new QTreeWidget(this);
    Entries->setHeaderLabels({tr("When"), tr("Day"), tr("First line")});
    Entries->setRootIsDecorated(false);
    // Newest first: "1 year ago" at the top.
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        const int years = today.Year() - it->day.Year();
        const QString ago = years == 1 ? tr("1 year ago") : tr("%1 years ago").arg(years);
        auto* row = new QTreeWidgetItem(Entries, {ago, LongDate(it->day),
                                                  TextToQString(it->firstLine)});
        row->setData(0, Qt::UserRole, it->day.Serial());
    }
    Entries->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    if (Entries->topLevelItemCount() > 0)
        Entries->setCurrentItem(Entries->topLevelItem(0));
    layout->addWidget(Entries);
    layout->addWidget(CloseButtons(this));
    connect(Entries, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* row) {
        if (OnChoose)
            OnChoose(Day::FromSerial(row->data(0, Qt::UserRole).toInt()));
        accept();
    });
    resize(640, 320);
}

TTagList::TTagList(const std::vector<std::pair<std::string, int>>& tags, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TagList"));
    setWindowTitle(tr("Tags"));
    auto* layout = new QVBoxLayout(this);
    Tags = new QTreeWidget(this);
    Tags->setHeaderLabels({tr("Tag"), tr("Days")});
    Tags->setRootIsDecorated(false);
    for (const auto& [tag, count] : tags) {
        auto* row = new QTreeWidgetItem(Tags, {QStringLiteral("#") + TextToQString(tag), QString::number(count)});
        row->setTextAlignment(1, Qt::AlignRight);
    }
    if (Tags->topLevelItemCount() > 0)
        Tags->setCurrentItem(Tags->topLevelItem(0));
    Tags->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    layout->addWidget(Tags);
    layout->addWidget(CloseButtons(this));
    connect(Tags, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* row) {
        if (OnChoose)
            OnChoose(row->text(0));
        accept();
    });
    resize(320, 400);
}

TMonthBars::TMonthBars(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("MonthBars"));
    setMinimumSize(320, 160);
}

void TMonthBars::SetValues(std::vector<std::pair<int, double>> values, const QString& unit)
{
    values_ = std::move(values);
    unit_ = unit;
    update();
}

void TMonthBars::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(rect(), palette().base());
    if (values_.empty())
        return;
    const QFontMetrics metrics(font());
    const int first = values_.front().first / 12 * 12;      // January of the first year
    const int last = values_.back().first / 12 * 12 + 11;  // December of the last
    const int months = last - first + 1;
    double top = 0;
    for (const auto& [month, value] : values_)
        top = std::max(top, value);
    const QRectF area = QRectF(rect()).adjusted(metrics.horizontalAdvance(QStringLiteral("00000")) + 8, metrics.height() + 6, -8,
                                                -metrics.height() - 6);
    const double width = area.width() / months;
    // The scale: the largest value at the top, half of it at the middle.
    painter.setPen(palette().color(QPalette::Mid));
    for (const double share : {0.5, 1.0}) {
        const double y = std::round(area.bottom() - share * area.height()) + 0.5;
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(QRectF(0, y - metrics.height() / 2.0, area.left() - 4, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(std::lround(top * share)));
        painter.setPen(palette().color(QPalette::Mid));
    }
    // Bars on whole pixels, so that they stay sharp at any size.
    const QColor bar = palette().color(QPalette::Highlight);
    for (const auto& [month, value] : values_) {
        const double x = area.left() + (month - first) * width;
        const double height = top > 0 ? value / top * area.height() : 0;
        const QRect box(QPoint(int(std::round(x + width * 0.15)), int(std::round(area.bottom() - height))),
                        QPoint(int(std::round(x + width * 0.85)) - 1, int(std::round(area.bottom())) - 1));
        painter.fillRect(box, bar);
    }
    // The years under their months.
    painter.setPen(palette().color(QPalette::Text));
    for (int year = first / 12; year <= last / 12; ++year) {
        const double x = area.left() + (year * 12 - first) * width;
        painter.drawLine(QPointF(std::round(x) + 0.5, area.bottom()), QPointF(std::round(x) + 0.5, area.bottom() + 4));
        painter.drawText(QRectF(x, area.bottom() + 4, width * 12, metrics.height()), Qt::AlignHCenter, QString::number(year));
    }
    painter.drawText(QRectF(area.left(), 0, area.width(), metrics.height()), Qt::AlignRight, unit_);
}

TStatistics::TStatistics(const DiaryStatistics& statistics, QWidget* parent)
    : QDialog(parent), statistics_(statistics)
{
    setObjectName(QStringLiteral("Statistics"));
    setWindowTitle(tr("Statistics"));
    auto* layout = new QVBoxLayout(this);
    Figures = new QLabel(this);
    Figures->setObjectName(QStringLiteral("StatisticsFigures"));
    Figures->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QStringList lines;
    lines << tr("Entries: %1").arg(statistics.entries) << tr("Words: %1").arg(statistics.words);
    if (statistics.entries > 0) {
        lines << tr("First entry: %1").arg(LongDate(statistics.first))
              << tr("Average words per entry: %1").arg(statistics.averageWords, 0, 'f', 1)
              << tr("Current streak: %1").arg(DaysText(statistics.currentStreak))
              << tr("Longest streak: %1, up to %2").arg(DaysText(statistics.longestStreak), LongDate(statistics.longestStreakEnd));
    }
    Figures->setText(lines.join(QLatin1Char('\n')));
    Measure = new QComboBox(this);
    Measure->addItems({tr("Entries per month"), tr("Words per month")});
    Bars = new TMonthBars(this);
    layout->addWidget(Figures);
    layout->addWidget(Measure);
    layout->addWidget(Bars, 1);
    layout->addWidget(CloseButtons(this));
    const auto show = [this](int measure) {
        std::vector<std::pair<int, double>> values;
        if (measure == 0)
            for (const auto& [month, count] : statistics_.entriesPerMonth)
                values.emplace_back(month, double(count));
        else
            for (const auto& [month, words] : statistics_.wordsPerMonth)
                values.emplace_back(month, double(words));
        Bars->SetValues(std::move(values), Measure->currentText());
    };
    connect(Measure, &QComboBox::currentIndexChanged, this, show);
    show(0);
    resize(640, 420);
}

} // namespace quillory
