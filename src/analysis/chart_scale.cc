#include "analysis/chart_scale.h"

#include <algorithm>
#include <cmath>

namespace jov {
namespace {

// Grid lines stand at least this many pixels apart.
constexpr int kPixelsPerStep = 32;
// Axis labels never show more decimals than numbers can hold.
constexpr int kMostDecimals = 15;

}  // namespace

ChartScale ComputeChartScale(double low, double high, int height) {
  ChartScale scale;
  scale.minimum = std::isfinite(low) ? low : 0;
  scale.maximum = std::isfinite(high) ? high : 0;
  if (scale.minimum > scale.maximum) std::swap(scale.minimum, scale.maximum);
  if (scale.minimum == scale.maximum) {
    // A single value: the axis runs from it up to 1; a value of 1 or more, which that would
    // leave with no range or a reversed one, from 0 up to it.
    if (scale.maximum < 1) {
      scale.maximum = 1;
    } else {
      scale.minimum = 0;
    }
  }
  const double distance = (scale.maximum - scale.minimum) / std::max(height / kPixelsPerStep, 1);
  // The tenths of the distance's decimal logarithm, shifted to stay positive for every finite
  // double: the last digit picks the factor, the rest the power of ten.
  const double tenths = std::trunc(10 * std::log10(distance));
  const long t = static_cast<long>(std::clamp(tenths, -4000.0, 4000.0)) + 1000;
  const int digit = static_cast<int>(((t % 10) + 10) % 10);
  const int exponent = static_cast<int>((t - digit) / 10 - 100);
  double factor = 10;
  int correction = -1;
  if (digit == 0) {
    factor = 1, correction = 0;
  } else if (digit <= 2) {
    factor = 2, correction = 0;
  } else if (digit == 3) {
    factor = 2.5, correction = 1;
  } else if (digit <= 6) {
    factor = 5, correction = 0;
  }
  scale.step = factor * std::pow(10.0, exponent);
  scale.decimals = std::clamp(-(exponent - correction), 0, kMostDecimals);
  return scale;
}

}  // namespace jov
