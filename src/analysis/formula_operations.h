// The code words of compiled formulas and the keyword table through which formula texts name the
// one-operand functions. A word is 0 (end of code), an operation 1..29, kConstantWord + k (push
// constant k) or kNameWord + k (push the value of name-table entry k).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace jov {

using FormulaWord = uint16_t;

enum FormulaOp : FormulaWord {
  kOpEnd = 0,
  kOpAdd = 1,
  kOpSubtract = 2,
  kOpMultiply = 3,
  kOpDivide = 4,
  kOpRemainder = 5,
  kOpPower = 6,
  kOpAbs = 7,
  kOpSign = 8,
  kOpNegate = 9,
  kOpSqrt = 10,
  kOpSqr = 11,
  kOpExp = 12,
  kOpExp2 = 13,
  kOpExp10 = 14,
  kOpLn = 15,
  kOpLg = 16,
  kOpLog = 17,
  kOpSin = 18,
  kOpCos = 19,
  kOpTan = 20,
  kOpAsin = 21,
  kOpAcos = 22,
  kOpAtan = 23,
  kOpInt = 24,
  kOpFrac = 25,
  kOpUp = 26,
  kOpDown = 27,
  kOpRound = 28,
  kOpRandom = 29,
};

constexpr FormulaWord kConstantWord = 0x4000;
constexpr FormulaWord kNameWord = 0x8000;
constexpr FormulaWord kConstantIndexMask = kConstantWord - 1;
constexpr FormulaWord kNameIndexMask = kNameWord - 1;
// Constants a code can address, and names a name table may hold.
constexpr size_t kMaxFormulaConstants = kConstantWord;
constexpr size_t kMaxFormulaNames = 4096;

constexpr bool IsFormulaOperation(FormulaWord word) { return word >= kOpAdd && word <= kOpRandom; }

// Values an operation takes from the stack: two for the arithmetic operators, none for the
// random number, one for every function and the negation.
constexpr int OperandCount(FormulaWord op) {
  return op <= kOpPower ? 2 : (op == kOpRandom ? 0 : 1);
}

struct FormulaKeyword {
  std::string_view text;  // as texts are rewritten: lower case
  FormulaOp op;
};

// Searched in this order; the first keyword that begins the remaining text wins, so the longer
// of two keywords with a common start comes first ("exp10" before "exp").
inline constexpr std::array<FormulaKeyword, 24> kFormulaKeywords = {{
    {"abs", kOpAbs},   {"sign", kOpSign}, {"exp10", kOpExp10}, {"exp2", kOpExp2},   {"exp", kOpExp},
    {"ln", kOpLn},     {"lg", kOpLg},     {"log10", kOpLog},   {"log2", kOpLg},     {"log", kOpLog},
    {"sqrt", kOpSqrt}, {"sqr", kOpSqr},   {"sin", kOpSin},     {"cos", kOpCos},     {"tan", kOpTan},
    {"asin", kOpAsin}, {"acos", kOpAcos}, {"atan", kOpAtan},   {"ran", kOpRandom},  {"int", kOpInt},
    {"frac", kOpFrac}, {"up", kOpUp},     {"down", kOpDown},   {"round", kOpRound},
}};

}  // namespace jov
