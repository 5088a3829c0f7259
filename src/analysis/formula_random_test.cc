#include "analysis/formula_random.h"

#include <gtest/gtest.h>

#include <cmath>

#include "analysis/formula_test_util.h"
#include "shell/process.h"

namespace jov {
namespace {

class FormulaRandomTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProcess(); }
  void TearDown() override { ResetProcess(); }
};

constexpr double kToUnit = 1.0 / 2147483648.0;

TEST_F(FormulaRandomTest, DrawsFollowTheSeed) {
  EXPECT_EQ(FormulaSeedFromTicks(2, 3), 2 * 425420.0 + 3);
  SeedFormulaRandom(1);
  EXPECT_EQ(NextFormulaRandom(), 75 * kToUnit);
  EXPECT_EQ(NextFormulaRandom(), 5625 * kToUnit);
  // 75^5 = 2373046875 passes the modulus once.
  NextFormulaRandom();
  NextFormulaRandom();
  EXPECT_EQ(NextFormulaRandom(), (2373046875.0 - 2147483647.0) * kToUnit);
}

TEST_F(FormulaRandomTest, DrawsStayInTheUnitInterval) {
  SeedFormulaRandom(FormulaSeedFromTicks(4294967295u, 4294967295u));  // the largest tick seed
  for (int i = 0; i < 100000; ++i) {
    const double draw = NextFormulaRandom();
    ASSERT_GE(draw, 0);
    ASSERT_LT(draw, 1);
  }
}

// Such seeds would give the same number forever (0, or a missing or negative number).
TEST_F(FormulaRandomTest, DegenerateSeedsAreReplaced) {
  for (const double seed : {0.0, -5.0, 2147483647.0 * 3, kMissingNumber, kPlusInfinity}) {
    SeedFormulaRandom(seed);
    EXPECT_EQ(NextFormulaRandom(), 75 * kToUnit) << seed;
  }
}

TEST_F(FormulaRandomTest, FirstDrawSeedsFromTheTickCount) {
  ASSERT_FALSE(Process().Slot<FormulaRandomSeed>().seed);
  const double draw = NextFormulaRandom();
  EXPECT_TRUE(Process().Slot<FormulaRandomSeed>().seed);
  EXPECT_GE(draw, 0);
  EXPECT_LT(draw, 1);
}

// "ran" draws anew at every evaluation; it is never folded into a constant.
TEST_F(FormulaRandomTest, RanDrawsAtEveryEvaluation) {
  std::string text = "ran * 2 + 1";
  const auto formula = CompileFormula(text, {});
  ASSERT_TRUE(formula);
  SeedFormulaRandom(1);
  EXPECT_EQ(formula->Evaluate({}), 75 * kToUnit * 2 + 1);
  EXPECT_EQ(formula->Evaluate({}), 5625 * kToUnit * 2 + 1);
}

}  // namespace
}  // namespace jov
