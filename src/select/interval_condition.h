// Interval conditions: criteria on a card's identifier (CardIdCondition) and on a card's time
// stamps (StampCondition). Every operand stands for an interval (a day, a month, a date-time
// at its precision, or a date-point keyword form of selections); the comparison operators of
// value conditions and the boolean operators join them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/packed_date.h"
#include "select/boolean_program.h"

namespace jov {

// The days a date-point keyword form covers: from the first card identifier to the last.
struct DateRange {
  Date from;
  Date to;
};

// Resolves the keyword forms of selections' date points ("Month-1", "File", a period name).
// Selections provide it; nothing when the text is no such form.
class DatePointResolver {
 public:
  virtual ~DatePointResolver() = default;
  virtual std::optional<DateRange> Resolve(std::string_view text) const = 0;
};

// Items and interval ends are compared as unsigned numbers: a card identifier as its day in
// the high and its sequence in the low 32 bits, a stamp as its StampTime.
struct IntervalTest {
  enum Kind : uint8_t { kInside, kOutside, kBefore, kAfter, kNotAfter, kNotBefore };
  Kind kind;
  uint64_t start;
  uint64_t end;
};

class IntervalCondition {
 public:
  enum class Language : uint8_t { kCardId, kStamp };

  // Compiles `text` and replaces it by its corrected form: cut to 1,023 characters, blanks
  // between tokens removed, operators in canonical form, keyword forms of stamp operands
  // written as the dates they resolved to, whatever does not fit the grammar dropped. Nothing
  // when no operand remains. `resolver` may be null (no keyword forms).
  static std::optional<IntervalCondition> Compile(Language language, std::string& text,
                                                  const DatePointResolver* resolver);

  bool Evaluate(uint64_t item) const {
    return program_.Run([item](const IntervalTest& test) {
      switch (test.kind) {
        case IntervalTest::kInside:
          return item >= test.start && item <= test.end;
        case IntervalTest::kOutside:
          return item < test.start || item > test.end;
        case IntervalTest::kBefore:
          return item < test.start;
        case IntervalTest::kAfter:
          return item > test.end;
        case IntervalTest::kNotAfter:
          return item <= test.end;
        case IntervalTest::kNotBefore:
          return item >= test.start;
      }
      return false;
    });
  }

 private:
  explicit IntervalCondition(BooleanProgram<IntervalTest> program) : program_(std::move(program)) {}

  BooleanProgram<IntervalTest> program_;
};

inline uint64_t IntervalItem(Date id) {
  return uint64_t{id.day} << 32 | static_cast<uint32_t>(id.sequence);
}
inline uint64_t IntervalItem(StampTime time) { return time; }

// An interval condition on one kind of item.
template <IntervalCondition::Language kLanguage, typename Item>
class IntervalConditionOn {
 public:
  static std::optional<IntervalConditionOn> Compile(std::string& text,
                                                    const DatePointResolver* resolver) {
    std::optional<IntervalCondition> condition =
        IntervalCondition::Compile(kLanguage, text, resolver);
    if (!condition) return std::nullopt;
    return IntervalConditionOn(std::move(*condition));
  }
  bool Evaluate(Item item) const { return condition_.Evaluate(IntervalItem(item)); }

 private:
  explicit IntervalConditionOn(IntervalCondition condition) : condition_(std::move(condition)) {}
  IntervalCondition condition_;
};

// Tests a card's identifier; "\" passes a card without a day.
using CardIdCondition = IntervalConditionOn<IntervalCondition::Language::kCardId, Date>;
// Tests one time stamp of a card; "\" passes a stamp that was never set (time 0), which also
// lies before every interval.
using StampCondition = IntervalConditionOn<IntervalCondition::Language::kStamp, StampTime>;

}  // namespace jov
