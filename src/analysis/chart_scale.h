// The value axis of a chart: the range it spans and the step between its grid lines, chosen so
// that the lines stand at least 32 pixels apart on a round step (1, 2, 2.5, 5 or 10 times a
// power of ten), with the decimals its labels need. Computed here, drawn by the front ends.
#pragma once

namespace jov {

struct ChartScale {
  double minimum = 0;
  double maximum = 1;
  double step = 1;
  int decimals = 0;  // of the axis labels
};

// The scale of values from `low` to `high` on a chart `height` pixels high. When the ends are
// equal the maximum becomes 1, or, for a value of 1 or more, the minimum 0; missing or infinite
// ends count as 0.
ChartScale ComputeChartScale(double low, double high, int height);

}  // namespace jov
