#pragma once

#include "base/value_types.h"

namespace tamrivo {

enum class TimeUnit { Years = 1, Quarters, Months, Weeks, Days, Hours, Minutes, Seconds };

// a minus b in the unit. Years, quarters and months count calendar boundaries crossed (the
// year of a minus the year of b, and so on); weeks count Sundays crossed; days keep the
// fraction; hours, minutes and seconds are the whole units in the difference rounded to the
// second, truncated toward zero. A unit outside the enumeration is clamped into it.
double timeInterval(DateTime a, DateTime b, TimeUnit unit);

}  // namespace tamrivo
