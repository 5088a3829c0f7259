#include "analysis_chart.h"

#include <QApplication>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QResizeEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "analysis/chart_series.h"
#include "analysis/component_analysis.h"
#include "analysis/component_functions.h"
#include "analysis/time_functions.h"
#include "qt_text.h"

namespace jov {
namespace {

// What the chart's frame, title, axis labels and legend take from the pane's height.
constexpr int kChartFrameHeight = 90;
// What the frame and the row labels of horizontal bars take from the pane's width.
constexpr int kChartFrameWidth = 200;
// Grid lines stand at least this many pixels apart (as the engine's scale has them).
constexpr int kPixelsPerStep = 32;

// Reports a file that could not be written; `written` passes through.
bool Written(bool written, const QString& path) {
  if (!written) {
    AlertRecord alert(msg::kErrorWriting);
    alert.Arg(ToEngine(path));
    ReportAlert(alert);
  }
  return written;
}

}  // namespace

AnalysisChart::AnalysisChart(Table& analysis, QWidget* parent)
    : QWidget(parent), table_(analysis), view_(new QChartView(this)), controls_(new QHBoxLayout) {
  view_->setRenderHint(QPainter::Antialiasing);
  view_->setMinimumSize(240, 180);
  // What is done with the chart, in one menu so that the chart's own choices keep their room.
  auto* actions = new QToolButton(this);
  actions->setText(Text(msg::kChart));
  actions->setPopupMode(QToolButton::InstantPopup);
  auto* menu = new QMenu(actions);
  menu->addAction(Text(msg::kMenuCopyChart), this, &AnalysisChart::Copy);
  menu->addAction(Text(msg::kExportChartPng), this, [this] { ExportDialog(false); });
  menu->addAction(Text(msg::kExportChartPdf), this, [this] { ExportDialog(true); });
  menu->addAction(Text(msg::kPrintChart), this, &AnalysisChart::PrintDialog);
  actions->setMenu(menu);
  controls_->addStretch();
  controls_->addWidget(actions);
  controls_->setContentsMargins(4, 0, 4, 4);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_, 1);
  layout->addLayout(controls_);
}

QChart* AnalysisChart::chart() const { return view_->chart(); }

QComboBox* AnalysisChart::AddChoice(MessageId label, std::initializer_list<MessageId> items,
                                    int current) {
  auto* box = new QComboBox(this);
  for (const MessageId item : items) box->addItem(Text(item));
  box->setCurrentIndex(current);
  auto* caption = new QLabel(Text(label), this);
  caption->setBuddy(box);
  InsertControl(caption);
  InsertControl(box);
  return box;
}

QCheckBox* AnalysisChart::AddCheck(MessageId label, bool checked) {
  auto* box = new QCheckBox(Text(label), this);
  box->setChecked(checked);
  InsertControl(box);
  return box;
}

void AnalysisChart::InsertControl(QWidget* control) {
  // Before the stretch and the menu button.
  controls_->insertWidget(controls_->count() - 2, control);
}

QChart* AnalysisChart::NewChart() {
  auto* chart = new QChart;
  chart->setTitle(FromEngine(table_.Title()));
  chart->setAnimationOptions(QChart::NoAnimation);
  chart->legend()->setAlignment(Qt::AlignBottom);
  QChart* old = view_->chart();
  view_->setChart(chart);  // the view takes the new chart; the old one is ours to delete
  delete old;
  drawn_steps_ = PlotHeight() / kPixelsPerStep;
  return chart;
}

int AnalysisChart::PlotHeight() const {
  return std::max(view_->height() - kChartFrameHeight, kPixelsPerStep);
}

int AnalysisChart::PlotWidth() const {
  return std::max(view_->width() - kChartFrameWidth, kPixelsPerStep);
}

void AnalysisChart::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The grid step follows the height: draw again when it allows another number of steps.
  if (PlotHeight() / kPixelsPerStep != drawn_steps_) Refresh();
}

QImage AnalysisChart::Picture() {
  const ExportSettings& settings = table_.export_settings();
  const QSize shown = view_->size();
  const bool sized = settings.chart_width > 0 && settings.chart_height > 0;
  if (sized) view_->resize(settings.chart_width, settings.chart_height);
  const QImage picture = view_->grab().toImage();
  if (sized) view_->resize(shown);
  return picture;
}

void AnalysisChart::Copy() { QApplication::clipboard()->setImage(Picture()); }

bool AnalysisChart::ExportPng(const QString& path) {
  return Written(Picture().save(path, "PNG"), path);
}

bool AnalysisChart::ExportPdf(const QString& path) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  printer.setPageOrientation(QPageLayout::Landscape);
  Print(printer);
  return Written(QFileInfo(path).size() > 0, path);
}

void AnalysisChart::Print(QPrinter& printer) {
  const QImage picture = Picture();
  QPainter painter;
  if (picture.isNull() || !painter.begin(&printer)) return;
  const QRect page = painter.viewport();
  QFont font = painter.font();
  font.setBold(true);
  painter.setFont(font);
  const int title_height = painter.fontMetrics().height() * 2;
  painter.drawText(QRect(page.left(), page.top(), page.width(), title_height),
                   Qt::AlignLeft | Qt::AlignVCenter, FromEngine(table_.Title()));
  QSize size = picture.size();
  size.scale(page.width(), page.height() - title_height, Qt::KeepAspectRatio);
  painter.drawImage(QRect(QPoint(page.left(), page.top() + title_height), size), picture);
  painter.end();
}

void AnalysisChart::ExportDialog(bool pdf) {
  const QString title = FromEngine(table_.Title());
  const QString path =
      pdf ? QFileDialog::getSaveFileName(this, Text(msg::kExportChartPdf).remove('&'),
                                         title + QStringLiteral(".pdf"),
                                         QStringLiteral("PDF (*.pdf)"))
          : QFileDialog::getSaveFileName(this, Text(msg::kExportChartPng).remove('&'),
                                         title + QStringLiteral(".png"),
                                         Text(msg::kPngImages) + QStringLiteral(" (*.png)"));
  if (path.isEmpty()) return;
  if (pdf) {
    ExportPdf(path);
  } else {
    ExportPng(path);
  }
}

void AnalysisChart::PrintDialog() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageOrientation(QPageLayout::Landscape);
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() == QDialog::Accepted) Print(printer);
}

QCategoryAxis* ScaleAxis(const ChartScale& scale) {
  auto* axis = new QCategoryAxis;
  axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  axis->setStartValue(scale.minimum);
  for (const GridLine& line : GridLines(scale)) axis->append(FromEngine(line.label), line.value);
  axis->setRange(scale.minimum, scale.maximum);
  return axis;
}

AnalysisChart* MakeChartPane(Table& analysis, QWidget* parent) {
  if (auto* time = dynamic_cast<TimeFunctionsAnalysis*>(&analysis)) {
    return MakeTimeFunctionsChart(*time, parent);
  }
  if (auto* functions = dynamic_cast<ComponentFunctionsAnalysis*>(&analysis)) {
    return MakeComponentFunctionsChart(*functions, parent);
  }
  if (auto* components = dynamic_cast<ComponentAnalysis*>(&analysis)) {
    return MakeComponentChart(*components, parent);
  }
  return nullptr;
}

}  // namespace jov
