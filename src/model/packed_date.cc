#include "model/packed_date.h"

#include <algorithm>
#include <charconv>

#include "platform/clock.h"
#include "shell/digit_text.h"

namespace jov {
namespace {

constexpr int kPivotYear = 28;  // YY below it is 20YY, else 19YY
constexpr size_t kDayCodeLength = 6;
constexpr size_t kStampTimeLength = 10;

// YYMMDDhhmm fields from collected digits: a lone year digit is the decade, other missing
// digits count as `fill`; the fields are then clamped into their ranges.
StampParts PartsFromDigits(const DigitRun& run, char fill) {
  StampParts parts;
  const int yy = run.Field(0, 2, '0');
  parts.year = (yy < kPivotYear ? 2000 : 1900) + yy;
  parts.month = std::clamp(run.Field(2, 2, fill), 1, 12);
  parts.day = std::clamp(run.Field(4, 2, fill), 1, DaysInMonth(parts.year, parts.month));
  parts.hour = std::min(run.Field(6, 2, fill), 23);
  parts.minute = std::min(run.Field(8, 2, fill), 59);
  return parts;
}

// The date part of a day or Card ID text: digits up to the first "-".
DigitRun CollectDatePart(std::string_view text) {
  return CollectDigits(text, static_cast<int>(kDayCodeLength),
                       [](char c) { return c == '-' ? DigitWalk::kStop : DigitWalk::kSkip; });
}

DayCode DayFromRun(const DigitRun& run, DateBound bound) {
  if (run.count == 0) return kNoDay;
  const StampParts parts = PartsFromDigits(run, bound == DateBound::kEnd ? '9' : '0');
  return PackDay(parts.year, parts.month, parts.day);
}

// The decimal value of the digits in `text`, other characters skipped, saturating at kEndOfDay;
// -1 when there is no digit.
int64_t SaturatingNumber(std::string_view text) {
  int64_t value = -1;
  for (const char c : text) {
    if (c < '0' || c > '9') continue;
    value = std::min<int64_t>(std::max<int64_t>(value, 0) * 10 + (c - '0'), kEndOfDay);
  }
  return value;
}

char* WriteDayCode(char* out, DayCode day) {
  const CalendarDate date = UnpackDay(day);
  out = WriteTwoDigits(out, static_cast<unsigned>(date.year % 100));
  out = WriteTwoDigits(out, static_cast<unsigned>(date.month));
  return WriteTwoDigits(out, static_cast<unsigned>(date.day));
}

// The number of a Card ID, zero-padded to `width` digits when one is given.
char* WriteCardNumber(char* out, char* limit, Sequence number, int width) {
  if (width == kNoWidth) return std::to_chars(out, limit, number).ptr;
  number = std::clamp(number, 0, LargestCardNumber(width));
  char digits[12];
  char* end = std::to_chars(digits, digits + sizeof digits, number).ptr;
  const auto length = static_cast<int>(end - digits);
  for (int i = length; i < width; ++i) *out++ = '0';
  return std::copy(digits, end, out);
}

char* WriteStampTime(char* out, StampTime time) {
  const StampParts parts = UnpackStampTime(time);
  out = WriteDayCode(out, StampDay(time));
  out = WriteTwoDigits(out, static_cast<unsigned>(parts.hour));
  return WriteTwoDigits(out, static_cast<unsigned>(parts.minute));
}

}  // namespace

void Stamp::SetSignature(std::string_view text) {
  signature.fill('\0');
  for (size_t i = 0; i < text.size() && i < kMaxSignature && text[i] != '\0'; ++i) {
    signature[i] = text[i];
  }
}

Stamp StampNow(std::string_view signature) {
  const LocalTime now = LocalNow();
  Stamp stamp;
  stamp.time = PackStampTime({now.year, now.month, now.day, now.hour, now.minute});
  stamp.SetSignature(signature);
  return stamp;
}

void AppendDayCode(std::string& out, DayCode day) {
  char text[kDayCodeLength];
  out.append(text, WriteDayCode(text, day));
}

std::string DayCodeText(DayCode day) {
  std::string text;
  AppendDayCode(text, day);
  return text;
}

DayCode ReadDayCode(std::string_view text, DateBound bound) {
  return DayFromRun(CollectDatePart(text), bound);
}

Sequence LargestCardNumber(int digits) {
  static constexpr Sequence kLargest[] = {0, 9, 99, 999, 9999, 99999, 999999};
  return kLargest[std::clamp(digits, 0, 6)];
}

void AppendCardId(std::string& out, Date date, int width) {
  char text[kDayCodeLength + 1 + 12];
  char* end = WriteDayCode(text, date.day);
  *end++ = '-';
  out.append(text, WriteCardNumber(end, text + sizeof text, date.sequence, width));
}

std::string CardIdText(Date date, int width) {
  std::string text;
  AppendCardId(text, date, width);
  return text;
}

Date ReadCardId(std::string_view text, DateBound bound) {
  const DigitRun run = CollectDatePart(text);
  const int64_t number = run.end < text.size() ? SaturatingNumber(text.substr(run.end + 1)) : -1;
  Date date{DayFromRun(run, bound), static_cast<Sequence>(number)};
  if (number < 1) date.sequence = bound == DateBound::kEnd ? kEndOfDay : 1;
  return date;
}

std::string StampText(const Stamp& stamp) {
  char text[kStampTimeLength];
  std::string result;
  if (stamp.time != 0) result.assign(text, WriteStampTime(text, stamp.time));
  result.append(stamp.Signature());
  return result;
}

Stamp ReadStamp(std::string_view text) {
  const DigitRun run = CollectDigits(text, static_cast<int>(kStampTimeLength), [](char c) {
    const bool in_time = c == ' ' || c == '-' || c == '.' || c == ':';
    return in_time ? DigitWalk::kSkip : DigitWalk::kStop;
  });
  Stamp stamp;
  if (run.count > 0) stamp.time = PackStampTime(PartsFromDigits(run, '0'));
  stamp.SetSignature(text.substr(run.end));
  return stamp;
}

std::string ReadableStampTime(StampTime time) {
  char text[kStampTimeLength];
  WriteStampTime(text, time);
  std::string result(text, kDayCodeLength);
  return result.append(" ").append(text + 6, 2).append(":").append(text + 8, 2);
}

int32_t DayNumber(DayCode day) {
  const CalendarDate date = UnpackDay(day);
  return static_cast<int32_t>(jov::DayNumber(date.year, date.month, date.day));
}

DayCode DayCodeFromNumber(int32_t number) {
  if (number < 0) return kNoDay;
  const CalendarDate date = DateOfDayNumber(number);
  return PackDay(date.year, date.month, date.day);
}

DayCode NextDay(DayCode day) {
  if (day == kNoDay) return kNoDay;
  const CalendarDate date = UnpackDay(day);
  if (date.day < DaysInMonth(date.year, date.month)) return day + 1;
  if (date.month < 12) return PackDay(date.year, date.month + 1, 1);
  return PackDay(date.year + 1, 1, 1);
}

DayCode PreviousDay(DayCode day) {
  if (day == kNoDay) return kNoDay;
  const CalendarDate date = UnpackDay(day);
  if (date.day > 1) return day - 1;
  if (date.month > 1)
    return PackDay(date.year, date.month - 1, DaysInMonth(date.year, date.month - 1));
  if (date.year > 1900) return PackDay(date.year - 1, 12, 31);
  return kNoDay;
}

DayCode Today() {
  const LocalTime now = LocalNow();
  return PackDay(now.year, now.month, now.day);
}

}  // namespace jov
