#include "analysis/calendar_periods.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace jov {
namespace {

constexpr DayCode D(int year, int month, int day) { return PackDay(year, month, day); }
constexpr Date End(DayCode day) { return {day, kEndOfDay}; }
constexpr Date kFarEnd = End(D(2027, 12, 31));

// The ends an analysis from `start` to `end` gets, asking until the analysis end is reached.
std::vector<Date> Walk(PeriodKind kind, Date start, Date end) {
  std::vector<Date> ends;
  DayCode previous = kNoDay;
  for (;;) {
    const Date next = NextCalendarPeriodEnd(kind, previous, start, end);
    ends.push_back(next);
    if (next >= end || ends.size() > 5000) return ends;
    previous = next.day;
  }
}

// The listed cases, and what the day-by-day walk below does not reach.
TEST(CalendarPeriodsTest, NextEndsFromAStartOrAPreviousEnd) {
  const Date clip{D(2024, 5, 20), 7};
  struct Case {
    PeriodKind kind;
    DayCode start;
    DayCode previous;  // kNoDay: the first period
    Date end;
    Date next;
  };
  const Case cases[] = {
      {PeriodKind::kQuarters, D(2024, 2, 15), kNoDay, kFarEnd, End(D(2024, 3, 31))},
      {PeriodKind::kQuarters, D(2024, 2, 15), D(2024, 3, 31), kFarEnd, End(D(2024, 6, 30))},
      {PeriodKind::kWeeks, D(2024, 1, 3), kNoDay, kFarEnd, End(D(2024, 1, 7))},  // a Wednesday
      {PeriodKind::kFourWeeks, D(2024, 1, 3), kNoDay, kFarEnd, End(D(2024, 1, 28))},
      {PeriodKind::kHalfMonths, D(2024, 3, 1), D(2024, 3, 15), kFarEnd, End(D(2024, 3, 31))},
      {PeriodKind::kHalfMonths, D(2024, 3, 1), D(2024, 3, 31), kFarEnd, End(D(2024, 4, 15))},
      {PeriodKind::kQuarters, D(2024, 2, 15), D(2024, 3, 31), clip, clip},  // cut, number too
      // From the calendar's first day the period before is taken to end on 31 December 1899.
      {PeriodKind::kYears, D(1900, 1, 1), kNoDay, kFarEnd, End(D(1900, 12, 31))},
      {PeriodKind::kWeeks, D(1900, 1, 1), kNoDay, kFarEnd, End(D(1900, 1, 1))},  // a Sunday
      {PeriodKind::kDays, kNoDay, kNoDay, kFarEnd, End(D(1900, 1, 1))},
      {PeriodKind::kActiveCards, D(2024, 1, 1), kNoDay, clip, clip},  // not a calendar kind
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << PeriodKindCode(c.kind) << " after " << DayCodeText(c.previous));
    EXPECT_EQ(NextCalendarPeriodEnd(c.kind, c.previous, {c.start, 1}, c.end), c.next);
  }
}

// An independent calendar for the brute-force walk: every fourth year is a leap year.
struct Day {
  int year, month, day;
  bool operator==(const Day&) const = default;
};
int MonthLength(int year, int month) {
  constexpr std::array<int, 12> kLengths = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return kLengths[month - 1] + (month == 2 && year % 4 == 0 ? 1 : 0);
}
Day Following(Day d) {
  if (d.day < MonthLength(d.year, d.month)) return {d.year, d.month, d.day + 1};
  if (d.month < 12) return {d.year, d.month + 1, 1};
  return {d.year + 1, 1, 1};
}
DayCode Code(Day d) { return D(d.year, d.month, d.day); }

// Which days end a period, asked day by day from the analysis start.
class BoundaryRule {
 public:
  explicit BoundaryRule(PeriodKind kind) : kind_(kind) {}
  bool Ends(Day d, int weekday) {
    const bool last = d.day == MonthLength(d.year, d.month);
    switch (kind_) {
      case PeriodKind::kYears:
        return last && d.month == 12;
      case PeriodKind::kHalfYears:
        return last && d.month % 6 == 0;
      case PeriodKind::kTertials:
        return last && d.month % 4 == 0;
      case PeriodKind::kQuarters:
        return last && d.month % 3 == 0;
      case PeriodKind::kTwoMonths:
        return last && d.month % 2 == 0;
      case PeriodKind::kMonths:
        return last;
      case PeriodKind::kHalfMonths:
        return last || d.day == 15;
      case PeriodKind::kDays:
        return true;
      case PeriodKind::kFourWeeks:
        return EveryNthSunday(4, weekday);
      case PeriodKind::kThreeWeeks:
        return EveryNthSunday(3, weekday);
      case PeriodKind::kTwoWeeks:
        return EveryNthSunday(2, weekday);
      default:
        return EveryNthSunday(1, weekday);
    }
  }

 private:
  // Sundays counted from the start.
  bool EveryNthSunday(int n, int weekday) { return weekday == 0 && ++sundays_ % n == 0; }

  PeriodKind kind_;
  int sundays_ = 0;
};

std::vector<Date> BruteForce(PeriodKind kind, Day start, int start_weekday, Date end) {
  std::vector<Date> ends;
  BoundaryRule rule(kind);
  for (Day d = start;; d = Following(d), start_weekday = (start_weekday + 1) % 7) {
    if (Code(d) == end.day) {
      ends.push_back(end);
      return ends;
    }
    if (rule.Ends(d, start_weekday)) ends.push_back(End(Code(d)));
  }
}

TEST(CalendarPeriodsTest, EveryKindTilesYearsOfDaysAsADayByDayWalkDoes) {
  const Date ends[] = {{D(2004, 3, 1), 7}, End(D(2004, 2, 29)), {D(2003, 12, 31), 2}};
  Day start{1999, 12, 1};
  int weekday = 3;  // 1 December 1999 was a Wednesday
  for (int n = 0; n < 122; ++n, start = Following(start), weekday = (weekday + 1) % 7) {
    const Date end = ends[n % 3];
    for (int k = 0; k <= PeriodKindNumber(PeriodKind::kDays); ++k) {
      const auto kind = static_cast<PeriodKind>(k);
      SCOPED_TRACE(testing::Message() << "kind " << k << " from " << DayCodeText(Code(start)));
      ASSERT_EQ(Walk(kind, {Code(start), 1}, end), BruteForce(kind, start, weekday, end));
    }
  }
}

}  // namespace
}  // namespace jov
