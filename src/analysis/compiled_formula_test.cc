#include "analysis/compiled_formula.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "analysis/formula_test_util.h"

namespace jov {
namespace {

constexpr double kInf = kPlusInfinity;
constexpr double kNaN = kMissingNumber;

struct OperationCase {
  const char* text;  // over the names a and b
  double a;
  double b;
  double expected;
};

// Names keep the operands out of constant folding, so these run through the evaluator.
TEST(CompiledFormulaTest, OperationsFollowTheirTable) {
  const OperationCase cases[] = {
      {"a : b", 7, 3, 1},         {"a : b", -7, 3, -1},
      {"a : b", 7, -3, 1},        {"a : b", 7.5, 2, 1.5},
      {"a : b", 7, 0, 0},         {"a : b", kNaN, 0, 0},
      {"a : b", 7, kInf, 7},      {"a : b", 7, kNaN, 7},
      {"a : b", 0, 3, 0},         {"a : b", kInf, 3, 0},
      {"a : b", kNaN, 3, 0},      {"a / b", 1, 0, kInf},
      {"a / b", -1, 0, -kInf},    {"a / b", 0, 0, kNaN},
      {"a ^ b", 2, 10, 1024},     {"a ^ b", -8, 1.0 / 3, kNaN},
      {"a + b", kNaN, 1, kNaN},   {"sign a", kInf, 0, 1},
      {"sign a", -kInf, 0, -1},   {"sign a", kNaN, 0, 0},
      {"sign a", -0.0, 0, 0},     {"sign a", -0.25, 0, -1},
      {"int a", -2.7, 0, -2},     {"int a", 2.7, 0, 2},
      {"up a", -2.5, 0, -2},      {"round a", -2.5, 0, -2},
      {"round a", 2.5, 0, 3},     {"round a", -2.6, 0, -3},
      {"exp10 a", 2.9, 0, 100},   {"exp10 a", -2.9, 0, 0.01},
      {"exp10 a", kNaN, 0, kNaN}, {"exp2 a", 3, 0, 8},
      {"lg a", 8, 0, 3},          {"lg a", 0, 0, -kInf},
      {"lg a", -1, 0, kNaN},      {"ln a", 1, 0, 0},
      {"sqrt a", -1, 0, kNaN},    {"sqr a", -3, 0, 9},
      {"- a", 3, 0, -3},          {"asin a", 2, 0, kNaN},
      {"acos a", 1, 0, 0},        {"atan a", kInf, 0, std::numbers::pi / 2},
      {"sin a", 0, 0, 0},
  };
  for (const OperationCase& c : cases) {
    const double result = EvaluateText(c.text, MakeNames({{"a", c.a}, {"b", c.b}}));
    EXPECT_TRUE(SameValue(result, c.expected))
        << c.text << " with a = " << c.a << ", b = " << c.b << " gave " << result;
  }
  EXPECT_NEAR(EvaluateText("frac a", MakeNames({{"a", -2.7}})), -0.7, 1e-15);
  EXPECT_TRUE(std::isnan(EvaluateText("frac a", MakeNames({{"a", kInf}}))));
}

TEST(CompiledFormulaTest, BuildRefusesCodeThatIsNotWellFormed) {
  const std::vector<double> one_constant = {1};
  const std::vector<std::vector<FormulaWord>> bad_codes = {
      {},                              // no value
      {kOpAdd},                        // operator without operands
      {kConstantWord, kOpAdd},         // one operand short
      {kConstantWord, kConstantWord},  // two values left
      {kConstantWord + 1},             // constant out of range
      {kNameWord + kMaxFormulaNames},  // name index out of range
      {kConstantWord, 30},             // unknown operation
      {kConstantWord, kOpEnd},         // the end inside the code
      std::vector<FormulaWord>(CompiledFormula::kMaxStack + 1, kNameWord),  // stack too deep
  };
  for (const std::vector<FormulaWord>& code : bad_codes) {
    EXPECT_FALSE(CompiledFormula::Build(code, one_constant)) << "code of " << code.size();
  }
  EXPECT_TRUE(CompiledFormula::Build(std::vector<FormulaWord>{kOpRandom}, {}));
}

TEST(CompiledFormulaTest, FoldsOnlyWhatDependsOnConstantsAlone) {
  std::string text = "2 * 3 + x * (4 - 1) + ran";
  const FormulaNameTable names = MakeNames({{"x", 10}});
  const auto formula = CompileFormula(text, names);
  ASSERT_TRUE(formula);
  const std::vector<FormulaWord> code(formula->code().begin(), formula->code().end());
  EXPECT_EQ(code, (std::vector<FormulaWord>{kConstantWord, kNameWord, kConstantWord + 1,
                                            kOpMultiply, kOpAdd, kOpRandom, kOpAdd, kOpEnd}));
  EXPECT_EQ(std::vector<double>(formula->constants().begin(), formula->constants().end()),
            (std::vector<double>{6, 3}));
}

TEST(CompiledFormulaTest, UsesNameAndShortValueArrays) {
  std::string text = "b * 2 + d";
  const FormulaNameTable names = MakeNames({{"a", 1}, {"b", 2}, {"c", 3}, {"d", 4}});
  const auto formula = CompileFormula(text, names);
  ASSERT_TRUE(formula);
  EXPECT_FALSE(formula->UsesName(0));
  EXPECT_TRUE(formula->UsesName(1));
  EXPECT_FALSE(formula->UsesName(2));
  EXPECT_TRUE(formula->UsesName(3));
  EXPECT_FALSE(formula->UsesName(4096));
  EXPECT_EQ(formula->Evaluate(names.Values()), 8);
  // A value array that lacks an entry the code reads gives the missing number, not a stray read.
  const std::array<double, 3> short_values = {1, 2, 3};
  EXPECT_TRUE(std::isnan(formula->Evaluate(short_values)));
}

}  // namespace
}  // namespace jov
