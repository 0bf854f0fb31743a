// The date selector: a date panel, the calendar, five navigation buttons, OK and Cancel.
#include "app/forms/Datesel.h"

#include "controls/Calglyph.h"
#include "controls/Graphp.h"
#include "platform/Clock.h"
#include "platform/qt/DateNames.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPushButton>
#include <QStyle>

#include <algorithm>

namespace quillory {

namespace {

constexpr int kClientWidth = 360;
constexpr int kClientHeight = 303;
constexpr int kPanelHeight = 25;
constexpr int kMarkSize = 8;

QPushButton* AddButton(QWidget* parent, const char* name, const char* caption, const char* hint, QRect place)
{
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(QString::fromLatin1(hint));
    button->setGeometry(place);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TDateSelector::TDateSelector(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), InitialDate(Today())
{
    setObjectName(QStringLiteral("DateSelector"));
    setWindowTitle(QCoreApplication::translate("quillory::TDateSelector", "Select Date"));
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(11);
    setFont(arial);
    setFixedSize(kClientWidth, kClientHeight);

    ShowDatePanel = new TGraphicPanel(this);
    ShowDatePanel->setObjectName(QStringLiteral("ShowDatePanel"));
    ShowDatePanel->setGeometry(0, 0, kClientWidth, kPanelHeight);
    ShowDatePanel->SetBevelOuter(PanelBevel::None);
    QFont heading(QStringLiteral("Arial"));
    heading.setPixelSize(13);
    heading.setBold(true);
    ShowDatePanel->setFont(heading);
    QPalette ink = ShowDatePanel->palette();
    ink.setColor(QPalette::WindowText, Qt::black);
    ShowDatePanel->setPalette(ink);

    Calendar = new TCalendarWithGlyphs(this);
    Calendar->setObjectName(QStringLiteral("Calendar"));
    Calendar->setAccessibleName(QCoreApplication::translate("quillory::TDateSelector", "Calendar"));
    Calendar->setAccessibleDescription(QCoreApplication::translate("quillory::TDateSelector", "Days with an entry are marked; arrow keys move by days, Page Up and Page Down by months"));
    Calendar->setGeometry(4, kPanelHeight + 4, kClientWidth - 8, 197);
    Calendar->SetStartOfWeek(0);
    Calendar->OnChange = [this] { CalendarChange(); };
    Calendar->OnDblClick = [this] { CalendarDblClick(); };
    Calendar->DrawCalendarCellEvent = [this](QPainter& can, int col, int row, const QRect& rect, TGridDrawState state,
                                             const QString& text) {
        CalendarDrawCalendarCellEvent(can, col, row, rect, state, text);
    };

    constexpr int navTop = 232, navWidth = 64, navGap = 6, navLeft = 8;
    const auto nav = [&](int i) { return QRect(navLeft + i * (navWidth + navGap), navTop, navWidth, 25); };
    PrevYear = AddButton(this, "PrevYear", "Year-", "Show the previous year", nav(0));
    PrevMonth = AddButton(this, "PrevMonth", "Month-", "Show the previous month", nav(1));
    DoCurrentDate = AddButton(this, "DoCurrentDate", "Today", "Show today's date", nav(2));
    NextMonth = AddButton(this, "NextMonth", "Month +", "Show the next month", nav(3));
    NextYear = AddButton(this, "NextYear", "Year+", "Show the next year", nav(4));

    OKButton = AddButton(this, "OKButton", "Ok", "", {navLeft, 266, 90, 30});
    OKButton->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    OKButton->setDefault(true);
    CancelButton = AddButton(this, "CancelButton", "Cancel", "", {kClientWidth - navLeft - 90, 266, 90, 30});
    CancelButton->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));

    connect(PrevYear, &QPushButton::clicked, this, &TDateSelector::PrevYearClick);
    connect(PrevMonth, &QPushButton::clicked, this, &TDateSelector::PrevMonthClick);
    connect(DoCurrentDate, &QPushButton::clicked, this, &TDateSelector::DoCurrentDateClick);
    connect(NextMonth, &QPushButton::clicked, this, &TDateSelector::NextMonthClick);
    connect(NextYear, &QPushButton::clicked, this, &TDateSelector::NextYearClick);
    connect(OKButton, &QPushButton::clicked, this, &TDateSelector::OKButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TDateSelector::CancelButtonClick);

    // The calendar first in the tab order, so that the keys move the selection at once.
    setTabOrder(Calendar, PrevYear);
    setTabOrder(PrevYear, PrevMonth);
    setTabOrder(PrevMonth, DoCurrentDate);
    setTabOrder(DoCurrentDate, NextMonth);
    setTabOrder(NextMonth, NextYear);
    setTabOrder(NextYear, OKButton);
    setTabOrder(OKButton, CancelButton);
    FormCreate();
}

void TDateSelector::FormCreate()
{
    initialising_ = true;
    EntryDays.clear();
    lastMonth_ = -1;
    lastYear_ = -1;
}

void TDateSelector::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
    Calendar->setFocus();
}

void TDateSelector::FormActivate()
{
    if (!initialising_)
        return;
    Calendar->SetSelectedDate(InitialDate);  // its notice is ignored while initialising
    initialising_ = false;
    CalendarChange();
}

void TDateSelector::CalendarChange()
{
    if (initialising_)
        return;
    selectedDate_ = Calendar->SelectedDate();
    ShowDatePanel->SetCaption(LongDateCaption(selectedDate_));
    if (Calendar->Month() != lastMonth_ || Calendar->Year() != lastYear_) {
        // The marks are asked for once per month shown, before the calendar repaints.
        EntryDays.clear();
        ++entryDayRequests_;
        if (OnGetEntryDays)
            OnGetEntryDays(EntryDays, Calendar->Year(), Calendar->Month());
        Calendar->update();
    }
    lastMonth_ = Calendar->Month();
    lastYear_ = Calendar->Year();
}

void TDateSelector::CalendarDrawCalendarCellEvent(QPainter& can, int, int, const QRect& ARect, TGridDrawState,
                                                  const QString& Celltext)
{
    if (Celltext.size() > 2)
        return;
    // The grid has set brush and font for the cell's state, so a selected cell keeps its
    // highlight; the number stands at the top right.
    can.fillRect(ARect, can.brush());
    const int textWidth = can.fontMetrics().horizontalAdvance(Celltext);
    can.drawText(QRect(ARect.right() + 1 - textWidth, ARect.top(), textWidth, ARect.height()),
                 Qt::AlignLeft | Qt::AlignTop, Celltext);
    if (std::find(EntryDays.begin(), EntryDays.end(), Celltext.toStdString()) == EntryDays.end())
        return;
    can.setBrush(Qt::red);
    can.setPen(Qt::red);
    const int left = ARect.left() + (ARect.width() - 6) / 2;
    const int top = ARect.top() + (ARect.height() - kMarkSize) / 2 - 2;
    can.drawRect(left, top, kMarkSize - 1, kMarkSize - 1);  // the pen's line makes it 8 x 8
    can.setBrush(Qt::white);
}

void TDateSelector::PrevYearClick() { Calendar->PrevYear(); }
void TDateSelector::PrevMonthClick() { Calendar->PrevMonth(); }
void TDateSelector::DoCurrentDateClick() { Calendar->SetSelectedDate(Today()); }
void TDateSelector::NextMonthClick() { Calendar->NextMonth(); }
void TDateSelector::NextYearClick() { Calendar->NextYear(); }

} // namespace quillory
