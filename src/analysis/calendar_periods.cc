#include "analysis/calendar_periods.h"

#include <algorithm>
#include <iterator>

namespace jov {
namespace {

constexpr DayCode kFirstDay = PackDay(1900, 1, 1);

// The day a new period follows: its day number and calendar date. Day -1, before the first
// day of the calendar, is 31 December 1899.
struct Previous {
  int64_t number;
  CalendarDate date;
};

Previous DayBeforePeriod(DayCode previous_end, Date start) {
  if (previous_end != kNoDay) return {DayNumber(previous_end), UnpackDay(previous_end)};
  const int64_t number = static_cast<int64_t>(DayNumber(std::max(start.day, kFirstDay))) - 1;
  if (number < 0) return {number, CalendarDate{1899, 12, 31}};
  return {number, DateOfDayNumber(number)};
}

// The length of a period of each calendar kind, Years to Days, in months (month kinds) or
// weeks (week kinds); Half Months and Days have neither.
struct PeriodLength {
  int months;
  int weeks;
};
constexpr PeriodLength kPeriodLengths[] = {{12, 0}, {6, 0}, {4, 0}, {3, 0}, {2, 0}, {1, 0},
                                           {0, 0},  {0, 4}, {0, 3}, {0, 2}, {0, 1}, {0, 0}};
static_assert(std::size(kPeriodLengths) == PeriodKindNumber(PeriodKind::kDays) + 1);

bool IsLastDayOfMonth(const CalendarDate& date) {
  return date.day >= DaysInMonth(date.year, date.month);
}

DayCode LastDayOfMonth(int year, int month) {
  if (month > 12) month -= 12, ++year;
  return PackDay(year, month, DaysInMonth(year, month));
}

// The next month that `months` divides, or that month itself while its last day is still to
// come; the period ends on its last day.
DayCode MonthPeriodEnd(int months, const CalendarDate& p) {
  const int remainder = p.month % months;
  if (remainder != 0) return LastDayOfMonth(p.year, p.month + months - remainder);
  return LastDayOfMonth(p.year, IsLastDayOfMonth(p) ? p.month + months : p.month);
}

DayCode HalfMonthEnd(const CalendarDate& p) {
  if (IsLastDayOfMonth(p)) {
    return p.month == 12 ? PackDay(p.year + 1, 1, 15) : PackDay(p.year, p.month + 1, 15);
  }
  if (p.day >= 15) return LastDayOfMonth(p.year, p.month);
  return PackDay(p.year, p.month, 15);
}

// The last Sunday (weekday 0) not after `weeks` weeks past day `p`.
DayCode WeekPeriodEnd(int weeks, int64_t p) {
  const int64_t limit = p + 7 * weeks;
  return DayCodeFromNumber(static_cast<int32_t>(limit - DayOfWeek(limit)));
}

}  // namespace

Date NextCalendarPeriodEnd(PeriodKind kind, DayCode previous_end, Date start, Date end) {
  if (!IsCalendarKind(kind)) return end;
  const Previous p = DayBeforePeriod(previous_end, start);
  const PeriodLength length = kPeriodLengths[PeriodKindNumber(kind)];
  DayCode day;
  if (length.months > 0) {
    day = MonthPeriodEnd(length.months, p.date);
  } else if (length.weeks > 0) {
    day = WeekPeriodEnd(length.weeks, p.number);
  } else if (kind == PeriodKind::kHalfMonths) {
    day = HalfMonthEnd(p.date);
  } else {
    day = DayCodeFromNumber(static_cast<int32_t>(p.number + 1));
  }
  return std::min(Date{day, kEndOfDay}, end);
}

}  // namespace jov
