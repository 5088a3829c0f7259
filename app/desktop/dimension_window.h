// The dimension window: one dimension's components as a tree of JOV-Code, Text and Host Code,
// edited in an edit copy of the tree (rows added, renamed, indented, outdented, moved, removed,
// and the rows of a dimension file read in) that Apply writes into the database in one step,
// after the checks for codes defined twice and for removed components still in use.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "database_window.h"
#include "io/dim_import.h"
#include "model/dimension_edit.h"

class QLabel;
class QTreeView;

namespace jov {

class DimensionModel;

class DimensionWindow : public DatabaseWindow {
  Q_OBJECT
 public:
  using Row = DimensionEdit::Row;
  static constexpr int kCodeColumn = 0;
  static constexpr int kTextColumn = 1;
  static constexpr int kHostColumn = 2;

  DimensionWindow(Database& database, int dimension, QWidget* parent = nullptr);
  ~DimensionWindow() override;
  QString Title() const override;
  void Refresh() override;
  // Unapplied edits: Save applies them (and stays open when they cannot be written), Don't Save
  // drops them, Cancel keeps the window.
  bool MayClose() override;

  int dimension() const { return dimension_; }
  const DimensionEdit& edit() const { return *edit_; }
  QTreeView* view() const { return view_; }
  // The edit row of the current cell; kNoRow when there is none.
  Row CurrentRow() const;
  // Expands the rows down to `row` and makes its code cell current.
  void Reveal(Row row);

  // A blank row after the current one (at the end when there is none), its code cell open for
  // typing; a row left blank is not written.
  void AddRow();
  void Indent();
  void Outdent();
  void MoveUp();
  void MoveDown();
  // Removes the current row with its descendants; when one of them is in use, shows it with
  // 3307 and removes nothing.
  void RemoveRow();
  // Writes the copy into the dimension. A code defined twice asks 3308 (3309 for a host code):
  // Close closes the window without writing, Cancel shows the later row. False when nothing
  // was written.
  bool Apply();
  // Applies and closes.
  void Ok();
  // Closes without writing.
  void Cancel();
  // Reads a dimension file into the copy through the dimension's import setup (a tab-separated
  // file of code, text and host code when the dimension has none); the new rows are shown,
  // the first one made current, and written by Apply like any other edit.
  DimImportResult ImportFile(const QString& path);

 private:
  enum class Written { kWritten, kStay, kClose };
  Written Write();
  // Asks whether to read the dimension again when someone else changed it; true when read.
  bool ReloadAfterChangeElsewhere();
  // Makes the copy afresh from the database, keeping the expanded rows and the current row by
  // their codes.
  void Reload();
  // Runs `change` on the copy inside a model reset, keeping the expanded rows and the current
  // row (by row number, which only Reload and Apply change).
  void Change(const std::function<void()>& change, Row current);
  // Indent, Outdent, MoveUp or MoveDown of the current row; a beep when there is no such place.
  void Move(bool (DimensionEdit::*move)(Row));
  void SetExpanded(Row row, char expanded);
  void RestoreExpanded();
  void RememberCodes();
  void RestoreCodes();
  void ChooseImportFile();
  void CloseWithoutWriting();
  QString DimensionName() const;

  const int dimension_;
  std::unique_ptr<DimensionEdit> edit_;
  DimensionModel* model_;
  QTreeView* view_;
  QLabel* status_;
  // Per row: shown expanded. Across Reload and Apply, by code: the expanded codes and the
  // current row's code.
  std::vector<char> expanded_;
  std::vector<std::string> expanded_codes_;
  std::string current_code_;
  bool discard_ = false;  // closing without writing
};

}  // namespace jov
