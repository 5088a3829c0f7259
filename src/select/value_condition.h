// ValueCondition: which values of one value field pass, typed as numbers, ranges "a_b",
// comparisons ("=", "<", ">", "<=", ">=", "<>" followed by a number) and the missing-value test
// "\", joined by the boolean operators. A missing value (NaN) fails every comparison and range.
#pragma once

#include <optional>
#include <string>

#include "select/boolean_program.h"

namespace jov {

struct ValueTest {
  enum Kind : uint8_t { kBetween, kLess, kGreater, kNotEqual, kMissing };
  Kind kind;
  double low;   // kBetween: the lower bound; the comparisons: the number
  double high;  // kBetween: the upper bound
};

class ValueCondition {
 public:
  // Numbers are written back with this many decimals at most (trailing zeros dropped).
  static constexpr int kNumberDecimals = 10;

  // Compiles `text` and replaces it by its corrected form: blanks removed, cut to 1,023
  // characters, runs of dots made "_", operators in canonical form, numbers rewritten, and
  // whatever does not fit the grammar dropped. Nothing when no operand remains.
  static std::optional<ValueCondition> Compile(std::string& text);

  bool Evaluate(double value) const {
    return program_.Run([value](const ValueTest& test) {
      switch (test.kind) {
        case ValueTest::kBetween:
          return value >= test.low && value <= test.high;
        case ValueTest::kLess:
          return value < test.low;
        case ValueTest::kGreater:
          return value > test.low;
        case ValueTest::kNotEqual:
          return value == value && value != test.low;  // NaN fails
        case ValueTest::kMissing:
          return value != value;
      }
      return false;
    });
  }

  const BooleanProgram<ValueTest>& program() const { return program_; }

 private:
  explicit ValueCondition(BooleanProgram<ValueTest> program) : program_(std::move(program)) {}

  BooleanProgram<ValueTest> program_;
};

}  // namespace jov
