#include "analysis/time_shift.h"

#include <gtest/gtest.h>

#include "analysis/variable.h"
#include "model/database.h"
#include "shell/process.h"

namespace jov {
namespace {

TEST(TimeShiftTest, TextFormsReadBackAndOddTextsGiveNoShift) {
  struct Case {
    std::string_view text;
    TimeShift shift;
  };
  const Case cases[] = {
      {"Y+", {TimeShiftKind::kPlusYear}},
      {"Y-", {TimeShiftKind::kMinusYear}},
      {"Q+", {TimeShiftKind::kPlusQuarter}},
      {"Q-", {TimeShiftKind::kMinusQuarter}},
      {"M+", {TimeShiftKind::kPlusMonth}},
      {"M-", {TimeShiftKind::kMinusMonth}},
      {"+2M", TimeShift::Other(2, ShiftUnit::kMonths)},
      {"-10D", TimeShift::Other(-10, ShiftUnit::kDays)},
      {"+1Y", TimeShift::Other(1, ShiftUnit::kYears)},
      {"+3W", TimeShift::Other(3, ShiftUnit::kWeeks)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TimeShift::FromText(c.text), c.shift) << c.text;
    EXPECT_EQ(c.shift.Text(), c.text);
  }
  for (const std::string_view odd :
       {"", "Y", "y+", "+M", "2M", "+2X", "+0D", "-0Y", "+2 M", "M+ "}) {
    EXPECT_TRUE(TimeShift::FromText(odd).IsNone()) << odd;
  }
  EXPECT_TRUE(TimeShift::Other(0, ShiftUnit::kDays).IsNone());
  EXPECT_EQ(TimeShift().Text(), "");
  EXPECT_EQ(TimeShift::FromText("+99999999999D").amount, kMaxShiftAmount);
}

TEST(TimeShiftTest, ShiftedDaysKeepMonthEndsWhereThePeriodsEndMonths) {
  struct Case {
    TimeShift shift;
    PeriodKind kind;
    DayCode day;
    DayCode expected;
  };
  const TimeShift plus_year{TimeShiftKind::kPlusYear};
  const TimeShift minus_year{TimeShiftKind::kMinusYear};
  const TimeShift plus_month{TimeShiftKind::kPlusMonth};
  const TimeShift minus_quarter{TimeShiftKind::kMinusQuarter};
  const Case cases[] = {
      // The window of a +Year shift on months: last year's February, its last day.
      {plus_year, PeriodKind::kMonths, PackDay(2024, 2, 29), PackDay(2023, 2, 28)},
      {plus_year, PeriodKind::kMonths, PackDay(2024, 3, 31), PackDay(2023, 3, 31)},
      {plus_year, PeriodKind::kMonths, PackDay(2024, 3, 1), PackDay(2023, 3, 1)},
      // Back into a leap year: a February's last day becomes the 29th on month kinds only.
      {minus_year, PeriodKind::kMonths, PackDay(2023, 2, 28), PackDay(2024, 2, 29)},
      {minus_year, PeriodKind::kYears, PackDay(2023, 2, 28), PackDay(2024, 2, 28)},
      {minus_year, PeriodKind::kWeeks, PackDay(2023, 2, 28), PackDay(2024, 2, 28)},
      {plus_year, PeriodKind::kWeeks, PackDay(2024, 2, 29), PackDay(2023, 2, 28)},
      // Months: a month's last day stays one on month kinds, else the day is clamped.
      {plus_month, PeriodKind::kMonths, PackDay(2024, 4, 30), PackDay(2024, 3, 31)},
      {plus_month, PeriodKind::kHalfMonths, PackDay(2024, 3, 31), PackDay(2024, 2, 29)},
      {plus_month, PeriodKind::kDays, PackDay(2024, 4, 30), PackDay(2024, 3, 30)},
      {plus_month, PeriodKind::kDays, PackDay(2024, 3, 31), PackDay(2024, 2, 29)},
      {plus_month, PeriodKind::kMonths, PackDay(2024, 1, 15), PackDay(2023, 12, 15)},
      {minus_quarter, PeriodKind::kQuarters, PackDay(2024, 11, 30), PackDay(2025, 2, 28)},
      {minus_quarter, PeriodKind::kQuarters, PackDay(2024, 6, 30), PackDay(2024, 9, 30)},
      // Weeks and days count days, across the turn of a year.
      {TimeShift::Other(2, ShiftUnit::kWeeks), PeriodKind::kMonths, PackDay(2024, 1, 3),
       PackDay(2023, 12, 20)},
      {TimeShift::Other(-10, ShiftUnit::kDays), PeriodKind::kMonths, PackDay(2023, 12, 25),
       PackDay(2024, 1, 4)},
      // Out of the calendar: before its first day there is no day, past its last the last.
      {TimeShift::Other(200, ShiftUnit::kYears), PeriodKind::kMonths, PackDay(2024, 1, 1), kNoDay},
      {TimeShift::Other(kMaxShiftAmount, ShiftUnit::kDays), PeriodKind::kMonths,
       PackDay(1901, 1, 1), kNoDay},
      {TimeShift::Other(-kMaxShiftAmount, ShiftUnit::kYears), PeriodKind::kMonths,
       PackDay(2024, 1, 1), PackDay(9999, 12, 31)},
      {TimeShift::Other(-kMaxShiftAmount, ShiftUnit::kWeeks), PeriodKind::kMonths,
       PackDay(9990, 1, 1), PackDay(9999, 12, 31)},
      {plus_year, PeriodKind::kMonths, kNoDay, kNoDay},
      {TimeShift(), PeriodKind::kMonths, PackDay(2024, 2, 29), PackDay(2024, 2, 29)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DayCodeText(ShiftDay(c.day, c.shift, c.kind)), DayCodeText(c.expected))
        << c.shift.Text() << " of " << DayCodeText(c.day);
  }
}

TEST(VariableTest, EffectiveWindowFollowsAccumulationAndShift) {
  ResetProcess();
  Database db;
  Variable variable(db, "v", 0);
  variable.selection().SetFrom("240115");
  variable.selection().SetTo("241120");
  const Date from = {PackDay(2024, 1, 15), 1};
  const Date to = {PackDay(2024, 11, 20), kEndOfDay};
  ASSERT_EQ(variable.selection().from().date(), from);
  ASSERT_EQ(variable.selection().to().date(), to);
  const Date march_start = {PackDay(2024, 3, 1), 1};
  const Date march_end = {PackDay(2024, 3, 31), kEndOfDay};

  // From Start: from the selection's From through the period's end.
  DateWindow window = variable.EffectiveWindow(march_start, march_end, PeriodKind::kMonths);
  EXPECT_EQ(window.from, from);
  EXPECT_EQ(window.to, march_end);
  // By Period: the period itself, within the selection's dates.
  variable.accumulation = Accumulation::kByPeriod;
  window = variable.EffectiveWindow(march_start, march_end, PeriodKind::kMonths);
  EXPECT_EQ(window.from, march_start);
  EXPECT_EQ(window.to, march_end);
  window = variable.EffectiveWindow({PackDay(2024, 1, 1), 1}, {PackDay(2024, 1, 31), kEndOfDay},
                                    PeriodKind::kMonths);
  EXPECT_EQ(window.from, from);
  window = variable.EffectiveWindow({PackDay(2024, 11, 1), 1}, {PackDay(2024, 11, 30), kEndOfDay},
                                    PeriodKind::kMonths);
  EXPECT_EQ(window.to, to);
  // The period before the analysis has no start.
  window = variable.EffectiveWindow(Date{}, {PackDay(2024, 2, 29), kEndOfDay}, PeriodKind::kMonths);
  EXPECT_EQ(window.from, from);

  // Shifted: both ends move back, to whole days.
  variable.shift = {TimeShiftKind::kPlusYear};
  window = variable.EffectiveWindow({PackDay(2024, 2, 1), 1}, {PackDay(2024, 2, 29), kEndOfDay},
                                    PeriodKind::kMonths);
  EXPECT_EQ(window.from, (Date{PackDay(2023, 2, 1), 1}));
  EXPECT_EQ(window.to, (Date{PackDay(2023, 2, 28), kEndOfDay}));
  window = variable.EffectiveWindow({PackDay(2024, 3, 5), 7}, {PackDay(2024, 3, 5), 9},
                                    PeriodKind::kActiveCards);
  EXPECT_EQ(window.from, (Date{PackDay(2023, 3, 5), 1}));
  EXPECT_EQ(window.to, (Date{PackDay(2023, 3, 5), kEndOfDay}));
}

}  // namespace
}  // namespace jov
