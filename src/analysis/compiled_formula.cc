#include "analysis/compiled_formula.h"

#include <algorithm>
#include <cmath>

#include "analysis/formula_random.h"
#include "shell/special_numbers.h"

namespace jov {
namespace {

// The remainder with the sign of `a`; 0 for a zero divisor, `a` itself for an infinite or
// missing divisor, 0 for a dividend that is zero, infinite or missing (in this order).
double Remainder(double a, double b) {
  if (b == 0) return 0;
  if (!std::isfinite(b)) return a;
  if (a == 0 || !std::isfinite(a)) return 0;
  return std::fmod(a, b);
}

double Sign(double x) { return x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0); }

// Ten raised to x truncated toward zero: always an integer power.
double Exp10(double x) { return std::pow(10.0, std::trunc(x)); }

double Lg(double x) { return std::log(x) / std::log(2.0); }

double Frac(double x) { return x - std::trunc(x); }

double Round(double x) { return std::floor(x + 0.5); }

// The operators, codes kOpAdd to kOpPower.
inline double ApplyOperator(FormulaWord op, double a, double b) {
  switch (op) {
    case kOpAdd:
      return a + b;
    case kOpSubtract:
      return a - b;
    case kOpMultiply:
      return a * b;
    case kOpDivide:
      return a / b;
    case kOpRemainder:
      return Remainder(a, b);
    default:
      return std::pow(a, b);
  }
}

// The one-operand operations, codes kOpAbs to kOpRound.
inline double ApplyFunction(FormulaWord op, double x) {
  switch (op) {
    case kOpAbs:
      return std::fabs(x);
    case kOpSign:
      return Sign(x);
    case kOpNegate:
      return -x;
    case kOpSqrt:
      return std::sqrt(x);
    case kOpSqr:
      return x * x;
    case kOpExp:
      return std::exp(x);
    case kOpExp2:
      return std::exp2(x);
    case kOpExp10:
      return Exp10(x);
    case kOpLn:
      return std::log(x);
    case kOpLg:
      return Lg(x);
    case kOpLog:
      return std::log10(x);
    case kOpSin:
      return std::sin(x);
    case kOpCos:
      return std::cos(x);
    case kOpTan:
      return std::tan(x);
    case kOpAsin:
      return std::asin(x);
    case kOpAcos:
      return std::acos(x);
    case kOpAtan:
      return std::atan(x);
    case kOpInt:
      return std::trunc(x);
    case kOpFrac:
      return Frac(x);
    case kOpUp:
      return std::ceil(x);
    case kOpDown:
      return std::floor(x);
    default:
      return Round(x);
  }
}

// Runs well-formed code (as Build checks it) and returns the value it leaves. The topmost value
// is kept in `top`, out of the stack array, so that an operation touches memory only for its
// left operand.
inline double RunCode(const FormulaWord* pc, const double* constants, const double* names) {
  double stack[CompiledFormula::kMaxStack];
  double* below = stack;  // one past the value under `top`
  double top = 0;
  for (;; ++pc) {
    const FormulaWord word = *pc;
    if (word & (kNameWord | kConstantWord)) {
      *below++ = top;
      top =
          (word & kNameWord) ? names[word & kNameIndexMask] : constants[word & kConstantIndexMask];
    } else if (word == kOpEnd) {
      return top;
    } else if (word <= kOpPower) {
      top = ApplyOperator(word, *--below, top);
    } else if (word == kOpRandom) {
      *below++ = top;
      top = NextFormulaRandom();
    } else {
      top = ApplyFunction(word, top);
    }
  }
}

}  // namespace

std::optional<CompiledFormula> CompiledFormula::Build(std::span<const FormulaWord> code,
                                                      std::span<const double> constants) {
  CompiledFormula formula;
  formula.code_.reserve(code.size() + 1);
  std::vector<bool> constant_on_stack;  // per stack value: whether it is a constant
  for (const FormulaWord word : code) {
    if (word & kNameWord) {
      const size_t index = word & kNameIndexMask;
      if (index >= kMaxFormulaNames) return std::nullopt;
      formula.names_needed_ = std::max(formula.names_needed_, index + 1);
      formula.code_.push_back(word);
      constant_on_stack.push_back(false);
    } else if (word & kConstantWord) {
      const size_t index = word & kConstantIndexMask;
      if (index >= constants.size() || formula.constants_.size() == kMaxFormulaConstants) {
        return std::nullopt;
      }
      formula.PushConstant(constants[index]);
      constant_on_stack.push_back(true);
    } else {
      if (!IsFormulaOperation(word)) return std::nullopt;
      const int count = OperandCount(word);
      if (constant_on_stack.size() < static_cast<size_t>(count)) return std::nullopt;
      const auto operands = constant_on_stack.end() - count;
      const bool fold = count > 0 && std::all_of(operands, constant_on_stack.end(),
                                                 [](bool constant) { return constant; });
      constant_on_stack.erase(operands, constant_on_stack.end());
      if (fold) {
        formula.FoldLast(word, count);
      } else {
        formula.code_.push_back(word);
      }
      constant_on_stack.push_back(fold);
    }
    if (constant_on_stack.size() > kMaxStack) return std::nullopt;
  }
  if (constant_on_stack.size() != 1) return std::nullopt;
  formula.code_.push_back(kOpEnd);
  return formula;
}

void CompiledFormula::PushConstant(double value) {
  code_.push_back(static_cast<FormulaWord>(kConstantWord + constants_.size()));
  constants_.push_back(value);
}

// The operands are the last constants: their push words end the code so far. The result takes
// their place, so the constant table never grows here.
void CompiledFormula::FoldLast(FormulaWord op, int operand_count) {
  const FormulaWord unary[] = {kConstantWord, op, kOpEnd};
  const FormulaWord binary[] = {kConstantWord, kConstantWord + 1, op, kOpEnd};
  const double* operands = constants_.data() + constants_.size() - operand_count;
  const double value = RunCode(operand_count == 1 ? unary : binary, operands, nullptr);
  code_.resize(code_.size() - operand_count);
  constants_.resize(constants_.size() - operand_count);
  PushConstant(value);
}

double CompiledFormula::Evaluate(std::span<const double> name_values) const {
  if (name_values.size() < names_needed_) return kMissingNumber;
  return RunCode(code_.data(), constants_.data(), name_values.data());
}

bool CompiledFormula::UsesName(size_t index) const {
  return index < names_needed_ &&
         std::find(code_.begin(), code_.end(), kNameWord + index) != code_.end();
}

}  // namespace jov
