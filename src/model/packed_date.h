// Packed dates of the database: the calendar day (DayCode), a card's identifier (Date: a day and
// the card's number within it), the packed minute of audit stamps (StampTime) and the stamp
// itself with its signature. Their text forms, and calendar arithmetic over day numbers (the
// calendar itself, with 1900 as a leap year, is in shell/calendar.h).
#pragma once

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "shell/calendar.h"

namespace jov {

// (year - 1900) * 512 + month * 32 + day; 0 means no date. Unsigned order is day order.
using DayCode = uint32_t;
constexpr DayCode kNoDay = 0;

constexpr DayCode PackDay(int year, int month, int day) {
  return static_cast<DayCode>((year - 1900) * 512 + month * 32 + day);
}
constexpr CalendarDate UnpackDay(DayCode day) {
  return CalendarDate{1900 + static_cast<int>(day >> 9), static_cast<int>(day >> 5 & 15),
                      static_cast<int>(day & 31)};
}

// A card's number within its day (1, 2, 3 ...); kEndOfDay stands for the end of the day.
using Sequence = int32_t;
constexpr Sequence kEndOfDay = 2147483647;

// A card's identifier, shown as "Card ID". Ordered by day, then sequence.
struct Date {
  DayCode day = kNoDay;
  Sequence sequence = 0;
  auto operator<=>(const Date&) const = default;
};

// (year - 1900) << 20 | month << 16 | day << 11 | hour << 6 | minute; 0 means not set.
using StampTime = uint32_t;

struct StampParts {
  int year = 1900;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
};

constexpr StampTime PackStampTime(const StampParts& parts) {
  return static_cast<StampTime>((parts.year - 1900) << 20 | parts.month << 16 | parts.day << 11 |
                                parts.hour << 6 | parts.minute);
}
constexpr StampParts UnpackStampTime(StampTime time) {
  return StampParts{1900 + static_cast<int>(time >> 20), static_cast<int>(time >> 16 & 15),
                    static_cast<int>(time >> 11 & 31), static_cast<int>(time >> 6 & 31),
                    static_cast<int>(time & 63)};
}
// The day of a stamp time.
constexpr DayCode StampDay(StampTime time) {
  return (time >> 20) << 9 | (time >> 16 & 15) << 5 | (time >> 11 & 31);
}

// An audit stamp: when, and who (the user's signature, at most 3 characters). 8 bytes.
struct Stamp {
  static constexpr size_t kMaxSignature = 3;

  StampTime time = 0;
  std::array<char, kMaxSignature + 1> signature{};  // NUL-terminated, zero after the NUL

  std::string_view Signature() const { return signature.data(); }
  // Keeps the first kMaxSignature characters of `text` (up to a NUL).
  void SetSignature(std::string_view text);
  // No time and no signature: the stamp that was never set, or was cleared.
  bool empty() const { return time == 0 && signature[0] == '\0'; }

  friend bool operator==(const Stamp& a, const Stamp& b) {
    return a.time == b.time && a.Signature() == b.Signature();
  }
};
static_assert(sizeof(Stamp) == 8);

// The current local minute with the given signature: the user's stamp.
Stamp StampNow(std::string_view signature);

// --- Text forms ---------------------------------------------------------------------------

// Which end of the interval that a partial date text denotes is read.
enum class DateBound { kStart, kEnd };

// YYMMDD: the year modulo 100, each field two digits. No allocation beyond `out`'s growth.
void AppendDayCode(std::string& out, DayCode day);
std::string DayCodeText(DayCode day);

// Reads up to 6 digits YYMMDD before the first "-" (other characters are skipped; later digits
// are ignored). YY below 28 is 20YY, else 19YY; a lone year digit is the decade. Missing month
// and day digits are filled towards the first day (kStart) or the last day (kEnd) of what the
// text names, then month is clamped to 1..12 and day to the month. No digit gives kNoDay.
DayCode ReadDayCode(std::string_view text, DateBound bound = DateBound::kStart);

// The largest card number of `digits` digits (0..6): 0, 9, 99, ... 999999.
Sequence LargestCardNumber(int digits);

// Card ID: YYMMDD, "-", the number. With a width (0..6) the number is written with that many
// digits, leading zeros, clamped to 0..LargestCardNumber(width); kNoWidth writes it as it is.
constexpr int kNoWidth = -1;
void AppendCardId(std::string& out, Date date, int width = kNoWidth);
std::string CardIdText(Date date, int width = kNoWidth);

// The date part as ReadDayCode, then the digits after the first "-" (other characters skipped,
// the value saturating at kEndOfDay). A number below 1, or none, reads as 1 for kStart and as
// kEndOfDay for kEnd. The day is kNoDay when the date part has no digit.
Date ReadCardId(std::string_view text, DateBound bound = DateBound::kStart);

// YYMMDDhhmm followed by the signature; an unset time writes the signature alone.
std::string StampText(const Stamp& stamp);

// The leading run of digits, blanks, "-", "." and ":" is the time: up to 10 digits YYMMDDhhmm,
// missing fields filled with their earliest value, year pivot 28, day clamped to the month, hour
// to 23, minute to 59; no digit leaves the time unset. The next character starts the signature,
// of which at most 3 characters are kept. A signature that begins with one of the time run's
// characters therefore does not read back as written.
Stamp ReadStamp(std::string_view text);

// "YYMMDD hh:mm".
std::string ReadableStampTime(StampTime time);

// --- Calendar arithmetic --------------------------------------------------------------------

// Days since 1900-01-01 (day 0).
int32_t DayNumber(DayCode day);
// The day of a day number; kNoDay for a negative number.
DayCode DayCodeFromNumber(int32_t number);
// The following and the preceding day; kNoDay for kNoDay and before 1900-01-01.
DayCode NextDay(DayCode day);
DayCode PreviousDay(DayCode day);
// The local date.
DayCode Today();

}  // namespace jov
