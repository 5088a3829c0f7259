#include "analysis/transform_rules.h"

#include <algorithm>
#include <cmath>

namespace jov {

std::string TextRule::Apply(std::string_view text) const {
  if (!active()) return std::string(text);
  const std::string_view r = replacement == kClear ? std::string_view() : replacement;
  if (pattern.empty() || pattern == kNonEmpty) return std::string(r);
  if (pattern == kBefore) return std::string(r) + std::string(text);
  if (pattern == kAfter) return std::string(text) + std::string(r);
  if (pattern == kEmpty) return std::string(text.empty() ? r : text);
  std::string edited;
  size_t from = 0;
  for (size_t at = text.find(pattern); at != std::string_view::npos;
       at = text.find(pattern, from)) {
    edited.append(text.substr(from, at - from)).append(r);
    from = at + pattern.size();
  }
  edited.append(text.substr(from));
  return edited;
}

DateMapping::DateMapping(DayCode source_begin, DayCode source_end, DayCode target_begin,
                         DayCode target_end)
    : begin_(DayNumber(source_begin)), end_(DayNumber(source_end)) {
  const bool has_begin = target_begin != kNoDay;
  const bool has_end = target_end != kNoDay;
  const int32_t f = has_begin ? DayNumber(target_begin) : begin_;
  const int32_t t = has_end ? DayNumber(target_end) : end_;
  if (has_begin && has_end) {
    scale_ = end_ == begin_ ? 1.0 : static_cast<double>(t - f) / (end_ - begin_);
    offset_ = f - begin_ * scale_;
    moves_ = f != begin_ || t != end_;
  } else if (has_begin) {
    offset_ = f - begin_;
    moves_ = f != begin_;
  } else if (has_end) {
    offset_ = t - end_;
    moves_ = t != end_;
  }
}

DayCode DateMapping::Map(DayCode day) const {
  if (!moves_) return day;
  // Days mapped outside the calendar stay at its ends.
  static const double kLast = static_cast<double>(jov::DayNumber(9999, 12, 31));
  const double mapped = std::floor(DayNumber(day) * scale_ + offset_ + 0.5);
  return DayCodeFromNumber(static_cast<int32_t>(std::clamp(mapped, 0.0, kLast)));
}

double DateMapping::Position(DayCode day) const {
  return static_cast<double>(DayNumber(day) - begin_) / (end_ - begin_);
}

std::optional<DayCode> ReadTransformDate(std::string_view text, DateBound bound) {
  std::string digits;
  for (const char c : text) {
    if (c != '.' && c != ' ') digits += c;
  }
  const DayCode day = ReadDayCode(digits, bound);
  if (day == kNoDay) return std::nullopt;
  return day;
}

}  // namespace jov
