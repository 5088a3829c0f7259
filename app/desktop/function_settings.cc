// The settings dialogs of the analyses with variables and formulas. Time functions: the date
// range, the kind of periods (or a time scale), the row labels, the chart's value axis, and the
// columns. Component
// functions: the view dimension, how rows are listed, filtered and sorted, whether higher
// levels include their sublevels, and the columns.
#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "analysis/component_functions.h"
#include "analysis/time_functions.h"
#include "analysis/time_scale_list.h"
#include "function_columns_editor.h"
#include "kind_settings.h"
#include "qt_text.h"
#include "shell/number_text.h"
#include "shell/special_numbers.h"

namespace jov {
namespace {

// An end of the value axis as its field shows it: empty when the chart fits the values.
QString AxisText(double end) {
  return IsMissing(end) ? QString() : FromEngine(FormatNumber(end, kMaxDecimals));
}

double AxisValue(const QString& text) {
  return text.trimmed().isEmpty() ? kMissingNumber : ParseNumber(ToEngine(text));
}

class TimeFunctionsSettingsDialog : public AnalysisSettingsDialog {
 public:
  TimeFunctionsSettingsDialog(TimeFunctionsAnalysis& analysis, QWidget* parent)
      : AnalysisSettingsDialog(analysis.database(), analysis.frame(), nullptr, parent),
        analysis_(analysis) {
    const TimeFunctionsOptions& o = analysis.options();
    QFormLayout* form = AddOptionsPage();
    QWidget* page = form->parentWidget();
    from_ = new QLineEdit(FromEngine(CardIdText(o.start)), page);
    to_ = new QLineEdit(FromEngine(CardIdText(o.end)), page);
    form->addRow(Text(msg::kFrom), from_);
    form->addRow(Text(msg::kTo), to_);
    // The calendar and active kinds, then the database's time scales by name.
    periods_ = new QComboBox(page);
    for (int kind = 0; kind < PeriodKindNumber(PeriodKind::kTimeScale); ++kind) {
      periods_->addItem(Text(PeriodKindMessage(static_cast<PeriodKind>(kind))));
    }
    const TimeScaleList& scales = TimeScaleList::Of(database());
    for (size_t i = 0; i < scales.size(); ++i) {
      periods_->addItem(FromEngine(scales.at(i).name()));
      if (o.period_kind == PeriodKind::kTimeScale && scales.at(i).name() == o.time_scale) {
        periods_->setCurrentIndex(periods_->count() - 1);
      }
    }
    if (o.period_kind != PeriodKind::kTimeScale) {
      periods_->setCurrentIndex(PeriodKindNumber(o.period_kind));
    }
    form->addRow(Text(msg::kPeriodLabel), periods_);
    card_titles_ = new QCheckBox(Text(msg::kShowCardTitles), page);
    card_titles_->setChecked(o.show_card_titles);
    end_dates_ = new QCheckBox(Text(msg::kShowEndDatesOnly), page);
    end_dates_->setChecked(o.show_end_dates_only);
    form->addRow(QString(), card_titles_);
    form->addRow(QString(), end_dates_);
    // The value axis of the chart: an empty end fits the values.
    axis_maximum_ = new QLineEdit(AxisText(o.axis_maximum), page);
    axis_minimum_ = new QLineEdit(AxisText(o.axis_minimum), page);
    auto* axis = new QHBoxLayout;
    axis->addWidget(new QLabel(Text(msg::kAxisMaximum), page));
    axis->addWidget(axis_maximum_);
    axis->addWidget(new QLabel(Text(msg::kAxisMinimum), page));
    axis->addWidget(axis_minimum_);
    form->addRow(Text(msg::kValueAxis), axis);
    columns_ = new FunctionColumnsEditor(analysis.columns(),
                                         FunctionColumnsEditor::Analysis::kTimeFunctions, this);
    AddPage(columns_, msg::kColumns);
    Name(from_, "from");
    Name(to_, "to");
    Name(periods_, "periods");
    Name(axis_maximum_, "axis_maximum");
    Name(axis_minimum_, "axis_minimum");
  }

 private:
  void ApplyOptions() override {
    TimeFunctionsOptions& o = analysis_.options();
    // A date that does not read keeps the range's end as it was.
    const Date start = ReadCardId(ToEngine(from_->text()), DateBound::kStart);
    const Date end = ReadCardId(ToEngine(to_->text()), DateBound::kEnd);
    if (start.day != kNoDay) o.start = start;
    if (end.day != kNoDay) o.end = end;
    const int kinds = PeriodKindNumber(PeriodKind::kTimeScale);
    if (periods_->currentIndex() < kinds) {
      o.period_kind = static_cast<PeriodKind>(periods_->currentIndex());
    } else {
      o.period_kind = PeriodKind::kTimeScale;
      o.time_scale = ToEngine(periods_->currentText());
    }
    o.show_card_titles = card_titles_->isChecked();
    o.show_end_dates_only = end_dates_->isChecked();
    o.axis_maximum = AxisValue(axis_maximum_->text());
    o.axis_minimum = AxisValue(axis_minimum_->text());
    columns_->Apply();
  }

  TimeFunctionsAnalysis& analysis_;
  QLineEdit* from_;
  QLineEdit* to_;
  QComboBox* periods_;
  QCheckBox* card_titles_;
  QCheckBox* end_dates_;
  QLineEdit* axis_maximum_;
  QLineEdit* axis_minimum_;
  FunctionColumnsEditor* columns_;
};

class ComponentFunctionsSettingsDialog : public AnalysisSettingsDialog {
 public:
  ComponentFunctionsSettingsDialog(ComponentFunctionsAnalysis& analysis, QWidget* parent)
      : AnalysisSettingsDialog(analysis.database(), analysis.frame(), nullptr, parent),
        analysis_(analysis) {
    const ComponentFunctionsOptions& o = analysis.options();
    QFormLayout* form = AddOptionsPage();
    QWidget* page = form->parentWidget();
    view_ = DimensionBox(page, database(), o.view_dimension);
    form->addRow(Text(msg::kViewDimension), view_);
    layout_ = ChoiceBox(page, {msg::kHierarchical, msg::kFlat}, o.flat ? 1 : 0);
    form->addRow(Text(msg::kComponentsHeading), layout_);
    filter_ = ChoiceBox(page, msg::kFirstRowFilter, 3, static_cast<int>(o.filter));
    form->addRow(Text(msg::kRowsShown), filter_);
    sort_ = ChoiceBox(page, msg::kFirstSortOrder, kSortOrders, static_cast<int>(o.sort));
    form->addRow(Text(msg::kSorting), sort_);
    sort_column_ = new QComboBox(page);
    for (size_t i = 0; i < analysis.columns().size(); ++i) {
      sort_column_->addItem(FromEngine(analysis.columns()[i].name()));
    }
    sort_column_->setCurrentIndex(sort_column_->findText(FromEngine(o.sort_column)));
    form->addRow(Text(msg::kSortColumn), sort_column_);
    indentation_ = ChoiceBox(page, msg::kFirstIndentation, 3, o.indentation);
    form->addRow(Text(msg::kIndentation), indentation_);
    sublevels_ = new QCheckBox(Text(msg::kSublevels), page);
    sublevels_->setChecked(o.include_sublevels);
    form->addRow(QString(), sublevels_);
    columns_ = new FunctionColumnsEditor(
        analysis.columns(), FunctionColumnsEditor::Analysis::kComponentFunctions, this);
    AddPage(columns_, msg::kColumns);
    Name(view_, "view_dimension");
    Name(sort_, "sort");
  }

 private:
  void ApplyOptions() override {
    ComponentFunctionsOptions& o = analysis_.options();
    o.view_dimension = ChosenData(view_, o.view_dimension);
    o.flat = layout_->currentIndex() == 1;
    o.filter = static_cast<RowFilter>(filter_->currentIndex());
    o.sort = static_cast<ComponentSort>(sort_->currentIndex());
    if (sort_column_->currentIndex() >= 0) o.sort_column = ToEngine(sort_column_->currentText());
    o.indentation = indentation_->currentIndex();
    o.include_sublevels = sublevels_->isChecked();
    columns_->Apply();
  }

  ComponentFunctionsAnalysis& analysis_;
  QComboBox* view_;
  QComboBox* layout_;
  QComboBox* filter_;
  QComboBox* sort_;
  QComboBox* sort_column_;
  QComboBox* indentation_;
  QCheckBox* sublevels_;
  FunctionColumnsEditor* columns_;
};

}  // namespace

std::unique_ptr<AnalysisSettingsDialog> NewSettingsDialog(TimeFunctionsAnalysis& analysis,
                                                          QWidget* parent) {
  return std::make_unique<TimeFunctionsSettingsDialog>(analysis, parent);
}

std::unique_ptr<AnalysisSettingsDialog> NewSettingsDialog(ComponentFunctionsAnalysis& analysis,
                                                          QWidget* parent) {
  return std::make_unique<ComponentFunctionsSettingsDialog>(analysis, parent);
}

}  // namespace jov
