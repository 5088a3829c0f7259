#include "analysis/period_date.h"

#include <gtest/gtest.h>

namespace jov {
namespace {

constexpr DayCode kFeb28 = PackDay(2024, 2, 28);
constexpr DayCode kFeb29 = PackDay(2024, 2, 29);
constexpr DayCode kMar1 = PackDay(2024, 3, 1);

TEST(PeriodDateTest, NextAndPreviousFollowTheCardDigits) {
  struct Case {
    Date date;
    int digits;
    Date next;
    Date previous;
  };
  const Case cases[] = {
      {{kFeb29, 1}, 3, {kFeb29, 2}, {kFeb28, 999}},
      {{kFeb29, 998}, 3, {kFeb29, 999}, {kFeb29, 997}},
      {{kFeb29, 999}, 3, {kMar1, 1}, {kFeb29, 998}},
      {{kFeb29, 1000}, 3, {kMar1, 1}, {kFeb29, 999}},  // past the digits
      {{kFeb29, kEndOfDay}, 6, {kMar1, 1}, {kFeb29, kEndOfDay - 1}},
      {{kFeb29, 1}, 0, {kMar1, 1}, {kFeb28, 0}},
      {{PackDay(2023, 12, 31), 9}, 1, {PackDay(2024, 1, 1), 1}, {PackDay(2023, 12, 31), 8}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(CardIdText(c.date) + " digits " + std::to_string(c.digits));
    EXPECT_EQ(NextDate(c.date, c.digits), c.next);
    EXPECT_EQ(PreviousDate(c.date, c.digits), c.previous);
  }
}

TEST(PeriodDateTest, StepBackEndsThePreviousDayOrTakesTheNumberBefore) {
  EXPECT_EQ(StepBackFromBoundary({kMar1, 1}), (Date{kFeb29, kEndOfDay}));
  EXPECT_EQ(StepBackFromBoundary({kMar1, 0}), (Date{kFeb29, kEndOfDay}));
  EXPECT_EQ(StepBackFromBoundary({kMar1, 5}), (Date{kMar1, 4}));
  EXPECT_EQ(StepBackFromBoundary({PackDay(2024, 1, 1), 1}),
            (Date{PackDay(2023, 12, 31), kEndOfDay}));
}

}  // namespace
}  // namespace jov
