// The table that edits field descriptions of import setups: one row per part of each field,
// with the field number, the first and last character positions, the default text (the text to
// match, for an indicator) and the insert character placed before the next part. "Add Part"
// chains a part after the current one, "Remove Part" takes it out again. The specs edited live
// in the window's working copy; the table writes every change into them at once.
#pragma once

#include <QTableWidget>
#include <functional>
#include <vector>

#include "io/import_setup.h"

namespace jov {

class FieldSpecTable : public QTableWidget {
  Q_OBJECT
 public:
  // Columns after the label and before any extra ones the owner adds.
  enum Column { kLabel, kField, kFirst, kLast, kDefault, kInsert, kPartColumns };

  struct Entry {
    QString label;
    FieldSpec* spec;
  };
  // Called after each rebuild to put the owner's widgets into its extra columns: the entry and
  // the row of its first part.
  using ExtraCells = std::function<void(int entry, int row)>;

  explicit FieldSpecTable(QWidget* parent = nullptr);

  // Shows the entries; `extra_titles` name columns the owner fills through `extra`.
  void SetEntries(std::vector<Entry> entries, const QStringList& extra_titles = {},
                  ExtraCells extra = {});
  // The entry and part of a row.
  std::pair<int, int> PartAt(int row) const;
  // The row of an entry's part.
  int RowOf(int entry, int part = 0) const;

  // Chains an empty part after the current row's part.
  void AddPart();
  // Removes the current row's part; the only part of a field is emptied instead.
  void RemovePart();

 Q_SIGNALS:
  void Edited();

 private:
  void Rebuild();
  void CellEdited(int row, int column);

  std::vector<Entry> entries_;
  QStringList extra_titles_;
  ExtraCells extra_;
  std::vector<std::pair<int, int>> rows_;  // entry and part of each row
  bool showing_ = false;
};

}  // namespace jov
