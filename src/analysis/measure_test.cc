#include "analysis/measure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "analysis/formula_test_util.h"

namespace jov {
namespace {

double Measured(Measure measure, std::vector<double> values) {
  MeasureAccumulator accumulator(measure);
  for (const double value : values) accumulator.Add(value);
  return accumulator.Result();
}

TEST(MeasureTest, ResultsOfEveryMeasure) {
  const double nan = kMissingNumber;
  struct Case {
    Measure measure;
    std::vector<double> values;
    double expected;
  };
  const Case cases[] = {
      // Sums below the snap limit show as 0; products and extremes are never snapped.
      {Measure::kSum, {1e-7, -1e-7, 3e-7}, 0},
      {Measure::kNegativeSum, {1e-7, -1e-7, 3e-7}, 0},
      {Measure::kAverage, {1e-7, -1e-7, 3e-7}, 0},
      {Measure::kProduct, {1e-7, -1e-7, 3e-7}, -3e-21},
      {Measure::kMaximum, {1e-7, -1e-7, 3e-7}, 3e-7},
      {Measure::kSum, {1, 2, 3.5}, 6.5},
      {Measure::kNegativeSum, {1, 2, 3.5}, -6.5},
      {Measure::kSum, {1, nan}, 0},  // a sum that is not a number shows as 0
      {Measure::kCount, {0, nan, -1}, 3},
      {Measure::kAverage, {1, 2, 6}, 3},
      {Measure::kGeometricMean, {2, -8}, -4},
      {Measure::kGeometricMean, {2, 0, 8}, 0},
      {Measure::kGeometricMean, {-2, -8}, 4},
      {Measure::kGeometricMean, {4, nan}, 0},
      {Measure::kMedian, {4, 1, 3, 2}, 2.5},
      {Measure::kMedian, {7}, 7},
      {Measure::kMedian, {5, 1, 9}, 5},
      {Measure::kMaximum, {-5, -2, -9}, -2},
      {Measure::kMinimum, {-5, -2, -9}, -9},
      {Measure::kFirst, {3, 1, 2}, 3},
      {Measure::kLast, {3, 1, 2}, 2},
      // Empty runs.
      {Measure::kCount, {}, 0},
      {Measure::kSum, {}, 0},
      {Measure::kNegativeSum, {}, 0},
      {Measure::kProduct, {}, 1},
      {Measure::kAverage, {}, nan},
      {Measure::kGeometricMean, {}, nan},
      {Measure::kMedian, {}, nan},
      {Measure::kMaximum, {}, nan},
      {Measure::kMinimum, {}, nan},
      {Measure::kFirst, {}, nan},
      {Measure::kLast, {}, nan},
      // A missing value neither decides nor blocks an extreme or a median, wherever it comes.
      {Measure::kMaximum, {nan, 5, 7}, 7},
      {Measure::kMinimum, {5, nan, 3}, 3},
      {Measure::kMedian, {nan, 4, 2, nan}, 3},
      {Measure::kMaximum, {nan, nan}, nan},
  };
  for (const Case& c : cases) {
    const double result = Measured(c.measure, c.values);
    EXPECT_TRUE(SameValue(result, c.expected) || std::fabs(result - c.expected) < 1e-12)
        << MeasureLetter(c.measure) << " gave " << result << ", expected " << c.expected << " over "
        << c.values.size() << " values";
  }
}

TEST(MeasureTest, ResetStartsAfreshAndResultKeepsAccumulating) {
  MeasureAccumulator accumulator(Measure::kMedian);
  for (const double value : {9.0, 1.0, 5.0}) accumulator.Add(value);
  EXPECT_EQ(accumulator.Result(), 5);
  accumulator.Add(7);  // from start: the values so far stay
  EXPECT_EQ(accumulator.Result(), 6);
  EXPECT_EQ(accumulator.count(), 4);
  accumulator.Reset();
  EXPECT_TRUE(IsMissing(accumulator.Result()));
  accumulator.Add(2);
  EXPECT_EQ(accumulator.Result(), 2);

  accumulator.set_measure(Measure::kProduct);
  EXPECT_EQ(accumulator.Result(), 1);
}

TEST(MeasureTest, LettersNameTheMeasuresExactly) {
  for (int i = 0; i < kMeasureCount; ++i) {
    const Measure measure = static_cast<Measure>(i);
    EXPECT_EQ(MeasureOfLetter(MeasureLetter(measure)), measure);
  }
  EXPECT_EQ(MeasureOfLetter('s'), Measure::kNegativeSum);
  EXPECT_EQ(MeasureOfLetter('S'), Measure::kSum);
  EXPECT_EQ(MeasureOfLetter('x'), std::nullopt);
  EXPECT_EQ(MeasureOfLetter('\0'), std::nullopt);
}

// The median asked for now and then while values come in, as a measure from start asks it once a
// period, against sorting every time; runs of rising and falling values make the halves uneven.
TEST(RunningMedianTest, AgreesWithSortingWhileTheListGrows) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> spread(-100, 100);
  RunningMedian median;
  std::vector<double> all;
  for (int round = 0; round < 60; ++round) {
    const int count = static_cast<int>(random() % 40);
    for (int i = 0; i < count; ++i) {
      double value = spread(random);
      if (round % 3 == 1) value = 1000 + round * 50 + i;   // rising
      if (round % 3 == 2) value = -1000 - round * 50 - i;  // falling
      if (i % 5 == 0) value = std::round(value / 10);      // repeated values
      median.Add(value);
      all.push_back(value);
    }
    std::vector<double> sorted = all;
    std::sort(sorted.begin(), sorted.end());
    const size_t n = sorted.size();
    const double expected = n == 0       ? kMissingNumber
                            : n % 2 == 1 ? sorted[n / 2]
                                         : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    ASSERT_TRUE(SameValue(median.Median(), expected)) << "round " << round << ", " << n;
  }
  median.Clear();
  EXPECT_EQ(median.size(), 0u);
  EXPECT_TRUE(IsMissing(median.Median()));
}

}  // namespace
}  // namespace jov
