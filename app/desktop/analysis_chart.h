// The chart panes of the analysis windows, drawn with Qt Charts from what the engine works out
// for them (analysis/chart_series.h): the time functions chart in its five types, the component
// functions chart on the scale its analysis computes, and the component analysis's pie and bars.
// A pane shows the chart above a row of controls: the chart's type where the analysis keeps
// one, Export as PNG and PDF, and Print. It draws the analysis's present result and never
// calculates; the window that owns it calls Refresh after each calculation.
#pragma once

#include <QColor>
#include <QWidget>
#include <cstdint>
#include <initializer_list>

#include "shell/message_ids.h"

class QCategoryAxis;
class QChart;
class QCheckBox;
class QChartView;
class QComboBox;
class QHBoxLayout;
class QPrinter;

namespace jov {

class ComponentAnalysis;
class ComponentFunctionsAnalysis;
class Table;
class TimeFunctionsAnalysis;
struct ChartScale;

class AnalysisChart : public QWidget {
  Q_OBJECT
 public:
  // Draws the chart anew from the analysis's present result.
  virtual void Refresh() = 0;

  QChart* chart() const;
  QChartView* view() const { return view_; }
  // The chart as a picture: of the chart size in the window's export settings when one is
  // set, else of the size the pane shows it at.
  QImage Picture();
  // Puts the picture on the clipboard.
  void Copy();
  // False, reported, when the file could not be written.
  bool ExportPng(const QString& path);
  bool ExportPdf(const QString& path);
  // The window's title above the chart, which fills the page's width.
  void Print(QPrinter& printer);

 protected:
  AnalysisChart(Table& analysis, QWidget* parent);
  // Adds a labelled choice of `items` to the controls, before the export buttons.
  QComboBox* AddChoice(MessageId label, std::initializer_list<MessageId> items, int current);
  // Adds a check box to the controls, before the export buttons.
  QCheckBox* AddCheck(MessageId label, bool checked);
  // Replaces the chart by an empty one to be filled, and returns it.
  QChart* NewChart();
  // The height in pixels the plot will have, for the grid step.
  int PlotHeight() const;
  // The width in pixels the plot of horizontal bars will have.
  int PlotWidth() const;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void InsertControl(QWidget* control);
  void ExportDialog(bool pdf);
  void PrintDialog();

  Table& table_;
  QChartView* view_;
  QHBoxLayout* controls_;
  int drawn_steps_ = 0;  // the grid steps the height allowed when last drawn
};

// For the panes: an engine colour (0xRRGGBB), and a value axis of the scale whose grid lines
// carry the engine's labels (with the number separators in effect).
inline QColor ColorOf(uint32_t rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb)); }
QCategoryAxis* ScaleAxis(const ChartScale& scale);

// One pane per analysis kind; the pane draws at once when the analysis is calculated.
AnalysisChart* MakeTimeFunctionsChart(TimeFunctionsAnalysis& analysis, QWidget* parent);
AnalysisChart* MakeComponentFunctionsChart(ComponentFunctionsAnalysis& analysis, QWidget* parent);
AnalysisChart* MakeComponentChart(ComponentAnalysis& analysis, QWidget* parent);
// The pane of an analysis of any kind; nullptr for the kinds that have no chart (line and card
// analyses).
AnalysisChart* MakeChartPane(Table& analysis, QWidget* parent);

}  // namespace jov
