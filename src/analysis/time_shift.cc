#include "analysis/time_shift.h"

#include <algorithm>
#include <array>

namespace jov {
namespace {

// The shifts of the menu, their text forms, and their unit and amount.
struct CommonShift {
  TimeShiftKind kind;
  std::string_view text;
  ShiftUnit unit;
  int amount;
};
constexpr std::array<CommonShift, 6> kCommonShifts = {{
    {TimeShiftKind::kPlusYear, "Y+", ShiftUnit::kYears, 1},
    {TimeShiftKind::kMinusYear, "Y-", ShiftUnit::kYears, -1},
    {TimeShiftKind::kPlusQuarter, "Q+", ShiftUnit::kMonths, 3},
    {TimeShiftKind::kMinusQuarter, "Q-", ShiftUnit::kMonths, -3},
    {TimeShiftKind::kPlusMonth, "M+", ShiftUnit::kMonths, 1},
    {TimeShiftKind::kMinusMonth, "M-", ShiftUnit::kMonths, -1},
}};

const CommonShift* FindCommon(TimeShiftKind kind) {
  for (const CommonShift& common : kCommonShifts) {
    if (common.kind == kind) return &common;
  }
  return nullptr;
}

// The last year a shifted day may fall in.
constexpr int kLastYear = 9999;

// Half Years .. Half Months: periods that end at the end of a month.
bool EndsMonths(PeriodKind kind) {
  return kind >= PeriodKind::kHalfYears && kind <= PeriodKind::kHalfMonths;
}

DayCode ShiftMonths(DayCode day, int64_t months, PeriodKind kind) {
  const CalendarDate date = UnpackDay(day);
  const int64_t index = int64_t{date.year} * 12 + (date.month - 1) - months;
  if (index < 1900 * 12) return kNoDay;
  if (index > int64_t{kLastYear} * 12 + 11) return PackDay(kLastYear, 12, 31);
  const int year = static_cast<int>(index / 12);
  const int month = static_cast<int>(index % 12) + 1;
  const int length = DaysInMonth(year, month);
  const bool month_end = date.day == DaysInMonth(date.year, date.month);
  return PackDay(year, month, month_end && EndsMonths(kind) ? length : std::min(date.day, length));
}

DayCode ShiftDays(DayCode day, int64_t days) {
  const int64_t number = int64_t{DayNumber(day)} - days;
  if (number < 0) return kNoDay;
  const int64_t last = DayNumber(PackDay(kLastYear, 12, 31));
  return DayCodeFromNumber(static_cast<int32_t>(std::min(number, last)));
}

}  // namespace

TimeShift TimeShift::Other(int amount, ShiftUnit unit) {
  if (amount == 0) return {};
  return {TimeShiftKind::kOther, unit, std::clamp(amount, -kMaxShiftAmount, kMaxShiftAmount)};
}

TimeShift TimeShift::FromText(std::string_view text) {
  for (const CommonShift& common : kCommonShifts) {
    if (text == common.text) return {common.kind};
  }
  // A sign, digits and a unit letter: "+2M", "-10D".
  if (text.size() < 3 || (text[0] != '+' && text[0] != '-')) return {};
  const size_t unit = kShiftUnitLetters.find(text.back());
  if (unit == std::string_view::npos) return {};
  int64_t amount = 0;
  for (const char c : text.substr(1, text.size() - 2)) {
    if (c < '0' || c > '9') return {};
    amount = std::min<int64_t>(amount * 10 + (c - '0'), kMaxShiftAmount);
  }
  return Other(static_cast<int>(text[0] == '-' ? -amount : amount), static_cast<ShiftUnit>(unit));
}

std::string TimeShift::Text() const {
  if (kind == TimeShiftKind::kOther) {
    return (amount > 0 ? "+" : "") + std::to_string(amount) +
           kShiftUnitLetters[static_cast<int>(unit)];
  }
  const CommonShift* common = FindCommon(kind);
  return common != nullptr ? std::string(common->text) : std::string();
}

ShiftUnit TimeShift::EffectiveUnit() const {
  if (kind == TimeShiftKind::kOther) return unit;
  const CommonShift* common = FindCommon(kind);
  return common != nullptr ? common->unit : ShiftUnit::kYears;
}

int TimeShift::EffectiveAmount() const {
  if (kind == TimeShiftKind::kOther) return amount;
  const CommonShift* common = FindCommon(kind);
  return common != nullptr ? common->amount : 0;
}

DayCode ShiftDay(DayCode day, const TimeShift& shift, PeriodKind kind) {
  const int64_t amount = shift.EffectiveAmount();
  if (day == kNoDay || amount == 0) return day;
  switch (shift.EffectiveUnit()) {
    case ShiftUnit::kYears:
      return ShiftMonths(day, 12 * amount, kind);
    case ShiftUnit::kMonths:
      return ShiftMonths(day, amount, kind);
    case ShiftUnit::kWeeks:
      return ShiftDays(day, 7 * amount);
    case ShiftUnit::kDays:
      return ShiftDays(day, amount);
  }
  return day;
}

}  // namespace jov
