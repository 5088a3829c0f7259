// The table that every analysis window shows, and the only view of an analysis that front ends
// (the `jov` program, the desktop table window) and the table export have: a title, notes, a
// definition block, columns, and rows of cells with the header rows first. Rows are addressed by
// index, so that a view asks only for the rows it shows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/window_lines.h"
#include "files/definition_block.h"
#include "files/export_settings.h"
#include "files/line_sink.h"

namespace jov {

enum class CellAlignment : uint8_t { kLeft, kRight };
enum class CellColour : uint8_t { kDefault, kRed, kGreen };

struct TableColumn {
  std::string title;
  // Pixel positions of the column's edges in the window; the HTML column widths are their
  // difference.
  int left = 0;
  int right = 0;
  CellAlignment alignment = CellAlignment::kLeft;
  bool bold = false;
};

struct TableCell {
  std::string text;
  CellAlignment alignment = CellAlignment::kLeft;
  bool bold = false;
  CellColour colour = CellColour::kDefault;
};

// Rows [first, end).
struct RowRange {
  int first = 0;
  int end = 0;
};

class Table {
 public:
  virtual ~Table() = default;

  virtual std::string Title() const = 0;
  // Lines separated by CR; empty when the table has none.
  virtual std::string Notes() const { return {}; }
  // Writes the definition block, in whole lines; nothing by default.
  virtual void WriteDefinition(LineSink& /*out*/, DefinitionForm /*form*/) const {}

  virtual int ColumnCount() const = 0;
  // 0 <= index < ColumnCount(); valid until the table changes.
  virtual const TableColumn& Column(int index) const = 0;
  virtual int RowCount() const = 0;
  // Rows below this index are header rows (summaries above the data), the rest data rows.
  virtual int FirstDataRow() const = 0;
  // Replaces `cells` with the cells of `row` (0 <= row < RowCount()), one per column. The
  // vector is the caller's and reused from row to row.
  virtual void FillRow(int row, std::vector<TableCell>& cells) const = 0;

  // The export settings of the table's window.
  virtual ExportSettings& export_settings() = 0;
  virtual const ExportSettings& export_settings() const = 0;
  // The window's width in pixels; 0 without a window.
  virtual int WindowWidth() const { return 0; }
  // The rows the window shows; all rows without a window.
  virtual RowRange VisibleRows() const { return {0, RowCount()}; }
  // True while the window shows a chart instead of the table.
  virtual bool ShowsChart() const { return false; }

  // The lines the calculated window holds and the level its rows are marked at, for the
  // operations that rewrite them (transform, aggregate); false for a window whose rows are not
  // lines of the database, or when they cannot be collected.
  virtual bool CollectHeldLines(LineSet& /*lines*/, CardLevel& /*level*/) { return false; }
  // Brings the table up to date before it is written; false when a stop was requested or the
  // calculation failed (it has reported why).
  virtual bool Calculate() { return true; }
  // Keeps `pixels` as the width of `column` in the analysis's settings, stored with its template;
  // the column's edges follow at once. A width below the least a template stores keeps none, so
  // the column takes its default. False for a column whose width the analysis does not keep.
  virtual bool SetColumnWidth(int /*column*/, int /*pixels*/) { return false; }
  // Called around writing or copying the table, with the number separators already set.
  virtual void PrepareExport() {}
  virtual void FinishExport() {}
  // A table with a text or XML form of its own writes it here and returns true; false lets the
  // common writers write the table.
  virtual bool WriteOwnText(LineSink& /*out*/) { return false; }
  virtual bool WriteOwnXml(LineSink& /*out*/) { return false; }
};

}  // namespace jov
