// The chart panes on the offscreen platform, over the demo company's stored analyses: what each
// pane draws against the engine's values, the chart types, and the picture, PDF and print.
#include "analysis_chart.h"

#include <QApplication>
#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QHorizontalStackedBarSeries>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPieSeries>
#include <QPieSlice>
#include <QStackedBarSeries>

#include "analysis/analysis_kinds.h"
#include "analysis/chart_series.h"
#include "analysis/component_analysis.h"
#include "analysis/component_functions.h"
#include "analysis/line_analysis.h"
#include "analysis/time_functions.h"
#include "desktop_test_util.h"
#include "qt_text.h"

namespace jov {
namespace {

class AnalysisChartTest : public DesktopTest {
 protected:
  // The panes go before the frame closes the database whose analyses they drew.
  void TearDown() override {
    host_.reset();
    DesktopTest::TearDown();
  }

  // The demo company's stored template `name`, opened and calculated.
  template <typename Analysis>
  std::unique_ptr<Analysis> Calculated(const char* name) {
    if (database_ == nullptr) database_ = frame_->OpenFile(Demo());
    const AnalysisTemplate* stored = AnalysisTemplates::Of(*database_).Find(name);
    if (stored == nullptr) return nullptr;
    std::unique_ptr<Table> table = OpenTemplate(*database_, *stored);
    auto* analysis = dynamic_cast<Analysis*>(table.get());
    if (analysis == nullptr || !analysis->Calculate()) return nullptr;
    table.release();
    return std::unique_ptr<Analysis>(analysis);
  }

  // The pane of `analysis`, shown at a size where the grid has room.
  AnalysisChart* Pane(Table& analysis) {
    host_ = std::make_unique<QWidget>();
    AnalysisChart* pane = MakeChartPane(analysis, host_.get());
    if (pane == nullptr) return nullptr;
    pane->resize(940, 660);
    host_->resize(940, 660);
    host_->show();
    Settle();
    pane->Refresh();
    return pane;
  }

  template <typename Series>
  static std::vector<Series*> SeriesOf(const AnalysisChart& pane) {
    std::vector<Series*> found;
    for (QAbstractSeries* series : pane.chart()->series()) {
      if (auto* typed = qobject_cast<Series*>(series)) found.push_back(typed);
    }
    return found;
  }

  static QCategoryAxis* ValueAxis(const AnalysisChart& pane, Qt::Orientation orientation) {
    for (QAbstractAxis* axis : pane.chart()->axes(orientation)) {
      if (auto* values = qobject_cast<QCategoryAxis*>(axis)) return values;
    }
    return nullptr;
  }

  // The axis spans the scale and has a labelled grid line at each of the engine's.
  static void ExpectScale(QCategoryAxis* axis, const ChartScale& scale) {
    ASSERT_NE(axis, nullptr);
    EXPECT_DOUBLE_EQ(axis->min(), scale.minimum);
    EXPECT_DOUBLE_EQ(axis->max(), scale.maximum);
    const std::vector<GridLine> lines = GridLines(scale);
    ASSERT_EQ(axis->count(), static_cast<int>(lines.size()));
    const QStringList labels = axis->categoriesLabels();
    for (size_t i = 0; i < lines.size(); ++i) {
      EXPECT_EQ(ToEngine(labels[static_cast<int>(i)]), lines[i].label);
      EXPECT_DOUBLE_EQ(axis->endValue(labels[static_cast<int>(i)]), lines[i].value);
    }
  }

  static void Choose(AnalysisChart& pane, int choice) {
    pane.findChild<QComboBox*>()->setCurrentIndex(choice);
    Settle();
  }

  Database* database_ = nullptr;
  std::unique_ptr<QWidget> host_;
};

TEST_F(AnalysisChartTest, TimeFunctionsChartDrawsEveryTypeFromTheEnginesRows) {
  auto analysis = Calculated<TimeFunctionsAnalysis>("Monthly sales and margin");
  ASSERT_NE(analysis, nullptr);
  AnalysisChart* pane = Pane(*analysis);
  ASSERT_NE(pane, nullptr);
  const ChartData data = TimeFunctionsChart(*analysis, 100);
  ASSERT_FALSE(data.series.empty());
  const size_t periods = analysis->row_count() - 1;  // the row before the range heads the table
  ASSERT_EQ(data.categories.size(), periods);

  // "T": variables as lines, formulas as their graph style; the periods are the categories.
  Choose(*pane, static_cast<int>(ChartType::kTime));
  const auto* x = qobject_cast<QBarCategoryAxis*>(pane->chart()->axes(Qt::Horizontal).value(0));
  ASSERT_NE(x, nullptr);
  ASSERT_EQ(x->count(), static_cast<int>(periods));
  for (size_t row = 1; row <= periods; ++row) {
    EXPECT_EQ(ToEngine(x->at(static_cast<int>(row - 1))), analysis->RowLabel(row));
  }
  size_t lines = 0, bars = 0;
  for (const ChartSeries& series : data.series) {
    (series.style == GraphStyle::kLine ? lines : bars) += 1;
  }
  const std::vector<QLineSeries*> drawn_lines = SeriesOf<QLineSeries>(*pane);
  ASSERT_EQ(drawn_lines.size(), lines);
  size_t line = 0;
  for (size_t i = 0; i < data.series.size(); ++i) {
    if (data.series[i].style != GraphStyle::kLine) continue;
    const QLineSeries* drawn = drawn_lines[line++];
    EXPECT_EQ(ToEngine(drawn->name()), analysis->columns()[i].ShownTitle());
    EXPECT_EQ(drawn->pen().color().rgb() & 0xFFFFFF, data.series[i].rgb);
    ASSERT_EQ(drawn->count(), static_cast<int>(periods));
    for (int p = 0; p < drawn->count(); ++p) {
      EXPECT_DOUBLE_EQ(drawn->at(p).y(), data.series[i].values[static_cast<size_t>(p)]);
      EXPECT_DOUBLE_EQ(drawn->at(p).y(), analysis->CellValue(static_cast<size_t>(p) + 1, i));
    }
  }
  const std::vector<QBarSeries*> drawn_bars = SeriesOf<QBarSeries>(*pane);
  EXPECT_EQ(drawn_bars.empty() ? 0u : static_cast<size_t>(drawn_bars[0]->count()), bars);
  // The value axis is the engine's scale for the plot's height.
  ExpectScale(ValueAxis(*pane, Qt::Vertical),
              TimeFunctionsChart(*analysis, pane->view()->height() - 90).scale);
  Screenshot(pane, "time_functions_chart.png");

  // The other types; choosing one sets the analysis's stored type.
  Choose(*pane, static_cast<int>(ChartType::kLines));
  EXPECT_EQ(analysis->options().chart, ChartType::kLines);
  EXPECT_EQ(SeriesOf<QLineSeries>(*pane).size(), data.series.size());
  EXPECT_TRUE(SeriesOf<QBarSeries>(*pane).empty());
  Choose(*pane, static_cast<int>(ChartType::kBars));
  ASSERT_EQ(SeriesOf<QBarSeries>(*pane).size(), 1u);
  EXPECT_EQ(SeriesOf<QBarSeries>(*pane)[0]->count(), static_cast<int>(data.series.size()));
  // Overlapping: a rectangle per period for each column, from 0 to its value, each column's
  // narrower than the one before it.
  Choose(*pane, static_cast<int>(ChartType::kOverlapping));
  const std::vector<QAreaSeries*> areas = SeriesOf<QAreaSeries>(*pane);
  ASSERT_EQ(areas.size(), data.series.size());
  double width = 1;
  for (size_t i = 0; i < areas.size(); ++i) {
    const QLineSeries* outline = areas[i]->upperSeries();
    ASSERT_EQ(outline->count(), static_cast<int>(4 * periods));
    const double drawn = outline->at(2).x() - outline->at(1).x();
    EXPECT_LT(drawn, width);
    width = drawn;
    for (size_t p = 0; p < periods; ++p) {
      const double value = data.series[i].values[p];
      EXPECT_DOUBLE_EQ(outline->at(static_cast<int>(4 * p + 1)).y(),
                       std::isfinite(value) ? value : 0);
    }
  }
  Screenshot(pane, "time_functions_overlapping.png");
  Choose(*pane, static_cast<int>(ChartType::kStacked));
  ASSERT_EQ(SeriesOf<QStackedBarSeries>(*pane).size(), 1u);
  QBarSet* first = SeriesOf<QStackedBarSeries>(*pane)[0]->barSets().value(0);
  ASSERT_NE(first, nullptr);
  for (int p = 0; p < first->count(); ++p) {
    const double value = data.series[0].values[static_cast<size_t>(p)];
    EXPECT_DOUBLE_EQ(first->at(p), std::isfinite(value) ? value : 0);
  }
  EXPECT_EQ(analysis->ToTemplate("x").frame.kind, AnalysisKind::kTimeFunctions);
  // A settings change drawn at the next refresh shows in the pane's choice too.
  analysis->options().chart = ChartType::kTime;
  pane->Refresh();
  EXPECT_EQ(pane->findChild<QComboBox*>()->currentIndex(), static_cast<int>(ChartType::kTime));
}

TEST_F(AnalysisChartTest, ComponentFunctionsChartUsesTheAnalysisScale) {
  auto analysis = Calculated<ComponentFunctionsAnalysis>("Margins by cost centre 2024");
  ASSERT_NE(analysis, nullptr);
  AnalysisChart* pane = Pane(*analysis);
  ASSERT_NE(pane, nullptr);
  const int height = pane->view()->height() - 90;
  const ChartData data = ComponentFunctionsChart(*analysis, false, height);
  ASSERT_FALSE(data.series.empty());
  const auto* x = qobject_cast<QBarCategoryAxis*>(pane->chart()->axes(Qt::Horizontal).value(0));
  ASSERT_NE(x, nullptr);
  EXPECT_EQ(x->count(), static_cast<int>(analysis->displayed().size()));
  const std::vector<QBarSeries*> bars = SeriesOf<QBarSeries>(*pane);
  ASSERT_EQ(bars.size(), 1u);
  int set = 0;
  for (size_t i = 0; i < data.series.size(); ++i) {
    if (data.series[i].style != GraphStyle::kBars) continue;
    QBarSet* drawn = bars[0]->barSets().value(set++);
    ASSERT_NE(drawn, nullptr);
    EXPECT_EQ(drawn->color().rgb() & 0xFFFFFF, data.series[i].rgb);
    ASSERT_EQ(drawn->count(), x->count());
    for (int r = 0; r < drawn->count(); ++r) {
      const double value = data.series[i].values[static_cast<size_t>(r)];
      EXPECT_DOUBLE_EQ(drawn->at(r), std::isfinite(value) ? value : 0);
    }
  }
  // The analysis's own scale, its ends on grid lines.
  const ChartScale scale = analysis->Scale(height, false);
  ExpectScale(ValueAxis(*pane, Qt::Vertical), data.scale);
  EXPECT_EQ(data.scale.step, scale.step);
  EXPECT_EQ(data.scale.decimals, scale.decimals);
  EXPECT_LE(data.scale.minimum, scale.minimum);
  EXPECT_GE(data.scale.maximum, scale.maximum);
  Screenshot(pane, "component_functions_chart.png");
  Choose(*pane, 1);
  EXPECT_EQ(SeriesOf<QStackedBarSeries>(*pane).size(), 1u);
  ExpectScale(ValueAxis(*pane, Qt::Vertical),
              ComponentFunctionsChart(*analysis, true, height).scale);
  EXPECT_EQ(ComponentFunctionsChart(*analysis, true, height).scale.step,
            analysis->Scale(height, true).step);
}

TEST_F(AnalysisChartTest, ComponentPieAndBarsShowTheSharesInTheChartColours) {
  auto analysis = Calculated<ComponentAnalysis>("Sales by customer 2024");
  ASSERT_NE(analysis, nullptr);
  analysis->options().pie_values = 2;
  AnalysisChart* pane = Pane(*analysis);
  ASSERT_NE(pane, nullptr);
  const std::vector<ChartSlice> slices = ComponentChartSlices(*analysis);
  ASSERT_GE(slices.size(), 3u);
  const std::vector<QPieSeries*> pies = SeriesOf<QPieSeries>(*pane);
  ASSERT_EQ(pies.size(), 1u);
  ASSERT_EQ(pies[0]->count(), static_cast<int>(slices.size()));
  const QList<QLegendMarker*> markers = pane->chart()->legend()->markers(pies[0]);
  const std::vector<int> colours = SliceColours(slices.size());
  double total = 0;
  for (const ChartSlice& slice : slices) total += slice.value;
  for (size_t i = 0; i < slices.size(); ++i) {
    QPieSlice* drawn = pies[0]->slices()[static_cast<int>(i)];
    EXPECT_DOUBLE_EQ(drawn->value(), std::fabs(analysis->ChartValue(slices[i].row)));
    EXPECT_EQ(drawn->color().rgb() & 0xFFFFFF, ChartColourRgb(colours[i]));
    EXPECT_EQ(ToEngine(drawn->label()),
              PieShareText(slices[i].value / total, 2, PieTextPlace::kSlice));
    EXPECT_TRUE(markers[static_cast<int>(i)]->label().startsWith(FromEngine(slices[i].label)));
  }
  Screenshot(pane, "component_pie_chart.png");

  Choose(*pane, 1);
  const std::vector<QHorizontalStackedBarSeries*> bars =
      SeriesOf<QHorizontalStackedBarSeries>(*pane);
  ASSERT_EQ(bars.size(), 1u);
  ASSERT_EQ(bars[0]->count(), static_cast<int>(slices.size()));
  for (size_t i = 0; i < slices.size(); ++i) {
    QBarSet* set = bars[0]->barSets()[static_cast<int>(i)];
    EXPECT_DOUBLE_EQ(set->at(static_cast<int>(slices.size() - 1 - i)), slices[i].value)
        << "the first row's bar at the top";
    EXPECT_EQ(set->color().rgb() & 0xFFFFFF, slices[i].rgb);
  }
  QCategoryAxis* values = ValueAxis(*pane, Qt::Horizontal);
  ASSERT_NE(values, nullptr);
  EXPECT_LE(values->min(), 0);
  EXPECT_GE(values->max(), 0);
  for (const ChartSlice& slice : slices) {
    EXPECT_LE(values->min(), slice.value);
    EXPECT_GE(values->max(), slice.value);
  }
  Screenshot(pane, "component_bar_chart.png");
  // Show Scale is the analysis's setting.
  auto* scale = pane->findChild<QCheckBox*>();
  ASSERT_NE(scale, nullptr);
  scale->setChecked(false);
  EXPECT_FALSE(analysis->options().option_zc);
  EXPECT_FALSE(ValueAxis(*pane, Qt::Horizontal)->labelsVisible());
}

TEST_F(AnalysisChartTest, ChartsAreWrittenAsPicturesAndPdfAndOnlyForChartedKinds) {
  auto analysis = Calculated<ComponentAnalysis>("Sales by customer 2024");
  ASSERT_NE(analysis, nullptr);
  AnalysisChart* pane = Pane(*analysis);
  ASSERT_NE(pane, nullptr);
  const QString png = QString::fromStdString(Path("chart.png"));
  const QSize shown = pane->view()->size();
  ASSERT_TRUE(pane->ExportPng(png));
  EXPECT_EQ(QImage(png).size(), pane->view()->size());
  // The chart size of the export settings, when set, is the picture's.
  analysis->export_settings().chart_width = 640;
  analysis->export_settings().chart_height = 400;
  ASSERT_TRUE(pane->ExportPng(png));
  EXPECT_EQ(QImage(png).size(), QSize(640, 400));
  EXPECT_EQ(pane->view()->size(), shown) << "the pane keeps its own size";
  pane->Copy();
  EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(640, 400));
  const QString pdf = QString::fromStdString(Path("chart.pdf"));
  ASSERT_TRUE(pane->ExportPdf(pdf));
  QFile written(pdf);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  EXPECT_TRUE(written.read(5).startsWith("%PDF"));
  EXPECT_TRUE(sink_.alerts.empty());
  EXPECT_FALSE(pane->ExportPng(QString::fromStdString(Path("missing/chart.png"))));
  EXPECT_FALSE(pane->ExportPdf(QString::fromStdString(Path("missing/chart.pdf"))));
  EXPECT_EQ(sink_.Messages(), (std::vector<MessageId>{msg::kErrorWriting, msg::kErrorWriting}));

  LineAnalysis lines(*database_);
  EXPECT_EQ(MakeChartPane(lines, nullptr), nullptr);
}

}  // namespace
}  // namespace jov
