#include "shell/date_time.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "platform/clock.h"
#include "shell/calendar.h"
#include "shell/digit_text.h"

namespace jov {
namespace {

constexpr int64_t kSecondsPerDay = 86400;

int Precision(const DateTime& value) { return std::min<int>(value.precision, kSecondPrecision); }

Seconds1900 ClampToRange(int64_t seconds) {
  return static_cast<Seconds1900>(
      std::clamp<int64_t>(seconds, 0, std::numeric_limits<Seconds1900>::max()));
}

int64_t StartSecondsUnclamped(const DateTime& value) {
  const int precision = Precision(value);
  const int month = precision >= kMonthPrecision ? value.month : 1;
  const int day = precision >= kDayPrecision ? value.day : 1;
  int64_t seconds = DayNumber(value.year, month, day) * kSecondsPerDay;
  if (precision >= kHourPrecision) seconds += value.hour * 3600;
  if (precision >= kMinutePrecision) seconds += value.minute * 60;
  if (precision >= kSecondPrecision) seconds += value.second;
  return seconds;
}

// The length of the interval less one second.
int64_t IntervalRest(const DateTime& value) {
  switch (Precision(value)) {
    case kYearPrecision:
      return (IsLeapYear(value.year) ? 366 : 365) * kSecondsPerDay - 1;
    case kMonthPrecision:
      return DaysInMonth(value.year, value.month) * kSecondsPerDay - 1;
    case kDayPrecision:
      return kSecondsPerDay - 1;
    case kHourPrecision:
      return 3599;
    case kMinutePrecision:
      return 59;
    default:
      return 0;
  }
}

// The digits of Parse: the collected ones with the century put in front of a two-digit year.
DigitRun DatePattern(const DigitRun& collected) {
  DigitRun pattern;
  const char first = collected.count > 0 ? collected.digits[0] : '1';
  const char* century = first == '0' ? "20" : (first >= '3' ? "19" : "");
  for (const char* c = century; *c != '\0'; ++c) pattern.digits[pattern.count++] = *c;
  for (int i = 0; i < collected.count && pattern.count < DigitRun::kCapacity; ++i) {
    pattern.digits[pattern.count++] = collected.digits[i];
  }
  return pattern;
}

void AppendPadded(std::string& out, int value, int width) {
  char digits[12];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  const auto length = static_cast<int>(end - digits);
  if (value >= 0 && length < width) out.append(width - length, '0');
  out.append(digits, end);
}

// Appends the fields the precision reaches; `separators` holds the text before month, day,
// hour, minute and second.
std::string Format(const DateTime& value, const char* const (&separators)[5]) {
  std::string text;
  if (value.invalid) return text;
  AppendPadded(text, value.year, 4);
  const uint8_t fields[5] = {value.month, value.day, value.hour, value.minute, value.second};
  for (int i = 0; i < Precision(value); ++i) {
    char two[2];
    WriteTwoDigits(two, fields[i]);
    text.append(separators[i]).append(two, 2);
  }
  return text;
}

}  // namespace

DateTime DateTime::Now() {
  const LocalTime now = LocalNow();
  DateTime value;
  value.year = static_cast<int16_t>(now.year);
  value.month = static_cast<uint8_t>(now.month);
  value.day = static_cast<uint8_t>(now.day);
  value.hour = static_cast<uint8_t>(now.hour);
  value.minute = static_cast<uint8_t>(now.minute);
  value.second = static_cast<uint8_t>(std::min(now.second, 59));  // no leap seconds here
  return value;
}

DateTime DateTime::Invalid() {
  DateTime value;
  value.invalid = true;
  return value;
}

DateTime DateTime::FromSeconds(Seconds1900 seconds) {
  if (seconds == 0) return Invalid();
  const CalendarDate date = DateOfDayNumber(seconds / kSecondsPerDay);
  const auto of_day = static_cast<int>(seconds % kSecondsPerDay);
  DateTime value;
  value.year = static_cast<int16_t>(date.year);
  value.month = static_cast<uint8_t>(date.month);
  value.day = static_cast<uint8_t>(date.day);
  value.hour = static_cast<uint8_t>(of_day / 3600);
  value.minute = static_cast<uint8_t>(of_day % 3600 / 60);
  value.second = static_cast<uint8_t>(of_day % 60);
  return value;
}

DateTime DateTime::Parse(std::string_view text, bool upper) {
  const DigitRun collected =
      CollectDigits(text, DigitRun::kCapacity, [](char) { return DigitWalk::kSkip; });
  if (collected.count == 0) return Invalid();
  const DigitRun pattern = DatePattern(collected);
  const char fill = upper ? '9' : '0';
  DateTime value;
  value.precision = static_cast<uint8_t>(pattern.count > 4 ? (pattern.count - 3) / 2 : 0);
  value.year = static_cast<int16_t>(std::clamp(pattern.Field(0, 4, fill), kFirstYear, kLastYear));
  value.month = static_cast<uint8_t>(std::clamp(pattern.Field(4, 2, fill), 1, 12));
  const int last_day = DaysInMonth(value.year, value.month);
  value.day = static_cast<uint8_t>(std::clamp(pattern.Field(6, 2, fill), 1, last_day));
  value.hour = static_cast<uint8_t>(std::min(pattern.Field(8, 2, fill), 23));
  value.minute = static_cast<uint8_t>(std::min(pattern.Field(10, 2, fill), 59));
  value.second = static_cast<uint8_t>(std::min(pattern.Field(12, 2, fill), 59));
  return value;
}

Seconds1900 StartSeconds(const DateTime& value) {
  return value.invalid ? 0 : ClampToRange(StartSecondsUnclamped(value));
}

Seconds1900 EndSeconds(const DateTime& value) {
  return value.invalid ? 0 : ClampToRange(StartSecondsUnclamped(value) + IntervalRest(value));
}

std::string FormatReadable(const DateTime& value) {
  static constexpr const char* kSeparators[5] = {"-", "-", " ", ":", "'"};
  return Format(value, kSeparators);
}

std::string FormatCompact(const DateTime& value) {
  static constexpr const char* kSeparators[5] = {"", "", "", "", ""};
  return Format(value, kSeparators);
}

}  // namespace jov
