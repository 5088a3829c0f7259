// A table whose contents are given rather than calculated: lists that the program shows as
// tables (the analysis templates of a database, for one), and tables made up by tests.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "analysis/table.h"

namespace jov {

class FixedTable : public Table {
 public:
  void set_title(std::string title) { title_ = std::move(title); }
  void set_notes(std::string notes) { notes_ = std::move(notes); }
  void AddDefinitionRow(std::string label, std::string value) {
    definition_.push_back({std::move(label), std::move(value)});
  }
  void AddColumn(TableColumn column) { columns_.push_back(std::move(column)); }
  // Header rows go before every data row.
  void AddHeaderRow(std::vector<TableCell> cells);
  void AddDataRow(std::vector<TableCell> cells) { rows_.push_back(std::move(cells)); }
  void set_window_width(int width) { window_width_ = width; }
  void set_visible_rows(RowRange rows) { visible_ = rows; }

  std::string Title() const override { return title_; }
  std::string Notes() const override { return notes_; }
  void WriteDefinition(LineSink& out, DefinitionForm form) const override;
  int ColumnCount() const override { return static_cast<int>(columns_.size()); }
  const TableColumn& Column(int index) const override { return columns_[index]; }
  int RowCount() const override { return static_cast<int>(rows_.size()); }
  int FirstDataRow() const override { return header_rows_; }
  // Cells past the end of a short row are empty.
  void FillRow(int row, std::vector<TableCell>& cells) const override;
  ExportSettings& export_settings() override { return settings_; }
  const ExportSettings& export_settings() const override { return settings_; }
  int WindowWidth() const override { return window_width_; }
  RowRange VisibleRows() const override;

 private:
  std::string title_;
  std::string notes_;
  std::vector<DefinitionRow> definition_;
  std::vector<TableColumn> columns_;
  std::vector<std::vector<TableCell>> rows_;
  int header_rows_ = 0;
  ExportSettings settings_;
  int window_width_ = 0;
  std::optional<RowRange> visible_;
};

}  // namespace jov
