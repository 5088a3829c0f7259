// The charts whose columns are series over categories: the time functions chart (a category per
// period) and the component functions chart (a category per displayed component), both drawn
// from the engine's ChartData.
#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QComboBox>
#include <QLineSeries>
#include <QSignalBlocker>
#include <QStackedBarSeries>
#include <cmath>

#include "analysis/chart_series.h"
#include "analysis/component_functions.h"
#include "analysis/time_functions.h"
#include "analysis_chart.h"
#include "qt_text.h"

namespace jov {
namespace {

// The share of a category's width that bars take.
constexpr double kBarWidth = 0.8;

QBarSet* BarSetOf(const ChartSeries& series) {
  auto* set = new QBarSet(FromEngine(series.title));
  set->setColor(ColorOf(series.rgb));
  set->setBorderColor(ColorOf(series.rgb).darker(130));
  for (const double value : series.values) set->append(std::isfinite(value) ? value : 0);
  return set;
}

QLineSeries* LineOf(const ChartSeries& series) {
  auto* line = new QLineSeries;
  line->setName(FromEngine(series.title));
  QPen pen(ColorOf(series.rgb));
  pen.setWidth(series.line_width);
  line->setPen(pen);
  // A period without a value leaves its point out; the line joins its neighbours.
  for (size_t i = 0; i < series.values.size(); ++i) {
    if (std::isfinite(series.values[i])) line->append(static_cast<double>(i), series.values[i]);
  }
  return line;
}

// The bars of a series as one area: a rectangle `half` a category wide on each side of every
// category, rising from 0.
QAreaSeries* OverlappingBars(const ChartSeries& series, double half) {
  auto* outline = new QLineSeries;
  for (size_t i = 0; i < series.values.size(); ++i) {
    const double at = static_cast<double>(i);
    const double value = std::isfinite(series.values[i]) ? series.values[i] : 0;
    outline->append(at - half, 0);
    outline->append(at - half, value);
    outline->append(at + half, value);
    outline->append(at + half, 0);
  }
  auto* area = new QAreaSeries(outline);
  outline->setParent(area);  // an area series leaves its outline with the caller
  area->setName(FromEngine(series.title));
  area->setColor(ColorOf(series.rgb));
  area->setBorderColor(ColorOf(series.rgb).darker(130));
  return area;
}

void Attach(QChart* chart, QAbstractSeries* series, QAbstractAxis* x, QAbstractAxis* y) {
  chart->addSeries(series);
  series->attachAxis(x);
  series->attachAxis(y);
}

// The bars first, so that lines are drawn over them.
void AddBars(QChart* chart, const ChartData& data, QAbstractAxis* x, QAbstractAxis* y) {
  std::vector<const ChartSeries*> bars;
  for (const ChartSeries& series : data.series) {
    if (series.style == GraphStyle::kBars) bars.push_back(&series);
  }
  if (bars.empty()) return;
  if (data.bars == BarLayout::kOverlapping) {
    // Bar series of one chart stand beside each other: overlapping bars are drawn as areas, a
    // rectangle per category, each column's narrower than the one before, so that the bars
    // behind stay in sight.
    for (size_t i = 0; i < bars.size(); ++i) {
      const double half =
          kBarWidth / 2 * static_cast<double>(bars.size() - i) / static_cast<double>(bars.size());
      Attach(chart, OverlappingBars(*bars[i], half), x, y);
    }
    return;
  }
  QAbstractBarSeries* series = data.bars == BarLayout::kStacked
                                   ? static_cast<QAbstractBarSeries*>(new QStackedBarSeries)
                                   : new QBarSeries;
  series->setBarWidth(kBarWidth);
  for (const ChartSeries* bar : bars) series->append(BarSetOf(*bar));
  Attach(chart, series, x, y);
}

void Draw(QChart* chart, const ChartData& data) {
  auto* x = new QBarCategoryAxis;
  for (const std::string& category : data.categories) x->append(FromEngine(category));
  x->setLabelsAngle(data.categories.size() > 12 ? -60 : 0);
  QCategoryAxis* y = ScaleAxis(data.scale);
  chart->addAxis(x, Qt::AlignBottom);
  chart->addAxis(y, Qt::AlignLeft);
  AddBars(chart, data, x, y);
  for (const ChartSeries& series : data.series) {
    if (series.style == GraphStyle::kLine) Attach(chart, LineOf(series), x, y);
  }
  chart->legend()->setVisible(!data.series.empty());
}

class TimeFunctionsChartPane : public AnalysisChart {
 public:
  TimeFunctionsChartPane(TimeFunctionsAnalysis& analysis, QWidget* parent)
      : AnalysisChart(analysis, parent), analysis_(analysis) {
    type_ = AddChoice(msg::kChartType,
                      {msg::kFirstChartType, msg::kFirstChartType + 1, msg::kFirstChartType + 2,
                       msg::kFirstChartType + 3, msg::kFirstChartType + 4},
                      static_cast<int>(analysis.options().chart));
    // The type is one of the analysis's settings: stored with its template.
    connect(type_, &QComboBox::currentIndexChanged, this, [this](int type) {
      analysis_.options().chart = static_cast<ChartType>(type);
      Refresh();
    });
    Refresh();
  }

  void Refresh() override {
    {
      const QSignalBlocker quiet(type_);  // the settings may have changed the type
      type_->setCurrentIndex(static_cast<int>(analysis_.options().chart));
    }
    QChart* chart = NewChart();
    if (analysis_.calculated()) Draw(chart, TimeFunctionsChart(analysis_, PlotHeight()));
  }

 private:
  TimeFunctionsAnalysis& analysis_;
  QComboBox* type_;
};

class ComponentFunctionsChartPane : public AnalysisChart {
 public:
  ComponentFunctionsChartPane(ComponentFunctionsAnalysis& analysis, QWidget* parent)
      : AnalysisChart(analysis, parent), analysis_(analysis) {
    bars_ = AddChoice(msg::kChartType, {msg::kBarChart, msg::kFirstChartType + 4}, 0);
    connect(bars_, &QComboBox::currentIndexChanged, this, [this] { Refresh(); });
    Refresh();
  }

  void Refresh() override {
    QChart* chart = NewChart();
    if (!analysis_.calculated()) return;
    Draw(chart, ComponentFunctionsChart(analysis_, bars_->currentIndex() == 1, PlotHeight()));
  }

 private:
  ComponentFunctionsAnalysis& analysis_;
  QComboBox* bars_;
};

}  // namespace

AnalysisChart* MakeTimeFunctionsChart(TimeFunctionsAnalysis& analysis, QWidget* parent) {
  return new TimeFunctionsChartPane(analysis, parent);
}

AnalysisChart* MakeComponentFunctionsChart(ComponentFunctionsAnalysis& analysis, QWidget* parent) {
  return new ComponentFunctionsChartPane(analysis, parent);
}

}  // namespace jov
