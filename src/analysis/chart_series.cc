#include "analysis/chart_series.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "analysis/component_analysis.h"
#include "analysis/component_functions.h"
#include "analysis/component_labels.h"
#include "analysis/shown_value.h"
#include "analysis/time_functions.h"
#include "shell/special_numbers.h"

namespace jov {
namespace {

// The chart colours, in the order rows take them: strong hues first, neighbours far apart.
constexpr std::array<uint32_t, kChartColours> kChartRgb = {
    0x1F5FBF,  // blue
    0xE8731A,  // orange
    0x2E9E44,  // green
    0xC8283C,  // red
    0x7B4FB5,  // violet
    0xE0B400,  // yellow
    0x19A3B8,  // cyan
    0x8C5A32,  // brown
    0xD65AA8,  // pink
    0x6B8E23,  // olive
    0x2B3A8C,  // navy
    0xF29B8C,  // salmon
    0x7F7F7F,  // grey
    0x94C95B,  // light green
};

ChartSeries SeriesOf(const FunctionColumn& column, GraphStyle style) {
  return {.title = column.ShownTitle(),
          .style = style,
          .rgb = ColourRgb(column.look.colour),
          .line_width = std::max(column.look.line_width, 1),
          .values = {}};
}

// More grid lines than this would only blacken the chart.
constexpr size_t kMostGridLines = 200;

// The value of a cell as the chart draws it: the missing number for what is not finite.
double Drawn(double value) { return std::isfinite(value) ? value : kMissingNumber; }

// Where a stored axis limit is missing, the scale's end moves out to a grid line.
ChartScale WidenUnstoredEnds(ChartScale scale, bool minimum_stored, bool maximum_stored) {
  const ChartScale widened = WidenToSteps(scale);
  if (!minimum_stored) scale.minimum = widened.minimum;
  if (!maximum_stored) scale.maximum = widened.maximum;
  return scale;
}

}  // namespace

GraphStyle TimeChartStyle(const FunctionColumn& column, ChartType type) {
  if (!column.look.visible) return GraphStyle::kNone;
  if (!column.is_variable() && static_cast<const Formula&>(column).graph == GraphStyle::kNone) {
    return GraphStyle::kNone;
  }
  switch (type) {
    case ChartType::kLines:
      return GraphStyle::kLine;
    case ChartType::kTime:
      return column.is_variable() ? GraphStyle::kLine : static_cast<const Formula&>(column).graph;
    case ChartType::kBars:
    case ChartType::kOverlapping:
    case ChartType::kStacked:
      return GraphStyle::kBars;
  }
  return GraphStyle::kLine;
}

GraphStyle ComponentChartStyle(const FunctionColumn& column) {
  if (!column.look.visible) return GraphStyle::kNone;
  return column.is_variable() ? GraphStyle::kBars : static_cast<const Formula&>(column).graph;
}

ChartScale WidenToSteps(ChartScale scale) {
  if (!(scale.step > 0)) return scale;
  // A little slack keeps an end that already stands on a grid line there despite rounding.
  const double slack = scale.step * 1e-9;
  scale.minimum = std::floor((scale.minimum + slack) / scale.step) * scale.step;
  scale.maximum = std::ceil((scale.maximum - slack) / scale.step) * scale.step;
  if (scale.maximum <= scale.minimum) scale.maximum = scale.minimum + scale.step;
  return scale;
}

std::vector<GridLine> GridLines(const ChartScale& scale) {
  std::vector<GridLine> lines;
  if (!(scale.step > 0) || !(scale.maximum >= scale.minimum)) return lines;
  const double slack = scale.step * 1e-9;
  const double first = std::ceil((scale.minimum - slack) / scale.step);
  for (double k = first; k * scale.step <= scale.maximum + slack && lines.size() < kMostGridLines;
       ++k) {
    const double value = k == 0 ? 0.0 : k * scale.step;  // no "-0"
    lines.push_back({value, ShownValue(value, scale.decimals)});
  }
  return lines;
}

ChartData TimeFunctionsChart(const TimeFunctionsAnalysis& analysis, int height) {
  ChartData chart;
  const TimeFunctionsOptions& options = analysis.options();
  chart.bars = options.chart == ChartType::kStacked       ? BarLayout::kStacked
               : options.chart == ChartType::kOverlapping ? BarLayout::kOverlapping
                                                          : BarLayout::kBeside;
  const size_t rows = analysis.row_count();
  for (size_t row = 1; row < rows; ++row) chart.categories.push_back(analysis.RowLabel(row));
  const FunctionColumns& columns = analysis.columns();
  for (size_t i = 0; rows > 1 && i < columns.size() && i < analysis.row(0).values.size(); ++i) {
    const GraphStyle style = TimeChartStyle(columns[i], options.chart);
    if (style == GraphStyle::kNone) continue;
    ChartSeries series = SeriesOf(columns[i], style);
    for (size_t row = 1; row < rows; ++row) {
      series.values.push_back(Drawn(analysis.CellValue(row, i)));
    }
    chart.series.push_back(std::move(series));
  }
  const auto [low, high] = analysis.ValueAxisRange();
  chart.scale =
      WidenUnstoredEnds(ComputeChartScale(low, high, height), std::isfinite(options.axis_minimum),
                        std::isfinite(options.axis_maximum));
  return chart;
}

ChartData ComponentFunctionsChart(const ComponentFunctionsAnalysis& analysis, bool stacked,
                                  int height) {
  ChartData chart;
  chart.bars = stacked ? BarLayout::kStacked : BarLayout::kBeside;
  const Database& database = analysis.database();
  const std::vector<int>& displayed = analysis.displayed();
  for (const int row : displayed) {
    chart.categories.push_back(
        ComponentRowName(database, analysis.rows()[row], analysis.view_dimension()));
  }
  const FunctionColumns& columns = analysis.columns();
  for (size_t i = 0; i < columns.size() && i < analysis.calculated_columns(); ++i) {
    const GraphStyle style = ComponentChartStyle(columns[i]);
    if (style == GraphStyle::kNone) continue;
    ChartSeries series = SeriesOf(columns[i], style);
    for (const int row : displayed) series.values.push_back(Drawn(analysis.CellValue(row, i)));
    chart.series.push_back(std::move(series));
  }
  chart.scale = WidenToSteps(analysis.Scale(height, stacked));
  return chart;
}

uint32_t ChartColourRgb(int index) {
  return kChartRgb[static_cast<size_t>(((index % kChartColours) + kChartColours) % kChartColours)];
}

std::vector<int> SliceColours(size_t count) {
  std::vector<int> colours(count);
  for (size_t i = 0; i < count; ++i) colours[i] = static_cast<int>(i % kChartColours);
  // The last slice of a ring touches the first: with one more slice than a multiple of the
  // table they would share a colour. The one after differs from both its neighbours.
  if (count > 1 && colours.back() == colours.front()) colours.back() = 1;
  return colours;
}

std::vector<ChartSlice> ComponentChartSlices(const ComponentAnalysis& analysis) {
  std::vector<ChartSlice> slices;
  if (!analysis.calculated()) return slices;
  const std::vector<int>& displayed = analysis.displayed();
  const std::vector<double> shares = analysis.PieShares();
  const int pie_values = analysis.options().pie_values;
  for (size_t i = 0; i < displayed.size(); ++i) {
    const int row = displayed[i];
    const double value = analysis.ChartValue(row);
    if (!std::isfinite(value) || value == 0) continue;
    slices.push_back({.row = row,
                      .label = ComponentRowName(analysis.database(), analysis.rows()[row],
                                                analysis.view_dimension()),
                      .value = value,
                      .share = shares[i],
                      .slice_text = PieShareText(shares[i], pie_values, PieTextPlace::kSlice),
                      .legend_text = PieShareText(shares[i], pie_values, PieTextPlace::kLegend),
                      .rgb = 0});
  }
  const std::vector<int> colours = SliceColours(slices.size());
  for (size_t i = 0; i < slices.size(); ++i) slices[i].rgb = ChartColourRgb(colours[i]);
  return slices;
}

BarAxis ComponentBarAxis(const ComponentAnalysis& analysis, const std::vector<ChartSlice>& slices,
                         int length) {
  BarAxis axis;
  const int decimals = analysis.options().chart_decimals;
  axis.divisor = decimals == kMillions ? 1e6 : decimals == kThousands ? 1e3 : 1;
  double low = 0;
  double high = 0;
  for (const ChartSlice& slice : slices) {
    low = std::min(low, slice.value / axis.divisor);
    high = std::max(high, slice.value / axis.divisor);
  }
  axis.scale = WidenToSteps(ComputeChartScale(low, high, length));
  // The scaled forms' values are divided already: their labels show whole numbers, or what the
  // step needs.
  axis.scale.decimals = std::max(axis.scale.decimals, std::max(decimals, 0));
  return axis;
}

}  // namespace jov
