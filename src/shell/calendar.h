// The system's calendar: every year divisible by 4 is a leap year, 1900 included, and no other
// rule applies. Day numbers count days from 1900-01-01 (day 0); weekday 0 is Sunday. Shared by
// the date-time values of the shell and the packed days of the model.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

namespace jov {

struct CalendarDate {
  int year = 1900;  // four digits
  int month = 1;    // 1..12
  int day = 1;      // 1..31
  bool operator==(const CalendarDate&) const = default;
};

constexpr bool IsLeapYear(int year) { return year % 4 == 0; }

// Days before each month in a common year; index 0 is January.
inline constexpr std::array<int, 12> kDaysBeforeMonth = {0,   31,  59,  90,  120, 151,
                                                         181, 212, 243, 273, 304, 334};

// `month` outside 1..12 is taken as the nearest month.
constexpr int DaysInMonth(int year, int month) {
  constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  month = std::clamp(month, 1, 12);
  return kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

// Days from 1900-01-01 to the given day. Valid for years from 1900 on (the result is then
// never negative); the day is not checked against the month.
constexpr int64_t DayNumber(int year, int month, int day) {
  const int64_t y = year - 1900;
  month = std::clamp(month, 1, 12);
  const bool before_leap_day = IsLeapYear(year) && month < 3;
  return 365 * y + y / 4 - (before_leap_day ? 1 : 0) + day + kDaysBeforeMonth[month - 1];
}

// The day of a day number; a negative number is taken as day 0. Four-year blocks of 1461 days
// start with their leap year.
constexpr CalendarDate DateOfDayNumber(int64_t number) {
  number = std::max<int64_t>(number, 0);
  int year = static_cast<int>(1900 + 4 * (number / 1461));
  int offset = static_cast<int>(number % 1461);
  if (offset >= 1096) {
    year += 3, offset -= 1096;
  } else if (offset >= 731) {
    year += 2, offset -= 731;
  } else if (offset >= 366) {
    year += 1, offset -= 366;
  } else {
    if (offset == 59) return CalendarDate{year, 2, 29};
    if (offset > 59) --offset;
  }
  int month = 12;
  while (kDaysBeforeMonth[month - 1] > offset) --month;
  return CalendarDate{year, month, offset - kDaysBeforeMonth[month - 1] + 1};
}

// 0 Sunday, 1 Monday, ... 6 Saturday. Day 0 counts as a Sunday, which makes every day from
// 1900-03-01 on fall on its true weekday (this calendar has a 29 February 1900).
constexpr int DayOfWeek(int64_t day_number) {
  const int64_t weekday = day_number % 7;
  return static_cast<int>(weekday < 0 ? weekday + 7 : weekday);
}

}  // namespace jov
