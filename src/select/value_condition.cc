#include "select/value_condition.h"

#include <algorithm>
#include <cmath>
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

// Strict comparisons become closed ranges ending at the neighbouring double.
ValueTest MakeTest(Comparison comparison, double number) {
  switch (comparison) {
    case Comparison::kEqual:
      return ValueTest::Between(number, number);
    case Comparison::kLess:
      return number == -kInfinity
                 ? ValueTest::Nothing()
                 : ValueTest::Between(-kInfinity, std::nextafter(number, -kInfinity));
    case Comparison::kGreater:
      return number == kInfinity ? ValueTest::Nothing()
                                 : ValueTest::Between(std::nextafter(number, kInfinity), kInfinity);
    case Comparison::kLessEqual:
      return ValueTest::Between(-kInfinity, number);
    case Comparison::kGreaterEqual:
      return ValueTest::Between(number, kInfinity);
    case Comparison::kNotEqual:
      return ValueTest{number, number, true, false};
  }
  return ValueTest::Missing();
}

class ValueAtomReader : public AtomReader {
 public:
  explicit ValueAtomReader(BooleanProgramBuilder<ValueTest>& builder) : builder_(builder) {}

  bool ReadAtom(std::string_view text, size_t* pos, std::string* out) override {
    if (text[*pos] == kBackslashChar) {
      ++*pos;
      out->push_back(kBackslashChar);
      builder_.AddTest(ValueTest::Missing());
      return true;
    }
    if (const std::optional<Comparison> comparison = ReadComparison(text, pos)) {
      ReadComparedNumber(*comparison, text, pos, out);
      return true;
    }
    return ReadNumberOrRange(text, pos, out);
  }

 private:
  // Reads a number up to the next operator character and writes it in the system's number
  // format with the fewest decimals that read back as the same double; *number is what the
  // written text stands for. False (nothing consumed or written) without a number.
  static bool ReadNumber(std::string_view text, size_t* pos, double* number, std::string* written) {
    size_t end = *pos;
    while (end < text.size() && !EndsNumber(text[end])) ++end;
    if (end == *pos) return false;
    const double value = ParseNumber(text.substr(*pos, end - *pos));
    if (IsMissing(value)) return false;
    for (int decimals = 0; decimals <= kMaxDecimals; ++decimals) {
      written->clear();
      AppendNumber(*written, value, decimals);
      if (ParseNumber(*written) == value) break;
    }
    *number = ParseNumber(*written);
    *pos = end;
    return true;
  }

  void ReadComparedNumber(Comparison comparison, std::string_view text, size_t* pos,
                          std::string* out) {
    double number = 0;
    std::string written;
    if (ReadNumber(text, pos, &number, &written)) {
      out->append(ComparisonText(comparison)).append(written);
      builder_.AddTest(MakeTest(comparison, number));
    } else {
      AppendMissingTest(comparison, text, pos, out);
      builder_.AddTest(ValueTest::Missing());
    }
  }

  bool ReadNumberOrRange(std::string_view text, size_t* pos, std::string* out) {
    double low = 0;
    std::string written;
    if (!ReadNumber(text, pos, &low, &written)) return false;
    out->append(written);
    if (*pos >= text.size() || text[*pos] != '_') {
      builder_.AddTest(ValueTest::Between(low, low));
      return true;
    }
    ++*pos;  // a "_" without a second number is dropped
    double high = 0;
    if (!ReadNumber(text, pos, &high, &written)) {
      builder_.AddTest(ValueTest::Between(low, low));
      return true;
    }
    out->append("_").append(written);
    // The range holds what lies between its ends, whichever is written first.
    builder_.AddTest(ValueTest::Between(std::min(low, high), std::max(low, high)));
    return true;
  }

  BooleanProgramBuilder<ValueTest>& builder_;
};

}  // namespace

std::optional<ValueCondition> ValueCondition::Compile(std::string& text) {
  RemoveBlanks(text);
  return CompileCriterion(text, [](std::string& cut) -> std::optional<ValueCondition> {
    ReplaceDotRuns(cut);
    BooleanProgramBuilder<ValueTest> builder;
    ValueAtomReader reader(builder);
    std::optional<BooleanProgram<ValueTest>> program =
        CompileBooleanProgram(cut, reader, builder, /*skip_blanks=*/false);
    if (!program) return std::nullopt;
    return ValueCondition(std::move(*program));
  });
}

ValueCondition::ValueCondition(BooleanProgram<ValueTest> program) : program_(std::move(program)) {
  const std::vector<ValueTest>& atoms = program_.atoms();
  if (atoms.size() > kMaxTableAtoms) return;
  table_atoms_ = static_cast<uint8_t>(atoms.size());
  std::copy(atoms.begin(), atoms.end(), table_tests_.begin());
  for (uint32_t row = 0; row < (1u << table_atoms_); ++row) {
    const bool result = program_.Run(
        [&](const ValueTest& test) { return (row >> (&test - atoms.data()) & 1) != 0; });
    if (result) table_[row / 64] |= uint64_t{1} << (row % 64);
  }
  missing_result_ = program_.Run([](const ValueTest& test) { return test.missing; });
}

}  // namespace jov
