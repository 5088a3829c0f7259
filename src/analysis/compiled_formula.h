// A formula compiled to postfix code over a table of constants, and its evaluation on a stack of
// doubles. Evaluation reads the name values from the caller's array, allocates nothing and
// follows IEEE arithmetic: the missing number (a quiet NaN) propagates, nothing traps.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "analysis/formula_operations.h"

namespace jov {

class CompiledFormula {
 public:
  // The deepest value stack a code may need.
  static constexpr size_t kMaxStack = 256;

  // Builds a formula from postfix code (without its closing 0) and the constants it pushes.
  // Operations whose operands are all constants are carried out here by the evaluator itself,
  // so the result is the one evaluation would give. None when the code is not well formed: an
  // unknown word, a constant or name index out of range, an operation short of operands, a
  // stack deeper than kMaxStack, or other than one value left at the end.
  static std::optional<CompiledFormula> Build(std::span<const FormulaWord> code,
                                              std::span<const double> constants);

  // The value of the formula. `name_values` holds the values of the name table the formula was
  // compiled against, in entry order; when it is shorter than the highest entry the code pushes,
  // the result is the missing number.
  double Evaluate(std::span<const double> name_values) const;

  // Whether the code pushes name-table entry `index`.
  bool UsesName(size_t index) const;

  // The code, ending with kOpEnd, and the constants it pushes.
  std::span<const FormulaWord> code() const { return code_; }
  std::span<const double> constants() const { return constants_; }

 private:
  CompiledFormula() = default;

  void PushConstant(double value);
  void FoldLast(FormulaWord op, int operand_count);

  std::vector<FormulaWord> code_;
  std::vector<double> constants_;
  size_t names_needed_ = 0;  // one more than the highest name index pushed
};

}  // namespace jov
