#include "analysis/chart_scale.h"

#include <gtest/gtest.h>

#include <limits>

namespace jov {
namespace {

TEST(ChartScaleTest, GridStepsAreRoundAndLabelsGetTheDecimalsTheyNeed) {
  struct Case {
    double low, high;
    int height;
    double step;
    int decimals;
  };
  // A chart of 320 pixels has room for 10 steps, one of 32 or less for one.
  const Case cases[] = {
      {0, 10, 320, 1, 0},         // d = 1: factor 1
      {0, 15, 320, 2, 0},         // d = 1.5: factor 2
      {0, 20, 320, 2.5, 1},       // d = 2: tenths 3, factor 2.5, one decimal
      {0, 30, 320, 5, 0},         // d = 3: factor 5
      {0, 70, 320, 10, 0},        // d = 7: factor 10
      {-500, 1500, 320, 250, 0},  // d = 200: 2.5 times 100
      {0, 0.02, 320, 0.005, 3},   // d = 0.002
      {0, 1.8, 320, 0.25, 2},     // d = 0.18: 2.5 times 0.1 needs two decimals
      {0, 0.7, 320, 0.1, 1},      // d = 0.07: factor 10 of 1e-2
      {0, 1e6, 20, 1e6, 0},       // too low for more than one step
      {0, 3, 64, 2, 0},           // two steps: d = 1.5
  };
  for (const Case& c : cases) {
    const ChartScale scale = ComputeChartScale(c.low, c.high, c.height);
    EXPECT_DOUBLE_EQ(scale.step, c.step) << c.low << ".." << c.high << " in " << c.height;
    EXPECT_EQ(scale.decimals, c.decimals) << c.low << ".." << c.high << " in " << c.height;
    EXPECT_EQ(scale.minimum, c.low);
    EXPECT_EQ(scale.maximum, c.high);
  }
}

TEST(ChartScaleTest, EqualEndsAndUnusableValuesStillGiveARange) {
  // Equal ends: the maximum becomes 1; a value of 1 or more keeps it and starts at 0, where
  // the maximum 1 would have left no range at all.
  EXPECT_EQ(ComputeChartScale(0, 0, 320).maximum, 1);
  EXPECT_EQ(ComputeChartScale(-4, -4, 320).maximum, 1);
  const ChartScale five = ComputeChartScale(5, 5, 320);
  EXPECT_EQ(five.minimum, 0);
  EXPECT_EQ(five.maximum, 5);
  EXPECT_GT(five.step, 0);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (const auto& [low, high] : {std::pair{nan, nan}, std::pair{-inf, inf},
                                  std::pair{1e-300, 2e-300}, std::pair{-1e300, 1e300}}) {
    const ChartScale scale = ComputeChartScale(low, high, 0);
    EXPECT_GT(scale.step, 0) << low << ".." << high;
    EXPECT_LT(scale.minimum, scale.maximum) << low << ".." << high;
    EXPECT_GE(scale.decimals, 0);
    EXPECT_LE(scale.decimals, 15);
  }
}

}  // namespace
}  // namespace jov
