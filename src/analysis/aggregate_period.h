// The periods that aggregation condenses into one card each: the calendar period of a day for
// Years down to Days, and the period name that a summary card's title may end with.
#pragma once

#include <string>

#include "analysis/period_kind.h"
#include "model/packed_date.h"

namespace jov {

struct DayRange {
  DayCode start = kNoDay;
  DayCode end = kNoDay;
  bool operator==(const DayRange&) const = default;
};

// The period of calendar kind `kind` (Years .. Days) that holds `day`. Month kinds are blocks of
// months counted from January; Half Months run from the 1st to the 15th and from the 16th to
// the month's end; the week kinds are blocks of days by day number that start on a Monday, on a
// day n with n - 1 divisible by the block length (a block reaching back before 1900-01-01
// starts there).
DayRange CalendarPeriodOf(PeriodKind kind, DayCode day);

// What a summary card's title gets after a blank: the year for Years; start and end month as
// YYMM-YYMM for the blocks of months; YYMM for Months; start and end day as YYMMDD-YYMMDD for
// Half Months, the week kinds and Days, but only when they differ (so Days add nothing).
std::string CalendarPeriodName(PeriodKind kind, DayRange range);

}  // namespace jov
