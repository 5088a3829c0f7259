// The settings dialog of the component analysis: the view dimension and value field, how rows
// are listed, filtered and sorted, the eight columns with their display options, and the
// chart's column and pie values.
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>

#include "analysis/component_analysis.h"
#include "kind_settings.h"
#include "qt_text.h"

namespace jov {
namespace {

class ComponentSettingsDialog : public AnalysisSettingsDialog {
 public:
  ComponentSettingsDialog(ComponentAnalysis& analysis, QWidget* parent)
      : AnalysisSettingsDialog(analysis.database(), analysis.frame(), &analysis.selection(),
                               parent),
        analysis_(analysis) {
    const ComponentAnalysisOptions& o = analysis.options();
    QFormLayout* form = AddOptionsPage();
    QWidget* page = form->parentWidget();
    view_ = DimensionBox(page, database(), o.view_dimension);
    form->addRow(Text(msg::kViewDimension), view_);
    value_ = ValueFieldBox(page, database(), o.value_field);
    form->addRow(Text(msg::kValueField), value_);
    layout_ = ChoiceBox(page, {msg::kHierarchical, msg::kFlat}, o.flat ? 1 : 0);
    form->addRow(Text(msg::kComponentsHeading), layout_);
    filter_ = ChoiceBox(page, msg::kFirstRowFilter, 3, static_cast<int>(o.filter));
    form->addRow(Text(msg::kRowsShown), filter_);
    sort_ = ChoiceBox(page, msg::kFirstSortOrder, kSortOrders, static_cast<int>(o.sort));
    sort_column_ = ChoiceBox(page, msg::kFirstComponentColumn, kComponentColumns,
                             static_cast<int>(o.sort_column));
    form->addRow(Text(msg::kSorting), sort_);
    form->addRow(Text(msg::kSortColumn), sort_column_);
    indentation_ = ChoiceBox(page, msg::kFirstIndentation, 3, o.indentation);
    form->addRow(Text(msg::kIndentation), indentation_);
    chart_column_ = ChoiceBox(page, msg::kFirstComponentColumn, kComponentColumns,
                              static_cast<int>(o.chart_column));
    form->addRow(Text(msg::kChartColumn), chart_column_);
    pie_values_ = ChoiceBox(page, msg::kFirstPieValues, 3, o.pie_values);
    form->addRow(Text(msg::kPieValues), pie_values_);
    AddPage(ColumnsGrid(o), msg::kColumns);
    Name(view_, "view_dimension");
    Name(value_, "value_field");
    Name(layout_, "flat");
    Name(filter_, "filter");
    Name(sort_, "sort");
    Name(sort_column_, "sort_column");
  }

 private:
  // A row per column: shown, bold, red/green, sublevels and decimals.
  QWidget* ColumnsGrid(const ComponentAnalysisOptions& o) {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    const MessageId headings[] = {msg::kShow, msg::kBoldface, msg::kRedGreen, msg::kSublevels,
                                  msg::kDecimals};
    for (int i = 0; i < 5; ++i) grid->addWidget(new QLabel(Text(headings[i]), box), 0, i + 1);
    for (int c = 0; c < kComponentColumns; ++c) {
      const ColumnOptions& column = o.columns[c];
      ColumnWidgets& w = columns_[c];
      grid->addWidget(new QLabel(Text(msg::kFirstComponentColumn + c), box), c + 1, 0);
      const auto check = [&](bool value, int at) {
        auto* check = new QCheckBox(box);
        check->setChecked(value);
        check->setAccessibleName(Text(headings[at - 1]) + ' ' +
                                 Text(msg::kFirstComponentColumn + c));
        grid->addWidget(check, c + 1, at, Qt::AlignCenter);
        return check;
      };
      w.visible = check(column.visible, 1);
      w.bold = check(column.bold, 2);
      w.red_green = check(column.red_green, 3);
      w.sublevels = check(column.sublevels, 4);
      w.decimals = DecimalsBox(box, column.decimals);
      Name(w.visible, "visible", c);
      Name(w.decimals, "decimals", c);
      grid->addWidget(w.decimals, c + 1, 5);
    }
    return box;
  }

  void ApplyOptions() override {
    ComponentAnalysisOptions& o = analysis_.options();
    o.view_dimension = ChosenData(view_, o.view_dimension);
    o.value_field = ChosenData(value_, o.value_field);
    o.flat = layout_->currentIndex() == 1;
    o.filter = static_cast<RowFilter>(filter_->currentIndex());
    o.sort = static_cast<ComponentSort>(sort_->currentIndex());
    o.sort_column = static_cast<ComponentColumn>(sort_column_->currentIndex());
    o.indentation = indentation_->currentIndex();
    o.chart_column = static_cast<ComponentColumn>(chart_column_->currentIndex());
    o.pie_values = pie_values_->currentIndex();
    for (int c = 0; c < kComponentColumns; ++c) {
      ColumnOptions& column = o.columns[c];
      const ColumnWidgets& w = columns_[c];
      column.visible = w.visible->isChecked();
      column.bold = w.bold->isChecked();
      column.red_green = w.red_green->isChecked();
      column.sublevels = w.sublevels->isChecked();
      column.decimals = ChosenData(w.decimals, column.decimals);
    }
  }

  struct ColumnWidgets {
    QCheckBox* visible;
    QCheckBox* bold;
    QCheckBox* red_green;
    QCheckBox* sublevels;
    QComboBox* decimals;
  };

  ComponentAnalysis& analysis_;
  QComboBox* view_;
  QComboBox* value_;
  QComboBox* layout_;
  QComboBox* filter_;
  QComboBox* sort_;
  QComboBox* sort_column_;
  QComboBox* indentation_;
  QComboBox* chart_column_;
  QComboBox* pie_values_;
  ColumnWidgets columns_[kComponentColumns];
};

}  // namespace

std::unique_ptr<AnalysisSettingsDialog> NewSettingsDialog(ComponentAnalysis& analysis,
                                                          QWidget* parent) {
  return std::make_unique<ComponentSettingsDialog>(analysis, parent);
}

}  // namespace jov
