// Date-time values with a precision, the system's form for time stamps and time ranges: a value
// at precision p denotes the whole interval of its first p+1 fields (a year, a month, ... a
// second). Conversions to and from seconds since 1900, the tolerant parser and two text forms.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace jov {

// Seconds since 1900-01-01 00:00:00 local time; 0 means no date. The range ends at
// 2036-02-06 06:28:15 (in this calendar, where 1900 has a 29 February).
using Seconds1900 = uint32_t;

enum DatePrecision : uint8_t {
  kYearPrecision = 0,
  kMonthPrecision,
  kDayPrecision,
  kHourPrecision,
  kMinutePrecision,
  kSecondPrecision,
};

struct DateTime {
  static constexpr int kFirstYear = 1900;
  static constexpr int kLastYear = 2036;

  int16_t year = kFirstYear;
  uint8_t month = 1;                     // 1..12
  uint8_t day = 1;                       // 1..31
  uint8_t hour = 0;                      // 0..23
  uint8_t minute = 0;                    // 0..59
  uint8_t second = 0;                    // 0..59
  uint8_t precision = kSecondPrecision;  // a DatePrecision; fields past it are not meaningful
  bool invalid = false;

  // The current local date and time, at second precision.
  static DateTime Now();
  // The invalid value, at second precision.
  static DateTime Invalid();
  // At second precision; 0 (no date) gives the invalid value.
  static DateTime FromSeconds(Seconds1900 seconds);
  // Reads the digits of `text` as YYYYMMDDhhmmss, all other characters being skipped. A first
  // digit 0 reads as "20" and 3..9 as "19" in front of it, 1 and 2 begin a four-digit year. The
  // number of digits (with those put in front) sets the precision; missing digits are filled
  // with 0, or with 9 when `upper` (towards the end of the interval), then every field is
  // clamped into its range (years 1900..2036). No digit at all gives the invalid value.
  static DateTime Parse(std::string_view text, bool upper);

  bool operator==(const DateTime&) const = default;
};

// The first and the last second of the interval the value denotes; 0 for an invalid value.
// Seconds past the end of the range read as its last second.
Seconds1900 StartSeconds(const DateTime& value);
Seconds1900 EndSeconds(const DateTime& value);

// "Y-MM-DD hh:mm'ss" as far as the precision reaches ("2001-11" at month precision); an empty
// text for an invalid value.
std::string FormatReadable(const DateTime& value);
// The same fields without separators ("20011115090507" at second precision); empty when invalid.
std::string FormatCompact(const DateTime& value);

}  // namespace jov
