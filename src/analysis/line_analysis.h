// The line analysis: every line its selection takes within the selection's date range, in card
// order, with the chosen columns (card identifier and title, the line's components, its text,
// its values and the running balance of one field), below a block of summary rows: the sums
// before, within and after the range, extremes, averages, the median, counts, turnover and
// interest (line_calculation.h). Its own XML form is in line_xml.h, its template lines in
// line_template.h.
//
// The table's rows are the summary rows, one empty separator row when there is a summary row,
// then the line rows. A line row is made when it is asked for, from the compact row the
// calculation kept, so a list of millions of lines costs a view only the rows it shows.
//
// The analysis listens to its database: a change to cards, components or the line layout drops
// the result until the next calculation.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/line_calculation.h"
#include "analysis/line_options.h"
#include "analysis/line_template.h"
#include "analysis/listed_data.h"
#include "analysis/table.h"
#include "files/analysis_template.h"
#include "model/change_code.h"
#include "select/selection.h"
#include "select/subset_list.h"

namespace jov {

// The kinds of a line analysis's columns.
enum class LineColumnKind : uint8_t {
  kCardId,
  kCardTitle,
  kDimension,
  kLineText,
  kValue,
  kAccumulated
};

class LineAnalysis : public Table, public DatabaseListener {
 public:
  // An analysis with the kind's defaults (the database's stored ones, else the standard
  // settings) and an empty selection.
  explicit LineAnalysis(Database& database);
  ~LineAnalysis() override;
  LineAnalysis(const LineAnalysis&) = delete;
  LineAnalysis& operator=(const LineAnalysis&) = delete;

  // Takes the settings of a stored template: its frame, options and selection.
  void Apply(const TemplateFrame& frame, const LineTemplateBody& body);
  AnalysisTemplate ToTemplate(const std::string& name) const;
  TemplateFrame& frame() { return frame_; }
  const TemplateFrame& frame() const { return frame_; }

  Database& database() const { return database_; }
  // Changing options or the selection takes effect at the next calculation.
  LineAnalysisOptions& options() { return options_; }
  const LineAnalysisOptions& options() const { return options_; }
  Selection& selection() { return selection_; }
  const Selection& selection() const { return selection_; }
  SubsetList& local_subsets() { return local_subsets_; }
  void set_title(std::string title) { frame_.name = std::move(title); }

  // --- Calculation
  // False when the user stopped it or the selection could not be prepared: the rows found so
  // far stay, and the analysis counts as not calculated.
  bool Calculate() override;
  bool calculated() const { return calculated_; }
  // The listed lines; transforms work on them at the level of lines.
  bool CollectHeldLines(LineSet& lines, CardLevel& level) override;
  const LineCalculationResult& result() const { return result_; }
  // The summary rows, in order, as the table lists them first.
  const std::vector<LineSummary>& summary_rows() const { return summary_rows_; }
  // The first line row's index; the table's rows before it are the summary block.
  int FirstLineRow() const { return first_line_row_; }
  int LineRowCount() const { return static_cast<int>(result_.rows.size()); }

  // --- Cells
  struct ShownColumn {
    LineColumnKind kind;
    int index = 0;  // the dimension or value field
    TableColumn column;
  };
  const std::vector<ShownColumn>& columns() const { return columns_; }
  // The text of a cell, as FillRow gives it.
  std::string CellText(int row, int column) const;
  // A summary row's measure in a column, without the row's title.
  std::string SummaryCellText(LineSummary summary, int column) const;

  // --- Operations on the listed lines (listed_data.h)
  bool DeleteData(const CloseCardWindows& close = {});
  bool MarkExamined() { return MarkCards(database_, ListedCards(), CardMark::kExamined); }
  bool MarkApproved() { return MarkCards(database_, ListedCards(), CardMark::kApproved); }
  std::vector<CardRef> ListedCards() const;

  // The "## Selection" block the analysis copies: the selection with the prefix "V", the
  // accumulated field and the decimals.
  std::vector<std::string> SelectionBlock() const;

  // --- Table
  std::string Title() const override;
  std::string Notes() const override { return frame_.notes; }
  void WriteDefinition(LineSink& out, DefinitionForm form) const override;
  int ColumnCount() const override { return static_cast<int>(columns_.size()); }
  const TableColumn& Column(int index) const override { return columns_[index].column; }
  int RowCount() const override { return first_line_row_ + LineRowCount(); }
  int FirstDataRow() const override { return first_line_row_; }
  void FillRow(int row, std::vector<TableCell>& cells) const override;
  ExportSettings& export_settings() override { return frame_.export_settings; }
  const ExportSettings& export_settings() const override { return frame_.export_settings; }
  void PrepareExport() override { LayOutColumns(); }
  bool SetColumnWidth(int column, int pixels) override;
  bool WriteOwnXml(LineSink& out) override;

  // --- DatabaseListener
  void OnDatabaseChange(Database& database, ChangeCode code, int argument, int argument2) override;
  size_t MemoryBytes() const override;

 private:
  void Invalidate();
  void LayOutColumns();
  void FillLineRow(int line_row, std::vector<TableCell>& cells) const;
  void FillSummaryRow(LineSummary summary, std::vector<TableCell>& cells) const;
  // The column of the counts: the first value column, else the accumulated column; -1.
  int CountColumn() const;
  // The measure of a summary row in a value field's column and in the accumulated column;
  // nothing where the row shows none.
  std::optional<double> SummaryValue(LineSummary summary, int field) const;
  std::optional<double> SummaryBalance(LineSummary summary) const;

  Database& database_;
  LineAnalysisOptions options_;
  SubsetList local_subsets_;
  Selection selection_;
  TemplateFrame frame_;

  bool calculated_ = false;
  LineCalculationResult result_;
  std::vector<LineSummary> summary_rows_;
  int first_line_row_ = 0;
  std::vector<ShownColumn> columns_;
};

// The summary rows that the options ask for, in order: the flags that are on, then the
// interest rows of the rates that are set.
std::vector<LineSummary> SummaryRows(const LineAnalysisOptions& options);

// The message that titles a summary row.
MessageId SummaryTitle(LineSummary summary);

}  // namespace jov
