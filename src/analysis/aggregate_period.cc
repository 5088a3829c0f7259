#include "analysis/aggregate_period.h"

#include <algorithm>

namespace jov {
namespace {

// Months per block of the month kinds, 0 for the others.
int MonthsPerBlock(PeriodKind kind) {
  switch (kind) {
    case PeriodKind::kYears:
      return 12;
    case PeriodKind::kHalfYears:
      return 6;
    case PeriodKind::kTertials:
      return 4;
    case PeriodKind::kQuarters:
      return 3;
    case PeriodKind::kTwoMonths:
      return 2;
    case PeriodKind::kMonths:
      return 1;
    default:
      return 0;
  }
}

// Days per block of the week kinds, 0 for the others.
int DaysPerBlock(PeriodKind kind) {
  switch (kind) {
    case PeriodKind::kFourWeeks:
      return 28;
    case PeriodKind::kThreeWeeks:
      return 21;
    case PeriodKind::kTwoWeeks:
      return 14;
    case PeriodKind::kWeeks:
      return 7;
    default:
      return 0;
  }
}

// YYMM.
void AppendYearMonth(std::string& out, DayCode day) {
  AppendDayCode(out, day);
  out.resize(out.size() - 2);
}

}  // namespace

DayRange CalendarPeriodOf(PeriodKind kind, DayCode day) {
  const CalendarDate date = UnpackDay(day);
  if (const int months = MonthsPerBlock(kind); months > 0) {
    const int first = (date.month - 1) / months * months + 1;
    const int last = first + months - 1;
    return {PackDay(date.year, first, 1), PackDay(date.year, last, DaysInMonth(date.year, last))};
  }
  if (kind == PeriodKind::kHalfMonths) {
    if (date.day <= 15)
      return {PackDay(date.year, date.month, 1), PackDay(date.year, date.month, 15)};
    return {PackDay(date.year, date.month, 16),
            PackDay(date.year, date.month, DaysInMonth(date.year, date.month))};
  }
  if (const int days = DaysPerBlock(kind); days > 0) {
    const int32_t number = DayNumber(day);
    const int32_t into_block = ((number - 1) % days + days) % days;
    const int32_t start = std::max(number - into_block, 0);
    return {DayCodeFromNumber(start), DayCodeFromNumber(number - into_block + days - 1)};
  }
  return {day, day};
}

std::string CalendarPeriodName(PeriodKind kind, DayRange range) {
  std::string name;
  if (kind == PeriodKind::kYears) return std::to_string(UnpackDay(range.start).year);
  if (kind == PeriodKind::kMonths) {
    AppendYearMonth(name, range.start);
  } else if (MonthsPerBlock(kind) > 0) {
    AppendYearMonth(name, range.start);
    name += '-';
    AppendYearMonth(name, range.end);
  } else if (range.start != range.end) {
    AppendDayCode(name, range.start);
    name += '-';
    AppendDayCode(name, range.end);
  }
  return name;
}

}  // namespace jov
