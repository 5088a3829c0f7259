// The time shift of a variable: its data window moves back in time by a number of years,
// months, weeks or days, so that a variable shifted "+Year" shows last year's figures in this
// year's periods. The menu offers the common shifts and "Other..." (the "Move Selection" dialog:
// an amount and a unit). Stored as a short text: "Y+", "Y-", "Q+", "Q-", "M+", "M-", or the
// signed amount and a unit letter of "YMWD" ("+2M", "-10D").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "analysis/period_kind.h"
#include "model/packed_date.h"
#include "shell/message_ids.h"

namespace jov {

enum class TimeShiftKind : uint8_t {
  kNone = 0,
  kPlusYear = 1,
  kMinusYear = 2,
  kPlusQuarter = 3,
  kMinusQuarter = 4,
  kPlusMonth = 5,
  kMinusMonth = 6,
  kOther = 7,  // an amount of a unit
};
inline constexpr int kTimeShiftKinds = 8;

enum class ShiftUnit : uint8_t { kYears = 0, kMonths = 1, kWeeks = 2, kDays = 3 };
// The units' letters in the text form, in unit order.
inline constexpr std::string_view kShiftUnitLetters = "YMWD";

// Amounts of "Other..." are kept within this bound, which reaches past both ends of the
// calendar in any unit.
inline constexpr int kMaxShiftAmount = 100'000;

struct TimeShift {
  TimeShiftKind kind = TimeShiftKind::kNone;
  ShiftUnit unit = ShiftUnit::kYears;  // of kOther
  int amount = 0;                      // of kOther: signed, and 0 only when there is no shift

  // A kOther shift of `amount` units; no shift for an amount of 0. The amount is limited to
  // +-kMaxShiftAmount.
  static TimeShift Other(int amount, ShiftUnit unit);
  // Reads the text form; a text that does not fit gives no shift.
  static TimeShift FromText(std::string_view text);

  bool IsNone() const { return kind == TimeShiftKind::kNone; }
  // The text form; empty for no shift.
  std::string Text() const;
  // The unit and the signed amount that the data window moves back by (kNone: 0 years).
  ShiftUnit EffectiveUnit() const;
  int EffectiveAmount() const;

  bool operator==(const TimeShift&) const = default;
};

// "No time shift" ... "Other...".
constexpr MessageId TimeShiftMessage(TimeShiftKind kind) {
  return msg::kFirstTimeShift + static_cast<int>(kind);
}
// "Years" ... "Days".
constexpr MessageId ShiftUnitMessage(ShiftUnit unit) {
  return msg::kFirstShiftUnit + static_cast<int>(unit);
}

// `day` moved back by the shift, in an analysis whose periods are of `kind`. Years and months
// keep the day of the month, clamped to the target month's length; when the periods are Half
// Years down to Half Months, a day that ends its month (February, for years) ends the target
// month too, so that a shifted period covers the whole of its month. Weeks and days count days.
// A day moved before the calendar's first day gives kNoDay, one moved past its last the last.
DayCode ShiftDay(DayCode day, const TimeShift& shift, PeriodKind kind);

}  // namespace jov
