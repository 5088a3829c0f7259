// The time functions analysis: how measured quantities develop over time. Its rows are the
// periods of a date range (time scales, period_list.h), after a row for everything before the
// range; its columns are variables and formulas (function_columns.h). It is shown as a table
// (table.h: the period labels, then the visible columns, the row before the range as the header
// row) and drawn by the desktop as a chart over the same rows.
//
// Calculating: the variables' selections are prepared, the formulas compiled and checked for
// self-reference, and the range checked. Calendar periods and time scales: each variable reads
// the window of cards its accumulation and time shift give each period (variable.h), period by
// period; rows are made up to the last period in which some variable read a line, none after.
// Active kinds: one walk over the cards opens a period at each day, card, group or line that has
// a line some variable takes, and closes the current one before it; variables with a time shift
// then read their shifted windows of those periods. Each row is then closed in order: "T", the
// variables' values, the formulas with their operations by time.
//
// The analysis listens to its database: a change to cards, components, value fields or time
// scales drops the result until the next calculation.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "analysis/function_columns.h"
#include "analysis/period_label.h"
#include "analysis/period_list.h"
#include "analysis/table.h"
#include "analysis/time_functions_options.h"
#include "analysis/time_functions_template.h"
#include "files/analysis_template.h"
#include "model/change_code.h"

namespace jov {

// One period of the analysis: its end (day kNoDay for the row before the range) and a value per
// column, in column order, hidden columns included.
struct PeriodRow {
  Date end;
  std::span<const double> values;
};

class TimeFunctionsAnalysis : public Table, public DatabaseListener {
 public:
  // An analysis with the kind's defaults (the database's stored ones, else no columns, months
  // of this year).
  explicit TimeFunctionsAnalysis(Database& database);
  ~TimeFunctionsAnalysis() override;
  TimeFunctionsAnalysis(const TimeFunctionsAnalysis&) = delete;
  TimeFunctionsAnalysis& operator=(const TimeFunctionsAnalysis&) = delete;

  // Takes the settings of a stored template: its frame, options and columns.
  void Apply(const TemplateFrame& frame, const TimeFunctionsTemplateBody& body);
  AnalysisTemplate ToTemplate(const std::string& name) const;
  TemplateFrame& frame() { return frame_; }
  const TemplateFrame& frame() const { return frame_; }

  Database& database() const { return database_; }
  // Changes take effect at the next calculation.
  TimeFunctionsOptions& options() { return options_; }
  const TimeFunctionsOptions& options() const { return options_; }
  FunctionColumns& columns() { return columns_; }
  const FunctionColumns& columns() const { return columns_; }
  void set_title(std::string title) { frame_.name = std::move(title); }

  // --- Calculation
  // Builds every row anew. False, with no rows, when a variable's selection cannot be prepared
  // (a subset it names failed, or the user stopped), a formula refers to itself (reported), the
  // range runs backwards (reported: "Negative time period."), or the user stopped the walk.
  bool Calculate() override;
  bool calculated() const { return calculated_; }
  // The column a failed calculation stopped at, for the window to select; -1 for none.
  int failed_column() const { return failed_column_; }

  size_t row_count() const { return row_count_; }
  PeriodRow row(size_t index) const;
  // "Before" and the start, the period's dates, card IDs (with titles when asked), or the
  // time scale's names.
  std::string RowLabel(size_t index) const;
  double CellValue(size_t row, size_t column) const { return values_[row * stride_ + column]; }
  // The value with the column's decimals and the number separators in effect.
  std::string CellText(size_t row, size_t column) const;
  // The range the value axis spans: the stored limits where set, else the smallest and largest
  // value of the periods in the columns the chart draws (for stacked charts, of each period's
  // summed positive and negative values); 0 and 1 when nothing is to be drawn. The chart draws
  // the periods only: the row before the range sums everything before it.
  std::pair<double, double> ValueAxisRange() const;

  // --- Table
  std::string Title() const override;
  std::string Notes() const override { return frame_.notes; }
  // The variables' selections and measures as columns, then the formulas.
  void WriteDefinition(LineSink& out, DefinitionForm form) const override;
  int ColumnCount() const override { return static_cast<int>(table_columns_.size()); }
  const TableColumn& Column(int index) const override;
  int RowCount() const override { return static_cast<int>(row_count_); }
  int FirstDataRow() const override { return row_count_ > 0 ? 1 : 0; }
  void FillRow(int row, std::vector<TableCell>& cells) const override;
  ExportSettings& export_settings() override { return frame_.export_settings; }
  const ExportSettings& export_settings() const override { return frame_.export_settings; }
  void PrepareExport() override { LayOutColumns(); }
  bool SetColumnWidth(int column, int pixels) override;

  // --- DatabaseListener
  void OnDatabaseChange(Database& database, ChangeCode code, int argument, int argument2) override;
  size_t MemoryBytes() const override;

 private:
  // The values of one column over the periods while the variables are read.
  struct ColumnValues {
    std::vector<double> values;
    size_t last_counted = 0;  // the last period (1 and up) in which a line was read
  };

  void Invalidate();
  bool WalkActive(std::vector<ColumnValues>& read);
  bool ReadWindows(const Variable& variable, bool extend, ColumnValues& read);
  void CloseRows(std::vector<ColumnValues>& read, size_t rows);
  void LayOutColumns();

  Database& database_;
  TemplateFrame frame_;
  TimeFunctionsOptions options_;
  FunctionColumns columns_;

  bool calculated_ = false;
  int failed_column_ = -1;
  std::optional<PeriodList> periods_;
  size_t row_count_ = 0;
  size_t stride_ = 0;           // values per row: the columns at the last calculation
  std::vector<double> values_;  // row by row
  // The visible columns' indices and table columns, after the label column.
  std::vector<size_t> shown_;
  std::vector<TableColumn> table_columns_;
};

}  // namespace jov
