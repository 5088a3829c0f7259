#include "analysis/formula_peephole.h"

#include <array>
#include <cstddef>

namespace jov {
namespace {

struct Rule {
  FormulaWord first;   // A
  FormulaWord second;  // B, applied to the result of A
  int result_size;
  std::array<FormulaWord, 2> result;
};

constexpr Rule kRules[] = {
    {kOpNegate, kOpAdd, 1, {kOpSubtract}},
    {kOpNegate, kOpSubtract, 1, {kOpAdd}},
    {kOpNegate, kOpMultiply, 2, {kOpMultiply, kOpNegate}},
    {kOpNegate, kOpDivide, 2, {kOpDivide, kOpNegate}},
    {kOpNegate, kOpAbs, 1, {kOpAbs}},
    {kOpNegate, kOpSqr, 1, {kOpSqr}},
    {kOpNegate, kOpNegate, 0, {}},
    {kOpAbs, kOpAbs, 1, {kOpAbs}},
    {kOpAbs, kOpSqr, 1, {kOpSqr}},
    {kOpSign, kOpSign, 1, {kOpSign}},
    {kOpSqrt, kOpAbs, 1, {kOpSqrt}},
    {kOpSqrt, kOpSqr, 0, {}},
    {kOpSqr, kOpAbs, 1, {kOpSqr}},
    {kOpSqr, kOpSqrt, 1, {kOpAbs}},
    {kOpExp, kOpLn, 0, {}},
    {kOpExp2, kOpLg, 0, {}},
    {kOpExp10, kOpLog, 0, {}},
    {kOpLn, kOpExp, 0, {}},
    {kOpLg, kOpExp2, 0, {}},
    {kOpLog, kOpExp10, 0, {}},
};

const Rule* FindRule(FormulaWord first, FormulaWord second) {
  for (const Rule& rule : kRules) {
    if (rule.first == first && rule.second == second) return &rule;
  }
  return nullptr;
}

}  // namespace

void AppendSimplified(std::vector<FormulaWord>& code, FormulaWord word) {
  code.push_back(word);
  // Only pairs from here on can match: the one the new word makes, then those a rewrite makes
  // with the word before it.
  size_t i = code.size() >= 2 ? code.size() - 2 : 0;
  while (i + 1 < code.size()) {
    const Rule* rule = FindRule(code[i], code[i + 1]);
    if (rule == nullptr) {
      ++i;
      continue;
    }
    const auto pair = code.begin() + static_cast<std::ptrdiff_t>(i);
    code.erase(pair, pair + 2);
    code.insert(code.begin() + static_cast<std::ptrdiff_t>(i), rule->result.begin(),
                rule->result.begin() + rule->result_size);
    i = i > 0 ? i - 1 : 0;
  }
}

}  // namespace jov
