// ValueCondition: which values of one value field pass, typed as numbers, ranges "a_b",
// comparisons ("=", "<", ">", "<=", ">=", "<>" followed by a number) and the missing-value test
// "\", joined by the boolean operators. A missing value (NaN) fails every comparison and range.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "select/boolean_program.h"
#include "shell/special_numbers.h"

namespace jov {

// One operand: the value lies in [low, high] (or outside it when `outside`); a missing value
// (NaN) passes only when `missing`. Every comparison is such a range, so a number is tested
// without branches.
struct ValueTest {
  double low;
  double high;
  bool outside;
  bool missing;

  static ValueTest Between(double low, double high) { return {low, high, false, false}; }
  static ValueTest Nothing() { return Between(kPlusInfinity, kMinusInfinity); }
  static ValueTest Missing() { return {kPlusInfinity, kMinusInfinity, false, true}; }

  bool Passes(double value) const { return value != value ? missing : PassesNumber(value); }
  // For a value that is not NaN.
  bool PassesNumber(double value) const { return ((value >= low) & (value <= high)) != outside; }
};

class ValueCondition {
 public:
  // Compiles `text` and replaces it by its corrected form: blanks removed, cut to 1,023
  // characters, runs of dots made "_", operators in canonical form, numbers rewritten, and
  // whatever does not fit the grammar dropped. Nothing when no operand remains.
  static std::optional<ValueCondition> Compile(std::string& text);

  // A condition of one operand, complemented or not, as the one test that decides it, so that
  // a scan can run it inline; nothing for other conditions.
  std::optional<ValueTest> AsSingleTest() const {
    if (table_atoms_ != 1 || (table_[0] != 0b10 && table_[0] != 0b01)) return std::nullopt;
    ValueTest test = table_tests_[0];
    if (table_[0] == 0b01) test = {test.low, test.high, !test.outside, !test.missing};
    return test;
  }

  bool Evaluate(double value) const {
    switch (table_atoms_) {
      case 1:
        return EvaluateByTable<1>(value);
      case 2:
        return EvaluateByTable<2>(value);
      case 3:
        return EvaluateByTable<3>(value);
      case 4:
        return EvaluateByTable<4>(value);
      case 5:
        return EvaluateByTable<5>(value);
      case 6:
        return EvaluateByTable<6>(value);
      case 7:
        return EvaluateByTable<7>(value);
      case 8:
        return EvaluateByTable<8>(value);
      default:
        return program_.Run([value](const ValueTest& test) { return test.Passes(value); });
    }
  }

 private:
  // Conditions of up to kMaxTableAtoms operands are also kept as a truth table over their
  // operands' results, computed from the program, so that a value is tested without jumps.
  static constexpr uint8_t kMaxTableAtoms = 8;
  static constexpr uint8_t kNoTable = 0xFF;

  explicit ValueCondition(BooleanProgram<ValueTest> program);

  // The row of the truth table is made of the operands' results, one bit each.
  template <size_t kAtoms>
  bool EvaluateByTable(double value) const {
    if (value != value) return missing_result_;
    const auto row_of = [&]<size_t... kIndex>(std::index_sequence<kIndex...>) {
      return ((static_cast<uint32_t>(table_tests_[kIndex].PassesNumber(value)) << kIndex) | ...);
    };
    const uint32_t row = row_of(std::make_index_sequence<kAtoms>());
    if constexpr (kAtoms <= 6) return (table_[0] >> row & 1) != 0;
    return (table_[row / 64] >> (row % 64) & 1) != 0;
  }

  BooleanProgram<ValueTest> program_;
  uint8_t table_atoms_ = kNoTable;
  bool missing_result_ = false;  // the result for a missing value
  std::array<ValueTest, kMaxTableAtoms> table_tests_{};
  std::array<uint64_t, (1u << kMaxTableAtoms) / 64> table_{};
};

}  // namespace jov
