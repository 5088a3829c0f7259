// The ways an analysis over time divides its date range: calendar kinds (Years down to Days),
// active kinds that follow the data, and a time scale of the database. Each has a number, a
// one-letter code in stored templates and a menu text.
#pragma once

#include <optional>
#include <string_view>

#include "shell/message_ids.h"
#include "shell/messages.h"

namespace jov {

enum class PeriodKind : int {
  kYears = 0,
  kHalfYears = 1,
  kTertials = 2,
  kQuarters = 3,
  kTwoMonths = 4,
  kMonths = 5,
  kHalfMonths = 6,
  kFourWeeks = 7,
  kThreeWeeks = 8,
  kTwoWeeks = 9,
  kWeeks = 10,
  kDays = 11,
  kActiveDays = 12,
  kActiveCards = 13,
  kActiveGroups = 14,
  kActiveLines = 15,
  kTimeScale = 16,  // the periods of a named time scale
};

// Indexed by kind number.
inline constexpr std::string_view kPeriodKindCodes = "YHTQNMK432WDACGLX";
inline constexpr int kPeriodKindCount = static_cast<int>(kPeriodKindCodes.size());

constexpr int PeriodKindNumber(PeriodKind kind) { return static_cast<int>(kind); }
constexpr char PeriodKindCode(PeriodKind kind) { return kPeriodKindCodes[PeriodKindNumber(kind)]; }

// The kind of a stored code letter; nothing for a letter that names no kind.
constexpr std::optional<PeriodKind> PeriodKindFromCode(char code) {
  const size_t index = kPeriodKindCodes.find(code);
  if (index == std::string_view::npos) return std::nullopt;
  return static_cast<PeriodKind>(index);
}

// Years .. Days: periods end on days the calendar fixes.
constexpr bool IsCalendarKind(PeriodKind kind) { return kind <= PeriodKind::kDays; }
// Active Days .. Active Lines: periods end at the cards the analysis meets.
constexpr bool IsActiveKind(PeriodKind kind) {
  return kind >= PeriodKind::kActiveDays && kind <= PeriodKind::kActiveLines;
}

// The menu text's id ("Years" .. "Active Lines" from msg::kFirstPeriodKind on, in kind order);
// kNoMessage for kTimeScale, whose menu shows the time scales' names.
constexpr MessageId PeriodKindMessage(PeriodKind kind) {
  return kind == PeriodKind::kTimeScale ? kNoMessage
                                        : msg::kFirstPeriodKind + PeriodKindNumber(kind);
}

}  // namespace jov
