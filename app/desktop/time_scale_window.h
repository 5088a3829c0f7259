// The time scale window: the periods of one time scale as rows of a start date and a name,
// edited in a working copy (cells, row insert and delete, paste from the clipboard) that
// "Apply" sorts and writes into the time scale.
#pragma once

#include <vector>

#include "analysis/time_scale.h"
#include "database_window.h"

class QTableWidget;

namespace jov {

class TimeScaleWindow : public DatabaseWindow {
  Q_OBJECT
 public:
  // `scale` nullptr: a new time scale, created when the edit is first applied.
  TimeScaleWindow(Database& database, TimeScale* scale, QWidget* parent = nullptr);
  QString Title() const override;
  void Refresh() override;
  bool MayClose() override;

  TimeScale* scale() const { return scale_; }
  const std::vector<TimeScaleEntry>& rows() const { return rows_; }

  // An empty row before the current one.
  void InsertRow();
  // Removes the current row; the last row left is emptied instead.
  void DeleteRow();
  // Lines of "date<TAB>name" fill an empty last row or are appended.
  void Paste(const QString& text);
  // Writes the rows into the time scale (dropping empty rows, sorted by start).
  void Apply();

 private:
  void ShowRows();
  void CellEdited(int row, int column);
  bool ScaleStillExists() const;

  TimeScale* scale_;
  std::vector<TimeScaleEntry> rows_;
  QTableWidget* table_;
  bool showing_ = false;  // cells are being filled, not edited
  bool edited_ = false;   // rows differ from what was last applied
};

}  // namespace jov
