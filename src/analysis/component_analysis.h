// The component analysis: how much there is per component of one dimension (the view
// dimension). It sums one value field over the lines its selection takes, split by where the
// card's date lies against the selection's range (before, in it, after), lists the admitted
// components as a hierarchy or flat, filters and sorts the rows, and shows them as a table
// (table.h): the component's identifiers, then the visible columns. Its own XML form is in
// component_xml.h, its template lines in component_template.h.
//
// The root row is the table's header row; the data rows are the rows under expanded rows. An
// expanded row shows the sums of its own lines in a column without the sublevels flag; a
// collapsed row, and every row in a column with the flag, the sums of its whole subtree.
//
// The analysis listens to its database: a change to components, cards, lines or value fields
// drops the result until the next calculation.
#pragma once

#include <string>
#include <vector>

#include "analysis/component_options.h"
#include "analysis/component_rows.h"
#include "analysis/component_sums.h"
#include "analysis/component_template.h"
#include "analysis/table.h"
#include "files/analysis_template.h"
#include "model/change_code.h"
#include "select/selection.h"

namespace jov {

class ComponentAnalysis : public Table, public DatabaseListener {
 public:
  // An analysis with the kind's defaults (the database's stored ones, else the standard
  // settings) and an empty selection.
  explicit ComponentAnalysis(Database& database);
  ~ComponentAnalysis() override;
  ComponentAnalysis(const ComponentAnalysis&) = delete;
  ComponentAnalysis& operator=(const ComponentAnalysis&) = delete;

  // Takes the settings of a stored template: its frame (the name is the title; notes, export
  // settings and how it opens), options and selection.
  void Apply(const TemplateFrame& frame, const ComponentTemplateBody& body);
  // The analysis as a template named `name`, with the expansion of its rows when calculated.
  AnalysisTemplate ToTemplate(const std::string& name) const;
  // The window's part of its template: title, notes, export settings and the rest.
  TemplateFrame& frame() { return frame_; }
  const TemplateFrame& frame() const { return frame_; }

  Database& database() const { return database_; }
  // Changing options or the selection takes effect at the next calculation.
  ComponentAnalysisOptions& options() { return options_; }
  const ComponentAnalysisOptions& options() const { return options_; }
  Selection& selection() { return selection_; }
  const Selection& selection() const { return selection_; }
  void set_title(std::string title) { frame_.name = std::move(title); }
  void set_notes(std::string notes) { frame_.notes = std::move(notes); }
  // The chart view filters and sorts by the chart column instead of the visible columns.
  void set_chart_view(bool chart) { chart_view_ = chart; }
  bool chart_view() const { return chart_view_; }

  // --- Calculation
  // Builds the rows, sums them and applies the filter, the sort and the expansion. False, with
  // the table empty, when the user stopped it.
  bool Calculate() override;
  // The lines the selection takes in its date range.
  bool CollectHeldLines(LineSet& lines, CardLevel& level) override;
  bool calculated() const { return calculated_; }
  // The view dimension of the rows (an option naming no dimension leaves the previous one).
  int view_dimension() const { return view_dimension_; }
  const ComponentRows& rows() const { return rows_; }
  // The lines the last calculation read before, in and after the selection's range.
  const LinesRead& lines_read() const { return lines_read_; }

  // --- Rows as shown
  // Indices into rows() of the rows the table shows, in order.
  const std::vector<int>& displayed() const { return displayed_; }
  void SetExpanded(int row, bool expanded);
  // Expands the rows above `level` (the root is level 0) and collapses the others.
  void ExpandToLevel(int level);
  // The value a row shows in a column, by the sublevels flag and the row's expansion.
  double CellValue(int row, ComponentColumn column) const;
  // The value's text with the column's decimals and the number separators in effect.
  std::string CellText(int row, ComponentColumn column) const;
  // The chart's value of a row: its subtree's for a collapsed row or with the global sublevels
  // option, else its own.
  double ChartValue(int row) const;
  // Each displayed row's share of the sum of the displayed rows' chart values.
  std::vector<double> PieShares() const;

  // --- Table
  std::string Title() const override;
  std::string Notes() const override { return frame_.notes; }
  void WriteDefinition(LineSink& out, DefinitionForm form) const override;
  int ColumnCount() const override { return static_cast<int>(columns_.size()); }
  const TableColumn& Column(int index) const override { return columns_[index].column; }
  int RowCount() const override { return static_cast<int>(displayed_.size()); }
  int FirstDataRow() const override { return displayed_.empty() ? 0 : 1; }
  void FillRow(int row, std::vector<TableCell>& cells) const override;
  // The value column a table column shows; nothing for the component's identifiers.
  std::optional<ComponentColumn> ValueColumnAt(int index) const;
  ExportSettings& export_settings() override { return frame_.export_settings; }
  const ExportSettings& export_settings() const override { return frame_.export_settings; }
  bool ShowsChart() const override { return chart_view_; }
  void PrepareExport() override { LayOutColumns(); }
  bool SetColumnWidth(int column, int pixels) override;
  bool WriteOwnXml(LineSink& out) override;

  // --- DatabaseListener
  void OnDatabaseChange(Database& database, ChangeCode code, int argument, int argument2) override;
  size_t MemoryBytes() const override;

 private:
  // A table column: an identifier of the component (C, H or T) or a value column.
  struct ShownColumn {
    TableColumn column;
    char identifier = '\0';
    ComponentColumn kind = ComponentColumn::kPeriod;
  };

  void Invalidate();
  void LayOutColumns();
  bool KeepsRow(const ComponentRow& row) const;
  TableCell ValueCell(int row, ComponentColumn kind) const;

  Database& database_;
  ComponentAnalysisOptions options_;
  Selection selection_;
  TemplateFrame frame_;
  bool chart_view_ = false;

  int view_dimension_ = -1;
  bool calculated_ = false;
  ComponentRows rows_;
  LinesRead lines_read_;
  std::vector<int> displayed_;
  // The expanded components of the rows last dropped, restored when the view stays.
  std::vector<bool> kept_expansion_;
  std::vector<ShownColumn> columns_;
};

// Where a pie share is printed: on its slice ("12%"), in the legend ("12 %"), or as a bare
// number that shows one decimal only for shares below ten percent ("12", "3.5").
enum class PieTextPlace { kSlice, kLegend, kBare };

// A share (0.25 for a quarter) as a percentage under the pie values option (0 no text, 1 whole
// percentages, 2 one decimal); infinite and missing shares as "+ inf", "- inf" and "0/0".
std::string PieShareText(double share, int pie_values, PieTextPlace place);

}  // namespace jov
