// The component analysis's chart: a pie of the displayed rows' chart values, each slice with its
// share as the pie values option asks, or bars, one per row, with the chart scale. Slices and
// bars take the chart colours in display order (analysis/chart_series.h).
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetricsF>
#include <QHorizontalStackedBarSeries>
#include <QLegendMarker>
#include <QPieSeries>
#include <QPieSlice>
#include <QSignalBlocker>
#include <algorithm>
#include <cmath>

#include "analysis/chart_series.h"
#include "analysis/component_analysis.h"
#include "analysis_chart.h"
#include "qt_text.h"

namespace jov {
namespace {

// Row names get no smaller than this.
constexpr double kSmallestPoints = 6;

// The font shrunk until `count` lines of it fit into `height` pixels, down to a smallest size.
QFont FittedFont(QFont font, int height, size_t count) {
  const double room = static_cast<double>(height) / static_cast<double>(std::max<size_t>(count, 1));
  while (font.pointSizeF() > kSmallestPoints && QFontMetricsF(font).height() > room) {
    font.setPointSizeF(font.pointSizeF() - 0.5);
  }
  return font;
}

// A pie has no room for a negative slice: a slice is as large as its value's magnitude and
// its text says the signed share.
void DrawPie(QChart* chart, const std::vector<ChartSlice>& slices) {
  auto* pie = new QPieSeries;
  pie->setPieSize(0.7);
  for (const ChartSlice& slice : slices) {
    auto* drawn = new QPieSlice(FromEngine(slice.slice_text), std::fabs(slice.value));
    drawn->setColor(ColorOf(slice.rgb));
    drawn->setBorderColor(Qt::white);
    drawn->setLabelVisible(!slice.slice_text.empty());
    drawn->setLabelPosition(QPieSlice::LabelOutside);
    pie->append(drawn);
  }
  chart->addSeries(pie);
  const QList<QLegendMarker*> markers = chart->legend()->markers(pie);
  for (int i = 0; i < markers.size(); ++i) {
    const ChartSlice& slice = slices[static_cast<size_t>(i)];
    QString text = FromEngine(slice.label);
    if (!slice.legend_text.empty()) text += QStringLiteral("  ") + FromEngine(slice.legend_text);
    markers[i]->setLabel(text);
  }
  chart->legend()->setAlignment(Qt::AlignRight);
}

// One bar per row, the first at the top; each row a set of its own, so that it keeps its colour.
// Categories run upwards, so the rows are placed from the last to the first.
void DrawBars(QChart* chart, const std::vector<ChartSlice>& slices, const BarAxis& scale,
              bool show_scale, int plot_height) {
  auto* series = new QHorizontalStackedBarSeries;
  series->setBarWidth(0.75);
  auto* rows = new QBarCategoryAxis;
  const size_t count = slices.size();
  for (size_t i = count; i-- > 0;) rows->append(FromEngine(slices[i].label));
  for (size_t i = 0; i < count; ++i) {
    auto* set = new QBarSet(FromEngine(slices[i].label));
    set->setColor(ColorOf(slices[i].rgb));
    set->setBorderColor(ColorOf(slices[i].rgb).darker(130));
    for (size_t at = 0; at < count; ++at) {
      set->append(at == count - 1 - i ? slices[i].value / scale.divisor : 0.0);
    }
    series->append(set);
  }
  QCategoryAxis* values = ScaleAxis(scale.scale);
  values->setLabelsVisible(show_scale);
  chart->addSeries(series);
  chart->addAxis(rows, Qt::AlignLeft);
  chart->addAxis(values, Qt::AlignBottom);
  series->attachAxis(rows);
  series->attachAxis(values);
  rows->setTruncateLabels(false);
  // Row names too high for their bars would be cut to nothing.
  rows->setLabelsFont(FittedFont(rows->labelsFont(), plot_height, slices.size()));
  chart->legend()->setVisible(false);
}

class ComponentChartPane : public AnalysisChart {
 public:
  ComponentChartPane(ComponentAnalysis& analysis, QWidget* parent)
      : AnalysisChart(analysis, parent), analysis_(analysis) {
    kind_ = AddChoice(msg::kChartType, {msg::kPieChart, msg::kBarChart}, 0);
    // Show Scale is one of the analysis's chart settings, stored with its template.
    scale_ = AddCheck(msg::kShowScale, analysis.options().option_zc);
    connect(kind_, &QComboBox::currentIndexChanged, this, [this] { Refresh(); });
    connect(scale_, &QCheckBox::toggled, this, [this](bool shown) {
      analysis_.options().option_zc = shown;
      Refresh();
    });
    Refresh();
  }

  void Refresh() override {
    {
      const QSignalBlocker quiet(scale_);
      scale_->setChecked(analysis_.options().option_zc);
      scale_->setEnabled(kind_->currentIndex() == 1);
    }
    QChart* chart = NewChart();
    const std::vector<ChartSlice> slices = ComponentChartSlices(analysis_);
    if (slices.empty()) return;
    if (kind_->currentIndex() == 0) {
      DrawPie(chart, slices);
    } else {
      // Labels across a horizontal axis need about three times the room of a vertical one's.
      DrawBars(chart, slices, ComponentBarAxis(analysis_, slices, PlotWidth() / 3),
               analysis_.options().option_zc, PlotHeight());
    }
  }

 private:
  ComponentAnalysis& analysis_;
  QComboBox* kind_;
  QCheckBox* scale_;
};

}  // namespace

AnalysisChart* MakeComponentChart(ComponentAnalysis& analysis, QWidget* parent) {
  return new ComponentChartPane(analysis, parent);
}

}  // namespace jov
