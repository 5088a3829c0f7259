// The table window: any table an analysis offers (title, definition, header and data rows with
// their alignment, bold and red or green cells), with Export... under the table's export
// settings, Copy to the clipboard under its copy settings, and Print... and Export as PDF, which
// print the table as the export writes it in HTML. Rows are asked for only when the view shows
// them.
#pragma once

#include <QAbstractTableModel>
#include <functional>
#include <memory>
#include <vector>

#include "analysis/table.h"
#include "database_window.h"
#include "print_options.h"

class QHBoxLayout;
class QLabel;
class QPrinter;
class QSplitter;
class QTableView;

namespace jov {

// The table as a Qt model; one row's cells are kept, so that a view that asks for every column
// of a row fills the row once.
class TableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit TableModel(QObject* parent) : QAbstractTableModel(parent) {}
  void SetTable(Table* table);
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  // How many rows the table was asked to fill, for the tests of laziness.
  int rows_filled() const { return rows_filled_; }

 private:
  const TableCell& Cell(int row, int column) const;

  Table* table_ = nullptr;
  mutable int cached_row_ = -1;
  mutable std::vector<TableCell> cells_;
  mutable int rows_filled_ = 0;
};

class TableWindow : public DatabaseWindow {
  Q_OBJECT
 public:
  // `make` builds the table from the database, again whenever the database changes.
  using TableSource = std::function<std::unique_ptr<Table>(Database&)>;
  TableWindow(Database& database, TableSource make, QWidget* parent = nullptr);

  QString Title() const override;
  void Refresh() override;

  Table& table() const { return *shown_; }
  const TableModel& model() const { return *model_; }
  // The table as the export writes it in HTML, with the title and definition the print options
  // ask for, made ready to print.
  QString PrintedHtml();
  // What printing the window includes and how; an analysis window keeps them in its template.
  virtual PrintOptions& print_options() { return print_options_; }
  // Copies the table to the clipboard under its copy settings.
  void Copy();
  bool ExportTo(const std::string& path);
  bool ExportPdf(const QString& path);

 protected:
  // For a window that keeps its table itself and shows it with ShowTable.
  TableWindow(Database& database, Kind kind, QWidget* parent);
  // Shows `table`, which the caller keeps alive while it is shown: its definition above the
  // view, its rows, and its column widths. Call again after the table changed.
  void ShowTable(Table& table);
  // Stops showing the table, which is about to change; ShowTable shows it again.
  void HideTable();
  QTableView* view() const { return view_; }
  // The row of buttons under the table; windows add their own before the stretch at its end.
  QHBoxLayout* button_row() const { return buttons_; }
  // The table on the left; a chart pane may be added beside it.
  QSplitter* panes() const { return panes_; }
  void ExportDialog();
  void PrintDialog();

 private:
  void Print(QPrinter& printer);

  TableSource make_;
  std::unique_ptr<Table> table_;  // made by make_
  Table* shown_ = nullptr;
  QLabel* heading_;
  QSplitter* panes_;
  QTableView* view_;
  TableModel* model_;
  QHBoxLayout* buttons_;
  PrintOptions print_options_;
};

}  // namespace jov
