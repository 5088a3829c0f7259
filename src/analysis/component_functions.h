// The component functions analysis: variables and formulas per component. Its rows are the
// components of a view dimension, as a hierarchy or a flat list (component_rows.h, as the
// component analysis builds, filters, sorts and expands them); its columns are variables and
// formulas (function_columns.h). Every cell has two values: the own value, over the lines of
// the row's component, and the subtree value, over the lines of the component and all below it.
// An expanded row shows its own values, a collapsed row (and every row with the option to
// include sublevels) its subtree's.
//
// Calculating: the columns are readied (formulas compiled and checked for self-reference,
// selections prepared); the rows are those components of the view dimension that some
// variable's selection admits (all of them without variables). Each variable reads the lines of
// its selection between its own dates (moved back by its time shift; "From Start" and "By
// Component" read the same window, since a component row has no period of its own) and
// measures them per row (row_measures.h). The formulas are then evaluated per row twice, over
// the row's own variable values and over its subtree's; a formula whose higher level values
// are the "Sum of lower levels" gets, as its subtree value, the sum of its defined own values
// over the subtree instead. A formula that names a formula later in the list sees the missing
// number, never another row's value. "T" has no meaning per component and is missing too.
//
// The analysis listens to its database: a change to components, cards, lines or value fields
// drops the result until the next calculation.
#pragma once

#include <span>
#include <string>
#include <utility>
#include <vector>

#include "analysis/chart_scale.h"
#include "analysis/component_functions_options.h"
#include "analysis/component_functions_template.h"
#include "analysis/component_labels.h"
#include "analysis/component_rows.h"
#include "analysis/function_columns.h"
#include "analysis/table.h"
#include "files/analysis_template.h"
#include "model/change_code.h"

namespace jov {

class ComponentFunctionsAnalysis : public Table, public DatabaseListener {
 public:
  // An analysis with the kind's defaults (the database's stored ones, else no columns).
  explicit ComponentFunctionsAnalysis(Database& database);
  ~ComponentFunctionsAnalysis() override;
  ComponentFunctionsAnalysis(const ComponentFunctionsAnalysis&) = delete;
  ComponentFunctionsAnalysis& operator=(const ComponentFunctionsAnalysis&) = delete;

  // Takes the settings of a stored template: its frame, options and columns.
  void Apply(const TemplateFrame& frame, const ComponentFunctionsTemplateBody& body);
  // The analysis as a template named `name`, with the expansion of its rows when calculated.
  AnalysisTemplate ToTemplate(const std::string& name) const;
  TemplateFrame& frame() { return frame_; }
  const TemplateFrame& frame() const { return frame_; }

  Database& database() const { return database_; }
  // Changes take effect at the next calculation.
  ComponentFunctionsOptions& options() { return options_; }
  const ComponentFunctionsOptions& options() const { return options_; }
  FunctionColumns& columns() { return columns_; }
  const FunctionColumns& columns() const { return columns_; }
  void set_title(std::string title) { frame_.name = std::move(title); }

  // --- Calculation
  // Builds the rows and both values of every cell, then filters, sorts and expands the rows.
  // False, with the table empty, when a variable's selection cannot be prepared, a formula
  // refers to itself (reported), or the user stopped the calculation.
  bool Calculate() override;
  bool calculated() const { return calculated_; }
  // The column a failed calculation stopped at, for the window to select; -1 for none.
  int failed_column() const { return failed_column_; }
  // The view dimension of the rows (an option naming no dimension leaves the previous one).
  int view_dimension() const { return view_dimension_; }
  const ComponentRows& rows() const { return rows_; }
  // The columns the last calculation valued: cells exist for the columns below this index.
  size_t calculated_columns() const { return stride_; }

  // --- Rows as shown
  // Indices into rows() of the rows the table shows, in order.
  const std::vector<int>& displayed() const { return displayed_; }
  void SetExpanded(int row, bool expanded);
  // Expands the rows above `level` (the root is level 0) and collapses the others.
  void ExpandToLevel(int level);
  // A column's value over the row's own lines, and over its subtree's.
  double OwnValue(int row, size_t column) const { return own_[Cell(row, column)]; }
  double SubtreeValue(int row, size_t column) const { return subtree_[Cell(row, column)]; }
  // The value the row shows: its subtree's when it is collapsed or sublevels are included,
  // else its own.
  double CellValue(int row, size_t column) const;
  std::string CellText(int row, size_t column) const;

  // --- Chart
  // The smallest and largest value the displayed rows show in the columns the chart draws (for a
  // stacked chart, of each row's positive and of its negative values added up); nothing to
  // draw gives 0 and 0.
  std::pair<double, double> ValueRange(bool stacked) const;
  // The value axis for a chart `height` pixels high.
  ChartScale Scale(int height, bool stacked) const;

  // --- Table
  std::string Title() const override;
  std::string Notes() const override { return frame_.notes; }
  // The variables' selections and measures as columns, then the formulas.
  void WriteDefinition(LineSink& out, DefinitionForm form) const override;
  int ColumnCount() const override { return static_cast<int>(labels_.size() + shown_.size()); }
  const TableColumn& Column(int index) const override;
  // The variable or formula a table column shows; nullptr for the component's labels.
  const FunctionColumn* ShownColumnAt(int index) const;
  int RowCount() const override { return static_cast<int>(displayed_.size()); }
  int FirstDataRow() const override { return displayed_.empty() ? 0 : 1; }
  void FillRow(int row, std::vector<TableCell>& cells) const override;
  ExportSettings& export_settings() override { return frame_.export_settings; }
  const ExportSettings& export_settings() const override { return frame_.export_settings; }
  void PrepareExport() override { LayOutColumns(); }
  bool SetColumnWidth(int column, int pixels) override;

  // --- DatabaseListener
  void OnDatabaseChange(Database& database, ChangeCode code, int argument, int argument2) override;
  size_t MemoryBytes() const override;

 private:
  size_t Cell(int row, size_t column) const { return static_cast<size_t>(row) * stride_ + column; }
  void Invalidate();
  bool MeasureVariables(std::vector<char>& in_use);
  void EvaluateFormulas();
  void SumLowerLevels(size_t column);
  bool KeepsRow(int row, const std::vector<char>& in_use) const;
  // Puts the values into the order of the filtered and sorted rows; `origin` gives each
  // component's row before.
  void ReorderValues(const std::vector<int32_t>& origin);
  void LayOutColumns();

  Database& database_;
  TemplateFrame frame_;
  ComponentFunctionsOptions options_;
  FunctionColumns columns_;

  bool calculated_ = false;
  int failed_column_ = -1;
  int view_dimension_ = -1;
  ComponentRows rows_;
  size_t stride_ = 0;  // values per row: the columns at the last calculation
  std::vector<double> own_;
  std::vector<double> subtree_;
  std::vector<int> displayed_;
  // The expanded components of the rows last dropped, restored when the view stays.
  std::vector<bool> kept_expansion_;
  // The label columns, then the visible value columns (their indices and table columns).
  std::vector<LabelColumn> labels_;
  std::vector<size_t> shown_;
  std::vector<TableColumn> value_columns_;
};

}  // namespace jov
