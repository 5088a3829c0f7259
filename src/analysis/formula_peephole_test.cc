#include "analysis/formula_peephole.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "analysis/formula_test_util.h"

namespace jov {
namespace {

struct ResultCase {
  const char* text;     // over the name x
  const char* blocked;  // the same functions, kept apart by "+ 0" so that no rule applies
  double x;
  double expected;
};

// Rules that change results: each is shown where evaluating the functions one by one gives
// something else.
TEST(FormulaPeepholeTest, RulesDecideTheResult) {
  const ResultCase cases[] = {
      {"exp ln x", "exp (ln x + 0)", -1, -1},
      {"ln exp x", "ln (exp x + 0)", 1000, 1000},
      {"exp2 lg x", "exp2 (lg x + 0)", -8, -8},
      {"lg exp2 x", "lg (exp2 x + 0)", 2000, 2000},
      {"exp10 log x", "exp10 (log x + 0)", -5, -5},
      {"log exp10 x", "log (exp10 x + 0)", 2.5, 2.5},
      {"sqr sqrt x", "sqr (sqrt x + 0)", -4, -4},
      {"sqrt sqr x", "sqrt (sqr x + 0)", 1e200, 1e200},
      // A cancelled pair brings its neighbours together, and they cancel in turn.
      {"exp - - ln x", "exp (- - ln x + 0)", -2, -2},
      {"sqr abs sqrt x", "sqr (abs sqrt x + 0)", -4, -4},
      {"ln exp sqr sqrt x", "ln exp sqr (sqrt x + 0)", -9, -9},
  };
  for (const ResultCase& c : cases) {
    const FormulaNameTable names = MakeNames({{"x", c.x}});
    EXPECT_TRUE(SameValue(EvaluateText(c.text, names), c.expected)) << c.text << " at " << c.x;
    EXPECT_FALSE(SameValue(EvaluateText(c.blocked, names), c.expected)) << c.blocked;
  }
}

std::vector<FormulaWord> CodeOf(std::string text) {
  const auto formula = CompileFormula(text, MakeNames({{"x"}, {"y"}}));
  if (!formula) return {};
  return std::vector<FormulaWord>(formula->code().begin(), formula->code().end() - 1);
}

struct CodeCase {
  const char* text;
  std::vector<FormulaWord> code;
};

// Rules that keep every result: only the code shows them.
TEST(FormulaPeepholeTest, RulesRewriteTheCode) {
  constexpr FormulaWord x = kNameWord, y = kNameWord + 1;
  const CodeCase cases[] = {
      {"x + -y", {x, y, kOpSubtract}},
      {"x - -y", {x, y, kOpAdd}},
      {"x * -y", {x, y, kOpMultiply, kOpNegate}},
      {"x / -y", {x, y, kOpDivide, kOpNegate}},
      {"x * -y * -x", {x, y, kOpMultiply, kOpNegate, x, kOpMultiply, kOpNegate}},
      {"abs -x", {x, kOpAbs}},
      {"sqr -x", {x, kOpSqr}},
      {"- - x", {x}},
      {"abs abs x", {x, kOpAbs}},
      {"sqr abs x", {x, kOpSqr}},
      {"sign sign x", {x, kOpSign}},
      {"abs sqrt x", {x, kOpSqrt}},
      {"abs sqr x", {x, kOpSqr}},
      {"sqrt sqr x", {x, kOpAbs}},
      {"-x + y", {x, kOpNegate, y, kOpAdd}},  // the negation is not the added operand
      {"x ^ -y", {x, y, kOpNegate, kOpPower}},
  };
  for (const CodeCase& c : cases) EXPECT_EQ(CodeOf(c.text), c.code) << c.text;
}

// The rules applied after each word, scanning the whole code from its start every time: the
// plain reading of the rules, against which the incremental rewriting is checked.
void AppendByFullScan(std::vector<FormulaWord>& code, FormulaWord word) {
  code.push_back(word);
  for (bool changed = true; changed;) {
    changed = false;
    for (size_t i = 0; i + 1 < code.size() && !changed; ++i) {
      std::vector<FormulaWord> pair = {code[i], code[i + 1]};
      std::vector<FormulaWord> rewritten;
      for (FormulaWord w : pair) AppendSimplified(rewritten, w);
      if (rewritten != pair) {
        code.erase(code.begin() + i, code.begin() + i + 2);
        code.insert(code.begin() + i, rewritten.begin(), rewritten.end());
        changed = true;
      }
    }
  }
}

TEST(FormulaPeepholeTest, IncrementalRewritingEqualsScanningFromTheStart) {
  const std::vector<FormulaWord> words = {kOpNegate,   kOpAbs,   kOpSign, kOpSqrt,     kOpSqr,
                                          kOpExp,      kOpLn,    kOpAdd,  kOpMultiply, kOpDivide,
                                          kOpSubtract, kOpExp10, kOpLog,  kNameWord};
  std::mt19937 random(7);
  std::uniform_int_distribution<size_t> pick(0, words.size() - 1);
  for (int round = 0; round < 2000; ++round) {
    std::vector<FormulaWord> incremental, full;
    for (int n = 0; n < 24; ++n) {
      const FormulaWord word = words[pick(random)];
      AppendSimplified(incremental, word);
      AppendByFullScan(full, word);
    }
    ASSERT_EQ(incremental, full) << "round " << round;
  }
}

}  // namespace
}  // namespace jov
