#include "select/value_condition.h"

#include <algorithm>
#include <limits>
#include <string_view>

#include "shell/number_text.h"
#include "shell/special_numbers.h"

namespace jov {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

bool IsComparisonChar(char c) { return c == '<' || c == '=' || c == '>'; }

// The characters that end a number.
bool EndsNumber(char c) {
  return IsComparisonChar(c) || c == '_' || c == kBackslashChar || IsBooleanChar(c);
}

struct Comparison {
  std::string_view text;  // canonical form
  ValueTest::Kind kind;
  bool up_to;  // kBetween "<=": from -inf to the number
  bool from;   // kBetween ">=": from the number to +inf
};

// The operator that the set of "<", "=" and ">" in a run stands for.
Comparison ComparisonOf(std::string_view run) {
  const bool lt = run.find('<') != run.npos;
  const bool eq = run.find('=') != run.npos;
  const bool gt = run.find('>') != run.npos;
  if (lt && gt) return {"<>", ValueTest::kNotEqual, false, false};
  if (lt)
    return eq ? Comparison{"<=", ValueTest::kBetween, true, false}
              : Comparison{"<", ValueTest::kLess, false, false};
  if (gt)
    return eq ? Comparison{">=", ValueTest::kBetween, false, true}
              : Comparison{">", ValueTest::kGreater, false, false};
  return {"=", ValueTest::kBetween, false, false};
}

ValueTest MakeTest(const Comparison& comparison, double number) {
  if (comparison.kind != ValueTest::kBetween) return {comparison.kind, number, number};
  return {ValueTest::kBetween, comparison.up_to ? -kInfinity : number,
          comparison.from ? kInfinity : number};
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
    if (IsComparisonChar(text[*pos])) return ReadComparison(text, pos, out);
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

  bool ReadComparison(std::string_view text, size_t* pos, std::string* out) {
    size_t end = *pos;
    while (end < text.size() && IsComparisonChar(text[end])) ++end;
    const Comparison comparison = ComparisonOf(text.substr(*pos, end - *pos));
    *pos = end;
    double number = 0;
    if (ReadNumber(text, pos, &number)) {
      out->append(comparison.text);
      AppendValue(out, number);
      builder_.AddTest(MakeTest(comparison, number));
      return true;
    }
    // Without a number the operator tests for the missing value: "=\" as typed, or the
    // operator with its last character replaced by "\".
    if (*pos < text.size() && text[*pos] == kBackslashChar) {
      ++*pos;
      out->append(comparison.text);
    } else {
      out->append(comparison.text.substr(0, comparison.text.size() - 1));
    }
    out->push_back(kBackslashChar);
    builder_.AddTest({ValueTest::kMissing, 0, 0});
    return true;
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
