// The range part of the print and export options dialogs.
#include "app/forms/OutputOptions.h"

#include "app/forms/FormParts.h"

#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

namespace quillory {

namespace {

QDate ToQDate(Day day) { return QDate(day.Year(), day.Month(), day.DayOfMonth()); }

Day FromQDate(const QDate& date, Day fallback)
{
    return Day::FromDate(date.year(), date.month(), date.day()).value_or(fallback);
}

QDateEdit* AddDateEdit(QWidget* parent, const char* name, const char* hint, QRect place)
{
    auto* edit = new QDateEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    edit->setDateRange(QDate(Day::kFirstYear, 1, 1), QDate(Day::kLastYear, 12, 31));
    edit->setCalendarPopup(true);
    edit->setToolTip(QString::fromLatin1(hint));
    edit->setGeometry(place);
    return edit;
}

QRadioButton* AddRadio(QWidget* parent, const char* name, const QString& caption, const char* hint, QRect place)
{
    auto* radio = new QRadioButton(caption, parent);
    radio->setObjectName(QString::fromLatin1(name));
    radio->setToolTip(QString::fromLatin1(hint));
    radio->setGeometry(place);
    return radio;
}

} // namespace

TOutputOptions::TOutputOptions(const char* verb, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(11);
    setFont(arial);
    const QString doing = QString::fromLatin1(verb);

    PrintCurrentOnly = AddRadio(this, "PrintCurrentOnly", doing + QStringLiteral(" current entry only"),
                                "Print only the currntly showing entry", {24, 16, 220, 22});
    PrintAll = AddRadio(this, "PrintAll", doing + QStringLiteral(" all entries"), "Print all diary entries",
                        {24, 42, 220, 22});
    PrintRangeOfDates = AddRadio(this, "PrintRangeOfDates", doing + QStringLiteral(" range of dates"),
                                 "Print diary entries that fall between a starting \nand ending date",
                                 {24, 68, 220, 22});
    PrintCurrentOnly->setChecked(true);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(24, 96, 394, 72);
    DateEditLabel = AddLabel(Panel1, "DateEditLabel", "Starting Date", {8, 4, 150, 16});
    DateEditFrom = AddDateEdit(Panel1, "DateEditFrom", "Print diary entries starting with this date", {8, 22, 150, 24});
    Label1 = AddLabel(Panel1, "Label1", "Ending Date", {200, 4, 150, 16});
    DateEditTo = AddDateEdit(Panel1, "DateEditTo", "Print diary entries up to and including this date",
                             {200, 22, 150, 24});
    DateFormat = AddLabel(Panel1, "DateFormat", "(use: mm/dd/yyyy)", {0, 52, 394, 16});
    DateFormat->setAlignment(Qt::AlignHCenter);

    OKButton = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("Ok"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    CancelButton = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));

    for (QRadioButton* radio : {PrintCurrentOnly, PrintAll, PrintRangeOfDates})
        connect(radio, &QRadioButton::toggled, this, [this] { SetButtons(); });
    connect(OKButton, &QPushButton::clicked, this, [this] { OKButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, &TOutputOptions::CancelButtonClick);
}

void TOutputOptions::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TOutputOptions::FormActivate()
{
    if (!FirstActivation)
        return;
    DateEditFrom->setDate(ToQDate(StartDate));
    DateEditTo->setDate(ToQDate(EndDate));
    SetButtons();
    FirstActivation = false;
}

void TOutputOptions::SetButtons()
{
    const bool range = PrintRangeOfDates->isChecked();
    DateEditFrom->setEnabled(range);
    DateEditTo->setEnabled(range);
}

void TOutputOptions::OKButtonClick()
{
    TakeChoice();
    accept();
}

void TOutputOptions::TakeChoice()
{
    CurrentOnlyChosen = PrintCurrentOnly->isChecked();
    AllChosen = PrintAll->isChecked();
    if (CurrentOnlyChosen || AllChosen) {
        EndDate = StartDate;
    } else {
        StartDate = FromQDate(DateEditFrom->date(), StartDate);
        EndDate = FromQDate(DateEditTo->date(), EndDate);
    }
}

void TOutputOptions::CancelButtonClick()
{
    reject();
}

OutputScope TOutputOptions::Scope() const
{
    if (CurrentOnlyChosen)
        return OutputScope::CurrentOnly;
    return AllChosen ? OutputScope::All : OutputScope::Range;
}

} // namespace quillory
