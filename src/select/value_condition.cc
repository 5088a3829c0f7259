#include "select/value_condition.h"

#include <algorithm>
#include <limits>
#include <string_view>

#include "select/comparison.h"
#include "shell/number_text.h"
#include "shell/special_numbers.h"

namespace jov {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// The characters that end a number.
bool EndsNumber(char c) {
  return c == '<' || c == '=' || c == '>' || c == '_' || c == kBackslashChar || IsBooleanChar(c);
}

ValueTest MakeTest(Comparison comparison, double number) {
  switch (comparison) {
    case Comparison::kEqual:
      return {ValueTest::kBetween, number, number};
    case Comparison::kLess:
      return {ValueTest::kLess, number, number};
    case Comparison::kGreater:
      return {ValueTest::kGreater, number, number};
    case Comparison::kLessEqual:
      return {ValueTest::kBetween, -kInfinity, number};
    case Comparison::kGreaterEqual:
      return {ValueTest::kBetween, number, kInfinity};
    case Comparison::kNotEqual:
      return {ValueTest::kNotEqual, number, number};
  }
  return {ValueTest::kMissing, 0, 0};
}

class ValueAtomReader : public AtomReader {
 public:
  explicit ValueAtomReader(BooleanProgramBuilder<ValueTest>& builder) : builder_(builder) {}

  bool ReadAtom(std::string_view text, size_t* pos, std::string* out) override {
    if (text[*pos] == kBackslashChar) {
      ++*pos;
      out->push_back(kBackslashChar);
      builder_.AddTest({ValueTest::kMissing, 0, 0});
      return true;
    }
    if (const std::optional<Comparison> comparison = ReadComparison(text, pos)) {
      ReadComparedNumber(*comparison, text, pos, out);
      return true;
    }
    return ReadNumberOrRange(text, pos, out);
  }

 private:
  // Reads a number up to the next operator character; false (nothing consumed) without one.
  static bool ReadNumber(std::string_view text, size_t* pos, double* number) {
    size_t end = *pos;
    while (end < text.size() && !EndsNumber(text[end])) ++end;
    if (end == *pos) return false;
    const double value = ParseNumber(text.substr(*pos, end - *pos));
    if (IsMissing(value)) return false;
    *number = value;
    *pos = end;
    return true;
  }

  static void AppendValue(std::string* out, double value) {
    AppendNumber(*out, value, ValueCondition::kNumberDecimals);
  }

  void ReadComparedNumber(Comparison comparison, std::string_view text, size_t* pos,
                          std::string* out) {
    double number = 0;
    if (ReadNumber(text, pos, &number)) {
      out->append(ComparisonText(comparison));
      AppendValue(out, number);
      builder_.AddTest(MakeTest(comparison, number));
    } else {
      AppendMissingTest(comparison, text, pos, out);
      builder_.AddTest({ValueTest::kMissing, 0, 0});
    }
  }

  bool ReadNumberOrRange(std::string_view text, size_t* pos, std::string* out) {
    double low = 0;
    if (!ReadNumber(text, pos, &low)) return false;
    AppendValue(out, low);
    if (*pos >= text.size() || text[*pos] != '_') {
      builder_.AddTest({ValueTest::kBetween, low, low});
      return true;
    }
    ++*pos;  // a "_" without a second number is dropped
    double high = 0;
    if (!ReadNumber(text, pos, &high)) {
      builder_.AddTest({ValueTest::kBetween, low, low});
      return true;
    }
    out->push_back('_');
    AppendValue(out, high);
    // The range holds what lies between its ends, whichever is written first.
    builder_.AddTest({ValueTest::kBetween, std::min(low, high), std::max(low, high)});
    return true;
  }

  BooleanProgramBuilder<ValueTest>& builder_;
};

}  // namespace

std::optional<ValueCondition> ValueCondition::Compile(std::string& text) {
  RemoveBlanks(text);
  CutToCriterionLength(text);
  ReplaceDotRuns(text);
  BooleanProgramBuilder<ValueTest> builder;
  ValueAtomReader reader(builder);
  BooleanParser parser(reader, builder, /*skip_blanks=*/false);
  std::string corrected;
  const bool ok = parser.Parse(text, &corrected);
  text = std::move(corrected);
  if (!ok) return std::nullopt;
  std::optional<BooleanProgram<ValueTest>> program = builder.Finish();
  if (!program) return std::nullopt;
  return ValueCondition(std::move(*program));
}

}  // namespace jov
