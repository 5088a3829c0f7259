// What the charts of the time functions, component functions and component analyses draw, worked
// out from a calculated analysis so that a front end only draws it: the labels along the
// category axis, a series per drawn column with its values, colour, line width and graph style,
// how bars stand, and the value axis with its grid step; for the component analysis the slices
// of its pie or bars, with their shares' texts and colours. Nothing here calculates an analysis.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/chart_scale.h"
#include "analysis/formula.h"
#include "analysis/time_functions_options.h"

namespace jov {

class ComponentAnalysis;
class ComponentFunctionsAnalysis;
class TimeFunctionsAnalysis;

// How the bars of several series stand in one category.
enum class BarLayout : uint8_t { kBeside, kOverlapping, kStacked };

struct ChartSeries {
  std::string title;
  GraphStyle style = GraphStyle::kLine;  // kLine or kBars
  uint32_t rgb = 0;                      // 0xRRGGBB
  int line_width = 1;                    // pixels, of a line
  // One value per category; the missing number where nothing is drawn.
  std::vector<double> values;
};

struct ChartData {
  std::vector<std::string> categories;
  std::vector<ChartSeries> series;
  BarLayout bars = BarLayout::kBeside;
  ChartScale scale;
};

// How a column is drawn under a time functions chart type: not at all when it is hidden or a
// formula with no graph; lines for every column under "U"; under "T" a variable as a line and
// a formula by its graph style; bars under the bar types.
GraphStyle TimeChartStyle(const FunctionColumn& column, ChartType type);
// How a column is drawn in the component functions chart: a variable as bars, a formula by its
// graph style, a hidden column not at all.
GraphStyle ComponentChartStyle(const FunctionColumn& column);

// The time functions chart: a category per period (the rows after the one before the range,
// labelled as the table labels them), a series per drawn column. The value axis spans the
// analysis's stored limits, or else its values widened to whole grid steps, for a plot `height`
// pixels high.
ChartData TimeFunctionsChart(const TimeFunctionsAnalysis& analysis, int height);
// The component functions chart: a category per displayed row, a series per drawn column, bars
// beside each other or stacked, on the analysis's scale widened to whole grid steps.
ChartData ComponentFunctionsChart(const ComponentFunctionsAnalysis& analysis, bool stacked,
                                  int height);

// The scale with its ends moved out to the nearest grid lines.
ChartScale WidenToSteps(ChartScale scale);

struct GridLine {
  double value = 0;
  std::string label;  // with the scale's decimals and the number separators in effect
};
// The grid lines of the scale: every multiple of its step from its minimum to its maximum.
std::vector<GridLine> GridLines(const ChartScale& scale);

// --- The component analysis's pie and bars

inline constexpr int kChartColours = 14;
// Colour `index` of the chart colours (0..13, taken modulo 14) as 0xRRGGBB.
uint32_t ChartColourRgb(int index);
// The chart colours of `count` slices, taken in turn; when the last slice of a ring would get
// the first slice's colour, it takes the one after, so that no two neighbours share one.
std::vector<int> SliceColours(size_t count);

struct ChartSlice {
  int row = 0;              // into the analysis's rows()
  std::string label;        // the component's identifiers, or the dimension's plural name
  double value = 0;         // the chart value
  double share = 0;         // of the sum of the displayed rows' chart values
  std::string slice_text;   // the share as the slice shows it ("12%"), or empty
  std::string legend_text;  // as the legend shows it ("12 %"), or empty
  uint32_t rgb = 0;
};

// A slice per displayed row whose chart value is finite and not 0, in display order.
std::vector<ChartSlice> ComponentChartSlices(const ComponentAnalysis& analysis);
// The value axis of the bars, `length` pixels long: from 0 or the smallest slice value to the
// largest, with the analysis's chart decimals for its labels (never below what the step needs)
// and values divided by `divisor` (1000 or 1,000,000 for the scaled decimals forms).
struct BarAxis {
  ChartScale scale;
  double divisor = 1;
};
BarAxis ComponentBarAxis(const ComponentAnalysis& analysis, const std::vector<ChartSlice>& slices,
                         int length);

}  // namespace jov
