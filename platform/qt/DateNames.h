// The long date as the diary writes it above a page: "Monday, January 4, 2016", with the day
// and month names of the locale.
#pragma once

#include "platform/Day.h"

#include <QString>

namespace quillory {

QString LongDateCaption(Day day);

} // namespace quillory
