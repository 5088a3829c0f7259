// The ends of the calendar periods, Years down to Days: each period ends on the first day after
// the previous one that its kind allows, and the last one is cut off at the analysis end.
#pragma once

#include "analysis/period_kind.h"
#include "model/packed_date.h"

namespace jov {

// The end of the period of a calendar kind that follows the one ending on `previous_end`, or,
// with kNoDay, the first period of an analysis from `start`. The end is the last moment of its
// day, or `end` when it would pass `end`. Month kinds end on the last day of a month that
// their length divides (Years December, Quarters March, June ...), Half Months also on the
// 15th; the week kinds end on the Sunday n weeks after the previous end, the first on the
// n-th Sunday from the start, so they are counted from the start, not from a fixed week. A
// start before 1900-01-01 (kNoDay) is taken as that day; kinds that are not calendar kinds
// give `end`.
Date NextCalendarPeriodEnd(PeriodKind kind, DayCode previous_end, Date start, Date end);

}  // namespace jov
