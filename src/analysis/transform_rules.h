// The small rules a transform applies to each card and line: the text rule that edits card
// titles, notes and line texts, and the date mapping that moves cards from a source date range
// into a target range.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/packed_date.h"

namespace jov {

// A pattern P and a replacement R. Without P the text becomes R; P "<" puts R in front, ">"
// appends it, "\" gives R to empty texts only, "¬\" to every text; any other P has each of its
// occurrences replaced by R. An R of exactly "\" (what "Clear" writes) is the empty text. A rule
// without a replacement changes nothing, so that a transform that edits only values leaves the
// texts alone.
struct TextRule {
  static constexpr std::string_view kBefore = "<";
  static constexpr std::string_view kAfter = ">";
  static constexpr std::string_view kEmpty = "\\";
  static constexpr std::string_view kNonEmpty = "\xAC\\";
  static constexpr std::string_view kClear = "\\";

  std::string pattern;
  std::string replacement;

  bool active() const { return !replacement.empty(); }
  // The edited text; `text` itself when the rule is not active.
  std::string Apply(std::string_view text) const;
};

// Maps source days to target days, over day numbers: with b and e the source begin and end and
// F and T the target begin and end, only F shifts every day by F - b, only T by T - e, and both
// stretch [b, e] onto [F, T] (a source range of one day moves by F - b). The result is rounded
// to the nearest day, a half up.
class DateMapping {
 public:
  DateMapping() = default;
  // `source_begin` <= `source_end`; the targets are kNoDay when not given.
  DateMapping(DayCode source_begin, DayCode source_end, DayCode target_begin, DayCode target_end);

  // Whether any day moves.
  bool moves() const { return moves_; }
  DayCode Map(DayCode day) const;
  // A day's position in the source range: (day - b) / (e - b), the variable "T" of value
  // formulas (not finite for a source range of one day).
  double Position(DayCode day) const;

 private:
  int32_t begin_ = 0;
  int32_t end_ = 0;
  double scale_ = 1;
  double offset_ = 0;
  bool moves_ = false;
};

// A date given as text in a transform's settings: "." and blanks removed and read as the start
// (begin) or the end (end) of what it names; nothing when no date can be read.
std::optional<DayCode> ReadTransformDate(std::string_view text, DateBound bound);

}  // namespace jov
