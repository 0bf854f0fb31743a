// The long date as the diary writes it above a page: "Monday, January 4, 2016" in English, the
// locale's own long form in other languages ("Montag, 4. Januar 2016").
#pragma once

#include "platform/Day.h"

#include <QString>

namespace quillory {

QString LongDateCaption(Day day);

// The locale's date separator, as the program's short dates "mm/dd/yyyy" use it: the first mark
// between the fields of its short date format. A format with none (the C locale writes
// "4 Jan 2016") gives '/'.
char LocaleDateSeparator();

} // namespace quillory
