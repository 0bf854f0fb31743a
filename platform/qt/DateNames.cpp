// The long date with the locale's names.
#include "platform/qt/DateNames.h"

#include <QDate>
#include <QLocale>

namespace quillory {

QString LongDateCaption(Day day)
{
    const QLocale locale;
    // Other languages write the date in their own long form ("Freitag, 11. Dezember 2026");
    // English and the C locale keep the diary's own "Friday, December 11, 2026".
    if (locale.language() != QLocale::C && locale.language() != QLocale::English)
        return locale.toString(QDate(day.Year(), day.Month(), day.DayOfMonth()), QLocale::LongFormat);
    const int weekday = day.Weekday() == 0 ? 7 : day.Weekday();  // Qt counts from Monday
    return QStringLiteral("%1, %2 %3, %4")
        .arg(locale.dayName(weekday, QLocale::LongFormat), locale.monthName(day.Month(), QLocale::LongFormat))
        .arg(day.DayOfMonth())
        .arg(day.Year());
}

char LocaleDateSeparator()
{
    for (const QChar c : QLocale().dateFormat(QLocale::ShortFormat)) {
        if (!c.isLetter() && !c.isSpace() && c.unicode() < 128)
            return char(c.unicode());
    }
    return '/';
}

} // namespace quillory
