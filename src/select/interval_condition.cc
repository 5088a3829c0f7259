#include "select/interval_condition.h"

#include "select/comparison.h"
#include "select/criterion_text.h"
#include "shell/date_time.h"

namespace jov {
namespace {

// The characters that end an operand.
bool EndsOperand(char c) {
  return IsBooleanChar(c) || c == '<' || c == '=' || c == '>' || c == '_';
}

struct Interval {
  uint64_t start;
  uint64_t end;
};

// An operand's interval and its text written back: alone, as the start of a range, as its end.
struct Operand {
  Interval interval;
  std::string whole;
  std::string start_text;
  std::string end_text;
};

IntervalTest MakeTest(Comparison comparison, Interval interval) {
  constexpr IntervalTest::Kind kKinds[] = {IntervalTest::kInside,    IntervalTest::kBefore,
                                           IntervalTest::kAfter,     IntervalTest::kNotAfter,
                                           IntervalTest::kNotBefore, IntervalTest::kOutside};
  return {kKinds[static_cast<int>(comparison)], interval.start, interval.end};
}

StampTime StampOf(const DateTime& value) {
  return PackStampTime({value.year, value.month, value.day, value.hour, value.minute});
}

std::string DayText(DayCode day) {
  const CalendarDate date = UnpackDay(day);
  DateTime value;
  value.year = static_cast<int16_t>(date.year);
  value.month = static_cast<uint8_t>(date.month);
  value.day = static_cast<uint8_t>(date.day);
  value.precision = kDayPrecision;
  return FormatReadable(value);
}

// A stamp operand written as a date-time in its readable form, month or finer ("2024-01",
// "2024-01-01"). Such a text is a date, never a keyword form: a resolver would take it for a
// period name with an offset ("2024" and "-01"), and it is what the dates a keyword resolved to
// are written as.
bool IsReadableDate(std::string_view operand) {
  const DateTime value = DateTime::Parse(operand, false);
  return !value.invalid && value.precision > kYearPrecision && FormatReadable(value) == operand;
}

class IntervalAtomReader : public AtomReader {
 public:
  IntervalAtomReader(IntervalCondition::Language language, const DatePointResolver* resolver,
                     BooleanProgramBuilder<IntervalTest>& builder)
      : language_(language), resolver_(resolver), builder_(builder) {}

  bool ReadAtom(std::string_view text, size_t* pos, std::string* out) override {
    const size_t start = *pos;
    const size_t out_size = out->size();
    const std::optional<Comparison> comparison = ReadComparison(text, pos);
    if (comparison) out->append(ComparisonText(*comparison));
    if (ReadAbsent(text, pos, out)) return true;
    const Range range = ScanRange(text, *pos);
    if (range.interval) {
      *pos = range.end;
      out->append(range.written);
      builder_.AddTest(MakeTest(comparison.value_or(Comparison::kEqual), *range.interval));
      return true;
    }
    if (comparison && !range.present) {
      // An operator without an operand tests for the absent item.
      out->resize(out_size);
      AppendMissingTest(*comparison, text, pos, out);
      AddAbsentTest();
      return true;
    }
    *pos = start;
    out->resize(out_size);
    return false;
  }

  // An operand that gives no date is deleted, with its comparison operator, so that the
  // operands around it still count.
  bool DropOperand(std::string_view text, size_t* pos) override {
    size_t at = *pos;
    ReadComparison(text, &at);
    const Range range = ScanRange(text, at);
    if (!range.present) return false;
    *pos = range.end;
    return true;
  }

 private:
  // What "operand" or "operand _ operand" at a position gives: whether an operand text stands
  // there, the interval of the operands that give a date (a range's end that gives none is
  // left out), their text written back, and where the text they occupy ends (an end that gives
  // no date goes with its "_").
  struct Range {
    bool present = false;
    std::optional<Interval> interval;
    std::string written;
    size_t end = 0;
  };

  static void SkipBlanks(std::string_view text, size_t* pos) {
    while (*pos < text.size() && text[*pos] == ' ') ++*pos;
  }

  // The operand text at *pos, trimmed; advances past it.
  static std::string_view OperandText(std::string_view text, size_t* pos) {
    const size_t start = *pos;
    while (*pos < text.size() && !EndsOperand(text[*pos])) ++*pos;
    return TrimBlanksView(text.substr(start, *pos - start));
  }

  Range ScanRange(std::string_view text, size_t pos) const {
    Range range;
    SkipBlanks(text, &pos);
    const std::string_view first_text = OperandText(text, &pos);
    range.present = !first_text.empty();
    range.end = pos;
    if (!range.present) return range;
    const std::optional<Operand> first = ReadOperand(first_text);
    if (first) {
      range.interval = first->interval;
      range.written = first->whole;
    }
    SkipBlanks(text, &pos);
    if (pos >= text.size() || text[pos] != '_') return range;
    ++pos;
    SkipBlanks(text, &pos);
    const std::string_view second_text = OperandText(text, &pos);
    if (second_text.empty()) return range;
    range.end = pos;
    const std::optional<Operand> second = ReadOperand(second_text);
    if (!second) return range;
    if (first) {
      range.interval->end = second->interval.end;
      range.written = first->start_text + "_" + second->end_text;
    } else {
      range.interval = second->interval;
      range.written = second->whole;
    }
    return range;
  }

  bool ReadAbsent(std::string_view text, size_t* pos, std::string* out) {
    size_t at = *pos;
    SkipBlanks(text, &at);
    if (OperandText(text, &at) != "\\") return false;
    *pos = at;
    out->push_back(kBackslashChar);
    AddAbsentTest();
    return true;
  }

  void AddAbsentTest() {
    // Absent: a card without a day, a stamp never set.
    const uint64_t last_absent = language_ == IntervalCondition::Language::kCardId ? 0xFFFFFFFF : 0;
    builder_.AddTest({IntervalTest::kNotAfter, 0, last_absent});
  }

  // One operand's interval; nothing when its text gives no date.
  std::optional<Operand> ReadOperand(std::string_view operand) const {
    const bool date = language_ == IntervalCondition::Language::kStamp && IsReadableDate(operand);
    if (resolver_ != nullptr && !date) {
      if (std::optional<DateRange> range = resolver_->Resolve(operand)) {
        // A range without days, or backwards, gives no date.
        if (range->from.day == kNoDay || range->to < range->from) return std::nullopt;
        return KeywordOperand(operand, *range);
      }
    }
    const std::optional<Interval> interval = language_ == IntervalCondition::Language::kCardId
                                                 ? CardIdInterval(operand)
                                                 : StampInterval(operand);
    if (!interval) return std::nullopt;
    const std::string written(operand);
    return Operand{*interval, written, written, written};
  }

  // Card identifiers keep the keyword, which resolves anew at each compile; stamps are written
  // as the dates it resolved to.
  std::optional<Operand> KeywordOperand(std::string_view operand, const DateRange& range) const {
    if (language_ == IntervalCondition::Language::kCardId) {
      const std::string written(operand);
      return Operand{{IntervalItem(range.from), IntervalItem(range.to)}, written, written, written};
    }
    const std::string from = DayText(range.from.day), to = DayText(range.to.day);
    const Interval interval{StampOf(DateTime::Parse(from, false)),
                            StampOf(DateTime::Parse(to, true))};
    return Operand{interval, from == to ? from : from + "_" + to, from, to};
  }

  static std::optional<Interval> CardIdInterval(std::string_view operand) {
    const Date start = ReadCardId(operand, DateBound::kStart);
    if (start.day == kNoDay) return std::nullopt;
    return Interval{IntervalItem(start), IntervalItem(ReadCardId(operand, DateBound::kEnd))};
  }

  static std::optional<Interval> StampInterval(std::string_view operand) {
    const DateTime start = DateTime::Parse(operand, false);
    if (start.invalid) return std::nullopt;
    return Interval{StampOf(start), StampOf(DateTime::Parse(operand, true))};
  }

  IntervalCondition::Language language_;
  const DatePointResolver* resolver_;
  BooleanProgramBuilder<IntervalTest>& builder_;
};

}  // namespace

std::optional<IntervalCondition> IntervalCondition::Compile(Language language, std::string& text,
                                                            const DatePointResolver* resolver) {
  return CompileCriterion(text, [&](std::string& cut) -> std::optional<IntervalCondition> {
    BooleanProgramBuilder<IntervalTest> builder;
    IntervalAtomReader reader(language, resolver, builder);
    std::optional<BooleanProgram<IntervalTest>> program =
        CompileBooleanProgram(cut, reader, builder, /*skip_blanks=*/true);
    if (!program) return std::nullopt;
    return IntervalCondition(std::move(*program));
  });
}

}  // namespace jov
