#include "analysis/chart_series.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analysis/component_analysis.h"
#include "analysis/component_functions.h"
#include "analysis/time_functions.h"
#include "model/database.h"
#include "shell/process.h"
#include "shell/special_numbers.h"

namespace jov {
namespace {

// Accounts (dimension 1, the default view): 1 (10, 11), 2, 3 with texts. One value field.
class ChartSeriesTest : public ::testing::Test {
 protected:
  ChartSeriesTest() {
    ResetProcess();
    db_.AddComponent(0, "N", "", "");
    for (const char* code : {"1", "10", "11", "2", "3"}) {
      db_.AddComponent(1, code, std::string("Account ") + code, "");
    }
    db_.dimension(1).SetPluralName("Accounts");
    db_.FlushChangeFlags();
  }

  void AddLine(std::string_view account, double value, DayCode day) {
    CardStore& cards = db_.cards();
    const CardRef card = cards.CreateCard({day, 0});
    const GroupRef group = cards.FindOrAddGroup(card, db_.FindByCode(0, "N"));
    const LineRef line = cards.CreateLine(group);
    const ComponentRef slots[] = {db_.FindByCode(1, account)};
    cards.SetComponents(line, slots);
    const double values[] = {value};
    cards.SetValues(line, values);
  }

  static std::vector<std::string> Titles(const ChartData& chart) {
    std::vector<std::string> titles;
    for (const ChartSeries& series : chart.series) titles.push_back(series.title);
    return titles;
  }

  Database db_;
};

TEST(ChartStyleTest, EachChartTypeDrawsColumnsAsItSays) {
  ResetProcess();
  Database db;
  FunctionColumns columns(db);
  Variable& variable = *columns.AddVariable("v");
  Formula& line = *columns.AddFormula("l");
  Formula& bars = *columns.AddFormula("b");
  bars.graph = GraphStyle::kBars;
  Formula& none = *columns.AddFormula("n");
  none.graph = GraphStyle::kNone;
  using G = GraphStyle;
  const struct {
    ChartType type;
    G variable, line, bars;
  } cases[] = {
      {ChartType::kLines, G::kLine, G::kLine, G::kLine},
      {ChartType::kTime, G::kLine, G::kLine, G::kBars},
      {ChartType::kBars, G::kBars, G::kBars, G::kBars},
      {ChartType::kOverlapping, G::kBars, G::kBars, G::kBars},
      {ChartType::kStacked, G::kBars, G::kBars, G::kBars},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.type));
    EXPECT_EQ(TimeChartStyle(variable, c.type), c.variable);
    EXPECT_EQ(TimeChartStyle(line, c.type), c.line);
    EXPECT_EQ(TimeChartStyle(bars, c.type), c.bars);
    EXPECT_EQ(TimeChartStyle(none, c.type), G::kNone) << "a formula without a graph is not drawn";
  }
  EXPECT_EQ(ComponentChartStyle(variable), G::kBars);
  EXPECT_EQ(ComponentChartStyle(line), G::kLine);
  EXPECT_EQ(ComponentChartStyle(none), G::kNone);
  variable.look.visible = false;
  EXPECT_EQ(TimeChartStyle(variable, ChartType::kLines), G::kNone);
  EXPECT_EQ(ComponentChartStyle(variable), G::kNone);
}

TEST_F(ChartSeriesTest, TimeFunctionsChartDrawsTheRowsOfTheTable) {
  AddLine("1", 100, PackDay(2023, 12, 5));
  AddLine("2", 40, PackDay(2024, 1, 10));
  AddLine("3", -30, PackDay(2024, 3, 2));
  TimeFunctionsAnalysis analysis(db_);
  analysis.options().SetRange(PackDay(2024, 1, 1), PackDay(2024, 12, 31));
  analysis.options().period_kind = PeriodKind::kMonths;
  Variable& sum = *analysis.columns().AddVariable("sum");
  sum.accumulation = Accumulation::kByPeriod;
  sum.look.colour = 11;
  sum.look.line_width = 3;
  Formula& tenfold = *analysis.columns().AddFormula("tenfold");
  analysis.columns().SetText(tenfold, "sum * 10");
  tenfold.graph = GraphStyle::kNone;  // drawn nowhere, so it must not stretch the axis
  Formula& half = *analysis.columns().AddFormula("half");
  analysis.columns().SetText(half, "sum / 2");
  half.graph = GraphStyle::kBars;
  ASSERT_TRUE(analysis.Calculate());
  ASSERT_EQ(analysis.row_count(), 4u);  // before, January to March

  const ChartData chart = TimeFunctionsChart(analysis, 320);
  EXPECT_EQ(Titles(chart), (std::vector<std::string>{"sum", "half"}));
  // The periods, without the row before the range, which sums everything before it.
  ASSERT_EQ(chart.categories.size(), 3u);
  for (size_t row = 1; row < 4; ++row) {
    EXPECT_EQ(chart.categories[row - 1], analysis.RowLabel(row));
  }
  EXPECT_EQ(chart.series[0].values, (std::vector<double>{40, 0, -30}));
  EXPECT_EQ(chart.series[1].values, (std::vector<double>{20, 0, -15}));
  EXPECT_EQ(chart.series[0].style, GraphStyle::kLine);
  EXPECT_EQ(chart.series[1].style, GraphStyle::kBars);
  EXPECT_EQ(chart.series[0].rgb, ColourRgb(11));
  EXPECT_EQ(chart.series[0].line_width, 3);
  EXPECT_EQ(chart.bars, BarLayout::kBeside);
  // Fitted: -30..40 on 10 steps of 32 pixels gives a step of 10; the undrawn tenfold (400 in
  // January) and the row before (100) leave the axis alone.
  EXPECT_EQ(chart.scale.step, 10);
  EXPECT_EQ(chart.scale.minimum, -30);
  EXPECT_EQ(chart.scale.maximum, 40);

  // Stacked bars sum each period's signs apart; stored limits stand as they are.
  analysis.options().chart = ChartType::kStacked;
  analysis.options().axis_maximum = 333;
  const ChartData stacked = TimeFunctionsChart(analysis, 320);
  EXPECT_EQ(stacked.bars, BarLayout::kStacked);
  EXPECT_EQ(stacked.series[0].style, GraphStyle::kBars);
  EXPECT_EQ(stacked.scale.maximum, 333);
  EXPECT_EQ(stacked.scale.step, 50);
  EXPECT_EQ(stacked.scale.minimum, -50) << "-30 and -15 stacked, widened to a grid line";
}

TEST_F(ChartSeriesTest, ComponentFunctionsChartFollowsTheDisplayedRows) {
  AddLine("10", 6, PackDay(2024, 1, 1));
  AddLine("11", 2, PackDay(2024, 1, 1));
  AddLine("2", -4, PackDay(2024, 1, 1));
  ComponentFunctionsAnalysis analysis(db_);
  analysis.columns().AddVariable("sum");
  Formula& twice = *analysis.columns().AddFormula("twice");
  analysis.columns().SetText(twice, "sum * 2");
  ASSERT_TRUE(analysis.Calculate());
  analysis.ExpandToLevel(2);
  const ChartData chart = ComponentFunctionsChart(analysis, false, 320);
  EXPECT_EQ(chart.categories,
            (std::vector<std::string>{"Accounts", "1 Account 1", "10 Account 10", "11 Account 11",
                                      "2 Account 2", "3 Account 3"}));
  EXPECT_EQ(chart.series[0].style, GraphStyle::kBars);
  EXPECT_EQ(chart.series[1].style, GraphStyle::kLine);
  ASSERT_EQ(chart.series[1].values.size(), 6u);
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(chart.series[1].values[i], analysis.CellValue(analysis.displayed()[i], 1));
  }
  const ChartScale scale = analysis.Scale(320, false);
  EXPECT_EQ(chart.scale.step, scale.step);
  EXPECT_LE(chart.scale.minimum, -8);
  EXPECT_GE(chart.scale.maximum, 12);
  EXPECT_EQ(std::fmod(chart.scale.minimum, scale.step), 0);
  EXPECT_EQ(ComponentFunctionsChart(analysis, true, 320).bars, BarLayout::kStacked);
  // Columns added since the calculation have no values to draw yet.
  analysis.columns().AddVariable("late");
  EXPECT_EQ(Titles(ComponentFunctionsChart(analysis, false, 320)),
            (std::vector<std::string>{"sum", "twice"}));
}

TEST(ChartScaleWideningTest, EndsMoveOutToGridLines) {
  const struct {
    double low, high, step, minimum, maximum;
  } cases[] = {
      {3, 97, 10, 0, 100}, {-0.3, 0.3, 0.1, -0.3, 0.3}, {-25, 25, 25, -25, 25},
      {12, 12, 5, 10, 15}, {0.7, 1.01, 0.1, 0.7, 1.1},
  };
  for (const auto& c : cases) {
    const ChartScale widened = WidenToSteps({c.low, c.high, c.step, 0});
    EXPECT_NEAR(widened.minimum, c.minimum, 1e-12) << c.low;
    EXPECT_NEAR(widened.maximum, c.maximum, 1e-12) << c.high;
  }
}

TEST(ChartScaleWideningTest, GridLinesStandOnEveryStepWithTheScalesDecimals) {
  ResetProcess();
  const auto labels = [](const ChartScale& scale) {
    std::vector<std::string> texts;
    for (const GridLine& line : GridLines(scale)) texts.push_back(line.label);
    return texts;
  };
  EXPECT_EQ(labels({-40, 40, 20, 0}), (std::vector<std::string>{"-40", "-20", "0", "20", "40"}));
  EXPECT_EQ(labels({0.1, 0.9, 0.25, 2}), (std::vector<std::string>{"0.25", "0.50", "0.75"}));
  EXPECT_EQ(labels({-0.3, 0.3, 0.1, 1}),
            (std::vector<std::string>{"-0.3", "-0.2", "-0.1", "0.0", "0.1", "0.2", "0.3"}));
  EXPECT_EQ(GridLines({0, 1e12, 1, 0}).size(), 200u) << "a runaway count is cut off";
  EXPECT_TRUE(GridLines({0, 1, 0, 0}).empty());
}

TEST(SliceColoursTest, TakenInTurnAndNeighboursKeptApart) {
  EXPECT_EQ(SliceColours(1), (std::vector<int>{0}));
  EXPECT_EQ(SliceColours(3), (std::vector<int>{0, 1, 2}));
  for (const size_t count : {14u, 15u, 29u, 30u}) {
    const std::vector<int> colours = SliceColours(count);
    for (size_t i = 0; i < count; ++i) {
      const int next = colours[(i + 1) % count];
      EXPECT_NE(colours[i], next) << count << " slices, slice " << i;
      if (i + 1 < count) {
        EXPECT_EQ(colours[i], static_cast<int>(i % kChartColours));
      }
    }
  }
  // The fourteen colours differ from each other.
  for (int i = 0; i < kChartColours; ++i) {
    for (int j = i + 1; j < kChartColours; ++j) EXPECT_NE(ChartColourRgb(i), ChartColourRgb(j));
  }
}

TEST_F(ChartSeriesTest, ComponentSlicesLeaveOutEmptyRowsAndCarryTheirShares) {
  AddLine("10", 30, PackDay(2024, 1, 1));
  AddLine("11", 10, PackDay(2024, 1, 1));
  AddLine("2", 60, PackDay(2024, 1, 1));
  ComponentAnalysis analysis(db_);
  analysis.options().pie_values = 2;
  ASSERT_TRUE(analysis.Calculate());  // the root (nothing of its own), 1, 2, 3 (nothing)
  std::vector<ChartSlice> slices = ComponentChartSlices(analysis);
  ASSERT_EQ(slices.size(), 2u);
  EXPECT_EQ(slices[0].label, "1 Account 1");
  EXPECT_EQ(slices[0].value, 40);
  EXPECT_DOUBLE_EQ(slices[0].share, 0.4);
  EXPECT_EQ(slices[0].slice_text, "40.0%");
  EXPECT_EQ(slices[1].legend_text, "60.0 %");
  EXPECT_EQ(slices[0].rgb, ChartColourRgb(0));
  EXPECT_EQ(slices[1].rgb, ChartColourRgb(1));
  const BarAxis axis = ComponentBarAxis(analysis, slices, 320);
  EXPECT_EQ(axis.scale.minimum, 0);
  EXPECT_GE(axis.scale.maximum, 60);
  EXPECT_EQ(axis.scale.decimals, 2) << "the chart decimals";

  // Expanded, account 1 shows its own (nothing) and its children a slice each; the scaled
  // decimals divide the axis.
  analysis.ExpandToLevel(2);
  analysis.options().chart_decimals = kThousands;
  slices = ComponentChartSlices(analysis);
  ASSERT_EQ(slices.size(), 3u);
  EXPECT_EQ(slices[0].label, "10 Account 10");
  EXPECT_EQ(ComponentBarAxis(analysis, slices, 320).divisor, 1000);
  analysis.options().pie_values = 0;
  EXPECT_EQ(ComponentChartSlices(analysis)[0].slice_text, "");
}

}  // namespace
}  // namespace jov
